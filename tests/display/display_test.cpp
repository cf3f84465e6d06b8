// The windows that talk to the desktop, on a real X server (a virtual one under xvfb-run), with or without
// a window manager: drop-down lists, pop-up menus, hints, message boxes and forms keep the geometry they
// were given while the desktop's events come and go. Every check serves both queues until a deadline of
// real time, since the X server answers in its own time. Without an X server the tests skip.
//
// `--window-manager=PATH` starts that window manager on the display first and ends it at the close.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/backend/process.h"
#include "platform/backend/windowing.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/winmenu.h"
#include "platform/win32/winuser.h"

namespace {

bool gStarted = false;

using Clock = std::chrono::steady_clock;

// Serves our queue and the desktop's events for the given real time.
void Settle(int milliseconds) {
    auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (Clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        backend::WaitForEvents(10);
    }
}

std::string Text(const RECT& r) {
    std::ostringstream out;
    out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
    return out.str();
}

RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// Every window rectangle a window had, in order, while the events of `milliseconds` were served.
class RectWatch {
public:
    explicit RectWatch(HWND hwnd) : FHwnd(hwnd) { Sample(); }
    void Sample() {
        RECT r = WindowRect(FHwnd);
        if (FSeen.empty() || !EqualRect(&FSeen.back(), &r))
            FSeen.push_back(r);
    }
    void Watch(int milliseconds) {
        auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
        while (Clock::now() < end) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
                Sample();
            }
            backend::WaitForEvents(10);
            Sample();
        }
    }
    // Passes when the window never left `expected`.
    testing::AssertionResult StayedAt(const RECT& expected) const {
        if (FSeen.size() == 1 && EqualRect(&FSeen[0], &expected))
            return testing::AssertionSuccess();
        testing::AssertionResult result = testing::AssertionFailure();
        result << "expected " << Text(expected) << " throughout; the window was at";
        for (size_t i = 0; i < FSeen.size() && i < 4; ++i)
            result << " " << Text(FSeen[i]);
        if (FSeen.size() > 4)
            result << " ... " << Text(FSeen.back()) << " (" << FSeen.size() << " places)";
        return result;
    }

private:
    HWND FHwnd;
    std::vector<RECT> FSeen;
};

LRESULT PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class DisplayTest : public testing::Test {
protected:
    void SetUp() override {
        if (!gStarted || !backend::HostWindowsAvailable())
            GTEST_SKIP() << "no X server (run under xvfb-run)";
        static bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = PlainProc;
            wc.lpszClassName = u"DisplayForm";
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
    }
    void TearDown() override {
        for (HWND hwnd : FWindows)
            if (IsWindow(hwnd))
                DestroyWindow(hwnd);
        Settle(50);
    }
    HWND Form(const RECT& r, DWORD style = WS_OVERLAPPEDWINDOW) {
        HWND hwnd = CreateWindowExW(0, u"DisplayForm", u"Display test", style, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        EXPECT_TRUE(hwnd);
        FWindows.push_back(hwnd);
        ShowWindow(hwnd, SW_SHOWNORMAL);
        UpdateWindow(hwnd);
        return hwnd;
    }
    HWND Child(HWND parent, LPCWSTR className, DWORD style, const RECT& r) {
        HWND hwnd = CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, parent, nullptr, nullptr, nullptr);
        EXPECT_TRUE(hwnd);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return hwnd;
    }

private:
    std::vector<HWND> FWindows;
};

