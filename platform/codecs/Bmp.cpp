// Reading BMP files and DIBs: the info headers of every version, colour tables, uncompressed rows,
// bit fields and the two RLE schemes.
#include "platform/codecs/Bmp.h"

#include <algorithm>

#include "platform/codecs/Bytes.h"
#include "platform/codecs/Dib.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace detail {

namespace {

constexpr std::size_t CoreHeaderSize = 12;
constexpr std::size_t Os2HeaderSize = 64;

struct DibHeader {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // rows of the colour image (an icon's mask rows taken off)
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t sizeImage = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    bool hasMasks = false;
    std::size_t entrySize = 4; // bytes of one colour-table entry: 3 in OS/2 core headers
};

[[noreturn]] void Invalid(CodecErrorKind kind) {
    Fail(kind, Consts::SInvalidBitmap);
}

DibHeader ReadHeader(ByteReader& reader, DibUse use) {
    DibHeader h;
    h.size = reader.U32();
    bool os2 = false;
    if (h.size == CoreHeaderSize) {
        h.width = reader.U16();
        h.height = reader.U16();
        reader.U16(); // planes
        h.bitCount = reader.U16();
        h.entrySize = 3;
    } else if (h.size >= 16) {
        // OS/2 2.x headers are 16 to 64 bytes long and may stop after any field; they share the
        // layout of the Windows header as far as it goes, but number their compressions differently.
        os2 = h.size <= Os2HeaderSize && h.size != 40 && h.size != 52 && h.size != 56;
        if (h.size % 4 != 0 && os2)
            Invalid(CodecErrorKind::Corrupt);
        reader.Need(h.size - 4);
        h.width = reader.I32();
        std::int64_t height = reader.I32();
        reader.U16(); // planes
        h.bitCount = reader.U16();
        std::uint32_t fields[6] = {0, 0, 0,
                                   0, 0, 0}; // compression, size, x and y resolution, colours used, important
        for (std::size_t i = 0; i < 6 && 16 + 4 * i < h.size; ++i)
            fields[i] = reader.U32();
        h.compression = fields[0];
        h.sizeImage = fields[1];
        h.colorsUsed = fields[4];
        if (height < 0) {
            h.topDown = true;
            height = -height;
        }
        h.height = height;
        if (os2 && h.compression > BI_RLE4)
            Invalid(CodecErrorKind::Unsupported); // OS/2 Huffman 1D and RLE24
        if (!os2 && h.size >= 52) {
            for (std::size_t i = 0; i < 3; ++i)
                h.masks[i] = reader.U32();
            if (h.size >= 56)
                h.masks[3] = reader.U32();
        }
        reader.Seek(h.size);
        if (!os2 && h.size == BitmapInfoHeaderSize &&
            (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS)) {
            for (std::size_t i = 0; i < 3; ++i)
                h.masks[i] = reader.U32();
            if (h.compression == BI_ALPHABITFIELDS)
                h.masks[3] = reader.U32();
        }
        h.hasMasks = h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS;
    } else {
        Invalid(CodecErrorKind::Corrupt);
    }

    if (use == DibUse::Icon)
        h.height /= 2;
    if (h.compression == BI_JPEG || h.compression == BI_PNG || h.compression > BI_ALPHABITFIELDS)
        Invalid(CodecErrorKind::Unsupported);
    if (h.width <= 0 || h.height <= 0)
        Invalid(CodecErrorKind::Corrupt);
    if (!FitsLimits(h.width, h.height))
        Invalid(CodecErrorKind::TooLarge);
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Invalid(CodecErrorKind::Corrupt);
    }
    bool fits = (h.compression == BI_RGB) || (h.compression == BI_RLE8 && h.bitCount == 8) ||
                (h.compression == BI_RLE4 && h.bitCount == 4) ||
                (h.hasMasks && (h.bitCount == 16 || h.bitCount == 32));
    if (!fits)
        Invalid(CodecErrorKind::Corrupt);
    // RLE rows always run bottom-up; a top-down RLE bitmap is not valid.
    if (h.topDown && (h.compression == BI_RLE8 || h.compression == BI_RLE4))
        Invalid(CodecErrorKind::Corrupt);
    return h;
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (mask == 0)
            return;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        max = mask >> shift;
    }
    std::uint32_t operator()(std::uint32_t value) const {
        if (mask == 0)
            return 0;
        std::uint64_t v = (value & mask) >> shift;
        return static_cast<std::uint32_t>(std::min<std::uint64_t>((v * 255 + max / 2) / max, 255));
    }
};

class DibDecoder {
public:
    DibDecoder(const DibHeader& header, Image& image) : FHeader(header), FImage(image) {}

    void ReadRows(ByteReader& reader) {
        const std::size_t stride = DibStride(static_cast<int>(FHeader.width), FHeader.bitCount);
        reader.Need(stride * static_cast<std::size_t>(FHeader.height));
        if (FHeader.bitCount <= 8)
            ReadIndexedRows(reader, stride);
        else
            ReadColourRows(reader, stride);
    }

