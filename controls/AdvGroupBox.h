// The styled group box: a frame in one of three styles around child controls, with a caption of text, an
// image and a small check box of its own that can enable the children or check the check boxes among
// them. The Office check and radio groups build on it.
#pragma once

#include <memory>

#include "platform/framework/ImgList.h"
#include "platform/framework/StdCtrls.h"

namespace AdvGroupBox {
ZELMOR_ENUM(TCaptionPosition, cpTopLeft, cpTopRight, cpTopCenter, cpBottomLeft, cpBottomRight, cpBottomCenter)
ZELMOR_ENUM(TBorderStyle, bsNone, bsSingle, bsDouble)
// The side of the caption the check box stands on.
ZELMOR_ENUM(TCheckBoxPos, cpLeft, cpRight)
// What the caption check box does to the children when its state changes.
ZELMOR_ENUM(TCheckBoxAction, caNone, caDisable, caCheckAll, caControlsDisable)
} // namespace AdvGroupBox

class TAdvCustomGroupBox;

// The settings and run-time state of the caption check box.
class TGroupBoxCheck : public TPersistent {
    DECLARE_CLASS(TGroupBoxCheck, TPersistent)

public:
    explicit TGroupBoxCheck(TAdvCustomGroupBox* groupBox = nullptr) : FGroupBox(groupBox) {}
    // Copies everything from another TGroupBoxCheck but Visible.
    void Assign(TPersistent* source) override;

    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value);
    AdvGroupBox::TCheckBoxPos Position() const { return FPosition; }
    void SetPosition(AdvGroupBox::TCheckBoxPos value);
    // Takes effect at the next state change, window creation or loading.
    AdvGroupBox::TCheckBoxAction Action() const { return FAction; }
    void SetAction(AdvGroupBox::TCheckBoxAction value) { FAction = value; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    // A new state, from code too, redraws the box, applies the action and fires the group box's
    // OnCheckBoxClick, as a click does; the console's groups rely on that.
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Themed() const { return FThemed; }
    void SetThemed(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Run time: the mouse is over the box, or pressed on it.
    bool Hot() const { return FHot; }
    bool Down() const { return FDown; }

    TNotifyEvent OnChange;

private:
    friend class TAdvCustomGroupBox;
    void Change();
    // Store a changed value and redraw the box at once.
    void SetHot(bool value);
    void SetDown(bool value);

    String FHint;
    TCheckBoxState FState = cbUnchecked;
    bool FThemed = true;
    bool FAllowGrayed = false;
    AdvGroupBox::TCheckBoxAction FAction = AdvGroupBox::caDisable;
    AdvGroupBox::TCheckBoxPos FPosition = AdvGroupBox::cpLeft;
    bool FVisible = false;
    bool FHot = false;
    bool FDown = false;
    TAdvCustomGroupBox* FGroupBox; // the owner, not owned
};

class TAdvCustomGroupBox : public TCustomGroupBox {
    DECLARE_CLASS(TAdvCustomGroupBox, TCustomGroupBox)

public:
    explicit TAdvCustomGroupBox(TComponent* owner);
    ~TAdvCustomGroupBox() override;

    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    AdvGroupBox::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(AdvGroupBox::TBorderStyle value);
    AdvGroupBox::TCaptionPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(AdvGroupBox::TCaptionPosition value);
    TGroupBoxCheck* CheckBox() const { return FCheckBox.get(); }
    void SetCheckBox(TGroupBoxCheck* value) { FCheckBox->Assign(value); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    Integer ImageIndex() const { return FImageIndex; }
    void SetImageIndex(Integer value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool value);
    // GetVersionNr as "a.b.c.d"; writing it does nothing.
    String Version();
    void SetVersion(const String&) {}

    // The caption's parts in client coordinates: the check box ((-1,-1,-1,-1) when hidden), the text
    // (image and text) and the whole caption. Painting, hit tests and the children's area use them.
    void GetCaptionRects(TRect& checkBoxRect, TRect& textRect, TRect& captionRect);
    // The rectangle the frame is drawn in.
    TRect FrameRect();
    // Draws the caption check box now, in its current state.
    void DrawCheckBox();

    TNotifyEvent OnCheckBoxClick;

protected:
    friend class TGroupBoxCheck;
    // Paints the parent (its background, its own painting and its graphic children) into the canvas.
    virtual void PaintParentBackground();
    // Enables the children or sets the check boxes among them from the caption check box's state.
    virtual void ApplyCheckBoxAction();
    virtual void DoCheckBoxClick();
    virtual Integer GetVersionNr();

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CreateWnd() override;
    void AdjustClientRect(TRect& rect) override;
    void PaintWindow(HDC dc) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMHintShow(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;

    bool HasCaption();
    Integer FrameWidth();
    Integer CaptionHeight();
    bool CaptionAtTop() const;

private:
    // The caption check box's action applies only outside the designer, to a visible box.
    bool CheckBoxActs();
    TRect FrameRectFor(const TRect& captionRect);
    TSize CaptionTextExtent(const String& caption);
    void DrawCheckBoxAt(const TRect& checkBoxRect);
    void PaintFrame(const TRect& frame);
    // The DC the paint draws on, without the canvas's objects selected into it: a paint beneath a child
    // that draws nothing of its own never selects them.
    HDC PaintDC();

    HDC FPaintDC = nullptr; // the DC of the paint in progress
    bool FTransparent = true;
    TColor FBorderColor = clSilver;
    Integer FImageIndex = -1;
    TCustomImageList* FImages = nullptr; // not owned
    AdvGroupBox::TBorderStyle FBorderStyle = AdvGroupBox::bsSingle;
    AdvGroupBox::TCaptionPosition FCaptionPosition = AdvGroupBox::cpTopLeft;
    bool FRoundEdges = false;
    std::unique_ptr<TGroupBoxCheck> FCheckBox;
    // The last caption measured, with the font it was measured in.
    struct FontKey {
        String name;
        Integer height = 0;
        UInt64 style = 0;
        TFontCharset charset = 0;
        TFontPitch pitch = fpDefault;
        Integer orientation = 0;
        bool operator==(const FontKey&) const = default;
    };
    String FMeasuredCaption;
    FontKey FMeasuredFont;
    TSize FMeasuredExtent;
};

class TAdvGroupBox : public TAdvCustomGroupBox {
    DECLARE_CLASS(TAdvGroupBox, TAdvCustomGroupBox)

public:
    using TAdvCustomGroupBox::TAdvCustomGroupBox;
};

// The styled controls' version text: the four bytes of number, most significant first, joined by dots.
String VersionNumberText(Integer number);

// The unit's start-up: registers TAdvGroupBox for form descriptions and the caption check box's glyphs.
// Later calls do nothing.
void AdvGroupBoxUnitStartup();
