// The framework's conversions between numbers, booleans and text, and its small arithmetic helpers
// (Round, Trunc, MulDiv, Min, Max ...).
#pragma once

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Types.h"

// Integers to text. The Cardinal and UInt64 overloads keep unsigned arguments from being ambiguous.
String IntToStr(Integer value);
String IntToStr(Int64 value);
String IntToStr(Cardinal value);
String IntToStr(UInt64 value);

// Upper-case hex of the value's two's complement (8 digits at most for 32-bit values, 16 for 64-bit),
// padded with zeros to at least digits characters.
String IntToHex(Integer value, Integer digits);
String IntToHex(Int64 value, Integer digits);
String IntToHex(Cardinal value, Integer digits);
String IntToHex(UInt64 value, Integer digits);

// Text to integers: optional leading spaces, an optional sign, decimal digits or hex after "$", "0x"
// or "x", and nothing after them. Decimal text must be in range; hex text may use every bit of the
// type, so "$FFFFFFFF" is -1 for StrToInt. StrToInt/StrToInt64 raise EConvertError
// "'%s' is not a valid integer value".
Integer StrToInt(StringView s);
Integer StrToIntDef(StringView s, Integer defaultValue);
bool TryStrToInt(StringView s, Integer& value);
Int64 StrToInt64(StringView s);
Int64 StrToInt64Def(StringView s, Int64 defaultValue);
bool TryStrToInt64(StringView s, Int64& value);

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Text to a real: optional leading and trailing spaces, sign, digits with the settings' decimal
// separator, an optional exponent ("E-5"); no thousand separators. "NAN", "INF" and "-INF" read back
// what FloatToStr writes for them. A value beyond the range of a double is not valid. StrToFloat
// raises EConvertError "'%s' is not a valid floating point value".
Extended StrToFloat(StringView s);
Extended StrToFloat(StringView s, const TFormatSettings& settings);
Extended StrToFloatDef(StringView s, Extended defaultValue);
Extended StrToFloatDef(StringView s, Extended defaultValue, const TFormatSettings& settings);
bool TryStrToFloat(StringView s, Extended& value);
bool TryStrToFloat(StringView s, Extended& value, const TFormatSettings& settings);

// The run-time conversion of text to a real, which takes "." as the decimal separator whatever the
// settings say: leading spaces, an optional sign, digits, one ".", and an optional exponent ("E" or "e",
// an optional sign, digits), to the end of the text. Code is 0 when the whole text fits, and V is then
// its value. Otherwise Code is the 1-based position of the first character that does not fit (the
// length + 1 for a text that ends too early, 1 for an empty one) and V is the digits read before it,
// those of the exponent excepted, taken as an unsigned whole number: "12 kg" gives 12, "kg" 0. A
// value beyond the range of a double raises EOverflow "Floating point overflow".
void Val(StringView S, Extended& V, Integer& Code);

// FloatToStrF(value, ffGeneral, 15, 0).
String FloatToStr(Extended value);
String FloatToStr(Extended value, const TFormatSettings& settings);
// Precision is the number of significant digits (at most 18). Digits is, for ffGeneral and
// ffExponent, the least number of exponent digits (0..4); for the other formats the number of
// decimals (0..18). ffGeneral writes the shortest form, in exponent form when the value needs more
// integer digits than precision or is below 0.0001; ffFixed, ffNumber and ffCurrency switch to
// ffGeneral when the value has more integer digits than precision. Digits are rounded half away from
// zero. NaN and infinities are written "NAN", "INF" and "-INF".
String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits);
String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& settings);

// A real through a mask of up to three sections separated by ';' (outside quotes): for positive
// values, for negative ones (written without a sign of their own) and for values that round to zero;
// an empty second or third section falls back to the first. In a section, '0' is a digit always
// written and '#' one written when significant; the first integer place takes the digits the mask has
// no place for. The first '.' places the decimal separator (written only before decimals), a ','
// among the places turns on thousand separators, "E+0", "E-0" (or e) write an exponent with as many
// digits as zeros (up to four, "E+" showing the plus sign). Text in single or double quotes and every
// other character is copied. Decimals are rounded half away from zero. An empty mask, NaN, infinities
// and values from 1e18 on are written as by FloatToStr.
String FormatFloat(StringView format, Extended value);
String FormatFloat(StringView format, Extended value, const TFormatSettings& settings);

// "-1"/"0", or "True"/"False" when useBoolStrs is set.
String BoolToStr(bool value, bool useBoolStrs = false);
// A number (non-zero is true) or "True"/"False" in any case; otherwise StrToBool raises
// EConvertError "'%s' is not a valid boolean value".
bool StrToBool(StringView s);
bool StrToBoolDef(StringView s, bool defaultValue);
bool TryStrToBool(StringView s, bool& value);

// Rounding to whole numbers. Round rounds halves to the even neighbour. Round and Trunc raise
// EInvalidArgument "Invalid floating point operation" for NaN, infinities and values outside Int64;
// Ceil and Floor do the same outside Integer.
Int64 Round(Extended value);
Int64 Trunc(Extended value);
Extended Int(Extended value);
Extended Frac(Extended value);
Integer Ceil(Extended value);
Integer Floor(Extended value);

// number * numerator / denominator with a 64-bit intermediate, rounded half away from zero; -1 when
// the denominator is zero or the result does not fit a 32-bit integer.
Integer MulDiv(Integer number, Integer numerator, Integer denominator);

inline Integer Min(Integer a, Integer b) {
    return a < b ? a : b;
}
inline Int64 Min(Int64 a, Int64 b) {
    return a < b ? a : b;
}
inline Extended Min(Extended a, Extended b) {
    return a < b ? a : b;
}
inline Integer Max(Integer a, Integer b) {
    return a > b ? a : b;
}
inline Int64 Max(Int64 a, Int64 b) {
    return a > b ? a : b;
}
inline Extended Max(Extended a, Extended b) {
    return a > b ? a : b;
}
