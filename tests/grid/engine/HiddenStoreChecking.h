// A checker of the full string grid's hidden-row store and column map, and a plain row model to run
// grids against, for the tests of hiding, filtering, removal and outlines alike.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace advgrid_fixtures {

// Opens up the hidden store for the checker.
class THiddenStoreGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::HiddenRowItem;
    using TAdvStringGrid::HiddenRowLookup;
    using TAdvStringGrid::RowFlagLists;
    using TAdvStringGrid::TAdvStringGrid;
    void UseEnabledRows() { FUseEnabledRows = true; }
    // The entry of displayed row d in a row-flag list now kept (0 modified, 1 enabled, 2 disjunct
    // selection); an absent entry, or a list not kept, reads 0.
    std::intptr_t RowFlag(int slot, Integer d) const {
        for (auto [list, s] : RowFlagLists())
            if (s == slot)
                return d < list->Count() ? reinterpret_cast<std::intptr_t>(list->Items(d)) : 0;
        return 0;
    }
    void SetRowFlag(int slot, Integer d, std::intptr_t value) {
        for (auto [list, s] : RowFlagLists()) {
            if (s != slot)
                continue;
            while (list->Count() <= d)
                list->Add(nullptr);
            list->SetItems(d, reinterpret_cast<void*>(value));
        }
    }
    Integer NumHiddenField() const { return FNumHidden; }
    Integer FilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(Integer value) { FFilterLevel = value; }
    // Every record reference the grid holds: in its cells (beyond the counts too) and in the hidden rows.
    std::vector<const void*> RecordReferences() const {
        std::vector<const void*> refs;
        ForEachObjectSlot(0, 0, std::numeric_limits<Integer>::max(), std::numeric_limits<Integer>::max(),
                          [&](Integer, Integer, TObject* object) { refs.push_back(object); });
        // Read without making the records' string lists, so that the checks leave the store as it was.
        for (Integer i = 0; i < NumHiddenRows(); ++i) {
            const THiddenRow* record = HiddenRowItem(i);
            for (Integer c = 0; c < record->Count(); ++c)
                if (record->Objects(c) != nullptr)
                    refs.push_back(record->Objects(c));
        }
        return refs;
    }
};

// Checks the store's own rules: the lookup equals the sorted Idx values, every filter level lies below
// the grid's, the counts add up, FNumHidden matches the column map, and each property record is held in one
// place only.
inline void CheckHiddenStore(const THiddenStoreGrid& grid) {
    std::vector<Integer> idx;
    for (Integer i = 0; i < grid.NumHiddenRows(); ++i)
        idx.push_back(grid.HiddenRowItem(i)->Idx());
    std::sort(idx.begin(), idx.end());
    EXPECT_EQ(grid.HiddenRowLookup(), idx) << "the lookup agrees with the records";
    for (Integer i = 0; i < grid.NumHiddenRows(); ++i) {
        const Integer level = grid.HiddenRowItem(i)->Level();
        EXPECT_TRUE(level == 0 || level < grid.FilterLevel()) << "record " << i << " of level " << level;
    }
    EXPECT_EQ(grid.TotalRowCount(), grid.RowCount() + static_cast<Integer>(idx.size()));
    EXPECT_EQ(grid.TotalColCount(), grid.ColCount() + grid.NumHiddenField());
    Integer hiddenCols = 0;
    for (Integer c = 0; c < VisibleColEntries - 1; ++c)
        hiddenCols += grid.ColVisible(c) ? 0 : 1;
    EXPECT_EQ(grid.NumHiddenColumns(), hiddenCols) << "FNumHidden matches the map";
    const std::vector<const void*> refs = grid.RecordReferences();
    const std::set<const void*> distinct(refs.begin(), refs.end());
    EXPECT_EQ(distinct.size(), refs.size()) << "each property record is held once";
}

// A plain model of a grid's rows in real order: each row has an id (-1 for an empty row) and a hidden
// flag. A grid row with id n reads "r<n>" in the marked columns.
struct TRowModel {
    struct Row {
        int id;
        bool hidden;
    };
    std::vector<Row> rows;

    Integer Displayed() const {
        return static_cast<Integer>(
            std::count_if(rows.begin(), rows.end(), [](const Row& r) { return !r.hidden; }));
    }
    // The real index of displayed row d, or -1.
    Integer RealOf(Integer d) const {
        for (size_t r = 0; r < rows.size(); ++r)
            if (!rows[r].hidden && d-- == 0)
                return static_cast<Integer>(r);
        return -1;
    }
    static String Text(int id) { return id < 0 ? String() : u"r" + IntToStr(id); }
};

// Compares the grid with the model: the counts, the mapping both ways, the hidden flags and the texts
// of the marked stored columns in every displayed row.
inline void CheckAgainstModel(const THiddenStoreGrid& grid, const TRowModel& model,
                              const std::vector<Integer>& markedCols) {
    ASSERT_EQ(grid.RowCount(), model.Displayed());
    ASSERT_EQ(grid.TotalRowCount(), static_cast<Integer>(model.rows.size()));
    Integer d = 0;
    for (Integer r = 0; r < static_cast<Integer>(model.rows.size()); ++r) {
        const auto& row = model.rows[static_cast<size_t>(r)];
        ASSERT_EQ(grid.IsHiddenRow(r), row.hidden) << "real row " << r;
        ASSERT_EQ(grid.DisplRowIndex(r), d) << "real row " << r;
        if (row.hidden)
            continue;
        ASSERT_EQ(grid.RealRowIndex(d), r) << "displayed row " << d;
        for (Integer c : markedCols)
            ASSERT_EQ(grid.GridCells(c, d), TRowModel::Text(row.id))
                << "displayed row " << d << ", column " << c;
        ++d;
    }
}

} // namespace advgrid_fixtures
