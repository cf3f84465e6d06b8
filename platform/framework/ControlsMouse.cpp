// The mouse side of controls: buttons, clicks, moves, capture, the wheel, entering and leaving, and the
// framework's drag inside the process.
#include <cstdlib>

#include "platform/framework/Controls.h"
#include "platform/framework/Forms.h"

namespace {

TControl* CaptureControl = nullptr;

} // namespace

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
    DefaultHandler(message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState.Include(csClicked);
    DoMouseDown(message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& message) {
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
    DefaultHandler(message);
    DoMouseDown(message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& message) {
    DefaultHandler(message);
    DoMouseUp(message, mbRight);
}

void TControl::WMMButtonDown(TMessage& message) {
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& message) {
    DefaultHandler(message);
    DoMouseUp(message, mbMiddle);
}

void TControl::WMMouseMove(TMessage& message) {
    TWMMouse mouse(message);
    if (DragObject() != nullptr && DragObject()->Control() == this) {
        POINT pt{mouse.XPos, mouse.YPos};
        TPoint screen = ClientToScreen(TPoint(pt));
        // The moves of a drag belong to the drag; the window's class does not see them.
        DragTo(screen);
        return;
    }
    DefaultHandler(message);
    MouseMove(KeysToShiftState(mouse.Keys), mouse.XPos, mouse.YPos);
}

void TControl::DoClick() {
    if (OnClick)
        OnClick(this);
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
    if (DragObject() != nullptr && DragObject()->Control() == this && button == mbLeft) {
        EndDrag(true);
        return;
    }
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
// children; the window manager tells the window when the mouse leaves it.
void TWinControl::TrackMouse(TControl* over) {
    TControl* now = over != nullptr ? over : this;
    if (now == FMouseControl)
        return;
    if (!FMouseInControl) {
        FMouseInControl = true;
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&track);
        if (now != this)
            Perform(CM_MOUSEENTER, 0, 0);
    }
    TControl* old = FMouseControl;
    FMouseControl = now;
    if (old != nullptr && old != this)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    if (now == this && old == nullptr)
        Perform(CM_MOUSEENTER, 0, 0);
    else if (now != this)
        now->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::WMMouseLeave(TMessage&) {
    TControl* old = FMouseControl;
    FMouseControl = nullptr;
    FMouseInControl = false;
    if (old != nullptr && old != this)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    Perform(CM_MOUSELEAVE, 0, 0);
}

// ---- Drag inside the process ----

struct DragState {
    TDragObject* object = nullptr;
    bool ownsObject = false;
    TControl* target = nullptr; // the control under the mouse that was told dsDragEnter
    bool accepted = false;
};

namespace {
DragState Drag;
} // namespace

TDragObject* DragObject() {
    return Drag.object;
}

TCursor TDragObject::GetDragCursor(bool accepted, int, int) {
    TCursor cursor = FControl != nullptr ? FControl->DragCursor() : crDrag;
    return accepted ? cursor : crNoDrop;
}

bool TControl::Dragging() const {
    return Drag.object != nullptr && Drag.object->Control() == this;
}

void TControl::BeginDrag(bool immediate, Integer) {
    if (Drag.object != nullptr)
        return;
    TDragObject* object = nullptr;
    DoStartDrag(object);
    Drag.ownsObject = object == nullptr;
    if (object == nullptr)
        object = new TDragObject();
    object->SetControl(this);
    Drag.object = object;
    Drag.target = nullptr;
    Drag.accepted = false;
    // The control follows the mouse until the button comes up.
    SetMouseCapture(true);
    if (immediate) {
        POINT pt;
        GetCursorPos(&pt);
        DragTo(TPoint(pt));
    }
}

void TControl::DoStartDrag(TDragObject*& dragObject) {
    if (OnStartDrag)
        OnStartDrag(this, dragObject);
}

TControl* FindDragTarget(const TPoint& pos, bool allowDisabled) {
    TWinControl* window = FindControl(WindowFromPoint(POINT(pos)));
    if (window == nullptr)
        return nullptr;
    POINT client = POINT(pos);
    ::ScreenToClient(window->WindowHandle(), &client);
    TControl* control = window->ControlAtPos(TPoint(client), allowDisabled);
    return control != nullptr ? control : window;
}

namespace {

bool SendDragMessage(TControl* target, TDragState state, const TPoint& screen) {
    TPoint client = target->ScreenToClient(screen);
    bool accept = false;
    target->DragOver(Drag.object, client.X, client.Y, state, accept);
    return accept;
}

void FinishDrag(TControl* target, const TPoint& screen, bool drop) {
    TDragObject* object = Drag.object;
    TControl* source = object->Control();
    bool ownsObject = Drag.ownsObject;
    bool accepted = drop && target != nullptr && Drag.accepted;
    Drag = DragState{};
    if (source != nullptr)
        source->SetMouseCapture(false);
    TPoint client;
    if (target != nullptr) {
        client = target->ScreenToClient(screen);
        if (!accepted) {
            bool ignored = false;
            target->DragOver(object, client.X, client.Y, dsDragLeave, ignored);
        }
    }
    if (accepted)
        target->DragDrop(object, client.X, client.Y);
    object->Finished(accepted ? target : nullptr, client.X, client.Y, accepted);
    if (source != nullptr) {
        TPoint at = accepted ? client : TPoint();
        source->DoEndDrag(accepted ? target : nullptr, at.X, at.Y);
    }
    if (ownsObject)
        delete object;
}

} // namespace

void DragTo(const TPoint& pos) {
    if (Drag.object == nullptr)
        return;
    TControl* target = FindDragTarget(pos, false);
    if (target != Drag.target) {
        if (Drag.target != nullptr)
            SendDragMessage(Drag.target, dsDragLeave, pos);
        Drag.target = target;
        Drag.accepted = target != nullptr && SendDragMessage(target, dsDragEnter, pos);
    } else if (target != nullptr) {
        Drag.accepted = SendDragMessage(target, dsDragMove, pos);
    }
    Drag.object->FDragPos = pos;
    Drag.object->FDragTarget = dynamic_cast<TWinControl*>(target);
    Drag.object->FDragTargetPos = target != nullptr ? target->ScreenToClient(pos) : TPoint();
    ::SetCursor(Screen()->Cursors(Drag.object->GetDragCursor(Drag.accepted, pos.X, pos.Y)));
}

void TControl::EndDrag(bool drop) {
    if (!Dragging())
        return;
    POINT pt;
    GetCursorPos(&pt);
    FinishDrag(Drag.target, TPoint(pt), drop);
}

void CancelDrag() {
    if (Drag.object != nullptr)
        FinishDrag(Drag.target, Drag.object->DragPos(), false);
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
