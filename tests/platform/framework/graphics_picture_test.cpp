// Tests of the picture classes: round trips of every format through files and streams, malformed data,
// bitmap formats and handles, GIF frames, JPEG options and pictures inside component streams.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Png.h"
#include "platform/framework/Filer.h"
#include "platform/framework/GifImg.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Jpeg.h"
#include "platform/framework/ObjectText.h"
#include "platform/framework/PngImage.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/resources.h"
#include "platform/win32/winuser.h"
#include "tests/support/TestSupport.h"

// A component with the picture-valued properties forms stream.
class TGraphicHolder : public TComponent {
    DECLARE_CLASS(TGraphicHolder, TComponent)

public:
    explicit TGraphicHolder(TComponent* owner)
        : TComponent(owner), FFont(std::make_unique<TFont>()), FGlyph(std::make_unique<TBitmap>()),
          FPicture(std::make_unique<TPicture>()) {}

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value) { FGlyph->Assign(value); }
    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* value) { FPicture->Assign(value); }

private:
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TBitmap> FGlyph;
    std::unique_ptr<TPicture> FPicture;
};

DEFINE_CLASS(TGraphicHolder, PROPERTY(Font), PROPERTY(Glyph), PROPERTY(Picture))

namespace {

const TColor kQuadrants[4] = {clRed, clLime, clBlue, clYellow};

// 32 by 32 pixels in four solid quadrants, which every format keeps (JPEG nearly: its colour blocks
// are 16 pixels a side).
std::unique_ptr<TBitmap> QuadrantBitmap(TPixelFormat format = pfDevice) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(32, 32);
    for (int i = 0; i < 4; ++i) {
        bitmap->Canvas()->Brush()->SetColor(format == pf1bit ? (i % 2 ? clBlack : clWhite) : kQuadrants[i]);
        bitmap->Canvas()->FillRect(Bounds((i % 2) * 16, (i / 2) * 16, 16, 16));
    }
    bitmap->SetPixelFormat(format);
    return bitmap;
}

// The graphic drawn on white, as COLORREF values, top row first.
std::vector<TColor> Rendered(TGraphic* graphic) {
    TBitmap target;
    target.SetSize(graphic->Width(), graphic->Height());
    target.Canvas()->Draw(0, 0, graphic);
    std::vector<TColor> pixels;
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x)
            pixels.push_back(target.Canvas()->Pixels(x, y));
    return pixels;
}

// The largest difference of a channel between two renderings of the quadrants, leaving out the pixels
// within margin of the lines between quadrants (where JPEG blends the colours).
int Distance(const std::vector<TColor>& a, const std::vector<TColor>& b, int margin = 0) {
    if (a.size() != b.size())
        return 1000;
    int worst = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int x = static_cast<int>(i % 32), y = static_cast<int>(i / 32);
        if (margin > 0 && (std::abs(x - 16) < margin || std::abs(y - 16) < margin || x < margin ||
                           y < margin || x >= 32 - margin || y >= 32 - margin))
            continue;
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(((a[i] >> shift) & 0xFF) - ((b[i] >> shift) & 0xFF)));
    }
    return worst;
}

std::vector<Byte> Bytes(TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    auto* data = static_cast<Byte*>(stream.Memory());
    return std::vector<Byte>(data, data + stream.Size());
}

void WriteFile(const String& fileName, const std::vector<Byte>& bytes) {
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

String Folder(const std::string& name) {
    return Utf8ToString(testing_support::MakeTestFolder(name)) + u"/";
}

struct FormatCase {
    const char* name;
    const char16_t* extension;
    TClass graphicClass;
    std::function<std::unique_ptr<TGraphic>(TBitmap&)> make;
    int tolerance;
    int margin; // pixels left out around the quadrants' edges
};

template <class G> std::unique_ptr<TGraphic> Converted(TBitmap& bitmap) {
    auto graphic = std::make_unique<G>();
    graphic->Assign(&bitmap);
    return graphic;
}

std::unique_ptr<TGraphic> AsIcon(TBitmap& bitmap) {
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromImage(bitmap.ToImage());
    return icon;
}

std::unique_ptr<TGraphic> AsBitmap(TBitmap& bitmap) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(&bitmap);
    return copy;
}

class GraphicsFormatTest : public testing::TestWithParam<FormatCase> {};

