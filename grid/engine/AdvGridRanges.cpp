// Operations of the full string grid over rectangles, rows and columns of cells: trimming, colouring,
// merging runs of equal cells and splitting them again, and finding a cell by its text.
#include "grid/engine/AdvGrid.h"

#include "platform/rtl/SysStrings.h"
#include "platform/win32/winuser.h"

namespace {

// Holds back the repaint of each cell a bulk change touches; the grid is repainted once at the end, also
// when the change ends by an exception. The window is invalidated directly: the grid's Invalidate may
// swallow one repaint after an in-place edit, and this one stands for all the cells held back.
class TRepaintOnce {
public:
    TRepaintOnce(TWinControl* grid, Integer& lock) : FGrid(grid), FLock(lock) { ++FLock; }
    ~TRepaintOnce() {
        if (--FLock == 0 && FGrid->HandleAllocated())
            InvalidateRect(FGrid->Handle(), nullptr, TRUE);
    }
    TRepaintOnce(const TRepaintOnce&) = delete;
    TRepaintOnce& operator=(const TRepaintOnce&) = delete;

private:
    TWinControl* FGrid;
    Integer& FLock;
};

} // namespace

void TAdvStringGrid::TrimRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2) {
    if (ARow2 < ARow1 || ACol2 < ACol1)
        return;
    const TRepaintOnce once(this, FRepaintLock);
    for (Integer row = ARow1; row <= ARow2; ++row) {
        for (Integer i = ACol1; i <= ACol2; ++i) {
            const Integer c = FSaveHiddenCells ? RealColIndex(i) : i;
            SetCells(c, row, Trim(Cells(c, row)));
        }
    }
}

void TAdvStringGrid::ColorRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2, TColor AColor) {
    if (ARow2 < ARow1 || ACol2 < ACol1)
        return;
    const TRepaintOnce once(this, FRepaintLock);
    for (Integer row = ARow1; row <= ARow2; ++row)
        for (Integer c = ACol1; c <= ACol2; ++c)
            SetColors(c, row, AColor);
}

void TAdvStringGrid::MergeColumnCells(Integer ColIndex, bool MainMerge) {
    const TRepaintOnce once(this, FRepaintLock);
    const Integer last = RowCount() - FFixedFooters - 1;
    Integer start = FixedRows();
    Integer length = 1;
    for (Integer row = FixedRows() + 1; row <= last; ++row) {
        if (Cells(ColIndex, row) == Cells(ColIndex, row - 1) &&
            (MainMerge || RowSpanIdentical(row - 1, row))) {
            ++length;
            continue;
        }
        if (length > 1)
            MergeCells(ColIndex, start, 1, length);
        start = row;
        length = 1;
    }
    if (length > 1)
        MergeCells(ColIndex, start, 1, length);
}

void TAdvStringGrid::MergeRowCells(Integer RowIndex, bool MainMerge) {
    const TRepaintOnce once(this, FRepaintLock);
    const Integer last = ColCount() - FFixedRightCols - 1;
    Integer start = FixedCols();
    Integer length = 1;
    for (Integer col = FixedCols() + 1; col <= last; ++col) {
        if (Cells(col, RowIndex) == Cells(col - 1, RowIndex) &&
            (MainMerge || ColSpanIdentical(col - 1, col))) {
            ++length;
            continue;
        }
        if (length > 1)
            MergeCells(start, RowIndex, length, 1);
        start = col;
        length = 1;
    }
    if (length > 1)
        MergeCells(start, RowIndex, length, 1);
}

void TAdvStringGrid::SplitColumnCells(Integer ColIndex) {
    const TRepaintOnce once(this, FRepaintLock);
    Integer row = 0;
    while (row < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(ColIndex, row)) {
            const Integer extra = CellSpan(ColIndex, row).Y;
            SplitCells(ColIndex, row);
            row += extra + 1;
        } else {
            ++row;
        }
    }
}

void TAdvStringGrid::SplitRowCells(Integer RowIndex) {
    const TRepaintOnce once(this, FRepaintLock);
    Integer col = 0;
    while (col < ColCount() - FFixedRightCols - 1) {
        if (IsMergedCell(col, RowIndex) && CellSpan(col, RowIndex).X >= 0) {
            const Integer extra = CellSpan(col, RowIndex).X;
            SplitCells(col, RowIndex);
            col += extra + 1;
        } else {
            ++col;
        }
    }
}

void TAdvStringGrid::SplitAllCells() {
    // Without a record there is no block to split.
    if (!HasCellProps())
        return;
    const TRepaintOnce once(this, FRepaintLock);
    for (Integer row = 0; row < RowCount(); ++row) {
        for (Integer col = 0; col < ColCount(); ++col) {
            const Integer real = RealColIndex(col);
            if (IsMergedCell(real, row))
                SplitCells(real, row);
        }
    }
}

void TAdvStringGrid::MergeCols(Integer ColIndex1, Integer ColIndex2, const String& Separator) {
    const TRepaintOnce once(this, FRepaintLock);
    for (Integer row = FixedRows(); row < RowCount(); ++row)
        SetCells(ColIndex1, row, Trim(Cells(ColIndex1, row) + Separator + Cells(ColIndex2, row)));
    RemoveCols(ColIndex2, 1);
}

bool TAdvStringGrid::IsCell(const String& SubStr, Integer& ACol, Integer& ARow) {
    for (Integer row = 0; row < RowCount(); ++row) {
        for (Integer col = 0; col < ColCount(); ++col) {
            if (GridCells(col, row) == SubStr) {
                ACol = col;
                ARow = row;
                return true;
            }
        }
    }
    return false;
}

bool TAdvStringGrid::IsWideCell(Integer ACol, Integer ARow) {
    return Cells(ACol, ARow).starts_with(u"|\\");
}
