// Start-up of the console: the first run's defaults, loading them back, the loading's edge cases, the
// window size rule and the storing of the serial settings when the main window closes.
#include "tests/app/ConsoleTesting.h"

#include "app/About.h"
#include "app/Factory.h"
#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/Setup.h"
#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"

namespace console_testing {
namespace {

using Start = ConsoleTest;

std::vector<std::string> Numbered(const std::string& prefix, const std::string& suffix, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(prefix + std::to_string(i) + suffix);
    return names;
}

TEST_F(Start, FirstRunWritesEveryDefaultAndShowsNoLog) {
    StartConsole();
    EXPECT_EQ(ValueNames(u"Quor RF controller"), (std::vector<std::string>{"First1", "Timing", "Autosave"}));
    EXPECT_EQ(Setting(u"Quor RF controller", u"First1"), u"First time ok");
    EXPECT_EQ(Setting(u"Quor RF controller", u"Timing"), u"5");
    EXPECT_EQ(Setting(u"Quor RF controller", u"Autosave"), u"0");
    EXPECT_EQ(ValueNames(u"Quor RF controller\\Module names"), Numbered("Module ", " name", 5));
    EXPECT_EQ(Setting(u"Quor RF controller\\Module names", u"Module 3 name"), u"Module 3");
    EXPECT_EQ(ValueNames(u"Quor RF controller\\Modules sens or data"),
              Numbered("Module ", " sens or data", 5));
    EXPECT_EQ(Setting(u"Quor RF controller\\Modules sens or data", u"Module 5 sens or data"), u"0");
    EXPECT_EQ(Setting(u"Quor RF controller\\Logs", u"Log number "), u"-1");
    for (int m = 1; m <= 5; ++m) {
        EXPECT_EQ(ValueNames(DataNamesKey(m)), Numbered("Data ", "", 30));
        EXPECT_EQ(Setting(DataNamesKey(m), u"Data 30"), u"Data 30");
    }
    // Nothing else is written before a command stores it.
    EXPECT_EQ(Setting(u"Quor RF controller", u"Autosave dir"), u"<missing>");
    EXPECT_EQ(Setting(u"Quor RF controller\\Modules bits", u"Module 1 bits"), u"<missing>");

    EXPECT_EQ(Main->LogsPanel->Caption()->Text(), u" - log file");
    for (int m = 1; m <= 5; ++m)
        EXPECT_FALSE(Main->Module(m).log->Visible()) << "log " << m;
    EXPECT_EQ(Main->Module2Panel->Caption()->Text(), u"Module 2");
    EXPECT_EQ(Main->Module4Data->Cells(0, 0), u"     NAME");
    EXPECT_EQ(Main->Module4Data->Cells(1, 0), u"   VALUE");
    EXPECT_EQ(Main->Module4Data->Cells(0, 17), u"Data 17");
    EXPECT_EQ(Main->Log4->Cells(18, 0), u"Data 17");
    EXPECT_EQ(Main->Log4->Cells(0, 0), u"Date");
    EXPECT_EQ(Main->Modul4DataNames->Items()->Strings(16), u"Data 17");
    EXPECT_EQ(Main->MeasureTimer->Interval(), 5000u);
    EXPECT_EQ(Main->Timing->Value(), 5);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(Start, SecondStartReadsTheStoredSettings) {
    StartConsole();
    StopConsole();
    SetSetting(u"Quor RF controller\\Module names", u"Module 2 name", u"Pump");
    SetSetting(DataNamesKey(3), u"Data 5", u"Battery");
    SetSetting(u"Quor RF controller\\Logs", u"Log number ", u"2");
    SetSetting(u"Quor RF controller", u"Timing", u"12");
    SetSetting(u"Quor RF controller", u"Autosave", u"True");
    StartConsole();
    EXPECT_EQ(Main->ModulesList->Items()->Strings(1), u"Pump");
    EXPECT_EQ(Main->Module2Panel->Caption()->Text(), u"Pump");
    EXPECT_EQ(Main->Module3Data->Cells(0, 5), u"Battery");
    EXPECT_EQ(Main->Log3->Cells(6, 0), u"Battery");
    EXPECT_EQ(Main->Logs->ItemIndex(), 2);
    EXPECT_TRUE(Main->Log3->Visible());
    EXPECT_FALSE(Main->Log1->Visible());
    EXPECT_EQ(Main->LogsPanel->Caption()->Text(), u"Module 3 - log file");
    EXPECT_EQ(Main->MeasureTimer->Interval(), 12000u);
    EXPECT_TRUE(Main->Autosave->Checked());
    EXPECT_EQ(Setting(u"Quor RF controller\\Module names", u"Module 2 name"), u"Pump")
        << "no first run again";
}

TEST_F(Start, AnyOtherFirstRunMarkRepeatsTheFirstRun) {
    SetSetting(u"Quor RF controller", u"First1", u"first time OK");
    SetSetting(u"Quor RF controller\\Module names", u"Module 1 name", u"Boiler");
    SetSetting(DataNamesKey(1), u"Data 1", u"Flow");
    StartConsole();
    EXPECT_EQ(Setting(u"Quor RF controller\\Module names", u"Module 1 name"), u"Module 1");
    EXPECT_EQ(Setting(DataNamesKey(1), u"Data 1"), u"Data 1");
    EXPECT_EQ(Main->Module1Panel->Caption()->Text(), u"Module 1");
}

// The log number is kept within the radio group's items.
TEST_F(Start, LogNumberOutsideTheItems) {
    StartConsole();
    StopConsole();
    SetSetting(u"Quor RF controller\\Logs", u"Log number ", u"9");
    StartConsole();
    EXPECT_EQ(Main->Logs->ItemIndex(), 4);
    EXPECT_TRUE(Main->Log5->Visible());
    EXPECT_EQ(Main->LogsPanel->Caption()->Text(), u"Module 5 - log file");
}

TEST_F(Start, EmptyTimingStopsTheLoadingBeforeTheAutosaveFlag) {
    StartConsole();
    StopConsole();
    SetSetting(u"Quor RF controller", u"Timing", u"");
    SetSetting(u"Quor RF controller", u"Autosave", u"1");
    SetSetting(u"Quor RF controller", u"Autosave dir", u"/tmp/logs");
    StartConsole();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"'' is not a valid integer value."}));
    EXPECT_FALSE(Main->Autosave->Checked());
    EXPECT_EQ(AutosaveDir, u"") << "the rest of FormCreate is skipped as well";
    // What came before the failure is loaded.
    EXPECT_EQ(Main->Module1Data->Cells(0, 30), u"Data 30");
}

