// Tests of the full string grid's hidden rows and columns: the index mapping, hiding and showing, the
// store's own rules through a seeded random life against a plain row model, and the records freed.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"
#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::CheckAgainstModel;
using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;
using advgrid_fixtures::THiddenStoreGrid;
using advgrid_fixtures::TRowModel;

class AdvGridHiddenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new THiddenStoreGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    // A grid of cols x rows whose cell (c, r) reads "c,r".
    void Make(Integer cols, Integer rows) {
        FGrid->SetColCount(cols);
        FGrid->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c)
                FGrid->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
    }
    // Column 0's texts of the displayed rows.
    std::vector<String> Column0() const {
        std::vector<String> texts;
        for (Integer r = 0; r < FGrid->RowCount(); ++r)
            texts.push_back(FGrid->GridCells(0, r));
        return texts;
    }
    static std::vector<String> Rows(std::initializer_list<int> rows) {
        std::vector<String> texts;
        for (int r : rows)
            texts.push_back(u"0," + IntToStr(r));
        return texts;
    }

    THiddenStoreGrid* FGrid = nullptr;
};

TEST_F(AdvGridHiddenTest, MappingIsTheIdentityWithNothingHidden) {
    Make(4, 10);
    for (Integer i : {0, 3, 9, 600}) {
        EXPECT_EQ(FGrid->RealRowIndex(i), i);
        EXPECT_EQ(FGrid->DisplRowIndex(i), i);
        EXPECT_EQ(FGrid->RealColIndex(i), i);
        EXPECT_EQ(FGrid->DisplColIndex(i), i);
    }
    EXPECT_EQ(FGrid->TotalRowCount(), 10);
    EXPECT_EQ(FGrid->TotalColCount(), 4);
}

TEST_F(AdvGridHiddenTest, HidingRowsTwoAndThreeOfTen) {
    Make(4, 10);
    FGrid->SetRowHeights(3, 40);
    FGrid->HideRows(2, 3);
    EXPECT_EQ(FGrid->RowCount(), 8);
    EXPECT_EQ(FGrid->NumHiddenRows(), 2);
    EXPECT_EQ(FGrid->TotalRowCount(), 10);
    EXPECT_EQ(FGrid->RealRowIndex(2), 4);
    EXPECT_EQ(FGrid->DisplRowIndex(4), 2);
    EXPECT_EQ(FGrid->DisplRowIndex(3), 2) << "a hidden row maps to the position it would take";
    EXPECT_TRUE(FGrid->IsHiddenRow(3));
    EXPECT_FALSE(FGrid->IsHiddenRow(4));
    EXPECT_EQ(Column0(), Rows({0, 1, 4, 5, 6, 7, 8, 9}));
    TIntList* list = nullptr;
    EXPECT_TRUE(FGrid->IsHiddenRow(2, list));
    EXPECT_FALSE(FGrid->IsHiddenRow(5, list));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 2);
    delete list;

    FGrid->UnHideRows(2, 3);
    EXPECT_EQ(Column0(), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(FGrid->RowHeights(3), 40) << "the height comes back with the row";
    CheckHiddenStore(*FGrid);
}

struct RowRangeCase {
    const char* name;
    std::vector<std::pair<Integer, Integer>> hide;   // HideRows calls, in order
    std::vector<std::pair<Integer, Integer>> unhide; // then UnHideRows calls
    std::vector<int> shown;                          // real rows displayed after
};

