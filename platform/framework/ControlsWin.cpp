// TWinControl: its window (class registration, creation, the window procedure that turns window
// messages into WndProc calls), its children, showing, and the reflection of notifications to the
// controls that sent them.
#include "platform/framework/Controls.h"

#include <algorithm>
#include <cstdlib>

#include "platform/framework/ControlsInternal.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TWinControl, PROPERTY(TabOrder).Default(-1), PROPERTY(TabStop).Default(false), EVENT(OnEnter),
             EVENT(OnExit), EVENT(OnKeyDown), EVENT(OnKeyPress), EVENT(OnKeyUp))

namespace {

const Char* const ControlProp = u"ZelmorControl";
// The control whose window is being created: its first messages arrive before CreateWindowEx returns.
thread_local TWinControl* CreationControl = nullptr;

} // namespace

LRESULT ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<TWinControl*>(GetPropW(hwnd, ControlProp));
    if (control == nullptr) {
        control = CreationControl;
        if (control == nullptr)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        CreationControl = nullptr;
        control->FHandle = hwnd;
        SetPropW(hwnd, ControlProp, reinterpret_cast<HANDLE>(control));
    }
    TMessage message{msg, wParam, lParam, 0};
    try {
        control->WindowProc(message);
    } catch (...) {
        ApplicationHandleException(control);
    }
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, ControlProp);
        if (control->FHandle == hwnd)
            control->FHandle = nullptr;
    }
    return message.Result;
}

TWinControl* TWinControl::FindControl(HWND hwnd) {
    return hwnd != nullptr ? reinterpret_cast<TWinControl*>(GetPropW(hwnd, ControlProp)) : nullptr;
}

TWinControl* FindControl(HWND hwnd) {
    return TWinControl::FindControl(hwnd);
}

// ---- Construction ----

TWinControl::TWinControl(TComponent* owner) : TControl(owner), FBrush(std::make_unique<TBrush>()) {
    FBrush->SetColor(Color());
}

// A control deleted without Free still leaves its parent and lets its children go, while its own
// type is whole.
TWinControl::~TWinControl() {
    if (FHandle != nullptr)
        DestroyHandle();
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    for (TControl* control : FControls)
        control->FParent = nullptr;
    for (TWinControl* control : FWinControls)
        control->FParent = nullptr;
    FControls.clear();
    FWinControls.clear();
    FTabList.clear();
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction();
    if (auto* form = GetParentForm(this); form != nullptr && form != this)
        form->DefocusControl(this, true);
    if (FHandle != nullptr)
        DestroyHandle();
    // Children the control does not own leave it; owned ones were freed by the owner already.
    while (!FControls.empty())
        FControls.back()->SetParent(nullptr);
    while (!FWinControls.empty())
        FWinControls.back()->SetParent(nullptr);
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle != nullptr)
        return;
    if (FParent != nullptr)
        FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND value) {
    if (FParent == nullptr && FParentWindow != value) {
        if (FHandle != nullptr && value != nullptr)
            ::SetParent(FHandle, value);
        FParentWindow = value;
        UpdateControlState();
    }
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams{};
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        params.Style |= WS_CLIPCHILDREN;
        params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = FParent != nullptr ? FParent->Handle() : FParentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = &DefWindowProcW;
    params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const Char* controlClassName) {
    WNDCLASSW info{};
    if (GetClassInfoW(nullptr, controlClassName, &info)) {
        DWORD keep = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        params.WindowClass = info;
        params.WindowClass.style =
            (info.style & ~keep) | (params.WindowClass.style & keep) | (info.style & keep);
    }
}

void TWinControl::RegisterWindowClass(TCreateParams& params) {
    FDefWndProc =
        params.WindowClass.lpfnWndProc != nullptr ? params.WindowClass.lpfnWndProc : &DefWindowProcW;
    WNDCLASSW existing{};
    bool registered = GetClassInfoW(nullptr, params.WinClassName.c_str(), &existing);
    if (registered && existing.lpfnWndProc == &ControlWindowProc)
        return;
    if (registered)
        UnregisterClassW(params.WinClassName.c_str(), nullptr);
    WNDCLASSW windowClass = params.WindowClass;
    windowClass.lpfnWndProc = &ControlWindowProc;
    windowClass.lpszClassName = params.WinClassName.c_str();
    windowClass.hInstance = nullptr;
    if (RegisterClassW(&windowClass) == 0)
        throw EInvalidOperation(Consts::SUnkOSError);
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (params.WndParent == nullptr && (params.Style & WS_CHILD) != 0)
        throw EInvalidOperation(Consts::SParentRequired, {Name()});
    RegisterWindowClass(params);
    CreateWindowHandle(params);
    if (FHandle == nullptr)
        throw EInvalidOperation(Consts::SUnkOSError);
    UpdateBounds();
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
    if (AutoSize())
        AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    CreationControl = this;
    HWND hwnd = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                                params.Style, params.X, params.Y, params.Width, params.Height,
                                params.WndParent, nullptr, nullptr, params.Param);
    CreationControl = nullptr;
    if (hwnd != nullptr && FHandle == nullptr) {
        FHandle = hwnd;
        SetPropW(hwnd, ControlProp, reinterpret_cast<HANDLE>(this));
    }
}