TEST_P(GraphicsFormatTest, RoundTripsThroughFileAndStream) {
    const FormatCase& c = GetParam();
    auto bitmap = QuadrantBitmap();
    std::vector<TColor> original = Rendered(bitmap.get());
    std::unique_ptr<TGraphic> graphic = c.make(*bitmap);
    ASSERT_EQ(graphic->ClassType(), c.graphicClass);

    // By extension from a file.
    String fileName = Folder(std::string("format-") + c.name) + u"picture." + c.extension;
    graphic->SaveToFile(fileName);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile(fileName);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Graphic()->ClassType(), c.graphicClass);
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_EQ(picture.Height(), 32);
    EXPECT_LE(Distance(Rendered(picture.Graphic()), original, c.margin), c.tolerance);
    EXPECT_GE(changes, 1);

    // By signature from a stream that holds more after the picture's start.
    TMemoryStream stream;
    graphic->SaveToStream(stream);
    stream.SetPosition(0);
    TPicture fromStream;
    fromStream.LoadFromStream(stream);
    ASSERT_NE(fromStream.Graphic(), nullptr);
    EXPECT_EQ(fromStream.Graphic()->ClassType(), c.graphicClass);
    EXPECT_LE(Distance(Rendered(fromStream.Graphic()), original, c.margin), c.tolerance);

    // Assign copies the picture into a graphic of the same class.
    TPicture copy;
    copy.Assign(&fromStream);
    ASSERT_NE(copy.Graphic(), fromStream.Graphic());
    EXPECT_EQ(copy.Graphic()->ClassType(), c.graphicClass);
    EXPECT_LE(Distance(Rendered(copy.Graphic()), original, c.margin), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, GraphicsFormatTest,
    testing::Values(FormatCase{"bmp", u"bmp", TBitmap::StaticClass(), AsBitmap, 0, 0},
                    FormatCase{"png", u"png", TPngImage::StaticClass(), Converted<TPngImage>, 0, 0},
                    FormatCase{"jpeg", u"jpg", TJPEGImage::StaticClass(), Converted<TJPEGImage>, 12, 3},
                    FormatCase{"gif", u"gif", TGIFImage::StaticClass(), Converted<TGIFImage>, 0, 0},
                    FormatCase{"ico", u"ico", TIcon::StaticClass(), AsIcon, 0, 0}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

template <class E> std::string Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return StringToUtf8(e.Message());
    } catch (const Exception& e) {
        return "wrong class " + StringToUtf8(e.ClassName()) + ": " + StringToUtf8(e.Message());
    }
    return "(nothing raised)";
}

std::vector<Byte> Cut(std::vector<Byte> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

TEST(GraphicsPictureTest, MalformedFilesRaiseTheFormatsErrors) {
    auto bitmap = QuadrantBitmap();
    std::vector<Byte> bmp = Bytes(*bitmap);
    std::vector<Byte> png = Bytes(*Converted<TPngImage>(*bitmap));
    std::vector<Byte> jpeg = Bytes(*Converted<TJPEGImage>(*bitmap));
    std::vector<Byte> gif = Bytes(*Converted<TGIFImage>(*bitmap));
    std::vector<Byte> ico = Bytes(*AsIcon(*bitmap));
    String folder = Folder("malformed");

    auto load = [&](const char16_t* name, const std::vector<Byte>& bytes) {
        return [=] {
            WriteFile(folder + name, bytes);
            TPicture picture;
            picture.LoadFromFile(folder + name);
        };
    };
    EXPECT_EQ(Raised<EInvalidGraphic>(load(u"cut.bmp", Cut(bmp, 60))), "Bitmap image is not valid");
    EXPECT_EQ(Raised<EInvalidGraphic>(load(u"tiny.bmp", {'B', 'M', 1})), "Bitmap image is not valid");
    EXPECT_EQ(Raised<EInvalidGraphic>(load(u"png.bmp", png)), "Bitmap image is not valid");
    EXPECT_EQ(Raised<EPNGError>(load(u"cut.png", Cut(png, png.size() - 20))),
              StringToUtf8(Consts::EPNGUnexpectedEndText));
    EXPECT_EQ(Raised<EPNGError>(load(u"bmp.png", bmp)), StringToUtf8(Consts::EPNGInvalidFileHeaderText));
    EXPECT_EQ(Raised<EJPEG>(load(u"cut.jpg", Cut(jpeg, jpeg.size() / 2))).rfind("JPEG error #", 0), 0u);
    EXPECT_EQ(Raised<EGIFException>(load(u"cut.gif", Cut(gif, gif.size() - 6))), "Premature end of data");
    EXPECT_EQ(Raised<EInvalidGraphic>(load(u"cut.ico", Cut(ico, 30))), "Icon image is not valid");
    EXPECT_EQ(Raised<EInvalidGraphic>(load(u"picture.xyz", bmp)), "Unknown picture file extension (.xyz)");
    EXPECT_EQ(Raised<EInvalidGraphic>([] {
                  TMemoryStream stream;
                  stream.WriteBuffer("not a picture", 13);
                  stream.SetPosition(0);
                  TPicture picture;
                  picture.LoadFromStream(stream);
              }),
              "Invalid image");
    // A failed load leaves the picture as it was.
    TPicture picture;
    picture.SetGraphic(bitmap.get());
    EXPECT_THROW(picture.LoadFromFile(folder + u"cut.bmp"), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 32);
}

TEST(GraphicsPictureTest, BitmapKeepsItsPixelFormatThroughBmp) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(StringToUtf8(GetEnumName(TypeInfoOf<TPixelFormat>(), format)));
        auto bitmap = QuadrantBitmap(format);
        TMemoryStream stream;
        bitmap->SaveToStream(stream);
        stream.SetPosition(0);
        TBitmap loaded;
        loaded.LoadFromStream(stream);
        EXPECT_EQ(loaded.PixelFormat(), format);
        // The colours survive the conversion to the format and the file.
        EXPECT_EQ(Rendered(&loaded), Rendered(QuadrantBitmap(format == pf1bit ? pf1bit : pfDevice).get()));
        EXPECT_EQ(loaded.Monochrome(), format == pf1bit);
    }
}

