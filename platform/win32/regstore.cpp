// The registry store: the protocol that keeps a hive's file right while threads and processes change
// it, the identities of keys across reloads, synthesised keys and notifications. The file's format is
// in regfile.cpp.
#include "platform/win32/regstore.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/rtl/Clock.h"
#include "platform/win32/regfile.h"
#include "platform/win32/registry.h"
#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

constexpr ULONGLONG kUnixEpochAsFileTime = 116444736000000000ULL;

ULONGLONG FileTimeNow() {
    auto since = std::chrono::system_clock::now().time_since_epoch();
    return kUnixEpochAsFileTime +
           static_cast<ULONGLONG>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() / 100);
}

ULONGLONG FileTimeOf(const backend::FileStamp& stamp) {
    return stamp.exists ? kUnixEpochAsFileTime + static_cast<ULONGLONG>(stamp.modifiedNanoseconds / 100)
                        : FileTimeNow();
}

size_t Depth(const RegNode& node) {
    size_t depth = 0;
    for (const RegNode* p = node.parent; p; p = p->parent)
        ++depth;
    return depth;
}

// Splits "A\B\" into its names; a trailing backslash is allowed. False for an empty name.
bool SplitPath(StringView path, std::vector<StringView>& names) {
    names.clear();
    if (path.empty())
        return true;
    if (path.back() == u'\\')
        path.remove_suffix(1);
    size_t start = 0;
    for (;;) {
        size_t end = path.find(u'\\', start);
        StringView name = path.substr(start, end == StringView::npos ? StringView::npos : end - start);
        if (name.empty())
            return false;
        names.push_back(name);
        if (end == StringView::npos)
            return true;
        start = end + 1;
    }
}

// The name of the copy of a damaged file.

std::string TwoDigits(int n) {
    return std::string{static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)};
}

// "20260115-103000" for the clock's present local time.
std::string DateTimeStamp() {
    TDateTime now = Clock::Now();
    auto days = static_cast<long>(now);
    if (now < 0 && static_cast<double>(days) != now)
        --days;
    std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{days - 25569}}};
    long seconds = std::lround((now - static_cast<double>(days)) * 86400.0);
    seconds = std::clamp(seconds, 0L, 86399L);
    return std::to_string(static_cast<int>(date.year())) +
           TwoDigits(static_cast<int>(unsigned(date.month()))) +
           TwoDigits(static_cast<int>(unsigned(date.day()))) + "-" +
           TwoDigits(static_cast<int>(seconds / 3600)) + TwoDigits(static_cast<int>(seconds / 60 % 60)) +
           TwoDigits(static_cast<int>(seconds % 60));
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

} // namespace

RegistryStore::RegistryStore(std::string path, String rootName, std::int64_t maxFileSize)
    : FPath(std::move(path)), FMaxFileSize(maxFileSize), FRootName(std::move(rootName)),
      FRoot(NewRegNode(FRootName, nullptr)) {
    FRoot->id = kRootKey;
    FIndex[kRootKey] = FRoot.get();
}

RegistryStore::RegistryStore(String rootName) : RegistryStore(std::string(), std::move(rootName)) {
    FLoaded = true;
}

RegistryStore::~RegistryStore() = default;

void RegistryStore::AddSynthesisedKey(StringView path, ValueSource source) {
    std::lock_guard lock(FMutex);
    std::vector<StringView> names;
    if (!SplitPath(path, names) || names.empty())
        return;
    Synthesised synthesised;
    for (StringView name : names)
        synthesised.path.emplace_back(name);
    synthesised.source = std::move(source);
    FSynthesised.push_back(std::move(synthesised));
    AddReserved(*FRoot);
    FIndex.clear();
    Index(*FRoot);
}

// Lays the synthesised keys into a tree, replacing whatever the file had under their first names.
void RegistryStore::AddReserved(RegNode& root) {
    for (const Synthesised& synthesised : FSynthesised) {
        String top = FoldRegName(synthesised.path.front());
        auto it = SubKeyPosition(root, top);
        if (it != root.subKeys.end() && (*it)->folded == top && !(*it)->reserved)
            root.subKeys.erase(it);
    }
    for (const Synthesised& synthesised : FSynthesised) {
        RegNode* node = &root;
        for (const String& name : synthesised.path) {
            RegNode* child = FindSubKey(*node, name);
            if (!child) {
                child = AddSubKey(*node, name);
                child->reserved = true;
                child->lastWrite = FileTimeNow();
            }
            node = child;
        }
        node->source = synthesised.source;
    }
}