// The open list of a combo box (a popup with a plain border) stays where the combo box put it.
TEST_F(DisplayTest, DropDownListStaysPut) {
    HWND form = Form(RECT{100, 100, 400, 300});
    for (DWORD kind : {CBS_DROPDOWNLIST, CBS_DROPDOWN}) {
        SCOPED_TRACE(kind == CBS_DROPDOWN ? "with an edit" : "list only");
        HWND combo = Child(form, u"ComboBox", kind | WS_VSCROLL, RECT{20, 20, 200, 200});
        for (const Char* item : {u"North", u"East", u"South", u"West"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        Settle(100);
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        ASSERT_TRUE(IsWindowVisible(info.hwndList));
        RECT placed = WindowRect(info.hwndList);
        RectWatch watch(info.hwndList);
        watch.Watch(500);
        EXPECT_TRUE(watch.StayedAt(placed));
        EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        DestroyWindow(combo);
    }
}

// Popups of every frame the desktop is told of: bare, with a plain border, with a dialog frame, with a
// sizing frame.
TEST_F(DisplayTest, PopupsOfEveryFrameStayPut) {
    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {"bare", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE},
        {"plain border", WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE},
        {"dialog frame", WS_POPUP | WS_DLGFRAME, WS_EX_TOOLWINDOW},
        {"sizing frame", WS_POPUP | WS_THICKFRAME, WS_EX_TOOLWINDOW},
        {"client edge", WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE},
    };
    // All at once: each is watched over the same events.
    std::vector<HWND> popups;
    std::vector<RectWatch> watches;
    for (size_t i = 0; i < std::size(cases); ++i) {
        int x = 200 + static_cast<int>(i) * 170;
        HWND popup = CreateWindowExW(cases[i].exStyle, u"DisplayForm", u"", cases[i].style | WS_VISIBLE, x,
                                     250, 160, 120, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(popup);
        popups.push_back(popup);
        watches.emplace_back(popup);
    }
    auto end = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < end) {
        Settle(10);
        for (RectWatch& watch : watches)
            watch.Sample();
    }
    for (size_t i = 0; i < std::size(cases); ++i) {
        int x = 200 + static_cast<int>(i) * 170;
        EXPECT_TRUE(watches[i].StayedAt(RECT{x, 250, x + 160, 370})) << cases[i].name;
        DestroyWindow(popups[i]);
    }
}

// A tracking hint, shown and moved by its owner.
TEST_F(DisplayTest, HintStaysPut) {
    HWND form = Form(RECT{100, 100, 400, 300});
    HWND tip =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0,
                        0, 0, 0, form, nullptr, nullptr, nullptr);
    ASSERT_TRUE(tip);
    Char text[] = u"A hint on a real display";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(form);
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));
    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(220, 340));
    SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    Settle(50);
    ASSERT_TRUE(IsWindowVisible(tip));
    RECT shown = WindowRect(tip);
    EXPECT_EQ(shown.left, 220);
    EXPECT_EQ(shown.top, 340);
    RectWatch watch(tip);
    watch.Watch(250);
    EXPECT_TRUE(watch.StayedAt(shown));

    SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(260, 360));
    shown = WindowRect(tip);
    EXPECT_EQ(shown.left, 260);
    RectWatch moved(tip);
    moved.Watch(250);
    EXPECT_TRUE(moved.StayedAt(shown));
    DestroyWindow(tip);
}

// A pop-up menu open in its own loop: a timer of the owner watches the menu's window, then ends the menu.
struct MenuWatch {
    HWND menu = nullptr;
    std::vector<RECT> seen;
    Clock::time_point end;
};
MenuWatch* gMenuWatch = nullptr;

void WatchMenu(HWND, UINT, UINT_PTR, DWORD) {
    MenuWatch& w = *gMenuWatch;
    if (!w.menu)
        w.menu = FindWindowW(u"#32768", nullptr);
    if (w.menu && IsWindow(w.menu)) {
        RECT r = WindowRect(w.menu);
        if (w.seen.empty() || !EqualRect(&w.seen.back(), &r))
            w.seen.push_back(r);
    }
    if (Clock::now() >= w.end)
        EndMenu();
}

TEST_F(DisplayTest, PopupMenuStaysPut) {
    HWND form = Form(RECT{100, 100, 400, 300});
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, u"&Open");
    AppendMenuW(menu, MF_STRING, 2, u"&Save");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 3, u"E&xit");
    Settle(50);
    MenuWatch watch;
    watch.end = Clock::now() + std::chrono::milliseconds(500);
    gMenuWatch = &watch;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchMenu);
    auto began = Clock::now();
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, 200, 180, 0, form, nullptr);
    KillTimer(nullptr, timer);
    gMenuWatch = nullptr;
    DestroyMenu(menu);
    EXPECT_LT(Clock::now() - began, std::chrono::seconds(3)) << "the menu did not end when told";
    ASSERT_FALSE(watch.seen.empty()) << "the menu's window was never seen";
    EXPECT_EQ(watch.seen.size(), 1u) << "the menu moved from " << Text(watch.seen.front()) << " to "
                                     << Text(watch.seen.back());
    EXPECT_EQ(watch.seen.front().left, 200);
    EXPECT_EQ(watch.seen.front().top, 180);
}

// A message box in its modal loop: a timer of the owner watches the box, then presses Escape on it.
struct BoxWatch {
    HWND box = nullptr;
    std::vector<RECT> seen;
    RECT client{};
    Clock::time_point end;
};
BoxWatch* gBoxWatch = nullptr;

