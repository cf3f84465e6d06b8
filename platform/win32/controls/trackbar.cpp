// The track bar window class ("msctls_trackbar32"): a thumb on a channel between a minimum and a
// maximum, set through the TBM_ messages, moved by the keyboard, by paging clicks on the channel that
// repeat while held, and by dragging the thumb; the parent hears each move through WM_HSCROLL or
// WM_VSCROLL with the TB_ codes.
//
// FIXME: TBS_TOOLTIPS shows no tip beside the dragged thumb. TBS_REVERSED changes nothing on screen or
// under the keys; it only tells readers of the control which end counts as high.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceTrackBar("trackbar");

constexpr UINT_PTR PageTimer = 1;
// A held click on the channel pages again after a pause, then steadily, until the thumb reaches the
// pointer.
constexpr UINT FirstPageDelay = 500;
constexpr UINT PageDelay = 100;

constexpr int DefaultThumbLength = 21;
constexpr int SelRangeThumbLength = 23; // the wider channel of a selection range needs a longer thumb
constexpr int TickBand = 6;             // room for the tick marks on one side of the thumb
constexpr int TickLength = 3;

struct TrackLayout {
    RECT channel{};
    RECT thumb{}; // empty with TBS_NOTHUMB
    bool vertical = false;
    int first = 0;       // the pixel along the channel of the minimum
    int last = 0;        // and of the maximum
    int thumbCross = 0;  // where the thumb starts across the channel
    int thumbLength = 0; // its size across the channel
};

class TrackBarControl {
public:
    explicit TrackBarControl(HWND hwnd) : FHwnd(hwnd) {}

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool Vertical() const { return (Style() & TBS_VERT) != 0; }

    void WMCreate() { FTheme.Open(FHwnd); }
    void WMDestroy() { FTheme.Close(); }
    void WMThemeChanged() {
        FTheme.Open(FHwnd);
        Invalidate();
    }

    LRESULT TBMGetPos() const { return FPos; }
    void TBMSetPos(bool redraw, int pos) {
        FPos = Clamp(pos);
        if (redraw)
            Invalidate();
    }

    void TBMSetRange(bool redraw, int minPos, int maxPos) {
        FMin = minPos;
        FMax = maxPos;
        RangeChanged(redraw);
    }
    void TBMSetRangeMin(bool redraw, int minPos) { TBMSetRange(redraw, minPos, FMax); }
    void TBMSetRangeMax(bool redraw, int maxPos) { TBMSetRange(redraw, FMin, maxPos); }
    LRESULT TBMGetRangeMin() const { return FMin; }
    LRESULT TBMGetRangeMax() const { return FMax; }

    // Tick marks at positions inside the range; the ends always have one.
    LRESULT TBMSetTic(int pos) {
        if (pos < FMin || pos > FMax)
            return FALSE;
        FTics.insert(std::upper_bound(FTics.begin(), FTics.end(), pos), pos);
        Invalidate();
        return TRUE;
    }
    void TBMClearTics(bool redraw) {
        FTics.clear();
        if (redraw)
            Invalidate();
    }
    LRESULT TBMGetTic(int index) const {
        std::vector<int> tics = InnerTics();
        return index >= 0 && index < static_cast<int>(tics.size()) ? tics[static_cast<size_t>(index)] : -1;
    }
    LRESULT TBMGetNumTics() const {
        if (Style() & TBS_NOTICKS)
            return 0;
        return static_cast<LRESULT>(InnerTics().size()) + 2;
    }
    void TBMSetTicFreq(int freq) {
        FTicFreq = std::max(freq, 1);
        Invalidate();
    }

    LRESULT TBMSetPageSize(int size) {
        int old = FPageSize;
        FPageSize = size;
        FPageSizeSet = true;
        return old;
    }
    LRESULT TBMGetPageSize() const { return FPageSize; }
    LRESULT TBMSetLineSize(int size) {
        int old = FLineSize;
        FLineSize = size;
        return old;
    }
    LRESULT TBMGetLineSize() const { return FLineSize; }

    void TBMSetSel(bool redraw, int start, int end) {
        FSelStart = start;
        FSelEnd = end;
        if (redraw)
            Invalidate();
    }
    void TBMSetSelStart(bool redraw, int start) { TBMSetSel(redraw, start, FSelEnd); }
    void TBMSetSelEnd(bool redraw, int end) { TBMSetSel(redraw, FSelStart, end); }
    LRESULT TBMGetSelStart() const { return FSelStart; }
    LRESULT TBMGetSelEnd() const { return FSelEnd; }