void TWinControl::CreateHandle() {
    if (FHandle != nullptr)
        return;
    FControlState.Include(csCreating);
    try {
        CreateWnd();
    } catch (...) {
        FControlState.Exclude(csCreating);
        throw;
    }
    FControlState.Exclude(csCreating);
    if (FParent != nullptr) {
        // Keep the window's place among its siblings' windows.
        auto& siblings = FParent->FWinControls;
        auto it = std::find(siblings.begin(), siblings.end(), this);
        HWND after = HWND_TOP;
        for (auto next = it; next != siblings.end() && ++next != siblings.end();)
            if ((*next)->FHandle != nullptr) {
                after = (*next)->FHandle;
                break;
            }
        SetWindowPos(FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (TControl* control : FControls)
        control->UpdateAnchorRules();
    for (TWinControl* control : FWinControls)
        control->UpdateAnchorRules();
}

void TWinControl::DestroyWindowHandle() {
    FControlState.Include(csDestroyingHandle);
    HWND hwnd = FHandle;
    DestroyWindow(hwnd);
    FControlState.Exclude(csDestroyingHandle);
    if (FHandle == hwnd) {
        RemovePropW(hwnd, ControlProp);
        FHandle = nullptr;
    }
}

void TWinControl::DestroyWnd() {
    FText = GetText();
    DestroyWindowHandle();
}

void TWinControl::DestroyHandle() {
    if (FHandle == nullptr)
        return;
    for (TWinControl* child : FWinControls)
        if (child->FHandle != nullptr)
            child->DestroyHandle();
    DestroyWnd();
    // Without a window nothing shows; a new window shows again through UpdateShowing.
    FShowing = false;
}

void TWinControl::RecreateWnd() {
    if (FHandle != nullptr)
        Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
    bool wasFocused = Focused();
    UpdateBounds();
    DestroyHandle();
    UpdateControlState();
    if (wasFocused && FHandle != nullptr)
        ::SetFocus(FHandle);
}

void TWinControl::UpdateBounds() {
    if (FHandle == nullptr)
        return;
    RECT rect;
    GetWindowRect(FHandle, &rect);
    HWND parent = GetParent(FHandle);
    if ((GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD) != 0 && parent != nullptr)
        MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
    TControl::UpdateBoundsRect(TRect(rect));
}

// ---- Children ----

TControl* TWinControl::Controls(Integer index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError(Consts::SListIndexError, {index});
    auto graphic = static_cast<Integer>(FControls.size());
    return index < graphic ? FControls[index] : FWinControls[index - graphic];
}

void TWinControl::InsertControl(TControl* control) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    Insert(control);
    if (!control->ComponentState().Contains(csReading)) {
        control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        control->Perform(CM_PARENTFONTCHANGED, 0, 0);
        control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        control->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
        control->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        if (auto* win = dynamic_cast<TWinControl*>(control)) {
            win->UpdateControlState();
        } else if (FHandle != nullptr) {
            control->Invalidate();
        }
        AlignControl(control);
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        win->RemoveFocus(true);
        if (win->FHandle != nullptr)
            win->DestroyHandle();
    } else if (FHandle != nullptr) {
        control->InvalidateControl(control->Visible(), false);
    }
    Remove(control);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
    Realign();
}

void TWinControl::Insert(TControl* control) {
    // The parent comes first: a tab order kept from before the control had one is applied in its list.
    control->FParent = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        FWinControls.push_back(win);
        FTabList.push_back(win);
        if (win->FTabOrderPending >= 0) {
            Integer order = win->FTabOrderPending;
            win->FTabOrderPending = -1;
            win->UpdateTabOrder(order);
        }
    } else {
        FControls.push_back(control);
    }
}

