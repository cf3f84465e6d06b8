// The grid's spin editor, its repeating button pair and the stepping rules both spin edits share.
#include "grid/view/asgspin.h"

#include <algorithm>
#include <cmath>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/windraw.h"
#include "render/VerIRID.h"

void RegisterSpinBitmaps();

using namespace asgspin;

DEFINE_CLASS(asgspin::TAdvTimerSpeedButton)
DEFINE_CLASS(asgspin::TSpinButtonPair, PROPERTY(ButtonColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ButtonColorHot).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ButtonColorDown).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ButtonTextColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ButtonTextColorHot).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ButtonTextColorDown).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ButtonBorderColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(Direction).Default(spVertical), PROPERTY(UpNumGlyphs).Default(1),
             PROPERTY(DownNumGlyphs).Default(1), PROPERTY(FocusControl), EVENT(OnUpClick), EVENT(OnDownClick))
DEFINE_CLASS(TAsgSpinButton)
DEFINE_CLASS(TAsgSpinEdit, PROPERTY(ExcelStyleDecimalSeparator).Default(false),
             PROPERTY(Direction).Default(spVertical), PROPERTY(ReturnIsTab).Default(false),
             PROPERTY(Precision).Default(0), PROPERTY(SpinType).Default(sptNormal),
             PROPERTY(Value).Default(0), PROPERTY(FloatValue), PROPERTY(TimeValue), PROPERTY(DateValue),
             PROPERTY(ShowSeconds).Default(true), PROPERTY(SpinFlat).Default(false),
             PROPERTY(SpinTransparent).Default(false), PROPERTY(AllowEmptyValue).Default(false),
             PROPERTY(EditAlign).Default(eaLeft), PROPERTY(EditorEnabled).Default(true),
             PROPERTY(Increment).Default(1), PROPERTY(IncrementFloat), PROPERTY(IncrementFloatPage),
             PROPERTY(IncrementMinutes).Default(1), PROPERTY(IncrementSeconds).Default(1),
             PROPERTY(IncrementHours).Default(1), PROPERTY(MinValue).Default(0),
             PROPERTY(MaxValue).Default(0), PROPERTY(MinFloatValue), PROPERTY(MaxFloatValue),
             PROPERTY(MinDateValue), PROPERTY(MaxDateValue))
DEFINE_CLASS(TGridSpin)

void AsgSpinStartup() {
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterSpinGlyphs();
    RegisterClasses({TAsgSpinEdit::StaticClass(), TAsgSpinButton::StaticClass()});
}

