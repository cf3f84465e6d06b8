// Tests of the full string grid's filtering: conditions and how they combine, filter levels mixed with
// rows hidden otherwise (checked against a plain row model and the store checker after every step),
// narrowing as the user types, and the drop-down value lists and picks.
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"
#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysStrings.h"

namespace {

using advgrid_fixtures::CheckAgainstModel;
using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;
using advgrid_fixtures::THiddenStoreGrid;
using advgrid_fixtures::TRowModel;

class AdvGridFilteringTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new THiddenStoreGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    // One fixed row, then a row per entry: column 0 "r<n>" (n counted from 1), the entry's texts from
    // column 1 on.
    void Make(const std::vector<std::vector<String>>& rows, Integer cols = 4) {
        FGrid->SetColCount(cols);
        FGrid->SetRowCount(static_cast<Integer>(rows.size()) + 1);
        FGrid->SetFixedRows(1);
        for (size_t r = 0; r < rows.size(); ++r) {
            const Integer row = static_cast<Integer>(r) + 1;
            FGrid->SetGridCell(0, row, TRowModel::Text(row));
            for (size_t c = 0; c < rows[r].size(); ++c)
                FGrid->SetGridCell(static_cast<Integer>(c) + 1, row, rows[r][c]);
        }
    }
    // The ids of the displayed data rows.
    std::vector<int> Shown() const {
        std::vector<int> ids;
        for (Integer r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r)
            ids.push_back(StrToInt(FGrid->GridCells(0, r).substr(1)));
        return ids;
    }
    TFilterData* AddCondition(Integer col, const String& condition, TFilterOperation operation) {
        TFilterData* item = FGrid->Filter()->Add();
        item->SetColumn(col);
        item->SetCondition(condition);
        item->SetOperation(operation);
        return item;
    }

    THiddenStoreGrid* FGrid = nullptr;
};

// ---- Conditions

struct ConditionCase {
    const char* name;
    std::function<void(TFilter*)> conditions;
    std::vector<int> shown;
};

TEST_F(AdvGridFilteringTest, ConditionsCombineAsTheirOperationsSay) {
    // Column 1 a number, column 2 a word, column 3 a text with a prefix and suffix.
    const std::vector<std::vector<String>> rows = {{u"5", u"apple", u"#10 kg"},
                                                   {u"7", u"Pear", u"#20 kg"},
                                                   {u"5", u"", u"#30 kg"},
                                                   {u"12", u"plum pie", u"#5 kg"},
                                                   {u"3", u"crème", u"#10 kg"}};
    auto add = [](TFilter* filter, Integer col, const String& condition, TFilterOperation operation) {
        TFilterData* item = filter->Add();
        item->SetColumn(col);
        item->SetCondition(condition);
        item->SetOperation(operation);
        return item;
    };
    const std::vector<ConditionCase> cases = {
        {"an expression on one column", [&](TFilter* f) { add(f, 1, u"=5", foNONE); }, {1, 3}},
        {"either of two with foOR",
         [&](TFilter* f) {
             add(f, 1, u"=5", foNONE);
             add(f, 2, u"P*", foOR);
         },
         {1, 2, 3}},
        {"both of two with foAND",
         [&](TFilter* f) {
             add(f, 1, u"=5", foNONE);
             add(f, 2, u"a*", foAND);
         },
         {1}},
        {"exactly one of two with foXOR",
         [&](TFilter* f) {
             add(f, 1, u"=5", foNONE);
             add(f, 2, u"p*", foXOR);
         },
         {1, 3, 4}},
        {"a failing foSHORT rejects whatever follows",
         [&](TFilter* f) {
             add(f, 1, u">4", foSHORT);
             add(f, 2, u"*", foOR);
         },
         {1, 2, 3, 4}},
        {"a comparison and a negation", [&](TFilter* f) { add(f, 1, u"!5", foNONE); }, {2, 4, 5}},
        {"case-sensitive by default", [&](TFilter* f) { add(f, 2, u"p*", foNONE); }, {4}},
        {"case-insensitive when asked",
         [&](TFilter* f) { add(f, 2, u"p*", foNONE)->SetCaseSensitive(false); },
         {2, 4}},
        {"a literal of two quotes passes the empty cells",
         [&](TFilter* f) { add(f, 2, u"\"\"", foNONE)->SetMethod(fmLiteral); },
         {3}},
        {"a literal matches the whole text only",
         [&](TFilter* f) { add(f, 2, u"plum pie", foNONE)->SetMethod(fmLiteral); },
         {4}},
        {"prefix and suffix are cut off first",
         [&](TFilter* f) {
             TFilterData* item = add(f, 3, u">=10", foNONE);
             item->SetPrefix(u"#");
             item->SetSuffix(u" kg");
         },
         {1, 2, 3, 5}},
        {"accents removed from text and condition",
         [&](TFilter* f) { add(f, 2, u"creme", foNONE)->SetRemoveAccented(true); },
         {5}},
        {"a whole-row condition looks into every column",
         [&](TFilter* f) {
             TFilterData* item = add(f, -1, u"PIE", foNONE);
             item->SetData(fcRow);
         },
         {4}},
        {"a disabled condition is skipped",
         [&](TFilter* f) {
             add(f, 1, u"=5", foNONE);
             add(f, 1, u"=7", foAND)->SetEnabled(false);
         },
         {1, 3}},
    };
    for (const ConditionCase& c : cases) {
        SCOPED_TRACE(c.name);
        Make(rows);
        FGrid->Filter()->Clear();
        c.conditions(FGrid->Filter());
        FGrid->SetFilterActive(true);
        EXPECT_EQ(Shown(), c.shown);
        CheckHiddenStore(*FGrid);
        FGrid->SetFilterActive(false);
        EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 3, 4, 5}));
        EXPECT_EQ(FGrid->NumHiddenRows(), 0);
        FGrid->RemoveAllFilters();
    }
}

