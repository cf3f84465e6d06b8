// Tests of the GDI+ flat API: statuses, anti-aliased shapes and gradients on DCs and bitmaps, paths,
// regions, clipping, transforms, text layout and images from files and streams.
#include <cmath>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"
#include "platform/rtl/UString.h"
#include "platform/win32/gdiplus.h"
#include "tests/platform/win32/gdi_test.h"
#include "tests/support/TestSupport.h"

namespace {

using gdi_test::Canvas;

constexpr ARGB Black = 0xFF000000;
constexpr ARGB Red = 0xFFFF0000;
constexpr ARGB Blue = 0xFF0000FF;
constexpr ARGB White = 0xFFFFFFFF;

int RedOf(COLORREF c) {
    return GetRValue(c);
}
int BlueOf(COLORREF c) {
    return GetBValue(c);
}
bool Partial(COLORREF c) {
    int v = GetGValue(c);
    return v > 20 && v < 235;
}

class GdiplusTest : public testing::Test {
protected:
    void SetUp() override {
        GdiplusStartupInput input;
        ASSERT_EQ(GdiplusStartup(&FToken, &input, nullptr), Ok);
    }
    void TearDown() override { GdiplusShutdown(FToken); }

    // A graphics on the canvas's DC, anti-aliased unless asked otherwise.
    GpGraphics* Graphics(const Canvas& canvas, SmoothingMode mode = SmoothingModeAntiAlias) {
        GpGraphics* graphics = nullptr;
        EXPECT_EQ(GdipCreateFromHDC(canvas.dc(), &graphics), Ok);
        EXPECT_EQ(GdipSetSmoothingMode(graphics, mode), Ok);
        return graphics;
    }
    GpSolidFill* Solid(ARGB color) {
        GpSolidFill* brush = nullptr;
        EXPECT_EQ(GdipCreateSolidFill(color, &brush), Ok);
        return brush;
    }

