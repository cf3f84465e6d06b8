// The instrument controls' base classes: a graphic control with update counting and repaint hooks, and
// a variant that paints through an off-screen bitmap and can show its parent's image beneath it.
#pragma once

#include <memory>

#include "platform/framework/Controls.h"

// The draw style shares its value names with the image lists' drawing style.
namespace VrControls {
ZELMOR_ENUM(TVrDrawStyle, dsOwnerDraw, dsNormal)
} // namespace VrControls
ZELMOR_ENUM(TVrTextAlignment, vtaLeft, vtaCenter, vtaRight, vtaTopLeft, vtaTop, vtaTopRight, vtaBottomLeft,
            vtaBottom, vtaBottomRight)

// The screen cursor number of the hand-point cursor.
inline constexpr TCursor crVrHandPoint = 99;

// Once per process: registers the hand-point cursor "VRCURSORHANDPOINT" and installs it as screen cursor
// 99. Later calls do nothing.
void VrControlsStartup();

class TVrGraphicControl : public TGraphicControl {
    DECLARE_CLASS(TVrGraphicControl, TGraphicControl)

public:
    explicit TVrGraphicControl(TComponent* owner);

    // Repaints wait until every BeginUpdate has its EndUpdate; callers must pair them.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // "1.4.5"; writing it is ignored.
    String Version() const { return FVersion; }
    void SetVersion(const String&) {}

    // OnMouseEnter and OnMouseLeave are the framework's events, fired from DoMouseEnter and
    // DoMouseLeave.
    TNotifyEvent OnFontChanged;
    TNotifyEvent OnTextChanged;

protected:
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;

    // Repaints at once unless loading or inside an update.
    virtual void RequestRepaint();
    // With AutoSize on and an alignment that leaves the size free, AdjustBounds; else RequestRepaint.
    virtual void AdjustBoundsAutoSize();
    // Applies the current bounds again through SetBounds, so that a descendant's size rules run;
    // repaints when the bounds came out unchanged. Nothing while loading.
    virtual void AdjustBounds();
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();
    virtual void DoFontChanged();
    virtual void DoTextChanged();
    // Fills the client area with Color.
    void ClearClientCanvas();

    Integer FUpdateCount = 0;

private:
    String FVersion;
};

class TVrGraphicImageControl : public TVrGraphicControl {
    DECLARE_CLASS(TVrGraphicImageControl, TVrGraphicControl)

public:
    explicit TVrGraphicImageControl(TComponent* owner);
    ~TVrGraphicImageControl() override;

    // A transparent control shows the parent's image around what it draws.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

protected:
    // Descendants call PrepareBackground, draw into BitmapImage() and then call this, which copies the
    // bitmap to the control.
    void Paint() override;
    void RequestRepaint() override;
    // Gives the bitmap its background: the parent's image beneath a transparent control, else Color.
    virtual void PrepareBackground();

    TBitmap* BitmapImage() const { return FBitmapImage.get(); }
    TCanvas* BitmapCanvas() const { return FBitmapImage->Canvas(); }

    TCanvas* DestCanvas = nullptr; // the control's canvas

    // The paint message: the control's canvas takes the DC while Paint runs, the bitmap takes the
    // control's size.
    void WMPaint(TMessage& message) override;

private:
    void SetOpaque(bool opaque);

    std::unique_ptr<TBitmap> FOverlay;     // the parent's image captured beneath the control
    std::unique_ptr<TBitmap> FBitmapImage; // what the control paints into
    bool FRefreshOverlay = true;           // capture the parent's image again at the next paint
    bool FTransparent = false;
};
