// The settings groups a string grid owns and publishes, and the small classes beside them: the cell
// checker base, the row carrier that holds a row while it is out of the grid, and the base of the
// objects a grid tells of changed cells.
//
// Contents:
//   enumerations
//   column size, HTML export and print settings; cell checker      (AdvGridSettings.cpp)
//   row carrier, background settings, change notifier              (AdvGridSettingsRows.cpp)
//   grouping, drag and drop, balloons, modified cells, progress,
//   auto colours, hover buttons, header drag button                 (AdvGridSettingsLook.cpp)
//
// Each group is created and freed by its grid. Assign copies from an object of the same class only,
// writes fields directly and so has none of the setters' side effects. Where a setter has to repaint
// or re-apply something on the grid, it goes through an event the grid wires up.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "grid/engine/AdvObj.h"
#include "platform/framework/Collection.h"
#include "platform/framework/Component.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Strings.h"

class TAdvStringGrid;

// ---- Enumerations

ZELMOR_ENUM(TColumnSizeLocation, clRegistry, clIniFile)
ZELMOR_ENUM(TAutoSizeRows, arAll, arNormal, arFixed)
ZELMOR_ENUM(TPrintPosition, ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight,
            ppBottomCenter)
ZELMOR_ENUM(TPrintBorders, pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround,
            pbAroundVertical, pbAroundHorizontal, pbCustom)
ZELMOR_ENUM(TFitToPage, fpNever, fpGrow, fpShrink, fpAlways, fpCustom)
ZELMOR_ENUM(TBackGroundDisplay, bdTile, bdFixed, bdGradientHorz, bdGradientVert)
ZELMOR_ENUM(TBackGroundCells, bcNormal, bcFixed, bcAll)
ZELMOR_ENUM(TProgressStyle, psXP, psClassic)
ZELMOR_ENUM(THoverButtonPosition, hbLeftFromColumnLeft, hbRightFromColumnLeft, hbLeftFromColumnRight,
            hbRightFromColumnRight)
ZELMOR_ENUM(THoverRows, hrAll, hrNormal)

// ---- Column size

// Which column re-stretch a column-size setter asks of the grid: the stretch column over the client
// width (Stretch), or all normal columns (StretchAll).
enum class TColumnStretchRequest { StretchColumn, AllColumns };
using TColumnStretchEvent = std::function<void(TObject* Sender, TColumnStretchRequest Request)>;

// Where column widths are saved and how columns are stretched to the grid's width.
class TColumnSize : public TPersistent {
    DECLARE_CLASS(TColumnSize, TPersistent)

public:
    explicit TColumnSize(TComponent* AOwner);
    ~TColumnSize() override;

    // StretchAll is not copied.
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override { return FOwner; }
    TComponent* Owner() const { return FOwner; }

    bool Save() const { return FSave; }
    void SetSave(bool value) { FSave = value; }
    // Registry key or INI file name.
    const String& Key() const { return FKey; }
    void SetKey(const String& value) { FKey = value; }
    const String& Section() const { return FSection; }
    void SetSection(const String& value) { FSection = value; }
    // Stores; when the grid has a parent, asks it to re-stretch the stretch column.
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    // -1 stretches the last column.
    Integer StretchColumn() const { return FStretchColumn; }
    void SetStretchColumn(Integer value) { FStretchColumn = value; }
    // Nothing when unchanged; true first resets StretchColumn to -1; then the grid re-stretches.
    bool StretchAll() const { return FStretchAll; }
    void SetStretchAll(bool value);
    // Stores both flags as they are, asking no stretch and leaving StretchColumn: the grid's
    // StretchColumns stretches once itself.
    void StoreStretch(bool stretch, bool stretchAll) {
        FStretch = stretch;
        FStretchAll = stretchAll;
    }
    bool SynchWithGrid() const { return FSynchWithGrid; }
    void SetSynchWithGrid(bool value) { FSynchWithGrid = value; }
    bool SynchNormalCellsOnly() const { return FSynchNormalCellsOnly; }
    void SetSynchNormalCellsOnly(bool value) { FSynchNormalCellsOnly = value; }
    TColumnSizeLocation Location() const { return FLocation; }
    void SetLocation(TColumnSizeLocation value) { FLocation = value; }
    TAutoSizeRows Rows() const { return FRows; }
    void SetRows(TAutoSizeRows value) { FRows = value; }

    // The grid re-stretches its columns here (ApplyColumnStretch).
    TColumnStretchEvent OnStretch;

private:
    void RequestStretch(TColumnStretchRequest request);

    TComponent* FOwner;
    bool FSave = false;
    String FKey;
    String FSection;
    bool FStretch = false;
    Integer FStretchColumn = -1;
    bool FStretchAll = false;
    bool FSynchWithGrid = false;
    bool FSynchNormalCellsOnly = false;
    TColumnSizeLocation FLocation = clRegistry;
    TAutoSizeRows FRows = arAll;
};

// ---- HTML export