    ULONG_PTR FToken = 0;
};

// ---- Statuses ----

TEST(GdiplusStartupTest, CallsBeforeStartupAnswerNotInitialized) {
    GpPath* path = nullptr;
    EXPECT_EQ(GdipCreatePath(FillModeAlternate, &path), GdiplusNotInitialized);
    GpMatrix* matrix = nullptr;
    EXPECT_EQ(GdipCreateMatrix(&matrix), GdiplusNotInitialized);
    EXPECT_EQ(GdipAlloc(16), nullptr);

    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    input.GdiplusVersion = 7;
    EXPECT_EQ(GdiplusStartup(&token, &input, nullptr), UnsupportedGdiplusVersion);
    // Without a background thread the caller is handed the notification hooks.
    input.GdiplusVersion = 1;
    input.SuppressBackgroundThread = TRUE;
    GdiplusStartupOutput output;
    ASSERT_EQ(GdiplusStartup(&token, &input, &output), Ok);
    ASSERT_NE(output.NotificationHook, nullptr);
    ULONG_PTR hook = 0;
    EXPECT_EQ(output.NotificationHook(&hook), Ok);
    output.NotificationUnhook(hook);
    void* memory = GdipAlloc(16);
    EXPECT_NE(memory, nullptr);
    GdipFree(memory);
    // Objects left at shutdown die with GDI+ and their handles are unknown afterwards.
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    GdiplusShutdown(token);
    EXPECT_EQ(GdipDeletePath(path), GdiplusNotInitialized);
}

TEST_F(GdiplusTest, BadArgumentsAnswerInvalidParameter) {
    GpPen* pen = nullptr;
    EXPECT_EQ(GdipCreatePen1(Black, 1, UnitWorld, nullptr), InvalidParameter);
    EXPECT_EQ(GdipCreatePen1(Black, 1, UnitDisplay, &pen), InvalidParameter);
    ASSERT_EQ(GdipCreatePen1(Black, 1, UnitWorld, &pen), Ok);
    EXPECT_EQ(GdipSetPenDashStyle(pen, static_cast<DashStyle>(9)), InvalidParameter);
    EXPECT_EQ(GdipDeletePen(pen), Ok);
    // A deleted handle is unknown, not followed.
    EXPECT_EQ(GdipDeletePen(pen), InvalidParameter);
    EXPECT_EQ(GdipSetPenWidth(pen, 2), InvalidParameter);

    EXPECT_EQ(GdipDrawLine(nullptr, nullptr, 0, 0, 1, 1), InvalidParameter);
    EXPECT_EQ(GdipCreateFromHDC(nullptr, nullptr), InvalidParameter);
    GpGraphics* graphics = nullptr;
    EXPECT_EQ(GdipCreateFromHDC(reinterpret_cast<HDC>(0x1234), &graphics), InvalidParameter);

    // Coordinates that are not numbers, or far off, draw nothing and harm nothing.
    Canvas canvas(8, 8);
    ASSERT_EQ(GdipCreateFromHDC(canvas.dc(), &graphics), Ok);
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(Black, &brush);
    EXPECT_EQ(GdipFillRectangle(graphics, brush, std::nanf(""), 0, 4, 4), Ok);
    EXPECT_EQ(GdipFillRectangle(graphics, brush, -3e30f, -3e30f, 1e30f, 1e30f), Ok);
    EXPECT_EQ(canvas.Ink(), 0);
    EXPECT_EQ(GdipFillRectangle(graphics, brush, -1e30f, -1e30f, 2e30f, 2e30f), Ok);
    EXPECT_EQ(canvas.Ink(), 64);
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(graphics);

    GpMatrix* matrix = nullptr;
    ASSERT_EQ(GdipCreateMatrix2(1, 2, 2, 4, 0, 0, &matrix), Ok);
    BOOL invertible = TRUE;
    EXPECT_EQ(GdipIsMatrixInvertible(matrix, &invertible), Ok);
    EXPECT_FALSE(invertible);
    EXPECT_EQ(GdipInvertMatrix(matrix), InvalidParameter);
    EXPECT_EQ(GdipTranslateMatrix(matrix, 1, 1, static_cast<MatrixOrder>(5)), InvalidParameter);
    GdipDeleteMatrix(matrix);

    GpLineGradient* line = nullptr;
    GpRectF rect{0, 0, 10, 10};
    ASSERT_EQ(
        GdipCreateLineBrushFromRect(&rect, Red, Blue, LinearGradientModeHorizontal, WrapModeTile, &line), Ok);
    REAL factors[] = {0, 1};
    REAL badPositions[] = {0.2f, 1};
    EXPECT_EQ(GdipSetLineBlend(line, factors, badPositions, 2), InvalidParameter);
    EXPECT_EQ(GdipSetLinePresetBlend(line, nullptr, badPositions, 0), InvalidParameter);
    GdipDeleteBrush(line);
}

// ---- Anti-aliased shapes ----

TEST_F(GdiplusTest, AntiAliasedRectangleHasExactInteriorAndHalfCoveredEdges) {
    Canvas canvas(20, 20);
    GpGraphics* graphics = Graphics(canvas);
    GpSolidFill* brush = Solid(Black);
    ASSERT_EQ(GdipFillRectangle(graphics, brush, 4, 4, 10, 10), Ok);
    // Whole coordinates are pixel centres: the edge pixels are half covered.
    EXPECT_EQ(canvas.At(8, 8), RGB(0, 0, 0));
    EXPECT_TRUE(Partial(canvas.At(4, 8))) << std::hex << canvas.At(4, 8);
    EXPECT_TRUE(Partial(canvas.At(14, 8)));
    EXPECT_EQ(canvas.At(3, 8), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(15, 8), RGB(255, 255, 255));
    GdipDeleteGraphics(graphics);

    // Half-pixel offsets and aliased drawing both fill whole pixels 4 to 13.
    for (auto [smoothing, offset] : {std::pair{SmoothingModeAntiAlias, PixelOffsetModeHalf},
                                     std::pair{SmoothingModeNone, PixelOffsetModeDefault}}) {
        Canvas crisp(20, 20);
        graphics = Graphics(crisp, smoothing);
        GdipSetPixelOffsetMode(graphics, offset);
        GdipFillRectangle(graphics, brush, 4, 4, 10, 10);
        EXPECT_EQ(crisp.At(4, 8), RGB(0, 0, 0));
        EXPECT_EQ(crisp.At(13, 13), RGB(0, 0, 0));
        EXPECT_EQ(crisp.At(14, 8), RGB(255, 255, 255));
        EXPECT_EQ(crisp.At(3, 8), RGB(255, 255, 255));
        GdipDeleteGraphics(graphics);
    }
    GdipDeleteBrush(brush);
}

TEST_F(GdiplusTest, AntiAliasedEllipseAndLine) {
    Canvas canvas(30, 30);
    GpGraphics* graphics = Graphics(canvas);
    GpSolidFill* brush = Solid(Black);
    ASSERT_EQ(GdipFillEllipseI(graphics, brush, 2, 2, 20, 20), Ok);
    EXPECT_EQ(canvas.At(12, 12), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(3, 3), RGB(255, 255, 255)); // outside the curve, inside the bounds
    int partial = 0;
    for (int x = 0; x < 30; ++x)
        partial += Partial(canvas.At(x, 12));
    EXPECT_EQ(partial, 2); // one soft pixel at each end of the middle row

    // An odd width on a whole coordinate covers whole pixels; an even one leaves soft edges.
    GpPen* pen = nullptr;
    ASSERT_EQ(GdipCreatePen1(Black, 3, UnitPixel, &pen), Ok);
    ASSERT_EQ(GdipDrawLineI(graphics, pen, 2, 26, 27, 26), Ok);
    EXPECT_EQ(canvas.At(15, 25), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(15, 27), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(15, 24), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(15, 28), RGB(255, 255, 255));
    GdipSetPenWidth(pen, 2);
    ASSERT_EQ(GdipDrawLineI(graphics, pen, 2, 16, 27, 16), Ok);
    EXPECT_EQ(canvas.At(25, 16), RGB(0, 0, 0));
    EXPECT_TRUE(Partial(canvas.At(25, 15)));
    EXPECT_TRUE(Partial(canvas.At(25, 17)));
    EXPECT_EQ(canvas.At(25, 14), RGB(255, 255, 255));
    // Flat caps end at the end points; a round cap reaches past them.
    EXPECT_EQ(canvas.At(29, 26), RGB(255, 255, 255));
    ASSERT_EQ(GdipSetPenEndCap(pen, LineCapRound), Ok);
    ASSERT_EQ(GdipDrawLineI(graphics, pen, 2, 20, 25, 20), Ok);
    EXPECT_NE(canvas.At(26, 20), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(1, 20), RGB(255, 255, 255));
    GdipDeletePen(pen);
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTest, DashesAndPenAlignment) {
    Canvas canvas(40, 6);
    GpGraphics* graphics = Graphics(canvas, SmoothingModeNone);
    GpPen* pen = nullptr;
    ASSERT_EQ(GdipCreatePen1(Black, 2, UnitPixel, &pen), Ok);
    ASSERT_EQ(GdipSetPenDashStyle(pen, DashStyleDash), Ok);
    DashStyle style = DashStyleSolid;
    GdipGetPenDashStyle(pen, &style);
    EXPECT_EQ(style, DashStyleDash);
    ASSERT_EQ(GdipDrawLine(graphics, pen, 0, 3, 40, 3), Ok);
    // Dashes of three widths (6 pixels) and gaps of one (2 pixels).
    std::string row;
    for (int x = 0; x < 16; ++x)
        row += canvas.At(x, 3) == 0 ? '#' : '.';
    EXPECT_EQ(row, "######..######..");

    // A centred pen straddles the outline; an inset one stays inside it.
    GdipSetPenDashStyle(pen, DashStyleSolid);
    for (auto [alignment, column] :
         {std::pair{PenAlignmentCenter, "##..."}, std::pair{PenAlignmentInset, ".##.."}}) {
        Canvas box(12, 12);
        GpGraphics* onBox = Graphics(box, SmoothingModeNone);
        ASSERT_EQ(GdipSetPenMode(pen, alignment), Ok);
        ASSERT_EQ(GdipDrawRectangleI(onBox, pen, 2, 2, 8, 8), Ok);
        std::string rows;
        for (int y = 1; y < 6; ++y)
            rows += box.At(6, y) == 0 ? '#' : '.';
        EXPECT_EQ(rows, column);
        GdipDeleteGraphics(onBox);
    }
    GdipDeletePen(pen);
    GdipDeleteGraphics(graphics);
}

// ---- Gradients ----

TEST_F(GdiplusTest, LinearGradientRunsBetweenItsColours) {
    Canvas canvas(101, 20);
    GpGraphics* graphics = Graphics(canvas, SmoothingModeNone);
    GpLineGradient* brush = nullptr;
    GpRect rect{0, 0, 101, 10};
    ASSERT_EQ(
        GdipCreateLineBrushFromRectI(&rect, Red, Blue, LinearGradientModeHorizontal, WrapModeTile, &brush),
        Ok);
    ASSERT_EQ(GdipFillRectangleI(graphics, brush, 0, 0, 101, 10), Ok);
    EXPECT_GT(RedOf(canvas.At(0, 5)), 245);
    EXPECT_GT(BlueOf(canvas.At(100, 5)), 245);
    int middleRed = RedOf(canvas.At(50, 5));
    EXPECT_NEAR(middleRed, 128, 8);
    EXPECT_NEAR(BlueOf(canvas.At(50, 5)), 128, 8);

    // Gamma correction mixes in linear light: the middle is brighter.
    ASSERT_EQ(GdipSetLineGammaCorrection(brush, TRUE), Ok);
    GdipFillRectangleI(graphics, brush, 0, 10, 101, 10);
    EXPECT_GT(RedOf(canvas.At(50, 15)), middleRed + 30);

    // A blend that reaches the second colour half way.
    REAL factors[] = {0, 1, 1};
    REAL positions[] = {0, 0.5f, 1};
    ASSERT_EQ(GdipSetLineGammaCorrection(brush, FALSE), Ok);
    ASSERT_EQ(GdipSetLineBlend(brush, factors, positions, 3), Ok);
    GdipFillRectangleI(graphics, brush, 0, 0, 101, 10);
    EXPECT_GT(BlueOf(canvas.At(75, 5)), 245);
    EXPECT_NEAR(RedOf(canvas.At(25, 5)), 128, 8);
    GdipDeleteBrush(brush);

    // The vertical mode changes down the rectangle only.
    ASSERT_EQ(
        GdipCreateLineBrushFromRectI(&rect, Red, Blue, LinearGradientModeVertical, WrapModeTile, &brush), Ok);
    GdipFillRectangleI(graphics, brush, 0, 0, 101, 10);
    EXPECT_EQ(canvas.At(0, 2), canvas.At(100, 2));
    EXPECT_GT(RedOf(canvas.At(0, 1)), RedOf(canvas.At(0, 8)));
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTest, PathGradientFadesFromCentreToEdge) {
    Canvas canvas(41, 41);
    GpGraphics* graphics = Graphics(canvas, SmoothingModeNone);
    GpPath* path = nullptr;
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    ASSERT_EQ(GdipAddPathEllipse(path, 0, 0, 40, 40), Ok);
    GpPathGradient* brush = nullptr;
    ASSERT_EQ(GdipCreatePathGradientFromPath(path, &brush), Ok);
    ASSERT_EQ(GdipSetPathGradientCenterColor(brush, Red), Ok);
    INT count = 0;
    ASSERT_EQ(GdipGetPathGradientPointCount(brush, &count), Ok);
    EXPECT_EQ(count, 13);
    ARGB surround[13];
    std::fill(std::begin(surround), std::end(surround), Blue);
    INT tooMany = 14;
    EXPECT_EQ(GdipSetPathGradientSurroundColorsWithCount(brush, surround, &tooMany), InvalidParameter);
    ASSERT_EQ(GdipSetPathGradientSurroundColorsWithCount(brush, surround, &count), Ok);
    ARGB read[2];
    INT small = 2;
    EXPECT_EQ(GdipGetPathGradientSurroundColorsWithCount(brush, read, &small), InsufficientBuffer);
    EXPECT_EQ(small, 2);
    GpPointF center{};
    GdipGetPathGradientCenterPoint(brush, &center);
    EXPECT_FLOAT_EQ(center.X, 20);

    ASSERT_EQ(GdipFillPath(graphics, brush, path), Ok);
    EXPECT_GT(RedOf(canvas.At(20, 20)), 240);
    EXPECT_GT(RedOf(canvas.At(20, 20)), RedOf(canvas.At(30, 20)));
    EXPECT_GT(RedOf(canvas.At(30, 20)), RedOf(canvas.At(38, 20)));
    EXPECT_GT(BlueOf(canvas.At(38, 20)), 200);
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 255));
    GdipDeleteBrush(brush);
    GdipDeletePath(path);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTest, HatchAndTextureBrushes) {
    Canvas canvas(16, 16);
    GpGraphics* graphics = Graphics(canvas, SmoothingModeNone);
    GpHatch* hatch = nullptr;
    ASSERT_EQ(GdipCreateHatchBrush(HatchStyleCross, Black, White, &hatch), Ok);
    ASSERT_EQ(GdipFillRectangleI(graphics, hatch, 0, 0, 16, 16), Ok);
    // Lines every 8 pixels, across and down.
    EXPECT_EQ(canvas.At(0, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(8, 5), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(3, 8), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(3, 3), RGB(255, 255, 255));
    GdipDeleteBrush(hatch);

    // A 2 x 2 checker tiles the area.
    BYTE pixels[16] = {};
    auto set = [&](int i, ARGB c) { std::memcpy(pixels + i * 4, &c, 4); };
    set(0, Red), set(1, Blue), set(2, Blue), set(3, Red);
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(2, 2, 8, PixelFormat32bppARGB, pixels, &bitmap), Ok);
    GpTexture* texture = nullptr;
    ASSERT_EQ(GdipCreateTexture(bitmap, WrapModeTile, &texture), Ok);
    GdipFillRectangleI(graphics, texture, 0, 0, 16, 16);
    EXPECT_EQ(canvas.At(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(5, 4), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(5, 5), RGB(255, 0, 0));
    GpImage* image = nullptr;
    ASSERT_EQ(GdipGetTextureImage(texture, &image), Ok);
    UINT width = 0;
    GdipGetImageWidth(image, &width);
    EXPECT_EQ(width, 2u);
    GdipDisposeImage(image);
    GdipDeleteBrush(texture);
    GdipDisposeImage(bitmap);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTest, ImageAttributesAdjustColours) {
    ColorMatrix invert{};
    for (int i = 0; i < 3; ++i) {
        invert.m[i][i] = -1;
        invert.m[4][i] = 1;
    }
    invert.m[3][3] = 1;
    ColorMatrix halfAlpha{};
    for (int i = 0; i < 5; ++i)
        halfAlpha.m[i][i] = 1;
    halfAlpha.m[3][3] = 0.5f;
    ColorMap map{Red, Blue};
    struct Case {
        const char* name;
        std::function<Status(GpImageAttributes*)> set;
        ARGB in, out;
    } cases[] = {
        {"matrix",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesColorMatrix(a, ColorAdjustTypeDefault, TRUE, &invert, nullptr,
                                                      ColorMatrixFlagsDefault);
         },
         0xFF102030, 0xFFEFDFCF},
        {"alpha",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesColorMatrix(a, ColorAdjustTypeBitmap, TRUE, &halfAlpha, nullptr,
                                                      ColorMatrixFlagsDefault);
         },
         0xFF102030, 0x80102030},
        {"skip greys",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesColorMatrix(a, ColorAdjustTypeDefault, TRUE, &invert, nullptr,
                                                      ColorMatrixFlagsSkipGrays);
         },
         0xFF808080, 0xFF808080},
        {"remap",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesRemapTable(a, ColorAdjustTypeDefault, TRUE, 1, &map);
         },
         Red, Blue},
        {"key",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesColorKeys(a, ColorAdjustTypeDefault, TRUE, 0xFF000000, 0xFF101010);
         },
         0xFF080808, 0},
        {"threshold",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesThreshold(a, ColorAdjustTypeDefault, TRUE, 0.5f);
         },
         0xFF90207F, 0xFFFF0000},
        {"gamma",
         [&](GpImageAttributes* a) {
             return GdipSetImageAttributesGamma(a, ColorAdjustTypeDefault, TRUE, 2.0f);
         },
         0xFF808080, 0xFF404040},
        {"no-op",
         [&](GpImageAttributes* a) {
             GdipSetImageAttributesColorMatrix(a, ColorAdjustTypeDefault, TRUE, &invert, nullptr,
                                               ColorMatrixFlagsDefault);
             return GdipSetImageAttributesNoOp(a, ColorAdjustTypeDefault, TRUE);
         },
         0xFF102030, 0xFF102030},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GpImageAttributes* attributes = nullptr;
        ASSERT_EQ(GdipCreateImageAttributes(&attributes), Ok);
        ASSERT_EQ(c.set(attributes), Ok);
        ColorPalette palette{0, 1, {c.in}};
        ASSERT_EQ(GdipGetImageAttributesAdjustedPalette(attributes, &palette, ColorAdjustTypeBitmap), Ok);
        EXPECT_EQ(palette.Entries[0], c.out) << std::hex << palette.Entries[0];
        // A clear puts the colour back.
        GdipResetImageAttributes(attributes, ColorAdjustTypeDefault);
        GdipResetImageAttributes(attributes, ColorAdjustTypeBitmap);
        palette.Entries[0] = c.in;
        GdipGetImageAttributesAdjustedPalette(attributes, &palette, ColorAdjustTypeBitmap);
        EXPECT_EQ(palette.Entries[0], c.in);
        GdipDisposeImageAttributes(attributes);
    }
}

