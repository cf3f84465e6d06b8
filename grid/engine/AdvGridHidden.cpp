// Hiding and showing rows and columns, and the mapping between displayed and stored indexes.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace {

// Below this many hidden rows the mapping bisects the sorted rows; from it on, a bit table.
constexpr size_t BitsFrom = 64;

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
        // HideRows keeps the records in order; only appended ones need a sort.
        if (!std::is_sorted(FHiddenRowLookup.begin(), FHiddenRowLookup.end()))
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

// ---- Row flags that travel with their rows

namespace {

// Takes the entries of the listed places (ascending) out of list into values, absent ones reading as
// null, and closes the others up, in one pass.
void TakeListEntries(TList& list, const std::vector<Integer>& places, std::vector<void*>& values) {
    values.assign(places.size(), nullptr);
    const Integer count = list.Count();
    if (places.empty() || places.front() >= count)
        return;
    void** items = list.List();
    Integer write = places.front();
    size_t next = 0;
    for (Integer read = places.front(); read < count; ++read) {
        if (next < places.size() && places[next] == read)
            values[next++] = items[read];
        else
            items[write++] = items[read];
    }
    // The entries past the new end are stale copies: cleared first, so that shortening deletes nothing.
    for (Integer i = write; i < count; ++i)
        items[i] = nullptr;
    list.SetCount(write);
}

// Puts values at the listed places (ascending) of the grown lines, the old entries filling the other
// places in their order; the list reaches as far as its old entries or a value that is not null.
void PutListEntries(TList& list, const std::vector<Integer>& places, const std::vector<void*>& values) {
    const Integer old = list.Count();
    Integer needed = old > 0 ? ListInsertedIndex(old - 1, places) + 1 : 0;
    for (size_t i = 0; i < places.size(); ++i)
        if (values[i] != nullptr)
            needed = std::max(needed, places[i] + 1);
    if (needed == 0)
        return;
    const size_t inside =
        static_cast<size_t>(std::lower_bound(places.begin(), places.end(), needed) - places.begin());
    std::vector<void*> items(list.List(), list.List() + old);
    items.resize(static_cast<size_t>(needed) - inside, nullptr);
    const std::vector<Integer> placesInside(places.begin(),
                                            places.begin() + static_cast<std::ptrdiff_t>(inside));
    InsertListed(items, placesInside, static_cast<size_t>(needed),
                 [] { return static_cast<void*>(nullptr); });
    for (size_t i = 0; i < inside; ++i)
        items[static_cast<size_t>(places[i])] = values[i];
    list.SetCount(needed);
    std::copy(items.begin(), items.end(), list.List());
}

} // namespace

std::vector<std::pair<TList*, int>> TAdvStringGrid::RowFlagLists() const {
    std::vector<std::pair<TList*, int>> lists;
    if (ModifiedRowsKept())
        lists.emplace_back(FModifiedRows.get(), 0);
    if (FUseEnabledRows)
        lists.emplace_back(FEnabledRows.get(), 1);
    // With RowSelectPersistent the selection is kept by real row, which hiding does not change.
    if (FMouseActions->DisjunctRowSelect() && !FMouseActions->RowSelectPersistent())
        lists.emplace_back(FRowSelect.get(), 2);
    return lists;
}

void TAdvStringGrid::TakeRowFlags(const std::vector<Integer>& rows, THiddenRow* records) {
    std::vector<void*> values;
    for (auto [list, slot] : RowFlagLists()) {
        TakeListEntries(*list, rows, values);
        for (size_t i = 0; i < rows.size(); ++i)
            records[i].SetRowFlag(slot, values[i]);
    }
}

void TAdvStringGrid::PutRowFlags(const std::vector<Integer>& places,
                                 const std::vector<THiddenRow*>& records) {
    const std::vector<std::pair<TList*, int>> lists = RowFlagLists();
    if (lists.empty())
        return;
    std::vector<void*> values(places.size());
    for (auto [list, slot] : lists) {
        for (size_t i = 0; i < places.size(); ++i)
            values[i] = records[i]->RowFlag(slot);
        PutListEntries(*list, places, values);
    }
}

