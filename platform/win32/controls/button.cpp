// The BUTTON window class: push and default push buttons, check boxes (two and three states, automatic
// or not), radio buttons (automatic ones keep their group to one checked), group boxes and owner-drawn
// buttons, pressed by the mouse or the space bar, drawn themed or classic.
#include <algorithm>
#include <vector>

#include "platform/rtl/Trace.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winbutton.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceButton("button");

constexpr int CheckBoxSize = 13;
constexpr int CheckGap = 4; // between the box and the text
constexpr int GroupTextIndent = 8;

// Set while the mouse button or the space bar holds the button down (beyond BST_ states).
constexpr LRESULT BtnPressed = 0x0100;

enum class Kind { Push, Check, Radio, Group, Owner };

Kind KindOf(DWORD type) {
    switch (type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return Kind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return Kind::Radio;
    case BS_GROUPBOX:
        return Kind::Group;
    case BS_OWNERDRAW:
        return Kind::Owner;
    default:
        return Kind::Push;
    }
}

// Where the parts of a button go, from its style, state and font.
struct ButtonLayout {
    RECT box{};   // the check box or radio circle
    RECT text{};  // where the caption is drawn
    RECT focus{}; // the focus rectangle
    RECT frame{}; // a group box's frame
};

class Button {
public:
    explicit Button(HWND hwnd) : FHwnd(hwnd) {}

    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    DWORD Type() const { return Style() & BS_TYPEMASK; }

    void WMCreate() { FTheme.Open(FHwnd); }
    void WMDestroy() { FTheme.Close(); }
    void WMThemeChanged() {
        FTheme.Open(FHwnd);
        Invalidate();
    }

    LRESULT WMGetDlgCode() const {
        switch (Type()) {
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
        case BS_USERBUTTON:
        case BS_PUSHBOX:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
        }
    }

    LRESULT BMGetCheck() const {
        Kind kind = KindOf(Type());
        return (kind == Kind::Check || kind == Kind::Radio) ? (FState & 3) : BST_UNCHECKED;
    }

    void BMSetCheck(WPARAM check) {
        DWORD type = Type();
        Kind kind = KindOf(type);
        if (kind != Kind::Check && kind != Kind::Radio)
            return;
        LRESULT most = (type == BS_3STATE || type == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
        LRESULT value = std::min<LRESULT>(static_cast<LRESULT>(check & 3), most);
        if ((FState & 3) != value) {
            FState = (FState & ~3) | value;
            Invalidate();
        }
        if (type == BS_AUTORADIOBUTTON && value == BST_CHECKED)
            UncheckGroup();
    }

    LRESULT BMGetState() const { return FState & (3 | BST_PUSHED | BST_FOCUS | BST_HOT); }

    void BMSetState(bool pushed) {
        bool was = (FState & BST_PUSHED) != 0;
        if (was == pushed)
            return;
        FState = pushed ? (FState | BST_PUSHED) : (FState & ~BST_PUSHED);
        if (Type() == BS_USERBUTTON || (Style() & BS_NOTIFY))
            Notify(pushed ? BN_HILITE : BN_UNHILITE);
        Invalidate();
    }

    void BMSetStyle(WPARAM style, bool redraw) {
        DWORD newStyle = (Style() & ~BS_TYPEMASK) | (static_cast<DWORD>(style) & BS_TYPEMASK);
        SetWindowLongW(FHwnd, GWL_STYLE, static_cast<LONG>(newStyle));
        if (redraw)
            Invalidate();
    }

    void BMClick() {
        if (!IsWindowEnabled(FHwnd))
            return;
        SendMessageW(FHwnd, WM_LBUTTONDOWN, 0, 0);
        SendMessageW(FHwnd, WM_LBUTTONUP, 0, 0);
    }

    LRESULT BMSetImage(WPARAM type, void* image) {
        void* old = type == IMAGE_ICON ? FIcon : FBitmap;
        (type == IMAGE_ICON ? FIcon : FBitmap) = image;
        Invalidate();
        return reinterpret_cast<LRESULT>(old);
    }
    LRESULT BMGetImage(WPARAM type) const {
        return reinterpret_cast<LRESULT>(type == IMAGE_ICON ? FIcon : FBitmap);
    }

    void WMLButtonDblClk(POINT point) {
        DWORD type = Type();
        if ((Style() & BS_NOTIFY) || type == BS_RADIOBUTTON || type == BS_USERBUTTON ||
            type == BS_OWNERDRAW) {
            Notify(BN_DOUBLECLICKED);
            return;
        }
        WMLButtonDown(point);
    }

    void WMLButtonDown(POINT) {
        if (Type() == BS_GROUPBOX)
            return;
        SetCapture(FHwnd);
        SetFocus(FHwnd);
        FState |= BtnPressed;
        SendMessageW(FHwnd, BM_SETSTATE, TRUE, 0);
    }

    void WMLButtonUp(POINT point) { Release(PointInClient(point)); }

    void WMMouseMove(POINT point) {
        // The mouse over the button makes it hot until it leaves.
        if (!(FState & BST_HOT) && PointInClient(point)) {
            FState |= BST_HOT;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FHwnd, 0};
            TrackMouseEvent(&track);
            Invalidate();
        }
        if ((FState & BtnPressed) && GetCapture() == FHwnd)
            SendMessageW(FHwnd, BM_SETSTATE, PointInClient(point), 0);
    }