namespace asgspin {

void RegisterSpinGlyphs() {
    RegisterSpinBitmaps();
}

// ---- Shared stepping rules ----

std::array<DateField, 3> DateFieldOrder(StringView shortDateFormat, bool yearAware) {
    String format = UpperCase(shortDateFormat);
    auto m = format.find(u'M');
    auto d = format.find(u'D');
    auto y = format.find(u'Y');
    bool monthFirst = m != String::npos && (d == String::npos || m < d);
    bool yearFirst = yearAware && y != String::npos && (m == String::npos || y < m);
    if (monthFirst)
        return yearFirst ? std::array{DateField::Year, DateField::Month, DateField::Day}
                         : std::array{DateField::Month, DateField::Day, DateField::Year};
    return yearFirst ? std::array{DateField::Year, DateField::Day, DateField::Month}
                     : std::array{DateField::Day, DateField::Month, DateField::Year};
}

DateField DateFieldAtCaret(StringView text, Integer caret, Char separator,
                           const std::array<DateField, 3>& order) {
    // 1-based positions of the separators, 0 when missing, as the field rule counts them.
    auto first = text.find(separator);
    Integer p1 = first == StringView::npos ? 0 : static_cast<Integer>(first) + 1;
    Integer p2 = 0;
    if (p1 > 0) {
        auto second = text.find(separator, static_cast<size_t>(p1));
        p2 = second == StringView::npos ? 0 : static_cast<Integer>(second) + 1;
    }
    if (caret < p1)
        return order[0];
    if (caret < p2)
        return order[1];
    return order[2];
}

TDateTime StepDateField(TDateTime value, DateField field, Integer delta) {
    double timeOfDay = value - std::trunc(value);
    Word year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    switch (field) {
    case DateField::Day:
        return value + delta;
    case DateField::Month: {
        Integer months = year * 12 + (month - 1) + delta;
        if (months < 12 || months >= 10000 * 12)
            return value;
        Word newYear = static_cast<Word>(months / 12);
        Word newMonth = static_cast<Word>(months % 12 + 1);
        Word newDay = std::min<Word>(day, DaysInAMonth(newYear, newMonth));
        TDateTime date = EncodeDate(newYear, newMonth, newDay);
        return date + (date < 0 ? -timeOfDay : timeOfDay);
    }
    case DateField::Year:
    default: {
        Integer newYear = year + delta;
        if (newYear < 1 || newYear > 9999)
            return value;
        // 29 February of a leap year has no twin in the years around it: the step lands on the 28th.
        Word newDay = std::min<Word>(day, DaysInAMonth(static_cast<Word>(newYear), month));
        TDateTime date = EncodeDate(static_cast<Word>(newYear), month, newDay);
        return date + (date < 0 ? -timeOfDay : timeOfDay);
    }
    }
}

double TimeStepDays(Integer hours, Integer minutes, Integer seconds) {
    return hours / 24.0 + minutes / 1440.0 + seconds / 86400.0;
}

bool ForeignSeparatorAllowed(Char separator, bool numberType) {
    return numberType &&
           (separator == FormatSettings.DecimalSeparator || separator == FormatSettings.ThousandSeparator ||
            separator == u'-' || separator == u'+');
}

Integer IntegerFieldValue(const String& text, Integer fallback) {
    String trimmed = Trim(text);
    if (trimmed.empty())
        return 0;
    Integer value = 0;
    return TryStrToInt(trimmed, value) ? value : fallback;
}

bool DecimalsFull(StringView text, Integer precision, Integer selStart) {
    auto separator = text.find(FormatSettings.DecimalSeparator);
    if (precision <= 0 || separator == StringView::npos)
        return false;
    Integer p = static_cast<Integer>(separator) + 1;
    return selStart >= p && static_cast<Integer>(text.size()) >= p + precision;
}

Integer TimeFieldAtCaret(StringView text, Integer caret, Char separator, bool showSeconds) {
    auto first = text.find(separator);
    Integer p1 = first == StringView::npos ? 0 : static_cast<Integer>(first) + 1;
    Integer p2 = 0;
    if (p1 > 0) {
        auto second = text.find(separator, static_cast<size_t>(p1));
        p2 = second == StringView::npos ? 0 : static_cast<Integer>(second) + 1;
    }
    if (caret < p1)
        return 0;
    if (showSeconds && caret >= p2)
        return 2;
    return 1;
}

// ---- TAdvTimerSpeedButton ----

TAdvTimerSpeedButton::~TAdvTimerSpeedButton() = default;

void TAdvTimerSpeedButton::SetTimeBtnState(TTimeBtnState value) {
    FTimeBtnState = value;
    Invalidate();
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TSpeedButton::MouseDown(button, shift, x, y);
    if (FTimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = std::make_unique<TTimer>(nullptr);
            FRepeatTimer->OnTimer = [this](TObject* sender) { TimerExpired(sender); };
        }
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (Parent() != nullptr)
        Parent()->Invalidate();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TSpeedButton::MouseUp(button, shift, x, y);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    if (Parent() != nullptr)
        Parent()->Invalidate();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*) {
    FRepeatTimer->SetInterval(100);
    if (State() == bsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

void TAdvTimerSpeedButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
        TSpeedButton::Dispatch(message);
        FHasMouse = true;
        Invalidate();
        break;
    case CM_MOUSELEAVE:
        TSpeedButton::Dispatch(message);
        FHasMouse = false;
        Invalidate();
        break;
    default:
        TSpeedButton::Dispatch(message);
    }
}

std::array<TPoint, 3> HighContrastArrow(TButtonDirection direction, const TRect& rect) {
    int r = rect.Right;
    int t = rect.Top;
    switch (direction) {
    case bdLeft:
        return {TPoint(r - 3, t + 5), TPoint(r - 6, t + 7), TPoint(r - 3, t + 9)};
    case bdRight:
        return {TPoint(r - 6, t + 5), TPoint(r - 3, t + 7), TPoint(r - 6, t + 9)};
    case bdUp:
        return {TPoint(r - 10, t + 6), TPoint(r - 4, t + 6), TPoint(r - 7, t + 3)};
    case bdDown:
    default:
        return {TPoint(r - 10, t + 3), TPoint(r - 4, t + 3), TPoint(r - 7, t + 6)};
    }
}

std::array<TPoint, 3> ColoredArrow(TButtonDirection direction, const TRect& rect) {
    int l = rect.Left;
    int t = rect.Top;
    switch (direction) {
    case bdLeft:
        return {TPoint(l + 5, t + 5), TPoint(l + 3, t + 7), TPoint(l + 5, t + 9)};
    case bdRight:
        return {TPoint(l + 3, t + 5), TPoint(l + 5, t + 7), TPoint(l + 3, t + 9)};
    case bdUp:
        return {TPoint(l + 4, t + 4), TPoint(l + 8, t + 4), TPoint(l + 6, t + 2)};
    case bdDown:
    default:
        return {TPoint(l + 4, t + 2), TPoint(l + 8, t + 2), TPoint(l + 6, t + 4)};
    }
}

void TAdvTimerSpeedButton::OwnerColors(TColor& normal, TColor& hot, TColor& down) const {
    normal = hot = down = clNone;
    if (auto* pair = dynamic_cast<TSpinButtonPair*>(Owner())) {
        normal = pair->ButtonColor();
        hot = pair->ButtonColorHot();
        down = pair->ButtonColorDown();
    }
}

bool TAdvTimerSpeedButton::PaintThemed(HDC dc, const TRect& rect, bool pressed) {
    if (!FIsWinXP || VerIRID::OpenThemeData == nullptr || Parent() == nullptr)
        return false;
    HTHEME theme = VerIRID::OpenThemeData(Parent()->Handle(), u"spin");
    if (theme == nullptr)
        return false;
    int part = FButtonDirection == bdUp      ? 1
               : FButtonDirection == bdDown  ? 2
               : FButtonDirection == bdRight ? 3
                                             : 4;
    int state = pressed ? 3 : FHasMouse ? 2 : 1;
    RECT r = rect;
    VerIRID::DrawThemeBackground(theme, dc, part, state, &r, nullptr);
    VerIRID::CloseThemeData(theme);
    return true;
}

void TAdvTimerSpeedButton::PaintClassic(HDC dc, const TRect& rect, bool pressed) {
    if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
        RECT r = rect;
        UINT state = FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (pressed)
            state |= DFCS_PUSHED;
        if (Flat())
            state |= DFCS_FLAT;
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
        return;
    }
    PaintInherited();
}

void TAdvTimerSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect(0, 0, Width(), Height());
    bool pressed = Pressed();
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, 0, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON)) {
        canvas->Brush()->SetColor(clBlack);
        canvas->Pen()->SetColor(clBlack);
        canvas->Rectangle(rect);
        canvas->Brush()->SetColor(clWhite);
        canvas->Pen()->SetColor(clWhite);
        auto points = HighContrastArrow(FButtonDirection, rect);
        canvas->Polygon(std::span<const TPoint>(points));
        return;
    }
    TColor normal = clNone, hot = clNone, down = clNone;
    OwnerColors(normal, hot, down);
    if (normal != clNone) {
        TColor fill = pressed ? down : FHasMouse ? hot : normal;
        canvas->Brush()->SetColor(fill);
        canvas->Pen()->SetColor(fill);
        canvas->Rectangle(rect);
        canvas->Brush()->SetColor(clBlack);
        canvas->Pen()->SetColor(clBlack);
        auto points = ColoredArrow(FButtonDirection, rect);
        canvas->Polygon(std::span<const TPoint>(points));
        return;
    }
    if (PaintThemed(canvas->Handle(), rect, pressed))
        return;
    PaintClassic(canvas->Handle(), rect, pressed);
}

// ---- TSpinButtonPair ----

TSpinButtonPair::TSpinButtonPair(TComponent* owner) : TWinControl(owner) {
    SetControlStyle((ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption}) +
                    TControlStyle{csOpaque});
    TWinControl::SetBounds(0, 0, 15, 25);
}

TSpinButtonPair::~TSpinButtonPair() = default;

void TSpinButtonPair::SetUpButtons() {
    RegisterSpinGlyphs();
    for (TAdvTimerSpeedButton* button : {FUpButton, FDownButton}) {
        button->SetVisible(true);
        button->SetEnabled(true);
        button->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
        button->SetParent(this);
        button->OnClick = [this](TObject* sender) { ButtonClick(sender); };
        button->OnMouseDown = [this](TObject* sender, TMouseButton mb, TShiftState shift, int x, int y) {
            ButtonMouseDown(sender, mb, shift, x, y);
        };
    }
    FUpButton->SetButtonDirection(bdUp);
    FDownButton->SetButtonDirection(bdDown);
    LoadDefaultGlyph(FUpButton, true);
    LoadDefaultGlyph(FDownButton, false);
    FFocusedButton = FUpButton;
    Integer width = Width();
    Integer height = Height();
    LayoutButtons(width, height);
}

String TSpinButtonPair::GlyphResourceName(bool up) const {
    return up ? u"AsgSpinUp" : u"AsgSpinDown";
}

void TSpinButtonPair::LoadDefaultGlyph(TAdvTimerSpeedButton* button, bool up) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(0, GlyphResourceName(up));
    button->SetGlyph(&bitmap);
    button->SetNumGlyphs(1);
    button->Invalidate();
}