// ---- Hiding and showing rows
//
// A hidden row leaves the grid as a whole: its stored cells (texts and record references, hidden
// columns included), height and flags move into its record in one piece, and the rows below close up
// in one pass; showing rows puts them back the same way. No cell is copied on the way.

void TAdvStringGrid::HideRowRange(Integer FromRow, Integer ToRow, bool Append) {
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (FromRow > ToRow)
        return;
    const std::vector<Integer>& lookup = HiddenRowLookup();
    const auto below = std::lower_bound(lookup.begin(), lookup.end(), FromRow);
    const auto inRange = std::upper_bound(below, lookup.end(), ToRow);
    const Integer alreadyHidden = static_cast<Integer>(inRange - below);
    const Integer count = ToRow - FromRow + 1 - alreadyHidden;
    if (count <= 0)
        return;
    // The framework grid keeps at least one row, so the last displayed row is never hidden: the range
    // stops before it.
    if (count >= RowCount()) {
        if (RowCount() > 1)
            HideRowRange(FromRow, RealRowIndex(RowCount() - 2), Append);
        return;
    }
    // The rows of the range still shown are consecutive displayed rows from here.
    const Integer position = static_cast<Integer>(below - lookup.begin());
    const Integer first = FromRow - position;
    const std::vector<Integer> hiddenInRange(below, inRange);
    FreeHiddenRowLookup();

    std::vector<Integer> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), first);
    // HideRows keeps the records sorted by Idx: the new ones go after the records of lower rows.
    std::vector<THiddenRow>& store = FGridItems->Rows();
    const size_t at = Append ? store.size() : static_cast<size_t>(std::min(position, FGridItems->Count()));
    const size_t oldSize = store.size();
    store.resize(oldSize + static_cast<size_t>(count));
    if (at < oldSize)
        std::rotate(store.begin() + static_cast<std::ptrdiff_t>(at),
                    store.begin() + static_cast<std::ptrdiff_t>(oldSize), store.end());
    THiddenRow* records = store.data() + at;
    Integer real = FromRow;
    size_t skip = 0;
    const Integer columns = TotalColCount();
    for (Integer i = 0; i < count; ++i) {
        // The real row of the next shown row of the range: past the rows of the range already hidden.
        while (skip < hiddenInRange.size() && hiddenInRange[skip] <= real)
            real += hiddenInRange[skip++] == real ? 1 : 0;
        THiddenRow& record = records[i];
        record.FIdx = real++;
        record.FHeight = Append ? 0 : RowHeights(first + i);
        record.FColumns = columns;
    }
    TakeRowFlags(rows, records);
    TakeRowCells(rows, [records](size_t i, std::unique_ptr<TStringGrid::CellRow> cells) {
        records[i].FCells = std::move(cells);
    });
    // The records of the range already hidden follow the new ones in a sorted store: merged in.
    if (!Append && alreadyHidden > 0 && at + static_cast<size_t>(count + alreadyHidden) <= store.size()) {
        const auto from = store.begin() + static_cast<std::ptrdiff_t>(at);
        const auto middle = from + count;
        const auto last = middle + alreadyHidden;
        const auto byIdx = [](const THiddenRow& a, const THiddenRow& b) { return a.Idx() < b.Idx(); };
        if (std::is_sorted(middle, last, byIdx) && middle->Idx() >= FromRow && (last - 1)->Idx() <= ToRow)
            std::inplace_merge(from, middle, last, byIdx);
    }

    DeleteRowBlock(first, count);
    SetRowCount(RowCount());
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, first, ColCount() - 1, RowCount()));
}

void TAdvStringGrid::UnHideRows(Integer FromRow, Integer ToRow) {
    if (FromRow > ToRow || FGridItems->Count() == 0)
        return;
    std::vector<Integer> records;
    const std::vector<THiddenRow>& store = FGridItems->Rows();
    records.reserve(store.size());
    for (size_t i = 0; i < store.size(); ++i) {
        const Integer idx = store[i].Idx();
        if (idx >= FromRow && idx <= ToRow)
            records.push_back(static_cast<Integer>(i));
    }
    RestoreRecords(std::move(records));
}

