// Tests of radio groups, radio buttons, push buttons and expand cells: choosing options, the group rule
// of radio buttons, what each operation leaves alone on cells of another kind, and who owns what.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace {

class AdvGridButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = std::make_unique<TAdvStringGrid>(nullptr);
        grid->SetColCount(4);
        grid->SetRowCount(7);
    }
    // A radio group over three options a, b, c, owned by the cell.
    void ThreeOptions(Integer ACol, Integer ARow, Integer chosen) {
        TStrings* options = grid->CreateRadio(ACol, ARow, 0, chosen);
        for (const Char* option : {u"a", u"b", u"c"})
            options->Add(option);
    }
    // A cell of a kind none of these operations is for, whose fields they must not touch.
    TCellGraphic* ProgressCell(Integer ACol, Integer ARow) {
        TCellGraphic* graphic = grid->CreateCellGraphic(ACol, ARow);
        graphic->SetCellType(ctProgress);
        graphic->SetCellText(u"%d%%");
        graphic->SetCellBoolean(false);
        graphic->SetCellVar(0);
        graphic->SetCellAngle(7);
        graphic->SetCellIndex(9);
        return graphic;
    }
    std::vector<Integer> CheckedRows(Integer ACol) {
        std::vector<Integer> rows;
        for (Integer r = 0; r < grid->RowCount(); ++r)
            if (grid->IsRadioButtonChecked(ACol, r))
                rows.push_back(r);
        return rows;
    }

    std::unique_ptr<TAdvStringGrid> grid;
};

TEST_F(AdvGridButtonsTest, CycleRadioChoosesTheNextOptionAndWritesIt) {
    struct Case {
        const char* name;
        Integer chosen;
        const char16_t* text;
        Integer chosenAfter;
        const char16_t* textAfter;
    };
    const Case cases[] = {
        {"after the last wraps to the first", 2, u"c", 0, u"a"},
        {"no index: after the option the text names", -1, u"b", 2, u"c"},
        {"no index, text no option: the first", -1, u"zz", 0, u"a"},
        {"choice kept in the text only", -2, u"a", -2, u"b"},
    };
    for (const Case& c : cases) {
        ThreeOptions(1, 1, c.chosen);
        grid->SetCells(1, 1, c.text);
        EXPECT_FALSE(grid->CycleRadio(1, 1, false)) << c.name;
        Integer chosen = 99;
        EXPECT_TRUE(grid->GetRadioIdx(1, 1, chosen)) << c.name;
        EXPECT_EQ(chosen, c.chosenAfter) << c.name;
        EXPECT_EQ(grid->Cells(1, 1), c.textAfter) << c.name;
    }
}

TEST_F(AdvGridButtonsTest, CycleRadioWithoutOptionsOrPermissionChangesNothing) {
    grid->CreateRadio(1, 1, 1, -1);
    grid->SetCells(1, 1, u"keep");
    grid->CycleRadio(1, 1, false);
    EXPECT_EQ(grid->Cells(1, 1), u"keep");

    ThreeOptions(2, 1, 0);
    grid->SetCells(2, 1, u"a");
    grid->OnCanEditCell = [](TObject*, Integer, Integer, bool& CanEdit) { CanEdit = false; };
    grid->CycleRadio(2, 1, true);
    EXPECT_EQ(grid->Cells(2, 1), u"a");
    // Asked only when the click must ask and radio controls are not always active.
    grid->CycleRadio(2, 1, false);
    EXPECT_EQ(grid->Cells(2, 1), u"b");
    grid->ControlLook()->SetRadioAlwaysActive(true);
    grid->CycleRadio(2, 1, true);
    EXPECT_EQ(grid->Cells(2, 1), u"c");
}

TEST_F(AdvGridButtonsTest, RadioGroupsAnswerOnlyForThemselves) {
    // The caller's list stays the caller's when the group goes.
    TStringList options;
    options.Add(u"x");
    options.Add(u"y");
    grid->AddRadio(1, 1, 1, 1, &options);
    EXPECT_TRUE(grid->IsRadio(1, 1));
    EXPECT_EQ(grid->GetRadioStrings(1, 1), &options);
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellAngle(), 2);
    EXPECT_TRUE(grid->GetCellGraphic(1, 1)->CellBoolean()) << "laid out horizontally";
    grid->SetCells(1, 1, u"y");
    EXPECT_TRUE(grid->SetRadioIdx(1, 1, -1));
    EXPECT_EQ(grid->Cells(1, 1), u"");
    grid->RemoveRadio(1, 1);
    EXPECT_FALSE(grid->IsRadio(1, 1));
    EXPECT_EQ(options.Count(), 2);

    TCellGraphic* other = ProgressCell(2, 2);
    grid->SetCells(2, 2, u"text");
    Integer chosen = 99;
    EXPECT_FALSE(grid->GetRadioIdx(2, 2, chosen));
    EXPECT_EQ(chosen, 99);
    EXPECT_FALSE(grid->SetRadioIdx(2, 2, -1));
    EXPECT_EQ(grid->Cells(2, 2), u"text");
    EXPECT_EQ(grid->GetRadioStrings(2, 2), nullptr);
    grid->CycleRadio(2, 2, false);
    grid->RemoveRadio(2, 2);
    EXPECT_EQ(grid->GetCellGraphic(2, 2), other);
    EXPECT_EQ(other->CellIndex(), 9);
}

