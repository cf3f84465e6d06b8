// Tests of the grid's mouse moves and drags: what a press would do and its cursor, hovered fixed cells,
// links entered and left, the drag threshold, whole-row selection drags, sizing events, moved columns
// and rows, and the drag auto-scroll on the clock.
#include "tests/grid/view/GridMouseTesting.h"

#include "platform/framework/StdScroll.h"

namespace {

using gridmouse_fixtures::GridMouseTest;
using gridmouse_fixtures::TMouseGrid;
using Strings = std::vector<std::string>;

HCURSOR GridCursor(int number) {
    return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number));
}

class GridMoveTest : public GridMouseTest {
protected:
    // The cursor the window shows once the mouse rests at p (the second move sees the first one's mode).
    HCURSOR CursorAt(TPoint p) {
        MoveTo(p);
        MoveTo(p);
        return GetCursor();
    }
};

// The header cells choose the select modes and their cursors; the cursors have their hot spots.
TEST_F(GridMoveTest, HeadersChooseSelectModesAndCursors) {
    grid->MouseActions()->SetAllSelect(true);
    grid->MouseActions()->SetColSelect(true);
    grid->MouseActions()->SetRowSelect(true);
    const struct {
        const char* name;
        TPoint at;
        TMouseSelectMode mode;
        int cursor;
    } cases[] = {
        {"corner", Centre(0, 0), msAll, 8012},
        {"column header", Centre(2, 0), msColumn, 8011},
        {"row header", Centre(0, 3), msRow, 8010},
        {"cell", Centre(2, 3), msNormal, 0},
    };
    for (const auto& c : cases) {
        const HCURSOR cursor = CursorAt(c.at);
        EXPECT_EQ(grid->MouseSelectMode(), c.mode) << c.name;
        if (c.cursor != 0) {
            EXPECT_EQ(cursor, GridCursor(c.cursor)) << c.name;
        }
    }
    const struct {
        int number;
        DWORD x;
        DWORD y;
    } spots[] = {{8010, 26, 16}, {8011, 13, 26}, {8012, 16, 16}, {8014, 16, 16}};
    for (const auto& s : spots) {
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(GridCursor(s.number), &info)) << s.number;
        EXPECT_EQ(info.xHotspot, s.x) << s.number;
        EXPECT_EQ(info.yHotspot, s.y) << s.number;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

// A click on a column header selects the column, a drag over the row headers selects rows.
TEST_F(GridMoveTest, HeaderPressesSelectColumnsAndRowDragsExtend) {
    grid->MouseActions()->SetColSelect(true);
    grid->MouseActions()->SetRowSelect(true);
    MoveTo(Centre(3, 0));
    Click(Centre(3, 0));
    EXPECT_EQ(grid->Selection(), (TGridRect{3, 1, 3, 7}));
    MoveTo(Centre(0, 2));
    Down(Centre(0, 2));
    MoveTo(Centre(0, 5));
    Up(Centre(0, 5));
    EXPECT_EQ(grid->Selection(), (TGridRect{1, 2, 5, 5}));
}

// A fixed cell follows the mouse as HoverFixedCells says, and clears when the mouse leaves.
TEST_F(GridMoveTest, HoveredFixedCellFollowsTheMouse) {
    grid->SetHoverFixedCells(hfFixedRows);
    MoveTo(Centre(2, 0));
    EXPECT_EQ(grid->HoverFixedX(), 2);
    EXPECT_TRUE(grid->IsHoverFixedCell(2, 0));
    EXPECT_FALSE(grid->IsHoverFixedCell(0, 3));
    MoveTo(Centre(3, 4));
    EXPECT_EQ(grid->HoverFixedX(), 3) << "the record follows every cell; painting asks IsHoverFixedCell";
    MoveTo(Centre(2, 0));
    MoveTo(TPoint(350, 250)); // on the form, off the grid
    EXPECT_EQ(grid->HoverFixedX(), -1);
    grid->ResetFixedCellHighlight();
    EXPECT_EQ(grid->HoverFixedY(), -1);
}

// The in-cell scroll bar stands at the right edge of the hovered cell that has one, with the cell's
// range and position, and goes when the mouse moves to a cell without one.
TEST_F(GridMoveTest, InCellScrollBarFollowsTheHoveredCell) {
    grid->SetRowHeights(2, 40);
    grid->AddScrollBar(3, 2, false);
    grid->SetScrollProp(3, 2, TScrollProp{5, 20});
    grid->SetScrollPosition(3, 2, 7);
    MoveTo(Centre(3, 2));
    const TRect r = grid->CellRect(3, 2);
    TScrollBar* shown = nullptr;
    for (Integer i = 0; i < grid->ControlCount(); ++i)
        if (auto* candidate = dynamic_cast<TScrollBar*>(grid->Controls(i));
            candidate != nullptr && candidate->Visible())
            shown = candidate;
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Left(), r.Right - 17 - 1);
    EXPECT_EQ(shown->Top(), r.Top + 1);
    EXPECT_EQ(shown->Max(), 20);
    EXPECT_EQ(shown->Position(), 7);
    MoveTo(Centre(2, 4));
    EXPECT_FALSE(shown->Visible());
}

