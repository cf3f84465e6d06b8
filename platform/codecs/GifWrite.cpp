// Writing GIF files: colour tables, the LZW encoder and the blocks of an animation.
#include "platform/codecs/Gif.h"

#include <algorithm>
#include <new>
#include <string_view>

#include "platform/codecs/Bytes.h"
#include "platform/codecs/Quantize.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace {

constexpr int MaxCodes = 4096;

// Packs codes into bytes, least significant bit first, choosing each code's width exactly as the
// reader will: the reader's table grows by one entry for every code but the first after a clear,
// and it widens its codes when the table reaches the next power of two.
class CodeWriter {
public:
    CodeWriter(int minCodeSize, Bytes& out) : FMinCodeSize(minCodeSize), FOut(out) { Reset(); }

    void Reset() {
        FCodeSize = FMinCodeSize + 1;
        FReaderNext = (1 << FMinCodeSize) + 2;
        FReaderHasPrevious = false;
    }
    void Put(int code) { Emit(code); }
    void PutData(int code) {
        Emit(code);
        if (FReaderHasPrevious && FReaderNext < MaxCodes) {
            ++FReaderNext;
            if (FReaderNext == (1 << FCodeSize) && FCodeSize < 12)
                ++FCodeSize;
        }
        FReaderHasPrevious = true;
    }
    void Flush() {
        if (FBitCount > 0)
            FOut.push_back(static_cast<std::uint8_t>(FBuffer));
        FBuffer = 0;
        FBitCount = 0;
    }

private:
    void Emit(int code) {
        FBuffer |= static_cast<std::uint32_t>(code) << FBitCount;
        FBitCount += FCodeSize;
        while (FBitCount >= 8) {
            FOut.push_back(static_cast<std::uint8_t>(FBuffer));
            FBuffer >>= 8;
            FBitCount -= 8;
        }
    }

    int FMinCodeSize;
    Bytes& FOut;
    int FCodeSize = 0;
    int FReaderNext = 0;
    bool FReaderHasPrevious = false;
    std::uint32_t FBuffer = 0;
    int FBitCount = 0;
};

// The encoder's string table: (prefix code, pixel) to code, open addressing.
class StringTable {
public:
    StringTable() : FKeys(Size), FCodes(Size) { Clear(); }
    void Clear() { std::fill(FKeys.begin(), FKeys.end(), -1); }
    // The slot of the key: holding it, or empty where it belongs.
    std::size_t Find(std::int32_t key) const {
        std::size_t slot = static_cast<std::size_t>(key) % Size;
        while (FKeys[slot] != -1 && FKeys[slot] != key)
            slot = (slot + 1) % Size;
        return slot;
    }
    bool Has(std::size_t slot) const { return FKeys[slot] != -1; }
    int Code(std::size_t slot) const { return FCodes[slot]; }
    void Insert(std::size_t slot, std::int32_t key, int code) {
        FKeys[slot] = key;
        FCodes[slot] = static_cast<std::uint16_t>(code);
    }

private:
    static constexpr std::size_t Size = 8191; // a prime about twice the table's 4096 codes
    std::vector<std::int32_t> FKeys;
    std::vector<std::uint16_t> FCodes;
};

Bytes EncodeLzw(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    Bytes out;
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    CodeWriter writer(minCodeSize, out);
    StringTable table;
    int next = clear + 2;
    writer.Put(clear);
    int prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int pixel = indices[i];
        const std::int32_t key = (prefix << 8) | pixel;
        const std::size_t slot = table.Find(key);
        if (table.Has(slot)) {
            prefix = table.Code(slot);
            continue;
        }
        writer.PutData(prefix);
        if (next < MaxCodes) {
            table.Insert(slot, key, next++);
        } else {
            // The table is full: start again rather than carry on with stale strings.
            writer.Put(clear);
            writer.Reset();
            table.Clear();
            next = clear + 2;
        }
        prefix = pixel;
    }
    writer.PutData(prefix);
    writer.Put(end);
    writer.Flush();
    return out;
}

// Image data and other long data as sub-blocks of at most 255 bytes, ending with an empty one.
void PutSubBlocks(detail::ByteWriter& w, const Bytes& data) {
    for (std::size_t pos = 0; pos < data.size(); pos += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - pos);
        w.U8(static_cast<std::uint32_t>(length));
        w.Append(ByteSpan(data).subspan(pos, length));
    }
    w.U8(0);
}

// Bits of the smallest table of at least this many entries (1..8).
int TableBits(std::size_t entries) {
    int bits = 1;
    while ((std::size_t{1} << bits) < entries)
        ++bits;
    return bits;
}

