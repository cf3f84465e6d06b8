// Tests of the full string grid's range operations: trimming, colouring, merging runs of equal cells
// and splitting them, and finding cells by their text.
#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/win32/winuser.h"

namespace {

using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;

// Counts the cell-change handling and opens up the hidden-cells flag.
class TRangesGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SetSaveHiddenCells(bool value) { FSaveHiddenCells = value; }
    // As after an in-place edit changed the text: the grid swallows its next repaint.
    void SetEditChange(bool value) { FEditChange = value; }
    std::vector<TPoint> changed;

protected:
    void CellTextChanged(Integer ACol, Integer ARow) override { changed.emplace_back(ACol, ARow); }
};

class AdvGridRangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new TRangesGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    Integer RecordCount() const {
        Integer count = 0;
        for (Integer r = 0; r < FGrid->RowCount(); ++r)
            for (Integer c = 0; c < FGrid->ColCount(); ++c)
                count += FGrid->CellPropsAssigned(c, r) ? 1 : 0;
        return count;
    }

    TRangesGrid* FGrid = nullptr;
};

// The vertical blocks of a column as "first-last" of each, joined by ",".
std::string ColumnBlocks(TAdvStringGrid& g, Integer col) {
    std::string out;
    for (Integer r = 0; r < g.RowCount(); ++r) {
        if (!g.IsYMergedCell(col, r) || g.BaseCell(col, r).Y != r)
            continue;
        out += (out.empty() ? "" : ",") + std::to_string(r) + "-" + std::to_string(r + g.CellSpan(col, r).Y);
    }
    return out;
}

// The horizontal blocks of a row, in the same form.
std::string RowBlocks(TAdvStringGrid& g, Integer row) {
    std::string out;
    for (Integer c = 0; c < g.ColCount(); ++c) {
        if (!g.IsXMergedCell(c, row) || g.BaseCell(c, row).X != c)
            continue;
        out += (out.empty() ? "" : ",") + std::to_string(c) + "-" + std::to_string(c + g.CellSpan(c, row).X);
    }
    return out;
}

// ---- Trimming

TEST_F(AdvGridRangesTest, TrimAllKeepsInnerBlanksAndWritesBackEveryCell) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetCells(0, 0, u"  a b  ");
    g.SetCells(1, 0, u"\tx\r\n");
    g.SetCells(0, 1, u"same");
    g.SetCells(1, 1, u"");
    // Records make the cell-change handling observable.
    for (Integer r = 0; r < 2; ++r)
        for (Integer c = 0; c < 2; ++c)
            g.CellProperties(c, r);
    g.changed.clear();

    g.TrimAll();

    EXPECT_EQ(g.Cells(0, 0), u"a b");
    EXPECT_EQ(g.Cells(1, 0), u"x");
    EXPECT_EQ(g.Cells(0, 1), u"same");
    EXPECT_EQ(g.changed.size(), 4u) << "unchanged cells are written back too";
}

TEST_F(AdvGridRangesTest, TrimRectMapsDisplayedColumnsOnlyWhenSavingHiddenCells) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(4);
    g.SetRowCount(2);
    for (Integer c = 0; c < 4; ++c)
        g.SetGridCell(c, 1, u" " + IntToStr(c) + u" ");
    g.HideColumn(1);

    g.TrimRect(1, 1, 1, 1); // stored column 1, the hidden one
    EXPECT_EQ(g.GridCells(1, 1), u"1");
    EXPECT_EQ(g.GridCells(2, 1), u" 2 ");

    g.SetSaveHiddenCells(true);
    g.TrimRect(1, 1, 1, 1); // displayed column 1 is stored column 2
    EXPECT_EQ(g.GridCells(2, 1), u"2");
    EXPECT_EQ(g.GridCells(3, 1), u" 3 ");
}

// ---- Colouring

TEST_F(AdvGridRangesTest, ColorRectColoursExactlyTheRectangle) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(5);
    g.SetRowCount(6);
    g.ColorRect(3, 4, 1, 2, clRed);
    g.ColorRect(1, 4, 3, 2, clRed);
    EXPECT_EQ(RecordCount(), 0) << "a reversed rectangle does nothing";

    g.ColorRect(1, 2, 3, 4, clRed);
    EXPECT_EQ(RecordCount(), 9);
    for (Integer r = 2; r <= 4; ++r)
        for (Integer c = 1; c <= 3; ++c) {
            ASSERT_TRUE(g.CellPropsAssigned(c, r));
            EXPECT_EQ(g.PeekCellProperties(c, r)->BrushColor(), clRed) << c << "," << r;
        }

    // A cell object in a recoloured cell stays with its record.
    g.SetGraphicObjects(2, 3, new TCellGraphic);
    g.ColorRect(2, 3, 2, 3, clBlue);
    EXPECT_EQ(gLiveGraphics, 1);
    EXPECT_EQ(g.PeekCellProperties(2, 3)->BrushColor(), clBlue);
    EXPECT_EQ(RecordCount(), 9);
}

