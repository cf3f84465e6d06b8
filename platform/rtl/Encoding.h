// TEncoding: turning text into the bytes of a code page and back, with byte-order-mark detection for
// files and streams.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/rtl/Types.h"

using TBytes = std::vector<Byte>;

// The encodings are shared instances that live as long as the program; callers never free them.
class TEncoding {
public:
    virtual ~TEncoding();

    // The system ANSI code page: UTF-8 here. Decoding turns each byte that is not valid UTF-8 into its
    // Windows-1252 character, so no byte is lost; there is no byte-order mark.
    static TEncoding* Default();
    // 7-bit ASCII; other characters become '?'.
    static TEncoding* ASCII();
    // UTF-8 with the mark EF BB BF.
    static TEncoding* UTF8();
    // UTF-16 little endian with the mark FF FE.
    static TEncoding* Unicode();
    // UTF-16 big endian with the mark FE FF.
    static TEncoding* BigEndianUnicode();

    // When encoding is null, sets it from the byte-order mark buffer starts with (UTF-8, UTF-16 LE or
    // BE), else to defaultEncoding (Default when that is null). Answers the length of the mark found for
    // the chosen encoding: 0 when buffer does not start with it.
    static Integer GetBufferEncoding(const TBytes& buffer, TEncoding*& encoding,
                                     TEncoding* defaultEncoding = nullptr);
    static Integer GetBufferEncoding(const Byte* data, std::size_t size, TEncoding*& encoding,
                                     TEncoding* defaultEncoding = nullptr);

    virtual TBytes GetPreamble() const = 0;
    virtual TBytes GetBytes(StringView s) const = 0;
    String GetString(const TBytes& bytes) const { return GetString(bytes.data(), bytes.size()); }
    virtual String GetString(const Byte* data, std::size_t size) const = 0;
    // The Windows code page number: 65001 for UTF-8 and the ANSI code page, 1200 and 1201 for UTF-16
    // LE and BE, 20127 for ASCII.
    virtual Integer CodePage() const = 0;

protected:
    TEncoding() = default;
};
