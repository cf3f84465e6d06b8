// The COMBOBOX window class: a simple, drop-down or drop-down-list combo box made of an edit child (or a
// selection field of its own) and a list (a child for CBS_SIMPLE, a popup ComboLBox otherwise), with the
// CB_* messages, GetComboBoxInfo and the CBN_* notifications in the order Win32 sends them.
//
// Contents: the state object - layout - the list and the edit - dropping down and closing up - focus,
// keyboard and mouse - CB_* messages - painting - the window procedure.
#include <algorithm>
#include <utility>

#include "platform/rtl/Trace.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winerror.h"

namespace win32::controls {

namespace {

Trace::Channel TraceCombo("combo");

// The ids Win32 gives a combo box's children.
constexpr int ListId = 1000;
constexpr int EditId = 1001;
// The sunken edge round the field and the gap inside it.
constexpr int EdgeSize = 2;
constexpr int FieldGap = 1;

enum class Close { Ok, Cancel };

struct Parts {
    RECT field{};  // the edit or the selection field
    RECT button{}; // empty for CBS_SIMPLE
    RECT list{};   // the list of CBS_SIMPLE, in the combo box's client coordinates
};

class ComboState {
public:
    ComboState(HWND hwnd, const CREATESTRUCTW& create);

    LRESULT WMCreate(const CREATESTRUCTW& create);
    LRESULT WMDestroy();
    LRESULT WMSize();
    LRESULT WMSetFont(HFONT font, bool redraw);
    LRESULT WMGetFont() const { return reinterpret_cast<LRESULT>(FFont); }
    LRESULT WMSetText(LPCWSTR text);
    LRESULT WMGetText(WPARAM size, LPWSTR buffer) const;
    LRESULT WMGetTextLength() const;
    LRESULT WMSetFocus();
    LRESULT WMKillFocus(HWND next);
    LRESULT WMCommand(WORD code, HWND from);
    LRESULT WMKeyDown(int key);
    LRESULT WMSysKeyDown(int key, LPARAM lParam);
    LRESULT WMChar(Char c);
    LRESULT WMMouseWheel(short delta);
    LRESULT WMLButtonDown(POINT point);
    LRESULT WMEnable();
    LRESULT WMGetDlgCode() const;
    // Paints into given (a WM_PAINT or WM_PRINTCLIENT that carries a DC) or, without one, the update region.
    LRESULT WMPaint(HDC given);
    LRESULT ListClosedOutside();
    // Owner-draw messages of the list go to the combo box's parent with the combo box's id.
    LRESULT ForwardOwnerDraw(UINT message, WPARAM wParam, LPARAM lParam);

