// TCustomForm: a top-level window built from its description, its events in the framework's order
// (create, show, resize, activate, paint; close, hide, destroy), focus of its controls, dialog keys,
// ShowModal's nested loop and Close.
#include "platform/framework/Forms.h"

#include <utility>

#include "platform/framework/Application.h"
#include "platform/framework/FormResources.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TCustomForm, PROPERTY(ActiveControl), PROPERTY(AlphaBlend).Default(false),
             PROPERTY(AlphaBlendValue).Default(255),
             PROPERTY(BorderIcons).Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}),
             PROPERTY(BorderStyle).Default(bsSizeable),
             PROPERTY_RW(ClientHeight, ClientHeightProp, SetClientHeightProp),
             PROPERTY_RW(ClientWidth, ClientWidthProp, SetClientWidthProp),
             PROPERTY(FormStyle).Default(fsNormal), PROPERTY(KeyPreview).Default(false),
             PROPERTY(OldCreateOrder), PROPERTY(PixelsPerInch), PROPERTY(Position).Default(poDesigned),
             PROPERTY(Scaled).Default(true), PROPERTY(WindowState).Default(wsNormal),
             PROPERTY(Visible).Default(false), EVENT(OnActivate), EVENT(OnClose), EVENT(OnCloseQuery),
             EVENT(OnCreate), EVENT(OnDeactivate), EVENT(OnDestroy), EVENT(OnHide), EVENT(OnPaint),
             EVENT(OnShow))
DEFINE_CLASS(TForm)

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>()) {
    RegisterFrameworkClasses();
    FCanvas->SetControl(this);
    FVisible = false;
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetColor(clBtnFace);
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    Screen()->AddForm(this);
}

TCustomForm::TCustomForm(TComponent* owner, Integer) : TCustomForm(owner) {
    FCreateNew = true;
}

TCustomForm::~TCustomForm() {
    Screen()->RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
    FFormState.Include(fsCreating);
    try {
        if (!FCreateNew && ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass()) {
            if (!InitInheritedComponent(this, TForm::StaticClass()))
                throw EResNotFound(Consts::SResNotFound, {ClassName()});
        }
    } catch (...) {
        FFormState.Exclude(fsCreating);
        throw;
    }
    FFormState.Exclude(fsCreating);
    DoCreate();
    // A form described as visible shows once it is whole.
    if (FFormState.Contains(fsVisible)) {
        FFormState.Exclude(fsVisible);
        SetVisible(true);
    }
}

void TCustomForm::BeforeDestruction() {
    if (!FDestroyed) {
        FDestroyed = true;
        DoDestroy();
    }
    TWinControl::BeforeDestruction();
}

namespace {

// Called inside a catch block: the application shows the exception; without one it goes on.
void HandleEventError(TObject* sender) {
    if (Application == nullptr)
        throw;
    Application->HandleException(sender);
}

} // namespace

// An exception in OnCreate is shown and the form is made all the same, with what the handler did
// before it; programs that load their settings in OnCreate rely on opening with a bad setting.
void TCustomForm::DoCreate() {
    if (!OnCreate)
        return;
    try {
        OnCreate(this);
    } catch (...) {
        HandleEventError(this);
    }
}

// Shown, not passed on: it would otherwise leave a destructor.
void TCustomForm::DoDestroy() {
    if (!OnDestroy)
        return;
    try {
        OnDestroy(this);
    } catch (...) {
        HandleEventError(this);
    }
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (FActiveControl != nullptr) {
        TWinControl* control = FActiveControl;
        FActiveControl = nullptr;
        if (control->CanFocus() || !Visible())
            FActiveControl = control;
    }
}

