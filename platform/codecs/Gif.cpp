// Reading GIF files: the block structure, the LZW decoder, and composing frames for display.
#include "platform/codecs/Gif.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/codecs/Bytes.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace {

using detail::ByteReader;
using detail::Fail;

constexpr int MaxCodes = 4096;
// An LZW code of 12 bits stands for at most 4096 pixels, so a frame cannot hold more than 4096
// pixels per byte of its data; a frame that claims more is cut short and refused before it is
// allocated.
constexpr std::uint64_t MaxPixelsPerByte = 4096;
// All frames' indices together; beyond this an animation is refused.
constexpr std::int64_t MaxTotalFramePixels = 4 * MaxImagePixels;

std::vector<std::uint32_t> ReadPalette(ByteReader& reader, std::size_t entries) {
    ByteSpan table = reader.Take(entries * 3);
    std::vector<std::uint32_t> palette(entries);
    for (std::size_t i = 0; i < entries; ++i)
        palette[i] = detail::Argb(0xFF, table[3 * i], table[3 * i + 1], table[3 * i + 2]);
    return palette;
}

// Data sub-blocks: a length byte, that many bytes, ... up to a zero length.
void SkipSubBlocks(ByteReader& reader) {
    while (std::uint8_t length = reader.U8())
        reader.Skip(length);
}

std::vector<std::uint8_t> ReadSubBlocks(ByteReader& reader) {
    std::vector<std::uint8_t> data;
    while (std::uint8_t length = reader.U8()) {
        ByteSpan part = reader.Take(length);
        data.insert(data.end(), part.begin(), part.end());
    }
    return data;
}

// Fills out (sized to the frame) from the LZW stream; codes after the frame is full are ignored,
// as is a missing end code.
void DecodeLzw(ByteSpan data, int minCodeSize, std::vector<std::uint8_t>& out) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::array<std::uint16_t, MaxCodes> prefix{};
    std::array<std::uint8_t, MaxCodes> suffix{};
    std::array<std::uint8_t, MaxCodes> first{}; // first pixel of each code's string
    std::array<std::uint8_t, MaxCodes + 1> stack{};
    for (int i = 0; i < clear; ++i) {
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }

    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    std::uint32_t bitBuffer = 0;
    int bitCount = 0;
    std::size_t pos = 0;
    std::size_t written = 0;
    while (written < out.size()) {
        while (bitCount < codeSize && pos < data.size()) {
            bitBuffer |= static_cast<std::uint32_t>(data[pos++]) << bitCount;
            bitCount += 8;
        }
        if (bitCount < codeSize)
            Fail(CodecErrorKind::Truncated, Consts::sOutOfData);
        const int code = static_cast<int>(bitBuffer & ((1u << codeSize) - 1));
        bitBuffer >>= codeSize;
        bitCount -= codeSize;

        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        if (previous < 0) {
            if (code >= clear)
                Fail(CodecErrorKind::Corrupt, Consts::sInvalidData);
            out[written++] = static_cast<std::uint8_t>(code);
            previous = code;
            continue;
        }

        // The string of the code, last pixel first; a code not yet in the table (it can only be
        // the next one) is the previous string followed by its own first pixel.
        std::size_t depth = 0;
        int walk = code;
        if (code >= next) {
            if (code > next || next >= MaxCodes)
                Fail(CodecErrorKind::Corrupt, Consts::sInvalidData);
            stack[depth++] = first[static_cast<std::size_t>(previous)];
            walk = previous;
        }
        while (walk >= clear) {
            stack[depth++] = suffix[static_cast<std::size_t>(walk)];
            walk = prefix[static_cast<std::size_t>(walk)];
        }
        stack[depth++] = static_cast<std::uint8_t>(walk);
        const std::uint8_t head = static_cast<std::uint8_t>(walk);
        while (depth > 0 && written < out.size())
            out[written++] = stack[--depth];

        if (next < MaxCodes) {
            prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previous);
            suffix[static_cast<std::size_t>(next)] = head;
            first[static_cast<std::size_t>(next)] = first[static_cast<std::size_t>(previous)];
            ++next;
            if (next == (1 << codeSize) && codeSize < 12)
                ++codeSize;
        }
        previous = code;
    }
    if (written < out.size())
        Fail(CodecErrorKind::Truncated, Consts::sOutOfData);
}