    void WMMouseLeave() {
        if (!(FState & BST_HOT))
            return;
        FState &= ~BST_HOT;
        Invalidate();
    }

    void WMKeyDown(WPARAM key, LPARAM flags) {
        if (key != VK_SPACE || Type() == BS_GROUPBOX || (flags & KF_REPEAT_BIT))
            return;
        if (FState & BtnPressed)
            return;
        SendMessageW(FHwnd, BM_SETSTATE, TRUE, 0);
        FState |= BtnPressed;
        SetCapture(FHwnd);
    }

    void WMKeyUp(WPARAM key) {
        if (key == VK_SPACE)
            Release(true);
    }

    void WMCaptureChanged() {
        // Losing the capture elsewhere (another window took it) cancels the press without a click.
        if (FState & BtnPressed) {
            FState &= ~BtnPressed;
            SendMessageW(FHwnd, BM_SETSTATE, FALSE, 0);
        }
    }

    void WMSetFocus() {
        FState |= BST_FOCUS;
        Invalidate();
        if (Style() & BS_NOTIFY)
            Notify(BN_SETFOCUS);
        // A radio button reached by the keyboard (not held by the mouse) tells its parent, which checks
        // it: the arrows in a group move the check with the focus.
        if (KindOf(Type()) == Kind::Radio && !(FState & BST_CHECKED) && GetCapture() != FHwnd)
            Notify(BN_CLICKED);
    }

    void WMKillFocus() {
        FState &= ~BST_FOCUS;
        if ((FState & BtnPressed) && GetCapture() == FHwnd)
            ReleaseCapture();
        if (Style() & BS_NOTIFY)
            Notify(BN_KILLFOCUS);
        Invalidate();
    }

