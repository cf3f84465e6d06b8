// The decoded form of a picture that every reader returns and every writer takes, the results of
// reading and writing, and telling the formats apart by their signatures.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <variant>
#include <vector>

#include "platform/rtl/Types.h"

namespace codecs {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;

// No reader allocates a picture beyond these, whatever a header claims: 64 Mi pixels is 256 MiB of
// pixels, far more than any picture this program shows.
inline constexpr int MaxImageDimension = 65535;
inline constexpr std::int64_t MaxImagePixels = std::int64_t{1} << 26;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, top row first, 0xAARRGGBB, alpha not premultiplied
    bool hasAlpha = false;              // alpha carries meaning; when false every pixel's alpha is 0xFF
    int bitsPerPixel = 32;              // depth of the source; for BMP 15 is 16-bit 5-5-5 and 16 is 5-6-5
    std::vector<std::uint32_t> palette; // the source's colour table (0xAARRGGBB), empty when it had none

    bool Empty() const { return width <= 0 || height <= 0; }
    std::uint32_t Pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    void SetPixel(int x, int y, std::uint32_t argb) {
        pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
            argb;
    }
};

// An opaque picture of the given size filled with one colour (alpha forced to 0xFF).
Image MakeImage(int width, int height, std::uint32_t rgb);

enum class CodecErrorKind {
    NotThisFormat,   // the signature is not the reader's
    Truncated,       // the data ends before the picture does
    Corrupt,         // the data contradicts itself or the format
    TooLarge,        // beyond MaxImageDimension or MaxImagePixels, or larger than its data can describe
    Unsupported,     // a valid variant this reader does not handle (a BMP holding a JPEG, ...)
    InvalidArgument, // a writer was given a picture or options it cannot write
};

struct CodecError {
    CodecErrorKind kind = CodecErrorKind::Corrupt;
    String message; // the framework's text for this failure, ready to be raised
};

// The picture (or file) a codec produced, or why it could not.
template <typename T> class Result {
public:
    Result(T value) : FValue(std::move(value)) {}
    Result(CodecError error) : FValue(std::move(error)) {}

    bool Ok() const { return FValue.index() == 0; }
    explicit operator bool() const { return Ok(); }
    // Value and Error throw std::bad_variant_access when asked for the other one.
    T& Value() { return std::get<0>(FValue); }
    const T& Value() const { return std::get<0>(FValue); }
    const CodecError& Error() const { return std::get<1>(FValue); }

private:
    std::variant<T, CodecError> FValue;
};

enum class ImageFormat { Unknown, Bmp, Png, Jpeg, Gif, Ico, Cur };

// The format of a file from its first bytes only; Unknown when no signature matches.
ImageFormat DetectImageFormat(ByteSpan data);

} // namespace codecs
