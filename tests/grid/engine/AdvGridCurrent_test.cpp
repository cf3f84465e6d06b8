// Tests of the full string grid's current cell, top row, scrolling into view, hidden selection and the
// moving of rows and columns, with a seeded run of moves against a plain model.
#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;

class TCurrentGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SetAEC(Integer col, Integer row) {
        FAECol = col;
        FAERow = row;
    }
    TPoint AEC() const { return TPoint(FAECol, FAERow); }
    void SetNumHidden(Integer value) { FNumHidden = value; }
};

class AdvGridCurrentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new TCurrentGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid, none lost or doubled";
    }
    // Cell (c, r) reads "c,r"; row r has height 10 + r and column c width 30 + c.
    void Fill(Integer cols, Integer rows) {
        FGrid->SetColCount(cols);
        FGrid->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r) {
            FGrid->SetRowHeights(r, 10 + r);
            for (Integer c = 0; c < cols; ++c)
                FGrid->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
        }
        for (Integer c = 0; c < cols; ++c)
            FGrid->SetColWidths(c, 30 + c);
    }
    // The original row index of each row, read from column 0's text, with its height and record checked
    // to have come along.
    std::vector<Integer> RowOrder() {
        std::vector<Integer> order;
        for (Integer r = 0; r < FGrid->RowCount(); ++r) {
            const String text = FGrid->GridCells(0, r);
            const Integer original = StrToInt(text.substr(text.find(u',') + 1));
            EXPECT_EQ(FGrid->RowHeights(r), 10 + original) << "height of row " << r;
            order.push_back(original);
        }
        return order;
    }

    TCurrentGrid* FGrid = nullptr;
};

// ---- Current cell

TEST_F(AdvGridCurrentTest, RowFiresOnRowChangedOncePerChangeAndResetsTheEditAdvance) {
    TCurrentGrid& g = *FGrid;
    g.SetRowCount(10);
    std::vector<std::pair<Integer, Integer>> fired;
    g.OnRowChanged = [&](TObject* sender, Integer oldRow, Integer newRow) {
        EXPECT_EQ(sender, &g);
        fired.emplace_back(oldRow, newRow);
    };
    g.SetRow(1);
    EXPECT_TRUE(fired.empty()) << "writing the present row changes nothing";
    g.SetAEC(3, 4);
    g.SetRow(4);
    g.SetRow(4);
    g.SetRow(7);
    EXPECT_EQ(fired, (std::vector<std::pair<Integer, Integer>>{{-1, 4}, {4, 7}}));
    EXPECT_EQ(g.Row(), 7);
    EXPECT_EQ(g.AEC(), TPoint(-1, -1));
    g.SetAEC(3, 4);
    g.SetCol(3);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.AEC(), TPoint(-1, -1));
    EXPECT_THROW(g.SetRow(10), EInvalidGridOperation);

    // The cell selection asks only a grid that sits in a window.
    TForm form(nullptr, 0);
    g.SetParent(&form);
    std::vector<TPoint> asked;
    g.OnSelectCell = [&](TObject*, Integer c, Integer r, bool&) { asked.emplace_back(c, r); };
    g.UpdateEditMode();
    EXPECT_EQ(asked, (std::vector<TPoint>{TPoint(3, 7)})) << "the current cell is asked about again";
    g.SetParent(nullptr);
}

TEST_F(AdvGridCurrentTest, TopRowTakesOnlyRowsFromTheFixedOnesToTheLast) {
    struct Case {
        const char* name;
        Integer value;
        Integer expected;
    };
    const Case cases[] = {
        {"a fixed row is ignored", 1, 3}, {"the first normal row", 2, 2}, {"the last row", 19, 19},
        {"RowCount is ignored", 20, 3},   {"negative is ignored", -1, 3},
    };
    for (const Case& c : cases) {
        TCurrentGrid g(nullptr);
        g.SetRowCount(20);
        g.SetFixedRows(2);
        g.SetTopRow(3);
        ASSERT_EQ(g.TopRow(), 3);
        g.SetTopRow(c.value);
        EXPECT_EQ(g.TopRow(), c.expected) << c.name;
    }
}

