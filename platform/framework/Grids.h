// The framework's grids: TCustomGrid (geometry, scrolling, selection, sizing and moving of columns and
// rows, in-place editing), TDrawGrid (cells painted by OnDrawCell), TStringGrid (a sparse store of a
// string and an object per cell) and TInplaceEdit (the editor shown over the current cell).
//
// Rules the derived grids rely on:
// - Every change of the current cell goes through SelectCell first; a false answer leaves it where it
//   was. FocusCell, keyboard navigation, clicks, Col/Row and the wheel all take that route.
// - MoveColumn/MoveRow first move the widths or heights, the current cell, the anchor and the editor's
//   cell, then call ColumnMoved/RowMoved. TStringGrid moves its cells inside those notifications and then
//   fires OnColumnMoved/OnRowMoved. DeleteColumn/DeleteRow move the line to the end and drop the last
//   one, so its data stays stored beyond the count.
// - Shrinking ColCount/RowCount never clears stored cells; growing again shows them. SizeChanged tells
//   the old counts after the change.
// - Paint calls DrawCell once for each cell that is at least partly visible and inside the clip, never
//   for the rest; the cell under an open editor is not painted. With DefaultDrawing, fixed cells are the
//   theme's header items while visual styles are on (DrawCell then gets a clear brush over the face),
//   and the fixed colour with raised edges otherwise.
// - Sizing and moving end with MouseUp; Escape, WM_CANCELMODE or another window taking the capture drop
//   them without a change, taking the inverted feedback line away.
// - The editor exchanges text only through GetEditText (when it is shown on a cell) and SetEditText (on
//   every change of its text and when it is hidden, through UpdateText), and goes where GetEditRect
//   says.
// - The window timer with id 1 belongs to the grid while it selects, moves or scrolls past its edge.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/framework/Controls.h"
#include "platform/framework/Mask.h"
#include "platform/framework/StdEdit.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Strings.h"

ZELMOR_DECLARE_EXCEPTION(EInvalidGridOperation, Exception)

ZELMOR_ENUM(TGridOption, goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
            goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs,
            goRowSelect, goAlwaysShowEditor, goThumbTracking)
using TGridOptions = TSet<TGridOption>;
ZELMOR_ENUM(TGridDrawStateItem, gdSelected, gdFocused, gdFixed)
using TGridDrawState = TSet<TGridDrawStateItem>;
ZELMOR_ENUM(TGridState, gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving)
ZELMOR_ENUM(TGridScrollDirectionItem, sdLeft, sdRight, sdUp, sdDown)
using TGridScrollDirection = TSet<TGridScrollDirectionItem>;

struct TGridCoord {
    Integer X = 0;
    Integer Y = 0;
    constexpr bool operator==(const TGridCoord&) const = default;
};

// A block of cells, inclusive on every side.
struct TGridRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    constexpr bool operator==(const TGridRect&) const = default;
};

inline bool PointInGridRect(Integer col, Integer row, const TGridRect& rect) {
    return col >= rect.Left && col <= rect.Right && row >= rect.Top && row <= rect.Bottom;
}

class TCustomGrid;

// The extent of one line of an axis (a column's width or a row's height), read straight from its grid:
// draw infos are made for every cell rectangle a paint asks for, so reading one costs no allocation and
// no indirect call.
struct TGridExtentReader {
    const TCustomGrid* grid = nullptr;
    bool columns = true;
    Integer operator()(Integer index) const;
};

// Where the cells of one axis stand on screen for the current scroll position.
struct TGridAxisDrawInfo {
    Integer EffectiveLineWidth = 0;  // the grid line width, or 0 when the axis draws no lines
    Integer FixedBoundary = 0;       // the end of the fixed cells and their lines
    Integer GridBoundary = 0;        // the end of the last cell shown (at most GridExtent)
    Integer GridExtent = 0;          // the client size along the axis
    Integer LastFullVisibleCell = 0; // the last cell shown whole (the first scrolling cell at least)
    Integer FullVisBoundary = 0;     // the end of LastFullVisibleCell
    Integer FixedCellCount = 0;
    Integer FirstGridCell = 0; // LeftCol or TopRow
    Integer GridCellCount = 0; // ColCount or RowCount
    TGridExtentReader GetExtent;
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

// Running sums of one axis' extents (a Fenwick tree), so that where a line starts costs O(log n)
// however far down it is. Built on the first question after a change that moves or resizes lines.
class TGridExtentSums {
public:
    void Reset() { FValid = false; }
    // One extent changed by delta; a reset tree stays reset.
    void Changed(Integer index, Int64 delta);
    // The sum of extents[0..count-1], count at most the number of extents.
    Int64 Before(const std::vector<Integer>& extents, Integer count);

private:
    std::vector<Int64> FTree;
    bool FValid = false;
};

// Where a line goes when the count lines from fromIndex move to start at toIndex: the block's lines
// keep their order and the lines they pass close up behind them.
inline Integer BlockMovedIndex(Integer index, Integer fromIndex, Integer count, Integer toIndex) {
    if (index >= fromIndex && index < fromIndex + count)
        return index - fromIndex + toIndex;
    if (toIndex > fromIndex && index >= fromIndex + count && index < toIndex + count)
        return index - count;
    if (toIndex < fromIndex && index >= toIndex && index < fromIndex)
        return index + count;
    return index;
}

// Where a line below count goes when the listed lines (ascending, distinct, below count) leave for the
// end: the others close up in their order and the listed ones follow them in theirs. Lines outside
// 0 .. count - 1 stay.
inline Integer ListDeletedIndex(Integer index, const std::vector<Integer>& lines, Integer count) {
    if (index < 0 || index >= count || lines.empty())
        return index;
    const auto at = std::lower_bound(lines.begin(), lines.end(), index);
    const Integer before = static_cast<Integer>(at - lines.begin());
    if (at != lines.end() && *at == index)
        return count - static_cast<Integer>(lines.size()) + before;
    return index - before;
}

// Where an old line goes when new lines are put at the listed places (ascending, distinct, places in
// the grown count): the old lines fill the other places in their order.
inline Integer ListInsertedIndex(Integer index, const std::vector<Integer>& lines) {
    if (index < 0 || lines.empty())
        return index;
    // lines[j] - j never falls, so the places before the line's own are counted by bisection.
    size_t low = 0;
    size_t high = lines.size();
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (lines[mid] - static_cast<Integer>(mid) <= index)
            low = mid + 1;
        else
            high = mid;
    }
    return index + static_cast<Integer>(low);
}

