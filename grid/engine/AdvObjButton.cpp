// The grid's glyph button: a flat speed button with gradient looks for its states, rounded borders, a
// shadow under the glyph on hover, a split drop-down part and a check style.
#include "grid/engine/AdvObj.h"

#include <algorithm>
#include <cmath>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/Menus.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"
#include "render/VerIRID.h"

DEFINE_CLASS(TAdvGridButtonActionLink)
DEFINE_CLASS(TAdvGridButton, PROPERTY(AllowAllUp).Default(false), PROPERTY(GroupIndex).Default(0),
             PROPERTY(Down).Default(false), PROPERTY(Glyph), PROPERTY(GlyphHot), PROPERTY(GlyphDown),
             PROPERTY(GlyphDisabled), PROPERTY(Layout).Default(blGlyphLeft), PROPERTY(Margin).Default(-1),
             PROPERTY(Spacing).Default(4), PROPERTY(Flat).Default(true), PROPERTY(ShowCaption).Default(true),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorHot).Type(TypeInfoColor()).Default(TColor(0x00CAC7C7)),
             PROPERTY(ColorHotTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorDown).Type(TypeInfoColor()).Default(TColor(0x00D8D3D2)),
             PROPERTY(ColorDownTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorChecked).Type(TypeInfoColor()).Default(TColor(0x00808080)),
             PROPERTY(ColorCheckedTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(BorderDownColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(BorderHotColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(Shaded).Default(true),
             PROPERTY(Style).Default(tasButton), PROPERTY(Rounded).Default(false),
             PROPERTY(DropDownButton).Default(false), PROPERTY(AutoThemeAdapt).Default(false),
             PROPERTY(AutoXPStyle).Default(false))

namespace {

// The framework's control message that a look or theme setting changed.
constexpr UINT CM_THEMELOOKCHANGED = 0xB035;
// The width of the drop-down part at the right end.
constexpr Integer DropDownWidth = 12;

struct PresetLook {
    TColor color, colorTo, colorHot, colorHotTo, colorDown, colorDownTo, colorChecked, colorCheckedTo;
    TColor borderDown, borderHot;
};

constexpr PresetLook PresetLooks[] = {
    {0x00EDF1F1, 0x00DFEBEB, 0x00FAFCFC, 0x00E5ECED, 0x00E0E6E7, 0x00D8E0E1, 0x00FFFFFF, clNone, 0x00AF987A,
     0x00C3CECE},
    {clBtnFace, clNone, 0x00EED2C1, clNone, 0x00E2B598, clNone, 0x00E8E6E1, clNone, 0x00C56A31, 0x00C56A31},
    {0x00FDEADA, 0x00E4AE88, 0x00CCF4FF, 0x0091D0FF, 0x004E91FE, 0x008ED3FF, 0x008ED3FF, 0x0055ADFF,
     0x00000000, 0x00000000},
    {0x00CFF0EA, 0x008CC0B1, 0x00CCF4FF, 0x0091D0FF, 0x004E91FE, 0x008ED3FF, 0x008ED3FF, 0x0055ADFF,
     0x00000000, 0x00000000},
    {0x00ECE2E1, 0x00B39698, 0x00CCF4FF, 0x0091D0FF, 0x004E91FE, 0x008ED3FF, 0x008ED3FF, 0x0055ADFF,
     0x00000000, 0x00000000},
    {clBtnFace, clNone, clBtnFace, clNone, 0x00D8D3D2, clNone, 0x00CAC7C7, clNone, clNone, clNone},
    {0x00CAFFFF, 0x00A6FFFF, 0x00A8F0FD, 0x007CE9FC, 0x004DE0FB, 0x007AE9FC, 0x00B5E6F2, 0x009CDDED,
     0x00808080, 0x00808080},
};

TRect Inflated(const TRect& r, Integer by) {
    return TRect(r.Left - by, r.Top - by, r.Right + by, r.Bottom + by);
}

// Draws bitmap with its bottom-left pixel's colour transparent.
void DrawGlyph(TCanvas* canvas, TBitmap* bitmap, const TPoint& position) {
    if (bitmap == nullptr || bitmap->Empty())
        return;
    TBitmap piece;
    piece.Assign(bitmap);
    piece.SetTransparent(true);
    canvas->Draw(position.X, position.Y, &piece);
}

} // namespace

void DrawButtonGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                        Integer steps, TColor frameColor) {
    if (steps <= 0)
        steps = 1;
    const COLORREF from = ColorToRGB(fromColor);
    const COLORREF to = ColorToRGB(toColor);
    const Integer extent = horizontal ? rect.Width() : rect.Height();
    const double band = static_cast<double>(extent) / steps;
    const Integer length = static_cast<Integer>(std::nearbyint(band)) + 1;
    const Integer far = horizontal ? rect.Right : rect.Bottom;
    for (Integer i = 0; i < steps; ++i) {
        TColor color = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const double c1 = static_cast<double>((from >> shift) & 0xFF);
            const double c2 = static_cast<double>((to >> shift) & 0xFF);
            color |= static_cast<TColor>(std::nearbyint(c1 + i * (c2 - c1) / steps)) << shift;
        }
        canvas->Pen()->SetColor(color);
        canvas->Brush()->SetColor(color);
        const Integer start =
            (horizontal ? rect.Left : rect.Top) + static_cast<Integer>(std::nearbyint(i * band));
        const Integer end = std::min(start + length, far);
        if (horizontal)
            canvas->Rectangle(start, rect.Top, end, rect.Bottom);
        else
            canvas->Rectangle(rect.Left, start, rect.Right, end);
    }
    if (frameColor == clNone)
        return;
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(frameColor);
    canvas->Rectangle(rect);
    canvas->Brush()->SetStyle(bsSolid);
}

