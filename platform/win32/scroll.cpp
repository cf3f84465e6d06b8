// The window scroll bars: their state (SetScrollInfo and friends), layout and drawing, and operating them
// with the mouse (arrows and pages with auto-repeat, dragging the thumb), sending WM_HSCROLL/WM_VSCROLL.
#include <algorithm>

#include "platform/win32/scrollrules.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

constexpr UINT_PTR ScrollTimerId = 0xFFFA;
constexpr UINT FirstRepeatDelay = 200;
constexpr UINT RepeatDelay = 50;

using Part = ScrollPart;

ScrollBar* BarOf(Window* window, int bar) {
    if (bar == SB_VERT)
        return &window->vscroll;
    if (bar == SB_HORZ)
        return &window->hscroll;
    return nullptr;
}

int MaxPosition(const ScrollBar& sb) {
    return ScrollMaxPosition(sb.max, sb.page);
}

struct Layout {
    RECT bar{}; // window coordinates
    bool vertical = true;
    int length = 0;   // along the bar
    int arrow = 0;    // each arrow's length
    int thumbPos = 0; // from the bar's start
    int thumbLen = 0; // 0: no thumb
};

Layout LayoutOf(const Window* window, int bar) {
    Layout layout;
    layout.bar = ScrollBarRect(window, bar);
    layout.vertical = bar == SB_VERT;
    const ScrollBar& sb = bar == SB_VERT ? window->vscroll : window->hscroll;
    layout.length = layout.vertical ? layout.bar.bottom - layout.bar.top : layout.bar.right - layout.bar.left;
    int thickness = layout.vertical ? layout.bar.right - layout.bar.left : layout.bar.bottom - layout.bar.top;
    const ScrollGeometry geometry = MeasureScrollBar(layout.length, thickness, sb.min, sb.max, sb.page,
                                                     sb.trackPos, sb.disabled != ESB_DISABLE_BOTH);
    layout.arrow = geometry.arrow;
    layout.thumbPos = geometry.thumbPos;
    layout.thumbLen = geometry.thumbLen;
    return layout;
}

Part PartAt(const Layout& layout, POINT local) {
    if (local.x < layout.bar.left || local.x >= layout.bar.right || local.y < layout.bar.top ||
        local.y >= layout.bar.bottom)
        return Part::None;
    int along = layout.vertical ? local.y - layout.bar.top : local.x - layout.bar.left;
    if (along < layout.arrow)
        return Part::LineUp;
    if (along >= layout.length - layout.arrow)
        return Part::LineDown;
    if (!layout.thumbLen)
        return Part::None;
    if (along < layout.thumbPos)
        return Part::PageUp;
    if (along < layout.thumbPos + layout.thumbLen)
        return Part::Thumb;
    return Part::PageDown;
}

// Shows or hides the bar with its style bit and recomputes the frame, as a window's client area shrinks
// or grows with it.
void ShowBar(HWND hwnd, int bar, bool show) {
    DWORD bits = (bar == SB_VERT ? WS_VSCROLL : 0) | (bar == SB_HORZ ? WS_HSCROLL : 0);
    if (bar == SB_BOTH)
        bits = WS_VSCROLL | WS_HSCROLL;
    bool changed = false;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return;
        DWORD style = show ? (window->style | bits) : (window->style & ~bits);
        changed = style != window->style;
        window->style = style;
        if (bar == SB_VERT || bar == SB_BOTH)
            window->vscroll.shown = show;
        if (bar == SB_HORZ || bar == SB_BOTH)
            window->hscroll.shown = show;
    }
    if (changed)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

class ScrollTracker : public Tracker {
public:
    ScrollTracker(HWND hwnd, int bar, Part part, POINT screen)
        : FLast(screen), FHwnd(hwnd), FBar(bar), FPart(part), FStart(screen) {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return;
        Layout layout = LayoutOf(window, bar);
        FStartThumb = layout.thumbPos;
    }

    void Begin() {
        // Grabbing the thumb says nothing yet; moving it sends SB_THUMBTRACK.
        if (FPart == Part::Thumb)
            return;
        Send(ScrollCodeOf(FPart), 0);
        SetSystemTimer(FHwnd, ScrollTimerId, FirstRepeatDelay);
    }

    void MouseMove(POINT screen) override {
        FLast = screen;
        if (FPart != Part::Thumb)
            return;
        int pos = PositionFor(screen);
        {
            TreeGuard guard(TreeLock());
            Window* window = Lookup(FHwnd);
            if (!window)
                return;
            ScrollBar* sb = BarOf(window, FBar);
            if (sb->trackPos == pos)
                return;
            sb->trackPos = pos;
        }
        InvalidateFrame(FHwnd);
        Send(SB_THUMBTRACK, pos);
    }

