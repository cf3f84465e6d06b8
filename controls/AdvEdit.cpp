// The typed edit's value model: reading and writing the value between prefix and suffix, number
// formatting, validation, the focus, error and modification colours, the URL look and the life cycle.
#include "controls/AdvEdit.h"

#include <cmath>

#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/shell.h"
#include "platform/win32/winctrl.h"

using namespace AdvEdit;

DEFINE_CLASS(
    TAdvEdit, PROPERTY(EditType).Default(etString), PROPERTY(EditAlign).Default(eaLeft),
    PROPERTY(FocusAlign).Default(eaDefault), PROPERTY(Precision).Default(0),
    PROPERTY(PrecisionDisplay).Default(pdNormal), PROPERTY(Prefix), PROPERTY(Suffix),
    PROPERTY(Signed).Default(false), PROPERTY(AllowNumericNullValue).Default(false),
    PROPERTY(AutoThousandSeparator).Default(true), PROPERTY(ExcelStyleDecimalSeparator).Default(false),
    PROPERTY(LengthLimit).Default(0), PROPERTY(TabOnFullLength).Default(false), PROPERTY(ValidChars),
    PROPERTY(MinValue).Default(0), PROPERTY(MaxValue).Default(0), PROPERTY(MinFloatValue),
    PROPERTY(MaxFloatValue), PROPERTY(EditorEnabled).Default(true), PROPERTY(CanUndo).Default(true),
    PROPERTY(ReturnIsTab).Default(false), PROPERTY(AutoFocus).Default(false),
    PROPERTY(FocusColor).Type(TypeInfoColor()).Default(clNone),
    PROPERTY(FocusFontColor).Type(TypeInfoColor()).Default(clWindowText),
    PROPERTY(ErrorColor).Type(TypeInfoColor()).Default(clRed),
    PROPERTY(ErrorFontColor).Type(TypeInfoColor()).Default(clWhite), PROPERTY(ShowError).Default(false),
    PROPERTY(ModifiedColor).Type(TypeInfoColor()).Default(clHighlight), PROPERTY(ShowModified).Default(false),
    PROPERTY(ShowURL).Default(false), PROPERTY(URLColor).Type(TypeInfoColor()).Default(clBlue),
    PROPERTY(DisabledColor).Type(TypeInfoColor()).Default(clSilver),
    PROPERTY(HintShowLargeText).Default(false), PROPERTY(Version).Stored(false),
    PROPERTY(OleDropSource).Default(false), PROPERTY(OleDropTarget).Default(false),
    PROPERTY(Color).Type(TypeInfoColor()).Default(clWindow), PROPERTY(AutoSelect).Default(true),
    PROPERTY(AutoSize).Default(true), PROPERTY(BorderStyle).Default(bsSingle),
    PROPERTY(CharCase).Default(ecNormal), PROPERTY(Ctl3D).Default(true),
    PROPERTY(HideSelection).Default(true), PROPERTY(MaxLength).Default(0),
    PROPERTY(ParentCtl3D).Default(true), PROPERTY(PasswordChar).Default(0), PROPERTY(ReadOnly).Default(false),
    PROPERTY(Text), PROPERTY(LabelCaption), PROPERTY(LabelPosition).Default(lpLeftTop),
    PROPERTY(LabelMargin).Default(4), PROPERTY(LabelTransparent).Default(false),
    PROPERTY(LabelAlwaysEnabled).Default(false), PROPERTY(LabelFont), PROPERTY(FocusLabel).Default(false),
    PROPERTY(Flat).Default(false), PROPERTY(FlatLineColor).Type(TypeInfoColor()).Default(clBlack),
    PROPERTY(FlatParentColor).Default(true), PROPERTY(SoftBorder).Default(false),
    PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(FocusBorder).Default(false),
    PROPERTY(FocusBorderColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(DisabledBorder).Default(true),
    PROPERTY(Transparent).Default(false), PROPERTY(EmptyText), PROPERTY(EmptyTextFocused).Default(false),
    PROPERTY(EmptyTextStyle), PROPERTY(ErrorMarkerPos).Default(0), PROPERTY(ErrorMarkerLen).Default(0),
    PROPERTY(FullTextSearch).Default(false), PROPERTY(Lookup), PROPERTY(Persistence), EVENT(OnChange),
    EVENT(OnValueValidate), EVENT(OnLookupSelect), EVENT(OnLookupIndexSelect), EVENT(OnLookupNeedData),
    EVENT(OnClipboardCopy), EVENT(OnClipboardCut), EVENT(OnClipboardPaste), EVENT(OnURLClick),
    EVENT(OnLabelClick), EVENT(OnLabelDblClick))

void AdvEditStartup() {
    static const bool started = [] {
        // A name another class took already ends the registration; the edit works without it.
        try {
            RegisterClasses({TAdvEdit::StaticClass(), TEditLabel::StaticClass()});
        } catch (const Exception&) {
        }
        return true;
    }();
    (void)started;
}

namespace {

String FormatNumber(const String& format, double value) {
    return Format(format, {static_cast<Extended>(value)});
}

} // namespace

TAdvEdit::TAdvEdit(TComponent* owner)
    : TCustomEdit(owner), FLabelFont(std::make_unique<TFont>()), FLookup(std::make_unique<TLookupSettings>()),
      FPersistence(std::make_unique<TPersistence>()) {
    AdvEditStartup();
    CreateLookupWindow();
    FFontColor = Font()->Color();
    FLabelFont->OnChange = [this](TObject*) { LabelFontChanged(); };
}

TAdvEdit::~TAdvEdit() {
    // The label leaves its parent before it goes with the edit's components.
    if (FLabel != nullptr)
        FLabel->SetParent(nullptr);
}

String TAdvEdit::Version() const {
    Integer nr = GetVersionNr();
    return IntToStr((nr >> 24) & 0xFF) + u"." + IntToStr((nr >> 16) & 0xFF) + u"." +
           IntToStr((nr >> 8) & 0xFF) + u"." + IntToStr(nr & 0xFF);
}

Integer TAdvEdit::GetVersionNr() const {
    return (3 << 24) | (3 << 16) | (2 << 8) | 8;
}

String TAdvEdit::WindowText() const {
    return TWinControl::GetText();
}

void TAdvEdit::SetWindowText(const String& text) {
    TControl::SetText(text);
}

// The prefix is recognised whatever its case; the suffix is taken off by length alone, so a suffix
// that was typed away costs the value its last characters. Callers rely on this reading.
String TAdvEdit::GetEditText() const {
    String s = WindowText();
    if (!FPrefix.empty() && UpperCase(s).starts_with(UpperCase(FPrefix)))
        s.erase(0, FPrefix.size());
    if (!FSuffix.empty() && s.size() >= FSuffix.size())
        s.erase(s.size() - FSuffix.size());
    return s;
}

void TAdvEdit::SetText(const String& value) {
    String v = value;
    if (v.empty() && !FAllowNumericNullValue &&
        (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney || FEditType == etHex))
        v = u"0";
    if (FPrecisionDisplay == pdShortest && (FEditType == etFloat || FEditType == etMoney)) {
        v = FormatNumber(u"%g", TextToFloatValue(v));
    } else if (!v.empty()) {
        if (FEditType == etMoney && FPrecision >= 0)
            v = FormatNumber(u"%." + IntToStr(Integer(FPrecision)) + u"n", TextToFloatValue(v));
        else if (FEditType == etFloat && FPrecision > 0)
            v = FormatNumber(u"%." + IntToStr(Integer(FPrecision)) + u"f", TextToFloatValue(v));
    }
    if (FEditType == etHex)
        v = UpperCase(v);
    SetWindowText(FPrefix + v + FSuffix);
    SetModified(false);
    if (FShowURL)
        SetURLLook(IsURL());
}

void TAdvEdit::SetEditText(const String& value) {
    FOrigText = value;
    SetText(value);
}

void TAdvEdit::Clear() {
    SetText(String());
}

double TAdvEdit::FloatValue() const {
    String v = Text();
    switch (FEditType) {
    case etString:
        return TextToFloatValue(v);
    case etNumeric:
    case etFloat:
        return v.empty() || v == u"-" ? 0 : TextToFloatValue(v);
    case etMoney:
        v = StripThousandSeparators(v);
        if (!v.empty() && v.back() == FormatSettings.DecimalSeparator)
            v.pop_back();
        return v.empty() || v == u"-" ? 0 : TextToFloatValue(v);
    case etHex:
        return v.empty() ? 0 : HexTextToInt(v);
    default:
        return 0;
    }
}

void TAdvEdit::SetFloatValue(double value) {
    const String fixed = FPrecision < 0 ? String(u"%g") : u"%." + IntToStr(Integer(FPrecision)) + u"f";
    switch (FEditType) {
    case etString:
    case etFloat:
        SetText(FormatNumber(fixed, value));
        break;
    case etNumeric:
        SetText(FormatNumber(FPrecision < 0 ? String(u"%g") : u"%." + IntToStr(Integer(FPrecision)) + u"n",
                             value));
        break;
    case etMoney:
        SetText(FormatNumber(fixed, value));
        ApplyThousandSeparators();
        break;
    case etHex:
        SetText(IntToHex(static_cast<Int64>(std::trunc(value)), 1));
        break;
    default:
        break;
    }
    SetModified(true);
}

namespace {

// The framework's integer reading that ignores where it stopped: the digits up to the first character
// that does not belong to the number.
Integer ValInteger(StringView text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + (text[i] - u'0');
    return static_cast<Integer>(negative ? 0u - value : value);
}

} // namespace

// Integer values are read without the thousand separators that the FloatValue writer puts into an
// etNumeric value, so that such a value reads back as written.
Integer TAdvEdit::IntValue() const {
    switch (FEditType) {
    case etNumeric:
    case etFloat:
    case etMoney:
        return ValInteger(StripThousandSeparators(Text()));
    case etHex: {
        String v = Text();
        return v.empty() ? 0 : HexTextToInt(v);
    }
    default:
        return 0;
    }
}

void TAdvEdit::SetIntValue(Integer value) {
    switch (FEditType) {
    case etNumeric:
    case etFloat:
        SetText(IntToStr(value));
        break;
    case etMoney:
        SetText(IntToStr(value));
        ApplyThousandSeparators();
        break;
    case etHex:
        SetText(IntToHex(value, 1));
        break;
    default:
        break;
    }
    SetModified(true);
}

void TAdvEdit::SetModified(bool value) {
    if (ComponentState().Contains(csLoading) || ReadOnly())
        return;
    if (FShowModified)
        Font()->SetColor(value ? FModifiedColor : FFontColor);
    TCustomEdit::SetModified(value);
    FIsModified = value;
}

void TAdvEdit::SetIsError(bool value) {
    if (ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading) || FError == value)
        return;
    FError = value;
    if (FShowError)
        ApplyErrorColors();
}

