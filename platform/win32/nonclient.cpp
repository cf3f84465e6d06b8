// The non-client area: frame sizes (WM_NCCALCSIZE, AdjustWindowRectEx), hit testing (WM_NCHITTEST),
// drawing the frame, caption, edges and scroll bars (WM_NCPAINT), and the moving and sizing loop.
#include <algorithm>

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

bool HasDialogFrame(DWORD style, DWORD exStyle) {
    return (exStyle & WS_EX_DLGMODALFRAME) || ((style & WS_DLGFRAME) && !(style & WS_THICKFRAME));
}
bool HasThickFrame(DWORD style) {
    return (style & WS_THICKFRAME) && (style & (WS_DLGFRAME | WS_BORDER)) != WS_DLGFRAME;
}
bool HasThinFrame(DWORD style) {
    return (style & WS_BORDER) || !(style & (WS_CHILD | WS_POPUP));
}
bool HasCaption(DWORD style) {
    return (style & WS_CAPTION) == WS_CAPTION;
}

// The width of the outer frame, the caption's height and the inner edge, as Win32 lays them out.
int OuterFrame(DWORD style, DWORD exStyle) {
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE)
        return GetSystemMetrics(SM_CXBORDER);
    int adjust = 0;
    if (HasThickFrame(style))
        adjust += GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXDLGFRAME);
    if (HasThickFrame(style) || HasDialogFrame(style, exStyle))
        adjust += GetSystemMetrics(SM_CXDLGFRAME);
    else if (HasThinFrame(style))
        adjust += GetSystemMetrics(SM_CXBORDER);
    return adjust;
}

