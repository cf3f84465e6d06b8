// The grid's input: keyboard navigation, selecting, sizing and moving with the mouse, the auto-scroll
// timer, the wheel and the scroll bars.
#include "tests/platform/framework/grids_testing.h"

#include <functional>

#include "platform/framework/StdEdit.h"
#include "platform/win32/dialogs.h"

namespace {

using GridInput = GridTest;

TEST_F(GridInput, KeyboardNavigation) {
    struct Case {
        const char* name;
        TGridOptions extra;
        TGridCoord start;
        int key;
        TShiftState shift;
        TGridCoord expected;
        Integer topRow;
    };
    for (const Case& c : {
             Case{"down", {}, {1, 1}, VK_DOWN, {}, {1, 2}, 1},
             Case{"up stops at the fixed row", {}, {1, 1}, VK_UP, {}, {1, 1}, 1},
             Case{"right", {}, {1, 1}, VK_RIGHT, {}, {2, 1}, 1},
             Case{"left stops at the fixed column", {}, {1, 1}, VK_LEFT, {}, {1, 1}, 1},
             Case{"end", {}, {3, 4}, VK_END, {}, {9, 4}, 1},
             Case{"home", {}, {5, 4}, VK_HOME, {}, {1, 4}, 1},
             Case{"ctrl+end", {}, {3, 4}, VK_END, {ssCtrl}, {9, 19}, 13},
             Case{"ctrl+home", {}, {5, 19}, VK_HOME, {ssCtrl}, {1, 1}, 1},
             Case{"page down scrolls a page", {}, {1, 1}, VK_NEXT, {}, {1, 7}, 7},
             Case{"page down stops at the end", {}, {1, 17}, VK_NEXT, {}, {1, 19}, 13},
             Case{"ctrl+page down: last shown row", {}, {1, 2}, VK_NEXT, {ssCtrl}, {1, 7}, 1},
             Case{"tab wraps to the next row", {goTabs}, {9, 1}, VK_TAB, {}, {1, 2}, 1},
             Case{"shift+tab wraps back", {goTabs}, {1, 2}, VK_TAB, {ssShift}, {9, 1}, 1},
             Case{"row select: home goes to the first row", {goRowSelect}, {1, 5}, VK_HOME, {}, {1, 1}, 1},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->SetOptions(
            TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect} + c.extra);
        FGrid->SetTopRow(1);
        FGrid->SetLeftCol(1);
        FGrid->SetCol(c.start.X);
        FGrid->SetRow(c.start.Y);
        FGrid->SetTopRow(1);
        FGrid->SetFocus();
        Pump();
        PressWith(c.key, c.shift);
        EXPECT_EQ(FGrid->Col(), c.expected.X);
        EXPECT_EQ(FGrid->Row(), c.expected.Y);
        EXPECT_EQ(FGrid->TopRow(), c.topRow);
    }
}

TEST_F(GridInput, ShiftExtendsTheSelectionAndRowSelectCoversTheRow) {
    PressWith(VK_DOWN, {ssShift});
    PressWith(VK_RIGHT, {ssShift});
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 1, 2, 2}));
    PressWith(VK_DOWN, {});
    EXPECT_EQ(FGrid->Selection(), (TGridRect{2, 3, 2, 3}));

    FGrid->SetOptions(FGrid->Options() + TGridOptions{goRowSelect});
    PressWith(VK_DOWN, {});
    EXPECT_EQ(FGrid->Col(), 1);
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 4, 9, 4}));
    // Left and right scroll instead of moving in a selected row.
    PressWith(VK_RIGHT, {});
    EXPECT_EQ(FGrid->LeftCol(), 2);
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 4, 9, 4}));
}

TEST_F(GridInput, SelectCellCanRefuseAMove) {
    FGrid->OnSelectCell = [](TObject*, Integer col, Integer, bool& canSelect) { canSelect = col != 2; };
    PressWith(VK_RIGHT, {});
    EXPECT_EQ(FGrid->Col(), 1);
    Down(CellCentre(3, 2));
    Up(CellCentre(3, 2));
    EXPECT_EQ(FGrid->Col(), 3);
    EXPECT_EQ(FGrid->Row(), 2);
}

