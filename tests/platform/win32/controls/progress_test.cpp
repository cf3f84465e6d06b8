// Tests of the progress bar class: range, position, steps that start over, colours, the drawn bar and
// the messages each action gives.
#include <gtest/gtest.h>

#include "platform/win32/commctrl.h"
#include "platform/win32/sysconfig.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class ProgressTest : public ControlTest {};

TEST_F(ProgressTest, RangePositionAndSteps) {
    HWND bar = Child(PROGRESS_CLASSW, 0, RECT{10, 10, 210, 30});
    PBRANGE range{};
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageW(bar, PBM_SETRANGE32, 10, 60), MAKELRESULT(0, 100));
    // Positions are kept within the range; each call answers the old position.
    EXPECT_EQ(SendMessageW(bar, PBM_SETPOS, 5, 0), 10);
    EXPECT_EQ(SendMessageW(bar, PBM_SETPOS, 70, 0), 10);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 60);
    EXPECT_EQ(SendMessageW(bar, PBM_DELTAPOS, static_cast<WPARAM>(-20), 0), 60);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(SendMessageW(bar, PBM_SETSTEP, 15, 0), 10);
    EXPECT_EQ(SendMessageW(bar, PBM_STEPIT, 0, 0), 40);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 55);
    // Past the end the bar starts over by what is left over: 55 + 15 = 70 is 10 past 60.
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 20);
    // The 16-bit form of the range.
    SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 1000));
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 1000);
    EXPECT_EQ(SendMessageW(bar, PBM_SETBARCOLOR, 0, RGB(255, 0, 0)), static_cast<LRESULT>(CLR_DEFAULT));
}

// The filled part grows from the left (or from the bottom when vertical) in the bar's colour.
TEST_F(ProgressTest, DrawsTheFilledPart) {
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = false;
    win32::SetSystemSettings(settings);
    HWND across = Child(PROGRESS_CLASSW, PBS_SMOOTH, RECT{10, 10, 210, 30});
    HWND upwards = Child(PROGRESS_CLASSW, PBS_SMOOTH | PBS_VERTICAL, RECT{250, 10, 270, 210}, u"", 101);
    for (HWND bar : {across, upwards}) {
        SendMessageW(bar, PBM_SETBARCOLOR, 0, RGB(255, 0, 0));
        SendMessageW(bar, PBM_SETPOS, 50, 0);
    }
    Pump();
    HDC dc = GetDC(across);
    EXPECT_EQ(GetPixel(dc, 50, 10), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, 150, 10), RGB(255, 0, 0));
    ReleaseDC(across, dc);
    dc = GetDC(upwards);
    EXPECT_EQ(GetPixel(dc, 10, 150), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc, 10, 50), RGB(255, 0, 0));
    ReleaseDC(upwards, dc);
}

// Both looks tell the filled part from the rest with the default colours.
TEST_F(ProgressTest, ClassicAndThemedFill) {
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themed;
        win32::SetSystemSettings(settings);
        HWND bar = Child(PROGRESS_CLASSW, 0, RECT{10, 10, 210, 30});
        SendMessageW(bar, PBM_SETPOS, 50, 0);
        Pump();
        HDC dc = GetDC(bar);
        EXPECT_NE(GetPixel(dc, 30, 10), GetPixel(dc, 170, 10));
        ReleaseDC(bar, dc);
        DestroyWindow(bar);
    }
}

// A progress bar takes no input: its parent hears only that it came and went, and a click leaves the
// focus where it was.
TEST_F(ProgressTest, MessageSequences) {
    MessageLog log;
    log.Name(FParent, "parent");
    // Create.
    HWND bar = Child(PROGRESS_CLASSW, 0, RECT{10, 10, 210, 30});
    log.Name(bar, "bar");
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 100)},
    }));
    controltest::Record(bar);
    // The value moves by code and by steps: nothing but the calls themselves.
    log.Clear();
    SendMessageW(bar, PBM_SETPOS, 40, 0);
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_TRUE(log.Matches({
        {"bar", PBM_SETPOS, Sent | WParam, 40},
        {"bar", PBM_STEPIT, Sent},
    }));
    EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 50);
    // A click on the bar.
    HWND before = GetFocus();
    log.Clear();
    Click(bar, 20, 10);
    EXPECT_TRUE(log.Matches({
        {"bar", WM_MOUSEACTIVATE, Sent | Optional},
        {"parent", WM_MOUSEACTIVATE, Sent | Optional},
        {"bar", WM_LBUTTONDOWN, Sent | WParam, MK_LBUTTON},
        {"bar", WM_LBUTTONUP, Sent},
    }));
    EXPECT_EQ(GetFocus(), before);
    // Destroy.
    log.Clear();
    DestroyWindow(bar);
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam | LParam, MAKEWPARAM(WM_DESTROY, 100),
         reinterpret_cast<LPARAM>(bar)},
        {"bar", WM_SHOWWINDOW, Sent | WParam, FALSE},
        {"bar", WM_WINDOWPOSCHANGING, Sent},
        {"bar", WM_WINDOWPOSCHANGED, Sent},
        {"bar", WM_DESTROY, Sent},
        {"bar", WM_NCDESTROY, Sent},
    }));
}

} // namespace
