// The store behind one registry hive: a tree of keys and typed values kept in a text file in the
// registry-export format, shared safely between threads and between processes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/backend/file.h"
#include "platform/win32/wintypes.h"

namespace win32 {

class EventObject;
struct RegNode;

// Identity of one key in a store. It survives reloads of the file; a deleted key's identity is never
// given to another key, so a handle to a deleted key keeps failing with ERROR_KEY_DELETED.
using RegKeyId = std::uint64_t;

struct RegKeyInfo {
    DWORD subKeys = 0;
    DWORD maxSubKeyLength = 0; // characters, without the terminating null
    DWORD values = 0;
    DWORD maxValueNameLength = 0; // characters, without the terminating null
    DWORD maxValueLength = 0;     // bytes
    ULONGLONG lastWriteTime = 0;  // FILETIME: 100 ns steps since 1601-01-01 UTC
};

// Limits of Win32's registry, kept so that a hostile file cannot make the tree unbounded in depth.
inline constexpr size_t kMaxKeyNameLength = 255;
inline constexpr size_t kMaxValueNameLength = 16383;
inline constexpr size_t kMaxKeyDepth = 512;
// A settings file is small; a bigger one is not read at all rather than taking memory without bound.
inline constexpr std::int64_t kMaxRegistryFileSize = 64 * 1024 * 1024;

// Every call returns a Win32 error code. Calls that read reload the file first when it changed on disk;
// calls that change take the inter-process lock, reload if another process changed the file, apply
// their one change and write the whole file before they return. Keys compare without case (each UTF-16
// unit upper-cased); subkeys enumerate in that order, values in creation order.
//
// The file's failures: a file that does not parse is reported on standard error, copied beside itself
// as <file>.corrupt-<date>-<time>-<pid>, and the call that found it fails with ERROR_REGISTRY_CORRUPT;
// later calls see an empty store and the next change replaces the file. When the copy cannot be made,
// or the file cannot be read at all, every call fails (ERROR_REGISTRY_CORRUPT or ERROR_REGISTRY_IO_FAILED)
// and the file is never written, until the file itself changes.
class RegistryStore {
public:
    static constexpr RegKeyId kRootKey = 1;

    // A store kept in the file at path; the folder and the file are created at the first change.
    // rootName names the hive in the file's sections ("HKEY_CURRENT_USER"). A file larger than
    // maxFileSize bytes is neither read nor written (ERROR_REGISTRY_CORRUPT), and a change that would
    // make the file larger is refused with ERROR_NOT_ENOUGH_QUOTA.
    RegistryStore(std::string path, String rootName, std::int64_t maxFileSize = kMaxRegistryFileSize);
    // An empty store in memory only, which refuses every change with ERROR_ACCESS_DENIED.
    explicit RegistryStore(String rootName);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const std::string& Path() const { return FPath; }

    // Makes the key at path (below the root) a key whose REG_SZ values are produced afresh by source each
    // time it is opened or enumerated. The whole subtree of the path's first component is reserved for
    // it: never read from the file nor written to it, and read-only (ERROR_ACCESS_DENIED).
    using ValueSource = std::function<std::vector<std::pair<String, String>>()>;
    void AddSynthesisedKey(StringView path, ValueSource source);

    // subKey is a path relative to parent ("A\B"; a trailing backslash is allowed, "" names parent
    // itself). forWriting refuses keys of the reserved subtree.
    LONG OpenKey(RegKeyId parent, StringView subKey, bool forWriting, RegKeyId& key);
    // Opens the key, creating it and its missing parents when mayCreate (else ERROR_ACCESS_DENIED when
    // a key is missing). created tells whether the last key was made by this call.
    LONG CreateKey(RegKeyId parent, StringView subKey, bool forWriting, bool mayCreate, RegKeyId& key,
                   bool& created);
    // Deletes a key that has no subkeys (else ERROR_ACCESS_DENIED, as for the root).
    LONG DeleteKey(RegKeyId parent, StringView subKey);

    // The empty name is the key's default value.
    LONG QueryValue(RegKeyId key, StringView name, DWORD& type, std::vector<BYTE>& data);
    LONG SetValue(RegKeyId key, StringView name, DWORD type, const BYTE* data, size_t size);
    LONG DeleteValue(RegKeyId key, StringView name);

    // ERROR_NO_MORE_ITEMS past the last one.
    LONG EnumKey(RegKeyId key, DWORD index, String& name, ULONGLONG& lastWriteTime);
    LONG EnumValue(RegKeyId key, DWORD index, String& name, DWORD& type, std::vector<BYTE>& data);
    LONG QueryInfo(RegKeyId key, RegKeyInfo& info);

    // Signals event once, at the first change of the key (or of its subtree when subtree) that filter
    // (REG_NOTIFY_CHANGE_*) selects, or when the key is deleted; the registration then ends. Changes are
    // seen when made through this store object.
    LONG Notify(RegKeyId key, bool subtree, DWORD filter, std::shared_ptr<EventObject> event,
                const void* owner);
    // Ends the registrations made for owner and signals their events, as closing a key does in Win32.
    void CancelNotifications(const void* owner);

private:
    struct Registration {
        RegKeyId key;
        bool subtree;
        DWORD filter;
        std::shared_ptr<EventObject> event;
        const void* owner;
    };
    // One change made by a call: the changed key and its parents up to the root, and what changed.
    struct Change {
        std::vector<RegKeyId> chain;
        DWORD filter;
        RegKeyId deletedKey = 0;
    };
    struct Synthesised {
        std::vector<String> path;
        ValueSource source;
    };

    // Reads the file when it changed (underLock: compares its bytes too, the stamp is not enough for
    // a change about to be written). Fails while the file cannot be used.
    LONG Load(bool underLock);
    // Runs apply under the inter-process lock on the file's latest contents and writes the result.
    LONG Mutate(const std::function<LONG(std::vector<Change>&)>& apply);
    void Install(std::unique_ptr<RegNode> root, const backend::FileStamp& stamp);
    void AddReserved(RegNode& root);
    void Refresh(RegNode& node);
    RegNode* Find(RegKeyId key);
    // Load(false), then Find: ERROR_KEY_DELETED when the key is gone.
    LONG FindLoaded(RegKeyId key, RegNode*& node);
    RegNode* Resolve(RegNode& start, StringView subKey, LONG& error);
    void Index(RegNode& node);
    void Unindex(RegNode& node);
    Change MakeChange(RegNode& node, DWORD filter);
    void Fire(const std::vector<Change>& changes);
    void Report(const std::string& text);

    std::mutex FMutex;
    std::string FPath; // empty for a store in memory only
    std::int64_t FMaxFileSize;
    String FRootName;
    std::unique_ptr<RegNode> FRoot;
    std::unordered_map<RegKeyId, RegNode*> FIndex;
    RegKeyId FNextId = kRootKey + 1;
    bool FLoaded = false;
    backend::FileStamp FStamp; // of the file as last read or written
    std::string FText;         // its bytes then, to see changes that a stamp cannot show
    DWORD FFailure = 0;        // the error every call returns while the file stays as it is
    backend::FileStamp FFailureStamp;
    std::vector<Synthesised> FSynthesised;
    std::vector<Registration> FRegistrations;
};

} // namespace win32