    void ButtonUp(POINT screen) override {
        HWND hwnd = FHwnd;
        int bar = FBar;
        Part part = FPart;
        int pos = part == Part::Thumb ? PositionFor(screen) : 0;
        KillSystemTimer(hwnd, ScrollTimerId);
        EndTracking();
        if (part == Part::Thumb)
            SendTo(hwnd, bar, SB_THUMBPOSITION, pos);
        SendTo(hwnd, bar, SB_ENDSCROLL, 0);
        ResetTrack(hwnd, bar);
    }

    void Tick() override {
        if (FPart == Part::Thumb)
            return;
        // Pages repeat only while the pointer stays on the page part (the thumb moves towards it).
        if (FPart == Part::PageUp || FPart == Part::PageDown) {
            TreeGuard guard(TreeLock());
            Window* window = Lookup(FHwnd);
            if (!window)
                return;
            RECT r = ScreenRect(window);
            Layout layout = LayoutOf(window, FBar);
            if (PartAt(layout, POINT{FLast.x - r.left, FLast.y - r.top}) != FPart)
                return;
        }
        Send(ScrollCodeOf(FPart), 0);
        SetSystemTimer(FHwnd, ScrollTimerId, RepeatDelay);
    }

    void Cancel() override {
        HWND hwnd = FHwnd;
        int bar = FBar;
        KillSystemTimer(hwnd, ScrollTimerId);
        EndTracking();
        SendTo(hwnd, bar, SB_ENDSCROLL, 0);
        ResetTrack(hwnd, bar);
    }

private:
    int PositionFor(POINT screen) {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(FHwnd);
        if (!window)
            return 0;
        ScrollBar* sb = BarOf(window, FBar);
        Layout layout = LayoutOf(window, FBar);
        int delta = layout.vertical ? screen.y - FStart.y : screen.x - FStart.x;
        int track = layout.length - 2 * layout.arrow - layout.thumbLen;
        if (track <= 0 || !layout.thumbLen)
            return sb->pos;
        return ScrollPositionAt(FStartThumb + delta - layout.arrow, track, sb->min, MaxPosition(*sb));
    }

    static void SendTo(HWND hwnd, int bar, WORD code, int pos) {
        SendMessageW(hwnd, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                     0);
    }

    void Send(WORD code, int pos) { SendTo(FHwnd, FBar, code, pos); }

    static void ResetTrack(HWND hwnd, int bar) {
        TreeGuard guard(TreeLock());
        if (Window* window = Lookup(hwnd)) {
            ScrollBar* sb = BarOf(window, bar);
            sb->trackPos = sb->pos;
        }
        InvalidateFrame(hwnd);
    }

    POINT FLast; // where the mouse is now
    HWND FHwnd;
    int FBar;
    Part FPart;
    POINT FStart; // where the button went down
    int FStartThumb = 0;
};

} // namespace

void StartScrollTracking(HWND hwnd, int bar, POINT screen) {
    Part part;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return;
        ScrollBar* sb = BarOf(window, bar);
        if (sb->disabled == ESB_DISABLE_BOTH)
            return;
        RECT r = ScreenRect(window);
        part = PartAt(LayoutOf(window, bar), POINT{screen.x - r.left, screen.y - r.top});
        if ((part == Part::LineUp && (sb->disabled & ESB_DISABLE_LTUP)) ||
            (part == Part::LineDown && (sb->disabled & ESB_DISABLE_RTDN)))
            return;
    }
    if (part == Part::None)
        return;
    auto tracker = std::make_unique<ScrollTracker>(hwnd, bar, part, screen);
    ScrollTracker* raw = tracker.get();
    StartTracking(std::move(tracker));
    raw->Begin();
}

void InitScrollBars(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    if (!window)
        return;
    window->vscroll.shown = (window->style & WS_VSCROLL) != 0;
    window->hscroll.shown = (window->style & WS_HSCROLL) != 0;
}

