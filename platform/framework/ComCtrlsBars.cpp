// TStatusBar and its panels on "msctls_statusbar32", TProgressBar on "msctls_progress32" and TUpDown on
// "msctls_updown32".
#include "platform/framework/ComCtrlsBars.h"

#include <algorithm>

#include "platform/framework/Application.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TStatusPanel, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(Bevel).Default(pbLowered),
             PROPERTY(Style).Default(psText), PROPERTY(Text), PROPERTY(Width).Default(50))
DEFINE_CLASS(TStatusPanels)
DEFINE_CLASS(TStatusBar, PROPERTY(Align).Default(alBottom), PROPERTY(AutoHint).Default(false),
             PROPERTY(Panels), PROPERTY(SimplePanel).Default(false), PROPERTY(SimpleText),
             PROPERTY(SizeGrip).Default(true), EVENT(OnHint), EVENT(OnDrawPanel))
DEFINE_CLASS(TProgressBar, PROPERTY(Max).Default(100), PROPERTY(Min).Default(0),
             PROPERTY(Orientation).Default(pbHorizontal), PROPERTY(Position).Default(0),
             PROPERTY(Smooth).Default(false), PROPERTY(Step).Default(10))
DEFINE_CLASS(TUpDown, PROPERTY(AlignButton).Default(udRight), PROPERTY(ArrowKeys).Default(true),
             PROPERTY(Associate), PROPERTY(Increment).Default(1), PROPERTY(Max).Default(100),
             PROPERTY(Min).Default(0), PROPERTY(Orientation).Default(udVertical),
             PROPERTY(Position).Default(0), PROPERTY(Thousands).Default(true), PROPERTY(Wrap).Default(false),
             EVENT(OnChanging), EVENT(OnClick))

// ---- TStatusPanel ----

void TStatusPanel::Assign(TPersistent* source) {
    if (auto* panel = dynamic_cast<TStatusPanel*>(source)) {
        FText = panel->FText;
        FWidth = panel->FWidth;
        FStyle = panel->FStyle;
        FAlignment = panel->FAlignment;
        FBevel = panel->FBevel;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TStatusPanel::SetText(const String& value) {
    if (FText == value)
        return;
    FText = value;
    Changed(false);
}

// A width changes the edges of the panels after it too.
void TStatusPanel::SetWidth(Integer value) {
    if (FWidth == value)
        return;
    FWidth = value;
    Changed(true);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (FBevel == value)
        return;
    FBevel = value;
    Changed(false);
}

// ---- TStatusPanels ----

TStatusPanels::TStatusPanels(TStatusBar* statusBar)
    : TCollection(TStatusPanel::StaticClass()), FStatusBar(statusBar) {}

TPersistent* TStatusPanels::GetOwner() const {
    return FStatusBar;
}

void TStatusPanels::Update(TCollectionItem* item) {
    FStatusBar->UpdatePanel(item ? item->Index() : -1);
}

// ---- TStatusBar ----

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
    SetBounds(Left(), Top(), 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
    if (Application)
        Application->RemoveHintReceiver(this);
}

TCanvas* TStatusBar::Canvas() const {
    return FCanvas.get();
}

void TStatusBar::SetSimplePanel(bool value) {
    if (FSimplePanel == value)
        return;
    FSimplePanel = value;
    if (HandleAllocated())
        SendMessageW(Handle(), SB_SIMPLE, value ? TRUE : FALSE, 0);
    Invalidate();
}

void TStatusBar::SetSimpleText(const String& value) {
    if (FSimpleText == value)
        return;
    FSimpleText = value;
    UpdateSimpleText();
}

void TStatusBar::SetAutoHint(bool value) {
    if (FAutoHint == value)
        return;
    FAutoHint = value;
    if (!Application)
        return;
    if (value)
        Application->AddHintReceiver(this, [this](const String& hint) { return ExecuteHint(hint); });
    else
        Application->RemoveHintReceiver(this);
}

void TStatusBar::SetSizeGrip(bool value) {
    if (FSizeGrip == value)
        return;
    FSizeGrip = value;
    RecreateWnd();
}

bool TStatusBar::ExecuteHint(const String& hint) {
    if (!FAutoHint)
        return false;
    if (OnHint) {
        OnHint(this);
        return true;
    }
    if (FSimplePanel || FPanels->Count() == 0)
        SetSimpleText(hint);
    else
        FPanels->Items(0)->SetText(hint);
    return true;
}

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEW);
    // The framework places the bar by its Align; the window must not move itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (FSizeGrip)
        params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdatePanels();
    UpdateSimpleText();
    if (FSimplePanel)
        SendMessageW(Handle(), SB_SIMPLE, TRUE, 0);
}

