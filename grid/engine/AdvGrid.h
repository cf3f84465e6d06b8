// The full string grid: the one declaration of TAdvStringGrid, whose members are defined in the grid's
// engine, view and file folders, one .cpp per concern.
//
// Contents (each section names the file that defines its members):
//   construction, lifecycle, changed cells           (grid/engine/AdvGrid.cpp)
//   property setters                                  (grid/engine/AdvGridSetters.cpp)
//   rows and columns                                  (grid/engine/AdvGridRows.cpp)
//   removing rows and columns                         (grid/engine/AdvGridRemove.cpp)
//   hidden rows and columns                           (grid/engine/AdvGridHidden.cpp)
//   filtering                                         (grid/engine/AdvGridFiltering.cpp)
//   find, replace and type-ahead search               (grid/engine/AdvGridFind.cpp)
//   nodes and outline                                 (grid/engine/AdvGridNodes.cpp)
//   grouping and group calculations                   (grid/engine/AdvGridGroup.cpp)
//   calculations                                      (grid/engine/AdvGridCalc.cpp)
//   sorting                                           (grid/engine/AdvGridSort.cpp)
//   fills, date and time cells, auto numbering        (grid/engine/AdvGridHeaders.cpp)
//   text highlight, error marks, cell checking        (grid/engine/AdvGridMarks.cpp)
//   cell objects                                      (grid/engine/AdvGridCellObjects.cpp)
//   pictures, image lists, rotated and interfaced     (grid/engine/AdvGridCellGraphic.cpp)
//   indicators, comments, markers and balloons        (grid/engine/AdvGridIndicators.cpp)
//   cell content queries                              (grid/engine/AdvGridCellQueries.cpp)
//   radio groups, buttons and expand cells            (grid/engine/AdvGridButtons.cpp)
//   cell range operations                             (grid/engine/AdvGridRanges.cpp)
//   per-cell queries, check-box state, editor relays  (grid/engine/AdvGridQueries.cpp)
//   balloons and settings change handlers             (grid/engine/AdvGridBalloon.cpp)
//   window procedure, mouse wheel, wheel panning      (grid/engine/AdvGridWndProc.cpp)
//   left-button press                                 (grid/view/AdvGridMouse.cpp)
//   mouse press and release overrides                 (grid/view/AdvGridMouseOverrides.cpp)
//   left-button release, sorting by header click      (grid/view/AdvGridMouseRelease.cpp)
//   double click and right button                     (grid/view/AdvGridMouseClicks.cpp)
//   mouse move: hover, links, cursor, drag feedback   (grid/view/AdvGridMouseMove.cpp)
//   column and row moving                             (grid/view/AdvGridMoving.cpp)
//   drag auto-scroll                                  (grid/view/AdvGridDragScroll.cpp)
//   editor commit and cancel                          (grid/view/AdvGridEditCommit.cpp)
//   cell selection change                             (grid/view/AdvGridSelectCell.cpp)
//   clipboard                                         (grid/files/AdvGridClipboard.cpp)
//   filter drop-down, filter row, fixed-cell editors  (grid/view/AdvGridFilter.cpp)
//   in-place editor hand-over, key release, scrolling (grid/engine/AdvGridEditHandOver.cpp)
//   headers in the fixed cells                        (grid/engine/AdvGridHeaders.cpp)
//   check boxes in cells                              (grid/engine/AdvGridCheckBoxes.cpp)
//   selection state                                   (grid/engine/AdvGridSelection.cpp)
//   navigation services                               (grid/engine/AdvGridNavigation.cpp)
//   Enter-key advance and key presses                 (grid/engine/AdvGridKeys.cpp)
//   theme and border                                  (grid/view/AdvGridTheme.cpp)
//   grid styles and colour tones                      (grid/view/AdvGridStyles.cpp)
//   notification hooks and filter-type choice         (grid/view/AdvGridHooks.cpp)
//   column order and wide cells                       (grid/view/AdvGridCarriers.cpp)
//   editors                                           (grid/view/AdvGridEditing.cpp)
//   the spin in-place editor                          (grid/view/AdvGridSpinEdit.cpp)
//   in-place editing, cell selection change           (grid/view/AdvGridEditStart.cpp and beside it)
//   typed cell values and displayed text              (grid/engine/AdvGridValues.cpp)
//   automatic sizing, row and column swaps            (grid/engine/AdvGridSizing.cpp)
//   look presets, link settings, small grid services  (grid/engine/AdvGridLookPresets.cpp)
//   sorting                                           (grid/engine/AdvGridSort.cpp)
//   focus frame                                       (grid/view/AdvGridFocus.cpp)
//   update locking                                    (grid/view/AdvGridUpdate.cpp)
//   current cell, scrolling into view, moving lines   (grid/engine/AdvGridCurrent.cpp)
//   paint cycle                                       (grid/view/AdvGridPaint.cpp)
//   cell visual properties                            (grid/view/AdvGridVisual.cpp)
//   cell content drawing                              (grid/view/AdvGridPaintContent.cpp)
//   in-cell graphics and controls                     (grid/view/AdvGridPaintGraphics.cpp)
//   rotated text                                      (grid/view/AdvGridRotatedText.cpp)
//   cell text drawing, measurement, displayed text    (grid/view/AdvGridCellText.cpp)
//   cell text access                                  (grid/engine/AdvGridCellAccess.cpp)
//   cell looks, row colours, cell controls, zoom      (grid/engine/AdvGridCellLook.cpp)
//   scroll bars                                       (grid/view/AdvGridScroll.cpp)
//   floating footer                                   (grid/view/AdvGridFooter.cpp)
//   column stretching and size notifications          (grid/view/AdvGridStretch.cpp)
//   native text file and stream form                  (grid/files/AdvGridFiles.cpp)
//   column states                                     (grid/files/AdvGridColumnState.cpp)
//   keyboard handling                                 (grid/view/AdvGridKeyboard.cpp)
//   clipboard                                         (grid/files/AdvGridClipboard.cpp)
//   cell hints and balloon tips                       (grid/view/AdvGridCellHints.cpp)
//   selected cells and the key-down step              (grid/view/AdvGridSelectedCells.cpp)
//   cell validation and change tracking               (grid/view/AdvGridValidate.cpp)
//   focus handling                                    (grid/view/AdvGridFocusHandling.cpp)
//   tab advance and navigation routines               (grid/view/AdvGridTabAdvance.cpp)
//   grid timer, resizing, other window messages       (grid/view/AdvGridTimer.cpp)
//   spreadsheet exchange through automation           (grid/files/AdvGridXLS.cpp)
//   print job and page engine                         (grid/files/AdvGridPrint.cpp)
//   printer-canvas cell drawing                       (grid/files/AdvGridPrintCell.cpp)
//   print settings in INI form                        (grid/files/AdvGridPrintSettings.cpp)
//   owned settings objects and inner controls         (created in grid/engine/AdvGrid.cpp)
//   fields
//
// The owned settings groups and inner controls are std::unique_ptr members: the grid creates them in its
// constructor and frees them in its destructor, whatever their Owner says. Settings groups are published
// under their field's name without the F; writing one copies into the grid's own instance.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "grid/engine/AdvGridCellObjects.h"
#include "grid/engine/AdvGridHiddenStore.h"
#include "grid/engine/AdvGridQueryTypes.h"
#include "grid/engine/AdvGridSearchTypes.h"
#include "grid/engine/AdvGridSettings.h"
#include "grid/engine/AdvGridTypes.h"
#include "grid/engine/AdvObj.h"
#include "grid/engine/AdvUtil.h"
#include "grid/engine/BaseGrid.h"
#include "grid/files/AdvGridPrintTypes.h"
#include "grid/view/AdvGridDragScroll.h"
#include "grid/view/AdvGridEditors.h"
#include "grid/view/AdvGridFilter.h"
#include "grid/view/AdvGridFooter.h"
#include "grid/view/AdvGridHint.h"
#include "grid/view/AdvGridInplaceEdit.h"
#include "grid/view/AdvGridLook.h"
#include "grid/view/AdvGridMouseTypes.h"
#include "grid/view/AdvGridPaintTypes.h"
#include "grid/view/AdvGridScrollControl.h"
#include "grid/view/AdvGridSearch.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/Menus.h"
#include "platform/framework/RichEdit.h"
#include "platform/framework/StdScroll.h"
#include "render/AdvHintInfo.h"
#include "render/AdvStyleIF.h"
#include "render/PictureContainer.h"

class TRichEdit;
struct THintInfo;
class TCustomIniFile;

// The identifier of the window timer that drives blinking and hover; it runs while the window exists.
inline constexpr UINT_PTR GridTimerID = 111;
inline constexpr UINT GridTimerPeriod = 500;
// The hidden-column map has this many entries, of which 0 .. 511 are honoured: a column at 512 or above
// is never hidden.
inline constexpr Integer VisibleColEntries = 513;

class TAdvStringGrid : public TBaseGrid, public IQELStyle, public IQELTones {
    DECLARE_CLASS(TAdvStringGrid, TBaseGrid)

public:
    // ---- Construction, lifecycle, changed cells (AdvGrid.cpp)

    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;

    // Copies settings, layout and cells from another TAdvStringGrid; any other source is ignored.
    void Assign(TPersistent* Source) override;
    // Copies the cell texts (fixed cells too) and the counts from another TAdvStringGrid; settings stay.
    virtual void AssignCells(TPersistent* Source);
    // With IntegralHeight the height is cut to a whole number of default rows.
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    // Repaints the grid, unless the repaint right after an in-place edit change is to be swallowed.
    void Invalidate() override;

    // Fires OnCellsChanged, tells every registered notifier, then recalculates all footers.
    virtual void DoCellsChanged(const TRect& R);
    virtual void CellsChangedHook();
    void RegisterNotifier(TGridChangeNotifier* notifier) { FNotifierList->Register(notifier); }
    void UnRegisterNotifier(TGridChangeNotifier* notifier) { FNotifierList->UnRegister(notifier); }

    // True for a grid newly placed on a form at design time: in design mode, and the owner neither
    // reading nor loading a stored description.
    bool DesignTimeInit() const { return FDesignTimeInit; }
    // The window timer is running (between CreateWnd and DestroyWnd).
    bool GridTimerRunning() const { return FGridTimerID != 0; }

    // IQELStyle, IQELTones and the grid's own styles: see the styles section (AdvGridStyles.cpp).
    void SetComponentStyle(TQELStyle AStyle) override;
    void SetColorTones(TColorTones ATones) override;
    virtual void SetStyle(TAdvGridStyle AStyle);

    TCellsChangedEvent OnCellsChanged;
    TGridResizeEvent OnGridResize;
    TGetEditMaskEvent OnGetEditMask;
    TButtonClickEvent OnButtonClick;
    TUnitChangedEvent OnUnitChanged;

    // ---- Property setters (AdvGridSetters.cpp)
    // These store and repaint only when the value changed.

    TColor SelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value);
    TColor SelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value);
    TColor SelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor Value);
    TColor SelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor Value);
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value);
    bool SelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value);
    bool SelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value);
    bool SelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool Value);
    TAlignment DefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value);

    // These do more than store; see each.
    Integer SelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    // Clamped to 0 .. 100.
    void SetSelectionColorMixerFactor(Integer Value);
    bool ShowSelection() const { return FShowSelection; }
    // Also the base grid's selection flag.
    void SetShowSelection(bool Value);
    TColor BorderColor() const { return FBorderColor; }
    // Redraws the border for the styled looks when the parent has a window.
    void SetBorderColor(TColor Value);
    Integer MaxEditLength() const { return FMaxEditLength; }
    // Also the length limit of the normal in-place editor when it exists.
    void SetMaxEditLength(Integer Value);
    bool SizeWithForm() const { return FSizeWithForm; }
    // A change anchors the grid on all four sides, whichever value is written.
    void SetSizeWithForm(bool Value);
    bool SpreadSheet() const { return FSpreadSheet; }
    // Either value turns on the selection rectangle and resizer, smart clipboard, range selection,
    // editing and range-select-and-edit; nothing is turned off again for false.
    void SetSpreadSheet(bool Value);
    TVAlignment VAlignment() const { return FVAlignment; }
    // Stores the text-drawing flag DT_TOP, DT_VCENTER or DT_BOTTOM; repaints unless an update runs.
    void SetVAlignment(TVAlignment Value);
    // The text-drawing flag of VAlignment.
    UINT VAlign() const { return FVAlign; }
    bool AutoSize() const { return FAutoSize; }
    // True outside loading sizes the normal columns to their contents plus 10 pixels. The grid's own
    // flag: the control's automatic sizing stays off.
    void SetAutoSize(bool Value) override;
    bool Flat() const { return FFlat; }
    // Repaints unless loading.
    void SetFlat(bool Value);
    // Copied into the grid's own instances.
    TSortSettings* SortSettings() const { return FSortSettings.get(); }
    void SetSortSettings(TSortSettings* Value) { FSortSettings->Assign(Value); }
    TDragScrollOptions* DragScrollOptions() const { return FDragScrollOptions.get(); }
    void SetDragScrollOptions(TDragScrollOptions* Value) { FDragScrollOptions->Assign(Value); }
    TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }
    TAutoColor* AutoColor() const { return FAutoColor.get(); }
    void SetAutoColor(TAutoColor* Value) { FAutoColor->Assign(Value); }

    // Plain properties of the grid's look and behaviour that Assign copies.
    TGridLook Look() const { return FLook; }
    // Setting a look other than the present one clears the fixed cells' gradient colours and sets the
    // look's colours, selection style and scroll type: the styled looks through SetStyle, the others
    // (unless the grid is being loaded) with their fixed, line, selection and search footer colours;
    // every look but glCustom also sets BorderColor. Repaints. Defined with the look presets.
    void SetLook(TGridLook Value);
    TQELStyle Style() const { return FStyle; }
    bool IntegralHeight() const { return FIntegralHeight; }
    // Applies the present bounds again, so the height snaps to whole rows; defined with the cell looks.
    void SetIntegralHeight(bool Value);
    TColor ActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor Value) { FActiveCellColor = Value; }
    TColor ActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor Value) { FActiveCellColorTo = Value; }
    bool ActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value) { FActiveCellShow = Value; }
    TFont* ActiveCellFont() const { return FActiveCellFont.get(); }
    TFont* FixedFont() const { return FFixedFont.get(); }
    TColor DisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor Value) { FDisabledFontColor = Value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    TColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value) { FHighlightColor = Value; }
    TColor HighlightTextColor() const { return FHighLightTextColor; }
    void SetHighlightTextColor(TColor Value) { FHighLightTextColor = Value; }
    TColor URLColor() const { return FURLColor; }
    bool FixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool Value) { FFixedRowAlways = Value; }
    Integer FixedRowHeight() const { return FFixedRowHeight; }
    Integer FixedColWidth() const { return FFixedColWidth; }
    Integer FixedFooters() const { return FFixedFooters; }
    // The footer rows and right columns keep their contents; only the look changes.
    void SetFixedFooters(Integer Value) {
        FFixedFooters = Value;
        Invalidate();
    }
    Integer FixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(Integer Value) {
        FFixedRightCols = Value;
        Invalidate();
    }
    bool EnableHTML() const { return FEnableHTML; }
    void SetEnableHTML(bool Value) { FEnableHTML = Value; }
    bool EnhRowColMove() const { return FEnhRowColMove; }
    void SetEnhRowColMove(bool Value) { FEnhRowColMove = Value; }
    bool IntelliZoom() const { return FIntelliZoom; }
    void SetIntelliZoom(bool Value) { FIntelliZoom = Value; }
    bool MultilineCells() const { return FMultilineCells; }
    void SetMultilineCells(bool Value) { FMultilineCells = Value; }
    Integer MaxComboLength() const { return FMaxComboLength; }
    void SetMaxComboLength(Integer Value) { FMaxComboLength = Value; }
    bool AutoFilterUpdate() const { return FAutoFilterUpdate; }
    void SetAutoFilterUpdate(bool Value) { FAutoFilterUpdate = Value; }
    String FloatFormat() const { return FFloatFormat; }
    String CheckTrue() const { return FCheckTrue; }
    String CheckFalse() const { return FCheckFalse; }
    TInvalidEntryIcon InvalidEntryIcon() const { return FInvalidEntryIcon; }
    String InvalidEntryTitle() const { return FInvalidEntryTitle; }
    void SetInvalidEntryTitle(const String& Value) { FInvalidEntryTitle = Value; }
    String InvalidEntryText() const { return FInvalidEntryText; }
    void SetInvalidEntryText(const String& Value) { FInvalidEntryText = Value; }
    TStringList* ColumnHeaders() const { return FColumnHeaders.get(); }
    TStringList* RowHeaders() const { return FRowHeaders.get(); }
    TStringList* LookupItems() const { return FLookupItems.get(); }
    bool ColVisible(Integer ACol) const {
        return ACol < 0 || ACol >= VisibleColEntries - 1 || FVisibleCol[ACol];
    }

    // Settings groups; writing one copies into the grid's own instance.
    TColumnSize* ColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(TColumnSize* Value) { FColumnSize->Assign(Value); }
    TPrintSettings* PrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(TPrintSettings* Value) { FPrintSettings->Assign(Value); }
    THTMLSettings* HTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(THTMLSettings* Value) { FHTMLSettings->Assign(Value); }
    TDragDropSettings* DragDropSettings() const { return FDragDropSettings.get(); }
    void SetDragDropSettings(TDragDropSettings* Value) { FDragDropSettings->Assign(Value); }
    TControlLook* ControlLook() const { return FControlLook.get(); }
    void SetControlLook(TControlLook* Value) { FControlLook->Assign(Value); }
    TNavigation* Navigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation* Value) { FNavigation->Assign(Value); }
    TMouseActions* MouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions* Value) { FMouseActions->Assign(Value); }
    TSearchFooter* SearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* Value) { FSearchFooter->Assign(Value); }
    TFloatingFooter* FloatingFooter() const { return FFloatingFooter.get(); }
    void SetFloatingFooter(TFloatingFooter* Value) { FFloatingFooter->Assign(Value); }
    TCellNode* CellNode() const { return FCellNode.get(); }
    void SetCellNode(TCellNode* Value) { FCellNode->Assign(Value); }
    TBands* Bands() const { return FBands.get(); }
    void SetBands(TBands* Value) { FBands->Assign(Value); }
    TGrouping* Grouping() const { return FGrouping.get(); }
    void SetGrouping(TGrouping* Value) { FGrouping->Assign(Value); }
    TBackGround* BackGround() const { return FBackGround.get(); }
    void SetBackGround(TBackGround* Value) { FBackGround->Assign(Value); }
    TGridProgressAppearance* ProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(TGridProgressAppearance* Value) { FProgressAppearance->Assign(Value); }
    TSyncGrid* SyncGrid() const { return FSyncGrid.get(); }
    void SetSyncGrid(TSyncGrid* Value) { FSyncGrid->Assign(Value); }
    TFilter* Filter() const { return FFilter.get(); }
    void SetFilter(TFilter* Value) { FFilter->Assign(Value); }
    TFilterDropDown* FilterDropDown() const { return FFilterDropDown.get(); }
    void SetFilterDropDown(TFilterDropDown* Value) { FFilterDropDown->Assign(Value); }
    TFilterEdit* FilterEdit() const { return FFilterEdit.get(); }
    void SetFilterEdit(TFilterEdit* Value) { FFilterEdit->Assign(Value); }
    TBalloonSettings* Balloon() const { return FBalloonSettings.get(); }
    void SetBalloon(TBalloonSettings* Value) { FBalloonSettings->Assign(Value); }
    TShowModified* ShowModified() const { return FShowModified.get(); }
    void SetShowModified(TShowModified* Value) { FShowModified->Assign(Value); }
    THoverButtons* HoverButtons() const { return FHoverButtons.get(); }
    void SetHoverButtons(THoverButtons* Value) { FHoverButtons->Assign(Value); }
    TFocusHelper* FocusHelper() const { return FFocusHelper.get(); }
    void SetFocusHelper(TFocusHelper* Value) { FFocusHelper->Assign(Value); }
    TSizeWhileTyping* SizeWhileTyping() const { return FSizeWhileTyping.get(); }
    void SetSizeWhileTyping(TSizeWhileTyping* Value) { FSizeWhileTyping->Assign(Value); }

    // ---- Focus frame (grid/view/AdvGridFocus.cpp)

    // Moves the focus frame to the current cell's screen rectangle grown by 4 pixels, or hides it and
    // gives up FocusWindowGrid when the cell is out of view (UpdateFocusWindow).
    void UpdateFocusFrame();

    // ---- Update locking (grid/view/AdvGridUpdate.cpp)
    // A plain counter: while it is above 0 the window does not redraw, and the last EndUpdate repaints
    // once. BeginUpdate and EndUpdate act only while the grid is Visible, so they pair up as long as the
    // grid stays visible; StartUpdate and ResetUpdate only raise and zero the count.

    void BeginUpdate();
    void EndUpdate();
    void StartUpdate() { ++FUpdateCount; }
    // Also repaints what paints left undrawn during the lock.
    void ResetUpdate() {
        FUpdateCount = 0;
        RepaintLockedArea();
    }
    bool LockUpdate() const { return FUpdateCount != 0; }
    void SetLockUpdate(bool Value) { Value ? BeginUpdate() : EndUpdate(); }

    // ---- Current cell, scrolling into view, moving rows and columns (AdvGridCurrent.cpp)
    // Row, Col and TopRow hide the framework grid's. Rows and columns move with their texts, records and
    // heights or widths; a move outside the grid does nothing and a block reaching past it is clipped.

    Integer Row() const { return TBaseGrid::Row(); }
    // Makes the row current, first putting the current cell back into a column when it lies outside
    // (a hidden selection). When the row changed and differs from the one last reported, fires
    // OnRowChanged; a synchronised grid with SelectionRow follows when it has the row. Writing the
    // present row changes nothing. A row outside the grid raises the framework's EInvalidGridOperation.
    void SetRow(Integer Value);
    Integer Col() const { return TBaseGrid::Col(); }
    // As SetRow, for the column: a current row outside the rows is first put back on the first normal
    // row, and a synchronised grid with SelectionColumn follows.
    void SetCol(Integer Value);
    Integer TopRow() const { return TBaseGrid::TopRow(); }
    // Applied only for FixedRows <= Value <= RowCount - 1; any other value is ignored.
    void SetTopRow(Integer Value);
    // Makes a cell that is out of view current and scrolls it to the middle, the bottom or the top of
    // the view; a cell outside the grid does nothing. With the search footer shown, scrolls on until
    // the row is clear of the search panel.
    void ScrollInView(Integer ColIndex, Integer RowIndex, TScrollPosition Position);
    // Saves the selection and moves it to the cell (ColCount, RowCount), just outside the grid, so that
    // none shows. Hiding a hidden selection again keeps the one saved first.
    void HideSelection();
    // Restores the saved selection, cut to the grid; when the grid shrank above its top or left, the
    // first normal cell is selected instead.
    void UnHideSelection();
    bool SelHidden() const { return FSelHidden; }
    // Asks the cell selection about the current cell again.
    void UpdateEditMode();
    // Records the present column order, 0 .. ColCount - 1, as the base order.
    void SetColumnOrder();
    // The display position of the column recorded as ACol; ACol itself when no order is recorded or
    // the column is not in it.
    Integer ColumnPosition(Integer ACol) const;
    // Moves a displayed column with its cells, records and width (recording the column order first when
    // none is); the order entry and the cell controls follow.
    void MoveColumn(Integer FromIndex, Integer ToIndex);
    // Moves a row with its cells, records and height and fires OnRowMoved; cell controls, the modified
    // and enabled row flags and the hidden rows' indexes follow. A visible floating footer's row
    // neither moves nor is passed.
    void MoveRow(Integer FromIndex, Integer ToIndex);
    // Moves Count rows from FromIndex in one pass, as MoveRow does without OnRowMoved. ToIndex is where
    // the block starts afterwards, except that a ToIndex past the block's end names the row the block
    // goes before.
    void MoveRows(Integer FromIndex, Integer ToIndex, Integer Count);

    TRowChangedEvent OnRowChanged;

protected:
    // The column's cells move at stored indexes when columns are hidden, and the recorded order entry
    // moves with them.
    void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
    // Keeps the hidden-column flags and widths and the hidden rows' cells in step when the stored
    // column FromCol moves to ToCol; defined with the hidden rows and columns (AdvGridHidden.cpp).
    void MoveHiddenColumn(Integer FromCol, Integer ToCol);

    Integer FAECol = -1; // the cell the automatic advance of editing remembers; reset by Row and Col
    Integer FAERow = -1;
    bool FSelHidden = false; // the selection is moved outside the grid
    TGridRect FOldSelection; // the selection HideSelection saved

private:
    // Keeps the cell controls, the row flags and the hidden rows in step after the Count rows from
    // FromIndex moved to start at ToIndex.
    void RowsMoved(Integer FromIndex, Integer Count, Integer ToIndex);
    // A synchronised grid with SelectionRow takes the current row.
    void FollowSyncGridRow();
    // Scrolls down while the bottom of row ARow lies below limit and TopRow is below lastTop.
    void ScrollRowAbove(Integer ARow, Integer limit, Integer lastTop);

public:
    // ---- Rows and columns (AdvGridRows.cpp)
    // RowCount and ColCount count displayed lines; rows beyond RowCount keep their data, and growing
    // the count again shows it. Growing by AddRow or InsertRows frees what was kept in the rows it takes
    // in, records included, so every new row starts empty.

    Integer RowCount() const { return TBaseGrid::RowCount(); }
    // Also keeps FMaxRowCount, the fixed rows asked for with FixedRowAlways and a visible floating
    // footer's row at the end.
    void SetRowCount(Integer Value);
    Integer ColCount() const { return TBaseGrid::ColCount(); }
    void SetColCount(Integer Value);
    // With FixedRowAlways (FixedColAlways) at least one fixed row (column) reads, and a count that
    // leaves no room is cut while the asked-for count is kept and applied again once it fits.
    bool FixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool Value) { FFixedColAlways = Value; }
    Integer FixedRows() const;
    void SetFixedRows(Integer Value);
    Integer FixedCols() const;
    void SetFixedCols(Integer Value);
    // In design mode also the fixed rows' height; a visible floating footer follows it.
    void SetDefaultRowHeight(Integer Value);
    // Word wrap of the cells and of the in-place editor; repaints unless inside an update.
    bool WordWrap() const { return FWordWrapEx; }
    void SetWordWrap(bool Value);
    // Gives every fixed row this height, unless loading or equal to DefaultRowHeight.
    void SetFixedRowHeight(Integer Value);
    // Gives every fixed column this width, unless loading or equal to DefaultColWidth.
    void SetFixedColWidth(Integer Value);

    // Appends one empty row, above a visible floating footer row.
    void AddRow();
    void AddColumn() { InsertCols(ColCount(), 1); }
    // Inserts RCount empty rows before RowIndex (clipped to 0 .. RowCount) in one pass, hidden columns'
    // cells moving with their rows; a count below 1 changes nothing. Moves cell controls of the rows
    // below when UpdateCellControls, and reports the changed cells.
    virtual void InsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls = true);
    // Inserts CCount empty columns before ColIndex (clipped to 0 .. ColCount); reports no change.
    virtual void InsertCols(Integer ColIndex, Integer CCount);

    // Clears the inclusive range of stored cells: texts, records (unless FClearTextOnly; only dropped
    // with FNilObjects) and owned user objects. A reversed range does nothing and one past the stored
    // cells is clipped. Reports the change unless FBlockCellChange.
    virtual void ClearRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2);
    void ClearRows(Integer RowIndex, Integer RCount);
    void ClearCols(Integer ColIndex, Integer CCount);
    // Rows without the fixed columns; columns without the fixed and footer rows.
    void ClearNormalRows(Integer RowIndex, Integer RCount);
    void ClearNormalCols(Integer ColIndex, Integer CCount);
    // Every cell that is not fixed, hidden columns included.
    void ClearNormalCells();
    void Clear();
    // Every cell up to the highest counts the grid has had.
    void ClearAll();
    // The cells of the selection rectangle.
    void ClearSelection();

protected:
    // InsertRows' work, also used when hidden rows come back.
    void InsertRowsCore(Integer RowIndex, Integer RCount, bool UpdateCellControls);
    // Frees the records (and owned user objects) kept in rows FromRow .. ToRow, at any column.
    void FreeRowRecords(Integer FromRow, Integer ToRow);

