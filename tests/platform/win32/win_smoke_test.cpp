// The smoke test on a real display (a virtual X server in CI): a window of ours shown through the
// desktop, checked on a screenshot, and clicked through the desktop's own event delivery. Without a
// display it skips.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/backend/commondialogs.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/backend/windowing.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/winuser.h"

namespace {

bool gStarted = false;
COLORREF gColour = RGB(255, 0, 0);
POINT gClicked{-1, -1};

LRESULT SmokeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH brush = CreateSolidBrush(gColour);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        RECT mark{10, 10, 30, 30};
        FillRect(dc, &mark, GetSysColorBrush(COLOR_WINDOWTEXT));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        gClicked = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        gColour = RGB(0, 160, 0);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// Serves our queue and the desktop's events until done() or a few seconds pass.
template <class Done> bool RunUntil(Done done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        backend::WaitForEvents(20);
    }
    return done();
}

std::uint32_t ScreenPixel(int x, int y) {
    std::vector<std::uint32_t> pixels = backend::GrabScreen(x, y, 1, 1);
    return pixels.empty() ? 0xFFFFFFFFu : pixels[0];
}

TEST(WinSmoke, RealWindowShowsItsSurfaceAndTakesAClick) {
    if (!gStarted || !backend::HostWindowsAvailable())
        GTEST_SKIP() << "no display (run under xvfb-run)";
    WNDCLASSW wc{};
    wc.lpfnWndProc = SmokeProc;
    wc.lpszClassName = u"Smoke";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, u"Smoke", u"Smoke", WS_POPUP | WS_VISIBLE, 100, 100, 200, 150,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(hwnd);
    // The surface's red, and the black mark at (10, 10) of the client area, reach the screen.
    EXPECT_TRUE(RunUntil([] { return ScreenPixel(200, 175) == 0xFF0000; }))
        << std::hex << ScreenPixel(200, 175);
    EXPECT_EQ(ScreenPixel(115, 115), 0x000000u);
    EXPECT_EQ(ScreenPixel(95, 95) == 0xFF0000, false);

    ASSERT_TRUE(backend::SendSyntheticClick(150, 130));
    EXPECT_TRUE(RunUntil([] { return ScreenPixel(200, 175) == 0x00A000; }))
        << std::hex << ScreenPixel(200, 175);
    EXPECT_EQ(gClicked.x, 50);
    EXPECT_EQ(gClicked.y, 30);

    // The message loop waits inside the desktop's event loop and wakes for timers.
    SetTimer(hwnd, 1, 30, nullptr);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_TIMER, WM_TIMER));
    EXPECT_EQ(msg.hwnd, hwnd);
    KillTimer(hwnd, 1);
    DestroyWindow(hwnd);
}

// A real file dialog over a window of ours. Our own loop keeps running while the dialog is open: a zero
// timer of the owner finds the dialog among the application's widgets and has a name typed into it with
// Enter, either at once or as the desktop's next events, which end the dialog while our loop waits. A
// second timer cancels a dialog that would otherwise stay open, so that a fault fails instead of hanging.
constexpr UINT_PTR TypeTimer = 1;
constexpr UINT_PTR GiveUpTimer = 2;
backend::InputTiming gTiming = backend::InputTiming::Now;
bool gTyped = false;
bool gOwnerDisabled = false;
bool gGaveUp = false;

LRESULT DialogOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    KillTimer(hwnd, wParam);
    if (wParam == TypeTimer) {
        gOwnerDisabled = !IsWindowEnabled(hwnd);
        gTyped = backend::TypeIntoFileDialog(u"report", gTiming);
    } else {
        gGaveUp = true;
        backend::FinishOpenDialog(false);
    }
    return 0;
}

TEST(WinSmoke, RealFileDialogAnswersTheNameTyped) {
    if (!gStarted || !backend::HostWindowsAvailable())
        GTEST_SKIP() << "no display (run under xvfb-run)";
    std::string folder = backend::MakeTemporaryDirectory("zelmor-smoke");
    ASSERT_FALSE(folder.empty());
    WNDCLASSW wc{};
    wc.lpfnWndProc = DialogOwnerProc;
    wc.lpszClassName = u"SmokeOwner";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND owner = CreateWindowExW(0, u"SmokeOwner", u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    for (backend::InputTiming timing : {backend::InputTiming::Now, backend::InputTiming::Queued}) {
        SCOPED_TRACE(timing == backend::InputTiming::Now ? "typed at once" : "typed as desktop events");
        gTiming = timing;
        gTyped = false;
        gOwnerDisabled = false;
        gGaveUp = false;
        SetTimer(owner, TypeTimer, 0, nullptr);
        SetTimer(owner, GiveUpTimer, 5000, nullptr);

        win32::FileRequest request;
        request.kind = win32::FileRequest::Kind::Save;
        request.owner = owner;
        request.initialDir = String(folder.begin(), folder.end());
        request.defaultExt = u"txt";
        request.filters = {{u"Text files (*.txt)", u"*.txt"}, {u"All", u"*.*"}};
        EXPECT_TRUE(win32::GetDialogService().FileDialog(request));
        KillTimer(owner, GiveUpTimer);
        EXPECT_FALSE(gGaveUp) << "the loop did not learn that the dialog was answered";
        EXPECT_TRUE(gTyped);
        EXPECT_TRUE(gOwnerDisabled);
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(request.files, std::vector<String>{request.initialDir + u"/report.txt"});
        EXPECT_EQ(request.filterIndex, 0u);
    }
    DestroyWindow(owner);
    std::filesystem::remove_all(folder);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!backend::GetEnvironment("DISPLAY").empty()) {
        backend::SetEnvironment("QT_QPA_PLATFORM", "xcb");
        // Without a session bus the desktop's helpers would launch one through the X server for each run,
        // and leave it (and the connection's buffers) behind.
        if (backend::GetEnvironment("DBUS_SESSION_BUS_ADDRESS").empty())
            backend::SetEnvironment("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        gStarted = backend::StartPlatform(argc, argv);
    }
    int result = RUN_ALL_TESTS();
    if (gStarted)
        backend::StopPlatform();
    return result;
}