TAdvGridButton::TAdvGridButton(TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()), FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()), FGlyphShade(std::make_unique<TBitmap>()) {
    FIsComCtl6 = IsComCtl6OrLater();
    SetBounds(0, 0, 22, 23);
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
    SetParentFont(true);
    SetColor(clBtnFace);
}

TAdvGridButton::~TAdvGridButton() = default;

void TAdvGridButton::GlyphChanged(TObject*) {
    Invalidate();
}

void TAdvGridButton::SetDown(bool value) {
    if (FGroupIndex == 0 && FStyle == tasButton)
        value = false;
    if (FStyle == tasCheck) {
        FDown = value;
        Repaint();
        return;
    }
    if (value == FDown)
        return;
    // The down button of a group that must keep one down stays down.
    if (FDown && !FAllowAllUp)
        return;
    FDown = value;
    if (value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Repaint();
    }
}

void TAdvGridButton::SetGroupIndex(Integer value) {
    if (FGroupIndex == value)
        return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TAdvGridButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value)
        return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TAdvGridButton::SetGlyph(TBitmap* value) {
    FGlyph->Assign(value);
    if (FGlyphDisabled->Empty() && !FGlyph->Empty()) {
        // The disabled glyph is a light grey picture of the glyph's brightness.
        TBitmap grey;
        grey.Assign(FGlyph.get());
        TCanvas* canvas = grey.Canvas();
        for (Integer y = 0; y < grey.Height(); ++y)
            for (Integer x = 0; x < grey.Width(); ++x) {
                const COLORREF rgb = ColorToRGB(canvas->Pixels(x, y));
                const Integer sum =
                    static_cast<Integer>((rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF));
                const Integer level = 96 + static_cast<Integer>(std::nearbyint(sum / 3.0)) / 2;
                canvas->SetPixels(x, y, static_cast<TColor>(level | (level << 8) | (level << 16)));
            }
        FGlyphDisabled->Assign(&grey);
    }
    if (FShaded && !ComponentState().Contains(csLoading))
        BuildShade();
    Invalidate();
}