void RegistryStore::Refresh(RegNode& node) {
    if (!node.source)
        return;
    std::vector<RegValue> values;
    for (const auto& [name, text] : node.source()) {
        RegValue value;
        value.name = name;
        value.type = REG_SZ;
        value.data = RegStringData(text);
        values.push_back(std::move(value));
    }
    node.values = std::move(values);
}

void RegistryStore::Index(RegNode& node) {
    if (node.id == 0)
        node.id = FNextId++;
    FIndex[node.id] = &node;
    for (auto& child : node.subKeys)
        Index(*child);
}

void RegistryStore::Unindex(RegNode& node) {
    FIndex.erase(node.id);
    for (auto& child : node.subKeys)
        Unindex(*child);
}

RegNode* RegistryStore::Find(RegKeyId key) {
    auto it = FIndex.find(key);
    return it == FIndex.end() ? nullptr : it->second;
}

namespace {

// Gives the keys of a tree read afresh the identities they had before, matched by name.
void CarryIdentities(RegNode& fresh, RegNode& old) {
    fresh.id = old.id;
    fresh.lastWrite = old.lastWrite;
    for (auto& child : fresh.subKeys) {
        auto it = SubKeyPosition(old, child->folded);
        if (it != old.subKeys.end() && (*it)->folded == child->folded)
            CarryIdentities(*child, **it);
    }
}

void SetLastWrite(RegNode& node, ULONGLONG time) {
    node.lastWrite = time;
    for (auto& child : node.subKeys)
        SetLastWrite(*child, time);
}

} // namespace

void RegistryStore::Install(std::unique_ptr<RegNode> root, const backend::FileStamp& stamp) {
    SetLastWrite(*root, FileTimeOf(stamp));
    AddReserved(*root);
    CarryIdentities(*root, *FRoot);
    FRoot = std::move(root);
    FIndex.clear();
    Index(*FRoot);
}

void RegistryStore::Report(const std::string& text) {
    std::fprintf(stderr, "zelmor: %s\n", text.c_str());
}

LONG RegistryStore::Load(bool underLock) {
    if (FPath.empty())
        return ERROR_SUCCESS;
    backend::FileStamp stamp = backend::StatFile(FPath);
    if (FFailure != ERROR_SUCCESS) {
        if (stamp == FFailureStamp)
            return FFailure;
        FFailure = ERROR_SUCCESS;
    }
    if (FLoaded && !underLock && stamp == FStamp)
        return ERROR_SUCCESS;
    auto fail = [&](DWORD error) {
        FFailure = error;
        FFailureStamp = stamp;
        return static_cast<LONG>(error);
    };

    const std::string tooLarge = "the settings file " + FPath + " is larger than " +
                                 std::to_string(FMaxFileSize) + " bytes; it is neither used nor changed";
    std::string bytes;
    if (stamp.exists) {
        int error = 0;
        if (stamp.size > FMaxFileSize) {
            Report(tooLarge);
            return fail(ERROR_REGISTRY_CORRUPT);
        }
        if (!backend::ReadWholeFile(FPath, bytes, &error)) {
            if (error != ENOENT) {
                Report("the settings file " + FPath + " cannot be read (" + ErrnoText(error) +
                       "); it is neither used nor changed");
                return fail(ERROR_REGISTRY_IO_FAILED);
            }
            stamp = backend::FileStamp();
        }
        // It may have grown since it was looked at.
        if (static_cast<std::int64_t>(bytes.size()) > FMaxFileSize) {
            Report(tooLarge);
            return fail(ERROR_REGISTRY_CORRUPT);
        }
    }
    // The stamp of a replaced file can repeat (a reused inode within one tick of the file system's
    // clock), so a change counts as seen only when the bytes are the same.
    if (FLoaded && bytes == FText) {
        FStamp = stamp;
        return ERROR_SUCCESS;
    }
    int line = 0;
    std::string what;
    std::unique_ptr<RegNode> root = ParseRegistry(bytes, FRootName, line, what);
    if (!root) {
        std::string damage =
            "the settings file " + FPath + " is damaged (line " + std::to_string(line) + ": " + what + ")";
        std::string copy =
            FPath + ".corrupt-" + DateTimeStamp() + "-" + std::to_string(backend::CurrentProcessId());
        for (int n = 2; backend::FileExists(copy) && n < 1000; ++n)
            copy = FPath + ".corrupt-" + DateTimeStamp() + "-" + std::to_string(backend::CurrentProcessId()) +
                   "-" + std::to_string(n);
        int error = 0;
        if (backend::FileExists(copy) || !backend::WriteFileAtomically(copy, bytes, &error)) {
            Report(damage + " and no copy of it could be kept (" + ErrnoText(error ? error : EEXIST) +
                   "); it is neither used nor changed");
            return fail(ERROR_REGISTRY_CORRUPT);
        }
        Report(damage + ". It was kept as " + copy +
               "; the settings start empty and the next change rewrites the file");
        root = NewRegNode(FRootName, nullptr);
        Install(std::move(root), stamp);
        FStamp = stamp;
        FText = std::move(bytes);
        FLoaded = true;
        return ERROR_REGISTRY_CORRUPT;
    }
    Install(std::move(root), stamp);
    FStamp = stamp;
    FText = std::move(bytes);
    FLoaded = true;
    return ERROR_SUCCESS;
}

