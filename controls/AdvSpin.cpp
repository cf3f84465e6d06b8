// The stand-alone spin edit: registration, its values and ranges, stepping, smart steps, keys, the
// character filter, clipboard and exit rules, and its own spin button pair and timer button.
#include "controls/AdvSpin.h"

#include <algorithm>
#include <cmath>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/Clipbrd.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "render/AdvStyleIF.h"

using namespace AdvSpin;

DEFINE_CLASS(AdvSpin::TAdvTimerSpeedButton)
DEFINE_CLASS(TAdvSpinButton)
DEFINE_CLASS(TAdvSpinEdit, PROPERTY(AllowNullValue).Default(true), PROPERTY(AutoFocus).Default(false),
             PROPERTY(Direction).Default(asgspin::spVertical), PROPERTY(DisabledBorder).Default(true),
             PROPERTY(DisabledColor).Type(TypeInfoColor()).Default(0xC0C0C0),
             PROPERTY(ReturnIsTab).Default(false), PROPERTY(Precision).Default(0),
             PROPERTY(SpinType).Default(AdvSpin::sptNormal), PROPERTY(Value).Default(0), PROPERTY(FloatValue),
             PROPERTY(TimeValue), PROPERTY(DateValue), PROPERTY(HexValue).Default(0),
             PROPERTY(Flat).Default(false), PROPERTY(FlatLineColor).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(SpinFlat).Default(false), PROPERTY(SpinTransparent).Default(false),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(CheckMinValue).Default(false), PROPERTY(CheckMaxValue).Default(false),
             PROPERTY(EditAlign).Default(AdvSpin::eaLeft), PROPERTY(EditorEnabled).Default(true),
             PROPERTY(FocusBorder).Default(false),
             PROPERTY(FocusBorderColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FocusColor).Type(TypeInfoColor()).Default(clWindow),
             PROPERTY(FocusFontColor).Type(TypeInfoColor()).Default(clWindowText),
             PROPERTY(FocusLabel).Default(false), PROPERTY(Increment).Default(1), PROPERTY(IncrementFloat),
             PROPERTY(IncrementPage).Default(10), PROPERTY(IncrementFloatPage),
             PROPERTY(IncrementSmart).Default(false), PROPERTY(IncrementMinutes).Default(1),
             PROPERTY(IncrementHours).Default(1), PROPERTY(LabelAlwaysEnabled).Default(false),
             PROPERTY(LabelCaption), PROPERTY(LabelPosition).Default(AdvSpin::lpLeftTop),
             PROPERTY(LabelMargin).Default(4), PROPERTY(LabelTransparent).Default(false), PROPERTY(LabelFont),
             PROPERTY(MinValue).Default(0), PROPERTY(MaxValue).Default(0), PROPERTY(MinFloatValue),
             PROPERTY(MaxFloatValue), PROPERTY(MinDateValue), PROPERTY(MaxDateValue),
             PROPERTY(Signed).Default(false), PROPERTY(ShowSeconds).Default(true),
             PROPERTY(Transparent).Default(false), PROPERTY(Version), PROPERTY(Anchors),
             PROPERTY(AutoSelect).Default(true), PROPERTY(AutoSize).Default(true),
             PROPERTY(BorderStyle).Default(bsSingle), PROPERTY(Color).Type(TypeInfoColor()).Default(clWindow),
             PROPERTY(Ctl3D), PROPERTY(Enabled).Default(true), PROPERTY(Font), PROPERTY(MaxLength).Default(0),
             PROPERTY(ParentColor).Default(false), PROPERTY(ParentCtl3D).Default(true),
             PROPERTY(ParentFont).Default(true), PROPERTY(ParentShowHint).Default(true),
             PROPERTY(ReadOnly).Default(false), PROPERTY(ShowHint), PROPERTY(TabOrder),
             PROPERTY(TabStop).Default(true), PROPERTY(Visible).Default(true), EVENT(OnChange),
             EVENT(OnClick), EVENT(OnDblClick), EVENT(OnEnter), EVENT(OnExit), EVENT(OnKeyDown),
             EVENT(OnKeyPress), EVENT(OnKeyUp), EVENT(OnMouseDown), EVENT(OnMouseMove), EVENT(OnMouseUp),
             EVENT(OnMouseEnter), EVENT(OnMouseLeave), EVENT(OnUpClick), EVENT(OnDownClick))

