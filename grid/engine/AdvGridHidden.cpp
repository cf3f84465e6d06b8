// Hiding and showing rows and columns, and the mapping between displayed and stored indexes.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

// Below this many hidden rows the mapping bisects the sorted rows; from it on, a bit table.
constexpr size_t BitsFrom = 64;

// UnHideRowsAll brings back up to this many runs of hidden rows run by run, more in one merge.
constexpr Integer ScatteredRuns = 8;

// The highest column index the hidden-column map honours.
constexpr Integer LastMappedCol = VisibleColEntries - 2;

// The number of values below value (Inclusive: at or below) in sorted[0 .. length). A bisection
// without branches on the comparison.
template <bool Inclusive> Integer CountBelow(const Integer* sorted, size_t length, Integer value) {
    if (length == 0)
        return 0;
    const Integer* base = sorted;
    while (length > 1) {
        const size_t half = length / 2;
        const bool right = Inclusive ? base[half - 1] <= value : base[half - 1] < value;
        base = right ? base + half : base;
        length -= half;
    }
    const bool last = Inclusive ? *base <= value : *base < value;
    return static_cast<Integer>(base - sorted) + (last ? 1 : 0);
}

} // namespace

// ---- The hidden-row lookup

const std::vector<Integer>& TAdvStringGrid::HiddenRowLookup() const {
    if (!FHiddenRowLookupValid) {
        const Integer count = FGridItems->Count();
        FHiddenRowLookup.resize(static_cast<size_t>(count));
        for (Integer i = 0; i < count; ++i)
            FHiddenRowLookup[static_cast<size_t>(i)] = HiddenRowItem(i)->Idx();
        std::sort(FHiddenRowLookup.begin(), FHiddenRowLookup.end());
        // Records of different filter levels may share an index; the mapping counts each row once.
        FHiddenRowSteps.clear();
        Integer distinct = 0;
        for (size_t i = 0; i < FHiddenRowLookup.size(); ++i) {
            if (i > 0 && FHiddenRowLookup[i] == FHiddenRowLookup[i - 1])
                continue;
            FHiddenRowSteps.push_back(FHiddenRowLookup[i] - distinct);
            ++distinct;
        }
        // One bit per real row up to the last hidden one, and the hidden rows before each word: the
        // mapping then costs the same however many rows are hidden.
        FHiddenRowBits.clear();
        FHiddenRowsBefore.clear();
        // A few hidden rows are bisected directly, as are records of different filter levels sharing a
        // row and rows below 0, which no word holds.
        if (FHiddenRowLookup.size() > BitsFrom && FHiddenRowSteps.size() == FHiddenRowLookup.size() &&
            FHiddenRowLookup.front() >= 0) {
            const size_t words = static_cast<size_t>(FHiddenRowLookup.back()) / 64 + 1;
            FHiddenRowBits.assign(words, 0);
            for (Integer idx : FHiddenRowLookup)
                if (idx >= 0)
                    FHiddenRowBits[static_cast<size_t>(idx) / 64] |= std::uint64_t(1) << (idx % 64);
            FHiddenRowsBefore.resize(words);
            Integer before = 0;
            for (size_t w = 0; w < words; ++w) {
                FHiddenRowsBefore[w] = before;
                before += std::popcount(FHiddenRowBits[w]);
            }
        }
        FHiddenRowLookupValid = true;
    }
    return FHiddenRowLookup;
}

// ---- Index mapping

