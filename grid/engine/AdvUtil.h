// The grid's utility routines: text, number and date helpers, the cell text kinds, the one-line and
// wide-text cell forms of the grid's files, the clipboard HTML fragment and the filter condition
// language. Free functions without state, shared by the grid, its view, its files and the drop-downs.
//
// Positions are 1-based as in the framework; 0 means "not found". Conversion failures are results
// (false, 0, a not-a-number kind, empty text), not exceptions, unless a routine says otherwise.
//
// Contents: locale and small integer routines; searching and splitting; case and character classes;
// line-break and quoting forms; URLs; cell text kinds and wide text; numbers; dates; HTML; filters;
// gradient painters and layered windows; button glyphs, colours and bitmaps; progress bars and cell
// shapes.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/Idents.h"
#include "platform/rtl/Types.h"
#include "platform/win32/wintypes.h"

class TBitmap;
class TCanvas;
class TFont;
class TStrings;
class TWinControl;
struct TColorTones;
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

class TGradientCache;

// A banded linear gradient over rect, changing along x when horizontal, else along y: the number of
// steps is limited to the extent less one and raised to at least 1, and steps + 1 bands are drawn, the
// last in toColor. When one colour is clNone the other fills rect; when both are, nothing is drawn.
// Given a cache, a gradient whose bands are plain fills may be copied from a picture the cache keeps,
// which puts the same pixels where the bands would.
void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                  Integer steps, TGradientCache* cache = nullptr);
// With fill and color not clNone: a solid fill (one pixel taller than rect) when mirrorFromColor and
// toColor are clNone; a 128-step gradient from color to toColor when mirrorFromColor alone is; else rect
// halved across the direction of change, color to toColor in the first half and mirrorFromColor to
// mirrorToColor in the second. vertical makes the colour change along y. Then, unless borderColor is
// clNone, a one-pixel frame, or with sideLines only its left line and the line one pixel inside the
// right edge.
void DrawGradientMirror(TCanvas* canvas, const TRect& rect, TColor color, bool fill, bool sideLines,
                        TColor borderColor, bool vertical, TColor mirrorToColor, TColor mirrorFromColor,
                        TColor toColor, TGradientCache* cache = nullptr);

// Gradients drawn once and then copied. A grid paints the same few gradients at the same sizes in all
// its fixed cells, band by band; the cache draws each into a picture of its own the first time and
// copies it after that. A gradient's bands cross its whole breadth, so one picture serves every breadth
// up to its own. Only the last few gradients are kept.
class TGradientCache {
public:
    TGradientCache();
    ~TGradientCache();
    TGradientCache(const TGradientCache&) = delete;
    TGradientCache& operator=(const TGradientCache&) = delete;

    // Copies the gradient DrawGradient would draw over rect (ordered, not empty) with two RGB colours
    // into canvas, and answers true; answers false, having drawn nothing, where a copy would not put
    // the same pixels as the bands: a band that is not a plain fill of the canvas's solid brush, a
    // scaled mapping, a printer or a one-bit device.
    bool Draw(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
              Integer steps);

private:
    struct Picture;
    Picture* Find(TColor fromColor, TColor toColor, bool horizontal, Integer steps, Integer length,
                  Integer breadth);

    std::vector<std::unique_ptr<Picture>> FPictures; // the most recently drawn last
};
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
// SetLayeredWindowAttributes, bound the same way; true also when it is missing.
bool SetLayeredWindowAttributesDyn(HWND hwnd, COLORREF key, Byte alpha, DWORD flags);

// ---- Button glyphs, colours and bitmaps
//
// The button painters draw in four looks: 0 themed (the visual-styles library, through the one shared
// binding), 1 the classic frame control, 2 the same with the flat flag, 3 filled and outlined with the
// colour tones. Their states are 0 normal, 1 hot, 2 down and 3 disabled; the custom look takes the tone
// Background, Hover, Selected or Disabled for them. window is the one whose theme data is opened; while
// visual styles are off the themed look draws the classic one.
inline constexpr Integer ButtonLookThemed = 0;
inline constexpr Integer ButtonLookClassic = 1;
inline constexpr Integer ButtonLookFlat = 2;
inline constexpr Integer ButtonLookCustom = 3;

// A drop-down button in the 17 pixels at the right end of rect (less one pixel at top and bottom, two
// pixels in from the right). The themed look shows no hot or pressed state.
void DrawComboButton(TCanvas* canvas, HWND window, const TRect& rect, const TColorTones& tones, Integer state,
                     Integer look);
// A push button filling rect; a non-empty caption is drawn over it with a clear brush, centred across
// and 4 pixels below the top, in the canvas's font.
void DrawPushButton(TCanvas* canvas, HWND window, const TRect& rect, const String& caption,
                    const TColorTones& tones, Integer state, Integer look);
// Up and down buttons stacked in the 15 pixels at the right end of rect, moved one pixel up and left.
// The custom look draws its arrows black whatever the tones.
void DrawSpinButtons(TCanvas* canvas, HWND window, const TRect& rect, const TColorTones& tones, Integer state,
                     Integer look);

// Each channel of the colour's RGB value halved.
TColor HalveColor(TColor color);
// Each channel c of the RGB value becomes c + c * percent / 100 (rounded, ties to even), limited to
// 0..255; a negative percentage darkens.
TColor ChangeColorPercent(TColor color, Integer percent);
// The RGB value at position (counted from start) of a blend from color at start to toColor at end;
// color itself when toColor is clNone, and color's RGB value over an empty range.
TColor BlendColorsAt(TColor color, TColor toColor, Integer start, Integer position, Integer end);

