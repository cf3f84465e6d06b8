// The console's main window: the module grids that polling fills, the logs, the naming controls and the
// command strip.
#pragma once

#include <array>

#include "controls/AdvCombo.h"
#include "controls/AdvEdit.h"
#include "controls/AdvOfficeButtons.h"
#include "controls/AdvPanel.h"
#include "controls/AdvSpin.h"
#include "platform/framework/Buttons.h"
#include "platform/framework/Dialogs.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Grids.h"
#include "platform/framework/ScktComp.h"
#include "platform/framework/StdCtrls.h"

// Some units of the controls and of the grid name enumeration values alike, so no source includes the
// grid together with the instrument controls or the common controls. This header includes neither: the
// grid is declared only, and the instrument controls, the pages and the status bar are held by a base
// class (MainLook.cpp handles the instrument controls with their own header).
class TAdvStringGrid;

inline constexpr int kModuleCount = 5;
inline constexpr int kDataRows = 30;     // rows 1-30 of a module grid
inline constexpr int kLoggedValues = 28; // log columns 2-29 take rows 1-28
inline constexpr int kFrameSize = 40;

// The settings keys of the console.
inline const String kMainKey = u"Quor RF controller";
inline const String kModuleNamesKey = u"Quor RF controller\\Module names";
inline const String kLogsKey = u"Quor RF controller\\Logs";
// "Quor RF controller\Data 1 names" ... for module 1-5.
String DataNamesKey(int module);

// One module's share of the main window; the handlers that exist once per module work on this.
struct ModuleControls {
    TAdvPanel* panel = nullptr;        // caption: the module name
    TAdvStringGrid* data = nullptr;    // decoded values in column 1
    TAdvStringGrid* log = nullptr;     // logged rows
    TEdit* strength = nullptr;         // signal strength in dBm
    TAdvComboBox* dataNames = nullptr; // the 30 data names
    TAdvEdit* dataEdit = nullptr;      // the new data name
    TColor headerColor = clBlack;      // the grid's header text
    Integer* logCounter = nullptr;     // rows logged since start-up or the last clear
};

// What one frame of the master says (decoded, not yet shown).
struct DecodedFrame {
    std::array<Integer, 15> values{}; // unsigned 16-bit, high byte first
    Byte network = 0;                 // byte 30
    Byte module = 0;                  // byte 31
    Byte sequence = 0;                // byte 32
    Byte checksum = 0;                // byte 36
    Byte computedChecksum = 0;        // XOR of bytes 0-35
    Integer strength = 0;             // signed 16-bit of bytes 37 and 39
};
DecodedFrame DecodeFrame(const Byte (&frame)[kFrameSize]);
// The framework's float-to-text conversion of tenths / 10 (0 ... 6553.5) in the current format settings.
String TenthsToText(Integer tenths);
// The module (1-5) whose address text ("26 42" ...) the frame carries; 0 for none.
int ModuleOfAddress(const String& address);

class TMain : public TForm {
    DECLARE_CLASS(TMain, TForm)

public:
    using TForm::TForm;

