// The typed edit's input: the character filter of each value type, the sign, separator and
// integer-part rules while typing, the keys around prefix and suffix, Escape and Enter, the caret kept
// inside the value by the mouse, and copy, cut and paste.
#include "controls/AdvEdit.h"

#include <cstdlib>

#include "platform/framework/Clipbrd.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winctrl.h"

namespace {

constexpr Char Backspace = 8, Tab = 9, LineFeed = 10, Enter = 13, Escape = 27;

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

bool ControlDown() {
    return GetKeyState(VK_CONTROL) < 0;
}

bool ShiftDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

} // namespace

void TAdvEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_COPY:
        WMCopy(message);
        break;
    case WM_CUT:
        WMCut(message);
        break;
    case WM_PASTE:
        WMPaste(message);
        break;
    case WM_NCPAINT:
        WMNCPaint(message);
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        TCustomEdit::Dispatch(message);
        if (FTransparent)
            SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        break;
    default:
        TCustomEdit::Dispatch(message);
    }
}

bool TAdvEdit::SignAllowed() const {
    return FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney);
}

Integer TAdvEdit::IntegerPartLength(const String& value) const {
    String v = value;
    if (auto ds = v.find(FormatSettings.DecimalSeparator); ds != String::npos)
        v.erase(ds);
    v = StripThousandSeparators(v);
    if (SignAllowed() && !v.empty() && v[0] == u'-')
        v.erase(0, 1);
    return static_cast<Integer>(v.size());
}

// True refuses a separator typed at value position caret: a decimal separator goes exactly three
// characters after a thousand separator, and no separator closer than three characters to one.
bool TAdvEdit::SeparatorSpacingRefuses(const String& value, Integer caret) const {
    const Char ts = FormatSettings.ThousandSeparator;
    String t = value;
    if (t.find(ts) == String::npos)
        return false;
    Integer m = static_cast<Integer>(t.size());
    Integer k = caret;
    for (auto at = t.find(ts); at != String::npos; at = t.find(ts)) {
        Integer p = static_cast<Integer>(at) + 1;
        Integer d = std::abs(p - k);
        m = std::min(m, d);
        if (d < 3)
            return true;
        if (k > p)
            k -= p;
        t.erase(0, static_cast<std::size_t>(p));
    }
    return m > 3;
}

// Writes the value with its sign toggled, unformatted, and keeps the caret beside the same digit.
void TAdvEdit::ToggleSign(bool alwaysModified) {
    const Integer p = static_cast<Integer>(FPrefix.size());
    String v = Text();
    Integer caret = SelStart();
    if (v.find(u'-') != String::npos) {
        v.erase(0, 1);
        caret = caret > p && caret > 0 ? caret - 1 : p;
        if (alwaysModified)
            SetModified(true);
    } else {
        v = u"-" + v;
        ++caret;
        SetModified(true);
    }
    SetWindowText(FPrefix + v + FSuffix);
    SetSel(caret, caret);
}