TEST_F(AdvGridRangesTest, BulkChangesRepaintTheShownGridAndLeaveCellRepaintsWorking) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 400, 300);
    auto* grid = new TRangesGrid(form);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    const auto pending = [&] {
        RECT rect{};
        return GetUpdateRect(grid->Handle(), &rect, FALSE) != FALSE;
    };
    ASSERT_FALSE(pending());

    const std::function<void()> changes[] = {
        [&] { grid->ColorRect(1, 1, 3, 5, clRed); },
        [&] { grid->MergeColumnCells(0, true); },
        [&] { grid->SplitAllCells(); },
        [&] { grid->TrimRect(0, 0, 1, 1); },
    };
    grid->SetCells(0, 2, u"a");
    grid->SetCells(0, 3, u"a");
    Application->ProcessMessages();
    for (const auto& change : changes) {
        // The one repaint stands for every cell held back, so it is not the one an edit swallows.
        grid->SetEditChange(true);
        change();
        EXPECT_TRUE(pending());
        Application->ProcessMessages();
        // A single cell's repaint still reaches the window afterwards.
        grid->CellProperties(2, 2)->SetBrushColor(clBlue);
        EXPECT_TRUE(pending());
        Application->ProcessMessages();
    }
    form->Free();
    Application->ProcessMessages();
}

// ---- Merging runs

struct MergeCase {
    const char* name;
    std::vector<const char*> texts; // column 1 below one fixed row, or row 1 right of one fixed column
    Integer footers;                // fixed footer rows, or fixed right columns
    const char* blocks;
};

const MergeCase ColumnCases[] = {
    {"runs of two and three, single left alone", {"A", "A", "B", "B", "B", "C"}, 0, "1-2,3-5"},
    {"no equal neighbours", {"A", "B", "A", "B"}, 0, ""},
    {"the whole column", {"A", "A", "A"}, 0, "1-3"},
    {"run at the end", {"A", "B", "B"}, 0, "2-3"},
    {"the footer row stays out", {"A", "A", "B", "B"}, 1, "1-2"},
    {"case matters", {"a", "A"}, 0, ""},
};

const MergeCase RowCases[] = {
    {"only the two equal cells", {"x", "y", "y", "z"}, 0, "2-3"},
    {"the right fixed column stays out", {"x", "x", "y", "y"}, 1, "1-2"},
    {"the whole row", {"x", "x", "x"}, 0, "1-3"},
};

class MergeColumnCellsTest : public AdvGridRangesTest, public ::testing::WithParamInterface<MergeCase> {};
class MergeRowCellsTest : public AdvGridRangesTest, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(MergeColumnCellsTest, MergesRunsOfEqualTexts) {
    const MergeCase& c = GetParam();
    TRangesGrid& g = *FGrid;
    g.SetColCount(3);
    g.SetRowCount(1 + static_cast<Integer>(c.texts.size()));
    for (size_t i = 0; i < c.texts.size(); ++i)
        g.SetCells(1, 1 + static_cast<Integer>(i), String(c.texts[i], c.texts[i] + strlen(c.texts[i])));
    g.SetFixedFooters(c.footers);

    g.MergeColumnCells(1, true);
    EXPECT_EQ(ColumnBlocks(g, 1), c.blocks);

    g.SplitColumnCells(1);
    EXPECT_EQ(ColumnBlocks(g, 1), "");
    EXPECT_EQ(g.MergeCount(), 0);
}

TEST_P(MergeRowCellsTest, MergesRunsOfEqualTexts) {
    const MergeCase& c = GetParam();
    TRangesGrid& g = *FGrid;
    g.SetRowCount(3);
    g.SetColCount(1 + static_cast<Integer>(c.texts.size()));
    for (size_t i = 0; i < c.texts.size(); ++i)
        g.SetCells(1 + static_cast<Integer>(i), 1, String(c.texts[i], c.texts[i] + strlen(c.texts[i])));
    g.SetFixedRightCols(c.footers);

    g.MergeRowCells(1, true);
    EXPECT_EQ(RowBlocks(g, 1), c.blocks);

    g.SplitRowCells(1);
    EXPECT_EQ(RowBlocks(g, 1), "");
    EXPECT_EQ(g.MergeCount(), 0);
}