void TAdvEdit::SetColor(TColor value) {
    TControl::SetColor(value);
    FNormalColor = value;
}

void TAdvEdit::SetErrorColor(TColor value) {
    FErrorColor = value;
    if (FError && FShowError)
        ApplyErrorColors();
}

void TAdvEdit::SetErrorFontColor(TColor value) {
    FErrorFontColor = value;
    if (FError && FShowError)
        ApplyErrorColors();
}

void TAdvEdit::SetShowError(bool value) {
    FShowError = value;
    if (FError)
        ApplyErrorColors();
}

void TAdvEdit::SetShowURL(bool value) {
    FShowURL = value;
    SetURLLook(value && IsURL());
}

void TAdvEdit::SetEditType(TAdvEditType value) {
    if (FEditType == value)
        return;
    FEditType = value;
    if (value == etPassword) {
        SetPasswordChar(u'*');
        FCanUndo = false;
        RecreateWnd();
    } else {
        SetPasswordChar(0);
    }
    String v = Text();
    if (v.empty() && FAllowNumericNullValue)
        return;
    TNumericTextKind kind = NumericTextKind(v);
    if (value == etNumeric && kind != TNumericTextKind::Integer)
        SetIntValue(0);
    else if ((value == etFloat || value == etMoney) && kind != TNumericTextKind::Integer &&
             kind != TNumericTextKind::Decimal)
        SetFloatValue(0);
    else if (value == etHex && kind != TNumericTextKind::Integer && kind != TNumericTextKind::Hexadecimal)
        SetIntValue(0);
}