LONG RegistryStore::Mutate(const std::function<LONG(std::vector<Change>&)>& apply) {
    std::lock_guard lock(FMutex);
    if (FPath.empty())
        return ERROR_ACCESS_DENIED;
    if (FFailure != ERROR_SUCCESS && backend::StatFile(FPath) == FFailureStamp)
        return FFailure;
    int error = 0;
    if (!backend::ForceDirectories(std::filesystem::path(FPath).parent_path().string(), &error))
        return static_cast<LONG>(Win32ErrorFromErrno(error));
    backend::FileLock fileLock(FPath + ".lock");
    if (!fileLock.Locked())
        return static_cast<LONG>(Win32ErrorFromErrno(fileLock.Error()));
    LONG status = Load(true);
    if (status != ERROR_SUCCESS)
        return status;
    std::vector<Change> changes;
    status = apply(changes);
    if (status != ERROR_SUCCESS && !changes.empty())
        FLoaded = false; // a change failed halfway: forget it by reading the file again
    if (status != ERROR_SUCCESS || changes.empty())
        return status;
    std::string text = SerializeRegistry(*FRoot, FRootName);
    // A file larger than Load reads would lock every setting away: the change is refused instead.
    if (static_cast<std::int64_t>(text.size()) > FMaxFileSize) {
        FLoaded = false;
        return ERROR_NOT_ENOUGH_QUOTA;
    }
    if (!backend::WriteFileAtomically(FPath, text, &error)) {
        // The tree holds a change the file does not: the next call reads the file again.
        FLoaded = false;
        return static_cast<LONG>(Win32ErrorFromErrno(error));
    }
    FText = std::move(text);
    FStamp = backend::StatFile(FPath);
    Fire(changes);
    return ERROR_SUCCESS;
}