void AdvSpinStartup() {
    static bool started = false;
    if (started)
        return;
    started = true;
    asgspin::RegisterSpinGlyphs();
    RegisterClasses({TAdvSpinEdit::StaticClass(), TAdvSpinButton::StaticClass()});
}

// ---- Timer button and pair of this unit ----

namespace AdvSpin {

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* owner) : asgspin::TAdvTimerSpeedButton(owner) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    FIsWinXP = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
    FHasMouse = false;
}

} // namespace AdvSpin

TAdvSpinButton::TAdvSpinButton(TComponent* owner) : TSpinButtonPair(owner) {
    CreateButtons<AdvSpin::TAdvTimerSpeedButton>();
}

TAdvSpinButton::~TAdvSpinButton() = default;

String TAdvSpinButton::GlyphResourceName(bool up) const {
    return up ? u"AdvSpinUp" : u"AdvSpinDown";
}

void TAdvSpinButton::LayoutButtons(Integer& width, Integer& height) {
    if (Direction() != asgspin::spVertical) {
        TSpinButtonPair::LayoutButtons(width, height);
        return;
    }
    width = std::max<Integer>(width, 15);
    Integer half = (height + 2) / 2;
    UpButton()->SetBounds(0, 0, width, half - 1);
    DownButton()->SetBounds(0, UpButton()->Height(), width, half);
}

// ---- TAdvSpinEdit ----

TAdvSpinEdit::TAdvSpinEdit(TComponent* owner)
    : TCustomMaskEdit(owner), FLabelFont(std::make_unique<TFont>()) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    FButton = new TAdvSpinButton(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject*) { StepUp(); };
    FButton->OnDownClick = [this](TObject*) { StepDown(); };
    FLabelFont->OnChange = [this](TObject*) { UpdateLabel(); };
    FIsThemed = IsComCtl6OrLater();
    FDesignTime = ComponentState().Contains(csDesigning) && owner != nullptr &&
                  !owner->ComponentState().Contains(csReading) &&
                  !owner->ComponentState().Contains(csLoading);
    SetText(u"0");
}

TAdvSpinEdit::~TAdvSpinEdit() {
    FButton = nullptr;
    delete FLabel;
    FLabel = nullptr;
}

Integer TAdvSpinEdit::GetVersionNr() const {
    return (1 << 24) | (6 << 16) | (0 << 8) | 1;
}

String TAdvSpinEdit::Version() const {
    Integer nr = GetVersionNr();
    return IntToStr((nr >> 24) & 0xFF) + u"." + IntToStr((nr >> 16) & 0xFF) + u"." +
           IntToStr((nr >> 8) & 0xFF) + u"." + IntToStr(nr & 0xFF);
}

// ---- Ranges ----

bool TAdvSpinEdit::IntegerRangeActive() const {
    return FMinValue != FMaxValue || FCheckMinValue != FCheckMaxValue || (FCheckMinValue && FCheckMaxValue);
}

bool TAdvSpinEdit::DateRangeActive() const {
    return FMinDateValue != FMaxDateValue || FCheckMinValue != FCheckMaxValue;
}

bool TAdvSpinEdit::FloatRangeActive() const {
    return FMinFloatValue != FMaxFloatValue || FCheckMinValue != FCheckMaxValue;
}

Integer TAdvSpinEdit::ClampInteger(Integer value) const {
    if (Loading() || !IntegerRangeActive())
        return value;
    if (value < FMinValue && FCheckMinValue)
        return FMinValue;
    if (value > FMaxValue && FCheckMaxValue)
        return FMaxValue;
    return value;
}

TDateTime TAdvSpinEdit::ClampDate(TDateTime value) const {
    if (Loading() || !DateRangeActive())
        return value;
    if (value < FMinDateValue && FCheckMinValue)
        return FMinDateValue;
    if (value > FMaxDateValue && FCheckMaxValue)
        return FMaxDateValue;
    return value;
}

