// Tests of highlighting and error-marking text in cells and of the cell check pass.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/UString.h"
#include "render/AsgHTMLE.h"

namespace {

// Records which cells were written; only cells with a property record report it, so the tests give
// their cells one.
class MarkGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    std::vector<std::pair<Integer, Integer>> written;

protected:
    void CellTextChanged(Integer ACol, Integer ARow) override {
        written.emplace_back(ACol, ARow);
        TAdvStringGrid::CellTextChanged(ACol, ARow);
    }
};

class AdvGridMarksTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = std::make_unique<MarkGrid>(nullptr);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        for (Integer r = 0; r < 4; ++r)
            for (Integer c = 0; c < 4; ++c)
                grid->SetColors(c, r, clYellow);
    }
    std::unique_ptr<MarkGrid> grid;
};

TEST_F(AdvGridMarksTest, TextOperationsMarkMatchesWithOrWithoutCase) {
    EXPECT_EQ(grid->HilightText(false, u"b and B", u"b"), u"<HI>b</HI> and <HI>B</HI>");
    EXPECT_EQ(grid->HilightText(true, u"b and B", u"b"), u"<HI>b</HI> and B");
    EXPECT_EQ(grid->MarkText(false, u"teh cat", u"teh"), u"<E>teh</E> cat");
    EXPECT_EQ(grid->UnHilightText(u"<HI>b</HI> and <E>B</E>"), u"b and <E>B</E>");
    EXPECT_EQ(grid->UnMarkText(u"<E>teh</E> cat"), u"teh cat");
}

TEST_F(AdvGridMarksTest, HilightAndUnHilightGiveTheCellBackAndLeaveOthersUnwritten) {
    const Char* texts[] = {u"a&amp;b", u"x < y", u"<b>bold</b> a", u"none"};
    for (Integer r = 0; r < 4; ++r)
        grid->SetCells(1, r, texts[r]);
    grid->written.clear();
    // The search text is entity-encoded first, so "a&b" finds the stored "a&amp;b".
    grid->HilightInCell(false, 1, 0, u"a&b", false);
    EXPECT_NE(grid->Cells(1, 0).find(u"<HI>"), String::npos);
    grid->HilightInCol(true, false, 1, u"a", false);
    grid->written.clear();
    grid->HilightInCell(false, 1, 3, u"zzz", false);
    EXPECT_TRUE(grid->written.empty());

    grid->UnHilightInCol(true, 1);
    for (Integer r = 0; r < 4; ++r)
        EXPECT_EQ(grid->Cells(1, r), texts[r]) << r;
    // Nothing left to remove: nothing is written.
    grid->written.clear();
    grid->UnHilightInGrid(true);
    grid->UnMarkInGrid(true);
    EXPECT_TRUE(grid->written.empty());
}

// A search text with an ampersand or angle bracket finds it as the cell shows it: written out as an
// entity in the text, inside markup, or as it is in a plain text.
TEST_F(AdvGridMarksTest, SearchTextsWithEntityCharactersFindWhatTheCellShows) {
    struct {
        const Char* text;
        const Char* search;
        const Char* marked;
        const Char* unmarked;
    } cases[] = {
        {u"a&amp;b", u"a&b", u"<HI>a&amp;amp;b</HI>", u"a&amp;b"},
        {u"R&D dept", u"R&D", u"<HI>R&amp;D</HI> dept", u"R&D dept"},
        {u"<b>R&amp;D</b> dept", u"r&d", u"<b><HI>R&amp;D</HI></b> dept", u"<b>R&amp;D</b> dept"},
        {u"if x<y", u"x<y", u"if <HI>x&lt;y</HI>", u"if x<y"},
        // Marked already: it stays as it is.
        {u"<HI>R&amp;D</HI> dept", u"R&D", u"<HI>R&amp;D</HI> dept", u"R&D dept"},
    };
    for (const auto& c : cases) {
        grid->SetCells(1, 1, c.text);
        grid->HilightInCell(false, 1, 1, c.search, false);
        EXPECT_EQ(grid->Cells(1, 1), c.marked) << StringToUtf8(c.text);
        grid->UnHilightInCell(1, 1);
        EXPECT_EQ(grid->Cells(1, 1), c.unmarked) << StringToUtf8(c.text);
    }
}

TEST_F(AdvGridMarksTest, RemovingHighlightsKeepsErrorMarksAndEntities) {
    grid->SetCells(1, 1, u"cat & teh dog");
    grid->MarkInCell(false, 1, 1, u"teh");
    grid->HilightInCell(false, 1, 1, u"dog", false);
    const String both = grid->Cells(1, 1);
    EXPECT_NE(both.find(u"<E>teh</E>"), String::npos);
    EXPECT_NE(both.find(u"<HI>dog</HI>"), String::npos);
    grid->UnHilightInCell(1, 1);
    // The error mark is still markup, so the ampersand stays encoded.
    EXPECT_EQ(grid->Cells(1, 1), u"cat &amp; <E>teh</E> dog");
    grid->UnMarkInCell(1, 1);
    EXPECT_EQ(grid->Cells(1, 1), u"cat & teh dog");
}