// Options of the grid's HTML export. Setters store only.
class THTMLSettings : public TPersistent {
    DECLARE_CLASS(THTMLSettings, TPersistent)

public:
    THTMLSettings();
    ~THTMLSettings() override;

    // ExportImages and ColWidths are not copied.
    void Assign(TPersistent* source) override;

    bool AutoPreview() const { return FAutoPreview; }
    void SetAutoPreview(bool value) { FAutoPreview = value; }
    bool ConvertSpecialChars() const { return FConvertSpecialChars; }
    void SetConvertSpecialChars(bool value) { FConvertSpecialChars = value; }
    bool NonBreakingText() const { return FNonBreakingText; }
    void SetNonBreakingText(bool value) { FNonBreakingText = value; }
    bool SaveColor() const { return FSaveColor; }
    void SetSaveColor(bool value) { FSaveColor = value; }
    bool SaveFonts() const { return FSaveFonts; }
    void SetSaveFonts(bool value) { FSaveFonts = value; }
    const String& FooterFile() const { return FFooterFile; }
    void SetFooterFile(const String& value) { FFooterFile = value; }
    const String& HeaderFile() const { return FHeaderFile; }
    void SetHeaderFile(const String& value) { FHeaderFile = value; }
    Integer BorderSize() const { return FBorderSize; }
    void SetBorderSize(Integer value) { FBorderSize = value; }
    Integer CellSpacing() const { return FCellSpacing; }
    void SetCellSpacing(Integer value) { FCellSpacing = value; }
    Integer CellPadding() const { return FCellPadding; }
    void SetCellPadding(Integer value) { FCellPadding = value; }
    const String& TableStyle() const { return FTableStyle; }
    void SetTableStyle(const String& value) { FTableStyle = value; }
    const String& PrefixTag() const { return FPrefixTag; }
    void SetPrefixTag(const String& value) { FPrefixTag = value; }
    const String& SuffixTag() const { return FSuffixTag; }
    void SetSuffixTag(const String& value) { FSuffixTag = value; }
    const String& Summary() const { return FSummary; }
    void SetSummary(const String& value) { FSummary = value; }
    const String& HeaderText() const { return FHeaderText; }
    void SetHeaderText(const String& value) { FHeaderText = value; }
    const String& FooterText() const { return FFooterText; }
    void SetFooterText(const String& value) { FFooterText = value; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer value) { FWidth = value; }
    // Per-column widths for the export; public, not published.
    TIntList* ColWidths() const { return FColWidths.get(); }
    bool XHTML() const { return FXHTML; }
    void SetXHTML(bool value) { FXHTML = value; }
    bool ExportImages() const { return FExportImages; }
    void SetExportImages(bool value) { FExportImages = value; }

private:
    bool FAutoPreview = false;
    bool FConvertSpecialChars = false;
    bool FNonBreakingText = false;
    bool FSaveColor = true;
    bool FSaveFonts = true;
    String FFooterFile;
    String FHeaderFile;
    Integer FBorderSize = 1;
    Integer FCellSpacing = 0;
    Integer FCellPadding = 0;
    String FTableStyle;
    String FPrefixTag;
    String FSuffixTag;
    String FSummary;
    String FHeaderText;
    String FFooterText;
    Integer FWidth = 100;
    std::unique_ptr<TIntList> FColWidths;
    bool FXHTML = false;
    bool FExportImages = true;
};

// ---- Print settings

// Every option of printing and print preview. Setters store only; the object setters copy the given
// object into the owned one, which is never replaced.
class TPrintSettings : public TPersistent {
    DECLARE_CLASS(TPrintSettings, TPersistent)

public:
    explicit TPrintSettings(TComponent* AOwner);
    ~TPrintSettings() override;