TEST_F(AdvGridFilteringTest, AConditionThatRaisesFailsItsRowOnly) {
    Make({{u"1"}, {u"2"}, {u"3"}});
    AddCondition(1, u"*", foNONE);
    FGrid->OnGetDisplText = [](TObject*, Integer, Integer ARow, String&) {
        if (ARow == 2)
            throw EConvertError(u"unreadable");
    };
    FGrid->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<int>{1, 3}));
}

TEST_F(AdvGridFilteringTest, CustomFilterHasTheLastWordAndProgressCountsTheRows) {
    Make({{u"1"}, {u"2"}, {u"3"}, {u"4"}});
    AddCondition(1, u"<3", foNONE);
    FGrid->OnCustomFilter = [](TObject*, Integer ARow, bool& AcceptRow) {
        if (ARow == 4)
            AcceptRow = true;
    };
    std::vector<int> progress;
    FGrid->OnFilterProgress = [&](TObject*, SmallInt value) { progress.push_back(value); };
    FGrid->ApplyFilter();
    EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100, 100}));
    EXPECT_EQ(FGrid->FilterLevel(), 1);

    // Only fixed and footer rows: nothing happens, and no progress is reported.
    FGrid->RemoveAllFilters();
    FGrid->SetRowCount(2);
    FGrid->SetFixedFooters(1);
    progress.clear();
    FGrid->ApplyFilter();
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(FGrid->FilterLevel(), 0);
}

// ---- Levels mixed with rows hidden otherwise

// Every step against a plain model in which each row remembers what hid it: HideRow, or a filter
// level. Column 1 holds the row's id modulo 5, which the filter conditions test.
TEST_F(AdvGridFilteringTest, LevelsAndHiddenRowsNeverLoseDoubleOrMisplaceARow) {
    constexpr int rowCount = 40;
    std::mt19937 random(21);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        FGrid->RemoveAllFilters();
        FGrid->UnHideRowsAll();
        FGrid->Filter()->Clear();
        FGrid->SetColCount(3);
        FGrid->SetRowCount(rowCount);
        FGrid->SetFixedRows(1);
        TRowModel model;
        std::vector<int> hiddenBy(rowCount, 0); // 0 shown, -1 HideRow, k > 0 filter level k
        for (int r = 0; r < rowCount; ++r) {
            model.rows.push_back({r, false});
            FGrid->SetGridCell(0, r, TRowModel::Text(r));
            FGrid->SetGridCell(1, r, IntToStr(r % 5));
        }
        int level = 0;
        for (int step = 0; step < 30; ++step) {
            const int action = static_cast<int>(random() % 5);
            std::string what;
            if (action == 0) {
                const int real = 1 + static_cast<int>(random() % (rowCount - 1));
                what = "HideRow " + std::to_string(real);
                FGrid->HideRow(real);
                if (hiddenBy[static_cast<size_t>(real)] == 0)
                    hiddenBy[static_cast<size_t>(real)] = -1;
            } else if (action == 1) {
                const int real = 1 + static_cast<int>(random() % (rowCount - 1));
                what = "UnHideRow " + std::to_string(real);
                FGrid->UnHideRow(real);
                hiddenBy[static_cast<size_t>(real)] = 0;
            } else if (action == 2 || action == 3) {
                const int value = static_cast<int>(random() % 5);
                what = "filter !" + std::to_string(value);
                FGrid->Filter()->Clear();
                AddCondition(1, u"!" + IntToStr(value), foNONE);
                // With no data row shown, no level is added (the framework grid then keeps no fixed
                // row, but the header stays what it was).
                const bool anyShown = FGrid->RowCount() > 1;
                FGrid->ApplyFilter();
                if (anyShown)
                    ++level;
                for (int r = 1; r < rowCount; ++r)
                    if (hiddenBy[static_cast<size_t>(r)] == 0 && r % 5 == value)
                        hiddenBy[static_cast<size_t>(r)] = level;
            } else {
                what = "RemoveLastFilter";
                FGrid->RemoveLastFilter();
                for (int& by : hiddenBy)
                    if (by == level)
                        by = 0;
                level = std::max(level - 1, 0);
            }
            SCOPED_TRACE(what);
            for (int r = 0; r < rowCount; ++r)
                model.rows[static_cast<size_t>(r)].hidden = hiddenBy[static_cast<size_t>(r)] != 0;
            ASSERT_EQ(FGrid->FilterLevel(), level);
            CheckHiddenStore(*FGrid);
            CheckAgainstModel(*FGrid, model, {0});
        }
        // Removing every level leaves exactly the rows HideRow hid.
        FGrid->RemoveAllFilters();
        for (int r = 0; r < rowCount; ++r)
            model.rows[static_cast<size_t>(r)].hidden = hiddenBy[static_cast<size_t>(r)] == -1;
        CheckHiddenStore(*FGrid);
        CheckAgainstModel(*FGrid, model, {0});
    }
}

