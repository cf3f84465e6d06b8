// How the stand-alone spin edit looks: placement of its button and text, flat style, borders, focus,
// hover and disabled colours, transparency, the attached label, and its timer button's painting.
#include "controls/AdvSpin.h"

#include "platform/framework/Forms.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/windraw.h"
#include "render/AdvStyleIF.h"
#include "render/VerIRID.h"

using namespace AdvSpin;

namespace AdvSpin {

TPoint LabelPlace(TLabelPosition position, const TRect& edit, TPoint labelSize, Integer margin,
                  Integer textWidth) {
    Integer l = edit.Left, t = edit.Top, w = edit.Width(), h = edit.Height();
    Integer lw = labelSize.X, lh = labelSize.Y;
    switch (position) {
    case lpLeftTop:
        return TPoint(l - textWidth - margin, t);
    case lpLeftCenter:
        return TPoint(l - textWidth - margin, t + (h - lh) / 2);
    case lpLeftBottom:
        return TPoint(l - textWidth - margin, t + h - lh);
    case lpTopLeft:
        return TPoint(l, t - lh - margin);
    case lpBottomLeft:
        return TPoint(l, t + h + margin);
    case lpLeftTopLeft:
        return TPoint(l - margin, t);
    case lpLeftCenterLeft:
        return TPoint(l - margin, t + (h - lh) / 2);
    case lpLeftBottomLeft:
        return TPoint(l - margin, t + h - lh);
    case lpTopCenter:
        return TPoint(l + (w - lw) / 2, t - lh - margin);
    case lpBottomCenter:
    default:
        return TPoint(l + (w - lw) / 2, t + h + margin);
    }
}

// Where visual styles are active but the spin theme does not open, the classic arrows are drawn.
bool TAdvTimerSpeedButton::PaintThemed(HDC dc, const TRect& rect, bool pressed) {
    if (!IsWinXP() || VerIRID::IsThemeActive == nullptr || VerIRID::OpenThemeData == nullptr ||
        !VerIRID::IsThemeActive() || Parent() == nullptr)
        return false;
    HTHEME theme = VerIRID::OpenThemeData(Parent()->Handle(), u"spin");
    if (theme == nullptr)
        return false;
    TButtonDirection direction = ButtonDirection();
    int part = direction == asgspin::bdUp      ? 1
               : direction == asgspin::bdDown  ? 2
               : direction == asgspin::bdRight ? 3
                                               : 4;
    int state = !Enabled() ? 4 : pressed ? 3 : HasMouse() ? 2 : 1;
    RECT r = rect;
    if (direction == asgspin::bdUp)
        r.top -= 1;
    VerIRID::DrawThemeBackground(theme, dc, part, state, &r, nullptr);
    VerIRID::CloseThemeData(theme);
    return true;
}

void TAdvTimerSpeedButton::PaintClassic(HDC dc, const TRect& rect, bool pressed) {
    TButtonDirection direction = ButtonDirection();
    if (direction == asgspin::bdLeft || direction == asgspin::bdRight) {
        RECT r = rect;
        UINT state = direction == asgspin::bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (pressed)
            state |= DFCS_PUSHED;
        if (Flat())
            state |= DFCS_FLAT;
        if (!Enabled())
            state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
        return;
    }
    PaintInherited();
}

} // namespace AdvSpin

// ---- Window and placement ----

void TAdvSpinEdit::CreateParams(TCreateParams& params) {
    TCustomMaskEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FEditAlign == eaRight)
        params.Style = (params.Style | ES_RIGHT) & ~static_cast<DWORD>(ES_CENTER);
    else if (FEditAlign == eaCenter)
        params.Style = (params.Style | ES_CENTER) & ~static_cast<DWORD>(ES_RIGHT);
}

void TAdvSpinEdit::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    // The window may be made at its final size, with no size message to place the buttons.
    PlaceButton();
}

