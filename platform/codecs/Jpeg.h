// Reading and writing JPEG files.
#pragma once

#include "platform/codecs/Image.h"

namespace codecs {

// Reads baseline and progressive files in colour, grayscale and CMYK (Adobe's inverted CMYK too).
// The image is opaque; its bitsPerPixel is 8 for grayscale, 24 for colour and 32 for CMYK.
// Errors carry "JPEG error #%d" with the decoder's message number. A cut file, or a scan that ends
// before its picture does, is an error (Truncated), not a picture with a grey bottom. Arithmetic-coded
// files are Unsupported; a header claiming more pixels than the data can hold is TooLarge.
Result<Image> DecodeJpeg(ByteSpan data);

struct JpegWriteOptions {
    int quality = 90;         // 1..100
    bool grayscale = false;   // store one grey channel
    bool progressive = false; // store the picture in successive scans of growing detail
};

// Writes a JFIF file; alpha is dropped.
Result<Bytes> EncodeJpeg(const Image& image, const JpegWriteOptions& options = {});

} // namespace codecs
