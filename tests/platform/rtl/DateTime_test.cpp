// Tests of dates and times: the calendar, FormatDateTime, the parsers, the clock and the locale's values.
#include "platform/rtl/DateTime.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "platform/backend/locale.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"
#include "platform/win32/time.h"
#include "tests/support/TestSupport.h"

namespace {

struct YMD {
    Word year;
    Word month;
    Word day;
    bool operator==(const YMD&) const = default;
};

void PrintTo(const YMD& date, std::ostream* os) {
    *os << date.year << '-' << date.month << '-' << date.day;
}

YMD DecodeYMD(TDateTime value) {
    YMD date{};
    DecodeDate(value, date.year, date.month, date.day);
    return date;
}

std::string Utf8(StringView text) {
    return StringToUtf8(text);
}

template <typename Call> std::string ConvertErrorOf(Call call) {
    try {
        call();
    } catch (const EConvertError& error) {
        return Utf8(error.Message());
    }
    return "no EConvertError";
}

// ---- The calendar ---------------------------------------------------------------------------------

struct CalendarCase {
    YMD date;
    TDateTime serial;
    Word dayOfWeek; // 1 = Sunday
};

TEST(DateTimeCalendar, EncodeAndDecodeKnownDays) {
    const CalendarCase cases[] = {
        {{1899, 12, 30}, 0, 7},    {{1899, 12, 29}, -1, 6},     {{1900, 1, 1}, 2, 2},
        {{1900, 2, 28}, 60, 4},    {{1900, 3, 1}, 61, 5},       {{1600, 2, 29}, -109512, 3},
        {{2000, 2, 29}, 36585, 3}, {{2024, 2, 29}, 45351, 5},   {{2026, 1, 15}, 46037, 5},
        {{1, 1, 1}, -693593, 2},   {{9999, 12, 31}, 2958465, 6}};
    for (const CalendarCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.date));
        EXPECT_EQ(EncodeDate(c.date.year, c.date.month, c.date.day), c.serial);
        EXPECT_EQ(DecodeYMD(c.serial), c.date);
        EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek);
    }
}

TEST(DateTimeCalendar, EveryDayRoundTripsAndFollowsTheDayBefore) {
    // Day by day across leap and century years, including both ends of the calendar.
    for (TDateTime start : {-693593.0, -2000.0, 35000.0, 2958000.0}) {
        YMD previous = DecodeYMD(start - 1);
        for (TDateTime day = start; day < start + 1500 && day <= 2958465; ++day) {
            YMD date = DecodeYMD(day);
            ASSERT_EQ(EncodeDate(date.year, date.month, date.day), day);
            bool nextDay =
                date.year == previous.year && date.month == previous.month && date.day == previous.day + 1;
            bool nextMonth = date.day == 1 &&
                             (date.month == previous.month + 1 ||
                              (date.month == 1 && previous.month == 12 && date.year == previous.year + 1));
            ASSERT_TRUE(day == -693593 || nextDay || nextMonth) << day;
            ASSERT_EQ(DayOfWeek(day), DayOfWeek(day - 1) % 7 + 1);
            previous = date;
        }
    }
}

TEST(DateTimeCalendar, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2026));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2026, 2), 28);
    EXPECT_EQ(DaysInAMonth(2026, 4), 30);
    EXPECT_EQ(DaysInAMonth(2026, 12), 31);
    EXPECT_EQ(DaysInAMonth(2026, 13), 0);
}

TEST(DateTimeCalendar, TimesRoundTripToTheMillisecond) {
    // Every 7919th millisecond of the day, on days with positive and negative serials.
    for (YMD date :
         {YMD{2026, 1, 15}, YMD{1899, 12, 30}, YMD{1899, 12, 29}, YMD{1, 1, 1}, YMD{9999, 12, 31}}) {
        for (Integer msecs = 0; msecs < MSecsPerDay; msecs += 7919) {
            Word h = static_cast<Word>(msecs / 3600000), n = static_cast<Word>(msecs / 60000 % 60),
                 s = static_cast<Word>(msecs / 1000 % 60), z = static_cast<Word>(msecs % 1000);
            TDateTime value = EncodeDateTime(date.year, date.month, date.day, h, n, s, z);
            Word fields[7];
            DecodeDateTime(value, fields[0], fields[1], fields[2], fields[3], fields[4], fields[5],
                           fields[6]);
            const Word expected[7] = {date.year, date.month, date.day, h, n, s, z};
            ASSERT_TRUE(std::equal(fields, fields + 7, expected))
                << Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", value));
        }
    }
    Word h, n, s, z;
    DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, z);
    EXPECT_EQ((std::vector<Word>{h, n, s, z}), (std::vector<Word>{23, 59, 59, 999}));
}