    // The source must be print settings: any other class, and null, raise EInvalidCast "Invalid class
    // typecast". Copies every published property; FixedCellsAlways is not copied.
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    TPrintPosition Time() const { return FTime; }
    void SetTime(TPrintPosition value) { FTime = value; }
    TPrintPosition Date() const { return FDate; }
    void SetDate(TPrintPosition value) { FDate = value; }
    TPrintPosition PageNr() const { return FPageNr; }
    void SetPageNr(TPrintPosition value) { FPageNr = value; }
    // Between page number and page count.
    const String& PageNumSep() const { return FPageNumSep; }
    void SetPageNumSep(const String& value) { FPageNumSep = value; }
    const String& DateFormat() const { return FDateFormat; }
    void SetDateFormat(const String& value) { FDateFormat = value; }
    TPrintPosition Title() const { return FTitle; }
    void SetTitle(TPrintPosition value) { FTitle = value; }
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TFont* HeaderFont() const { return FHeaderFont.get(); }
    void SetHeaderFont(TFont* value) { FHeaderFont->Assign(value); }
    TFont* FooterFont() const { return FFooterFont.get(); }
    void SetFooterFont(TFont* value) { FFooterFont->Assign(value); }
    TPrintBorders Borders() const { return FBorders; }
    void SetBorders(TPrintBorders value) { FBorders = value; }
    TPenStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TPenStyle value) { FBorderStyle = value; }
    const String& TitleText() const { return FTitleText; }
    void SetTitleText(const String& value) { FTitleText = value; }
    TStrings* TitleLines() const { return FTitleLines.get(); }
    void SetTitleLines(TStrings* value) { FTitleLines->Assign(value); }
    bool Centered() const { return FCentered; }
    void SetCentered(bool value) { FCentered = value; }
    bool RepeatFixedRows() const { return FRepeatFixedRows; }
    void SetRepeatFixedRows(bool value) { FRepeatFixedRows = value; }
    bool RepeatFixedCols() const { return FRepeatFixedCols; }
    void SetRepeatFixedCols(bool value) { FRepeatFixedCols = value; }
    Integer FooterSize() const { return FFooterSize; }
    void SetFooterSize(Integer value) { FFooterSize = value; }
    Integer HeaderSize() const { return FHeaderSize; }
    void SetHeaderSize(Integer value) { FHeaderSize = value; }
    Integer LeftSize() const { return FLeftSize; }
    void SetLeftSize(Integer value) { FLeftSize = value; }
    Integer RightSize() const { return FRightSize; }
    void SetRightSize(Integer value) { FRightSize = value; }
    Integer ColumnSpacing() const { return FColumnSpacing; }
    void SetColumnSpacing(Integer value) { FColumnSpacing = value; }
    Integer RowSpacing() const { return FRowSpacing; }
    void SetRowSpacing(Integer value) { FRowSpacing = value; }
    Integer TitleSpacing() const { return FTitleSpacing; }
    void SetTitleSpacing(Integer value) { FTitleSpacing = value; }
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation value) { FOrientation = value; }
    const String& PagePrefix() const { return FPagePrefix; }
    void SetPagePrefix(const String& value) { FPagePrefix = value; }
    const String& PageSuffix() const { return FPageSuffix; }
    void SetPageSuffix(const String& value) { FPageSuffix = value; }
    Integer FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(Integer value) { FFixedHeight = value; }
    bool UseFixedHeight() const { return FUseFixedHeight; }
    void SetUseFixedHeight(bool value) { FUseFixedHeight = value; }
    Integer FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(Integer value) { FFixedWidth = value; }
    bool UseFixedWidth() const { return FUseFixedWidth; }
    void SetUseFixedWidth(bool value) { FUseFixedWidth = value; }
    TFitToPage FitToPage() const { return FFitToPage; }
    void SetFitToPage(TFitToPage value) { FFitToPage = value; }
    bool NoAutoSize() const { return FNoAutoSize; }
    void SetNoAutoSize(bool value) { FNoAutoSize = value; }
    bool PrintGraphics() const { return FPrintGraphics; }
    void SetPrintGraphics(bool value) { FPrintGraphics = value; }
    const String& JobName() const { return FJobName; }
    void SetJobName(const String& value) { FJobName = value; }
    bool NoAutoSizeRow() const { return FNoAutoSizeRow; }
    void SetNoAutoSizeRow(bool value) { FNoAutoSizeRow = value; }
    Integer PageNumberOffset() const { return FPageNumberOffset; }
    void SetPageNumberOffset(Integer value) { FPageNumberOffset = value; }
    Integer MaxPagesOffset() const { return FMaxPagesOffset; }
    void SetMaxPagesOffset(Integer value) { FMaxPagesOffset = value; }
    TFont* FixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* value) { FFixedFont->Assign(value); }
    bool UseDisplayFont() const { return FUseDisplayFont; }
    void SetUseDisplayFont(bool value) { FUseDisplayFont = value; }
    bool UseDefaultOrientation() const { return FUseDefaultOrientation; }
    void SetUseDefaultOrientation(bool value) { FUseDefaultOrientation = value; }
    // When only the selection is printed, print fixed rows and columns anyway. Public, not published.
    bool FixedCellsAlways() const { return FFixedCellsAlways; }
    void SetFixedCellsAlways(bool value) { FFixedCellsAlways = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { FBorderColor = value; }

private:
    TComponent* FOwner;
    TPrintPosition FTime = ppNone;
    TPrintPosition FDate = ppNone;
    TPrintPosition FPageNr = ppNone;
    String FPageNumSep = u"/";
    String FDateFormat = u"dd/mm/yyyy";
    TPrintPosition FTitle = ppNone;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TFont> FHeaderFont;
    std::unique_ptr<TFont> FFooterFont;
    TPrintBorders FBorders = pbSingle;
    TPenStyle FBorderStyle = psSolid;
    String FTitleText;
    std::unique_ptr<TStringList> FTitleLines;
    bool FCentered = true;
    bool FRepeatFixedRows = false;
    bool FRepeatFixedCols = false;
    Integer FFooterSize = 0;
    Integer FHeaderSize = 0;
    Integer FLeftSize = 0;
    Integer FRightSize = 0;
    Integer FColumnSpacing = 0;
    Integer FRowSpacing = 0;
    Integer FTitleSpacing = 0;
    TPrinterOrientation FOrientation = poPortrait;
    String FPagePrefix;
    String FPageSuffix;
    Integer FFixedHeight = 0;
    bool FUseFixedHeight = false;
    Integer FFixedWidth = 0;
    bool FUseFixedWidth = false;
    TFitToPage FFitToPage = fpNever;
    bool FNoAutoSize = false;
    bool FPrintGraphics = false;
    String FJobName;
    bool FNoAutoSizeRow = false;
    Integer FPageNumberOffset = 0;
    Integer FMaxPagesOffset = 0;
    std::unique_ptr<TFont> FFixedFont;
    bool FUseDisplayFont = true;
    bool FUseDefaultOrientation = false;
    bool FFixedCellsAlways = false;
    TColor FBorderColor = clBlack;
};

