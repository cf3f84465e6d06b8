// The grid's styled combo box, and the painting its sibling in the controls shares.
#include "grid/view/AsgCombo.h"

#include "controls/AdvEdit.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"

using namespace AsgCombo;

DEFINE_CLASS(TAsgCustomCombo)
DEFINE_CLASS(TAsgComboBox, PROPERTY(AutoFocus).Default(false),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(ButtonWidth),
             PROPERTY(DisabledBorder).Default(true), PROPERTY(DropWidth).Default(0),
             PROPERTY(Etched).Default(false), PROPERTY(Flat).Default(false),
             PROPERTY(FlatLineColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FlatParentColor).Default(true), PROPERTY(FocusBorder).Default(false),
             PROPERTY(FocusBorderColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FocusColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(FocusLabel).Default(false),
             PROPERTY(LabelCaption), PROPERTY(LabelPosition).Default(lpLeftTop),
             PROPERTY(LabelMargin).Default(4), PROPERTY(LabelTransparent).Default(false),
             PROPERTY(LabelAlwaysEnabled).Default(false), PROPERTY(LabelFont),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clWindow), PROPERTY(Style).Default(csDropDown),
             PROPERTY(Items), PROPERTY(ItemIndex).Default(-1), PROPERTY(DropDownCount).Default(8),
             PROPERTY(Sorted).Default(false), PROPERTY(AutoComplete).Default(true),
             PROPERTY(MaxLength).Default(0), EVENT(OnChange), EVENT(OnSelect), EVENT(OnDropDown),
             EVENT(OnCloseUp), EVENT(OnDropUp))

// ---- Shared painting ----

int ComboButtonThemeState(bool enabled, bool held, bool dropped, bool hover) {
    if (!enabled)
        return CBXS_DISABLED;
    if (held && dropped)
        return CBXS_PRESSED;
    if (!held && hover && !dropped)
        return CBXS_HOT;
    return CBXS_NORMAL;
}

bool ComboMouseButtonHeld() {
    return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 || (GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0;
}

void PaintComboColourButton(HDC dc, const RECT& r, TColor fill, TColor border, TColor arrow) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(fill));
    HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(fill));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, r.left - 1, r.top + 1, r.right - 1, r.bottom - 1);
    HPEN edge = CreatePen(PS_SOLID, 1, ColorToRGB(border));
    SelectObject(dc, edge);
    MoveToEx(dc, r.left - 1, r.top + 1, nullptr);
    LineTo(dc, r.left - 1, r.bottom - 1);
    HBRUSH arrowBrush = CreateSolidBrush(ColorToRGB(arrow));
    HPEN arrowPen = CreatePen(PS_SOLID, 1, ColorToRGB(arrow));
    SelectObject(dc, arrowBrush);
    SelectObject(dc, arrowPen);
    const POINT points[3] = {{r.left + 4, r.top + 7}, {r.left + 10, r.top + 7}, {r.left + 7, r.top + 10}};
    Polygon(dc, points, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    for (HGDIOBJ object :
         {HGDIOBJ(brush), HGDIOBJ(pen), HGDIOBJ(edge), HGDIOBJ(arrowBrush), HGDIOBJ(arrowPen)})
        DeleteObject(object);
}

namespace {

void FrameWith(HDC dc, const RECT& r, TColor color) {
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    FrameRect(dc, &r, brush);
    DeleteObject(brush);
}

} // namespace

