// The popup menu loop: laying out and painting popup menus in windows of their own class, and the
// modal loop of TrackPopupMenu(Ex) that follows the mouse and the keyboard through cascading popups
// and tells the owner window what happens.
#include <algorithm>
#include <mutex>

#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/menu_private.h"

namespace win32::menus {

namespace {

const Trace::Channel TraceMenu("menu");

constexpr int Border = 3; // the popup's raised edge and its padding
constexpr int SeparatorHeight = 8;
constexpr int TextPadding = 4;  // above and below an item's text
constexpr int ShortcutGap = 16; // between the caption and the shortcut text

int CheckColumn() {
    return GetSystemMetrics(SM_CXMENUCHECK) + 6;
}

HFONT MenuFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfMenuFont);
    }();
    return font;
}

// The loop's state; one per running loop, innermost in gTracking.
struct Tracking {
    HWND owner = nullptr;
    UINT flags = 0;
    std::vector<Menu*> open; // shown popups, the root first
    bool done = false;
    bool chosen = false;
    UINT command = 0;
    Tracking* outer = nullptr;
};
thread_local Tracking* gTracking = nullptr;

bool Notifies(const Tracking& t) {
    return !(t.flags & TPM_NONOTIFY);
}

String Caption(const MenuItem& item) {
    std::size_t tab = item.text.find(u'\t');
    return tab == String::npos ? item.text : item.text.substr(0, tab);
}
String Shortcut(const MenuItem& item) {
    std::size_t tab = item.text.find(u'\t');
    return tab == String::npos ? String() : item.text.substr(tab + 1);
}

bool Selectable(const MenuItem& item) {
    return !(item.type & MFT_SEPARATOR);
}
bool Enabled(const MenuItem& item) {
    return !(item.state & (MF_GRAYED | MF_DISABLED));
}

SIZE TextSize(HDC dc, const String& text) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Lays the items out in one column from the font and what owner-drawn items measure; sets each
// item's rectangle and the menu's size.
void LayOut(HWND owner, HMENU handle) {
    struct Measured {
        int height = 0;
        int caption = 0;
        int shortcut = 0;
    };
    std::vector<MenuItem> items;
    {
        MenuGuard guard(MenuLock());
        Menu* menu = LookupMenu(handle);
        if (!menu)
            return;
        items = menu->items;
    }
    std::vector<Measured> sizes(items.size());
    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int lineHeight = std::max<int>(tm.tmHeight + 2 * TextPadding, GetSystemMetrics(SM_CYMENUCHECK) + 2);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItem& item = items[i];
        Measured& size = sizes[i];
        if (item.type & MFT_SEPARATOR) {
            size.height = SeparatorHeight;
        } else if (item.type & MFT_OWNERDRAW) {
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, 0, item.data};
            SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
            size.height = static_cast<int>(measure.itemHeight);
            size.caption = static_cast<int>(measure.itemWidth);
        } else if ((item.type & MFT_BITMAP) && item.bitmap) {
            BITMAP info{};
            GetObjectW(item.bitmap, sizeof info, &info);
            size.height = std::max<int>(info.bmHeight, lineHeight);
            size.caption = info.bmWidth;
        } else {
            size.height = lineHeight;
            size.caption = TextSize(dc, Caption(item)).cx;
            size.shortcut = TextSize(dc, Shortcut(item)).cx;
        }
    }
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);
    int caption = 0;
    int shortcut = 0;
    for (const Measured& size : sizes) {
        caption = std::max(caption, size.caption);
        shortcut = std::max(shortcut, size.shortcut);
    }
    int width = CheckColumn() + caption + (shortcut ? ShortcutGap + shortcut : 0) + CheckColumn();
    MenuGuard guard(MenuLock());
    Menu* menu = LookupMenu(handle);
    if (!menu || menu->items.size() != items.size())
        return;
    int y = Border;
    for (std::size_t i = 0; i < items.size(); ++i) {
        menu->items[i].rect = RECT{Border, y, Border + width, y + sizes[i].height};
        y += sizes[i].height;
    }
    menu->size = SIZE{width + 2 * Border, y + Border};
}

