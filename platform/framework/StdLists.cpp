// The framework's list box and combo box: properties kept in the LISTBOX and COMBOBOX windows, the
// notifications they reflect back as events, owner drawing through a canvas, and the items kept across a
// recreated window.
#include "platform/framework/StdLists.h"

#include <algorithm>
#include <utility>

#include "platform/framework/Forms.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/time.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TCustomListBox)
DEFINE_CLASS(TListBox, PROPERTY(BorderStyle).Default(bsSingle), PROPERTY(ExtendedSelect).Default(true),
             PROPERTY(IntegralHeight).Default(false),
             PROPERTY(ItemHeight).Default(16).Stored(&TCustomListBox::IsItemHeightStored), PROPERTY(Items),
             PROPERTY(MultiSelect).Default(false), PROPERTY(ParentColor).Default(false),
             PROPERTY(Sorted).Default(false), PROPERTY(Style).Default(lbStandard),
             PROPERTY(TabStop).Default(true), PROPERTY(TopIndex).Default(0), EVENT(OnDrawItem),
             EVENT(OnMeasureItem))
DEFINE_CLASS(TCustomComboBox)
DEFINE_CLASS(TComboBox, PROPERTY(AutoComplete).Default(true), PROPERTY(CharCase).Default(ecNormal),
             PROPERTY(DropDownCount).Default(8),
             PROPERTY(ItemHeight).Default(16).Stored(&TCustomComboBox::IsItemHeightStored),
             PROPERTY(ItemIndex).Default(-1), PROPERTY(Items), PROPERTY(MaxLength).Default(0),
             PROPERTY(ParentColor).Default(false), PROPERTY(Sorted).Default(false),
             PROPERTY(Style).Default(csDropDown), PROPERTY(TabStop).Default(true), PROPERTY(Text),
             EVENT(OnChange), EVENT(OnCloseUp), EVENT(OnDrawItem), EVENT(OnDropDown), EVENT(OnMeasureItem),
             EVENT(OnSelect))

namespace {

const TListMessages ListBoxMessages{LB_ADDSTRING,   LB_INSERTSTRING,    LB_DELETESTRING, LB_RESETCONTENT,
                                    LB_GETCOUNT,    LB_GETTEXT,         LB_GETTEXTLEN,   LB_GETITEMDATA,
                                    LB_SETITEMDATA, LB_FINDSTRINGEXACT, LB_GETCURSEL,    LB_SETCURSEL,
                                    LB_ERR};
const TListMessages ComboBoxMessages{CB_ADDSTRING,   CB_INSERTSTRING,    CB_DELETESTRING, CB_RESETCONTENT,
                                     CB_GETCOUNT,    CB_GETLBTEXT,       CB_GETLBTEXTLEN, CB_GETITEMDATA,
                                     CB_SETITEMDATA, CB_FINDSTRINGEXACT, CB_GETCURSEL,    CB_SETCURSEL,
                                     CB_ERR};

// Owner-draw notifications identify their control by its id, so every list control gets a distinct
// one (its window handle's value, as the framework's windows have).
void AssignControlId(HWND hwnd) {
    if (GetWindowLongW(hwnd, GWL_ID) == 0)
        SetWindowLongW(hwnd, GWL_ID, static_cast<LONG>(reinterpret_cast<std::intptr_t>(hwnd)));
}

std::unique_ptr<TStringList> SaveItems(TStrings* items) {
    auto saved = std::make_unique<TStringList>();
    for (Integer i = 0; i < items->Count(); ++i)
        saved->AddObject(items->Strings(i), items->Objects(i));
    return saved;
}

// Puts the saved items back and answers where the saved selected item went: a sorted window may put the
// items in another order. -1 when nothing was selected.
Integer RestoreItems(TStrings* items, std::unique_ptr<TStringList>& saved, Integer selected) {
    if (!saved)
        return selected;
    items->BeginUpdate();
    Integer moved = -1;
    for (Integer i = 0; i < saved->Count(); ++i) {
        Integer at = items->AddObject(saved->Strings(i), saved->Objects(i));
        // An item added before the selected one may land in front of it and push it on.
        if (moved >= 0 && at <= moved)
            ++moved;
        if (i == selected)
            moved = at;
    }
    items->EndUpdate();
    saved.reset();
    return moved;
}

// Draws one owner-draw item through canvas as the framework does: the control's font and brush, the
// highlight colours for a selected item, and the focus rectangle after the item.
template <typename DrawFn>
void OwnerDraw(TCanvas* canvas, TWinControl* control, const DRAWITEMSTRUCT& item, DrawFn draw) {
    TOwnerDrawState state = OwnerDrawStateFromBits(item.itemState);
    canvas->SetHandle(item.hDC);
    canvas->Font()->Assign(control->Font());
    canvas->Brush()->Assign(control->Brush());
    TRect rect(item.rcItem);
    int index = static_cast<int>(item.itemID);
    if (index >= 0 && state.Contains(odSelected)) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightText);
    }
    if (index >= 0)
        draw(index, rect, state);
    else
        canvas->FillRect(rect);
    if (state.Contains(odFocused))
        DrawFocusRect(item.hDC, &item.rcItem);
    canvas->SetHandle(nullptr);
}

} // namespace

