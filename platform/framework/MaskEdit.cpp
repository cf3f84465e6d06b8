// TCustomMaskEdit: an EDIT window whose keys, paste and cut go through an edit mask, so that literals
// stay in place and each typed character overwrites the position under the one-character caret.
#include "platform/framework/Mask.h"

#include <algorithm>

#include "platform/framework/Clipbrd.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/winctrl.h"

DEFINE_CLASS(TCustomMaskEdit)
DEFINE_CLASS(TMaskEdit, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(AutoSelect).Default(true),
             PROPERTY(AutoSize).Default(true), PROPERTY(Ctl3D).Default(true),
             PROPERTY(ParentCtl3D).Default(true), PROPERTY(BorderStyle).Default(bsSingle),
             PROPERTY(CharCase).Default(ecNormal), PROPERTY(EditMask), PROPERTY(MaxLength).Default(0),
             PROPERTY(PasswordChar).Default(0), PROPERTY(ReadOnly).Default(false), PROPERTY(Text),
             EVENT(OnChange))

namespace {

bool IsLetter(Char c) {
    String s(1, c);
    return AnsiUpperCase(s) != AnsiLowerCase(s);
}

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

Char ToCase(Char c, TMaskDirectives directives) {
    if (directives.Contains(mdUpperCase))
        return AnsiUpperCase(String(1, c))[0];
    if (directives.Contains(mdLowerCase))
        return AnsiLowerCase(String(1, c))[0];
    return c;
}

// Read without TClipboard, whose Open raises while another thread holds the clipboard: a paste that
// cannot reach it pastes nothing.
String ClipboardText(HWND owner) {
    if (!OpenClipboard(owner))
        return String();
    String text = ClipboardBlockText(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    return text;
}

} // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

// ---- Mask and text ----

void TCustomMaskEdit::SetEditMask(const String& value) {
    if (value == FEditMask)
        return;
    // A focused edit keeps its caret where it was under the old mask.
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    ReformatText(value);
    FMaskState.Exclude(msMasked);
    if (!FEditMask.empty())
        FMaskState.Include(msMasked);
    TCustomEdit::SetMaxLength(FMaxChars);
    if (HandleAllocated() && GetFocus() == Handle())
        SetCursor(start);
}

void TCustomMaskEdit::ReformatText(const String& newMask) {
    // Without a mask every character of the text is a field character.
    String fields = IsMasked() ? RemoveEditFormat(EditText()) : EditText();
    FEditMask = newMask;
    FMaxChars = MaskOffsetToOffset(newMask, static_cast<Integer>(newMask.size()));
    FMaskSave = MaskGetMaskSave(newMask);
    FMaskBlank = MaskGetMaskBlank(newMask);
    SetEditText(AddEditFormat(fields, true));
}

String TCustomMaskEdit::EditText() const {
    return TCustomEdit::GetText();
}

void TCustomMaskEdit::SetEditText(const String& value) {
    if (EditText() == value)
        return;
    TCustomEdit::SetTextBuf(value);
    Perform(CM_TEXTCHANGED, 0, 0);
    CheckCursor();
}

String TCustomMaskEdit::GetText() const {
    if (!IsMasked() || FSavingText)
        return TCustomEdit::GetText();
    String result = RemoveEditFormat(EditText());
    if (FMaskSave)
        result = AddEditFormat(result, false);
    return result;
}

void TCustomMaskEdit::SetTextBuf(const String& value) {
    if (!IsMasked()) {
        TCustomEdit::SetTextBuf(value);
        return;
    }
    String text = FMaskSave ? PadInputLiterals(FEditMask, value, FMaskBlank) : AddEditFormat(value, true);
    // Text shows empty positions as spaces; the window shows them as the mask's blank, so that
    // Text := Text leaves the edit as it was.
    for (Integer i = 0; i < static_cast<Integer>(text.size()); ++i)
        if (text[static_cast<size_t>(i)] == u' ' && !IsLiteralChar(FEditMask, i))
            text[static_cast<size_t>(i)] = FMaskBlank;
    TCustomEdit::SetTextBuf(text);
    CheckCursor();
}

String TCustomMaskEdit::AddEditFormat(const String& value, bool active) const {
    return MaskDoFormatText(FEditMask, value, active ? FMaskBlank : u' ');
}

String TCustomMaskEdit::RemoveEditFormat(const String& value) const {
    String result;
    for (Integer i = 0; i < static_cast<Integer>(value.size()); ++i)
        if (!IsLiteralChar(FEditMask, i))
            result += value[static_cast<size_t>(i)];
    if (MaskGetCurrentDirectives(FEditMask, 1).Contains(mdReverseDir)) {
        size_t first = result.find_first_not_of(FMaskBlank);
        result.erase(0, first == String::npos ? result.size() : first);
    } else {
        size_t last = result.find_last_not_of(FMaskBlank);
        result.resize(last == String::npos ? 0 : last + 1);
    }
    std::replace(result.begin(), result.end(), FMaskBlank, u' ');
    return result;
}

void TCustomMaskEdit::SetMaxLength(Integer value) {
    TCustomEdit::SetMaxLength(IsMasked() ? FMaxChars : value);
}

void TCustomMaskEdit::DestroyWnd() {
    // The next window must get the formatted text back, not what Text answers.
    FSavingText = true;
    try {
        TCustomEdit::DestroyWnd();
    } catch (...) {
        FSavingText = false;
        throw;
    }
    FSavingText = false;
}

// ---- Validation ----

bool TCustomMaskEdit::Validate(const String& value, Integer& pos) {
    // An empty text is accepted: nothing was entered at all.
    if (value.empty())
        return true;
    Integer offset = 0;
    for (Integer maskOffset = 1; maskOffset <= static_cast<Integer>(FEditMask.size()); ++maskOffset) {
        TMaskCharType type = MaskGetCharType(FEditMask, maskOffset);
        if (type == mcLiteral || type == mcIntlLiteral || type == mcMaskOpt) {
            ++offset;
        } else if (type == mcMask) {
            // A text shorter than the mask leaves the rest of its positions empty.
            Char c =
                offset < static_cast<Integer>(value.size()) ? value[static_cast<size_t>(offset)] : FMaskBlank;
            if (c == FMaskBlank ||
                (c == u' ' && FEditMask[static_cast<size_t>(maskOffset - 1)] != mMskAscii)) {
                pos = offset;
                return false;
            }
            ++offset;
        }
    }
    return true;
}

void TCustomMaskEdit::ValidateError() {
    MessageBeep(0);
    throw EDBEditError(Consts::SMaskEditErr);
}

void TCustomMaskEdit::ValidateEdit() {
    String text = EditText();
    Integer pos = 0;
    if (!IsMasked() || !Modified() || Validate(text, pos))
        return;
    if (!ComponentState().Contains(csDesigning) && HandleAllocated() && !Focused()) {
        // The focus comes back to the edit without taking the old value again.
        FMaskState.Include(msReEnter);
        SetFocus();
    }
    SetCursor(pos);
    ValidateError();
}

bool TCustomMaskEdit::EditCanModify() {
    return true;
}

void TCustomMaskEdit::Reset() {
    if (!Modified())
        return;
    SetEditText(FOldValue);
    SetModified(false);
}

// ---- Caret ----

void TCustomMaskEdit::GetSel(Integer& start, Integer& stop) const {
    DWORD first = 0;
    DWORD last = 0;
    if (HandleAllocated())
        SendMessageW(WindowHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                     reinterpret_cast<LPARAM>(&last));
    start = static_cast<Integer>(first);
    stop = static_cast<Integer>(last);
}

void TCustomMaskEdit::SetSel(Integer anchor, Integer caret) {
    if (HandleAllocated())
        SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(anchor), caret);
}