// The float range applies both bounds whatever the check flags say; callers rely on it.
double TAdvSpinEdit::ClampFloat(double value) const {
    if (Loading() || !FloatRangeActive())
        return value;
    if (value < FMinFloatValue)
        return FMinFloatValue;
    if (value > FMaxFloatValue)
        return FMaxFloatValue;
    return value;
}

// ---- Values ----

Integer TAdvSpinEdit::Value() {
    return asgspin::IntegerFieldValue(Text(), FMinValue);
}

void TAdvSpinEdit::SetValue(Integer value) {
    SetText(IntToStr(ClampInteger(value)));
    if (!FEditorEnabled && AutoSelect() && HandleAllocated())
        SelectAll();
}

double TAdvSpinEdit::FloatValue() {
    if (Trim(Text()).empty())
        return 0.0;
    Extended value = 0;
    return TryStrToFloat(Text(), value) ? static_cast<double>(value) : FMinValue;
}

void TAdvSpinEdit::SetFloatValue(double value) {
    value = ClampFloat(value);
    if (FPrecision > 0)
        SetText(FloatToStrF(value, ffFixed, 15, FPrecision));
    else if (FPrecision == 0)
        SetText(FloatToStr(value));
    else
        SetText(FloatToStrF(value, ffGeneral, 4, 0));
}

TDateTime TAdvSpinEdit::DateValue() {
    String text = Text();
    if (text == u"0" || text.empty())
        return FDesignTime ? Now() : FDateValue;
    TDateTime date = 0;
    if (!TryStrToDate(text, date))
        return FMinDateValue;
    return std::trunc(date) + (FDateValue - std::trunc(FDateValue));
}

void TAdvSpinEdit::SetDateValue(TDateTime value) {
    FDateValue = value;
    if (Loading())
        return;
    FDateValue = ClampDate(value);
    Integer start = SelStart();
    SetText(DateToStr(FDateValue));
    SetSelStart(start);
}

String TAdvSpinEdit::TimeText(TDateTime value) const {
    return FormatDateTime(FShowSeconds ? u"h:nn:ss" : u"h:nn", value);
}

TDateTime TAdvSpinEdit::TimeValue() {
    String text = Trim(Text());
    if (text.empty())
        return 0;
    if (!FShowSeconds)
        text += String(1, FormatSettings.TimeSeparator) + u"00";
    TDateTime time = 0;
    if (!TryStrToTime(text, time))
        return 0;
    return std::trunc(FTimeValue) + time;
}

void TAdvSpinEdit::SetTimeValue(TDateTime value) {
    FTimeValue = value;
    if (Loading())
        return;
    FTimeValue = ClampDate(value);
    Integer start = SelStart();
    SetText(TimeText(FTimeValue));
    SetSelStart(start);
}

namespace {

// A hexadecimal digit as the field reads it: letters upper-cased, other characters give what the
// arithmetic gives.
Cardinal HexDigit(Char c) {
    if (c >= u'a' && c <= u'z')
        c = static_cast<Char>(c - 32);
    Integer digit = static_cast<Integer>(c) - 48;
    if (digit > 10)
        digit -= 7;
    return static_cast<Cardinal>(digit);
}

} // namespace

Integer TAdvSpinEdit::HexValue() {
    String text = Text();
    String digits = text.size() > 2 ? text.substr(2) : String();
    // Wraps past eight digits rather than failing; the field reads such text as a meaningless number.
    Cardinal result = 0;
    size_t i = 0;
    for (; i + 1 < digits.size(); i += 2)
        result = result * 256 + HexDigit(digits[i]) * 16 + HexDigit(digits[i + 1]);
    if (i < digits.size())
        result = result * 16 + HexDigit(digits[i]);
    return static_cast<Integer>(result);
}

void TAdvSpinEdit::SetHexValue(Integer value) {
    String text = u"0x" + IntToHex(value, 1);
    if (MaxLength() > 0 && static_cast<Integer>(text.size()) > MaxLength())
        return;
    FHexValue = value;
    if (!Loading())
        SetText(text);
}

