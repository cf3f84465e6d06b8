// Tests of the track bar class: its state through the TBM_ messages, the scroll codes the parent hears
// from the keyboard, from paging clicks repeating on the manual clock and from a dragged thumb, and its
// look in both painters.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/sysconfig.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class TrackBarTest : public ControlTest {
protected:
    HWND Bar(DWORD style = 0, RECT rect = RECT{10, 10, 210, 50}) {
        return Child(TRACKBAR_CLASSW, style, rect);
    }

    // The scroll codes and positions the parent got from the bar.
    struct Scroll {
        WORD code;
        WORD pos;
        bool operator==(const Scroll&) const = default;
    };
    std::vector<Scroll> Scrolls(const MessageLog& log, HWND bar, UINT message = WM_HSCROLL) {
        std::vector<Scroll> scrolls;
        for (const wintest::Record& r : log.Records())
            if (r.hwnd == FParent && r.message == message && reinterpret_cast<HWND>(r.lParam) == bar)
                scrolls.push_back(Scroll{LOWORD(r.wParam), HIWORD(r.wParam)});
        return scrolls;
    }
    static int Pos(HWND bar) { return static_cast<int>(SendMessageW(bar, TBM_GETPOS, 0, 0)); }
    static RECT Thumb(HWND bar) {
        RECT rect{};
        SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    static RECT Channel(HWND bar) {
        RECT rect{};
        SendMessageW(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    static POINT Centre(const RECT& rect) {
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
};

TEST_F(TrackBarTest, StateThroughMessages) {
    HWND bar = Bar();
    EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMAX, 0, 0), 100);
    EXPECT_EQ(SendMessageW(bar, TBM_GETPAGESIZE, 0, 0), 20) << "a fifth of the range";
    EXPECT_EQ(SendMessageW(bar, TBM_GETLINESIZE, 0, 0), 1);

    // The position keeps inside the range, also when the range moves under it.
    SendMessageW(bar, TBM_SETPOS, TRUE, 150);
    EXPECT_EQ(Pos(bar), 100);
    SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(10, 50));
    EXPECT_EQ(Pos(bar), 50);
    EXPECT_EQ(SendMessageW(bar, TBM_GETPAGESIZE, 0, 0), 8);
    SendMessageW(bar, TBM_SETRANGEMIN, TRUE, -20);
    SendMessageW(bar, TBM_SETRANGEMAX, TRUE, -5);
    EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0), -20);
    EXPECT_EQ(Pos(bar), -5);
    SendMessageW(bar, TBM_SETPOS, TRUE, -100);
    EXPECT_EQ(Pos(bar), -20);

    // A page size of the caller's stays when the range changes; both sizes answer the old value.
    EXPECT_EQ(SendMessageW(bar, TBM_SETPAGESIZE, 0, 3), 3);
    EXPECT_EQ(SendMessageW(bar, TBM_SETLINESIZE, 0, 2), 1);
    SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    EXPECT_EQ(SendMessageW(bar, TBM_GETPAGESIZE, 0, 0), 3);

    SendMessageW(bar, TBM_SETSEL, TRUE, MAKELPARAM(20, 40));
    EXPECT_EQ(SendMessageW(bar, TBM_GETSELSTART, 0, 0), 20);
    EXPECT_EQ(SendMessageW(bar, TBM_GETSELEND, 0, 0), 40);
    SendMessageW(bar, TBM_CLEARSEL, TRUE, 0);
    EXPECT_EQ(SendMessageW(bar, TBM_GETSELEND, 0, 0), 0);
    EXPECT_EQ(SendMessageW(bar, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(TrackBarTest, TickMarks) {
    struct Case {
        const char* name;
        DWORD style;
        int freq;
        std::vector<int> set; // TBM_SETTIC calls
        LRESULT count;
    };
    const Case cases[] = {
        {"ends only", 0, 1, {}, 2},
        {"set ones inside the range", 0, 1, {25, 50, 150, -1}, 4},
        {"auto every ten", TBS_AUTOTICKS, 10, {}, 11},
        {"auto every thirty", TBS_AUTOTICKS, 30, {}, 5},
        {"none", TBS_NOTICKS, 1, {25}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND bar = Bar(c.style);
        SendMessageW(bar, TBM_SETTICFREQ, static_cast<WPARAM>(c.freq), 0);
        for (int tic : c.set)
            SendMessageW(bar, TBM_SETTIC, 0, tic);
        EXPECT_EQ(SendMessageW(bar, TBM_GETNUMTICS, 0, 0), c.count);
        DestroyWindow(bar);
    }
    HWND bar = Bar();
    EXPECT_FALSE(SendMessageW(bar, TBM_SETTIC, 0, 101));
    SendMessageW(bar, TBM_SETTIC, 0, 60);
    SendMessageW(bar, TBM_SETTIC, 0, 30);
    EXPECT_EQ(SendMessageW(bar, TBM_GETTIC, 0, 0), 30) << "in order";
    EXPECT_EQ(SendMessageW(bar, TBM_GETTIC, 2, 0), -1);
    SendMessageW(bar, TBM_CLEARTICS, TRUE, 0);
    EXPECT_EQ(SendMessageW(bar, TBM_GETNUMTICS, 0, 0), 2);
}

TEST_F(TrackBarTest, ThumbFollowsThePositionAlongTheChannel) {
    HWND bar = Bar();
    RECT channel = Channel(bar);
    EXPECT_GT(channel.right - channel.left, 150);
    EXPECT_EQ(Centre(Thumb(bar)).x, channel.left);
    SendMessageW(bar, TBM_SETPOS, TRUE, 100);
    EXPECT_EQ(Centre(Thumb(bar)).x, channel.right - 1);
    SendMessageW(bar, TBM_SETPOS, TRUE, 50);
    EXPECT_NEAR(Centre(Thumb(bar)).x, (channel.left + channel.right) / 2, 1);

    // Only a fixed-length bar takes another thumb length; a vertical bar runs its channel downwards.
    SendMessageW(bar, TBM_SETTHUMBLENGTH, 12, 0);
    EXPECT_EQ(SendMessageW(bar, TBM_GETTHUMBLENGTH, 0, 0), 21);
    HWND fixed = Bar(TBS_FIXEDLENGTH);
    SendMessageW(fixed, TBM_SETTHUMBLENGTH, 12, 0);
    EXPECT_EQ(Thumb(fixed).bottom - Thumb(fixed).top, 12);
    HWND vertical = Bar(TBS_VERT, RECT{250, 10, 290, 210});
    SendMessageW(vertical, TBM_SETPOS, TRUE, 100);
    EXPECT_EQ(Centre(Thumb(vertical)).y, Channel(vertical).bottom - 1);
    HWND noThumb = Bar(TBS_NOTHUMB);
    RECT none = Thumb(noThumb);
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST_F(TrackBarTest, KeysMoveAndTellTheParent) {
    HWND bar = Bar();
    SendMessageW(bar, TBM_SETPAGESIZE, 0, 10);
    SetFocus(bar);
    MessageLog log;
    Press(VK_RIGHT);
    Press(VK_NEXT);
    Press(VK_LEFT);
    EXPECT_EQ(Pos(bar), 10);
    Press(VK_END);
    Press(VK_RIGHT); // at the end: nothing moves and nobody hears but the key going up
    Press(VK_HOME);
    EXPECT_EQ(Pos(bar), 0);
    EXPECT_EQ(Scrolls(log, bar), (std::vector<Scroll>{{TB_LINEDOWN, 0},
                                                      {TB_ENDTRACK, 0},
                                                      {TB_PAGEDOWN, 0},
                                                      {TB_ENDTRACK, 0},
                                                      {TB_LINEUP, 0},
                                                      {TB_ENDTRACK, 0},
                                                      {TB_BOTTOM, 0},
                                                      {TB_ENDTRACK, 0},
                                                      {TB_ENDTRACK, 0},
                                                      {TB_TOP, 0},
                                                      {TB_ENDTRACK, 0}}));

    // Down is right unless the style says down is left; a vertical bar tells through WM_VSCROLL.
    HWND left = Bar(TBS_DOWNISLEFT, RECT{10, 60, 210, 100});
    SendMessageW(left, TBM_SETPOS, TRUE, 50);
    SetFocus(left);
    Press(VK_DOWN);
    EXPECT_EQ(Pos(left), 49);
    HWND vertical = Bar(TBS_VERT, RECT{250, 10, 290, 210});
    SetFocus(vertical);
    log.Clear();
    Press(VK_DOWN);
    EXPECT_EQ(Pos(vertical), 1);
    EXPECT_EQ(Scrolls(log, vertical, WM_VSCROLL), (std::vector<Scroll>{{TB_LINEDOWN, 0}, {TB_ENDTRACK, 0}}));
}

TEST_F(TrackBarTest, HeldClickOnTheChannelPagesUntilTheThumbArrives) {
    HWND bar = Bar();
    SendMessageW(bar, TBM_SETPAGESIZE, 0, 10);
    RECT channel = Channel(bar);
    // Three quarters along: pages of ten reach it after 75 / 10 rounded up.
    POINT target{channel.left + (channel.right - channel.left) * 3 / 4, Centre(Thumb(bar)).y};
    MessageLog log;
    POINT screen = ScreenPoint(bar, target.x, target.y);
    win32::input::MouseButton(win32::input::Button::Left, true, screen.x, screen.y);
    PumpInput();
    EXPECT_EQ(GetFocus(), bar);
    EXPECT_EQ(GetCapture(), bar);
    EXPECT_EQ(Pos(bar), 10);
    Clock::Advance(499);
    Pump();
    EXPECT_EQ(Pos(bar), 10) << "the first repeat waits half a second";
    Clock::Advance(1);
    Pump();
    for (int i = 0; i < 10; ++i) {
        Clock::Advance(100);
        Pump();
    }
    EXPECT_EQ(Pos(bar), 80);
    win32::input::MouseButton(win32::input::Button::Left, false, screen.x, screen.y);
    PumpInput();
    std::vector<Scroll> expected(8, Scroll{TB_PAGEDOWN, 0});
    expected.push_back({TB_ENDTRACK, 0});
    EXPECT_EQ(Scrolls(log, bar), expected);
    EXPECT_EQ(GetCapture(), nullptr);

    // Before the thumb pages back.
    log.Clear();
    Click(bar, channel.left + 2, target.y);
    EXPECT_EQ(Pos(bar), 70);
    EXPECT_EQ(Scrolls(log, bar), (std::vector<Scroll>{{TB_PAGEUP, 0}, {TB_ENDTRACK, 0}}));
}

TEST_F(TrackBarTest, DraggingTheThumb) {
    HWND bar = Bar();
    RECT channel = Channel(bar);
    POINT grip = Centre(Thumb(bar));
    MessageLog log;
    POINT start = ScreenPoint(bar, grip.x, grip.y);
    win32::input::MouseButton(win32::input::Button::Left, true, start.x, start.y);
    PumpInput();
    EXPECT_TRUE(Scrolls(log, bar).empty()) << "catching the thumb says nothing yet";
    int half = (channel.right - 1 - channel.left) / 2;
    win32::input::MouseMove(start.x + half, start.y + 30); // the pointer may wander off the channel
    PumpInput();
    EXPECT_EQ(Pos(bar), 50);
    win32::input::MouseMove(start.x + 1000, start.y);
    PumpInput();
    win32::input::MouseButton(win32::input::Button::Left, false, start.x + 1000, start.y);
    PumpInput();
    // Unlike a scroll bar, the track bar moves itself.
    EXPECT_EQ(Pos(bar), 100);
    EXPECT_EQ(Scrolls(log, bar),
              (std::vector<Scroll>{
                  {TB_THUMBTRACK, 50}, {TB_THUMBTRACK, 100}, {TB_THUMBPOSITION, 100}, {TB_ENDTRACK, 0}}));
}

class TrackBarLook : public TrackBarTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = GetParam();
        win32::SetSystemSettings(settings);
        TrackBarTest::SetUp();
    }
};

// The thumb is drawn where the position says, differently from the background and the channel.
TEST_P(TrackBarLook, ThumbIsDrawnAtThePosition) {
    HWND bar = Bar(TBS_NOTICKS);
    SendMessageW(bar, TBM_SETPOS, TRUE, 10);
    POINT spot{Centre(Thumb(bar)).x, Thumb(bar).top};
    SendMessageW(bar, TBM_SETPOS, TRUE, 100);
    Pump();
    HDC dc = GetDC(bar);
    COLORREF background = GetPixel(dc, spot.x, spot.y);
    ReleaseDC(bar, dc);
    SendMessageW(bar, TBM_SETPOS, TRUE, 10);
    Pump();
    dc = GetDC(bar);
    EXPECT_NE(GetPixel(dc, spot.x, spot.y), background);
    ReleaseDC(bar, dc);
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, TrackBarLook, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Themed" : "Classic";
                         });

} // namespace
