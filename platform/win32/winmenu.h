// Menus of the Win32 API: menu objects and their items (strings, separators, check marks, owner-drawn
// items, cascading popups), and the popup menu loop of TrackPopupMenu(Ex) with its notifications.
// Calls answer as Win32 does (FALSE, 0, -1 or NULL with the last error set); nothing here throws.
//
// The menu loop is modal: it reads the thread's queue itself, takes the keyboard and mouse messages
// and dispatches the rest. Whenever it runs out of messages it sends WM_ENTERIDLE (MSGF_MENU) to the
// owner window, which is where tests drive it: they queue input through wininput.h at points that
// GetMenuItemRect gives, or call EndMenu.
#pragma once

#include "platform/win32/winctrl.h"

inline constexpr UINT WM_MENURBUTTONUP = 0x0122;
inline constexpr UINT WM_UNINITMENUPOPUP = 0x0125;
inline constexpr WPARAM MSGF_MENU = 2;

// AppendMenu, InsertMenu, ModifyMenu flags and GetMenuState answers.
inline constexpr UINT MF_INSERT = 0x0000;
inline constexpr UINT MF_CHANGE = 0x0080;
inline constexpr UINT MF_APPEND = 0x0100;
inline constexpr UINT MF_DELETE = 0x0200;
inline constexpr UINT MF_REMOVE = 0x1000;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_USECHECKBITMAPS = 0x0200;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_BITMAP = 0x0004;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_UNHILITE = 0x0000;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_DEFAULT = 0x1000;
inline constexpr UINT MF_SYSMENU = 0x2000;
inline constexpr UINT MF_HELP = 0x4000;
inline constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
inline constexpr UINT MF_MOUSESELECT = 0x8000;

inline constexpr UINT MFT_STRING = MF_STRING;
inline constexpr UINT MFT_BITMAP = MF_BITMAP;
inline constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
inline constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
inline constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
inline constexpr UINT MFT_RADIOCHECK = 0x0200;
inline constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
inline constexpr UINT MFT_RIGHTORDER = 0x2000;
inline constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;

inline constexpr UINT MFS_GRAYED = 0x0003;
inline constexpr UINT MFS_DISABLED = MFS_GRAYED;
inline constexpr UINT MFS_CHECKED = MF_CHECKED;
inline constexpr UINT MFS_HILITE = MF_HILITE;
inline constexpr UINT MFS_ENABLED = MF_ENABLED;
inline constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
inline constexpr UINT MFS_UNHILITE = MF_UNHILITE;
inline constexpr UINT MFS_DEFAULT = MF_DEFAULT;

inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_SUBMENU = 0x0004;
inline constexpr UINT MIIM_CHECKMARKS = 0x0008;
inline constexpr UINT MIIM_TYPE = 0x0010;
inline constexpr UINT MIIM_DATA = 0x0020;
inline constexpr UINT MIIM_STRING = 0x0040;
inline constexpr UINT MIIM_BITMAP = 0x0080;
inline constexpr UINT MIIM_FTYPE = 0x0100;

struct MENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData; // the text (MIIM_STRING, or MIIM_TYPE with MFT_STRING)
    UINT cch;          // its length; on a get, the buffer's size in characters
    HBITMAP hbmpItem;
};
using MENUITEMINFO = MENUITEMINFOW;
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;

inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_HORIZONTAL = 0x0000;
inline constexpr UINT TPM_VERTICAL = 0x0040;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;
inline constexpr UINT TPM_RECURSE = 0x0001;
inline constexpr UINT TPM_NOANIMATION = 0x4000;

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude; // screen area the menu must not cover
};
using LPTPMPARAMS = TPMPARAMS*;

inline constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
inline constexpr DWORD ERROR_MENU_ITEM_NOT_FOUND = 1456;
inline constexpr DWORD ERROR_POPUP_ALREADY_ACTIVE = 1446;

// The class of the popup windows that show menus.
inline constexpr const Char* PopupMenuClassName = u"#32768";

// ---- Menus and items (menu.cpp) ----
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the submenus too. FALSE with ERROR_INVALID_MENU_HANDLE.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// item is the command id, or with MF_POPUP the submenu handle; text is the caption, for MF_BITMAP the
// bitmap and for MF_OWNERDRAW the item data.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
inline BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
    return AppendMenuW(menu, flags, item, text);
}
// Before the item at position (MF_BYPOSITION; -1 appends) or with that command (searched in submenus too).
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
inline BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    return InsertMenuW(menu, position, flags, item, text);
}
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
inline BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    return InsertMenuItemW(menu, item, byPosition, info);
}
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
inline BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    return ModifyMenuW(menu, position, flags, item, text);
}
// DeleteMenu destroys the item's submenu; RemoveMenu leaves it to the caller.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// -1 with ERROR_INVALID_MENU_HANDLE.
int GetMenuItemCount(HMENU menu);
// -1 for a submenu or no item.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// MF_ flags; for a submenu its item count in the high byte. -1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags);
inline int GetMenuString(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags) {
    return GetMenuStringW(menu, item, text, maxCount, flags);
}
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
inline BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
    return GetMenuItemInfoW(menu, item, byPosition, info);
}
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
inline BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    return SetMenuItemInfoW(menu, item, byPosition, info);
}
// The previous state (MF_CHECKED or MF_UNCHECKED; MF_ENABLED, MF_GRAYED or MF_DISABLED), -1 when there
// is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
// Checks one item of a range with a bullet and unchecks the others.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);

// ---- The popup menu loop (menuloop.cpp) ----
// Shows the menu at x, y (aligned by the TPM_ flags, kept on the screen) and runs the loop until an
// item is chosen or the menu is cancelled. The owner gets WM_ENTERMENULOOP, WM_INITMENU,
// WM_INITMENUPOPUP, WM_MENUSELECT as items are highlighted, WM_UNINITMENUPOPUP, WM_MENUSELECT with
// 0xFFFF and WM_EXITMENULOOP (none of them with TPM_NONOTIFY), then a posted WM_COMMAND with the
// chosen item's id. With TPM_RETURNCMD the id is returned instead (0 when cancelled) and no WM_COMMAND
// is posted; else TRUE when the loop ran. FALSE with ERROR_POPUP_ALREADY_ACTIVE while another menu
// loop runs (unless TPM_RECURSE), ERROR_INVALID_MENU_HANDLE or ERROR_INVALID_WINDOW_HANDLE.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
// Ends the running menu loop as cancelled.
BOOL EndMenu();
// The screen rectangle of an item of a menu shown now; FALSE when it is not shown.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);
