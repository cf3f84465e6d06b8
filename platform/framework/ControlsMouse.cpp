// The mouse side of controls: buttons, clicks, moves, capture, the wheel, entering and leaving, context
// menus, and the framework's drag inside the process.
#include <cstdlib>

#include "platform/framework/Controls.h"
#include "platform/framework/ControlsInternal.h"
#include "platform/framework/Forms.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/Menus.h"
#include "platform/rtl/Consts.h"

namespace {

TControl* CaptureControl = nullptr;

} // namespace

void SendCancelMode(TControl* sender) {
    for (TControl* control = sender; control != nullptr; control = control->Parent()) {
        auto* form = dynamic_cast<TCustomForm*>(control);
        if (form != nullptr && form->Active() && form->ActiveControl() != nullptr)
            form->ActiveControl()->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
    }
}

TControl* GetCaptureControl() {
    HWND capture = GetCapture();
    if (capture == nullptr)
        return nullptr;
    if (CaptureControl != nullptr && CaptureControl->Parent() != nullptr &&
        CaptureControl->Parent()->WindowHandle() == capture)
        return CaptureControl;
    return FindControl(capture);
}

void SetCaptureControl(TControl* control) {
    ReleaseCapture();
    CaptureControl = nullptr;
    if (control == nullptr)
        return;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        SetCapture(win->Handle());
        return;
    }
    if (control->Parent() == nullptr)
        return;
    CaptureControl = control;
    SetCapture(control->Parent()->Handle());
}

bool TControl::MouseCapture() {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (MouseCapture() != value)
        SetCaptureControl(value ? this : nullptr);
}

