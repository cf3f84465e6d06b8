// Tests of the SCROLLBAR class: its state through the SBM_ messages and the scroll-bar calls, the
// mouse on arrows, pages and thumb with repeat on the manual clock, the keyboard, and its look.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/winbutton.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class ScrollBarTest : public ControlTest {
protected:
    // A vertical bar 17 wide and 200 high: arrows of 17, a track of 166.
    HWND Bar(DWORD style = SBS_VERT) { return Child(u"ScrollBar", style, RECT{10, 10, 27, 210}); }

    // The scroll codes and positions the parent got from the bar.
    struct Scroll {
        WORD code;
        WORD pos;
        bool operator==(const Scroll&) const = default;
    };
    std::vector<Scroll> Scrolls(const MessageLog& log, HWND bar) {
        std::vector<Scroll> scrolls;
        for (const wintest::Record& r : log.Records())
            if (r.hwnd == FParent && (r.message == WM_VSCROLL || r.message == WM_HSCROLL) &&
                reinterpret_cast<HWND>(r.lParam) == bar)
                scrolls.push_back(Scroll{LOWORD(r.wParam), HIWORD(r.wParam)});
        return scrolls;
    }
    static void SetInfo(HWND bar, int minPos, int maxPos, UINT page, int pos) {
        SCROLLINFO info{sizeof info, SIF_ALL, minPos, maxPos, page, pos, 0};
        SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
};

