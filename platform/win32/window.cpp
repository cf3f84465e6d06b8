// The window tree: creating and destroying windows, parents, owners and z-order, coordinates, window longs,
// texts, properties, window regions and layered windows.
//
// Contents: the handle table - tree helpers - hit testing - CreateWindowEx and DestroyWindow - tree
// queries - coordinates - window longs and texts - window regions and layered windows - properties.
// Moving, sizing and showing are in winpos.cpp.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/backend/windowing.h"
#include "platform/rtl/UString.h"
#include "platform/win32/gdi_private.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/winerror.h"

namespace win32 {

const Trace::Channel TraceWindow("win");

namespace {

struct WindowTable {
    std::unordered_map<HWND, std::shared_ptr<Window>> windows;
    std::uintptr_t nextHandle = 0x10020;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

HWND NewHandle() {
    HWND handle = reinterpret_cast<HWND>(Table().nextHandle);
    Table().nextHandle += 4;
    return handle;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Where the next window with CW_USEDEFAULT goes: cascading from the work area's corner.
POINT NextDefaultPosition() {
    static int step = 0;
    RECT work = WorkArea();
    int offset = 26 * (step++ % 8);
    return POINT{work.left + 26 + offset, work.top + 26 + offset};
}

} // namespace

// Inserts window among its siblings: after another sibling, at the top or the bottom. Top-level windows
// keep the topmost ones above the rest.
void LinkWindow(Window* window, HWND insertAfter) {
    std::vector<Window*>& siblings = Siblings(window);
    std::erase(siblings, window);
    auto topmost = [](const Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; };
    bool topLevel = IsTopLevel(window);
    if (insertAfter == HWND_BOTTOM) {
        auto it = siblings.end();
        if (topLevel && !topmost(window))
            it = siblings.end();
        else if (topLevel)
            it = std::find_if(siblings.begin(), siblings.end(), [&](Window* w) { return !topmost(w); });
        siblings.insert(it, window);
        return;
    }
    if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        auto it = siblings.begin();
        if (topLevel && !topmost(window))
            it = std::find_if(siblings.begin(), siblings.end(), [&](Window* w) { return !topmost(w); });
        siblings.insert(it, window);
        return;
    }
    Window* after = Lookup(insertAfter);
    auto it = std::find(siblings.begin(), siblings.end(), after);
    if (it == siblings.end())
        siblings.insert(siblings.begin(), window);
    else
        siblings.insert(it + 1, window);
}

// Keeps the windows that window owns (and theirs) above it, in their order, when it has come up past
// them; a window that is not top-most stays under the top-most ones.
void RaiseOwnedAbove(Window* window) {
    if (!IsTopLevel(window))
        return;
    std::vector<Window*>& siblings = Siblings(window);
    auto ownedBy = [window](const Window* w) {
        for (const Window* o = w->owner; o; o = o->owner)
            if (o == window)
                return true;
        return false;
    };
    auto topmost = [](const Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; };
    auto self = std::find(siblings.begin(), siblings.end(), window);
    std::vector<Window*> below;
    for (auto it = self + 1; it != siblings.end(); ++it)
        if (ownedBy(*it) && topmost(*it) == topmost(window))
            below.push_back(*it);
    if (below.empty())
        return;
    std::erase_if(siblings,
                  [&](Window* w) { return std::find(below.begin(), below.end(), w) != below.end(); });
    self = std::find(siblings.begin(), siblings.end(), window);
    siblings.insert(self, below.begin(), below.end());
}

namespace {

void SendParentNotify(HWND hwnd, UINT event) {
    HWND current = hwnd;
    for (;;) {
        HWND parent;
        WPARAM wParam;
        {
            TreeGuard guard(TreeLock());
            Window* window = Lookup(current);
            if (!window || !(window->style & WS_CHILD) || (window->exStyle & WS_EX_NOPARENTNOTIFY) ||
                !window->parent || IsDesktop(window->parent))
                return;
            Window* child = Lookup(hwnd);
            wParam = MAKEWPARAM(static_cast<WORD>(event), child ? static_cast<WORD>(child->id) : 0);
            parent = window->parent->handle;
        }
        SendMessageW(parent, WM_PARENTNOTIFY, wParam, reinterpret_cast<LPARAM>(hwnd));
        current = parent;
    }
}

// The handles of a window's children (deep: all its descendants), so that they can be walked without
// the tree lock.
std::vector<HWND> ChildHandles(Window* parent, bool deep) {
    std::vector<HWND> handles;
    std::vector<Window*> windows;
    if (deep)
        Descendants(parent, windows);
    else
        windows = parent->children;
    for (Window* window : windows)
        handles.push_back(window->handle);
    return handles;
}

// The same for a window given by handle, taking the tree lock; false when the window is gone.
bool ChildHandlesOf(HWND hwnd, std::vector<HWND>& children) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return false;
    children = ChildHandles(window, false);
    return true;
}

void SendDestroyMessages(HWND hwnd) {
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    if (!ChildHandlesOf(hwnd, children))
        return;
    for (HWND child : children)
        SendDestroyMessages(child);
}

// Unlinks and frees a window and its children, children first; notify sends WM_NCDESTROY to each.
void FreeWindow(HWND hwnd, bool notify = true) {
    std::vector<HWND> children;
    if (!ChildHandlesOf(hwnd, children))
        return;
    for (HWND child : children)
        FreeWindow(child, notify);
    if (notify)
        SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    ForgetWindow(hwnd);
    RevokeDragDropOf(hwnd);
    KillWindowTimers(hwnd);
    std::shared_ptr<Window> keep;
    {
        TreeGuard guard(TreeLock());
        auto it = Table().windows.find(hwnd);
        if (it == Table().windows.end())
            return;
        keep = it->second;
        Window* window = keep.get();
        ReleaseSurface(window);
        std::erase(Siblings(window), window);
        // Owned windows of other threads lose their owner rather than point at a freed window.
        for (auto& entry : Table().windows)
            if (entry.second->owner == window)
                entry.second->owner = nullptr;
        if (window->cls)
            --window->cls->windowCount;
        Table().windows.erase(it);
    }
    ZTRACE(TraceWindow, "%p freed", static_cast<void*>(hwnd));
}

MINMAXINFO DefaultMinMaxInfo(const Window* window) {
    MINMAXINFO info{};
    SIZE screen = ScreenSize();
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, window->style, FALSE, window->exStyle);
    info.ptMaxSize = POINT{screen.cx + Width(frame), screen.cy + Height(frame)};
    info.ptMaxPosition = POINT{frame.left, frame.top};
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize =
        POINT{GetSystemMetrics(SM_CXVIRTUALSCREEN) + 12, GetSystemMetrics(SM_CYVIRTUALSCREEN) + 12};
    return info;
}

bool WantsMinMaxInfo(DWORD style) {
    return (style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD));
}

} // namespace