// A menu glyph (black on white) drawn in the item's colour: black as it is, white on a highlight.
void DrawGlyph(HDC dc, RECT rect, UINT state, bool light) {
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT local{0, 0, width, height};
    DrawFrameControl(memory, &local, DFC_MENU, state);
    if (light) {
        BitBlt(memory, 0, 0, width, height, memory, 0, 0, NOTSRCCOPY);
        BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCPAINT);
    } else {
        BitBlt(dc, rect.left, rect.top, width, height, memory, 0, 0, SRCAND);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void PaintItem(HDC dc, HWND owner, HMENU handle, const MenuItem& item, bool hilited) {
    RECT rect = item.rect;
    if (item.type & MFT_OWNERDRAW) {
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = item.id;
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = (hilited ? ODS_SELECTED : 0) | ((item.state & MF_CHECKED) ? ODS_CHECKED : 0) |
                         ((item.state & MF_GRAYED) ? ODS_GRAYED : 0) |
                         ((item.state & MF_DISABLED) ? ODS_DISABLED : 0) |
                         ((item.state & MFS_DEFAULT) ? ODS_DEFAULT : 0);
        draw.hwndItem = reinterpret_cast<HWND>(handle);
        draw.hDC = dc;
        draw.rcItem = rect;
        draw.itemData = item.data;
        SetTextColor(dc, GetSysColor(hilited ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        SetBkColor(dc, GetSysColor(hilited ? COLOR_HIGHLIGHT : COLOR_MENU));
        SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        return;
    }
    if (item.type & MFT_SEPARATOR) {
        RECT line{rect.left + 1, (rect.top + rect.bottom) / 2 - 1, rect.right - 1,
                  (rect.top + rect.bottom) / 2 + 1};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    FillRect(dc, &rect, GetSysColorBrush(hilited ? COLOR_HIGHLIGHT : COLOR_MENU));
    int check = GetSystemMetrics(SM_CXMENUCHECK);
    int checkTop = rect.top + (rect.bottom - rect.top - check) / 2;
    if (item.state & MF_CHECKED) {
        RECT box{rect.left + 3, checkTop, rect.left + 3 + check, checkTop + check};
        DrawGlyph(dc, box, (item.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK, hilited);
    }
    if (item.submenu) {
        RECT arrow{rect.right - 3 - check, checkTop, rect.right - 3, checkTop + check};
        DrawGlyph(dc, arrow, DFCS_MENUARROW, hilited);
    }
    if ((item.type & MFT_BITMAP) && item.bitmap) {
        BITMAP info{};
        GetObjectW(item.bitmap, sizeof info, &info);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, item.bitmap);
        BitBlt(dc, rect.left + CheckColumn(), rect.top + (rect.bottom - rect.top - info.bmHeight) / 2,
               info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    COLORREF color = GetSysColor(hilited ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (!Enabled(item))
        color = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, color);
    RECT text{rect.left + CheckColumn(), rect.top, rect.right - CheckColumn(), rect.bottom};
    String caption = Caption(item);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    String shortcut = Shortcut(item);
    if (!shortcut.empty())
        DrawTextW(dc, shortcut.c_str(), static_cast<int>(shortcut.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

void PaintMenu(HWND hwnd, HDC dc) {
    HMENU handle = reinterpret_cast<HMENU>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    std::vector<MenuItem> items;
    int hilite = -1;
    {
        MenuGuard guard(MenuLock());
        Menu* menu = LookupMenu(handle);
        if (!menu)
            return;
        items = menu->items;
        hilite = menu->hilite;
    }
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
    HWND owner = GetWindow(hwnd, GW_OWNER);
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    for (std::size_t i = 0; i < items.size(); ++i)
        PaintItem(dc, owner, handle, items[i], static_cast<int>(i) == hilite);
    SelectObject(dc, oldFont);
}

LRESULT PopupMenuWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps{};
        HDC dc = message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        PaintMenu(hwnd, dc);
        if (message == WM_PAINT)
            EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// Where a popup of the given size goes for the TPM_ alignment at x, y, kept on the screen: it flips to
// the other side of the point when it does not fit.
POINT Place(UINT flags, int x, int y, SIZE size) {
    int left = x;
    if (flags & TPM_RIGHTALIGN)
        left = x - size.cx;
    else if (flags & TPM_CENTERALIGN)
        left = x - size.cx / 2;
    int top = y;
    if (flags & TPM_BOTTOMALIGN)
        top = y - size.cy;
    else if (flags & TPM_VCENTERALIGN)
        top = y - size.cy / 2;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (left + size.cx > screenWidth && !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN)))
        left = x - size.cx;
    if (top + size.cy > screenHeight && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)))
        top = y - size.cy;
    left = std::clamp(left, 0, std::max(0, screenWidth - static_cast<int>(size.cx)));
    top = std::clamp(top, 0, std::max(0, screenHeight - static_cast<int>(size.cy)));
    return POINT{left, top};
}

// Shows a menu in a new popup window at the screen point.
bool Show(Tracking& t, HMENU handle, UINT flags, int x, int y) {
    LayOut(t.owner, handle);
    SIZE size;
    {
        MenuGuard guard(MenuLock());
        Menu* menu = LookupMenu(handle);
        if (!menu)
            return false;
        size = menu->size;
        menu->hilite = -1;
    }
    POINT at = Place(flags, x, y, size);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, PopupMenuClassName, u"", WS_POPUP, at.x,
                                  at.y, size.cx, size.cy, t.owner, nullptr, nullptr, handle);
    if (!window)
        return false;
    {
        MenuGuard guard(MenuLock());
        Menu* menu = LookupMenu(handle);
        if (!menu) {
            DestroyWindow(window);
            return false;
        }
        menu->window = window;
        t.open.push_back(menu);
    }
    ShowWindow(window, SW_SHOWNA);
    return true;
}

// Closes the popups above the given depth, the deepest first.
void CloseAbove(Tracking& t, std::size_t depth) {
    while (t.open.size() > depth) {
        Menu* menu = t.open.back();
        t.open.pop_back();
        HWND window = nullptr;
        {
            MenuGuard guard(MenuLock());
            if (LookupMenu(menu)) {
                window = menu->window;
                menu->window = nullptr;
                menu->hilite = -1;
            }
        }
        if (window)
            DestroyWindow(window);
        if (Notifies(t))
            SendMessageW(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(static_cast<HMENU>(menu)), 0);
    }
}

// Highlights an item of the popup at depth (-1 for none), closing deeper popups.
void Select(Tracking& t, std::size_t depth, int position, bool byMouse) {
    if (depth >= t.open.size())
        return;
    Menu* menu = t.open[depth];
    if (depth + 1 < t.open.size() && menu->hilite == position)
        return;
    CloseAbove(t, depth + 1);
    MenuItem item;
    HWND window;
    {
        MenuGuard guard(MenuLock());
        if (!LookupMenu(menu) || menu->hilite == position)
            return;
        menu->hilite = position;
        window = menu->window;
        if (position >= 0)
            item = menu->items[static_cast<std::size_t>(position)];
    }
    InvalidateRect(window, nullptr, FALSE);
    if (position < 0 || !Notifies(t))
        return;
    UINT flags =
        item.type | item.state | MF_HILITE | (item.submenu ? MF_POPUP : 0) | (byMouse ? MF_MOUSESELECT : 0);
    WORD which = static_cast<WORD>(item.submenu ? static_cast<UINT>(position) : item.id);
    SendMessageW(t.owner, WM_MENUSELECT, MAKEWPARAM(which, static_cast<WORD>(flags)),
                 reinterpret_cast<LPARAM>(static_cast<HMENU>(menu)));
}

// Opens the submenu of the highlighted item of the popup at depth, right of the item.
void OpenSubmenu(Tracking& t, std::size_t depth, bool selectFirst) {
    if (depth + 1 < t.open.size() || depth >= t.open.size())
        return;
    Menu* menu = t.open[depth];
    HMENU submenu;
    int position;
    RECT itemRect;
    HWND window;
    {
        MenuGuard guard(MenuLock());
        if (!LookupMenu(menu) || menu->hilite < 0)
            return;
        position = menu->hilite;
        const MenuItem& item = menu->items[static_cast<std::size_t>(position)];
        if (!item.submenu || !Enabled(item) || !LookupMenu(item.submenu))
            return;
        submenu = item.submenu;
        itemRect = item.rect;
        window = menu->window;
    }
    if (Notifies(t))
        SendMessageW(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu),
                     MAKELPARAM(position, FALSE));
    POINT corner{itemRect.right, itemRect.top - Border};
    ClientToScreen(window, &corner);
    if (!Show(t, submenu, TPM_LEFTALIGN | TPM_TOPALIGN, corner.x, corner.y))
        return;
    if (selectFirst) {
        Menu* sub = t.open.back();
        for (std::size_t i = 0; i < sub->items.size(); ++i)
            if (Selectable(sub->items[i])) {
                Select(t, t.open.size() - 1, static_cast<int>(i), false);
                break;
            }
    }
}

void Choose(Tracking& t, UINT command) {
    t.chosen = true;
    t.command = command;
    t.done = true;
}

// Enter or a click on the highlighted item of the deepest popup: a submenu opens, an enabled command
// is chosen, and a disabled one ends the menu without a command.
void Execute(Tracking& t, std::size_t depth, bool byMouse) {
    Menu* menu = t.open[depth];
    MenuItem item;
    {
        MenuGuard guard(MenuLock());
        if (!LookupMenu(menu) || menu->hilite < 0)
            return;
        item = menu->items[static_cast<std::size_t>(menu->hilite)];
    }
    if (item.submenu) {
        OpenSubmenu(t, depth, !byMouse);
        return;
    }
    if (!Selectable(item))
        return;
    if (!Enabled(item)) {
        // A click on a disabled item leaves the menu open; Enter on one closes it.
        if (!byMouse)
            t.done = true;
        return;
    }
    Choose(t, item.id);
}

// The popup under a screen point and the item there (-1 for none), deepest popup first.
bool HitTest(const Tracking& t, POINT screen, std::size_t& depth, int& position) {
    for (std::size_t i = t.open.size(); i-- > 0;) {
        Menu* menu = t.open[i];
        RECT window;
        if (!menu->window || !GetWindowRect(menu->window, &window) || !PtInRect(&window, screen))
            continue;
        depth = i;
        position = -1;
        POINT local = screen;
        ScreenToClient(menu->window, &local);
        MenuGuard guard(MenuLock());
        for (std::size_t k = 0; k < menu->items.size(); ++k)
            if (PtInRect(&menu->items[k].rect, local) && Selectable(menu->items[k]))
                position = static_cast<int>(k);
        return true;
    }
    return false;
}

void MouseMessage(Tracking& t, const MSG& msg) {
    POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.message < WM_NCMOUSEMOVE || msg.message > WM_NCMBUTTONDBLCLK)
        ClientToScreen(msg.hwnd, &screen);
    std::size_t depth = 0;
    int position = -1;
    bool inside = HitTest(t, screen, depth, position);
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (inside && position >= 0) {
            Select(t, depth, position, true);
            OpenSubmenu(t, depth, false);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        // A press outside every popup cancels the menu.
        if (!inside)
            t.done = true;
        else if (position >= 0)
            Select(t, depth, position, true);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP: {
        bool right = msg.message == WM_RBUTTONUP || msg.message == WM_NCRBUTTONUP;
        if (right && !(t.flags & TPM_RIGHTBUTTON))
            break;
        if (inside && position >= 0) {
            Select(t, depth, position, true);
            Execute(t, depth, true);
        }
        break;
    }
    default:
        break;
    }
}

// Moves the highlight of the deepest popup by step (1 or -1) over the items that can take it.
void Move(Tracking& t, int step, bool fromEnd = false) {
    std::size_t depth = t.open.size() - 1;
    Menu* menu = t.open[depth];
    int count = static_cast<int>(menu->items.size());
    if (!count)
        return;
    int position = fromEnd ? (step > 0 ? -1 : count) : menu->hilite;
    if (position < 0 && step < 0 && !fromEnd)
        position = count;
    for (int i = 0; i < count; ++i) {
        position = ((position + step) % count + count) % count;
        if (Selectable(menu->items[static_cast<std::size_t>(position)])) {
            Select(t, depth, position, false);
            return;
        }
    }
}

// A character picks the item whose caption has it as mnemonic ('&'); the owner is asked about a
// character no item has.
void Mnemonic(Tracking& t, Char c) {
    std::size_t depth = t.open.size() - 1;
    Menu* menu = t.open[depth];
    std::vector<int> matches;
    Char wanted = UpCase(c);
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        const String& text = menu->items[i].text;
        for (std::size_t k = 0; k + 1 < text.size(); ++k) {
            if (text[k] != u'&')
                continue;
            if (text[k + 1] == u'&') {
                ++k;
                continue;
            }
            if (UpCase(text[k + 1]) == wanted)
                matches.push_back(static_cast<int>(i));
            break;
        }
    }
    if (matches.empty()) {
        LRESULT answer = SendMessageW(t.owner, WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP),
                                      reinterpret_cast<LPARAM>(static_cast<HMENU>(menu)));
        WORD action = HIWORD(static_cast<std::uintptr_t>(answer));
        if (action == 2 || action == 3) // MNC_EXECUTE, MNC_SELECT
            matches.push_back(LOWORD(static_cast<std::uintptr_t>(answer)));
        else
            MessageBeep(0);
        if (action != 2 || matches.empty() || matches[0] >= static_cast<int>(menu->items.size())) {
            if (!matches.empty() && matches[0] < static_cast<int>(menu->items.size()))
                Select(t, depth, matches[0], false);
            return;
        }
    }
    if (matches.size() > 1) {
        // Several share it: each press moves to the next of them.
        auto next = std::upper_bound(matches.begin(), matches.end(), menu->hilite);
        Select(t, depth, next == matches.end() ? matches.front() : *next, false);
        return;
    }
    Select(t, depth, matches[0], false);
    Execute(t, depth, false);
}

