// TAdvSpinEdit: the spin edit forms place as an ordinary control. Integer, float, date, time and
// hexadecimal values with ranges under check flags, smart steps by the digit left of the caret, a sign
// toggle, and a look of its own: flat style, coloured, focus and 3-D borders, focus and disabled colours,
// transparency and an attached label.
#pragma once

#include <memory>

#include "grid/view/asgspin.h"
#include "platform/framework/StdButtons.h"

namespace AdvSpin {
ZELMOR_ENUM(TAdvSpinType, sptNormal, sptFloat, sptDate, sptTime, sptHex)
ZELMOR_ENUM(TLabelPosition, lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft,
            lpLeftCenterLeft, lpLeftBottomLeft, lpTopCenter, lpBottomCenter)
ZELMOR_ENUM(TEditAlign, eaLeft, eaRight, eaCenter)
using asgspin::TButtonDirection;
using asgspin::TSpinDirection;
using asgspin::TTimeBtnState;

// Where the label goes for an edit at edit (left, top, width, height), a label of labelSize, margin
// and caption text width textWidth.
TPoint LabelPlace(TLabelPosition position, const TRect& edit, TPoint labelSize, Integer margin,
                  Integer textWidth);

// This unit's timer button: the grid's, with the theme flag taken from the system version, a disabled
// themed state and a disabled classic arrow.
class TAdvTimerSpeedButton : public asgspin::TAdvTimerSpeedButton {
    DECLARE_CLASS(TAdvTimerSpeedButton, asgspin::TAdvTimerSpeedButton)

public:
    explicit TAdvTimerSpeedButton(TComponent* owner);

protected:
    bool PaintThemed(HDC dc, const TRect& rect, bool pressed) override;
    void PaintClassic(HDC dc, const TRect& rect, bool pressed) override;
};
} // namespace AdvSpin

using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;

// Registers the spin edit for streaming, once.
void AdvSpinStartup();

// ---- TAdvSpinButton ----
// The pair of this unit: its vertical buttons do not overlap.
class TAdvSpinButton : public asgspin::TSpinButtonPair {
    DECLARE_CLASS(TAdvSpinButton, asgspin::TSpinButtonPair)

public:
    explicit TAdvSpinButton(TComponent* owner);
    ~TAdvSpinButton() override;

protected:
    String GlyphResourceName(bool up) const override;
    void LayoutButtons(Integer& width, Integer& height) override;
};

class TAdvSpinEdit : public TCustomMaskEdit {
    DECLARE_CLASS(TAdvSpinEdit, TCustomMaskEdit)

public:
    explicit TAdvSpinEdit(TComponent* owner);
    ~TAdvSpinEdit() override;

    TAdvSpinButton* Button() const { return FButton; }
    TLabel* SpinLabel() const { return FLabel; }

    // ---- Values ----
    Integer Value();
    void SetValue(Integer value);
    double FloatValue();
    void SetFloatValue(double value);
    TDateTime DateValue();
    void SetDateValue(TDateTime value);
    TDateTime TimeValue();
    void SetTimeValue(TDateTime value);
    Integer HexValue();
    void SetHexValue(Integer value);

    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer value) { FMinValue = value; }
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer value) { FMaxValue = value; }
    bool CheckMinValue() const { return FCheckMinValue; }
    void SetCheckMinValue(bool value) { FCheckMinValue = value; }
    bool CheckMaxValue() const { return FCheckMaxValue; }
    void SetCheckMaxValue(bool value) { FCheckMaxValue = value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double value) { FMinFloatValue = value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double value) { FMaxFloatValue = value; }
    TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime value) { FMinDateValue = value; }
    TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime value) { FMaxDateValue = value; }
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer value) { FIncrement = value; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double value) { FIncrementFloat = value; }
    Integer IncrementPage() const { return FIncrementPage; }
    void SetIncrementPage(Integer value) { FIncrementPage = value; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double value) { FIncrementFloatPage = value; }
    bool IncrementSmart() const { return FIncrementSmart; }
    void SetIncrementSmart(bool value) { FIncrementSmart = value; }
    Integer IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(Integer value) { FIncrementHours = value; }
    Integer IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(Integer value) { FIncrementMinutes = value; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    AdvSpin::TSpinDirection Direction() const { return FDirection; }
    void SetDirection(AdvSpin::TSpinDirection value);
    AdvSpin::TAdvSpinType SpinType() const { return FSpinType; }
    void SetSpinType(AdvSpin::TAdvSpinType value);
    Integer Precision() const { return FPrecision; }
    void SetPrecision(Integer value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    bool DefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool value) { FDefaultHandling = value; }
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool value);
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool value);
    bool Signed() const { return FSigned; }
    void SetSigned(bool value) { FSigned = value; }
    AdvSpin::TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(AdvSpin::TEditAlign value);
    bool AllowNullValue() const { return FAllowNullValue; }
    void SetAllowNullValue(bool value) { FAllowNullValue = value; }
    String Version() const;
    void SetVersion(const String&) {}

    // ---- Look and label ----
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    TColor DisabledColor() const { return FDisabledColor; }
    void SetDisabledColor(TColor value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value) { FFocusBorderColor = value; }
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor value) { FFocusFontColor = value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    bool Border3D() const { return FBorder3D; }
    void SetBorder3D(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    String LabelCaption() const;
    void SetLabelCaption(const String& value);
    AdvSpin::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AdvSpin::TLabelPosition value);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* value) { FLabelFont->Assign(value); }
    // The edit and its label together.
    virtual bool GetVisible() const { return Visible(); }
    virtual void SetVisible(bool value);
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    bool MouseInControl() const { return FMouseInControl; }

    virtual Integer GetVersionNr() const;
    virtual bool IsCharAllowed(Char& key);
    virtual void StepUp();
    virtual void StepDown();
    void Init();
    void IncSmart();
    void DecSmart();

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;

