// What is selected, as counts and lists, and the grid's key-down step after the base grid moved the
// cursor: row moving with Ctrl+Up and Ctrl+Down, cursor wraps, skipping disabled rows and the
// synchronised grid.
#include <algorithm>
#include <cstdlib>

#include "grid/engine/AdvGrid.h"

namespace {

TGridRect Ascending(TGridRect rect) {
    if (rect.Left > rect.Right)
        std::swap(rect.Left, rect.Right);
    if (rect.Top > rect.Bottom)
        std::swap(rect.Top, rect.Bottom);
    return rect;
}

bool HasEntry(Integer ACol, Integer ARow) {
    return ACol >= 0 && ACol <= 0xFFFF && ARow >= 0 && ARow <= 0xFFFF;
}

Integer Entry(Integer ACol, Integer ARow) {
    return static_cast<Integer>((static_cast<Cardinal>(ARow) << 16) | (static_cast<Cardinal>(ACol) & 0xFFFF));
}

} // namespace

// ---- Selected cells, rows and columns

Integer TAdvStringGrid::SelectedCellsCount() {
    if (FMouseActions->DisjunctCellSelect())
        return FSelectedCells->Count();
    FSelectedCells->Clear();
    const TGridRect selection = Selection();
    if (selection.Left == selection.Right && selection.Top == selection.Bottom) {
        if (HasEntry(Col(), Row()))
            FSelectedCells->Add(Entry(Col(), Row()));
        return FSelectedCells->Count();
    }
    // The cells of a rectangle are distinct, so each is added once without looking it up.
    for (Integer c = selection.Left; c <= selection.Right; ++c)
        for (Integer r = selection.Top; r <= selection.Bottom; ++r)
            if (HasEntry(c, r))
                FSelectedCells->Add(Entry(c, r));
    return FSelectedCells->Count();
}

TGridCoord TAdvStringGrid::GetSelectedCell(Integer Index) const {
    const Cardinal entry = static_cast<Cardinal>(FSelectedCells->Items(Index));
    return TGridCoord{static_cast<Integer>(entry & 0xFFFF), static_cast<Integer>(entry >> 16)};
}

bool TAdvStringGrid::SelectedCells(Integer ACol, Integer ARow) {
    if (FMouseActions->DisjunctCellSelect())
        return HasEntry(ACol, ARow) && FSelectedCells->HasValue(Entry(ACol, ARow));
    return PointInGridRect(ACol, ARow, Ascending(Selection()));
}

Integer TAdvStringGrid::SelectedColCount() {
    if (FMouseActions->DisjunctColSelect())
        return GetColSelectCount();
    const TGridRect selection = Selection();
    const Integer left = selection.Left;
    const Integer right = selection.Right;
    const Integer top = selection.Top;
    if (IsMergedCell(left, top)) {
        const Integer span = CellSpan(left, top).X;
        return left + span > right ? span + 1 : std::abs(left - right) + 1;
    }
    if (IsMergedCell(right, top))
        return std::abs(left - right) + CellSpan(right, top).X + 1;
    return std::abs(left - right) + 1;
}

Integer TAdvStringGrid::SelectedRowCount() {
    if (FMouseActions->DisjunctRowSelect())
        return FSelectedRows->Count();
    const TGridRect selection = Selection();
    const Integer left = selection.Left;
    const Integer top = selection.Top;
    Integer bottom = selection.Bottom;
    if (bottom >= RowCount() - FFixedFooters)
        bottom = RowCount() - FFixedFooters - 1;
    if (IsMergedCell(left, top)) {
        const Integer span = CellSpan(left, top).Y;
        return top + span > bottom ? span + 1 : std::abs(top - bottom) + 1;
    }
    if (IsMergedCell(left, bottom))
        return std::abs(top - bottom) + CellSpan(left, bottom).Y + 1;
    return std::abs(top - bottom) + 1;
}

