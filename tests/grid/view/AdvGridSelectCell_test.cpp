// Tests of the cell selection: merged blocks, the changing events' shared Allow, disabled rows, the
// row-changed event, editing switched per cell and a refused validation keeping the cell.
#include <string>
#include <vector>

#include "tests/grid/view/GridEditTesting.h"

namespace {

using namespace gridedit_fixtures;
using SelectCellTest = EditTest;

TEST_F(SelectCellTest, ANonBaseCellOfAMergedBlockMakesTheBaseCurrent) {
    grid->SetOptions(grid->Options() - TGridOptions{goRangeSelect});
    grid->MergeCells(2, 2, 2, 2);
    EXPECT_FALSE(grid->SelectCell(3, 3));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    // With DirectEdit the base cell's editor opens at once.
    grid->SetRow(5);
    grid->MouseActions()->SetDirectEdit(true);
    EXPECT_FALSE(grid->SelectCell(3, 2));
    Pump();
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_TRUE(EditorShown());
}

TEST_F(SelectCellTest, TheChangingEventsShareOneAllow) {
    std::vector<std::string> seen;
    bool rowAllows = false;
    grid->OnRowChanging = [&](TObject*, Integer oldRow, Integer newRow, bool& allow) {
        seen.push_back("row " + std::to_string(oldRow) + ">" + std::to_string(newRow));
        allow = rowAllows;
    };
    grid->OnColChanging = [&](TObject*, Integer, Integer, bool& allow) {
        seen.push_back(allow ? "col allowed" : "col refused");
    };
    grid->OnCellChanging = [&](TObject*, Integer, Integer, Integer, Integer, bool& allow) {
        seen.push_back(allow ? "cell allowed" : "cell refused");
    };
    grid->SetCol(1);
    grid->SetRow(1);
    seen.clear();
    grid->SetRow(3);
    grid->SetCol(2);
    EXPECT_EQ(grid->Row(), 1) << "the row's veto holds";
    EXPECT_EQ(grid->Col(), 2) << "a column change alone asks no row handler";
    EXPECT_FALSE(grid->SelectCell(3, 4));
    EXPECT_EQ(seen, (std::vector<std::string>{"row 1>3", "cell refused", "col allowed", "cell allowed",
                                              "row 1>4", "col refused", "cell refused"}));
    rowAllows = true;
    EXPECT_TRUE(grid->SelectCell(3, 4));
}

TEST_F(SelectCellTest, AFixedTargetIsTakenOnlyWithRowSelect) {
    grid->SetFixedRightCols(1);
    EXPECT_FALSE(grid->SelectCell(5, 2));
    grid->SetOptions(grid->Options() + TGridOptions{goRowSelect});
    EXPECT_TRUE(grid->SelectCell(5, 2));
}

TEST_F(SelectCellTest, DisabledRowsAreSkippedOnlyWithBothSwitches) {
    grid->SetRowEnabled(4, false);
    grid->Navigation()->SetSkipDisabledRows(false);
    EXPECT_TRUE(grid->SelectCell(2, 4)) << "SkipDisabledRows off";
    grid->Navigation()->SetSkipDisabledRows(true);
    EXPECT_FALSE(grid->SelectCell(2, 4));
    EXPECT_TRUE(grid->SelectCell(2, 5));
}

TEST_F(SelectCellTest, RowChangedFiresOncePerRowWithThePreviousReportedRow) {
    std::vector<std::pair<Integer, Integer>> fired;
    grid->OnRowChanged = [&](TObject*, Integer oldRow, Integer newRow) {
        fired.emplace_back(oldRow, newRow);
    };
    grid->SetRow(3);
    grid->SetCol(3);
    grid->SetRow(5);
    Press(VK_DOWN);
    EXPECT_EQ(fired, (std::vector<std::pair<Integer, Integer>>{{-1, 3}, {3, 5}, {5, 6}}));
}

TEST_F(SelectCellTest, EditOnDblClickOnlyTakesEditingOffTheSelectedCell) {
    grid->MouseActions()->SetEditOnDblClickOnly(true);
    grid->SetRow(3);
    EXPECT_FALSE(grid->Options().Contains(goEditing));
    grid->SetRow(4);
    EXPECT_FALSE(grid->Options().Contains(goEditing)) << "selecting never turns it on";
    // The grid switches editing back on for an editable cell only without that setting.
    grid->MouseActions()->SetEditOnDblClickOnly(false);
    grid->SetRow(5);
    EXPECT_TRUE(grid->Options().Contains(goEditing));
}

TEST_F(SelectCellTest, ARefusedValidationKeepsTheCellAndItsCache) {
    // A kind without an editor of its own keeps the edit open through the cell selection.
    grid->OnGetEditorType = [](TObject*, Integer, Integer, TEditorType& kind) { kind = edDataCheckBox; };
    grid->SetCells(2, 2, u"before");
    EditAt(2, 2);
    ASSERT_TRUE(grid->EditMode());
    grid->SetCells(2, 2, u"typed");
    bool accept = false;
    grid->OnCellValidate = [&](TObject*, Integer, Integer, String&, bool& valid) { valid = accept; };
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 2);
    grid->RestoreCellCache();
    EXPECT_EQ(grid->Cells(2, 2), u"before") << "the cache still holds the text the cell was entered with";
    grid->SetCells(2, 2, u"typed");
    accept = true;
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Cells(2, 2), u"typed");
}

TEST_F(SelectCellTest, TheFloatingFooterRowIsNeverCurrentAndTheTargetStaysAboveTheFooter) {
    grid->SetRowCount(30);
    grid->FloatingFooter()->SetVisible(true);
    ASSERT_EQ(grid->FloatingFooter()->FooterStyle(), fsFixedLastRow);
    EXPECT_FALSE(grid->SelectCell(2, grid->RowCount() - 1));
    grid->SetRow(20);
    EXPECT_EQ(grid->Row(), 20);
    const Integer footerTop = grid->ClientHeight() - grid->FloatingFooter()->Height() + 2;
    EXPECT_LE(grid->CellRect(2, 20).Bottom, footerTop);
    EXPECT_GT(grid->TopRow(), 1);
}

} // namespace