// The listed lines of items[0 .. end) (ascending, distinct, below end) go to its end in their order and
// the others close up, each item moved once, the lines between two listed ones as one run. Items
// reaching no further than the first listed line stay as they are; shorter ones are first grown to end.
template <class T> void DeleteListed(std::vector<T>& items, const std::vector<Integer>& lines, size_t end) {
    if (lines.empty() || items.size() <= static_cast<size_t>(lines.front()))
        return;
    if (items.size() < end)
        items.resize(end);
    std::vector<T> listed;
    listed.reserve(lines.size());
    const auto base = items.begin();
    auto write = base + lines.front();
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto line = base + lines[i];
        listed.push_back(std::move(*line));
        const auto next =
            i + 1 < lines.size() ? base + lines[i + 1] : base + static_cast<std::ptrdiff_t>(end);
        // Swapped rather than moved: what is left behind is moved from or listed, and ends past the
        // closed-up lines, where the listed items replace it.
        for (auto source = line + 1; source != next; ++source, ++write)
            std::iter_swap(source, write);
    }
    std::move(listed.begin(), listed.end(), write);
}

// The inverse: items[0 .. end) of the grown count takes new items (makeEmpty()) at the listed places
// (ascending, distinct, below end), and the old items, 0 .. end - lines.size() - 1, fill the other
// places in their order, the items between two places as one run. What items held at the old end and
// beyond up to end is replaced.
template <class T, class MakeEmpty>
void InsertListed(std::vector<T>& items, const std::vector<Integer>& lines, size_t end, MakeEmpty makeEmpty) {
    if (lines.empty())
        return;
    if (items.size() < end)
        items.resize(end);
    const auto base = items.begin();
    auto read = base + static_cast<std::ptrdiff_t>(end - lines.size());
    auto write = base + static_cast<std::ptrdiff_t>(end);
    for (size_t i = lines.size(); i-- > 0;) {
        const auto line = base + lines[i];
        // The old items after this place move up by the places still below it, plus this one.
        const auto from = read - (write - (line + 1));
        // Swapped rather than moved: what the places held goes down to places still to be filled, and
        // ends at the listed ones, where it is replaced.
        for (auto source = read, target = write; source != from;)
            std::iter_swap(--source, --target);
        read = from;
        *line = makeEmpty();
        write = line;
    }
}

class TCustomGrid;
class TInplaceEdit;
struct HTHEME__;

using TDrawCellEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;

// ---- The in-place editor ----
// A borderless multi-line masked edit that the grid lays over its current cell. Keys that leave the cell
// (Up, Down, Page keys, Escape, Tab; Left/Right/Home/End at the text's edge with goAlwaysShowEditor)
// go to the grid's KeyDown; Enter goes to the grid's KeyPress, which hides the editor.
class TInplaceEdit : public TCustomMaskEdit {
    DECLARE_CLASS(TInplaceEdit, TCustomMaskEdit)
    friend class TCustomGrid;

public:
    explicit TInplaceEdit(TComponent* owner);

    TCustomGrid* Grid() const { return FGrid; }
    // Puts the editor over loc, shows it and takes the focus when the grid has it; an empty loc hides it.
    void Move(const TRect& loc);
    // As Move, but without repainting a window that was shown already.
    void UpdateLoc(const TRect& loc);
    bool PosEqual(const TRect& rect);
    // Hides the window and hands the focus back to the grid if the editor had it.
    void Hide();
    void Deselect();
    void SetFocus() override;
    void Invalidate() override;
    // Shown on the screen (the window is visible).
    bool Visible();

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    // Called after each move: sets the formatting rectangle inside the window and scrolls to the caret.
    virtual void BoundsChanged();
    // Loads the grid's edit mask, text and limit for the grid's current cell.
    virtual void UpdateContents();
    void Change() override;
    void DblClick() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    // Whether the grid lets the text change (CanEditModify); pasting, cutting and typing ask it.
    bool EditCanModify() override;
    virtual void WMGetDlgCode(TMessage& message);
    void SetGrid(TCustomGrid* value) { FGrid = value; }

private:
    void InternalMove(const TRect& loc, bool redraw);

