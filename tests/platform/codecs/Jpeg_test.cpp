// JPEG reading of baseline, progressive, grayscale and CMYK files, writing with a quality, damaged files.
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>
#include <string>

#include "platform/codecs/Jpeg.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"
#include "tests/platform/codecs/CodecsTestSupport.h"

using namespace codecs;
using namespace codecs_test;

namespace {

String JpegErrorText(int code) {
    return u"JPEG error #" + Utf8ToString(std::to_string(code));
}

bool HasMarker(const Bytes& file, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == marker)
            return true;
    return false;
}

// A file written with libjpeg directly, for what our writer does not make: CMYK as Adobe
// applications store it (inverted), and arithmetic coding.
Bytes WriteWithLibjpeg(int width, int height, J_COLOR_SPACE space, int components,
                       const std::vector<std::uint8_t>& samples, bool arithmetic) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    cinfo.arith_code = arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            samples.data() + cinfo.next_scanline * static_cast<std::size_t>(width * components));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

TEST(JpegWrite, RoundTripsBaselineProgressiveAndGrayscale) {
    const Image image = Gradient(40, 24);
    struct Case {
        const char* name;
        JpegWriteOptions options;
        std::uint8_t frameMarker; // SOF0 baseline, SOF2 progressive
        int bits;
    } cases[] = {
        {"baseline", {95, false, false}, 0xC0, 24},
        {"progressive", {95, false, true}, 0xC2, 24},
        {"grayscale", {95, true, false}, 0xC0, 8},
    };
    for (const Case& c : cases) {
        Result<Bytes> file = EncodeJpeg(image, c.options);
        ASSERT_TRUE(file) << c.name;
        EXPECT_TRUE(HasMarker(file.Value(), c.frameMarker)) << c.name;
        Result<Image> decoded = DecodeJpeg(file.Value());
        ASSERT_TRUE(decoded) << c.name << ": " << StringToUtf8(decoded.Error().message);
        const Image& read = decoded.Value();
        EXPECT_EQ(c.bits, read.bitsPerPixel) << c.name;
        EXPECT_FALSE(read.hasAlpha) << c.name;
        if (c.options.grayscale) {
            for (std::uint32_t p : read.pixels)
                ASSERT_TRUE((p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == ((p >> 16) & 0xFF)) << c.name;
        } else {
            EXPECT_LE(MaxChannelDifference(image, read), 12) << c.name;
        }
        EXPECT_EQ("", CheckPrefixes(file.Value(), DecodeJpeg)) << c.name;
    }
}

TEST(JpegWrite, QualityTradesSizeForFidelity) {
    const Image image = Gradient(64, 64);
    Result<Bytes> low = EncodeJpeg(image, {10});
    Result<Bytes> high = EncodeJpeg(image, {100});
    ASSERT_TRUE(low);
    ASSERT_TRUE(high);
    EXPECT_LT(low.Value().size(), high.Value().size());
    EXPECT_LT(MaxChannelDifference(image, DecodeJpeg(high.Value()).Value()),
              MaxChannelDifference(image, DecodeJpeg(low.Value()).Value()));

    for (int quality : {0, 101})
        EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodeJpeg(image, {quality}).Error().kind) << quality;
    const Image empty;
    EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodeJpeg(empty).Error().kind);
}

TEST(JpegRead, AdobeCmyk) {
    // Pure cyan, magenta, yellow and black, inverted as Adobe stores them.
    const std::uint8_t inks[4][4] = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}, {0, 0, 0, 255}};
    const std::uint32_t expected[4] = {0xFF00FFFF, 0xFFFF00FF, 0xFFFFFF00, 0xFF000000};
    std::vector<std::uint8_t> samples;
    const int width = 32, height = 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                samples.push_back(static_cast<std::uint8_t>(255 - inks[x / 8][c]));
    Result<Image> decoded = DecodeJpeg(WriteWithLibjpeg(width, height, JCS_CMYK, 4, samples, false));
    ASSERT_TRUE(decoded) << StringToUtf8(decoded.Error().message);
    EXPECT_EQ(32, decoded.Value().bitsPerPixel);
    for (int block = 0; block < 4; ++block) {
        Image one = MakeImage(1, 1, expected[block]);
        Image got = MakeImage(1, 1, decoded.Value().Pixel(block * 8 + 4, 4));
        EXPECT_LE(MaxChannelDifference(one, got), 8) << block;
    }
}

TEST(JpegRead, DamagedFilesGiveJpegErrors) {
    const Bytes valid = EncodeJpeg(Gradient(16, 16), {90}).Value();
    // SOF0 holds the height at +5 and the width at +7 from its marker.
    std::size_t sof = 0;
    while (!(valid[sof] == 0xFF && valid[sof + 1] == 0xC0))
        ++sof;
    Bytes huge = valid;
    huge[sof + 5] = 0xEA;
    huge[sof + 6] = 0x60; // 60000 rows
    Bytes manyRows = valid;
    manyRows[sof + 5] = 0x75;
    manyRows[sof + 6] = 0x30; // 30000 rows of 16 in a few hundred bytes
    Bytes moreRows = valid;
    moreRows[sof + 6] = 32; // 32 rows, data for 16
    Bytes zeroWidth = valid;
    zeroWidth[sof + 7] = 0;
    zeroWidth[sof + 8] = 0;
    const std::vector<std::uint8_t> gray(64, 128);
    const Bytes arithmetic = WriteWithLibjpeg(8, 8, JCS_GRAYSCALE, 1, gray, true);

    struct Case {
        const char* name;
        Bytes file;
        CodecErrorKind kind;
        int code;
    } cases[] = {
        {"not a JPEG", {'B', 'M', 0, 0}, CodecErrorKind::NotThisFormat, JERR_NO_SOI},
        {"empty", {}, CodecErrorKind::NotThisFormat, JERR_NO_SOI},
        {"cut in the scan",
         Bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(valid.size() / 2) + 100),
         CodecErrorKind::Truncated, JWRN_JPEG_EOF},
        {"cut in the headers", Bytes(valid.begin(), valid.begin() + 30), CodecErrorKind::Truncated,
         JWRN_JPEG_EOF},
        {"60000 rows", huge, CodecErrorKind::TooLarge, JERR_IMAGE_TOO_BIG},
        {"30000 rows in a few bytes", manyRows, CodecErrorKind::TooLarge, JERR_IMAGE_TOO_BIG},
        {"more rows than data", moreRows, CodecErrorKind::Truncated, JWRN_HIT_MARKER},
        {"width 0", zeroWidth, CodecErrorKind::Corrupt, JERR_EMPTY_IMAGE},
        {"arithmetic coding", arithmetic, CodecErrorKind::Unsupported, JERR_ARITH_NOTIMPL},
    };
    for (const Case& c : cases) {
        Result<Image> result = DecodeJpeg(c.file);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(c.kind, result.Error().kind) << c.name;
        EXPECT_EQ(JpegErrorText(c.code), result.Error().message) << c.name;
    }

    const Bytes small = EncodeJpeg(Gradient(8, 8), {50}).Value();
    EXPECT_EQ("", CheckDamagedBytes(small, DecodeJpeg));
}

} // namespace
