// Scrolling windows: TControlScrollBar, TScrollingWinControl and TScrollBox, and TCustomFrame, a
// scrolling piece of a form read from its own description.
#include <algorithm>

#include "platform/framework/FormResources.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TControlScrollBar, PROPERTY(Increment).Default(8), PROPERTY(Margin).Default(0),
             PROPERTY(Range).Default(0), PROPERTY(Position).Default(0), PROPERTY(Tracking).Default(false),
             PROPERTY(Visible).Default(true))
DEFINE_CLASS(TScrollingWinControl, PROPERTY(AutoScroll).Default(true), PROPERTY(HorzScrollBar),
             PROPERTY(VertScrollBar))
DEFINE_CLASS(TScrollBox, PROPERTY(BorderStyle).Default(bsSingle))
DEFINE_CLASS(TCustomFrame)
DEFINE_CLASS(TFrame)

// ---- TControlScrollBar ----

void TControlScrollBar::Assign(TPersistent* source) {
    if (auto* bar = dynamic_cast<TControlScrollBar*>(source)) {
        FIncrement = bar->FIncrement;
        FMargin = bar->FMargin;
        FTracking = bar->FTracking;
        FVisible = bar->FVisible;
        DoSetRange(bar->FRange);
        SetPosition(bar->FPosition);
        return;
    }
    TPersistent::Assign(source);
}

