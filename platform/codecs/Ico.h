// Reading icon and cursor files and writing icon files.
#pragma once

#include <span>

#include "platform/codecs/Image.h"

namespace codecs {

struct IconImage {
    Image image;
    int hotSpotX = 0; // cursors only: the pixel that points
    int hotSpotY = 0;
    bool png = false; // stored PNG-compressed
};

struct IconFile {
    bool cursor = false;
    std::vector<IconImage> images; // in the order of the file's directory
};

// Reads an ICO or CUR file: every image, as a DIB of 1, 4, 8, 24 or 32 bits with its AND mask or as
// a PNG. Pixels the mask marks are transparent (hasAlpha); a 32-bit image with alpha keeps its own.
// Errors carry SInvalidIcon, for a bad image inside the file too.
Result<IconFile> DecodeIco(ByteSpan data);

// Writes an ICO file with one entry per image (each 1 to 256 pixels a side), at the image's depth
// when an icon has it (1, 4, 8, 24, 32; else 32 with alpha, 24 without). Pixels with alpha below 128
// are masked out; 256-pixel 32-bit images are stored as PNG, as current systems store them.
Result<Bytes> EncodeIco(std::span<const Image> images);

} // namespace codecs