// ---- Cell checker

// A component an application connects to a grid to correct cell texts or mark errors in them, such as
// a spell checker. This base changes nothing; descendants override the four operations.
class TAdvStringGridCheck : public TComponent {
    DECLARE_CLASS(TAdvStringGridCheck, TComponent)

public:
    explicit TAdvStringGridCheck(TComponent* AOwner);
    ~TAdvStringGridCheck() override;

    // s with its errors marked (for example with highlight markup).
    virtual String MarkError(Integer ACol, Integer ARow, const String& s);
    // s corrected.
    virtual String Correct(Integer ACol, Integer ARow, const String& s);
    // Called once before and once after a range check.
    virtual void StartCheck();
    virtual void StopCheck();

    // During a range check, make each examined cell the current one, and restore it afterwards.
    bool GotoCell() const { return FGotoCell; }
    void SetGotoCell(bool value) { FGotoCell = value; }
    // Correct, or mark errors in, each edited value when the grid validates it.
    bool AutoCorrect() const { return FAutoCorrect; }
    void SetAutoCorrect(bool value) { FAutoCorrect = value; }
    bool AutoMarkError() const { return FAutoMarkError; }
    void SetAutoMarkError(bool value) { FAutoMarkError = value; }
    // Correct, or mark errors in, cells during a range check.
    bool UseCorrect() const { return FUseCorrect; }
    void SetUseCorrect(bool value) { FUseCorrect = value; }
    bool UseMarkError() const { return FUseMarkError; }
    void SetUseMarkError(bool value) { FUseMarkError = value; }

private:
    bool FGotoCell = false;
    bool FAutoCorrect = false;
    bool FAutoMarkError = false;
    bool FUseCorrect = false;
    bool FUseMarkError = false;
};

// ---- Row carrier

// One whole row while it is out of the grid (a hidden or filtered-out row): its cells as strings, each
// with its cell's property record as the string's object, its index, height and filter level. The
// item owns its string list; the property records are the grid's to free.
class TGridItem : public TCollectionItem {
    DECLARE_CLASS(TGridItem, TCollectionItem)

public:
    explicit TGridItem(TCollection* collection);
    ~TGridItem() override;

    // The row's index in the grid when it was taken out.
    Integer Idx() const { return FIdx; }
    void SetIdx(Integer value) { FIdx = value; }
    Integer Height() const { return FHeight; }
    void SetHeight(Integer value) { FHeight = value; }
    // Writing copies the given strings and their objects; the item keeps its own list.
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    // The filter level at which the row was hidden.
    Integer Level() const { return FLevel; }
    void SetLevel(Integer value) { FLevel = value; }

private:
    Integer FIdx = 0;
    Integer FHeight = 0;
    std::unique_ptr<TStringList> FItems;
    Integer FLevel = 0;
};

// ---- Background

// The grid's background picture and gradient, painted outside the cells and under cell text. Every
// setter stores and then fires OnChange, also when the value is unchanged; the grid repaints there.
class TBackGround : public TPersistent {
    DECLARE_CLASS(TBackGround, TPersistent)

public:
    explicit TBackGround(TAdvStringGrid* grid);
    ~TBackGround() override;

    void Assign(TPersistent* source) override;

    TAdvStringGrid* Grid() const { return FGrid; }
    // The picture position in client pixels for bdFixed.
    Integer Top() const { return FTop; }
    void SetTop(Integer value);
    Integer Left() const { return FLeft; }
    void SetLeft(Integer value);
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay value);
    TBackGroundCells Cells() const { return FBackgroundCells; }
    void SetCells(TBackGroundCells value);
    // Gradient end and start colours.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // The setter copies the given picture into the owned bitmap.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* value);

    TNotifyEvent OnChange;

private:
    void Changed();

    TAdvStringGrid* FGrid;
    Integer FTop = 0;
    Integer FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FBackgroundCells = bcNormal;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWindow;
    std::unique_ptr<TBitmap> FBitmap;
};

// ---- Change notifier

