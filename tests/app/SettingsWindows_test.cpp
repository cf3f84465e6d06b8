// The settings windows (modules data, measure, factory) and the main window's auxiliary commands.
#include "tests/app/ConsoleTesting.h"

#include <filesystem>
#include <fstream>

#include "app/Factory.h"
#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "grid/engine/AdvGrid.h"
#include "platform/framework/ComObj.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Management.h"
#include "platform/servers/Servers.h"
#include "platform/servers/Workbook.h"
#include "tests/support/TestSupport.h"

namespace console_testing {
namespace {

const String kBits = u"Quor RF controller\\Modules bits";
const String kRefs = u"Quor RF controller\\Modules refs";
const String kSens = u"Quor RF controller\\Modules sens or data";

using ModulesDataSettings = ConsoleTest;

TEST_F(ModulesDataSettings, SaveWritesResolutionAndReferenceAndCloseTheFlags) {
    StartConsole();
    EXPECT_EQ(ModulesDataSet->Mod2bitSel->Caption(), u"Module 2");
    EXPECT_EQ(ModulesDataSet->Mod2bitSel->ItemIndex(), -1) << "a fresh registry picks nothing";
    ModulesDataSet->Mod2bitSel->SetItemIndex(2);
    ModulesDataSet->Mod2Ref->SetText(u"3.3");
    ModulesDataSet->SensData2->SetChecked(true);
    ModulesDataSet->Mod2SaveClick(ModulesDataSet->Mod2Save);
    EXPECT_EQ(Setting(kBits, u"Module 2 bits"), u"2");
    EXPECT_EQ(Setting(kRefs, u"Module 2 ref"), u"3.3");
    EXPECT_EQ(Setting(kSens, u"Module 2 sens or data"), u"0") << "flags are written by Close only";
    EXPECT_EQ(Setting(kBits, u"Module 1 bits"), u"<missing>");

    ModulesDataSet->Show();
    ModulesDataSet->FormCloseClick(ModulesDataSet->CloseButton);
    EXPECT_EQ(Setting(kSens, u"Module 2 sens or data"), u"-1");
    EXPECT_EQ(Setting(kSens, u"Module 3 sens or data"), u"0");
    EXPECT_FALSE(ModulesDataSet->Visible());

    StopConsole();
    StartConsole();
    EXPECT_EQ(ModulesDataSet->Mod2bitSel->ItemIndex(), 2);
    EXPECT_EQ(ModulesDataSet->Mod2Ref->Text(), u"3.3");
    EXPECT_TRUE(ModulesDataSet->SensData2->Checked());
    EXPECT_TRUE(Messages().empty());
}

// A value that is not a number shows the conversion message and the others still load, so a later
// save keeps what was stored.
TEST_F(ModulesDataSettings, AnUnreadableValueSkipsOnlyItself) {
    StartConsole(); // the first run
    StopConsole();
    SetSetting(kBits, u"Module 1 bits", u"x");
    SetSetting(kBits, u"Module 4 bits", u"3");
    SetSetting(kRefs, u"Module 4 ref", u"5.0");
    SetSetting(kSens, u"Module 4 sens or data", u"-1");
    StartConsole();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"'x' is not a valid integer value."}));
    EXPECT_EQ(ModulesDataSet->Mod1bitSel->ItemIndex(), -1);
    EXPECT_EQ(ModulesDataSet->Mod4bitSel->ItemIndex(), 3);
    EXPECT_EQ(ModulesDataSet->Mod4Ref->Text(), u"5.0");
    EXPECT_TRUE(ModulesDataSet->SensData4->Checked());
    ModulesDataSet->FormCloseClick(ModulesDataSet->CloseButton);
    EXPECT_EQ(Setting(kSens, u"Module 4 sens or data"), u"-1");
}

using MeasureSettings = ConsoleTest;

TEST_F(MeasureSettings, RenamingAChannel) {
    StartConsole();
    EXPECT_EQ(MsrSetings->Rename->Items()->Count(), 9);
    MsrSetings->AcDcA1->SetChecked(true);
    MsrSetings->AcDcA1Click(MsrSetings->AcDcA1);
    EXPECT_EQ(MsrSetings->AcDcA1->Caption(), u"AC");
    MsrSetings->Rename->SetItemIndex(3);
    MsrSetings->Ren->SetText(u"Pump current");
    MsrSetings->RenameSetClick(MsrSetings->RenameSet);
    EXPECT_EQ(Setting(u"Vendrel\\Instrument names", u"Ampere 1 name"), u"Pump current");
    EXPECT_EQ(MsrSetings->A1Range->Caption(), u"Pump current");
    EXPECT_EQ(MsrSetings->Rename->Items()->Strings(3), u"Pump current");
    EXPECT_EQ(Main->Log->Cells(5, 0), u"Pump current");
    EXPECT_EQ(Main->A1AcDc->Caption(), u"AC");
    MsrSetings->Rename->SetItemIndex(4);
    MsrSetings->RenameClick(MsrSetings->Rename);
    EXPECT_EQ(MsrSetings->Ren->Text(), u"") << "channel 4 has no stored name yet";
}