void KeyMessage(Tracking& t, const MSG& msg) {
    std::size_t depth = t.open.size() - 1;
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
        if (msg.wParam > u' ')
            Mnemonic(t, static_cast<Char>(msg.wParam));
        return;
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return;
    switch (msg.wParam) {
    case VK_DOWN:
        Move(t, 1);
        break;
    case VK_UP:
        Move(t, -1);
        break;
    case VK_HOME:
        Move(t, 1, true);
        break;
    case VK_END:
        Move(t, -1, true);
        break;
    case VK_RIGHT:
        OpenSubmenu(t, depth, true);
        break;
    case VK_LEFT:
        if (depth > 0)
            CloseAbove(t, depth);
        break;
    case VK_RETURN:
        if (t.open[depth]->hilite >= 0)
            Execute(t, depth, false);
        break;
    case VK_ESCAPE:
        if (depth > 0)
            CloseAbove(t, depth);
        else
            t.done = true;
        break;
    case VK_MENU:
    case VK_F10:
        t.done = true;
        break;
    default:
        break;
    }
}

void RunLoop(Tracking& t) {
    while (!t.done) {
        if (!IsWindow(t.owner) || t.open.empty() || GetCapture() != t.owner) {
            // The owner went away or another window took the mouse: the menu ends.
            t.done = true;
            break;
        }
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            SendMessageW(t.owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(t.open.back()->window));
            if (!t.done && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
                WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            // The loop that reads it next must see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            t.done = true;
            break;
        }
        if ((msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
            (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)) {
            MouseMessage(t, msg);
            continue;
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            // Only keys that may be mnemonics become characters: Enter or Escape ending the menu
            // must not leave a character behind for the window that has the focus.
            if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE && msg.wParam != VK_TAB &&
                msg.wParam != VK_BACK)
                TranslateMessage(&msg);
            KeyMessage(t, msg);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

void RegisterPopupMenuClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSW wc{};
        wc.style = CS_SAVEBITS | CS_DBLCLKS | CS_GLOBALCLASS;
        wc.lpfnWndProc = PopupMenuWndProc;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = PopupMenuClassName;
        RegisterClassW(&wc);
    });
}

} // namespace win32::menus