// The base of objects a grid tells of every cell change: applications derive from it and register an
// instance with the grid.
class TGridChangeNotifier : public TComponent {
    DECLARE_CLASS(TGridChangeNotifier, TComponent)

public:
    explicit TGridChangeNotifier(TComponent* AOwner);
    ~TGridChangeNotifier() override;

    // The cells in R changed. Nothing here.
    virtual void CellsChanged(const TRect& R);
};

// The grid's list of registered notifiers, in registration order. It does not own them: a notifier
// that is freed leaves the list and is never called again.
class TGridChangeNotifierList {
public:
    TGridChangeNotifierList();
    ~TGridChangeNotifierList();
    TGridChangeNotifierList(const TGridChangeNotifierList&) = delete;
    TGridChangeNotifierList& operator=(const TGridChangeNotifierList&) = delete;

    // Adds the notifier unless it is already there; null is ignored.
    void Register(TGridChangeNotifier* notifier);
    // Removes it if it is there.
    void UnRegister(TGridChangeNotifier* notifier);
    Integer Count() const { return static_cast<Integer>(FItems.size()); }
    TGridChangeNotifier* Items(Integer index) const { return FItems.at(static_cast<std::size_t>(index)); }
    // Calls every registered notifier with R. A notifier that a call frees or unregisters is skipped.
    void NotifyAll(const TRect& R);

private:
    class TWatch;

    std::vector<TGridChangeNotifier*> FItems;
    std::unique_ptr<TWatch> FWatch; // asks for the notifiers' free notification
};

// ---- Grouping

// The look of group header and summary rows. Setters store only.
class TGrouping : public TPersistent {
    DECLARE_CLASS(TGrouping, TPersistent)

public:
    TGrouping();
    ~TGrouping() override;

    // The line colours and widths and Summary are not copied.
    void Assign(TPersistent* source) override;

    bool MergeHeader() const { return FMergeHeader; }
    void SetMergeHeader(bool value) { FMergeHeader = value; }
    bool MergeSummary() const { return FMergeSummary; }
    void SetMergeSummary(bool value) { FMergeSummary = value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor value) { FHeaderColor = value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor value) { FHeaderColorTo = value; }
    TColor HeaderTextColor() const { return FHeaderTextColor; }
    void SetHeaderTextColor(TColor value) { FHeaderTextColor = value; }
    bool HeaderUnderline() const { return FHeaderUnderline; }
    void SetHeaderUnderline(bool value) { FHeaderUnderline = value; }
    TColor HeaderLineColor() const { return FHeaderLineColor; }
    void SetHeaderLineColor(TColor value) { FHeaderLineColor = value; }
    Integer HeaderLineWidth() const { return FHeaderLineWidth; }
    void SetHeaderLineWidth(Integer value) { FHeaderLineWidth = value; }
    bool Summary() const { return FSummary; }
    void SetSummary(bool value) { FSummary = value; }
    TColor SummaryColor() const { return FSummaryColor; }
    void SetSummaryColor(TColor value) { FSummaryColor = value; }
    TColor SummaryColorTo() const { return FSummaryColorTo; }
    void SetSummaryColorTo(TColor value) { FSummaryColorTo = value; }
    TColor SummaryTextColor() const { return FSummaryTextColor; }
    void SetSummaryTextColor(TColor value) { FSummaryTextColor = value; }
    bool SummaryLine() const { return FSummaryLine; }
    void SetSummaryLine(bool value) { FSummaryLine = value; }
    TColor SummaryLineColor() const { return FSummaryLineColor; }
    void SetSummaryLineColor(TColor value) { FSummaryLineColor = value; }
    Integer SummaryLineWidth() const { return FSummaryLineWidth; }
    void SetSummaryLineWidth(Integer value) { FSummaryLineWidth = value; }
    bool ShowGroupCount() const { return FShowGroupCount; }
    void SetShowGroupCount(bool value) { FShowGroupCount = value; }
    const String& GroupCountFormat() const { return FGroupCountFormat; }
    void SetGroupCountFormat(const String& value) { FGroupCountFormat = value; }
    bool AutoSelectGroup() const { return FAutoSelectGroup; }
    void SetAutoSelectGroup(bool value) { FAutoSelectGroup = value; }
    bool AutoCheckGroup() const { return FAutoCheckGroup; }
    void SetAutoCheckGroup(bool value) { FAutoCheckGroup = value; }

private:
    bool FMergeHeader = false;
    bool FMergeSummary = false;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderTextColor = clNone;
    bool FHeaderUnderline = false;
    TColor FHeaderLineColor = clBlue;
    Integer FHeaderLineWidth = 2;
    bool FSummary = false;
    TColor FSummaryColor = clNone;
    TColor FSummaryColorTo = clNone;
    TColor FSummaryTextColor = clNone;
    bool FSummaryLine = false;
    TColor FSummaryLineColor = clBlue;
    Integer FSummaryLineWidth = 2;
    bool FShowGroupCount = false;
    String FGroupCountFormat;
    bool FAutoSelectGroup = false;
    bool FAutoCheckGroup = false;
};

