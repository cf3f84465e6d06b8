// Tests of the conversions between numbers, booleans and text, and of the rounding helpers.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kMax = std::numeric_limits<double>::max();

String Utf16(const char* ascii) {
    return ToString(ascii);
}

// Runs call and returns the message of the EConvertError it raises.
template <typename Call> String ConvertErrorOf(Call call) {
    try {
        call();
    } catch (const EConvertError& e) {
        return e.Message();
    }
    return u"(no exception)";
}

TEST(ConvertTest, IntegersToText) {
    EXPECT_EQ(IntToStr(0), u"0");
    EXPECT_EQ(IntToStr(-1), u"-1");
    EXPECT_EQ(IntToStr(std::numeric_limits<Integer>::min()), u"-2147483648");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::min()), u"-9223372036854775808");
    EXPECT_EQ(IntToStr(std::numeric_limits<Int64>::max()), u"9223372036854775807");
    EXPECT_EQ(IntToStr(std::numeric_limits<Cardinal>::max()), u"4294967295");
    EXPECT_EQ(IntToStr(std::numeric_limits<UInt64>::max()), u"18446744073709551615");

    EXPECT_EQ(IntToHex(255, 4), u"00FF");
    EXPECT_EQ(IntToHex(0, 0), u"0");
    EXPECT_EQ(IntToHex(0xABCDEF, 2), u"ABCDEF");
    EXPECT_EQ(IntToHex(-1, 2), u"FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 2), u"FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(0x123456789), 12), u"000123456789");
    EXPECT_EQ(IntToHex(Cardinal(0xFFFFFFFE), 1), u"FFFFFFFE");
}

struct IntegerCase {
    const char* text;
    bool valid;
    Int64 value;
};

TEST(ConvertTest, TextToInteger) {
    const std::vector<IntegerCase> cases = {
        {"0", true, 0},
        {"007", true, 7},
        {"  12", true, 12},
        {"+7", true, 7},
        {"-2147483648", true, std::numeric_limits<Integer>::min()},
        {"2147483647", true, std::numeric_limits<Integer>::max()},
        {"$FF", true, 255},
        {"$ff", true, 255},
        {"0x1f", true, 31},
        {"0X1F", true, 31},
        {"x10", true, 16},
        {"-$10", true, -16},
        {"$FFFFFFFF", true, -1}, // hex fills every bit
        {"$80000000", true, std::numeric_limits<Integer>::min()},
        {"", false, 0},
        {"   ", false, 0},
        {"12 ", false, 0}, // no trailing blanks
        {"\t12", false, 0},
        {"12x", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999999", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"$100000000", false, 0},
        {"$G", false, 0},
        {"--1", false, 0},
        {"- 1", false, 0},
        {"+", false, 0},
        {"1,000", false, 0},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(c.text);
        const String text = Utf16(c.text);
        Integer value = 12345;
        EXPECT_EQ(TryStrToInt(text, value), c.valid);
        if (c.valid) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(StrToInt(text), c.value);
        } else {
            EXPECT_EQ(StrToIntDef(text, -7), -7);
            EXPECT_EQ(ConvertErrorOf([&] { StrToInt(text); }), Format(Consts::SInvalidInteger, {text}));
        }
    }
    // Digits of other scripts are not digits here.
    EXPECT_EQ(StrToIntDef(u"\u0661\u0662", -1), -1);
    EXPECT_EQ(StrToIntDef(u"\uff11", -1), -1);
}

TEST(ConvertTest, TextToInt64) {
    const std::vector<IntegerCase> cases = {
        {"9223372036854775807", true, std::numeric_limits<Int64>::max()},
        {"-9223372036854775808", true, std::numeric_limits<Int64>::min()},
        {"4294967296", true, 4294967296LL},
        {" -$10", true, -16},
        {"$FFFFFFFF", true, 0xFFFFFFFFLL},
        {"$FFFFFFFFFFFFFFFF", true, -1},
        {"9223372036854775808", false, 0},
        {"-9223372036854775809", false, 0},
        {"$10000000000000000", false, 0},
        {"", false, 0},
        {"1 ", false, 0},
    };
    for (const IntegerCase& c : cases) {
        SCOPED_TRACE(c.text);
        const String text = Utf16(c.text);
        Int64 value = 12345;
        EXPECT_EQ(TryStrToInt64(text, value), c.valid);
        if (c.valid) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(StrToInt64(text), c.value);
        } else {
            EXPECT_EQ(StrToInt64Def(text, -7), -7);
            EXPECT_EQ(ConvertErrorOf([&] { StrToInt64(text); }), Format(Consts::SInvalidInteger, {text}));
        }
    }
}