TEST_F(AdvGridButtonsTest, CheckingARadioButtonUnchecksItsRunOnly) {
    for (Integer r : {1, 2, 4, 5})
        grid->AddRadioButton(1, r, true);
    EXPECT_TRUE(grid->HasRadioButtonGroup(1, 1, rgCol));
    grid->SetRadioButtonState(1, 1, false);
    EXPECT_TRUE(grid->ToggleRadioButton(1, 1, false));
    EXPECT_EQ(CheckedRows(1), (std::vector<Integer>{1, 4, 5})) << "row 3 ends the run";
    EXPECT_TRUE(grid->ToggleRadioButton(1, 2, false));
    EXPECT_EQ(CheckedRows(1), (std::vector<Integer>{2, 4, 5}));

    // Along a row for rgRow; a button of no group leaves its neighbours alone.
    for (Integer c = 0; c < 4; ++c)
        grid->AddRadioButtonGroup(c, 6, rgRow, true);
    grid->SetRadioButtonState(2, 6, false);
    grid->ToggleRadioButton(2, 6, false);
    for (Integer c = 0; c < 4; ++c)
        EXPECT_EQ(grid->IsRadioButtonChecked(c, 6), c == 2) << c;
    grid->AddRadioButtonGroup(3, 6, rgNone, false);
    grid->ToggleRadioButton(3, 6, false);
    EXPECT_TRUE(grid->IsRadioButtonChecked(2, 6));
    EXPECT_TRUE(grid->IsRadioButtonChecked(3, 6));
}

TEST_F(AdvGridButtonsTest, RadioButtonColumnsAndTheirIndex) {
    grid->AddRadioButtonColumn(2);
    EXPECT_FALSE(grid->HasRadioButton(2, 0)) << "fixed rows get none";
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), -1);
    grid->SetRadioButtonState(2, 1, true);
    grid->SetRadioButtonColumnIndex(2, 3);
    EXPECT_EQ(CheckedRows(2), (std::vector<Integer>{3}));
    EXPECT_EQ(grid->GetRadioButtonColumnIndex(2), 3);
    grid->RemoveRadioButtonColumn(2);
    EXPECT_FALSE(grid->HasRadioButton(2, 3));

    grid->AddRadioButtonGroupColumn(3);
    EXPECT_TRUE(grid->HasRadioButtonGroup(3, 2, rgRow));
    EXPECT_FALSE(grid->HasRadioButtonGroup(3, 2, rgCol));

    EXPECT_THROW(grid->AddRadioButton(4, 1, true), Exception);
    EXPECT_THROW(grid->AddRadioButton(1, 7, true), Exception);
    EXPECT_THROW(grid->AddRadioButtonGroup(-1, 1, rgRow, true), Exception);
}

TEST_F(AdvGridButtonsTest, ClicksAskUnlessCheckControlsAreAlwaysActive) {
    grid->AddRadioButton(1, 1, false);
    grid->AddRadioButton(1, 2, true);
    grid->OnCanEditCell = [](TObject*, Integer, Integer, bool& CanEdit) { CanEdit = false; };
    EXPECT_FALSE(grid->ToggleRadioButton(1, 1, true));
    EXPECT_EQ(CheckedRows(1), (std::vector<Integer>{2}));
    grid->AddCheckBox(3, 1, false, false);
    EXPECT_FALSE(grid->ToggleCheck(3, 1, true));
    grid->ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_TRUE(grid->ToggleRadioButton(1, 1, true));
    EXPECT_EQ(CheckedRows(1), (std::vector<Integer>{1}));
    EXPECT_TRUE(grid->ToggleCheck(3, 1, true));
    EXPECT_TRUE(grid->IsChecked(3, 1));

    ProgressCell(2, 1);
    EXPECT_FALSE(grid->ToggleRadioButton(2, 1, false));
    EXPECT_FALSE(grid->SetRadioButtonState(2, 1, true));
    EXPECT_FALSE(grid->GetCellGraphic(2, 1)->CellBoolean());
}

