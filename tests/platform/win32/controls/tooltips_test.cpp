// Tests of the tooltip class: tips shown after the initial delay and popped after the auto-pop delay on
// the manual clock, text asked of the owner, the tool messages, tracking balloons and their stem.
#include <gtest/gtest.h>

#include <optional>

#include "platform/rtl/Clock.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class TooltipTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        Options options;
        options.style = WS_CHILD | WS_VISIBLE;
        options.rect = RECT{20, 20, 220, 120};
        options.parent = FParent;
        options.handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message != WM_NOTIFY)
                return std::nullopt;
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            FCodes.push_back(header->code);
            FSenders.push_back({header->hwndFrom, header->idFrom});
            if (header->code == TTN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                info->lpszText = FCallbackText.data();
                info->uFlags |= FSetItem;
            }
            if (header->code == TTN_SHOW && FPlaceAt) {
                SetWindowPos(header->hwndFrom, nullptr, FPlaceAt->x, FPlaceAt->y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                return TRUE;
            }
            return 0;
        };
        FOwner = Create(options);
        win32::input::Reset();
    }

    HWND Tip(DWORD style) {
        HWND tip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, FOwner, nullptr, nullptr, nullptr);
        EXPECT_NE(tip, nullptr);
        return tip;
    }

    TOOLINFOW Tool(UINT flags, UINT_PTR id, RECT rect, LPWSTR text) const {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = flags;
        tool.hwnd = FOwner;
        tool.uId = id;
        tool.rect = rect;
        tool.lpszText = text;
        return tool;
    }

    void MoveTo(int x, int y) {
        POINT p = ScreenPoint(FOwner, x, y);
        win32::input::MouseMove(p.x, p.y);
        PumpInput();
    }

    static void Wait(UInt64 milliseconds) {
        Clock::Advance(milliseconds);
        Pump();
    }

    HWND FOwner = nullptr;
    std::vector<UINT> FCodes;
    std::vector<std::pair<HWND, UINT_PTR>> FSenders; // hwndFrom and idFrom of each notification
    String FCallbackText = u"Asked for";
    UINT FSetItem = 0;
    std::optional<POINT> FPlaceAt; // where the owner puts the tip when told of the show
};

TEST_F(TooltipTest, ShownAfterInitialDelayAndPoppedAfterAutoPop) {
    HWND tip = Tip(TTS_ALWAYSTIP | TTS_NOPREFIX);
    String text = u"Left half";
    TOOLINFOW left = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, text.data());
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&left)));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 400);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 3000);

    MoveTo(30, 30);
    Wait(399);
    EXPECT_FALSE(IsWindowVisible(tip));
    Wait(1);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(FCodes, (std::vector<UINT>{TTN_SHOW}));
    // The tip sits below the mouse, clear of the cursor, and is as wide as its text needs.
    RECT rect;
    GetWindowRect(tip, &rect);
    POINT mouse = ScreenPoint(FOwner, 30, 30);
    EXPECT_GT(rect.top, mouse.y);
    EXPECT_EQ(rect.left, mouse.x);
    LRESULT bubble = SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&left));
    EXPECT_EQ(rect.right - rect.left, LOWORD(bubble));
    EXPECT_EQ(rect.bottom - rect.top, HIWORD(bubble));

    // Moving within the tool keeps the tip; the auto-pop delay ends it.
    MoveTo(40, 35);
    Wait(2999);
    EXPECT_TRUE(IsWindowVisible(tip));
    Wait(1);
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(FCodes, (std::vector<UINT>{TTN_SHOW, TTN_POP}));
}