void TStatusBar::UpdateSimpleText() {
    if (HandleAllocated())
        SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
}

// Each panel's right edge is the sum of the widths so far; the last panel runs to the end of the bar.
void TStatusBar::UpdatePanels() {
    if (!HandleAllocated())
        return;
    Integer count = FPanels->Count();
    if (count == 0) {
        int edge = -1;
        SendMessageW(Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&edge));
        SendMessageW(Handle(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(u""));
        return;
    }
    std::vector<int> edges(static_cast<std::size_t>(count));
    int right = 0;
    for (Integer i = 0; i < count; ++i) {
        right += FPanels->Items(i)->Width();
        edges[static_cast<std::size_t>(i)] = i == count - 1 ? -1 : right;
    }
    SendMessageW(Handle(), SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
    for (Integer i = 0; i < count; ++i)
        UpdatePanel(i);
}

void TStatusBar::UpdatePanel(Integer index) {
    if (!HandleAllocated())
        return;
    if (index < 0 || index >= FPanels->Count()) {
        UpdatePanels();
        return;
    }
    TStatusPanel* panel = FPanels->Items(index);
    WPARAM flags = static_cast<WPARAM>(index);
    if (panel->Style() == psOwnerDraw)
        flags |= SBT_OWNERDRAW;
    if (panel->Bevel() == pbNone)
        flags |= SBT_NOBORDERS;
    else if (panel->Bevel() == pbRaised)
        flags |= SBT_POPOUT;
    // The window centres and right-aligns the text after one and two tabs.
    String text = panel->Text();
    if (panel->Alignment() == taCenter)
        text = u"\t" + text;
    else if (panel->Alignment() == taRightJustify)
        text = u"\t\t" + text;
    SendMessageW(Handle(), SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel)
        OnDrawPanel(this, panel, rect);
    else
        FCanvas->FillRect(rect);
}

void TStatusBar::Dispatch(TMessage& message) {
    if (message.Msg != CN_DRAWITEM) {
        TWinControl::Dispatch(message);
        return;
    }
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    message.Result = TRUE;
    Integer index = static_cast<Integer>(item.itemID);
    if (index < 0 || index >= FPanels->Count())
        return;
    int saved = SaveDC(item.hDC);
    FCanvas->SetHandle(item.hDC);
    FCanvas->Font()->Assign(Font());
    FCanvas->Brush()->SetColor(Color());
    DrawPanel(FPanels->Items(index),
              TRect(item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom));
    FCanvas->SetHandle(nullptr);
    RestoreDC(item.hDC, saved);
}

// ---- TProgressBar ----

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(Left(), Top(), 150, 16);
}

LRESULT TProgressBar::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    // Only an existing window is asked, so reading its handle changes nothing.
    return HandleAllocated() ? SendMessageW(const_cast<TProgressBar*>(this)->Handle(), msg, wParam, lParam)
                             : 0;
}

