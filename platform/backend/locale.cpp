// The user's locale from Qt, translated into the framework's terms.
#include "platform/backend/locale.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <vector>

namespace backend {

namespace {

std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009';
}

// Invisible marks that set the direction of the text around them; they carry no layout.
bool IsDirectionMark(char16_t c) {
    return c == u'\u200E' || c == u'\u200F' || c == u'\u061C' || (c >= u'\u202A' && c <= u'\u202E') ||
           (c >= u'\u2066' && c <= u'\u2069');
}

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsAsciiAlphanumeric(char16_t c) {
    return IsAsciiLetter(c) || (c >= u'0' && c <= u'9');
}

// One piece of a date or time format: a field (a run of one pattern letter) or literal text.
struct Piece {
    char16_t field = 0; // the pattern letter; 0 for literal text
    int count = 0;
    std::u16string text; // literal text, unquoted
};

// Splits a format in the platform's syntax: d M y h H m s z a/ap t are fields, '...' is literal text and
// '' a single quote.
std::vector<Piece> SplitFormat(const std::u16string& format) {
    std::vector<Piece> pieces;
    auto literal = [&pieces](char16_t c) {
        if (pieces.empty() || pieces.back().field != 0)
            pieces.push_back(Piece());
        pieces.back().text += c;
    };
    size_t i = 0;
    while (i < format.size()) {
        char16_t c = format[i];
        if (c == u'\'') {
            if (i + 1 < format.size() && format[i + 1] == u'\'') {
                literal(u'\'');
                i += 2;
                continue;
            }
            ++i;
            while (i < format.size()) {
                if (format[i] == u'\'') {
                    if (i + 1 < format.size() && format[i + 1] == u'\'') {
                        literal(u'\'');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal(format[i++]);
            }
            continue;
        }
        if (c == u'a' || c == u'A' || c == u'B') {
            // "a", "A", "ap" and "AP" are all the AM/PM marker; so is "B", the flexible day period some
            // locales' formats carry over unconverted.
            i += (i + 1 < format.size() && (format[i + 1] == u'p' || format[i + 1] == u'P')) ? 2 : 1;
            pieces.push_back({u'a', 1, {}});
            continue;
        }
        if (c == u'd' || c == u'M' || c == u'y' || c == u'h' || c == u'H' || c == u'm' || c == u's' ||
            c == u'z' || c == u't') {
            size_t start = i;
            while (i < format.size() && format[i] == c)
                ++i;
            pieces.push_back({c, static_cast<int>(i - start), {}});
            continue;
        }
        literal(c);
        ++i;
    }
    return pieces;
}

// The first punctuation in the literal text between a field of the first kind and one of the second.
char16_t FindSeparator(const std::vector<Piece>& pieces, std::u16string_view before,
                       std::u16string_view after, char16_t fallback) {
    for (size_t i = 1; i + 1 < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        if (piece.field != 0 || before.find(pieces[i - 1].field) == std::u16string_view::npos ||
            after.find(pieces[i + 1].field) == std::u16string_view::npos)
            continue;
        for (char16_t c : piece.text)
            if (!IsBlank(c) && !IsDirectionMark(c) && !IsAsciiAlphanumeric(c) && c != u'\'' && c != u'"')
                return c;
    }
    return fallback;
}

// Removes the time-zone fields, which the framework cannot show, with the parentheses or brackets
// around one. Blanks and a comma this leaves at either end of the format are trimmed after conversion.
void DropTimeZone(std::vector<Piece>& pieces) {
    for (size_t i = 0; i < pieces.size();) {
        if (pieces[i].field != u't') {
            ++i;
            continue;
        }
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
        if (i > 0 && i < pieces.size() && pieces[i - 1].field == 0 && pieces[i].field == 0) {
            std::u16string& before = pieces[i - 1].text;
            std::u16string& after = pieces[i].text;
            const bool enclosed = !before.empty() && !after.empty() &&
                                  ((before.back() == u'(' && after.front() == u')') ||
                                   (before.back() == u'[' && after.front() == u']'));
            if (enclosed) {
                before.pop_back();
                after.erase(after.begin());
            }
            // The two literals now meet; keep them as one piece.
            before += after;
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

// Literal text in the framework's syntax. The separator (when not 0) becomes its placeholder; letters
// and the characters the framework reads as specifiers are quoted.
void AppendLiteral(std::u16string& out, const std::u16string& text, char16_t separator,
                   char16_t placeholder) {
    std::u16string quoted;
    auto flush = [&] {
        if (!quoted.empty())
            out += u'"' + quoted + u'"';
        quoted.clear();
    };
    for (char16_t c : text) {
        if (separator != 0 && c == separator) {
            flush();
            out += placeholder;
        } else if (c == u'"') {
            flush();
            out += u"'\"'";
        } else if (IsAsciiLetter(c) || c == u'/' || c == u':' || c == u'\'') {
            quoted += c;
        } else {
            flush();
            out += c;
        }
    }
    flush();
}

enum class FormatKind { ShortDate, LongDate, Time };

std::u16string ConvertFormat(const QString& qtFormat, FormatKind kind, char16_t separator) {
    std::vector<Piece> pieces = SplitFormat(ToU16(qtFormat));
    DropTimeZone(pieces);
    if (kind == FormatKind::ShortDate && pieces.size() > 1 && pieces.back().field == 0) {
        // StrToDate reads back what DateToStr writes, so words after the last field ("г." in Bulgarian)
        // are left out; a closing separator ("yy. M. d.") stays.
        std::u16string& trailing = pieces.back().text;
        std::erase_if(trailing, IsDirectionMark);
        trailing = (!trailing.empty() && trailing.front() == separator) ? std::u16string(1, separator)
                                                                        : std::u16string();
    }
    std::u16string out;
    char16_t placeholder = kind == FormatKind::Time ? u':' : u'/';
    bool afterHour = false; // the framework reads "m" right after an hour as minutes, elsewhere as the month
    for (const Piece& piece : pieces) {
        if (piece.field == 0) {
            std::u16string text = piece.text;
            // StrToDate reads back what DateToStr writes, and its separators cannot carry direction marks.
            if (kind == FormatKind::ShortDate)
                std::erase_if(text, IsDirectionMark);
            AppendLiteral(out, text, separator, placeholder);
            continue;
        }
        int count = piece.count;
        switch (piece.field) {
        case u'd':
            out.append(std::min(count, 4), u'd');
            break;
        case u'M':
            out.append(std::min(count, 4), u'M');
            break;
        case u'y':
            // A two-digit year loses its century on the way back from text: short dates show all four.
            out += (count == 2 && kind != FormatKind::ShortDate) ? u"yy" : u"yyyy";
            break;
        case u'h':
        case u'H':
            out.append(std::min(count, 2), u'h');
            break;
        case u'm':
            out.append(std::min(count, 2), afterHour ? u'm' : u'n');
            break;
        case u's':
            out.append(std::min(count, 2), u's');
            break;
        case u'z':
            out += count == 1 ? u"z" : u"zzz";
            break;
        case u'a':
            out += u"AMPM";
            break;
        default:
            break;
        }
        afterHour = piece.field == u'h' || piece.field == u'H';
    }
    // Blanks and a comma left at either end by a dropped time zone.
    auto isLeftOver = [](char16_t c) { return IsBlank(c) || c == u','; };
    while (!out.empty() && isLeftOver(out.back()))
        out.pop_back();
    while (!out.empty() && isLeftOver(out.front()))
        out.erase(out.begin());
    return out;
}

char16_t FirstUnit(const QString& text, char16_t fallback) {
    return text.isEmpty() ? fallback : static_cast<char16_t>(text.at(0).unicode());
}

// Reduces a formatted amount to a pattern of '$' (the symbol), '1' (the number), '-', '(' , ')' and ' ',
// the alphabet of the framework's currency layout codes.
std::u16string CurrencyPattern(const std::u16string& text, const std::u16string& number,
                               const std::u16string& symbol, const std::u16string& negativeSign) {
    std::u16string pattern;
    size_t i = 0;
    while (i < text.size()) {
        if (!number.empty() && text.compare(i, number.size(), number) == 0) {
            pattern += u'1';
            i += number.size();
        } else if (!symbol.empty() && text.compare(i, symbol.size(), symbol) == 0) {
            pattern += u'$';
            i += symbol.size();
        } else if (!negativeSign.empty() && text.compare(i, negativeSign.size(), negativeSign) == 0) {
            pattern += u'-';
            i += negativeSign.size();
        } else {
            char16_t c = text[i++];
            if (c == u'-' || c == u'\u2212')
                pattern += u'-';
            else if (c == u'(' || c == u')')
                pattern += c;
            else if (IsBlank(c) && (pattern.empty() || pattern.back() != u' '))
                pattern += u' ';
            // Anything else (direction marks) carries no layout.
        }
    }
    return pattern;
}

void ReadCurrency(const QLocale& locale, LocaleValues& values) {
    std::u16string symbol = ToU16(locale.currencySymbol(QLocale::CurrencySymbol));
    if (symbol.empty())
        symbol = ToU16(locale.currencySymbol(QLocale::CurrencyIsoCode));
    if (symbol.empty())
        return;
    values.currencyString = symbol;

    std::u16string positive = ToU16(locale.toCurrencyString(1.0));
    std::u16string decimal = ToU16(locale.decimalPoint());
    size_t point = decimal.empty() ? std::u16string::npos : positive.find(decimal);
    int decimals = 0;
    if (point != std::u16string::npos)
        for (size_t i = point + decimal.size(); i < positive.size() && QChar(positive[i]).isDigit(); ++i)
            ++decimals;
    values.currencyDecimals = decimals;
    std::u16string number = ToU16(locale.toString(1.0, 'f', decimals));
    std::u16string negativeSign = ToU16(locale.negativeSign());

    static const std::u16string_view positiveLayouts[] = {u"$1", u"1$", u"$ 1", u"1 $"};
    static const std::u16string_view negativeLayouts[] = {
        u"($1)", u"-$1",  u"$-1",  u"$1-",  u"(1$)", u"-1$",  u"1-$",   u"1$-",
        u"-1 $", u"-$ 1", u"1 $-", u"$ 1-", u"$ -1", u"1- $", u"($ 1)", u"(1 $)"};
    std::u16string pattern = CurrencyPattern(positive, number, symbol, negativeSign);
    for (int i = 0; i < 4; ++i)
        if (pattern == positiveLayouts[i])
            values.currencyFormat = i;
    // A negative layout the codes cannot express gets the minus sign in front of the positive layout.
    static const int negativeOfPositive[] = {1, 5, 9, 8};
    values.negCurrFormat = negativeOfPositive[values.currencyFormat];
    pattern = CurrencyPattern(ToU16(locale.toCurrencyString(-1.0)), number, symbol, negativeSign);
    for (int i = 0; i < 16; ++i)
        if (pattern == negativeLayouts[i])
            values.negCurrFormat = i;
}

LocaleValues ValuesOf(const QLocale& locale) {
    if (locale.language() == QLocale::C)
        return LocaleValues();
    LocaleValues values;
    values.decimalSeparator = FirstUnit(locale.decimalPoint(), u'.');
    values.thousandSeparator =
        FirstUnit(locale.groupSeparator(), values.decimalSeparator == u',' ? u'.' : u',');
    // The platform has no list separator; a comma unless numbers already use it.
    values.listSeparator = values.decimalSeparator == u',' ? u';' : u',';

    QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    values.dateSeparator = FindSeparator(SplitFormat(ToU16(shortDate)), u"dMy", u"dMy", u'/');
    values.shortDateFormat = ConvertFormat(shortDate, FormatKind::ShortDate, values.dateSeparator);
    // Only the short date's separators stand for DateSeparator; the long date keeps its own punctuation.
    values.longDateFormat = ConvertFormat(locale.dateFormat(QLocale::LongFormat), FormatKind::LongDate, 0);

    QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    values.timeSeparator = FindSeparator(SplitFormat(ToU16(shortTime)), u"hH", u"m", u':');
    values.shortTimeFormat = ConvertFormat(shortTime, FormatKind::Time, values.timeSeparator);
    values.longTimeFormat =
        ConvertFormat(locale.timeFormat(QLocale::LongFormat), FormatKind::Time, values.timeSeparator);
    values.amString = ToU16(locale.amText());
    values.pmString = ToU16(locale.pmText());

    for (int month = 1; month <= 12; ++month) {
        values.shortMonthNames[month - 1] = ToU16(locale.monthName(month, QLocale::ShortFormat));
        values.longMonthNames[month - 1] = ToU16(locale.monthName(month, QLocale::LongFormat));
    }
    // The platform counts Monday = 1 .. Sunday = 7; the framework starts with Sunday.
    for (int day = 0; day < 7; ++day) {
        int platformDay = day == 0 ? 7 : day;
        values.shortDayNames[day] = ToU16(locale.dayName(platformDay, QLocale::ShortFormat));
        values.longDayNames[day] = ToU16(locale.dayName(platformDay, QLocale::LongFormat));
    }
    ReadCurrency(locale, values);
    return values;
}

} // namespace

LocaleValues UserLocaleValues() {
    return ValuesOf(QLocale::system());
}

LocaleValues LocaleValuesFor(const std::string& name) {
    return ValuesOf(QLocale(QString::fromStdString(name)));
}

} // namespace backend
