// Tests of the pictures of marked-up text: GIF frame bookkeeping and animation on the manual clock,
// loading by address, damaged files, the picture cache and the container's lookup by name.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/Filer.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/resources.h"
#include "platform/win32/winuser.h"
#include "render/PictureContainer.h"
#include "tests/render/PictureFixtures.h"

namespace {

namespace fx = picture_fixtures;

void Load(THTMLPicture& picture, const codecs::Bytes& bytes) {
    TMemoryStream stream;
    fx::Fill(stream, bytes);
    picture.LoadFromStream(stream);
}

// A white canvas to draw pictures on.
struct Board {
    explicit Board(int width, int height) : bitmap(width, height) {
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
    }
    TColor Pixel(int x, int y) { return bitmap.Canvas()->Pixels(x, y); }
    TBitmap bitmap;
};

TEST(HTMLPictureTest, GifFramesAreCountedTimedAndPlaced) {
    THTMLPicture picture;
    int frameChanges = 0;
    picture.OnFrameChange = [&](TObject*) { ++frameChanges; };
    Load(picture, fx::AnimatedGif({10, 20, 30}, 4, 3, codecs::GifDisposal::Background));
    EXPECT_TRUE(picture.IsGIF());
    EXPECT_EQ(picture.FrameCount(), 3);
    EXPECT_EQ(picture.Width(), 7); // the logical screen
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(picture.AnimMaxX(), 7);
    EXPECT_EQ(picture.AnimMaxY(), 3);

    EXPECT_EQ(picture.FrameTime(2), 20);
    EXPECT_EQ(picture.FrameDisposal(), 2); // bits 2-4 of the packed byte
    EXPECT_FALSE(picture.FrameTransparent());
    EXPECT_EQ(picture.FrameTime(4), -1);
    EXPECT_EQ(picture.FrameTime(0), -1);

    picture.SetFrame(3);
    EXPECT_EQ(frameChanges, 1);
    EXPECT_EQ(picture.FrameXPos(), 2);
    EXPECT_EQ(picture.FrameYPos(), 0);
    picture.FrameNext();
    EXPECT_EQ(picture.Frame(), 1);
    picture.FramePrev();
    EXPECT_EQ(picture.Frame(), 3);
}

TEST(HTMLPictureTest, OnlyGifsHaveFrames) {
    struct Case {
        const char* name;
        codecs::Bytes bytes;
        bool gif;
        int frames;
    } cases[] = {
        {"four bytes GIF8", {'G', 'I', 'F', '8'}, false, -1},
        {"header only", {'G', 'I', 'F', '8', '9', 'a'}, true, 0},
        {"PNG", fx::Png(), false, -1},
        {"one frame", fx::Gif(), true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THTMLPicture picture;
        Load(picture, c.bytes);
        EXPECT_EQ(picture.IsGIF(), c.gif);
        EXPECT_EQ(picture.FrameCount(), c.frames);
        EXPECT_FALSE(picture.Step());
        EXPECT_FALSE(picture.Step());
        EXPECT_EQ(picture.Frame(), 1);
    }
}

TEST(HTMLPictureTest, NewBytesStartAtTheFirstFrameOfTheirOwnCount) {
    THTMLPicture picture;
    Load(picture, fx::AnimatedGif({10, 10, 10}));
    picture.SetFrame(3);
    picture.Step();
    picture.Step();
    ASSERT_EQ(picture.FrameCount(), 3);

    Load(picture, fx::AnimatedGif({10, 10}));
    EXPECT_EQ(picture.FrameCount(), 2);
    EXPECT_EQ(picture.Frame(), 1);
    EXPECT_EQ(picture.FrameXPos(), 0);
    // The animation starts over too: the first change comes on the second tick.
    EXPECT_FALSE(picture.Step());
    EXPECT_TRUE(picture.Step());
    EXPECT_EQ(picture.Frame(), 2);

    Load(picture, fx::Png());
    EXPECT_EQ(picture.FrameCount(), -1);
}

// The container's pictures animate from a 100 ms timer on the platform clock.
TPictureContainer* gAnimated = nullptr;
std::vector<bool> gChanges;

void AnimateTick(HWND, UINT, UINT_PTR, DWORD) {
    gChanges.push_back(gAnimated->Items()->Animate());
}

TEST(HTMLPictureTest, FramesAdvanceByTheirDelaysOnTheManualClock) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"Spinner");
    auto* picture = static_cast<THTMLPicture*>(item->Picture());
    Load(*picture, fx::AnimatedGif({10, 20, 30}));

