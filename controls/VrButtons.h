// TVrShadowButton: a push button drawn as a filled face with a solid drop shadow; pressing slides the
// face towards the shadow.
#pragma once

#include "controls/VrControls.h"

// The face fill, black unless set.
class TVrShadowBrush : public TBrush {
    DECLARE_CLASS(TVrShadowBrush, TBrush)

public:
    TVrShadowBrush();
};

// The face outline, lime unless set.
class TVrShadowPen : public TPen {
    DECLARE_CLASS(TVrShadowPen, TPen)

public:
    TVrShadowPen();
};

ZELMOR_ENUM(TVrShadowButtonStyle, ssRectangle, ssRoundRect)
// The side on which the shadow lies.
ZELMOR_ENUM(TVrShadowDirection, sdTopLeft, sdTopRight, sdBottomLeft, sdBottomRight)

// Registers the shadow button for streaming, once.
void VrButtonsStartup();

class TVrShadowButton : public TVrGraphicImageControl {
    DECLARE_CLASS(TVrShadowButton, TVrGraphicImageControl)

public:
    explicit TVrShadowButton(TComponent* owner);
    ~TVrShadowButton() override;

    TVrShadowBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TVrShadowBrush* value) { FBrush->Assign(value); }
    TVrShadowPen* Pen() const { return FPen.get(); }
    void SetPen(TVrShadowPen* value) { FPen->Assign(value); }
    // The shadow's offset; values of 2 and less are ignored.
    Integer Depth() const { return FDepth; }
    void SetDepth(Integer value);
    // How far the face moves when pressed; takes effect at the next paint.
    Integer DepthAdjust() const { return FDepthAdjust; }
    void SetDepthAdjust(Integer value) { FDepthAdjust = value; }
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    TColor ShadowOutline() const { return FShadowOutline; }
    void SetShadowOutline(TColor value);
    TVrShadowButtonStyle Style() const { return FStyle; }
    void SetStyle(TVrShadowButtonStyle value);
    TVrShadowDirection Direction() const { return FDirection; }
    void SetDirection(TVrShadowDirection value);
    TVrTextAlignment TextAlign() const { return FTextAlign; }
    void SetTextAlign(TVrTextAlignment value);
    TColor DisabledTextColor() const { return FDisabledTextColor; }
    void SetDisabledTextColor(TColor value);

    // The face is drawn pressed; a press that started on the face is in progress.
    bool Down() const { return FDown; }
    bool Pressed() const { return FPressed; }
    // The face's text area at the last paint, which is also where a press starts; empty before it.
    TRect CurrentRect() const { return FCurrentRect; }

protected:
    void Paint() override;
    // Clicks come only from completed presses and accelerators, never from the framework's dispatch.
    void DoClick() override {}
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void WMLButtonUp(TMessage& message) override;

private:
    // Everything the picture in the bitmap depends on: the size, the state, the settings that draw, the
    // caption and its font, and the colours as they resolve now (system colours follow the scheme).
    struct FaceKey {
        Integer width = 0, height = 0;
        COLORREF background = 0;
        Integer depth = 0, depthAdjust = 0;
        bool down = false, enabled = false;
        int style = 0, direction = 0, textAlign = 0;
        COLORREF shadowColor = 0, shadowOutline = 0, disabledTextColor = 0;
        COLORREF brushColor = 0;
        int brushStyle = 0;
        COLORREF penColor = 0;
        Integer penWidth = 0;
        int penStyle = 0, penMode = 0;
        String caption;
        String fontName;
        Integer fontHeight = 0, fontOrientation = 0;
        UInt64 fontStyle = 0;
        int fontCharset = 0, fontPitch = 0;
        COLORREF fontColor = 0;
        bool operator==(const FaceKey&) const = default;
    };
    FaceKey CurrentFaceKey();
    // Draws the shadow, the face and the caption into the bitmap.
    void PaintFace();
    void StyleChanged(TObject*) { RequestRepaint(); }
    bool OnFace(int x, int y) const;
    // The framework's click: the action or OnClick.
    void ClickNow() { TVrGraphicImageControl::DoClick(); }
    void SetColorField(TColor& field, TColor value);

    Integer FDepth = 4;
    Integer FDepthAdjust = 2;
    TColor FShadowColor = clBtnShadow;
    TColor FShadowOutline = clBtnShadow;
    std::unique_ptr<TVrShadowBrush> FBrush;
    std::unique_ptr<TVrShadowPen> FPen;
    TVrShadowButtonStyle FStyle = ssRoundRect;
    TVrShadowDirection FDirection = sdBottomRight;
    TVrTextAlignment FTextAlign = vtaCenter;
    TColor FDisabledTextColor = clInactiveCaption;
    bool FDown = false;
    bool FPressed = false;
    TRect FCurrentRect;
    // The bitmap holds the picture drawn for FFaceKey: a paint with the same key only copies it.
    FaceKey FFaceKey;
    bool FFaceKept = false;
};
