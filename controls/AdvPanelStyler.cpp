// Panel stylers: one named look pushed to every linked panel of the same owner, colour tones on stylers
// and panels, and the caption panel's link to its styler.
#include "controls/AdvPanel.h"

#include <array>
#include <optional>

#include "platform/framework/Controls.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"

using namespace AdvPanel;

namespace AdvPanel {

// A hidden window that reports visual-style changes.
class TThemeNotifierWindow : public TWinControl {
    DECLARE_CLASS(TThemeNotifierWindow, TWinControl)

public:
    using TWinControl::TWinControl;
    TNotifyEvent OnThemeChange;

protected:
    void WndProc(TMessage& message) override {
        if (message.Msg == WM_THEMECHANGED && OnThemeChange)
            OnThemeChange(this);
        TWinControl::WndProc(message);
    }
};

} // namespace AdvPanel

DEFINE_CLASS(AdvPanel::TThemeNotifierWindow)
DEFINE_CLASS(TAdvPanelStyler, PROPERTY(AutoThemeAdapt).Default(false), PROPERTY(Comments), PROPERTY(Settings),
             PROPERTY(Style).Default(psXP))

namespace {

// One row of the look table; an empty optional is a setting the style leaves alone.
struct TLookRow {
    TAdvPanelStyle style;
    // Body.
    TColor color, colorTo, mirror, mirrorTo;
    std::optional<TColor> fontColor;
    TColor borderColor;
    bool borderShadow;
    TPanelBevel bevelOuter;
    TColor collapsColor;
    // Caption.
    TColor captionColor, captionColorTo, captionFont;
    TGradientDirection captionDirection;
    // Status bar.
    TColor statusColor, statusColorTo;
    std::optional<TGradientDirection> statusDirection;
    TColor statusBorderColor;
    AdvPanel::TBorderStyle statusBorderStyle;
    bool statusBevelInner;
    TColor statusFont;
};

constexpr TColor C(unsigned value) {
    return static_cast<TColor>(value);
}
constexpr auto H = gdHorizontal;
constexpr auto V = gdVertical;
constexpr std::optional<TGradientDirection> Keep = std::nullopt;
constexpr std::optional<TColor> KeepFont = std::nullopt;
constexpr auto Single = AdvPanel::bsSingle;
constexpr auto NoBorder = AdvPanel::bsNone;

// clang-format off
const std::array<TLookRow, 23> LookTable{{
    {psXP, clWhite, C(0xE3F0F2), clNone, clNone, KeepFont, clGray, true, bvNone, clBtnFace,
     clHighlight, clBlue, clHighlightText, H, C(0xE3F0F2), clWhite, Keep, clSilver, Single, false, clBlack},
    {psFlat, clBtnFace, clNone, clNone, clNone, clWindowText, clGray, false, bvNone, clBtnFace,
     clHighlight, clNone, clHighlightText, H, clBtnFace, clNone, Keep, clSilver, Single, false, clBlack},
    {psQEL, clWhite, C(0xE4E4E4), clNone, clNone, clWindowText, clGray, true, bvNone, clBtnFace,
     clWhite, clNone, clBlack, H, C(0xDEDEDE), C(0xA9A9A9), Keep, clWhite, Single, false, clBlack},
    {psClassic, clBtnFace, clNone, clNone, clNone, clWindowText, clGray, false, bvRaised, clBtnFace,
     clWhite, clNone, clBlack, H, clBtnFace, clNone, Keep, clNone, NoBorder, true, clBlack},
    {psOffice2003Blue, C(0xFDEADA), C(0xE4AE88), clNone, clNone, clWindowText, clGray, false, bvNone, clNone,
     C(0xD68759), C(0x933803), clWhite, V, C(0xE08F65), C(0xF9DBC4), Keep, clNone, Single, false, clWhite},
    {psOffice2003Olive, C(0xCFF0EA), C(0x8CC0B1), clNone, clNone, clWindowText, clGray, false, bvNone, clNone,
     C(0xC6EFE7), C(0x94BDB5), clBlack, V, C(0x80B0A1), C(0xD3E4E3), Keep, clNone, Single, false, clBlack},
    {psOffice2003Silver, C(0xECE2E1), C(0xB39698), clNone, clNone, clWindowText, clGray, false, bvNone, clNone,
     C(0xEFE7E7), C(0xAA8888), clBlack, V, C(0xBFA8A9), C(0xDECFCF), Keep, clNone, Single, false, clBlack},
    {psOffice2003Classic, clWhite, C(0xC9D1D5), clNone, clNone, KeepFont, clGray, true, bvNone, clBtnFace,
     clHighlight, clBlue, clHighlightText, H, C(0xE3F0F2), clWhite, Keep, clSilver, Single, false, clBlack},
    {psOffice2007Luna, C(0xFAF1E9), C(0xEDD8C7), C(0xEDD8C7), C(0xFFF2E7), C(0x723708), C(0xFFD2AF), false,
     bvNone, clNone,
     C(0xFFEFE3), C(0xFFD2AF), clBlack, V, C(0xF7E3D3), C(0xF5D0B3), V, C(0xFFD2AF), Single, false, C(0x723708)},
    {psOffice2007Obsidian, C(0xCFC6C1), C(0xC5BBB4), C(0xC5BBB4), C(0xECECE5), C(0x723708), C(0xFFD2AF), false,
     bvNone, clNone,
     C(0xB8B8B6), C(0xA0A09E), clWhite, V, C(0xA19F9E), C(0x534D4B), V, clBlack, Single, false, clWhite},
    {psWhidbey, clWhite, C(0xE3F0F2), clNone, clNone, KeepFont, clGray, true, bvNone, clBtnFace,
     C(0xF3F7F8), C(0xACC3C3), clBlack, V, C(0xE3F0F2), clWhite, Keep, clSilver, Single, false, clBlack},
    {psWindowsXP, clBtnFace, clNone, clNone, clNone, clWindowText, clGray, false, bvRaised, clBtnFace,
     clHighlight, clNone, clHighlightText, H, clBtnFace, clNone, Keep, clNone, NoBorder, true, clBlack},
    {psOffice2007Silver, C(0xF9F5F3), C(0xE7DCD5), C(0xE7DCD5), C(0xFBFAF0), C(0x723708), C(0xFFD2AF), false,
     bvNone, clNone,
     C(0xF8F7F6), C(0xE8E0DB), clBlack, V, C(0xFAEEEB), C(0xE5DBD7), V, clBlack, Single, false, C(0x723708)},
    {psWindowsVista, C(0xFDF8F1), C(0xFCEFD5), clNone, clNone, C(0x723708), C(0xFDDE99), false, bvNone, clNone,
     C(0xFDF8F1), C(0xFCEFD5), clBlack, V, C(0xFDF8F1), C(0xFCEFD5), V, C(0xFDDE99), Single, false, C(0x723708)},
    {psWindows7, C(0xFDFBFA), C(0xFDF3EB), clNone, clNone, C(0x723708), C(0xFFD2AF), false, bvNone, clNone,
     C(0xFCEBDC), C(0xFCDBC1), clBlack, V, C(0xFCEBDC), C(0xFCDBC1), V, C(0xCEA27D), Single, false, C(0x723708)},
    {psTerminal, clBtnFace, clNone, clNone, clNone, clBlack, clGray, false, bvNone, clHighlight,
     clSilver, clNone, clBlack, V, clSilver, clNone, V, clBlack, Single, false, clBlack},
    {psOffice2010Blue, C(0xFDF6EF), C(0xF0DAC7), clNone, clNone, clBlack, C(0xC7B29F), false, bvNone, clNone,
     C(0xFDF6EF), C(0xF0DAC7), C(0x5B391E), V, C(0xFDF6EF), C(0xF0DAC7), V, C(0xFDF6EF), Single, false,
     C(0x5B391E)},
    {psOffice2010Silver, clWhite, C(0xEDE5E0), clNone, clNone, clBlack, C(0xD2CDC8), false, bvNone, clNone,
     clWhite, C(0xEDE5E0), C(0x5B391E), V, clWhite, C(0xEDE5E0), V, C(0xF7F3F0), Single, false, C(0x5B391E)},
    {psOffice2010Black, C(0xBFBFBF), C(0x919191), clNone, clNone, clBlack, C(0x6D6D6D), false, bvNone, clNone,
     C(0xBFBFBF), C(0x919191), C(0xD7D7D6), V, C(0xBFBFBF), C(0x919191), V, C(0xBFBFBF), Single, false,
     C(0xD7D7D6)},
    {psWindows8, clWhite, clNone, clNone, clNone, clBlack, clNone, false, bvNone, clNone,
     C(0xEEEEEE), clNone, clBlack, V, C(0xEEEEEE), clNone, V, clNone, Single, false, clBlack},
    {psOffice2013White, clWhite, clNone, clNone, clNone, clBlack, clNone, false, bvNone, clNone,
     C(0xEEEEEE), clNone, clBlack, V, C(0xEEEEEE), clNone, V, clNone, Single, false, clBlack},
    {psOffice2013LightGray, clWhite, clNone, clNone, clNone, clBlack, clNone, false, bvNone, clNone,
     C(0xF6F6F6), clNone, clBlack, V, C(0xF6F6F6), clNone, V, clNone, Single, false, clBlack},
    {psOffice2013Gray, clWhite, clNone, clNone, clNone, clBlack, clNone, false, bvNone, clNone,
     C(0xE5E5E5), clNone, clBlack, V, C(0xE5E5E5), clNone, V, clNone, Single, false, clBlack},
}};
// clang-format on

const TLookRow* FindLook(TAdvPanelStyle style) {
    for (const TLookRow& row : LookTable)
        if (row.style == style)
            return &row;
    return nullptr;
}

// Writes a style's look into settings (psCustom writes nothing).
void WriteLook(TAdvPanelSettings* settings, TAdvPanelStyle style) {
    const TLookRow* row = FindLook(style);
    if (row == nullptr)
        return;
    TPanelCaption* caption = settings->Caption();
    TPanelStatusBar* status = settings->StatusBar();

    settings->SetColorMirror(row->mirror);
    settings->SetColorMirrorTo(row->mirrorTo);
    caption->SetShadeType(style == psQEL ? stRMetal : stNormal);
    settings->SetBevelInner(bvNone);
    settings->SetBorderStyle(AdvPanel::bsNone);
    if (style != psXP && style != psFlat && style != psOffice2003Classic && style != psWhidbey) {
        caption->SetShadeGrain(32);
        caption->SetShadeLight(255);
    }
    switch (style) {
    case psXP:
    case psOffice2003Classic:
    case psWhidbey:
        caption->SetHeight(20);
        caption->SetIndent(2);
        break;
    case psFlat:
        caption->SetHeight(20);
        caption->SetIndent(0);
        break;
    case psQEL:
        caption->SetIndent(4);
        caption->SetVisible(true);
        caption->SetHeight(20);
        break;
    case psClassic:
    case psWindowsXP:
        caption->SetVisible(false);
        break;
    default:
        break;
    }

    settings->SetColor(row->color);
    settings->SetColorTo(row->colorTo);
    if (row->fontColor)
        settings->Font()->SetColor(*row->fontColor);
    settings->SetBorderColor(row->borderColor);
    settings->SetBorderShadow(row->borderShadow);
    settings->SetBevelOuter(row->bevelOuter);
    settings->SetCollapsColor(row->collapsColor);

    caption->SetColor(row->captionColor);
    caption->SetColorTo(row->captionColorTo);
    caption->Font()->SetColor(row->captionFont);
    caption->SetGradientDirection(row->captionDirection);

    status->SetColor(row->statusColor);
    status->SetColorTo(row->statusColorTo);
    if (row->statusDirection)
        status->SetGradientDirection(*row->statusDirection);
    status->SetBorderColor(row->statusBorderColor);
    status->SetBorderStyle(row->statusBorderStyle);
    status->SetBevelInner(row->statusBevelInner);
    status->Font()->SetColor(row->statusFont);
}

void SetNoBorder(TAdvPanelSettings* settings) {
    settings->SetBorderStyle(AdvPanel::bsNone);
}

void SetNoBorder(TCustomAdvPanel* panel) {
    panel->SetBorderStyle(::bsNone);
}

// The colour tones' look, on a settings object or straight on a panel.
template <class Target> void WriteTones(Target* target, const TColorTones& tones) {
    const String font = DefaultFontName();
    TPanelCaption* caption = target->Caption();
    caption->SetColor(tones.Selected.BrushColor);
    caption->SetColorTo(clNone);
    caption->Font()->SetName(font);
    caption->Font()->SetColor(tones.Selected.TextColor);
    caption->SetFlat(true);
    caption->SetShadeType(stNormal);
    caption->SetCloseColor(tones.Selected.BrushColor);
    target->SetColor(tones.Background.BrushColor);
    target->SetColorTo(clNone);
    target->Font()->SetName(font);
    target->Font()->SetColor(tones.Background.TextColor);
    target->SetBevelInner(bvNone);
    target->SetBevelOuter(bvNone);
    SetNoBorder(target);
    TPanelStatusBar* status = target->StatusBar();
    status->Font()->SetName(font);
    status->Font()->SetColor(tones.Foreground.TextColor);
    status->SetColor(tones.Foreground.BrushColor);
    status->SetColorTo(clNone);
}

// The nearest owner up the chain that is a windowed control.
TWinControl* WindowedOwner(TComponent* owner) {
    for (TComponent* c = owner; c != nullptr; c = c->Owner())
        if (auto* windowed = dynamic_cast<TWinControl*>(c))
            return windowed;
    return nullptr;
}

} // namespace