TEST_F(MeasureSettings, SaveAndCloseStoresEveryChannel) {
    StartConsole();
    EXPECT_TRUE(Messages().empty()) << "a fresh registry loads without a message";
    MsrSetings->V2Range->SetItemIndex(3);
    MsrSetings->Temp2Range->SetItemIndex(1);
    MsrSetings->AcDcV3->SetChecked(true);
    MsrSetings->Rename->SetItemIndex(2);
    MsrSetings->Show();
    MsrSetings->MeasureSettingsClick(MsrSetings->MeasureSettings);
    const String key = u"Vendrel\\Settings";
    EXPECT_EQ(Setting(key, u"Rename"), u"2");
    EXPECT_EQ(Setting(key, u"Volt 1 range"), u"-1");
    EXPECT_EQ(Setting(key, u"Volt 2 range"), u"3");
    EXPECT_EQ(Setting(key, u"Temp 2 range"), u"1");
    EXPECT_EQ(Setting(key, u"Volt 3 AC/DC"), u"-1");
    EXPECT_EQ(Setting(key, u"Ampere 4 AC/DC"), u"0");
    EXPECT_EQ(ValueNames(u"Vendrel\\Instrument names").size(), 9u);
    EXPECT_EQ(MsrSetings->Rename->ItemIndex(), -1);
    EXPECT_FALSE(MsrSetings->Visible());
    StopConsole();
    StartConsole();
    EXPECT_EQ(MsrSetings->V2Range->ItemIndex(), 3);
    EXPECT_TRUE(MsrSetings->AcDcV3->Checked());
    EXPECT_EQ(MsrSetings->AcDcV3->Caption(), u"AC");
}

using FactorySettingsWindow = ConsoleTest;

TEST_F(FactorySettingsWindow, ThePasswordOpensTheWindow) {
    StartConsole();
    for (const char16_t* typed : {u"T", u"Ta", u"Tar"}) {
        FactorySettings->Pasword->SetText(typed);
        EXPECT_EQ(FactorySettings->ClientWidth(), 187);
    }
    FactorySettings->Pasword->SetText(u"Tarn");
    EXPECT_EQ(FactorySettings->Width(), 870);
    EXPECT_EQ(FactorySettings->Height(), 575);
    FactorySettings->Pasword->SetText(u"");
    EXPECT_EQ(FactorySettings->Width(), 870) << "it does not shrink again";
    EXPECT_TRUE(Messages().empty());

    FactorySettings->Pasword->SetText(u"abcdefghij");
    EXPECT_TRUE(Messages().empty());
    FactorySettings->Pasword->SetText(u"abcdefghijk");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Invalid password !"}));
}

TEST_F(FactorySettingsWindow, SaveStoresTextsThenChecksThemAsNumbers) {
    StartConsole();
    for (TAdvEdit* edit : FactorySettings->CorrectionEdits())
        edit->SetText(u"0.5");
    FactorySettings->LoadAerr->SetText(u"1,5");
    try {
        FactorySettings->SaveCorrectionsClick(FactorySettings->SaveCorrections);
        ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'1,5' is not a valid floating point value");
    }
    EXPECT_EQ(Setting(u"Vendrel\\Corrections", u"Load ampere error"), u"1,5");
    EXPECT_EQ(Setting(u"Vendrel\\Corrections", u"Solar volt correction"), u"0.5");
    EXPECT_EQ(ValueNames(u"Vendrel\\Corrections").size(), 16u);
    StopConsole();
    StartConsole();
    EXPECT_EQ(FactorySettings->LoadAerr->Text(), u"1,5");
}

using AuxiliaryCommands = ConsoleTest;

