// The Win32 registry API: predefined keys, value types, access rights, and the Reg* calls. Every call
// returns a Win32 error code as LONG (ERROR_SUCCESS when it worked) and never throws; like Win32's
// registry calls they do not set the last error.
//
// HKEY_CURRENT_USER lives in $ZELMOR_HOME/user.reg and HKEY_LOCAL_MACHINE in $ZELMOR_HOME/machine.reg,
// except HKEY_LOCAL_MACHINE\HARDWARE, which is read-only and holds DEVICEMAP\SERIALCOMM: one REG_SZ
// value per serial device of the machine, named like \Device\ttyUSB0, its data the name that "\\.\" +
// name opens ("ttyUSB0").
// HKEY_CLASSES_ROOT and HKEY_USERS are empty and read-only. Volatile keys (REG_OPTION_VOLATILE) are kept
// like the others.
#pragma once

#include <string>

#include "platform/win32/wintypes.h"

// Predefined keys, sign-extended as in 64-bit Win32.
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000000)));
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000001)));
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000002)));
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(LONG(0x80000003)));

// Value types.
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;
inline constexpr DWORD REG_QWORD_LITTLE_ENDIAN = 11;

// Access rights.
inline constexpr DWORD DELETE = 0x00010000;
inline constexpr DWORD READ_CONTROL = 0x00020000;
inline constexpr DWORD WRITE_DAC = 0x00040000;
inline constexpr DWORD WRITE_OWNER = 0x00080000;
inline constexpr DWORD SYNCHRONIZE = 0x00100000;
inline constexpr DWORD STANDARD_RIGHTS_REQUIRED = 0x000F0000;
inline constexpr DWORD STANDARD_RIGHTS_READ = READ_CONTROL;
inline constexpr DWORD STANDARD_RIGHTS_WRITE = READ_CONTROL;
inline constexpr DWORD STANDARD_RIGHTS_EXECUTE = READ_CONTROL;
inline constexpr DWORD STANDARD_RIGHTS_ALL = 0x001F0000;
inline constexpr DWORD KEY_QUERY_VALUE = 0x0001;
inline constexpr DWORD KEY_SET_VALUE = 0x0002;
inline constexpr DWORD KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr DWORD KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr DWORD KEY_NOTIFY = 0x0010;
inline constexpr DWORD KEY_CREATE_LINK = 0x0020;
inline constexpr DWORD KEY_WOW64_64KEY = 0x0100;
inline constexpr DWORD KEY_WOW64_32KEY = 0x0200;
inline constexpr DWORD KEY_WOW64_RES = 0x0300;
inline constexpr DWORD KEY_READ =
    (STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY) & ~SYNCHRONIZE;
inline constexpr DWORD KEY_WRITE =
    (STANDARD_RIGHTS_WRITE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY) & ~SYNCHRONIZE;
inline constexpr DWORD KEY_EXECUTE = KEY_READ & ~SYNCHRONIZE;
inline constexpr DWORD KEY_ALL_ACCESS =
    (STANDARD_RIGHTS_ALL | KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS |
     KEY_NOTIFY | KEY_CREATE_LINK) &
    ~SYNCHRONIZE;

// Options of RegCreateKeyEx and RegOpenKeyEx.
inline constexpr DWORD REG_OPTION_RESERVED = 0x0;
inline constexpr DWORD REG_OPTION_NON_VOLATILE = 0x0;
inline constexpr DWORD REG_OPTION_VOLATILE = 0x1;
inline constexpr DWORD REG_OPTION_CREATE_LINK = 0x2;
inline constexpr DWORD REG_OPTION_BACKUP_RESTORE = 0x4;
inline constexpr DWORD REG_OPTION_OPEN_LINK = 0x8;

