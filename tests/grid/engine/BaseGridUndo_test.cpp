// Tests of undo and redo of cell changes: single changes, marked sequences, the history's limit, the
// events, and a history that is undone and then written on.
#include "tests/grid/engine/BaseGridTesting.h"

#include <string>
#include <tuple>
#include <vector>

#include "platform/rtl/UString.h"

namespace {

// A shown grid that counts its paints, with an undo component linked to it. Each change is written to
// the cell and recorded, as the string grid's editing does.
class UndoTest : public ::testing::Test {
protected:
    class TCountingGrid : public TTestBaseGrid {
    public:
        using TTestBaseGrid::TTestBaseGrid;
        int paints = 0;

    protected:
        void Paint() override {
            ++paints;
            TTestBaseGrid::Paint();
        }
    };

    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 600, 300);
        FGrid = new TCountingGrid(FForm);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetBounds(0, 0, 500, 250);
        FGrid->SetColCount(6);
        FGrid->SetRowCount(6);
        FGrid->SetParent(FForm);
        FUndo = new ZOvoReziDoviRuzo(FForm);
        FGrid->SetUndoRedo(FUndo);
        FForm->Show();
        Pump();
    }
    void TearDown() override { FForm->Free(); }
    static void Pump() { Application->ProcessMessages(); }

    void Change(Integer c, Integer r, const String& text) {
        const String old = FGrid->Cells(c, r);
        FGrid->SetCells(c, r, text);
        FUndo->RegisterChange(c, r, old, text);
    }
    std::string Text(Integer c, Integer r) const { return StringToUtf8(FGrid->Cells(c, r)); }

    TForm* FForm = nullptr;
    TCountingGrid* FGrid = nullptr;
    ZOvoReziDoviRuzo* FUndo = nullptr;
};

TEST_F(UndoTest, SingleChangesUndoAndRedoOneAtATime) {
    Change(1, 1, u"a");
    Change(2, 3, u"b");
    Change(3, 2, u"c");
    FUndo->Undo();
    FUndo->Undo();
    EXPECT_TRUE(FUndo->CanUndo());
    EXPECT_TRUE(FUndo->CanRedo());
    EXPECT_EQ(FUndo->Level(), 1);
    EXPECT_EQ(Text(1, 1), "a");
    EXPECT_EQ(Text(2, 3), "");
    EXPECT_EQ(Text(3, 2), "");
    EXPECT_EQ(std::make_pair(FGrid->Col(), FGrid->Row()), std::make_pair(2, 3))
        << "the undone cell is current";

    FUndo->Redo();
    EXPECT_EQ(Text(2, 3), "b");
    EXPECT_EQ(FUndo->Level(), 2);
    FUndo->Redo();
    FUndo->Redo(); // nothing left to redo
    EXPECT_EQ(Text(3, 2), "c");
    EXPECT_EQ(FUndo->Level(), 3);
    EXPECT_FALSE(FUndo->CanRedo());
}

TEST_F(UndoTest, ASequenceUndoesInReverseWithOneRepaintAndRedoesWhole) {
    std::vector<std::tuple<Integer, Integer, std::string, std::string>> undone;
    FUndo->OnUndo = [&](TObject* sender, TBaseGrid* grid, Integer c, Integer r, const String& orig,
                        const String& now) {
        EXPECT_EQ(sender, FUndo);
        EXPECT_EQ(grid, FGrid);
        undone.emplace_back(c, r, StringToUtf8(orig), StringToUtf8(now));
    };
    FGrid->SetCells(1, 1, u"old");
    FUndo->StartSequence();
    Change(1, 1, u"x");
    Change(2, 1, u"y");
    Change(3, 1, u"z");
    FUndo->StopSequence();
    Pump();
    FGrid->paints = 0;

    FUndo->Undo();
    Pump();
    using Step = std::tuple<Integer, Integer, std::string, std::string>;
    EXPECT_EQ(undone, (std::vector<Step>{{3, 1, "z", ""}, {2, 1, "y", ""}, {1, 1, "x", "old"}}))
        << "the event gets the text before the step and the text the step writes";
    EXPECT_EQ(Text(1, 1), "old");
    EXPECT_EQ(FUndo->Level(), 0);
    EXPECT_EQ(FGrid->paints, 1);

    FUndo->Redo();
    EXPECT_EQ(Text(1, 1), "x");
    EXPECT_EQ(Text(2, 1), "y");
    EXPECT_EQ(Text(3, 1), "z");
    EXPECT_EQ(FUndo->Level(), 5);
    EXPECT_FALSE(FUndo->CanRedo());
}