TEST_F(AdvGridCurrentTest, SyncGridsFollowEachOtherOnceAndOnlyToRowsTheyHave) {
    TCurrentGrid& a = *FGrid;
    TCurrentGrid b(nullptr);
    TStringGrid plain(nullptr);
    a.SetRowCount(10);
    a.SetColCount(6);
    b.SetRowCount(10);
    b.SetColCount(4);
    a.SyncGrid()->SetGrid(&b);
    a.SyncGrid()->SetSelectionRow(true);
    a.SyncGrid()->SetSelectionColumn(true);
    b.SyncGrid()->SetGrid(&a);
    b.SyncGrid()->SetSelectionRow(true);
    b.SyncGrid()->SetSelectionColumn(true);
    int changes = 0;
    b.OnRowChanged = [&](TObject*, Integer, Integer) { ++changes; };

    a.SetRow(6);
    EXPECT_EQ(b.Row(), 6);
    EXPECT_EQ(changes, 1);
    b.SetRow(2);
    EXPECT_EQ(a.Row(), 2);
    a.SetCol(3);
    EXPECT_EQ(b.Col(), 3);
    a.SetCol(5);
    EXPECT_EQ(b.Col(), 3) << "b has no column 5";
    b.SetRowCount(5);
    a.SetRow(8);
    EXPECT_EQ(b.Row(), 2) << "b has no row 8";

    a.SyncGrid()->SetGrid(&plain);
    plain.SetRowCount(10);
    a.SetRow(4);
    EXPECT_EQ(plain.Row(), 4);
    a.SyncGrid()->SetGrid(nullptr);
    b.SyncGrid()->SetGrid(nullptr);
}

// ---- Hidden selection

