// The status bar window class: a strip at the bottom of its parent split into parts with text (left,
// centred and right by tabs), owner-drawn parts, a simple mode with one part, and the size grip.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceStatus("statusbar");

constexpr int HorizontalBorder = 0;
constexpr int VerticalBorder = 2;
constexpr int PartGap = 2;   // between two parts
constexpr int TextInset = 3; // from a part's edge to its text
constexpr int MaxParts = 256;

struct Part {
    int right = -1; // the right edge as set; -1 runs to the end of the bar
    String text;
    UINT type = 0;   // SBT_* bits
    LPARAM data = 0; // what an owner-drawn part keeps instead of text
};

class StatusBar {
public:
    explicit StatusBar(HWND hwnd) : FHwnd(hwnd) { FParts.resize(1); }

    LRESULT WMCreate();
    LRESULT WMSize();
    LRESULT WMSetFont(HFONT font, bool redraw);
    LRESULT WMGetFont() const { return reinterpret_cast<LRESULT>(FFont); }
    LRESULT WMSetText(LPCWSTR text);
    LRESULT WMNcHitTest(POINT screen);
    LRESULT WMPaint(HDC given);
    LRESULT SBSetText(WPARAM which, LPARAM text);
    LRESULT SBGetText(WPARAM which, LPWSTR buffer) const;
    LRESULT SBGetTextLength(WPARAM which) const;
    LRESULT SBSetParts(int count, const int* edges);
    LRESULT SBGetParts(int count, int* edges) const;
    LRESULT SBGetBorders(int* borders) const;
    LRESULT SBSetMinHeight(int height);
    LRESULT SBSimple(bool simple);
    LRESULT SBIsSimple() const { return FSimple ? TRUE : FALSE; }
    LRESULT SBGetRect(WPARAM which, RECT* rect) const;
    LRESULT SBSetBkColor(COLORREF color);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool HasGrip() const { return (Style() & SBARS_SIZEGRIP) != 0; }
    const Part* PartOf(WPARAM which) const;
    Part* PartOf(WPARAM which) { return const_cast<Part*>(std::as_const(*this).PartOf(which)); }
    int Height() const;
    RECT PartRect(int index) const;
    RECT GripRect() const;
    void InvalidatePart(WPARAM which);
    void PaintPart(HDC dc, HTHEME theme, const Part& part, int index, RECT rect);

    HWND FHwnd;
    std::vector<Part> FParts;
    Part FSimplePart;
    bool FSimple = false;
    int FMinHeight = 0;
    HFONT FFont = nullptr;
    COLORREF FBkColor = CLR_DEFAULT;
};

// The simple part answers to SB_SIMPLEID in simple mode; a number past the parts finds nothing.
const Part* StatusBar::PartOf(WPARAM which) const {
    UINT index = static_cast<UINT>(which & 0xFF);
    if (index == SB_SIMPLEID)
        return &FSimplePart;
    if (FSimple)
        return nullptr;
    return index < FParts.size() ? &FParts[index] : nullptr;
}

