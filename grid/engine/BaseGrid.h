// The grid base between the framework's string grid and the full string grid: the per-cell property
// records (look, merge span, user and graphic objects, editor kind), the rules by which every grid
// routine reads and writes cell text and cell objects, and merged cells.
//
// The cell store:
// - The framework grid's object slot of a cell holds the cell's TCellProperties record or null, nothing
//   else; the user's object lives in the record. Objects and SetObjects (and so the framework's Rows and
//   Cols views) reach the user's object, never the slot. A cell without a record costs only its string
//   slot.
// - The grid owns the records. A record does not own its user object; the grid frees a graphic object
//   with its record only when the object's class is named exactly "TCellGraphic".
// - GetCellProperties creates a missing record; code that only looks uses CellPropsAssigned or
//   PeekCellProperties. Cells, GridCells, the object getters and CellPropsAssigned never create one.
// - Records move with their rows and columns (the framework's line moves carry the slots); Reset*
//   drops references without freeing, for lines whose records now live elsewhere.
// - Coordinates given to the store are stored columns (hidden columns counted) and rows.
//
// Merged cells are encoded in the records of all their cells (IsBaseCell, CellSpanX, CellSpanY):
// not merged True, -1, -1; the base (top-left) True, spanx - 1, spany - 1; any other cell of the block
// False and its offset from the base.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>

#include "platform/framework/Collection.h"
#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Grids.h"
#include "platform/framework/StdEdit.h"

ZELMOR_ENUM(TGridSelectionStyle, ssDefault, ssVista, ssWin7, ssOffice2007)
ZELMOR_ENUM(THoverRowCell, hcNormal, hcFixed, hcSelected)
using THoverRowCells = TSet<THoverRowCell>;
ZELMOR_ENUM(TCellGradientDirection, GradientVertical, GradientHorizontal)
ZELMOR_ENUM(TVAlignment, vtaTop, vtaCenter, vtaBottom)
ZELMOR_ENUM(TColumnCalcType, acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT,
            acSTDDEV)
ZELMOR_ENUM(TEditorType, edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit,
            edDateEditUpDown, edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat,
            edCapital, edMixedCase, edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit,
            edTimeSpinEdit, edDateSpinEdit, edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone,
            edDateTimeEdit, edValidChars, edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown,
            edTimePickerDropDown, edDetailDropDown, edGridDropDown, edColorPickerDropDown,
            edImagePickerDropDown, edAdvGridDropDown, edControlDropDown, edPositiveFloat,
            edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn)

// The kinds the default text editor edits: the cell's text under the kind's character rules.
constexpr bool IsTextEditorKind(TEditorType Kind) {
    switch (Kind) {
    case edNormal:
    case edNumeric:
    case edPositiveNumeric:
    case edFloat:
    case edCapital:
    case edMixedCase:
    case edPassword:
    case edLowerCase:
    case edUpperCase:
    case edValidChars:
    case edPositiveFloat:
        return true;
    default:
        return false;
    }
}

class TBaseGrid;
class TGradientCache;
class TControl;

using TGetDisplTextEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
// The wide display text; String is UTF-16 already, so it is the same type.
using TGetDisplWideTextEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;

// ---- Cell property record

// The record of one cell that needs more than a string. Its owner coordinates are those it was created
// for and are not updated when the record moves with its row or column; the setters that repaint go
// through them.
class TCellProperties : public TPersistent {
    DECLARE_CLASS(TCellProperties, TPersistent)
    friend class TBaseGrid;

public:
    // Takes the initial values (not merged, left and top aligned, no colours, the owner's word wrap) and
    // tells the owner that a record exists.
    TCellProperties(TBaseGrid* AOwner, Integer ACol, Integer ARow);
    ~TCellProperties() override;

    // Copies the look, merge encoding, owner coordinates, user object, editor and control of another
    // record; the graphic object, gradient end colour and direction, paint counter and calculation
    // settings stay as they are.
    void Assign(TPersistent* Source) override;

    // The base cell of the block this record's cell (col, row) belongs to; the cell itself when it is
    // a base, not merged, or its offsets reach before column or row 0.
    TPoint BaseCellOf(Integer col, Integer row) const;