TEST_F(GridInput, ClickSelectsAndDragOrShiftClickSelectsARange) {
    int clicks = 0;
    FGrid->OnClick = [&](TObject*) { ++clicks; };
    Down(CellCentre(2, 3));
    Up(CellCentre(2, 3));
    EXPECT_EQ(FGrid->Col(), 2);
    EXPECT_EQ(FGrid->Row(), 3);
    EXPECT_EQ(clicks, 1);

    Drag(CellCentre(1, 1), CellCentre(3, 4));
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 1, 3, 4}));
    EXPECT_EQ(FGrid->Col(), 1); // the press sets the current cell; the drag moves the other corner

    win32::input::Key(VK_SHIFT, true);
    Down(CellCentre(2, 6));
    Up(CellCentre(2, 6));
    win32::input::Key(VK_SHIFT, false);
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 1, 2, 6}));

    // A press on a fixed cell selects nothing.
    Down(CellCentre(0, 3));
    Up(CellCentre(0, 3));
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 1, 2, 6}));
}

TEST_F(GridInput, SizingStateIsFoundOnLinesInTheFixedCellsOnly) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColSizing, goRowSizing});
    struct Case {
        const char* name;
        int x;
        int y;
        TGridState state;
        Integer index;
    };
    for (const Case& c : {
             Case{"on the end of column 1", 129, 10, gsColSizing, 1},
             Case{"3 pixels before it", 126, 10, gsColSizing, 1},
             Case{"too far before it", 124, 10, gsNormal, -1},
             Case{"the same line below the fixed row", 129, 40, gsNormal, -1},
             Case{"the end of a fixed column", 64, 10, gsNormal, -1},
             Case{"on the end of row 2", 10, 74, gsRowSizing, 2},
         }) {
        SCOPED_TRACE(c.name);
        TGridDrawInfo drawInfo;
        FGrid->CalcDrawInfo(drawInfo);
        TGridState state = gsNormal;
        Integer index = 0;
        Integer pos = 0;
        Integer ofs = 0;
        FGrid->CalcSizingState(c.x, c.y, state, index, pos, ofs, drawInfo);
        EXPECT_EQ(state, c.state);
        EXPECT_EQ(index, c.index);
    }
}

TEST_F(GridInput, APressThatStartsSizingIsNotAMouseDownAndAFailingMouseDownEndsSelecting) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColSizing});
    int downs = 0;
    FGrid->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    Down(ScreenPoint(130, 10));
    Up(ScreenPoint(130, 10));
    EXPECT_EQ(downs, 0);
    Advance(1000);
    Down(CellCentre(2, 3));
    Up(CellCentre(2, 3));
    EXPECT_EQ(downs, 1);

    win32::RecordingDialogService dialogs;
    FGrid->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw Exception(u"refused"); };
    Advance(1000);
    Down(CellCentre(3, 5));
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].message.text, u"refused.");
    EXPECT_EQ(FGrid->GridState(), gsNormal);
    MoveTo(ScreenPoint(100, 230)); // below the client area: no timer scrolls the selection on
    const TGridRect selection = FGrid->Selection();
    Advance(300);
    EXPECT_EQ(FGrid->Selection(), selection);
    Up(ScreenPoint(100, 230));
}

TEST_F(GridInput, DraggingALineSizesTheColumnOrRow) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColSizing, goRowSizing});
    Down(ScreenPoint(130, 10));
    EXPECT_EQ(FGrid->GridState(), gsColSizing);
    MoveTo(ScreenPoint(140, 10));
    MoveTo(ScreenPoint(151, 10));
    Up(ScreenPoint(151, 10));
    EXPECT_EQ(FGrid->GridState(), gsNormal);
    EXPECT_EQ(FGrid->ColWidths(1), 85); // the line's 1-pixel offset from the press is kept
    EXPECT_EQ(FGrid->log, (std::vector<std::string>{"ColWidthsChanged"}));

    Drag(ScreenPoint(10, 49), ScreenPoint(10, 35));
    EXPECT_EQ(FGrid->RowHeights(1), 10);
    // Dragging a line onto its cell's start leaves the size alone.
    Drag(ScreenPoint(10, 49 - 14), ScreenPoint(10, 20));
    EXPECT_EQ(FGrid->RowHeights(1), 10);
}

