// Dates and times of the framework: calendar arithmetic, FormatDateTime and the date and time parsers.
//
// Contents: time stamps and the calendar; encoding and decoding; the clock; FormatDateTime; parsing.
#include "platform/rtl/DateTime.h"

#include <cmath>

#include "platform/rtl/Clock.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"

namespace {

// Decimal digits of value, zero-padded to at least minDigits.
String NumberText(Int64 value, int minDigits = 1) {
    bool negative = value < 0;
    UInt64 magnitude = negative ? 0 - static_cast<UInt64>(value) : static_cast<UInt64>(value);
    String digits;
    do {
        digits.insert(digits.begin(), static_cast<Char>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), u'0');
    if (negative)
        digits.insert(digits.begin(), u'-');
    return digits;
}

// Case-insensitive for ASCII letters; other characters must match exactly.
bool SameTextAt(StringView s, size_t pos, StringView symbol) {
    if (pos + symbol.size() > s.size())
        return false;
    for (size_t i = 0; i < symbol.size(); ++i)
        if (UpCase(s[pos + i]) != UpCase(symbol[i]))
            return false;
    return true;
}

// Decoded fields; zero everywhere for a value outside the calendar.
struct DateFields {
    Word year = 0;
    Word month = 0;
    Word day = 0;
};

DateFields DecodeDays(Integer stampDate) {
    constexpr Integer D1 = 365;
    constexpr Integer D4 = D1 * 4 + 1;
    constexpr Integer D100 = D4 * 25 - 1;
    constexpr Integer D400 = D100 * 4 + 1;
    DateFields fields;
    if (stampDate <= 0)
        return fields;
    Integer t = stampDate - 1;
    Integer year = 1 + t / D400 * 400;
    t %= D400;
    Integer centuries = t / D100;
    Integer days = t % D100;
    if (centuries == 4) { // the last day of a 400-year cycle
        centuries = 3;
        days += D100;
    }
    year += centuries * 100;
    year += days / D4 * 4;
    days %= D4;
    Integer years = days / D1;
    days %= D1;
    if (years == 4) { // the last day of a leap-year cycle
        years = 3;
        days += D1;
    }
    year += years;
    if (year > 0xFFFF)
        return fields;
    const Word* table = MonthDays[IsLeapYear(static_cast<Word>(year))];
    Integer month = 1;
    while (days >= table[month]) {
        days -= table[month];
        ++month;
    }
    fields.year = static_cast<Word>(year);
    fields.month = static_cast<Word>(month);
    fields.day = static_cast<Word>(days + 1);
    return fields;
}

// 1 = Sunday; day 1 of the time stamps (0001-01-01) was a Monday.
Word DayOfWeekOfStamp(Integer stampDate) {
    Integer weekday = stampDate % 7;
    if (weekday < 0)
        weekday += 7;
    return static_cast<Word>(weekday + 1);
}

[[noreturn]] void RaiseConvertError(const Char* pattern, StringView text) {
    throw EConvertError(pattern, {String(text)});
}

} // namespace

// ---- Time stamps and the calendar ----------------------------------------------------------------

TTimeStamp DateTimeToTimeStamp(TDateTime dateTime) {
    // Far outside 0001..9999 the milliseconds would no longer fit; such values have no date to show.
    if (!(std::fabs(dateTime) < 1e9))
        return TTimeStamp();
    Int64 msecs = std::llrint(dateTime * MSecsPerDay);
    TTimeStamp result;
    result.Date = static_cast<Integer>(DateDelta + msecs / MSecsPerDay);
    result.Time = static_cast<Integer>((msecs < 0 ? -msecs : msecs) % MSecsPerDay);
    return result;
}

TDateTime TimeStampToDateTime(const TTimeStamp& timeStamp) {
    Int64 msecs = (static_cast<Int64>(timeStamp.Date) - DateDelta) * MSecsPerDay;
    if (msecs >= 0)
        msecs += timeStamp.Time;
    else
        msecs -= timeStamp.Time;
    return static_cast<double>(msecs) / MSecsPerDay;
}

