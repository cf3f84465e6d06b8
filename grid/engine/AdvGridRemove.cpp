// Removing rows and columns from the full string grid, with everything it keeps per row and per column.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/rtl/SysStrings.h"

namespace {

constexpr Integer LastMappedCol = VisibleColEntries - 2; // the highest column the hidden map honours

// Holds the grid's update lock for its lifetime.
class TUpdateScope {
public:
    explicit TUpdateScope(TAdvStringGrid& grid) : FGrid(grid) { FGrid.BeginUpdate(); }
    ~TUpdateScope() { FGrid.EndUpdate(); }
    TUpdateScope(const TUpdateScope&) = delete;
    TUpdateScope& operator=(const TUpdateScope&) = delete;

private:
    TAdvStringGrid& FGrid;
};

// Switches DisjunctRowSelect off for its lifetime, so that making a row current copies no selection.
class TNoDisjunctRowSelect {
public:
    explicit TNoDisjunctRowSelect(TMouseActions& actions)
        : FActions(actions), FWasOn(actions.DisjunctRowSelect()) {
        if (FWasOn)
            FActions.SetDisjunctRowSelect(false);
    }
    ~TNoDisjunctRowSelect() {
        if (FWasOn)
            FActions.SetDisjunctRowSelect(true);
    }
    TNoDisjunctRowSelect(const TNoDisjunctRowSelect&) = delete;
    TNoDisjunctRowSelect& operator=(const TNoDisjunctRowSelect&) = delete;

private:
    TMouseActions& FActions;
    bool FWasOn;
};

} // namespace

// The rows a removal takes out, as displayed indexes: one block, or an ascending list without repeats.
struct TAdvStringGrid::TRemovedRows {
    Integer first = 0;
    Integer count = 0;
    std::vector<Integer> rows; // the listed rows; empty for a block

    static TRemovedRows Block(Integer RowIndex, Integer RCount) { return {RowIndex, RCount, {}}; }
    static TRemovedRows List(std::vector<Integer> listed) {
        const Integer first = listed.front();
        const auto count = static_cast<Integer>(listed.size());
        return {first, count, std::move(listed)};
    }
    // The number of removed rows above displayed position d.
    Integer Below(Integer d) const {
        if (rows.empty())
            return std::clamp(d - first, 0, count);
        return static_cast<Integer>(std::lower_bound(rows.begin(), rows.end(), d) - rows.begin());
    }
    bool Contains(Integer d) const {
        if (rows.empty())
            return d >= first && d - first < count;
        return std::binary_search(rows.begin(), rows.end(), d);
    }
};

// ---- Keeping per-row state in step

Integer TAdvStringGrid::RemovableRows(Integer RowIndex, Integer RCount) const {
    // A visible floating footer's row stays the last one.
    const Integer rows = FFloatingFooter->Visible() ? RowCount() - 1 : RowCount();
    if (RowIndex < 0 || RowIndex >= rows || RCount < 1)
        return 0;
    return std::min(RCount, rows - RowIndex);
}

void TAdvStringGrid::KeepControlsInStep(const TRemovedRows& Removed) {
    // A control's row is a stored one; a hidden row maps to the displayed position it would take, so
    // the removed rows above it count the same way.
    for (Integer i = FControlList->Count() - 1; i >= 0; --i) {
        TControlItem* item = FControlList->Control(i);
        const Integer displayed = DisplRowIndex(item->Y());
        if (!IsHiddenRow(item->Y()) && Removed.Contains(displayed)) {
            if (item->Control() != nullptr)
                item->Control()->Hide();
            FControlList->RemoveControl(i);
            // The removed row's record goes with its control.
            FNumCellControls = std::max(FNumCellControls - 1, 0);
        } else {
            item->SetY(item->Y() - Removed.Below(displayed));
        }
    }
}

void TAdvStringGrid::KeepHiddenRowsInStep(const TRemovedRows& Removed) {
    const Integer count = NumHiddenRows();
    if (count == 0)
        return;
    // Every stored index is mapped before any changes, since the mapping reads them all.
    std::vector<Integer> shifts(static_cast<size_t>(count));
    bool any = false;
    for (Integer i = 0; i < count; ++i) {
        shifts[static_cast<size_t>(i)] = Removed.Below(DisplRowIndex(HiddenRowItem(i)->Idx()));
        any = any || shifts[static_cast<size_t>(i)] != 0;
    }
    if (!any)
        return;
    for (Integer i = 0; i < count; ++i) {
        THiddenRow* item = HiddenRowItem(i);
        item->SetIdx(item->Idx() - shifts[static_cast<size_t>(i)]);
    }
    FreeHiddenRowLookup();
}

