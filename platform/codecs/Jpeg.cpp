// JPEG reading and writing on libjpeg. libjpeg reports errors by longjmp: each use of it runs in a
// function that holds no object with a destructor, so a jump out of it leaves nothing behind.
#include "platform/codecs/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/codecs/Bytes.h"
#include "platform/rtl/Consts.h"

namespace codecs {

namespace {

// Every 8x8 block of a Huffman-coded file takes at least one bit, so a file cannot describe more
// than 512 pixels per byte; a header claiming more is refused before anything is allocated.
constexpr std::uint64_t MaxPixelsPerByte = 512;
// A progressive file may repeat scans endlessly, each one a pass over the whole picture.
constexpr int MaxScans = 500;

struct JpegErrorManager {
    jpeg_error_mgr pub; // first, so that libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
    int code = 0;
    CodecErrorKind kind = CodecErrorKind::Corrupt;
};

[[noreturn]] void Abort(j_common_ptr cinfo, int code, CodecErrorKind kind) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    manager->code = code;
    manager->kind = kind;
    std::longjmp(manager->jump, 1);
}

void ErrorExit(j_common_ptr cinfo) {
    const int code = cinfo->err->msg_code;
    Abort(cinfo, code, code == JERR_NO_SOI ? CodecErrorKind::NotThisFormat : CodecErrorKind::Corrupt);
}

// Warnings are about damaged data the decoder can work around, except data that ends early (the
// file, or a scan at a marker): the decoder would fill the rest of the picture with grey, and we
// report a cut file instead.
void EmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        const int code = cinfo->err->msg_code;
        if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)
            Abort(cinfo, code, CodecErrorKind::Truncated);
        ++cinfo->err->num_warnings;
    }
}

void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxScans)
        Abort(cinfo, JERR_BAD_SCAN_SCRIPT, CodecErrorKind::Corrupt);
}

void InstallErrorManager(JpegErrorManager& manager) {
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = ErrorExit;
    manager.pub.emit_message = EmitMessage;
    manager.pub.output_message = OutputMessage;
}

struct JpegReadState {
    JpegErrorManager errors;
    jpeg_progress_mgr progress{};
    Image image;
    std::vector<std::uint8_t> row;
};

std::uint8_t InkToLight(std::uint32_t ink, std::uint32_t black) {
    return static_cast<std::uint8_t>(((255 - ink) * (255 - black) + 127) / 255);
}

void ConvertRow(const jpeg_decompress_struct& cinfo, const std::uint8_t* in, std::uint32_t* out) {
    const JDIMENSION width = cinfo.output_width;
    switch (cinfo.out_color_space) {
    case JCS_GRAYSCALE:
        for (JDIMENSION x = 0; x < width; ++x)
            out[x] = detail::Argb(0xFF, in[x], in[x], in[x]);
        break;
    case JCS_CMYK:
        for (JDIMENSION x = 0; x < width; ++x, in += 4) {
            // Adobe applications store CMYK inverted and mark their files; others store it as it is.
            std::uint32_t c = in[0], m = in[1], y = in[2], k = in[3];
            if (cinfo.saw_Adobe_marker) {
                c = 255 - c;
                m = 255 - m;
                y = 255 - y;
                k = 255 - k;
            }
            out[x] = detail::Argb(0xFF, InkToLight(c, k), InkToLight(m, k), InkToLight(y, k));
        }
        break;
    default:
        for (JDIMENSION x = 0; x < width; ++x, in += 3)
            out[x] = detail::Argb(0xFF, in[0], in[1], in[2]);
        break;
    }
}

bool RunRead(jpeg_decompress_struct& cinfo, ByteSpan data, JpegReadState& state) {
    if (setjmp(state.errors.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &state.progress;
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.arith_code)
        Abort(reinterpret_cast<j_common_ptr>(&cinfo), JERR_ARITH_NOTIMPL, CodecErrorKind::Unsupported);
    if (!detail::FitsLimits(cinfo.image_width, cinfo.image_height) ||
        std::uint64_t{cinfo.image_width} * cinfo.image_height > data.size() * MaxPixelsPerByte)
        Abort(reinterpret_cast<j_common_ptr>(&cinfo), JERR_IMAGE_TOO_BIG, CodecErrorKind::TooLarge);

    Image& image = state.image;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        image.bitsPerPixel = 8;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        image.bitsPerPixel = 32;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        image.bitsPerPixel = 24;
        break;
    }
    jpeg_start_decompress(&cinfo);
    image.width = static_cast<int>(cinfo.output_width);
    image.height = static_cast<int>(cinfo.output_height);
    image.pixels.resize(std::size_t{cinfo.output_width} * cinfo.output_height);
    state.row.resize(std::size_t{cinfo.output_width} * static_cast<std::size_t>(cinfo.output_components));
    while (cinfo.output_scanline < cinfo.output_height) {
        const std::size_t y = cinfo.output_scanline;
        JSAMPROW row = state.row.data();
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            Abort(reinterpret_cast<j_common_ptr>(&cinfo), JWRN_JPEG_EOF, CodecErrorKind::Truncated);
        ConvertRow(cinfo, state.row.data(), image.pixels.data() + y * cinfo.output_width);
    }
    // The rest of the file (normally just the end marker) is not needed for the picture.
    jpeg_abort_decompress(&cinfo);
    return true;
}

