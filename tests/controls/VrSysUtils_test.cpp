// The instrument controls' drawing routines on tiny bitmaps, their settings groups, and the unit's
// start-up.
#include "controls/VrClasses.h"
#include "controls/VrControls.h"
#include "controls/VrSysUtils.h"
#include "platform/framework/Forms.h"
#include "tests/controls/InstrumentTesting.h"

namespace {

std::unique_ptr<TBitmap> Blank(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect(TRect(0, 0, width, height));
    return bitmap;
}

TColor Red(int red) {
    return static_cast<TColor>(RGB(static_cast<BYTE>(red), 0, 0));
}

TEST(DrawGradient, BandsTakeTheColourOfTheirPosition) {
    // From red 200 to red 0: each band's red is 200 - p * 200 / L, truncated towards zero.
    struct Case {
        const char* name;
        int kind;
        int step;
        TRect rect;
        std::vector<TPoint> points; // where the colours below are read
        std::vector<int> reds;      // -1: left white
    };
    const Case cases[] = {
        {"kind 1: rows from the top",
         1,
         1,
         TRect(0, 0, 3, 4),
         {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}},
         {200, 150, 100, 50, -1}},
        {"kind 1: step 2 bands",
         1,
         2,
         TRect(0, 0, 3, 4),
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}},
         {200, 200, 100, 100}},
        {"kind 1: from the rectangle's origin",
         1,
         1,
         TRect(2, 1, 4, 3),
         {{1, 1}, {2, 1}, {3, 2}, {2, 3}},
         {-1, 200, 100, -1}},
        {"kind 2: columns, one band beyond the width",
         2,
         1,
         TRect(0, 0, 4, 2),
         {{0, 0}, {1, 1}, {3, 0}, {4, 0}, {5, 0}},
         {200, 150, 50, 0, -1}},
        {"kind 5: to the middle and back",
         5,
         1,
         TRect(0, 0, 1, 4),
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}},
         {200, 100, 0, 100, 200, -1}},
        {"kind 6: the same across",
         6,
         1,
         TRect(0, 0, 4, 1),
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}},
         {200, 100, 0, 100, 200}},
        {"kind 7 draws nothing", 7, 1, TRect(0, 0, 4, 4), {{0, 0}, {3, 3}}, {-1, -1}},
        {"no width: the start colour", 2, 1, TRect(1, 0, 1, 2), {{1, 0}, {2, 0}}, {200, -1}},
    };
    for (const Case& c : cases) {
        auto bitmap = Blank(6, 6);
        DrawGradient(bitmap->Canvas(), c.rect, Red(200), Red(0), c.kind, c.step);
        for (size_t i = 0; i < c.points.size(); ++i) {
            TColor expected = c.reds[i] < 0 ? clWhite : Red(c.reds[i]);
            EXPECT_EQ(bitmap->Canvas()->Pixels(c.points[i].X, c.points[i].Y), expected)
                << c.name << " at " << c.points[i].X << "," << c.points[i].Y;
        }
    }
}

TEST(DrawGradient, EqualColoursFillOneColourAndDiagonalsStartAtTheCanvasOrigin) {
    auto bitmap = Blank(8, 8);
    DrawGradient(bitmap->Canvas(), TRect(2, 2, 6, 6), clBlue, clBlue, 1, 1);
    EXPECT_EQ(BoundsOfColor(*bitmap, clBlue), TRect(2, 2, 6, 6));
    EXPECT_EQ(CountColor(*bitmap, clBlue), 16);

    // Kinds 3 and 4 draw from (0, 0) whatever the rectangle's origin.
    for (int kind : {3, 4}) {
        auto diagonal = Blank(8, 8);
        DrawGradient(diagonal->Canvas(), TRect(4, 4, 8, 8), Red(200), Red(200), kind, 1);
        EXPECT_EQ(diagonal->Canvas()->Pixels(0, kind == 3 ? 0 : 3), Red(200)) << "kind " << kind;
        EXPECT_EQ(diagonal->Canvas()->Pixels(7, 7), clWhite) << "kind " << kind;
    }
}

