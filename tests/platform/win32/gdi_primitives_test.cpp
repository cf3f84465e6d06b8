// GDI's pixel rules on tiny bitmaps: line ends, rectangle edges, styled and wide pens, raster
// operations, clipping, map modes, the DC state stack and object lifetimes.
#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "platform/backend/recorder.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winerror.h"
#include "tests/platform/win32/gdi_test.h"

using gdi_test::Canvas;
using gdi_test::Rows;

namespace {

const COLORREF Red = RGB(255, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);

// Handles stay found while others around them come and go in any order, deleted ones stay invalid, and
// none is given out twice.
TEST(GdiHandles, LiveHandlesStayFoundWhileOthersComeAndGo) {
    std::mt19937 random(7);
    std::vector<std::pair<HBRUSH, COLORREF>> live;
    std::vector<HBRUSH> deleted;
    std::set<HBRUSH> given;
    for (int step = 0; step < 20000; ++step) {
        if (live.size() < 50 || random() % 5 < 3) {
            COLORREF color = RGB(step % 256, (step / 256) % 256, 7);
            HBRUSH brush = CreateSolidBrush(color);
            ASSERT_TRUE(given.insert(brush).second) << step;
            live.emplace_back(brush, color);
        } else {
            size_t i = random() % live.size();
            ASSERT_TRUE(DeleteObject(live[i].first)) << step;
            deleted.push_back(live[i].first);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (const auto& [brush, color] : live) {
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectW(brush, sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbColor, color);
    }
    for (HBRUSH brush : deleted)
        EXPECT_EQ(GetObjectType(brush), 0u);
    for (const auto& entry : live)
        EXPECT_TRUE(DeleteObject(entry.first));
}

TEST(GdiPrimitives, LineToLeavesOutItsLastPixel) {
    Canvas c(6, 4);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 5, 1);
    MoveToEx(c.dc(), 5, 0, nullptr);
    LineTo(c.dc(), 5, 3);
    EXPECT_EQ(c.Picture(), Rows({".....#", "######", ".....#", "......"}));
    POINT position;
    GetCurrentPositionEx(c.dc(), &position);
    EXPECT_EQ(position.x, 5);
    EXPECT_EQ(position.y, 3);
}

TEST(GdiPrimitives, StraightLinesBackwardsAndClippedLeaveOutTheirLastPixel) {
    Canvas c(6, 4);
    MoveToEx(c.dc(), 5, 1, nullptr);
    LineTo(c.dc(), 0, 1);
    MoveToEx(c.dc(), 0, 3, nullptr);
    LineTo(c.dc(), 0, 0);
    ExcludeClipRect(c.dc(), 2, 0, 4, 4);
    MoveToEx(c.dc(), 0, 3, nullptr);
    LineTo(c.dc(), 6, 3);
    SelectClipRgn(c.dc(), nullptr);
    EXPECT_EQ(c.Picture(), Rows({"......", "######", "#.....", "##..##"}));
}

TEST(GdiPrimitives, DiagonalLineAndPolylineJoinsDrawEachPixelOnce) {
    Canvas c(5, 5);
    POINT points[] = {{0, 0}, {4, 4}, {4, 0}};
    Polyline(c.dc(), points, 3);
    EXPECT_EQ(c.Picture(), Rows({"#....", ".#..#", "..#.#", "...##", "....#"}));
}

TEST(GdiPrimitives, RectangleAndFillRectLeaveOutRightAndBottom) {
    Canvas c(7, 5);
    HBRUSH red = CreateSolidBrush(Red);
    HGDIOBJ old = SelectObject(c.dc(), red);
    Rectangle(c.dc(), 1, 1, 5, 4);
    EXPECT_EQ(c.Picture({{Red, 'r'}}), Rows({".......", ".####..", ".#rr#..", ".####..", "......."}));

    // Without a pen the fill is one pixel smaller to the right and at the bottom.
    PatBlt(c.dc(), 0, 0, 7, 5, WHITENESS);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    Rectangle(c.dc(), 1, 1, 5, 4);
    EXPECT_EQ(c.Picture({{Red, 'r'}}), Rows({".......", ".rrr...", ".rrr...", ".......", "......."}));

    PatBlt(c.dc(), 0, 0, 7, 5, WHITENESS);
    RECT rect{1, 1, 5, 4};
    FillRect(c.dc(), &rect, red);
    FrameRect(c.dc(), &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.Picture({{Red, 'r'}}), Rows({".......", ".####..", ".#rr#..", ".####..", "......."}));
    SelectObject(c.dc(), old);
    DeleteObject(red);
}

TEST(GdiPrimitives, PolygonOutlineIncludesItsCornersAndFillsInside) {
    Canvas c(6, 6);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    POINT square[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
    Polygon(c.dc(), square, 4);
    EXPECT_EQ(c.Picture(), Rows({"......", ".###..", ".###..", ".###..", "......", "......"}));
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    PatBlt(c.dc(), 0, 0, 6, 6, WHITENESS);
    Polygon(c.dc(), square, 4);
    EXPECT_EQ(c.Picture(), Rows({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
}

TEST(GdiPrimitives, EllipseStaysInsideItsBoundsAndIsSymmetric) {
    Canvas c(9, 7);
    HBRUSH red = CreateSolidBrush(Red);
    SelectObject(c.dc(), red);
    Ellipse(c.dc(), 1, 1, 8, 6);
    std::string picture = c.Picture({{Red, 'r'}});
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x) {
            char p = picture[static_cast<size_t>(y * 10 + x)];
            bool inside = x >= 1 && x < 8 && y >= 1 && y < 6;
            if (!inside) {
                EXPECT_EQ(p, '.') << x << "," << y << "\n" << picture;
            }
            EXPECT_EQ(p, picture[static_cast<size_t>(y * 10 + (8 - x))]) << "mirror " << x << "," << y;
            EXPECT_EQ(p, picture[static_cast<size_t>((6 - y) * 10 + x)]) << "flip " << x << "," << y;
        }
    // The outline touches all four sides and encloses the fill.
    EXPECT_EQ(picture.substr(10, 9).find('#') != std::string::npos, true) << picture;
    EXPECT_EQ(c.At(1, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.At(7, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.At(4, 3), Red);
    DeleteObject(red);
}

TEST(GdiPrimitives, StyledPensDrawDashesAndFillGapsOnlyWhenOpaque) {
    Canvas c(14, 2);
    HPEN dot = CreatePen(PS_DOT, 0, RGB(0, 0, 0));
    SelectObject(c.dc(), dot);
    SetBkMode(c.dc(), TRANSPARENT);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 14, 0);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), Red);
    MoveToEx(c.dc(), 0, 1, nullptr);
    LineTo(c.dc(), 14, 1);
    EXPECT_EQ(c.Picture({{Red, 'r'}}), Rows({"###...###...##", "###rrr###rrr##"}));

    // PS_ALTERNATE sets every other pixel.
    LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
    HPEN alternate = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &black, 0, nullptr);
    ASSERT_NE(alternate, nullptr);
    SelectObject(c.dc(), alternate);
    SetBkMode(c.dc(), TRANSPARENT);
    PatBlt(c.dc(), 0, 0, 14, 2, WHITENESS);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 8, 0);
    EXPECT_EQ(c.Picture(), Rows({"#.#.#.#.......", ".............."}));
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(dot);
    DeleteObject(alternate);
    // A geometric pen may not be PS_ALTERNATE; a cosmetic pen must be one pixel wide.
    EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_ALTERNATE, 3, &black, 0, nullptr), nullptr);
    EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 2, &black, 0, nullptr), nullptr);
}