void TAdvGridButton::BuildShade() {
    FGlyphShade->Assign(FGlyph.get());
    if (FGlyphShade->Empty())
        return;
    TCanvas* canvas = FGlyphShade->Canvas();
    const TColor transparent = canvas->Pixels(0, FGlyphShade->Height() - 1);
    for (Integer y = 0; y < FGlyphShade->Height(); ++y)
        for (Integer x = 0; x < FGlyphShade->Width(); ++x)
            if (canvas->Pixels(x, y) != transparent)
                canvas->SetPixels(x, y, 0x00808080);
}

void TAdvGridButton::SetLayout(TButtonLayout value) {
    if (FLayout == value)
        return;
    FLayout = value;
    Invalidate();
}

void TAdvGridButton::SetMargin(Integer value) {
    if (FMargin == value || value < -1)
        return;
    FMargin = value;
    Invalidate();
}

void TAdvGridButton::SetSpacing(Integer value) {
    if (FSpacing == value)
        return;
    FSpacing = value;
    Invalidate();
}

void TAdvGridButton::SetFlat(bool value) {
    if (FFlat == value)
        return;
    FFlat = value;
    Invalidate();
}

void TAdvGridButton::SetShowCaption(bool value) {
    if (FShowCaption == value)
        return;
    FShowCaption = value;
    Invalidate();
}

void TAdvGridButton::SetColorTo(TColor value) {
    FColorTo = value;
    Invalidate();
}

void TAdvGridButton::SetColorChecked(TColor value) {
    FColorChecked = value;
    Invalidate();
}

void TAdvGridButton::SetColorCheckedTo(TColor value) {
    FColorCheckedTo = value;
    Invalidate();
}

void TAdvGridButton::SetBorderColor(TColor value) {
    FBorderColor = value;
    Invalidate();
}

void TAdvGridButton::SetShaded(bool value) {
    FShaded = value;
    if (value && !ComponentState().Contains(csLoading))
        BuildShade();
}

void TAdvGridButton::SetStyle(TAdvGridButtonStyle value) {
    FStyle = value;
    Invalidate();
}

void TAdvGridButton::SetRounded(bool value) {
    FRounded = value;
    Invalidate();
}

void TAdvGridButton::SetDropDownButton(bool value) {
    FDropDownButton = value;
    Invalidate();
}

void TAdvGridButton::SetDropDownMenu(TPopupMenu* value) {
    if (FDropDownMenu == value)
        return;
    if (FDropDownMenu != nullptr)
        FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = value;
    if (value != nullptr)
        value->FreeNotification(this);
}

void TAdvGridButton::SetAutoThemeAdapt(bool value) {
    FAutoThemeAdapt = value;
    if (value)
        ApplyThemeLook();
}

void TAdvGridButton::SetLook(Integer look) {
    if (look < 0 || look > 6)
        return;
    const PresetLook& preset = PresetLooks[look];
    SetColor(preset.color);
    FColorTo = preset.colorTo;
    FColorHot = preset.colorHot;
    FColorHotTo = preset.colorHotTo;
    FColorDown = preset.colorDown;
    FColorDownTo = preset.colorDownTo;
    FColorChecked = preset.colorChecked;
    FColorCheckedTo = preset.colorCheckedTo;
    FBorderDownColor = preset.borderDown;
    FBorderHotColor = preset.borderHot;
    FBorderColor = clNone;
    FFlat = true;
    FRounded = look == 0;
    Invalidate();
}

void TAdvGridButton::ApplyThemeLook() {
    switch (CurrentXPColorScheme()) {
    case 1:
        SetLook(2);
        break;
    case 2:
        SetLook(3);
        break;
    case 3:
        SetLook(4);
        break;
    default:
        SetLook(1);
        break;
    }
}

void TAdvGridButton::Loaded() {
    TGraphicControl::Loaded();
    if (FShaded)
        BuildShade();
    if (FAutoThemeAdapt)
        ApplyThemeLook();
}

void TAdvGridButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TAdvGridButton::UpdateExclusive() {
    if (FGroupIndex == 0 || Parent() == nullptr)
        return;
    TMessage message{};
    message.Msg = CM_BUTTONPRESSED;
    message.WParam = static_cast<WPARAM>(FGroupIndex);
    message.LParam = reinterpret_cast<LPARAM>(static_cast<TControl*>(this));
    Parent()->Broadcast(message);
}

void TAdvGridButton::CMButtonPressed(TMessage& message) {
    if (static_cast<Integer>(message.WParam) != FGroupIndex)
        return;
    // Other buttons of the same group index (speed buttons among them) may broadcast too.
    auto* sender = dynamic_cast<TAdvGridButton*>(reinterpret_cast<TControl*>(message.LParam));
    if (sender == nullptr || sender == this)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        if (auto* action = dynamic_cast<TCustomAction*>(Action()))
            action->SetChecked(false);
        Invalidate();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TAdvGridButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_BUTTONPRESSED:
        CMButtonPressed(message);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(message.WParam), Caption()) && Enabled() && Visible() &&
            Parent() != nullptr && Parent()->Showing()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // LParam 0: the button's own enter or leave.
        if (message.LParam == 0) {
            if (message.Msg == CM_MOUSEENTER)
                MouseEntered();
            else
                MouseLeft();
        }
        break;
    case WM_THEMECHANGED:
    case CM_THEMELOOKCHANGED:
        if (FAutoThemeAdapt)
            ApplyThemeLook();
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(message);
}

