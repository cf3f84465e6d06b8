// The grid's utility routines for text: locale access, searching and splitting, case and character
// classes, the line-break and quoting forms of the grid's files, URLs and the cell text kinds.
#include "grid/engine/AdvUtil.h"

#include "platform/framework/Graphics.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winuser.h"

namespace {

constexpr Char CR = u'\r';
constexpr Char LF = u'\n';
constexpr Char VT = u'\x0b';

using LogicalCompareFunction = int (*)(const Char*, const Char*);

// The natural comparison, taken from the already loaded shell library when the unit starts (it is not
// loaded here). Null when the library or the entry is missing: comparison is then ordinal.
LogicalCompareFunction LookUpLogicalCompare() {
    HMODULE library = GetModuleHandleW(u"shlwapi.dll");
    if (!library)
        return nullptr;
    return reinterpret_cast<LogicalCompareFunction>(GetProcAddress(library, "StrCmpLogicalW"));
}

const LogicalCompareFunction gLogicalCompare = LookUpLogicalCompare();

bool Contains(StringView text, Char c) {
    return text.find(c) != StringView::npos;
}

// Every occurrence of c replaced by replacement (which may be empty or longer than one character).
String ReplaceChar(StringView text, Char c, StringView replacement) {
    String out;
    out.reserve(text.size());
    for (Char ch : text) {
        if (ch == c)
            out += replacement;
        else
            out += ch;
    }
    return out;
}

} // namespace

// ---- Locale, comparison and small integer routines

Integer CompareLogical(const Char* s1, const Char* s2) {
    if (gLogicalCompare)
        return gLogicalCompare(s1, s2);
    return CompareStr(s1 ? s1 : u"", s2 ? s2 : u"");
}

Char GetTimeSeparator() {
    return FormatSettings.TimeSeparator;
}

Char GetDateSeparator() {
    return FormatSettings.DateSeparator;
}

Char GetThousandSeparator() {
    return FormatSettings.ThousandSeparator;
}

Char GetDecimalSeparator() {
    return FormatSettings.DecimalSeparator;
}

String GetShortDateFormat() {
    return FormatSettings.ShortDateFormat;
}

Integer IntMax(Integer a, Integer b) {
    return a > b ? a : b;
}

Integer IntMin(Integer a, Integer b) {
    return a < b ? a : b;
}

Integer ClampToLimits(Integer value, Integer lower, Integer upper) {
    if (lower == upper)
        return value;
    if (upper > 0 && value > upper)
        return upper;
    if (lower > 0 && value < lower)
        return lower;
    return value;
}

// ---- Searching and splitting

Integer CharPos(Char c, StringView text) {
    const size_t found = text.find(c);
    return found == StringView::npos ? 0 : static_cast<Integer>(found) + 1;
}

Integer CharPosStore(Char c, StringView text, Integer& position) {
    const Integer found = CharPos(c, text);
    if (found > 0)
        position = found;
    return found;
}

Integer PosStore(StringView sub, StringView text, Integer& position) {
    position = Pos(sub, text);
    return position;
}

Integer PosInUpperCase(StringView sub, StringView text) {
    return Pos(sub, UpperCase(text));
}

Integer WidePos(StringView sub, StringView text) {
    return Pos(sub, text);
}

void SplitToStrings(StringView delimiter, StringView text, TStrings& list) {
    String rest(text);
    Integer found;
    while ((found = Pos(delimiter, rest)) > 0) {
        list.Add(Copy(rest, 1, found - 1));
        Delete(rest, 1, found);
    }
    list.Add(rest);
}

String JoinLines(const TStrings& list) {
    String out;
    for (Integer i = 0; i < list.Count(); ++i)
        out += list.Strings(i);
    return out;
}

String CutLeadingField(String& source, StringView delimiter) {
    const Integer found = Pos(delimiter, source);
    if (found == 0)
        return String();
    String field = Copy(source, 1, found - 1);
    Delete(source, 1, found);
    return field;
}

Integer CountChar(StringView text, Char c) {
    Integer count = 0;
    for (Char ch : text)
        if (ch == c)
            ++count;
    return count;
}

Integer CountChar(StringView text, Char c, bool) {
    return CountChar(text, c);
}

void FillWithChar(String& text, Char c) {
    for (Char& ch : text)
        ch = c;
}

// ---- Case and character classes

