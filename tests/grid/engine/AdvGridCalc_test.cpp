// Tests of the grid's column, row, rectangle and selection calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"

namespace {

// Records what the column aggregates report of their walk.
class CalcGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    std::vector<std::pair<TGridExportState, Integer>> reports;

protected:
    void ExportNotification(TGridExportState AState, Integer ARow) override {
        reports.emplace_back(AState, ARow);
    }
};

class AdvGridCalcTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = FormatSettings;
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        grid = std::make_unique<CalcGrid>(nullptr);
        grid->SetColCount(4);
        grid->SetRowCount(5);
    }
    void TearDown() override { FormatSettings = saved; }
    // Column 1's data rows 1 .. 4.
    void Column(std::initializer_list<const Char*> texts) {
        Integer r = 1;
        for (const Char* t : texts)
            grid->SetCells(1, r++, t);
    }
    template <class Call> void ExpectNoFloat(Call call, const char* what) {
        try {
            call();
            ADD_FAILURE() << what << " did not raise";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), u"Cell does not contain a float value") << what;
        }
    }
    TFormatSettings saved;
    std::unique_ptr<CalcGrid> grid;
};

TEST_F(AdvGridCalcTest, ColumnAggregatesSkipNonNumbersAndCountEmptyCellsAsZero) {
    Column({u"1", u"2", u"1.2.3", u""});
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 3);
    EXPECT_EQ(grid->ColumnAvg(1, 1, 4), 0.75); // every row of the range counts
    EXPECT_EQ(grid->ColumnMin(1, 1, 4), 0);
    EXPECT_EQ(grid->ColumnMax(1, 1, 4), 2);
    EXPECT_EQ(grid->ColumnSum(1, -1, -1), 3);
    ExpectNoFloat([&] { grid->ColumnStdDev(1, 1, 4); }, "ColumnStdDev");
    // The start value of the minimum and maximum is read without a guard.
    ExpectNoFloat([&] { grid->ColumnMin(1, 3, 4); }, "ColumnMin from a text");
    ExpectNoFloat([&] { grid->ColumnMax(1, 3, 4); }, "ColumnMax from a text");

    Column({u"2", u"4", u"4", u"6"});
    EXPECT_DOUBLE_EQ(grid->ColumnStdDev(1, 1, 4), std::sqrt(2.0));
    EXPECT_EQ(grid->ColumnMin(1, 1, 4), 2);
    EXPECT_EQ(grid->ColumnMax(1, 1, 4), 6);
}

TEST_F(AdvGridCalcTest, ColumnValuesReadTheLocaleSeparatorsAndMarkup) {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    Column({u"1.000,5", u"<b>2,5</b>", u"-", u"€ 3"});
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 1006);
    EXPECT_EQ(grid->ColumnMax(1, 1, 4), 1000.5);
}

TEST_F(AdvGridCalcTest, EmptyRangesAnswerZeroInsteadOfNaN) {
    Column({u"1", u"2", u"3", u"4"});
    EXPECT_EQ(grid->ColumnStdDev(1, 3, 2), 0);
    EXPECT_EQ(grid->ColumnAvg(1, 3, 2), 0);
    EXPECT_EQ(grid->RowAvg(1, 2, 1), 0);
    EXPECT_EQ(grid->RowSum(1, 2, 1), 0);
    // A grid of a header and a footer row has no data rows.
    grid->SetRowCount(2);
    grid->SetFixedFooters(1);
    EXPECT_EQ(grid->ColumnStdDev(1, -1, -1), 0);
    EXPECT_EQ(grid->ColumnCount(1, -1, -1), 0);
}

TEST_F(AdvGridCalcTest, ColumnCountAndCustomCalcTakeTheRange) {
    grid->SetRowCount(10);
    grid->SetFixedFooters(1);
    EXPECT_EQ(grid->ColumnCount(1, 2, 5), 4);
    EXPECT_EQ(grid->ColumnCount(1, -1, -1), 8);

    EXPECT_EQ(grid->ColumnCustomCalc(1, -1, -1), 0);
    std::vector<Integer> seen;
    grid->OnColumnCalc = [&](TObject*, Integer ACol, Integer FromRow, Integer ToRow, double& Res) {
        seen = {ACol, FromRow, ToRow};
        EXPECT_EQ(Res, 0);
        Res = 42;
    };
    EXPECT_EQ(grid->ColumnCustomCalc(2, -1, -1), 42);
    EXPECT_EQ(seen, (std::vector<Integer>{2, -1, -1}));
}

TEST_F(AdvGridCalcTest, ColumnDistinctComparesDisplayedTextsWithoutCase) {
    Column({u"a", u"A", u"b", u""});
    EXPECT_EQ(grid->ColumnDistinct(1, 1, 3), 2);
    EXPECT_EQ(grid->ColumnDistinct(1, 1, 4), 3); // the empty text is one more value
}

TEST_F(AdvGridCalcTest, NodeRowsCountInAnUngroupedGridAndMergedCellsOnlyAtTheirBase) {
    Column({u"1", u"10", u"100", u"1000"});
    grid->CreateCellGraphic(0, 2)->SetCellType(ctNode);
    grid->CreateCellGraphic(0, 3)->SetCellType(ctSummary);
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 1111);
    grid->MergeCells(1, 3, 1, 2); // rows 3 and 4 of column 1 are one cell
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 111);
    EXPECT_EQ(grid->ColumnMax(1, 1, 4), 100);
    grid->SetCells(2, 1, u"5");
    grid->MergeCells(2, 1, 2, 1); // columns 2 and 3 of row 1
    grid->SetCells(0, 1, u"7");
    EXPECT_EQ(grid->RowSum(1, 0, 3), 13);
}

