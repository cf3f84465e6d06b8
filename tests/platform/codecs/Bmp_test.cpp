// BMP reading and writing: every depth both ways, RLE, bit fields, old headers, damaged files.
#include <gtest/gtest.h>

#include "platform/codecs/Bmp.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"
#include "tests/platform/codecs/CodecsTestSupport.h"

using namespace codecs;
using namespace codecs_test;

namespace {

// The value a channel of `bits` bits reads back as, so that pictures of 15 and 16 bits survive exactly.
std::uint32_t Expand(std::uint32_t v, int bits) {
    std::uint32_t max = (1u << bits) - 1;
    return (v * 255 + max / 2) / max;
}

std::vector<std::uint32_t> ColoursFor(int depth) {
    std::vector<std::uint32_t> colours;
    switch (depth) {
    case 1:
        return {0xFF0000, 0x0000FF};
    case 4:
        for (std::uint32_t i = 0; i < 16; ++i)
            colours.push_back((i * 16) << 16 | (255 - i * 16) << 8 | (i * 7));
        return colours;
    case 8:
        for (std::uint32_t i = 0; i < 200; ++i)
            colours.push_back(((i * 37) % 256) << 16 | ((i * 91) % 256) << 8 | i);
        return colours;
    case 15:
    case 16:
        for (std::uint32_t i = 0; i < 32; ++i)
            colours.push_back(Expand(i, 5) << 16 |
                              Expand((i * 7) % (depth == 16 ? 64 : 32), depth == 16 ? 6 : 5) << 8 |
                              Expand(31 - i, 5));
        return colours;
    default:
        for (std::uint32_t i = 0; i < 50; ++i)
            colours.push_back((i * 5) << 24 | (i * 5) << 16 | (255 - i) << 8 | (i * 3));
        colours.push_back(0x00123456); // fully transparent keeps its colour: BMP stores it straight
        return colours;
    }
}

// Runs of one colour and stretches of different ones, at an odd width, for the RLE encoders.
Image RunsAndStretches(const std::vector<std::uint32_t>& colours) {
    Image image = Pattern(37, 9, colours);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            std::size_t index = x < 10   ? 0
                                : x < 16 ? static_cast<std::size_t>(x)
                                : x < 18 ? 1
                                         : static_cast<std::size_t>(x * y);
            image.SetPixel(x, y,
                           colours[(index + static_cast<std::size_t>(y)) % colours.size()] | 0xFF000000u);
        }
    return image;
}

struct RoundTripCase {
    const char* name;
    int depth;
    BmpCompression compression;
    BmpRowOrder rowOrder;
};

class BmpRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(BmpRoundTrip, ReadsBackWhatItWrote) {
    const RoundTripCase& c = GetParam();
    const bool alpha = c.depth == 32;
    Image image = c.compression == BmpCompression::Rle ? RunsAndStretches(ColoursFor(c.depth))
                                                       : Pattern(13, 7, ColoursFor(c.depth), alpha);
    image.bitsPerPixel = c.depth;

    Result<Bytes> file = EncodeBmp(image, {c.depth, c.compression, c.rowOrder});
    ASSERT_TRUE(file) << StringToUtf8(file.Error().message);
    const Bytes& bytes = file.Value();
    const std::int32_t height =
        static_cast<std::int32_t>(bytes[22] | bytes[23] << 8 | bytes[24] << 16 | bytes[25] << 24);
    EXPECT_EQ(c.rowOrder == BmpRowOrder::TopDown, height < 0);
    if (c.compression == BmpCompression::Rle) {
        EXPECT_EQ(c.depth == 8 ? 1 : 2, bytes[30]);
    }