TEST_F(AdvGridHiddenTest, RowRangeEdgeCases) {
    const RowRangeCase cases[] = {
        {"hiding over a hidden row leaves its record", {{3, 3}, {2, 4}}, {}, {0, 1, 5, 6, 7}},
        {"hiding a hidden row again", {{3, 3}, {3, 3}}, {}, {0, 1, 2, 4, 5, 6, 7}},
        {"reversed hide does nothing", {{5, 2}}, {}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"hide clipped to the rows", {{-3, 1}, {6, 40}}, {}, {2, 3, 4, 5}},
        {"the last displayed row stays", {{2, 2}, {0, 9}}, {}, {7}},
        {"unhide with FromRow shown", {{3, 4}, {6, 6}}, {{2, 6}}, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"unhide part of a run", {{2, 5}}, {{4, 9}}, {0, 1, 4, 5, 6, 7}},
        {"unhide a shown row", {{2, 2}}, {{5, 5}}, {0, 1, 3, 4, 5, 6, 7}},
        {"reversed unhide does nothing", {{2, 3}}, {{3, 2}}, {0, 1, 4, 5, 6, 7}},
        {"separate runs in one unhide", {{1, 1}, {3, 4}, {6, 6}}, {{0, 7}}, {0, 1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        delete FGrid;
        FGrid = new THiddenStoreGrid(nullptr);
        Make(3, 8);
        for (auto [from, to] : c.hide)
            FGrid->HideRows(from, to);
        for (auto [from, to] : c.unhide)
            FGrid->UnHideRows(from, to);
        std::vector<String> expected;
        for (int r : c.shown)
            expected.push_back(u"0," + IntToStr(r));
        EXPECT_EQ(Column0(), expected);
        EXPECT_EQ(FGrid->TotalRowCount(), 8);
        CheckHiddenStore(*FGrid);
    }
}

TEST_F(AdvGridHiddenTest, UnHideRowsAllRestoresTextsHeightsAndRecordsInPlace) {
    Make(3, 8);
    for (Integer r : {1, 2, 5}) {
        FGrid->SetGraphicObjects(2, r, new TCellGraphic);
        FGrid->SetRowHeights(r, 30 + r);
    }
    TObject* graphic = FGrid->GraphicObjects(2, 5);
    FGrid->HideRow(5);
    FGrid->HideRows(1, 2);
    EXPECT_EQ(gLiveGraphics, 3) << "hidden rows keep their records";
    EXPECT_EQ(Column0(), Rows({0, 3, 4, 6, 7}));
    FGrid->UnHideRowsAll();
    EXPECT_EQ(FGrid->NumHiddenRows(), 0);
    EXPECT_EQ(Column0(), Rows({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(FGrid->GridCells(2, 5), u"2,5");
    EXPECT_EQ(FGrid->GraphicObjects(2, 5), graphic);
    for (Integer r : {1, 2, 5})
        EXPECT_EQ(FGrid->RowHeights(r), 30 + r);
    EXPECT_EQ(gLiveGraphics, 3);
    CheckHiddenStore(*FGrid);
}

// Past a few dozen hidden rows the mapping uses a bit table: dense and sparse words, word edges and the
// rows past the last hidden one, against the model.
TEST_F(AdvGridHiddenTest, MappingWithManyHiddenRowsAgreesWithTheModel) {
    Make(2, 400);
    TRowModel model;
    for (int r = 0; r < 400; ++r)
        model.rows.push_back({r, false});
    auto hide = [&](Integer from, Integer to) {
        FGrid->HideRows(from, to);
        for (Integer r = from; r <= to; ++r)
            model.rows[static_cast<size_t>(r)].hidden = true;
    };
    for (Integer r = 3; r < 200; r += 3)
        hide(r, r);
    hide(63, 64);
    hide(250, 329);
    hide(383, 383);
    ASSERT_GT(FGrid->NumHiddenRows(), 64);
    Integer d = 0;
    for (Integer r = 0; r < 400; ++r) {
        ASSERT_EQ(FGrid->DisplRowIndex(r), d) << r;
        if (model.rows[static_cast<size_t>(r)].hidden)
            continue;
        ASSERT_EQ(FGrid->RealRowIndex(d), r) << d;
        ASSERT_EQ(FGrid->GridCells(0, d), u"0," + IntToStr(r));
        ++d;
    }
    EXPECT_EQ(FGrid->RealRowIndex(d + 5), 405) << "past the stored rows";
    EXPECT_EQ(FGrid->DisplRowIndex(405), d + 5);
    EXPECT_EQ(FGrid->RealRowIndex(-1), -1);
    CheckHiddenStore(*FGrid);
    FGrid->UnHideRowsAll(); // scattered rows: one merge
    for (Integer r = 0; r < 400; ++r)
        ASSERT_EQ(FGrid->GridCells(0, r), u"0," + IntToStr(r));
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridHiddenTest, HideRowsExSkipsRowsAlreadyHidden) {
    Make(3, 8);
    FGrid->SetGraphicObjects(1, 3, new TCellGraphic);
    FGrid->HideRow(3);
    FGrid->HideRowsEx(2, 4);
    EXPECT_EQ(Column0(), Rows({0, 1, 5, 6, 7}));
    EXPECT_EQ(FGrid->NumHiddenRows(), 3) << "row 3 keeps its one record";
    CheckHiddenStore(*FGrid);
    FGrid->UnHideRowsAll();
    EXPECT_EQ(Column0(), Rows({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_NE(FGrid->GraphicObjects(1, 3), nullptr);
    CheckHiddenStore(*FGrid);
}

// Filter levels: each HideRowList is one level and UnHideRowList brings back the last one only,
// freeing only the records it put back, whatever the level.
TEST_F(AdvGridHiddenTest, RowListLevelsComeBackOneAtATime) {
    Make(3, 10);
    for (Integer r = 0; r < 10; ++r)
        FGrid->SetGraphicObjects(1, r, new TCellGraphic);
    TIntList first(0, 0);
    for (Integer r : {7, 2, 4, 2, 40, -1}) // unsorted, doubled and outside rows
        first.Add(r);
    FGrid->HideRowList(&first);
    EXPECT_EQ(FGrid->FilterLevel(), 1);
    EXPECT_EQ(Column0(), Rows({0, 1, 3, 5, 6, 8, 9}));
    CheckHiddenStore(*FGrid);
    TIntList second(0, 0);
    second.Add(0);
    second.Add(5);
    FGrid->HideRowList(&second);
    EXPECT_EQ(Column0(), Rows({1, 3, 5, 6, 9})); // displayed rows 0 and 5
    CheckHiddenStore(*FGrid);

    FGrid->UnHideRowList();
    FGrid->SetFilterLevel(1); // filtering lowers the level
    EXPECT_EQ(Column0(), Rows({0, 1, 3, 5, 6, 8, 9}));
    EXPECT_EQ(FGrid->NumHiddenRows(), 3) << "the first level's records stay";
    CheckHiddenStore(*FGrid);
    FGrid->UnHideRowList();
    FGrid->SetFilterLevel(0);
    EXPECT_EQ(Column0(), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(FGrid->NumHiddenRows(), 0);
    EXPECT_EQ(gLiveGraphics, 10);

    FGrid->HideRow(9);
    FGrid->UnHideRowList();
    EXPECT_EQ(FGrid->NumHiddenRows(), 1) << "with no level, a row hidden otherwise keeps its record";
    EXPECT_EQ(gLiveGraphics, 10);
    CheckHiddenStore(*FGrid);

    TIntList all(0, 0);
    for (Integer r = 0; r < FGrid->RowCount(); ++r)
        all.Add(r);
    FGrid->HideRowList(&all);
    EXPECT_EQ(FGrid->RowCount(), 1) << "the last displayed row stays";
    EXPECT_EQ(Column0(), Rows({8}));
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridHiddenTest, RowsInsertedAboveAHiddenRowShiftIt) {
    Make(3, 6);
    FGrid->HideRow(4);
    FGrid->InsertRows(1, 2, true);
    EXPECT_TRUE(FGrid->IsHiddenRow(6));
    EXPECT_FALSE(FGrid->IsHiddenRow(4));
    FGrid->UnHideRow(6);
    EXPECT_EQ(FGrid->GridCells(0, 6), u"0,4");
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridHiddenTest, HidingColumnOneOfFour) {
    Make(4, 3);
    FGrid->SetColWidths(1, 33);
    FGrid->SetColWidths(2, 44);
    FGrid->HideColumn(1);
    EXPECT_EQ(FGrid->ColCount(), 3);
    EXPECT_EQ(FGrid->NumHiddenColumns(), 1);
    EXPECT_EQ(FGrid->TotalColCount(), 4);
    EXPECT_TRUE(FGrid->IsHiddenColumn(1));
    EXPECT_EQ(FGrid->RealColIndex(1), 2);
    EXPECT_EQ(FGrid->DisplColIndex(2), 1);
    EXPECT_EQ(FGrid->ColWidths(1), 44) << "the widths close up";
    EXPECT_EQ(FGrid->GridCells(1, 2), u"1,2") << "the column's cells stay in place";
    FGrid->UnHideColumn(1);
    EXPECT_EQ(FGrid->ColCount(), 4);
    EXPECT_EQ(FGrid->ColWidths(1), 33);
    EXPECT_EQ(FGrid->ColWidths(2), 44);
    CheckHiddenStore(*FGrid);
}

struct ColRangeCase {
    const char* name;
    Integer from, to;
    Integer colCount; // after hiding, of 5
    std::vector<Integer> hidden;
};

TEST_F(AdvGridHiddenTest, ColumnRangeEdgeCases) {
    const ColRangeCase cases[] = {
        {"reversed", 3, 1, 5, {}},
        {"clipped below 0", -4, 0, 4, {0}},
        {"the last displayed column stays", 0, 9, 1, {0, 1, 2, 3}},
        {"past the stored columns", 7, 20, 5, {}},
        {"512 and above never hide", 511, 700, 5, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        delete FGrid;
        FGrid = new THiddenStoreGrid(nullptr);
        Make(5, 2);
        FGrid->HideColumns(c.from, c.to);
        EXPECT_EQ(FGrid->ColCount(), c.colCount);
        std::vector<Integer> hidden;
        for (Integer col = 0; col < 600; ++col)
            if (FGrid->IsHiddenColumn(col))
                hidden.push_back(col);
        EXPECT_EQ(hidden, c.hidden);
        CheckHiddenStore(*FGrid);
        FGrid->UnHideColumnsAll();
        EXPECT_EQ(FGrid->ColCount(), 5);
    }
}

TEST_F(AdvGridHiddenTest, ColumnMapsBeyondTheMapStayInBounds) {
    Make(600, 1);
    FGrid->HideColumns(10, 11);
    EXPECT_FALSE(FGrid->IsHiddenColumn(512));
    EXPECT_EQ(FGrid->RealColIndex(10), 12);
    EXPECT_EQ(FGrid->RealColIndex(550), 552) << "every hidden column lies to the left";
    EXPECT_EQ(FGrid->DisplColIndex(552), 550);
    EXPECT_EQ(FGrid->DisplColIndex(5000), 4998);
}

TEST_F(AdvGridHiddenTest, RowsCarryHiddenColumnsWhenHiddenAndShown) {
    Make(4, 5);
    FGrid->SetGraphicObjects(3, 2, new TCellGraphic);
    FGrid->HideColumn(3);
    FGrid->HideRow(2);
    EXPECT_EQ(FGrid->GridCells(3, 2), u"3,3") << "the hidden column's cells moved up with the rows";
    FGrid->UnHideRow(2);
    EXPECT_EQ(FGrid->GridCells(3, 2), u"3,2");
    EXPECT_NE(FGrid->GraphicObjects(3, 2), nullptr);
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridHiddenTest, DestroyFreesRecordsOfHiddenRowsColumnsAndRowsBeyondTheCount) {
    Make(5, 10);
    for (Integer r = 0; r < 10; ++r)
        for (Integer c : {1, 4})
            FGrid->SetGraphicObjects(c, r, new TCellGraphic);
    FGrid->HideColumn(4);
    FGrid->HideRows(2, 4);
    FGrid->HideRow(8);
    FGrid->SetRowCount(4); // two more displayed rows kept beyond the count
    EXPECT_EQ(gLiveGraphics, 20);
    // TearDown checks the count is back at 0 once the grid is gone.
}

// The cells of a hidden row wait in its record as they were stored, cells right of the stored columns
// too; asked for as a list, they become the list, and what is written there comes back.
TEST_F(AdvGridHiddenTest, AHiddenRowsCellsComeBackWholeAndAsTheirListSays) {
    Make(3, 6);
    for (Integer r : {2, 3}) {
        FGrid->SetGridCell(6, r, u"kept right " + IntToStr(r));
        FGrid->SetGraphicObjects(1, r, new TCellGraphic);
    }
    FGrid->HideRows(2, 3);
    THiddenRow* record = FGrid->HiddenRowItem(0);
    EXPECT_EQ(record->Idx(), 2);
    EXPECT_EQ(record->Count(), 7) << "the stored columns, and the cell right of them";
    EXPECT_EQ(record->Strings(6), u"kept right 2");
    EXPECT_NE(record->Objects(1), nullptr);
    TStrings* items = record->Items();
    ASSERT_EQ(items->Count(), 7);
    EXPECT_EQ(items->Strings(0), u"0,2");
    items->SetStrings(0, u"edited");
    CheckHiddenStore(*FGrid);

    FGrid->UnHideRowsAll();
    EXPECT_EQ(FGrid->GridCells(0, 2), u"edited");
    EXPECT_EQ(FGrid->GridCells(0, 3), u"0,3");
    for (Integer r : {2, 3}) {
        EXPECT_EQ(FGrid->GridCells(6, r), u"kept right " + IntToStr(r));
        EXPECT_NE(FGrid->GraphicObjects(1, r), nullptr);
    }
    CheckHiddenStore(*FGrid);
}

// A moved column takes its stored cells in every row, hidden rows included, and the hidden columns
// it passes keep their flags and widths.
TEST_F(AdvGridHiddenTest, MovingAColumnCarriesHiddenColumnsAndHiddenRows) {
    for (bool hideColumn : {false, true}) {
        SCOPED_TRACE(hideColumn ? "a hidden column passed" : "hidden rows only");
        delete FGrid;
        FGrid = new THiddenStoreGrid(nullptr);
        Make(6, 6);
        for (Integer c = 0; c < 6; ++c)
            FGrid->SetColWidths(c, 30 + c);
        if (hideColumn)
            FGrid->HideColumn(2);
        FGrid->HideRow(1);
        FGrid->HideRow(4);
        FGrid->MoveColumn(1, 3);
        EXPECT_EQ(FGrid->IsHiddenColumn(1), hideColumn) << "the passed hidden column moved left";
        CheckHiddenStore(*FGrid);
        FGrid->UnHideRowsAll();
        FGrid->UnHideColumnsAll();
        const std::vector<int> order =
            hideColumn ? std::vector<int>{0, 2, 3, 4, 1, 5} : std::vector<int>{0, 2, 3, 1, 4, 5};
        for (Integer c = 0; c < 6; ++c) {
            const int was = order[static_cast<size_t>(c)];
            EXPECT_EQ(FGrid->ColWidths(c), 30 + was) << "column " << c;
            for (Integer r = 0; r < 6; ++r)
                EXPECT_EQ(FGrid->GridCells(c, r), IntToStr(was) + u"," + IntToStr(r)) << c << "," << r;
        }
        CheckHiddenStore(*FGrid);
    }
}

// InsertCols takes a displayed column: with a column hidden before it, the new column goes in at the
// displayed place, the hidden one stays hidden with its cells, and hidden rows make room too.
TEST_F(AdvGridHiddenTest, ColumnsInsertedAmidHiddenOnesGoWhereTheyAreShown) {
    Make(5, 4);
    for (Integer c = 0; c < 5; ++c)
        FGrid->SetColWidths(c, 30 + c);
    FGrid->HideColumn(1);
    FGrid->HideRow(2);
    FGrid->InsertCols(2, 1);
    EXPECT_EQ(FGrid->ColCount(), 5);
    EXPECT_EQ(FGrid->TotalColCount(), 6);
    EXPECT_TRUE(FGrid->IsHiddenColumn(1));
    const std::vector<String> shown{u"0,0", u"2,0", u"", u"3,0", u"4,0"};
    const std::vector<Integer> widths{30, 32, FGrid->DefaultColWidth(), 33, 34};
    for (Integer d = 0; d < 5; ++d) {
        EXPECT_EQ(FGrid->GridCells(FGrid->RealColIndex(d), 0), shown[static_cast<size_t>(d)]) << d;
        EXPECT_EQ(FGrid->ColWidths(d), widths[static_cast<size_t>(d)]) << d;
    }
    FGrid->UnHideRow(2);
    const std::vector<String> stored{u"0,2", u"1,2", u"2,2", u"", u"3,2", u"4,2"};
    for (Integer c = 0; c < 6; ++c)
        EXPECT_EQ(FGrid->GridCells(c, 2), stored[static_cast<size_t>(c)]) << c;
    FGrid->UnHideColumn(1);
    EXPECT_EQ(FGrid->ColWidths(1), 31);
    CheckHiddenStore(*FGrid);
}

// The modified and enabled flags and the disjunct row selection are kept per displayed row: a hidden
// row's flags wait in its record and come back with it, and the rows below keep theirs.
TEST_F(AdvGridHiddenTest, RowFlagsLeaveAndComeBackWithTheirRows) {
    Make(3, 10);
    FGrid->ShowModified()->SetEnabled(true);
    FGrid->UseEnabledRows();
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    auto flag = [](int slot, int r) -> std::intptr_t {
        if (r >= 8) // the lists stop short of the last rows, which read as clear
            return 0;
        return slot == 0 ? r % 2 : slot == 1 ? (r % 3 == 0 ? 1 : 0) : (r == 4 ? 1 : 0);
    };
    for (Integer r = 0; r < 8; ++r)
        for (int slot = 0; slot < 3; ++slot)
            FGrid->SetRowFlag(slot, r, flag(slot, r));
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        for (Integer d = 0; d < FGrid->RowCount(); ++d) {
            const int r = StrToInt(FGrid->GridCells(0, d).substr(2));
            for (int slot = 0; slot < 3; ++slot)
                EXPECT_EQ(FGrid->RowFlag(slot, d), flag(slot, r)) << "row " << r << ", list " << slot;
        }
        CheckHiddenStore(*FGrid);
    };
    FGrid->HideRows(2, 4);
    check("rows 2 to 4 hidden");
    TIntList rows(0, 0);
    rows.Add(0);
    rows.Add(5);
    FGrid->HideRowList(&rows);
    check("and rows 0 and 8 as a level");
    FGrid->UnHideRowList();
    check("the level back");
    FGrid->UnHideRows(3, 3);
    check("row 3 back");
    FGrid->UnHideRowsAll();
    check("all back");
}

struct SaveRangeCase {
    const char* name;
    bool fixedCells, fixedRows, fixedCols;
    TRect range; // start column, start row, end column, end row
    Integer colCount, rowCount;
};

TEST_F(AdvGridHiddenTest, SaveRangeFollowsTheFixedFlags) {
    // 6 columns (1 fixed, 1 fixed right) and 20 rows (2 fixed, 1 fixed footer).
    const SaveRangeCase cases[] = {
        {"fixed cells saved by default", true, false, false, TRect(0, 0, 5, 19), 6, 20},
        {"no fixed cells", false, false, false, TRect(1, 2, 4, 18), 4, 17},
        {"fixed rows only", false, true, false, TRect(1, 0, 4, 19), 4, 20},
        {"fixed columns only", false, false, true, TRect(0, 2, 5, 18), 6, 17},
    };
    Make(6, 20);
    FGrid->SetFixedCols(1);
    FGrid->SetFixedRows(2);
    FGrid->SetFixedRightCols(1);
    FGrid->SetFixedFooters(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->SetSaveFixedCells(c.fixedCells);
        FGrid->SetSaveFixedRows(c.fixedRows);
        FGrid->SetSaveFixedCols(c.fixedCols);
        EXPECT_EQ(
            TRect(FGrid->SaveStartCol(), FGrid->SaveStartRow(), FGrid->SaveEndCol(), FGrid->SaveEndRow()),
            c.range);
        EXPECT_EQ(FGrid->SaveColCount(), c.colCount);
        EXPECT_EQ(FGrid->SaveRowCount(), c.rowCount);
    }
}

TEST_F(AdvGridHiddenTest, UsedCellsBoundsTheCellsWithText) {
    FGrid->SetColCount(6);
    FGrid->SetRowCount(6);
    EXPECT_EQ(FGrid->UsedCells(), TRect(0, 0, 0, 0));
    FGrid->SetCells(2, 1, u"a");
    FGrid->SetCells(4, 3, u"b");
    EXPECT_EQ(FGrid->UsedCells(), TRect(2, 1, 4, 3));
    FGrid->HideColumn(1);
    EXPECT_EQ(FGrid->UsedCells(), TRect(1, 1, 3, 3)) << "in displayed columns";
}

// A seeded life of hiding, showing, inserting, appending and shrinking rows, and of hiding, moving and
// inserting columns, checked after each step against a plain row model (texts and row flags) and by
// the store's own rules. Some steps ask a hidden row for its cells as a list, so that both ways back
// into the grid are taken.
TEST_F(AdvGridHiddenTest, RandomSequenceKeepsTheStoreInStepWithAPlainModel) {
    std::vector<Integer> marked{0, 3}; // stored columns that carry the row's id
    std::mt19937 random(20261211);
    auto pick = [&](Integer lo, Integer hi) {
        return std::uniform_int_distribution<Integer>(lo, hi)(random);
    };
    FGrid->SetColCount(5);
    FGrid->SetRowCount(1);
    FGrid->ShowModified()->SetEnabled(true);
    FGrid->UseEnabledRows();
    TRowModel model;
    int nextId = 0;
    auto writeRow = [&](Integer displayed) {
        const int id = nextId++;
        for (Integer c : marked)
            FGrid->SetGridCell(c, displayed, TRowModel::Text(id));
        if (id % 3 == 0)
            FGrid->SetGraphicObjects(marked[1], displayed, new TCellGraphic);
        FGrid->SetRowFlag(0, displayed, id % 2);
        FGrid->SetRowFlag(1, displayed, id % 3 == 0 ? 1 : 0);
        return id;
    };
    model.rows.push_back({writeRow(0), false});

    for (int step = 0; step < 500; ++step) {
        const Integer total = static_cast<Integer>(model.rows.size());
        const int op = pick(0, 12);
        std::string what;
        if (op <= 1 || op == 9) {
            const Integer from = pick(-2, total + 1), to = from + pick(-1, 4);
            what = (op == 9 ? "HideRowsEx " : "HideRows ") + std::to_string(from) + " " + std::to_string(to);
            if (op == 9)
                FGrid->HideRowsEx(from, to);
            else
                FGrid->HideRows(from, to);
            Integer lastShown = -1;
            for (Integer r = std::max(from, 0); r <= std::min(to, total - 1); ++r) {
                if (!model.rows[static_cast<size_t>(r)].hidden)
                    lastShown = r;
                model.rows[static_cast<size_t>(r)].hidden = true;
            }
            if (model.Displayed() == 0) // the last displayed row stays
                model.rows[static_cast<size_t>(lastShown)].hidden = false;
        } else if (op <= 3) {
            const Integer from = pick(-2, total + 1), to = from + pick(-1, 6);
            what = "UnHideRows " + std::to_string(from) + " " + std::to_string(to);
            FGrid->UnHideRows(from, to);
            for (Integer r = std::max(from, 0); r <= std::min(to, total - 1); ++r)
                model.rows[static_cast<size_t>(r)].hidden = false;
        } else if (op == 4) {
            what = "AddRow";
            FGrid->AddRow();
            model.rows.push_back({writeRow(FGrid->RowCount() - 1), false});
        } else if (op == 5) {
            const Integer displayed = pick(0, FGrid->RowCount()), count = pick(1, 3);
            what = "InsertRows " + std::to_string(displayed) + " " + std::to_string(count);
            const Integer real = displayed < model.Displayed() ? model.RealOf(displayed) : total;
            // Rows appended after hidden rows at the end go after them.
            FGrid->InsertRows(displayed, count, true);
            for (Integer i = 0; i < count; ++i)
                model.rows.insert(model.rows.begin() + real + i, {writeRow(displayed + i), false});
        } else if (op == 6) {
            what = "UnHideRowsAll";
            FGrid->UnHideRowsAll();
            for (auto& row : model.rows)
                row.hidden = false;
        } else if (op == 7) {
            // The count shrinks only over shown rows at the end, which are then kept beyond the count.
            Integer k = 0;
            while (k < 3 && k < FGrid->RowCount() - 1 &&
                   !model.rows[static_cast<size_t>(total - 1 - k)].hidden)
                ++k;
            what = "SetRowCount -" + std::to_string(k);
            FGrid->SetRowCount(FGrid->RowCount() - k);
            model.rows.resize(static_cast<size_t>(total - k));
        } else if (op == 8) {
            const Integer col = pick(1, FGrid->TotalColCount() - 1);
            what = "toggle column " + std::to_string(col);
            if (FGrid->IsHiddenColumn(col))
                FGrid->UnHideColumn(col);
            else
                FGrid->HideColumn(col);
        } else if (op == 10) {
            what = "a hidden row's cells as a list";
            if (FGrid->NumHiddenRows() > 0)
                FGrid->HiddenRowItem(pick(0, FGrid->NumHiddenRows() - 1))->Items();
        } else if (op == 11) {
            const Integer from = pick(0, FGrid->ColCount() - 1), to = pick(0, FGrid->ColCount() - 1);
            what = "MoveColumn " + std::to_string(from) + " " + std::to_string(to);
            const Integer realFrom = FGrid->RealColIndex(from), realTo = FGrid->RealColIndex(to);
            FGrid->MoveColumn(from, to);
            for (Integer& c : marked)
                c = BlockMovedIndex(c, realFrom, 1, realTo);
        } else if (FGrid->TotalColCount() < 10) {
            const Integer at = pick(0, FGrid->ColCount());
            what = "InsertCols " + std::to_string(at);
            const Integer stored = at < FGrid->ColCount() ? FGrid->RealColIndex(at) : FGrid->TotalColCount();
            FGrid->InsertCols(at, 1);
            for (Integer& c : marked)
                c += c >= stored ? 1 : 0;
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        CheckHiddenStore(*FGrid);
        CheckAgainstModel(*FGrid, model, marked);
        Integer d = 0;
        for (const auto& row : model.rows) {
            if (row.hidden)
                continue;
            ASSERT_EQ(FGrid->RowFlag(0, d), row.id % 2) << "modified flag of displayed row " << d;
            ASSERT_EQ(FGrid->RowFlag(1, d), row.id % 3 == 0 ? 1 : 0) << "enabled flag of displayed row " << d;
            ++d;
        }
        if (HasFatalFailure() || HasFailure())
            return;
    }
}

TEST_F(AdvGridHiddenTest, RowListLevelsMixedWithRangesKeepEveryRowOnce) {
    constexpr Integer rows = 24;
    Make(3, rows);
    for (Integer r = 0; r < rows; r += 4)
        FGrid->SetGraphicObjects(2, r, new TCellGraphic);
    // After every step the store keeps its rules and each row is in the grid or in one record, once.
    auto check = [&] {
        CheckHiddenStore(*FGrid);
        std::vector<int> seen(static_cast<size_t>(rows), 0);
        auto see = [&](const String& text) {
            const Integer r = StrToInt(text.substr(2));
            ASSERT_TRUE(r >= 0 && r < rows) << "row " << r;
            ++seen[static_cast<size_t>(r)];
        };
        for (Integer d = 0; d < FGrid->RowCount(); ++d)
            see(FGrid->GridCells(0, d));
        for (Integer i = 0; i < FGrid->NumHiddenRows(); ++i)
            see(FGrid->HiddenRowItem(i)->Strings(0));
        EXPECT_EQ(FGrid->TotalRowCount(), rows);
        EXPECT_EQ(seen, std::vector<int>(static_cast<size_t>(rows), 1));
        EXPECT_EQ(gLiveGraphics, rows / 4);
    };

    // Two levels each hide displayed row 2, so two records share Idx 2; a row hidden by its real index
    // next to them follows them when all come back.
    for (int level = 0; level < 2; ++level) {
        TIntList list(0, 0);
        list.Add(2);
        FGrid->HideRowList(&list);
        check();
    }
    FGrid->HideRow(3);
    check();
    FGrid->UnHideRowsAll();
    check();
    EXPECT_EQ(FGrid->RowCount(), rows);
    FGrid->SetFilterLevel(0);

    // Filter levels, ranges hidden and shown by real index and levels removed, in a seeded mix.
    std::mt19937 random(11122026);
    auto pick = [&](Integer lo, Integer hi) {
        return std::uniform_int_distribution<Integer>(lo, hi)(random);
    };
    for (int step = 0; step < 400 && !HasFailure(); ++step) {
        const Integer total = FGrid->TotalRowCount();
        const int op = pick(0, 5);
        std::string what;
        if (op == 0) {
            TIntList list(0, 0);
            for (Integer n = pick(1, 4); n > 0; --n)
                list.Add(pick(0, FGrid->RowCount() - 1));
            what = "HideRowList of " + std::to_string(list.Count());
            FGrid->HideRowList(&list);
        } else if (op <= 2) {
            const Integer from = pick(0, total - 1), to = from + pick(0, 3);
            what = "HideRows " + std::to_string(from) + " " + std::to_string(to);
            FGrid->HideRows(from, to);
        } else if (op == 3) {
            const Integer from = pick(0, total - 1), to = from + pick(0, 5);
            what = "UnHideRows " + std::to_string(from) + " " + std::to_string(to);
            FGrid->UnHideRows(from, to);
        } else if (op == 4 && FGrid->FilterLevel() > 0) {
            what = "UnHideRowList";
            FGrid->UnHideRowList();
            FGrid->SetFilterLevel(FGrid->FilterLevel() - 1); // filtering lowers the level
        } else {
            what = "UnHideRowsAll";
            FGrid->UnHideRowsAll();
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        check();
    }
}

} // namespace