TEST_F(AdvGridFilteringTest, FilterActiveRestoresTheLevelAndKeepsRecordsAndFixedRows) {
    Make({{u"a"}, {u"b"}, {u"a"}, {u"c"}});
    for (Integer r = 1; r < 5; ++r)
        FGrid->SetGraphicObjects(2, r, new TCellGraphic);
    FGrid->HideRow(4);
    AddCondition(1, u"a", foNONE);
    FGrid->SetFilterActive(true);
    EXPECT_EQ(Shown(), (std::vector<int>{1, 3}));
    EXPECT_EQ(FGrid->TopRow(), 1);
    CheckHiddenStore(*FGrid);
    FGrid->SetFilterActive(false);
    EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 3})) << "the row hidden before stays hidden";
    EXPECT_EQ(FGrid->FixedRows(), 1);
    EXPECT_EQ(FGrid->FilterLevel(), 1) << "showing the level keeps the count";
    EXPECT_EQ(gLiveGraphics, 4);
    CheckHiddenStore(*FGrid);
    FGrid->UnHideRowsAll();
    EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 3, 4}));
    for (Integer r = 1; r < 5; ++r)
        EXPECT_NE(FGrid->GraphicObjects(2, r), nullptr) << "row " << r;
}

// ---- Narrowing

TEST_F(AdvGridFilteringTest, NarrowDownAddsAndRemovesLevelsAndKeepsOtherHiddenRows) {
    Make({{u"apple"}, {u"about"}, {u"banana"}, {u"abbey"}, {u"zab"}, {u"cab x"}});
    FGrid->HideRow(2); // "about", hidden by the user
    auto step = [&](const String& text, std::vector<int> shown, Integer level) {
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        FGrid->NarrowDown(text, 1);
        EXPECT_EQ(Shown(), shown);
        EXPECT_EQ(FGrid->FilterLevel(), level);
        EXPECT_EQ(FGrid->IsNarrowDown(), !text.empty());
        CheckHiddenStore(*FGrid);
    };
    step(u"a", {1, 3, 4, 5, 6}, 1);
    step(u"ab", {4, 5, 6}, 2);
    step(u"a", {1, 3, 4, 5, 6}, 1);
    step(u"b x", {6}, 1); // starting over, a text with a space is one quoted run as well
    step(u"", {1, 3, 4, 5, 6}, 0);
    EXPECT_EQ(FGrid->NumHiddenRows(), 1) << "an empty text drops no record";
    EXPECT_TRUE(FGrid->IsHiddenRow(2));
    EXPECT_TRUE(FGrid->FixedRowAlways());

    // Whole rows, case-insensitively.
    FGrid->SetGridCell(2, FGrid->DisplRowIndex(5), u"Xylo");
    FGrid->NarrowDown(u"xy", -1);
    EXPECT_EQ(Shown(), (std::vector<int>{5}));
    FGrid->NarrowDown(u"", -1);
    EXPECT_EQ(FGrid->NumHiddenRows(), 1);
}

// ---- Drop-down lists