// ---- Drag and drop

// The grid's OLE drag-and-drop switches. Setters store only, except OleDropTarget and OleDropRTF.
class TDragDropSettings : public TPersistent {
    DECLARE_CLASS(TDragDropSettings, TPersistent)

public:
    explicit TDragDropSettings(TComponent* AOwner);
    ~TDragDropSettings() override;

    // Copies the values only, so it neither registers nor revokes the drop target.
    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    // Stores; outside design time then fires OnOleDropTargetChange, where the grid registers its
    // window as a drop target (true) or revokes a registration that succeeded (false).
    bool OleDropTarget() const { return FOleDropTarget; }
    void SetOleDropTarget(bool value);
    bool OleDropSource() const { return FOleDropSource; }
    void SetOleDropSource(bool value) { FOleDropSource = value; }
    bool OleAcceptFiles() const { return FOleAcceptFiles; }
    void SetOleAcceptFiles(bool value) { FOleAcceptFiles = value; }
    bool OleAcceptText() const { return FOleAcceptText; }
    void SetOleAcceptText(bool value) { FOleAcceptText = value; }
    bool OleAcceptURLs() const { return FOleAcceptURLs; }
    void SetOleAcceptURLs(bool value) { FOleAcceptURLs = value; }
    // Also sets the program-wide switch that lets drop targets accept rich text (RTFDropEnabled).
    bool OleDropRTF() const { return FOleDropRTF; }
    void SetOleDropRTF(bool value);
    bool OleEntireRows() const { return FOleEntireRows; }
    void SetOleEntireRows(bool value) { FOleEntireRows = value; }
    bool OleInsertRows() const { return FOleInsertRows; }
    void SetOleInsertRows(bool value) { FOleInsertRows = value; }
    bool OleRemoveRows() const { return FOleRemoveRows; }
    void SetOleRemoveRows(bool value) { FOleRemoveRows = value; }
    bool OleAppendRows() const { return FOleAppendRows; }
    void SetOleAppendRows(bool value) { FOleAppendRows = value; }
    bool OleCopyAlways() const { return FOleCopyAlways; }
    void SetOleCopyAlways(bool value) { FOleCopyAlways = value; }
    bool OleColumnDragDrop() const { return FOleColumnDragDrop; }
    void SetOleColumnDragDrop(bool value) { FOleColumnDragDrop = value; }
    bool OleColumnsOnly() const { return FOleColumnsOnly; }
    void SetOleColumnsOnly(bool value) { FOleColumnsOnly = value; }
    bool OleColumnReorder() const { return FOleColumnReorder; }
    void SetOleColumnReorder(bool value) { FOleColumnReorder = value; }
    bool ShowCells() const { return FShowCells; }
    void SetShowCells(bool value) { FShowCells = value; }

    TNotifyEvent OnOleDropTargetChange;

private:
    TComponent* FOwner;
    bool FOleDropTarget = false;
    bool FOleDropSource = false;
    bool FOleAcceptFiles = true;
    bool FOleAcceptText = true;
    bool FOleAcceptURLs = true;
    bool FOleDropRTF = false;
    bool FOleEntireRows = false;
    bool FOleInsertRows = false;
    bool FOleRemoveRows = false;
    bool FOleAppendRows = false;
    bool FOleCopyAlways = false;
    bool FOleColumnDragDrop = false;
    bool FOleColumnsOnly = false;
    bool FOleColumnReorder = false;
    bool FShowCells = true;
};

// ---- Balloon hints

// Balloon tips of cells. Enable fires OnEnableChange when it changes; the other setters store only.
class TBalloonSettings : public TPersistent {
    DECLARE_CLASS(TBalloonSettings, TPersistent)

public:
    TBalloonSettings();
    ~TBalloonSettings() override;

    // Transparency is not copied; Enable is copied without the event.
    void Assign(TPersistent* source) override;

    bool Enable() const { return FEnable; }
    void SetEnable(bool value);
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value) { FTextColor = value; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    // Milliseconds; -1 uses the system's delay.
    Integer InitialDelay() const { return FInitialDelay; }
    void SetInitialDelay(Integer value) { FInitialDelay = value; }
    Integer AutoHideDelay() const { return FAutoHideDelay; }
    void SetAutoHideDelay(Integer value) { FAutoHideDelay = value; }
    Integer ReshowDelay() const { return FReshowDelay; }
    void SetReshowDelay(Integer value) { FReshowDelay = value; }
    Byte Transparency() const { return FTransparency; }
    void SetTransparency(Byte value) { FTransparency = value; }

    TNotifyEvent OnEnableChange;

private:
    bool FEnable = false;
    TColor FTextColor = clNone;
    TColor FBackgroundColor = clNone;
    Integer FInitialDelay = -1;
    Integer FAutoHideDelay = -1;
    Integer FReshowDelay = -1;
    Byte FTransparency = 0;
};

// ---- Modified cells