// ---- The caption panel's side ----

void TCustomAdvPanel::SetStyler(TAdvPanelStyler* value) {
    if (FStyler != nullptr && FStyler != value)
        FStyler->RemoveFreeNotification(this);
    FStyler = value;
    if (value == nullptr)
        return;
    value->FreeNotification(this);
    if (!Loading())
        ApplyPanelSettings(value->Settings());
}

void TCustomAdvPanel::SetColorTones(TColorTones ATones) {
    WriteTones(this, ATones);
    SetOptimizePaint(true);
}

// ---- The styler ----

TAdvPanelStyler::TAdvPanelStyler(TComponent* owner)
    : TComponent(owner), FSettings(std::make_unique<TAdvPanelSettings>()) {
    FNotifierWnd = new AdvPanel::TThemeNotifierWindow(this);
    if (TWinControl* parent = WindowedOwner(owner))
        FNotifierWnd->SetParent(parent);
    FNotifierWnd->OnThemeChange = [this](TObject*) { ThemeChanged(); };
    FSettings->OnChange = [this](TObject*) { ApplyToPanels(); };
    SetStyle(psXP);
    FAutoThemeAdapt = false;
}

TAdvPanelStyler::~TAdvPanelStyler() {
    FSettings.reset();
}

void TAdvPanelStyler::Loaded() {
    TComponent::Loaded();
    if (!ComponentState().Contains(csDesigning))
        ThemeChanged();
    ApplyToPanels();
}