Integer TAdvStringGrid::RealRowIndex(Integer ARow) const {
    if (FGridItems->Count() == 0)
        return ARow;
    HiddenRowLookup();
    if (FHiddenRowBits.empty())
        return ARow + CountBelow<true>(FHiddenRowSteps.data(), FHiddenRowSteps.size(), ARow);
    const size_t words = FHiddenRowBits.size();
    const Integer hidden = static_cast<Integer>(FHiddenRowSteps.size());
    if (ARow < 0)
        return ARow;
    if (ARow >= static_cast<Integer>(words * 64) - hidden)
        return ARow + hidden;
    // The last word with at most ARow shown rows before it (the shown counts never fall), then the
    // shown row inside it.
    size_t low = 0;
    size_t length = words;
    while (length > 1) {
        const size_t half = length / 2;
        const size_t mid = low + half;
        const bool right = static_cast<Integer>(mid * 64) - FHiddenRowsBefore[mid] <= ARow;
        low = right ? mid : low;
        length -= half;
    }
    Integer skip = ARow - (static_cast<Integer>(low * 64) - FHiddenRowsBefore[low]);
    std::uint64_t hiddenBits = FHiddenRowBits[low];
    if (std::popcount(hiddenBits) < 32) {
        // Few hidden rows in the word: step over each one at or before the candidate.
        Integer bit = skip;
        while (hiddenBits != 0 && std::countr_zero(hiddenBits) <= bit) {
            ++bit;
            hiddenBits &= hiddenBits - 1;
        }
        return static_cast<Integer>(low * 64) + bit;
    }
    std::uint64_t shown = ~hiddenBits;
    for (; skip > 0; --skip)
        shown &= shown - 1;
    return static_cast<Integer>(low * 64) + std::countr_zero(shown);
}

Integer TAdvStringGrid::DisplRowIndex(Integer ARow) const {
    if (FGridItems->Count() == 0)
        return ARow;
    HiddenRowLookup();
    if (FHiddenRowBits.empty() || ARow < 0)
        return ARow - CountBelow<false>(FHiddenRowLookup.data(), FHiddenRowLookup.size(), ARow);
    const size_t word = static_cast<size_t>(ARow) / 64;
    if (word >= FHiddenRowBits.size())
        return ARow - static_cast<Integer>(FHiddenRowLookup.size());
    const std::uint64_t below = FHiddenRowBits[word] & ((std::uint64_t(1) << (ARow % 64)) - 1);
    return ARow - FHiddenRowsBefore[word] - std::popcount(below);
}

Integer TAdvStringGrid::RealColIndex(Integer ACol) {
    if (FNumHidden == 0 || ACol < 0)
        return ACol;
    Integer shown = 0;
    for (Integer j = 0; j <= LastMappedCol; ++j) {
        if (!FVisibleCol[j])
            continue;
        if (shown == ACol)
            return j;
        ++shown;
    }
    // Every hidden column lies below 512, so a displayed column past the map is that far right.
    return ACol + FNumHidden;
}

Integer TAdvStringGrid::DisplColIndex(Integer ACol) {
    if (FNumHidden == 0 || ACol < 0)
        return ACol;
    // Beyond the map every hidden column lies to the left; the map itself is never read there.
    const Integer last = std::min(ACol, LastMappedCol + 1);
    Integer hidden = 0;
    for (Integer j = 0; j < last; ++j)
        if (!FVisibleCol[j])
            ++hidden;
    return ACol - hidden;
}

bool TAdvStringGrid::IsHiddenRow(Integer Rowindex) const {
    if (FGridItems->Count() == 0)
        return false;
    const std::vector<Integer>& lookup = HiddenRowLookup();
    return std::binary_search(lookup.begin(), lookup.end(), Rowindex);
}

bool TAdvStringGrid::IsHiddenRow(Integer Rowindex, TIntList*& ListHidden) const {
    if (ListHidden == nullptr) {
        ListHidden = new TIntList(0, 0);
        for (Integer idx : HiddenRowLookup())
            ListHidden->Add(idx);
    }
    return ListHidden->SortedIndexOf(Rowindex) >= 0;
}

// ---- Moving rows into and out of records