    bool IsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool value) { FIsBaseCell = value; }
    Integer CellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(Integer value) { FCellSpanX = value; }
    Integer CellSpanY() const { return FCellSpanY; }
    void SetCellSpanY(Integer value) { FCellSpanY = value; }
    Integer OwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(Integer value) { FOwnerCol = value; }
    Integer OwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(Integer value) { FOwnerRow = value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { FAlignment = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { FBorderColor = value; }
    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer value) { FBorderWidth = value; }
    // These four repaint the owner cell after storing.
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor value);
    TColor BrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor value);
    TVAlignment VAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TBrushStyle BrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle value) { FBrushStyle = value; }
    // The user's object or value (the grid's Objects); never owned.
    NativeUInt CellObject() const { return FObject; }
    void SetCellObject(NativeUInt value) { FObject = value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value) { FFontColor = value; }
    String FontName() const { return FFontName; }
    void SetFontName(const String& value) { FFontName = value; }
    Integer FontSize() const { return FFontSize; }
    void SetFontSize(Integer value) { FFontSize = value; }
    TFontStyles FontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles value) { FFontStyle = value; }
    TEditorType Editor() const { return FEditor; }
    void SetEditor(TEditorType value) { FEditor = value; }
    TCellGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection value) { FGradientDirection = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    Integer NodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(Integer value) { FNodeLevel = value; }
    TControl* Control() const { return FControl; }
    void SetControl(TControl* value) { FControl = value; }
    TColumnCalcType CalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType value) { FCalcType = value; }
    TObject* CalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* value) { FCalcObject = value; }
    // The paint counter value at which the painter last drew this merged block.
    Integer PaintID() const { return FPaintID; }
    void SetPaintID(Integer value) { FPaintID = value; }

private:
    void RepaintOwnerCell();

    TBaseGrid* FOwnerGrid;
    Integer FOwnerCol;
    Integer FOwnerRow;
    NativeUInt FObject = 0;
    TObject* FGraphicObject = nullptr; // the cell object; see the ownership rule above
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    Integer FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    Integer FCellSpanY = -1;
    Integer FCellSpanX = -1;
    Integer FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    Integer FPaintID = 0;
    bool FWordWrap;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject* FCalcObject = nullptr;
    Integer FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    String FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl* FControl = nullptr;
};

// ---- Undo and redo (BaseGridUndo.cpp)

// One recorded change of a cell's text, or a sequence marker (column and row -1, empty texts).
class TUndoRedoItem : public TCollectionItem {
    DECLARE_CLASS(TUndoRedoItem, TCollectionItem)

public:
    using TCollectionItem::TCollectionItem;

    // The text after the change.
    const String& Value() const { return FValue; }
    void SetValue(const String& value) { FValue = value; }
    // The text before the change.
    const String& OrigValue() const { return FOrigValue; }
    void SetOrigValue(const String& value) { FOrigValue = value; }
    // The stored column of the changed cell.
    Integer Col() const { return FCol; }
    void SetCol(Integer value) { FCol = value; }
    Integer Row() const { return FRow; }
    void SetRow(Integer value) { FRow = value; }
    bool SequenceStart() const { return FSequenceStart; }
    void SetSequenceStart(bool value) { FSequenceStart = value; }
    bool SequenceStop() const { return FSequenceStop; }
    void SetSequenceStop(bool value) { FSequenceStop = value; }
    bool IsMarker() const { return FSequenceStart || FSequenceStop; }

private:
    Integer FRow = -1;
    Integer FCol = -1;
    String FValue;
    String FOrigValue;
    bool FSequenceStart = false;
    bool FSequenceStop = false;
};

class TUndoRedoCollection : public TCollection {
    DECLARE_CLASS(TUndoRedoCollection, TCollection)

public:
    TUndoRedoCollection() : TCollection(TUndoRedoItem::StaticClass()) {}

    TUndoRedoItem* Add() { return static_cast<TUndoRedoItem*>(TCollection::Add()); }
    TUndoRedoItem* Items(Integer index) const {
        return static_cast<TUndoRedoItem*>(TCollection::Items(index));
    }
};

// Col and Row are the step's cell, OrigValue its text just before the step, NewValue the text the step
// writes.
using ZOvoReziDoviRuzoEvent = std::function<void(TObject* Sender, TBaseGrid* Grid, Integer Col, Integer Row,
                                                 const String& OrigValue, const String& NewValue)>;

