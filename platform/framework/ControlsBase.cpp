// TControl: bounds, parent, visibility, enabling, colours and fonts with their parent inheritance,
// text, the message dispatch, and the size limits.
#include "platform/framework/Controls.h"

#include "platform/framework/Forms.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TControlActionLink)
DEFINE_CLASS(TSizeConstraints, PROPERTY(MaxHeight).Default(0), PROPERTY(MaxWidth).Default(0),
             PROPERTY(MinHeight).Default(0), PROPERTY(MinWidth).Default(0))

DEFINE_CLASS(TControl, PROPERTY(Left), PROPERTY(Top), PROPERTY(Width), PROPERTY(Height),
             PROPERTY(Align).Default(alNone), PROPERTY(Anchors).Default(TAnchors{akLeft, akTop}),
             PROPERTY(Caption), PROPERTY(Color).Type(TypeInfoColor()).Stored(&TControl::IsColorStored),
             PROPERTY(Constraints), PROPERTY(Cursor).Type(TypeInfoCursor()).Default(crDefault),
             PROPERTY(DragCursor).Type(TypeInfoCursor()).Default(crDrag),
             PROPERTY(DragMode).Default(dmManual), PROPERTY(Enabled).Default(true),
             PROPERTY(Font).Stored(&TControl::IsFontStored), PROPERTY(Hint),
             PROPERTY(ParentColor).Default(true), PROPERTY(ParentFont).Default(true),
             PROPERTY(ParentShowHint).Default(true), PROPERTY(PopupMenu), PROPERTY(ShowHint).Default(false),
             PROPERTY(Visible).Default(true), EVENT(OnClick), EVENT(OnDblClick), EVENT(OnMouseDown),
             EVENT(OnMouseMove), EVENT(OnMouseUp), EVENT(OnMouseEnter), EVENT(OnMouseLeave), EVENT(OnResize),
             EVENT(OnDragOver), EVENT(OnDragDrop), EVENT(OnEndDrag))

// ---- TSizeConstraints ----

void TSizeConstraints::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TSizeConstraints*>(source)) {
        FMinHeight = other->FMinHeight;
        FMaxHeight = other->FMaxHeight;
        FMinWidth = other->FMinWidth;
        FMaxWidth = other->FMaxWidth;
        Change();
        return;
    }
    TPersistent::Assign(source);
}

void TSizeConstraints::SetMaxHeight(Integer value) {
    if (value == FMaxHeight)
        return;
    FMaxHeight = value;
    if (value > 0 && value < FMinHeight)
        FMinHeight = value;
    Change();
}

void TSizeConstraints::SetMaxWidth(Integer value) {
    if (value == FMaxWidth)
        return;
    FMaxWidth = value;
    if (value > 0 && value < FMinWidth)
        FMinWidth = value;
    Change();
}

void TSizeConstraints::SetMinHeight(Integer value) {
    if (value == FMinHeight)
        return;
    FMinHeight = value;
    if (FMaxHeight > 0 && value > FMaxHeight)
        FMaxHeight = value;
    Change();
}

void TSizeConstraints::SetMinWidth(Integer value) {
    if (value == FMinWidth)
        return;
    FMinWidth = value;
    if (FMaxWidth > 0 && value > FMaxWidth)
        FMaxWidth = value;
    Change();
}

void TSizeConstraints::Change() {
    if (OnChange)
        OnChange(this);
}

// ---- Shift states ----

TShiftState KeyDataToShiftState(LONG keyData) {
    TShiftState result;
    if (GetKeyState(VK_SHIFT) < 0)
        result.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        result.Include(ssCtrl);
    if ((keyData & AltMask) != 0)
        result.Include(ssAlt);
    return result;
}