namespace {

// Raises the framework grid's column count over the hidden columns for its lifetime, so row moves and
// copies take their cells too; the last displayed column keeps its width.
class TStoredColumnsScope {
public:
    TStoredColumnsScope(TBaseGrid& grid, Integer numHidden) : FGrid(grid), FNumHidden(numHidden) {
        if (FNumHidden == 0)
            return;
        FLastCol = FGrid.ColCount() - 1;
        FLastWidth = FLastCol >= 0 ? FGrid.ColWidths(FLastCol) : 0;
        FGrid.TBaseGrid::SetColCount(FGrid.ColCount() + FNumHidden);
    }
    ~TStoredColumnsScope() {
        if (FNumHidden == 0)
            return;
        FGrid.TBaseGrid::SetColCount(FGrid.ColCount() - FNumHidden);
        if (FLastCol >= 0 && FLastCol < FGrid.ColCount() && FGrid.ColWidths(FLastCol) != FLastWidth)
            FGrid.SetColWidths(FLastCol, FLastWidth);
    }
    TStoredColumnsScope(const TStoredColumnsScope&) = delete;
    TStoredColumnsScope& operator=(const TStoredColumnsScope&) = delete;

private:
    TBaseGrid& FGrid;
    Integer FNumHidden;
    Integer FLastCol = -1;
    Integer FLastWidth = 0;
};

} // namespace

void TAdvStringGrid::TakeRowInto(TGridItem* Item, Integer ARow) {
    TStrings* items = Item->Items();
    const Integer cols = ColCount();
    for (Integer c = 0; c < cols; ++c)
        items->AddObject(GridCells(c, ARow), PeekCellProperties(c, ARow));
    Item->SetHeight(RowHeights(ARow));
}

void TAdvStringGrid::PutRowFrom(TGridItem* Item, Integer ARow) {
    TStrings* items = Item->Items();
    const Integer cols = std::min(ColCount(), items->Count());
    for (Integer c = 0; c < cols; ++c) {
        SetGridCell(c, ARow, items->Strings(c));
        PutCellProperties(c, ARow, static_cast<TCellProperties*>(items->Objects(c)));
    }
    if (Item->Height() > 0 && RowHeights(ARow) != Item->Height())
        SetRowHeights(ARow, Item->Height());
}

// ---- Hiding and showing rows

void TAdvStringGrid::CopyRowTo(Integer FromRow, Integer ToRow) {
    const Integer cols = ColCount();
    for (Integer c = 0; c < cols; ++c) {
        SetGridCell(c, ToRow, GridCells(c, FromRow));
        PutCellProperties(c, ToRow, PeekCellProperties(c, FromRow));
    }
    if (RowHeights(ToRow) != RowHeights(FromRow))
        SetRowHeights(ToRow, RowHeights(FromRow));
}

void TAdvStringGrid::HideRowRange(Integer FromRow, Integer ToRow, bool Append) {
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (FromRow > ToRow)
        return;
    const std::vector<Integer> lookup = HiddenRowLookup();
    const auto below = std::lower_bound(lookup.begin(), lookup.end(), FromRow);
    const auto inRange = std::upper_bound(below, lookup.end(), ToRow);
    const Integer alreadyHidden = static_cast<Integer>(inRange - below);
    const Integer count = ToRow - FromRow + 1 - alreadyHidden;
    if (count == 0)
        return;
    // The framework grid keeps at least one row, so the last displayed row is never hidden: the range
    // stops before it.
    if (count >= RowCount()) {
        if (RowCount() > 1)
            HideRowRange(FromRow, RealRowIndex(RowCount() - 2), Append);
        return;
    }
    // The rows of the range still shown are consecutive displayed rows from here.
    const Integer first = FromRow - static_cast<Integer>(below - lookup.begin());
    FreeHiddenRowLookup();

    TStoredColumnsScope stored(*this, FNumHidden);
    // The records stay sorted by Idx: each new one goes after the records of lower rows.
    Integer position = 0;
    while (position < FGridItems->Count() && HiddenRowItem(position)->Idx() < FromRow)
        ++position;
    Integer displayed = first;
    auto next = below;
    for (Integer row = FromRow; row <= ToRow; ++row) {
        if (next != inRange && *next == row) {
            ++next;
            continue;
        }
        while (position < FGridItems->Count() && HiddenRowItem(position)->Idx() < row)
            ++position;
        auto* item = static_cast<TGridItem*>(
            Append || position == FGridItems->Count() ? FGridItems->Add() : FGridItems->Insert(position));
        ++position;
        item->SetIdx(row);
        TakeRowInto(item, displayed++);
        if (Append)
            item->SetHeight(0);
    }
    DeleteRowBlock(first, count);
    // The rows moved beyond the count drop the references their records now own.
    ResetRowBlock(RowCount(), count);
    SetRowCount(RowCount());
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, first, ColCount() - 1, RowCount()));
}