// Interlaced rows come in four passes: every 8th row from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<std::uint8_t> Deinterlace(const std::vector<std::uint8_t>& rows, int width, int height) {
    std::vector<std::uint8_t> out(rows.size());
    static constexpr int Start[4] = {0, 4, 2, 1};
    static constexpr int Step[4] = {8, 8, 4, 2};
    int source = 0;
    for (int pass = 0; pass < 4; ++pass)
        for (int y = Start[pass]; y < height; y += Step[pass], ++source)
            std::memcpy(out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width),
                        rows.data() + static_cast<std::size_t>(source) * static_cast<std::size_t>(width),
                        static_cast<std::size_t>(width));
    return out;
}

// What a graphic control block says about the frame that follows it.
struct FrameControl {
    int delay = 0;
    GifDisposal disposal = GifDisposal::Unspecified;
    int transparentIndex = -1;
    bool waitsForInput = false;
};

void ReadExtension(ByteReader& reader, GifFile& file, FrameControl& control) {
    const std::uint8_t label = reader.U8();
    if (label == 0xF9) {
        std::uint8_t length = reader.U8();
        ByteSpan block = reader.Take(length);
        if (length >= 4) {
            const int disposal = (block[0] >> 2) & 7;
            // Values 4 to 7 are not defined; viewers leave such frames in place.
            control.disposal = disposal <= 3 ? static_cast<GifDisposal>(disposal) : GifDisposal::None;
            control.waitsForInput = (block[0] & 2) != 0;
            control.delay = block[1] | (block[2] << 8);
            control.transparentIndex = (block[0] & 1) ? block[3] : -1;
        }
        if (length > 0)
            SkipSubBlocks(reader);
        return;
    }
    if (label == 0xFF) {
        std::uint8_t length = reader.U8();
        if (length == 0)
            return;
        ByteSpan id = reader.Take(length);
        const bool looping = length == 11 && (std::memcmp(id.data(), "NETSCAPE2.0", 11) == 0 ||
                                              std::memcmp(id.data(), "ANIMEXTS1.0", 11) == 0);
        while (std::uint8_t size = reader.U8()) {
            ByteSpan block = reader.Take(size);
            if (looping && size >= 3 && block[0] == 1)
                file.loopCount = block[1] | (block[2] << 8);
        }
        return;
    }
    // Comments, plain text and extensions of other programs carry nothing for the picture.
    SkipSubBlocks(reader);
}

void ReadFrame(ByteReader& reader, GifFile& file, const FrameControl& control, std::int64_t& totalPixels) {
    GifFrame frame;
    frame.left = reader.U16();
    frame.top = reader.U16();
    frame.width = reader.U16();
    frame.height = reader.U16();
    const std::uint8_t flags = reader.U8();
    if (flags & 0x80)
        frame.localPalette = ReadPalette(reader, std::size_t{2} << (flags & 7));
    frame.interlaced = (flags & 0x40) != 0;
    frame.delay = control.delay;
    frame.disposal = control.disposal;
    frame.transparentIndex = control.transparentIndex;
    frame.waitsForInput = control.waitsForInput;

    const int minCodeSize = reader.U8();
    const std::vector<std::uint8_t> data = ReadSubBlocks(reader);
    if (frame.localPalette.empty() && file.globalPalette.empty())
        Fail(CodecErrorKind::Corrupt, Consts::sNoColorTable);
    if (minCodeSize < 1 || minCodeSize > 8)
        Fail(CodecErrorKind::Corrupt, Consts::sInvalidData);

    const std::int64_t pixels = std::int64_t{frame.width} * frame.height;
    totalPixels += pixels;
    if (pixels > MaxImagePixels || totalPixels > MaxTotalFramePixels)
        Fail(CodecErrorKind::TooLarge, Consts::sBadDimension);
    if (static_cast<std::uint64_t>(pixels) > (data.size() + 1) * MaxPixelsPerByte)
        Fail(CodecErrorKind::Truncated, Consts::sOutOfData);
    frame.indices.resize(static_cast<std::size_t>(pixels));
    if (pixels > 0) {
        DecodeLzw(data, minCodeSize, frame.indices);
        if (frame.interlaced)
            frame.indices = Deinterlace(frame.indices, frame.width, frame.height);
    }
    file.frames.push_back(std::move(frame));
}

} // namespace