void PutTable(detail::ByteWriter& w, const std::vector<std::uint32_t>& palette, int bits) {
    for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
        const std::uint32_t c = i < palette.size() ? palette[i] : 0;
        w.U8(c >> 16);
        w.U8(c >> 8);
        w.U8(c);
    }
}

bool ValidFrame(const GifWriteFrame& frame) {
    const Image& image = frame.image;
    return !image.Empty() &&
           image.pixels.size() ==
               static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) &&
           frame.left >= 0 && frame.top >= 0 && frame.left + std::int64_t{image.width} <= MaxImageDimension &&
           frame.top + std::int64_t{image.height} <= MaxImageDimension && frame.delay >= 0 &&
           frame.delay <= 0xFFFF && image.pixels.size() <= static_cast<std::size_t>(MaxImagePixels);
}

} // namespace

Result<Bytes> EncodeGif(std::span<const GifWriteFrame> frames, const GifWriteOptions& options) {
    const CodecError invalid{CodecErrorKind::InvalidArgument, Consts::sBadDimension};
    if (frames.empty())
        return CodecError{CodecErrorKind::InvalidArgument, Consts::sEmptyImage};
    int width = options.width;
    int height = options.height;
    for (const GifWriteFrame& frame : frames) {
        if (!ValidFrame(frame))
            return invalid;
        if (options.width == 0)
            width = std::max(width, frame.left + frame.image.width);
        if (options.height == 0)
            height = std::max(height, frame.top + frame.image.height);
    }
    if (width <= 0 || height <= 0 || width > MaxImageDimension || height > MaxImageDimension ||
        (options.loopCount && (*options.loopCount < 0 || *options.loopCount > 0xFFFF)))
        return invalid;

    try {
        std::vector<detail::IndexedImage> reduced;
        reduced.reserve(frames.size());
        for (const GifWriteFrame& frame : frames)
            reduced.push_back(detail::QuantizeImage(frame.image, 256, true));
        const std::vector<std::uint32_t>& global = reduced[0].palette;
        const int globalBits = TableBits(global.size());

        Bytes out;
        detail::ByteWriter w(out);
        for (char c : std::string_view("GIF89a"))
            w.U8(static_cast<std::uint8_t>(c));
        w.U16(static_cast<std::uint32_t>(width));
        w.U16(static_cast<std::uint32_t>(height));
        w.U8(0x80u | (static_cast<std::uint32_t>(globalBits - 1) << 4) |
             static_cast<std::uint32_t>(globalBits - 1));
        w.U8(0); // background index
        w.U8(0); // pixel aspect ratio: square
        PutTable(w, global, globalBits);

        if (options.loopCount) {
            w.U8(0x21);
            w.U8(0xFF);
            w.U8(11);
            for (char c : std::string_view("NETSCAPE2.0"))
                w.U8(static_cast<std::uint8_t>(c));
            w.U8(3);
            w.U8(1);
            w.U16(static_cast<std::uint32_t>(*options.loopCount));
            w.U8(0);
        }

        for (std::size_t i = 0; i < frames.size(); ++i) {
            const GifWriteFrame& frame = frames[i];
            const detail::IndexedImage& indexed = reduced[i];
            const bool local = i > 0 && indexed.palette != global;
            const int bits = local ? TableBits(indexed.palette.size()) : globalBits;

            w.U8(0x21);
            w.U8(0xF9);
            w.U8(4);
            w.U8((static_cast<std::uint32_t>(frame.disposal) << 2) |
                 (indexed.transparentIndex >= 0 ? 1u : 0u));
            w.U16(static_cast<std::uint32_t>(frame.delay));
            w.U8(indexed.transparentIndex >= 0 ? static_cast<std::uint32_t>(indexed.transparentIndex) : 0u);
            w.U8(0);

            w.U8(0x2C);
            w.U16(static_cast<std::uint32_t>(frame.left));
            w.U16(static_cast<std::uint32_t>(frame.top));
            w.U16(static_cast<std::uint32_t>(frame.image.width));
            w.U16(static_cast<std::uint32_t>(frame.image.height));
            w.U8(local ? 0x80u | static_cast<std::uint32_t>(bits - 1) : 0u);
            if (local)
                PutTable(w, indexed.palette, bits);
            const int minCodeSize = std::max(2, bits);
            w.U8(static_cast<std::uint32_t>(minCodeSize));
            PutSubBlocks(w, EncodeLzw(indexed.indices, minCodeSize));
        }
        w.U8(0x3B);
        return out;
    } catch (const std::bad_alloc&) {
        return CodecError{CodecErrorKind::TooLarge, Consts::sBadDimension};
    }
}

} // namespace codecs
