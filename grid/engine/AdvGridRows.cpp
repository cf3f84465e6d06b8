// The full string grid's rows and columns: counts, fixed lines and their sizes, growing the grid and
// clearing ranges of cells.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

bool IsLoading(const TComponent* component) {
    return component->ComponentState().Contains(csLoading);
}

} // namespace

// ---- Counts

void TAdvStringGrid::SetRowCount(Integer Value) {
    const Integer oldCount = RowCount();
    TBaseGrid::SetRowCount(Value);
    if (FFixedRowAlways && RowCount() > FFixedRowsMin && TBaseGrid::FixedRows() != FFixedRowsMin)
        SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    // A visible floating footer's row stays the last one: its texts go to the new last row, and the old
    // place drops the references it shared with it.
    if (FFloatingFooter->Visible() && Value != oldCount && oldCount > 0 && Value > 0) {
        for (Integer c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, Value - 1, GridCells(c, oldCount - 1));
            PutCellProperties(c, Value - 1, PeekCellProperties(c, oldCount - 1));
        }
        FNilObjects = true;
        ClearRows(oldCount - 1, 1);
        FNilObjects = false;
        CalcFooter(-1);
    }
    ApplyScrollBarAlways(false);
}

void TAdvStringGrid::SetColCount(Integer Value) {
    TBaseGrid::SetColCount(Value);
    if (FFixedColAlways && ColCount() > FFixedColsMin && TBaseGrid::FixedCols() != FFixedColsMin)
        SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    // The bounds are applied again, so IntegralHeight sees the new horizontal scroll bar.
    SetBounds(Left(), Top(), Width(), Height());
    ApplyScrollBarAlways(false);
}

// ---- Fixed lines

Integer TAdvStringGrid::FixedRows() const {
    const Integer fixed = TBaseGrid::FixedRows();
    return fixed == 0 && FFixedRowAlways ? 1 : fixed;
}

void TAdvStringGrid::SetFixedRows(Integer Value) {
    if (Value >= RowCount() && FFixedRowAlways)
        TBaseGrid::SetFixedRows(std::max(RowCount() - 1, 0));
    else
        TBaseGrid::SetFixedRows(Value);
    if (!IsLoading(this))
        FFixedRowsMin = Value;
}

Integer TAdvStringGrid::FixedCols() const {
    const Integer fixed = TBaseGrid::FixedCols();
    return fixed == 0 && FFixedColAlways ? 1 : fixed;
}

void TAdvStringGrid::SetFixedCols(Integer Value) {
    if (Value >= ColCount() && FFixedColAlways)
        TBaseGrid::SetFixedCols(std::max(ColCount() - 1, 0));
    else
        TBaseGrid::SetFixedCols(Value);
    if (!IsLoading(this))
        FFixedColsMin = Value;
}

// ---- Sizes and word wrap

void TAdvStringGrid::SetDefaultRowHeight(Integer Value) {
    TBaseGrid::SetDefaultRowHeight(Value);
    if (IsDesigning())
        FFixedRowHeight = Value;
    // The constructor sets the default height before the footer exists.
    if (FFloatingFooter != nullptr) {
        FFloatingFooter->SetHeight(Value);
        if (FFloatingFooter->Visible())
            FFooterPanel->SetHeight(Value);
    }
}

void TAdvStringGrid::SetWordWrap(bool Value) {
    TBaseGrid::SetWordWrap(Value);
    FWordWrapEx = Value;
    // An open editor is made again with the new wrapping; one made later reads it from the grid.
    if (auto* editor = dynamic_cast<TAdvInplaceEdit*>(InplaceEditor()))
        editor->SetWordWrap(Value);
    if (FUpdateCount == 0)
        Invalidate();
}

void TAdvStringGrid::SetFixedRowHeight(Integer Value) {
    FFixedRowHeight = Value;
    if (IsLoading(this) || Value == DefaultRowHeight())
        return;
    const Integer fixed = std::min(TBaseGrid::FixedRows(), RowCount());
    for (Integer r = 0; r < fixed; ++r)
        SetRowHeights(r, Value);
}

void TAdvStringGrid::SetFixedColWidth(Integer Value) {
    FFixedColWidth = Value;
    if (IsLoading(this) || Value == DefaultColWidth())
        return;
    const Integer fixed = std::min(TBaseGrid::FixedCols(), ColCount());
    for (Integer c = 0; c < fixed; ++c)
        SetColWidths(c, Value);
}

// ---- Growing

void TAdvStringGrid::AddRow() {
    if (FFloatingFooter->Visible()) {
        // The new row lands just above the footer row; only the footer that shows the grid's own last
        // row has its new row cleared.
        InsertRows(RowCount() - 1, 1, true);
        if (FFloatingFooter->FooterStyle() == fsFixedLastRow)
            ClearRows(RowCount() - 2, 1);
    } else {
        InsertRows(RowCount(), 1, true);
        ClearRows(RowCount() - 1, 1);
    }
}

void TAdvStringGrid::InsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls) {
    InsertRowsCore(RowIndex, RCount, UpdateCellControls);
}

