// Tests of the in-place editor hand-over, the scroll follow-up, the selection of single cells on key
// release, the refusal of sizing and the edit link's window procedure, through the message dispatch.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/grid/engine/AdvGridWndProcTesting.h"

#include "platform/framework/StdCtrls.h"

namespace {

using AdvGridHandOverTest = WndProcTest;

std::vector<Integer> Entries(const TIntList* list) {
    std::vector<Integer> entries;
    for (Integer i = 0; i < list->Count(); ++i)
        entries.push_back(list->Items(i));
    std::sort(entries.begin(), entries.end());
    return entries;
}

Integer Entry(Integer col, Integer row) {
    return row * 65536 + col;
}

// ---- Starting and ending an edit

TEST_F(AdvGridHandOverTest, ShowInplaceEditBringsTheCellBackAndLoadsItsText) {
    // Without editing no editor shows, and the grid is not in edit mode.
    FGrid->ShowInplaceEdit();
    EXPECT_FALSE(FGrid->EditMode());
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->SetCells(2, 5, u"five");
    Place(2, 5);
    FGrid->SetTopRow(20);
    FGrid->ShowInplaceEdit();
    EXPECT_EQ(FGrid->TopRow(), 5);
    ASSERT_TRUE(FGrid->EditMode());
    ASSERT_NE(FGrid->InplaceEditor(), nullptr);
    EXPECT_TRUE(FGrid->InplaceEditor()->Visible());
    EXPECT_EQ(FGrid->InplaceEditor()->Text(), u"five");

    // What is typed reaches the cell as it is typed: the editor hears of its own change through the
    // grid's window procedure.
    std::vector<String> stored;
    FGrid->OnSetEditText = [&](TObject*, Integer, Integer, const String& value) { stored.push_back(value); };
    win32::input::PressKey(VK_END);
    win32::input::TypeCharacter(u'!');
    Pump();
    EXPECT_EQ(stored, (std::vector<String>{u"five!"}));
    EXPECT_EQ(FGrid->Cells(2, 5), u"five!");

    // An arrow key ends the edit and moves on; the typed text stays in the cell.
    FGrid->InplaceEditor()->SetText(u"changed");
    FGrid->DoneInplaceEdit(VK_DOWN, TShiftState{});
    EXPECT_FALSE(FGrid->EditMode());
    EXPECT_FALSE(FGrid->InplaceEditor()->Visible());
    EXPECT_EQ(FGrid->Cells(2, 5), u"changed");
    EXPECT_EQ(FGrid->Row(), 6);
    // Escape only ends the edit.
    FGrid->ShowInplaceEdit();
    ASSERT_TRUE(FGrid->EditMode());
    FGrid->DoneInplaceEdit(VK_ESCAPE, TShiftState{});
    EXPECT_FALSE(FGrid->EditMode());
    EXPECT_EQ(FGrid->Row(), 6);
    EXPECT_EQ(FGrid->Col(), 2);

    // RangeSelectAndEdit switches editing on for the edit.
    FGrid->SetOptions(FGrid->Options() - TGridOptions{goEditing});
    FGrid->MouseActions()->SetRangeSelectAndEdit(true);
    FGrid->ShowInplaceEdit();
    EXPECT_TRUE(FGrid->Options().Contains(goEditing));
    EXPECT_TRUE(FGrid->EditMode());
}

TEST_F(AdvGridHandOverTest, ScrollingClosesEditorsThatDoNotMoveWithTheGrid) {
    struct Case {
        TEditorType kind;
        bool staysOpen;
    };
    for (const Case& c : {Case{edNormal, true}, Case{edUpperCase, true}, Case{edValidChars, true},
                          Case{edComboList, false}, Case{edSpinEdit, false}, Case{edDateEdit, false}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Place(2, 5);
        FGrid->SetEditing(true, c.kind);
        FGrid->SetTopRow(3);
        EXPECT_EQ(FGrid->EditMode(), c.staysOpen);
        FGrid->SetEditing(false, edNormal);
    }
}

TEST_F(AdvGridHandOverTest, ScrollingTakesASynchronisedGridAlong) {
    auto* other = new TWndProcGrid(FForm);
    other->SetRowCount(50);
    other->SetColCount(40);
    other->SetBounds(0, 310, 400, 80);
    other->SetParent(FForm);
    Pump();
    FGrid->SyncGrid()->SetGrid(other);
    FGrid->SyncGrid()->SetScrollVertical(true);
    FGrid->SetTopRow(7);
    EXPECT_EQ(other->TopRow(), 7);
    EXPECT_EQ(other->LeftCol(), 1);
    FGrid->SyncGrid()->SetScrollHorizontal(true);
    FGrid->SetLeftCol(4);
    EXPECT_EQ(other->LeftCol(), 4);
    // Rows the other grid does not have are not followed.
    FGrid->SetTopRow(60);
    EXPECT_EQ(other->TopRow(), 7);
    FGrid->SyncGrid()->SetGrid(nullptr);
}

// ---- Key release

class AdvGridCellSelectTest : public WndProcTest {
protected:
    void SetUp() override {
        WndProcTest::SetUp();
        FGrid->MouseActions()->SetDisjunctCellSelect(true);
        Place(2, 3);
    }
    std::vector<Integer> Selected() const { return Entries(FGrid->SelectedCellList()); }
};

TEST_F(AdvGridCellSelectTest, SpaceSelectsTheCellAndCtrlSpaceToggles) {
    PressWith(VK_SPACE, {});
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 3)}));
    // Space elsewhere starts over with that cell.
    PressWith(VK_DOWN, {});
    PressWith(VK_SPACE, {});
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 4)}));
    // Ctrl+Space adds and removes single cells.
    PressWith(VK_RIGHT, {});
    PressWith(VK_SPACE, {ssCtrl});
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 4), Entry(3, 4)}));
    PressWith(VK_SPACE, {ssCtrl});
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 4)}));
}

