// The Win32 registry calls: key handles and their rights, the predefined hives, and the buffers of
// Win32's calling conventions, over the hives' stores.
#include "platform/win32/registry.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/backend/devices.h"
#include "platform/backend/platform.h"
#include "platform/rtl/UString.h"
#include "platform/win32/handle.h"
#include "platform/win32/regstore.h"
#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

// A key opened by RegOpenKeyEx or RegCreateKeyEx.
class RegistryKeyObject : public KernelObject {
public:
    RegistryKeyObject(std::shared_ptr<RegistryStore> store, RegKeyId key, REGSAM access)
        : FStore(std::move(store)), FKey(key), FAccess(access) {}
    KernelObjectType Type() const override { return KernelObjectType::RegistryKey; }
    const std::shared_ptr<RegistryStore>& Store() const { return FStore; }
    RegKeyId Key() const { return FKey; }
    REGSAM Access() const { return FAccess; }

protected:
    // Closing a key signals the notifications registered through it, as Win32 does.
    void LastHandleClosed() override { FStore->CancelNotifications(this); }

private:
    std::shared_ptr<RegistryStore> FStore;
    RegKeyId FKey;
    REGSAM FAccess;
};

struct Hives {
    std::mutex mutex;
    std::string folder; // empty: ZELMOR_HOME
    std::shared_ptr<RegistryStore> currentUser, localMachine, classesRoot, users;
};

Hives& TheHives() {
    static Hives hives;
    return hives;
}

std::vector<std::pair<String, String>> SerialPorts() {
    std::vector<std::pair<String, String>> values;
    for (const std::string& name : backend::ListSerialDevices()) {
        String device = Utf8ToString(name);
        values.emplace_back(u"\\Device\\" + device, device);
    }
    return values;
}

// The store of a predefined key, or nullptr for any other handle.
std::shared_ptr<RegistryStore> Hive(HKEY key) {
    if (key != HKEY_CURRENT_USER && key != HKEY_LOCAL_MACHINE && key != HKEY_CLASSES_ROOT &&
        key != HKEY_USERS)
        return nullptr;
    Hives& hives = TheHives();
    std::lock_guard lock(hives.mutex);
    if (!hives.currentUser) {
        std::string folder = hives.folder.empty() ? backend::ZelmorHome() : hives.folder;
        hives.currentUser = std::make_shared<RegistryStore>(folder + "/user.reg", u"HKEY_CURRENT_USER");
        hives.localMachine = std::make_shared<RegistryStore>(folder + "/machine.reg", u"HKEY_LOCAL_MACHINE");
        hives.localMachine->AddSynthesisedKey(u"HARDWARE\\DEVICEMAP\\SERIALCOMM", SerialPorts);
        hives.classesRoot = std::make_shared<RegistryStore>(u"HKEY_CLASSES_ROOT");
        hives.users = std::make_shared<RegistryStore>(u"HKEY_USERS");
    }
    if (key == HKEY_CURRENT_USER)
        return hives.currentUser;
    if (key == HKEY_LOCAL_MACHINE)
        return hives.localMachine;
    if (key == HKEY_CLASSES_ROOT)
        return hives.classesRoot;
    return hives.users;
}

// What a handle stands for.
struct OpenedKey {
    std::shared_ptr<RegistryStore> store;
    RegKeyId key = 0;
    REGSAM access = 0;
    const void* owner = nullptr; // the handle's object; nullptr for a predefined key, which never closes
};

LONG Lookup(HKEY hKey, OpenedKey& opened) {
    if (std::shared_ptr<RegistryStore> store = Hive(hKey)) {
        opened = OpenedKey{std::move(store), RegistryStore::kRootKey, KEY_ALL_ACCESS, nullptr};
        return ERROR_SUCCESS;
    }
    auto object = ReferenceHandleAs<RegistryKeyObject>(reinterpret_cast<HANDLE>(hKey));
    if (!object)
        return ERROR_INVALID_HANDLE;
    opened = OpenedKey{object->Store(), object->Key(), object->Access(), object.get()};
    return ERROR_SUCCESS;
}

// Looks the handle up and checks that it was opened with one of the rights.
LONG Lookup(HKEY hKey, REGSAM needed, OpenedKey& opened) {
    LONG status = Lookup(hKey, opened);
    if (status == ERROR_SUCCESS && !(opened.access & needed))
        return ERROR_ACCESS_DENIED;
    return status;
}