void TAdvStringGrid::FreeRowRecords(Integer FromRow, Integer ToRow) {
    if (FromRow > ToRow)
        return;
    std::vector<std::pair<Integer, Integer>> cells;
    ForEachObjectSlot(0, FromRow, std::numeric_limits<Integer>::max(), ToRow,
                      [&](Integer c, Integer r, TObject*) { cells.emplace_back(c, r); });
    for (const auto& [c, r] : cells) {
        if (FOwnsObjects)
            if (TObject* object = reinterpret_cast<TObject*>(PeekCellProperties(c, r)->CellObject()))
                object->Free();
        FreeCellPropertiesAt(c, r);
    }
}

void TAdvStringGrid::InsertRowsCore(Integer RowIndex, Integer RCount, bool UpdateCellControls) {
    // A count below 1 inserts nothing; the old design re-applied the counts, which changed nothing.
    if (RCount < 1)
        return;
    // A count past the largest row count is cut to it (the allocation then fails as too large).
    RCount = std::min(RCount, std::numeric_limits<Integer>::max() - RowCount());
    if (RCount < 1)
        return;
    const bool footer = FFloatingFooter->Visible() && RowCount() > 0;
    // The new rows go at most above the last row: the floating footer's row stays the last.
    RowIndex = std::clamp(RowIndex, 0, footer ? RowCount() - 1 : RowCount());
    const Integer lastCol = ColCount() - 1;
    const Integer lastColWidth = lastCol >= 0 ? ColWidths(lastCol) : 0;

    // Hidden columns take part, so their cells travel with their rows.
    if (FNumHidden > 0)
        TBaseGrid::SetColCount(ColCount() + FNumHidden);
    const Integer oldCount = RowCount();
    // The rows the count takes in may keep cells and records from before; they are freed here, since
    // the new rows start empty.
    FreeRowRecords(oldCount, oldCount + RCount - 1);
    if (footer) {
        SetRowCount(oldCount + RCount);
        // The footer's old place and the rows taken in become the new rows.
        MoveRowBlock(oldCount - 1, RCount, RowIndex);
        ResetRowBlock(RowIndex, RCount);
    } else {
        InsertRowBlock(RowIndex, RCount);
        SetRowCount(RowCount());
    }
    if (FNumHidden > 0)
        TBaseGrid::SetColCount(ColCount() - FNumHidden);
    ShiftHiddenRows(RealRowIndex(RowIndex), RCount);

    if (ModifiedRowsKept())
        for (Integer i = 0; i < RCount && FModifiedRows->Count() > RowIndex; ++i)
            FModifiedRows->Insert(RowIndex, 0);
    if (FUseEnabledRows)
        for (Integer i = 0; i < RCount && FEnabledRows->Count() > RowIndex; ++i)
            FEnabledRows->Insert(RowIndex, 0);
    if (FMouseActions->DisjunctRowSelect()) {
        // A persistent selection with hidden rows belongs to stored rows.
        const Integer at =
            FMouseActions->RowSelectPersistent() && NumHiddenRows() > 0 ? RealRowIndex(RowIndex) : RowIndex;
        for (Integer i = 0; i < RCount && FRowSelect->Count() > at; ++i)
            FRowSelect->Insert(at, nullptr);
    }
    if (lastCol >= 0 && lastCol < ColCount() && ColWidths(lastCol) != lastColWidth)
        SetColWidths(lastCol, lastColWidth);

    if (UpdateCellControls && FControlList->Count() > 0) {
        const Integer realRow = RealRowIndex(RowIndex);
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->Control(i);
            if (item->Y() >= realRow)
                item->SetY(item->Y() + RCount);
        }
        CellControlsUpdate(false);
    }
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TAdvStringGrid::InsertCols(Integer ColIndex, Integer CCount) {
    // A count past the largest column count is cut to it.
    CCount = std::min(CCount, std::numeric_limits<Integer>::max() - (ColCount() + FNumHidden));
    if (CCount < 1)
        return;
    // ColIndex is a displayed column; the cells and the hidden-column flags move at stored ones, the
    // new columns going in before the stored column shown there (after every stored one at the end).
    ColIndex = std::clamp(ColIndex, 0, ColCount());
    const Integer shown = ColCount();
    const Integer oldStored = shown + FNumHidden;
    const Integer stored = ColIndex < shown ? RealColIndex(ColIndex) : oldStored;
    const Integer rows = RowCount();
    // The columns the count takes in may keep records from before; the shift below overwrites them.
    if (rows > 0)
        FreeCellProperties(oldStored, 0, oldStored + CCount - 1, rows - 1);
    SetColCount(shown + CCount);
    for (Integer index = oldStored + CCount - 1; index >= stored + CCount; --index) {
        const Integer from = index - CCount;
        for (Integer r = 0; r < rows; ++r) {
            SetGridCell(index, r, GridCells(from, r));
            PutCellProperties(index, r, PeekCellProperties(from, r));
        }
    }
    for (Integer p = shown + CCount - 1; p >= ColIndex + CCount; --p)
        SetColWidths(p, ColWidths(p - CCount));
    ShiftHiddenColumns(stored, CCount);
    // The new columns drop the references their old cells now share with the columns moved right.
    // A width is only stored where one differs: widths of the default alone take no storage per column.
    for (Integer i = 0; i < CCount; ++i) {
        if (ColWidths(ColIndex + i) != DefaultColWidth())
            SetColWidths(ColIndex + i, DefaultColWidth());
        ResetColCells(stored + i);
    }
}

