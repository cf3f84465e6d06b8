// The SCROLLBAR window class: a scroll bar as a control of its own (SB_CTL), set through the SBM_
// messages, operated by the mouse (arrows and pages repeating, the thumb dragged) and the keyboard,
// telling its parent through WM_HSCROLL/WM_VSCROLL with its own handle. It looks and measures as the
// window scroll bars do.
#include <algorithm>

#include "platform/rtl/Trace.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/scrollrules.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winbutton.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceScrollBar("scroll");

constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstRepeatDelay = 200;
constexpr UINT RepeatDelay = 50;

using Part = ScrollPart;

struct BarLayout {
    RECT first{}; // the up or left arrow
    RECT last{};  // the down or right arrow
    RECT track{}; // between the arrows
    RECT thumb{}; // empty when there is none
};

class ScrollBarControl {
public:
    explicit ScrollBarControl(HWND hwnd) : FHwnd(hwnd) {}

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool Vertical() const { return (Style() & SBS_VERT) != 0; }
    bool SizeBox() const { return (Style() & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0; }

    void WMCreate() { FTheme = OpenThemeData(FHwnd, u"Scrollbar"); }
    void WMDestroy() {
        if (FTheme)
            CloseThemeData(FTheme);
        FTheme = nullptr;
    }
    void WMThemeChanged() {
        WMDestroy();
        WMCreate();
        Invalidate();
    }

    LRESULT SBMSetPos(int pos, bool redraw) {
        int old = FPos;
        SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, pos, 0};
        SBMSetScrollInfo(&info, redraw);
        return old;
    }
    LRESULT SBMGetPos() const { return FPos; }

    LRESULT SBMSetRange(int minPos, int maxPos, bool redraw) {
        int old = FPos;
        SCROLLINFO info{sizeof info, SIF_RANGE, minPos, maxPos, 0, 0, 0};
        SBMSetScrollInfo(&info, redraw);
        return old;
    }
    void SBMGetRange(LPINT minPos, LPINT maxPos) const {
        if (minPos)
            *minPos = FMin;
        if (maxPos)
            *maxPos = FMax;
    }

    LRESULT SBMEnableArrows(UINT arrows) {
        if (arrows == FDisabled)
            return FALSE;
        FDisabled = arrows;
        Invalidate();
        return TRUE;
    }

    LRESULT SBMSetScrollInfo(const SCROLLINFO* info, bool redraw) {
        if (!info)
            return FPos;
        if (info->fMask & SIF_RANGE) {
            FMin = info->nMin;
            FMax = std::max(info->nMax, info->nMin);
        }
        if (info->fMask & SIF_PAGE)
            FPage = info->nPage;
        FPage = std::min<UINT>(FPage, static_cast<UINT>(FMax - FMin + 1));
        if (info->fMask & SIF_POS)
            FPos = info->nPos;
        FPos = std::clamp(FPos, FMin, std::max(MaxPosition(), FMin));
        if (!FTracking)
            FTrackPos = FPos;
        // With SIF_DISABLENOSCROLL a bar that has nothing to scroll is disabled instead of left alone.
        if ((info->fMask & SIF_DISABLENOSCROLL) && (info->fMask & (SIF_RANGE | SIF_PAGE)))
            FDisabled = FMin >= MaxPosition() ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH;
        if (redraw)
            Invalidate();
        return FPos;
    }

    LRESULT SBMGetScrollInfo(SCROLLINFO* info) const {
        if (!info)
            return FALSE;
        if (info->fMask & SIF_RANGE) {
            info->nMin = FMin;
            info->nMax = FMax;
        }
        if (info->fMask & SIF_PAGE)
            info->nPage = FPage;
        if (info->fMask & SIF_POS)
            info->nPos = FPos;
        if (info->fMask & SIF_TRACKPOS)
            info->nTrackPos = FTrackPos;
        return TRUE;
    }