public:
    // ---- Removing rows and columns (AdvGridRemove.cpp)
    // Rows are displayed indexes. A removal takes the rows below up in one pass with their cells, records
    // and heights, frees the removed rows' records (and owned user objects) and leaves the rows it moves
    // beyond the count empty. The rows hidden in the store keep their stored places, and cell controls,
    // the modified, enabled and selected row flags and FMaxRowCount follow. A start outside the rows or
    // a count below 1 does nothing, and a count past the end is clipped; a visible floating footer's row
    // stays. No removal fires OnRowMoved.

    // Keeps the current row index when it still holds data, else makes the last data row current.
    virtual void RemoveRows(Integer RowIndex, Integer RCount);
    // RemoveRows for the selection and keyboard commands: the current row index stays when it still
    // exists (footer rows counting as rows), else the last row becomes current.
    virtual void RemoveRowsCore(Integer RowIndex, Integer RCount);
    // As RemoveRowsCore, but leaves cell controls alone and keeps the current row and top row when they
    // still exist, else makes the first normal row current.
    virtual void RemoveRowsEx(Integer RowIndex, Integer RCount);
    // Removes the listed displayed rows (clipped, in any order, repeats once) in one pass; the current
    // row index stays where the framework grid can keep it.
    void RemoveRowList(TIntList* RowList);
    // Removes the rows whose check box in the stored column is checked (RemoveChecked) or unchecked;
    // rows without a check box stay.
    void RemoveCheckedRows(Integer CheckBoxColumn, bool RemoveChecked);
    // Removes the normal rows whose text in the displayed column ACol repeats a row above it, exactly
    // with DoCase, else ignoring letter case.
    void RemoveDuplicates(Integer ACol, bool DoCase);
    // The rows of the selection, or every normal row outside it above the footer rows.
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    // The displayed columns of the selection, or every displayed column right of it and every normal one
    // left of it; hidden columns stay.
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    // Removes CCount stored columns (hidden ones counted) from ColIndex with their cells, records,
    // widths and hidden flags, in the hidden rows too: ColCount falls by the shown ones removed and
    // FNumHidden by the hidden ones. Only the cells of the removed columns are reported.
    virtual void RemoveCols(Integer ColIndex, Integer CCount);

protected:
    // Deletes the rows through the framework grid's block delete: the rows below move up with their
    // heights and the rows left beyond the count drop their texts and record references without freeing
    // them, so the caller frees or takes the records first. With UpdateCellControls, the cell controls
    // of the rows go and the hidden rows' stored indexes follow; without, both are left to the caller.
    void DeleteRowsCore(Integer RowIndex, Integer RCount, bool UpdateCellControls);

private:
    // The removal tests reach the per-row lists and the cell controls through it, until the grid has
    // the accessors of its row flags and cell controls.
    friend class TRemoveTestProbe;
    struct TRemovedRows;
    // The number of rows a removal may take from RowIndex: up to the last row, or the row above a
    // visible floating footer's row; 0 for a start outside those rows or a count below 1.
    Integer RemovableRows(Integer RowIndex, Integer RCount) const;
    // Keep what the grid holds per row in step with rows about to be removed: cell controls of the
    // removed rows are hidden and dropped, the others and the hidden rows' stored indexes move up over
    // the removed rows above them, and the modified and enabled flags and the disjunct row selection
    // lose the removed rows' entries. The hidden rows come last: the others map rows through them.
    void KeepControlsInStep(const TRemovedRows& Removed);
    void KeepHiddenRowsInStep(const TRemovedRows& Removed);
    void KeepRowFlagsInStep(const TRemovedRows& Removed);
    void KeepRowSelectInStep(const TRemovedRows& Removed);
    // Frees the records and owned user objects in the inclusive block of stored cells.
    void FreeStoredRecords(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    // The block delete of the rows, the rows left beyond the count emptied, and the counts applied.
    void TakeOutRows(Integer RowIndex, Integer RCount);
    // Makes ARow current again and restores ATopRow when ARow lies above the footer rows; otherwise the
    // last row above them when there is one, else the selection is moved outside the grid.
    void RestoreCurrentRow(Integer ARow, Integer ATopRow, Integer Footers);
    // Removes the displayed columns FromCol .. ToCol, shown ones only, from the right.
    void RemoveDisplayedCols(Integer FromCol, Integer ToCol);
    // The removals by the disjunct row (column) selection: the flagged rows (columns) or the others go.
    // Afterwards no row is flagged, except that with RowSelectPersistent the rows that stayed after
    // removing the unflagged ones are all flagged; the column flags are cleared.
    void RemoveDisjunctRows(bool Selected);
    void RemoveDisjunctCols(bool Selected);

public:
    // ---- Hidden rows and columns (AdvGridHidden.cpp)
    //
    // A hidden column keeps its cells at its stored (real) index and only leaves the displayed columns;
    // ColCount counts displayed columns, TotalColCount the stored ones. A hidden row is taken out of the
    // grid into a THiddenRow record of FGridItems (its cells with their property records, its height and
    // row flags) and put back when shown; RowCount counts displayed rows, TotalRowCount adds the
    // records. The store is one array of small records rather than a collection of objects, so that
    // hiding or showing many rows costs a pass over them. Only columns 0 .. 511 can be hidden.

    // The real index of displayed row ARow; a bisection over the hidden rows.
    Integer RealRowIndex(Integer ARow) const;
    // The displayed index of real row ARow; a hidden row maps to the position it would take.
    Integer DisplRowIndex(Integer ARow) const;
    Integer RealColIndex(Integer ACol) override;
    Integer DisplColIndex(Integer ACol) override;
    Integer TotalColCount() const override { return ColCount() + FNumHidden; }
    Integer TotalRowCount() const { return RowCount() + NumHiddenRows(); }
    Integer NumHiddenRows() const { return FGridItems->Count(); }
    Integer NumHiddenColumns() const { return FNumHidden; }
    bool IsHiddenRow(Integer Rowindex) const;
    // As above through a sorted list of the hidden rows' indexes, built into ListHidden when it is null;
    // the caller owns the list.
    bool IsHiddenRow(Integer Rowindex, TIntList*& ListHidden) const;
    bool IsHiddenColumn(Integer Colindex) const {
        return Colindex >= 0 && Colindex < VisibleColEntries - 1 && !FVisibleCol[Colindex];
    }
    // Real indexes; a range is clipped to the stored rows, a reversed one does nothing, rows already
    // hidden keep their records, and the last displayed row stays.
    void HideRow(Integer Rowindex) { HideRows(Rowindex, Rowindex); }
    void HideRows(Integer FromRow, Integer ToRow) { HideRowRange(FromRow, ToRow, false); }
    // Real indexes; every hidden row of the range comes back, whether or not FromRow is hidden.
    void UnHideRow(Integer Rowindex) { UnHideRows(Rowindex, Rowindex); }
    void UnHideRows(Integer FromRow, Integer ToRow);
    void UnHideRowsAll();
    // Hide the displayed rows from FixedRows on that are (are not) flagged in the disjunct row selection,
    // in one update; the last displayed row stays.
    void HideSelectedRows() { HideRowsBySelection(true); }
    void HideUnSelectedRows() { HideRowsBySelection(false); }
    // As HideRows, with the records appended to the store and no heights kept; rows of the range already
    // hidden keep their records.
    void HideRowsEx(Integer FromRow, Integer ToRow);
    // Hides the listed displayed rows (clipped, in any order) as one filter level, their records keeping
    // the real index, and raises the filter level; the last displayed row stays.
    void HideRowList(TIntList* RowList);
    // Shows the rows of the last filter level (the records of level FFilterLevel - 1) and frees those
    // records only; filtering lowers the level.
    void UnHideRowList();
    // Real indexes, clipped to 0 .. 511 and the stored columns; the last displayed column stays.
    void HideColumn(Integer ColIndex) { HideColumns(ColIndex, ColIndex); }
    void HideColumns(Integer FromCol, Integer ToCol);
    void UnHideColumn(Integer ColIndex) { UnHideColumns(ColIndex, ColIndex); }
    void UnHideColumns(Integer FromCol, Integer ToCol);
    void UnHideColumnsAll();
    // Keeps the hidden rows' stored indexes in step when Count rows are inserted at the stored row
    // FromRow (a negative Count for removed rows).
    void ShiftHiddenRows(Integer FromRow, Integer Count);
    // Keeps the hidden-column flags and widths and the hidden rows' cells in step when Count columns are
    // inserted at the stored column FromCol.
    void ShiftHiddenColumns(Integer FromCol, Integer Count);
    // Empties the texts kept in the hidden rows; their property records stay.
    void ClearHiddenRowStrings();
    // The real indexes of the current row and column.
    Integer GetRealRow() const { return RealRowIndex(Row()); }
    Integer GetRealCol() { return RealColIndex(Col()); }
    Integer RealCol() { return GetRealCol(); }

    // The save range, the displayed cells every exporter writes: the fixed rows and columns count when
    // SaveFixedCells or their own flag says so.
    bool SaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool Value) { FSaveFixedCells = Value; }
    bool SaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool Value) { FSaveFixedRows = Value; }
    bool SaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool Value) { FSaveFixedCols = Value; }
    Integer SaveStartCol() const;
    Integer SaveStartRow() const;
    Integer SaveEndCol() const;
    Integer SaveEndRow() const;
    Integer SaveColCount() const;
    Integer SaveRowCount() const;
    // The smallest rectangle of displayed cells holding every cell with text (merged cells answer with
    // their base's text); (0, 0, 0, 0) when no cell has text.
    TRect UsedCells() { return GetUsedCells(); }
    virtual TRect GetUsedCells();

protected:
    // The hidden-row record at a store index; valid until the store changes.
    THiddenRow* HiddenRowItem(Integer index) const { return FGridItems->Items(index); }
    // The sorted lookup of the records' Idx values, a cache built on first need and dropped whenever the
    // records change.
    const std::vector<Integer>& HiddenRowLookup() const;
    void FreeHiddenRowLookup() { FHiddenRowLookupValid = false; }
    // Hides the rows whose selection flag equals Selected, run by run of displayed rows from the bottom up.
    void HideRowsBySelection(bool Selected);
    // HideRows' work; Append puts the records at the store's end without heights.
    void HideRowRange(Integer FromRow, Integer ToRow, bool Append);
    // Shows the hidden column that a shift pushed past the map's end to StoredCol, with this width.
    void ShowColumnPastMap(Integer StoredCol, Integer Width);
    // Puts the records at these store indexes back and frees them, in one pass over the rows: each row
    // goes back to its place among the real rows, whatever other records lie between them, at the end
    // when the count was lowered below it since.
    void RestoreRecords(std::vector<Integer> records);
    // The row-flag lists now kept, each with its slot in the records: the modified flags while
    // ShowModified is enabled or once one was written, the enabled flags once used, the disjunct row
    // selection unless it is kept by real row.
    std::vector<std::pair<TList*, int>> RowFlagLists() const;
    // Moves the listed displayed rows' flags into their records (records[i] for rows[i]); the flags of
    // the other rows close up.
    void TakeRowFlags(const std::vector<Integer>& rows, THiddenRow* records);
    // Puts the records' flags back at the listed places of the grown rows; the others spread apart.
    void PutRowFlags(const std::vector<Integer>& places, const std::vector<THiddenRow*>& records);

    // Widths of hidden columns, at their real index.
    Integer FAllColWidths[VisibleColEntries] = {};
    mutable std::vector<Integer> FHiddenRowLookup; // sorted Idx of every record
    // Distinct hidden rows h, each less the number of distinct hidden rows below it: nondecreasing, so
    // RealRowIndex bisects it.
    mutable std::vector<Integer> FHiddenRowSteps;
    // One bit per real row up to the last hidden one, set when hidden, and the hidden rows before each
    // 64-bit word: the mapping's cost does not grow with the number of hidden rows.
    mutable std::vector<std::uint64_t> FHiddenRowBits;
    mutable std::vector<Integer> FHiddenRowsBefore;
    mutable bool FHiddenRowLookupValid = false;
    Integer FFilterLevel = 0; // filter levels applied, each one set of hidden-row records
    bool FSaveFixedRows = false;
    bool FSaveFixedCols = false;

public:
    // ---- Filtering (AdvGridFiltering.cpp)
    //
    // The data rows that fail the conditions of Filter leave the grid into the hidden-row store as one
    // filter level, all in one pass, and come back when that level is removed. Levels stack: each
    // ApplyFilter adds one, RemoveLastFilter takes the last one away. Rows hidden otherwise (HideRow,
    // collapsed nodes) stay as they are through every step.

    // Whether displayed row ARow passes every enabled condition, then OnCustomFilter. A condition that
    // raises while matching counts as failed.
    virtual bool MatchFilter(Integer ARow);
    // Hides displayed row ARow (by its real index) when it fails.
    void FilterRow(Integer ARow);
    // Hides the failing data rows as one new filter level, reporting the progress in percent; a grid
    // with no data rows is left alone.
    void ApplyFilter();
    bool FilterActive() const { return FFilterActive; }
    // True applies a level, false shows the last level again without lowering the level count; both
    // scroll to the first row and recalculate every footer.
    void SetFilterActive(bool Value);
    // Shows the last level again and lowers the count; true while more than one level remains.
    bool RemoveLastFilter();
    // Every level, or, with none, every condition.
    void RemoveAllFilters();
    // Narrowing as the user types: one more character adds a level, one character less removes one,
    // anything else starts over; AColumn -1 searches whole rows. An empty text removes every level
    // and leaves rows hidden otherwise hidden.
    void NarrowDown(const String& ACondition, Integer AColumn) { NarrowDown(ACondition, false, AColumn); }
    void NarrowDown(const String& ACondition, bool DoRemoveAccented, Integer AColumn);
    bool IsNarrowDown() const { return FIsNarrowDown; }
    Integer FilterLevel() const { return FFilterLevel; }
    // The column's distinct values in FilterList, sorted, each a shown text or a shown text, "=" and
    // the condition that selects it, under the "(All)" or check-all entry; hidden rows' values are in
    // it too unless FilterIncremental. True when the list has entries.
    virtual bool BuildFilterList(Integer ACol, bool FirstOnly);
    TStringList* FilterList() const { return FFilterList.get(); }
    // A pick of entry ItemIndex of FilterList in the drop-down of column FilterCol: sets or removes
    // the column's condition and, with AutoFilterUpdate, applies the filter again.
    virtual void FilterListSelect(TObject* Sender, Integer ItemIndex);
    Integer FilterCol() const { return FFilterCol; }
    void SetFilterCol(Integer Value) { FFilterCol = Value; }
    // The conditions a picked "Checked" or "Unchecked" entry stands for.
    virtual String GetFilterCheckedText(Integer ACol) { return FCheckTrue; }
    virtual String GetFilterUncheckedText(Integer ACol) { return FCheckFalse; }
    virtual void DoFilterEditUpdate(Integer ACol, const String& Condition, TFilterType FilterType);
    virtual void DoFilterDone();

    bool FilterNormalCellsOnly() const { return FFilterNormalCellsOnly; }
    void SetFilterNormalCellsOnly(bool Value) { FFilterNormalCellsOnly = Value; }
    bool FilterDropDownAuto() const { return FFilterDropDownAuto; }
    // True also keeps a fixed row (FixedRowAlways).
    void SetFilterDropDownAuto(bool Value);
    bool FilterDropDownMultiCol() const { return FFilterDropDownMultiCol; }
    void SetFilterDropDownMultiCol(bool Value) { FFilterDropDownMultiCol = Value; }
    bool FilterDropDownCheck() const { return FFilterDropDownCheck; }
    void SetFilterDropDownCheck(bool Value) { FFilterDropDownCheck = Value; }
    const String& FilterDropDownClear() const { return FFilterDropDownClear; }
    void SetFilterDropDownClear(const String& Value) { FFilterDropDownClear = Value; }
    const String& FilterDropDownCheckUnCheckAll() const { return FFilterDropDownCheckUnCheckAll; }
    void SetFilterDropDownCheckUnCheckAll(const String& Value) { FFilterDropDownCheckUnCheckAll = Value; }
    TFilterDropDownColumns FilterDropDownColumns() const { return FFilterDropDownColumns; }
    void SetFilterDropDownColumns(TFilterDropDownColumns Value) { FFilterDropDownColumns = Value; }
    bool FilterIncremental() const { return FFilterIncremental; }
    void SetFilterIncremental(bool Value) { FFilterIncremental = Value; }

    TCustomFilterEvent OnCustomFilter;
    TFilterProgressEvent OnFilterProgress;
    TGetColumnFilterEvent OnGetColumnFilter;
    TFilterSelectEvent OnFilterSelect;
    TNotifyEvent OnFilterDone;
    TFilterEditUpdateEvent OnFilterEditUpdate;

protected:
    // Whether the displayed text of a cell is its stored text (at the base of its merged block): no
    // display-text event and no URL anchors change it on the way out.
    bool DisplayTextIsStored() const { return !OnGetDisplText && !OnGetDisplWideText && !FURLShowInText; }
    // The stored text of the cell, at the base of its merged block, read in place: valid until a cell
    // of the grid is written.
    StringView BaseCellView(Integer ACol, Integer ARow) const;
    // The text condition item tests in displayed row ARow, as its Data says.
    String FilterCellText(const TFilterData& item, Integer ARow);
    // One condition against its trimmed cell text.
    bool MatchFilterItem(const TFilterData& item, Integer ARow);
    // Back to the filter's fixed rows, the selection shown, every footer recalculated.
    void FilterLevelRemoved();

    bool FFilterActive = false;
    Integer FFilterFixedRows = 0; // FixedRows when the filter was applied
    bool FIsNarrowDown = false;
    String FLastFilter; // the last narrowing text
    bool FFilterDropDownAuto = false;
    bool FFilterDropDownCheck = false;
    String FFilterDropDownCheckUnCheckAll;
    TFilterDropDownColumns FFilterDropDownColumns = fdNormal;
    bool FFilterIncremental = false;

public:
    // ---- Find, replace and type-ahead search (AdvGridFind.cpp)
    //
    // A find walks the cells column by column (row by row with fnDirectionLeftRight), forwards or
    // backwards, from the cell after a start cell. Cells are read in place, without a copy, and the
    // search text is upper-cased once per find; column indexes are displayed ones unless
    // fnIncludeHiddenColumns, row indexes displayed ones unless fnIncludeHiddenRows.

    // The first matching cell after StartCell ((-1, -1): from the walk's first cell), or (-1, -1).
    TPoint Find(TPoint StartCell, const String& s, TFindParams FindParams);
    // As Find, without the update bracket and scrolling: strings are UTF-16 already.
    TPoint FindWide(TPoint StartCell, const String& s, TFindParams FindParams);
    // Find from the start; the hit is kept for FindNext.
    TPoint FindFirst(const String& s, TFindParams FindParams);
    // Find after the last hit with the last text and options.
    TPoint FindNext();
    // Replaces OrigStr by NewStr in every matching cell of one walk over the range, case-insensitively
    // unless fnMatchCase; the number of cells changed.
    Integer Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams);
    // The first data row whose columns meet every condition, or -1; Exception "Array size of
    // parameters not matching" when the arrays differ in length.
    Integer FindMulti(const std::vector<String>& Conditions, const std::vector<Integer>& Columns,
                      const std::vector<TSearchType>& Searchtypes, const std::vector<bool>& CaseSensitive,
                      bool AutoGoto);
    // The next such row after the last one found, or -1.
    Integer FindMultiNext();
    // The first row whose type-ahead column, its tags removed, starts with s (given upper-cased), or
    // -1.
    Integer Search(const String& s);
    // One typed character of the type-ahead search: with Navigation.AutoGotoWhenSorted and no
    // editing, moves to the first row starting with the typed text; AutoGotoIncremental builds the
    // text up (backspace removes a character), otherwise each character starts over. The grid's key
    // press handling calls it.
    virtual void TypeAheadKey(Char Key);
    // The text the type-ahead has gathered.
    const String& IncrSearchText() const { return SearchInc; }
    void SetIncrSearchText(const String& Value) { SearchInc = Value; }
    Integer FindCol() const { return FFindCol; }
    void SetFindCol(Integer Value) { FFindCol = Value; }
    Integer FindRow() const { return FFindRow; }
    void SetFindRow(Integer Value) { FFindRow = Value; }
    bool FindBusy() const { return FFindBusy; }
    // The last cell found, (-1, -1) for none.
    TPoint SearchCell() const { return FSearchCell; }

protected:
    // The walk of Find and Replace: calls hit(col, row, storedCol, text) at each cell in walking order
    // until it answers false. ReadOnly: hit writes no cell.
    template <bool ReadOnly, class Hit> void WalkFind(TPoint StartCell, TFindParams FindParams, Hit&& hit);
    TPoint FindCore(TPoint StartCell, const String& s, TFindParams FindParams);
    // Makes the found cell current, showing a hidden row's node first.
    void GotoFoundCell(Integer ACol, Integer ARow, TFindParams FindParams);
    // The real row of the collapsed node whose block holds hidden real row ARow; -1 for a row that is
    // shown or hidden otherwise.
    Integer NodeRowForHiddenRow(Integer ARow);
    bool RowMatchesMulti(Integer ARow);

    TFindParams FFindParams;
    String SearchCache; // the last search text, upper-cased unless fnMatchCase
    TPoint FSearchCell{-1, -1};
    Integer FFindCol = 0;
    Integer FFindRow = 0;
    bool FFindBusy = false;
    std::vector<String> FConditions; // the prepared conditions of the last FindMulti
    std::vector<Integer> FColumns;
    std::vector<bool> FCase;

public:
    // ---- Nodes and outline (AdvGridNodes.cpp)
    // A node is the ctNode object in column 0 of its row: contracted in CellBoolean, its span (the rows
    // of its block, the node row included) in CellIndex, its sub-node count in CellErrFrom. A row's
    // outline level is the NodeLevel of its column 0 record: 0 outside every block, 1 inside one
    // top-level block and so on. Collapsing a node hides the rest of its block through the hidden-row
    // store. Each member says whether it takes a real row (hidden rows counted) or a displayed one; a
    // row that holds no node answers false, -1 or 0 and changes nothing.

    // Real ARow. Makes the row a node over Span rows, replacing any object in its column 0, and raises
    // the levels of its block; a span below 1 or a row that is not displayed does nothing.
    void AddNode(Integer ARow, Integer Span);
    // Real ARow: expands the node, lowers the levels of its block and removes it.
    void RemoveNode(Integer ARow);
    // Expands and removes every node, then repaints.
    void RemoveAllNodes();
    Integer GetNodeCount() const { return FNumNodes; }
    bool HasNodes() override { return FNumNodes > 0; }
    // Displayed rows whose column 0 holds a node or the summary of a group.
    bool IsNode(Integer ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctNode; }
    bool IsSummary(Integer ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctSummary; }
    // Real ARow: gives column 0 of the row a new ctSummary object.
    void MarkSummaryRow(Integer ARow);
    // Displayed ARow. The state is true for a contracted node; setting it collapses or expands.
    bool GetNodeState(Integer ARow);
    void SetNodeState(Integer ARow, bool Value);
    Integer GetNodeLevel(Integer ARow);
    Integer GetNodeSpan(Integer ARow);
    void SetNodeSpan(Integer ARow, Integer Span);
    void UpdateNodeSpan(Integer ARow, Integer Delta);
    Integer GetSubNodeCount(Integer ARow);
    void UpdateSubNodeCount(Integer ARow, Integer Delta);
    // Real ARow. With CellNode.ExpandOne every other expanded node is collapsed first.
    void ExpandNode(Integer ARow);
    // Real ARow: shows every hidden row between a contracted node and the next displayed row (the next
    // node for a span of 0), whatever hid them; nodes among them show expanded. The current row and top
    // row stay.
    void ExpandNodeRows(Integer ARow);
    // Real ARow: hides the rest of an expanded node's block; nested contracted nodes inside it are
    // marked expanded, since expanding this node later shows all of its rows at once.
    void ContractNode(Integer ARow);
    // Expand every node, or collapse every top-level one, each with one change of the hidden-row store.
    // ContractAll hides its rows as one filter level and visits the rows between the blocks, not those
    // inside them. ExpandAll expands every node also with CellNode.ExpandOne.
    void ExpandAll();
    void ContractAll();
    // The displayed row of the node whose block holds displayed row ARow: a top-level node row is its
    // own parent, a row under no node has -1.
    Integer GetParentRow(Integer ARow);
    // Displayed ARow, for the tree lines: 0 a node row, 1 the last row of a block, 2 an inner row.
    Integer GetNodeSpanType(Integer ARow);
    // Displayed ARow: whether a click at x position X hits the node's expand glyph; anywhere without
    // MouseActions.PreciseNodeClick.
    bool IsInNodeGlyph(Integer ARow, Integer X);
    // Real ARow. Inserts a row into the block holding ARow at InsertAt rows below it (its parents'
    // spans and sub-node counts grow and they are expanded); at a node row with InsertAt 0 the new row
    // goes below the node and takes over the node row's texts and user objects.
    void InsertChildRow(Integer ARow, Integer InsertAt);
    // Real ARow. Removes a row from its block, the parents' spans and sub-node counts shrinking; the
    // row's cell controls go with it and the ones below move up.
    void RemoveChildRow(Integer ARow);
    // Real ARow: inserts one row before it with no outline bookkeeping.
    void InsertNormalRow(Integer ARow);
    // Displayed ARow: removes the row with no outline bookkeeping.
    void RemoveNormalRow(Integer ARow);
    // The row's level times CellNode.NodeIndent when the grid has nodes and the row's column 0 has a
    // record; else 0.
    Integer GetRowIndent(Integer ARow) override;

private:
    // The node object of displayed row ARow, or null.
    TCellGraphic* NodeAt(Integer ARow);
    // The outline level of displayed row ARow: its column 0 record's, 0 without one.
    Integer LevelOf(Integer ARow) const;
    // The displayed data rows holding nodes, in order, with their node objects: one pass over column 0.
    std::vector<std::pair<Integer, TCellGraphic*>> DisplayedNodes();
    // ExpandAll's work, inside the caller's update bracket.
    void ExpandAllNodes();
    // ExpandNodeRows' bracket around showing rows: DisjunctRowSelect off and goRowSelect out, the
    // current row and top row put back.
    class TExpandScope;

    Integer FNumNodes = 0; // AddNode calls less removals, never below 0

public:
    // ---- Grouping and group calculations (AdvGridGroup.cpp)
    // Group turns the data rows into an outline by the values of a column: a header row (a node, its
    // value in column 1) before each run of equal values, optional summary rows after the groups, and
    // the grouped column removed; UnGroup puts the column back and removes the header and summary rows.
    // SubGroup adds a second level inside the groups by another column. All of them, and the sorts,
    // do nothing while Group runs, since it lets the application process messages once per row.

    // Nothing for a column below the fixed ones or 0, and nothing more on a grid without data rows; a
    // grouped grid is ungrouped first.
    virtual void Group(Integer Colindex);
    // Nothing unless grouped.
    virtual void UnGroup();
    // Nothing for a column below the fixed ones or over at most one data row.
    virtual void SubGroup(Integer Colindex);
    virtual void SubUnGroup(Integer Colindex);
    // The grouped column, -1 when not grouped. -1 ungroups, a column above 0 groups; 0 and other
    // negative values do nothing.
    Integer GroupColumn() const { return FGroupColumn; }
    void SetGroupColumn(Integer Value);
    // Writes the method's value over each expanded group's data rows into its header row, or its
    // summary row with Grouping.Summary: 1 sum, 2 average, 3 minimum, 4 maximum, 5 count of data rows,
    // 6 OnGroupCalc, 7 distinct texts, 8 standard deviation; another method writes nothing.
    void GroupCalc(Integer Colindex, Integer method);
    // These five also give a visible floating footer the same calculation for the column.
    void GroupSum(Integer Colindex);
    void GroupAvg(Integer Colindex);
    void GroupMin(Integer Colindex);
    void GroupMax(Integer Colindex);
    void GroupCount(Integer Colindex);
    void GroupCustomCalc(Integer Colindex) { GroupCalc(Colindex, 6); }
    void GroupDistinct(Integer Colindex) { GroupCalc(Colindex, 7); }
    void GroupStdDev(Integer Colindex) { GroupCalc(Colindex, 8); }
    // 0, or what OnGroupCalc answers starting from 0.
    virtual double DoGroupCalc(Integer ACol, Integer FromRow, Integer ToRow);
    // Group, UnGroup, SubGroup, SubUnGroup or a sort is running and must not be entered again.
    bool GroupBusy() const { return FGroupBusy; }

    TGroupCalcEvent OnGroupCalc;

private:
    // Gives displayed row ARow the header or summary colours, each unless clNone; AsRGB resolves system
    // colours first. The Cell forms colour one (merged) cell.
    void ColorGroupRow(Integer ARow, bool Header, bool AsRGB);
    void ColorGroupCell(Integer ACol, Integer ARow, bool Header, bool AsRGB);
    // Merges displayed row ARow from ACol over the remaining columns, one row high.
    void MergeGroupRow(Integer ACol, Integer ARow);
    // Remembers the column's width, caption and footer text for UnGroup.
    void StoreGroupColumn(Integer Colindex, bool Displayed);
    class TGroupBusyScope;

    String FGroupCaption; // the grouped column's text in row 0
    String FGroupFooter;  // its text in the last row
    Integer FGroupWidth = 0;
    bool FGroupBusy = false;

