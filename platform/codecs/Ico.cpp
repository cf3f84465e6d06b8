// Icon and cursor files: the directory, DIB and PNG entries, AND masks and hot spots.
#include "platform/codecs/Ico.h"

#include <algorithm>

#include "platform/codecs/Bytes.h"
#include "platform/codecs/Dib.h"
#include "platform/codecs/Png.h"
#include "platform/codecs/Quantize.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace {

using detail::ByteReader;
using detail::DecodeFailure;
using detail::Fail;

constexpr std::size_t DirectorySize = 6;
constexpr std::size_t EntrySize = 16;
constexpr int MaxIconSide = 256;

bool IsPng(ByteSpan data) {
    static constexpr std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data.size() >= 8 && std::equal(std::begin(Signature), std::end(Signature), data.begin());
}

Image ReadEntry(ByteSpan entry, bool& png) {
    png = IsPng(entry);
    if (png) {
        Result<Image> decoded = DecodePng(entry);
        if (!decoded)
            Fail(decoded.Error().kind, Consts::SInvalidIcon);
        return std::move(decoded.Value());
    }
    try {
        return detail::ReadDib(entry, 0, detail::DibUse::Icon);
    } catch (const DecodeFailure& failure) {
        Fail(failure.error.kind, Consts::SInvalidIcon);
    }
}

bool IsIconDepth(int depth) {
    return depth == 1 || depth == 4 || depth == 8 || depth == 24 || depth == 32;
}

bool AnyTransparent(const Image& image) {
    return image.hasAlpha && std::any_of(image.pixels.begin(), image.pixels.end(),
                                         [](std::uint32_t p) { return (p >> 24) < 128; });
}

// One image as an icon DIB: header (its height counting the mask too), table, colour rows, mask.
Bytes IconDib(const Image& image, int depth) {
    // Masked pixels must be black in the colour rows, or the screen behind them is inverted.
    Image colours = image;
    const bool masked = AnyTransparent(image);
    if (depth < 32) {
        for (std::uint32_t& p : colours.pixels)
            p = (image.hasAlpha && (p >> 24) < 128) ? 0xFF000000u : (p | 0xFF000000u);
        colours.hasAlpha = false;
    } else if (!image.hasAlpha) {
        colours.hasAlpha = true; // alpha bytes of 0xFF, so that no reader takes the icon as invisible
    }

    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> indices;
    if (depth <= 8) {
        const std::size_t maxEntries = std::size_t{1} << depth;
        const bool hasBlack = std::any_of(image.palette.begin(), image.palette.end(),
                                          [](std::uint32_t c) { return (c & 0xFFFFFF) == 0; });
        if (!image.palette.empty() && image.palette.size() <= maxEntries && (!masked || hasBlack)) {
            palette = image.palette;
            indices = detail::MapToPalette(colours, palette);
        } else {
            detail::IndexedImage reduced =
                detail::QuantizeImage(colours, static_cast<int>(maxEntries), false);
            palette = std::move(reduced.palette);
            indices = std::move(reduced.indices);
        }
    }
    const Bytes rows = detail::PackDibRows(colours, depth, indices, false);
    const Bytes mask = detail::PackMaskRows(image);

    Bytes out;
    detail::ByteWriter w(out);
    w.U32(detail::BitmapInfoHeaderSize);
    w.I32(image.width);
    w.I32(image.height * 2);
    w.U16(1);
    w.U16(static_cast<std::uint32_t>(depth));
    w.U32(detail::BI_RGB);
    w.U32(static_cast<std::uint32_t>(rows.size() + mask.size()));
    w.U32(0);
    w.U32(0);
    w.U32(static_cast<std::uint32_t>(palette.size()));
    w.U32(0);
    for (std::uint32_t c : palette) {
        w.U8(c);
        w.U8(c >> 8);
        w.U8(c >> 16);
        w.U8(0);
    }
    w.Append(rows);
    w.Append(mask);
    return out;
}

} // namespace

