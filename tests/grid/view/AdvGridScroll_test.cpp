// Tests of the grid's scroll bars and column stretching: scroll hints, synchronous thumb tracking, the
// proportional thumbs, the scroll looks, the stretch widths and what follows width and height changes.
#include "tests/grid/view/GridViewTesting.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/wininput.h"

namespace {

using gridview_fixtures::GridViewTest;

// The protected members the tests drive: the mouse sizing state the mouse handling leaves, and the
// momentum scrolling a touch drag arms.
class TScrollGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::Colclicked;
    using TAdvStringGrid::Colclickedsize;
    using TAdvStringGrid::ColSized;
    using TAdvStringGrid::FScrollDelta;
    using TAdvStringGrid::FScrollSteps;
    using TAdvStringGrid::Rowclicked;
    using TAdvStringGrid::Rowclickedsize;
    using TAdvStringGrid::RowSized;
    using TAdvStringGrid::TAdvStringGrid;
};

// A 300 x 200 grid with both window scroll bars, 6 columns of 40 and rows of 20, one fixed row and
// column, on a shown form.
class GridScrollTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 0);
        form->SetBounds(100, 100, 400, 300);
        grid = new TScrollGrid(form);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(6);
        grid->SetDefaultColWidth(40);
        grid->SetDefaultRowHeight(20);
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override { form->Free(); }

    void VScroll(WORD code, WORD pos = 0) { grid->Perform(WM_VSCROLL, MAKEWPARAM(code, pos), 0); }
    void HScroll(WORD code, WORD pos = 0) { grid->Perform(WM_HSCROLL, MAKEWPARAM(code, pos), 0); }
    SCROLLINFO Info(int bar) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(grid->Handle(), bar, &info);
        return info;
    }

    TForm* form = nullptr;
    TScrollGrid* grid = nullptr;
};

// With RowCount - VisibleRowCount - FixedRows = 127, position P stands for row P + 1.
TEST_F(GridScrollTest, DraggingTheThumbShowsTheRowAndEndScrollTakesTheHintAway) {
    grid->SetRowCount(128 + grid->VisibleRowCount());
    ASSERT_EQ(grid->RowCount() - grid->VisibleRowCount() - grid->FixedRows(), 127);
    grid->SetScrollHints(shVertical);
    VScroll(SB_THUMBTRACK, 11);
    ASSERT_TRUE(grid->ScrollHintShowing());
    EXPECT_TRUE(grid->ScrollHintWindow()->Active());
    EXPECT_EQ(grid->ScrollHintWindow()->Caption(), u"Row : 12");
    EXPECT_EQ(grid->ScrollHintWindow()->Color(), clInfoBk);
    EXPECT_EQ(grid->TopRow(), 1) << "without ScrollSynch the grid waits for the release";

    Integer named = -1;
    grid->SetHintColor(clYellow);
    grid->OnScrollHint = [&](TObject*, Integer ARow, String& hint) {
        named = ARow;
        hint = u"<b>Module</b> " + IntToStr(ARow);
    };
    VScroll(SB_THUMBTRACK, 40);
    EXPECT_EQ(named, 41);
    EXPECT_EQ(grid->ScrollHintWindow()->Caption(), u"Module 41") << "tags are taken out";
    EXPECT_EQ(grid->ScrollHintWindow()->Color(), clYellow);

    VScroll(SB_ENDSCROLL);
    EXPECT_FALSE(grid->ScrollHintShowing());
    EXPECT_FALSE(grid->ScrollHintWindow()->Active());

    // The vertical choice leaves the horizontal thumb without a hint.
    grid->OnScrollHint = nullptr;
    grid->SetColCount(40);
    HScroll(SB_THUMBTRACK, 5);
    EXPECT_FALSE(grid->ScrollHintShowing());
    grid->SetScrollHints(shBoth);
    HScroll(SB_THUMBTRACK, 0);
    EXPECT_EQ(grid->ScrollHintWindow()->Caption(), u"Col : 1");
    HScroll(SB_ENDSCROLL);
    EXPECT_FALSE(grid->ScrollHintShowing());
}