// ---- Paths, regions, clipping and transforms ----

TEST_F(GdiplusTest, PathFiguresPointsAndBounds) {
    GpPath* path = nullptr;
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    GdipAddPathLine(path, 0, 0, 10, 0);
    GdipAddPathLine(path, 10, 0, 10, 10); // joins the open figure
    GdipClosePathFigure(path);
    GdipAddPathRectangle(path, 20, 20, 5, 5);
    GdipAddPathEllipse(path, 10, 10, 20, 30);
    GdipAddPathBezier(path, 0, 0, 1, 1, 2, 2, 3, 3);
    INT count = 0;
    ASSERT_EQ(GdipGetPointCount(path, &count), Ok);
    EXPECT_EQ(count, 4 + 4 + 13 + 4);
    std::vector<BYTE> types(static_cast<size_t>(count));
    ASSERT_EQ(GdipGetPathTypes(path, types.data(), count), Ok);
    EXPECT_EQ(types[0], PathPointTypeStart);
    EXPECT_EQ(types[3], PathPointTypeLine | PathPointTypeCloseSubpath);
    EXPECT_EQ(types[4], PathPointTypeStart);
    EXPECT_EQ(types[20], PathPointTypeBezier | PathPointTypeCloseSubpath);
    EXPECT_EQ(types[21], PathPointTypeStart);
    std::vector<GpPointF> points(2);
    EXPECT_EQ(GdipGetPathPoints(path, points.data(), 2), InsufficientBuffer);

    GpPath* ellipse = nullptr;
    GdipCreatePath(FillModeAlternate, &ellipse);
    GdipAddPathEllipse(ellipse, 10, 10, 20, 30);
    GpRectF bounds{};
    ASSERT_EQ(GdipGetPathWorldBounds(ellipse, &bounds, nullptr, nullptr), Ok);
    EXPECT_NEAR(bounds.X, 10, 0.01);
    EXPECT_NEAR(bounds.Width, 20, 0.01);
    EXPECT_NEAR(bounds.Height, 30, 0.01);
    GpPen* pen = nullptr;
    GdipCreatePen1(Black, 4, UnitWorld, &pen);
    GdipGetPathWorldBounds(ellipse, &bounds, nullptr, pen);
    EXPECT_NEAR(bounds.X, 8, 0.05);
    EXPECT_NEAR(bounds.Width, 24, 0.1);
    GpMatrix* matrix = nullptr;
    GdipCreateMatrix(&matrix);
    GdipScaleMatrix(matrix, 2, 1, MatrixOrderAppend);
    GdipGetPathWorldBounds(ellipse, &bounds, matrix, nullptr);
    EXPECT_NEAR(bounds.X, 20, 0.01);
    EXPECT_NEAR(bounds.Width, 40, 0.01);
    BOOL inside = FALSE;
    GdipIsVisiblePathPoint(ellipse, 20, 25, nullptr, &inside);
    EXPECT_TRUE(inside);
    GdipIsVisiblePathPoint(ellipse, 11, 11, nullptr, &inside);
    EXPECT_FALSE(inside);
    GdipIsOutlineVisiblePathPoint(ellipse, 10, 25, pen, nullptr, &inside);
    EXPECT_TRUE(inside);

    // Arcs are measured on the ellipse: a quarter from 0 degrees ends at the bottom.
    GdipResetPath(path);
    GdipAddPathArc(path, 0, 0, 40, 20, 0, 90);
    GdipGetPointCount(path, &count);
    ASSERT_EQ(count, 4);
    points.resize(4);
    GdipGetPathPoints(path, points.data(), 4);
    EXPECT_NEAR(points[0].X, 40, 1e-3);
    EXPECT_NEAR(points[0].Y, 10, 1e-3);
    EXPECT_NEAR(points[3].X, 20, 1e-3);
    EXPECT_NEAR(points[3].Y, 20, 1e-3);

    GdipDeleteMatrix(matrix);
    GdipDeletePen(pen);
    GdipDeletePath(ellipse);
    GdipDeletePath(path);
}

