// Tests of the update lock on shown and hidden grids and of the focus handlers: the always-edit mode,
// the blocking of exit events and the completion of the disjunct row selection on exit.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

namespace {

using FocusHandlingTest = GridKeysTest;

TEST_F(FocusHandlingTest, TheLockCountsNestedUpdatesAndRepaintsOnceAtTheEnd) {
    Pump();
    const Integer painted = FGrid->PaintCounter();
    FGrid->BeginUpdate();
    FGrid->BeginUpdate();
    FGrid->EndUpdate();
    EXPECT_TRUE(FGrid->LockUpdate());
    FGrid->Invalidate();
    Pump();
    EXPECT_EQ(FGrid->PaintCounter(), painted) << "still locked";
    FGrid->EndUpdate();
    EXPECT_FALSE(FGrid->LockUpdate());
    Pump();
    EXPECT_EQ(FGrid->PaintCounter(), painted + 1);
}

TEST_F(FocusHandlingTest, AHiddenGridNeitherLocksNorStaysLocked) {
    FGrid->SetVisible(false);
    FGrid->BeginUpdate();
    EXPECT_EQ(FGrid->UpdateCount(), 0);
    FGrid->EndUpdate();
    EXPECT_EQ(FGrid->UpdateCount(), 0);

    // Locked while shown, unlocked while hidden: the grid paints again when shown.
    FGrid->SetVisible(true);
    Pump();
    FGrid->BeginUpdate();
    FGrid->SetVisible(false);
    FGrid->EndUpdate();
    EXPECT_FALSE(FGrid->LockUpdate());
    const Integer painted = FGrid->PaintCounter();
    FGrid->SetVisible(true);
    Pump();
    EXPECT_GT(FGrid->PaintCounter(), painted);
}

TEST_F(FocusHandlingTest, BlockKillHidesTheExitFromTheApplication) {
    std::vector<std::string> events;
    FGrid->OnExit = [&events](TObject*) { events.push_back("exit"); };
    FGrid->OnEnter = [&events](TObject*) { events.push_back("enter"); };
    FGrid->SetBlockKill(true);
    FEdit->SetFocus();
    Pump();
    EXPECT_TRUE(events.empty());
    FGrid->SetBlockKill(false);
    FGrid->SetFocus();
    Pump();
    FEdit->SetFocus();
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit"}));
}

TEST_F(FocusHandlingTest, AlwaysEditOpensTheEditorOnlyForACellInView) {
    FGrid->SetRowCount(60);
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->Navigation()->SetAlwaysEdit(true);
    FGrid->ShowInplaceEdit(); // the default editor exists from here on
    FGrid->HideInplaceEdit();
    ASSERT_NE(FGrid->NormalEdit(), nullptr);

    Place(2, 3);
    FGrid->SetTopRow(30);
    FEdit->SetFocus();
    Pump();
    FGrid->SetFocus();
    Pump();
    EXPECT_FALSE(FGrid->EditMode()) << "the cell is out of view";

    FEdit->SetFocus();
    Pump();
    FGrid->SetTopRow(1);
    FGrid->SetFocus();
    Pump();
    EXPECT_TRUE(FGrid->EditMode());
}

TEST_F(FocusHandlingTest, LeavingCompletesTheDisjunctRowSelection) {
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetSelection(TGridRect{1, 3, 5, 5});
    FGrid->MarkSelectionChanged();
    FEdit->SetFocus();
    Pump();
    EXPECT_TRUE(FGrid->RowSelect(3));
    EXPECT_TRUE(FGrid->RowSelect(5));
    EXPECT_FALSE(FGrid->RowSelect(6));
}

} // namespace