void TAdvGridButton::MouseEntered() {
    if (Enabled() && DragMode() != dmAutomatic && GetCapture() == nullptr) {
        FMouseInside = true;
        Repaint();
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TAdvGridButton::MouseLeft() {
    if (!FDragging) {
        FMouseInside = false;
        Invalidate();
    }
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TAdvGridButton::UpdateTracking() {
    if (!FFlat || !Enabled() || Parent() == nullptr)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const TPoint local = ScreenToClient(TPoint(cursor));
    const bool inside = local.X >= 0 && local.X < Width() && local.Y >= 0 && local.Y < Height();
    if (inside != FMouseInside) {
        if (inside)
            MouseEntered();
        else
            MouseLeft();
    }
}

void TAdvGridButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (FDropDownButton && x >= Width() - DropDownWidth) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu != nullptr) {
            const TPoint corner = ClientToScreen(TPoint(0, Height()));
            FDropDownMenu->Popup(corner.X, corner.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = bsDown;
        Repaint();
    }
    FDragging = true;
}

void TAdvGridButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (FDragging) {
        const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
        TButtonState state = inside ? bsDown : bsUp;
        if (FDown)
            state = FStyle == tasCheck ? bsDown : bsExclusive;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInside) {
        UpdateTracking();
    }
}

void TAdvGridButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = x >= 0 && x < ClientWidth() && y >= 0 && y <= ClientHeight();
    if (FGroupIndex == 0) {
        FState = bsUp;
        // A release outside the button takes the press back, also for the check style.
        if (FStyle == tasCheck && inside)
            SetDown(!FDown);
        if (inside)
            Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else if (FDown) {
        FState = bsExclusive;
        Repaint();
    }
    if (inside)
        Click();
    UpdateTracking();
}

TClass TAdvGridButton::GetActionLinkClass() {
    return TAdvGridButtonActionLink::StaticClass();
}

// ---- TAdvGridButtonActionLink ----

void TAdvGridButtonActionLink::AssignClient(TObject* client) {
    TControlActionLink::AssignClient(client);
    FButton = static_cast<TAdvGridButton*>(client);
}

bool TAdvGridButtonActionLink::IsCheckedLinked() {
    auto* action = dynamic_cast<TCustomAction*>(FAction);
    return TControlActionLink::IsCheckedLinked() && FButton->GroupIndex() != 0 && FButton->AllowAllUp() &&
           FButton->Down() == action->Checked();
}

bool TAdvGridButtonActionLink::IsGroupIndexLinked() {
    auto* action = dynamic_cast<TCustomAction*>(FAction);
    return TControlActionLink::IsGroupIndexLinked() && FButton != nullptr &&
           FButton->GroupIndex() == action->GroupIndex();
}

void TAdvGridButtonActionLink::SetChecked(bool value) {
    if (IsCheckedLinked())
        FButton->SetDown(value);
}

void TAdvGridButtonActionLink::SetGroupIndex(Integer value) {
    if (IsGroupIndexLinked())
        FButton->SetGroupIndex(value);
}

void TAdvGridButton::WMLButtonDblClk(TMessage& message) {
    TGraphicControl::WMLButtonDblClk(message);
    if (FDown)
        DblClick();
}

void TAdvGridButton::Paint() {
    TCanvas* canvas = Canvas();
    const bool designing = ComponentState().Contains(csDesigning);
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown)
        FState = bsDown;
    canvas->Font()->Assign(Font());
    const bool hot = FMouseInside && Enabled() && !designing;
    const bool down = FState == bsDown || FState == bsExclusive;

    TRect r = ClientRect();
    if (FFlat) {
        if (FBorderDownColor == clNone || FRounded)
            r = Inflated(r, -1);
        TColor fill = Color();
        TColor fillTo = FColorTo;
        TColor border = down ? FBorderDownColor : FBorderColor;
        if (hot) {
            if (FStyle == tasCheck && FDown && !FDragging) {
                fill = FColorChecked;
                fillTo = FColorCheckedTo;
                border = FBorderDownColor;
            } else if (down) {
                fill = FColorDown;
                fillTo = FColorDownTo;
                border = FBorderDownColor;
            } else {
                fill = FColorHot;
                fillTo = FColorHotTo;
                border = FBorderHotColor;
            }
        } else if (FStyle == tasCheck && FDown) {
            fill = FColorChecked;
            fillTo = FColorCheckedTo;
            border = FBorderDownColor;
        }
        const bool checkedLook = FStyle == tasCheck && FDown;
        if (fillTo == clNone) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(fill);
            if (hot || checkedLook) {
                canvas->Pen()->SetColor(border != clNone && !FRounded ? border : fill);
                canvas->Rectangle(r);
            } else {
                canvas->FillRect(r);
            }
        } else {
            DrawButtonGradient(canvas, fill, fillTo, false, r, 16, FRounded ? clNone : border);
        }
        if (hot) {
            if (FRounded && border != clNone) {
                canvas->Brush()->SetStyle(bsClear);
                canvas->Pen()->SetColor(border);
                canvas->RoundRect(Inflated(r, 1), 8, 8);
                canvas->Brush()->SetStyle(bsSolid);
            }
            if (FDropDownButton && border != clNone) {
                canvas->Pen()->SetColor(border);
                canvas->MoveTo(Width() - DropDownWidth, r.Top);
                canvas->LineTo(Width() - DropDownWidth, r.Bottom);
            }
        } else if (FBorderColor != clNone && !checkedLook) {
            canvas->Brush()->SetStyle(bsClear);
            canvas->Pen()->SetColor(FBorderColor);
            if (FRounded)
                canvas->RoundRect(Inflated(r, 1), 8, 8);
            else
                canvas->Rectangle(r);
            canvas->Brush()->SetStyle(bsSolid);
        }
        r = Inflated(r, -1);
    } else {
        HTHEME theme = nullptr;
        if (IsWinXPOrLater() && FAutoXPStyle && FIsComCtl6 && VerIRID::IsThemeActive != nullptr &&
            VerIRID::IsThemeActive() && VerIRID::OpenThemeData != nullptr)
            theme = VerIRID::OpenThemeData(nullptr, u"button");
        if (theme != nullptr) {
            RECT rect = r;
            VerIRID::DrawThemeBackground(theme, canvas->Handle(), BP_PUSHBUTTON,
                                         down  ? PBS_PRESSED
                                         : hot ? PBS_HOT
                                               : PBS_NORMAL,
                                         &rect, nullptr);
            VerIRID::CloseThemeData(theme);
        } else {
            RECT rect = r;
            DrawFrameControl(canvas->Handle(), &rect, DFC_BUTTON,
                             DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0));
            r = rect;
        }
    }

    // A button held down in its group shows the checked colours under its content.
    if (FState == bsExclusive && !(FFlat && hot)) {
        if (FColorCheckedTo == clNone) {
            canvas->Brush()->SetColor(FColorChecked);
            canvas->FillRect(Inflated(r, 1));
        } else {
            DrawButtonGradient(canvas, FColorChecked, FColorCheckedTo, false, Inflated(r, 1), 16, clNone);
        }
    }
    DrawContent(canvas, r, hot);
}

