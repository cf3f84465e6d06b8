// Libraries and resources: LoadLibrary, GetModuleHandle and GetProcAddress answer with our own functions
// for the libraries we stand in for; their version resources; and the resources built into the program.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <list>
#include <map>
#include <mutex>
#include <string>

#include "platform/rtl/LogicalCompare.h"
#include "platform/rtl/UString.h"
#include "platform/win32/com.h"
#include "platform/win32/resources.h"
#include "platform/win32/shell.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/time.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

// ---- Libraries ----

struct Library {
    std::string name; // lower case, without ".dll"
    std::map<std::string, FARPROC> entries;
    int loads = 0; // LoadLibrary minus FreeLibrary; the library stays "loaded" either way
};

struct LibraryTable {
    std::recursive_mutex lock;
    std::list<Library> libraries; // stable addresses: a module handle is the address of its entry
    bool builtIns = false;
};

LibraryTable& Libraries() {
    static LibraryTable table;
    return table;
}

// The program itself.
HMODULE ProgramModule() {
    static char program;
    return reinterpret_cast<HMODULE>(&program);
}

std::string LibraryKey(StringView name) {
    std::string key = StringToUtf8(LowerASCII(name));
    size_t slash = key.find_last_of("\\/");
    if (slash != std::string::npos)
        key = key.substr(slash + 1);
    if (key.size() > 4 && key.compare(key.size() - 4, 4, ".dll") == 0)
        key.resize(key.size() - 4);
    return key;
}

Library* FindLibrary(const std::string& key) {
    for (Library& library : Libraries().libraries)
        if (library.name == key)
            return &library;
    return nullptr;
}

Library* FindLibrary(HMODULE module) {
    for (Library& library : Libraries().libraries)
        if (reinterpret_cast<HMODULE>(&library) == module)
            return &library;
    return nullptr;
}

Library& AddLibrary(const std::string& key) {
    if (Library* library = FindLibrary(key))
        return *library;
    Libraries().libraries.push_back(Library{key, {}, 0});
    return Libraries().libraries.back();
}

// ---- Entry points we answer with ----

HRESULT DllGetVersionEntry(DLLVERSIONINFO* info) {
    if (!info || info->cbSize < sizeof(DLLVERSIONINFO))
        return E_INVALIDARG;
    SystemSettings settings = GetSystemSettings();
    info->dwMajorVersion = settings.comctlMajor;
    info->dwMinorVersion = settings.comctlMinor;
    info->dwBuildNumber = settings.buildNumber;
    info->dwPlatformID = 2; // DLLVER_PLATFORM_NT
    return S_OK;
}

// Only the locale's name is known here; the system's feature test looks for the entry itself.
int GetLocaleInfoExEntry(LPCWSTR, DWORD type, LPWSTR data, int size) {
    constexpr DWORD LocaleSName = 0x0000005C;
    if ((type & 0x0FFFFFFF) != LocaleSName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char16_t name[] = u"en-US";
    int needed = static_cast<int>(std::size(name));
    if (size == 0)
        return needed;
    if (!data || size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(data, name, sizeof name);
    return needed;
}

void RegisterBuiltIns() {
    LibraryTable& table = Libraries();
    if (table.builtIns)
        return;
    table.builtIns = true;
    for (const char* name : {"kernel32", "user32", "gdi32", "comctl32", "uxtheme", "shlwapi", "gdiplus",
                             "msimg32", "ole32", "oleaut32", "shell32", "advapi32", "comdlg32", "winspool"})
        AddLibrary(name);
    auto add = [](const char* library, const char* entry, FARPROC function) {
        AddLibrary(library).entries[entry] = function;
    };
    add("user32", "SetLayeredWindowAttributes", reinterpret_cast<FARPROC>(&SetLayeredWindowAttributes));
    add("user32", "GetLayeredWindowAttributes", reinterpret_cast<FARPROC>(&GetLayeredWindowAttributes));
    add("user32", "UpdateLayeredWindow", reinterpret_cast<FARPROC>(&UpdateLayeredWindow));
    for (const ThemeLibraryEntry& entry : ThemeLibraryEntries())
        add("uxtheme", entry.name, entry.function);
    add("comctl32", "DllGetVersion", reinterpret_cast<FARPROC>(&DllGetVersionEntry));
    add("shlwapi", "StrCmpLogicalW", reinterpret_cast<FARPROC>(&::StrCmpLogicalW));
    add("shell32", "SHGetFileInfoW", reinterpret_cast<FARPROC>(&::SHGetFileInfoW));
    add("kernel32", "GetLocaleInfoEx", reinterpret_cast<FARPROC>(&GetLocaleInfoExEntry));
    add("kernel32", "GetTickCount", reinterpret_cast<FARPROC>(&GetTickCount));
}

// ---- Version resources ----

struct VersionBlock {
    DWORD size;
    VS_FIXEDFILEINFO fixed;
};

bool VersionOf(StringView fileName, VS_FIXEDFILEINFO& fixed) {
    std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
    RegisterBuiltIns();
    std::string key = LibraryKey(fileName);
    if (!FindLibrary(key))
        return false;
    SystemSettings settings = GetSystemSettings();
    DWORD major = settings.majorVersion;
    DWORD minor = settings.minorVersion;
    if (key == "comctl32") {
        major = settings.comctlMajor;
        minor = settings.comctlMinor;
    }
    std::memset(&fixed, 0, sizeof fixed);
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwStrucVersion = 0x00010000;
    fixed.dwFileVersionMS = (major << 16) | minor;
    fixed.dwFileVersionLS = settings.buildNumber << 16;
    fixed.dwProductVersionMS = (settings.majorVersion << 16) | settings.minorVersion;
    fixed.dwProductVersionLS = settings.buildNumber << 16;
    fixed.dwFileOS = 0x00040004; // VOS_NT_WINDOWS32
    fixed.dwFileType = 2;        // VFT_DLL
    return true;
}

// ---- Resources ----

struct Resource {
    String type;
    String name;
    std::vector<BYTE> data;
};

struct ResourceTable {
    std::mutex lock;
    std::list<Resource> resources;
};

ResourceTable& Resources() {
    static ResourceTable table;
    return table;
}

String ResourceKey(LPCWSTR name) {
    if (IS_INTRESOURCE(name))
        return u"#" + Utf8ToString(std::to_string(reinterpret_cast<std::uintptr_t>(name)));
    String key(name);
    // "#123" names the numbered resource 123.
    if (key.size() > 1 && key[0] == u'#')
        return key;
    for (Char& c : key)
        if (c >= u'a' && c <= u'z')
            c = static_cast<Char>(c - 32);
    return key;
}

} // namespace

void RegisterResource(LPCWSTR type, LPCWSTR name, std::span<const BYTE> data) {
    ResourceTable& table = Resources();
    std::lock_guard<std::mutex> guard(table.lock);
    String typeKey = ResourceKey(type);
    String nameKey = ResourceKey(name);
    for (Resource& resource : table.resources)
        if (resource.type == typeKey && resource.name == nameKey) {
            resource.data.assign(data.begin(), data.end());
            return;
        }
    table.resources.push_back(Resource{typeKey, nameKey, std::vector<BYTE>(data.begin(), data.end())});
}

void RegisterLibraryEntry(LPCWSTR library, const char* entry, FARPROC function) {
    std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
    RegisterBuiltIns();
    AddLibrary(LibraryKey(library)).entries[entry] = function;
}

} // namespace win32

