// The grid's spin editor: a masked edit with a pair of repeating spin buttons at its right edge, the
// value model, stepping and character filter it shares with the stand-alone spin edit, and the grid's
// in-place wrapper.
#pragma once

#include <array>
#include <memory>

#include "platform/framework/Buttons.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Mask.h"

class TAdvStringGrid;

namespace asgspin {

ZELMOR_ENUM(TSpinDirection, spVertical, spHorizontal)
// The arrow a timer button shows.
ZELMOR_ENUM(TButtonDirection, bdLeft, bdRight, bdUp, bdDown)
ZELMOR_ENUM(TTimeBtnStateItem, tbFocusRect, tbAllowTimer)
using TTimeBtnState = TSet<TTimeBtnStateItem>;
ZELMOR_ENUM(TEditAlign, eaLeft, eaRight, eaCenter)

// Registers the spin glyph bitmaps with the program's resources, once.
void RegisterSpinGlyphs();

// ---- What both spin edits share ----

enum class DateField { Day, Month, Year };
// The order of the fields of a short date format. Month first when the first "M" comes before the
// first "D"; with yearAware, a "Y" before the "M" puts the year first.
std::array<DateField, 3> DateFieldOrder(StringView shortDateFormat, bool yearAware);
// The field under caret (0-based) of a date text: before the first separator the first field, before
// the next one the second, else the third.
DateField DateFieldAtCaret(StringView text, Integer caret, Char separator,
                           const std::array<DateField, 3>& order);
// value with one field moved by delta (±1). A month step keeps the day unless the target month is
// shorter, and takes its last day then; a year step from 29 February lands on the 28th. The time of day
// stays.
TDateTime StepDateField(TDateTime value, DateField field, Integer delta);
// A time step in days. Increments of 24 hours, 60 minutes or 60 seconds and more step by that part of a
// day rather than failing in a time encoding.
double TimeStepDays(Integer hours, Integer minutes, Integer seconds);
// Whether separator, typed into a field whose type is not its own, stays allowed: only for the number
// types, and only when it doubles as the decimal or thousands separator or a sign.
bool ForeignSeparatorAllowed(Char separator, bool numberType);
// An integer field's value: 0 when the text is blank, fallback when it is no integer.
Integer IntegerFieldValue(const String& text, Integer fallback);
// Whether a float field with precision decimals (0 for any) already holds all of them after the caret,
// so that a character typed there would add one too many.
bool DecimalsFull(StringView text, Integer precision, Integer selStart);
// The caret's field of a time text: 0 hours (before the first separator), 1 minutes, 2 seconds.
Integer TimeFieldAtCaret(StringView text, Integer caret, Char separator, bool showSeconds);
// The least height of a spin edit in font: its text height plus a quarter of the smaller of it and the
// system font's, plus 2; with a single border 4 border heights more.
Integer SpinEditMinHeight(TFont* font, bool singleBorder);

// ---- TAdvTimerSpeedButton ----
// One button of a spin pair: repeats its click while held (400 ms after the press, then every 100 ms)
// and paints itself high-contrast, in its owner's custom colours, themed or classic.
class TAdvTimerSpeedButton : public TSpeedButton {
    DECLARE_CLASS(TAdvTimerSpeedButton, TSpeedButton)

public:
    using TSpeedButton::TSpeedButton;
    ~TAdvTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState value);
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection value) { FButtonDirection = value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value) { FIsWinXP = value; }
    bool HasMouse() const { return FHasMouse; }
    // The repeat timer; null before the first press.
    TTimer* RepeatTimer() const { return FRepeatTimer.get(); }

