// Tests of the full string grid's rows and columns: counts and fixed lines, growing the grid, clearing
// ranges, and a log grid's life of appends, inserts, count changes and clears against a plain model.
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;

// Opens up the fields the tests set and read.
class TRowsGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SetNumHidden(Integer value) { FNumHidden = value; }
    Integer MaxRowCount() const { return FMaxRowCount; }
    Integer FixedRowsMin() const { return FFixedRowsMin; }
};

// Gives the cell a record that counts itself through its cell graphic.
void GiveRecord(TAdvStringGrid& grid, Integer c, Integer r) {
    grid.SetGraphicObjects(c, r, new TCellGraphic);
}

class AdvGridRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new TRowsGrid(nullptr);
        FGrid->OnCellsChanged = [this](TObject*, const TRect& R) { changes.push_back(R); };
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    // Row r of column c reads "c,r".
    void Fill(Integer cols, Integer rows) {
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c)
                FGrid->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
    }

    TRowsGrid* FGrid = nullptr;
    std::vector<TRect> changes;
};

// ---- Counts and fixed lines

TEST_F(AdvGridRowsTest, FixedRowAlwaysKeepsAFixedRowAndReappliesTheAskedCount) {
    TRowsGrid& g = *FGrid;
    g.SetFixedRowAlways(true);
    g.SetRowCount(1);
    EXPECT_EQ(g.FixedRows(), 1);
    g.SetRowCount(5);
    EXPECT_EQ(g.FixedRows(), 1);

    g.SetRowCount(2);
    g.SetFixedRows(3);
    EXPECT_EQ(g.FixedRows(), 1) << "no room for 3 fixed rows in 2";
    EXPECT_EQ(g.FixedRowsMin(), 3);
    g.SetRowCount(3);
    EXPECT_EQ(g.FixedRows(), 1);
    g.SetRowCount(4);
    EXPECT_EQ(g.FixedRows(), 3) << "applied once the count exceeds it";
    EXPECT_EQ(g.MaxRowCount(), 10) << "the highest count ever set";
}

TEST_F(AdvGridRowsTest, FixedSizesApplyToTheFixedLinesUnlessTheDefault) {
    TRowsGrid& g = *FGrid;
    g.SetFixedCols(2);
    g.SetFixedColWidth(g.DefaultColWidth());
    g.SetColWidths(1, 40);
    g.SetFixedColWidth(g.DefaultColWidth());
    EXPECT_EQ(g.ColWidths(1), 40) << "the default width changes no column";
    g.SetFixedColWidth(30);
    EXPECT_EQ(g.ColWidths(0), 30);
    EXPECT_EQ(g.ColWidths(1), 30);
    EXPECT_EQ(g.ColWidths(2), g.DefaultColWidth());

    g.SetFixedRows(2);
    g.SetFixedRowHeight(g.DefaultRowHeight());
    g.SetRowHeights(1, 50);
    g.SetFixedRowHeight(g.DefaultRowHeight());
    EXPECT_EQ(g.RowHeights(1), 50) << "the default height changes no row";
    g.SetFixedRowHeight(40);
    EXPECT_EQ(g.RowHeights(0), 40);
    EXPECT_EQ(g.RowHeights(1), 40);
    EXPECT_EQ(g.RowHeights(2), g.DefaultRowHeight());
}

TEST_F(AdvGridRowsTest, ColCountAppliesIntegralHeightAgainForTheScrollBar) {
    TRowsGrid& g = *FGrid;
    g.SetBorderStyle(bsNone);
    g.SetColCount(2);
    g.SetIntegralHeight(true);
    g.SetBounds(0, 0, 400, 250);
    ASSERT_EQ(g.Height(), 242);
    g.SetColCount(40);
    const Integer scroll = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(g.Height(), scroll + (242 - scroll) / 22 * 22);
    EXPECT_EQ(g.ColCount(), 40);
}

TEST_F(AdvGridRowsTest, WordWrapReachesTheBaseGridAndRepaintsOutsideAnUpdate) {
    struct TCountingGrid : TAdvStringGrid {
        using TAdvStringGrid::TAdvStringGrid;
        void SetUpdateCount(Integer value) { FUpdateCount = value; }
        int invalidates = 0;
        void Invalidate() override { ++invalidates; }
    } g(nullptr);
    g.SetWordWrap(false);
    EXPECT_FALSE(g.WordWrap());
    EXPECT_FALSE(g.TBaseGrid::WordWrap());
    EXPECT_EQ(g.invalidates, 1);
    g.SetUpdateCount(1);
    g.SetWordWrap(true);
    EXPECT_TRUE(g.WordWrap());
    EXPECT_EQ(g.invalidates, 1);
    g.SetUpdateCount(0);
}