TEST(GraphicsPictureTest, BitmapStreamsStopAtTheirEnd) {
    auto bitmap = QuadrantBitmap();
    TMemoryStream stream;
    bitmap->SaveToStream(stream);
    Int64 end = stream.Position();
    stream.WriteBuffer("tail", 4);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), end);
}

TEST(GraphicsPictureTest, BitmapSizeFormatAndHandles) {
    auto bitmap = QuadrantBitmap();
    bitmap->Canvas()->Brush()->SetColor(clBlack);
    bitmap->SetSize(40, 10); // keeps what fits; the new part takes the brush
    EXPECT_EQ(bitmap->Canvas()->Pixels(31, 0), clLime);
    EXPECT_EQ(bitmap->Canvas()->Pixels(39, 9), clBlack);
    bitmap->SetPixelFormat(pf8bit);
    EXPECT_EQ(bitmap->HandleType(), bmDIB);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap->Canvas()->Pixels(31, 0), clLime);
    EXPECT_THROW(bitmap->SetPixelFormat(pfCustom), EInvalidGraphic);

    // The released handle belongs to the caller; the bitmap keeps its picture.
    HBITMAP handle = bitmap->ReleaseHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(bitmap->Handle(), handle);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap->Canvas()->Pixels(31, 0), clLime);
    BITMAP info{};
    ASSERT_NE(GetObjectW(handle, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 40);
    // Adopting a bitmap object takes its size and pixels.
    TBitmap adopted;
    adopted.SetHandle(handle);
    EXPECT_EQ(adopted.Width(), 40);
    EXPECT_EQ(adopted.Canvas()->Pixels(31, 0), clLime);

    bitmap->SetMonochrome(true);
    EXPECT_EQ(bitmap->PixelFormat(), pf1bit);
    EXPECT_TRUE(bitmap->Monochrome());
    EXPECT_THROW(bitmap->SetSize(-1, 5), EInvalidGraphic);

    // A bitmap with no width but some height grows from nothing: every new pixel takes the brush.
    TBitmap thin;
    thin.SetSize(0, 12);
    thin.Canvas()->Brush()->SetColor(clBlue);
    thin.SetSize(6, 12);
    EXPECT_EQ(thin.Canvas()->Pixels(5, 11), clBlue);
}