struct FloatTextCase {
    double value;
    const Char* text;
};

TEST(ConvertTest, FloatToStrWritesTheShortestForm) {
    const std::vector<FloatTextCase> cases = {
        {0.0, u"0"},
        {-0.0, u"0"},
        {1.0, u"1"},
        {100.0, u"100"},
        {-2.5, u"-2.5"},
        {0.1, u"0.1"},
        {0.1 + 0.2, u"0.3"},
        {1.0 / 3, u"0.333333333333333"},
        {2.0 / 3, u"0.666666666666667"},
        {123.456, u"123.456"},
        {1e14, u"100000000000000"},
        {1e15, u"1E15"},
        {999999999999999.9, u"1E15"}, // rounding to 15 digits adds an integer digit
        {123456789012345678.0, u"1.23456789012346E17"},
        {-1e300, u"-1E300"},
        {0.0001, u"0.0001"},
        {0.00012345, u"0.00012345"},
        {1e-5, u"1E-5"},
        {-1.5e-7, u"-1.5E-7"},
        {kMax, u"1.79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), u"4.94065645841247E-324"},
        {kNaN, u"NAN"},
        {kInf, u"INF"},
        {-kInf, u"-INF"},
    };
    for (const FloatTextCase& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        EXPECT_EQ(FloatToStr(c.value), c.text);
    }
}

TEST(ConvertTest, FloatToStrUsesTheDecimalSeparatorOfTheSettings) {
    TFormatSettings comma = DefaultFormatSettings();
    comma.DecimalSeparator = u',';
    EXPECT_EQ(FloatToStr(-1234.5, comma), u"-1234,5");
    EXPECT_EQ(FloatToStr(1.5e-7, comma), u"1,5E-7");
    EXPECT_EQ(FloatToStr(1234.5), u"1234.5");
    FormatSettings = comma;
    EXPECT_EQ(FloatToStr(0.25), u"0,25");
}

struct FloatFormatCase {
    double value;
    TFloatFormat format;
    Integer precision;
    Integer digits;
    const Char* text;
};

TEST(ConvertTest, FloatToStrFFormats) {
    const std::vector<FloatFormatCase> cases = {
        {1234.5678, ffFixed, 15, 2, u"1234.57"},
        {0.125, ffFixed, 15, 2, u"0.13"}, // a tie rounds away from zero
        {-0.125, ffFixed, 15, 2, u"-0.13"},
        {2.5, ffFixed, 15, 0, u"3"},
        {1.005, ffFixed, 15, 2, u"1.00"}, // 1.005 is stored as 1.00499999...
        {0.05, ffFixed, 15, 1, u"0.1"},
        {9.995, ffFixed, 15, 2, u"9.99"},
        {9.9951, ffFixed, 15, 2, u"10.00"},
        {-0.001, ffFixed, 15, 2, u"0.00"},
        {0.0, ffFixed, 15, 3, u"0.000"},
        {123.456, ffFixed, 4, 2, u"123.50"}, // precision limits the significant digits
        {1e20, ffFixed, 15, 2, u"1E20"},     // more integer digits than the precision
        {123456789012345678.0, ffFixed, 18, 18, u"123456789012345680.000000000000000000"},
        {1234567.891, ffNumber, 15, 2, u"1,234,567.89"},
        {-999.999, ffNumber, 15, 2, u"-1,000.00"},
        {123.0, ffNumber, 15, 0, u"123"},
        {1234.5, ffCurrency, 15, 2, u"$1,234.50"},
        {-1234.5, ffCurrency, 15, 2, u"($1,234.50)"},
        {-0.001, ffCurrency, 15, 2, u"$0.00"},
        {1000.0, ffExponent, 15, 3, u"1.00000000000000E+003"},
        {0.000123456, ffExponent, 4, 2, u"1.235E-04"},
        {12345.0, ffExponent, 3, 0, u"1.23E+4"},
        {0.0, ffExponent, 3, 1, u"0.00E+0"},
        {99999.0, ffExponent, 2, 3, u"1.0E+005"},
        {1e20, ffGeneral, 15, 3, u"1E020"},
        {12345.678, ffGeneral, 4, 0, u"1.235E4"},
        {99.95, ffGeneral, 3, 0, u"100"}, // 99.95 is stored as 99.9500000...03
        {0.5, ffGeneral, 1, 0, u"0.5"},
        {0.1, ffGeneral, 30, 0, u"0.100000000000000006"}, // at most 18 digits
        {kNaN, ffFixed, 15, 2, u"NAN"},
        {-kInf, ffCurrency, 15, 2, u"-INF"},
    };
    for (const FloatFormatCase& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.text);
    }
    TFormatSettings comma = DefaultFormatSettings();
    comma.DecimalSeparator = u',';
    comma.ThousandSeparator = u'.';
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2, comma), u"1.234.567,89");
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 5, 2, comma), u"1,2345E+03");
    comma.ThousandSeparator = 0; // no separator at all
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 1, comma), u"1234567,9");
}