int StatusBar::Height() const {
    int text = FontLineHeight(FFont ? FFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return std::max(FMinHeight, text + 2 * VerticalBorder) + 2 * VerticalBorder + 2;
}

// One function lays out the parts: painting, SB_GETRECT and hit testing read it.
RECT StatusBar::PartRect(int index) const {
    RECT client;
    GetClientRect(FHwnd, &client);
    RECT rect{HorizontalBorder, VerticalBorder, client.right, client.bottom - VerticalBorder};
    if (FSimple || index < 0)
        return rect;
    if (index > 0)
        rect.left = FParts[static_cast<std::size_t>(index) - 1].right + PartGap;
    int right = FParts[static_cast<std::size_t>(index)].right;
    rect.right = right < 0 ? client.right : std::min<int>(right, client.right);
    if (index > 0 && FParts[static_cast<std::size_t>(index) - 1].right < 0)
        rect.left = rect.right = client.right;
    return rect;
}

RECT StatusBar::GripRect() const {
    RECT client;
    GetClientRect(FHwnd, &client);
    int size = GetSystemMetrics(SM_CXVSCROLL);
    return RECT{client.right - size, client.bottom - size, client.right, client.bottom};
}

void StatusBar::InvalidatePart(WPARAM which) {
    if ((which & 0xFF) == SB_SIMPLEID || FSimple) {
        InvalidateRect(FHwnd, nullptr, TRUE);
        return;
    }
    RECT rect = PartRect(static_cast<int>(which & 0xFF));
    InvalidateRect(FHwnd, &rect, TRUE);
}

LRESULT StatusBar::WMCreate() {
    WMSize();
    return 0;
}

// The parent forwards its WM_SIZE; the bar then fits itself along the parent's bottom (or top with
// CCS_TOP) unless its styles keep it where it is.
LRESULT StatusBar::WMSize() {
    DWORD style = Style();
    if (style & (CCS_NORESIZE | CCS_NOPARENTALIGN))
        return 0;
    HWND parent = GetParent(FHwnd);
    if (!parent)
        return 0;
    RECT client;
    GetClientRect(parent, &client);
    int height = Height();
    int y = (style & CCS_BOTTOM) == CCS_TOP ? 0 : client.bottom - height;
    SetWindowPos(FHwnd, nullptr, 0, y, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT StatusBar::WMSetFont(HFONT font, bool redraw) {
    FFont = font;
    WMSize();
    if (redraw)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

// The window text is the first part's text.
LRESULT StatusBar::WMSetText(LPCWSTR text) {
    DefWindowProcW(FHwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (!FParts.empty()) {
        FParts[0].text = text ? String(text) : String();
        InvalidatePart(0);
    }
    return TRUE;
}

// The grip sizes the parent: its clicks go there as clicks on the parent's frame.
LRESULT StatusBar::WMNcHitTest(POINT screen) {
    if (HasGrip()) {
        POINT client = screen;
        ScreenToClient(FHwnd, &client);
        RECT grip = GripRect();
        if (PtInRect(&grip, client))
            return HTBOTTOMRIGHT;
    }
    return DefWindowProcW(FHwnd, WM_NCHITTEST, 0,
                          MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
}

LRESULT StatusBar::SBSetText(WPARAM which, LPARAM text) {
    Part* part = PartOf(which);
    if (!part)
        return FALSE;
    part->type = static_cast<UINT>(which) & 0xFF00;
    if (part->type & SBT_OWNERDRAW) {
        part->data = text;
        part->text.clear();
    } else {
        LPCWSTR chars = reinterpret_cast<LPCWSTR>(text);
        part->text = chars ? String(chars) : String();
        part->data = 0;
    }
    InvalidatePart(which);
    return TRUE;
}

// The length in the low word and the drawing kind in the high word; an owner-drawn part answers its data.
LRESULT StatusBar::SBGetText(WPARAM which, LPWSTR buffer) const {
    const Part* part = PartOf(which);
    if (!part)
        return 0;
    if (part->type & SBT_OWNERDRAW)
        return part->data;
    if (buffer) {
        std::copy(part->text.begin(), part->text.end(), buffer);
        buffer[part->text.size()] = 0;
    }
    return MAKELRESULT(static_cast<WORD>(part->text.size()), static_cast<WORD>(part->type));
}

LRESULT StatusBar::SBGetTextLength(WPARAM which) const {
    const Part* part = PartOf(which);
    if (!part)
        return 0;
    return MAKELRESULT(static_cast<WORD>(part->text.size()), static_cast<WORD>(part->type));
}

// Parts that stay keep their text.
LRESULT StatusBar::SBSetParts(int count, const int* edges) {
    if (count <= 0 || count > MaxParts || !edges)
        return FALSE;
    FParts.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        FParts[static_cast<std::size_t>(i)].right = edges[i];
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT StatusBar::SBGetParts(int count, int* edges) const {
    if (edges)
        for (int i = 0; i < std::min<int>(count, static_cast<int>(FParts.size())); ++i)
            edges[i] = FParts[static_cast<std::size_t>(i)].right;
    return static_cast<LRESULT>(FParts.size());
}

LRESULT StatusBar::SBGetBorders(int* borders) const {
    if (!borders)
        return FALSE;
    borders[0] = HorizontalBorder;
    borders[1] = VerticalBorder;
    borders[2] = PartGap;
    return TRUE;
}

LRESULT StatusBar::SBSetMinHeight(int height) {
    FMinHeight = std::max(0, height);
    WMSize();
    return 0;
}

LRESULT StatusBar::SBSimple(bool simple) {
    if (simple == FSimple)
        return 0;
    FSimple = simple;
    InvalidateRect(FHwnd, nullptr, TRUE);
    NMHDR header{};
    SendNotify(FHwnd, GetParent(FHwnd), header, SBN_SIMPLEMODECHANGE);
    return 0;
}

LRESULT StatusBar::SBGetRect(WPARAM which, RECT* rect) const {
    if (!rect)
        return FALSE;
    UINT index = static_cast<UINT>(which & 0xFF);
    if (FSimple ? index != SB_SIMPLEID && index != 0 : index >= FParts.size())
        return FALSE;
    *rect = PartRect(FSimple ? -1 : static_cast<int>(index));
    return TRUE;
}

LRESULT StatusBar::SBSetBkColor(COLORREF color) {
    COLORREF old = FBkColor;
    FBkColor = color;
    InvalidateRect(FHwnd, nullptr, TRUE);
    return static_cast<LRESULT>(old);
}

void StatusBar::PaintPart(HDC dc, HTHEME theme, const Part& part, int index, RECT rect) {
    if (rect.right <= rect.left)
        return;
    if (!(part.type & SBT_NOBORDERS)) {
        if (theme) {
            DrawThemeBackground(theme, dc, SP_PANE, 0, &rect, nullptr);
        } else {
            RECT edge = rect;
            DrawEdge(dc, &edge, (part.type & SBT_POPOUT) ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
        }
    }
    if (part.type & SBT_OWNERDRAW) {
        DRAWITEMSTRUCT item{};
        item.CtlID = static_cast<UINT>(GetWindowLongPtrW(FHwnd, GWLP_ID));
        item.itemID = static_cast<UINT>(index);
        item.hwndItem = FHwnd;
        item.hDC = dc;
        item.rcItem = rect;
        item.itemData = static_cast<ULONG_PTR>(part.data);
        SendMessageW(GetParent(FHwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return;
    }
    // Tabs split the text into a left, a centred and a right piece.
    String pieces[3];
    int piece = 0;
    for (Char c : part.text) {
        if (c == u'\t' && !(part.type & SBT_NOTABPARSING) && piece < 2)
            ++piece;
        else
            pieces[piece] += c;
    }
    RECT textRect{rect.left + TextInset, rect.top + 1, rect.right - TextInset, rect.bottom - 1};
    static const UINT aligns[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (int i = 0; i < 3; ++i)
        if (!pieces[i].empty())
            DrawTextW(dc, pieces[i].c_str(), static_cast<int>(pieces[i].size()), &textRect,
                      aligns[i] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT StatusBar::WMPaint(HDC given) {
    PaintControl(FHwnd, given, [this](HDC dc) {
        RECT client;
        GetClientRect(FHwnd, &client);
        PaintTheme theme(FHwnd, u"Status", GetSystemSettings().themesActive);
        if (FBkColor != CLR_DEFAULT) {
            HBRUSH brush = CreateSolidBrush(FBkColor);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
        } else if (theme) {
            DrawThemeBackground(theme, dc, 0, 0, &client, nullptr);
        } else {
            FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
        }
        SelectGuard font(dc, FFont ? FFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        if (FSimple) {
            PaintPart(dc, theme, FSimplePart, SB_SIMPLEID, PartRect(-1));
        } else {
            for (std::size_t i = 0; i < FParts.size(); ++i)
                PaintPart(dc, theme, FParts[i], static_cast<int>(i), PartRect(static_cast<int>(i)));
        }
        if (HasGrip()) {
            RECT grip = GripRect();
            if (theme)
                DrawThemeBackground(theme, dc, SP_GRIPPER, 0, &grip, nullptr);
            else
                DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
        }
    });
    return 0;
}

LRESULT StatusWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    StatusBar* bar = ControlState<StatusBar>(hwnd, message, [&] { return new StatusBar(hwnd); });
    if (!bar)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return bar->WMCreate();
    case WM_SIZE:
        return bar->WMSize();
    case WM_SETFONT:
        return bar->WMSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT:
        return bar->WMGetFont();
    case WM_SETTEXT:
        return bar->WMSetText(reinterpret_cast<LPCWSTR>(lParam));
    case WM_NCHITTEST:
        return bar->WMNcHitTest(PointOf(lParam));
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
        // Frame clicks (the grip) belong to the parent, which sizes itself.
        if (wParam == HTBOTTOMRIGHT) {
            PostMessageW(GetParent(hwnd), message, wParam, lParam);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return bar->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
    case SB_SETTEXTW:
        return bar->SBSetText(wParam, lParam);
    case SB_GETTEXTW:
        return bar->SBGetText(wParam, reinterpret_cast<LPWSTR>(lParam));
    case SB_GETTEXTLENGTHW:
        return bar->SBGetTextLength(wParam);
    case SB_SETPARTS:
        return bar->SBSetParts(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
    case SB_GETPARTS:
        return bar->SBGetParts(static_cast<int>(wParam), reinterpret_cast<int*>(lParam));
    case SB_GETBORDERS:
        return bar->SBGetBorders(reinterpret_cast<int*>(lParam));
    case SB_SETMINHEIGHT:
        return bar->SBSetMinHeight(static_cast<int>(wParam));
    case SB_SIMPLE:
        return bar->SBSimple(wParam != 0);
    case SB_ISSIMPLE:
        return bar->SBIsSimple();
    case SB_GETRECT:
        return bar->SBGetRect(wParam, reinterpret_cast<RECT*>(lParam));
    case SB_SETBKCOLOR:
        return bar->SBSetBkColor(static_cast<COLORREF>(lParam));
    default:
        if (message >= WM_USER && message < WM_USER + 32)
            ZFIXME(TraceStatus, "%p: message %#x is not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterStatusClass() {
    RegisterControlClass(STATUSCLASSNAMEW, StatusWndProc,
                         CS_DBLCLKS | CS_GLOBALCLASS | CS_VREDRAW | CS_HREDRAW);
}

} // namespace win32::controls