TEST_F(UndoTest, MaxLevelDropsTheOldestChangesAndResetForgetsAll) {
    FUndo->SetMaxLevel(2);
    Change(1, 1, u"a");
    Change(1, 2, u"b");
    Change(1, 3, u"c");
    ASSERT_EQ(FUndo->Items()->Count(), 2);
    EXPECT_EQ(StringToUtf8(FUndo->Items()->Items(0)->Value()), "b");
    FUndo->Undo();
    FUndo->Undo();
    FUndo->Undo();
    EXPECT_EQ(Text(1, 1), "a") << "the first change is no longer recorded";
    EXPECT_EQ(Text(1, 2), "");

    FUndo->Redo();
    FUndo->Reset();
    EXPECT_FALSE(FUndo->CanUndo());
    EXPECT_FALSE(FUndo->CanRedo());
    EXPECT_EQ(FUndo->Items()->Count(), 0);
}

TEST_F(UndoTest, UnpairedMarkersKeepTheLevelInRangeAndApplyEveryChange) {
    // A stop marker without a start runs down to the first item, and no further.
    Change(1, 1, u"a");
    Change(2, 1, u"b");
    FUndo->StopSequence();
    FUndo->Undo();
    EXPECT_EQ(FUndo->Level(), 0);
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(Text(2, 1), "");
    EXPECT_FALSE(FUndo->CanUndo());
    FUndo->Undo();
    EXPECT_EQ(FUndo->Level(), 0);

    // A start marker without a stop: redo applies through the last item.
    FUndo->Reset();
    FUndo->StartSequence();
    Change(1, 2, u"c");
    Change(2, 2, u"d");
    Change(3, 2, u"e");
    FUndo->Undo(); // the last change alone
    FUndo->Undo();
    FUndo->Undo();
    EXPECT_EQ(FUndo->Level(), 1);
    FUndo->Undo(); // the start marker passes, writing nothing
    EXPECT_EQ(FUndo->Level(), 0);
    FUndo->Redo();
    EXPECT_EQ(Text(1, 2), "c");
    EXPECT_EQ(Text(2, 2), "d");
    EXPECT_EQ(Text(3, 2), "e");
    EXPECT_EQ(FUndo->Level(), 4);
    EXPECT_FALSE(FUndo->CanRedo());
}

TEST_F(UndoTest, RecordingAfterUndoReplacesTheUndoneSteps) {
    Change(1, 1, u"a");
    Change(1, 1, u"b");
    FUndo->Undo();
    Change(1, 1, u"c"); // the user undid "b" and wrote "c" instead
    EXPECT_FALSE(FUndo->CanRedo());
    EXPECT_EQ(FUndo->Items()->Count(), 2);
    FUndo->Undo();
    EXPECT_EQ(Text(1, 1), "a");
    FUndo->Undo();
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_FALSE(FUndo->CanUndo());
    FUndo->Redo();
    FUndo->Redo();
    EXPECT_EQ(Text(1, 1), "c") << "the edit that was undone and replaced never comes back";

    // A sequence started after undoing replaces the undone steps too.
    FUndo->Undo();
    FUndo->StartSequence();
    Change(2, 2, u"x");
    FUndo->StopSequence();
    FUndo->Undo();
    FUndo->Undo();
    EXPECT_EQ(Text(1, 1), "");
    EXPECT_EQ(Text(2, 2), "");
    EXPECT_EQ(FUndo->Level(), 0);
    EXPECT_EQ(FUndo->Items()->Count(), 4);
}

TEST_F(UndoTest, NothingHappensWithoutAGrid) {
    Change(1, 1, u"a");
    FUndo->SetGrid(nullptr);
    FUndo->Undo();
    EXPECT_EQ(FUndo->Level(), 1);
    EXPECT_EQ(Text(1, 1), "a");
}

} // namespace