namespace {

// Drops the entries of a per-row flag list at the given indexes in one pass; a list shorter than the
// grid loses only the entries it has. The list's change event does not fire.
template <class Removed> void EraseListEntries(TList& list, const Removed& removed) {
    const Integer first = removed.first;
    if (list.Count() <= first)
        return;
    Integer target = first;
    for (Integer source = first; source < list.Count(); ++source)
        if (!removed.Contains(source))
            list.SetItems(target++, list.Items(source));
    list.SetCount(target);
}

// The same rows as stored indexes, for lists kept by stored row.
struct TStoredRows {
    Integer first = 0;
    std::vector<Integer> rows;
    bool Contains(Integer r) const { return std::binary_search(rows.begin(), rows.end(), r); }
};

} // namespace

void TAdvStringGrid::KeepRowFlagsInStep(const TRemovedRows& Removed) {
    if (ModifiedRowsKept())
        EraseListEntries(*FModifiedRows, Removed);
    if (FUseEnabledRows)
        EraseListEntries(*FEnabledRows, Removed);
}

void TAdvStringGrid::KeepRowSelectInStep(const TRemovedRows& Removed) {
    if (!FMouseActions->DisjunctRowSelect())
        return;
    if (!FMouseActions->RowSelectPersistent() || NumHiddenRows() == 0) {
        EraseListEntries(*FRowSelect, Removed);
        return;
    }
    // The persistent selection belongs to stored rows.
    TStoredRows stored;
    if (Removed.rows.empty())
        for (Integer d = Removed.first; d < Removed.first + Removed.count; ++d)
            stored.rows.push_back(RealRowIndex(d));
    else
        for (Integer d : Removed.rows)
            stored.rows.push_back(RealRowIndex(d));
    stored.first = stored.rows.front();
    EraseListEntries(*FRowSelect, stored);
}

void TAdvStringGrid::FreeStoredRecords(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow) {
    // Without records there is nothing to look for: the scan would touch every row of the block.
    if (!HasCellProps() || FromCol > ToCol || FromRow > ToRow)
        return;
    std::vector<std::pair<Integer, Integer>> cells;
    ForEachObjectSlot(FromCol, FromRow, ToCol, ToRow,
                      [&](Integer c, Integer r, TObject*) { cells.emplace_back(c, r); });
    for (const auto& [c, r] : cells) {
        if (FOwnsObjects)
            if (TObject* object = reinterpret_cast<TObject*>(PeekCellProperties(c, r)->CellObject()))
                object->Free();
        FreeCellPropertiesAt(c, r);
    }
}

// ---- Taking rows out

void TAdvStringGrid::TakeOutRows(Integer RowIndex, Integer RCount) {
    const Integer oldCount = RowCount();
    // The framework keeps at least one row: when every row goes, the first one stays and is emptied
    // with the rest.
    DeleteRowBlock(RowIndex, RCount);
    ResetRowBlock(oldCount - RCount, RCount);
    SetRowCount(RowCount());
}

void TAdvStringGrid::RestoreCurrentRow(Integer ARow, Integer ATopRow, Integer Footers) {
    const TNoDisjunctRowSelect noDisjunct(*FMouseActions);
    const Integer limit = RowCount() - Footers;
    if (ARow >= 0 && ARow < limit) {
        SetRow(ARow);
        SetTopRow(ATopRow);
    } else if (limit - 1 >= FixedRows()) {
        SetRow(limit - 1);
    } else {
        HideSelection();
        // Kept as the design has it: the selection is moved out, yet not counted as hidden.
        FSelHidden = false;
    }
}

// ---- Removing rows

void TAdvStringGrid::RemoveRows(Integer RowIndex, Integer RCount) {
    RCount = RemovableRows(RowIndex, RCount);
    if (RCount == 0)
        return;
    const TRemovedRows removed = TRemovedRows::Block(RowIndex, RCount);
    KeepControlsInStep(removed);
    FreeStoredRecords(0, RowIndex, std::numeric_limits<Integer>::max(), RowIndex + RCount - 1);
    if (Row() >= 0 && Row() < RowCount() && Col() >= 0 && Col() < ColCount())
        SelectCell(Col(), Row());
    {
        const TUpdateScope update(*this);
        const Integer oldTop = TopRow();
        const Integer oldRow = Row();
        KeepRowFlagsInStep(removed);
        KeepRowSelectInStep(removed);
        KeepHiddenRowsInStep(removed);
        TakeOutRows(RowIndex, RCount);
        FMaxRowCount = std::max(FMaxRowCount - RCount, RowCount());
        RestoreCurrentRow(oldRow, oldTop, FFixedFooters);
    }
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
    const Integer lastTop = RowCount() + FixedRows() - VisibleRowCount() - 2;
    if (TopRow() >= lastTop && RowCount() - VisibleRowCount() - 1 > 0)
        SetTopRow(lastTop);
    CellControlsUpdate(false);
    if (FSearchFooter->Visible() && FSearchPanel->HandleAllocated())
        FSearchPanel->Invalidate();
}