TEST_F(GdiplusTest, RegionsCombine) {
    Canvas canvas(4, 4);
    GpGraphics* graphics = Graphics(canvas);
    struct Case {
        const char* name;
        CombineMode mode;
        bool at2_2, at7_7, at12_12;
    };
    const Case cases[] = {
        {"union", CombineModeUnion, true, true, true},
        {"intersect", CombineModeIntersect, false, true, false},
        {"xor", CombineModeXor, true, false, true},
        {"exclude", CombineModeExclude, true, false, false},
        {"complement", CombineModeComplement, false, false, true},
        {"replace", CombineModeReplace, false, true, true},
    };
    GpRectF a{0, 0, 10, 10}, b{5, 5, 10, 10};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GpRegion* region = nullptr;
        ASSERT_EQ(GdipCreateRegionRect(&a, &region), Ok);
        ASSERT_EQ(GdipCombineRegionRect(region, &b, c.mode), Ok);
        BOOL in = FALSE;
        GdipIsVisibleRegionPoint(region, 2, 2, nullptr, &in);
        EXPECT_EQ(in != FALSE, c.at2_2);
        GdipIsVisibleRegionPoint(region, 7, 7, nullptr, &in);
        EXPECT_EQ(in != FALSE, c.at7_7);
        GdipIsVisibleRegionPoint(region, 12, 12, nullptr, &in);
        EXPECT_EQ(in != FALSE, c.at12_12);
        GdipDeleteRegion(region);
    }

    // A region from a path with a path excluded, as the object layer's Exclude does.
    GpPath* circle = nullptr;
    GdipCreatePath(FillModeAlternate, &circle);
    GdipAddPathEllipse(circle, 0, 0, 20, 20);
    GpPath* hole = nullptr;
    GdipCreatePath(FillModeAlternate, &hole);
    GdipAddPathRectangle(hole, 8, 8, 4, 4);
    GpRegion* ring = nullptr;
    ASSERT_EQ(GdipCreateRegionPath(circle, &ring), Ok);
    ASSERT_EQ(GdipCombineRegionPath(ring, hole, CombineModeExclude), Ok);
    BOOL in = TRUE;
    GdipIsVisibleRegionPoint(ring, 10, 10, nullptr, &in);
    EXPECT_FALSE(in);
    GdipIsVisibleRegionPoint(ring, 4, 10, nullptr, &in);
    EXPECT_TRUE(in);
    GpRectF bounds{};
    ASSERT_EQ(GdipGetRegionBounds(ring, graphics, &bounds), Ok);
    EXPECT_NEAR(bounds.Width, 20, 0.01);

    GpRegion* infinite = nullptr;
    GdipCreateRegion(&infinite);
    GdipGetRegionBounds(infinite, graphics, &bounds);
    EXPECT_EQ(bounds.X, -4194304.0f);
    EXPECT_EQ(bounds.Width, 8388608.0f);
    GpRectF far{100, 100, 5, 5};
    GdipCombineRegionRect(infinite, &a, CombineModeIntersect);
    GdipCombineRegionRect(infinite, &far, CombineModeIntersect);
    BOOL empty = FALSE;
    ASSERT_EQ(GdipIsEmptyRegion(infinite, graphics, &empty), Ok);
    EXPECT_TRUE(empty);
    GdipDeleteRegion(infinite);
    GdipDeleteRegion(ring);
    GdipDeletePath(hole);
    GdipDeletePath(circle);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTest, ClipAndWorldTransformLimitDrawing) {
    Canvas canvas(20, 20);
    GpGraphics* graphics = Graphics(canvas, SmoothingModeNone);
    GpSolidFill* brush = Solid(Black);
    ASSERT_EQ(GdipSetClipRectI(graphics, 5, 5, 5, 5, CombineModeReplace), Ok);
    ASSERT_EQ(GdipSetClipRectI(graphics, 7, 7, 1, 1, CombineModeExclude), Ok);
    GdipFillRectangleI(graphics, brush, 0, 0, 20, 20);
    EXPECT_EQ(canvas.Ink(), 24);
    EXPECT_EQ(canvas.At(7, 7), RGB(255, 255, 255));
    GpRectF bounds{};
    GdipGetClipBounds(graphics, &bounds);
    EXPECT_FLOAT_EQ(bounds.X, 5);
    EXPECT_FLOAT_EQ(bounds.Width, 5);
    ASSERT_EQ(GdipResetClip(graphics), Ok);

    // A translated and scaled world: (0, 0, 2, 2) lands at (12, 12, 4, 4).
    Canvas moved(20, 20);
    GpGraphics* g2 = Graphics(moved, SmoothingModeNone);
    GdipTranslateWorldTransform(g2, 12, 12, MatrixOrderPrepend);
    GdipScaleWorldTransform(g2, 2, 2, MatrixOrderPrepend);
    GdipFillRectangleI(g2, brush, 0, 0, 2, 2);
    EXPECT_EQ(moved.Ink(), 16);
    EXPECT_EQ(moved.At(12, 12), RGB(0, 0, 0));
    EXPECT_EQ(moved.At(15, 15), RGB(0, 0, 0));
    GpMatrix* matrix = nullptr;
    GdipCreateMatrix(&matrix);
    GdipGetWorldTransform(g2, matrix);
    REAL e[6];
    GdipGetMatrixElements(matrix, e);
    EXPECT_FLOAT_EQ(e[0], 2);
    EXPECT_FLOAT_EQ(e[4], 12);
    // The object layer's RotateAt: turning a quarter about (10, 10) maps (20, 10) to (10, 20).
    GdipSetMatrixElements(matrix, 1, 0, 0, 1, 0, 0);
    GdipTranslateMatrix(matrix, -10, -10, MatrixOrderAppend);
    GdipRotateMatrix(matrix, 90, MatrixOrderAppend);
    GdipTranslateMatrix(matrix, 10, 10, MatrixOrderAppend);
    GpPointF p{20, 10};
    GdipTransformMatrixPoints(matrix, &p, 1);
    EXPECT_NEAR(p.X, 10, 1e-4);
    EXPECT_NEAR(p.Y, 20, 1e-4);
    ASSERT_EQ(GdipInvertMatrix(matrix), Ok);
    GdipTransformMatrixPoints(matrix, &p, 1);
    EXPECT_NEAR(p.X, 20, 1e-4);
    GdipDeleteMatrix(matrix);

    // Between GetDC and ReleaseDC the graphics is busy.
    HDC dc = nullptr;
    ASSERT_EQ(GdipGetDC(g2, &dc), Ok);
    EXPECT_EQ(dc, moved.dc());
    EXPECT_EQ(GdipFillRectangleI(g2, brush, 0, 0, 1, 1), ObjectBusy);
    EXPECT_EQ(GdipReleaseDC(g2, dc), Ok);
    EXPECT_EQ(GdipFillRectangleI(g2, brush, 0, 0, 1, 1), Ok);
    GdipDeleteGraphics(g2);
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(graphics);
}