TOwnerDrawState OwnerDrawStateFromBits(UINT itemState) {
    return TOwnerDrawState::FromBits(itemState & 0xFFFF);
}

// ---- Items ----

LRESULT TListControlStrings::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return SendMessageW(FControl->Handle(), msg, wParam, lParam);
}

void TListControlStrings::CheckIndex(Integer index) const {
    if (index < 0 || index >= GetCount())
        Error(Consts::SListIndexError, index);
}

Integer TListControlStrings::GetCount() const {
    return static_cast<Integer>(Send(FMessages.getCount, 0, 0));
}

String TListControlStrings::Get(Integer index) const {
    LRESULT length = Send(FMessages.getTextLen, static_cast<WPARAM>(index), 0);
    if (length == FMessages.err || index < 0) {
        if (FEmptyOutside)
            return String();
        Error(Consts::SListIndexError, index);
    }
    String text(static_cast<std::size_t>(length) + 1, u'\0');
    LRESULT copied =
        Send(FMessages.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

TObject* TListControlStrings::GetObject(Integer index) const {
    CheckIndex(index);
    auto data = static_cast<ULONG_PTR>(Send(FMessages.getItemData, static_cast<WPARAM>(index), 0));
    return reinterpret_cast<TObject*>(data & ~FFlagMask);
}

void TListControlStrings::PutObject(Integer index, TObject* object) {
    CheckIndex(index);
    auto flags =
        static_cast<ULONG_PTR>(Send(FMessages.getItemData, static_cast<WPARAM>(index), 0)) & FFlagMask;
    Send(FMessages.setItemData, static_cast<WPARAM>(index),
         static_cast<LPARAM>(reinterpret_cast<ULONG_PTR>(object) | flags));
}

Integer TListControlStrings::Add(const String& s) {
    LRESULT result = Send(FMessages.addString, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (result < 0)
        Error(Consts::SListIndexError, GetCount());
    return static_cast<Integer>(result);
}

void TListControlStrings::Insert(Integer index, const String& s) {
    if (index < 0 || index > GetCount())
        Error(Consts::SListIndexError, index);
    Send(FMessages.insertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
}

void TListControlStrings::Delete(Integer index) {
    CheckIndex(index);
    Send(FMessages.deleteString, static_cast<WPARAM>(index), 0);
}

void TListControlStrings::Clear() {
    Send(FMessages.resetContent, 0, 0);
}

// Replacing a string keeps its item data (object and flags) and the selection where they were.
void TListControlStrings::Put(Integer index, const String& s) {
    CheckIndex(index);
    LRESULT selected = Send(FMessages.getCurSel, 0, 0);
    LRESULT data = Send(FMessages.getItemData, static_cast<WPARAM>(index), 0);
    Send(FMessages.deleteString, static_cast<WPARAM>(index), 0);
    Send(FMessages.insertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
    Send(FMessages.setItemData, static_cast<WPARAM>(index), data);
    if (selected >= 0)
        Send(FMessages.setCurSel, static_cast<WPARAM>(selected), 0);
}

// The window's own search: the whole string, ignoring case, as the framework's list boxes find.
Integer TListControlStrings::IndexOf(const String& s) const {
    LRESULT found =
        Send(FMessages.findStringExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
    return found < 0 ? -1 : static_cast<Integer>(found);
}

void TListControlStrings::SetUpdateState(bool updating) {
    if (!FControl->HandleAllocated())
        return;
    Send(WM_SETREDRAW, updating ? FALSE : TRUE, 0);
    if (!updating)
        FControl->Invalidate();
}

// ---- TCustomListBox ----

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TListControlStrings>(this, ListBoxMessages)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    // Clicks come from the window's selection changes, not from mouse-ups.
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csOpaque};
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetParentColor(false);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, u"LISTBOX");
    static constexpr DWORD styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE};
    params.Style |= WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY | styles[static_cast<int>(FStyle)];
    if (FSorted)
        params.Style |= LBS_SORT;
    if (FMultiSelect)
        params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (!FIntegralHeight)
        params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
    TWinControl::CreateWnd();
    AssignControlId(WindowHandle());
    if (FStyle == lbOwnerDrawFixed)
        SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, FItemHeight);
    if (FSaveItems) {
        SetItemIndex(RestoreItems(FItems.get(), FSaveItems, FSaveItemIndex));
        SetTopIndex(FSaveTopIndex);
    }
}

void TCustomListBox::DestroyWnd() {
    if (HandleAllocated()) {
        FSaveItems = SaveItems(FItems.get());
        FSaveItemIndex = ItemIndex();
        FSaveTopIndex = TopIndex();
    }
    TWinControl::DestroyWnd();
}

void TCustomListBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        break;
    case CN_DRAWITEM:
        CNDrawItem(message);
        break;
    case CN_MEASUREITEM:
        CNMeasureItem(message);
        break;
    default:
        TWinControl::Dispatch(message);
        break;
    }
}

