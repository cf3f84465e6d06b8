// One fuzz input of the registry's file, shared by the fuzz target and the test that replays its kept
// crash inputs: the bytes are read as a hive's file, what was read must write and read back as itself,
// and a file that reads is then opened by a store, walked through its calls, changed and reopened.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/UString.h"
#include "platform/win32/regfile.h"
#include "platform/win32/regstore.h"
#include "platform/win32/winerror.h"

namespace registry_fuzz {

// Every value and key below key, one line each, in the store's enumeration order; false when a key the
// store enumerates does not open or a value it enumerates cannot be queried by its name.
inline bool Dump(win32::RegistryStore& store, win32::RegKeyId key, const std::string& path,
                 std::string& out) {
    String name;
    DWORD type = 0;
    std::vector<BYTE> data;
    for (DWORD i = 0; store.EnumValue(key, i, name, type, data) == ERROR_SUCCESS; ++i) {
        out += path + " \"" + StringToUtf8(name) + "\" " + std::to_string(type) + " " +
               std::to_string(data.size()) + "\n";
        DWORD queriedType = 0;
        std::vector<BYTE> queried;
        if (store.QueryValue(key, name, queriedType, queried) != ERROR_SUCCESS || queriedType != type ||
            queried != data)
            return false;
    }
    win32::RegKeyInfo info;
    if (store.QueryInfo(key, info) != ERROR_SUCCESS)
        return false;
    ULONGLONG lastWrite = 0;
    for (DWORD i = 0; store.EnumKey(key, i, name, lastWrite) == ERROR_SUCCESS; ++i) {
        win32::RegKeyId child = 0;
        if (store.OpenKey(key, name, false, child) != ERROR_SUCCESS)
            return false;
        std::string childPath = path + "\\" + StringToUtf8(name);
        out += childPath + "\n";
        if (!Dump(store, child, childPath, out))
            return false;
    }
    return true;
}

// Reads the input; false when the reader broke one of its promises. folder is an empty folder the
// store's file may be written in; it is emptied again before the call returns.
inline bool ReadRegistryFuzzInput(const std::uint8_t* data, std::size_t size, const std::string& folder) {
    using namespace win32;
    const String rootName = u"HKEY_CURRENT_USER";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    int line = 0;
    std::string what;
    std::unique_ptr<RegNode> root = ParseRegistry(bytes, rootName, line, what);
    if (!root)
        return line >= 1 && !what.empty();
    const std::string written = SerializeRegistry(*root, rootName);
    std::unique_ptr<RegNode> again = ParseRegistry(written, rootName, line, what);
    if (!again || SerializeRegistry(*again, rootName) != written)
        return false;

    // The same bytes through a store, with a synthesised subtree that hides what the file holds there.
    const std::string path = folder + "/user.reg";
    std::ofstream(path, std::ios::binary) << bytes;
    bool kept = true;
    {
        RegistryStore store(path, rootName);
        store.AddSynthesisedKey(u"HARDWARE\\DEVICEMAP", [] {
            return std::vector<std::pair<String, String>>{{u"COM1", u"ttyS0"}};
        });
        std::string before;
        kept = Dump(store, RegistryStore::kRootKey, "", before);
        // A change writes the whole file, which a second store must read as the first one sees it.
        const std::vector<BYTE> value = RegStringData(u"changed");
        if (kept && store.SetValue(RegistryStore::kRootKey, u"Fuzz", REG_SZ, value.data(), value.size()) ==
                        ERROR_SUCCESS) {
            std::string changed, reread;
            RegistryStore second(path, rootName);
            second.AddSynthesisedKey(u"HARDWARE\\DEVICEMAP", [] {
                return std::vector<std::pair<String, String>>{{u"COM1", u"ttyS0"}};
            });
            kept = Dump(store, RegistryStore::kRootKey, "", changed) &&
                   Dump(second, RegistryStore::kRootKey, "", reread) && changed == reread;
        }
    }
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        std::filesystem::remove_all(entry.path(), error);
    return kept;
}

} // namespace registry_fuzz