TEST_F(AdvGridCalcTest, ColumnWalkReportsStartUsedRowsAndEnd) {
    Column({u"1", u"1.2.3", u"3", u"4"});
    grid->MergeCells(1, 3, 1, 2);
    grid->reports.clear();
    grid->ColumnSum(1, 1, 4);
    const std::vector<std::pair<TGridExportState, Integer>> expected = {{esExportStart, 1},
                                                                        {esExportNextRow, 1},
                                                                        {esExportNextRow, 2},
                                                                        {esExportNextRow, 3},
                                                                        {esExportDone, -1}};
    EXPECT_EQ(grid->reports, expected);
    // A conversion error leaving the walk still ends it.
    grid->reports.clear();
    EXPECT_THROW(grid->ColumnStdDev(1, 1, 4), EAdvGridError);
    ASSERT_FALSE(grid->reports.empty());
    EXPECT_EQ(grid->reports.back(), std::make_pair(esExportDone, Integer{-1}));
}

TEST_F(AdvGridCalcTest, ARangePastTheDisplayedRowsReadsStoredRowsHiddenOnesToo) {
    grid->SetRowCount(7);
    for (Integer r = 1; r <= 6; ++r)
        grid->SetCells(1, r, IntToStr(1 << r)); // 2 .. 64
    grid->HideRows(2, 3);
    ASSERT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->ColumnSum(1, 1, 6), 126);
    EXPECT_EQ(grid->ColumnMax(1, 1, 6), 64);
    // Within the displayed rows the hidden ones are not seen.
    EXPECT_EQ(grid->ColumnSum(1, 1, 4), 2 + 16 + 32 + 64);
}

TEST_F(AdvGridCalcTest, RowAggregatesStartFromTheFirstCell) {
    for (auto [c, t] : {std::pair{0, u"3"}, {1, u"1.2.3"}, {2, u"-1"}, {3, u"7"}})
        grid->SetCells(c, 1, t);
    EXPECT_EQ(grid->RowSum(1, 0, 3), 9);
    EXPECT_EQ(grid->RowAvg(1, 0, 3), 2.25);
    EXPECT_EQ(grid->RowMin(1, 0, 3), -1);
    EXPECT_EQ(grid->RowMax(1, 0, 3), 7);
    EXPECT_EQ(grid->RowMin(1, 3, 2), 7); // an empty range answers the start value
    ExpectNoFloat([&] { grid->RowMin(1, 1, 3); }, "RowMin from a text");
    ExpectNoFloat([&] { grid->RowMax(1, 1, 3); }, "RowMax from a text");
}

TEST_F(AdvGridCalcTest, RectanglesInEitherCornerOrderAndTheSelection) {
    grid->SetCells(1, 1, u"1");
    grid->SetCells(2, 1, u"2");
    grid->SetCells(1, 2, u"3");
    grid->SetCells(2, 2, u"4");
    const TGridRect rect{1, 1, 2, 2};
    const TGridRect reversed{2, 2, 1, 1};
    EXPECT_EQ(grid->RectAvg(rect), 2.5);
    EXPECT_EQ(grid->RectAvg(reversed), 2.5);
    EXPECT_EQ(grid->RectSum(reversed), 10);
    EXPECT_EQ(grid->RectMin(reversed), 1);
    EXPECT_EQ(grid->RectMax(rect), 4);

    grid->SetSelection(TGridRect{2, 2, 2, 2});
    EXPECT_EQ(grid->SelectionSum(), 4);
    EXPECT_EQ(grid->SelectionMin(), 4);
    grid->SetSelection(rect);
    EXPECT_EQ(grid->SelectionAvg(), 2.5);
    EXPECT_EQ(grid->SelectionMax(), 4);

    grid->SetCells(2, 2, u"4.0.0");
    ExpectNoFloat([&] { grid->RectSum(rect); }, "RectSum over a text");
    ExpectNoFloat([&] { grid->SelectionMin(); }, "SelectionMin over a text");
}

TEST_F(AdvGridCalcTest, DistinctValuesKeepsTheFirstFormOrEveryCaseAndIsSorted) {
    grid->SetRowCount(7);
    grid->SetFixedFooters(1);
    const Char* texts[] = {u"b", u"A", u"a", u"B", u"c"};
    for (Integer r = 1; r <= 5; ++r)
        grid->SetCells(1, r, texts[r - 1]);
    grid->SetCells(1, 6, u"footer");

    std::unique_ptr<TStringList> folded = grid->DistinctValues(1, false);
    EXPECT_EQ(folded->Text(), u"A\r\nb\r\nc\r\n");
    std::unique_ptr<TStringList> exact = grid->DistinctValues(1, true);
    ASSERT_EQ(exact->Count(), 5);
    EXPECT_GE(exact->IndexOf(u"a"), 0);
    EXPECT_GE(exact->IndexOf(u"A"), 0);
    for (Integer i = 1; i < exact->Count(); ++i)
        EXPECT_LT(AnsiCompareStr(exact->Strings(i - 1), exact->Strings(i)), 0);
}

} // namespace