std::string CaseName(const ::testing::TestParamInfo<MergeCase>& info) {
    std::string name;
    for (const char* p = info.param.name; *p != 0; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, MergeColumnCellsTest, ::testing::ValuesIn(ColumnCases), CaseName);
INSTANTIATE_TEST_SUITE_P(Cases, MergeRowCellsTest, ::testing::ValuesIn(RowCases), CaseName);

TEST_F(AdvGridRangesTest, SubColumnsMergeOnlyWithinTheMainColumnsMerges) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(3);
    g.SetRowCount(7);
    const char* main[] = {"A", "A", "A", "B", "B", "C"};
    const char* sub[] = {"x", "x", "y", "y", "y", "y"};
    for (Integer i = 0; i < 6; ++i) {
        g.SetCells(1, 1 + i, String(1, static_cast<Char>(main[i][0])));
        g.SetCells(2, 1 + i, String(1, static_cast<Char>(sub[i][0])));
    }

    g.MergeColumnCells(2, false);
    EXPECT_EQ(ColumnBlocks(g, 2), "") << "without merges in other columns nothing joins";

    g.MergeColumnCells(1, true);
    g.MergeColumnCells(2, false);
    EXPECT_EQ(ColumnBlocks(g, 1), "1-3,4-5");
    // Rows 3 and 4 both read y but lie in different main blocks; row 6 has no main block at all.
    EXPECT_EQ(ColumnBlocks(g, 2), "1-2,4-5");
}

TEST_F(AdvGridRangesTest, SplitAllCellsSplitsEveryBlock) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(5);
    g.SetRowCount(5);
    g.MergeCells(0, 0, 2, 2);
    g.MergeCells(3, 1, 2, 3);
    g.MergeCells(1, 3, 2, 1);
    ASSERT_EQ(g.MergeCount(), 3);

    g.SplitAllCells();
    EXPECT_EQ(g.MergeCount(), 0);
    for (Integer r = 0; r < 5; ++r)
        for (Integer c = 0; c < 5; ++c)
            EXPECT_FALSE(g.IsMergedCell(c, r)) << c << "," << r;
}

TEST_F(AdvGridRangesTest, MergeColsJoinsTheTextsBelowTheFixedRowsAndRemovesTheSecondColumn) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(4);
    g.SetRowCount(4);
    const char16_t* texts[4][4] = {{u"h0", u"h1", u"h2", u"h3"},
                                   {u"r1", u"a", u"b", u"x1"},
                                   {u"r2", u" c", u"", u"x2"},
                                   {u"r3", u"", u"d ", u"x3"}};
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 4; ++c)
            g.SetCells(c, r, texts[r][c]);
    g.SetGraphicObjects(2, 1, new TCellGraphic); // the removed column's record goes with it

    g.MergeCols(1, 2, u", ");

    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(gLiveGraphics, 0);
    const std::vector<String> expected[] = {
        {u"h0", u"h1", u"h3"}, {u"r1", u"a, b", u"x1"}, {u"r2", u"c,", u"x2"}, {u"r3", u", d", u"x3"}};
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 3; ++c)
            EXPECT_EQ(g.Cells(c, r), expected[r][static_cast<size_t>(c)]) << c << "," << r;
}

// ---- Finding

TEST_F(AdvGridRangesTest, IsCellFindsTheFirstExactRawTextInReadingOrder) {
    TRangesGrid& g = *FGrid;
    g.SetColCount(4);
    g.SetRowCount(4);
    g.SetGridCell(3, 1, u"key");
    g.SetGridCell(0, 2, u"key");
    g.SetGridCell(2, 0, u"Key");
    g.SetGridCell(1, 3, u"hidden");
    // Display events and merges do not change what is searched.
    g.OnGetDisplText = [](TObject*, Integer, Integer, String& value) { value = u"key"; };
    g.MergeCells(0, 3, 2, 1);

    Integer col = -1;
    Integer row = -1;
    ASSERT_TRUE(g.IsCell(u"key", col, row));
    EXPECT_EQ(col, 3);
    EXPECT_EQ(row, 1);

    ASSERT_TRUE(g.IsCell(u"Key", col, row));
    EXPECT_EQ(col, 2) << "fixed cells are searched too";
    EXPECT_EQ(row, 0);

    ASSERT_TRUE(g.IsCell(u"hidden", col, row)) << "a merged cell's own stored text";
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 3);

    col = 7;
    row = 8;
    EXPECT_FALSE(g.IsCell(u"ke", col, row));
    EXPECT_EQ(col, 7);
    EXPECT_EQ(row, 8);
}

TEST_F(AdvGridRangesTest, IsWideCellLooksForTheMarkerAtTheStartOnly) {
    TRangesGrid& g = *FGrid;
    g.SetCells(1, 1, u"|\\0041");
    g.SetCells(2, 1, u"a|\\0041");
    EXPECT_TRUE(g.IsWideCell(1, 1));
    EXPECT_FALSE(g.IsWideCell(2, 1));
    EXPECT_FALSE(g.IsWideCell(3, 1));
}

} // namespace
