// Tests of removing rows and columns from the full string grid: each removal's edge cases, the per-row
// state that follows the rows, the hidden-row store through a seeded random life against a plain row
// model, and the records freed.
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"
#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

// Reaches the grid's per-row lists and cell controls, which have no accessors yet.
class TRemoveTestProbe {
public:
    static TIntList& Modified(TAdvStringGrid& g) { return *g.FModifiedRows; }
    static TIntList& Enabled(TAdvStringGrid& g) { return *g.FEnabledRows; }
    static TList& RowSelect(TAdvStringGrid& g) { return *g.FRowSelect; }
    static TControlList& Controls(TAdvStringGrid& g) { return *g.FControlList; }
    static void UseEnabledRows(TAdvStringGrid& g) { g.FUseEnabledRows = true; }
    static Integer MaxRowCount(const TAdvStringGrid& g) { return g.FMaxRowCount; }
};

namespace {

using advgrid_fixtures::CheckAgainstModel;
using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;
using advgrid_fixtures::THiddenStoreGrid;
using advgrid_fixtures::TRowModel;

class TRemoveGrid : public THiddenStoreGrid {
public:
    using TAdvStringGrid::DeleteRowsCore;
    using THiddenStoreGrid::THiddenStoreGrid;
};

using Op = std::function<void(TRemoveGrid&)>;

TIntList* ListOf(std::initializer_list<Integer> rows) {
    auto* list = new TIntList(0, 0);
    for (Integer r : rows)
        list->Insert(list->Count(), r);
    return list;
}

Op RowList(std::initializer_list<Integer> rows) {
    std::vector<Integer> copy(rows);
    return [copy](TRemoveGrid& g) {
        TIntList list(0, 0);
        for (Integer r : copy)
            list.Insert(list.Count(), r);
        g.RemoveRowList(&list);
    };
}

class AdvGridRemoveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(gLiveGraphics, 0); }
    void TearDown() override { EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid"; }

    // A grid of cols x rows whose cell (c, r) reads "r<r>" in column 0 and "c,r" elsewhere; with
    // records, column 1 of every row holds a record.
    static TRemoveGrid* Make(Integer cols, Integer rows, bool records = true) {
        auto* g = new TRemoveGrid(nullptr);
        g->SetColCount(cols);
        g->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r) {
            g->SetGridCell(0, r, u"r" + IntToStr(r));
            for (Integer c = 1; c < cols; ++c)
                g->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
            if (records)
                g->SetGraphicObjects(1, r, new TCellGraphic);
        }
        return g;
    }
    // Column 0's texts of the displayed rows.
    static std::vector<String> Column0(const TAdvStringGrid& g) {
        std::vector<String> texts;
        for (Integer r = 0; r < g.RowCount(); ++r)
            texts.push_back(g.GridCells(0, r));
        return texts;
    }
    static std::vector<String> Rows(std::initializer_list<int> rows) {
        std::vector<String> texts;
        for (int r : rows)
            texts.push_back(r < 0 ? String() : u"r" + IntToStr(r));
        return texts;
    }
};

struct RowCase {
    const char* name;
    Op op;
    std::vector<String> rows; // column 0 afterwards
    TRect changed;            // the changed cells reported; empty for none
    Integer maxRowCount;      // FMaxRowCount afterwards
};

