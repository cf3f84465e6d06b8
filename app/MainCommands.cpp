// The main window's remaining commands: port setup, the settings windows, the autosave folder and flag,
// the workbook test, the wireless adapter query and the client socket's LED.
#include "app/Main.h"

#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/RegHelpers.h"
#include "app/Setup.h"
#include "platform/framework/Dialogs.h"

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

void TMain::Button1Click(TObject*) {
    // FIXME: the workbook test through the spreadsheet automation server ("Excel.Application") once the
    // platform's automation servers are in: AutosaveDir + "\new_excel_log_file.xlsx".
}

void TMain::Button2Click(TObject*) {
    // FIXME: QueryWiFiAdapters through the management query server ("WbemScripting.SWbemLocator",
    // "SELECT * FROM WiFi_AdapterAssociationInfo") once the platform's automation servers are in.
}

void TMain::ClientConnect(TObject*, TCustomWinSocket*) {
    SetConnectLed(true);
}

void TMain::ClientDisconnect(TObject*, TCustomWinSocket*) {
    SetConnectLed(false);
}