void TCustomListBox::CNCommand(TMessage& message) {
    switch (message.WParamHi()) {
    case LBN_SELCHANGE:
        Changed();
        Click();
        break;
    case LBN_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

Integer TCustomListBox::ItemIndex() {
    return static_cast<Integer>(SendMessageW(Handle(), FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(Integer value) {
    if (ItemIndex() == value)
        return;
    if (FMultiSelect)
        SendMessageW(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(value), 0);
    else
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

bool TCustomListBox::Selected(Integer index) {
    LRESULT result = SendMessageW(Handle(), LB_GETSEL, static_cast<WPARAM>(index), 0);
    if (result == LB_ERR)
        throw EListError(Consts::SListIndexError, {index});
    return result != 0;
}

void TCustomListBox::SetSelected(Integer index, bool value) {
    if (FMultiSelect) {
        if (SendMessageW(Handle(), LB_SETSEL, value ? TRUE : FALSE, index) == LB_ERR)
            throw EListError(Consts::SListIndexError, {index});
    } else if (value) {
        if (index < 0 || SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0) == LB_ERR)
            throw EListError(Consts::SListIndexError, {index});
    } else if (ItemIndex() == index) {
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

Integer TCustomListBox::SelCount() {
    return static_cast<Integer>(SendMessageW(Handle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::ClearSelection() {
    if (FMultiSelect)
        SendMessageW(Handle(), LB_SETSEL, FALSE, -1);
    else
        SetItemIndex(-1);
}

void TCustomListBox::SelectAll() {
    if (FMultiSelect)
        SendMessageW(Handle(), LB_SETSEL, TRUE, -1);
}

void TCustomListBox::SetMultiSelect(bool value) {
    if (FMultiSelect != value) {
        FMultiSelect = value;
        RecreateWnd();
    }
}

void TCustomListBox::SetExtendedSelect(bool value) {
    if (FExtendedSelect != value) {
        FExtendedSelect = value;
        RecreateWnd();
    }
}

void TCustomListBox::SetSorted(bool value) {
    if (FSorted != value) {
        FSorted = value;
        RecreateWnd();
    }
}

void TCustomListBox::SetIntegralHeight(bool value) {
    if (FIntegralHeight != value) {
        FIntegralHeight = value;
        RecreateWnd();
    }
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (FStyle != value) {
        FStyle = value;
        RecreateWnd();
    }
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle != value) {
        FBorderStyle = value;
        RecreateWnd();
    }
}

Integer TCustomListBox::ItemHeight() {
    if (FStyle == lbStandard && HandleAllocated())
        return static_cast<Integer>(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(Integer value) {
    if (value > 0 && FItemHeight != value) {
        FItemHeight = value;
        if (FStyle != lbStandard)
            RecreateWnd();
    }
}

Integer TCustomListBox::TopIndex() {
    return HandleAllocated() ? static_cast<Integer>(SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListBox::SetTopIndex(Integer value) {
    if (TopIndex() != value)
        SendMessageW(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
}

Integer TCustomListBox::ItemAtPos(const TPoint& pos, bool existing) {
    TRect client = ClientRect();
    if (pos.X >= client.Left && pos.X < client.Right && pos.Y >= client.Top && pos.Y < client.Bottom) {
        Integer count = FItems->Count();
        for (Integer index = TopIndex(); index < count; ++index) {
            RECT item{};
            SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(&item));
            if (pos.X >= item.left && pos.X < item.right && pos.Y >= item.top && pos.Y < item.bottom)
                return index;
        }
        if (!existing)
            return count;
    }
    return -1;
}

TRect TCustomListBox::ItemRect(Integer index) {
    Integer count = FItems->Count();
    RECT rect{};
    if (index == 0 || (index >= 0 && index < count)) {
        SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    } else if (index == count) {
        SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index - 1),
                     reinterpret_cast<LPARAM>(&rect));
        OffsetRect(&rect, 0, rect.bottom - rect.top);
    }
    return TRect(rect);
}

void TCustomListBox::DrawItem(Integer index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    FCanvas->FillRect(rect);
    if (index < FItems->Count())
        FCanvas->TextOut(rect.Left + 2, rect.Top, FItems->Strings(index));
}

void TCustomListBox::MeasureItem(Integer index, Integer& height) {
    if (OnMeasureItem)
        OnMeasureItem(this, index, height);
}

void TCustomListBox::CNDrawItem(TMessage& message) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    OwnerDraw(FCanvas.get(), this, item,
              [this](int index, const TRect& rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
    message.Result = TRUE;
}

void TCustomListBox::CNMeasureItem(TMessage& message) {
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    Integer height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable)
        MeasureItem(static_cast<Integer>(item.itemID), height);
    item.itemHeight = static_cast<UINT>(std::max(height, 1));
    message.Result = TRUE;
}

// ---- TCustomComboBox ----

namespace {
const Char* const ComboOwnerProp = u"ZelmorComboOwner";
// The combo box whose field is handling a key: the field may hand the key on to the combo's window,
// and the control's key handling has seen it once already.
thread_local TCustomComboBox* FieldKeyCombo = nullptr;

HWND WindowUnderCursor() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return WindowFromPoint(cursor);
}

// Asks for WM_MOUSELEAVE when the mouse leaves the window.
void TrackLeave(HWND hwnd) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
    TrackMouseEvent(&track);
}
} // namespace

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TListControlStrings>(this, ComboBoxMessages)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    FItems->SetEmptyOutside(true);
    // The window handles the mouse itself (the list takes the capture when it drops down); clicks come
    // from its selection changes.
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(Left(), Top(), 145, 21);
    SetTabStop(true);
    SetParentColor(false);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, u"COMBOBOX");
    static constexpr DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                       CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                       CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | styles[static_cast<int>(FStyle)];
    if (FSorted)
        params.Style |= CBS_SORT;
    if (FCharCase == ecUpperCase)
        params.Style |= CBS_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        params.Style |= CBS_LOWERCASE;
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
    TWinControl::CreateWnd();
    AssignControlId(WindowHandle());
    HookEdit();
    SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    // An owner-drawn field is ItemHeight tall; variable items are measured one by one as they come.
    if (FStyle == csOwnerDrawFixed)
        SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, FItemHeight);
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)
        SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FItemHeight);
    if (FSaveItems) {
        Integer index = RestoreItems(FItems.get(), FSaveItems, FSaveItemIndex);
        if (index >= 0)
            SetItemIndex(index);
    }
}

void TCustomComboBox::DestroyWnd() {
    UnhookEdit();
    if (HandleAllocated()) {
        FSaveItems = SaveItems(FItems.get());
        FSaveItemIndex = ItemIndex();
    }
    TWinControl::DestroyWnd();
}

void TCustomComboBox::Loaded() {
    TWinControl::Loaded();
    if (FLoadItemIndex >= 0) {
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(FLoadItemIndex), 0);
        FLoadItemIndex = -1;
    }
}

void TCustomComboBox::WndProc(TMessage& message) {
    // While AdjustDropDown stretches the window for its list, the control's bounds stay as they are.
    if (FDroppingDown && (message.Msg == WM_SIZE || message.Msg == WM_MOVE ||
                          message.Msg == WM_WINDOWPOSCHANGED || message.Msg == WM_WINDOWPOSCHANGING)) {
        DefaultHandler(message);
        return;
    }
    TWinControl::WndProc(message);
}

void TCustomComboBox::Dispatch(TMessage& message) {
    bool keyMessage = message.Msg == WM_KEYDOWN || message.Msg == WM_SYSKEYDOWN || message.Msg == WM_CHAR ||
                      message.Msg == WM_KEYUP || message.Msg == WM_SYSKEYUP;
    if (keyMessage && FieldKeyCombo == this) {
        DefaultHandler(message);
        return;
    }
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        break;
    case CN_DRAWITEM:
        CNDrawItem(message);
        break;
    case CN_MEASUREITEM:
        CNMeasureItem(message);
        break;
    case WM_MOUSELEAVE:
        // Going from the control's own window onto its field is no leaving: the field is watched instead.
        if (FEditHandle != nullptr && WindowUnderCursor() == FEditHandle)
            TrackLeave(FEditHandle);
        else
            TWinControl::Dispatch(message);
        break;
    case WM_MOUSEWHEEL:
        // A turn that neither the control's events nor its parents take steps the selection.
        TWinControl::Dispatch(message);
        if (message.Result == 0)
            DefaultHandler(message);
        break;
    default:
        TWinControl::Dispatch(message);
        break;
    }
}

void TCustomComboBox::CNCommand(TMessage& message) {
    switch (message.WParamHi()) {
    case CBN_DBLCLK:
        DblClick();
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_DROPDOWN:
        DropDown();
        AdjustDropDown();
        break;
    case CBN_SELCHANGE: {
        Integer index = ItemIndex();
        if (index >= 0)
            SetText(FItems->Strings(index));
        Click();
        Select();
        break;
    }
    case CBN_CLOSEUP:
        CloseUp();
        break;
    default:
        break;
    }
}

void TCustomComboBox::HookEdit() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    // The window's class is the control's own, made from COMBOBOX, so the message asks, not GetComboBoxInfo.
    if (!SendMessageW(WindowHandle(), CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)) ||
        info.hwndItem == nullptr || info.hwndItem == WindowHandle())
        return;
    FEditHandle = info.hwndItem;
    SetPropW(FEditHandle, ComboOwnerProp, reinterpret_cast<HANDLE>(this));
    FDefEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TCustomComboBox::EditWndProc)));
}

