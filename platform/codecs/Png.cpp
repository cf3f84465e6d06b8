// PNG reading and writing on libpng. libpng reports errors by longjmp: each use of it runs in a
// function that holds no object with a destructor, so a jump out of it leaves nothing behind, and
// the callbacks never let a C++ exception travel through libpng's C frames.
#include "platform/codecs/Png.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <png.h>
#include <string_view>

#include "platform/codecs/Bytes.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace {

constexpr std::uint8_t Signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Deflate never expands data more than 1032 times; a header that claims more pixels than its image
// data could hold is refused before anything is allocated for it.
constexpr std::uint64_t MaxInflateRatio = 1032;

struct PngReadState {
    ByteSpan data;
    std::size_t pos = 0;
    bool truncated = false; // the data ended inside a chunk
    bool tooLarge = false;
    char message[160] = {}; // libpng's last error
    std::uint64_t imageDataBytes = 0;
    Image image;
    std::vector<png_bytep> rows;
};

void ReadData(png_structp png, png_bytep out, std::size_t count) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (count > state->data.size() - state->pos) {
        state->truncated = true;
        png_error(png, "unexpected end of data");
    }
    std::memcpy(out, state->data.data() + state->pos, count);
    state->pos += count;
}

template <typename State> void OnError(png_structp png, png_const_charp message) {
    auto* state = static_cast<State*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message ? message : "");
    png_longjmp(png, 1);
}

// Warnings concern ancillary chunks that the picture does not need; libpng drops those chunks.
void OnWarning(png_structp, png_const_charp) {}

// Sum of the IDAT chunks' lengths, read from the chunk headers without trusting any of them further.
std::uint64_t ImageDataBytes(ByteSpan data) {
    std::uint64_t total = 0;
    std::size_t pos = sizeof Signature;
    while (data.size() - pos >= 8) {
        const std::uint8_t* p = data.data() + pos;
        std::uint64_t length = (std::uint64_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        std::string_view type(reinterpret_cast<const char*>(p + 4), 4);
        if (type == "IDAT")
            total += length;
        if (type == "IEND" || length + 12 > data.size() - pos)
            break;
        pos += static_cast<std::size_t>(length) + 12;
    }
    return total;
}

bool RunRead(png_structp png, png_infop info, PngReadState& state) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const int colorType = png_get_color_type(png, info);
    const std::uint64_t rawBytes = (std::uint64_t{png_get_rowbytes(png, info)} + 1) * height;
    if (!detail::FitsLimits(width, height) || rawBytes > state.imageDataBytes * MaxInflateRatio + 1024) {
        state.tooLarge = true;
        return false;
    }

    Image& image = state.image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.bitsPerPixel = bitDepth * png_get_channels(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    image.hasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
    png_colorp plte = nullptr;
    int plteCount = 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &plte, &plteCount) != 0) {
        png_bytep trnsAlpha = nullptr;
        int trnsCount = 0;
        if (hasTrns)
            png_get_tRNS(png, info, &trnsAlpha, &trnsCount, nullptr);
        for (int i = 0; i < plteCount; ++i)
            image.palette.push_back(
                detail::Argb(i < trnsCount ? trnsAlpha[i] : 0xFF, plte[i].red, plte[i].green, plte[i].blue));
    }

    // Whatever the file holds becomes 8-bit RGBA, laid out in memory as the 0xAARRGGBB words of Image.
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    const bool little = std::endian::native == std::endian::little;
    if (little)
        png_set_bgr(png);
    if (!image.hasAlpha)
        png_set_filler(png, 0xFF, little ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    else if (!little)
        png_set_swap_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4)
        png_error(png, "unexpected row size");

    image.pixels.resize(std::size_t{width} * height);
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        state.rows[y] = reinterpret_cast<png_bytep>(image.pixels.data() + std::size_t{y} * width);
    png_read_image(png, state.rows.data());
    return true;
}

bool Contains(const char* text, const char* part) {
    return std::strstr(text, part) != nullptr;
}

// The PNG image class's text for what libpng reported.
CodecError ReadError(const PngReadState& state) {
    using namespace Consts;
    if (state.tooLarge)
        return {CodecErrorKind::TooLarge, EPNGSizeExceedsText};
    if (state.truncated)
        return {CodecErrorKind::Truncated, EPNGUnexpectedEndText};
    const char* m = state.message;
    // A damaged chunk type or length would fail the chunk's CRC check in the image class's reader.
    if (Contains(m, "CRC") || Contains(m, "invalid chunk type") || Contains(m, "out of range"))
        return {CodecErrorKind::Corrupt, EPngInvalidCRCText};
    if (Contains(m, "exceeds") || Contains(m, "too large"))
        return {CodecErrorKind::TooLarge, EPNGSizeExceedsText};
    if (Contains(m, "compression method"))
        return {CodecErrorKind::Unsupported, EPNGUnknownCompressionText};
    if (Contains(m, "interlace method"))
        return {CodecErrorKind::Unsupported, EPNGUnknownInterlaceText};
    if (Contains(m, "Missing IHDR"))
        return {CodecErrorKind::Corrupt, EPNGIHDRNotFirstText};
    if (Contains(m, "IHDR"))
        return {CodecErrorKind::Corrupt, EPNGInvalidIHDRText};
    if (Contains(m, "Missing PLTE"))
        return {CodecErrorKind::Corrupt, EPNGMissingPaletteText};
    if (Contains(m, "PLTE") || Contains(m, "palette"))
        return {CodecErrorKind::Corrupt, EPNGInvalidPaletteText};
    if (Contains(m, "critical chunk"))
        return {CodecErrorKind::Unsupported, EPNGUnknownCriticalChunkText};
    if (Contains(m, "Missing IDAT") || Contains(m, "IEND"))
        return {CodecErrorKind::Corrupt, EPNGNoImageDataText};
    if (Contains(m, "image data"))
        return {CodecErrorKind::Truncated, EPNGMissingMultipleIDATText};
    // What remains are the decompressor's complaints; the text carries its description.
    String text = EPNGZLIBErrorText;
    for (const char* c = m; *c; ++c)
        text += static_cast<Char>(static_cast<unsigned char>(*c));
    return {CodecErrorKind::Corrupt, text};
}