int CaptionHeight(DWORD style, DWORD exStyle) {
    if (!HasCaption(style))
        return 0;
    return GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int InnerEdge(DWORD exStyle) {
    return (exStyle & WS_EX_CLIENTEDGE) ? GetSystemMetrics(SM_CXEDGE) : 0;
}

class SizeMoveTracker : public Tracker {
public:
    SizeMoveTracker(HWND window, LRESULT hitTest, POINT screen)
        : FHwnd(window), FHit(hitTest), FStart(screen), FMoving(hitTest == HTCAPTION) {
        TreeGuard guard(TreeLock());
        Window* w = Lookup(FHwnd);
        FStartRect = w ? w->rect : RECT{};
    }

    WPARAM Edge() const {
        switch (FHit) {
        case HTLEFT:
            return WMSZ_LEFT;
        case HTRIGHT:
            return WMSZ_RIGHT;
        case HTTOP:
            return WMSZ_TOP;
        case HTTOPLEFT:
            return WMSZ_TOPLEFT;
        case HTTOPRIGHT:
            return WMSZ_TOPRIGHT;
        case HTBOTTOM:
            return WMSZ_BOTTOM;
        case HTBOTTOMLEFT:
            return WMSZ_BOTTOMLEFT;
        default:
            return WMSZ_BOTTOMRIGHT;
        }
    }

    void MoveTo(RECT rect) {
        // WM_SIZING and WM_MOVING take screen coordinates and may change the rectangle.
        RECT screen = rect;
        POINT origin{0, 0};
        {
            TreeGuard guard(TreeLock());
            Window* w = Lookup(FHwnd);
            if (!w)
                return;
            if (!IsTopLevel(w))
                origin = ClientOrigin(w->parent);
        }
        OffsetRect(&screen, origin.x, origin.y);
        SendMessageW(FHwnd, FMoving ? WM_MOVING : WM_SIZING, FMoving ? 0 : Edge(),
                     reinterpret_cast<LPARAM>(&screen));
        OffsetRect(&screen, -origin.x, -origin.y);
        SetWindowPos(FHwnd, nullptr, screen.left, screen.top, Width(screen), Height(screen),
                     SWP_NOZORDER | SWP_NOACTIVATE | (FMoving ? SWP_NOSIZE : 0));
    }

    void MouseMove(POINT p) override {
        int dx = p.x - FStart.x;
        int dy = p.y - FStart.y;
        RECT r = FStartRect;
        if (FMoving) {
            OffsetRect(&r, dx, dy);
        } else {
            MINMAXINFO info{};
            info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
            info.ptMaxTrackSize = POINT{100000, 100000};
            SendMessageW(FHwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
            if (FHit == HTLEFT || FHit == HTTOPLEFT || FHit == HTBOTTOMLEFT)
                r.left = std::clamp<LONG>(r.left + dx, r.right - info.ptMaxTrackSize.x,
                                          r.right - info.ptMinTrackSize.x);
            if (FHit == HTRIGHT || FHit == HTTOPRIGHT || FHit == HTBOTTOMRIGHT)
                r.right = std::clamp<LONG>(r.right + dx, r.left + info.ptMinTrackSize.x,
                                           r.left + info.ptMaxTrackSize.x);
            if (FHit == HTTOP || FHit == HTTOPLEFT || FHit == HTTOPRIGHT)
                r.top = std::clamp<LONG>(r.top + dy, r.bottom - info.ptMaxTrackSize.y,
                                         r.bottom - info.ptMinTrackSize.y);
            if (FHit == HTBOTTOM || FHit == HTBOTTOMLEFT || FHit == HTBOTTOMRIGHT)
                r.bottom = std::clamp<LONG>(r.bottom + dy, r.top + info.ptMinTrackSize.y,
                                            r.top + info.ptMaxTrackSize.y);
        }
        MoveTo(r);
    }

    void Finish() {
        HWND window = FHwnd;
        EndTracking();
        SendMessageW(window, WM_CAPTURECHANGED, 0, 0);
        SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    }

    void ButtonUp(POINT p) override {
        MouseMove(p);
        Finish();
    }

    void Cancel() override {
        SetWindowPos(FHwnd, nullptr, FStartRect.left, FStartRect.top, Width(FStartRect), Height(FStartRect),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Finish();
    }

private:
    HWND FHwnd;
    LRESULT FHit; // the edge or corner being dragged, or HTCAPTION for a move
    POINT FStart; // where the button went down
    bool FMoving;
    RECT FStartRect{}; // in the parent's client coordinates
};

} // namespace

RECT DefaultClientRect(const Window* window, const RECT& windowRect) {
    RECT r = windowRect;
    if (window->style & WS_MINIMIZE)
        return RECT{r.left, r.top, r.left, r.top};
    int outer = OuterFrame(window->style, window->exStyle);
    InflateRect(&r, -outer, -outer);
    r.top += CaptionHeight(window->style, window->exStyle);
    int inner = InnerEdge(window->exStyle);
    InflateRect(&r, -inner, -inner);
    if (window->style & WS_VSCROLL) {
        if (window->exStyle & WS_EX_LEFTSCROLLBAR)
            r.left += GetSystemMetrics(SM_CXVSCROLL);
        else
            r.right -= GetSystemMetrics(SM_CXVSCROLL);
    }
    if (window->style & WS_HSCROLL)
        r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

RECT ScrollBarRect(const Window* window, int bar) {
    RECT inner{window->client.left - window->rect.left, window->client.top - window->rect.top,
               window->client.right - window->rect.left, window->client.bottom - window->rect.top};
    if (bar == SB_VERT && (window->style & WS_VSCROLL)) {
        int width = GetSystemMetrics(SM_CXVSCROLL);
        if (window->exStyle & WS_EX_LEFTSCROLLBAR)
            return RECT{inner.left - width, inner.top, inner.left, inner.bottom};
        return RECT{inner.right, inner.top, inner.right + width, inner.bottom};
    }
    if (bar == SB_HORZ && (window->style & WS_HSCROLL))
        return RECT{inner.left, inner.bottom, inner.right, inner.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    return RECT{0, 0, 0, 0};
}

LRESULT DefaultHitTest(Window* window, POINT screen) {
    RECT r = ScreenRect(window);
    if (screen.x < r.left || screen.x >= r.right || screen.y < r.top || screen.y >= r.bottom)
        return HTNOWHERE;
    RECT client = ScreenClientRect(window);
    if (screen.x >= client.left && screen.x < client.right && screen.y >= client.top &&
        screen.y < client.bottom)
        return HTCLIENT;
    DWORD style = window->style;
    DWORD exStyle = window->exStyle;
    int outer = OuterFrame(style, exStyle);
    RECT inside = r;
    InflateRect(&inside, -outer, -outer);
    bool inFrame = screen.x < inside.left || screen.x >= inside.right || screen.y < inside.top ||
                   screen.y >= inside.bottom;
    if (inFrame) {
        if (!HasThickFrame(style))
            return HTBORDER;
        // Corners reach a caption's height along each edge.
        int corner = GetSystemMetrics(SM_CYCAPTION) + outer;
        bool left = screen.x < inside.left;
        bool right = screen.x >= inside.right;
        bool top = screen.y < inside.top;
        bool bottom = screen.y >= inside.bottom;
        if (top || bottom) {
            if (screen.x < r.left + corner)
                return top ? HTTOPLEFT : HTBOTTOMLEFT;
            if (screen.x >= r.right - corner)
                return top ? HTTOPRIGHT : HTBOTTOMRIGHT;
            return top ? HTTOP : HTBOTTOM;
        }
        if (screen.y < r.top + corner)
            return left ? HTTOPLEFT : HTTOPRIGHT;
        if (screen.y >= r.bottom - corner)
            return left ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
        return left ? HTLEFT : (right ? HTRIGHT : HTBORDER);
    }
    int caption = CaptionHeight(style, exStyle);
    if (caption && screen.y < inside.top + caption) {
        int button = GetSystemMetrics(SM_CXSIZE);
        if ((style & WS_SYSMENU) && screen.x >= inside.right - button)
            return HTCLOSE;
        if ((style & WS_SYSMENU) && (style & WS_MAXIMIZEBOX) && screen.x >= inside.right - 2 * button)
            return HTMAXBUTTON;
        if ((style & WS_SYSMENU) && (style & WS_MINIMIZEBOX) && screen.x >= inside.right - 3 * button)
            return HTMINBUTTON;
        if ((style & WS_SYSMENU) && !(exStyle & WS_EX_TOOLWINDOW) &&
            screen.x < inside.left + GetSystemMetrics(SM_CXSMICON) + 2)
            return HTSYSMENU;
        return HTCAPTION;
    }
    POINT local{screen.x - r.left, screen.y - r.top};
    for (int bar : {SB_VERT, SB_HORZ}) {
        RECT sb = ScrollBarRect(window, bar);
        if (local.x >= sb.left && local.x < sb.right && local.y >= sb.top && local.y < sb.bottom)
            return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return HTNOWHERE;
}

void StartSizeMove(HWND hwnd, LRESULT hitTest, POINT screen) {
    SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    StartTracking(std::make_unique<SizeMoveTracker>(hwnd, hitTest, screen));
}

void InvalidateFrame(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return;
    window->frameDirty = true;
    WakeQueue(*window->queue);
}

void DrawNonClient(HWND hwnd, HRGN region) {
    DWORD style;
    DWORD exStyle;
    RECT r;
    String text;
    bool active;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return;
        style = window->style;
        exStyle = window->exStyle;
        r = RECT{0, 0, Width(window->rect), Height(window->rect)};
        text = window->text;
        active =
            IsTopLevel(window) ? window->frameActive : GetForegroundWindow() == TopLevelOf(window)->handle;
    }
    HDC dc = (region && region != reinterpret_cast<HRGN>(1))
                 ? GetDCEx(hwnd, region, DCX_USESTYLE | DCX_WINDOW | DCX_INTERSECTRGN)
                 : GetWindowDC(hwnd);
    if (!dc)
        return;
    // The client area is not ours to draw on.
    RECT client;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        client = RECT{window->client.left - window->rect.left, window->client.top - window->rect.top,
                      window->client.right - window->rect.left, window->client.bottom - window->rect.top};
    }
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    if ((exStyle & (WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME)) == WS_EX_STATICEDGE) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else if (HasThickFrame(style) || HasDialogFrame(style, exStyle)) {
        int width = OuterFrame(style, exStyle);
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        RECT frame = r;
        for (int i = 2; i < width; ++i) {
            FrameRect(dc, &frame, GetSysColorBrush(active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
            InflateRect(&frame, -1, -1);
        }
        r = frame;
    } else if (HasThinFrame(style)) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    int caption = CaptionHeight(style, exStyle);
    if (caption) {
        RECT bar{r.left, r.top, r.right, r.top + caption};
        FillRect(dc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        if (style & WS_SYSMENU) {
            int button = GetSystemMetrics(SM_CXSIZE);
            RECT close{bar.right - button + 2, bar.top + 2, bar.right - 2, bar.bottom - 2};
            DrawFrameControl(dc, &close, DFC_CAPTION, DFCS_CAPTIONCLOSE);
            bar.right -= button;
        }
        RECT textRect{bar.left + 4, bar.top, bar.right, bar.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        r.top += caption;
    }
    if (exStyle & WS_EX_CLIENTEDGE)
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (style & WS_VSCROLL)
        DrawScrollBar(dc, hwnd, SB_VERT);
    if (style & WS_HSCROLL)
        DrawScrollBar(dc, hwnd, SB_HORZ);
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL)) {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        RECT v = ScrollBarRect(window, SB_VERT);
        RECT h = ScrollBarRect(window, SB_HORZ);
        RECT box{v.left, h.top, v.right, h.bottom};
        FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    }
    ReleaseDC(hwnd, dc);
}

} // namespace win32

using namespace win32;

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (!rect)
        return FALSE;
    int outer = OuterFrame(style, exStyle);
    InflateRect(rect, outer, outer);
    rect->top -= CaptionHeight(style, exStyle);
    int inner = InnerEdge(exStyle);
    InflateRect(rect, inner, inner);
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}
