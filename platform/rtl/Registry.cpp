// TRegistry over the Win32 registry calls, and TRegistryIniFile over TRegistry.
#include "platform/rtl/Registry.h"

#include <vector>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/winerror.h"

namespace {

TRegDataType DataTypeToRegData(DWORD type) {
    switch (type) {
    case REG_SZ:
        return rdString;
    case REG_EXPAND_SZ:
        return rdExpandString;
    case REG_DWORD:
        return rdInteger;
    case REG_BINARY:
        return rdBinary;
    default:
        return rdUnknown;
    }
}

DWORD RegDataToDataType(TRegDataType value) {
    switch (value) {
    case rdString:
        return REG_SZ;
    case rdExpandString:
        return REG_EXPAND_SZ;
    case rdInteger:
        return REG_DWORD;
    case rdBinary:
        return REG_BINARY;
    default:
        return REG_NONE;
    }
}

// A key starting with '\' is taken from the root; the rest of it is the path.
bool IsRelative(const String& key) {
    return key.empty() || key[0] != u'\\';
}

String WithoutRoot(const String& key) {
    return IsRelative(key) ? key : key.substr(1);
}

[[noreturn]] void ReadError(const String& name) {
    throw ERegistryException(Consts::SInvalidRegType, {name});
}

} // namespace

TRegistry::TRegistry() = default;

TRegistry::TRegistry(LongWord access) : FAccess(access) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::CloseKey() {
    if (!FCurrentKey)
        return;
    if (!FLazyWrite)
        RegFlushKey(FCurrentKey);
    RegCloseKey(FCurrentKey);
    FCurrentKey = nullptr;
    FCurrentPath.clear();
}

void TRegistry::SetRootKey(HKEY value) {
    if (FRootKey == value)
        return;
    FRootKey = value;
    CloseKey();
}

void TRegistry::ChangeKey(HKEY value, const String& path) {
    CloseKey();
    FCurrentKey = value;
    FCurrentPath = path;
}

HKEY TRegistry::GetBaseKey(bool relative) const {
    return (!FCurrentKey || !relative) ? FRootKey : FCurrentKey;
}

HKEY TRegistry::GetKey(const String& key) {
    HKEY result = nullptr;
    RegOpenKeyExW(GetBaseKey(IsRelative(key)), WithoutRoot(key).c_str(), 0, FAccess, &result);
    return result;
}

bool TRegistry::OpenKey(const String& key, bool canCreate) {
    const bool relative = IsRelative(key);
    String path = WithoutRoot(key);
    HKEY opened = nullptr;
    LONG status;
    if (!canCreate || path.empty()) {
        status = RegOpenKeyExW(GetBaseKey(relative), path.c_str(), 0, FAccess, &opened);
    } else {
        DWORD disposition = 0;
        status = RegCreateKeyExW(GetBaseKey(relative), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 FAccess, nullptr, &opened, &disposition);
    }
    if (status != ERROR_SUCCESS)
        return false;
    if (FCurrentKey && relative)
        path = FCurrentPath + u"\\" + path;
    ChangeKey(opened, path);
    return true;
}

bool TRegistry::OpenKeyReadOnly(const String& key) {
    const bool relative = IsRelative(key);
    String path = WithoutRoot(key);
    // The redirection flags of Access are kept, as the framework does.
    const LongWord access = KEY_READ | (FAccess & KEY_WOW64_RES);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(GetBaseKey(relative), path.c_str(), 0, access, &opened) != ERROR_SUCCESS)
        return false;
    FAccess = access;
    if (FCurrentKey && relative)
        path = FCurrentPath + u"\\" + path;
    ChangeKey(opened, path);
    return true;
}

bool TRegistry::CreateKey(const String& key) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(GetBaseKey(IsRelative(key)), WithoutRoot(key).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, FAccess, nullptr, &created, &disposition) != ERROR_SUCCESS)
        throw ERegistryException(Consts::SRegCreateFailed, {key});
    RegCloseKey(created);
    return true;
}