    void ReadRle(ByteReader& reader);
    void ApplyIconMask(ByteReader& reader);

private:
    std::uint32_t& At(std::int64_t x, std::int64_t fileRow) {
        std::int64_t y = FHeader.topDown ? fileRow : FHeader.height - 1 - fileRow;
        return FImage.pixels[static_cast<std::size_t>(y * FHeader.width + x)];
    }
    std::uint32_t Colour(std::uint32_t index) const {
        // GDI shows an index beyond the table as black.
        return index < FImage.palette.size() ? FImage.palette[index] : 0xFF000000u;
    }

    void ReadIndexedRows(ByteReader& reader, std::size_t stride) {
        const int bits = FHeader.bitCount;
        const std::uint32_t valueMask = (1u << bits) - 1;
        for (std::int64_t row = 0; row < FHeader.height; ++row) {
            ByteSpan line = reader.Take(stride);
            for (std::int64_t x = 0; x < FHeader.width; ++x) {
                std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bits);
                std::uint32_t byte = line[bit / 8];
                std::uint32_t index = (byte >> (8 - bits - static_cast<int>(bit % 8))) & valueMask;
                At(x, row) = Colour(index);
            }
        }
    }

    void ReadColourRows(ByteReader& reader, std::size_t stride) {
        std::uint32_t masks[4];
        std::copy(std::begin(FHeader.masks), std::end(FHeader.masks), masks);
        if (!FHeader.hasMasks) {
            if (FHeader.bitCount == 16) {
                masks[0] = 0x7C00;
                masks[1] = 0x03E0;
                masks[2] = 0x001F;
                masks[3] = 0;
            } else {
                masks[0] = 0xFF0000;
                masks[1] = 0xFF00;
                masks[2] = 0xFF;
                masks[3] = FHeader.bitCount == 32 ? 0xFF000000u : 0;
            }
        }
        const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
        const int bytes = FHeader.bitCount / 8;
        bool anyAlpha = false;
        for (std::int64_t row = 0; row < FHeader.height; ++row) {
            ByteSpan line = reader.Take(stride);
            for (std::int64_t x = 0; x < FHeader.width; ++x) {
                const std::uint8_t* p = line.data() + x * bytes;
                std::uint32_t value = p[0] | (p[1] << 8);
                if (bytes >= 3)
                    value |= static_cast<std::uint32_t>(p[2]) << 16;
                if (bytes == 4)
                    value |= static_cast<std::uint32_t>(p[3]) << 24;
                std::uint32_t a = alpha(value);
                anyAlpha = anyAlpha || a != 0;
                At(x, row) = Argb(a, red(value), green(value), blue(value));
            }
        }
        // Alpha bytes that are all 0 were never written: the picture is opaque.
        FImage.hasAlpha = anyAlpha;
        if (!anyAlpha)
            for (std::uint32_t& p : FImage.pixels)
                p |= 0xFF000000u;
        if (FHeader.bitCount == 16)
            FImage.bitsPerPixel = (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F) ? 15 : 16;
    }

    const DibHeader& FHeader;
    Image& FImage;
};

void DibDecoder::ReadRle(ByteReader& reader) {
    const bool rle8 = FHeader.compression == BI_RLE8;
    const std::int64_t width = FHeader.width;
    const std::int64_t height = FHeader.height;
    std::fill(FImage.pixels.begin(), FImage.pixels.end(), Colour(0));
    std::int64_t x = 0;
    std::int64_t row = 0;
    auto put = [&](std::uint32_t index) {
        if (x < width && row < height)
            At(x, row) = Colour(index);
        ++x;
    };
    while (row < height) {
        if (reader.Remaining() < 2) {
            // A last row that is complete needs no end marker.
            if (row == height - 1 && x >= width)
                return;
            reader.Truncated();
        }
        std::uint32_t count = reader.U8();
        std::uint32_t value = reader.U8();
        if (count > 0) {
            for (std::uint32_t i = 0; i < count && x < width; ++i)
                put(rle8 ? value : ((i % 2 == 0) ? value >> 4 : value & 0x0F));
            continue;
        }
        switch (value) {
        case 0: // end of line
            x = 0;
            ++row;
            break;
        case 1: // end of bitmap
            return;
        case 2: // move right and up
            x += reader.U8();
            row += reader.U8();
            break;
        default: { // a run of literal pixels, padded to a 16-bit boundary
            std::size_t bytes = rle8 ? value : (value + 1) / 2;
            ByteSpan literal = reader.Take(bytes);
            for (std::uint32_t i = 0; i < value; ++i) {
                std::uint32_t byte = literal[rle8 ? i : i / 2];
                put(rle8 ? byte : ((i % 2 == 0) ? byte >> 4 : byte & 0x0F));
            }
            if (bytes % 2 != 0 && reader.Remaining() > 0)
                reader.Skip(1);
            break;
        }
        }
    }
}