TEST_F(GridScrollTest, ScrollSynchFollowsTheThumbBeforeItIsReleased) {
    grid->SetRowCount(128 + grid->VisibleRowCount());
    grid->SetColCount(128 + grid->VisibleColCount());
    grid->SetScrollSynch(true);
    VScroll(SB_THUMBTRACK, 30);
    EXPECT_EQ(grid->TopRow(), 31);
    HScroll(SB_THUMBTRACK, 9);
    EXPECT_EQ(grid->LeftCol(), 10);
    VScroll(SB_THUMBPOSITION, 30);
    EXPECT_EQ(grid->TopRow(), 31) << "the release lands where the drag already is";
}

// 100 rows of 20 under a 200 pixel high grid, grid lines of 1. The visible column count leaves out the
// fixed column, so it is below ColCount and the height available is 200 - 17 = 183. F = 1 + 21 = 22,
// T = 1 + 99 x 21 = 2080, e = 161 / 2080, so the maximum is trunc(127.0774 / 0.92260) = 137 and the
// page 11; at top row 50, B = 1 + 49 x 21 = 1030 and the position trunc(1030 / 1897 x 128) = 69.
TEST_F(GridScrollTest, ProportionalThumbFollowsTheRealHeights) {
    grid->SetRowCount(100);
    grid->SetScrollProportional(true);
    SCROLLINFO info = Info(SB_VERT);
    EXPECT_EQ(info.nMax, 137);
    EXPECT_EQ(info.nPage, 11u);
    EXPECT_EQ(info.nPos, 0);
    grid->SetTopRow(50);
    grid->UpdateVertScrollProportional();
    info = Info(SB_VERT);
    EXPECT_EQ(info.nPos, 69);

    // Taller rows above the top make a longer way down: row 10 at 230 adds 210 to T and B.
    grid->SetRowHeights(10, 230);
    grid->UpdateVertScrollProportional();
    info = Info(SB_VERT);
    // e = 161 / 2290, maximum trunc(127.0703 / 0.92969) = 136; B = 1240, position trunc(1240 / 2107 x 128).
    EXPECT_EQ(info.nMax, 136);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nPos, 75);

    // Painting recomputes it: the paint after a scroll shows the new position.
    grid->SetTopRow(1);
    grid->Repaint();
    EXPECT_EQ(Info(SB_VERT).nPos, 0);
}

TEST_F(GridScrollTest, ProportionalThumbsLeaveBarsWhoseLinesAllFit) {
    grid->SetRowCount(5);
    const SCROLLINFO vertBefore = Info(SB_VERT);
    const SCROLLINFO horzBefore = Info(SB_HORZ);
    grid->SetScrollProportional(true);
    EXPECT_EQ(Info(SB_VERT).nMax, vertBefore.nMax);
    EXPECT_EQ(Info(SB_VERT).nPage, vertBefore.nPage);
    EXPECT_EQ(Info(SB_HORZ).nMax, horzBefore.nMax);
    EXPECT_EQ(Info(SB_HORZ).nPage, horzBefore.nPage);
}

// No scrolling width at all (grid lines of 0, the only normal column 0 wide) gives the horizontal share
// nothing to divide by: the bar is left alone, as the vertical one is.
TEST_F(GridScrollTest, HorizontalProportionalThumbStopsWithoutScrollingWidth) {
    grid->SetColCount(2);
    grid->SetGridLineWidth(0);
    grid->SetColWidths(0, 400);
    grid->SetColWidths(1, 0);
    const SCROLLINFO before = Info(SB_HORZ);
    grid->SetScrollProportional(true);
    grid->UpdateHorzScrollProportional();
    const SCROLLINFO after = Info(SB_HORZ);
    EXPECT_EQ(after.nMax, before.nMax);
    EXPECT_EQ(after.nPage, before.nPage);
    EXPECT_EQ(after.nPos, before.nPos);
}

// Switching proportional thumbs off gives the bars their 0..127 range without a page back, so the thumb
// reaches the last rows again.
TEST_F(GridScrollTest, ProportionalOffRestoresTheWindowBars) {
    grid->SetRowCount(100);
    grid->SetColCount(40);
    grid->SetScrollProportional(true);
    ASSERT_GT(Info(SB_VERT).nPage, 0u);
    ASSERT_GT(Info(SB_HORZ).nPage, 0u);
    grid->SetScrollProportional(false);
    for (int bar : {SB_HORZ, SB_VERT}) {
        EXPECT_EQ(Info(bar).nPage, 0u) << bar;
        EXPECT_EQ(Info(bar).nMax, 127) << bar;
    }
    VScroll(SB_THUMBPOSITION, 127);
    EXPECT_EQ(grid->TopRow(), grid->RowCount() - grid->VisibleRowCount());
}