TEST_F(AdvGridFilteringTest, ValueListEntriesSelectWhatTheyShow) {
    Make({{u"plain"}, {u"two words"}, {u""}, {u"say \"hi\" now"}, {u"plain"}, {u"  padded "}});
    FGrid->SetFilterDropDownAuto(true);
    // The entries under "(All)": the empty cell's, the plain words, and the spaced texts with their
    // quoted conditions, inner quotes doubled; in the list's sorted order.
    const std::vector<String> entries = {
        u"=\"\"", u"padded", u"plain", u"say \"hi\" now=\"say \"\"hi\"\" now\"", u"two words=\"two words\""};
    const std::vector<std::vector<int>> picked = {{3}, {6}, {1, 5}, {4}, {2}};
    auto checkList = [&] {
        ASSERT_TRUE(FGrid->BuildFilterList(1, false));
        ASSERT_EQ(FGrid->FilterList()->Count(), static_cast<Integer>(entries.size()) + 1);
        EXPECT_EQ(FGrid->FilterList()->Strings(0), u"(All)");
        for (const String& entry : entries)
            EXPECT_GT(FGrid->FilterList()->IndexOf(entry), 0) << std::string(entry.begin(), entry.end());
        for (Integer i = 2; i < FGrid->FilterList()->Count(); ++i)
            EXPECT_LE(AnsiCompareText(FGrid->FilterList()->Strings(i - 1), FGrid->FilterList()->Strings(i)),
                      0);
    };
    checkList();

    // Each pick shows exactly the rows holding that value; "(All)" shows all again.
    for (size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE(i);
        FGrid->SetFilterCol(1);
        FGrid->FilterListSelect(nullptr, FGrid->FilterList()->IndexOf(entries[i]));
        EXPECT_EQ(Shown(), picked[i]);
        EXPECT_EQ(FGrid->FilterCol(), -1);
        CheckHiddenStore(*FGrid);
        // With the column filtered, the hidden rows' values are listed in the same form.
        checkList();
    }
    FGrid->SetFilterCol(1);
    FGrid->FilterListSelect(nullptr, 0);
    EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(FGrid->Filter()->HasFilter(1)) << "(All) removes the column's condition";
}

TEST_F(AdvGridFilteringTest, PicksCombineOverColumnsAndAllReappliesTheRest) {
    Make({{u"a", u"x"}, {u"a", u"y"}, {u"b", u"x"}});
    FGrid->SetFilterDropDownAuto(true);
    int done = 0;
    FGrid->OnFilterDone = [&](TObject*) { ++done; };
    auto pick = [&](Integer col, const String& entry) {
        FGrid->BuildFilterList(col, false);
        const Integer index = FGrid->FilterList()->IndexOf(entry);
        ASSERT_GE(index, 0);
        FGrid->SetFilterCol(col);
        FGrid->FilterListSelect(nullptr, index);
        CheckHiddenStore(*FGrid);
    };
    pick(1, u"a");
    pick(2, u"x");
    EXPECT_EQ(Shown(), (std::vector<int>{1}));
    pick(1, u"(All)");
    EXPECT_EQ(Shown(), (std::vector<int>{1, 3})) << "column 2's condition still holds";
    EXPECT_EQ(done, 3);

    // Without several columns a pick replaces every condition.
    FGrid->SetFilterDropDownMultiCol(false);
    pick(1, u"b");
    EXPECT_EQ(Shown(), (std::vector<int>{3}));
    EXPECT_EQ(FGrid->Filter()->Count(), 1);
}

TEST_F(AdvGridFilteringTest, CheckBoxColumnsListCheckedAndUnchecked) {
    Make({{u""}, {u""}, {u""}});
    FGrid->AddCheckBoxColumn(1, false, true);
    FGrid->SetCheckBoxState(1, 2, true);
    FGrid->FilterDropDown()->SetTextChecked(u"Checked");
    FGrid->FilterDropDown()->SetTextUnChecked(u"Unchecked");
    FGrid->SetFilterDropDownAuto(true);
    ASSERT_TRUE(FGrid->BuildFilterList(1, false));
    ASSERT_EQ(FGrid->FilterList()->Count(), 3);
    EXPECT_EQ(FGrid->FilterList()->Strings(1), u"Checked");
    EXPECT_EQ(FGrid->FilterList()->Strings(2), u"Unchecked");
    FGrid->SetFilterCol(1);
    FGrid->FilterListSelect(nullptr, 1);
    EXPECT_EQ(Shown(), (std::vector<int>{2}));
    EXPECT_EQ(FGrid->Filter()->GetColFilter(1)->Condition(), FGrid->CheckTrue());

    // A fixed column has no list unless every column has one; nothing happens for a bad pick.
    FGrid->SetFixedCols(1);
    EXPECT_FALSE(FGrid->BuildFilterList(0, false));
    FGrid->SetFilterDropDownColumns(fdAll);
    EXPECT_TRUE(FGrid->BuildFilterList(0, false));
    FGrid->SetFilterCol(1);
    FGrid->FilterListSelect(nullptr, 99);
    EXPECT_EQ(FGrid->FilterCol(), -1);
    EXPECT_EQ(Shown(), (std::vector<int>{2}));
}

} // namespace