    void TBMGetThumbRect(RECT* rect) const {
        if (rect)
            *rect = Layout().thumb;
    }
    void TBMGetChannelRect(RECT* rect) const {
        if (rect)
            *rect = Layout().channel;
    }
    // Only a track bar of fixed length takes a thumb length of the caller's choice.
    void TBMSetThumbLength(int length) {
        if (!(Style() & TBS_FIXEDLENGTH) || length <= 0)
            return;
        FThumbLength = length;
        Invalidate();
    }
    LRESULT TBMGetThumbLength() const { return Layout().thumbLength; }

    void WMLButtonDown(POINT point) {
        if (!IsWindowEnabled(FHwnd))
            return;
        SetFocus(FHwnd);
        TrackLayout layout = Layout();
        FLast = point;
        SetCapture(FHwnd);
        if (!IsRectEmpty(&layout.thumb) && PtInRect(&layout.thumb, point)) {
            FDragging = true;
            FDragOffset = Along(point, layout) - ThumbCentre(layout);
            Invalidate();
            return;
        }
        FPaging = true;
        FPageForward = Along(point, layout) > ThumbCentre(layout);
        Page(FPageForward);
        SetTimer(FHwnd, PageTimer, FirstPageDelay, nullptr);
    }

    void WMMouseMove(POINT point) {
        FLast = point;
        if (!FDragging || GetCapture() != FHwnd)
            return;
        int pos = PositionAt(Along(point, Layout()) - FDragOffset);
        if (pos == FPos)
            return;
        FPos = pos;
        Invalidate();
        Notify(TB_THUMBTRACK, FPos);
    }

    void WMLButtonUp() {
        if (!FDragging && !FPaging)
            return;
        bool dragged = FDragging;
        EndPress();
        if (dragged)
            Notify(TB_THUMBPOSITION, FPos);
        Notify(TB_ENDTRACK, 0);
    }

    void WMTimer(UINT_PTR id) {
        if (id != PageTimer || !FPaging)
            return;
        // Paging stops once the thumb has come to the pointer or cannot move further.
        TrackLayout layout = Layout();
        int target = Along(FLast, layout);
        int centre = ThumbCentre(layout);
        bool reached = FPageForward ? centre >= target : centre <= target;
        if (reached || PtInRect(&layout.thumb, FLast) || !Page(FPageForward)) {
            KillTimer(FHwnd, PageTimer);
            return;
        }
        SetTimer(FHwnd, PageTimer, PageDelay, nullptr);
    }

    void WMCaptureChanged() {
        if (!FDragging && !FPaging)
            return;
        EndPress();
        Notify(TB_ENDTRACK, 0);
    }

    void WMKeyDown(WPARAM key) {
        bool downIsLeft = (Style() & TBS_DOWNISLEFT) && !Vertical();
        switch (key) {
        case VK_LEFT:
            Step(TB_LINEUP, -FLineSize);
            break;
        case VK_RIGHT:
            Step(TB_LINEDOWN, FLineSize);
            break;
        case VK_UP:
            if (downIsLeft)
                Step(TB_LINEDOWN, FLineSize);
            else
                Step(TB_LINEUP, -FLineSize);
            break;
        case VK_DOWN:
            if (downIsLeft)
                Step(TB_LINEUP, -FLineSize);
            else
                Step(TB_LINEDOWN, FLineSize);
            break;
        case VK_PRIOR:
            Step(TB_PAGEUP, -FPageSize);
            break;
        case VK_NEXT:
            Step(TB_PAGEDOWN, FPageSize);
            break;
        case VK_HOME:
            MoveTo(TB_TOP, FMin);
            break;
        case VK_END:
            MoveTo(TB_BOTTOM, FMax);
            break;
        default:
            break;
        }
    }

    void WMKeyUp(WPARAM key) {
        switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_HOME:
        case VK_END:
            Notify(TB_ENDTRACK, 0);
            break;
        default:
            break;
        }
    }

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