// Moving over a link of a mini-HTML cell enters it once with its hint, and leaving reports the anchor
// left; the link cursor shows meanwhile.
TEST_F(GridMoveTest, AnchorsAreEnteredAndLeft) {
    grid->SetCells(2, 2, u"<a href=\"first\" title=\"tip\">one</a>");
    Strings events;
    grid->OnAnchorEnter = [&](TObject*, Integer, Integer, const String& a) {
        events.push_back("enter " + StringToUtf8(a));
    };
    grid->OnAnchorExit = [&](TObject*, Integer, Integer, const String& a) {
        events.push_back("exit " + StringToUtf8(a));
    };
    grid->OnAnchorHint = [&](TObject*, Integer, Integer, String& a) {
        events.push_back("hint " + StringToUtf8(a));
    };
    MoveTo(At(2, 2, 6, 10));
    MoveTo(At(2, 2, 7, 10));
    EXPECT_EQ(grid->Cursor(), crHandPoint);
    MoveTo(Centre(4, 5));
    EXPECT_EQ(events, (Strings{"hint tip", "enter first", "hint tip", "exit first"}));
    EXPECT_EQ(grid->Cursor(), crDefault);
}

// A press on the selection becomes a drag only after more than 3 pixels; until the cell drag is built
// the drag goes on as a range selection.
TEST_F(GridMoveTest, DragThresholdIsFourPixels) {
    grid->DragDropSettings()->SetOleDropSource(true);
    const TPoint p = Centre(2, 3);
    Click(p);
    Down(p);
    MoveTo(TPoint(p.X + 3, p.Y + 3));
    EXPECT_EQ(grid->GridState(), gsNormal);
    MoveTo(TPoint(p.X + 4, p.Y));
    EXPECT_EQ(grid->GridState(), gsSelecting);
    Up(TPoint(p.X + 4, p.Y));
    EXPECT_EQ(grid->GridState(), gsNormal);
}

// Sizing a column reports the width it would get while the mouse moves.
TEST_F(GridMoveTest, ColumnSizingReportsTheWidth) {
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
    std::vector<Integer> sizes;
    grid->OnColumnSizing = [&](TObject*, Integer col, Integer size) {
        if (col == 2)
            sizes.push_back(size);
    };
    const TRect r = grid->CellRect(2, 0);
    Down(TPoint(r.Right, 10));
    MoveTo(TPoint(r.Right + 10, 10));
    Up(TPoint(r.Right + 10, 10));
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), 50);
    EXPECT_EQ(grid->ColWidths(2), 50);
}

// With HintShowSizing the sizing hint carries the width the column would get, and goes with the release.
TEST_F(GridMoveTest, SizingHintShowsTheWidth) {
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
    grid->SetHintShowSizing(true);
    THTMLHintWindow* hint = nullptr;
    for (Integer i = 0; i < grid->ComponentCount(); ++i)
        if (auto* candidate = dynamic_cast<THTMLHintWindow*>(grid->Components(i)))
            hint = candidate;
    ASSERT_NE(hint, nullptr);
    const TRect r = grid->CellRect(2, 0);
    Down(TPoint(r.Right, 10));
    MoveTo(TPoint(r.Right + 10, 10));
    EXPECT_TRUE(hint->Visible());
    EXPECT_EQ(hint->Text(), u"cw=<b>50</b>");
    Up(TPoint(r.Right + 10, 10));
    EXPECT_FALSE(hint->Visible());
}

