// Number, boolean and text conversions of the framework, and its rounding helpers.
//
// Contents: integers to text; text to integers; reals to decimal digits; reals to text; text to
// reals; booleans; rounding and MulDiv.
#include "platform/rtl/Convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"

// ---------------------------------------------------------------------------------------------------
// Integers to text

namespace {

String UnsignedDigits(UInt64 value, unsigned base, Integer minDigits) {
    Char buffer[24];
    int n = 0;
    do {
        const unsigned digit = static_cast<unsigned>(value % base);
        buffer[n++] = static_cast<Char>(digit < 10 ? u'0' + digit : u'A' + digit - 10);
        value /= base;
    } while (value != 0);
    String out;
    if (minDigits > n)
        out.assign(static_cast<size_t>(minDigits - n), u'0');
    while (n > 0)
        out.push_back(buffer[--n]);
    return out;
}

String SignedDigits(Int64 value) {
    if (value >= 0)
        return UnsignedDigits(static_cast<UInt64>(value), 10, 0);
    String out = UnsignedDigits(0 - static_cast<UInt64>(value), 10, 0);
    out.insert(out.begin(), u'-');
    return out;
}

} // namespace

String IntToStr(Integer value) {
    return SignedDigits(value);
}
String IntToStr(Int64 value) {
    return SignedDigits(value);
}
String IntToStr(Cardinal value) {
    return UnsignedDigits(value, 10, 0);
}
String IntToStr(UInt64 value) {
    return UnsignedDigits(value, 10, 0);
}

String IntToHex(Integer value, Integer digits) {
    return UnsignedDigits(static_cast<Cardinal>(value), 16, digits);
}
String IntToHex(Int64 value, Integer digits) {
    return UnsignedDigits(static_cast<UInt64>(value), 16, digits);
}
String IntToHex(Cardinal value, Integer digits) {
    return UnsignedDigits(value, 16, digits);
}
String IntToHex(UInt64 value, Integer digits) {
    return UnsignedDigits(value, 16, digits);
}

// ---------------------------------------------------------------------------------------------------
// Text to integers