    gAnimated = &container;
    gChanges.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, AnimateTick);
    ASSERT_NE(timer, 0u);
    std::vector<Integer> frames;
    for (int tick = 0; tick < 8; ++tick) {
        Clock::Advance(100);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        frames.push_back(picture->Frame());
    }
    KillTimer(nullptr, timer);
    gAnimated = nullptr;
    // A frame shows for its delay (10 = one tick); the first change comes on the second tick.
    EXPECT_EQ(frames, (std::vector<Integer>{1, 2, 2, 3, 3, 3, 1, 2}));
    EXPECT_EQ(gChanges, (std::vector<bool>{false, true, false, true, false, false, true, true}));
}

TEST(HTMLPictureTest, DamagedGifsNeitherStallNorReadPastTheirData) {
    codecs::Bytes gif = fx::AnimatedGif({10, 10, 10});
    size_t third = fx::FrameBlock(gif, 3);
    ASSERT_LT(third, gif.size());

    // Every cut of the file: whatever frames are left are counted and cycled, nothing raises.
    for (size_t cut = 0; cut < gif.size(); ++cut) {
        SCOPED_TRACE(cut);
        THTMLPicture picture;
        Load(picture, codecs::Bytes(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(cut)));
        Integer count = picture.FrameCount();
        EXPECT_LE(count, 3);
        for (Integer f = 1; f <= 3; ++f)
            picture.SetFrame(f);
        picture.SetFrame(1);
        int changes = 0;
        for (int tick = 0; tick < 12; ++tick)
            changes += picture.Step() ? 1 : 0;
        if (count >= 2) {
            EXPECT_GE(changes, 5);
        }
        Board board(8, 4);
        picture.Draw(board.bitmap.Canvas(), Rect(0, 0, 8, 4));
    }

    // The third frame cut off inside its image descriptor: it is still counted, shown without a
    // place, and the animation moves through it.
    THTMLPicture picture;
    Load(picture, codecs::Bytes(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(third + 12)));
    ASSERT_EQ(picture.FrameCount(), 3);
    picture.SetFrame(3);
    EXPECT_EQ(picture.FrameXPos(), 0);
    picture.SetFrame(1);
    std::vector<Integer> frames;
    for (int tick = 0; tick < 6; ++tick) {
        picture.Step();
        frames.push_back(picture.Frame());
    }
    EXPECT_EQ(frames, (std::vector<Integer>{1, 2, 3, 1, 2, 3}));

    // A frame whose block lost its image separator is no frame at all.
    codecs::Bytes broken = gif;
    broken[fx::FrameBlock(gif, 2) + 8] = 0;
    THTMLPicture missing;
    Load(missing, broken);
    EXPECT_EQ(missing.FrameCount(), 2);
    EXPECT_TRUE(missing.Step() || missing.Step());
}

TEST(HTMLPictureTest, DrawsStretchedBmpWithTransparencyAndGifAtItsFrame) {
    // PNG: drawn by GDI+, red left and blue right.
    THTMLPicture png;
    Load(png, fx::Png());
    Board board(12, 8);
    board.bitmap.Canvas()->StretchDraw(Rect(0, 0, 12, 8), &png);
    EXPECT_EQ(board.Pixel(2, 4), clRed);
    EXPECT_EQ(board.Pixel(9, 4), clBlue);

    // BMP: drawn by the framework's bitmap; the bottom-left colour (red) is transparent.
    THTMLPicture bmp;
    Load(bmp, fx::Bmp());
    Board second(12, 8);
    second.bitmap.Canvas()->StretchDraw(Rect(0, 0, 12, 8), &bmp);
    EXPECT_EQ(second.Pixel(2, 4), clWhite);
    EXPECT_EQ(second.Pixel(9, 4), clBlue);

    // An animated GIF shows the frame it is at: frame 2 is a green block from x = 1.
    THTMLPicture gif;
    Load(gif, fx::AnimatedGif({10, 10, 10}));
    Board third(7, 3);
    gif.SetFrame(2);
    third.bitmap.Canvas()->StretchDraw(Rect(0, 0, 7, 3), &gif);
    EXPECT_EQ(third.Pixel(4, 1), clLime);
    Board first(7, 3);
    gif.SetFrame(1);
    first.bitmap.Canvas()->StretchDraw(Rect(0, 0, 7, 3), &gif);
    EXPECT_EQ(first.Pixel(1, 1), clRed);
    EXPECT_NE(first.Pixel(4, 1), clLime);

    // Bytes that are no picture: size 0, nothing drawn, no error.
    THTMLPicture text;
    Load(text, fx::Text());
    EXPECT_FALSE(text.Empty());
    EXPECT_EQ(text.Width(), 0);
    Board fourth(4, 4);
    fourth.bitmap.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &text);
    EXPECT_EQ(fourth.Pixel(1, 1), clWhite);
}

