// Tests of the full string grid's find, replace, multi-column row search and type-ahead search.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Exceptions.h"

namespace {

using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::THiddenStoreGrid;

class AdvGridFindTest : public ::testing::Test {
protected:
    void SetUp() override {
        FGrid = new THiddenStoreGrid(nullptr);
        FGrid->SetColCount(5);
        FGrid->SetRowCount(5);
    }
    void TearDown() override { delete FGrid; }

    THiddenStoreGrid* FGrid = nullptr;
};

::testing::AssertionResult At(TPoint actual, Integer col, Integer row) {
    if (actual.X == col && actual.Y == row)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "found (" << actual.X << ", " << actual.Y << "), expected (" << col << ", " << row << ")";
}

// ---- Find

TEST_F(AdvGridFindTest, FindWalksColumnsThenFindNextGoesOn) {
    FGrid->SetCells(1, 1, u"abc");
    FGrid->SetCells(2, 1, u"xab");
    FGrid->SetCells(1, 3, u"ABx");
    EXPECT_TRUE(At(FGrid->FindFirst(u"ab", {}), 1, 1));
    EXPECT_TRUE(At(FGrid->FindNext(), 1, 3)) << "all rows of column 1 come before column 2";
    EXPECT_TRUE(At(FGrid->FindNext(), 2, 1));
    EXPECT_TRUE(At(FGrid->FindNext(), -1, -1));
    EXPECT_TRUE(At(FGrid->SearchCell(), -1, -1));

    // Row by row instead.
    EXPECT_TRUE(At(FGrid->FindFirst(u"ab", fnDirectionLeftRight), 1, 1));
    EXPECT_TRUE(At(FGrid->FindNext(), 2, 1));
    EXPECT_TRUE(At(FGrid->FindNext(), 1, 3));
}

struct FindCase {
    const char* name;
    const char16_t* text;
    TFindParams params;
    TPoint found;
};

TEST_F(AdvGridFindTest, OptionsDecideWhatMatches) {
    FGrid->SetCells(1, 1, u"abc");
    FGrid->SetCells(2, 1, u"xab");
    FGrid->SetCells(3, 2, u"<b>bold</b> ab");
    FGrid->SetCells(4, 4, u"ab");
    FGrid->SetCells(0, 2, u"ab in a fixed column");
    const std::vector<FindCase> cases = {
        {"a substring anywhere, case-insensitively", u"AB", {}, {1, 1}},
        {"matching case", u"AB", fnMatchCase, {-1, -1}},
        {"at the start only", u"xa", fnMatchStart, {2, 1}},
        {"a start that is no start", u"ab", TFindParams{fnMatchStart, fnFindInPresetCol}, {-1, -1}},
        {"the whole text", u"ab", fnMatchFull, {4, 4}},
        {"two double quotes find the first empty cell", u"\"\"", {}, {1, 2}},
        {"backward from the last cell", u"ab", fnBackward, {4, 4}},
        {"a filter expression", u"x*", fnMatchRegular, {2, 1}},
        {"tags removed first", u"bold ab", fnIgnoreHTMLTags, {3, 2}},
        {"tags kept otherwise", u"bold ab", {}, {-1, -1}},
        {"fixed cells included", u"in a fixed", fnIncludeFixed, {0, 2}},
        {"a preset column", u"ab", fnFindInPresetCol, {3, 2}},
        {"the current column", u"ab", fnFindInCurrentCol, {4, 4}},
        {"the current row", u"ab", fnFindInCurrentRow, {1, 1}},
        {"row by row backward", u"ab", TFindParams{fnDirectionLeftRight, fnBackward}, {4, 4}},
    };
    FGrid->SetFindCol(3);
    FGrid->SetCol(4);
    FGrid->SetRow(1);
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(At(FGrid->Find(TPoint{-1, -1}, c.text, c.params), c.found.X, c.found.Y));
        EXPECT_TRUE(At(FGrid->FindWide(TPoint{-1, -1}, c.text, c.params), c.found.X, c.found.Y));
    }
    FGrid->SetSelection(TGridRect{2, 2, 3, 3});
    EXPECT_TRUE(At(FGrid->Find(TPoint{-1, -1}, u"ab", fnSelectedCells), 3, 2)) << "inside the selection only";
}