namespace {

int DigitValue(Char c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return 99;
}

// The framework's integer syntax for a signed integer of the given width in bits (32 or 64).
bool ParseInteger(StringView s, int bits, Int64& value) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i < n && s[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (s[i] == u'x' || s[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    // Hex may fill every bit of the type; decimal must fit the signed range.
    const UInt64 typeMask = bits == 64 ? ~UInt64(0) : 0xFFFFFFFFu;
    const UInt64 limit = base == 16 ? typeMask : (typeMask >> 1) + (negative ? 1 : 0);
    UInt64 magnitude = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(s[i]);
        if (digit >= static_cast<int>(base))
            return false;
        if (magnitude > (limit - static_cast<UInt64>(digit)) / base)
            return false;
        magnitude = magnitude * base + static_cast<UInt64>(digit);
    }
    if (negative)
        magnitude = 0 - magnitude;
    value =
        bits == 64 ? static_cast<Int64>(magnitude) : static_cast<Integer>(static_cast<Cardinal>(magnitude));
    return true;
}

} // namespace

bool TryStrToInt(StringView s, Integer& value) {
    Int64 parsed = 0;
    if (!ParseInteger(s, 32, parsed))
        return false;
    value = static_cast<Integer>(parsed);
    return true;
}

Integer StrToInt(StringView s) {
    Integer value = 0;
    if (!TryStrToInt(s, value))
        throw EConvertError(Consts::SInvalidInteger, {s});
    return value;
}

Integer StrToIntDef(StringView s, Integer defaultValue) {
    Integer value = 0;
    return TryStrToInt(s, value) ? value : defaultValue;
}

bool TryStrToInt64(StringView s, Int64& value) {
    return ParseInteger(s, 64, value);
}

Int64 StrToInt64(StringView s) {
    Int64 value = 0;
    if (!TryStrToInt64(s, value))
        throw EConvertError(Consts::SInvalidInteger, {s});
    return value;
}

Int64 StrToInt64Def(StringView s, Int64 defaultValue) {
    Int64 value = 0;
    return TryStrToInt64(s, value) ? value : defaultValue;
}

// ---------------------------------------------------------------------------------------------------
// Reals to decimal digits
//
// std::to_chars gives correctly rounded digits, but it breaks exact ties to the even digit, while the
// framework rounds them away from zero (0.125 with two decimals is 0.13). A tie is only possible when
// the digit after the cut is 5 and the value ends there exactly, so only then is the exact expansion
// looked at.

namespace {

// A non-negative finite value as 0.d1d2d3... × 10^exponent, trailing zeros removed; count 0 is zero.
struct FloatDecimal {
    int exponent = 0;
    int count = 0;
    char digits[48] = {}; // room for 18 integer digits and 19 decimals of to_chars' fixed form
};

// Every double has at most 767 significant decimal digits, so this many is its exact expansion.
constexpr int kExactDigits = 780;

// True when the value's exact decimal expansion has no non-zero digit past the first significant ones.
bool EndsAfter(double value, int significant) {
    char buffer[kExactDigits + 16];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, kExactDigits);
    int seen = 0;
    for (const char* p = buffer; p < result.ptr && *p != 'e'; ++p) {
        if (*p < '0' || *p > '9')
            continue;
        if (seen >= significant && *p != '0')
            return false;
        ++seen;
    }
    return true;
}

// Reads the digits of to_chars output ("1.25e+03" or "0.0125") into dec, without leading zeros.
void ReadDigits(const char* first, const char* last, FloatDecimal& dec) {
    dec.count = 0;
    int integerDigits = 0;
    bool pointSeen = false;
    int exponent = 0;
    bool started = false;
    for (const char* p = first; p < last; ++p) {
        if (*p == '.') {
            pointSeen = true;
        } else if (*p == 'e') {
            std::from_chars(p + 1 + (p[1] == '+'), last, exponent);
            break;
        } else {
            if (!pointSeen)
                ++integerDigits;
            if (*p == '0' && !started) {
                --integerDigits;
                continue;
            }
            started = true;
            if (dec.count < static_cast<int>(sizeof dec.digits))
                dec.digits[dec.count++] = *p;
        }
    }
    dec.exponent = integerDigits + exponent;
}

// Rounds the last digit off (it is the 5 of a tie) upwards in magnitude.
void RoundTieAway(FloatDecimal& dec) {
    --dec.count;
    int i = dec.count - 1;
    while (i >= 0 && dec.digits[i] == '9')
        dec.digits[i--] = '0';
    if (i >= 0) {
        ++dec.digits[i];
    } else {
        dec.digits[0] = '1';
        dec.count = 1;
        ++dec.exponent;
    }
}

void StripTrailingZeros(FloatDecimal& dec) {
    while (dec.count > 0 && dec.digits[dec.count - 1] == '0')
        --dec.count;
    if (dec.count == 0)
        dec.exponent = 0;
}

// value rounded to `significant` digits (1..18).
FloatDecimal SignificantDigits(double value, int significant) {
    FloatDecimal dec;
    char buffer[40];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant);
    ReadDigits(buffer, result.ptr, dec);
    if (dec.count == significant + 1 && dec.digits[significant] == '5' && EndsAfter(value, significant + 1)) {
        RoundTieAway(dec);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                               significant - 1);
        ReadDigits(buffer, result.ptr, dec);
    }
    StripTrailingZeros(dec);
    return dec;
}

// value (below 1e18) rounded to `decimals` digits after the point (0..18).
FloatDecimal FixedDigits(double value, int decimals) {
    FloatDecimal dec;
    char buffer[48];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals + 1);
    ReadDigits(buffer, result.ptr, dec);
    if (dec.count > 0 && dec.digits[dec.count - 1] == '5' && EndsAfter(value, dec.count)) {
        RoundTieAway(dec);
    } else {
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
        ReadDigits(buffer, result.ptr, dec);
    }
    StripTrailingZeros(dec);
    return dec;
}

} // namespace