std::recursive_mutex& TreeLock() {
    static std::recursive_mutex lock;
    return lock;
}

Window* Desktop() {
    static Window* desktop = [] {
        auto window = std::make_shared<Window>();
        window->handle = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010));
        window->style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_POPUP;
        window->wndProc = DefWindowProcW;
        SIZE screen = ScreenSize();
        window->rect = RECT{0, 0, screen.cx, screen.cy};
        window->client = window->rect;
        Table().windows[window->handle] = window;
        return window.get();
    }();
    return desktop;
}

bool IsDesktop(const Window* window) {
    return window == Desktop();
}

bool IsTopLevel(const Window* window) {
    return window->parent == Desktop();
}

Window* Lookup(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    TreeGuard guard(TreeLock());
    Desktop();
    auto it = Table().windows.find(hwnd);
    return it == Table().windows.end() ? nullptr : it->second.get();
}

Window* Check(HWND hwnd) {
    Window* window = Lookup(hwnd);
    if (!window)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

std::vector<Window*>& Siblings(Window* window) {
    return (window->parent ? window->parent : Desktop())->children;
}

Window* TopLevelOf(Window* window) {
    while (window && window->parent && !IsDesktop(window->parent))
        window = window->parent;
    return window;
}

void Descendants(Window* root, std::vector<Window*>& out) {
    for (Window* child : root->children) {
        out.push_back(child);
        Descendants(child, out);
    }
}

namespace {

// A point in window's parent's client coordinates, in screen coordinates: each ancestor's client area
// is placed in its own parent's.
POINT ParentToScreen(const Window* window, POINT p) {
    for (const Window* parent = window->parent; parent; parent = parent->parent) {
        p.x += parent->client.left;
        p.y += parent->client.top;
    }
    return p;
}

} // namespace

POINT ClientOrigin(const Window* window) {
    return ParentToScreen(window, POINT{window->client.left, window->client.top});
}

POINT WindowOrigin(const Window* window) {
    return ParentToScreen(window, POINT{window->rect.left, window->rect.top});
}

RECT ScreenRect(const Window* window) {
    POINT origin = WindowOrigin(window);
    return RECT{origin.x, origin.y, origin.x + Width(window->rect), origin.y + Height(window->rect)};
}

RECT ScreenClientRect(const Window* window) {
    POINT origin = ClientOrigin(window);
    return RECT{origin.x, origin.y, origin.x + Width(window->client), origin.y + Height(window->client)};
}

bool IsReallyVisible(const Window* window) {
    for (; window && !IsDesktop(window); window = window->parent)
        if (!(window->style & WS_VISIBLE))
            return false;
    return window != nullptr;
}

bool IsReallyEnabled(const Window* window) {
    for (; window && !IsDesktop(window); window = window->parent) {
        if (window->style & WS_DISABLED)
            return false;
        if (!(window->style & WS_CHILD))
            break;
    }
    return window != nullptr;
}

namespace {

bool ContainsScreenPoint(const Window* window, POINT screen) {
    RECT r = ScreenRect(window);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom)
        return false;
    if (window->shape && !window->shape->Contains(screen.x - r.left, screen.y - r.top))
        return false;
    return true;
}

Window* HitChild(Window* parent, POINT screen, bool skipDisabled) {
    for (Window* child : parent->children) {
        if (!(child->style & WS_VISIBLE) || !ContainsScreenPoint(child, screen))
            continue;
        if (skipDisabled && (child->style & WS_DISABLED))
            return parent;
        RECT client = ScreenClientRect(child);
        if (screen.x >= client.left && screen.x < client.right && screen.y >= client.top &&
            screen.y < client.bottom)
            return HitChild(child, screen, skipDisabled);
        return child;
    }
    return parent;
}

} // namespace