void TAdvStringGrid::RestoreRecords(std::vector<Integer> records) {
    if (records.empty())
        return;
    std::vector<THiddenRow>& store = FGridItems->Rows();
    const size_t n = records.size();
    std::vector<THiddenRow*> restored(n);
    bool sorted = true;
    for (size_t j = 0; j < n; ++j) {
        restored[j] = &store[static_cast<size_t>(records[j])];
        sorted = sorted && (j == 0 || restored[j - 1]->Idx() <= restored[j]->Idx());
    }
    if (!sorted) {
        std::stable_sort(records.begin(), records.end(), [&store](Integer a, Integer b) {
            return store[static_cast<size_t>(a)].Idx() < store[static_cast<size_t>(b)].Idx();
        });
        for (size_t j = 0; j < n; ++j)
            restored[j] = &store[static_cast<size_t>(records[j])];
    }
    const Integer oldCount = RowCount();
    const Integer newCount = oldCount + static_cast<Integer>(n);

    // Where each row goes in the grown rows: ascending, so that one pass spreads the rows apart. Each
    // row takes its place among the real rows: before it lie the shown rows below its Idx (its Idx
    // less every record below it, these included) and the rows of these restored before it. Records
    // of other origins may lie between these; each is counted where it lies.
    std::vector<Integer> places(n);
    {
        const std::vector<Integer>& lookup = HiddenRowLookup();
        size_t allBelow = 0; // records of the whole store below the j-th one's Idx
        for (size_t j = 0; j < n; ++j) {
            const Integer idx = restored[j]->Idx();
            while (allBelow < lookup.size() && lookup[allBelow] < idx)
                ++allBelow;
            const Integer place = idx - static_cast<Integer>(allBelow);
            places[j] = std::clamp(place, 0, oldCount) + static_cast<Integer>(j);
            // Records of different filter levels may share an Idx: those come back one after another,
            // and the rows after them go below them. Each place stays at most oldCount + j.
            if (j > 0)
                places[j] = std::max(places[j], places[j - 1] + 1);
        }
    }
    FreeHiddenRowLookup();
    // The rows the count takes in may keep records from before; the restored rows replace them.
    FreeRowRecords(oldCount, newCount - 1);
    InsertRowList(places);

    // The rows come back with the default height; only other heights are set. A record whose cells
    // were asked for as a list gives them back from the list.
    std::vector<Integer> heightRows;
    std::vector<Integer> heights;
    std::vector<size_t> listed;
    const Integer defaultHeight = DefaultRowHeight();
    PutRowCells(places, [&](size_t j) {
        THiddenRow& record = *restored[j];
        if (record.FHeight > 0 && record.FHeight != defaultHeight) {
            heightRows.push_back(places[j]);
            heights.push_back(record.FHeight);
        }
        if (record.ItemsList() != nullptr)
            listed.push_back(j);
        return std::move(record.FCells);
    });
    for (size_t j : listed) {
        const TStringList* items = restored[j]->ItemsList();
        for (Integer c = 0; c < items->Count(); ++c) {
            SetGridCell(c, places[j], items->Strings(c));
            PutCellProperties(c, places[j], static_cast<TCellProperties*>(items->Objects(c)));
        }
    }
    SetRowHeightList(heightRows, heights);
    PutRowFlags(places, restored);

    // The records handed their cells to the rows: out of the store, the others closing up in order.
    if (!std::is_sorted(records.begin(), records.end()))
        std::sort(records.begin(), records.end());
    if (records.back() - records.front() + 1 == static_cast<Integer>(n)) {
        store.erase(store.begin() + records.front(), store.begin() + records.back() + 1);
    } else {
        DeleteListed(store, records, store.size());
        store.resize(store.size() - n);
    }

    SetRowCount(RowCount());
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, places.front(), ColCount() - 1, RowCount() - 1));
}

void TAdvStringGrid::HideRowsEx(Integer FromRow, Integer ToRow) {
    HideRowRange(FromRow, ToRow, true);
}