TEST_F(AdvGridRemoveTest, RowRemovalsTakeOutTheRowsAndFreeTheirRecords) {
    // 8 rows r0 .. r7, each with a record; FMaxRowCount starts at 10, the constructor's count.
    const TRect none(0, 0, 0, 0);
    const RowCase cases[] = {
        {"a start at RowCount does nothing", [](TRemoveGrid& g) { g.RemoveRows(8, 1); },
         Rows({0, 1, 2, 3, 4, 5, 6, 7}), none, 10},
        {"a negative start does nothing", [](TRemoveGrid& g) { g.RemoveRows(-1, 3); },
         Rows({0, 1, 2, 3, 4, 5, 6, 7}), none, 10},
        {"a count of 0 does nothing", [](TRemoveGrid& g) { g.RemoveRows(2, 0); },
         Rows({0, 1, 2, 3, 4, 5, 6, 7}), none, 10},
        {"a block amid", [](TRemoveGrid& g) { g.RemoveRows(2, 3); }, Rows({0, 1, 5, 6, 7}), TRect(0, 2, 2, 5),
         7},
        {"a count past the end is clipped", [](TRemoveGrid& g) { g.RemoveRows(6, 5); },
         Rows({0, 1, 2, 3, 4, 5}), TRect(0, 6, 2, 8), 8},
        {"every row leaves one empty row", [](TRemoveGrid& g) { g.RemoveRows(0, 8); }, Rows({-1}),
         TRect(0, 0, 2, 8), 2},
        {"RemoveRowsCore", [](TRemoveGrid& g) { g.RemoveRowsCore(2, 3); }, Rows({0, 1, 5, 6, 7}),
         TRect(0, 2, 2, 5), 7},
        {"RemoveRowsEx", [](TRemoveGrid& g) { g.RemoveRowsEx(2, 3); }, Rows({0, 1, 5, 6, 7}),
         TRect(0, 2, 2, 5), 7},
        {"RemoveRowList sorts, drops repeats and rows outside", RowList({5, 2, 2, 9, -1, 3}),
         Rows({0, 1, 4, 6, 7}), TRect(0, 2, 2, 6), 7},
        {"RemoveRowList of nothing in the grid", RowList({8, -2}), Rows({0, 1, 2, 3, 4, 5, 6, 7}), none, 10},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRemoveGrid* g = Make(3, 8);
        std::vector<TRect> changed;
        g->OnCellsChanged = [&](TObject*, const TRect& r) { changed.push_back(r); };
        Integer moved = 0;
        g->OnRowMoved = [&](TObject*, Integer, Integer) { ++moved; };
        c.op(*g);
        EXPECT_EQ(Column0(*g), c.rows);
        EXPECT_EQ(moved, 0) << "removal fires no OnRowMoved";
        if (c.changed == none)
            EXPECT_TRUE(changed.empty());
        else
            EXPECT_EQ(changed, std::vector<TRect>{c.changed});
        EXPECT_EQ(TRemoveTestProbe::MaxRowCount(*g), c.maxRowCount);
        // Only the rows left hold records, and the rows the removal left beyond the count come back
        // empty when the count grows again.
        const Integer left = c.rows == Rows({-1}) ? 0 : static_cast<Integer>(c.rows.size());
        EXPECT_EQ(gLiveGraphics, left);
        EXPECT_EQ(static_cast<Integer>(g->RecordReferences().size()), left);
        g->SetRowCount(8);
        for (Integer r = left; r < 8; ++r)
            EXPECT_EQ(g->GridCells(0, r), u"") << "row " << r;
        delete g;
    }
}

TEST_F(AdvGridRemoveTest, DeleteRowsCoreLeavesTheRecordsToItsCaller) {
    // The rows' records are dropped from the grid, not freed: a caller that took them (as hiding does)
    // still owns them, and without UpdateCellControls the hidden rows' indexes are its business too.
    TRemoveGrid* g = Make(2, 6);
    g->HideRow(5);
    std::vector<TCellProperties*> taken{g->PeekCellProperties(1, 2), g->PeekCellProperties(1, 3)};
    g->DeleteRowsCore(2, 2, false);
    EXPECT_EQ(Column0(*g), Rows({0, 1, 4}));
    EXPECT_EQ(gLiveGraphics, 6);
    EXPECT_EQ(g->RecordReferences().size(), 4u);
    EXPECT_EQ(g->HiddenRowItem(0)->Idx(), 5);
    for (TCellProperties* record : taken)
        g->FreeDetachedRecord(record);
    delete g;
}

struct CurrentCase {
    const char* name;
    Integer footers;
    Integer current;
    Op op;
    Integer expected; // the current row afterwards
};