void TCustomComboBox::UnhookEdit() {
    if (FEditHandle == nullptr)
        return;
    if (IsWindow(FEditHandle)) {
        SetWindowLongPtrW(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefEditProc));
        RemovePropW(FEditHandle, ComboOwnerProp);
    }
    FEditHandle = nullptr;
    FDefEditProc = nullptr;
}

LRESULT TCustomComboBox::EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* combo = reinterpret_cast<TCustomComboBox*>(GetPropW(hwnd, ComboOwnerProp));
    if (combo == nullptr || combo->FEditHandle != hwnd)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    WNDPROC defProc = combo->FDefEditProc;
    // The field's keys are the control's keys: KeyDown, KeyPress and KeyUp (and their events) see them
    // before the field does, and a key they clear goes no further.
    bool key = false;
    TMessage message{};
    message.Msg = msg;
    message.WParam = wParam;
    message.LParam = lParam;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        key = true;
        if (combo->DoKeyDown(message))
            return 0;
        break;
    case WM_CHAR:
        key = true;
        if (combo->DoKeyPress(message))
            return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        key = true;
        if (combo->DoKeyUp(message))
            return 0;
        break;
    case WM_SETFOCUS:
        // The field taking the focus is the control taking it: the form makes it the active control and
        // tells the controls left and entered (CM_EXIT, CM_ENTER).
        if (TCustomForm* form = GetParentForm(combo); form != nullptr && !form->SetFocusedControl(combo))
            return 0;
        if (!IsWindow(hwnd))
            return 0;
        break;
    case WM_MOUSEMOVE: {
        // The mouse over the field is over the control: it moves, enters and leaves the control.
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(hwnd, combo->WindowHandle(), &point, 1);
        SendMessageW(combo->WindowHandle(), WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
        if (!IsWindow(hwnd))
            return 0;
        break;
    }
    case WM_MOUSELEAVE:
        if (WindowUnderCursor() == combo->WindowHandle())
            TrackLeave(combo->WindowHandle());
        else
            SendMessageW(combo->WindowHandle(), WM_MOUSELEAVE, 0, 0);
        break;
    case WM_NCDESTROY:
        // The field goes with the combo's window, however that is destroyed.
        combo->UnhookEdit();
        break;
    default:
        break;
    }
    if (!key)
        return CallWindowProcW(defProc, hwnd, msg, wParam, lParam);
    // A handler may have closed the control, and the field with it.
    if (!IsWindow(hwnd))
        return 0;
    // The field hands some keys on to the combo's window (the list keys, Enter, Escape); they have been
    // through the control's key handling once already.
    struct Restore {
        TCustomComboBox* previous;
        ~Restore() { FieldKeyCombo = previous; }
    } restore{std::exchange(FieldKeyCombo, combo)};
    return CallWindowProcW(defProc, hwnd, msg, message.WParam, message.LParam);
}

