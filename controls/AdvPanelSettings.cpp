// The caption panel's settings objects (caption bar, status bar, automatic sizing, stored position and a
// whole look), how a look is applied to a panel, and how a panel stores its position.
#include "controls/AdvPanel.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Registry.h"

using namespace AdvPanel;

namespace {
[[noreturn]] void InvalidCast() {
    throw EInvalidCast(Consts::SInvalidCast);
}
} // namespace

// Color and ColorTo declare each other's initial value as their stream default, so a stored caption
// always carries both; the console's form descriptions are written that way.
DEFINE_CLASS(TPanelCaption, PROPERTY(Background), PROPERTY(ButtonPosition).Default(cbpRight),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clHighlight),
             PROPERTY(CloseButton).Default(false),
             PROPERTY(CloseButtonColor).Type(TypeInfoColor()).Default(clWhite),
             PROPERTY(CloseButtonHoverColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(CloseColor).Type(TypeInfoColor()).Default(clBtnFace), PROPERTY(CloseMinGlyph),
             PROPERTY(CloseMaxGlyph), PROPERTY(Flat).Default(false), PROPERTY(Font),
             PROPERTY(GradientDirection).Default(gdHorizontal), PROPERTY(Height).Default(20),
             PROPERTY(Indent).Default(0), PROPERTY(MaxGlyph), PROPERTY(MinGlyph),
             PROPERTY(MinMaxButton).Default(false),
             PROPERTY(MinMaxButtonColor).Type(TypeInfoColor()).Default(clWhite),
             PROPERTY(MinMaxButtonHoverColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(MinMaxCaption).Default(false), PROPERTY(OfficeHint), PROPERTY(Position).Default(cpTop),
             PROPERTY(ShadeGrain).Default(32), PROPERTY(ShadeLight).Default(200),
             PROPERTY(ShadeType).Default(stNormal), PROPERTY(Shape).Default(csRectangle), PROPERTY(Text),
             PROPERTY(TopIndent).Default(0), PROPERTY(Visible).Default(false), EVENT(OnChange),
             EVENT(OnStateChange), EVENT(OnShadeChange), EVENT(OnPositionChange), EVENT(OnFontChange))
DEFINE_CLASS(TPanelStatusBar, PROPERTY(BevelInner).Default(false),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(BorderStyle).Default(AdvPanel::bsNone),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clNone), PROPERTY(Font),
             PROPERTY(GradientDirection).Default(gdHorizontal), PROPERTY(Height).Default(18),
             PROPERTY(ImageIndex).Default(-1), PROPERTY(Text), PROPERTY(TopIndent).Default(0),
             PROPERTY(Visible).Default(false), EVENT(OnChange))
DEFINE_CLASS(TAutoSize, PROPERTY(Enabled).Default(false), PROPERTY(Height).Default(true),
             PROPERTY(Width).Default(true))
DEFINE_CLASS(TPanelPosition, PROPERTY(Save).Default(false), PROPERTY(Key), PROPERTY(Section),
             PROPERTY(Location).Default(clRegistry))