    TCustomGrid* FGrid = nullptr;
    String FStartText;     // the text the cell had when the editor was loaded; Escape goes back to it
    bool FLoading = false; // UpdateContents is setting the text: no change of the user's to store
};

// ---- TCustomGrid ----
class TCustomGrid : public TCustomControl {
    DECLARE_CLASS(TCustomGrid, TCustomControl)
    friend class TInplaceEdit;

public:
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    // The screen rectangle of a cell; partly visible cells are cut at the client edge, and a cell that
    // is not shown at all (scrolled away or past the edge) gives an empty rectangle (0, 0, 0, 0). A
    // hidden cell (width or height 0 or less) in view gives a rectangle of no width or height at its
    // place.
    TRect CellRect(Integer ACol, Integer ARow);
    // The cell under a client point: a point on a grid line belongs to the cell before it; -1 on an
    // axis where the point is past the last cell.
    TGridCoord MouseCoord(Integer X, Integer Y);
    void MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow);

    // The published properties of the descendants.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    Integer Col() const { return FCurrent.X; }
    void SetCol(Integer value);
    Integer Row() const { return FCurrent.Y; }
    void SetRow(Integer value);
    Integer ColCount() const { return FColCount; }
    void SetColCount(Integer value);
    Integer RowCount() const { return FRowCount; }
    void SetRowCount(Integer value);
    // The width of a column: DefaultColWidth until set, and for an index outside the count. Setting the
    // width of a column outside the count raises EInvalidGridOperation "Grid index out of range".
    Integer ColWidths(Integer index) const;
    void SetColWidths(Integer index, Integer value);
    Integer RowHeights(Integer index) const;
    void SetRowHeights(Integer index, Integer value);
    // Give every column (row) the extent newExtent answers for its present one, as SetColWidths
    // (SetRowHeights) would one by one, but with one repaint and one scroll-range update in all.
    void ChangeColWidths(const std::function<Integer(Integer width)>& newExtent);
    void ChangeRowHeights(const std::function<Integer(Integer height)>& newExtent);
    // Setting a default forgets every width (or height) set one by one.
    // The sum of the widths of columns 0..index-1 (heights of rows 0..index-1), without grid lines;
    // lines past the count have the default extent. O(log n) whatever index is; 0 for index <= 0.
    Int64 ColsWidthBefore(Integer index) const;
    Int64 RowsHeightBefore(Integer index) const;
    Integer DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(Integer value);
    Integer DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(Integer value);
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool value);
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);
    // Raise EInvalidGridOperation "Fixed column count must be less than column count" (rows alike) and
    // "Grid index out of range" for a negative count; a change puts the current cell and the scroll
    // position back to the first scrolling cell.
    Integer FixedCols() const { return FFixedCols; }
    void SetFixedCols(Integer value);
    Integer FixedRows() const { return FFixedRows; }
    void SetFixedRows(Integer value);
    Integer GridHeight();
    Integer GridWidth();
    Integer GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(Integer value);
    // goRowSelect takes goAlwaysShowEditor out.
    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    // The block between the current cell and the anchor; the whole row width with goRowSelect.
    TGridRect Selection() const;
    // Makes the rectangle's top-left the anchor and its bottom-right the current cell (range select),
    // without asking SelectCell and without scrolling; descendants rely on the current cell ending at
    // the bottom-right.
    void SetSelection(const TGridRect& value);
    // The first scrolling column and row shown; kept between the fixed count and the last cell.
    Integer LeftCol() const { return FTopLeft.X; }
    void SetLeftCol(Integer value);
    Integer TopRow() const { return FTopLeft.Y; }
    void SetTopRow(Integer value);
    // Scrolling columns and rows shown whole.
    Integer VisibleColCount();
    Integer VisibleRowCount();
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    TGridState GridState() const { return FGridState; }

    TNotifyEvent OnTopLeftChanged;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // ColWidths and RowHeights are stored as lists of every line's extent, when one differs from the
    // default (or from the ancestor's).
    void DefineProperties(TFiler* filer) override;
    void Dispatch(TMessage& message) override;
    void Paint() override;
    // Draws one cell; the descendants decide what.
    virtual void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) = 0;
    // Paints one cell at ARect (not empty, at least partly inside the clip) in the state AState.
    using TGridCellPainter =
        std::function<void(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState)>;
    // The paint loop over what is visible: the fixed corner, the fixed rows, the fixed columns and the
    // scrolling cells, each only from the first shown line to the client edge, calling paintCell once
    // for each cell that is at least partly visible and inside the clip, never for the cell under an
    // open editor. Paint runs it with the framework's look; a descendant that paints its own way runs
    // it with its own painter.
    void PaintVisibleCells(const TGridDrawInfo& drawInfo, const TGridCellPainter& paintCell);

    // -- Geometry --
    void CalcDrawInfo(TGridDrawInfo& drawInfo);
    void CalcDrawInfoXY(TGridDrawInfo& drawInfo, Integer useWidth, Integer useHeight);
    void CalcFixedInfo(TGridDrawInfo& drawInfo);
    // Whether (X, Y) is on the end line of a scrolling column (inside the fixed rows, with goColSizing)
    // or of a scrolling row (inside the fixed columns, with goRowSizing): state is then gsColSizing or
    // gsRowSizing, index the line's cell, sizingPos the line and sizingOfs its distance from X (or Y).
    virtual void CalcSizingState(Integer X, Integer Y, TGridState& state, Integer& index, Integer& sizingPos,
                                 Integer& sizingOfs, TGridDrawInfo& fixedInfo);
    // The cell under a client point, each axis on its own (-1 past the last cell).
    TGridCoord CalcCoordFromPoint(Integer X, Integer Y, const TGridDrawInfo& drawInfo);
    TRect BoxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
    // Whether the paint loop is painting cell (ACol, ARow) now, and if so, where it put the cell's
    // top-left: what BoxRect answers for that cell's top-left, without a walk over the lines.
    bool PaintingCellAt(Integer ACol, Integer ARow, TPoint& topLeft) const;
    // The top-left that shows coord as the last whole cell.
    TGridCoord CalcMaxTopLeft(const TGridCoord& coord, const TGridDrawInfo& drawInfo);

    // -- Changes and their notifications --
    virtual void ChangeSize(Integer newColCount, Integer newRowCount);
    virtual void SizeChanged(Integer oldColCount, Integer oldRowCount) {}
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void ColumnMoved(Integer fromIndex, Integer toIndex) {}
    virtual void RowMoved(Integer fromIndex, Integer toIndex) {}
    virtual void TopLeftChanged();
    // Whether the cell may become current; true here.
    virtual bool SelectCell(Integer ACol, Integer ARow);
    void MoveColumn(Integer fromIndex, Integer toIndex);
    void MoveRow(Integer fromIndex, Integer toIndex);
    virtual void DeleteColumn(Integer ACol);
    virtual void DeleteRow(Integer ARow);
    // Block moves of rows, each one pass over the rows between, whatever the block's size. They fire no
    // OnRowMoved. An index or count outside the grid raises EInvalidGridOperation "Grid index out of
    // range"; a count of 0 changes nothing.
    // MoveRowBlock: the count rows from fromIndex move to start at toIndex (toIndex + count <= RowCount);
    // their heights, the current cell, the anchor and the editor's row go with them, then
    // RowBlockMoved moves the data.
    void MoveRowBlock(Integer fromIndex, Integer count, Integer toIndex);
    // InsertRowBlock: count empty rows of the default height before ARow (0 .. RowCount). The rows come
    // from just beyond the old count, so what was kept there is emptied. A count that would take
    // RowCount past the largest Integer raises as well.
    void InsertRowBlock(Integer ARow, Integer count);
    // DeleteRowBlock: the count rows from ARow go beyond the count, where their data stays stored, as
    // DeleteRow's does.
    void DeleteRowBlock(Integer ARow, Integer count);
    // Gives the rows ARow .. ARow + count - 1 the default height and empties them (RowBlockEmptied).
    void ResetRowBlock(Integer ARow, Integer count);
    // List moves of rows, each one pass over the rows from the first listed one, however many are
    // listed; like the block moves they fire no OnRowMoved and carry the heights, the current cell, the
    // anchor and the editor's row with their rows. The lists are ascending and without repeats; a list
    // that is not, or reaches outside the rows, raises EInvalidGridOperation "Grid index out of range".
    // DeleteRowList: the listed rows go beyond the count in their order, where their data stays stored
    // as DeleteRowBlock's does, and the others close up (RowListDeleted moves the data).
    void DeleteRowList(const std::vector<Integer>& rows);
    // InsertRowList: empty rows of the default height at the listed places of the grown count
    // (RowCount + rows.size()); the old rows fill the other places in their order (RowListInserted moves
    // the data). As with InsertRowBlock, what was kept beyond the old count is emptied.
    void InsertRowList(const std::vector<Integer>& rows);
    // Gives each listed row (any order, inside the count) its height, with one change notification.
    void SetRowHeightList(const std::vector<Integer>& rows, const std::vector<Integer>& heights);
    virtual void RowBlockMoved(Integer fromIndex, Integer count, Integer toIndex) {}
    virtual void RowBlockEmptied(Integer ARow, Integer count) {}
    virtual void RowListDeleted(const std::vector<Integer>& rows, Integer oldCount) {}
    virtual void RowListInserted(const std::vector<Integer>& rows, Integer oldCount) {}
    virtual bool BeginColumnDrag(Integer& origin, Integer& destination, const TPoint& mousePt);
    virtual bool BeginRowDrag(Integer& origin, Integer& destination, const TPoint& mousePt);
    virtual bool CheckColumnDrag(Integer& origin, Integer& destination, const TPoint& mousePt);
    virtual bool CheckRowDrag(Integer& origin, Integer& destination, const TPoint& mousePt);
    virtual bool EndColumnDrag(Integer& origin, Integer& destination, const TPoint& mousePt);
    virtual bool EndRowDrag(Integer& origin, Integer& destination, const TPoint& mousePt);

    // -- Current cell and scrolling --
    // Makes a cell current (through SelectCell), scrolls it into view, updates the editor and clicks.
    // moveAnchor false keeps the anchor (extends the selection with goRangeSelect).
    void FocusCell(Integer ACol, Integer ARow, bool moveAnchor);
    void MoveColRow(Integer ACol, Integer ARow, bool moveAnchor, bool show);
    void MoveCurrent(Integer ACol, Integer ARow, bool moveAnchor, bool show);
    void MoveAnchor(const TGridCoord& newAnchor);
    void MoveTopLeft(Integer ALeft, Integer ATop);
    void ClampInView(const TGridCoord& coord);
    virtual void TimedScroll(TGridScrollDirection direction);
    // A scroll-bar action (SB_ codes) on SB_HORZ or SB_VERT; pos is a thumb position of the bar.
    void ModifyScrollBar(int scrollBar, int scrollCode, int pos);
    void UpdateScrollPos();
    void UpdateScrollRange();
    // The window scroll bars that stay shown, disabled, while all their lines fit; the others are
    // hidden then. ssNone (the default) keeps none. Setting it applies the range again, and a bar that
    // leaves the set is enabled, so that the range alone decides about it once more.
    TScrollStyle KeptScrollBars() const { return FKeptScrollBars; }
    void SetKeptScrollBars(TScrollStyle value);

    // -- Invalidation --
    virtual void InvalidateCell(Integer ACol, Integer ARow);
    void InvalidateCol(Integer ACol);
    void InvalidateRow(Integer ARow);
    void InvalidateGrid() { Invalidate(); }
    void InvalidateEditor();
    void InvalidateGridRect(const TGridRect& rect);

    // -- Editing --
    virtual bool CanEditAcceptKey(Char key) { return true; }
    virtual bool CanGridAcceptKey(Word key, TShiftState shift) { return true; }
    virtual bool CanEditModify() { return FCanEditModify; }
    // Whether the editor may show now: goEditing without goRowSelect, EditorMode, a window, and the
    // focus in the grid (or goAlwaysShowEditor).
    virtual bool CanEditShow();
    virtual TInplaceEdit* CreateEditor();
    virtual String GetEditText(Integer ACol, Integer ARow) { return String(); }
    virtual void SetEditText(Integer ACol, Integer ARow, const String& value) {}
    virtual String GetEditMask(Integer ACol, Integer ARow) { return String(); }
    // Where the editor goes over a cell: the cell's rectangle here. A descendant that edits a merged
    // block answers the block's. An empty rectangle hides the editor.
    virtual TRect GetEditRect(Integer ACol, Integer ARow) { return CellRect(ACol, ARow); }
    // The longest text the editor takes; 0 is no limit.
    virtual Integer GetEditLimit() { return 0; }
    void ShowEditor();
    void ShowEditorChar(Char ch);
    // Stores the editor's text (UpdateText), then hides it.
    void HideEditor();
    void HideEdit();
    // Shows, moves or refreshes the editor for the current cell when CanEditShow allows it.
    void UpdateEdit();
    void UpdateText();
    bool IsActiveControl();

    // -- Input --
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int X, int Y) override;
    void MouseMove(TShiftState shift, int X, int Y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
    void DoExit() override;
    // A descendant that ends sizing or moving itself takes the feedback line away with it; back to
    // gsNormal the auto-scroll timer stops.
    void SetGridState(TGridState value);
    virtual void WMGetDlgCode(TMessage& message);
    virtual void WMHScroll(TMessage& message);
    virtual void WMVScroll(TMessage& message);
    virtual void WMTimer(TMessage& message);
    virtual void WMCancelModeGrid(TMessage& message);
    void WMChar(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void WMSetCursor(TMessage& message) override;
    // Losing the capture ends sizing, moving or selecting as WM_CANCELMODE does.
    void WMCaptureChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;

private:
    void Initialize();
    // Ends what the mouse had begun without applying it: the feedback line goes, the timer stops.
    void CancelMode();
    void DrawCells(const TGridDrawInfo& drawInfo, Integer ACol, Integer ARow, Integer startX, Integer startY,
                   Integer stopX, Integer stopY, TGridDrawState includeDrawState,
                   const TGridCellPainter& paintCell);
    // The framework's look of one cell: the themed header face or the fill, DrawCell, the raised edges
    // of fixed cells and the focus rectangle.
    void PaintCellDefault(const TGridDrawInfo& drawInfo, Integer ACol, Integer ARow, const TRect& where,
                          TGridDrawState drawState, HTHEME__* headerTheme);
    void DrawLines(const TGridDrawInfo& drawInfo, bool doHorz, bool doVert, Integer col, Integer row,
                   const TRect& area, TColor lineColor);
    // Inverts the sizing line on the window, or on dc (a paint's, clipped to what it repaints).
    void DrawSizingLine(const TGridDrawInfo& drawInfo, HDC dc = nullptr);
    void DrawMove();
    void MoveAndScroll(Integer mouse, Integer cellHit, TGridDrawInfo& drawInfo, TGridAxisDrawInfo& axis,
                       int scrollBar, const TPoint& mousePt);
    void MoveColRowData(bool isColumn, Integer fromIndex, Integer toIndex);
    void SelectionMoved(const TGridRect& oldSel);
    void TopLeftMoved(const TGridCoord& oldTopLeft);
    Integer ResizeLine(const TGridAxisDrawInfo& axis);
    void StopTimer();

    TBorderStyle FBorderStyle = bsSingle;
    Integer FColCount = 5;
    Integer FRowCount = 5;
    Integer FFixedCols = 1;
    Integer FFixedRows = 1;
    Integer FDefaultColWidth = 64;
    Integer FDefaultRowHeight = 24;
    std::vector<Integer> FColWidths;  // empty while every column has the default width
    std::vector<Integer> FRowHeights; // empty while every row has the default height
    mutable TGridExtentSums FColSums; // over FColWidths, when it is not empty
    mutable TGridExtentSums FRowSums;
    Integer FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle FScrollBars = ssBoth;
    TScrollStyle FKeptScrollBars = ssNone; // bars shown disabled while their lines all fit
    bool FDefaultDrawing = true;
    TColor FFixedColor = clBtnFace;
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1}; // the other corner of the selection
    TGridCoord FTopLeft{1, 1};
    TGridState FGridState = gsNormal;
    bool FEditorMode = false;
    bool FCanEditModify = true;
    TInplaceEdit* FInplaceEdit = nullptr; // owned by the grid as a component
    Integer FInplaceCol = -1;             // the cell the editor holds, -1 when none
    Integer FInplaceRow = -1;
    Integer FSizingIndex = -1;
    Integer FSizingPos = 0;
    Integer FSizingOfs = 0;
    Integer FMoveIndex = -1;
    Integer FMovePos = -1;
    bool FMoveDrawn = false;
    bool FTimerRunning = false;
    // The cell the paint loop is painting and its top-left, col -1 outside the loop.
    TGridCoord FPaintingCell{-1, -1};
    TPoint FPaintingTopLeft;
};