TEST(DateTimeCalendar, NegativeValuesKeepTheTimeAsTheAbsoluteFraction) {
    // 1899-12-29 06:00 is -1.25: the date is the integer part, the time the fraction without its sign.
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
    EXPECT_EQ(Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn", -1.25)), "1899-12-29 06:00");
    // Between -1 and 0 the date is still 1899-12-30.
    EXPECT_EQ(Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn", -0.75)), "1899-12-30 18:00");
    EXPECT_EQ(Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn", EncodeDateTime(1, 1, 1, 23, 59, 0, 0))),
              "0001-01-01 23:59");
}

TEST(DateTimeCalendar, InvalidFieldsAreRefused) {
    const YMD badDates[] = {{2026, 2, 29}, {1900, 2, 29}, {2026, 4, 31}, {2026, 13, 1},
                            {2026, 0, 1},  {2026, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
    for (YMD date : badDates) {
        TDateTime untouched = 123;
        EXPECT_FALSE(TryEncodeDate(date.year, date.month, date.day, untouched))
            << testing::PrintToString(date);
        EXPECT_EQ(untouched, 123);
    }
    TDateTime time = 0;
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, time));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, time));
    EXPECT_FALSE(TryEncodeTime(0, 0, 60, 0, time));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, time));
    EXPECT_FALSE(TryEncodeDateTime(2026, 1, 15, 24, 0, 0, 0, time));

    EXPECT_EQ(ConvertErrorOf([] { EncodeDate(2026, 2, 29); }), "Invalid argument to date encode");
    EXPECT_EQ(ConvertErrorOf([] { EncodeTime(25, 0, 0, 0); }), "Invalid argument to time encode");
    EXPECT_EQ(ConvertErrorOf([] { EncodeDateTime(2026, 2, 29, 10, 5, 0, 7); }),
              "'2026/2/29 10:5:0.7' is not a valid date and time");
}

TEST(DateTimeCalendar, ValuesOutsideTheCalendarDecodeAsZero) {
    const TDateTime outside[] = {-693594, -1e12, 1e300, std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity()};
    for (TDateTime value : outside) {
        EXPECT_EQ(DecodeYMD(value), (YMD{0, 0, 0})) << value;
        // Names of a month that does not exist are left out rather than read from outside the tables.
        EXPECT_NO_THROW(FormatDateTime(u"c ddd mmm mmmm dddd", value));
        EXPECT_GE(DayOfWeek(value), 1);
        EXPECT_LE(DayOfWeek(value), 7);
    }
}

TEST(DateTimeCalendar, IncMonthClampsTheDayToTheTargetMonth) {
    struct Case {
        YMD from;
        Integer months;
        YMD to;
    };
    const Case cases[] = {
        {{2026, 1, 31}, 1, {2026, 2, 28}},    {{2024, 1, 31}, 1, {2024, 2, 29}},
        {{2026, 3, 31}, -1, {2026, 2, 28}},   {{2026, 5, 31}, 1, {2026, 6, 30}},
        {{2026, 12, 15}, 1, {2027, 1, 15}},   {{2026, 1, 15}, -1, {2025, 12, 15}},
        {{2026, 1, 15}, 12, {2027, 1, 15}},   {{2026, 1, 15}, -12, {2025, 1, 15}},
        {{2026, 11, 30}, 25, {2028, 12, 30}}, {{2026, 2, 28}, -25, {2024, 1, 28}},
        {{2024, 2, 29}, 12, {2025, 2, 28}},   {{2026, 1, 15}, 0, {2026, 1, 15}},
    };
    for (const Case& c : cases) {
        TDateTime from = EncodeDate(c.from.year, c.from.month, c.from.day) + EncodeTime(13, 45, 0, 0);
        TDateTime to = IncMonth(from, c.months);
        EXPECT_EQ(DecodeYMD(to), c.to) << testing::PrintToString(c.from) << " + " << c.months;
        EXPECT_EQ(Utf8(FormatDateTime(u"hh:nn", to)), "13:45");
    }
    // Before 1899-12-30 the time of day survives too.
    EXPECT_EQ(Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn", IncMonth(EncodeDateTime(1899, 11, 30, 6, 0, 0, 0)))),
              "1899-12-30 06:00");
    EXPECT_EQ(
        Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn", IncMonth(EncodeDateTime(1899, 12, 30, 6, 0, 0, 0), -1))),
        "1899-11-30 06:00");
    EXPECT_EQ(ConvertErrorOf([] { IncMonth(EncodeDate(9999, 12, 15)); }), "Invalid argument to date encode");
    EXPECT_EQ(ConvertErrorOf([] { IncMonth(EncodeDate(1, 1, 15), -1); }), "Invalid argument to date encode");
}

// ---- FormatDateTime -------------------------------------------------------------------------------

struct FormatCase {
    const char* name;
    TDateTime value;
    const Char* format;
    const char* expected;
};

// Monday 2026-01-05 09:05:07.045, and Thursday 2026-01-15 14:30 (the test epoch is 10:30 that day).
const TDateTime Morning = 46027.0 + (9 * 3600000 + 5 * 60000 + 7045) / 86400000.0;
const TDateTime Afternoon = 46037.0 + (14 * 60 + 30) / 1440.0;
const TDateTime Midnight = 46037.0;
const TDateTime Noon = 46037.5;

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.name;
}

class FormatDateTimeTable : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDateTimeTable, Formats) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(Utf8(FormatDateTime(c.format, c.value)), c.expected) << Utf8(c.format);
}

