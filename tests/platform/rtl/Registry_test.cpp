// TRegistry: the current key and its path, typed values through the file, the framework's errors, and
// the key and value lists; TRegistryIniFile, sections as subkeys of a key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/devices.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

namespace {

// The message of the ERegistryException that f raises.
template <class F> std::string Raised(F f) {
    try {
        f();
    } catch (const ERegistryException& e) {
        return StringToUtf8(e.Message());
    }
    return "nothing raised";
}

std::vector<String> Lines(const TStrings& strings) {
    std::vector<String> lines;
    for (Integer i = 0; i < strings.Count(); ++i)
        lines.push_back(strings.Strings(i));
    return lines;
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

TEST_F(Registry, OpensKeysRelativeToTheCurrentOneUnlessRooted) {
    TRegistry reg;
    EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(reg.Access(), KEY_ALL_ACCESS);
    EXPECT_FALSE(reg.OpenKey(u"Software\\Zelmor", false));
    EXPECT_EQ(reg.CurrentKey(), nullptr);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Zelmor", true));
    EXPECT_EQ(reg.CurrentPath(), u"Software\\Zelmor");
    ASSERT_TRUE(reg.OpenKey(u"Ports", true));
    EXPECT_EQ(reg.CurrentPath(), u"Software\\Zelmor\\Ports");
    EXPECT_FALSE(reg.OpenKey(u"Missing", false));
    EXPECT_EQ(reg.CurrentPath(), u"Software\\Zelmor\\Ports") << "a failed open keeps the current key";
    ASSERT_TRUE(reg.OpenKey(u"\\Software", false));
    EXPECT_EQ(reg.CurrentPath(), u"Software");
    EXPECT_TRUE(reg.KeyExists(u"Zelmor\\Ports"));
    EXPECT_TRUE(reg.KeyExists(u"\\Software\\Zelmor"));
    EXPECT_FALSE(reg.KeyExists(u"Ports"));
    EXPECT_TRUE(reg.HasSubKeys());

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.CurrentKey(), nullptr) << "changing the root closes the key";
    EXPECT_EQ(reg.CurrentPath(), u"");
    EXPECT_FALSE(reg.KeyExists(u"Software\\Zelmor"));
}

TEST_F(Registry, TypedValuesRoundTripThroughTheFile) {
    const BYTE bytes[5] = {0, 1, 2, 0xFE, 0xFF};
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Software\\Zelmor", true));
        reg.WriteString(u"Port", u"ttyUSB0 — ключ \"1\"\r\n");
        reg.WriteExpandString(u"Log", u"%HOME%\\zelmor.log");
        reg.WriteInteger(u"Baud", -115200);
        reg.WriteBool(u"Enabled", true);
        reg.WriteFloat(u"Scale", 2.5);
        reg.WriteBinaryData(u"Raw", bytes, sizeof bytes);
        reg.WriteString(u"Empty", u"");
    }
    win32::SetRegistryFolder(FFolder); // read back from disk
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Zelmor"));
    EXPECT_EQ(reg.Access(), KEY_READ);
    EXPECT_EQ(reg.ReadString(u"port"), u"ttyUSB0 — ключ \"1\"\r\n");
    EXPECT_EQ(reg.ReadString(u"Log"), u"%HOME%\\zelmor.log");
    EXPECT_EQ(reg.ReadInteger(u"Baud"), -115200);
    EXPECT_TRUE(reg.ReadBool(u"Enabled"));
    EXPECT_EQ(reg.ReadFloat(u"Scale"), 2.5);
    BYTE buffer[8] = {};
    EXPECT_EQ(reg.ReadBinaryData(u"Raw", buffer, sizeof buffer), 5);
    EXPECT_EQ(std::vector<BYTE>(buffer, buffer + 5), std::vector<BYTE>(bytes, bytes + 5));
    EXPECT_EQ(reg.ReadString(u"Empty"), u"");
    EXPECT_EQ(reg.ReadString(u"Missing"), u"");
    EXPECT_EQ(reg.ReadBinaryData(u"Missing", buffer, sizeof buffer), 0);