struct FormatFloatCase {
    const Char* format;
    double value;
    const Char* text;
};

TEST(ConvertTest, FormatFloatMasks) {
    const std::vector<FormatFloatCase> cases = {
        {u"#,##0.00", 1234.5, u"1,234.50"},
        {u"#,##0.00", -1234567.891, u"-1,234,567.89"},
        {u"#,##0", 999.5, u"1,000"},
        {u"0.00", 0.125, u"0.13"}, // halves away from zero
        {u"0.##", 2.5, u"2.5"},
        {u"#.##", 0.5, u".5"},
        {u"#.##", 3.0, u"3"}, // no separator without decimals
        {u"#", 0.0, u""},
        {u"000", 7.0, u"007"},
        {u"0#", 5.0, u"05"},
        {u"00", 12345.0, u"12345"}, // the first place takes the extra digits
        {u"0.0##", 1.23456, u"1.235"},
        {u"0.0##", 1.2, u"1.2"},
        {u"0%", 25.0, u"25%"},
        {u"0 \"kg\"", 3.0, u"3 kg"},
        {u"'#'0", 4.0, u"#4"},
        {u"(0)", -5.0, u"-(5)"},
        {u"0;(0)", -5.0, u"(5)"},
        {u"0;(0);\"zero\"", 0.0, u"zero"},
        {u"0.0;(0.0);\"zero\"", -0.04, u"zero"}, // rounds to zero
        {u"0.0", -0.04, u"0.0"},                 // no sign on a zero
        {u"0;;\"zero\"", -3.0, u"-3"},           // an empty section falls back to the first
        {u"0.00E+00", 1234.5, u"1.23E+03"},
        {u"0.00E+00", 0.00012345, u"1.23E-04"},
        {u"00.0E-0", 1234.5, u"12.3E2"},
        {u"0.0E+0", 0.0, u"0.0E+0"},
        {u"0.00", 1e20, u"1E20"},
        {u"", 1.5, u"1.5"},
    };
    for (const FormatFloatCase& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.format) + " " + StringToUtf8(c.text));
        EXPECT_EQ(FormatFloat(c.format, c.value), c.text);
    }
    TFormatSettings comma = DefaultFormatSettings();
    comma.DecimalSeparator = u',';
    comma.ThousandSeparator = u'.';
    EXPECT_EQ(FormatFloat(u"#,##0.00", 1234.5, comma), u"1.234,50");
}

struct ParseCase {
    const char* text;
    bool valid;
    double value;
};

TEST(ConvertTest, TextToFloat) {
    const std::vector<ParseCase> cases = {
        {"1.5", true, 1.5},
        {"  1.5  ", true, 1.5},
        {"-1.5", true, -1.5},
        {"+2", true, 2},
        {".5", true, 0.5},
        {"5.", true, 5},
        {"1e3", true, 1000},
        {"1E-3", true, 0.001},
        {"-1.5e+2", true, -150},
        {"007.25", true, 7.25},
        {"0.1", true, 0.1},
        {"1e-400", true, 0}, // too small reads as zero
        {"1.79769313486232E308", true, kMax},
        {"-1.79769313486232E308", true, -kMax},
        {"INF", true, kInf},
        {"-inf", true, -kInf},
        {"", false, 0},
        {"   ", false, 0},
        {".", false, 0},
        {"1,5", false, 0},
        {"1,000.5", false, 0},
        {"1 000", false, 0},
        {"1.5.2", false, 0},
        {"1e", false, 0},
        {"1e+", false, 0},
        {"e5", false, 0},
        {"1e5.5", false, 0},
        {"abc", false, 0},
        {"1.5x", false, 0},
        {"--1", false, 0},
        {"0x10", false, 0},
        {"1e400", false, 0},
        {"1.8e308", false, 0},
        {"1.79769313486233E308", false, 0},
        {"infinity", false, 0},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        const String text = Utf16(c.text);
        double value = 12345;
        EXPECT_EQ(TryStrToFloat(text, value), c.valid);
        if (c.valid) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(StrToFloat(text), c.value);
        } else {
            EXPECT_EQ(StrToFloatDef(text, -7.5), -7.5);
            EXPECT_EQ(ConvertErrorOf([&] { StrToFloat(text); }), Format(Consts::SInvalidFloat, {text}));
        }
    }
    EXPECT_TRUE(std::isnan(StrToFloat(u"NAN")));
    // A long text is read exactly as a short one.
    EXPECT_EQ(StrToFloat(u"0." + String(100, u'0') + u"1e101"), 1.0);
}