void TAdvStringGrid::RemoveRowsCore(Integer RowIndex, Integer RCount) {
    RCount = RemovableRows(RowIndex, RCount);
    if (RCount == 0)
        return;
    FreeStoredRecords(0, RowIndex, std::numeric_limits<Integer>::max(), RowIndex + RCount - 1);
    // The row flags and the highest count follow the removed rows, as for RemoveRows; the row deletion
    // keeps a persistent selection, which these rows leave for good.
    const TRemovedRows removed = TRemovedRows::Block(RowIndex, RCount);
    KeepRowFlagsInStep(removed);
    if (FMouseActions->RowSelectPersistent())
        KeepRowSelectInStep(removed);
    DeleteRowsCore(RowIndex, RCount, true);
    FMaxRowCount = std::max(FMaxRowCount - RCount, RowCount());
}

void TAdvStringGrid::DeleteRowsCore(Integer RowIndex, Integer RCount, bool UpdateCellControls) {
    RCount = RemovableRows(RowIndex, RCount);
    if (RCount == 0)
        return;
    const TRemovedRows removed = TRemovedRows::Block(RowIndex, RCount);
    if (UpdateCellControls)
        KeepControlsInStep(removed);
    {
        const TUpdateScope update(*this);
        const Integer oldTop = TopRow();
        const Integer oldRow = Row();
        if (GetNodeCount() > 0 && oldRow < RowCount())
            SetCol(FixedCols());
        // The selection of stored rows stays with them: rows taken out here may come back.
        if (!FMouseActions->RowSelectPersistent())
            KeepRowSelectInStep(removed);
        if (UpdateCellControls)
            KeepHiddenRowsInStep(removed);
        TakeOutRows(RowIndex, RCount);
        // The fixed footer rows count as rows here.
        RestoreCurrentRow(oldRow, oldTop, 0);
    }
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
    if (TopRow() >= RowCount() - 1)
        SetTopRow(RowCount() - 1);
    CellControlsUpdate(false);
}

void TAdvStringGrid::RemoveRowsEx(Integer RowIndex, Integer RCount) {
    RCount = RemovableRows(RowIndex, RCount);
    if (RCount == 0)
        return;
    const TRemovedRows removed = TRemovedRows::Block(RowIndex, RCount);
    FreeStoredRecords(0, RowIndex, std::numeric_limits<Integer>::max(), RowIndex + RCount - 1);
    {
        const TUpdateScope update(*this);
        const Integer oldTop = TopRow();
        const Integer oldRow = Row();
        KeepRowFlagsInStep(removed);
        KeepRowSelectInStep(removed);
        KeepHiddenRowsInStep(removed);
        TakeOutRows(RowIndex, RCount);
        FMaxRowCount = std::max(FMaxRowCount - RCount, RowCount());
        const TNoDisjunctRowSelect noDisjunct(*FMouseActions);
        if (oldRow >= 0 && oldRow < RowCount()) {
            SetRow(oldRow);
            SetTopRow(oldTop);
        } else if (RowCount() > FixedRows()) {
            SetRow(FixedRows());
            SetTopRow(FixedRows());
        }
    }
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TAdvStringGrid::RemoveRowList(TIntList* RowList) {
    if (RowList == nullptr)
        return;
    const Integer rows = FFloatingFooter->Visible() ? RowCount() - 1 : RowCount();
    std::vector<Integer> listed;
    for (Integer i = 0; i < RowList->Count(); ++i)
        if (RowList->Items(i) >= 0 && RowList->Items(i) < rows)
            listed.push_back(RowList->Items(i));
    if (listed.empty())
        return;
    std::sort(listed.begin(), listed.end());
    listed.erase(std::unique(listed.begin(), listed.end()), listed.end());
    const TRemovedRows removed = TRemovedRows::List(std::move(listed));
    const Integer count = removed.count;
    const Integer firstRow = removed.rows.front();
    const Integer lastRow = removed.rows.back();

    const TUpdateScope update(*this);
    KeepControlsInStep(removed);
    KeepRowFlagsInStep(removed);
    KeepRowSelectInStep(removed);
    KeepHiddenRowsInStep(removed);
    const Integer lastCol = std::numeric_limits<Integer>::max();
    for (size_t i = 0; i < removed.rows.size();) {
        // A run of consecutive listed rows is freed at once.
        size_t end = i + 1;
        while (end < removed.rows.size() && removed.rows[end] == removed.rows[end - 1] + 1)
            ++end;
        FreeStoredRecords(0, removed.rows[i], lastCol, removed.rows[end - 1]);
        i = end;
    }
    // One pass: every row that stays moves up to the next free place with its whole storage (hidden
    // columns and cells beyond the column count too) and its height; the listed rows go beyond the count,
    // where they are emptied (their records are freed above).
    const Integer oldCount = RowCount();
    DeleteRowList(removed.rows);
    ResetRowBlock(oldCount - count, count);
    SetRowCount(RowCount());
    FMaxRowCount = std::max(FMaxRowCount - count, RowCount());
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, firstRow, ColCount() - 1, lastRow + 1));
    CellControlsUpdate(false);
}