struct MatchCase {
    const char16_t* cell;
    const char16_t* search;
    TFindParams params;
    bool found;
};

// Plain ASCII texts are upper-cased as they are compared, others through the locale: both ways answer
// alike, at the ends of a text and at the edges of the letters.
TEST_F(AdvGridFindTest, PlainAndAccentedTextsMatchAlike) {
    const std::vector<MatchCase> cases = {
        {u"log Needle", u"needle", {}, true},
        {u"Needl", u"needle", {}, false},
        {u"NEEDLE", u"needle", fnMatchFull, true},
        {u"needles", u"needle", fnMatchFull, false},
        {u"xneedle", u"needle", fnMatchStart, false},
        {u"needle x", u"NEEDLE", fnMatchStart, true},
        {u"[a-z]", u"[A-Z]", {}, true},
        {u"`{", u"`{", {}, true},
        {u"`{", u"@[", {}, false},
        {u"", u"", {}, true},
        {u"caf\u00e9 au lait", u"CAF\u00c9", {}, true},
        {u"caf\u00e9", u"au", {}, false},
        {u"r\u00e9sum\u00e9 needle", u"needle", {}, true},
        {u"r\u00e9sum\u00e9", u"R\u00c9SUM\u00c9", fnMatchFull, true},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(std::string(c.cell, c.cell + std::char_traits<char16_t>::length(c.cell)) + " / " +
                     std::string(c.search, c.search + std::char_traits<char16_t>::length(c.search)));
        FGrid->SetCells(1, 1, c.cell);
        EXPECT_TRUE(At(FGrid->Find(TPoint{-1, -1}, c.search, c.params), c.found ? 1 : -1, c.found ? 1 : -1));
    }
}

TEST_F(AdvGridFindTest, CellsAreReadAsShownWhereTheyAreShownDifferently) {
    FGrid->SetCells(2, 2, u"base");
    FGrid->MergeCells(2, 2, 2, 2);
    EXPECT_TRUE(At(FGrid->FindFirst(u"base", {}), 2, 2));
    EXPECT_TRUE(At(FGrid->FindNext(), 2, 3)) << "a merged cell reads its base's text";
    FGrid->SplitCells(2, 2);

    FGrid->OnGetDisplText = [](TObject*, Integer ACol, Integer ARow, String& Value) {
        if (ACol == 3 && ARow == 3)
            Value = u"shown";
    };
    EXPECT_TRUE(At(FGrid->FindFirst(u"shown", {}), 3, 3));
}

