// Painting: update regions and WM_PAINT, visible regions with WS_CLIPCHILDREN and WS_CLIPSIBLINGS,
// BeginPaint/EndPaint, GetDC and friends on the top-level window's surface, RedrawWindow, ScrollWindowEx,
// and handing the surface to the desktop window that shows it.
//
// Contents: regions - surfaces - visible regions - update regions - window DCs - painting calls -
// scrolling.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/backend/windowing.h"
#include "platform/win32/gdi_private.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

const Trace::Channel TracePaint("paint");

namespace {

backend::Rect ToRect(const RECT& r) {
    return backend::Rect{r.left, r.top, r.right, r.bottom};
}
RECT FromRect(const backend::Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Where a window's corners are on its top-level window's surface.
POINT SurfaceWindowOrigin(const Window* window) {
    Window* top = TopLevelOf(const_cast<Window*>(window));
    POINT a = WindowOrigin(window);
    POINT b = WindowOrigin(top);
    return POINT{a.x - b.x, a.y - b.y};
}

POINT SurfaceClientOrigin(const Window* window) {
    Window* top = TopLevelOf(const_cast<Window*>(window));
    POINT a = ClientOrigin(window);
    POINT b = WindowOrigin(top);
    return POINT{a.x - b.x, a.y - b.y};
}

Region WindowArea(const Window* window) {
    POINT origin = SurfaceWindowOrigin(window);
    Region area(
        backend::Rect{origin.x, origin.y, origin.x + Width(window->rect), origin.y + Height(window->rect)});
    if (window->shape) {
        Region shape = *window->shape;
        shape.Offset(origin.x, origin.y);
        area = area.Intersected(shape);
    }
    return area;
}

Region ClientArea(const Window* window) {
    POINT origin = SurfaceClientOrigin(window);
    return Region(backend::Rect{origin.x, origin.y, origin.x + Width(window->client),
                                origin.y + Height(window->client)});
}

// Visible siblings above window (earlier in the z-order) are cut out of region.
void ClipSiblingsAbove(const Window* window, Region& region) {
    for (Window* sibling : window->parent->children) {
        if (sibling == window)
            break;
        if (sibling->style & WS_VISIBLE)
            region = region.Subtracted(WindowArea(sibling));
    }
}

struct WindowDC {
    HWND hwnd = nullptr;
    bool paintDC = false; // from BeginPaint
    Region visible;       // surface pixels the DC may draw on
    std::shared_ptr<Surface> surface;
};

std::unordered_map<HDC, WindowDC>& WindowDCs() {
    static std::unordered_map<HDC, WindowDC> dcs;
    return dcs;
}

// The screen DC (GetDC(NULL)) draws on a surface of its own that nobody shows.
std::shared_ptr<Surface>& ScreenSurface() {
    static std::shared_ptr<Surface> surface;
    return surface;
}

std::shared_ptr<Surface> NewSurface(int width, int height) {
    auto surface = std::make_shared<Surface>();
    width = std::max(width, 1);
    height = std::max(height, 1);
    surface->storage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFF);
    surface->pixels.top = reinterpret_cast<std::uint8_t*>(surface->storage.data());
    surface->pixels.stride = static_cast<std::ptrdiff_t>(width) * 4;
    surface->pixels.width = width;
    surface->pixels.height = height;
    surface->device = backend::CreateSurface(surface->pixels, false);
    return surface;
}

bool NeedsPaint(const Window* window) {
    return !window->update.Empty() || window->internalPaint || window->frameDirty;
}

bool FindPaint(Window* window, HWND filter, HWND& found) {
    if (!(window->style & WS_VISIBLE))
        return false;
    if (NeedsPaint(window) && (!filter || window->handle == filter || IsChild(filter, window->handle))) {
        found = window->handle;
        return true;
    }
    for (Window* child : window->children)
        if (FindPaint(child, filter, found))
            return true;
    return false;
}

HDC MakeWindowDC(Window* window, bool wholeWindow, bool clipChildren, bool clipSiblings, const Region* extra,
                 bool intersectExtra, bool paintDC) {
    Window* top = TopLevelOf(window);
    if (!top->surface) {
        UpdateSurface(top);
        if (!top->surface)
            top->surface = NewSurface(Width(top->rect), Height(top->rect));
    }
    Region visible = VisibleRegion(window, wholeWindow, clipChildren, clipSiblings);
    if (extra)
        visible = intersectExtra ? visible.Intersected(*extra) : visible.Subtracted(*extra);
    POINT origin = wholeWindow ? SurfaceWindowOrigin(window) : SurfaceClientOrigin(window);
    HDC dc = CreateDeviceDC(top->surface->device, origin, &visible);
    if (!dc)
        return nullptr;
    WindowDCs()[dc] = WindowDC{window->handle, paintDC, visible, top->surface};
    return dc;
}

} // namespace