public:
    // ---- Calculations (AdvGridCalc.cpp)
    // Aggregates over cell values as GetFloats reads them; they change no cell. A row range FromRow ..
    // ToRow is inclusive, and -1 for either end of a column aggregate means all data rows (FixedRows ..
    // RowCount - FixedFooters - 1). A range whose end lies past the displayed rows (ToRow > RowCount, or
    // ToRow >= RowCount while the floating footer shows) is read by stored row, hidden rows included.
    // The column aggregates report their walk to ExportNotification.

    // The floating footer's calculation of one column, or of every column for -1 (AdvGridFooter.cpp).
    virtual void CalcFooter(Integer ACol);
    // Sum of the used rows: in a grouped grid node and summary rows are left out (hidden rows stay in),
    // and so is every cell that is not the base of its merged block. Texts that are no number are
    // skipped.
    double ColumnSum(Integer ACol, Integer FromRow, Integer ToRow);
    // ColumnSum over the number of rows in the range, skipped rows counted; 0 for an empty range.
    double ColumnAvg(Integer ACol, Integer FromRow, Integer ToRow);
    // The rows used as by ColumnSum, starting from the value of (ACol, FromRow), which raises when it is
    // no number; ties keep the earlier value.
    double ColumnMin(Integer ACol, Integer FromRow, Integer ToRow);
    double ColumnMax(Integer ACol, Integer FromRow, Integer ToRow);
    // Population standard deviation over every row of the range; a text that is no number raises.
    // 0 for an empty range.
    double ColumnStdDev(Integer ACol, Integer FromRow, Integer ToRow);
    // The number of different displayed texts of the range, compared without case.
    double ColumnDistinct(Integer ACol, Integer FromRow, Integer ToRow);
    // The number of rows in the range.
    double ColumnCount(Integer ACol, Integer FromRow, Integer ToRow);
    // OnColumnCalc's answer for the range as given (-1 passed on), 0 without the event.
    double ColumnCustomCalc(Integer ACol, Integer FromRow, Integer ToRow);
    // Over the base cells of columns fromCol .. toCol of a displayed row; texts that are no number are
    // skipped. RowAvg divides by the number of columns and answers 0 for an empty range. RowMin and
    // RowMax start from the value of (fromCol, ARow), which raises when it is no number.
    double RowSum(Integer ARow, Integer fromCol, Integer toCol);
    double RowAvg(Integer ARow, Integer fromCol, Integer toCol);
    double RowMin(Integer ARow, Integer fromCol, Integer toCol);
    double RowMax(Integer ARow, Integer fromCol, Integer toCol);
    // Every cell of the rectangle (either corner order) by stored row, column by column; any text that is
    // no number raises. ctAvg answers 0 for no cells.
    double RectCalc(TGridRect GR, TCalcType CalcType);
    double RectSum(const TGridRect& GR) { return RectCalc(GR, ctSum); }
    double RectAvg(const TGridRect& GR) { return RectCalc(GR, ctAvg); }
    double RectMin(const TGridRect& GR) { return RectCalc(GR, ctMin); }
    double RectMax(const TGridRect& GR) { return RectCalc(GR, ctMax); }
    // The rectangle calculations over Selection.
    double SelectionSum() { return RectSum(Selection()); }
    double SelectionAvg() { return RectAvg(Selection()); }
    double SelectionMin() { return RectMin(Selection()); }
    double SelectionMax() { return RectMax(Selection()); }
    // The different save texts of the column's data rows, sorted; without CaseSensitive texts that differ
    // only in case are one value, in the form met first.
    std::unique_ptr<TStringList> DistinctValues(Integer ACol, bool CaseSensitive);

    TGroupCalcEvent OnColumnCalc;

    // ---- Fills, date and time cells, auto numbering (AdvGridHeaders.cpp)
    // The fills write every cell of a range, rows top to bottom and each row left to right, then run
    // CellsChangedHook once. With DoFixed the range is the whole grid, else the normal cells (fixed rows,
    // columns, footers and right columns left out).

    void TextFill(bool DoFixed, const String& Txt);
    // Each cell gets Fmt formatted with its column, then its row; a format that does not take two
    // integers raises before any cell is written.
    void FormatFill(bool DoFixed, const String& Fmt);
    // Each cell gets a whole number 0 .. Rnd - 1 from the run-time library's generator (0 when Rnd < 1).
    void RandomFill(bool DoFixed, Integer Rnd);
    // Each cell gets "column:row".
    void LinearFill(bool DoFixed);

    // The cell as a short date; a value of 0 or less empties it unless ShowNullDates.
    void SetDates(Integer ACol, Integer ARow, TDateTime Value);
    // The displayed text read as a date; raises EConvertError when it is none.
    TDateTime GetDates(Integer ACol, Integer ARow);
    TDateTime Dates(Integer ACol, Integer ARow) { return GetDates(ACol, ARow); }
    // The cell as a time in the long time format.
    void SetTimes(Integer ACol, Integer ARow, TDateTime Value);
    // The displayed text read as a time; raises EConvertError when it is none.
    TDateTime GetTimes(Integer ACol, Integer ARow);
    TDateTime Times(Integer ACol, Integer ARow) { return GetTimes(ACol, ARow); }
    bool ShowNullDates() const { return FShowNullDates; }
    void SetShowNullDates(bool Value) { FShowNullDates = Value; }

    // Numbers the data rows of a column (AutoNumberRow: the normal columns of a row) with 1 + Offset,
    // 2 + Offset, ... after leaving the first AutoNumberStart of them as they are; sdDescending gives
    // the first number to the far end.
    void AutoNumberCol(Integer ACol);
    void AutoNumberRow(Integer ARow);
    Integer AutoNumberStart() const { return FAutoNumberStart; }
    void SetAutoNumberStart(Integer Value) { FAutoNumberStart = Value; }
    Integer AutoNumberOffset() const { return FAutoNumberOffset; }
    void SetAutoNumberOffset(Integer Value) { FAutoNumberOffset = Value; }
    TSortDirection AutoNumberDirection() const { return FAutoNumberDirection; }
    void SetAutoNumberDirection(TSortDirection Value) { FAutoNumberDirection = Value; }

    // ---- Text highlight, error marks, cell checking (AdvGridMarks.cpp)
    // Highlights are "hi" tags and error marks "e" tags in the cell text. A mark call wraps the matches
    // of HiText, looked for with its entities written out first ("a&b" finds the text "a&amp;b") and as
    // the cell shows it otherwise, and writes a cell only when its text changed; an unmark call removes only
    // its own tags and writes a cell only when that changed it. Cells are processed at the base cell of a
    // merged block, read through the display-text event when one is set. A range with DoFixed covers the
    // whole grid, else the normal cells; the unmark calls of a row or the grid, and HilightInGrid without
    // DoFixed, also cover the hidden columns.

    String HilightText(bool DoCase, const String& S, const String& Text);
    String UnHilightText(const String& S);
    String MarkText(bool DoCase, const String& S, const String& Text);
    String UnMarkText(const String& S);
    void HilightInCell(bool DoCase, Integer Col, Integer Row, const String& HiText, bool FullText);
    void HilightInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText, bool FullText);
    void HilightInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText, bool FullText);
    void HilightInGrid(bool DoFixed, bool DoCase, const String& HiText, bool FullText);
    void MarkInCell(bool DoCase, Integer Col, Integer Row, const String& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, Integer Col, const String& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, Integer Row, const String& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const String& HiText);
    void UnHilightInCell(Integer Col, Integer Row);
    void UnHilightInCol(bool DoFixed, Integer Col);
    void UnHilightInRow(bool DoFixed, Integer Row);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInCell(Integer Col, Integer Row);
    void UnMarkInCol(bool DoFixed, Integer Col);
    void UnMarkInRow(bool DoFixed, Integer Row);
    void UnMarkInGrid(bool DoFixed);

    // The checker the check calls run over cells; null (the default) makes every check pass and change
    // nothing. The grid forgets a checker that is freed.
    TAdvStringGridCheck* CellChecker() const { return FCellChecker; }
    void SetCellChecker(TAdvStringGridCheck* Value);
    // Removes earlier error marks from the cell, runs Correct and then MarkError as the checker's options
    // say, writes the result and answers whether it equals the unmarked text. With GotoCell the cell is
    // made current first.
    bool CheckCell(Integer Col, Integer Row);
    // CheckCell over every cell of the range, rows first, none skipped after a failure, between the
    // checker's StartCheck and StopCheck; with GotoCell the current cell is restored afterwards.
    bool CheckCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    bool CheckCol(bool DoFixed, Integer Col);
    bool CheckRow(bool DoFixed, Integer Row);
    bool CheckGrid(bool DoFixed);