TEST_F(AdvGridCellSelectTest, ShiftArrowsSelectTheBlockAroundTheCurrentCell) {
    PressWith(VK_SPACE, {});
    PressWith(VK_RIGHT, {ssShift});
    PressWith(VK_DOWN, {ssShift});
    // The block (2,3)-(3,4) less the current cell (3,4).
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 3), Entry(3, 3), Entry(2, 4)}));
    // Space over a block lists the whole block.
    PressWith(VK_SPACE, {});
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 3), Entry(3, 3), Entry(2, 4), Entry(3, 4)}));
}

TEST_F(AdvGridCellSelectTest, NothingIsSelectedWhileEditingOrWhenTheCellRefuses) {
    FGrid->OnSelectCell = [](TObject*, Integer col, Integer, bool& allow) { allow = col != 2; };
    PressWith(VK_SPACE, {});
    EXPECT_TRUE(Selected().empty());
    FGrid->OnSelectCell = nullptr;
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->SetEditorMode(false);
    PressWith(VK_SPACE, {});
    EXPECT_TRUE(Selected().empty());
}

TEST_F(AdvGridCellSelectTest, SpaceInAMergedBlockSelectsItsBaseCell) {
    FGrid->MergeCells(2, 3, 2, 2);
    Place(2, 3);
    FGrid->SetCol(3);
    ASSERT_EQ(FGrid->Col(), 3);
    PressWith(VK_SPACE, {});
    EXPECT_EQ(Selected(), (std::vector<Integer>{Entry(2, 3)}));
}

TEST_F(AdvGridHandOverTest, AlwaysEditStartsTheEditorOnArrowRelease) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->Navigation()->SetAlwaysEdit(true);
    Place(2, 3);
    std::vector<TGridRect> changes;
    FGrid->OnSelectionChanged = [&](TObject*, Integer l, Integer t, Integer r, Integer b) {
        changes.push_back(TGridRect{l, t, r, b});
    };
    PressWith(VK_RIGHT, {});
    EXPECT_EQ(FGrid->Col(), 3);
    EXPECT_TRUE(FGrid->EditMode());
    EXPECT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), (TGridRect{3, 3, 3, 3}));
}

TEST_F(AdvGridHandOverTest, KeyReleaseReportsASelectionOnlyWhenItMoved) {
    Place(2, 3);
    std::vector<TGridRect> changes;
    FGrid->OnSelectionChanged = [&](TObject*, Integer l, Integer t, Integer r, Integer b) {
        changes.push_back(TGridRect{l, t, r, b});
    };
    PressWith(VK_LEFT, {});
    PressWith(VK_LEFT, {}); // against the fixed column: nothing moves
    PressWith(VK_DOWN, {ssShift});
    EXPECT_EQ(changes, (std::vector<TGridRect>{TGridRect{1, 3, 1, 3}, TGridRect{1, 3, 1, 4}}));
}

