// The decoded picture's helpers and the signatures that tell the formats apart.
#include "platform/codecs/Image.h"

#include <algorithm>
#include <initializer_list>

namespace codecs {

Image MakeImage(int width, int height, std::uint32_t rgb) {
    Image image;
    image.width = std::max(width, 0);
    image.height = std::max(height, 0);
    image.bitsPerPixel = 24;
    image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                        rgb | 0xFF000000u);
    return image;
}

namespace {

bool StartsWith(ByteSpan data, std::initializer_list<std::uint8_t> signature) {
    return data.size() >= signature.size() && std::equal(signature.begin(), signature.end(), data.begin());
}

} // namespace

ImageFormat DetectImageFormat(ByteSpan data) {
    if (StartsWith(data, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}))
        return ImageFormat::Png;
    if (StartsWith(data, {0xFF, 0xD8, 0xFF}))
        return ImageFormat::Jpeg;
    if (StartsWith(data, {'G', 'I', 'F', '8', '7', 'a'}) || StartsWith(data, {'G', 'I', 'F', '8', '9', 'a'}))
        return ImageFormat::Gif;
    if (StartsWith(data, {'B', 'M'}))
        return ImageFormat::Bmp;
    // Icons and cursors share a header: reserved 0, type 1 or 2, and at least one image.
    if (data.size() >= 6 && data[0] == 0 && data[1] == 0 && data[3] == 0 && (data[4] != 0 || data[5] != 0)) {
        if (data[2] == 1)
            return ImageFormat::Ico;
        if (data[2] == 2)
            return ImageFormat::Cur;
    }
    return ImageFormat::Unknown;
}

} // namespace codecs
