// Tests of the COMBOBOX control: its parts and GetComboBoxInfo, the CB_* messages, dropping down and picking
// by mouse and keyboard with the CBN_* order, typing in the edit, owner drawing and both looks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/backend/file.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/controls/controls_testing.h"

namespace {

using namespace controltest;
using wintest::Expected;
using wintest::MessageLog;
using wintest::Optional;
using wintest::Sent;
using wintest::WParam;

class ComboTest : public ControlTest {
protected:
    HWND Combo(DWORD style, std::initializer_list<const Char*> items = {}) {
        HWND combo = Child(u"ComboBox", style | WS_VSCROLL, RECT{10, 10, 160, 150});
        SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (const Char* item : items)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        return combo;
    }
    static COMBOBOXINFO Info(HWND combo) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(GetComboBoxInfo(combo, &info));
        return info;
    }
    void ClickButton(HWND combo) {
        COMBOBOXINFO info = Info(combo);
        Clock::Advance(1000);
        Click(combo, (info.rcButton.left + info.rcButton.right) / 2,
              (info.rcButton.top + info.rcButton.bottom) / 2);
    }
    void ClickListItem(HWND combo, int index) {
        HWND list = Info(combo).hwndList;
        RECT rect{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        Clock::Advance(1000);
        Click(list, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    static String LBText(HWND combo, int index) {
        Char buffer[64]{};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
};

TEST_F(ComboTest, PartsOfEachKind) {
    HWND dropDown = Combo(CBS_DROPDOWN);
    COMBOBOXINFO info = Info(dropDown);
    EXPECT_EQ(info.hwndCombo, dropDown);
    ASSERT_NE(info.hwndItem, nullptr);
    EXPECT_EQ(GetParent(info.hwndItem), dropDown);
    EXPECT_EQ(GetWindowLongPtrW(info.hwndItem, GWLP_ID), 1001);
    EXPECT_EQ(GetWindowLongW(info.hwndList, GWL_STYLE) & WS_POPUP, WS_POPUP);
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_FALSE(IsRectEmpty(&info.rcButton));
    EXPECT_EQ(info.stateButton, 0u);
    // The window is as tall as its field; the height it was made with is the list's room.
    RECT window{};
    GetWindowRect(dropDown, &window);
    EXPECT_LT(window.bottom - window.top, 40);
    RECT dropped{};
    SendMessageW(dropDown, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 140);

    // Scroll bars and a border asked of the combo box are the list's: the field and its button span the
    // whole window.
    EXPECT_EQ(GetWindowLongW(dropDown, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL | WS_BORDER), 0);
    RECT client{};
    GetClientRect(dropDown, &client);
    EXPECT_EQ(client.right, window.right - window.left);
    EXPECT_EQ(info.rcButton.right, client.right - 2);

    HWND list = Combo(CBS_DROPDOWNLIST);
    EXPECT_EQ(Info(list).hwndItem, nullptr);

    HWND simple = Child(u"ComboBox", CBS_SIMPLE, RECT{200, 10, 350, 150});
    info = Info(simple);
    EXPECT_EQ(info.stateButton, STATE_SYSTEM_INVISIBLE);
    EXPECT_TRUE(IsRectEmpty(&info.rcButton));
    EXPECT_EQ(GetParent(info.hwndList), simple);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));

    COMBOBOXINFO bad{};
    bad.cbSize = 3;
    EXPECT_FALSE(GetComboBoxInfo(simple, &bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    bad.cbSize = sizeof bad;
    EXPECT_FALSE(GetComboBoxInfo(FParent, &bad));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(ComboTest, ItemMessages) {
    HWND combo = Combo(CBS_DROPDOWN | CBS_SORT, {u"cherry", u"apple", u"Banana"});
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(LBText(combo, 1), u"Banana");
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 2, 0), 6);
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"zz")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"b")), 1);
    EXPECT_EQ(
        SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"APPLE")),
        0);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 2, 77), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 2, 0), 77);

    // Selecting shows the item in the edit, without notifications.
    MessageLog log;
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(WindowText(combo), u"cherry");
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"ban")),
              1);
    EXPECT_EQ(WindowText(combo), u"Banana");
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
    EXPECT_EQ(WindowText(combo), u"");
    EXPECT_TRUE(Notifications(log, FParent, combo).empty());

    SetWindowTextW(combo, u"typed");
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 3));
    DWORD start = 0, end = 0;
    SendMessageW(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(WindowText(combo), u"");

    EXPECT_EQ(SendMessageW(combo, CB_SETDROPPEDWIDTH, 300, 0), 300);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0), 300);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, 0, 20), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 20);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 22), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 22);
    // A taller field makes the window taller, whatever height it had.
    RECT window{};
    GetWindowRect(combo, &window);
    int before = window.bottom - window.top;
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 40), CB_OKAY);
    GetWindowRect(combo, &window);
    EXPECT_EQ(window.bottom - window.top, before + 18);
    EXPECT_EQ(Info(combo).rcItem.bottom - Info(combo).rcItem.top, 40);

    HWND dropList = Combo(CBS_DROPDOWNLIST, {u"one", u"two"});
    EXPECT_EQ(SendMessageW(dropList, CB_SETEDITSEL, 0, 0), CB_ERR);
    // The text of a drop-down list is its selected item; setting text picks the item that matches.
    EXPECT_EQ(SendMessageW(dropList, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"TWO")), TRUE);
    EXPECT_EQ(SendMessageW(dropList, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(WindowText(dropList), u"two");
    EXPECT_EQ(SendMessageW(dropList, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"three")), CB_ERR);
}