Window* HitWindow(POINT screen, bool skipDisabled) {
    TreeGuard guard(TreeLock());
    for (Window* top : Desktop()->children) {
        if (!(top->style & WS_VISIBLE) || !ContainsScreenPoint(top, screen))
            continue;
        RECT client = ScreenClientRect(top);
        if (screen.x >= client.left && screen.x < client.right && screen.y >= client.top &&
            screen.y < client.bottom)
            return HitChild(top, screen, skipDisabled);
        return top;
    }
    return nullptr;
}

bool OnOwnThread(const Window* window) {
    return window->threadId == CurrentThreadId();
}

void FreeThreadWindows(DWORD threadId) {
    std::vector<HWND> roots;
    {
        TreeGuard guard(TreeLock());
        for (auto& entry : Table().windows) {
            Window* window = entry.second.get();
            if (window->threadId == threadId && !IsDesktop(window) &&
                (!window->parent || window->parent->threadId != threadId))
                roots.push_back(window->handle);
        }
    }
    for (HWND hwnd : roots)
        FreeWindow(hwnd, false);
}

} // namespace win32

using namespace win32;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    // The system's control classes exist before any window, as they do on Windows.
    RegisterSystemControls();
    std::shared_ptr<WindowClass> cls = FindClass(className);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    auto window = std::make_shared<Window>();
    HWND hwnd;
    {
        TreeGuard guard(TreeLock());
        Window* parentWindow = Desktop();
        Window* ownerWindow = nullptr;
        if (style & WS_CHILD) {
            if (!parent || parent == HWND_MESSAGE) {
                SetLastError(ERROR_TLW_WITH_WSCHILD);
                return nullptr;
            }
            parentWindow = Check(parent);
            if (!parentWindow)
                return nullptr;
        } else if (parent && parent != HWND_MESSAGE) {
            ownerWindow = Check(parent);
            if (!ownerWindow)
                return nullptr;
            ownerWindow = TopLevelOf(ownerWindow);
        }
        if (!(style & WS_CHILD)) {
            // Top-level windows always clip their siblings; overlapped ones always have a caption.
            style |= WS_CLIPSIBLINGS;
            if (!(style & WS_POPUP))
                style |= WS_CAPTION;
            if (x == CW_USEDEFAULT) {
                POINT p = NextDefaultPosition();
                x = p.x;
                y = p.y;
            }
            if (width == CW_USEDEFAULT) {
                RECT work = WorkArea();
                width = Width(work) * 3 / 4;
                height = Height(work) * 3 / 4;
            }
        } else {
            if (x == CW_USEDEFAULT)
                x = y = 0;
            if (width == CW_USEDEFAULT)
                width = height = 0;
        }
        if ((style & (WS_DLGFRAME | WS_THICKFRAME)) || (exStyle & WS_EX_DLGMODALFRAME))
            exStyle |= WS_EX_WINDOWEDGE;
        hwnd = NewHandle();
        window->handle = hwnd;
        window->cls = cls;
        window->queue = CurrentQueueRef();
        window->threadId = CurrentThreadId();
        window->style = style & ~WS_VISIBLE;
        window->exStyle = exStyle;
        window->text = windowName && !IS_INTRESOURCE(windowName) ? String(windowName) : String();
        window->wndProc = cls->wndProc;
        window->instance = instance;
        window->id = reinterpret_cast<LONG_PTR>(menu);
        window->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
        window->parent = parentWindow;
        window->owner = ownerWindow;
        window->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
        window->client = window->rect;
        window->normalRect = window->rect;
        Table().windows[hwnd] = window;
        ++cls->windowCount;
        LinkWindow(window.get(), (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);
    }
    ZTRACE(TraceWindow, "%p created, class %s", static_cast<void*>(hwnd), StringToUtf8(cls->name).c_str());

    if (WantsMinMaxInfo(style)) {
        MINMAXINFO info;
        {
            TreeGuard guard(TreeLock());
            info = DefaultMinMaxInfo(window.get());
        }
        SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        TreeGuard guard(TreeLock());
        if (Lookup(hwnd)) {
            RECT& r = window->rect;
            int cx = std::clamp<int>(Width(r), info.ptMinTrackSize.x,
                                     std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
            int cy = std::clamp<int>(Height(r), info.ptMinTrackSize.y,
                                     std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
            if (!(style & WS_CHILD) && (style & WS_POPUP) && !(style & WS_THICKFRAME)) {
                cx = Width(r);
                cy = Height(r);
            }
            r.right = r.left + cx;
            r.bottom = r.top + cy;
            window->client = r;
            window->normalRect = r;
        }
    }

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent == HWND_MESSAGE ? nullptr : parent;
    cs.x = window->rect.left;
    cs.y = window->rect.top;
    cs.cx = Width(window->rect);
    cs.cy = Height(window->rect);
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        ZWARN(TraceWindow, "%p: WM_NCCREATE refused the window", static_cast<void*>(hwnd));
        FreeWindow(hwnd);
        return nullptr;
    }
    {
        TreeGuard guard(TreeLock());
        if (!Lookup(hwnd))
            return nullptr;
        window->created = true;
    }
    RECT rect = window->rect;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    {
        TreeGuard guard(TreeLock());
        if (!Lookup(hwnd))
            return nullptr;
        RECT& r = window->rect;
        rect.left = std::clamp(rect.left, r.left, r.right);
        rect.right = std::clamp(rect.right, rect.left, r.right);
        rect.top = std::clamp(rect.top, r.top, r.bottom);
        rect.bottom = std::clamp(rect.bottom, rect.top, r.bottom);
        window->client = rect;
    }
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        ZWARN(TraceWindow, "%p: WM_CREATE refused the window", static_cast<void*>(hwnd));
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd))
        return nullptr;
    RECT client;
    {
        TreeGuard guard(TreeLock());
        client = window->client;
    }
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(Width(client)), static_cast<WORD>(Height(client))));
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top)));
    if (style & WS_CHILD)
        SendParentNotify(hwnd, WM_CREATE);
    if (!IsWindow(hwnd))
        return nullptr;
    if (style & WS_VISIBLE) {
        int show = (style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                   : (style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                           : SW_SHOW;
        ShowWindow(hwnd, show);
    }
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    bool child;
    bool visible;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        if (IsDesktop(window) || !OnOwnThread(window)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (window->destroying)
            return TRUE;
        window->destroying = true;
        child = (window->style & WS_CHILD) != 0;
        visible = (window->style & WS_VISIBLE) != 0;
    }
    ZTRACE(TraceWindow, "%p destroying", static_cast<void*>(hwnd));
    if (child)
        SendParentNotify(hwnd, WM_DESTROY);
    if (visible) {
        if (child)
            ShowWindow(hwnd, SW_HIDE);
        else {
            bool active = GetActiveWindow() == hwnd;
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (active)
                WindowHiddenOrDisabled(hwnd);
        }
    }
    if (!IsWindow(hwnd))
        return TRUE;
    // Windows this one owns go first.
    std::vector<HWND> owned;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        for (Window* top : Desktop()->children)
            if (top->owner == window && OnOwnThread(top))
                owned.push_back(top->handle);
    }
    for (HWND other : owned)
        DestroyWindow(other);
    WindowHiddenOrDisabled(hwnd);
    SendDestroyMessages(hwnd);
    FreeWindow(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    TreeGuard guard(TreeLock());
    return Lookup(hwnd) != nullptr;
}

BOOL IsWindowVisible(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    return window && IsReallyVisible(window);
}

BOOL IsWindowEnabled(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    return window && !(window->style & WS_DISABLED);
}

BOOL IsChild(HWND parent, HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    Window* ancestor = Lookup(parent);
    if (!window || !ancestor)
        return FALSE;
    for (Window* w = window; w && (w->style & WS_CHILD); w = w->parent)
        if (w->parent == ancestor)
            return TRUE;
    return FALSE;
}

BOOL IsIconic(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    return window && (window->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    return window && (window->style & WS_MAXIMIZE);
}

BOOL IsWindowUnicode(HWND hwnd) {
    return IsWindow(hwnd);
}

HWND GetParent(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || IsDesktop(window))
        return nullptr;
    if (window->style & WS_CHILD)
        return window->parent && !IsDesktop(window->parent) ? window->parent->handle : nullptr;
    if (window->style & WS_POPUP)
        return window->owner ? window->owner->handle : nullptr;
    return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || IsDesktop(window))
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return window->parent ? window->parent->handle : nullptr;
    case GA_ROOT:
        return TopLevelOf(window)->handle;
    case GA_ROOTOWNER: {
        Window* root = TopLevelOf(window);
        while (root->owner)
            root = root->owner;
        return root->handle;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND SetParent(HWND hwnd, HWND newParent) {
    HWND oldParent;
    bool visible;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window || IsDesktop(window))
            return nullptr;
        Window* parent = newParent ? Check(newParent) : Desktop();
        if (!parent)
            return nullptr;
        for (Window* p = parent; p; p = p->parent)
            if (p == window) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
        oldParent = window->parent->handle;
        visible = (window->style & WS_VISIBLE) != 0;
    }
    if (visible)
        ShowWindow(hwnd, SW_HIDE);
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        Window* parent = newParent ? Lookup(newParent) : Desktop();
        if (!window || !parent)
            return nullptr;
        Window* oldTop = TopLevelOf(window);
        std::erase(Siblings(window), window);
        window->parent = parent;
        LinkWindow(window, HWND_TOP);
        if (IsTopLevel(window) && oldTop != window)
            window->surface.reset();
    }
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | (visible ? SWP_SHOWWINDOW : 0) | SWP_FRAMECHANGED);
    return oldParent;
}