private:
    int Clamp(int pos) const { return std::clamp(pos, FMin, std::max(FMin, FMax)); }

    void RangeChanged(bool redraw) {
        if (FMax < FMin)
            FMax = FMin;
        // Until the caller chooses a page size, a page is a fifth of the range.
        if (!FPageSizeSet)
            FPageSize = std::max((FMax - FMin) / 5, 1);
        FPos = Clamp(FPos);
        if (redraw)
            Invalidate();
    }

    // The tick positions between the ends: every TicFreq with TBS_AUTOTICKS, else those set one by one.
    std::vector<int> InnerTics() const {
        std::vector<int> tics;
        if (Style() & TBS_AUTOTICKS) {
            for (std::int64_t pos = static_cast<std::int64_t>(FMin) + FTicFreq; pos < FMax; pos += FTicFreq)
                tics.push_back(static_cast<int>(pos));
            return tics;
        }
        for (int pos : FTics)
            if (pos > FMin && pos < FMax)
                tics.push_back(pos);
        return tics;
    }

    // One function places the channel and the thumb; painting, hit testing and the TBM_GET*RECT
    // queries all use it.
    TrackLayout Layout() const {
        TrackLayout layout;
        DWORD style = Style();
        layout.vertical = (style & TBS_VERT) != 0;
        RECT client;
        GetClientRect(FHwnd, &client);
        int alongStart = layout.vertical ? client.top : client.left;
        int alongEnd = layout.vertical ? client.bottom : client.right;
        int crossStart = layout.vertical ? client.left : client.top;
        int crossEnd = layout.vertical ? client.right : client.bottom;
        bool ticks = !(style & TBS_NOTICKS);
        bool ticksBefore = ticks && (style & (TBS_TOP | TBS_BOTH));
        bool ticksAfter = ticks && (!(style & TBS_TOP) || (style & TBS_BOTH));

        int length = FThumbLength > 0
                         ? FThumbLength
                         : (style & TBS_ENABLESELRANGE ? SelRangeThumbLength : DefaultThumbLength);
        int room = crossEnd - crossStart - 4 - (ticksBefore ? TickBand : 0) - (ticksAfter ? TickBand : 0);
        length = std::max(std::min(length, room), 5);
        layout.thumbLength = length;
        layout.thumbCross = crossStart + 2 + (ticksBefore ? TickBand : 0);

        const int thumbWidth = length / 2 + 1; // the thumb's size along the channel
        const int margin = thumbWidth / 2 + 2;
        const int channelThickness = style & TBS_ENABLESELRANGE ? length / 2 : 4;
        const int middle = layout.thumbCross + length / 2;
        const int channelCross = middle - channelThickness / 2;
        layout.first = alongStart + margin;
        layout.last = std::max(alongEnd - margin - 1, layout.first);
        RECT channel{};
        RECT thumb{};
        int thumbAlong = PixelOf(FPos, layout) - thumbWidth / 2;
        if (layout.vertical) {
            channel = RECT{channelCross, layout.first, channelCross + channelThickness, layout.last + 1};
            thumb = RECT{layout.thumbCross, thumbAlong, layout.thumbCross + length, thumbAlong + thumbWidth};
        } else {
            channel = RECT{layout.first, channelCross, layout.last + 1, channelCross + channelThickness};
            thumb = RECT{thumbAlong, layout.thumbCross, thumbAlong + thumbWidth, layout.thumbCross + length};
        }
        layout.channel = channel;
        if (!(style & TBS_NOTHUMB))
            layout.thumb = thumb;
        return layout;
    }

    int PixelOf(int pos, const TrackLayout& layout) const {
        if (FMax <= FMin)
            return layout.first;
        std::int64_t span = layout.last - layout.first;
        return layout.first +
               static_cast<int>(span * (pos - FMin) / (static_cast<std::int64_t>(FMax) - FMin));
    }

    // The position whose pixel is nearest to pixel.
    int PositionAt(int pixel) const {
        TrackLayout layout = Layout();
        std::int64_t span = layout.last - layout.first;
        if (span <= 0 || FMax <= FMin)
            return FMin;
        std::int64_t range = static_cast<std::int64_t>(FMax) - FMin;
        std::int64_t offset = std::clamp<std::int64_t>(pixel - layout.first, 0, span);
        return Clamp(FMin + static_cast<int>((offset * range + span / 2) / span));
    }

    static int Along(POINT point, const TrackLayout& layout) { return layout.vertical ? point.y : point.x; }
    int ThumbCentre(const TrackLayout& layout) const { return PixelOf(FPos, layout); }

    // Moves a page towards the end (forward) or the start; false when the thumb is already there.
    bool Page(bool forward) {
        int pos = Clamp(FPos + (forward ? FPageSize : -FPageSize));
        bool moved = pos != FPos;
        FPos = pos;
        Invalidate();
        Notify(forward ? TB_PAGEDOWN : TB_PAGEUP, 0);
        return moved;
    }

    // A key moves the thumb only when it can: at an end the key does nothing and nobody hears of it.
    void Step(WORD code, int delta) { MoveTo(code, Clamp(FPos + delta)); }
    void MoveTo(WORD code, int pos) {
        if (pos == FPos)
            return;
        FPos = pos;
        Invalidate();
        Notify(code, 0);
    }

    void EndPress() {
        FDragging = false;
        FPaging = false;
        KillTimer(FHwnd, PageTimer);
        if (GetCapture() == FHwnd)
            ReleaseCapture();
        Invalidate();
    }

    // The parent hears of every move with the track bar's handle in lParam; no call site builds the
    // wParam by hand.
    void Notify(WORD code, int pos) {
        HWND parent = GetParent(FHwnd);
        if (!parent)
            return;
        WORD high = code == TB_THUMBTRACK || code == TB_THUMBPOSITION ? static_cast<WORD>(pos) : 0;
        SendMessageW(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, high),
                     reinterpret_cast<LPARAM>(FHwnd));
    }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(FHwnd, &client);
        HBRUSH background = ControlColor(FHwnd, GetParent(FHwnd), dc, WM_CTLCOLORSTATIC);
        FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));
        TrackLayout layout = Layout();
        bool themed = FTheme && IsThemeActive();
        PaintChannel(dc, layout, themed);
        PaintTics(dc, layout, themed);
        if (!IsRectEmpty(&layout.thumb))
            PaintThumb(dc, layout, themed);
        if (GetFocus() == FHwnd)
            DrawFocusRect(dc, &client);
    }

    void PaintChannel(HDC dc, const TrackLayout& layout, bool themed) {
        RECT channel = layout.channel;
        if (themed)
            DrawThemeBackground(FTheme, dc, layout.vertical ? TKP_TRACKVERT : TKP_TRACK, TRS_NORMAL, &channel,
                                nullptr);
        else {
            FillRect(dc, &channel, GetSysColorBrush(COLOR_WINDOW));
            DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT);
        }
        if (!(Style() & TBS_ENABLESELRANGE) || FSelEnd <= FSelStart)
            return;
        RECT selection = channel;
        InflateRect(&selection, layout.vertical ? -2 : 0, layout.vertical ? 0 : -2);
        int from = PixelOf(std::clamp(FSelStart, FMin, FMax), layout);
        int to = PixelOf(std::clamp(FSelEnd, FMin, FMax), layout) + 1;
        if (layout.vertical) {
            selection.top = from;
            selection.bottom = to;
        } else {
            selection.left = from;
            selection.right = to;
        }
        FillRect(dc, &selection, GetSysColorBrush(COLOR_HIGHLIGHT));
    }

    void PaintTics(HDC dc, const TrackLayout& layout, bool themed) {
        DWORD style = Style();
        if (style & TBS_NOTICKS)
            return;
        std::vector<int> tics = InnerTics();
        tics.insert(tics.begin(), FMin);
        tics.push_back(FMax);
        bool before = style & (TBS_TOP | TBS_BOTH);
        bool after = !(style & TBS_TOP) || (style & TBS_BOTH);
        auto mark = [&](int along, int crossFrom, int crossTo) {
            RECT rect = layout.vertical ? RECT{crossFrom, along, crossTo, along + 1}
                                        : RECT{along, crossFrom, along + 1, crossTo};
            if (themed)
                DrawThemeBackground(FTheme, dc, layout.vertical ? TKP_TICSVERT : TKP_TICS, TKS_NORMAL, &rect,
                                    nullptr);
            else
                FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNTEXT));
        };
        for (int pos : tics) {
            int along = PixelOf(pos, layout);
            // The ends stand out by a pixel.
            int length = pos == FMin || pos == FMax ? TickLength + 1 : TickLength;
            if (before)
                mark(along, layout.thumbCross - 2 - length, layout.thumbCross - 2);
            if (after) {
                int start = layout.thumbCross + layout.thumbLength + 2;
                mark(along, start, start + length);
            }
        }
    }

    void PaintThumb(HDC dc, const TrackLayout& layout, bool themed) {
        RECT thumb = layout.thumb;
        if (!themed) {
            FillRect(dc, &thumb, GetSysColorBrush(FDragging ? COLOR_3DLIGHT : COLOR_BTNFACE));
            DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT);
            return;
        }
        DWORD style = Style();
        int part;
        if ((style & TBS_BOTH) || (style & TBS_NOTICKS))
            part = layout.vertical ? TKP_THUMBVERT : TKP_THUMB;
        else if (style & TBS_TOP)
            part = layout.vertical ? TKP_THUMBLEFT : TKP_THUMBTOP;
        else
            part = layout.vertical ? TKP_THUMBRIGHT : TKP_THUMBBOTTOM;
        int state = !IsWindowEnabled(FHwnd) ? TUS_DISABLED
                    : FDragging             ? TUS_PRESSED
                    : GetFocus() == FHwnd   ? TUS_FOCUSED
                                            : TUS_NORMAL;
        DrawThemeBackground(FTheme, dc, part, state, &thumb, nullptr);
    }

    HWND FHwnd;
    ControlTheme FTheme{u"Trackbar"};
    int FMin = 0;
    int FMax = 100;
    int FPos = 0;
    int FLineSize = 1;
    int FPageSize = 20;
    bool FPageSizeSet = false; // TBM_SETPAGESIZE was used: the range no longer sets the page
    int FTicFreq = 1;
    std::vector<int> FTics; // set by TBM_SETTIC, in order
    int FSelStart = 0;
    int FSelEnd = 0;
    int FThumbLength = 0; // 0: the length the style gives
    bool FDragging = false;
    int FDragOffset = 0;  // from the thumb's centre to where it was caught
    bool FPaging = false; // a click on the channel is held
    bool FPageForward = false;
    POINT FLast{}; // where the mouse is now
};

