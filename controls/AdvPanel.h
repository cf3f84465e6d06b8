// The caption panel's types that other styled controls share.
#pragma once

#include "platform/rtl/TypeInfo.h"

// Vertical place of a glyph or text within its control.
ZELMOR_ENUM(TTextVAlignment, tvaTop, tvaCenter, tvaBottom)

// ---- The caption panel ----
// A container with a caption bar (collapse and close buttons, mini-HTML text), an optional status bar,
// a gradient or picture body with mini-HTML text and links, moving and sizing by the user and stored
// positions. Painting of the body lives in AdvPanel.cpp, the caption and status bars in
// AdvPanelCaption.cpp, input and collapsing in AdvPanelInput.cpp, the settings objects and positions in
// AdvPanelSettings.cpp.

#include <memory>
#include <vector>

#include "platform/framework/ExtCtrls.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/StdScroll.h"
#include "platform/rtl/Classes.h"
#include "render/AdvHintInfo.h"
#include "render/AdvImage.h"
#include "render/AdvStyleIF.h"
#include "render/PictureContainer.h"

namespace AdvPanel {
// The panel's own gradient direction: vertical first, unlike the drop-down editors'.
ZELMOR_ENUM(TGradientDirection, gdVertical, gdHorizontal)
// The side of the panel that holds the caption bar.
ZELMOR_ENUM(TCaptionPosition, cpTop, cpLeft, cpRight)
// The end of the caption bar that holds its buttons.
ZELMOR_ENUM(TCaptionButtonPosition, cbpRight, cbpLeft)
ZELMOR_ENUM(TBorderStyle, bsNone, bsSingle)
ZELMOR_ENUM(TShadeType, stNormal, stNoise, stDiagShade, stHShade, stVShade, stHBump, stVBump, stSoftBump,
            stHardBump, stLMetal, stRMetal, stIRadial, stORadial, stHShadeInv, stVShadeInv, stXPCaption,
            stBitmap, stBitmapLStretch, stBitmapRStretch)
ZELMOR_ENUM(TCaptionShape, csRectangle, csRounded, csSemiRounded)
ZELMOR_ENUM(TBackGroundPosition, bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpTiled, bpStretched,
            bpCenter)
ZELMOR_ENUM(TPanelPositionLocation, clRegistry, clInifile)
// How a panel group stacks its panels: top to bottom in columns, or side by side.
ZELMOR_ENUM(TGroupStyle, gsVertical, gsHorizontal)
// The named looks of a panel styler.
ZELMOR_ENUM(TAdvPanelStyle, psXP, psFlat, psQEL, psClassic, psOffice2003Blue, psOffice2003Olive,
            psOffice2003Silver, psOffice2003Classic, psOffice2007Luna, psOffice2007Obsidian, psWhidbey,
            psWindowsXP, psCustom, psOffice2007Silver, psWindowsVista, psWindows7, psTerminal,
            psOffice2010Blue, psOffice2010Silver, psOffice2010Black, psWindows8, psOffice2013White,
            psOffice2013LightGray, psOffice2013Gray)

using TAnchorEvent = std::function<void(TObject* Sender, const String& Anchor)>;
// The handler may change the anchor that the hint shows.
using TAnchorHintEvent = std::function<void(TObject* Sender, String& Anchor)>;
using TPaintEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;
} // namespace AdvPanel

class TCustomAdvPanel;
class TAdvPanelStyler;
class TAdvPanelGroup;

// The caption bar's settings.
class TPanelCaption : public TPersistent {
    DECLARE_CLASS(TPanelCaption, TPersistent)

public:
    TPanelCaption();
    ~TPanelCaption() override;
    // Copies the look (not Text, Visible, Position, TopIndent, MinMaxCaption or OfficeHint); any other
    // source raises the framework's invalid cast.
    void Assign(TPersistent* source) override;