    void WMLButtonDown(POINT point) {
        if (SizeBox() || FDisabled == ESB_DISABLE_BOTH)
            return;
        BarLayout layout = Layout();
        Part part = PartAt(layout, point);
        if (part == Part::None || (part == Part::LineUp && (FDisabled & ESB_DISABLE_LTUP)) ||
            (part == Part::LineDown && (FDisabled & ESB_DISABLE_RTDN)))
            return;
        FPart = part;
        FLast = point;
        FStart = point;
        FStartThumb =
            Vertical() ? layout.thumb.top - layout.track.top : layout.thumb.left - layout.track.left;
        SetCapture(FHwnd);
        if (GetWindowLongW(FHwnd, GWL_STYLE) & WS_TABSTOP)
            SetFocus(FHwnd);
        if (part == Part::Thumb) {
            FTracking = true;
            FTrackPos = FPos;
            return;
        }
        Notify(ScrollCodeOf(part), 0);
        SetTimer(FHwnd, RepeatTimer, FirstRepeatDelay, nullptr);
        Invalidate();
    }

    void WMMouseMove(POINT point) {
        if (FPart == Part::None || GetCapture() != FHwnd)
            return;
        FLast = point;
        if (FPart != Part::Thumb)
            return;
        int pos = PositionFor(point);
        if (pos == FTrackPos)
            return;
        FTrackPos = pos;
        Invalidate();
        Notify(SB_THUMBTRACK, pos);
    }

    void WMLButtonUp(POINT point) {
        if (FPart == Part::None)
            return;
        Part part = FPart;
        int pos = part == Part::Thumb ? PositionFor(point) : 0;
        EndPress();
        if (part == Part::Thumb)
            Notify(SB_THUMBPOSITION, pos);
        Notify(SB_ENDSCROLL, 0);
    }

    void WMTimer(UINT_PTR id) {
        if (id != RepeatTimer || FPart == Part::None || FPart == Part::Thumb)
            return;
        // Pages repeat only while the pointer stays on the page part (the thumb moves towards it).
        if (FPart == Part::PageUp || FPart == Part::PageDown)
            if (PartAt(Layout(), FLast) != FPart)
                return;
        Notify(ScrollCodeOf(FPart), 0);
        SetTimer(FHwnd, RepeatTimer, RepeatDelay, nullptr);
    }

    void WMCaptureChanged() {
        if (FPart == Part::None)
            return;
        EndPress();
        Notify(SB_ENDSCROLL, 0);
    }

    // A scrolling key sends its code on each press (repeats included) and SB_ENDSCROLL when released, so
    // that the parent sees the end of a keyboard scroll as it sees the end of a mouse one.
    void WMKeyDown(WPARAM key) {
        if (WORD code = 0; ScrollCodeOfKey(key, code))
            Notify(code, 0);
    }
    void WMKeyUp(WPARAM key) {
        if (WORD code = 0; ScrollCodeOfKey(key, code))
            Notify(SB_ENDSCROLL, 0);
    }

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

    // The thumb's rectangle, for tests and hit testing alike.
    RECT ThumbRect() const { return Layout().thumb; }

private:
    int MaxPosition() const { return ScrollMaxPosition(FMax, FPage); }

    static bool ScrollCodeOfKey(WPARAM key, WORD& code) {
        switch (key) {
        case VK_PRIOR:
            code = SB_PAGEUP;
            return true;
        case VK_NEXT:
            code = SB_PAGEDOWN;
            return true;
        case VK_HOME:
            code = SB_TOP;
            return true;
        case VK_END:
            code = SB_BOTTOM;
            return true;
        case VK_UP:
        case VK_LEFT:
            code = SB_LINEUP;
            return true;
        case VK_DOWN:
        case VK_RIGHT:
            code = SB_LINEDOWN;
            return true;
        default:
            return false;
        }
    }