HRGN MakeRegionHandle(const Region& region) {
    HRGN handle = CreateRectRgn(0, 0, 0, 0);
    if (auto object = gdi::Find<gdi::Region>(handle, OBJ_REGION))
        object->region = region;
    return handle;
}

const Region* RegionOf(HRGN handle) {
    auto object = gdi::Find<gdi::Region>(handle, OBJ_REGION);
    return object ? &object->region : nullptr;
}

// ---- Surfaces ----

bool DesktopFramed(const Window* top) {
    return (top->style & WS_CAPTION) == WS_CAPTION;
}

RECT HostRect(const Window* top) {
    return DesktopFramed(top) ? ScreenClientRect(top) : ScreenRect(top);
}

RECT WindowRectFromHost(const Window* top, const RECT& shown) {
    if (!DesktopFramed(top))
        return shown;
    return RECT{shown.left - (top->client.left - top->rect.left),
                shown.top - (top->client.top - top->rect.top),
                shown.right + (top->rect.right - top->client.right),
                shown.bottom + (top->rect.bottom - top->client.bottom)};
}

void UpdateSurface(Window* top) {
    if (!IsTopLevel(top))
        return;
    int width = Width(top->rect);
    int height = Height(top->rect);
    if (!top->surface || top->surface->pixels.width != std::max(width, 1) ||
        top->surface->pixels.height != std::max(height, 1))
        top->surface = NewSurface(width, height);
    bool visible = (top->style & WS_VISIBLE) != 0;
    bool framed = DesktopFramed(top);
    if (!top->host) {
        if (!visible || !backend::HostWindowsAvailable())
            return;
        ConnectInputSink();
        backend::HostWindowOptions options;
        options.window = reinterpret_cast<std::uintptr_t>(top->handle);
        options.framed = framed;
        options.toolWindow = (top->exStyle & WS_EX_TOOLWINDOW) != 0;
        options.topmost = (top->exStyle & WS_EX_TOPMOST) != 0;
        // Bare popups (drop-downs, hints, menus) never take the desktop's focus; the keys stay with the form.
        options.noActivate = (top->exStyle & WS_EX_NOACTIVATE) != 0 || ((top->style & WS_POPUP) && !framed);
        options.title = top->text;
        top->host = backend::CreateHostWindow(options);
        if (!top->host)
            return;
    }
    RECT shown = HostRect(top);
    top->host->SetGeometry(shown.left, shown.top, Width(shown), Height(shown));
    top->host->SetTitle(top->text);
    top->host->SetState((top->style & WS_MINIMIZE) != 0, (top->style & WS_MAXIMIZE) != 0);
    top->host->SetOpacity(
        (top->exStyle & WS_EX_LAYERED) && (top->layeredFlags & LWA_ALPHA) ? top->layeredAlpha / 255.0 : 1.0);
    if (top->shape) {
        Region mask = *top->shape;
        if (framed)
            mask.Offset(top->rect.left - top->client.left, top->rect.top - top->client.top);
        top->host->SetMask(&mask);
    } else {
        top->host->SetMask(nullptr);
    }
    top->host->SetVisible(visible, !(top->exStyle & WS_EX_NOACTIVATE));
    if (visible)
        top->surface->dirty =
            Region(backend::Rect{0, 0, top->surface->pixels.width, top->surface->pixels.height});
    FlushSurface(top);
}

void ReleaseSurface(Window* top) {
    top->host.reset();
    top->surface.reset();
}