bool TRegistry::DeleteKey(const String& key) {
    const HKEY oldKey = FCurrentKey;
    const HKEY doomed = GetKey(key);
    if (doomed) {
        // Subkeys first, from the last: a key with subkeys cannot be deleted.
        SetCurrentKey(doomed);
        TRegKeyInfo info;
        if (GetKeyInfo(info)) {
            std::vector<Char> name(static_cast<size_t>(info.MaxSubKeyLen) + 1);
            for (Integer i = info.NumSubKeys - 1; i >= 0; --i) {
                DWORD length = static_cast<DWORD>(name.size());
                if (RegEnumKeyExW(doomed, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr,
                                  nullptr, nullptr) == ERROR_SUCCESS)
                    DeleteKey(String(name.data(), length));
            }
        }
        SetCurrentKey(oldKey);
        RegCloseKey(doomed);
    }
    return RegDeleteKeyW(GetBaseKey(IsRelative(key)), WithoutRoot(key).c_str()) == ERROR_SUCCESS;
}

bool TRegistry::DeleteValue(const String& name) {
    return RegDeleteValueW(FCurrentKey, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const String& key) {
    const LongWord oldAccess = FAccess;
    FAccess = STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | (oldAccess & KEY_WOW64_RES);
    HKEY opened = GetKey(key);
    FAccess = oldAccess;
    if (!opened)
        return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::GetDataInfo(const String& valueName, TRegDataInfo& value) {
    value = TRegDataInfo{rdUnknown, 0};
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(FCurrentKey, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    value.RegData = DataTypeToRegData(type);
    value.DataSize = static_cast<Integer>(size);
    return true;
}

Integer TRegistry::GetDataSize(const String& valueName) {
    TRegDataInfo info;
    return GetDataInfo(valueName, info) ? info.DataSize : -1;
}

TRegDataType TRegistry::GetDataType(const String& valueName) {
    TRegDataInfo info;
    return GetDataInfo(valueName, info) ? info.RegData : rdUnknown;
}

bool TRegistry::ValueExists(const String& name) {
    TRegDataInfo info;
    return GetDataInfo(name, info);
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& value) {
    value = TRegKeyInfo{};
    DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueLen = 0, maxDataLen = 0;
    if (RegQueryInfoKeyW(FCurrentKey, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr, &values,
                         &maxValueLen, &maxDataLen, nullptr, &value.FileTime) != ERROR_SUCCESS)
        return false;
    value.NumSubKeys = static_cast<Integer>(subKeys);
    value.MaxSubKeyLen = static_cast<Integer>(maxSubKeyLen);
    value.NumValues = static_cast<Integer>(values);
    value.MaxValueLen = static_cast<Integer>(maxValueLen);
    value.MaxDataLen = static_cast<Integer>(maxDataLen);
    return true;
}

bool TRegistry::HasSubKeys() {
    TRegKeyInfo info;
    return GetKeyInfo(info) && info.NumSubKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* strings) {
    strings->BeginUpdate();
    strings->Clear();
    TRegKeyInfo info;
    if (GetKeyInfo(info)) {
        std::vector<Char> name(static_cast<size_t>(info.MaxSubKeyLen) + 1);
        for (Integer i = 0; i < info.NumSubKeys; ++i) {
            DWORD length = static_cast<DWORD>(name.size());
            // A key deleted meanwhile by another writer is skipped rather than listed as garbage.
            if (RegEnumKeyExW(FCurrentKey, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS)
                strings->Add(String(name.data(), length));
        }
    }
    strings->EndUpdate();
}

void TRegistry::GetValueNames(TStrings* strings) {
    strings->BeginUpdate();
    strings->Clear();
    TRegKeyInfo info;
    if (GetKeyInfo(info)) {
        std::vector<Char> name(static_cast<size_t>(info.MaxValueLen) + 1);
        for (Integer i = 0; i < info.NumValues; ++i) {
            DWORD length = static_cast<DWORD>(name.size());
            if (RegEnumValueW(FCurrentKey, static_cast<DWORD>(i), name.data(), &length, nullptr, nullptr,
                              nullptr, nullptr) == ERROR_SUCCESS)
                strings->Add(String(name.data(), length));
        }
    }
    strings->EndUpdate();
}

Integer TRegistry::GetData(const String& name, void* buffer, Integer bufSize, TRegDataType& regData) {
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(bufSize);
    if (RegQueryValueExW(FCurrentKey, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        throw ERegistryException(Consts::SRegGetDataFailed, {name});
    regData = DataTypeToRegData(type);
    return static_cast<Integer>(size);
}

void TRegistry::PutData(const String& name, const void* buffer, Integer bufSize, TRegDataType regData) {
    if (RegSetValueExW(FCurrentKey, name.c_str(), 0, RegDataToDataType(regData),
                       static_cast<const BYTE*>(buffer), static_cast<DWORD>(bufSize)) != ERROR_SUCCESS)
        throw ERegistryException(Consts::SRegSetDataFailed, {name});
}

String TRegistry::ReadString(const String& name) {
    const Integer size = GetDataSize(name);
    if (size <= 0)
        return String();
    std::vector<BYTE> data(static_cast<size_t>(size));
    TRegDataType regData = rdUnknown;
    const Integer read = GetData(name, data.data(), size, regData);
    if (regData != rdString && regData != rdExpandString)
        ReadError(name);
    String result;
    for (Integer i = 0; i + 1 < read; i += 2) {
        Char c = static_cast<Char>(data[static_cast<size_t>(i)] | (data[static_cast<size_t>(i) + 1] << 8));
        if (c == 0)
            break;
        result.push_back(c);
    }
    return result;
}

Integer TRegistry::ReadInteger(const String& name) {
    // The type is checked before the data are read, so that a value of another type always gives
    // "Invalid data type", whatever its size.
    TRegDataInfo info;
    if (!GetDataInfo(name, info))
        throw ERegistryException(Consts::SRegGetDataFailed, {name});
    if (info.RegData != rdInteger)
        ReadError(name);
    Integer result = 0;
    TRegDataType regData = rdUnknown;
    GetData(name, &result, sizeof result, regData);
    if (regData != rdInteger)
        ReadError(name);
    return result;
}

bool TRegistry::ReadBool(const String& name) {
    return ReadInteger(name) != 0;
}

double TRegistry::ReadFloat(const String& name) {
    TRegDataInfo info;
    if (!GetDataInfo(name, info))
        throw ERegistryException(Consts::SRegGetDataFailed, {name});
    if (info.RegData != rdBinary || info.DataSize != static_cast<Integer>(sizeof(double)))
        ReadError(name);
    double result = 0;
    TRegDataType regData = rdUnknown;
    if (GetData(name, &result, sizeof result, regData) != static_cast<Integer>(sizeof result) ||
        regData != rdBinary)
        ReadError(name);
    return result;
}

Integer TRegistry::ReadBinaryData(const String& name, void* buffer, Integer bufSize) {
    TRegDataInfo info;
    if (!GetDataInfo(name, info))
        return 0;
    if ((info.RegData != rdBinary && info.RegData != rdUnknown) || info.DataSize > bufSize)
        ReadError(name);
    TRegDataType regData = rdUnknown;
    return GetData(name, buffer, info.DataSize, regData);
}

void TRegistry::WriteBinaryData(const String& name, const void* buffer, Integer bufSize) {
    PutData(name, buffer, bufSize, rdBinary);
}

void TRegistry::WriteBool(const String& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteExpandString(const String& name, const String& value) {
    PutData(name, value.c_str(), static_cast<Integer>((value.size() + 1) * sizeof(Char)), rdExpandString);
}

void TRegistry::WriteFloat(const String& name, double value) {
    PutData(name, &value, sizeof value, rdBinary);
}

void TRegistry::WriteInteger(const String& name, Integer value) {
    PutData(name, &value, sizeof value, rdInteger);
}

void TRegistry::WriteString(const String& name, const String& value) {
    PutData(name, value.c_str(), static_cast<Integer>((value.size() + 1) * sizeof(Char)), rdString);
}

// ---- TRegistryIniFile ----

namespace {

// The file's registry object, able to make a section's subkey current for a while.
class TRegIniKey : public TRegistry {
public:
    using TRegistry::TRegistry;

    // Runs action with the section's subkey as the current key, creating the subkey first when create.
    // False, with nothing run, when the subkey is missing or the file's own key is not open.
    template <class Action> bool InSection(const String& section, bool create, Action&& action) {
        if (!CurrentKey())
            return false;
        if (create && !KeyExists(section))
            CreateKey(section);
        const HKEY key = GetKey(section);
        if (!key)
            return false;
        const HKEY fileKey = CurrentKey();
        SetCurrentKey(key);
        try {
            action();
        } catch (...) {
            SetCurrentKey(fileKey);
            RegCloseKey(key);
            throw;
        }
        SetCurrentKey(fileKey);
        RegCloseKey(key);
        return true;
    }
};

TRegIniKey& Key(std::unique_ptr<TRegistry>& registry) {
    return static_cast<TRegIniKey&>(*registry);
}

} // namespace

TRegistryIniFile::TRegistryIniFile(const String& fileName, LongWord access)
    : TCustomIniFile(fileName), FRegIniFile(std::make_unique<TRegIniKey>(access)) {
    FRegIniFile->OpenKey(fileName, true);
}

TRegistryIniFile::~TRegistryIniFile() = default;

bool TRegistryIniFile::ValueExists(const String& section, const String& ident) {
    bool exists = false;
    Key(FRegIniFile).InSection(section, false, [&] { exists = FRegIniFile->ValueExists(ident); });
    return exists;
}

String TRegistryIniFile::ReadString(const String& section, const String& ident, const String& defaultValue) {
    String result = defaultValue;
    Key(FRegIniFile).InSection(section, false, [&] {
        switch (FRegIniFile->GetDataType(ident)) {
        case rdString:
        case rdExpandString:
            result = FRegIniFile->ReadString(ident);
            break;
        case rdInteger:
            result = IntToStr(FRegIniFile->ReadInteger(ident));
            break;
        default:
            break;
        }
    });
    return result;
}

void TRegistryIniFile::WriteString(const String& section, const String& ident, const String& value) {
    if (!Key(FRegIniFile).InSection(section, true, [&] { FRegIniFile->WriteString(ident, value); }))
        throw ERegistryException(Consts::SRegCreateFailed, {FileName()});
}

Integer TRegistryIniFile::ReadInteger(const String& section, const String& ident, Integer defaultValue) {
    Integer result = defaultValue;
    Key(FRegIniFile).InSection(section, false, [&] {
        switch (FRegIniFile->GetDataType(ident)) {
        case rdString:
        case rdExpandString:
            result = StrToIntDef(FRegIniFile->ReadString(ident), defaultValue);
            break;
        case rdInteger:
            result = FRegIniFile->ReadInteger(ident);
            break;
        default:
            break;
        }
    });
    return result;
}

void TRegistryIniFile::WriteInteger(const String& section, const String& ident, Integer value) {
    if (!Key(FRegIniFile).InSection(section, true, [&] { FRegIniFile->WriteInteger(ident, value); }))
        throw ERegistryException(Consts::SRegCreateFailed, {FileName()});
}

void TRegistryIniFile::ReadSection(const String& section, TStrings& strings) {
    strings.Clear();
    Key(FRegIniFile).InSection(section, false, [&] { FRegIniFile->GetValueNames(&strings); });
}

void TRegistryIniFile::ReadSections(TStrings& strings) {
    strings.Clear();
    if (FRegIniFile->CurrentKey())
        FRegIniFile->GetKeyNames(&strings);
}

void TRegistryIniFile::ReadSectionValues(const String& section, TStrings& strings) {
    TStringList names;
    ReadSection(section, names);
    strings.BeginUpdate();
    strings.Clear();
    for (Integer i = 0; i < names.Count(); ++i)
        strings.Add(names.Strings(i) + u"=" + ReadString(section, names.Strings(i), String()));
    strings.EndUpdate();
}

void TRegistryIniFile::EraseSection(const String& section) {
    // An empty name would be the file's own key.
    if (FRegIniFile->CurrentKey() && !section.empty())
        FRegIniFile->DeleteKey(section);
}

void TRegistryIniFile::DeleteKey(const String& section, const String& ident) {
    Key(FRegIniFile).InSection(section, false, [&] { FRegIniFile->DeleteValue(ident); });
}

void TRegistryIniFile::UpdateFile() {}
