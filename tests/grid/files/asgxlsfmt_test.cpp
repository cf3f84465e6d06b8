// Tests of the spreadsheet number-format renderer, as one table under two locales.
#include <gtest/gtest.h>

#include "grid/files/asgxlsfmt.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

// Day 46037 is Thursday, 2026-01-15.
const double kDay = 46037;

struct FormatCase {
    const char* name;
    Variant value;
    const char16_t* format;
    const char16_t* us;
    const char16_t* comma;
};

TFormatSettings CommaLocale() {
    TFormatSettings settings = DefaultFormatSettings();
    settings.DecimalSeparator = u',';
    settings.ThousandSeparator = u'.';
    settings.DateSeparator = u'.';
    settings.ShortDateFormat = u"dd.MM.yyyy";
    settings.LongDateFormat = u"dddd, d. MMMM yyyy";
    settings.LongTimeFormat = u"HH:mm:ss";
    return settings;
}

TEST(XlsFormatTest, ValuesRenderThroughTheirFormatUnderEitherLocale) {
    const FormatCase cases[] = {
        {"grouped decimals", Variant(1234.5), u"#,##0.00", u"1,234.50", u"1.234,50"},
        {"negative section", Variant(-5.0), u"0;(0)", u"(5)", u"(5)"},
        {"one section keeps the sign", Variant(-5.0), u"0", u"-5", u"-5"},
        {"zero section", Variant(0.0), u"0;(0);\"zero\"", u"zero", u"zero"},
        {"percent", Variant(0.25), u"0%", u"25%", u"25%"},
        {"elapsed hours", Variant(1.5), u"[h]:mm", u"36:00", u"36:00"},
        {"elapsed seconds", Variant(1.0 / 24), u"[sssss]", u"03600", u"03600"},
        {"no condition holds", Variant(150.0), u"[<100]0;[>200]0", u"###################",
         u"###################"},
        {"a condition holds", Variant(250.0), u"[<100]0;[>200]0.0", u"250.0", u"250,0"},
        {"colour word", Variant(Integer(7)), u"[Red]0", u"7", u"7"},
        {"long date", Variant::FromDate(kDay), u"[$-F800]", u"Thursday, January 15, 2026",
         u"Thursday, 15. January 2026"},
        {"date codes", Variant(kDay + 0.4375), u"dd/mm/yyyy hh:mm", u"15/01/2026 10:30", u"15.01.2026 10:30"},
        {"twelve-hour clock", Variant(0.75), u"h:mm AM/PM", u"6:00 PM", u"6:00 PM"},
        {"twelve-hour clock after midnight", Variant(1.0 / 48), u"hh:mm AM/PM", u"12:30 AM", u"12:30 AM"},
        {"negative date", Variant::FromDate(-1), u"0", u"###################", u"###################"},
        {"general", Variant(1234.5), u"General", u"1234.5", u"1234,5"},
        {"unknown letters give the plain value", Variant(2.5), u"0.0 kg", u"2.5", u"2,5"},
        {"a date's plain value is its date", Variant::FromDate(kDay), u"0 kg", u"1/15/2026", u"15.01.2026"},
        {"currency bracket", Variant(12.5), u"[$\u20AC-407]#,##0.00", u"\u20AC12.50", u"\u20AC12,50"},
        {"escapes and padding", Variant(5.0), u"\\#0_)", u"#5 ", u"#5 "},
        {"text with a quoted unit", Variant(u"abc"), u"@\" kg\"", u"abc kg", u"abc kg"},
        {"text with unquoted letters", Variant(u"abc"), u"@ kg", u"abc", u"abc"},
        {"text under a number format", Variant(u"abc"), u"0.00", u"abc", u"abc"},
        {"text takes the fourth section", Variant(u"abc"), u"0;0;0;[Blue]<@>", u"<abc>", u"<abc>"},
        {"true", Variant(true), u"0.00", u"TRUE", u"TRUE"},
        {"empty format", Variant(1234.5), u"", u"1234.5", u"1234,5"},
        {"null", Variant::Null(), u"0", u"", u""},
    };
    const TFormatSettings saved = FormatSettings;
    for (bool comma : {false, true}) {
        FormatSettings = comma ? CommaLocale() : DefaultFormatSettings();
        for (const FormatCase& c : cases) {
            String result;
            XlsFormatValue(c.value, c.format, result);
            EXPECT_EQ(StringToUtf8(result), StringToUtf8(comma ? c.comma : c.us)) << c.name;
        }
    }
    FormatSettings = saved;
}

TEST(XlsFormatTest, TheFullFormReportsColoursAndCodesAndShiftsTo1904) {
    String result;
    bool hasDate = true;
    bool hasTime = true;
    TColor color = 12345;
    XlsFormatValueFull(Variant(7.0), u"[Red]0", false, result, nullptr, hasDate, hasTime, color);
    EXPECT_EQ(result, u"7");
    EXPECT_EQ(color, 0x0000FF);
    EXPECT_FALSE(hasDate);
    EXPECT_FALSE(hasTime);

    color = 12345;
    XlsFormatValueFull(Variant(u"text"), u"[Green]", false, result, nullptr, hasDate, hasTime, color);
    EXPECT_EQ(result, u"text");
    EXPECT_EQ(color, 0x008000);
    color = 12345;
    XlsFormatValueFull(Variant(u"text"), u"[Green]0", false, result, nullptr, hasDate, hasTime, color);
    EXPECT_EQ(color, 12345) << "a colour word before a number mask leaves text uncoloured";

    XlsFormatValueFull(Variant(kDay + 0.5), u"yyyy-mm-dd hh:mm", false, result, nullptr, hasDate, hasTime,
                       color);
    EXPECT_EQ(result, u"2026-01-15 12:00");
    EXPECT_TRUE(hasDate);
    EXPECT_TRUE(hasTime);

    // The 1904 system counts 1462 days fewer to the same day.
    XlsFormatValueFull(Variant(kDay - 1462), u"yyyy-mm-dd", true, result, nullptr, hasDate, hasTime, color);
    EXPECT_EQ(result, u"2026-01-15");
    EXPECT_FALSE(hasTime);

    // Given settings format the date codes; digit masks keep the current locale's separators.
    const TFormatSettings comma = CommaLocale();
    XlsFormatValueFull(Variant(kDay), u"dd/mm/yyyy", false, result, &comma, hasDate, hasTime, color);
    EXPECT_EQ(result, u"15.01.2026");
    XlsFormatValueFull(Variant(2.5), u"0.0", false, result, &comma, hasDate, hasTime, color);
    EXPECT_EQ(result, u"2.5");
}

} // namespace