TShiftState KeysToShiftState(UINT keys) {
    TShiftState result;
    if (keys & MK_SHIFT)
        result.Include(ssShift);
    if (keys & MK_CONTROL)
        result.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        result.Include(ssLeft);
    if (keys & MK_RBUTTON)
        result.Include(ssRight);
    if (keys & MK_MBUTTON)
        result.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        result.Include(ssAlt);
    return result;
}

TShortCut ShortCut(Word key, TShiftState shift) {
    if ((key & 0xFF00) != 0)
        return 0;
    TShortCut result = key;
    if (shift.Contains(ssShift))
        result += scShift;
    if (shift.Contains(ssCtrl))
        result += scCtrl;
    if (shift.Contains(ssAlt))
        result += scAlt;
    return result;
}

// ---- TControl ----

TControl::TControl(TComponent* owner)
    : TComponent(owner), FFont(std::make_unique<TFont>()),
      FConstraints(std::make_unique<TSizeConstraints>(this)) {
    FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
    FConstraints->OnChange = [this](TObject*) {
        if (!ComponentState().Contains(csLoading))
            SetBounds(FLeft, FTop, FWidth, FHeight);
    };
    FWidth = 0;
    FHeight = 0;
    WindowProc = [this](TMessage& message) { WndProc(message); };
}

TControl::~TControl() {
    // Freed with delete rather than Free, the control skipped BeforeDestruction.
    ForgetMouse(true);
    if (FParent != nullptr)
        FParent->RemoveControl(this);
}

void TControl::BeforeDestruction() {
    TComponent::BeforeDestruction();
    if (GetCaptureControl() == this)
        SetCaptureControl(nullptr);
    ForgetMouse(false);
    // The parent forgets the control while its virtuals still work.
    SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
    if (FParent == parent)
        return;
    if (parent == this)
        throw EInvalidOperation(Consts::SControlParentSetToSelf);
    if (FParent != nullptr)
        FParent->RemoveControl(this);
    if (parent != nullptr) {
        parent->InsertControl(this);
        UpdateAnchorRules();
    }
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* win = dynamic_cast<TWinControl*>(parent))
        SetParent(win);
}

void TControl::ReadState(TReader* reader) {
    FControlState.Include(csReadingState);
    try {
        TComponent::ReadState(reader);
    } catch (...) {
        FControlState.Exclude(csReadingState);
        throw;
    }
    FControlState.Exclude(csReadingState);
    if (FParent != nullptr) {
        Perform(CM_PARENTFONTCHANGED, 0, 0);
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
        Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    }
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
    RequestAlign();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
    if (operation == opRemove && FActionLink != nullptr && component == FActionLink->Action())
        SetAction(nullptr);
}

// ---- Action ----

TBasicAction* TControl::Action() const {
    return FActionLink != nullptr ? FActionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* value) {
    if (value == nullptr) {
        if (FActionLink != nullptr && FActionLink->Action() != nullptr)
            FActionLink->Action()->RemoveFreeNotification(this);
        FActionLink.reset();
        FControlStyle -= TControlStyle{csActionClient};
        return;
    }
    if (FActionLink == nullptr) {
        TObject* link = GetActionLinkClass()->Create();
        FActionLink.reset(static_cast<TControlActionLink*>(link));
        FActionLink->AssignClient(this);
    }
    if (FActionLink->Action() != nullptr && FActionLink->Action() != value)
        FActionLink->Action()->RemoveFreeNotification(this);
    FActionLink->SetAction(value);
    FActionLink->OnChange = [this](TObject* sender) {
        // Inside a description the control's own stored values win over the action's defaults.
        ActionChange(sender, ComponentState().Contains(csLoading));
    };
    ActionChange(value, value->ComponentState().Contains(csLoading));
    value->FreeNotification(this);
    FControlStyle += TControlStyle{csActionClient};
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (action == nullptr)
        return;
    if (!checkDefaults || Caption().empty())
        SetCaption(action->Caption());
    if (!checkDefaults || Enabled())
        SetEnabled(action->Enabled());
}

TClass TControl::GetActionLinkClass() {
    return TControlActionLink::StaticClass();
}