    Result<Image> decoded = DecodeBmp(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ("", FirstDifference(image, decoded.Value()));
    EXPECT_EQ(c.depth, decoded.Value().bitsPerPixel);
    EXPECT_EQ(alpha, decoded.Value().hasAlpha);

    EXPECT_EQ("", CheckPrefixes(bytes, DecodeBmp));
    EXPECT_EQ("", CheckDamagedBytes(bytes, DecodeBmp));
}

INSTANTIATE_TEST_SUITE_P(
    Depths, BmpRoundTrip,
    testing::Values(RoundTripCase{"Bits1", 1, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits4", 4, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits8", 8, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits15", 15, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits16", 16, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits24", 24, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits32", 32, BmpCompression::None, BmpRowOrder::BottomUp},
                    RoundTripCase{"Bits1TopDown", 1, BmpCompression::None, BmpRowOrder::TopDown},
                    RoundTripCase{"Bits8TopDown", 8, BmpCompression::None, BmpRowOrder::TopDown},
                    RoundTripCase{"Bits24TopDown", 24, BmpCompression::None, BmpRowOrder::TopDown},
                    RoundTripCase{"Bits32TopDown", 32, BmpCompression::None, BmpRowOrder::TopDown},
                    RoundTripCase{"Rle4", 4, BmpCompression::Rle, BmpRowOrder::BottomUp},
                    RoundTripCase{"Rle8", 8, BmpCompression::Rle, BmpRowOrder::BottomUp}),
    [](const testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

TEST(BmpWrite, KeepsTheDepthAndPaletteOfWhatItRead) {
    Image image = Pattern(5, 3, {0x102030, 0x405060, 0x708090});
    image.bitsPerPixel = 8;
    image.palette = {0xFF708090, 0xFF000000, 0xFF102030, 0xFF405060}; // an order of its own, one unused entry
    Result<Bytes> first = EncodeBmp(image);
    ASSERT_TRUE(first);
    Result<Image> read = DecodeBmp(first.Value());
    ASSERT_TRUE(read);
    EXPECT_EQ(8, read.Value().bitsPerPixel);
    EXPECT_EQ(image.palette, read.Value().palette);
    Result<Bytes> second = EncodeBmp(read.Value());
    ASSERT_TRUE(second);
    EXPECT_EQ(first.Value(), second.Value());
}

TEST(BmpWrite, ReducesColoursThatDoNotFitTheDepth) {
    Image image = Gradient(64, 48);
    Result<Bytes> eight = EncodeBmp(image, {8});
    ASSERT_TRUE(eight);
    Result<Image> decoded = DecodeBmp(eight.Value());
    ASSERT_TRUE(decoded);
    EXPECT_LE(decoded.Value().palette.size(), 256u);
    EXPECT_LE(MaxChannelDifference(image, decoded.Value()), 26);

    Result<Bytes> one = EncodeBmp(image, {1});
    ASSERT_TRUE(one);
    decoded = DecodeBmp(one.Value());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(0xFF000000u, decoded.Value().Pixel(0, 0));
    EXPECT_EQ(0xFFFFFFFFu, decoded.Value().Pixel(63, 47));
}

TEST(BmpWrite, RefusesWhatItCannotWrite) {
    const Image empty;
    Image image = Pattern(4, 4, {0x112233});
    Image mismatched = image;
    mismatched.pixels.pop_back();
    struct Case {
        const char* name;
        const Image& image;
        BmpWriteOptions options;
    } cases[] = {
        {"empty", empty, {}},
        {"pixels missing", mismatched, {}},
        {"depth 12", image, {12}},
        {"RLE at 24 bits", image, {24, BmpCompression::Rle}},
        {"RLE top-down", image, {8, BmpCompression::Rle, BmpRowOrder::TopDown}},
    };
    for (const Case& c : cases) {
        Result<Bytes> result = EncodeBmp(c.image, c.options);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(CodecErrorKind::InvalidArgument, result.Error().kind) << c.name;
        EXPECT_EQ(String(Consts::SInvalidBitmap), result.Error().message) << c.name;
    }
}

// A file header and an info header of 40 bytes; the rest is added by the test.
Bytes Headers(int width, int height, int bitCount, std::uint32_t compression, std::uint32_t colorsUsed,
              std::uint32_t offBits) {
    Bytes out = {'B', 'M'};
    PutU32LE(out, 0);
    PutU32LE(out, 0);
    PutU32LE(out, offBits);
    PutU32LE(out, 40);
    PutU32LE(out, static_cast<std::uint32_t>(width));
    PutU32LE(out, static_cast<std::uint32_t>(height));
    PutU16LE(out, 1);
    PutU16LE(out, static_cast<std::uint32_t>(bitCount));
    PutU32LE(out, compression);
    PutU32LE(out, 0);
    PutU32LE(out, 0);
    PutU32LE(out, 0);
    PutU32LE(out, colorsUsed);
    PutU32LE(out, 0);
    return out;
}

void Append(Bytes& out, std::initializer_list<std::uint8_t> bytes) {
    out.insert(out.end(), bytes);
}

TEST(BmpRead, Os2CoreHeaderWithThreeBytePalette) {
    Bytes file = {'B', 'M'};
    PutU32LE(file, 0);
    PutU32LE(file, 0);
    PutU32LE(file, 14 + 12 + 16 * 3);
    PutU32LE(file, 12);
    PutU16LE(file, 3); // width
    PutU16LE(file, 2); // height
    PutU16LE(file, 1);
    PutU16LE(file, 4);
    for (std::uint8_t i = 0; i < 16; ++i)
        Append(file,
               {i, static_cast<std::uint8_t>(i * 2), static_cast<std::uint8_t>(i * 3)}); // blue, green, red
    Append(file, {0x12, 0x30, 0, 0});                                                    // bottom row: 1 2 3
    Append(file, {0x45, 0x60, 0, 0});                                                    // top row: 4 5 6

    Result<Image> image = DecodeBmp(file);
    ASSERT_TRUE(image) << StringToUtf8(image.Error().message);
    EXPECT_EQ(0xFF0C0804u, image.Value().Pixel(0, 0));
    EXPECT_EQ(0xFF120C06u, image.Value().Pixel(2, 0));
    EXPECT_EQ(0xFF030201u, image.Value().Pixel(0, 1));
    EXPECT_EQ(16u, image.Value().palette.size());
}

TEST(BmpRead, BitFieldsOfEveryHeaderVersion) {
    // 5-6-5 in a 40-byte header, the masks after it.
    Bytes file = Headers(2, 1, 16, 3, 0, 14 + 40 + 12);
    PutU32LE(file, 0xF800);
    PutU32LE(file, 0x07E0);
    PutU32LE(file, 0x001F);
    Append(file, {0x00, 0xF8, 0xE0, 0x07});
    Result<Image> image = DecodeBmp(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(0xFFFF0000u, image.Value().Pixel(0, 0));
    EXPECT_EQ(0xFF00FF00u, image.Value().Pixel(1, 0));
    EXPECT_EQ(16, image.Value().bitsPerPixel);

    // Bytes in R, G, B, A order, the masks inside a 124-byte header.
    Bytes v5 = {'B', 'M'};
    PutU32LE(v5, 0);
    PutU32LE(v5, 0);
    PutU32LE(v5, 14 + 124);
    PutU32LE(v5, 124);
    PutU32LE(v5, 1);
    PutU32LE(v5, static_cast<std::uint32_t>(-1)); // top-down
    PutU16LE(v5, 1);
    PutU16LE(v5, 32);
    PutU32LE(v5, 3);
    for (int i = 0; i < 5; ++i)
        PutU32LE(v5, 0);
    PutU32LE(v5, 0x000000FF);
    PutU32LE(v5, 0x0000FF00);
    PutU32LE(v5, 0x00FF0000);
    PutU32LE(v5, 0xFF000000);
    v5.resize(14 + 124, 0);
    Append(v5, {0x10, 0x20, 0x30, 0x80});
    image = DecodeBmp(v5);
    ASSERT_TRUE(image);
    EXPECT_EQ(0x80102030u, image.Value().Pixel(0, 0));
    EXPECT_TRUE(image.Value().hasAlpha);
}

TEST(BmpRead, ThirtyTwoBitsWithUnwrittenAlphaAreOpaque) {
    Bytes file = Headers(2, 1, 32, 0, 0, 54);
    Append(file, {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0});
    Result<Image> image = DecodeBmp(file);
    ASSERT_TRUE(image);
    EXPECT_FALSE(image.Value().hasAlpha);
    EXPECT_EQ(0xFF102030u, image.Value().Pixel(0, 0));
    EXPECT_EQ(0xFF405060u, image.Value().Pixel(1, 0));
}

TEST(BmpRead, RleEscapes) {
    // RLE8, 4 x 3: a run, end of line; a move right, three literal pixels, end of line; end of bitmap.
    Bytes rle8 = Headers(4, 3, 8, 1, 4, 14 + 40 + 16);
    for (std::uint8_t i = 0; i < 4; ++i)
        Append(rle8, {static_cast<std::uint8_t>(0x10 * i), 0, 0, 0});
    Append(rle8, {2, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 1});
    Result<Image> image = DecodeBmp(rle8);
    ASSERT_TRUE(image) << StringToUtf8(image.Error().message);
    const std::uint32_t p0 = 0xFF000000, p1 = 0xFF000010, p2 = 0xFF000020, p3 = 0xFF000030;
    const std::uint32_t expected[3][4] = {{p0, p0, p0, p0}, {p0, p2, p3, p1}, {p1, p1, p0, p0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(expected[y][x], image.Value().Pixel(x, y)) << x << "," << y;

    // RLE4, 7 x 1: a run of alternating 1 and 2, then 3, 4, 5 in absolute mode.
    Bytes rle4 = Headers(7, 1, 4, 2, 6, 14 + 40 + 24);
    for (std::uint8_t i = 0; i < 6; ++i)
        Append(rle4, {i, 0, 0, 0});
    Append(rle4, {4, 0x12, 0, 3, 0x34, 0x50, 0, 1});
    image = DecodeBmp(rle4);
    ASSERT_TRUE(image) << StringToUtf8(image.Error().message);
    const std::uint32_t row[7] = {1, 2, 1, 2, 3, 4, 5};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(0xFF000000u | row[x], image.Value().Pixel(x, 0)) << x;
}

TEST(BmpRead, IndexBeyondTheTableIsBlack) {
    Bytes file = Headers(2, 1, 8, 0, 2, 14 + 40 + 8);
    Append(file, {0xFF, 0xFF, 0xFF, 0, 0x80, 0x80, 0x80, 0});
    Append(file, {1, 5, 0, 0});
    Result<Image> image = DecodeBmp(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(0xFF808080u, image.Value().Pixel(0, 0));
    EXPECT_EQ(0xFF000000u, image.Value().Pixel(1, 0));
}

TEST(BmpRead, PackedDib) {
    Result<Bytes> file = EncodeBmp(Pattern(3, 3, ColoursFor(4)), {4});
    ASSERT_TRUE(file);
    Bytes dib(file.Value().begin() + 14, file.Value().end());
    Result<Image> fromDib = DecodeDib(dib);
    Result<Image> fromFile = DecodeBmp(file.Value());
    ASSERT_TRUE(fromDib);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ("", FirstDifference(fromFile.Value(), fromDib.Value()));

    // A table as long as colorsUsed claims, before true-colour bits, runs past the data.
    SetU32LE(dib, 32, 0xFFFFFFFF);
    dib[14] = 24;
    Result<Image> huge = DecodeDib(dib);
    ASSERT_FALSE(huge);
    EXPECT_EQ(CodecErrorKind::Truncated, huge.Error().kind);
}

struct Damage {
    const char* name;
    std::function<void(Bytes&)> apply;
    CodecErrorKind kind;
};

TEST(BmpRead, DamagedHeadersAreErrors) {
    // 24 bits, 4 x 4: file header at 0, info header at 14, bits at 54.
    Result<Bytes> valid = EncodeBmp(Pattern(4, 4, {0x102030, 0x405060}), {24});
    ASSERT_TRUE(valid);
    Result<Bytes> rle = EncodeBmp(Pattern(4, 4, {0x102030, 0x405060}), {8, BmpCompression::Rle});
    ASSERT_TRUE(rle);
    const Damage cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }, CodecErrorKind::NotThisFormat},
        {"signature only", [](Bytes& b) { b.resize(2); }, CodecErrorKind::Truncated},
        {"other signature", [](Bytes& b) { b[1] = 'X'; }, CodecErrorKind::NotThisFormat},
        {"header size 13", [](Bytes& b) { SetU32LE(b, 14, 13); }, CodecErrorKind::Corrupt},
        {"header size huge", [](Bytes& b) { SetU32LE(b, 14, 0x7FFFFFFF); }, CodecErrorKind::Truncated},
        {"width 0", [](Bytes& b) { SetU32LE(b, 18, 0); }, CodecErrorKind::Corrupt},
        {"width negative", [](Bytes& b) { SetU32LE(b, 18, static_cast<std::uint32_t>(-4)); },
         CodecErrorKind::Corrupt},
        {"height 0", [](Bytes& b) { SetU32LE(b, 22, 0); }, CodecErrorKind::Corrupt},
        {"height most negative", [](Bytes& b) { SetU32LE(b, 22, 0x80000000u); }, CodecErrorKind::TooLarge},
        {"7 bits", [](Bytes& b) { SetU16LE(b, 28, 7); }, CodecErrorKind::Corrupt},
        {"RLE8 at 24 bits", [](Bytes& b) { SetU32LE(b, 30, 1); }, CodecErrorKind::Corrupt},
        {"bit fields at 24 bits", [](Bytes& b) { SetU32LE(b, 30, 3); }, CodecErrorKind::Corrupt},
        {"holds a JPEG", [](Bytes& b) { SetU32LE(b, 30, 4); }, CodecErrorKind::Unsupported},
        {"bits inside the file header", [](Bytes& b) { SetU32LE(b, 10, 10); }, CodecErrorKind::Corrupt},
        {"bits inside the info header", [](Bytes& b) { SetU32LE(b, 10, 20); }, CodecErrorKind::Corrupt},
        {"bits past the end", [](Bytes& b) { SetU32LE(b, 10, 100000); }, CodecErrorKind::Truncated},
        {"last byte missing", [](Bytes& b) { b.pop_back(); }, CodecErrorKind::Truncated},
        {"60000 x 60000",
         [](Bytes& b) {
             SetU32LE(b, 18, 60000);
             SetU32LE(b, 22, 60000);
         },
         CodecErrorKind::TooLarge},
        {"8000 x 8000 in 48 bytes",
         [](Bytes& b) {
             SetU32LE(b, 18, 8000);
             SetU32LE(b, 22, 8000);
         },
         CodecErrorKind::Truncated},
    };
    for (const Damage& c : cases) {
        Bytes file = valid.Value();
        c.apply(file);
        Result<Image> result = DecodeBmp(file);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(c.kind, result.Error().kind) << c.name;
        EXPECT_EQ(String(Consts::SInvalidBitmap), result.Error().message) << c.name;
    }

    Bytes topDownRle = rle.Value();
    SetU32LE(topDownRle, 22, static_cast<std::uint32_t>(-4));
    Result<Image> result = DecodeBmp(topDownRle);
    ASSERT_FALSE(result);
    EXPECT_EQ(CodecErrorKind::Corrupt, result.Error().kind);
}

} // namespace