class GridMovingTest : public GridMouseTest {
protected:
    void SetUp() override {
        GridMouseTest::SetUp();
        grid->SetColCount(8);
        for (Integer c = 0; c < 8; ++c)
            grid->SetCells(c, 1, IntToStr(c));
    }
};

// The sort column follows the data it sorted by; each index of a sort on several columns too, with
// its direction.
TEST_F(GridMovingTest, SortColumnFollowsMovedColumns) {
    const struct {
        Integer sortCol;
        Integer from;
        Integer to;
        Integer after;
    } cases[] = {{5, 2, 5, 4}, {2, 5, 2, 3}, {2, 2, 5, 5}, {6, 2, 5, 6}};
    for (const auto& c : cases) {
        grid->SortSettings()->SetColumn(c.sortCol);
        grid->MoveColumn(c.from, c.to);
        EXPECT_EQ(grid->SortSettings()->Column(), c.after) << c.sortCol << " " << c.from << ">" << c.to;
    }
    grid->SortSettings()->SetIndexShow(true);
    grid->SortIndexes()->Clear();
    grid->SortIndexes()->AddIndex(5, false);
    grid->SortIndexes()->AddIndex(2, true);
    grid->MoveColumn(2, 5);
    EXPECT_EQ(grid->SortIndexes()->SortColumns(0), 4);
    EXPECT_FALSE(grid->SortIndexes()->SortDirections(0));
    EXPECT_EQ(grid->SortIndexes()->SortColumns(1), 5);
    EXPECT_TRUE(grid->SortIndexes()->SortDirections(1));
}

// OnRowMoved fires once per move, after the heights moved.
TEST_F(GridMovingTest, RowMovedFiresOnceAfterTheHeights) {
    grid->SetRowHeights(2, 33);
    Strings moves;
    grid->OnRowMoved = [&](TObject*, Integer from, Integer to) {
        moves.push_back(std::to_string(from) + ">" + std::to_string(to) + " h" +
                        std::to_string(grid->RowHeights(to)));
    };
    grid->MoveRow(2, 5);
    EXPECT_EQ(moves, (Strings{"2>5 h33"}));
}

// Two grids linked both ways move a column or row once each, without passing it back and forth.
TEST_F(GridMovingTest, SynchronisedGridsMoveOnceEach) {
    auto* other = new TMouseGrid(form);
    other->SetColCount(8);
    other->SetRowCount(8);
    other->SetParent(form);
    for (Integer c = 0; c < 8; ++c)
        other->SetCells(c, 1, IntToStr(c));
    other->SetCells(1, 2, u"row 2");
    grid->SyncGrid()->SetGrid(other);
    grid->SyncGrid()->SetMoveColumn(true);
    grid->SyncGrid()->SetMoveRow(true);
    other->SyncGrid()->SetGrid(grid);
    other->SyncGrid()->SetMoveColumn(true);
    other->SyncGrid()->SetMoveRow(true);
    grid->MoveColumn(2, 4);
    EXPECT_EQ(grid->Cells(4, 1), u"2");
    EXPECT_EQ(other->Cells(4, 1), u"2");
    EXPECT_EQ(other->Cells(3, 1), u"4");
    grid->MoveRow(2, 6);
    EXPECT_EQ(other->Cells(1, 6), u"row 2");
}

