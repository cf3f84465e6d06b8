// The full string grid's current cell and top row, bringing a cell into view, hiding the selection, and
// moving rows and columns with everything the grid keeps per row and per column.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <vector>

namespace {

// Moves the entries of a per-line flag list the way BlockMovedIndex moves lines. A list may be shorter
// than the grid, an absent entry reading as a clear flag; one that reaches into the moved lines is
// first filled up with clear entries. The list's change event does not fire.
void MoveListBlock(TList& list, Integer fromIndex, Integer count, Integer toIndex) {
    const Integer lo = std::min(fromIndex, toIndex);
    const Integer hi = std::max(fromIndex, toIndex) + count; // exclusive
    if (count <= 0 || fromIndex == toIndex || list.Count() <= lo)
        return;
    while (list.Count() < hi)
        list.Add(nullptr);
    std::vector<void*> items;
    items.reserve(static_cast<size_t>(hi - lo));
    for (Integer i = lo; i < hi; ++i)
        items.push_back(list.Items(i));
    for (Integer i = lo; i < hi; ++i)
        list.SetItems(BlockMovedIndex(i, fromIndex, count, toIndex), items[static_cast<size_t>(i - lo)]);
}

} // namespace

// ---- Current cell

void TAdvStringGrid::FollowSyncGridRow() {
    const Integer row = Row();
    TStringGrid* other = FSyncGrid->Grid();
    if (other == nullptr || other == this || !FSyncGrid->SelectionRow() || row >= other->RowCount() ||
        other->Row() == row)
        return;
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(other))
        grid->SetRow(row);
    else if (other->Col() >= 0 && other->Col() < other->ColCount())
        other->SetRow(row);
}

void TAdvStringGrid::SetRow(Integer Value) {
    const Integer oldRow = Row();
    // A hidden selection left the current cell outside the columns; the framework moves only from a
    // cell inside the grid.
    if (Col() < 0 || Col() >= ColCount())
        FocusCell(std::min(FixedCols(), ColCount() - 1), Value, true);
    TBaseGrid::SetRow(Value);
    FAECol = -1;
    FAERow = -1;
    const Integer newRow = Row();
    if (newRow == oldRow)
        return;
    if (OnRowChanged && newRow != FOldRowSel) {
        // Stored before firing, so that a handler writing Row reports from the row it saw.
        const Integer reported = FOldRowSel;
        FOldRowSel = newRow;
        OnRowChanged(this, reported, newRow);
    }
    if (FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(true);
    FollowSyncGridRow();
    // The last row is kept clear of the search panel.
    if (newRow + 1 == RowCount() && FSearchFooter->Visible()) {
        const Integer panel = FSearchPanel->Height();
        if (ClientHeight() > DefaultRowHeight() + panel)
            ScrollRowAbove(newRow, ClientHeight() - panel + 2, RowCount() - 1);
    }
}

void TAdvStringGrid::SetCol(Integer Value) {
    const Integer oldCol = Col();
    // As for Row: a hidden selection left the current cell outside the rows.
    if (Row() < 0 || Row() >= RowCount())
        FocusCell(Value, std::min(FixedRows(), RowCount() - 1), true);
    TBaseGrid::SetCol(Value);
    FAECol = -1;
    FAERow = -1;
    const Integer newCol = Col();
    if (newCol == oldCol)
        return;
    TStringGrid* other = FSyncGrid->Grid();
    if (other != nullptr && other != this && FSyncGrid->SelectionColumn() && newCol < other->ColCount() &&
        other->Col() != newCol) {
        if (auto* grid = dynamic_cast<TAdvStringGrid*>(other))
            grid->SetCol(newCol);
        else if (other->Row() >= 0 && other->Row() < other->RowCount())
            other->SetCol(newCol);
    }
}

void TAdvStringGrid::SetTopRow(Integer Value) {
    if (Value >= FixedRows() && Value <= RowCount() - 1)
        TBaseGrid::SetTopRow(Value);
}

void TAdvStringGrid::UpdateEditMode() {
    SelectCell(Col(), Row());
}

// ---- Scrolling into view

void TAdvStringGrid::ScrollRowAbove(Integer ARow, Integer limit, Integer lastTop) {
    while (TCustomGrid::CellRect(0, ARow).Bottom > limit && TopRow() < lastTop) {
        const Integer top = TopRow();
        SetTopRow(top + 1);
        if (TopRow() == top)
            break;
    }
}

void TAdvStringGrid::ScrollInView(Integer ColIndex, Integer RowIndex, TScrollPosition Position) {
    if (ColIndex < 0 || RowIndex < 0 || ColIndex >= ColCount() || RowIndex >= RowCount())
        return;
    Integer left = LeftCol();
    Integer top = TopRow();
    // Where the cell's line goes among count visible lines.
    auto place = [Position](Integer index, Integer count) {
        switch (Position) {
        case spMiddle:
            return index - count / 2;
        case spTrailing:
            return index + 1 - count;
        case spLeading:
            break;
        }
        return index;
    };
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + VisibleColCount()) {
        SetCol(ColIndex);
        left = std::max(place(ColIndex, VisibleColCount()), FixedCols());
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + VisibleRowCount()) {
        SetRow(RowIndex);
        top = std::max(place(RowIndex, VisibleRowCount()), FixedRows());
    }

    // At most one line past the last full page.
    left = std::min(left, ColCount() - VisibleColCount() + 1);
    if (FixedCols() + VisibleColCount() < ColCount())
        SetLeftCol(left);
    top = std::min(top, RowCount() - VisibleRowCount() + 1);
    if (FixedRows() + VisibleRowCount() >= RowCount())
        return;
    SetTopRow(top);

    if (FSearchFooter->Visible()) {
        Integer limit = Height() - FSearchPanel->Height();
        if (VisibleColCount() < ColCount())
            limit -= GetSystemMetrics(SM_CYHSCROLL);
        ScrollRowAbove(RowIndex, limit, RowCount() - FFixedFooters - 1);
    }
}

