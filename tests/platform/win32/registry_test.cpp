// The Win32 registry calls: buffers and sizes, enumeration, rights and error codes, notification,
// the hives' files, and the serial ports under HKEY_LOCAL_MACHINE.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

#include "platform/backend/devices.h"
#include "platform/rtl/UString.h"
#include "platform/win32/registry.h"
#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"
#include "tests/support/TestSupport.h"

namespace {

HKEY Create(HKEY parent, const Char* path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(
        RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr),
        ERROR_SUCCESS)
        << StringToUtf8(path);
    return key;
}

HKEY Open(HKEY parent, const Char* path, REGSAM access) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(parent, path, 0, access, &key), ERROR_SUCCESS) << StringToUtf8(path);
    return key;
}

LONG SetDword(HKEY key, const Char* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

LONG SetText(HKEY key, const Char* name, StringView text) {
    String copy(text);
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(copy.c_str()),
                          static_cast<DWORD>((copy.size() + 1) * sizeof(Char)));
}

class Registry : public testing::Test {
protected:
    void SetUp() override {
        FFolder =
            testing_support::MakeTestFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
        win32::SetRegistryFolder(FFolder);
    }
    void TearDown() override { win32::SetRegistryFolder(std::string()); }

    std::string FFolder;
};

TEST_F(Registry, QueryValueReportsSizesAndShortBuffers) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Zelmor");
    ASSERT_EQ(SetText(key, u"Name", u"abc"), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"name", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 8u) << "three characters and the terminating null";

    Char buffer[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
    size = 4;
    type = 0;
    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(type, REG_SZ);
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(String(buffer, 4), String(u"abc\0", 4));
    EXPECT_EQ(buffer[4], u'x') << "nothing past the data is touched";

    EXPECT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(SetDword(key, u"", 7), ERROR_SUCCESS);
    DWORD value = 0;
    size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS)
        << "a null name is the default value, as the empty one";
    EXPECT_EQ(value, 7u);
    RegCloseKey(key);
}