TEST_F(ScrollBarTest, StateThroughMessagesAndCalls) {
    HWND bar = Bar();
    int minPos = -1;
    int maxPos = -1;
    SendMessageW(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&minPos), reinterpret_cast<LPARAM>(&maxPos));
    EXPECT_EQ(minPos, 0);
    EXPECT_EQ(maxPos, 100);
    EXPECT_EQ(SendMessageW(bar, SBM_SETRANGE, 10, 50), 0);
    // The position keeps within the range, and the old one is answered.
    EXPECT_EQ(SendMessageW(bar, SBM_SETPOS, 70, TRUE), 10);
    EXPECT_EQ(SendMessageW(bar, SBM_GETPOS, 0, 0), 50);
    // With a page the last position shows the last page whole: 50 - 10 + 1.
    SetInfo(bar, 10, 50, 10, 50);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 41);
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nMin, 10);
    EXPECT_EQ(info.nMax, 50);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nTrackPos, 41);
    // A page larger than the range is cut to it.
    SetInfo(bar, 0, 9, 50, 0);
    EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_TRUE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_BOTH));
    EXPECT_FALSE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_BOTH));
    EXPECT_EQ(SendMessageW(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBarTest, ArrowsAndPagesRepeatWhileHeld) {
    HWND bar = Bar();
    SetInfo(bar, 0, 100, 10, 0);
    MessageLog log;
    POINT down = ScreenPoint(bar, 8, 195);
    win32::input::MouseButton(win32::input::Button::Left, true, down.x, down.y);
    PumpInput();
    EXPECT_EQ(GetCapture(), bar);
    EXPECT_EQ(Scrolls(log, bar), (std::vector<Scroll>{{SB_LINEDOWN, 0}}));
    // The first repeat comes after 200 ms, the next ones every 50 ms.
    Clock::Advance(199);
    Pump();
    EXPECT_EQ(Scrolls(log, bar).size(), 1u);
    Clock::Advance(1);
    Pump();
    Clock::Advance(50);
    Pump();
    EXPECT_EQ(Scrolls(log, bar).size(), 3u);
    win32::input::MouseButton(win32::input::Button::Left, false, down.x, down.y);
    PumpInput();
    EXPECT_EQ(Scrolls(log, bar).back(), (Scroll{SB_ENDSCROLL, 0}));
    EXPECT_EQ(GetCapture(), nullptr);
    Clock::Advance(500);
    Pump();
    EXPECT_EQ(Scrolls(log, bar).size(), 4u);

    // Below the thumb pages down; above the up arrow lines up.
    log.Clear();
    Click(bar, 8, 150);
    Click(bar, 8, 3);
    EXPECT_EQ(Scrolls(log, bar),
              (std::vector<Scroll>{{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}, {SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}));
}

TEST_F(ScrollBarTest, DraggingTheThumb) {
    HWND bar = Bar(SBS_HORZ);
    MoveWindow(bar, 10, 10, 217, 17, TRUE);
    // A track of 183 with a thumb of 183 * 10 / 101 = 18: 165 pixels for 91 positions.
    SetInfo(bar, 0, 100, 10, 0);
    MessageLog log;
    POINT start = ScreenPoint(bar, 17 + 9, 8);
    win32::input::MouseButton(win32::input::Button::Left, true, start.x, start.y);
    PumpInput();
    EXPECT_TRUE(Scrolls(log, bar).empty());
    win32::input::MouseMove(start.x + 83, start.y);
    PumpInput();
    win32::input::MouseMove(start.x + 500, start.y);
    PumpInput();
    win32::input::MouseButton(win32::input::Button::Left, false, start.x + 500, start.y);
    PumpInput();
    // Half-way is 46 (83 * 91 / 165, rounded); past the end stops at the last position.
    EXPECT_EQ(Scrolls(log, bar),
              (std::vector<Scroll>{
                  {SB_THUMBTRACK, 46}, {SB_THUMBTRACK, 91}, {SB_THUMBPOSITION, 91}, {SB_ENDSCROLL, 0}}));
    // The bar does not move by itself: the parent sets the position.
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

// Each scrolling key sends its code when pressed and SB_ENDSCROLL when released.
TEST_F(ScrollBarTest, Keyboard) {
    HWND bar = Bar();
    SetFocus(bar);
    MessageLog log;
    for (int key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_HOME, VK_END, VK_RIGHT, VK_LEFT})
        Press(key);
    std::vector<Scroll> expected;
    for (WORD code :
         {SB_LINEDOWN, SB_LINEUP, SB_PAGEDOWN, SB_PAGEUP, SB_TOP, SB_BOTTOM, SB_LINEDOWN, SB_LINEUP}) {
        expected.push_back({code, 0});
        expected.push_back({SB_ENDSCROLL, 0});
    }
    EXPECT_EQ(Scrolls(log, bar), expected);

    // A held key repeats its code and ends once; keys that do not scroll send nothing, up or down.
    log.Clear();
    win32::input::Key(VK_NEXT, true);
    win32::input::Key(VK_NEXT, true);
    win32::input::Key(VK_NEXT, false);
    PumpInput();
    Press(VK_SPACE);
    Press('A');
    EXPECT_EQ(Scrolls(log, bar),
              (std::vector<Scroll>{{SB_PAGEDOWN, 0}, {SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}));
}

class ScrollBarLook : public ScrollBarTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = GetParam();
        win32::SetSystemSettings(settings);
        ScrollBarTest::SetUp();
    }
};

// The thumb is drawn where the position says, differently from the track around it.
TEST_P(ScrollBarLook, ThumbFollowsThePosition) {
    HWND bar = Bar();
    SetInfo(bar, 0, 100, 10, 0);
    Pump();
    HDC dc = GetDC(bar);
    COLORREF thumbTop = GetPixel(dc, 8, 25);
    COLORREF trackBottom = GetPixel(dc, 8, 170);
    ReleaseDC(bar, dc);
    EXPECT_NE(thumbTop, trackBottom);
    SetInfo(bar, 0, 100, 10, 91);
    Pump();
    dc = GetDC(bar);
    EXPECT_EQ(GetPixel(dc, 8, 25), trackBottom);
    EXPECT_EQ(GetPixel(dc, 8, 175), thumbTop);
    ReleaseDC(bar, dc);
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, ScrollBarLook, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Themed" : "Classic";
                         });

} // namespace