DEFINE_CLASS(TAdvPanelSettings, PROPERTY(AnchorHint).Default(false), PROPERTY(AutoHideChildren).Default(true),
             PROPERTY(BevelInner).Default(bvNone), PROPERTY(BevelOuter).Default(bvNone),
             PROPERTY(BevelWidth).Default(1), PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(BorderShadow).Default(false), PROPERTY(BorderStyle).Default(AdvPanel::bsSingle),
             PROPERTY(BorderWidth).Default(0), PROPERTY(CanMove).Default(false),
             PROPERTY(CanSize).Default(false), PROPERTY(Caption), PROPERTY(Collaps).Default(false),
             PROPERTY(CollapsColor).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(CollapsDelay).Default(0), PROPERTY(CollapsSteps).Default(0),
             PROPERTY(Color).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorMirror).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorMirrorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(Cursor).Type(TypeInfoCursor()).Default(crDefault), PROPERTY(FixedTop).Default(false),
             PROPERTY(FixedLeft).Default(false), PROPERTY(FixedHeight).Default(false),
             PROPERTY(FixedWidth).Default(false), PROPERTY(Font), PROPERTY(Height).Default(120),
             PROPERTY(Hint), PROPERTY(Hover).Default(false),
             PROPERTY(HoverColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(HoverFontColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(Indent).Default(0),
             PROPERTY(ShadowColor).Type(TypeInfoColor()).Default(clBlack), PROPERTY(ShadowOffset).Default(0),
             PROPERTY(ShowHint).Default(false), PROPERTY(ShowMoveCursor).Default(false), PROPERTY(StatusBar),
             PROPERTY(Text), PROPERTY(TextVAlign).Default(tvaTop), PROPERTY(TopIndent).Default(0),
             PROPERTY(URLColor).Type(TypeInfoColor()).Default(clBlue), PROPERTY(Width).Default(0),
             EVENT(OnChange))

// ---- TPanelCaption ----

TPanelCaption::TPanelCaption()
    : FFont(std::make_unique<TFont>()), FMinGlyph(std::make_unique<TBitmap>()),
      FCloseMinGlyph(std::make_unique<TBitmap>()), FCloseMaxGlyph(std::make_unique<TBitmap>()),
      FMaxGlyph(std::make_unique<TBitmap>()), FBackground(std::make_unique<TBitmap>()),
      FOfficeHint(std::make_unique<TAdvHintInfo>()) {
    FFont->SetColor(clHighlightText);
    // A change made inside the font object tells only the font listener.
    FFont->OnChange = [this](TObject*) {
        if (OnFontChange)
            OnFontChange(this);
    };
}

TPanelCaption::~TPanelCaption() = default;

void TPanelCaption::Changed() {
    if (OnChange)
        OnChange(this);
}

void TPanelCaption::ShadeChanged() {
    if (OnShadeChange)
        OnShadeChange(this);
    Changed();
}

void TPanelCaption::FontChanged() {
    if (OnFontChange)
        OnFontChange(this);
    Changed();
}

void TPanelCaption::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TPanelCaption*>(source);
    if (other == nullptr)
        InvalidCast();
    SetBackground(other->FBackground.get());
    SetButtonPosition(other->FbuttonPosition);
    SetColor(other->FColor);
    SetColorTo(other->FColorTo);
    SetCloseColor(other->FCloseColor);
    SetCloseButton(other->FCloseButton);
    SetCloseButtonColor(other->FCloseButtonColor);
    SetCloseButtonHoverColor(other->FCloseButtonHoverColor);
    SetCloseMinGlyph(other->FCloseMinGlyph.get());
    SetCloseMaxGlyph(other->FCloseMaxGlyph.get());
    SetFlat(other->FFlat);
    SetFont(other->FFont.get());
    SetHeight(other->FHeight);
    SetIndent(other->FIndent);
    SetMaxGlyph(other->FMaxGlyph.get());
    SetMinGlyph(other->FMinGlyph.get());
    SetMinMaxButton(other->FMinMaxButton);
    SetMinMaxButtonColor(other->FMinMaxButtonColor);
    SetMinMaxButtonHoverColor(other->FMinMaxButtonHoverColor);
    SetShadeLight(other->FShadeLight);
    SetShadeGrain(other->FShadeGrain);
    SetShadeType(other->FShadeType);
    SetShape(other->FShape);
    SetGradientDirection(other->FGradientDirection);
}

void TPanelCaption::SetHeight(Integer value) {
    if (FHeight == value)
        return;
    FHeight = value;
    Changed();
}

void TPanelCaption::SetText(const String& value) {
    FText = value;
    Changed();
}

void TPanelCaption::SetColor(TColor value) {
    if (FColor == value)
        return;
    FColor = value;
    ShadeChanged();
}

void TPanelCaption::SetFont(TFont* value) {
    // Copying fires the font's own notification; the owner hears of it once, with the change after.
    TNotifyEvent inner = std::move(FFont->OnChange);
    FFont->OnChange = nullptr;
    FFont->Assign(value);
    FFont->OnChange = std::move(inner);
    FontChanged();
}

void TPanelCaption::SetVisible(bool value) {
    FVisible = value;
    Changed();
    if (OnStateChange)
        OnStateChange(this);
}

void TPanelCaption::SetCloseButton(bool value) {
    if (FCloseButton == value)
        return;
    FCloseButton = value;
    Changed();
}

void TPanelCaption::SetMinMaxButton(bool value) {
    if (FMinMaxButton == value)
        return;
    FMinMaxButton = value;
    Changed();
}