using namespace win32;

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
    RegisterBuiltIns();
    Library* library = FindLibrary(LibraryKey(fileName));
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++library->loads;
    return reinterpret_cast<HMODULE>(library);
}

BOOL FreeLibrary(HMODULE module) {
    std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
    Library* library = FindLibrary(module);
    if (!library) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (library->loads > 0)
        --library->loads;
    return TRUE;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    if (!moduleName)
        return ProgramModule();
    std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
    RegisterBuiltIns();
    Library* library = FindLibrary(LibraryKey(moduleName));
    if (!library) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HMODULE>(library);
}

FARPROC GetProcAddress(HMODULE module, const char* procName) {
    std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
    RegisterBuiltIns();
    Library* library = FindLibrary(module);
    if (!library || !procName || (reinterpret_cast<std::uintptr_t>(procName) >> 16) == 0) {
        SetLastError(library ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto it = library->entries.find(procName);
    if (it == library->entries.end()) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return it->second;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    if (!fileName || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    String path;
    if (!module || module == ProgramModule()) {
        std::error_code error;
        std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
        path = Utf8ToString(error ? std::string("zelmor") : program.string());
    } else {
        std::lock_guard<std::recursive_mutex> guard(Libraries().lock);
        Library* library = FindLibrary(module);
        if (!library) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return 0;
        }
        path = u"C:\\Windows\\system32\\" + Utf8ToString(library->name) + u".dll";
    }
    DWORD count = std::min<DWORD>(static_cast<DWORD>(path.size()), size - 1);
    std::memcpy(fileName, path.data(), count * sizeof(WCHAR));
    fileName[count] = 0;
    if (count < path.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    return count;
}

DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle) {
    if (handle)
        *handle = 0;
    VS_FIXEDFILEINFO fixed;
    if (!fileName || !VersionOf(fileName, fixed)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return 0;
    }
    return sizeof(VersionBlock);
}

BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD, DWORD length, LPVOID data) {
    VersionBlock block{};
    if (!fileName || !data || !VersionOf(fileName, block.fixed)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    if (length < sizeof block) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    block.size = sizeof block;
    std::memcpy(data, &block, sizeof block);
    return TRUE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, UINT* length) {
    if (!block || !subBlock || !buffer || String(subBlock) != u"\\") {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    auto* version = static_cast<const VersionBlock*>(block);
    *buffer = const_cast<VS_FIXEDFILEINFO*>(&version->fixed);
    if (length)
        *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}

HRSRC FindResourceW(HMODULE, LPCWSTR name, LPCWSTR type) {
    if (!name || !type) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ResourceTable& table = Resources();
    std::lock_guard<std::mutex> guard(table.lock);
    String typeKey = ResourceKey(type);
    String nameKey = ResourceKey(name);
    bool typeFound = false;
    for (Resource& resource : table.resources) {
        if (resource.type != typeKey)
            continue;
        typeFound = true;
        if (resource.name == nameKey)
            return reinterpret_cast<HRSRC>(&resource);
    }
    SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return reinterpret_cast<Resource*>(resource)->data.data();
}

LPVOID LockResource(HGLOBAL resource) {
    return resource;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    if (!resource) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(reinterpret_cast<Resource*>(resource)->data.size());
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}