using namespace win32::menus;

BOOL TrackPopupMenuEx(HMENU handle, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    if (!LookupMenu(handle))
        return FALSE;
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (gTracking && !(flags & TPM_RECURSE)) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    if (params)
        ZFIXME(TraceMenu, "the excluded rectangle is not kept clear");
    RegisterPopupMenuClass();
    Tracking t;
    t.owner = owner;
    t.flags = flags;
    t.outer = gTracking;
    gTracking = &t;
    if (Notifies(t)) {
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageW(owner, WM_INITMENU, reinterpret_cast<WPARAM>(handle), 0);
    }
    SetCapture(owner);
    if (Notifies(t))
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(handle), 0);
    if (Show(t, handle, flags, x, y))
        RunLoop(t);
    if (GetCapture() == owner)
        ReleaseCapture();
    CloseAbove(t, 0);
    if (Notifies(t) && IsWindow(owner)) {
        SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    gTracking = t.outer;
    if (flags & TPM_RETURNCMD)
        return t.chosen ? static_cast<BOOL>(t.command) : 0;
    if (t.chosen && IsWindow(owner))
        PostMessageW(owner, WM_COMMAND, t.command, 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    if (!gTracking)
        return FALSE;
    gTracking->done = true;
    return TRUE;
}

BOOL GetMenuItemRect(HWND, HMENU handle, UINT position, LPRECT rect) {
    if (!rect)
        return FALSE;
    HWND window;
    {
        MenuGuard guard(MenuLock());
        Menu* menu = LookupMenu(handle);
        if (!menu || !menu->window || position >= menu->items.size())
            return FALSE;
        window = menu->window;
        *rect = menu->items[position].rect;
    }
    MapWindowPoints(window, nullptr, reinterpret_cast<LPPOINT>(rect), 2);
    return TRUE;
}