TEST(HTMLPictureTest, LoadingByFileResourceAndAddress) {
    codecs::Bytes png = fx::Png();
    std::string path = fx::WriteFile("htmlpicture", "a.png", png);
    win32::RegisterResource(RT_RCDATA, u"HTMLPICTURETEST", std::span<const BYTE>(png.data(), png.size()));

    int changes = 0;
    THTMLPicture byFile;
    byFile.OnChange = [&](TObject*) { ++changes; };
    String url = u"file://" + Utf8ToString(path);
    byFile.LoadFromURL(url);
    EXPECT_FALSE(byFile.Empty());
    EXPECT_EQ(byFile.Width(), 6);
    EXPECT_EQ(byFile.ID(), url);
    EXPECT_EQ(changes, 1);

    THTMLPicture byResource;
    byResource.LoadFromURL(u"res://HTMLPICTURETEST");
    EXPECT_EQ(byResource.Height(), 4);
    EXPECT_EQ(byResource.ID(), u"res://HTMLPICTURETEST");
    THTMLPicture noResource;
    noResource.LoadFromURL(u"RES://NOSUCHPICTURE");
    EXPECT_TRUE(noResource.Empty());
    try {
        noResource.LoadFromResourceID(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)), 77);
        ADD_FAILURE() << "no error for a missing resource";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), u"Resource 77 not found");
    }

    // Missing files leave the picture empty without an error or a change.
    THTMLPicture missing;
    missing.OnChange = [&](TObject*) { ADD_FAILURE() << "changed"; };
    missing.LoadFromFile(u"/no/such/picture.png");
    EXPECT_TRUE(missing.Empty());

    // Network addresses are only kept: asynchronous ones once, the others as the picture's ID.
    THTMLPicture remote;
    remote.LoadFromURL(u"http://example.invalid/a.png");
    EXPECT_TRUE(remote.Empty());
    EXPECT_TRUE(remote.Busy());
    EXPECT_TRUE(remote.ID().empty());
    remote.LoadFromURL(u"http://example.invalid/b.png");
    EXPECT_EQ(remote.URL(), u"http://example.invalid/a.png");
    THTMLPicture direct;
    direct.SetAsynch(false);
    direct.LoadFromURL(u"http://example.invalid/c.png");
    EXPECT_EQ(direct.ID(), u"http://example.invalid/c.png");
    EXPECT_FALSE(direct.Busy());
}

TEST(HTMLPictureTest, AssignCopiesPicturesAndClearsOnNil) {
    THTMLPicture source;
    Load(source, fx::AnimatedGif({10, 10, 10}));
    source.SetID(u"FILE://spin.gif");
    source.SetFrame(2);
    source.SetStretch(true);

    THTMLPicture copy;
    copy.Assign(&source);
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.ID(), u"FILE://spin.gif");
    EXPECT_EQ(copy.Frame(), 2);
    EXPECT_TRUE(copy.Stretch());
    EXPECT_EQ(copy.FrameCount(), 3);
    EXPECT_EQ(copy.FrameXPos(), 1);
    copy.Assign(&copy);
    EXPECT_EQ(copy.FrameCount(), 3);
    EXPECT_FALSE(copy.Empty());

    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    TMemoryStream saved;
    copy.SaveToStream(saved);
    EXPECT_EQ(saved.Size(), 0);

    TPicture framework;
    TBitmap bitmap(5, 3);
    framework.SetGraphic(&bitmap);
    copy.Assign(&framework);
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Height(), 3);

    TFont font;
    copy.Assign(&font);
    EXPECT_TRUE(copy.Empty());
}

