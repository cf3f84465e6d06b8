// Window scroll bars: their state by message, and operating them with the mouse.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;
namespace input = win32::input;

namespace {

class WinScroll : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }

    // A 200 x 100 popup at (100, 100) that records its WM_VSCROLL codes as "code:pos".
    HWND MakeScrolled(std::vector<std::string>& scrolls, DWORD style = WS_POPUP | WS_VISIBLE | WS_VSCROLL) {
        Options o;
        o.style = style;
        o.rect = RECT{100, 100, 300, 200};
        o.handler = [&scrolls](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_VSCROLL)
                scrolls.push_back(std::to_string(LOWORD(wParam)) + ":" +
                                  std::to_string(static_cast<short>(HIWORD(wParam))));
            return std::nullopt;
        };
        HWND hwnd = Create(o);
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
        SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
        Pump();
        return hwnd;
    }
};

std::string Code(WORD code, int pos = 0) {
    return std::to_string(code) + ":" + std::to_string(pos);
}

TEST_F(WinScroll, ScrollInfoShowsHidesAndClamps) {
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{0, 0, 200, 100};
    HWND hwnd = Create(o);
    MessageLog log;
    log.Name(hwnd, "w");
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    // A range larger than the page shows the bar: the client area narrows and the window hears of it.
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(log.Matches({{"w", WM_STYLECHANGING, Sent | Optional},
                             {"w", WM_STYLECHANGED, Sent | Optional},
                             {"w", WM_WINDOWPOSCHANGING},
                             {"w", WM_NCCALCSIZE, Sent | WParam, TRUE},
                             {"w", WM_WINDOWPOSCHANGED},
                             {"w", WM_SIZE, Sent | DefProc | LParam, 0, MAKELPARAM(183, 100)}}));

    // The position stops where the last page is fully shown.
    EXPECT_EQ(SetScrollPos(hwnd, SB_VERT, 500, TRUE), 0);
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 90);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 99);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nTrackPos, 90);

    // A range that fits in the page hides the bar, unless the caller asks to keep it disabled.
    info.fMask = SIF_RANGE;
    info.nMax = 5;
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
    info.fMask = SIF_RANGE | SIF_DISABLENOSCROLL;
    SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);

    int low = -1;
    int high = -1;
    SetScrollRange(hwnd, SB_HORZ, 3, 30, FALSE);
    EXPECT_TRUE(GetScrollRange(hwnd, SB_HORZ, &low, &high));
    EXPECT_EQ(low, 3);
    EXPECT_EQ(high, 30);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL);
    ShowScrollBar(hwnd, SB_BOTH, FALSE);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));

    HWND plain = Create(WithStyle(WS_POPUP));
    SCROLLINFO none{sizeof none, SIF_POS, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetScrollInfo(plain, SB_VERT, &none));
    EXPECT_EQ(GetLastError(), ERROR_NO_SCROLLBARS);
}

TEST_F(WinScroll, ArrowsAndPagesByMouseWithRepeat) {
    std::vector<std::string> scrolls;
    HWND hwnd = MakeScrolled(scrolls);
    RECT window;
    GetWindowRect(hwnd, &window);
    int x = window.right - 8;
    MessageLog log;
    log.Name(hwnd, "w");

    // The down arrow: one line at once, then repeats while held (first after 200 ms, then every 50 ms).
    input::MouseButton(input::Button::Left, true, x, window.bottom - 5);
    Pump();
    EXPECT_EQ(scrolls, std::vector<std::string>{Code(SB_LINEDOWN)});
    Clock::Advance(200);
    Pump();
    Clock::Advance(50);
    Pump();
    EXPECT_EQ(scrolls.size(), 3u);
    input::MouseButton(input::Button::Left, false, x, window.bottom - 5);
    Pump();
    EXPECT_EQ(scrolls.back(), Code(SB_ENDSCROLL));
    Clock::Advance(500);
    Pump();
    EXPECT_EQ(scrolls.size(), 4u);
    // The clicks never reached the window as client messages: the system tracked them.
    EXPECT_EQ(log.Messages("w")[0], "WM_NCLBUTTONDOWN");

    // Below the thumb: a page down.
    scrolls.clear();
    input::Click(input::Button::Left, x, window.top + 70);
    Pump();
    EXPECT_EQ(scrolls, (std::vector<std::string>{Code(SB_PAGEDOWN), Code(SB_ENDSCROLL)}));
    // Up arrow.
    scrolls.clear();
    input::Click(input::Button::Left, x, window.top + 5);
    Pump();
    EXPECT_EQ(scrolls, (std::vector<std::string>{Code(SB_LINEUP), Code(SB_ENDSCROLL)}));
}

TEST_F(WinScroll, DraggingTheThumbTracksAndSetsThePosition) {
    std::vector<std::string> scrolls;
    HWND hwnd = MakeScrolled(scrolls);
    RECT window;
    GetWindowRect(hwnd, &window);
    int x = window.right - 8;
    int arrow = GetSystemMetrics(SM_CYVSCROLL);
    // Track of 66 pixels, thumb of 8 (the page is too small for more): 58 pixels for 90 positions.
    int grab = window.top + arrow + 3;
    input::MouseButton(input::Button::Left, true, x, grab);
    input::MouseMove(x, grab + 29);
    Pump();
    SCROLLINFO info{sizeof info, SIF_TRACKPOS | SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd, SB_VERT, &info);
    EXPECT_EQ(info.nTrackPos, 45);
    EXPECT_EQ(info.nPos, 0);
    input::MouseMove(x, grab + 500);
    input::MouseButton(input::Button::Left, false, x, grab + 500);
    Pump();
    EXPECT_EQ(scrolls, (std::vector<std::string>{Code(SB_THUMBTRACK, 45), Code(SB_THUMBTRACK, 90),
                                                 Code(SB_THUMBPOSITION, 90), Code(SB_ENDSCROLL)}));

    // Escape cancels a drag.
    scrolls.clear();
    input::MouseButton(input::Button::Left, true, x, grab);
    input::PressKey(VK_ESCAPE);
    input::MouseMove(x, grab + 20);
    Pump();
    EXPECT_EQ(scrolls, std::vector<std::string>{Code(SB_ENDSCROLL)});
    input::MouseButton(input::Button::Left, false, x, grab + 20);
    Pump();
}

} // namespace
