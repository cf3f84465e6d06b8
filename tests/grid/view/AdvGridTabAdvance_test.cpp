// Tests of the Tab advance (directly and through the Tab key) and the navigation routines it shares.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

namespace {

class TabAdvanceTest : public GridKeysTest {
protected:
    void SetUp() override {
        GridKeysTest::SetUp();
        FGrid->SetOptions(FGrid->Options() + TGridOptions{goTabs});
    }
};

TEST_F(TabAdvanceTest, TabMovesThroughTheDataCells) {
    struct Case {
        const char* name;
        TAdvanceDirection direction;
        bool backward;
        TPoint start;
        TPoint expected;
    };
    const Case cases[] = {
        {"right", adLeftRight, false, TPoint(2, 3), TPoint(3, 3)},
        {"row end to the next row", adLeftRight, false, TPoint(5, 3), TPoint(1, 4)},
        {"grid end to the first data row", adLeftRight, false, TPoint(5, 9), TPoint(1, 1)},
        {"back left", adLeftRight, true, TPoint(3, 3), TPoint(2, 3)},
        {"back to the row above", adLeftRight, true, TPoint(1, 3), TPoint(5, 2)},
        {"back from the first cell to the last", adLeftRight, true, TPoint(1, 1), TPoint(5, 9)},
        {"down the column", adTopBottom, false, TPoint(2, 3), TPoint(2, 4)},
        {"column end to the next column", adTopBottom, false, TPoint(2, 9), TPoint(3, 1)},
        {"within the row still goes down", adLeftRightInRow, false, TPoint(2, 3), TPoint(2, 4)},
        {"back up the column", adTopBottom, true, TPoint(2, 3), TPoint(2, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->Navigation()->SetTabAdvanceDirection(c.direction);
        Place(c.start.X, c.start.Y);
        EXPECT_TRUE(FGrid->TabAdvance(c.backward));
        EXPECT_EQ(Current(), c.expected);
    }
}

TEST_F(TabAdvanceTest, TheTabKeyAdvancesAndShiftTabGoesBack) {
    Place(5, 3);
    Press(VK_TAB);
    EXPECT_EQ(Current(), TPoint(1, 4));
    Press(VK_TAB, {ssShift});
    EXPECT_EQ(Current(), TPoint(5, 3));
}

TEST_F(TabAdvanceTest, TheRowChangeAtTheRowEndMayBeRefused) {
    std::vector<std::string> events;
    bool allow = true;
    FGrid->OnRowChanging = [&](TObject*, Integer OldRow, Integer NewRow, bool& Allow) {
        events.push_back("row " + std::to_string(OldRow) + ">" + std::to_string(NewRow));
        Allow = allow;
    };
    FGrid->OnCellChanging = [&](TObject*, Integer, Integer, Integer, Integer NewCol, bool&) {
        events.push_back("cell " + std::to_string(NewCol));
    };
    FGrid->OnColChanging = [&](TObject*, Integer OldCol, Integer NewCol, bool&) {
        events.push_back("col " + std::to_string(OldCol) + ">" + std::to_string(NewCol));
    };
    // Column 5 is read-only to the selection, so Tab from column 4 reaches the row end.
    FGrid->OnSelectCell = [](TObject*, Integer ACol, Integer, bool& CanSelect) {
        if (ACol == 5)
            CanSelect = false;
    };
    Place(4, 3);
    events.clear();
    FGrid->TabAdvance(false);
    EXPECT_EQ(Current(), TPoint(1, 4));
    EXPECT_EQ(events, (std::vector<std::string>{"row 3>4", "cell 1", "col 4>1"}));

    Place(4, 3);
    allow = false;
    events.clear();
    FGrid->TabAdvance(false);
    EXPECT_EQ(Current(), TPoint(4, 3));
    EXPECT_EQ(events, (std::vector<std::string>{"row 3>4"}));
}

TEST_F(TabAdvanceTest, AMergedBlockIsEnteredAtItsBaseCellOnly) {
    FGrid->MergeCells(2, 3, 2, 1);
    Place(1, 3);
    FGrid->TabAdvance(false);
    EXPECT_EQ(Current(), TPoint(2, 3));
    FGrid->TabAdvance(false);
    EXPECT_EQ(Current(), TPoint(4, 3));
    FGrid->TabAdvance(true);
    EXPECT_EQ(Current(), TPoint(2, 3));
}

TEST_F(TabAdvanceTest, AtTheGridEndTheTabGoesToTheNextControl) {
    FGrid->Navigation()->SetTabToNextAtEnd(true);
    Place(5, 9);
    EXPECT_FALSE(FGrid->TabAdvance(false));
    Pump();
    EXPECT_EQ(Current(), TPoint(1, 1));
    EXPECT_TRUE(FEdit->Focused());
}

TEST_F(TabAdvanceTest, AtTheGridEndAdvanceInsertAppendsARow) {
    FGrid->Navigation()->SetAdvanceInsert(true);
    std::vector<Integer> added;
    FGrid->OnAutoAddRow = [&added](TObject*, Integer ARow) { added.push_back(ARow); };
    Place(5, 9);
    FGrid->TabAdvance(false);
    EXPECT_EQ(FGrid->RowCount(), 11);
    EXPECT_EQ(Current(), TPoint(1, 10));
    EXPECT_EQ(added, (std::vector<Integer>{10}));
}

TEST_F(TabAdvanceTest, AnOnKeyDownThatChangesTheTabStopsTheAdvance) {
    FGrid->OnKeyDown = [](TObject*, Word& Key, TShiftState) {
        if (Key == VK_TAB)
            Key = 0;
    };
    Place(2, 3);
    Press(VK_TAB);
    EXPECT_EQ(Current(), TPoint(2, 3));
}

TEST_F(TabAdvanceTest, WithoutAnEditableCellTheAdvanceStaysPut) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    bool editable = true;
    FGrid->OnCanEditCell = [&editable](TObject*, Integer, Integer, bool& CanEdit) { CanEdit = editable; };
    for (bool backward : {false, true}) {
        // The cell is entered while editable: entering a read-only cell would take editing off the grid.
        editable = true;
        Place(3, 4);
        editable = false;
        FGrid->TabAdvance(backward);
        EXPECT_EQ(Current(), TPoint(3, 4));
    }
}

TEST_F(TabAdvanceTest, TabSkipsReadOnlyCellsWhileEditing) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->OnCanEditCell = [](TObject*, Integer ARow, Integer ACol, bool& CanEdit) {
        CanEdit = !(ARow == 3 && (ACol == 3 || ACol == 4));
    };
    Place(2, 3);
    FGrid->TabAdvance(false);
    EXPECT_EQ(Current(), TPoint(5, 3));
}

TEST_F(TabAdvanceTest, SelectableColumnsAndTheLastSelectableCell) {
    FGrid->OnSelectCell = [](TObject*, Integer ACol, Integer ARow, bool& CanSelect) {
        if (ARow == 4 && (ACol == 1 || ACol == 5))
            CanSelect = false;
    };
    EXPECT_EQ(FGrid->FirstSelectableCol(4), 2);
    EXPECT_EQ(FGrid->LastSelectableCol(4), 4);
    EXPECT_EQ(FGrid->FirstSelectableCol(3), 1);
    EXPECT_EQ(FGrid->FindLastSelectableCell(2, 2), TPoint(5, 9));
    // A start outside the data cells answers none at once.
    EXPECT_EQ(FGrid->FindLastSelectableCell(0, 0), TPoint(-1, -1));
    EXPECT_EQ(FGrid->FindLastSelectableCell(2, 12), TPoint(-1, -1));
}

TEST_F(TabAdvanceTest, TheLastDataRowIsAboveTheFooters) {
    FGrid->SetFixedFooters(2);
    Place(2, 7);
    EXPECT_TRUE(FGrid->IsLastDataRow());
    Place(2, 6);
    EXPECT_FALSE(FGrid->IsLastDataRow());
}

} // namespace
