// Menu objects and their items: creating and destroying menus, adding, changing and removing items,
// and reading them back, as the Win32 calls do.
#include <algorithm>
#include <set>

#include "platform/win32/menu_private.h"

namespace win32::menus {

namespace {

// Menus live until DestroyMenu, as long as the program if need be: the set outlives static destruction.
std::set<Menu*>& LiveMenus() {
    static auto* menus = new std::set<Menu*>;
    return *menus;
}

HMENU NewMenu(bool popup) {
    MenuGuard guard(MenuLock());
    auto* menu = new Menu;
    menu->popup = popup;
    LiveMenus().insert(menu);
    return menu;
}

void Destroy(Menu* menu) {
    LiveMenus().erase(menu);
    for (MenuItem& item : menu->items)
        if (Menu* sub = item.submenu ? static_cast<Menu*>(item.submenu) : nullptr;
            sub && LiveMenus().count(sub))
            Destroy(sub);
    if (menu->window && IsWindow(menu->window))
        DestroyWindow(menu->window);
    delete menu;
}

// An item from the flags and arguments of AppendMenu, InsertMenu and ModifyMenu.
bool ItemFromFlags(UINT flags, UINT_PTR id, LPCWSTR text, MenuItem& item) {
    item = MenuItem{};
    item.type = flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBARBREAK | MF_MENUBREAK |
                         MF_RIGHTJUSTIFY | MFT_RADIOCHECK);
    item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (flags & MF_POPUP) {
        if (!LookupMenu(reinterpret_cast<HMENU>(id)))
            return false;
        item.submenu = reinterpret_cast<HMENU>(id);
    } else {
        item.id = static_cast<UINT>(id);
    }
    if (item.type & MF_SEPARATOR)
        return true;
    if (item.type & MF_OWNERDRAW)
        item.data = reinterpret_cast<ULONG_PTR>(text);
    else if (item.type & MF_BITMAP)
        item.bitmap = reinterpret_cast<HBITMAP>(const_cast<Char*>(text));
    else if (text)
        item.text = text;
    return true;
}

BOOL Insert(HMENU handle, UINT position, bool byPosition, const MenuItem& item) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    Menu* target = menu;
    int index = static_cast<int>(menu->items.size());
    if (byPosition) {
        if (position != static_cast<UINT>(-1) && position < menu->items.size())
            index = static_cast<int>(position);
    } else if (!FindItem(menu, position, false, &target, &index)) {
        // By command, an item that is not there appends, as Win32 does.
        target = menu;
        index = static_cast<int>(menu->items.size());
    }
    target->items.insert(target->items.begin() + index, item);
    return TRUE;
}

BOOL Remove(HMENU handle, UINT position, UINT flags, bool destroySubmenu) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    Menu* owner = nullptr;
    int index = -1;
    MenuItem* item = FindItem(menu, position, (flags & MF_BYPOSITION) != 0, &owner, &index);
    if (!item) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    HMENU submenu = item->submenu;
    owner->items.erase(owner->items.begin() + index);
    if (destroySubmenu && submenu)
        if (Menu* sub = LookupMenu(submenu))
            Destroy(sub);
    return TRUE;
}

} // namespace

std::recursive_mutex& MenuLock() {
    static std::recursive_mutex lock;
    return lock;
}

Menu* LookupMenu(HMENU handle) {
    MenuGuard guard(MenuLock());
    auto* menu = static_cast<Menu*>(handle);
    if (!handle || !LiveMenus().count(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return menu;
}

MenuItem* FindItem(Menu* menu, UINT item, bool byPosition, Menu** owner, int* position) {
    if (byPosition) {
        if (item >= menu->items.size())
            return nullptr;
        if (owner)
            *owner = menu;
        if (position)
            *position = static_cast<int>(item);
        return &menu->items[item];
    }
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        MenuItem& candidate = menu->items[i];
        if (candidate.submenu) {
            if (Menu* sub = LiveMenus().count(static_cast<Menu*>(candidate.submenu))
                                ? static_cast<Menu*>(candidate.submenu)
                                : nullptr)
                if (MenuItem* found = FindItem(sub, item, false, owner, position))
                    return found;
            // A submenu's item also answers to the submenu's handle as its command.
            if (reinterpret_cast<UINT_PTR>(candidate.submenu) != item)
                continue;
        } else if (candidate.id != item || (candidate.type & MFT_SEPARATOR)) {
            continue;
        }
        if (owner)
            *owner = menu;
        if (position)
            *position = static_cast<int>(i);
        return &candidate;
    }
    return nullptr;
}

} // namespace win32::menus

