// Fitting the columns to the control and the control to its lines, and exchanging two rows or columns.
#include <algorithm>
#include <utility>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

// ---- Fitting

void TAdvStringGrid::AutoFitColumns(bool DoFixedCells) {
    const Integer fixedCols = FixedCols();
    const Integer rightCols = FixedRightCols();
    Integer v = 0;
    if (FScrollBarAlways == saVert ||
        (ScrollBars() != ssNone && VisibleRowCount() + FixedRows() < RowCount()))
        v = GetSystemMetrics(SM_CXVSCROLL);
    Integer border = 0;
    if (BorderStyle() == bsSingle)
        border = Ctl3D() ? 4 : 2;

    Integer first = 0;
    Integer last = ColCount() - 1;
    Integer available = Width();
    if (!DoFixedCells) {
        first = fixedCols;
        last = ColCount() - rightCols - 1;
        for (Integer c = 0; c < fixedCols; ++c)
            available -= ColWidths(c);
        for (Integer c = ColCount() - rightCols; c < ColCount(); ++c)
            available -= ColWidths(c);
    }
    Integer lines = 0;
    if (Options().Contains(goVertLine))
        lines = GridLineWidth() * (ColCount() - fixedCols - rightCols);
    if (DoFixedCells && Options().Contains(goFixedVertLine))
        lines += fixedCols + rightCols;

    if (ColCount() < 2) {
        if (ColCount() == 1)
            SetColWidths(0, Width() - v - 5);
        return;
    }
    if (last < first)
        return;

    Int64 sum = 0;
    for (Integer c = first; c <= last; ++c)
        sum += ColWidths(c);
    if (sum == available - v - border)
        return; // fitted already
    // Nothing to scale in proportion: the widths stay as they are.
    if (sum == 0)
        return;

    const double factor = static_cast<double>(available - v - border - lines) / static_cast<double>(sum);
    Int64 target = 0;
    for (Integer c = first; c <= last; ++c)
        target += Round(ColWidths(c) * factor);
    BeginUpdate();
    try {
        std::vector<Integer> widths;
        for (Integer c = first; c <= last; ++c)
            widths.push_back(static_cast<Integer>(Round(
                static_cast<double>(ColWidths(c)) * static_cast<double>(target) / static_cast<double>(sum))));
        Int64 chosen = 0;
        for (Integer w : widths)
            chosen += w;
        Int64 rest = available - (chosen + v + border);
        const Integer n = static_cast<Integer>(widths.size());
        if (n >= 2 && rest > n) {
            const Int64 each = rest / n;
            for (Integer& w : widths)
                w += static_cast<Integer>(each);
            rest %= n;
        }
        // What is left goes to the widest column, the first of equal ones.
        const auto widest = std::max_element(widths.begin(), widths.end());
        *widest += static_cast<Integer>(rest);
        for (Integer i = 0; i < n; ++i)
            SetColWidths(first + i, widths[static_cast<size_t>(i)]);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TAdvStringGrid::SizeToCols() {
    Integer total = 0;
    for (Integer c = 0; c < ColCount(); ++c)
        total += ColWidths(c);
    SetClientWidth(total);
}

void TAdvStringGrid::SizeToRows() {
    Integer total = 0;
    for (Integer r = 0; r < RowCount(); ++r)
        total += RowHeights(r);
    SetClientHeight(total);
}

void TAdvStringGrid::SizeToCells() {
    const TScrollStyle old = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(old);
}

// ---- Swaps

void TAdvStringGrid::SwapRows(Integer ARow1, Integer ARow2) {
    if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        throw EAdvGridError(AdvGridErrors::InvalidRowAccessed);
    if (ARow1 == ARow2)
        return;
    ExchangeRowStores(ARow1, ARow2);
    const Integer h1 = RowHeights(ARow1);
    const Integer h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (FControlList->Count() > 0) {
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->Control(i);
            if (item->Y() == ARow1)
                item->SetY(ARow2);
            else if (item->Y() == ARow2)
                item->SetY(ARow1);
        }
        CellControlsUpdate(false);
    }
    Invalidate();
}

void TAdvStringGrid::SwapColumns(Integer ACol1, Integer ACol2) {
    if (ACol1 < 0 || ACol2 < 0 || ACol1 >= ColCount() || ACol2 >= ColCount())
        throw EAdvGridError(AdvGridErrors::InvalidColumnAccessed);
    if (ACol1 == ACol2)
        return;
    ExchangeColStores(RealColIndex(ACol1), RealColIndex(ACol2));
    const Integer w1 = ColWidths(ACol1);
    const Integer w2 = ColWidths(ACol2);
    if (w1 != w2) {
        SetColWidths(ACol1, w2);
        SetColWidths(ACol2, w1);
    }
    // FIXME: the sort column does not follow its column until the sort settings hold their values.
    if (FControlList->Count() > 0) {
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->Control(i);
            if (item->X() == ACol1)
                item->SetX(ACol2);
            else if (item->X() == ACol2)
                item->SetX(ACol1);
        }
        CellControlsUpdate(false);
    }
    Invalidate();
}