    EXPECT_EQ(reg.GetDataType(u"Port"), rdString);
    EXPECT_EQ(reg.GetDataType(u"Log"), rdExpandString);
    EXPECT_EQ(reg.GetDataType(u"Baud"), rdInteger);
    EXPECT_EQ(reg.GetDataType(u"Raw"), rdBinary);
    EXPECT_EQ(reg.GetDataType(u"Missing"), rdUnknown);
    EXPECT_EQ(reg.GetDataSize(u"Baud"), 4);
    EXPECT_EQ(reg.GetDataSize(u"Empty"), 2);
    EXPECT_EQ(reg.GetDataSize(u"Missing"), -1);
    TRegDataInfo info{rdBinary, 99};
    EXPECT_FALSE(reg.GetDataInfo(u"Missing", info));
    EXPECT_EQ(info.RegData, rdUnknown);
    EXPECT_EQ(info.DataSize, 0);
    EXPECT_TRUE(reg.ValueExists(u"BAUD"));
    EXPECT_FALSE(reg.ValueExists(u"Missing"));
}

TEST_F(Registry, WrongTypesAndRefusedWritesRaiseTheFrameworksTexts) {
    TRegistry reg;
    EXPECT_EQ(Raised([&] { reg.WriteString(u"Port", u"x"); }), "Failed to set data for 'Port'")
        << "no key open";
    ASSERT_TRUE(reg.OpenKey(u"Software\\Zelmor", true));
    reg.WriteString(u"Short", u"1");
    reg.WriteString(u"Long", u"115200");
    reg.WriteInteger(u"Number", 42);
    const BYTE bytes[16] = {};
    reg.WriteBinaryData(u"Raw", bytes, sizeof bytes);

    EXPECT_EQ(Raised([&] { reg.ReadInteger(u"Missing"); }), "Failed to get data for 'Missing'");
    EXPECT_EQ(Raised([&] { reg.ReadInteger(u"Short"); }), "Invalid data type for 'Short'");
    EXPECT_EQ(Raised([&] { reg.ReadInteger(u"Long"); }), "Invalid data type for 'Long'");
    EXPECT_EQ(Raised([&] { reg.ReadBool(u"Long"); }), "Invalid data type for 'Long'");
    EXPECT_EQ(Raised([&] { reg.ReadString(u"Number"); }), "Invalid data type for 'Number'");
    EXPECT_EQ(Raised([&] { reg.ReadFloat(u"Number"); }), "Invalid data type for 'Number'");
    EXPECT_EQ(Raised([&] { reg.ReadFloat(u"Missing"); }), "Failed to get data for 'Missing'");
    BYTE small[8];
    EXPECT_EQ(Raised([&] { reg.ReadBinaryData(u"Raw", small, sizeof small); }),
              "Invalid data type for 'Raw'");
    EXPECT_EQ(Raised([&] { reg.ReadBinaryData(u"Number", small, sizeof small); }),
              "Invalid data type for 'Number'");

    ASSERT_TRUE(reg.OpenKeyReadOnly(u"\\Software\\Zelmor"));
    EXPECT_EQ(Raised([&] { reg.WriteInteger(u"Number", 1); }), "Failed to set data for 'Number'");
    EXPECT_EQ(Raised([&] { reg.CreateKey(u"New"); }), "Failed to create key New");
    EXPECT_FALSE(reg.DeleteValue(u"Number"));
    EXPECT_EQ(reg.ReadInteger(u"Number"), 42);
}

TEST_F(Registry, ListsAndDeletesKeysWithTheirSubkeys) {
    TRegistry reg;
    EXPECT_TRUE(reg.CreateKey(u"Software\\Zelmor\\b\\deep\\deeper"));
    EXPECT_TRUE(reg.CreateKey(u"Software\\Zelmor\\A"));
    EXPECT_TRUE(reg.CreateKey(u"Software\\Zelmor\\c"));
    EXPECT_EQ(reg.CurrentKey(), nullptr) << "CreateKey does not open the key";
    ASSERT_TRUE(reg.OpenKey(u"Software\\Zelmor", false));
    reg.WriteInteger(u"second", 2);
    reg.WriteInteger(u"First", 1);

    TStringList names;
    names.Add(u"stale");
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), (std::vector<String>{u"A", u"b", u"c"}));
    reg.GetValueNames(&names);
    EXPECT_EQ(Lines(names), (std::vector<String>{u"second", u"First"}));

    EXPECT_TRUE(reg.DeleteKey(u"B"));
    EXPECT_FALSE(reg.KeyExists(u"b"));
    EXPECT_FALSE(reg.DeleteKey(u"b")) << "already gone";
    EXPECT_TRUE(reg.DeleteValue(u"second"));
    reg.GetKeyNames(&names);
    EXPECT_EQ(Lines(names), (std::vector<String>{u"A", u"c"}));
    EXPECT_TRUE(reg.DeleteKey(u"\\Software"));
    EXPECT_FALSE(reg.HasSubKeys()) << "the current key went with it";
    reg.CloseKey();
    EXPECT_FALSE(reg.KeyExists(u"Software"));
}

