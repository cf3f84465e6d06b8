// Tests of Format: every conversion type, width, precision, index and '*', the separators of the
// settings, and the errors for bad patterns and arguments.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

struct FormatCase {
    const char* name;
    const Char* pattern;
    std::vector<TVarRec> args;
    const Char* expected;
};

String FormatCaseText(const FormatCase& c) {
    return Format(c.pattern, std::span<const TVarRec>(c.args), FormatSettings);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TEST(FormatTest, ConvertsEachTypeAsTheFrameworkDoes) {
    const std::vector<FormatCase> cases = {
        {"plain text", u"no conversions", {}, u"no conversions"},
        {"percent", u"100%%", {}, u"100%"},
        {"d", u"%d", {42}, u"42"},
        {"d negative", u"%d", {-42}, u"-42"},
        {"d Integer minimum", u"%d", {std::numeric_limits<Integer>::min()}, u"-2147483648"},
        {"d Int64 extremes",
         u"%d %d",
         {std::numeric_limits<Int64>::max(), std::numeric_limits<Int64>::min()},
         u"9223372036854775807 -9223372036854775808"},
        {"d precision pads zeros after the sign", u"%.5d", {-12}, u"-00012"},
        {"d precision shorter than the number", u"%.1d", {1234}, u"1234"},
        {"d width", u"[%5d]", {42}, u"[   42]"},
        {"d left justified", u"[%-5d]", {42}, u"[42   ]"},
        {"d width and precision", u"[%6.3d]", {7}, u"[   007]"},
        {"u of a negative Integer is 32-bit", u"%u", {-1}, u"4294967295"},
        {"u of a negative Int64 is 64-bit", u"%u", {Int64(-1)}, u"18446744073709551615"},
        {"u of an unsigned", u"%u", {4000000000u}, u"4000000000"},
        {"x upper case", u"%x", {255}, u"FF"},
        {"X", u"%X", {48879}, u"BEEF"},
        {"x of a negative Integer", u"%x", {-1}, u"FFFFFFFF"},
        {"x of a negative Int64", u"%x", {Int64(-2)}, u"FFFFFFFFFFFFFFFE"},
        {"x precision", u"%.4x", {255}, u"00FF"},
        {"e default", u"%e", {1000.0}, u"1.00000000000000E+003"},
        {"e precision is significant digits", u"%.3e", {-0.000123456}, u"-1.23E-004"},
        {"e of zero", u"%.4e", {0.0}, u"0.000E+000"},
        {"e large exponent", u"%.2e", {1.5e300}, u"1.5E+300"},
        {"f default two decimals", u"%f", {3.14159}, u"3.14"},
        {"f precision", u"%.4f", {-2.5}, u"-2.5000"},
        {"f no decimals", u"%.0f", {1234.5}, u"1235"},
        {"f halves away from zero", u"%.1f %.1f %.0f", {0.25, -0.25, 0.5}, u"0.3 -0.3 1"},
        {"f rounds the binary value", u"%.2f", {1.005}, u"1.00"},
        {"f negative rounding to zero has no sign", u"%f", {-0.001}, u"0.00"},
        {"f width", u"[%8.3f]", {3.14159}, u"[   3.142]"},
        {"f float argument", u"%.1f", {1.25f}, u"1.3"},
        {"f too many integer digits", u"%f", {1e20}, u"1E20"},
        {"g shortest", u"%g", {0.1}, u"0.1"},
        {"g precision", u"%.3g", {3.14159}, u"3.14"},
        {"g whole", u"%g", {100.0}, u"100"},
        {"g small exponent", u"%g", {1e-5}, u"1E-005"},
        {"g large exponent", u"%g", {1e20}, u"1E020"},
        {"n thousands", u"%n", {1234567.891}, u"1,234,567.89"},
        {"n negative", u"%.0n", {-1234.5}, u"-1,235"},
        {"n below a thousand", u"%n", {0.5}, u"0.50"},
        {"m positive", u"%m", {1234.5}, u"$1,234.50"},
        {"m negative", u"%m", {-1234.5}, u"($1,234.50)"},
        {"m precision", u"%.0m", {2.5}, u"$3"},
        {"p null", u"%p", {nullptr}, u"0000000000000000"},
        {"p", u"%p", {reinterpret_cast<const void*>(std::uintptr_t(0xBEEF))}, u"000000000000BEEF"},
        {"s", u"%s", {u"abc"}, u"abc"},
        {"s empty", u"[%s]", {u""}, u"[]"},
        {"s String", u"%s", {String(u"x\u00e9")}, u"x\u00e9"},
        {"s precision truncates", u"%.2s", {u"abcdef"}, u"ab"},
        {"s precision longer", u"%.9s", {u"abc"}, u"abc"},
        {"s width", u"[%5s][%-5s]", {u"ab", u"cd"}, u"[   ab][cd   ]"},
        {"s width shorter than text", u"[%2s]", {u"abcd"}, u"[abcd]"},
        {"s Char", u"%s", {Char(u'\u20ac')}, u"\u20ac"},
        {"s AnsiChar", u"%s%s", {'A', '\x80'}, u"A\u20ac"},
        {"upper and lower type letters", u"%S %D", {u"a", 1}, u"a 1"},
        {"several", u"a%sb%dc", {u"-", 2}, u"a-b2c"},
        {"index", u"%1:s %0:s", {u"a", u"b"}, u"b a"},
        {"index then next", u"%1:s %0:s %s", {u"a", u"b"}, u"b a b"},
        {"index repeated", u"%0:s%0:s", {u"a"}, u"aa"},
        {"index with width", u"[%1:3d]", {1, 2}, u"[  2]"},
        {"star width", u"[%*d]", {5, 1}, u"[    1]"},
        {"star width left justified", u"[%-*d]", {3, 1}, u"[1  ]"},
        {"star precision", u"%.*f", {3, 2.5}, u"2.500"},
        {"star width and precision", u"[%*.*f]", {8, 2, 3.14159}, u"[    3.14]"},
        {"negative star width pads nothing", u"[%*d]", {-5, 1}, u"[1]"},
        {"negative star precision is the default",
         u"%.*f|%.*s|%.*d",
         {-1, 2.5, -1, u"abc", -3, 7},
         u"2.50|abc|7"},
        {"NaN", u"%f", {kNaN}, u"NAN"},
        {"infinities", u"[%5.1f] %e", {kInf, -kInf}, u"[  INF] -INF"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StringToUtf8(FormatCaseText(c)), StringToUtf8(c.expected));
    }
}

TEST(FormatTest, UsesTheSeparatorsAndCurrencyOfTheSettings) {
    TFormatSettings german = DefaultFormatSettings();
    german.DecimalSeparator = u',';
    german.ThousandSeparator = u'.';
    german.CurrencyString = u"\u20ac";
    german.CurrencyFormat = 3;
    german.NegCurrFormat = 8;
    const String expected = u"1.234.567,89|1,23E+003|0,1|3,14|1.234,50 \u20ac|-1.234,50 \u20ac";
    const Char* pattern = u"%n|%.3e|%g|%f|%m|%m";
    const std::initializer_list<TVarRec> args = {1234567.891, 1234.5, 0.1, 3.14159, 1234.5, -1234.5};

    EXPECT_EQ(Format(pattern, args, german), expected);
    // Without settings of its own Format reads the global ones.
    EXPECT_EQ(Format(pattern, args), u"1,234,567.89|1.23E+003|0.1|3.14|$1,234.50|($1,234.50)");
    FormatSettings = german;
    EXPECT_EQ(Format(pattern, args), expected);
}

TEST(FormatTest, PlacesTheCurrencySymbolByTheCurrencyFormats) {
    const Char* positive[] = {u"$1.50", u"1.50$", u"$ 1.50", u"1.50 $"};
    for (Byte format = 0; format < 4; ++format) {
        TFormatSettings settings = DefaultFormatSettings();
        settings.CurrencyFormat = format;
        EXPECT_EQ(Format(u"%m", {1.5}, settings), positive[format]) << "CurrencyFormat " << int(format);
    }
    const Char* negative[] = {u"($1.50)", u"-$1.50",  u"$-1.50",   u"$1.50-",  u"(1.50$)", u"-1.50$",
                              u"1.50-$",  u"1.50$-",  u"-1.50 $",  u"-$ 1.50", u"1.50 $-", u"$ 1.50-",
                              u"$ -1.50", u"1.50- $", u"($ 1.50)", u"(1.50 $)"};
    for (Byte format = 0; format < 16; ++format) {
        TFormatSettings settings = DefaultFormatSettings();
        settings.NegCurrFormat = format;
        EXPECT_EQ(Format(u"%m", {-1.5}, settings), negative[format]) << "NegCurrFormat " << int(format);
    }
}

struct ErrorCase {
    const char* name;
    const Char* pattern;
    std::vector<TVarRec> args;
    const Char* message; // a Consts text, formatted with the pattern
};

TEST(FormatTest, RejectsBadPatternsAndArguments) {
    const std::vector<ErrorCase> cases = {
        {"real for d", u"%d", {1.5}, Consts::SInvalidFormat},
        {"integer for f", u"%f", {1}, Consts::SInvalidFormat},
        {"integer for s", u"%s", {1}, Consts::SInvalidFormat},
        {"string for d", u"%d", {u"1"}, Consts::SInvalidFormat},
        {"string for x", u"%x", {u"1"}, Consts::SInvalidFormat},
        {"boolean for d", u"%d", {true}, Consts::SInvalidFormat},
        {"boolean for s", u"%s", {false}, Consts::SInvalidFormat},
        {"pointer for d", u"%d", {nullptr}, Consts::SInvalidFormat},
        {"integer for p", u"%p", {1}, Consts::SInvalidFormat},
        {"Char for d", u"%d", {Char(u'a')}, Consts::SInvalidFormat},
        {"unknown type", u"%k", {1}, Consts::SInvalidFormat},
        {"percent at the end", u"abc%", {1}, Consts::SInvalidFormat},
        {"no type after width", u"%5", {1}, Consts::SInvalidFormat},
        {"real for star", u"%*d", {1.5, 2}, Consts::SInvalidFormat},
        {"Int64 for star", u"%*d", {Int64(3), 2}, Consts::SInvalidFormat},
        {"width beyond Integer", u"%99999999999d", {1}, Consts::SInvalidFormat},
        {"no arguments", u"%d", {}, Consts::SArgumentMissing},
        {"too few arguments", u"%d %d", {1}, Consts::SArgumentMissing},
        {"index past the arguments", u"%2:d", {1, 2}, Consts::SArgumentMissing},
        {"star without its value", u"%*d", {5}, Consts::SArgumentMissing},
        {"after an index", u"%1:d %d", {1, 2}, Consts::SArgumentMissing},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Format(c.pattern, std::span<const TVarRec>(c.args), FormatSettings);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), Format(c.message, {c.pattern}));
        }
    }
}

TEST(FormatTest, PatternTextIsNeverInterpretedTwice) {
    // Arguments that look like patterns are copied as text.
    EXPECT_EQ(Format(u"%s|%s", {u"%d%s%n", u"%%"}), u"%d%s%n|%%");
    EXPECT_EQ(Format(u"%5s", {u"%"}), u"    %");
}

} // namespace
