// The framework's string routines: trimming, case, comparison (ordinal and by the locale), replacing,
// quoting and searching, and the Unicode character properties text routines need. Positions are 1-based
// as in the framework.
#pragma once

#include <initializer_list>

#include "platform/rtl/Types.h"

// Remove the characters up to and including the space (controls too) from both ends, the start or
// the end.
String Trim(StringView s);
String TrimLeft(StringView s);
String TrimRight(StringView s);

// Case of the ASCII letters only; every other character stays as it is.
String UpperCase(StringView s);
String LowerCase(StringView s);
// Case of every letter, by the platform's character tables; the length never changes.
String AnsiUpperCase(StringView s);
String AnsiLowerCase(StringView s);

// Ordinal comparison: the difference of the first differing characters, else of the lengths.
Integer CompareStr(StringView s1, StringView s2);
// Like CompareStr with the ASCII letters folded to upper case.
Integer CompareText(StringView s1, StringView s2);
bool SameText(StringView s1, StringView s2);

// Comparison by the user's locale (English (United States) in the C locale): -1, 0 or 1. Lower case
// sorts before upper case of the same letter, and letters in alphabetical order whatever their case.
Integer AnsiCompareStr(StringView s1, StringView s2);
Integer AnsiCompareText(StringView s1, StringView s2);
bool AnsiSameStr(StringView s1, StringView s2);
bool AnsiSameText(StringView s1, StringView s2);

enum TReplaceFlag { rfReplaceAll = 1, rfIgnoreCase = 2 };

// A set of TReplaceFlag: TReplaceFlags(), rfReplaceAll or {rfReplaceAll, rfIgnoreCase}.
class TReplaceFlags {
public:
    TReplaceFlags() = default;
    TReplaceFlags(TReplaceFlag flag) : FBits(flag) {}
    TReplaceFlags(std::initializer_list<TReplaceFlag> flags) {
        for (TReplaceFlag flag : flags)
            FBits |= flag;
    }
    bool Contains(TReplaceFlag flag) const { return (FBits & flag) != 0; }

private:
    unsigned FBits = 0;
};

// Replaces the first (or, with rfReplaceAll, every) occurrence of oldPattern; rfIgnoreCase matches
// letters of any case. An empty oldPattern replaces nothing.
String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags);

// s in single quotes, its quotes doubled.
String QuotedStr(StringView s);
// s between two quote characters, each quote in it doubled.
String AnsiQuotedStr(StringView s, Char quote);
// Reads a quoted string at the start of src and moves src past its closing quote (to the end when
// there is none); a doubled quote inside reads as one. Returns empty text, leaving src as it is, when
// src does not start with the quote.
String AnsiExtractQuotedStr(StringView& src, Char quote);
// The text inside a quoted string; s itself when s is not exactly one quoted string.
String AnsiDequotedStr(StringView s, Char quote);

// Pos(sub, s).
Integer AnsiPos(StringView sub, StringView s);
// Position of the last character of s that is one of delimiters; 0 when there is none.
Integer LastDelimiter(StringView delimiters, StringView s);
// Whether s[index] (1-based) is one of delimiters; false when index is outside s.
bool IsDelimiter(StringView delimiters, StringView s, Integer index);

// Character properties and normalisation, for routines that look at text beyond ASCII.

// The canonical decomposition of text: every precomposed character becomes its base character followed
// by its combining marks ('é' becomes 'e' and U+0301). Characters without a decomposition, and unpaired
// surrogates, pass through.
String DecomposeText(StringView text);
// Whether the code point is a number: a decimal digit, a letter number (Roman numerals) or another number
// (superscripts, fractions). False for values that are no code point.
bool IsNumberCodePoint(char32_t c);
