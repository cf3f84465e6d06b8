// The encodings the string lists and streams read and write: ANSI (UTF-8 here), ASCII, UTF-8 and UTF-16.
#include "platform/rtl/Encoding.h"

#include <cstring>

#include "platform/rtl/UString.h"

namespace {

class TAnsiEncoding : public TEncoding {
public:
    TBytes GetPreamble() const override { return {}; }
    TBytes GetBytes(StringView s) const override {
        AnsiString bytes = StringToAnsi(s);
        return TBytes(bytes.begin(), bytes.end());
    }
    String GetString(const Byte* data, std::size_t size) const override {
        return AnsiToString(std::string_view(reinterpret_cast<const char*>(data), size));
    }
    Integer CodePage() const override { return 65001; }
};

class TASCIIEncoding : public TEncoding {
public:
    TBytes GetPreamble() const override { return {}; }
    TBytes GetBytes(StringView s) const override {
        TBytes bytes;
        bytes.reserve(s.size());
        for (size_t i = 0; i < s.size(); ++i) {
            const Char c = s[i];
            if (c < 0x80) {
                bytes.push_back(static_cast<Byte>(c));
                continue;
            }
            // A surrogate pair is one character and becomes one replacement.
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
                ++i;
            bytes.push_back('?');
        }
        return bytes;
    }
    String GetString(const Byte* data, std::size_t size) const override {
        String text;
        text.reserve(size);
        for (size_t i = 0; i < size; ++i)
            text.push_back(data[i] < 0x80 ? static_cast<Char>(data[i]) : u'?');
        return text;
    }
    Integer CodePage() const override { return 20127; }
};

class TUTF8Encoding : public TAnsiEncoding {
public:
    TBytes GetPreamble() const override { return {0xEF, 0xBB, 0xBF}; }
    // Invalid bytes still decode as Windows-1252, as in the ANSI code page, so that a file with a mark
    // but a stray byte loses nothing.
};

class TUTF16Encoding : public TEncoding {
public:
    explicit TUTF16Encoding(bool bigEndian) : FBigEndian(bigEndian) {}
    TBytes GetPreamble() const override { return FBigEndian ? TBytes{0xFE, 0xFF} : TBytes{0xFF, 0xFE}; }
    TBytes GetBytes(StringView s) const override {
        TBytes bytes(s.size() * 2);
        for (size_t i = 0; i < s.size(); ++i) {
            const Byte low = static_cast<Byte>(s[i] & 0xFF);
            const Byte high = static_cast<Byte>(s[i] >> 8);
            bytes[2 * i] = FBigEndian ? high : low;
            bytes[2 * i + 1] = FBigEndian ? low : high;
        }
        return bytes;
    }
    // An odd last byte is not a character and is dropped.
    String GetString(const Byte* data, std::size_t size) const override {
        String text(size / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i) {
            const Byte first = data[2 * i];
            const Byte second = data[2 * i + 1];
            text[i] = FBigEndian ? static_cast<Char>((first << 8) | second)
                                 : static_cast<Char>((second << 8) | first);
        }
        return text;
    }
    Integer CodePage() const override { return FBigEndian ? 1201 : 1200; }

private:
    bool FBigEndian;
};

bool StartsWith(const Byte* data, std::size_t size, const TBytes& preamble) {
    return !preamble.empty() && size >= preamble.size() &&
           std::memcmp(data, preamble.data(), preamble.size()) == 0;
}

} // namespace

TEncoding::~TEncoding() = default;

TEncoding* TEncoding::Default() {
    static TAnsiEncoding encoding;
    return &encoding;
}

TEncoding* TEncoding::ASCII() {
    static TASCIIEncoding encoding;
    return &encoding;
}

TEncoding* TEncoding::UTF8() {
    static TUTF8Encoding encoding;
    return &encoding;
}

TEncoding* TEncoding::Unicode() {
    static TUTF16Encoding encoding(false);
    return &encoding;
}

TEncoding* TEncoding::BigEndianUnicode() {
    static TUTF16Encoding encoding(true);
    return &encoding;
}

Integer TEncoding::GetBufferEncoding(const TBytes& buffer, TEncoding*& encoding, TEncoding* defaultEncoding) {
    return GetBufferEncoding(buffer.data(), buffer.size(), encoding, defaultEncoding);
}

Integer TEncoding::GetBufferEncoding(const Byte* data, std::size_t size, TEncoding*& encoding,
                                     TEncoding* defaultEncoding) {
    if (!encoding) {
        for (TEncoding* candidate : {UTF8(), Unicode(), BigEndianUnicode()}) {
            if (StartsWith(data, size, candidate->GetPreamble())) {
                encoding = candidate;
                return static_cast<Integer>(candidate->GetPreamble().size());
            }
        }
        encoding = defaultEncoding ? defaultEncoding : Default();
        return 0;
    }
    const TBytes preamble = encoding->GetPreamble();
    return StartsWith(data, size, preamble) ? static_cast<Integer>(preamble.size()) : 0;
}
