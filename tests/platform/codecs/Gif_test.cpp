// GIF reading and writing: animations with delays, disposal and looping, composition, LZW edge
// cases, interlacing, damaged files.
#include <gtest/gtest.h>
#include <random>

#include "platform/codecs/Gif.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"
#include "tests/platform/codecs/CodecsTestSupport.h"

using namespace codecs;
using namespace codecs_test;

namespace {

constexpr std::uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF,
                        Clear = 0x00000000;

// The colour each frame index shows, through the frame's table.
std::uint32_t ColourAt(const GifFile& file, const GifFrame& frame, int x, int y) {
    const auto& palette = frame.localPalette.empty() ? file.globalPalette : frame.localPalette;
    return palette[frame.indices[static_cast<std::size_t>(y * frame.width + x)]];
}

Result<Image> FirstFrame(ByteSpan data) {
    Result<GifFile> file = DecodeGif(data);
    if (!file)
        return file.Error();
    return GifComposer(file.Value()).Frame(0);
}

TEST(GifWrite, AnimationRoundTrip) {
    Image holed = Pattern(2, 2, {Blue, Clear}, true);
    std::vector<GifWriteFrame> frames = {
        {Pattern(4, 3, {Red, White}), 0, 0, 10, GifDisposal::None},
        {Pattern(2, 2, {Green}), 1, 1, 25, GifDisposal::Background},
        {holed, 2, 0, 7, GifDisposal::Previous},
        {Pattern(1, 1, {Green}), 3, 2, 0, GifDisposal::None},
    };
    Result<Bytes> file = EncodeGif(frames, {0});
    ASSERT_TRUE(file);
    Result<GifFile> decoded = DecodeGif(file.Value());
    ASSERT_TRUE(decoded) << StringToUtf8(decoded.Error().message);
    const GifFile& gif = decoded.Value();
    EXPECT_EQ(4, gif.width);
    EXPECT_EQ(3, gif.height);
    EXPECT_EQ(std::optional<int>(0), gif.loopCount);
    ASSERT_EQ(4u, gif.frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const GifFrame& f = gif.frames[i];
        EXPECT_EQ(frames[i].left, f.left) << i;
        EXPECT_EQ(frames[i].top, f.top) << i;
        EXPECT_EQ(frames[i].delay, f.delay) << i;
        EXPECT_EQ(frames[i].disposal, f.disposal) << i;
        ASSERT_EQ(frames[i].image.width, f.width) << i;
        ASSERT_EQ(frames[i].image.height, f.height) << i;
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) {
                std::uint32_t original = frames[i].image.Pixel(x, y);
                if (original >> 24 == 0)
                    EXPECT_EQ(f.transparentIndex, f.indices[static_cast<std::size_t>(y * f.width + x)]) << i;
                else
                    EXPECT_EQ(original, ColourAt(gif, f, x, y)) << i << ": " << x << "," << y;
            }
    }
    EXPECT_EQ(-1, gif.frames[0].transparentIndex);
    EXPECT_GE(gif.frames[2].transparentIndex, 0);
    EXPECT_TRUE(gif.frames[0].localPalette.empty());
    EXPECT_FALSE(gif.frames[1].localPalette.empty()); // green is not in the first frame's table

    // Frame 1 is cleared after showing, frame 2 shows on top of that and is then taken back.
    const std::uint32_t R = Red, W = White, G = Green, B = Blue;
    const std::vector<std::vector<std::uint32_t>> expected = {
        {R, W, R, W, /**/ R, W, R, W, /**/ R, W, R, W},
        {R, W, R, W, /**/ R, G, G, W, /**/ R, G, G, W},
        {R, W, B, W, /**/ R, Clear, B, W, /**/ R, Clear, Clear, W},
        {R, W, R, W, /**/ R, Clear, Clear, W, /**/ R, Clear, Clear, G},
    };
    Result<std::vector<Image>> composed = ComposeGifFrames(gif);
    ASSERT_TRUE(composed);
    ASSERT_EQ(4u, composed.Value().size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i], composed.Value()[i].pixels) << "frame " << i;
        EXPECT_EQ(i >= 2, composed.Value()[i].hasAlpha) << "frame " << i;
    }

    // Asking for an earlier frame starts over; asking beyond the last gives the last.
    GifComposer composer(gif);
    EXPECT_EQ(expected[3], composer.Frame(3).pixels);
    EXPECT_EQ(expected[1], composer.Frame(1).pixels);
    EXPECT_EQ(expected[3], composer.Frame(9).pixels);

    EXPECT_EQ("", CheckPrefixes(file.Value(), FirstFrame));
    EXPECT_EQ("", CheckDamagedBytes(file.Value(), FirstFrame));
}