void TAdvEdit::NextControl(bool previous) {
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

void TAdvEdit::PostKeyToParent(Word key, bool up) {
    if (Parent() != nullptr)
        PostMessage(Parent()->Handle(), up ? WM_KEYUP : WM_KEYDOWN, key, 0);
}

void TAdvEdit::CharTail() {
    if (FTabOnFullLength && FLengthLimit > 0 && IntegerPartLength(Text()) >= FLengthLimit &&
        SelLength() == 0 && SelStart() - static_cast<Integer>(FPrefix.size()) == FLengthLimit)
        NextControl(false);
    if (EditModified())
        SetModified(true);
    UpdateLookup();
}

void TAdvEdit::WMChar(TMessage& message) {
    if (!FEditorEnabled) {
        message.Result = 0;
        return;
    }
    Char c = static_cast<Char>(message.WParam);
    const Char ds = FormatSettings.DecimalSeparator;
    const Char ts = FormatSettings.ThousandSeparator;
    const Integer p = static_cast<Integer>(FPrefix.size());
    const String value = Text();
    const Integer caret = SelStart();
    const Integer selLength = SelLength();
    const bool ctrl = ControlDown();
    auto base = [&] {
        message.WParam = c;
        TCustomEdit::WMChar(message);
    };

    // Typing over the whole value replaces it in one step; the deletion half is no change of its own.
    if (selLength == static_cast<Integer>(value.size()) && !value.empty() && FEditType != etPassword &&
        c != Backspace)
        FBlockChange = true;
    if (c == Enter && ctrl) {
        message.Result = 1;
        return;
    }
    if (c == Enter) {
        Char key = Enter;
        KeyPress(key);
        if (!FDefaultHandling && Parent() != nullptr) {
            PostKeyToParent(VK_RETURN, false);
            TCustomForm* form = GetParentForm(this);
            if (form != nullptr && form->KeyPreview()) {
                c = 0;
                base();
            } else {
                PostKeyToParent(VK_RETURN, true);
            }
        }
        return;
    }
    if (c == Escape) {
        if (!FDefaultHandling && Parent() != nullptr) {
            TCustomForm* form = GetParentForm(this);
            if (form != nullptr && form->KeyPreview()) {
                base();
                return;
            }
            PostKeyToParent(VK_ESCAPE, false);
            PostKeyToParent(VK_ESCAPE, true);
        }
        base();
        return;
    }
    if (ctrl && c == 1) {
        SelectAll();
        return;
    }
    if (ctrl && (c == 3 || c == 22 || c == 24)) {
        base();
        return;
    }
    // The keypad's decimal key has bit 6 of its scan code set.
    if (FExcelStyleDecimalSeparator && (c == u'.' || c == u',') && (message.LParam & (1 << 22)) != 0)
        c = ds;
    if (c == Backspace && !FPrefix.empty() && caret <= p && selLength == 0)
        return;
    if (FLengthLimit > 0 && IntegerPartLength(value) >= FLengthLimit && selLength == 0) {
        auto at = value.find(ds);
        Integer limit = at == String::npos ? static_cast<Integer>(WindowText().size()) + 1
                                           : p + static_cast<Integer>(at) + 1;
        if (caret < limit && c != Backspace && c != ds && !(c == u'-' && SignAllowed()))
            return;
    }
    if (c == Backspace) {
        bool modified = FIsModified || selLength > 0 || caret > p;
        SetModified(modified);
        base();
        if (FEditType == etMoney)
            ApplyThousandSeparators();
        SetModified(modified);
        UpdateLookup();
        return;
    }
    if (c == LineFeed && ctrl)
        return;
    if (c == u'-' && !FSigned && (FEditType == etNumeric || FEditType == etFloat || FEditType == etMoney))
        return;

    switch (FEditType) {
    case etString:
    case etPassword:
        SetModified(true);
        base();
        break;
    case etAlphaNumeric:
        if (c == Tab || c == Enter || IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) {
            SetModified(true);
            base();
        }
        break;
    case etValidChars:
        if (FValidChars.find(c) != String::npos) {
            SetModified(true);
            base();
        }
        break;
    case etHex:
        if (c == Tab || c == Enter || c == u'-' || IsDigit(c) || (c >= u'A' && c <= u'F') ||
            (c >= u'a' && c <= u'f')) {
            SetModified(true);
            base();
        }
        break;
    case etUppercase:
        c = AnsiUpperCase(StringView(&c, 1))[0];
        base();
        break;
    case etLowerCase:
        c = AnsiLowerCase(StringView(&c, 1))[0];
        base();
        break;
    case etMixedCase: {
        Integer at = SelStart();
        base();
        SetWindowText(FPrefix + NameCase(Text()) + FSuffix);
        SetSel(at + 1, at + 1);
        break;
    }
    case etRange:
        if (c == Tab || c == Enter || IsDigit(c)) {
            SetModified(true);
            base();
        } else if (c == u',' || c == u'-' || c == u';') {
            auto isSeparator = [](Char x) { return x == u',' || x == u'-' || x == u';'; };
            const String window = WindowText();
            if (caret <= p || (caret > 0 && isSeparator(window[caret - 1])) ||
                (caret < static_cast<Integer>(window.size()) && isSeparator(window[caret])))
                return;
            SetModified(true);
            base();
        }
        break;
    case etNumeric:
        if (c == u'-') {
            if (selLength == static_cast<Integer>(value.size())) {
                SetWindowText(FPrefix + u"-" + FSuffix);
                SetSel(p + 1, p + 1);
                FBlockChange = false;
                return;
            }
            ToggleSign(false);
        } else if (c == Tab || c == Enter || IsDigit(c) || ctrl) {
            // Other characters pass with Ctrl held, so that shortcuts such as undo work.
            base();
        }
        break;
    case etFloat:
    case etMoney: {
        const bool money = FEditType == etMoney;
        if (!money && ((c == u',' && ds != u',') || (c == u'.' && ds != u'.')))
            return;
        if (money && c == ds) {
            if (FPrecision > 0 && selLength == static_cast<Integer>(value.size()) && !value.empty()) {
                SetText(u"0,0");
                SelectAfterDecimal();
                FBlockChange = false;
            }
            if (Text().find(ds) != String::npos || FPrecision == 0)
                return;
        }
        bool accepted = c == Tab || c == Enter || c == u'-' || IsDigit(c) || c == ds ||
                        (!money && (c == u',' || c == u'.' || c == ts));
        if (!accepted)
            break;
        const String selection = value.substr(std::min<std::size_t>(std::max(caret - p, 0), value.size()),
                                              static_cast<std::size_t>(selLength));
        if (!money && c == ds && selection.find(ds) == String::npos &&
            (value.find(ds) != String::npos || FPrecision == 0)) {
            if (FPrecision > 0)
                SelectAfterDecimal();
            return;
        }
        if ((c == ts || c == ds) && SeparatorSpacingRefuses(value, caret - p))
            return;
        auto dsAt = value.find(ds);
        if (FPrecision > 0 && dsAt != String::npos && caret - p > static_cast<Integer>(dsAt) &&
            static_cast<Integer>(value.size() - dsAt - 1) >= FPrecision && selLength == 0 &&
            (IsDigit(c) || c == ds)) {
            // The decimals are full: a digit overwrites the next one instead.
            if (IsDigit(c) && caret < p + static_cast<Integer>(value.size()))
                SetSel(caret, caret + 1);
            else
                return;
        }
        if (value.empty() && caret <= p && c == ds) {
            SetWindowText(FPrefix + u"0" + String(1, ds) + FSuffix);
            SetSel(p + 2, p + 2);
            SetModified(true);
            return;
        }
        if (c == u'-' && selLength == 0) {
            ToggleSign(true);
            return;
        }
        base();
        if (money) {
            String now = Text();
            if (!now.empty() && now != u"-" && c != ds) {
                if (EditModified())
                    SetModified(true);
                ApplyThousandSeparators();
            }
        }
        break;
    }
    }
    CharTail();
}

void TAdvEdit::WMKeyDown(TMessage& message) {
    Word key = static_cast<Word>(message.WParam);
    if (!FEditorEnabled) {
        message.Result = 1;
        return;
    }
    if ((key == VK_UP || key == VK_DOWN) && !LookupVisible()) {
        KeyDown(key, TShiftState());
        message.Result = 1;
        return;
    }
    if (key == VK_RETURN && LookupVisible()) {
        AcceptLookup();
        return;
    }
    if ((key == VK_TAB || key == VK_RETURN) && ControlDown()) {
        TCustomEdit::WMKeyDown(message);
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        key = FReturnAsTabKey;
        message.WParam = key;
        if (HandleAllocated() && IsWindowVisible(Handle()))
            NextControl(false);
    }
    const Integer p = static_cast<Integer>(FPrefix.size());
    const String value = Text();
    const Integer end = p + static_cast<Integer>(value.size());
    Integer selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    const bool shift = ShiftDown();
    if (key == VK_RIGHT && !FSuffix.empty() && selEnd >= end)
        return;
    if (key == VK_DELETE && !FSuffix.empty()) {
        if (selEnd >= end && selStart == selEnd)
            return;
        SetModified(true);
    }
    if (key == VK_LEFT && !FPrefix.empty() && selEnd <= p)
        return;
    if (key == VK_END && !FSuffix.empty()) {
        SetSel(shift ? selStart : end, end);
        return;
    }
    if (key == VK_HOME && !FPrefix.empty()) {
        if (shift)
            SetSel(end, p);
        else
            SetSel(p, p);
        return;
    }
    if (key == VK_BACK) {
        if (!FPrefix.empty() && selStart <= p + 1) {
            KeyDown(key, TShiftState());
            return;
        }
        SetModified(true);
    }
    if (key == VK_DELETE && selStart >= p) {
        Integer from = selStart - p;
        Integer count = selEnd > selStart ? selEnd - selStart : 1;
        String rest = value;
        if (from < static_cast<Integer>(rest.size()))
            rest.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
        if (FLengthLimit > 0 && IntegerPartLength(rest) > FLengthLimit)
            return;
        SetModified(true);
    }
    TCustomEdit::WMKeyDown(message);
    if (key == VK_DELETE && FEditType == etMoney)
        ApplyThousandSeparators();
    if (!FPrefix.empty() && SelStart() < p)
        SetSel(p, p);
}

void TAdvEdit::CMWantSpecialKey(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (form == nullptr)
        return;
    if (FBlockDefaultHandling) {
        FBlockDefaultHandling = false;
        return;
    }
    if (message.WParam == VK_ESCAPE && FCanUndo && !form->KeyPreview()) {
        if (LookupVisible()) {
            HideLookup();
            FBlockDefaultHandling = true;
        } else {
            SetText(FOrigText);
            SelectAll();
        }
        Font()->SetColor(FFocusFontColor);
        SetModified(false);
        message.WParam = 0;
        message.Result = 0;
        // A dialog's cancel button still sees the key.
        if (FDefaultHandling) {
            PostKeyToParent(VK_ESCAPE, false);
            PostKeyToParent(VK_ESCAPE, true);
        }
    } else if (message.WParam == VK_RETURN && FDefaultHandling && !form->KeyPreview() &&
               Parent() != nullptr && GetFocus() == Parent()->Handle()) {
        PostKeyToParent(VK_RETURN, false);
        PostKeyToParent(VK_RETURN, true);
    }
    TCustomEdit::CMWantSpecialKey(message);
}

void TAdvEdit::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == EN_CHANGE) {
        if (FBlockChange) {
            FBlockChange = false;
            return;
        }
        if (FShowURL)
            SetURLLook(IsURL());
    }
    TCustomEdit::CNCommand(message);
}

