// The edit-mask language (literals, required and optional fields, case and direction directives, and
// the ";save;blank" tail), the routines that read and apply a mask, and the masked edit control.
//
// A mask such as "!\(999\)000-0000;1;_" has a body and, after the first field separator in its last
// four characters, two fields: whether literals are kept in Text ('0' = no) and the character that
// shows an empty position. Mask offsets count the characters of the mask from 1; text offsets count
// the characters of the formatted text from 0, as the framework's routines do.
#pragma once

#include "platform/framework/StdEdit.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TypeInfo.h"

// Characters of the mask language.
inline constexpr Char mDirReverse = u'!';       // fields fill from the right; Text loses leading blanks
inline constexpr Char mDirUpperCase = u'>';     // letters that follow become upper case
inline constexpr Char mDirLowerCase = u'<';     // letters that follow become lower case; "<>" ends both
inline constexpr Char mDirLiteral = u'\\';      // the next character is a literal
inline constexpr Char mMskAlpha = u'L';         // required letter
inline constexpr Char mMskAlphaOpt = u'l';      // optional letter
inline constexpr Char mMskAlphaNum = u'A';      // required letter or digit
inline constexpr Char mMskAlphaNumOpt = u'a';   // optional letter or digit
inline constexpr Char mMskAscii = u'C';         // required character of any kind
inline constexpr Char mMskAsciiOpt = u'c';      // optional character of any kind
inline constexpr Char mMskNumeric = u'0';       // required digit
inline constexpr Char mMskNumericOpt = u'9';    // optional digit
inline constexpr Char mMskNumSymOpt = u'#';     // optional digit, space, '+' or '-'
inline constexpr Char mMskTimeSeparator = u':'; // the locale's time separator
inline constexpr Char mMskDateSeparator = u'/'; // the locale's date separator
inline constexpr Char MaskFieldSeparator = u';';
inline constexpr Char MaskNoSave = u'0';
inline constexpr Char DefaultBlank = u'_';

ZELMOR_ENUM(TMaskCharType, mcNone, mcLiteral, mcIntlLiteral, mcDirective, mcMask, mcMaskOpt, mcFieldSeparator,
            mcField)
ZELMOR_ENUM(TMaskDirective, mdReverseDir, mdUpperCase, mdLowerCase, mdLiteralChar)
using TMaskDirectives = TSet<TMaskDirective>;

// What the character at maskOffset (from 1) is; mcNone past the end of the mask.
TMaskCharType MaskGetCharType(StringView editMask, Integer maskOffset);
// The directives in force at maskOffset: mdReverseDir when the mask holds '!' anywhere, the case of the
// last case directive before maskOffset, and mdLiteralChar when the character there is a literal.
TMaskDirectives MaskGetCurrentDirectives(StringView editMask, Integer maskOffset);
// ':' and '/' become the locale's separators (FormatSettings); any other character stays.
Char MaskIntlLiteralToChar(Char iChar);
// The number of text characters that the mask's characters 1..maskOffset make: the text offset of the
// position that follows maskOffset. With the mask's length it is the length of the formatted text.
Integer MaskOffsetToOffset(StringView editMask, Integer maskOffset);
// The mask offset (from 1) of the text position offset (from 0); -1 for a position outside the text.
Integer OffsetToMaskOffset(StringView editMask, Integer offset);
// Whether text position offset (from 0) holds a literal of the mask.
bool IsLiteralChar(StringView editMask, Integer offset);
// The mask offset (from 1) of the field separator; -1 when the mask has none.
Integer MaskGetFldSeparator(StringView editMask);
// Whether literals are kept in the text (the first field is not '0'); true when the mask says nothing.
bool MaskGetMaskSave(StringView editMask);
// The character of an empty position: the mask's second field, DefaultBlank when it has none.
Char MaskGetMaskBlank(StringView editMask);
// value (field characters only) laid into the mask: literals put in, missing positions filled with
// blank at the end of the text (at its start with '!').
String MaskDoFormatText(StringView editMask, StringView value, Char blank);
// value (literals included) aligned to the mask: each field of value, up to the literal that ends it,
// is padded with blank to the field's width (at its start with '!') or cut to it.
String PadInputLiterals(StringView editMask, StringView value, Char blank);
// value formatted by editMask as a masked edit shows it in Text, blanks as spaces: with the save flag
// value holds its literals (PadInputLiterals), without it value is field characters only.
String FormatMaskText(StringView editMask, StringView value);

// Raised when a masked edit's text does not fill the mask's required positions.
ZELMOR_DECLARE_EXCEPTION(EDBEditError, Exception)

ZELMOR_ENUM(TMaskedState, msMasked, msReEnter, msDBSetText)
using TMaskState = TSet<TMaskedState>;