bool IsLeapYear(Word year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

Word DaysInAMonth(Word year, Word month) {
    if (month < 1 || month > 12)
        return 0;
    return MonthDays[IsLeapYear(year)][month];
}

// ---- Encoding and decoding -----------------------------------------------------------------------

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const Word* table = MonthDays[IsLeapYear(year)];
    if (day > table[month])
        return false;
    Integer days = day;
    for (Integer m = 1; m < month; ++m)
        days += table[m];
    Integer y = year - 1;
    date = y * 365 + y / 4 - y / 100 + y / 400 + days - DateDelta;
    return true;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
    if (hour >= HoursPerDay || min >= MinsPerHour || sec >= SecsPerMin || msec >= MSecsPerSec)
        return false;
    TTimeStamp stamp;
    stamp.Time = ((hour * MinsPerHour + min) * SecsPerMin + sec) * MSecsPerSec + msec;
    stamp.Date = DateDelta;
    time = TimeStampToDateTime(stamp);
    return true;
}

bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word millisecond,
                       TDateTime& value) {
    TDateTime date = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, millisecond, time))
        return false;
    // Before 1899-12-30 the time is subtracted, so that the fraction still reads as the time of day.
    value = date >= 0 ? date + time : date - time;
    return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        throw EConvertError(Consts::SDateEncodeError);
    return result;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
    TDateTime result = 0;
    if (!TryEncodeTime(hour, min, sec, msec, result))
        throw EConvertError(Consts::STimeEncodeError);
    return result;
}

TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second,
                         Word millisecond) {
    TDateTime result = 0;
    if (TryEncodeDateTime(year, month, day, hour, minute, second, millisecond, result))
        return result;
    auto separator = [](String& text, Char c) {
        if (c != 0)
            text += c;
    };
    String fields = NumberText(year);
    separator(fields, FormatSettings.DateSeparator);
    fields += NumberText(month);
    separator(fields, FormatSettings.DateSeparator);
    fields += NumberText(day) + u' ' + NumberText(hour);
    separator(fields, FormatSettings.TimeSeparator);
    fields += NumberText(minute);
    separator(fields, FormatSettings.TimeSeparator);
    fields += NumberText(second);
    separator(fields, FormatSettings.DecimalSeparator);
    fields += NumberText(millisecond);
    RaiseConvertError(Consts::SInvalidDateTime, fields);
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
    DateFields fields = DecodeDays(DateTimeToTimeStamp(date).Date);
    year = fields.year;
    month = fields.month;
    day = fields.day;
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
    Integer msecs = DateTimeToTimeStamp(time).Time;
    Integer minutes = msecs / (SecsPerMin * MSecsPerSec);
    msecs %= SecsPerMin * MSecsPerSec;
    hour = static_cast<Word>(minutes / MinsPerHour);
    min = static_cast<Word>(minutes % MinsPerHour);
    sec = static_cast<Word>(msecs / MSecsPerSec);
    msec = static_cast<Word>(msecs % MSecsPerSec);
}

void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& minute,
                    Word& second, Word& millisecond) {
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, millisecond);
}

Word DayOfWeek(TDateTime dateTime) {
    return DayOfWeekOfStamp(DateTimeToTimeStamp(dateTime).Date);
}

TDateTime IncMonth(TDateTime dateTime, Integer numberOfMonths) {
    Word year16 = 0;
    Word month16 = 0;
    Word day16 = 0;
    DecodeDate(dateTime, year16, month16, day16);
    Int64 year = year16;
    Int64 month = month16;
    Int64 sign = numberOfMonths >= 0 ? 1 : -1;
    year += numberOfMonths / 12;
    month += numberOfMonths % 12;
    if (month < 1 || month > 12) {
        year += sign;
        month -= 12 * sign;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12)
        throw EConvertError(Consts::SDateEncodeError);
    Word day = day16;
    Word lastDay = DaysInAMonth(static_cast<Word>(year), static_cast<Word>(month));
    if (day > lastDay)
        day = lastDay;
    TDateTime result = EncodeDate(static_cast<Word>(year), static_cast<Word>(month), day);
    // Keep the time of day of the original.
    TDateTime time = std::fabs(dateTime - std::trunc(dateTime));
    return result >= 0 ? result + time : result - time;
}

// ---- The clock -----------------------------------------------------------------------------------

TDateTime Now() {
    return Clock::Now();
}