TEST_F(Registry, ReadsTheSerialPortsAsTheComponentDoes) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey(u"HARDWARE\\DEVICEMAP\\SERIALCOMM", false)) << "not with write access";
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"HARDWARE\\DEVICEMAP\\SERIALCOMM"));
    TStringList names;
    reg.GetValueNames(&names);
    std::vector<String> ports;
    for (const String& name : Lines(names))
        ports.push_back(reg.ReadString(name));
    std::vector<String> expected;
    for (const std::string& device : backend::ListSerialDevices())
        expected.push_back(Utf8ToString(device));
    EXPECT_EQ(ports, expected);
}

} // namespace

TEST_F(Registry, AnIniFileKeepsSectionsAsSubkeysOfItsKey) {
    TRegistryIniFile ini(u"Software\\Zelmor\\Panels");
    ini.WriteInteger(u"Module1", u"Top", 12);
    ini.WriteInteger(u"Module1", u"Collaps", -1);
    ini.WriteString(u"Module1", u"Text", u"42");
    ini.WriteString(u"Module1", u"Name", u"M1");
    ini.WriteInteger(u"Log", u"Height", 300);
    EXPECT_EQ(ini.RegIniFile().CurrentPath(), u"Software\\Zelmor\\Panels") << "writes keep the file's key";

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(u"Software\\Zelmor\\Panels\\Module1", false));
    EXPECT_EQ(reg.GetDataType(u"Top"), rdInteger);
    EXPECT_EQ(reg.ReadInteger(u"Collaps"), -1);
    EXPECT_EQ(reg.GetDataType(u"Name"), rdString);

    struct Case {
        const char* what;
        const char16_t* section;
        const char16_t* ident;
        Integer integer;      // ReadInteger with default 7
        const char16_t* text; // ReadString with default "d"
    };
    for (const Case& c : {Case{"integer", u"Module1", u"Top", 12, u"12"},
                          Case{"negative integer", u"Module1", u"Collaps", -1, u"-1"},
                          Case{"number stored as text", u"Module1", u"Text", 42, u"42"},
                          Case{"text that is no number", u"Module1", u"Name", 7, u"M1"},
                          Case{"missing value", u"Module1", u"Width", 7, u"d"},
                          Case{"missing section", u"Module2", u"Top", 7, u"d"}}) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ini.ReadInteger(c.section, c.ident, 7), c.integer);
        EXPECT_EQ(ini.ReadString(c.section, c.ident, u"d"), c.text);
    }
    EXPECT_FALSE(reg.KeyExists(u"\\Software\\Zelmor\\Panels\\Module2")) << "a read creates nothing";

    TStringList list;
    ini.ReadSections(list);
    list.Sort();
    EXPECT_EQ(Lines(list), (std::vector<String>{u"Log", u"Module1"}));
    ini.ReadSectionValues(u"Log", list);
    EXPECT_EQ(Lines(list), (std::vector<String>{u"Height=300"}));
    EXPECT_TRUE(ini.ValueExists(u"Module1", u"Name"));
    EXPECT_FALSE(ini.ValueExists(u"Module2", u"Name"));

    ini.DeleteKey(u"Module1", u"Name");
    EXPECT_FALSE(ini.ValueExists(u"Module1", u"Name"));
    ini.EraseSection(u"Log");
    EXPECT_FALSE(ini.SectionExists(u"Log"));
    EXPECT_TRUE(ini.SectionExists(u"Module1"));

    // Another file on the same key sees what was written; one opened for reading cannot add sections,
    // and its refused write lands nowhere else.
    TRegistryIniFile again(u"Software\\Zelmor\\Panels", KEY_READ);
    EXPECT_EQ(again.ReadInteger(u"Module1", u"Top", 0), 12);
    EXPECT_EQ(Raised([&] { again.WriteInteger(u"New", u"Top", 1); }), "Failed to create key New");
    EXPECT_EQ(Raised([&] { again.WriteInteger(u"Module1", u"Top", 1); }), "Failed to set data for 'Top'");
    EXPECT_EQ(again.ReadInteger(u"Module1", u"Top", 0), 12);
    EXPECT_FALSE(reg.KeyExists(u"\\New"));
    EXPECT_FALSE(reg.KeyExists(u"\\Software\\Zelmor\\Panels\\New"));
}