// Dispositions of RegCreateKeyEx.
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Filters of RegNotifyChangeKeyValue.
inline constexpr DWORD REG_NOTIFY_CHANGE_NAME = 0x1; // a subkey added or deleted
inline constexpr DWORD REG_NOTIFY_CHANGE_ATTRIBUTES = 0x2;
inline constexpr DWORD REG_NOTIFY_CHANGE_LAST_SET = 0x4; // a value added, changed or deleted
inline constexpr DWORD REG_NOTIFY_CHANGE_SECURITY = 0x8;
inline constexpr DWORD REG_NOTIFY_THREAD_AGNOSTIC = 0x10000000;
inline constexpr DWORD REG_LEGAL_CHANGE_FILTER = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES |
                                                 REG_NOTIFY_CHANGE_LAST_SET | REG_NOTIFY_CHANGE_SECURITY;

// Common errors: ERROR_INVALID_HANDLE for a key handle that is not open, ERROR_KEY_DELETED for a handle
// whose key was deleted, ERROR_ACCESS_DENIED for a change through a handle opened without the right to
// make it (or of a read-only key), ERROR_REGISTRY_CORRUPT or ERROR_REGISTRY_IO_FAILED when the hive's
// file cannot be used (see regstore.h).

// lpSubKey null or empty opens a new handle to hKey's own key. ERROR_FILE_NOT_FOUND for a missing key.
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
// Opens the key, creating it and its missing parents (hKey needs KEY_CREATE_SUB_KEY for that).
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
LONG RegCloseKey(HKEY hKey);
// lpData null: *lpcbData gets the size. A short buffer: ERROR_MORE_DATA, *lpcbData the size needed.
// REG_SZ data are the UTF-16LE bytes as written, normally with the terminating null.
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// ERROR_ACCESS_DENIED when the key has subkeys. An empty lpSubKey deletes hKey's own key.
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
// Lengths are in characters: in, the buffer's size with room for the null; out, the name's length
// without it. ERROR_MORE_DATA when the name does not fit, ERROR_NO_MORE_ITEMS past the last key.
LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime);
LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
// Maximum name lengths are in characters without the null; lpcbMaxValueLen in bytes. Classes and
// security descriptors are not kept: their sizes are 0.
LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      FILETIME* lpftLastWriteTime);
// Every change is on disk when its call returns, so there is nothing left to flush.
LONG RegFlushKey(HKEY hKey);
// Watches changes made within this process. The event is signalled once, at the first change the
// filter selects, when the key is deleted or when hKey is closed; then the registration ends. With
// fAsynchronous FALSE the call waits for that instead.
LONG RegNotifyChangeKeyValue(HKEY hKey, BOOL bWatchSubtree, DWORD dwNotifyFilter, HANDLE hEvent,
                             BOOL fAsynchronous);

inline LONG RegOpenKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
    return RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}
inline LONG RegCreateKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                           REGSAM samDesired, const LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                           PHKEY phkResult, LPDWORD lpdwDisposition) {
    return RegCreateKeyExW(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes,
                           phkResult, lpdwDisposition);
}
inline LONG RegQueryValueEx(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                            LPDWORD lpcbData) {
    return RegQueryValueExW(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegSetValueEx(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                          DWORD cbData) {
    return RegSetValueExW(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}
inline LONG RegDeleteValue(HKEY hKey, LPCWSTR lpValueName) {
    return RegDeleteValueW(hKey, lpValueName);
}
inline LONG RegDeleteKey(HKEY hKey, LPCWSTR lpSubKey) {
    return RegDeleteKeyW(hKey, lpSubKey);
}
inline LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                         LPWSTR lpClass, LPDWORD lpcchClass, FILETIME* lpftLastWriteTime) {
    return RegEnumKeyExW(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass,
                         lpftLastWriteTime);
}
inline LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                         LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    return RegEnumValueW(hKey, dwIndex, lpValueName, lpcchValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegQueryInfoKey(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved,
                            LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                            LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                            LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime) {
    return RegQueryInfoKeyW(hKey, lpClass, lpcchClass, lpReserved, lpcSubKeys, lpcbMaxSubKeyLen,
                            lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen,
                            lpcbSecurityDescriptor, lpftLastWriteTime);
}

namespace win32 {
// Points the hives at the files of another folder (tests, tools); an empty folder means ZELMOR_HOME
// again. Handles opened before keep the files they were opened on.
void SetRegistryFolder(const std::string& folder);
} // namespace win32
