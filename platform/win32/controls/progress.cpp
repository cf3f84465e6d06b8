// The progress bar window class: a position in a range shown as a growing bar of chunks (or one smooth
// bar), across or upwards, in the classic and the themed look.
#include <algorithm>

#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceProgress("progress");

constexpr int ChunkGap = 2;

class Progress {
public:
    explicit Progress(HWND hwnd) : FHwnd(hwnd) {}

    LRESULT PBMSetRange(int low, int high);
    LRESULT PBMGetRange(bool wantLow, PBRANGE* range) const;
    LRESULT PBMSetPos(int pos);
    LRESULT PBMDeltaPos(int delta) { return PBMSetPos(FPos + delta); }
    LRESULT PBMSetStep(int step);
    LRESULT PBMGetStep() const { return FStep; }
    LRESULT PBMStepIt();
    LRESULT PBMGetPos() const { return FPos; }
    LRESULT PBMSetBarColor(COLORREF color) { return SetColor(FBarColor, color); }
    LRESULT PBMSetBkColor(COLORREF color) { return SetColor(FBkColor, color); }
    LRESULT PBMGetBarColor() const { return static_cast<LRESULT>(FBarColor); }
    LRESULT PBMGetBkColor() const { return static_cast<LRESULT>(FBkColor); }
    LRESULT WMPaint(HDC given);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    LRESULT SetColor(COLORREF& field, COLORREF color);
    void Paint(HDC dc);

    HWND FHwnd;
    int FLow = 0;
    int FHigh = 100;
    int FPos = 0;
    int FStep = 10;
    COLORREF FBarColor = CLR_DEFAULT;
    COLORREF FBkColor = CLR_DEFAULT;
};

// Answers the old range as two words (low, high), which is all the 16-bit form can hold.
LRESULT Progress::PBMSetRange(int low, int high) {
    LRESULT old = MAKELRESULT(static_cast<WORD>(FLow), static_cast<WORD>(FHigh));
    if (low != FLow || high != FHigh) {
        FLow = low;
        FHigh = high;
        FPos = std::clamp(FPos, std::min(FLow, FHigh), std::max(FLow, FHigh));
        InvalidateRect(FHwnd, nullptr, TRUE);
    }
    return old;
}

LRESULT Progress::PBMGetRange(bool wantLow, PBRANGE* range) const {
    if (range) {
        range->iLow = FLow;
        range->iHigh = FHigh;
    }
    return wantLow ? FLow : FHigh;
}

LRESULT Progress::PBMSetPos(int pos) {
    int old = FPos;
    FPos = std::clamp(pos, std::min(FLow, FHigh), std::max(FLow, FHigh));
    if (FPos != old)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return old;
}

LRESULT Progress::PBMSetStep(int step) {
    int old = FStep;
    FStep = step;
    return old;
}

// Past the end the bar starts again from the beginning, by what was left over.
LRESULT Progress::PBMStepIt() {
    int old = FPos;
    long long pos = static_cast<long long>(FPos) + FStep;
    long long span = static_cast<long long>(FHigh) - FLow;
    if (span > 0 && pos > FHigh)
        pos = FLow + (pos - FLow) % span;
    else if (span > 0 && pos < FLow)
        pos = FHigh - (FHigh - pos) % span;
    FPos = static_cast<int>(std::clamp<long long>(pos, std::min(FLow, FHigh), std::max(FLow, FHigh)));
    if (FPos != old)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return old;
}

LRESULT Progress::SetColor(COLORREF& field, COLORREF color) {
    COLORREF old = field;
    field = color;
    InvalidateRect(FHwnd, nullptr, TRUE);
    return static_cast<LRESULT>(old);
}