TEST_F(ComboTest, DropDownAndPickWithTheMouse) {
    HWND combo = Combo(CBS_DROPDOWN, {u"one", u"two", u"three"});
    COMBOBOXINFO info = Info(combo);
    MessageLog log;
    ClickButton(combo);
    EXPECT_EQ(GetFocus(), info.hwndItem);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(GetCapture(), info.hwndList);
    EXPECT_EQ(Info(combo).stateButton, STATE_SYSTEM_PRESSED);
    EXPECT_EQ(Notifications(log, FParent, combo), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
    // The list hangs under the combo box.
    RECT comboRect{}, listRect{};
    GetWindowRect(combo, &comboRect);
    GetWindowRect(info.hwndList, &listRect);
    EXPECT_EQ(listRect.top, comboRect.bottom);
    EXPECT_EQ(listRect.left, comboRect.left);

    // Pick: the list closes, then the selection changes.
    log.Clear();
    ClickListItem(combo, 2);
    EXPECT_EQ(Notifications(log, FParent, combo),
              (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(WindowText(combo), u"three");
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), info.hwndItem);

    // A click outside the open list closes it without a pick.
    ClickButton(combo);
    log.Clear();
    Clock::Advance(1000);
    Click(FParent, 300, 250);
    EXPECT_EQ(Notifications(log, FParent, combo), (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
}

TEST_F(ComboTest, DropDownListByKeyboard) {
    HWND combo = Combo(CBS_DROPDOWNLIST, {u"one", u"two", u"three"});
    MessageLog log;
    log.Name(FParent, "parent");
    log.Name(combo, "combo");
    Record(combo);
    SetFocus(combo);
    EXPECT_EQ(Notifications(log, FParent, combo), (std::vector<WORD>{CBN_SETFOCUS}));

    // Down on the closed list: the selection moves and nothing opens.
    log.Clear();
    Press(VK_DOWN);
    EXPECT_TRUE(log.Matches({
        {"combo", WM_KEYDOWN, Sent | WParam, VK_DOWN},
        {"combo", WM_COMMAND, Sent | WParam, MAKEWPARAM(1000, LBN_SELCHANGE)}, // from its list
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(100, CBN_SELCHANGE)},
        {"combo", WM_KEYUP, Sent | WParam, VK_DOWN},
    }));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(combo), u"one");

    // F4 opens; Down moves inside the open list; Enter closes and keeps it.
    log.Clear();
    Press(VK_F4);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Press(VK_RETURN);
    EXPECT_EQ(Notifications(log, FParent, combo),
              (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);

    // Alt+Down opens, Escape cancels.
    log.Clear();
    Chord(VK_MENU, VK_DOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    Press(VK_ESCAPE);
    EXPECT_EQ(Notifications(log, FParent, combo),
              (std::vector<WORD>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));

    // A letter finds the next item starting with it.
    log.Clear();
    Type(u"t");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Notifications(log, FParent, combo), (std::vector<WORD>{CBN_SELCHANGE}));

    // Losing the focus while open closes the list as cancelled.
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    log.Clear();
    SetFocus(FParent);
    EXPECT_EQ(Notifications(log, FParent, combo),
              (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

// The wheel over a focused combo box moves its selection one item a notch, as Up and Down do; the edit
// has nothing to scroll and passes the wheel on to the combo box instead of keeping it.
TEST_F(ComboTest, WheelStepsTheSelectionFromTheField) {
    for (DWORD style : {static_cast<DWORD>(CBS_DROPDOWN), static_cast<DWORD>(CBS_DROPDOWNLIST)}) {
        SCOPED_TRACE(style);
        HWND combo = Combo(style, {u"one", u"two", u"three"});
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        SetFocus(combo);
        MessageLog log;
        POINT at{20, 20};
        ClientToScreen(combo, &at);
        struct Step {
            int delta;
            int selected;
        };
        for (Step step : {Step{-WHEEL_DELTA, 2}, Step{-WHEEL_DELTA, 2}, Step{WHEEL_DELTA, 1}}) {
            win32::input::MouseWheel(step.delta, false, at.x, at.y);
            wintest::Pump();
            EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), step.selected);
        }
        EXPECT_EQ(WindowText(combo), u"two");
        EXPECT_EQ(Notifications(log, FParent, combo), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELCHANGE}))
            << "the last item stays put";
        DestroyWindow(combo);
    }
}

// A list that would run past the bottom of the work area opens above the combo box instead.
TEST_F(ComboTest, ListOpensAboveWhenTheWorkAreaEndsBelowIt) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    SetWindowPos(FParent, nullptr, 0, work.bottom - 100, 400, 100, SWP_NOZORDER);
    HWND combo = Combo(CBS_DROPDOWNLIST, {u"one", u"two", u"three", u"four", u"five"});
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    RECT comboRect{}, listRect{};
    GetWindowRect(combo, &comboRect);
    GetWindowRect(Info(combo).hwndList, &listRect);
    ASSERT_GT(comboRect.bottom + (listRect.bottom - listRect.top), work.bottom);
    EXPECT_EQ(listRect.bottom, comboRect.top);
    EXPECT_GT(listRect.bottom - listRect.top,
              5 * static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0)))
        << "the whole list still shows";
}

