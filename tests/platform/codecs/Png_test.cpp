// PNG reading of every colour type and depth, writing at 24 and 32 bits, and damaged files.
#include <gtest/gtest.h>

#include "platform/codecs/Png.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"
#include "tests/platform/codecs/CodecsTestSupport.h"

using namespace codecs;
using namespace codecs_test;

namespace {

constexpr int Gray = 0, Rgb = 2, Indexed = 3, GrayAlpha = 4, Rgba = 6;

struct ReadCase {
    const char* name;
    int colorType;
    int bitDepth;
    bool interlaced;
    bool transparency; // a tRNS chunk
};

class PngRead : public testing::TestWithParam<ReadCase> {};

int ChannelCount(int colorType) {
    switch (colorType) {
    case Rgb:
        return 3;
    case GrayAlpha:
        return 2;
    case Rgba:
        return 4;
    default:
        return 1;
    }
}

std::uint32_t To8(std::uint32_t v, int bitDepth) {
    if (bitDepth == 16)
        return (v + 128) / 257;
    return v * 255 / ((1u << bitDepth) - 1);
}

TEST_P(PngRead, EveryColourTypeAndDepth) {
    const ReadCase& c = GetParam();
    const int width = 9, height = 7;
    const int channels = ChannelCount(c.colorType);
    const std::uint32_t maxSample = (1u << c.bitDepth) - 1;
    std::vector<std::uint16_t> samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int ch = 0; ch < channels; ++ch) {
                std::uint32_t v = static_cast<std::uint32_t>(x * 3 + y * 5 + ch * 7);
                samples.push_back(
                    static_cast<std::uint16_t>(c.bitDepth == 16 ? (v * 4099) % 65536 : v % (maxSample + 1)));
            }

    std::vector<Bytes> chunks;
    std::vector<std::uint32_t> palette;
    const std::uint16_t key[3] = {samples[0], samples[channels > 1 ? 1 : 0], samples[channels > 2 ? 2 : 0]};
    if (c.colorType == Indexed) {
        Bytes plte;
        for (std::uint32_t i = 0; i <= maxSample; ++i) {
            std::uint32_t r = (i * 41) % 256, g = (i * 73) % 256, b = 255 - i;
            plte.insert(plte.end(), {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                     static_cast<std::uint8_t>(b)});
            palette.push_back(0xFF000000u | r << 16 | g << 8 | b);
        }
        chunks.push_back(PngChunk("PLTE", plte));
        if (c.transparency) {
            chunks.push_back(PngChunk("tRNS", {0, 128}));
            palette[0] &= 0x00FFFFFF;
            palette[1] = (palette[1] & 0x00FFFFFF) | 0x80000000u;
        }
    } else if (c.transparency) {
        Bytes trns;
        for (int ch = 0; ch < channels; ++ch)
            trns.insert(trns.end(),
                        {static_cast<std::uint8_t>(key[ch] >> 8), static_cast<std::uint8_t>(key[ch])});
        chunks.push_back(PngChunk("tRNS", trns));
    }
    const Bytes file = MakePng(width, height, c.bitDepth, c.colorType, c.interlaced, samples, chunks);

    Image expected;
    expected.width = width;
    expected.height = height;
    for (int i = 0; i < width * height; ++i) {
        const std::uint16_t* s = &samples[static_cast<std::size_t>(i * channels)];
        std::uint32_t argb = 0;
        switch (c.colorType) {
        case Gray:
        case GrayAlpha: {
            std::uint32_t g = To8(s[0], c.bitDepth);
            std::uint32_t a = c.colorType == GrayAlpha ? To8(s[1], c.bitDepth) : 255;
            if (c.transparency && s[0] == key[0])
                a = 0;
            argb = a << 24 | g << 16 | g << 8 | g;
            break;
        }
        case Indexed:
            argb = palette[s[0]];
            break;
        default: {
            std::uint32_t a = c.colorType == Rgba ? To8(s[3], c.bitDepth) : 255;
            if (c.transparency && s[0] == key[0] && s[1] == key[1] && s[2] == key[2])
                a = 0;
            argb = a << 24 | To8(s[0], c.bitDepth) << 16 | To8(s[1], c.bitDepth) << 8 | To8(s[2], c.bitDepth);
            break;
        }
        }
        expected.pixels.push_back(argb);
    }

