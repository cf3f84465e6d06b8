// Tests of sorting the grid's rows: the comparison rules, the plain and indexed sorts, returning to the
// order before the sorts, the grid's shape when a handler raises, and the work a sort does.
#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FormatSettings.h"

namespace {

using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;

// The separators and date order a case runs under.
enum class Locale { Point, Comma, DayFirst };

void UseLocale(Locale locale) {
    FormatSettings = DefaultFormatSettings();
    if (locale == Locale::Comma) {
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
        FormatSettings.DateSeparator = u'.';
        FormatSettings.ShortDateFormat = u"dd.mm.yyyy";
    } else if (locale == Locale::DayFirst) {
        FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
    }
}

class AdvGridSortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, 400, 300);
        grid = new TAdvStringGrid(nullptr);
        grid->SetParent(form);
        grid->SetBounds(0, 0, 300, 150);
    }
    void TearDown() override {
        delete grid;
        delete form;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    // One fixed row, a fixed column of row numbers, and the texts in the columns after it, one
    // std::vector per column.
    void Fill(const std::vector<std::vector<String>>& columns) {
        const Integer rows = static_cast<Integer>(columns.front().size());
        grid->SetColCount(1 + static_cast<Integer>(columns.size()));
        grid->SetRowCount(1 + rows);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        grid->SetCells(0, 0, u"#");
        for (Integer r = 0; r < rows; ++r) {
            grid->SetCells(0, r + 1, IntToStr(r + 1));
            for (size_t c = 0; c < columns.size(); ++c)
                grid->SetCells(static_cast<Integer>(c) + 1, r + 1, columns[c][static_cast<size_t>(r)]);
        }
    }
    std::vector<String> Column(Integer col, Integer from = 1) const {
        std::vector<String> out;
        for (Integer r = from; r < grid->RowCount(); ++r)
            out.push_back(grid->GridCells(col, r));
        return out;
    }
    // Each row's cross-reference entry names the row whose number it carries in column 0.
    void ExpectCrossReferenceMatchesRows() {
        for (Integer r = 1; r < grid->RowCount(); ++r)
            EXPECT_EQ(grid->SortedRowIndex(r), StrToInt(grid->GridCells(0, r))) << "row " << r;
    }
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;
};

// ---- The comparison rules, through whole sorts

struct SortCase {
    const char* name;
    Locale locale;
    Integer style; // -1: the settings' automatic detection
    String prefix;
    String suffix;
    TSortDirection direction;
    bool ignoreBlanks;
    TSortBlankPosition blankPos;
    std::vector<String> texts;
    std::vector<String> sorted;
};