// Records the changes of cell text in a grid and undoes and redoes them, one change or one marked
// sequence at a time. Level counts the items (markers included) in effect: Undo works on item
// Level - 1, Redo on item Level. A change or marker recorded while steps are undone replaces them, so
// a redo never brings back an edit that was undone and then overwritten.
class ZOvoReziDoviRuzo : public TComponent {
    DECLARE_CLASS(ZOvoReziDoviRuzo, TComponent)

public:
    explicit ZOvoReziDoviRuzo(TComponent* AOwner);
    ~ZOvoReziDoviRuzo() override;

    // Records one change of cell (ACol stored, ARow). With MaxLevel > 0 the oldest items go first so that
    // at most MaxLevel items are kept; that costs the same however many are kept.
    virtual void RegisterChange(Integer ACol, Integer ARow, const String& OldValue, const String& NewValue);
    // The changes recorded between a start and a stop marker are undone and redone as one step.
    virtual void StartSequence();
    virtual void StopSequence();
    // Nothing happens without a grid or without a step to take.
    void Undo();
    void Redo();
    // Forgets every step.
    void Reset();
    bool CanUndo() const { return FLevel > 0; }
    bool CanRedo() const { return FLevel < FItems->Count(); }

    Integer Level() const { return FLevel; }
    TUndoRedoCollection* Items() const { return FItems.get(); }
    TBaseGrid* Grid() const { return FGrid; }
    void SetGrid(TBaseGrid* value) { FGrid = value; }
    // 0: no limit.
    Integer MaxLevel() const { return FMaxLevel; }
    void SetMaxLevel(Integer value) { FMaxLevel = value; }

    ZOvoReziDoviRuzoEvent OnUndo;
    ZOvoReziDoviRuzoEvent OnRedo;

protected:
    // Forgets the grid when it goes.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // Frees the items past the level (the undone steps).
    void DropUndone();
    // Drops the undone items, appends a new one and puts the level after it.
    TUndoRedoItem* Append();
    // Writes the item's old (undo) or new (redo) text into its cell and makes the cell current. A
    // marker writes nothing.
    void Apply(TUndoRedoItem* item, bool undo);

    std::unique_ptr<TUndoRedoCollection> FItems;
    TBaseGrid* FGrid = nullptr; // not owned
    Integer FLevel = 0;
    Integer FMaxLevel = 0;
};

// ---- The grid classes

// The framework's string grid under the name the grid family derives from; it adds nothing.
class TObjStringGrid : public TStringGrid {
    DECLARE_CLASS(TObjStringGrid, TStringGrid)

public:
    using TStringGrid::TStringGrid;
};

// The string grid whose cells may carry property records; the full string grid derives from it.
class TBaseGrid : public TObjStringGrid {
    DECLARE_CLASS(TBaseGrid, TObjStringGrid)
    friend class TCellProperties;

public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;

    // -- Cell text --
    // Cells: the display text of a cell. A cell of a merged block reads and writes its base cell's text.
    // Rows below the normal row count fire the display-text events with the base cell's coordinates.
    String Cells(Integer ACol, Integer ARow) { return GetCellEx(ACol, ARow); }
    void SetCells(Integer ACol, Integer ARow, const String& Value) { SetCellEx(ACol, ARow, Value); }
    String GetCellEx(Integer c, Integer r);
    // Writing a cell that has a record runs CellTextChanged on the base cell and repaints the cell.
    void SetCellEx(Integer c, Integer r, const String& Value);
    // The raw stored string of exactly that cell: no merge lookup, no events, no hooks.
    String GridCells(Integer c, Integer r) const { return GetGridCell(c, r); }
    void SetGridCells(Integer c, Integer r, const String& Value) { SetGridCell(c, r, Value); }
    String GetGridCell(Integer c, Integer r) const { return TStringGrid::Cells(c, r); }
    void SetGridCell(Integer c, Integer r, const String& Value) { TStringGrid::SetCells(c, r, Value); }