    BarLayout Layout() const {
        BarLayout layout;
        RECT client;
        GetClientRect(FHwnd, &client);
        bool vertical = Vertical();
        int length = vertical ? client.bottom - client.top : client.right - client.left;
        int thickness = vertical ? client.right - client.left : client.bottom - client.top;
        const ScrollGeometry geometry =
            MeasureScrollBar(length, thickness, FMin, FMax, FPage, FTrackPos,
                             FDisabled != ESB_DISABLE_BOTH && IsWindowEnabled(FHwnd));
        const int arrow = geometry.arrow;
        layout.first = layout.last = layout.track = client;
        if (vertical) {
            layout.first.bottom = client.top + arrow;
            layout.last.top = client.bottom - arrow;
            layout.track.top = layout.first.bottom;
            layout.track.bottom = layout.last.top;
        } else {
            layout.first.right = client.left + arrow;
            layout.last.left = client.right - arrow;
            layout.track.left = layout.first.right;
            layout.track.right = layout.last.left;
        }
        if (geometry.thumbLen == 0)
            return layout;
        const int thumb = geometry.thumbLen;
        const int offset = geometry.thumbPos - arrow;
        layout.thumb = layout.track;
        if (vertical) {
            layout.thumb.top = layout.track.top + offset;
            layout.thumb.bottom = layout.thumb.top + thumb;
        } else {
            layout.thumb.left = layout.track.left + offset;
            layout.thumb.right = layout.thumb.left + thumb;
        }
        return layout;
    }

    Part PartAt(const BarLayout& layout, POINT point) const {
        if (PtInRect(&layout.first, point))
            return Part::LineUp;
        if (PtInRect(&layout.last, point))
            return Part::LineDown;
        if (IsRectEmpty(&layout.thumb) || !PtInRect(&layout.track, point))
            return Part::None;
        if (PtInRect(&layout.thumb, point))
            return Part::Thumb;
        bool before = Vertical() ? point.y < layout.thumb.top : point.x < layout.thumb.left;
        return before ? Part::PageUp : Part::PageDown;
    }

    int PositionFor(POINT point) const {
        BarLayout layout = Layout();
        bool vertical = Vertical();
        int trackLength =
            vertical ? layout.track.bottom - layout.track.top : layout.track.right - layout.track.left;
        int thumbLength =
            vertical ? layout.thumb.bottom - layout.thumb.top : layout.thumb.right - layout.thumb.left;
        int room = trackLength - thumbLength;
        if (room <= 0 || thumbLength <= 0)
            return FPos;
        int delta = vertical ? point.y - FStart.y : point.x - FStart.x;
        return ScrollPositionAt(FStartThumb + delta, room, FMin, MaxPosition());
    }

    void EndPress() {
        FPart = Part::None;
        FTracking = false;
        FTrackPos = FPos;
        KillTimer(FHwnd, RepeatTimer);
        if (GetCapture() == FHwnd)
            ReleaseCapture();
        Invalidate();
    }

    // The parent hears of every scroll with the control's handle in lParam; no call site builds the
    // wParam by hand.
    void Notify(WORD code, int pos) {
        HWND parent = GetParent(FHwnd);
        if (!parent)
            return;
        SendMessageW(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                     reinterpret_cast<LPARAM>(FHwnd));
    }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(FHwnd, &client);
        if (SizeBox()) {
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            if (Style() & SBS_SIZEGRIP)
                DrawFrameControl(dc, &client, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
            return;
        }
        BarLayout layout = Layout();
        if (FTheme && IsThemeActive())
            PaintThemed(dc, layout);
        else
            PaintClassic(dc, layout);
    }

    bool FirstInactive(const BarLayout& layout) const {
        return IsRectEmpty(&layout.thumb) || (FDisabled & ESB_DISABLE_LTUP);
    }
    bool LastInactive(const BarLayout& layout) const {
        return IsRectEmpty(&layout.thumb) || (FDisabled & ESB_DISABLE_RTDN);
    }

    void PaintClassic(HDC dc, const BarLayout& layout) {
        bool vertical = Vertical();
        RECT first = layout.first;
        RECT last = layout.last;
        DrawFrameControl(dc, &first, DFC_SCROLL,
                         (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) |
                             (FirstInactive(layout) ? DFCS_INACTIVE : 0) |
                             (FPart == Part::LineUp ? DFCS_PUSHED : 0));
        DrawFrameControl(dc, &last, DFC_SCROLL,
                         (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) |
                             (LastInactive(layout) ? DFCS_INACTIVE : 0) |
                             (FPart == Part::LineDown ? DFCS_PUSHED : 0));
        HBRUSH track = ControlColor(FHwnd, GetParent(FHwnd), dc, WM_CTLCOLORSCROLLBAR);
        FillRect(dc, &layout.track, track ? track : GetSysColorBrush(COLOR_SCROLLBAR));
        if (!IsRectEmpty(&layout.thumb)) {
            RECT thumb = layout.thumb;
            FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
        }
    }