// ---- TDrawGrid ----
// Cells are painted by OnDrawCell; the editor's text comes from OnGetEditText and goes to OnSetEditText.
class TCustomDrawGrid : public TCustomGrid {
    DECLARE_CLASS(TCustomDrawGrid, TCustomGrid)

public:
    using TCustomGrid::TCustomGrid;

    TMovedEvent OnColumnMoved;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TMovedEvent OnRowMoved;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;

protected:
    void ColumnMoved(Integer fromIndex, Integer toIndex) override;
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    String GetEditMask(Integer ACol, Integer ARow) override;
    String GetEditText(Integer ACol, Integer ARow) override;
    void RowMoved(Integer fromIndex, Integer toIndex) override;
    bool SelectCell(Integer ACol, Integer ARow) override;
    void SetEditText(Integer ACol, Integer ARow, const String& value) override;
};

class TDrawGrid : public TCustomDrawGrid {
    DECLARE_CLASS(TDrawGrid, TCustomDrawGrid)

public:
    using TCustomDrawGrid::TCustomDrawGrid;
};

// ---- TStringGrid ----
class TStringGrid;

// Rows[r] and Cols[c]: a line of the grid seen as a string list of ColCount (RowCount) items that
// carries strings and objects. Insert and Delete raise EInvalidGridOperation "Cannot insert or delete
// rows from grid"; Add fills the first empty item (-1 when none is empty); Clear empties the line.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* grid, bool isColumn, Integer index)
        : FGrid(grid), FIsColumn(isColumn), FIndex(index) {}
    Integer Add(const String& s) override;
    Integer AddObject(const String& s, TObject* object) override;
    void Assign(const TStrings& source) override;
    void Clear() override;
    void Delete(Integer index) override;
    void Insert(Integer index, const String& s) override;