// ---- Growing

TEST_F(AdvGridRowsTest, AddRowAppendsAnEmptyRowAndFreesWhatTheRowKept) {
    TRowsGrid& g = *FGrid;
    g.SetColCount(4);
    g.SetRowCount(4);
    Fill(4, 4);
    GiveRecord(g, 2, 3);
    GiveRecord(g, 1, 2);
    g.SetRowCount(2); // rows 2 and 3 are kept beyond the count, record and all
    EXPECT_EQ(gLiveGraphics, 2);

    changes.clear();
    g.AddRow();
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(gLiveGraphics, 1) << "the kept record of row 2 is freed, not dropped";
    for (Integer c = 0; c < 4; ++c) {
        EXPECT_EQ(g.GridCells(c, 2), u"") << c;
        EXPECT_EQ(g.PeekCellProperties(c, 2), nullptr) << c;
        EXPECT_EQ(g.GridCells(c, 1), IntToStr(c) + u",1") << c;
    }
    EXPECT_FALSE(changes.empty());
    EXPECT_EQ(g.GridCells(0, 3), u"0,3") << "a row beyond the count keeps its data";
    g.SetRowCount(4);
    EXPECT_EQ(g.GridCells(2, 3), u"2,3") << "a grown count shows it again";
    EXPECT_NE(g.PeekCellProperties(2, 3), nullptr);
}

// Appending keeps a visible floating footer's row last. Only the footer that shows the grid's own last
// row clears the new row afterwards, which the clearing's change report shows.
TEST_F(AdvGridRowsTest, AddRowGoesAboveAVisibleFloatingFooterRow) {
    for (TFooterStyle style : {fsFixedLastRow, fsColumnPreview}) {
        SCOPED_TRACE(static_cast<int>(style));
        TRowsGrid g(nullptr);
        std::vector<TRect> reports;
        g.OnCellsChanged = [&](TObject*, const TRect& R) { reports.push_back(R); };
        g.SetColCount(3);
        g.SetRowCount(4);
        g.FloatingFooter()->SetFooterStyle(style);
        g.FloatingFooter()->SetVisible(true);
        const Integer rows = g.RowCount();
        for (Integer r = 0; r < rows - 1; ++r)
            g.SetGridCell(1, r, IntToStr(r));
        g.SetGridCell(1, rows - 1, u"total");

        reports.clear();
        g.AddRow();
        ASSERT_EQ(g.RowCount(), rows + 1);
        EXPECT_EQ(g.GridCells(1, rows), u"total") << "the footer row stays the last";
        EXPECT_EQ(g.GridCells(1, rows - 1), u"") << "the new row is empty";
        EXPECT_EQ(g.GridCells(1, rows - 2), IntToStr(rows - 2));
        // The insertion reports the new row and the footer row below it; a clearing after it reports
        // the new row alone.
        ASSERT_FALSE(reports.empty());
        const TRect last = reports.back();
        const bool cleared = last.Top == rows - 1 && last.Bottom == rows - 1;
        EXPECT_EQ(cleared, style == fsFixedLastRow);
    }
}

struct InsertCase {
    const char* name;
    Integer index;
    Integer count;
    Integer rowCount;            // after
    std::vector<String> column1; // texts of column 1, rows 0 .. rowCount - 1
    bool reported;               // a change was reported
};

