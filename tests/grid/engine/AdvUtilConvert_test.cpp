// Tests of the grid's number and date utilities under the English locale and under a locale with ','
// as decimal separator and a day-first short date.
#include <gtest/gtest.h>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

// A day-first locale with ',' for decimals and '.' for thousands and dates.
void UseGermanStyleSettings() {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    FormatSettings.DateSeparator = u'.';
    FormatSettings.ShortDateFormat = u"dd.MM.yyyy";
}

TEST(AdvUtilConvertTest, LocaleAccessorsFollowTheCurrentSettings) {
    EXPECT_EQ(GetDecimalSeparator(), u'.');
    EXPECT_EQ(GetThousandSeparator(), u',');
    EXPECT_EQ(GetDateSeparator(), u'/');
    EXPECT_EQ(GetTimeSeparator(), u':');
    EXPECT_EQ(GetShortDateFormat(), u"M/d/yyyy");
    UseGermanStyleSettings();
    FormatSettings.TimeSeparator = u'.';
    EXPECT_EQ(GetDecimalSeparator(), u',');
    EXPECT_EQ(GetThousandSeparator(), u'.');
    EXPECT_EQ(GetDateSeparator(), u'.');
    EXPECT_EQ(GetTimeSeparator(), u'.');
    EXPECT_EQ(GetShortDateFormat(), u"dd.MM.yyyy");
}

struct KindCase {
    const Char* text;
    Integer kind;
};

void ExpectNumberKinds(const std::vector<KindCase>& cases) {
    for (const KindCase& c : cases)
        EXPECT_EQ(NumberTextKind(c.text), c.kind) << StringToUtf8(c.text);
}

// Any number characters count as digits; a single thousand separator has no spacing rule; a thousand
// separator rules the exponent form out.
TEST(AdvUtilConvertTest, NumberTextKindEnglish) {
    ExpectNumberKinds({
        {u"123", NumberKindInteger},     {u"-123", NumberKindInteger},
        {u"-", NumberKindInteger},       {u"\u00b2\u0663", NumberKindInteger},
        {u"12-3", NumberKindNone},       {u"--1", NumberKindNone},
        {u"1,234.5", NumberKindDecimal}, {u"1,234,567", NumberKindDecimal},
        {u"1,23", NumberKindDecimal},    {u"1,23,4", NumberKindNone},
        {u".5", NumberKindDecimal},      {u"1.5.5", NumberKindNone},
        {u"1e5", NumberKindExponent},    {u"-1.5e-3", NumberKindExponent},
        {u"1.5E+3", NumberKindExponent}, {u"1,5e3", NumberKindNone},
        {u"1e5e5", NumberKindNone},      {u"-1e-5-", NumberKindNone},
        {u"e5", NumberKindNone},         {u"1e", NumberKindNone},
        {u"1e+", NumberKindNone},        {u"+5", NumberKindNone},
        {u"12a", NumberKindNone},        {u"", NumberKindNone},
    });
}

TEST(AdvUtilConvertTest, NumberTextKindWithCommaDecimals) {
    UseGermanStyleSettings();
    ExpectNumberKinds({
        {u"1.234,5", NumberKindDecimal},
        {u"1,5", NumberKindDecimal},
        {u"1,5,5", NumberKindNone},
        {u"1.23.4", NumberKindNone},
        {u"1,5e3", NumberKindExponent},
        {u"1.5e3", NumberKindNone},
    });
}

TEST(AdvUtilConvertTest, CleanNumberText) {
    struct Case {
        const Char* text;
        const Char* clean;
    };
    const std::vector<Case> english = {
        {u"", u""},
        {u"   ", u""},
        {u"$1,234.50", u"1234.50"},
        {u" -$12.5 ", u"-12.5"},
        {u"(1,234)", u"-1234"},
        {u"+3e2x", u"3e2"},
        {u"12 kg", u"12"},
        {u"1.5e-3", u"1.5e-3"},
    };
    for (const Case& c : english)
        EXPECT_EQ(CleanNumberText(c.text), c.clean) << StringToUtf8(c.text);

    UseGermanStyleSettings();
    const std::vector<Case> german = {
        {u"\u20ac 1.234,50", u"1234.50"},
        {u"(1.234)", u"-1234"},
        {u"-0,5", u"-0.5"},
    };
    for (const Case& c : german)
        EXPECT_EQ(CleanNumberText(c.text), c.clean) << StringToUtf8(c.text);
}