void TAdvSpinEdit::SetSpinType(TAdvSpinType value) {
    FSpinType = value;
    if (Loading())
        return;
    // The rewrite is no change of the user's.
    TNotifyEvent change = std::move(OnChange);
    OnChange = nullptr;
    try {
        switch (value) {
        case AdvSpin::sptNormal:
            SetValue(Value());
            break;
        case AdvSpin::sptFloat:
            SetFloatValue(FloatValue());
            break;
        case AdvSpin::sptDate:
            SetDateValue(DateValue());
            break;
        case AdvSpin::sptTime:
            SetTimeValue(TimeValue());
            break;
        case AdvSpin::sptHex:
            SetHexValue(HexValue());
            break;
        }
    } catch (...) {
        OnChange = std::move(change);
        throw;
    }
    OnChange = std::move(change);
}

void TAdvSpinEdit::SetPrecision(Integer value) {
    FPrecision = value;
    if (FSpinType == AdvSpin::sptFloat)
        SetFloatValue(FloatValue());
}

void TAdvSpinEdit::SetShowSeconds(bool value) {
    if (FSpinType != AdvSpin::sptTime)
        return;
    FShowSeconds = value;
    SetTimeValue(FTimeValue);
}

void TAdvSpinEdit::WidenAndNarrow() {
    SetWidth(Width() + 1);
    SetWidth(Width() - 1);
}

void TAdvSpinEdit::SetDirection(AdvSpin::TSpinDirection value) {
    if (value == FDirection)
        return;
    FDirection = value;
    FButton->SetDirection(value);
    WidenAndNarrow();
}

void TAdvSpinEdit::SetSpinFlat(bool value) {
    FButton->UpButton()->SetFlat(value);
    FButton->DownButton()->SetFlat(value);
    FSpinFlat = value;
}

void TAdvSpinEdit::SetSpinTransparent(bool value) {
    FButton->UpButton()->SetTransparent(value);
    FButton->DownButton()->SetTransparent(value);
    FSpinTransparent = value;
    WidenAndNarrow();
}

void TAdvSpinEdit::SetEditAlign(TEditAlign value) {
    FEditAlign = value;
    RecreateWnd();
}

void TAdvSpinEdit::Init() {
    FNormalColor = Color();
    FFontColor = Font()->Color();
    if (!Enabled())
        SetColor(FDisabledColor);
}