void TWinControl::Remove(TControl* control) {
    // The mouse tracking must not keep a control that has gone.
    if (FMouseControl == control)
        FMouseControl = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        std::erase(FTabList, win);
        std::erase(FWinControls, win);
    } else {
        std::erase(FControls, control);
    }
    control->FParent = nullptr;
}

bool TWinControl::ContainsControl(TControl* control) const {
    for (TControl* c = control; c != nullptr; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allWinControls) {
    auto hits = [&](TControl* control) {
        return control->Visible() && (allowDisabled || control->Enabled()) && pos.X >= control->FLeft &&
               pos.X < control->FLeft + control->FWidth && pos.Y >= control->FTop &&
               pos.Y < control->FTop + control->FHeight &&
               control->Perform(CM_HITTEST, 0,
                                MAKELPARAM(static_cast<WORD>(pos.X - control->FLeft),
                                           static_cast<WORD>(pos.Y - control->FTop))) != 0;
    };
    if (allWinControls)
        for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
            if (hits(*it))
                return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (hits(*it))
            return *it;
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    for (Integer i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    TMessage message{msg, 0, 0, 0};
    Broadcast(message);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (control->Owner() == root)
            proc(control);
    }
}

void TWinControl::SetChildOrder(TComponent* child, Integer order) {
    auto* control = dynamic_cast<TControl*>(child);
    if (control == nullptr)
        return;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        auto& list = FWinControls;
        std::erase(list, win);
        order = std::clamp<Integer>(order - static_cast<Integer>(FControls.size()), 0,
                                    static_cast<Integer>(list.size()));
        list.insert(list.begin() + order, win);
    } else {
        auto& list = FControls;
        std::erase(list, control);
        order = std::clamp<Integer>(order, 0, static_cast<Integer>(list.size()));
        list.insert(list.begin() + order, control);
    }
}