TEST_F(ComboTest, SimpleComboPicksFromItsListAtOnce) {
    HWND combo = Child(u"ComboBox", CBS_SIMPLE, RECT{10, 10, 160, 150});
    for (const Char* item : {u"red", u"green", u"blue"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    MessageLog log;
    ClickListItem(combo, 1);
    std::vector<WORD> codes = Notifications(log, FParent, combo);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), CBN_SELCHANGE);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_CLOSEUP), 0);
    EXPECT_EQ(WindowText(combo), u"green");
    EXPECT_EQ(GetFocus(), Info(combo).hwndItem);
    EXPECT_EQ(SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
}

TEST_F(ComboTest, TypingInTheEditNotifiesEditUpdateThenChange) {
    HWND combo = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {u"alpha", u"beta"});
    SetFocus(combo);
    HWND edit = Info(combo).hwndItem;
    EXPECT_EQ(GetFocus(), edit);
    MessageLog log;
    Type(u"b");
    EXPECT_EQ(Notifications(log, FParent, combo), (std::vector<WORD>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_EQ(WindowText(combo), u"b");
    // With the list open, it follows the text.
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Type(u"e");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    // Down in the edit goes to the list.
    Press(VK_UP);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(WindowText(combo), u"alpha");
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
}

// An edit that reports every new text to its parent, as a stand-alone edit does: the combo box must not
// pass on the reports its own text setting causes.
WNDPROC LoudEditOriginal = nullptr;
LRESULT LoudEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = CallWindowProcW(LoudEditOriginal, hwnd, message, wParam, lParam);
    if (message == WM_SETTEXT) {
        auto id = static_cast<WORD>(GetWindowLongPtrW(hwnd, GWLP_ID));
        for (WORD code : {EN_UPDATE, EN_CHANGE})
            SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
    }
    return result;
}