protected:
    // The stored columns and displayed rows a fill or mark covers: the whole grid with DoFixed, else the
    // normal cells.
    Integer RangeFirstCol(bool DoFixed) const { return DoFixed ? 0 : FixedCols(); }
    Integer RangeLastCol(bool DoFixed) const {
        return DoFixed ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
    }
    Integer RangeFirstRow(bool DoFixed) const { return DoFixed ? 0 : FixedRows(); }
    Integer RangeLastRow(bool DoFixed) const {
        return DoFixed ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
    }
    void MarkCellRange(const String& HiText, const String& Tag, bool FullText, Integer FromCol,
                       Integer FromRow, Integer ToCol, Integer ToRow, bool DoCase);
    void UnmarkCellRange(const String& Tag, Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    // The text the mark calls work on: the displayed text with a display-text event, else the stored one.
    String MarkSourceText(Integer ACol, Integer ARow);
    // Makes a checked normal cell current and brings it into view; other cells leave the current one.
    void GotoCheckedCell(Integer ACol, Integer ARow);

private:
    Integer FAutoNumberStart = 0;
    Integer FAutoNumberOffset = 0;
    TSortDirection FAutoNumberDirection = sdAscending;
    TAdvStringGridCheck* FCellChecker = nullptr; // not owned

public:
    // ---- Cell objects (AdvGridCellObjects.cpp)
    // A cell holds at most one cell object, in its property record; ACol is a stored column and ARow a
    // displayed row. The grid owns every TCellGraphic its cells hold. Queries on a negative index, a cell
    // without an object or one holding an object of another class answer "no object".

    // The cell's object, or null. With MouseActions.HotmailRowSelect, column 0 answers the grid's one
    // shared row check box, prepared for the row, whatever the cell holds.
    virtual TCellGraphic* GetCellGraphic(Integer ACol, Integer ARow);
    // Gives the cell a new object of kind ctNone, freeing the one it had; the cell text stays as it was.
    // The shared row check box is never freed.
    TCellGraphic* CreateCellGraphic(Integer ACol, Integer ARow);
    // Takes the cell's object out and frees it (shared check boxes excepted) and repaints; false when
    // there was none. For the shared row check box of column 0 the cell's own object stays.
    bool RemoveCellGraphic(Integer ACol, Integer ARow);
    // RemoveCellGraphic only when the cell's kind is CellType.
    bool RemoveCellGraphicOfType(Integer ACol, Integer ARow, TCellType CellType);
    // The kind of the object of the base cell of the merged block holding the cell is one of Kinds.
    bool CellTypeInSet(Integer ACol, Integer ARow, TCellTypes Kinds);
    // The object's kind; ctEmpty for no object. With HotmailRowSelect column 0 answers ctRowCheckBox.
    virtual TCellType GetCellType(Integer ACol, Integer ARow);

    // ---- Pictures, image lists, rotated text and interfaced cells (AdvGridCellGraphic.cpp)
    // ACol is a stored column. The Add operations attach an object the caller goes on owning and which
    // must outlive the cell's object; the Create operations make one the cell object owns and frees, and
    // return it to be filled. Both replace whatever object the cell held and repaint nothing. A Remove
    // operation takes out an object of its own kind only, and repaints the cell. The getters answer
    // null (or false) for any other kind.

    void AddBitmap(Integer ACol, Integer ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                   TCellVAlign val);
    TBitmap* CreateBitmap(Integer ACol, Integer ARow, bool transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* GetBitmap(Integer ACol, Integer ARow);
    bool HasBitmap(Integer ACol, Integer ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(Integer ACol, Integer ARow);
    // The stretch mode and the padding in pixels apply when the picture is drawn and measured.
    void AddPicture(Integer ACol, Integer ARow, TPicture* APicture, bool transparent,
                    TStretchMode stretchmode, Integer padding, TCellHAlign hal, TCellVAlign val);
    TPicture* CreatePicture(Integer ACol, Integer ARow, bool transparent, TStretchMode stretchmode,
                            Integer padding, TCellHAlign hal, TCellVAlign val);
    TPicture* GetPicture(Integer ACol, Integer ARow);
    bool HasPicture(Integer ACol, Integer ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(Integer ACol, Integer ARow);
    void AddFilePicture(Integer ACol, Integer ARow, TFilePicture* AFilePicture, bool Transparent,
                        TStretchMode stretchmode, Integer padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(Integer ACol, Integer ARow, bool Transparent, TStretchMode StretchMode,
                                    Integer padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* GetFilePicture(Integer ACol, Integer ARow);
    void RemoveFilePicture(Integer ACol, Integer ARow);
    void AddIcon(Integer ACol, Integer ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon* CreateIcon(Integer ACol, Integer ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(Integer ACol, Integer ARow);
    // The image-list kinds draw from GridImages: without one the Add operations and SetImageIdx do
    // nothing and GetImageIdx answers false.
    void AddImageIdx(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val);
    // The index of an image-list cell, true; false with idx untouched for any other cell.
    bool GetImageIdx(Integer ACol, Integer ARow, Integer& idx);
    // Stores the index of an image-list cell without repainting.
    void SetImageIdx(Integer ACol, Integer ARow, Integer Idx);
    void RemoveImageIdx(Integer ACol, Integer ARow);
    // A data image shows the image whose index is the cell's text: an empty text becomes Aidx, any other
    // text stays.
    void AddDataImage(Integer ACol, Integer ARow, Integer Aidx, TCellHAlign hal, TCellVAlign val);
    // The base cell of the merged block holds a data image.
    bool HasDataImage(Integer ACol, Integer ARow);
    // Removes a data image and clears the text it showed; any other cell keeps its object and text.
    void RemoveDataImage(Integer ACol, Integer ARow);
    // A row (Dir 0) or column (any other Dir) of images whose indexes are the empty list GetCellImages
    // answers; each change of the list repaints the cell.
    void AddMultiImage(Integer ACol, Integer ARow, Integer Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(Integer ACol, Integer ARow);
    // The text s drawn at AAngle degrees, brought into 0 .. 360.
    void AddRotated(Integer ACol, Integer ARow, SmallInt AAngle, const String& s);
    // Turns the cell's object into rotated text at AAngle (a new object when the cell has none). What the
    // old kind owned is freed first; its other fields stay.
    void SetRotated(Integer ACol, Integer ARow, SmallInt AAngle);
    // The angle of a rotated-text cell, true; false with aAngle untouched for any other cell.
    bool IsRotated(Integer ACol, Integer ARow, Integer& aAngle);
    void RemoveRotated(Integer ACol, Integer ARow);
    // The object draws and sizes itself through IGridCellObject; the grid never frees it.
    void AddInterfacedCell(Integer ACol, Integer ARow, TInterfacedPersistent* AObject);
    TInterfacedPersistent* GetInterfacedCell(Integer ACol, Integer ARow);
    void RemoveInterfacedCell(Integer ACol, Integer ARow);
    // The image list of the image-list, data-image and multi-image cells; not owned. The grid lets go of
    // it when it is freed.
    TCustomImageList* GridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);
    // The change event of a multi-image cell's index list: repaints the cell the list belongs to.
    void CellImagesChanged(TObject* Sender, Integer ACol, Integer ARow);

private:
    // The cell's own object for the operations that change it: with HotmailRowSelect, column 0's shared
    // row check box stands in front of it for the queries, but is never what they change.
    TCellGraphic* OwnCellGraphic(Integer ACol, Integer ARow);

    TCustomImageList* FGridImages = nullptr;

public:
    // ---- Indicators, comments, markers and balloons (AdvGridIndicators.cpp)
    // ACol is a stored column. The Add operations replace the cell's object (comments and markers join
    // it instead) and repaint nothing unless said; the Has queries and the scroll-bar operations look at
    // the base cell of the merged block, the rest at the cell itself. Getters on another kind answer the
    // neutral value given.

    // A bar of the cell's value from 0 to 100; with AutoNumAlign the cell becomes right-aligned.
    void AddProgress(Integer ACol, Integer ARow, TColor FGColor, TColor BKColor);
    // The same with text colours over the bar and over the background.
    void AddProgressEx(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                       TColor BKTextColor);
    // The same with a range and the format the value's text is shown with.
    void AddProgressFormatted(Integer ACol, Integer ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const String& Fmt, Integer Min, Integer Max);
    // A plain progress bar, not a pie nor the styled bar.
    bool HasProgress(Integer ACol, Integer ARow);
    void RemoveProgress(Integer ACol, Integer ARow);
    // The styled bar of the cell's integer value between Min and Max.
    void AddAdvProgress(Integer ACol, Integer ARow, Integer Min, Integer Max);
    void RemoveAdvProgress(Integer ACol, Integer ARow);
    void AddProgressPie(Integer ACol, Integer ARow, TColor Color, Integer Value);
    // A pie's new value, repainted; nothing for any other cell.
    void SetProgressPie(Integer ACol, Integer ARow, Integer Value);
    void RemoveProgressPie(Integer ACol, Integer ARow);
    // The cell's value as a bar left (NegColor) or right (PosColor) of the middle, Range at either end.
    void AddRangeIndicator(Integer ACol, Integer ARow, Integer Range, TColor NegColor, TColor PosColor,
                           bool ShowValue);
    void RemoveRangeIndicator(Integer ACol, Integer ARow);

    void AddShape(Integer ACol, Integer ARow, TCellShape Shape, TColor FillColor, TColor LineColor,
                  TCellHAlign hal, TCellVAlign val);
    bool HasShape(Integer ACol, Integer ARow);
    // A shape's fill colour, without repainting; nothing for any other cell.
    void SetShapeColor(Integer ACol, Integer ARow, TColor FillColor);
    // clNone for any other cell.
    TColor GetShapeColor(Integer ACol, Integer ARow);
    void RemoveShape(Integer ACol, Integer ARow);
    // Scale stars over the whole cell.
    void AddRating(Integer ACol, Integer ARow, Integer Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(Integer ACol, Integer ARow);
    void RemoveRating(Integer ACol, Integer ARow);
    // Asks OnRatingChange whether the rating may become NewRate (which it may change); true without one.
    virtual bool DoRatingChange(Integer ACol, Integer ARow, double& NewRate);

    // A scroll bar for the cell's long text: position 0, page 0, range 100. With AutoRange the page is the
    // row's height and the range the height of the cell's text, kept so whenever the text changes.
    void AddScrollBar(Integer ACol, Integer ARow, bool AutoRange);
    bool HasScrollBar(Integer ACol, Integer ARow);
    bool HasAutoRangeScrollBar(Integer ACol, Integer ARow);
    // Sets the position and repaints; nothing without a scroll bar.
    void SetScrollPosition(Integer ACol, Integer ARow, Integer Pos);
    // -1 without a scroll bar.
    Integer GetScrollPosition(Integer ACol, Integer ARow);
    void SetScrollProp(Integer ACol, Integer ARow, TScrollProp Prop);
    // -1, -1 without a scroll bar.
    TScrollProp GetScrollProp(Integer ACol, Integer ARow);
    void RemoveScrollBar(Integer ACol, Integer ARow);
    // Keeps an automatic-range scroll bar's page and range to the cell's text.
    void CellTextChanged(Integer ACol, Integer ARow) override;

    // A comment joins the cell's object (a new ctNone one when it has none) and repaints nothing.
    void AddComment(Integer ACol, Integer ARow, const String& Comment);
    void AddColorComment(Integer ACol, Integer ARow, const String& Comment, TColor Color);
    // Replaces the comment and keeps its colour; a cell without an object gets AddComment.
    void SetComment(Integer ACol, Integer ARow, const String& Value);
    String GetComment(Integer ACol, Integer ARow);
    // True with the comment when the cell has one that is not empty.
    bool IsComment(Integer ACol, Integer ARow, String& comment);
    // Empties the comment; the object stays.
    void RemoveComment(Integer ACol, Integer ARow);
    // Empties the comment of every displayed cell, then repaints the grid.
    void RemoveAllComments();

    // Marks ErrLen characters from ErrPos in the cell's text (an error or a match): the range joins the
    // cell's object (a new ctEmpty one when it has none); repaints the cell.
    void AddMarker(Integer ACol, Integer ARow, Integer ErrPos, Integer ErrLen);
    // The marked range; 0 and 0 without an object.
    void GetMarker(Integer ACol, Integer ARow, Integer& ErrPos, Integer& ErrLen);
    // A ctEmpty object goes; any other keeps its kind with an empty range.
    void RemoveMarker(Integer ACol, Integer ARow);
    void RemoveAllMarkers();

    // A balloon tip with a title, a text and an icon. On a plain or data check box or a radio button it
    // joins the control (replacing a balloon it had); a cell without an object gets a ctBalloon one; any
    // other cell is left alone.
    void AddBalloon(Integer ACol, Integer ARow, const String& Title, const String& Text, TBalloonIcon Icon);
    // The base cell holds a ctBalloon object; balloons on check boxes and radio buttons are not counted.
    bool HasBalloon(Integer ACol, Integer ARow);
    // True with the balloon's title, text and icon, for a balloon object or a control carrying one.
    bool IsBalloon(Integer ACol, Integer ARow, String& Title, String& Text, TBalloonIcon& Icon);
    // Takes a balloon off a control, which stays as it was, or removes a ctBalloon object.
    void RemoveBalloon(Integer ACol, Integer ARow);

    TRatingChangeEvent OnRatingChange;

private:
    // The displayed cells (stored columns that are not hidden, displayed rows) that hold a record: only
    // they can hold an object, so a large grid costs what it stores, not its area.
    std::vector<TPoint> DisplayedCellsWithRecords() const;

public:
    // ---- Cell content queries (AdvGridCellQueries.cpp)
    // ACol is a stored column unless said otherwise. Cells without an object answer nothing: (0, 0),
    // an empty rectangle, null or -1.

    // Empty unless the cell holds an object of a kind other than ctNone or a non-empty comment.
    virtual bool GetCellEmpty(Integer ACol, Integer ARow);
    // The room the cell's object adds to its text when the cell is measured; Reserve is taken from the
    // height a picture may use. Text is measured on the grid canvas with its current font.
    virtual TPoint GetCellGraphicExtent(Integer ACol, Integer ARow, Integer Reserve);
    // The size of the object itself drawn into a cell of Width x Height, for printing; the last two
    // arguments are not used.
    virtual TPoint GetCellGraphicLayoutSize(Integer ACol, Integer ARow, Integer Width, Integer Height,
                                            Integer Reserved1, Integer Reserved2);
    // Where painting last drew the button or expand toggle of the displayed cell; (0, 0, 0, 0) for a cell
    // without an object.
    TRect GetCellControlRect(Integer ACol, Integer ARow);
    // GridImages, for every cell.
    virtual TCustomImageList* GetCellImageList(Integer ACol, Integer ARow);
    // The index list of a multi-image cell; null for any other.
    TIntList* GetCellImages(Integer ACol, Integer ARow);
    // What sorting compares picture cells by: the bitmap or icon reference, or the image index, as a
    // 32-bit value; -1 for any other kind.
    Integer GetCellGraphicKey(Integer ACol, Integer ARow);
    // The value of the mini-HTML form control ID in the cell's text; empty when there is none.
    String GetCtrlVal(Integer ACol, Integer ARow, const String& ID);
    // Rewrites the control's value in the cell's text; a text without the control stays untouched.
    void SetCtrlVal(Integer ACol, Integer ARow, const String& ID, const String& Value);

    // ---- Radio groups, buttons and expand cells (AdvGridButtons.cpp)
    // ACol is a stored column unless said otherwise. The Has and Is queries and the expand accessors ask
    // the base cell of the merged block holding the cell; the others the cell itself. An operation on a
    // cell of another kind answers false, -1, null or an empty text and changes nothing.

    // A radio group over the caller's option list, which stays the caller's: DirRadio other than 0 lays
    // the options out horizontally, IdxRadio is the chosen option (-1 none yet; below -1 the choice lives
    // in the cell text only).
    void AddRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio, TStrings* sl);
    // As AddRadio over a new, empty option list that the cell owns; returned for filling.
    TStrings* CreateRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio);
    bool GetRadioIdx(Integer ACol, Integer ARow, Integer& IdxRadio);
    // -1 also clears the cell text. Repaints the cell.
    bool SetRadioIdx(Integer ACol, Integer ARow, Integer IdxRadio);
    TStrings* GetRadioStrings(Integer ACol, Integer ARow);
    bool IsRadio(Integer ACol, Integer ARow);
    void RemoveRadio(Integer ACol, Integer ARow);
    // Chooses the option after the chosen one, or after the one the cell text names, wrapping to the
    // first, and writes its text into the cell; a group whose index is below -1 keeps that index. With
    // AskCanEdit, unless ControlLook.RadioAlwaysActive, CanEditCell may refuse. A group without options
    // is left as it is. Answers false.
    bool CycleRadio(Integer ACol, Integer ARow, bool AskCanEdit);

    // Radio buttons are placed before the text, flat, vertically by VAlignment; a cell outside the stored
    // cells (hidden ones counted) raises "Invalid cell". AddRadioButton makes one of group rgCol.
    void AddRadioButton(Integer ACol, Integer ARow, bool State);
    void AddRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group, bool State);
    // The column's rows from FixedRows on: rgCol buttons, or rgRow buttons, all unchecked.
    void AddRadioButtonColumn(Integer ACol);
    void AddRadioButtonGroupColumn(Integer ACol);
    void RemoveRadioButton(Integer ACol, Integer ARow);
    void RemoveRadioButtonColumn(Integer ACol);
    bool HasRadioButton(Integer ACol, Integer ARow);
    bool HasRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group);
    bool IsRadioButtonChecked(Integer ACol, Integer ARow);
    // Stores the state of that one button, repainting on a change; its group is not touched.
    bool SetRadioButtonState(Integer ACol, Integer ARow, bool State);
    // Checks the button of row Index and unchecks every other of the column's rows from FixedRows on.
    void SetRadioButtonColumnIndex(Integer ACol, Integer Index);
    // The first row from FixedRows whose radio button is checked; -1 for none.
    Integer GetRadioButtonColumnIndex(Integer ACol);
    // Checks the button and unchecks the checked radio buttons next to it along its column (rgCol) or
    // row (rgRow), in each direction up to the first cell without a radio button. With AskCanEdit,
    // unless ControlLook.CheckAlwaysActive, CanEditCell may refuse (false). True for a radio button.
    virtual bool ToggleRadioButton(Integer ACol, Integer ARow, bool AskCanEdit);

    // Push buttons of bw x bh pixels; AddBitButton's glyph stays the caller's, CreateBitButton's new glyph
    // is the cell's and is returned for drawing into.
    void AddButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption, TCellHAlign hal,
                   TCellVAlign val);
    void AddBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                      TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                             TCellHAlign hal, TCellVAlign val);
    // These three take a displayed column and act on a button only; the setters repaint.
    void SetButtonText(Integer ACol, Integer ARow, const String& Caption);
    String GetButtonText(Integer ACol, Integer ARow);
    void PushButton(Integer ACol, Integer ARow, bool push);
    bool HasButton(Integer ACol, Integer ARow);
    // Removes a plain or a glyph button.
    void RemoveButton(Integer ACol, Integer ARow);
    void RemoveBitButton(Integer ACol, Integer ARow);
    void RemoveAllButtons();

    // An expand cell, collapsed, remembering the row's present height as its collapsed height. The
    // caller gives the row its new height (GetExpandHeight) after a toggle.
    void AddExpand(Integer ACol, Integer ARow, Integer ExpandedHeight);
    void RemoveExpand(Integer ACol, Integer ARow);
    bool HasExpand(Integer ACol, Integer ARow);
    // Inverts the expanded state and answers the new one; false for a cell without an expand cell.
    bool ToggleExpand(Integer ACol, Integer ARow);
    bool GetExpandState(Integer ACol, Integer ARow);
    // The expanded or collapsed row height; DefaultRowHeight for a cell without an expand cell.
    Integer GetExpandHeight(Integer ACol, Integer ARow, bool Expanded);
    // The 11 x 11 toggle square at the cell rectangle's top right; an empty rectangle for other cells.
    TRect GetExpandButtonRect(Integer ACol, Integer ARow);

private:
    // The cell's own object when it is of that kind, else null.
    TCellGraphic* CellGraphicOfKind(Integer ACol, Integer ARow, TCellType Kind);
    TCellGraphic* ButtonObject(Integer ACol, Integer ARow);
    // The base cell's object when it is an expand cell, else null.
    TCellGraphic* ExpandObject(Integer ACol, Integer ARow);
    // Unchecks the run of radio buttons from (ACol, ARow) on, stepping by (dx, dy), up to the first cell
    // without one or the grid's edge.
    void UncheckRadioRun(Integer ACol, Integer ARow, Integer dx, Integer dy);

public:
    // ---- Cell range operations (AdvGridRanges.cpp)
    // Rectangles are inclusive; a reversed one does nothing.

    // Trims the leading and trailing blanks and control characters of every cell text of the rectangle
    // and writes each back through Cells, changed or not, so the cell-change handling runs for every
    // cell. The columns are displayed ones mapped to stored ones when the grid saves hidden cells
    // (FSaveHiddenCells), stored ones otherwise. Like the other bulk changes here, it repaints the grid
    // once at its end rather than cell by cell.
    virtual void TrimRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2);
    void TrimColumn(Integer ACol) { TrimRect(ACol, 0, ACol, RowCount() - 1); }
    void TrimRow(Integer ARow) { TrimRect(0, ARow, ColCount() - 1, ARow); }
    void TrimAll() { TrimRect(0, 0, ColCount() - 1, RowCount() - 1); }
    // Gives every cell of the rectangle (stored columns) the background colour, creating records.
    void ColorRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2, TColor AColor);
    // Merges each run of two or more equal texts in the column's data rows (the row below the first
    // data row on compares with the row above). Unless MainMerge, a row joins the run only when the two
    // rows are merged alike in the other columns (RowSpanIdentical), so sub-columns merge within the
    // merges of a main column.
    void MergeColumnCells(Integer ColIndex, bool MainMerge);
    // The same across the normal columns of a row, requiring ColSpanIdentical unless MainMerge.
    void MergeRowCells(Integer RowIndex, bool MainMerge);
    // Splits the vertical merges of a column, the last data row excepted.
    void SplitColumnCells(Integer ColIndex);
    // Splits the merges of a row, the last normal column excepted.
    void SplitRowCells(Integer RowIndex);
    // Splits every merged displayed cell.
    void SplitAllCells();
    // Appends the text of column 2 to that of column 1 in every row below the fixed rows, joined by
    // Separator and trimmed, then removes column 2.
    void MergeCols(Integer ColIndex1, Integer ColIndex2, const String& Separator);
    // True with ACol and ARow set for the first cell, in reading order over the stored texts (fixed cells
    // too, no merge lookup, no display events), whose text is SubStr exactly; false and both left as
    // they were when none is.
    bool IsCell(const String& SubStr, Integer& ACol, Integer& ARow);
    // The cell text starts with the wide-text marker.
    bool IsWideCell(Integer ACol, Integer ARow);
    // The columns that sorting treats as equal.
    TIntList* IgnoreColumns() const { return FIgnoreColumns.get(); }
    bool IsIgnoredColumn(Integer ACol) const { return FIgnoreColumns->HasValue(ACol); }

    // ---- Per-cell queries, check-box state, editor relays (AdvGridQueries.cpp)
    // Painting, printing and editing ask these about each cell. Each applies the grid's own settings and
    // then fires its event, which may change the answer; a descendant may override any of them. Events
    // that are not assigned leave the answer as the settings made it.

    virtual void DoCanEditCell(Integer ACol, Integer ARow, bool& CanEdit);
    virtual void DoCanSort(Integer ACol, bool& DoSort);
    virtual void DoSearchFooterAction(const String& Value, Integer ACol, Integer ARow,
                                      TSearchAction SearchAction);
    virtual void DoButtonClick(Integer ACol, Integer ARow);
    // Fires OnExpandClick, then gives the row the expand cell's height for the new state.
    virtual void DoExpandClick(Integer ACol, Integer ARow, bool Expanded);
    // Only with OnGetCellCursor: the event starts from the screen's cursor, and a cursor other than the
    // grid's own is shown at once.
    virtual void DoGetCellCursor(Integer ACol, Integer ARow, Integer X, Integer Y);
    // OnGridHint's answer also becomes the Office hint's notes; a non-empty answer of OnGridWideHint
    // replaces Hint in wide-text form; OnOfficeHint then gets the Office hint.
    virtual void DoGridHint(Integer ACol, Integer ARow, String& Hint, String& WideHint);
    // The active-cell look for the fixed cells that head the current cell, then the colours and font of
    // the cell's record (the background only for cells whose object lets it show), then OnGetCellColor.
    virtual void GetCellColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush,
                              TFont* AFont);
    virtual void DoGetCellPrintColor(Integer ACol, Integer ARow, TGridDrawState AState, TBrush* ABrush,
                                     TFont* AFont);
    // The grouping lines under node rows and over summary rows (not in column 0), then OnGetCellBorder.
    virtual void GetCellBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders);
    virtual void DoGetCellPrintBorder(Integer ACol, Integer ARow, TPen* APen, TCellBorders& Borders);
    // Column 0 is centred with HotmailRowSelect; then OnGetAlignment.
    virtual void GetCellAlignment(Integer ACol, Integer ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void DoGetFormat(Integer ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix);
    virtual void DoGetEditorTypeFixed(Integer ACol, Integer ARow, TEditorType& AEditor);
    virtual void DoGetEditorType(Integer ACol, Integer ARow, TEditorType& AEditor);
    // True when OnGetEditorType answers edNone for an editor starting as edNormal; false without the event.
    virtual bool IsNoEditorCell(Integer ACol, Integer ARow);
    // Fixed when it already is, by FixedRowAlways or FixedColAlways on a grid at its stored minimum, or in
    // the fixed rows and columns; OnIsFixedCell decides only what is not fixed by then.
    virtual void GetIsFixedCell(Integer ACol, Integer ARow, bool& IsFixed);
    // Asks about the base cell of the cell's block. A cell with a record that comes in editable stays so
    // only when it is not read-only and editing is on (goEditing, or it was switched off for the current
    // cell only, or RangeSelectAndEdit); OnCanEditCell then decides for stored columns. A column beyond
    // the stored ones is editable, and the event is not asked.
    virtual void CanEditCell(Integer ACol, Integer ARow, bool& CanEdit);
    virtual void DoIsPasswordCell(Integer ACol, Integer ARow, bool& IsPassword);
    virtual void DoGetWordWrap(Integer ACol, Integer ARow, bool& WordWrap);
    // Whether the cell shows a combo, ellipsis or spin button without being edited: OnHasComboBox (...)
    // decides when assigned; otherwise only with ControlLook's always-visible setting, by the editor kind:
    // Editor, or when that is edNone, DefaultEditor passed through DoGetEditorType (DoGetEditorTypeFixed
    // for spin buttons). Fixed cells never show spin buttons.
    virtual bool HasComboBox(Integer ACol, Integer ARow, TEditorType Editor);
    virtual bool HasEditBtn(Integer ACol, Integer ARow, TEditorType Editor);
    virtual bool HasSpinEdit(Integer ACol, Integer ARow, TEditorType Editor);
    // The texts that mean checked and unchecked for the cell: CheckTrue and CheckFalse, then the event.
    virtual void GetCheckTrue(Integer ACol, Integer ARow, String& Value);
    virtual void GetCheckFalse(Integer ACol, Integer ARow, String& Value);
    // The grid's font for a cell without a record; otherwise the grid's one reusable font filled with the
    // record's name, size, style and colour, valid until the next call.
    TFont* GetCellFont(Integer ACol, Integer ARow);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    TEditorType DefaultEditor() const { return FDefaultEditor; }
    void SetDefaultEditor(TEditorType Value) { FDefaultEditor = Value; }

    // Relays of the inner editors' notifications to the grid's events, for the current cell. Sender is
    // the editor: a TDateTimePicker for the date relays, whose other senders are ignored.
    void DateTimePickerChange(TObject* Sender);
    // OnEditChange with the picker's time as text when it edits a time, else its date.
    void DatePickerChange(TObject* Sender);
    void DatePickerCloseUp(TObject* Sender);
    // Makes the picker's calendar 2 pixels wider and taller than its minimum, then the event.
    void DatePickerDropDown(TObject* Sender);
    void GridButtonClick(TObject* Sender);

    TCanEditCellEvent OnCanEditCell;
    TCanSortEvent OnCanSort;
    TSearchFooterActionEvent OnSearchFooterAction;
    TExpandClickEvent OnExpandClick;
    TGetCellCursorEvent OnGetCellCursor;
    TGridHintEvent OnGridHint;
    TGridWideHintEvent OnGridWideHint;
    TOfficeHintEvent OnOfficeHint;
    TGridColorEvent OnGetCellColor;
    TGridColorEvent OnGetCellPrintColor;
    TGridBorderEvent OnGetCellBorder;
    TGridBorderEvent OnGetCellPrintBorder;
    TGridAlignEvent OnGetAlignment;
    TGridFormatEvent OnGetFormat;
    TGetEditorTypeEvent OnGetEditorType;
    TIsFixedCellEvent OnIsFixedCell;
    TIsPasswordCellEvent OnIsPasswordCell;
    TGetWordWrapEvent OnGetWordWrap;
    THasEditorButtonEvent OnHasComboBox;
    THasEditorButtonEvent OnHasEditBtn;
    THasEditorButtonEvent OnHasSpinEdit;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TDateTimeChangeEvent OnDateTimeChange;
    TEditChangeEvent OnEditChange;
    TCellRowColEvent OnDatePickerCloseUp;
    TCellRowColEvent OnDatePickerDropDown;

protected:
    // The look of a new record: the base grid's defaults with the disabled-font rule off for the call,
    // then no background and no gradient end for fixed cells, while bands are active and over a gradient
    // background.
    void GetCellDefaultProps(Integer ACol, Integer ARow, TFont* AFont, TBrush* ABrush, TColor& AColorTo,
                             TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& HA, TVAlignment& VA,
                             bool& WW, TCellGradientDirection& GD) override;

    bool FEditDisable = false; // editing was switched off only because the current cell may not be edited

public:
    // ---- Cell text access (AdvGridCellAccess.cpp)
    // The All... accessors take a stored column and a stored row: hidden columns and rows counted. A
    // hidden row's cells live in its record of the hidden-row store and are read and written there.

    String AllCells(Integer i, Integer j) { return GetCellsEx(i, j); }
    void SetAllCells(Integer i, Integer j, const String& Value) { SetCellsEx(i, j, Value); }
    // '' for a negative index. A hidden row's list grows with empty texts to reach column i, and its
    // text goes through the display-text event like any other.
    String GetCellsEx(Integer i, Integer j);
    // A cell of a moved column is repainted at its displayed place as well.
    void SetCellsEx(Integer i, Integer j, const String& Value);
    // The stored text without events. A hidden row's list does not grow: a column past its end raises
    // the list's index error.
    String AllGridCells(Integer i, Integer j) { return GetGridCellsEx(i, j); }
    void SetAllGridCells(Integer i, Integer j, const String& Value) { SetGridCellsEx(i, j, Value); }
    String GetGridCellsEx(Integer i, Integer j);
    void SetGridCellsEx(Integer i, Integer j, const String& Value);
    // String is UTF-16 already: the wide accessors are AllCells under another name.
    String AllWideCells(Integer i, Integer j) { return GetCellsEx(i, j); }
    void SetAllWideCells(Integer i, Integer j, const String& Value) { SetCellsEx(i, j, Value); }
    String GetWideCellsEx(Integer i, Integer j) { return GetCellsEx(i, j); }
    void SetWideCellsEx(Integer i, Integer j, const String& Value) { SetCellsEx(i, j, Value); }
    // The user's object of a cell. For a hidden row it is kept in the row's own record, which is made
    // for the row alone when the cell has none; clearing the object of a cell without one makes none.
    TObject* AllObjects(Integer i, Integer j) { return GetObjectsEx(i, j); }
    void SetAllObjects(Integer i, Integer j, TObject* Value) { SetObjectsEx(i, j, Value); }
    TObject* GetObjectsEx(Integer i, Integer j);
    void SetObjectsEx(Integer i, Integer j, TObject* aObject);
    // The cell list of the hidden row whose stored index is ARow (its strings the texts, its objects
    // the records), or null when the row is shown.
    TStrings* HiddenRowItems(Integer ARow) const;
    // The raw object slot of a cell by stored row: the hidden row's list object or the grid's record,
    // never created.
    TObject* PeekObjectsEx(Integer ACol, Integer ARow);
    // Column i as it was numbered before columns were moved.
    String OriginalCells(Integer i, Integer j) { return GetOriginalCells(i, j); }
    void SetOriginalCells(Integer i, Integer j, const String& Value);
    String GetOriginalCells(Integer i, Integer j);
    // Row j as it was numbered before sorting.
    String UnSortedCells(Integer i, Integer j) { return GetUnSortedCell(i, j); }
    void SetUnSortedCell(Integer i, Integer j, const String& Value);
    String GetUnSortedCell(Integer i, Integer j);
    // The stored row that sorted row ARow came from.
    Integer SortedRowIndex(Integer ARow) const;
    // Where the row that was ARow before sorting is now; ARow when nothing was sorted, the number of
    // sorted rows when it is not among them.
    Integer UnSortedRowIndex(Integer ARow) const;
    // The cell text without its mini-HTML tags.
    String StrippedCells(Integer i, Integer j) { return GetStrippedCell(i, j); }
    String GetStrippedCell(Integer i, Integer j);
    Integer LinesInCell(Integer i, Integer j) { return GetLinesInCell(i, j); }
    Integer GetLinesInCell(Integer i, Integer j);
    // The current cell's text, read and written at the base cell of its merged block; with VirtualEdit
    // the display text is read.
    String CurrentCell() { return GetCurrentCell(); }
    virtual String GetCurrentCell();
    virtual void SetCurrentCell(const String& AValue);
    virtual String GetCurrentCellRaw();
    virtual String GetGridCellText(Integer c, Integer r) { return GridCells(c, r); }
    // Hands Value to the in-place editor's store for the current cell.
    virtual void SetCurrentEditText(const String& Value) { SetEditText(Col(), Row(), Value); }
    virtual Integer GetVirtualCount() { return 0; }
    // The kind of the editor that edits the current cell (the editor kind of the last edit start).
    TEditorType CurrentEditor() const { return FEditControlType; }
    // Stored and hidden counts together.
    Integer AllColCount() const { return ColCount() + FNumHidden; }
    Integer AllRowCount() const { return RowCount() + NumHiddenRows(); }
    // Rich text through a rich edit: the cell text is loaded as rich text, and the rich edit's document
    // is saved back into a cell as rich text.
    void CellToRich(Integer Col, Integer Row, TRichEdit* Richeditor);
    void RichToCell(Integer Col, Integer Row, TRichEdit* Richeditor);
    // '' while the grid is being destroyed.
    String RichToString(TRichEdit* Richeditor);

    // The in-place editor gets the text with its mini-HTML tags.
    bool EditWithTags() const { return FEditWithTags; }
    void SetEditWithTags(bool Value) { FEditWithTags = Value; }
    // CurrentCell reads the display text instead of the stored one.
    bool VirtualEdit() const { return FVirtualEdit; }
    void SetVirtualEdit(bool Value) { FVirtualEdit = Value; }

protected:
    // The editor loads the base cell of the merged block it edits, without tags unless EditWithTags,
    // and stores into that base cell; ACol is a displayed column.
    String GetEditText(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& Value) override;

    bool FVirtualEdit = false;
    bool FNoEditChange = false; // the editor's text was just fetched: loading it is no user change

public:
    // ---- Cell looks, row colours, cell controls, zoom (AdvGridCellLook.cpp)
    // Cells are (stored column i, displayed row j). A read of a cell without a property record answers
    // the record's initial value and creates none (WordWraps excepted); a write creates the record.
    // "Repaints" means the cell is invalidated unless an update is running.

    TColor Colors(Integer i, Integer j) const;
    // Repaints.
    void SetColors(Integer i, Integer j, TColor Value);
    TColor ColorsTo(Integer i, Integer j) const;
    // Repaints also while updating; so does SetGradients.
    void SetColorsTo(Integer i, Integer j, TColor Value);
    TCellGradientDirection Gradients(Integer i, Integer j) const;
    void SetGradients(Integer i, Integer j, TCellGradientDirection Value);
    bool ReadOnly(Integer i, Integer j) const;
    void SetReadOnly(Integer i, Integer j, bool Value);
    // Creates the record to read it.
    bool WordWraps(Integer i, Integer j);
    void SetWordWraps(Integer i, Integer j, bool Value);
    TColor FontColors(Integer i, Integer j) const;
    void SetFontColors(Integer i, Integer j, TColor Value);
    TFontStyles FontStyles(Integer i, Integer j) const;
    void SetFontStyles(Integer i, Integer j, TFontStyles Value);
    String FontNames(Integer i, Integer j) const;
    void SetFontNames(Integer i, Integer j, const String& Value);
    Integer FontSizes(Integer i, Integer j) const;
    void SetFontSizes(Integer i, Integer j, Integer Value);
    // Copies the font's name, size, style and colour into the cell.
    void SetFonts(Integer i, Integer j, TFont* Value) { SetCellFont(i, j, Value); }
    void SetCellFont(Integer i, Integer j, TFont* Value);
    TAlignment Alignments(Integer i, Integer j) const;
    void SetAlignments(Integer i, Integer j, TAlignment Value);

    // Row j's cells from FixedCols through AllColCount - 1. A colour sets that colour in every cell;
    // clNone clears that colour only, in the cells that have a record, and frees a record that then
    // holds nothing but defaults. Each ends with a repaint of the row.
    void SetRowColor(Integer j, TColor Value);
    void SetRowColorTo(Integer j, TColor Value);
    void SetRowFontColor(Integer j, TColor Value);

    // The control placed over a cell, null for none. Placing one makes it a child of the grid laid over
    // the cell grown by a pixel to the left and top; null takes the cell's control off the list but
    // leaves the control itself alone.
    TControl* CellControls(Integer i, Integer j) const;
    void SetCellControls(Integer i, Integer j, TControl* AControl);
    // Lays the cell controls (and the cell scroll bar) over their cells after scrolling or sizing:
    // shown within the view and over fixed cells, hidden elsewhere and in hidden rows and columns. With
    // rebuildlist the list is first made again from the records. Nothing without a window.
    void CellControlsUpdate(bool rebuildlist);
    Integer NumCellControls() const { return FNumCellControls; }

    // The width of stored column i: remembered for a hidden column, the displayed width otherwise.
    // Only columns 0 .. 512 are remembered; past them a write changes nothing and a read answers the
    // displayed width.
    Integer AllColWidths(Integer i);
    void SetAllColWidths(Integer i, Integer Value);

    // Adds x pixels to every column width and row height that stays above 0, in one repaint; the
    // steps taken add up to at most 20 either way, and a step past that is ignored.
    virtual void Zoom(Integer x);
    Integer ZoomFactor() const { return FZoomFactor; }
    // Remembers the present column widths and the grid's width.
    void InitOrigColSizes();

    // A picture of the displayed cells of ARect, fixed lines drawn where the rectangle starts at the
    // fixed cells, on a new borderless, stay-on-top form that takes no activation, owned by the grid and
    // translucent (alpha 192), of the picture's size. The caller shows and frees it.
    TForm* SelectionToForm(const TGridRect& ARect);

    // 7.4.6.3, as bytes from the highest.
    Integer GetVersionNr() const { return 117704195; }
    // "7.4.6.3 Oct, 2014".
    String GetVersionString() const;

    TFormatType FormatType() const { return FFormatType; }
    // Repaints on a change.
    void SetFormatType(TFormatType Value);
    bool UseHTMLHints() const { return FUseHTMLHints; }
    // FIXME: stores the flag only; the program's hint windows do not switch to the mini-HTML hint
    // window until that window is a hint window of the framework.
    void SetUseHTMLHints(bool Value) { FUseHTMLHints = Value; }
    // Also remembered as the cursor the grid returns to after temporary cursors.
    void SetCursor(TCursor Value);
    // The colours of the styled look's gradients, stored as RGB (a system colour resolved when set).
    TColor QELGradientFrom() const { return FQELGradFrom; }
    void SetQELGradientFrom(TColor Value);
    TColor QELGradientTo() const { return FQELGradTo; }
    void SetQELGradientTo(TColor Value);
    TColor QELGradientMirrorFrom() const { return FQELGradMirrorFrom; }
    void SetQELGradientMirrorFrom(TColor Value);
    TColor QELGradientMirrorTo() const { return FQELGradMirrorTo; }
    void SetQELGradientMirrorTo(TColor Value);

protected:
    // A cell control that is freed leaves its cell and the control list, so nothing reaches it again;
    // an edit link or its control is forgotten.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The record of a look that holds nothing but what a new record of that cell would, with clNone
    // counting as the default of each colour: freeing it changes nothing a painter would show.
    bool HoldsOnlyDefaults(const TCellProperties* record, Integer c, Integer r, TFont* font, TBrush* brush);
    // Sets one colour in every normal cell of row j; clNone clears it and frees the records left holding
    // only defaults.
    void SetRowColour(Integer j, TColor Value, void (TCellProperties::*set)(TColor));
    void RepaintUnlessUpdating(Integer i, Integer j) {
        if (FUpdateCount == 0)
            RepaintCell(i, j);
    }

    Integer FNumCellControls = 0; // cells whose record holds a control
    Integer FZoomFactor = 0;      // the zoom steps taken, within -20 .. 20
    bool FScrollLock = false;     // set while zooming
    TFormatType FFormatType = ftVCL;
    bool FUseHTMLHints = false;

public:
    // ---- Scroll bars (grid/view/AdvGridScroll.cpp)
    // The framework grid's bars run over 0..127: position P stands for column
    // MulDiv(P, ColCount - VisibleColCount - FixedCols, 127) + FixedCols, and likewise for rows. The
    // proportional thumbs keep that model: their page is always their maximum - 126.

    // Remembered here as well as passed to the framework grid; reading answers the remembered value.
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // ssMetro (with a window) puts the thin scroll controls in place of the window bars (ScrollBars
    // becomes ssNone); leaving it frees them and brings back ssBoth. ssFlat and ssEncarta use the flat
    // scroll bars when the common-controls library offers them, else the window bars stay.
    TScrollType ScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value);
    // The flat bars' background (clNone: the system's) and thickness.
    TColor ScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value);
    Integer ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(Integer Value);
    TScrollBarAlways ScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways Value);
    // Thumbs sized by the share of the real widths and heights in view. Switching it off ends flat bars
    // it had started and gives both window bars a page of 0.
    bool ScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    // The grid follows a dragged thumb at once instead of on its release.
    bool ScrollSynch() const { return FScrollSynch; }
    void SetScrollSynch(bool Value) { FScrollSynch = Value; }
    // Which thumb drags show "Col : n" or "Row : n" beside the cursor, in HintColor.
    TScrollHintType ScrollHints() const { return FScrollHints; }
    void SetScrollHints(TScrollHintType Value) { FScrollHints = Value; }

    // Recompute the proportional thumbs from the running sums of the widths and heights, so a paint of a
    // grid of a million rows costs what a small grid's does.
    void UpdateVertScrollProportional();
    void UpdateHorzScrollProportional();
    // The flat scroll bars, reached by name in the already loaded common-controls library on each call;
    // without the library or the entry point each does nothing.
    void InitFlatScrollBars();
    void DoneFlatScrollBars();
    void UpdateFlatScrollBars();
    void SyncFlatVertScroll();
    void SyncFlatHorzScroll();
    void ApplyFlatScrollStyle();
    void ApplyFlatScrollColor();
    void ApplyFlatScrollWidth();
    void FlatSetScrollProp(Integer Index, Integer Value);
    void FlatShowScrollBar(Integer Bar, bool Show);
    void FlatSetScrollInfo(Integer Bar, const SCROLLINFO& ScrollInfo);
    // One step of the scrolling that goes on after a quick touch drag: the top row moves by
    // FScrollDelta until FScrollSteps run out. The release of such a drag arms FScrollTimer with it.
    void MomentumScrollTimer(TObject* Sender);
    // Whether the flat scroll bars were set up on the window.
    bool IsFlat() const { return FIsFlat; }
    bool ScrollHintShowing() const { return FScrollHintShow; }
    THTMLHintWindow* ScrollHintWindow() const { return FScrollHintWnd.get(); }

    // Lets the application change the scroll hint; ARow is the column or row the hint names.
    TScrollHintEvent OnScrollHint;

protected:
    void WMHScroll(TMessage& Message) override;
    void WMVScroll(TMessage& Message) override;
    void WMGetDlgCode(TMessage& Message) override;

    // The column or row a position of the 0..127 scroll model stands for.
    Integer ScrollPosToCol(Integer Pos);
    Integer ScrollPosToRow(Integer Pos);
    // Shows the hint text beside the cursor.
    void ShowScrollHint(Integer Index, const String& Caption);
    void HideScrollHint();
    // The cells the fixed background picture covers.
    TRect BackGroundCellRect();

    bool FIsFlat = false;         // the flat scroll bars were set up on the window
    bool FScrollHintShow = false; // a scroll hint is up
    std::unique_ptr<TTimer> FScrollTimer;
    Integer FScrollDelta = 0; // rows per momentum step, +1 or -1
    Integer FScrollSteps = 0; // momentum steps left
    bool FScrollEnd = false;

public:
    // ---- Floating footer (grid/view/AdvGridFooter.cpp)
    // The footer's column calculations write the last row: with fsFixedLastRow it is the footer's row.

    // Runs the calculation each column's ColumnCalc names over the data rows (hidden ones too with
    // CalculateHiddenRows), while the footer shows its fixed last row and EnableCalculation is on.
    virtual void CalcFooterColumns(Integer ACol);
    TFooterPanel* FooterPanel() const { return FFooterPanel.get(); }

    // Asked first for an acCUSTOM footer value, before the footer's own OnCalcFooter.
    TCalcFooterEvent OnCalcFooter;
    // Paints a footer column (fsFixedLastRow), the preview (fsColumnPreview) or the whole panel
    // (fsCustomPaint) in place of the grid's cell painting.
    TFooterPaintEvent OnPaintFooter;
    TNotifyEvent OnCreatedFloatingFooter;

protected:
    friend class TFloatingFooter;
    friend class TFooterPanel;

    // A change of the last row shows in the footer panel.
    void LastRowChanged() override;

    bool FNoRTLOrientation = false; // cell painting leaves right-to-left mirroring aside

public:
    // ---- Column stretching and size notifications (grid/view/AdvGridStretch.cpp)

    // StretchAll and Stretch on (stored as they are), then every normal column shares the width.
    void StretchColumns();
    // The last column takes what the others leave of the width.
    void StretchRightColumn();
    // Fits the columns to AWidth (-1: the client width): column ACol (-1: the last) takes what the others
    // leave, or with ColumnSize.StretchAll every normal column gets an equal share, the pixels left over
    // going one each to the first ones. Raises "Stretch column index out of range" for a column past the
    // count; does nothing while loading, without columns, with ColumnSize.Stretch off or while a stretch
    // runs.
    void ApplyColumnStretch(Integer ACol, Integer AWidth);
    // The cell under a screen point, -1 outside the cells.
    void ScreenToCell(TPoint pt, Integer& ACol, Integer& ARow);
    // Whether a client point lies within 4 pixels of a sizable edge of a fixed cell: a column edge in
    // the fixed rows with goColSizing, a row edge (instead) in the fixed columns with goRowSizing.
    bool IsOnFixedSizingBorder(Integer X, Integer Y);
    // Fires OnUpdateColumnSize for a width the user has just set with the mouse.
    virtual void DoUpdateColumnSize(Integer ACol, Integer& AWidth);

    TEndColumnSizeEvent OnEndColumnSize;
    TEndRowSizeEvent OnEndRowSize;

protected:
    // A stretch follows count and width changes, except for a stretch column that no longer exists: the
    // notifications never raise.
    void SizeChanged(Integer OldColCount, Integer OldRowCount) override;
    // After a mouse sizing with MouseActions.AllColumnSize (AllRowSize) every other normal column (row)
    // is scaled alike, then OnEndColumnSize (OnEndRowSize) fires.
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // Stretches the stretch column when it exists.
    void StretchFromNotification();

    bool FIsColChanging = false; // a stretch runs
    bool ColSizeFlg = false;     // a column width change was seen
    bool ColSized = false;       // the user just sized column Colclicked with the mouse
    bool RowSized = false;       // the user just sized row Rowclicked with the mouse
    Integer Colclicked = -1;     // the column being sized with the mouse, -1 for none
    Integer Rowclicked = -1;     // the row being sized with the mouse, -1 for none
    Integer Colclickedsize = 0;  // the width of Colclicked when its sizing began
    Integer Rowclickedsize = 0;  // the height of Rowclicked when its sizing began

protected:
    // ---- Construction, lifecycle, changed cells (AdvGrid.cpp)

    void CreateWnd() override;
    // Also ends the balloons: the tooltip window goes with the grid's window (AdvGridBalloon.cpp).
    void DestroyWnd() override;
    void Loaded() override;
    void Resize() override;
    String GetEditMask(Integer ACol, Integer ARow) override;
    // Finds the wheel message and the rows per wheel step.
    virtual void InitMouseWheel(bool Startup);
    // Answers csDesigning of the grid; the mouse actions ask through it.
    virtual bool IsDesigning();
    // Keeps the bars ScrollBarAlways names (of those ScrollBars has) shown while their lines all fit,
    // disabled then; with saNone and HideWhenFit, hides the bars whose lines all fit.
    void ApplyScrollBarAlways(bool HideWhenFit);
    virtual void RepaintAll() { Invalidate(); }
    // Bound to the OnChange of the mouse and navigation options; nothing here, for descendants.
    virtual void MouseActionsChanged() {}
    virtual void NavigationChanged() {}
    // Runs ColumnHeadersHook, then shows the column headers in row 0 (or the row headers in column 0).
    virtual void ColumnHeadersHook() {}
    // Long walks over rows report their start, each row and their end here; nothing in the grid itself.
    virtual void ExportNotification(TGridExportState AState, Integer ARow) {}
    // The nearest enclosing form, walking the parents; null when there is none.
    TCustomForm* FindParentForm(TControl* Control) const;

    // ---- Headers in the fixed cells (AdvGridHeaders.cpp)
    // Entry i of ColumnHeaders is the text of cell (i, 0), entry i of RowHeaders that of cell (0, i); a
    // backslash and "n" in an entry stand for a line break. Changing a list shows it at once.

public:
    // Copies the list, clears the header row when there is one, then shows the headers.
    void SetColumnHeaders(TStringList* Value);
    // Copies the list, then shows the headers; only at design time is the header column cleared first.
    void SetRowHeaders(TStringList* Value);
    // Copies the font and repaints.
    void SetFixedFont(TFont* Value);
    // Writes the entries into row 0 when there are fixed rows; entries past the stored columns are
    // ignored.
    void ShowColumnHeaders();
    // Writes the entries into column 0 when there are fixed columns; entries past RowCount are ignored.
    void ShowRowHeaders();
    // Empties row 0 over the displayed columns, or column 0 over the rows.
    void ClearColumnHeaders();
    void ClearRowHeaders();

