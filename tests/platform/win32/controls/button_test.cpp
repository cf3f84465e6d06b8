// Tests of the BUTTON class: clicks by mouse, space bar and BM_CLICK in the Win32 message order, check
// states of every kind, automatic radio groups, dialog codes, owner drawing, and themed and classic looks.
#include <gtest/gtest.h>

#include "platform/win32/winbutton.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class ButtonTest : public ControlTest {
protected:
    HWND MakeButton(DWORD style, RECT rect = RECT{10, 10, 110, 40}, LPCWSTR text = u"Button", int id = 100) {
        return Child(u"Button", style, rect, text, id);
    }
    LRESULT Check(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0); }
};

// The parent hears BN_CLICKED with the button's id and handle.
const WPARAM ClickedOf100 = MAKEWPARAM(100, BN_CLICKED);

TEST_F(ButtonTest, MouseClickOnAnAutoCheckBoxInWin32Order) {
    HWND box = MakeButton(BS_AUTOCHECKBOX | WS_TABSTOP);
    controltest::Record(box);
    MessageLog log;
    log.Name(FParent, "parent");
    log.Name(box, "box");
    Click(box, 5, 15);
    EXPECT_TRUE(log.Matches({
        {"box", WM_MOUSEACTIVATE, Sent | Optional},
        {"parent", WM_MOUSEACTIVATE, Sent | Optional},
        {"box", WM_LBUTTONDOWN, Sent},
        {"parent", WM_KILLFOCUS, Sent},
        {"box", WM_SETFOCUS, Sent},
        {"box", BM_SETSTATE, Sent | WParam, TRUE},
        {"box", WM_LBUTTONUP, Sent},
        {"box", BM_SETSTATE, Sent | WParam, FALSE},
        {"box", BM_SETCHECK, Sent | WParam, BST_CHECKED},
        {"box", WM_CAPTURECHANGED, Sent},
        {"parent", WM_COMMAND, Sent | WParam | LParam, ClickedOf100, reinterpret_cast<LPARAM>(box)},
    }));
    EXPECT_EQ(Check(box), BST_CHECKED);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(box, BM_GETSTATE, 0, 0), BST_CHECKED | BST_FOCUS);
}