// The highlighting of modified cells. Color fires OnChange on every call; Enabled stores only.
class TShowModified : public TPersistent {
    DECLARE_CLASS(TShowModified, TPersistent)

public:
    TShowModified();
    ~TShowModified() override;

    void Assign(TPersistent* source) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value);

    TNotifyEvent OnChange;

private:
    bool FEnabled = false;
    TColor FColor = clYellow;
};

// ---- Progress bars

// The look of progress-bar cells. Every setter acts only on a change, and then fires OnChange.
class TGridProgressAppearance : public TPersistent {
    DECLARE_CLASS(TGridProgressAppearance, TPersistent)

public:
    TGridProgressAppearance();
    ~TGridProgressAppearance() override;

    // Copies every property, then fires OnChange once.
    void Assign(TPersistent* source) override;

    TColor CompleteColor() const { return FCompleteColor; }
    void SetCompleteColor(TColor value) { Change(FCompleteColor, value); }
    TColor UnCompleteColor() const { return FUnCompleteColor; }
    void SetUnCompleteColor(TColor value) { Change(FUnCompleteColor, value); }
    TColor CompleteFontColor() const { return FCompleteFontColor; }
    void SetCompleteFontColor(TColor value) { Change(FCompleteFontColor, value); }
    TColor UnCompleteFontColor() const { return FUnCompleteFontColor; }
    void SetUnCompleteFontColor(TColor value) { Change(FUnCompleteFontColor, value); }
    TColor Level0Color() const { return FLevel0Color; }
    void SetLevel0Color(TColor value) { Change(FLevel0Color, value); }
    TColor Level0ColorTo() const { return FLevel0ColorTo; }
    void SetLevel0ColorTo(TColor value) { Change(FLevel0ColorTo, value); }
    TColor Level1Color() const { return FLevel1Color; }
    void SetLevel1Color(TColor value) { Change(FLevel1Color, value); }
    TColor Level1ColorTo() const { return FLevel1ColorTo; }
    void SetLevel1ColorTo(TColor value) { Change(FLevel1ColorTo, value); }
    TColor Level2Color() const { return FLevel2Color; }
    void SetLevel2Color(TColor value) { Change(FLevel2Color, value); }
    TColor Level2ColorTo() const { return FLevel2ColorTo; }
    void SetLevel2ColorTo(TColor value) { Change(FLevel2ColorTo, value); }
    TColor Level3Color() const { return FLevel3Color; }
    void SetLevel3Color(TColor value) { Change(FLevel3Color, value); }
    TColor Level3ColorTo() const { return FLevel3ColorTo; }
    void SetLevel3ColorTo(TColor value) { Change(FLevel3ColorTo, value); }
    // Percentages at which the level 1 and level 2 colours begin.
    Integer Level1Perc() const { return FLevel1Perc; }
    void SetLevel1Perc(Integer value) { Change(FLevel1Perc, value); }
    Integer Level2Perc() const { return FLevel2Perc; }
    void SetLevel2Perc(Integer value) { Change(FLevel2Perc, value); }
    Integer Steps() const { return FSteps; }
    void SetSteps(Integer value) { Change(FSteps, value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { Change(FBorderColor, value); }
    bool ShowBorder() const { return FShowBorder; }
    void SetShowBorder(bool value) { Change(FShowBorder, value); }
    bool Stacked() const { return FStacked; }
    void SetStacked(bool value) { Change(FStacked, value); }
    bool ShowPercentage() const { return FShowPercentage; }
    void SetShowPercentage(bool value) { Change(FShowPercentage, value); }
    bool CompletionSmooth() const { return FCompletionSmooth; }
    void SetCompletionSmooth(bool value) { Change(FCompletionSmooth, value); }
    bool ShowGradient() const { return FShowGradient; }
    void SetShowGradient(bool value) { Change(FShowGradient, value); }
    TProgressStyle Style() const { return FStyle; }
    void SetStyle(TProgressStyle value) { Change(FStyle, value); }

    TNotifyEvent OnChange;

private:
    template <class T> void Change(T& field, T value) {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    void Changed();

    TColor FCompleteColor = clRed;
    TColor FUnCompleteColor = clNone;
    TColor FCompleteFontColor = clBlue;
    TColor FUnCompleteFontColor = clWindowText;
    TColor FLevel0Color = 0x00FF00;
    TColor FLevel0ColorTo = 0xE1FFE1;
    TColor FLevel1Color = 0x00FFFF;
    TColor FLevel1ColorTo = 0xCAFFFF;
    TColor FLevel2Color = 0x53A9FF;
    TColor FLevel2ColorTo = 0xA8D3FF;
    TColor FLevel3Color = 0x0000FF;
    TColor FLevel3ColorTo = 0xCACAFF;
    Integer FLevel1Perc = 70;
    Integer FLevel2Perc = 90;
    Integer FSteps = 11;
    TColor FBorderColor = clBlack;
    bool FShowBorder = false;
    bool FStacked = false;
    bool FShowPercentage = true;
    bool FCompletionSmooth = true;
    bool FShowGradient = true;
    TProgressStyle FStyle = psXP;
};

// ---- Automatic colours

// A text and a background colour. Each setter, on a change, stores and calls Changed.
class TColorSetting : public TPersistent {
    DECLARE_CLASS(TColorSetting, TPersistent)

public:
    TColorSetting();
    ~TColorSetting() override;

    // Copies both colours without notification.
    void Assign(TPersistent* source) override;

    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor value);
    TColor BkgColor() const { return FBkgColor; }
    void SetBkgColor(TColor value);

    TNotifyEvent OnChange;

protected:
    // Fires OnChange.
    virtual void Changed();

private:
    TColor FTextColor = clNone;
    TColor FBkgColor = clNone;
};

// The colours of negative and positive numbers. A change of either setting fires OnChange.
class TAutoColor : public TPersistent {
    DECLARE_CLASS(TAutoColor, TPersistent)

public:
    TAutoColor();
    ~TAutoColor() override;

    void Assign(TPersistent* source) override;

    TColorSetting* NegativeNumber() const { return FNegativeNumber.get(); }
    void SetNegativeNumber(TColorSetting* value) { FNegativeNumber->Assign(value); }
    TColorSetting* PositiveNumber() const { return FPositiveNumber.get(); }
    void SetPositiveNumber(TColorSetting* value) { FPositiveNumber->Assign(value); }
    // False when all four colours are clNone.
    bool HasColors() const;

    TNotifyEvent OnChange;

protected:
    // Fires OnChange.
    virtual void Changed();

private:
    std::unique_ptr<TColorSetting> FNegativeNumber;
    std::unique_ptr<TColorSetting> FPositiveNumber;
};

// ---- Hover buttons

// One button of the row under the mouse.
class THoverButtonsCollectionItem : public TCollectionItem {
    DECLARE_CLASS(THoverButtonsCollectionItem, TCollectionItem)

public:
    explicit THoverButtonsCollectionItem(TCollection* collection);
    ~THoverButtonsCollectionItem() override;

    // ImageIndex is not copied.
    void Assign(TPersistent* source) override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value) { FFlat = value; }
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer value) { FImageIndex = value; }
    // The setter copies the given picture in.
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* value) { FPicture->Assign(value); }
    Integer Tag() const { return FTag; }
    void SetTag(Integer value) { FTag = value; }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer value) { FWidth = value; }