public:
    // ---- Paint cycle (grid/view/AdvGridPaint.cpp)
    // One pass paints the visible cells through the base cell painter, then what is drawn once per pass:
    // the frame of the edited cell and the background outside the cells. While the update lock is held
    // a paint draws nothing; the area it would have drawn is remembered and repainted when the lock ends.

    // The XOR lines that follow the mouse while a column or row is sized; the same call again takes the
    // line away.
    void DrawColSizingLine(Integer X);
    void DrawRowSizingLine(Integer Y);
    // The background picture or gradient in the client area no cell covers, clipped to that area.
    void PaintOuterBackground();
    // The translucent focus frame around a cell rectangle R (client coordinates): a ring 4 pixels out at
    // the left and top and 5 at the right and bottom.
    void ShowFocusWindow(const TRect& R);
    // Moves the frame to the current cell, or hides it when the cell is out of view.
    void UpdateFocusWindow();
    // Hides the frame and gives up FocusWindowGrid.
    void HideFocusWindow();

    TNotifyEvent OnPainted;

protected:
    // During the update lock: nothing drawn, the update region validated and remembered.
    void WMPaint(TMessage& Message) override;
    // Draws nothing: every pixel is the paint's.
    void WMEraseBkgnd(TMessage& Message) override;
    void Paint() override;
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    // The picture at BackGround's Left and Top, the part inside R; and the picture tiled from Origin
    // (its first copy at Origin less one pixel each way) over R.
    void DrawFixedPositionPicture(const TRect& R);
    void TileBackgroundPicture(const TRect& R, const TPoint& Origin);
    // Invalidates what paints during the update lock left undrawn; called when the lock ends.
    void RepaintLockedArea();

    Integer FPaintCount = 0;   // 1 once the first paint of a grid that is no tab stop has run
    bool FLockedPaint = false; // a paint came during the update lock
    TRect FLockedPaintRect;    // the union of what those paints were asked to draw

public:
    // ---- Cell visual properties (grid/view/AdvGridVisual.cpp)
    // Which of the many settings wins for a cell's colours, font, alignment and word wrap, in one order
    // for painting, printing and measuring. Nothing here creates a property record.

    // The font only: FixedFont or Font, the cell record's font settings, then GetCellColor.
    void GetFontProperties(Integer ACol, Integer RCol, Integer ARow, TGridDrawState& AState, TFont* AFont,
                           TBrush* ABrush, bool Remap);
    // The horizontal and vertical alignment of a stored cell: defaults, numbers right-justified with
    // AutoNumAlign, the record's alignment (not for formulas), then OnGetAlignment.
    void ResolveCellAlignment(Integer ACol, Integer ARow, TAlignment& HA, TVAlignment& VA);
    // The selection colour blended with the cell's at Factor percent when Mixer is on.
    static TColor SelectionBlendColor(TColor SelColor, TColor CellColor, bool Mixer, Integer Factor);
    // Percent of Color1 and the rest of Color2, channel by channel, rounded; clNone stands for the other.
    static TColor BlendColorPercent(TColor Color1, TColor Color2, Integer Percent);
    // The merge base of a displayed cell is fixed: footer rows, right fixed columns, or GetIsFixedCell.
    bool IsFixed(Integer ACol, Integer ARow) override;
    // ShowSelection, and with AutoHideSelection only while the grid's window has the focus.
    bool IsSelectionVisible();
    // True unless OnCanShowFixedDropDown says no.
    virtual bool CanShowFixedDropDown(Integer ACol);
    bool AutoHideSelection() const { return FAutoHideSelection; }
    void SetAutoHideSelection(bool Value) { FAutoHideSelection = Value; }
    bool AutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool Value) { FAutoNumAlign = Value; }
    bool UseDisabledFont() const { return FUseDisabledFont; }
    void SetUseDisabledFont(bool Value) { FUseDisabledFont = Value; }

    TGridGradientEvent OnGetCellGradient;
    TCanShowFixedDropDownEvent OnCanShowFixedDropDown;

protected:
    void GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool Print, bool Select,
                             bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                             TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;

private:
    // The selection colours on the brush, the three gradient colours and the font.
    void ApplySelectionColors(TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                              TFont* AFont, bool Mixed);

public:
    // ---- Cell content drawing (grid/view/AdvGridPaintContent.cpp)

    // No grid text under OnDrawCell or OnCustomCellDraw: the handler draws alone.
    bool NoDefaultDraw() const { return FNoDefaultDraw; }
    void SetNoDefaultDraw(bool Value) { FNoDefaultDraw = Value; }
    // A cell with a graphic shows no text.
    bool NoImageAndText() const { return FNoImageAndText; }
    void SetNoImageAndText(bool Value) { FNoImageAndText = Value; }
    bool HideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value) { FHideFocusRect = Value; }
    // Draws the row indicator in column 0 of the current row.
    TBitmap* RowIndicator() const { return FRowIndicator.get(); }

    TCustomCellDrawEvent OnCustomCellDraw;
    TCustomCellDrawEvent OnCustomCellBkgDraw;
    TGridBorderPropEvent OnGetCellBorderProp;

protected:
    // Everything inside a cell's lines, in a fixed order: the look again, fixed-cell looks, row
    // indicator, modified-row bar, always-visible editor buttons, text, border lines, 3D edges, the
    // graphic, the draw events and the focus rectangle. ACol is displayed.
    void DrawCellContent(TCanvas* Canvas, Integer ACol, Integer ARow, const TRect& Rect,
                         TGridDrawState State) override;
    // The cell's own border lines (GetCellBorder's sides, OnGetCellBorderProp's pens); ACol is stored.
    void DrawCellBorders(TCanvas* Canvas, Integer ACol, Integer ARow, TRect R);
    // The background picture or gradient under one cell's text, in step with the rest of the grid.
    void DrawCellFixedPicture(TCanvas* Canvas, const TRect& C);
    void DrawCellTiledPicture(TCanvas* Canvas, const TRect& C, Integer ACol, Integer ARow);
    void DrawCellBackgroundGradient(TCanvas* Canvas, TRect C);

    bool FNoDefaultDraw = false;
    bool FNoImageAndText = false;
    bool FHideFocusRect = false;
    // The heights of the rows above the view, added up for tiled cell backgrounds once per paint.
    long long FTileRowsSum = 0;
    Integer FTileRowsPaint = -1;
    Integer FTileRowsTop = -1;
    Integer FTileRowsFirst = -1;

private:
    // The gradients of the styled looks' fixed cells.
    void DrawFixedCellLook(TCellDrawContext& Context);
    // The raised or flat edges of fixed cells and the lines of the right fixed columns.
    void DrawFixedCellEdges(TCellDrawContext& Context, TRect R);
    // The combo, ellipsis and spin buttons shown without editing; each takes 16 pixels off the right.
    void DrawAlwaysVisibleButtons(TCellDrawContext& Context);

public:
    // ---- In-cell graphics and controls (grid/view/AdvGridPaintGraphics.cpp)

    // The cell's graphic, its size, where it sits and whether the text is drawn beside it.
    void GetCellGraphicLayout(TCellDrawContext& Context);
    // Draws the graphic laid out for the cell inside R, then the comment mark; reads the text width the
    // text step measured.
    void DrawCellGraphic(TCellDrawContext& Context, TRect R);
    // A check box in R by the control style; grayed shows the third state where the style has one.
    void DrawCheckBox(TCanvas* Canvas, TRect R, bool Checked, bool Enabled, bool Grayed,
                      AdvGrid::TControlStyle Style, bool TriState, TCheckBoxState State);
    // Count radio buttons with the captions of Items, in a row (Horizontal) or a column (downwards, or
    // upwards with Upwards); item SelectedIndex is on, or with -1 the item equal to the cell's text.
    // Scale multiplies the classic buttons' size and caption offset, for printing.
    void DrawRadioGroup(TCanvas* Canvas, TRect R, bool Upwards, double Scale, AdvGrid::TControlStyle Style,
                        Integer ARow, Integer ACol, bool Selected, TStrings* Items, bool Disabled,
                        bool Horizontal, Integer SelectedIndex, Integer Count);

private:
    // The program's bitmap of that name, loaded once per grid.
    TBitmap* GridGlyph(const String& Name);
    // Draws a bitmap with its bottom-left pixel's colour left out.
    static void DrawGlyph(TCanvas* Canvas, TBitmap* Glyph, Integer X, Integer Y);
    void DrawCellNodeButton(TCellDrawContext& Context, TCellGraphic* Graphic, TRect R);
    // G is where the layout put the button, R the cell's graphic area.
    void DrawCellButton(TCellDrawContext& Context, TCellGraphic* Graphic, const TRect& G, const TRect& R);
    void DrawCellProgress(TCellDrawContext& Context, TCellGraphic* Graphic, TRect R);

    std::vector<std::pair<String, std::unique_ptr<TBitmap>>> FGridGlyphs;

public:
    // The button cell under the mouse, drawn hot; (-1, -1) for none. The mouse move keeps it.
    TPoint FHoverButton{-1, -1};

    // ---- Rotated text (grid/view/AdvGridRotatedText.cpp)

    // Measures Text and one "w" in the canvas font into Size, shrinks Rect by 2 and moves Rect's top-left
    // to the point from which the text, turned by Angle degrees, sits in Rect by the alignments.
    void CalcRotatedTextRect(TRect& Rect, TSize& Size, TVAlignment VAlign, TAlignment HAlign,
                             const String& Text, Integer Angle);

protected:
    // Draws the text of a rotated-text cell in R, turned by its angle; level, in the cell's alignment,
    // when the turned text does not fit R.
    void DrawCellRotatedText(TCellDrawContext& Context, const TRect& R, Integer Angle);

public:
    // ---- Cell text drawing, measurement, displayed and saved text (grid/view/AdvGridCellText.cpp)

    // The displayed text: the cell text, formatted through OnGetFloatFormat when it is a number. A cell's
    // paint reads the stored text in place instead when neither OnGetFloatFormat nor a display-text event
    // is assigned, so an override that changes texts beyond those must also make that read a copy.
    virtual String GetFormattedCell(Integer ACol, Integer ARow);
    // The text the file writers save: displayed or raw, check-box words for empty check-box cells,
    // tags and rich-text codes kept or dropped, then OnSaveCell.
    virtual String SaveCell(Integer ACol, Integer ARow);
    // The cell text; descendants answer a computed value.
    virtual void GetSaveCellText(Integer ACol, Integer ARow, String& Value);
    // Fires OnLoadCell, then stores the text raw, without the change handling.
    virtual void LoadCell(Integer ACol, Integer ARow, String Value);
    // Descendants that draw their cells themselves answer true.
    virtual bool IsCustomDrawn() { return false; }
    // The room the displayed text of the cell at stored column ACol takes with the cell's font: unbounded
    // (the widest line, the lines' height) or, with SB, wrapped inside the cell; VS keeps 17 pixels free.
    // Leaves the grid canvas with the cell's font.
    TSize GetCellTextSize(Integer ACol, Integer ARow, bool VS, bool SB);
    // GetCellTextSize's work with both column forms.
    void CalcCellTextSize(Integer ACol, Integer DCol, TSize& Size, bool VS, bool SB, Integer ARow);
    // Renders a cell's rich text into R through the hidden rich edit.
    void DrawCellRichText(Integer ACol, Integer ARow, const TRect& R, TCanvas* Canvas);
    bool SaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool Value) { FSaveWithHTML = Value; }
    bool SaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool Value) { FSaveWithRTF = Value; }
    bool SaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool Value) { FSaveVirtCells = Value; }
    bool EnhTextSize() const { return FEnhTextSize; }
    void SetEnhTextSize(bool Value) { FEnhTextSize = Value; }
    Char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(Char Value) { FPasswordChar = Value; }
    TColor SelectionRectangleColor() const { return FSelectionRectangleColor; }
    void SetSelectionRectangleColor(TColor Value) { FSelectionRectangleColor = Value; }

    TFloatFormatEvent OnGetFloatFormat;
    TCellSaveLoadEvent OnSaveCell;
    TCellSaveLoadEvent OnLoadCell;

protected:
    // The text step of content drawing.
    void DrawCellText(TCellDrawContext& Context);
    // The hidden rich edit that draws and measures rich text, made at first use.
    TRichEdit* RichEditor();

    bool FSaveWithRTF = false;
    TColor FSelectionRectangleColor = clBlack;
    Integer FReqWidth = 0; // the size the rich edit last asked for
    Integer FReqHeight = 0;

private:
    // Plain text: single-line, wrapped or line by line, with links, ellipsis and the 4096 limit.
    void DrawPlainCellText(TCellDrawContext& Context, StringView Text, TRect R);
    std::unique_ptr<TRichEdit> RAviRidaVadi;

protected:
public:
    // ---- Native text file and stream form (grid/files/AdvGridFiles.cpp)

    // The largest column and row counts a file may ask for: a header beyond them is a corrupt file.
    static constexpr Int64 MaxFileColCount = Int64(1) << 20;
    static constexpr Int64 MaxFileRowCount = Int64(1) << 26;
    // Writes the save range's cell texts and the column widths as lines ending in CR LF, in UTF-16
    // with a byte-order mark or in ANSI. The file is replaced only by a save that completed.
    void SaveToFile(const String& FileName, bool Unicode = false);
    // Reads a native file (encoding by its byte-order mark) into the grid, pumping messages after each
    // cell line; cells the file does not name keep their text. Raises EAdvGridError for a corrupt
    // header, the platform's file errors, and EAbort when the grid was freed during the load.
    void LoadFromFile(const String& FileName);
    // The stream form: UTF-16 lines, cells relative to the save range, from the stream's position.
    void SaveToStream(TStream& Stream);
    // Reads the stream form up to the first line that is not a width or cell line, leaving the stream
    // at that line. Numbers that are no integers raise EConvertError.
    void LoadFromStream(TStream& Stream);
    TGridProgressEvent OnFileProgress;

private:
    struct FileLoadState {
        bool destroyed = false; // the grid was freed while the load pumped messages
    };
    // Raises EAdvGridError while a file load runs.
    void CheckNotLoading() const;
    void FireFileProgress(Integer Progress, Integer& Previous);
    FileLoadState* FFileLoad = nullptr; // the running file load

public:
    // ---- Spreadsheet exchange through automation (grid/files/AdvGridXLS.cpp)

    // Writes the save range's cell texts into a new workbook (or, without CreateNewSheet and with a
    // workbook open in a running server, into its active sheet from the active cell's row) and saves it
    // as Filename. Raises EAdvGridError "Excel OLE server not found" without a server, and the server's
    // OLE exception when the workbook cannot be made or saved; a server the call started is quit first.
    void SaveToXLS(const String& Filename, bool CreateNewSheet = true);
    // The same into the sheet named SheetName of Filename (opened when it exists), made when missing.
    void SaveToXLSSheet(const String& Filename, const String& SheetName);
    // Reads the used range of the workbook's active sheet, or of the sheet named SheetName, into the
    // grid, sized to it. Raises EAdvGridError for a missing server or sheet, "Incorrect XLS file" for a
    // value it cannot read, and passes on the server's exceptions.
    void LoadFromXLS(const String& Filename);
    void LoadFromXLSSheet(const String& Filename, const String& SheetName);
    // The names of the workbook's sheets in their order.
    std::unique_ptr<TStringList> GetXLSSheets(const String& FileName);

private:
    void SaveXLS(const String& Filename, const String& SheetName, bool CreateNewSheet);
    void LoadXLS(const String& Filename, const String& SheetName);

public:
    // ---- Column states (grid/files/AdvGridColumnState.cpp)

    // The column-state string: the column count with the hidden columns, the displayed columns' widths
    // (then the default width for the rest), the column order and a shown flag per column, the four
    // fields separated by "#". Applying one reads the same fields back; a text without "#" is ignored.
    String ColumnStatesToString();
    void StringToColumnStates(const String& Value);
    // The displayed columns' widths as keys "Col<i>", and the column order as keys "Pos<i>", in
    // ColumnSize's section of its INI file or registry key; nothing without Key or Section, or while
    // designing. Loading keeps what the store lacks.
    void SaveColSizes();
    void LoadColSizes();
    virtual void SaveColPositions();
    virtual void LoadColPositions();
    // Shows every column, then moves the columns until each sits where its column-order entry places it;
    // an empty list is filled with 0 .. ColCount - 1 instead.
    void ResetColumnOrder();

private:
    // The store ColumnSize names, or none when it names none.
    std::unique_ptr<TCustomIniFile> OpenColumnStore();
    // Arranges the columns as the stored order lists them and keeps that list as the column order.
    void ApplyColumnOrder(const std::vector<Integer>& stored);

public:
    // ---- Print job and page engine (grid/files/AdvGridPrint.cpp)

    // Print on the current printer, with PrintSettings: the whole grid, the selection, a range of
    // displayed cells, or only the selected rows or columns. Printer errors pass through unchanged.
    void Print();
    void PrintSelection();
    void PrintRect(const TGridRect& Gridrect);
    void PrintSelectedRows();
    void PrintSelectedCols();
    // Draw the pages FPrintPageFrom .. FPrintPageTo (page 1 after construction, see SetPreviewPage) into
    // Displayrect of Canvas, in its device units.
    void PrintPreview(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect);
    void PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect);
    // Page 1 drawn into the canvas's clipping box, without OnPrintStart or export notifications.
    void PrintDraw(TCanvas* Canvas, const TRect& DrawRect);
    void PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect);
    // The page the next preview draws.
    void SetPreviewPage(Integer Value);
    // A font's height in 0.1 mm for a point size, scaled by Fontscalefactor (negative: a character
    // height), and back.
    Integer MapFontHeight(Integer pointsize) const;
    static Integer MapFontSize(Integer Height);
    // The cores of the print and preview families. A range reaching past displayed column 511 is
    // clamped to it: the column tables hold 513 entries.
    void PrintRange(TGridRect Gridrect, bool SelectedOnly);
    void PrintPreviewRange(TCanvas* Canvas, const TRect& Displayrect, bool SelectedOnly, TGridRect Gridrect);
    // The page engine: lays out FPrintRect on Canvas (already in MM_LOMETRIC) and answers the pages.
    Integer BuildPrintPages(TCanvas* Canvas, TPrintPassMode Mode, Integer PageCount, bool SelectedOnly);
    // The longest line, in characters, of a column's save texts (all lines with MultilineCells).
    Integer GetMaxColumnLineLength(Integer ACol);
    // Print without the counting pass: the page total is then 2147483647.
    bool FastPrint() const { return FFastPrint; }
    void SetFastPrint(bool Value) { FFastPrint = Value; }
    // The sign of rotated text on printers that turn landscape output by 270 degrees.
    bool PrinterDriverFix() const { return FPrinterdriverfix; }
    void SetPrinterDriverFix(bool Value) { FPrinterdriverfix = Value; }

    TPrintStartEvent OnPrintStart;
    TPrintPageEvent OnPrintPage;
    TPrintNewPageEvent OnPrintNewPage;
    TPrintPageDoneEvent OnPrintPageDone;
    TPrintCancelEvent OnPrintCancel;
    TPrintColumnWidthEvent OnPrintSetColumnWidth;
    TPrintRowHeightEvent OnPrintSetRowHeight;
    TFitToPageEvent OnFitToPage;
    TPrintGetPageNumEvent OnPrintGetPageNum;
    TNotifyEvent OnPrintDone;

protected:
    double Fontscalefactor = 1.0; // multiplies every mapped font height
    TRect PrevRect;               // the paper in 0.1 mm, or the preview's rectangle in device units
    TGridRect FPrintRect{};       // the displayed cells being printed
    Integer FPrintPageWidth = 0;  // of the current column band, repeated fixed columns included
    TRect FPrintPageRect;
    Integer FPrintColStart = 0;
    Integer FPrintColEnd = 0;
    Integer FPrintPageNum = 0; // the page total of the last counting pass
    bool FFastPrint = false;
    bool FIsPrintPreview = false;
    bool FPrinterdriverfix = false;
    TPrintPassContext* FPrintPass = nullptr; // the running engine pass

private:
    // The column widths of the range, measured or from ColWidths, into MaxWidths.
    void MeasurePrintColumns();
    // Scales MaxWidths by FitToPage; sets the pass's FitScale.
    void FitPrintColumns();
    // The space above and below the table on the current page, an HTML title block's height included.
    void CalcPrintHeaderFooter();
    // The title lines joined into one mini-HTML title block; empty when the title is a plain text.
    String PrintHTMLTitle();
    // Lays out an HTML title block in Font from (LeftSize, Top) across the page, and with Draw draws it;
    // answers its height in 0.1 mm.
    Integer RenderPrintTitle(const String& HTML, TFont* Font, Integer Top, bool Draw);
    // A printer page for the next laid-out page, when it is in the range drawn.
    void StartPrintPage();
    // The outer frame and closing lines of a finished page.
    void FinishPrintPage(Integer FromCol, Integer ToCol, Integer YPos);
    // The header and footer texts and the title block of the current page; answers the height of the
    // HTML title block drawn (0 for none), which HeaderHeight or FooterHeight already holds.
    Integer DrawHeaderFooter();
    String FormatPageNumber();
    // A row's content height in 0.1 mm, cached for the last row asked.
    Integer GetPrintRowHeight(Integer ARow);
    bool IsPrintRow(Integer ARow);
    bool IsPrintCol(Integer ACol);
    // The current page lies in FPrintPageFrom .. FPrintPageTo and the pass draws.
    bool PrintPageDrawn() const;
    // Clamps a range to the rows and columns the grid and the column tables have.
    TGridRect ClampPrintRange(TGridRect Gridrect);

public:
    // ---- Printer-canvas cell drawing (grid/files/AdvGridPrintCell.cpp)

    // A cell's content extent (width, height) in 0.1 mm at the running pass; ACol is stored.
    TPoint MeasurePrintCell(Integer ACol, Integer ARow);
    // Draws the displayed columns FromCol .. ToCol of a row whose top is at YPos, when the pass draws
    // the current page; answers the row's pitch in every case.
    Integer PrintRowCells(Integer YPos, Integer FromCol, Integer ToCol, Integer ARow);
    // 90 or 270 for a current printer that turns landscape output, 0 for none.
    Integer GetPrinterOrientationAngle();
    // Moves Rect.Left and Rect.Top to the start of text turned by Angle degrees (HAlign 0 left, 1 right, 2
    // centre; VAlign 0 top, 1 centre, 2 bottom), from the text's projections a, b, c, d.
    static void PlaceRotatedText(TRect& Rect, Integer HAlign, Integer VAlign, Integer a, Integer b, Integer c,
                                 Integer d, Integer Angle);

private:
    // The content of the base cell of a block: background, text and graphic.
    void PrintCellContent(Integer R, Integer ARow, TRect Rect, TCellBorders Borders, Integer PenWidth,
                          Integer Pitch, Integer YPos);
    // The cell's graphic in print form, into GraphicRect; ColorTo is the cell's gradient end colour.
    void PrintCellGraphic(TCellGraphic* Graphic, Integer R, Integer ARow, const TRect& GraphicRect,
                          TColor ColorTo);

public:
    // ---- Print settings in INI form (grid/files/AdvGridPrintSettings.cpp)

    // PrintSettings as one section of the INI file Key; the file is replaced only by a complete save.
    void SavePrintSettings(const String& Key, const String& Section);
    // Reads the section back; a missing key or file gives that key's default, and the file is written
    // back (created when missing).
    void LoadPrintSettings(const String& Key, const String& Section);

public:
protected:
    // Fields the grid's Parts share.
    Integer FMaxRowCount = 0; // the highest row count in use, rows beyond RowCount keep their data
    Integer FMaxColCount = 0;
    Integer FNumHidden = 0; // hidden columns
    bool FClearTextOnly = false;
    bool FNilObjects = false;      // clearing drops record references without freeing them
    bool FBlockCellChange = false; // ClearRect reports no changed cells
    bool FUseEnabledRows = false;  // FEnabledRows keeps a flag per row
    bool FSaveHiddenCells = false;
    bool FOwnsObjects = false;
    bool FLoaded = false;
    bool FEditChange = false;  // an in-place edit changed the text: swallow the next repaint
    Integer FUpdateCount = 0;  // BeginUpdate depth
    Integer FFixedRowsMin = 0; // the counts and sizes of the stored description, set by Loaded
    Integer FFixedColsMin = 0;
    Integer FMinRowHeight = 0;
    Integer FMinColWidth = 0;

public:
    // ---- Balloons and settings change handlers (AdvGridBalloon.cpp)

    // Makes the balloon tooltip window of the grid's window, once until BalloonDone: one tool over the
    // client area whose text is asked for when the tip shows, the error icon and "ToolTipText" as its
    // title, the delays that are not -1 and the transparency. Nothing while the grid has no window.
    void BalloonInit();
    // Destroys the tooltip window when BalloonInit made it.
    void BalloonDone();
    // The tooltip window, 0 when there is none.
    HWND ToolTipHandle() const { return FHToolTip; }

protected:
    void CreateToolTipWindow();
    void DestroyToolTipWindow();
    // Adds the tool over the client area and the title (Icon outside 0 .. 3 becomes 0); nothing
    // without a window.
    void AddToolTipTool(Integer Icon, const String& Title);
    // The grid's handlers of its settings objects' changes.
    void BalloonEnableChanged(TObject* Sender);
    void ShowModifiedChanged(TObject* Sender);
    void BandsChanged(TObject* Sender);
    // Lays the search panel out as the search footer says.
    void SearchFooterChanged(TObject* Sender);

    HWND FHToolTip = nullptr;
    bool FBalloonInitialised = false; // BalloonInit ran since the last BalloonDone

public:
    // ---- Window procedure, mouse wheel and wheel panning (AdvGridWndProc.cpp)
    // A wheel notch moves by the grid's own step only: after the window procedure stepped, the
    // framework's wheel handlers answer handled without moving again.

    bool EnableWheel() const { return FEnableWheel; }
    void SetEnableWheel(bool Value) { FEnableWheel = Value; }
    TIntelliPan IntelliPan() const { return FIntelliPan; }
    void SetIntelliPan(TIntelliPan Value) { FIntelliPan = Value; }
    // Cells follow the editor's text while the user types.
    bool ShowEditProcess() const { return FShowEditProcess; }
    void SetShowEditProcess(bool Value) { FShowEditProcess = Value; }
    // Wheel panning runs, from a middle click to the next click or key.
    bool WheelPanning() const { return wheelpan; }
    // The timer that steps wheel panning every 10 ms.
    static constexpr UINT_PTR WheelPanTimerID = 999;

    TEditCellDoneEvent OnEditCellDone;
    TComboChangeEvent OnComboChange;
    TComboObjectChangeEvent OnComboObjectChange;
    TComboCloseUpEvent OnComboCloseUp;
    TComboCloseUpEvent OnComboDropDown;
    TSelectionChanged OnSelectionChanged;
    TNotifyEvent OnIntelliZoom;

