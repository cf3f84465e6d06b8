// Tests of the status bar class: placement along the parent, parts and their text, simple mode,
// owner-drawn parts and the size grip.
#include <gtest/gtest.h>

#include "platform/win32/commctrl.h"
#include "platform/win32/sysconfig.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class StatusBarTest : public ControlTest {
protected:
    HWND Bar(DWORD style = 0) { return Child(STATUSCLASSNAMEW, style, RECT{0, 0, 0, 0}); }
};

TEST_F(StatusBarTest, SitsAtTheParentsBottomAndFollowsItsSize) {
    HWND bar = Bar();
    RECT parent;
    GetClientRect(FParent, &parent);
    RECT rect;
    GetWindowRect(bar, &rect);
    MapWindowPoints(nullptr, FParent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, parent.right);
    EXPECT_EQ(rect.bottom, parent.bottom);
    EXPECT_GT(rect.bottom - rect.top, 10);

    // The parent grows and forwards its WM_SIZE, as parents of status bars do.
    SetWindowPos(FParent, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(bar, WM_SIZE, 0, 0);
    GetClientRect(FParent, &parent);
    GetWindowRect(bar, &rect);
    MapWindowPoints(nullptr, FParent, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.right, parent.right);
    EXPECT_EQ(rect.bottom, parent.bottom);

    // A minimum height makes it taller.
    int before = rect.bottom - rect.top;
    SendMessageW(bar, SB_SETMINHEIGHT, 60, 0);
    GetWindowRect(bar, &rect);
    EXPECT_GT(rect.bottom - rect.top, before);
}

TEST_F(StatusBarTest, PartsKeepTheirText) {
    HWND bar = Bar();
    int edges[] = {100, 250, -1};
    ASSERT_TRUE(SendMessageW(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
    EXPECT_TRUE(SendMessageW(bar, SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(u"Second")));
    EXPECT_FALSE(SendMessageW(bar, SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(u"None such")));
    Char buffer[32] = {};
    LRESULT answer = SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(String(buffer), u"Second");
    EXPECT_EQ(LOWORD(answer), 6);
    EXPECT_EQ(HIWORD(answer), SBT_POPOUT);
    EXPECT_EQ(SendMessageW(bar, SB_GETTEXTLENGTHW, 1, 0), MAKELRESULT(6, SBT_POPOUT));

    // Part rectangles follow the edges with the gap between parts; the last runs to the end.
    RECT rect;
    ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_EQ(rect.left, 102);
    EXPECT_EQ(rect.right, 250);
    ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&rect)));
    RECT client;
    GetClientRect(bar, &client);
    EXPECT_EQ(rect.right, client.right);
    EXPECT_FALSE(SendMessageW(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&rect)));

    // Fewer parts keep the text of those that stay.
    int two[] = {150, -1};
    SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(two));
    int got[4] = {};
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(got)), 2);
    EXPECT_EQ(got[0], 150);
    EXPECT_EQ(got[1], -1);
    SendMessageW(bar, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(String(buffer), u"Second");
    EXPECT_FALSE(SendMessageW(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(two)));

    // The window text is the first part.
    SetWindowTextW(bar, u"First");
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(String(buffer), u"First");
}

TEST_F(StatusBarTest, SimpleModeHasOnePartOfItsOwn) {
    HWND bar = Bar();
    MessageLog log;
    SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(u"Part"));
    SendMessageW(bar, SB_SIMPLE, TRUE, 0);
    EXPECT_TRUE(SendMessageW(bar, SB_ISSIMPLE, 0, 0));
    bool notified = false;
    for (const wintest::Record& r : log.Records())
        notified = notified || (r.hwnd == FParent && r.message == WM_NOTIFY);
    EXPECT_TRUE(notified);
    SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(u"Hint"));
    Char buffer[32] = {};
    SendMessageW(bar, SB_GETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(String(buffer), u"Hint");
    // The parts are kept for when simple mode ends.
    SendMessageW(bar, SB_SIMPLE, FALSE, 0);
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(String(buffer), u"Part");
}

TEST_F(StatusBarTest, OwnerDrawnPartAndGrip) {
    std::vector<DRAWITEMSTRUCT> draws;
    Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 200};
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_DRAWITEM)
            return std::nullopt;
        draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    };
    HWND parent = Create(options);
    HWND bar =
        CreateWindowExW(0, STATUSCLASSNAMEW, u"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(5)), nullptr, nullptr);
    int edges[] = {80, -1};
    SendMessageW(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
    SendMessageW(bar, SB_SETTEXTW, 1 | SBT_OWNERDRAW, 1234);
    EXPECT_EQ(SendMessageW(bar, SB_GETTEXTW, 1, 0), 1234);
    Pump();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back().CtlID, 5u);
    EXPECT_EQ(draws.back().itemID, 1u);
    EXPECT_EQ(draws.back().itemData, 1234u);
    EXPECT_EQ(draws.back().rcItem.left, 82);

    // The grip in the bottom-right corner sizes the parent.
    RECT rect;
    GetWindowRect(bar, &rect);
    EXPECT_EQ(SendMessageW(bar, WM_NCHITTEST, 0,
                           MAKELPARAM(static_cast<WORD>(rect.right - 2), static_cast<WORD>(rect.bottom - 2))),
              HTBOTTOMRIGHT);
    EXPECT_NE(SendMessageW(bar, WM_NCHITTEST, 0,
                           MAKELPARAM(static_cast<WORD>(rect.left + 5), static_cast<WORD>(rect.top + 5))),
              HTBOTTOMRIGHT);
}

// Text is drawn in its part, in the classic and the themed look: a bar with text differs from one
// without only inside the text's part.
TEST_F(StatusBarTest, PaintsTheTextOfItsPart) {
    for (bool themed : {false, true}) {
        SCOPED_TRACE(themed ? "themed" : "classic");
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themed;
        win32::SetSystemSettings(settings);
        HWND bars[2];
        for (int i = 0; i < 2; ++i) {
            bars[i] = Child(STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE,
                            RECT{0, 40 * i, 300, 40 * i + 22}, u"", 10 + i);
            int edges[] = {150, -1};
            SendMessageW(bars[i], SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
        }
        SendMessageW(bars[1], SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(u"WWWW"));
        Pump();
        HDC a = GetDC(bars[0]);
        HDC b = GetDC(bars[1]);
        int inside = 0;
        int outside = 0;
        for (int y = 4; y < 18; ++y) {
            for (int x = 4; x < 140; ++x)
                inside += GetPixel(a, x, y) != GetPixel(b, x, y);
            for (int x = 160; x < 270; ++x)
                outside += GetPixel(a, x, y) != GetPixel(b, x, y);
        }
        ReleaseDC(bars[0], a);
        ReleaseDC(bars[1], b);
        EXPECT_GT(inside, 10);
        EXPECT_EQ(outside, 0);
        DestroyWindow(bars[0]);
        DestroyWindow(bars[1]);
    }
}

} // namespace