TEST_F(Registry, EnumeratesKeysByNameAndValuesInCreationOrder) {
    HKEY key = Create(HKEY_CURRENT_USER, u"List");
    for (const Char* name : {u"beta", u"Alpha", u"gamma"})
        RegCloseKey(Create(key, name));
    SetDword(key, u"zulu", 1);
    SetText(key, u"a", u"longer text");

    Char name[16];
    DWORD length = 16;
    EXPECT_EQ(RegEnumKeyExW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(String(name), u"Alpha");
    EXPECT_EQ(length, 5u);
    length = 5; // no room for the null
    EXPECT_EQ(RegEnumKeyExW(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(length, 5u);
    length = 6;
    EXPECT_EQ(RegEnumKeyExW(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(String(name), u"gamma");
    length = 16;
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    DWORD type = 0;
    BYTE data[8];
    DWORD size = sizeof data;
    length = 16;
    EXPECT_EQ(RegEnumValueW(key, 0, name, &length, nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(String(name), u"zulu");
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    length = 16;
    size = sizeof data;
    EXPECT_EQ(RegEnumValueW(key, 1, name, &length, nullptr, &type, data, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 24u);
    EXPECT_EQ(String(name), u"a");
    length = 16;
    EXPECT_EQ(RegEnumValueW(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxValue = 0;
    FILETIME lastWrite{};
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                               &maxValueName, &maxValue, nullptr, &lastWrite),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 3u);
    EXPECT_EQ(maxSubKey, 5u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxValueName, 4u);
    EXPECT_EQ(maxValue, 24u);
    EXPECT_NE(lastWrite.dwHighDateTime, 0u);
    RegCloseKey(key);
}

TEST_F(Registry, RightsHandlesAndDeletedKeysGiveWin32Errors) {
    HKEY writable = Create(HKEY_CURRENT_USER, u"Rights");
    RegCloseKey(Create(writable, u"Child"));
    SetDword(writable, u"v", 1);
    HKEY readOnly = Open(HKEY_CURRENT_USER, u"RIGHTS", KEY_READ);
    HKEY writeOnly = Open(HKEY_CURRENT_USER, u"Rights", KEY_WRITE);
    HKEY result = nullptr;
    DWORD size = 0;

    EXPECT_EQ(SetDword(readOnly, u"v", 2), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteValueW(readOnly, u"v"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyW(readOnly, u"Child"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyExW(readOnly, u"New", 0, nullptr, 0, KEY_READ, nullptr, &result, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(result, nullptr);
    DWORD disposition = 0;
    EXPECT_EQ(RegCreateKeyExW(readOnly, u"Child", 0, nullptr, 0, KEY_READ, nullptr, &result, &disposition),
              ERROR_SUCCESS)
        << "opening an existing key changes nothing";
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(result);
    EXPECT_EQ(RegQueryValueExW(writeOnly, u"v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueExW(readOnly, u"v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);

    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Rights\\Missing", 0, KEY_READ, &result),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Missing\\Rights", 0, KEY_READ, &result),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(writable, u"Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Rights"), ERROR_ACCESS_DENIED) << "it has a subkey";

    // Deleting through one handle leaves the others on a deleted key.
    HKEY child = Open(writable, u"Child", KEY_ALL_ACCESS);
    EXPECT_EQ(RegDeleteKeyW(child, u""), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(child, u"v", 1), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Rights"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(readOnly, u"v", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);

    EXPECT_EQ(RegCloseKey(readOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(readOnly), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(readOnly, u"v", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS) << "predefined keys never close";
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(event)), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(CloseHandle(event));
    EXPECT_EQ(RegOpenKeyExW(nullptr, u"x", 0, KEY_READ, &result), ERROR_INVALID_HANDLE);
    RegCloseKey(writable);
    RegCloseKey(writeOnly);
}

TEST_F(Registry, HivesLiveInTheirFiles) {
    HKEY user = Create(HKEY_CURRENT_USER, u"Software\\Zelmor");
    HKEY machine = Create(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Zelmor");
    ASSERT_EQ(SetDword(user, u"Where", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(machine, u"Where", 2), ERROR_SUCCESS);
    RegCloseKey(user);
    RegCloseKey(machine);

    win32::SetRegistryFolder(FFolder); // fresh stores, read from disk
    DWORD value = 0;
    DWORD size = sizeof value;
    HKEY key = Open(HKEY_CURRENT_USER, u"Software\\Zelmor", KEY_READ);
    EXPECT_EQ(RegQueryValueExW(key, u"Where", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    RegCloseKey(key);
    key = Open(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Zelmor", KEY_READ);
    EXPECT_EQ(RegQueryValueExW(key, u"Where", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 2u);
    RegCloseKey(key);
    EXPECT_TRUE(std::filesystem::exists(FFolder + "/user.reg"));
    EXPECT_TRUE(std::filesystem::exists(FFolder + "/machine.reg"));

    for (HKEY hive : {HKEY_USERS, HKEY_CLASSES_ROOT}) {
        HKEY result = nullptr;
        EXPECT_EQ(RegOpenKeyExW(hive, u"Anything", 0, KEY_READ, &result), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(
            RegCreateKeyExW(hive, u"Anything", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &result, nullptr),
            ERROR_ACCESS_DENIED);
        EXPECT_EQ(SetDword(hive, u"v", 1), ERROR_ACCESS_DENIED);
    }
}

TEST_F(Registry, ThreadsWritingAtOnceLoseNothing) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([key, t] {
            for (int i = 0; i < 20; ++i) {
                String name = Utf8ToString("t" + std::to_string(t) + "-" + std::to_string(i));
                EXPECT_EQ(SetDword(key, name.c_str(), static_cast<DWORD>(t * 100 + i)), ERROR_SUCCESS);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    RegCloseKey(key);

    win32::SetRegistryFolder(FFolder); // what reached the disk
    key = Open(HKEY_CURRENT_USER, u"Threads", KEY_READ);
    DWORD values = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 80u);
    DWORD value = 0;
    DWORD size = sizeof value;
    EXPECT_EQ(RegQueryValueExW(key, u"t3-19", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 319u);
    RegCloseKey(key);
}

struct NotifyCase {
    const char* name;
    BOOL subtree;
    DWORD filter;
    void (*change)(HKEY watched, HKEY child);
    bool signalled;
};

class RegistryNotify : public Registry, public testing::WithParamInterface<NotifyCase> {};

TEST_P(RegistryNotify, SignalsOnceForTheChangesTheFilterSelects) {
    const NotifyCase& c = GetParam();
    HKEY watched = Create(HKEY_CURRENT_USER, u"Watched");
    HKEY child = Create(watched, u"Child");
    SetDword(watched, u"existing", 1);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_EQ(RegNotifyChangeKeyValue(watched, c.subtree, c.filter, event, TRUE), ERROR_SUCCESS);
    c.change(watched, child);
    EXPECT_EQ(WaitForSingleObject(event, 0), c.signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
    if (c.signalled) {
        // The registration ended with the signal.
        ResetEvent(event);
        SetDword(watched, u"again", 1);
        HKEY again = nullptr;
        if (RegCreateKeyExW(watched, u"Again", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &again, nullptr) ==
            ERROR_SUCCESS)
            RegCloseKey(again);
        EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    }
    RegCloseKey(child);
    RegCloseKey(watched);
    CloseHandle(event);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, RegistryNotify,
    testing::Values(
        NotifyCase{"ValueSetOnTheKey", FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                   [](HKEY watched, HKEY) { SetDword(watched, u"v", 1); }, true},
        NotifyCase{"ValueDeletedOnTheKey", FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                   [](HKEY watched, HKEY) { RegDeleteValueW(watched, u"existing"); }, true},
        NotifyCase{"NameFilterIgnoresValues", FALSE, REG_NOTIFY_CHANGE_NAME,
                   [](HKEY watched, HKEY) { SetDword(watched, u"v", 1); }, false},
        NotifyCase{"SubkeyCreated", FALSE, REG_NOTIFY_CHANGE_NAME,
                   [](HKEY watched, HKEY) { RegCloseKey(Create(watched, u"New")); }, true},
        NotifyCase{"SubkeyDeleted", FALSE, REG_NOTIFY_CHANGE_NAME,
                   [](HKEY watched, HKEY) { RegDeleteKeyW(watched, u"Child"); }, true},
        NotifyCase{"ChildValueNotWatched", FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                   [](HKEY, HKEY child) { SetDword(child, u"v", 1); }, false},
        NotifyCase{"ChildValueInWatchedSubtree", TRUE, REG_NOTIFY_CHANGE_LAST_SET,
                   [](HKEY, HKEY child) { SetDword(child, u"v", 1); }, true},
        NotifyCase{"GrandchildCreatedInWatchedSubtree", TRUE, REG_NOTIFY_CHANGE_NAME,
                   [](HKEY, HKEY child) { RegCloseKey(Create(child, u"Grandchild")); }, true},
        NotifyCase{"OtherKeyChanged", TRUE, REG_LEGAL_CHANGE_FILTER,
                   [](HKEY, HKEY) { RegCloseKey(Create(HKEY_CURRENT_USER, u"Elsewhere")); }, false},
        NotifyCase{"WatchedKeyDeleted", FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                   [](HKEY watched, HKEY) {
                       RegDeleteKeyW(watched, u"Child");
                       RegDeleteKeyW(watched, u"");
                   },
                   true},
        NotifyCase{"WatchedHandleClosed", FALSE, REG_NOTIFY_CHANGE_LAST_SET,
                   [](HKEY watched, HKEY) { RegCloseKey(Open(HKEY_CURRENT_USER, u"Watched", KEY_READ)); },
                   false}),
    [](const testing::TestParamInfo<NotifyCase>& info) { return info.param.name; });

TEST_F(Registry, ClosingTheWatchedHandleSignalsAndBadArgumentsFail) {
    HKEY watched = Create(HKEY_CURRENT_USER, u"Watched");
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(RegNotifyChangeKeyValue(watched, FALSE, 0, event, TRUE), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegNotifyChangeKeyValue(watched, FALSE, 0x100, event, TRUE), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegNotifyChangeKeyValue(watched, FALSE, REG_NOTIFY_CHANGE_NAME, nullptr, TRUE),
              ERROR_INVALID_PARAMETER);
    HKEY readOnly = Open(HKEY_CURRENT_USER, u"Watched", KEY_QUERY_VALUE);
    EXPECT_EQ(RegNotifyChangeKeyValue(readOnly, FALSE, REG_NOTIFY_CHANGE_NAME, event, TRUE),
              ERROR_ACCESS_DENIED);
    RegCloseKey(readOnly);

    ASSERT_EQ(RegNotifyChangeKeyValue(watched, FALSE, REG_NOTIFY_CHANGE_NAME, event, TRUE), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    RegCloseKey(watched);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    CloseHandle(event);
}

TEST_F(Registry, SynchronousNotificationWaitsForTheChange) {
    HKEY watched = Create(HKEY_CURRENT_USER, u"Watched");
    std::atomic<bool> done{false};
    std::atomic<LONG> result{-1};
    std::thread watcher([&] {
        result = RegNotifyChangeKeyValue(watched, FALSE, REG_NOTIFY_CHANGE_LAST_SET, nullptr, FALSE);
        done = true;
    });
    // The watcher registers at some point after it starts: change until it has seen one.
    for (DWORD n = 0; !done; ++n) {
        SetDword(watched, u"v", n);
        std::this_thread::yield();
    }
    watcher.join();
    EXPECT_EQ(result.load(), ERROR_SUCCESS);
    RegCloseKey(watched);
}

TEST_F(Registry, SerialPortsAreListedReadOnly) {
    HKEY key = Open(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", KEY_READ);
    std::vector<String> ports;
    Char name[256];
    Char data[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        DWORD size = sizeof data;
        DWORD type = 0;
        LONG status =
            RegEnumValueW(key, i, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(type, REG_SZ);
        EXPECT_EQ(String(name), u"\\Device\\" + String(data));
        ports.emplace_back(data);
    }
    std::vector<String> expected;
    for (const std::string& device : backend::ListSerialDevices())
        expected.push_back(Utf8ToString(device));
    EXPECT_EQ(ports, expected);

    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_ACCESS_DENIED);
    HKEY result = nullptr;
    EXPECT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_ALL_ACCESS, &result),
        ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(Registry, SerialDevicesAreRealPortsOnly) {
    // A copy of the tty class's layout: a port has a device behind it, and a serial-core port whose
    // UART is missing says type 0.
    namespace fs = std::filesystem;
    const fs::path classFolder = fs::path(FFolder) / "tty";
    auto port = [&](const char* name, const char* type) {
        fs::create_directories(classFolder / name / "device");
        if (type)
            std::ofstream(classFolder / name / "type") << type << "\n";
    };
    port("ttyUSB10", nullptr);
    port("ttyUSB2", nullptr);
    port("ttyACM0", nullptr);
    port("ttyS0", "4");
    port("ttyS1", "0");
    port("ttyAMA0", "91");
    fs::create_directories(classFolder / "tty0"); // a console: no device
    fs::create_directories(classFolder / "ptmx");
    EXPECT_EQ(backend::ListSerialDevices(classFolder.string()),
              (std::vector<std::string>{"ttyACM0", "ttyAMA0", "ttyS0", "ttyUSB2", "ttyUSB10"}));
    EXPECT_TRUE(backend::ListSerialDevices((classFolder / "missing").string()).empty());
}

} // namespace