void TCustomComboBox::KeyPress(Char& key) {
    TWinControl::KeyPress(key);
    if (!FAutoComplete || key == 0)
        return;
    bool hasField = FStyle == csDropDown || FStyle == csSimple;
    if (hasField) {
        FFilter = Text();
    } else {
        // A pause of half a second starts a new search.
        DWORD now = GetTickCount();
        if (now - FLastTime >= 500)
            FFilter.clear();
        FLastTime = now;
    }
    DWORD start = 0;
    DWORD end = 0;
    if (hasField && HandleAllocated())
        SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    bool hasSelection = hasField && end > start;
    switch (key) {
    case VK_ESCAPE:
    case VK_TAB:
        return;
    case VK_BACK: {
        String text = Text();
        if (hasSelection) {
            text.erase(std::min<size_t>(start, text.size()), end - start);
            SetText(text);
            SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start));
        } else if (hasField && start > 0 && !text.empty()) {
            size_t at = std::min<size_t>(start, text.size());
            text.erase(at - 1, 1);
            SetText(text);
            SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(at - 1, at - 1));
        } else if (!hasField && !FFilter.empty()) {
            FFilter.pop_back();
        }
        if (hasField)
            FFilter = Text();
        key = 0;
        Change();
        return;
    }
    default:
        break;
    }
    // Control characters (Ctrl+C and the like) are no search.
    if (key < u' ')
        return;
    String typed =
        hasSelection ? FFilter.substr(0, std::min<size_t>(start, FFilter.size())) + key : FFilter + key;
    if (SelectItem(typed))
        key = 0;
}