struct DateCase {
    const Char* text;
    bool ok;
    TDateTime value;
};

void ExpectDates(const std::vector<DateCase>& cases) {
    for (const DateCase& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TDateTime value = -12345;
        EXPECT_EQ(ParseDateTimeText(c.text, value), c.ok);
        if (c.ok)
            EXPECT_DOUBLE_EQ(value, c.value);
        else
            EXPECT_EQ(value, -12345); // left alone
    }
}

TEST(AdvUtilConvertTest, ParseDateTimeTextDayFirst) {
    FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
    ExpectDates({
        {u"31/12/2020 23:59:59", true, EncodeDate(2020, 12, 31) + EncodeTime(23, 59, 59, 0)},
        {u"31/12/2020 23:59", true, EncodeDate(2020, 12, 31) + EncodeTime(23, 59, 0, 0)},
        {u"31/12/2020", true, EncodeDate(2020, 12, 31)},
        {u" 1/ 2/2020  ", true, EncodeDate(2020, 2, 1)},
        {u"1/2/3", true, EncodeDate(3, 2, 1)}, // the year as written
        {u"31/12/2020 23", false, 0},
        {u"31/12/2020 24:00", false, 0},
        {u"31/12/2020 23:60", false, 0},
        {u"31/12/2020 1:2:3:4", false, 0},
        {u"32/01/2020", false, 0},
        {u"01/13/2020", false, 0},
        {u"29/02/2021", false, 0},
        {u"29/02/2020", true, EncodeDate(2020, 2, 29)},
        {u"0/1/2020", false, 0},
        {u"1/1/0", false, 0},
        {u"1/1/99999", false, 0},
        {u"1/1", false, 0},
        {u"a/1/2020", false, 0},
        {u"1/1/2020x", false, 0},
        {u"", false, 0},
    });
}

TEST(AdvUtilConvertTest, ParseDateTimeTextFollowsTheLocale) {
    // The English default: month first.
    ExpectDates({
        {u"12/31/2020", true, EncodeDate(2020, 12, 31)},
        {u"31/12/2020", false, 0},
    });
    UseGermanStyleSettings();
    ExpectDates({
        {u"31.12.2020 08:15", true, EncodeDate(2020, 12, 31) + EncodeTime(8, 15, 0, 0)},
        {u"12/31/2020", false, 0},
    });
    FormatSettings.ShortDateFormat = u"yyyy.MM.dd";
    ExpectDates({{u"2020.12.31", true, EncodeDate(2020, 12, 31)}});
}

TEST(AdvUtilConvertTest, LooksLikeDate) {
    EXPECT_TRUE(LooksLikeDate(u"1/2/3"));
    EXPECT_TRUE(LooksLikeDate(u"12/31/2020"));
    EXPECT_FALSE(LooksLikeDate(u"/1/2"));
    EXPECT_FALSE(LooksLikeDate(u"1//2"));
    EXPECT_FALSE(LooksLikeDate(u"12/2020"));
    EXPECT_FALSE(LooksLikeDate(u"1.2.3"));
    UseGermanStyleSettings();
    EXPECT_TRUE(LooksLikeDate(u"1.2.3"));
    EXPECT_FALSE(LooksLikeDate(u"1/2/3"));
}