// ---- TControlActionLink ----

void TControlActionLink::AssignClient(TObject* client) {
    FClient = static_cast<TControl*>(client);
}

bool TControlActionLink::IsCaptionLinked() {
    auto* action = dynamic_cast<TCustomAction*>(FAction);
    return TActionLink::IsCaptionLinked() && FClient->Caption() == action->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
    auto* action = dynamic_cast<TCustomAction*>(FAction);
    return TActionLink::IsEnabledLinked() && FClient->Enabled() == action->Enabled();
}

void TControlActionLink::SetCaption(const String& value) {
    if (IsCaptionLinked())
        FClient->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked())
        FClient->SetEnabled(value);
}

void TControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    if (CheckNewSize(width, height) &&
        (left != FLeft || top != FTop || width != FWidth || height != FHeight)) {
        InvalidateControl(Visible(), false);
        FLeft = left;
        FTop = top;
        FWidth = width;
        FHeight = height;
        UpdateAnchorRules();
        Invalidate();
        Perform(WM_WINDOWPOSCHANGED, 0, 0);
        RequestAlign();
        if (!ComponentState().Contains(csLoading))
            Resize();
    }
}

bool TControl::CheckNewSize(Integer& width, Integer& height) {
    int w = width;
    int h = height;
    if (!CanResize(w, h))
        return false;
    DoConstrainedResize(w, h);
    width = w;
    height = h;
    return true;
}

void TControl::UpdateBoundsRect(const TRect& rect) {
    UpdateAnchorRules();
    FLeft = rect.Left;
    FTop = rect.Top;
    FWidth = rect.Width();
    FHeight = rect.Height();
}

TRect TControl::ClientRect() {
    return TRect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(Integer value) {
    SetWidth(FWidth - ClientWidth() + value);
}

void TControl::SetClientHeight(Integer value) {
    SetHeight(FHeight - ClientHeight() + value);
}

TPoint TControl::ClientOrigin() {
    if (FParent == nullptr)
        throw EInvalidOperation(Consts::SParentRequired, {Name()});
    TPoint origin = FParent->ClientOrigin();
    return TPoint(origin.X + FLeft, origin.Y + FTop);
}

TPoint TControl::ClientToScreen(const TPoint& point) {
    TPoint origin = ClientOrigin();
    return TPoint(point.X + origin.X, point.Y + origin.Y);
}

TPoint TControl::ScreenToClient(const TPoint& point) {
    TPoint origin = ClientOrigin();
    return TPoint(point.X - origin.X, point.Y - origin.Y);
}

void TControl::SetAlign(TAlign value) {
    if (FAlign == value)
        return;
    TAlign old = FAlign;
    FAlign = value;
    FAnchors = (value == alNone || value == alCustom) ? TAnchors{akLeft, akTop}
               : value == alTop                       ? TAnchors{akLeft, akTop, akRight}
               : value == alBottom                    ? TAnchors{akLeft, akRight, akBottom}
               : value == alLeft                      ? TAnchors{akLeft, akTop, akBottom}
               : value == alRight                     ? TAnchors{akTop, akRight, akBottom}
                                                      : TAnchors{akLeft, akTop, akRight, akBottom};
    if (!ComponentState().Contains(csLoading) && old != alNone && value != alNone && FParent != nullptr &&
        ((old == alTop || old == alBottom) == (value == alRight || value == alLeft)) && old != alClient &&
        value != alClient)
        SetBounds(FLeft, FTop, FHeight, FWidth);
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    if (FAnchors == value)
        return;
    FAnchors = value;
    if (!ComponentState().Contains(csLoading))
        UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (ComponentState().Contains(csLoading) || FParent == nullptr)
        return;
    if (FParent->FAlignLevel > 0 && !FParent->ComponentState().Contains(csLoading))
        return;
    TRect parentRect = FParent->ClientRect();
    FOriginalParentSize = TPoint(parentRect.Width(), parentRect.Height());
    // Distance to the right and bottom edges for a control that keeps them; its size otherwise.
    FAnchorRules.X = FAnchors.Contains(akRight) ? FOriginalParentSize.X - (FLeft + FWidth) : FLeft;
    FAnchorRules.Y = FAnchors.Contains(akBottom) ? FOriginalParentSize.Y - (FTop + FHeight) : FTop;
    if (!FAnchors.Contains(akLeft) && !FAnchors.Contains(akRight))
        FAnchorRules.X = FLeft + FWidth / 2;
    if (!FAnchors.Contains(akTop) && !FAnchors.Contains(akBottom))
        FAnchorRules.Y = FTop + FHeight / 2;
}

void TControl::SetAutoSize(bool value) {
    if (FAutoSize == value)
        return;
    FAutoSize = value;
    if (value)
        AdjustSize();
}

bool TControl::CanResize(int& newWidth, int& newHeight) {
    bool result = true;
    if (OnCanResize)
        OnCanResize(this, newWidth, newHeight, result);
    return result;
}

bool TControl::CanAutoSize(int&, int&) {
    return true;
}

void TControl::ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight) {
    if (OnConstrainedResize)
        OnConstrainedResize(this, minWidth, minHeight, maxWidth, maxHeight);
}