void TAdvStringGrid::HideRowList(TIntList* RowList) {
    if (RowList == nullptr)
        return;
    // One pass over the list as TIntList stores it (an integer in each pointer slot): a list in order,
    // as filtering makes it, needs no sort.
    std::vector<Integer> rows;
    rows.reserve(static_cast<size_t>(RowList->Count()));
    const Integer count = RowCount();
    void* const* slots = RowList->List();
    bool sorted = true;
    for (Integer i = 0; i < RowList->Count(); ++i) {
        const Integer row = static_cast<Integer>(reinterpret_cast<NativeInt>(slots[i]));
        if (row < 0 || row >= count)
            continue;
        if (!rows.empty() && row <= rows.back()) {
            sorted = sorted && row == rows.back();
            if (row == rows.back())
                continue;
        }
        rows.push_back(row);
    }
    if (!sorted) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    }
    // The framework grid keeps at least one row, so the last displayed row stays.
    if (!rows.empty() && static_cast<Integer>(rows.size()) >= RowCount())
        rows.pop_back();
    const Integer level = FFilterLevel++;
    if (rows.empty())
        return;
    // Displayed to real before the store grows: the lookup is built from the records as they are.
    HiddenRowLookup();
    std::vector<THiddenRow>& store = FGridItems->Rows();
    const size_t base = store.size();
    store.resize(base + rows.size());
    THiddenRow* records = store.data() + base;
    const Integer columns = TotalColCount();
    for (size_t i = 0; i < rows.size(); ++i) {
        THiddenRow& record = records[i];
        record.FIdx = rows[i];
        record.FHeight = RowHeights(rows[i]);
        record.FLevel = level;
        record.FFiltered = true;
        record.FColumns = columns;
    }
    // The records keep the rows' real indexes, read before any of them leaves (the new records are
    // not in the lookup yet).
    for (size_t i = 0; i < rows.size(); ++i)
        records[i].FIdx = RealRowIndex(rows[i]);
    FreeHiddenRowLookup();
    TakeRowFlags(rows, records);
    TakeRowCells(rows, [records](size_t i, std::unique_ptr<TStringGrid::CellRow> cells) {
        records[i].FCells = std::move(cells);
    });
    // One pass: every row that stays moves up to the next free place.
    DeleteRowList(rows);
    SetRowCount(RowCount());
    CellControlsUpdate(false);
    if (!ComponentState().Contains(csDestroying))
        DoCellsChanged(TRect(0, rows.front(), ColCount() - 1, RowCount()));
}

void TAdvStringGrid::UnHideRowList() {
    // Only the last level's records: rows hidden otherwise (HideRow, collapsed nodes) and lower levels
    // stay hidden, whatever the level.
    const Integer level = FFilterLevel - 1;
    std::vector<Integer> records;
    for (Integer i = 0; i < FGridItems->Count(); ++i) {
        const THiddenRow* record = HiddenRowItem(i);
        if (record->Filtered() && record->Level() == level)
            records.push_back(i);
    }
    RestoreRecords(std::move(records));
}

void TAdvStringGrid::UnHideRowsAll() {
    if (FGridItems->Count() == 0)
        return;
    std::vector<Integer> records(static_cast<size_t>(FGridItems->Count()));
    std::iota(records.begin(), records.end(), 0);
    RestoreRecords(std::move(records));
}

void TAdvStringGrid::HideRowsBySelection(bool Selected) {
    std::vector<bool> chosen;
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        chosen.push_back(GetRowSelect(RowSelectIndex(r)) == Selected);
    BeginUpdate();
    struct EndScope {
        TAdvStringGrid& grid;
        ~EndScope() { grid.EndUpdate(); }
    } endScope{*this};
    // From the bottom up, so that the displayed rows above a hidden run keep their indexes.
    for (Integer last = static_cast<Integer>(chosen.size()) - 1; last >= 0; --last) {
        if (!chosen[static_cast<size_t>(last)])
            continue;
        Integer first = last;
        while (first > 0 && chosen[static_cast<size_t>(first - 1)])
            --first;
        HideRows(RealRowIndex(FixedRows() + first), RealRowIndex(FixedRows() + last));
        last = first;
    }
}