const SortCase kSortCases[] = {
    {"NumbersDetected",
     Locale::Point,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"10", u"9", u"100"},
     {u"9", u"10", u"100"}},
    {"NumbersDescending",
     Locale::Point,
     -1,
     u"",
     u"",
     sdDescending,
     false,
     blFirst,
     {u"10", u"9", u"100"},
     {u"100", u"10", u"9"}},
    {"AlphabeticSharedStarts",
     Locale::Point,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"abcdz", u"abcda", u"abc", u"abcd", u"ab", u"abcdaa", u"B"},
     {u"B", u"ab", u"abc", u"abcd", u"abcda", u"abcdaa", u"abcdz"}},
    {"AlphabeticNumbers",
     Locale::Point,
     ssAlphabetic,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"10", u"9", u"100"},
     {u"10", u"100", u"9"}},
    {"CommaDecimalsDetected",
     Locale::Comma,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"2,5", u"10", u"-1,25"},
     {u"-1,25", u"2,5", u"10"}},
    {"DayFirstDatesDetected",
     Locale::DayFirst,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"02/01/2020", u"31/12/2019", u"15/06/2019"},
     {u"15/06/2019", u"31/12/2019", u"02/01/2020"}},
    {"DottedDatesDetected",
     Locale::Comma,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"02.01.2020", u"31.12.2019"},
     {u"31.12.2019", u"02.01.2020"}},
    {"YearFirstIsText",
     Locale::DayFirst,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"2019/9/1", u"2019/10/1"},
     {u"2019/10/1", u"2019/9/1"}},
    {"TimesDetected",
     Locale::Point,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"10:30", u"9:15"},
     {u"9:15", u"10:30"}},
    {"NumericNonNumbersEqual",
     Locale::Point,
     ssNumeric,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"b", u"a"},
     {u"b", u"a"}},
    {"NumericNonNumberIsZero",
     Locale::Point,
     ssNumeric,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"5", u"x", u"-1"},
     {u"-1", u"x", u"5"}},
    {"NumericDigitsBeforeUnit",
     Locale::Point,
     ssNumeric,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"12 kg", u"9", u"100"},
     {u"9", u"12 kg", u"100"}},
    {"NumericBothFailedEqual",
     Locale::Point,
     ssNumeric,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"12 kg", u"9 kg"},
     {u"12 kg", u"9 kg"}},
    {"NumericPrefixAndSuffix",
     Locale::Point,
     ssNumeric,
     u"$",
     u" USD",
     sdAscending,
     false,
     blFirst,
     {u"$10 USD", u"$9.5 USD", u"$-3 USD"},
     {u"$-3 USD", u"$9.5 USD", u"$10 USD"}},
    {"FinancialCommaDecimals",
     Locale::Comma,
     ssFinancial,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"1.234,5", u"999,75", u"1.234,25"},
     {u"999,75", u"1.234,25", u"1.234,5"}},
    {"FinancialPointDecimals",
     Locale::Point,
     ssFinancial,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"1,234.5", u"999.75"},
     {u"999.75", u"1,234.5"}},
    {"BlanksFirstWithoutIgnoreBlanks",
     Locale::Point,
     -1,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"b", u"", u"a"},
     {u"", u"a", u"b"}},
    {"BlanksLastAscending",
     Locale::Point,
     -1,
     u"",
     u"",
     sdAscending,
     true,
     blLast,
     {u"b", u"", u"a"},
     {u"a", u"b", u""}},
    {"BlanksLastDescending",
     Locale::Point,
     -1,
     u"",
     u"",
     sdDescending,
     true,
     blLast,
     {u"b", u"", u"a"},
     {u"b", u"a", u""}},
    {"BlanksFirstDescending",
     Locale::Point,
     -1,
     u"",
     u"",
     sdDescending,
     true,
     blFirst,
     {u"b", u"", u"a"},
     {u"", u"b", u"a"}},
    {"NumericBlankAfterPrefix",
     Locale::Point,
     ssNumeric,
     u"$",
     u"",
     sdAscending,
     true,
     blLast,
     {u"$", u"$5", u"$-5"},
     {u"$-5", u"$5", u"$"}},
    {"AlphaNoCaseKeepsEqualOrder",
     Locale::Point,
     ssAlphaNoCase,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"b", u"A", u"a", u"B"},
     {u"A", u"a", u"b", u"B"}},
    {"ShortDateDayFirst",
     Locale::Point,
     ssShortDateEU,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"5/1/2020", u"1/2/2020", u"31/2/2020"},
     {u"31/2/2020", u"5/1/2020", u"1/2/2020"}},
    {"ShortDateMonthFirst",
     Locale::Point,
     ssShortDateUS,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"5/1/2020", u"1/2/2020"},
     {u"1/2/2020", u"5/1/2020"}},
    {"Natural",
     Locale::Point,
     ssNatural,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"a10", u"a2", u"a1"},
     {u"a1", u"a2", u"a10"}},
    {"HTMLTagsIgnored",
     Locale::Point,
     ssHTML,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"<b>b</b>", u"a"},
     {u"a", u"<b>b</b>"}},
    {"AlphaNumericMixed",
     Locale::Point,
     ssAlphaNumeric,
     u"",
     u"",
     sdAscending,
     false,
     blFirst,
     {u"10", u"9", u"x"},
     {u"9", u"10", u"x"}},
};

class AdvGridSortCaseTest : public AdvGridSortTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(AdvGridSortCaseTest, SortsAndUnsorts) {
    const SortCase& c = GetParam();
    UseLocale(c.locale);
    Fill({c.texts});
    grid->SortSettings()->SetIgnoreBlanks(c.ignoreBlanks);
    grid->SortSettings()->SetBlankPos(c.blankPos);
    grid->OnGetFormat = [&](TObject*, Integer, TSortStyle& style, String& prefix, String& suffix) {
        if (c.style >= 0)
            style = static_cast<TSortStyle>(c.style);
        prefix = c.prefix;
        suffix = c.suffix;
    };
    grid->Sort(1, c.direction);
    EXPECT_EQ(Column(1), c.sorted);
    EXPECT_EQ(grid->Cells(0, 0), u"#") << "the fixed row stays";
    ExpectCrossReferenceMatchesRows();
    grid->QUnSort();
    EXPECT_EQ(Column(1), c.texts);
    for (Integer r = 1; r < grid->RowCount(); ++r)
        EXPECT_EQ(grid->SortedRowIndex(r), r);
}

INSTANTIATE_TEST_SUITE_P(Rules, AdvGridSortCaseTest, ::testing::ValuesIn(kSortCases),
                         [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.name; });

TEST_F(AdvGridSortTest, CheckBoxesSortUncheckedFirst) {
    Fill({{u"a", u"b", u"c"}});
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, false);
    grid->AddCheckBox(1, 3, true, false);
    grid->Sort(1, sdAscending);
    bool state = false;
    ASSERT_TRUE(grid->GetCheckBoxState(1, 1, state));
    EXPECT_FALSE(state);
    EXPECT_EQ(Column(0), (std::vector<String>{u"2", u"1", u"3"}));
}