private:
    String FCaption;
    String FHint;
    bool FEnabled = true;
    bool FFlat = false;
    Integer FImageIndex = 0;
    std::unique_ptr<TPicture> FPicture;
    Integer FTag = 0;
    Integer FWidth = 0;
};

// The hover buttons; the collection owns them.
class THoverButtonsCollection : public TOwnedCollection {
    DECLARE_CLASS(THoverButtonsCollection, TOwnedCollection)

public:
    explicit THoverButtonsCollection(TPersistent* AOwner);
    ~THoverButtonsCollection() override;

    THoverButtonsCollectionItem* Add();
    THoverButtonsCollectionItem* Insert(Integer Index);
    THoverButtonsCollectionItem* Items(Integer Index) const;
    void SetItems(Integer Index, THoverButtonsCollectionItem* value);
};

// The buttons shown on the row under the mouse. Setters store only; Buttons copies the collection in.
class THoverButtons : public TPersistent {
    DECLARE_CLASS(THoverButtons, TPersistent)

public:
    explicit THoverButtons(TComponent* AOwner);
    ~THoverButtons() override;

    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    THoverButtonsCollection* Buttons() const { return FButtons.get(); }
    void SetButtons(THoverButtonsCollection* value) { FButtons->Assign(value); }
    Integer Column() const { return FColumn; }
    void SetColumn(Integer value) { FColumn = value; }
    THoverButtonPosition Position() const { return FPosition; }
    void SetPosition(THoverButtonPosition value) { FPosition = value; }
    THoverRows Rows() const { return FRows; }
    void SetRows(THoverRows value) { FRows = value; }

private:
    TComponent* FOwner;
    bool FEnabled = false;
    std::unique_ptr<THoverButtonsCollection> FButtons;
    Integer FColumn = 0;
    THoverButtonPosition FPosition = hbLeftFromColumnLeft;
    THoverRows FRows = hrNormal;
};

// ---- Header drag button

// The floating image of a column header while the user drags the column: a bordered popup window that
// saves the screen under it. The grid creates one, parented by itself, disabled and hidden.
class THeaderDragButton : public TCustomControl {
    DECLARE_CLASS(THeaderDragButton, TCustomControl)

public:
    explicit THeaderDragButton(TComponent* AOwner);
    ~THeaderDragButton() override;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value) { FFlat = value; }
    TAdvStringGrid* Grid() const { return FGrid; }
    void SetGrid(TAdvStringGrid* value) { FGrid = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    String FCaption;
    bool FFlat = false;
    TAdvStringGrid* FGrid = nullptr;
};