void TAdvEdit::WMLButtonDown(TMessage& message) {
    Integer selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    if (selEnd > selStart && Focused()) {
        LRESULT hit = Perform(EM_CHARFROMPOS, 0, message.LParam);
        Integer at = LOWORD(hit);
        if (at >= selStart && at <= selEnd) {
            FButtonDown = true;
            return;
        }
    }
    TCustomEdit::WMLButtonDown(message);
}

void TAdvEdit::WMLButtonUp(TMessage& message) {
    if (FButtonDown) {
        Integer at = LOWORD(Perform(EM_CHARFROMPOS, 0, message.LParam));
        SetSel(at, at);
        Click();
    }
    FButtonDown = false;
    TCustomEdit::WMLButtonUp(message);
    if (URLClick())
        return;
    // The caret stays inside the value.
    const Integer p = static_cast<Integer>(FPrefix.size());
    const Integer end = p + static_cast<Integer>(Text().size());
    Integer selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    if (selStart < p)
        SetSel(p, end);
    else if (selStart > end)
        SetSel(end, end);
    else if (selEnd > end)
        SetSel(selStart, end);
}

void TAdvEdit::WMCopy(TMessage& message) {
    bool allow = true;
    if (OnClipboardCopy && !FBlockCopy) {
        const Integer p = static_cast<Integer>(FPrefix.size());
        String value = Text();
        std::size_t from = static_cast<std::size_t>(std::clamp<Integer>(SelStart() - p, 0, value.size()));
        OnClipboardCopy(this, value.substr(from, static_cast<std::size_t>(SelLength())), allow);
    }
    FBlockCopy = false;
    if (allow)
        TCustomEdit::Dispatch(message);
}

