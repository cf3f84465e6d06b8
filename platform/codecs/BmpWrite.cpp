// Writing BMP files: packing rows at every depth and the RLE4 and RLE8 encoders.
#include "platform/codecs/Bmp.h"

#include "platform/codecs/Bytes.h"
#include "platform/codecs/Dib.h"
#include "platform/codecs/Quantize.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace detail {

Bytes PackDibRows(const Image& image, int depth, const std::vector<std::uint8_t>& indices, bool topDown) {
    const int bitCount = depth == 15 ? 16 : depth;
    const std::size_t stride = DibStride(image.width, bitCount);
    Bytes out(stride * static_cast<std::size_t>(image.height), 0);
    for (int row = 0; row < image.height; ++row) {
        const int y = topDown ? row : image.height - 1 - row;
        std::uint8_t* line = out.data() + stride * static_cast<std::size_t>(row);
        const std::size_t first = static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixels[first + static_cast<std::size_t>(x)];
            const std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            switch (depth) {
            case 1:
            case 4:
            case 8: {
                std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(depth);
                line[bit / 8] |= static_cast<std::uint8_t>(indices[first + static_cast<std::size_t>(x)]
                                                           << (8 - depth - static_cast<int>(bit % 8)));
                break;
            }
            case 15:
            case 16: {
                std::uint32_t v = depth == 15 ? ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)
                                              : ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
                line[2 * x] = static_cast<std::uint8_t>(v);
                line[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                break;
            }
            default: {
                const int bytes = depth / 8;
                std::uint8_t* q = line + bytes * x;
                q[0] = static_cast<std::uint8_t>(b);
                q[1] = static_cast<std::uint8_t>(g);
                q[2] = static_cast<std::uint8_t>(r);
                if (bytes == 4)
                    q[3] = image.hasAlpha ? static_cast<std::uint8_t>(p >> 24) : 0;
                break;
            }
            }
        }
    }
    return out;
}

Bytes PackMaskRows(const Image& image) {
    const std::size_t stride = DibStride(image.width, 1);
    Bytes out(stride * static_cast<std::size_t>(image.height), 0);
    if (!image.hasAlpha)
        return out;
    for (int row = 0; row < image.height; ++row) {
        const int y = image.height - 1 - row;
        for (int x = 0; x < image.width; ++x)
            if ((image.Pixel(x, y) >> 24) < 128)
                out[stride * static_cast<std::size_t>(row) + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return out;
}

namespace {

// Length of the run of equal pixels starting at i, at most limit.
int RunLength(const std::uint8_t* row, int i, int width, int limit) {
    int run = 1;
    while (i + run < width && run < limit && row[i + run] == row[i])
        ++run;
    return run;
}

// One row in RLE8 or RLE4: runs of two or more equal pixels are encoded, stretches without such runs
// go in absolute mode (which needs at least three pixels), and the row ends with an end-of-line mark.
void EncodeRleRow(const std::uint8_t* row, int width, bool rle8, Bytes& out) {
    int i = 0;
    while (i < width) {
        int run = RunLength(row, i, width, 255);
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(run));
            out.push_back(rle8 ? row[i] : static_cast<std::uint8_t>((row[i] << 4) | row[i]));
            i += run;
            continue;
        }
        int j = i;
        while (j < width && j - i < 255 && RunLength(row, j, width, 3) < 3)
            ++j;
        const int count = j - i;
        if (count < 3) {
            for (int k = i; k < j; ++k) {
                out.push_back(1);
                out.push_back(rle8 ? row[k] : static_cast<std::uint8_t>(row[k] << 4));
            }
        } else {
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(count));
            std::size_t bytes = 0;
            if (rle8) {
                out.insert(out.end(), row + i, row + j);
                bytes = static_cast<std::size_t>(count);
            } else {
                for (int k = i; k < j; k += 2) {
                    std::uint8_t high = row[k];
                    std::uint8_t low = k + 1 < j ? row[k + 1] : 0;
                    out.push_back(static_cast<std::uint8_t>((high << 4) | low));
                    ++bytes;
                }
            }
            if (bytes % 2 != 0)
                out.push_back(0);
        }
        i = j;
    }
    out.push_back(0);
    out.push_back(0);
}

Bytes EncodeRle(const Image& image, const std::vector<std::uint8_t>& indices, bool rle8) {
    Bytes out;
    for (int row = 0; row < image.height; ++row) {
        const int y = image.height - 1 - row;
        EncodeRleRow(indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width),
                     image.width, rle8, out);
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

bool IsBmpDepth(int depth) {
    return depth == 1 || depth == 4 || depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

} // namespace

} // namespace detail

Result<Bytes> EncodeBmp(const Image& image, const BmpWriteOptions& options) {
    using namespace detail;
    const CodecError invalid{CodecErrorKind::InvalidArgument, Consts::SInvalidBitmap};
    if (image.Empty() || !FitsLimits(image.width, image.height) ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return invalid;
    int depth = options.bitsPerPixel;
    if (depth == 0)
        depth = IsBmpDepth(image.bitsPerPixel) ? image.bitsPerPixel : (image.hasAlpha ? 32 : 24);
    if (!IsBmpDepth(depth))
        return invalid;
    const bool rle = options.compression == BmpCompression::Rle;
    const bool topDown = options.rowOrder == BmpRowOrder::TopDown;
    if (rle && (topDown || (depth != 4 && depth != 8)))
        return invalid;

    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> indices;
    if (depth <= 8) {
        const std::size_t maxEntries = std::size_t{1} << depth;
        if (!image.palette.empty() && image.palette.size() <= maxEntries) {
            palette = image.palette;
            indices = MapToPalette(image, palette);
        } else {
            IndexedImage reduced = QuantizeImage(image, static_cast<int>(maxEntries), false);
            palette = std::move(reduced.palette);
            indices = std::move(reduced.indices);
        }
    }
    const Bytes bits =
        rle ? EncodeRle(image, indices, depth == 8) : PackDibRows(image, depth, indices, topDown);
    const std::uint32_t compression =
        rle ? (depth == 8 ? BI_RLE8 : BI_RLE4) : (depth == 16 ? BI_BITFIELDS : BI_RGB);
    const std::size_t masksSize = compression == BI_BITFIELDS ? 12 : 0;
    const std::size_t offBits = BitmapFileHeaderSize + BitmapInfoHeaderSize + masksSize + palette.size() * 4;

    Bytes out;
    out.reserve(offBits + bits.size());
    ByteWriter w(out);
    w.U8('B');
    w.U8('M');
    w.U32(static_cast<std::uint32_t>(offBits + bits.size()));
    w.U32(0);
    w.U32(static_cast<std::uint32_t>(offBits));
    w.U32(BitmapInfoHeaderSize);
    w.I32(image.width);
    w.I32(topDown ? -image.height : image.height);
    w.U16(1);
    w.U16(static_cast<std::uint32_t>(depth == 15 ? 16 : depth));
    w.U32(compression);
    w.U32(static_cast<std::uint32_t>(bits.size()));
    w.U32(0); // resolution: not known
    w.U32(0);
    w.U32(static_cast<std::uint32_t>(palette.size()));
    w.U32(0);
    if (compression == BI_BITFIELDS) {
        w.U32(0xF800);
        w.U32(0x07E0);
        w.U32(0x001F);
    }
    for (std::uint32_t c : palette) {
        w.U8(c);
        w.U8(c >> 8);
        w.U8(c >> 16);
        w.U8(0);
    }
    w.Append(bits);
    return out;
}

} // namespace codecs