void TAdvStringGrid::UnHideRows(Integer FromRow, Integer ToRow) {
    if (FromRow > ToRow || FGridItems->Count() == 0)
        return;
    // The records of the range, highest row first: putting a row back leaves the displayed position of
    // every lower hidden row as it was.
    std::vector<Integer> records;
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        const Integer idx = HiddenRowItem(i)->Idx();
        if (idx >= FromRow && idx <= ToRow)
            records.push_back(i);
    }
    if (records.empty())
        return;
    std::sort(records.begin(), records.end(), [this](Integer a, Integer b) {
        const Integer ia = HiddenRowItem(a)->Idx();
        const Integer ib = HiddenRowItem(b)->Idx();
        return ia != ib ? ia > ib : a > b;
    });
    std::vector<Integer> lookup = HiddenRowLookup();
    FreeHiddenRowLookup();

    TStoredColumnsScope stored(*this, FNumHidden);
    const bool showModified = FShowModified->Enabled();
    FShowModified->SetEnabled(false);
    Integer lowestRow = RowCount();
    size_t i = 0;
    while (i < records.size()) {
        // A run of consecutive hidden rows comes back in one block.
        size_t end = i + 1;
        while (end < records.size() &&
               HiddenRowItem(records[end])->Idx() == HiddenRowItem(records[end - 1])->Idx() - 1)
            ++end;
        const Integer runCount = static_cast<Integer>(end - i);
        const Integer lowIdx = HiddenRowItem(records[end - 1])->Idx();
        // A row hidden beyond a count lowered since comes back at the end.
        const Integer position =
            std::min(lowIdx - CountBelow<false>(lookup.data(), lookup.size(), lowIdx), RowCount());
        const Integer oldCount = RowCount();
        // The rows the count takes in may keep records from before; the restored rows replace them.
        FreeRowRecords(oldCount, oldCount + runCount - 1);
        InsertRowBlock(position, runCount);
        for (size_t k = i; k < end; ++k)
            PutRowFrom(HiddenRowItem(records[k]), position + static_cast<Integer>(end - 1 - k));
        lowestRow = std::min(lowestRow, position);
        i = end;
    }
    SetRowCount(RowCount());
    FShowModified->SetEnabled(showModified);

    // The restored records hand their cells to the rows: free them highest slot first, so a store kept
    // in order frees from its end.
    std::sort(records.begin(), records.end(), std::greater<>());
    for (Integer index : records) {
        HiddenRowItem(index)->Items()->Clear();
        FGridItems->Delete(index);
    }
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, lowestRow, ColCount() - 1, RowCount() - 1));
}

void TAdvStringGrid::HideRowsEx(Integer FromRow, Integer ToRow) {
    HideRowRange(FromRow, ToRow, true);
}

void TAdvStringGrid::HideRowList(TIntList* RowList) {
    if (RowList == nullptr)
        return;
    std::vector<Integer> rows;
    for (Integer i = 0; i < RowList->Count(); ++i)
        if (RowList->Items(i) >= 0 && RowList->Items(i) < RowCount())
            rows.push_back(RowList->Items(i));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // The framework grid keeps at least one row, so the last displayed row stays.
    if (!rows.empty() && static_cast<Integer>(rows.size()) >= RowCount())
        rows.pop_back();
    const Integer level = FFilterLevel++;
    if (rows.empty())
        return;
    FreeHiddenRowLookup();
    {
        TStoredColumnsScope stored(*this, FNumHidden);
        for (Integer row : rows) {
            auto* item = static_cast<TGridItem*>(FGridItems->Add());
            TakeRowInto(item, row);
            item->SetIdx(row);
            item->SetLevel(level);
        }
        // One pass: every row that stays moves up to the next free place.
        Integer target = rows.front();
        size_t listed = 0;
        for (Integer source = rows.front(); source < RowCount(); ++source) {
            if (listed < rows.size() && rows[listed] == source) {
                ++listed;
                continue;
            }
            CopyRowTo(source, target++);
        }
        // The rows left at the end hold references that now live elsewhere.
        const Integer count = static_cast<Integer>(rows.size());
        ResetRowBlock(RowCount() - count, count);
        SetRowCount(RowCount() - count);
    }
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, rows.front(), ColCount() - 1, RowCount()));
}

