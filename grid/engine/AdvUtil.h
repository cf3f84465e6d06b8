// The grid's utility routines: text, number and date helpers, the cell text kinds, the one-line and
// wide-text cell forms of the grid's files, the clipboard HTML fragment and the filter condition
// language. Free functions without state, shared by the grid, its view, its files and the drop-downs.
//
// Positions are 1-based as in the framework; 0 means "not found". Conversion failures are results
// (false, 0, a not-a-number kind, empty text), not exceptions, unless a routine says otherwise.
//
// Contents: locale and small integer routines; searching and splitting; case and character classes;
// line-break and quoting forms; URLs; cell text kinds and wide text; numbers; dates; HTML; filters;
// gradient painters and layered windows.
#pragma once

#include "platform/framework/Idents.h"
#include "platform/rtl/Types.h"
#include "platform/win32/wintypes.h"

class TCanvas;
class TStrings;
struct TRect;
struct BLENDFUNCTION;
struct HWND__;
using HWND = HWND__*;

// ---- Locale, comparison and small integer routines

// Natural comparison of two null-terminated strings (digit runs by value, the rest without case);
// negative, 0 or positive.
Integer CompareLogical(const Char* s1, const Char* s2);

// The current separators and short date format of the global FormatSettings, read at each call so
// that a change of the settings shows at once.
Char GetTimeSeparator();
Char GetDateSeparator();
Char GetThousandSeparator();
Char GetDecimalSeparator();
String GetShortDateFormat();

Integer IntMax(Integer a, Integer b);
Integer IntMin(Integer a, Integer b);
// A limit of 0 or less is no limit; equal limits leave the value alone.
Integer ClampToLimits(Integer value, Integer lower, Integer upper);

// Whether the cell (column, row) lies in the grid rectangle, edges included. Takes any rectangle with
// the grid rectangle's fields Left, Top, Right and Bottom.
template <typename TGridRectType>
bool GridRectContains(const TGridRectType& rect, Integer column, Integer row) {
    return rect.Left <= column && column <= rect.Right && rect.Top <= row && row <= rect.Bottom;
}

// Reads a reference "R<row>C<column>" in either case ('r12c3'). False when the text is shorter than
// four characters, does not start with R, holds no C or a number does not convert; column and row
// are then left alone.
bool ParseRCReference(StringView text, Integer& column, Integer& row);
// The same into any point record with the fields X (column) and Y (row).
template <typename TPointType> bool ParseRCReference(StringView text, TPointType& point) {
    Integer column = 0;
    Integer row = 0;
    if (!ParseRCReference(text, column, row))
        return false;
    point.X = column;
    point.Y = row;
    return true;
}

// ---- Searching and splitting

Integer CharPos(Char c, StringView text);
// As CharPos; when found, the position is also written to position (left alone when not found).
Integer CharPosStore(Char c, StringView text, Integer& position);
// Pos(sub, text), always also written to position.
Integer PosStore(StringView sub, StringView text, Integer& position);
// Position of sub in text with a-z upper-cased; sub itself is not upper-cased, so pass it in upper case.
Integer PosInUpperCase(StringView sub, StringView text);
Integer WidePos(StringView sub, StringView text);
// Adds the pieces of text between the delimiters to list, in order; the piece after the last
// delimiter is always added, so a text without one (also the empty text) adds one item. After each
// delimiter, only its first character is removed: pass one-character delimiters. The delimiter comes
// first, as every caller passes it.
void SplitToStrings(StringView delimiter, StringView text, TStrings& list);
// All items of list, without separator.
String JoinLines(const TStrings& list);
// Returns the text before delimiter and removes it and the delimiter's first character from source;
// returns "" and leaves source alone when delimiter does not occur.
String CutLeadingField(String& source, StringView delimiter);
Integer CountChar(StringView text, Char c);
// The flag is kept for callers that pass it; it changes nothing.
Integer CountChar(StringView text, Char c, bool flag);
// Overwrites every character of text with c (a masked edit's text); the length stays.
void FillWithChar(String& text, Char c);

// ---- Case and character classes

// Capitalises words: the first letter of each word upper, the rest lower; also after a leading "Mc"
// or the first " Mc", and the Roman "I" and "II" at the end ('mcdonald' gives 'McDonald',
// 'john smith iii' gives 'John Smith III').
String ProperCase(StringView text);
// Space, apostrophe, comma, hyphen and period.
bool IsWordSeparator(Char c);
// The text with accents taken off: every character is decomposed into its base and combining
// characters and only the characters below code 256 are kept, so the combining marks and every
// character beyond Latin-1 are dropped. Any length of text.
String StripDiacritics(StringView text);
// A character of the Unicode number categories (decimal digit, letter number, other number); the
// second form takes a code point.
bool IsNumberChar(Char c);
bool IsNumberChar(Integer code);
// A number character or "-".
bool IsIntegerChar(Char c);
// A number character, the locale's thousand or decimal separator, "e" or "E".
bool IsFloatChar(Char c);
// IsFloatChar, "+" or "-".
bool IsSignedFloatChar(Char c);
// A number character, "+", "-", ".", "e" or "E".
bool IsNumberFormatChar(Char c);