// ---- Hiding the selection

void TAdvStringGrid::HideSelection() {
    // A second hide would save the hidden cell and lose the selection the first one saved.
    if (!FSelHidden)
        FOldSelection = Selection();
    SetSelection(TGridRect{ColCount(), RowCount(), ColCount(), RowCount()});
    FSelHidden = true;
}

void TAdvStringGrid::UnHideSelection() {
    FSelHidden = false;
    TGridRect selection = FOldSelection;
    if (selection.Top < RowCount() && selection.Left < ColCount()) {
        // The grid may have shrunk into the saved block; the current cell is its bottom-right corner and
        // must lie inside the grid.
        selection.Right = std::min(selection.Right, ColCount() - 1);
        selection.Bottom = std::min(selection.Bottom, RowCount() - 1);
    } else {
        const Integer row = FFixedRowAlways && FixedRows() == RowCount() ? 0 : FixedRows();
        const Integer col = FFixedColAlways && FixedCols() == ColCount() ? 0 : FixedCols();
        selection = TGridRect{col, row, col, row};
    }
    SetSelection(selection);
}

// ---- Column order

void TAdvStringGrid::SetColumnOrder() {
    FColumnOrder->Clear();
    for (Integer c = 0; c < ColCount(); ++c)
        FColumnOrder->Insert(c, c);
}

Integer TAdvStringGrid::ColumnPosition(Integer ACol) const {
    if (FColumnOrder->Count() == 0)
        return ACol;
    const Integer entries = std::min(FColumnOrder->Count(), ColCount() + FNumHidden);
    for (Integer p = 0; p < entries; ++p) {
        if (FColumnOrder->Items(p) == ACol)
            return FGroupColumn >= 0 && ACol >= FGroupColumn ? p - 1 : p;
    }
    return ACol;
}

// ---- Moving columns