    // -- Cell objects --
    // The getters answer null for a cell without a record and never create one. The setters create the
    // record; the cell's text ends as it was (an empty text is written blank and back).
    TObject* Objects(Integer c, Integer r) const override { return GetObjectEx(c, r); }
    void SetObjects(Integer c, Integer r, TObject* Value) override { SetObjectEx(c, r, Value); }
    TObject* GetObjectEx(Integer c, Integer r) const;
    // Clearing the object of a cell without a record creates none.
    void SetObjectEx(Integer c, Integer r, TObject* Value);
    TObject* GraphicObjects(Integer c, Integer r) const { return GetGraphicObjectEx(c, r); }
    void SetGraphicObjects(Integer c, Integer r, TObject* Value) { SetGraphicObjectEx(c, r, Value); }
    TObject* GetGraphicObjectEx(Integer c, Integer r) const;
    // The old graphic object is not freed here; nothing happens while the grid is being destroyed.
    void SetGraphicObjectEx(Integer c, Integer r, TObject* Value);
    static TObject* GraphicObjectOf(const TCellProperties* record) { return record->FGraphicObject; }

    // -- Property records --
    // The record of a cell, created with the grid's defaults when missing.
    TCellProperties* CellProperties(Integer c, Integer r) { return GetCellProperties(c, r); }
    // Frees the record in the slot, with a "TCellGraphic" it holds unless Value carries that object on,
    // and stores Value. Storing the record that is there already changes nothing.
    void SetCellProperties(Integer c, Integer r, TCellProperties* Value);
    TCellProperties* GetCellProperties(Integer c, Integer r);
    // True for 0 <= c < TotalColCount, r >= 0 and a record in the slot.
    bool CellPropsAssigned(Integer c, Integer r) const { return AssignedProps(c, r) != nullptr; }
    // Raw read and write of the slot: no creation, no freeing.
    TCellProperties* PeekCellProperties(Integer c, Integer r) const {
        return static_cast<TCellProperties*>(ObjectSlot(c, r));
    }
    void PutCellProperties(Integer c, Integer r, TCellProperties* record) { SetObjectSlot(c, r, record); }
    TCellProperties* CreateCellProperties(Integer c, Integer r);
    // A record filled as CreateCellProperties fills one for cell (c, r), but stored nowhere: the caller
    // owns it, for a cell kept outside the grid's slots.
    TCellProperties* MakeCellProperties(Integer c, Integer r);
    // Frees the records of the inclusive range, with their "TCellGraphic" objects.
    void FreeCellProperties(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow);
    // Frees one cell's record (with its "TCellGraphic") and empties the slot.
    void FreeCellPropertiesAt(Integer c, Integer r);
    // Frees a record that no cell holds any more (one kept outside the cells), with its "TCellGraphic".
    void FreeDetachedRecord(TCellProperties* record) {
        if (record != nullptr)
            FreeRecord(record, nullptr);
    }
    // FreeCellProperties over ColCount x RowCount.
    void FreeAllCellProperties();
    // Empty the text and drop the record references without freeing them.
    void ResetCell(Integer c, Integer r);
    void ResetRowCells(Integer r);
    void ResetColCells(Integer c);
    bool HasCellProps() const { return FHasCellProps; }

    // -- Geometry --
    // Invalidates the cell at a stored column (a whole merged block) when the window exists.
    void RepaintCell(Integer ARealCol, Integer ARow);
    // Column indexes come in two kinds: displayed (what the view shows, hidden columns left out) and
    // stored (hidden columns counted, what the cell store and the records use). RealColIndex maps a
    // displayed column to its stored one and DisplColIndex back; parameters say which kind they take.
    //
    // The client rectangle of a displayed cell, or of the whole merged block it belongs to (the block
    // is looked up at the stored column); a cell outside the view gets a rectangle of its size. Costs
    // what is visible, wherever the cell is.
    TRect CellRect(Integer ADisplCol, Integer ARow);
    // Width and height of the cell or of its merged block, from the stored column with no mapping: the
    // widths are those of the same indexes.
    TPoint CellSize(Integer ARealCol, Integer ARow);
    // The rectangle of a displayed cell computed from widths and heights, also for cells outside the
    // view.
    TRect CalcCellRect(Integer ADisplCol, Integer ARow);
    Integer FixedColsWidth() const;
    Integer FixedRowsHeight() const;