protected:
    void WndProc(TMessage& Message) override;
    // Runs after the grid's own wheel step with the rows moved; answering false lets the framework's
    // wheel handlers run as well.
    virtual void WheelHook(Integer Delta, bool& Handled) { Handled = false; }
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // Draws the panning marker of IntelliPan with its top-left corner at the panning start point.
    void PaintWheelPanMarker();
    // Invalidates the 32 x 32 square of the marker.
    void InvalidateWheelPanMarker();
    // Repaints the selection for the looks that paint it specially, then fires OnSelectionChanged.
    virtual void DoSelectionChanged(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
    virtual void DoComboCloseUp(Integer ACol, Integer ARow);
    virtual void DoComboDropDown(Integer ACol, Integer ARow);
    virtual void DoIntelliZoom();

    bool FShowEditProcess = false;
    bool FEditStart = false;            // the editor was just shown: its first change is not a typed one
    bool FSelectionChangedFlag = false; // DoSelectionChanged ran since the last EndUpdate

private:
    // The wheel message's branch: the grid's own step. handled stays true unless WheelHook lets the
    // framework's wheel handling run as well.
    void MouseWheelStep(TMessage& Message, const TGridRect& oldSelection, bool& handled);
    // Fires OnMouseWheelDown or OnMouseWheelUp and answers its Handled.
    bool WheelEventOnly(bool down, TShiftState Shift, TPoint MousePos);
    // One WM_COMMAND through the grid: editor changes, combo notifications and the sender's own copy.
    // True when the framework's handling is not to run.
    bool CommandMessage(TMessage& Message);
    // OnComboChange and OnComboObjectChange for the combo editor's item.
    void ComboChanged();
    void StartWheelPan(const TPoint& pos);
    void StopWheelPan();
    void WheelPanStep();

    bool wheelpan = false;
    TPoint wheelpanpos;
    UINT_PTR wheeltimer = 0;
    HCURSOR prevcurs = nullptr;
    HCURSOR FICursor = nullptr;
    bool FPanHintsWere = true;  // the application's hints before panning switched them off
    bool FWheelStepped = false; // the framework handles a wheel message the grid has stepped for

public:
    // ---- Left-button press (grid/view/AdvGridMouse.cpp)
    // X and Y are client pixels; columns are displayed ones unless said otherwise.

    // Selects the option of a radio-group cell (stored column) under a point given relative to the
    // cell's top-left, and makes the cell current unless it is fixed.
    void RadioClickAt(Integer ACol, Integer ARow, Integer XOfs, Integer YOfs);
    // What a press at the pointer would do now, as the last mouse move found it.
    TMouseSelectMode MouseSelectMode() const { return FMouseSelectMode; }
    // The cell selector mode: a press only reaches EmptyHook188.
    bool CellSelectorMode() const { return FCellSelectorMode; }
    void SetCellSelectorMode(bool Value) { FCellSelectorMode = Value; }

    TCanClickCellEvent OnCanClickCell;
    TNodeAllowEvent OnBeforeExpandNode;
    TNodeAllowEvent OnBeforeContractNode;
    TNodeClickEvent OnExpandNode;
    TNodeClickEvent OnContractNode;
    TAnchorClickEvent OnAnchorClick;
    TControlClickEvent OnControlClick;
    TRadioClickEvent OnRadioClick;
    TCellColRowEvent OnRadioButtonClick;
    TRowChangingEvent OnRowChanging;
    TColChangingEvent OnColChanging;

protected:
    void WMLButtonDown(TMessage& Message) override;
    // Empty hooks for descendants: a press in cell-selector mode, and the range a select-all takes.
    virtual void EmptyHook188(Integer ACol, Integer ARow) {}
    virtual void EmptyHook190(const TGridRect& Range) {}
    // The one modifier a press passes to OnMouseDown: Alt, else Shift, else Ctrl.
    TShiftState PressShift() const;
    // The text rectangle a cell's mini-HTML is laid out in, for hit tests.
    TRect HTMLTextRect(Integer ACol, Integer ARow, Integer realCol);
    // Hit-tests the mini-HTML of cell (ACol, ARow) at (X, Y): answers the anchor (empty when none) and
    // gives its hint, the link index (-1 none) and the form control hit.
    String HTMLAnchorAt(Integer ACol, Integer ARow, Integer X, Integer Y, String& hint, Integer& link,
                        String& controlID, String& controlType, String& controlValue, TRect& controlRect);
    // The dotted inverted line of a fixed column's (vertical) or row's border being dragged; drawing it
    // twice takes it away.
    void DrawFixedSizingLine(bool vertical, Integer pos);

    bool FDoOnClick = false;     // a press happened: its release fires OnClick on fixed cells once
    bool FMouseKeepDown = false; // the left button is held
    bool FMouseDownMove = false; // the left button is held and the mouse may move
    bool FSpinUpClick = false;   // which half of an always-visible spin button was pressed
    bool FSpinDnClick = false;
    TGridRect FOrigSelection;  // the selection before the press
    TGridRect FDropSelection;  // the selection when a selection resize began
    TGridRect FSizeSelection;  // the selection last drawn with the selection rectangle
    bool FMouseResize = false; // a selection resize runs
    bool FScrollStart = false; // touch scrolling runs from ptdown
    Integer FTopDown = 0;      // the top row when touch scrolling began
    DWORD FTimeStart = 0;      // the tick count when touch scrolling began
    Integer FMoveColInd = -1;  // where a column or row move would drop
    Integer FMoveRowInd = -1;
    bool FSelectionClick = false; // the press landed on the selection: a drag may start
    Integer FOldKeepLeftCol = 0;  // the left column at the press
    Integer Clickposx = 0;        // the press point
    Integer Clickposy = 0;
    Integer Clickposdx = 0; // the press point minus the right and bottom of the sizing reference cell
    Integer Clickposdy = 0;
    bool LButFlg = false;    // a press with MouseActions.CaretPositioning: the editor's caret goes there
    bool FSizeFixed = false; // the mouse is on a fixed column's (row's) border that may be dragged
    bool FSizeFixedR = false;
    bool FSizingFixed = false; // such a border is dragged
    bool FSizingFixedR = false;
    Integer FSizeFixedX = 0; // where its dotted line stands
    Integer FSizeFixedY = 0;
    Integer FSizingFixedCol = -1; // the fixed column (row) being sized
    Integer FSizingFixedRow = -1;
    bool FFixedCellPushed = false; // a fixed cell is drawn as a pushed button
    TRect FPushedFixedCell;
    String FCtrlDownId;     // the form control pressed
    TPoint FCtrlXY{-1, -1}; // the cell of a pressed BUTTON control (stored column)
    bool FCtrlDown = false;
    bool FDeselectState = false; // the press was on a selected row or column of a disjunct selection
    bool FMouseDown = false;     // a disjunct selection began with this press
    Integer Movecell = -1;       // the column (header press) or row (row-header press) that may move
    Integer MoveOfsX = 0;        // the press point inside the moved header
    Integer MoveOfsY = 0;
    TMouseSelectMode FMouseSelectMode = msNormal;
    bool FCellSelectorMode = false;

private:
    // The stages of the press; those that handle the press and stop answer true.
    void StartSelectionResize(TMessage& Message, Integer X, Integer Y, bool platformPress);
    bool PressOnInCellControl(TMessage& Message, Integer ACol, Integer ARow, Integer realCol,
                              const TRect& cellRect, TShiftState shift, bool nodeRow);
    bool PressOnAnchor(Integer ACol, Integer ARow, Integer clickCol, Integer clickRow, Integer realCol,
                       Integer X, Integer Y);
    void PressOnHeaders(Integer ACol, Integer ARow, Integer X, Integer Y, const TRect& cellRect);
    bool PressOnCheckControl(Integer ACol, Integer ARow, Integer realCol, Integer X, Integer Y, bool mayEdit);
    // The framework grid's press, with AlwaysEdit off, KeepHorizScroll and the partial-line rules.
    void PlatformPress(TMessage& Message, Integer ACol, Integer ARow);

public:
    // ---- Mouse press and release overrides (grid/view/AdvGridMouseOverrides.cpp)

    // The popup menu of the fixed cells' drop-down button; not owned.
    TPopupMenu* FixedDropDownMenu() const { return FFixedDropDownMenu; }
    void SetFixedDropDownMenu(TPopupMenu* Value) { FFixedDropDownMenu = Value; }

    TFixedDropDownClickEvent OnFixedDropDownClick;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    Integer FFltrPopPressCol = -1; // the column whose filter-type button was pressed
    bool FDropDownDown = false;    // a fixed cell's drop-down button is pressed
    TPopupMenu* FFixedDropDownMenu = nullptr;

private:
    // Whether the fixed cells show their drop-down button.
    bool FixedDropdownButtonShown() const;
    // A press on a fixed cell's drop-down button pops its menu up; true when the press was there.
    bool PressOnFixedDropDown(Integer ACol, Integer ARow, Integer X, Integer Y);
    // The release's step for disjunct cells; refused is set when OnSelectCell refused the cell.
    void MouseUpDisjunctCells(TShiftState Shift, Integer ACol, Integer ARow, bool& refused);

public:
    // ---- Left-button release and sorting by header click (grid/view/AdvGridMouseRelease.cpp)

    // Milliseconds the last sort by a header click took.
    Integer SortTime() const { return FSortTime; }

    TFixedCellClickEvent OnFixedCellClick;
    TSelectionResizeEvent OnSelectionResize;
    TSelectionResizeEvent OnSelectionResized;
    TCheckBoxMouseUpEvent OnCheckBoxMouseUp;
    TRadioClickEvent OnRadioMouseUp;

protected:
    void WMLButtonUp(TMessage& Message) override;
    // Sorts by the clicked header cell's column (displayed ACol) as the sort settings say.
    void ClickSort(Integer ACol, Integer ARow, Integer X, Integer Y, bool moveEnded);

    bool ColMoveFlg = false; // a column or row moved in this release: no sort
    bool FDblClk = false;    // a double click sized a column: the next release does not sort
    Integer FSortTime = 0;

public:
    // ---- Double click and right button (grid/view/AdvGridMouseClicks.cpp)

    // Opens the fixed-cell edit or combo box over fixed cell (ACol, ARow); AFilter edits the filter text
    // of a filter-row cell.
    void EditFixedCell(Integer ACol, Integer ARow, bool AFilter);
    // A right click on a link edits it instead of following it.
    bool URLEdit() const { return FURLEdit; }
    void SetURLEdit(bool Value) { FURLEdit = Value; }

    TClickCellEvent OnDblClickCell;
    TClickCellEvent OnRightClickCell;

protected:
    void WMLButtonDblClk(TMessage& Message) override;
    void WMRButtonDown(TMessage& Message) override;
    void WMRButtonUp(TMessage& Message) override;

    bool FURLEdit = false;
    std::unique_ptr<TStringList> FFixedComboItems = std::make_unique<TStringList>(); // the fixed combo's
    TGridFixedCellEditor FFixedEditKind = fceEdit; // the kind of the last fixed-cell editor opened
    bool FFixedEditFilter = false;                 // it edits a filter-row cell

private:
    // Sizes column C to its contents after OnColumnSize allowed it, then the framework's double click.
    void DoubleClickSizeColumn(TMessage& Message, Integer C);

public:
    // ---- Mouse move: hover, links, cursor and drag feedback (grid/view/AdvGridMouseMove.cpp)

    // Clears the hovered fixed cell and the fixed-border zones, and ends a freeze of the hover.
    void ResetFixedCellHighlight();
    // Whether HoverFixedCells covers the cell.
    bool IsHoverFixedCell(Integer ACol, Integer ARow) const;
    // Which fixed cells follow the mouse.
    THoverFixedCells HoverFixedCells() const { return FHoverFixedCells; }
    void SetHoverFixedCells(THoverFixedCells Value) { FHoverFixedCells = Value; }
    // The fixed cell under the mouse while HoverFixedCells is on; -1 when none.
    Integer HoverFixedX() const { return FHoverFixedX; }
    Integer HoverFixedY() const { return FHoverFixedY; }
    // The cell whose button or expand toggle is under the mouse; -1, -1 when none.
    TPoint HoverButton() const { return FHoverButton; }
    // The link of a mini-HTML cell under the mouse is underlined.
    bool URLUnderlineOnHover() const { return FURLUnderlineOnHover; }
    void SetURLUnderlineOnHover(bool Value) { FURLUnderlineOnHover = Value; }
    // Sizing a column or row shows its size in a hint.
    bool HintShowSizing() const { return FHintShowSizing; }
    void SetHintShowSizing(bool Value) { FHintShowSizing = Value; }

    TAnchorHintEvent OnAnchorHint;
    TAnchorEvent OnAnchorEnter;
    TAnchorEvent OnAnchorExit;
    TColumnMoveEvent OnColumnMove;
    TColumnMoveEvent OnColumnMoving;
    TRowMoveEvent OnRowMove;
    TRowMoveEvent OnRowMoving;
    TColumnSizingEvent OnColumnSizing;
    TRowSizingEvent OnRowSizing;

protected:
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void CMMouseEnter(TMessage& Message) override;
    void CMMouseLeave(TMessage& Message) override;
    void WMSetCursor(TMessage& Message) override;
    // After the framework's handling of CM_CURSORCHANGED: a cursor change not of the grid's own ends the
    // select mode.
    void CursorChanged();
    // A temporary cursor of the grid's own; the cursor it returns to stays.
    void SetGridCursor(TCursor Value);
    // The grid carries the floating footer as its fixed last row.
    bool FooterIsFixedLastRow() const;
    void HideMoveArrows();

    THoverFixedCells FHoverFixedCells = hfNone;
    bool FNoMouseLeave = false;   // the hovered fixed cell is frozen
    TPoint FHotFixedCell{-1, -1}; // the cell under the mouse for the list-view look
    TPoint FHoverCell{-1, -1};    // the mini-HTML cell whose link FHoverlink is under the mouse
    String FAnchor;               // the anchor last entered
    String FLastAnchorHint;
    TPoint FLastBalloonPos{-1, -1};
    bool Invokedchange = false; // the next cursor change is the grid's own
    bool FURLUnderlineOnHover = false;
    bool FHintShowSizing = false;
    Integer FScrollCol = -1; // the cell the in-cell scroll bar serves
    Integer FScrollRow = -1;

private:
    // Steps 5 to 7 of the move: the hover row, the hovered fixed cell, the list-view hot cell.
    void HoverCell(Integer ACol, Integer ARow);
    // Step 17: links, their events and the link cursor.
    void MouseMoveLinks(Integer X, Integer Y, bool& cursorKept);
    // Step 15: the header button, the drop arrows, scrolling and the drag cursor of a move.
    void EnhancedMoveFeedback(Integer X, Integer Y, Integer ACol, Integer ARow);
    // After the framework's move: the sizing events and the sizing hint.
    void SizingFeedback(Integer X, Integer Y, Integer ARow);
    // Whether (X, Y) lies on a border of the fixed cells that sizes a column or row.
    bool OnFixedSizingBorder(Integer X, Integer Y);

public:
    // ---- Column and row moving (grid/view/AdvGridMoving.cpp)

protected:
    void RowMoved(Integer FromIndex, Integer ToIndex) override;
    // What follows a moved column once its cells moved: the sort state, the footer, a synchronised grid.
    void ColumnMovedFollowUp(Integer FromIndex, Integer ToIndex, Integer RealFrom, Integer RealTo);

    bool FSyncedMove = false; // set while the partner grid passes a move on to this one

public:
    // ---- Drag auto-scroll (grid/view/AdvGridDragScroll.cpp)

    TDragScrollEvent OnDragScroll;

protected:
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    // The auto-scroll timer's tick.
    void DragScrollTimer();

    std::unique_ptr<TTimer> FDragTmr; // exists while a drag rests in a margin
    TDragScrollDirection FDragScrollDirection;

private:
    void FreeDragTimer();

    bool FInDragScrollTick = false; // the timer's handler runs
    bool FDragTmrStopped = false;   // stopped in its own tick: freed at the next event

public:
    // ---- Editor commit and cancel (grid/view/AdvGridEditCommit.cpp)

    TClickCellEvent OnClickCell;
    TCheckBoxChangeEvent OnCheckBoxClick;
    TClickSortEvent OnClickSort;

protected:
    virtual void DoCheckBoxClick(Integer ACol, Integer ARow, bool State);
    virtual void DoClickCell(Integer ARow, Integer ACol);
    virtual void DoClickSort(Integer ACol);

public:
    // ---- Cell selection change (grid/view/AdvGridSelectCell.cpp)

    TNotifyEvent OnStartBlockFocus;
    TNotifyEvent OnEndBlockFocus;

protected:
    virtual void DoStartBlockFocus();
    virtual void DoEndBlockFocus();

    // ---- Filter drop-down, filter row and fixed-cell editors (grid/view/AdvGridFilter.cpp)

    // FIXME: there is no filter edit row yet; no cell has a filter edit.
    bool HasFilterEdit(Integer ACol, Integer ARow);

public:
    // ---- In-place editor hand-over, key release and scroll follow-up (AdvGridEditHandOver.cpp)

    // Starts editing the current cell, unless it holds a control a click toggles; scrolls the cell into
    // view at the top or left when it lies above or left of the view.
    void ShowInplaceEdit();
    // Ends editing: the editor's text and the special editor's value go into the cell.
    void HideInplaceEdit();
    // An editor ended on Key: moves on as the grid's own keys would, Enter advancing to the next cell.
    void DoneInplaceEdit(Word Key, TShiftState Shift);
    // Asks SelectCell about the current cell again; the answer is not used.
    void Select();
    void OleColumnDragStart(Integer ACol, Integer AIndex, TCustomListBox* AList);
    // A left click at (r.Left + 2, r.Top + 2) of the cell, without the grid's mouse events.
    friend void ClickGridCell(TAdvStringGrid* Grid, Integer ACol, Integer ARow);
    // The edit link whose control edits the current cell, or null.
    TEditLink* EditLink() const { return FEditLink; }
    // Links the control's window procedure through EditLinkWndProc; null unlinks the previous one.
    void SetEditLink(TEditLink* Value);
    bool EditMode() const { return FEditMode; }
    TEditorType EditControl() const { return FEditControlType; }
    // The disjunct selection of single cells, each entry row * 65536 + column.
    const TIntList* SelectedCellList() const { return FSelectedCells.get(); }

    TNotifyEvent OnEditingDone;
    TEllipsClickEvent OnEllipsClick;
    TDropDownButtonClickEvent OnDropDownHeaderButtonClick;
    TDropDownButtonClickEvent OnDropDownFooterButtonClick;
    TColumnSizeEvent OnColumnSize;
    TRowSizeEvent OnRowSize;

protected:
    // Called by the editors when an edit ends: OnEditingDone, the edit ended, and "GridEditDone"
    // posted with (ACol, ARow), so OnEditCellDone fires after the current message.
    void EditDonePost(Integer ACol, Integer ARow);
    void TopLeftChanged() override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index, Integer& SizingPos,
                         Integer& SizingOfs, TGridDrawInfo& FixedInfo) override;
    virtual void DoEllipsClick(const String& Text, String& Result);
    void DropDownHeaderButtonClick(Integer ButtonIndex);
    void DropDownFooterButtonClick(Integer ButtonIndex);
    // The memo drop-down (Sender) changed: its text goes into the current cell as the user types.
    void MemoDropDownChange(TObject* Sender);
    void UnitEditChanged(TObject* Sender, const String& NewUnit);
    // In front of an edit link's control: with goTabs the control is asked for arrows, Tab and
    // characters; everything else goes to the control's own procedure.
    void EditLinkWndProc(TMessage& Message);
    // Forgets an edit link or its control that goes away, so that nothing calls into it; the grid's
    // Notification runs it.
    void EditLinkRemoved(TComponent* AComponent);

    bool FEditMode = false;                  // an editor is shown
    TEditorType FEditControlType = edNormal; // the kind of the active editor
    String FEditText;                        // the cell's text when editing started
    bool FEditing = false;
    bool FBlockFocus = false;
    bool FForceSel = false;
    TGridRect FMoveSelection; // the selection the key handling remembered
    String SearchInc;         // typed for the incremental search
    Integer FOleDragIndex = -1;
    TCustomListBox* FOleDragList = nullptr;
    TEditLink* FEditLink = nullptr;          // not owned
    TWinControl* FEditLinkControl = nullptr; // the control whose procedure EditLinkWndProc stands before
    TWndMethod FGridControlWndProc;          // that control's procedure before

public:
    // ---- Check boxes in cells (AdvGridCheckBoxes.cpp)
    // ACol is a stored column. A plain check box keeps its state in its object, a data check box in its
    // cell text (checked exactly when the text is the cell's checked text), a tri-state one in its object,
    // and the row check box of column 0 is the row's selection. Rows are displayed unless said otherwise;
    // "real" rows count the hidden ones.

    // Makes the cell a plain or data check box (flat, before the text, placed vertically by VAlignment).
    // A data check box whose text is neither CheckTrue nor CheckFalse gets the one of State. A column
    // beyond the stored ones or a row beyond the displayed and hidden ones raises "Invalid cell".
    void AddCheckBox(Integer ACol, Integer ARow, bool State, bool Data);
    // A tri-state check box; the same placement and the same error.
    void AddCheckBox(Integer ACol, Integer ARow, TCheckBoxState State);
    // Check boxes from the first normal row (row 0 with MouseActions.CheckAllCheck) to the last row
    // above the footer rows; summary rows are skipped and node rows get a tri-state box.
    void AddCheckBoxColumn(Integer ACol, bool DefaultState = false, bool DataCheckBox = false);
    // Tri-state boxes from the first normal row (row 0 with CheckAllCheck) to the last row.
    void AddTriStateCheckBoxColumn(Integer ACol, TCheckBoxState state);
    // Removes a plain, data or tri-state check box with a balloon it carries; a data check box's text
    // stays. Other kinds stay.
    void RemoveCheckBox(Integer ACol, Integer ARow);
    void RemoveCheckBoxColumn(Integer ACol);
    bool HasCheckBox(Integer ACol, Integer ARow);
    // A check box whose state is its cell text: data, virtual and row check boxes.
    bool HasDataCheckBox(Integer ACol, Integer ARow);
    // The first two normal rows both hold data check boxes.
    bool IsDataCheckBoxColumn(Integer ACol);
    // The cell holds a control a click acts on: check boxes, radio lists and buttons, buttons.
    bool IsClickControlCell(Integer ACol, Integer ARow);
    // The state of the cell's check box, true when it has one; state is left alone otherwise. ARow is
    // real when rows are hidden: the box is then looked up in the real row, hidden or shown, and a data
    // box is read by that row's text. A tri-state box reads as checked only when cbChecked.
    bool GetCheckBoxState(Integer ACol, Integer ARow, bool& state);
    bool GetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState& state);
    bool IsChecked(Integer ACol, Integer ARow);
    // Set the state without an event; ARow real. False for a cell without a check box; the tri-state
    // form acts on tri-state boxes only.
    bool SetCheckBoxState(Integer ACol, Integer ARow, bool State);
    bool SetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState State);
    // Sets the state and fires OnCheckBoxChange when it changed; ARow displayed. A tri-state box is set
    // without an event and answers false.
    bool SetCheckBoxStateNotify(Integer ACol, Integer ARow, bool State);
    void CheckAll(Integer ACol);
    void UnCheckAll(Integer ACol);
    // The toggle of clicks and keys: inverts a check box (a tri-state box cycles unchecked, grayed,
    // checked, or on a node row between checked and unchecked), fires OnCheckBoxChange with the new
    // checked state, and with Grouping.AutoCheckGroup carries it to a node's children or sums a block's
    // children up in the node's tri-state box. AskCanEdit asks CanEditCell first, unless
    // ControlLook.CheckAlwaysActive. False when the cell has no check box or may not be edited.
    virtual bool ToggleCheck(Integer ACol, Integer ARow, bool AskCanEdit);
    bool ToggleCheckBox(Integer ACol, Integer ARow) { return ToggleCheck(ACol, ARow, false); }
    virtual void DoCheckBoxChange(Integer ACol, Integer ARow, bool State);
    // Whether a click at (XPos, YPos) hits the cell's check box or radio button: anywhere in such a
    // cell, false in any other.
    // FIXME: with MouseActions.PreciseCheckBoxCheck the box should be hit only inside its square, placed
    // by the cell's alignment and the control look's check size, which are not built yet; until then it
    // answers as without.
    bool IsInCheckBox(Integer ACol, Integer ARow, Integer XPos, Integer YPos);

    TCheckBoxChangeEvent OnCheckBoxChange;

private:
    // The check box object of stored column ACol and real row ARow: with hidden rows the one in that
    // row's record, shown or hidden (ViaRecord true); otherwise, or when the row has no record, what
    // GetCellGraphic finds at (ACol, ARow).
    TCellGraphic* CheckBoxObject(Integer ACol, Integer ARow, bool& ViaRecord);
    // The text a data check box at stored column ACol and real row ARow is read by.
    String CheckBoxText(Integer ACol, Integer ARow, bool ViaRecord);
    TCellVAlign CheckBoxVAlign() const;

    std::unique_ptr<TCellGraphic> FCellGraphic = std::make_unique<TCellGraphic>(); // the shared row check box

public:
    // ---- Selection state (AdvGridSelection.cpp)
    // Besides the framework grid's selection rectangle the grid keeps disjunct selections of rows, columns
    // and single cells, used by the MouseActions modes DisjunctRowSelect, DisjunctColSelect and
    // DisjunctCellSelect. Row flags belong to displayed rows, or with RowSelectPersistent to stored ones:
    // rows given as displayed are then mapped with RealRowIndex first. A flag list grows with unselected
    // entries as rows or columns are read or written; rows beyond it are unselected.

    // Without RowSelectPersistent a row outside 0 .. TotalRowCount - 1 raises "Invalid row N accessed".
    // Without DisjunctRowSelect it answers whether the row lies in the selection rectangle.
    bool GetRowSelect(Integer ARow);
    bool RowSelect(Integer ARow) { return GetRowSelect(ARow); }
    // A negative row, or one past TotalRowCount while the grid has rows below its fixed ones, raises
    // "Invalid row accessed". A change asks OnRowDisjunctSelect, which may refuse it, repaints the row,
    // keeps the list of selected rows (in selection order, fixed rows left out) and then fires
    // OnRowDisjunctSelected; writing the state the row has changes nothing and fires nothing.
    void SetRowSelect(Integer ARow, bool Value);
    // A column outside 0 .. ColCount - 1 raises "Invalid column accessed"; a change repaints the column.
    bool GetColSelect(Integer ACol);
    bool ColSelect(Integer ACol) { return GetColSelect(ACol); }
    void SetColSelect(Integer ACol, bool Value);
    // Select the displayed rows (columns) from the index, the count cut at the grid's end: as flags in the
    // disjunct mode, else as the selection rectangle across the normal columns (rows). The UnSelect forms
    // act in the disjunct mode only.
    void SelectRows(Integer RowIndex, Integer RCount);
    void UnSelectRows(Integer RowIndex, Integer RCount);
    void SelectCols(Integer ColIndex, Integer CCount);
    void UnSelectCols(Integer ColIndex, Integer CCount);
    // Makes (ToCol, ToRow) current, then the rectangle the selection.
    void SelectRange(Integer FromCol, Integer ToCol, Integer FromRow, Integer ToRow);
    // In the disjunct cell mode the rectangle's cells become the cell selection. Otherwise a single cell
    // is made current (column, then row) while the current cell lies inside the grid short of its last
    // column and row; any other rectangle becomes the selection.
    void SelectCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    // The first normal cell becomes the selection and the disjunct cell selection is emptied.
    void ClearSelectedCells();
    // Adds or removes one cell of the disjunct cell selection, repainting it when that changed.
    void SetSelectedCells(Integer ACol, Integer ARow, bool Value);
    // Unflag every row (column), repainting those that were flagged.
    void ClearRowSelectAll();
    void ClearColSelect();
    // ClearRowSelectAll, and the selection rectangle moved just outside the grid so no cell shows it.
    void ClearRowSelect();
    // Copy the rows (columns) of the selection rectangle into the flags: with All every normal row's flag
    // becomes whether it lies inside, without only the rows inside are flagged. The rectangle's bottom is
    // cut above the footer rows.
    void SelectionToRowSelect(bool All);
    void SelectionToColSelect(bool All);
    // The flagged rows among the displayed and hidden ones in the disjunct row mode; else the height of the
    // selection with goRowSelect, or 0.
    Integer GetRowSelectCount();
    Integer RowSelectCount() { return GetRowSelectCount(); }
    // The flagged columns in the disjunct column mode, else the width of the selection.
    Integer GetColSelectCount();
    Integer ColSelectCount() { return GetColSelectCount(); }
    // False for fixed cells; otherwise by the disjunct mode in use (cell, row, column), else whether the
    // cell lies in the selection rectangle.
    bool IsSelected(Integer ACol, Integer ARow);
    // The displayed texts of the selection (every column with DragDropSettings.OleEntireRows), cells
    // joined by TAB: the rectangle's rows joined by CR LF with none after the last, or in the disjunct row
    // mode every flagged row as a line ended by CR LF. Rich text is given as its plain text, and with
    // ExcelClipboardFormat a multi-line text is quoted for the spreadsheet.
    String SelectedText();
    // The rows flagged from FixedRows on, in the order in which they were selected.
    const TIntList* SelectedRowList() const { return FSelectedRows.get(); }
    bool ExcelClipboardFormat() const { return FExcelClipboardFormat; }
    void SetExcelClipboardFormat(bool Value) { FExcelClipboardFormat = Value; }
    // The hidden rich edit that turns rich text into plain text, made on first use.
    TRichEdit* GetRichEdit();

    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TRowDisjunctSelectedEvent OnRowDisjunctSelected;

protected:
    bool FSelChange = false; // cleared by SelectRows and UnSelectRows
    bool FExcelClipboardFormat = false;

private:
    // The row the flags keep for displayed row ARow: its stored index under RowSelectPersistent.
    Integer RowSelectIndex(Integer ARow) const;
    // SetRowSelect's range check.
    void CheckRowSelectIndex(Integer ARow) const;
    // Writes one row's flag after asking OnRowDisjunctSelect about a change, repainting a change; false
    // when the handler refused.
    bool WriteRowFlag(Integer ARow, bool Value, bool Old);
    // SetRowSelect for the displayed rows FromRow .. ToRow (cut to the rows) that Wanted answers 1
    // (select) or 0 (unselect) for, -1 leaving a row alone. Only changes are written, and the list of
    // selected rows is brought in step once, so selecting a million rows costs a pass, not a pass per row.
    void SetRowSelects(Integer FromRow, Integer ToRow, const std::function<int(Integer)>& Wanted);

    TRichEdit* FRichEdit = nullptr; // a component of the grid, freed with it