TDateTime Date() {
    TTimeStamp stamp = DateTimeToTimeStamp(Clock::Now());
    stamp.Time = 0;
    return TimeStampToDateTime(stamp);
}

TDateTime Time() {
    TTimeStamp stamp = DateTimeToTimeStamp(Clock::Now());
    stamp.Date = DateDelta;
    return TimeStampToDateTime(stamp);
}

// ---- FormatDateTime ------------------------------------------------------------------------------

namespace {

// The era of the Gregorian calendar, the only calendar the settings describe.
constexpr const Char* GregorianEraName = u"A.D.";

class DateTimeFormatter {
public:
    DateTimeFormatter(TDateTime value, const TFormatSettings& settings) : FSettings(settings) {
        TTimeStamp stamp = DateTimeToTimeStamp(value);
        FDate = DecodeDays(stamp.Date);
        FDayOfWeek = DayOfWeekOfStamp(stamp.Date);
        DecodeTime(value, FHour, FMin, FSec, FMSec);
    }

    // Formats nested through c, ddddd, dddddd and t go two levels deep at most, so that a format that
    // names itself (a ShortDateFormat holding "ddddd") ends.
    void Append(StringView format, int depth) {
        if (depth >= 2)
            return;
        Char lastToken = u' ';
        bool use12HourClock = false;
        size_t i = 0;
        while (i < format.size()) {
            Char starter = format[i++];
            Char token = UpCase(starter);
            if (token >= u'A' && token <= u'Z') {
                if (token == u'M' && lastToken == u'H')
                    token = u'N';
                lastToken = token;
            }
            auto getCount = [&] {
                size_t first = i;
                while (i < format.size() && format[i] == starter)
                    ++i;
                return static_cast<int>(i - first) + 1;
            };
            switch (token) {
            case u'Y': {
                int count = getCount();
                if (count <= 2)
                    AppendNumber(FDate.year % 100, 2);
                else
                    AppendNumber(FDate.year, 4);
                break;
            }
            case u'G':
                getCount();
                FResult += GregorianEraName;
                break;
            case u'E': {
                int count = getCount();
                if (count == 1)
                    AppendNumber(FDate.year % 100, 1);
                else if (count == 2)
                    AppendNumber(FDate.year % 100, 2);
                else
                    AppendNumber(FDate.year, 4);
                break;
            }
            case u'M': {
                int count = getCount();
                if (count <= 2)
                    AppendNumber(FDate.month, count);
                else if (FDate.month >= 1) // no name for a value outside the calendar
                    FResult += count == 3 ? FSettings.ShortMonthNames[FDate.month - 1]
                                          : FSettings.LongMonthNames[FDate.month - 1];
                break;
            }
            case u'D': {
                int count = getCount();
                if (count <= 2)
                    AppendNumber(FDate.day, count);
                else if (count == 3)
                    FResult += FSettings.ShortDayNames[FDayOfWeek - 1];
                else if (count == 4)
                    FResult += FSettings.LongDayNames[FDayOfWeek - 1];
                else if (count == 5)
                    Append(FSettings.ShortDateFormat, depth + 1);
                else
                    Append(FSettings.LongDateFormat, depth + 1);
                break;
            }
            case u'H': {
                int count = getCount();
                if (AmPmFollows(format, i))
                    use12HourClock = true;
                Word hour = FHour;
                if (use12HourClock) {
                    if (hour == 0)
                        hour = 12;
                    else if (hour > 12)
                        hour -= 12;
                }
                AppendNumber(hour, count > 2 ? 2 : count);
                break;
            }
            case u'N': {
                int count = getCount();
                AppendNumber(FMin, count > 2 ? 2 : count);
                break;
            }
            case u'S': {
                int count = getCount();
                AppendNumber(FSec, count > 2 ? 2 : count);
                break;
            }
            case u'Z': {
                int count = getCount();
                AppendNumber(FMSec, count > 3 ? 3 : count);
                break;
            }
            case u'T': {
                int count = getCount();
                Append(count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, depth + 1);
                break;
            }
            case u'A':
                AppendAmPmOrDayName(format, i, use12HourClock);
                break;
            case u'C':
                getCount();
                Append(FSettings.ShortDateFormat, depth + 1);
                if (FHour != 0 || FMin != 0 || FSec != 0 || FMSec != 0) {
                    FResult += u' ';
                    Append(FSettings.LongTimeFormat, depth + 1);
                }
                break;
            case u'/':
                if (FSettings.DateSeparator != 0)
                    FResult += FSettings.DateSeparator;
                break;
            case u':':
                if (FSettings.TimeSeparator != 0)
                    FResult += FSettings.TimeSeparator;
                break;
            case u'\'':
            case u'"': {
                size_t end = format.find(starter, i);
                if (end == StringView::npos)
                    end = format.size();
                FResult += format.substr(i, end - i);
                i = end < format.size() ? end + 1 : end;
                break;
            }
            default:
                FResult += starter;
                break;
            }
        }
    }

