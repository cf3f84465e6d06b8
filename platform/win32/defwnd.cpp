// DefWindowProc: what a window does with a message its own procedure passes on.
#include <algorithm>
#include <cstring>

#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

Window* Find(HWND hwnd) {
    TreeGuard guard(TreeLock());
    return Lookup(hwnd);
}

HWND ParentOfChild(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window || !(window->style & WS_CHILD) || !window->parent || IsDesktop(window->parent))
        return nullptr;
    return window->parent->handle;
}

LRESULT WMNCCreate(HWND hwnd, const CREATESTRUCTW* create) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return FALSE;
    if (create && create->lpszName && !IS_INTRESOURCE(create->lpszName))
        window->text = create->lpszName;
    InitScrollBars(hwnd);
    return TRUE;
}

LRESULT WMNCCalcSize(HWND hwnd, BOOL calcValidRects, LPARAM lParam) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window || !lParam)
        return 0;
    RECT* rect = calcValidRects ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(lParam);
    *rect = DefaultClientRect(window, *rect);
    return 0;
}

LRESULT WMNCHitTest(HWND hwnd, LPARAM lParam) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return HTNOWHERE;
    return DefaultHitTest(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

LRESULT WMEraseBkgnd(HWND hwnd, HDC dc) {
    HBRUSH brush;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window || !window->cls)
            return 0;
        brush = window->cls->background;
    }
    if (!brush)
        return 0;
    RECT rect;
    GetClientRect(hwnd, &rect);
    FillRect(dc, &rect, brush);
    return 1;
}

LRESULT WMPaint(HWND hwnd) {
    PAINTSTRUCT paint;
    if (BeginPaint(hwnd, &paint))
        EndPaint(hwnd, &paint);
    return 0;
}

LRESULT WMSetText(HWND hwnd, LPCWSTR text) {
    bool caption;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return FALSE;
        window->text = text ? String(text) : String();
        caption = (window->style & WS_CAPTION) == WS_CAPTION;
        if (IsTopLevel(window) && window->host)
            UpdateSurface(window);
    }
    if (caption)
        InvalidateFrame(hwnd);
    return TRUE;
}

LRESULT WMGetText(HWND hwnd, WPARAM size, LPWSTR buffer) {
    if (!buffer || size == 0)
        return 0;
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return 0;
    size_t count = std::min(window->text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, window->text.data(), count * sizeof(WCHAR));
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT WMWindowPosChanged(HWND hwnd, const WINDOWPOS* pos) {
    if (!pos)
        return 0;
    RECT client;
    DWORD style;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return 0;
        client = window->client;
        style = window->style;
    }
    if (!(pos->flags & SWP_NOCLIENTMOVE))
        SendMessageW(hwnd, WM_MOVE, 0,
                     MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
    if (!(pos->flags & SWP_NOCLIENTSIZE)) {
        WPARAM kind = (style & WS_MAXIMIZE)   ? SIZE_MAXIMIZED
                      : (style & WS_MINIMIZE) ? SIZE_MINIMIZED
                                              : SIZE_RESTORED;
        SendMessageW(hwnd, WM_SIZE, kind,
                     MAKELPARAM(static_cast<WORD>(Width(client)), static_cast<WORD>(Height(client))));
    }
    return 0;
}

LRESULT WMWindowPosChanging(HWND hwnd, WINDOWPOS* pos) {
    if (!pos || (pos->flags & SWP_NOSIZE))
        return 0;
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (!((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))))
        return 0;
    MINMAXINFO info{};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize =
        POINT{GetSystemMetrics(SM_CXVIRTUALSCREEN) + 12, GetSystemMetrics(SM_CYVIRTUALSCREEN) + 12};
    SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (style & (WS_MAXIMIZE | WS_MINIMIZE))
        return 0;
    pos->cx = std::clamp<int>(pos->cx, info.ptMinTrackSize.x,
                              std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    pos->cy = std::clamp<int>(pos->cy, info.ptMinTrackSize.y,
                              std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
    return 0;
}

LRESULT WMMouseActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = ParentOfChild(hwnd)) {
        LRESULT answer = SendMessageW(parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (answer)
            return answer;
    }
    return MA_ACTIVATE;
}

LRESULT WMSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = ParentOfChild(hwnd))
        if (SendMessageW(parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
    short hit = static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    LPCWSTR shape = IDC_ARROW;
    switch (hit) {
    case HTCLIENT: {
        HCURSOR cursor = nullptr;
        {
            TreeGuard guard(TreeLock());
            Window* window = Lookup(hwnd);
            if (window && window->cls)
                cursor = window->cls->cursor;
        }
        if (cursor) {
            SetCursor(cursor);
            return TRUE;
        }
        return FALSE;
    }
    case HTERROR:
        if (HIWORD(static_cast<std::uintptr_t>(lParam)) == WM_LBUTTONDOWN)
            MessageBeep(MB_OK);
        break;
    case HTLEFT:
    case HTRIGHT:
        shape = IDC_SIZEWE;
        break;
    case HTTOP:
    case HTBOTTOM:
        shape = IDC_SIZENS;
        break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        shape = IDC_SIZENWSE;
        break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        shape = IDC_SIZENESW;
        break;
    default:
        break;
    }
    SetCursor(LoadCursorW(nullptr, shape));
    return TRUE;
}

LRESULT WMNCLButtonDown(HWND hwnd, WPARAM hit, LPARAM lParam) {
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (static_cast<LRESULT>(hit)) {
    case HTVSCROLL:
        StartScrollTracking(hwnd, SB_VERT, screen);
        break;
    case HTHSCROLL:
        StartScrollTracking(hwnd, SB_HORZ, screen);
        break;
    case HTCAPTION: {
        HWND top = GetAncestor(hwnd, GA_ROOT);
        if (top && !(GetWindowLongW(top, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
            SetActiveWindow(top);
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
        break;
    }
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + WMSZ_LEFT), lParam);
        break;
    case HTCLOSE:
        PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT WMSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        break;
    case SC_MAXIMIZE:
        ShowWindow(hwnd, SW_MAXIMIZE);
        break;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        break;
    case SC_MOVE:
        StartSizeMove(hwnd, HTCAPTION, screen);
        break;
    case SC_SIZE:
        StartSizeMove(hwnd, static_cast<LRESULT>((command & 0x0F) - WMSZ_LEFT + HTLEFT), screen);
        break;
    case SC_VSCROLL:
    case SC_HSCROLL:
    case SC_KEYMENU:
    default:
        break;
    }
    return 0;
}

LRESULT WMSetRedraw(HWND hwnd, BOOL redraw) {
    // Drawing is switched off by hiding the window without telling anyone; switching it on again does not
    // draw: the caller invalidates what it wants drawn.
    bool wasVisible;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return 0;
        wasVisible = (window->style & WS_VISIBLE) != 0;
        if (redraw)
            window->style |= WS_VISIBLE;
    }
    if (!redraw && wasVisible) {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ALLCHILDREN | RDW_VALIDATE);
        TreeGuard guard(TreeLock());
        if (Window* window = Lookup(hwnd))
            window->style &= ~WS_VISIBLE;
    }
    return 0;
}