// ---- Text ----

class GdiplusTextTest : public GdiplusTest {
protected:
    void SetUp() override {
        GdiplusTest::SetUp();
        ASSERT_EQ(GdipCreateFontFamilyFromName(u"Arial", nullptr, &FFamily), Ok);
        ASSERT_EQ(GdipCreateFont(FFamily, 16, FontStyleRegular, UnitPixel, &FFont), Ok);
    }
    void TearDown() override {
        GdipDeleteFont(FFont);
        GdipDeleteFontFamily(FFamily);
        GdiplusTest::TearDown();
    }
    GpRectF Measure(GpGraphics* graphics, const WCHAR* text, GpRectF layout, GpStringFormat* format = nullptr,
                    INT* fitted = nullptr, INT* lines = nullptr) {
        GpRectF box{};
        EXPECT_EQ(GdipMeasureString(graphics, text, -1, FFont, &layout, format, &box, fitted, lines), Ok);
        return box;
    }
    GpFontFamily* FFamily = nullptr;
    GpFont* FFont = nullptr;
};

TEST_F(GdiplusTextTest, FamiliesAndFonts) {
    GpFontFamily* family = nullptr;
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"No Such Face", nullptr, &family), FontFamilyNotFound);
    EXPECT_EQ(GdipCreateFontFamilyFromName(u"Times New Roman", nullptr, &family), Ok);
    GdipDeleteFontFamily(family);
    GpFontFamily* sans = nullptr;
    GpFontFamily* again = nullptr;
    ASSERT_EQ(GdipGetGenericFontFamilySansSerif(&sans), Ok);
    ASSERT_EQ(GdipGetGenericFontFamilySansSerif(&again), Ok);
    EXPECT_EQ(sans, again);
    EXPECT_EQ(GdipDeleteFontFamily(sans), Ok); // shared: stays
    WCHAR name[LF_FACESIZE];
    ASSERT_EQ(GdipGetFamilyName(sans, name, 0), Ok);
    EXPECT_EQ(String(name), u"Microsoft Sans Serif");
    GpFont* font = nullptr;
    EXPECT_EQ(GdipCreateFont(sans, 0, FontStyleRegular, UnitPoint, &font), InvalidParameter);
    EXPECT_EQ(GdipCreateFont(sans, 8, FontStyleRegular, UnitDisplay, &font), InvalidParameter);
    ASSERT_EQ(GdipCreateFont(sans, 10, FontStyleBold | FontStyleItalic, UnitPoint, &font), Ok);
    INT style = 0;
    GdipGetFontStyle(font, &style);
    EXPECT_EQ(style, FontStyleBoldItalic);
    GdipDeleteFont(font);

    // A font from a DC takes the DC's font in pixels.
    Canvas canvas(4, 4);
    LOGFONTW lf{};
    lf.lfHeight = -20;
    std::u16string face = u"Arial";
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    HFONT hfont = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(canvas.dc(), hfont);
    ASSERT_EQ(GdipCreateFontFromDC(canvas.dc(), &font), Ok);
    REAL size = 0;
    Unit unit = UnitWorld;
    GdipGetFontSize(font, &size);
    GdipGetFontUnit(font, &unit);
    EXPECT_EQ(size, 20);
    EXPECT_EQ(unit, UnitPixel);
    GdipDeleteFont(font);
    SelectObject(canvas.dc(), old);
    DeleteObject(hfont);
}