Integer TAdvStringGrid::GetSelectedRow(Integer i) {
    if (FMouseActions->DisjunctRowSelect())
        return i >= 0 && i < FSelectedRows->Count() ? FSelectedRows->Items(i) : -1;
    const TGridRect selection = Ascending(Selection());
    const Integer row = selection.Top + i;
    return i >= 0 && row <= selection.Bottom ? row : -1;
}

void TAdvStringGrid::ClearModifiedRows() {
    FModifiedRows->Clear();
    Invalidate();
}

// ---- The key-down step

void TAdvStringGrid::KeyDown(Word& Key, TShiftState Shift) {
    Integer startRow = Row();
    FLastKeyCell = TPoint(Col(), Row());

    if ((Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) && FSearchFooter->Visible() &&
        Row() == RowCount() - 1) {
        Key = 0;
        return;
    }

    TBaseGrid::KeyDown(Key, Shift);

    const TGridRect selection = Ascending(Selection());
    const Integer top = selection.Top;
    const Integer bottom = selection.Bottom;

    if (FNavigation->CursorMoveRows() && Shift.Contains(ssCtrl)) {
        if (Key == VK_DOWN && bottom < RowCount() - 1) {
            startRow = Row();
            // A moved row takes the current cell with it; the cursor ends on the row's new place.
            if (top == bottom) {
                MoveRow(top, top + 1);
                SetRow(startRow + 1);
            } else {
                MoveRows(top, top + 1, bottom - top + 1);
                SetSelection(TGridRect{FixedCols(), top + 1, ColCount() - 1, bottom + 1});
            }
        } else if (Key == VK_UP && top > FixedRows()) {
            startRow = Row();
            if (top == bottom) {
                MoveRow(top, top - 1);
                SetRow(startRow - 1);
            } else {
                MoveRows(top, top - 1, bottom - top + 1);
                SetSelection(TGridRect{FixedCols(), top - 1, ColCount() - 1, bottom - 1});
            }
        }
    }

    // The wraps: the base step left the cell at the edge it was at. Right and down test the last normal
    // column and row, as left and up go to them, so that footers and fixed right columns do not stop
    // the wrap.
    const TCursorAdvance advance = FNavigation->CursorAdvance();
    if (advance != caDefault) {
        const bool snake = advance == caSnake;
        const Integer lastCol = ColCount() - FFixedRightCols - 1;
        const Integer lastRow = RowCount() - FFixedFooters - 1;
        if (Key == VK_LEFT && FLastKeyCell.X == FixedCols()) {
            SetCol(lastCol);
            if (snake && Row() > FixedRows())
                SetRow(Row() - 1);
        } else if (Key == VK_UP && FLastKeyCell.Y == FixedRows()) {
            SetRow(lastRow);
            if (snake && Col() > FixedCols())
                SetCol(Col() - 1);
        } else if (Key == VK_RIGHT && FLastKeyCell.X == lastCol) {
            SetCol(FixedCols());
            if (snake && Row() < lastRow)
                SetRow(Row() + 1);
        } else if (Key == VK_DOWN && FLastKeyCell.Y == lastRow) {
            SetRow(FixedRows());
            if (snake && Col() < lastCol)
                SetCol(Col() + 1);
        }
    }

    // The base step refused to enter a disabled row: the next enabled one beyond it is taken.
    if (FEnabledRows->Count() > 0 && FNavigation->SkipDisabledRows() && Row() == startRow) {
        if (Key == VK_UP && startRow > FixedRows()) {
            Integer r = startRow - 1;
            while (r > FixedRows() && !GetRowEnabled(r))
                --r;
            if (GetRowEnabled(r))
                SetRow(r);
        } else if (Key == VK_DOWN && startRow < RowCount() - 1) {
            Integer r = startRow + 1;
            while (r < RowCount() - 1 && !GetRowEnabled(r))
                ++r;
            if (GetRowEnabled(r))
                SetRow(r);
        }
    }

    if (TStringGrid* synced = FSyncGrid->Grid()) {
        if (FSyncGrid->SelectionColumn() && Col() < synced->ColCount())
            synced->SetCol(Col());
        if (FSyncGrid->SelectionRow() && Row() < synced->RowCount())
            synced->SetRow(Row());
    }
}
