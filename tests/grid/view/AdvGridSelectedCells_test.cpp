// Tests of the selected-cell counts and lists, and of the grid's key-down step: row moving with Ctrl+Up
// and Ctrl+Down, cursor wraps, skipping disabled rows and the search footer's modifier keys.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

namespace {

using SelectedCellsTest = GridKeysTest;

TEST_F(SelectedCellsTest, CellCountRebuildsTheListColumnByColumn) {
    FGrid->SetSelection(TGridRect{2, 3, 4, 4});
    ASSERT_EQ(FGrid->SelectedCellsCount(), 6);
    std::vector<std::pair<Integer, Integer>> cells;
    for (Integer i = 0; i < 6; ++i)
        cells.emplace_back(FGrid->GetSelectedCell(i).X, FGrid->GetSelectedCell(i).Y);
    EXPECT_EQ(cells,
              (std::vector<std::pair<Integer, Integer>>{{2, 3}, {2, 4}, {3, 3}, {3, 4}, {4, 3}, {4, 4}}));
    EXPECT_TRUE(FGrid->SelectedCells(3, 4));
    EXPECT_FALSE(FGrid->SelectedCells(5, 4));
}

TEST_F(SelectedCellsTest, ACellBeyondColumnOrRow65535NeverEntersTheCellList) {
    FGrid->MouseActions()->SetDisjunctCellSelect(true);
    FGrid->SetSelectedCells(2, 3, true);
    FGrid->SetSelectedCells(2, 3, true);
    EXPECT_EQ(FGrid->SelectedCellsCount(), 1) << "a listed cell is not listed twice";
    // 65536 + 2 would share the entry of column 2, and row 65536 + 3 that of row 3.
    FGrid->SetSelectedCells(65536 + 2, 3, true);
    FGrid->SetSelectedCells(2, 65536 + 3, true);
    FGrid->SetSelectedCells(65536 + 2, 3, false);
    EXPECT_EQ(FGrid->SelectedCellsCount(), 1);
    EXPECT_TRUE(FGrid->SelectedCells(2, 3));
    EXPECT_FALSE(FGrid->SelectedCells(65536 + 2, 3));
    const TGridCoord listed = FGrid->GetSelectedCell(0);
    EXPECT_EQ(listed, (TGridCoord{2, 3}));
}

TEST_F(SelectedCellsTest, LargeRowsAndColumnsReadBackUnsigned) {
    FGrid->MouseActions()->SetDisjunctCellSelect(true);
    FGrid->SetSelectedCells(65535, 65535, true);
    EXPECT_EQ(FGrid->GetSelectedCell(0), (TGridCoord{65535, 65535}));
}

TEST_F(SelectedCellsTest, ColumnAndRowCountsFollowMergedCellsAndStopAtTheFooters) {
    FGrid->MergeCells(1, 2, 3, 1);
    FGrid->SetSelection(TGridRect{1, 2, 2, 2});
    EXPECT_EQ(FGrid->SelectedColCount(), 3) << "the merge reaches past the selection";
    FGrid->SetSelection(TGridRect{2, 5, 4, 7});
    EXPECT_EQ(FGrid->SelectedColCount(), 3);
    EXPECT_EQ(FGrid->SelectedRowCount(), 3);

    FGrid->SetFixedFooters(2);
    FGrid->SetSelection(TGridRect{4, 5, 4, 9});
    EXPECT_EQ(FGrid->SelectedRowCount(), 3) << "rows 5 .. 7: 8 and 9 are footers";
}

TEST_F(SelectedCellsTest, SelectedRowsInAscendingOrder) {
    FGrid->SetSelection(TGridRect{2, 3, 2, 6});
    FGrid->SetSelection(TGridRect{2, 6, 2, 3});
    EXPECT_EQ(FGrid->GetSelectedRow(0), 3);
    EXPECT_EQ(FGrid->GetSelectedRow(3), 6);
    EXPECT_EQ(FGrid->GetSelectedRow(4), -1);

    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetRowSelect(7, true);
    FGrid->SetRowSelect(2, true);
    EXPECT_EQ(FGrid->SelectedRowCount(), 2);
    EXPECT_EQ(FGrid->GetSelectedRow(0), 7);
    EXPECT_EQ(FGrid->GetSelectedRow(2), -1);
}

TEST_F(SelectedCellsTest, ClearModifiedRowsUnflagsEveryRow) {
    FGrid->SetRowModified(3, true);
    FGrid->SetRowModified(5, true);
    FGrid->ClearModifiedRows();
    EXPECT_EQ(FGrid->ModifiedRowCount(), 0);
}

TEST_F(SelectedCellsTest, CtrlDownAndUpMoveTheSelectedRows) {
    FGrid->Navigation()->SetCursorMoveRows(true);
    for (Integer r = 1; r < 10; ++r)
        FGrid->SetCells(1, r, u"r" + IntToStr(r));
    Place(2, 3);
    Press(VK_DOWN, {ssCtrl});
    EXPECT_EQ(FGrid->Cells(1, 4), u"r3");
    EXPECT_EQ(FGrid->Cells(1, 3), u"r4");
    EXPECT_EQ(Current(), TPoint(2, 4));
    Press(VK_UP, {ssCtrl});
    EXPECT_EQ(FGrid->Cells(1, 3), u"r3");
    EXPECT_EQ(Current(), TPoint(2, 3));

    // A block moves whole and stays selected over the normal columns.
    FGrid->SetSelection(TGridRect{2, 5, 2, 6});
    Press(VK_DOWN, {ssCtrl});
    EXPECT_EQ(FGrid->Cells(1, 6), u"r5");
    EXPECT_EQ(FGrid->Cells(1, 7), u"r6");
    EXPECT_EQ(FGrid->Cells(1, 5), u"r7");
    const TGridRect selection = FGrid->Selection();
    EXPECT_EQ(std::min(selection.Top, selection.Bottom), 6);
    EXPECT_EQ(std::max(selection.Top, selection.Bottom), 7);
    EXPECT_EQ(std::min(selection.Left, selection.Right), 1);
    EXPECT_EQ(std::max(selection.Left, selection.Right), 5);

    // At the last row nothing moves.
    Place(2, 9);
    Press(VK_DOWN, {ssCtrl});
    EXPECT_EQ(FGrid->Cells(1, 9), u"r9");
    EXPECT_EQ(Current(), TPoint(2, 9));
}

TEST_F(SelectedCellsTest, CursorWrapsAtTheEdges) {
    FGrid->Navigation()->SetSkipFixedCells(false);
    struct Case {
        const char* name;
        TCursorAdvance advance;
        int key;
        Integer fixedFooters;
        TPoint start;
        TPoint expected;
    };
    const Case cases[] = {
        {"left loops", caLoop, VK_LEFT, 0, TPoint(1, 4), TPoint(5, 4)},
        {"left snakes up", caSnake, VK_LEFT, 0, TPoint(1, 4), TPoint(5, 3)},
        {"up loops", caLoop, VK_UP, 0, TPoint(3, 1), TPoint(3, 9)},
        {"up snakes left", caSnake, VK_UP, 0, TPoint(3, 1), TPoint(2, 9)},
        {"right loops", caLoop, VK_RIGHT, 0, TPoint(5, 4), TPoint(1, 4)},
        {"right snakes down", caSnake, VK_RIGHT, 0, TPoint(5, 4), TPoint(1, 5)},
        {"down loops", caLoop, VK_DOWN, 0, TPoint(3, 9), TPoint(3, 1)},
        {"down snakes right", caSnake, VK_DOWN, 0, TPoint(3, 9), TPoint(4, 1)},
        // Skipping fixed cells (on by default) keeps the cursor out of the footer; without it the cursor
        // wraps from the last normal row as it does from the last row.
        {"down loops above the footer", caLoop, VK_DOWN, 1, TPoint(3, 8), TPoint(3, 1)},
        {"no wrap by default", caDefault, VK_RIGHT, 0, TPoint(5, 4), TPoint(5, 4)},
        {"inside the grid a plain move", caLoop, VK_RIGHT, 0, TPoint(2, 4), TPoint(3, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->Navigation()->SetCursorAdvance(c.advance);
        FGrid->SetFixedFooters(c.fixedFooters);
        Place(c.start.X, c.start.Y);
        Press(c.key);
        EXPECT_EQ(Current(), c.expected);
    }
}

TEST_F(SelectedCellsTest, DisabledRowsAreSkipped) {
    FGrid->Navigation()->SetSkipDisabledRows(true);
    FGrid->SetRowEnabled(4, false);
    FGrid->SetRowEnabled(5, false);
    // The cell selection refuses the disabled rows, so the base step stays where it was.
    FGrid->OnSelectCell = [this](TObject*, Integer, Integer ARow, bool& CanSelect) {
        CanSelect = FGrid->RowEnabled(ARow);
    };
    Place(2, 3);
    Press(VK_DOWN);
    EXPECT_EQ(FGrid->Row(), 6);
    Press(VK_UP);
    EXPECT_EQ(FGrid->Row(), 3);
}

TEST_F(SelectedCellsTest, ModifierKeysOnTheLastRowDoNothingWhileTheSearchFooterShows) {
    FGrid->SearchFooter()->SetVisible(true);
    Pump();
    Place(2, 9);
    LogKeyDown();
    std::vector<std::string> all;
    FGrid->OnKeyDown = [&all](TObject*, Word& key, TShiftState) { all.push_back(std::to_string(key)); };
    Press(VK_SHIFT);
    Press(VK_CONTROL);
    EXPECT_TRUE(all.empty());
    EXPECT_EQ(Current(), TPoint(2, 9));
}

} // namespace