TEST_F(AdvGridFindTest, HiddenColumnsAndRowsAreSearchedWhenAsked) {
    FGrid->SetCells(2, 2, u"in hidden column");
    FGrid->SetCells(3, 3, u"in hidden row");
    FGrid->SetCells(4, 1, u"shown");
    FGrid->HideColumn(2);
    FGrid->HideRow(3);
    CheckHiddenStore(*FGrid);
    EXPECT_TRUE(At(FGrid->FindFirst(u"shown", {}), 3, 1)) << "displayed column 3 is stored column 4";
    EXPECT_TRUE(At(FGrid->FindFirst(u"in hidden", {}), -1, -1));
    EXPECT_TRUE(At(FGrid->FindFirst(u"hidden column", fnIncludeHiddenColumns), 2, 2));
    EXPECT_TRUE(
        At(FGrid->FindFirst(u"hidden row", TFindParams{fnIncludeHiddenRows, fnIncludeHiddenColumns}), 3, 3));
    EXPECT_TRUE(At(FGrid->FindFirst(u"hidden row", TFindParams{fnIncludeHiddenRows, fnAutoGoto}), 2, 3));
    EXPECT_EQ(FGrid->Row(), 3) << "the hidden row's displayed place becomes current";
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridFindTest, AutoGotoShowsARowUnderCollapsedNodesButNotARowHiddenOtherwise) {
    FGrid->SetRowCount(9);
    // Row 1 holds rows 2 to 5, row 2 holds rows 3 and 4; row 7 is hidden by itself.
    FGrid->AddNode(1, 5);
    FGrid->AddNode(2, 3);
    FGrid->SetCells(2, 4, u"deep");
    FGrid->SetCells(2, 7, u"alone");
    FGrid->ContractNode(2);
    FGrid->ContractNode(1);
    FGrid->HideRow(7);
    CheckHiddenStore(*FGrid);
    const TFindParams params{fnIncludeHiddenRows, fnAutoGoto};
    EXPECT_TRUE(At(FGrid->FindFirst(u"deep", params), 2, 4));
    EXPECT_FALSE(FGrid->IsHiddenRow(4));
    EXPECT_FALSE(FGrid->GetNodeState(1));
    EXPECT_EQ(FGrid->Row(), 4);
    CheckHiddenStore(*FGrid);
    EXPECT_TRUE(At(FGrid->FindFirst(u"alone", params), 2, 7));
    EXPECT_TRUE(FGrid->IsHiddenRow(7));
    EXPECT_EQ(FGrid->Row(), 7) << "the displayed place of the hidden row: the next shown one";
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridFindTest, AutoGotoSelectsTheFoundCellUnderDisjunctCellSelection) {
    FGrid->MouseActions()->SetDisjunctCellSelect(true);
    FGrid->SetSelectedCells(1, 1, true);
    FGrid->SetCells(3, 2, u"needle");
    EXPECT_TRUE(At(FGrid->FindFirst(u"needle", fnAutoGoto), 3, 2));
    EXPECT_TRUE(FGrid->IsSelected(3, 2));
    EXPECT_FALSE(FGrid->IsSelected(1, 1));
}

TEST_F(AdvGridFindTest, AutoGotoMakesTheCellCurrentAndIgnoredColumnsArePassedOver) {
    FGrid->SetCells(1, 1, u"needle");
    FGrid->SetCells(3, 1, u"needle");
    FGrid->IgnoreColumns()->Add(1);
    EXPECT_TRUE(
        At(FGrid->Find(TPoint{-1, -1}, u"needle", TFindParams{fnDirectionLeftRight, fnAutoGoto}), 3, 1));
    EXPECT_EQ(FGrid->Col(), 3);
    EXPECT_EQ(FGrid->Row(), 1);
    EXPECT_FALSE(FGrid->FindBusy());
}

// ---- Replace

TEST_F(AdvGridFindTest, ReplaceHonoursMatchCase) {
    FGrid->SetCells(1, 1, u"Ab");
    FGrid->SetCells(2, 3, u"aa");
    EXPECT_EQ(FGrid->Replace(u"a", u"b", {}), 2);
    EXPECT_EQ(FGrid->Cells(1, 1), u"bb");
    EXPECT_EQ(FGrid->Cells(2, 3), u"bb");

    FGrid->SetCells(1, 1, u"Ab");
    FGrid->SetCells(2, 3, u"aa");
    EXPECT_EQ(FGrid->Replace(u"a", u"b", fnMatchCase), 1);
    EXPECT_EQ(FGrid->Cells(1, 1), u"Ab");
    EXPECT_EQ(FGrid->Cells(2, 3), u"bb");
}

TEST_F(AdvGridFindTest, ReplaceFlagsTheChangedShownRowsWithShowModified) {
    FGrid->ShowModified()->SetEnabled(true);
    FGrid->SetCells(1, 1, u"a");
    FGrid->SetCells(2, 3, u"a");
    FGrid->SetCells(3, 4, u"a");
    FGrid->SetCells(1, 2, u"b");
    FGrid->HideRow(4);
    EXPECT_EQ(FGrid->Replace(u"a", u"c", fnIncludeHiddenRows), 3);
    EXPECT_TRUE(FGrid->RowModified(1));
    EXPECT_FALSE(FGrid->RowModified(2));
    EXPECT_TRUE(FGrid->RowModified(3));
    EXPECT_EQ(FGrid->ModifiedRowCount(), 2) << "the hidden row has no flag to set";
    FGrid->UnHideRow(4);
    EXPECT_EQ(FGrid->Cells(3, 4), u"c");
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridFindTest, ReplaceWalksTheRangeOnceWhenTheNewTextHoldsTheOld) {
    FGrid->SetCells(1, 1, u"a");
    FGrid->SetCells(4, 4, u"xa");
    FGrid->SetCells(2, 2, u"bab");
    EXPECT_EQ(FGrid->Replace(u"a", u"aa", {}), 3);
    EXPECT_EQ(FGrid->Cells(1, 1), u"aa");
    EXPECT_EQ(FGrid->Cells(2, 2), u"baab");
    EXPECT_EQ(FGrid->Cells(4, 4), u"xaa")
        << "the last cell is changed once, and the walk does not start over";
    EXPECT_FALSE(FGrid->FindBusy());
}