void TPanelCaption::SetMinMaxButtonColor(TColor value) {
    if (FMinMaxButtonColor == value)
        return;
    FMinMaxButtonColor = value;
    Changed();
}

void TPanelCaption::SetCloseButtonColor(TColor value) {
    if (FCloseButtonColor == value)
        return;
    FCloseButtonColor = value;
    Changed();
}

void TPanelCaption::SetCloseMinGlyph(TBitmap* value) {
    FCloseMinGlyph->Assign(value);
    Changed();
}

void TPanelCaption::SetCloseMaxGlyph(TBitmap* value) {
    FCloseMaxGlyph->Assign(value);
    Changed();
}

void TPanelCaption::SetCloseColor(TColor value) {
    if (FCloseColor == value)
        return;
    FCloseColor = value;
    Changed();
}

void TPanelCaption::SetShadeLight(Integer value) {
    FShadeLight = value < 200 ? 200 : value;
    ShadeChanged();
}

void TPanelCaption::SetShadeGrain(Byte value) {
    FShadeGrain = value;
    ShadeChanged();
}

void TPanelCaption::SetShadeType(TShadeType value) {
    FShadeType = value;
    ShadeChanged();
}

void TPanelCaption::SetShape(TCaptionShape value) {
    FShape = value;
    ShadeChanged();
}

void TPanelCaption::SetFlat(bool value) {
    FFlat = value;
    ShadeChanged();
}

void TPanelCaption::SetBackground(TBitmap* value) {
    FBackground->Assign(value);
    ShadeChanged();
}

void TPanelCaption::SetIndent(Integer value) {
    if (FIndent == value)
        return;
    FIndent = value;
    Changed();
}

void TPanelCaption::SetTopIndent(Integer value) {
    if (FTop == value)
        return;
    FTop = value;
    Changed();
}

void TPanelCaption::SetColorTo(TColor value) {
    FColorTo = value;
    Changed();
}

void TPanelCaption::SetPosition(TCaptionPosition value) {
    if (FPosition == value)
        return;
    FPosition = value;
    if (OnPositionChange)
        OnPositionChange(this);
}

void TPanelCaption::SetGradientDirection(TGradientDirection value) {
    FGradientDirection = value;
    Changed();
}

// ---- TPanelStatusBar ----

TPanelStatusBar::TPanelStatusBar() : FFont(std::make_unique<TFont>()) {
    FFont->SetName(u"Tahoma");
    FFont->OnChange = [this](TObject*) { Changed(); };
}

TPanelStatusBar::~TPanelStatusBar() = default;

void TPanelStatusBar::Changed() {
    if (OnChange)
        OnChange(this);
}

void TPanelStatusBar::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TPanelStatusBar*>(source);
    if (other == nullptr)
        return;
    FColor = other->FColor;
    FColorTo = other->FColorTo;
    FGradientDirection = other->FGradientDirection;
    FBorderStyle = other->FBorderStyle;
    FBorderColor = other->FBorderColor;
    FFont->Assign(other->FFont.get());
    FTopIndent = other->FTopIndent;
}

#define ZELMOR_STATUS_SETTER(Type, Name)                                                                     \
    void TPanelStatusBar::Set##Name(Type value) {                                                            \
        if (F##Name == value)                                                                                \
            return;                                                                                          \
        F##Name = value;                                                                                     \
        Changed();                                                                                           \
    }
ZELMOR_STATUS_SETTER(Integer, ImageIndex)
ZELMOR_STATUS_SETTER(const String&, Text)
ZELMOR_STATUS_SETTER(TColor, Color)
ZELMOR_STATUS_SETTER(TColor, ColorTo)
ZELMOR_STATUS_SETTER(TGradientDirection, GradientDirection)
ZELMOR_STATUS_SETTER(bool, Visible)
ZELMOR_STATUS_SETTER(Integer, Height)
ZELMOR_STATUS_SETTER(bool, BevelInner)
ZELMOR_STATUS_SETTER(AdvPanel::TBorderStyle, BorderStyle)
ZELMOR_STATUS_SETTER(TColor, BorderColor)
ZELMOR_STATUS_SETTER(Integer, TopIndent)
#undef ZELMOR_STATUS_SETTER

// ---- TAutoSize and TPanelPosition ----