void MakeEditLoud(HWND edit) {
    LoudEditOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoudEditProc)));
}

// CBN_EDITUPDATE and CBN_EDITCHANGE report what the user types in the field, never the text the combo box
// puts there itself from a pick, a selection or WM_SETTEXT - also when its edit reports every change.
TEST_F(ComboTest, EditNotificationsOnlyForTyping) {
    struct Case {
        const char* what;
        std::function<void(HWND)> before; // runs before the log starts
        std::function<void(HWND)> act;
        std::vector<WORD> expected;
        String text;
    };
    auto none = [](HWND) {};
    const Case cases[] = {
        {"pick with the mouse",
         [&](HWND combo) { ClickButton(combo); },
         [&](HWND combo) { ClickListItem(combo, 1); },
         {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE},
         u"two"},
        {"arrow keys in the open list",
         [](HWND combo) {
             SetFocus(combo);
             Press(VK_F4);
         },
         [](HWND) {
             Press(VK_DOWN);
             Press(VK_DOWN);
             Press(VK_RETURN);
         },
         {CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP},
         u"two"},
        {"arrow key on the closed list",
         [](HWND combo) { SetFocus(combo); },
         [](HWND) { Press(VK_DOWN); },
         {CBN_SELCHANGE},
         u"one"},
        {"WM_SETTEXT", none, [](HWND combo) { SetWindowTextW(combo, u"set"); }, {}, u"set"},
        {"CB_SETCURSEL", none, [](HWND combo) { SendMessageW(combo, CB_SETCURSEL, 2, 0); }, {}, u"three"},
        {"CB_RESETCONTENT",
         [](HWND combo) { SetWindowTextW(combo, u"old"); },
         [](HWND combo) { SendMessageW(combo, CB_RESETCONTENT, 0, 0); },
         {},
         u""},
        {"typing",
         [](HWND combo) { SetFocus(combo); },
         [](HWND) { Type(u"tw"); },
         {CBN_EDITUPDATE, CBN_EDITCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE},
         u"tw"},
    };
    for (bool loudEdit : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (loudEdit ? ", loud edit" : ""));
            HWND combo = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {u"one", u"two", u"three"});
            if (loudEdit)
                MakeEditLoud(Info(combo).hwndItem);
            c.before(combo);
            MessageLog log;
            c.act(combo);
            EXPECT_EQ(Notifications(log, FParent, combo), c.expected);
            EXPECT_EQ(WindowText(combo), c.text);
            DestroyWindow(combo);
        }
    }
}

// Typing still moves the open list; a key pick of the second of two items that differ only in case keeps
// it, rather than the field's new text sending the list back to the first.
TEST_F(ComboTest, OpenListFollowsTypingButNotItsOwnPick) {
    HWND combo = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {u"abc", u"ABC", u"b"});
    MakeEditLoud(Info(combo).hwndItem);
    SetFocus(combo);
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Type(u"b");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(WindowText(combo), u"ABC");
    Press(VK_RETURN);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
}