void TProgressBar::SetMin(Integer value) {
    if (FMin == value)
        return;
    FMin = value;
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
    Send(PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TProgressBar::SetMax(Integer value) {
    if (FMax == value)
        return;
    FMax = value;
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
    Send(PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

// The window keeps the position once it exists; StepIt moves it there.
Integer TProgressBar::Position() const {
    return HandleAllocated() ? static_cast<Integer>(Send(PBM_GETPOS, 0, 0)) : FPosition;
}

void TProgressBar::SetPosition(Integer value) {
    FPosition = ComponentState().Contains(csLoading)
                    ? value
                    : std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
    Send(PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetStep(Integer value) {
    FStep = value;
    Send(PBM_SETSTEP, static_cast<WPARAM>(value), 0);
}

void TProgressBar::SetSmooth(bool value) {
    if (FSmooth == value)
        return;
    FSmooth = value;
    RecreateWnd();
}

// Turned on its side, the bar keeps its shape turned too.
void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TProgressBar::StepIt() {
    if (HandleAllocated()) {
        Send(PBM_STEPIT, 0, 0);
        FPosition = static_cast<Integer>(Send(PBM_GETPOS, 0, 0));
        return;
    }
    Integer span = FMax - FMin;
    Integer next = FPosition + FStep;
    FPosition =
        span > 0 && next > FMax ? FMin + (next - FMin) % span : std::clamp(next, FMin, std::max(FMin, FMax));
}

void TProgressBar::StepBy(Integer delta) {
    SetPosition(Position() + delta);
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSW);
    if (FSmooth)
        params.Style |= PBS_SMOOTH;
    if (FOrientation == pbVertical)
        params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    FPosition = std::clamp(FPosition, std::min(FMin, FMax), std::max(FMin, FMax));
    Send(PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    Send(PBM_SETSTEP, static_cast<WPARAM>(FStep), 0);
    Send(PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

// ---- TUpDown ----

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csCaptureMouse, csOpaque, csFixedWidth};
    SetBounds(Left(), Top(), 17, 25);
}

TUpDown::~TUpDown() {
    SetAssociate(nullptr);
}

LRESULT TUpDown::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
    return HandleAllocated() ? SendMessageW(const_cast<TUpDown*>(this)->Handle(), msg, wParam, lParam) : 0;
}

void TUpDown::SetAssociate(TWinControl* value) {
    if (value == FAssociate)
        return;
    if (FAssociate) {
        UnhookAssociate();
        FAssociate->RemoveFreeNotification(this);
    }
    FAssociate = value;
    if (FAssociate) {
        FAssociate->FreeNotification(this);
        HookAssociate();
    }
    AttachAssociate();
}

// The associate gets a new window when a property of it needs one (RecreateWnd); the up-down's window
// must then hear the new window, or it would write into one that is gone.
void TUpDown::HookAssociate() {
    FAssociateHook = std::make_shared<TUpDown*>(this);
    std::weak_ptr<TUpDown*> hook = FAssociateHook;
    TWndMethod original = FAssociate->WindowProc;
    FAssociate->WindowProc = [hook, original](TMessage& message) {
        original(message);
        if (auto updown = hook.lock(); updown && *updown)
            (*updown)->AssociateMessage(message);
    };
}

void TUpDown::UnhookAssociate() {
    if (FAssociateHook)
        *FAssociateHook = nullptr;
    FAssociateHook.reset();
}

void TUpDown::AssociateMessage(const TMessage& message) {
    if (!FAssociate || !HandleAllocated())
        return;
    if (message.Msg == WM_NCDESTROY) {
        // The buddy's window is gone: the up-down's window lets go of it too.
        if (FBuddyHandle) {
            FBuddyHandle = nullptr;
            Send(UDM_SETBUDDY, 0, 0);
        }
        return;
    }
    TControlState state = FAssociate->ControlState();
    HWND current = FAssociate->WindowHandle();
    if (current && current != FBuddyHandle && !state.Contains(csCreating) &&
        !state.Contains(csDestroyingHandle))
        AttachAssociate();
}

void TUpDown::AttachAssociate() {
    if (!HandleAllocated())
        return;
    // An associate placed on a form gets its window now; one without a parent cannot have one yet.
    HWND buddy = FAssociate && (FAssociate->HandleAllocated() || FAssociate->Parent()) ? FAssociate->Handle()
                                                                                       : nullptr;
    // Known before the associate moves, so the messages that brings do not attach it again.
    FBuddyHandle = buddy;
    // The window takes its width from the buddy whenever it is given one; an associate the up-down
    // already sits beside (a new window of either) first gets that width back, so it does not narrow
    // again each time.
    if (buddy && FAssociate->Parent() == Parent() && Top() == FAssociate->Top() &&
        Height() == FAssociate->Height()) {
        if (FAlignButton == udRight && Left() == FAssociate->Left() + FAssociate->Width())
            FAssociate->SetBounds(FAssociate->Left(), FAssociate->Top(), FAssociate->Width() + Width(),
                                  FAssociate->Height());
        else if (FAlignButton == udLeft && FAssociate->Left() == Left() + Width())
            FAssociate->SetBounds(Left(), FAssociate->Top(), FAssociate->Width() + Width(),
                                  FAssociate->Height());
    }
    Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    if (buddy) {
        // The window moved itself beside the associate; the framework's bounds follow it.
        RECT rect;
        GetWindowRect(Handle(), &rect);
        MapWindowPoints(nullptr, GetParent(Handle()), reinterpret_cast<POINT*>(&rect), 2);
        SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        RECT other;
        GetWindowRect(buddy, &other);
        MapWindowPoints(nullptr, GetParent(buddy), reinterpret_cast<POINT*>(&other), 2);
        FAssociate->SetBounds(other.left, other.top, other.right - other.left, other.bottom - other.top);
        Send(UDM_SETPOS32, 0, FPosition);
    }
}

void TUpDown::SetMin(SmallInt value) {
    FMin = value;
    Send(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

void TUpDown::SetMax(SmallInt value) {
    FMax = value;
    Send(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
}

// The window's position, which the user may have typed into the associate.
SmallInt TUpDown::Position() const {
    if (!HandleAllocated())
        return FPosition;
    return static_cast<SmallInt>(Send(UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(SmallInt value) {
    FPosition = value;
    Send(UDM_SETPOS32, 0, value);
}

void TUpDown::SetIncrement(Integer value) {
    if (FIncrement == value)
        return;
    FIncrement = value;
    if (HandleAllocated()) {
        UDACCEL accel{0, static_cast<UINT>(std::max(1, value))};
        Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
}

void TUpDown::SetWrap(bool value) {
    if (FWrap == value)
        return;
    FWrap = value;
    RecreateWnd();
}

void TUpDown::SetArrowKeys(bool value) {
    if (FArrowKeys == value)
        return;
    FArrowKeys = value;
    RecreateWnd();
}

void TUpDown::SetThousands(bool value) {
    if (FThousands == value)
        return;
    FThousands = value;
    RecreateWnd();
}

void TUpDown::SetOrientation(TUDOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton value) {
    if (FAlignButton == value)
        return;
    FAlignButton = value;
    RecreateWnd();
}

void TUpDown::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, UPDOWN_CLASSW);
    params.Style |= UDS_SETBUDDYINT;
    params.Style |= FAlignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT;
    if (FOrientation == udHorizontal)
        params.Style |= UDS_HORZ;
    if (FArrowKeys)
        params.Style |= UDS_ARROWKEYS;
    if (!FThousands)
        params.Style |= UDS_NOTHOUSANDS;
    if (FWrap)
        params.Style |= UDS_WRAP;
}

void TUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    Send(UDM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    UDACCEL accel{0, static_cast<UINT>(std::max(1, FIncrement))};
    Send(UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    Send(UDM_SETPOS32, 0, FPosition);
    if (FAssociate)
        AttachAssociate();
}

void TUpDown::Loaded() {
    TWinControl::Loaded();
    if (FAssociate)
        AttachAssociate();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FAssociate) {
        // The hook goes with the associate's WindowProc.
        UnhookAssociate();
        FAssociate = nullptr;
        FBuddyHandle = nullptr;
        Send(UDM_SETBUDDY, 0, 0);
    }
}

bool TUpDown::CanChange() {
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TUpDown::Click(TUDBtnType button) {
    if (OnClick)
        OnClick(this, button);
}

// The window asks (UDN_DELTAPOS) before each step, and tells the new position afterwards with a scroll
// message; OnClick hears of each step that was made.
void TUpDown::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header->code != UDN_DELTAPOS) {
            TWinControl::Dispatch(message);
            return;
        }
        FLastDelta = reinterpret_cast<NMUPDOWN*>(message.LParam)->iDelta;
        message.Result = CanChange() ? 0 : 1;
        return;
    }
    case CN_HSCROLL:
    case CN_VSCROLL: {
        message.Result = 0;
        if (LOWORD(message.WParam) != SB_THUMBPOSITION)
            return;
        SmallInt position = static_cast<SmallInt>(HIWORD(message.WParam));
        if (position == FPosition)
            return;
        FPosition = position;
        Click(FLastDelta > 0 ? btNext : btPrev);
        return;
    }
    default:
        TWinControl::Dispatch(message);
        return;
    }
}