protected:
    String Get(Integer index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer index) const override;
    void Put(Integer index, const String& s) override;
    void PutObject(Integer index, TObject* object) override;
    void SetUpdateState(bool updating) override;

private:
    TStringGrid* FGrid;
    bool FIsColumn;
    Integer FIndex;
};

// Cells and Objects are kept by row, each row holding the columns up to the last one written, so a
// cell costs nothing until a cell at or right of it in its row is written, and reading any cell is
// O(1). Cells beyond ColCount/RowCount are kept (a shrink does not clear them). A cell far beyond the
// largest counts the grid has had (about twice them) is kept on its own in a table, so memory follows
// what is written, never the largest index. Objects are not owned.
class TStringGrid : public TDrawGrid {
    DECLARE_CLASS(TStringGrid, TDrawGrid)
    friend class TStringGridStrings;

private:
    // A cell's text in 16 bytes: up to 7 UTF-16 units inside, a longer text on the heap.
    class CellText {
    public:
        CellText() = default;
        CellText(CellText&& other) noexcept;
        CellText& operator=(CellText&& other) noexcept;
        CellText(const CellText&) = delete;
        CellText& operator=(const CellText&) = delete;
        ~CellText() { Release(); }
        void Assign(StringView value);
        String Get() const;
        // The text where it is stored, valid until the cell is written or its row moves.
        StringView View() const {
            if (FTag != HeapTag)
                return StringView(reinterpret_cast<const Char*>(FBytes), FTag);
            const Char* heap = nullptr;
            std::uint32_t length = 0;
            std::memcpy(&heap, FBytes, sizeof heap);
            std::memcpy(&length, FBytes + sizeof heap, sizeof length);
            return StringView(heap, length);
        }
        bool Empty() const { return FTag == 0; }