void TAdvStringGrid::ColumnMoved(Integer FromIndex, Integer ToIndex) {
    const Integer realFrom = RealColIndex(FromIndex);
    const Integer realTo = RealColIndex(ToIndex);
    if (realFrom < FColumnOrder->Count() && realTo < FColumnOrder->Count())
        FColumnOrder->Move(realFrom, realTo);
    if (FNumHidden == 0) {
        TBaseGrid::ColumnMoved(FromIndex, ToIndex);
        MoveHiddenColumn(FromIndex, ToIndex); // the hidden rows' cells
    } else {
        // The hidden columns' cells stand between the displayed ones, so the cells move at their stored
        // indexes, all of which the count takes in while they move; the widths are the framework's.
        std::vector<Integer> widths;
        for (Integer c = 0; c < ColCount(); ++c)
            widths.push_back(ColWidths(c));
        const Integer shown = ColCount();
        TBaseGrid::SetColCount(shown + FNumHidden);
        TBaseGrid::ColumnMoved(realFrom, realTo);
        TBaseGrid::SetColCount(shown);
        for (Integer c = 0; c < shown; ++c)
            if (ColWidths(c) != widths[static_cast<size_t>(c)])
                SetColWidths(c, widths[static_cast<size_t>(c)]);
        MoveHiddenColumn(realFrom, realTo);
    }
    ColumnMovedFollowUp(FromIndex, ToIndex, realFrom, realTo);
}

void TAdvStringGrid::MoveColumn(Integer FromIndex, Integer ToIndex) {
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex >= ColCount() ||
        ToIndex >= ColCount())
        return;
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    // The framework moves the width and the current cell, then ColumnMoved the cells and records.
    TBaseGrid::MoveColumn(FromIndex, ToIndex);
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->Control(i);
        item->SetX(BlockMovedIndex(item->X(), FromIndex, 1, ToIndex));
    }
    CellControlsUpdate(false);
}

// ---- Moving rows

void TAdvStringGrid::RowsMoved(Integer FromIndex, Integer Count, Integer ToIndex) {
    for (Integer i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->Control(i);
        item->SetY(BlockMovedIndex(item->Y(), FromIndex, Count, ToIndex));
    }
    if (ModifiedRowsKept()) {
        // The flags reach one past the rows, so that every moved row has one to take along.
        while (FModifiedRows->Count() <= RowCount())
            FModifiedRows->Insert(FModifiedRows->Count(), 0);
        MoveListBlock(*FModifiedRows, FromIndex, Count, ToIndex);
    }
    if (FUseEnabledRows)
        MoveListBlock(*FEnabledRows, FromIndex, Count, ToIndex);
    if (FMouseActions->DisjunctRowSelect())
        MoveListBlock(*FRowSelect, FromIndex, Count, ToIndex);
    // The hidden rows keep their stored places among the shown rows: the block leaves its stored place
    // and is taken in again where it now stands.
    if (NumHiddenRows() > 0) {
        ShiftHiddenRows(RealRowIndex(FromIndex), -Count);
        ShiftHiddenRows(RealRowIndex(ToIndex), Count);
    }
    CellControlsUpdate(false);
}

void TAdvStringGrid::MoveRow(Integer FromIndex, Integer ToIndex) {
    // A visible floating footer's row stays the last one.
    const Integer last = FFloatingFooter->Visible() ? RowCount() - 2 : RowCount() - 1;
    if (FromIndex == ToIndex || FromIndex < 0 || ToIndex < 0 || FromIndex > last || ToIndex > last)
        return;
    // The framework moves the height and the current cell; its RowMoved moves the cells and records
    // and fires OnRowMoved.
    TBaseGrid::MoveRow(FromIndex, ToIndex);
    RowsMoved(FromIndex, 1, ToIndex);
}

void TAdvStringGrid::MoveRows(Integer FromIndex, Integer ToIndex, Integer Count) {
    const Integer rows = FFloatingFooter->Visible() ? RowCount() - 1 : RowCount();
    if (FromIndex < 0 || FromIndex >= rows || Count <= 0)
        return;
    Count = std::min(Count, rows - FromIndex);
    // A target past the block counts the rows before it without the block.
    if (FromIndex + Count < ToIndex)
        ToIndex -= Count;
    ToIndex = std::clamp(ToIndex, 0, rows - Count);
    if (ToIndex == FromIndex)
        return;
    MoveRowBlock(FromIndex, Count, ToIndex);
    RowsMoved(FromIndex, Count, ToIndex);
}