void TAdvSpinEdit::Loaded() {
    TCustomMaskEdit::Loaded();
    TColor color = Color();
    FBlockChange = true;
    Init();
    if (FSpinType == AdvSpin::sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == AdvSpin::sptTime)
        SetText(TimeText(FTimeValue));
    else if (FSpinType == AdvSpin::sptHex)
        SetText(u"0x" + IntToHex(FHexValue, 1));
    SetSpinType(FSpinType);
    FFlat = !FFlat;
    SetFlat(!FFlat);
    SetBounds(Left(), Top(), Width(), Height());
    if (FLabel != nullptr && !Enabled() && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(false);
    if (FLabel != nullptr && ParentFont())
        FLabel->Font()->Assign(Font());
    UpdateLabel();
    if (!Ctl3D())
        WidenAndNarrow();
    FBlockChange = false;
    FNormalColor = color;
    FParentFnt = ParentFont();
    if (!Enabled()) {
        SetColor(FDisabledColor);
        UpdateLabel();
    }
}

// ---- Stepping ----

void TAdvSpinEdit::SmartStep(bool up) {
    Integer sign = up ? 1 : -1;
    String text = Text();
    Integer caret = SelStart();
    bool floatType = FSpinType == AdvSpin::sptFloat;
    if (caret == 0 || (text.find(u'-') != String::npos && caret == 1)) {
        if (floatType)
            SetFloatValue(FloatValue() + sign * FIncrementFloat);
        else
            SetValue(Value() + sign * FIncrement);
        return;
    }
    Integer n = static_cast<Integer>(text.size());
    Integer right = n - caret;
    auto separator = text.find(FormatSettings.DecimalSeparator);
    Integer fraction = separator == String::npos ? -1 : n - (static_cast<Integer>(separator) + 1);
    if (right >= fraction) {
        Integer exponent = right - fraction - 1;
        double step = 1;
        for (Integer i = 0; i < exponent; ++i)
            step *= 10;
        if (floatType)
            SetFloatValue(FloatValue() + sign * step);
        else
            SetValue(Value() + sign * static_cast<Integer>(step));
    } else {
        double step = 1;
        for (Integer i = 0; i < fraction - right; ++i)
            step /= 10;
        SetFloatValue(FloatValue() + sign * step);
    }
}

void TAdvSpinEdit::IncSmart() {
    SmartStep(true);
}

void TAdvSpinEdit::DecSmart() {
    SmartStep(false);
}

void TAdvSpinEdit::Step(bool up) {
    Integer start = SelStart();
    Integer length = SelLength();
    String before = Text();
    Integer sign = up ? 1 : -1;
    if (ReadOnly()) {
        MessageBeep(0);
    } else {
        switch (FSpinType) {
        case AdvSpin::sptNormal:
            if (FIncrementSmart)
                SmartStep(up);
            else
                SetValue(Value() + sign * FIncrement);
            break;
        case AdvSpin::sptFloat:
            if (FIncrementSmart)
                SmartStep(up);
            else
                SetFloatValue(FloatValue() + sign * FIncrementFloat);
            break;
        case AdvSpin::sptDate: {
            auto order = asgspin::DateFieldOrder(FormatSettings.ShortDateFormat, true);
            auto field = asgspin::DateFieldAtCaret(before, start, FormatSettings.DateSeparator, order);
            SetDateValue(asgspin::StepDateField(DateValue(), field, sign));
            break;
        }
        case AdvSpin::sptTime: {
            Integer part =
                asgspin::TimeFieldAtCaret(before, start, FormatSettings.TimeSeparator, FShowSeconds);
            double step = part == 0   ? (FIncrementHours != 0 ? asgspin::TimeStepDays(FIncrementHours, 0, 0)
                                                              : asgspin::TimeStepDays(0, FIncrementMinutes, 0))
                          : part == 2 ? asgspin::TimeStepDays(0, 0, 1)
                                      : asgspin::TimeStepDays(0, FIncrementMinutes, 0);
            TDateTime value = TimeValue();
            // Going down stops at midnight; going up keeps the whole days out of sight.
            if (up)
                SetTimeValue(value + step);
            else if (value >= step)
                SetTimeValue(value - step);
            break;
        }
        case AdvSpin::sptHex:
            SetHexValue(HexValue() + sign * FIncrement);
            break;
        }
    }
    String after = Text();
    bool hadSign = before.find(u'-') != String::npos;
    bool hasSign = after.find(u'-') != String::npos;
    if (hadSign && !hasSign)
        --start;
    else if (!hadSign && hasSign)
        ++start;
    if (HandleAllocated()) {
        SetSelStart(std::max<Integer>(start, 0));
        SetSelLength(length);
        if (up && after.size() != before.size() && FSpinType != AdvSpin::sptDate &&
            FSpinType != AdvSpin::sptTime)
            SetSelLength(static_cast<Integer>(after.size()));
    }
    if (after != before)
        SetModified(true);
    TNotifyEvent& event = up ? OnUpClick : OnDownClick;
    if (event)
        event(this);
}

void TAdvSpinEdit::StepUp() {
    Step(true);
}

void TAdvSpinEdit::StepDown() {
    Step(false);
}

// ---- Keys ----

void TAdvSpinEdit::KeyDown(Word& key, TShiftState shift) {
    Integer start = SelStart();
    Integer length = SelLength();
    String before = Text();
    TCustomMaskEdit::KeyDown(key, shift);
    bool numberType = FSpinType == AdvSpin::sptNormal || FSpinType == AdvSpin::sptFloat;
    bool stepKey = false;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        if (FIncrementSmart && length == 0 && numberType)
            SmartStep(key == VK_UP);
        else if (key == VK_UP)
            StepUp();
        else
            StepDown();
        stepKey = true;
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        Integer sign = key == VK_PRIOR ? 1 : -1;
        if (FIncrementSmart && length == 0)
            SmartStep(key == VK_PRIOR);
        else if (FSpinType == AdvSpin::sptNormal)
            SetValue(Value() + sign * FIncrementPage);
        else if (FSpinType == AdvSpin::sptFloat)
            SetFloatValue(FloatValue() + sign * FIncrementFloatPage);
        stepKey = true;
        break;
    }
    case VK_DELETE:
        if (!FEditorEnabled || (FSpinType == AdvSpin::sptHex && start < 2))
            key = 0;
        break;
    case VK_RETURN:
        if (FReturnIsTab) {
            key = VK_TAB;
            PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
        }
        break;
    default:
        break;
    }
    if (stepKey || key == VK_RETURN || key == VK_DELETE || key == 0) {
        SetSelStart(start);
        SetSelLength(length);
    }
    // The step keys are spent here; the edit's own caret movement would undo the restored selection.
    if (stepKey)
        key = 0;
    if (Text() != before)
        SetModified(true);
}