void Progress::Paint(HDC dc) {
    RECT client;
    GetClientRect(FHwnd, &client);
    bool vertical = (Style() & PBS_VERTICAL) != 0;
    bool smooth = (Style() & PBS_SMOOTH) != 0;
    PaintTheme theme(FHwnd, u"Progress",
                     GetSystemSettings().themesActive && FBarColor == CLR_DEFAULT && FBkColor == CLR_DEFAULT);
    RECT inner = client;
    if (theme) {
        DrawThemeBackground(theme, dc, vertical ? PP_BARVERT : PP_BAR, 0, &client, nullptr);
        GetThemeBackgroundContentRect(theme, dc, vertical ? PP_BARVERT : PP_BAR, 0, &client, &inner);
    } else {
        HBRUSH back = FBkColor == CLR_DEFAULT ? GetSysColorBrush(COLOR_3DFACE) : CreateSolidBrush(FBkColor);
        FillRect(dc, &client, back);
        if (FBkColor != CLR_DEFAULT)
            DeleteObject(back);
        RECT edge = client;
        DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        InflateRect(&inner, -2, -2);
    }
    long long span = static_cast<long long>(FHigh) - FLow;
    int length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
    int filled = span > 0 ? static_cast<int>((static_cast<long long>(FPos) - FLow) * length / span) : 0;
    auto fillPart = [&](int from, int to) {
        RECT part = vertical ? RECT{inner.left, inner.bottom - to, inner.right, inner.bottom - from}
                             : RECT{inner.left + from, inner.top, inner.left + to, inner.bottom};
        if (theme) {
            int piece = smooth ? (vertical ? PP_FILLVERT : PP_FILL) : (vertical ? PP_CHUNKVERT : PP_CHUNK);
            DrawThemeBackground(theme, dc, piece, 1, &part, nullptr);
            return;
        }
        HBRUSH bar =
            FBarColor == CLR_DEFAULT ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(FBarColor);
        FillRect(dc, &part, bar);
        if (FBarColor != CLR_DEFAULT)
            DeleteObject(bar);
    };
    if (smooth) {
        if (filled > 0)
            fillPart(0, filled);
    } else {
        // Chunks two thirds as wide as the bar is high; the last one may stand out past the position.
        int thickness = vertical ? inner.right - inner.left : inner.bottom - inner.top;
        int chunk = std::max(1, thickness * 2 / 3);
        for (int at = 0; at < filled; at += chunk + ChunkGap)
            fillPart(at, std::min(at + chunk, length));
    }
}

LRESULT Progress::WMPaint(HDC given) {
    PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    return 0;
}

LRESULT ProgressWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Progress* bar = ControlState<Progress>(hwnd, message, [&] { return new Progress(hwnd); });
    if (!bar)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return bar->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
    case PBM_SETRANGE:
        return bar->PBMSetRange(static_cast<WORD>(LOWORD(lParam)), static_cast<WORD>(HIWORD(lParam)));
    case PBM_SETRANGE32:
        return bar->PBMSetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
        return bar->PBMGetRange(wParam != 0, reinterpret_cast<PBRANGE*>(lParam));
    case PBM_SETPOS:
        return bar->PBMSetPos(static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return bar->PBMDeltaPos(static_cast<int>(wParam));
    case PBM_SETSTEP:
        return bar->PBMSetStep(static_cast<int>(wParam));
    case PBM_GETSTEP:
        return bar->PBMGetStep();
    case PBM_STEPIT:
        return bar->PBMStepIt();
    case PBM_GETPOS:
        return bar->PBMGetPos();
    case PBM_SETBARCOLOR:
        return bar->PBMSetBarColor(static_cast<COLORREF>(lParam));
    case PBM_SETBKCOLOR:
        return bar->PBMSetBkColor(static_cast<COLORREF>(lParam));
    case PBM_GETBARCOLOR:
        return bar->PBMGetBarColor();
    case PBM_GETBKCOLOR:
        return bar->PBMGetBkColor();
    default:
        if (message >= WM_USER && message < WM_USER + 32)
            ZFIXME(TraceProgress, "%p: message %#x is not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterProgressClass() {
    RegisterControlClass(PROGRESS_CLASSW, ProgressWndProc, CS_GLOBALCLASS | CS_VREDRAW | CS_HREDRAW);
}

} // namespace win32::controls