TEST_F(AdvGridRowsTest, InsertRowsEdgeCases) {
    const InsertCase cases[] = {
        {"amid", 1, 2, 6, {u"1,0", u"", u"", u"1,1", u"1,2", u"1,3"}, true},
        {"at the end", 4, 1, 5, {u"1,0", u"1,1", u"1,2", u"1,3", u""}, true},
        {"count 0", 1, 0, 4, {u"1,0", u"1,1", u"1,2", u"1,3"}, false},
        {"count below 0", 1, -3, 4, {u"1,0", u"1,1", u"1,2", u"1,3"}, false},
        {"index before the grid", -5, 1, 5, {u"", u"1,0", u"1,1", u"1,2", u"1,3"}, true},
        {"index past the grid", 99, 1, 5, {u"1,0", u"1,1", u"1,2", u"1,3", u""}, true},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRowsGrid g(nullptr);
        std::vector<TRect> reported;
        g.OnCellsChanged = [&](TObject*, const TRect& R) { reported.push_back(R); };
        g.SetColCount(3);
        g.SetRowCount(4);
        for (Integer r = 0; r < 4; ++r)
            for (Integer col = 0; col < 3; ++col)
                g.SetGridCell(col, r, IntToStr(col) + u"," + IntToStr(r));
        GiveRecord(g, 1, 3);
        g.SetRow(3);
        reported.clear();
        g.InsertRows(c.index, c.count, true);
        EXPECT_EQ(g.RowCount(), c.rowCount);
        for (Integer r = 0; r < c.rowCount; ++r)
            EXPECT_EQ(g.GridCells(1, r), c.column1[r]) << "row " << r;
        EXPECT_EQ(reported.empty(), !c.reported);
        // The record and the current row move with row 3.
        const Integer row3 = c.rowCount - (c.column1.back().empty() ? 2 : 1);
        EXPECT_NE(g.PeekCellProperties(1, row3), nullptr);
        EXPECT_EQ(g.Row(), row3);
        EXPECT_EQ(gLiveGraphics, 1);
    }
}

TEST_F(AdvGridRowsTest, InsertRowsCarriesHiddenColumnsWithTheirRows) {
    TRowsGrid& g = *FGrid;
    g.SetColCount(5);
    g.SetRowCount(4);
    Fill(5, 4);
    // Two columns hidden beyond the displayed count, as the hidden-column store keeps them.
    g.SetColCount(3);
    g.SetNumHidden(2);
    g.InsertRows(1, 2, true);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(g.GridCells(4, 3), u"4,1");
    EXPECT_EQ(g.GridCells(3, 5), u"3,3");
    EXPECT_EQ(g.GridCells(4, 1), u"");
    EXPECT_EQ(changes.back(), TRect(0, 1, 2, 3));
    g.ClearNormalCells();
    EXPECT_EQ(g.GridCells(4, 3), u"") << "hidden columns are cleared too";
    g.SetNumHidden(0);
}

TEST_F(AdvGridRowsTest, InsertColsMovesColumnsRightAndReportsNoChange) {
    TRowsGrid& g = *FGrid;
    g.SetColCount(3);
    g.SetRowCount(3);
    Fill(3, 3);
    GiveRecord(g, 2, 1);
    g.SetColWidths(2, 33);
    changes.clear();
    g.InsertCols(1, 2);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(g.GridCells(0, 1), u"0,1");
    EXPECT_EQ(g.GridCells(1, 1), u"");
    EXPECT_EQ(g.GridCells(2, 1), u"");
    EXPECT_EQ(g.GridCells(3, 1), u"1,1");
    EXPECT_EQ(g.GridCells(4, 1), u"2,1");
    EXPECT_EQ(g.ColWidths(4), 33);
    EXPECT_EQ(g.ColWidths(2), g.DefaultColWidth());
    EXPECT_EQ(g.PeekCellProperties(2, 1), nullptr) << "the new column holds no shared record";
    EXPECT_NE(g.PeekCellProperties(4, 1), nullptr);
    EXPECT_EQ(gLiveGraphics, 1);
    g.AddColumn();
    EXPECT_EQ(g.ColCount(), 6);
    EXPECT_EQ(g.GridCells(5, 1), u"");
}

TEST_F(AdvGridRowsTest, InsertColsStopsAtTheLargestColumnCount) {
    TRowsGrid& g = *FGrid;
    g.SetColCount(3);
    g.SetRowCount(3);
    Fill(3, 3);
    constexpr Integer most = std::numeric_limits<Integer>::max();
    g.SetColCount(most - 3);
    g.InsertCols(g.ColCount(), most);
    EXPECT_EQ(g.ColCount(), most);
    EXPECT_EQ(g.GridCells(2, 1), u"2,1");
    EXPECT_EQ(g.ColWidths(most - 1), g.DefaultColWidth());
    g.InsertCols(0, 1);
    EXPECT_EQ(g.ColCount(), most) << "no room for another";
    EXPECT_EQ(g.GridCells(0, 1), u"0,1");
}

// ---- Clearing