// ---- TCustomMaskEdit ----
// An edit whose text follows EditMask. EditText is the window's text, literals and blanks included;
// Text is what the mask saves: blanks become spaces, and without the save flag only the field
// characters remain. While masked the caret is a selection of one character (the position the next
// key overwrites); typing, Backspace, Delete and paste replace characters in place and keep literals.
class TCustomMaskEdit : public TCustomEdit {
    DECLARE_CLASS(TCustomMaskEdit, TCustomEdit)

public:
    explicit TCustomMaskEdit(TComponent* owner);
    ~TCustomMaskEdit() override;

    String EditMask() const { return FEditMask; }
    // Reformats the current text into the new mask; an empty mask makes a plain edit again.
    void SetEditMask(const String& value);
    // The text with the mask's literals and blanks, as the window shows it.
    String EditText() const;
    void SetEditText(const String& value);
    bool IsMasked() const { return FMaskState.Contains(msMasked) && !FEditMask.empty(); }
    // While masked the mask's length is the limit and a value set here is ignored; removing the mask
    // leaves no limit.
    void SetMaxLength(Integer value);
    // Raises EDBEditError and puts the caret on the first empty required position when the user
    // changed a masked text that leaves one empty.
    virtual void ValidateEdit();

protected:
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    String GetText() const override;
    // Setting Text lays the value into the mask.
    void SetTextBuf(const String& value) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyUp(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void CMEnter(TMessage& message) override;
    void CMExit(TMessage& message) override;
    // Text set by the program is what Escape goes back to, and the caret leaves a literal it lands on.
    void CMTextChanged(TMessage& message) override;
    // Escape belongs to a masked edit whose text was changed, so that it resets the text rather than
    // reaching the form's cancel button.
    void CMWantSpecialKey(TMessage& message) override;
    void WMLButtonDown(TMessage& message) override;
    void WMLButtonUp(TMessage& message) override;

    virtual bool EditCanModify();
    // Escape: a changed text goes back to what it was when the edit got the focus.
    virtual void Reset();
    virtual bool Validate(const String& value, Integer& pos);
    virtual void ValidateError();
    // Checks and converts c for text position offset; false refuses it (with a beep).
    virtual bool InputChar(Char& c, Integer offset);

    // Selects the one character at pos (the masked caret); at or past the end, an empty selection there.
    void SetCursor(Integer pos);
    // An empty selection becomes the masked caret.
    void CheckCursor();
    void ReformatText(const String& newMask);
    // value (field characters) in the mask, with the mask's blank when active, with spaces otherwise.
    String AddEditFormat(const String& value, bool active) const;
    // The field characters of value: literals removed, blanks at the end (start with '!') dropped,
    // other blanks as spaces.
    String RemoveEditFormat(const String& value) const;
    Char MaskBlank() const { return FMaskBlank; }
    Integer MaxChars() const { return FMaxChars; }
    TMaskState MaskState() const { return FMaskState; }
    void SetMaskState(TMaskState value) { FMaskState = value; }

private:
    bool DoInputChar(Char& c, Integer maskOffset) const;
    Integer FindLiteralChar(Integer maskOffset, Char c) const;
    Integer GetNextEditChar(Integer offset) const;
    Integer GetPriorEditChar(Integer offset) const;
    void CursorInc(Integer pos, Integer increment);
    void CursorDec(Integer pos);
    void ArrowKeys(Word key, TShiftState shift);
    void HomeEndKeys(Word key, TShiftState shift);
    void DeleteKeys(Word key);
    bool CharKeys(Char c);
    // Blanks every field position of value in [offset, offset + length); literals stay.
    void DeleteSelection(String& value, Integer offset, Integer length) const;
    // Puts text into value from offset on, as typing would; answers the offset after the last character.
    Integer InputString(String& value, const String& text, Integer offset) const;
    void GetSel(Integer& start, Integer& stop) const;
    void SetSel(Integer anchor, Integer caret);
    void WMPaste(TMessage& message);
    void WMCut(TMessage& message);

    String FEditMask;
    Char FMaskBlank = DefaultBlank;
    Integer FMaxChars = 0; // length of the formatted text
    bool FMaskSave = true; // Text keeps the literals
    TMaskState FMaskState;
    Integer FCaretPos = 0;    // the moving end of a selection made with Shift
    Integer FBtnDownX = 0;    // where the left button went down, to tell a drag's direction
    String FOldValue;         // EditText when the edit got the focus, for Reset
    bool FSavingText = false; // DestroyWnd keeps EditText, not Text, for the next window
};

class TMaskEdit : public TCustomMaskEdit {
    DECLARE_CLASS(TMaskEdit, TCustomMaskEdit)

public:
    using TCustomMaskEdit::TCustomMaskEdit;
};