TEST_F(AdvGridSortTest, CustomAndRawComparisonsDecide) {
    Fill({{u"aa", u"b", u"ccc"}});
    grid->OnGetFormat = [](TObject*, Integer, TSortStyle& style, String&, String&) { style = ssCustom; };
    // Longest first.
    grid->OnCustomCompare = [](TObject*, const String& a, const String& b, Integer& res) {
        res = a.size() < b.size() ? 1 : a.size() > b.size() ? -1 : 0;
    };
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), (std::vector<String>{u"ccc", u"aa", u"b"}));
    // Raw comparisons get the rows; by the row number in column 0, descending.
    grid->OnGetFormat = [](TObject*, Integer, TSortStyle& style, String&, String&) { style = ssRaw; };
    grid->OnRawCompare = [&](TObject*, Integer, Integer r1, Integer r2, Integer& res) {
        res = StrToInt(grid->GridCells(0, r2)) - StrToInt(grid->GridCells(0, r1));
    };
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), (std::vector<String>{u"3", u"2", u"1"}));
}

// ---- Ties, indexes, fixed parts and the current row

TEST_F(AdvGridSortTest, TiesGoToTheColumnsToTheRightHiddenOnesIncludedOnlyWithFull) {
    Fill({{u"b", u"a", u"b", u"a"}, {u"x", u"x", u"x", u"x"}, {u"2", u"4", u"1", u"3"}});
    grid->HideColumn(3);
    ASSERT_EQ(grid->ColCount(), 3);
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(0), (std::vector<String>{u"4", u"2", u"3", u"1"}));
    EXPECT_EQ(Column(3), (std::vector<String>{u"3", u"4", u"1", u"2"})) << "the hidden column moves along";
    // Without Full equal rows keep the order they have, in either direction.
    grid->SortSettings()->SetFull(false);
    grid->Sort(1, sdDescending);
    EXPECT_EQ(Column(0), (std::vector<String>{u"3", u"1", u"4", u"2"}));
}

TEST_F(AdvGridSortTest, IndexedSortUsesLaterIndexesOnlyWithFull) {
    Fill({{u"1", u"2", u"3", u"4"}, {u"x", u"y", u"x", u"y"}});
    grid->SortIndexes()->AddIndex(2, true);
    grid->SortIndexes()->AddIndex(1, false);
    grid->QSortIndexed();
    EXPECT_EQ(Column(1), (std::vector<String>{u"3", u"1", u"4", u"2"}));
    EXPECT_EQ(grid->SortIndexes()->Count(), 2) << "the indexes stay";
    grid->QUnSort();
    grid->SortSettings()->SetFull(false);
    grid->QSortIndexed();
    EXPECT_EQ(Column(1), (std::vector<String>{u"1", u"3", u"2", u"4"}));
    // A plain sort clears them; an indexed sort without any raises before anything moves.
    grid->Sort(1, sdDescending);
    EXPECT_EQ(grid->SortIndexes()->Count(), 0);
    const std::vector<String> before = Column(1);
    try {
        grid->QSortIndexed();
        FAIL() << "no exception";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), u"No indexes specified for indexed sort");
    }
    EXPECT_EQ(Column(1), before);
    EXPECT_FALSE(grid->LockUpdate());
}

TEST_F(AdvGridSortTest, FixedFootersStayAndNormalCellsOnlyKeepsColumnZero) {
    Fill({{u"c", u"a", u"b", u"total"}});
    grid->SetFixedFooters(1);
    grid->SetGraphicObjects(0, 1, new TCellGraphic);
    TObject* marker = grid->GraphicObjects(0, 1);
    grid->SortSettings()->SetNormalCellsOnly(true);
    grid->Sort(1, sdDescending);
    EXPECT_EQ(Column(1), (std::vector<String>{u"c", u"b", u"a", u"total"}));
    grid->Sort(1, sdAscending);
    EXPECT_EQ(Column(1), (std::vector<String>{u"a", u"b", u"c", u"total"}));
    EXPECT_EQ(Column(0), (std::vector<String>{u"1", u"2", u"3", u"4"}));
    EXPECT_EQ(grid->GraphicObjects(0, 1), marker);
    EXPECT_EQ(gLiveGraphics, 1);
}

TEST_F(AdvGridSortTest, CurrentRowFollowsItsDataOnlyWithMoveRowOnSort) {
    Fill({{u"c", u"a", u"b"}});
    std::vector<std::pair<Integer, Integer>> changes;
    grid->OnRowChanged = [&](TObject*, Integer oldRow, Integer newRow) {
        changes.push_back({oldRow, newRow});
    };
    grid->SetRow(1);
    changes.clear();
    grid->Sort(1, sdAscending);
    EXPECT_EQ(grid->Row(), 1) << "the row stays and shows other data";
    EXPECT_EQ(changes, (std::vector<std::pair<Integer, Integer>>{{1, 1}}));
    // "a" is current; after a descending sort it stands last, and the grid follows it there.
    grid->Navigation()->SetMoveRowOnSort(true);
    changes.clear();
    grid->Sort(1, sdDescending);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Cells(1, grid->Row()), u"a");
    EXPECT_EQ(changes, (std::vector<std::pair<Integer, Integer>>{{-1, 3}}));
    changes.clear();
    grid->SortIndexes()->AddIndex(1, true);
    grid->QSortIndexed();
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Cells(1, grid->Row()), u"a");
}