// ---- Clearing

void TAdvStringGrid::ClearRect(Integer ACol1, Integer ARow1, Integer ACol2, Integer ARow2) {
    // Clipped to the cells that can be stored; what is left of a reversed range is empty.
    ACol1 = std::max(ACol1, 0);
    ARow1 = std::max(ARow1, 0);
    ACol2 = std::min(ACol2, std::max(FMaxColCount, TotalColCount()) - 1);
    ARow2 = std::min(ARow2, std::max(FMaxRowCount, RowCount()) - 1);
    if (ACol1 > ACol2 || ARow1 > ARow2)
        return;
    const bool destroying = ComponentState().Contains(csDestroying);
    for (Integer r = ARow1; r <= ARow2; ++r) {
        for (Integer i = ACol1; i <= ACol2; ++i) {
            const Integer c = FSaveHiddenCells ? RealColIndex(i) : i;
            TCellProperties* record = PeekCellProperties(c, r);
            if (record != nullptr) {
                if (TObject* object = reinterpret_cast<TObject*>(record->CellObject());
                    FOwnsObjects && object) {
                    record->SetCellObject(0);
                    object->Free();
                }
                if (!FClearTextOnly) {
                    if (FNilObjects)
                        ResetCell(c, r);
                    else
                        SetCellProperties(c, r, nullptr);
                }
            }
            if (!destroying && !GridCells(c, r).empty()) {
                SetGridCell(c, r, String());
                if (c != i)
                    RepaintCell(c, r);
            }
        }
    }
    // The flag lets every later freeing skip its scan, so it goes only when no record is left anywhere:
    // rows kept beyond the count and hidden rows may still hold some.
    if (ACol1 == 0 && ARow1 == 0 && ACol2 >= ColCount() - 1 && ARow2 >= RowCount() - 1) {
        bool stored = NumHiddenRows() > 0;
        if (!stored)
            ForEachObjectSlot(0, 0, std::numeric_limits<Integer>::max(), std::numeric_limits<Integer>::max(),
                              [&](Integer, Integer, TObject*) { stored = true; });
        if (!stored)
            FHasCellProps = false;
    }
    if (!destroying && !FBlockCellChange)
        DoCellsChanged(TRect(RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2));
}

namespace {

// The last index of a range of count lines from first, without passing the largest index.
Integer LastOf(Integer first, Integer count) {
    return static_cast<Integer>(
        std::min<long long>(static_cast<long long>(first) + count - 1, std::numeric_limits<Integer>::max()));
}

} // namespace

void TAdvStringGrid::ClearRows(Integer RowIndex, Integer RCount) {
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(0, RowIndex, ColCount() + FNumHidden - 1, LastOf(RowIndex, RCount));
}

void TAdvStringGrid::ClearCols(Integer ColIndex, Integer CCount) {
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, 0, LastOf(ColIndex, CCount), RowCount() - 1);
}

void TAdvStringGrid::ClearNormalRows(Integer RowIndex, Integer RCount) {
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(FixedCols(), RowIndex, ColCount() + FNumHidden - FFixedRightCols - 1,
                  LastOf(RowIndex, RCount));
}

void TAdvStringGrid::ClearNormalCols(Integer ColIndex, Integer CCount) {
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, FixedRows(), LastOf(ColIndex, CCount), RowCount() - FFixedFooters - 1);
}

void TAdvStringGrid::ClearNormalCells() {
    if (TBaseGrid::FixedCols() == 0 && GetNodeCount() > 0)
        RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(FixedCols(), FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
                  RowCount() - FFixedFooters - 1);
}

void TAdvStringGrid::Clear() {
    if (!ComponentState().Contains(csDestroying) && GetNodeCount() > 0)
        RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
    SearchInc.clear();
    if (FNumHidden > 0)
        Invalidate();
}

void TAdvStringGrid::ClearAll() {
    if (!ComponentState().Contains(csDestroying) && GetNodeCount() > 0)
        RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, FMaxColCount - 1, FMaxRowCount - 1);
    ClearHiddenRowStrings();
    SearchInc.clear();
    if (FNumHidden > 0)
        Invalidate();
}

void TAdvStringGrid::ClearSelection() {
    if (FMouseActions->DisjunctRowSelect()) {
        for (Integer r = FixedRows(); r < RowCount(); ++r)
            if (GetRowSelect(RowSelectIndex(r)))
                ClearRows(r, 1);
        return;
    }
    if (FMouseActions->DisjunctColSelect()) {
        for (Integer c = FixedCols(); c < ColCount(); ++c)
            if (GetColSelect(c))
                ClearCols(c, 1);
        return;
    }
    const TGridRect selection = Selection();
    ClearRect(selection.Left, selection.Top, selection.Right, selection.Bottom);
}
