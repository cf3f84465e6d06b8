// Tests of the edit start: which cells edit, with which kind, and through which editor.
#include <string>
#include <vector>

#include "tests/grid/view/GridEditTesting.h"

#include "platform/framework/StdEdit.h"

namespace {

using namespace gridedit_fixtures;
using EditStartTest = EditTest;

TEST_F(EditStartTest, TheCellsKindDecidesWhetherAndHowItEdits) {
    struct Case {
        const char* name;
        TEditorType kind;
        bool textEditor; // the default text editor shows
        bool editMode;   // edit mode is on afterwards
    };
    const Case cases[] = {
        {"edNone never edits", edNone, false, false},
        {"edNormal edits as text", edNormal, true, true},
        {"edNumeric edits as text", edNumeric, true, true},
        {"a data check box shows no editor but edits", edDataCheckBox, false, true},
        {"edCustom without a link shows no editor but edits", edCustom, false, true},
        {"a spin cell opens the spin editor", edSpinEdit, false, true},
        {"a drop-down cell edits as text until its editor is built", edColorPickerDropDown, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->OnGetEditorType = [&](TObject*, Integer, Integer, TEditorType& kind) { kind = c.kind; };
        grid->SetCells(2, 3, u"x");
        EditAt(2, 3);
        EXPECT_EQ(EditorShown(), c.textEditor);
        EXPECT_EQ(grid->EditMode(), c.editMode);
        if (c.textEditor) {
            EXPECT_EQ(EditorText(), u"x");
        }
        // Moving on ends whatever edit there was.
        grid->SetRow(4);
        Pump();
        EXPECT_FALSE(grid->EditMode());
        EXPECT_FALSE(EditorShown());
    }
}

TEST_F(EditStartTest, ClickControlCellsNeverOpenAnEditor) {
    grid->AddCheckBox(2, 3, false, false);
    EditAt(2, 3);
    EXPECT_FALSE(grid->EditMode());
    EXPECT_FALSE(EditorShown());
}

TEST_F(EditStartTest, DefaultEditorIsWhatTheHandlerStartsFrom) {
    grid->SetDefaultEditor(edPositiveNumeric);
    std::vector<TEditorType> seen;
    std::vector<std::pair<Integer, Integer>> cells;
    grid->OnGetEditorType = [&](TObject*, Integer col, Integer row, TEditorType& kind) {
        seen.push_back(kind);
        cells.emplace_back(col, row);
        if (col == 3)
            kind = edUpperCase;
    };
    EditAt(2, 2);
    EXPECT_EQ(grid->EditControl(), edPositiveNumeric);
    EXPECT_EQ(grid->CurrentEditor(), edPositiveNumeric);
    grid->SetCol(3);
    Press(VK_F2);
    EXPECT_EQ(grid->EditControl(), edUpperCase);
    EXPECT_EQ(grid->CurrentEditor(), edUpperCase) << "the kind of the editor at work, not the default";
    EXPECT_EQ(seen, (std::vector<TEditorType>{edPositiveNumeric, edPositiveNumeric}));
    EXPECT_EQ(cells, (std::vector<std::pair<Integer, Integer>>{{2, 2}, {3, 2}}));
    // Without a handler the default kind edits.
    grid->OnGetEditorType = nullptr;
    grid->SetRow(5);
    Press(VK_F2);
    EXPECT_EQ(grid->EditControl(), edPositiveNumeric);
}

TEST_F(EditStartTest, AMergedCellIsEditedThroughItsBase) {
    grid->SetOptions(grid->Options() - TGridOptions{goRangeSelect});
    grid->SetCells(2, 2, u"block");
    grid->MergeCells(2, 2, 2, 2);
    std::vector<std::pair<Integer, Integer>> asked;
    grid->OnGetEditorType = [&](TObject*, Integer col, Integer row, TEditorType&) {
        asked.emplace_back(col, row);
    };
    grid->SetCol(3);
    grid->SetRow(3);
    EXPECT_EQ(grid->Col(), 2) << "the block's base becomes current";
    EXPECT_EQ(grid->Row(), 2);
    Press(VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(EditorText(), u"block");
    EXPECT_EQ(asked, (std::vector<std::pair<Integer, Integer>>{{2, 2}}));
    Type(u"!");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(2, 2), u"block!");
}

TEST_F(EditStartTest, EditabilityFollowsTheGridsSwitchesAndTheCell) {
    grid->OnCanEditCell = [](TObject*, Integer ARow, Integer ACol, bool& CanEdit) { CanEdit = ACol != 4; };
    EXPECT_TRUE(grid->IsEditable(2, 2));
    EXPECT_FALSE(grid->IsEditable(4, 2));
    EXPECT_FALSE(grid->IsEditable(0, 2)) << "fixed cells are not editable";
    grid->SetOptions(grid->Options() - TGridOptions{goEditing});
    EXPECT_FALSE(grid->IsEditable(2, 2));
    grid->MouseActions()->SetRangeSelectAndEdit(true);
    EXPECT_TRUE(grid->IsEditable(2, 2)) << "RangeSelectAndEdit still asks the cell";
    EXPECT_FALSE(grid->IsEditable(4, 2));
}

TEST_F(EditStartTest, ShowCellEditStartsEditingAsF2DoesAndDisableEditingStopsIt) {
    grid->SetCells(3, 4, u"here");
    grid->SetCol(3);
    grid->SetRow(4);
    grid->ShowCellEdit();
    Pump();
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(EditorText(), u"here");
    Press(VK_ESCAPE);
    grid->DisableEditing();
    grid->ShowCellEdit();
    Pump();
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(grid->EditMode());
}

TEST_F(EditStartTest, TheInplaceCombosListOperations) {
    grid->AddComboString(u"red");
    grid->AddComboString(u"green");
    EXPECT_FALSE(grid->RemoveComboString(u"blue"));
    EXPECT_EQ(grid->GetComboCount(), 2);
    EXPECT_FALSE(grid->SetComboSelectionString(u"blue"));
    EXPECT_TRUE(grid->SetComboSelectionString(u"green"));
    grid->SetCells(2, 2, u"purple");
    EXPECT_EQ(grid->GetComboIndex(2, 2), -1);
    grid->SetComboIndex(2, 2, 1);
    EXPECT_EQ(grid->Cells(2, 2), u"green");
    EXPECT_EQ(grid->GetComboIndex(2, 2), 1);
    EXPECT_THROW(grid->SetComboIndex(2, 2, 5), EStringListError);
    EXPECT_TRUE(grid->RemoveComboString(u"red"));
    EXPECT_EQ(grid->GetComboCount(), 1);
}

TEST_F(EditStartTest, ARightToLeftGridPlacesSpecialEditorsOnePixelIn) {
    const TRect cell = grid->CellRect(2, 2);
    const auto ltr = grid->SpecialEditorPlace(2, 2);
    EXPECT_EQ(ltr.L, cell.Left);
    EXPECT_EQ(ltr.W, cell.Right - cell.Left - 1);
    EXPECT_EQ(ltr.H, cell.Bottom - cell.Top - 1);
    grid->SetBiDiMode(bdRightToLeft);
    const auto rtl = grid->SpecialEditorPlace(2, 2);
    EXPECT_EQ(rtl.L, rtl.R.Left);
    EXPECT_EQ(rtl.R.Left, grid->CellRect(2, 2).Left + 1);
    EXPECT_EQ(rtl.W, rtl.R.Right - rtl.R.Left - 1);
}

} // namespace
