// Tests of the grid's gradient painters, on recorded calls where the bands are the point and on the
// pixels of a small bitmap for the rounded selection frame; and the layered-window binding.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Graphics.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

// A canvas on a recording device.
class Recording {
public:
    Recording() : FRecorder(backend::CreateRecorder(100, 100)), FDC(CreateDeviceDC(FRecorder)) {
        FCanvas.SetHandle(FDC);
    }
    ~Recording() {
        FCanvas.SetHandle(nullptr);
        DeleteDC(FDC);
    }
    TCanvas* Canvas() { return &FCanvas; }
    const std::vector<std::string>& Calls() const { return FRecorder->Calls(); }

private:
    std::shared_ptr<backend::Recorder> FRecorder;
    HDC FDC;
    TCanvas FCanvas;
};

TEST(AdvUtilPaintTest, DrawGradientDrawsOneBandMoreThanItsStepsWithinTheExtent) {
    Recording r;
    DrawGradient(r.Canvas(), clBlack, clWhite, true, TRect(0, 0, 10, 5), 100);
    // 9 steps (the extent less one), 10 bands of 1 + 1 pixels, cut at the right edge; a filled band stops
    // where the next one, which would paint over its last pixel, starts.
    ASSERT_EQ(r.Calls().size(), 10u);
    EXPECT_EQ(r.Calls()[0], "Fill 0,0-1,5 brush=#000000 rop=00F00021");
    EXPECT_EQ(r.Calls()[5], "Fill 5,0-6,5 brush=#8E8E8E rop=00F00021");
    EXPECT_EQ(r.Calls()[9], "Fill 9,0-10,5 brush=#FFFFFF rop=00F00021");
}

// Bands of one colour side by side draw as one fill, as they paint alike where they overlap and a band
// in a thin copied pen of its own colour is just its rectangle filled, up to where the next starts; with
// an XOR pen an overlap paints twice, so there every band is a whole rectangle of its own. On pixels, each
// band starts where the last one of another colour ends, and nothing outside the gradient changes.
TEST(AdvUtilPaintTest, DrawGradientJoinsBandsOfOneColour) {
    const TColor from = static_cast<TColor>(RGB(0, 0, 0));
    const TColor to = static_cast<TColor>(RGB(2, 2, 2));
    Recording copied;
    DrawGradient(copied.Canvas(), from, to, true, TRect(0, 0, 10, 5), 100);
    EXPECT_EQ(copied.Calls(), (std::vector<std::string>{"Fill 0,0-3,5 brush=#000000 rop=00F00021",
                                                        "Fill 3,0-7,5 brush=#010101 rop=00F00021",
                                                        "Fill 7,0-10,5 brush=#020202 rop=00F00021"}));
    Recording xored;
    xored.Canvas()->Pen()->SetMode(pmXor);
    DrawGradient(xored.Canvas(), from, to, true, TRect(0, 0, 10, 5), 100);
    EXPECT_EQ(xored.Calls().size(), 10u);

    TBitmap bitmap(12, 7);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 12, 7));
    DrawGradient(canvas, from, to, true, TRect(1, 1, 11, 6), 100);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 1 && x < 11 && y >= 1 && y < 6;
            const TColor expected = !inside ? clWhite : x < 4 ? from : x < 8 ? RGB(1, 1, 1) : to;
            EXPECT_EQ(canvas->Pixels(x, y), expected) << x << "," << y;
        }
}

TEST(AdvUtilPaintTest, DrawGradientFillsSolidWhenAColourIsMissing) {
    struct Case {
        TColor from;
        TColor to;
        TRect rect;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {clNone, clRed, TRect(0, 0, 10, 5), {"Fill 0,0-10,5 brush=#FF0000 rop=00F00021"}},
        {clBlue, clNone, TRect(0, 0, 10, 5), {"Fill 0,0-10,5 brush=#0000FF rop=00F00021"}},
        {clNone, clNone, TRect(0, 0, 10, 5), {}},
        {clBlue, clNone, TRect(0, 5, 10, 5), {}},                                           // no height
        {clBlue, clNone, TRect(0, 5, 10, 0), {"Fill 0,0-10,5 brush=#0000FF rop=00F00021"}}, // upside down
    };
    for (const Case& c : cases) {
        Recording r;
        DrawGradient(r.Canvas(), c.from, c.to, false, c.rect, 64);
        EXPECT_EQ(r.Calls(), c.calls) << c.from << " " << c.to;
    }
}