void TWinControl::SetZOrder(bool topMost) {
    if (FParent == nullptr) {
        if (FHandle != nullptr)
            SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    auto& list = FParent->FWinControls;
    std::erase(list, this);
    if (topMost)
        list.push_back(this);
    else
        list.insert(list.begin(), this);
    if (FHandle != nullptr)
        SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::ReadState(TReader* reader) {
    DisableAlign();
    try {
        TControl::ReadState(reader);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    if (FHandle != nullptr)
        UpdateBounds();
    Realign();
}

// ---- Showing ----

void TWinControl::UpdateControlState() {
    TWinControl* control = this;
    while (control->FParent != nullptr) {
        control = control->FParent;
        if (!control->FShowing)
            return;
    }
    if (dynamic_cast<TCustomForm*>(control) != nullptr || control->FParentWindow != nullptr)
        UpdateShowing();
}

void TWinControl::UpdateShowing() {
    bool show =
        FVisible && !FControlState.Contains(csReadingState) && !ComponentState().Contains(csDestroying);
    if (show) {
        if (FHandle == nullptr)
            CreateHandle();
        for (std::size_t i = 0; i < FWinControls.size(); ++i)
            FWinControls[i]->UpdateShowing();
    }
    if (FHandle != nullptr && FShowing != show) {
        FShowing = show;
        try {
            Perform(CM_SHOWINGCHANGED, 0, 0);
        } catch (...) {
            FShowing = !show;
            throw;
        }
    }
}

void TWinControl::CMShowingChanged(TMessage&) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (!FVisible && FParent != nullptr)
        RemoveFocus(false);
    UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&) {
    if (!Enabled() && FParent != nullptr)
        RemoveFocus(false);
    if (FHandle != nullptr)
        EnableWindow(FHandle, Enabled());
}

void TWinControl::CMColorChanged(TMessage& message) {
    FBrush->SetColor(Color());
    TControl::CMColorChanged(message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& message) {
    TControl::CMFontChanged(message);
    if (FHandle != nullptr)
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    if (FHandle != nullptr)
        RecreateWnd();
    NotifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::SetParentBackground(bool value) {
    if (value)
        FControlStyle.Include(csParentBackground);
    else
        FControlStyle.Exclude(csParentBackground);
    Invalidate();
}

// ---- Bounds ----

void TWinControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    if (!CheckNewSize(width, height))
        return;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    if (FHandle != nullptr && !ComponentState().Contains(csLoading)) {
        // The window manager answers with WM_WINDOWPOSCHANGED, WM_SIZE and WM_MOVE; the bounds follow.
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (FLeft != left || FTop != top || FWidth != width || FHeight != height) {
            FLeft = left;
            FTop = top;
            FWidth = width;
            FHeight = height;
        }
    } else {
        FLeft = left;
        FTop = top;
        FWidth = width;
        FHeight = height;
        if (FHandle != nullptr)
            SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateAnchorRules();
    RequestAlign();
    if (FHandle == nullptr && !ComponentState().Contains(csLoading)) {
        Realign();
        Resize();
    }
}

TRect TWinControl::ClientRect() {
    if (FHandle == nullptr)
        return TControl::ClientRect();
    RECT rect;
    GetClientRect(FHandle, &rect);
    return TRect(rect);
}

TPoint TWinControl::ClientOrigin() {
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    return TPoint(origin);
}

// The window class hears of its new size too: an edit lays its text out again for it.
void TWinControl::WMSize(TMessage& message) {
    UpdateBounds();
    DefaultHandler(message);
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

void TWinControl::WMMove(TMessage&) {
    UpdateBounds();
}

void TWinControl::SetBorderWidth(Integer value) {
    if (FBorderWidth == value)
        return;
    FBorderWidth = value;
    Realign();
    Invalidate();
}

namespace {

// a * m / d rounded to the nearest whole number, halves away from zero (d > 0).
Integer Scale(Integer a, Integer m, Integer d) {
    long long product = static_cast<long long>(a) * m;
    long long magnitude = (std::abs(product) + d / 2) / d;
    return static_cast<Integer>(product < 0 ? -magnitude : magnitude);
}

} // namespace

void TControl::ChangeScale(Integer m, Integer d) {
    Integer left = Scale(FLeft, m, d);
    Integer top = Scale(FTop, m, d);
    Integer width = Scale(FLeft + FWidth, m, d) - left;
    Integer height = Scale(FTop + FHeight, m, d) - top;
    SetBounds(left, top, width, height);
    if (!FParentFont)
        FFont->SetSize(Scale(FFont->Size(), m, d));
}

void TWinControl::ScaleControls(Integer m, Integer d) {
    for (Integer i = 0; i < ControlCount(); ++i)
        Controls(i)->ChangeScale(m, d);
}

void TWinControl::ChangeScale(Integer m, Integer d) {
    DisableAlign();
    try {
        ScaleControls(m, d);
        TControl::ChangeScale(m, d);
    } catch (...) {
        --FAlignLevel;
        throw;
    }
    EnableAlign();
}

void TWinControl::ScaleBy(Integer m, Integer d) {
    if (m == d || d <= 0 || m <= 0)
        return;
    DisableAlign();
    try {
        ScaleControls(m, d);
        SetBounds(FLeft, FTop, Scale(FWidth, m, d), Scale(FHeight, m, d));
        if (!ParentFont())
            Font()->SetSize(Scale(Font()->Size(), m, d));
    } catch (...) {
        --FAlignLevel;
        throw;
    }
    EnableAlign();
}

void TWinControl::ScrollBy(Integer deltaX, Integer deltaY) {
    if (deltaX == 0 && deltaY == 0)
        return;
    DisableAlign();
    try {
        for (Integer i = 0; i < ControlCount(); ++i) {
            TControl* control = Controls(i);
            auto* win = dynamic_cast<TWinControl*>(control);
            if (win != nullptr && win->FHandle != nullptr)
                // The window's WM_MOVE brings its bounds up to date.
                SetWindowPos(win->FHandle, nullptr, win->FLeft + deltaX, win->FTop + deltaY, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            else {
                control->FLeft += deltaX;
                control->FTop += deltaY;
            }
        }
    } catch (...) {
        --FAlignLevel;
        throw;
    }
    --FAlignLevel;
    Invalidate();
}

// ---- The message procedure ----

void TWinControl::DefaultHandler(TMessage& message) {
    // A window class asking for its colours (reflected back to the control by its parent) draws in the
    // control's font colour on the control's brush.
    if (message.Msg >= CN_CTLCOLORMSGBOX && message.Msg <= CN_CTLCOLORSTATIC) {
        auto dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorToRGB(FFont->Color()));
        SetBkColor(dc, ColorToRGB(FBrush->Color()));
        message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
        return;
    }
    if (FHandle == nullptr) {
        TControl::DefaultHandler(message);
        return;
    }
    if (message.Msg == WM_CONTEXTMENU && FParent != nullptr) {
        message.Result = FParent->Perform(message.Msg, message.WParam, message.LParam);
        // The parent chain has had the request. The window classes have no context menus of their own:
        // their default procedure would only send it to the parent window a second time.
        return;
    }
    // Colour requests of a child window go back to the child as CN_CTLCOLOR*.
    if (message.Msg >= WM_CTLCOLORMSGBOX && message.Msg <= WM_CTLCOLORSTATIC) {
        message.Result = SendMessageW(reinterpret_cast<HWND>(message.LParam), CN_BASE + message.Msg,
                                      message.WParam, message.LParam);
        return;
    }
    message.Result = CallWindowProcW(FDefWndProc != nullptr ? FDefWndProc : &DefWindowProcW, FHandle,
                                     message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (auto* form = GetParentForm(this); form != nullptr && !form->SetFocusedControl(this))
            return;
        break;
    case WM_NCHITTEST: {
        TControl::WndProc(message);
        if (message.Result == HTTRANSPARENT) {
            POINT pt{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
            ::ScreenToClient(FHandle, &pt);
            if (ControlAtPos(TPoint(pt), false) != nullptr)
                message.Result = HTCLIENT;
        }
        return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (IsControlMouseMsg(message)) {
            if (message.Result == 0 && FHandle != nullptr)
                DefWindowProcW(FHandle, message.Msg, message.WParam, message.LParam);
            return;
        }
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        // A press on the frame or a scroll bar is a press elsewhere too.
        SendCancelMode(this);
        break;
    case WM_CANCELMODE:
        if (GetCapture() == FHandle && GetCaptureControl() != nullptr &&
            GetCaptureControl()->Parent() == this)
            GetCaptureControl()->Perform(WM_CANCELMODE, 0, 0);
        break;
    default:
        if (message.Msg >= WM_KEYFIRST && message.Msg <= WM_KEYLAST && Dragging())
            return;
        break;
    }
    TControl::WndProc(message);
}

void TWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        WMPaint(message);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(message);
        break;
    case WM_PRINTCLIENT: {
        // A child that borrows this window's background asks for the client area in its own DC: the
        // window paints there as it paints itself, graphic children included.
        constexpr LPARAM checkVisible = 0x1; // PRF_CHECKVISIBLE
        const bool hidden = (message.LParam & checkVisible) != 0 && !Visible();
        if (message.Result != 1 && !hidden && message.WParam != 0)
            PaintHandler(message);
        else
            DefaultHandler(message);
        break;
    }
    case WM_SIZE:
        WMSize(message);
        break;
    case WM_MOVE:
        WMMove(message);
        break;
    case WM_SETFOCUS:
        WMSetFocus(message);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(message);
        break;
    case WM_KEYDOWN:
        WMKeyDown(message);
        break;
    case WM_SYSKEYDOWN:
        WMSysKeyDown(message);
        break;
    case WM_KEYUP:
        WMKeyUp(message);
        break;
    case WM_SYSKEYUP:
        WMSysKeyUp(message);
        break;
    case WM_CHAR:
        WMChar(message);
        break;
    case WM_SETCURSOR:
        WMSetCursor(message);
        break;
    case WM_COMMAND:
        WMCommand(message);
        break;
    case WM_NOTIFY:
        WMNotify(message);
        break;
    case WM_DRAWITEM:
        WMDrawItem(message);
        break;
    case WM_MEASUREITEM:
        WMMeasureItem(message);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        WMScroll(message);
        break;
    case WM_NCDESTROY:
        WMNCDestroy(message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(message);
        break;
    case WM_MOUSELEAVE:
        WMMouseLeave(message);
        break;
    case WM_CAPTURECHANGED:
        WMCaptureChanged(message);
        break;
    case CN_KEYDOWN:
        CNKeyDown(message);
        break;
    case CN_KEYUP:
        CNKeyUp(message);
        break;
    case CN_CHAR:
        CNChar(message);
        break;
    case CN_SYSKEYDOWN:
        CNSysKeyDown(message);
        break;
    case CN_SYSCHAR:
        CNSysChar(message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(message);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        break;
    case CM_WANTSPECIALKEY:
        CMWantSpecialKey(message);
        break;
    case CM_ENTER:
        CMEnter(message);
        break;
    case CM_EXIT:
        CMExit(message);
        break;
    case CM_FOCUSCHANGED:
        CMFocusChanged(message);
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(message);
        break;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(message);
        break;
    case CM_SYSCOLORCHANGE:
        CMSysColorChange(message);
        break;
    case CM_STYLECHANGED:
        CMStyleChanged(message);
        break;
    case CM_RECREATEWND:
        CMRecreateWnd(message);
        break;
    case CM_INVALIDATE:
        CMInvalidate(message);
        break;
    case CM_CHILDKEY:
        CMChildKey(message);
        break;
    // Settings children take from their parent follow it.
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        break;
    case CM_BIDIMODECHANGED:
        NotifyControls(CM_PARENTBIDIMODECHANGED);
        break;
    default:
        TControl::Dispatch(message);
        break;
    }
}

void TWinControl::WMNCDestroy(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::CMInvalidate(TMessage& message) {
    if (FHandle != nullptr) {
        if (FParent != nullptr)
            FParent->Perform(CM_INVALIDATE, 1, 0);
        if (message.WParam == 0)
            InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
    }
}

void TWinControl::WMSetCursor(TMessage& message) {
    if (reinterpret_cast<HWND>(message.WParam) == FHandle &&
        LOWORD(static_cast<std::uintptr_t>(message.LParam)) == HTCLIENT) {
        TCursor cursor = Screen()->Cursor();
        if (cursor == crDefault) {
            POINT pt;
            GetCursorPos(&pt);
            ::ScreenToClient(FHandle, &pt);
            TControl* control = ControlAtPos(TPoint(pt), false);
            cursor = control != nullptr ? control->Cursor() : Cursor();
        }
        if (cursor != crDefault) {
            ::SetCursor(Screen()->Cursors(cursor));
            message.Result = 1;
            return;
        }
    }
    DefaultHandler(message);
}

// Notifications go back to the child that sent them, which handles them as CN_*.
void TWinControl::WMCommand(TMessage& message) {
    HWND child = reinterpret_cast<HWND>(message.LParam);
    if (child == nullptr || SendMessageW(child, CN_COMMAND, message.WParam, message.LParam) == 0)
        DefaultHandler(message);
}

void TWinControl::WMNotify(TMessage& message) {
    // Every notification header starts with the sending window.
    HWND from = message.LParam != 0 ? *reinterpret_cast<const HWND*>(message.LParam) : nullptr;
    if (from == nullptr || FindControl(from) == nullptr) {
        DefaultHandler(message);
        return;
    }
    message.Result = SendMessageW(from, CN_NOTIFY, message.WParam, message.LParam);
}

void TWinControl::WMDrawItem(TMessage& message) {
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    if (item == nullptr || item->hwndItem == nullptr || FindControl(item->hwndItem) == nullptr) {
        DefaultHandler(message);
        return;
    }
    message.Result = SendMessageW(item->hwndItem, CN_DRAWITEM, message.WParam, message.LParam);
}

void TWinControl::WMMeasureItem(TMessage& message) {
    // The item's window is not known from the record: the child with that control id gets it.
    HWND child = nullptr;
    for (TWinControl* control : FWinControls)
        if (control->FHandle != nullptr &&
            GetWindowLongW(control->FHandle, GWL_ID) == static_cast<LONG>(message.WParam))
            child = control->FHandle;
    if (child == nullptr) {
        DefaultHandler(message);
        return;
    }
    message.Result = SendMessageW(child, CN_MEASUREITEM, message.WParam, message.LParam);
}

void TWinControl::WMScroll(TMessage& message) {
    HWND child = reinterpret_cast<HWND>(message.LParam);
    if (child == nullptr || FindControl(child) == nullptr) {
        DefaultHandler(message);
        return;
    }
    message.Result = SendMessageW(child, CN_BASE + message.Msg, message.WParam, message.LParam);
}

void TWinControl::WMContextMenu(TMessage& message) {
    if (message.Result != 0)
        return;
    TPoint pos(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
    if (FHandle != nullptr && !(pos.X == -1 && pos.Y == -1))
        if (TControl* child = ControlAtPos(ScreenToClient(pos), false))
            message.Result = child->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
    if (message.Result == 0)
        TControl::WMContextMenu(message);
}

String TWinControl::GetText() const {
    if (FHandle != nullptr && FDefWndProc != nullptr && FDefWndProc != &DefWindowProcW) {
        int length = GetWindowTextLengthW(FHandle);
        String text(static_cast<std::size_t>(length) + 1, u'\0');
        int got = GetWindowTextW(FHandle, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(std::max(got, 0)));
        return text;
    }
    return FText;
}

void TWinControl::SetTextBuf(const String& value) {
    FText = value;
    if (FHandle != nullptr)
        SetWindowTextW(FHandle, value.c_str());
}