void TAdvPanelStyler::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TAdvPanelStyler*>(source);
    if (other == nullptr)
        return;
    FAutoThemeAdapt = other->FAutoThemeAdapt;
    FSettings->Assign(other->FSettings.get());
    FComments = other->FComments;
    SetStyle(other->FStyle);
}

void TAdvPanelStyler::SetStyle(TAdvPanelStyle value) {
    FStyle = value;
    FSettings->BeginUpdate();
    WriteLook(FSettings.get(), value);
    FSettings->EndUpdate();
}

void TAdvPanelStyler::ApplyToPanels() {
    if (ComponentState().Contains(csLoading) || FSettings == nullptr)
        return;
    TComponent* owner = Owner();
    if (owner == nullptr)
        return;
    for (Integer i = 0; i < owner->ComponentCount(); ++i)
        if (auto* panel = dynamic_cast<TCustomAdvPanel*>(owner->Components(i)))
            if (panel->Styler() == this)
                panel->ApplyPanelSettings(FSettings.get());
}

void TAdvPanelStyler::ThemeChanged() {
    if (!FAutoThemeAdapt)
        return;
    switch (DetectXPColorScheme()) {
    case 1:
        SetStyle(psOffice2003Blue);
        break;
    case 2:
        SetStyle(psOffice2003Olive);
        break;
    case 3:
        SetStyle(psOffice2003Silver);
        break;
    default:
        SetStyle(psOffice2003Classic);
        break;
    }
}

void TAdvPanelStyler::SetComponentStyle(TQELStyle AStyle) {
    static constexpr std::array<TAdvPanelStyle, 20> ByLook{
        psOffice2003Blue, psOffice2003Silver,   psOffice2003Olive,     psOffice2003Classic,
        psOffice2007Luna, psOffice2007Obsidian, psWindowsXP,           psWhidbey,
        psCustom,         psOffice2007Silver,   psWindowsVista,        psWindows7,
        psTerminal,       psOffice2010Blue,     psOffice2010Silver,    psOffice2010Black,
        psWindows8,       psOffice2013White,    psOffice2013LightGray, psOffice2013Gray};
    if (AStyle == tsCustom || AStyle >= ByLook.size())
        return;
    SetStyle(ByLook[AStyle]);
}

void TAdvPanelStyler::SetColorTones(TColorTones ATones) {
    SetStyle(psCustom);
    FSettings->BeginUpdate();
    WriteTones(FSettings.get(), ATones);
    FSettings->EndUpdate();
}
