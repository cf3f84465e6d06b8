// Moving, sizing, showing and stacking windows: SetWindowPos with its flags and messages, MoveWindow,
// BringWindowToTop and ShowWindow.
#include <algorithm>
#include <vector>

#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

using namespace win32;

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

} // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        if (IsDesktop(window)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        const RECT& r = window->rect;
        if (flags & SWP_NOMOVE) {
            pos.x = r.left;
            pos.y = r.top;
        }
        if (flags & SWP_NOSIZE) {
            pos.cx = Width(r);
            pos.cy = Height(r);
        }
        pos.cx = std::max(pos.cx, 0);
        pos.cy = std::max(pos.cy, 0);
        if (pos.x == r.left && pos.y == r.top)
            pos.flags |= SWP_NOMOVE;
        if (pos.cx == Width(r) && pos.cy == Height(r))
            pos.flags |= SWP_NOSIZE;
        if (window->style & WS_VISIBLE)
            pos.flags &= ~SWP_SHOWWINDOW;
        else
            pos.flags &= ~SWP_HIDEWINDOW;
        if (insertAfter == hwnd)
            pos.flags |= SWP_NOZORDER;
        if (!(pos.flags & SWP_NOZORDER) && (window->style & WS_CHILD) &&
            (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST))
            pos.hwndInsertAfter = HWND_TOP;
    }
    if (!(pos.flags & SWP_NOSENDCHANGING))
        SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));

    RECT newRect;
    RECT oldRect;
    RECT oldClient;
    bool sizeChanged;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return FALSE;
        oldRect = window->rect;
        oldClient = window->client;
        if (pos.flags & SWP_NOMOVE) {
            pos.x = oldRect.left;
            pos.y = oldRect.top;
        }
        if (pos.flags & SWP_NOSIZE) {
            pos.cx = Width(oldRect);
            pos.cy = Height(oldRect);
        }
        newRect = RECT{pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
        sizeChanged = Width(newRect) != Width(oldRect) || Height(newRect) != Height(oldRect);
    }
    RECT newClient;
    if (sizeChanged || (pos.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params{};
        params.rgrc[0] = newRect;
        params.rgrc[1] = oldRect;
        params.rgrc[2] = oldClient;
        params.lppos = &pos;
        SendMessageW(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        newClient = params.rgrc[0];
        newClient.left = std::clamp(newClient.left, newRect.left, newRect.right);
        newClient.right = std::clamp(newClient.right, newClient.left, newRect.right);
        newClient.top = std::clamp(newClient.top, newRect.top, newRect.bottom);
        newClient.bottom = std::clamp(newClient.bottom, newClient.top, newRect.bottom);
    } else {
        newClient = oldClient;
        OffsetRect(&newClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
    }

    bool wasVisible;
    bool nowVisible;
    bool topLevel;
    bool zChanged = false;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return FALSE;
        topLevel = IsTopLevel(window);
        wasVisible = IsReallyVisible(window);
        if (newClient.left == oldClient.left && newClient.top == oldClient.top)
            pos.flags |= SWP_NOCLIENTMOVE;
        if (Width(newClient) == Width(oldClient) && Height(newClient) == Height(oldClient))
            pos.flags |= SWP_NOCLIENTSIZE;
        if (!(pos.flags & SWP_NOZORDER)) {
            if (topLevel && pos.hwndInsertAfter == HWND_TOPMOST)
                window->exStyle |= WS_EX_TOPMOST;
            else if (topLevel && pos.hwndInsertAfter == HWND_NOTOPMOST)
                window->exStyle &= ~WS_EX_TOPMOST;
            std::vector<Window*>& siblings = Siblings(window);
            std::vector<Window*> before = siblings;
            LinkWindow(window, pos.hwndInsertAfter);
            RaiseOwnedAbove(window);
            zChanged = before != siblings;
        }
        window->rect = newRect;
        window->client = newClient;
        if (pos.flags & SWP_SHOWWINDOW)
            window->style |= WS_VISIBLE;
        if (pos.flags & SWP_HIDEWINDOW)
            window->style &= ~WS_VISIBLE;
        if (!(window->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            window->normalRect = newRect;
        nowVisible = IsReallyVisible(window);
        bool geometry = !(pos.flags & SWP_NOMOVE) || sizeChanged || (pos.flags & SWP_FRAMECHANGED);
        if (!(pos.flags & SWP_NOREDRAW)) {
            if (topLevel) {
                // A top-level window carries its own surface: moving it redraws nothing, while showing
                // it or changing its size redraws all of it.
                if (nowVisible && (!wasVisible || sizeChanged || (pos.flags & SWP_FRAMECHANGED)))
                    RedrawInternal(window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            } else if (wasVisible || nowVisible) {
                if (wasVisible && (geometry || zChanged || !nowVisible))
                    InvalidateBehind(window->parent, oldRect);
                if (nowVisible && (geometry || zChanged || !wasVisible))
                    RedrawInternal(window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            }
        } else if (geometry) {
            window->frameDirty = window->frameDirty || nowVisible;
        }
        if (topLevel)
            UpdateSurface(window);
    }
    if (wasVisible != nowVisible)
        ZTRACE(TraceWindow, "%p %s", static_cast<void*>(hwnd), nowVisible ? "shown" : "hidden");

    if (!(pos.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && IsWindow(hwnd)) {
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        if ((style & (WS_CHILD | WS_POPUP)) == WS_CHILD)
            SendMessageW(hwnd, WM_CHILDACTIVATE, 0, 0);
        else if (nowVisible)
            ActivateWindow(hwnd, WA_ACTIVE);
    }
    bool changed = !(pos.flags & SWP_NOMOVE) || !(pos.flags & SWP_NOSIZE) || zChanged ||
                   (pos.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
    if (!zChanged)
        pos.flags |= SWP_NOZORDER;
    if (changed && IsWindow(hwnd)) {
        pos.x = newRect.left;
        pos.y = newRect.top;
        pos.cx = Width(newRect);
        pos.cy = Height(newRect);
        SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

namespace {

// The calls a deferred batch collects; its address is the HDWP.
struct DeferredPositions {
    std::vector<WINDOWPOS> moves;
};

} // namespace

HDWP BeginDeferWindowPos(int count) {
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto* batch = new DeferredPositions;
    batch->moves.reserve(static_cast<size_t>(count));
    return reinterpret_cast<HDWP>(batch);
}

HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    auto* positions = reinterpret_cast<DeferredPositions*>(batch);
    if (positions == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!IsWindow(hwnd)) {
        // As in Win32, a failed addition ends the batch: the caller must not end it again.
        delete positions;
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    positions->moves.push_back(WINDOWPOS{hwnd, insertAfter, x, y, cx, cy, flags});
    return batch;
}

BOOL EndDeferWindowPos(HDWP batch) {
    auto* positions = reinterpret_cast<DeferredPositions*>(batch);
    if (positions == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    BOOL result = TRUE;
    for (const WINDOWPOS& move : positions->moves)
        if (!SetWindowPos(move.hwnd, move.hwndInsertAfter, move.x, move.y, move.cx, move.cy, move.flags))
            result = FALSE;
    delete positions;
    return result;
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL ShowWindow(HWND hwnd, int command) {
    DWORD style;
    bool parentVisible;
    RECT normal;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window || IsDesktop(window))
            return FALSE;
        style = window->style;
        parentVisible = IsReallyVisible(window->parent);
        normal = window->normalRect;
    }
    bool wasVisible = (style & WS_VISIBLE) != 0;
    bool child = (style & WS_CHILD) != 0;
    UINT flags = 0;
    bool show = command != SW_HIDE;
    DWORD setStyle = 0;
    DWORD clearStyle = 0;
    RECT target = normal;
    bool changeSize = false;
    switch (command) {
    case SW_HIDE:
        if (!wasVisible)
            return FALSE;
        flags = SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (hwnd != GetActiveWindow())
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        setStyle = WS_MINIMIZE;
        clearStyle = WS_MAXIMIZE;
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED;
        if (command != SW_SHOWMINIMIZED)
            flags |= SWP_NOACTIVATE;
        break;
    case SW_SHOWMAXIMIZED:
        setStyle = WS_MAXIMIZE;
        clearStyle = WS_MINIMIZE;
        flags = SWP_SHOWWINDOW | SWP_FRAMECHANGED;
        if (!child) {
            target = WorkArea();
            changeSize = true;
        }
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        flags = SWP_SHOWWINDOW;
        if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            clearStyle = WS_MINIMIZE | WS_MAXIMIZE;
            flags |= SWP_FRAMECHANGED;
            changeSize = true;
        } else {
            flags |= SWP_NOSIZE | SWP_NOMOVE;
        }
        if (child)
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWNOACTIVATE:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
        if (child)
            flags |= SWP_NOZORDER;
        break;
    case SW_SHOWNA:
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOW:
    default:
        if (wasVisible)
            return TRUE;
        flags = SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE;
        if (child)
            flags |= SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    }
    if ((show != wasVisible || command == SW_SHOWNA) && command != SW_SHOWMAXIMIZED &&
        !(setStyle & WS_MINIMIZE)) {
        SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!IsWindow(hwnd))
            return wasVisible;
    }
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return wasVisible;
        if (setStyle & (WS_MINIMIZE | WS_MAXIMIZE) && !(window->style & (WS_MINIMIZE | WS_MAXIMIZE)))
            window->normalRect = window->rect;
        window->style = (window->style & ~clearStyle) | setStyle;
    }
    if (child && !parentVisible) {
        // Under a hidden parent only the style changes; showing the parent draws everything.
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (window) {
            if (show)
                window->style |= WS_VISIBLE;
            else
                window->style &= ~WS_VISIBLE;
        }
    } else {
        SetWindowPos(hwnd, HWND_TOP, target.left, target.top, Width(target), Height(target),
                     flags | (changeSize ? 0 : SWP_NOSIZE | SWP_NOMOVE));
    }
    if (!show)
        WindowHiddenOrDisabled(hwnd);
    if (setStyle & WS_MINIMIZE)
        SendMessageW(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    return wasVisible;
}
