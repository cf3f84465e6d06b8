// Merged cells of the grid base: making and dissolving blocks, the queries the rest of the grid asks
// about them, and the cursor, wheel and scroll behaviour around them.
#include "grid/engine/BaseGrid.h"

#include "platform/win32/winuser.h"

// ---- Making and dissolving blocks

void TBaseGrid::MergeCells(Integer c, Integer r, Integer spanx, Integer spany) {
    if (spanx < 1 || spany < 1)
        return;
    // A block that overlaps the new one is dissolved first, so every cell belongs to one block at most
    // and the count of blocks stays exact.
    for (Integer i = c; i < c + spanx; ++i)
        for (Integer j = r; j < r + spany; ++j)
            if (IsMergedCell(i, j))
                SplitCells(i, j);
    for (Integer i = c; i < c + spanx; ++i) {
        for (Integer j = r; j < r + spany; ++j) {
            TCellProperties* record = GetCellProperties(i, j);
            const bool isBase = i == c && j == r;
            record->FIsBaseCell = isBase;
            record->FCellSpanX = isBase ? spanx - 1 : i - c;
            record->FCellSpanY = isBase ? spany - 1 : j - r;
        }
    }
    // A block of one cell counts as not merged.
    if (spanx > 1 || spany > 1)
        ++FMergeCount;
    for (Integer i = c; i < c + spanx; ++i)
        for (Integer j = r; j < r + spany; ++j)
            RepaintCell(i, j);
}

void TBaseGrid::SplitCells(Integer c, Integer r) {
    TCellProperties* record = GetCellProperties(c, r);
    const TPoint base = record->BaseCellOf(c, r);
    const TCellProperties* baseRecord = GetCellProperties(base.X, base.Y);
    const Integer spanX = baseRecord->FCellSpanX;
    const Integer spanY = baseRecord->FCellSpanY;
    const bool inBlock =
        baseRecord->FIsBaseCell && spanX != -1 && spanY != -1 && c <= base.X + spanX && r <= base.Y + spanY;
    if (!inBlock) {
        // Not merged, or a cell that a move separated from its block: its offsets describe no block
        // there, so only the cell itself becomes plain and the count stays.
        if (!record->FIsBaseCell || record->FCellSpanX != -1 || record->FCellSpanY != -1) {
            record->FIsBaseCell = true;
            record->FCellSpanX = -1;
            record->FCellSpanY = -1;
            RepaintCell(c, r);
        }
        return;
    }
    if (CountsAsBlock(baseRecord))
        --FMergeCount;
    for (Integer i = base.X; i <= base.X + spanX; ++i) {
        for (Integer j = base.Y; j <= base.Y + spanY; ++j) {
            TCellProperties* cell = GetCellProperties(i, j);
            cell->FIsBaseCell = true;
            cell->FCellSpanX = -1;
            cell->FCellSpanY = -1;
        }
    }
    for (Integer i = base.X; i <= base.X + spanX; ++i)
        for (Integer j = base.Y; j <= base.Y + spanY; ++j)
            RepaintCell(i, j);
}

// ---- Queries

TPoint TBaseGrid::BaseCell(Integer ACol, Integer ARow) const {
    if (const TCellProperties* record = AssignedProps(ACol, ARow))
        return record->BaseCellOf(ACol, ARow);
    return TPoint(ACol, ARow);
}

bool TBaseGrid::IsBaseCell(Integer ACol, Integer ARow) const {
    const TCellProperties* record = AssignedProps(ACol, ARow);
    return record == nullptr || record->FIsBaseCell;
}

bool TBaseGrid::ResolveBaseCell(Integer ACol, Integer ARow, Integer& BaseCol, Integer& BaseRow) const {
    BaseCol = ACol;
    BaseRow = ARow;
    const TCellProperties* record = AssignedProps(ACol, ARow);
    if (record == nullptr || record->FIsBaseCell)
        return true;
    const TPoint base = record->BaseCellOf(ACol, ARow);
    BaseCol = base.X;
    BaseRow = base.Y;
    // A cell parted from its block by a move stands for itself and is painted as a cell of its own.
    return base.X == ACol && base.Y == ARow;
}

TPoint TBaseGrid::CellSpan(Integer ACol, Integer ARow) const {
    const TCellProperties* record = AssignedProps(ACol, ARow);
    if (record == nullptr || record->FCellSpanX == -1 || record->FCellSpanY == -1)
        return TPoint(0, 0);
    const TPoint base = record->BaseCellOf(ACol, ARow);
    // A base whose record went (freed with its rows), was split or replaced since, or that a move left
    // in another block's cell leaves the cell without a block: no negative or borrowed extents for
    // the callers that walk or size a block.
    const TCellProperties* baseRecord = AssignedProps(base.X, base.Y);
    if (baseRecord == nullptr || !baseRecord->FIsBaseCell)
        return TPoint(0, 0);
    return TPoint(std::max<Integer>(baseRecord->FCellSpanX, 0), std::max<Integer>(baseRecord->FCellSpanY, 0));
}

TPoint TBaseGrid::CellExt(Integer ACol, Integer ARow) const {
    const TCellProperties* record = AssignedProps(ACol, ARow);
    if (record == nullptr || record->FCellSpanX == -1 || record->FCellSpanY == -1)
        return TPoint(0, 0);
    const TPoint base = record->BaseCellOf(ACol, ARow);
    const TPoint span = CellSpan(ACol, ARow);
    // A cell past its block's far corner (the block was separated) is at its own corner.
    return TPoint(std::max<Integer>(base.X + span.X - ACol, 0), std::max<Integer>(base.Y + span.Y - ARow, 0));
}