TEST(ConvertTest, TextToFloatUsesTheDecimalSeparatorOfTheSettings) {
    TFormatSettings comma = DefaultFormatSettings();
    comma.DecimalSeparator = u',';
    EXPECT_EQ(StrToFloat(u"1,5", comma), 1.5);
    EXPECT_EQ(StrToFloatDef(u"1.5", -1, comma), -1);
    EXPECT_EQ(StrToFloat(u"1.5"), 1.5);
    FormatSettings = comma;
    EXPECT_EQ(StrToFloat(u"-2,25E1"), -22.5);
    EXPECT_EQ(StrToFloatDef(u"2.25", -1), -1);
}

// A spread of doubles over the whole range, from fixed bit patterns.
std::vector<double> SampleDoubles() {
    std::vector<double> values = {0.1,
                                  0.2,
                                  0.3,
                                  1.0 / 3,
                                  2.0 / 3,
                                  1e15,
                                  1e16,
                                  999999999999999.4,
                                  0.0001,
                                  0.00009999999999999999,
                                  123456.789,
                                  5e-324,
                                  2.2250738585072014e-308,
                                  kMax,
                                  -kMax,
                                  9007199254740993.0,
                                  0.1 + 0.2,
                                  4.35,
                                  1e-5,
                                  1e23};
    UInt64 state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 2000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double value;
        std::memcpy(&value, &state, sizeof value);
        if (std::isfinite(value))
            values.push_back(value);
    }
    return values;
}

TEST(ConvertTest, FloatToStrReadsBackWithinFifteenDigits) {
    TFormatSettings comma = DefaultFormatSettings();
    comma.DecimalSeparator = u',';
    for (const TFormatSettings& settings : {DefaultFormatSettings(), comma}) {
        for (double value : SampleDoubles()) {
            const String text = FloatToStr(value, settings);
            double back = 0;
            ASSERT_TRUE(TryStrToFloat(text, back, settings)) << StringToUtf8(text);
            // Equal within 15 significant digits: it writes the same text again.
            EXPECT_EQ(FloatToStr(back, settings), text) << StringToUtf8(text);
            EXPECT_LE(std::fabs(back - value), std::fabs(value) * 5e-15) << StringToUtf8(text);
        }
    }
    for (double special : {kNaN, kInf, -kInf}) {
        const double back = StrToFloat(FloatToStr(special));
        EXPECT_EQ(FloatToStr(back), FloatToStr(special));
    }
}

TEST(ConvertTest, Booleans) {
    EXPECT_EQ(BoolToStr(true), u"-1");
    EXPECT_EQ(BoolToStr(false), u"0");
    EXPECT_EQ(BoolToStr(true, true), u"True");
    EXPECT_EQ(BoolToStr(false, true), u"False");

    const std::vector<std::pair<const char*, bool>> valid = {
        {"True", true}, {"true", true}, {"TRUE", true}, {"False", false}, {"fAlSe", false}, {"0", false},
        {"1", true},    {"-1", true},   {"2.5", true},  {"0.0", false},   {" 0 ", false},   {"1e3", true},
    };
    for (const auto& [text, expected] : valid) {
        SCOPED_TRACE(text);
        bool value = !expected;
        EXPECT_TRUE(TryStrToBool(Utf16(text), value));
        EXPECT_EQ(value, expected);
        EXPECT_EQ(StrToBool(Utf16(text)), expected);
    }
    for (const char* text : {"", "yes", "T", "Truex", " True", "NAN", "INF"}) {
        SCOPED_TRACE(text);
        bool value = false;
        EXPECT_FALSE(TryStrToBool(Utf16(text), value));
        EXPECT_TRUE(StrToBoolDef(Utf16(text), true));
        EXPECT_EQ(ConvertErrorOf([&] { StrToBool(Utf16(text)); }),
                  Format(Consts::SInvalidBoolean, {Utf16(text)}));
    }
    // Numbers follow the decimal separator of the settings.
    FormatSettings.DecimalSeparator = u',';
    EXPECT_TRUE(StrToBool(u"0,5"));
}