void TControl::DoConstrainedResize(int& newWidth, int& newHeight) {
    int minWidth = FConstraints->MinWidth();
    int minHeight = FConstraints->MinHeight();
    int maxWidth = FConstraints->MaxWidth();
    int maxHeight = FConstraints->MaxHeight();
    ConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
    if (maxWidth > 0 && newWidth > maxWidth)
        newWidth = maxWidth;
    else if (minWidth > 0 && newWidth < minWidth)
        newWidth = minWidth;
    if (maxHeight > 0 && newHeight > maxHeight)
        newHeight = maxHeight;
    else if (minHeight > 0 && newHeight < minHeight)
        newHeight = minHeight;
}

void TControl::AdjustSize() {
    if (ComponentState().Contains(csLoading) || !FAutoSize)
        return;
    int w = FWidth;
    int h = FHeight;
    if (CanAutoSize(w, h))
        SetBounds(FLeft, FTop, w, h);
}

void TControl::RequestAlign() {
    if (FParent != nullptr)
        FParent->AlignControl(this);
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

void TControl::Changed() {
    Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

// ---- Visibility and state ----

void TControl::SetVisible(bool value) {
    if (FVisible == value)
        return;
    VisibleChanging();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
    RequestAlign();
}

bool TControl::IsVisible() {
    for (TControl* control = this; control != nullptr; control = control->FParent) {
        if (!control->FVisible)
            return false;
        if (control->FParent == nullptr) {
            auto* win = dynamic_cast<TWinControl*>(control);
            return win != nullptr && win->HandleAllocated() && IsWindowVisible(win->WindowHandle());
        }
    }
    return false;
}

void TControl::Show() {
    if (FParent != nullptr)
        FParent->Show();
    if (!ComponentState().Contains(csDesigning))
        SetVisible(true);
}

void TControl::Hide() {
    SetVisible(false);
}

void TControl::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::IsColorStored() const {
    return !FParentColor;
}

bool TControl::IsFontStored() const {
    return !FParentFont;
}

void TControl::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        FParentColor = false;
        Perform(CM_COLORCHANGED, 0, 0);
    } else {
        FParentColor = false;
    }
}

void TControl::SetParentColor(bool value) {
    if (FParentColor == value)
        return;
    FParentColor = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
    FParentFont = false;
    if (!ComponentState().Contains(csReading))
        Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value) {
    if (FParentFont == value)
        return;
    FParentFont = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading))
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCtl3D(bool value) {
    if (FCtl3D != value) {
        FCtl3D = value;
        FParentCtl3D = false;
        Perform(CM_CTL3DCHANGED, 0, 0);
    } else {
        FParentCtl3D = false;
    }
}