// The messages of each action, the tip's and its owner's, in order.
TEST_F(TooltipTest, MessageSequences) {
    MessageLog log;
    log.Name(FOwner, "owner");
    // Create: a pop-up the owner is not told about.
    HWND tip = Tip(TTS_ALWAYSTIP);
    log.Name(tip, "tip");
    EXPECT_TRUE(log.Matches({}));
    controltest::Record(tip);
    TOOLINFOW tool = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, LPSTR_TEXTCALLBACKW);
    log.Clear();
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 400);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 3000);
    EXPECT_TRUE(log.Matches({
        {"tip", TTM_ADDTOOLW, Sent},
        {"tip", TTM_SETDELAYTIME, Sent | WParam | LParam, TTDT_INITIAL, 400},
        {"tip", TTM_SETDELAYTIME, Sent | WParam | LParam, TTDT_AUTOPOP, 3000},
    }));
    // The mouse rests on the tool: after the delay the owner is asked for the text and told of the show.
    MoveTo(30, 30);
    log.Clear();
    Wait(400);
    EXPECT_TRUE(log.Matches({
        {"tip", WM_TIMER, Sent},
        {"owner", WM_NOTIFY, Sent | WParam | Code, 1, 0, TTN_GETDISPINFOW},
        {"owner", WM_NOTIFY, Sent | WParam | Code, 1, 0, TTN_SHOW},
        {"tip", WM_WINDOWPOSCHANGING, Sent}, // placed and sized for its text
        {"tip", WM_NCCALCSIZE, Sent},
        {"tip", WM_WINDOWPOSCHANGED, Sent},
        {"tip", WM_MOVE, Sent},
        {"tip", WM_SIZE, Sent},
        {"tip", WM_WINDOWPOSCHANGING, Sent}, // shown on top
        {"tip", WM_WINDOWPOSCHANGED, Sent},
    }));
    EXPECT_TRUE(IsWindowVisible(tip));
    // A click in the tool hides the tip.
    log.Clear();
    Click(FOwner, 30, 30);
    // The owner hears that the tip is about to go while it still shows.
    EXPECT_TRUE(log.Matches({
        {"tip", TTM_RELAYEVENT, Sent},
        {"owner", WM_NOTIFY, Sent | WParam | Code, 1, 0, TTN_POP},
        {"tip", WM_SHOWWINDOW, Sent | WParam, FALSE},
        {"tip", WM_WINDOWPOSCHANGING, Sent},
        {"tip", WM_WINDOWPOSCHANGED, Sent},
        {"owner", WM_LBUTTONDOWN, Sent},
        {"tip", TTM_RELAYEVENT, Sent},
        {"owner", WM_LBUTTONUP, Sent},
    }));
    EXPECT_FALSE(IsWindowVisible(tip));
    // Destroy.
    log.Clear();
    DestroyWindow(tip);
    EXPECT_TRUE(log.Matches({
        {"tip", WM_DESTROY, Sent},
        {"tip", WM_NCDESTROY, Sent},
    }));
}

// An owner that places the tip itself answers TRUE to TTN_SHOW: the tip stays there, at its own size.
TEST_F(TooltipTest, OwnerMayPlaceTheTipWhenToldOfTheShow) {
    HWND tip = Tip(TTS_ALWAYSTIP);
    String text = u"Placed";
    TOOLINFOW tool = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, text.data());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 100);
    FPlaceAt = POINT{300, 250};
    MoveTo(30, 30);
    Wait(100);
    ASSERT_TRUE(IsWindowVisible(tip));
    RECT rect;
    GetWindowRect(tip, &rect);
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 250);
    LRESULT bubble = SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(rect.right - rect.left, LOWORD(bubble));
    EXPECT_EQ(rect.bottom - rect.top, HIWORD(bubble));
}