void TCustomForm::CMVisibleChanged(TMessage& message) {
    // While the description is read, Visible only records the wish; AfterConstruction shows the form.
    if (FFormState.Contains(fsCreating) || ComponentState().Contains(csLoading)) {
        if (FVisible) {
            FVisible = false;
            FFormState.Include(fsVisible);
        }
        return;
    }
    TWinControl::CMVisibleChanged(message);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove) {
        if (component == FActiveControl)
            FActiveControl = nullptr;
        if (component == FFocusedControl)
            FFocusedControl = nullptr;
        if (component == FLastActiveControl)
            FLastActiveControl = nullptr;
    }
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
    TWinControl::GetChildren(proc, root);
    for (Integer i = 0; i < ComponentCount(); ++i) {
        TComponent* component = Components(i);
        if (!component->HasParent())
            proc(component);
    }
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN;
    params.ExStyle = 0;
    params.WndParent = nullptr;
    switch (FBorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu))
            params.Style |= WS_SYSMENU;
        if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
            if (FBorderIcons.Contains(biMinimize))
                params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize))
                params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    if (FAlphaBlend)
        params.ExStyle |= WS_EX_LAYERED;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    params.WindowClass.style = CS_DBLCLKS;
    // The default positions cascade over the work area; a default size is for sizeable frames only.
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
        params.X = CW_USEDEFAULT;
        params.Y = CW_USEDEFAULT;
    }
    if ((FPosition == poDefault || FPosition == poDefaultSizeOnly) &&
        (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin)) {
        params.Width = CW_USEDEFAULT;
        params.Height = CW_USEDEFAULT;
    }
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    // A default size replaces the one the description gives.
    if ((FPosition == poDefault || FPosition == poDefaultSizeOnly) &&
        (FBorderStyle == bsSizeable || FBorderStyle == bsSizeToolWin)) {
        FClientWidthPending = -1;
        FClientHeightPending = -1;
    }
    // The client size a description gives is the size inside the frame the window has now.
    if (FClientWidthPending >= 0)
        SetClientWidth(std::exchange(FClientWidthPending, -1));
    if (FClientHeightPending >= 0)
        SetClientHeight(std::exchange(FClientHeightPending, -1));
    ApplyAlphaBlend();
}

void TCustomForm::SetClientWidthProp(Integer value) {
    if (WindowHandle() == nullptr) {
        FClientWidthPending = value;
        SetWidth(value);
        return;
    }
    SetClientWidth(value);
}

void TCustomForm::SetClientHeightProp(Integer value) {
    if (WindowHandle() == nullptr) {
        FClientHeightPending = value;
        SetHeight(value);
        return;
    }
    SetClientHeight(value);
}