// Only a hand-edited registry holds a timing below one second; the log tick then stays at one second.
TEST_F(Start, TimingBelowOneSecondKeepsOneSecond) {
    StartConsole();
    StopConsole();
    for (const char16_t* text : {u"0", u"-3"}) {
        SetSetting(u"Quor RF controller", u"Timing", text);
        StartConsole();
        EXPECT_EQ(Main->MeasureTimer->Interval(), 1000u) << StringToUtf8(text);
        EXPECT_TRUE(Main->MeasureTimer->Enabled());
        StopConsole();
    }
}

// The off-screen desktop keeps a shown window within its 1366 x 768 pixels, so the rule is asked of the
// hidden window.
TEST_F(Start, LargeWindowsTakeTheFixedSize) {
    StartConsole();
    Main->SetBounds(0, 0, 1300, 900);
    Main->FormResize(Main);
    EXPECT_EQ(Main->Width(), 1368);
    EXPECT_EQ(Main->Height(), 866);
    Main->SetBounds(0, 0, 1300, 860);
    Main->FormResize(Main);
    EXPECT_EQ(Main->Width(), 1300);
    EXPECT_EQ(Main->Height(), 860);
}

TEST_F(Start, ClosingTheMainWindowStoresTheSerialSettings) {
    StartConsole();
    Form2->ComPort1->SetPort(u"ttyTEST7");
    Form2->ComPort1->SetBaudRate(br19200);
    Main->Close();
    Pump();
    EXPECT_EQ(Setting(u"Comport\\ComPort1", u"Port"), u"ttyTEST7");
    StopConsole();
    StartConsole();
    EXPECT_EQ(Form2->ComPort1->Port(), u"ttyTEST7");
    EXPECT_EQ(Form2->ComPort1->BaudRate(), br19200);
}

// Port 23 is taken here (or needs privileges the program lacks): the console opens all the same, with
// no message, and its server stays off.
TEST_F(Start, AServerPortThatCannotBeHadIsNoErrorForTheOperator) {
    auto* holder = new TServerSocket(nullptr);
    holder->SetPort(23);
    try {
        holder->SetActive(true);
    } catch (const ESocketError&) {
        // Without privileges nobody gets the port, the console included.
    }
    StartConsole();
    EXPECT_FALSE(Main->Server->Active());
    EXPECT_TRUE(Messages().empty());
    holder->Free();
}

TEST_F(Start, TheWindowsCarryTheirDescriptions) {
    StartConsole();
    EXPECT_EQ(Main->Caption(), u"Pellanic v3.12");
    EXPECT_EQ(Main->ClientWidth(), 1360);
    EXPECT_EQ(Main->Modules->Items()->Count(), 5);
    EXPECT_EQ(Main->Modules->Columns(), 5);
    EXPECT_EQ(Main->Timing->MinValue(), 1);
    EXPECT_EQ(Main->Timing->MaxValue(), 60);
    EXPECT_EQ(Main->Module1Data->ColCount(), 2);
    EXPECT_EQ(Main->Module1Data->RowCount(), 31);
    EXPECT_EQ(Main->Log2->ColCount(), 32);
    EXPECT_EQ(Main->Log2->RowCount(), 2);
    EXPECT_EQ(Main->Log->Cells(4, 0), u"Volatge 3");
    EXPECT_EQ(Main->UsbTimer->Interval(), 100u);
    EXPECT_FALSE(Main->UsbTimer->Enabled());
    EXPECT_EQ(Main->CmdMaster->Interval(), 750u);
    EXPECT_EQ(Main->ChkConectivity->Interval(), 5500u);
    EXPECT_TRUE(Main->ChkConectivity->Enabled());
    EXPECT_FALSE(Main->ConnectCheck->Enabled());
    EXPECT_EQ(Main->Client->Port(), 23);
    EXPECT_FALSE(Main->Client->Active());
    EXPECT_EQ(Main->Server->Port(), 23);
    EXPECT_EQ(Form2->Caption(), u"Setup");
    EXPECT_EQ(Form2->ComPort1->StoredProps(), TStoredProps{spBasic});
    EXPECT_TRUE(Form2->ComPort1->TriggersOnRxChar());
    EXPECT_EQ(Form1->Caption(), u"About");
    EXPECT_FALSE(Form1->Visible());
    EXPECT_EQ(FactorySettings->ClientWidth(), 187);
    EXPECT_EQ(FactorySettings->ClientHeight(), 85);
    EXPECT_EQ(MsrSetings->Caption(), u"  Measure settings");
    EXPECT_EQ(ModulesDataSet->Caption(), u"Modules Data Settings");
}

} // namespace
} // namespace console_testing