    void PaintThemed(HDC dc, const BarLayout& layout) {
        bool vertical = Vertical();
        int firstBase = vertical ? ABS_UPNORMAL : ABS_LEFTNORMAL;
        int lastBase = vertical ? ABS_DOWNNORMAL : ABS_RIGHTNORMAL;
        auto arrowState = [&](int base, bool inactive, Part part) {
            return base + (inactive ? 3 : FPart == part ? 2 : 0);
        };
        DrawThemeBackground(FTheme, dc, SBP_ARROWBTN,
                            arrowState(firstBase, FirstInactive(layout), Part::LineUp), &layout.first,
                            nullptr);
        DrawThemeBackground(FTheme, dc, SBP_ARROWBTN,
                            arrowState(lastBase, LastInactive(layout), Part::LineDown), &layout.last,
                            nullptr);
        bool disabled = IsRectEmpty(&layout.thumb);
        DrawThemeBackground(FTheme, dc, vertical ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ,
                            disabled ? SCRBS_DISABLED : SCRBS_NORMAL, &layout.track, nullptr);
        if (!disabled)
            DrawThemeBackground(FTheme, dc, vertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ,
                                FPart == Part::Thumb ? SCRBS_PRESSED : SCRBS_NORMAL, &layout.thumb, nullptr);
    }

    HWND FHwnd;
    HTHEME FTheme = nullptr;
    int FMin = 0;
    int FMax = 100;
    UINT FPage = 0;
    int FPos = 0;
    int FTrackPos = 0; // where the dragged thumb is
    UINT FDisabled = ESB_ENABLE_BOTH;
    Part FPart = Part::None; // the part held down by the mouse
    bool FTracking = false;  // the thumb is being dragged
    POINT FStart{};          // where the button went down
    POINT FLast{};           // where the mouse is now
    int FStartThumb = 0;     // the thumb's offset in the track when the button went down
};

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

LRESULT ScrollBarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* bar = ControlState<ScrollBarControl>(hwnd, message, [&] { return new ScrollBarControl(hwnd); });
    if (!bar)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        bar->WMCreate();
        return 0;
    case WM_DESTROY:
        bar->WMDestroy();
        return 0;
    case WM_THEMECHANGED:
        bar->WMThemeChanged();
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        bar->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        bar->WMLButtonDown(PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        bar->WMMouseMove(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        bar->WMLButtonUp(PointOf(lParam));
        return 0;
    case WM_TIMER:
        bar->WMTimer(wParam);
        return 0;
    case WM_CAPTURECHANGED:
        bar->WMCaptureChanged();
        return 0;
    case WM_KEYDOWN:
        bar->WMKeyDown(wParam);
        return 0;
    case WM_KEYUP:
        bar->WMKeyUp(wParam);
        return 0;
    case WM_ENABLE:
        bar->Invalidate();
        return 0;
    case SBM_SETPOS:
        return bar->SBMSetPos(static_cast<int>(wParam), lParam != 0);
    case SBM_GETPOS:
        return bar->SBMGetPos();
    case SBM_SETRANGE:
        return bar->SBMSetRange(static_cast<int>(wParam), static_cast<int>(lParam), false);
    case SBM_SETRANGEREDRAW:
        return bar->SBMSetRange(static_cast<int>(wParam), static_cast<int>(lParam), true);
    case SBM_GETRANGE:
        bar->SBMGetRange(reinterpret_cast<LPINT>(wParam), reinterpret_cast<LPINT>(lParam));
        return 0;
    case SBM_ENABLE_ARROWS:
        return bar->SBMEnableArrows(static_cast<UINT>(wParam));
    case SBM_SETSCROLLINFO:
        return bar->SBMSetScrollInfo(reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
    case SBM_GETSCROLLINFO:
        return bar->SBMGetScrollInfo(reinterpret_cast<SCROLLINFO*>(lParam));
    default:
        if (message >= SBM_SETPOS && message <= SBM_GETSCROLLBARINFO)
            ZFIXME(TraceScrollBar, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterScrollBarClass() {
    RegisterControlClass(ScrollBarClassName, ScrollBarWndProc,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

} // namespace win32::controls