TEST_F(GridInput, SizingCursorsOverTheLinesOfTheFixedCells) {
    FGrid->SetCursor(crHandPoint);
    struct Case {
        const char* name;
        TGridOptions sizing;
        TPoint at;
        TCursor expected;
    };
    for (const Case& c : {
             Case{"column line in the fixed row", {goColSizing}, {129, 10}, crHSplit},
             Case{"row line in the fixed column", {goRowSizing}, {10, 49}, crVSplit},
             Case{"column line without goColSizing", {goRowSizing}, {129, 10}, crHandPoint},
             Case{"column line below the fixed row", {goColSizing, goRowSizing}, {129, 60}, crHandPoint},
             Case{"inside a cell", {goColSizing, goRowSizing}, {100, 60}, crHandPoint},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine} + c.sizing);
        MoveTo(ScreenPoint(250, 150));
        MoveTo(ScreenPoint(c.at.X, c.at.Y));
        EXPECT_EQ(GetCursor(), Screen()->Cursors(c.expected));
    }
    // While sizing, the split cursor stays even away from the line.
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColSizing});
    Down(ScreenPoint(129, 10));
    MoveTo(ScreenPoint(160, 60));
    EXPECT_EQ(GetCursor(), Screen()->Cursors(crHSplit));
    Up(ScreenPoint(160, 60));
}

TEST_F(GridInput, TheSizingLineLeavesNoTraceWhenSizingEndsOrIsCancelled) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColSizing});
    FGrid->Repaint();
    // The pixels the line crosses at x = 149 and a row across the grid.
    auto snapshot = [this] {
        std::vector<COLORREF> pixels;
        HDC dc = GetDC(FGrid->Handle());
        for (int y = 0; y < 200; ++y)
            pixels.push_back(GetPixel(dc, 149, y));
        for (int x = 0; x < 300; ++x)
            pixels.push_back(GetPixel(dc, x, 100));
        ReleaseDC(FGrid->Handle(), dc);
        return pixels;
    };
    const std::vector<COLORREF> before = snapshot();
    struct Case {
        const char* name;
        std::function<void()> end;
    };
    HWND other = FForm->Handle();
    for (const Case& c : {
             Case{"released where it began",
                  [&] {
                      MoveTo(ScreenPoint(130, 10));
                      Up(ScreenPoint(130, 10));
                  }},
             Case{"escape", [&] { PressWith(VK_ESCAPE, {}); }},
             Case{"capture taken by another window",
                  [&] {
                      SetCapture(other);
                      ReleaseCapture();
                      Pump();
                  }},
             Case{"cancel mode",
                  [&] {
                      SendMessageW(FGrid->Handle(), WM_CANCELMODE, 0, 0);
                      Pump();
                  }},
             Case{"state set back by a descendant", [&] { FGrid->SetGridState(gsNormal); }},
         }) {
        SCOPED_TRACE(c.name);
        Advance(1000); // no double click with the press before
        Down(ScreenPoint(130, 10));
        MoveTo(ScreenPoint(150, 10));
        ASSERT_EQ(FGrid->GridState(), gsColSizing);
        EXPECT_NE(snapshot(), before) << "the line shows while sizing";
        c.end();
        EXPECT_EQ(FGrid->GridState(), gsNormal);
        // A release after a cancel sizes nothing.
        if (GetAsyncKeyState(VK_LBUTTON) < 0)
            Up(ScreenPoint(150, 10));
        EXPECT_EQ(FGrid->ColWidths(1), 64);
        EXPECT_TRUE(snapshot() == before);
    }
    // A repaint under the line while sizing keeps it, so that taking it away leaves nothing behind.
    Advance(1000);
    Down(ScreenPoint(130, 10));
    MoveTo(ScreenPoint(150, 10));
    FGrid->InvalidateCell(2, 4);
    Pump();
    EXPECT_NE(snapshot(), before);
    PressWith(VK_ESCAPE, {});
    EXPECT_TRUE(snapshot() == before);
    Up(ScreenPoint(150, 10));
}