Result<IconFile> DecodeIco(ByteSpan data) {
    return detail::Guarded<IconFile>(Consts::SInvalidIcon, [&] {
        ByteReader reader(data, Consts::SInvalidIcon);
        if (data.size() < DirectorySize)
            Fail(CodecErrorKind::NotThisFormat, Consts::SInvalidIcon);
        const std::uint16_t reserved = reader.U16();
        const std::uint16_t type = reader.U16();
        if (reserved != 0 || (type != 1 && type != 2))
            Fail(CodecErrorKind::NotThisFormat, Consts::SInvalidIcon);
        const std::uint16_t count = reader.U16();
        if (count == 0)
            Fail(CodecErrorKind::Corrupt, Consts::SInvalidIcon);
        reader.Need(EntrySize * count);

        IconFile file;
        file.cursor = type == 2;
        // Entries may share their data; the limit applies to what is decoded, not to the file.
        std::int64_t totalPixels = 0;
        for (std::uint16_t i = 0; i < count; ++i) {
            reader.Seek(DirectorySize + EntrySize * i);
            reader.Skip(4); // width, height, colours, reserved: the image's own header says
            const std::uint16_t hotSpotX = reader.U16();
            const std::uint16_t hotSpotY = reader.U16();
            const std::uint32_t size = reader.U32();
            const std::uint32_t offset = reader.U32();
            if (std::uint64_t{offset} + size > data.size())
                Fail(CodecErrorKind::Truncated, Consts::SInvalidIcon);
            IconImage icon;
            icon.image = ReadEntry(data.subspan(offset, size), icon.png);
            totalPixels += std::int64_t{icon.image.width} * icon.image.height;
            if (totalPixels > MaxImagePixels)
                Fail(CodecErrorKind::TooLarge, Consts::SInvalidIcon);
            if (file.cursor) {
                icon.hotSpotX = hotSpotX;
                icon.hotSpotY = hotSpotY;
            }
            file.images.push_back(std::move(icon));
        }
        return file;
    });
}

Result<Bytes> EncodeIco(std::span<const Image> images) {
    const CodecError invalid{CodecErrorKind::InvalidArgument, Consts::SInvalidIcon};
    if (images.empty() || images.size() > 0xFFFF)
        return invalid;
    for (const Image& image : images)
        if (image.Empty() || image.width > MaxIconSide || image.height > MaxIconSide ||
            image.pixels.size() !=
                static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
            return invalid;
    try {
        std::vector<Bytes> entries;
        std::vector<int> depths;
        for (const Image& image : images) {
            int depth = IsIconDepth(image.bitsPerPixel) ? image.bitsPerPixel : (image.hasAlpha ? 32 : 24);
            depths.push_back(depth);
            if (depth == 32 && (image.width == MaxIconSide || image.height == MaxIconSide)) {
                Result<Bytes> png = EncodePng(image, PngWriteOptions{32});
                if (!png)
                    return CodecError{png.Error().kind, Consts::SInvalidIcon};
                entries.push_back(std::move(png.Value()));
            } else {
                entries.push_back(IconDib(image, depth));
            }
        }

        Bytes out;
        detail::ByteWriter w(out);
        w.U16(0);
        w.U16(1);
        w.U16(static_cast<std::uint32_t>(images.size()));
        std::size_t offset = DirectorySize + EntrySize * images.size();
        for (std::size_t i = 0; i < images.size(); ++i) {
            const Image& image = images[i];
            // A side of 256 is stored as 0; a colour count only below 8 bits.
            w.U8(static_cast<std::uint32_t>(image.width) & 0xFF);
            w.U8(static_cast<std::uint32_t>(image.height) & 0xFF);
            w.U8(depths[i] < 8 ? 1u << depths[i] : 0u);
            w.U8(0);
            w.U16(1);
            w.U16(static_cast<std::uint32_t>(depths[i]));
            w.U32(static_cast<std::uint32_t>(entries[i].size()));
            w.U32(static_cast<std::uint32_t>(offset));
            offset += entries[i].size();
        }
        for (const Bytes& entry : entries)
            w.Append(entry);
        return Result<Bytes>(std::move(out));
    } catch (const std::bad_alloc&) {
        return CodecError{CodecErrorKind::TooLarge, Consts::SInvalidIcon};
    }
}

} // namespace codecs
