// Tests of the management query server over a fixture folder standing in for the system.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/framework/ComObj.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Management.h"
#include "platform/servers/Servers.h"
#include "tests/support/TestSupport.h"

namespace {

class ManagementServerTest : public testing::Test {
protected:
    void SetUp() override {
        servers::RegisterServers();
        root = testing_support::MakeTestFolder("management-server");
        servers::SetManagementSystemRoot(root);
    }
    void TearDown() override { servers::SetManagementSystemRoot("/"); }

    void WriteFile(const std::string& name, const std::string& text) const {
        const std::filesystem::path path = std::filesystem::path(root) / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }
    static Variant Query(const String& query = u"SELECT * FROM WiFi_AdapterAssociationInfo") {
        const Variant services = CreateOleObject(u"WbemScripting.SWbemLocator")
                                     .Call(u"ConnectServer", {String(u"localhost"), String(u"root\\CIMV2")});
        return services.Call(u"ExecQuery", {query, String(u"WQL"), Integer(32)});
    }

    std::string root;
};

// Interfaces with a wireless folder and those the wireless list names are adapters, each once, in the
// order of their names; a wired interface is not.
TEST_F(ManagementServerTest, TheAdaptersAreTheWirelessInterfaces) {
    WriteFile("sys/class/net/wlan0/wireless/.keep", "");
    WriteFile("sys/class/net/wlan0/operstate", "up\n");
    WriteFile("sys/class/net/eth0/operstate", "up\n");
    WriteFile("proc/net/wireless", "Inter-| sta-|   Quality        |   Discarded packets\n"
                                   " face | tus | link level noise |  nwid  crypt   frag\n"
                                   "wlp2s0: 0000   54.  -56.  -256        0      0      0\n"
                                   " wlan0: 0000   70.  -40.  -256        0      0      0\n");
    const Variant objects = Query(u"select  *  from wifi_adapterassociationinfo");
    ASSERT_EQ(objects.Get(u"Count").AsInteger(), 2);
    const Variant first = objects.Call(u"ItemIndex", {Integer(0)});
    EXPECT_EQ(first.Get(u"Caption").AsString(), u"wlan0");
    EXPECT_EQ(first.Get(u"Description").AsString(), u"wlan0");
    EXPECT_EQ(first.Get(u"SettingID").AsString(), u"wlan0");
    EXPECT_TRUE(first.Get(u"Associated").AsBoolean());
    EXPECT_TRUE(first.Get(u"SSID").IsNull()) << "nothing in the system files tells it";
    const Variant second = objects.Call(u"ItemIndex", {Integer(1)});
    EXPECT_EQ(second.Get(u"Caption").AsString(), u"wlp2s0");
    EXPECT_FALSE(second.Get(u"Associated").AsBoolean()) << "no operstate: not up";
    EXPECT_THROW(objects.Call(u"ItemIndex", {Integer(2)}), EOleException);
}

TEST_F(ManagementServerTest, NoInterfacesNoObjects) {
    EXPECT_EQ(Query().Get(u"Count").AsInteger(), 0);
    WriteFile("sys/class/net/eth0/operstate", "up\n");
    WriteFile("proc/net/wireless", "Inter-| sta-|\n face | tus |\n");
    EXPECT_EQ(Query().Get(u"Count").AsInteger(), 0);
}

TEST_F(ManagementServerTest, OtherNamespacesLanguagesAndClassesAreRefused) {
    const Variant locator = CreateOleObject(u"WbemScripting.SWbemLocator");
    EXPECT_THROW(locator.Call(u"ConnectServer", {String(u"."), String(u"root\\default")}), EOleException);
    EXPECT_THROW(locator.Call(u"ConnectServer", {String(u"far-host"), String(u"root\\CIMV2")}),
                 EOleException);
    const Variant services = locator.Call(u"ConnectServer", {String(u""), String(u"ROOT\\cimv2")});
    EXPECT_THROW(
        services.Call(u"ExecQuery", {String(u"SELECT * FROM WiFi_AdapterAssociationInfo"), String(u"SQL")}),
        EOleException);
    EXPECT_THROW(Query(u"SELECT * FROM Win32_Process"), EOleException);
    EXPECT_THROW(Query(u"DELETE FROM WiFi_AdapterAssociationInfo"), EOleException);
}

} // namespace