void FlushSurface(Window* top) {
    if (!top || !top->surface || top->surface->dirty.Empty())
        return;
    if (top->host && (top->style & WS_VISIBLE)) {
        bool framed = DesktopFramed(top);
        int partX = framed ? top->client.left - top->rect.left : 0;
        int partY = framed ? top->client.top - top->rect.top : 0;
        Region dirty = top->surface->dirty;
        dirty.Offset(-partX, -partY);
        top->host->Update(top->surface->pixels, partX, partY, dirty);
    }
    top->surface->dirty = Region();
}

// ---- Visible regions ----

Region VisibleRegion(Window* window, bool wholeWindow, bool clipChildren, bool clipSiblings) {
    if (!IsReallyVisible(window))
        return Region();
    Region region = wholeWindow ? WindowArea(window) : ClientArea(window).Intersected(WindowArea(window));
    if (clipChildren) {
        for (Window* child : window->children)
            if (child->style & WS_VISIBLE)
                region = region.Subtracted(WindowArea(child));
    }
    if (clipSiblings && !IsTopLevel(window))
        ClipSiblingsAbove(window, region);
    for (Window* w = window; !IsTopLevel(w); w = w->parent) {
        Window* parent = w->parent;
        region = region.Intersected(ClientArea(parent)).Intersected(WindowArea(parent));
        if (!IsTopLevel(parent) && (parent->style & WS_CLIPSIBLINGS))
            ClipSiblingsAbove(parent, region);
    }
    return region;
}

// ---- Update regions ----

void RedrawInternal(Window* window, const Region* clientRegion, UINT flags) {
    Region client(backend::Rect{0, 0, Width(window->client), Height(window->client)});
    Region area = clientRegion ? clientRegion->Intersected(client) : client;
    if (flags & RDW_INVALIDATE) {
        if (!area.Empty()) {
            window->update = window->update.United(area);
            if (flags & RDW_ERASE)
                window->erase = true;
        }
        if (flags & RDW_FRAME)
            window->frameDirty = true;
        if (flags & RDW_INTERNALPAINT)
            window->internalPaint = true;
        if (!area.Empty() || (flags & RDW_FRAME))
            WakeQueue(*window->queue);
    }
    if (flags & RDW_VALIDATE) {
        window->update = window->update.Subtracted(area);
        if (window->update.Empty())
            window->erase = false;
        if (flags & RDW_NOERASE)
            window->erase = false;
        if (flags & RDW_NOFRAME)
            window->frameDirty = false;
        if (flags & RDW_NOINTERNALPAINT)
            window->internalPaint = false;
    }
    // Children share the work unless told otherwise: all of them with RDW_ALLCHILDREN, none with
    // RDW_NOCHILDREN, and otherwise only when this window does not clip its children.
    bool children =
        (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(window->style & WS_CLIPCHILDREN));
    if (!children)
        return;
    for (Window* child : window->children) {
        if (!(child->style & WS_VISIBLE))
            continue;
        Region inChild = area;
        inChild.Offset(-child->rect.left, -child->rect.top);
        Region childWindow(backend::Rect{0, 0, Width(child->rect), Height(child->rect)});
        if (inChild.Intersected(childWindow).Empty())
            continue;
        inChild.Offset(child->rect.left - child->client.left, child->rect.top - child->client.top);
        UINT childFlags = flags;
        if ((flags & RDW_INVALIDATE) && !(flags & RDW_NOFRAME))
            childFlags |= RDW_FRAME;
        RedrawInternal(child, &inChild, childFlags);
    }
}

HWND FindWindowToPaint(DWORD threadId, HWND filter) {
    TreeGuard guard(TreeLock());
    HWND found = nullptr;
    for (Window* top : Desktop()->children)
        if (top->threadId == threadId && FindPaint(top, filter, found))
            return found;
    return nullptr;
}

void InvalidateBehind(Window* parent, const RECT& rect) {
    if (!parent || IsDesktop(parent))
        return;
    Region area(ToRect(rect));
    RedrawInternal(parent, &area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace win32

using namespace win32;

namespace {

// WM_NCPAINT and WM_ERASEBKGND for a window whose frame or background is due, as BeginPaint and
// RDW_ERASENOW send them. Returns whether the background still needs erasing.
bool SendEraseMessages(HWND hwnd, HDC dc) {
    bool frame;
    bool erase;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return false;
        frame = window->frameDirty;
        erase = window->erase;
        window->frameDirty = false;
        window->erase = false;
    }
    if (frame)
        SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    if (!erase)
        return false;
    HDC eraseDC = dc ? dc : GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_CACHE);
    bool erased = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(eraseDC), 0) != 0;
    if (!dc)
        ReleaseDC(hwnd, eraseDC);
    return !erased;
}

