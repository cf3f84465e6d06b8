// The check list box: a check box drawn before each item of an owner-drawn list box, toggled by a click
// on it or by the space bar, with its state kept in the item's data.
#include "platform/framework/StdLists.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TCheckListBox, PROPERTY(AllowGrayed).Default(false), PROPERTY(BorderStyle).Default(bsSingle),
             PROPERTY(IntegralHeight).Default(false), PROPERTY(Items), PROPERTY(ParentColor).Default(false),
             PROPERTY(Sorted).Default(false), PROPERTY(Style).Default(lbStandard),
             PROPERTY(TabStop).Default(true), EVENT(OnClickCheck), EVENT(OnDrawItem), EVENT(OnMeasureItem))

namespace {

// The item data's low bits: the check state (two bits) and a disabled flag.
constexpr ULONG_PTR StateMask = 0x3;
constexpr ULONG_PTR DisabledFlag = 0x4;
constexpr ULONG_PTR FlagMask = StateMask | DisabledFlag;
// The width of the check box column, the box included.
constexpr int CheckColumnWidth = 16;
constexpr int CheckSize = 13;

} // namespace

TCheckListBox::TCheckListBox(TComponent* owner) : TCustomListBox(owner) {
    ListItems()->SetFlagMask(FlagMask);
}

ULONG_PTR TCheckListBox::ItemData(Integer index) {
    LRESULT data = SendMessageW(Handle(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (index < 0 || data == LB_ERR)
        throw EListError(Consts::SListIndexError, {index});
    return static_cast<ULONG_PTR>(data);
}

void TCheckListBox::SetItemData(Integer index, ULONG_PTR data) {
    if (index < 0 || SendMessageW(Handle(), LB_SETITEMDATA, static_cast<WPARAM>(index),
                                  static_cast<LPARAM>(data)) == LB_ERR)
        throw EListError(Consts::SListIndexError, {index});
    RECT rect{};
    if (SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) !=
        LB_ERR)
        InvalidateRect(Handle(), &rect, FALSE);
}

TCheckBoxState TCheckListBox::State(Integer index) {
    auto state = static_cast<int>(ItemData(index) & StateMask);
    return state <= static_cast<int>(cbGrayed) ? static_cast<TCheckBoxState>(state) : cbUnchecked;
}

void TCheckListBox::SetState(Integer index, TCheckBoxState value) {
    ULONG_PTR data = ItemData(index);
    SetItemData(index, (data & ~StateMask) | static_cast<ULONG_PTR>(value));
}

bool TCheckListBox::ItemEnabled(Integer index) {
    return (ItemData(index) & DisabledFlag) == 0;
}

void TCheckListBox::SetItemEnabled(Integer index, bool value) {
    ULONG_PTR data = ItemData(index);
    SetItemData(index, value ? data & ~DisabledFlag : data | DisabledFlag);
}

void TCheckListBox::CreateParams(TCreateParams& params) {
    TCustomListBox::CreateParams(params);
    // A standard list draws its check boxes itself.
    if (Style() == lbStandard)
        params.Style |= LBS_OWNERDRAWFIXED;
}

// Across a recreated window the items are kept with their whole item data, flags included, so the
// states follow their items when the new window sorts them.
void TCheckListBox::CreateWnd() {
    ListItems()->SetFlagMask(0);
    try {
        TCustomListBox::CreateWnd();
    } catch (...) {
        ListItems()->SetFlagMask(FlagMask);
        throw;
    }
    ListItems()->SetFlagMask(FlagMask);
    if (Style() == lbStandard)
        SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, 16);
}

void TCheckListBox::DestroyWnd() {
    ListItems()->SetFlagMask(0);
    try {
        TCustomListBox::DestroyWnd();
    } catch (...) {
        ListItems()->SetFlagMask(FlagMask);
        throw;
    }
    ListItems()->SetFlagMask(FlagMask);
}

void TCheckListBox::Dispatch(TMessage& message) {
    TCustomListBox::Dispatch(message);
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
        TPoint pos(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        Integer index = ItemAtPos(pos, true);
        if (index >= 0 && pos.X - ItemRect(index).Left < CheckColumnWidth)
            ToggleClickCheck(index);
    }
}

void TCheckListBox::KeyPress(Char& key) {
    if (key == u' ')
        ToggleClickCheck(ItemIndex());
    TCustomListBox::KeyPress(key);
}

void TCheckListBox::ToggleClickCheck(Integer index) {
    if (index < 0 || index >= Items()->Count() || !ItemEnabled(index))
        return;
    switch (State(index)) {
    case cbUnchecked:
        SetState(index, FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(index, cbUnchecked);
        break;
    case cbGrayed:
        SetState(index, cbChecked);
        break;
    }
    ClickCheck();
}

void TCheckListBox::ClickCheck() {
    if (OnClickCheck)
        OnClickCheck(this);
}

void TCheckListBox::DrawItem(Integer index, const TRect& rect, TOwnerDrawState state) {
    TRect box = rect;
    box.Right = box.Left + CheckColumnWidth;
    Canvas()->FillRect(box);
    if (index < Items()->Count()) {
        TCheckBoxState check = State(index);
        RECT frame{box.Left + 1, box.Top + (box.Height() - CheckSize) / 2, 0, 0};
        frame.right = frame.left + CheckSize;
        frame.bottom = frame.top + CheckSize;
        UINT flags = DFCS_BUTTONCHECK;
        if (check == cbChecked)
            flags |= DFCS_CHECKED;
        else if (check == cbGrayed)
            flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        if (!ItemEnabled(index) || !Enabled())
            flags |= DFCS_INACTIVE;
        DrawFrameControl(Canvas()->Handle(), &frame, DFC_BUTTON, flags);
    }
    TRect text = rect;
    text.Left += CheckColumnWidth;
    TCustomListBox::DrawItem(index, text, state);
}