TEST_F(AdvGridSortTest, UnSortReturnsToTheOrderBeforeTheSortsSinceTheRowCountChanged) {
    Fill({{u"c", u"a", u"b"}, {u"1", u"3", u"2"}});
    grid->Sort(1, sdAscending);
    grid->Sort(2, sdDescending);
    grid->QUnSort();
    EXPECT_EQ(Column(1), (std::vector<String>{u"c", u"a", u"b"}));
    // A row added: the next sort starts a new cross-reference, so unsorting returns to the order after
    // the addition.
    grid->AddRow();
    grid->SetCells(0, 4, u"4");
    grid->SetCells(1, 4, u"0");
    grid->Sort(1, sdAscending);
    grid->QUnSort();
    EXPECT_EQ(Column(1), (std::vector<String>{u"c", u"a", u"b", u"0"}));
    // A row added after the sort leaves the cross-reference short: nothing moves.
    grid->Sort(1, sdAscending);
    const std::vector<String> sorted = Column(1);
    grid->AddRow();
    grid->QUnSort();
    EXPECT_EQ(Column(1, 1), (std::vector<String>{sorted[0], sorted[1], sorted[2], sorted[3], u""}));
}

TEST_F(AdvGridSortTest, GroupSortsOrderOnlyTheChildrenOfExpandedNodesOfTheDeepestLevel) {
    // Row 1 holds everything below it to row 10; rows 2, 6 and 8 are the deeper nodes. Rows 11 and 12
    // belong to no node.
    for (const bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "indexed" : "by column");
        delete grid;
        grid = new TAdvStringGrid(nullptr);
        grid->SetParent(form);
        Fill({{u"n1", u"n2", u"c", u"a", u"b", u"n6", u"single", u"n8", u"z", u"y", u"b", u"a"}});
        grid->AddNode(1, 10);
        grid->AddNode(2, 4);
        grid->AddNode(6, 2);
        grid->AddNode(8, 3);
        grid->SetRow(4);
        grid->ContractNode(8);
        if (indexed) {
            grid->SortIndexes()->Clear();
            grid->SortIndexes()->AddIndex(1, true);
            grid->QSortGroupIndexed();
        } else {
            grid->SortSettings()->SetColumn(1);
            grid->QSortGroup();
        }
        grid->ExpandNode(8);
        EXPECT_EQ(Column(1), (std::vector<String>{u"n1", u"n2", u"a", u"b", u"c", u"n6", u"single", u"n8",
                                                  u"z", u"y", u"b", u"a"}));
        // A node that is expanded now sorts the next time.
        if (indexed)
            grid->QSortGroupIndexed();
        else
            grid->QSortGroup();
        EXPECT_EQ(Column(1, 9), (std::vector<String>{u"y", u"z", u"b", u"a"}));
        EXPECT_EQ(grid->Row(), 4) << "the current row stays without MoveRowOnSort";
    }
}

TEST_F(AdvGridSortTest, SortByColumnNeedsTwoRowsAndQSortAColumn) {
    Fill({{u"b", u"a"}});
    grid->QSort(); // no column yet
    EXPECT_EQ(Column(1), (std::vector<String>{u"b", u"a"}));
    grid->SortByColumn(1);
    EXPECT_EQ(grid->SortSettings()->Column(), 1);
    EXPECT_EQ(Column(1), (std::vector<String>{u"a", u"b"}));
    grid->SetRowCount(1);
    grid->SortByColumn(0);
    EXPECT_EQ(grid->SortSettings()->Column(), 1);
}

TEST_F(AdvGridSortTest, SortSwapRowsCountsFollowsTheSortRowAndKeepsToOneColumnWhenAsked) {
    Fill({{u"a", u"b"}, {u"x", u"y"}});
    grid->SortRow = 1;
    const Integer swaps = grid->Swaps;
    grid->SortSwapRows(1, 2);
    EXPECT_EQ(grid->Swaps, swaps + 1);
    EXPECT_EQ(grid->SortRow, 2);
    EXPECT_EQ(Column(0), (std::vector<String>{u"2", u"1"}));
    grid->SortSettings()->SetSingleColumn(true);
    grid->SortSettings()->SetColumn(2);
    grid->SortSwapRows(1, 2);
    EXPECT_EQ(Column(0), (std::vector<String>{u"2", u"1"}));
    EXPECT_EQ(Column(1), (std::vector<String>{u"b", u"a"}));
    EXPECT_EQ(Column(2), (std::vector<String>{u"x", u"y"}));
}

TEST_F(AdvGridSortTest, SortLineSwapsWhenTheSecondRowBelongsFirst) {
    Fill({{u"a", u"a", u"b"}, {u"2", u"1", u"0"}});
    EXPECT_TRUE(grid->SortLine(1, 1, 2)) << "tied, then decided by the next column";
    EXPECT_EQ(Column(2), (std::vector<String>{u"1", u"2", u"0"}));
    EXPECT_FALSE(grid->SortLine(1, 1, 3));
    EXPECT_FALSE(grid->SortLine(2, 3, 3));
}