void PaintComboFrame(HDC dc, RECT r, const TComboFrameLook& look) {
    if (!look.enabled && look.themed && !look.disabledBorder) {
        FrameWith(dc, r, static_cast<TColor>(0xB99D7F));
        return;
    }
    if (look.focused && look.focusBorderColor != clNone) {
        FrameWith(dc, r, look.focusBorderColor);
        return;
    }
    if (look.borderColor != clNone) {
        FrameWith(dc, r, look.borderColor);
        return;
    }
    if (look.focusBorderColor != clNone)
        return;
    const TColor outer = look.hot ? clBtnFace : look.parentColor;
    if (look.hot) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameWith(dc, r, outer);
        InflateRect(&r, -1, -1);
        FrameWith(dc, r, look.color);
    } else {
        FrameWith(dc, r, outer);
        RECT inner = r;
        InflateRect(&inner, -1, -1);
        inner.right -= look.buttonWidth;
        FrameWith(dc, inner, outer);
        InflateRect(&inner, -1, -1);
        FrameWith(dc, inner, look.color);
    }
    if (look.flat && look.flatLineColor != clNone) {
        HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(look.flatLineColor));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, r.left - 2, look.height - 1, nullptr);
        LineTo(dc, r.right - look.buttonWidth - 1, look.height - 1);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void SwapFlatComboColours(TControl* combo, bool enabling, TColor& oldColor, bool& oldParentColor) {
    if (!enabling) {
        oldColor = combo->Color();
        oldParentColor = combo->ParentColor();
        combo->SetParentColor(true);
    } else {
        combo->SetParentColor(oldParentColor);
        combo->SetColor(oldColor);
    }
}

TLabel* CreateComboLabel(TWinControl* combo, TFont* font) {
    auto* label = new TLabel(combo);
    label->SetParent(combo->Parent());
    label->SetFocusControl(combo);
    label->Font()->Assign(font);
    label->SetParentFont(combo->ParentFont());
    return label;
}

// ---- The combo ----

TAsgCustomCombo::TAsgCustomCombo(TComponent* owner)
    : TCustomComboBox(owner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2), FIsThemed(IsComCtl6OrLater()),
      FLabelFont(std::make_unique<TFont>()) {
    FLabelFont->OnChange = [this](TObject*) { LabelFontChanged(); };
}

TAsgCustomCombo::~TAsgCustomCombo() {
    if (FLabel != nullptr)
        FLabel->SetParent(nullptr);
}

void TAsgCustomCombo::Init() {
    FNormalColor = Color();
}

void TAsgCustomCombo::SelectItem(const String& text) {
    Integer index = Items()->IndexOf(text);
    if (index >= 0)
        SetItemIndex(index);
}

void TAsgCustomCombo::SetButtonWidth(Integer value) {
    if (value < 14 || value > 32)
        return;
    FButtonWidth = value;
    Invalidate();
}

void TAsgCustomCombo::SetFlat(bool value) {
    if (FFlat == value)
        return;
    FFlat = value;
    SetCtl3D(!value);
    if (FFlatParentColor && value) {
        if (Parent() != nullptr)
            TControl::SetColor(Parent()->Brush()->Color());
    } else {
        TControl::SetColor(FLoadedColor);
    }
    Invalidate();
}

void TAsgCustomCombo::SetEtched(bool value) {
    if (FEtched == value)
        return;
    FEtched = value;
    Invalidate();
}

void TAsgCustomCombo::SetDropWidth(Integer value) {
    FDropWidth = value;
    if (value > 0 && HandleAllocated())
        SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(value), 0);
}

void TAsgCustomCombo::SetBorderColor(TColor value) {
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    if (HandleAllocated())
        SendMessageW(Handle(), WM_NCPAINT, 1, 0);
}

void TAsgCustomCombo::SetFlatLineColor(TColor value) {
    FFlatLineColor = value;
    Invalidate();
}

void TAsgCustomCombo::SetFlatParentColor(bool value) {
    FFlatParentColor = value;
    Invalidate();
}

void TAsgCustomCombo::SetColor(TColor value) {
    if (ComponentState().Contains(csLoading))
        FLoadedColor = value;
    TControl::SetColor(value);
}

void TAsgCustomCombo::SetEnabled(bool value) {
    const bool changed = value != Enabled();
    if (changed && FFlat && !ComponentState().Contains(csLoading))
        SwapFlatComboColours(this, value, FOldColor, FOldParentColor);
    TCustomComboBox::SetEnabled(value);
    const TComponentState state = ComponentState();
    if (!changed || state.Contains(csLoading) || state.Contains(csDesigning) || FLabel == nullptr)
        return;
    if (!FLabelAlwaysEnabled)
        FLabel->SetEnabled(value);
    UpdateLabel();
}