void TAdvSpinEdit::KeyPress(Char& key) {
    if (!IsCharAllowed(key)) {
        key = 0;
        MessageBeep(0);
    }
    if (key != 0)
        TCustomMaskEdit::KeyPress(key);
}

bool TAdvSpinEdit::IsCharAllowed(Char& key) {
    const TFormatSettings& fs = FormatSettings;
    String text = Text();
    bool separator = key == fs.DecimalSeparator || key == fs.ThousandSeparator || key == fs.TimeSeparator ||
                     key == fs.DateSeparator;
    bool number = IsNumberChar(key) && key != u'\u00BC' && key != u'\u00BD' && key != u'\u00BE';
    bool allowed = separator || number || key == u'-' || key == u'+' || (key < 32 && key != 13);
    if (FSpinType == AdvSpin::sptNormal && separator)
        allowed = false;
    bool numberType = FSpinType == AdvSpin::sptNormal || FSpinType == AdvSpin::sptFloat;
    if (key == fs.TimeSeparator && FSpinType != AdvSpin::sptTime)
        allowed = allowed && asgspin::ForeignSeparatorAllowed(key, numberType);
    if (key == fs.DateSeparator && FSpinType != AdvSpin::sptDate)
        allowed = allowed && asgspin::ForeignSeparatorAllowed(key, numberType);
    if (FSpinType == AdvSpin::sptFloat && key != VK_ESCAPE && key != VK_RETURN && key != u'\b') {
        if (key == fs.ThousandSeparator)
            key = fs.DecimalSeparator;
        bool holdsSeparator = text.find(fs.DecimalSeparator) != String::npos;
        if (key == fs.DecimalSeparator) {
            if (!text.empty() && SelLength() == static_cast<Integer>(text.size()))
                allowed = true;
            else if (holdsSeparator || FPrecision == 0)
                allowed = false;
        }
        if (allowed && SelLength() == 0 && asgspin::DecimalsFull(text, FPrecision, SelStart()))
            allowed = false;
    }
    if (FSpinType == AdvSpin::sptTime) {
        if (key == u',' || key == u'.')
            key = fs.TimeSeparator;
        if (key == fs.TimeSeparator && text.find(fs.TimeSeparator) != String::npos)
            allowed = false;
    }
    if (FSpinType == AdvSpin::sptHex) {
        bool hexDigit =
            (key >= u'0' && key <= u'9') || (key >= u'A' && key <= u'F') || (key >= u'a' && key <= u'f');
        allowed = (hexDigit || (key < 32 && key != 13)) && SelStart() >= 2;
        if (key == u'\b' && SelStart() == 2 && SelLength() == 0)
            allowed = false;
    }
    if (!FEditorEnabled && (key >= 32 || key == u'\b'))
        allowed = false;
    return allowed;
}

