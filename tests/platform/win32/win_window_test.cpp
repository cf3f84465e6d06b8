// The window tree: message order of create and destroy, parents, owners and z-order, geometry and the
// non-client area, window longs and subclassing.
#include <gtest/gtest.h>

#include "platform/win32/spy.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;

namespace {

class WinWindow : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }
};

// Creating a visible top-level window, then a visible child in it.
const std::vector<Expected> CreateTopLevel = {
    {"top", WM_GETMINMAXINFO},
    {"top", WM_NCCREATE},
    {"top", WM_NCCALCSIZE, Sent | WParam, FALSE},
    {"top", WM_CREATE},
    {"top", WM_SIZE, Sent | WParam, SIZE_RESTORED},
    {"top", WM_MOVE},
    {"top", WM_SHOWWINDOW, Sent | WParam, TRUE},
    {"top", WM_WINDOWPOSCHANGING},
    {"top", WM_WINDOWPOSCHANGING, Sent | Optional}, // bringing it to the top for activation
    {"top", WM_ACTIVATEAPP, Sent | WParam, TRUE},
    {"top", WM_NCACTIVATE, Sent | WParam, TRUE},
    {"top", WM_ACTIVATE, Sent | WParam, WA_ACTIVE},
    {"top", WM_SETFOCUS, Sent | DefProc},
    {"top", WM_WINDOWPOSCHANGED},
};

const std::vector<Expected> CreateChild = {
    {"child", WM_NCCREATE},
    {"child", WM_NCCALCSIZE, Sent | WParam, FALSE},
    {"child", WM_CREATE},
    {"child", WM_SIZE, Sent | WParam, SIZE_RESTORED},
    {"child", WM_MOVE},
    {"top", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 7)},
    {"child", WM_SHOWWINDOW, Sent | WParam, TRUE},
    {"child", WM_WINDOWPOSCHANGING},
    {"child", WM_WINDOWPOSCHANGED},
};

// Destroying the top-level window: hidden and deactivated first, then WM_DESTROY parent first and
// WM_NCDESTROY children first.
const std::vector<Expected> DestroyTopLevel = {
    {"top", WM_WINDOWPOSCHANGING},
    {"top", WM_WINDOWPOSCHANGED},
    {"top", WM_NCACTIVATE, Sent | WParam, FALSE},
    {"top", WM_ACTIVATE, Sent | WParam, WA_INACTIVE},
    {"top", WM_ACTIVATEAPP, Sent | WParam, FALSE},
    {"child", WM_KILLFOCUS},
    {"top", WM_DESTROY},
    {"child", WM_DESTROY},
    {"child", WM_NCDESTROY},
    {"top", WM_NCDESTROY},
};

// Destroying a visible child alone.
const std::vector<Expected> DestroyChild = {
    {"top", WM_PARENTNOTIFY, Sent | WParam, WM_DESTROY},
    {"child", WM_SHOWWINDOW, Sent | WParam, FALSE},
    {"child", WM_WINDOWPOSCHANGING},
    {"child", WM_WINDOWPOSCHANGED},
    {"child", WM_KILLFOCUS, Sent | Optional},
    {"top", WM_SETFOCUS, Sent | Optional},
    {"child", WM_DESTROY},
    {"child", WM_NCDESTROY},
};

