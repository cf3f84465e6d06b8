// Reading and writing PNG files.
#pragma once

#include "platform/codecs/Image.h"

namespace codecs {

// Reads every colour type and bit depth, interlaced or not; 16-bit samples are scaled to 8 bits,
// and a tRNS chunk becomes alpha. The image's bitsPerPixel is the file's bits per pixel (8 for
// 8-bit palette, 48 for 16-bit RGB ...), its palette the PLTE entries with their tRNS alpha, and
// hasAlpha says whether the file has an alpha channel or a tRNS chunk. Errors carry the PNG image
// class's texts (EPNGUnexpectedEndText for a cut file, EPngInvalidCRCText, ...).
Result<Image> DecodePng(ByteSpan data);

struct PngWriteOptions {
    int bitsPerPixel = 0; // 24 (RGB) or 32 (RGBA); 0 chooses 32 when the image has alpha, else 24
};

Result<Bytes> EncodePng(const Image& image, const PngWriteOptions& options = {});

} // namespace codecs