public:
    // ---- Navigation services (AdvGridNavigation.cpp)
    // Row flags are kept per displayed row and move with their rows when rows are moved, inserted,
    // removed, hidden, shown and sorted, once one was written (the modified flags also while ShowModified
    // is enabled).

    Integer ModifiedRowCount() const;
    bool GetRowModified(Integer ARow) const;
    bool RowModified(Integer ARow) const { return GetRowModified(ARow); }
    // Repaints the row's cell in column 0. From then on the flags follow their rows, as they do while
    // ShowModified is enabled.
    void SetRowModified(Integer ARow, bool Value);
    // The modified flags follow their rows through moves, inserts, removals, hiding and sorting.
    bool ModifiedRowsKept() const { return FUseModifiedRows || FShowModified->Enabled(); }
    bool GetRowEnabled(Integer ARow) const;
    bool RowEnabled(Integer ARow) const { return GetRowEnabled(ARow); }
    // Disabling or enabling the current row first moves the current row to the first enabled data row
    // other than it, when there is one; sorting then carries the flags along.
    void SetRowEnabled(Integer ARow, bool Value);
    // Invalidates the cells of the rectangle (cell coordinates); nothing for a negative coordinate, the
    // whole grid when a corner is out of view.
    void RepaintRect(const TRect& r);
    // The visible band of a row (column), without erasing.
    void RepaintRow(Integer ARow);
    void RepaintCol(Integer ACol);
    // Exchanges the stored texts and property records of two cells (stored columns), without copying or
    // notifying; a negative coordinate does nothing.
    void SwapCells(const TGridCoord& FromCell, const TGridCoord& ToCell);
    // Makes the row, then the column current.
    void GotoCell(Integer ACol, Integer ARow);
    // Focuses the grid, goes to the cell and starts editing it.
    void EditCell(Integer ACol, Integer ARow);
    // The single cell becomes the selection (and so the current cell).
    void FocusCell(Integer ACol, Integer ARow);
    // Moves the current cell and the anchor there and scrolls it into view.
    void MoveToCell(Integer ACol, Integer ARow);
    // True when the search footer shows, the view reaches the last rows and the last row already lies
    // clear of the search panel.
    bool IsSearchFooterOverlap();
    // Scrolls down until the last row lies clear of a shown search panel.
    void ScrollAboveSearchFooter();
    // The grid's default text in-place editor, null before it was first made.
    TInplaceEdit* NormalEdit() const { return InplaceEditor(); }
    TInplaceEdit* GetNormalEdit() const { return InplaceEditor(); }
    // The texts a filter uses for check-box columns.
    virtual String GetFilterCheckedText() { return FCheckTrue; }
    virtual String GetFilterUncheckedText() { return FCheckFalse; }

    // The first normal column: FixedCols, or 1 when there are none and the grid holds nodes.
    Integer GetNodeFixedCols();
    // The fixed right columns that are not hidden.
    Integer GetVisibleFixedRightCols();
    // With goEditing an editable cell, else one that is not fixed; OnSelectCell has the last word.
    bool IsSelectableCell(Integer ACol, Integer ARow);
    // The last selectable cell after (ACol, ARow) in the advance order of Navigation.AdvanceDirection, up
    // to the last data cell; (-1, -1) when there is none or the start lies outside the data cells.
    TPoint FindLastSelectableCell(Integer ACol, Integer ARow);

protected:
    using TBaseGrid::FocusCell;

    bool FUseModifiedRows = false; // a modified flag was written: the flags follow their rows

public:
    // ---- Enter-key advance and key presses (AdvGridKeys.cpp)

    // Moves the current cell from (ACol, ARow) to the next cell of Navigation.AdvanceDirection (the
    // previous one unless Forward) and may start editing it; nothing unless AdvanceOnEnter or Always.
    // Recursing is false on an outside call. Skipping read-only cells walks on until a cell may be
    // entered or the walk comes back to where it began.
    void AdvanceCell(Integer ACol, Integer ARow, bool ShowEditor, bool Recursing, bool Forward, bool AutoEdit,
                     bool Always);
    // Starts editing the next editable form control after ID in the cell's mini-HTML text; the grid
    // takes the focus when there is none.
    void EditHTMLControl(Integer ACol, Integer ARow, const String& ID);
    // The change handlers of the fixed-cell edit and combo box (Sender): OnEditChange and OnComboChange
    // for the fixed cell being edited.
    void FixedEditChange(TObject* Sender);
    void FixedComboSelect(TObject* Sender);

    TAutoAdvanceEvent OnAutoAdvance;
    TCellChangingEvent OnCellChanging;
    TAutoInsertColEvent OnAutoInsertCol;

protected:
    // Escape puts back the pre-edit text, Enter advances, other characters go to type-ahead and the
    // framework grid.
    void KeyPress(Char& Key) override;

    Integer FStartEditChar = 0;  // the character that started the edit; cleared at each advance
    bool FDisableChange = false; // set while the advance moves the current cell
    Integer FFixedColEdit = -1;  // the fixed cell being edited
    Integer FFixedRowEdit = -1;

private:
    // One step of the advance from (ACol, ARow): the target, or false when the advance stops there.
    bool AdvanceTarget(Integer ACol, Integer ARow, bool Forward, Integer& NewCol, Integer& NewRow);
    // Makes the advance's target current, asking OnAutoAdvance and OnCellChanging first with AskEvents,
    // then starts the editor or the click of a click-control cell and follows with the row selection.
    void EnterAdvanceTarget(Integer OriginCol, Integer OriginRow, Integer ACol, Integer ARow, bool ShowEditor,
                            bool AutoEdit, bool AskEvents);

public:
    // ---- Theme and border (grid/view/AdvGridTheme.cpp)

    // Applies the style of the desktop's Office scheme when it differs from the one applied last;
    // nothing at design time or for an unknown scheme.
    void FollowOfficeTheme();
    // The one-pixel window border of the styled looks in BorderColor, drawn after the frame; not for a
    // flat grid (unless glCustom), without a border or with BorderColor clNone.
    void DrawGridBorder();

    // ---- Grid styles and colour tones (grid/view/AdvGridStyles.cpp)
    // SetComponentStyle remembers the style, applies the grid style of the same ordinal, passes it to the
    // drop-down editors and, for any style but tsCustom, turns metro scroll bars back to normal ones.
    // SetStyle first resets the selection, sort header and control look colours, then sets the style's
    // look and its colour tables. SetColorTones gives the grid its flat metro look in the tones' colours.

    // The older XP colour schemes of the fixed cells, the active cell and the search footer.
    void SetTheme(TXPColorScheme Value);
    const TColorTones& Tones() const { return FTones; }
    // The gradients of a fixed cell under the mouse and pressed; ControlLook's setters keep them in step.
    TColor QELGradientHoverFrom() const { return FQELGradHoverFrom; }
    void SetQELGradientHoverFrom(TColor Value) { FQELGradHoverFrom = Value; }
    TColor QELGradientHoverTo() const { return FQELGradHoverTo; }
    void SetQELGradientHoverTo(TColor Value) { FQELGradHoverTo = Value; }
    TColor QELGradientHoverMirrorFrom() const { return FQELGradHoverMirrorFrom; }
    void SetQELGradientHoverMirrorFrom(TColor Value) { FQELGradHoverMirrorFrom = Value; }
    TColor QELGradientHoverMirrorTo() const { return FQELGradHoverMirrorTo; }
    void SetQELGradientHoverMirrorTo(TColor Value) { FQELGradHoverMirrorTo = Value; }
    TColor QELGradientHoverBorder() const { return FQELGradHoverBorder; }
    void SetQELGradientHoverBorder(TColor Value) { FQELGradHoverBorder = Value; }
    TColor QELGradientDownFrom() const { return FQELGradDownFrom; }
    void SetQELGradientDownFrom(TColor Value) { FQELGradDownFrom = Value; }
    TColor QELGradientDownTo() const { return FQELGradDownTo; }
    void SetQELGradientDownTo(TColor Value) { FQELGradDownTo = Value; }
    TColor QELGradientDownMirrorFrom() const { return FQELGradDownMirrorFrom; }
    void SetQELGradientDownMirrorFrom(TColor Value) { FQELGradDownMirrorFrom = Value; }
    TColor QELGradientDownMirrorTo() const { return FQELGradDownMirrorTo; }
    void SetQELGradientDownMirrorTo(TColor Value) { FQELGradDownMirrorTo = Value; }
    TColor QELGradientDownBorder() const { return FQELGradDownBorder; }
    void SetQELGradientDownBorder(TColor Value) { FQELGradDownBorder = Value; }

private:
    // The metro check and radio glyphs of the colour tones, loaded from the program's bitmaps.
    void LoadMetroGlyphs();
    // The tones' button colours for the in-place editors that exist.
    void ApplyTonesToEditors(const TColorTones& ATones);

    TColor FQELGradHoverFrom = clNone;
    TColor FQELGradHoverTo = clNone;
    TColor FQELGradHoverMirrorFrom = clNone;
    TColor FQELGradHoverMirrorTo = clNone;
    TColor FQELGradHoverBorder = clNone;
    TColor FQELGradDownFrom = clNone;
    TColor FQELGradDownTo = clNone;
    TColor FQELGradDownMirrorFrom = clNone;
    TColor FQELGradDownMirrorTo = clNone;
    TColor FQELGradDownBorder = clNone;

public:
    // ---- Notification hooks and filter-type choice (grid/view/AdvGridHooks.cpp)

    // Fires OnFixedEdit; the editor kind the handler leaves is the one the caller opens.
    virtual void DoFixedEdit(Integer ACol, Integer ARow, TGridFixedCellEditor& AEditor, TStrings* Values);
    // Told the in-place editor's text and caret position; nothing here, for descendants.
    virtual void EditCaretHook(const String& Text, Integer CaretPos) {}
    // Real ARow. Inserts one row there: with nodes a normal row when the row has no parent node, else a
    // child row in its node's block.
    virtual void InsertRowAuto(Integer ARow);
    // Real ARow. Removes the row as InsertRowAuto inserts it, except that the only data row of a grid
    // without FixedRowAlways is cleared instead; then fires OnAutoDeleteRow.
    virtual void DeleteRowAuto(Integer ARow);
    virtual void DoFilterShow(Integer ACol, bool& Allow);
    virtual void DoFilterClose(Integer ACol);
    // The file readers report their start, each row and their end here; nothing in the grid itself.
    virtual void ImportNotification(TGridImportState AState, Integer ARow) {}
    // Applies a filter type to stored column ACol's condition with the filter-edit cell's text, then
    // filters again: ftClear empties the cell first and acts as ftContains, ftNone keeps the type.
    void ApplyFilterEditType(Integer ACol, TFilterType AType);
    // The filter-type popup menu's click: the menu's Tag is the column, the item's Tag the type.
    void FilterTypeMenuClick(TObject* Sender);
    // The filter row's filter-type popup menu.
    TPopupMenu* FilterTypeMenu() const { return FFltrPopup.get(); }

    TFixedEditEvent OnFixedEdit;
    TAutoDeleteRowEvent OnAutoDeleteRow;
    TFilterShowEvent OnFilterShow;
    TFilterCloseEvent OnFilterClose;

    // ---- Column order and wide cells (grid/view/AdvGridCarriers.cpp)

    // The stored column at display position APos; with no recorded order it records one first, and
    // answers APos when there are no columns to record.
    Integer ColumnAtPosition(Integer APos);
    // For each display position the recorded column shown there; empty until an order is recorded.
    TIntList* ColumnOrder() const { return FColumnOrder.get(); }
    // The first column, counting the hidden ones, whose row 0 text is exactly AValue; -1 for none.
    Integer ColumnByHeader(const String& AValue);
    // Cells read and written as wide strings; the grid's strings already are.
    String WideCells(Integer ACol, Integer ARow) { return Cells(ACol, ARow); }
    void SetWideCells(Integer ACol, Integer ARow, const String& Value) { SetCells(ACol, ARow, Value); }

    // ---- Editors (grid/view/AdvGridEditing.cpp)

    // Appends an empty data row when OnCanAddRow allows, before a visible floating footer; defined with
    // the tab advance (AdvGridTabAdvance.cpp).
    void AppendAutoRow();

    // ---- In-place editing
    // Edit start and editor kinds (grid/view/AdvGridEditStart.cpp), special editor activation
    // (grid/view/AdvGridEditing.cpp), commit and cancel (grid/view/AdvGridEditCommit.cpp), cell selection
    // change (grid/view/AdvGridSelectCell.cpp), the form-control editors (grid/view/AdvGridControlEdit.cpp)
    // and the stand-in of cell validation (grid/view/AdvGridValidate.cpp). The default text editor is
    // TAdvInplaceEdit (grid/view/AdvGridInplaceEdit.cpp). Columns are displayed unless said otherwise.
    friend class TAdvInplaceEdit;

    // Editing is on (goEditing, RangeSelectAndEdit, or switched off for the current cell only) and the
    // cell may be edited.
    bool IsEditable(Integer ACol, Integer ARow);
    // The cell part of IsEditable: CanEditCell allows the merge base cell and it is not fixed.
    bool IsCellEditable(Integer ACol, Integer ARow);
    // OnIsPasswordCell decides, starting from false; painting masks such cells.
    bool IsPasswordCell(Integer ACol, Integer ARow);
    // Starts editing the current cell as F2 would.
    void ShowCellEdit();
    // Takes goEditing out of Options.
    virtual void DisableEditing();
    // Commits and hides the special editor of the current cell; the default editor stays as it is.
    void HideCellEdit();
    // Tab stays in the editors: goTabs, or a validation handler that must see the cell left by Tab.
    bool EditorWantsTab();
    // Commits and hides the special editor of EditControl for the cell (ACol displayed); the text kinds
    // have none and only end the edit. The combo, edit-button and drop-down kinds do nothing once edit
    // mode is off, so a second call for the same edit writes nothing.
    void EndCellEditor(Integer ACol, Integer ARow);
    // Puts the text the current cell had when it became current back into it; the editor is untouched.
    void RestoreCellCache();

    // The item list of the in-place combo box.
    void ClearComboString();
    void AddComboString(const String& S);
    void AddComboStringObject(const String& S, TObject* AObject);
    // False, changing nothing, when S is not in the list.
    bool RemoveComboString(const String& S);
    // The item a combo editor preselects when it opens; -1 for none.
    void SetComboSelection(Integer Index);
    bool SetComboSelectionString(const String& S);
    Integer GetComboCount();
    // OnGetEditorProp fills the list for the cell first; an index outside the list raises the string
    // list's index error.
    void SetComboIndex(Integer ACol, Integer ARow, Integer Index);
    // -1 when the cell's text is not in the list.
    Integer GetComboIndex(Integer ACol, Integer ARow);
    TGridCombo* Combobox() const { return EditCombo.get(); }

    // The characters edValidChars cells take; empty takes the characters of ValidCharSet.
    String ValidChars() const { return FValidChars; }
    void SetValidChars(const String& Value) { FValidChars = Value; }
    // Character codes up to 255 that edValidChars cells take while ValidChars is empty.
    bool ValidCharSet(Char C) const { return C < 256 && FValidCharSet[C]; }
    void SetValidCharSet(Char C, bool Value) {
        if (C < 256)
            FValidCharSet[C] = Value;
    }
    // Typing in the default editor completes the text from LookupItems, compared without case unless
    // LookupCaseSensitive; with LookupHistory each edited text joins the items.
    bool Lookup() const { return FLookup; }
    void SetLookup(bool Value) { FLookup = Value; }
    bool LookupCaseSensitive() const { return FLookupCaseSensitive; }
    void SetLookupCaseSensitive(bool Value) { FLookupCaseSensitive = Value; }
    bool LookupHistory() const { return FLookupHistory; }
    void SetLookupHistory(bool Value) { FLookupHistory = Value; }
    // The kind the cell is edited with: a kind whose editor is not built yet is edited as edNormal.
    TEditorType EffectiveEditorKind(TEditorType Kind) const;

    // Opens the editor of a form control in a cell's mini-HTML text over R (client coordinates): an edit
    // for EDIT, PASSWORD and MASK, a combo for COMBO; other types open nothing.
    void ShowControlEditor(const String& CellText, const String& ControlType, Integer ARow, Integer ACol,
                           const TRect& ControlRect, const String& ControlValue, const String& ControlID);
    // Writes the open form-control editor's value into the control's VALUE in the cell and hides it; does
    // nothing when none is open.
    void ControlEditExit(TObject* Sender);
    void ControlComboSelect(TObject* Sender);
    // Tab left a form control: with AdvanceAuto the next cell is edited, else the cell's next control.
    void ControlEditTabbed();
    TControlEdit* ControlEdit() const { return FEditControl.get(); }
    TControlCombo* ControlCombo() const { return FComboControl.get(); }
    bool ControlEditing() const { return FCtrlEditing; }

    TGetEditorPropEvent OnGetEditorProp;
    TClipboardBeforePasteCellEvent OnClipboardBeforePasteCell;
    TClipboardAfterPasteCellEvent OnClipboardAfterPasteCell;
    TControlComboListEvent OnControlComboList;
    TControlComboSelectEvent OnControlComboSelect;
    TControlEditDoneEvent OnControlEditDone;

protected:
    // Refuses editing where the grid or the cell forbids it, chooses the editor kind and starts either
    // the default text editor (true) or a special editor (false).
    bool CanEditShow() override;
    TInplaceEdit* CreateEditor() override;
    // Whether the cell may become current: footers kept in view, merged cells redirected to their base,
    // disabled rows skipped, editing switched per cell, the open special editor validated, the changing
    // events asked; the decorations are repainted and the target's text cached.
    bool SelectCell(Integer ACol, Integer ARow) override;
    // Commits the open edit before the current cell moves; false when validation refused its value.
    bool CommitBeforeMove();
    // OnRowChanging, OnColChanging and OnCellChanging share one Allow.
    virtual void DoCellChanging(Integer ACol, Integer ARow, bool& Allow);
    // Fills, places, shows and focuses the special editor of EditControl over the cell (ACol displayed,
    // the merge base of the current cell).
    void ShowSpecialEditor(Integer ACol, Integer ARow);
    // Where and how a special editor shows over a cell: the cell rectangle R (one pixel further right in
    // a right-to-left grid), the editor's place L, T, W, H inside the grid lines, the cell's colour C and
    // font F (the grid canvas', valid until it paints) and the text S the editor starts with.
    struct TEditorPlace {
        TRect R;
        Integer L = 0;
        Integer T = 0;
        Integer W = 0;
        Integer H = 0;
        TColor C = clNone;
        TFont* F = nullptr;
        String S;
    };
    TEditorPlace SpecialEditorPlace(Integer ACol, Integer ARow);
    // The character that started the edit, posted to the editor that takes it.
    void PostStartChar(TWinControl* Editor);
    // The one route of an editor's value into a cell (ACol stored): the framework's edit-text path, then
    // the cell.
    virtual void SetEditTextReal(Integer ACol, Integer ARow, const String& Value);
    // OnGetEditorProp for the cell (ACol stored).
    virtual void DoGetEditorProp(Integer ACol, Integer ARow, TEditLink* AEditLink);
    // Empty hooks of the default editor, for descendants.
    virtual void EditKeyDownHook(Word& /*Key*/, TShiftState /*Shift*/) {}
    virtual void EditWMKeyDownHook(TMessage& /*Message*/) {}
    virtual void EditCaretHook(const String& /*Text*/, TPoint /*Caret*/, Integer /*Pos*/) {}
    virtual void FormulaEditHook(bool /*Formula*/) {}

    String FCellCache;               // the current cell's text when it became current; Escape puts it back
    bool FSpecialEditor = false;     // a special editor is being shown or is open
    bool FEditActive = false;        // an edit started and its end is still to be reported
    bool FEditOptionChanged = false; // the grid itself switched goEditing for the current cell
    TWinControl* EditCtrl = nullptr; // the control that edits the current cell
    TPoint FEnterEndCell{-1, -1}; // Enter in the editor ends the edit of this cell: no editor reopens there

private:
    String FValidChars;
    std::bitset<256> FValidCharSet;
    TPoint FCtrlEditXY{-1, -1}; // the cell whose form control is edited (stored column)
    String FCtrlID;
    String FCtrlType; // "EDIT", "PASSWORD", "MASK" or "COMBO"; empty when none is edited
    bool FCtrlEditing = false;

public:
    // ---- The spin in-place editor (grid/view/AdvGridSpinEdit.cpp)

    // The editor of the spin kinds, made hidden and disabled on first read and kept for every cell.
    TGridSpin* SpinEdit();

    // A spin button or key stepped the open spin editor; UpDown is true for the up button.
    TSpinClickEvent OnSpinClick;
    TFloatSpinClickEvent OnFloatSpinClick;
    TDateTimeSpinClickEvent OnDateSpinClick;
    TDateTimeSpinClickEvent OnTimeSpinClick;

protected:
    friend class TGridSpin;
    // Fills the spin editor from the cell (ACol displayed), brings it up over the cell and focuses it.
    void ShowSpinEditor(Integer ACol, Integer ARow);
    // The spin kinds' commit (ACol stored): the value goes into the cell through the typed setters, the
    // time kind's text through SetEditTextReal, and the editor hides. Writes nothing once edit mode is off
    // or after Escape.
    void EndSpinEditor(Integer ACol, Integer ARow);

    std::unique_ptr<TGridSpin> FEditSpin;
    bool FSpinCancelled = false; // Escape ended the spin edit: the cell keeps its text

public:
    // ---- Typed cell values and displayed text (AdvGridValues.cpp)
    // The readers raise EAdvGridError and change nothing when the text is no number. An empty text or a
    // lone minus sign reads as 0. Ints and Floats strip mini-HTML tags and read the cell's display text;
    // AllInts and AllFloats read by stored row, hidden rows counted, with no stripping.

    // Writes the decimal text; with hidden columns the cell is repainted where it is displayed.
    void SetInts(Integer ACol, Integer ARow, Integer Value);
    // A text holding the locale's decimal or thousand separator is cleaned as Floats cleans it and read
    // as a real rounded to the nearest whole number, halves to even ("2,5" under a ',' decimal is 2).
    Integer GetInts(Integer ACol, Integer ARow);
    Integer Ints(Integer ACol, Integer ARow) { return GetInts(ACol, ARow); }
    void SetAllInts(Integer ACol, Integer ARow, Integer Value);
    Integer GetAllInts(Integer ACol, Integer ARow);
    Integer AllInts(Integer ACol, Integer ARow) { return GetAllInts(ACol, ARow); }
    // The format SetFloats writes a cell's value with: FloatFormat for every cell.
    virtual String GetFloatFormat(Integer ACol, Integer ARow);
    void SetFloatFormat(const String& Value) { FFloatFormat = Value; }
    void SetFloats(Integer ACol, Integer ARow, double Value);
    // Currency signs, blanks and thousand separators are dropped and the locale's decimal separator read
    // as the decimal mark; "(5)" is -5.
    double GetFloats(Integer ACol, Integer ARow);
    double Floats(Integer ACol, Integer ARow) { return GetFloats(ACol, ARow); }
    // Writes with FloatFormat itself, not GetFloatFormat.
    void SetAllFloats(Integer ACol, Integer ARow, double Value);
    double GetAllFloats(Integer ACol, Integer ARow);
    double AllFloats(Integer ACol, Integer ARow) { return GetAllFloats(ACol, ARow); }

    // Shows the first web, mail, news, file or FTP address of a cell's text as a link: the text is shown
    // HTML-escaped with an anchor around the address.
    bool URLShowInText() const { return FURLShowInText; }
    // Repaints on a change; defined with the link settings.
    void SetURLShowInText(bool Value);
    // The display-text event, the link of URLShowInText, then with Grouping.ShowGroupCount a node row's
    // count of its own data rows after its column 1 text: GroupCountFormat with the count, or " (n)"
    // without one.
    void DoGetDisplText(Integer ACol, Integer ARow, String& Value) override;
    // True for the cell of the sort indicator: its row, or the last row of its merged block, is
    // SortSettings.Row while SortSettings.Show is on and the grid has a data row below the fixed ones.
    // FIXME: the sort settings hold no values yet, so no cell is the sort indicator's.
    bool IsSortIndicatorCell(Integer ACol, Integer ARow);

private:
    String GroupCountText(Integer ARow);

public:
    // ---- Automatic sizing, row and column swaps (AdvGridSizing.cpp)
    // Indexes are displayed ones. The limits clamp every size that sizing sets: a positive lower limit
    // raises smaller values, a positive upper one lowers larger ones, and 0 is no limit.

    bool SizeGrowOnly() const { return FSizeGrowOnly; }
    void SetSizeGrowOnly(bool Value) { FSizeGrowOnly = Value; }
    Integer MinColWidth() const { return FSizeMinColWidth; }
    void SetMinColWidth(Integer Value) { FSizeMinColWidth = Value; }
    Integer MaxColWidth() const { return FSizeMaxColWidth; }
    void SetMaxColWidth(Integer Value) { FSizeMaxColWidth = Value; }
    Integer MinRowHeight() const { return FSizeMinRowHeight; }
    void SetMinRowHeight(Integer Value) { FSizeMinRowHeight = Value; }
    Integer MaxRowHeight() const { return FSizeMaxRowHeight; }
    void SetMaxRowHeight(Integer Value) { FSizeMaxRowHeight = Value; }
    // Stretches the chosen columns (all of them with DoFixedCells, else the normal ones) in proportion to
    // fill the control's width less a shown vertical scroll bar and the border; the pixels rounding
    // leaves over go to the widest chosen column. Columns whose widths add up to 0 are left as they are.
    TPoint XYOffset() const { return FXYOffset; }
    void SetXYOffset(const TPoint& Value) { FXYOffset = Value; }
    bool XYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
    void SetXYOffsetTopLeftOnly(bool Value) { FXYOffsetTopLeftOnly = Value; }
    // The text inset's totals: XYOffset once when it applies to the top left only, else twice.
    Integer XYOffsetTotalX() const { return FXYOffsetTopLeftOnly ? FXYOffset.X : 2 * FXYOffset.X; }
    Integer XYOffsetTotalY() const { return FXYOffsetTopLeftOnly ? FXYOffset.Y : 2 * FXYOffset.Y; }
    // Fit the columns and rows together to every cell (the fixed ones too with DoFixedCells), in one
    // update bracket; merged cells do not count along their merge.
    void AutoSizeCells(bool DoFixedCells, Integer PaddingX, Integer PaddingY);
    // Fit every column (the fixed left and right ones too with DoFixedCols) or one column to its text,
    // then add Padding within the limits. The Grow forms never make a column narrower.
    void AutoSizeColumns(bool DoFixedCols, Integer Padding);
    void AutoGrowColumns(bool DoFixedCols, Integer Padding);
    void AutoSizeCol(Integer ACol, Integer Padding);
    void AutoGrowCol(Integer ACol, Integer Padding);
    // Measures the rows ColumnSize.Rows names and sets the width, unless GrowOnly and it is wide enough;
    // DoAutoColumnSize may change the width before the limits apply.
    void AutoSizeColumnCore(Integer ACol, bool GrowOnly);
    // Fires OnUpdateColumnSize with the width an automatic sizing is about to set.
    virtual void DoAutoColumnSize(Integer ACol, Integer& Width);
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    // Fit one row to the tallest of its cells, then add Padding within the limits.
    void AutoSizeRow(Integer ARow, Integer Padding);
    // Reserve is taken from the height a picture may use. While every row is shown and the editor
    // sizes its row as the user types, a row that pushes rows out of view places the editor again.
    void AutoSizeRowCore(Integer ARow, bool GrowOnly, Integer Reserve);
    // Fit every row (the fixed ones too with DoFixedRows): with WordWrap to its cells, then Padding;
    // otherwise to the most lines of its cells, Padding added before the limits. Reports each row
    // through ExportNotification.
    void AutoSizeRows(bool DoFixedRows, Integer Padding);
    // Lines times the line height of the row's font and 2 pixels, plus Extra, within the limits; then
    // the vertical inset once.
    void SizeRowToLines(Integer ARow, Integer Lines, Integer Extra);
    // The most text lines of a cell of the row; 1 without columns or MultilineCells.
    Integer GetMaxLinesInRow(Integer ARow);
    // The extent a cell's object adds to its text when it is measured: GetCellGraphicExtent with no
    // reserve (AdvGridCellQueries.cpp).
    virtual TPoint GetCellGraphicSize(Integer ACol, Integer ARow);
    void AutoFitColumns(bool DoFixedCells);
    // The control's client width (height) becomes the sum of the displayed columns (rows); SizeToCells
    // does both with the scroll bars off while it measures.
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // Exchange two rows (columns) completely: texts, property records with their cell objects, colours
    // and merges, the heights (widths) and the cell controls; a swapped sort column follows its column.
    // The stores are exchanged by reference, whatever the rows hold.
    void SwapRows(Integer ARow1, Integer ARow2);
    void SwapColumns(Integer ACol1, Integer ACol2);
    // The row exchange of sorting: the sort cross-reference entries (when both rows have one), the
    // enabled and modified flags in use, the heights and the rows' texts and records; cell controls stay.
    virtual void SortSwapRows(Integer ARow1, Integer ARow2);

    // ---- Look presets, link settings and small grid services (AdvGridLookPresets.cpp)

    // Links in cell texts: shown (URLShow) in URLColor, as the full address (URLFull).
    bool URLShow() const { return FURLShow; }
    void SetURLShow(bool Value);
    bool URLFull() const { return FURLFull; }
    // Stores whatever the value; repaints while URLShow is on.
    void SetURLFull(bool Value);
    // Repaints while URLShow is on.
    void SetURLColor(TColor Value);
    // Copies the list into the grid's own; null is ignored.
    void SetLookupItems(TStrings* Value);
    // GetVersionNr as four decimal numbers joined by "."; writing it changes nothing (it is only
    // streamed).
    String Version() const;
    void SetVersion(const String& /*Value*/) {}
    // The printed width and offset of a column from the last print layout; a column outside 0 .. 511
    // raises "Columns is not in valid range".
    Integer GetPrintColWidth(Integer ACol) const;
    Integer GetPrintColOffset(Integer ACol) const;
    // Repaints, for each of the two cells, the cell of its column in the last fixed row and the cell of
    // its row in the last fixed column, so that header highlighting follows the current cell.
    void RepaintHeaderCells(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2);
    // The change handler of the option sub-objects: repaints.
    void OptionChanged(TObject* Sender);
    // The columns whose equal neighbouring cells are merged; a change splits the merges of every
    // displayed column and merges the listed columns again, the first as the main merge.
    TIntList* MergedColumns() const { return FMergedColumns.get(); }
    void MergedColumnsChanged();
    // A new footer panel owned by the grid.
    virtual TFooterPanel* CreateFooterPanel();
    // Makes the thin vertical and horizontal scroll controls when they are missing: 6 pixels wide on the
    // right and 6 high at the bottom, children of the grid, double-buffered and visible.
    void CreateScrollControls();
    TScrollControl* VertScrollControl() const { return FVertScrollControl.get(); }
    TScrollControl* HorzScrollControl() const { return FHorzScrollControl.get(); }
    // Hides the hover buttons' window.
    virtual void HideButtonForm();
    // Repaints the footer panel.
    void UpdateFooter();
    // Passes a style to the drop-down in-place editors that exist.
    // FIXME: the grid has no drop-down in-place editors yet, so there is none to pass it to.
    void ApplyStyleToEditors(TQELStyle AStyle);
    // The event dispatchers of adding and inserting lines and of the rich editor's selection.
    virtual void DoCanAddRow(bool& CanAdd);
    virtual void DoCanAddCol(bool& CanAdd);
    virtual void DoCanInsertRow(Integer ARow, bool& CanInsert);
    void DoRichEditSelectionChange();

    TCanAddEvent OnCanAddRow;
    TCanAddEvent OnCanAddCol;
    TCanInsertRowEvent OnCanInsertRow;
    TNotifyEvent OnRichEditSelectionChange;