LRESULT CtlColor(UINT message, HDC dc) {
    if (message == WM_CTLCOLORSCROLLBAR) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_SCROLLBAR));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
    }
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetBkColor(dc, GetSysColor(COLOR_3DFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
}

} // namespace

} // namespace win32

using namespace win32;

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Find(hwnd))
        return 0;
    switch (message) {
    case WM_NCCREATE:
        return WMNCCreate(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_NCCALCSIZE:
        return WMNCCalcSize(hwnd, static_cast<BOOL>(wParam), lParam);
    case WM_NCHITTEST:
        return WMNCHitTest(hwnd, lParam);
    case WM_NCPAINT:
        DrawNonClient(hwnd, reinterpret_cast<HRGN>(wParam));
        return 0;
    case WM_NCACTIVATE: {
        // The caption follows what the message says, not which window is active: a pop-up that takes
        // the activation may tell its owner to keep looking active.
        {
            TreeGuard guard(TreeLock());
            if (Window* window = Lookup(hwnd))
                window->frameActive = wParam != 0;
        }
        InvalidateFrame(hwnd);
        return TRUE;
    }
    case WM_ERASEBKGND:
        return WMEraseBkgnd(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        return WMPaint(hwnd);
    case WM_SETTEXT:
        return WMSetText(hwnd, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
        return WMGetText(hwnd, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        return window ? static_cast<LRESULT>(window->text.size()) : 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_WINDOWPOSCHANGING:
        return WMWindowPosChanging(hwnd, reinterpret_cast<WINDOWPOS*>(lParam));
    case WM_WINDOWPOSCHANGED:
        return WMWindowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_MOUSEACTIVATE:
        return WMMouseActivate(hwnd, wParam, lParam);
    case WM_SETCURSOR:
        return WMSetCursor(hwnd, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !IsIconic(hwnd))
            SetFocus(hwnd);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
        if (HWND parent = ParentOfChild(hwnd))
            return SendMessageW(parent, message, wParam, lParam);
        return 0;
    case WM_NCLBUTTONDOWN:
        return WMNCLButtonDown(hwnd, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        if (wParam == static_cast<WPARAM>(HTVSCROLL) || wParam == static_cast<WPARAM>(HTHSCROLL))
            return WMNCLButtonDown(hwnd, wParam, lParam);
        if (wParam == static_cast<WPARAM>(HTCAPTION) && (GetWindowLongW(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX))
            SendMessageW(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_SYSCOMMAND:
        return WMSysCommand(hwnd, wParam, lParam);
    case WM_SYSKEYDOWN:
        if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & KF_ALTDOWN_BIT))
            if (HWND top = GetAncestor(hwnd, GA_ROOT))
                PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        // Shift+F10 asks for the context menu from the keyboard: no point, (-1, -1).
        if (wParam == static_cast<WPARAM>(VK_F10) && !(lParam & KF_ALTDOWN_BIT) && GetKeyState(VK_SHIFT) < 0)
            SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
        return 0;
    case WM_KEYUP:
        if (wParam == static_cast<WPARAM>(VK_APPS))
            SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), static_cast<LPARAM>(-1));
        return 0;
    case WM_RBUTTONUP: {
        // A right click asks the window under it for its context menu, at the screen point.
        POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &screen);
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                     MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
        return 0;
    }
    case WM_SYSTIMER:
        if (CaretTimer(hwnd, wParam) || HoverTimer(hwnd, wParam))
            return 0;
        if (Tracker* tracker = ActiveTracker())
            tracker->Tick();
        return 0;
    case WM_CANCELMODE:
        if (ActiveTracker())
            ActiveTracker()->Cancel();
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    case WM_SETREDRAW:
        return WMSetRedraw(hwnd, static_cast<BOOL>(wParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return CtlColor(message, reinterpret_cast<HDC>(wParam));
    case WM_GETMINMAXINFO:
    case WM_SHOWWINDOW:
    case WM_GETDLGCODE:
    case WM_NCDESTROY:
    default:
        return 0;
    }
}
