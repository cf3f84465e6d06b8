// The grid's utility routines for numbers and dates in cell text: cell references, number kinds,
// cleaning formatted numbers, and reading and shifting dates by the locale's settings.
#include "grid/engine/AdvUtil.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

namespace {

// A decimal number of digits only, after blanks when leadingBlanks; false for anything else and for a
// value beyond Integer.
bool TryDecimal(StringView text, bool leadingBlanks, Integer& value) {
    size_t i = 0;
    if (leadingBlanks)
        while (i < text.size() && text[i] == u' ')
            ++i;
    if (i == text.size())
        return false;
    Int64 result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        result = result * 10 + (text[i] - u'0');
        if (result > 0x7FFFFFFF)
            return false;
    }
    value = static_cast<Integer>(result);
    return true;
}

// EncodeDate for fields held in Integers: a field outside Word would wrap into a valid one, so it
// raises the encoding error itself.
TDateTime EncodeDateChecked(Integer year, Integer month, Integer day) {
    if (year < 0 || year > 0xFFFF || month < 0 || month > 0xFFFF || day < 0 || day > 0xFFFF)
        throw EConvertError(Consts::SDateEncodeError);
    return EncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day));
}

// The time of day of a date-time, which stays behind the sign of a date before 1899-12-30.
TDateTime TimeOfDay(TDateTime value) {
    return std::fabs(value - std::trunc(value));
}

TDateTime WithTimeOfDay(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

} // namespace

bool ParseRCReference(StringView text, Integer& column, Integer& row) {
    const String upper = UpperCase(text);
    if (upper.size() < 4 || upper[0] != u'R')
        return false;
    const size_t c = upper.find(u'C');
    if (c == String::npos)
        return false;
    Integer parsedRow = 0;
    Integer parsedColumn = 0;
    if (!TryDecimal(StringView(upper).substr(1, c - 1), false, parsedRow) ||
        !TryDecimal(StringView(upper).substr(c + 1), false, parsedColumn))
        return false;
    column = parsedColumn;
    row = parsedRow;
    return true;
}

// ---- Numbers

Integer NumberTextKind(StringView text) {
    if (text.empty())
        return NumberKindNone;
    const Char thousand = GetThousandSeparator();
    const Char decimal = GetDecimalSeparator();
    bool integerForm = true;
    bool decimalForm = true;
    bool exponentForm = true;
    Integer exponents = 0;
    Integer decimals = 0;
    Integer minuses = 0;
    size_t lastThousand = 0; // position of the previous thousand separator, 0 before the first
    for (size_t index = 0; index < text.size(); ++index) {
        const Char c = text[index];
        const size_t i = index + 1;
        const bool number = IsNumberChar(c);
        const bool exponent = c == u'e' || c == u'E';
        if (!(number || c == u'-') || (c == u'-' && i > 1))
            integerForm = false;
        if (!(number || c == u'-' || c == thousand || c == decimal) || (c == u'-' && i > 1))
            decimalForm = false;
        if (c == thousand) {
            if (lastThousand > 0 && i - lastThousand < 4)
                decimalForm = false;
            lastThousand = i;
        }
        if (c == thousand || !(number || c == decimal || exponent || c == u'+' || c == u'-'))
            exponentForm = false;
        if (exponent)
            ++exponents;
        if (c == decimal)
            ++decimals;
        if (c == u'-')
            ++minuses;
    }
    const Char first = text.front();
    const Char last = text.back();
    if (exponents > 1 || first == u'e' || first == u'E' || last == u'e' || last == u'E' || last == u'+' ||
        last == u'-')
        exponentForm = false;

    if (integerForm)
        return minuses > 1 ? NumberKindNone : NumberKindInteger;
    if (decimalForm && exponents == 0)
        return (minuses > 1 || decimals > 1) ? NumberKindNone : NumberKindDecimal;
    if (exponentForm && exponents > 0)
        return (minuses > 2 || decimals > 1) ? NumberKindNone : NumberKindExponent;
    return NumberKindNone;
}

String CleanNumberText(StringView text) {
    if (text.empty())
        return String();
    String s = Trim(text);
    bool negative = !s.empty() && s.front() == u'(' && s.back() == u')';
    // Currency symbols, blanks, "+", "(" and a leading "-" go before the digits.
    while (s.size() >= 2 && !IsFloatChar(s.front())) {
        if (s.front() == u'-')
            negative = true;
        s.erase(0, 1);
    }
    const Char thousand = GetThousandSeparator();
    const Char decimal = GetDecimalSeparator();
    String out;
    out.reserve(s.size() + 1);
    if (negative)
        out += u'-';
    for (Char c : s) {
        if (c == thousand)
            continue;
        if (c == decimal)
            out += u'.';
        else if (IsNumberFormatChar(c))
            out += c;
        else
            break;
    }
    return out;
}

// ---- Dates

