// Icon and cursor files: several sizes and depths, masks, PNG entries, hot spots, damaged files.
#include <gtest/gtest.h>

#include "platform/codecs/Ico.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"
#include "tests/platform/codecs/CodecsTestSupport.h"

using namespace codecs;
using namespace codecs_test;

namespace {

// Below 32 bits, masked pixels read back as 0 whatever colour they had; 32-bit alpha stays as it is.
Image AsRead(const Image& image) {
    Image out = image;
    if (image.bitsPerPixel == 32 && image.hasAlpha)
        return out;
    for (std::uint32_t& p : out.pixels)
        p = (image.hasAlpha && (p >> 24) < 128) ? 0 : (p | 0xFF000000u);
    return out;
}

Image Depth(Image image, int bits) {
    image.bitsPerPixel = bits;
    return image;
}

std::vector<Image> SeveralIcons() {
    std::vector<std::uint32_t> sixteen;
    for (std::uint32_t i = 0; i < 15; ++i)
        sixteen.push_back(0xFF000000u | (i * 17) << 16 | (255 - i * 17));
    sixteen.push_back(0); // transparent
    std::vector<std::uint32_t> translucent;
    for (std::uint32_t i = 0; i < 40; ++i)
        translucent.push_back((i * 6) << 24 | (i * 6) << 16 | 0x8000 | i);
    Image photo = Gradient(48, 48);
    photo.hasAlpha = true;
    photo.pixels[5] = 0x00FF00FF;
    return {
        Depth(Pattern(16, 16, {0xFF000000, 0xFFFFFFFF}), 1),
        Depth(Pattern(16, 16, sixteen, true), 4),
        Depth(Pattern(32, 32, {0xFFFF0000, 0xFF00FF00, 0x00000000, 0xFF123456}, true), 8),
        Depth(photo, 24),
        Depth(Pattern(32, 32, translucent, true), 32),
        Depth(Pattern(256, 256, translucent, true), 32),
    };
}

TEST(Ico, SeveralSizesAndDepthsRoundTrip) {
    const std::vector<Image> images = SeveralIcons();
    Result<Bytes> file = EncodeIco(images);
    ASSERT_TRUE(file);
    Result<IconFile> decoded = DecodeIco(file.Value());
    ASSERT_TRUE(decoded) << StringToUtf8(decoded.Error().message);
    EXPECT_FALSE(decoded.Value().cursor);
    ASSERT_EQ(images.size(), decoded.Value().images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& icon = decoded.Value().images[i];
        EXPECT_EQ("", FirstDifference(AsRead(images[i]), icon.image)) << i;
        EXPECT_EQ(images[i].bitsPerPixel, icon.image.bitsPerPixel) << i;
        EXPECT_EQ(images[i].width == 256, icon.png) << i;
    }
    EXPECT_FALSE(decoded.Value().images[0].image.hasAlpha);
    EXPECT_TRUE(decoded.Value().images[2].image.hasAlpha);

    // The directory stores a side of 256 as 0.
    const Bytes& bytes = file.Value();
    EXPECT_EQ(0, bytes[6 + 16 * 5]);
}

TEST(Ico, MaskedPixelsAreBlackInTheColourRows) {
    // Otherwise the AND mask and the colour would invert the screen behind a transparent pixel.
    Image image = Depth(Pattern(2, 2, {0x00FF0000, 0xFF00FF00}, true), 24);
    Result<Bytes> file = EncodeIco(std::span<const Image>(&image, 1));
    ASSERT_TRUE(file);
    const Bytes& b = file.Value();
    const std::size_t bits = 6 + 16 + 40; // rows bottom-up, 8 bytes each; top-left pixel is in the second row
    EXPECT_EQ((Bytes{0, 0, 0}), Bytes(b.begin() + bits + 8, b.begin() + bits + 11));
    EXPECT_EQ((Bytes{0, 0xFF, 0}), Bytes(b.begin() + bits + 11, b.begin() + bits + 14));
}

TEST(Ico, CursorHotSpots) {
    const std::vector<Image> images = {Depth(Pattern(32, 32, {0xFF000000, 0x00000000}, true), 1),
                                       Depth(Pattern(16, 16, {0xFF000000}), 4)};
    Bytes file = EncodeIco(images).Value();
    SetU16LE(file, 2, 2);
    SetU16LE(file, 6 + 4, 5);       // first entry: x
    SetU16LE(file, 6 + 6, 7);       // and y
    SetU16LE(file, 6 + 16 + 4, 15); // second entry
    SetU16LE(file, 6 + 16 + 6, 0);
    Result<IconFile> decoded = DecodeIco(file);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded.Value().cursor);
    ASSERT_EQ(2u, decoded.Value().images.size());
    EXPECT_EQ(5, decoded.Value().images[0].hotSpotX);
    EXPECT_EQ(7, decoded.Value().images[0].hotSpotY);
    EXPECT_EQ(15, decoded.Value().images[1].hotSpotX);
    EXPECT_EQ(0, decoded.Value().images[1].hotSpotY);
}