// The plain grid compares numbers of the key column without running the rest of the comparison; a
// grid with an OnGetFormat handler that changes nothing runs all of it. Both orders and counts agree.
TEST_F(AdvGridSortTest, NumbersCompareAlikeWithAndWithoutAFormatHandler) {
    const std::vector<String> numbers{u"10", u"", u"2.5", u"abc", u"-3", u"10", u"7 kg", u"1e2", u"", u"2.5"};
    const std::vector<String> ties{u"b", u"x", u"a", u"y", u"c", u"a", u"z", u"d", u"w", u"b"};
    struct Setting {
        TSortDirection direction;
        bool ignoreBlanks;
        TSortBlankPosition blanks;
        bool full;
        TSortStyle style; // with AutoFormat off
    };
    const Setting settings[] = {
        {sdAscending, false, blFirst, true, ssAutomatic},  {sdDescending, true, blLast, true, ssAutomatic},
        {sdAscending, true, blFirst, false, ssAutomatic},  {sdDescending, false, blFirst, true, ssNumeric},
        {sdAscending, true, blLast, true, ssAlphaNumeric},
    };
    for (const Setting& setting : settings) {
        std::vector<String> orders[2];
        Integer compares[2] = {0, 0};
        for (const bool handler : {false, true}) {
            Fill({numbers, ties});
            grid->OnGetFormat = nullptr;
            if (handler)
                grid->OnGetFormat = [](TObject*, Integer, TSortStyle&, String&, String&) {};
            grid->SortSettings()->SetAutoFormat(setting.style == ssAutomatic);
            grid->SortSettings()->SetDefaultFormat(setting.style);
            grid->SortSettings()->SetIgnoreBlanks(setting.ignoreBlanks);
            grid->SortSettings()->SetBlankPos(setting.blanks);
            grid->SortSettings()->SetFull(setting.full);
            const Integer before = grid->Compares;
            grid->Sort(1, setting.direction);
            compares[handler] = grid->Compares - before;
            orders[handler] = Column(0);
        }
        EXPECT_EQ(orders[0], orders[1]) << "direction " << static_cast<int>(setting.direction) << ", style "
                                        << static_cast<int>(setting.style);
        EXPECT_EQ(compares[0], compares[1]);
    }
}

// A key column compared by one rule throughout (all plain numbers, or all texts under one text style)
// is sorted by compact keys; a format handler that changes nothing makes every comparison go the full
// way. Columns that must leave the compact keys (a failed number, a date, a check box's style, a number
// among texts) are among the cases. Orders and counts agree.
TEST_F(AdvGridSortTest, KeyColumnsSortAlikeWithAndWithoutAFormatHandler) {
    struct Case {
        std::vector<String> keys;
        bool autoFormat;
        TSortStyle style; // with AutoFormat off
        bool ignoreCase;
    };
    const Case cases[] = {
        {{u"10", u"2.5", u"-3", u"10", u"1e2", u"0", u"2.5", u"-0.5", u"7", u"3"}, true, ssAutomatic, false},
        {{u"10", u"2.5", u"-3", u"10", u"1,000", u"0", u"2.5", u"-0.5", u"7", u"3"},
         true,
         ssAutomatic,
         false},
        {{u"abcd", u"abcde", u"abc", u"Abcd", u"", u"abcd", u"b", u"", u"abcda", u"ab"},
         true,
         ssAutomatic,
         false},
        {{u"abcd", u"abcde", u"abc", u"Abcd", u"", u"abcd", u"B", u"", u"ABCDa", u"ab"},
         true,
         ssAutomatic,
         true},
        {{u"abcd", u"12/03", u"abc", u"Abcd", u"", u"abcd", u"b", u"", u"abcda", u"ab"},
         true,
         ssAutomatic,
         false},
        {{u"abcd", u"abcde", u"abc", u"5", u"", u"abcd", u"b", u"", u"abcda", u"ab"},
         true,
         ssAutomatic,
         false},
        {{u"abcd", u"abcde", u"abc", u"5", u"", u"abcd", u"b", u"", u"abcda", u"ab"},
         false,
         ssAlphabetic,
         false},
        {{u"abcd", u"abcde", u"abc", u"Abcd", u"", u"abcd", u"B", u"", u"ABCDa", u"ab"},
         false,
         ssAlphaNoCase,
         false},
        {{u"abcd", u"abcde", u"abc", u"Abcd", u"", u"abcd", u"B", u"", u"ABCDa", u"ab"},
         false,
         ssAlphaNumeric,
         false},
        {{u"10", u"2.5", u"-3", u"10", u"1e2", u"0", u"2.5", u"-0.5", u"7", u"3"}, false, ssNumeric, false},
    };
    const std::vector<String> ties{u"b", u"x", u"a", u"y", u"c", u"a", u"z", u"d", u"w", u"b"};
    for (const Case& c : cases)
        for (const TSortDirection direction : {sdAscending, sdDescending})
            for (const bool ignoreBlanks : {false, true}) {
                std::vector<String> orders[2];
                Integer compares[2] = {0, 0};
                for (const bool handler : {false, true}) {
                    Fill({c.keys, ties});
                    grid->OnGetFormat = nullptr;
                    if (handler)
                        grid->OnGetFormat = [](TObject*, Integer, TSortStyle&, String&, String&) {};
                    grid->SortSettings()->SetAutoFormat(c.autoFormat);
                    grid->SortSettings()->SetDefaultFormat(c.style);
                    grid->SortSettings()->SetIgnoreCase(c.ignoreCase);
                    grid->SortSettings()->SetIgnoreBlanks(ignoreBlanks);
                    grid->SortSettings()->SetBlankPos(direction == sdAscending ? blLast : blFirst);
                    const Integer before = grid->Compares;
                    grid->Sort(1, direction);
                    compares[handler] = grid->Compares - before;
                    orders[handler] = Column(0);
                }
                EXPECT_EQ(orders[0], orders[1]) << "case " << (&c - cases) << ", direction "
                                                << static_cast<int>(direction) << ", blanks " << ignoreBlanks;
                EXPECT_EQ(compares[0], compares[1]) << "case " << (&c - cases);
            }
}