// ---- Multi-column row search

TEST_F(AdvGridFindTest, FindMultiMeetsEveryConditionAndChecksItsArrays) {
    FGrid->SetCells(1, 1, u"apple");
    FGrid->SetCells(2, 1, u"red");
    FGrid->SetCells(1, 2, u"apricot");
    FGrid->SetCells(2, 2, u"orange");
    FGrid->SetCells(1, 3, u"Apple pie");
    FGrid->SetCells(2, 3, u"golden");
    EXPECT_EQ(FGrid->FindMulti({u"ap", u"red"}, {1, 2}, {stStartsWith, stNotEqual}, {false, false}, true), 2);
    EXPECT_EQ(FGrid->Row(), 2);
    EXPECT_EQ(FGrid->FindMultiNext(), 3);
    EXPECT_EQ(FGrid->FindMultiNext(), -1);
    EXPECT_EQ(FGrid->FindMulti({u"apple pie"}, {1}, {stEqual}, {false}, false), 3);
    EXPECT_EQ(FGrid->FindMulti({u"apple pie"}, {1}, {stEqual}, {true}, false), -1);

    try {
        FGrid->FindMulti({u"a", u"b"}, {1, 2}, {stContains}, {false, false}, false);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Array size of parameters not matching");
    }
}

// ---- Type-ahead

TEST_F(AdvGridFindTest, TypeAheadBuildsTheTextAndClearingEmptiesIt) {
    FGrid->SetFixedCols(0);
    FGrid->SetRowCount(6);
    const std::vector<String> texts = {u"Head", u"banana", u"Apple", u"<b>ab</b>ba", u"abc", u"cherry"};
    for (Integer r = 0; r < 6; ++r)
        FGrid->SetCells(0, r, texts[static_cast<size_t>(r)]);
    FGrid->Navigation()->SetAutoGotoWhenSorted(true);
    FGrid->Navigation()->SetAutoGotoIncremental(true);
    FGrid->TypeAheadKey(u'a');
    EXPECT_EQ(FGrid->Row(), 2);
    FGrid->TypeAheadKey(u'b');
    EXPECT_EQ(FGrid->Row(), 3) << "tags removed, case ignored";
    EXPECT_EQ(FGrid->IncrSearchText(), u"ab");
    FGrid->TypeAheadKey(8);
    EXPECT_EQ(FGrid->IncrSearchText(), u"a");
    EXPECT_EQ(FGrid->Row(), 2);
    FGrid->TypeAheadKey(u'z');
    EXPECT_EQ(FGrid->IncrSearchText(), u"") << "no row starts so: the text starts over";
    EXPECT_EQ(FGrid->Row(), 2);

    // Without building up, each character starts over.
    FGrid->Navigation()->SetAutoGotoIncremental(false);
    FGrid->TypeAheadKey(u'c');
    FGrid->TypeAheadKey(u'h');
    EXPECT_EQ(FGrid->IncrSearchText(), u"");
    FGrid->TypeAheadKey(u'c');
    EXPECT_EQ(FGrid->Row(), 5);
    EXPECT_EQ(FGrid->IncrSearchText(), u"c");
    FGrid->Clear();
    EXPECT_EQ(FGrid->IncrSearchText(), u"");

    // Not while editing.
    FGrid->SetOptions(FGrid->Options() + goEditing);
    FGrid->TypeAheadKey(u'c');
    EXPECT_EQ(FGrid->IncrSearchText(), u"");
}

} // namespace