void TAdvEdit::SetEditAlign(TEditAlign value) {
    FEditAlign = value;
    RecreateWnd();
}

void TAdvEdit::SetCanUndo(bool value) {
    FCanUndo = value && FEditType != etPassword;
}

void TAdvEdit::SetPrecision(SmallInt value) {
    if (FPrecision == value || (FEditType != etString && FEditType != etFloat && FEditType != etMoney))
        return;
    FPrecision = value;
    String v = Text();
    if (v.empty() && FAllowNumericNullValue)
        return;
    TNumericTextKind kind = NumericTextKind(v);
    SetFloatValue(kind == TNumericTextKind::Integer || kind == TNumericTextKind::Decimal ? FloatValue() : 0);
}

void TAdvEdit::SetPrecisionDisplay(TPrecisionDisplay value) {
    if (FPrecisionDisplay == value)
        return;
    FPrecisionDisplay = value;
    SetFloatValue(FloatValue());
}

void TAdvEdit::SetAutoThousandSeparator(bool value) {
    FAutoThousandSeparator = value;
    if (FEditType == etFloat || FEditType == etMoney)
        ApplyThousandSeparators();
}

void TAdvEdit::SetPrefix(const String& value) {
    String v = Text();
    FPrefix = value;
    SetWindowText(v);
    SetText(v);
}

