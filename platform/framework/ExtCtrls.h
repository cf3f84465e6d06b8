// The framework's extra controls and components: TTimer, panels, bevels, shapes, paint boxes, images and
// radio groups.
#pragma once

#include <memory>

#include "platform/framework/Component.h"
#include "platform/framework/Controls.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/winuser.h"

ZELMOR_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory)

// A window timer on the platform clock, served by the message loop of the thread that made it (WM_TIMER
// on a hidden window of its own). It runs while Enabled and Interval is not 0; each tick calls OnTimer
// when it is assigned. An exception of OnTimer goes to the application's exception handler and the timer goes
// on.
class TTimer : public TComponent {
    DECLARE_CLASS(TTimer, TComponent)

public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    // Turning a running timer on again keeps its phase; turning it off and on restarts the count.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Milliseconds between ticks; a change restarts the count, 0 stops the timer.
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal value);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;
    virtual void Timer();

private:
    static LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Stops the window timer and starts it again when the timer is to run. Raises EOutOfResources
    // "Not enough timers available" when the window manager refuses.
    void UpdateTimer();

    bool FEnabled = true;
    Cardinal FInterval = 1000;
    HWND FWindowHandle = nullptr;
};

// ---- Panels, bevels, shapes and paint boxes ----
ZELMOR_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
using TPanelBevel = TBevelCut;
ZELMOR_ENUM(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer)
ZELMOR_ENUM(TBevelStyle, bsLowered, bsRaised)
ZELMOR_ENUM(TShapeType, stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle)

// Draws a frame width pixels wide inside rect, topColor on the top and left, bottomColor on the bottom
// and right, and shrinks rect by it.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// A window with an outer and an inner bevel, a border of its colour between them (BorderWidth), and a
// caption in the middle line. Aligned children stay inside the bevels.
class TCustomPanel : public TCustomControl {
    DECLARE_CLASS(TCustomPanel, TCustomControl)

public:
    explicit TCustomPanel(TComponent* owner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    Integer BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(Integer value);
    // bsSingle gives the window a border of its own (WS_BORDER, or a sunken edge with Ctl3D).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void AdjustClientRect(TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void Paint() override;

private:
    // The bevels changed the client space: children realign and the panel repaints.
    void BevelsChanged();

    TAlignment FAlignment = taCenter;
    TPanelBevel FBevelInner = bvNone;
    TPanelBevel FBevelOuter = bvRaised;
    Integer FBevelWidth = 1;
    TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
    DECLARE_CLASS(TPanel, TCustomPanel)

public:
    using TCustomPanel::TCustomPanel;
};

// A bevelled box or line drawn by its parent.
class TBevel : public TGraphicControl {
    DECLARE_CLASS(TBevel, TGraphicControl)

public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

// A rectangle, rounded rectangle or ellipse in its pen and brush; the square and circle kinds use the
// largest square centred in the bounds.
class TShape : public TGraphicControl {
    DECLARE_CLASS(TShape, TGraphicControl)

public:
    explicit TShape(TComponent* owner);
    ~TShape() override;
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* value) { FBrush->Assign(value); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* value) { FPen->Assign(value); }
    TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType value);

protected:
    void Paint() override;

private:
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TShapeType FShape = stRectangle;
};

// A graphic control that leaves its painting to OnPaint (on its Canvas).
class TPaintBox : public TGraphicControl {
    DECLARE_CLASS(TPaintBox, TGraphicControl)

public:
    explicit TPaintBox(TComponent* owner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// ---- A picture on a graphic control ----
// Stretch fills the control; Proportional shrinks (or with Stretch also grows) keeping the aspect ratio;
// Center centres what is drawn. With AutoSize the control takes the picture's size.
class TImage : public TGraphicControl {
    DECLARE_CLASS(TImage, TGraphicControl)

public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    // The picture's bitmap canvas; an empty picture first becomes a bitmap of the control's size.
    // EInvalidOperation "Can only modify an image if it contains a bitmap" for another picture.
    TCanvas* Canvas();
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* value) { FPicture->Assign(value); }
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Where the picture is drawn in the client area.
    TRect DestRect() const;

protected:
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void Paint() override;

private:
    void PictureChanged(TObject* sender);

    std::unique_ptr<TPicture> FPicture;
    bool FCenter = false;
    bool FProportional = false;
    bool FStretch = false;
    bool FTransparent = false;
    bool FDrawing = false; // the picture changes because it is being drawn
};

// ---- A group box of radio buttons made from a list of captions ----
// Only one item is chosen (ItemIndex, -1 for none); choosing one, by the mouse, the arrow keys or in
// code, fires OnClick. The buttons fill Columns columns, top to bottom first.
class TCustomRadioGroup : public TCustomGroupBox {
    DECLARE_CLASS(TCustomRadioGroup, TCustomGroupBox)

public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;
    Integer Columns() const { return FColumns; }
    // 1 to 16.
    void SetColumns(Integer value);
    Integer ItemIndex() const { return FItemIndex; }
    void SetItemIndex(Integer value);
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value) { FItems->Assign(value); }
    // The radio button of an item.
    TRadioButton* Buttons(Integer index) const;
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

protected:
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {}
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void ReadState(TReader* reader) override;

private:
    friend class TGroupButton;
    void ArrangeButtons();
    void ButtonClick(TRadioButton* button);
    void ItemsChange(TObject* sender);
    void SetButtonCount(Integer count);
    void UpdateButtons();

    std::unique_ptr<TStringList> FItems;
    std::vector<TRadioButton*> FButtons; // owned: freed with the group
    Integer FColumns = 1;
    Integer FItemIndex = -1;
    bool FReading = false;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
    DECLARE_CLASS(TRadioGroup, TCustomRadioGroup)

public:
    using TCustomRadioGroup::TCustomRadioGroup;
};