protected:
    // Filled by the print layout: each column's printed width and offset.
    Integer MaxWidths[513] = {};
    Integer Indents[513] = {};

private:
    // The colours every look but the styled ones and glCustom sets outside loading.
    void ApplyPlainLookColours(TGridLook Value);

    std::unique_ptr<TScrollControl> FVertScrollControl;
    std::unique_ptr<TScrollControl> FHorzScrollControl;
    bool FURLShow = false;
    bool FURLFull = false;

public:
    // ---- Sorting (AdvGridSort.cpp)
    // Column indexes are stored ones; rows are grid rows, fixed rows counted. A sort orders a permutation
    // of the rows first, reading every cell in place, and then moves the rows into that order through
    // SortSwapRows: equal rows keep their order, the work is O(n log n) whatever the order, and an
    // exception from an event leaves the rows as they were before the sort began moving them. Each
    // cell's text is converted once per sort for each style, prefix and suffix OnGetFormat answers for
    // its column, while OnGetFormat itself runs, and Compares counts, on every comparison. The rows'
    // count, the columns, the top row (with KeepScrollOnSort), ClearTextOnly, column 0 (with
    // NormalCellsOnly) and the update bracket are restored on every path, exceptions included.

    // Stores both into SortSettings, then QSort.
    void Sort(Integer Column, TSortDirection Direction);
    // With at least two rows: stores the column into SortSettings and runs QSort.
    void SortByColumn(Integer Col);
    // Sorts the data rows (fixed rows and fixed footer rows stay) by SortSettings.Column, ties broken by
    // the columns to its right with SortSettings.Full; nothing when the column is below 0. Clears the
    // sort indexes. The current row follows its data with Navigation.MoveRowOnSort (and then the
    // previous row reported to OnRowChanged is forgotten), else it stays and OnRowChanged reports it;
    // either way it is made current only within the data rows.
    virtual void QSort();
    // As QSort by SortIndexes, leaving them; raises EAdvGridError "No indexes specified for indexed
    // sort" for an empty list before any row changes. Fires no OnRowChanged.
    virtual void QSortIndexed();
    // Sort the children of each expanded node of the deepest node level that has at least two of them,
    // by SortSettings.Column as QSort does (QSortGroup) or by SortIndexes (QSortGroupIndexed); every
    // other row keeps its place, the floating footer stays and OnRowChanged does not fire.
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();
    // Returns the rows to their order from before the sorts since the cross-reference was last set up;
    // nothing unless the cross-reference has an entry for each row, a permutation of the rows.
    virtual void QUnSort();
    // Sort rows Left..Right (cut to the grid's rows) by one column with ties broken as QSort breaks
    // them, or by SortIndexes; neither checks the cross-reference nor brackets an update.
    void QuickSort(Integer Col, Integer Left, Integer Right);
    void QuickSortIndexed(Integer Left, Integer Right);
    // Compares the two rows by Col in the direction of the last plain sort; swaps them and answers true
    // when the second belongs first; answers false when the first does; on a tie goes on with the next
    // column while there is one.
    bool SortLine(Integer Col, Integer ARow1, Integer ARow2);
    // The cross-reference becomes the identity for the present RowCount.
    void InitSortXRef();
    TSortIndexList* SortIndexes() const { return FSortIndexes.get(); }
    // Clearing cells leaves their records; sorts clear it while they run.
    bool ClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool Value) { FClearTextOnly = Value; }

    // Counted by every row comparison and every sort swap; never reset by the grid.
    Integer Compares = 0;
    Integer Swaps = 0;
    // +1 for an ascending, -1 for a descending plain sort: the comparison result that puts the second
    // row before the first.
    Integer SortDir = 1;
    // During a sort, the row that holds the data of the row current when it began.
    Integer SortRow = -1;

    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;

protected:
    // One comparison of two rows by a column: -1, 0 or 1. The style starts from the sort settings,
    // OnGetFormat may change it and give a prefix and suffix, and ssAutomatic is resolved from the first
    // row's cell (check box, number, date, date and time, time, else text).
    Integer CompareRows(Integer ACol, Integer ARow1, Integer ARow2, TSortDirection Direction);
    // By ACol in SortSettings.Direction, then with SortSettings.Full by each column to its right,
    // hidden ones counted; ignored columns compare as equal.
    Integer CompareRowsFull(Integer ACol, Integer ARow1, Integer ARow2);
    // By the sort indexes from Index on, each in its own direction; already directed.
    Integer CompareRowsIndexed(Integer Index, Integer ARow1, Integer ARow2);

private:
    class TSortCache;
    friend class TSortCache;
    class TSortShape;
    friend class TSortShape;
    // Orders rows Left..Right by compare(cache, item1, item2) (negative: the first goes first), the items
    // carrying column KeyCol's facts, and moves the rows into that order through SortSwapRows.
    template <class Compare> void SortRows(Integer Left, Integer Right, Integer KeyCol, Compare compare);
    // The loops of CompareRowsFull and CompareRowsIndexed over a comparison of one column:
    // compareColumn(col, direction).
    template <class CompareColumn> Integer CompareFullWith(Integer ACol, CompareColumn compareColumn);
    template <class CompareColumn> Integer CompareIndexedWith(Integer Index, CompareColumn compareColumn);
    // The comparison of a plain sort by KeyCol (Direction +1 or -1): CompareFullWith from the key
    // column, whose numbers the cache compares without the rest of CompareRows when nothing could
    // change their answer.
    template <class Item> auto KeyComparison(Integer KeyCol, Integer Direction);
    // Moves rows Left.. so that position Left + k holds the row that stood at Order[k], through
    // SortSwapRows, at most one swap per row.
    void MoveRowsIntoOrder(Integer Left, const std::vector<Integer>& Order);
    // MoveRowsIntoOrder's moves in one pass, with exactly the effects of the SortSwapRows calls it
    // replaces (Swaps counted alike); answers false, changing nothing, where a swap could do more than
    // move entries: an override of SortSwapRows, single-column sorting, rows of differing heights,
    // disjunct row selection that follows the rows, a row flag list reaching only some of the rows or
    // watched by OnChange, or far cells in the rows.
    bool SortPermuteRows(Integer Left, const std::vector<Integer>& Order);
    // With MoveRowOnSort, after a sort of rows First..Last: the row holding the former current row's
    // data becomes current when it is one of those rows.
    void FollowSortRow(Integer First, Integer Last);
    void QSortGroupCore(bool Indexed);
    Integer StoredColCount() const { return ColCount() + NumHiddenColumns(); }
    TSortCache* FSortCache = nullptr; // the cell facts of the sort that runs, if any
    bool FSortMoving = false;         // rows are being moved into order; one repaint follows

private:
    void CreateOwnedObjects();
    void CreateFilterObjects();
    void CreateInnerControls();
    void QueryPlatform();

public:
    // ---- Keyboard handling (grid/view/AdvGridKeyboard.cpp)
    // WM_KEYDOWN runs the grid's own stages around the framework's key handling, which fires OnKeyDown
    // and calls KeyDown. Where a stage takes the key itself, it fires OnKeyDown itself.

    TClipboardAllowEvent OnClipboardCut;
    TClipboardAllowEvent OnClipboardCopy;
    TClipboardAllowEvent OnClipboardPaste;
    TClipboardDoneEvent OnClipboardCutDone;
    TClipboardDoneEvent OnClipboardCopyDone;
    TAutoInsertRowEvent OnAutoInsertRow;
    TCanDeleteRowEvent OnCanDeleteRow;

protected:
    void WMKeyDown(TMessage& Message) override;
    // Empty hooks for descendants: F2 was pressed; Ctrl+A is about to select the range.
    virtual void KeyDownHook(Word& Key, TShiftState Shift) {}
    virtual void KeyDownHookEx(Integer ACol, Integer ARow, Integer ToCol, Integer ToRow) {}

private:
    // The Home and End stage; true when it ended the handler.
    bool HomeEndKey(TMessage& Message, Word key, TShiftState shift, Integer startCol, Integer startRow,
                    Integer startLeft);
    // The skipping of fixed cells; true when it took the key.
    bool SkipFixedCellsKey(Word key, TShiftState shift);
    // The clipboard shortcuts; true when the key was one of them.
    bool ClipboardShortCut(Word key, TShiftState shift);
    void InsertRowKey();
    void DeleteRowKey();
    // Ctrl+A: true when the handler is to stop.
    bool SelectAllKey();
    void FireKeyDown(Word key, TShiftState shift);
    // Calls DoSelectionChanged when the selection differs from FMoveSelection, then remembers it.
    void NotifySelectionMove();

    bool FModified = false; // the grid's cells were changed through the keyboard or an editor

public:
    // The grid's modified flag: set by inserted and deleted rows and by edits that validation accepted.
    bool Modified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    // A validated value changed a cell since the flag was last cleared.
    bool GridModified() const { return FGridModified; }
    void SetGridModified(bool Value) { FGridModified = Value; }

    // ---- Selected cells and the key-down step (grid/view/AdvGridSelectedCells.cpp)
    // The disjunct cell list holds one entry per cell, the row in the high 16 bits and the column in the
    // low 16 bits; a cell beyond column or row 65535 has no entry, since it would alias another cell.

    // Without DisjunctCellSelect the list is first rebuilt from the selection, column by column.
    Integer SelectedCellsCount();
    TGridCoord GetSelectedCell(Integer Index) const;
    TGridCoord SelectedCell(Integer Index) const { return GetSelectedCell(Index); }
    // With DisjunctCellSelect whether the cell is listed; otherwise whether it lies in the selection.
    bool SelectedCells(Integer ACol, Integer ARow);
    Integer SelectedColCount();
    // Footer rows are never counted.
    Integer SelectedRowCount();
    // The i-th selected row, -1 past the last.
    Integer GetSelectedRow(Integer i);
    Integer SelectedRow(Integer i) { return GetSelectedRow(i); }
    // Unflags every modified row and repaints.
    void ClearModifiedRows();

protected:
    // After the base step moved the cursor: Ctrl+Up and Ctrl+Down move rows with CursorMoveRows, the
    // cursor wraps with CursorAdvance, disabled rows are skipped and a synchronised grid follows.
    void KeyDown(Word& Key, TShiftState Shift) override;

    TPoint FLastKeyCell; // the current cell when the last key arrived

    // ---- Cell validation and change tracking (grid/view/AdvGridValidate.cpp)
public:
    // Decides about an edited value: unchanged text passes untouched unless AlwaysValidate; the checker
    // and OnCellValidate may correct or refuse it. A refusal puts the corrected or old text back, reopens
    // the editor on the cell and leaves the modified flags as they were. True when accepted.
    virtual bool ValidateCell(const String& NewValue);
    virtual bool ValidateCellWide(const String& NewValue);
    bool AlwaysValidate() const { return FAlwaysValidate; }
    void SetAlwaysValidate(bool Value) { FAlwaysValidate = Value; }
    // The last validation accepted its value.
    bool LastValidation() const { return FLastValidation; }

    TCellValidateEvent OnCellValidate;
    TCellValidateEvent OnCellValidateWide;

protected:
    // Remembers the cell's stored text and the modified flag, which validation compares against.
    virtual void StoreOldCell(Integer ACol, Integer ARow);
    // The framework's click (OnClick), then the current cell is remembered for validation.
    void DoClick() override;
    virtual void CalcFooterCol(Integer ACol) { CalcFooter(ACol); }

    Integer FOldCol = -1; // the cell StoreOldCell remembered (displayed column)
    Integer FOldRow = -1;
    String FOldCellText;
    String FOldCellTextWide;
    bool FOldModifiedValue = false;
    String FNewCellText; // the value last handed to validation, then the validated value
    bool FValidating = false;
    bool FGridModified = false;
    bool FAlwaysValidate = false;
    bool FEntered = false;
    Integer FRefusals = 0; // validations refused so far

private:
    // Puts text back into the cell and reopens the editor on (FOldCol, ARow).
    void ReopenRefusedEdit(Integer ACol, Integer ARow, const String& text, bool wide);
    // The balloon of InvalidEntryTitle and InvalidEntryText on the active editor's edit window.
    void ShowInvalidEntryBalloon();

    // ---- Focus handling (grid/view/AdvGridFocusHandling.cpp)
protected:
    void WMSetFocus(TMessage& Message) override;
    void WMKillFocus(TMessage& Message) override;
    void DoEnter() override;
    void DoExit() override;

    bool FBlockKill = false;         // losing the focus fires nothing and answers 1
    bool InvokedFocusChange = false; // the set-focus message is ignored

    // ---- Tab advance and navigation routines (grid/view/AdvGridTabAdvance.cpp)
public:
    // Moves the current cell for Tab (Shift+Tab with Backward) to the next selectable base cell; false
    // when the Tab went on to the parent. A grid in which no cell qualifies stays where it was.
    bool TabAdvance(bool Backward);
    // The first (last) column whose cell in ARow is selectable; -1 when none.
    Integer FirstSelectableCol(Integer ARow);
    Integer LastSelectableCol(Integer ARow);
    virtual void GotoFirstDataRow() { SetRow(FixedRows()); }
    bool IsLastDataRow();

    TAutoAddRowEvent OnAutoAddRow;

protected:
    bool FIsDBVersion = false; // wraps set Row and Col instead of the selection

private:
    // One step of the advance; recursed is set when it advanced again from a skipped cell.
    bool TabAdvanceStep(bool Backward, bool& recursed);

    // ---- Grid timer, resizing and other window messages (grid/view/AdvGridTimer.cpp)
public:
    bool Hovering() const { return FHovering; }
    void SetHovering(bool Value) { FHovering = Value; }
    bool EnableBlink() const { return FEnableBlink; }
    void SetEnableBlink(bool Value) { FEnableBlink = Value; }
    // The blink phase painting reads.
    bool GridBlink() const { return FGridBlink; }
    Integer TimerTicks() const { return FTimerTicks; }
    const String& IncrementalSearchText() const { return SearchInc; }
    // The numeric keypad's decimal key types the locale's decimal separator.
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }

protected:
    void WMTimer(TMessage& Message) override;
    // With ColumnSize.SynchWithGrid the columns keep their shares of the width InitOrigColSizes recorded;
    // with ColumnSize.Stretch the stretch column takes the rest of the new width, and the framework grid
    // sees the resize only while a floating footer shows.
    void WMSize(TMessage& Message) override;
    void WMChar(TMessage& Message) override;
    void WMKeyUp(TMessage& Message) override;
    void CMDialogChar(TMessage& Message) override;
    void CMEnabledChanged(TMessage& Message) override;
    Integer GetEditLimit() override { return FMaxEditLength; }

    Integer FTimerTicks = 0;
    Integer SearchTics = 0;
    bool FInWMSize = false; // the size handler runs
    bool FHovering = false;
    bool FGridBlink = false;

private:
    // Repaints the cells of the given real columns and rows whose text blinks.
    void RepaintBlinkingCells(Integer FromCol, Integer ToCol, Integer FromRow, Integer ToRow);
    // With ScrollProportional (and no thin scroll controls) the thumbs follow the new page sizes.
    void UpdateProportionalThumbs();

public:
public:
    // ---- Cell hints and balloon tips (grid/view/AdvGridCellHints.cpp)

    bool HintShowCells() const { return FHintShowCells; }
    void SetHintShowCells(bool Value) { FHintShowCells = Value; }
    // A cell whose text does not fit shows it whole as its hint, at the cell (hpCell) or the cursor.
    bool HintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool Value) { FHintShowLargeText = Value; }
    THintShowLargeTextPos HintShowLargeTextPos() const { return FHintShowLargeTextPos; }
    void SetHintShowLargeTextPos(THintShowLargeTextPos Value) { FHintShowLargeTextPos = Value; }
    // With AnchorHint, the hint of an HTML cell's anchor is its title, or its address when it has none.
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool Value) { FAnchorHint = Value; }
    // Fills the hint of the cell under HintInfo.CursorPos: its comment at the cell's top-right corner, the
    // anchor under the cursor (AnchorHint), its text with HintShowCells, or a text too large for it;
    // OnGridHint has the last word.
    void PrepareCellHint(String& HintStr, THintInfo& HintInfo);

    TCellBalloonEvent OnCellBalloon;

protected:
    void CMHintShow(TMessage& Message) override;
    // The balloon tip asks for its text (TTN_GETDISPINFOW); date-time pickers report changes.
    void WMNotify(TMessage& Message) override;

    bool FHintShowLargeText = false;
    THintShowLargeTextPos FHintShowLargeTextPos = hpCursor;
    Char FToolTipBuffer[4099] = {}; // the balloon text handed to the tooltip window

public:
    // ---- Clipboard (grid/files/AdvGridClipboard.cpp)

    // FIXME: the grid's clipboard formats are not built yet; these change neither the clipboard nor the
    // cells.
    void CopySelectionToClipboard();
    void CutSelectionToClipboard();
    void PasteSelectionFromClipboard();
    // Invalidates the screen area that covers the rectangles of the range's corner cells.
    void InvalidateCellRange(const TGridRect& Range);

    // ---- Owned settings objects and inner controls

    std::unique_ptr<TFooterPanel> FFooterPanel;
    std::unique_ptr<TSearchPanel> FSearchPanel;
    std::unique_ptr<TAutoColor> FAutoColor;
    std::unique_ptr<TFont> cf; // the font GetCellFont fills
    std::unique_ptr<TFocusHelper> FFocusHelper;
    std::unique_ptr<TSearchFooter> FSearchFooter;
    std::unique_ptr<TFloatingFooter> FFloatingFooter;
    std::unique_ptr<TPrintSettings> FPrintSettings;
    std::unique_ptr<THTMLSettings> FHTMLSettings;
    std::unique_ptr<TSortSettings> FSortSettings;
    std::unique_ptr<TDragDropSettings> FDragDropSettings;
    std::unique_ptr<TDragScrollOptions> FDragScrollOptions;
    std::unique_ptr<TControlLook> FControlLook;
    std::unique_ptr<TNavigation> FNavigation;
    std::unique_ptr<TColumnSize> FColumnSize;
    std::unique_ptr<TCellNode> FCellNode;
    std::unique_ptr<TBands> FBands;
    std::unique_ptr<TSizeWhileTyping> FSizeWhileTyping;
    std::unique_ptr<TMouseActions> FMouseActions;
    std::unique_ptr<TGrouping> FGrouping;
    std::unique_ptr<TStringList> FColumnHeaders;
    std::unique_ptr<THTMLPictureCache> FImageCache;
    std::unique_ptr<TIntList> FOrigColSizes;
    std::unique_ptr<TFont> FFixedFont;
    std::unique_ptr<TFont> FActiveCellFont;
    std::unique_ptr<TStringList> FRowHeaders;
    std::unique_ptr<TStringList> Sortlist;
    std::unique_ptr<TStringList> FLookupItems;
    std::unique_ptr<TList> FRowSelect;
    std::unique_ptr<TList> FColSelect;
    std::unique_ptr<TSortIndexList> FSortIndexes;
    std::unique_ptr<TIntList> FSortRowXRef;
    std::unique_ptr<TIntList> FUnSortRowXRef;
    std::unique_ptr<TIntList> FSelectedCells;
    std::unique_ptr<TIntList> FSelectedRows;
    std::unique_ptr<TIntList> FModifiedRows;
    std::unique_ptr<TIntList> FEnabledRows;
    std::unique_ptr<TIntList> FMergedColumns;
    std::unique_ptr<TBitmap> FRowIndicator;
    std::unique_ptr<TBackGround> FBackGround;
    std::unique_ptr<THTMLHintWindow> FScrollHintWnd;
    std::unique_ptr<TControlList> FControlList;
    std::unique_ptr<TGridProgressAppearance> FProgressAppearance;
    std::unique_ptr<TSyncGrid> FSyncGrid;
    std::unique_ptr<THiddenRows> FGridItems; // the hidden-row store
    std::unique_ptr<TFilter> FFilter;
    std::unique_ptr<TBalloonSettings> FBalloonSettings;
    std::unique_ptr<TShowModified> FShowModified;
    std::unique_ptr<TGridChangeNotifierList> FNotifierList;
    std::unique_ptr<TIntList> FColumnOrder;
    std::unique_ptr<TAdvHintInfo> FOfficeHint;
    std::unique_ptr<TIntList> FIgnoreColumns;
    std::unique_ptr<TFilterDropDown> FFilterDropDown;
    std::unique_ptr<TDropList> FDropList;
    std::unique_ptr<TDropCheckList> FDropCheckList;
    std::unique_ptr<TStringList> FFilterList;
    std::unique_ptr<TFilterEdit> FFilterEdit;
    std::unique_ptr<TImageList> FFltrList;
    std::unique_ptr<TPopupMenu> FFltrPopup;
    std::unique_ptr<THoverButtons> FHoverButtons;

    // Inner controls, made only outside design mode.
    std::unique_ptr<TGridFocusWindow> FFocusWindow;
    std::unique_ptr<TArrowWindow> ArwU;
    std::unique_ptr<TArrowWindow> ArwD;
    std::unique_ptr<TArrowWindow> ArwL;
    std::unique_ptr<TArrowWindow> ArwR;
    std::unique_ptr<TGridCombo> EditCombo;
    std::unique_ptr<TGridTransEdit> EditTrans;
    std::unique_ptr<TGridTransCombo> ComboTrans;
    std::unique_ptr<TGridCheckBox> EditCheck;
    std::unique_ptr<TGridEditBtn> EditBtn;
    std::unique_ptr<TGridUnitEditBtn> UnitEditBtn;
    std::unique_ptr<TGridButton> GridButton;
    std::unique_ptr<THeaderDragButton> MoveButton;
    std::unique_ptr<TControlEdit> FEditControl;
    std::unique_ptr<TControlCombo> FComboControl;
    std::unique_ptr<TScrollBar> FScrollBar;
    std::unique_ptr<TScrollBar> FPaintScrollBar;
    std::unique_ptr<TNoActiveForm> FButtonForm;

    // ---- Fields

    bool FDesignTimeInit = false;
    UINT_PTR FGridTimerID = 0;
    TCursor FOldCursor = crDefault; // remembered by Loaded, given back by the destructor

    TScrollStyle FScrollBars = ssBoth;
    Integer FScrollWidth = 0;
    TColor FScrollColor = clNone;
    TScrollType FScrollType = ssNormal;
    TScrollBarAlways FScrollBarAlways = saNone;
    bool FScrollProportional = false;
    bool FScrollSynch = false;
    TScrollHintType FScrollHints = shNone;
    TGridLook FLook = glXP;
    TQELStyle FStyle = tsCustom;
    TColor FBorderColor = 0;
    TColor FSelectionColor = 0x00EACAB6;
    TColor FSelectionColorTo = clNone;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    TColor FSelectionTextColor = 0;
    bool FSelectionColorMixer = false;
    Integer FSelectionColorMixerFactor = 50;
    bool FSelectionRectangle = false;
    bool FSelectionResizer = false;
    bool FSelectionRTFKeep = false;
    TColor FActiveCellColor = 0x00808080;
    TColor FActiveCellColorTo = clNone;
    bool FActiveCellShow = false;
    TColor FDisabledFontColor = 0x00C0C0C0;
    bool FUseDisabledFont = true;
    TColor FHintColor = clInfoBk;
    TColor FHighlightColor = clHighlight;
    TColor FHighLightTextColor = clHighlightText;
    TColor FURLColor = 0x00FF0000;
    TColor FQELGradFrom = 0x00FFFFFF;
    TColor FQELGradTo = 0;
    TColor FQELGradMirrorFrom = clNone;
    TColor FQELGradMirrorTo = clNone;
    TColorTones FTones;
    TPoint FXYOffset{2, 2};
    String FFloatFormat = u"%.2f";
    bool FSizeGrowOnly = false;
    bool FXYOffsetTopLeftOnly = false;
    bool FURLShowInText = false;
    Integer FSizeMinColWidth = 0;
    Integer FSizeMaxColWidth = 0;
    Integer FSizeMinRowHeight = 0;
    Integer FSizeMaxRowHeight = 0;
    String FCheckTrue = u"Y";
    String FCheckFalse = u"N";
    Char FPasswordChar = u'*';
    String FXMLEncoding = u"ISO-8859-1";
    String FFilterDropDownClear = u"(All)";
    TGridEncoding FEncoding = encUTF8;
    TInvalidEntryIcon FInvalidEntryIcon = ieWarning;
    String FInvalidEntryTitle;
    String FInvalidEntryText;
    TOfficeTheme FOldOfficeTheme = otUnknown;
    Integer FPrintPageFrom = 1;
    Integer FPrintPageTo = 1;
    bool FVisibleCol[VisibleColEntries];
    Integer FFixedRowHeight = 22;
    Integer FFixedColWidth = 0;
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    Integer FFixedFooters = 0;
    Integer FFixedRightCols = 0;
    bool FIntegralHeight = false;
    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsWinVista = false;
    bool FIsComCtl6 = false;
    Integer FOldLeftCol = 0;
    Integer FOldTopRow = 0;
    bool FAutoSize = false;
    bool FFlat = false;
    bool FSizeWithForm = false;
    bool FSpreadSheet = false;
    TVAlignment FVAlignment = vtaTop;
    UINT FVAlign = 0; // DT_TOP
    TAlignment FDefaultAlignment = taLeftJustify;
    bool FShowSelection = true;
    Integer FMaxEditLength = 0;
    Integer FMaxComboLength = 0;
    String FEditMask;

    // Flags the constructor sets true.
    bool FShowColNrs = true;
    bool FFitCellsInGrid = true;
    bool FFilterNormalCellsOnly = true;
    bool FLastValidation = true;
    bool FAutoFilterUpdate = true;
    bool FUseInternalHintClass = true;
    bool FFilterDropDownMultiCol = true;
    bool FShowDesignHelper = true;
    bool FEnhRowColMove = true;
    bool FEnableWheel = true;
    bool FWordWrapEx = true;
    bool FIntelliZoom = true;
    bool FLoadFirstRow = true;
    bool FQuoteEmptyCells = true;
    bool FEnableHTML = true;
    bool FShowNullDates = true;
    bool FSaveFixedCells = true;
    bool FSaveVirtCells = true;
    bool FSaveWithHTML = true;
    bool ColchgFlg = true;

    // Plain settings Assign copies.
    bool FAutoHideSelection = false;
    bool FAutoNumAlign = false;
    bool FAutoThemeAdapt = false;
    TEditorType FDefaultEditor = edNormal;
    bool FEditWithTags = false;
    bool FEnableBlink = false;
    bool FEnhTextSize = false;
    bool FExcelStyleDecimalSeparator = false;
    Integer FFilterDropDownRow = 0;
    bool FFixedAsButtons = false;
    bool FHintShowCells = false;
    bool FHTMLHint = false;
    TIntelliPan FIntelliPan = ipVertical;
    bool FLookup = false;
    bool FLookupCaseSensitive = false;
    bool FLookupHistory = false;
    bool FMultilineCells = false;
    bool FAnchorHint = false;

    // Set to -1 by the constructor.
    Integer FLastTabCol = -1;
    Integer FLastTabRow = -1;
    Integer FHoverlink = -1;
    Integer FOleDragCol = -1;
    Integer FLastDesignChoice = -1;
    Integer FFilterCol = -1;
    Integer FHoverFixedX = -1;
    Integer FHoverFixedY = -1;
    Integer FOldSize = -1;
    Integer FGroupColumn = -1;
    Integer FMouseSelectStart = -1;
    Integer FOldRowSel = -1;
    Integer FComboIdx = -1;
    TPoint ptdown{0, -1};
    TPoint FTouchScrollPt{-1, -1};
    TPoint FPushedCellButton{-1, -1};
    TPoint FClipTopLeft{-1, -1};
    TPoint FLastHintPos{-1, -1};

    // The wheel message and rows per wheel step, from InitMouseWheel.
    UINT FWheelMsg = 0;
    Integer FWheelScrollLines = 0;
};

// The cell's value lives in its text (data check boxes and images, virtual and row check boxes): printing
// leaves such texts out.
bool IsDataCellType(TAdvStringGrid* grid, Integer ACol, Integer ARow);

// The identifier ("glXP") and display name ("Windows XP") of a look, for the look chooser; glCustom has
// neither and leaves Text as it was.
void LookToIdent(TGridLook Value, String& Text);
void LookToDisplayName(TGridLook Value, String& Text);