void TAdvSpinEdit::WMChar(TMessage& message) {
    Char key = static_cast<Char>(message.WParam);
    if (key == u'+')
        return;
    if (key == u'-' && !(FSpinType == AdvSpin::sptDate && FormatSettings.DateSeparator == u'-')) {
        if (FSigned && FEditorEnabled) {
            Integer start = SelStart();
            Integer length = SelLength();
            String text = Text();
            if (!text.empty() && text[0] == u'-') {
                SetText(text.substr(1));
                start = std::max<Integer>(start - 1, 0);
            } else {
                SetText(u"-" + text);
                ++start;
            }
            SetSelStart(start);
            SetSelLength(length);
        }
        Char minus = u'-';
        TCustomMaskEdit::KeyPress(minus);
        return;
    }
    if (key == VK_RETURN) {
        if (OnKeyPress) {
            Char enter = VK_RETURN;
            OnKeyPress(this, enter);
        }
        if (!FDefaultHandling && Parent() != nullptr) {
            PostMessageW(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
            TCustomForm* form = GetParentForm(this);
            if (form != nullptr && form->KeyPreview())
                TCustomMaskEdit::WMChar(message);
            else
                PostMessageW(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
        }
        return;
    }
    TCustomMaskEdit::WMChar(message);
}

void TAdvSpinEdit::WMPaste(TMessage& message) {
    if (!FEditorEnabled || ReadOnly())
        return;
    String text = Text();
    Integer start = std::clamp<Integer>(SelStart(), 0, static_cast<Integer>(text.size()));
    Integer length = std::clamp<Integer>(SelLength(), 0, static_cast<Integer>(text.size()) - start);
    String result = text.substr(0, start) + Clipboard()->AsText() + text.substr(start + length);
    Extended value = 0;
    // A paste that would leave no number is dropped silently.
    if (!TryStrToFloat(result, value))
        return;
    TCustomMaskEdit::Dispatch(message);
}

bool TAdvSpinEdit::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
    TCustomMaskEdit::DoMouseWheelDown(shift, mousePos);
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, shift, mousePos, handled);
    if (!handled && !ComponentState().Contains(csDesigning))
        StepDown();
    return true;
}

bool TAdvSpinEdit::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
    TCustomMaskEdit::DoMouseWheelUp(shift, mousePos);
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, shift, mousePos, handled);
    if (!handled && !ComponentState().Contains(csDesigning))
        StepUp();
    return true;
}

// ---- Leaving ----

void TAdvSpinEdit::CMExit(TMessage& message) {
    if (!FAllowNullValue || !Text().empty()) {
        switch (FSpinType) {
        case AdvSpin::sptNormal: {
            Integer value = Value();
            if (ClampInteger(value) != value)
                SetValue(value);
            break;
        }
        case AdvSpin::sptFloat:
            SetFloatValue(FloatValue());
            break;
        case AdvSpin::sptDate: {
            TDateTime value = DateValue();
            if (ClampDate(value) != value)
                SetDateValue(value);
            break;
        }
        case AdvSpin::sptTime: {
            TDateTime value = TimeValue();
            if (ClampDate(value) != value)
                SetTimeValue(value);
            break;
        }
        case AdvSpin::sptHex:
            SetHexValue(ClampInteger(HexValue()));
            break;
        }
    }
    TCustomMaskEdit::CMExit(message);
}

void TAdvSpinEdit::KillFocus() {
    if (FAllowNullValue || !Text().empty() || !FCheckMinValue)
        return;
    switch (FSpinType) {
    case AdvSpin::sptNormal:
        if (IntegerRangeActive())
            SetValue(FMinValue);
        break;
    case AdvSpin::sptFloat:
        if (FloatRangeActive())
            SetFloatValue(FMinFloatValue);
        break;
    case AdvSpin::sptDate:
        if (DateRangeActive())
            SetDateValue(FMinDateValue);
        break;
    case AdvSpin::sptTime:
        if (DateRangeActive())
            SetTimeValue(FMinDateValue);
        break;
    case AdvSpin::sptHex:
        if (IntegerRangeActive())
            SetHexValue(FMinValue);
        break;
    }
}
