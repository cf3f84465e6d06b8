// Blits with raster operations, monochrome conversions, stretching, transparency, alpha and
// gradients; DIB sections with direct pixel access and the DIB transfers; and regions.
#include <cstring>

#include "platform/backend/region.h"
#include "platform/win32/windraw.h"
#include "tests/platform/win32/gdi_test.h"

using gdi_test::Canvas;
using gdi_test::Rows;

namespace {

const COLORREF Red = RGB(255, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);

// Every ternary operation the system uses, on pattern bits 11110000, source 11001100 and destination
// 10101010 in each channel: the result is the operation's own code.
TEST(GdiBlit, RasterOperationsCombinePatternSourceAndDestination) {
    const DWORD rops[] = {SRCCOPY,     SRCPAINT,  SRCAND,     SRCINVERT, SRCERASE, NOTSRCCOPY,
                          NOTSRCERASE, MERGECOPY, MERGEPAINT, PATCOPY,   PATPAINT, PATINVERT,
                          DSTINVERT,   BLACKNESS, WHITENESS,  0x00B8074A};
    Canvas dest(1, 1), src(1, 1);
    SetPixel(src.dc(), 0, 0, RGB(0xCC, 0xCC, 0xCC));
    HBRUSH pattern = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
    SelectObject(dest.dc(), pattern);
    for (DWORD rop : rops) {
        SetPixel(dest.dc(), 0, 0, RGB(0xAA, 0xAA, 0xAA));
        EXPECT_TRUE(BitBlt(dest.dc(), 0, 0, 1, 1, src.dc(), 0, 0, rop));
        BYTE v = static_cast<BYTE>((rop >> 16) & 0xFF);
        EXPECT_EQ(dest.At(0, 0), RGB(v, v, v)) << std::hex << rop;
    }
    SelectObject(dest.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(pattern);
    // PatBlt takes no source operation.
    EXPECT_FALSE(PatBlt(dest.dc(), 0, 0, 1, 1, SRCCOPY));
}

TEST(GdiBlit, MonochromeSourcesTakeTheTextAndBackgroundColours) {
    Canvas mono(4, 1, 1);
    SetPixel(mono.dc(), 1, 0, RGB(0, 0, 0));
    SetPixel(mono.dc(), 3, 0, RGB(0, 0, 0));
    Canvas colour(4, 1);
    SetTextColor(colour.dc(), Red);
    SetBkColor(colour.dc(), Blue);
    BitBlt(colour.dc(), 0, 0, 4, 1, mono.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(colour.Picture({{Red, 'r'}, {Blue, 'b'}}), "brbr\n");

    // Colour to monochrome: the source's background colour becomes white, everything else black.
    SetBkColor(colour.dc(), Red);
    BitBlt(mono.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(mono.Picture(), "#.#.\n");
}

TEST(GdiBlit, StretchBltScalesAndMirrors) {
    Canvas src(2, 2);
    SetPixel(src.dc(), 0, 0, RGB(0, 0, 0));
    SetPixel(src.dc(), 1, 1, Red);
    Canvas dest(4, 4);
    StretchBlt(dest.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(dest.Picture({{Red, 'r'}}), Rows({"##..", "##..", "..rr", "..rr"}));
    // A negative width mirrors left to right.
    StretchBlt(dest.dc(), 3, 0, -4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(dest.Picture({{Red, 'r'}}), Rows({"..##", "..##", "rr..", "rr.."}));
}

TEST(GdiBlit, BitBltPastTheSourcesEdgeKeepsTheDestinationThere) {
    Canvas src(2, 2);
    SetPixel(src.dc(), 0, 0, RGB(0, 0, 0));
    SetPixel(src.dc(), 1, 1, Red);
    Canvas dest(4, 3);
    RECT all{0, 0, 4, 3};
    HBRUSH blue = CreateSolidBrush(Blue);
    FillRect(dest.dc(), &all, blue);
    DeleteObject(blue);
    BitBlt(dest.dc(), 1, 0, 3, 3, src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(dest.Picture({{Red, 'r'}, {Blue, 'b'}}), Rows({"b#.b", "b.rb", "bbbb"}));
}

TEST(GdiBlit, BitBltWithinOneBitmapReadsThePixelsFromBeforeTheCopy) {
    Canvas c(5, 1);
    SetPixel(c.dc(), 0, 0, RGB(0, 0, 0));
    SetPixel(c.dc(), 1, 0, Red);
    BitBlt(c.dc(), 1, 0, 4, 1, c.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(c.Picture({{Red, 'r'}}), "##r..\n");
}

TEST(GdiBlit, TransparentBltSkipsTheKeyColourAndAlphaBlendMixes) {
    Canvas src(3, 1);
    SetPixel(src.dc(), 0, 0, Red);
    SetPixel(src.dc(), 2, 0, RGB(0, 0, 0));
    Canvas dest(3, 1);
    PatBlt(dest.dc(), 0, 0, 3, 1, BLACKNESS);
    SetPixel(dest.dc(), 2, 0, Blue);
    EXPECT_TRUE(TransparentBlt(dest.dc(), 0, 0, 3, 1, src.dc(), 0, 0, 3, 1, RGB(255, 255, 255)));
    EXPECT_EQ(dest.Picture({{Red, 'r'}, {Blue, 'b'}}), "r##\n");

    // Moved to another place, partly outside the source and partly outside the clip: only source pixels
    // inside both land, the key colour still skipped.
    Canvas wide(5, 1);
    PatBlt(wide.dc(), 0, 0, 5, 1, WHITENESS);
    HRGN clip = CreateRectRgn(0, 0, 3, 1);
    SelectClipRgn(wide.dc(), clip);
    DeleteObject(clip);
    EXPECT_TRUE(TransparentBlt(wide.dc(), 1, 0, 4, 1, src.dc(), 0, 0, 4, 1, Blue));
    SelectClipRgn(wide.dc(), nullptr);
    EXPECT_EQ(wide.Picture({{Red, 'r'}}), ".r...\n");
    // Stretched, each source pixel covers two.
    PatBlt(wide.dc(), 0, 0, 5, 1, BLACKNESS);
    EXPECT_TRUE(TransparentBlt(wide.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 2, 1, RGB(255, 255, 255)));
    EXPECT_EQ(wide.Picture({{Red, 'r'}}), "rr###\n");

    PatBlt(dest.dc(), 0, 0, 3, 1, BLACKNESS);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    EXPECT_TRUE(AlphaBlend(dest.dc(), 0, 0, 3, 1, src.dc(), 0, 0, 3, 1, half));
    EXPECT_EQ(dest.At(0, 0), RGB(128, 0, 0));
    EXPECT_EQ(dest.At(1, 0), RGB(128, 128, 128));
    // The source rectangle must lie inside the source.
    EXPECT_FALSE(AlphaBlend(dest.dc(), 0, 0, 3, 1, src.dc(), 1, 0, 3, 1, half));
}

TEST(GdiBlit, GradientFillRunsFromColourToColour) {
    Canvas c(5, 2);
    TRIVERTEX vertices[] = {{0, 0, 0, 0, 0, 0}, {5, 2, 0xFF00, 0, 0, 0}};
    GRADIENT_RECT rect{0, 1};
    EXPECT_TRUE(GradientFill(c.dc(), vertices, 2, &rect, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.At(4, 1), RGB(255, 0, 0));
    EXPECT_LT(GetRValue(c.At(1, 0)), GetRValue(c.At(3, 0)));
    EXPECT_EQ(c.At(2, 0), c.At(2, 1));
}

BITMAPINFO Info(int width, int height, int bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bits);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

TEST(GdiDib, ThirtyTwoBitSectionsShareTheirMemoryBottomUp) {
    BITMAPINFO info = Info(3, 2, 32);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    auto pixels = static_cast<std::uint32_t*>(bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    // The first row in memory is the bottom row of the picture.
    pixels[0] = 0x00FF0000;
    EXPECT_EQ(GetPixel(dc, 0, 1), Red);
    SetPixel(dc, 2, 0, Blue);
    EXPECT_EQ(pixels[3 + 2], 0x000000FFu);
    DIBSECTION ds{};
    EXPECT_EQ(GetObject(section, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, 2);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST(GdiDib, SectionsOfOtherDepthsStayInStepWithDrawing) {
    BITMAPINFO info = Info(4, 2, 24);
    info.bmiHeader.biHeight = -2; // top-down
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    auto bytes = static_cast<std::uint8_t*>(bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    RECT r{1, 0, 3, 1};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[0], 0x00);
    // Rows are padded to four bytes: the second row starts at byte 12.
    bytes[12] = 0xFF; // blue of pixel (0, 1)
    EXPECT_EQ(GetPixel(dc, 0, 1), Blue);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST(GdiDib, DrawingOnAPalettedSectionWritesThePaletteIndexes) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header = Info(4, 1, 8).bmiHeader;
    info.header.biClrUsed = 3;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    info.colors[2] = RGBQUAD{0, 255, 0, 0};
    void* bits = nullptr;
    HBITMAP section =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    auto bytes = static_cast<std::uint8_t*>(bits);
    std::memset(bytes, 1, 4); // white everywhere
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    HBRUSH lime = CreateSolidBrush(RGB(0, 255, 0));
    RECT r{1, 0, 3, 1};
    FillRect(dc, &r, lime);
    // Index 2 replaces index 1; merging the two would give index 3.
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(bytes[2], 2);
    EXPECT_EQ(bytes[3], 1);
    SelectObject(dc, old);
    DeleteObject(lime);
    DeleteDC(dc);
    DeleteObject(section);
}

TEST(GdiDib, GetDIBitsAndSetDIBitsRoundTripEachDepth) {
    Canvas c(5, 3);
    SetPixel(c.dc(), 0, 0, Red);
    SetPixel(c.dc(), 4, 2, Blue);
    SetPixel(c.dc(), 2, 1, RGB(0, 0, 0));
    for (int bits : {24, 32, 16}) {
        BITMAPINFO info = Info(5, 3, bits);
        std::vector<std::uint8_t> data(static_cast<size_t>(((5 * bits + 31) / 32) * 4 * 3));
        SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
        HDC screen = CreateCompatibleDC(nullptr);
        EXPECT_EQ(GetDIBits(screen, c.bitmap(), 0, 3, data.data(), &info, DIB_RGB_COLORS), 3) << bits;
        HBITMAP copy = CreateBitmap(5, 3, 1, 32, nullptr);
        EXPECT_EQ(SetDIBits(screen, copy, 0, 3, data.data(), &info, DIB_RGB_COLORS), 3);
        HGDIOBJ old = SelectObject(screen, copy);
        EXPECT_EQ(GetPixel(screen, 0, 0), Red) << bits;
        EXPECT_EQ(GetPixel(screen, 4, 2), Blue) << bits;
        EXPECT_EQ(GetPixel(screen, 2, 1), RGB(0, 0, 0)) << bits;
        EXPECT_EQ(GetPixel(screen, 1, 1), RGB(255, 255, 255)) << bits;
        SelectObject(screen, old);
        DeleteObject(copy);
        DeleteDC(screen);
    }
    // With no bits and no depth, GetDIBits describes the bitmap.
    BITMAPINFO query{};
    query.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    HDC screen = CreateCompatibleDC(nullptr);
    EXPECT_NE(GetDIBits(screen, c.bitmap(), 0, 3, nullptr, &query, DIB_RGB_COLORS), 0);
    EXPECT_EQ(query.bmiHeader.biWidth, 5);
    EXPECT_EQ(query.bmiHeader.biBitCount, 32);
    EXPECT_EQ(query.bmiHeader.biSizeImage, 60u);
    DeleteDC(screen);
}

TEST(GdiDib, StretchDIBitsDrawsAPalettedImageTheRightWayUp) {
    // A 2 x 2 image with 1 bit per pixel: the bottom row first.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } info{};
    info.header = Info(2, 2, 1).bmiHeader;
    info.colors[0] = RGBQUAD{0, 0, 255, 0}; // red
    info.colors[1] = RGBQUAD{255, 0, 0, 0}; // blue
    const std::uint8_t bits[8] = {0x40, 0, 0, 0, 0x80, 0, 0, 0};
    Canvas c(4, 4);
    EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS, SRCCOPY),
              2);
    EXPECT_EQ(c.Picture({{Red, 'r'}, {Blue, 'b'}}), Rows({"bbrr", "bbrr", "rrbb", "rrbb"}));
    EXPECT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 2, 0, 0, 0, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                                DIB_RGB_COLORS),
              2);
    EXPECT_EQ(c.Picture({{Red, 'r'}, {Blue, 'b'}}), Rows({"brrr", "rbrr", "rrbb", "rrbb"}));
    // Compressed or malformed headers are refused.
    info.header.biCompression = BI_RLE8;
    EXPECT_EQ(StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS, SRCCOPY),
              0);
}

TEST(GdiBlit, PatternBrushesRepeatFromTheBrushOrigin) {
    HBITMAP bits = CreateBitmap(2, 1, 1, 32, nullptr);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bits);
    SetPixel(source, 0, 0, Red);
    SetPixel(source, 1, 0, Blue);
    SelectObject(source, old);
    DeleteDC(source);
    HBRUSH brush = CreatePatternBrush(bits);
    DeleteObject(bits); // the brush keeps its own copy
    Canvas c(5, 1);
    RECT r{0, 0, 5, 1};
    FillRect(c.dc(), &r, brush);
    EXPECT_EQ(c.Picture({{Red, 'r'}, {Blue, 'b'}}), "rbrbr\n");
    SetBrushOrgEx(c.dc(), 1, 0, nullptr);
    FillRect(c.dc(), &r, brush);
    EXPECT_EQ(c.Picture({{Red, 'r'}, {Blue, 'b'}}), "brbrb\n");
    DeleteObject(brush);
}

// ---- Regions ----

// A region keeps its one rectangle in place and moves to a list at the second; copies, moves, offsets
// and comparisons see the same rectangles either way.
TEST(GdiRegion, RegionsOfOneAndOfManyRectanglesCopyMoveAndCompare) {
    using backend::Rect;
    using backend::Region;
    const Region one(Rect{0, 0, 4, 2});
    ASSERT_EQ(one.Rects().size(), 1u);
    const Region two = one.United(Region(Rect{10, 0, 12, 2}));
    ASSERT_EQ(two.Rects().size(), 2u);
    EXPECT_EQ(two.Rects()[0], (Rect{0, 0, 4, 2}));
    EXPECT_EQ(two.Rects()[1], (Rect{10, 0, 12, 2}));

    Region moved = two;
    Region target = std::move(moved);
    EXPECT_TRUE(moved.Empty());
    EXPECT_EQ(target, two);
    target = one;
    EXPECT_EQ(target.Rects().size(), 1u);
    target.Offset(1, 1);
    EXPECT_EQ(target.Rects()[0], (Rect{1, 1, 5, 3}));
    EXPECT_EQ(target.Bounds(), (Rect{1, 1, 5, 3}));

    // The same pixels cut in rows or as one rectangle are one region.
    const Region rows = Region::FromRows({Rect{0, 1, 4, 2}, Rect{0, 0, 2, 1}, Rect{2, 0, 4, 1}});
    EXPECT_EQ(rows.Rects().size(), 2u);
    EXPECT_EQ(rows, one);
    EXPECT_EQ(rows.Intersected(Rect{1, 0, 3, 2}), Region(Rect{1, 0, 3, 2}));
    EXPECT_FALSE(rows == two);
}

TEST(GdiRegion, CombineModesGiveTheExpectedPixels) {
    HRGN a = CreateRectRgn(0, 0, 4, 2);
    HRGN b = CreateRectRgn(2, 0, 6, 2);
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int mode;
        int kind;
        bool at1, at3, at5;
    } cases[] = {{RGN_AND, SIMPLEREGION, false, true, false},
                 {RGN_OR, SIMPLEREGION, true, true, true},
                 {RGN_XOR, COMPLEXREGION, true, false, true},
                 {RGN_DIFF, SIMPLEREGION, true, false, false},
                 {RGN_COPY, SIMPLEREGION, true, true, false}};
    for (const Case& k : cases) {
        EXPECT_EQ(CombineRgn(r, a, b, k.mode), k.kind) << k.mode;
        EXPECT_EQ(PtInRegion(r, 1, 1) != 0, k.at1) << k.mode;
        EXPECT_EQ(PtInRegion(r, 3, 1) != 0, k.at3) << k.mode;
        EXPECT_EQ(PtInRegion(r, 5, 1) != 0, k.at5) << k.mode;
    }
    EXPECT_EQ(CombineRgn(r, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(r, a, nullptr, RGN_AND), ERROR);
    // Equal pixels make equal regions however they were built.
    HRGN whole = CreateRectRgn(0, 0, 6, 2);
    CombineRgn(r, a, b, RGN_OR);
    EXPECT_TRUE(EqualRgn(r, whole));
    EXPECT_EQ(OffsetRgn(r, 10, 5), SIMPLEREGION);
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.bottom, 7);
    for (HRGN h : {a, b, r, whole})
        DeleteObject(h);
}

TEST(GdiRegion, PolygonRegionsTakePixelsWhoseCentresAreInside) {
    POINT triangle[] = {{0, 0}, {4, 0}, {0, 4}};
    HRGN region = CreatePolygonRgn(triangle, 3, ALTERNATE);
    Canvas c(4, 4);
    FillRgn(c.dc(), region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.Picture(), Rows({"####", "###.", "##..", "#..."}));
    HRGN frame = CreateRectRgn(0, 0, 4, 4);
    PatBlt(c.dc(), 0, 0, 4, 4, WHITENESS);
    FrameRgn(c.dc(), frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    EXPECT_EQ(c.Picture(), Rows({"####", "#..#", "#..#", "####"}));
    InvertRgn(c.dc(), frame);
    EXPECT_EQ(c.Picture(), Rows({"....", ".##.", ".##.", "...."}));
    DeleteObject(region);
    DeleteObject(frame);
}

} // namespace