TEST_F(TooltipTest, LeavingClickingAndMovingToAnotherTool) {
    HWND tip = Tip(TTS_ALWAYSTIP);
    String leftText = u"Left";
    String rightText = u"Right";
    TOOLINFOW left = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, leftText.data());
    TOOLINFOW right = Tool(TTF_SUBCLASS, 2, RECT{100, 0, 200, 100}, rightText.data());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&left));
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&right));
    // The default delays follow the double-click time: 500, 5000 and 100.
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 100);

    MoveTo(50, 50);
    Wait(500);
    ASSERT_TRUE(IsWindowVisible(tip));
    // Into the next tool: the old tip pops, and the new one comes after the shorter reshow delay.
    MoveTo(150, 50);
    EXPECT_FALSE(IsWindowVisible(tip));
    Wait(100);
    ASSERT_TRUE(IsWindowVisible(tip));
    Char buffer[80] = {};
    TOOLINFOW query = Tool(0, 2, RECT{}, buffer);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&query)), 5);
    EXPECT_EQ(String(buffer), u"Right");

    // A click ends the tip.
    POINT p = ScreenPoint(FOwner, 150, 50);
    win32::input::MouseButton(win32::input::Button::Left, true, p.x, p.y);
    PumpInput();
    EXPECT_FALSE(IsWindowVisible(tip));
    win32::input::MouseButton(win32::input::Button::Left, false, p.x, p.y);
    PumpInput();

    // Leaving the tool's window while the mouse rests ends the wait, and leaving a shown tip pops it.
    MoveTo(150, 60);
    Wait(500);
    ASSERT_TRUE(IsWindowVisible(tip));
    POINT outside = ScreenPoint(FParent, 350, 250);
    win32::input::MouseMove(outside.x, outside.y);
    PumpInput();
    Wait(100);
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(FCodes, (std::vector<UINT>{TTN_SHOW, TTN_POP, TTN_SHOW, TTN_POP, TTN_SHOW, TTN_POP}));
}

// The way a grid uses a balloon: a whole-window tool with the text asked for on each show, a title with
// the error icon, its own delays, and the tip popped in its own time.
TEST_F(TooltipTest, CallbackTextIsAskedOnEachShow) {
    HWND tip = Tip(TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON);
    TOOLINFOW tool =
        Tool(TTF_IDISHWND | TTF_SUBCLASS, reinterpret_cast<UINT_PTR>(FOwner), RECT{}, LPSTR_TEXTCALLBACKW);
    GetClientRect(FOwner, &tool.rect);
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    Char title[256] = u"Cell";
    EXPECT_TRUE(SendMessageW(tip, TTM_SETTITLEW, TTI_ERROR, reinterpret_cast<LPARAM>(title)));
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 100);

    MoveTo(10, 10);
    Wait(100);
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(FCodes, (std::vector<UINT>{TTN_GETDISPINFOW, TTN_SHOW}));
    // Each notification comes from the tooltip with the tool's id.
    for (const auto& sender : FSenders)
        EXPECT_EQ(sender, std::make_pair(tip, reinterpret_cast<UINT_PTR>(FOwner)));
    LRESULT shortBubble = SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));

    // A longer answer makes a wider bubble; without TTF_DI_SETITEM the owner is asked every time.
    FCallbackText = u"A much longer text from the owner";
    LRESULT longBubble = SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_GT(LOWORD(longBubble), LOWORD(shortBubble));
    // With TTF_DI_SETITEM the answer is kept and the owner is not asked again.
    FSetItem = TTF_DI_SETITEM;
    SendMessageW(tip, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
    FCodes.clear();
    FCallbackText = u"Not asked";
    Char buffer[80] = {};
    TOOLINFOW query = tool;
    query.lpszText = buffer;
    SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&query));
    EXPECT_EQ(String(buffer), u"A much longer text from the owner");
    EXPECT_TRUE(FCodes.empty());
}