void TAdvStringGrid::UnHideRowList() {
    const Integer level = FFilterLevel - 1;
    std::vector<Integer> records;
    for (Integer i = 0; i < FGridItems->Count(); ++i)
        if (HiddenRowItem(i)->Level() == level)
            records.push_back(i);
    RestoreRecords(std::move(records));
}

void TAdvStringGrid::RestoreRecords(std::vector<Integer> records) {
    if (records.empty())
        return;
    std::stable_sort(records.begin(), records.end(), [this](Integer a, Integer b) {
        return HiddenRowItem(a)->Idx() < HiddenRowItem(b)->Idx();
    });
    FreeHiddenRowLookup();
    {
        TStoredColumnsScope stored(*this, FNumHidden);
        const Integer count = static_cast<Integer>(records.size());
        const Integer oldCount = RowCount();
        // The rows the count takes in may keep records from before; the merge below fills them.
        FreeRowRecords(oldCount, oldCount + count - 1);
        InsertRowBlock(oldCount, count);
        // Merge from the bottom: a record whose row this is goes here, otherwise the next row above.
        Integer source = oldCount - 1;
        Integer next = count - 1;
        for (Integer target = RowCount() - 1; next >= 0; --target) {
            TGridItem* item = HiddenRowItem(records[static_cast<size_t>(next)]);
            if (item->Idx() >= target || source < 0) {
                PutRowFrom(item, target);
                --next;
            } else {
                CopyRowTo(source--, target);
            }
        }
        SetRowCount(RowCount());
    }
    // Only the records put back are freed; rows hidden otherwise stay hidden.
    std::sort(records.begin(), records.end(), std::greater<>());
    for (Integer index : records) {
        HiddenRowItem(index)->Items()->Clear();
        FGridItems->Delete(index);
    }
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, 0, ColCount() - 1, RowCount() - 1));
}

void TAdvStringGrid::UnHideRowsAll() {
    if (FGridItems->Count() == 0)
        return;
    const std::vector<Integer>& lookup = HiddenRowLookup();
    Integer runs = 1;
    for (size_t i = 1; i < lookup.size() && runs <= ScatteredRuns; ++i)
        if (lookup[i] != lookup[i - 1] + 1)
            ++runs;
    // A few blocks come back block by block, each one move of the rows below it; scattered rows come
    // back in one merge over the rows from the first of them.
    if (runs <= ScatteredRuns) {
        UnHideRows(lookup.front(), lookup.back());
        return;
    }
    std::vector<Integer> records(static_cast<size_t>(FGridItems->Count()));
    for (Integer i = 0; i < FGridItems->Count(); ++i)
        records[static_cast<size_t>(i)] = i;
    RestoreRecords(std::move(records));
}

void TAdvStringGrid::ShiftHiddenRows(Integer FromRow, Integer Count) {
    if (Count == 0 || FGridItems->Count() == 0)
        return;
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = HiddenRowItem(i);
        if (item->Idx() >= FromRow)
            item->SetIdx(item->Idx() + Count);
    }
    FreeHiddenRowLookup();
}

void TAdvStringGrid::ClearHiddenRowStrings() {
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = HiddenRowItem(i)->Items();
        for (Integer c = 0; c < items->Count(); ++c)
            items->SetStrings(c, String());
    }
}

// ---- Hiding and showing columns

