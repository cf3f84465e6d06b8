// The picture control: GIF frames read from bytes built here (whole, truncated, animated on the manual
// clock), the placements of a picture, border and empty text, the picture dialog and files it cannot
// read.
#include <fstream>

#include "controls/AdvPicture.h"
#include "platform/codecs/Gif.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/resources.h"
#include "tests/controls/InstrumentTesting.h"
#include "tests/support/TestSupport.h"

namespace {

// Frame i (from 1) of the test GIFs: a 4 x 4 square of its own colour at (4 i, 2 i) on a 24 x 14 screen.
const std::uint32_t FrameRgb[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF};
const TColor FrameColor[] = {clRed, clLime, clBlue, clAqua, clFuchsia};

codecs::Bytes MakeGif(const std::vector<int>& delays) {
    std::vector<codecs::GifWriteFrame> frames;
    for (size_t i = 0; i < delays.size(); ++i) {
        codecs::GifWriteFrame frame;
        frame.image = codecs::MakeImage(4, 4, FrameRgb[i]);
        frame.left = 4 * static_cast<int>(i + 1);
        frame.top = 2 * static_cast<int>(i + 1);
        frame.delay = delays[i];
        frames.push_back(frame);
    }
    codecs::GifWriteOptions options;
    options.width = 24;
    options.height = 14;
    auto result = codecs::EncodeGif(frames, options);
    EXPECT_TRUE(result.Ok());
    return result.Value();
}

std::unique_ptr<TMemoryStream> StreamOf(const codecs::Bytes& bytes) {
    auto stream = std::make_unique<TMemoryStream>();
    if (!bytes.empty())
        stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

// A BMP file of width x height pixels in one colour.
std::unique_ptr<TMemoryStream> BitmapFile(int width, int height, TColor color) {
    TBitmap bitmap;
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(color);
    bitmap.Canvas()->FillRect(TRect(0, 0, width, height));
    auto stream = std::make_unique<TMemoryStream>();
    bitmap.SaveToStream(*stream);
    stream->SetPosition(0);
    return stream;
}

std::string WriteFile(const std::string& name, const codecs::Bytes& bytes) {
    std::string path = testing_support::MakeTestFolder("picture") + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Where frame number frame (from 1) starts in a test GIF's bytes.
size_t FrameStart(const codecs::Bytes& gif, int frame) {
    int n = 0;
    for (size_t p = 0; p + 8 < gif.size(); ++p)
        if (gif[p] == 0x21 && gif[p + 1] == 0xF9 && gif[p + 2] == 4 && gif[p + 8] == 0x2C && ++n == frame)
            return p;
    return 0;
}

TEST(TIPicture, RecognisesGifsCountsFramesAndReadsDelays) {
    TIPicture picture;
    // Four bytes are never a GIF, whatever they say.
    auto four = StreamOf({'G', 'I', 'F', '8'});
    EXPECT_THROW(picture.LoadFromStream(*four), Exception);
    EXPECT_FALSE(picture.IsGIF());
    EXPECT_EQ(picture.FrameCount(), -1);
    EXPECT_EQ(picture.GetFrameTime(1), -1);

    auto one = StreamOf(MakeGif({7}));
    picture.LoadFromStream(*one);
    EXPECT_TRUE(picture.IsGIF());
    EXPECT_EQ(picture.FrameCount(), 1);
    EXPECT_EQ(picture.GetFrameTime(1), 7);
    EXPECT_EQ(picture.GetMaxWidth(), 24);
    EXPECT_EQ(picture.GetMaxHeight(), 14);

    auto five = StreamOf(MakeGif({0, 10, 0, 10, 0}));
    picture.LoadFromStream(*five);
    EXPECT_EQ(picture.FrameCount(), 5);
    const int delays[] = {5, 10, 5, 10, 5}; // a delay of 0 plays as 5
    for (int frame = 1; frame <= 5; ++frame)
        EXPECT_EQ(picture.GetFrameTime(frame), delays[frame - 1]) << "frame " << frame;
    EXPECT_EQ(picture.GetFrameTime(6), -1);
    EXPECT_EQ(picture.GetFrameTime(0), -1);
}

TEST(TIPicture, AFrameIsCutOutAndPlacedAtItsOwnPosition) {
    TAdvPicture control(nullptr);
    control.SetBounds(0, 0, 24, 14);
    auto five = StreamOf(MakeGif({10, 10, 10, 10, 10}));
    control.Picture()->LoadFromStream(*five);
    TIPicture* picture = control.Picture();
    struct Case {
        int frame;
        int shown; // the frame whose colour shows
    };
    for (Case c : {Case{0, 1}, Case{1, 1}, Case{3, 3}, Case{5, 5}}) {
        picture->SetFrame(c.frame);
        const int x = 4 * c.shown;
        const int y = 2 * c.shown;
        EXPECT_EQ(picture->FrameXPos(), c.frame == 0 ? 0 : x) << "frame " << c.frame;
        EXPECT_EQ(picture->FrameYPos(), c.frame == 0 ? 0 : y) << "frame " << c.frame;
        auto bitmap = PaintControl(&control);
        EXPECT_EQ(BoundsOfColor(*bitmap, FrameColor[c.shown - 1]), TRect(x, y, x + 4, y + 4))
            << "frame " << c.frame;
        for (int other = 1; other <= 5; ++other)
            if (other != c.shown) {
                EXPECT_EQ(CountColor(*bitmap, FrameColor[other - 1]), 0)
                    << "frame " << c.frame << " shows " << other;
            }
    }
}

TEST(TIPicture, ATruncatedGifIsReadOnlyWhereItHasBytes) {
    codecs::Bytes gif = MakeGif({10, 10, 10, 10, 10});
    // The last frame keeps its extension and separator and two bytes of its place: it is counted, but
    // has no place or size of its own.
    const size_t last = FrameStart(gif, 5);
    ASSERT_GT(last, 0u);
    codecs::Bytes cut(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(last + 12));
    TIPicture picture;
    auto stream = StreamOf(cut);
    try {
        picture.LoadFromStream(*stream);
    } catch (const Exception&) {
        // A loader may refuse the cut file; the frame bookkeeping below reads the bytes all the same.
    }
    EXPECT_EQ(picture.FrameCount(), 5);
    EXPECT_EQ(picture.GetFrameTime(5), 10);
    try {
        picture.SetFrame(4);
    } catch (const Exception&) {
    }
    EXPECT_EQ(picture.FrameXPos(), 16);
    EXPECT_EQ(picture.FrameYSize(), 4);
    try {
        picture.SetFrame(5);
    } catch (const Exception&) {
    }
    EXPECT_EQ(picture.FrameXPos(), 0);
    EXPECT_EQ(picture.FrameYPos(), 0);
    EXPECT_EQ(picture.FrameXSize(), 0);
    EXPECT_EQ(picture.FrameYSize(), 0);
}

class AdvPictureOnForm : public InstrumentTest {};

TEST_F(AdvPictureOnForm, FramesAdvanceOnTheTimerByTheirDelays) {
    auto* control = Add<TAdvPicture>(10, 10, 24, 14);
    ShowForm();
    auto five = StreamOf(MakeGif({0, 10, 0, 10, 0}));
    control->Picture()->LoadFromStream(*five);
    int frameChanges = 0;
    control->OnFrameChange = [&](TObject*) { ++frameChanges; };
    control->SetAnimate(true);
    ASSERT_NE(control->HelperWnd(), nullptr);
    // Ticks of 10 ms: the first tick shows frame 1, then each frame stays for its delay (0 as 5).
    const std::vector<std::pair<int, int>> expected = {{1, 1},  {5, 1},  {6, 2},  {15, 2}, {16, 3},
                                                       {20, 3}, {21, 4}, {31, 5}, {36, 1}, {41, 2}};
    int tick = 0;
    for (const auto& [at, frame] : expected) {
        while (tick < at) {
            Clock::Advance(10);
            Pump();
            ++tick;
        }
        EXPECT_EQ(control->Picture()->Frame(), frame) << "after tick " << at;
    }
    EXPECT_EQ(frameChanges, 7);
    Shot();
    EXPECT_EQ(Pixel(control, 8 + 1, 4 + 1), clLime); // frame 2 at (8, 4)

    control->SetAnimate(false);
    EXPECT_EQ(control->HelperWnd(), nullptr);
    Clock::Advance(100);
    Pump();
    EXPECT_EQ(control->Picture()->Frame(), 2);
}

TEST_F(AdvPictureOnForm, AOneFrameGifDoesNotAnimate) {
    auto* control = Add<TAdvPicture>(10, 10, 24, 14);
    ShowForm();
    auto one = StreamOf(MakeGif({10}));
    control->Picture()->LoadFromStream(*one);
    control->SetAnimate(true);
    for (int i = 0; i < 5; ++i) {
        Clock::Advance(10);
        Pump();
    }
    EXPECT_EQ(control->Picture()->Frame(), 0);
}

TEST(TAdvPicturePaint, PlacesThePictureByPositionAndStretchMode) {
    struct Case {
        const char* name;
        int width;
        int height;
        TPicturePosition position;
        TStretchMode mode;
        TRect bounds;
    };
    const Case cases[] = {
        {"top left", 20, 10, bpTopLeft, smNever, TRect(0, 0, 20, 10)},
        {"top right", 20, 10, bpTopRight, smNever, TRect(80, 0, 100, 10)},
        {"bottom left", 20, 10, bpBottomLeft, smNever, TRect(0, 90, 20, 100)},
        {"bottom right", 20, 10, bpBottomRight, smNever, TRect(80, 90, 100, 100)},
        {"centre", 20, 10, bpCenter, smNever, TRect(40, 45, 60, 55)},
        {"tiled", 20, 10, bpTiled, smNever, TRect(0, 0, 100, 100)},
        {"stretched", 20, 10, bpStretched, smNever, TRect(0, 0, 100, 100)},
        {"stretched with aspect", 20, 10, bpStretchedWithAspect, smNever, TRect(0, 0, 100, 50)},
        {"shrunk, top left", 200, 100, bpTopLeft, smShrink, TRect(0, 0, 100, 50)},
        {"shrunk, bottom right", 100, 200, bpBottomRight, smShrink, TRect(50, 0, 100, 100)},
        {"shrunk, centre", 200, 100, bpCenter, smShrink, TRect(0, 25, 100, 75)},
    };
    for (const Case& c : cases) {
        TAdvPicture control(nullptr);
        auto file = BitmapFile(c.width, c.height, clRed);
        control.Picture()->LoadFromStream(*file);
        control.SetPicturePosition(c.position);
        control.SetStretchMode(c.mode);
        auto bitmap = PaintControl(&control);
        EXPECT_EQ(BoundsOfColor(*bitmap, clRed), c.bounds) << c.name;
        if (c.position == bpTiled) {
            EXPECT_EQ(CountColor(*bitmap, clRed), 100 * 100) << c.name;
        }
    }
}

TEST(TAdvPicturePaint, APictureWithoutSizeDrawsNothingInEveryPlacement) {
    // Bytes no loader reads leave a picture that is not empty but has no size.
    for (TPicturePosition position : {bpTopLeft, bpCenter, bpTiled, bpStretched, bpStretchedWithAspect})
        for (TStretchMode mode : {smNever, smShrink}) {
            TAdvPicture control(nullptr);
            auto garbage = StreamOf({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
            EXPECT_THROW(control.Picture()->LoadFromStream(*garbage), Exception);
            ASSERT_FALSE(control.Picture()->Empty());
            EXPECT_EQ(control.Picture()->GetMaxWidth(), 0);
            control.SetPicturePosition(position);
            control.SetStretchMode(mode);
            auto bitmap = PaintControl(&control);
            EXPECT_EQ(CountColor(*bitmap, clWhite), 100 * 100) << "position " << position << " mode " << mode;
        }
}

TEST(TAdvPicturePaint, BorderAndEmptyText) {
    struct Case {
        const char* name;
        AdvPicture::TBorderStyle style;
        bool withPicture;
        bool border;
    };
    const Case cases[] = {
        {"always, with a picture", AdvPicture::bAlways, true, true},
        {"empty, while empty", AdvPicture::bEmpty, false, true},
        {"empty, with a picture", AdvPicture::bEmpty, true, false},
        {"design, at run time", AdvPicture::bDesign, false, false},
        {"never", AdvPicture::bNever, false, false},
    };
    for (const Case& c : cases) {
        TAdvPicture control(nullptr);
        control.SetBorderStyle(c.style);
        control.SetBorderPenStyle(psSolid);
        control.SetBorderColor(clGreen);
        control.SetEmptyText(u"No picture here");
        control.Font()->SetColor(clBlue);
        if (c.withPicture) {
            auto file = BitmapFile(10, 10, clRed);
            control.Picture()->LoadFromStream(*file);
        }
        auto bitmap = PaintControl(&control);
        EXPECT_EQ(BoundsOfColor(*bitmap, clGreen), c.border ? TRect(0, 0, 100, 100) : TRect()) << c.name;
        // The text shows only while empty, centred between the sides and around the middle.
        TRect text = BoundsOfColor(*bitmap, clBlue);
        if (c.withPicture) {
            EXPECT_TRUE(text.IsEmpty()) << c.name;
        } else {
            ASSERT_FALSE(text.IsEmpty()) << c.name;
            EXPECT_GE(text.Left, 4) << c.name;
            EXPECT_LE(text.Right, 96) << c.name;
            EXPECT_NEAR((text.Top + text.Bottom) / 2, 50, 10) << c.name;
        }
    }
}

TEST(PictureDialogFilter, JoinsTheTypesInTheirFixedOrder) {
    struct Case {
        TImageFileTypes types;
        const char16_t* filter;
    };
    const Case cases[] = {
        {{}, u""},
        {{itAll}, u""},
        {{itJPEG}, u"JPG Images (*.jpg)|*.jpg|JPEG Images (*.jpeg)|*.jpeg"},
        {{itBMP, itGIF, itAll},
         u"All (*.gif;*.bmp)|*.gif;*.bmp|GIF Images (*.gif)|*.gif|Bitmap images (*.bmp)|*.bmp"},
        {{itEMF, itICO, itPNG, itJPEG, itAll},
         u"All (*.jpg;*.jpeg;*.png;*.ico;*.emf)|*.jpg;*.jpeg;*.png;*.ico;*.emf|JPG Images (*.jpg)|*.jpg|JPEG "
         u"Images "
         u"(*.jpeg)|*.jpeg|PNG images (*.png)|*.png|Icons (*.ico)|*.ico|Enhanced metafiles (*.emf)|*.emf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringToUtf8(PictureDialogFilter(c.types)), StringToUtf8(c.filter));
}

TEST(TAdvPictureClick, ThePictureDialogLoadsTheFileChosenWhenAllowed) {
    const std::string path = WriteFile("chosen.gif", MakeGif({10, 10}));
    for (bool allow : {true, false}) {
        win32::RecordingDialogService dialogs;
        dialogs.AnswerFile({Utf8ToString(path)});
        TAdvPicture control(nullptr);
        control.SetAllowSelectOnClick(true);
        control.SetImageTypes({itGIF, itBMP, itAll});
        std::vector<std::string> events;
        control.OnPictureSelect = [&](TObject*, String fileName, bool& allowed) {
            events.push_back("select " + StringToUtf8(fileName));
            allowed = allow;
        };
        control.OnPictureSelected = [&](TObject*, String fileName) {
            events.push_back("selected " + StringToUtf8(fileName));
        };
        control.Click();
        ASSERT_EQ(dialogs.Records().size(), 1u);
        const win32::FileRequest& request = dialogs.Records()[0].file;
        ASSERT_EQ(request.filters.size(), 3u);
        EXPECT_EQ(StringToUtf8(request.filters[0].description), "All (*.gif;*.bmp)");
        EXPECT_EQ(StringToUtf8(request.filters[0].patterns), "*.gif;*.bmp");
        if (allow) {
            EXPECT_EQ(events, (std::vector<std::string>{"select " + path, "selected " + path}));
            EXPECT_FALSE(control.Picture()->Empty());
            EXPECT_EQ(control.Picture()->FrameCount(), 2);
        } else {
            EXPECT_EQ(events, (std::vector<std::string>{"select " + path}));
            EXPECT_TRUE(control.Picture()->Empty());
        }
    }

    // Without AllowSelectOnClick a click shows no dialog.
    win32::RecordingDialogService dialogs;
    TAdvPicture control(nullptr);
    int clicks = 0;
    control.OnClick = [&](TObject*) { ++clicks; };
    control.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dialogs.Records().empty());
}

TEST(TIPicture, FilesItCannotReadLeaveItEmptyAndMetafilesAreRefused) {
    TIPicture picture;
    int before = 0;
    int after = 0;
    picture.OnBeforeLoad = [&](TObject*) { ++before; };
    picture.OnAfterLoad = [&](TObject*) { ++after; };
    const std::string garbage = WriteFile("garbage.jpg", codecs::Bytes(300, 0x5A));
    EXPECT_NO_THROW(picture.LoadFromFile(Utf8ToString(garbage)));
    EXPECT_TRUE(picture.Empty());
    EXPECT_NO_THROW(picture.LoadFromFile(u"/no/such/picture.png"));
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(before, 2);
    EXPECT_EQ(after, 2);

    // An enhanced metafile: its header record (type 1) with the " EMF" signature at offset 40.
    codecs::Bytes emf(108, 0);
    emf[0] = 1;
    emf[4] = 108;
    emf[40] = ' ';
    emf[41] = 'E';
    emf[42] = 'M';
    emf[43] = 'F';
    auto stream = StreamOf(emf);
    try {
        picture.LoadFromStream(*stream);
        ADD_FAILURE() << "a metafile was loaded";
    } catch (const Exception& e) {
        EXPECT_EQ(StringToUtf8(e.Message()), "Could not load image. Invalid format");
    }
}

TEST(TIPicture, AddressesNameAResourceOrAFile) {
    codecs::Bytes gif = MakeGif({10, 10, 10});
    win32::RegisterResource(RT_RCDATA, u"ABOUTPICTURE", std::span<const BYTE>(gif.data(), gif.size()));
    const std::string path = WriteFile("about.gif", MakeGif({10}));
    struct Case {
        std::string url;
        int frames; // -1: nothing loaded
    };
    const Case cases[] = {
        {"res://AboutPicture", 3},
        {"FILE://" + path, 1},
        {"RES://", -1},
        {"http://example/picture.gif", -1},
    };
    for (const Case& c : cases) {
        TIPicture picture;
        picture.LoadFromURL(Utf8ToString(c.url));
        EXPECT_EQ(picture.Empty(), c.frames < 0) << c.url;
        EXPECT_EQ(picture.FrameCount(), c.frames) << c.url;
        EXPECT_EQ(StringToUtf8(picture.ID()), c.url.rfind("http", 0) == 0 ? "" : c.url) << c.url;
    }
}

TEST(TAdvPicture, AutoSizeTakesThePicturesSize) {
    TAdvPicture control(nullptr);
    control.SetAutoSize(true);
    auto file = BitmapFile(30, 20, clRed);
    control.Picture()->LoadFromStream(*file);
    EXPECT_EQ(control.Width(), 30);
    EXPECT_EQ(control.Height(), 20);
}

TEST(TAdvPictureStream, ThePictureTravelsAsTheFormsBinaryData) {
    AdvPictureStartup();
    TAdvPicture control(nullptr);
    control.SetName(u"About");
    auto file = BitmapFile(12, 8, clRed);
    control.Picture()->LoadFromStream(*file);
    control.SetPicturePosition(bpCenter);
    TMemoryStream binary;
    WriteComponent(binary, &control);
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(binary, text);
    std::string description(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
    EXPECT_NE(description.find("object About: TAdvPicture"), std::string::npos) << description;
    EXPECT_NE(description.find("Picture.Data = {"), std::string::npos) << description;
    EXPECT_NE(description.find("PicturePosition = bpCenter"), std::string::npos) << description;
    EXPECT_EQ(description.find("StretchMode"), std::string::npos) << description;
    EXPECT_EQ(description.find("BorderStyle"), std::string::npos) << description;

    text.SetPosition(0);
    TMemoryStream again;
    ObjectTextToBinary(text, again);
    again.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponent(again, nullptr));
    auto* copy = dynamic_cast<TAdvPicture*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Picture()->Decoded());
    EXPECT_EQ(copy->Picture()->Width(), 12);
    EXPECT_EQ(copy->PicturePosition(), bpCenter);
    EXPECT_EQ(copy->Version(), u"1.5.0.0");
}

} // namespace