// ---------------------------------------------------------------------------------------------------
// Reals to text

namespace {

// Digit i of the decimal (0 is the first significant one), '0' outside the stored digits.
Char DigitAt(const FloatDecimal& dec, int i) {
    return (i >= 0 && i < dec.count) ? static_cast<Char>(dec.digits[i]) : u'0';
}

void AppendExponent(String& out, int exponent, bool plusSign, int minDigits) {
    out.push_back(u'E');
    if (exponent < 0)
        out.push_back(u'-');
    else if (plusSign)
        out.push_back(u'+');
    const unsigned magnitude = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
    String digits = UnsignedDigits(magnitude, 10, minDigits);
    out.append(digits);
}

// The integer part (with thousand separators when one is given) and `decimals` decimals.
void AppendFixed(String& out, const FloatDecimal& dec, int decimals, Char thousandSeparator,
                 Char decimalSeparator) {
    if (dec.exponent <= 0) {
        out.push_back(u'0');
    } else {
        for (int i = 0; i < dec.exponent; ++i) {
            if (i > 0 && thousandSeparator != 0 && (dec.exponent - i) % 3 == 0)
                out.push_back(thousandSeparator);
            out.push_back(DigitAt(dec, i));
        }
    }
    if (decimals > 0) {
        out.push_back(decimalSeparator);
        for (int i = 0; i < decimals; ++i)
            out.push_back(DigitAt(dec, dec.exponent + i));
    }
}

void AppendGeneral(String& out, const FloatDecimal& dec, int precision, int exponentDigits,
                   Char decimalSeparator) {
    if (dec.count == 0) {
        out.push_back(u'0');
    } else if (dec.exponent > precision || dec.exponent < -3) {
        out.push_back(DigitAt(dec, 0));
        if (dec.count > 1) {
            out.push_back(decimalSeparator);
            for (int i = 1; i < dec.count; ++i)
                out.push_back(DigitAt(dec, i));
        }
        AppendExponent(out, dec.exponent - 1, false, exponentDigits);
    } else {
        AppendFixed(out, dec, std::max(0, dec.count - dec.exponent), 0, decimalSeparator);
    }
}

// Wraps the formatted amount into the settings' currency pattern.
String ApplyCurrency(const String& amount, bool negative, const TFormatSettings& settings) {
    const String& c = settings.CurrencyString;
    if (!negative) {
        switch (settings.CurrencyFormat) {
        case 1:
            return amount + c;
        case 2:
            return c + u" " + amount;
        case 3:
            return amount + u" " + c;
        default:
            return c + amount;
        }
    }
    switch (settings.NegCurrFormat) {
    case 1:
        return u"-" + c + amount;
    case 2:
        return c + u"-" + amount;
    case 3:
        return c + amount + u"-";
    case 4:
        return u"(" + amount + c + u")";
    case 5:
        return u"-" + amount + c;
    case 6:
        return amount + u"-" + c;
    case 7:
        return amount + c + u"-";
    case 8:
        return u"-" + amount + u" " + c;
    case 9:
        return u"-" + c + u" " + amount;
    case 10:
        return amount + u" " + c + u"-";
    case 11:
        return c + u" " + amount + u"-";
    case 12:
        return c + u" -" + amount;
    case 13:
        return amount + u"- " + c;
    case 14:
        return u"(" + c + u" " + amount + u")";
    case 15:
        return u"(" + amount + u" " + c + u")";
    default:
        return u"(" + c + amount + u")";
    }
}

} // namespace