TEST_F(AdvGridRemoveTest, TheCurrentRowIndexStaysOrFallsBackToTheLastDataRow) {
    // 10 rows, 1 fixed row.
    const CurrentCase cases[] = {
        {"below the removed rows, the index stays", 0, 6, [](TRemoveGrid& g) { g.RemoveRows(2, 2); }, 6},
        {"removing the current row keeps its index", 0, 4, [](TRemoveGrid& g) { g.RemoveRows(4, 1); }, 4},
        {"an index that is gone falls to the last data row", 1, 9, [](TRemoveGrid& g) { g.RemoveRows(5, 3); },
         5},
        {"RemoveRowsCore counts the footer rows as rows", 1, 9,
         [](TRemoveGrid& g) { g.RemoveRowsCore(5, 3); }, 6},
        {"RemoveRowsEx falls back to the first normal row", 1, 9,
         [](TRemoveGrid& g) { g.RemoveRowsEx(5, 3); }, 1},
    };
    for (const CurrentCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRemoveGrid* g = Make(3, 10, false);
        g->SetFixedRows(1);
        g->SetFixedFooters(c.footers);
        g->SetRow(c.current);
        c.op(*g);
        EXPECT_EQ(g->Row(), c.expected);
        delete g;
    }

    // With no data row left the selection moves out of the grid, though not counted as hidden.
    TRemoveGrid* g = Make(3, 10, false);
    g->SetFixedRowAlways(true);
    g->SetFixedRows(1);
    g->SetRow(5);
    g->RemoveRows(1, 9);
    EXPECT_EQ(g->RowCount(), 1);
    EXPECT_EQ(g->Selection().Top, g->RowCount());
    EXPECT_FALSE(g->SelHidden());
    delete g;
}

TEST_F(AdvGridRemoveTest, HiddenRowsKeepTheirPlacesAmongTheRowsLeft) {
    // Real row 4 of 5 hidden: removing displayed row 2 gives its record Idx 3, and it comes back between
    // its old neighbours.
    TRemoveGrid* g = Make(2, 5);
    g->HideRow(4);
    g->RemoveRows(2, 1);
    ASSERT_EQ(g->NumHiddenRows(), 1);
    EXPECT_EQ(g->HiddenRowItem(0)->Idx(), 3);
    g->UnHideRowsAll();
    EXPECT_EQ(Column0(*g), Rows({0, 1, 3, 4}));
    delete g;

    // Real rows 3 and 4 of 8 hidden between the two displayed rows removed (real 2 and 5): each hidden
    // row moves up by the removed rows above it only.
    const std::pair<const char*, Op> removals[] = {
        {"RemoveRows", [](TRemoveGrid& g) { g.RemoveRows(2, 2); }},
        {"RemoveRowsCore", [](TRemoveGrid& g) { g.RemoveRowsCore(2, 2); }},
        {"RemoveRowsEx", [](TRemoveGrid& g) { g.RemoveRowsEx(2, 2); }},
        {"RemoveRowList", RowList({3, 2})},
    };
    for (const auto& [name, op] : removals) {
        SCOPED_TRACE(name);
        g = Make(2, 8);
        g->HideRows(3, 4);
        op(*g);
        CheckHiddenStore(*g);
        EXPECT_EQ(Column0(*g), Rows({0, 1, 6, 7}));
        EXPECT_TRUE(g->IsHiddenRow(2));
        EXPECT_TRUE(g->IsHiddenRow(3));
        g->UnHideRowsAll();
        EXPECT_EQ(Column0(*g), Rows({0, 1, 3, 4, 6, 7}));
        EXPECT_EQ(gLiveGraphics, 6);
        delete g;
    }
}