protected:
    void Loaded() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void Dispatch(TMessage& message) override;
    void CMExit(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void WMChar(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

private:
    friend class AdvSpinPainter;
    void Step(bool up);
    void SmartStep(bool up);
    void WMPaste(TMessage& message);
    void KillFocus();
    void SetFocusColors();
    void WidenAndNarrow();
    void PlaceButton();
    void SetEditRect();
    void SetFlatRect();
    void DrawBorders();
    void UpdateLabel();
    String TimeText(TDateTime value) const;
    bool IntegerRangeActive() const;
    bool DateRangeActive() const;
    bool FloatRangeActive() const;
    Integer ClampInteger(Integer value) const;
    double ClampFloat(double value) const;
    TDateTime ClampDate(TDateTime value) const;
    bool Loading() const { return ComponentState().Contains(csLoading); }

    bool FFlat = false;
    TColor FFlatLineColor = clBlack;
    TColor FDisabledColor = 0xC0C0C0;
    bool FDisabledBorder = true;
    TLabel* FLabel = nullptr; // owned, made by the first LabelCaption
    std::unique_ptr<TFont> FLabelFont;
    AdvSpin::TLabelPosition FLabelPosition = AdvSpin::lpLeftTop;
    Integer FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FMouseInControl = false;
    Integer FMinValue = 0;
    Integer FMaxValue = 0;
    bool FCheckMinValue = false;
    bool FCheckMaxValue = false;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 0.0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    TDateTime FDateValue = 0; // the last written date, with the part not shown
    TDateTime FTimeValue = 0; // the last written time, with the whole days not shown
    Integer FHexValue = 0;
    Integer FIncrement = 1;
    double FIncrementFloat = 0.1;
    Integer FIncrementPage = 10;
    double FIncrementFloatPage = 1.0;
    bool FIncrementSmart = false;
    TAdvSpinButton* FButton = nullptr; // owned as a child component
    bool FEditorEnabled = true;
    AdvSpin::TSpinDirection FDirection = asgspin::spVertical;
    AdvSpin::TAdvSpinType FSpinType = AdvSpin::sptNormal;
    Integer FPrecision = 0;
    bool FReturnIsTab = false;
    TColor FNormalColor = clWindow;
    bool FDefaultHandling = true;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FTransparent = false;
    bool FAutoFocus = false;
    Integer FIncrementHours = 1;
    Integer FIncrementMinutes = 1;
    bool FShowSeconds = true;
    bool FSigned = false;
    bool FLabelAlwaysEnabled = false;
    AdvSpin::TEditAlign FEditAlign = AdvSpin::eaLeft;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FFocusBorder = false;
    TColor FFocusColor = clWindow;
    TColor FFontColor = 0;
    bool FAllowNullValue = true;
    bool FBlockChange = false;
    bool FFocusLabel = false;
    bool FBorder3D = false;
    bool FIsThemed = false;
    bool FParentFnt = true;
    TColor FFocusFontColor = clWindowText;
    bool FDesignTime = false;
    bool FRaisingHeight = false; // PlaceButton is raising the height to the minimum
};
