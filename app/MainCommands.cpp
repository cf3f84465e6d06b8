// The main window's remaining commands: port setup, the settings windows, the autosave folder and flag,
// the workbook test, the wireless adapter query and the client socket's LED.
#include "app/Main.h"

#include <cstdio>
#include <utility>

#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/RegHelpers.h"
#include "app/Setup.h"
#include "platform/framework/ComObj.h"
#include "platform/framework/Dialogs.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysStrings.h"

namespace {

// The workbook template of a single worksheet.
constexpr Integer kWorkbookOfOneSheet = -4167;

} // namespace

void TMain::VirtualUsbClick(TObject*) {
    Form2->ComPort1->ShowSetupDialog();
}

void TMain::SetupClick(TObject*) {
    ModulesDataSet->SetVisible(true);
}

void TMain::MeasureSettingsClick(TObject*) {
    MsrSetings->SetVisible(true);
}

// Bound to nothing; kept for the window's description.
void TMain::SaveIOsettingsClick(TObject*) {}

void TMain::AutosaveClick(TObject*) {
    const bool on = Autosave->Checked();
    Folder->SetEnabled(on);
    WriteSetting(kMainKey, u"Autosave", on ? u"1" : u"0");
}

void TMain::FolderClick(TObject*) {
    AutosaveDir = u"C:\\";
    String chosen = AutosaveDir;
    if (SelectDirectory(u"Autosave folder", String(), chosen)) {
        AutosaveDir = chosen;
        ShowMessage(u"Chosen directory = " + AutosaveDir);
    } else {
        ShowMessage(u"Directory selection aborted");
    }
    WriteSetting(kMainKey, u"Autosave dir", AutosaveDir);
}

// Writes a workbook of one sheet with a greeting in its first cell to the autosave folder, through the
// spreadsheet automation server. Failing to add the workbook or to find its sheet skips to the clean-up;
// other failures are shown by the framework after it.
void TMain::Button1Click(TObject*) {
    Variant excel;
    try {
        excel = CreateOleObject(u"Excel.Application");
    } catch (const Exception&) {
        return;
    }
    excel.Put(u"Visible", true);
    excel.Put(u"DisplayAlerts", false);
    auto cleanUp = [&excel] {
        excel.Get(u"Workbooks").Call(u"Close");
        excel.Put(u"DisplayAlerts", true);
        excel.Call(u"Quit");
    };
    try {
        Variant workbook;
        Variant sheet;
        try {
            workbook = excel.Get(u"Workbooks").Call(u"Add", {kWorkbookOfOneSheet});
            sheet = excel.Get(u"Worksheets", {1});
        } catch (const Exception&) {
            cleanUp();
            return;
        }
        sheet.Call(u"Select");
        sheet.Get(u"Cells", {1, 1})
            .Put(u"Value", String(u"We just created a new Excel file with one worksheet!"));
        workbook.Call(u"SaveAs", {AutosaveDir + u"\\new_excel_log_file.xlsx"});
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
}

void TMain::Button2Click(TObject*) {
    QueryWiFiAdapters();
}

// Writes thirteen lines to standard output for each wireless adapter the management query finds.
void TMain::QueryWiFiAdapters() {
    constexpr Integer kForwardOnly = 32;
    static const std::pair<const Char*, const Char*> kLines[] = {
        {u"Associated", u"Associated         %s"},    {u"AuthenAlgorithm", u"AuthenAlgorithm    %s"},
        {u"AuthenEnabled", u"AuthenEnabled      %s"}, {u"AuthenMode", u"AuthenMode         %s"},
        {u"Caption", u"Caption            %s"},       {u"Channel", u"Channel            %s"},
        {u"Description", u"Description        %s"},   {u"Encryption", u"Encryption         %s"},
        {u"OpMode", u"OpMode             %s"},        {u"Profile", u"Profile            %s"},
        {u"Rate", u"Rate               %s"},          {u"SettingID", u"SettingID          %s"},
        {u"SSID", u"SSID               %s"}};
    const Variant locator = CreateOleObject(u"WbemScripting.SWbemLocator");
    const Variant services = locator.Call(u"ConnectServer", {String(u"localhost"), String(u"root\\CIMV2")});
    const Variant objects = services.Call(
        u"ExecQuery", {String(u"SELECT * FROM WiFi_AdapterAssociationInfo"), String(u"WQL"), kForwardOnly});
    const Integer count = objects.Get(u"Count").AsInteger();
    for (Integer i = 0; i < count; ++i) {
        const Variant object = objects.Call(u"ItemIndex", {i});
        for (const auto& [property, format] : kLines) {
            const std::string line = StringToUtf8(Format(format, {VarToStr(object.Get(property))})) + "\n";
            std::fwrite(line.data(), 1, line.size(), stdout);
        }
    }
    std::fflush(stdout);
}

void TMain::ClientConnect(TObject*, TCustomWinSocket*) {
    SetConnectLed(true);
}

void TMain::ClientDisconnect(TObject*, TCustomWinSocket*) {
    SetConnectLed(false);
}