// A resize makes the framework grid set its range again; the thumbs' page must not hide a bar the
// grid still needs, nor come back and forth.
TEST_F(GridScrollTest, ResizingKeepsTheProportionalBars) {
    grid->SetRowCount(1000);
    grid->SetColCount(40);
    grid->SetScrollProportional(true);
    for (Integer width : {260, 320, 280}) {
        grid->SetWidth(width);
        grid->Repaint();
        EXPECT_EQ(grid->ClientHeight(), 200 - GetSystemMetrics(SM_CYHSCROLL)) << width;
        EXPECT_EQ(grid->ClientWidth(), width - GetSystemMetrics(SM_CXVSCROLL)) << width;
        EXPECT_GT(Info(SB_HORZ).nPage, 0u) << width;
    }
}

TEST_F(GridScrollTest, ScrollTypesSwitchTheBars) {
    grid->SetScrollBars(ssVertical);
    grid->SetScrollType(ssMetro);
    EXPECT_EQ(grid->ScrollBars(), ssNone);
    ASSERT_NE(grid->VertScrollControl(), nullptr);
    ASSERT_NE(grid->HorzScrollControl(), nullptr);
    EXPECT_EQ(grid->VertScrollControl()->Width(), 6);
    EXPECT_EQ(grid->HorzScrollControl()->Height(), 6);
    grid->SetScrollType(ssNormal);
    EXPECT_EQ(grid->ScrollBars(), ssBoth) << "whatever it was before";
    EXPECT_EQ(grid->VertScrollControl(), nullptr);
    EXPECT_EQ(grid->HorzScrollControl(), nullptr);

    // The common-controls library offers no flat scroll bars here: the window bars stay.
    grid->SetScrollType(ssFlat);
    EXPECT_FALSE(grid->IsFlat());
    EXPECT_EQ(grid->ScrollBars(), ssBoth);
    grid->SetRowCount(100);
    grid->SetScrollProportional(true);
    EXPECT_EQ(Info(SB_VERT).nMax, 137) << "proportional thumbs work on the window bars";
}