void UpdateNow(HWND hwnd, bool children, bool eraseOnly) {
    bool paint;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window || !IsReallyVisible(window))
            return;
        paint = NeedsPaint(window);
    }
    if (paint) {
        if (eraseOnly)
            SendEraseMessages(hwnd, nullptr);
        else
            SendMessageW(hwnd, WM_PAINT, 0, 0);
    }
    if (!children)
        return;
    std::vector<HWND> list;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return;
        for (Window* child : window->children)
            list.push_back(child->handle);
    }
    for (HWND child : list)
        UpdateNow(child, true, eraseOnly);
}

} // namespace

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    if (!paint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::memset(paint, 0, sizeof *paint);
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    HideCaret(hwnd);
    Region update;
    bool frame;
    bool erase;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        update = window->update;
        frame = window->frameDirty;
        erase = window->erase;
        window->update = Region();
        window->internalPaint = false;
        window->frameDirty = false;
        window->erase = false;
        window->painting = true;
    }
    if (frame)
        SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    HDC dc;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return nullptr;
        DWORD style = window->style;
        Region clip = update;
        POINT origin = SurfaceClientOrigin(window);
        clip.Offset(origin.x, origin.y);
        bool parentDC = window->cls && (window->cls->style & CS_PARENTDC) && (style & WS_CHILD);
        dc = MakeWindowDC(window, false, !parentDC && (style & WS_CLIPCHILDREN),
                          (style & WS_CLIPSIBLINGS) != 0, &clip, true, true);
        if (!dc)
            return nullptr;
        backend::Rect box = update.Bounds();
        paint->rcPaint = update.Empty() ? RECT{0, 0, 0, 0} : FromRect(box);
    }
    paint->hdc = dc;
    if (erase) {
        bool erased = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
        paint->fErase = erased ? FALSE : TRUE;
    }
    ZTRACE(TracePaint, "%p BeginPaint (%d,%d)-(%d,%d)", static_cast<void*>(hwnd), paint->rcPaint.left,
           paint->rcPaint.top, paint->rcPaint.right, paint->rcPaint.bottom);
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (!paint)
        return FALSE;
    {
        TreeGuard guard(TreeLock());
        if (Window* window = Lookup(hwnd))
            window->painting = false;
    }
    ReleaseDC(hwnd, paint->hdc);
    ShowCaret(hwnd);
    return TRUE;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    if (!hwnd) {
        std::shared_ptr<Surface>& screen = ScreenSurface();
        SIZE size = ScreenSize();
        if (!screen)
            screen = NewSurface(size.cx, size.cy);
        HDC dc = CreateDeviceDC(screen->device, POINT{0, 0}, nullptr);
        if (dc)
            WindowDCs()[dc] = WindowDC{nullptr, false, Region(), screen};
        return dc;
    }
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return nullptr;
    if (IsDesktop(window))
        return GetDCEx(nullptr, clip, flags);
    bool wholeWindow = (flags & DCX_WINDOW) != 0;
    bool clipChildren = (flags & DCX_CLIPCHILDREN) != 0;
    bool clipSiblings = (flags & DCX_CLIPSIBLINGS) != 0;
    if (flags & DCX_USESTYLE) {
        // GetDC and GetWindowDC clip as the window's styles say; a whole-window DC never clips children.
        clipSiblings = (window->style & WS_CLIPSIBLINGS) != 0;
        bool parentDC = window->cls && (window->cls->style & CS_PARENTDC) && (window->style & WS_CHILD);
        clipChildren =
            !wholeWindow && !parentDC && (window->style & WS_CLIPCHILDREN) && !(window->style & WS_MINIMIZE);
    }
    std::optional<Region> extra;
    bool intersect = (flags & DCX_INTERSECTRGN) != 0;
    if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) && clip != reinterpret_cast<HRGN>(1)) {
        if (const Region* region = RegionOf(clip)) {
            // The region is in screen coordinates; the surface's start at the top-level window's corner.
            Region onSurface = *region;
            POINT topOrigin = WindowOrigin(TopLevelOf(window));
            onSurface.Offset(-topOrigin.x, -topOrigin.y);
            extra = onSurface;
        }
    }
    return MakeWindowDC(window, wholeWindow, clipChildren, clipSiblings, extra ? &*extra : nullptr, intersect,
                        false);
}