void TAutoSize::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TAutoSize*>(source);
    if (other == nullptr)
        InvalidCast();
    SetEnabled(other->FEnabled);
    FHeight = other->FHeight;
    FWidth = other->FWidth;
}

void TAutoSize::SetEnabled(bool value) {
    FEnabled = value;
    if (value && FOwner != nullptr)
        FOwner->DoAutoSize();
}

void TPanelPosition::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TPanelPosition*>(source);
    if (other == nullptr)
        InvalidCast();
    FKey = other->FKey;
    FSection = other->FSection;
    FSave = other->FSave;
    FLocation = other->FLocation;
}

// ---- TAdvPanelSettings ----

TAdvPanelSettings::TAdvPanelSettings()
    : FFont(std::make_unique<TFont>()), FCaption(std::make_unique<TPanelCaption>()),
      FStatusBar(std::make_unique<TPanelStatusBar>()) {
    FCaption->OnChange = [this](TObject*) { Changed(); };
}

TAdvPanelSettings::~TAdvPanelSettings() = default;

void TAdvPanelSettings::Changed() {
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

void TAdvPanelSettings::EndUpdate() {
    if (FUpdateCount <= 0)
        return;
    if (--FUpdateCount == 0)
        Changed();
}

void TAdvPanelSettings::SetColorTo(TColor value) {
    if (FColorTo == value)
        return;
    FColorTo = value;
    Changed();
}

void TAdvPanelSettings::SetColorMirror(TColor value) {
    if (FColorMirror == value)
        return;
    FColorMirror = value;
    Changed();
}

void TAdvPanelSettings::SetColorMirrorTo(TColor value) {
    if (FColorMirrorTo == value)
        return;
    FColorMirrorTo = value;
    Changed();
}

void TAdvPanelSettings::SetFont(TFont* value) {
    FFont->Assign(value);
    Changed();
}

void TAdvPanelSettings::SetCaption(TPanelCaption* value) {
    FCaption->Assign(value);
    Changed();
}

void TAdvPanelSettings::SetStatusBar(TPanelStatusBar* value) {
    FStatusBar->Assign(value);
    Changed();
}

void TAdvPanelSettings::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TAdvPanelSettings*>(source);
    if (other == nullptr)
        return;
    FFixedHeight = other->FFixedHeight;
    FCanMove = other->FCanMove;
    FFixedWidth = other->FFixedWidth;
    FHover = other->FHover;
    FAutoHideChildren = other->FAutoHideChildren;
    FAnchorHint = other->FAnchorHint;
    FFixedLeft = other->FFixedLeft;
    FCanSize = other->FCanSize;
    FShowHint = other->FShowHint;
    FFixedTop = other->FFixedTop;
    FCollaps = other->FCollaps;
    FShowMoveCursor = other->FShowMoveCursor;
    FCollapsDelay = other->FCollapsDelay;
    FBevelWidth = other->FBevelWidth;
    FCollapsSteps = other->FCollapsSteps;
    FHeight = other->FHeight;
    FShadowOffset = other->FShadowOffset;
    FText = other->FText;
    FHint = other->FHint;
    FBevelOuter = other->FBevelOuter;
    FBevelInner = other->FBevelInner;
    FHoverColor = other->FHoverColor;
    FCollapsColor = other->FCollapsColor;
    FBorderColor = other->FBorderColor;
    FHoverFontColor = other->FHoverFontColor;
    FShadowColor = other->FShadowColor;
    FColor = other->FColor;
    FColorTo = other->FColorTo;
    FColorMirror = other->FColorMirror;
    FColorMirrorTo = other->FColorMirrorTo;
    FURLColor = other->FURLColor;
    FFont->Assign(other->FFont.get());
    FCaption->Assign(other->FCaption.get());
    FTextVAlign = other->FTextVAlign;
    FBorderStyle = other->FBorderStyle;
    FCursor = other->FCursor;
    FBorderShadow = other->FBorderShadow;
    FIndent = other->FIndent;
    FTopIndent = other->FTopIndent;
    FWidth = other->FWidth;
    FBorderWidth = other->FBorderWidth;
    FStatusBar->Assign(other->FStatusBar.get());
}

// ---- Applying a look to a panel ----

