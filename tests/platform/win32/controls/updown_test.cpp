// Tests of the up-down class: steps by the arrows with the parent's say (UDN_DELTAPOS), the scroll
// messages, auto-repeat on the manual clock, wrapping, the buddy's number and its arrow keys, and the
// held arrow drawn pressed in both painters; the message trace names the class's messages.
#include <gtest/gtest.h>

#include "platform/backend/file.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/sysconfig.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class UpDownTest : public ControlTest {
protected:
    // What the parent heard, in order: a UDN_DELTAPOS as ('N', pos, delta), a scroll as ('S', code, pos).
    struct Heard {
        char kind;
        int a;
        int b;
        bool operator==(const Heard&) const = default;
    };

    void SetUp() override {
        ControlTest::SetUp();
        Options options;
        options.style = WS_CHILD | WS_VISIBLE;
        options.rect = RECT{0, 0, 300, 200};
        options.parent = FParent;
        options.handler = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
                auto* info = reinterpret_cast<NMUPDOWN*>(lParam);
                FHeard.push_back(Heard{'N', info->iPos, info->iDelta});
                return FRefuse ? 1 : 0;
            }
            if (message == WM_VSCROLL || message == WM_HSCROLL) {
                FHeard.push_back(Heard{'S', LOWORD(wParam), static_cast<short>(HIWORD(wParam))});
                return 0;
            }
            return std::nullopt;
        };
        FHost = Create(options);
        FEdit = CreateWindowExW(0, u"Edit", u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 24, FHost,
                                nullptr, nullptr, nullptr);
        FUpDown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                                  WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0,
                                  0, 16, 24, FHost, nullptr, nullptr, nullptr);
        SendMessageW(FUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FEdit), 0);
        SendMessageW(FUpDown, UDM_SETRANGE32, 0, 10);
        SendMessageW(FUpDown, UDM_SETPOS32, 0, 5);
        win32::input::Reset();
        Pump();
    }

    void Press(bool up, bool down) {
        RECT rect;
        GetClientRect(FUpDown, &rect);
        POINT p = ScreenPoint(FUpDown, rect.right / 2, up ? 3 : rect.bottom - 3);
        win32::input::MouseButton(win32::input::Button::Left, down, p.x, p.y);
        PumpInput();
    }

    HWND FHost = nullptr;
    HWND FEdit = nullptr;
    HWND FUpDown = nullptr;
    std::vector<Heard> FHeard;
    bool FRefuse = false;
};

TEST_F(UpDownTest, BuddyIsAlignedAndShowsThePosition) {
    RECT edit;
    RECT updown;
    GetWindowRect(FEdit, &edit);
    GetWindowRect(FUpDown, &updown);
    EXPECT_EQ(edit.right - edit.left, 84);
    EXPECT_EQ(updown.left, edit.right);
    EXPECT_EQ(updown.bottom - updown.top, 24);
    EXPECT_EQ(WindowText(FEdit), u"5");
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(FEdit));
    // Thousands get separators; what the user typed into the buddy is the position.
    SendMessageW(FUpDown, UDM_SETRANGE32, 0, 100000);
    SendMessageW(FUpDown, UDM_SETPOS32, 0, 12345);
    EXPECT_EQ(WindowText(FEdit), u"12,345");
    SetWindowTextW(FEdit, u"77");
    BOOL error = TRUE;
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 77);
    EXPECT_FALSE(error);
    SetWindowTextW(FEdit, u"x7");
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 77);
    EXPECT_TRUE(error);
    EXPECT_EQ(HIWORD(SendMessageW(FUpDown, UDM_GETPOS, 0, 0)), 1);
}

TEST_F(UpDownTest, ArrowClickAndHoldRepeat) {
    Press(true, true);
    EXPECT_EQ(FHeard, (std::vector<Heard>{{'N', 5, 1}, {'S', SB_THUMBPOSITION, 6}}));
    EXPECT_EQ(WindowText(FEdit), u"6");
    // Held, it repeats after half a second and then every tenth.
    FHeard.clear();
    Clock::Advance(499);
    Pump();
    EXPECT_TRUE(FHeard.empty());
    Clock::Advance(1);
    Pump();
    Clock::Advance(100);
    Pump();
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), 8);
    FHeard.clear();
    Press(true, false);
    EXPECT_EQ(FHeard, (std::vector<Heard>{{'S', SB_ENDSCROLL, 8}}));

    // The down arrow; a parent that refuses the step keeps the position, but still hears where it is.
    FHeard.clear();
    FRefuse = true;
    Press(false, true);
    Press(false, false);
    EXPECT_EQ(FHeard, (std::vector<Heard>{{'N', 8, -1}, {'S', SB_THUMBPOSITION, 8}, {'S', SB_ENDSCROLL, 8}}));
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), 8);
}

