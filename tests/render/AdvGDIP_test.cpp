// Tests of the GDI+ object layer: anti-aliased shapes and gradients through the wrappers, paths,
// regions and matrices, sticky statuses, fonts, text measuring against drawing, and images.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

#include "platform/framework/Graphics.h"
#include "platform/win32/windraw.h"
#include "render/AdvGDIP.h"
#include "render/PictureStream.h"
#include "tests/render/PictureFixtures.h"

namespace {

namespace fx = picture_fixtures;

// A white bitmap to draw on with a TGPGraphics on its canvas.
class Surface {
public:
    Surface(int width, int height) : FBitmap(width, height) {
        FBitmap.Canvas()->Brush()->SetColor(clWhite);
        FBitmap.Canvas()->FillRect(Rect(0, 0, width, height));
        FGraphics = std::make_unique<TGPGraphics>(FBitmap.Canvas()->Handle());
        FGraphics->SetSmoothingMode(SmoothingModeAntiAlias);
    }
    TGPGraphics* operator->() { return FGraphics.get(); }
    TGPGraphics* Graphics() { return FGraphics.get(); }
    TColor Pixel(int x, int y) {
        FGraphics->Flush();
        return FBitmap.Canvas()->Pixels(x, y);
    }

private:
    TBitmap FBitmap;
    std::unique_ptr<TGPGraphics> FGraphics;
};

int R(TColor c) {
    return static_cast<int>(c & 0xFF);
}
int G(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int B(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr ARGB Red = 0xFFFF0000;
constexpr ARGB Blue = 0xFF0000FF;

TEST(AdvGDIPColorTest, ConversionsSwapRedAndBlueAndResolveSystemColours) {
    EXPECT_EQ(ColorToARGB(clRed), 0xFFFF0000u);
    EXPECT_EQ(ColorToARGB(static_cast<TColor>(0x00336699)), 0xFF996633u);
    EXPECT_EQ(ColorToARGB(clWindow), ColorToARGB(static_cast<TColor>(ColorToRGB(clWindow))));
    ARGB c = ComposeARGB(0x80, 1, 2, 3);
    EXPECT_EQ(c, 0x80010203u);
    EXPECT_EQ(ARGBRed(c), 1);
    EXPECT_EQ(ARGBGreen(c), 2);
    EXPECT_EQ(ARGBBlue(c), 3);
    EXPECT_EQ(ComposeOpaqueARGB(1, 2, 3), 0xFF010203u);
}

TEST(AdvGDIPShapeTest, AntiAliasedEllipseAndRectangle) {
    Surface s(24, 24);
    TGPSolidBrush red(Red);
    ASSERT_EQ(s->FillEllipse(&red, 2, 2, 20, 20), Ok);
    EXPECT_EQ(s.Pixel(12, 12), clRed); // inside
    EXPECT_EQ(s.Pixel(2, 2), clWhite); // outside the curve, inside the box
    // Somewhere on the left edge the curve covers a pixel in part.
    bool partial = false;
    for (int x = 1; x < 6; ++x) {
        TColor c = s.Pixel(x, 12);
        partial = partial || (G(c) > 20 && G(c) < 235);
    }
    EXPECT_TRUE(partial);

    TGPPen pen(Blue, 2);
    ASSERT_EQ(s->DrawRectangle(&pen, 0.0f, 0.0f, 23.0f, 23.0f), Ok);
    EXPECT_GT(B(s.Pixel(0, 12)), 200);
    EXPECT_LT(R(s.Pixel(0, 12)), 60);
}

TEST(AdvGDIPShapeTest, LinearGradientRunsBetweenItsColoursAndBlends) {
    Surface s(40, 4);
    TGPLinearGradientBrush brush(TGPRectF{0, 0, 40, 4}, Red, Blue, LinearGradientModeHorizontal);
    ASSERT_EQ(brush.LastResult(), Ok);
    ASSERT_EQ(s->FillRectangle(&brush, 0.0f, 0.0f, 40.0f, 4.0f), Ok);
    TColor left = s.Pixel(0, 2), middle = s.Pixel(20, 2), right = s.Pixel(39, 2);
    EXPECT_GT(R(left), 230);
    EXPECT_GT(B(right), 230);
    EXPECT_NEAR(R(middle), 128, 20);
    EXPECT_NEAR(B(middle), 128, 20);

    // A preset blend: red, then green in the middle, then blue.
    ARGB colours[] = {Red, 0xFF00FF00, Blue};
    REAL positions[] = {0.0f, 0.5f, 1.0f};
    EXPECT_EQ(brush.SetInterpolationColors(colours, positions, 3), Ok);
    ASSERT_EQ(s->FillRectangle(&brush, 0.0f, 0.0f, 40.0f, 4.0f), Ok);
    EXPECT_GT(G(s.Pixel(20, 2)), 200);
}

TEST(AdvGDIPShapeTest, PathGradientFadesFromCentreToSurround) {
    Surface s(40, 40);
    TGPGraphicsPath path;
    path.AddEllipse(0, 0, 40, 40);
    TGPPathGradientBrush brush(&path);
    ASSERT_EQ(brush.LastResult(), Ok);
    EXPECT_EQ(brush.SetCenterColor(Red), Ok);
    INT count = 1;
    ARGB surround[] = {Blue};
    EXPECT_EQ(brush.SetSurroundColors(surround, count), Ok);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(s->FillPath(&brush, &path), Ok);
    EXPECT_GT(R(s.Pixel(20, 20)), 200);
    EXPECT_GT(B(s.Pixel(20, 1)), R(s.Pixel(20, 1)));
}

TEST(AdvGDIPBrushTest, ArgumentChecksAnswerStatusesWithoutCalls) {
    TGPLinearGradientBrush line(TGPPointF{0, 0}, TGPPointF{10, 0}, Red, Blue);
    ARGB colours[] = {Red, Blue};
    REAL positions[] = {0, 1};
    EXPECT_EQ(line.SetInterpolationColors(colours, positions, 0), InvalidParameter);

    TGPGraphicsPath path;
    path.AddRectangle(TGPRectF{0, 0, 10, 10});
    TGPPathGradientBrush gradient(&path);
    EXPECT_EQ(gradient.SetInterpolationColors(nullptr, positions, 2), InvalidParameter);
    EXPECT_EQ(gradient.SetInterpolationColors(colours, positions, -1), InvalidParameter);
    ARGB four[] = {Red, Blue, Red, Blue};
    INT count = 4;
    ASSERT_EQ(gradient.SetSurroundColors(four, count), Ok);
    // A buffer smaller than the surround colours: the count stays as given.
    ARGB small[2] = {};
    count = 2;
    EXPECT_EQ(gradient.GetSurroundColors(small, count), InsufficientBuffer);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(gradient.GetSurroundColors(nullptr, count), InvalidParameter);
    ARGB all[4] = {};
    count = 4;
    EXPECT_EQ(gradient.GetSurroundColors(all, count), Ok);
    EXPECT_EQ(all[1], Blue);
    // More colours than the figure has points.
    ARGB five[] = {Red, Red, Red, Red, Red};
    count = 5;
    EXPECT_EQ(gradient.SetSurroundColors(five, count), InvalidParameter);
}

TEST(AdvGDIPBrushTest, PenHandsOutABrushOfItsFillKind) {
    TGPPen solidPen(Red, 3);
    std::unique_ptr<TGPBrush> brush(solidPen.GetBrush());
    ASSERT_NE(brush, nullptr);
    EXPECT_NE(dynamic_cast<TGPSolidBrush*>(brush.get()), nullptr);
    ARGB colour = 0;
    EXPECT_EQ(static_cast<TGPSolidBrush*>(brush.get())->GetColor(colour), Ok);
    EXPECT_EQ(colour, Red);

    TGPHatchBrush hatch(HatchStyleCross, Red, Blue);
    TGPPen hatchPen(&hatch, 2);
    std::unique_ptr<TGPBrush> hatchCopy(hatchPen.GetBrush());
    ASSERT_NE(dynamic_cast<TGPHatchBrush*>(hatchCopy.get()), nullptr);
    EXPECT_EQ(static_cast<TGPHatchBrush*>(hatchCopy.get())->GetHatchStyle(), HatchStyleCross);

    EXPECT_EQ(solidPen.SetDashStyle(DashStyleDot), Ok);
    EXPECT_EQ(solidPen.GetDashStyle(), DashStyleDot);
    TGPBrush plain;
    EXPECT_EQ(plain.LastResult(), NotImplemented);
}

TEST(AdvGDIPMatrixTest, ResetRotateAtAndStickyStatus) {
    TGPMatrix matrix(2, 0, 0, 2, 5, 7);
    EXPECT_EQ(matrix.OffsetX(), 5.0f);
    EXPECT_EQ(matrix.OffsetY(), 7.0f);
    EXPECT_EQ(matrix.Reset(), Ok);
    EXPECT_TRUE(matrix.IsIdentity());
    EXPECT_EQ(matrix.OffsetX(), 0.0f);
    EXPECT_EQ(matrix.OffsetY(), 0.0f);

    // A quarter turn about (10, 10) takes (20, 10) to (10, 20), prepended or appended alike.
    for (MatrixOrder order : {MatrixOrderPrepend, MatrixOrderAppend}) {
        TGPMatrix turn;
        ASSERT_EQ(turn.RotateAt(90, TGPPointF{10, 10}, order), Ok);
        TGPPointF p{20, 10};
        turn.TransformPoints(&p);
        EXPECT_NEAR(p.X, 10.0f, 1e-3);
        EXPECT_NEAR(p.Y, 20.0f, 1e-3);
    }

    std::unique_ptr<TGPMatrix> clone(matrix.Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(clone->IsIdentity());

    // Failures stick until read; a later success does not clear them.
    TGPMatrix singular(0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(singular.IsInvertible());
    EXPECT_EQ(singular.Invert(), InvalidParameter);
    EXPECT_EQ(singular.Translate(1, 1), Ok);
    EXPECT_EQ(singular.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(singular.GetLastStatus(), Ok);
    std::unique_ptr<TGPMatrix> fine(singular.Clone());
    EXPECT_NE(fine, nullptr);
    EXPECT_EQ(singular.Invert(), InvalidParameter);
    EXPECT_EQ(singular.Clone(), nullptr); // the stored status is not Ok any more
}

TEST(AdvGDIPPathTest, FiguresBoundsAndRegions) {
    TGPGraphicsPath path;
    EXPECT_EQ(path.AddRectangle(TGPRect{0, 0, 10, 10}), Ok);
    EXPECT_EQ(path.GetPointCount(), 4);
    EXPECT_EQ(path.AddBezier(TGPPoint{20, 0}, TGPPoint{25, 5}, TGPPoint{25, 5}, TGPPoint{30, 0}), Ok);
    EXPECT_EQ(path.GetPointCount(), 8);
    std::vector<BYTE> types(8);
    ASSERT_EQ(path.GetPathTypes(types.data(), 8), Ok);
    EXPECT_EQ(types[4] & PathPointTypePathTypeMask, PathPointTypeStart);
    EXPECT_EQ(types[5] & PathPointTypePathTypeMask, PathPointTypeBezier);
    TGPRectF bounds{};
    ASSERT_EQ(path.GetBounds(bounds), Ok);
    EXPECT_EQ(bounds.X, 0.0f);
    EXPECT_EQ(bounds.Width, 30.0f);
    std::vector<TGPPointF> tooFew(2);
    EXPECT_EQ(path.GetPathPoints(tooFew.data(), 2), InsufficientBuffer);
    EXPECT_EQ(path.LastResult(), InsufficientBuffer);

    // A square with a round hole, then a second square joined on.
    TGPRegion region(TGPRectF{0, 0, 20, 20});
    TGPGraphicsPath hole;
    hole.AddEllipse(5, 5, 10, 10);
    EXPECT_EQ(region.Exclude(&hole), Ok);
    EXPECT_TRUE(region.IsVisible(1, 1));
    EXPECT_FALSE(region.IsVisible(10, 10));
    TGPRegion other(TGPRectF{30, 0, 5, 5});
    EXPECT_EQ(region.Union(&other), Ok);
    EXPECT_TRUE(region.IsVisible(32, 2));
    EXPECT_FALSE(region.IsVisible(25, 2));

    // Clipping to the region limits a fill to it.
    Surface s(40, 20);
    TGPSolidBrush red(Red);
    s->SetClip(&region);
    s->FillRectangle(&red, 0.0f, 0.0f, 40.0f, 20.0f);
    EXPECT_EQ(s.Pixel(1, 1), clRed);
    EXPECT_EQ(s.Pixel(10, 10), clWhite);
    EXPECT_EQ(s.Pixel(25, 2), clWhite);
    EXPECT_EQ(s.Pixel(32, 2), clRed);
    s->ResetClip();
    TGPRectF gap{24, 0, 4, 20};
    s->ExcludeClip(gap);
    s->FillRectangle(&red, 0.0f, 0.0f, 40.0f, 20.0f);
    EXPECT_EQ(s.Pixel(25, 2), clWhite);
    EXPECT_EQ(s.Pixel(10, 10), clRed);
}

TEST(AdvGDIPFontTest, UnknownFamiliesFallBack) {
    TGPFont font(u"No Such Face Anywhere", 10, FontStyleBold);
    EXPECT_EQ(font.LastResult(), Ok);
    EXPECT_EQ(font.GetFamilyName(), TGPFontFamily::GenericSansSerif()->GetFamilyName());
    EXPECT_EQ(font.GetStyle(), FontStyleBold);
    EXPECT_EQ(TGPFontFamily::GenericSansSerif(), TGPFontFamily::GenericSansSerif());

    TGPFontFamily unknown(u"No Such Face Anywhere");
    EXPECT_EQ(unknown.LastResult(), FontFamilyNotFound);

    TFont vcl;
    vcl.SetName(u"No Such Face Anywhere");
    vcl.SetSize(14);
    vcl.SetStyle(TFontStyles{fsItalic, fsUnderline});
    Surface s(4, 4);
    std::unique_ptr<TGPFont> made(s->MakeFont(&vcl));
    EXPECT_EQ(made->LastResult(), Ok);
    EXPECT_EQ(made->GetFamilyName(), TGPFontFamily(u"Arial").GetFamilyName());
    EXPECT_EQ(made->GetSize(), 14.0f);
    EXPECT_EQ(made->GetStyle(), FontStyleItalic | FontStyleUnderline);
}

class AdvGDIPTextTest : public testing::Test {
protected:
    void SetUp() override {
        FFont.SetName(u"Arial");
        FFont.SetSize(8);
        FFont.SetColor(clBlack);
    }
    // The measured box of text as DrawText measures it.
    TGPRectF Box(Surface& s, const String& text) {
        std::unique_ptr<TGPFont> font(s->MakeFont(&FFont));
        TGPRectF box{};
        s->MeasureString(text, static_cast<INT>(text.size()), font.get(), TGPRectF{10, 5, 1000, 0}, box);
        return box;
    }
    TFont FFont;
};

TEST_F(AdvGDIPTextTest, CalcRectMeasuresWithTheTrimAllowance) {
    Surface s(200, 40);
    struct Case {
        const char* name;
        int size;
        String text;
        String measured;
        LONG allowance;
    } cases[] = {
        {"8 points", 8, u"Hello", u"Hello", 2},
        {"14 points", 14, u"Hello", u"Hello", 6},
        {"trailing space measured as i", 8, u"ab ", u"abi", 2},
        {"a single space as it is", 8, u" ", u" ", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FFont.SetSize(c.size);
        TRect rect(10, 5, 10, 5);
        Integer height =
            s->DrawText(c.text, static_cast<INT>(c.text.size()), rect, &FFont, DT_CALCRECT, clNone);
        TGPRectF box = Box(s, c.measured);
        EXPECT_EQ(rect.Left, 10);
        EXPECT_EQ(rect.Top, 5);
        EXPECT_EQ(rect.Right, 10 + static_cast<LONG>(std::nearbyint(box.Width - c.allowance)));
        EXPECT_EQ(rect.Bottom, 5 + static_cast<LONG>(std::nearbyint(box.Height)));
        EXPECT_EQ(height, rect.Bottom - rect.Top);
    }
    // Measuring only draws nothing.
    for (int x = 0; x < 200; x += 3)
        EXPECT_EQ(s.Pixel(x, 10), clWhite);
}

TEST_F(AdvGDIPTextTest, DrawnTextStaysInsideItsMeasuredBox) {
    Surface s(200, 40);
    TRect rect(10, 5, 10, 5);
    String text = u"Measure me";
    s->DrawText(text, static_cast<INT>(text.size()), rect, &FFont, DT_CALCRECT, clNone);
    TRect drawn(10, 5, 10, 5);
    s->DrawText(text, static_cast<INT>(text.size()), drawn, &FFont, 0, clYellow);
    EXPECT_EQ(drawn, rect);
    int inkLeft = 200, inkRight = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            TColor c = s.Pixel(x, y);
            if (c != clWhite && c != clYellow && R(c) < 128) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
                EXPECT_GE(y, rect.Top);
                EXPECT_LT(y, rect.Bottom + 1);
            }
        }
    ASSERT_GE(inkRight, 0) << "no text drawn";
    EXPECT_GE(inkLeft, rect.Left);
    EXPECT_LE(inkRight, rect.Right + 2);
    // The background box starts one pixel in and is yellow above the ink.
    EXPECT_EQ(s.Pixel(rect.Left + 2, rect.Top + 1), clYellow);
    EXPECT_EQ(s.Pixel(rect.Left - 1, rect.Top + 1), clWhite);

    // TextWidth and TextHeight agree with the measured box.
    std::unique_ptr<TGPFont> font(s->MakeFont(&FFont));
    TGPRectF box{};
    s->MeasureString(text, static_cast<INT>(text.size()), font.get(), TGPRectF{0, 0, 10000, 10000}, box);
    EXPECT_EQ(s->TextWidth(text, &FFont), static_cast<Integer>(std::nearbyint(box.Width)));
    EXPECT_EQ(s->TextHeight(text, &FFont), static_cast<Integer>(std::nearbyint(box.Height)));
    EXPECT_GT(s->TextWidth(u"WWWW", &FFont), s->TextWidth(u"ii", &FFont));
}

TEST(AdvGDIPImageTest, EveryFormatLoadsFromFileAndStream) {
    struct Case {
        const char* name;
        codecs::Bytes bytes;
        TGPImageFormat format;
    } cases[] = {
        {"a.bmp", fx::Bmp(), ifBMP}, {"a.png", fx::Png(), ifPNG},  {"a.jpg", fx::Jpeg(), ifJPEG},
        {"a.gif", fx::Gif(), ifGIF}, {"a.ico", fx::Ico(), ifIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TGPImage fromFile(Utf8ToString(fx::WriteFile("advgdip", c.name, c.bytes)));
        TMemoryStream bytes;
        fx::Fill(bytes, c.bytes);
        std::unique_ptr<TGPImage> fromStream = render::DecodePicture(bytes);
        ASSERT_NE(fromStream, nullptr);
        for (TGPImage* image : {&fromFile, fromStream.get()}) {
            EXPECT_EQ(image->LastResult(), Ok);
            EXPECT_EQ(image->GetFormat(), c.format);
            EXPECT_EQ(image->GetWidth(), 6u);
            EXPECT_EQ(image->GetHeight(), 4u);
        }
        // Drawn stretched, the left half is red and the right half blue.
        Surface s(12, 8);
        ASSERT_EQ(s->DrawImageRect(&fromFile, 0, 0, 12, 8), Ok);
        EXPECT_GT(R(s.Pixel(2, 4)), 200);
        EXPECT_GT(B(s.Pixel(9, 4)), 200);
    }
}

TEST(AdvGDIPImageTest, UnreadableBytesGiveStatusesAndZeroSizes) {
    codecs::Bytes png = fx::Png();
    struct Case {
        const char* name;
        codecs::Bytes bytes;
    } cases[] = {
        {"text", fx::Text()},
        {"cut PNG", codecs::Bytes(png.begin(), png.begin() + 20)},
        {"empty", codecs::Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream bytes;
        fx::Fill(bytes, c.bytes);
        std::unique_ptr<TGPImage> image = render::DecodePicture(bytes);
        ASSERT_NE(image, nullptr);
        EXPECT_NE(image->LastResult(), Ok);
        EXPECT_EQ(image->GetWidth(), 0u);
        EXPECT_EQ(image->GetFormat(), ifUndefined);
    }
    TGPImage missing(u"/no/such/picture.png");
    EXPECT_EQ(missing.LastResult(), FileNotFound);
}

TEST(AdvGDIPImageTest, SurfacesOnImagesAndWithoutOne) {
    TGPBitmap bitmap(8, 8);
    ASSERT_EQ(bitmap.LastResult(), Ok);
    std::unique_ptr<TGPGraphics> graphics(TGPGraphics::FromImage(&bitmap));
    ASSERT_EQ(graphics->GetLastStatus(), Ok);
    graphics->Clear(Blue);
    TGPSolidBrush red(Red);
    graphics->FillRectangle(&red, 0.0f, 0.0f, 4.0f, 8.0f);
    ARGB pixel = 0;
    EXPECT_EQ(bitmap.GetPixel(1, 1, pixel), Ok);
    EXPECT_EQ(pixel, Red);
    bitmap.GetPixel(6, 1, pixel);
    EXPECT_EQ(pixel, Blue);
    EXPECT_TRUE(bitmap.HasAlphaChannel());
    EXPECT_EQ(bitmap.GetPixelDepth(), 32u);

    TGPGraphics none(static_cast<TGPImage*>(nullptr));
    EXPECT_EQ(none.GetLastStatus(), Ok);
    EXPECT_NE(none.FillRectangle(&red, 0.0f, 0.0f, 1.0f, 1.0f), Ok);
    EXPECT_NE(none.Clear(Red), Ok);
    EXPECT_EQ(none.GetSmoothingMode(), -1);
    EXPECT_NE(none.GetLastStatus(), Ok);
}

} // namespace