TEST_F(AdvGridMarksTest, RangesCoverNormalCellsMergedBasesAndHiddenColumns) {
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 4; ++c)
            grid->SetCells(c, r, u"x");
    grid->MarkInGrid(false, false, u"x");
    std::set<std::pair<Integer, Integer>> marked;
    for (Integer r = 0; r < 4; ++r)
        for (Integer c = 0; c < 4; ++c)
            if (grid->Cells(c, r) == u"<E>x</E>")
                marked.insert({c, r});
    std::set<std::pair<Integer, Integer>> normal;
    for (Integer r = 1; r < 4; ++r)
        for (Integer c = 1; c < 4; ++c)
            normal.insert({c, r});
    EXPECT_EQ(marked, normal);

    grid->UnMarkInGrid(false);
    grid->MergeCells(1, 1, 2, 1);
    grid->written.clear();
    grid->MarkInRow(false, false, 1, u"x");
    EXPECT_EQ(grid->written, (std::vector<std::pair<Integer, Integer>>{{1, 1}, {3, 1}}));

    // Unmarking a row also reaches the hidden columns stored past the displayed ones.
    grid->HideColumn(3);
    grid->UnMarkInRow(false, 1);
    EXPECT_EQ(grid->AllCells(3, 1), u"x");
}

TEST_F(AdvGridMarksTest, MarksWorkOnTheDisplayedTextWithADisplayEvent) {
    grid->SetCells(1, 1, u"raw");
    grid->OnGetDisplText = [](TObject*, Integer, Integer, String& Value) {
        if (Value == u"raw")
            Value = u"shown";
    };
    grid->HilightInCell(false, 1, 1, u"show", false);
    EXPECT_EQ(grid->GridCells(1, 1), u"<HI>show</HI>n");
}

// A checker that fixes one word and marks another, recording what it was given.
class WordChecker : public TAdvStringGridCheck {
public:
    using TAdvStringGridCheck::TAdvStringGridCheck;
    std::vector<String> log;
    String Correct(Integer, Integer, const String& s) override {
        log.push_back(u"correct " + s);
        String t = s;
        if (auto at = t.find(u"teh"); at != String::npos)
            t.replace(at, 3, u"the");
        return t;
    }
    String MarkError(Integer, Integer, const String& s) override {
        log.push_back(u"mark " + s);
        return MarkTextMatches(s, u"wrng", u"e", false, false);
    }
    void StartCheck() override { log.push_back(u"start"); }
    void StopCheck() override { log.push_back(u"stop"); }
};

TEST_F(AdvGridMarksTest, CheckingWithoutACheckerPassesAndChangesNothing) {
    grid->SetCells(1, 1, u"<E>old</E>");
    grid->written.clear();
    EXPECT_TRUE(grid->CheckCell(1, 1));
    EXPECT_TRUE(grid->CheckGrid(true));
    EXPECT_TRUE(grid->written.empty());
    EXPECT_EQ(grid->Cells(1, 1), u"<E>old</E>");
}

TEST_F(AdvGridMarksTest, CheckCellUnmarksCorrectsThenMarks) {
    WordChecker checker(nullptr);
    grid->SetCellChecker(&checker);
    grid->SetCells(1, 1, u"<E>fine</E>");
    EXPECT_TRUE(grid->CheckCell(1, 1));
    EXPECT_EQ(grid->Cells(1, 1), u"fine");

    checker.SetUseCorrect(true);
    checker.SetUseMarkError(true);
    grid->SetCells(2, 1, u"teh wrng");
    checker.log.clear();
    EXPECT_FALSE(grid->CheckCell(2, 1));
    EXPECT_EQ(checker.log, (std::vector<String>{u"correct teh wrng", u"mark the wrng"}));
    EXPECT_EQ(grid->Cells(2, 1), u"the <E>wrng</E>");
}

TEST_F(AdvGridMarksTest, CheckCellsVisitsEveryCellAndRestoresTheCurrentOne) {
    WordChecker checker(nullptr);
    checker.SetUseMarkError(true);
    checker.SetGotoCell(true);
    grid->SetCellChecker(&checker);
    grid->SetCells(1, 1, u"wrng");
    grid->SetCells(3, 3, u"wrng");
    grid->SetCells(2, 2, u"ok");
    grid->SetCol(2);
    grid->SetRow(2);
    checker.log.clear();
    EXPECT_FALSE(grid->CheckGrid(false));
    EXPECT_EQ(checker.log.front(), u"start");
    EXPECT_EQ(checker.log.back(), u"stop");
    EXPECT_EQ(checker.log.size(), 2u + 9u);
    EXPECT_EQ(grid->Cells(1, 1), u"<E>wrng</E>");
    EXPECT_EQ(grid->Cells(3, 3), u"<E>wrng</E>"); // checked after the first failure
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(grid->CheckRow(false, 2));
}

TEST_F(AdvGridMarksTest, AFreedCheckerIsForgotten) {
    auto checker = std::make_unique<WordChecker>(nullptr);
    grid->SetCellChecker(checker.get());
    checker.reset();
    EXPECT_EQ(grid->CellChecker(), nullptr);
    EXPECT_TRUE(grid->CheckCol(true, 1));
}

} // namespace