TEST_F(GdiplusTextTest, MeasuringMatchesWhatIsDrawn) {
    Canvas canvas(200, 40);
    GpGraphics* graphics = Graphics(canvas);
    GpRectF layout{10, 5, 0, 0};
    GpRectF box = Measure(graphics, u"Hello World", layout);
    EXPECT_FLOAT_EQ(box.X, 10);
    EXPECT_FLOAT_EQ(box.Y, 5);
    EXPECT_GT(box.Width, 60);
    EXPECT_LT(box.Width, 120);
    GpSolidFill* brush = Solid(Black);
    ASSERT_EQ(GdipDrawString(graphics, u"Hello World", -1, FFont, &layout, nullptr, brush), Ok);
    // Every inked pixel lies inside the measured box, and the ink spans most of it.
    int left = 200, right = -1, top = 40, bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
            if (canvas.At(x, y) != RGB(255, 255, 255)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_GE(left, std::floor(box.X));
    EXPECT_LE(right, std::ceil(box.X + box.Width));
    EXPECT_GE(top, std::floor(box.Y));
    EXPECT_LE(bottom, std::ceil(box.Y + box.Height));
    EXPECT_GT(right - left, box.Width * 0.7);

    // A trailing space takes no room, hot-key prefixes hidden or shown take none either.
    EXPECT_FLOAT_EQ(Measure(graphics, u"ab ", layout).Width, Measure(graphics, u"ab", layout).Width);
    GpStringFormat* format = nullptr;
    ASSERT_EQ(GdipCreateStringFormat(0, 0, &format), Ok);
    GdipSetStringFormatHotkeyPrefix(format, HotkeyPrefixHide);
    EXPECT_FLOAT_EQ(Measure(graphics, u"&File", layout, format).Width,
                    Measure(graphics, u"File", layout).Width);
    GdipSetStringFormatFlags(format, StringFormatFlagsMeasureTrailingSpaces);
    EXPECT_GT(Measure(graphics, u"ab ", layout, format).Width, Measure(graphics, u"ab", layout).Width);
    GdipDeleteStringFormat(format);
    GdipDeleteBrush(brush);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTextTest, WrappingAlignmentAndTrimming) {
    Canvas canvas(4, 4);
    GpGraphics* graphics = Graphics(canvas);
    REAL lineHeight = 0;
    ASSERT_EQ(GdipGetFontHeight(FFont, graphics, &lineHeight), Ok);
    EXPECT_GT(lineHeight, 16);

    INT fitted = 0, lines = 0;
    const WCHAR* text = u"one two three four five six";
    GpRectF narrow{0, 0, 60, 0};
    GpRectF box = Measure(graphics, text, narrow, nullptr, &fitted, &lines);
    EXPECT_GT(lines, 2);
    EXPECT_EQ(fitted, 27);
    EXPECT_NEAR(box.Height, lineHeight * lines, 0.01);
    EXPECT_LE(box.Width, 60);
    // Two lines' height keeps two lines and counts the characters they hold.
    GpStringFormat* format = nullptr;
    GdipCreateStringFormat(StringFormatFlagsLineLimit, 0, &format);
    GpRectF twoLines{0, 0, 60, lineHeight * 2 + 1};
    Measure(graphics, text, twoLines, format, &fitted, &lines);
    EXPECT_EQ(lines, 2);
    EXPECT_GT(fitted, 4);
    EXPECT_LT(fitted, 27);
    // Line feeds break lines.
    Measure(graphics, u"a\nb\r\nc", GpRectF{0, 0, 0, 0}, nullptr, &fitted, &lines);
    EXPECT_EQ(lines, 3);

    // Centred and far alignment place the box in the layout rectangle.
    GpRectF wide{0, 0, 200, 100};
    GdipSetStringFormatAlign(format, StringAlignmentCenter);
    GdipSetStringFormatLineAlign(format, StringAlignmentFar);
    box = Measure(graphics, u"ab", wide, format);
    EXPECT_NEAR(box.X + box.Width / 2, 100, 1);
    EXPECT_NEAR(box.Y + box.Height, 100, 0.01);

    // An ellipsis keeps a line that does not wrap inside its width.
    GdipSetStringFormatAlign(format, StringAlignmentNear);
    GdipSetStringFormatFlags(format, StringFormatFlagsNoWrap);
    GdipSetStringFormatTrimming(format, StringTrimmingEllipsisCharacter);
    GpRectF cut{0, 0, 50, 0};
    box = Measure(graphics, text, cut, format, &fitted, &lines);
    EXPECT_EQ(lines, 1);
    EXPECT_LE(box.Width, 50);
    StringTrimming trimming = StringTrimmingNone;
    GdipGetStringFormatTrimming(format, &trimming);
    EXPECT_EQ(trimming, StringTrimmingEllipsisCharacter);
    GdipDeleteStringFormat(format);
    GdipDeleteGraphics(graphics);
}

TEST_F(GdiplusTextTest, StringOutlinesFillLikeText) {
    GpPath* path = nullptr;
    ASSERT_EQ(GdipCreatePath(FillModeAlternate, &path), Ok);
    GpRectF layout{0, 0, 0, 0};
    ASSERT_EQ(GdipAddPathString(path, u"H", 1, FFamily, FontStyleRegular, 20, &layout, nullptr), Ok);
    GpRectF bounds{};
    GdipGetPathWorldBounds(path, &bounds, nullptr, nullptr);
    EXPECT_GT(bounds.Height, 10);
    EXPECT_LT(bounds.Height, 20);
    EXPECT_GT(bounds.X, 0); // after the padding
    GdipDeletePath(path);
}

// ---- Images ----

class GdiplusImageTest : public GdiplusTest {
protected:
    // A 6 x 4 picture: left half red, right half blue.
    static codecs::Image Picture() {
        codecs::Image image = codecs::MakeImage(6, 4, 0xFF0000);
        for (int y = 0; y < 4; ++y)
            for (int x = 3; x < 6; ++x)
                image.SetPixel(x, y, 0xFF0000FF);
        return image;
    }
    static std::string Write(const std::string& name, const codecs::Bytes& bytes) {
        std::string path = testing_support::MakeTestFolder("gdiplus") + "/" + name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    static IStream* StreamOf(const codecs::Bytes& bytes) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        IStream* stream = nullptr;
        EXPECT_EQ(CreateStreamOnHGlobal(memory, TRUE, &stream), S_OK);
        return stream;
    }
};

TEST_F(GdiplusImageTest, EveryFormatLoadsFromFileAndStream) {
    codecs::Image picture = Picture();
    std::vector<codecs::GifWriteFrame> frames(1);
    frames[0].image = picture;
    struct Case {
        const char* name;
        codecs::Bytes bytes;
        GUID format;
    } cases[] = {
        {"a.bmp", codecs::EncodeBmp(picture).Value(), ImageFormatBMP},
        {"a.png", codecs::EncodePng(picture).Value(), ImageFormatPNG},
        {"a.jpg", codecs::EncodeJpeg(picture, {100, false, false}).Value(), ImageFormatJPEG},
        {"a.gif", codecs::EncodeGif(frames).Value(), ImageFormatGIF},
        {"a.ico", codecs::EncodeIco(std::span(&picture, 1)).Value(), ImageFormatIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        String path = Utf8ToString(Write(c.name, c.bytes));
        IStream* stream = StreamOf(c.bytes);
        GpImage* fromFile = nullptr;
        GpImage* fromStream = nullptr;
        ASSERT_EQ(GdipLoadImageFromFile(path.c_str(), &fromFile), Ok);
        ASSERT_EQ(GdipLoadImageFromStream(stream, &fromStream), Ok);
        stream->Release();
        for (GpImage* image : {fromFile, fromStream}) {
            UINT width = 0, height = 0;
            GdipGetImageWidth(image, &width);
            GdipGetImageHeight(image, &height);
            EXPECT_EQ(width, 6u);
            EXPECT_EQ(height, 4u);
            GUID format{};
            GdipGetImageRawFormat(image, &format);
            EXPECT_TRUE(format == c.format);
            ARGB left = 0, right = 0;
            ASSERT_EQ(GdipBitmapGetPixel(static_cast<GpBitmap*>(image), 0, 1, &left), Ok);
            GdipBitmapGetPixel(static_cast<GpBitmap*>(image), 5, 1, &right);
            EXPECT_GT((left >> 16) & 0xFF, 200u);
            EXPECT_GT(right & 0xFF, 200u);
            GdipDisposeImage(image);
        }
    }
}

TEST_F(GdiplusImageTest, BadFilesAnswerStatuses) {
    GpImage* image = nullptr;
    String missing = Utf8ToString(testing_support::MakeTestFolder("gdiplus-missing") + "/none.png");
    EXPECT_EQ(GdipLoadImageFromFile(missing.c_str(), &image), FileNotFound);
    codecs::Bytes text = {'h', 'e', 'l', 'l', 'o'};
    String textFile = Utf8ToString(Write("text.png", text));
    EXPECT_EQ(GdipLoadImageFromFile(textFile.c_str(), &image), UnknownImageFormat);
    // Every format cut short is refused, never read past its end.
    codecs::Image picture = Picture();
    std::vector<codecs::GifWriteFrame> frames(1);
    frames[0].image = picture;
    for (codecs::Bytes bytes : {codecs::EncodeBmp(picture).Value(), codecs::EncodePng(picture).Value(),
                                codecs::EncodeJpeg(picture).Value(), codecs::EncodeGif(frames).Value(),
                                codecs::EncodeIco(std::span(&picture, 1)).Value()}) {
        bytes.resize(bytes.size() / 2);
        IStream* stream = StreamOf(bytes);
        EXPECT_EQ(GdipLoadImageFromStream(stream, &image), UnknownImageFormat);
        stream->Release();
    }
    EXPECT_EQ(GdipLoadImageFromStream(nullptr, &image), InvalidParameter);
}

TEST_F(GdiplusImageTest, BitmapsDrawAndAreDrawnOn) {
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(8, 8, 0, PixelFormat32bppARGB, nullptr, &bitmap), Ok);
    ARGB pixel = 1;
    GdipBitmapGetPixel(bitmap, 0, 0, &pixel);
    EXPECT_EQ(pixel, 0u); // transparent to start with
    EXPECT_EQ(GdipBitmapGetPixel(bitmap, 8, 0, &pixel), InvalidParameter);
    GpGraphics* graphics = nullptr;
    ASSERT_EQ(GdipGetImageGraphicsContext(bitmap, &graphics), Ok);
    GpSolidFill* brush = Solid(Red);
    ASSERT_EQ(GdipFillRectangleI(graphics, brush, 0, 0, 4, 8), Ok);
    GdipBitmapGetPixel(bitmap, 1, 1, &pixel);
    EXPECT_EQ(pixel, Red);
    GdipBitmapGetPixel(bitmap, 6, 1, &pixel);
    EXPECT_EQ(pixel, 0u);
    ASSERT_EQ(GdipBitmapSetPixel(bitmap, 7, 7, Blue), Ok);

    // A locked bitmap is busy; what is written to the lock goes back at unlock.
    BitmapData data{};
    ASSERT_EQ(GdipBitmapLockBits(bitmap, nullptr, ImageLockModeRead | ImageLockModeWrite,
                                 PixelFormat32bppARGB, &data),
              Ok);
    EXPECT_EQ(static_cast<const ARGB*>(data.Scan0)[7 * data.Stride / 4 + 7], Blue);
    EXPECT_EQ(GdipBitmapLockBits(bitmap, nullptr, ImageLockModeRead, PixelFormat32bppARGB, &data),
              ObjectBusy);
    EXPECT_EQ(GdipFillRectangleI(graphics, brush, 0, 0, 1, 1), ObjectBusy);
    static_cast<ARGB*>(data.Scan0)[0] = White;
    ASSERT_EQ(GdipBitmapUnlockBits(bitmap, &data), Ok);
    GdipBitmapGetPixel(bitmap, 0, 0, &pixel);
    EXPECT_EQ(pixel, White);
    GdipDeleteGraphics(graphics);

    // Drawn onto a DC at twice the size, then again with the red keyed out.
    Canvas canvas(20, 20);
    GpGraphics* onDC = Graphics(canvas, SmoothingModeNone);
    GdipSetInterpolationMode(onDC, InterpolationModeNearestNeighbor);
    GdipSetPixelOffsetMode(onDC, PixelOffsetModeHalf);
    ASSERT_EQ(GdipDrawImageRectI(onDC, bitmap, 0, 0, 16, 16), Ok);
    EXPECT_EQ(canvas.At(3, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(12, 5), RGB(255, 255, 255)); // transparent pixels leave the background
    EXPECT_EQ(canvas.At(15, 15), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(17, 5), RGB(255, 255, 255));
    GpImageAttributes* attributes = nullptr;
    ASSERT_EQ(GdipCreateImageAttributes(&attributes), Ok);
    ASSERT_EQ(GdipSetImageAttributesColorKeys(attributes, ColorAdjustTypeDefault, TRUE, 0xFFF00000, Red), Ok);
    Canvas keyed(20, 20);
    GpGraphics* onKeyed = Graphics(keyed, SmoothingModeNone);
    GdipSetInterpolationMode(onKeyed, InterpolationModeNearestNeighbor);
    ASSERT_EQ(GdipDrawImageRectRect(onKeyed, bitmap, 0, 0, 8, 8, 0, 0, 8, 8, UnitPixel, attributes, nullptr,
                                    nullptr),
              Ok);
    EXPECT_EQ(keyed.At(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(keyed.At(7, 7), RGB(0, 0, 255));
    // The callback may stop the drawing.
    EXPECT_EQ(GdipDrawImageRectRect(
                  onKeyed, bitmap, 0, 0, 8, 8, 0, 0, 8, 8, UnitPixel, nullptr,
                  [](void*) -> BOOL { return TRUE; }, nullptr),
              Aborted);
    GdipDisposeImageAttributes(attributes);
    GdipDeleteGraphics(onKeyed);
    GdipDeleteGraphics(onDC);
    GdipDeleteBrush(brush);

    // Indexed bitmaps take no graphics, as GDI+ answers.
    GpBitmap* indexed = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat8bppIndexed, nullptr, &indexed), Ok);
    EXPECT_EQ(GdipGetImageGraphicsContext(indexed, &graphics), OutOfMemory);
    GdipDisposeImage(indexed);

    // A GDI bitmap of it composed over white, and back again.
    HBITMAP hbitmap = nullptr;
    ASSERT_EQ(GdipCreateHBITMAPFromBitmap(bitmap, &hbitmap, White), Ok);
    GpBitmap* back = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromHBITMAP(hbitmap, nullptr, &back), Ok);
    GdipBitmapGetPixel(back, 6, 1, &pixel);
    EXPECT_EQ(pixel, White);
    GdipBitmapGetPixel(back, 1, 1, &pixel);
    EXPECT_EQ(pixel, Red);
    GdipDisposeImage(back);
    DeleteObject(hbitmap);
    GdipDisposeImage(bitmap);
}

TEST_F(GdiplusImageTest, AnimatedGifFramesAndSaving) {
    std::vector<codecs::GifWriteFrame> frames(3);
    for (int i = 0; i < 3; ++i) {
        frames[static_cast<size_t>(i)].image = codecs::MakeImage(4, 4, i == 1 ? 0x00FF00 : 0xFF0000);
        frames[static_cast<size_t>(i)].delay = 10;
    }
    IStream* stream = StreamOf(codecs::EncodeGif(frames).Value());
    GpImage* image = nullptr;
    ASSERT_EQ(GdipLoadImageFromStream(stream, &image), Ok);
    stream->Release();
    const GUID time = FrameDimensionTime;
    UINT count = 0;
    ASSERT_EQ(GdipImageGetFrameCount(image, &time, &count), Ok);
    EXPECT_EQ(count, 3u);
    ASSERT_EQ(GdipImageSelectActiveFrame(image, &time, 1), Ok);
    ARGB pixel = 0;
    GdipBitmapGetPixel(static_cast<GpBitmap*>(image), 0, 0, &pixel);
    EXPECT_EQ(pixel, 0xFF00FF00u);
    EXPECT_EQ(GdipImageSelectActiveFrame(image, &time, 3), InvalidParameter);

    // Saved as PNG into a stream and read back.
    IStream* out = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &out), S_OK);
    ASSERT_EQ(GdipSaveImageToStream(image, out, &EncoderClsidPNG, nullptr), Ok);
    const CLSID unknown{};
    EXPECT_EQ(GdipSaveImageToStream(image, out, &unknown, nullptr), UnknownImageFormat);
    // Read back without rewinding: the whole stream is the picture.
    GpImage* copy = nullptr;
    ASSERT_EQ(GdipLoadImageFromStream(out, &copy), Ok);
    GUID format{};
    GdipGetImageRawFormat(copy, &format);
    EXPECT_TRUE(format == ImageFormatPNG);
    GdipBitmapGetPixel(static_cast<GpBitmap*>(copy), 2, 2, &pixel);
    EXPECT_EQ(pixel, 0xFF00FF00u);
    out->Release();

    ASSERT_EQ(GdipImageRotateFlip(copy, Rotate90FlipNone), Ok);
    GpImage* thumbnail = nullptr;
    ASSERT_EQ(GdipGetImageThumbnail(copy, 2, 2, &thumbnail, nullptr, nullptr), Ok);
    UINT width = 0;
    GdipGetImageWidth(thumbnail, &width);
    EXPECT_EQ(width, 2u);
    GdipDisposeImage(thumbnail);
    GdipDisposeImage(copy);
    GdipDisposeImage(image);
}

} // namespace
