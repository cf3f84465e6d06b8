// String basics: UTF-8/UTF-16 conversion without loss, Windows-1252 fallback, 1-based routines.
#include "platform/rtl/UString.h"

#include <algorithm>

namespace {

// Characters of Windows-1252 bytes 0x80-0x9F; the five bytes the code page leaves undefined map to
// the C1 control of the same value, so that they still round-trip.
const Char kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendCodePoint(String& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<Char>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<Char>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<Char>(0xDC00 + (cp & 0x3FF)));
    }
}

} // namespace

Char Windows1252ToChar(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kWindows1252High[byte - 0x80];
    return byte;
}

int CharToWindows1252(Char c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kWindows1252High[i] == c)
            return 0x80 + i;
    return -1;
}

int DecodeUtf8Sequence(std::string_view bytes, char32_t& codePoint) {
    if (bytes.empty())
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char b = p[0];
    if (b < 0x80) {
        codePoint = b;
        return 1;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b & 0xE0) == 0xC0) {
        extra = 1, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        extra = 2, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() <= static_cast<size_t>(extra))
        return 0;
    for (int k = 1; k <= extra; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF)
        return 0;
    codePoint = cp;
    return extra + 1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

String Utf8ToString(std::string_view utf8) {
    String out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const int length = DecodeUtf8Sequence(utf8.substr(i), cp);
        if (length == 0) {
            out.push_back(Windows1252ToChar(static_cast<unsigned char>(utf8[i])));
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += static_cast<size_t>(length);
    }
    return out;
}

std::string StringToUtf8(StringView text) {
    std::string out;
    out.reserve(text.size());
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

String AnsiToString(std::string_view ansi) {
    return Utf8ToString(ansi);
}

AnsiString StringToAnsi(StringView text) {
    return StringToUtf8(text);
}

Integer Pos(StringView sub, StringView s, Integer offset) {
    if (sub.empty() || offset < 1 || offset > Length(s))
        return 0;
    size_t at = s.find(sub, static_cast<size_t>(offset - 1));
    return at == StringView::npos ? 0 : static_cast<Integer>(at + 1);
}

String Copy(StringView s, Integer index, Integer count) {
    const Integer len = Length(s);
    if (index < 1)
        index = 1;
    if (count <= 0 || index > len)
        return String();
    const Integer available = len - index + 1;
    return String(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(std::min(count, available))));
}

String Copy(StringView s, Integer index) {
    return Copy(s, index, Length(s));
}

void Delete(String& s, Integer index, Integer count) {
    const Integer len = Length(s);
    if (index < 1 || index > len || count <= 0)
        return;
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(std::min(count, len - index + 1)));
}

void Insert(StringView sub, String& s, Integer index) {
    if (sub.empty())
        return;
    index = std::clamp(index, 1, Length(s) + 1);
    s.insert(static_cast<size_t>(index - 1), sub);
}

String StringOfChar(Char c, Integer count) {
    return count > 0 ? String(static_cast<size_t>(count), c) : String();
}

void SetLength(String& s, Integer length) {
    s.resize(length > 0 ? static_cast<size_t>(length) : 0);
}

Char UpCase(Char c) {
    return (c >= u'a' && c <= u'z') ? static_cast<Char>(c - 32) : c;
}

String LowerASCII(StringView s) {
    String out(s);
    for (Char& c : out)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<Char>(c + 32);
    return out;
}

String ToString(const char* ascii) {
    return Utf8ToString(ascii ? std::string_view(ascii) : std::string_view());
}
