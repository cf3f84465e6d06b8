// Focus, activation and capture rules; keyboard and mouse input through the input entry points.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win32/spy.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;
namespace input = win32::input;

namespace {

class WinInput : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }

    HWND TopLevel(RECT rect, DWORD style = WS_POPUP | WS_VISIBLE, Handler handler = nullptr) {
        Options o;
        o.style = style;
        o.rect = rect;
        o.handler = std::move(handler);
        return Create(o);
    }
    HWND Child(HWND parent, RECT rect, LPCWSTR className = nullptr, DWORD style = WS_CHILD | WS_VISIBLE) {
        Options o;
        o.style = style;
        o.parent = parent;
        o.rect = rect;
        o.className = className;
        return Create(o);
    }
};

TEST_F(WinInput, FocusMovesWithTheOtherWindowInWParam) {
    HWND top = TopLevel(RECT{0, 0, 200, 200});
    HWND a = Child(top, RECT{0, 0, 50, 50});
    HWND b = Child(top, RECT{60, 0, 110, 50});
    SetFocus(a);
    MessageLog log;
    log.Name(a, "a");
    log.Name(b, "b");
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_TRUE(log.Matches({{"a", WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(b)},
                             {"b", WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(a)}}));
    EXPECT_EQ(GetFocus(), b);

    // A disabled window cannot take the focus; disabling the focus window drops it.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), b);
    log.Clear();
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(log.Matches({{"b", WM_KILLFOCUS, Sent | WParam, 0}, {"b", WM_ENABLE, Sent | WParam, FALSE}}));

    // Hiding the focused child gives the focus to its parent.
    EnableWindow(a, TRUE);
    SetFocus(a);
    ShowWindow(a, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(WinInput, DialogTabItemsFollowTheWindowsAndWrap) {
    HWND top = TopLevel(RECT{0, 0, 300, 200});
    constexpr DWORD Stop = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    HWND a = Child(top, RECT{0, 0, 50, 50}, nullptr, Stop);
    HWND label = Child(top, RECT{60, 0, 110, 50});
    HWND box = Child(top, RECT{120, 0, 220, 100});
    SetWindowLongW(box, GWL_EXSTYLE, GetWindowLongW(box, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    HWND inner = Child(box, RECT{0, 0, 40, 40}, nullptr, Stop);
    HWND hidden = Child(top, RECT{230, 0, 260, 50}, nullptr, WS_CHILD | WS_TABSTOP);
    HWND disabled = Child(top, RECT{230, 60, 260, 90}, nullptr, Stop | WS_DISABLED);
    HWND last = Child(top, RECT{230, 100, 260, 130}, nullptr, Stop);
    EXPECT_NE(hidden, nullptr);
    EXPECT_NE(disabled, nullptr);

    EXPECT_EQ(GetNextDlgTabItem(top, a, FALSE), inner);
    EXPECT_EQ(GetNextDlgTabItem(top, inner, FALSE), last);
    EXPECT_EQ(GetNextDlgTabItem(top, last, FALSE), a);
    EXPECT_EQ(GetNextDlgTabItem(top, a, TRUE), last);
    EXPECT_EQ(GetNextDlgTabItem(top, last, TRUE), inner);
    // A start that is no tab stop steps from where it stands; no start gives the first or the last.
    EXPECT_EQ(GetNextDlgTabItem(top, label, FALSE), inner);
    EXPECT_EQ(GetNextDlgTabItem(top, label, TRUE), a);
    EXPECT_EQ(GetNextDlgTabItem(top, nullptr, FALSE), a);
    EXPECT_EQ(GetNextDlgTabItem(top, nullptr, TRUE), last);
    // The only tab stop answers itself.
    EXPECT_EQ(GetNextDlgTabItem(box, inner, FALSE), inner);
    EXPECT_EQ(GetNextDlgTabItem(nullptr, a, FALSE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WinInput, ActivationSequenceBetweenTopLevelWindows) {
    HWND first = TopLevel(RECT{0, 0, 100, 100});
    HWND second = TopLevel(RECT{200, 0, 300, 100}, WS_POPUP);
    EXPECT_EQ(GetActiveWindow(), first);
    ShowWindow(second, SW_SHOWNOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), first);
    MessageLog log;
    log.Name(first, "first");
    log.Name(second, "second");
    EXPECT_EQ(SetActiveWindow(second), first);
    EXPECT_TRUE(log.Matches({
        {"second", WM_WINDOWPOSCHANGING, Sent | Optional},
        {"second", WM_WINDOWPOSCHANGED, Sent | Optional},
        {"first", WM_NCACTIVATE, Sent | WParam, FALSE},
        {"first", WM_ACTIVATE, Sent | WParam | LParam, WA_INACTIVE, reinterpret_cast<LPARAM>(second)},
        {"second", WM_NCACTIVATE, Sent | WParam, TRUE},
        {"second", WM_ACTIVATE, Sent | WParam | LParam, WA_ACTIVE, reinterpret_cast<LPARAM>(first)},
        {"first", WM_KILLFOCUS, Sent | DefProc},
        {"second", WM_SETFOCUS, Sent | DefProc},
    }));
    EXPECT_EQ(GetFocus(), second);
    EXPECT_EQ(GetForegroundWindow(), second);

    // The desktop taking the focus away deactivates the application: every window hears of it.
    log.Clear();
    input::DesktopActivated(nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(log.Matches({
        {"second", WM_NCACTIVATE, Sent | WParam, FALSE},
        {"second", WM_ACTIVATE, Sent | WParam, WA_INACTIVE},
        {"second", WM_ACTIVATEAPP, Sent | WParam, FALSE}, // in z-order
        {"first", WM_ACTIVATEAPP, Sent | WParam, FALSE},
        {"second", WM_KILLFOCUS},
    }));
    input::DesktopActivated(first);
    EXPECT_EQ(GetActiveWindow(), first);
}

TEST_F(WinInput, ClickingActivatesUnlessTheWindowSaysNoActivate) {
    HWND owner = TopLevel(RECT{0, 0, 100, 100});
    HWND other = TopLevel(RECT{200, 0, 300, 100}, WS_POPUP);
    ShowWindow(other, SW_SHOWNA);
    // A drop-down: owned by the form, and answering MA_NOACTIVATE so that the form stays active.
    Options dropDown;
    dropDown.style = WS_POPUP | WS_BORDER;
    dropDown.exStyle = WS_EX_TOOLWINDOW;
    dropDown.parent = owner;
    dropDown.rect = RECT{0, 100, 100, 160};
    dropDown.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_MOUSEACTIVATE)
            return MA_NOACTIVATE;
        return std::nullopt;
    };
    HWND popup = Create(dropDown);
    ShowWindow(popup, SW_SHOWNA);
    Pump();
    ASSERT_EQ(GetActiveWindow(), owner);

    MessageLog log;
    log.Name(popup, "popup");
    input::Click(input::Button::Left, 50, 130);
    Pump();
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_TRUE(
        log.Matches({{"popup", WM_MOUSEACTIVATE, Sent | LParam, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
                     {"popup", WM_LBUTTONDOWN, Posted | WParam | LParam, MK_LBUTTON, MAKELPARAM(49, 29)},
                     {"popup", WM_LBUTTONUP, Posted | WParam, 0}}));

    log.Name(other, "other");
    log.Name(owner, "owner");
    log.Clear();
    input::Click(input::Button::Left, 250, 50);
    Pump();
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_TRUE(log.Matches({
        {"other", WM_MOUSEACTIVATE, Sent | WParam | LParam, reinterpret_cast<WPARAM>(other),
         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
        {"other", WM_WINDOWPOSCHANGING, Sent | Optional},
        {"other", WM_WINDOWPOSCHANGED, Sent | Optional},
        {"owner", WM_NCACTIVATE, Sent | WParam, FALSE},
        {"owner", WM_ACTIVATE, Sent | WParam, WA_INACTIVE},
        {"other", WM_NCACTIVATE, Sent | WParam, TRUE},
        {"other", WM_ACTIVATE, Sent | WParam, WA_CLICKACTIVE},
        {"owner", WM_KILLFOCUS, Sent | DefProc},
        {"other", WM_SETFOCUS, Sent | DefProc},
        {"other", WM_LBUTTONDOWN, Posted},
        {"other", WM_LBUTTONUP, Posted},
    }));
}

TEST_F(WinInput, CaptureRoutesTheMouseAndReportsItsLoss) {
    HWND top = TopLevel(RECT{0, 0, 300, 200});
    HWND a = Child(top, RECT{10, 10, 60, 60});
    HWND b = Child(top, RECT{100, 10, 150, 60});
    MessageLog log;
    log.Name(a, "a");
    log.Name(b, "b");
    EXPECT_EQ(SetCapture(a), nullptr);
    EXPECT_EQ(GetCapture(), a);
    input::MouseButton(input::Button::Left, true, 120, 20); // over b, but a has the mouse
    Pump();
    EXPECT_TRUE(log.Matches({{"a", WM_LBUTTONDOWN, Posted | LParam, 0, MAKELPARAM(110, 10)}}));

    log.Clear();
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_TRUE(log.Matches({{"a", WM_CAPTURECHANGED, Sent | LParam, 0, reinterpret_cast<LPARAM>(b)}}));
    log.Clear();
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(log.Matches({{"b", WM_CAPTURECHANGED, Sent | LParam, 0, 0}}));

    // WM_CANCELMODE ends the capture through DefWindowProc; disabling the window ends it too.
    SetCapture(a);
    SendMessageW(a, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(b);
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetCapture(), nullptr);
    input::MouseButton(input::Button::Left, false, 120, 20);
}

TEST_F(WinInput, DoubleClicksByTimeDistanceAndClass) {
    struct Case {
        const char* name;
        bool doubleClickClass;
        UInt64 delay;
        int dx;
        UINT second;
    };
    const Case cases[] = {
        {"quick, same place", true, 100, 0, WM_LBUTTONDBLCLK},
        {"at the time limit", true, 500, 0, WM_LBUTTONDBLCLK},
        {"too slow", true, 501, 0, WM_LBUTTONDOWN},
        {"within the area", true, 100, 2, WM_LBUTTONDBLCLK},
        {"too far", true, 100, 3, WM_LBUTTONDOWN},
        {"class without CS_DBLCLKS", false, 100, 0, WM_LBUTTONDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetWindowManager();
        HWND top = TopLevel(RECT{0, 0, 200, 200});
        HWND target = Child(top, RECT{0, 0, 100, 100}, c.doubleClickClass ? TestClass() : PlainClass());
        Pump();
        MessageLog log;
        log.Name(target, "t");
        input::Click(input::Button::Left, 40, 40);
        Clock::Advance(c.delay);
        input::Click(input::Button::Left, 40 + c.dx, 40);
        Pump();
        std::vector<std::string> got = log.Messages("t");
        ASSERT_EQ(got.size(), 4u);
        EXPECT_EQ(got[2], win32::MessageName(c.second));
    }
    // A third quick click starts a new pair.
    ResetWindowManager();
    HWND top = TopLevel(RECT{0, 0, 200, 200});
    Pump();
    MessageLog log;
    log.Name(top, "t");
    for (int i = 0; i < 3; ++i)
        input::Click(input::Button::Left, 40, 40);
    Pump();
    EXPECT_EQ(log.Messages("t"),
              (std::vector<std::string>{"WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_LBUTTONDBLCLK", "WM_LBUTTONUP",
                                        "WM_LBUTTONDOWN", "WM_LBUTTONUP"}));
}

TEST_F(WinInput, KeyMessagesCarryWin32LParamBits) {
    struct Case {
        const char* name;
        int vk;
        bool down;
        UINT message;
        LPARAM lParam;
    };
    const LPARAM up = KF_REPEAT_BIT | KF_UP_BIT;
    const Case cases[] = {
        {"letter", 'A', true, WM_KEYDOWN, 1 | (0x1E << 16)},
        {"letter repeated", 'A', true, WM_KEYDOWN, 1 | (0x1E << 16) | KF_REPEAT_BIT},
        {"letter released", 'A', false, WM_KEYUP, 1 | (0x1E << 16) | up},
        {"cursor key is extended", VK_RIGHT, true, WM_KEYDOWN, 1 | (0x4D << 16) | KF_EXTENDED_BIT},
        {"keypad digit is not", VK_NUMPAD6, true, WM_KEYDOWN, 1 | (0x4D << 16)},
        {"keypad divide is", VK_DIVIDE, true, WM_KEYDOWN, 1 | (0x35 << 16) | KF_EXTENDED_BIT},
        {"F10 is a system key", VK_F10, true, WM_SYSKEYDOWN, 1 | (0x44 << 16)},
    };
    HWND top = TopLevel(RECT{0, 0, 100, 100});
    Pump();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageLog log;
        log.Name(top, "w");
        input::Key(c.vk, c.down);
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, c.message);
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(c.vk));
        EXPECT_EQ(msg.lParam, c.lParam);
    }
    // Alt held: system keys with the context bit.
    input::Key(VK_MENU, true);
    input::Key('F', true);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSKEYDOWN);
    EXPECT_TRUE(msg.lParam & KF_ALTDOWN_BIT);
    input::Key('F', false);
    input::Key(VK_MENU, false);
    Pump();
}

TEST_F(WinInput, TranslateMessageTypesCharactersAndKeyStateFollowsTheQueue) {
    HWND top = TopLevel(RECT{0, 0, 100, 100});
    Pump();
    MessageLog log;
    log.Name(top, "w");
    auto typed = [&] {
        std::u16string text;
        for (const Record& r : log.Records())
            if (r.message == WM_CHAR)
                text += static_cast<char16_t>(r.wParam);
        return text;
    };
    input::PressKey('A');
    input::Key(VK_SHIFT, true);
    input::PressKey('B');
    input::PressKey('1');
    input::Key(VK_SHIFT, false);
    input::PressKey(VK_OEM_PERIOD);
    input::PressKey(VK_NUMPAD7);
    input::PressKey(VK_CAPITAL);
    input::PressKey('C');
    input::PressKey(VK_CAPITAL);
    input::Key(VK_CONTROL, true);
    input::PressKey('V');
    input::Key(VK_CONTROL, false);
    input::TypeCharacter(u'\u00e9');
    input::PressKey(VK_RETURN);
    // The key state changes as the messages are read, not as the keys arrive.
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    Pump();
    EXPECT_EQ(typed(), u"aB!.7C\x16\u00e9\r");
    EXPECT_FALSE(GetKeyState(VK_CONTROL) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_CAPITAL) & 1);

    input::Key(VK_SHIFT, true);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_LSHIFT) & 0x8000);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    input::Key(VK_SHIFT, false);
    Pump();
}