void TControl::DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift) {
    TWMMouse mouse(message);
    MouseDown(button, shift + KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
}

void TControl::DoMouseUp(TMessage& message, TMouseButton button) {
    TWMMouse mouse(message);
    MouseUp(button, KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
}

// Each button and move handler lets the window's own class act first (a BUTTON presses, an EDIT places
// its caret, a LISTBOX selects), so the control's mouse events see the result. A graphic control has no
// window, and its default handling does nothing with the mouse.
void TControl::WMLButtonDown(TMessage& message) {
    SendCancelMode(this);
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState.Include(csClicked);
    DoMouseDown(message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& message) {
    SendCancelMode(this);
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    DoMouseDown(message, mbLeft, TShiftState{ssDouble});
}

void TControl::WMLButtonUp(TMessage& message) {
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        TWMMouse mouse(message);
        if (mouse.XPos >= 0 && mouse.YPos >= 0 && mouse.XPos < FWidth && mouse.YPos < FHeight)
            Click();
    }
    DoMouseUp(message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& message) {
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& message) {
    DefaultHandler(message);
    DoMouseUp(message, mbRight);
}

void TControl::WMContextMenu(TMessage& message) {
    if (message.Result != 0)
        return;
    TPoint pos(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
    bool fromKeyboard = pos.X == -1 && pos.Y == -1;
    TPoint clientPos = pos;
    if (!fromKeyboard) {
        clientPos = ScreenToClient(pos);
        TRect client = ClientRect();
        if (clientPos.X < client.Left || clientPos.X >= client.Right || clientPos.Y < client.Top ||
            clientPos.Y >= client.Bottom) {
            DefaultHandler(message);
            return;
        }
    }
    bool handled = false;
    DoContextPopup(clientPos, handled);
    if (handled || ShowControlPopupMenu(this, pos)) {
        message.Result = 1;
        return;
    }
    DefaultHandler(message);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
    if (OnContextPopup)
        OnContextPopup(this, mousePos, handled);
}

void TControl::WMMButtonDown(TMessage& message) {
    SendCancelMode(this);
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& message) {
    DefaultHandler(message);
    DoMouseUp(message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& message) {
    DefaultHandler(message);
    TWMMouse mouse(message);
    MouseMove(KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
}

void TControl::DoClick() {
    // A handler of the control's own comes first; without one a linked action executes.
    if (OnClick)
        OnClick(this);
    else if (FActionLink != nullptr && !ComponentState().Contains(csDesigning))
        FActionLink->Execute(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

// ---- The wheel ----

void TControl::WMMouseWheel(TMessage& message) {
    // The focused control of the form gets the wheel first; unhandled turns go up to the parents.
    TCustomForm* form = GetParentForm(this);
    TWinControl* target =
        form != nullptr && form->ActiveControl() != nullptr ? form->ActiveControl() : nullptr;
    if (target != nullptr && target != this)
        message.Result = target->Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
    else
        message.Result = Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
    // The route above already went up through the parents; the default procedure would hand the
    // wheel to the parent window and so count the same turn twice.
}

void TControl::CMMouseWheel(TMessage& message) {
    TWMMouseWheel wheel(message);
    message.Result = 0;
    TShiftState shift = KeysToShiftState(wheel.Keys);
    if (DoMouseWheel(shift, wheel.WheelDelta, TPoint(wheel.XPos, wheel.YPos)))
        message.Result = 1;
    else if (FParent != nullptr)
        message.Result = FParent->Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (handled)
        return true;
    // Whole notches only; partial turns add up until they make one.
    FWheelAccumulator += wheelDelta;
    while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
        bool down = FWheelAccumulator < 0;
        FWheelAccumulator += down ? WHEEL_DELTA : -WHEEL_DELTA;
        handled = down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, shift, mousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

// ---- Entering and leaving ----

void TControl::CMMouseEnter(TMessage& message) {
    if (FParent != nullptr)
        FParent->Perform(CM_MOUSEENTER, 0,
                         message.LParam != 0 ? message.LParam : reinterpret_cast<LPARAM>(this));
    if (message.LParam == 0 && OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& message) {
    if (FParent != nullptr)
        FParent->Perform(CM_MOUSELEAVE, 0,
                         message.LParam != 0 ? message.LParam : reinterpret_cast<LPARAM>(this));
    if (message.LParam == 0 && OnMouseLeave)
        OnMouseLeave(this);
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
    TControl* control = nullptr;
    if (GetCapture() == FHandle) {
        TControl* capture = GetCaptureControl();
        if (capture != nullptr && capture != this && capture->Parent() == this)
            control = capture;
    } else {
        control = ControlAtPos(TPoint(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)), false);
    }
    if (message.Msg == WM_MOUSEMOVE)
        TrackMouse(control);
    if (control == nullptr)
        return false;
    int x = GET_X_LPARAM(message.LParam) - control->Left();
    int y = GET_Y_LPARAM(message.LParam) - control->Top();
    message.Result =
        control->Perform(message.Msg, message.WParam, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    return true;
}

// Sends CM_MOUSEENTER and CM_MOUSELEAVE as the mouse moves between this window and its graphic
// children; the window manager tells the window when the mouse leaves it. Only the control right under
// the mouse is entered: coming onto a graphic child from outside enters the child, not the window too
// (the child's CM_MOUSEENTER still passes up through its parents, which do not fire OnMouseEnter for it).
void TWinControl::TrackMouse(TControl* over) {
    if (!FMouseInControl) {
        FMouseInControl = true;
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&track);
    }
    TControl* now = over != nullptr ? over : this;
    if (now == FMouseControl)
        return;
    TControl* old = FMouseControl;
    FMouseControl = now;
    if (old != nullptr)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    now->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::WMMouseLeave(TMessage&) {
    TControl* old = FMouseControl;
    FMouseControl = nullptr;
    FMouseInControl = false;
    if (old != nullptr)
        old->Perform(CM_MOUSELEAVE, 0, 0);
}

// ---- Drag inside the process ----

namespace {

// The one drag of the program. The dragged control holds the mouse capture while it runs.
struct DragState {
    TDragObject* object = nullptr;
    TControl* control = nullptr; // the dragged control
    bool ownsObject = false;     // the drag made the object (or was given a TDragControlObjectEx)
    TControl* target = nullptr;  // the control under the mouse that was told dsDragEnter
    bool accepted = false;
    bool active = false; // the mouse has passed the threshold (or the drag started at once)
    TPoint startPos;
    Integer threshold = 0;
    TDragImageList* images = nullptr;
};
DragState Drag;

// The window at a screen point, passing through the drag image's own window; disabled windows count
// only with allowDisabled (hints are shown for them, drops never go to them).
HWND DragWindowAt(const TPoint& pos, bool allowDisabled) {
    POINT screen = POINT(pos);
    HWND skip = Drag.images != nullptr ? Drag.images->ImageWindow() : nullptr;
    for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
        if (top == skip || !IsWindowVisible(top))
            continue;
        RECT rect;
        if (!GetWindowRect(top, &rect) || !PtInRect(&rect, screen))
            continue;
        HWND hwnd = top;
        for (;;) {
            POINT client = screen;
            ::ScreenToClient(hwnd, &client);
            HWND child = ChildWindowFromPointEx(hwnd, client,
                                                CWP_SKIPINVISIBLE | (allowDisabled ? 0 : CWP_SKIPDISABLED));
            if (child == nullptr || child == hwnd)
                return hwnd;
            hwnd = child;
        }
    }
    return nullptr;
}

} // namespace

TMouse* Mouse() {
    static TMouse mouse;
    return &mouse;
}

TPoint TMouse::CursorPos() const {
    POINT pt{};
    GetCursorPos(&pt);
    return TPoint(pt);
}

void TMouse::SetCursorPos(const TPoint& value) {
    ::SetCursorPos(value.X, value.Y);
}

TDragObject* DragObject() {
    return Drag.object;
}

TCursor TDragObject::GetDragCursor(bool accepted, int, int) {
    return accepted ? crDrag : crNoDrop;
}

void TDragObject::ShowDragImage() {
    if (TDragImageList* images = GetDragImages())
        images->ShowDragImage();
}

void TDragObject::HideDragImage() {
    if (TDragImageList* images = GetDragImages())
        images->HideDragImage();
}

void TBaseDragControlObject::Finished(TObject* target, int x, int y, bool accepted) {
    if (!accepted) {
        if (FControl != nullptr)
            FControl->DragCanceled();
        target = nullptr;
    }
    EndDrag(target, x, y);
}

void TBaseDragControlObject::EndDrag(TObject* target, int x, int y) {
    if (FControl != nullptr)
        FControl->DoEndDrag(target, x, y);
}

TCursor TDragControlObject::GetDragCursor(bool accepted, int x, int y) {
    if (accepted && Control() != nullptr)
        return Control()->DragCursor();
    return TDragObject::GetDragCursor(accepted, x, y);
}

TDragImageList* TDragControlObject::GetDragImages() {
    return Control() != nullptr ? Control()->GetDragImages() : nullptr;
}

bool TControl::Dragging() const {
    return Drag.object != nullptr && Drag.control == this;
}

void TControl::BeginAutoDrag() {
    BeginDrag(Mouse()->DragImmediate(), Mouse()->DragThreshold());
}

void TControl::BeginDrag(bool immediate, Integer threshold) {
    if (dynamic_cast<TCustomForm*>(this) != nullptr)
        throw EInvalidOperation(Consts::SCannotDragForm);
    if (Drag.object != nullptr)
        return;
    // A press in progress becomes the start of the drag: the control's own handling of the press ends.
    if (FControlState.Contains(csLButtonDown)) {
        TPoint pos = ScreenToClient(Mouse()->CursorPos());
        Perform(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(pos.X), static_cast<WORD>(pos.Y)));
        if (Drag.object != nullptr)
            return;
    }
    if (threshold < 0)
        threshold = Mouse()->DragThreshold();
    TDragObject* object = nullptr;
    DoStartDrag(object);
    // OnStartDrag may have started another drag.
    if (Drag.object != nullptr) {
        if (dynamic_cast<TDragControlObjectEx*>(object) != nullptr)
            delete object;
        return;
    }
    bool ownsObject = object == nullptr || dynamic_cast<TDragControlObjectEx*>(object) != nullptr;
    if (object == nullptr)
        object = new TDragControlObjectEx(this);
    // Capture first: taking it over from another window must not end the drag just begun.
    SetMouseCapture(true);
    Drag = DragState{};
    Drag.object = object;
    Drag.control = this;
    Drag.ownsObject = ownsObject;
    Drag.startPos = Mouse()->CursorPos();
    Drag.threshold = threshold;
    Drag.active = immediate;
    object->FDragPos = Drag.startPos;
    if (immediate)
        DragTo(Drag.startPos);
}

void TControl::DoStartDrag(TDragObject*& dragObject) {
    if (OnStartDrag)
        OnStartDrag(this, dragObject);
}

TControl* FindDragTarget(const TPoint& pos, bool allowDisabled) {
    // A window that is not one of ours (the edit of a combo box) stands for the control that holds it.
    HWND hwnd = DragWindowAt(pos, allowDisabled);
    TWinControl* window = nullptr;
    while (hwnd != nullptr && (window = FindControl(hwnd)) == nullptr)
        hwnd = GetParent(hwnd);
    if (window == nullptr)
        return nullptr;
    TControl* control = window->ControlAtPos(window->ScreenToClient(pos), allowDisabled);
    return control != nullptr ? control : window;
}

// Runs the steps of a drag; a friend of TDragObject, whose position fields it keeps.
struct DragRunner {
    // Asks the target (the drag's current one) about the drag; answers whether it accepts. The
    // handler may end the drag, which the caller checks.
    static bool DragOverTarget(TDragState state) {
        TControl* target = Drag.target;
        if (target == nullptr)
            return false;
        TPoint client = target->ScreenToClient(Drag.object->FDragPos);
        bool accept = false;
        target->DragOver(Drag.object, client.X, client.Y, state, accept);
        return accept;
    }

    static void MoveTo(const TPoint& pos) {
        TDragObject* object = Drag.object;
        // Asked each time rather than kept: the control may change or free its images meanwhile.
        Drag.images = object->GetDragImages();
        TControl* target = FindDragTarget(pos, false);
        if (target != Drag.target) {
            DragOverTarget(dsDragLeave);
            if (Drag.object != object)
                return;
            Drag.target = target;
            object->FDragTarget = target;
            object->FDragPos = pos;
            DragOverTarget(dsDragEnter);
            if (Drag.object != object)
                return;
        }
        object->FDragPos = pos;
        object->FDragTargetPos = target != nullptr ? target->ScreenToClient(pos) : TPoint();
        bool accepted = DragOverTarget(dsDragMove);
        if (Drag.object != object)
            return;
        Drag.accepted = accepted;
        TCursor cursor = object->GetDragCursor(accepted, pos.X, pos.Y);
        // The image shows over nothing and over controls that ask for it.
        if (Drag.images != nullptr) {
            if (target == nullptr || target->ControlStyle().Contains(csDisplayDragImage)) {
                if (!Drag.images->Dragging())
                    Drag.images->BeginDrag(nullptr, pos.X, pos.Y);
                else
                    Drag.images->DragMove(pos.X, pos.Y);
            } else {
                Drag.images->EndDrag();
            }
        }
        ::SetCursor(Screen()->Cursors(cursor));
    }

    static void Done(bool drop) {
        TDragObject* object = Drag.object;
        if (object == nullptr || object->FCancelling)
            return;
        object->FCancelling = true;
        object->FDropped = drop;
        if (TDragImageList* images = object->GetDragImages())
            images->EndDrag();
        TControl* source = Drag.control;
        TControl* target = Drag.active ? Drag.target : nullptr;
        bool accepted = drop && target != nullptr && Drag.accepted;
        TPoint client = target != nullptr ? target->ScreenToClient(object->FDragPos) : TPoint();
        bool ownsObject = Drag.ownsObject;
        // The drag is over before anyone hears of it, so that handlers may start another.
        Drag = DragState{};
        if (source != nullptr && source->MouseCapture())
            source->SetMouseCapture(false);
        if (target != nullptr) {
            if (accepted) {
                target->DragDrop(object, client.X, client.Y);
            } else {
                bool ignored = false;
                target->DragOver(object, client.X, client.Y, dsDragLeave, ignored);
            }
        }
        if (!accepted)
            client = TPoint();
        try {
            object->Finished(accepted ? target : nullptr, client.X, client.Y, accepted);
        } catch (...) {
            if (ownsObject)
                delete object;
            throw;
        }
        if (ownsObject)
            delete object;
    }
};

void DragTo(const TPoint& pos) {
    if (Drag.object == nullptr)
        return;
    if (!Drag.active) {
        if (std::abs(pos.X - Drag.startPos.X) < Drag.threshold &&
            std::abs(pos.Y - Drag.startPos.Y) < Drag.threshold)
            return;
        Drag.active = true;
    }
    DragRunner::MoveTo(pos);
}

void TControl::EndDrag(bool drop) {
    if (Dragging())
        DragRunner::Done(drop);
}

void CancelDrag() {
    DragRunner::Done(false);
}

void TWinControl::WMCaptureChanged(TMessage& message) {
    if (Drag.object != nullptr && reinterpret_cast<HWND>(message.LParam) != FHandle &&
        (Drag.control == this ||
         (Drag.control->Parent() == this && dynamic_cast<TWinControl*>(Drag.control) == nullptr)))
        CancelDrag();
    DefaultHandler(message);
}

void TControl::ForgetMouse(bool destroying) {
    // Another window may have taken the capture from the parent without the control hearing of it.
    if (CaptureControl == this)
        CaptureControl = nullptr;
    if (Drag.object == nullptr)
        return;
    if (Drag.control == this && !destroying) {
        CancelDrag();
    } else if (Drag.control == this) {
        // The drag images may have gone with the control; an image list ends its drag when freed.
        TDragObject* object = Drag.ownsObject ? Drag.object : nullptr;
        Drag = DragState{};
        ReleaseCapture();
        delete object;
    } else if (Drag.target == this) {
        // A target going away hears no more of the drag; the next move finds the new one.
        Drag.target = nullptr;
        Drag.accepted = false;
        Drag.object->FDragTarget = nullptr;
    }
}

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, source, x, y, state, accept);
    }
}

void TControl::DefaultDragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
    DragOver(source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
    if (OnDragDrop)
        OnDragDrop(this, source, x, y);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
    if (OnEndDrag)
        OnEndDrag(this, target, x, y);
}

void TControl::CMDrag(TMessage&) {}