TEST_F(ButtonTest, SpaceBarPressesAndReleaseClicks) {
    HWND box = MakeButton(BS_AUTOCHECKBOX);
    SetFocus(box);
    controltest::Record(box);
    MessageLog log;
    log.Name(FParent, "parent");
    log.Name(box, "box");
    win32::input::Key(VK_SPACE, true);
    PumpInput();
    EXPECT_TRUE(log.Matches({
        {"box", WM_KEYDOWN, Sent | WParam, VK_SPACE},
        {"box", BM_SETSTATE, Sent | WParam, TRUE},
        {"box", WM_CHAR, Sent | WParam, u' '},
    }));
    // Held down: pushed and captured, not yet clicked.
    EXPECT_EQ(SendMessageW(box, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_EQ(GetCapture(), box);
    EXPECT_EQ(Check(box), BST_UNCHECKED);
    log.Clear();
    win32::input::Key(VK_SPACE, false);
    PumpInput();
    EXPECT_TRUE(log.Matches({
        {"box", WM_KEYUP, Sent | WParam, VK_SPACE},
        {"box", BM_SETSTATE, Sent | WParam, FALSE},
        {"box", BM_SETCHECK, Sent | WParam, BST_CHECKED},
        {"box", WM_CAPTURECHANGED, Sent},
        {"parent", WM_COMMAND, Sent | WParam, ClickedOf100},
    }));
    EXPECT_EQ(Check(box), BST_CHECKED);
    // Space again unchecks.
    Press(VK_SPACE);
    EXPECT_EQ(Check(box), BST_UNCHECKED);
}

TEST_F(ButtonTest, ReleaseOutsideDoesNotClick) {
    HWND push = MakeButton(BS_PUSHBUTTON);
    MessageLog log;
    POINT inside = ScreenPoint(push, 10, 10);
    POINT outside = ScreenPoint(push, 300, 200);
    win32::input::MouseButton(win32::input::Button::Left, true, inside.x, inside.y);
    PumpInput();
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    // Leaving the button lifts it; coming back pushes it again.
    win32::input::MouseMove(outside.x, outside.y);
    PumpInput();
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    win32::input::MouseButton(win32::input::Button::Left, false, outside.x, outside.y);
    PumpInput();
    EXPECT_TRUE(Notifications(log, FParent, push).empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ButtonTest, CheckStatesOfEachKind) {
    struct Case {
        const char* name;
        DWORD style;
        std::vector<LRESULT> afterClicks; // BM_GETCHECK after each BM_CLICK
        LRESULT setIndeterminate;         // BM_GETCHECK after BM_SETCHECK(BST_INDETERMINATE)
    };
    const Case cases[] = {
        {"push button", BS_PUSHBUTTON, {0, 0}, BST_UNCHECKED},
        {"check box", BS_CHECKBOX, {0, 0}, BST_CHECKED},
        {"auto check box", BS_AUTOCHECKBOX, {1, 0, 1}, BST_CHECKED},
        {"3-state", BS_3STATE, {0, 0}, BST_INDETERMINATE},
        {"auto 3-state", BS_AUTO3STATE, {1, 2, 0, 1}, BST_INDETERMINATE},
        {"radio button", BS_RADIOBUTTON, {0, 0}, BST_CHECKED},
        {"auto radio button", BS_AUTORADIOBUTTON, {1, 1}, BST_CHECKED},
        {"group box", BS_GROUPBOX, {0}, BST_UNCHECKED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = MakeButton(c.style);
        MessageLog log;
        for (LRESULT expected : c.afterClicks) {
            SendMessageW(button, BM_CLICK, 0, 0);
            EXPECT_EQ(Check(button), expected);
        }
        // Every kind but the group box says it was clicked.
        size_t clicks = (c.style == BS_GROUPBOX) ? 0 : c.afterClicks.size();
        EXPECT_EQ(Notifications(log, FParent, button).size(), clicks);
        SendMessageW(button, BM_SETCHECK, BST_INDETERMINATE, 0);
        EXPECT_EQ(Check(button), c.setIndeterminate);
        DestroyWindow(button);
    }
}

TEST_F(ButtonTest, DisabledButtonIgnoresClicks) {
    HWND box = MakeButton(BS_AUTOCHECKBOX);
    EnableWindow(box, FALSE);
    MessageLog log;
    SendMessageW(box, BM_CLICK, 0, 0);
    Click(box, 5, 15);
    EXPECT_EQ(Check(box), BST_UNCHECKED);
    EXPECT_TRUE(Notifications(log, FParent, box).empty());
}

TEST_F(ButtonTest, AutoRadioButtonsKeepOneCheckedPerGroup) {
    HWND a = MakeButton(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, RECT{10, 10, 110, 30}, u"A", 1);
    HWND b = MakeButton(BS_AUTORADIOBUTTON, RECT{10, 30, 110, 50}, u"B", 2);
    HWND c = MakeButton(BS_AUTORADIOBUTTON, RECT{10, 50, 110, 70}, u"C", 3);
    // A second group: its radio buttons are left alone.
    HWND d = MakeButton(BS_AUTORADIOBUTTON | WS_GROUP, RECT{10, 80, 110, 100}, u"D", 4);
    SendMessageW(d, BM_SETCHECK, BST_CHECKED, 0);
    Click(a, 5, 10);
    EXPECT_EQ(Check(a), BST_CHECKED);
    Click(c, 5, 10);
    EXPECT_EQ(Check(a), BST_UNCHECKED);
    EXPECT_EQ(Check(b), BST_UNCHECKED);
    EXPECT_EQ(Check(c), BST_CHECKED);
    EXPECT_EQ(Check(d), BST_CHECKED);
    SendMessageW(b, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Check(c), BST_UNCHECKED);
}

// Arrows move the focus within a group (the framework's dialog keys do that); a radio button that gets
// the focus from the keyboard unchecked says BN_CLICKED, and the parent checks it.
TEST_F(ButtonTest, ArrowsAmongRadioButtonsMoveTheCheck) {
    std::vector<HWND> radios;
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 200};
    options.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
            SendMessageW(reinterpret_cast<HWND>(lParam), BM_SETCHECK, BST_CHECKED, 0);
        return std::nullopt;
    };
    HWND parent = Create(options);
    for (int i = 0; i < 3; ++i)
        radios.push_back(CreateWindowExW(
            0, u"Button", u"R", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i ? 0 : WS_GROUP), 10,
            10 + 25 * i, 100, 20, parent, reinterpret_cast<HMENU>(static_cast<std::intptr_t>(10 + i)),
            nullptr, nullptr));
    // A key handler as the framework's: Down and Right go to the next radio button of the group.
    auto arrow = [&](int key) {
        HWND focus = GetFocus();
        auto it = std::find(radios.begin(), radios.end(), focus);
        ASSERT_NE(it, radios.end());
        size_t index = static_cast<size_t>(it - radios.begin());
        index = (key == VK_DOWN || key == VK_RIGHT) ? (index + 1) % radios.size()
                                                    : (index + radios.size() - 1) % radios.size();
        SendMessageW(focus, WM_GETDLGCODE, 0, 0) == (DLGC_BUTTON | DLGC_RADIOBUTTON)
            ? (void)SetFocus(radios[index])
            : (void)0;
    };
    SendMessageW(radios[0], BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(radios[0]);
    arrow(VK_DOWN);
    EXPECT_EQ(Check(radios[1]), BST_CHECKED);
    EXPECT_EQ(Check(radios[0]), BST_UNCHECKED);
    arrow(VK_DOWN);
    arrow(VK_DOWN);
    EXPECT_EQ(GetFocus(), radios[0]);
    EXPECT_EQ(Check(radios[0]), BST_CHECKED);
    EXPECT_EQ(Check(radios[2]), BST_UNCHECKED);
    // The focus reaching the checked one says nothing.
    SetFocus(parent);
    MessageLog log;
    SetFocus(radios[0]);
    EXPECT_EQ(Notifications(log, parent, radios[0]).size(), 0u);
}

TEST_F(ButtonTest, DialogCodes) {
    struct Case {
        DWORD style;
        LRESULT code;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_CHECKBOX, DLGC_BUTTON},
        {BS_AUTO3STATE, DLGC_BUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
        {BS_OWNERDRAW, DLGC_BUTTON},
    };
    for (const Case& c : cases) {
        HWND button = MakeButton(c.style);
        EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), c.code) << "style " << c.style;
        DestroyWindow(button);
    }
    // BM_SETSTYLE turns a push button into the default one and back.
    HWND push = MakeButton(BS_PUSHBUTTON);
    SendMessageW(push, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(ButtonTest, NotifyStyleTellsFocusAndDoubleClicks) {
    HWND push = MakeButton(BS_PUSHBUTTON | BS_NOTIFY);
    HWND other = MakeButton(BS_PUSHBUTTON, RECT{200, 10, 300, 40}, u"Other", 200);
    MessageLog log;
    SetFocus(push);
    SetFocus(other);
    Click(push, 10, 10, true);
    std::vector<WORD> codes = Notifications(log, FParent, push);
    std::vector<WORD> expected = {BN_SETFOCUS, BN_KILLFOCUS, BN_SETFOCUS,     BN_HILITE,
                                  BN_UNHILITE, BN_CLICKED,   BN_DOUBLECLICKED};
    EXPECT_EQ(codes, expected);
}

TEST_F(ButtonTest, OwnerDrawnButtonAsksItsParentToDraw) {
    std::vector<DRAWITEMSTRUCT> draws;
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 200};
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_DRAWITEM)
            return std::nullopt;
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        draws.push_back(*item);
        FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        return TRUE;
    };
    HWND parent = Create(options);
    HWND button =
        CreateWindowExW(0, u"Button", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 60, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(7)), nullptr, nullptr);
    Pump();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back().CtlType, ODT_BUTTON);
    EXPECT_EQ(draws.back().CtlID, 7u);
    EXPECT_EQ(draws.back().hwndItem, button);
    EXPECT_EQ(draws.back().itemState & ODS_SELECTED, 0u);
    EXPECT_EQ(draws.back().rcItem.right, 60);
    HDC dc = GetDC(button);
    EXPECT_EQ(GetPixel(dc, 30, 10), RGB(0, 0, 0));
    ReleaseDC(button, dc);
    SetFocus(button);
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    Pump();
    EXPECT_EQ(draws.back().itemState & (ODS_SELECTED | ODS_FOCUS), ODS_SELECTED | ODS_FOCUS);
}

