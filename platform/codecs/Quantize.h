// Reducing full-colour pictures to a colour table of at most 256 entries, for the writers of palette
// formats (BMP up to 8 bits, GIF, icons). Not part of the codecs' public interface.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/codecs/Image.h"

namespace codecs::detail {

struct IndexedImage {
    std::vector<std::uint32_t> palette; // opaque entries 0xFFRRGGBB; the transparent entry is 0
    std::vector<std::uint8_t> indices;  // one per pixel, top row first
    int transparentIndex = -1;          // entry that stands for pixels with alpha below 128, or -1
};

// Keeps the picture's own colours when they fit in maxColours (1..256); otherwise maps every pixel to
// the nearest colour of a fixed table (a 6x7x6 colour cube, the 16 standard colours, or black and
// white, whichever fits). With allowTransparency and a picture that has alpha, pixels with alpha below
// 128 share one extra entry, which counts against maxColours.
IndexedImage QuantizeImage(const Image& image, int maxColours, bool allowTransparency);

// Maps every pixel to the given table (its alpha ignored): the first entry of the exact colour, else
// the nearest one. The table must not be empty.
std::vector<std::uint8_t> MapToPalette(const Image& image, std::span<const std::uint32_t> palette);

} // namespace codecs::detail