TEST_F(AdvGridHandOverTest, ClickGridCellSelectsTheCellWithoutTheMouseEvents) {
    int mouseEvents = 0;
    FGrid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseEvents; };
    FGrid->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseEvents; };
    ClickGridCell(FGrid, 3, 4);
    EXPECT_EQ(FGrid->Col(), 3);
    EXPECT_EQ(FGrid->Row(), 4);
    EXPECT_EQ(mouseEvents, 0);
    // The events are the grid's again afterwards.
    const TRect r = FGrid->CellRect(2, 2);
    const TPoint p = ScreenPoint(r.Left + 3, r.Top + 3);
    win32::input::Click(win32::input::Button::Left, p.X, p.Y);
    Pump();
    EXPECT_EQ(mouseEvents, 2);
}

// ---- Sizing

TEST_F(AdvGridHandOverTest, ColumnAndRowSizingCanBeRefused) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColSizing, goRowSizing});
    std::vector<Integer> asked;
    bool allow = false;
    FGrid->OnColumnSize = [&](TObject*, Integer col, bool& a) {
        asked.push_back(col);
        a = allow;
    };
    FGrid->OnRowSize = [&](TObject*, Integer row, bool& a) {
        asked.push_back(-row);
        a = allow;
    };
    auto drag = [&](TPoint from, TPoint to) {
        const TPoint a = ScreenPoint(from.X, from.Y);
        const TPoint b = ScreenPoint(to.X, to.Y);
        win32::input::MouseMove(a.X, a.Y);
        win32::input::MouseButton(win32::input::Button::Left, true, a.X, a.Y);
        win32::input::MouseMove(b.X, b.Y);
        win32::input::MouseButton(win32::input::Button::Left, false, b.X, b.Y);
        Pump();
    };
    // The end line of column 2 in the fixed row, and of row 3 in the fixed column.
    const TRect col2 = FGrid->CellRect(2, 0);
    const TRect row3 = FGrid->CellRect(0, 3);
    drag(TPoint(col2.Right - 1, 10), TPoint(col2.Right + 20, 10));
    drag(TPoint(10, row3.Bottom - 1), TPoint(10, row3.Bottom + 15));
    EXPECT_EQ(FGrid->ColWidths(2), 64);
    EXPECT_EQ(FGrid->RowHeights(3), 22);
    ASSERT_FALSE(asked.empty());
    EXPECT_NE(std::find(asked.begin(), asked.end(), 2), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), -3), asked.end());

    allow = true;
    drag(TPoint(col2.Right - 1, 10), TPoint(col2.Right + 20, 10));
    EXPECT_GT(FGrid->ColWidths(2), 64);
}

// ---- The edit link's window procedure

class TEditLinkOf : public TEditLink {
public:
    explicit TEditLinkOf(TWinControl* control) : TEditLink(nullptr), FControl(control) {}
    TWinControl* GetEditControl() override { return FControl; }

private:
    TWinControl* FControl;
};

TEST_F(AdvGridHandOverTest, EditLinkControlAsksForTabsAndArrowsWithGoTabs) {
    auto* edit = new TEdit(FForm);
    edit->SetParent(FForm);
    edit->SetBounds(410, 10, 80, 20);
    Pump();
    int ownDlgCodes = 0;
    TWndMethod own = edit->WindowProc;
    edit->WindowProc = [&ownDlgCodes, own](TMessage& message) {
        if (message.Msg == WM_GETDLGCODE)
            ++ownDlgCodes;
        own(message);
    };
    TEditLinkOf link(edit);
    FGrid->SetEditLink(&link);

    FGrid->SetOptions(FGrid->Options() + TGridOptions{goTabs});
    EXPECT_EQ(edit->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
    EXPECT_EQ(ownDlgCodes, 0);
    // Everything else, and the dialog code without goTabs, is the control's own.
    FGrid->SetOptions(FGrid->Options() - TGridOptions{goTabs});
    const LRESULT code = edit->Perform(WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(ownDlgCodes, 1);
    EXPECT_EQ(code & DLGC_WANTTAB, 0);
    edit->SetText(u"typed");
    EXPECT_EQ(edit->Text(), u"typed");

    // Unlinking gives the control its procedure back.
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goTabs});
    FGrid->SetEditLink(nullptr);
    edit->Perform(WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(ownDlgCodes, 2);

    // A linked control that goes away is forgotten.
    FGrid->SetEditLink(&link);
    delete edit;
    FGrid->SetEditLink(nullptr);
}

} // namespace