void TAdvEdit::SetSuffix(const String& value) {
    String v = Text();
    FSuffix = value;
    SetWindowText(v);
    SetText(v);
}

void TAdvEdit::GetSel(Integer& start, Integer& end) {
    DWORD s = 0, e = 0;
    if (HandleAllocated())
        Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<Integer>(s);
    end = static_cast<Integer>(e);
}

void TAdvEdit::SetSel(Integer start, Integer end) {
    if (HandleAllocated())
        Perform(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

bool TAdvEdit::EditModified() {
    return HandleAllocated() && Perform(EM_GETMODIFY, 0, 0) != 0;
}

void TAdvEdit::SelectAll() {
    const Integer p = static_cast<Integer>(FPrefix.size());
    String v = Text();
    Integer start = p;
    if (FShowURL) {
        if (auto at = v.find(u"://"); at != String::npos)
            start = p + static_cast<Integer>(at) + 3;
        if (auto at = v.find(u"mailto:"); at != String::npos)
            start = p + static_cast<Integer>(at) + 7;
    }
    SetSel(start, start + static_cast<Integer>(v.size()));
}

void TAdvEdit::SelectBeforeDecimal() {
    const Integer p = static_cast<Integer>(FPrefix.size());
    auto at = Text().find(FormatSettings.DecimalSeparator);
    Integer pos = at == String::npos ? p : p + static_cast<Integer>(at);
    SetSel(pos, pos);
}

void TAdvEdit::SelectAfterDecimal() {
    const Integer p = static_cast<Integer>(FPrefix.size());
    auto at = Text().find(FormatSettings.DecimalSeparator);
    Integer pos = at == String::npos ? p : p + static_cast<Integer>(at) + 1;
    SetSel(pos, pos);
}

void TAdvEdit::ApplyThousandSeparators() {
    String v = Text();
    const Integer oldLength = static_cast<Integer>(v.size());
    Integer caret = HandleAllocated() ? SelStart() : 0;
    if (v.empty())
        return;
    String sign;
    if (v[0] == u'-') {
        sign = u"-";
        v.erase(0, 1);
    }
    auto ds = v.find(FormatSettings.DecimalSeparator);
    String fraction = ds == String::npos ? String() : v.substr(ds);
    double whole = std::trunc(std::fabs(FloatValue()));
    String integerPart = FormatNumber(FAutoThousandSeparator ? u"%n" : u"%f", whole);
    if (auto cut = integerPart.find(FormatSettings.DecimalSeparator); cut != String::npos)
        integerPart.erase(cut);
    String text = FPrefix + sign + integerPart + fraction + FSuffix;
    // The rewrite is no change of the user's: its change notification is swallowed.
    if (text != WindowText()) {
        FBlockChange = true;
        SetWindowText(text);
    }
    FBlockChange = false;
    caret += static_cast<Integer>(Text().size()) - oldLength;
    SetSel(caret, caret);
}

bool TAdvEdit::ValidateValue(const String& value) {
    if (FIsValidating)
        return true;
    FIsValidating = true;
    bool valid = true;
    if (FEditType == etNumeric && (FMinValue != 0 || FMaxValue != 0)) {
        // Thousand separators are read past, as the FloatValue writer puts them in.
        Integer n = 0;
        if (!TryStrToInt(StripThousandSeparators(value), n))
            n = 0;
        valid = FMinValue <= n && n <= FMaxValue;
    } else if ((FEditType == etFloat || FEditType == etMoney) &&
               (FMinFloatValue != 0 || FMaxFloatValue != 0)) {
        double x = TextToFloatValue(value);
        valid = FMinFloatValue <= x && x <= FMaxFloatValue;
    }
    DoValueValidate(value, valid);
    FIsValidating = false;
    return valid;
}

void TAdvEdit::DoValueValidate(const String& value, bool& isValid) {
    if (OnValueValidate)
        OnValueValidate(this, value, isValid);
}

void TAdvEdit::ApplyErrorColors() {
    if (FError) {
        TControl::SetColor(FErrorColor);
        Font()->SetColor(FErrorFontColor);
    } else if (Focused()) {
        TControl::SetColor(FFocusColor == clNone ? FNormalColor : FFocusColor);
        if (FFocusFontColor != clNone)
            Font()->SetColor(FFocusFontColor);
    } else {
        TControl::SetColor(FNormalColor);
        Font()->SetColor(FFontColor);
    }
}

bool TAdvEdit::IsURL() const {
    String v = Text();
    if (v.find(u"://") != String::npos)
        return true;
    if (auto at = v.find(u'@'); at != String::npos && at >= 1)
        return true;
    return LowerCase(v).starts_with(u"www.");
}

void TAdvEdit::SetURLLook(bool on) {
    if (FIsUrl == on)
        return;
    FIsUrl = on;
    TFontStyles style = Font()->Style();
    if (on) {
        style.Include(fsUnderline);
        Font()->SetStyle(style);
        Font()->SetColor(FURLColor);
        SetCursor(crHandPoint);
    } else {
        style.Exclude(fsUnderline);
        Font()->SetStyle(style);
        Font()->SetColor(FFontColor);
        SetCursor(crDefault);
    }
    Invalidate();
}

void TAdvEdit::Change() {
    TCustomEdit::Change();
    if (FShowError && !ComponentState().Contains(csLoading))
        SetIsError(!ValidateValue(Text()));
}

void TAdvEdit::Init() {
    FNormalColor = Color();
    FFontColor = Font()->Color();
    FOldBorder = BorderStyle();
    if (FFlat) {
        FFlat = false;
        SetFlat(true);
    }
    UpdateLabel();
    if (!Enabled())
        TControl::SetColor(FDisabledColor);
}

void TAdvEdit::Loaded() {
    TCustomEdit::Loaded();
    if (!ComponentState().Contains(csDesigning))
        Init();
    if (FLabel != nullptr) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(Enabled());
        FLabel->SetAlwaysEnable(FLabelAlwaysEnabled);
        if (ParentFont() && !FShowError)
            FLabel->Font()->Assign(Font());
    }
    FParentFnt = ParentFont();
    UpdateLabel();
    if (!ComponentState().Contains(csDesigning))
        LoadPersist();
    // The lookup font's size was given for 96 dots per inch.
    if (Screen()->PixelsPerInch() != 96)
        FLookup->Font()->SetSize(MulDiv(FLookup->Font()->Size(), Screen()->PixelsPerInch(), 96));
}

void TAdvEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style &= ~static_cast<DWORD>(ES_RIGHT | ES_CENTER);
    if (FEditAlign == eaRight)
        params.Style |= ES_RIGHT;
    else if (FEditAlign == eaCenter)
        params.Style |= ES_CENTER;
}

void TAdvEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    UpdateEditRect(FFlat);
    UpdateLabel();
    FError = !ValidateValue(Text());
    if (Enabled() && FShowError && FError)
        ApplyErrorColors();
    // A window made again registers its drop target again: destroying the old one revoked it.
    if (FOleDropTarget)
        RegisterDropTarget();
}

void TAdvEdit::DestroyWnd() {
    if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning))
        SavePersist();
    TCustomEdit::DestroyWnd();
    FOleDropTargetAssigned = false;
}

void TAdvEdit::WMSetFocus(TMessage& message) {
    TCustomEdit::WMSetFocus(message);
    if (ComponentState().Contains(csLoading))
        return;
    FOrigText = Text();
    if (FFocusColor != clNone && ValidateValue(Text()))
        TControl::SetColor(FFocusColor);
    if (!(FError && FShowError) && !FShowModified) {
        FFontColor = Font()->Color();
        if (FFocusFontColor != clNone && !FIsUrl)
            Font()->SetColor(FFocusFontColor);
    }
    if (FFocusLabel)
        SetLabelBold(true);
    if ((!FEmptyText.empty() && Text().empty()) || FFocusBorder) {
        if (BorderStyle() == bsNone)
            UpdateEditRect(true);
        Invalidate();
    }
}