void WatchBox(HWND, UINT, UINT_PTR, DWORD) {
    BoxWatch& w = *gBoxWatch;
    if (!w.box)
        w.box = FindWindowW(u"#32770", nullptr);
    if (!w.box || !IsWindow(w.box))
        return;
    RECT r = WindowRect(w.box);
    if (w.seen.empty() || !EqualRect(&w.seen.back(), &r))
        w.seen.push_back(r);
    GetClientRect(w.box, &w.client);
    if (Clock::now() >= w.end)
        PostMessageW(w.box, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(DisplayTest, MessageBoxStaysPut) {
    HWND form = Form(RECT{100, 100, 500, 400});
    Settle(50);
    BoxWatch watch;
    watch.end = Clock::now() + std::chrono::milliseconds(500);
    gBoxWatch = &watch;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchBox);
    win32::MessageRequest request;
    request.owner = form;
    request.caption = u"Display test";
    request.text = u"The measurement module has not answered for a while. Check the radio link.";
    request.icon = win32::DialogIcon::Information;
    request.buttons = {win32::DialogButton::Ok, win32::DialogButton::Cancel};
    win32::DialogButton answer = win32::WindowDialogService().ShowMessage(request);
    KillTimer(nullptr, timer);
    gBoxWatch = nullptr;
    EXPECT_EQ(answer, win32::DialogButton::Cancel);
    ASSERT_FALSE(watch.seen.empty()) << "the message box was never seen";
    EXPECT_EQ(watch.seen.size(), 1u) << "the box moved from " << Text(watch.seen.front()) << " to "
                                     << Text(watch.seen.back());
    // Centred on its owner.
    const RECT& box = watch.seen.front();
    EXPECT_NEAR((box.left + box.right) / 2, 300, 1);
    EXPECT_NEAR((box.top + box.bottom) / 2, 250, 1);
}

// A form moved and sized by the program: it ends where it was put, also when the desktop answers several
// moves at once.
TEST_F(DisplayTest, FormMovedAndSizedStaysPut) {
    HWND form = Form(RECT{100, 100, 400, 300});
    Settle(100);
    struct Step {
        const char* name;
        RECT rect;
    };
    const Step steps[] = {
        {"moved", {160, 140, 460, 340}},
        {"sized", {160, 140, 520, 420}},
        {"moved and sized", {80, 90, 330, 260}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const RECT& r = step.rect;
        SetWindowPos(form, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RectWatch watch(form);
        watch.Watch(250);
        EXPECT_TRUE(watch.StayedAt(r));
    }
    // Moves one after another, before the desktop answers any of them.
    for (int i = 1; i <= 10; ++i)
        SetWindowPos(form, nullptr, 100 + 7 * i, 100 + 5 * i, 300 + 3 * i, 200 + 2 * i,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    RECT last{170, 150, 500, 370};
    Settle(300);
    EXPECT_EQ(Text(WindowRect(form)), Text(last));
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string windowManager;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--window-manager=", 17) == 0)
            windowManager = argv[i] + 17;
    backend::ChildProcess manager;
    std::string home;
    if (!backend::GetEnvironment("DISPLAY").empty()) {
        if (!windowManager.empty()) {
            // The manager runs a command of ours once it manages the screen; its line says so.
            int error = 0;
            if (!manager.Start({windowManager, "--sm-disable", "--startup", "/bin/echo managing"}, &error)) {
                std::fprintf(stderr, "cannot start the window manager %s (error %d)\n", windowManager.c_str(),
                             error);
                return 1;
            }
            std::string line;
            while (manager.ReadLine(line, 10000) && line != "managing") {
            }
            if (line != "managing") {
                std::fprintf(stderr, "the window manager %s did not start\n", windowManager.c_str());
                return 1;
            }
        }
        backend::SetEnvironment("QT_QPA_PLATFORM", "xcb");
        // Without a session bus the desktop's helpers would launch one through the X server for each run.
        if (backend::GetEnvironment("DBUS_SESSION_BUS_ADDRESS").empty())
            backend::SetEnvironment("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        home = backend::MakeTemporaryDirectory("zelmor-display-");
        backend::SetEnvironment("ZELMOR_HOME", home);
        gStarted = backend::StartPlatform(argc, argv);
    }
    int result = RUN_ALL_TESTS();
    if (gStarted)
        backend::StopPlatform();
    manager.Stop();
    if (!home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
    return result;
}