void TAdvSpinEdit::SetEditRect() {
    if (!HandleAllocated())
        return;
    Integer e = BorderStyle() == bsNone ? 2 : 0;
    RECT rect{e, e, ClientWidth() - FButton->Width() - 2 - e, ClientHeight() + 1};
    if (!Ctl3D()) {
        rect.left += 2;
        if (Screen()->PixelsPerInch() >= 120)
            rect.left += 1;
    }
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

void TAdvSpinEdit::SetFlatRect() {
    if (!HandleAllocated())
        return;
    TRect client = ClientRect();
    Integer buttonWidth = FButton->Width();
    RECT rect = FFlat ? RECT{2, 4, client.Right - 2 - buttonWidth - 2, client.Bottom - 4}
                      : RECT{0, 0, client.Right - buttonWidth - 2, client.Bottom};
    if (!Ctl3D())
        rect.left += 2;
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

void TAdvSpinEdit::PlaceButton() {
    bool single = BorderStyle() == bsSingle;
    Integer minimum = asgspin::SpinEditMinHeight(Font(), single);
    // An auto-sized edit takes its height from its font and would answer a raise with that height
    // again; its buttons are placed in the height it keeps.
    if (Height() < minimum && !AutoSize()) {
        if (FRaisingHeight)
            return;
        FRaisingHeight = true;
        SetHeight(minimum);
        FRaisingHeight = false;
        if (Height() >= minimum)
            return;
    }
    Integer d = single ? 4 : 1;
    Integer buttonWidth = FButton->Width();
    if (Ctl3D())
        FButton->SetBounds(Width() - buttonWidth - d + 1, 0, buttonWidth, Height() - d);
    else
        FButton->SetBounds(Width() - buttonWidth - 1, 2, buttonWidth, Height() - 3);
    SetEditRect();
}

void TAdvSpinEdit::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    if (FLabel != nullptr) {
        TAlign align = Align();
        bool labelLeft =
            FLabelPosition == lpLeftTop || FLabelPosition == lpLeftCenter || FLabelPosition == lpLeftBottom;
        bool labelAbove = FLabelPosition == lpTopLeft || FLabelPosition == lpTopCenter;
        if (labelLeft && (align == alTop || align == alBottom || align == alClient)) {
            Integer shift = FLabel->Width() + FLabelMargin;
            left += shift;
            width -= shift;
        }
        if (labelAbove && (align == alTop || align == alLeft || align == alRight || align == alClient))
            top += FLabel->Height();
    }
    TCustomMaskEdit::SetBounds(left, top, width, height);
    UpdateLabel();
}

// ---- Look setters ----

void TAdvSpinEdit::SetFlat(bool value) {
    if (Loading()) {
        FFlat = value;
        return;
    }
    FFlat = value;
    if (value) {
        FNormalColor = Color();
        SetBorderStyle(bsNone);
    } else {
        if (FNormalColor != clNone)
            SetColor(FNormalColor);
        SetBorderStyle(bsSingle);
    }
    SetFlatRect();
    Invalidate();
}

void TAdvSpinEdit::SetFlatLineColor(TColor value) {
    FFlatLineColor = value;
    Invalidate();
}

void TAdvSpinEdit::SetDisabledColor(TColor value) {
    if (value == FDisabledColor)
        return;
    FDisabledColor = value;
    Invalidate();
}

void TAdvSpinEdit::SetDisabledBorder(bool value) {
    if (value == FDisabledBorder)
        return;
    FDisabledBorder = value;
    Invalidate();
}

void TAdvSpinEdit::SetBorderColor(TColor value) {
    if (value == FBorderColor)
        return;
    FBorderColor = value;
    if (HandleAllocated())
        SendMessageW(Handle(), WM_NCPAINT, 0, 0);
}

void TAdvSpinEdit::SetFocusBorder(bool value) {
    if (value == FFocusBorder)
        return;
    FFocusBorder = value;
    Invalidate();
}

void TAdvSpinEdit::SetBorder3D(bool value) {
    if (value == FBorder3D)
        return;
    FBorder3D = value;
    Invalidate();
}

void TAdvSpinEdit::SetTransparent(bool value) {
    if (value == FTransparent)
        return;
    FTransparent = value;
    Invalidate();
}

// ---- Label ----

String TAdvSpinEdit::LabelCaption() const {
    return FLabel != nullptr ? FLabel->Caption() : String();
}

void TAdvSpinEdit::SetLabelCaption(const String& value) {
    if (FLabel == nullptr) {
        // Not a component of the edit's owner: the edit frees it, and it is never streamed on its own.
        FLabel = new TLabel(nullptr);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(Font());
        FLabel->FreeNotification(this);
    }
    FLabel->SetCaption(value);
    UpdateLabel();
}

// A label freed with its parent before the edit is forgotten, so the edit never frees it again.
void TAdvSpinEdit::Notification(TComponent* component, TOperation operation) {
    TCustomMaskEdit::Notification(component, operation);
    if (operation == opRemove && component == FLabel)
        FLabel = nullptr;
}

void TAdvSpinEdit::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    UpdateLabel();
}

void TAdvSpinEdit::SetLabelMargin(Integer value) {
    FLabelMargin = value;
    UpdateLabel();
}

void TAdvSpinEdit::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    UpdateLabel();
}

void TAdvSpinEdit::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (value && FLabel != nullptr)
        FLabel->SetEnabled(true);
    Invalidate();
}