    private:
        static constexpr std::uint16_t HeapTag = 0xFFFF;
        void Release();
        alignas(8) unsigned char FBytes[14] = {}; // the units, or the heap pointer and the length
        std::uint16_t FTag = 0;                   // the number of units inside, or HeapTag
    };

public:
    // One row's stored cells: the texts and objects up to the last column written. A row taken out of
    // the grid whole (TakeRowCells) is one of these, read through these members while it is out and
    // put back whole (PutRowCells).
    class CellRow {
    public:
        // The columns reached by the stored texts or objects.
        Integer Count() const { return static_cast<Integer>(std::max(texts.size(), objects.size())); }
        // Any column reads; past the stored ones, the empty text and null.
        String Text(Integer ACol) const;
        TObject* Object(Integer ACol) const;

    private:
        friend class TStringGrid;
        std::vector<CellText> texts;   // up to the last column written
        std::vector<TObject*> objects; // empty until an object is set in the row
    };

    explicit TStringGrid(TComponent* owner);
    ~TStringGrid() override;

    // Any index reads; writing at a negative index raises EInvalidGridOperation "Grid index out of
    // range".
    String Cells(Integer ACol, Integer ARow) const;
    void SetCells(Integer ACol, Integer ARow, const String& value);
    // The stored text of a cell read in place, without a copy: valid until that cell is written, a row or
    // column moves or is inserted or removed, or the counts change. Any index reads, as Cells.
    StringView CellView(Integer ACol, Integer ARow) const {
        const CellRow* row = NearRow(ARow);
        if (row != nullptr && static_cast<size_t>(ACol) < row->texts.size())
            return row->texts[static_cast<size_t>(ACol)].View();
        return FFar.empty() ? StringView() : FarCellView(ACol, ARow);
    }
    // The cell's object as the grid's users see it; the Rows and Cols views go through these too, so a
    // descendant that keeps its users' objects elsewhere answers for the views as well.
    virtual TObject* Objects(Integer ACol, Integer ARow) const;
    virtual void SetObjects(Integer ACol, Integer ARow, TObject* value);
    // A view of the row (column), valid while the grid lives; assigning copies strings and objects over
    // the line's first items and leaves the items past the source's count as they were.
    TStrings* Rows(Integer index);
    void SetRows(Integer index, TStrings* value) { Rows(index)->Assign(*value); }
    TStrings* Cols(Integer index);
    void SetCols(Integer index, TStrings* value) { Cols(index)->Assign(*value); }