    // -- Merged cells --
    virtual void MergeCells(Integer c, Integer r, Integer spanx, Integer spany);
    virtual void SplitCells(Integer c, Integer r);
    TPoint BaseCell(Integer ACol, Integer ARow) const;
    bool IsBaseCell(Integer ACol, Integer ARow) const;
    // Sets BaseCol, BaseRow to the base cell; false when the cell is a non-base cell of a block (a cell
    // parted from its block by a move is its own base).
    bool ResolveBaseCell(Integer ACol, Integer ARow, Integer& BaseCol, Integer& BaseRow) const;
    // The number of extra columns and rows of the cell's block; (0, 0) when not merged.
    TPoint CellSpan(Integer ACol, Integer ARow) const;
    // The distance from the cell to the far corner of its block.
    TPoint CellExt(Integer ACol, Integer ARow) const;
    // The block in cell coordinates, corners inclusive.
    TRect FullCell(Integer c, Integer r) const;
    bool IsMergedCell(Integer ACol, Integer ARow) const;
    bool IsMergedNonBaseCell(Integer ACol, Integer ARow) const;
    bool IsXMergedCell(Integer ACol, Integer ARow) const;
    bool IsYMergedCell(Integer ACol, Integer ARow) const;
    Integer MinRowSpan(Integer ARow) const;
    Integer MaxRowSpan(Integer ARow) const;
    // True when some column holds both rows inside vertical blocks and every such column holds them
    // in the same block.
    bool RowSpanIdentical(Integer ARow1, Integer ARow2) const;
    bool ColSpanIdentical(Integer ACol1, Integer ACol2) const;
    // Moves the current cell to the base of its block.
    void SnapToBaseCell();
    void RepaintMergedFixedRows();
    void RepaintMergedFixedCols();
    // The number of merged blocks made by MergeCells that still exist; the view tests it for > 0.
    Integer MergeCount() const { return FMergeCount; }

    // -- Painting (BaseGridPaint.cpp) --
    // Paints a cell (background, selection, grid lines, content) on any canvas; ACol is displayed.
    void PaintCell(TCanvas* ACanvas, Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState);
    // Background, selection and grid lines into ARect as given, without content.
    void PaintCellExt(TCanvas* ACanvas, Integer ACol, Integer ARow, const TRect& ARect,
                      TGridDrawState AState);

    // -- Mapping and counts (identity in the base) --
    virtual Integer RealColIndex(Integer ACol) { return ACol; }
    virtual Integer DisplColIndex(Integer ACol) { return ACol; }
    virtual Integer TotalColCount() const { return ColCount(); }