// Pixels of a check box: the box and its mark are drawn at the left, in the themed and the classic look.
class ButtonLook : public ButtonTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = GetParam();
        win32::SetSystemSettings(settings);
        ButtonTest::SetUp();
    }
    // How many pixels of the rectangle differ between two renderings.
    static int Differences(HWND a, HWND b, RECT rect) {
        HDC da = GetDC(a);
        HDC db = GetDC(b);
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += GetPixel(da, x, y) != GetPixel(db, x, y);
        ReleaseDC(a, da);
        ReleaseDC(b, db);
        return count;
    }
};

TEST_P(ButtonLook, CheckMarkInTheBox) {
    HWND unchecked = MakeButton(BS_AUTOCHECKBOX, RECT{10, 10, 110, 30}, u"");
    HWND checked = MakeButton(BS_AUTOCHECKBOX, RECT{10, 40, 110, 60}, u"");
    SendMessageW(checked, BM_SETCHECK, BST_CHECKED, 0);
    Pump();
    // The box is 13 pixels square, centred vertically; the mark is inside it and nothing else differs.
    EXPECT_GT(Differences(unchecked, checked, RECT{2, 6, 11, 14}), 5);
    EXPECT_EQ(Differences(unchecked, checked, RECT{14, 0, 100, 20}), 0);
    // The box's frame is not the background.
    HDC dc = GetDC(unchecked);
    EXPECT_NE(GetPixel(dc, 0, 10), GetPixel(dc, 50, 10));
    ReleaseDC(unchecked, dc);
}