// A gradient copied from the cache puts every pixel where the bands would, clipped alike, and leaves the
// pen and brush as the bands do. One cache serves all the cases in turn, so pictures are reused, drawn
// again broader and dropped when too many are kept.
TEST(AdvUtilPaintTest, DrawGradientFromTheCacheHasThePixelsOfTheBands) {
    struct Case {
        const char* name;
        TColor from;
        TColor to;
        bool horizontal;
        TRect rect;
        Integer steps;
        bool clipped;
    };
    const TColor red = static_cast<TColor>(RGB(200, 10, 0));
    const TColor blue = static_cast<TColor>(RGB(5, 0, 220));
    const Case cases[] = {
        {"a header's face", clWhite, static_cast<TColor>(RGB(240, 240, 240)), false, TRect(3, 2, 35, 24), 64,
         false},
        {"the same, broader", clWhite, static_cast<TColor>(RGB(240, 240, 240)), false, TRect(0, 2, 48, 24),
         64, false},
        {"the same, narrower", clWhite, static_cast<TColor>(RGB(240, 240, 240)), false, TRect(9, 5, 20, 27),
         64, false},
        {"along x, more steps than pixels", clBlack, clWhite, true, TRect(1, 1, 40, 9), 128, false},
        {"fewer steps than pixels", red, blue, false, TRect(0, 0, 10, 30), 7, false},
        {"one pixel along", red, blue, false, TRect(2, 2, 12, 3), 16, false},
        {"two pixels along x", blue, red, true, TRect(4, 4, 6, 20), 16, false},
        {"past the bitmap's edges", red, clWhite, false, TRect(-5, -3, 30, 50), 64, false},
        {"top and bottom swapped", blue, clWhite, false, TRect(2, 20, 30, 5), 64, false},
        {"system colours", clBtnFace, clWindow, true, TRect(0, 0, 48, 10), 64, false},
        {"palette-relative colours", static_cast<TColor>(0x02000000 | RGB(9, 99, 199)),
         static_cast<TColor>(0x02000000 | RGB(250, 150, 50)), false, TRect(0, 0, 48, 20), 64, false},
        {"within a clip", red, blue, false, TRect(0, 0, 48, 32), 64, true},
        {"a header's face again", clWhite, static_cast<TColor>(RGB(240, 240, 240)), false,
         TRect(3, 2, 35, 24), 64, true},
    };
    TGradientCache cache;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap banded(48, 32);
        TBitmap copied(48, 32);
        for (TBitmap* bitmap : {&banded, &copied}) {
            TCanvas* canvas = bitmap->Canvas();
            canvas->Brush()->SetColor(static_cast<TColor>(RGB(1, 2, 3)));
            canvas->FillRect(TRect(0, 0, 48, 32));
            if (c.clipped)
                IntersectClipRect(canvas->Handle(), 5, 3, 30, 17);
            DrawGradient(canvas, c.from, c.to, c.horizontal, c.rect, c.steps,
                         bitmap == &copied ? &cache : nullptr);
        }
        EXPECT_EQ(copied.Canvas()->Pen()->Color(), banded.Canvas()->Pen()->Color());
        EXPECT_EQ(copied.Canvas()->Brush()->Color(), banded.Canvas()->Brush()->Color());
        int differing = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x)
                if (copied.Canvas()->Pixels(x, y) != banded.Canvas()->Pixels(x, y) && ++differing <= 3)
                    ADD_FAILURE() << "pixel " << x << "," << y;
        EXPECT_EQ(differing, 0);
    }
}

