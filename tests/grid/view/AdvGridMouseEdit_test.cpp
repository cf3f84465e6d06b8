// Tests of the clicks that edit: a direct edit on the press, with the caret where the mouse was, the
// double click of EditOnDblClickOnly, the validation of what a click leaves, and a press on another form
// control of a cell while one is being edited.
#include <string>
#include <vector>

#include "tests/grid/view/GridMouseTesting.h"

#include "grid/view/AdvGridInplaceEdit.h"
#include "render/AsgHTMLE.h"

namespace {

using gridmouse_fixtures::GridMouseTest;

class MouseEditTest : public GridMouseTest {
protected:
    void SetUp() override {
        GridMouseTest::SetUp();
        grid->SetOptions(grid->Options() + TGridOptions{goEditing});
        grid->SetColWidths(2, 120);
        for (Integer r = 1; r < 8; ++r)
            grid->SetCells(2, r, u"cell" + IntToStr(r));
    }
    void TearDown() override {
        grid->OnCanEditCell = nullptr;
        grid->OnCellValidate = nullptr;
        grid->OnCellChanging = nullptr;
        grid->OnControlEditDone = nullptr;
        GridMouseTest::TearDown();
    }
    TInplaceEdit* ShownEditor() const {
        TInplaceEdit* editor = grid->InplaceEditor();
        return editor != nullptr && editor->Visible() ? editor : nullptr;
    }
    void Type(const std::u16string& text) {
        for (Char c : text)
            win32::input::TypeCharacter(c);
        Pump();
    }
};

// With DirectEdit the press itself opens the editor on an editable cell; a read-only cell, a check box
// or a refused cell change only make the cell current, or leave the grid as it was.
TEST_F(MouseEditTest, DirectEditOpensTheEditorOnThePress) {
    struct Case {
        const char* name;
        Integer row;
        bool readOnly;
        bool checkBox;
        bool refuseChange;
        bool edits;
        Integer currentRow; // after the press
    };
    const Case cases[] = {
        {"editable", 3, false, false, false, true, 3},
        {"read-only", 3, true, false, false, false, 3},
        {"check box", 4, false, true, false, false, 4},
        {"change refused", 5, false, false, true, false, 1},
    };
    grid->MouseActions()->SetDirectEdit(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->HideInplaceEdit();
        grid->SetCol(1);
        grid->SetRow(1);
        Pump();
        if (c.checkBox)
            grid->AddCheckBox(2, c.row, false, false);
        grid->OnCanEditCell = [&c](TObject*, Integer, Integer, bool& can) { can = !c.readOnly; };
        grid->OnCellChanging = [&c](TObject*, Integer, Integer, Integer, Integer, bool& allow) {
            allow = !c.refuseChange;
        };
        MoveTo(Centre(2, c.row));
        Down(Centre(2, c.row));
        EXPECT_EQ(ShownEditor() != nullptr, c.edits) << "at the press";
        Up(Centre(2, c.row));
        Advance(GetDoubleClickTime() + 1);
        EXPECT_EQ(grid->Row(), c.currentRow);
        ASSERT_EQ(ShownEditor() != nullptr, c.edits);
        if (c.edits) {
            EXPECT_EQ(grid->Col(), 2);
            EXPECT_EQ(ShownEditor()->Text(), u"cell3");
            EXPECT_EQ(GetFocus(), ShownEditor()->Handle());
        }
        grid->OnCellChanging = nullptr;
    }
}

// With CaretPositioning the caret of the editor a click opens goes where the mouse was; without it the
// caret goes to the end of the text.
TEST_F(MouseEditTest, CaretPositioningPutsTheCaretUnderTheMouse) {
    grid->MouseActions()->SetDirectEdit(true);
    grid->SetCells(2, 3, u"abcdefghijkl");
    const TRect r = grid->CellRect(2, 3);

    grid->MouseActions()->SetCaretPositioning(true);
    Click(TPoint(r.Right - 4, r.Top + 10));
    ASSERT_NE(ShownEditor(), nullptr);
    EXPECT_EQ(ShownEditor()->SelStart(), 12) << "right of the text";
    EXPECT_EQ(ShownEditor()->SelLength(), 0);
    grid->HideInplaceEdit();
    grid->SetRow(1);
    Click(TPoint(r.Left + 4, r.Top + 10));
    ASSERT_NE(ShownEditor(), nullptr);
    EXPECT_EQ(ShownEditor()->SelStart(), 0) << "left of the first character";

    grid->HideInplaceEdit();
    grid->SetRow(1);
    grid->MouseActions()->SetCaretPositioning(false);
    Click(TPoint(r.Left + 4, r.Top + 10));
    ASSERT_NE(ShownEditor(), nullptr);
    EXPECT_EQ(ShownEditor()->SelStart(), 12);
    EXPECT_EQ(ShownEditor()->SelLength(), 0);
}

// What a direct edit leaves is validated when a click goes elsewhere: against the text the cell had when
// the click opened it (the caret starts at the end). A refusal keeps the edited cell current, edited
// again, rather than letting the click's direct edit take the clicked cell.
TEST_F(MouseEditTest, AClickElsewhereValidatesTheDirectEdit) {
    grid->MouseActions()->SetDirectEdit(true);
    std::vector<std::string> validated;
    bool refuse = false;
    grid->OnCellValidate = [&](TObject*, Integer col, Integer row, String& value, bool& valid) {
        validated.push_back(std::to_string(col) + "," + std::to_string(row) + " " + StringToUtf8(value));
        valid = !refuse;
    };

    Click(Centre(2, 3));
    ASSERT_NE(ShownEditor(), nullptr);
    Click(Centre(2, 5));
    EXPECT_TRUE(validated.empty()) << "an unchanged cell is not validated";
    ASSERT_NE(ShownEditor(), nullptr);
    EXPECT_EQ(grid->Row(), 5);

    Type(u"X");
    Click(Centre(2, 2));
    EXPECT_EQ(validated, (std::vector<std::string>{"2,5 cell5X"}));
    EXPECT_EQ(grid->Cells(2, 5), u"cell5X");
    EXPECT_EQ(grid->Row(), 2);

    refuse = true;
    validated.clear();
    Type(u"Y");
    Click(Centre(2, 6));
    EXPECT_EQ(validated, (std::vector<std::string>{"2,2 cell2Y"}));
    EXPECT_EQ(grid->Row(), 2) << "the refused cell stays current";
    EXPECT_EQ(grid->Cells(2, 2), u"cell2");
    EXPECT_NE(ShownEditor(), nullptr) << "and is edited again";
}

// With EditOnDblClickOnly a click only selects; a double click switches editing on and opens the editor
// of an editable cell, not of a read-only one.
TEST_F(MouseEditTest, EditOnDblClickOnlyEditsOnTheDoubleClick) {
    grid->MouseActions()->SetEditOnDblClickOnly(true);
    bool readOnly = false;
    grid->OnCanEditCell = [&readOnly](TObject*, Integer, Integer, bool& can) { can = !readOnly; };

    Click(Centre(2, 3));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(ShownEditor(), nullptr);
    DoubleClick(Centre(2, 4));
    ASSERT_NE(ShownEditor(), nullptr);
    EXPECT_TRUE(grid->Options().Contains(goEditing));
    EXPECT_EQ(ShownEditor()->Text(), u"cell4");
    Type(u"Z");
    Click(Centre(2, 6));
    EXPECT_EQ(grid->Cells(2, 4), u"Z");
    EXPECT_EQ(ShownEditor(), nullptr) << "the click that ends the edit opens no other";

    readOnly = true;
    DoubleClick(Centre(2, 5));
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(ShownEditor(), nullptr);
}

// A press on another form control of a cell while one is edited writes the open editor's value into its
// own control first; the second control's editor then opens on the updated text.
TEST_F(MouseEditTest, PressingAnotherFormControlClosesTheOpenEditorFirst) {
    grid->SetColWidths(2, 170);
    grid->SetRowHeights(3, 30);
    const String text = u"<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"x\" WIDTH=\"60\"> "
                        u"<CONTROL TYPE=\"EDIT\" ID=\"e2\" VALUE=\"y\" WIDTH=\"60\">";
    grid->SetCells(2, 3, text);
    std::vector<std::string> done;
    grid->OnControlEditDone = [&](TObject*, Integer, Integer, const String& id, const String&,
                                  const String& value) {
        done.push_back(StringToUtf8(id) + "=" + StringToUtf8(value));
    };
    const TRect r = grid->CellRect(2, 3);
    Click(TPoint(r.Left + 20, r.Top + 15));
    ASSERT_TRUE(grid->ControlEditing());
    EXPECT_EQ(grid->ControlEdit()->Text(), u"x");
    grid->ControlEdit()->SetText(u"typed");

    Click(TPoint(r.Left + 110, r.Top + 15));
    EXPECT_EQ(done, (std::vector<std::string>{"e1=typed"}));
    ASSERT_TRUE(grid->ControlEditing());
    EXPECT_EQ(grid->ControlEdit()->Text(), u"y");
    String value;
    ASSERT_TRUE(ReadControlValue(grid->Cells(2, 3), u"e1", value));
    EXPECT_EQ(value, u"typed");
    ASSERT_TRUE(ReadControlValue(grid->Cells(2, 3), u"e2", value));
    EXPECT_EQ(value, u"y");
}

} // namespace