Integer TControlScrollBar::ControlSize() const {
    return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

Integer TControlScrollBar::ScrollRange() const {
    return FVisible ? std::max<Integer>(FRange - ControlSize(), 0) : 0;
}

bool TControlScrollBar::IsScrollBarVisible() const {
    if (!FVisible || !FControl->HandleAllocated())
        return false;
    DWORD style = static_cast<DWORD>(GetWindowLongW(FControl->WindowHandle(), GWL_STYLE));
    return (style & (FKind == sbHorizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void TControlScrollBar::SetRange(Integer value) {
    FControl->FAutoScroll = false;
    DoSetRange(value);
}

void TControlScrollBar::DoSetRange(Integer value) {
    FRange = std::max<Integer>(value, 0);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetMargin(Integer value) {
    FMargin = value;
    FControl->CalcAutoRange();
}

void TControlScrollBar::SetVisible(bool value) {
    FVisible = value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(Integer value) {
    // While the window is read its children come with the positions they had scrolled.
    if (FControl->ComponentState().Contains(csLoading)) {
        FPosition = value;
        return;
    }
    value = std::clamp<Integer>(value, 0, ScrollRange());
    if (value != FPosition) {
        Integer old = FPosition;
        FPosition = value;
        if (FKind == sbHorizontal)
            FControl->ScrollBy(old - value, 0);
        else
            FControl->ScrollBy(0, old - value);
    }
    if (FControl->HandleAllocated()) {
        int bar = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
        if (GetScrollPos(FControl->WindowHandle(), bar) != FPosition)
            SetScrollPos(FControl->WindowHandle(), bar, FPosition, TRUE);
    }
}

void TControlScrollBar::ScrollMessage(TMessage& message) {
    int page = ControlSize();
    switch (LOWORD(message.WParam)) {
    case SB_LINEUP:
        SetPosition(FPosition - FIncrement);
        break;
    case SB_LINEDOWN:
        SetPosition(FPosition + FIncrement);
        break;
    case SB_PAGEUP:
        SetPosition(FPosition - page);
        break;
    case SB_PAGEDOWN:
        SetPosition(FPosition + page);
        break;
    case SB_THUMBPOSITION:
        SetPosition(static_cast<short>(HIWORD(message.WParam)));
        break;
    case SB_THUMBTRACK:
        if (FTracking)
            SetPosition(static_cast<short>(HIWORD(message.WParam)));
        break;
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(ScrollRange());
        break;
    default:
        break;
    }
    message.Result = 0;
}

// ---- TScrollingWinControl ----

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner), FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

void TScrollingWinControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::Loaded() {
    TWinControl::Loaded();
    CalcAutoRange();
}

void TScrollingWinControl::SetAutoScroll(bool value) {
    if (FAutoScroll == value)
        return;
    FAutoScroll = value;
    if (value) {
        CalcAutoRange();
    } else {
        FHorzScrollBar->DoSetRange(0);
        FVertScrollBar->DoSetRange(0);
    }
}

void TScrollingWinControl::EnableAutoRange() {
    if (FAutoRangeCount > 0 && --FAutoRangeCount == 0)
        CalcAutoRange();
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect) {
    CalcAutoRange();
    TWinControl::AlignControls(control, rect);
}

void TScrollingWinControl::AdjustClientRect(TRect& rect) {
    rect = Bounds(-FHorzScrollBar->FPosition, -FVertScrollBar->FPosition,
                  std::max<Integer>(FHorzScrollBar->FRange, ClientWidth()),
                  std::max<Integer>(FVertScrollBar->FRange, ClientHeight()));
    TWinControl::AdjustClientRect(rect);
}

// The range reaches the far edge of the furthest child that keeps its place from the near edge; children
// aligned to the far edge add their size, since they follow the far edge wherever it is.
void TScrollingWinControl::CalcAutoRange() {
    if (!FAutoScroll || FAutoRangeCount > 0 || ComponentState().Contains(csLoading))
        return;
    Integer horz = 0;
    Integer vert = 0;
    Integer rightMargin = 0;
    Integer bottomMargin = 0;
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (!control->Visible())
            continue;
        switch (control->Align()) {
        case alLeft:
        case alNone:
            if (control->Align() == alLeft ||
                (control->Anchors() * TAnchors{akLeft, akRight}) == TAnchors{akLeft})
                horz =
                    std::max<Integer>(horz, FHorzScrollBar->FPosition + control->Left() + control->Width());
            break;
        case alRight:
            rightMargin += control->Width();
            break;
        default:
            break;
        }
        switch (control->Align()) {
        case alTop:
        case alNone:
            if (control->Align() == alTop ||
                (control->Anchors() * TAnchors{akTop, akBottom}) == TAnchors{akTop})
                vert =
                    std::max<Integer>(vert, FVertScrollBar->FPosition + control->Top() + control->Height());
            break;
        case alBottom:
            bottomMargin += control->Height();
            break;
        default:
            break;
        }
    }
    FHorzScrollBar->FRange = horz + rightMargin + FHorzScrollBar->FMargin;
    FVertScrollBar->FRange = vert + bottomMargin + FVertScrollBar->FMargin;
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
    if (FUpdatingScrollBars || !HandleAllocated())
        return;
    FUpdatingScrollBars = true;
    try {
        // The client area without any bar, then less each bar that its range needs; a bar taking room
        // may make the other one needed.
        HWND hwnd = WindowHandle();
        DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
        RECT client;
        GetClientRect(hwnd, &client);
        int width = client.right + ((style & WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        int height = client.bottom + ((style & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0);
        bool horz = false;
        bool vert = false;
        for (int pass = 0; pass < 2; ++pass) {
            horz = FHorzScrollBar->FVisible &&
                   FHorzScrollBar->FRange > width - (vert ? GetSystemMetrics(SM_CXVSCROLL) : 0);
            vert = FVertScrollBar->FVisible &&
                   FVertScrollBar->FRange > height - (horz ? GetSystemMetrics(SM_CYHSCROLL) : 0);
        }
        if (horz != ((style & WS_HSCROLL) != 0))
            ShowScrollBar(hwnd, SB_HORZ, horz);
        if (vert != ((style & WS_VSCROLL) != 0))
            ShowScrollBar(hwnd, SB_VERT, vert);
        for (TControlScrollBar* bar : {FHorzScrollBar.get(), FVertScrollBar.get()}) {
            bool shown = bar->FKind == sbHorizontal ? horz : vert;
            SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
            if (shown) {
                info.nMax = bar->FRange - 1;
                info.nPage = static_cast<UINT>(bar->ControlSize());
            }
            SetScrollInfo(hwnd, bar->FKind == sbHorizontal ? SB_HORZ : SB_VERT, &info, TRUE);
            // A smaller range or a larger window may leave the position past the end.
            bar->SetPosition(shown ? bar->FPosition : 0);
        }
    } catch (...) {
        FUpdatingScrollBars = false;
        throw;
    }
    FUpdatingScrollBars = false;
}

void TScrollingWinControl::WMSize(TMessage& message) {
    TWinControl::WMSize(message);
    UpdateScrollBars();
}

void TScrollingWinControl::WMScroll(TMessage& message) {
    if (message.LParam != 0) {
        TWinControl::WMScroll(message);
        return;
    }
    (message.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar)->ScrollMessage(message);
}

void TScrollingWinControl::ScrollInView(TControl* control) {
    if (control == nullptr || !ContainsControl(control))
        return;
    TRect rect = control->ClientRect();
    rect.Left -= FHorzScrollBar->FMargin;
    rect.Right += FHorzScrollBar->FMargin;
    rect.Top -= FVertScrollBar->FMargin;
    rect.Bottom += FVertScrollBar->FMargin;
    TPoint topLeft = ScreenToClient(control->ClientToScreen(TPoint(rect.Left, rect.Top)));
    TPoint bottomRight = ScreenToClient(control->ClientToScreen(TPoint(rect.Right, rect.Bottom)));
    rect = TRect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
    if (rect.Left < 0) {
        FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition + rect.Left);
    } else if (rect.Right > ClientWidth()) {
        // A control wider than the window shows its left part.
        if (rect.Width() > ClientWidth())
            rect.Right = rect.Left + ClientWidth();
        FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition + rect.Right - ClientWidth());
    }
    if (rect.Top < 0) {
        FVertScrollBar->SetPosition(FVertScrollBar->FPosition + rect.Top);
    } else if (rect.Bottom > ClientHeight()) {
        if (rect.Height() > ClientHeight())
            rect.Bottom = rect.Top + ClientHeight();
        FVertScrollBar->SetPosition(FVertScrollBar->FPosition + rect.Bottom - ClientHeight());
    }
}

void TScrollingWinControl::AutoScrollInView(TControl* control) {
    if (control == nullptr || !FAutoScroll || control->ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
        return;
    ScrollInView(control);
}

// The form tells every control of a new focused control. Scrolling controls nested in this one scroll
// first, so that this one scrolls to where the control ends up.
void TScrollingWinControl::CMFocusChanged(TMessage& message) {
    TWinControl::CMFocusChanged(message);
    auto* control = reinterpret_cast<TWinControl*>(message.LParam);
    if (control != nullptr && control != this && ContainsControl(control))
        AutoScrollInView(control);
}

// ---- TScrollBox ----

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(FLeft, FTop, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

// ---- TCustomFrame ----

TCustomFrame::TCustomFrame(TComponent* owner) : TScrollingWinControl(owner) {
    RegisterFrameworkClasses();
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 320;
    FHeight = 240;
}

void TCustomFrame::AfterConstruction() {
    TScrollingWinControl::AfterConstruction();
    if (ClassType() != TFrame::StaticClass() && ClassType() != TCustomFrame::StaticClass() &&
        !ComponentState().Contains(csDesigning))
        if (!InitInheritedComponent(this, TFrame::StaticClass()))
            throw EResNotFound(Consts::SResNotFound, {ClassName()});
}

void TCustomFrame::GetChildren(const TGetChildProc& proc, TComponent* root) {
    TScrollingWinControl::GetChildren(proc, root);
    if (root == this)
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent())
                proc(Components(i));
}