void TCustomMaskEdit::SetCursor(Integer pos) {
    if (!HandleAllocated())
        return;
    pos = std::max<Integer>(pos, 0);
    if (!IsMasked()) {
        pos = std::min<Integer>(pos, static_cast<Integer>(EditText().size()));
        SetSel(pos, pos);
        return;
    }
    if (pos >= FMaxChars) {
        SetSel(FMaxChars, FMaxChars);
        FCaretPos = FMaxChars;
        return;
    }
    // The caret stands at the start of the selected character, so Shift+arrows extend from there.
    SetSel(pos + 1, pos);
    FCaretPos = pos;
}

void TCustomMaskEdit::CheckCursor() {
    if (!HandleAllocated() || !IsMasked())
        return;
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    if (start == stop)
        SetCursor(start);
}

Integer TCustomMaskEdit::GetNextEditChar(Integer offset) const {
    while (offset < FMaxChars && IsLiteralChar(FEditMask, offset))
        ++offset;
    return offset;
}

Integer TCustomMaskEdit::GetPriorEditChar(Integer offset) const {
    while (offset >= 0 && IsLiteralChar(FEditMask, offset))
        --offset;
    if (offset < 0)
        offset = GetNextEditChar(0);
    return offset;
}

void TCustomMaskEdit::CursorInc(Integer pos, Integer increment) {
    Integer next = GetNextEditChar(pos + increment);
    // Literals at the end of the mask leave the caret where it was.
    if (IsLiteralChar(FEditMask, next))
        next = pos;
    SetCursor(next);
}