    // A group box lets the mouse through to the controls inside it.
    LRESULT WMNcHitTest(WPARAM wParam, LPARAM lParam) {
        if (Type() == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProcW(FHwnd, WM_NCHITTEST, wParam, lParam);
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

    void Invalidate() { InvalidateRect(FHwnd, nullptr, TRUE); }

    void WMPaint(HDC given) {
        PaintControl(FHwnd, given, [this](HDC dc) { Paint(dc); });
    }

private:
    bool PointInClient(POINT point) const {
        RECT client;
        GetClientRect(FHwnd, &client);
        return PtInRect(&client, point) != FALSE;
    }

    // The end of a press: a release over the button clicks it.
    void Release(bool inside) {
        if (!(FState & BtnPressed))
            return;
        FState &= ~BtnPressed;
        if (!(FState & BST_PUSHED) || !inside) {
            if (FState & BST_PUSHED)
                SendMessageW(FHwnd, BM_SETSTATE, FALSE, 0);
            if (GetCapture() == FHwnd)
                ReleaseCapture();
            return;
        }
        SendMessageW(FHwnd, BM_SETSTATE, FALSE, 0);
        switch (Type()) {
        case BS_AUTOCHECKBOX:
            SendMessageW(FHwnd, BM_SETCHECK, (FState & BST_CHECKED) ? 0 : 1, 0);
            break;
        case BS_AUTORADIOBUTTON:
            SendMessageW(FHwnd, BM_SETCHECK, BST_CHECKED, 0);
            break;
        case BS_AUTO3STATE:
            SendMessageW(FHwnd, BM_SETCHECK, (FState & BST_INDETERMINATE) ? 0 : (FState & 3) + 1, 0);
            break;
        default:
            break;
        }
        if (GetCapture() == FHwnd)
            ReleaseCapture();
        Notify(BN_CLICKED);
    }

    void Notify(WORD code) { NotifyCommand(FHwnd, GetParent(FHwnd), code); }

    // The other automatic radio buttons of the group (from the sibling with WS_GROUP up to the next one).
    void UncheckGroup() {
        HWND parent = GetParent(FHwnd);
        if (!parent || !(Style() & WS_CHILD))
            return;
        std::vector<HWND> group;
        bool mine = false;
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongW(child, GWL_STYLE) & WS_GROUP) && !group.empty()) {
                if (mine)
                    break;
                group.clear();
            }
            group.push_back(child);
            mine = mine || child == FHwnd;
        }
        for (HWND sibling : group) {
            if (sibling == FHwnd)
                continue;
            Char className[16]{};
            GetClassNameW(sibling, className, 16);
            if (String(className) != u"Button" ||
                (GetWindowLongW(sibling, GWL_STYLE) & BS_TYPEMASK) != BS_AUTORADIOBUTTON)
                continue;
            if (SendMessageW(sibling, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
                SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }

    String Text() const {
        int length = GetWindowTextLengthW(FHwnd);
        String text(static_cast<std::size_t>(length) + 1, u'\0');
        GetWindowTextW(FHwnd, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    UINT TextFormat() const {
        DWORD style = Style();
        UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
        Kind kind = KindOf(Type());
        DWORD horizontal = style & BS_CENTER;
        if (!horizontal)
            horizontal = (kind == Kind::Push || (style & BS_PUSHLIKE)) ? BS_CENTER : BS_LEFT;
        format |= horizontal == BS_CENTER ? DT_CENTER : horizontal == BS_RIGHT ? DT_RIGHT : DT_LEFT;
        DWORD vertical = style & BS_VCENTER;
        if (!(style & BS_MULTILINE) || vertical) {
            if (vertical == BS_TOP)
                format |= DT_TOP;
            else if (vertical == BS_BOTTOM)
                format |= DT_BOTTOM;
            else
                format |= DT_VCENTER;
        }
        return format;
    }

    ButtonLayout Layout(HDC dc) const {
        ButtonLayout layout;
        RECT client;
        GetClientRect(FHwnd, &client);
        Kind kind = KindOf(Type());
        if (Style() & BS_PUSHLIKE)
            kind = Kind::Push;
        switch (kind) {
        case Kind::Push:
        case Kind::Owner:
            layout.text = client;
            InflateRect(&layout.text, -4, -4);
            layout.focus = client;
            InflateRect(&layout.focus, -3, -3);
            break;
        case Kind::Check:
        case Kind::Radio: {
            int top = client.top + (client.bottom - client.top - CheckBoxSize) / 2;
            bool right = (Style() & BS_LEFTTEXT) != 0;
            int left = right ? client.right - CheckBoxSize : client.left;
            layout.box = RECT{left, top, left + CheckBoxSize, top + CheckBoxSize};
            layout.text = client;
            if (right)
                layout.text.right -= CheckBoxSize + CheckGap;
            else
                layout.text.left += CheckBoxSize + CheckGap;
            // The focus goes round the caption only.
            String text = Text();
            RECT measured = layout.text;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, TextFormat() | DT_CALCRECT);
            int height = measured.bottom - measured.top;
            int width = std::min(measured.right - measured.left, layout.text.right - layout.text.left);
            int y = layout.text.top + (layout.text.bottom - layout.text.top - height) / 2;
            layout.focus = RECT{layout.text.left - 1, y - 1, layout.text.left + width + 1, y + height + 1};
            break;
        }
        case Kind::Group: {
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            layout.frame = client;
            layout.frame.top += tm.tmHeight / 2;
            String text = Text();
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            layout.text = RECT{client.left + GroupTextIndent, client.top,
                               client.left + GroupTextIndent + extent.cx, client.top + tm.tmHeight};
            break;
        }
        }
        return layout;
    }

    // The background comes from the parent (WM_CTLCOLORBTN for push buttons, WM_CTLCOLORSTATIC for the
    // others), which also sets the text colours.
    HBRUSH Background(HDC dc, Kind kind) const {
        return ControlColor(FHwnd, GetParent(FHwnd), dc,
                            kind == Kind::Push ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    }

    void Paint(HDC dc) {
        Kind kind = KindOf(Type());
        if (kind == Kind::Owner) {
            PaintOwnerDrawn(dc);
            return;
        }
        if (Style() & BS_PUSHLIKE)
            kind = Kind::Push;
        SelectGuard font(dc, ControlFont(FFont));
        RECT client;
        GetClientRect(FHwnd, &client);
        HBRUSH brush = Background(dc, kind);
        if (brush)
            FillRect(dc, &client, brush);
        ButtonLayout layout = Layout(dc);
        bool themed = FTheme && IsThemeActive();
        switch (kind) {
        case Kind::Push:
            themed ? PaintPushThemed(dc, client) : PaintPushClassic(dc, client);
            break;
        case Kind::Check:
        case Kind::Radio:
            themed ? PaintBoxThemed(dc, layout, kind) : PaintBoxClassic(dc, layout, kind);
            break;
        case Kind::Group:
            PaintGroup(dc, layout, themed, brush);
            break;
        case Kind::Owner:
            break;
        }
        if (kind != Kind::Group)
            PaintCaption(dc, layout, kind);
        if ((FState & BST_FOCUS) && kind != Kind::Group)
            DrawFocusRect(dc, &layout.focus);
    }

    bool Disabled() const { return !IsWindowEnabled(FHwnd); }
    bool Pushed() const { return (FState & BST_PUSHED) != 0; }
    bool Hot() const { return (FState & BST_HOT) != 0; }
    bool Default() const { return Type() == BS_DEFPUSHBUTTON; }

    void PaintPushClassic(HDC dc, RECT rect) {
        if (Default() || (FState & BST_FOCUS)) {
            FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&rect, -1, -1);
        }
        UINT state = DFCS_BUTTONPUSH | (Pushed() ? DFCS_PUSHED : 0) | (Disabled() ? DFCS_INACTIVE : 0);
        if (Pushed() && (Default() || (FState & BST_FOCUS))) {
            // A pressed default button is drawn flat with a shadow line, as Win32 draws it.
            FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
            RECT inner = rect;
            InflateRect(&inner, -1, -1);
            FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
            return;
        }
        DrawFrameControl(dc, &rect, DFC_BUTTON, state);
    }

    void PaintPushThemed(HDC dc, RECT rect) {
        int state = Disabled()  ? PBS_DISABLED
                    : Pushed()  ? PBS_PRESSED
                    : Hot()     ? PBS_HOT
                    : Default() ? PBS_DEFAULTED
                                : PBS_NORMAL;
        DrawThemeBackground(FTheme, dc, BP_PUSHBUTTON, state, &rect, nullptr);
    }

    UINT ClassicBoxState(Kind kind) const {
        DWORD type = Type();
        UINT state = kind == Kind::Radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
        if ((FState & 3) == BST_CHECKED)
            state |= DFCS_CHECKED;
        if ((FState & 3) == BST_INDETERMINATE && (type == BS_3STATE || type == BS_AUTO3STATE))
            state = DFCS_BUTTON3STATE | DFCS_CHECKED;
        if (Pushed())
            state |= DFCS_PUSHED;
        if (Disabled())
            state |= DFCS_INACTIVE;
        if (Style() & BS_FLAT)
            state |= DFCS_FLAT | (Hot() ? DFCS_HOT : 0);
        return state;
    }

    void PaintBoxClassic(HDC dc, const ButtonLayout& layout, Kind kind) {
        RECT box = layout.box;
        DrawFrameControl(dc, &box, DFC_BUTTON, ClassicBoxState(kind));
    }

    void PaintBoxThemed(HDC dc, const ButtonLayout& layout, Kind kind) {
        // Themed states count up from normal: hot, pressed, disabled, in blocks of four per check value.
        int offset = Disabled() ? 3 : Pushed() ? 2 : Hot() ? 1 : 0;
        int block = static_cast<int>(FState & 3) * 4;
        int state = (kind == Kind::Radio ? RBS_UNCHECKEDNORMAL : CBS_UNCHECKEDNORMAL) + block + offset;
        DrawThemeBackground(FTheme, dc, kind == Kind::Radio ? BP_RADIOBUTTON : BP_CHECKBOX, state,
                            &layout.box, nullptr);
    }

    void PaintGroup(HDC dc, const ButtonLayout& layout, bool themed, HBRUSH brush) {
        RECT frame = layout.frame;
        if (themed)
            DrawThemeBackground(FTheme, dc, BP_GROUPBOX, Disabled() ? GBS_DISABLED : GBS_NORMAL, &frame,
                                nullptr);
        else
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        String text = Text();
        if (text.empty())
            return;
        // The caption sits on the frame's top edge with the background behind it.
        RECT back = layout.text;
        InflateRect(&back, 2, 0);
        if (brush)
            FillRect(dc, &back, brush);
        RECT textRect = layout.text;
        SetBkMode(dc, TRANSPARENT);
        if (Disabled())
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_LEFT | DT_TOP);
    }

    void PaintCaption(HDC dc, const ButtonLayout& layout, Kind kind) {
        String text = Text();
        RECT rect = layout.text;
        if (kind == Kind::Push && Pushed())
            OffsetRect(&rect, 1, 1);
        if ((Style() & BS_ICON) && FIcon) {
            DrawIconEx(dc, rect.left + (rect.right - rect.left - 16) / 2,
                       rect.top + (rect.bottom - rect.top - 16) / 2, static_cast<HICON>(FIcon), 0, 0, 0,
                       nullptr, DI_NORMAL);
            return;
        }
        if ((Style() & BS_BITMAP) && FBitmap) {
            PaintBitmap(dc, rect);
            return;
        }
        if (text.empty())
            return;
        SetBkMode(dc, TRANSPARENT);
        if (Disabled())
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, TextFormat());
    }

    void PaintBitmap(HDC dc, RECT rect) {
        BITMAP info{};
        if (!GetObjectW(static_cast<HBITMAP>(FBitmap), sizeof info, &info))
            return;
        HDC memory = CreateCompatibleDC(dc);
        {
            SelectGuard select(memory, static_cast<HBITMAP>(FBitmap));
            BitBlt(dc, rect.left + (rect.right - rect.left - info.bmWidth) / 2,
                   rect.top + (rect.bottom - rect.top - info.bmHeight) / 2, info.bmWidth, info.bmHeight,
                   memory, 0, 0, SRCCOPY);
        }
        DeleteDC(memory);
    }

    void PaintOwnerDrawn(HDC dc) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(GetWindowLongPtrW(FHwnd, GWLP_ID));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = (Pushed() ? ODS_SELECTED : 0) | ((FState & BST_FOCUS) ? ODS_FOCUS : 0) |
                         (Disabled() ? ODS_DISABLED : 0);
        item.hwndItem = FHwnd;
        item.hDC = dc;
        GetClientRect(FHwnd, &item.rcItem);
        // The parent's colours apply to what it draws.
        Background(dc, Kind::Push);
        SelectGuard font(dc, ControlFont(FFont));
        if (HWND parent = GetParent(FHwnd))
            SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }

