// A second process for the registry's tests: writes count REG_DWORD values named <prefix><n> into
// HKEY_CURRENT_USER\Software\Race of the hive in folder, one call each.
//   registry_writer FOLDER PREFIX COUNT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/rtl/UString.h"
#include "platform/win32/registry.h"
#include "platform/win32/winerror.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: registry_writer FOLDER PREFIX COUNT\n");
        return 2;
    }
    win32::SetRegistryFolder(argv[1]);
    const String prefix = Utf8ToString(argv[2]);
    const int count = std::atoi(argv[3]);
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Race", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (int i = 0; i < count && status == ERROR_SUCCESS; ++i) {
        String name = prefix + Utf8ToString(std::to_string(i));
        DWORD value = static_cast<DWORD>(i);
        status = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                sizeof value);
    }
    if (status != ERROR_SUCCESS) {
        std::fprintf(stderr, "registry_writer: error %d\n", static_cast<int>(status));
        return 1;
    }
    RegCloseKey(key);
    return 0;
}