    const String& Result() const { return FResult; }

private:
    void AppendNumber(Integer value, int minDigits) { FResult += NumberText(value, minDigits); }

    // Whether the next AM/PM specifier comes before the next hour: then the hour is on the 12-hour clock.
    static bool AmPmFollows(StringView format, size_t from) {
        bool betweenQuotes = false;
        for (size_t p = from; p < format.size(); ++p) {
            Char c = format[p];
            if ((c == u'A' || c == u'a') && !betweenQuotes)
                return SameTextAt(format, p, u"AM/PM") || SameTextAt(format, p, u"A/P") ||
                       SameTextAt(format, p, u"AMPM");
            if (c == u'H' || c == u'h')
                return false;
            if (c == u'\'' || c == u'"')
                betweenQuotes = !betweenQuotes;
        }
        return false;
    }

    // i is just past the 'a' that starts the specifier.
    void AppendAmPmOrDayName(StringView format, size_t& i, bool& use12HourClock) {
        size_t start = i - 1;
        bool pm = FHour >= 12;
        if (SameTextAt(format, start, u"AM/PM")) {
            // The marker keeps the case the format writes it in.
            FResult += format.substr(pm ? start + 3 : start, 2);
            i = start + 5;
            use12HourClock = true;
        } else if (SameTextAt(format, start, u"A/P")) {
            FResult += format.substr(pm ? start + 2 : start, 1);
            i = start + 3;
            use12HourClock = true;
        } else if (SameTextAt(format, start, u"AMPM")) {
            FResult += pm ? FSettings.TimePMString : FSettings.TimeAMString;
            i = start + 4;
            use12HourClock = true;
        } else if (SameTextAt(format, start, u"AAAA")) {
            FResult += FSettings.LongDayNames[FDayOfWeek - 1];
            i = start + 4;
        } else if (SameTextAt(format, start, u"AAA")) {
            FResult += FSettings.ShortDayNames[FDayOfWeek - 1];
            i = start + 3;
        } else {
            FResult += format[start];
        }
    }

    const TFormatSettings& FSettings;
    DateFields FDate;
    Word FDayOfWeek = 1;
    Word FHour = 0;
    Word FMin = 0;
    Word FSec = 0;
    Word FMSec = 0;
    String FResult;
};

} // namespace

String FormatDateTime(StringView format, TDateTime dateTime, const TFormatSettings& settings) {
    DateTimeFormatter formatter(dateTime, settings);
    formatter.Append(format.empty() ? StringView(u"c") : format, 0);
    return formatter.Result();
}

String FormatDateTime(StringView format, TDateTime dateTime) {
    return FormatDateTime(format, dateTime, FormatSettings);
}

String DateToStr(TDateTime date, const TFormatSettings& settings) {
    return FormatDateTime(settings.ShortDateFormat, date, settings);
}

String DateToStr(TDateTime date) {
    return DateToStr(date, FormatSettings);
}

String TimeToStr(TDateTime time, const TFormatSettings& settings) {
    return FormatDateTime(settings.LongTimeFormat, time, settings);
}

String TimeToStr(TDateTime time) {
    return TimeToStr(time, FormatSettings);
}

String DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings) {
    return FormatDateTime(u"", dateTime, settings);
}

String DateTimeToStr(TDateTime dateTime) {
    return DateTimeToStr(dateTime, FormatSettings);
}

// ---- Parsing -------------------------------------------------------------------------------------