void TAdvStringGrid::RemoveCheckedRows(Integer CheckBoxColumn, bool RemoveChecked) {
    const TUpdateScope update(*this);
    // From the bottom, so the rows still to test keep their indexes. A row without a check box stays.
    for (Integer r = RowCount() - 1; r >= FixedRows(); --r) {
        bool state = false;
        if (GetCheckBoxState(CheckBoxColumn, NumHiddenRows() > 0 ? RealRowIndex(r) : r, state) &&
            state == RemoveChecked)
            RemoveRows(r, 1);
    }
}

void TAdvStringGrid::RemoveDuplicates(Integer ACol, bool DoCase) {
    const TUpdateScope update(*this);
    const Integer col = RealColIndex(ACol);
    const Integer last =
        std::min(RowCount() - FFixedFooters, FFloatingFooter->Visible() ? RowCount() - 1 : RowCount()) - 1;
    std::unordered_set<String> seen;
    TIntList duplicates(0, 0);
    for (Integer r = FixedRows(); r <= last; ++r) {
        String text = Cells(col, r);
        if (!DoCase)
            text = AnsiUpperCase(text);
        if (!seen.insert(std::move(text)).second)
            duplicates.Insert(duplicates.Count(), r);
    }
    RemoveRowList(&duplicates);
}

void TAdvStringGrid::RemoveSelectedRows() {
    const TUpdateScope update(*this);
    if (FMouseActions->DisjunctRowSelect()) {
        RemoveDisjunctRows(true);
        return;
    }
    const TGridRect selection = Selection();
    const Integer top = std::max(std::min(selection.Top, selection.Bottom), 0);
    const Integer bottom = std::max(selection.Top, selection.Bottom);
    // One removal of the block: the same rows as one by one from the bottom up, in one pass.
    RemoveRowsCore(top, bottom - top + 1);
}

void TAdvStringGrid::RemoveUnSelectedRows() {
    const TUpdateScope update(*this);
    if (FMouseActions->DisjunctRowSelect()) {
        RemoveDisjunctRows(false);
        return;
    }
    const TGridRect selection = Selection();
    const Integer top = std::min(selection.Top, selection.Bottom);
    const Integer bottom = std::max(selection.Top, selection.Bottom);
    const Integer lastData = RowCount() - FFixedFooters - 1;
    // The rows below the selection first, so that the rows above keep their indexes.
    const Integer below = std::max(bottom + 1, FixedRows());
    if (below <= lastData)
        RemoveRowsCore(below, lastData - below + 1);
    const Integer above = std::min(top, lastData + 1);
    if (above > FixedRows())
        RemoveRowsCore(FixedRows(), above - FixedRows());
}

void TAdvStringGrid::RemoveDisjunctRows(bool Selected) {
    // The rows go in one pass; the flags of the rows that stay move up with them.
    TIntList rows(0, 0);
    for (Integer r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r)
        if (GetRowSelect(RowSelectIndex(r)) == Selected)
            rows.Add(r);
    RemoveRowList(&rows);
    if (!Selected && FMouseActions->RowSelectPersistent())
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ClearRowSelectAll();
}

// ---- Removing columns