void DibDecoder::ApplyIconMask(ByteReader& reader) {
    // A 32-bit icon with alpha draws by its alpha; the mask matters only to older systems.
    if (FHeader.bitCount == 32 && FImage.hasAlpha)
        return;
    for (std::uint32_t& p : FImage.pixels)
        p |= 0xFF000000u;
    const std::size_t stride = DibStride(static_cast<int>(FHeader.width), 1);
    reader.Need(stride * static_cast<std::size_t>(FHeader.height));
    bool anyTransparent = false;
    for (std::int64_t row = 0; row < FHeader.height; ++row) {
        ByteSpan line = reader.Take(stride);
        for (std::int64_t x = 0; x < FHeader.width; ++x) {
            if ((line[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1) {
                // Where the mask is set the screen shows through (or is inverted by a non-black
                // colour, which a picture with alpha cannot express: it stays transparent).
                At(x, row) = 0;
                anyTransparent = true;
            }
        }
    }
    FImage.hasAlpha = anyTransparent;
}

} // namespace

std::size_t DibStride(int width, int bitCount) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32) * 4;
}

Image ReadDib(ByteSpan data, std::size_t bitsOffset, DibUse use) {
    ByteReader reader(data, Consts::SInvalidBitmap);
    DibHeader header = ReadHeader(reader, use);

    Image image;
    image.width = static_cast<int>(header.width);
    image.height = static_cast<int>(header.height);
    image.bitsPerPixel = header.bitCount;

    const std::size_t tableStart = reader.Position();
    if (bitsOffset != 0 && bitsOffset < tableStart)
        Invalid(CodecErrorKind::Corrupt);
    if (header.bitCount <= 8) {
        std::size_t entries = std::size_t{1} << header.bitCount;
        if (header.colorsUsed != 0)
            entries = std::min<std::size_t>(entries, header.colorsUsed);
        // Some writers store fewer entries than the depth calls for; the bits' offset tells.
        if (bitsOffset != 0)
            entries = std::min(entries, (bitsOffset - tableStart) / header.entrySize);
        image.palette.reserve(entries);
        for (std::size_t i = 0; i < entries; ++i) {
            ByteSpan entry = reader.Take(header.entrySize);
            image.palette.push_back(Argb(0xFF, entry[2], entry[1], entry[0]));
        }
    } else if (bitsOffset == 0) {
        // A table before true-colour bits is optional and only a hint for palette devices.
        reader.Skip(static_cast<std::size_t>(header.colorsUsed) * header.entrySize);
    }
    if (bitsOffset != 0)
        reader.Seek(bitsOffset);

    const bool rle = header.compression == BI_RLE8 || header.compression == BI_RLE4;
    if (!rle) {
        // The rows (and an icon's mask) must be there before the picture is allocated.
        std::size_t rows = DibStride(image.width, header.bitCount);
        if (use == DibUse::Icon && header.bitCount != 32)
            rows += DibStride(image.width, 1);
        reader.Need(rows * static_cast<std::size_t>(header.height));
    }
    image.pixels.assign(static_cast<std::size_t>(header.width * header.height), 0xFF000000u);
    DibDecoder decoder(header, image);
    if (rle) {
        std::size_t length = reader.Remaining();
        if (header.sizeImage != 0)
            length = std::min<std::size_t>(length, header.sizeImage);
        ByteReader rle(reader.Take(length), Consts::SInvalidBitmap);
        decoder.ReadRle(rle);
    } else {
        decoder.ReadRows(reader);
    }
    if (use == DibUse::Icon)
        decoder.ApplyIconMask(reader);
    return image;
}

} // namespace detail

Result<Image> DecodeBmp(ByteSpan data) {
    using namespace detail;
    return Guarded<Image>(Consts::SInvalidBitmap, [&] {
        ByteReader reader(data, Consts::SInvalidBitmap);
        if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
            Fail(CodecErrorKind::NotThisFormat, Consts::SInvalidBitmap);
        reader.Skip(10);
        std::uint32_t offBits = reader.U32();
        ByteSpan dib = data.subspan(BitmapFileHeaderSize);
        // An offset of 0 means "right after the colour table"; one inside the file header is invalid.
        std::size_t bitsOffset = 0;
        if (offBits != 0) {
            if (offBits <= BitmapFileHeaderSize)
                Fail(CodecErrorKind::Corrupt, Consts::SInvalidBitmap);
            bitsOffset = offBits - BitmapFileHeaderSize;
        }
        return ReadDib(dib, bitsOffset, DibUse::Bitmap);
    });
}

Result<Image> DecodeDib(ByteSpan data) {
    return detail::Guarded<Image>(Consts::SInvalidBitmap,
                                  [&] { return detail::ReadDib(data, 0, detail::DibUse::Bitmap); });
}

} // namespace codecs