void TCustomAdvPanel::ApplyPanelSettings(TAdvPanelSettings* settings) {
    if (settings == nullptr)
        return;
    SetAnchorHint(settings->AnchorHint());
    SetAutoHideChildren(settings->AutoHideChildren());
    SetBevelInner(settings->BevelInner());
    SetBevelOuter(settings->BevelOuter());
    SetBevelWidth(settings->BevelWidth());
    SetBorderColor(settings->BorderColor());
    SetBorderShadow(settings->BorderShadow());
    SetBorderStyle(settings->BorderStyle() == AdvPanel::bsSingle ? ::bsSingle : ::bsNone);
    SetBorderWidth(settings->BorderWidth());
    SetCanMove(settings->CanMove());
    SetCanSize(settings->CanSize());
    // A look never changes which caption buttons the panel shows.
    bool closeButton = FCaption->CloseButton();
    bool minMaxButton = FCaption->MinMaxButton();
    FCaption->Assign(settings->Caption());
    FCaption->SetCloseButton(closeButton);
    FCaption->SetMinMaxButton(minMaxButton);
    SetCollapsColor(settings->CollapsColor());
    SetCollapsDelay(settings->CollapsDelay());
    SetCollapsSteps(settings->CollapsSteps());
    SetColor(settings->Color());
    SetColorTo(settings->ColorTo());
    SetColorMirror(settings->ColorMirror());
    SetColorMirrorTo(settings->ColorMirrorTo());
    SetCursor(settings->Cursor());
    if (ParentFont())
        FCaption->Font()->Assign(Font());
    else
        Font()->Assign(settings->Font());
    SetFixedTop(settings->FixedTop());
    SetFixedLeft(settings->FixedLeft());
    SetFixedHeight(settings->FixedHeight());
    SetFixedWidth(settings->FixedWidth());
    SetHover(settings->Hover());
    SetHoverColor(settings->HoverColor());
    SetHoverFontColor(settings->HoverFontColor());
    SetIndent(settings->Indent());
    SetShadowColor(settings->ShadowColor());
    SetShadowOffset(settings->ShadowOffset());
    SetShowMoveCursor(settings->ShowMoveCursor());
    FStatusBar->Assign(settings->StatusBar());
    SetTextVAlign(settings->TextVAlign());
    SetTopIndent(settings->TopIndent());
    SetURLColor(settings->URLColor());
}

void TCustomAdvPanel::AssignSettings(TAdvPanelSettings* settings) {
    if (settings == nullptr)
        return;
    ApplyPanelSettings(settings);
    SetHeight(settings->Height());
    SetWidth(settings->Width());
    SetHint(settings->Hint());
}

// ---- Stored positions ----

namespace {
std::unique_ptr<TCustomIniFile> OpenPositionStore(TPanelPosition* position) {
    if (position->Location() == clInifile)
        return std::make_unique<TIniFile>(position->Key());
    return std::make_unique<TRegistryIniFile>(position->Key());
}
} // namespace

void TCustomAdvPanel::SavePosition() {
    if (Designing() || FPosition->Key().empty() || FPosition->Section().empty())
        return;
    std::unique_ptr<TCustomIniFile> store = OpenPositionStore(FPosition.get());
    const String& section = FPosition->Section();
    store->WriteInteger(section, u"Top", Top());
    store->WriteInteger(section, u"Left", Left());
    store->WriteInteger(section, u"Height", Height());
    store->WriteInteger(section, u"FullHeight", FFullHeight);
    store->WriteInteger(section, u"Width", Width());
    store->WriteInteger(section, u"Collaps", FCollaps ? 1 : 0);
}

void TCustomAdvPanel::LoadPosition() {
    if (Designing() || FPosition->Key().empty() || FPosition->Section().empty())
        return;
    std::unique_ptr<TCustomIniFile> store = OpenPositionStore(FPosition.get());
    const String& section = FPosition->Section();
    SetTop(store->ReadInteger(section, u"Top", Top()));
    SetLeft(store->ReadInteger(section, u"Left", Left()));
    SetHeight(store->ReadInteger(section, u"Height", Height()));
    SetWidth(store->ReadInteger(section, u"Width", Width()));
    SetCollaps(store->ReadInteger(section, u"Collaps", 0) == 1);
    FFullHeight = store->ReadInteger(section, u"FullHeight", Height());
}
