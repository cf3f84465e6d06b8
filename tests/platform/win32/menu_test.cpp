// Tests of menus: items added, changed, found and removed; the popup menu loop chosen by keys and by
// the mouse from WM_ENTERIDLE, with the owner's notifications in order; submenus, owner-drawn items,
// alignment and cancelling.
#include <algorithm>

#include <gtest/gtest.h>

#include "platform/win32/spy.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winmenu.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;

namespace {

enum : UINT { IdOpen = 101, IdSave = 102, IdClose = 103, IdZoomIn = 201, IdZoomOut = 202 };

String ItemText(HMENU menu, UINT item, BOOL byPosition) {
    Char buffer[64]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = 64;
    if (!GetMenuItemInfoW(menu, item, byPosition, &info))
        return u"<none>";
    return buffer;
}

class Menus : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override {
        for (HMENU menu : FMenus)
            if (IsMenu(menu))
                DestroyMenu(menu);
        ResetWindowManager();
    }

    // File menu: Open, Save (checked), separator, Close (grayed), View >, with a View submenu.
    HMENU FileMenu() {
        FView = CreatePopupMenu();
        AppendMenuW(FView, MF_STRING, IdZoomIn, u"Zoom &in\tCtrl+I");
        AppendMenuW(FView, MF_STRING, IdZoomOut, u"Zoom &out");
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, IdOpen, u"&Open");
        AppendMenuW(menu, MF_STRING | MF_CHECKED, IdSave, u"&Save");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_GRAYED, IdClose, u"&Close");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(FView), u"&View");
        FMenus.push_back(menu);
        return menu;
    }

    // An owner window whose WM_ENTERIDLE runs the test's steps, one per idle time, then ends the menu.
    HWND Owner(std::vector<std::function<void(HWND popup)>> steps) {
        FSteps = std::move(steps);
        Options options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        options.rect = RECT{100, 100, 500, 400};
        options.handler = [this](HWND hwnd, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_ENTERIDLE) {
                if (FStep < FSteps.size()) {
                    FSteps[FStep++](reinterpret_cast<HWND>(lParam));
                    // The loop waits for a message after an idle time; this one brings the next.
                    PostMessageW(hwnd, WM_NULL, 0, 0);
                } else {
                    EndMenu();
                }
                return 0;
            }
            if (message == WM_MEASUREITEM && FMeasure)
                return FMeasure(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            if (message == WM_DRAWITEM && FDraw)
                return FDraw(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return std::nullopt;
        };
        HWND owner = Create(options);
        SetActiveWindow(owner);
        SetFocus(owner);
        Pump();
        return owner;
    }

    static void ClickItem(HMENU menu, UINT position) {
        RECT rect;
        ASSERT_TRUE(GetMenuItemRect(nullptr, menu, position, &rect));
        win32::input::Click(win32::input::Button::Left, (rect.left + rect.right) / 2,
                            (rect.top + rect.bottom) / 2);
    }

    // The owner's messages of the menu loop, without the idle ones and the keys.
    static std::vector<std::string> LoopMessages(const MessageLog& log) {
        std::vector<std::string> names;
        for (const std::string& name : log.Messages("owner"))
            if (name != "WM_ENTERIDLE" && name != "WM_NULL" && name.rfind("WM_KEY", 0) != 0 &&
                name != "WM_CHAR" && name != "WM_MEASUREITEM" && name != "WM_DRAWITEM")
                names.push_back(name);
        return names;
    }

    HMENU FView = nullptr;
    std::vector<HMENU> FMenus;
    std::vector<std::function<void(HWND)>> FSteps;
    std::size_t FStep = 0;
    std::function<LRESULT(MEASUREITEMSTRUCT*)> FMeasure;
    std::function<LRESULT(DRAWITEMSTRUCT*)> FDraw;
};

