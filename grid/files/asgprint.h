// The print-settings dialog of a TAdvStringGrid: a form that edits the grid's print settings with a live
// preview of the first page, and loads or saves them as the INI section "PRINTSETTINGS".
#pragma once

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Buttons.h"
#include "platform/framework/ComCtrlsTabs.h"
#include "platform/framework/Dialogs.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/framework/StdCtrls.h"

class TAdvSpinEdit;

// The groups of the form a dialog enables.
ZELMOR_ENUM(TPrintSettingsOption, psBorders, psGeneral, psFonts, psDateTime, psTitle, psPages, psMargins,
            psSpacing, psOrientation, psSaveSettings)
using TPrintSettingsOptions = TSet<TPrintSettingsOption>;
// The unit of margins and spacings on the form.
ZELMOR_ENUM(TPrintDimensions, pdmm, pdinch)

class TAdvGridPrintSettingsForm : public TForm {
    DECLARE_CLASS(TAdvGridPrintSettingsForm, TForm)

public:
    using TForm::TForm;

    // Settings to controls, with Loading set so that no change handler writes back.
    void UpdateControls();
    // Controls to settings, then the preview; nothing while loading or without a grid.
    void UpdatePreviewer();
    // The seven sizes to their spin edits, in millimetres or inches.
    void UpdateDimensions();
    // Every tab but the first shows only while one of its group boxes is enabled.
    void HideDisabledTabSheets();

    // Published handlers, bound by name from the form description.
    void FormShow(TObject* Sender);
    void ControlChange(TObject* Sender);
    void BorderComboBoxChange(TObject* Sender);
    void DatePositionComboBoxChange(TObject* Sender);
    void TitlePositionComboBoxChange(TObject* Sender);
    void PagesPositionComboBoxChange(TObject* Sender);
    void SpinEditChange(TObject* Sender);
    void HeaderFontButtonClick(TObject* Sender);
    void FooterFontButtonClick(TObject* Sender);
    void TableFontButtonClick(TObject* Sender);
    void FixedFontButtonClick(TObject* Sender);
    void DimensionClick(TObject* Sender);
    void LoadSettingsClick(TObject* Sender);
    void SaveSettingsClick(TObject* Sender);
    void PreviewPaintBoxPaint(TObject* Sender);

    bool Loading = false;
    bool PrintPreview = true;
    bool Updating = false;
    String IniFile;
    TAdvStringGrid* Grid = nullptr;