struct PngWriteState {
    Bytes out;
    bool outOfMemory = false;
    char message[160] = {};
    std::vector<std::uint8_t> row;
};

void WriteData(png_structp png, png_bytep data, std::size_t count) {
    auto* state = static_cast<PngWriteState*>(png_get_io_ptr(png));
    try {
        state->out.insert(state->out.end(), data, data + count);
    } catch (const std::bad_alloc&) {
        // No exception may cross libpng; the failure is reported when libpng returns.
        state->outOfMemory = true;
    }
}

void FlushData(png_structp) {}

bool RunWrite(png_structp png, png_infop info, const Image& image, bool alpha, PngWriteState& state) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &state, WriteData, FlushData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t channels = alpha ? 4 : 3;
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* q = state.row.data();
        for (int x = 0; x < image.width; ++x, q += channels) {
            const std::uint32_t p = image.Pixel(x, y);
            q[0] = static_cast<std::uint8_t>(p >> 16);
            q[1] = static_cast<std::uint8_t>(p >> 8);
            q[2] = static_cast<std::uint8_t>(p);
            if (alpha)
                q[3] = image.hasAlpha ? static_cast<std::uint8_t>(p >> 24) : 0xFF;
        }
        png_write_row(png, state.row.data());
    }
    png_write_end(png, info);
    return true;
}

} // namespace

Result<Image> DecodePng(ByteSpan data) {
    if (data.size() < sizeof Signature || std::memcmp(data.data(), Signature, sizeof Signature) != 0)
        return CodecError{CodecErrorKind::NotThisFormat, Consts::EPNGInvalidFileHeaderText};
    // libpng takes a size beyond its limits for a damaged header; the image class names the size.
    if (data.size() >= 24 && std::memcmp(data.data() + 12, "IHDR", 4) == 0) {
        const std::uint8_t* p = data.data() + 16;
        const std::uint32_t width = (std::uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        const std::uint32_t height = (std::uint32_t{p[4]} << 24) | (p[5] << 16) | (p[6] << 8) | p[7];
        if (width > MaxImageDimension || height > MaxImageDimension)
            return CodecError{CodecErrorKind::TooLarge, Consts::EPNGSizeExceedsText};
    }
    PngReadState state;
    state.data = data;
    state.imageDataBytes = ImageDataBytes(data);
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError<PngReadState>, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return CodecError{CodecErrorKind::TooLarge, Consts::EPNGOutMemoryText};
    }
    png_set_read_fn(png, &state, ReadData);
    png_set_user_limits(png, MaxImageDimension, MaxImageDimension);
    bool ok = false;
    try {
        ok = RunRead(png, info, state);
    } catch (const std::bad_alloc&) {
        state.tooLarge = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return ReadError(state);
    return std::move(state.image);
}

Result<Bytes> EncodePng(const Image& image, const PngWriteOptions& options) {
    if (image.Empty() || image.width > MaxImageDimension || image.height > MaxImageDimension ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return CodecError{CodecErrorKind::InvalidArgument, Consts::EPNGHeaderNotPresentText};
    int depth = options.bitsPerPixel;
    if (depth == 0)
        depth = image.hasAlpha ? 32 : 24;
    if (depth != 24 && depth != 32)
        return CodecError{CodecErrorKind::InvalidArgument, Consts::EInvalidSpec};

    PngWriteState state;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, OnError<PngWriteState>, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return CodecError{CodecErrorKind::TooLarge, Consts::EPNGOutMemoryText};
    }
    bool ok = false;
    try {
        state.row.resize(static_cast<std::size_t>(image.width) * (depth / 8));
        ok = RunWrite(png, info, image, depth == 32, state);
    } catch (const std::bad_alloc&) {
        state.outOfMemory = true;
    }
    png_destroy_write_struct(&png, &info);
    if (state.outOfMemory)
        return CodecError{CodecErrorKind::TooLarge, Consts::EPNGOutMemoryText};
    if (!ok)
        return CodecError{CodecErrorKind::InvalidArgument, Consts::EInvalidSpec};
    return std::move(state.out);
}

} // namespace codecs