TEST_F(GridInput, DraggingAHeaderMovesTheColumnOrRow) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goColMoving, goRowMoving});
    FGrid->SetCells(1, 0, u"one");
    FGrid->SetCells(0, 2, u"two");
    std::vector<std::string> events;
    FGrid->OnColumnMoved = [&](TObject*, Integer from, Integer to) {
        events.push_back("col " + std::to_string(from) + ">" + std::to_string(to));
    };
    FGrid->OnRowMoved = [&](TObject*, Integer from, Integer to) {
        events.push_back("row " + std::to_string(from) + ">" + std::to_string(to));
    };
    Down(CellCentre(1, 0));
    EXPECT_EQ(FGrid->GridState(), gsColMoving);
    MoveTo(CellCentre(2, 0));
    MoveTo(CellCentre(3, 0));
    Up(CellCentre(3, 0));
    EXPECT_EQ(FGrid->Cells(3, 0), u"one");
    Drag(CellCentre(0, 2), CellCentre(0, 5));
    EXPECT_EQ(FGrid->Cells(0, 5), u"two");
    EXPECT_EQ(events, (std::vector<std::string>{"col 1>3", "row 2>5"}));
    // Released where it began: nothing moves.
    Drag(CellCentre(0, 5), CellCentre(0, 5));
    EXPECT_EQ(events.size(), 2u);
    // A descendant that ends the move itself takes the mark away, and the next move draws afresh.
    FGrid->Repaint();
    auto headerRow = [this] {
        std::vector<COLORREF> pixels;
        HDC dc = GetDC(FGrid->Handle());
        for (int x = 0; x < 300; ++x)
            pixels.push_back(GetPixel(dc, x, 5));
        ReleaseDC(FGrid->Handle(), dc);
        return pixels;
    };
    const std::vector<COLORREF> before = headerRow();
    for (int round = 0; round < 2; ++round) {
        Advance(1000); // no double click with the press before
        Down(CellCentre(1, 0));
        MoveTo(CellCentre(3, 0));
        EXPECT_NE(headerRow(), before) << "the mark shows while moving";
        FGrid->SetGridState(gsNormal);
        EXPECT_TRUE(headerRow() == before);
        Up(CellCentre(3, 0));
    }
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(GridInput, SelectingPastTheEdgeScrollsOnTheTimer) {
    Down(CellCentre(1, 5));
    MoveTo(ScreenPoint(100, 230)); // below the client area
    const TGridRect before = FGrid->Selection();
    Advance(60);
    EXPECT_EQ(FGrid->Selection().Bottom, before.Bottom + 1);
    Advance(60);
    Advance(60);
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 5, 1, before.Bottom + 3}));
    EXPECT_EQ(FGrid->TopRow(), before.Bottom + 3 - 6);
    Up(ScreenPoint(100, 230));
    const TGridRect released = FGrid->Selection();
    Advance(600);
    EXPECT_EQ(FGrid->Selection(), released);
}

TEST_F(GridInput, WheelMovesTheCurrentRow) {
    const TPoint p = CellCentre(2, 3);
    win32::input::MouseWheel(-WHEEL_DELTA, false, p.X, p.Y);
    win32::input::MouseWheel(-WHEEL_DELTA, false, p.X, p.Y);
    Pump();
    EXPECT_EQ(FGrid->Row(), 3);
    win32::input::MouseWheel(WHEEL_DELTA * 3, false, p.X, p.Y);
    Pump();
    EXPECT_EQ(FGrid->Row(), 1);
}

TEST_F(GridInput, ScrollBarsMapTheirPositionsOntoTheRows) {
    FGrid->SetScrollBars(ssVertical);
    FGrid->SetRowCount(1001);
    HWND hwnd = FGrid->Handle();
    const Integer maxTop = 1001 - FGrid->VisibleRowCount();
    auto scroll = [&](WORD code, WORD pos) { SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(code, pos), 0); };
    int minPos = -1;
    int maxPos = -1;
    GetScrollRange(hwnd, SB_VERT, &minPos, &maxPos);
    EXPECT_EQ(minPos, 0);
    EXPECT_EQ(maxPos, 127);
    scroll(SB_LINEDOWN, 0);
    EXPECT_EQ(FGrid->TopRow(), 2);
    scroll(SB_PAGEDOWN, 0);
    EXPECT_EQ(FGrid->TopRow(), 2 + FGrid->VisibleRowCount() - 1);
    scroll(SB_BOTTOM, 0);
    EXPECT_EQ(FGrid->TopRow(), maxTop);
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 127);
    scroll(SB_THUMBPOSITION, 64);
    EXPECT_EQ(FGrid->TopRow(), 1 + (64 * (maxTop - 1)) / 127);
    // Thumb tracking moves the rows only with goThumbTracking.
    scroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(FGrid->TopRow(), 1 + (64 * (maxTop - 1)) / 127);
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goThumbTracking});
    scroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(FGrid->TopRow(), 1);
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 0);
}