    TPageControl* PageControl = nullptr;
    TTabSheet* TabGeneral = nullptr;
    TTabSheet* TabHeaders = nullptr;
    TTabSheet* TabMargins = nullptr;
    TTabSheet* TabPreferences = nullptr;
    TGroupBox* BordersGroupBox = nullptr;
    TGroupBox* GeneralGroupBox = nullptr;
    TGroupBox* FontGroupBox = nullptr;
    TGroupBox* DateTimeGroupBox = nullptr;
    TGroupBox* TitleGroupBox = nullptr;
    TGroupBox* PageNumbersGroupBox = nullptr;
    TGroupBox* MarginsGroupBox = nullptr;
    TGroupBox* SpacingGroupBox = nullptr;
    TGroupBox* OrientationGroupBox = nullptr;
    TGroupBox* FileGroupBox = nullptr;
    TComboBox* BorderComboBox = nullptr;
    TComboBox* BorderStyleComboBox = nullptr;
    TComboBox* FitToPageComboBox = nullptr;
    TCheckBox* AutoSizeCheckBox = nullptr;
    TCheckBox* AutoSizeRowCheck = nullptr;
    TCheckBox* CenterCheckBox = nullptr;
    TCheckBox* RepeatRowsCheckBox = nullptr;
    TCheckBox* RepeatColumnsCheckBox = nullptr;
    TCheckBox* printgraphicscheckbox = nullptr;
    TButton* HeaderFontButton = nullptr;
    TButton* FooterFontButton = nullptr;
    TButton* TableFontButton = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TCheckBox* DisplFont = nullptr;
    TComboBox* DatePositionComboBox = nullptr;
    TComboBox* TimePositionComboBox = nullptr;
    TEdit* DateFormatEdit = nullptr;
    TMemo* TitleMemo = nullptr;
    TComboBox* TitlePositionComboBox = nullptr;
    TEdit* PagesPrefixEdit = nullptr;
    TEdit* PagesSeparatorEdit = nullptr;
    TEdit* PagesSuffixEdit = nullptr;
    TComboBox* PagesPositionComboBox = nullptr;
    TAdvSpinEdit* TopMarginSpinEdit = nullptr;
    TAdvSpinEdit* LeftMarginSpinEdit = nullptr;
    TAdvSpinEdit* RightMarginSpinEdit = nullptr;
    TAdvSpinEdit* BottomMarginSpinEdit = nullptr;
    TAdvSpinEdit* RowSpacingSpinEdit = nullptr;
    TAdvSpinEdit* ColumnSpacingSpinEdit = nullptr;
    TAdvSpinEdit* TitleMarginSpinEdit = nullptr;
    TRadioButton* dimr1 = nullptr;
    TRadioButton* dimr2 = nullptr;
    TLabel* dim1 = nullptr;
    TLabel* dim2 = nullptr;
    TLabel* dim3 = nullptr;
    TLabel* dim4 = nullptr;
    TLabel* dim5 = nullptr;
    TLabel* dim6 = nullptr;
    TLabel* dim7 = nullptr;
    TComboBox* OrientationComboBox = nullptr;
    TButton* LoadSettings = nullptr;
    TButton* SaveSettings = nullptr;
    TPanel* PreviewPanel = nullptr;
    TPaintBox* PreviewPaintBox = nullptr;
    TPanel* ButtonPanel = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;
    TFontDialog* FontDialog = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

private:
    // Copies a font into the font dialog and back when the user confirms it.
    void EditFont(TFont* font);
    // The INI file of a load or save: IniFile, or the one the file dialog chooses; empty when cancelled.
    String SettingsFile(TOpenDialog* dialog);
    // Redraws the first page into the paint box.
    void DrawPreview();
};

class TAdvGridPrintSettingsDialog : public TCommonDialog {
    DECLARE_CLASS(TAdvGridPrintSettingsDialog, TCommonDialog)

public:
    explicit TAdvGridPrintSettingsDialog(TComponent* AOwner);
    ~TAdvGridPrintSettingsDialog() override;

    // Shows the form modally over a backup of the grid's settings: OK keeps the edits, anything else
    // puts the backup back. Without a grid raises Exception "The dialog does not have a grid component
    // assigned.".
    bool Execute() override;

    TAdvStringGrid* Grid() const { return FGrid; }
    void SetGrid(TAdvStringGrid* Value);
    TPrintSettingsOptions Options() const { return FOptions; }
    // Enables the group boxes of the options and hides tabs left with none.
    void SetOptions(TPrintSettingsOptions Value);
    bool PrintPreview() const { return FPrintPreview; }
    void SetPrintPreview(bool Value);
    Integer PrintPreviewWidth() const { return FPrintPreviewWidth; }
    // Values outside 0 .. 2560 are ignored.
    void SetPrintPreviewWidth(Integer Value);
    TPrintDimensions PrintDimensions() const { return FPrintDimensions; }
    void SetPrintDimensions(TPrintDimensions Value);
    const String& IniFile() const { return FIniFile; }
    void SetIniFile(const String& Value) { FIniFile = Value; }
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value) { FCaption = Value; }
    TAdvGridPrintSettingsForm* Form() const { return FForm; }
    bool Executing() const { return FExecuting; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TAdvStringGrid* FGrid = nullptr;
    TPrintSettingsOptions FOptions;
    bool FPrintPreview = true;
    Integer FPrintPreviewWidth = 250;
    TPrintDimensions FPrintDimensions = pdmm;
    String FIniFile;
    String FCaption;
    bool FExecuting = false;
    TAdvGridPrintSettingsForm* FForm = nullptr; // owned
};
