// Tests of TGDIPPicture: loading by file, stream, form storage and address, measuring, drawing through
// GDI+ or the framework's bitmap, and Assign with its events.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/Graphics.h"
#include "render/AdvGDIP.h"
#include "render/GDIPicture.h"
#include "tests/render/PictureFixtures.h"

namespace {

namespace fx = picture_fixtures;

// Reaches the form-storage reader, as a form description would.
class StoredPicture : public TGDIPPicture {
public:
    using TGDIPPicture::ReadData;
};

struct Board {
    explicit Board(int width, int height) : bitmap(width, height) {
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
    }
    TColor Pixel(int x, int y) { return bitmap.Canvas()->Pixels(x, y); }
    TBitmap bitmap;
};

// The events of a picture, in order: "change" and "clear".
struct EventLog {
    explicit EventLog(TGDIPPicture& picture) {
        picture.OnChange = [this](TObject*) { events.push_back("change"); };
        picture.OnClear = [this](TObject*) { events.push_back("clear"); };
    }
    std::vector<std::string> events;
};

TEST(GDIPPictureTest, LoadsEveryFormatAndMeasures) {
    struct Case {
        const char* name;
        codecs::Bytes bytes;
    } cases[] = {{"a.bmp", fx::Bmp()},
                 {"a.png", fx::Png()},
                 {"a.jpg", fx::Jpeg()},
                 {"a.gif", fx::Gif()},
                 {"a.ico", fx::Ico()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        String path = Utf8ToString(fx::WriteFile("gdipicture", c.name, c.bytes));
        TGDIPPicture byFile;
        EventLog log(byFile);
        byFile.LoadFromFile(path);
        EXPECT_FALSE(byFile.Empty());
        EXPECT_EQ(byFile.Width(), 6);
        EXPECT_EQ(byFile.Height(), 4);
        EXPECT_EQ(byFile.GetFileName(), path);
        EXPECT_EQ(log.events, (std::vector<std::string>{"clear", "change"}));

        TGDIPPicture byStream;
        EventLog streamLog(byStream);
        TMemoryStream stream;
        fx::Fill(stream, c.bytes);
        byStream.LoadFromStream(stream);
        EXPECT_EQ(byStream.Width(), 6);
        EXPECT_EQ(streamLog.events, (std::vector<std::string>{"change"}));
        TMemoryStream saved;
        byStream.SaveToStream(saved);
        EXPECT_EQ(saved.Size(), static_cast<Int64>(c.bytes.size()));
    }
}

TEST(GDIPPictureTest, UnreadableFilesAndBytes) {
    TGDIPPicture missing;
    EventLog log(missing);
    missing.LoadFromFile(u"/no/such/picture.png");
    EXPECT_TRUE(missing.Empty());
    EXPECT_TRUE(log.events.empty());
    EXPECT_FALSE(missing.GetImageSizes());

    // Bytes GDI+ cannot read, a picture cut short among them: no error, size 0, nothing drawn.
    codecs::Bytes png = fx::Png();
    codecs::Bytes jpeg = fx::Jpeg();
    for (const codecs::Bytes& bytes : {fx::Text(), codecs::Bytes(png.begin(), png.begin() + 30),
                                       codecs::Bytes(jpeg.begin(), jpeg.begin() + 40)}) {
        TGDIPPicture picture;
        TMemoryStream stream;
        fx::Fill(stream, bytes);
        picture.LoadFromStream(stream);
        EXPECT_FALSE(picture.Empty());
        EXPECT_TRUE(picture.GetImageSizes());
        EXPECT_EQ(picture.Width(), 0);
        Board board(4, 4);
        board.bitmap.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &picture);
        EXPECT_EQ(board.Pixel(2, 2), clWhite);
    }
}

TEST(GDIPPictureTest, BmpDrawingFollowsTransparentBitmap) {
    codecs::Bytes bmp = fx::Bmp();
    // Read from a form, the picture has no size until it is measured or drawn through GDI+.
    StoredPicture picture;
    TMemoryStream stream;
    fx::Fill(stream, bmp);
    picture.ReadData(stream);
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);