bool ParseDateTimeText(StringView text, TDateTime& value) {
    const Char separator = GetDateSeparator();
    const Char timeSeparator = GetTimeSeparator();

    // The fields stand in the order of the first D, M and Y of the short date format; a letter the
    // format lacks counts as position 0.
    enum Element { Day, Month, Year };
    const String format = UpperCase(GetShortDateFormat());
    struct Slot {
        Integer position;
        Element element;
    };
    Slot order[3] = {{Pos(u"D", format), Day}, {Pos(u"M", format), Month}, {Pos(u"Y", format), Year}};
    std::stable_sort(std::begin(order), std::end(order),
                     [](const Slot& a, const Slot& b) { return a.position < b.position; });

    const size_t first = text.find(separator);
    if (first == StringView::npos)
        return false;
    const size_t second = text.find(separator, first + 1);
    if (second == StringView::npos)
        return false;
    const String rest = Trim(text.substr(second + 1));
    const size_t blank = rest.find(u' ');
    const StringView fields[3] = {text.substr(0, first), text.substr(first + 1, second - first - 1),
                                  StringView(rest).substr(0, blank)};
    const StringView timePart = blank == String::npos ? StringView() : StringView(rest).substr(blank);

    Integer parts[3] = {0, 0, 0}; // by Element
    for (int i = 0; i < 3; ++i)
        if (!TryDecimal(fields[i], true, parts[order[i].element]))
            return false;
    const Integer day = parts[Day];
    const Integer month = parts[Month];
    const Integer year = parts[Year];
    if (day > 31 || month > 12 || year > 9999)
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), date))
        return false;
    if (timePart.empty()) {
        value = date;
        return true;
    }

    const size_t colon = timePart.find(timeSeparator);
    if (colon == StringView::npos)
        return false;
    const size_t secondColon = timePart.find(timeSeparator, colon + 1);
    Integer hour = 0;
    Integer minute = 0;
    Integer sec = 0;
    if (!TryDecimal(timePart.substr(0, colon), true, hour))
        return false;
    if (secondColon == StringView::npos) {
        if (!TryDecimal(timePart.substr(colon + 1), true, minute))
            return false;
    } else if (!TryDecimal(timePart.substr(colon + 1, secondColon - colon - 1), true, minute) ||
               !TryDecimal(timePart.substr(secondColon + 1), true, sec)) {
        return false;
    }
    if (hour > 23 || minute > 59 || sec > 59)
        return false;
    // Added also before 1899-12-30, so that values of one date keep the order of their times when the
    // filter compares them.
    value = date + EncodeTime(static_cast<Word>(hour), static_cast<Word>(minute), static_cast<Word>(sec), 0);
    return true;
}

bool LooksLikeDate(StringView text) {
    const Char separator = GetDateSeparator();
    const Integer first = CharPos(separator, text);
    if (first < 2)
        return false;
    const Integer second = Pos(StringView(&separator, 1), text, first + 1);
    return second > first + 1;
}

namespace {

// Reads 'a?b?y' with ? the first "/", else ".", else "-"; false when a separator is missing or a part
// does not convert.
bool SplitShortDate(StringView text, Integer& a, Integer& b, Integer& year) {
    size_t first = text.find(u'/');
    if (first == StringView::npos)
        first = text.find(u'.');
    if (first == StringView::npos)
        first = text.find(u'-');
    if (first == StringView::npos)
        return false;
    const size_t second = text.find(text[first], first + 1);
    if (second == StringView::npos)
        return false;
    if (!TryStrToInt(text.substr(0, first), a) ||
        !TryStrToInt(text.substr(first + 1, second - first - 1), b) ||
        !TryStrToInt(text.substr(second + 1), year))
        return false;
    // Two-digit years are windowed; a year written in full is kept (adding 1900 to it would put
    // 2024 in 3924).
    if (year <= 25)
        year += 2000;
    else if (year < 100)
        year += 1900;
    return true;
}

} // namespace

TDateTime ParseDateMDY(StringView text) {
    Integer month = 0;
    Integer day = 0;
    Integer year = 0;
    if (!SplitShortDate(text, month, day, year))
        return 0;
    return EncodeDateChecked(year, month, day);
}

TDateTime ParseDateDMY(StringView text) {
    Integer day = 0;
    Integer month = 0;
    Integer year = 0;
    if (!SplitShortDate(text, day, month, year))
        return 0;
    return EncodeDateChecked(year, month, day);
}

TDateTime IncDateParts(SmallInt years, SmallInt months, SmallInt days, Extended delta, TDateTime date) {
    if (days != 0 && years == 0 && months == 0)
        return date + days;
    const bool yearsOnly = years != 0 && months == 0 && days == 0;
    const bool monthsOnly = months != 0 && years == 0 && days == 0;
    if (!yearsOnly && !monthsOnly)
        return date + delta;

    Word y = 0;
    Word m = 0;
    Word d = 0;
    DecodeDate(date, y, m, d);
    Integer year = y;
    Integer month = m;
    if (yearsOnly) {
        year += years;
    } else {
        month += months;
        if (month == 0) {
            month = 12;
            --year;
        } else if (month > 12) {
            month -= 12;
            ++year;
        }
    }
    // The time of day is kept, as it is when days alone move the date.
    return WithTimeOfDay(EncodeDateChecked(year, month, d), TimeOfDay(date));
}
