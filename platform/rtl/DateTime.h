// Dates and times of the framework: TDateTime arithmetic, encoding and decoding, the clock's Now, Date
// and Time, and conversion to and from text with the format settings.
//
// A TDateTime counts days since 1899-12-30 00:00; the fraction is the time of day. A negative value
// keeps the same rule for its parts: the date is the integer part and the time is the fraction without
// its sign, so -1.25 is 1899-12-29 06:00. The valid dates are 0001-01-01 (-693593) to 9999-12-31
// (2958465).
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

inline constexpr Integer HoursPerDay = 24;
inline constexpr Integer MinsPerHour = 60;
inline constexpr Integer SecsPerMin = 60;
inline constexpr Integer MSecsPerSec = 1000;
inline constexpr Integer MinsPerDay = HoursPerDay * MinsPerHour;
inline constexpr Integer SecsPerDay = MinsPerDay * SecsPerMin;
inline constexpr Integer MSecsPerDay = SecsPerDay * MSecsPerSec;
// Days between 0001-01-01 (day 1 of a TTimeStamp) and 1899-12-30, plus one.
inline constexpr Integer DateDelta = 693594;

// Days of each month, MonthDays[IsLeapYear(year)][month] with month 1..12 (entry 0 is unused).
inline constexpr Word MonthDays[2][13] = {{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                          {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// A moment as whole days and milliseconds.
struct TTimeStamp {
    Integer Time = 0; // milliseconds since midnight
    Integer Date = 0; // days since 0001-01-01, which is day 1
};

// The value is rounded to the nearest millisecond. A value that is not a number or lies far outside
// the calendar gives the zero time stamp (Date 0, before every valid date).
TTimeStamp DateTimeToTimeStamp(TDateTime dateTime);
TDateTime TimeStampToDateTime(const TTimeStamp& timeStamp);

bool IsLeapYear(Word year);
// Days in the month (28..31); 0 for a month outside 1..12.
Word DaysInAMonth(Word year, Word month);

// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to time encode" for a
// field out of range (years 1..9999, hours 0..23, minutes and seconds 0..59, milliseconds 0..999).
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
// Raises EConvertError "'<y/m/d h:n:s.z>' is not a valid date and time" naming the fields.
TDateTime EncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second,
                         Word millisecond);
// The Try forms leave the result untouched and answer false instead of raising.
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
bool TryEncodeDateTime(Word year, Word month, Word day, Word hour, Word minute, Word second, Word millisecond,
                       TDateTime& value);

// A value before 0001-01-01 (or not a number) decodes as year, month and day 0.
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime value, Word& year, Word& month, Word& day, Word& hour, Word& minute,
                    Word& second, Word& millisecond);

// 1 = Sunday .. 7 = Saturday.
Word DayOfWeek(TDateTime dateTime);
// The same time of day, numberOfMonths months later (earlier when negative); the day is clamped to the
// end of the target month. Raises EConvertError when the result leaves the years 1..9999.
TDateTime IncMonth(TDateTime dateTime, Integer numberOfMonths = 1);

// The present local date and time, from the platform's clock (the manual clock in tests).
TDateTime Now();
// Today at midnight.
TDateTime Date();
// The present time of day (fraction only).
TDateTime Time();

// FormatDateTime specifiers (letters in any case):
//   c           ShortDateFormat, then a space and LongTimeFormat unless the time is midnight exactly
//   d dd        day; ddd dddd short and long day name; ddddd ShortDateFormat; dddddd LongDateFormat
//   e ee        year of the era (e: two digits without a leading zero, ee: two digits, eee: four)
//   g gg        era name (A.D.)
//   m mm        month, or minutes right after an hour; mmm mmmm short and long month name
//   yy yyyy     two- and four-digit year
//   h hh        hour, 12-hour when an AM/PM specifier follows; n nn minutes; s ss seconds
//   z zzz       milliseconds; t tt ShortTimeFormat and LongTimeFormat
//   am/pm a/p   "am"/"pm" or "a"/"p" in the case written; ampm TimeAMString or TimePMString
//   / :         DateSeparator and TimeSeparator; '...' and "..." literal text
// Any other character is copied. An empty format is "c".
String FormatDateTime(StringView format, TDateTime dateTime);
String FormatDateTime(StringView format, TDateTime dateTime, const TFormatSettings& settings);

// ShortDateFormat; LongTimeFormat; "c".
String DateToStr(TDateTime date);
String DateToStr(TDateTime date, const TFormatSettings& settings);
String TimeToStr(TDateTime time);
String TimeToStr(TDateTime time, const TFormatSettings& settings);
String DateTimeToStr(TDateTime dateTime);
String DateTimeToStr(TDateTime dateTime, const TFormatSettings& settings);

// Dates are two or three numbers split by DateSeparator, in the order of ShortDateFormat (the first of
// its d, m, y and e letters decides; month first when it has none). Without a year the year is the current
// one; a year of one or two digits falls in the hundred years that end TwoDigitYearCenturyWindow years
// after the current year (all in the current century when the window is 0). Blanks around the numbers
// and one trailing separator are allowed.
// Times are h[:n[:s[.z]]] split by TimeSeparator and DecimalSeparator (z is a count of milliseconds),
// with TimeAMString/TimePMString or "AM"/"PM" (any case) before or after them; with a marker the hour
// must be 1..12.
// A date and time is a date optionally followed by a time, or a time alone.
// The plain forms raise EConvertError "'%s' is not a valid date" (time; date and time) with the text.
TDateTime StrToDate(StringView s);
TDateTime StrToDate(StringView s, const TFormatSettings& settings);
bool TryStrToDate(StringView s, TDateTime& value);
bool TryStrToDate(StringView s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateDef(StringView s, TDateTime defaultValue);
TDateTime StrToDateDef(StringView s, TDateTime defaultValue, const TFormatSettings& settings);

TDateTime StrToTime(StringView s);
TDateTime StrToTime(StringView s, const TFormatSettings& settings);
bool TryStrToTime(StringView s, TDateTime& value);
bool TryStrToTime(StringView s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToTimeDef(StringView s, TDateTime defaultValue);
TDateTime StrToTimeDef(StringView s, TDateTime defaultValue, const TFormatSettings& settings);

TDateTime StrToDateTime(StringView s);
TDateTime StrToDateTime(StringView s, const TFormatSettings& settings);
bool TryStrToDateTime(StringView s, TDateTime& value);
bool TryStrToDateTime(StringView s, TDateTime& value, const TFormatSettings& settings);
TDateTime StrToDateTimeDef(StringView s, TDateTime defaultValue);
TDateTime StrToDateTimeDef(StringView s, TDateTime defaultValue, const TFormatSettings& settings);