TEST_F(TooltipTest, ToolMessages) {
    HWND tip = Tip(TTS_ALWAYSTIP);
    String text = u"First text";
    TOOLINFOW tool = Tool(0, 7, RECT{1, 2, 30, 40}, text.data());
    tool.lParam = 99;
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    // The same owner and id again, or a record too small to hold a tool, is refused.
    EXPECT_FALSE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    TOOLINFOW small = tool;
    small.uId = 8;
    small.cbSize = 8;
    EXPECT_FALSE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&small)));
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    tool.rect = RECT{5, 6, 50, 60};
    SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    String newText =
        u"Second text that is far longer than the eighty characters a tool's buffer holds, by a lot";
    TOOLINFOW update = Tool(0, 7, RECT{}, newText.data());
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&update));
    Char buffer[80] = {};
    TOOLINFOW info = Tool(0, 7, RECT{}, buffer);
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.rect.left, 5);
    EXPECT_EQ(info.rect.bottom, 60);
    EXPECT_EQ(info.lParam, 99);
    // The copy stops at the buffer's 80 characters.
    EXPECT_EQ(String(buffer), newText.substr(0, 79));

    // TTDT_AUTOMATIC sets all three delays in proportion; a negative time brings the default back.
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 200);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2000);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 40);
    SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(static_cast<WORD>(-1), 0));
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);

    EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 300), -1);
    EXPECT_EQ(SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 200), 300);
    SendMessageW(tip, TTM_SETTIPBKCOLOR, RGB(1, 2, 3), 0);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), RGB(1, 2, 3));

    RECT rect{10, 10, 50, 30};
    ASSERT_TRUE(SendMessageW(tip, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_LT(rect.left, 10);
    SendMessageW(tip, TTM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.bottom, 30);

    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_FALSE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
}

// A tooltip created like a child ends up a pop-up owned by the top-level window.
TEST_F(TooltipTest, IsAlwaysAPopUp) {
    HWND tip = Tip(TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_BALLOON);
    DWORD style = static_cast<DWORD>(GetWindowLongW(tip, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), FParent);
}

TEST_F(TooltipTest, SubclassIsUndoneWithTheTooltip) {
    LONG_PTR before = GetWindowLongPtrW(FOwner, GWLP_WNDPROC);
    HWND first = Tip(TTS_ALWAYSTIP);
    HWND second = Tip(TTS_ALWAYSTIP);
    String text = u"Tip";
    TOOLINFOW tool = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, text.data());
    SendMessageW(first, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(second, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_NE(GetWindowLongPtrW(FOwner, GWLP_WNDPROC), before);
    // The other tooltip still hears the window after the first goes.
    DestroyWindow(first);
    MoveTo(20, 20);
    Wait(500);
    EXPECT_TRUE(IsWindowVisible(second));
    DestroyWindow(second);
    EXPECT_EQ(GetWindowLongPtrW(FOwner, GWLP_WNDPROC), before);
    // The window still works as before.
    MoveTo(30, 30);
    Wait(1000);
}

// A tracking balloon stays where its owner puts it, its stem pointing at the track position: from below
// it, or from above when there is no room below on the screen.
TEST_F(TooltipTest, TrackingBalloonPointsAtThePosition) {
    HWND tip = Tip(TTS_ALWAYSTIP | TTS_BALLOON);
    String text = u"Balloon text";
    TOOLINFOW tool = Tool(TTF_TRACK, 1, RECT{}, text.data());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(200, 100));
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    ASSERT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(FCodes, (std::vector<UINT>{TTN_SHOW}));

    RECT rect;
    GetWindowRect(tip, &rect);
    EXPECT_EQ(rect.top, 100);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(tip, shape), ERROR);
    int stemX = 200 - rect.left;
    EXPECT_TRUE(PtInRegion(shape, stemX + 2, 8));   // the stem, near its tip
    EXPECT_FALSE(PtInRegion(shape, stemX + 30, 8)); // beside the stem, above the body
    EXPECT_FALSE(PtInRegion(shape, 0, 13));         // the body's rounded corner
    EXPECT_TRUE(PtInRegion(shape, 20, (rect.bottom - rect.top) / 2));

    // The mouse does not pop a tracking tip, and no delay does.
    MoveTo(10, 10);
    Wait(60000);
    EXPECT_TRUE(IsWindowVisible(tip));

    // Near the bottom of the screen the balloon goes above the point, the stem pointing down.
    int bottom = GetSystemMetrics(SM_CYSCREEN) - 2;
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(200, static_cast<WORD>(bottom)));
    GetWindowRect(tip, &rect);
    EXPECT_EQ(rect.bottom, bottom);
    ASSERT_NE(GetWindowRgn(tip, shape), ERROR);
    EXPECT_TRUE(PtInRegion(shape, 200 - rect.left + 2, rect.bottom - rect.top - 5));
    DeleteObject(shape);

    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(FCodes, (std::vector<UINT>{TTN_SHOW, TTN_POP}));
}