void TAsgCustomCombo::CMVisibleChanged(TMessage& message) {
    TCustomComboBox::CMVisibleChanged(message);
    if (FLabel != nullptr)
        FLabel->SetVisible(Visible());
}

// ---- The label ----

String TAsgCustomCombo::LabelCaption() const {
    return FLabel != nullptr ? FLabel->Caption() : String();
}

void TAsgCustomCombo::SetLabelCaption(const String& value) {
    if (FLabel == nullptr)
        CreateLabel();
    FLabel->SetCaption(value);
    UpdateLabel();
}

void TAsgCustomCombo::CreateLabel() {
    FLabel = CreateComboLabel(this, FLabelFont.get());
}

void TAsgCustomCombo::UpdateLabel() {
    if (FLabel == nullptr || FLabel->Parent() == nullptr)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont())
        FLabel->Font()->Assign(FLabelFont.get());
    RECT measure{0, 0, 1000, 255};
    String caption = FLabel->Caption();
    DrawTextW(FLabel->Canvas()->Handle(), caption.c_str(), static_cast<int>(caption.size()), &measure,
              DT_CALCRECT | DT_HIDEPREFIX);
    // The thirteen places are the first thirteen of the typed edit's table, centred without a border term.
    TPoint place = EditLabelPlace(static_cast<AdvEdit::TLabelPosition>(FLabelPosition),
                                  TRect(Left(), Top(), Left() + Width(), Top() + Height()),
                                  TPoint(FLabel->Width(), FLabel->Height()), FLabelMargin,
                                  measure.right - measure.left, 0);
    FLabel->SetBounds(place.X, place.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

void TAsgCustomCombo::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    UpdateLabel();
}

void TAsgCustomCombo::SetLabelMargin(Integer value) {
    FLabelMargin = value;
    UpdateLabel();
}

void TAsgCustomCombo::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    UpdateLabel();
}

void TAsgCustomCombo::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    UpdateLabel();
}

void TAsgCustomCombo::SetLabelFont(TFont* value) {
    if (!ParentFont())
        FLabelFont->Assign(value);
    UpdateLabel();
}

void TAsgCustomCombo::LabelFontChanged() {
    UpdateLabel();
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetParentFont(false);
}

void TAsgCustomCombo::SetLabelBold(bool bold) {
    if (FLabel == nullptr)
        return;
    SetLabelFontBold(FLabel->Font(), bold);
}

void TAsgCustomCombo::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    TCustomComboBox::SetBounds(left, top, width, height);
    if (!ComponentState().Contains(csDestroying))
        UpdateLabel();
}

void TAsgCustomCombo::SetParent(TWinControl* parent) {
    TCustomComboBox::SetParent(parent);
    if (FLabel != nullptr) {
        FLabel->SetParent(parent);
        UpdateLabel();
    }
}

void TAsgCustomCombo::CMFontChanged(TMessage& message) {
    TCustomComboBox::CMFontChanged(message);
    const TComponentState state = ComponentState();
    if (FLabel != nullptr && ParentFont() && (state.Contains(csDesigning) || state.Contains(csLoading)))
        FLabel->Font()->Assign(Font());
}

void TAsgCustomCombo::CMParentFontChanged(TMessage& message) {
    TCustomComboBox::CMParentFontChanged(message);
    if (FLabel != nullptr && ParentFont()) {
        FLabel->Font()->Assign(Font());
        UpdateLabel();
    }
}

// ---- Life cycle ----

void TAsgCustomCombo::CreateWnd() {
    TCustomComboBox::CreateWnd();
    if (FDropWidth > 0)
        SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
    UpdateLabel();
}