TEST_F(AdvGridButtonsTest, ButtonOperationsActOnButtonsOnly) {
    grid->AddButton(1, 1, 70, 20, u"Go", haCenter, vaCenter);
    EXPECT_TRUE(grid->HasButton(1, 1));
    EXPECT_EQ(grid->GetCellGraphicSize(1, 1), TPoint(70, 20));
    EXPECT_EQ(grid->GetButtonText(1, 1), u"Go");
    grid->SetButtonText(1, 1, u"Stop");
    grid->PushButton(1, 1, true);
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellText(), u"Stop");
    EXPECT_TRUE(grid->GetCellGraphic(1, 1)->CellBoolean());
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellIndex(), (20 << 16) | 70);

    TCellGraphic* other = ProgressCell(2, 1);
    grid->SetButtonText(2, 1, u"Stop");
    grid->PushButton(2, 1, true);
    EXPECT_EQ(grid->GetButtonText(2, 1), u"");
    EXPECT_EQ(other->CellText(), u"%d%%");
    EXPECT_FALSE(other->CellBoolean());

    // The caption accessors take a displayed column.
    grid->HideColumn(0);
    EXPECT_EQ(grid->GetButtonText(0, 1), u"Stop");
    grid->SetButtonText(0, 1, u"Run");
    EXPECT_EQ(grid->GetCellGraphic(1, 1)->CellText(), u"Run");
}

TEST_F(AdvGridButtonsTest, GlyphsBelongToTheCellOnlyWhenItMadeThem) {
    TBitmap callers;
    grid->AddBitButton(1, 1, 20, 20, u"", &callers, haLeft, vaTop);
    TBitmap* made = grid->CreateBitButton(1, 2, 20, 20, u"", haLeft, vaTop);
    ASSERT_NE(made, nullptr);
    made->SetSize(4, 4);
    grid->AddButton(2, 2, 20, 20, u"", haLeft, vaTop);
    EXPECT_TRUE(grid->HasButton(1, 1));

    // RemoveButton takes either kind, RemoveBitButton only its own; the caller's glyph survives.
    grid->RemoveBitButton(2, 2);
    EXPECT_TRUE(grid->HasButton(2, 2));
    grid->RemoveButton(1, 1);
    EXPECT_FALSE(grid->HasButton(1, 1));
    EXPECT_EQ(callers.Width(), 0);
    grid->RemoveAllButtons();
    EXPECT_FALSE(grid->HasButton(1, 2));
    EXPECT_FALSE(grid->HasButton(2, 2));
}

TEST_F(AdvGridButtonsTest, ExpandCellsToggleBetweenTheirHeights) {
    grid->SetRowHeights(2, 30);
    grid->AddExpand(1, 2, 60);
    EXPECT_TRUE(grid->HasExpand(1, 2));
    EXPECT_FALSE(grid->GetExpandState(1, 2));
    EXPECT_TRUE(grid->ToggleExpand(1, 2));
    EXPECT_TRUE(grid->GetExpandState(1, 2));
    // The click gives the row the height of the new state.
    grid->DoExpandClick(1, 2, true);
    EXPECT_EQ(grid->RowHeights(2), 60);
    EXPECT_FALSE(grid->ToggleExpand(1, 2));
    grid->DoExpandClick(1, 2, false);
    EXPECT_EQ(grid->RowHeights(2), 30);
    EXPECT_EQ(grid->GetExpandHeight(1, 2, true), 60);

    const TRect cell = grid->CellRect(1, 2);
    EXPECT_EQ(grid->GetExpandButtonRect(1, 2),
              TRect(cell.Right - 13, cell.Top + 2, cell.Right - 2, cell.Top + 13));
    grid->RemoveExpand(1, 2);
    EXPECT_FALSE(grid->HasExpand(1, 2));
    EXPECT_EQ(grid->GetExpandHeight(1, 2, true), grid->DefaultRowHeight());
}

TEST_F(AdvGridButtonsTest, ExpandAccessorsLeaveOtherKindsAlone) {
    // A radio group keeps its last chosen option where an expand cell keeps its state.
    ThreeOptions(1, 1, 0);
    grid->CycleRadio(1, 1, false);
    TCellGraphic* radio = grid->GetCellGraphic(1, 1);
    ASSERT_EQ(radio->CellVar(), 1);
    TCellGraphic* other = ProgressCell(2, 1);
    for (Integer c : {1, 2, 3}) {
        EXPECT_FALSE(grid->ToggleExpand(c, 1)) << c;
        EXPECT_FALSE(grid->GetExpandState(c, 1)) << c;
        EXPECT_EQ(grid->GetExpandHeight(c, 1, true), grid->DefaultRowHeight()) << c;
        EXPECT_EQ(grid->GetExpandButtonRect(c, 1), TRect(0, 0, 0, 0)) << c;
    }
    EXPECT_EQ(radio->CellVar(), 1);
    EXPECT_EQ(other->CellVar(), 0);
    EXPECT_EQ(other->CellAngle(), 7);
}

} // namespace