CodecError JpegError(int code, CodecErrorKind kind) {
    // The text is Format(SJPEGError, [code]); spelled out here, since the codecs stand below Format.
    String text = Consts::SJPEGError;
    String number;
    for (int n = code < 0 ? -code : code; number.empty() || n > 0; n /= 10)
        number.insert(number.begin(), static_cast<Char>(u'0' + n % 10));
    if (code < 0)
        number.insert(number.begin(), u'-');
    text.replace(text.find(u"%d"), 2, number);
    return {kind, text};
}

struct JpegWriteState {
    JpegErrorManager errors;
    unsigned char* buffer = nullptr; // grown with malloc by libjpeg's memory destination
    unsigned long size = 0;
    std::vector<std::uint8_t> row;
};

bool RunWrite(jpeg_compress_struct& cinfo, const Image& image, const JpegWriteOptions& options,
              JpegWriteState& state) {
    if (setjmp(state.errors.jump))
        return false;
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &state.buffer, &state.size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (options.grayscale)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        std::uint8_t* q = state.row.data();
        for (int x = 0; x < image.width; ++x, q += 3) {
            const std::uint32_t p = image.Pixel(x, y);
            q[0] = static_cast<std::uint8_t>(p >> 16);
            q[1] = static_cast<std::uint8_t>(p >> 8);
            q[2] = static_cast<std::uint8_t>(p);
        }
        JSAMPROW row = state.row.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

Result<Image> DecodeJpeg(ByteSpan data) {
    if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8)
        return JpegError(JERR_NO_SOI, CodecErrorKind::NotThisFormat);
    JpegReadState state;
    InstallErrorManager(state.errors);
    state.progress.progress_monitor = ProgressMonitor;
    jpeg_decompress_struct cinfo{};
    cinfo.err = &state.errors.pub;
    bool ok = false;
    try {
        ok = RunRead(cinfo, data, state);
    } catch (const std::bad_alloc&) {
        state.errors.code = JERR_OUT_OF_MEMORY;
        state.errors.kind = CodecErrorKind::TooLarge;
    }
    jpeg_destroy_decompress(&cinfo);
    if (!ok)
        return JpegError(state.errors.code, state.errors.kind);
    return std::move(state.image);
}

Result<Bytes> EncodeJpeg(const Image& image, const JpegWriteOptions& options) {
    if (image.Empty() || image.width > MaxImageDimension || image.height > MaxImageDimension ||
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) ||
        options.quality < 1 || options.quality > 100)
        return JpegError(JERR_EMPTY_IMAGE, CodecErrorKind::InvalidArgument);
    JpegWriteState state;
    InstallErrorManager(state.errors);
    jpeg_compress_struct cinfo{};
    cinfo.err = &state.errors.pub;
    bool ok = false;
    try {
        state.row.resize(static_cast<std::size_t>(image.width) * 3);
        ok = RunWrite(cinfo, image, options, state);
    } catch (const std::bad_alloc&) {
        state.errors.code = JERR_OUT_OF_MEMORY;
        state.errors.kind = CodecErrorKind::TooLarge;
    }
    jpeg_destroy_compress(&cinfo);
    Bytes out;
    try {
        if (ok)
            out.assign(state.buffer, state.buffer + state.size);
    } catch (const std::bad_alloc&) {
        ok = false;
        state.errors.code = JERR_OUT_OF_MEMORY;
        state.errors.kind = CodecErrorKind::TooLarge;
    }
    std::free(state.buffer);
    if (!ok)
        return JpegError(state.errors.code, state.errors.kind);
    return out;
}

} // namespace codecs
