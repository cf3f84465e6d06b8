// The framework's string routines; the locale-dependent ones go through the backend's collation, the
// character properties through its Unicode tables.
#include "platform/rtl/SysStrings.h"

#include <algorithm>

#include "platform/backend/collate.h"
#include "platform/backend/unicode.h"
#include "platform/rtl/UString.h"

String Trim(StringView s) {
    size_t first = 0;
    size_t last = s.size();
    while (first < last && s[first] <= u' ')
        ++first;
    while (last > first && s[last - 1] <= u' ')
        --last;
    return String(s.substr(first, last - first));
}

String TrimLeft(StringView s) {
    size_t first = 0;
    while (first < s.size() && s[first] <= u' ')
        ++first;
    return String(s.substr(first));
}

String TrimRight(StringView s) {
    size_t last = s.size();
    while (last > 0 && s[last - 1] <= u' ')
        --last;
    return String(s.substr(0, last));
}

String UpperCase(StringView s) {
    String out(s);
    for (Char& c : out)
        c = UpCase(c);
    return out;
}

String LowerCase(StringView s) {
    return LowerASCII(s);
}

String AnsiUpperCase(StringView s) {
    return backend::UpperCaseText(s);
}

String AnsiLowerCase(StringView s) {
    return backend::LowerCaseText(s);
}

Integer CompareStr(StringView s1, StringView s2) {
    const size_t n = std::min(s1.size(), s2.size());
    for (size_t i = 0; i < n; ++i)
        if (s1[i] != s2[i])
            return static_cast<Integer>(s1[i]) - static_cast<Integer>(s2[i]);
    return static_cast<Integer>(s1.size()) - static_cast<Integer>(s2.size());
}

Integer CompareText(StringView s1, StringView s2) {
    const size_t n = std::min(s1.size(), s2.size());
    for (size_t i = 0; i < n; ++i) {
        const Char c1 = UpCase(s1[i]);
        const Char c2 = UpCase(s2[i]);
        if (c1 != c2)
            return static_cast<Integer>(c1) - static_cast<Integer>(c2);
    }
    return static_cast<Integer>(s1.size()) - static_cast<Integer>(s2.size());
}

bool SameText(StringView s1, StringView s2) {
    return s1.size() == s2.size() && CompareText(s1, s2) == 0;
}

Integer AnsiCompareStr(StringView s1, StringView s2) {
    return backend::CollateCompare(s1, s2, false);
}

Integer AnsiCompareText(StringView s1, StringView s2) {
    return backend::CollateCompare(s1, s2, true);
}

bool AnsiSameStr(StringView s1, StringView s2) {
    return AnsiCompareStr(s1, s2) == 0;
}

bool AnsiSameText(StringView s1, StringView s2) {
    return AnsiCompareText(s1, s2) == 0;
}

String StringReplace(StringView s, StringView oldPattern, StringView newPattern, TReplaceFlags flags) {
    if (oldPattern.empty())
        return String(s);
    // Case mapping keeps every character in place, so a match in the folded text is a match at the
    // same position in s.
    String foldedText;
    String foldedPattern;
    StringView text = s;
    StringView pattern = oldPattern;
    if (flags.Contains(rfIgnoreCase)) {
        foldedText = AnsiUpperCase(s);
        foldedPattern = AnsiUpperCase(oldPattern);
        text = foldedText;
        pattern = foldedPattern;
    }
    String out;
    size_t from = 0;
    while (true) {
        const size_t at = text.find(pattern, from);
        if (at == StringView::npos)
            break;
        out.append(s.substr(from, at - from));
        out.append(newPattern);
        from = at + pattern.size();
        if (!flags.Contains(rfReplaceAll))
            break;
    }
    out.append(s.substr(from));
    return out;
}

String AnsiQuotedStr(StringView s, Char quote) {
    String out;
    out.reserve(s.size() + 2);
    out.push_back(quote);
    for (Char c : s) {
        out.push_back(c);
        if (c == quote)
            out.push_back(quote);
    }
    out.push_back(quote);
    return out;
}

String QuotedStr(StringView s) {
    return AnsiQuotedStr(s, u'\'');
}

namespace {

// AnsiExtractQuotedStr that also tells whether the closing quote was there.
String ExtractQuoted(StringView& src, Char quote, bool& closed) {
    closed = false;
    if (src.empty() || src[0] != quote)
        return String();
    String out;
    size_t i = 1;
    while (i < src.size()) {
        if (src[i] == quote) {
            if (i + 1 < src.size() && src[i + 1] == quote) {
                out.push_back(quote);
                i += 2;
                continue;
            }
            ++i;
            closed = true;
            break;
        }
        out.push_back(src[i++]);
    }
    src.remove_prefix(i);
    return out;
}

} // namespace

String AnsiExtractQuotedStr(StringView& src, Char quote) {
    bool closed = false;
    return ExtractQuoted(src, quote, closed);
}

String AnsiDequotedStr(StringView s, Char quote) {
    StringView rest = s;
    bool closed = false;
    String inner = ExtractQuoted(rest, quote, closed);
    return (closed && rest.empty()) ? inner : String(s);
}

Integer AnsiPos(StringView sub, StringView s) {
    return Pos(sub, s);
}

Integer LastDelimiter(StringView delimiters, StringView s) {
    const size_t at = s.find_last_of(delimiters);
    return at == StringView::npos ? 0 : static_cast<Integer>(at + 1);
}

bool IsDelimiter(StringView delimiters, StringView s, Integer index) {
    if (index < 1 || index > Length(s))
        return false;
    return delimiters.find(s[static_cast<size_t>(index - 1)]) != StringView::npos;
}

String DecomposeText(StringView text) {
    return backend::DecomposeText(text);
}

bool IsNumberCodePoint(char32_t c) {
    return backend::IsNumberCodePoint(c);
}