void TAdvEdit::WMCut(TMessage& message) {
    FBlockCopy = true;
    bool allow = true;
    if (OnClipboardCut) {
        const Integer p = static_cast<Integer>(FPrefix.size());
        String value = Text();
        std::size_t from = static_cast<std::size_t>(std::clamp<Integer>(SelStart() - p, 0, value.size()));
        OnClipboardCut(this, value.substr(from, static_cast<std::size_t>(SelLength())), allow);
    }
    if (allow)
        TCustomEdit::Dispatch(message);
    FBlockCopy = false;
    Change();
}

void TAdvEdit::WMPaste(TMessage&) {
    if (ReadOnly())
        return;
    const Integer p = static_cast<Integer>(FPrefix.size());
    if (Clipboard()->HasFormat(CF_TEXT)) {
        // Only the first line of the clipboard's text is pasted.
        String t = Clipboard()->AsText();
        if (auto lineEnd = t.find_first_of(u"\r\n"); lineEnd != String::npos)
            t.erase(lineEnd);
        String value = Text();
        Integer selStart = 0, selEnd = 0;
        GetSel(selStart, selEnd);
        std::size_t from = static_cast<std::size_t>(std::clamp<Integer>(selStart - p, 0, value.size()));
        std::size_t count =
            std::min<std::size_t>(static_cast<std::size_t>(selEnd - selStart), value.size() - from);
        String v = value.substr(0, from) + t + value.substr(from + count);
        const bool hadSelection = selEnd > selStart;
        const Integer newStart = hadSelection ? selStart : selStart + static_cast<Integer>(t.size());
        const Integer newEnd = selStart + static_cast<Integer>(t.size());

        bool allow = true;
        if (OnClipboardPaste)
            OnClipboardPaste(this, v, allow);
        if (!allow)
            return;
        if (MaxLength() > 0 && static_cast<Integer>(v.size()) > MaxLength())
            v.erase(static_cast<std::size_t>(MaxLength()));
        const bool unsignedOk = FSigned || v.find(u'-') == String::npos;
        TNumericTextKind kind = NumericTextKind(v);
        switch (FEditType) {
        case etString:
        case etPassword:
            SetText(v);
            break;
        case etNumeric:
            if (kind == TNumericTextKind::Integer && unsignedOk) {
                SetText(v);
                SetModified(true);
            }
            break;
        case etFloat:
        case etMoney: {
            v = Trim(v);
            kind = NumericTextKind(v);
            bool separatorOk = FPrecision != 0 || t.find(FormatSettings.DecimalSeparator) == String::npos;
            if ((kind == TNumericTextKind::Integer || kind == TNumericTextKind::Decimal) && separatorOk &&
                (FSigned || v.find(u'-') == String::npos)) {
                SetText(v);
                SetFloatValue(FloatValue());
                SetModified(true);
            }
            break;
        }
        case etUppercase:
            SetText(AnsiUpperCase(v));
            break;
        case etLowerCase:
            SetText(AnsiLowerCase(v));
            break;
        case etMixedCase:
            SetText(NameCase(v));
            break;
        case etRange:
            break;
        case etHex:
            if (kind == TNumericTextKind::Integer || kind == TNumericTextKind::Hexadecimal)
                SetText(v);
            break;
        case etAlphaNumeric: {
            bool ok = std::all_of(v.begin(), v.end(), [](Char c) {
                return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
            });
            if (ok) {
                SetText(v);
                SetModified(true);
            }
            break;
        }
        case etValidChars:
            if (std::all_of(v.begin(), v.end(),
                            [this](Char c) { return FValidChars.find(c) != String::npos; })) {
                SetText(v);
                SetModified(true);
            }
            break;
        }
        if (FEditType == etMoney && Text().size() > 3)
            SelectAll();
        else
            SetSel(newStart, newEnd);
        if (FEditType == etString || FEditType == etUppercase || FEditType == etMixedCase ||
            FEditType == etLowerCase || FEditType == etPassword)
            SetModified(true);
    }
    UpdateLookup();
    // A value filled up by a paste moves on to the next control, as one filled up by typing does.
    if (FTabOnFullLength && FLengthLimit > 0 && static_cast<Integer>(Text().size()) == FLengthLimit)
        NextControl(false);
}