    LRESULT CBForward(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CBResetContent();
    LRESULT CBSetCurSel(int index);
    LRESULT CBSelectString(int start, LPCWSTR text);
    LRESULT CBShowDropDown(bool show);
    LRESULT CBGetDroppedState() const { return FDropped ? TRUE : FALSE; }
    LRESULT CBSetDroppedWidth(int width);
    LRESULT CBGetDroppedWidth() const;
    LRESULT CBGetDroppedControlRect(RECT* rect) const;
    LRESULT CBSetEditSel(LPARAM range);
    LRESULT CBGetEditSel(WPARAM start, LPARAM end) const;
    LRESULT CBLimitText(WPARAM limit);
    LRESULT CBSetItemHeight(int index, int height);
    LRESULT CBGetItemHeight(int index) const;
    LRESULT CBSetExtendedUI(bool on);
    LRESULT CBGetExtendedUI() const { return FExtendedUI ? TRUE : FALSE; }
    LRESULT CBGetComboBoxInfo(COMBOBOXINFO* info) const;

private:
    DWORD Type() const { return FStyle & 3; }
    bool HasEdit() const { return Type() != CBS_DROPDOWNLIST; }
    bool OwnerDraw() const { return (FStyle & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }
    int CtlId() const { return static_cast<int>(GetWindowLongPtrW(FHwnd, GWLP_ID)); }
    int CurSel() const { return static_cast<int>(SendMessageW(FList, LB_GETCURSEL, 0, 0)); }
    String ItemText(int index) const;

    Parts Layout() const;
    // The height of the field with its edge, which a new font or field height makes the window's own.
    int FieldAreaHeight() const { return EdgeSize * 2 + FieldGap * 2 + FFieldHeight; }
    void PlaceChildren();
    void Notify(WORD code) const { NotifyCommand(FHwnd, FParent, code); }
    // Puts text in the edit as the combo box's own change: the edit's change notifications it causes
    // are not passed on, since CBN_EDITUPDATE and CBN_EDITCHANGE report only what the user types.
    LRESULT SetEditText(LPCWSTR text);
    void UpdateEditFromList();
    void SelectFromEdit();
    void DropDown();
    void CloseUp(Close how);
    // Passes a key to the list as keyboard selection: its LBN_SELCHANGE does not close the list.
    void KeyToList(UINT message, WPARAM wParam);

    // Painting: one place chooses the themed or the classic look.
    void PaintFrame(HDC dc, const Parts& parts) const;
    void PaintField(HDC dc, const Parts& parts) const;

    HWND FHwnd;
    HWND FParent;
    DWORD FStyle;
    HWND FEdit = nullptr;
    HWND FList = nullptr;
    HFONT FFont = nullptr;
    int FFieldHeight = 16;  // the height of the text in the field
    int FDroppedHeight = 0; // the window's height as created: the extent of the dropped list
    int FDroppedWidth = 0;
    bool FDropped = false;
    bool FFocused = false;
    bool FKeyboardSelect = false; // the list's selection change comes from a key
    bool FExtendedUI = false;
    bool FResizing = false;
    bool FSettingEdit = false; // the combo box itself is setting the edit's text
};

ComboState::ComboState(HWND hwnd, const CREATESTRUCTW& create)
    : FHwnd(hwnd), FParent(create.hwndParent), FStyle(static_cast<DWORD>(create.style)) {
    // Scroll bars and a border belong to the list; the combo box draws its own edge, so its client area is
    // the whole window.
    constexpr LONG ListOnly = WS_VSCROLL | WS_HSCROLL | WS_BORDER;
    if (GetWindowLongW(hwnd, GWL_STYLE) & ListOnly)
        SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~ListOnly);
    if ((FStyle & 3) == 0)
        FStyle |= CBS_DROPDOWN;
    if (FStyle & CBS_OWNERDRAWVARIABLE)
        FStyle &= ~CBS_OWNERDRAWFIXED;
}

String ComboState::ItemText(int index) const {
    LRESULT length = SendMessageW(FList, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return String();
    String text(static_cast<size_t>(length) + 1, u'\0');
    SendMessageW(FList, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// ---- Layout ----

Parts ComboState::Layout() const {
    Parts parts;
    RECT client{};
    GetClientRect(FHwnd, &client);
    int fieldBottom = std::min<int>(client.bottom, EdgeSize * 2 + FieldGap * 2 + FFieldHeight);
    RECT inner{client.left + EdgeSize, client.top + EdgeSize, client.right - EdgeSize,
               fieldBottom - EdgeSize};
    if (Type() != CBS_SIMPLE) {
        int width = GetSystemMetrics(SM_CXVSCROLL);
        parts.button = RECT{std::max(inner.left, inner.right - width), inner.top, inner.right, inner.bottom};
        inner.right = parts.button.left;
    } else {
        parts.list = RECT{client.left, fieldBottom, client.right, client.bottom};
    }
    parts.field = inner;
    InflateRect(&parts.field, -FieldGap, -FieldGap);
    return parts;
}

void ComboState::PlaceChildren() {
    Parts parts = Layout();
    if (FEdit)
        SetWindowPos(FEdit, nullptr, parts.field.left, parts.field.top, parts.field.right - parts.field.left,
                     parts.field.bottom - parts.field.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (Type() == CBS_SIMPLE && FList)
        SetWindowPos(FList, nullptr, parts.list.left, parts.list.top, parts.list.right - parts.list.left,
                     std::max<int>(0, parts.list.bottom - parts.list.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT ComboState::WMCreate(const CREATESTRUCTW& create) {
    FFieldHeight = FontLineHeight(FFont) + 2;
    FDroppedHeight = create.cy;
    if (OwnerDraw()) {
        // The owner gives the field's height first (item -1); the list then asks for its items' own.
        MEASUREITEMSTRUCT mis{ODT_COMBOBOX,
                              static_cast<UINT>(CtlId()),
                              static_cast<UINT>(-1),
                              static_cast<UINT>(std::max(0, create.cx)),
                              static_cast<UINT>(FFieldHeight),
                              0};
        SendMessageW(FParent, WM_MEASUREITEM, static_cast<WPARAM>(CtlId()), reinterpret_cast<LPARAM>(&mis));
        if (!IsWindow(FHwnd))
            return -1;
        if (mis.itemHeight > 0)
            FFieldHeight = std::min<int>(static_cast<int>(mis.itemHeight), 255);
    }
    DWORD listStyle = WS_VSCROLL | LBS_NOTIFY | LBS_COMBOBOX | WS_BORDER;
    if (FStyle & CBS_OWNERDRAWFIXED)
        listStyle |= LBS_OWNERDRAWFIXED;
    if (FStyle & CBS_OWNERDRAWVARIABLE)
        listStyle |= LBS_OWNERDRAWVARIABLE;
    if (FStyle & CBS_HASSTRINGS)
        listStyle |= LBS_HASSTRINGS;
    if (FStyle & CBS_SORT)
        listStyle |= LBS_SORT;
    if (FStyle & CBS_DISABLENOSCROLL)
        listStyle |= LBS_DISABLENOSCROLL;
    if (Type() == CBS_SIMPLE) {
        FList =
            CreateWindowExW(0, ComboLBoxClassName, u"", WS_CHILD | WS_VISIBLE | listStyle, 0, 0, 0, 0, FHwnd,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(ListId)), nullptr, nullptr);
    } else {
        // The popup list belongs to the combo box, which hears it; it is shown only while dropped.
        FList = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, ComboLBoxClassName, u"",
                                WS_POPUP | listStyle, 0, 0, 0, 0, FHwnd, nullptr, nullptr, nullptr);
    }
    if (!FList)
        return -1;
    SetWindowLongPtrW(FList, GWLP_ID, ListId);
    if (HasEdit()) {
        // The field hides its selection while the combo box is not focused, like any edit.
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
        if (FStyle & CBS_AUTOHSCROLL)
            editStyle |= ES_AUTOHSCROLL;
        if (FStyle & CBS_UPPERCASE)
            editStyle |= ES_UPPERCASE;
        else if (FStyle & CBS_LOWERCASE)
            editStyle |= ES_LOWERCASE;
        HWND creator = std::exchange(ComboFieldCreator(), FHwnd);
        FEdit =
            CreateWindowExW(0, EditClassName, u"", editStyle, 0, 0, 0, 0, FHwnd,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(EditId)), nullptr, nullptr);
        ComboFieldCreator() = creator;
        if (!FEdit)
            return -1;
    }
    if (Type() != CBS_SIMPLE) {
        // A drop-down combo box is as tall as its field; the height it was made with is the list's room.
        FResizing = true;
        SetWindowPos(FHwnd, nullptr, 0, 0, create.cx, Layout().field.bottom + FieldGap + EdgeSize,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        FResizing = false;
    }
    PlaceChildren();
    return 0;
}

LRESULT ComboState::WMDestroy() {
    if (FList && Type() != CBS_SIMPLE)
        DestroyWindow(FList);
    FList = nullptr;
    return 0;
}

LRESULT ComboState::WMSize() {
    if (Type() != CBS_SIMPLE && !FResizing) {
        RECT window{};
        GetWindowRect(FHwnd, &window);
        int wanted = Layout().field.bottom + FieldGap + EdgeSize;
        if (window.bottom - window.top != wanted) {
            // A new height is a new room for the list; the field keeps its own.
            FDroppedHeight = window.bottom - window.top;
            FResizing = true;
            SetWindowPos(FHwnd, nullptr, 0, 0, window.right - window.left, wanted,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            FResizing = false;
        }
    }
    PlaceChildren();
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT ComboState::WMSetFont(HFONT font, bool redraw) {
    FFont = font;
    FFieldHeight = FontLineHeight(font) + 2;
    if (FEdit)
        SendMessageW(FEdit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(FList, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT window{};
    GetWindowRect(FHwnd, &window);
    if (Type() != CBS_SIMPLE) {
        FResizing = true;
        SetWindowPos(FHwnd, nullptr, 0, 0, window.right - window.left, FieldAreaHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        FResizing = false;
    }
    PlaceChildren();
    if (redraw)
        InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

// ---- The list and the edit ----

LRESULT ComboState::SetEditText(LPCWSTR text) {
    // A window procedure further down may throw; the flag must not stay set behind it.
    struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
    } restore{FSettingEdit, FSettingEdit};
    FSettingEdit = true;
    return SendMessageW(FEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ComboState::UpdateEditFromList() {
    int index = CurSel();
    if (FEdit) {
        String text = index >= 0 ? ItemText(index) : String();
        SetEditText(text.c_str());
        if (FFocused || GetFocus() == FEdit)
            SendMessageW(FEdit, EM_SETSEL, 0, -1);
    }
    InvalidateRect(FHwnd, nullptr, TRUE);
}

void ComboState::SelectFromEdit() {
    // While the list is open it follows what is typed.
    int length = GetWindowTextLengthW(FEdit);
    String text(static_cast<size_t>(length) + 1, u'\0');
    GetWindowTextW(FEdit, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    LRESULT found = length ? SendMessageW(FList, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(text.c_str()))
                           : LB_ERR;
    SendMessageW(FList, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

LRESULT ComboState::WMCommand(WORD code, HWND from) {
    if (from == FEdit && FEdit) {
        switch (code) {
        case EN_SETFOCUS:
            if (!FFocused) {
                FFocused = true;
                SendMessageW(FEdit, EM_SETSEL, 0, -1);
                Notify(CBN_SETFOCUS);
            }
            break;
        case EN_KILLFOCUS: {
            HWND focus = GetFocus();
            if (focus != FHwnd && focus != FEdit && focus != FList) {
                if (FDropped)
                    CloseUp(Close::Cancel);
                FFocused = false;
                Notify(CBN_KILLFOCUS);
            }
            break;
        }
        case EN_UPDATE:
            if (!FSettingEdit)
                Notify(CBN_EDITUPDATE);
            break;
        case EN_CHANGE:
            // The list already shows what the combo box put in the edit; only typing moves it.
            if (FSettingEdit)
                break;
            if (FDropped)
                SelectFromEdit();
            Notify(CBN_EDITCHANGE);
            break;
        default:
            break;
        }
        return 0;
    }
    if (from == FList) {
        switch (code) {
        case LBN_SELCHANGE:
        case LBN_SELCANCEL:
            // A pick with the mouse closes the list first; a key moves the selection and leaves it open.
            if (FDropped && !FKeyboardSelect)
                CloseUp(code == LBN_SELCHANGE ? Close::Ok : Close::Cancel);
            UpdateEditFromList();
            Notify(CBN_SELCHANGE);
            break;
        case LBN_DBLCLK:
            Notify(CBN_DBLCLK);
            break;
        case LBN_SETFOCUS:
            if (!FFocused) {
                FFocused = true;
                Notify(CBN_SETFOCUS);
            }
            break;
        default:
            break;
        }
    }
    return 0;
}

LRESULT ComboState::ForwardOwnerDraw(UINT message, WPARAM, LPARAM lParam) {
    // The parent sees the combo box as the control: its id, its type and handle.
    switch (message) {
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        dis->CtlID = static_cast<UINT>(CtlId());
        dis->CtlType = ODT_COMBOBOX;
        dis->hwndItem = FHwnd;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        mis->CtlID = static_cast<UINT>(CtlId());
        mis->CtlType = ODT_COMBOBOX;
        break;
    }
    case WM_DELETEITEM: {
        auto* dis = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
        dis->CtlID = static_cast<UINT>(CtlId());
        dis->CtlType = ODT_COMBOBOX;
        dis->hwndItem = FHwnd;
        break;
    }
    case WM_COMPAREITEM: {
        auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        cis->CtlID = static_cast<UINT>(CtlId());
        cis->CtlType = ODT_COMBOBOX;
        cis->hwndItem = FHwnd;
        break;
    }
    default:
        break;
    }
    return SendMessageW(FParent, message, static_cast<WPARAM>(CtlId()), lParam);
}

// ---- Dropping down and closing up ----

void ComboState::DropDown() {
    if (FDropped || Type() == CBS_SIMPLE)
        return;
    Notify(CBN_DROPDOWN);
    if (!IsWindow(FHwnd))
        return;
    if (FEdit) {
        SelectFromEdit();
    }
    RECT window{};
    GetWindowRect(FHwnd, &window);
    int count = static_cast<int>(SendMessageW(FList, LB_GETCOUNT, 0, 0));
    int itemHeight = static_cast<int>(SendMessageW(FList, LB_GETITEMHEIGHT, 0, 0));
    int room = std::max(itemHeight, FDroppedHeight - (window.bottom - window.top));
    int rows = std::clamp(count, 1, std::max(1, room / std::max(1, itemHeight)));
    int width = std::max<int>(FDroppedWidth, window.right - window.left);
    int height = rows * itemHeight + 2;
    // The list opens below the field; when the work area ends before it does, it opens above.
    int top = window.bottom;
    RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) && top + height > work.bottom)
        top = std::max<int>(window.top - height, work.top);
    FDropped = true;
    SetWindowPos(FList, HWND_TOPMOST, window.left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SendMessageW(FList, ComboListTrack, TRUE, 0);
    SetCapture(FList);
    InvalidateRect(FHwnd, nullptr, TRUE);
}

void ComboState::CloseUp(Close how) {
    Notify(how == Close::Ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!FDropped || !IsWindow(FHwnd))
        return;
    FDropped = false;
    SendMessageW(FList, ComboListTrack, FALSE, 0);
    if (GetCapture() == FList)
        ReleaseCapture();
    ShowWindow(FList, SW_HIDE);
    InvalidateRect(FHwnd, nullptr, TRUE);
    Notify(CBN_CLOSEUP);
}

LRESULT ComboState::ListClosedOutside() {
    CloseUp(Close::Cancel);
    return 0;
}

void ComboState::KeyToList(UINT message, WPARAM wParam) {
    FKeyboardSelect = true;
    SendMessageW(FList, message, wParam, 0);
    FKeyboardSelect = false;
}

// ---- Focus, keyboard and mouse ----

LRESULT ComboState::WMSetFocus() {
    if (FEdit) {
        // The edit takes the focus; its EN_SETFOCUS tells the parent.
        SetFocus(FEdit);
        return 0;
    }
    if (!FFocused) {
        FFocused = true;
        InvalidateRect(FHwnd, nullptr, TRUE);
        Notify(CBN_SETFOCUS);
    }
    return 0;
}

LRESULT ComboState::WMKillFocus(HWND next) {
    if (FEdit && (next == FEdit || next == FList))
        return 0;
    if (FEdit)
        return 0; // the edit's EN_KILLFOCUS decides
    if (next == FList)
        return 0;
    if (FDropped)
        CloseUp(Close::Cancel);
    if (FFocused) {
        FFocused = false;
        InvalidateRect(FHwnd, nullptr, TRUE);
        Notify(CBN_KILLFOCUS);
    }
    return 0;
}

LRESULT ComboState::WMKeyDown(int key) {
    switch (key) {
    case VK_F4:
        if (FExtendedUI)
            break;
        if (FDropped)
            CloseUp(Close::Ok);
        else
            DropDown();
        break;
    case VK_DOWN:
        // With the extended interface Down opens the list.
        if (FExtendedUI && !FDropped && Type() != CBS_SIMPLE) {
            DropDown();
            break;
        }
        [[fallthrough]];
    case VK_UP:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        if (FEdit && (key == VK_HOME || key == VK_END))
            break;
        KeyToList(WM_KEYDOWN, static_cast<WPARAM>(key));
        break;
    case VK_RETURN:
        if (FDropped)
            CloseUp(Close::Ok);
        break;
    case VK_ESCAPE:
        if (FDropped)
            CloseUp(Close::Cancel);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT ComboState::WMSysKeyDown(int key, LPARAM lParam) {
    if ((key == VK_DOWN || key == VK_UP) && Type() != CBS_SIMPLE) {
        if (FDropped)
            CloseUp(Close::Ok);
        else
            DropDown();
        return 0;
    }
    return DefWindowProcW(FHwnd, WM_SYSKEYDOWN, static_cast<WPARAM>(key), lParam);
}

LRESULT ComboState::WMChar(Char c) {
    if (c == u'\r') {
        if (FDropped)
            CloseUp(Close::Ok);
        return 0;
    }
    if (c == 0x1B) {
        if (FDropped)
            CloseUp(Close::Cancel);
        return 0;
    }
    // A drop-down list finds the next item starting with the character.
    if (!FEdit)
        KeyToList(WM_CHAR, c);
    return 0;
}

// A notch moves the selection one item, as Up and Down do, whether or not the list is shown.
LRESULT ComboState::WMMouseWheel(short delta) {
    if (delta != 0)
        KeyToList(WM_KEYDOWN, delta > 0 ? VK_UP : VK_DOWN);
    return 0;
}

LRESULT ComboState::WMLButtonDown(POINT point) {
    if (FEdit)
        SetFocus(FEdit);
    else if (GetFocus() != FHwnd)
        SetFocus(FHwnd);
    Parts parts = Layout();
    bool onButton = PtInRect(&parts.button, point) != FALSE;
    if (Type() == CBS_DROPDOWNLIST || onButton) {
        if (FDropped)
            CloseUp(Close::Ok);
        else
            DropDown();
    }
    return 0;
}

LRESULT ComboState::WMEnable() {
    if (FEdit)
        EnableWindow(FEdit, IsWindowEnabled(FHwnd));
    EnableWindow(FList, IsWindowEnabled(FHwnd));
    InvalidateRect(FHwnd, nullptr, TRUE);
    return 0;
}

LRESULT ComboState::WMGetDlgCode() const {
    return DLGC_WANTCHARS | DLGC_WANTARROWS;
}

// ---- Text ----

LRESULT ComboState::WMSetText(LPCWSTR text) {
    if (FEdit)
        return SetEditText(text);
    // A drop-down list shows only its items: the text selects the item that matches, if any.
    LRESULT found = SendMessageW(FList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(text ? text : u""));
    if (found == LB_ERR)
        return CB_ERR;
    SendMessageW(FList, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    InvalidateRect(FHwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT ComboState::WMGetText(WPARAM size, LPWSTR buffer) const {
    if (FEdit)
        return SendMessageW(FEdit, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer));
    if (!buffer || size == 0)
        return 0;
    int index = CurSel();
    String text = index >= 0 ? ItemText(index) : String();
    size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT ComboState::WMGetTextLength() const {
    if (FEdit)
        return SendMessageW(FEdit, WM_GETTEXTLENGTH, 0, 0);
    int index = CurSel();
    return index >= 0 ? static_cast<LRESULT>(ItemText(index).size()) : 0;
}

// ---- CB_* ----

LRESULT ComboState::CBForward(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = SendMessageW(FList, message, wParam, lParam);
    if (!FEdit)
        InvalidateRect(FHwnd, nullptr, TRUE);
    // LB_ERR and CB_ERR, LB_ERRSPACE and CB_ERRSPACE are the same numbers.
    return result;
}

LRESULT ComboState::CBResetContent() {
    SendMessageW(FList, LB_RESETCONTENT, 0, 0);
    if (FEdit)
        SetEditText(u"");
    InvalidateRect(FHwnd, nullptr, TRUE);
    return CB_OKAY;
}

LRESULT ComboState::CBSetCurSel(int index) {
    LRESULT result = SendMessageW(FList, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    UpdateEditFromList();
    return result;
}

LRESULT ComboState::CBSelectString(int start, LPCWSTR text) {
    LRESULT found =
        SendMessageW(FList, LB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
    if (found != LB_ERR)
        UpdateEditFromList();
    return found;
}

LRESULT ComboState::CBShowDropDown(bool show) {
    if (show)
        DropDown();
    else if (FDropped)
        CloseUp(Close::Cancel);
    return TRUE;
}

LRESULT ComboState::CBSetDroppedWidth(int width) {
    if (width < 0)
        return CB_ERR;
    FDroppedWidth = width;
    return CBGetDroppedWidth();
}

LRESULT ComboState::CBGetDroppedWidth() const {
    RECT window{};
    GetWindowRect(FHwnd, &window);
    return std::max<LRESULT>(FDroppedWidth, window.right - window.left);
}

LRESULT ComboState::CBGetDroppedControlRect(RECT* rect) const {
    if (!rect)
        return CB_ERR;
    GetWindowRect(FHwnd, rect);
    rect->bottom = rect->top + std::max<int>(FDroppedHeight, rect->bottom - rect->top);
    rect->right = rect->left + static_cast<LONG>(CBGetDroppedWidth());
    return TRUE;
}

LRESULT ComboState::CBSetEditSel(LPARAM range) {
    if (!FEdit)
        return CB_ERR;
    short start = static_cast<short>(LOWORD(static_cast<std::uintptr_t>(range)));
    short end = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(range)));
    SendMessageW(FEdit, EM_SETSEL, static_cast<WPARAM>(static_cast<int>(start)), end);
    return TRUE;
}

LRESULT ComboState::CBGetEditSel(WPARAM start, LPARAM end) const {
    if (!FEdit)
        return CB_ERR;
    return SendMessageW(FEdit, EM_GETSEL, start, end);
}

LRESULT ComboState::CBLimitText(WPARAM limit) {
    if (!FEdit)
        return CB_ERR;
    SendMessageW(FEdit, EM_LIMITTEXT, limit, 0);
    return TRUE;
}

LRESULT ComboState::CBSetItemHeight(int index, int height) {
    if (height <= 0 || height > 255)
        return CB_ERR;
    if (index == -1) {
        // The field's height.
        FFieldHeight = height;
        RECT window{};
        GetWindowRect(FHwnd, &window);
        if (Type() != CBS_SIMPLE) {
            FResizing = true;
            SetWindowPos(FHwnd, nullptr, 0, 0, window.right - window.left, FieldAreaHeight(),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            FResizing = false;
        }
        PlaceChildren();
        InvalidateRect(FHwnd, nullptr, TRUE);
        return CB_OKAY;
    }
    return SendMessageW(FList, LB_SETITEMHEIGHT, static_cast<WPARAM>(index),
                        MAKELPARAM(static_cast<WORD>(height), 0));
}

LRESULT ComboState::CBGetItemHeight(int index) const {
    if (index == -1)
        return FFieldHeight;
    return SendMessageW(FList, LB_GETITEMHEIGHT, static_cast<WPARAM>(index), 0);
}

LRESULT ComboState::CBSetExtendedUI(bool on) {
    if (Type() == CBS_SIMPLE)
        return CB_ERR;
    FExtendedUI = on;
    return CB_OKAY;
}

LRESULT ComboState::CBGetComboBoxInfo(COMBOBOXINFO* info) const {
    if (!info || info->cbSize != sizeof(COMBOBOXINFO))
        return FALSE;
    Parts parts = Layout();
    info->rcItem = parts.field;
    info->rcButton = parts.button;
    info->stateButton = Type() == CBS_SIMPLE ? STATE_SYSTEM_INVISIBLE : (FDropped ? STATE_SYSTEM_PRESSED : 0);
    info->hwndCombo = FHwnd;
    info->hwndItem = FEdit;
    info->hwndList = FList;
    return TRUE;
}

// ---- Painting ----

void ComboState::PaintFrame(HDC dc, const Parts& parts) const {
    RECT client{};
    GetClientRect(FHwnd, &client);
    RECT frame{client.left, client.top, client.right, parts.field.bottom + FieldGap + EdgeSize};
    bool enabled = IsWindowEnabled(FHwnd) != FALSE;
    PaintTheme theme(FHwnd, u"COMBOBOX");
    if (theme) {
        DrawThemeBackground(theme, dc, CP_BORDER, enabled ? CBXS_NORMAL : CBXS_DISABLED, &frame, nullptr);
        if (!IsRectEmpty(&parts.button))
            DrawThemeBackground(theme, dc, CP_DROPDOWNBUTTON,
                                !enabled   ? CBXS_DISABLED
                                : FDropped ? CBXS_PRESSED
                                           : CBXS_NORMAL,
                                &parts.button, nullptr);
        return;
    }
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    if (!IsRectEmpty(&parts.button)) {
        RECT button = parts.button;
        DrawFrameControl(dc, &button, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (FDropped ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
    }
}

void ComboState::PaintField(HDC dc, const Parts& parts) const {
    if (FEdit)
        return;
    int index = CurSel();
    bool highlight = FFocused && !FDropped;
    if (OwnerDraw()) {
        UINT state = ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) |
                     (IsWindowEnabled(FHwnd) ? 0 : ODS_DISABLED);
        ULONG_PTR data =
            index >= 0
                ? static_cast<ULONG_PTR>(SendMessageW(FList, LB_GETITEMDATA, static_cast<WPARAM>(index), 0))
                : 0;
        DRAWITEMSTRUCT dis{ODT_COMBOBOX,
                           static_cast<UINT>(CtlId()),
                           static_cast<UINT>(index),
                           ODA_DRAWENTIRE,
                           state,
                           FHwnd,
                           dc,
                           parts.field,
                           data};
        SendMessageW(FParent, WM_DRAWITEM, static_cast<WPARAM>(CtlId()), reinterpret_cast<LPARAM>(&dis));
        return;
    }
    if (highlight) {
        FillRect(dc, &parts.field, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (index >= 0) {
        String text = ItemText(index);
        RECT textRect = parts.field;
        textRect.left += 2;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (highlight)
        DrawFocusRect(dc, &parts.field);
}

LRESULT ComboState::WMPaint(HDC given) {
    PaintControl(FHwnd, given, [&](HDC dc) {
        if (!dc)
            return;
        int saved = SaveDC(dc);
        Parts parts = Layout();
        bool enabled = IsWindowEnabled(FHwnd) != FALSE;
        HBRUSH background = ControlColor(FHwnd, FParent, dc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
        RECT client{};
        GetClientRect(FHwnd, &client);
        RECT fieldArea{client.left, client.top, client.right, parts.field.bottom + FieldGap + EdgeSize};
        FillRect(dc, &fieldArea, background);
        SelectObject(dc, ControlFont(FFont));
        SetBkMode(dc, TRANSPARENT);
        if (!enabled)
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        PaintFrame(dc, parts);
        PaintField(dc, parts);
        RestoreDC(dc, saved);
    });
    return 0;
}

// ---- The window procedure ----

LRESULT ComboWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ComboState* state = ControlState<ComboState>(
        hwnd, message, [&] { return new ComboState(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam)); });
    if (!state)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return state->WMCreate(*reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        return state->WMDestroy();
    case WM_SIZE:
        return state->WMSize();
    case WM_SETFONT:
        return state->WMSetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
    case WM_GETFONT:
        return state->WMGetFont();
    case WM_SETTEXT:
        return state->WMSetText(reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
        return state->WMGetText(wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
        return state->WMGetTextLength();
    case WM_SETFOCUS:
        return state->WMSetFocus();
    case WM_KILLFOCUS:
        return state->WMKillFocus(reinterpret_cast<HWND>(wParam));
    case WM_COMMAND:
        return state->WMCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_KEYDOWN:
        return state->WMKeyDown(static_cast<int>(wParam));
    case WM_SYSKEYDOWN:
        return state->WMSysKeyDown(static_cast<int>(wParam), lParam);
    case WM_CHAR:
        return state->WMChar(static_cast<Char>(wParam));
    case WM_MOUSEWHEEL:
        return state->WMMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return state->WMLButtonDown(PointOf(lParam));
    case WM_ENABLE:
        return state->WMEnable();
    case WM_GETDLGCODE:
        return state->WMGetDlgCode();
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return state->WMPaint(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND:
        return TRUE; // WM_PAINT fills the background
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        // The children take the colours the combo box's parent gives.
        return SendMessageW(GetParent(hwnd), message, wParam, lParam);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        return state->ForwardOwnerDraw(message, wParam, lParam);
    case ComboListClosedOutside:
        return state->ListClosedOutside();
    case CB_ADDSTRING:
        return state->CBForward(LB_ADDSTRING, wParam, lParam);
    case CB_INSERTSTRING:
        return state->CBForward(LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
        return state->CBForward(LB_DELETESTRING, wParam, lParam);
    case CB_GETCOUNT:
        return state->CBForward(LB_GETCOUNT, wParam, lParam);
    case CB_GETCURSEL:
        return state->CBForward(LB_GETCURSEL, wParam, lParam);
    case CB_GETLBTEXT:
        return state->CBForward(LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return state->CBForward(LB_GETTEXTLEN, wParam, lParam);
    case CB_FINDSTRING:
        return state->CBForward(LB_FINDSTRING, wParam, lParam);
    case CB_DIR:
        return state->CBForward(LB_DIR, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return state->CBForward(LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_GETITEMDATA:
        return state->CBForward(LB_GETITEMDATA, wParam, lParam);
    case CB_SETITEMDATA:
        return state->CBForward(LB_SETITEMDATA, wParam, lParam);
    case CB_GETTOPINDEX:
        return state->CBForward(LB_GETTOPINDEX, wParam, lParam);
    case CB_SETTOPINDEX:
        return state->CBForward(LB_SETTOPINDEX, wParam, lParam);
    case CB_RESETCONTENT:
        return state->CBResetContent();
    case CB_SETCURSEL:
        return state->CBSetCurSel(static_cast<int>(wParam));
    case CB_SELECTSTRING:
        return state->CBSelectString(static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
    case CB_SHOWDROPDOWN:
        return state->CBShowDropDown(wParam != 0);
    case CB_GETDROPPEDSTATE:
        return state->CBGetDroppedState();
    case CB_SETDROPPEDWIDTH:
        return state->CBSetDroppedWidth(static_cast<int>(wParam));
    case CB_GETDROPPEDWIDTH:
        return state->CBGetDroppedWidth();
    case CB_GETDROPPEDCONTROLRECT:
        return state->CBGetDroppedControlRect(reinterpret_cast<RECT*>(lParam));
    case CB_SETEDITSEL:
        return state->CBSetEditSel(lParam);
    case CB_GETEDITSEL:
        return state->CBGetEditSel(wParam, lParam);
    case CB_LIMITTEXT:
        return state->CBLimitText(wParam);
    case CB_SETITEMHEIGHT:
        return state->CBSetItemHeight(static_cast<int>(wParam), static_cast<int>(lParam));
    case CB_GETITEMHEIGHT:
        return state->CBGetItemHeight(static_cast<int>(wParam));
    case CB_SETEXTENDEDUI:
        return state->CBSetExtendedUI(wParam != 0);
    case CB_GETEXTENDEDUI:
        return state->CBGetExtendedUI();
    case CB_GETCOMBOBOXINFO:
        return state->CBGetComboBoxInfo(reinterpret_cast<COMBOBOXINFO*>(lParam));
    default:
        if (message >= CB_GETEDITSEL && message <= CB_GETCOMBOBOXINFO)
            ZFIXME(TraceCombo, "%p: message 0x%04x not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterComboBoxClass() {
    RegisterControlClass(ComboBoxClassName, ComboWndProc,
                         CS_DBLCLKS | CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW);
}

HWND& ComboFieldCreator() {
    thread_local HWND creator = nullptr;
    return creator;
}

} // namespace win32::controls

BOOL GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO info) {
    // Asked of the window rather than judged by its class name, so that a class made from COMBOBOX
    // (as the framework's combo boxes are) answers too; other windows answer 0.
    if (!IsWindow(hwndCombo)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!info || info->cbSize != sizeof(COMBOBOXINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (SendMessageW(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(info)) == 0) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return TRUE;
}
