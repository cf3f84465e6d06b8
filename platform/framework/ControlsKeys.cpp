// Focus, tab order and the routing of keys: the message loop hands key messages to their control as
// CN_KEYDOWN and friends; short cuts, WM_GETDLGCODE, CM_WANTSPECIALKEY and the form's CM_DIALOGKEY
// (Tab, arrows, Enter and Escape for default and cancel buttons) come before the control's own
// KeyDown, and a form with KeyPreview sees every key first.
#include <algorithm>

#include "platform/framework/Controls.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Menus.h"
#include "platform/rtl/Consts.h"

TCustomForm* GetParentForm(TControl* control, bool topForm) {
    TControl* current = control;
    TCustomForm* found = nullptr;
    while (current != nullptr) {
        if (auto* form = dynamic_cast<TCustomForm*>(current)) {
            found = form;
            if (!topForm)
                return found;
        }
        current = current->Parent();
    }
    return found;
}

bool IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    // During a drag the keys belong to it: Escape cancels it, and the modifier keys may change what
    // the target answers, so the drag asks again.
    if (DragObject() != nullptr) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            CancelDrag();
        else if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
            DragTo(DragObject()->DragPos());
        return true;
    }
    HWND wnd = msg.hwnd;
    if (GetCapture() != nullptr && FindControl(GetCapture()) == nullptr)
        return false;
    // A window that is not one of ours (the edit inside a combo box) hands the key to its control.
    while (wnd != nullptr && FindControl(wnd) == nullptr)
        wnd = GetParent(wnd);
    if (wnd == nullptr)
        return false;
    return SendMessageW(wnd, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

// ---- Tab order ----

Integer TWinControl::TabOrder() const {
    if (FParent == nullptr)
        return FTabOrderPending;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TWinControl::SetTabOrder(Integer value) {
    if (FParent == nullptr) {
        FTabOrderPending = value;
        return;
    }
    UpdateTabOrder(value);
}

void TWinControl::UpdateTabOrder(Integer value) {
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    auto count = static_cast<Integer>(list.size());
    if (value < 0 || value >= count)
        value = count - 1;
    list.erase(it);
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
    if (FTabStop == value)
        return;
    FTabStop = value;
    if (FHandle != nullptr) {
        LONG style = GetWindowLongW(FHandle, GWL_STYLE);
        SetWindowLongW(FHandle, GWL_STYLE,
                       value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG>(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    for (TWinControl* control : FTabList) {
        list.push_back(control);
        control->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* curControl, bool goForward, bool checkTabStop,
                                          bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    auto count = static_cast<Integer>(list.size());
    Integer start = -1;
    if (curControl != nullptr) {
        auto it = std::find(list.begin(), list.end(), curControl);
        if (it != list.end())
            start = static_cast<Integer>(it - list.begin());
    }
    if (start < 0)
        start = goForward ? count - 1 : 0;
    Integer i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[static_cast<std::size_t>(i)];
        if (candidate != curControl && candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
            (!checkParent || candidate->Parent() == this))
            return candidate;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* curControl, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(curControl, goForward, checkTabStop, !checkTabStop);
    if (next != nullptr)
        next->SetFocus();
}

void TWinControl::SelectFirst() {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr)
        return;
    TWinControl* control = FindNextControl(nullptr, true, true, false);
    if (control == nullptr)
        control = FindNextControl(nullptr, true, false, false);
    if (control != nullptr)
        form->SetActiveControl(control);
}

// ---- Focus ----

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr)
        return false;
    for (TWinControl* control = this; control != form; control = control->Parent())
        if (control == nullptr || !control->Visible() || !control->Enabled())
            return false;
    return form->Visible() && form->Enabled();
}

bool TWinControl::Focused() {
    if (FHandle == nullptr)
        return false;
    // A window inside the control that is no control of ours (the field of a combo box) is part of it.
    HWND focus = GetFocus();
    while (focus != nullptr && focus != FHandle && FindControl(focus) == nullptr)
        focus = GetParent(focus);
    return focus == FHandle;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr) {
        form->FocusControl(this);
    } else if (FParentWindow != nullptr) {
        ::SetFocus(Handle());
    } else {
        ::SetFocus(Handle());
    }
}

void TWinControl::RemoveFocus(bool removing) {
    if (TCustomForm* form = GetParentForm(this))
        form->DefocusControl(this, removing);
}

void TWinControl::WMSetFocus(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMKillFocus(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}

void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

// ---- Keys ----

bool TWinControl::IsMenuKey(TMessage& message) {
    // The popup menus of the control and its parents come before the form's short cuts, the nearest
    // first.
    for (TWinControl* control = this; control != nullptr; control = control->Parent()) {
        auto* menu = dynamic_cast<TPopupMenu*>(control->PopupMenu());
        if (menu != nullptr && menu->IsShortCut(message))
            return true;
    }
    TCustomForm* form = GetParentForm(this);
    return form != nullptr && form->IsShortCut(message);
}

void TWinControl::CNKeyDown(TMessage& message) {
    message.Result = 1;
    if (IsMenuKey(message))
        return;
    if (Perform(CM_CHILDKEY, message.WParam, reinterpret_cast<LPARAM>(this)) != 0)
        return;
    LRESULT mask = 0;
    switch (message.WParam) {
    case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
    default:
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, message.WParam, message.LParam) == 0 &&
        (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form != nullptr && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0)
            return;
    }
    message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& message) {
    message.Result = 0;
}

void TWinControl::CNChar(TMessage& message) {
    message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& message) {
    message.Result = 1;
    if (IsMenuKey(message))
        return;
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0)
        return;
    message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& message) {
    message.Result = 1;
    TCustomForm* form = GetParentForm(this);
    if (message.WParam != VK_SPACE && form != nullptr &&
        form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
        return;
    message.Result = 0;
}

bool TWinControl::DoKeyDown(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyDown(message))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        Word key = static_cast<Word>(message.WParam);
        KeyDown(key, KeyDataToShiftState(static_cast<LONG>(message.LParam)));
        message.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyUp(message))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        Word key = static_cast<Word>(message.WParam);
        KeyUp(key, KeyDataToShiftState(static_cast<LONG>(message.LParam)));
        message.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && form != this && form->KeyPreview() && form->DoKeyPress(message))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        Char key = static_cast<Char>(message.WParam);
        KeyPress(key);
        message.WParam = key;
        if (key == 0)
            return true;
    }
    return false;
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(Char& key) {
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TWinControl::WMKeyDown(TMessage& message) {
    if (!DoKeyDown(message))
        DefaultHandler(message);
}

void TWinControl::WMSysKeyDown(TMessage& message) {
    if (!DoKeyDown(message))
        DefaultHandler(message);
}

void TWinControl::WMKeyUp(TMessage& message) {
    if (!DoKeyUp(message))
        DefaultHandler(message);
}

void TWinControl::WMSysKeyUp(TMessage& message) {
    if (!DoKeyUp(message))
        DefaultHandler(message);
}

void TWinControl::WMChar(TMessage& message) {
    if (!DoKeyPress(message))
        DefaultHandler(message);
}