struct ClearCase {
    const char* name;
    std::function<void(TAdvStringGrid&)> clear;
    std::vector<std::pair<Integer, Integer>> emptied; // the cells of the 4 x 4 grid it empties
};

TEST_F(AdvGridRowsTest, ClearingRoutinesEmptyTheirRangeOnly) {
    using Cells = std::vector<std::pair<Integer, Integer>>;
    auto block = [](Integer c1, Integer r1, Integer c2, Integer r2) {
        Cells cells;
        for (Integer r = r1; r <= r2; ++r)
            for (Integer c = c1; c <= c2; ++c)
                cells.emplace_back(c, r);
        return cells;
    };
    const ClearCase cases[] = {
        {"ClearRect", [](TAdvStringGrid& g) { g.ClearRect(1, 1, 2, 2); }, block(1, 1, 2, 2)},
        {"ClearRect reversed", [](TAdvStringGrid& g) { g.ClearRect(2, 2, 1, 1); }, {}},
        {"ClearRect past the grid", [](TAdvStringGrid& g) { g.ClearRect(-4, 2, 1000000, 1000000); },
         block(0, 2, 3, 3)},
        {"ClearRows", [](TAdvStringGrid& g) { g.ClearRows(1, 2); }, block(0, 1, 3, 2)},
        {"ClearRows count 0", [](TAdvStringGrid& g) { g.ClearRows(1, 0); }, {}},
        {"ClearCols", [](TAdvStringGrid& g) { g.ClearCols(2, 1); }, block(2, 0, 2, 3)},
        {"ClearNormalRows", [](TAdvStringGrid& g) { g.ClearNormalRows(2, 1); }, block(1, 2, 3, 2)},
        {"ClearNormalCols", [](TAdvStringGrid& g) { g.ClearNormalCols(0, 2); }, block(0, 1, 1, 3)},
        {"ClearNormalCells", [](TAdvStringGrid& g) { g.ClearNormalCells(); }, block(1, 1, 3, 3)},
        {"ClearNormalCells with footers",
         [](TAdvStringGrid& g) {
             g.SetFixedFooters(1);
             g.SetFixedRightCols(1);
             g.ClearNormalCells();
         },
         block(1, 1, 2, 2)},
        {"Clear", [](TAdvStringGrid& g) { g.Clear(); }, block(0, 0, 3, 3)},
        {"ClearSelection",
         [](TAdvStringGrid& g) {
             g.SetSelection(TGridRect{1, 1, 2, 3});
             g.ClearSelection();
         },
         block(1, 1, 2, 3)},
    };
    for (const ClearCase& c : cases) {
        SCOPED_TRACE(c.name);
        TRowsGrid g(nullptr);
        g.SetColCount(4);
        g.SetRowCount(4);
        for (Integer r = 0; r < 4; ++r)
            for (Integer col = 0; col < 4; ++col) {
                g.SetGridCell(col, r, u"x");
                GiveRecord(g, col, r);
            }
        c.clear(g);
        for (Integer r = 0; r < 4; ++r)
            for (Integer col = 0; col < 4; ++col) {
                const bool emptied =
                    std::find(c.emptied.begin(), c.emptied.end(), std::make_pair(col, r)) != c.emptied.end();
                EXPECT_EQ(g.GridCells(col, r), emptied ? u"" : u"x") << col << "," << r;
                EXPECT_EQ(g.PeekCellProperties(col, r) == nullptr, emptied) << col << "," << r;
            }
        EXPECT_EQ(gLiveGraphics, 16 - static_cast<int>(c.emptied.size()));
    }
}

TEST_F(AdvGridRowsTest, ClearRectOverTheWholeGridForgetsCellPropsAndReportsItsRange) {
    TRowsGrid& g = *FGrid;
    g.SetColCount(3);
    g.SetRowCount(3);
    GiveRecord(g, 1, 1);
    g.ClearRect(0, 0, 1, 1);
    EXPECT_TRUE(g.HasCellProps()) << "a part of the grid";
    EXPECT_EQ(changes.back(), TRect(0, 0, 1, 1));
    g.ClearRect(0, 0, 2, 2);
    EXPECT_FALSE(g.HasCellProps());
}

