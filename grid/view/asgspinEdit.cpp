// The grid's spin editor: value accessors and clamping, stepping by type, keys, the character filter,
// clipboard and focus rules, and the placement of its button pair.
#include "grid/view/asgspin.h"

#include <algorithm>
#include <cmath>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winctrl.h"

using namespace asgspin;

namespace asgspin {

Integer SpinEditMinHeight(TFont* font, bool singleBorder) {
    HDC dc = GetDC(nullptr);
    TEXTMETRICW metrics{};
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(dc, &metrics);
    Integer system = metrics.tmHeight;
    SelectObject(dc, font->Handle());
    GetTextMetricsW(dc, &metrics);
    Integer own = metrics.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    Integer height = own + std::min(system, own) / 4 + 2;
    if (singleBorder)
        height += 4 * GetSystemMetrics(SM_CYBORDER);
    return height;
}

} // namespace asgspin

namespace {

// The range rule of the grid's editor: inactive when the bounds are equal, the lower bound first.
template <class T> T ClampToRange(T value, T minimum, T maximum) {
    if (minimum == maximum)
        return value;
    if (value <= minimum)
        return minimum;
    if (value >= maximum)
        return maximum;
    return value;
}

bool Contains(StringView text, Char c) {
    return text.find(c) != StringView::npos;
}

} // namespace

TAsgSpinEdit::TAsgSpinEdit(TComponent* owner) : TCustomMaskEdit(owner) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    FButton = new TAsgSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* sender) { UpButtonClick(sender); };
    FButton->OnDownClick = [this](TObject* sender) { DownButtonClick(sender); };
    SetText(u"0");
}

TAsgSpinEdit::~TAsgSpinEdit() {
    FButton = nullptr;
}

// ---- Values ----

Integer TAsgSpinEdit::Value() {
    return IntegerFieldValue(Text(), FMinValue);
}

void TAsgSpinEdit::SetValue(Integer value) {
    SetText(IntToStr(ClampToRange(value, FMinValue, FMaxValue)));
    if (!FEditorEnabled && HandleAllocated())
        SelectAll();
}

double TAsgSpinEdit::FloatValue() {
    Extended value = 0;
    if (!TryStrToFloat(Text(), value))
        return FMinValue;
    return static_cast<double>(value);
}

void TAsgSpinEdit::SetFloatValue(double value) {
    value = ClampToRange(value, FMinFloatValue, FMaxFloatValue);
    if (FPrecision == 0)
        SetText(FloatToStr(value));
    else
        SetText(FloatToStrF(value, ffFixed, 15, FPrecision));
}

TDateTime TAsgSpinEdit::DateValue() {
    String text = Text();
    if (text == u"0" || text.empty())
        return Now();
    TDateTime value = 0;
    return TryStrToDate(text, value) ? value : FMinDateValue;
}

void TAsgSpinEdit::SetDateValue(TDateTime value) {
    FDateValue = value;
    if (ComponentState().Contains(csLoading))
        return;
    FDateValue = ClampToRange(value, FMinDateValue, FMaxDateValue);
    Integer caret = SelStart();
    SetText(DateToStr(FDateValue));
    SetSelStart(caret);
}

TDateTime TAsgSpinEdit::TimeValue() {
    TDateTime value = 0;
    return TryStrToTime(Text(), value) ? value : 0;
}

String TAsgSpinEdit::TimeText(TDateTime value) const {
    return FShowSeconds ? FormatDateTime(FormatSettings.LongTimeFormat, value)
                        : FormatDateTime(u"h:nn", value);
}

void TAsgSpinEdit::SetTimeValue(TDateTime value) {
    FTimeValue = value;
    if (ComponentState().Contains(csLoading))
        return;
    FTimeValue = ClampToRange(value, FMinDateValue, FMaxDateValue);
    Integer caret = SelStart();
    SetText(TimeText(FTimeValue));
    SetSelStart(caret);
}

void TAsgSpinEdit::SetSpinType(TAsgSpinType value) {
    FSpinType = value;
    switch (value) {
    case sptNormal:
        SetValue(Value());
        break;
    case sptFloat:
        SetFloatValue(FloatValue());
        break;
    case sptDate:
        SetDateValue(DateValue());
        break;
    case sptTime:
        SetTimeValue(TimeValue());
        break;
    }
}

void TAsgSpinEdit::SetPrecision(Integer value) {
    FPrecision = value;
    if (FSpinType == sptFloat)
        SetFloatValue(FloatValue());
}

