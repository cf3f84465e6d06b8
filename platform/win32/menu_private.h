// The menu objects shared by the item calls (menu.cpp) and the popup menu loop (menuloop.cpp); never
// included outside them.
#pragma once

#include <mutex>
#include <vector>

#include "platform/win32/winerror.h"
#include "platform/win32/winmenu.h"

namespace win32::menus {

struct MenuItem {
    UINT type = MFT_STRING; // MFT_ bits
    UINT state = 0;         // MFS_ bits
    UINT id = 0;
    HMENU submenu = nullptr;
    HBITMAP checkedBitmap = nullptr;
    HBITMAP uncheckedBitmap = nullptr;
    ULONG_PTR data = 0;
    String text; // may hold '&' before the mnemonic and '\t' before the shortcut text
    HBITMAP bitmap = nullptr;
    RECT rect{}; // where the shown popup draws it, in its client coordinates
};

struct Menu : HMENU__ {
    bool popup = false;
    std::vector<MenuItem> items;
    UINT defaultItem = static_cast<UINT>(-1); // a position
    HWND window = nullptr;                    // the popup window showing it, while it is shown
    int hilite = -1;                          // the highlighted position while it is shown
    SIZE size{};                              // the popup's client size from the last layout
};

// The one lock of all menus; never held while a message is sent.
std::recursive_mutex& MenuLock();
using MenuGuard = std::lock_guard<std::recursive_mutex>;
// The menu of a handle, or nullptr with ERROR_INVALID_MENU_HANDLE.
Menu* LookupMenu(HMENU handle);
// The item at a position or with a command (searched through submenus, the menu holding it answered
// in owner); nullptr when there is none.
MenuItem* FindItem(Menu* menu, UINT item, bool byPosition, Menu** owner = nullptr, int* position = nullptr);

// The menu loop's side: the class of the popup windows.
void RegisterPopupMenuClass();

} // namespace win32::menus