    HWND FHwnd;
    LRESULT FState = 0; // BST_ bits (BST_HOT while the mouse is over it) and BtnPressed
    HFONT FFont = nullptr;
    ControlTheme FTheme{u"Button"};
    void* FIcon = nullptr;   // BM_SETIMAGE's icon
    void* FBitmap = nullptr; // BM_SETIMAGE's bitmap
};

LRESULT ButtonWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Button* button = ControlState<Button>(hwnd, message, [&] { return new Button(hwnd); });
    if (!button)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        button->WMCreate();
        return 0;
    case WM_DESTROY:
        button->WMDestroy();
        return 0;
    case WM_THEMECHANGED:
        button->WMThemeChanged();
        return 0;
    case WM_GETDLGCODE:
        return button->WMGetDlgCode();
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        button->WMPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        return 0;
    case WM_NCHITTEST:
        return button->WMNcHitTest(wParam, lParam);
    case WM_LBUTTONDBLCLK:
        button->WMLButtonDblClk(PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        button->WMLButtonDown(PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        button->WMLButtonUp(PointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        button->WMMouseMove(PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        button->WMMouseLeave();
        return 0;
    case WM_KEYDOWN:
        button->WMKeyDown(wParam, lParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_KEYUP:
        button->WMKeyUp(wParam);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_CAPTURECHANGED:
        button->WMCaptureChanged();
        return 0;
    case WM_SETFOCUS:
        button->WMSetFocus();
        return 0;
    case WM_KILLFOCUS:
        button->WMKillFocus();
        return 0;
    case WM_ENABLE:
        button->Invalidate();
        return 0;
    case WM_SETTEXT:
        return button->WMSetText(lParam);
    case WM_SETFONT:
        button->WMSetFont(reinterpret_cast<HFONT>(wParam), lParam != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(button->WMGetFont());
    case BM_GETCHECK:
        return button->BMGetCheck();
    case BM_SETCHECK:
        button->BMSetCheck(wParam);
        return 0;
    case BM_GETSTATE:
        return button->BMGetState();
    case BM_SETSTATE:
        button->BMSetState(wParam != 0);
        return 0;
    case BM_SETSTYLE:
        button->BMSetStyle(wParam, lParam != 0);
        return 0;
    case BM_CLICK:
        button->BMClick();
        return 0;
    case BM_SETIMAGE:
        return button->BMSetImage(wParam, reinterpret_cast<void*>(lParam));
    case BM_GETIMAGE:
        return button->BMGetImage(wParam);
    case BM_SETDONTCLICK:
        return 0;
    default:
        if (message >= BM_GETCHECK && message <= 0x00FF)
            ZFIXME(TraceButton, "message %#x is not handled", message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass() {
    RegisterControlClass(ButtonClassName, ButtonWndProc,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS);
}

} // namespace win32::controls