void TAsgSpinEdit::WidenAndNarrow() {
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TAsgSpinEdit::SetDirection(TSpinDirection value) {
    if (value == FDirection)
        return;
    FDirection = value;
    FButton->SetDirection(value);
    WidenAndNarrow();
}

void TAsgSpinEdit::SetSpinFlat(bool value) {
    FButton->UpButton()->SetFlat(value);
    FButton->DownButton()->SetFlat(value);
    FSpinFlat = value;
}

void TAsgSpinEdit::SetSpinTransparent(bool value) {
    FButton->UpButton()->SetTransparent(value);
    FButton->DownButton()->SetTransparent(value);
    FSpinTransparent = value;
    WidenAndNarrow();
}

void TAsgSpinEdit::SetEditAlign(TEditAlign value) {
    FEditAlign = value;
    RecreateWnd();
}

void TAsgSpinEdit::SetIsWinXP(bool value) {
    FIsWinXP = value;
    FButton->SetIsWinXP(value);
}

void TAsgSpinEdit::Loaded() {
    TCustomMaskEdit::Loaded();
    if (FSpinType == sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == sptTime)
        SetText(TimeText(FTimeValue));
    SetSpinType(FSpinType);
}

// ---- Window and placement ----

void TAsgSpinEdit::CreateParams(TCreateParams& params) {
    TCustomMaskEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FEditAlign == eaRight)
        params.Style = (params.Style | ES_RIGHT) & ~static_cast<DWORD>(ES_CENTER);
    else if (FEditAlign == eaCenter)
        params.Style = (params.Style | ES_CENTER) & ~static_cast<DWORD>(ES_RIGHT);
}

void TAsgSpinEdit::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    // The window may be made at its final size, with no size message to place the buttons.
    PlaceButton();
}

void TAsgSpinEdit::SetEditRect() {
    if (!HandleAllocated())
        return;
    Integer e = BorderStyle() == bsNone ? 3 : 0;
    RECT rect{e, e, ClientWidth() - FButton->Width() - 2 - e, ClientHeight() + 1};
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

void TAsgSpinEdit::PlaceButton() {
    bool single = BorderStyle() == bsSingle;
    Integer minimum = SpinEditMinHeight(Font(), single);
    // An auto-sized edit takes its height from its font and would answer a raise with that height
    // again; its buttons are placed in the height it keeps.
    if (Height() < minimum && !AutoSize()) {
        if (FRaisingHeight)
            return;
        FRaisingHeight = true;
        SetHeight(minimum);
        FRaisingHeight = false;
        if (Height() >= minimum)
            return;
    }
    if (Ctl3D()) {
        Integer d = single ? 5 : 1;
        FButton->SetBounds(Width() - FButton->Width() - d, 0, FButton->Width(), Height() - d);
    } else {
        FButton->SetBounds(Width() - FButton->Width(), 1, FButton->Width(), Height() - 3);
    }
    SetEditRect();
}

// ---- Stepping ----

void TAsgSpinEdit::Step(bool up, bool page) {
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    Integer sign = up ? 1 : -1;
    switch (FSpinType) {
    case sptNormal:
        SetValue(Value() + sign * FIncrement);
        break;
    case sptFloat:
        SetFloatValue(FloatValue() + sign * (page ? FIncrementFloatPage : FIncrementFloat));
        break;
    case sptDate: {
        auto order = DateFieldOrder(FormatSettings.ShortDateFormat, false);
        FUsDates = order[0] == DateField::Month;
        DateField field = DateFieldAtCaret(Text(), SelStart(), FormatSettings.DateSeparator, order);
        SetDateValue(StepDateField(DateValue(), field, sign));
        break;
    }
    case sptTime: {
        Integer part = TimeFieldAtCaret(Text(), SelStart(), FormatSettings.TimeSeparator, FShowSeconds);
        double step = part == 0   ? TimeStepDays(FIncrementHours, 0, 0)
                      : part == 2 ? TimeStepDays(0, 0, FIncrementSeconds)
                                  : TimeStepDays(0, FIncrementMinutes, 0);
        TDateTime value = TimeValue();
        if (up) {
            value += step;
        } else {
            value = value + 1 - step;
            if (value > 1)
                value -= 1;
        }
        // Only the time of day is shown; whole days fall away so the text wraps at midnight.
        SetTimeValue(value - std::floor(value));
        break;
    }
    }
}

void TAsgSpinEdit::StepUp(bool page) {
    Step(true, page);
}

void TAsgSpinEdit::StepDown(bool page) {
    Step(false, page);
}

void TAsgSpinEdit::UpButtonClick(TObject*) {
    StepUp(false);
}

void TAsgSpinEdit::DownButtonClick(TObject*) {
    StepDown(false);
}

// ---- Keys and characters ----

void TAsgSpinEdit::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (key == VK_DELETE && !FEditorEnabled)
        key = 0;
    TCustomMaskEdit::KeyDown(key, shift);
}