void TCustomMaskEdit::CursorDec(Integer pos) {
    SetCursor(GetPriorEditChar(pos - 1));
}

// ---- Keys ----

void TCustomMaskEdit::KeyDown(Word& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (!IsMasked() || key == 0 || shift.Contains(ssAlt))
        return;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        ArrowKeys(key, shift);
        // Shift and Ctrl moves are the window's own; the caret is put right when the key goes up.
        if (!shift.Contains(ssShift) && !shift.Contains(ssCtrl))
            key = 0;
        return;
    case VK_UP:
    case VK_DOWN:
        key = 0;
        return;
    case VK_HOME:
    case VK_END:
        HomeEndKeys(key, shift);
        key = 0;
        return;
    case VK_DELETE:
    case VK_BACK:
        // Shift+Delete is the window's cut, which comes back here as WM_CUT.
        if (key == VK_DELETE && shift.Contains(ssShift))
            break;
        if (EditCanModify() && !ReadOnly())
            DeleteKeys(key);
        key = 0;
        return;
    default:
        break;
    }
    CheckCursor();
}

void TCustomMaskEdit::KeyUp(Word& key, TShiftState shift) {
    TCustomEdit::KeyUp(key, shift);
    if (IsMasked() && key != 0 && (key == VK_LEFT || key == VK_RIGHT) && shift.Contains(ssCtrl))
        CheckCursor();
}

void TCustomMaskEdit::KeyPress(Char& key) {
    TCustomEdit::KeyPress(key);
    // Ctrl+C, Ctrl+V and Ctrl+X go on to the window, which turns them into clipboard messages.
    if (!IsMasked() || key == 0 || key == 0x03 || key == 0x16 || key == 0x18)
        return;
    CharKeys(key);
    key = 0;
}

void TCustomMaskEdit::ArrowKeys(Word key, TShiftState shift) {
    if (shift.Contains(ssCtrl))
        return;
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    if (shift.Contains(ssShift)) {
        // The window extends the selection from its caret; the masked caret is at the start of its
        // one character, so Shift+Right must first move it past that character.
        if (key == VK_RIGHT && stop == start + 1 && FCaretPos == start)
            SetSel(start, start);
        FCaretPos = std::clamp<Integer>(FCaretPos + (key == VK_RIGHT ? 1 : -1), 0, FMaxChars);
        return;
    }
    if (key == VK_LEFT)
        CursorDec(start);
    else if (stop - start > 1)
        CursorInc(stop - 1, 0);
    else
        CursorInc(start, 1);
}

void TCustomMaskEdit::HomeEndKeys(Word key, TShiftState shift) {
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    if (key == VK_HOME) {
        if (shift.Contains(ssShift))
            SetSel(stop, 0);
        else
            SetCursor(0);
        FCaretPos = 0;
    } else {
        if (shift.Contains(ssShift))
            SetSel(start, FMaxChars);
        else
            SetCursor(FMaxChars);
        FCaretPos = FMaxChars;
    }
}

void TCustomMaskEdit::DeleteSelection(String& value, Integer offset, Integer length) const {
    for (Integer i = offset; i < offset + length && i < static_cast<Integer>(value.size()); ++i)
        if (!IsLiteralChar(FEditMask, i))
            value[static_cast<size_t>(i)] = FMaskBlank;
}