TEST(GdiPrimitives, WidePensAreCentredOnTheLineAndFlatCapsStopAtTheEnds) {
    Canvas c(12, 7);
    LOGBRUSH black{BS_SOLID, RGB(0, 0, 0), 0};
    HPEN flat = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 3, &black, 0, nullptr);
    SelectObject(c.dc(), flat);
    MoveToEx(c.dc(), 2, 3, nullptr);
    LineTo(c.dc(), 9, 3);
    EXPECT_EQ(c.Picture(), Rows({"............", "............", "..#######...", "..#######...",
                                 "..#######...", "............", "............"}));
    HPEN round = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    SelectObject(c.dc(), round);
    PatBlt(c.dc(), 0, 0, 12, 7, WHITENESS);
    MoveToEx(c.dc(), 2, 3, nullptr);
    LineTo(c.dc(), 9, 3);
    // Round caps reach a pixel beyond both ends.
    EXPECT_EQ(c.At(1, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.At(9, 3), RGB(0, 0, 0));
    EXPECT_EQ(c.At(0, 3), RGB(255, 255, 255));
    EXPECT_EQ(c.At(5, 1), RGB(255, 255, 255));
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(flat);
    DeleteObject(round);
}

// Every binary raster operation, checked on pen bits 1100 and destination bits 1010 in each channel.
TEST(GdiPrimitives, EachBinaryRasterOperationCombinesPenAndDestination) {
    const BYTE P = 0xF0, D = 0xAA;
    const std::pair<int, std::function<BYTE(BYTE, BYTE)>> cases[] = {
        {R2_BLACK, [](BYTE, BYTE) { return BYTE(0); }},
        {R2_NOTMERGEPEN, [](BYTE p, BYTE d) { return BYTE(~(p | d)); }},
        {R2_MASKNOTPEN, [](BYTE p, BYTE d) { return BYTE(~p & d); }},
        {R2_NOTCOPYPEN, [](BYTE p, BYTE) { return BYTE(~p); }},
        {R2_MASKPENNOT, [](BYTE p, BYTE d) { return BYTE(p & ~d); }},
        {R2_NOT, [](BYTE, BYTE d) { return BYTE(~d); }},
        {R2_XORPEN, [](BYTE p, BYTE d) { return BYTE(p ^ d); }},
        {R2_NOTMASKPEN, [](BYTE p, BYTE d) { return BYTE(~(p & d)); }},
        {R2_MASKPEN, [](BYTE p, BYTE d) { return BYTE(p & d); }},
        {R2_NOTXORPEN, [](BYTE p, BYTE d) { return BYTE(~(p ^ d)); }},
        {R2_NOP, [](BYTE, BYTE d) { return d; }},
        {R2_MERGENOTPEN, [](BYTE p, BYTE d) { return BYTE(~p | d); }},
        {R2_COPYPEN, [](BYTE p, BYTE) { return p; }},
        {R2_MERGEPENNOT, [](BYTE p, BYTE d) { return BYTE(p | ~d); }},
        {R2_MERGEPEN, [](BYTE p, BYTE d) { return BYTE(p | d); }},
        {R2_WHITE, [](BYTE, BYTE) { return BYTE(0xFF); }},
    };
    Canvas c(3, 1);
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(P, P, P));
    SelectObject(c.dc(), pen);
    for (const auto& [rop, expected] : cases) {
        SetROP2(c.dc(), R2_COPYPEN);
        SetPixel(c.dc(), 0, 0, RGB(D, D, D));
        SetROP2(c.dc(), rop);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 1, 0);
        BYTE v = expected(P, D);
        EXPECT_EQ(c.At(0, 0), RGB(v, v, v)) << "R2 " << rop;
    }
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiPrimitives, DrawingTwiceWithXorRestoresThePicture) {
    Canvas c(16, 12);
    HBRUSH red = CreateSolidBrush(Red);
    RECT block{3, 2, 11, 9};
    FillRect(c.dc(), &block, red);
    std::string before = c.Picture({{Red, 'r'}});
    HPEN pen = CreatePen(PS_SOLID, 0, Blue);
    SelectObject(c.dc(), pen);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    SetROP2(c.dc(), R2_XORPEN);
    auto draw = [&] {
        Rectangle(c.dc(), 1, 1, 15, 11);
        Ellipse(c.dc(), 2, 2, 14, 10);
        POINT star[] = {{0, 0}, {15, 11}, {15, 0}, {0, 11}};
        Polyline(c.dc(), star, 4);
        RECT focus{4, 3, 12, 8};
        DrawFocusRect(c.dc(), &focus);
    };
    draw();
    EXPECT_NE(c.Picture({{Red, 'r'}}), before);
    draw();
    EXPECT_EQ(c.Picture({{Red, 'r'}}), before);
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(pen);
    DeleteObject(red);
}