String ProperCase(StringView text) {
    // Both case forms map one character to one, so a position in them is a position in the text.
    const String upper = AnsiUpperCase(text);
    const String lower = AnsiLowerCase(text);
    const size_t length = text.size();
    String out;
    out.reserve(length);
    bool wordStart = true;
    bool mcFound = false; // the first " Mc" of the text has been met; later ones do not count
    for (size_t index = 0; index < length; ++index) {
        const size_t i = index + 1; // the position of the character, from 1
        if (IsWordSeparator(text[index])) {
            wordStart = true;
            out += text[index];
        } else if (wordStart) {
            out += upper[index];
            wordStart = false;
        } else {
            out += lower[index];
        }
        if (out == u"Mc")
            wordStart = true;
        if (!mcFound && i >= 3 && StringView(out).substr(i - 3) == u" Mc") {
            mcFound = true;
            wordStart = true;
        }
        const StringView done(out);
        if (i + 3 > length &&
            ((i >= 2 && done.substr(i - 2) == u" I") || (i >= 3 && done.substr(i - 3) == u" II")))
            wordStart = true;
    }
    return out;
}

bool IsWordSeparator(Char c) {
    return c == u' ' || c == u'\'' || c == u',' || c == u'-' || c == u'.';
}

String StripDiacritics(StringView text) {
    const std::u16string decomposed = DecomposeText(text);
    String out;
    out.reserve(decomposed.size());
    for (Char c : decomposed)
        if (c < 256)
            out += c;
    return out;
}

bool IsNumberChar(Char c) {
    if (c < 128)
        return c >= u'0' && c <= u'9';
    if (c >= 0xD800 && c <= 0xDFFF)
        return false; // half of a pair is no character of its own
    return IsNumberCodePoint(c);
}

bool IsNumberChar(Integer code) {
    if (code < 0)
        return false;
    return IsNumberCodePoint(static_cast<char32_t>(code));
}

bool IsIntegerChar(Char c) {
    return IsNumberChar(c) || c == u'-';
}

bool IsFloatChar(Char c) {
    return IsNumberChar(c) || c == GetThousandSeparator() || c == GetDecimalSeparator() || c == u'e' ||
           c == u'E';
}

bool IsSignedFloatChar(Char c) {
    return IsFloatChar(c) || c == u'+' || c == u'-';
}

bool IsNumberFormatChar(Char c) {
    return IsNumberChar(c) || c == u'+' || c == u'-' || c == u'.' || c == u'E' || c == u'e';
}

// ---- Line-break and quoting forms

String EncodeLineBreaks(StringView text) {
    String out(text);
    if (!Contains(text, CR))
        return out;
    for (Char& c : out) {
        if (c == CR)
            c = u'\x09';
        else if (c == LF)
            c = u'\x08';
        else if (c == 0)
            c = u'\x01';
    }
    return out;
}

String DecodeLineBreaks(StringView text, bool multiLine) {
    String out(text);
    if (Contains(text, u'\x08')) {
        for (Char& c : out) {
            if (c == u'\x09')
                c = CR;
            else if (c == u'\x08')
                c = LF;
            else if (c == u'\x01')
                c = 0;
        }
    }
    if (!multiLine)
        return CutFirstLine(out, false);
    return out;
}

void QuoteMultiLine(String& text) {
    String out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == CR && i + 1 < text.size() && text[i + 1] == LF) {
            out += VT;
            ++i;
        } else {
            out += text[i];
        }
    }
    out += u'"';
    text = std::move(out);
}

void VTToCRLF(String& text) {
    if (Contains(text, VT))
        text = ReplaceChar(text, VT, u"\r\n");
}

void LineBreaksToTilde(String& text) {
    String out;
    out.reserve(text.size());
    for (Char c : text) {
        if (c == CR)
            out += u'~';
        else if (c != LF)
            out += c;
    }
    text = std::move(out);
}

void TildeToLineBreaks(String& text) {
    text = ReplaceChar(text, u'~', u"\r\n");
    if (text == u"^")
        text.clear();
}

String EscapeNewLines(StringView text) {
    String out;
    out.reserve(text.size());
    for (Char c : text) {
        if (c == CR)
            out += u"\\n";
        else if (c != LF)
            out += c;
    }
    return out;
}

String UnescapeNewLines(StringView text) {
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'n') {
            out += CR;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void CRLFToLF(String& text) {
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == CR && i + 1 < text.size() && text[i + 1] == LF))
            out += text[i];
    text = std::move(out);
}

String RemoveCR(StringView text) {
    return ReplaceChar(text, CR, u"");
}

String CRToLF(StringView text) {
    String out(text);
    for (Char& c : out)
        if (c == CR)
            c = LF;
    return out;
}