void TCustomMaskEdit::DeleteKeys(Word key) {
    if (ReadOnly())
        return;
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    if (stop - start <= 1 && key == VK_BACK) {
        // Backspace empties the field position before the caret.
        Integer prior = start - 1;
        while (prior >= 0 && IsLiteralChar(FEditMask, prior))
            --prior;
        if (prior < 0) {
            MessageBeep(0);
            return;
        }
        start = prior;
        stop = prior + 1;
    }
    if (stop - start < 1)
        return;
    String text = EditText();
    DeleteSelection(text, start, stop - start);
    String replacement =
        text.substr(static_cast<size_t>(std::min<Integer>(start, static_cast<Integer>(text.size()))),
                    static_cast<size_t>(stop - start));
    // Blanking what is already blank changes nothing and announces nothing.
    if (replacement != EditText().substr(static_cast<size_t>(start), replacement.size())) {
        SetSel(start, stop);
        SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(replacement.c_str()));
    }
    SetCursor(stop - start > 1 ? GetNextEditChar(start) : start);
}

bool TCustomMaskEdit::CharKeys(Char c) {
    if (c == VK_ESCAPE) {
        Reset();
        return false;
    }
    if (!EditCanModify() || ReadOnly())
        return false;
    if (c == VK_RETURN) {
        ValidateEdit();
        return false;
    }
    // Other control characters are no input.
    if (c < u' ')
        return false;
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    if (stop - start > 1) {
        DeleteKeys(VK_DELETE);
        start = GetNextEditChar(start);
        SetCursor(start);
    }
    if (IsLiteralChar(FEditMask, start)) {
        // Typing a literal over itself steps past it; anything else goes to the next field position.
        Char literal =
            MaskIntlLiteralToChar(FEditMask[static_cast<size_t>(OffsetToMaskOffset(FEditMask, start) - 1)]);
        if (c == literal) {
            CursorInc(start, 1);
            return true;
        }
        start = GetNextEditChar(start);
    }
    if (!InputChar(c, start))
        return false;
    String text(1, c);
    SetSel(start, start + 1);
    SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    GetSel(start, stop);
    CursorInc(start, 0);
    return true;
}

bool TCustomMaskEdit::DoInputChar(Char& c, Integer maskOffset) const {
    TMaskCharType type = MaskGetCharType(FEditMask, maskOffset);
    if (type == mcLiteral || type == mcIntlLiteral) {
        c = MaskIntlLiteralToChar(FEditMask[static_cast<size_t>(maskOffset - 1)]);
        return true;
    }
    TMaskDirectives directives = MaskGetCurrentDirectives(FEditMask, maskOffset);
    switch (FEditMask[static_cast<size_t>(maskOffset - 1)]) {
    case mMskNumeric:
    case mMskNumericOpt:
        return IsDigit(c);
    case mMskNumSymOpt:
        return IsDigit(c) || c == u' ' || c == u'+' || c == u'-';
    case mMskAscii:
    case mMskAsciiOpt:
        c = ToCase(c, directives);
        return true;
    case mMskAlpha:
    case mMskAlphaOpt:
    case mMskAlphaNum:
    case mMskAlphaNumOpt: {
        Char kind = FEditMask[static_cast<size_t>(maskOffset - 1)];
        if (IsLetter(c)) {
            c = ToCase(c, directives);
            return true;
        }
        return (kind == mMskAlphaNum || kind == mMskAlphaNumOpt) && IsDigit(c);
    }
    default:
        return true;
    }
}

Integer TCustomMaskEdit::FindLiteralChar(Integer maskOffset, Char c) const {
    while (maskOffset < static_cast<Integer>(FEditMask.size())) {
        ++maskOffset;
        TMaskCharType type = MaskGetCharType(FEditMask, maskOffset);
        if (type == mcLiteral || type == mcIntlLiteral)
            return MaskIntlLiteralToChar(FEditMask[static_cast<size_t>(maskOffset - 1)]) == c ? maskOffset
                                                                                              : -1;
    }
    return -1;
}

bool TCustomMaskEdit::InputChar(Char& c, Integer offset) {
    Integer maskOffset = OffsetToMaskOffset(FEditMask, offset);
    if (maskOffset > 0) {
        TMaskCharType type = MaskGetCharType(FEditMask, maskOffset);
        Char typed = c;
        if (DoInputChar(c, maskOffset))
            return true;
        // Typing the literal that ends a field skips the field's remaining positions.
        if (type == mcMask || type == mcMaskOpt) {
            Integer literal = FindLiteralChar(maskOffset, typed);
            if (literal > 0) {
                SetCursor(MaskOffsetToOffset(FEditMask, literal));
                return false;
            }
        }
    }
    MessageBeep(0);
    return false;
}