TEST_F(AdvGridCurrentTest, UnHideSelectionRestoresTheSavedSelectionCutToTheGrid) {
    struct Case {
        const char* name;
        Integer rowsAfter;
        Integer colsAfter;
        TGridRect expected;
    };
    const Case cases[] = {
        {"unchanged grid", 10, 8, {2, 3, 5, 6}},
        {"rows shrank into the block", 5, 8, {2, 3, 5, 4}},
        {"columns shrank into the block", 10, 4, {2, 3, 3, 6}},
        {"rows shrank above its top", 3, 8, {1, 1, 1, 1}},
        {"columns shrank left of it", 10, 2, {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        TCurrentGrid g(nullptr);
        g.SetRowCount(10);
        g.SetColCount(8);
        g.SetSelection(TGridRect{2, 3, 5, 6});
        g.HideSelection();
        EXPECT_TRUE(g.SelHidden());
        EXPECT_EQ(g.Selection(), (TGridRect{8, 10, 8, 10})) << c.name;
        g.HideSelection();
        g.SetRowCount(c.rowsAfter);
        g.SetColCount(c.colsAfter);
        g.UnHideSelection();
        EXPECT_FALSE(g.SelHidden());
        EXPECT_EQ(g.Selection(), c.expected) << c.name;
        EXPECT_LT(g.Row(), g.RowCount()) << c.name;
        EXPECT_LT(g.Col(), g.ColCount()) << c.name;
    }
}

TEST_F(AdvGridCurrentTest, RowAndColMoveOutOfAHiddenSelection) {
    TCurrentGrid& g = *FGrid;
    g.SetRowCount(10);
    g.SetColCount(8);
    g.HideSelection();
    g.SetRow(4);
    EXPECT_EQ(g.Row(), 4);
    EXPECT_EQ(g.Col(), 1) << "back in the first normal column";
    g.HideSelection();
    g.SetCol(5);
    EXPECT_EQ(g.Col(), 5);
    EXPECT_EQ(g.Row(), 1) << "back on the first normal row";
}

// ---- Scrolling into view

class AdvGridScrollTest : public ::testing::Test {
protected:
    // A grid without borders or scroll bars whose rows are 20 pixels and columns 50: one fixed row and
    // ten rows show, one fixed column and six columns.
    TCurrentGrid* MakeGrid(bool searchFooter = false) {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 600, 400);
        auto* grid = new TCurrentGrid(FForm);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetDefaultRowHeight(20);
        grid->SetDefaultColWidth(50);
        grid->SetColCount(40);
        grid->SetRowCount(100);
        grid->SearchFooter()->SetVisible(searchFooter);
        grid->SetBounds(0, 0, 350, 220);
        grid->SetParent(FForm);
        FForm->Show();
        Application->ProcessMessages();
        return grid;
    }
    void TearDown() override {
        if (FForm != nullptr)
            FForm->Free();
        Application->ProcessMessages();
    }
    TForm* FForm = nullptr;
};

TEST_F(AdvGridScrollTest, ScrollInViewPlacesTheCellAsAsked) {
    struct Case {
        const char* name;
        Integer col;
        Integer row;
        TScrollPosition position;
        Integer topRow;
        Integer leftCol;
        Integer currentRow;
        Integer currentCol;
    };
    const Case cases[] = {
        {"middle", 5, 40, spMiddle, 35, 1, 40, 1},
        {"trailing", 5, 40, spTrailing, 31, 1, 40, 1},
        {"leading", 5, 40, spLeading, 40, 1, 40, 1},
        {"leading near the end: one past the last page", 5, 99, spLeading, 91, 1, 99, 1},
        {"a row in view stays", 5, 7, spMiddle, 1, 1, 1, 1},
        {"middle column", 30, 5, spMiddle, 1, 27, 1, 30},
        {"trailing column", 30, 5, spTrailing, 1, 25, 1, 30},
        {"a cell in view", 3, 2, spMiddle, 1, 1, 1, 1},
        {"row past the grid", 5, 100, spMiddle, 1, 1, 1, 1},
        {"column past the grid", 40, 40, spMiddle, 1, 1, 1, 1},
        {"negative row", 5, -1, spMiddle, 1, 1, 1, 1},
    };
    TCurrentGrid* g = MakeGrid();
    ASSERT_EQ(g->VisibleRowCount(), 10);
    ASSERT_EQ(g->VisibleColCount(), 6);
    for (const Case& c : cases) {
        g->SetTopRow(1);
        g->SetLeftCol(1);
        g->SetRow(1);
        g->SetCol(1);
        g->ScrollInView(c.col, c.row, c.position);
        EXPECT_EQ(g->TopRow(), c.topRow) << c.name;
        EXPECT_EQ(g->LeftCol(), c.leftCol) << c.name;
        EXPECT_EQ(g->Row(), c.currentRow) << c.name;
        EXPECT_EQ(g->Col(), c.currentCol) << c.name;
    }
}

TEST_F(AdvGridScrollTest, ScrollInViewAndTheLastRowClearTheSearchFooter) {
    TCurrentGrid* g = MakeGrid(true);
    // Below the 32-pixel panel, less the height of a horizontal scroll bar, the row must be clear:
    // scrolled just far enough.
    const Integer limit = 220 - 32 - GetSystemMetrics(SM_CYHSCROLL);
    g->ScrollInView(1, 40, spTrailing);
    EXPECT_EQ(g->Row(), 40);
    const Integer bottom = g->TCustomGrid::CellRect(0, 40).Bottom;
    EXPECT_LE(bottom, limit);
    EXPECT_GT(bottom + 20, limit);

    g->SetRow(99);
    EXPECT_LE(g->TCustomGrid::CellRect(0, 99).Bottom, 220 - 32 + 2);
    EXPECT_GT(g->TCustomGrid::CellRect(0, 99).Bottom, 0) << "the last row is in view";
}

// ---- Moving rows

TEST_F(AdvGridCurrentTest, MoveRowsMovesTheBlockWithHeightsAndRecordsOrClipsIt) {
    struct Case {
        const char* name;
        Integer from;
        Integer to;
        Integer count;
        std::vector<Integer> order;
    };
    const Case cases[] = {
        {"down past the block: follows the row at 5", 2, 6, 2, {0, 1, 4, 5, 2, 3, 6, 7, 8, 9}},
        {"down to the block's end: starts there", 2, 4, 2, {0, 1, 4, 5, 2, 3, 6, 7, 8, 9}},
        {"down overlapping", 2, 3, 3, {0, 1, 5, 2, 3, 4, 6, 7, 8, 9}},
        {"up", 6, 2, 2, {0, 1, 6, 7, 2, 3, 4, 5, 8, 9}},
        {"up by one", 3, 2, 3, {0, 1, 3, 4, 5, 2, 6, 7, 8, 9}},
        {"count clipped at the end", 8, 0, 5, {8, 9, 0, 1, 2, 3, 4, 5, 6, 7}},
        {"target clipped at the end", 2, 100, 2, {0, 1, 4, 5, 6, 7, 8, 9, 2, 3}},
        {"target clipped at 0", 4, -3, 1, {4, 0, 1, 2, 3, 5, 6, 7, 8, 9}},
        {"same place", 2, 2, 3, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"count 0", 2, 6, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"negative count", 2, 6, -2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"start past the rows", 10, 0, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"negative start", -1, 4, 2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Fill(3, 10);
        std::map<Integer, TCellProperties*> records;
        for (Integer r = 0; r < 10; r += 3) {
            FGrid->SetGraphicObjects(1, r, new TCellGraphic);
            records[r] = FGrid->PeekCellProperties(1, r);
        }
        int rowMoved = 0;
        FGrid->OnRowMoved = [&](TObject*, Integer, Integer) { ++rowMoved; };
        FGrid->MoveRows(c.from, c.to, c.count);
        EXPECT_EQ(RowOrder(), c.order) << c.name;
        for (Integer r = 0; r < 10; ++r) {
            const Integer original = c.order[static_cast<size_t>(r)];
            const auto it = records.find(original);
            EXPECT_EQ(FGrid->PeekCellProperties(1, r), it == records.end() ? nullptr : it->second)
                << c.name << ", row " << r;
        }
        EXPECT_EQ(rowMoved, 0) << c.name;
        EXPECT_EQ(gLiveGraphics, 4) << c.name;
    }
}

TEST_F(AdvGridCurrentTest, MoveRowMovesOneRowAndTheCurrentCellAndReportsIt) {
    struct Case {
        const char* name;
        Integer from;
        Integer to;
        std::vector<Integer> order;
        Integer currentRow; // from row 5
    };
    const std::vector<Integer> unmoved{0, 1, 2, 3, 4, 5, 6, 7};
    const Case cases[] = {
        {"down", 2, 6, {0, 1, 3, 4, 5, 6, 2, 7}, 4},
        {"up", 6, 1, {0, 6, 1, 2, 3, 4, 5, 7}, 6},
        {"the current row", 5, 0, {5, 0, 1, 2, 3, 4, 6, 7}, 0},
        {"same row", 3, 3, unmoved, 5},
        {"past the rows", 8, 0, unmoved, 5},
        {"to past the rows", 0, 8, unmoved, 5},
        {"negative", -1, 3, unmoved, 5},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Fill(3, 8);
        FGrid->SetRow(5);
        std::vector<std::pair<Integer, Integer>> moved;
        FGrid->OnRowMoved = [&](TObject*, Integer f, Integer t) { moved.emplace_back(f, t); };
        FGrid->MoveRow(c.from, c.to);
        EXPECT_EQ(RowOrder(), c.order) << c.name;
        EXPECT_EQ(FGrid->Row(), c.currentRow) << c.name;
        if (c.order == unmoved)
            EXPECT_TRUE(moved.empty()) << c.name;
        else
            EXPECT_EQ(moved, (std::vector<std::pair<Integer, Integer>>{{c.from, c.to}})) << c.name;
    }
}

// ---- Moving columns

TEST_F(AdvGridCurrentTest, MoveColumnMovesCellsRecordsWidthsAndTheColumnOrder) {
    struct Case {
        const char* name;
        Integer from;
        Integer to;
        std::vector<Integer> order;
        Integer currentCol; // from column 2
    };
    const Case cases[] = {
        {"left", 3, 1, {0, 3, 1, 2, 4}, 3},
        {"right", 1, 3, {0, 2, 3, 1, 4}, 1},
        {"the fixed column to the end", 0, 4, {1, 2, 3, 4, 0}, 1},
        {"the current column", 2, 4, {0, 1, 3, 4, 2}, 4},
        {"same column", 2, 2, {0, 1, 2, 3, 4}, 2},
        {"past the columns", 5, 1, {0, 1, 2, 3, 4}, 2},
        {"negative", 1, -1, {0, 1, 2, 3, 4}, 2},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Fill(5, 4);
        FGrid->SetCol(2);
        // Column 3's cell in row 2 carries a record.
        FGrid->SetGraphicObjects(3, 2, new TCellGraphic);
        TCellProperties* record = FGrid->PeekCellProperties(3, 2);
        FGrid->MoveColumn(c.from, c.to);
        for (Integer col = 0; col < 5; ++col) {
            const Integer original = c.order[static_cast<size_t>(col)];
            for (Integer r = 0; r < 4; ++r)
                EXPECT_EQ(FGrid->GridCells(col, r), IntToStr(original) + u"," + IntToStr(r)) << c.name;
            EXPECT_EQ(FGrid->ColWidths(col), 30 + original) << c.name;
            EXPECT_EQ(FGrid->ColumnPosition(original), col) << c.name;
            EXPECT_EQ(FGrid->PeekCellProperties(col, 2), original == 3 ? record : nullptr) << c.name;
        }
        EXPECT_EQ(FGrid->Col(), c.currentCol) << c.name;
        EXPECT_EQ(gLiveGraphics, 1) << c.name;
    }
}

TEST_F(AdvGridCurrentTest, MoveColumnWithHiddenColumnsKeepsTheirCellsAndTheWidths) {
    Fill(5, 3);
    // Two hidden columns stored after the displayed ones.
    FGrid->SetNumHidden(2);
    for (Integer r = 0; r < 3; ++r)
        for (Integer c = 5; c < 7; ++c)
            FGrid->SetGridCell(c, r, u"hidden " + IntToStr(c) + u"," + IntToStr(r));
    FGrid->MoveColumn(1, 3);
    EXPECT_EQ(FGrid->ColCount(), 5);
    const std::vector<Integer> order{0, 2, 3, 1, 4};
    for (Integer c = 0; c < 5; ++c) {
        EXPECT_EQ(FGrid->ColWidths(c), 30 + order[static_cast<size_t>(c)]) << c;
        EXPECT_EQ(FGrid->GridCells(c, 1), IntToStr(order[static_cast<size_t>(c)]) + u",1") << c;
    }
    for (Integer r = 0; r < 3; ++r)
        for (Integer c = 5; c < 7; ++c)
            EXPECT_EQ(FGrid->GridCells(c, r), u"hidden " + IntToStr(c) + u"," + IntToStr(r));
    FGrid->SetNumHidden(0);
}

// ---- A seeded run of moves against a plain model

TEST_F(AdvGridCurrentTest, RandomMovesKeepEveryCellRecordHeightAndWidthOnce) {
    constexpr Integer cols = 7;
    constexpr Integer rows = 15;
    Fill(cols, rows);
    // The model: which original row and column stands at each place.
    std::vector<Integer> rowAt(rows);
    std::vector<Integer> colAt(cols);
    for (Integer i = 0; i < rows; ++i)
        rowAt[static_cast<size_t>(i)] = i;
    for (Integer i = 0; i < cols; ++i)
        colAt[static_cast<size_t>(i)] = i;
    std::mt19937 random(20261211);
    std::map<std::pair<Integer, Integer>, TCellProperties*> records; // by original cell
    for (int i = 0; i < 25; ++i) {
        const Integer c = Integer(random() % cols);
        const Integer r = Integer(random() % rows);
        if (records.count({c, r}) == 0) {
            FGrid->SetGraphicObjects(c, r, new TCellGraphic);
            records[{c, r}] = FGrid->PeekCellProperties(c, r);
        }
    }
    const int liveRecords = gLiveGraphics;
    auto moveBlock = [](std::vector<Integer>& line, Integer from, Integer count, Integer to) {
        std::vector<Integer> block(line.begin() + from, line.begin() + from + count);
        line.erase(line.begin() + from, line.begin() + from + count);
        line.insert(line.begin() + to, block.begin(), block.end());
    };
    auto pick = [&](Integer limit) { return Integer(random() % (limit + 4)) - 2; };

    for (int step = 0; step < 300; ++step) {
        const int kind = int(random() % 3);
        const Integer from = pick(rows);
        const Integer to = pick(rows);
        std::string what;
        if (kind == 0) {
            const Integer count = pick(6);
            what = "MoveRows(" + std::to_string(from) + ", " + std::to_string(to) + ", " +
                   std::to_string(count) + ")";
            FGrid->MoveRows(from, to, count);
            if (from >= 0 && from < rows && count > 0) {
                const Integer n = std::min(count, rows - from);
                const Integer target = std::clamp(from + n < to ? to - n : to, 0, rows - n);
                moveBlock(rowAt, from, n, target);
            }
        } else if (kind == 1) {
            what = "MoveRow(" + std::to_string(from) + ", " + std::to_string(to) + ")";
            FGrid->MoveRow(from, to);
            if (from >= 0 && to >= 0 && from < rows && to < rows)
                moveBlock(rowAt, from, 1, to);
        } else {
            const Integer colFrom = pick(cols);
            const Integer colTo = pick(cols);
            what = "MoveColumn(" + std::to_string(colFrom) + ", " + std::to_string(colTo) + ")";
            FGrid->MoveColumn(colFrom, colTo);
            if (colFrom >= 0 && colTo >= 0 && colFrom < cols && colTo < cols)
                moveBlock(colAt, colFrom, 1, colTo);
        }
        for (Integer r = 0; r < rows; ++r) {
            const Integer origRow = rowAt[static_cast<size_t>(r)];
            ASSERT_EQ(FGrid->RowHeights(r), 10 + origRow) << what << " at step " << step;
            for (Integer c = 0; c < cols; ++c) {
                const Integer origCol = colAt[static_cast<size_t>(c)];
                ASSERT_EQ(FGrid->GridCells(c, r), IntToStr(origCol) + u"," + IntToStr(origRow))
                    << what << " at step " << step;
                const auto it = records.find({origCol, origRow});
                ASSERT_EQ(FGrid->PeekCellProperties(c, r), it == records.end() ? nullptr : it->second)
                    << what << " at step " << step;
            }
        }
        for (Integer c = 0; c < cols; ++c) {
            ASSERT_EQ(FGrid->ColWidths(c), 30 + colAt[static_cast<size_t>(c)]) << what;
            ASSERT_EQ(FGrid->ColumnPosition(colAt[static_cast<size_t>(c)]), c) << what;
        }
        ASSERT_EQ(gLiveGraphics, liveRecords) << what;
    }
    ASSERT_EQ(FGrid->RowCount(), rows);
    ASSERT_EQ(FGrid->ColCount(), cols);
    // TearDown destroys the grid and checks that every record went with it.
}

} // namespace