    // -- Properties --
    bool DefaultDrawing() const { return FDefaultDrawing; }
    // The framework grid's own default drawing stays off whatever the value.
    void SetDefaultDrawing(bool value);
    Integer GridLineWidth() const { return FGridLineWidth; }
    // This grid draws its lines inside the cells; the framework's line width stays 0.
    void SetGridLineWidth(Integer value);
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor value);
    TColor GridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor value);
    bool ActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool value);
    TColor ActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor value);
    TColor ActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor value);
    TColor ActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor value);
    TColor ActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor value);
    TGridSelectionStyle SelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle value);
    bool HoverRow() const { return FHoverRow; }
    void SetHoverRow(bool value) { FHoverRow = value; }
    TColor HoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor value) { FHoverRowColor = value; }
    TColor HoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor value) { FHoverRowColorTo = value; }
    THoverRowCells HoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells value) { FHoverRowCells = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { FWordWrap = value; }
    ZOvoReziDoviRuzo* UndoRedo() const { return FUndoRedo; }
    // Links the undo component and points it at this grid.
    void SetUndoRedo(ZOvoReziDoviRuzo* value);

    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

protected:
    // -- Hooks the string grid overrides --
    virtual bool IsFixed(Integer ACol, Integer ARow) { return false; }
    virtual Integer GetRowIndent(Integer ARow) { return 0; }
    virtual bool HasNodes() { return false; }
    // Draws what lies inside a painted cell's lines; the base draws the text of the cell at the
    // displayed column ACol (the stored cell's display text) on one line, centred both ways in Rect.
    virtual void DrawCellContent(TCanvas* Canvas, Integer ACol, Integer ARow, const TRect& Rect,
                                 TGridDrawState State);
    // Runs after the hidden last row was written.
    virtual void LastRowChanged() {}
    virtual void DoGetDisplText(Integer ACol, Integer ARow, String& Value);
    virtual void DoGetDisplWideText(Integer ACol, Integer ARow, String& Value);
    // The look a new record starts with: the grid's font and colour, no extra colours, left and top
    // alignment, the grid's word wrap, a vertical gradient.
    virtual void GetCellDefaultProps(Integer ACol, Integer ARow, TFont* AFont, TBrush* ABrush,
                                     TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                                     TAlignment& HA, TVAlignment& VA, bool& WW, TCellGradientDirection& GD);
    // Runs after text was written into a cell that has a record (at its base cell).
    virtual void CellTextChanged(Integer ACol, Integer ARow) {}
    virtual bool HasCustomCellBorders() { return false; }
    virtual bool UsesVCLStyles() { return false; }
    // The effective look of a cell for painting; the string grid computes it.
    virtual void GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool Print,
                                     bool Select, bool Remap, TBrush* ABrush, TColor& AColorTo,
                                     TColor& AMirrorColor, TColor& AMirrorColorTo, TFont* AFont,
                                     TAlignment& HA, TVAlignment& VA, bool& WW, TCellGradientDirection& GD) {}

    // -- The in-place editor --
    // The editor edits a merged block at its base cell, over the whole block: it loads the base's
    // stored text (no display events) and stores through SetCellEx, so CellTextChanged runs and the
    // block repaints. ACol is a displayed column. A derived grid answers these for its own editors.
    String GetEditCellText(Integer ACol, Integer ARow) override;
    void SetEditCellText(Integer ACol, Integer ARow, const String& Value) override;
    // The block's rectangle (CellRect) for a merged cell, the framework's for any other; empty while
    // the cell itself is not shown.
    TRect GetEditRect(Integer ACol, Integer ARow) override;

    // -- Framework overrides --
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The framework's paint, after which the paint counter moves on (a merged block is painted once per
    // value of the counter).
    void Paint() override;
    // Paints the cell on the grid's canvas with content.
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    // Repaints the current cell, lets the framework decide and repaints the asked cell, also when the
    // move is refused; right to left, the whole grid is repainted instead.
    bool SelectCell(Integer ACol, Integer ARow) override;
    // What PaintCell, PaintCellExt and DrawCell share. ACol is displayed. With content, a fixed cell
    // paints fixed and unselected over its whole merged block (CellRect); without, into Rect as given.
    void DoPaintCell(TCanvas* Canvas, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State,
                     bool WithContent);
    void KeyDown(Word& Key, TShiftState Shift) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    void TopLeftChanged() override;

    // The slot's record when the store rules count it (0 <= c < TotalColCount, r >= 0); the cheap test
    // the cell path makes.
    TCellProperties* AssignedProps(Integer c, Integer r) const {
        if (c < 0 || r < 0)
            return nullptr;
        TCellProperties* record = PeekCellProperties(c, r);
        return record != nullptr && c < TotalColCount() ? record : nullptr;
    }

    // The gradients of the cells, kept across paints; made when first asked for.
    TGradientCache* GradientCache();

    // Fields the string grid reads and writes as its own.
    bool FHideLastRow = false;   // the last row is a hidden carrier row
    Integer FNormalRowCount = 0; // rows below it get the display-text events
    Integer FPaintID = 1;        // incremented after every full paint
    bool FCustomSelect = true;   // nothing in the engine reads it
    Integer FHoverRowIdx = -1;   // row under the mouse for hover painting, -1 for none
    bool FShowSel = true;        // the selection is shown
    bool FHasCellProps = false;  // a record was created since the last full clear
    Integer FMergeCount = 0;     // merged blocks in existence
    Integer FRepaintLock = 0;    // while above 0 RepaintCell does nothing: a bulk change repaints once

private:
    void FillFromDefaults(TCellProperties* record, Integer c, Integer r, TFont* font, TBrush* brush,
                          bool throughSetters);
    // Frees a record together with its graphic object when that is a cell-owned "TCellGraphic", and
    // keeps the merge count in step. keep is a graphic object that must survive (null for none).
    void FreeRecord(TCellProperties* record, TObject* keep);
    static bool CountsAsBlock(const TCellProperties* record) {
        return record->FIsBaseCell && (record->FCellSpanX > 0 || record->FCellSpanY > 0);
    }
    Integer ColWidthOf(Integer c) const;
    Integer RowHeightOf(Integer r) const;

    bool FDefaultDrawing = false;
    Integer FGridLineWidth = 1;
    TColor FGridLineColor = 0x00C0C0C0;
    TColor FGridFixedLineColor = 0x00808080;
    ZOvoReziDoviRuzo* FUndoRedo = nullptr; // not owned
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    std::unique_ptr<TFont> FDefFont;   // scratch font for new records
    std::unique_ptr<TBrush> FDefBrush; // scratch brush for new records
    std::unique_ptr<TGradientCache> FGradientCache;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
};