String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& settings) {
    if (std::isnan(value))
        return u"NAN";
    if (std::isinf(value))
        return value < 0 ? u"-INF" : u"INF";
    precision = std::clamp(precision, 1, 18);
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    const Char decimalSeparator = settings.DecimalSeparator;
    String out;
    FloatDecimal dec;
    switch (format) {
    case ffExponent: {
        dec = SignificantDigits(magnitude, precision);
        if (negative && dec.count > 0)
            out.push_back(u'-');
        out.push_back(DigitAt(dec, 0));
        if (precision > 1) {
            out.push_back(decimalSeparator);
            for (int i = 1; i < precision; ++i)
                out.push_back(DigitAt(dec, i));
        }
        AppendExponent(out, dec.count == 0 ? 0 : dec.exponent - 1, true, std::clamp(digits, 0, 4));
        return out;
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        digits = std::clamp(digits, 0, 18);
        // A value with more integer digits than the precision is written in the general form.
        if (magnitude < 1e18) {
            dec = FixedDigits(magnitude, digits);
            if (dec.count > precision)
                dec = SignificantDigits(magnitude, precision);
        } else {
            dec = SignificantDigits(magnitude, precision);
        }
        if (dec.exponent > precision)
            break;
        const bool showNegative = negative && dec.count > 0;
        if (format == ffFixed) {
            if (showNegative)
                out.push_back(u'-');
            AppendFixed(out, dec, digits, 0, decimalSeparator);
            return out;
        }
        if (format == ffNumber) {
            if (showNegative)
                out.push_back(u'-');
            AppendFixed(out, dec, digits, settings.ThousandSeparator, decimalSeparator);
            return out;
        }
        AppendFixed(out, dec, digits, settings.ThousandSeparator, decimalSeparator);
        return ApplyCurrency(out, showNegative, settings);
    }
    default:
        break;
    }
    // ffGeneral, and the fixed formats for values too large for them.
    dec = SignificantDigits(magnitude, precision);
    if (negative && dec.count > 0)
        out.push_back(u'-');
    AppendGeneral(out, dec, precision, format == ffGeneral ? std::clamp(digits, 0, 4) : 0, decimalSeparator);
    return out;
}

String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings);
}

String FloatToStr(Extended value, const TFormatSettings& settings) {
    return FloatToStrF(value, ffGeneral, 15, 0, settings);
}

String FloatToStr(Extended value) {
    return FloatToStrF(value, ffGeneral, 15, 0, FormatSettings);
}

// ---------------------------------------------------------------------------------------------------
// Reals through a format mask

