// In-place editing: showing the editor by key and click, storing its text, cancelling, and keeping it
// over its cell when the grid scrolls.
#include "tests/platform/framework/grids_testing.h"

namespace {

class GridEditor : public GridTest {
protected:
    void SetUp() override {
        GridTest::SetUp();
        FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
        FGrid->SetCells(1, 1, u"start");
        FGrid->OnSetEditText = [this](TObject*, Integer col, Integer row, const String& value) {
            FStored.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + StringToUtf8(value));
        };
    }
    bool EditorShown() const {
        return FGrid->InplaceEditor() != nullptr && FGrid->InplaceEditor()->Visible();
    }

    std::vector<std::string> FStored;
};

TEST_F(GridEditor, F2ShowsTheEditorOverTheCellAndEnterStoresAndHidesIt) {
    PressWith(VK_F2, {});
    ASSERT_TRUE(EditorShown());
    EXPECT_TRUE(FGrid->EditorMode());
    TInplaceEdit* editor = FGrid->InplaceEditor();
    EXPECT_EQ(editor->BoundsRect(), FGrid->CellRect(1, 1));
    EXPECT_EQ(editor->Text(), u"start");
    EXPECT_EQ(FocusName(), std::string()); // the editor has no name; the grid lost the focus to it
    EXPECT_EQ(GetFocus(), editor->Handle());

    PressWith(VK_END, {});
    Type(u"ed");
    EXPECT_EQ(FGrid->Cells(1, 1), u"started"); // each change is stored at once
    EXPECT_EQ(FStored.back(), "1,1=started");
    PressWith(VK_RETURN, {});
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(FGrid->EditorMode());
    EXPECT_EQ(FGrid->Cells(1, 1), u"started");
    EXPECT_EQ(GetFocus(), FGrid->Handle());
    // Enter again opens it again.
    PressWith(VK_RETURN, {});
    EXPECT_TRUE(EditorShown());
}

TEST_F(GridEditor, TypingOnTheGridStartsEditingWithTheCharacter) {
    Type(u"x");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(FGrid->InplaceEditor()->Text(), u"x");
    EXPECT_EQ(FGrid->Cells(1, 1), u"x");
    // Leaving the cell with a key stores the text and hides the editor.
    PressWith(VK_DOWN, {});
    EXPECT_EQ(FGrid->Row(), 2);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(FGrid->Cells(1, 1), u"x");
}

TEST_F(GridEditor, EscapeGivesTheCellItsTextBack) {
    PressWith(VK_F2, {});
    Type(u"changed"); // F2 puts the caret after the text
    EXPECT_EQ(FGrid->Cells(1, 1), u"startchanged");
    PressWith(VK_ESCAPE, {});
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(FGrid->Cells(1, 1), u"start");
    EXPECT_EQ(FStored.back(), "1,1=start");
}

TEST_F(GridEditor, EditTextComesThroughTheGridsQuestions) {
    FGrid->OnGetEditText = [](TObject*, Integer, Integer, String& value) { value = u"<" + value + u">"; };
    FGrid->OnGetEditMask = [](TObject*, Integer, Integer, String& value) { value = u"CCCCCCC;1;_"; };
    PressWith(VK_F2, {});
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(FGrid->InplaceEditor()->EditMask(), u"CCCCCCC;1;_");
    EXPECT_EQ(FGrid->InplaceEditor()->Text(), u"<start>");
    // Loading the editor stores nothing.
    EXPECT_TRUE(FStored.empty());
}

TEST_F(GridEditor, ClickOnTheCurrentCellEditsAndTheEditorFollowsScrolling) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goAlwaysShowEditor});
    Down(CellCentre(2, 2));
    Up(CellCentre(2, 2));
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(FGrid->InplaceEditor()->BoundsRect(), FGrid->CellRect(2, 2));
    FGrid->SetTopRow(2);
    EXPECT_EQ(FGrid->InplaceEditor()->BoundsRect(), FGrid->CellRect(2, 2));
    // Scrolled out of sight, the editor hides.
    FGrid->SetTopRow(5);
    EXPECT_FALSE(EditorShown());
    // The focus leaving the window, say for another program, and coming back keeps editing on: the
    // editor shows again when its cell scrolls back into view.
    ASSERT_EQ(GetFocus(), FGrid->Handle());
    ::SetFocus(nullptr);
    Pump();
    ::SetFocus(FGrid->Handle());
    Pump();
    FGrid->SetTopRow(1);
    EXPECT_TRUE(EditorShown());
    EXPECT_EQ(GetFocus(), FGrid->InplaceEditor()->Handle());
    // Rows-only selection never edits.
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goRowSelect});
    PressWith(VK_F2, {});
    EXPECT_FALSE(EditorShown());
}

TEST_F(GridEditor, TheScrollBarTakesTheFocusAndTheEditorStaysOverItsCell) {
    FGrid->SetRow(3);
    PressWith(VK_F2, {});
    Type(u"x");
    HWND grid = FGrid->Handle();
    SendMessageW(grid, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    Pump();
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(FGrid->InplaceEditor()->BoundsRect(), FGrid->CellRect(1, 3));
    EXPECT_EQ(GetFocus(), FGrid->InplaceEditor()->Handle()) << "the editor takes it back as it moves";
    // A scroll that moves nothing leaves the focus with the grid and the editor open; typing goes on.
    SendMessageW(grid, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    Pump();
    EXPECT_EQ(GetFocus(), grid);
    EXPECT_TRUE(EditorShown());
    Type(u"y");
    EXPECT_EQ(FGrid->Cells(1, 3), u"xy");
}

TEST_F(GridEditor, ChangingTheCellUnderTheEditorReloadsIt) {
    PressWith(VK_F2, {});
    FGrid->SetCells(1, 1, u"from code");
    EXPECT_EQ(FGrid->InplaceEditor()->Text(), u"from code");
    FGrid->SetEditorMode(false);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(FGrid->Cells(1, 1), u"from code");
    // Taking goEditing away closes an open editor.
    PressWith(VK_F2, {});
    ASSERT_TRUE(EditorShown());
    FGrid->SetOptions(FGrid->Options() - TGridOptions{goEditing});
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(FGrid->EditorMode());
}

} // namespace