TEST_F(GridInput, ScrollBarStepsRoundSkipHiddenRowsAndFocusTheGrid) {
    TEdit* edit = new TEdit(FForm);
    edit->SetParent(FForm);
    edit->SetBounds(0, 210, 80, 20);
    FGrid->SetScrollBars(ssVertical);
    FGrid->SetRowCount(18); // seven rows shown below the fixed one: the top row runs from 1 to 11
    HWND hwnd = FGrid->Handle();
    auto scroll = [&](WORD code, WORD pos) { SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(code, pos), 0); };
    edit->SetFocus();
    Pump();
    // Positions and rows map onto each other rounded to the nearest.
    scroll(SB_THUMBPOSITION, 70); // 70 * 10 / 127 = 5.51
    EXPECT_EQ(FGrid->TopRow(), 7);
    EXPECT_TRUE(FGrid->Focused()) << "using the scroll bar focuses the grid";
    FGrid->SetTopRow(2); // 1 * 127 / 10 = 12.7
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 13);
    // Hidden rows are no place to stop.
    FGrid->SetRowHeights(3, 0);
    FGrid->SetRowHeights(4, -1);
    scroll(SB_LINEDOWN, 0);
    EXPECT_EQ(FGrid->TopRow(), 5);
    scroll(SB_LINEUP, 0);
    EXPECT_EQ(FGrid->TopRow(), 2);
    // A page up brings the top row to the bottom, so it counts the rows that fit above it: row 6 is
    // three rows high.
    FGrid->SetRowHeights(6, 74);
    FGrid->SetTopRow(9);
    scroll(SB_PAGEUP, 0);
    EXPECT_EQ(FGrid->TopRow(), 5);
    scroll(SB_PAGEDOWN, 0);
    EXPECT_EQ(FGrid->TopRow(), 9);
}

// A kept bar stays on the window while its rows all fit, disabled, so that its arrows scroll nothing;
// once the rows do not fit it scrolls again. Given up, it goes as any bar whose rows fit.
TEST_F(GridInput, AKeptScrollBarStaysShownAndDisabledWhileItsRowsFit) {
    FGrid->SetScrollBars(ssBoth);
    FGrid->SetColCount(3);
    FGrid->SetRowCount(5);
    HWND hwnd = FGrid->Handle();
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    int scrolls = 0;
    const TWndMethod inner = FGrid->WindowProc;
    FGrid->WindowProc = [&](TMessage& message) {
        if (message.Msg == WM_VSCROLL && LOWORD(message.WParam) != SB_ENDSCROLL)
            ++scrolls;
        inner(message);
    };
    auto clickDownArrow = [&] {
        RECT window;
        GetWindowRect(hwnd, &window);
        win32::input::Click(win32::input::Button::Left, window.right - bar / 2, window.bottom - 5);
        Pump();
    };
    ASSERT_EQ(FGrid->ClientWidth(), 300) << "no bar while the rows fit";

    FGrid->SetKeptScrollBars(ssVertical);
    EXPECT_NE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL, 0) << "the other bar is not kept";
    // Every change that sets the range again keeps it.
    FGrid->SetRowCount(6);
    FGrid->SetColWidths(1, 80);
    FGrid->SetBounds(0, 0, 280, 200);
    Pump();
    EXPECT_EQ(FGrid->ClientWidth(), 280 - bar);
    clickDownArrow();
    EXPECT_EQ(scrolls, 0) << "the kept bar is disabled";

    FGrid->SetRowCount(40);
    clickDownArrow();
    EXPECT_EQ(scrolls, 1);
    EXPECT_EQ(FGrid->TopRow(), 2);

    FGrid->SetRowCount(5);
    FGrid->SetKeptScrollBars(ssNone);
    EXPECT_EQ(FGrid->ClientWidth(), 280);
    FGrid->SetRowCount(40);
    EXPECT_EQ(FGrid->ClientWidth(), 280 - bar);
    scrolls = 0;
    clickDownArrow();
    EXPECT_EQ(scrolls, 1) << "a bar the grid gave up is enabled again";
    FGrid->WindowProc = inner;
}

} // namespace