bool TCustomComboBox::SelectItem(const String& item) {
    if (item.empty()) {
        SetItemIndex(-1);
        Change();
        return false;
    }
    LRESULT found = SendMessageW(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(item.c_str()));
    if (found == CB_ERR)
        return false;
    auto index = static_cast<Integer>(found);
    bool changed = index != ItemIndex();
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (FStyle == csDropDown || FStyle == csSimple) {
        String text =
            item + FItems->Strings(index).substr(std::min(item.size(), FItems->Strings(index).size()));
        SetText(text);
        SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(item.size(), text.size()));
    } else {
        FFilter = item;
    }
    if (changed) {
        Click();
        Select();
    }
    return true;
}

void TCustomComboBox::AdjustDropDown() {
    if (!HandleAllocated())
        return;
    Integer count = std::clamp(FItems->Count(), 1, std::max(FDropDownCount, 1));
    FDroppingDown = true;
    try {
        SetWindowPos(WindowHandle(), nullptr, 0, 0, Width(), ItemHeight() * count + Height() + 2,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    } catch (...) {
        FDroppingDown = false;
        throw;
    }
    FDroppingDown = false;
}

void TCustomComboBox::Change() {
    Changed();
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::Clear() {
    SetText(String());
    FItems->Clear();
    FSaveItemIndex = -1;
}

Integer TCustomComboBox::ItemIndex() {
    return static_cast<Integer>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

// A description may give ItemIndex before Items: it is applied once loading is done.
void TCustomComboBox::SetItemIndex(Integer value) {
    if (ComponentState().Contains(csLoading)) {
        FLoadItemIndex = value;
        return;
    }
    if (ItemIndex() != value)
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (FStyle != value) {
        FStyle = value;
        RecreateWnd();
    }
}

bool TCustomComboBox::DroppedDown() {
    return HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    SendMessageW(Handle(), CB_SHOWDROPDOWN, value ? TRUE : FALSE, 0);
}

void TCustomComboBox::SetSorted(bool value) {
    if (FSorted != value) {
        FSorted = value;
        RecreateWnd();
    }
}

void TCustomComboBox::SetCharCase(TEditCharCase value) {
    if (FCharCase != value) {
        FCharCase = value;
        RecreateWnd();
    }
}

void TCustomComboBox::SetMaxLength(Integer value) {
    FMaxLength = std::max(value, 0);
    if (HandleAllocated())
        SendMessageW(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

Integer TCustomComboBox::ItemHeight() {
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable || !HandleAllocated())
        return FItemHeight;
    return static_cast<Integer>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0));
}

void TCustomComboBox::SetItemHeight(Integer value) {
    if (value > 0 && FItemHeight != value) {
        FItemHeight = value;
        if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)
            RecreateWnd();
    }
}

Integer TCustomComboBox::SelStart() {
    DWORD start = 0;
    SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<Integer>(start);
}

void TCustomComboBox::SetSelStart(Integer value) {
    SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(value, value));
}

Integer TCustomComboBox::SelLength() {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<Integer>(end) - static_cast<Integer>(start);
}

void TCustomComboBox::SetSelLength(Integer value) {
    Integer start = SelStart();
    SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + value));
}

void TCustomComboBox::SelectAll() {
    SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TCustomComboBox::DrawItem(Integer index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    FCanvas->FillRect(rect);
    if (index >= 0 && index < FItems->Count())
        FCanvas->TextOut(rect.Left + 2, rect.Top, FItems->Strings(index));
}

void TCustomComboBox::MeasureItem(Integer index, Integer& height) {
    if (OnMeasureItem)
        OnMeasureItem(this, index, height);
}

void TCustomComboBox::CNDrawItem(TMessage& message) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    OwnerDraw(FCanvas.get(), this, item,
              [this](int index, const TRect& rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
    message.Result = TRUE;
}

void TCustomComboBox::CNMeasureItem(TMessage& message) {
    auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    Integer height = FItemHeight;
    if (FStyle == csOwnerDrawVariable)
        MeasureItem(static_cast<Integer>(item.itemID), height);
    item.itemHeight = static_cast<UINT>(std::max(height, 1));
    message.Result = TRUE;
}
