// Device-independent bitmaps as they are stored in BMP files and inside icons: the reading and the
// row packing that the BMP and ICO codecs share. Not part of the codecs' public interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/codecs/Image.h"

namespace codecs::detail {

enum class DibUse {
    Bitmap, // a BMP file or a packed DIB
    Icon,   // an icon image: the header's height counts the colour rows and the AND mask's rows
};

// Compression values of the info header.
inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;
inline constexpr std::uint32_t BI_JPEG = 4;
inline constexpr std::uint32_t BI_PNG = 5;
inline constexpr std::uint32_t BI_ALPHABITFIELDS = 6;

inline constexpr std::size_t BitmapFileHeaderSize = 14;
inline constexpr std::size_t BitmapInfoHeaderSize = 40;

// Reads a DIB that starts with its info header. bitsOffset is where the pixel bits start, counted from
// the header; 0 means right after the colour table. Throws DecodeFailure with SInvalidBitmap.
// Pixels an RLE image skips take the colour of the first table entry. For icons, pixels the AND mask
// marks become transparent unless a 32-bit image carries its own alpha.
Image ReadDib(ByteSpan data, std::size_t bitsOffset, DibUse use);

// Bytes of one row at a depth, padded to 4 bytes as DIBs store them.
std::size_t DibStride(int width, int bitCount);

// The colour rows of a picture at a depth, bottom row first unless topDown. For 1, 4 and 8 bits the
// pixels are the given table indices. 15 writes 5-5-5 and 16 writes 5-6-5 in 16 bits; 32 writes the
// alpha byte when the picture has alpha and 0 otherwise.
Bytes PackDibRows(const Image& image, int depth, const std::vector<std::uint8_t>& indices, bool topDown);

// An icon's AND mask, bottom row first: 1 where the pixel's alpha is below 128.
Bytes PackMaskRows(const Image& image);

} // namespace codecs::detail