// Copies bitmap at its own size to rect's top-left corner with every pixel of the colour of its top-left
// pixel replaced by backgroundColor.
void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, TColor backgroundColor, const TRect& rect);
// The program's bitmap resource of that name, drawn as DrawTransparentBitmap does; EResNotFound when the
// program has none.
void DrawResourceBitmap(TCanvas* canvas, TColor backgroundColor, const TRect& rect, const String& name);
void FillRectColor(TCanvas* canvas, const TRect& rect, TColor color);
// A filled triangle pointing down: corners (x - 3, y), (x + 3, y) and (x, y + 3).
void DrawSmallTriangle(TCanvas* canvas, Integer x, Integer y, TColor color);

// Whether controls draw themed: Windows 5.1 or later, visual styles active and the common controls
// library of version 6 or later.
bool ThemedDrawingActive();
// The colour scheme of the active visual style: 1 "NormalColor", 2 "HomeStead", 3 "Metallic"; 0 for any
// other and when visual styles are off.
Integer CurrentXPColorScheme();

// ---- Progress bars and cell shapes

ZELMOR_ENUM(TCellShape, csRectangle, csCircle, csTriangleLeft, csTriangleRight, csTriangleUp, csTriangleDown,
            csDiamond, csLineVert, csLineHorz, csRoundRect, csEllips, csSquare, csRoundSquare, csStar,
            csArrowUp, csArrowDown, csArrowLeft, csArrowRight, csHalfStar)

// The look of a multi-level progress bar: the fill colours change at Level1Perc and Level2Perc percent.
struct TLevelProgressParams {
    TColor Level0Color = clNone;
    TColor Level0ColorTo = clNone;
    TColor Level1Color = clNone;
    TColor Level1ColorTo = clNone;
    TColor Level2Color = clNone;
    TColor Level2ColorTo = clNone;
    TColor Level3Color = clNone;
    TColor Level3ColorTo = clNone;
    Integer Level1Perc = 0;
    Integer Level2Perc = 0;
    TColor BorderColor = clNone;
    bool ShowBorder = false;     // else the border takes the background colour
    bool Stacked = false;        // the levels as consecutive segments
    bool ShowPercentage = false; // writes "P%" in Font and FontColor
    TFont* Font = nullptr;       // not owned; needed only with ShowPercentage
    TColor FontColor = clNone;
    bool CompletionSmooth = false; // one continuous bar instead of blocks
    bool ShowGradient = false;     // two mirrored gradients across the bar's thickness
    Integer Steps = 0;             // of each gradient
    Integer Reserved = 0;          // not read
    TColor BackgroundColor = clNone;
    bool Vertical = false; // grows from the bottom up
};

// A bar for position between minimum and maximum, shrunk by the margins, with its text centred: the
// format applied to the position ("d" or "u" in it: the rounded position) and the percentage of the
// range, or without a format the rounded position and "%" with the position as the percentage,
// limited to 0..100. The filled part has fillColor with the text in fillTextColor, the rest emptyColor
// with emptyTextColor. Then a frame in borderColor (unless clNone) one pixel out and one in the canvas's
// brush colour from before another pixel out. print puts the text a text height lower, as the grid's
// printing expects. A zero range draws an empty bar; a format that does not take the position draws as
// no format. Never raises.
void DrawProgressBar(TCanvas* canvas, const TRect& rect, TColor fillColor, bool print, TColor borderColor,
                     const String& format, Integer maximum, Integer minimum, Integer verticalMargin,
                     Integer horizontalMargin, double position, TColor emptyTextColor, TColor emptyColor,
                     TColor fillTextColor);
// A progress bar whose fill colours follow the levels, solid or with gradients, in blocks or smooth,
// stacked or not, horizontal or vertical, with the percentage written when asked.
void DrawLevelProgress(TCanvas* canvas, const TRect& rect, Integer percentage,
                       const TLevelProgressParams& params);
// An ellipse in grey with the 12 o'clock radius and the radius at percentage of a full turn clockwise;
// the slice between them is flood-filled with fillColor unless percentage is 0. flag is not read.
void DrawPieProgress(TCanvas* canvas, const TRect& rect, TColor fillColor, bool flag, Integer percentage);
// A bar from the middle of rect (shrunk by 2) to the right for a positive value, to the left for a
// negative one, of half the width times value / maximum (value limited to -maximum..maximum); with
// showValue the limited value written centred at the top. A zero maximum draws no bar.
void DrawBalanceBar(TCanvas* canvas, const TRect& rect, Integer value, TColor positiveColor,
                    TColor negativeColor, bool showValue, Integer maximum);
// One shape in the width x height area at (x, y), outlined in penColor and filled with brushColor;
// circles and squares take the smaller side. A value beyond csHalfStar draws nothing.
void DrawCellShape(TCanvas* canvas, Integer x, Integer y, TColor penColor, TColor brushColor,
                   TCellShape shape, Integer height, Integer width);
// A red zig-zag under errorLength characters of text from errorStart (0-based), as a single-line edit
// in rect lays the text out; offset moves it down. owner parents the edit while it measures.
void DrawErrorUnderline(TWinControl* owner, TCanvas* canvas, const String& text, Integer errorLength,
                        Integer errorStart, Integer offset, const TRect& rect);