    // TransparentBitmap: the framework's bitmap with the bottom-left colour (red) transparent; the
    // size is left alone.
    Board transparent(12, 8);
    transparent.bitmap.Canvas()->StretchDraw(Rect(0, 0, 12, 8), &picture);
    EXPECT_EQ(transparent.Pixel(2, 4), clWhite);
    EXPECT_EQ(transparent.Pixel(9, 4), clBlue);
    EXPECT_EQ(picture.Width(), 0);

    picture.SetTransparentBitmap(false);
    Board opaque(12, 8);
    opaque.bitmap.Canvas()->StretchDraw(Rect(0, 0, 12, 8), &picture);
    EXPECT_EQ(opaque.Pixel(2, 4), clRed);
    EXPECT_EQ(opaque.Pixel(9, 4), clBlue);
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);
}

TEST(GDIPPictureTest, DrawsOnAGdiplusSurface) {
    TGDIPPicture picture;
    TMemoryStream stream;
    fx::Fill(stream, fx::Png());
    picture.LoadFromStream(stream);
    Board board(20, 10);
    {
        TGPGraphics graphics(board.bitmap.Canvas()->Handle());
        picture.DrawImage(&graphics, 0, 0);
        picture.DrawImageRect(&graphics, 8, 0, 12, 10);
    }
    EXPECT_EQ(board.Pixel(1, 1), clRed);
    EXPECT_EQ(board.Pixel(4, 1), clBlue);
    EXPECT_EQ(board.Pixel(1, 6), clWhite); // unscaled: only 4 rows high
    EXPECT_EQ(board.Pixel(10, 8), clRed);
    EXPECT_EQ(board.Pixel(18, 8), clBlue);
}

TEST(GDIPPictureTest, AssignFromPicturesGraphicsAndNil) {
    TGDIPPicture source;
    TMemoryStream stream;
    fx::Fill(stream, fx::Png());
    source.LoadFromStream(stream);

    TGDIPPicture copy;
    EventLog log(copy);
    copy.Assign(&source);
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.Width(), 6);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change"}));
    copy.Assign(&copy);
    EXPECT_FALSE(copy.Empty());
    EXPECT_TRUE(copy.GetImageSizes());
    EXPECT_EQ(copy.Width(), 6);

    // Nil: OnChange before OnClear, the size as it was.
    log.events.clear();
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(copy.Width(), 6);
    EXPECT_EQ(log.events, (std::vector<std::string>{"change", "clear"}));

    TBitmap bitmap(5, 3);
    copy.Assign(&bitmap);
    EXPECT_FALSE(copy.Empty());
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Height(), 3);

    TPicture holder;
    holder.SetGraphic(&bitmap);
    TGDIPPicture fromPicture;
    fromPicture.Assign(&holder);
    EXPECT_EQ(fromPicture.Height(), 3);
    TPicture emptyHolder;
    fromPicture.Assign(&emptyHolder);
    EXPECT_TRUE(fromPicture.Empty());
    TMemoryStream none;
    fromPicture.SaveToStream(none);
    EXPECT_EQ(none.Size(), 0);

    // Another kind of object: marked empty, bytes kept, no event.
    log.events.clear();
    TFont font;
    copy.Assign(&font);
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(log.events.empty());
    TMemoryStream kept;
    copy.SaveToStream(kept);
    EXPECT_GT(kept.Size(), 0);
}

TEST(GDIPPictureTest, LoadFromURL) {
    std::string path = fx::WriteFile("gdipicture-url", "a.png", fx::Png());
    TGDIPPicture picture;
    EventLog log(picture);
    picture.LoadFromURL(u"file://" + Utf8ToString(path));
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(log.events, (std::vector<std::string>{"clear", "change"}));

    TGDIPPicture other;
    EventLog otherLog(other);
    other.LoadFromURL(u"http://example.invalid/a.png");
    other.LoadFromURL(u"FILE://");
    EXPECT_TRUE(other.Empty());
    EXPECT_TRUE(otherLog.events.empty());
}

} // namespace