// The messages of each action, the control's, its buddy's and its parent's, in order.
TEST_F(UpDownTest, MessageSequences) {
    MessageLog log;
    log.Name(FHost, "parent");
    log.Name(FEdit, "buddy");
    log.Name(FParent, "top");
    // Create.
    HWND spin =
        CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_SETBUDDYINT,
                        150, 10, 16, 24, FHost, reinterpret_cast<HMENU>(7), nullptr, nullptr);
    log.Name(spin, "spin");
    // The parent hears of its new child, and passes the news up.
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 7)},
        {"top", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 7)},
    }));
    controltest::Record(spin);
    controltest::Record(FEdit);
    SendMessageW(spin, UDM_SETRANGE32, 0, 10);
    SendMessageW(spin, UDM_SETPOS32, 0, 5);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FEdit), 0);
    // A click on the up arrow: pressed, the parent may refuse the step, the buddy shows it, the parent
    // hears the position; released, the scroll ends.
    log.Clear();
    RECT rect;
    GetClientRect(spin, &rect);
    Click(spin, rect.right / 2, 3);
    const LPARAM spinParam = reinterpret_cast<LPARAM>(spin);
    EXPECT_TRUE(log.Matches({
        {"spin", WM_MOUSEACTIVATE, Sent | Optional},
        {"parent", WM_MOUSEACTIVATE, Sent | Optional},
        {"spin", WM_LBUTTONDOWN, Sent | WParam, MK_LBUTTON},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 7, 0, UDN_DELTAPOS},
        {"buddy", WM_SETTEXT, Sent},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(0, EN_UPDATE)},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(0, EN_CHANGE)},
        {"parent", WM_VSCROLL, Sent | WParam | LParam, MAKEWPARAM(SB_THUMBPOSITION, 6), spinParam},
        {"spin", WM_LBUTTONUP, Sent},
        {"spin", WM_CAPTURECHANGED, Sent},
        {"parent", WM_VSCROLL, Sent | WParam | LParam, MAKEWPARAM(SB_ENDSCROLL, 6), spinParam},
    }));
    EXPECT_EQ(WindowText(FEdit), u"6");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 6);
    // The down arrow key in the buddy.
    SetFocus(FEdit);
    log.Clear();
    controltest::Press(VK_DOWN);
    EXPECT_TRUE(log.Matches({
        {"buddy", WM_KEYDOWN, Sent | WParam, VK_DOWN},
        {"spin", WM_KEYDOWN, Sent | WParam, VK_DOWN},
        {"parent", WM_NOTIFY, Sent | WParam | Code, 7, 0, UDN_DELTAPOS},
        {"buddy", WM_SETTEXT, Sent},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(0, EN_UPDATE)},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(0, EN_CHANGE)},
        {"parent", WM_VSCROLL, Sent | WParam | LParam, MAKEWPARAM(SB_THUMBPOSITION, 5), spinParam},
        {"buddy", WM_KEYUP, Sent | WParam, VK_DOWN},
        {"spin", WM_KEYUP, Sent | WParam, VK_DOWN},
        {"parent", WM_VSCROLL, Sent | WParam | LParam, MAKEWPARAM(SB_ENDSCROLL, 5), spinParam},
    }));
    EXPECT_EQ(WindowText(FEdit), u"5");
    EXPECT_EQ(SendMessageW(spin, UDM_GETPOS32, 0, 0), 5);
    // Destroy.
    log.Clear();
    DestroyWindow(spin);
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_DESTROY, 7)},
        {"top", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_DESTROY, 7)},
        {"spin", WM_SHOWWINDOW, Sent | WParam, FALSE},
        {"spin", WM_WINDOWPOSCHANGING, Sent},
        {"spin", WM_WINDOWPOSCHANGED, Sent},
        {"spin", WM_DESTROY, Sent},
        {"spin", WM_NCDESTROY, Sent},
    }));
}

TEST_F(UpDownTest, StopsOrWrapsAtTheEnds) {
    struct Case {
        const char* name;
        DWORD wrap;
        int start;
        bool up;
        int expected;
    };
    const Case cases[] = {
        {"stops at the top", 0, 10, true, 10},
        {"stops at the bottom", 0, 0, false, 0},
        {"wraps to the bottom", UDS_WRAP, 10, true, 0},
        {"wraps to the top", UDS_WRAP, 0, false, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD style = static_cast<DWORD>(GetWindowLongW(FUpDown, GWL_STYLE));
        SetWindowLongW(FUpDown, GWL_STYLE, static_cast<LONG>((style & ~UDS_WRAP) | c.wrap));
        SendMessageW(FUpDown, UDM_SETPOS32, 0, c.start);
        Press(c.up, true);
        Press(c.up, false);
        EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), c.expected);
    }
}