namespace {

enum class DateOrder { MDY, DMY, YMD };

// The first day, month or year letter of the short date format decides the order of the fields.
DateOrder GetDateOrder(StringView dateFormat) {
    for (Char c : dateFormat) {
        switch (UpCase(c)) {
        case u'E':
        case u'Y':
            return DateOrder::YMD;
        case u'M':
            return DateOrder::MDY;
        case u'D':
            return DateOrder::DMY;
        default:
            break;
        }
    }
    return DateOrder::MDY;
}

class DateTimeScanner {
public:
    DateTimeScanner(StringView text, const TFormatSettings& settings) : FText(text), FSettings(settings) {}

    bool AtEnd() const { return FPos >= FText.size(); }

    bool ScanDate(TDateTime& date) {
        Word n1 = 0, n2 = 0, n3 = 0;
        int length1 = 0, length3 = 0;
        if (!ScanNumber(n1, length1) || !ScanChar(FSettings.DateSeparator) || !ScanNumber(n2))
            return false;
        DateOrder order = GetDateOrder(FSettings.ShortDateFormat);
        Integer year = 0, month = 0, day = 0;
        if (ScanChar(FSettings.DateSeparator)) {
            if (!ScanNumber(n3, length3))
                return false;
            int yearLength = 0;
            switch (order) {
            case DateOrder::MDY:
                year = n3, yearLength = length3, month = n1, day = n2;
                break;
            case DateOrder::DMY:
                year = n3, yearLength = length3, month = n2, day = n1;
                break;
            case DateOrder::YMD:
                year = n1, yearLength = length1, month = n2, day = n3;
                break;
            }
            if (yearLength <= 2) {
                Integer window = FSettings.TwoDigitYearCenturyWindow;
                Integer centuryBase = CurrentYear() - window;
                year += centuryBase / 100 * 100;
                if (window > 0 && year < centuryBase)
                    year += 100;
            }
        } else {
            year = CurrentYear();
            if (order == DateOrder::DMY)
                day = n1, month = n2;
            else
                month = n1, day = n2;
        }
        ScanChar(FSettings.DateSeparator);
        ScanBlanks();
        if (year < 1 || year > 9999)
            return false;
        return TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), date);
    }

    bool ScanTime(TDateTime& time) {
        int baseHour = ScanAmPm();
        if (baseHour >= 0)
            ScanBlanks();
        Word hour = 0, min = 0, sec = 0, msec = 0;
        if (!ScanNumber(hour))
            return false;
        if (ScanChar(FSettings.TimeSeparator)) {
            if (!ScanNumber(min))
                return false;
            if (ScanChar(FSettings.TimeSeparator)) {
                if (!ScanNumber(sec))
                    return false;
                if (ScanChar(FSettings.DecimalSeparator) && !ScanNumber(msec))
                    return false;
            }
        }
        if (baseHour < 0)
            baseHour = ScanAmPm();
        if (baseHour >= 0) {
            if (hour == 0 || hour > 12)
                return false;
            if (hour == 12)
                hour = 0;
            hour = static_cast<Word>(hour + baseHour);
        }
        ScanBlanks();
        return TryEncodeTime(hour, min, sec, msec, time);
    }

private:
    void ScanBlanks() {
        while (FPos < FText.size() && FText[FPos] == u' ')
            ++FPos;
    }

    // Reading stops once the number reaches four digits' worth, so it always fits in a Word.
    bool ScanNumber(Word& number, int& digits) {
        ScanBlanks();
        size_t i = FPos;
        Integer n = 0;
        while (i < FText.size() && FText[i] >= u'0' && FText[i] <= u'9' && n < 1000) {
            n = n * 10 + (FText[i] - u'0');
            ++i;
        }
        if (i == FPos)
            return false;
        digits = static_cast<int>(i - FPos);
        FPos = i;
        number = static_cast<Word>(n);
        return true;
    }

    bool ScanNumber(Word& number) {
        int digits = 0;
        return ScanNumber(number, digits);
    }

    // A blank separator is matched by any run of blanks.
    bool ScanChar(Char c) {
        size_t before = FPos;
        ScanBlanks();
        if (c == u' ' && FPos > before)
            return true;
        if (FPos < FText.size() && FText[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }

    bool ScanString(StringView symbol) {
        if (symbol.empty())
            return false;
        ScanBlanks();
        if (!SameTextAt(FText, FPos, symbol))
            return false;
        FPos += symbol.size();
        return true;
    }

    // 0 for an AM marker, 12 for a PM marker, -1 when there is none.
    int ScanAmPm() {
        if (ScanString(FSettings.TimeAMString) || ScanString(u"AM"))
            return 0;
        if (ScanString(FSettings.TimePMString) || ScanString(u"PM"))
            return 12;
        return -1;
    }

    static Integer CurrentYear() {
        Word year = 0, month = 0, day = 0;
        DecodeDate(Date(), year, month, day);
        return year;
    }

    StringView FText;
    const TFormatSettings& FSettings;
    size_t FPos = 0;
};

} // namespace