TEST(GraphicsPictureTest, BitmapFromProgramResources) {
    auto bitmap = QuadrantBitmap(pf24bit);
    std::vector<Byte> file = Bytes(*bitmap);
    win32::RegisterResource(RT_BITMAP, u"GRAPHICSTESTQUADRANTS", file);
    // The same picture as a packed DIB, as resource compilers store bitmaps.
    std::vector<Byte> dib(file.begin() + 14, file.end());
    win32::RegisterResource(RT_BITMAP, u"GRAPHICSTESTDIB", dib);

    for (const char16_t* name : {u"GraphicsTestQuadrants", u"GRAPHICSTESTDIB"}) {
        TBitmap loaded;
        loaded.LoadFromResourceName(0, name);
        EXPECT_EQ(Rendered(&loaded), Rendered(bitmap.get()));
    }
    TBitmap missing;
    EXPECT_EQ(Raised<EResNotFound>([&] { missing.LoadFromResourceName(0, u"NOSUCHBITMAP"); }),
              "Resource NOSUCHBITMAP not found");
}

TEST(GraphicsPictureTest, PictureHoldsBitmapOrIconAndReportsChanges) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    TBitmap* bitmap = picture.Bitmap();
    bitmap->SetSize(4, 4);
    changes = 0;
    bitmap->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(changes, 1);
    TIcon* icon = picture.Icon(); // replaces the bitmap
    EXPECT_EQ(picture.Graphic(), icon);
    EXPECT_TRUE(icon->Empty());
    EXPECT_THROW(icon->SetWidth(5), EInvalidGraphicOperation);

    // A format registered later for an extension wins.
    TPicture::RegisterFileFormat(u"pic", u"Test pictures", TPngImage::StaticClass());
    String name = Folder("registered") + u"a.pic";
    Converted<TPngImage>(*QuadrantBitmap())->SaveToFile(name);
    picture.LoadFromFile(name);
    EXPECT_EQ(picture.Graphic()->ClassType(), TPngImage::StaticClass());
    EXPECT_NE(TPicture::GraphicFilter(TPngImage::StaticClass()).find(u"Test pictures (*.pic)|*.pic"),
              String::npos);
    TPicture::UnregisterGraphicClass(TPngImage::StaticClass());
    EXPECT_THROW(picture.LoadFromFile(name), EInvalidGraphic);
    TPicture::RegisterFileFormat(u"png", u"Portable Network Graphics", TPngImage::StaticClass());
}

TEST(GraphicsPictureTest, IconHandleCarriesThePictureAndMask) {
    auto bitmap = QuadrantBitmap();
    codecs::Image image = bitmap->ToImage();
    image.hasAlpha = true;
    for (int y = 0; y < 16; ++y) // the top-left quadrant is transparent
        for (int x = 0; x < 16; ++x)
            image.SetPixel(x, y, image.Pixel(x, y) & 0xFFFFFF);
    TIcon icon;
    icon.LoadFromImage(image);
    HICON handle = icon.Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(icon.Handle(), handle);

    TIcon adopted;
    adopted.SetHandle(CopyIcon(handle));
    EXPECT_EQ(adopted.Width(), 32);
    std::vector<TColor> shown = Rendered(&adopted);
    EXPECT_EQ(shown, Rendered(&icon));
    EXPECT_EQ(shown[0], clWhite); // transparent: the white below shows
    EXPECT_EQ(shown[16 * 32], clBlue);
    EXPECT_THROW(adopted.SetHandle(reinterpret_cast<HICON>(&image)), EInvalidGraphic);
}

TEST(GraphicsPictureTest, GifKeepsFramesDelaysAndLoops) {
    std::vector<codecs::GifWriteFrame> frames(3);
    const std::uint32_t colors[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < 3; ++i) {
        frames[static_cast<size_t>(i)].image = codecs::MakeImage(4, 2, colors[i]);
        frames[static_cast<size_t>(i)].delay = 10 * (i + 1);
    }
    frames[2].image.width = 2; // the last frame covers the left half only
    frames[2].image.pixels.resize(4);
    codecs::GifWriteOptions options;
    options.loopCount = 0;
    codecs::Result<codecs::Bytes> file = codecs::EncodeGif(frames, options);
    ASSERT_TRUE(file.Ok());

    TMemoryStream stream;
    stream.WriteBuffer(file.Value().data(), static_cast<Integer>(file.Value().size()));
    stream.SetPosition(0);
    TGIFImage gif;
    gif.LoadFromStream(stream);
    ASSERT_EQ(gif.Images().Count(), 3);
    EXPECT_EQ(gif.Images()[1].delay, 20);
    EXPECT_EQ(gif.Images()[2].bounds, Rect(0, 0, 2, 2));
    EXPECT_EQ(gif.LoopCount(), 0);
    EXPECT_EQ(gif.Width(), 4);

    EXPECT_EQ(Rendered(&gif)[3], clRed); // the first frame shows
    gif.SetAnimationFrame(2);
    std::vector<TColor> last = Rendered(&gif);
    EXPECT_EQ(last[0], clBlue);
    EXPECT_EQ(last[3], clLime); // the second frame shows beside the third
    EXPECT_THROW(gif.SetAnimationFrame(3), EListError);

    // Written unchanged, it is the same file.
    EXPECT_EQ(Bytes(gif), file.Value());
}