TEST_F(AuxiliaryCommands, AutosaveFlagAndFolder) {
    StartConsole();
    Main->Autosave->SetChecked(true);
    Main->AutosaveClick(Main->Autosave);
    EXPECT_TRUE(Main->Folder->Enabled());
    EXPECT_EQ(Setting(u"Quor RF controller", u"Autosave"), u"1");

    Main->FolderClick(Main->Folder);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Directory selection aborted"}));
    EXPECT_EQ(Setting(u"Quor RF controller", u"Autosave dir"), u"C:\\");

    FDialogs->Clear();
    FDialogs->AnswerFolder(u"/tmp/zelmor-logs");
    Main->FolderClick(Main->Folder);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Chosen directory = /tmp/zelmor-logs"}));
    EXPECT_EQ(Setting(u"Quor RF controller", u"Autosave dir"), u"/tmp/zelmor-logs");
    EXPECT_EQ(AutosaveDir, u"/tmp/zelmor-logs");

    Main->Autosave->SetChecked(false);
    Main->AutosaveClick(Main->Autosave);
    EXPECT_FALSE(Main->Folder->Enabled());
    EXPECT_EQ(Setting(u"Quor RF controller", u"Autosave"), u"0");
}

TEST_F(AuxiliaryCommands, DataSettingsOpensTheModulesWindow) {
    StartConsole();
    EXPECT_FALSE(ModulesDataSet->Visible());
    Main->SetupClick(Main->Setup);
    EXPECT_TRUE(ModulesDataSet->Visible());
    Main->MeasureSettingsClick(nullptr);
    EXPECT_TRUE(MsrSetings->Visible());
}

// The workbook test writes a one-sheet workbook with its greeting into the autosave folder, which the
// spreadsheet server reads back; a folder that does not exist is an error the framework shows, and with no
// spreadsheet server nothing happens.
TEST_F(AuxiliaryCommands, TheWorkbookTestWritesAWorkbookInTheAutosaveFolder) {
    StartConsole();
    const std::string folder = testing_support::MakeTestFolder("workbook-test");
    AutosaveDir = Utf8ToString(folder);
    Main->Button1Click(Main->Button1);
    const std::unique_ptr<servers::TWorkbookData> book =
        servers::ReadWorkbookFile(Utf8ToString(folder + "/new_excel_log_file.xlsx"));
    ASSERT_EQ(book->sheets.size(), 1u);
    const Variant* greeting = book->sheets[0]->Cell(1, 1);
    ASSERT_NE(greeting, nullptr);
    EXPECT_EQ(greeting->AsString(), u"We just created a new Excel file with one worksheet!");
    servers::TCellBlock used;
    ASSERT_TRUE(book->sheets[0]->UsedBlock(used));
    EXPECT_EQ(used.lastRow * used.lastCol, 1) << "one cell only";

    AutosaveDir = Utf8ToString(folder + "/missing");
    EXPECT_THROW(Main->Button1Click(Main->Button1), EOleException);

    UnregisterOleServer(u"Excel.Application");
    AutosaveDir = Utf8ToString(folder + "/none");
    std::filesystem::create_directories(folder + "/none");
    Main->Button1Click(Main->Button1);
    servers::RegisterServers();
    EXPECT_FALSE(std::filesystem::exists(folder + "/none/new_excel_log_file.xlsx"));
}

// The wireless adapter query writes the thirteen properties of each adapter of the system (here a fixture
// folder) to standard output, and nothing when there is none.
TEST_F(AuxiliaryCommands, TheWirelessQueryWritesThirteenLinesPerAdapter) {
    StartConsole();
    const std::string root = testing_support::MakeTestFolder("wireless-system");
    servers::SetManagementSystemRoot(root);
    std::filesystem::create_directories(root + "/sys/class/net/wlan0/wireless");
    std::ofstream(root + "/sys/class/net/wlan0/operstate") << "up\n";
    testing::internal::CaptureStdout();
    Main->Button2Click(Main->Button2);
    const std::string lines = testing::internal::GetCapturedStdout();
    EXPECT_EQ(lines, "Associated         True\n"
                     "AuthenAlgorithm    \n"
                     "AuthenEnabled      \n"
                     "AuthenMode         \n"
                     "Caption            wlan0\n"
                     "Channel            \n"
                     "Description        wlan0\n"
                     "Encryption         \n"
                     "OpMode             \n"
                     "Profile            \n"
                     "Rate               \n"
                     "SettingID          wlan0\n"
                     "SSID               \n");

    std::filesystem::remove_all(root + "/sys");
    testing::internal::CaptureStdout();
    Main->Button2Click(Main->Button2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    servers::SetManagementSystemRoot("/");
}

} // namespace
} // namespace console_testing