TEST_F(AdvGridRemoveTest, RowFlagsAndCellControlsFollowTheRows) {
    struct FlagCase {
        const char* name;
        Op op;
        std::vector<Integer> flags; // each list afterwards
    };
    // Lists of 7 entries on a grid of 10 rows: rows past a list read as clear.
    const std::vector<Integer> before{0, 0, 0, 1, 1, 0, 1};
    const FlagCase cases[] = {
        {"RemoveRows drops row 3's flag", [](TRemoveGrid& g) { g.RemoveRows(3, 1); }, {0, 0, 0, 1, 0, 1}},
        {"RemoveRowsCore", [](TRemoveGrid& g) { g.RemoveRowsCore(3, 1); }, {0, 0, 0, 1, 0, 1}},
        {"RemoveRowsEx", [](TRemoveGrid& g) { g.RemoveRowsEx(3, 1); }, {0, 0, 0, 1, 0, 1}},
        {"RemoveRowList", RowList({1, 3}), {0, 0, 1, 0, 1}},
        {"a block over the list's end", [](TRemoveGrid& g) { g.RemoveRows(5, 4); }, {0, 0, 0, 1, 1}},
        {"rows past the list", [](TRemoveGrid& g) { g.RemoveRows(7, 2); }, before},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRemoveGrid* g = Make(3, 10, false);
        g->ShowModified()->SetEnabled(true);
        TRemoveTestProbe::UseEnabledRows(*g);
        g->MouseActions()->SetDisjunctRowSelect(true);
        for (Integer flag : before) {
            TRemoveTestProbe::Modified(*g).Insert(TRemoveTestProbe::Modified(*g).Count(), flag);
            TRemoveTestProbe::Enabled(*g).Insert(TRemoveTestProbe::Enabled(*g).Count(), flag);
            TRemoveTestProbe::RowSelect(*g).Add(flag != 0 ? g : nullptr);
        }
        c.op(*g);
        std::vector<Integer> modified, enabled, selected;
        for (Integer i = 0; i < TRemoveTestProbe::Modified(*g).Count(); ++i)
            modified.push_back(TRemoveTestProbe::Modified(*g).Items(i));
        for (Integer i = 0; i < TRemoveTestProbe::Enabled(*g).Count(); ++i)
            enabled.push_back(TRemoveTestProbe::Enabled(*g).Items(i));
        for (Integer i = 0; i < TRemoveTestProbe::RowSelect(*g).Count(); ++i)
            selected.push_back(TRemoveTestProbe::RowSelect(*g).Items(i) != nullptr ? 1 : 0);
        EXPECT_EQ(modified, c.flags);
        EXPECT_EQ(enabled, c.flags);
        EXPECT_EQ(selected, c.flags);
        delete g;
    }

    // A persistent row selection belongs to stored rows: with real row 3 hidden, displayed rows 2 and 3
    // are real rows 2 and 4, whose entries go.
    for (const auto& [name, op] :
         {std::pair<const char*, Op>{"RemoveRows", [](TRemoveGrid& g) { g.RemoveRows(2, 2); }},
          std::pair<const char*, Op>{"RemoveRowsCore", [](TRemoveGrid& g) { g.RemoveRowsCore(2, 2); }},
          std::pair<const char*, Op>{"RemoveRowsEx", [](TRemoveGrid& g) { g.RemoveRowsEx(2, 2); }},
          std::pair<const char*, Op>{"RemoveRowList", RowList({2, 3})}}) {
        SCOPED_TRACE(name);
        TRemoveGrid* g = Make(3, 10, false);
        g->MouseActions()->SetDisjunctRowSelect(true);
        g->MouseActions()->SetRowSelectPersistent(true);
        for (Integer flag : {0, 1, 0, 1, 1, 0, 1})
            TRemoveTestProbe::RowSelect(*g).Add(flag != 0 ? g : nullptr);
        g->HideRow(3);
        op(*g);
        std::vector<Integer> selected;
        for (Integer i = 0; i < TRemoveTestProbe::RowSelect(*g).Count(); ++i)
            selected.push_back(TRemoveTestProbe::RowSelect(*g).Items(i) != nullptr ? 1 : 0);
        EXPECT_EQ(selected, (std::vector<Integer>{0, 1, 1, 0, 1}));
        delete g;
    }

    // Controls sit at stored rows: with real row 1 hidden, displayed rows 3 and 4 are real 4 and 5.
    for (const auto& [name, op] :
         {std::pair<const char*, Op>{"RemoveRows", [](TRemoveGrid& g) { g.RemoveRows(3, 2); }},
          std::pair<const char*, Op>{"RemoveRowList", RowList({3, 4})}}) {
        SCOPED_TRACE(name);
        TRemoveGrid* g = Make(3, 10, false);
        std::vector<TControl*> controls;
        for (Integer row : {1, 3, 5, 8}) {
            controls.push_back(new TControl(nullptr));
            TRemoveTestProbe::Controls(*g).AddControl(1, row, controls.back());
        }
        g->HideRow(1);
        op(*g);
        std::vector<Integer> rows;
        for (Integer i = 0; i < TRemoveTestProbe::Controls(*g).Count(); ++i)
            rows.push_back(TRemoveTestProbe::Controls(*g).Control(i)->Y());
        EXPECT_EQ(rows, (std::vector<Integer>{1, 3, 6})) << "the control of real row 5 goes";
        EXPECT_FALSE(controls[2]->Visible());
        EXPECT_TRUE(controls[3]->Visible());
        delete g;
        for (TControl* control : controls)
            control->Free();
    }
}