TEST(GraphicsPictureTest, JpegOptions) {
    auto bitmap = QuadrantBitmap();
    // A noisy picture, so that the quality shows in the size.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            bitmap->Canvas()->SetPixels(x, y,
                                        static_cast<TColor>((x * 37 + y * 91) * 2654435761u & 0xFFFFFF));
    TJPEGImage jpeg;
    jpeg.Assign(bitmap.get());
    jpeg.SetCompressionQuality(95);
    size_t fine = Bytes(jpeg).size();
    jpeg.SetCompressionQuality(10);
    jpeg.Compress();
    EXPECT_LT(Bytes(jpeg).size(), fine);

    jpeg.SetGrayscale(true);
    for (TColor p : Rendered(&jpeg))
        EXPECT_TRUE((p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == ((p >> 16) & 0xFF));
    jpeg.SetScale(jsHalf);
    EXPECT_EQ(jpeg.Width(), 16);
    EXPECT_THROW(jpeg.SetWidth(3), EInvalidGraphicOperation);

    TBitmap back;
    back.Assign(&jpeg);
    EXPECT_EQ(back.Width(), 32);
}

TEST(GraphicsPictureTest, PicturesRoundTripThroughComponentStreams) {
    RegisterClass(TGraphicHolder::StaticClass());
    TGraphicHolder holder(nullptr);
    holder.SetName(u"Holder");
    holder.Font()->SetStyle(TFontStyles{fsBold});
    holder.Font()->SetCharset(128);
    auto quadrants = QuadrantBitmap(pf24bit);
    holder.SetGlyph(quadrants.get());
    holder.Picture()->SetGraphic(Converted<TPngImage>(*quadrants).get());

    TMemoryStream binary;
    WriteComponent(binary, &holder);
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(binary, text);
    std::string description(static_cast<char*>(text.Memory()), static_cast<size_t>(text.Size()));
    EXPECT_NE(description.find("Font.Charset = SHIFTJIS_CHARSET"), std::string::npos) << description;
    EXPECT_NE(description.find("Font.Style = [fsBold]"), std::string::npos);
    EXPECT_NE(description.find("Glyph.Data = {"), std::string::npos);
    EXPECT_NE(description.find("Picture.Data = {"), std::string::npos);
    EXPECT_EQ(description.find("Font.Size"), std::string::npos); // not stored

    binary.SetPosition(0);
    TGraphicHolder loaded(nullptr);
    ReadComponent(binary, &loaded);
    EXPECT_EQ(loaded.Font()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(loaded.Font()->Charset(), 128);
    EXPECT_EQ(loaded.Glyph()->PixelFormat(), pf24bit);
    EXPECT_EQ(Rendered(loaded.Glyph()), Rendered(quadrants.get()));
    ASSERT_NE(loaded.Picture()->Graphic(), nullptr);
    EXPECT_EQ(loaded.Picture()->Graphic()->ClassType(), TPngImage::StaticClass());
    EXPECT_EQ(Rendered(loaded.Picture()->Graphic()), Rendered(quadrants.get()));

    // An empty glyph and picture are not written.
    TGraphicHolder empty(nullptr);
    TMemoryStream emptyBinary, emptyText;
    WriteComponent(emptyBinary, &empty);
    emptyBinary.SetPosition(0);
    ObjectBinaryToText(emptyBinary, emptyText);
    std::string emptyDescription(static_cast<char*>(emptyText.Memory()),
                                 static_cast<size_t>(emptyText.Size()));
    EXPECT_EQ(emptyDescription.find(".Data"), std::string::npos) << emptyDescription;
    // The font states what the framework's forms always state.
    for (const char* line : {"Font.Charset = DEFAULT_CHARSET", "Font.Color = clWindowText",
                             "Font.Height = -11", "Font.Name = 'Tahoma'", "Font.Style = []"})
        EXPECT_NE(emptyDescription.find(line), std::string::npos) << line;
}

} // namespace
