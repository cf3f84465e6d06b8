// The message-name tables: the messages of the window classes by name, found by number and, from WM_USER
// up, by the class of the window.
#include <gtest/gtest.h>

#include "platform/win32/clipboard.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/richedit.h"
#include "platform/win32/spy.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/winmenu.h"
#include "tests/platform/win32/controls/controls_testing.h"

namespace {

TEST(Spy, MessagesOfTheWindowClassesHaveNames) {
    // Spread over the whole table, so that a break in its order shows.
    const std::pair<UINT, const char*> cases[] = {
        {WM_NULL, "WM_NULL"},
        {EM_SETSEL, "EM_SETSEL"},
        {SBM_SETSCROLLINFO, "SBM_SETSCROLLINFO"},
        {BM_CLICK, "BM_CLICK"},
        {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"},
        {CB_SHOWDROPDOWN, "CB_SHOWDROPDOWN"},
        {STM_GETIMAGE, "STM_GETIMAGE"},
        {LB_GETCOUNT, "LB_GETCOUNT"},
        {WM_RENDERFORMAT, "WM_RENDERFORMAT"},
        {WM_USER + 5, "WM_USER+5"},
    };
    for (const auto& [message, name] : cases)
        EXPECT_EQ(win32::MessageName(message), name);
}

using SpyClassTest = controltest::ControlTest;

TEST_F(SpyClassTest, MessagesFromWmUserAreNamedByTheWindowsClass) {
    struct Case {
        const Char* className;
        UINT message;
        const char* name;
    };
    // The same numbers in different classes, and numbers a class does not name.
    const Case cases[] = {
        {TRACKBAR_CLASSW, WM_USER + 1, "TBM_GETRANGEMIN"},
        {PROGRESS_CLASSW, WM_USER + 1, "PBM_SETRANGE"},
        {TOOLTIPS_CLASSW, WM_USER + 1, "TTM_ACTIVATE"},
        {STATUSCLASSNAMEW, SB_SETTEXTW, "SB_SETTEXTW"},
        {STATUSCLASSNAMEW, CCM_SETBKCOLOR, "SB_SETBKCOLOR"},
        {UPDOWN_CLASSW, UDM_SETPOS32, "UDM_SETPOS32"},
        {WC_TABCONTROLW, TCM_INSERTITEMW, "TCM_INSERTITEMW"},
        {DATETIMEPICK_CLASSW, 0x1001, "DTM_GETSYSTEMTIME"},
        {MONTHCAL_CLASSW, 0x1001, "MCM_GETCURSEL"},
        {RICHEDIT_CLASSW, EM_EXSETSEL, "EM_EXSETSEL"},
        {RICHEDIT_CLASSW, EM_SETSEL, "EM_SETSEL"},
        {u"Edit", EM_SETCUEBANNER, "EM_SETCUEBANNER"},
        {u"Edit", EM_EXSETSEL, "WM_USER+55"},
        {u"Button", WM_USER + 1, "WM_USER+1"},
        {TRACKBAR_CLASSW, WM_APP + 2, "WM_APP+2"},
    };
    for (const Case& c : cases) {
        HWND hwnd =
            CreateWindowExW(0, c.className, u"", WS_POPUP, 0, 0, 120, 30, FParent, nullptr, nullptr, nullptr);
        ASSERT_NE(hwnd, nullptr) << c.name;
        EXPECT_EQ(win32::MessageName(c.message, hwnd), c.name);
        DestroyWindow(hwnd);
    }
}

TEST_F(SpyClassTest, WithoutAWindowTheNumberStaysAndTheLastErrorIsKept) {
    HWND bar =
        CreateWindowExW(0, TRACKBAR_CLASSW, u"", WS_POPUP, 0, 0, 120, 30, FParent, nullptr, nullptr, nullptr);
    DestroyWindow(bar);
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(win32::MessageName(TBM_SETPOS, bar), "WM_USER+5");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(win32::MessageName(TBM_SETPOS, nullptr), "WM_USER+5");
}

} // namespace