TEST_F(AdvGridRemoveTest, RemoveDuplicatesComparesTheDisplayedColumnWithOrWithoutCase) {
    struct DuplicateCase {
        const char* name;
        bool doCase;
        std::vector<String> left; // column 2's texts afterwards
    };
    // Column 2 is displayed column 1 once column 1 is hidden; the fixed row and the footer row repeat
    // texts of the normal rows and stay.
    const DuplicateCase cases[] = {
        {"ignoring case", false, {u"a", u"a", u"b", u"a"}},
        {"with case", true, {u"a", u"a", u"A", u"b", u"B", u"a"}},
    };
    for (const DuplicateCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRemoveGrid* g = Make(4, 7);
        const String texts[] = {u"a", u"a", u"A", u"b", u"a", u"B", u"a"};
        for (Integer r = 0; r < 7; ++r)
            g->SetGridCell(2, r, texts[r]);
        g->SetFixedRows(1);
        g->SetFixedFooters(1);
        g->HideColumn(1);
        g->RemoveDuplicates(1, c.doCase);
        std::vector<String> left;
        for (Integer r = 0; r < g->RowCount(); ++r)
            left.push_back(g->GridCells(2, r));
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(gLiveGraphics, static_cast<int>(c.left.size()));
        delete g;
    }
}

struct ColCase {
    const char* name;
    Op op;
    std::vector<String> row1;    // row 1's displayed texts afterwards
    std::vector<Integer> widths; // displayed widths afterwards
};

TEST_F(AdvGridRemoveTest, RemoveColsTakesStoredColumnsWithWidthsRecordsAndHiddenFlags) {
    // 6 columns c of width 10 + c, each cell with a record; columns 2 and 4 hidden in some cases.
    const ColCase cases[] = {
        {"(2, 10) on 6 columns removes 2 to 5",
         [](TRemoveGrid& g) { g.RemoveCols(2, 10); },
         {u"r1", u"1,1"},
         {10, 11}},
        {"a negative start does nothing",
         [](TRemoveGrid& g) { g.RemoveCols(-1, 2); },
         {u"r1", u"1,1", u"2,1", u"3,1", u"4,1", u"5,1"},
         {10, 11, 12, 13, 14, 15}},
        {"a start past the columns does nothing",
         [](TRemoveGrid& g) { g.RemoveCols(6, 1); },
         {u"r1", u"1,1", u"2,1", u"3,1", u"4,1", u"5,1"},
         {10, 11, 12, 13, 14, 15}},
        {"a block amid",
         [](TRemoveGrid& g) { g.RemoveCols(1, 2); },
         {u"r1", u"3,1", u"4,1", u"5,1"},
         {10, 13, 14, 15}},
        {"a hidden column inside the block",
         [](TRemoveGrid& g) {
             g.HideColumns(2, 2);
             g.HideColumns(4, 4);
             g.RemoveCols(1, 3);
         },
         {u"r1", u"5,1"},
         {10, 15}},
        {"a hidden column right of the block keeps its flag",
         [](TRemoveGrid& g) {
             g.HideColumns(4, 4);
             g.RemoveCols(0, 2);
             g.UnHideColumnsAll();
         },
         {u"2,1", u"3,1", u"4,1", u"5,1"},
         {12, 13, 14, 15}},
        {"a hidden row's cells follow",
         [](TRemoveGrid& g) {
             g.HideRow(1);
             g.RemoveCols(1, 2);
             g.UnHideRowsAll();
         },
         {u"r1", u"3,1", u"4,1", u"5,1"},
         {10, 13, 14, 15}},
    };
    for (const ColCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRemoveGrid* g = new TRemoveGrid(nullptr);
        g->SetColCount(6);
        g->SetRowCount(3);
        for (Integer col = 0; col < 6; ++col) {
            g->SetColWidths(col, 10 + col);
            for (Integer r = 0; r < 3; ++r) {
                g->SetGridCell(col, r, col == 0 ? u"r" + IntToStr(r) : IntToStr(col) + u"," + IntToStr(r));
                g->SetGraphicObjects(col, r, new TCellGraphic);
            }
        }
        c.op(*g);
        CheckHiddenStore(*g);
        std::vector<String> row1;
        std::vector<Integer> widths;
        for (Integer d = 0; d < g->ColCount(); ++d) {
            row1.push_back(g->GridCells(g->RealColIndex(d), 1));
            widths.push_back(g->ColWidths(d));
        }
        EXPECT_EQ(row1, c.row1);
        EXPECT_EQ(widths, c.widths);
        EXPECT_EQ(gLiveGraphics, 3 * g->TotalColCount()) << "only the columns left hold records";
        delete g;
    }
}