LRESULT TrackBarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* bar = ControlState<TrackBarControl>(hwnd, message, [&] { return new TrackBarControl(hwnd); });
    if (!bar)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const bool redraw = wParam != 0;
    const int value = static_cast<int>(lParam);
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
        bar->WMLButtonUp();
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
        bar->Invalidate();
        return 0;
    case TBM_GETPOS:
        return bar->TBMGetPos();
    case TBM_SETPOS:
        bar->TBMSetPos(redraw, value);
        return 0;
    case TBM_SETRANGE:
        bar->TBMSetRange(redraw, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case TBM_SETRANGEMIN:
        bar->TBMSetRangeMin(redraw, value);
        return 0;
    case TBM_SETRANGEMAX:
        bar->TBMSetRangeMax(redraw, value);
        return 0;
    case TBM_GETRANGEMIN:
        return bar->TBMGetRangeMin();
    case TBM_GETRANGEMAX:
        return bar->TBMGetRangeMax();
    case TBM_SETTIC:
        return bar->TBMSetTic(value);
    case TBM_GETTIC:
        return bar->TBMGetTic(static_cast<int>(wParam));
    case TBM_CLEARTICS:
        bar->TBMClearTics(redraw);
        return 0;
    case TBM_GETNUMTICS:
        return bar->TBMGetNumTics();
    case TBM_SETTICFREQ:
        bar->TBMSetTicFreq(static_cast<int>(wParam));
        return 0;
    case TBM_SETPAGESIZE:
        return bar->TBMSetPageSize(value);
    case TBM_GETPAGESIZE:
        return bar->TBMGetPageSize();
    case TBM_SETLINESIZE:
        return bar->TBMSetLineSize(value);
    case TBM_GETLINESIZE:
        return bar->TBMGetLineSize();
    case TBM_SETSEL:
        bar->TBMSetSel(redraw, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case TBM_SETSELSTART:
        bar->TBMSetSelStart(redraw, value);
        return 0;
    case TBM_SETSELEND:
        bar->TBMSetSelEnd(redraw, value);
        return 0;
    case TBM_GETSELSTART:
        return bar->TBMGetSelStart();
    case TBM_GETSELEND:
        return bar->TBMGetSelEnd();
    case TBM_CLEARSEL:
        bar->TBMSetSel(redraw, 0, 0);
        return 0;
    case TBM_GETTHUMBRECT:
        bar->TBMGetThumbRect(reinterpret_cast<RECT*>(lParam));
        return 0;
    case TBM_GETCHANNELRECT:
        bar->TBMGetChannelRect(reinterpret_cast<RECT*>(lParam));
        return 0;
    case TBM_SETTHUMBLENGTH:
        bar->TBMSetThumbLength(static_cast<int>(wParam));
        return 0;
    case TBM_GETTHUMBLENGTH:
        return bar->TBMGetThumbLength();
    default:
        if (message >= TBM_GETPOS && message <= TBM_GETBUDDY)
            ZFIXME(TraceTrackBar, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterTrackBarClass() {
    RegisterControlClass(TRACKBAR_CLASSW, TrackBarWndProc,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

} // namespace win32::controls