LONG RegistryStore::FindLoaded(RegKeyId key, RegNode*& node) {
    LONG status = Load(false);
    if (status != ERROR_SUCCESS)
        return status;
    node = Find(key);
    return node ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

RegNode* RegistryStore::Resolve(RegNode& start, StringView subKey, LONG& error) {
    std::vector<StringView> names;
    if (!SplitPath(subKey, names)) {
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    RegNode* node = &start;
    for (StringView name : names) {
        node = FindSubKey(*node, name);
        if (!node) {
            error = ERROR_FILE_NOT_FOUND;
            return nullptr;
        }
    }
    error = ERROR_SUCCESS;
    return node;
}

RegistryStore::Change RegistryStore::MakeChange(RegNode& node, DWORD filter) {
    Change change;
    change.filter = filter;
    for (RegNode* p = &node; p; p = p->parent)
        change.chain.push_back(p->id);
    node.lastWrite = FileTimeNow();
    return change;
}

void RegistryStore::Fire(const std::vector<Change>& changes) {
    auto fires = [&](const Registration& registration) {
        for (const Change& change : changes) {
            if (change.deletedKey == registration.key)
                return true;
            if (!(change.filter & registration.filter))
                continue;
            if (change.chain.front() == registration.key)
                return true;
            if (registration.subtree &&
                std::find(change.chain.begin(), change.chain.end(), registration.key) != change.chain.end())
                return true;
        }
        return false;
    };
    for (auto it = FRegistrations.begin(); it != FRegistrations.end();) {
        if (fires(*it)) {
            it->event->Set();
            it = FRegistrations.erase(it);
        } else {
            ++it;
        }
    }
}

LONG RegistryStore::OpenKey(RegKeyId parent, StringView subKey, bool forWriting, RegKeyId& key) {
    std::lock_guard lock(FMutex);
    RegNode* start = nullptr;
    LONG status = FindLoaded(parent, start);
    if (status != ERROR_SUCCESS)
        return status;
    RegNode* node = Resolve(*start, subKey, status);
    if (!node)
        return status;
    if (forWriting && node->reserved)
        return ERROR_ACCESS_DENIED;
    Refresh(*node);
    key = node->id;
    return ERROR_SUCCESS;
}

LONG RegistryStore::CreateKey(RegKeyId parent, StringView subKey, bool forWriting, bool mayCreate,
                              RegKeyId& key, bool& created) {
    created = false;
    std::vector<StringView> names;
    if (!SplitPath(subKey, names))
        return ERROR_INVALID_PARAMETER;
    for (StringView name : names)
        if (name.size() > kMaxKeyNameLength)
            return ERROR_INVALID_PARAMETER;
    // Most calls open a key that exists: look first without the file lock.
    LONG status = OpenKey(parent, subKey, forWriting, key);
    if (status != ERROR_FILE_NOT_FOUND)
        return status;
    if (!mayCreate)
        return ERROR_ACCESS_DENIED;
    return Mutate([&](std::vector<Change>& changes) -> LONG {
        RegNode* node = Find(parent);
        if (!node)
            return ERROR_KEY_DELETED;
        if (Depth(*node) + names.size() > kMaxKeyDepth)
            return ERROR_INVALID_PARAMETER;
        for (StringView name : names) {
            RegNode* child = FindSubKey(*node, name);
            if (!child) {
                if (node->reserved)
                    return ERROR_ACCESS_DENIED;
                if (!created)
                    changes.push_back(MakeChange(*node, REG_NOTIFY_CHANGE_NAME));
                child = AddSubKey(*node, name);
                Index(*child);
                child->lastWrite = FileTimeNow();
                created = true;
            }
            node = child;
        }
        if (forWriting && node->reserved)
            return ERROR_ACCESS_DENIED;
        key = node->id;
        return ERROR_SUCCESS;
    });
}

LONG RegistryStore::DeleteKey(RegKeyId parent, StringView subKey) {
    return Mutate([&](std::vector<Change>& changes) -> LONG {
        RegNode* start = Find(parent);
        if (!start)
            return ERROR_KEY_DELETED;
        LONG status;
        RegNode* node = Resolve(*start, subKey, status);
        if (!node)
            return status;
        if (!node->parent || node->reserved || !node->subKeys.empty())
            return ERROR_ACCESS_DENIED;
        RegNode& owner = *node->parent;
        Change change = MakeChange(owner, REG_NOTIFY_CHANGE_NAME);
        change.deletedKey = node->id;
        changes.push_back(std::move(change));
        Unindex(*node);
        owner.subKeys.erase(SubKeyPosition(owner, node->folded));
        return ERROR_SUCCESS;
    });
}

LONG RegistryStore::QueryValue(RegKeyId key, StringView name, DWORD& type, std::vector<BYTE>& data) {
    std::lock_guard lock(FMutex);
    RegNode* node = nullptr;
    LONG status = FindLoaded(key, node);
    if (status != ERROR_SUCCESS)
        return status;
    RegValue* value = FindRegValue(*node, name);
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    type = value->type;
    data = value->data;
    return ERROR_SUCCESS;
}

LONG RegistryStore::SetValue(RegKeyId key, StringView name, DWORD type, const BYTE* data, size_t size) {
    if (name.size() > kMaxValueNameLength)
        return ERROR_INVALID_PARAMETER;
    return Mutate([&](std::vector<Change>& changes) -> LONG {
        RegNode* node = Find(key);
        if (!node)
            return ERROR_KEY_DELETED;
        if (node->reserved)
            return ERROR_ACCESS_DENIED;
        RegValue* value = FindRegValue(*node, name);
        if (!value) {
            node->values.push_back(RegValue{String(name), type, {}});
            value = &node->values.back();
        }
        value->type = type;
        value->data.assign(data, data + size);
        changes.push_back(MakeChange(*node, REG_NOTIFY_CHANGE_LAST_SET));
        return ERROR_SUCCESS;
    });
}

LONG RegistryStore::DeleteValue(RegKeyId key, StringView name) {
    return Mutate([&](std::vector<Change>& changes) -> LONG {
        RegNode* node = Find(key);
        if (!node)
            return ERROR_KEY_DELETED;
        RegValue* value = FindRegValue(*node, name);
        if (!value)
            return ERROR_FILE_NOT_FOUND;
        if (node->reserved)
            return ERROR_ACCESS_DENIED;
        node->values.erase(node->values.begin() + (value - node->values.data()));
        changes.push_back(MakeChange(*node, REG_NOTIFY_CHANGE_LAST_SET));
        return ERROR_SUCCESS;
    });
}

LONG RegistryStore::EnumKey(RegKeyId key, DWORD index, String& name, ULONGLONG& lastWriteTime) {
    std::lock_guard lock(FMutex);
    RegNode* node = nullptr;
    LONG status = FindLoaded(key, node);
    if (status != ERROR_SUCCESS)
        return status;
    if (index >= node->subKeys.size())
        return ERROR_NO_MORE_ITEMS;
    const RegNode& child = *node->subKeys[index];
    name = child.name;
    lastWriteTime = child.lastWrite;
    return ERROR_SUCCESS;
}

LONG RegistryStore::EnumValue(RegKeyId key, DWORD index, String& name, DWORD& type, std::vector<BYTE>& data) {
    std::lock_guard lock(FMutex);
    RegNode* node = nullptr;
    LONG status = FindLoaded(key, node);
    if (status != ERROR_SUCCESS)
        return status;
    if (index == 0)
        Refresh(*node);
    if (index >= node->values.size())
        return ERROR_NO_MORE_ITEMS;
    const RegValue& value = node->values[index];
    name = value.name;
    type = value.type;
    data = value.data;
    return ERROR_SUCCESS;
}

LONG RegistryStore::QueryInfo(RegKeyId key, RegKeyInfo& info) {
    std::lock_guard lock(FMutex);
    RegNode* node = nullptr;
    LONG status = FindLoaded(key, node);
    if (status != ERROR_SUCCESS)
        return status;
    Refresh(*node);
    info = RegKeyInfo();
    info.subKeys = static_cast<DWORD>(node->subKeys.size());
    for (const auto& child : node->subKeys)
        info.maxSubKeyLength = std::max(info.maxSubKeyLength, static_cast<DWORD>(child->name.size()));
    info.values = static_cast<DWORD>(node->values.size());
    for (const RegValue& value : node->values) {
        info.maxValueNameLength = std::max(info.maxValueNameLength, static_cast<DWORD>(value.name.size()));
        info.maxValueLength = std::max(info.maxValueLength, static_cast<DWORD>(value.data.size()));
    }
    info.lastWriteTime = node->lastWrite;
    return ERROR_SUCCESS;
}

LONG RegistryStore::Notify(RegKeyId key, bool subtree, DWORD filter, std::shared_ptr<EventObject> event,
                           const void* owner) {
    std::lock_guard lock(FMutex);
    RegNode* node = nullptr;
    LONG status = FindLoaded(key, node);
    if (status != ERROR_SUCCESS)
        return status;
    FRegistrations.push_back(Registration{key, subtree, filter, std::move(event), owner});
    return ERROR_SUCCESS;
}

void RegistryStore::CancelNotifications(const void* owner) {
    std::lock_guard lock(FMutex);
    for (auto it = FRegistrations.begin(); it != FRegistrations.end();) {
        if (it->owner == owner) {
            it->event->Set();
            it = FRegistrations.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace win32
