// Buttons with glyphs: TSpeedButton (a graphic control, grouped buttons release each other) and TBitBtn
// (a push button with a glyph and standard kinds), and the glyph and caption layout they share.
#pragma once

#include <memory>

#include "platform/framework/StdButtons.h"

ZELMOR_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
ZELMOR_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)
ZELMOR_ENUM(TButtonStyle, bsAutoDetect, bsWin31, bsNew)
ZELMOR_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore,
            bkAll)
using TNumGlyphs = Integer;

// Where the glyph and the caption go inside client: glyph left of, right of, above or below the text.
// margin is the distance from the edge to the glyph (-1: the pair centred), spacing the gap between
// glyph and text (-1: the free space shared out evenly). offset moves both (a pressed button's look).
struct TButtonLayoutResult {
    TPoint glyphPos;
    TRect textBounds;
};
TButtonLayoutResult CalcButtonLayout(const TRect& client, const TPoint& offset, TSize glyphSize,
                                     TSize textSize, TButtonLayout layout, int margin, int spacing);

// The glyph of a button: a bitmap with NumGlyphs images side by side (up, disabled, down, held down).
// Its bottom-left pixel is the transparent colour.
class TButtonGlyph {
public:
    TButtonGlyph();
    ~TButtonGlyph();
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(TNumGlyphs value);
    // The size of one image; 0 x 0 without a glyph.
    TSize ImageSize() const;
    // Draws the image of state (the up image where the glyph has no own image for it; a disabled
    // button without one gets the up image embossed in the shadow colour).
    void Draw(TCanvas* canvas, const TPoint& pos, TButtonState state, bool transparent);
    // Draws glyph and caption laid out in client; answers where the text went.
    TRect DrawButton(TCanvas* canvas, const TRect& client, const TPoint& offset, const String& caption,
                     TButtonLayout layout, int margin, int spacing, TButtonState state, bool transparent);

    TNotifyEvent OnChange;

private:
    void GlyphChanged(TObject* sender);

    std::unique_ptr<TBitmap> FGlyph;
    TNumGlyphs FNumGlyphs = 1;
};

// ---- A speed button: a flat or raised graphic button, alone or one of a group ----
// A button of a group (GroupIndex not 0) stays down when clicked and lets the other buttons of its
// group among its siblings up; with AllowAllUp a click on the down one lets it up too. Down can only be
// set on a grouped button.
class TSpeedButton : public TGraphicControl {
    DECLARE_CLASS(TSpeedButton, TGraphicControl)

public:
    explicit TSpeedButton(TComponent* owner);
    ~TSpeedButton() override;

    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return FGlyph->Glyph(); }
    void SetGlyph(TBitmap* value) { FGlyph->SetGlyph(value); }
    Integer GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Integer value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer value);
    TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs value) { FGlyph->SetNumGlyphs(value); }
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // The state drawn now: up, pressed by the mouse, held down, or disabled.
    TButtonState State() const { return FState; }
    // Where the caption was drawn the last time the button was painted.
    TRect TextBounds() const { return FTextBounds; }

protected:
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void GlyphChanged(TObject* sender);
    // Lets the other down buttons of the group up.
    void UpdateExclusive();
    void CMButtonPressed(TMessage& message);

    std::unique_ptr<TButtonGlyph> FGlyph;
    Integer FGroupIndex = 0;
    TButtonLayout FLayout = blGlyphLeft;
    Integer FMargin = -1;
    Integer FSpacing = 4;
    TButtonState FState = bsUp;
    TRect FTextBounds;
    bool FAllowAllUp = false;
    bool FDown = false;
    bool FDragging = false; // the left button went down on the button and is not up yet
    bool FFlat = false;
    bool FTransparent = true;
};

// ---- A push button with a glyph ----
// A Kind other than bkCustom brings its caption, glyph and modal result (and Default or Cancel).
class TBitBtn : public TButton {
    DECLARE_CLASS(TBitBtn, TButton)

public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    TBitmap* Glyph() const { return FGlyph->Glyph(); }
    void SetGlyph(TBitmap* value);
    // bkCustom once the glyph, caption or modal result is changed from the kind's.
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer value);
    TNumGlyphs NumGlyphs() const { return FGlyph->NumGlyphs(); }
    void SetNumGlyphs(TNumGlyphs value) { FGlyph->SetNumGlyphs(value); }
    Integer Spacing() const { return FSpacing; }
    void SetSpacing(Integer value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle value) { FStyle = value; }
    TRect TextBounds() const { return FTextBounds; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    void GlyphChanged(TObject* sender);
    void CNDrawItem(TMessage& message);
    // Whether the glyph is still the one of the kind.
    bool IsCustom() const;

    std::unique_ptr<TButtonGlyph> FGlyph;
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    Integer FMargin = -1;
    Integer FSpacing = 4;
    TButtonStyle FStyle = bsAutoDetect;
    TRect FTextBounds;
    bool FSettingKind = false;  // the glyph changes because the kind does
    bool FGlyphIsKinds = false; // the glyph is the kind's own
    bool FDefaultStyle = false; // the window was asked to look like the default button
};

// The caption of a kind ("OK", "&Yes" ...); "" for bkCustom.
String BitBtnCaption(TBitBtnKind kind);
// The modal result of a kind.
TModalResult BitBtnModalResult(TBitBtnKind kind);
