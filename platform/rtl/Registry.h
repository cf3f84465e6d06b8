// The framework's TRegistry: a current key opened below a root key, and typed reads and writes of its
// values over the Win32 registry calls; TRegistryIniFile, the INI file interface over a registry key.
#pragma once

#include <memory>

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Types.h"
#include "platform/win32/registry.h"

class TStrings;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

struct TRegKeyInfo {
    Integer NumSubKeys;
    Integer MaxSubKeyLen; // characters
    Integer NumValues;
    Integer MaxValueLen; // characters of the longest value name
    Integer MaxDataLen;  // bytes
    FILETIME FileTime;
};

struct TRegDataInfo {
    TRegDataType RegData;
    Integer DataSize; // bytes
};

// Keys given to OpenKey, CreateKey, DeleteKey and KeyExists are relative to the current key when one
// is open, unless they start with '\'; otherwise relative to RootKey. Reads and writes of values work
// on the current key; with none open they fail as the Win32 calls fail on a null key.
//
// Errors raise ERegistryException: "Failed to create key %s" (CreateKey), "Failed to get data for
// '%s'" (a value missing or unreadable), "Invalid data type for '%s'" (a value of another type) and
// "Failed to set data for '%s'" (a write refused). Functions answering bool raise nothing.
class TRegistry {
public:
    TRegistry(); // RootKey HKEY_CURRENT_USER, Access KEY_ALL_ACCESS
    explicit TRegistry(LongWord access);
    virtual ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    void CloseKey();
    // Creates the key and its missing parents without opening it; raises when that fails.
    bool CreateKey(const String& key);
    // Deletes the key with every subkey below it.
    bool DeleteKey(const String& key);
    bool DeleteValue(const String& name);
    // False (and a zeroed record) when the value is missing.
    bool GetDataInfo(const String& valueName, TRegDataInfo& value);
    // -1 when the value is missing.
    Integer GetDataSize(const String& valueName);
    // rdUnknown when the value is missing or of a type with no TRegDataType.
    TRegDataType GetDataType(const String& valueName);
    bool GetKeyInfo(TRegKeyInfo& value);
    // The current key's subkeys (or value names), replacing what strings held.
    void GetKeyNames(TStrings* strings);
    void GetValueNames(TStrings* strings);
    bool HasSubKeys();
    bool KeyExists(const String& key);
    // Makes the key current, creating it when canCreate; false when it cannot be opened.
    bool OpenKey(const String& key, bool canCreate);
    // Opens with KEY_READ, which becomes Access while the key is open.
    bool OpenKeyReadOnly(const String& key);
    bool ValueExists(const String& name);

    // Reads a REG_BINARY (or untyped) value into buffer; answers its size, 0 when it is missing. Raises
    // "Invalid data type" for another type or a value larger than bufSize.
    Integer ReadBinaryData(const String& name, void* buffer, Integer bufSize);
    bool ReadBool(const String& name);
    // A REG_BINARY of eight bytes, as WriteFloat stores it.
    double ReadFloat(const String& name);
    Integer ReadInteger(const String& name);
    // Empty text for a missing or empty value; the text stops at its first null.
    String ReadString(const String& name);
    void WriteBinaryData(const String& name, const void* buffer, Integer bufSize);
    void WriteBool(const String& name, bool value);
    void WriteExpandString(const String& name, const String& value);
    void WriteFloat(const String& name, double value);
    void WriteInteger(const String& name, Integer value);
    void WriteString(const String& name, const String& value);

    HKEY CurrentKey() const { return FCurrentKey; }
    // The current key's path below RootKey, without a leading '\'; empty when none is open.
    const String& CurrentPath() const { return FCurrentPath; }
    HKEY RootKey() const { return FRootKey; }
    // Closes the current key when the root changes.
    void SetRootKey(HKEY value);
    LongWord Access() const { return FAccess; }
    void SetAccess(LongWord value) { FAccess = value; }
    // Every write is on disk when it returns; the property is kept for the code that sets it.
    bool LazyWrite() const { return FLazyWrite; }
    void SetLazyWrite(bool value) { FLazyWrite = value; }

protected:
    void ChangeKey(HKEY value, const String& path);
    HKEY GetBaseKey(bool relative) const;
    // Bytes read; raises "Failed to get data" when the value is missing or larger than bufSize.
    Integer GetData(const String& name, void* buffer, Integer bufSize, TRegDataType& regData);
    // The key opened with Access, or null.
    HKEY GetKey(const String& key);
    void PutData(const String& name, const void* buffer, Integer bufSize, TRegDataType regData);
    void SetCurrentKey(HKEY value) { FCurrentKey = value; }

private:
    HKEY FRootKey = HKEY_CURRENT_USER;
    HKEY FCurrentKey = nullptr;
    String FCurrentPath;
    LongWord FAccess = KEY_ALL_ACCESS;
    bool FLazyWrite = true;
};

// An INI file kept in the registry: the file name is a key path below HKEY_CURRENT_USER (created when
// missing), each section is a subkey of it and each entry a value. Integers are stored as REG_DWORD and
// text as REG_SZ; ReadInteger also reads a number stored as text, and ReadString an integer as its
// decimal text. A read answers the default when the section or the value is missing or of another type.
// Writes create the section's subkey; a key that cannot be opened or created raises "Failed to create
// key %s" (writes never fall back to the root) and a refused write "Failed to set data for '%s'".
class TRegistryIniFile : public TCustomIniFile {
public:
    explicit TRegistryIniFile(const String& fileName, LongWord access = KEY_ALL_ACCESS);
    ~TRegistryIniFile() override;

    bool ValueExists(const String& section, const String& ident) override;
    String ReadString(const String& section, const String& ident, const String& defaultValue) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    Integer ReadInteger(const String& section, const String& ident, Integer defaultValue) override;
    void WriteInteger(const String& section, const String& ident, Integer value) override;
    void ReadSection(const String& section, TStrings& strings) override;
    // The subkeys of the file's key.
    void ReadSections(TStrings& strings) override;
    void ReadSectionValues(const String& section, TStrings& strings) override;
    // Deletes the section's subkey with everything below it.
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    // Nothing to do: every write is already in the registry.
    void UpdateFile() override;

    // The registry object open on the file's key.
    TRegistry& RegIniFile() { return *FRegIniFile; }

private:
    std::unique_ptr<TRegistry> FRegIniFile;
};