TEST_F(ComboTest, OwnerDrawnItemsGoToTheParentAsTheComboBox) {
    std::vector<UINT> drawStates;
    std::vector<UINT> types;
    std::vector<int> measured;
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 300};
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            types.push_back(mis->CtlType);
            measured.push_back(static_cast<int>(mis->itemID));
            mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 24 : 18;
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            drawStates.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemState);
            return TRUE;
        }
        return std::nullopt;
    };
    HWND parent = wintest::Create(options);
    HWND combo =
        CreateWindowExW(0, u"ComboBox", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0,
                        0, 120, 100, parent, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    ASSERT_NE(combo, nullptr);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), ODT_COMBOBOX);
    // The field is measured first (item -1), then the items of the fixed list.
    EXPECT_EQ(measured, (std::vector<int>{-1, 0}));
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 24);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 18);
    SendMessageW(combo, CB_ADDSTRING, 0, 1);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    wintest::Pump();
    ASSERT_FALSE(drawStates.empty());
    EXPECT_NE(drawStates.back() & ODS_COMBOBOXEDIT, 0u);
}

TEST_F(ComboTest, CreateAndDestroySequencesOfAnOwnerDrawnList) {
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 300};
    options.handler = [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_MEASUREITEM) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
            return TRUE;
        }
        return message == WM_DRAWITEM || message == WM_DELETEITEM ? std::optional<LRESULT>(TRUE)
                                                                  : std::nullopt;
    };
    HWND parent = wintest::Create(options);
    MessageLog log;
    log.Name(parent, "parent");
    // Create: the field's and then the list's item height are asked for while the combo box is being made;
    // then the parent hears of its new child.
    HWND combo =
        CreateWindowExW(0, u"ComboBox", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0,
                        0, 120, 100, parent, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    log.Name(combo, "combo");
    EXPECT_TRUE(log.Matches({
        {"parent", WM_MEASUREITEM, Sent | WParam, 5}, // the field
        {"parent", WM_MEASUREITEM, Sent | WParam, 5}, // the list's items
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_CREATE, 5)},
    }));
    SendMessageW(combo, CB_ADDSTRING, 0, 11);
    SendMessageW(combo, CB_ADDSTRING, 0, 22);
    // Destroy: the parent hears first, then frees what each item holds.
    log.Clear();
    DestroyWindow(combo);
    EXPECT_TRUE(log.Matches({
        {"parent", WM_PARENTNOTIFY, Sent | WParam, MAKEWPARAM(WM_DESTROY, 5)},
        {"parent", WM_DELETEITEM, Sent | WParam, 5},
        {"parent", WM_DELETEITEM, Sent | WParam, 5},
    }));
}

class ComboLook : public ComboTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ComboLook, PaintsTheButtonAndTheFocusedField) {
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = GetParam();
    win32::SetSystemSettings(settings);
    HWND combo = Combo(CBS_DROPDOWNLIST, {u"one"});
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SetFocus(combo);
    wintest::Pump();
    COMBOBOXINFO info = Info(combo);
    HDC dc = GetDC(combo);
    bool buttonDrawn = false;
    for (int x = info.rcButton.left; x < info.rcButton.right; ++x)
        for (int y = info.rcButton.top; y < info.rcButton.bottom; ++y)
            buttonDrawn = buttonDrawn || GetPixel(dc, x, y) != GetSysColor(COLOR_WINDOW);
    EXPECT_TRUE(buttonDrawn);
    EXPECT_EQ(GetPixel(dc, info.rcItem.right - 3, (info.rcItem.top + info.rcItem.bottom) / 2),
              GetSysColor(COLOR_HIGHLIGHT));
    ReleaseDC(combo, dc);
}

INSTANTIATE_TEST_SUITE_P(Looks, ComboLook, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Themed" : "Classic";
                         });

// CB_DIR fills the combo box's list as LB_DIR fills a list box.
TEST_F(ComboTest, DirFillsTheList) {
    namespace fs = std::filesystem;
    fs::path folder = backend::MakeTemporaryDirectory("zelmor-cbdir");
    ASSERT_FALSE(folder.empty());
    fs::create_directories(folder / "sub");
    for (const char* name : {"b.log", "a.log"})
        std::ofstream(folder / name) << "x";
    HWND combo = Combo(CBS_DROPDOWNLIST);
    String spec = Utf8ToString(folder.string()) + u"/*";
    EXPECT_EQ(SendMessageW(combo, CB_DIR, DDL_DIRECTORY, reinterpret_cast<LPARAM>(spec.c_str())), 2);
    std::vector<String> listed;
    for (int i = 0; i < SendMessageW(combo, CB_GETCOUNT, 0, 0); ++i) {
        Char text[64]{};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        listed.emplace_back(text);
    }
    EXPECT_EQ(listed, (std::vector<String>{u"a.log", u"b.log", u"[sub]"}));
    fs::remove_all(folder);
}

} // namespace