void TAdvStringGrid::ShiftHiddenRows(Integer FromRow, Integer Count) {
    if (Count == 0 || FGridItems->Count() == 0)
        return;
    for (THiddenRow& record : FGridItems->Rows())
        if (record.Idx() >= FromRow)
            record.SetIdx(record.Idx() + Count);
    FreeHiddenRowLookup();
}

void TAdvStringGrid::ClearHiddenRowStrings() {
    for (THiddenRow& record : FGridItems->Rows()) {
        TStrings* items = record.Items();
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
    if (Count <= 0)
        return;
    FromCol = std::max(FromCol, 0);
    // The hidden rows' cells make room too, each row as far as it reaches.
    for (THiddenRow& record : FGridItems->Rows()) {
        TStrings* items = record.Items();
        if (FromCol > items->Count())
            continue;
        for (Integer i = 0; i < Count; ++i)
            items->InsertObject(FromCol, String(), nullptr);
    }
    if (FNumHidden == 0 || FromCol > LastMappedCol)
        return;
    for (Integer c = LastMappedCol; c >= FromCol; --c) {
        const Integer to = c + Count;
        if (to <= LastMappedCol) {
            FVisibleCol[to] = FVisibleCol[c];
            FAllColWidths[to] = FAllColWidths[c];
        } else if (!FVisibleCol[c]) {
            // A hidden column pushed past the map cannot stay hidden there: it is shown again.
            ShowColumnPastMap(to, FAllColWidths[c]);
        }
    }
    for (Integer c = FromCol; c < std::min(FromCol + Count, LastMappedCol + 1); ++c)
        FVisibleCol[c] = true;
}

void TAdvStringGrid::ShowColumnPastMap(Integer StoredCol, Integer Width) {
    // Every hidden column lies left of it, so its displayed place is its stored one less all of them.
    --FNumHidden;
    SetColCount(ColCount() + 1);
    const Integer position = std::clamp(StoredCol - FNumHidden, 0, ColCount() - 1);
    for (Integer p = ColCount() - 1; p > position; --p)
        SetColWidths(p, ColWidths(p - 1));
    SetColWidths(position, Width);
}

void TAdvStringGrid::MoveHiddenColumn(Integer FromCol, Integer ToCol) {
    if (FromCol == ToCol || FromCol < 0 || ToCol < 0)
        return;
    // The hidden rows' cells move as the displayed rows' did, each row as far as it reaches.
    const Integer reach = std::max(FromCol, ToCol) + 1;
    for (THiddenRow& record : FGridItems->Rows()) {
        TStrings* items = record.Items();
        if (items->Count() <= std::min(FromCol, ToCol))
            continue;
        while (items->Count() < reach)
            items->Add(String());
        items->Move(FromCol, ToCol);
    }
    if (FNumHidden == 0)
        return;
    // The flags and widths of the stored columns between move with the cells; past the map's end a
    // column reads as shown.
    const Integer lo = std::min(FromCol, ToCol);
    const Integer hi = std::max(FromCol, ToCol);
    if (lo > LastMappedCol)
        return;
    std::vector<std::pair<bool, Integer>> moved(static_cast<size_t>(hi - lo + 1));
    for (Integer c = lo; c <= hi; ++c) {
        const bool visible = c > LastMappedCol || FVisibleCol[c];
        const Integer width = c > LastMappedCol ? 0 : FAllColWidths[c];
        moved[static_cast<size_t>(BlockMovedIndex(c, FromCol, 1, ToCol) - lo)] = {visible, width};
    }
    std::vector<Integer> pushedOut;
    for (Integer c = lo; c <= hi; ++c) {
        const auto [visible, width] = moved[static_cast<size_t>(c - lo)];
        if (c <= LastMappedCol) {
            FVisibleCol[c] = visible;
            FAllColWidths[c] = width;
        } else if (!visible) {
            pushedOut.push_back(width);
        }
    }
    // A hidden column pushed past the map cannot stay hidden there: it is shown again.
    for (Integer width : pushedOut)
        ShowColumnPastMap(LastMappedCol + 1, width);
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