void DrawScrollBar(HDC dc, HWND hwnd, int bar) {
    Layout layout;
    UINT disabled;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return;
        layout = LayoutOf(window, bar);
        disabled = BarOf(window, bar)->disabled;
    }
    RECT r = layout.bar;
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    RECT first = r;
    RECT last = r;
    if (layout.vertical) {
        first.bottom = r.top + layout.arrow;
        last.top = r.bottom - layout.arrow;
    } else {
        first.right = r.left + layout.arrow;
        last.left = r.right - layout.arrow;
    }
    bool noThumb = layout.thumbLen == 0;
    DrawFrameControl(dc, &first, DFC_SCROLL,
                     (layout.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) |
                         ((noThumb || (disabled & ESB_DISABLE_LTUP)) ? DFCS_INACTIVE : 0));
    DrawFrameControl(dc, &last, DFC_SCROLL,
                     (layout.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) |
                         ((noThumb || (disabled & ESB_DISABLE_RTDN)) ? DFCS_INACTIVE : 0));
    RECT track = r;
    if (layout.vertical) {
        track.top = first.bottom;
        track.bottom = last.top;
    } else {
        track.left = first.right;
        track.right = last.left;
    }
    FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
    if (!noThumb) {
        RECT thumb = r;
        if (layout.vertical) {
            thumb.top = r.top + layout.thumbPos;
            thumb.bottom = thumb.top + layout.thumbLen;
        } else {
            thumb.left = r.left + layout.thumbPos;
            thumb.right = thumb.left + layout.thumbLen;
        }
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
    }
}

} // namespace win32

using namespace win32;

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
    if (!info || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (bar == SB_CTL)
        return static_cast<int>(
            SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    int pos;
    bool show = false;
    bool hide = false;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return 0;
        ScrollBar* sb = BarOf(window, bar);
        if (!sb) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        sb->everSet = true;
        if (info->fMask & SIF_RANGE) {
            sb->min = info->nMin;
            sb->max = std::max(info->nMax, info->nMin);
        }
        if (info->fMask & SIF_PAGE)
            sb->page = info->nPage;
        if (sb->page > static_cast<UINT>(sb->max - sb->min + 1))
            sb->page = static_cast<UINT>(sb->max - sb->min + 1);
        if (info->fMask & SIF_POS)
            sb->pos = info->nPos;
        sb->pos = std::clamp(sb->pos, sb->min, std::max(MaxPosition(*sb), sb->min));
        sb->trackPos = sb->pos;
        if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
            bool empty = sb->min >= MaxPosition(*sb);
            if (empty) {
                if (info->fMask & SIF_DISABLENOSCROLL)
                    sb->disabled = ESB_DISABLE_BOTH;
                else
                    hide = true;
            } else {
                if (info->fMask & SIF_DISABLENOSCROLL)
                    sb->disabled = ESB_ENABLE_BOTH;
                show = true;
            }
            if (info->fMask & SIF_DISABLENOSCROLL)
                show = true;
        }
        pos = sb->pos;
    }
    if (show || hide)
        ShowBar(hwnd, bar, show);
    if (redraw)
        InvalidateFrame(hwnd);
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
    if (!info || (info->cbSize != sizeof(SCROLLINFO) && info->cbSize != sizeof(SCROLLINFO) - sizeof(int))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (bar == SB_CTL)
        return SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) != 0;
    TreeGuard guard(TreeLock());
    Window* window = Check(hwnd);
    if (!window)
        return FALSE;
    ScrollBar* sb = BarOf(window, bar);
    if (!sb) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
    if (!sb->everSet && !(window->style & bit)) {
        SetLastError(ERROR_NO_SCROLLBARS);
        return FALSE;
    }
    if (info->fMask & SIF_RANGE) {
        info->nMin = sb->min;
        info->nMax = sb->max;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = sb->page;
    if (info->fMask & SIF_POS)
        info->nPos = sb->pos;
    if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
        info->nTrackPos = sb->trackPos;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    int old = GetScrollPos(hwnd, bar);
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(hwnd, bar, &info, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    SCROLLINFO info{sizeof info, SIF_RANGE, minPos, maxPos, 0, 0, 0};
    SetScrollInfo(hwnd, bar, &info, redraw);
    return IsWindow(hwnd);
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
    SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd, bar, &info))
        return FALSE;
    if (minPos)
        *minPos = info.nMin;
    if (maxPos)
        *maxPos = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (bar == SB_CTL)
        return ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE), TRUE;
    ShowBar(hwnd, bar, show != FALSE);
    return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
    if (bar == static_cast<UINT>(SB_CTL))
        return SendMessageW(hwnd, SBM_ENABLE_ARROWS, arrows, 0) != 0;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        bool changed = false;
        for (int which : {SB_HORZ, SB_VERT}) {
            if (bar != static_cast<UINT>(which) && bar != static_cast<UINT>(SB_BOTH))
                continue;
            ScrollBar* sb = BarOf(window, which);
            changed = changed || sb->disabled != arrows;
            sb->disabled = arrows;
        }
        if (!changed)
            return FALSE;
    }
    InvalidateFrame(hwnd);
    return TRUE;
}
