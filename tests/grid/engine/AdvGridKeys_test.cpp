// Tests of the full string grid's Enter advance and key presses on a shown grid: the advance order in
// every direction, its events, the skipping of cells that may not be entered (a loop, also over a grid of
// a million read-only cells), the click of a click-control cell through the window procedure, Escape and
// Enter through WM_CHAR, and the fixed-cell editors' change handlers.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/grid/engine/AdvGridWndProcTesting.h"

#include "platform/framework/StdCtrls.h"
#include "platform/framework/StdLists.h"
#include "platform/rtl/UString.h"

namespace {

// A 4 x 4 block of data cells, (1, 1) to (4, 4), with goEditing on and AdvanceOnEnter; looping, skipping
// read-only cells and automatic editing, on by default, start off.
class AdvGridAdvanceTest : public WndProcTest {
protected:
    void SetUp() override {
        WndProcTest::SetUp();
        FGrid->SetColCount(5);
        FGrid->SetRowCount(5);
        FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
        TNavigation* navigation = FGrid->Navigation();
        navigation->SetAdvanceOnEnter(true);
        navigation->SetAdvanceOnEnterLoop(false);
        navigation->SetAdvanceSkipReadOnlyCells(false);
        navigation->SetAdvanceAutoEdit(false);
    }
    void Start(Integer col, Integer row) {
        FGrid->SetCol(col);
        FGrid->SetRow(row);
    }
    TPoint Current() const { return TPoint(FGrid->Col(), FGrid->Row()); }
    void Advance(bool forward = true, bool showEditor = false) {
        FGrid->AdvanceCell(FGrid->Col(), FGrid->Row(), showEditor, false, forward, false, false);
    }
};

TEST_F(AdvGridAdvanceTest, EnterMovesInTheAdvanceOrder) {
    struct Case {
        const char* name;
        TAdvanceDirection direction;
        bool forward;
        bool loop;
        bool insert;
        bool canAdd;
        TPoint start;
        TPoint expected;
        Integer cols, rows; // the counts afterwards
    };
    const Case cases[] = {
        {"right", adLeftRight, true, false, false, true, TPoint(2, 2), TPoint(3, 2), 5, 5},
        {"row end to the next row", adLeftRight, true, false, false, true, TPoint(4, 2), TPoint(1, 3), 5, 5},
        {"grid end stays", adLeftRight, true, false, false, true, TPoint(4, 4), TPoint(4, 4), 5, 5},
        {"grid end loops", adLeftRight, true, true, false, true, TPoint(4, 4), TPoint(1, 1), 5, 5},
        {"grid end adds a row", adLeftRight, true, false, true, true, TPoint(4, 4), TPoint(1, 5), 5, 6},
        {"adding refused", adLeftRight, true, false, true, false, TPoint(4, 4), TPoint(1, 4), 5, 5},
        {"row end within the row stays", adLeftRightInRow, true, false, false, true, TPoint(4, 2),
         TPoint(4, 2), 5, 5},
        {"row end within the row loops", adLeftRightInRow, true, true, false, true, TPoint(4, 2),
         TPoint(1, 2), 5, 5},
        {"down", adTopBottom, true, false, false, true, TPoint(2, 2), TPoint(2, 3), 5, 5},
        {"column end to the next column", adTopBottom, true, false, false, true, TPoint(2, 4), TPoint(3, 1),
         5, 5},
        {"grid end back to the start", adTopBottom, true, false, false, true, TPoint(4, 4), TPoint(1, 1), 5,
         5},
        {"grid end adds a column", adTopBottom, true, false, true, true, TPoint(4, 4), TPoint(5, 1), 6, 5},
        {"column end within the column stays", adTopBottomInCol, true, false, false, true, TPoint(2, 4),
         TPoint(2, 4), 5, 5},
        {"column end within the column loops", adTopBottomInCol, true, true, false, true, TPoint(2, 4),
         TPoint(2, 1), 5, 5},
        {"column end adds a row", adTopBottomInCol, true, false, true, true, TPoint(2, 4), TPoint(2, 5), 5,
         6},
        {"back left", adLeftRight, false, false, false, true, TPoint(3, 2), TPoint(2, 2), 5, 5},
        {"back to the row above", adLeftRight, false, false, false, true, TPoint(1, 2), TPoint(4, 1), 5, 5},
        {"back from the first cell", adLeftRight, false, false, false, true, TPoint(1, 1), TPoint(4, 4), 5,
         5},
        {"back up", adTopBottom, false, false, false, true, TPoint(2, 3), TPoint(2, 2), 5, 5},
        {"back to the column left", adTopBottom, false, false, false, true, TPoint(2, 1), TPoint(1, 4), 5, 5},
        {"back from the first cell, column-wise", adTopBottom, false, false, false, true, TPoint(1, 1),
         TPoint(4, 4), 5, 5},
        {"no way back within the column", adTopBottomInCol, false, false, false, true, TPoint(2, 3),
         TPoint(2, 3), 5, 5},
    };
    std::vector<Integer> insertedCols;
    FGrid->OnAutoInsertCol = [&](TObject*, Integer col) { insertedCols.push_back(col); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->SetColCount(5);
        FGrid->SetRowCount(5);
        TNavigation* navigation = FGrid->Navigation();
        navigation->SetAdvanceDirection(c.direction);
        navigation->SetAdvanceOnEnterLoop(c.loop);
        navigation->SetAdvanceInsert(c.insert);
        bool asked = false;
        FGrid->OnCanAddRow = [&](TObject*, bool& canAdd) {
            asked = true;
            canAdd = c.canAdd;
        };
        FGrid->OnCanAddCol = FGrid->OnCanAddRow;
        Start(c.start.X, c.start.Y);
        Advance(c.forward);
        EXPECT_EQ(Current(), c.expected);
        EXPECT_EQ(FGrid->ColCount(), c.cols);
        EXPECT_EQ(FGrid->RowCount(), c.rows);
        EXPECT_EQ(asked, c.insert);
    }
    EXPECT_EQ(insertedCols, (std::vector<Integer>{5}));
}

TEST_F(AdvGridAdvanceTest, AMergedBlockIsPassedWholeAndNothingMovesWithoutAdvanceOnEnter) {
    FGrid->MergeCells(1, 2, 2, 1);
    Start(1, 2);
    Advance();
    EXPECT_EQ(Current(), TPoint(3, 2));
    FGrid->Navigation()->SetAdvanceOnEnter(false);
    Advance();
    EXPECT_EQ(Current(), TPoint(3, 2));
    FGrid->AdvanceCell(3, 2, false, false, true, false, true);
    EXPECT_EQ(Current(), TPoint(4, 2)) << "Always advances all the same";
}

TEST_F(AdvGridAdvanceTest, TheEventsMayMoveOrRefuseTheTarget) {
    std::vector<std::string> events;
    bool refuseAdvance = false;
    bool refuseChange = false;
    FGrid->OnAutoAdvance = [&](TObject*, Integer oldRow, Integer oldCol, Integer& newRow, Integer& newCol,
                               bool& allow) {
        events.push_back("advance " + std::to_string(oldCol) + "," + std::to_string(oldRow) + " to " +
                         std::to_string(newCol) + "," + std::to_string(newRow));
        if (refuseAdvance)
            allow = false;
        else if (newCol == 3)
            newRow = 4;
    };
    FGrid->OnCellChanging = [&](TObject*, Integer oldRow, Integer oldCol, Integer newRow, Integer newCol,
                                bool& allow) {
        events.push_back("changing " + std::to_string(oldCol) + "," + std::to_string(oldRow) + " to " +
                         std::to_string(newCol) + "," + std::to_string(newRow));
        allow = !refuseChange;
    };
    Start(2, 2);
    // Making the start cell current asks the cell selection's changing event too.
    events.clear();
    Advance();
    EXPECT_EQ(Current(), TPoint(3, 4)) << "the handler moved the target";
    refuseAdvance = true;
    Advance();
    EXPECT_EQ(Current(), TPoint(3, 4));
    refuseAdvance = false;
    refuseChange = true;
    Advance();
    EXPECT_EQ(Current(), TPoint(3, 4));
    EXPECT_EQ(events,
              (std::vector<std::string>{"advance 2,2 to 3,2", "changing 2,2 to 3,4", "advance 3,4 to 4,4",
                                        "advance 3,4 to 4,4", "changing 3,4 to 4,4"}));
}

TEST_F(AdvGridAdvanceTest, CellsThatMayNotBeEnteredAreSkippedOrEnteredAnyway) {
    FGrid->SetReadOnly(2, 2, true);
    FGrid->SetReadOnly(3, 2, true);
    FGrid->Navigation()->SetAdvanceSkipReadOnlyCells(true);
    Start(1, 2);
    Advance();
    EXPECT_EQ(Current(), TPoint(4, 2));
    // Without skipping, the next cell becomes current anyway.
    FGrid->Navigation()->SetAdvanceSkipReadOnlyCells(false);
    Start(1, 2);
    Advance();
    EXPECT_EQ(Current(), TPoint(2, 2));
    // When nothing selectable follows, the advance stops where it is.
    for (Integer c = 1; c <= 4; ++c)
        FGrid->SetReadOnly(c, 4, true);
    Start(4, 3);
    Advance();
    EXPECT_EQ(Current(), TPoint(4, 3));
}

TEST_F(AdvGridAdvanceTest, AnAllReadOnlyGridStopsAfterOneFullCircle) {
    std::vector<TPoint> asked;
    FGrid->OnCanEditCell = [&](TObject*, Integer row, Integer col, bool& canEdit) {
        asked.emplace_back(col, row);
        canEdit = false;
    };
    FGrid->Navigation()->SetAdvanceSkipReadOnlyCells(true);
    FGrid->Navigation()->SetAdvanceOnEnterLoop(true);
    Start(2, 3);
    asked.clear();
    Advance();
    EXPECT_EQ(Current(), TPoint(2, 3));
    // Every data cell once, in the advance order, ending at the start.
    ASSERT_EQ(asked.size(), 16u);
    EXPECT_EQ(asked.front(), TPoint(3, 3));
    EXPECT_EQ(asked[2], TPoint(1, 4));
    EXPECT_EQ(asked.back(), TPoint(2, 3));
}

// A grid of its own, without a window: a million read-only data cells.
TEST(AdvGridAdvanceLargeTest, AMillionReadOnlyCellsAreWalkedWithoutRecursion) {
    TAdvStringGrid grid(nullptr);
    grid.SetColCount(1001);
    grid.SetRowCount(1001);
    grid.SetOptions(grid.Options() + TGridOptions{goEditing});
    grid.Navigation()->SetAdvanceOnEnter(true);
    grid.Navigation()->SetAdvanceSkipReadOnlyCells(true);
    grid.Navigation()->SetAdvanceOnEnterLoop(true);
    std::int64_t asked = 0;
    Integer editable = -1; // the row whose last cell may be entered
    grid.OnCanEditCell = [&](TObject*, Integer, Integer, bool& canEdit) {
        ++asked;
        canEdit = false;
    };
    grid.SetCol(5);
    grid.SetRow(5);
    grid.AdvanceCell(5, 5, false, false, true, false, false);
    EXPECT_EQ(grid.Col(), 5);
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(asked, std::int64_t{1000} * 1000) << "each data cell once, the full circle";

    // Without looping, the cells between the start and the last enterable cell cost one walk of the grid
    // to find that cell, not one walk per cell passed.
    grid.Navigation()->SetAdvanceOnEnterLoop(false);
    grid.SetColCount(301);
    grid.SetRowCount(301);
    editable = 290;
    std::int64_t selectable = 0;
    grid.OnSelectCell = [&](TObject*, Integer, Integer, bool&) { ++selectable; };
    grid.OnCanEditCell = [&](TObject*, Integer row, Integer col, bool& canEdit) {
        canEdit = row == editable && col == 300;
    };
    grid.AdvanceCell(5, 5, false, false, true, false, false);
    EXPECT_EQ(grid.Col(), 300);
    EXPECT_EQ(grid.Row(), 290);
    EXPECT_LT(selectable, std::int64_t{300} * 300 + 100);
}

TEST_F(AdvGridAdvanceTest, AClickControlTargetIsClickedThroughTheWindowProcedure) {
    FGrid->AddCheckBox(3, 2, false, false);
    std::vector<std::string> mouse;
    FGrid->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, Integer x, Integer y) {
        mouse.push_back("down " + std::to_string(button == mbLeft) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    };
    FGrid->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
        mouse.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    std::vector<TPoint> changing;
    FGrid->OnCellChanging = [&](TObject*, Integer oldRow, Integer oldCol, Integer newRow, Integer newCol,
                                bool&) {
        changing.emplace_back(oldCol, oldRow);
        changing.emplace_back(newCol, newRow);
    };
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetRowSelect(4, true);
    Start(2, 2);
    changing.clear();
    Advance(true, true);
    const TRect cell = FGrid->CellRect(3, 2);
    const std::string at = std::to_string(cell.Left + 2) + "," + std::to_string(cell.Top + 2);
    EXPECT_EQ(mouse, (std::vector<std::string>{"down 1 " + at, "up " + at}));
    EXPECT_EQ(Current(), TPoint(3, 2));
    // Asked when entering and told again after the click.
    EXPECT_EQ(changing, (std::vector<TPoint>{TPoint(2, 2), TPoint(3, 2), TPoint(2, 2), TPoint(3, 2)}));
    EXPECT_FALSE(FGrid->EditMode()) << "the cell advanced from edits text, but a check box has no editor";
    EXPECT_EQ(FGrid->RowSelectCount(), 1);
    EXPECT_TRUE(FGrid->RowSelect(2)) << "the row selection is the current row alone";
}

TEST_F(AdvGridAdvanceTest, ACellControlTargetTakesTheFocusAndTheOriginStaysCurrent) {
    auto* edit = new TEdit(FForm);
    FGrid->SetCellControls(3, 2, edit);
    Pump();
    Start(2, 2);
    Advance(true, true);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(Current(), TPoint(2, 2));
}

TEST_F(AdvGridAdvanceTest, AutoEditStartsTheEditorOnTheTarget) {
    FGrid->Navigation()->SetAdvanceAutoEdit(true);
    FGrid->SetCells(3, 2, u"target");
    Start(2, 2);
    FGrid->AdvanceCell(2, 2, true, false, true, true, false);
    EXPECT_EQ(Current(), TPoint(3, 2));
    ASSERT_TRUE(FGrid->EditMode());
    EXPECT_EQ(FGrid->InplaceEditor()->Text(), u"target");
    // Enter in the editor ends the edit and advances.
    FGrid->DoneInplaceEdit(VK_RETURN, TShiftState{});
    EXPECT_EQ(Current(), TPoint(4, 2));
}

// ---- Key presses

TEST_F(AdvGridAdvanceTest, EscapePutsBackTheTextTheCellHadBeforeTheEdit) {
    FGrid->SetCells(2, 3, u"before");
    Start(2, 3);
    FGrid->ShowInplaceEdit();
    ASSERT_TRUE(FGrid->EditMode());
    win32::input::PressKey(VK_END);
    win32::input::TypeCharacter(u'!');
    Pump();
    ASSERT_EQ(FGrid->Cells(2, 3), u"before!");
    std::vector<Char> heard;
    FGrid->OnKeyPress = [&](TObject*, Char& key) { heard.push_back(key); };
    SendMessageW(FGrid->WindowHandle(), WM_CHAR, 27, 0);
    EXPECT_EQ(FGrid->Cells(2, 3), u"before");
    EXPECT_EQ(heard, (std::vector<Char>{27}));
}

TEST_F(AdvGridAdvanceTest, EnterAdvancesWhenTheGridHasNoFocus) {
    auto* other = new TEdit(FForm);
    other->SetParent(FForm);
    other->SetBounds(0, 320, 100, 20);
    Pump();
    std::vector<Char> heard;
    FGrid->OnKeyPress = [&](TObject*, Char& key) { heard.push_back(key); };
    Start(2, 3);
    other->SetFocus();
    Pump();
    SendMessageW(FGrid->WindowHandle(), WM_CHAR, 13, 0);
    EXPECT_EQ(Current(), TPoint(3, 3));
    EXPECT_TRUE(FGrid->Focused());
    EXPECT_EQ(heard, (std::vector<Char>{13}));

    // Without AdvanceOnEnter, Enter on a cell that may not be edited is only heard.
    FGrid->Navigation()->SetAdvanceOnEnter(false);
    FGrid->SetReadOnly(3, 3, true);
    heard.clear();
    SendMessageW(FGrid->WindowHandle(), WM_CHAR, 13, 0);
    EXPECT_EQ(Current(), TPoint(3, 3));
    EXPECT_FALSE(FGrid->EditMode());
    EXPECT_EQ(heard, (std::vector<Char>{13}));
}

// ---- Fixed-cell editors and form controls

TEST_F(AdvGridAdvanceTest, FixedCellEditorsReportTheirChanges) {
    std::vector<std::string> changes;
    FGrid->OnEditChange = [&](TObject*, Integer col, Integer row, const String& value) {
        changes.push_back(std::to_string(col) + "," + std::to_string(row) + " " + StringToUtf8(value));
    };
    FGrid->OnComboChange = [&](TObject*, Integer col, Integer row, Integer index, const String& selection) {
        changes.push_back(std::to_string(col) + "," + std::to_string(row) + " #" + std::to_string(index) +
                          " " + StringToUtf8(selection));
    };
    auto* edit = new TEdit(FForm);
    edit->SetParent(FForm);
    edit->SetText(u"header");
    auto* combo = new TComboBox(FForm);
    combo->SetParent(FForm);
    combo->Items()->Add(u"first");
    combo->Items()->Add(u"second");
    FGrid->FixedEditChange(edit);
    combo->SetItemIndex(1);
    FGrid->FixedComboSelect(combo);
    combo->SetItemIndex(-1);
    FGrid->FixedComboSelect(combo);
    EXPECT_EQ(changes, (std::vector<std::string>{"-1,-1 header", "-1,-1 #1 second", "-1,-1 #-1 "}));
}

TEST_F(AdvGridAdvanceTest, WithoutAFurtherFormControlTheGridTakesTheFocus) {
    auto* other = new TEdit(FForm);
    other->SetParent(FForm);
    other->SetBounds(0, 320, 100, 20);
    Pump();
    other->SetFocus();
    Pump();
    FGrid->SetCells(2, 2, u"<CONTROL TYPE=\"EDIT\" ID=\"a\" VALUE=\"x\">");
    FGrid->EditHTMLControl(2, 2, u"a");
    EXPECT_TRUE(FGrid->Focused());
}

} // namespace