TEST(GifWrite, LoopCountOnlyWhenAsked) {
    const std::vector<GifWriteFrame> frames = {{Pattern(2, 2, {Red})}, {Pattern(2, 2, {Blue})}};
    for (std::optional<int> loops :
         {std::optional<int>(), std::optional<int>(5), std::optional<int>(65535)}) {
        Result<Bytes> file = EncodeGif(frames, {loops});
        ASSERT_TRUE(file);
        Result<GifFile> decoded = DecodeGif(file.Value());
        ASSERT_TRUE(decoded);
        EXPECT_EQ(loops, decoded.Value().loopCount);
    }
    EXPECT_EQ(CodecErrorKind::InvalidArgument, EncodeGif(frames, {70000}).Error().kind);
    EXPECT_EQ(String(Consts::sEmptyImage), EncodeGif({}).Error().message);
}

TEST(GifWrite, LzwSurvivesFullTablesAndLongRuns) {
    // Noise fills the 4096-entry table many times over; a single colour makes strings that refer
    // to themselves; two colours use the smallest code size.
    std::mt19937 random(7);
    Image noise = Pattern(301, 203, {0});
    std::vector<std::uint32_t> colours(256);
    for (std::uint32_t i = 0; i < 256; ++i)
        colours[i] = 0xFF000000u | (i << 16) | ((255 - i) << 8) | (i * 3 % 256);
    for (std::uint32_t& p : noise.pixels)
        p = colours[random() % 256];
    const Image cases[] = {noise, Pattern(500, 300, {Red}), Pattern(97, 13, {Red, Blue, Blue})};
    for (const Image& image : cases) {
        Result<Bytes> file = EncodeGif(std::vector<GifWriteFrame>{{image}});
        ASSERT_TRUE(file);
        Result<Image> decoded = FirstFrame(file.Value());
        ASSERT_TRUE(decoded) << StringToUtf8(decoded.Error().message);
        EXPECT_EQ("", FirstDifference(image, decoded.Value()));
    }
}

TEST(GifWrite, ReducesToTheColourCube) {
    const Image image = Gradient(50, 40);
    Result<Bytes> file = EncodeGif(std::vector<GifWriteFrame>{{image}});
    ASSERT_TRUE(file);
    Result<Image> decoded = FirstFrame(file.Value());
    ASSERT_TRUE(decoded);
    EXPECT_LE(MaxChannelDifference(image, decoded.Value()), 26);
}

TEST(GifRead, InterlacedRowsComeBackInOrder) {
    const int width = 3, height = 11;
    Image image = Pattern(width, height, {0});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(
                x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 20) << 8 | static_cast<std::uint32_t>(x));
    // Store the rows in interlaced order, then set the descriptor's interlace flag.
    Image stored = image;
    int row = 0;
    for (int pass : {0, 1, 2, 3}) {
        static constexpr int Start[4] = {0, 4, 2, 1}, Step[4] = {8, 8, 4, 2};
        for (int y = Start[pass]; y < height; y += Step[pass], ++row)
            for (int x = 0; x < width; ++x)
                stored.SetPixel(x, row, image.Pixel(x, y));
    }
    Bytes file = EncodeGif(std::vector<GifWriteFrame>{{stored}}).Value();
    std::size_t control = 0;
    while (!(file[control] == 0x21 && file[control + 1] == 0xF9))
        ++control;
    const std::size_t descriptor = control + 8; // after the 8 bytes of the graphic control block
    ASSERT_EQ(0x2C, file[descriptor]);
    file[descriptor + 9] |= 0x40;
    Result<GifFile> decoded = DecodeGif(file);
    ASSERT_TRUE(decoded);
    EXPECT_TRUE(decoded.Value().frames[0].interlaced);
    EXPECT_EQ("", FirstDifference(image, GifComposer(decoded.Value()).Frame(0)));
}

TEST(GifRead, ScreenOfZeroTakesTheFramesExtent) {
    Bytes file = EncodeGif(std::vector<GifWriteFrame>{{Pattern(3, 2, {Red}), 2, 1}}).Value();
    SetU16LE(file, 6, 0);
    SetU16LE(file, 8, 0);
    Result<GifFile> decoded = DecodeGif(file);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(5, decoded.Value().width);
    EXPECT_EQ(3, decoded.Value().height);
}