// The cache copies where every band is a plain fill, and leaves bands that are not to DrawGradient.
TEST(AdvUtilPaintTest, DrawGradientCopiesFromTheCacheOnlyWhereBandsArePlainFills) {
    TGradientCache cache;
    Recording copied;
    DrawGradient(copied.Canvas(), clBlack, clWhite, true, TRect(0, 0, 10, 5), 100, &cache);
    EXPECT_EQ(copied.Calls(), (std::vector<std::string>{"StretchBlt 0,0-10,5 from 0,0-10,5 rop=00CC0020"}));
    Recording xored;
    xored.Canvas()->Pen()->SetMode(pmXor);
    DrawGradient(xored.Canvas(), clBlack, clWhite, true, TRect(0, 0, 10, 5), 100, &cache);
    EXPECT_EQ(xored.Calls().size(), 10u);
    Recording outlined;
    outlined.Canvas()->Pen()->SetWidth(2);
    DrawGradient(outlined.Canvas(), clBlack, clWhite, true, TRect(0, 0, 10, 5), 100, &cache);
    EXPECT_EQ(outlined.Calls().size(), 10u);
}

TEST(AdvUtilPaintTest, DrawGradientMirrorSplitsAtTheMiddleAcrossTheChange) {
    Recording r;
    DrawGradientMirror(r.Canvas(), TRect(0, 0, 10, 20), clRed, true, false, clNone, true, clBlue, clLime,
                       clYellow);
    // Top half red to yellow, bottom half lime to blue, each along y.
    const std::vector<std::string>& calls = r.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "Fill 0,0-10,1 brush=#FF0000 rop=00F00021");
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Fill 0,9-10,10 brush=#FFFF00 rop=00F00021"),
              calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Fill 0,10-10,11 brush=#00FF00 rop=00F00021"),
              calls.end());
    EXPECT_EQ(calls.back(), "Fill 0,19-10,20 brush=#0000FF rop=00F00021");
}

TEST(AdvUtilPaintTest, DrawGradientMirrorFillsAndFrames) {
    struct Case {
        const char* name;
        TColor color;
        bool fill;
        bool sideLines;
        TColor border;
        TColor toColor;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"solid, one pixel taller",
         clRed,
         true,
         false,
         clNone,
         clNone,
         {"Fill 0,0-10,21 brush=#FF0000 rop=00F00021"}},
        {"no colour, no fill", clNone, true, false, clNone, clYellow, {}},
        {"frame only", clRed, false, false, clBlue, clNone, {"Rectangle 0,0-10,20 pen=#0000FF/1 brush=null"}},
        {"side lines",
         clRed,
         false,
         true,
         clBlue,
         clNone,
         {"Polyline 0,0 0,20 pen=#0000FF/1", "Polyline 9,0 9,20 pen=#0000FF/1"}},
    };
    for (const Case& c : cases) {
        Recording r;
        DrawGradientMirror(r.Canvas(), TRect(0, 0, 10, 20), c.color, c.fill, c.sideLines, c.border, true,
                           clNone, clNone, c.toColor);
        EXPECT_EQ(r.Calls(), c.calls) << c.name;
    }
}