bool TryStrToDate(StringView s, TDateTime& value, const TFormatSettings& settings) {
    DateTimeScanner scanner(s, settings);
    TDateTime date = 0;
    if (!scanner.ScanDate(date) || !scanner.AtEnd())
        return false;
    value = date;
    return true;
}

bool TryStrToDate(StringView s, TDateTime& value) {
    return TryStrToDate(s, value, FormatSettings);
}

TDateTime StrToDate(StringView s, const TFormatSettings& settings) {
    TDateTime result = 0;
    if (!TryStrToDate(s, result, settings))
        RaiseConvertError(Consts::SInvalidDate, s);
    return result;
}

TDateTime StrToDate(StringView s) {
    return StrToDate(s, FormatSettings);
}

TDateTime StrToDateDef(StringView s, TDateTime defaultValue, const TFormatSettings& settings) {
    TDateTime result = 0;
    return TryStrToDate(s, result, settings) ? result : defaultValue;
}

TDateTime StrToDateDef(StringView s, TDateTime defaultValue) {
    return StrToDateDef(s, defaultValue, FormatSettings);
}

bool TryStrToTime(StringView s, TDateTime& value, const TFormatSettings& settings) {
    DateTimeScanner scanner(s, settings);
    TDateTime time = 0;
    if (!scanner.ScanTime(time) || !scanner.AtEnd())
        return false;
    value = time;
    return true;
}

bool TryStrToTime(StringView s, TDateTime& value) {
    return TryStrToTime(s, value, FormatSettings);
}

TDateTime StrToTime(StringView s, const TFormatSettings& settings) {
    TDateTime result = 0;
    if (!TryStrToTime(s, result, settings))
        RaiseConvertError(Consts::SInvalidTime, s);
    return result;
}

TDateTime StrToTime(StringView s) {
    return StrToTime(s, FormatSettings);
}

TDateTime StrToTimeDef(StringView s, TDateTime defaultValue, const TFormatSettings& settings) {
    TDateTime result = 0;
    return TryStrToTime(s, result, settings) ? result : defaultValue;
}

TDateTime StrToTimeDef(StringView s, TDateTime defaultValue) {
    return StrToTimeDef(s, defaultValue, FormatSettings);
}

bool TryStrToDateTime(StringView s, TDateTime& value, const TFormatSettings& settings) {
    DateTimeScanner scanner(s, settings);
    TDateTime date = 0;
    TDateTime time = 0;
    if (scanner.ScanDate(date)) {
        // Text after the time is refused, as it is after a date alone.
        if (scanner.AtEnd() || (scanner.ScanTime(time) && scanner.AtEnd())) {
            value = date >= 0 ? date + time : date - time;
            return true;
        }
    }
    return TryStrToTime(s, value, settings);
}

bool TryStrToDateTime(StringView s, TDateTime& value) {
    return TryStrToDateTime(s, value, FormatSettings);
}

TDateTime StrToDateTime(StringView s, const TFormatSettings& settings) {
    TDateTime result = 0;
    if (!TryStrToDateTime(s, result, settings))
        RaiseConvertError(Consts::SInvalidDateTime, s);
    return result;
}

TDateTime StrToDateTime(StringView s) {
    return StrToDateTime(s, FormatSettings);
}

TDateTime StrToDateTimeDef(StringView s, TDateTime defaultValue, const TFormatSettings& settings) {
    TDateTime result = 0;
    return TryStrToDateTime(s, result, settings) ? result : defaultValue;
}

TDateTime StrToDateTimeDef(StringView s, TDateTime defaultValue) {
    return StrToDateTimeDef(s, defaultValue, FormatSettings);
}