TEST(PictureCacheTest, FindsByExactIDAndOwnsItsPictures) {
    THTMLPictureCache cache;
    THTMLPicture* a = cache.AddPicture();
    a->LoadFromURL(u"RES://none");
    THTMLPicture* b = cache.AddPicture();
    Load(*b, fx::AnimatedGif({10, 10}));
    b->SetID(u"FILE://anim.gif");
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_EQ(cache.FindPicture(u"RES://none"), a);
    EXPECT_EQ(cache.FindPicture(u"res://none"), nullptr);
    EXPECT_EQ(cache.Items(1), b);
    EXPECT_FALSE(cache.Animate());
    EXPECT_TRUE(cache.Animate());
    cache.ClearPictures();
    EXPECT_EQ(cache.Count(), 0);
    cache.AddPicture(); // freed with the cache
}

TEST(PictureContainerTest, FindsPicturesByNameIgnoringCase) {
    TPictureContainer container(nullptr);
    EXPECT_EQ(container.Version(), u"2.0.0.0");
    container.SetVersion(u"9.9");
    EXPECT_EQ(container.Version(), u"2.0.0.0");

    TPictureItem* logo = container.Items()->Add();
    logo->SetName(u"LOGO");
    logo->SetTag(7);
    static_cast<THTMLPicture*>(logo->Picture())->LoadFromURL(u"RES://none");
    TPictureItem* other = container.Items()->Add();
    other->SetName(u"Other");
    EXPECT_EQ(container.FindPicture(u"logo"), logo->Picture());
    EXPECT_EQ(container.FindPicture(u"OTHER"), other->Picture());
    EXPECT_EQ(container.FindPicture(u"nothing"), nullptr);

    TPictureItem* copy = container.Items()->Add();
    copy->Assign(logo);
    EXPECT_EQ(copy->Name(), u"LOGO");
    EXPECT_EQ(copy->Tag(), 7);
    EXPECT_EQ(static_cast<THTMLPicture*>(copy->Picture())->ID(), u"RES://none");
    TFont font;
    EXPECT_THROW(copy->Assign(&font), EInvalidCast);
    EXPECT_THROW(copy->Assign(nullptr), EInvalidCast);

    // Writing Items copies the items into the container's own collection.
    TPictureContainer second(nullptr);
    second.SetItems(container.Items());
    ASSERT_EQ(second.Items()->Count(), 3);
    EXPECT_NE(second.Items(), container.Items());
    EXPECT_EQ(second.FindPicture(u"Logo") != nullptr, true);
}

TEST(PictureContainerTest, ItemsAndTheirPicturesStreamWithTheForm) {
    TPictureContainer container(nullptr);
    container.SetName(u"Pictures");
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"Spinner");
    item->SetTag(3);
    Load(*static_cast<THTMLPicture*>(item->Picture()), fx::AnimatedGif({10, 20}));
    static_cast<THTMLPicture*>(item->Picture())->SetFrame(2);
    container.Items()->Add()->SetName(u"Blank");

    TMemoryStream binary;
    WriteComponent(binary, &container);
    binary.SetPosition(0);
    TStringStream text;
    ObjectBinaryToText(binary, text);
    String description = text.DataString();
    EXPECT_NE(description.find(u"Name = 'Spinner'"), String::npos) << StringToUtf8(description);
    EXPECT_NE(description.find(u"Picture.Data = {"), String::npos);
    EXPECT_NE(description.find(u"Picture.Frame = 2"), String::npos);

    binary.SetPosition(0);
    TPictureContainer loaded(nullptr);
    ReadComponent(binary, &loaded);
    ASSERT_EQ(loaded.Items()->Count(), 2);
    EXPECT_EQ(loaded.Items()->Items(0)->Tag(), 3);
    THTMLPicture* spinner = loaded.FindPicture(u"spinner");
    ASSERT_NE(spinner, nullptr);
    EXPECT_EQ(spinner->FrameCount(), 2);
    EXPECT_EQ(spinner->Frame(), 2);
    EXPECT_EQ(spinner->Width(), 6);
    EXPECT_TRUE(loaded.FindPicture(u"Blank")->Empty());
}

} // namespace