void TAdvSpinEdit::UpdateLabel() {
    if (FLabel == nullptr || FLabel->Parent() == nullptr)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont.get());
    RECT measure{0, 0, 1000, 255};
    String caption = FLabel->Caption();
    DrawTextW(FLabel->Canvas()->Handle(), caption.c_str(), static_cast<int>(caption.size()), &measure,
              DT_CALCRECT | DT_HIDEPREFIX);
    TPoint place =
        LabelPlace(FLabelPosition, TRect(Left(), Top(), Left() + Width(), Top() + Height()),
                   TPoint(FLabel->Width(), FLabel->Height()), FLabelMargin, measure.right - measure.left);
    FLabel->SetBounds(place.X, place.Y, FLabel->Width(), FLabel->Height());
}

void TAdvSpinEdit::SetVisible(bool value) {
    TCustomMaskEdit::SetVisible(value);
    if (FLabel != nullptr)
        FLabel->SetVisible(value);
}

void TAdvSpinEdit::SetEnabled(bool value) {
    bool changed = value != Enabled();
    TCustomMaskEdit::SetEnabled(value);
    if (!changed || Loading() || ComponentState().Contains(csDesigning) || FLabel == nullptr)
        return;
    if (!FLabelAlwaysEnabled)
        FLabel->SetEnabled(value);
}

void TAdvSpinEdit::SetParent(TWinControl* parent) {
    TCustomMaskEdit::SetParent(parent);
    if (FLabel != nullptr) {
        FLabel->SetParent(parent);
        UpdateLabel();
    }
}

// ---- Focus, enabled and hover ----

void TAdvSpinEdit::SetFocusColors() {
    if (FFocusBorderColor != clNone)
        Invalidate();
    if (FFocusColor != clNone) {
        SetColor(FFocusColor);
        if (static_cast<AdvSpin::TAdvTimerSpeedButton*>(FButton->UpButton())->IsWinXP())
            WidenAndNarrow();
    }
    if (FFocusFontColor != clNone) {
        FFontColor = Font()->Color();
        Font()->SetColor(FFocusFontColor);
        UpdateLabel();
    }
    if (FFocusLabel && FLabel != nullptr) {
        FLabel->Font()->SetStyle(FLabel->Font()->Style() + TFontStyles{fsBold});
        UpdateLabel();
    }
    if (AutoSelect())
        SelectAll();
}

void TAdvSpinEdit::CMEnabledChanged(TMessage& message) {
    FButton->UpButton()->SetEnabled(Enabled());
    FButton->DownButton()->SetEnabled(Enabled());
    TCustomMaskEdit::CMEnabledChanged(message);
    if (Loading() || ComponentState().Contains(csDesigning))
        return;
    if (Enabled()) {
        if (Color() != FNormalColor && FNormalColor != clNone)
            SetColor(FNormalColor);
    } else {
        FNormalColor = Color();
        if (FDisabledColor != clNone)
            SetColor(FDisabledColor);
    }
}

void TAdvSpinEdit::CMFontChanged(TMessage& message) {
    if ((Loading() || ComponentState().Contains(csDesigning)) && FLabel != nullptr && FParentFnt)
        FLabel->Font()->Assign(Font());
    TCustomMaskEdit::CMFontChanged(message);
    SetFlatRect();
}

void TAdvSpinEdit::CMMouseEnter(TMessage& message) {
    TCustomMaskEdit::CMMouseEnter(message);
    if (FAutoFocus && !ComponentState().Contains(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if (form == nullptr || (form->HandleAllocated() && GetActiveWindow() == form->Handle())) {
            if (CanFocus())
                SetFocus();
        }
    }
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        if (FFocusBorder)
            DrawBorders();
        if (OnMouseEnter)
            OnMouseEnter(this);
    }
}

void TAdvSpinEdit::CMMouseLeave(TMessage& message) {
    TCustomMaskEdit::CMMouseLeave(message);
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        if (FFocusBorder)
            Invalidate();
        if (OnMouseLeave)
            OnMouseLeave(this);
    }
}

// ---- Borders ----