// The buddy's arrow keys step the control; accelerations raise the step the longer a key is held.
TEST_F(UpDownTest, ArrowKeysInTheBuddyAndAcceleration) {
    SetFocus(FEdit);
    controltest::Press(VK_UP);
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), 6);
    controltest::Press(VK_DOWN);
    controltest::Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), 4);
    EXPECT_EQ(WindowText(FEdit), u"4");

    UDACCEL accel[] = {{0, 1}, {2, 3}};
    EXPECT_TRUE(SendMessageW(FUpDown, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accel)));
    SendMessageW(FUpDown, UDM_SETPOS32, 0, 0);
    Press(true, true);
    Clock::Advance(500);
    Pump();
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), 2);
    Clock::Advance(1500); // two seconds held: steps of three
    Pump();
    EXPECT_EQ(SendMessageW(FUpDown, UDM_GETPOS32, 0, 0), 5);
    Press(true, false);
}

// The default range runs from 100 down to 0, so the up arrow lowers the position, as in Win32.
TEST_F(UpDownTest, DefaultRangeIsReversed) {
    HWND plain = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 200, 10, 16, 24, FHost,
                                 nullptr, nullptr, nullptr);
    EXPECT_EQ(SendMessageW(plain, UDM_GETRANGE, 0, 0), MAKELRESULT(0, 100));
    SendMessageW(plain, UDM_SETPOS, 0, 50);
    RECT rect;
    GetClientRect(plain, &rect);
    POINT p = ScreenPoint(plain, rect.right / 2, 3);
    win32::input::Click(win32::input::Button::Left, p.x, p.y);
    PumpInput();
    EXPECT_EQ(LOWORD(SendMessageW(plain, UDM_GETPOS, 0, 0)), 49);
}

// The message trace names the up-down's own messages as its class knows them, sent, posted and dispatched.
TEST_F(UpDownTest, MessageTraceNamesTheClassMessages) {
    backend::SetEnvironment("ZELMOR_DEBUG", "+message");
    Trace::Reset();
    ::testing::internal::CaptureStderr();
    SendMessageW(FUpDown, UDM_SETPOS32, 0, 3);
    PostMessageW(FUpDown, UDM_GETPOS32, 0, 0);
    Pump();
    std::string trace = ::testing::internal::GetCapturedStderr();
    backend::SetEnvironment("ZELMOR_DEBUG", "");
    Trace::Reset();
    for (const char* line : {"UDM_SETPOS32 sent", "UDM_GETPOS32 posted", "UDM_GETPOS32 dispatched"})
        EXPECT_NE(trace.find(line), std::string::npos) << line << " in\n" << trace;
    EXPECT_EQ(trace.find("WM_USER+" + std::to_string(UDM_SETPOS32 - WM_USER)), std::string::npos);
}

class UpDownLook : public UpDownTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = GetParam();
        win32::SetSystemSettings(settings);
        UpDownTest::SetUp();
    }
    // The pixels of the up (or down) half as the window shows them, or as it paints them into a DC a
    // parent gives with WM_PAINT.
    std::vector<COLORREF> Half(bool up, bool throughParent = false) {
        RECT rect;
        GetClientRect(FUpDown, &rect);
        HDC window = GetDC(FUpDown);
        HDC dc = window;
        HDC memory = nullptr;
        HBITMAP bitmap = nullptr;
        HGDIOBJ old = nullptr;
        if (throughParent) {
            memory = CreateCompatibleDC(window);
            bitmap = CreateCompatibleBitmap(window, rect.right, rect.bottom);
            old = SelectObject(memory, bitmap);
            SendMessageW(FUpDown, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
            dc = memory;
        } else {
            UpdateWindow(FUpDown);
        }
        std::vector<COLORREF> pixels;
        int middle = rect.bottom / 2;
        for (int y = up ? 0 : middle; y < (up ? middle : rect.bottom); ++y)
            for (int x = 0; x < rect.right; ++x)
                pixels.push_back(GetPixel(dc, x, y));
        if (memory) {
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
        }
        ReleaseDC(FUpDown, window);
        return pixels;
    }
};

// The arrow the mouse or a key holds looks pressed until it is let go; the other arrow does not change.
TEST_P(UpDownLook, HeldArrowIsDrawnPressed) {
    const std::vector<COLORREF> up = Half(true);
    const std::vector<COLORREF> down = Half(false);
    Press(true, true);
    EXPECT_NE(Half(true), up) << "held by the mouse";
    EXPECT_EQ(Half(false), down);
    EXPECT_EQ(Half(true, true), Half(true)) << "painted into a DC given with WM_PAINT";
    Press(true, false);
    EXPECT_EQ(Half(true), up);

    SetFocus(FEdit);
    win32::input::Key(VK_DOWN, true);
    PumpInput();
    EXPECT_NE(Half(false), down) << "held by a key";
    win32::input::Key(VK_DOWN, false);
    PumpInput();
    EXPECT_EQ(Half(false), down);
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, UpDownLook, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Themed" : "Classic";
                         });

} // namespace