// ---- Line-break and quoting forms
//
// The grid's text files keep a cell on one line. These encodings are part of stored files: a text with
// a CR has CR stored as character 9, LF as 8 and character 0 as 1; a text without CR is stored as it
// is, and a stored text without character 8 is read as it is.

String EncodeLineBreaks(StringView text);
// Reverses EncodeLineBreaks when the text holds character 8; then, unless multiLine, keeps only the
// text before the first CR.
String DecodeLineBreaks(StringView text, bool multiLine);
// Every CR LF becomes character 11, then the text is put in double quotes (always).
void QuoteMultiLine(String& text);
// Every character 11 becomes CR LF.
void VTToCRLF(String& text);
// Every CR becomes "~", every LF is dropped.
void LineBreaksToTilde(String& text);
// Every "~" becomes CR LF; a text that is then exactly "^" (an empty cell) becomes empty.
void TildeToLineBreaks(String& text);
// Every CR becomes backslash "n", every LF is dropped (settings kept on one line).
String EscapeNewLines(StringView text);
// Every backslash "n" becomes a CR alone.
String UnescapeNewLines(StringView text);
// Drops the CR of every CR LF.
void CRLFToLF(String& text);
String RemoveCR(StringView text);
String CRToLF(StringView text);
// Returns the text before the first CR. With keepRest, source keeps what follows that CR (without an
// LF right after it); otherwise, and always when source holds no CR, source is emptied.
String CutFirstLine(String& source, bool keepRest);
// 1 unless multiLine; otherwise 1 plus one for every CR with more text after it and the character
// that follows it (the two make the break), so a trailing CR LF adds no line.
Integer CountLines(StringView text, bool multiLine);
// The first of the widest lines on canvas, taking lines as CutFirstLine does and stopping at the first
// empty line.
String GetWidestLine(TCanvas* canvas, const String& text);
String DoubleQuoteChars(StringView text);
// Every pair of c becomes one c.
String UndoubleChar(StringView text, Char c);
// Position of the last character of the first run of c of odd length, or of a c that stands last in
// the text whatever its run; 0 when there is none. The result is also written to position.
Integer FindUnpairedChar(StringView text, Char c, Integer& position);
// How many unpaired c FindUnpairedChar finds one after the other.
Integer CountUnpairedChars(StringView text, Char c);
// Code page hooks of the CSV writer and reader: text passes unchanged.
String ConvertToOem(StringView text);
String ConvertFromOem(StringView text);

// ---- URLs

// Whether the text holds "://" or "mailto:" (case matters).
bool HasURLScheme(StringView text);
// Removes everything up to and including the first "://", or else the first "mailto:".
void StripURLScheme(String& text);

// ---- Cell text kinds and wide text

// CellTextKind's answers.
inline constexpr Integer CellKindPlain = 0;
inline constexpr Integer CellKindHTML = 1;
inline constexpr Integer CellKindRTF = 2;
inline constexpr Integer CellKindFormula = 3;
inline constexpr Integer CellKindWide = 5;

// "=..." (also in wide form) is a formula, "|\..." wide text, "{\..." RTF, and with htmlAllowed a
// "<" followed by "/", "B", "C", "I" or "P" in either case anywhere is HTML; anything else is plain.
Integer CellTextKind(StringView text, bool htmlAllowed);
// The wide-text cell form: "|\" then two characters per UTF-16 unit, its high byte and its low byte.
String EncodeWideText(StringView text);
// Decodes the wide-text cell form (a trailing odd character is ignored); other text is returned as it is.
String DecodeWideText(StringView text);

// ---- Numbers

// NumberTextKind's answers.
inline constexpr Integer NumberKindInteger = 0;
inline constexpr Integer NumberKindDecimal = 1;
inline constexpr Integer NumberKindNone = 2;
inline constexpr Integer NumberKindExponent = 5;

// Whether the text is an integer, a decimal number with the locale's separators, a number in exponent
// form, or not a number.
Integer NumberTextKind(StringView text);
// A formatted number ('€ 1.234,50', '(1.234)') as text that StrToFloat reads with "." as the decimal
// separator ('1234.50', '-1234').
String CleanNumberText(StringView text);

// ---- Dates

// A date in the order of the locale's short date format, split by the locale's date separator,
// optionally followed by a blank and a time "h:n" or "h:n:s". The year is taken as written. False for
// anything else, including a date the calendar lacks; never raises.
bool ParseDateTimeText(StringView text, TDateTime& value);
// Whether the text holds the date separator at position 2 or later and a second one after it, not
// directly after it.
bool LooksLikeDate(StringView text);
// Dates 'm/d/y' and 'd/m/y' split by "/", else ".", else "-". A year up to 25 gets 2000 added, one from
// 26 to 99 gets 1900, and a year of 100 or more is taken as written. 0 when a separator is missing or a
// part does not convert; a date the calendar lacks raises EConvertError.
TDateTime ParseDateMDY(StringView text);
TDateTime ParseDateDMY(StringView text);
// The date moved by days alone, by years alone (same month and day), by months alone (one wrap of the
// year at most, so month plus months must lie in 0..24), or else by the plain delta in days. The time
// of day stays. Raises EConvertError when the target month lacks the day.
TDateTime IncDateParts(SmallInt years, SmallInt months, SmallInt days, Extended delta, TDateTime date);