TEST_F(WinInput, WheelGoesToTheFocusAndUpToTheParent) {
    HWND top = TopLevel(RECT{0, 0, 200, 200});
    HWND child = Child(top, RECT{0, 0, 50, 50});
    SetFocus(child);
    Pump();
    MessageLog log;
    log.Name(top, "top");
    log.Name(child, "child");
    input::MouseWheel(-WHEEL_DELTA, false, 150, 150);
    Pump();
    EXPECT_TRUE(log.Matches({
        {"child", WM_MOUSEWHEEL, Posted | WParam | LParam, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
         MAKELPARAM(150, 150)},
        {"top", WM_MOUSEWHEEL, Sent | WParam, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
    }));
    UINT lines = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    EXPECT_EQ(lines, 3u);
}

TEST_F(WinInput, TrackMouseEventReportsLeaving) {
    HWND top = TopLevel(RECT{0, 0, 200, 200});
    HWND a = Child(top, RECT{0, 0, 50, 50});
    Pump();
    input::MouseMove(10, 10);
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, a, HOVER_DEFAULT};
    ASSERT_TRUE(TrackMouseEvent(&track));
    MessageLog log;
    log.Name(a, "a");
    input::MouseMove(20, 20);
    Pump();
    EXPECT_TRUE(log.Records().empty());
    input::MouseMove(100, 100);
    Pump();
    EXPECT_EQ(log.Messages("a"), std::vector<std::string>{"WM_MOUSELEAVE"});
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    EXPECT_EQ(query.hwndTrack, nullptr);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, 100);

    // Hovering: the mouse stays still (within two pixels) for the hover time.
    input::MouseMove(20, 20);
    TRACKMOUSEEVENT hover{sizeof hover, TME_HOVER, a, 300};
    ASSERT_TRUE(TrackMouseEvent(&hover));
    log.Clear();
    Clock::Advance(200);
    input::MouseMove(30, 30);
    Clock::Advance(200);
    Pump();
    EXPECT_TRUE(log.Records().empty());
    input::MouseMove(31, 31);
    Clock::Advance(100);
    Pump();
    EXPECT_TRUE(log.Matches({{"a", WM_MOUSEHOVER, Posted | LParam, 0, MAKELPARAM(31, 31)}}));
    log.Clear();
    Clock::Advance(1000);
    Pump();
    EXPECT_TRUE(log.Records().empty());
}

} // namespace