// The generic rights (GENERIC_READ ... GENERIC_ALL, declared with CreateFile's values) as a key's rights.
REGSAM MapGenericAccess(REGSAM sam) {
    constexpr REGSAM kGenericRead = 0x80000000, kGenericWrite = 0x40000000, kGenericExecute = 0x20000000,
                     kGenericAll = 0x10000000;
    if (sam & kGenericRead)
        sam |= KEY_READ;
    if (sam & kGenericWrite)
        sam |= KEY_WRITE;
    if (sam & kGenericExecute)
        sam |= KEY_EXECUTE;
    if (sam & kGenericAll)
        sam |= KEY_ALL_ACCESS;
    return sam & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll);
}

constexpr REGSAM kWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

StringView NameOf(LPCWSTR name) {
    return name ? StringView(name) : StringView();
}

LONG NewHandle(const OpenedKey& parent, RegKeyId key, REGSAM access, PHKEY result) {
    HANDLE handle = AllocateHandle(std::make_shared<RegistryKeyObject>(parent.store, key, access));
    *result = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

// Copies a name with its null into a buffer of *capacity characters; ERROR_MORE_DATA leaves both as
// they were.
LONG CopyName(const String& name, LPWSTR buffer, LPDWORD capacity) {
    if (name.size() + 1 > *capacity)
        return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = 0;
    *capacity = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Copies value data as Win32 does: no buffer gives the size, a short one ERROR_MORE_DATA and the size.
LONG CopyData(const std::vector<BYTE>& data, LPBYTE buffer, LPDWORD size) {
    if (!size)
        return ERROR_SUCCESS;
    LONG status = ERROR_SUCCESS;
    if (buffer) {
        if (*size < data.size())
            status = ERROR_MORE_DATA;
        else if (!data.empty())
            std::memcpy(buffer, data.data(), data.size());
    }
    *size = static_cast<DWORD>(data.size());
    return status;
}

void SetFileTime(FILETIME* time, ULONGLONG value) {
    if (!time)
        return;
    time->dwLowDateTime = static_cast<DWORD>(value);
    time->dwHighDateTime = static_cast<DWORD>(value >> 32);
}

} // namespace

void SetRegistryFolder(const std::string& folder) {
    Hives& hives = TheHives();
    std::lock_guard lock(hives.mutex);
    hives.folder = folder;
    hives.currentUser.reset();
    hives.localMachine.reset();
    hives.classesRoot.reset();
    hives.users.reset();
}

} // namespace win32

using win32::OpenedKey;

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenedKey parent;
    LONG status = win32::Lookup(hKey, parent);
    if (status != ERROR_SUCCESS)
        return status;
    REGSAM access = win32::MapGenericAccess(samDesired);
    win32::RegKeyId key = 0;
    status =
        parent.store->OpenKey(parent.key, win32::NameOf(lpSubKey), (access & win32::kWriteRights) != 0, key);
    if (status != ERROR_SUCCESS)
        return status;
    return win32::NewHandle(parent, key, access, phkResult);
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    OpenedKey parent;
    LONG status = win32::Lookup(hKey, parent);
    if (status != ERROR_SUCCESS)
        return status;
    REGSAM access = win32::MapGenericAccess(samDesired);
    win32::RegKeyId key = 0;
    bool created = false;
    status = parent.store->CreateKey(parent.key, win32::NameOf(lpSubKey), (access & win32::kWriteRights) != 0,
                                     (parent.access & KEY_CREATE_SUB_KEY) != 0, key, created);
    if (status != ERROR_SUCCESS)
        return status;
    if (lpdwDisposition)
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return win32::NewHandle(parent, key, access, phkResult);
}