// ---- HTML

// Replaces fragment by the full text of the clipboard's "HTML Format": the header with its offsets
// (counted in UTF-8 bytes, the form the clipboard carries), the page start, fragment and the page end.
void MakeClipboardHTML(String& fragment);
// Every CR becomes "<br>" (LF stays).
String CRToBreakTag(StringView text);
// "RRGGBB" of an RGB colour value ($00BBGGRR); system colours must be resolved first.
String ColorToHexRGB(Integer color);
// When upperPrefix ("FTP://", "MAILTO:") occurs in the text without regard to case, html becomes the
// text with "<" and ">" escaped and an anchor around the first URL that starts with the prefix, and
// the result is true; otherwise false and html is left alone.
bool InsertURLAnchor(StringView text, StringView upperPrefix, String& html);

// ---- Filter conditions
//
// What a user types to filter or find: "*" and "?" wildcards, "!" negation, ">", ">=", "<", "<=" with a
// number, date or text, '""' for the empty cell, double quotes to group a run with blanks, "&" (and),
// "|", ";", "^" (or) and parentheses. Operators apply from left to right without precedence.

// Whether the expression holds for the cell text.
bool MatchFilterExpr(StringView expression, StringView text, bool caseSensitive);
// Whether one condition holds for the cell text.
bool MatchFilterTerm(StringView condition, StringView text, bool caseSensitive);
// One condition against a subject, both null-terminated, with no case folding of its own.
bool MatchFilterPattern(const Char* condition, const Char* subject);
// The first character of delimiters in text outside double quotes, its position written to position;
// character 0 and position -1 when there is none.
Char FindFirstDelimiter(StringView delimiters, StringView text, Integer& position);
String RemoveSpacesOutsideQuotes(StringView text);
// Position of the ")" that closes the "(" text starts with; 0 when there is none.
Integer ClosingParenPos(StringView text);
// The null-terminated text without the locale's thousand separators and with "." for its decimal
// separator.
String NormalizeNumberText(const Char* text);

// ---- Gradient painters and layered windows
//
// The painters draw on a canvas the caller prepares and leave its brush and pen at the last colours
// they used. Colours may be system colours; clNone means "no colour".

// A banded linear gradient over rect, changing along x when horizontal, else along y: the number of
// steps is limited to the extent less one and raised to at least 1, and steps + 1 bands are drawn, the
// last in toColor. When one colour is clNone the other fills rect; when both are, nothing is drawn.
void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                  Integer steps);
// With fill and color not clNone: a solid fill (one pixel taller than rect) when mirrorFromColor and
// toColor are clNone; a 128-step gradient from color to toColor when mirrorFromColor alone is; else rect
// halved across the direction of change, color to toColor in the first half and mirrorFromColor to
// mirrorToColor in the second. vertical makes the colour change along y. Then, unless borderColor is
// clNone, a one-pixel frame, or with sideLines only its left line and the line one pixel inside the
// right edge.
void DrawGradientMirror(TCanvas* canvas, const TRect& rect, TColor color, bool fill, bool sideLines,
                        TColor borderColor, bool vertical, TColor mirrorToColor, TColor mirrorFromColor,
                        TColor toColor);
// The rounded selection frame of a cell in rect, less one pixel at the right and two at the bottom
// (the grid lines' room). part chooses the rounded ends: 0 both, 1 the left, 2 the right, 3 none. The
// border is drawn in borderColor, the lines just inside it in topLineColor (upper half) and
// bottomLineColor (lower half), the three pixels at each rounded corner in edgeColor and the corner
// pixel itself in backgroundColor. Inside: solid fromColor when toColor is clNone, a 16-step vertical
// gradient from fromColor to toColor when lowerFromColor is clNone, else that gradient in the upper
// half and lowerFromColor to lowerToColor in the lower half.
void DrawRoundedGradientFrame(TCanvas* canvas, TColor fromColor, TColor toColor, Integer part,
                              const TRect& rect, TColor backgroundColor, TColor edgeColor, TColor borderColor,
                              TColor bottomLineColor, TColor topLineColor, TColor lowerToColor,
                              TColor lowerFromColor);
// UpdateLayeredWindow, looked up by name in the loaded user-interface library at every call. Its answer,
// or true when the library or the entry is missing (a system without layered windows draws the
// window the ordinary way).
bool UpdateLayeredWindowDyn(HWND hwnd, HDC screenDC, POINT* position, SIZE* size, HDC sourceDC,
                            POINT* sourcePoint, COLORREF key, BLENDFUNCTION* blend, DWORD flags);