using namespace win32::menus;

HMENU CreateMenu() {
    return NewMenu(false);
}

HMENU CreatePopupMenu() {
    return NewMenu(true);
}

BOOL DestroyMenu(HMENU handle) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    Destroy(menu);
    return TRUE;
}

BOOL IsMenu(HMENU handle) {
    MenuGuard guard(MenuLock());
    return handle && LiveMenus().count(static_cast<Menu*>(handle)) ? TRUE : FALSE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    return InsertMenuW(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, id, text);
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    MenuItem item;
    if (!ItemFromFlags(flags, id, text, item))
        return FALSE;
    return Insert(menu, position, (flags & MF_BYPOSITION) != 0, item);
}

namespace {

bool CheckInfo(LPCMENUITEMINFOW info) {
    if (!info || info->cbSize != sizeof(MENUITEMINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

// Applies the fields info names (fMask) to an item.
bool Apply(const MENUITEMINFOW& info, MenuItem& item) {
    if (info.fMask & MIIM_TYPE) {
        item.type = info.fType;
        item.text.clear();
        item.bitmap = nullptr;
        if (info.fType & MFT_BITMAP)
            item.bitmap = reinterpret_cast<HBITMAP>(info.dwTypeData);
        else if (!(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW)) && info.dwTypeData)
            item.text = info.dwTypeData;
    }
    if (info.fMask & MIIM_FTYPE)
        item.type = (item.type & MFT_BITMAP) | (info.fType & ~MFT_BITMAP);
    if (info.fMask & MIIM_STRING) {
        item.text = info.dwTypeData ? String(info.dwTypeData) : String();
        if (info.dwTypeData && info.cch && info.cch < item.text.size())
            item.text.resize(info.cch);
    }
    if (info.fMask & MIIM_BITMAP)
        item.bitmap = info.hbmpItem;
    if (info.fMask & MIIM_STATE)
        item.state = info.fState;
    if (info.fMask & MIIM_ID)
        item.id = info.wID;
    if (info.fMask & MIIM_SUBMENU) {
        if (info.hSubMenu && !LookupMenu(info.hSubMenu))
            return false;
        item.submenu = info.hSubMenu;
    }
    if (info.fMask & MIIM_CHECKMARKS) {
        item.checkedBitmap = info.hbmpChecked;
        item.uncheckedBitmap = info.hbmpUnchecked;
    }
    if (info.fMask & MIIM_DATA)
        item.data = info.dwItemData;
    return true;
}

} // namespace

BOOL InsertMenuItemW(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!CheckInfo(info))
        return FALSE;
    MenuItem item;
    if (!Apply(*info, item))
        return FALSE;
    return Insert(menu, position, byPosition != FALSE, item);
}

BOOL ModifyMenuW(HMENU handle, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    MenuItem* item = FindItem(menu, position, (flags & MF_BYPOSITION) != 0);
    MenuItem changed;
    if (!item || !ItemFromFlags(flags, id, text, changed)) {
        if (!item)
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    // The old submenu stays the caller's, as with RemoveMenu.
    *item = changed;
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return Remove(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return Remove(menu, position, flags, false);
}

int GetMenuItemCount(HMENU handle) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU handle, int position) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    MenuItem* item = menu && position >= 0 ? FindItem(menu, static_cast<UINT>(position), true) : nullptr;
    if (!item || item->submenu)
        return static_cast<UINT>(-1);
    return item->id;
}

HMENU GetSubMenu(HMENU handle, int position) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    MenuItem* item = menu && position >= 0 ? FindItem(menu, static_cast<UINT>(position), true) : nullptr;
    return item ? item->submenu : nullptr;
}

UINT GetMenuState(HMENU handle, UINT position, UINT flags) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    MenuItem* item = menu ? FindItem(menu, position, (flags & MF_BYPOSITION) != 0) : nullptr;
    if (!item)
        return static_cast<UINT>(-1);
    UINT state = item->type | item->state;
    if (item->submenu) {
        Menu* sub = LookupMenu(item->submenu);
        return MF_POPUP | (state & 0xFF) | ((sub ? static_cast<UINT>(sub->items.size()) : 0) << 8);
    }
    return state;
}

int GetMenuStringW(HMENU handle, UINT position, LPWSTR text, int maxCount, UINT flags) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    MenuItem* item = menu ? FindItem(menu, position, (flags & MF_BYPOSITION) != 0) : nullptr;
    if (!item)
        return 0;
    if (!text || maxCount <= 0)
        return static_cast<int>(item->text.size());
    std::size_t length = std::min(item->text.size(), static_cast<std::size_t>(maxCount - 1));
    std::copy_n(item->text.data(), length, text);
    text[length] = 0;
    return static_cast<int>(length);
}