    // Start-up and closing.
    void FormCreate(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void LoadMainSettings();

    // Polling and decoding.
    void ConectClick(TObject* Sender);
    void CmdMasterTimer(TObject* Sender);
    void UsbTimerTimer(TObject* Sender);
    void ChkConectivityTimer(TObject* Sender);
    void ConnectCheckTimer(TObject* Sender);
    void ModulesClick(TObject* Sender);
    void ComPort4RxChar(TObject* Sender, Integer Count);
    // Shows one frame as the frame reader does after its read.
    void ShowFrame(const Byte (&frame)[kFrameSize]);

    // Logs.
    void MeasureTimerTimer(TObject* Sender);
    void TimingChange(TObject* Sender);
    void LogsClick(TObject* Sender);
    void OpenClick(TObject* Sender);
    void SaveAsClick(TObject* Sender);
    void SaveClick(TObject* Sender);
    void PrintClick(TObject* Sender);
    void ExportClick(TObject* Sender);
    void ClrLogClick(TObject* Sender);

    // Naming.
    void ModulesListClick(TObject* Sender);
    void RenModuleClick(TObject* Sender);
    void Modul1DataNamesClick(TObject* Sender);
    void Modul2DataNamesClick(TObject* Sender);
    void Modul3DataNamesClick(TObject* Sender);
    void Modul4DataNamesClick(TObject* Sender);
    void Modul5DataNamesClick(TObject* Sender);
    void RenData1Click(TObject* Sender);
    void RenData2Click(TObject* Sender);
    void RenData3Click(TObject* Sender);
    void RenData4Click(TObject* Sender);
    void RenData5Click(TObject* Sender);
    void Module1DataDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State);
    void Module2DataDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State);
    void Module3DataDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State);
    void Module4DataDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State);
    void Module5DataDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State);

    // Auxiliary commands.
    void VirtualUsbClick(TObject* Sender);
    void SetupClick(TObject* Sender);
    void MeasureSettingsClick(TObject* Sender);
    void SaveIOsettingsClick(TObject* Sender);
    void AutosaveClick(TObject* Sender);
    void FolderClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    // The wireless adapter query the button runs: thirteen lines per adapter on standard output.
    void QueryWiFiAdapters();
    void ClientConnect(TObject* Sender, TCustomWinSocket* Socket);
    void ClientDisconnect(TObject* Sender, TCustomWinSocket* Socket);

    // Module m (1-5).
    ModuleControls Module(int m);
    // The log grid the Logs group picks; null with nothing picked.
    TAdvStringGrid* PickedLog();
    Integer& LogCounter(int m) { return *Module(m).logCounter; }
    Integer HeardCount(int m) const { return con_chk_cnt[m - 1]; }
    // The LED, the connect button's caption and colour for a connected or disconnected port.
    void ShowConnectState(bool connected);
    void SetConnectLed(bool on);

    // Command strip.
    TAdvPanel* FuncPanel = nullptr;
    TSpeedButton* Open = nullptr;
    TSpeedButton* SaveAs = nullptr;
    TSpeedButton* Save = nullptr;
    TSpeedButton* Print = nullptr;
    TSpeedButton* Setup = nullptr;
    TSpeedButton* Export = nullptr;
    TSpeedButton* SpeedButton7 = nullptr;
    TShape* Image1 = nullptr;              // the logo
    TGraphicControl* LedConnect = nullptr; // a TVrUserLed
    TGraphicControl* Conect = nullptr;     // a TVrShadowButton
    TGraphicControl* VirtualUsb = nullptr; // a TVrShadowButton
    TAdvSpinEdit* Timing = nullptr;
    TEdit* Edit1 = nullptr;
    TAdvOfficeCheckGroup* Modules = nullptr;
    TAdvOfficeCheckBox* Autosave = nullptr;
    TButton* Folder = nullptr;

    TWinControl* Pages = nullptr; // the page control and its pages
    TWinControl* MeasurePage = nullptr;
    TWinControl* RenamePage = nullptr;
    TWinControl* LogFilePage = nullptr;

    // "Measure" page.
    TAdvPanel* Module1Panel = nullptr;
    TAdvPanel* Module2Panel = nullptr;
    TAdvPanel* Module3Panel = nullptr;
    TAdvPanel* Module4Panel = nullptr;
    TAdvPanel* Module5Panel = nullptr;
    TAdvStringGrid* Module1Data = nullptr;
    TAdvStringGrid* Module2Data = nullptr;
    TAdvStringGrid* Module3Data = nullptr;
    TAdvStringGrid* Module4Data = nullptr;
    TAdvStringGrid* Module5Data = nullptr;
    TLabel* V1AcDc = nullptr;
    TLabel* V2AcDc = nullptr;
    TLabel* V3AcDc = nullptr;
    TLabel* A1AcDc = nullptr;
    TLabel* A2AcDc = nullptr;
    TLabel* A3AcDc = nullptr;
    TLabel* A4AcDc = nullptr;
    TAdvOfficeCheckBox* EnAmp3 = nullptr;
    TAdvOfficeCheckBox* EnAmp4 = nullptr;

    // "Rename and Logs" page.
    TAdvComboBox* ModulesList = nullptr;
    TAdvEdit* EditName = nullptr;
    TButton* RenModule = nullptr;
    TAdvComboBox* Modul1DataNames = nullptr;
    TAdvComboBox* Modul2DataNames = nullptr;
    TAdvComboBox* Modul3DataNames = nullptr;
    TAdvComboBox* Modul4DataNames = nullptr;
    TAdvComboBox* Modul5DataNames = nullptr;
    TAdvEdit* Data1Edit = nullptr;
    TAdvEdit* Data2Edit = nullptr;
    TAdvEdit* Data3Edit = nullptr;
    TAdvEdit* Data4Edit = nullptr;
    TAdvEdit* Data5Edit = nullptr;
    TButton* RenData1 = nullptr;
    TButton* RenData2 = nullptr;
    TButton* RenData3 = nullptr;
    TButton* RenData4 = nullptr;
    TButton* RenData5 = nullptr;
    TAdvPanel* LogsPanel = nullptr;
    TButton* ClrLog = nullptr;
    TAdvStringGrid* Log1 = nullptr;
    TAdvStringGrid* Log2 = nullptr;
    TAdvStringGrid* Log3 = nullptr;
    TAdvStringGrid* Log4 = nullptr;
    TAdvStringGrid* Log5 = nullptr;
    TAdvOfficeRadioGroup* Logs = nullptr;
    TButton* Button1 = nullptr;

    // "Log file" page.
    TAdvStringGrid* Log = nullptr;

    // Bottom.
    TWinControl* StatusBar1 = nullptr; // a TStatusBar
    TEdit* addr1 = nullptr;
    TEdit* addr2 = nullptr;
    TEdit* addr3 = nullptr;
    TEdit* addr4 = nullptr;
    TEdit* addr5 = nullptr;
    TEdit* adr1 = nullptr;
    TEdit* adr2 = nullptr;
    TEdit* adr3 = nullptr;
    TEdit* adr4 = nullptr;
    TEdit* adr5 = nullptr;
    TButton* Button2 = nullptr;

    // Non-visual.
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TPrintDialog* PrintDialog1 = nullptr;
    TSaveDialog* SaveDialog2 = nullptr;
    TTimer* MeasureTimer = nullptr;
    TTimer* UsbTimer = nullptr;
    TTimer* CmdMaster = nullptr;
    TTimer* ConnectCheck = nullptr;
    TTimer* ChkConectivity = nullptr;
    TClientSocket* Client = nullptr;
    TServerSocket* Server = nullptr;

    // Log row counters of logs 1-5.
    Integer RowCount = 0;
    Integer RowCount1 = 0;
    Integer RowCount2 = 0;
    Integer RowCount3 = 0;
    Integer RowCount4 = 0;
    std::array<Integer, kModuleCount> con_chk_cnt{}; // frames heard per module since the last watchdog run
    Integer data_cnt = 0;                            // data-name index of the last rename

private:
    void PickDataName(int m);
    void RenameData(int m);
    void DrawHeaderCell(int m, Integer ACol, Integer ARow, TRect Rect);
    void SetModuleTick(int m, bool on);
    // The Timing text as the log interval; below 1 s keeps 1 s.
    void ApplyTiming(const String& text);

    String FSaveFileName; // the file of the last "Save as"
};

// Program-wide state of the console.
extern TMain* Main;
extern String AutosaveDir;
// The index last picked in each module's data-name list.
extern std::array<Integer, kModuleCount> PickedDataIndex;

// Registers the console's classes and forms for streaming; once.
void RegisterConsoleClasses();
// The instrument controls' share of it (MainLook.cpp).
void RegisterInstrumentClasses();