TEST_P(ButtonLook, PushedPushButtonLooksDifferent) {
    HWND normal = MakeButton(BS_PUSHBUTTON, RECT{10, 10, 90, 40}, u"");
    HWND pushed = MakeButton(BS_PUSHBUTTON, RECT{100, 10, 180, 40}, u"");
    SendMessageW(pushed, BM_SETSTATE, TRUE, 0);
    Pump();
    EXPECT_GT(Differences(normal, pushed, RECT{0, 0, 80, 30}), 20);
}

// The focus shows as a dotted rectangle round the caption of a check box, never over its box.
TEST_P(ButtonLook, FocusRectangleRoundTheCaption) {
    HWND plain = MakeButton(BS_AUTOCHECKBOX, RECT{10, 10, 110, 30}, u"Caption");
    HWND focused = MakeButton(BS_AUTOCHECKBOX, RECT{10, 40, 110, 60}, u"Caption");
    SetFocus(focused);
    Pump();
    EXPECT_GT(Differences(plain, focused, RECT{14, 0, 100, 20}), 20);
    EXPECT_EQ(Differences(plain, focused, RECT{0, 0, 14, 20}), 0);
    SetFocus(plain);
    Pump();
    EXPECT_GT(Differences(plain, focused, RECT{14, 0, 100, 20}), 20);
    SetFocus(FParent);
    Pump();
    EXPECT_EQ(Differences(plain, focused, RECT{0, 0, 100, 20}), 0);
}

// The mouse over a button makes it hot (a look of its own when themed) until it leaves.
TEST_P(ButtonLook, HotWhileTheMouseIsOver) {
    HWND normal = MakeButton(BS_PUSHBUTTON, RECT{10, 10, 90, 40}, u"");
    HWND hot = MakeButton(BS_PUSHBUTTON, RECT{100, 10, 180, 40}, u"");
    POINT over = ScreenPoint(hot, 40, 15);
    win32::input::MouseMove(over.x, over.y);
    Pump();
    EXPECT_EQ(SendMessageW(hot, BM_GETSTATE, 0, 0) & BST_HOT, BST_HOT);
    if (GetParam()) {
        EXPECT_GT(Differences(normal, hot, RECT{0, 0, 80, 30}), 20);
    }
    POINT away = ScreenPoint(FParent, 300, 200);
    win32::input::MouseMove(away.x, away.y);
    Pump();
    EXPECT_EQ(SendMessageW(hot, BM_GETSTATE, 0, 0) & BST_HOT, 0);
    EXPECT_EQ(Differences(normal, hot, RECT{0, 0, 80, 30}), 0);
}

INSTANTIATE_TEST_SUITE_P(ThemedAndClassic, ButtonLook, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Themed" : "Classic";
                         });

} // namespace
