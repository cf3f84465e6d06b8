// Tests of TAdvImage: OLE decoding of every format, sizes at 96 pixels per inch, upright rendering,
// the fixed messages of broken pictures, and Assign with its events.
#include <gtest/gtest.h>

#include "platform/framework/Graphics.h"
#include "render/AdvImage.h"
#include "tests/render/PictureFixtures.h"

namespace {

namespace fx = picture_fixtures;

class StoredImage : public TAdvImage {
public:
    using TAdvImage::ReadData;
};

void Load(TAdvImage& image, const codecs::Bytes& bytes) {
    TMemoryStream stream;
    fx::Fill(stream, bytes);
    image.LoadFromStream(stream);
}

// Red top half, blue bottom half: shows whether a picture is drawn upright.
codecs::Image TopRed(int width, int height) {
    codecs::Image image = codecs::MakeImage(width, height, 0xFF0000);
    for (int y = height / 2; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixel(x, y, 0xFF0000FF);
    return image;
}

TEST(AdvImageTest, EveryFormatDecodesAndDrawsUpright) {
    codecs::Image picture = TopRed(100, 50);
    struct Case {
        const char* name;
        codecs::Bytes bytes;
    } cases[] = {{"bmp", fx::Bmp(picture)},
                 {"jpeg", fx::Jpeg(picture)},
                 {"gif", fx::Gif(picture)},
                 {"png", fx::Png(picture)},
                 {"ico", fx::Ico(TopRed(32, 32))}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAdvImage image;
        int changes = 0;
        image.OnChange = [&](TObject*) { ++changes; };
        Load(image, c.bytes);
        EXPECT_FALSE(image.Empty());
        EXPECT_TRUE(image.Decoded());
        EXPECT_EQ(changes, 1);
        bool icon = c.name == std::string("ico");
        EXPECT_EQ(image.Width(), icon ? 32 : 100);
        EXPECT_EQ(image.Height(), icon ? 32 : 50);

        TBitmap board(20, 10);
        board.Canvas()->StretchDraw(Rect(0, 0, 20, 10), &image);
        TColor top = board.Canvas()->Pixels(10, 1), bottom = board.Canvas()->Pixels(10, 8);
        EXPECT_GT(static_cast<int>(top & 0xFF), 200);
        EXPECT_GT(static_cast<int>((bottom >> 16) & 0xFF), 200);
    }
}

TEST(AdvImageTest, BrokenPicturesRaiseTheFixedMessage) {
    codecs::Image picture = fx::RedBlue();
    struct Case {
        const char* name;
        codecs::Bytes bytes;
        size_t keep;
    } cases[] = {
        {"text", fx::Text(), 0},
        {"empty", codecs::Bytes(), 0},
        {"cut bmp", fx::Bmp(picture), 30},
        {"cut png", fx::Png(picture), 40},
        {"cut jpeg", fx::Jpeg(picture), 60},
        {"cut gif", fx::Gif(picture), 20},
        {"cut ico", fx::Ico(picture), 10},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.keep > 0)
            c.bytes.resize(c.keep);
        TAdvImage image;
        int changes = 0;
        image.OnChange = [&](TObject*) { ++changes; };
        try {
            Load(image, c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.ClassName(), u"Exception");
            EXPECT_EQ(e.Message(), u"Could not load image. Invalid format");
        }
        // Not marked empty, but nothing decoded: no size and nothing drawn.
        EXPECT_FALSE(image.Empty());
        EXPECT_FALSE(image.Decoded());
        EXPECT_EQ(image.Width(), 0);
        EXPECT_EQ(changes, 0);
        TBitmap board(4, 4);
        board.Canvas()->Brush()->SetColor(clWhite);
        board.Canvas()->FillRect(Rect(0, 0, 4, 4));
        board.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &image);
        EXPECT_EQ(board.Canvas()->Pixels(2, 2), clWhite);
    }

    // Read from a form description, the same failure raises too.
    StoredImage stored;
    TMemoryStream text;
    fx::Fill(text, fx::Text());
    EXPECT_THROW(stored.ReadData(text), Exception);

    // From a file, failures are swallowed and the picture is left empty without a change.
    TAdvImage fromFile;
    fromFile.OnChange = [](TObject*) { ADD_FAILURE() << "changed"; };
    fromFile.LoadFromFile(Utf8ToString(fx::WriteFile("advimage", "a.txt", fx::Text())));
    EXPECT_TRUE(fromFile.Empty());
    fromFile.LoadFromFile(u"/no/such/picture.bmp");
    EXPECT_TRUE(fromFile.Empty());
}

TEST(AdvImageTest, NewImageHasNoSizeAndDrawsNothing) {
    TAdvImage image;
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    TBitmap board(4, 4);
    board.Canvas()->Brush()->SetColor(clWhite);
    board.Canvas()->FillRect(Rect(0, 0, 4, 4));
    board.Canvas()->StretchDraw(Rect(0, 0, 4, 4), &image);
    EXPECT_EQ(board.Canvas()->Pixels(1, 1), clWhite);
}

TEST(AdvImageTest, AssignCountsEachMatchingSourceKind) {
    struct Case {
        const char* name;
        std::function<void(TAdvImage&)> assign;
        int changes;
        bool decoded;
        bool hasBytes;
    };
    TBitmap bitmap(5, 3);
    TAdvImage full;
    Load(full, fx::Bmp());
    TAdvImage empty;
    TPicture holder;
    holder.SetGraphic(&bitmap);
    TFont font;
    Case cases[] = {
        {"bitmap: as bitmap and as graphic", [&](TAdvImage& i) { i.Assign(&bitmap); }, 2, false, true},
        {"full image: decoded, then as graphic", [&](TAdvImage& i) { i.Assign(&full); }, 2, true, true},
        {"empty image: only as graphic", [&](TAdvImage& i) { i.Assign(&empty); }, 1, false, false},
        {"picture: its graphic", [&](TAdvImage& i) { i.Assign(&holder); }, 1, false, true},
        {"nil", [&](TAdvImage& i) { i.Assign(nullptr); }, 1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAdvImage image;
        int changes = 0;
        image.OnChange = [&](TObject*) { ++changes; };
        c.assign(image);
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(image.Decoded(), c.decoded);
        TMemoryStream saved;
        image.SaveToStream(saved);
        EXPECT_EQ(saved.Size() > 0, c.hasBytes);
        EXPECT_EQ(image.Empty(), std::string(c.name) == "nil");
    }
    // A full copy keeps its size; a copy from a bitmap has none until its bytes are decoded.
    TAdvImage copy;
    copy.Assign(&full);
    EXPECT_EQ(copy.Width(), 6);
    copy.Assign(&copy);
    EXPECT_EQ(copy.Width(), 6);
    TAdvImage fromBitmap;
    fromBitmap.Assign(&bitmap);
    EXPECT_EQ(fromBitmap.Width(), 0);

    // Anything else leaves the picture marked empty with its bytes.
    copy.Assign(&font);
    EXPECT_TRUE(copy.Empty());
    TMemoryStream kept;
    copy.SaveToStream(kept);
    EXPECT_GT(kept.Size(), 0);
}

} // namespace