Result<GifFile> DecodeGif(ByteSpan data) {
    return detail::Guarded<GifFile>(Consts::sBadDimension, [&] {
        if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0)
            Fail(CodecErrorKind::NotThisFormat, Consts::sBadSignature);
        if (std::memcmp(data.data() + 3, "87a", 3) != 0 && std::memcmp(data.data() + 3, "89a", 3) != 0)
            Fail(CodecErrorKind::Unsupported, Consts::sBadVersion);
        ByteReader reader(data, Consts::sOutOfData);
        reader.Skip(6);
        GifFile file;
        file.width = reader.U16();
        file.height = reader.U16();
        const std::uint8_t flags = reader.U8();
        file.backgroundIndex = reader.U8();
        reader.U8(); // pixel aspect ratio
        if (flags & 0x80)
            file.globalPalette = ReadPalette(reader, std::size_t{2} << (flags & 7));

        FrameControl control;
        std::int64_t totalPixels = 0;
        for (;;) {
            const std::uint8_t introducer = reader.U8();
            if (introducer == 0x3B)
                break;
            if (introducer == 0x21) {
                ReadExtension(reader, file, control);
            } else if (introducer == 0x2C) {
                ReadFrame(reader, file, control, totalPixels);
                control = FrameControl();
            } else {
                Fail(CodecErrorKind::Corrupt, Consts::sBadBlock);
            }
        }
        if (file.frames.empty())
            Fail(CodecErrorKind::Corrupt, Consts::sEmptyImage);
        if (file.width == 0 && file.height == 0) {
            for (const GifFrame& frame : file.frames) {
                file.width = std::max(file.width, frame.left + frame.width);
                file.height = std::max(file.height, frame.top + frame.height);
            }
        }
        if (!detail::FitsLimits(file.width, file.height))
            Fail(CodecErrorKind::TooLarge, Consts::sBadDimension);
        return file;
    });
}

GifComposer::GifComposer(const GifFile& file) : FFile(file) {
    FCanvas.width = file.width;
    FCanvas.height = file.height;
    FCanvas.bitsPerPixel = 32;
}

const Image& GifComposer::Frame(int index) {
    if (FFile.frames.empty() || FCurrent < 0 || index < FCurrent) {
        FCanvas.pixels.assign(
            static_cast<std::size_t>(FCanvas.width) * static_cast<std::size_t>(FCanvas.height), 0);
        FCurrent = -1;
    }
    index = std::min(index, FrameCount() - 1);
    while (FCurrent < index) {
        if (FCurrent >= 0)
            Dispose(FFile.frames[static_cast<std::size_t>(FCurrent)]);
        ++FCurrent;
        const GifFrame& frame = FFile.frames[static_cast<std::size_t>(FCurrent)];
        if (frame.disposal == GifDisposal::Previous)
            FSaved = FCanvas.pixels;
        Draw(frame);
    }
    FCanvas.hasAlpha = std::any_of(FCanvas.pixels.begin(), FCanvas.pixels.end(),
                                   [](std::uint32_t p) { return (p >> 24) != 0xFF; });
    return FCanvas;
}

void GifComposer::Draw(const GifFrame& frame) {
    const std::vector<std::uint32_t>& palette =
        frame.localPalette.empty() ? FFile.globalPalette : frame.localPalette;
    if (frame.indices.size() !=
        static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height))
        return;
    const int right = std::min(frame.left + frame.width, FCanvas.width);
    const int bottom = std::min(frame.top + frame.height, FCanvas.height);
    for (int y = frame.top; y < bottom; ++y) {
        const std::uint8_t* row =
            frame.indices.data() + static_cast<std::size_t>(y - frame.top) * frame.width;
        for (int x = frame.left; x < right; ++x) {
            const int index = row[x - frame.left];
            if (index == frame.transparentIndex)
                continue;
            // An index beyond the table shows black, as viewers draw it.
            FCanvas.SetPixel(x, y,
                             static_cast<std::size_t>(index) < palette.size() ? palette[index] | 0xFF000000u
                                                                              : 0xFF000000u);
        }
    }
}

void GifComposer::Dispose(const GifFrame& frame) {
    if (frame.disposal == GifDisposal::Background) {
        const int right = std::min(frame.left + frame.width, FCanvas.width);
        const int bottom = std::min(frame.top + frame.height, FCanvas.height);
        for (int y = frame.top; y < bottom; ++y)
            for (int x = frame.left; x < right; ++x)
                FCanvas.SetPixel(x, y, 0);
    } else if (frame.disposal == GifDisposal::Previous) {
        FCanvas.pixels = FSaved;
    }
}

Result<std::vector<Image>> ComposeGifFrames(const GifFile& file) {
    const std::int64_t screen = std::int64_t{file.width} * file.height;
    if (screen * static_cast<std::int64_t>(file.frames.size()) > MaxImagePixels)
        return CodecError{CodecErrorKind::TooLarge, Consts::sBadDimension};
    std::vector<Image> images;
    images.reserve(file.frames.size());
    GifComposer composer(file);
    for (int i = 0; i < composer.FrameCount(); ++i)
        images.push_back(composer.Frame(i));
    return images;
}

} // namespace codecs