protected:
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    // The colours the custom-colour branch reads: those of the owning spin pair.
    virtual void OwnerColors(TColor& normal, TColor& hot, TColor& down) const;
    // The themed branch; false when it did not paint (no theme data), so the classic one runs.
    virtual bool PaintThemed(HDC dc, const TRect& rect, bool pressed);
    virtual void PaintClassic(HDC dc, const TRect& rect, bool pressed);
    void PaintInherited() { TSpeedButton::Paint(); }
    bool Pressed() const { return State() == bsDown || State() == bsExclusive; }

    bool FIsWinXP = false;
    bool FHasMouse = false;

private:
    void TimerExpired(TObject* sender);

    std::unique_ptr<TTimer> FRepeatTimer;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
};

// The points of the high-contrast and custom-colour arrows, for painting and tests.
std::array<TPoint, 3> HighContrastArrow(TButtonDirection direction, const TRect& rect);
std::array<TPoint, 3> ColoredArrow(TButtonDirection direction, const TRect& rect);

// ---- The spin pair's shared body ----
// Two timer buttons laid out vertically or horizontally, a focus indicator between them and the click
// events. The stand-alone spin edit's pair differs only in its vertical layout, glyphs and timer class.
class TSpinButtonPair : public TWinControl {
    DECLARE_CLASS(TSpinButtonPair, TWinControl)

public:
    explicit TSpinButtonPair(TComponent* owner);
    ~TSpinButtonPair() override;

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor value) { FButtonColor = value; }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor value) { FButtonColorHot = value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor value) { FButtonColorDown = value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor value) { FButtonTextColor = value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor value) { FButtonTextColorHot = value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor value) { FButtonTextColorDown = value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor value) { FButtonBorderColor = value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection value);
    TBitmap* UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(TBitmap* value);
    TBitmap* DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(TBitmap* value);
    TNumGlyphs UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(TNumGlyphs value) { FUpButton->SetNumGlyphs(value); }
    TNumGlyphs DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(TNumGlyphs value) { FDownButton->SetNumGlyphs(value); }
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

    TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
    TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
    TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    // Makes the two buttons; the constructors of the two pairs call it with their own button class.
    template <class Button> void CreateButtons() {
        FUpButton = new Button(this);
        FDownButton = new Button(this);
        SetUpButtons();
    }
    // The default glyph of one button, by resource name.
    virtual String GlyphResourceName(bool up) const;
    // Places the buttons for width and height; returns the corrected size.
    virtual void LayoutButtons(Integer& width, Integer& height);
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;
    void LoadDefaultGlyph(TAdvTimerSpeedButton* button, bool up);

private:
    void SetUpButtons();
    void ButtonMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ButtonClick(TObject* sender);
    void SetFocusBtn(TAdvTimerSpeedButton* button);

    TAdvTimerSpeedButton* FUpButton = nullptr;
    TAdvTimerSpeedButton* FDownButton = nullptr;
    TAdvTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

} // namespace asgspin

// Registers the spin editor and its button pair for streaming, once.
void AsgSpinStartup();

ZELMOR_ENUM(TAsgSpinType, sptNormal, sptFloat, sptDate, sptTime)

// ---- TAsgSpinButton ----
class TAsgSpinButton : public asgspin::TSpinButtonPair {
    DECLARE_CLASS(TAsgSpinButton, asgspin::TSpinButtonPair)

public:
    explicit TAsgSpinButton(TComponent* owner);
    ~TAsgSpinButton() override;

    bool IsWinXP() const { return FIsWinXP; }
    // Stores the theme flag and hands it to both timer buttons.
    void SetIsWinXP(bool value);

private:
    bool FIsWinXP = false;
};

// ---- TAsgSpinEdit ----
// Integer, float, date and time values in a masked edit: the range clamps when its bounds differ, the
// buttons, arrow and page keys step by type, and typed characters are filtered by type.
class TAsgSpinEdit : public TCustomMaskEdit {
    DECLARE_CLASS(TAsgSpinEdit, TCustomMaskEdit)

public:
    explicit TAsgSpinEdit(TComponent* owner);
    ~TAsgSpinEdit() override;

    TAsgSpinButton* Button() const { return FButton; }