void TAdvEdit::CMEnter(TMessage& message) {
    // The base would select the prefix and suffix too; only the value is selected.
    TWinControl::CMEnter(message);
    if (AutoSelect() && !ControlState().Contains(csLButtonDown))
        SelectAll();
}

void TAdvEdit::WMKillFocus(TMessage& message) {
    if (ComponentState().Contains(csLoading)) {
        TCustomEdit::WMKillFocus(message);
        return;
    }
    // The list keeps showing while the focus goes into it.
    HWND next = reinterpret_cast<HWND>(message.WParam);
    if (FLookupWindow == nullptr || !FLookupWindow->HandleAllocated() || next == nullptr ||
        (next != FLookupWindow->Handle() && !IsChild(FLookupWindow->Handle(), next)))
        CloseLookup();
    if (!FError)
        TControl::SetColor(FNormalColor);
    if (!(FError && FShowError) && !FShowModified && !FIsUrl)
        Font()->SetColor(FFontColor);
    String v = Text();
    const bool nullValue = v.empty() && FAllowNumericNullValue;
    if ((FEditType == etFloat || FEditType == etMoney) && FPrecision > 0 && !nullValue) {
        bool modified = FIsModified;
        SetFloatValue(FloatValue());
        SetModified(modified);
    }
    if (v.empty() && !FAllowNumericNullValue) {
        if (FEditType == etNumeric)
            SetText(u"0");
        else if (FEditType == etFloat || FEditType == etMoney)
            SetFloatValue(0);
    }
    ValidateValue(Text());
    if (FFocusLabel)
        SetLabelBold(false);
    TCustomEdit::WMKillFocus(message);
    if (Text().empty() && !FEmptyText.empty())
        Invalidate();
    AddToHistory(Trim(Text()));
    if ((FFocusBorderColor != clNone || FBorderColor != clNone) && HandleAllocated())
        SendMessageW(Handle(), WM_NCPAINT, 1, 0);
    if (FErrorMarkerLen > 0)
        Invalidate();
}

void TAdvEdit::CMEnabledChanged(TMessage& message) {
    TCustomEdit::CMEnabledChanged(message);
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning))
        return;
    if (!Enabled()) {
        if (!FError)
            FNormalColor = Color();
        TControl::SetColor(FDisabledColor);
    } else {
        TControl::SetColor(FNormalColor);
        if (FError)
            ApplyErrorColors();
    }
    if (FLabel != nullptr && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
}

// A click on a value that shows the URL look opens it with the desktop's opener, unless OnURLClick
// says no.
bool TAdvEdit::URLClick() {
    if (!FIsUrl || !FShowURL || !Focused())
        return false;
    bool show = true;
    String url = Text();
    if (OnURLClick)
        OnURLClick(this, url, show);
    if (show)
        ShellExecuteW(nullptr, u"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