LONG RegCloseKey(HKEY hKey) {
    if (win32::Hive(hKey))
        return ERROR_SUCCESS;
    HANDLE handle = reinterpret_cast<HANDLE>(hKey);
    if (!win32::ReferenceHandleAs<win32::RegistryKeyObject>(handle) || !win32::ReleaseHandle(handle))
        return ERROR_INVALID_HANDLE;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_QUERY_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return status;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    status = opened.store->QueryValue(opened.key, win32::NameOf(lpValueName), type, data);
    if (status != ERROR_SUCCESS)
        return status;
    if (lpType)
        *lpType = type;
    return win32::CopyData(data, lpData, lpcbData);
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
    if (!lpData && cbData != 0)
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_SET_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return status;
    return opened.store->SetValue(opened.key, win32::NameOf(lpValueName), dwType, lpData, cbData);
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_SET_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return status;
    return opened.store->DeleteValue(opened.key, win32::NameOf(lpValueName));
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, win32::kWriteRights, opened);
    if (status != ERROR_SUCCESS)
        return status;
    return opened.store->DeleteKey(opened.key, lpSubKey);
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime) {
    if (!lpName || !lpcchName || (lpClass && !lpcchClass))
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_ENUMERATE_SUB_KEYS, opened);
    if (status != ERROR_SUCCESS)
        return status;
    String name;
    ULONGLONG lastWrite = 0;
    status = opened.store->EnumKey(opened.key, dwIndex, name, lastWrite);
    if (status != ERROR_SUCCESS)
        return status;
    status = win32::CopyName(name, lpName, lpcchName);
    if (status != ERROR_SUCCESS)
        return status;
    if (lpClass) {
        if (*lpcchClass < 1)
            return ERROR_MORE_DATA;
        lpClass[0] = 0;
        *lpcchClass = 0;
    }
    win32::SetFileTime(lpftLastWriteTime, lastWrite);
    return ERROR_SUCCESS;
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_QUERY_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return status;
    String name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    status = opened.store->EnumValue(opened.key, dwIndex, name, type, data);
    if (status != ERROR_SUCCESS)
        return status;
    status = win32::CopyName(name, lpValueName, lpcchValueName);
    if (status != ERROR_SUCCESS)
        return status;
    if (lpType)
        *lpType = type;
    return win32::CopyData(data, lpData, lpcbData);
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      FILETIME* lpftLastWriteTime) {
    if (lpClass && !lpcchClass)
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_QUERY_VALUE, opened);
    if (status != ERROR_SUCCESS)
        return status;
    win32::RegKeyInfo info;
    status = opened.store->QueryInfo(opened.key, info);
    if (status != ERROR_SUCCESS)
        return status;
    if (lpClass) {
        if (*lpcchClass < 1)
            return ERROR_MORE_DATA;
        lpClass[0] = 0;
    }
    if (lpcchClass)
        *lpcchClass = 0;
    if (lpcSubKeys)
        *lpcSubKeys = info.subKeys;
    if (lpcbMaxSubKeyLen)
        *lpcbMaxSubKeyLen = info.maxSubKeyLength;
    if (lpcbMaxClassLen)
        *lpcbMaxClassLen = 0;
    if (lpcValues)
        *lpcValues = info.values;
    if (lpcbMaxValueNameLen)
        *lpcbMaxValueNameLen = info.maxValueNameLength;
    if (lpcbMaxValueLen)
        *lpcbMaxValueLen = info.maxValueLength;
    if (lpcbSecurityDescriptor)
        *lpcbSecurityDescriptor = 0;
    win32::SetFileTime(lpftLastWriteTime, info.lastWriteTime);
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY hKey) {
    OpenedKey opened;
    return win32::Lookup(hKey, opened);
}

LONG RegNotifyChangeKeyValue(HKEY hKey, BOOL bWatchSubtree, DWORD dwNotifyFilter, HANDLE hEvent,
                             BOOL fAsynchronous) {
    const DWORD filter = dwNotifyFilter & ~REG_NOTIFY_THREAD_AGNOSTIC;
    if (filter == 0 || (filter & ~REG_LEGAL_CHANGE_FILTER) || (fAsynchronous && !hEvent))
        return ERROR_INVALID_PARAMETER;
    OpenedKey opened;
    LONG status = win32::Lookup(hKey, KEY_NOTIFY, opened);
    if (status != ERROR_SUCCESS)
        return status;
    if (fAsynchronous) {
        auto event = win32::ReferenceHandleAs<win32::EventObject>(hEvent);
        if (!event)
            return ERROR_INVALID_HANDLE;
        return opened.store->Notify(opened.key, bWatchSubtree, filter, std::move(event), opened.owner);
    }
    auto event = std::make_shared<win32::EventObject>(true, false);
    status = opened.store->Notify(opened.key, bWatchSubtree, filter, event, opened.owner);
    if (status != ERROR_SUCCESS)
        return status;
    HANDLE handle = win32::AllocateHandle(event);
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
    return ERROR_SUCCESS;
}