TEST(ConvertTest, ValReadsAPointNumberOrTheDigitsBeforeTheFirstMisfit) {
    struct Case {
        const char* text;
        double value;
        Integer code;
    };
    const Case cases[] = {
        {"12", 12, 0},        {"  -2.5", -2.5, 0}, {"+.5", 0.5, 0},  {"1e3", 1000, 0},
        {"1.5E-2", 0.015, 0}, {"7.", 7, 0},        {"12 kg", 12, 3}, {"kg", 0, 1},
        {"", 0, 1},           {"-", 0, 2},         {"1e", 1, 3},     {"1,5", 1, 2},
        {"1.2.3", 12, 4},     {"-7x", 7, 3},       {"12 ", 12, 3},   {"1e-999", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Extended value = -99;
        Integer code = -99;
        Val(Utf16(c.text), value, code);
        EXPECT_EQ(code, c.code);
        EXPECT_DOUBLE_EQ(value, c.value);
    }
    // The settings' decimal separator plays no part.
    FormatSettings.DecimalSeparator = u',';
    Extended value = 0;
    Integer code = 0;
    Val(u"2.25", value, code);
    EXPECT_EQ(code, 0);
    EXPECT_DOUBLE_EQ(value, 2.25);
    EXPECT_THROW(Val(u"1e999", value, code), EOverflow);
}

TEST(ConvertTest, RoundingToWholeNumbers) {
    const std::vector<std::pair<double, Int64>> rounds = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.6, 3},
        {-2.6, -3},
        {1000000000000000.5, 1000000000000000},
        {4503599627370497.0, 4503599627370497},
        {-9223372036854775808.0, std::numeric_limits<Int64>::min()},
    };
    for (const auto& [value, expected] : rounds)
        EXPECT_EQ(Round(value), expected) << value;

    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Int(-2.7), -2.0);
    EXPECT_EQ(Frac(-2.75), -0.75);
    EXPECT_EQ(Frac(2.75), 0.75);
    EXPECT_EQ(Ceil(1.2), 2);
    EXPECT_EQ(Ceil(-1.2), -1);
    EXPECT_EQ(Floor(-1.2), -2);
    EXPECT_EQ(Floor(1.0), 1);

    // Values without an integer counterpart are errors, never undefined conversions.
    for (double bad : {kNaN, kInf, -kInf, 9223372036854775808.0, -1e19}) {
        EXPECT_THROW(Round(bad), EInvalidOp) << bad;
        EXPECT_THROW(Trunc(bad), EInvalidOp) << bad;
    }
    EXPECT_THROW(Ceil(3e9), EInvalidOp);
    EXPECT_THROW(Floor(-2147483649.0), EInvalidOp);
    EXPECT_THROW(Floor(kNaN), EInvalidOp);
    EXPECT_EQ(Floor(-2147483648.0), std::numeric_limits<Integer>::min());
}

TEST(ConvertTest, MulDivRoundsAndReportsOverflow) {
    struct MulDivCase {
        Integer number, numerator, denominator, expected;
    };
    const Integer intMax = std::numeric_limits<Integer>::max();
    const std::vector<MulDivCase> cases = {
        {10, 3, 4, 8}, // 7.5 rounds away from zero
        {-10, 3, 4, -8},     {10, 3, -4, -8},
        {-10, -3, -4, -8},   {10, 3, 5, 6},
        {5, 1, 3, 2},        {7, 1, 3, 2},
        {8, 1, 3, 3},        {intMax, intMax, intMax, intMax}, // the product needs 64 bits
        {1, 1, 0, -1},                                         // zero divisor
        {intMax, 2, 1, -1},                                    // result out of range
        {-intMax, 2, 1, -1},
    };
    for (const MulDivCase& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

} // namespace