HDC GetDC(HWND hwnd) {
    return GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_CACHE);
}

HDC GetWindowDC(HWND hwnd) {
    return GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_WINDOW | DCX_CACHE);
}

int ReleaseDC(HWND, HDC dc) {
    WindowDC entry;
    {
        TreeGuard guard(TreeLock());
        auto it = WindowDCs().find(dc);
        if (it == WindowDCs().end())
            return 0;
        entry = it->second;
        WindowDCs().erase(it);
        // What the DC could draw on may have changed: the desktop window copies it again.
        if (Window* window = Lookup(entry.hwnd)) {
            Window* top = TopLevelOf(window);
            if (top->surface == entry.surface) {
                top->surface->dirty = top->surface->dirty.United(entry.visible);
                FlushSurface(top);
            }
        }
    }
    DeleteDC(dc);
    return 1;
}

HWND WindowFromDC(HDC dc) {
    TreeGuard guard(TreeLock());
    auto it = WindowDCs().find(dc);
    return it == WindowDCs().end() ? nullptr : it->second.hwnd;
}

BOOL RedrawWindow(HWND hwnd, const RECT* update, HRGN region, UINT flags) {
    if (!hwnd)
        hwnd = GetDesktopWindow();
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        if (IsDesktop(window)) {
            // The whole screen: every top-level window.
            for (Window* top : window->children)
                RedrawInternal(top, nullptr, flags | RDW_ALLCHILDREN);
        } else if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT)) {
            std::optional<Region> area;
            if (region) {
                if (const Region* r = RegionOf(region))
                    area = *r;
            } else if (update) {
                area = Region(ToRect(*update));
            }
            RedrawInternal(window, area ? &*area : nullptr, flags);
        }
    }
    if (flags & RDW_UPDATENOW)
        UpdateNow(hwnd, (flags & RDW_ALLCHILDREN) != 0 || !(flags & RDW_NOCHILDREN), false);
    else if (flags & RDW_ERASENOW)
        UpdateNow(hwnd, (flags & RDW_ALLCHILDREN) != 0 || !(flags & RDW_NOCHILDREN), true);
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase) {
    if (!region)
        return InvalidateRect(hwnd, nullptr, erase);
    return RedrawWindow(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND hwnd, HRGN region) {
    if (!region)
        return ValidateRect(hwnd, nullptr);
    return RedrawWindow(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    Region update;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        update = window->update;
    }
    if (rect)
        *rect = update.Empty() ? RECT{0, 0, 0, 0} : FromRect(update.Bounds());
    if (erase && !update.Empty())
        SendEraseMessages(hwnd, nullptr);
    return update.Empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase) {
    Region update;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return ERROR;
        update = window->update;
    }
    auto object = gdi::Find<gdi::Region>(region, OBJ_REGION);
    if (!object)
        return ERROR;
    object->region = update;
    if (erase && !update.Empty())
        SendEraseMessages(hwnd, nullptr);
    if (update.Empty())
        return NULLREGION;
    return update.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL UpdateWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL LockWindowUpdate(HWND hwnd) {
    static HWND locked = nullptr;
    if (hwnd && locked && locked != hwnd)
        return FALSE;
    HWND previous = locked;
    locked = hwnd;
    // Drawing is not held back while locked; unlocking redraws what might have been missed.
    if (!hwnd && previous && IsWindow(previous))
        RedrawWindow(previous, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}

int ExcludeUpdateRgn(HDC dc, HWND hwnd) {
    Region update;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return ERROR;
        update = window->update;
    }
    HRGN region = MakeRegionHandle(update);
    int result = ExtSelectClipRgn(dc, region, RGN_DIFF);
    DeleteObject(region);
    return result;
}

// ---- Scrolling ----

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags) {
    std::vector<HWND> movedChildren;
    Region invalid;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return ERROR;
        Region client(backend::Rect{0, 0, Width(window->client), Height(window->client)});
        Region area = scroll ? client.Intersected(ToRect(*scroll)) : client;
        if (clip)
            area = area.Intersected(ToRect(*clip));
        Window* top = TopLevelOf(window);
        POINT origin = SurfaceClientOrigin(window);
        if (IsReallyVisible(window) && top->surface) {
            // Only pixels that are visible both where they come from and where they go can move; the rest
            // of the area is drawn again.
            Region visible = VisibleRegion(window, false, (window->style & WS_CLIPCHILDREN) != 0, true);
            visible.Offset(-origin.x, -origin.y);
            Region source = area.Intersected(visible);
            Region moved = source;
            moved.Offset(dx, dy);
            Region target = moved.Intersected(source);
            backend::PixelBuffer& pixels = top->surface->pixels;
            if (!target.Empty()) {
                backend::Rect box = target.Bounds();
                std::vector<std::uint32_t> copy(static_cast<size_t>(box.Width()) *
                                                static_cast<size_t>(box.Height()));
                for (const backend::Rect& r : target.Rects())
                    for (int y = r.top; y < r.bottom; ++y)
                        for (int x = r.left; x < r.right; ++x)
                            copy[static_cast<size_t>(y - box.top) * box.Width() + (x - box.left)] =
                                pixels.Row(origin.y + y - dy)[origin.x + x - dx];
                for (const backend::Rect& r : target.Rects())
                    for (int y = r.top; y < r.bottom; ++y)
                        for (int x = r.left; x < r.right; ++x)
                            pixels.Row(origin.y + y)[origin.x + x] =
                                copy[static_cast<size_t>(y - box.top) * box.Width() + (x - box.left)];
                Region dirty = target;
                dirty.Offset(origin.x, origin.y);
                top->surface->dirty = top->surface->dirty.United(dirty);
            }
            invalid = area.Subtracted(target);
        } else {
            invalid = area;
        }
        // The part of the update region inside the area moves with the pixels.
        Region inside = window->update.Intersected(area);
        if (!inside.Empty()) {
            Region shifted = inside;
            shifted.Offset(dx, dy);
            window->update = window->update.Subtracted(inside).United(shifted.Intersected(area));
        }
        if (flags & SW_SCROLLCHILDREN) {
            for (Window* child : window->children) {
                if (!scroll || area.Intersects(ToRect(child->rect)))
                    movedChildren.push_back(child->handle);
            }
        }
        FlushSurface(top);
    }
    for (HWND child : movedChildren) {
        RECT r;
        GetWindowRect(child, &r);
        POINT p{r.left, r.top};
        ScreenToClient(hwnd, &p);
        SetWindowPos(child, nullptr, p.x + dx, p.y + dy, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    if (update)
        if (auto object = gdi::Find<gdi::Region>(update, OBJ_REGION))
            object->region = invalid;
    if (updateRect)
        *updateRect = invalid.Empty() ? RECT{0, 0, 0, 0} : FromRect(invalid.Bounds());
    if ((flags & SW_INVALIDATE) && !invalid.Empty()) {
        HRGN region = MakeRegionHandle(invalid);
        RedrawWindow(hwnd, nullptr, region,
                     RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) |
                         ((flags & SW_SCROLLCHILDREN) ? RDW_ALLCHILDREN : 0));
        DeleteObject(region);
    }
    if (invalid.Empty())
        return NULLREGION;
    return invalid.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
    UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR;
}

BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect) {
    RECT area;
    if (scroll)
        area = *scroll;
    else if (GetClipBox(dc, &area) == ERROR)
        return FALSE;
    if (clip && !IntersectRect(&area, &area, clip))
        SetRectEmpty(&area);
    RECT moved = area;
    OffsetRect(&moved, dx, dy);
    RECT target;
    if (IntersectRect(&target, &moved, &area))
        BitBlt(dc, target.left, target.top, Width(target), Height(target), dc, target.left - dx,
               target.top - dy, SRCCOPY);
    else
        SetRectEmpty(&target);
    Region invalid = Region(ToRect(area)).Subtracted(Region(ToRect(target)));
    if (update)
        if (auto object = gdi::Find<gdi::Region>(update, OBJ_REGION))
            object->region = invalid;
    if (updateRect)
        *updateRect = invalid.Empty() ? RECT{0, 0, 0, 0} : FromRect(invalid.Bounds());
    return TRUE;
}