TEST_F(WinWindow, CreateAndDestroyFollowWin32Order) {
    MessageLog log;
    Options top;
    top.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND topWindow = Create(top);
    ASSERT_TRUE(topWindow);
    log.Name(topWindow, "top");
    EXPECT_TRUE(log.Matches(CreateTopLevel));

    log.Clear();
    Options child;
    child.style = WS_CHILD | WS_VISIBLE;
    child.parent = topWindow;
    child.rect = RECT{10, 10, 60, 40};
    child.id = 7;
    HWND childWindow = Create(child);
    ASSERT_TRUE(childWindow);
    log.Name(childWindow, "child");
    EXPECT_TRUE(log.Matches(CreateChild));

    SetFocus(childWindow);
    log.Clear();
    EXPECT_TRUE(DestroyWindow(topWindow));
    EXPECT_TRUE(log.Matches(DestroyTopLevel));
    EXPECT_FALSE(IsWindow(topWindow));
    EXPECT_FALSE(IsWindow(childWindow));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WinWindow, DestroyingAChildHidesItAndNotifiesTheParent) {
    MessageLog log;
    HWND top = Create(WithStyle(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    Options child;
    child.style = WS_CHILD | WS_VISIBLE;
    child.parent = top;
    child.rect = RECT{0, 0, 20, 20};
    HWND childWindow = Create(child);
    log.Name(top, "top");
    log.Name(childWindow, "child");
    log.Clear();
    EXPECT_TRUE(DestroyWindow(childWindow));
    EXPECT_TRUE(log.Matches(DestroyChild));
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);
}

TEST_F(WinWindow, RefusedCreationLeavesNoWindow) {
    struct Case {
        const char* name;
        UINT message;
        LRESULT answer;
        std::vector<const char*> sent;
    };
    const Case cases[] = {
        {"WM_NCCREATE FALSE", WM_NCCREATE, FALSE, {"WM_GETMINMAXINFO", "WM_NCCREATE", "WM_NCDESTROY"}},
        {"WM_CREATE -1",
         WM_CREATE,
         -1,
         {"WM_GETMINMAXINFO", "WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE", "WM_DESTROY", "WM_NCDESTROY"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MessageLog log;
        Options options;
        UINT refused = c.message;
        LRESULT answer = c.answer;
        options.handler = [refused, answer](HWND hwnd, UINT message, WPARAM,
                                            LPARAM) -> std::optional<LRESULT> {
            if (message == refused) {
                CurrentLog()->Name(hwnd, "w");
                return answer;
            }
            return std::nullopt;
        };
        EXPECT_EQ(Create(options), nullptr);
        std::vector<std::string> got;
        for (const Record& r : log.Records())
            got.push_back(win32::MessageName(r.message));
        std::vector<std::string> want(c.sent.begin(), c.sent.end());
        EXPECT_EQ(got, want);
    }
}

TEST_F(WinWindow, CreationErrors) {
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
    Options child;
    child.style = WS_CHILD;
    EXPECT_EQ(Create(child), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
    EXPECT_FALSE(DestroyWindow(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WinWindow, TreeAndZOrder) {
    HWND top = Create(WithStyle(WS_OVERLAPPEDWINDOW));
    auto child = [&](int id) {
        Options o;
        o.style = WS_CHILD | WS_VISIBLE;
        o.parent = top;
        o.id = id;
        o.rect = RECT{0, 0, 10, 10};
        return Create(o);
    };
    HWND a = child(1);
    HWND b = child(2);
    HWND c = child(3);
    // New children go to the bottom: the first created is first in z-order (and tab order).
    EXPECT_EQ(GetWindow(top, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
    EXPECT_EQ(GetParent(a), top);
    EXPECT_TRUE(IsChild(top, c));
    EXPECT_FALSE(IsChild(a, top));

    BringWindowToTop(c);
    EXPECT_EQ(GetWindow(top, GW_CHILD), c);
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(a, GW_HWNDLAST), c);
    SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(top, GW_CHILD), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);

    std::vector<HWND> seen;
    EnumChildWindows(
        top,
        [](HWND hwnd, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{b, a, c}));

    // SetParent moves a child under another window, keeping its position numbers.
    Options other;
    other.style = WS_CHILD | WS_VISIBLE;
    other.parent = top;
    other.rect = RECT{50, 50, 150, 150};
    HWND panel = Create(other);
    EXPECT_EQ(SetParent(a, panel), top);
    EXPECT_EQ(GetParent(a), panel);
    EXPECT_TRUE(IsChild(top, a));
    EXPECT_EQ(SetParent(panel, a), nullptr); // a window cannot go under its own child
}

TEST_F(WinWindow, TopmostWindowsStayAboveTheRest) {
    HWND a = Create(WithStyle(WS_POPUP | WS_VISIBLE));
    HWND b = Create(WithStyle(WS_POPUP | WS_VISIBLE));
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowLongW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    BringWindowToTop(b);
    EXPECT_EQ(GetTopWindow(nullptr), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BringWindowToTop(b);
    EXPECT_EQ(GetTopWindow(nullptr), b);
}

TEST_F(WinWindow, OwnedWindowsStayAboveTheirOwner) {
    HWND owner = Create(WithStyle(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{120, 150, 220, 220};
    o.parent = owner;
    HWND owned = Create(o);
    o.parent = owned;
    HWND grandchild = Create(o); // owned in turn by the owned window
    HWND other = Create(WithStyle(WS_POPUP | WS_VISIBLE));
    Pump();
    // Activating or raising the owner keeps its owned windows, in their order, right above it.
    SetActiveWindow(owner);
    Pump();
    EXPECT_EQ(GetTopWindow(nullptr), grandchild);
    EXPECT_EQ(GetWindow(grandchild, GW_HWNDNEXT), owned);
    EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), owner);
    EXPECT_EQ(WindowFromPoint(POINT{150, 180}), grandchild);
    BringWindowToTop(other);
    BringWindowToTop(owned);
    EXPECT_EQ(GetTopWindow(nullptr), grandchild) << "raising an owned window keeps its own above it";
    EXPECT_EQ(GetWindow(owned, GW_HWNDNEXT), other) << "the owner is not raised with it";
}

TEST_F(WinWindow, ClientAreaFollowsStyles) {
    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
        RECT client; // window 200 x 100 at (0,0)
    };
    const Case cases[] = {
        {"popup", WS_POPUP, 0, {0, 0, 200, 100}},
        {"popup with border", WS_POPUP | WS_BORDER, 0, {1, 1, 199, 99}},
        {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, {2, 2, 198, 98}},
        {"static edge", WS_POPUP, WS_EX_STATICEDGE, {1, 1, 199, 99}},
        {"dialog frame", WS_POPUP | WS_DLGFRAME, 0, {3, 3, 197, 97}},
        {"sizeable with caption", WS_OVERLAPPEDWINDOW, 0, {4, 26, 196, 96}},
        {"scroll bars", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {0, 0, 183, 83}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Options o;
        o.style = c.style;
        o.exStyle = c.exStyle;
        o.rect = RECT{0, 0, 200, 100};
        HWND hwnd = Create(o);
        RECT window;
        GetWindowRect(hwnd, &window);
        POINT origin{0, 0};
        ClientToScreen(hwnd, &origin);
        RECT client;
        GetClientRect(hwnd, &client);
        EXPECT_EQ(origin.x - window.left, c.client.left);
        EXPECT_EQ(origin.y - window.top, c.client.top);
        EXPECT_EQ(client.right, c.client.right - c.client.left);
        EXPECT_EQ(client.bottom, c.client.bottom - c.client.top);
        RECT adjusted = RECT{0, 0, client.right, client.bottom};
        AdjustWindowRectEx(&adjusted, c.style & ~(WS_VSCROLL | WS_HSCROLL), FALSE, c.exStyle);
        if (!(c.style & (WS_VSCROLL | WS_HSCROLL))) {
            EXPECT_EQ(adjusted.right - adjusted.left, 200);
        }
        DestroyWindow(hwnd);
    }
}

TEST_F(WinWindow, CoordinatesMapBetweenWindows) {
    Options top;
    top.style = WS_POPUP | WS_BORDER | WS_VISIBLE;
    top.rect = RECT{100, 50, 500, 350};
    HWND parent = Create(top);
    Options child;
    child.style = WS_CHILD | WS_VISIBLE;
    child.exStyle = WS_EX_CLIENTEDGE;
    child.parent = parent;
    child.rect = RECT{20, 30, 120, 130};
    HWND hwnd = Create(child);

    POINT p{5, 6};
    ClientToScreen(hwnd, &p);
    EXPECT_EQ(p.x, 100 + 1 + 20 + 2 + 5);
    EXPECT_EQ(p.y, 50 + 1 + 30 + 2 + 6);
    ScreenToClient(parent, &p);
    EXPECT_EQ(p.x, 20 + 2 + 5);
    POINT points[2] = {{0, 0}, {10, 10}};
    int offset = MapWindowPoints(hwnd, parent, points, 2);
    EXPECT_EQ(points[1].x, 32);
    EXPECT_EQ(GET_X_LPARAM(offset), 22);
    EXPECT_EQ(GET_Y_LPARAM(offset), 32);

    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 121);
    EXPECT_EQ(r.right, 221);

    EXPECT_EQ(WindowFromPoint(POINT{125, 85}), hwnd);
    EXPECT_EQ(WindowFromPoint(POINT{110, 60}), parent);
    EXPECT_EQ(ChildWindowFromPoint(parent, POINT{25, 35}), hwnd);
    EXPECT_EQ(ChildWindowFromPoint(parent, POINT{5, 5}), parent);
    EXPECT_EQ(ChildWindowFromPoint(parent, POINT{-5, 5}), nullptr);
    // Hidden and disabled children are passed over as Win32 passes them.
    EnableWindow(hwnd, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{125, 85}), parent);
    EXPECT_EQ(ChildWindowFromPointEx(parent, POINT{25, 35}, CWP_SKIPDISABLED), parent);
    EnableWindow(hwnd, TRUE);
    ShowWindow(hwnd, SW_HIDE);
    EXPECT_EQ(WindowFromPoint(POINT{125, 85}), parent);
}

TEST_F(WinWindow, MovingSendsPositionMessages) {
    MessageLog log;
    Options top;
    top.style = WS_POPUP | WS_VISIBLE;
    HWND parent = Create(top);
    Options child;
    child.style = WS_CHILD | WS_VISIBLE;
    child.parent = parent;
    child.rect = RECT{0, 0, 50, 50};
    HWND hwnd = Create(child);
    log.Name(hwnd, "child");
    log.Clear();
    MoveWindow(hwnd, 10, 20, 60, 50, TRUE);
    EXPECT_TRUE(log.Matches({
        {"child", WM_WINDOWPOSCHANGING},
        {"child", WM_NCCALCSIZE, Sent | WParam, TRUE},
        {"child", WM_CHILDACTIVATE, Sent | Optional},
        {"child", WM_WINDOWPOSCHANGED},
        {"child", WM_MOVE, Sent | DefProc | LParam, 0, MAKELPARAM(10, 20)},
        {"child", WM_SIZE, Sent | DefProc | LParam, 0, MAKELPARAM(60, 50)},
    }));
    // A position that does not change sends no WM_WINDOWPOSCHANGED.
    log.Clear();
    SetWindowPos(hwnd, nullptr, 10, 20, 60, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(log.Messages("child"), std::vector<std::string>{"WM_WINDOWPOSCHANGING"});
}

TEST_F(WinWindow, DeferredMovesApplyTogetherInOrderAndABadWindowEndsTheBatch) {
    Options top;
    top.style = WS_POPUP | WS_VISIBLE;
    HWND parent = Create(top);
    Options child;
    child.style = WS_CHILD | WS_VISIBLE;
    child.parent = parent;
    child.rect = RECT{0, 0, 10, 10};
    HWND a = Create(child);
    HWND b = Create(child);
    MessageLog log;
    log.Name(a, "a");
    log.Name(b, "b");
    HDWP batch = BeginDeferWindowPos(2);
    ASSERT_NE(batch, nullptr);
    batch = DeferWindowPos(batch, a, nullptr, 5, 6, 20, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    batch = DeferWindowPos(batch, b, nullptr, 40, 6, 20, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(batch, nullptr);
    RECT r{};
    GetWindowRect(a, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0) << "nothing moves before the batch ends";
    log.Clear();
    EXPECT_TRUE(EndDeferWindowPos(batch));
    EXPECT_EQ(log.Messages("a").front(), "WM_WINDOWPOSCHANGING");
    GetWindowRect(b, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.right, 60);
    EXPECT_EQ(r.bottom, 36);

    batch = BeginDeferWindowPos(1);
    DestroyWindow(b);
    EXPECT_EQ(DeferWindowPos(batch, b, nullptr, 0, 0, 5, 5, SWP_NOZORDER), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(BeginDeferWindowPos(-1), nullptr);
    EXPECT_FALSE(EndDeferWindowPos(nullptr));
}

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC gOriginal = nullptr;
int gCounted = 0;

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 1) {
        ++gCounted;
        return 42 + CallWindowProcW(gOriginal, hwnd, message, wParam, lParam);
    }
    return CallWindowProcW(gOriginal, hwnd, message, wParam, lParam);
}

TEST_F(WinWindow, WindowLongsSubclassingAndText) {
    Options o;
    o.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER + 1)
            return 1;
        return std::nullopt;
    };
    o.text = u"Caption";
    HWND hwnd = Create(o);
    gCounted = 0;
    gOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
    ASSERT_TRUE(gOriginal);
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 43);
    EXPECT_EQ(gCounted, 1);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gOriginal));
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 1, 0, 0), 1);

    MessageLog log;
    log.Name(hwnd, "w");
    LONG old = SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER));
    EXPECT_EQ(static_cast<DWORD>(old) & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(log.Messages("w"), (std::vector<std::string>{"WM_STYLECHANGING", "WM_STYLECHANGED"}));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)), WS_POPUP | WS_BORDER);

    WCHAR buffer[32];
    EXPECT_EQ(GetWindowTextW(hwnd, buffer, 32), 7);
    EXPECT_EQ(String(buffer), u"Caption");
    EXPECT_EQ(GetWindowTextW(hwnd, buffer, 4), 3);
    EXPECT_EQ(String(buffer), u"Cap");
    EXPECT_TRUE(SetWindowTextW(hwnd, u"Other"));
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 5);
    EXPECT_EQ(GetWindowLongW(hwnd, 1000), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
}

TEST_F(WinWindow, RegisteringClassesAndProperties) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.cbWndExtra = 8;
    wc.lpszClassName = u"ExtraBytes";
    ATOM atom = RegisterClassExW(&wc);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    HWND hwnd = CreateWindowExW(0, MAKEINTATOM(atom), u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_TRUE(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0x1122334455LL);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, 0), 0x1122334455LL);
    WCHAR name[32];
    EXPECT_EQ(GetClassNameW(hwnd, name, 32), 10);
    EXPECT_FALSE(UnregisterClassW(u"extrabytes", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    SetPropW(hwnd, u"Tag", reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetPropW(hwnd, u"Tag"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(RemovePropW(hwnd, u"Tag"), reinterpret_cast<HANDLE>(7));
    EXPECT_EQ(GetPropW(hwnd, u"Tag"), nullptr);
    DestroyWindow(hwnd);
    EXPECT_TRUE(UnregisterClassW(u"extrabytes", nullptr));
}

} // namespace
