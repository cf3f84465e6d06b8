// One fuzz input of a picture reader, shared by the fuzz targets and the test that replays their kept
// crash inputs: the bytes are read as one format, a picture that reads must keep the promises of Image,
// and it must write and read back in the same format at the same size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Image.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"

namespace codec_fuzz {

using codecs::ImageFormat;

// Within the readers' limits, with one pixel for each place, and opaque unless it says it has alpha.
inline bool Sound(const codecs::Image& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > codecs::MaxImageDimension ||
        image.height > codecs::MaxImageDimension ||
        std::int64_t{image.width} * image.height > codecs::MaxImagePixels ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return false;
    if (!image.hasAlpha)
        for (std::uint32_t pixel : image.pixels)
            if ((pixel >> 24) != 0xFF)
                return false;
    return true;
}

// Writing is checked on pictures of a size a fuzzer can write many of in a second.
inline bool SmallEnough(const codecs::Image& image) {
    return std::int64_t{image.width} * image.height <= 256 * 256;
}

template <typename Decode>
bool WritesBack(const codecs::Result<codecs::Bytes>& written, Decode decode, const codecs::Image& image) {
    if (!written)
        return false;
    auto again = decode(codecs::ByteSpan(written.Value()));
    return again && again.Value().width == image.width && again.Value().height == image.height;
}

inline bool CheckBmp(codecs::ByteSpan data) {
    for (bool dib : {false, true}) {
        auto read = dib ? codecs::DecodeDib(data) : codecs::DecodeBmp(data);
        if (!read)
            continue;
        const codecs::Image& image = read.Value();
        if (!Sound(image))
            return false;
        if (SmallEnough(image) && !WritesBack(codecs::EncodeBmp(image), codecs::DecodeBmp, image))
            return false;
    }
    return true;
}

// The file with the checksum of every whole chunk made right, so that a fuzzer's changes reach what
// the chunks hold instead of stopping at the checksum.
inline codecs::Bytes WithPngCrcsRepaired(codecs::ByteSpan data) {
    codecs::Bytes file(data.begin(), data.end());
    std::uint32_t table[256];
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = (std::size_t{file[at]} << 24) | (std::size_t{file[at + 1]} << 16) |
                                   (std::size_t{file[at + 2]} << 8) | file[at + 3];
        if (length > file.size() - at - 12)
            break;
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t i = at + 4; i < at + 8 + length; ++i)
            crc = table[(crc ^ file[i]) & 0xFF] ^ (crc >> 8);
        crc ^= 0xFFFFFFFFu;
        for (int i = 0; i < 4; ++i)
            file[at + 8 + length + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
    return file;
}

inline bool CheckPngFile(codecs::ByteSpan data) {
    auto read = codecs::DecodePng(data);
    if (!read)
        return true;
    const codecs::Image& image = read.Value();
    if (!Sound(image))
        return false;
    if (!SmallEnough(image))
        return true;
    // PNG is lossless: the picture written must read back pixel for pixel.
    auto written = codecs::EncodePng(image);
    if (!written)
        return false;
    auto again = codecs::DecodePng(codecs::ByteSpan(written.Value()));
    return again && again.Value().width == image.width && again.Value().height == image.height &&
           again.Value().pixels == image.pixels;
}

inline bool CheckPng(codecs::ByteSpan data) {
    const codecs::Bytes repaired = WithPngCrcsRepaired(data);
    return CheckPngFile(data) && CheckPngFile(codecs::ByteSpan(repaired));
}

inline bool CheckJpeg(codecs::ByteSpan data) {
    auto read = codecs::DecodeJpeg(data);
    if (!read)
        return true;
    const codecs::Image& image = read.Value();
    if (!Sound(image) || image.hasAlpha)
        return false;
    return !SmallEnough(image) || WritesBack(codecs::EncodeJpeg(image), codecs::DecodeJpeg, image);
}

inline bool CheckGif(codecs::ByteSpan data) {
    auto read = codecs::DecodeGif(data);
    if (!read)
        return true;
    const codecs::GifFile& file = read.Value();
    if (file.frames.empty() || file.width <= 0 || file.height <= 0)
        return false;
    for (const codecs::GifFrame& frame : file.frames)
        if (frame.width < 0 || frame.height < 0 ||
            frame.indices.size() !=
                static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height))
            return false;
    // Every frame composed one after another, then the last one again from the start.
    codecs::GifComposer composer(file);
    for (int i = 0; i < composer.FrameCount(); ++i) {
        const codecs::Image& screen = composer.Frame(i);
        if (screen.width != file.width || screen.height != file.height || !Sound(screen))
            return false;
    }
    const codecs::Image first = composer.Frame(0);
    if (!SmallEnough(first))
        return true;
    codecs::GifWriteFrame frame{first};
    auto written = codecs::EncodeGif(std::span<const codecs::GifWriteFrame>(&frame, 1));
    if (!written)
        return false;
    auto again = codecs::DecodeGif(codecs::ByteSpan(written.Value()));
    return again && again.Value().width == first.width && again.Value().height == first.height;
}

inline bool CheckIco(codecs::ByteSpan data) {
    auto read = codecs::DecodeIco(data);
    if (!read)
        return true;
    const codecs::IconFile& file = read.Value();
    if (file.images.empty())
        return false;
    std::vector<codecs::Image> images;
    for (const codecs::IconImage& icon : file.images) {
        if (!Sound(icon.image))
            return false;
        if (icon.image.width <= 256 && icon.image.height <= 256)
            images.push_back(icon.image);
    }
    if (images.empty())
        return true;
    auto written = codecs::EncodeIco(images);
    if (!written)
        return false;
    auto again = codecs::DecodeIco(codecs::ByteSpan(written.Value()));
    return again && again.Value().images.size() == images.size();
}

// Reads the input as the format; false when the reader broke one of its promises.
inline bool ReadCodecFuzzInput(ImageFormat format, const std::uint8_t* data, std::size_t size) {
    const codecs::ByteSpan bytes(data, size);
    codecs::DetectImageFormat(bytes);
    switch (format) {
    case ImageFormat::Bmp:
        return CheckBmp(bytes);
    case ImageFormat::Png:
        return CheckPng(bytes);
    case ImageFormat::Jpeg:
        return CheckJpeg(bytes);
    case ImageFormat::Gif:
        return CheckGif(bytes);
    case ImageFormat::Ico:
    case ImageFormat::Cur:
        return CheckIco(bytes);
    case ImageFormat::Unknown:
        break;
    }
    return true;
}

// The format a kept input is read as, from its file name's extension.
inline ImageFormat FormatOfExtension(std::string_view extension) {
    if (extension == ".bmp" || extension == ".dib")
        return ImageFormat::Bmp;
    if (extension == ".png")
        return ImageFormat::Png;
    if (extension == ".jpg")
        return ImageFormat::Jpeg;
    if (extension == ".gif")
        return ImageFormat::Gif;
    if (extension == ".ico" || extension == ".cur")
        return ImageFormat::Ico;
    return ImageFormat::Unknown;
}

} // namespace codec_fuzz