    using TCustomGrid::DeleteColumn;
    using TCustomGrid::DeleteRow;

protected:
    void ColumnMoved(Integer fromIndex, Integer toIndex) override;
    // The cells and objects of the rows travel with them, and emptied rows drop both; the objects are
    // not freed.
    void RowBlockMoved(Integer fromIndex, Integer count, Integer toIndex) override;
    void RowBlockEmptied(Integer ARow, Integer count) override;
    void RowListDeleted(const std::vector<Integer>& rows, Integer oldCount) override;
    void RowListInserted(const std::vector<Integer>& rows, Integer oldCount) override;
    // Moves the stored cells of the listed rows (ascending, distinct, from 0 on) out whole, handing
    // row rows[i]'s to take(i, cells) (null for a row with nothing stored), and leaves the rows empty.
    // The rows' cells kept outside the rows, far beyond the counts, are dropped; no object is freed.
    template <class Take> void TakeRowCells(const std::vector<Integer>& rows, Take take) {
        if (rows.empty())
            return;
        if (rows.front() < 0)
            throw EInvalidGridOperation(Consts::SIndexOutOfRange);
        for (size_t i = 0; i < rows.size(); ++i) {
            const size_t row = static_cast<size_t>(rows[i]);
            take(i, row < FData.size() ? std::move(FData[row]) : std::unique_ptr<CellRow>());
        }
        DropFarCells(rows);
    }
    // Puts stored cells back whole: row rows[i] (ascending, distinct, from 0 on) takes put(i). The rows
    // are empty (the grid just inserted them); their earlier storage is dropped without freeing any
    // object.
    template <class Put> void PutRowCells(const std::vector<Integer>& rows, Put put) {
        if (rows.empty())
            return;
        PrepareRows(rows.front(), rows.back());
        for (size_t i = 0; i < rows.size(); ++i)
            FData[static_cast<size_t>(rows[i])] = put(i);
    }
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    String GetEditText(Integer ACol, Integer ARow) override;
    void RowMoved(Integer fromIndex, Integer toIndex) override;
    void SetEditText(Integer ACol, Integer ARow, const String& value) override;
    // The text the editor loads for a cell and the store of the text it gives back; the cell itself
    // here. A descendant that edits a cell elsewhere (a merged block at its base) answers these.
    virtual String GetEditCellText(Integer ACol, Integer ARow) { return Cells(ACol, ARow); }
    virtual void SetEditCellText(Integer ACol, Integer ARow, const String& value) {
        SetCells(ACol, ARow, value);
    }