    Integer Value();
    void SetValue(Integer value);
    double FloatValue();
    void SetFloatValue(double value);
    TDateTime DateValue();
    void SetDateValue(TDateTime value);
    TDateTime TimeValue();
    void SetTimeValue(TDateTime value);

    Integer MinValue() const { return FMinValue; }
    void SetMinValue(Integer value) { FMinValue = value; }
    Integer MaxValue() const { return FMaxValue; }
    void SetMaxValue(Integer value) { FMaxValue = value; }
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
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double value) { FIncrementFloatPage = value; }
    Integer IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(Integer value) { FIncrementHours = value; }
    Integer IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(Integer value) { FIncrementMinutes = value; }
    Integer IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(Integer value) { FIncrementSeconds = value; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    asgspin::TSpinDirection Direction() const { return FDirection; }
    void SetDirection(asgspin::TSpinDirection value);
    TAsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TAsgSpinType value);
    Integer Precision() const { return FPrecision; }
    void SetPrecision(Integer value);
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool value) { FReturnIsTab = value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool value) { FExcelStyleDecimalSeparator = value; }
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool value) { FShowSeconds = value; }
    asgspin::TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(asgspin::TEditAlign value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool value);
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool value) { FAllowEmptyValue = value; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value);
    // Whether the last date step read the short date format as month first.
    bool UsDates() const { return FUsDates; }

    virtual void StepUp(bool page);
    virtual void StepDown(bool page);
    virtual bool IsCharAllowed(Char& key);
    virtual void UpButtonClick(TObject* sender);
    virtual void DownButtonClick(TObject* sender);

protected:
    void Loaded() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void Dispatch(TMessage& message) override;
    void CMEnter(TMessage& message) override;
    void CMExit(TMessage& message) override;

private:
    void Step(bool up, bool page);
    void SetEditRect();
    void PlaceButton();
    void WidenAndNarrow();
    String TimeText(TDateTime value) const;

    Integer FMinValue = 0;
    Integer FMaxValue = 100;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 100.0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    Integer FIncrement = 1;
    double FIncrementFloat = 0.1;
    TAsgSpinButton* FButton = nullptr; // owned as a child component
    bool FEditorEnabled = true;
    asgspin::TSpinDirection FDirection = asgspin::spVertical;
    TAsgSpinType FSpinType = sptNormal;
    Integer FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FUsDates = false;
    bool FShowSeconds = true;
    Integer FIncrementSeconds = 1;
    Integer FIncrementMinutes = 1;
    Integer FIncrementHours = 1;
    asgspin::TEditAlign FEditAlign = asgspin::eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    double FIncrementFloatPage = 1.0;
    bool FRaisingHeight = false; // PlaceButton is raising the height to the minimum
};

// ---- TGridSpin ----
// The grid's spin in-place editor. The grid makes it on first use, fills it from the cell before each
// edit and takes the value back when the edit ends. Enter, Tab and Alt+Up or Alt+Down validate the text
// through the grid, which keeps the editor open on a refusal; Escape gives the cell its text back;
// losing the focus stores the value without validation.
class TGridSpin : public TAsgSpinEdit {
    DECLARE_CLASS(TGridSpin, TAsgSpinEdit)

public:
    explicit TGridSpin(TComponent* owner);

    void UpButtonClick(TObject* sender) override;
    void DownButtonClick(TObject* sender) override;

protected:
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void Dispatch(TMessage& message) override;
    void CMWantSpecialKey(TMessage& message) override;
    void Change() override;
    void DoExit() override;

private:
    // The owning grid; null while it is being destroyed.
    TAdvStringGrid* Grid() const;
    // Integer and float values into their range, when the range's bounds differ.
    void ClampRange();
    void FireSpinClick(bool up);
    // Alt+PgUp, Alt+PgDn, End and Home: a page step within the range, the minimum or the maximum.
    bool RangeKey(Word key);
};