TEST_F(Menus, ItemsAddedReadAndChanged) {
    HMENU menu = FileMenu();
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IdOpen));
    EXPECT_EQ(GetMenuItemID(menu, 4), static_cast<UINT>(-1));
    EXPECT_EQ(GetSubMenu(menu, 4), FView);
    EXPECT_EQ(ItemText(menu, 1, TRUE), u"&Save");
    // By command, items of submenus are found too.
    EXPECT_EQ(ItemText(menu, IdZoomIn, FALSE), u"Zoom &in\tCtrl+I");
    EXPECT_EQ(GetMenuState(menu, IdSave, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, 4, MF_BYPOSITION), MF_POPUP | (2u << 8));
    EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), static_cast<UINT>(-1));

    EXPECT_EQ(CheckMenuItem(menu, IdSave, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(menu, IdSave, MF_UNCHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(menu, 999, MF_CHECKED), static_cast<DWORD>(-1));
    EXPECT_EQ(EnableMenuItem(menu, IdClose, MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(EnableMenuItem(menu, 0, MF_BYPOSITION | MF_DISABLED), static_cast<BOOL>(MF_ENABLED));

    // InsertMenuItem before a position; the text is cut to the buffer, cch answers its length.
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_DATA | MIIM_STATE;
    info.wID = 150;
    info.fState = MFS_DEFAULT;
    info.dwItemData = 0xABC;
    info.dwTypeData = const_cast<LPWSTR>(u"Print...");
    ASSERT_TRUE(InsertMenuItemW(menu, 2, TRUE, &info));
    Char small[4];
    MENUITEMINFOW read{};
    read.cbSize = sizeof read;
    read.fMask = MIIM_STRING | MIIM_ID | MIIM_DATA | MIIM_STATE;
    read.dwTypeData = small;
    read.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 150, FALSE, &read));
    EXPECT_EQ(String(small), u"Pri");
    EXPECT_EQ(read.cch, 8u);
    EXPECT_EQ(read.wID, 150u);
    EXPECT_EQ(read.dwItemData, 0xABCu);
    EXPECT_EQ(read.fState, MFS_DEFAULT);
    EXPECT_EQ(GetMenuItemID(menu, 2), 150u);

    ASSERT_TRUE(ModifyMenuW(menu, 150, MF_BYCOMMAND | MF_STRING, 151, u"Print"));
    EXPECT_EQ(ItemText(menu, 151, FALSE), u"Print");
    info.cbSize = 3;
    EXPECT_FALSE(SetMenuItemInfoW(menu, 151, FALSE, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // CheckMenuRadioItem checks one of a range with a bullet.
    ASSERT_TRUE(CheckMenuRadioItem(FView, IdZoomIn, IdZoomOut, IdZoomOut, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(FView, IdZoomOut, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_EQ(GetMenuState(FView, IdZoomIn, MF_BYCOMMAND), 0u);
}

TEST_F(Menus, RemovingItemsAndDestroyingMenus) {
    HMENU menu = FileMenu();
    HMENU view = FView;
    // RemoveMenu leaves the submenu to the caller; DeleteMenu destroys it.
    ASSERT_TRUE(RemoveMenu(menu, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(view));
    ASSERT_TRUE(
        InsertMenuW(menu, IdOpen, MF_BYCOMMAND | MF_POPUP, reinterpret_cast<UINT_PTR>(view), u"&View"));
    EXPECT_EQ(GetSubMenu(menu, 0), view);
    ASSERT_TRUE(DeleteMenu(menu, 0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(view));
    EXPECT_FALSE(DeleteMenu(menu, 999, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(menu), 4);

    HMENU sub = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More");
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_FALSE(DestroyMenu(menu));
    HMENU other = CreatePopupMenu();
    FMenus.push_back(other);
    EXPECT_FALSE(AppendMenuW(other, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), u"Gone"));
}

// A menu chosen by the keyboard: Down goes to Open, Down to Save, Enter chooses it; the owner hears
// the loop's messages in Win32's order and then gets the posted command.
TEST_F(Menus, ChosenByKeysInWin32Order) {
    HMENU menu = FileMenu();
    HWND owner = Owner({[](HWND) {
        win32::input::PressKey(VK_DOWN);
        win32::input::PressKey(VK_DOWN);
        win32::input::PressKey(VK_RETURN);
    }});
    MessageLog log;
    log.Name(owner, "owner");
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 150, 150, 0, owner, nullptr));
    std::vector<std::string> expected = {"WM_ENTERMENULOOP",
                                         "WM_INITMENU",
                                         "WM_INITMENUPOPUP",
                                         "WM_MENUSELECT",
                                         "WM_MENUSELECT",
                                         "WM_CAPTURECHANGED",
                                         win32::MessageName(WM_UNINITMENUPOPUP),
                                         "WM_MENUSELECT",
                                         "WM_EXITMENULOOP"};
    EXPECT_EQ(LoopMessages(log), expected);
    std::vector<std::pair<WPARAM, LPARAM>> selects;
    for (const Record& r : log.Records()) {
        if (r.message == WM_MENUSELECT)
            selects.emplace_back(r.wParam, r.lParam);
        if (r.message == WM_ENTERMENULOOP || r.message == WM_EXITMENULOOP) {
            EXPECT_EQ(r.wParam, static_cast<WPARAM>(TRUE));
        }
        if (r.message == WM_INITMENU || r.message == WM_INITMENUPOPUP || r.message == WM_UNINITMENUPOPUP) {
            EXPECT_EQ(r.wParam, reinterpret_cast<WPARAM>(menu));
        }
    }
    ASSERT_EQ(selects.size(), 3u);
    EXPECT_EQ(selects[0], std::make_pair(MAKEWPARAM(IdOpen, MF_HILITE), reinterpret_cast<LPARAM>(menu)));
    EXPECT_EQ(selects[1],
              std::make_pair(MAKEWPARAM(IdSave, MF_HILITE | MF_CHECKED), reinterpret_cast<LPARAM>(menu)));
    EXPECT_EQ(selects[2], std::make_pair(MAKEWPARAM(0, 0xFFFF), LPARAM{0}));
    EXPECT_EQ(GetCapture(), nullptr);

    // The command is posted, so it arrives when the owner reads its queue.
    log.Clear();
    Pump();
    // Enter typed no character: only its release is left for the owner.
    EXPECT_TRUE(log.Matches({{"owner", WM_COMMAND, Posted | WParam | LParam, IdSave, 0},
                             {"owner", WM_KEYUP, Posted | WParam | Optional, VK_RETURN}}));
}

TEST_F(Menus, ReturnCommandByMouseSkipsDisabledItems) {
    HMENU menu = FileMenu();
    HWND owner = Owner({[menu](HWND) { ClickItem(menu, 3); }, [menu](HWND) { ClickItem(menu, 0); }});
    MessageLog log;
    log.Name(owner, "owner");
    // The click on the grayed Close leaves the menu open; the one on Open chooses it.
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr), static_cast<BOOL>(IdOpen));
    Pump();
    std::vector<std::string> messages = log.Messages("owner");
    EXPECT_EQ(std::find(messages.begin(), messages.end(), "WM_COMMAND"), messages.end());
    // MF_MOUSESELECT marks highlights made by the mouse.
    bool mouse = false;
    for (const Record& r : log.Records())
        if (r.message == WM_MENUSELECT && LOWORD(r.wParam) == IdOpen)
            mouse = (HIWORD(r.wParam) & MF_MOUSESELECT) != 0;
    EXPECT_TRUE(mouse);
}

TEST_F(Menus, CancelledByEscapeOrAClickOutside) {
    HMENU menu = FileMenu();
    HWND owner = Owner({[](HWND) { win32::input::PressKey(VK_ESCAPE); }});
    MessageLog log;
    log.Name(owner, "owner");
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr), 0);
    FStep = 0;
    FSteps = {[](HWND) { win32::input::Click(win32::input::Button::Left, 480, 380); }};
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 150, 150, 0, owner, nullptr));
    Pump();
    for (const std::string& name : log.Messages("owner"))
        EXPECT_NE(name, "WM_COMMAND");
    EXPECT_EQ(GetCapture(), nullptr);
    // The popup windows are gone.
    EXPECT_EQ(FindWindowW(PopupMenuClassName, nullptr), nullptr);
}