void TAsgSpinEdit::KeyPress(Char& key) {
    if (!IsCharAllowed(key)) {
        key = 0;
        MessageBeep(0);
    }
    if (key != 0)
        TCustomMaskEdit::KeyPress(key);
}

bool TAsgSpinEdit::IsCharAllowed(Char& key) {
    if (key == u'\b')
        return FEditorEnabled;
    const TFormatSettings& fs = FormatSettings;
    String text = Text();
    bool allowed = key == fs.DecimalSeparator || key == fs.ThousandSeparator || key == fs.TimeSeparator ||
                   key == fs.DateSeparator || IsNumberChar(key) || key == u'-' || (key < 32 && key != 13);
    bool numberType = FSpinType == sptNormal || FSpinType == sptFloat;
    if (key == fs.TimeSeparator && FSpinType != sptTime)
        allowed = allowed && ForeignSeparatorAllowed(key, numberType);
    if (key == fs.DateSeparator && FSpinType != sptDate)
        allowed = allowed && ForeignSeparatorAllowed(key, numberType);
    if (key == u'-') {
        if (SelStart() != 0)
            allowed = false;
        else if (Contains(text, u'-') && !Contains(SelText(), u'-'))
            allowed = false;
    }
    if (FSpinType == sptNormal)
        allowed = allowed && (IsNumberChar(key) || key == u'-');
    if (FSpinType == sptFloat && key != VK_ESCAPE && key != VK_RETURN && key != u'\b') {
        if (key == fs.ThousandSeparator)
            allowed = false;
        if (key == fs.DecimalSeparator && Contains(text, key) && !Contains(SelText(), key))
            allowed = false;
        if (allowed && SelLength() == 0 && DecimalsFull(text, FPrecision, SelStart()))
            allowed = false;
    }
    if (FSpinType == sptTime && key == fs.TimeSeparator && std::count(text.begin(), text.end(), key) >= 2)
        allowed = false;
    if (!FEditorEnabled && key >= 32)
        allowed = false;
    return allowed;
}

void TAsgSpinEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_KEYDOWN:
        switch (message.WParam) {
        case VK_PRIOR:
            StepUp(true);
            message.Result = 0;
            return;
        case VK_NEXT:
            StepDown(true);
            message.Result = 0;
            return;
        case VK_UP:
            StepUp(false);
            message.Result = 0;
            return;
        case VK_DOWN:
            StepDown(false);
            message.Result = 0;
            return;
        default:
            break;
        }
        TCustomMaskEdit::Dispatch(message);
        break;
    case WM_CHAR:
        // The keypad's decimal key (extended bit 22 of the key data) types the locale's separator.
        if (FExcelStyleDecimalSeparator && message.WParam == u'.' && (message.LParam & (1 << 22)) != 0)
            message.WParam = FormatSettings.DecimalSeparator;
        TCustomMaskEdit::Dispatch(message);
        break;
    case WM_PASTE:
    case WM_CUT:
        if (FEditorEnabled && !ReadOnly())
            TCustomMaskEdit::Dispatch(message);
        break;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(message);
        PlaceButton();
        break;
    default:
        TCustomMaskEdit::Dispatch(message);
    }
}

// ---- Focus ----

void TAsgSpinEdit::CMEnter(TMessage& message) {
    if (AutoSelect() && (GetKeyState(VK_LBUTTON) & 0x8000) == 0 && FEditorEnabled)
        SelectAll();
    TCustomMaskEdit::CMEnter(message);
}

void TAsgSpinEdit::CMExit(TMessage& message) {
    TCustomMaskEdit::CMExit(message);
    switch (FSpinType) {
    case sptNormal: {
        Integer value = Value();
        if (value != ClampToRange(value, FMinValue, FMaxValue))
            SetValue(value);
        break;
    }
    case sptFloat: {
        double value = FloatValue();
        if (value != ClampToRange(value, FMinFloatValue, FMaxFloatValue))
            SetFloatValue(value);
        break;
    }
    case sptDate: {
        TDateTime value = DateValue();
        if (value != ClampToRange(value, FMinDateValue, FMaxDateValue))
            SetDateValue(value);
        break;
    }
    case sptTime: {
        TDateTime value = TimeValue();
        if (value != ClampToRange(value, FMinDateValue, FMaxDateValue))
            SetTimeValue(value);
        break;
    }
    }
}