// Sorted by compact keys, the rows still move only through SortSwapRows and come back with QUnSort.
TEST_F(AdvGridSortTest, ALongNumberColumnSortsInOrderWithTiesByTheNextColumn) {
    std::vector<String> numbers;
    std::vector<String> ties;
    for (Integer i = 0; i < 300; ++i) {
        numbers.push_back(FloatToStr(((i * 37) % 100) * 0.5));
        ties.push_back(IntToStr((i * 11) % 300));
    }
    Fill({numbers, ties});
    const Integer swaps = grid->Swaps;
    grid->Sort(1, sdDescending);
    EXPECT_GT(grid->Swaps, swaps);
    for (Integer r = 2; r <= 300; ++r) {
        const Extended above = StrToFloat(grid->Cells(1, r - 1));
        const Extended here = StrToFloat(grid->Cells(1, r));
        ASSERT_GE(above, here) << "row " << r;
        if (above == here) {
            ASSERT_GE(StrToInt(grid->Cells(2, r - 1)), StrToInt(grid->Cells(2, r))) << "row " << r;
        }
    }
    ExpectCrossReferenceMatchesRows();
    grid->QUnSort();
    EXPECT_EQ(Column(1), numbers);
}

// ---- Moving the sorted rows in one pass

// A grid that moves sorted rows one SortSwapRows call at a time, as a descendant that overrides it does:
// the reference for the plain grid, which moves them in one pass where it can.
class TSwapByRowGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SortSwapRows(Integer ARow1, Integer ARow2) override {
        ++calls;
        TAdvStringGrid::SortSwapRows(ARow1, ARow2);
    }
    Integer calls = 0;
};

// A column far beyond the counts, whose cells the store keeps apart from the rows.
constexpr Integer FarCol = 500;

// Everything a row move carries, row by row: texts (a far one too), a cell record's colour, height,
// cross-reference, modified, enabled and selected flags; then the current row.
std::vector<String> RowMoveState(TAdvStringGrid& g) {
    std::vector<String> state;
    for (Integer r = 0; r < g.RowCount(); ++r) {
        String line;
        for (Integer c = 0; c < g.ColCount(); ++c)
            line += g.GridCells(c, r) + u"|";
        line += g.GridCells(FarCol, r) + u"|";
        line += IntToStr(g.Colors(2, r)) + u"|" + IntToStr(g.RowHeights(r)) + u"|" +
                IntToStr(g.SortedRowIndex(r)) + u"|" + (g.RowModified(r) ? u"m" : u"-") +
                (g.RowEnabled(r) ? u"e" : u"-") + (g.RowSelect(r) ? u"s" : u"-");
        state.push_back(line);
    }
    state.push_back(u"current " + IntToStr(g.Row()));
    return state;
}

struct RowMoveCase {
    const char* name;
    std::function<void(TAdvStringGrid&)> prepare; // after the rows are filled
    std::function<void(TAdvStringGrid&)> act;
};