INSTANTIATE_TEST_SUITE_P(
    DateTime, FormatDateTimeTable,
    testing::Values(
        FormatCase{"c", Morning, u"c", "1/5/2026 9:05:07 AM"},
        FormatCase{"c_midnight_omits_time", Midnight, u"c", "1/15/2026"},
        FormatCase{"empty_is_c", Afternoon, u"", "1/15/2026 2:30:00 PM"}, FormatCase{"d", Morning, u"d", "5"},
        FormatCase{"dd", Morning, u"dd", "05"}, FormatCase{"ddd", Morning, u"ddd", "Mon"},
        FormatCase{"dddd", Morning, u"dddd", "Monday"}, FormatCase{"ddddd", Morning, u"ddddd", "1/5/2026"},
        FormatCase{"dddddd", Morning, u"dddddd", "Monday, January 5, 2026"},
        FormatCase{"e", Morning, u"e", "26"}, FormatCase{"ee", EncodeDate(2005, 1, 1), u"e ee", "5 05"},
        FormatCase{"g", Morning, u"g gg", "A.D. A.D."}, FormatCase{"m", Morning, u"m", "1"},
        FormatCase{"mm", Morning, u"mm", "01"}, FormatCase{"mmm", Morning, u"mmm", "Jan"},
        FormatCase{"mmmm", Morning, u"MMMM", "January"}, FormatCase{"yy", Morning, u"yy", "26"},
        FormatCase{"y", Morning, u"y", "26"}, FormatCase{"yyyy", Morning, u"yyyy", "2026"},
        FormatCase{"yyyy_early", EncodeDate(5, 3, 1), u"yyyy yy", "0005 05"},
        FormatCase{"h", Afternoon, u"h", "14"}, FormatCase{"hh", Morning, u"hh", "09"},
        FormatCase{"n", Morning, u"n nn", "5 05"}, FormatCase{"s", Morning, u"s ss", "7 07"},
        FormatCase{"z", Morning, u"z zzz", "45 045"},
        FormatCase{"m_after_h_is_minutes", Morning, u"h:m hh:mm", "9:5 09:05"},
        FormatCase{"m_not_after_h_is_month", Morning, u"hh dd mm", "09 05 01"},
        FormatCase{"t", Afternoon, u"t", "2:30 PM"}, FormatCase{"tt", Afternoon, u"tt", "2:30:00 PM"},
        FormatCase{"ampm", Afternoon, u"h:nn ampm", "2:30 PM"},
        FormatCase{"am_pm_keeps_case", Afternoon, u"hh am/pm AM/PM", "02 pm PM"},
        FormatCase{"a_p", Morning, u"h a/p A/P", "9 a A"},
        FormatCase{"12am", Midnight, u"h:nn AM/PM", "12:00 AM"},
        FormatCase{"12pm", Noon, u"h:nn AM/PM", "12:00 PM"},
        FormatCase{"24h_without_marker", Midnight, u"h:nn", "0:00"},
        FormatCase{"12h_marker_before", Afternoon, u"ampm h", "PM 2"},
        FormatCase{"quoted_marker_is_not_12h", Afternoon, u"h 'am/pm'", "14 am/pm"},
        FormatCase{"aaa", Morning, u"aaa aaaa", "Mon Monday"},
        FormatCase{"separators", Morning, u"yyyy/mm/dd hh:nn", "2026/01/05 09:05"},
        FormatCase{"quotes", Morning, u"'d' \"m\" yyyy 'at' h", "d m 2026 at 9"},
        FormatCase{"unterminated_quote", Morning, u"yyyy 'dd", "2026 dd"},
        FormatCase{"other_characters", Morning, u"[yyyy-mm-dd] x", "[2026-01-05] x"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(DateTimeFormat, ReadsTheGivenSettings) {
    TFormatSettings settings = DefaultFormatSettings();
    settings.DateSeparator = u'.';
    settings.TimeSeparator = u'-';
    settings.ShortDateFormat = u"dd/mm/yyyy";
    settings.LongTimeFormat = u"hh:nn:ss";
    settings.LongMonthNames[0] = u"Januar";
    settings.ShortDayNames[1] = u"Mo";
    settings.TimePMString = u"nachm.";
    EXPECT_EQ(Utf8(DateTimeToStr(Afternoon, settings)), "15.01.2026 14-30-00");
    EXPECT_EQ(Utf8(DateToStr(Morning, settings)), "05.01.2026");
    EXPECT_EQ(Utf8(TimeToStr(Morning, settings)), "09-05-07");
    EXPECT_EQ(Utf8(FormatDateTime(u"ddd d mmmm, h ampm", Morning + 0.25, settings)), "Mo 5 Januar, 3 nachm.");

    // The plain forms read the global settings.
    FormatSettings = settings;
    EXPECT_EQ(Utf8(DateTimeToStr(Morning)), "05.01.2026 09-05-07");
}

TEST(DateTimeFormat, SelfReferringFormatsEnd) {
    TFormatSettings settings = DefaultFormatSettings();
    settings.ShortDateFormat = u"ddddd c yyyy";
    settings.LongTimeFormat = u"tt";
    EXPECT_EQ(Utf8(FormatDateTime(u"c", Morning, settings)), "   2026 ");
}

// ---- Parsing --------------------------------------------------------------------------------------

struct DateParseCase {
    const char* name;
    const Char* shortDateFormat;
    Char separator;
    const Char* text;
    YMD expected; // {0, 0, 0}: not a date
};

void PrintTo(const DateParseCase& c, std::ostream* os) {
    *os << c.name;
}

class StrToDateTable : public testing::TestWithParam<DateParseCase> {};

TEST_P(StrToDateTable, Parses) {
    const DateParseCase& c = GetParam();
    TFormatSettings settings = DefaultFormatSettings();
    settings.ShortDateFormat = c.shortDateFormat;
    settings.DateSeparator = c.separator;
    TDateTime value = -5;
    bool ok = TryStrToDate(c.text, value, settings);
    if (c.expected.year == 0) {
        EXPECT_FALSE(ok) << Utf8(FormatDateTime(u"yyyy-mm-dd", value));
        EXPECT_EQ(value, -5);
        EXPECT_EQ(StrToDateDef(c.text, 7, settings), 7);
    } else {
        ASSERT_TRUE(ok);
        EXPECT_EQ(DecodeYMD(value), c.expected);
        EXPECT_EQ(value, std::trunc(value)); // no time part
    }
}

// The manual clock stands in 2026 and the century window is 50 years: two-digit years run 1976..2075.
INSTANTIATE_TEST_SUITE_P(
    DateTime, StrToDateTable,
    testing::Values(DateParseCase{"mdy", u"M/d/yyyy", u'/', u"1/15/2026", {2026, 1, 15}},
                    DateParseCase{"mdy_zeros", u"M/d/yyyy", u'/', u"01/05/2026", {2026, 1, 5}},
                    DateParseCase{"mdy_blanks", u"M/d/yyyy", u'/', u"  1 / 15 /2026  ", {2026, 1, 15}},
                    DateParseCase{"mdy_trailing_separator", u"M/d/yyyy", u'/', u"1/15/2026/", {2026, 1, 15}},
                    DateParseCase{"mdy_no_year", u"M/d/yyyy", u'/', u"12/24", {2026, 12, 24}},
                    DateParseCase{"mdy_no_year_leap_day", u"M/d/yyyy", u'/', u"2/29", {0, 0, 0}},
                    DateParseCase{"year_26", u"M/d/yyyy", u'/', u"1/15/26", {2026, 1, 15}},
                    DateParseCase{"year_76", u"M/d/yyyy", u'/', u"1/15/76", {1976, 1, 15}},
                    DateParseCase{"year_75", u"M/d/yyyy", u'/', u"1/15/75", {2075, 1, 15}},
                    DateParseCase{"year_one_digit", u"M/d/yyyy", u'/', u"1/15/5", {2005, 1, 15}},
                    DateParseCase{"year_four_digits_kept", u"M/d/yyyy", u'/', u"1/15/0005", {5, 1, 15}},
                    DateParseCase{"mdy_day_13_is_not_a_month", u"M/d/yyyy", u'/', u"13/1/2026", {0, 0, 0}},
                    DateParseCase{"trailing_text", u"M/d/yyyy", u'/', u"1/15/2026x", {0, 0, 0}},
                    DateParseCase{"trailing_time", u"M/d/yyyy", u'/', u"1/15/2026 10:00", {0, 0, 0}},
                    DateParseCase{"wrong_separator", u"M/d/yyyy", u'/', u"1-15-2026", {0, 0, 0}},
                    DateParseCase{"one_number", u"M/d/yyyy", u'/', u"15", {0, 0, 0}},
                    DateParseCase{"empty", u"M/d/yyyy", u'/', u"", {0, 0, 0}},
                    DateParseCase{"five_digit_year", u"M/d/yyyy", u'/', u"1/15/20260", {0, 0, 0}},
                    DateParseCase{"negative", u"M/d/yyyy", u'/', u"-1/15/2026", {0, 0, 0}},
                    DateParseCase{"dmy_slash", u"dd/mm/yyyy", u'/', u"15/01/2026", {2026, 1, 15}},
                    DateParseCase{"dmy_slash_us_order_fails", u"dd/mm/yyyy", u'/', u"1/15/2026", {0, 0, 0}},
                    DateParseCase{"dmy_dot", u"dd/mm/yyyy", u'.', u"15.01.2026", {2026, 1, 15}},
                    DateParseCase{"dmy_dot_no_year", u"dd/mm/yyyy", u'.', u"31.12", {2026, 12, 31}},
                    // A separator after the month announces a year.
                    DateParseCase{
                        "dmy_dot_separator_without_year", u"dd/mm/yyyy", u'.', u"31.12.", {0, 0, 0}},
                    DateParseCase{"dmy_dot_rejects_slash", u"dd/mm/yyyy", u'.', u"15/01/2026", {0, 0, 0}},
                    DateParseCase{"ymd_dash", u"yyyy-mm-dd", u'-', u"2026-01-15", {2026, 1, 15}},
                    DateParseCase{"ymd_dash_short_year", u"yyyy-mm-dd", u'-', u"26-1-15", {2026, 1, 15}},
                    DateParseCase{"ymd_dash_leap_day", u"yyyy-mm-dd", u'-', u"2024-02-29", {2024, 2, 29}},
                    DateParseCase{"ymd_dash_bad_day", u"yyyy-mm-dd", u'-', u"2026-02-29", {0, 0, 0}},
                    DateParseCase{"blank_separator", u"d m yyyy", u' ', u"15 1   2026", {2026, 1, 15}}),
    [](const testing::TestParamInfo<DateParseCase>& info) { return std::string(info.param.name); });

TEST(DateTimeParse, CenturyWindowZeroKeepsTheCurrentCentury) {
    TFormatSettings settings = DefaultFormatSettings();
    settings.TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(DecodeYMD(StrToDate(u"1/15/99", settings)), (YMD{2099, 1, 15}));
    EXPECT_EQ(DecodeYMD(StrToDate(u"1/15/00", settings)), (YMD{2000, 1, 15}));
}

TEST(DateTimeParse, CurrentYearComesFromTheClock) {
    Clock::UseManualClock(EncodeDate(1999, 6, 1));
    EXPECT_EQ(DecodeYMD(StrToDate(u"2/3")), (YMD{1999, 2, 3}));
    EXPECT_EQ(DecodeYMD(StrToDate(u"2/3/48")), (YMD{2048, 2, 3}));
    EXPECT_EQ(DecodeYMD(StrToDate(u"2/3/49")), (YMD{1949, 2, 3}));
}

struct TimeParseCase {
    const char* name;
    const Char* text;
    Integer expectedMSecs; // -1: not a time
};

void PrintTo(const TimeParseCase& c, std::ostream* os) {
    *os << c.name;
}

class StrToTimeTable : public testing::TestWithParam<TimeParseCase> {};

TEST_P(StrToTimeTable, Parses) {
    const TimeParseCase& c = GetParam();
    TDateTime value = -5;
    bool ok = TryStrToTime(c.text, value);
    if (c.expectedMSecs < 0) {
        EXPECT_FALSE(ok);
        EXPECT_EQ(value, -5);
    } else {
        ASSERT_TRUE(ok);
        EXPECT_EQ(DateTimeToTimeStamp(value).Time, c.expectedMSecs);
        EXPECT_EQ(DateTimeToTimeStamp(value).Date, DateDelta);
    }
}

constexpr Integer HM(Integer h, Integer m, Integer s = 0, Integer z = 0) {
    return ((h * 60 + m) * 60 + s) * 1000 + z;
}

INSTANTIATE_TEST_SUITE_P(
    DateTime, StrToTimeTable,
    testing::Values(
        TimeParseCase{"hour_only", u"10", HM(10, 0)}, TimeParseCase{"hm", u"10:30", HM(10, 30)},
        TimeParseCase{"hms", u"23:59:59", HM(23, 59, 59)},
        TimeParseCase{"hmsz", u"10:30:15.250", HM(10, 30, 15, 250)},
        // Digits after the decimal separator count milliseconds, not a fraction.
        TimeParseCase{"z_is_a_count", u"10:30:15.5", HM(10, 30, 15, 5)},
        TimeParseCase{"blanks", u" 10 : 30 ", HM(10, 30)}, TimeParseCase{"pm_after", u"3:05 PM", HM(15, 5)},
        TimeParseCase{"pm_lower_no_blank", u"3:05pm", HM(15, 5)},
        TimeParseCase{"pm_before", u"PM 3:05", HM(15, 5)}, TimeParseCase{"am", u"9:15:20 AM", HM(9, 15, 20)},
        TimeParseCase{"12am_is_midnight", u"12:00 AM", 0},
        TimeParseCase{"12pm_is_noon", u"12:30 PM", HM(12, 30)},
        TimeParseCase{"hour_13_with_marker", u"13:00 PM", -1},
        TimeParseCase{"hour_0_with_marker", u"0:30 AM", -1}, TimeParseCase{"hour_24", u"24:00", -1},
        TimeParseCase{"minute_60", u"10:60", -1}, TimeParseCase{"msec_1000", u"10:00:00.1000", -1},
        TimeParseCase{"missing_minutes", u"10:", -1}, TimeParseCase{"trailing_text", u"10:30 xyz", -1},
        TimeParseCase{"empty", u"", -1}, TimeParseCase{"marker_only", u"PM", -1}),
    [](const testing::TestParamInfo<TimeParseCase>& info) { return std::string(info.param.name); });

TEST(DateTimeParse, TimeReadsTheSettingsSeparatorsAndMarkers) {
    TFormatSettings settings = DefaultFormatSettings();
    settings.TimeSeparator = u'.';
    settings.DecimalSeparator = u',';
    settings.TimeAMString = u"vorm.";
    settings.TimePMString = u"nachm.";
    EXPECT_EQ(DateTimeToTimeStamp(StrToTime(u"14.30.05,250", settings)).Time, HM(14, 30, 5, 250));
    EXPECT_EQ(DateTimeToTimeStamp(StrToTime(u"2.30 NACHM.", settings)).Time, HM(14, 30));
    // "AM" and "PM" are understood whatever the settings say.
    EXPECT_EQ(DateTimeToTimeStamp(StrToTime(u"2.30 pm", settings)).Time, HM(14, 30));
    TDateTime value = 0;
    EXPECT_FALSE(TryStrToTime(u"14:30", value, settings));
}

TEST(DateTimeParse, DateAndTimeTogether) {
    TDateTime expected = EncodeDateTime(2026, 1, 15, 15, 5, 0, 0);
    EXPECT_EQ(StrToDateTime(u"1/15/2026 3:05 PM"), expected);
    EXPECT_EQ(StrToDateTime(u"1/15/2026 15:05"), expected);
    EXPECT_EQ(StrToDateTime(u"1/15/2026"), EncodeDate(2026, 1, 15));
    EXPECT_EQ(StrToDateTime(u"15:05"), EncodeTime(15, 5, 0, 0));
    EXPECT_EQ(StrToDateTime(u"1/15 15:05"), expected);
    // Before 1899-12-30 the time still reads forward from midnight.
    EXPECT_EQ(StrToDateTime(u"12/29/1899 6:00"), -1.25);
    TDateTime value = 0;
    EXPECT_FALSE(TryStrToDateTime(u"1/15/2026 15:05 junk", value));
    EXPECT_FALSE(TryStrToDateTime(u"1/15/2026 25:00", value));
    EXPECT_FALSE(TryStrToDateTime(u"", value));
    EXPECT_EQ(StrToDateTimeDef(u"junk", 3), 3);
}

TEST(DateTimeParse, ErrorsNameTheText) {
    EXPECT_EQ(ConvertErrorOf([] { StrToDate(u"2/30/2026"); }), "'2/30/2026' is not a valid date");
    EXPECT_EQ(ConvertErrorOf([] { StrToTime(u"25:00"); }), "'25:00' is not a valid time");
    EXPECT_EQ(ConvertErrorOf([] { StrToDateTime(u"soon"); }), "'soon' is not a valid date and time");
    EXPECT_EQ(StrToTimeDef(u"later", 0.5), 0.5);
}

TEST(DateTimeParse, WrittenTextReadsBack) {
    TFormatSettings european = DefaultFormatSettings();
    european.ShortDateFormat = u"dd/MM/yyyy";
    european.DateSeparator = u'.';
    european.LongTimeFormat = u"hh:mm:ss";
    for (const TFormatSettings& settings : {DefaultFormatSettings(), european}) {
        for (TDateTime value = -800.0; value < 60000; value += 997.0 + 12345.0 / 86400) {
            TDateTime seconds = std::round(value * SecsPerDay) / SecsPerDay;
            String text = DateTimeToStr(seconds, settings);
            TDateTime back = 0;
            ASSERT_TRUE(TryStrToDateTime(text, back, settings)) << Utf8(text);
            ASSERT_EQ(DateTimeToStr(back, settings), text);
            ASSERT_NEAR(back, seconds, 1e-9) << Utf8(text);
        }
    }
}

// ---- The clock ------------------------------------------------------------------------------------

TEST(DateTimeClock, NowDateAndTimeFollowTheManualClock) {
    EXPECT_EQ(Now(), testing_support::TestEpoch());
    EXPECT_EQ(Date(), EncodeDate(2026, 1, 15));
    EXPECT_EQ(Time(), EncodeTime(10, 30, 0, 0));
    Clock::Advance(90 * 60 * 1000 + 250);
    EXPECT_EQ(Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", Now())), "2026-01-15 12:00:00.250");
    // Across midnight and the end of a month.
    Clock::UseManualClock(EncodeDateTime(2026, 1, 31, 23, 59, 59, 900));
    Clock::Advance(200);
    EXPECT_EQ(Utf8(FormatDateTime(u"yyyy-mm-dd hh:nn:ss.zzz", Now())), "2026-02-01 00:00:00.100");
    EXPECT_EQ(Date(), EncodeDate(2026, 2, 1));
    EXPECT_EQ(Time(), EncodeTime(0, 0, 0, 100));
    // Many small steps add up exactly.
    for (int i = 0; i < 1000; ++i)
        Clock::Advance(3);
    EXPECT_EQ(Time(), EncodeTime(0, 0, 3, 100));
}

TEST(DateTimeClock, TickCountFollowsTheManualClockAndWraps) {
    EXPECT_EQ(GetTickCount(), 3600000u);
    Clock::Advance(1500);
    EXPECT_EQ(GetTickCount(), 3601500u);
    EXPECT_EQ(GetTickCount64(), 3601500u);
    Clock::Advance(0x100000000ull - 3601500 + 7);
    EXPECT_EQ(GetTickCount(), 7u);
    EXPECT_EQ(GetTickCount64(), 0x100000007ull);
    // Starting again resets the tick count.
    Clock::UseManualClock(testing_support::TestEpoch());
    EXPECT_EQ(GetTickCount64(), 3600000u);
}

TEST(DateTimeClock, LocalTimeMatchesNow) {
    Clock::Advance(12345);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    EXPECT_EQ(local.wYear, 2026);
    EXPECT_EQ(local.wMonth, 1);
    EXPECT_EQ(local.wDay, 15);
    EXPECT_EQ(local.wDayOfWeek, 4); // Thursday
    EXPECT_EQ(local.wHour, 10);
    EXPECT_EQ(local.wMinute, 30);
    EXPECT_EQ(local.wSecond, 12);
    EXPECT_EQ(local.wMilliseconds, 345);
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    TDateTime utcValue = EncodeDateTime(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond,
                                        utc.wMilliseconds);
    // UTC differs from local time by the zone's offset: whole quarter hours, at most 14 hours.
    double offsetMinutes = (Now() - utcValue) * MinsPerDay;
    EXPECT_LE(std::fabs(offsetMinutes), 14 * 60.0 + 0.001);
    EXPECT_NEAR(std::fmod(std::fabs(offsetMinutes) + 0.001, 15.0), 0.001, 0.002);
    GetLocalTime(nullptr); // Win32 callers may pass nothing; it must not crash.
}

TEST(DateTimeClock, AdvanceListenersSeeTheNewTime) {
    std::vector<UInt64> seen;
    UInt64 first = Clock::AddAdvanceListener([&seen] { seen.push_back(Clock::TickCount64()); });
    UInt64 second = Clock::AddAdvanceListener([&seen] { seen.push_back(0); });
    Clock::Advance(10);
    Clock::RemoveAdvanceListener(second);
    Clock::Advance(5);
    // Starting the manual clock again moves it too.
    Clock::UseManualClock(testing_support::TestEpoch());
    Clock::RemoveAdvanceListener(first);
    Clock::Advance(5);
    EXPECT_EQ(seen, (std::vector<UInt64>{3600010, 0, 3600015, 3600000}));
}

TEST(DateTimeClock, SystemClockIsNotMovedByHand) {
    int calls = 0;
    UInt64 listener = Clock::AddAdvanceListener([&calls] { ++calls; });
    Clock::UseSystemClock();
    EXPECT_FALSE(Clock::IsManual());
    EXPECT_EQ(calls, 1); // the switch is a move
    UInt64 before = Clock::TickCount64();
    TDateTime now = Now();
    Clock::Advance(100000000);
    EXPECT_LT(Clock::TickCount64() - before, 100000000u);
    EXPECT_LT(Now() - now, 1.0);
    EXPECT_EQ(calls, 1);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1)); // a real date, not the manual one or zero
    Clock::RemoveAdvanceListener(listener);
    Clock::UseManualClock(testing_support::TestEpoch());
    EXPECT_TRUE(Clock::IsManual());
}

// ---- The user's locale ----------------------------------------------------------------------------

TFormatSettings SettingsOf(const backend::LocaleValues& values) {
    TFormatSettings settings = DefaultFormatSettings();
    settings.DateSeparator = values.dateSeparator;
    settings.TimeSeparator = values.timeSeparator;
    settings.DecimalSeparator = values.decimalSeparator;
    settings.ShortDateFormat = values.shortDateFormat;
    settings.LongDateFormat = values.longDateFormat;
    settings.ShortTimeFormat = values.shortTimeFormat;
    settings.LongTimeFormat = values.longTimeFormat;
    settings.TimeAMString = values.amString;
    settings.TimePMString = values.pmString;
    for (int i = 0; i < 12; ++i)
        settings.LongMonthNames[i] = values.longMonthNames[i];
    for (int i = 0; i < 7; ++i)
        settings.LongDayNames[i] = values.longDayNames[i];
    return settings;
}

TEST(DateTimeLocale, CLocaleIsEnglishUnitedStates) {
    backend::LocaleValues values = backend::LocaleValuesFor("C");
    TFormatSettings defaults = DefaultFormatSettings();
    EXPECT_EQ(values.shortDateFormat, defaults.ShortDateFormat);
    EXPECT_EQ(values.longDateFormat, defaults.LongDateFormat);
    EXPECT_EQ(values.shortTimeFormat, defaults.ShortTimeFormat);
    EXPECT_EQ(values.longTimeFormat, defaults.LongTimeFormat);
    EXPECT_EQ(values.dateSeparator, defaults.DateSeparator);
    EXPECT_EQ(values.decimalSeparator, defaults.DecimalSeparator);
    EXPECT_EQ(values.currencyString, defaults.CurrencyString);
    EXPECT_EQ(values.negCurrFormat, defaults.NegCurrFormat);
    EXPECT_EQ(values.longDayNames[0], u"Sunday");
}

TEST(DateTimeLocale, GermanValuesInTheFrameworkSyntax) {
    backend::LocaleValues values = backend::LocaleValuesFor("de_DE");
    EXPECT_EQ(values.decimalSeparator, u',');
    EXPECT_EQ(values.thousandSeparator, u'.');
    EXPECT_EQ(values.listSeparator, u';');
    EXPECT_EQ(values.dateSeparator, u'.');
    EXPECT_EQ(values.timeSeparator, u':');
    EXPECT_EQ(Utf8(values.shortDateFormat), "dd/MM/yyyy");
    EXPECT_EQ(Utf8(values.longTimeFormat), "hh:mm:ss"); // the time zone is dropped
    EXPECT_EQ(values.currencyString, u"\u20AC");
    EXPECT_EQ(values.currencyFormat, 3); // "1 €"
    EXPECT_EQ(values.longDayNames[0], u"Sonntag");
    TFormatSettings settings = SettingsOf(values);
    EXPECT_EQ(Utf8(DateTimeToStr(Afternoon, settings)), "15.01.2026 14:30:00");
    EXPECT_EQ(Utf8(FormatDateTime(u"dddddd", Afternoon, settings)), "Donnerstag, 15. Januar 2026");
}

TEST(DateTimeLocale, EnglishUnitedStatesUsesTwelveHourTime) {
    backend::LocaleValues values = backend::LocaleValuesFor("en_US");
    EXPECT_EQ(Utf8(values.shortDateFormat), "M/d/yyyy");
    EXPECT_EQ(Utf8(values.shortTimeFormat), "h:mm AMPM");
    EXPECT_EQ(Utf8(DateTimeToStr(Afternoon, SettingsOf(values))), "1/15/2026 2:30:00 PM");
}

TEST(DateTimeLocale, EveryLocalesShortDateAndTimeReadBack) {
    // Whatever a locale's formats look like, what they write must parse again with the same settings.
    for (const char* name :
         {"en_US", "en_GB", "de_DE", "fr_FR", "fr_CA", "ja_JP", "hu_HU", "nl_NL", "ar_EG", "fi_FI",
          "ko_KR", "sv_SE", "zh_CN", "es_ES", "pt_BR", "he_IL", "bg_BG", "zh_TW", "zh_HK", "sq_AL"}) {
        SCOPED_TRACE(name);
        TFormatSettings settings = SettingsOf(backend::LocaleValuesFor(name));
        for (TDateTime day : {EncodeDate(2026, 1, 5), EncodeDate(1999, 12, 31), EncodeDate(2024, 2, 29)}) {
            String text = DateToStr(day, settings);
            TDateTime back = 0;
            EXPECT_TRUE(TryStrToDate(text, back, settings) && back == day) << Utf8(text);
        }
        // A time zone never survives into the formats, and neither does a stray quote.
        for (const String& format : {settings.ShortTimeFormat, settings.LongTimeFormat}) {
            EXPECT_EQ(format.find(u't'), String::npos) << Utf8(format);
            EXPECT_EQ(format.find_first_of(u"(["), String::npos) << Utf8(format);
            EXPECT_NE(format.back(), u',') << Utf8(format);
        }
        String time = FormatDateTime(settings.ShortTimeFormat, Afternoon, settings);
        TDateTime back = 0;
        // Words (quoted, or in another script) are not separators: the parser cannot read them.
        const bool words = std::any_of(settings.ShortTimeFormat.begin(), settings.ShortTimeFormat.end(),
                                       [](Char c) { return c == u'"' || c > 0x7F; });
        if (!words) {
            EXPECT_TRUE(TryStrToTime(time, back, settings) && std::fabs(back - 0.6041666666) < 1e-6)
                << Utf8(time);
        }
    }
}

struct LocaleFormatCase {
    const char* name;
    const char* shortDate;
    const char* shortTime;
    const char* longTime;
};

class DateTimeLocaleFormats : public testing::TestWithParam<LocaleFormatCase> {};

TEST_P(DateTimeLocaleFormats, BecomeTheFrameworkSyntax) {
    const LocaleFormatCase& c = GetParam();
    backend::LocaleValues values = backend::LocaleValuesFor(c.name);
    EXPECT_EQ(Utf8(values.shortDateFormat), c.shortDate);
    EXPECT_EQ(Utf8(values.shortTimeFormat), c.shortTime);
    EXPECT_EQ(Utf8(values.longTimeFormat), c.longTime);
}

// The platform writes some formats with text the framework cannot show: a time zone in brackets or
// after a comma, a flexible day period ("B", shown as the AM/PM marker) and words after a short date,
// which would not read back.
INSTANTIATE_TEST_SUITE_P(Cases, DateTimeLocaleFormats,
                         testing::Values(LocaleFormatCase{"zh_TW", "yyyy/M/d", "AMPMh:mm", "AMPMh:mm:ss"},
                                         LocaleFormatCase{"zh_HK", "d/M/yyyy", "AMPMh:mm", "AMPMh:mm:ss"},
                                         LocaleFormatCase{"sq_AL", "d/M/yyyy", "h:mm AMPM", "h:mm:ss AMPM"},
                                         LocaleFormatCase{"bg_BG", "d/MM/yyyy", "h:mm \u0447.",
                                                          "h:mm:ss \u0447."},
                                         LocaleFormatCase{"fa_IR", "yyyy/M/d", "h:mm", "h:mm:ss"}),
                         [](const auto& info) { return info.param.name; });

TEST(DateTimeLocale, UserLocaleSettingsAreUsable) {
    TFormatSettings settings = GetLocaleFormatSettings();
    EXPECT_FALSE(settings.ShortDateFormat.empty());
    EXPECT_FALSE(settings.LongTimeFormat.empty());
    EXPECT_NE(settings.DecimalSeparator, 0);
    TDateTime back = 0;
    EXPECT_TRUE(TryStrToDate(DateToStr(Afternoon, settings), back, settings));
    EXPECT_EQ(back, Midnight);
}

} // namespace