TEST_F(AdvGridRemoveTest, RemovalBySelectionKeepsTheUpdateCount) {
    struct SelectionCase {
        const char* name;
        Op op;
        std::vector<String> column0;
        std::vector<String> row0;
    };
    // 6 columns and 10 rows, 1 fixed row and column, 1 footer row; rows 3 to 5 and columns 2 to 3
    // selected.
    const std::vector<String> allCols{u"r0", u"1,0", u"2,0", u"3,0", u"4,0", u"5,0"};
    const SelectionCase cases[] = {
        {"selected rows", [](TRemoveGrid& g) { g.RemoveSelectedRows(); }, Rows({0, 1, 2, 6, 7, 8, 9}),
         allCols},
        {"unselected rows", [](TRemoveGrid& g) { g.RemoveUnSelectedRows(); }, Rows({0, 3, 4, 5, 9}), allCols},
        {"selected columns",
         [](TRemoveGrid& g) { g.RemoveSelectedCols(); },
         Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
         {u"r0", u"1,0", u"4,0", u"5,0"}},
        {"unselected columns",
         [](TRemoveGrid& g) { g.RemoveUnSelectedCols(); },
         Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
         {u"r0", u"2,0", u"3,0"}},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRemoveGrid* g = Make(6, 10);
        g->SetFixedRows(1);
        g->SetFixedCols(1);
        g->SetFixedFooters(1);
        g->SetSelection(TGridRect{2, 3, 3, 5});
        g->BeginUpdate();
        c.op(*g);
        EXPECT_TRUE(g->LockUpdate());
        g->EndUpdate();
        EXPECT_FALSE(g->LockUpdate()) << "the removal left the count as it found it";
        EXPECT_EQ(Column0(*g), c.column0);
        std::vector<String> row0;
        for (Integer col = 0; col < g->ColCount(); ++col)
            row0.push_back(g->GridCells(col, 0));
        EXPECT_EQ(row0, c.row0);
        delete g;
    }
}

TEST_F(AdvGridRemoveTest, UpdateLockCountsOnlyWhileVisible) {
    TRemoveGrid* g = Make(2, 2, false);
    g->BeginUpdate();
    g->BeginUpdate();
    g->EndUpdate();
    EXPECT_TRUE(g->LockUpdate()) << "nested";
    g->EndUpdate();
    EXPECT_FALSE(g->LockUpdate());
    g->EndUpdate();
    EXPECT_FALSE(g->LockUpdate()) << "never below 0";

    g->SetVisible(false);
    g->BeginUpdate();
    EXPECT_FALSE(g->LockUpdate()) << "a hidden grid does not lock";
    g->StartUpdate();
    g->SetVisible(true);
    EXPECT_TRUE(g->LockUpdate()) << "StartUpdate counts whatever the visibility";
    g->ResetUpdate();
    EXPECT_FALSE(g->LockUpdate());
    delete g;
}