void TAsgCustomCombo::Loaded() {
    TCustomComboBox::Loaded();
    if (FDropWidth > 0 && HandleAllocated())
        SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
    FOldColor = FLoadedColor;
    if (!(FFlatParentColor && !FFlat))
        TControl::SetColor(FLoadedColor);
    if (FLabel != nullptr && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
    if (FLabel != nullptr && ParentFont())
        FLabel->Font()->Assign(Font());
    UpdateLabel();
    Init();
}

// ---- Focus and mouse ----

void TAsgCustomCombo::CMEnter(TMessage& message) {
    TCustomComboBox::CMEnter(message);
    if (ComponentState().Contains(csDesigning))
        return;
    FHasFocus = true;
    DrawBorders();
    if (FFocusColor != clNone)
        TControl::SetColor(FFocusColor);
    if (FFocusLabel)
        SetLabelBold(true);
}

void TAsgCustomCombo::FocusLost() {
    if (FFocusColor != clNone && FNormalColor != clNone)
        TControl::SetColor(FNormalColor);
    if (FFocusLabel)
        SetLabelBold(false);
}

void TAsgCustomCombo::CMExit(TMessage& message) {
    TCustomComboBox::CMExit(message);
    if (ComponentState().Contains(csDesigning))
        return;
    FHasFocus = false;
    DrawBorders();
    FocusLost();
}

void TAsgCustomCombo::WMSetFocus(TMessage& message) {
    TCustomComboBox::WMSetFocus(message);
    if (FNormalColor == clNone)
        FNormalColor = Color();
    if (FFocusBorderColor != clNone)
        Invalidate();
    if (FFocusColor != clNone)
        TControl::SetColor(FFocusColor);
    if (FFocusLabel)
        SetLabelBold(true);
}

void TAsgCustomCombo::WMKillFocus(TMessage& message) {
    TCustomComboBox::WMKillFocus(message);
    FocusLost();
    Invalidate();
}

void TAsgCustomCombo::CMMouseEnter(TMessage& message) {
    TCustomComboBox::CMMouseEnter(message);
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        DrawBorders();
    }
    if (FAutoFocus && !ComponentState().Contains(csDesigning)) {
        TCustomForm* form = GetParentForm(this);
        if ((form == nullptr || (form->HandleAllocated() && GetActiveWindow() == form->Handle())) &&
            CanFocus())
            SetFocus();
    }
    if (FIsWinXP)
        Invalidate();
}

void TAsgCustomCombo::CMMouseLeave(TMessage& message) {
    TCustomComboBox::CMMouseLeave(message);
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        DrawBorders();
    }
    FButtonHover = false;
    if (FIsWinXP)
        Invalidate();
}

void TAsgCustomCombo::MouseMove(TShiftState shift, int x, int y) {
    TCustomComboBox::MouseMove(shift, x, y);
    const bool over = Width() - FButtonWidth < x && x < Width();
    if (over != FButtonHover) {
        FButtonHover = over;
        Invalidate();
    }
}

void TAsgCustomCombo::CNCommand(TMessage& message) {
    TCustomComboBox::CNCommand(message);
    const WORD code = HIWORD(message.WParam);
    if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
        TRect client = ClientRect();
        RECT button{client.Right - FButtonWidth, client.Top, client.Right, client.Bottom};
        InvalidateRect(Handle(), &button, FALSE);
        if (code == CBN_CLOSEUP && OnDropUp)
            OnDropUp(this);
    }
}

// ---- Painting ----

bool TAsgCustomCombo::ThemesActive() const {
    return FIsThemed && IsThemeActive();
}

bool TAsgCustomCombo::IsHot() {
    return FFocusBorder && !ComponentState().Contains(csDesigning) &&
           (FMouseInControl || Screen()->ActiveControl() == this);
}

bool TAsgCustomCombo::ButtonAreaActive() {
    if (ComponentState().Contains(csDesigning))
        return Enabled();
    return FMouseInControl || Screen()->ActiveControl() == this;
}