    // The object slot of a cell as stored, whatever Objects answers: it moves with its row and column
    // like the text. Writing at a negative index raises as SetCells does.
    TObject* ObjectSlot(Integer ACol, Integer ARow) const {
        const CellRow* row = NearRow(ARow);
        if (row != nullptr && static_cast<size_t>(ACol) < row->objects.size())
            return row->objects[static_cast<size_t>(ACol)];
        return FFar.empty() ? nullptr : FarObjectSlot(ACol, ARow);
    }
    void SetObjectSlot(Integer ACol, Integer ARow, TObject* value);
    // Calls fn for each non-null object slot in the inclusive block, in no set order; costs what is
    // stored in the block, not its area. fn must not write to the store.
    void ForEachObjectSlot(Integer fromCol, Integer fromRow, Integer toCol, Integer toRow,
                           const std::function<void(Integer ACol, Integer ARow, TObject* object)>& fn) const;
    // Exchange the texts and object slots of two rows (columns) by reference: no text is copied, and two
    // rows cost the same whatever they hold. A row (column) far beyond the counts takes the other's
    // cells as far cells, so the store never grows to reach it. Nothing is repainted.
    void ExchangeRowStores(Integer ARow1, Integer ARow2);
    void ExchangeColStores(Integer ACol1, Integer ACol2);
    // Moves whole rows as a series of ExchangeRowStores would, in one pass: row First + k receives the
    // texts and object slots of the row that stood at Sources[k], Sources being a permutation of
    // First .. First + Count - 1 within the counts. Answers false, and moves nothing, when a far cell
    // lies in one of those rows; ExchangeRowStores then has to take it out and put it back.
    bool PermuteRowStores(Integer First, const Integer* Sources, Integer Count);

private:
    // A cell kept outside the rows; its text and its object each live here only while the rows do not
    // reach that cell.
    struct FarCell {
        CellText text;
        TObject* object = nullptr;
    };
    static std::uint64_t FarKey(Integer ACol, Integer ARow) {
        return (std::uint64_t(std::uint32_t(ARow)) << 32) | std::uint32_t(ACol);
    }
    // The stored row, null for a row with nothing stored; any index reads. Cell reads take this way
    // first and go to the far cells only past it.
    const CellRow* NearRow(Integer ARow) const {
        return static_cast<size_t>(ARow) < FData.size() ? FData[static_cast<size_t>(ARow)].get() : nullptr;
    }
    StringView FarCellView(Integer ACol, Integer ARow) const;
    TObject* FarObjectSlot(Integer ACol, Integer ARow) const;
    CellRow* EnsureRow(Integer ARow);
    // Makes FData reach rows. It grows by doubling and is filled up to its capacity at once, so that a
    // block of rows inserted later within it touches no fresh memory: the cost of fresh pages is paid
    // with the growth, not by each insert.
    void GrowData(size_t rows);
    // Whether a write at the cell may grow the rows to reach it; first raises the limits to the counts
    // and brings in the far cells that the higher limits reach.
    bool IsNear(Integer ACol, Integer ARow);
    void UpdateNearLimits();
    void StoreText(Integer ACol, Integer ARow, StringView value);
    // For TakeRowCells and PutRowCells: drops the far cells of the listed rows; makes the rows reach
    // last, raising for a first row below 0.
    void DropFarCells(const std::vector<Integer>& rows);
    void PrepareRows(Integer first, Integer last);
    void StoreObject(Integer ACol, Integer ARow, TObject* value);
    // Takes out the far cells whose index on the moved axis is in lo..hi and puts them back at their
    // places after the move, by the rules of a write.
    void MoveFarCells(bool isColumn, Integer fromIndex, Integer toIndex);
    // Rotates the rows' cells (or the rows) of lo..hi.
    void MoveLines(bool isColumn, Integer fromIndex, Integer toIndex);
    // Takes out the far cells whose index on the axis is a or b, runs exchange, and puts them back with
    // a and b exchanged.
    void ExchangeFarCells(bool isColumn, Integer a, Integer b, const std::function<void()>& exchange);
    void BeginStringsUpdate();
    void EndStringsUpdate();

    std::vector<std::unique_ptr<CellRow>> FData;     // by row, reaching the last near row written
    std::unordered_map<std::uint64_t, FarCell> FFar; // cells the rows do not reach, by FarKey
    Integer FNearCols = 0;                           // rows may grow to reach columns below this
    Integer FNearRows = 0;                           // and FData to reach rows below this
    std::unordered_map<Integer, std::unique_ptr<TStringGridStrings>> FRows;
    std::unordered_map<Integer, std::unique_ptr<TStringGridStrings>> FCols;
    Integer FUpdateLevel = 0; // Rows/Cols updates in progress; the cells repaint once at the end
    bool FEditUpdate = false; // SetEditText is storing the editor's text; the editor keeps its own

    // The storage of rows emptied as a block, kept for the rows written next and cleared then, so that
    // emptying costs a pointer per row.
    std::vector<std::unique_ptr<CellRow>> FSpareRows;
};