TRect TBaseGrid::FullCell(Integer c, Integer r) const {
    const TPoint base = BaseCell(c, r);
    const TPoint span = CellSpan(c, r);
    return TRect(base.X, base.Y, base.X + span.X, base.Y + span.Y);
}

bool TBaseGrid::IsMergedCell(Integer ACol, Integer ARow) const {
    const TCellProperties* record = AssignedProps(ACol, ARow);
    return record != nullptr && (record->FCellSpanX > 0 || record->FCellSpanY > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(Integer ACol, Integer ARow) const {
    const TCellProperties* record = AssignedProps(ACol, ARow);
    return record != nullptr && (record->FCellSpanX > 0 || record->FCellSpanY > 0) && !record->FIsBaseCell;
}

bool TBaseGrid::IsXMergedCell(Integer ACol, Integer ARow) const {
    return AssignedProps(ACol, ARow) != nullptr && CellSpan(ACol, ARow).X > 0;
}

bool TBaseGrid::IsYMergedCell(Integer ACol, Integer ARow) const {
    return AssignedProps(ACol, ARow) != nullptr && CellSpan(ACol, ARow).Y > 0;
}

Integer TBaseGrid::MinRowSpan(Integer ARow) const {
    Integer result = RowCount();
    for (Integer col = 0; col < ColCount(); ++col) {
        const Integer span = CellSpan(col, ARow).Y;
        if (span > 0 && span < result)
            result = span;
    }
    return result;
}

Integer TBaseGrid::MaxRowSpan(Integer ARow) const {
    Integer result = 0;
    for (Integer col = 0; col < ColCount(); ++col)
        result = std::max(result, CellSpan(col, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(Integer ARow1, Integer ARow2) const {
    bool result = false;
    for (Integer col = 0; col < ColCount(); ++col) {
        if (CellSpan(col, ARow1).Y > 0 && CellSpan(col, ARow2).Y > 0) {
            result = true;
            if (BaseCell(col, ARow1).Y != BaseCell(col, ARow2).Y)
                return false;
        }
    }
    return result;
}

bool TBaseGrid::ColSpanIdentical(Integer ACol1, Integer ACol2) const {
    bool found = false;
    for (Integer row = 0; row < RowCount(); ++row) {
        const Integer span1 = CellSpan(ACol1, row).X;
        const Integer span2 = CellSpan(ACol2, row).X;
        if (span1 > 0 && span2 > 0) {
            found = true;
            if (BaseCell(ACol1, row).X != BaseCell(ACol2, row).X)
                return false;
        } else if (span1 != span2) {
            return false;
        }
    }
    return found;
}

// ---- Cursor, wheel and scrolling

void TBaseGrid::SnapToBaseCell() {
    if (AssignedProps(Col(), Row()) == nullptr)
        return;
    const TPoint base = BaseCell(Col(), Row());
    if (base.X != Col() || base.Y != Row())
        FocusCell(base.X, base.Y, true);
}

void TBaseGrid::KeyDown(Word& Key, TShiftState Shift) {
    const TCellProperties* record = AssignedProps(Col(), Row());
    const TPoint base = BaseCell(Col(), Row());
    const TPoint span = CellSpan(Col(), Row());
    // The cursor first goes to the edge of its block that faces the move, so the framework's one-cell
    // move leaves the block.
    switch (Key) {
    case VK_NEXT:
        // The page move must not land on the hidden carrier row.
        if (FHideLastRow && RowCount() > 1 && VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 &&
            RowCount() - 2 >= FixedRows())
            SetRow(RowCount() - 2);
        break;
    case VK_RIGHT:
        if (record != nullptr) {
            const Integer v = base.X + span.X;
            if (v >= Col() && Col() < ColCount() - 1 && base.X < ColCount() - 1 && v < ColCount())
                SetCol(v);
        }
        break;
    case VK_DOWN:
        if (record != nullptr) {
            const Integer v = base.Y + span.Y;
            if (v >= Row() && Row() < RowCount() - 1 && base.Y < RowCount() - 1 && v < RowCount())
                SetRow(v);
        }
        break;
    case VK_LEFT:
        // From inside a block the move starts at its left edge, so the cursor lands just left of it.
        if (record != nullptr && Col() > base.X && base.X >= FixedCols())
            SetCol(base.X);
        break;
    case VK_UP:
        if (record != nullptr && Row() > base.Y && base.Y >= FixedRows())
            SetRow(base.Y);
        break;
    default:
        break;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    SnapToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (FHideLastRow && Row() < RowCount() - 1 && Row() - TopRow() > VisibleRowCount())
        SetTopRow(TopRow() + 1);
    SnapToBaseCell();
    return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    SnapToBaseCell();
    return result;
}

void TBaseGrid::TopLeftChanged() {
    TObjStringGrid::TopLeftChanged();
    RepaintMergedFixedCols();
    RepaintMergedFixedRows();
}

// The loops run over displayed columns; the store and RepaintCell take stored ones.
void TBaseGrid::RepaintMergedFixedCols() {
    if (FixedCols() == 0)
        return;
    const Integer last = TopRow() + VisibleRowCount();
    for (Integer row = TopRow(); row <= last; ++row)
        for (Integer col = 0; col < FixedCols(); ++col)
            if (IsMergedCell(RealColIndex(col), row))
                RepaintCell(RealColIndex(col), row);
}

void TBaseGrid::RepaintMergedFixedRows() {
    if (FixedRows() == 0)
        return;
    const Integer last = LeftCol() + VisibleColCount();
    for (Integer col = LeftCol(); col <= last; ++col)
        for (Integer row = 0; row < FixedRows(); ++row)
            if (IsMergedCell(RealColIndex(col), row))
                RepaintCell(RealColIndex(col), row);
}
