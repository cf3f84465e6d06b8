// Telling picture formats apart by their first bytes, and every reader on the inputs its fuzz target
// keeps.
#include <gtest/gtest.h>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"
#include <filesystem>

#include "tests/platform/codecs/CodecFuzzInput.h"
#include "tests/platform/codecs/CodecsTestSupport.h"
#include "tests/support/FuzzFixtures.h"

using namespace codecs;
using namespace codecs_test;

namespace {

TEST(ImageFormatDetection, NamesEachFormatBySignature) {
    const Image image = Pattern(4, 4, {0x102030, 0x405060});
    const Image icon = Pattern(16, 16, {0x102030, 0x405060});
    Bytes cursor = EncodeIco(std::span<const Image>(&icon, 1)).Value();
    cursor[2] = 2;
    struct Case {
        const char* name;
        Bytes data;
        ImageFormat expected;
    } cases[] = {
        {"our BMP", EncodeBmp(image).Value(), ImageFormat::Bmp},
        {"our PNG", EncodePng(image).Value(), ImageFormat::Png},
        {"our JPEG", EncodeJpeg(image).Value(), ImageFormat::Jpeg},
        {"our GIF", EncodeGif(std::vector<GifWriteFrame>{{image}}).Value(), ImageFormat::Gif},
        {"our ICO", EncodeIco(std::span<const Image>(&icon, 1)).Value(), ImageFormat::Ico},
        {"a cursor", cursor, ImageFormat::Cur},
        {"GIF87a", {'G', 'I', 'F', '8', '7', 'a'}, ImageFormat::Gif},
        {"GIF of another version", {'G', 'I', 'F', '8', '8', 'a'}, ImageFormat::Unknown},
        {"PNG signature cut", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A}, ImageFormat::Unknown},
        {"JPEG without a marker", {0xFF, 0xD8}, ImageFormat::Unknown},
        {"icon directory without images", {0, 0, 1, 0, 0, 0}, ImageFormat::Unknown},
        {"icon of type 3", {0, 0, 3, 0, 1, 0}, ImageFormat::Unknown},
        {"empty", {}, ImageFormat::Unknown},
        {"text", {'h', 'e', 'l', 'l', 'o'}, ImageFormat::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DetectImageFormat(c.data)) << c.name;
}

// Every crash input the readers' fuzz targets found, read as its format (named by its extension) as
// the target reads it; the seed files of each target too.
TEST(CodecFuzzInputs, ReadCleanly) {
    std::vector<std::pair<std::string, std::string>> files =
        testing_support::FuzzFixtures({ZELMOR_TESTS_SOURCE "/platform/codecs/fuzz"});
    for (const char* format : {"bmp", "gif", "ico", "jpeg", "png"})
        for (auto& seed :
             testing_support::FuzzFixtures({std::string(ZELMOR_TESTS_SOURCE "/fuzz/corpus/") + format}))
            files.push_back(std::move(seed));
    ASSERT_FALSE(files.empty());
    for (const auto& [name, bytes] : files) {
        const codec_fuzz::ImageFormat format =
            codec_fuzz::FormatOfExtension(std::filesystem::path(name).extension().string());
        EXPECT_NE(format, codec_fuzz::ImageFormat::Unknown) << name;
        EXPECT_TRUE(codec_fuzz::ReadCodecFuzzInput(
            format, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
            << name;
    }
}

} // namespace