TEST(AdvUtilConvertTest, TwoDigitYearDates) {
    struct Case {
        const Char* text;
        TDateTime mdy;
        TDateTime dmy;
    };
    const std::vector<Case> cases = {
        {u"12/11/99", EncodeDate(1999, 12, 11), EncodeDate(1999, 11, 12)},
        {u"1.2.25", EncodeDate(2025, 1, 2), EncodeDate(2025, 2, 1)},
        {u"1-2-26", EncodeDate(1926, 1, 2), EncodeDate(1926, 2, 1)},
        {u"1/2/0", EncodeDate(2000, 1, 2), EncodeDate(2000, 2, 1)},
        // A year written in full is kept.
        {u"01/02/2024", EncodeDate(2024, 1, 2), EncodeDate(2024, 2, 1)},
        {u"3/4/1925", EncodeDate(1925, 3, 4), EncodeDate(1925, 4, 3)},
        {u"1/2-3", 0, 0}, // the second separator must be the first one's character
        {u"1/2", 0, 0},
        {u"12", 0, 0},
        {u"a/2/3", 0, 0},
        {u"1/2/", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        EXPECT_EQ(ParseDateMDY(c.text), c.mdy);
        EXPECT_EQ(ParseDateDMY(c.text), c.dmy);
    }
    EXPECT_EQ(ParseDateMDY(u"12/31/99"), EncodeDate(1999, 12, 31));
    // A date the calendar lacks is the framework's conversion error, for the caller to handle.
    EXPECT_THROW(ParseDateMDY(u"2/30/21"), EConvertError);
    EXPECT_THROW(ParseDateDMY(u"1/13/21"), EConvertError);
    EXPECT_THROW(ParseDateDMY(u"1/1/-200000"), EConvertError);
}

TEST(AdvUtilConvertTest, IncDateParts) {
    const TDateTime date = EncodeDate(2024, 1, 31);
    EXPECT_EQ(IncDateParts(0, 0, 3, 99, date), EncodeDate(2024, 2, 3));
    EXPECT_EQ(IncDateParts(0, 0, -31, 99, date), EncodeDate(2023, 12, 31));
    EXPECT_EQ(IncDateParts(2, 0, 0, 99, date), EncodeDate(2026, 1, 31));
    EXPECT_EQ(IncDateParts(-1, 0, 0, 99, EncodeDate(2024, 5, 6)), EncodeDate(2023, 5, 6));
    EXPECT_EQ(IncDateParts(0, -1, 0, 99, date), EncodeDate(2023, 12, 31));
    EXPECT_EQ(IncDateParts(0, 11, 0, 99, EncodeDate(2024, 3, 15)), EncodeDate(2025, 2, 15));
    EXPECT_EQ(IncDateParts(0, 1, 0, 99, EncodeDate(2024, 12, 1)), EncodeDate(2025, 1, 1));
    // Any other combination moves by the plain delta.
    EXPECT_EQ(IncDateParts(1, 1, 0, 1.5, date), date + 1.5);
    EXPECT_EQ(IncDateParts(0, 0, 0, -2, date), date - 2);
    // The time of day stays when years or months move the date.
    EXPECT_DOUBLE_EQ(IncDateParts(0, 2, 0, 0, EncodeDate(2024, 1, 15) + 0.25),
                     EncodeDate(2024, 3, 15) + 0.25);
    EXPECT_DOUBLE_EQ(IncDateParts(1, 0, 0, 0, EncodeDate(1899, 12, 1) - 0.75),
                     EncodeDate(1900, 12, 1) + 0.75);
    EXPECT_DOUBLE_EQ(IncDateParts(-1, 0, 0, 0, EncodeDate(1900, 12, 1) + 0.75),
                     EncodeDate(1899, 12, 1) - 0.75);

    EXPECT_THROW(IncDateParts(0, 1, 0, 0, date), EConvertError); // 31 February
    EXPECT_THROW(IncDateParts(1, 0, 0, 0, EncodeDate(2024, 2, 29)), EConvertError);
    EXPECT_THROW(IncDateParts(0, 25, 0, 0, date), EConvertError); // more than one wrap
    EXPECT_THROW(IncDateParts(0, -2, 0, 0, date), EConvertError);
    EXPECT_THROW(IncDateParts(-3000, 0, 0, 0, date), EConvertError);
}

} // namespace
