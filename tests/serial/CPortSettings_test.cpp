// Storing and loading the port's settings in the registry and in an INI file: the key a path
// chooses, the texts and integers written, fallbacks for missing and unknown values, and failures.
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "tests/serial/SerialTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace serial_testing;

namespace {

const TStoredProps kAllGroups{spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers};

// Changes every stored setting away from its default.
void Configure(TCustomComPort& port) {
    port.SetPort(u"COM7");
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(250000);
    port.SetStopBits(sbOne5StopBits);
    port.SetDataBits(dbFive);
    port.Parity()->SetBits(prMark);
    port.Parity()->SetCheck(true);
    port.Parity()->SetReplace(true);
    port.Parity()->SetReplaceChar(u' ');
    port.SetEventChar(u'A');
    port.SetDiscardNull(true);
    port.Buffer()->SetInputSize(4096);
    port.Buffer()->SetOutputSize(512);
    port.Timeouts()->SetReadInterval(5);
    port.Timeouts()->SetReadTotalConstant(6);
    port.Timeouts()->SetReadTotalMultiplier(7);
    port.Timeouts()->SetWriteTotalConstant(8);
    port.Timeouts()->SetWriteTotalMultiplier(9);
    port.FlowControl()->SetControlRTS(rtsToggle);
    port.FlowControl()->SetControlDTR(dtrHandshake);
    port.FlowControl()->SetDSRSensitivity(true);
    port.FlowControl()->SetOutCTSFlow(true);
    port.FlowControl()->SetOutDSRFlow(true);
    port.FlowControl()->SetTxContinueOnXoff(true);
    port.FlowControl()->SetXonXoffIn(true);
    port.FlowControl()->SetXonChar(u'+');
    port.FlowControl()->SetXoffChar(300);
}

void ExpectConfigured(TCustomComPort& port) {
    EXPECT_EQ(port.Port(), u"COM7");
    EXPECT_EQ(port.BaudRate(), brCustom);
    EXPECT_EQ(port.CustomBaudRate(), 250000);
    EXPECT_EQ(port.StopBits(), sbOne5StopBits);
    EXPECT_EQ(port.DataBits(), dbFive);
    EXPECT_EQ(port.Parity()->Bits(), prMark);
    EXPECT_TRUE(port.Parity()->Check());
    EXPECT_TRUE(port.Parity()->Replace());
    EXPECT_EQ(port.Parity()->ReplaceChar(), u' ');
    EXPECT_EQ(port.EventChar(), u'A');
    EXPECT_TRUE(port.DiscardNull());
    EXPECT_EQ(port.Buffer()->InputSize(), 4096);
    EXPECT_EQ(port.Buffer()->OutputSize(), 512);
    EXPECT_EQ(port.Timeouts()->ReadInterval(), 5);
    EXPECT_EQ(port.Timeouts()->ReadTotalConstant(), 6);
    EXPECT_EQ(port.Timeouts()->ReadTotalMultiplier(), 7);
    EXPECT_EQ(port.Timeouts()->WriteTotalConstant(), 8);
    EXPECT_EQ(port.Timeouts()->WriteTotalMultiplier(), 9);
    EXPECT_EQ(port.FlowControl()->ControlRTS(), rtsToggle);
    EXPECT_EQ(port.FlowControl()->ControlDTR(), dtrHandshake);
    EXPECT_TRUE(port.FlowControl()->DSRSensitivity());
    EXPECT_TRUE(port.FlowControl()->OutCTSFlow());
    EXPECT_TRUE(port.FlowControl()->OutDSRFlow());
    EXPECT_TRUE(port.FlowControl()->TxContinueOnXoff());
    EXPECT_TRUE(port.FlowControl()->XonXoffIn());
    EXPECT_FALSE(port.FlowControl()->XonXoffOut());
    EXPECT_EQ(port.FlowControl()->XonChar(), u'+');
    EXPECT_EQ(port.FlowControl()->XoffChar(), Char(44)) << "#300 keeps its low 8 bits";
}

class ComSettings : public testing::Test {
protected:
    void SetUp() override {
        stored.SetName(u"ComPort1");
        loaded.SetName(u"ComPort1");
        TRegistry reg;
        reg.DeleteKey(u"Comport");
    }
    TComPort stored{nullptr};
    TComPort loaded{nullptr};
};

TEST_F(ComSettings, BasicSettingsGoToTheConsolesKeyAsTexts) {
    stored.SetPort(u"ttyUSB0");
    stored.SetBaudRate(br115200);
    stored.SetStopBits(sbTwoStopBits);
    stored.SetDataBits(dbSeven);
    stored.Parity()->SetBits(prOdd);
    stored.FlowControl()->SetFlowControl(fcHardware);
    stored.StoreSettings(stRegistry, u"Vendrel\\Comport");

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Comport\\ComPort1"));
    TStringList names;
    reg.GetValueNames(&names);
    EXPECT_EQ(names.Count(), 6) << StringToUtf8(names.Text());
    EXPECT_EQ(reg.ReadString(u"Port"), u"ttyUSB0");
    EXPECT_EQ(reg.ReadString(u"BaudRate"), u"115200");
    EXPECT_EQ(reg.ReadString(u"StopBits"), u"2");
    EXPECT_EQ(reg.ReadString(u"DataBits"), u"7");
    EXPECT_EQ(reg.ReadString(u"Parity"), u"Odd");
    EXPECT_EQ(reg.ReadString(u"FlowControl"), u"Hardware");
    EXPECT_FALSE(reg.ValueExists(u"CustomBaudRate"));

    loaded.LoadSettings(stRegistry, u"Vendrel\\Comport");
    EXPECT_EQ(loaded.Port(), u"ttyUSB0");
    EXPECT_EQ(loaded.BaudRate(), br115200);
    EXPECT_EQ(loaded.StopBits(), sbTwoStopBits);
    EXPECT_EQ(loaded.DataBits(), dbSeven);
    EXPECT_EQ(loaded.Parity()->Bits(), prOdd);
    EXPECT_EQ(loaded.FlowControl()->FlowControl(), fcHardware);
}

TEST_F(ComSettings, EveryGroupRoundTripsThroughTheRegistryAndAnIniFile) {
    Configure(stored);
    stored.SetStoredProps(kAllGroups);
    loaded.SetStoredProps(kAllGroups);
    stored.StoreSettings(stRegistry, u"HKEY_CURRENT_USER\\Comport");
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKeyReadOnly(u"Comport\\ComPort1"));
        EXPECT_EQ(reg.ReadString(u"BaudRate"), u"Custom");
        EXPECT_EQ(reg.ReadInteger(u"CustomBaudRate"), 250000);
        EXPECT_EQ(reg.ReadInteger(u"Buffer.InputSize"), 4096);
        EXPECT_EQ(reg.ReadString(u"FlowControl.XonChar"), u"+");
        EXPECT_EQ(reg.ReadString(u"FlowControl.XoffChar"), u"#300");
        EXPECT_EQ(reg.ReadString(u"Parity.ReplaceChar"), u"#32");
        EXPECT_EQ(reg.ReadString(u"FlowControl.ControlDTR"), u"Handshake");
        EXPECT_EQ(reg.ReadString(u"DiscardNull"), u"Yes");
        EXPECT_EQ(reg.ReadString(u"FlowControl"), u"Custom");
    }
    loaded.LoadSettings(stRegistry, u"Vendrel\\Comport");
    ExpectConfigured(loaded);

    const String ini = Utf8ToString(testing_support::MakeTestFolder("serial-ini") + "/port.ini");
    TComPort fromIni(nullptr);
    fromIni.SetName(u"ComPort1");
    fromIni.SetStoredProps(kAllGroups);
    stored.StoreSettings(stIniFile, ini);
    {
        TIniFile file(ini);
        EXPECT_EQ(file.ReadString(u"ComPort1", u"Timeouts.ReadInterval", u""), u"5");
        EXPECT_EQ(file.ReadString(u"ComPort1", u"FlowControl.XonXoffOut", u""), u"No");
    }
    fromIni.LoadSettings(stIniFile, ini);
    ExpectConfigured(fromIni);
}