TEST_F(AdvGridRemoveTest, DestroyFreesEveryRecordAfterRemovals) {
    // Hidden rows, a hidden column, rows kept beyond the count, and a clearing of the displayed cells
    // that must not make the grid forget the records it still keeps elsewhere.
    TRemoveGrid* g = Make(5, 12);
    for (Integer r = 0; r < 12; ++r)
        g->SetGraphicObjects(4, r, new TCellGraphic);
    g->HideColumn(4);
    g->HideRows(2, 3);
    g->RemoveRows(1, 2);
    TIntList* list = ListOf({0, 5});
    g->RemoveRowList(list);
    delete list;
    g->RemoveCols(2, 1);
    g->SetRowCount(3);
    g->Clear();
    EXPECT_GT(gLiveGraphics, 0);
    delete g;
    // TearDown checks the count is back at 0.
}

// A seeded life of hiding, showing, inserting, removing and count changes, checked after each step
// against a plain row model, by the store's own rules, and by the records alive.
TEST_F(AdvGridRemoveTest, RandomSequenceKeepsTheStoreInStepWithAPlainModel) {
    const std::vector<Integer> marked{0, 3};
    std::mt19937 random(20261212);
    auto pick = [&](Integer lo, Integer hi) {
        return std::uniform_int_distribution<Integer>(lo, hi)(random);
    };
    TRemoveGrid* g = new TRemoveGrid(nullptr);
    g->SetColCount(5);
    g->SetRowCount(1);
    TRowModel model;
    int nextId = 0;
    auto writeRow = [&](Integer displayed) {
        const int id = nextId++;
        for (Integer c : marked)
            g->SetGridCell(c, displayed, TRowModel::Text(id));
        if (id % 3 == 0)
            g->SetGraphicObjects(3, displayed, new TCellGraphic);
        return id;
    };
    model.rows.push_back({writeRow(0), false});
    // Removes the displayed rows listed (valid ones only) from the model; a grid left without a
    // displayed row keeps one empty row after the hidden ones.
    auto removeDisplayed = [&](std::vector<Integer> displayed) {
        std::vector<Integer> real;
        for (Integer d : displayed)
            if (d >= 0 && d < model.Displayed())
                real.push_back(model.RealOf(d));
        std::sort(real.begin(), real.end());
        real.erase(std::unique(real.begin(), real.end()), real.end());
        for (auto it = real.rbegin(); it != real.rend(); ++it)
            model.rows.erase(model.rows.begin() + *it);
        if (model.Displayed() == 0)
            model.rows.push_back({-1, false});
    };

    for (int step = 0; step < 500; ++step) {
        const Integer total = static_cast<Integer>(model.rows.size());
        const int op = pick(0, 11);
        std::string what;
        if (op <= 1) {
            const Integer from = pick(-1, total), to = from + pick(0, 4);
            what = "HideRows " + std::to_string(from) + " " + std::to_string(to);
            g->HideRows(from, to);
            Integer lastShown = -1;
            for (Integer r = std::max(from, 0); r <= std::min(to, total - 1); ++r) {
                if (!model.rows[static_cast<size_t>(r)].hidden)
                    lastShown = r;
                model.rows[static_cast<size_t>(r)].hidden = true;
            }
            if (model.Displayed() == 0) // the last displayed row stays
                model.rows[static_cast<size_t>(lastShown)].hidden = false;
        } else if (op == 2) {
            const Integer from = pick(-1, total), to = from + pick(0, 6);
            what = "UnHideRows " + std::to_string(from) + " " + std::to_string(to);
            g->UnHideRows(from, to);
            for (Integer r = std::max(from, 0); r <= std::min(to, total - 1); ++r)
                model.rows[static_cast<size_t>(r)].hidden = false;
        } else if (op <= 4) {
            const Integer displayed = pick(0, g->RowCount()), count = pick(1, 4);
            what = "InsertRows " + std::to_string(displayed) + " " + std::to_string(count);
            const Integer real = displayed < model.Displayed() ? model.RealOf(displayed) : total;
            g->InsertRows(displayed, count, true);
            for (Integer i = 0; i < count; ++i)
                model.rows.insert(model.rows.begin() + real + i, {writeRow(displayed + i), false});
        } else if (op <= 7) {
            const Integer from = pick(-1, g->RowCount()), count = pick(0, 4);
            std::vector<Integer> displayed;
            if (from >= 0)
                for (Integer d = from; d < from + count; ++d)
                    displayed.push_back(d);
            if (op == 5) {
                what = "RemoveRows ";
                g->RemoveRows(from, count);
            } else if (op == 6) {
                what = "RemoveRowsEx ";
                g->RemoveRowsEx(from, count);
            } else {
                what = "RemoveRowsCore ";
                g->RemoveRowsCore(from, count);
            }
            what += std::to_string(from) + " " + std::to_string(count);
            removeDisplayed(displayed);
        } else if (op == 8) {
            TIntList list(0, 0);
            std::vector<Integer> displayed;
            what = "RemoveRowList";
            for (Integer n = pick(0, 4); n > 0; --n) {
                displayed.push_back(pick(-1, g->RowCount()));
                list.Insert(list.Count(), displayed.back());
                what += " " + std::to_string(displayed.back());
            }
            g->RemoveRowList(&list);
            removeDisplayed(displayed);
        } else if (op == 9) {
            what = "UnHideRowsAll";
            g->UnHideRowsAll();
            for (auto& row : model.rows)
                row.hidden = false;
        } else if (op == 10) {
            // The count shrinks only over shown rows at the end, which are then kept beyond the count.
            Integer k = 0;
            while (k < 3 && k < g->RowCount() - 1 && !model.rows[static_cast<size_t>(total - 1 - k)].hidden)
                ++k;
            what = "SetRowCount -" + std::to_string(k);
            g->SetRowCount(g->RowCount() - k);
            model.rows.resize(static_cast<size_t>(total - k));
        } else {
            const Integer col = pick(1, 4);
            what = "toggle column " + std::to_string(col);
            if (g->IsHiddenColumn(col))
                g->UnHideColumn(col);
            else
                g->HideColumn(col);
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        CheckHiddenStore(*g);
        CheckAgainstModel(*g, model, marked);
        // Each record carries one counted object: a record freed twice or lost shows here.
        EXPECT_EQ(static_cast<size_t>(gLiveGraphics), g->RecordReferences().size());
        if (HasFatalFailure() || HasFailure())
            break;
    }
    delete g;
}

} // namespace