BOOL GetMenuItemInfoW(HMENU handle, UINT position, BOOL byPosition, LPMENUITEMINFOW info) {
    if (!CheckInfo(info))
        return FALSE;
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    MenuItem* item = FindItem(menu, position, byPosition != FALSE);
    if (!item) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE))
        info->fType = item->type;
    if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
        bool isText = !(item->type & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP));
        if ((info->fMask & MIIM_TYPE) && (item->type & MFT_BITMAP)) {
            info->dwTypeData = reinterpret_cast<LPWSTR>(item->bitmap);
        } else if (isText || (info->fMask & MIIM_STRING)) {
            // Copies what fits with its zero; cch answers the text's length either way.
            if (info->dwTypeData && info->cch) {
                std::size_t length = std::min<std::size_t>(item->text.size(), info->cch - 1);
                std::copy_n(item->text.data(), length, info->dwTypeData);
                info->dwTypeData[length] = 0;
            }
            info->cch = static_cast<UINT>(item->text.size());
        }
    }
    if (info->fMask & MIIM_BITMAP)
        info->hbmpItem = item->bitmap;
    if (info->fMask & MIIM_STATE)
        info->fState = item->state;
    if (info->fMask & MIIM_ID)
        info->wID = item->id;
    if (info->fMask & MIIM_SUBMENU)
        info->hSubMenu = item->submenu;
    if (info->fMask & MIIM_CHECKMARKS) {
        info->hbmpChecked = item->checkedBitmap;
        info->hbmpUnchecked = item->uncheckedBitmap;
    }
    if (info->fMask & MIIM_DATA)
        info->dwItemData = item->data;
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU handle, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
    if (!CheckInfo(info))
        return FALSE;
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    MenuItem* item = FindItem(menu, position, byPosition != FALSE);
    if (!item) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    MenuItem changed = *item;
    if (!Apply(*info, changed))
        return FALSE;
    *item = changed;
    return TRUE;
}

DWORD CheckMenuItem(HMENU handle, UINT position, UINT check) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    MenuItem* item = menu ? FindItem(menu, position, (check & MF_BYPOSITION) != 0) : nullptr;
    if (!item)
        return static_cast<DWORD>(-1);
    DWORD old = item->state & MF_CHECKED;
    item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL EnableMenuItem(HMENU handle, UINT position, UINT enable) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    MenuItem* item = menu ? FindItem(menu, position, (enable & MF_BYPOSITION) != 0) : nullptr;
    if (!item)
        return -1;
    UINT old = item->state & (MF_GRAYED | MF_DISABLED);
    item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(old);
}

BOOL CheckMenuRadioItem(HMENU handle, UINT first, UINT last, UINT check, UINT flags) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    bool byPosition = (flags & MF_BYPOSITION) != 0;
    Menu* owner = nullptr;
    int from = -1;
    int to = -1;
    int checked = -1;
    if (!FindItem(menu, first, byPosition, &owner, &from))
        return FALSE;
    Menu* lastOwner = nullptr;
    if (!FindItem(menu, last, byPosition, &lastOwner, &to) || lastOwner != owner || to < from)
        return FALSE;
    Menu* checkOwner = nullptr;
    if (!FindItem(menu, check, byPosition, &checkOwner, &checked) || checkOwner != owner)
        return FALSE;
    for (int i = from; i <= to; ++i) {
        MenuItem& item = owner->items[static_cast<std::size_t>(i)];
        if (i == checked) {
            item.state |= MF_CHECKED;
            item.type |= MFT_RADIOCHECK;
        } else {
            item.state &= ~MF_CHECKED;
        }
    }
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU handle, UINT position, UINT byPosition) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu)
        return FALSE;
    for (MenuItem& item : menu->items)
        item.state &= ~MFS_DEFAULT;
    if (position == static_cast<UINT>(-1)) {
        menu->defaultItem = position;
        return TRUE;
    }
    int index = -1;
    Menu* owner = nullptr;
    MenuItem* item = FindItem(menu, position, byPosition != 0, &owner, &index);
    if (!item || owner != menu)
        return FALSE;
    item->state |= MFS_DEFAULT;
    menu->defaultItem = static_cast<UINT>(index);
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU handle, UINT byPosition, UINT) {
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu || menu->defaultItem >= menu->items.size())
        return static_cast<UINT>(-1);
    return byPosition ? menu->defaultItem : menu->items[menu->defaultItem].id;
}