TEST_F(ComSettings, MissingOrUnknownValuesFallBack) {
    // A freshly created key: texts read empty and take their fallbacks; flow control stays.
    loaded.SetPort(u"COM9");
    loaded.SetBaudRate(br57600);
    loaded.SetStopBits(sbTwoStopBits);
    loaded.Parity()->SetBits(prEven);
    loaded.FlowControl()->SetFlowControl(fcHardware);
    loaded.LoadSettings(stRegistry, u"Vendrel\\Comport");
    EXPECT_EQ(loaded.Port(), u"");
    EXPECT_EQ(loaded.BaudRate(), br9600);
    EXPECT_EQ(loaded.StopBits(), sbOneStopBit);
    EXPECT_EQ(loaded.DataBits(), dbEight);
    EXPECT_EQ(loaded.Parity()->Bits(), prNone);
    EXPECT_EQ(loaded.FlowControl()->FlowControl(), fcHardware);

    // A missing integer is a failure; what was read before stays.
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Comport\\ComPort1", true));
        reg.WriteString(u"Port", u"COM4");
        reg.WriteString(u"BaudRate", u"Custom");
    }
    try {
        loaded.LoadSettings(stRegistry, u"Vendrel\\Comport");
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 17);
        EXPECT_EQ(e.WinCode(), -1);
        EXPECT_EQ(e.Message(), u"Failed to load settings");
    }
    EXPECT_EQ(loaded.Port(), u"COM4");
    EXPECT_EQ(loaded.BaudRate(), brCustom);

    // An INI file keeps current values for missing entries, except the custom rate's 9600.
    const String ini = Utf8ToString(testing_support::MakeTestFolder("serial-ini-missing") + "/port.ini");
    {
        TIniFile file(ini);
        file.WriteString(u"ComPort1", u"StopBits", u"1.5");
    }
    loaded.SetCustomBaudRate(1234);
    loaded.LoadSettings(stIniFile, ini);
    EXPECT_EQ(loaded.Port(), u"COM4");
    EXPECT_EQ(loaded.StopBits(), sbOne5StopBits);
    EXPECT_EQ(loaded.CustomBaudRate(), 9600);
}