String CutFirstLine(String& source, bool keepRest) {
    const size_t found = source.find(CR);
    if (found == String::npos) {
        String line = std::move(source);
        source.clear();
        return line;
    }
    String line = source.substr(0, found);
    if (keepRest) {
        size_t restStart = found + 1;
        if (restStart < source.size() && source[restStart] == LF)
            ++restStart;
        source.erase(0, restStart);
    } else {
        source.clear();
    }
    return line;
}

Integer CountLines(StringView text, bool multiLine) {
    if (!multiLine)
        return 1;
    Integer lines = 1;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == CR) {
            if (i + 2 < text.size())
                ++lines;
            i += 2;
        } else {
            ++i;
        }
    }
    return lines;
}

String GetWidestLine(TCanvas* canvas, const String& text) {
    String rest = text;
    String widest;
    int widestWidth = -1;
    while (!rest.empty()) {
        String line = CutFirstLine(rest, true);
        if (line.empty())
            break;
        int width = canvas->TextWidth(line);
        if (width > widestWidth) {
            widestWidth = width;
            widest = std::move(line);
        }
    }
    return widest;
}

String DoubleQuoteChars(StringView text) {
    return ReplaceChar(text, u'"', u"\"\"");
}

String UndoubleChar(StringView text, Char c) {
    if (!Contains(text, c))
        return String(text);
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == c && i + 1 < text.size() && text[i + 1] == c)
            ++i;
    }
    return out;
}

namespace {

// The position (from 1) of the next unpaired c at or after index start (from 0), or 0.
Integer NextUnpairedChar(StringView text, Char c, size_t start) {
    size_t i = start;
    while (i < text.size()) {
        if (text[i] != c) {
            ++i;
            continue;
        }
        size_t runEnd = i;
        while (runEnd < text.size() && text[runEnd] == c)
            ++runEnd;
        if ((runEnd - i) % 2 == 1 || runEnd == text.size())
            return static_cast<Integer>(runEnd);
        i = runEnd;
    }
    return 0;
}

} // namespace

Integer FindUnpairedChar(StringView text, Char c, Integer& position) {
    position = NextUnpairedChar(text, c, 0);
    return position;
}

Integer CountUnpairedChars(StringView text, Char c) {
    Integer count = 0;
    Integer found = 0;
    while ((found = NextUnpairedChar(text, c, static_cast<size_t>(found))) > 0)
        ++count;
    return count;
}

String ConvertToOem(StringView text) {
    return String(text);
}

String ConvertFromOem(StringView text) {
    return String(text);
}

// ---- URLs

bool HasURLScheme(StringView text) {
    return Pos(u"://", text) > 0 || Pos(u"mailto:", text) > 0;
}

void StripURLScheme(String& text) {
    Integer found = Pos(u"://", text);
    if (found > 0) {
        Delete(text, 1, found + 2);
        return;
    }
    found = Pos(u"mailto:", text);
    if (found > 0)
        Delete(text, 1, found + 6);
}

// ---- Cell text kinds and wide text

Integer CellTextKind(StringView text, bool htmlAllowed) {
    if (text.empty())
        return CellKindPlain;
    // Reads past the end see a blank, which keeps every look-ahead inside the text without a copy.
    auto at = [text](size_t i) { return i < text.size() ? text[i] : u' '; };
    if (text[0] == u'=')
        return CellKindFormula;
    if (text[0] == u'|' && at(1) == u'\\') {
        // A formula in wide form: "|\", then 0 and "=" for its first character and 0 for the next.
        if (text.size() >= 4 && at(3) == u'=' && at(4) == 0)
            return CellKindFormula;
        return CellKindWide;
    }
    if (text[0] == u'{' && at(1) == u'\\')
        return CellKindRTF;
    if (htmlAllowed) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != u'<')
                continue;
            const Char next = UpCase(at(i + 1));
            if (next == u'/' || next == u'P' || next == u'I' || next == u'B' || next == u'C')
                return CellKindHTML;
        }
    }
    return CellKindPlain;
}

String EncodeWideText(StringView text) {
    String out;
    out.reserve(2 + 2 * text.size());
    out += u"|\\";
    for (Char c : text) {
        out += static_cast<Char>(c >> 8);
        out += static_cast<Char>(c & 0xFF);
    }
    return out;
}

String DecodeWideText(StringView text) {
    if (text.size() < 2 || text[0] != u'|' || text[1] != u'\\')
        return String(text);
    String out;
    out.reserve((text.size() - 2) / 2);
    for (size_t i = 2; i + 1 < text.size(); i += 2)
        out += static_cast<Char>(((text[i] & 0xFF) << 8) | (text[i + 1] & 0xFF));
    return out;
}