TEST(DrawShape, SquareKindsAreCentredAndRectanglesFillTheArea) {
    struct Case {
        const char* name;
        TShapeType shape;
        int penWidth;
        TRect bounds;
    };
    const Case cases[] = {
        {"circle in 40 x 20", stCircle, 1, TRect(12, 2, 32, 22)},
        {"square in 40 x 20", stSquare, 1, TRect(12, 2, 32, 22)},
        {"rectangle", stRectangle, 1, TRect(2, 2, 42, 22)},
        {"ellipse", stEllipse, 1, TRect(2, 2, 42, 22)},
        {"rounded rectangle", stRoundRect, 1, TRect(2, 2, 42, 22)},
        {"no pen: one pixel less", stRectangle, 0, TRect(2, 2, 41, 21)},
    };
    for (const Case& c : cases) {
        auto bitmap = Blank(48, 26);
        TCanvas* canvas = bitmap->Canvas();
        canvas->Pen()->SetWidth(c.penWidth);
        canvas->Pen()->SetColor(clBlue);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Brush()->SetColor(clBlue);
        DrawShape(canvas, c.shape, 2, 2, 40, 20);
        EXPECT_EQ(BoundsOfColor(*bitmap, clBlue), c.bounds) << c.name;
    }
}

TEST(DrawFrame3D, FramesInwardTopLeftAndBottomRight) {
    auto bitmap = Blank(6, 6);
    TRect rect(0, 0, 6, 6);
    DrawFrame3D(bitmap->Canvas(), rect, clRed, clBlue, 2);
    EXPECT_EQ(rect, TRect(2, 2, 4, 4));
    const char* expected[] = {
        "RRRRRB", //
        "RRRRBB", //
        "RR..BB", //
        "RR..BB", //
        "RBBBBB", //
        "BBBBBB",
    };
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            char c = expected[y][x];
            TColor colour = c == 'R' ? clRed : c == 'B' ? clBlue : clWhite;
            EXPECT_EQ(bitmap->Canvas()->Pixels(x, y), colour) << x << "," << y;
        }
}

TEST(VrBevel, DefaultsShrinkByFourAndPaintWhatTheyShrink) {
    TVrBevel bevel;
    TRect visible(0, 0, 20, 20);
    bevel.GetVisibleArea(visible);
    EXPECT_EQ(visible, TRect(4, 4, 16, 16));

    auto bitmap = Blank(20, 20);
    TRect painted(0, 0, 20, 20);
    bevel.Paint(bitmap->Canvas(), painted);
    EXPECT_EQ(painted, visible);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 5), clBlack);                                         // outline
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 5), static_cast<TColor>(ColorToRGB(clBtnHighlight))); // raised
    EXPECT_EQ(bitmap->Canvas()->Pixels(18, 5), static_cast<TColor>(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(bitmap->Canvas()->Pixels(2, 5), static_cast<TColor>(ColorToRGB(clBtnShadow))); // lowered
    EXPECT_EQ(bitmap->Canvas()->Pixels(3, 5), static_cast<TColor>(ColorToRGB(clBtnFace)));   // space
    EXPECT_EQ(bitmap->Canvas()->Pixels(4, 5), clWhite);

    bevel.SetVisible(false);
    TRect hidden(0, 0, 20, 20);
    bevel.GetVisibleArea(hidden);
    EXPECT_EQ(hidden, TRect(0, 0, 20, 20));
}

TEST(VrPersistent, ChangesReportOnceOutsideUpdatesAndEndUpdateAtZeroStillReports) {
    TVrBevel bevel;
    int changes = 0;
    bevel.OnChange = [&](TObject*) { ++changes; };
    bevel.SetOuterWidth(1); // unchanged
    EXPECT_EQ(changes, 0);
    bevel.SetOuterWidth(3);
    EXPECT_EQ(changes, 1);

    TVrBevel other;
    other.SetBorderWidth(2);
    other.SetInnerColor(clRed);
    other.SetOuterStyle(VrClasses::bsLowered);
    changes = 0;
    bevel.Assign(&other);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(bevel.BorderWidth(), 2);
    EXPECT_EQ(bevel.InnerColor(), clRed);
    EXPECT_EQ(bevel.OuterStyle(), VrClasses::bsLowered);
    EXPECT_EQ(bevel.OuterWidth(), 1);

    changes = 0;
    bevel.EndUpdate(); // at 0: still a change
    EXPECT_EQ(changes, 1);

    TVrPaletteEx palette;
    int paletteChanges = 0;
    palette.OnChange = [&](TObject*) { ++paletteChanges; };
    palette.BeginUpdate();
    palette.SetLow1(clRed);
    palette.SetHigh2(clBlue);
    EXPECT_EQ(paletteChanges, 0);
    palette.EndUpdate();
    EXPECT_EQ(paletteChanges, 1);
}

TEST(VrControlsStartup, InstallsTheHandPointAsCursor99) {
    VrControlsStartup();
    HCURSOR hand = Screen()->Cursors(crVrHandPoint);
    ASSERT_NE(hand, nullptr);
    EXPECT_NE(hand, Screen()->Cursors(crDefault));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
}

} // namespace