// Cells kept beyond the column count travel with their rows through a list removal, and their records
// go with the removed rows; inserted rows move a disjunct row selection along; huge counts are cut.
TEST_F(AdvGridRemoveTest, ListRemovalsInsertsAndHugeCountsKeepEveryRow) {
    TRemoveGrid* g = Make(3, 10);
    g->SetColCount(6);
    g->SetGridCell(5, 6, u"far6");
    g->SetGridCell(5, 9, u"far9");
    g->SetGraphicObjects(5, 9, new advgrid_fixtures::TCellGraphic);
    g->SetGraphicObjects(5, 2, new advgrid_fixtures::TCellGraphic);
    g->SetColCount(3);
    TIntList list(0, 0);
    list.Add(2);
    g->RemoveRowList(&list);
    g->SetColCount(6);
    EXPECT_EQ(g->GridCells(5, 5), u"far6");
    EXPECT_EQ(g->GridCells(5, 8), u"far9");
    EXPECT_NE(g->GraphicObjects(5, 8), nullptr);
    EXPECT_EQ(Column0(*g), Rows({0, 1, 3, 4, 5, 6, 7, 8, 9}));

    g->MouseActions()->SetDisjunctRowSelect(true);
    for (Integer r = 0; r < g->RowCount(); ++r)
        TRemoveTestProbe::RowSelect(*g).Add(r == 5 ? g : nullptr);
    g->InsertRows(2, 1);
    EXPECT_EQ(g->GridCells(0, 6), u"r6");
    EXPECT_EQ(TRemoveTestProbe::RowSelect(*g).Items(6), g);
    EXPECT_EQ(TRemoveTestProbe::RowSelect(*g).Items(5), nullptr);

    g->ClearRows(5, std::numeric_limits<Integer>::max());
    EXPECT_EQ(g->GridCells(0, 4), u"r4");
    EXPECT_EQ(g->GridCells(0, 5), u"");
    EXPECT_EQ(g->GridCells(0, g->RowCount() - 1), u"");
    g->Free();
}