void TAdvGridButton::DrawContent(TCanvas* canvas, const TRect& rect, bool hot) {
    TRect content = rect;
    const bool down = FState == bsDown || FState == bsExclusive;
    TPoint offset = down && !FFlat && !ComponentState().Contains(csDesigning) ? TPoint(1, 1) : TPoint(0, 0);
    if (FDropDownButton) {
        const Integer middle = Height() / 2;
        const TColor color = Font()->Color();
        canvas->Pen()->SetColor(color);
        canvas->Brush()->SetColor(color);
        canvas->Polygon({TPoint(Width() - 8, middle - 1), TPoint(Width() - 4, middle - 1),
                         TPoint(Width() - 6, middle + 1)});
        content.Right -= DropDownWidth;
    }

    const String caption = FShowCaption ? Caption() : String();
    TBitmap* glyph = FGlyph.get();
    if (hot && !FGlyphHot->Empty())
        glyph = FGlyphHot.get();
    else if (down && !FGlyphDown->Empty())
        glyph = FGlyphDown.get();
    else if (FState == bsDisabled && !FGlyphDisabled->Empty())
        glyph = FGlyphDisabled.get();
    const TSize glyphSize = glyph->Empty() ? TSize{} : TSize{glyph->Width(), glyph->Height()};
    const TSize textSize = caption.empty() ? TSize{} : canvas->TextExtent(caption);
    TButtonLayout layout = FLayout;
    if (UseRightToLeftReading()) {
        if (layout == blGlyphLeft)
            layout = blGlyphRight;
        else if (layout == blGlyphRight)
            layout = blGlyphLeft;
    }
    const TButtonLayoutResult where =
        CalcButtonLayout(content, offset, glyphSize, textSize, layout, FMargin, FSpacing);
    TPoint glyphPos =
        caption.empty() ? TPoint(content.Left + offset.X, content.Top + offset.Y) : where.glyphPos;

    const bool shade = FFlat && hot && Enabled() && FShaded && !FDown;
    if (shade) {
        glyphPos = TPoint(glyphPos.X - 1, glyphPos.Y - 1);
        const TPoint shadePos = caption.empty() ? glyphPos : TPoint(glyphPos.X + 2, glyphPos.Y + 2);
        DrawGlyph(canvas, FGlyphShade.get(), shadePos);
    }
    DrawGlyph(canvas, glyph, glyphPos);

    if (caption.empty())
        return;
    canvas->Brush()->SetStyle(bsClear);
    HDC dc = canvas->Handle();
    const UINT format =
        DT_CENTER | DT_VCENTER | DT_SINGLELINE | (UseRightToLeftReading() ? DT_RTLREADING : 0);
    RECT text = where.textBounds;
    if (FState == bsDisabled) {
        RECT shifted{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &shifted, format);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
    canvas->Brush()->SetStyle(bsSolid);
}