const RowMoveCase kRowMoveCases[] = {
    {"WholeGridWithRecordsAndFlagsAndBack",
     [](TAdvStringGrid& g) {
         // Flag lists that reach every row.
         for (Integer r = 1; r < g.RowCount(); r += 7)
             g.SetRowEnabled(r, false);
         g.SetRowEnabled(g.RowCount() - 1, false);
         g.Navigation()->SetMoveRowOnSort(true);
         g.SetRowModified(g.RowCount() - 1, true);
         g.SetRowModified(40, true);
     },
     [](TAdvStringGrid& g) {
         g.Sort(1, sdAscending);
         g.Sort(2, sdDescending);
         g.QUnSort();
     }},
    {"PartOfTheRows", [](TAdvStringGrid&) {}, [](TAdvStringGrid& g) { g.QuickSort(1, 20, 120); }},
    {"HiddenRowsShownAfterwards", [](TAdvStringGrid& g) { g.HideRows(5, 15); },
     [](TAdvStringGrid& g) {
         g.Sort(1, sdDescending);
         g.UnHideRowsAll();
     }},
    {"RowsOfDifferingHeights",
     [](TAdvStringGrid& g) {
         for (Integer r = 3; r < g.RowCount(); r += 11)
             g.SetRowHeights(r, 30 + r % 5);
     },
     [](TAdvStringGrid& g) { g.Sort(1, sdAscending); }},
    {"FlagsReachingOnlySomeRows", [](TAdvStringGrid& g) { g.SetRowModified(30, true); },
     [](TAdvStringGrid& g) { g.Sort(2, sdAscending); }},
    {"FarCellInTheRows", [](TAdvStringGrid& g) { g.SetGridCell(FarCol, 9, u"far"); },
     [](TAdvStringGrid& g) { g.Sort(1, sdAscending); }},
    {"SingleColumn", [](TAdvStringGrid& g) { g.SortSettings()->SetSingleColumn(true); },
     [](TAdvStringGrid& g) { g.Sort(1, sdAscending); }},
    {"DisjunctSelectionFollowingTheRows",
     [](TAdvStringGrid& g) {
         g.MouseActions()->SetDisjunctRowSelect(true);
         g.Navigation()->SetMoveRowOnSort(true);
         for (Integer r = 2; r < g.RowCount(); r += 9)
             g.SetRowSelect(r, true);
     },
     [](TAdvStringGrid& g) { g.Sort(1, sdDescending); }},
    {"RowsAddedSinceTheCrossReference", [](TAdvStringGrid& g) { g.Sort(1, sdAscending); },
     [](TAdvStringGrid& g) {
         g.SetRowCount(g.RowCount() + 3);
         g.QuickSort(2, 1, g.RowCount() - 1);
     }},
};

class AdvGridRowMoveTest : public AdvGridSortTest, public ::testing::WithParamInterface<RowMoveCase> {};

// Numbers with ties, distinct words, and a record with its own colour in every fifth row: the plain grid
// and the row-by-row reference end alike, with the same count of swaps.
TEST_P(AdvGridRowMoveTest, TheOnePassMoveEndsAsMovingRowByRowDoes) {
    const RowMoveCase& c = GetParam();
    TSwapByRowGrid* reference = new TSwapByRowGrid(nullptr);
    reference->SetParent(form);
    reference->SetBounds(0, 150, 300, 150);
    std::vector<String> numbers;
    std::vector<String> words;
    for (Integer i = 0; i < 150; ++i) {
        numbers.push_back(IntToStr((i * 37) % 50));
        words.push_back(String(1, static_cast<Char>(u'a' + (i * 7) % 26)) + IntToStr((i * 53) % 150));
    }
    std::vector<std::vector<String>> states;
    std::vector<Integer> swaps;
    Integer calls = 0;
    for (TAdvStringGrid* g : {static_cast<TAdvStringGrid*>(grid), static_cast<TAdvStringGrid*>(reference)}) {
        TAdvStringGrid* kept = grid;
        grid = g;
        Fill({numbers, words});
        grid = kept;
        for (Integer r = 1; r < g->RowCount(); r += 5)
            g->SetColors(2, r, static_cast<TColor>(0x100 + r));
        g->SetRow(17);
        c.prepare(*g);
        const Integer before = g->Swaps;
        calls = reference->calls;
        c.act(*g);
        swaps.push_back(g->Swaps - before);
        states.push_back(RowMoveState(*g));
    }
    EXPECT_EQ(states[0], states[1]);
    EXPECT_EQ(swaps[0], swaps[1]);
    EXPECT_EQ(swaps[1], reference->calls - calls) << "the reference counts each call";
    EXPECT_GT(swaps[0], 0);
    delete reference;
}

INSTANTIATE_TEST_SUITE_P(Cases, AdvGridRowMoveTest, ::testing::ValuesIn(kRowMoveCases),
                         [](const ::testing::TestParamInfo<RowMoveCase>& info) { return info.param.name; });

// ---- Failures and the work done