TEST(GdiPrimitives, SelfCrossingPolylineCombinesTheCrossingTwiceUnderXor) {
    Canvas c(5, 5);
    SetROP2(c.dc(), R2_NOT);
    POINT cross[] = {{0, 2}, {5, 2}, {2, 5}, {2, 0}};
    Polyline(c.dc(), cross, 4);
    // As in GDI each segment is drawn on its own: the crossing is inverted twice.
    EXPECT_EQ(c.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(c.At(1, 2), RGB(0, 0, 0));
    EXPECT_EQ(c.At(2, 1), RGB(0, 0, 0));
}

TEST(GdiPrimitives, FocusRectangleInvertsAlternatePixelsOfItsFrame) {
    Canvas c(6, 5);
    SetTextColor(c.dc(), RGB(0, 0, 0));
    SetBkColor(c.dc(), RGB(255, 255, 255));
    RECT r{0, 0, 6, 5};
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(c.Picture(), Rows({"#.#.#.", ".....#", "#.....", ".....#", "#.#.#."}));
}

TEST(GdiPrimitives, SetPixelAnswersTheColourAndGetPixelFailsOutside) {
    Canvas c(4, 4);
    EXPECT_EQ(SetPixel(c.dc(), 1, 2, Red), Red);
    EXPECT_EQ(GetPixel(c.dc(), 1, 2), Red);
    EXPECT_EQ(GetPixel(c.dc(), 4, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc(), -1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 9, 9, Red), CLR_INVALID);
    // A monochrome bitmap keeps the nearer of black and white.
    Canvas mono(2, 1, 1);
    EXPECT_EQ(SetPixel(mono.dc(), 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(mono.dc(), 1, 0, RGB(100, 0, 0)), RGB(0, 0, 0));
}

TEST(GdiPrimitives, FloodFillStopsAtTheBorderColour) {
    Canvas c(7, 6);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(c.dc(), 1, 1, 6, 5);
    HBRUSH red = CreateSolidBrush(Red);
    SelectObject(c.dc(), red);
    EXPECT_TRUE(FloodFill(c.dc(), 3, 2, RGB(0, 0, 0)));
    EXPECT_EQ(c.Picture({{Red, 'r'}}),
              Rows({".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}));
    // Surface mode fills the area of one colour.
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(ExtFloodFill(c.dc(), 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE));
    EXPECT_EQ(c.Picture({{Red, 'r'}}),
              Rows({"#######", "#######", "##rrr##", "##rrr##", "#######", "#######"}));
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(GdiPrimitives, HatchBrushesLeaveTheBackgroundWhenTransparent) {
    Canvas c(8, 8);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(0, 0, 0));
    SetBkMode(c.dc(), TRANSPARENT);
    RECT all{0, 0, 8, 8};
    PatBlt(c.dc(), 0, 0, 8, 8, BLACKNESS);
    SetBkColor(c.dc(), Red);
    FillRect(c.dc(), &all, hatch);
    EXPECT_EQ(c.Ink(), 64) << "transparent mode keeps the black background";
    SetBkMode(c.dc(), OPAQUE);
    FillRect(c.dc(), &all, hatch);
    std::string picture = c.Picture({{Red, 'r'}});
    EXPECT_EQ(std::count(picture.begin(), picture.end(), '#'), 15) << picture;
    EXPECT_EQ(std::count(picture.begin(), picture.end(), 'r'), 49) << picture;
    DeleteObject(hatch);
}

// ---- Clipping ----

TEST(GdiClipping, FillsOnlyInsideTheSelectedRegion) {
    Canvas c(12, 10);
    HRGN ellipse = CreateEllipticRgn(1, 1, 11, 9);
    EXPECT_EQ(SelectClipRgn(c.dc(), ellipse), COMPLEXREGION);
    RECT all{0, 0, 12, 10};
    FillRect(c.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(c.At(x, y) == 0, PtInRegion(ellipse, x, y) != 0) << x << "," << y;
    // The DC keeps its own copy of the region.
    DeleteObject(ellipse);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 1);
    EXPECT_EQ(box.right, 11);
    SelectClipRgn(c.dc(), nullptr);
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 12);
}

TEST(GdiClipping, ExcludeAndIntersectClipRectsWorkInLogicalUnitsAndRestore) {
    Canvas c(8, 4);
    int saved = SaveDC(c.dc());
    SetViewportOrgEx(c.dc(), 1, 0, nullptr);
    IntersectClipRect(c.dc(), 0, 0, 6, 3);
    ExcludeClipRect(c.dc(), 2, 1, 4, 2);
    PatBlt(c.dc(), -1, 0, 8, 4, BLACKNESS);
    // The clip is kept in device units.
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc(), copy), 1);
    EXPECT_FALSE(PtInRegion(copy, 3, 1));
    EXPECT_TRUE(PtInRegion(copy, 1, 1));
    EXPECT_FALSE(PtInRegion(copy, 0, 1));
    RestoreDC(c.dc(), saved);
    EXPECT_EQ(GetClipRgn(c.dc(), copy), 0);
    EXPECT_EQ(c.Picture(), Rows({".######.", ".##..##.", ".######.", "........"}));
    DeleteObject(copy);
}

// ---- Map modes ----

TEST(GdiMapModes, FixedModesHaveNinetySixPixelsPerInchAndYUpwards) {
    Canvas c(4, 4);
    struct Case {
        int mode;
        LONG unitsPerInch;
    } cases[] = {
        {MM_LOMETRIC, 254}, {MM_HIMETRIC, 2540}, {MM_LOENGLISH, 100}, {MM_HIENGLISH, 1000}, {MM_TWIPS, 1440}};
    for (const Case& k : cases) {
        SetMapMode(c.dc(), k.mode);
        POINT p{k.unitsPerInch, -k.unitsPerInch};
        LPtoDP(c.dc(), &p, 1);
        EXPECT_EQ(p.x, 96) << k.mode;
        EXPECT_EQ(p.y, 96) << k.mode;
        DPtoLP(c.dc(), &p, 1);
        EXPECT_EQ(p.x, k.unitsPerInch) << k.mode;
        EXPECT_EQ(p.y, -k.unitsPerInch) << k.mode;
    }
    EXPECT_EQ(SetMapMode(c.dc(), MM_TEXT), MM_TWIPS);
    EXPECT_EQ(GetDeviceCaps(c.dc(), LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(c.dc(), HORZRES), 4);
}

TEST(GdiMapModes, AnisotropicYUpwardsDrawsFromTheBottom) {
    Canvas c(8, 8);
    int saved = SaveDC(c.dc());
    SetMapMode(c.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(c.dc(), 4, 4, nullptr);
    SetViewportExtEx(c.dc(), 8, -8, nullptr);
    SetViewportOrgEx(c.dc(), 0, 8, nullptr);
    RECT quarter{0, 0, 2, 2};
    FillRect(c.dc(), &quarter, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    RECT box;
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 4);
    RestoreDC(c.dc(), saved);
    EXPECT_EQ(c.Picture(), Rows({"........", "........", "........", "........", "####....", "####....",
                                 "####....", "####...."}));
}

TEST(GdiMapModes, IsotropicKeepsUnitsSquare) {
    Canvas c(4, 4);
    SetMapMode(c.dc(), MM_ISOTROPIC);
    SetWindowExtEx(c.dc(), 100, 100, nullptr);
    SetViewportExtEx(c.dc(), 200, -100, nullptr);
    SIZE viewport;
    GetViewportExtEx(c.dc(), &viewport);
    EXPECT_EQ(viewport.cx, 100);
    EXPECT_EQ(viewport.cy, -100);
    // Fixed modes ignore extents and still answer TRUE.
    SetMapMode(c.dc(), MM_LOMETRIC);
    EXPECT_TRUE(SetWindowExtEx(c.dc(), 5, 5, nullptr));
    SIZE window;
    GetWindowExtEx(c.dc(), &window);
    EXPECT_EQ(window.cx, 254);
}

// ---- DC state and objects ----

TEST(GdiState, RestoreDCBringsBackObjectsAttributesAndClip) {
    Canvas c(4, 4);
    HPEN red = CreatePen(PS_SOLID, 0, Red);
    HGDIOBJ original = SelectObject(c.dc(), red);
    SetTextColor(c.dc(), Blue);
    int first = SaveDC(c.dc());
    SelectObject(c.dc(), GetStockObject(WHITE_PEN));
    SetTextColor(c.dc(), Red);
    SetMapMode(c.dc(), MM_LOMETRIC);
    IntersectClipRect(c.dc(), 0, 0, 1, -1);
    int second = SaveDC(c.dc());
    EXPECT_EQ(second, first + 1);
    EXPECT_TRUE(RestoreDC(c.dc(), -2));
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), red);
    EXPECT_EQ(GetTextColor(c.dc()), Blue);
    EXPECT_EQ(GetMapMode(c.dc()), MM_TEXT);
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc(), clip), 0);
    EXPECT_FALSE(RestoreDC(c.dc(), 1)) << "the saved states are gone";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SelectObject(c.dc(), original);
    DeleteObject(clip);
    DeleteObject(red);
}