void TAdvStringGrid::HideColumns(Integer FromCol, Integer ToCol) {
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, LastMappedCol);
    if (FromCol > ToCol)
        return;
    HideEditor();
    for (Integer c = FromCol; c <= ToCol; ++c) {
        if (c >= ColCount() + FNumHidden || ColCount() <= 1)
            break;
        if (!FVisibleCol[c])
            continue;
        const Integer position = DisplColIndex(c);
        FAllColWidths[c] = ColWidths(position);
        for (Integer p = position; p < ColCount() - 1; ++p)
            SetColWidths(p, ColWidths(p + 1));
        ++FNumHidden;
        FVisibleCol[c] = false;
        if (Col() == ColCount() - 1 && Col() > 0)
            SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
    CellControlsUpdate(false);
}

void TAdvStringGrid::UnHideColumns(Integer FromCol, Integer ToCol) {
    FromCol = std::max(FromCol, 0);
    ToCol = std::min(ToCol, LastMappedCol);
    if (FromCol > ToCol || FNumHidden == 0)
        return;
    HideEditor();
    for (Integer c = FromCol; c <= ToCol; ++c) {
        if (FVisibleCol[c])
            continue;
        --FNumHidden;
        FVisibleCol[c] = true;
        SetColCount(ColCount() + 1);
        const Integer position = DisplColIndex(c);
        for (Integer p = ColCount() - 1; p > position; --p)
            SetColWidths(p, ColWidths(p - 1));
        SetColWidths(position, FAllColWidths[c]);
    }
    Invalidate();
    CellControlsUpdate(false);
}

void TAdvStringGrid::UnHideColumnsAll() {
    UnHideColumns(0, ColCount() + FNumHidden);
}

void TAdvStringGrid::ShiftHiddenColumns(Integer FromCol, Integer Count) {
    if (Count <= 0 || FNumHidden == 0 || FromCol > LastMappedCol)
        return;
    FromCol = std::max(FromCol, 0);
    for (Integer c = LastMappedCol; c >= FromCol; --c) {
        const Integer to = c + Count;
        if (to <= LastMappedCol) {
            FVisibleCol[to] = FVisibleCol[c];
            FAllColWidths[to] = FAllColWidths[c];
        } else if (!FVisibleCol[c]) {
            // A hidden column pushed past the map cannot stay hidden there: it is shown again.
            --FNumHidden;
            SetColCount(ColCount() + 1);
        }
    }
    for (Integer c = FromCol; c < std::min(FromCol + Count, LastMappedCol + 1); ++c)
        FVisibleCol[c] = true;
}

// ---- The save range and the used cells

Integer TAdvStringGrid::SaveStartCol() const {
    return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols();
}

Integer TAdvStringGrid::SaveStartRow() const {
    return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows();
}

Integer TAdvStringGrid::SaveEndCol() const {
    return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

Integer TAdvStringGrid::SaveEndRow() const {
    return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

Integer TAdvStringGrid::SaveColCount() const {
    return FSaveFixedCells || FSaveFixedCols ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

Integer TAdvStringGrid::SaveRowCount() const {
    return FSaveFixedCells || FSaveFixedRows ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

TRect TAdvStringGrid::GetUsedCells() {
    TRect used(0, 0, 0, 0);
    bool found = false;
    for (Integer c = 0; c < ColCount(); ++c) {
        const Integer real = RealColIndex(c);
        for (Integer r = 0; r < RowCount(); ++r) {
            if (Cells(real, r).empty())
                continue;
            if (!found) {
                used = TRect(c, r, c, r);
                found = true;
            } else {
                used.Left = std::min(used.Left, c);
                used.Top = std::min(used.Top, r);
                used.Right = std::max(used.Right, c);
                used.Bottom = std::max(used.Bottom, r);
            }
        }
    }
    return used;
}

// FIXME: a moved column does not yet carry the hidden-column flags and widths or the hidden rows' cells
// of that column along.
void TAdvStringGrid::MoveHiddenColumn(Integer, Integer) {}