void TCustomForm::ApplyAlphaBlend() {
    if (WindowHandle() == nullptr)
        return;
    LONG ex = GetWindowLongW(WindowHandle(), GWL_EXSTYLE);
    if (FAlphaBlend) {
        SetWindowLongW(WindowHandle(), GWL_EXSTYLE, ex | static_cast<LONG>(WS_EX_LAYERED));
        SetLayeredWindowAttributes(WindowHandle(), 0, FAlphaBlendValue, LWA_ALPHA);
    } else if ((ex & WS_EX_LAYERED) != 0) {
        SetWindowLongW(WindowHandle(), GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
    }
}

void TCustomForm::SetAlphaBlend(bool value) {
    if (FAlphaBlend == value)
        return;
    FAlphaBlend = value;
    ApplyAlphaBlend();
}

void TCustomForm::SetAlphaBlendValue(Byte value) {
    if (FAlphaBlendValue == value)
        return;
    FAlphaBlendValue = value;
    ApplyAlphaBlend();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (FBorderIcons == value)
        return;
    FBorderIcons = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (FFormStyle == value)
        return;
    FFormStyle = value;
    if (WindowHandle() != nullptr)
        SetWindowPos(WindowHandle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (FWindowState == value)
        return;
    FWindowState = value;
    if (WindowHandle() != nullptr && Showing())
        ShowWindow(WindowHandle(), value == wsMinimized   ? SW_MINIMIZE
                                   : value == wsMaximized ? SW_MAXIMIZE
                                                          : SW_RESTORE);
}

// ---- Showing ----

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::ApplyPosition() {
    TCustomForm* center = nullptr;
    TRect area = Screen()->WorkAreaRect();
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poMainFormCenter:
        center = dynamic_cast<TCustomForm*>(Application != nullptr ? Application->MainForm() : nullptr);
        break;
    case poOwnerFormCenter:
        center = dynamic_cast<TCustomForm*>(Owner());
        break;
    default:
        return;
    }
    if (center == this)
        center = nullptr;
    if (FPosition == poScreenCenter || FPosition == poDesktopCenter) {
        TRect screen =
            FPosition == poDesktopCenter ? TRect(0, 0, Screen()->Width(), Screen()->Height()) : area;
        SetBounds(screen.Left + (screen.Width() - FWidth) / 2, screen.Top + (screen.Height() - FHeight) / 2,
                  FWidth, FHeight);
    } else if (center != nullptr) {
        int left = center->Left() + (center->Width() - FWidth) / 2;
        int top = center->Top() + (center->Height() - FHeight) / 2;
        // Kept on the work area.
        left = std::max<int>(area.Left, std::min<int>(left, area.Right - FWidth));
        top = std::max<int>(area.Top, std::min<int>(top, area.Bottom - FHeight));
        SetBounds(left, top, FWidth, FHeight);
    } else {
        SetBounds(area.Left + (area.Width() - FWidth) / 2, area.Top + (area.Height() - FHeight) / 2, FWidth,
                  FHeight);
    }
}

void TCustomForm::CMShowingChanged(TMessage&) {
    if (Showing()) {
        DoShow();
        ApplyPosition();
        int command = FWindowState == wsMinimized   ? SW_SHOWMINIMIZED
                      : FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                                                    : SW_SHOWNORMAL;
        // The size the window took while hidden reaches OnResize now, after OnShow and before activation.
        if (FResizePending) {
            FResizePending = false;
            Resize();
        }
        ShowWindow(WindowHandle(), command);
        if (FFormStyle == fsStayOnTop)
            SetWindowPos(WindowHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        if (GetActiveWindow() == WindowHandle())
            SetActive(false);
        ShowWindow(WindowHandle(), SW_HIDE);
        DoHide();
    }
}

// OnShow and OnHide run in the middle of a change of visibility; an exception is shown there so that
// the window still ends up shown or hidden as asked.
void TCustomForm::DoShow() {
    if (!OnShow)
        return;
    try {
        OnShow(this);
    } catch (...) {
        HandleEventError(this);
    }
}

void TCustomForm::DoHide() {
    if (!OnHide)
        return;
    try {
        OnHide(this);
    } catch (...) {
        HandleEventError(this);
    }
}

void TCustomForm::WMSize(TMessage& message) {
    // The window manager may minimise, maximise or restore the window itself; WindowState follows.
    if (IsWindowVisible(WindowHandle()))
        FWindowState = message.WParam == SIZE_MINIMIZED   ? wsMinimized
                       : message.WParam == SIZE_MAXIMIZED ? wsMaximized
                                                          : wsNormal;
    if (WindowHandle() != nullptr && !IsWindowVisible(WindowHandle())) {
        UpdateBounds();
        Realign();
        FResizePending = true;
        return;
    }
    TWinControl::WMSize(message);
}

void TCustomForm::WMPaint(TMessage& message) {
    // A form always paints itself (OnPaint, its graphic controls), through a bitmap when double
    // buffered.
    FControlState.Include(csCustomPaint);
    try {
        TWinControl::WMPaint(message);
    } catch (...) {
        FControlState.Exclude(csCustomPaint);
        throw;
    }
    FControlState.Exclude(csCustomPaint);
}

void TCustomForm::PaintWindow(HDC dc) {
    FCanvas->Lock();
    try {
        FCanvas->SetHandle(dc);
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
}

void TCustomForm::Paint() {
    if (OnPaint)
        OnPaint(this);
}

// ---- Activation and focus ----

void TCustomForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ACTIVATE:
        WMActivate(message);
        break;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(message);
        break;
    case WM_CLOSE:
        WMClose(message);
        break;
    case WM_SYSCOMMAND:
        WMSysCommand(message);
        break;
    case WM_NEXTDLGCTL:
        WMNextDlgCtl(message);
        break;
    case CM_ACTIVATE:
        CMActivate(message);
        break;
    case CM_DEACTIVATE:
        CMDeactivate(message);
        break;
    case CM_RELEASE:
        CMRelease(message);
        break;
    default:
        TWinControl::Dispatch(message);
        break;
    }
}

void TCustomForm::WMNextDlgCtl(TMessage& message) {
    if (LOWORD(message.LParam) != 0)
        ::SetFocus(reinterpret_cast<HWND>(message.WParam));
    else
        SelectNext(FActiveControl, message.WParam == 0, true);
}

// The user sizes the form within its constraints; the system's limits stand where there is none.
void TCustomForm::WMGetMinMaxInfo(TMessage& message) {
    DefaultHandler(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    if (info == nullptr)
        return;
    const TSizeConstraints& limits = *Constraints();
    if (limits.MinWidth() > 0)
        info->ptMinTrackSize.x = limits.MinWidth();
    if (limits.MinHeight() > 0)
        info->ptMinTrackSize.y = limits.MinHeight();
    if (limits.MaxWidth() > 0)
        info->ptMaxTrackSize.x = limits.MaxWidth();
    if (limits.MaxHeight() > 0)
        info->ptMaxTrackSize.y = limits.MaxHeight();
}

void TCustomForm::WMActivate(TMessage& message) {
    SetActive(LOWORD(message.WParam) != WA_INACTIVE);
}

void TCustomForm::SetActive(bool value) {
    if (FActive == value)
        return;
    FActive = value;
    if (value) {
        if (FActiveControl == nullptr)
            SelectFirst();
        Screen()->SetFocusedForm(this, FActiveControl);
        Perform(CM_ACTIVATE, 0, 0);
        SetWindowFocus();
    } else {
        Perform(CM_DEACTIVATE, 0, 0);
    }
}

void TCustomForm::CMActivate(TMessage&) {
    Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
    Deactivate();
}

void TCustomForm::Activate() {
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::WMSetFocus(TMessage& message) {
    TWinControl::WMSetFocus(message);
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
    TWinControl* control = FActiveControl;
    if (control != nullptr && control->CanFocus())
        ::SetFocus(control->Handle());
    else if (WindowHandle() != nullptr && GetFocus() != WindowHandle())
        ::SetFocus(WindowHandle());
}

void TCustomForm::SetFocus() {
    if (!CanFocus())
        throw EInvalidOperation(Consts::SCannotFocus);
    SetWindowFocus();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (FActiveControl == control)
        return;
    if (control != nullptr && !ComponentState().Contains(csLoading) &&
        (control == this || GetParentForm(control) != this || (Visible() && !control->CanFocus())))
        throw EInvalidOperation(Consts::SCannotFocus);
    FActiveControl = control;
    if (!ComponentState().Contains(csLoading) && FActive)
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    bool wasActive = FActive;
    SetActiveControl(control);
    if (!wasActive && control != nullptr && control->HandleAllocated() && Visible())
        ::SetFocus(control->Handle());
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && control->ContainsControl(FFocusedControl))
        FFocusedControl = control->Parent();
    if (control->ContainsControl(FActiveControl)) {
        if (FActiveControl == control || removing)
            FActiveControl = nullptr;
        else
            FActiveControl = nullptr;
        if (control->Focused() ||
            (control->HandleAllocated() && IsChild(control->WindowHandle(), GetFocus())))
            if (WindowHandle() != nullptr)
                ::SetFocus(WindowHandle());
    }
}

// Moves the focus: CM_EXIT goes to the controls being left, from the old focused control up to the one
// that holds both, and CM_ENTER to the controls entered, from there down to the new one.
bool TCustomForm::SetFocusedControl(TWinControl* control) {
    // A form being freed moves the focus away without telling controls that are going too.
    if (ComponentState().Contains(csDestroying))
        return true;
    if (FFocusedControl == control) {
        Screen()->SetFocusedForm(this, control);
        return true;
    }
    FFocusedControl = nullptr;
    if (control != this)
        FActiveControl = control;
    TWinControl* old = FLastActiveControl;
    FLastActiveControl = control;
    if (old != nullptr) {
        for (TWinControl* c = old; c != nullptr && !c->ContainsControl(control); c = c->Parent()) {
            c->Perform(CM_EXIT, 0, 0);
            if (FLastActiveControl != control)
                return false;
        }
    }
    std::vector<TWinControl*> entered;
    for (TWinControl* c = control; c != nullptr && c != this && (old == nullptr || !c->ContainsControl(old));
         c = c->Parent())
        entered.push_back(c);
    for (auto it = entered.rbegin(); it != entered.rend(); ++it) {
        (*it)->Perform(CM_ENTER, 0, 0);
        if (FLastActiveControl != control)
            return false;
    }
    FFocusedControl = control;
    Screen()->SetFocusedForm(this, control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

// ---- Dialog keys and short cuts ----

bool TCustomForm::IsShortCut(TMessage& message) {
    bool handled = false;
    if (OnShortCut) {
        TWMKey key(message);
        OnShortCut(key, handled);
    }
    return handled;
}

void TCustomForm::CMDialogKey(TMessage& message) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (message.WParam) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl != nullptr && FActiveControl->Parent() != nullptr) {
                FActiveControl->Parent()->SelectNext(
                    FActiveControl, message.WParam == VK_RIGHT || message.WParam == VK_DOWN, false);
                message.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    TWinControl::CMDialogKey(message);
}

// ---- Closing ----

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::Close() {
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    // The main form ends its application (the one that made it, or the program's).
    auto* application = dynamic_cast<TApplication*>(Owner());
    if (application == nullptr)
        application = Application;
    if (application != nullptr && application->MainForm() == this)
        application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::WMClose(TMessage&) {
    Close();
}

void TCustomForm::WMSysCommand(TMessage& message) {
    if ((message.WParam & 0xFFF0) == SC_CLOSE) {
        Close();
        return;
    }
    DefaultHandler(message);
}

void TCustomForm::Release() {
    PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) {
    Free();
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
    case caNone:
        FModalResult = mrNone;
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation(Consts::SCannotShowModal);
    CancelDrag();
    if (GetCapture() != nullptr)
        SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FFormState.Include(fsModal);
    HWND activeWindow = GetActiveWindow();
    // The program's other windows take no input while the form is up.
    std::vector<HWND> disabled;
    for (Integer i = 0; i < Screen()->FormCount(); ++i) {
        TCustomForm* form = Screen()->Forms(i);
        if (form != this && form->HandleAllocated() && IsWindowEnabled(form->WindowHandle())) {
            EnableWindow(form->WindowHandle(), FALSE);
            disabled.push_back(form->WindowHandle());
        }
    }
    auto restore = [&] {
        for (HWND hwnd : disabled)
            if (IsWindow(hwnd))
                EnableWindow(hwnd, TRUE);
        FFormState.Exclude(fsModal);
    };
    try {
        Show();
        SendMessageW(Handle(), CM_ACTIVATE, 0, 0);
        FModalResult = mrNone;
        do {
            Application->HandleMessage();
            if (Application->Terminated())
                FModalResult = mrCancel;
            else if (FModalResult != mrNone)
                CloseModal();
        } while (FModalResult == mrNone);
        SendMessageW(Handle(), CM_DEACTIVATE, 0, 0);
    } catch (...) {
        restore();
        Hide();
        throw;
    }
    restore();
    Hide();
    if (activeWindow != nullptr && IsWindow(activeWindow))
        SetActiveWindow(activeWindow);
    return FModalResult;
}