TEST_F(TooltipTest, PaintsClassicAndThemed) {
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themed;
        win32::SetSystemSettings(settings);
        HWND tip = Tip(TTS_ALWAYSTIP | TTS_BALLOON | TTS_CLOSE);
        String text = u"Painted";
        TOOLINFOW tool = Tool(TTF_TRACK, 1, RECT{}, text.data());
        SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        Char title[] = u"Title";
        SendMessageW(tip, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title));
        SendMessageW(tip, TTM_SETTIPBKCOLOR, RGB(255, 255, 0), 0);
        SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(100, 100));
        SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        Pump();
        RECT rect;
        GetWindowRect(tip, &rect);
        HDC dc = GetDC(tip);
        COLORREF inside = GetPixel(dc, (rect.right - rect.left) - 12, (rect.bottom - rect.top) - 6);
        ReleaseDC(tip, dc);
        if (!themed)
            EXPECT_EQ(inside, RGB(255, 255, 0));
        else // the theme draws the body and ignores the colour asked for
            EXPECT_TRUE(inside != CLR_INVALID && inside != RGB(255, 255, 0));
        DestroyWindow(tip);
    }
}

// TTM_POPUP shows the tip of the tool under the mouse at once; TTM_POP takes it away; a deactivated
// tooltip shows nothing.
TEST_F(TooltipTest, PopupPopAndActivateInCode) {
    HWND tip = Tip(TTS_ALWAYSTIP);
    String text = u"Now";
    TOOLINFOW tool = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, text.data());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    MoveTo(30, 30);
    SendMessageW(tip, TTM_POPUP, 0, 0);
    EXPECT_TRUE(IsWindowVisible(tip));
    SendMessageW(tip, TTM_POP, 0, 0);
    EXPECT_FALSE(IsWindowVisible(tip));
    POINT p = ScreenPoint(FOwner, 30, 30);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(tip, TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&p))),
              FOwner);

    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    MoveTo(40, 40);
    Wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
    SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    MoveTo(50, 50);
    Wait(500);
    EXPECT_TRUE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, InitCommonControlsExChecksItsRecord) {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    EXPECT_TRUE(InitCommonControlsEx(&init));
    init.dwSize = 4;
    EXPECT_FALSE(InitCommonControlsEx(&init));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

// Without TTS_ALWAYSTIP a tip shows only while the tool's top-level window is active.
TEST_F(TooltipTest, WithoutAlwaysTipOnlyForTheActiveWindow) {
    HWND tip = Tip(0);
    String text = u"Active only";
    TOOLINFOW tool = Tool(TTF_SUBCLASS, 1, RECT{0, 0, 100, 100}, text.data());
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    win32::input::DesktopActivated(nullptr);
    Pump();
    ASSERT_NE(GetActiveWindow(), FParent);
    MoveTo(30, 30);
    Wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
    win32::input::DesktopActivated(FParent);
    Pump();
    ASSERT_EQ(GetActiveWindow(), FParent);
    MoveTo(40, 40);
    Wait(500);
    EXPECT_TRUE(IsWindowVisible(tip));
}

} // namespace