// Every pixel of a 12 x 10 bitmap after the frame: g background (the corner pixels), e edge, b border,
// t top line, u bottom line, f fill, and . untouched (the last column and row are the grid lines').
TEST(AdvUtilPaintTest, DrawRoundedGradientFrameRoundsTheChosenEnds) {
    struct Case {
        Integer part;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {0,
         {"gebbbbbbbeg.", "eetttttttee.", "btffffffftb.", "btffffffftb.", "bufffffffub.", "bufffffffub.",
          "bufffffffub.", "eeuuuuuuuee.", "gebbbbbbbeg.", "............"}},
        {1,
         {"gebbbbbbbbb.", "eettttttttt.", "btfffffffff.", "btfffffffff.", "bufffffffff.", "bufffffffff.",
          "bufffffffff.", "eeuuuuuuuuu.", "gebbbbbbbbb.", "............"}},
        {2,
         {"bbbbbbbbbeg.", "tttttttttee.", "ffffffffftb.", "ffffffffftb.", "fffffffffub.", "fffffffffub.",
          "fffffffffub.", "uuuuuuuuuee.", "bbbbbbbbbeg.", "............"}},
        {3,
         {"bbbbbbbbbbb.", "ttttttttttt.", "fffffffffff.", "fffffffffff.", "fffffffffff.", "fffffffffff.",
          "fffffffffff.", "uuuuuuuuuuu.", "bbbbbbbbbbb.", "............"}},
    };
    const std::pair<char, TColor> colors[] = {{'g', 0x000000FF}, {'e', 0x0000FF00}, {'b', 0x00FF0000},
                                              {'t', 0x0000FFFF}, {'u', 0x00FF00FF}, {'f', 0x00FFFF00},
                                              {'.', 0x00808080}};
    const auto letter = [&](TColor color) {
        for (const auto& [name, value] : colors)
            if (value == color)
                return name;
        return '?';
    };
    for (const Case& c : cases) {
        TBitmap bitmap(12, 10);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(0x00808080);
        canvas->FillRect(TRect(0, 0, 12, 10));
        // The fill colour without a to-colour fills solid.
        DrawRoundedGradientFrame(canvas, 0x00FFFF00, clNone, c.part, TRect(0, 0, 12, 10), 0x000000FF,
                                 0x0000FF00, 0x00FF0000, 0x00FF00FF, 0x0000FFFF, clNone, clNone);
        std::vector<std::string> rows;
        for (int y = 0; y < 10; ++y) {
            std::string row;
            for (int x = 0; x < 12; ++x)
                row += letter(canvas->Pixels(x, y));
            rows.push_back(row);
        }
        EXPECT_EQ(rows, c.rows) << "part " << c.part;
    }
}

TEST(AdvUtilPaintTest, DrawRoundedGradientFrameFillsInOneOrTwoGradients) {
    // The inner rectangle of a 40 x 24 frame with both ends rounded is (2, 2) - (37, 21).
    Recording one;
    DrawRoundedGradientFrame(one.Canvas(), clRed, clBlue, 0, TRect(0, 0, 40, 24), clWhite, clGray, clBlack,
                             clGray, clGray, clNone, clNone);
    const std::vector<std::string>& calls = one.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Fill 2,2-37,3 brush=#FF0000 rop=00F00021"), calls.end());
    EXPECT_EQ(calls.back(), "Fill 2,20-37,21 brush=#0000FF rop=00F00021");

    Recording two;
    DrawRoundedGradientFrame(two.Canvas(), clRed, clBlue, 0, TRect(0, 0, 40, 24), clWhite, clGray, clBlack,
                             clGray, clGray, clYellow, clLime);
    const std::vector<std::string>& halves = two.Calls();
    EXPECT_NE(std::find(halves.begin(), halves.end(), "Fill 2,10-37,11 brush=#0000FF rop=00F00021"),
              halves.end())
        << "the upper half ends in the to-colour at the middle";
    EXPECT_NE(std::find(halves.begin(), halves.end(), "Fill 2,11-37,12 brush=#00FF00 rop=00F00021"),
              halves.end())
        << "the lower half starts in the lower from-colour";
    EXPECT_EQ(halves.back(), "Fill 2,20-37,21 brush=#FFFF00 rop=00F00021");
}

TEST(AdvUtilPaintTest, UpdateLayeredWindowDynPassesTheCallOn) {
    const HWND window = CreateWindowExW(WS_EX_LAYERED, u"STATIC", u"", WS_POPUP, 0, 0, 20, 20, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
    SIZE size{20, 20};
    EXPECT_EQ(UpdateLayeredWindowDyn(window, nullptr, nullptr, &size, nullptr, nullptr, 0, &blend, ULW_ALPHA),
              UpdateLayeredWindow(window, nullptr, nullptr, &size, nullptr, nullptr, 0, &blend, ULW_ALPHA) !=
                  FALSE);
    DestroyWindow(window);
}

} // namespace