TEST_F(Menus, SubmenuByKeysAndMnemonics) {
    HMENU menu = FileMenu();
    HWND owner = Owner({[](HWND) {
                            // "v" goes to View and opens it with its first item highlighted; Down, Enter
                            // chooses Zoom out.
                            win32::input::TypeCharacter(u'v');
                        },
                        [](HWND) {
                            win32::input::PressKey(VK_DOWN);
                            win32::input::PressKey(VK_RETURN);
                        }});
    MessageLog log;
    log.Name(owner, "owner");
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr), static_cast<BOOL>(IdZoomOut));
    std::vector<std::pair<WPARAM, LPARAM>> popups;
    for (const Record& r : log.Records())
        if (r.message == WM_INITMENUPOPUP || r.message == WM_UNINITMENUPOPUP)
            popups.emplace_back(r.wParam, r.message == WM_INITMENUPOPUP ? r.lParam : -1);
    std::vector<std::pair<WPARAM, LPARAM>> expected = {
        {reinterpret_cast<WPARAM>(menu), 0},
        {reinterpret_cast<WPARAM>(FView), MAKELPARAM(4, 0)},
        {reinterpret_cast<WPARAM>(FView), -1},
        {reinterpret_cast<WPARAM>(menu), -1},
    };
    EXPECT_EQ(popups, expected);
}

TEST_F(Menus, AlignmentAndTheScreenEdge) {
    HMENU menu = FileMenu();
    RECT placed[3]{};
    int run = 0;
    HWND owner = Owner({});
    auto track = [&](UINT flags, int x, int y) {
        FStep = 0;
        FSteps = {[&](HWND popup) { GetWindowRect(popup, &placed[run]); }};
        TrackPopupMenuEx(menu, flags | TPM_RETURNCMD, x, y, owner, nullptr);
        ++run;
    };
    track(TPM_LEFTALIGN | TPM_TOPALIGN, 200, 150);
    track(TPM_RIGHTALIGN | TPM_BOTTOMALIGN, 200, 150);
    SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    track(TPM_LEFTALIGN | TPM_TOPALIGN, screen.cx - 5, screen.cy - 5);
    EXPECT_EQ(placed[0].left, 200);
    EXPECT_EQ(placed[0].top, 150);
    EXPECT_EQ(placed[1].right, 200);
    EXPECT_EQ(placed[1].bottom, 150);
    // No room right and below: it opens to the left and above the point.
    EXPECT_EQ(placed[2].right, screen.cx - 5);
    EXPECT_EQ(placed[2].bottom, screen.cy - 5);
}