// The desktop reports where it shows a top-level window: the client area of a window it frames (a
// caption), the whole window otherwise. A report of the place the window already has changes nothing;
// a moved or sized one moves the window with it.
TEST_F(WinInput, DesktopMovesFollowWhatTheDesktopShows) {
    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {"bare popup", WS_POPUP, 0},
        {"popup with a plain border", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW},
        {"popup with a dialog frame", WS_POPUP | WS_DLGFRAME, 0},
        {"popup with a sizing frame", WS_POPUP | WS_THICKFRAME, 0},
        {"bordered popup with a client edge", WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE},
        {"captioned form", WS_OVERLAPPEDWINDOW, 0},
        {"captioned dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options o;
        o.style = c.style | WS_VISIBLE;
        o.exStyle = c.exStyle;
        o.rect = RECT{100, 80, 300, 230};
        HWND hwnd = Create(o);
        bool framed = (c.style & WS_CAPTION) == WS_CAPTION;
        RECT shown{};
        if (framed) {
            GetClientRect(hwnd, &shown);
            MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&shown), 2);
        } else {
            GetWindowRect(hwnd, &shown);
        }
        for (int repeat = 0; repeat < 3; ++repeat)
            input::DesktopMoved(hwnd, shown);
        RECT r{};
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.left, 100);
        EXPECT_EQ(r.top, 80);
        EXPECT_EQ(r.right, 300);
        EXPECT_EQ(r.bottom, 230);

        OffsetRect(&shown, 15, -10);
        shown.right += 20;
        input::DesktopMoved(hwnd, shown);
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.left, 115);
        EXPECT_EQ(r.top, 70);
        EXPECT_EQ(r.right, 335);
        EXPECT_EQ(r.bottom, 220);
        DestroyWindow(hwnd);
    }
}