// A 2 x 2 file by hand: global table of two colours, one frame, the LZW bytes given.
Bytes HandMade(std::initializer_list<std::uint8_t> lzw, std::uint8_t minCodeSize = 2,
               bool globalTable = true) {
    Bytes file = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, static_cast<std::uint8_t>(globalTable ? 0x80 : 0),
                  0,   0};
    if (globalTable)
        file.insert(file.end(), {0, 0, 0, 255, 255, 255});
    file.insert(file.end(),
                {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, minCodeSize, static_cast<std::uint8_t>(lzw.size())});
    file.insert(file.end(), lzw);
    file.insert(file.end(), {0, 0x3B});
    return file;
}

TEST(GifRead, DamagedFilesGiveTheImageClassTexts) {
    // Codes of 3 bits, least significant bit first: clear (4), 1, 0, 1; the table then reaches 8
    // entries and the last pixel 0 and the end code (5) take 4 bits.
    const Bytes valid = HandMade({0x0C, 0x02, 0x05});
    ASSERT_TRUE(DecodeGif(valid)) << StringToUtf8(DecodeGif(valid).Error().message);
    Bytes badBlock = valid;
    badBlock[13 + 6] = 0x99;
    Bytes bigScreen = valid;
    SetU16LE(bigScreen, 6, 65535);
    SetU16LE(bigScreen, 8, 65535);
    Bytes bigFrame = valid;
    SetU16LE(bigFrame, 19 + 5, 8000);
    SetU16LE(bigFrame, 19 + 7, 8000);
    Bytes noTrailer = valid;
    noTrailer.pop_back();

    struct Case {
        const char* name;
        Bytes file;
        CodecErrorKind kind;
        const Char* message;
    } cases[] = {
        {"not a GIF", {'B', 'M', 0, 0, 0, 0}, CodecErrorKind::NotThisFormat, Consts::sBadSignature},
        {"empty", {}, CodecErrorKind::NotThisFormat, Consts::sBadSignature},
        {"version 88a",
         {'G', 'I', 'F', '8', '8', 'a', 0, 0},
         CodecErrorKind::Unsupported,
         Consts::sBadVersion},
        {"header only", {'G', 'I', 'F', '8', '9', 'a', 1, 0}, CodecErrorKind::Truncated, Consts::sOutOfData},
        {"no frames",
         {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B},
         CodecErrorKind::Corrupt,
         Consts::sEmptyImage},
        {"no trailer", noTrailer, CodecErrorKind::Truncated, Consts::sOutOfData},
        {"unknown block", badBlock, CodecErrorKind::Corrupt, Consts::sBadBlock},
        {"no colour table", HandMade({0x0C, 0x02, 0x05}, 2, false), CodecErrorKind::Corrupt,
         Consts::sNoColorTable},
        {"code size 12", HandMade({0x0C, 0x02, 0x05}, 12), CodecErrorKind::Corrupt, Consts::sInvalidData},
        {"first code not a colour", HandMade({0x34, 0x00}), CodecErrorKind::Corrupt, Consts::sInvalidData},
        {"code beyond the table", HandMade({0xCC, 0x01}), CodecErrorKind::Corrupt, Consts::sInvalidData},
        {"too few pixels", HandMade({0x0C, 0x0A}), CodecErrorKind::Truncated, Consts::sOutOfData},
        {"screen of 65535 x 65535", bigScreen, CodecErrorKind::TooLarge, Consts::sBadDimension},
        {"8000 x 8000 frame in 3 bytes", bigFrame, CodecErrorKind::Truncated, Consts::sOutOfData},
    };
    for (const Case& c : cases) {
        Result<GifFile> result = DecodeGif(c.file);
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(c.kind, result.Error().kind) << c.name;
        EXPECT_EQ(String(c.message), result.Error().message) << c.name;
    }
}

TEST(GifCompose, RefusesAnimationsBeyondTheLimit) {
    GifFile file;
    file.width = 8192;
    file.height = 8192;
    file.frames.resize(2); // empty frames: nothing to draw, but two full screens to hold
    Result<std::vector<Image>> composed = ComposeGifFrames(file);
    ASSERT_FALSE(composed);
    EXPECT_EQ(CodecErrorKind::TooLarge, composed.Error().kind);
}

TEST(GifCompose, FramesOutsideTheScreenAreCut) {
    GifFile file;
    file.width = 2;
    file.height = 2;
    file.globalPalette = {Red, Blue};
    GifFrame frame;
    frame.left = 1;
    frame.top = 1;
    frame.width = 3;
    frame.height = 3;
    frame.indices.assign(9, 1);
    frame.indices[0] = 7; // beyond the table: black
    file.frames.push_back(frame);
    EXPECT_EQ((std::vector<std::uint32_t>{Clear, Clear, Clear, 0xFF000000}),
              GifComposer(file).Frame(0).pixels);
}

} // namespace