TEST(Ico, ThirtyTwoBitsWithoutAlphaUseTheMask) {
    // 2 x 1, alpha bytes all 0; the mask hides the right pixel.
    Bytes file;
    PutU16LE(file, 0);
    PutU16LE(file, 1);
    PutU16LE(file, 1);
    file.insert(file.end(), {2, 1, 0, 0});
    PutU16LE(file, 1);
    PutU16LE(file, 32);
    PutU32LE(file, 40 + 8 + 4);
    PutU32LE(file, 22);
    PutU32LE(file, 40);
    PutU32LE(file, 2);
    PutU32LE(file, 2);
    PutU16LE(file, 1);
    PutU16LE(file, 32);
    for (int i = 0; i < 6; ++i)
        PutU32LE(file, 0);
    file.insert(file.end(), {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0});
    file.insert(file.end(), {0x40, 0, 0, 0});
    Result<IconFile> decoded = DecodeIco(file);
    ASSERT_TRUE(decoded) << StringToUtf8(decoded.Error().message);
    const Image& image = decoded.Value().images[0].image;
    EXPECT_EQ(0xFF102030u, image.Pixel(0, 0));
    EXPECT_EQ(0u, image.Pixel(1, 0));
    EXPECT_TRUE(image.hasAlpha);
}

Result<Image> FirstIcon(ByteSpan data) {
    Result<IconFile> file = DecodeIco(data);
    if (!file)
        return file.Error();
    return file.Value().images[0].image;
}

TEST(Ico, DamagedFilesAreIconErrors) {
    const std::vector<Image> small = {Depth(Pattern(8, 8, {0xFF0000FF, 0x00000000}, true), 4),
                                      Depth(Pattern(4, 4, {0xFF00FF00}), 24)};
    const Bytes valid = EncodeIco(small).Value();
    EXPECT_EQ("", CheckPrefixes(valid, FirstIcon));
    EXPECT_EQ("", CheckDamagedBytes(valid, FirstIcon));

    const Image big = Depth(Pattern(256, 256, {0x80FF0000}, true), 32);
    Bytes withPng = EncodeIco(std::span<const Image>(&big, 1)).Value();
    withPng[6 + 16 + 20] ^= 0xFF; // inside the PNG's IHDR

    struct Case {
        const char* name;
        std::function<void(Bytes&)> apply;
        CodecErrorKind kind;
    } cases[] = {
        {"empty", [](Bytes& b) { b.clear(); }, CodecErrorKind::NotThisFormat},
        {"reserved word set", [](Bytes& b) { b[0] = 1; }, CodecErrorKind::NotThisFormat},
        {"type 3", [](Bytes& b) { b[2] = 3; }, CodecErrorKind::NotThisFormat},
        {"no images", [](Bytes& b) { SetU16LE(b, 4, 0); }, CodecErrorKind::Corrupt},
        {"more entries than the directory holds", [](Bytes& b) { SetU16LE(b, 4, 4000); },
         CodecErrorKind::Truncated},
        {"entry past the end", [](Bytes& b) { SetU32LE(b, 6 + 12, 100000); }, CodecErrorKind::Truncated},
        {"entry larger than the file", [](Bytes& b) { SetU32LE(b, 6 + 8, 0xFFFFFFF0); },
         CodecErrorKind::Truncated},
        {"7 bits", [](Bytes& b) { b[6 + 32 + 14] = 7; }, CodecErrorKind::Corrupt},
        {"mask cut off", [](Bytes& b) { SetU32LE(b, 6 + 16 + 8, 40 + 48); }, CodecErrorKind::Truncated},
    };
    for (const Case& c : cases) {
        Bytes file = valid;
        c.apply(file);
        Result<IconFile> result = DecodeIco(file);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(c.kind, result.Error().kind) << c.name;
        EXPECT_EQ(String(Consts::SInvalidIcon), result.Error().message) << c.name;
    }
    Result<IconFile> badPng = DecodeIco(withPng);
    ASSERT_FALSE(badPng);
    EXPECT_EQ(String(Consts::SInvalidIcon), badPng.Error().message);
}

TEST(Ico, RefusesWhatAnIconCannotHold) {
    const Image tooBig = Pattern(257, 16, {0xFF000000});
    const Image empty;
    EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodeIco(std::span<const Image>(&tooBig, 1)).Error().kind);
    EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodeIco(std::span<const Image>(&empty, 1)).Error().kind);
    EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodeIco({}).Error().kind);
}

} // namespace