// ScrollBarAlways keeps the bars it names on the window while their lines all fit, disabled, through
// whatever sets the framework grid's range again; the bars it does not name go when their lines fit.
TEST_F(GridScrollTest, ScrollBarAlwaysKeepsTheNamedBarsOnTheWindow) {
    const int vbar = GetSystemMetrics(SM_CXVSCROLL);
    const int hbar = GetSystemMetrics(SM_CYHSCROLL);
    HWND hwnd = grid->Handle();
    int scrolls = 0;
    const TWndMethod inner = grid->WindowProc;
    grid->WindowProc = [&](TMessage& message) {
        if ((message.Msg == WM_VSCROLL || message.Msg == WM_HSCROLL) &&
            LOWORD(message.WParam) != SB_ENDSCROLL)
            ++scrolls;
        inner(message);
    };
    // Clicks the far arrow of a bar on the window, down for the vertical bar and right for the other,
    // clear of the other bar.
    auto clickArrow = [&](int bar, bool other) {
        RECT window;
        GetWindowRect(hwnd, &window);
        if (bar == SB_VERT)
            win32::input::Click(win32::input::Button::Left, window.right - vbar / 2,
                                window.bottom - (other ? hbar : 0) - 5);
        else
            win32::input::Click(win32::input::Button::Left, window.right - (other ? vbar : 0) - 5,
                                window.bottom - hbar / 2);
        Application->ProcessMessages();
    };
    grid->SetRowCount(5);
    ASSERT_EQ(grid->ClientWidth(), 300);
    ASSERT_EQ(grid->ClientHeight(), 200);

    struct Case {
        const char* name;
        TScrollBarAlways always;
        TScrollStyle bars;
        bool vert; // the vertical bar shows while every line fits
        bool horz;
    };
    const Case cases[] = {
        {"vertical", saVert, ssBoth, true, false},
        {"horizontal", saHorz, ssBoth, false, true},
        {"both", saBoth, ssBoth, true, true},
        {"both, of a grid with only the vertical bar", saBoth, ssVertical, true, false},
        {"none", saNone, ssBoth, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetScrollBars(c.bars);
        hwnd = grid->Handle();
        grid->SetScrollBarAlways(c.always);
        // A count, a width and a size set the range again.
        grid->SetRowCount(6);
        grid->SetColWidths(2, 50);
        grid->SetBounds(0, 0, 290, 200);
        Application->ProcessMessages();
        EXPECT_EQ((GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL) != 0, c.vert);
        EXPECT_EQ((GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL) != 0, c.horz);
        EXPECT_EQ(grid->ClientWidth(), 290 - (c.vert ? vbar : 0)) << "the window's client area makes room";
        EXPECT_EQ(grid->ClientHeight(), 200 - (c.horz ? hbar : 0));
        scrolls = 0;
        if (c.vert)
            clickArrow(SB_VERT, c.horz);
        if (c.horz)
            clickArrow(SB_HORZ, c.vert);
        EXPECT_EQ(scrolls, 0) << "a bar with nothing to scroll is disabled";
        grid->SetScrollBarAlways(saNone);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColWidths(2, 40);
        grid->SetRowCount(5);
    }
    grid->WindowProc = inner;
}

// Once its lines no longer fit a kept bar scrolls; given up while they fit, it goes, and comes back
// enabled when they stop fitting.
TEST_F(GridScrollTest, AKeptBarScrollsOnceItsRowsDoNotFit) {
    grid->SetRowCount(5);
    grid->SetScrollBarAlways(saVert);
    grid->SetRowCount(40);
    RECT window;
    GetWindowRect(grid->Handle(), &window);
    const int vbar = GetSystemMetrics(SM_CXVSCROLL);
    win32::input::Click(win32::input::Button::Left, window.right - vbar / 2, window.bottom - 5);
    Application->ProcessMessages();
    EXPECT_EQ(grid->TopRow(), 2) << "the bar's down arrow scrolls";

    grid->SetRowCount(5);
    grid->SetScrollBarAlways(saNone);
    EXPECT_EQ(grid->ClientWidth(), 300);
    grid->SetRowCount(40);
    EXPECT_EQ(grid->ClientWidth(), 300 - vbar);
    grid->SetTopRow(1);
    GetWindowRect(grid->Handle(), &window);
    win32::input::Click(win32::input::Button::Left, window.right - vbar / 2, window.bottom - 5);
    Application->ProcessMessages();
    EXPECT_EQ(grid->TopRow(), 2) << "a bar given up is enabled again";
}

// Sizing all rows hides the bars whose rows then all fit; a bar ScrollBarAlways names stays.
TEST_F(GridScrollTest, AutoSizeRowsHidesTheBarsOfRowsThatNowFit) {
    grid->SetRowCount(6);
    for (Integer r = 0; r < 6; ++r)
        grid->SetRowHeights(r, 40);
    ASSERT_EQ(grid->ClientWidth(), 300 - GetSystemMetrics(SM_CXVSCROLL));
    grid->AutoSizeRows(true, 0);
    EXPECT_LT(grid->RowHeights(1), 30);
    EXPECT_EQ(grid->ClientWidth(), 300);

    grid->SetScrollBarAlways(saVert);
    for (Integer r = 0; r < 6; ++r)
        grid->SetRowHeights(r, 40);
    grid->AutoSizeRows(true, 0);
    EXPECT_EQ(grid->ClientWidth(), 300 - GetSystemMetrics(SM_CXVSCROLL));
}

// A stored form sets the scroll settings by name; ScrollBars reaches the grid's own copy too.
TEST_F(GridScrollTest, ScrollSettingsAreSetByName) {
    EXPECT_EQ(grid->ScrollWidth(), GetSystemMetrics(SM_CXVSCROLL));
    SetOrdProp(grid, u"ScrollBars", ssVertical);
    EXPECT_EQ(grid->ScrollBars(), ssVertical);
    EXPECT_EQ(grid->TStringGrid::ScrollBars(), ssVertical);
    SetOrdProp(grid, u"ScrollProportional", 1);
    EXPECT_TRUE(grid->ScrollProportional());
    SetOrdProp(grid, u"ScrollHints", shBoth);
    EXPECT_EQ(grid->ScrollHints(), shBoth);
}

TEST_F(GridScrollTest, TheGridAlwaysWantsTypedCharacters) {
    for (bool editing : {false, true}) {
        TGridOptions options = grid->Options();
        if (editing)
            options.Include(goEditing);
        else
            options.Exclude(goEditing);
        grid->SetOptions(options);
        EXPECT_TRUE(grid->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) << editing;
    }
}

TEST_F(GridScrollTest, MomentumScrollingStepsUntilItsStepsRunOut) {
    grid->SetRowCount(100);
    grid->SetTopRow(20);
    grid->FScrollDelta = -1;
    grid->FScrollSteps = 3;
    for (int tick = 0; tick < 5; ++tick)
        grid->MomentumScrollTimer(nullptr);
    EXPECT_EQ(grid->TopRow(), 17);
    EXPECT_EQ(grid->FScrollSteps, 0);
}

// ---- Stretching

struct StretchCase {
    const char* name;
    Integer clientWidth;
    Integer first, second, third;
};

class StretchWidthTest : public GridScrollTest, public ::testing::WithParamInterface<StretchCase> {};

// A fixed column of 64 and three normal columns share what it leaves; the spare pixel goes to the first.
TEST_P(StretchWidthTest, StretchColumnsSharesTheWidth) {
    const StretchCase& c = GetParam();
    grid->SetScrollBars(ssNone);
    grid->SetWidth(c.clientWidth);
    grid->SetColCount(4);
    grid->SetColWidths(0, 64);
    grid->StretchColumns();
    EXPECT_TRUE(grid->ColumnSize()->Stretch());
    EXPECT_TRUE(grid->ColumnSize()->StretchAll());
    EXPECT_EQ(grid->ColWidths(0), 64);
    EXPECT_EQ(grid->ColWidths(1), c.first);
    EXPECT_EQ(grid->ColWidths(2), c.second);
    EXPECT_EQ(grid->ColWidths(3), c.third);
}

INSTANTIATE_TEST_SUITE_P(Widths, StretchWidthTest,
                         ::testing::Values(StretchCase{"Even", 301, 79, 79, 79},
                                           StretchCase{"OneOver", 302, 80, 79, 79},
                                           StretchCase{"TwoOver", 303, 80, 80, 79}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridScrollTest, TheStretchColumnTakesWhatTheOthersLeave) {
    grid->SetScrollBars(ssNone);
    grid->SetColCount(5);
    grid->StretchRightColumn();
    EXPECT_EQ(grid->ColWidths(4), 40) << "with Stretch off nothing changes";

    grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(grid->ColWidths(4), 300 - 4 * 40);
    // A width change elsewhere stretches again, once.
    grid->SetColWidths(1, 100);
    EXPECT_EQ(grid->ColWidths(4), 300 - 3 * 40 - 100);
    grid->ColumnSize()->SetStretchColumn(2);
    grid->SetColWidths(1, 50);
    EXPECT_EQ(grid->ColWidths(2), 300 - 40 - 50 - 40 - 80);
    // Columns wider than the grid give the stretch column back its default width.
    grid->SetColWidths(0, 400);
    EXPECT_EQ(grid->ColWidths(2), 40);
}

// Only an explicit stretch of a column past the count raises; count and width changes skip it.
TEST_F(GridScrollTest, AStretchColumnPastTheCountRaisesOnlyWhenAskedFor) {
    grid->SetScrollBars(ssNone);
    grid->SetColCount(5);
    grid->ColumnSize()->SetStretch(true);
    try {
        grid->ApplyColumnStretch(7, -1);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Stretch column index out of range");
    }
    grid->ColumnSize()->SetStretchColumn(7);
    EXPECT_NO_THROW(grid->SetColWidths(1, 60));
    EXPECT_NO_THROW(grid->SetColCount(6));
    EXPECT_EQ(grid->ColWidths(1), 60);
}

TEST_F(GridScrollTest, MouseSizingWithAllColumnSizeScalesTheOthers) {
    grid->SetColCount(5);
    grid->SetColWidths(2, 50);
    grid->MouseActions()->SetAllColumnSize(true);
    std::vector<Integer> ended;
    grid->OnEndColumnSize = [&](TObject*, Integer ACol) { ended.push_back(ACol); };
    grid->Colclicked = 2;
    grid->Colclickedsize = 50;
    grid->ColSized = true;
    grid->SetColWidths(2, 100);
    EXPECT_EQ(ended, std::vector<Integer>{2});
    EXPECT_EQ(grid->ColWidths(0), 40) << "the fixed column keeps its width";
    for (Integer c : {1, 3, 4})
        EXPECT_EQ(grid->ColWidths(c), 80) << c;
    EXPECT_EQ(grid->ColWidths(2), 100);
    EXPECT_EQ(grid->Colclicked, -1);
    EXPECT_FALSE(grid->ColSized);
}

TEST_F(GridScrollTest, OnUpdateColumnSizeMayChangeTheSizedWidth) {
    grid->OnUpdateColumnSize = [](TObject*, Integer, Integer& AWidth) { AWidth = 64; };
    grid->Colclicked = 3;
    grid->ColSized = true;
    grid->SetColWidths(3, 90);
    EXPECT_EQ(grid->ColWidths(3), 64);
    EXPECT_FALSE(grid->ColSized);
}

TEST_F(GridScrollTest, MouseSizingWithAllRowSizeScalesTheRows) {
    grid->SetRowCount(10);
    grid->SetRowHeights(0, 30);
    grid->MouseActions()->SetAllRowSize(true);
    Integer ended = -1;
    grid->OnEndRowSize = [&](TObject*, Integer ARow) { ended = ARow; };
    grid->Rowclicked = 3;
    grid->Rowclickedsize = 20;
    grid->RowSized = true;
    grid->SetRowHeights(3, 30);
    EXPECT_EQ(ended, 3);
    EXPECT_EQ(grid->RowHeights(0), 30) << "the fixed row keeps its height";
    for (Integer r = 1; r < 10; ++r)
        EXPECT_EQ(grid->RowHeights(r), 30) << r;
    EXPECT_EQ(grid->Rowclicked, -1);

    // A sizing that began at height 0 gives no scale: the other rows stay.
    grid->SetRowHeights(5, 0);
    grid->Rowclicked = 5;
    grid->Rowclickedsize = 0;
    grid->RowSized = true;
    grid->SetRowHeights(5, 25);
    EXPECT_EQ(grid->RowHeights(4), 30);
    EXPECT_EQ(grid->RowHeights(5), 25);
}

struct BorderCase {
    const char* name;
    Integer x, y;
    bool colSizing, rowSizing;
    bool expected;
};

class FixedSizingBorderTest : public GridScrollTest, public ::testing::WithParamInterface<BorderCase> {};

// Cells are 40 x 20 with lines of 1: column 1 spans x 41..81, row 1 spans y 21..41.
TEST_P(FixedSizingBorderTest, NearTheEdgeOfAFixedCell) {
    const BorderCase& c = GetParam();
    TGridOptions options = grid->Options();
    options.Exclude(goColSizing);
    options.Exclude(goRowSizing);
    if (c.colSizing)
        options.Include(goColSizing);
    if (c.rowSizing)
        options.Include(goRowSizing);
    grid->SetOptions(options);
    grid->SetRowCount(10);
    grid->SetFixedCols(0);
    EXPECT_EQ(grid->IsOnFixedSizingBorder(c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Points, FixedSizingBorderTest,
                         ::testing::Values(BorderCase{"HeaderColumnEdge", 83, 10, true, false, true},
                                           BorderCase{"HeaderMiddle", 60, 10, true, false, false},
                                           BorderCase{"HeaderWithoutColSizing", 83, 10, false, false, false},
                                           BorderCase{"FirstRowColumnEdge", 83, 30, true, false, true},
                                           BorderCase{"DeepRowColumnEdge", 83, 70, true, false, false},
                                           BorderCase{"FirstColumnRowEdgeWins", 39, 43, true, true, true},
                                           BorderCase{"FirstColumnAwayFromRowEdge", 39, 31, true, true,
                                                      false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The metro scroll bar

// The grid in its metro look: the bars along the right and bottom edges, 6 pixels thick.
class MetroBarTest : public GridScrollTest {
protected:
    void SetUp() override {
        GridScrollTest::SetUp();
        grid->SetScrollType(ssMetro);
        bar = grid->VertScrollControl();
        ASSERT_NE(bar, nullptr);
        Application->ProcessMessages();
        recorder = backend::CreateRecorder(10, 300);
        dc = CreateDeviceDC(recorder);
    }
    void TearDown() override {
        DeleteDC(dc);
        GridScrollTest::TearDown();
    }
    // The thumbs the bar paints: rectangles in its colour.
    int Thumbs(TScrollControl* control) {
        recorder->Clear();
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        const COLORREF rgb = ColorToRGB(control->Color());
        char colour[16];
        std::snprintf(colour, sizeof colour, "#%02X%02X%02X", static_cast<unsigned>(rgb & 0xFF),
                      static_cast<unsigned>((rgb >> 8) & 0xFF), static_cast<unsigned>((rgb >> 16) & 0xFF));
        const std::vector<std::string> calls = recorder->Calls();
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
            return call.rfind("Rectangle ", 0) == 0 && call.find(colour) != std::string::npos;
        }));
    }
    void Press(TScrollControl* control, int y) {
        control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
        control->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, y));
    }

    TScrollControl* bar = nullptr;
    std::shared_ptr<backend::Recorder> recorder;
    HDC dc = nullptr;
};

TEST_F(MetroBarTest, TheThumbIsAtLeast20PixelsAndStaysOnTheBar) {
    EXPECT_EQ(bar->Color(), TColor(0x00C0C0C0));
    EXPECT_EQ(bar->ScrollWidth(), 4);
    grid->SetRowCount(1);
    grid->SetFixedRows(0);
    Integer start = 0;
    Integer length = 0;
    bar->GetThumb(start, length);
    EXPECT_GE(length, 20);
    EXPECT_LE(start + length, bar->Height());

    grid->SetRowCount(100000);
    grid->SetTopRow(grid->RowCount() - grid->VisibleRowCount());
    bar->GetThumb(start, length);
    EXPECT_EQ(length, 20) << "a tiny share";
    EXPECT_EQ(start + length, bar->Height()) << "at the end, not past it";
    EXPECT_EQ(Thumbs(bar), 1);
}

TEST_F(MetroBarTest, NoThumbWhileEveryRowShows) {
    grid->SetRowCount(5);
    EXPECT_FALSE(bar->HasThumb());
    EXPECT_EQ(Thumbs(bar), 0);
    grid->SetRowCount(50);
    EXPECT_EQ(Thumbs(bar), 1);
}

TEST_F(MetroBarTest, ClicksBesideTheThumbPageWithinTheRows) {
    grid->SetRowCount(30);
    const Integer page = grid->VisibleRowCount();
    const Integer lastTop = grid->RowCount() - page;
    for (int click = 0; click < 5; ++click) {
        Press(bar, bar->Height() - 2);
        EXPECT_LE(grid->TopRow(), lastTop);
    }
    EXPECT_EQ(grid->TopRow(), lastTop);
    Press(bar, 1);
    EXPECT_EQ(grid->TopRow(), lastTop - page);
    for (int click = 0; click < 5; ++click)
        Press(bar, 1);
    EXPECT_EQ(grid->TopRow(), grid->FixedRows());
}

TEST_F(MetroBarTest, DraggingTheThumbMovesTheTopRow) {
    grid->SetRowCount(200);
    Integer start = 0;
    Integer length = 0;
    bar->GetThumb(start, length);
    const int y = start + length / 2;
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
    // A tenth of the bar below row 0 is a tenth of the 200 rows.
    const int tenth = (bar->Height() - grid->RowHeights(0)) / 10;
    bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, y + tenth));
    EXPECT_EQ(grid->TopRow(), 21);
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, y + 18));
    bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(2, y + 90));
    EXPECT_EQ(grid->TopRow(), 21) << "the drag ended";

    // A bar no longer than row 0 leaves no way to drag over: nothing moves.
    grid->SetRowHeights(0, 400);
    grid->SetTopRow(5);
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, bar->Height() - 5));
    bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 3));
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(2, 3));
    EXPECT_EQ(grid->TopRow(), 5);
}

TEST_F(MetroBarTest, ABarOutsideAGridPaintsNothingAndIgnoresTheMouse) {
    auto* loose = new TScrollControl(form);
    loose->SetParent(form);
    loose->SetBounds(350, 0, 6, 200);
    Application->ProcessMessages();
    EXPECT_EQ(loose->GetGrid(), nullptr);
    recorder->Clear();
    loose->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(Thumbs(loose), 0);
    const Integer top = grid->TopRow();
    Press(loose, 150);
    EXPECT_EQ(grid->TopRow(), top);
}

} // namespace