namespace {

// Where the sections of a mask end: at ';' outside quotes. At most three are taken.
std::vector<StringView> MaskSections(StringView format) {
    std::vector<StringView> sections;
    size_t start = 0;
    Char quote = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const Char c = format[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
            if (sections.size() == 3)
                return sections;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

// What a section asks for: its digit places, decimals, separators and exponent.
struct MaskLayout {
    int integerPlaces = 0;   // '0' and '#' before the point
    int minInteger = 0;      // integer places from the first '0' on
    int maxDecimals = 0;     // '0' and '#' after the point
    int minDecimals = 0;     // decimal places up to the last '0'
    bool thousands = false;  // a ',' among the digits
    bool scientific = false; // "E+", "E-", "e+" or "e-"
    bool hasDigits = false;
};

// Length of the exponent code at i ("E+00"), 0 when there is none.
size_t ExponentCodeLength(StringView section, size_t i) {
    if (i + 1 >= section.size() || (section[i] != u'E' && section[i] != u'e') ||
        (section[i + 1] != u'+' && section[i + 1] != u'-'))
        return 0;
    size_t end = i + 2;
    while (end < section.size() && section[end] == u'0')
        ++end;
    return end - i;
}

MaskLayout ReadLayout(StringView section) {
    MaskLayout layout;
    bool afterPoint = false;
    int firstZero = -1;
    Char quote = 0;
    for (size_t i = 0; i < section.size(); ++i) {
        const Char c = section[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            layout.hasDigits = true;
            if (afterPoint) {
                ++layout.maxDecimals;
                if (c == u'0')
                    layout.minDecimals = layout.maxDecimals;
            } else {
                if (c == u'0' && firstZero < 0)
                    firstZero = layout.integerPlaces;
                ++layout.integerPlaces;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',') {
            layout.thousands = true;
        } else if (const size_t length = ExponentCodeLength(section, i); length > 0) {
            layout.scientific = true;
            i += length - 1;
        }
    }
    layout.minInteger = firstZero < 0 ? 0 : layout.integerPlaces - firstZero;
    return layout;
}

// The rounded digits of one value as a section shows them.
struct MaskDigits {
    String integer;  // without leading zeros; "" for zero
    String decimals; // trailing zeros removed down to the section's minimum
    int exponent = 0;
    bool zero = true;
};

MaskDigits RoundForLayout(double magnitude, const MaskLayout& layout) {
    MaskDigits out;
    FloatDecimal dec;
    if (layout.scientific) {
        const int significant = std::clamp(layout.integerPlaces + layout.maxDecimals, 1, 18);
        dec = SignificantDigits(magnitude, significant);
        if (dec.count > 0) {
            out.exponent = dec.exponent - layout.integerPlaces;
            dec.exponent = layout.integerPlaces;
        }
    } else {
        dec = FixedDigits(magnitude, layout.maxDecimals);
    }
    out.zero = dec.count == 0;
    for (int i = 0; i < dec.exponent; ++i)
        out.integer.push_back(DigitAt(dec, i));
    for (int i = 0; i < layout.maxDecimals; ++i)
        out.decimals.push_back(DigitAt(dec, dec.exponent + i));
    while (static_cast<int>(out.decimals.size()) > layout.minDecimals && out.decimals.back() == u'0')
        out.decimals.pop_back();
    return out;
}

String RenderSection(StringView section, const MaskLayout& layout, const MaskDigits& digits, bool minus,
                     const TFormatSettings& settings) {
    String out;
    if (minus)
        out.push_back(u'-');
    const int length = static_cast<int>(digits.integer.size());
    // A digit at place p (0 = units) is written, followed by the thousand separator where it is due.
    auto putDigit = [&](int place) {
        out.push_back(place < length ? digits.integer[static_cast<size_t>(length - 1 - place)] : u'0');
        if (layout.thousands && place > 0 && place % 3 == 0)
            out.push_back(settings.ThousandSeparator);
    };
    int integerSeen = 0;
    int decimalSeen = 0;
    bool afterPoint = false;
    Char quote = 0;
    for (size_t i = 0; i < section.size(); ++i) {
        const Char c = section[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                out.push_back(c);
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if ((c == u'0' || c == u'#') && !afterPoint) {
            const int place = layout.integerPlaces - 1 - integerSeen++;
            // The first place also takes every digit the mask has no place for.
            const int top = integerSeen == 1 ? std::max(place, length - 1) : place;
            for (int p = top; p >= place; --p) {
                if (p < length || p < layout.minInteger)
                    putDigit(p);
            }
        } else if (c == u'0' || c == u'#') {
            if (decimalSeen < static_cast<int>(digits.decimals.size()))
                out.push_back(digits.decimals[static_cast<size_t>(decimalSeen)]);
            ++decimalSeen;
        } else if (c == u'.') {
            if (!afterPoint && !digits.decimals.empty())
                out.push_back(settings.DecimalSeparator);
            afterPoint = true;
        } else if (c == u',') {
            // Only switches the thousand separators on.
        } else if (const size_t codeLength = ExponentCodeLength(section, i);
                   codeLength > 0 && layout.scientific) {
            out.push_back(c);
            if (digits.exponent < 0)
                out.push_back(u'-');
            else if (section[i + 1] == u'+')
                out.push_back(u'+');
            const unsigned magnitude = static_cast<unsigned>(std::abs(digits.exponent));
            out.append(
                UnsignedDigits(magnitude, 10, static_cast<Integer>(std::min<size_t>(codeLength - 2, 4))));
            i += codeLength - 1;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

String FormatFloat(StringView format, Extended value, const TFormatSettings& settings) {
    if (format.empty() || !std::isfinite(value) || std::fabs(value) >= 1e18)
        return FloatToStrF(value, ffGeneral, 15, 0, settings);
    const std::vector<StringView> sections = MaskSections(format);
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);

    size_t chosen = 0;
    if (negative && sections.size() >= 2 && !sections[1].empty())
        chosen = 1;
    MaskLayout layout = ReadLayout(sections[chosen]);
    MaskDigits digits = RoundForLayout(magnitude, layout);
    if (digits.zero && sections.size() >= 3 && !sections[2].empty()) {
        chosen = 2;
        layout = ReadLayout(sections[chosen]);
        digits = RoundForLayout(magnitude, layout);
    }
    // The first section writes the sign of a negative value; the others carry their own.
    const bool minus = negative && chosen == 0 && !digits.zero && layout.hasDigits;
    return RenderSection(sections[chosen], layout, digits, minus, settings);
}

String FormatFloat(StringView format, Extended value) {
    return FormatFloat(format, value, FormatSettings);
}

// ---------------------------------------------------------------------------------------------------
// Text to reals

namespace {

bool SameAsciiText(StringView s, const char* ascii) {
    size_t i = 0;
    for (; ascii[i] != 0; ++i) {
        if (i >= s.size())
            return false;
        if (UpCase(s[i]) != static_cast<Char>(ascii[i]))
            return false;
    }
    return i == s.size();
}

// The framework's real syntax; allowSpecial admits the texts FloatToStr writes for NaN and infinities.
bool ParseFloat(StringView s, double& value, Char decimalSeparator, bool allowSpecial) {
    size_t first = 0;
    size_t last = s.size();
    while (first < last && s[first] == u' ')
        ++first;
    while (last > first && s[last - 1] == u' ')
        --last;
    s = s.substr(first, last - first);
    if (s.empty())
        return false;

    const bool negative = s[0] == u'-';
    const StringView unsigned_ = (s[0] == u'-' || s[0] == u'+') ? s.substr(1) : s;
    if (allowSpecial) {
        if (SameAsciiText(unsigned_, "INF")) {
            value =
                negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
            return true;
        }
        if (SameAsciiText(unsigned_, "NAN")) {
            value = std::numeric_limits<double>::quiet_NaN();
            return true;
        }
    }

    // Rewritten in ASCII with '.' for from_chars, which knows no locale; short texts stay on the stack.
    char small[64];
    std::string large;
    char* text = small;
    if (s.size() >= sizeof small) {
        large.resize(s.size() + 1);
        text = large.data();
    }
    size_t n = 0;
    if (negative)
        text[n++] = '-';
    int mantissaDigits = 0;
    int magnitude = 0; // decimal position of the first non-zero digit, to tell overflow from underflow
    bool nonZeroSeen = false;
    constexpr std::string_view kLargest = "179769313486232"; // the largest double as FloatToStr writes it
    int order = 0; // how the significant digits compare with kLargest's so far: < 0, 0 or > 0
    size_t significant = 0;
    bool pointSeen = false;
    size_t i = 0;
    for (; i < unsigned_.size(); ++i) {
        const Char c = unsigned_[i];
        if (c >= u'0' && c <= u'9') {
            ++mantissaDigits;
            if (c != u'0')
                nonZeroSeen = true;
            if (nonZeroSeen && order == 0) {
                const size_t k = significant++;
                order = static_cast<char>(c) - (k < kLargest.size() ? kLargest[k] : '0');
            }
            if (!pointSeen && nonZeroSeen)
                ++magnitude;
            else if (pointSeen && !nonZeroSeen)
                --magnitude;
            text[n++] = static_cast<char>(c);
        } else if (c == decimalSeparator && !pointSeen) {
            pointSeen = true;
            text[n++] = '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < unsigned_.size()) {
        if (unsigned_[i] != u'e' && unsigned_[i] != u'E')
            return false;
        text[n++] = 'e';
        ++i;
        if (i < unsigned_.size() && (unsigned_[i] == u'+' || unsigned_[i] == u'-'))
            text[n++] = static_cast<char>(unsigned_[i++]);
        size_t exponentDigits = 0;
        for (; i < unsigned_.size() && unsigned_[i] >= u'0' && unsigned_[i] <= u'9'; ++i, ++exponentDigits)
            text[n++] = static_cast<char>(unsigned_[i]);
        if (exponentDigits == 0 || i < unsigned_.size())
            return false;
    }
    double parsed = 0;
    const auto result = std::from_chars(text, text + n, parsed, std::chars_format::general);
    if (result.ptr != text + n)
        return false;
    if (result.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero. Too large is not a valid value, except the text FloatToStr
        // writes for the largest double, which its 15 digits round up past the range.
        int exponent = 0;
        const char* e = static_cast<const char*>(std::memchr(text, 'e', n));
        if (e != nullptr && std::from_chars(e + 1 + (e[1] == '+'), text + n, exponent).ec != std::errc())
            exponent = e[1] == '-' ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
        const Int64 position = static_cast<Int64>(exponent) + magnitude;
        if (position == 309 && order <= 0)
            parsed = negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
        else if (position > 0)
            return false;
        else
            parsed = negative ? -0.0 : 0.0;
    } else if (result.ec != std::errc()) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace

bool TryStrToFloat(StringView s, Extended& value, const TFormatSettings& settings) {
    return ParseFloat(s, value, settings.DecimalSeparator, true);
}

bool TryStrToFloat(StringView s, Extended& value) {
    return TryStrToFloat(s, value, FormatSettings);
}

void Val(StringView S, Extended& V, Integer& Code) {
    // The text that fits is copied as ASCII for from_chars; a text longer than the buffer reads through
    // a heap copy, which only very long numbers need.
    const size_t n = S.size();
    size_t i = 0;
    double whole = 0; // the digits read so far, for a failure
    auto fail = [&](size_t at) {
        V = whole;
        Code = static_cast<Integer>(at + 1);
    };
    while (i < n && S[i] == u' ')
        ++i;
    const size_t start = i;
    if (i < n && (S[i] == u'+' || S[i] == u'-'))
        ++i;
    size_t digits = 0;
    auto readDigits = [&](bool counted) {
        size_t count = 0;
        while (i < n && S[i] >= u'0' && S[i] <= u'9') {
            if (counted)
                whole = whole * 10 + (S[i] - u'0');
            ++i;
            ++count;
        }
        return count;
    };
    digits += readDigits(true);
    if (i < n && S[i] == u'.') {
        ++i;
        digits += readDigits(true);
    }
    if (digits == 0)
        return fail(i);
    if (i < n && (S[i] == u'e' || S[i] == u'E')) {
        ++i;
        if (i < n && (S[i] == u'+' || S[i] == u'-'))
            ++i;
        if (readDigits(false) == 0)
            return fail(i);
    }
    if (i < n)
        return fail(i);
    char buffer[64];
    std::string heap;
    char* text = buffer;
    const size_t length = n - start;
    if (length > sizeof buffer) {
        heap.resize(length);
        text = heap.data();
    }
    size_t k = 0;
    for (size_t j = start; j < n; ++j)
        if (S[j] != u'+') // from_chars takes no plus sign, in front or in the exponent
            text[k++] = static_cast<char>(S[j]);
    double value = 0;
    const auto result = std::from_chars(text, text + k, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as 0; only a value too large raises.
        bool tooLarge = false;
        for (size_t j = 0; j < k && !tooLarge; ++j)
            if (text[j] == 'e' || text[j] == 'E')
                tooLarge = j + 1 < k && text[j + 1] != '-';
        if (tooLarge || std::none_of(text, text + k, [](char c) { return c == 'e' || c == 'E'; }))
            throw EOverflow(Consts::SOverflow);
        value = 0;
    }
    V = value;
    Code = 0;
}

Extended StrToFloat(StringView s, const TFormatSettings& settings) {
    Extended value = 0;
    if (!TryStrToFloat(s, value, settings))
        throw EConvertError(Consts::SInvalidFloat, {s});
    return value;
}

Extended StrToFloat(StringView s) {
    return StrToFloat(s, FormatSettings);
}

Extended StrToFloatDef(StringView s, Extended defaultValue, const TFormatSettings& settings) {
    Extended value = 0;
    return TryStrToFloat(s, value, settings) ? value : defaultValue;
}

Extended StrToFloatDef(StringView s, Extended defaultValue) {
    return StrToFloatDef(s, defaultValue, FormatSettings);
}

// ---------------------------------------------------------------------------------------------------
// Booleans

String BoolToStr(bool value, bool useBoolStrs) {
    if (useBoolStrs)
        return value ? u"True" : u"False";
    return value ? u"-1" : u"0";
}

bool TryStrToBool(StringView s, bool& value) {
    double number = 0;
    if (ParseFloat(s, number, FormatSettings.DecimalSeparator, false)) {
        value = number != 0;
        return true;
    }
    if (SameAsciiText(s, "TRUE")) {
        value = true;
        return true;
    }
    if (SameAsciiText(s, "FALSE")) {
        value = false;
        return true;
    }
    return false;
}

bool StrToBool(StringView s) {
    bool value = false;
    if (!TryStrToBool(s, value))
        throw EConvertError(Consts::SInvalidBoolean, {s});
    return value;
}

bool StrToBoolDef(StringView s, bool defaultValue) {
    bool value = false;
    return TryStrToBool(s, value) ? value : defaultValue;
}

// ---------------------------------------------------------------------------------------------------
// Rounding and MulDiv

namespace {

// A whole-valued double converted to Int64, or EInvalidOp when it does not fit (or is NaN).
Int64 ToInt64(double whole) {
    // 2^63 is exact as a double; every whole double below it in magnitude fits.
    if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
        throw EInvalidOp(Consts::SInvalidOp);
    return static_cast<Int64>(whole);
}

Integer ToInteger(double whole) {
    if (!(whole >= -2147483648.0 && whole <= 2147483647.0))
        throw EInvalidOp(Consts::SInvalidOp);
    return static_cast<Integer>(whole);
}

} // namespace

Int64 Round(Extended value) {
    double whole = std::round(value); // halves away from zero ...
    if (std::fabs(whole - value) == 0.5 && std::fmod(whole, 2.0) != 0)
        whole -= std::copysign(1.0, value); // ... so a half that went to an odd number goes back
    return ToInt64(whole);
}

Int64 Trunc(Extended value) {
    return ToInt64(std::trunc(value));
}

Extended Int(Extended value) {
    return std::trunc(value);
}

Extended Frac(Extended value) {
    return value - std::trunc(value);
}

Integer Ceil(Extended value) {
    return ToInteger(std::ceil(value));
}

Integer Floor(Extended value) {
    return ToInteger(std::floor(value));
}

Integer MulDiv(Integer number, Integer numerator, Integer denominator) {
    if (denominator == 0)
        return -1;
    Int64 product = static_cast<Int64>(number) * numerator;
    Int64 divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Half the divisor is added to the magnitude, so halves round away from zero.
    const Int64 result = product >= 0 ? (product + divisor / 2) / divisor : (product - divisor / 2) / divisor;
    if (result > std::numeric_limits<Integer>::max() || result < -std::numeric_limits<Integer>::max())
        return -1;
    return static_cast<Integer>(result);
}