// A header dragged with EnhRowColMove moves the column at the release, with the drag cursor meanwhile;
// a refused OnColumnMove ends the move before any feedback.
TEST_F(GridMovingTest, HeaderDragMovesTheColumn) {
    grid->SetOptions(grid->Options() + TGridOptions{goColMoving});
    Strings moving;
    grid->OnColumnMoving = [&](TObject*, Integer col, bool&) { moving.push_back(std::to_string(col)); };
    MoveTo(Centre(2, 0));
    Down(Centre(2, 0));
    MoveTo(Centre(3, 0));
    MoveTo(Centre(4, 0));
    EXPECT_EQ(::Screen()->Cursor(), crDrag);
    Up(Centre(4, 0));
    EXPECT_EQ(grid->Cells(4, 1), u"2");
    EXPECT_EQ(::Screen()->Cursor(), crDefault);
    EXPECT_FALSE(moving.empty());
    EXPECT_EQ(grid->GridState(), gsNormal);

    grid->OnColumnMove = [](TObject*, Integer, bool& allow) { allow = false; };
    Down(Centre(2, 0));
    MoveTo(Centre(4, 0));
    EXPECT_EQ(grid->GridState(), gsNormal);
    Up(Centre(4, 0));
    EXPECT_EQ(grid->Cells(2, 1), u"3");
}

class GridDragScrollTest : public GridMouseTest {
protected:
    void SetUp() override {
        GridMouseTest::SetUp();
        grid->SetRowCount(100);
        grid->SetColCount(30);
        grid->SetTopRow(50);
        grid->SetLeftCol(10);
        grid->DragScrollOptions()->SetActive(true);
    }
    void DragAt(int x, int y, TDragState state = dsDragMove) {
        bool accept = false;
        grid->DragOver(nullptr, x, y, state, accept);
    }
};

// Resting near the top scrolls one row after 1000 ms, then one every 250 ms; a further move inside the
// margin starts the wait again; leaving the margin stops.
TEST_F(GridDragScrollTest, ScrollsAfterTheInitialDelayThenEveryRepeat) {
    DragAt(150, 10);
    Advance(999);
    EXPECT_EQ(grid->TopRow(), 50);
    Advance(1);
    EXPECT_EQ(grid->TopRow(), 49);
    Advance(250);
    EXPECT_EQ(grid->TopRow(), 48);
    DragAt(150, 12);
    Advance(250);
    EXPECT_EQ(grid->TopRow(), 48) << "the wait started again";
    Advance(750);
    EXPECT_EQ(grid->TopRow(), 47);
    DragAt(150, 100);
    EXPECT_EQ(grid->FDragTmr, nullptr);
    Advance(2000);
    EXPECT_EQ(grid->TopRow(), 47);
}

// In a corner each tick scrolls both ways; near the bottom right the other two.
TEST_F(GridDragScrollTest, CornersScrollBothWays) {
    DragAt(10, 10);
    Advance(1000);
    EXPECT_EQ(grid->TopRow(), 49);
    EXPECT_EQ(grid->LeftCol(), 9);
    DragAt(10, 10, dsDragLeave);
    DragAt(295, 195);
    Advance(1000);
    EXPECT_EQ(grid->TopRow(), 50);
    EXPECT_EQ(grid->LeftCol(), 10);
}

// OnDragScroll may stop a step or turn it; switching the option off frees the timer at its next tick.
TEST_F(GridDragScrollTest, TheEventDecidesAndTheOptionStopsIt) {
    bool can = false;
    grid->OnDragScroll = [&](TObject*, Integer, Integer, TDragScrollDirection& dir, bool& canScroll) {
        canScroll = can;
        dir = TDragScrollDirection{dsdDown};
    };
    DragAt(150, 10);
    Advance(1000);
    EXPECT_EQ(grid->TopRow(), 50);
    can = true;
    Advance(250);
    EXPECT_EQ(grid->TopRow(), 51);
    grid->DragScrollOptions()->SetActive(false);
    Advance(250);
    EXPECT_EQ(grid->TopRow(), 51);
    DragAt(150, 10);
    EXPECT_EQ(grid->FDragTmr, nullptr);
}

// The first scrolling row and the last visible row bound the steps.
TEST_F(GridDragScrollTest, StopsAtTheEnds) {
    grid->SetTopRow(1);
    DragAt(150, 10);
    Advance(1000);
    EXPECT_EQ(grid->TopRow(), 1);
    const Integer last = grid->RowCount() - grid->VisibleRowCount();
    grid->SetTopRow(last);
    DragAt(150, 195);
    Advance(1000);
    EXPECT_EQ(grid->TopRow(), last);
}

} // namespace