HWND GetWindow(HWND hwnd, UINT command) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return nullptr;
    if (command == GW_CHILD)
        return window->children.empty() ? nullptr : window->children.front()->handle;
    if (command == GW_OWNER)
        return window->owner ? window->owner->handle : nullptr;
    if (command == GW_ENABLEDPOPUP) {
        for (Window* top : Desktop()->children)
            if (top->owner == window && (top->style & WS_VISIBLE) && !(top->style & WS_DISABLED) &&
                (top->style & WS_POPUP))
                return top->handle;
        return nullptr;
    }
    if (IsDesktop(window))
        return nullptr;
    std::vector<Window*>& siblings = Siblings(window);
    auto it = std::find(siblings.begin(), siblings.end(), window);
    switch (command) {
    case GW_HWNDFIRST:
        return siblings.front()->handle;
    case GW_HWNDLAST:
        return siblings.back()->handle;
    case GW_HWNDNEXT:
        return it + 1 == siblings.end() ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV:
        return it == siblings.begin() ? nullptr : (*(it - 1))->handle;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    return GetWindow(hwnd ? hwnd : Desktop()->handle, GW_CHILD);
}

HWND GetDesktopWindow() {
    return Desktop()->handle;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
    std::vector<HWND> handles;
    {
        TreeGuard guard(TreeLock());
        Window* window = parent ? Check(parent) : Desktop();
        if (!window || !callback)
            return FALSE;
        handles = ChildHandles(window, true);
    }
    for (HWND child : handles)
        if (IsWindow(child) && !callback(child, lParam))
            return FALSE;
    return TRUE;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    std::vector<HWND> handles;
    {
        TreeGuard guard(TreeLock());
        handles = ChildHandles(Desktop(), false);
    }
    for (HWND top : handles)
        if (IsWindow(top) && !callback(top, lParam))
            return FALSE;
    return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM lParam) {
    std::vector<HWND> handles;
    {
        TreeGuard guard(TreeLock());
        for (Window* top : Desktop()->children)
            if (top->threadId == threadId)
                handles.push_back(top->handle);
    }
    for (HWND top : handles)
        if (IsWindow(top) && !callback(top, lParam))
            return FALSE;
    return TRUE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    TreeGuard guard(TreeLock());
    std::shared_ptr<WindowClass> cls = className ? FindClass(className) : nullptr;
    if (className && !cls)
        return nullptr;
    for (Window* top : Desktop()->children) {
        if (cls && top->cls != cls)
            continue;
        if (windowName && top->text != windowName)
            continue;
        return top->handle;
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return 0;
    if (processId)
        *processId = 1;
    return window->threadId;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !rect)
        return FALSE;
    *rect = ScreenRect(window);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !rect)
        return FALSE;
    *rect = RECT{0, 0, Width(window->client), Height(window->client)};
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    TreeGuard guard(TreeLock());
    POINT a{0, 0};
    POINT b{0, 0};
    if (from) {
        Window* window = Check(from);
        if (!window)
            return 0;
        a = ClientOrigin(window);
    }
    if (to) {
        Window* window = Check(to);
        if (!window)
            return 0;
        b = ClientOrigin(window);
    }
    int dx = a.x - b.x;
    int dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOrigin(window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

HWND WindowFromPoint(POINT point) {
    TreeGuard guard(TreeLock());
    Window* window = HitWindow(point, true);
    return window ? window->handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
    TreeGuard guard(TreeLock());
    Window* window = Check(parent);
    if (!window)
        return nullptr;
    if (point.x < 0 || point.y < 0 || point.x >= Width(window->client) || point.y >= Height(window->client))
        return nullptr;
    POINT origin = ClientOrigin(window);
    POINT screen{point.x + origin.x, point.y + origin.y};
    for (Window* child : window->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(child->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (child->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (child->exStyle & WS_EX_TRANSPARENT))
            continue;
        RECT r = ScreenRect(child);
        if (screen.x >= r.left && screen.x < r.right && screen.y >= r.top && screen.y < r.bottom)
            return child->handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

namespace {

// How many of the window's extra bytes a value at index covers: a whole LONG_PTR, or what is left
// past a LONG at the end. 0, with the last error set, when not even a LONG fits there.
size_t ExtraSize(const Window* window, int index) {
    if (static_cast<size_t>(index) + sizeof(LONG) > window->extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return std::min(sizeof(LONG_PTR), window->extra.size() - static_cast<size_t>(index));
}

} // namespace

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return 0;
    if (index >= 0) {
        const size_t size = ExtraSize(window, index);
        if (size == 0)
            return 0;
        LONG_PTR value = 0;
        std::memcpy(&value, window->extra.data() + index, size);
        return value;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->wndProc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return window->owner ? reinterpret_cast<LONG_PTR>(window->owner->handle) : 0;
    case GWL_STYLE:
        return static_cast<LONG>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG>(window->exStyle);
    case GWLP_USERDATA:
        return window->userData;
    case GWLP_ID:
        return window->id;
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        STYLESTRUCT styles{};
        {
            TreeGuard guard(TreeLock());
            Window* window = Check(hwnd);
            if (!window)
                return 0;
            styles.styleOld = index == GWL_STYLE ? window->style : window->exStyle;
        }
        styles.styleNew = static_cast<DWORD>(value);
        SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&styles));
        {
            TreeGuard guard(TreeLock());
            Window* window = Check(hwnd);
            if (!window)
                return 0;
            // The new bits take effect silently: a changed WS_VISIBLE shows or hides nothing, and a changed
            // frame waits for SetWindowPos with SWP_FRAMECHANGED, as in Win32.
            if (index == GWL_STYLE) {
                window->style = styles.styleNew;
            } else {
                window->exStyle = styles.styleNew;
                if (!(window->exStyle & WS_EX_LAYERED))
                    window->layeredByAttributes = false;
            }
        }
        SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&styles));
        return static_cast<LONG>(styles.styleOld);
    }
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return 0;
    LONG_PTR old = GetWindowLongPtrW(hwnd, index);
    if (index >= 0) {
        const size_t size = ExtraSize(window, index);
        if (size == 0)
            return 0;
        std::memcpy(window->extra.data() + index, &value, size);
        return old;
    }
    switch (index) {
    case GWLP_WNDPROC:
        if (!value) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        window->wndProc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_HINSTANCE:
        window->instance = reinterpret_cast<HINSTANCE>(value);
        break;
    case GWLP_HWNDPARENT: {
        Window* owner = value ? Lookup(reinterpret_cast<HWND>(value)) : nullptr;
        if (IsTopLevel(window))
            window->owner = owner ? TopLevelOf(owner) : nullptr;
        break;
    }
    case GWLP_USERDATA:
        window->userData = value;
        break;
    case GWLP_ID:
        window->id = value;
        break;
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return old;
}

LONG GetWindowLongW(HWND hwnd, int index) {
    return static_cast<LONG>(GetWindowLongPtrW(hwnd, index));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrW(hwnd, index,
                                               index == GWL_STYLE || index == GWL_EXSTYLE
                                                   ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                   : value));
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return 0;
    return proc(hwnd, message, wParam, lParam);
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) != 0;
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
    if (!text || maxCount <= 0)
        return 0;
    text[0] = 0;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return 0;
        // Another thread's window answers from its stored text, without a message.
        if (!OnOwnThread(window)) {
            int count = std::min<int>(static_cast<int>(window->text.size()), maxCount - 1);
            std::memcpy(text, window->text.data(), static_cast<size_t>(count) * sizeof(WCHAR));
            text[count] = 0;
            return count;
        }
    }
    return static_cast<int>(
        SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND hwnd) {
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return 0;
        if (!OnOwnThread(window))
            return static_cast<int>(window->text.size());
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
    std::optional<Region> shape;
    if (region) {
        auto object = gdi::Find<gdi::Region>(region, OBJ_REGION);
        if (!object)
            return 0;
        shape = object->region;
    }
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return 0;
        window->shape = shape;
        if (IsTopLevel(window))
            UpdateSurface(window);
    }
    // The window owns the region from now on; we keep a copy and free the caller's object.
    if (region)
        DeleteObject(region);
    if (redraw)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !window->shape)
        return ERROR;
    auto object = gdi::Find<gdi::Region>(region, OBJ_REGION);
    if (!object)
        return ERROR;
    object->region = *window->shape;
    if (window->shape->Empty())
        return NULLREGION;
    return window->shape->Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return FALSE;
    if (!(window->exStyle & WS_EX_LAYERED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    window->layeredKey = key;
    window->layeredAlpha = alpha;
    window->layeredFlags = flags;
    window->layeredByAttributes = true;
    if (IsTopLevel(window))
        UpdateSurface(window);
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return FALSE;
    if (!(window->exStyle & WS_EX_LAYERED)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (key)
        *key = window->layeredKey;
    if (alpha)
        *alpha = window->layeredAlpha;
    if (flags)
        *flags = window->layeredFlags;
    return TRUE;
}

BOOL UpdateLayeredWindow(HWND hwnd, HDC, POINT* position, SIZE* size, HDC sourceDC, POINT* sourcePoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        // A window whose look SetLayeredWindowAttributes set refuses pictures until its layered bit is
        // taken off and put back: it neither moves nor sizes nor loses its attributes.
        if (!(window->exStyle & WS_EX_LAYERED) || !IsTopLevel(window) || window->layeredByAttributes) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    if (position || size) {
        RECT r;
        GetWindowRect(hwnd, &r);
        int x = position ? position->x : r.left;
        int y = position ? position->y : r.top;
        int cx = size ? size->cx : r.right - r.left;
        int cy = size ? size->cy : r.bottom - r.top;
        SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return FALSE;
    window->layeredKey = key;
    window->layeredAlpha = blend ? blend->SourceConstantAlpha : 255;
    window->layeredFlags = (flags & ULW_COLORKEY ? LWA_COLORKEY : 0) | (flags & ULW_ALPHA ? LWA_ALPHA : 0);
    UpdateSurface(window);
    // The picture comes from the source DC as it is: copy it onto the window's surface.
    if (sourceDC && window->surface) {
        std::shared_ptr<gdi::DC> dc = gdi::FindDC(sourceDC);
        if (!dc || !dc->Device() || !dc->Device()->Pixels()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        const backend::PixelBuffer& source = *dc->Device()->Pixels();
        backend::PixelBuffer& target = window->surface->pixels;
        int sx = (sourcePoint ? sourcePoint->x : 0) + dc->origin.x;
        int sy = (sourcePoint ? sourcePoint->y : 0) + dc->origin.y;
        for (int y = 0; y < target.height; ++y) {
            if (sy + y < 0 || sy + y >= source.height)
                continue;
            for (int x = 0; x < target.width; ++x)
                if (sx + x >= 0 && sx + x < source.width)
                    target.Row(y)[x] = source.Row(sy + y)[sx + x];
        }
        window->surface->dirty = Region(backend::Rect{0, 0, target.width, target.height});
        UpdateSurface(window);
    }
    return TRUE;
}

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window || !name)
        return FALSE;
    String key = IS_INTRESOURCE(name)
                     ? u"#" + ToString(std::to_string(reinterpret_cast<std::uintptr_t>(name)).c_str())
                     : String(name);
    window->props[key] = data;
    return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window || !name)
        return nullptr;
    String key = IS_INTRESOURCE(name)
                     ? u"#" + ToString(std::to_string(reinterpret_cast<std::uintptr_t>(name)).c_str())
                     : String(name);
    auto it = window->props.find(key);
    return it == window->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window || !name)
        return nullptr;
    String key = IS_INTRESOURCE(name)
                     ? u"#" + ToString(std::to_string(reinterpret_cast<std::uintptr_t>(name)).c_str())
                     : String(name);
    auto it = window->props.find(key);
    if (it == window->props.end())
        return nullptr;
    HANDLE data = it->second;
    window->props.erase(it);
    return data;
}