namespace {

// A WM_PAINT that carries a DC (a parent painting a control into a bitmap, or a subclass painting the
// control's content into a DC it prepared) is painted into that DC; so is WM_PRINTCLIENT.
TEST_F(ComboTest, PaintsIntoTheDCAPaintMessageCarries) {
    struct Case {
        const Char* className;
        DWORD style;
    };
    const Case cases[] = {
        {u"ComboBox", CBS_DROPDOWNLIST},
        {u"ListBox", 0},
        {u"Edit", 0},
    };
    for (const Case& c : cases) {
        for (UINT message : {static_cast<UINT>(WM_PAINT), static_cast<UINT>(WM_PRINTCLIENT)}) {
            SCOPED_TRACE(StringToUtf8(c.className) + (message == WM_PAINT ? " WM_PAINT" : " WM_PRINTCLIENT"));
            HWND control = Child(c.className, c.style, RECT{10, 10, 110, 60});
            wintest::Pump(); // nothing left to update: the DC given is the only place to paint
            HDC screen = GetDC(nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 50);
            ReleaseDC(nullptr, screen);
            HGDIOBJ old = SelectObject(dc, bitmap);
            RECT all{0, 0, 100, 50};
            HBRUSH marker = CreateSolidBrush(RGB(255, 0, 255));
            FillRect(dc, &all, marker);
            SendMessageW(control, message, reinterpret_cast<WPARAM>(dc), 0);
            EXPECT_NE(GetPixel(dc, 10, 10), RGB(255, 0, 255));
            SelectObject(dc, old);
            DeleteObject(marker);
            DeleteObject(bitmap);
            DeleteDC(dc);
            DestroyWindow(control);
        }
    }
}

// The field shows its text highlighted only while the combo box has the focus: once another control
// takes it, one control alone looks focused. Both kinds, after a pick from the list too.
TEST_F(ComboTest, HighlightGoesWithTheFocus) {
    HWND other = Child(u"Edit", 0, RECT{200, 10, 300, 30}, u"", 200);
    for (DWORD kind : {static_cast<DWORD>(CBS_DROPDOWN), static_cast<DWORD>(CBS_DROPDOWNLIST)}) {
        SCOPED_TRACE(kind == CBS_DROPDOWN ? "with an edit" : "list only");
        HWND combo = Combo(kind, {u"WWWW", u"MMMM"});
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        COMBOBOXINFO info = Info(combo);
        HWND field = info.hwndItem ? info.hwndItem : combo;
        RECT area = info.rcItem;
        if (info.hwndItem)
            GetClientRect(info.hwndItem, &area);
        auto highlighted = [&] {
            wintest::Pump();
            HDC dc = GetDC(field);
            bool found = false;
            for (int y = area.top; y < area.bottom && !found; ++y)
                for (int x = area.left; x < area.right && !found; ++x)
                    found = GetPixel(dc, x, y) == GetSysColor(COLOR_HIGHLIGHT);
            ReleaseDC(field, dc);
            return found;
        };
        SetFocus(combo);
        EXPECT_TRUE(highlighted());
        SetFocus(other);
        EXPECT_FALSE(highlighted()) << "after the focus moved on";

        ClickButton(combo);
        ClickListItem(combo, 1);
        EXPECT_TRUE(highlighted());
        Clock::Advance(1000);
        Click(other, 5, 5);
        EXPECT_EQ(GetFocus(), other);
        EXPECT_FALSE(highlighted()) << "after a pick and a click on another control";
        DestroyWindow(combo);
    }
}

} // namespace