TEST_F(Menus, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
    HMENU menu = CreatePopupMenu();
    FMenus.push_back(menu);
    AppendMenuW(menu, MF_OWNERDRAW, 7, reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(0x5A)));
    AppendMenuW(menu, MF_STRING, 8, u"Plain");
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    FMeasure = [&](MEASUREITEMSTRUCT* item) {
        measured.push_back(*item);
        item->itemWidth = 120;
        item->itemHeight = 40;
        return TRUE;
    };
    FDraw = [&](DRAWITEMSTRUCT* item) {
        drawn.push_back(*item);
        return TRUE;
    };
    RECT rect{};
    HWND owner = Owner({[&](HWND) {
        GetMenuItemRect(nullptr, menu, 0, &rect);
        win32::input::PressKey(VK_DOWN);
    }});
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr);
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].CtlType, ODT_MENU);
    EXPECT_EQ(measured[0].itemID, 7u);
    EXPECT_EQ(measured[0].itemData, 0x5Au);
    EXPECT_EQ(rect.bottom - rect.top, 40);
    EXPECT_GE(rect.right - rect.left, 120);
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn.front().CtlType, ODT_MENU);
    EXPECT_EQ(drawn.front().hwndItem, reinterpret_cast<HWND>(menu));
    EXPECT_EQ(drawn.front().itemState & ODS_SELECTED, 0u);
    // Highlighted by Down, it is drawn again as selected.
    EXPECT_EQ(drawn.back().itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));
}

// Checked items show their mark in the left column, radio items a bullet; a separator is an etched line.
TEST_F(Menus, CheckMarksAndSeparatorsAreDrawn) {
    HMENU menu = FileMenu();
    CheckMenuRadioItem(FView, IdZoomIn, IdZoomOut, IdZoomIn, MF_BYCOMMAND);
    AppendMenuW(menu, MF_STRING | MF_CHECKED | MFT_RADIOCHECK, 300, u"Radio");
    // Dark pixels in the check column of each item, and the separator's two colours.
    std::vector<int> dark;
    COLORREF separatorTop = 0;
    COLORREF separatorBottom = 0;
    HWND owner = Owner({[&](HWND popup) {
        UpdateWindow(popup);
        HDC dc = GetDC(popup);
        for (UINT i = 0; i < 6; ++i) {
            RECT rect;
            GetMenuItemRect(nullptr, menu, i, &rect);
            MapWindowPoints(nullptr, popup, reinterpret_cast<LPPOINT>(&rect), 2);
            int count = 0;
            for (int y = rect.top; y < rect.bottom; ++y)
                for (int x = rect.left; x < rect.left + GetSystemMetrics(SM_CXMENUCHECK) + 6; ++x)
                    count += GetPixel(dc, x, y) == RGB(0, 0, 0);
            dark.push_back(count);
            if (i == 2) {
                int middle = (rect.top + rect.bottom) / 2 - 1;
                separatorTop = GetPixel(dc, (rect.left + rect.right) / 2, middle);
                separatorBottom = GetPixel(dc, (rect.left + rect.right) / 2, middle + 1);
            }
        }
        ReleaseDC(popup, dc);
    }});
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr);
    ASSERT_EQ(dark.size(), 6u);
    EXPECT_EQ(dark[0], 0); // Open
    EXPECT_GT(dark[1], 5); // Save, checked
    EXPECT_EQ(dark[3], 0); // Close
    EXPECT_EQ(dark[4], 0); // View: its arrow is at the right
    EXPECT_GT(dark[5], 3); // Radio
    EXPECT_EQ(separatorTop, GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(separatorBottom, GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(Menus, OnlyOneLoopAtATime) {
    HMENU menu = FileMenu();
    BOOL nested = TRUE;
    DWORD error = 0;
    HWND owner = Owner({});
    FSteps = {[&](HWND) {
        nested = TrackPopupMenuEx(menu, TPM_RETURNCMD, 10, 10, owner, nullptr);
        error = GetLastError();
    }};
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 150, 150, owner, nullptr);
    EXPECT_FALSE(nested);
    EXPECT_EQ(error, ERROR_POPUP_ALREADY_ACTIVE);
    EXPECT_FALSE(TrackPopupMenuEx(reinterpret_cast<HMENU>(owner), 0, 0, 0, owner, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
}

} // namespace