TEST_F(AdvGridSortTest, ACompareHandlerRaisingLeavesTheShapeAndRows) {
    std::vector<String> texts;
    for (Integer i = 0; i < 40; ++i)
        texts.push_back(IntToStr((i * 17) % 40));
    Fill({texts});
    for (Integer r = 1; r <= 40; r += 3)
        grid->SetGraphicObjects(1, r, new TCellGraphic);
    grid->SetClearTextOnly(true);
    grid->SortSettings()->SetNormalCellsOnly(true);
    grid->Navigation()->SetKeepScrollOnSort(true);
    grid->SetTopRow(5);
    const Integer top = grid->TopRow();
    grid->OnGetFormat = [](TObject*, Integer, TSortStyle& style, String&, String&) { style = ssCustom; };
    Integer calls = 0;
    grid->OnCustomCompare = [&](TObject*, const String& a, const String& b, Integer& res) {
        if (++calls == 60)
            throw std::runtime_error("handler failed");
        res = StrToInt(a) - StrToInt(b);
    };
    EXPECT_THROW(grid->Sort(1, sdAscending), std::runtime_error);
    EXPECT_EQ(grid->RowCount(), 41);
    EXPECT_EQ(grid->ColCount(), 2);
    EXPECT_EQ(grid->TopRow(), top);
    EXPECT_TRUE(grid->ClearTextOnly());
    EXPECT_FALSE(grid->LockUpdate());
    EXPECT_EQ(Column(1), texts);
    ExpectCrossReferenceMatchesRows();
    EXPECT_EQ(gLiveGraphics, 14);
    // The grid sorts normally afterwards.
    grid->OnCustomCompare = [](TObject*, const String& a, const String& b, Integer& res) {
        res = StrToInt(a) - StrToInt(b);
    };
    grid->Sort(1, sdAscending);
    EXPECT_EQ(grid->Cells(1, 1), u"0");
    EXPECT_EQ(grid->Cells(1, 40), u"39");
}

// A grid whose row exchange fails after a number of swaps, as a descendant's may.
class TFailingSwapGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SortSwapRows(Integer ARow1, Integer ARow2) override {
        if (--swapsLeft < 0)
            throw std::runtime_error("swap failed");
        TAdvStringGrid::SortSwapRows(ARow1, ARow2);
    }
    Integer swapsLeft = 5;
};

TEST_F(AdvGridSortTest, ASwapRaisingLeavesRowsAndCrossReferenceInStep) {
    delete grid;
    auto* failing = new TFailingSwapGrid(nullptr);
    grid = failing;
    grid->SetParent(form);
    std::vector<String> texts;
    for (Integer i = 0; i < 30; ++i)
        texts.push_back(IntToStr(29 - i));
    Fill({texts});
    EXPECT_THROW(grid->Sort(1, sdAscending), std::runtime_error);
    EXPECT_EQ(grid->RowCount(), 31);
    EXPECT_FALSE(grid->LockUpdate());
    ExpectCrossReferenceMatchesRows();
    failing->swapsLeft = 1000;
    grid->QUnSort();
    EXPECT_EQ(Column(1), texts);
}

TEST_F(AdvGridSortTest, EachCellIsReadOnceWhileOnGetFormatRunsPerComparison) {
    std::vector<String> texts;
    for (Integer i = 0; i < 200; ++i)
        texts.push_back(u"$" + IntToStr((i * 37) % 200));
    Fill({texts});
    Integer reads = 0;
    grid->OnGetDisplText = [&](TObject*, Integer ACol, Integer, String&) { reads += ACol == 1; };
    Integer formats = 0;
    grid->OnGetFormat = [&](TObject*, Integer, TSortStyle& style, String& prefix, String&) {
        ++formats;
        style = ssNumeric;
        prefix = u"$";
    };
    const Integer compares = grid->Compares;
    grid->Sort(1, sdAscending);
    EXPECT_EQ(formats, grid->Compares - compares);
    EXPECT_LE(reads, 200);
    EXPECT_EQ(grid->Cells(1, 1), u"$0");
    EXPECT_EQ(grid->Cells(1, 200), u"$199");
}

// The order that makes the partition sort with the middle row as key take the smallest row as key on
// every step: it then peels one row off per step, n steps deep and n * n / 2 comparisons.
std::vector<Integer> MiddleKeyKillerOrder(Integer n) {
    std::vector<Integer> item(static_cast<size_t>(n));
    std::vector<Integer> value(static_cast<size_t>(n));
    for (Integer i = 0; i < n; ++i)
        item[static_cast<size_t>(i)] = i;
    Integer next = 0;
    for (Integer left = 0, right = n - 1; left <= right; ++left) {
        const Integer mid = (left + right) / 2;
        value[static_cast<size_t>(item[static_cast<size_t>(mid)])] = next++;
        std::swap(item[static_cast<size_t>(left)], item[static_cast<size_t>(mid)]);
    }
    return value;
}

TEST_F(AdvGridSortTest, AQuadraticKillerOrderTakesNLogNComparisons) {
    constexpr Integer n = 3000;
    const std::vector<Integer> order = MiddleKeyKillerOrder(n);
    std::vector<String> texts;
    for (Integer v : order)
        texts.push_back(IntToStr(v));
    Fill({texts});
    const Integer compares = grid->Compares;
    grid->Sort(1, sdAscending);
    const double bound = 2.0 * n * std::log2(double(n));
    EXPECT_LE(grid->Compares - compares, bound);
    for (Integer r = 1; r <= n; ++r)
        ASSERT_EQ(grid->Cells(1, r), IntToStr(r - 1));
    EXPECT_LE(grid->Swaps, n);
}

} // namespace