void TSpinButtonPair::SetUpGlyph(TBitmap* value) {
    if (value != nullptr)
        FUpButton->SetGlyph(value);
    else
        LoadDefaultGlyph(FUpButton, true);
}

void TSpinButtonPair::SetDownGlyph(TBitmap* value) {
    if (value != nullptr)
        FDownButton->SetGlyph(value);
    else
        LoadDefaultGlyph(FDownButton, false);
}

void TSpinButtonPair::LayoutButtons(Integer& width, Integer& height) {
    if (FDirection == spVertical) {
        width = std::max<Integer>(width, 15);
        Integer upHeight = height / 2;
        FUpButton->SetBounds(0, 0, width, upHeight);
        FDownButton->SetBounds(0, upHeight - 1, width, height - upHeight + 1);
    } else {
        width = std::max<Integer>(width, 20);
        FDownButton->SetBounds(0, 0, width / 2, height);
        FUpButton->SetBounds(width / 2 + 1, 0, width / 2, height);
    }
}

void TSpinButtonPair::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    if (FUpButton != nullptr && !ComponentState().Contains(csLoading))
        LayoutButtons(width, height);
    TWinControl::SetBounds(left, top, width, height);
}

void TSpinButtonPair::Loaded() {
    TWinControl::Loaded();
    SetBounds(Left(), Top(), Width(), Height());
}

void TSpinButtonPair::SetDirection(TSpinDirection value) {
    if (value == FDirection)
        return;
    FDirection = value;
    if (value == spHorizontal) {
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
        SetBounds(Left(), Top(), 20, Height());
    } else {
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
        SetBounds(Left(), Top(), 15, Height());
    }
    RecreateWnd();
}

void TSpinButtonPair::SetFocusControl(TWinControl* value) {
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value != nullptr)
        value->FreeNotification(this);
}

void TSpinButtonPair::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl)
        FFocusControl = nullptr;
}

void TSpinButtonPair::SetFocusBtn(TAdvTimerSpeedButton* button) {
    if (!TabStop() || !CanFocus() || button == FFocusedButton)
        return;
    auto state = FFocusedButton->TimeBtnState();
    state.Exclude(tbFocusRect);
    FFocusedButton->SetTimeBtnState(state);
    FFocusedButton = button;
    if (HandleAllocated() && GetFocus() == Handle()) {
        state = FFocusedButton->TimeBtnState();
        state.Include(tbFocusRect);
        FFocusedButton->SetTimeBtnState(state);
        Invalidate();
    }
}

void TSpinButtonPair::ButtonMouseDown(TObject* sender, TMouseButton button, TShiftState, int, int) {
    if (button != mbLeft)
        return;
    SetFocusBtn(static_cast<TAdvTimerSpeedButton*>(sender));
    if (FFocusControl != nullptr && FFocusControl->TabStop() && FFocusControl->CanFocus() &&
        !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TSpinButtonPair::ButtonClick(TObject* sender) {
    if (sender == FUpButton) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}

void TSpinButtonPair::KeyDown(Word& key, TShiftState shift) {
    switch (key) {
    case VK_SPACE:
        FFocusedButton->Click();
        break;
    case VK_UP:
        SetFocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        SetFocusBtn(FDownButton);
        FDownButton->Click();
        break;
    default:
        TWinControl::KeyDown(key, shift);
    }
}

void TSpinButtonPair::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS;
        break;
    case WM_SIZE:
        TWinControl::Dispatch(message);
        if (FUpButton != nullptr && !ComponentState().Contains(csLoading)) {
            Integer width = Width();
            Integer height = Height();
            LayoutButtons(width, height);
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        TWinControl::Dispatch(message);
        auto state = FFocusedButton->TimeBtnState();
        if (message.Msg == WM_SETFOCUS)
            state.Include(tbFocusRect);
        else
            state.Exclude(tbFocusRect);
        FFocusedButton->SetTimeBtnState(state);
        FFocusedButton->Invalidate();
        break;
    }
    default:
        TWinControl::Dispatch(message);
    }
}

} // namespace asgspin

// ---- TAsgSpinButton ----

TAsgSpinButton::TAsgSpinButton(TComponent* owner) : TSpinButtonPair(owner) {
    CreateButtons<TAdvTimerSpeedButton>();
}

TAsgSpinButton::~TAsgSpinButton() = default;

void TAsgSpinButton::SetIsWinXP(bool value) {
    FIsWinXP = value;
    UpButton()->SetIsWinXP(value);
    DownButton()->SetIsWinXP(value);
}