void TAdvStringGrid::RemoveCols(Integer ColIndex, Integer CCount) {
    const Integer stored = ColCount() + FNumHidden;
    if (ColIndex < 0 || ColIndex >= stored || CCount < 1)
        return;
    CCount = std::min(CCount, stored - ColIndex);
    const Integer lastRemoved = ColIndex + CCount - 1;
    Integer hiddenRemoved = 0;
    for (Integer c = ColIndex; c <= std::min(lastRemoved, LastMappedCol); ++c)
        hiddenRemoved += FVisibleCol[c] ? 0 : 1;
    const Integer shownRemoved = CCount - hiddenRemoved;
    const Integer firstPosition = DisplColIndex(ColIndex);
    HideEditor();

    // The removed columns' records go, in the rows beyond the count too.
    const Integer lastRow = std::numeric_limits<Integer>::max();
    FreeStoredRecords(ColIndex, 0, lastRemoved, lastRow);
    // The hidden rows hold the same columns.
    for (Integer i = 0; i < NumHiddenRows(); ++i) {
        TStrings* items = HiddenRowItem(i)->Items();
        const Integer end = std::min(lastRemoved, items->Count() - 1);
        for (Integer c = end; c >= ColIndex; --c) {
            auto* record = static_cast<TCellProperties*>(items->Objects(c));
            if (record != nullptr && FOwnsObjects)
                if (TObject* object = reinterpret_cast<TObject*>(record->CellObject()))
                    object->Free();
            FreeDetachedRecord(record);
            items->Delete(c);
        }
    }

    // Every stored row takes the columns right of the removed ones to the left, and the columns left
    // free at the end drop their texts and references.
    const Integer rows = std::max(RowCount(), FMaxRowCount);
    for (Integer r = 0; r < rows; ++r) {
        for (Integer c = ColIndex; c + CCount < stored; ++c) {
            SetGridCell(c, r, GridCells(c + CCount, r));
            PutCellProperties(c, r, PeekCellProperties(c + CCount, r));
        }
        for (Integer c = stored - CCount; c < stored; ++c) {
            PutCellProperties(c, r, nullptr);
            SetGridCell(c, r, String());
        }
    }
    // The displayed widths close up over the shown columns removed; the hidden map moves left, columns
    // coming from beyond it counting as shown.
    for (Integer p = firstPosition; p + shownRemoved < ColCount(); ++p)
        SetColWidths(p, ColWidths(p + shownRemoved));
    for (Integer c = ColIndex; c <= LastMappedCol; ++c) {
        const Integer from = c + CCount;
        FVisibleCol[c] = from > LastMappedCol || FVisibleCol[from];
        FAllColWidths[c] = from > LastMappedCol ? 0 : FAllColWidths[from];
    }
    FNumHidden -= hiddenRemoved;
    if (shownRemoved > 0)
        SetColCount(ColCount() - shownRemoved);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(ColIndex, 0, ColIndex + CCount, RowCount() - 1));
}

void TAdvStringGrid::RemoveDisplayedCols(Integer FromCol, Integer ToCol) {
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, ColCount() - 1);
    // From the right, so that the displayed columns left of each keep their indexes; without hidden
    // columns the block goes at once.
    if (FNumHidden == 0) {
        if (FromCol <= ToCol)
            RemoveCols(FromCol, ToCol - FromCol + 1);
        return;
    }
    for (Integer d = ToCol; d >= FromCol; --d)
        RemoveCols(RealColIndex(d), 1);
}

void TAdvStringGrid::RemoveSelectedCols() {
    if (FMouseActions->DisjunctColSelect()) {
        RemoveDisjunctCols(true);
        return;
    }
    const TGridRect selection = Selection();
    RemoveDisplayedCols(std::min(selection.Left, selection.Right), std::max(selection.Left, selection.Right));
}

void TAdvStringGrid::RemoveUnSelectedCols() {
    if (FMouseActions->DisjunctColSelect()) {
        RemoveDisjunctCols(false);
        return;
    }
    const TGridRect selection = Selection();
    const Integer left = std::min(selection.Left, selection.Right);
    const Integer right = std::max(selection.Left, selection.Right);
    RemoveDisplayedCols(right + 1, ColCount() - 1);
    RemoveDisplayedCols(FixedCols(), std::min(left, ColCount()) - 1);
}

void TAdvStringGrid::RemoveDisjunctCols(bool Selected) {
    for (Integer c = ColCount() - 1; c >= FixedCols(); --c) {
        if (GetColSelect(c) != Selected)
            continue;
        RemoveCols(RealColIndex(c), 1);
        if (c < FColSelect->Count())
            FColSelect->Delete(c);
    }
    if (!Selected)
        ClearColSelect();
}