Integer TCustomMaskEdit::InputString(String& value, const String& text, Integer offset) const {
    size_t next = 0;
    while (offset < static_cast<Integer>(value.size()) && offset < FMaxChars && next < text.size()) {
        Integer maskOffset = OffsetToMaskOffset(FEditMask, offset);
        TMaskCharType type = MaskGetCharType(FEditMask, maskOffset);
        Char c = text[next];
        if (type == mcLiteral || type == mcIntlLiteral) {
            // A literal of the text that matches the mask's is used up; any other character waits
            // for the next field position.
            Char literal = MaskIntlLiteralToChar(FEditMask[static_cast<size_t>(maskOffset - 1)]);
            value[static_cast<size_t>(offset)] = literal;
            if (c == literal)
                ++next;
        } else {
            value[static_cast<size_t>(offset)] = DoInputChar(c, maskOffset) ? c : FMaskBlank;
            ++next;
        }
        ++offset;
    }
    return offset;
}

// ---- Messages ----

void TCustomMaskEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_PASTE:
        WMPaste(message);
        break;
    case WM_CUT:
        WMCut(message);
        break;
    default:
        TCustomEdit::Dispatch(message);
    }
}

void TCustomMaskEdit::WMPaste(TMessage& message) {
    if (!IsMasked() || ReadOnly()) {
        TCustomEdit::Dispatch(message);
        return;
    }
    String pasted = ClipboardText(Handle());
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    String text = EditText();
    DeleteSelection(text, start, stop - start);
    Integer after = InputString(text, pasted, start);
    if (text != EditText()) {
        // One replacement of the whole text, so that the change is one EN_CHANGE and marks the
        // text modified as typing does.
        SetSel(0, static_cast<Integer>(EditText().size()));
        SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetCursor(after);
}

void TCustomMaskEdit::WMCut(TMessage& message) {
    if (!IsMasked() || ReadOnly()) {
        TCustomEdit::Dispatch(message);
        return;
    }
    CopyToClipboard();
    DeleteKeys(VK_DELETE);
}

void TCustomMaskEdit::WMLButtonDown(TMessage& message) {
    if (IsMasked())
        FBtnDownX = GET_X_LPARAM(message.LParam);
    TCustomEdit::WMLButtonDown(message);
}

void TCustomMaskEdit::WMLButtonUp(TMessage& message) {
    TCustomEdit::WMLButtonUp(message);
    if (!IsMasked())
        return;
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    FCaretPos = start;
    if (start != stop && GET_X_LPARAM(message.LParam) > FBtnDownX)
        FCaretPos = stop;
    CheckCursor();
}

void TCustomMaskEdit::CMEnter(TMessage& message) {
    if (!IsMasked() || ComponentState().Contains(csDesigning)) {
        TCustomEdit::CMEnter(message);
        return;
    }
    if (!FMaskState.Contains(msReEnter)) {
        FOldValue = EditText();
        TCustomEdit::CMEnter(message);
    }
    FMaskState.Exclude(msReEnter);
    CheckCursor();
}

void TCustomMaskEdit::CMTextChanged(TMessage& message) {
    TCustomEdit::CMTextChanged(message);
    FOldValue = EditText();
    if (!HandleAllocated() || !IsMasked())
        return;
    Integer start = 0;
    Integer stop = 0;
    GetSel(start, stop);
    Integer next = GetNextEditChar(start);
    if (next != start)
        SetCursor(next);
}

void TCustomMaskEdit::CMWantSpecialKey(TMessage& message) {
    TCustomEdit::CMWantSpecialKey(message);
    if (message.WParam == VK_ESCAPE && IsMasked() && Modified())
        message.Result = 1;
}

void TCustomMaskEdit::CMExit(TMessage& message) {
    // A window that goes (RecreateWnd, freeing) loses the focus without the user leaving the text.
    if (IsMasked() && !ComponentState().Contains(csDesigning) &&
        !ControlState().Contains(csDestroyingHandle)) {
        ValidateEdit();
        CheckCursor();
    }
    TCustomEdit::CMExit(message);
}