    Result<Image> decoded = DecodePng(file);
    ASSERT_TRUE(decoded) << StringToUtf8(decoded.Error().message);
    const Image& image = decoded.Value();
    ASSERT_EQ(width, image.width);
    ASSERT_EQ(height, image.height);
    if (c.bitDepth == 16) {
        EXPECT_LE(MaxChannelDifference(expected, image), 1);
    } else {
        EXPECT_EQ("", FirstDifference(expected, image));
    }
    EXPECT_EQ(c.bitDepth * channels, image.bitsPerPixel);
    EXPECT_EQ(c.transparency || c.colorType == GrayAlpha || c.colorType == Rgba, image.hasAlpha);
    EXPECT_EQ(palette, image.palette);
}

INSTANTIATE_TEST_SUITE_P(
    ColourTypes, PngRead,
    testing::Values(
        ReadCase{"Gray1", Gray, 1, false, false}, ReadCase{"Gray2", Gray, 2, false, false},
        ReadCase{"Gray4Key", Gray, 4, false, true}, ReadCase{"Gray8", Gray, 8, false, false},
        ReadCase{"Gray8Interlaced", Gray, 8, true, false}, ReadCase{"Gray16", Gray, 16, false, false},
        ReadCase{"Rgb8", Rgb, 8, false, false}, ReadCase{"Rgb8Key", Rgb, 8, false, true},
        ReadCase{"Rgb8Interlaced", Rgb, 8, true, false}, ReadCase{"Rgb16Key", Rgb, 16, false, true},
        ReadCase{"Palette1", Indexed, 1, false, true}, ReadCase{"Palette2", Indexed, 2, false, false},
        ReadCase{"Palette4Trns", Indexed, 4, false, true},
        ReadCase{"Palette8TrnsInterlaced", Indexed, 8, true, true},
        ReadCase{"GrayAlpha8", GrayAlpha, 8, false, false},
        ReadCase{"GrayAlpha16", GrayAlpha, 16, false, false}, ReadCase{"Rgba8", Rgba, 8, false, false},
        ReadCase{"Rgba8Interlaced", Rgba, 8, true, false}, ReadCase{"Rgba16", Rgba, 16, true, false}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(PngWrite, RoundTripsAt24And32Bits) {
    Image opaque = Gradient(23, 11);
    Image translucent = Pattern(5, 4, {0x00112233, 0x80FF0000, 0xFF00FF00, 0x400000FF}, true);
    struct Case {
        const char* name;
        const Image& image;
        int bits;        // asked for
        int writtenBits; // read back
    } cases[] = {
        {"opaque, chosen", opaque, 0, 24},
        {"opaque at 32", opaque, 32, 32},
        {"alpha, chosen", translucent, 0, 32},
    };
    for (const Case& c : cases) {
        Result<Bytes> file = EncodePng(c.image, {c.bits});
        ASSERT_TRUE(file) << c.name;
        Result<Image> decoded = DecodePng(file.Value());
        ASSERT_TRUE(decoded) << c.name;
        EXPECT_EQ("", FirstDifference(c.image, decoded.Value())) << c.name;
        EXPECT_EQ(c.writtenBits, decoded.Value().bitsPerPixel) << c.name;
        EXPECT_EQ("", CheckPrefixes(file.Value(), DecodePng)) << c.name;
    }

    // At 24 bits the alpha is dropped.
    Result<Bytes> flat = EncodePng(translucent, {24});
    ASSERT_TRUE(flat);
    Result<Image> decoded = DecodePng(flat.Value());
    ASSERT_TRUE(decoded);
    EXPECT_FALSE(decoded.Value().hasAlpha);
    EXPECT_EQ(0xFF112233u, decoded.Value().Pixel(0, 0));

    const Image empty;
    EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodePng(empty).Error().kind);
    EXPECT_EQ(String(Consts::EInvalidSpec), EncodePng(opaque, {16}).Error().message);
}

TEST(PngRead, DamagedBytesNeverReadOutside) {
    const Bytes file = MakePng(6, 5, 4, Indexed, true, std::vector<std::uint16_t>(30, 3),
                               {PngChunk("PLTE", Bytes(48, 0x40)), PngChunk("tRNS", {0, 0, 0, 0x10})});
    EXPECT_EQ("", CheckPrefixes(file, DecodePng));
    EXPECT_EQ("", CheckDamagedBytes(file, DecodePng));
}

// Signature and IHDR of a valid 4 x 4 gray file, then the chunks given.
Bytes Chunks(std::initializer_list<Bytes> chunks, int width = 4, int height = 4, int depth = 8,
             int colorType = Gray) {
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header = PngHeader(width, height, depth, colorType);
    out.insert(out.end(), header.begin(), header.end());
    for (const Bytes& chunk : chunks)
        out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

TEST(PngRead, DamagedFilesGiveTheImageClassTexts) {
    const std::vector<std::uint16_t> gray(16, 100);
    const Bytes valid = MakePng(4, 4, 8, Gray, false, gray);
    const Bytes idat = PngChunk("IDAT", Deflate(PngScanlines(gray, 4, 4, 1, 8, false)));
    const Bytes iend = PngChunk("IEND", {});
    Bytes badCrc = valid;
    badCrc[8 + 8 + 13] ^= 1; // last byte of IHDR's CRC
    Bytes misplaced = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    misplaced.insert(misplaced.end(), idat.begin(), idat.end());
    Bytes shortData = Chunks({PngChunk("IDAT", Deflate(PngScanlines(gray, 4, 1, 1, 8, false))), iend}, 4, 40);

    struct Case {
        const char* name;
        Bytes file;
        CodecErrorKind kind;
        const Char* message;
    } cases[] = {
        {"not a PNG",
         {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0},
         CodecErrorKind::NotThisFormat,
         Consts::EPNGInvalidFileHeaderText},
        {"empty", {}, CodecErrorKind::NotThisFormat, Consts::EPNGInvalidFileHeaderText},
        {"cut in IDAT", Bytes(valid.begin(), valid.end() - 20), CodecErrorKind::Truncated,
         Consts::EPNGUnexpectedEndText},
        {"CRC of IHDR", badCrc, CodecErrorKind::Corrupt, Consts::EPngInvalidCRCText},
        {"IDAT before IHDR", misplaced, CodecErrorKind::Corrupt, Consts::EPNGIHDRNotFirstText},
        {"palette without PLTE", Chunks({idat, iend}, 4, 4, 8, Indexed), CodecErrorKind::Corrupt,
         Consts::EPNGMissingPaletteText},
        {"depth 3", Chunks({idat, iend}, 4, 4, 3), CodecErrorKind::Corrupt, Consts::EPNGInvalidIHDRText},
        {"unknown critical chunk", Chunks({PngChunk("ABCD", {1, 2}), idat, iend}),
         CodecErrorKind::Unsupported, Consts::EPNGUnknownCriticalChunkText},
        {"70000 wide", Chunks({idat, iend}, 70000, 1), CodecErrorKind::TooLarge, Consts::EPNGSizeExceedsText},
        {"30000 x 30000 in a few bytes", Chunks({idat, iend}, 30000, 30000), CodecErrorKind::TooLarge,
         Consts::EPNGSizeExceedsText},
        {"fewer rows than the header says", shortData, CodecErrorKind::Truncated,
         Consts::EPNGMissingMultipleIDATText},
        {"no image data", Chunks({iend}), CodecErrorKind::Corrupt, Consts::EPNGNoImageDataText},
    };
    for (const Case& c : cases) {
        Result<Image> result = DecodePng(c.file);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(c.kind, result.Error().kind) << c.name;
        EXPECT_EQ(String(c.message), result.Error().message) << c.name;
    }

    Result<Image> garbage = DecodePng(Chunks({PngChunk("IDAT", {1, 2, 3, 4, 5, 6}), iend}));
    ASSERT_FALSE(garbage);
    EXPECT_EQ(0u, garbage.Error().message.find(Consts::EPNGZLIBErrorText));
    EXPECT_GT(garbage.Error().message.size(), String(Consts::EPNGZLIBErrorText).size());
}

} // namespace