TEST(GdiObjects, ADeletedObjectStillSelectedKeepsDrawing) {
    Canvas c(3, 1);
    HPEN red = CreatePen(PS_SOLID, 0, Red);
    SelectObject(c.dc(), red);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(GetObjectType(red), 0u);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 2, 0);
    EXPECT_EQ(c.At(1, 0), Red);
    // Stock objects survive deletion.
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), OBJ_PEN);
    EXPECT_FALSE(DeleteObject(nullptr));
}

TEST(GdiObjects, GetObjectDescribesEachKind) {
    HPEN pen = CreatePen(PS_DASH, 0, Red);
    LOGPEN lp{};
    EXPECT_EQ(GetObject(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnColor, Red);
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, Blue);
    LOGBRUSH lb{};
    GetObject(hatch, sizeof lb, &lb);
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
    HBITMAP bitmap = CreateBitmap(5, 3, 1, 1, nullptr);
    BITMAP bm{};
    EXPECT_EQ(GetObject(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    GetObject(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    EXPECT_EQ(GetObjectType(bitmap), OBJ_BITMAP);
    DeleteObject(pen);
    DeleteObject(hatch);
    DeleteObject(bitmap);
}

TEST(GdiObjects, ABitmapGoesIntoOneMemoryDCAtATime) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(first, bitmap);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    SelectObject(first, old);
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    // A new memory DC holds a monochrome bitmap, so bitmaps compatible with it are monochrome too.
    HBITMAP compatible = CreateCompatibleBitmap(first, 4, 4);
    BITMAP bm{};
    GetObject(compatible, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteDC(second);
    DeleteDC(first);
    DeleteObject(bitmap);
    DeleteObject(compatible);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(GdiObjects, CallsOnAHandleThatIsNotADCFailWithTheLastError) {
    SetLastError(0);
    EXPECT_FALSE(LineTo(nullptr, 1, 1));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HPEN pen = CreatePen(PS_SOLID, 0, 0);
    EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(pen), 0, 0, 1, 1));
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SetROP2(dc, 99), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DeleteDC(dc);
    DeleteObject(pen);
}

// ---- The recorder ----

TEST(GdiRecorder, RecordsCallsInDevicePixelsFromTheDCOrigin) {
    auto recorder = backend::CreateRecorder(100, 50);
    HDC dc = CreateDeviceDC(recorder, POINT{10, 5});
    HBRUSH red = CreateSolidBrush(Red);
    SelectObject(dc, red);
    SetViewportOrgEx(dc, 2, 1, nullptr);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 5, 0);
    Rectangle(dc, 1, 1, 4, 4);
    RECT cell{0, 0, 20, 10};
    FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_EQ(recorder->Calls().size(), 3u);
    EXPECT_EQ(recorder->Calls()[0], "Polyline 12,6 17,6 pen=#000000/1");
    EXPECT_EQ(recorder->Calls()[1], "Rectangle 13,7-16,10 pen=#000000/1 brush=#FF0000");
    EXPECT_EQ(recorder->Calls()[2], "Fill 12,6-32,16 brush=#FFFFFF rop=00F00021");
    DeleteDC(dc);
    DeleteObject(red);
}

} // namespace