void TAsgCustomCombo::Dispatch(TMessage& message) {
    if (message.Msg == WM_NCPAINT) {
        TCustomComboBox::Dispatch(message);
        if (FFlat || (!Enabled() && ThemesActive() && !FDisabledBorder))
            DrawBorders();
        if ((FFocusBorderColor != clNone && Focused()) || FBorderColor != clNone)
            DrawBorders();
        return;
    }
    TCustomComboBox::Dispatch(message);
}

void TAsgCustomCombo::WMPaint(TMessage& message) {
    const bool special = FFlat || ButtonColor != clNone || FBorderColor != clNone ||
                         (FFocusBorderColor != clNone && Focused()) ||
                         (!Enabled() && ThemesActive() && !FDisabledBorder);
    if ((FIsVista && ButtonColor == clNone) || !special) {
        TCustomComboBox::WMPaint(message);
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool begun = dc == nullptr;
    if (begun)
        dc = BeginPaint(Handle(), &ps);
    const bool leftToRight = BiDiMode() == bdLeftToRight;
    if (Style() != csSimple) {
        RECT client = ClientRect();
        FillRect(dc, &client, Brush()->Handle());
        if (leftToRight)
            DrawDropButton(dc);
    }
    PaintWindow(dc);
    if (begun)
        EndPaint(Handle(), &ps);
    if (leftToRight)
        DrawBorders();
}

void TAsgCustomCombo::DrawDropButton(HDC dc) {
    const TRect client = ClientRect();
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT r{client.Right - FButtonWidth + 2, 0, window.right - window.left, window.bottom - window.top};
    InflateRect(&r, -1, -1);
    if (ButtonColor != clNone) {
        const bool held = ComboMouseButtonHeld() && FButtonHover;
        PaintComboColourButton(dc, r,
                               held           ? ButtonColorDown
                               : FButtonHover ? ButtonColorHot
                                              : ButtonColor,
                               ButtonBorderColor, held ? ButtonTextColorDown : ButtonTextColor);
    } else if (ThemesActive()) {
        if (HTHEME theme = OpenThemeData(Handle(), u"combobox"); theme != nullptr) {
            DrawThemeBackground(
                theme, dc, CP_DROPDOWNBUTTON,
                ComboButtonThemeState(Enabled(), ComboMouseButtonHeld(), DroppedDown(), FButtonHover), &r,
                nullptr);
            CloseThemeData(theme);
        }
    } else {
        RECT arrow{r.left - 4, r.top + 1, r.right, r.bottom - 1};
        DrawFrameControl(dc, &arrow, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
    ExcludeClipRect(dc, client.Right - FButtonWidth - 4, 0, client.Right + 2, client.Bottom);
}

void TAsgCustomCombo::DrawBorders() {
    if (!HandleAllocated())
        return;
    if ((Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone) ||
        (FIsVista && FBorderColor == clNone))
        return;
    HDC dc = GetWindowDC(Handle());
    RECT window{};
    GetWindowRect(Handle(), &window);
    const RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    PaintComboFrame(dc, r,
                    {Enabled(), FIsThemed, FDisabledBorder, Focused(), IsHot(), FFlat, FBorderColor,
                     FFocusBorderColor, FFlatLineColor,
                     Parent() != nullptr ? Parent()->Brush()->Color() : clBtnFace, Color(), FButtonWidth,
                     Height()});
    if (Style() != csSimple && !(FIsWinXP && ThemesActive())) {
        // The button's surround.
        const TRect client = ClientRect();
        ExcludeClipRect(dc, client.Right - FButtonWidth + 4, 4, client.Right - 4, client.Bottom - 4);
        RECT area{client.Right - FButtonWidth - 2, 0, r.right, r.bottom};
        InflateRect(&area, -2, -2);
        if (!ButtonAreaActive()) {
            RECT face{area.left, area.top + 1, area.right - 1, area.bottom - 1};
            FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
        }
        ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
    }
    ReleaseDC(Handle(), dc);
}