void TControl::SetParentCtl3D(bool value) {
    if (FParentCtl3D == value)
        return;
    FParentCtl3D = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value) {
    if (FCursor == value)
        return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value) {
    if (FShowHint != value) {
        FShowHint = value;
        FParentShowHint = false;
        Perform(CM_SHOWHINTCHANGED, 0, 0);
    } else {
        FParentShowHint = false;
    }
}

void TControl::SetParentShowHint(bool value) {
    if (FParentShowHint == value)
        return;
    FParentShowHint = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading))
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TComponent* value) {
    FPopupMenu = value;
    if (value != nullptr)
        value->FreeNotification(this);
}

void TControl::SetBiDiMode(TBiDiMode value) {
    if (FBiDiMode != value) {
        FBiDiMode = value;
        FParentBiDiMode = false;
        Perform(CM_BIDIMODECHANGED, 0, 0);
    } else {
        FParentBiDiMode = false;
    }
}

void TControl::SetParentBiDiMode(bool value) {
    if (FParentBiDiMode == value)
        return;
    FParentBiDiMode = value;
    if (FParent != nullptr && !ComponentState().Contains(csReading))
        Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

bool TControl::UseRightToLeftAlignment() const {
    return FBiDiMode == bdRightToLeft;
}

bool TControl::UseRightToLeftReading() const {
    return FBiDiMode != bdLeftToRight;
}

String TControl::GetText() const {
    return FText;
}

void TControl::SetText(const String& value) {
    if (GetText() != value) {
        SetTextBuf(value);
        Perform(CM_TEXTCHANGED, 0, 0);
    }
}

void TControl::SetTextBuf(const String& value) {
    FText = value;
}

// ---- Painting and order ----

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if ((isVisible || ComponentState().Contains(csDesigning)) && FParent != nullptr &&
        FParent->HandleAllocated()) {
        RECT rect = BoundsRect();
        InvalidateRect(FParent->WindowHandle(), &rect, !(isOpaque || FParent->DoubleBuffered()));
    }
}

void TControl::Invalidate() {
    InvalidateControl(Visible(), FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
    if (FParent != nullptr)
        FParent->Update();
}

void TControl::Repaint() {
    if (!Visible() || FParent == nullptr || !FParent->HandleAllocated())
        return;
    if (FControlStyle.Contains(csOpaque)) {
        HDC dc = GetDC(FParent->WindowHandle());
        SaveDC(dc);
        IntersectClipRect(dc, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
        FParent->PaintControls(dc, this);
        RestoreDC(dc, -1);
        ReleaseDC(FParent->WindowHandle(), dc);
    } else {
        Invalidate();
        Update();
    }
}

void TControl::BringToFront() {
    SetZOrder(true);
}

void TControl::SendToBack() {
    SetZOrder(false);
}

void TControl::SetZOrder(bool topMost) {
    if (FParent == nullptr)
        return;
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    if (topMost)
        list.push_back(this);
    else
        list.insert(list.begin(), this);
    Invalidate();
}

TColor TControl::ParentColorValue() const {
    return FParent != nullptr ? FParent->Color() : FColor;
}

// ---- Messages ----

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (WindowProc)
        WindowProc(message);
    else
        WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        // While the control is dragged the mouse belongs to the drag: moves move it and the left
        // button's release drops it; the control sees none of it.
        if (Dragging()) {
            if (message.Msg == WM_MOUSEMOVE)
                DragTo(ClientToScreen(TPoint(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam))));
            else if (message.Msg == WM_LBUTTONUP)
                EndDrag(true);
            return;
        }
        if (!FControlStyle.Contains(csDoubleClicks)) {
            switch (message.Msg) {
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDBLCLK:
                message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                break;
            default:
                break;
            }
        }
        switch (message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (FDragMode == dmAutomatic && FDragKind == dkDrag) {
                BeginAutoDrag();
                return;
            }
            FControlState.Include(csLButtonDown);
            break;
        case WM_LBUTTONUP:
            FControlState.Exclude(csLButtonDown);
            break;
        default:
            break;
        }
    }
    Dispatch(message);
}

void TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        WMLButtonDown(message);
        break;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(message);
        break;
    case WM_LBUTTONUP:
        WMLButtonUp(message);
        break;
    case WM_RBUTTONDOWN:
        WMRButtonDown(message);
        break;
    case WM_RBUTTONUP:
        WMRButtonUp(message);
        break;
    case WM_MBUTTONDOWN:
        WMMButtonDown(message);
        break;
    case WM_MBUTTONUP:
        WMMButtonUp(message);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(message);
        break;
    case WM_MOUSEWHEEL:
        WMMouseWheel(message);
        break;
    case WM_CANCELMODE:
        WMCancelMode(message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(message);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(message);
        break;
    case CM_PARENTCTL3DCHANGED:
        CMParentCtl3DChanged(message);
        break;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(message);
        break;
    case CM_PARENTBIDIMODECHANGED:
        CMParentBiDiModeChanged(message);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        break;
    case CM_MOUSEENTER:
        CMMouseEnter(message);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(message);
        break;
    case CM_MOUSEWHEEL:
        CMMouseWheel(message);
        break;
    case CM_HINTSHOW:
        CMHintShow(message);
        break;
    case CM_HITTEST:
        CMHitTest(message);
        break;
    case CM_DRAG:
        CMDrag(message);
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_GETTEXT: {
        String text = FText;
        auto* buffer = reinterpret_cast<Char*>(message.LParam);
        std::size_t count = std::min<std::size_t>(text.size(), message.WParam > 0 ? message.WParam - 1 : 0);
        if (buffer != nullptr && message.WParam > 0) {
            std::copy_n(text.data(), count, buffer);
            buffer[count] = 0;
        }
        message.Result = static_cast<LRESULT>(count);
        break;
    }
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<LRESULT>(FText.size());
        break;
    case WM_SETTEXT:
        FText = message.LParam != 0 ? String(reinterpret_cast<const Char*>(message.LParam)) : String();
        message.Result = 1;
        break;
    default:
        break;
    }
}

// The default procedure turns a window's WM_WINDOWPOSCHANGED into WM_SIZE and WM_MOVE.
void TControl::WMWindowPosChanged(TMessage& message) {
    DefaultHandler(message);
}

void TControl::WMCancelMode(TMessage&) {
    if (Dragging())
        CancelDrag();
    if (GetCaptureControl() == this)
        SetCaptureControl(nullptr);
}

void TControl::CMVisibleChanged(TMessage&) {
    InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque));
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage& message) {
    if (!FParentFont)
        return;
    TFont* source = message.WParam != 0 ? reinterpret_cast<TFont*>(message.LParam)
                                        : (FParent != nullptr ? FParent->Font() : nullptr);
    if (source == nullptr)
        return;
    FFont->Assign(source);
    FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage& message) {
    if (!FParentColor)
        return;
    TColor color = message.WParam != 0 ? static_cast<TColor>(message.LParam)
                                       : (FParent != nullptr ? FParent->Color() : FColor);
    if (FParent == nullptr && message.WParam == 0)
        return;
    SetColor(color);
    FParentColor = true;
}

void TControl::CMParentCtl3DChanged(TMessage&) {
    if (FParentCtl3D && FParent != nullptr) {
        SetCtl3D(FParent->Ctl3D());
        FParentCtl3D = true;
    }
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent != nullptr) {
        SetShowHint(FParent->ShowHint());
        FParentShowHint = true;
    }
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (FParentBiDiMode && FParent != nullptr) {
        SetBiDiMode(FParent->BiDiMode());
        FParentBiDiMode = true;
    }
}
