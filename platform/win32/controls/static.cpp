// The STATIC window class: text (wrapped, single-line, with ellipses), icons and bitmaps, filled and
// framed rectangles, etched lines and frames, owner-drawn statics, and clicks told to the parent with
// SS_NOTIFY.
#include "platform/rtl/Trace.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/winbutton.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceStatic("static");

SIZE ImageSize(UINT type, void* image) {
    SIZE size{};
    if (!image)
        return size;
    BITMAP info{};
    if (type == IMAGE_BITMAP) {
        if (GetObjectW(static_cast<HBITMAP>(image), sizeof info, &info))
            size = SIZE{info.bmWidth, info.bmHeight};
        return size;
    }
    ICONINFO icon{};
    if (!GetIconInfo(static_cast<HICON>(image), &icon))
        return size;
    HBITMAP bitmap = icon.hbmColor ? icon.hbmColor : icon.hbmMask;
    if (bitmap && GetObjectW(bitmap, sizeof info, &info))
        size = SIZE{info.bmWidth, icon.hbmColor ? info.bmHeight : info.bmHeight / 2};
    if (icon.hbmColor)
        DeleteObject(icon.hbmColor);
    if (icon.hbmMask)
        DeleteObject(icon.hbmMask);
    return size;
}

class Static {
public:
    explicit Static(HWND hwnd) : FHwnd(hwnd) {}

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    DWORD Type() const { return Style() & SS_TYPEMASK; }
    bool Notifies() const { return (Style() & SS_NOTIFY) != 0; }

    LRESULT WMNcHitTest() const { return Notifies() ? HTCLIENT : HTTRANSPARENT; }

    void WMLButtonDown() {
        if (Notifies())
            Notify(STN_CLICKED);
    }
    void WMLButtonDblClk() {
        if (Notifies())
            Notify(STN_DBLCLK);
    }
    void WMEnable(bool enabled) {
        if (Notifies())
            Notify(enabled ? STN_ENABLE : STN_DISABLE);
        Invalidate();
    }

    LRESULT WMSetText(LPARAM text) {
        LRESULT result = DefWindowProcW(FHwnd, WM_SETTEXT, 0, text);
        Invalidate();
        return result;
    }

    void WMSetFont(HFONT font, bool redraw) {
        FFont = font;
        if (redraw)
            Invalidate();
    }
    HFONT WMGetFont() const { return FFont; }