TEST_F(AdvGridRowsTest, ClearAllReachesRowsBeyondTheCount) {
    TRowsGrid& g = *FGrid;
    g.SetColCount(3);
    g.SetRowCount(20);
    g.SetGridCell(1, 15, u"kept");
    GiveRecord(g, 2, 18);
    g.SetRowCount(5);
    g.Clear();
    EXPECT_EQ(g.GridCells(1, 15), u"kept");
    g.ClearAll();
    EXPECT_EQ(g.GridCells(1, 15), u"");
    EXPECT_EQ(gLiveGraphics, 0);
}

// ---- A log grid's life against a plain model

// The model keeps every stored row, also those beyond the count: a text per column and whether the
// cell has a record.
struct ModelCell {
    String text;
    bool record = false;
};
using ModelRow = std::vector<ModelCell>;

TEST_F(AdvGridRowsTest, RandomLogSequenceLosesDoublesAndLeaksNoRow) {
    constexpr Integer cols = 4;
    TRowsGrid& g = *FGrid;
    g.SetColCount(cols);
    g.SetRowCount(2);
    std::vector<ModelRow> stored(10, ModelRow(cols)); // the constructor's 10 rows are kept
    Integer count = 2;
    Integer maxCount = 10;
    Integer serial = 0;
    std::mt19937 random(1234);
    auto pick = [&](Integer lo, Integer hi) {
        return std::uniform_int_distribution<Integer>(lo, hi)(random);
    };
    auto ensure = [&](Integer rows) {
        if (static_cast<Integer>(stored.size()) < rows)
            stored.resize(rows, ModelRow(cols));
    };
    auto writeRow = [&](Integer r) {
        for (Integer c = 0; c < cols; ++c) {
            const String text = u"e" + IntToStr(++serial);
            g.SetCells(c, r, text);
            stored[r][c].text = text;
            if (pick(0, 5) == 0 && !stored[r][c].record) {
                GiveRecord(g, c, r);
                stored[r][c].record = true;
            }
        }
    };
    auto clearCells = [&](Integer c1, Integer r1, Integer c2, Integer r2) {
        for (Integer r = r1; r <= r2; ++r)
            for (Integer c = c1; c <= c2; ++c)
                stored[r][c] = ModelCell{};
    };
    auto insert = [&](Integer at, Integer k) {
        ensure(count + k);
        for (Integer r = count; r < count + k; ++r)
            stored[r] = ModelRow(cols);
        std::rotate(stored.begin() + at, stored.begin() + count, stored.begin() + count + k);
        count += k;
        maxCount = std::max(maxCount, count);
    };

    for (int step = 0; step < 400; ++step) {
        const int op = pick(0, 9);
        std::string what;
        if (op <= 3) {
            what = "AddRow";
            g.AddRow();
            insert(count, 1);
            writeRow(count - 1);
        } else if (op <= 5) {
            const Integer at = pick(0, count);
            const Integer k = pick(-1, 4);
            what = "InsertRows " + std::to_string(at) + " " + std::to_string(k);
            g.InsertRows(at, k, true);
            if (k > 0)
                insert(at, k);
        } else if (op <= 7) {
            const Integer n = pick(2, count + 6);
            what = "RowCount " + std::to_string(n);
            g.SetRowCount(n);
            ensure(n);
            count = n;
            maxCount = std::max(maxCount, n);
        } else if (op == 8) {
            what = "ClearNormalCells and RowCount 2";
            g.ClearNormalCells();
            clearCells(1, 1, cols - 1, count - 1);
            g.SetRowCount(2);
            count = 2;
        } else {
            const Integer at = pick(0, count - 1);
            what = "ClearRows " + std::to_string(at);
            g.ClearRows(at, 2);
            clearCells(0, at, cols - 1, std::min(at + 1, maxCount - 1));
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what);
        ASSERT_EQ(g.RowCount(), count);
        ASSERT_EQ(g.MaxRowCount(), maxCount);
        int records = 0;
        for (Integer r = 0; r < static_cast<Integer>(stored.size()); ++r)
            for (Integer c = 0; c < cols; ++c) {
                ASSERT_EQ(g.GridCells(c, r), stored[r][c].text) << c << "," << r;
                ASSERT_EQ(g.PeekCellProperties(c, r) != nullptr, stored[r][c].record) << c << "," << r;
                records += stored[r][c].record ? 1 : 0;
            }
        ASSERT_EQ(gLiveGraphics, records) << "every record is held by exactly one cell";
    }
    // The grid goes with rows kept beyond its count; TearDown checks that every record went with it.
    g.SetRowCount(2);
}

} // namespace