TEST_F(ComSettings, ThePathsFirstPartChoosesTheRoot) {
    stored.SetName(u"Port1");
    stored.StoreSettings(stRegistry, u"HKEY_LOCAL_MACHINE\\Software\\X");
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\X\\Port1"));
        EXPECT_EQ(reg.ReadString(u"Port"), u"COM1");
        reg.CloseKey();
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.DeleteKey(u"Software\\X");
    }
    // Nothing stored still opens (creates) the key; a path without "\" opens none and fails.
    stored.SetStoredProps(TStoredProps());
    stored.StoreSettings(stRegistry, u"Anything\\Empty\\");
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists(u"Empty\\Port1"));
    reg.DeleteKey(u"Empty");
    stored.SetStoredProps(TStoredProps{spBasic});
    try {
        stored.StoreSettings(stRegistry, u"NoSeparator");
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 16);
        EXPECT_EQ(e.Message(), u"Failed to store settings");
    }
}

TEST_F(FakePortTest, LoadingIntoAnOpenPortAppliesOnce) {
    port->Open();
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Comport\\ComPort1", true));
        reg.WriteString(u"Port", PortName());
        reg.WriteString(u"BaudRate", u"57600");
        reg.WriteString(u"Parity", u"Space");
    }
    port->LoadSettings(stRegistry, u"Vendrel\\Comport");
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(fake->Config().baudRate, 57600u);
    EXPECT_EQ(fake->Config().parity, backend::SerialParity::Space);
    TRegistry reg;
    reg.DeleteKey(u"Comport");
}

} // namespace