    // An image of the wrong kind for the style is refused (0), as Win32 does.
    LRESULT STMSetImage(UINT type, void* image) {
        DWORD style = Type();
        bool fits = (type == IMAGE_BITMAP && style == SS_BITMAP) ||
                    ((type == IMAGE_ICON || type == IMAGE_CURSOR) && style == SS_ICON);
        if (!fits)
            return 0;
        void* old = FImage;
        FImage = image;
        FImageType = type == IMAGE_CURSOR ? IMAGE_ICON : type;
        // The control takes the image's size unless it keeps its own.
        if (image && !(Style() & (SS_CENTERIMAGE | SS_REALSIZECONTROL))) {
            SIZE size = ImageSize(FImageType, image);
            if (size.cx > 0 && size.cy > 0)
                SetWindowPos(FHwnd, nullptr, 0, 0, size.cx, size.cy,
                             SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
        }
        Invalidate();
        return reinterpret_cast<LRESULT>(old);
    }

    LRESULT STMGetImage(UINT type) const {
        bool asked = (type == IMAGE_BITMAP) == (FImageType == IMAGE_BITMAP);
        return asked ? reinterpret_cast<LRESULT>(FImage) : 0;
    }

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

private:
    void Notify(WORD code) { NotifyCommand(FHwnd, GetParent(FHwnd), code); }

    String Text() const {
        int length = GetWindowTextLengthW(FHwnd);
        String text(static_cast<std::size_t>(length) + 1, u'\0');
        GetWindowTextW(FHwnd, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    UINT TextFormat() const {
        DWORD style = Style();
        UINT format = 0;
        switch (Type()) {
        case SS_CENTER:
            format = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            format = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        case SS_SIMPLE:
            format = DT_LEFT | DT_SINGLELINE;
            break;
        case SS_LEFTNOWORDWRAP:
            format = DT_LEFT | DT_EXPANDTABS;
            break;
        default:
            format = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
            break;
        }
        if (style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        if (Type() == SS_SIMPLE)
            return format;
        if (style & SS_CENTERIMAGE)
            format |= DT_SINGLELINE | DT_VCENTER;
        if (style & SS_EDITCONTROL)
            format |= DT_EDITCONTROL;
        // The ellipsis kinds share two bits: word is both, so they are told apart as a value.
        switch (style & SS_ELLIPSISMASK) {
        case SS_ENDELLIPSIS:
            format |= DT_SINGLELINE | DT_END_ELLIPSIS;
            break;
        case SS_PATHELLIPSIS:
            format |= DT_SINGLELINE | DT_PATH_ELLIPSIS;
            break;
        case SS_WORDELLIPSIS:
            format |= DT_SINGLELINE | DT_WORD_ELLIPSIS;
            break;
        default:
            break;
        }
        return format;
    }

    HBRUSH Background(HDC dc) const { return ControlColor(FHwnd, GetParent(FHwnd), dc, WM_CTLCOLORSTATIC); }

    void Paint(HDC dc) {
        RECT client;
        GetClientRect(FHwnd, &client);
        switch (Type()) {
        case SS_BLACKRECT:
            FillRect(dc, &client, GetSysColorBrush(COLOR_3DDKSHADOW));
            break;
        case SS_GRAYRECT:
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
            break;
        case SS_WHITERECT:
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            break;
        case SS_BLACKFRAME:
            FrameRect(dc, &client, GetSysColorBrush(COLOR_3DDKSHADOW));
            break;
        case SS_GRAYFRAME:
            FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
            break;
        case SS_WHITEFRAME:
            FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            break;
        case SS_ETCHEDHORZ:
            DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
            break;
        case SS_ETCHEDVERT:
            DrawEdge(dc, &client, EDGE_ETCHED, BF_LEFT);
            break;
        case SS_ETCHEDFRAME:
            DrawEdge(dc, &client, EDGE_ETCHED, BF_RECT);
            break;
        case SS_OWNERDRAW:
            PaintOwnerDrawn(dc, client);
            break;
        case SS_ICON:
        case SS_BITMAP:
            PaintImage(dc, client);
            break;
        default:
            PaintText(dc, client);
            break;
        }
        if (Style() & SS_SUNKEN)
            DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    }

    void PaintText(HDC dc, RECT client) {
        HBRUSH brush = Background(dc);
        if (brush)
            FillRect(dc, &client, brush);
        String text = Text();
        if (text.empty())
            return;
        SelectGuard font(dc, ControlFont(FFont));
        SetBkMode(dc, TRANSPARENT);
        if (!IsWindowEnabled(FHwnd))
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, TextFormat());
    }

    void PaintImage(HDC dc, RECT client) {
        HBRUSH brush = Background(dc);
        if (brush)
            FillRect(dc, &client, brush);
        if (!FImage)
            return;
        SIZE size = ImageSize(FImageType, FImage);
        int x = client.left;
        int y = client.top;
        if (Style() & SS_CENTERIMAGE) {
            x += (client.right - client.left - size.cx) / 2;
            y += (client.bottom - client.top - size.cy) / 2;
        }
        if (FImageType == IMAGE_ICON) {
            DrawIconEx(dc, x, y, static_cast<HICON>(FImage), size.cx, size.cy, 0, nullptr, DI_NORMAL);
            return;
        }
        HDC memory = CreateCompatibleDC(dc);
        {
            SelectGuard select(memory, static_cast<HBITMAP>(FImage));
            BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
        }
        DeleteDC(memory);
    }

    void PaintOwnerDrawn(HDC dc, RECT client) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = static_cast<UINT>(GetWindowLongPtrW(FHwnd, GWLP_ID));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = IsWindowEnabled(FHwnd) ? 0 : ODS_DISABLED;
        item.hwndItem = FHwnd;
        item.hDC = dc;
        item.rcItem = client;
        Background(dc);
        SelectGuard font(dc, ControlFont(FFont));
        if (HWND parent = GetParent(FHwnd))
            SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }

    HWND FHwnd;
    HFONT FFont = nullptr;
    void* FImage = nullptr;
    UINT FImageType = IMAGE_BITMAP; // IMAGE_BITMAP or IMAGE_ICON (cursors draw as icons)
};

LRESULT StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Static* control = ControlState<Static>(hwnd, message, [&] { return new Static(hwnd); });
    if (!control)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_NCHITTEST:
        return control->WMNcHitTest();
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        control->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        control->WMLButtonDown();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        control->WMLButtonDblClk();
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_ENABLE:
        control->WMEnable(wParam != 0);
        return 0;
    case WM_SETTEXT:
        return control->WMSetText(lParam);
    case WM_SETFONT:
        control->WMSetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(control->WMGetFont());
    case STM_SETICON:
        return control->STMSetImage(IMAGE_ICON, reinterpret_cast<void*>(wParam));
    case STM_GETICON:
        return control->STMGetImage(IMAGE_ICON);
    case STM_SETIMAGE:
        return control->STMSetImage(static_cast<UINT>(wParam), reinterpret_cast<void*>(lParam));
    case STM_GETIMAGE:
        return control->STMGetImage(static_cast<UINT>(wParam));
    default:
        if (message >= STM_SETICON && message <= 0x017F)
            ZFIXME(TraceStatic, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass() {
    RegisterControlClass(StaticClassName, StaticWndProc, CS_DBLCLKS | CS_GLOBALCLASS);
}

} // namespace win32::controls