    Integer Height() const { return FHeight; }
    void SetHeight(Integer value);
    const String& Text() const { return FText; }
    // Always notifies, so setting the same text again still repaints the panel.
    void SetText(const String& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value);
    bool MinMaxButton() const { return FMinMaxButton; }
    void SetMinMaxButton(bool value);
    TColor MinMaxButtonColor() const { return FMinMaxButtonColor; }
    void SetMinMaxButtonColor(TColor value);
    TColor CloseButtonColor() const { return FCloseButtonColor; }
    void SetCloseButtonColor(TColor value);
    TBitmap* MinGlyph() const { return FMinGlyph.get(); }
    void SetMinGlyph(TBitmap* value) { FMinGlyph->Assign(value); }
    TBitmap* CloseMinGlyph() const { return FCloseMinGlyph.get(); }
    void SetCloseMinGlyph(TBitmap* value);
    TBitmap* CloseMaxGlyph() const { return FCloseMaxGlyph.get(); }
    void SetCloseMaxGlyph(TBitmap* value);
    TBitmap* MaxGlyph() const { return FMaxGlyph.get(); }
    void SetMaxGlyph(TBitmap* value) { FMaxGlyph->Assign(value); }
    TColor CloseColor() const { return FCloseColor; }
    void SetCloseColor(TColor value);
    // Values below 200 are stored as 200.
    Integer ShadeLight() const { return FShadeLight; }
    void SetShadeLight(Integer value);
    Byte ShadeGrain() const { return FShadeGrain; }
    void SetShadeGrain(Byte value);
    AdvPanel::TShadeType ShadeType() const { return FShadeType; }
    void SetShadeType(AdvPanel::TShadeType value);
    AdvPanel::TCaptionShape Shape() const { return FShape; }
    void SetShape(AdvPanel::TCaptionShape value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TBitmap* Background() const { return FBackground.get(); }
    void SetBackground(TBitmap* value);
    Integer Indent() const { return FIndent; }
    void SetIndent(Integer value);
    Integer TopIndent() const { return FTop; }
    void SetTopIndent(Integer value);
    AdvPanel::TCaptionButtonPosition ButtonPosition() const { return FbuttonPosition; }
    void SetButtonPosition(AdvPanel::TCaptionButtonPosition value) { FbuttonPosition = value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    AdvPanel::TCaptionPosition Position() const { return FPosition; }
    void SetPosition(AdvPanel::TCaptionPosition value);
    bool MinMaxCaption() const { return FMinMaxCaption; }
    void SetMinMaxCaption(bool value) { FMinMaxCaption = value; }
    TColor CloseButtonHoverColor() const { return FCloseButtonHoverColor; }
    void SetCloseButtonHoverColor(TColor value) { FCloseButtonHoverColor = value; }
    TColor MinMaxButtonHoverColor() const { return FMinMaxButtonHoverColor; }
    void SetMinMaxButtonHoverColor(TColor value) { FMinMaxButtonHoverColor = value; }
    AdvPanel::TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(AdvPanel::TGradientDirection value);
    TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TAdvHintInfo* value) { FOfficeHint->Assign(value); }

    TNotifyEvent OnChange;
    TNotifyEvent OnShadeChange;
    TNotifyEvent OnStateChange;
    TNotifyEvent OnPositionChange;
    TNotifyEvent OnFontChange;

private:
    friend class TCustomAdvPanel;
    void Changed();
    void ShadeChanged();
    void FontChanged();

    Integer FHeight = 20;
    String FText;
    TColor FColor = clHighlight;
    std::unique_ptr<TFont> FFont;
    bool FVisible = false;
    bool FCloseButton = false;
    bool FMinMaxButton = false;
    TColor FMinMaxButtonColor = clWhite;
    TColor FCloseButtonColor = clWhite;
    std::unique_ptr<TBitmap> FMinGlyph;
    std::unique_ptr<TBitmap> FCloseMinGlyph;
    std::unique_ptr<TBitmap> FCloseMaxGlyph;
    std::unique_ptr<TBitmap> FMaxGlyph;
    TColor FCloseColor = clBtnFace;
    Integer FShadeLight = 200;
    Byte FShadeGrain = 32;
    AdvPanel::TShadeType FShadeType = AdvPanel::stNormal;
    AdvPanel::TCaptionShape FShape = AdvPanel::csRectangle;
    bool FFlat = false;
    std::unique_ptr<TBitmap> FBackground;
    Integer FIndent = 0;
    Integer FTop = 0;
    AdvPanel::TCaptionButtonPosition FbuttonPosition = AdvPanel::cbpRight;
    TColor FColorTo = clNone;
    AdvPanel::TCaptionPosition FPosition = AdvPanel::cpTop;
    bool FMinMaxCaption = false;
    TColor FCloseButtonHoverColor = clNone;
    TColor FMinMaxButtonHoverColor = clNone;
    AdvPanel::TGradientDirection FGradientDirection = AdvPanel::gdHorizontal;
    std::unique_ptr<TAdvHintInfo> FOfficeHint;
};

// The status bar's settings.
class TPanelStatusBar : public TPersistent {
    DECLARE_CLASS(TPanelStatusBar, TPersistent)

public:
    TPanelStatusBar();
    ~TPanelStatusBar() override;
    // Copies the colours, gradient, border, font and TopIndent from another status bar; any other source
    // is ignored.
    void Assign(TPersistent* source) override;

    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer value);
    const String& Text() const { return FText; }
    void SetText(const String& value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    AdvPanel::TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(AdvPanel::TGradientDirection value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    Integer Height() const { return FHeight; }
    void SetHeight(Integer value);
    bool BevelInner() const { return FBevelInner; }
    void SetBevelInner(bool value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    AdvPanel::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(AdvPanel::TBorderStyle value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    Integer TopIndent() const { return FTopIndent; }
    void SetTopIndent(Integer value);

    TNotifyEvent OnChange;

private:
    void Changed();

    Integer FImageIndex = -1;
    String FText;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    AdvPanel::TGradientDirection FGradientDirection = AdvPanel::gdHorizontal;
    bool FVisible = false;
    Integer FHeight = 18;
    bool FBevelInner = false;
    std::unique_ptr<TFont> FFont;
    AdvPanel::TBorderStyle FBorderStyle = AdvPanel::bsNone;
    TColor FBorderColor = clBlack;
    Integer FTopIndent = 0;
};

// Automatic sizing of a panel to its body text.
class TAutoSize : public TPersistent {
    DECLARE_CLASS(TAutoSize, TPersistent)

public:
    explicit TAutoSize(TCustomAdvPanel* owner = nullptr) : FOwner(owner) {}
    // Any source but a TAutoSize raises the framework's invalid cast.
    void Assign(TPersistent* source) override;

    bool Height() const { return FHeight; }
    void SetHeight(bool value) { FHeight = value; }
    bool Width() const { return FWidth; }
    void SetWidth(bool value) { FWidth = value; }
    // Turning it on sizes the owner at once.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

private:
    TCustomAdvPanel* FOwner; // not owned
    bool FHeight = true;
    bool FWidth = true;
    bool FEnabled = false;
};

// Where a panel stores its position: an INI file or a registry key (Key), under Section.
class TPanelPosition : public TPersistent {
    DECLARE_CLASS(TPanelPosition, TPersistent)

public:
    explicit TPanelPosition(TComponent* owner = nullptr) : FOwner(owner) {}
    // Any source but a TPanelPosition raises the framework's invalid cast.
    void Assign(TPersistent* source) override;

    bool Save() const { return FSave; }
    void SetSave(bool value) { FSave = value; }
    const String& Key() const { return FKey; }
    void SetKey(const String& value) { FKey = value; }
    const String& Section() const { return FSection; }
    void SetSection(const String& value) { FSection = value; }
    AdvPanel::TPanelPositionLocation Location() const { return FLocation; }
    void SetLocation(AdvPanel::TPanelPositionLocation value) { FLocation = value; }

private:
    bool FSave = false;
    String FKey;
    String FSection;
    AdvPanel::TPanelPositionLocation FLocation = AdvPanel::clRegistry;
    TComponent* FOwner; // the panel or group, not owned
};

// A complete panel look, which a styler or a panel group applies to panels.
class TAdvPanelSettings : public TPersistent {
    DECLARE_CLASS(TAdvPanelSettings, TPersistent)

public:
    TAdvPanelSettings();
    ~TAdvPanelSettings() override;
    // Copies every setting from another TAdvPanelSettings; any other source is ignored.
    void Assign(TPersistent* source) override;
    // Changes made between the two send one OnChange at the end.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

#define ZELMOR_PANEL_SETTING(Type, Name)                                                                     \
    Type Name() const {                                                                                      \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(Type value) {                                                                             \
        F##Name = value;                                                                                     \
        Changed();                                                                                           \
    }
#define ZELMOR_PANEL_FIELD(Type, Name)                                                                       \
    Type Name() const {                                                                                      \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(Type value) {                                                                             \
        F##Name = value;                                                                                     \
    }
    ZELMOR_PANEL_FIELD(bool, FixedHeight)
    ZELMOR_PANEL_SETTING(bool, CanMove)
    ZELMOR_PANEL_FIELD(bool, FixedWidth)
    ZELMOR_PANEL_SETTING(bool, Hover)
    ZELMOR_PANEL_SETTING(bool, AutoHideChildren)
    ZELMOR_PANEL_SETTING(bool, AnchorHint)
    ZELMOR_PANEL_FIELD(bool, FixedLeft)
    ZELMOR_PANEL_SETTING(bool, CanSize)
    ZELMOR_PANEL_FIELD(bool, ShowHint)
    ZELMOR_PANEL_FIELD(bool, FixedTop)
    ZELMOR_PANEL_SETTING(bool, Collaps)
    ZELMOR_PANEL_FIELD(bool, ShowMoveCursor)
    ZELMOR_PANEL_SETTING(Integer, CollapsDelay)
    ZELMOR_PANEL_SETTING(Integer, BevelWidth)
    ZELMOR_PANEL_SETTING(Integer, CollapsSteps)
    ZELMOR_PANEL_FIELD(Integer, Height)
    ZELMOR_PANEL_FIELD(Integer, ShadowOffset)
    ZELMOR_PANEL_SETTING(String, Text)
    ZELMOR_PANEL_FIELD(String, Hint)
    ZELMOR_PANEL_SETTING(TPanelBevel, BevelOuter)
    ZELMOR_PANEL_SETTING(TPanelBevel, BevelInner)
    ZELMOR_PANEL_SETTING(TColor, HoverColor)
    ZELMOR_PANEL_SETTING(TColor, CollapsColor)
    ZELMOR_PANEL_SETTING(TColor, BorderColor)
    ZELMOR_PANEL_SETTING(TColor, HoverFontColor)
    ZELMOR_PANEL_FIELD(TColor, ShadowColor)
    ZELMOR_PANEL_FIELD(TColor, Color)
    ZELMOR_PANEL_SETTING(TColor, URLColor)
    ZELMOR_PANEL_SETTING(TTextVAlignment, TextVAlign)
    ZELMOR_PANEL_SETTING(AdvPanel::TBorderStyle, BorderStyle)
    ZELMOR_PANEL_SETTING(TCursor, Cursor)
    ZELMOR_PANEL_SETTING(bool, BorderShadow)
    ZELMOR_PANEL_SETTING(Integer, Indent)
    ZELMOR_PANEL_SETTING(Integer, TopIndent)
    ZELMOR_PANEL_FIELD(Integer, Width)
    ZELMOR_PANEL_SETTING(Integer, BorderWidth)
#undef ZELMOR_PANEL_SETTING
#undef ZELMOR_PANEL_FIELD
    // Notify only when the value changes.
    TColor ColorTo() const {
        return FColorTo;
    }
    void SetColorTo(TColor value);
    TColor ColorMirror() const {
        return FColorMirror;
    }
    void SetColorMirror(TColor value);
    TColor ColorMirrorTo() const {
        return FColorMirrorTo;
    }
    void SetColorMirrorTo(TColor value);
    TFont* Font() const {
        return FFont.get();
    }
    void SetFont(TFont* value);
    TPanelCaption* Caption() const {
        return FCaption.get();
    }
    void SetCaption(TPanelCaption* value);
    TPanelStatusBar* StatusBar() const {
        return FStatusBar.get();
    }
    void SetStatusBar(TPanelStatusBar* value);

    TNotifyEvent OnChange;

private:
    void Changed();

    bool FFixedHeight = false;
    bool FCanMove = false;
    bool FFixedWidth = false;
    bool FHover = false;
    bool FAutoHideChildren = true;
    bool FAnchorHint = false;
    bool FFixedLeft = false;
    bool FCanSize = false;
    bool FShowHint = false;
    bool FFixedTop = false;
    bool FCollaps = false;
    bool FShowMoveCursor = false;
    Integer FCollapsDelay = 0;
    Integer FBevelWidth = 1;
    Integer FCollapsSteps = 0;
    Integer FHeight = 120;
    Integer FShadowOffset = 0;
    String FText;
    String FHint;
    TPanelBevel FBevelOuter = bvNone;
    TPanelBevel FBevelInner = bvNone;
    TColor FHoverColor = clNone;
    TColor FCollapsColor = clBtnFace;
    TColor FBorderColor = clBlack;
    TColor FHoverFontColor = clNone;
    TColor FShadowColor = clBlack;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    TColor FURLColor = clBlue;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPanelCaption> FCaption;
    TTextVAlignment FTextVAlign = tvaTop;
    AdvPanel::TBorderStyle FBorderStyle = AdvPanel::bsSingle;
    TCursor FCursor = crDefault;
    bool FBorderShadow = false;
    Integer FIndent = 0;
    Integer FTopIndent = 0;
    Integer FWidth = 0;
    Integer FUpdateCount = 0;
    Integer FBorderWidth = 0;
    std::unique_ptr<TPanelStatusBar> FStatusBar;
};

class TCustomAdvPanel : public TCustomPanel, public IQELOfficeHint, public IQELTones {
    DECLARE_CLASS(TCustomAdvPanel, TCustomPanel)

public:
    explicit TCustomAdvPanel(TComponent* owner);
    ~TCustomAdvPanel() override;
    // Copies the panel's settings from another panel, leaving its width and collapsed state; any other
    // source raises the framework's invalid cast.
    void Assign(TPersistent* source) override;
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

    // ---- Properties ----
    const String& Text() const { return FText; }
    void SetText(const String& value);
    // Text without markup and hidden sections.
    String RawText() const;
    TAdvImage* Background() const { return FImage.get(); }
    void SetBackground(TAdvImage* value);
    AdvPanel::TBackGroundPosition BackgroundPosition() const { return FBackgroundPosition; }
    void SetBackgroundPosition(AdvPanel::TBackGroundPosition value);
    TPanelCaption* Caption() const { return FCaption.get(); }
    void SetCaption(TPanelCaption* value) { FCaption->Assign(value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TColor URLColor() const { return FURLColor; }
    void SetURLColor(TColor value);
    bool Collaps() const { return FCollaps; }
    void SetCollaps(bool value);
    // The expanded height (cpTop) or width (cpLeft, cpRight).
    Integer FullHeight() const { return FFullHeight; }
    void SetFullHeight(Integer value) { FFullHeight = value; }
    bool AnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool value) { FAnchorHint = value; }
    bool Hover() const { return FHover; }
    void SetHover(bool value) { FHover = value; }
    TColor HoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor value);
    TColor HoverFontColor() const { return FHoverFontColor; }
    void SetHoverFontColor(TColor value);
    Integer ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(Integer value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    bool CanSize() const { return FCanSize; }
    void SetCanSize(bool value);
    bool CanMove() const { return FCanMove; }
    void SetCanMove(bool value) { FCanMove = value; }
    TTextVAlignment TextVAlign() const { return FTextVAlign; }
    void SetTextVAlign(TTextVAlignment value);
    TPanelPosition* Position() const { return FPosition.get(); }
    void SetPosition(TPanelPosition* value) { FPosition->Assign(value); }
    bool FixedHeight() const { return FFixedHeight; }
    void SetFixedHeight(bool value) { FFixedHeight = value; }
    bool FixedLeft() const { return FFixedLeft; }
    void SetFixedLeft(bool value) { FFixedLeft = value; }
    bool FixedWidth() const { return FFixedWidth; }
    void SetFixedWidth(bool value) { FFixedWidth = value; }
    bool FixedTop() const { return FFixedTop; }
    void SetFixedTop(bool value) { FFixedTop = value; }
    TPictureContainer* PictureContainer() const { return FContainer; }
    void SetPictureContainer(TPictureContainer* value);
    bool ShowMoveCursor() const { return FShowMoveCursor; }
    void SetShowMoveCursor(bool value) { FShowMoveCursor = value; }
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool value) { FFreeOnClose = value; }
    Integer CollapsDelay() const { return FCollapsDelay; }
    void SetCollapsDelay(Integer value) { FCollapsDelay = value; }
    Integer CollapsSteps() const { return FCollapsSteps; }
    void SetCollapsSteps(Integer value) { FCollapsSteps = value; }
    TColor CollapsColor() const { return FCollapsColor; }
    void SetCollapsColor(TColor value);
    TAutoSize* AutoSize() const { return FAutoSize.get(); }
    void SetAutoSize(TAutoSize* value);
    bool AutoHideChildren() const { return FAutoHideChildren; }
    void SetAutoHideChildren(bool value) { FAutoHideChildren = value; }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    // The order key of a panel group.
    Integer Index() const { return FIndex; }
    void SetIndex(Integer value) { FIndex = value; }
    bool Buffered() const { return FBuffered; }
    void SetBuffered(bool value) { FBuffered = value; }
    bool BorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(bool value);
    Integer Indent() const { return FIndent; }
    void SetIndent(Integer value);
    Integer TopIndent() const { return FTopIndent; }
    void SetTopIndent(Integer value);
    Integer LineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(Integer value);
    bool Ellipsis() const { return FEllipsis; }
    void SetEllipsis(bool value);
    TAdvPanelStyler* Styler() const { return FStyler; }
    AdvPanel::TGradientDirection GradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(AdvPanel::TGradientDirection value);
    TPanelStatusBar* StatusBar() const { return FStatusBar.get(); }
    void SetStatusBar(TPanelStatusBar* value) { FStatusBar->Assign(value); }
    TColor ColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor value);
    TColor ColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor value);
    // Set by SetColorTones: no background erasing and no extra paint on resize.
    bool OptimizePaint() const { return FOptimizePaint; }
    void SetOptimizePaint(bool value) { FOptimizePaint = value; }
    TAdvHintInfo* OfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TAdvHintInfo* value) { FOfficeHint->Assign(value); }
    // "2.3.0.7"; writing it does nothing.
    String Version() const;
    void SetVersion(const String&) {}

    // ---- Operations ----
    // Records the cursor to come back to after a hyperlink, then sets it.
    void SetCursor(TCursor value);
    // Tells a panel group that holds the panel that it changed.
    void Synchronize();
    void BeginUpdate();
    void EndUpdate();
    // The body text's measured size in the client area.
    TSize GetHTMLSize();
    // The anchor under a client point ("" when none); records the hovered link for painting.
    String AnchorAt(int x, int y);
    // The caption's rich hint above its lower edge when it has one, else the panel's.
    TAdvHintInfo* GetOfficeHint(TPoint point);
    TAdvHintInfo* HintInfoAtPoint(TPoint P) override { return GetOfficeHint(P); }
    void SetColorTones(TColorTones ATones) override;
    // Applies a look without changing the panel's caption buttons, collapsed state, size, hint or text.
    virtual void ApplyPanelSettings(TAdvPanelSettings* settings);
    // ApplyPanelSettings, then the settings' Height, Width and Hint.
    void AssignSettings(TAdvPanelSettings* settings);
    void SavePosition();
    void LoadPosition();
    void DoAutoSize();
    virtual void SetStyler(TAdvPanelStyler* value);
    // Rebuilds the prerendered shaded caption background.
    virtual void BuildShadedHeader();

    // ---- Events ----
    AdvPanel::TAnchorEvent OnAnchorClick;
    AdvPanel::TAnchorEvent OnAnchorEnter;
    AdvPanel::TAnchorEvent OnAnchorExit;
    AdvPanel::TAnchorHintEvent OnAnchorHint;
    TNotifyEvent OnCaptionClick;
    TNotifyEvent OnCaptionDBlClick;
    TNotifyEvent OnClose;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnMaximize;
    TNotifyEvent OnEndMoveSize;
    TNotifyEvent OnEndCollapsExpand;
    AdvPanel::TPaintEvent OnPaint;

protected:
    virtual void StateChanged() {}
    void DefineProperties(TFiler* filer) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Resize() override;
    void ChangeScale(Integer m, Integer d) override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void WMLButtonDblClk(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMHintShow(TMessage& message) override;
    void CMParentFontChanged(TMessage& message) override;

private:
    friend class TAutoSize;
    // Wiring of the owned objects' notifications.
    void CaptionChanged();
    void CaptionFontChanged();
    void CaptionPositionChanged();
    bool Loading() const;
    bool Designing() const;
    bool IsThemed() const;

    // Painting (AdvPanel.cpp and AdvPanelCaption.cpp).
    void PaintBody(TCanvas* canvas);
    void PaintCaptionBar(TCanvas* canvas);
    void PaintStatusBar(TCanvas* canvas);
    void PaintSizeGrip(TCanvas* canvas);
    // Draws the shaded caption header into the caption strip.
    void DrawCaptionBackground(TCanvas* canvas, TRect rect);
    // Draws or measures the body or a caption text with the panel's renderer settings.
    void RenderText(TCanvas* canvas, const String& text, const TRect& rect, bool wordWrap, bool measure,
                    Integer hoverLink, Integer& width, Integer& height);

    // Input (AdvPanelInput.cpp).
    // The width of the caption buttons' hit squares; the window hit test reads MinGlyph's width.
    Integer ButtonSize(bool forHitTest) const;
    TRect CloseSquare(const TRect& client, Integer w, Integer inset) const;
    // The client rectangle without the close button's end.
    TRect NarrowForClose(TRect client, Integer w) const;
    TRect CaptionArea(const TRect& client) const;
    bool OnCaption(int x, int y) const;
    void ShowHideChildren(bool show);
    // Sleeps the delay between animation steps after pumping messages; false when the panel was freed
    // meanwhile.
    bool AnimationPause();
    void InvalidateHoverRect(TRect rect);
    void EnterAnchor(const String& anchor, const TRect& rect);
    LRESULT HitTest(LRESULT inherited, TPoint client);
    void WMSizing(TMessage& message);
    void WMMoving(TMessage& message);
    // Frees a panel whose close button asked for it, after the mouse handler has returned.
    void ReleasePanel();

    String FText;
    std::unique_ptr<TAdvImage> FImage;
    AdvPanel::TBackGroundPosition FBackgroundPosition = AdvPanel::bpTopLeft;
    std::unique_ptr<TPanelCaption> FCaption;
    TCustomImageList* FImages = nullptr; // not owned
    TColor FURLColor = clBlue;
    TColor FOldColor; // body colour saved while collapsed with a collapse colour
    bool FCollaps = false;
    Integer FFullHeight = 200;
    String FAnchor;              // anchor under the mouse at the last move
    Integer FHoverHyperLink = 0; // hovered body link, -1 for none
    Integer FOldHoverHyperLink = 0;
    Integer FCaptionHoverHyperLink = 0; // hovered caption link, -1 for none
    TRect FCurrHoverRect;
    TRect FCaptionCurrHoverRect;
    bool FAnchorHint = false;
    bool FHover = false;
    TColor FHoverColor = clNone;
    TColor FHoverFontColor = clNone;
    Integer FShadowOffset = 2;
    TColor FShadowColor = clGray;
    bool FCanSize = false;
    bool FCanMove = false;
    bool FShowSizeMoveGrip = true;
    TTextVAlignment FTextVAlign = tvaTop;
    std::unique_ptr<TPanelPosition> FPosition;
    bool FFixedHeight = false;
    bool FFixedLeft = false;
    bool FFixedWidth = false;
    bool FFixedTop = false;
    TPoint FTopLeft;                         // client origin at load and at the start of a move or size
    TPoint FWidthHeight;                     // size then
    TCursor FOldCursor = crDefault;          // cursor to restore after a hyperlink
    bool FInMove = false;                    // the last hit test answered "caption"
    TPictureContainer* FContainer = nullptr; // not owned
    std::unique_ptr<THTMLPictureCache> FImageCache;
    bool FShowMoveCursor = false;
    std::unique_ptr<TBitmap> FShadedHeader;
    std::unique_ptr<TBitmap> FBuffer; // the off-screen picture of a buffered paint
    bool FIsWinXP = false;
    bool FFreeOnClose = false;
    bool FIsCollapsing = false;
    Integer FCollapsDelay = 20;
    Integer FCollapsSteps = 0;
    TColor FCollapsColor = clGray;
    std::unique_ptr<TAutoSize> FAutoSize;
    bool FAutoHideChildren = true;
    TColor FColorTo = clNone;
    TColor FBorderColor = clBlack;
    Integer FIndex = 0;
    bool FBuffered = true;
    bool FBorderShadow = false;
    Integer FIndent = 0;
    Integer FTopIndent = 0;
    Integer FLineSpacing = 0;
    bool FEllipsis = false;
    TAdvPanelStyler* FStyler = nullptr; // not owned
    Integer FOldWidth = -1;
    Integer FOldHeight = -1;
    AdvPanel::TGradientDirection FGradientDirection = AdvPanel::gdVertical;
    bool FHoverCloseBtn = false;
    bool FHoverMinMaxBtn = false;
    std::unique_ptr<TPanelStatusBar> FStatusBar;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    bool FOptimizePaint = false;
    std::vector<TControl*> FHideList; // children already hidden when the panel collapsed
    Integer FOldLeft = -1;
    std::unique_ptr<TAdvHintInfo> FOfficeHint;
    Integer FPrevY = 0;
    bool FDesignTime = false;
    bool FReleasePosted = false;
    // Shared with a running collapse animation, which pumps messages: false once the panel is gone.
    std::shared_ptr<bool> FAlive;
};

class TAdvPanel : public TCustomAdvPanel {
    DECLARE_CLASS(TAdvPanel, TCustomAdvPanel)

public:
    using TCustomAdvPanel::TCustomAdvPanel;
};

// ---- The panel group (AdvPanelGroup.cpp) ----
// A caption panel that stacks its child caption panels in columns (or side by side), arranges them again
// whenever one collapses, expands, moves or is sized, and scrolls them with a scroll bar of its own.
class TAdvPanelGroup : public TAdvPanel {
    DECLARE_CLASS(TAdvPanelGroup, TAdvPanel)

public:
    explicit TAdvPanelGroup(TComponent* owner);
    ~TAdvPanelGroup() override;
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

    // ---- Properties ----
    Integer HorzPadding() const { return FHorzPadding; }
    void SetHorzPadding(Integer value);
    Integer VertPadding() const { return FVertPadding; }
    void SetVertPadding(Integer value);
    AdvPanel::TGroupStyle GroupStyle() const { return FGroupStyle; }
    void SetGroupStyle(AdvPanel::TGroupStyle value);
    bool IsArranging() const { return FIsArranging; }
    TAdvPanelSettings* DefaultPanel() const { return FDefaultPanel.get(); }
    void SetDefaultPanel(TAdvPanelSettings* value) { FDefaultPanel->Assign(value); }
    // Values below 1 are ignored.
    Integer Columns() const { return FColumns; }
    void SetColumns(Integer value);
    bool ScrollSmooth() const { return FScrollSmooth; }
    void SetScrollSmooth(bool value) { FScrollSmooth = value; }
    Integer MouseWheelDelta() const { return FMouseWheelDelta; }
    void SetMouseWheelDelta(Integer value);
    Integer PanelCount() const { return static_cast<Integer>(FPanels.size()); }
    Integer ScrollPosition() const;
    void SetScrollPosition(Integer value);
    // The list entry at index; EListError outside the list.
    TCustomAdvPanel* Panels(Integer index) const;
    // Copies panel into the entry at index.
    void SetPanels(Integer index, TCustomAdvPanel* panel);
    TScrollBar* ScrollBar() const { return FScrollBar.get(); }

    // ---- Operations ----
    // One arrangement ordered by Index.
    void ArrangePanels();
    // A child panel changed its state, size or place.
    void ChildPanelChanged(TCustomAdvPanel* panel);
    void UpdateGroup();
    void BeginUpdate();
    void EndUpdate();
    void OpenAllPanels();
    void CloseAllPanels();
    // Rebuilds the panel list from the child caption panels, numbering them in child order.
    void InitPanels();
    // A new panel in DefaultPanel's look, last in the list.
    TCustomAdvPanel* AddPanel();
    // A new panel first in the list.
    TCustomAdvPanel* AppendPanel();
    TCustomAdvPanel* InsertPanel(Integer index);
    void RemovePanel(Integer index);
    // Moves entry n - from - 1 to n - to - 1 and arranges by Index, also inside an update bracket.
    void MovePanel(Integer fromIndex, Integer toIndex);
    // Frees every child caption panel.
    void Clear();
    // Every child's position in the group's own file or key, one section per child named after it.
    void LoadPanelPositions();
    void SavePanelPositions();

    TNotifyEvent OnArrangedControls;

protected:
    virtual void ArrangedControls();
    void StateChanged() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void WMSize(TMessage& message) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

private:
    void DoArrange();
    void ArrangeVertical();
    void ArrangeHorizontal();
    void UpdateScrollBar();
    void ScrollBarScroll(TObject* sender, TScrollCode code, int& position);
    void MoveListPanel(Integer from, Integer to);
    // Numbers the entries from the end (n - list position) and arranges by Index once.
    void ArrangeByReversedIndex();
    // The child controls that are caption panels, in child order.
    std::vector<TCustomAdvPanel*> ChildPanels() const;
    TCustomAdvPanel* NewStyledPanel();
    void Register(TCustomAdvPanel* panel);
    void WheelScroll(Integer delta);
    // Runs one placement or position save through the group's own position settings.
    void WithGroupPosition(TCustomAdvPanel* panel, bool save);

    Integer FUpdateCount = 0;
    Integer FHorzPadding = 8;
    Integer FVertPadding = 8;
    AdvPanel::TGroupStyle FGroupStyle = AdvPanel::gsVertical;
    bool FIsArranging = false;
    std::unique_ptr<TScrollBar> FScrollBar;
    std::vector<TCustomAdvPanel*> FPanels; // freed with the group
    std::unique_ptr<TAdvPanelSettings> FDefaultPanel;
    Integer FColumns = 1;
    bool FCode = false;
    bool FScrollSmooth = false;
    Integer FGroupOldWidth = -1;
    Integer FGroupOldHeight = -1;
    Integer FMouseWheelDelta = 0;
};

// ---- The panel styler (AdvPanelStyler.cpp) ----
namespace AdvPanel {
class TThemeNotifierWindow;
}

// One complete panel look, pushed to every panel of the same owner that links to the styler.
class TAdvPanelStyler : public TComponent, public IQELTones, public IQELStyle {
    DECLARE_CLASS(TAdvPanelStyler, TComponent)

public:
    explicit TAdvPanelStyler(TComponent* owner);
    ~TAdvPanelStyler() override;
    // Copies from another styler; any other source is ignored.
    void Assign(TPersistent* source) override;

    TAdvPanelSettings* Settings() const { return FSettings.get(); }
    void SetSettings(TAdvPanelSettings* value) { FSettings->Assign(value); }
    const String& Comments() const { return FComments; }
    void SetComments(const String& value) { FComments = value; }
    AdvPanel::TAdvPanelStyle Style() const { return FStyle; }
    // Writes the style's row of the look table into the settings in one update.
    void SetStyle(AdvPanel::TAdvPanelStyle value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool value) { FAutoThemeAdapt = value; }

    // Applies the settings to every panel of the owner linked to this styler.
    void ApplyToPanels();
    // Follows the XP colour scheme when AutoThemeAdapt.
    void ThemeChanged();
    void SetComponentStyle(TQELStyle AStyle) override;
    void SetColorTones(TColorTones ATones) override;
    AdvPanel::TThemeNotifierWindow* NotifierWindow() const { return FNotifierWnd; }

protected:
    void Loaded() override;

private:
    std::unique_ptr<TAdvPanelSettings> FSettings;
    String FComments;
    AdvPanel::TThemeNotifierWindow* FNotifierWnd = nullptr; // owned as a child component
    AdvPanel::TAdvPanelStyle FStyle = AdvPanel::psXP;
    bool FAutoThemeAdapt = false;
};

// Colour routines of the panel's painting.
// C1 when Percent is 100, else each channel Percent/100 of C1 and the rest of C2, rounded.
TColor PanelBlendColor(TColor C1, TColor C2, Integer Percent);
// Steps bands (1 to 32) from FromColor towards ToColor across Rect.
void PanelDrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, TRect Rect,
                       bool Horizontal);
// Two gradients, Color to ColorTo in the first half and ColorMirror to ColorMirrorTo in the second.
void PanelDrawMirrorGradient(TCanvas* Canvas, TRect Rect, TColor Color, bool Fill, TColor Frame,
                             AdvPanel::TGradientDirection Direction, TColor ColorMirrorTo, TColor ColorMirror,
                             TColor ColorTo);

// The unit's start-up: registers the panel classes for form descriptions. Later calls do nothing.
void AdvPanelUnitStartup();