void TAdvSpinEdit::DrawBorders() {
    if (!HandleAllocated() || ComponentState().Contains(csDesigning))
        return;
    bool paints = !Enabled() || FFlat || (FMouseInControl && FFocusBorder) || FBorder3D ||
                  FFocusBorderColor != clNone || FBorderColor != clNone;
    if (!paints)
        return;
    HDC dc = GetWindowDC(Handle());
    RECT rect{0, 0, Width(), Height()};
    bool focused = GetFocus() == Handle();
    auto frame = [&](TColor color, RECT r) {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
        FrameRect(dc, &r, brush);
        DeleteObject(brush);
    };
    if (!Enabled() && IsComCtl6OrLater() && FDisabledBorder) {
        frame(static_cast<TColor>(0xC0C0C0), rect);
    } else if (FBorderColor != clNone && (!focused || FFocusBorderColor == clNone)) {
        frame(FBorderColor, rect);
    } else if (FFocusBorderColor != clNone) {
        if (focused)
            frame(FFocusBorderColor, rect);
    } else if (Enabled()) {
        bool active = ((FMouseInControl || Screen()->ActiveControl() == this) && FFocusBorder) || FBorder3D;
        if (active) {
            DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            frame(clBtnFace, rect);
        } else {
            TColor parentColor = Parent() != nullptr ? Parent()->Color() : clBtnFace;
            frame(parentColor, rect);
            InflateRect(&rect, -1, -1);
            frame(parentColor, rect);
        }
    }
    ReleaseDC(Handle(), dc);
}

// ---- Messages ----

void TAdvSpinEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_KEYDOWN:
        TCustomMaskEdit::Dispatch(message);
        if (message.WParam == VK_RETURN && (GetKeyState(VK_CONTROL) & 0x8000) != 0 && HandleAllocated())
            PostMessageW(Handle(), WM_KEYDOWN, VK_UP, 0);
        break;
    case WM_PASTE:
        WMPaste(message);
        break;
    case WM_CUT:
        if (FEditorEnabled && !ReadOnly())
            TCustomMaskEdit::Dispatch(message);
        break;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(message);
        PlaceButton();
        break;
    case WM_PAINT: {
        TCustomMaskEdit::Dispatch(message);
        if (FFlat && HandleAllocated()) {
            HDC dc = GetDC(Handle());
            HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(FFlatLineColor));
            HGDIOBJ old = SelectObject(dc, pen);
            Integer right = ClientWidth() - FButton->Width() - 2;
            MoveToEx(dc, 0, Height() - 1, nullptr);
            LineTo(dc, right, Height() - 1);
            SelectObject(dc, old);
            DeleteObject(pen);
            ReleaseDC(Handle(), dc);
        }
        if (FBorder3D || FFocusBorderColor != clNone || FBorderColor != clNone ||
            (!Enabled() && FDisabledBorder))
            DrawBorders();
        FButton->Update();
        break;
    }
    case WM_NCPAINT:
        TCustomMaskEdit::Dispatch(message);
        if (FFocusBorderColor != clNone || FBorderColor != clNone || (!Enabled() && FDisabledBorder))
            DrawBorders();
        break;
    case WM_SETFOCUS:
        TCustomMaskEdit::Dispatch(message);
        SetFocusColors();
        break;
    case WM_KILLFOCUS:
        TCustomMaskEdit::Dispatch(message);
        if (FFocusColor != clNone && FNormalColor != clNone)
            SetColor(FNormalColor);
        if (FFocusLabel && FLabel != nullptr) {
            FLabel->Font()->SetStyle(FLabel->Font()->Style() - TFontStyles{fsBold});
            UpdateLabel();
        }
        if (FFocusFontColor != clNone) {
            Font()->SetColor(FFontColor);
            UpdateLabel();
        }
        KillFocus();
        if (static_cast<AdvSpin::TAdvTimerSpeedButton*>(FButton->UpButton())->IsWinXP())
            WidenAndNarrow();
        else
            Invalidate();
        break;
    case WM_ERASEBKGND:
        if (FTransparent && Parent() != nullptr) {
            HDC dc = reinterpret_cast<HDC>(message.WParam);
            int saved = SaveDC(dc);
            POINT origin{};
            SetViewportOrgEx(dc, -Left(), -Top(), &origin);
            Parent()->Perform(WM_ERASEBKGND, message.WParam, 0);
            RestoreDC(dc, saved);
            message.Result = 1;
            break;
        }
        TCustomMaskEdit::Dispatch(message);
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        TCustomMaskEdit::Dispatch(message);
        if (FTransparent)
            SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        break;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == EN_CHANGE) {
            if (FBlockChange)
                break;
            if (FTransparent)
                Invalidate();
        }
        TCustomMaskEdit::Dispatch(message);
        break;
    case CM_TEXTCHANGED:
        if (!FBlockChange)
            TCustomMaskEdit::Dispatch(message);
        break;
    case CM_SHOWINGCHANGED:
        TCustomMaskEdit::Dispatch(message);
        if (FLabel != nullptr)
            FLabel->SetVisible(Showing());
        break;
    case CM_PARENTFONTCHANGED:
        TCustomMaskEdit::Dispatch(message);
        if (FLabel != nullptr && ParentFont()) {
            FLabel->Font()->Assign(Font());
            UpdateLabel();
        }
        break;
    default:
        TCustomMaskEdit::Dispatch(message);
    }
}
