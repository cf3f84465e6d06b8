// Tests of the progress bar, level progress, pie, balance bar, cell shape and error underline painters,
// on recorded calls.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Graphics.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/wingdi.h"

namespace {

class Recording {
public:
    Recording() : FRecorder(backend::CreateRecorder(200, 100)), FDC(CreateDeviceDC(FRecorder)) {
        FCanvas.SetHandle(FDC);
        FCanvas.Brush()->SetColor(clWhite);
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

// The text and the two clipped parts of a progress bar: "text|fill part|empty part".
std::string ProgressSplit(const std::vector<std::string>& calls) {
    if (calls.size() < 2)
        return "?";
    const auto part = [](const std::string& call) {
        const std::size_t clip = call.find("clip ");
        return clip == std::string::npos ? std::string("?") : call.substr(clip + 5);
    };
    const std::size_t open = calls[0].find('\'');
    const std::string text = calls[0].substr(open + 1, calls[0].find('\'', open + 1) - open - 1);
    return text + "|" + part(calls[0]) + "|" + part(calls[1]);
}

TEST(AdvUtilShapesTest, ProgressBarSplitsItsTextAtTheFillEnd) {
    struct Case {
        const char* name;
        const char16_t* format;
        Integer maximum;
        Integer minimum;
        double position;
        std::string split;
    };
    const Case cases[] = {
        {"percentage", u"", 100, 0, 40, "40%|0,0-40,20|40,0-100,20"},
        {"past the end", u"", 100, 0, 150, "150%|0,0-100,20|100,0-100,20"},
        {"below the start", u"", 100, 0, -5, "-5%|0,0-0,20|0,0-100,20"},
        {"integer format", u"%d of 10", 10, 0, 4, "4 of 10|0,0-40,20|40,0-100,20"},
        {"real format", u"%.1f V", 20, 10, 12.5, "12.5 V|0,0-25,20|25,0-100,20"},
        // A format Format refuses draws as no format, and a range without extent fills nothing.
        {"refused format", u"%s", 10, 0, 4, "4%|0,0-4,20|4,0-100,20"},
        {"empty range", u"%d", 10, 10, 4, "4|0,0-0,20|0,0-100,20"},
    };
    for (const Case& c : cases) {
        Recording r;
        DrawProgressBar(r.Canvas(), TRect(0, 0, 100, 20), clBlue, false, clNone, c.format, c.maximum,
                        c.minimum, 0, 0, c.position, clBlack, clWhite, clYellow);
        std::string split = ProgressSplit(r.Calls());
        // The recorder writes the clip as left,top-right,bottom.
        EXPECT_EQ(split, c.split) << c.name;
    }
}

TEST(AdvUtilShapesTest, ProgressBarColoursMarginsAndRings) {
    Recording r;
    DrawProgressBar(r.Canvas(), TRect(0, 0, 100, 20), clBlue, false, clBlack, u"", 100, 0, 2, 3, 40, clBlack,
                    clWhite, clYellow);
    const std::vector<std::string>& calls = r.Calls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_NE(calls[0].find("#FFFF00 opaque #0000FF fill 3,2-41,18"), std::string::npos) << calls[0];
    EXPECT_NE(calls[1].find("#000000 opaque #FFFFFF fill 41,2-97,18"), std::string::npos) << calls[1];
    EXPECT_EQ(calls[2], "Fill 2,1-98,2 2,2-3,18 97,2-98,18 2,18-98,19 brush=#000000 rop=00F00021");
    // The outer ring takes the brush colour the canvas had before.
    EXPECT_EQ(calls[3], "Fill 1,0-99,1 1,1-2,19 98,1-99,19 1,19-99,20 brush=#FFFFFF rop=00F00021");

    Recording noBorder;
    DrawProgressBar(noBorder.Canvas(), TRect(0, 0, 100, 20), clBlue, false, clNone, u"", 100, 0, 2, 3, 40,
                    clBlack, clWhite, clYellow);
    ASSERT_EQ(noBorder.Calls().size(), 3u);
    EXPECT_EQ(noBorder.Calls()[2], calls[3]);
}

TEST(AdvUtilShapesTest, ProgressBarTextDropsByItsHeightWhenPrinting) {
    Recording screen;
    Recording print;
    DrawProgressBar(screen.Canvas(), TRect(0, 0, 100, 40), clBlue, false, clNone, u"", 100, 0, 0, 0, 50,
                    clBlack, clWhite, clYellow);
    DrawProgressBar(print.Canvas(), TRect(0, 0, 100, 40), clBlue, true, clNone, u"", 100, 0, 0, 0, 50,
                    clBlack, clWhite, clYellow);
    const Integer height = screen.Canvas()->TextHeight(u"50%");
    const auto y = [](const std::string& call) { return std::stoi(call.substr(call.find(',') + 1)); };
    EXPECT_EQ(y(print.Calls()[0]) - y(screen.Calls()[0]), (40 + height) / 2 - (40 - height) / 2);
}

TLevelProgressParams Levels() {
    TLevelProgressParams p;
    p.Level0Color = 0x00000010;
    p.Level1Color = 0x00000011;
    p.Level2Color = 0x00000012;
    p.Level3Color = 0x00000013;
    p.Level1Perc = 50;
    p.Level2Perc = 80;
    p.BackgroundColor = clWhite;
    p.BorderColor = clBlack;
    p.ShowBorder = true;
    p.CompletionSmooth = true;
    return p;
}

TEST(AdvUtilShapesTest, LevelProgressChoosesItsLevels) {
    struct Case {
        const char* name;
        bool stacked;
        Integer percentage;
        std::vector<std::string> fills;
    };
    // The bar is 102 x 20, so its inner length is 100 pixels.
    const Case cases[] = {
        {"level 0", false, 30, {"Rectangle 1,1-31,19 pen=#100000/1 brush=#100000"}},
        {"level 1", false, 60, {"Rectangle 1,1-61,19 pen=#110000/1 brush=#110000"}},
        {"level 2", false, 90, {"Rectangle 1,1-91,19 pen=#120000/1 brush=#120000"}},
        {"level 3", false, 100, {"Rectangle 1,1-101,19 pen=#130000/1 brush=#130000"}},
        {"nothing", false, 0, {}},
        {"stacked 60",
         true,
         60,
         {"Rectangle 1,1-51,19 pen=#100000/1 brush=#100000",
          "Rectangle 51,1-61,19 pen=#110000/1 brush=#110000"}},
        // Stacked bars skip the level 2 colours.
        {"stacked 90",
         true,
         90,
         {"Rectangle 1,1-51,19 pen=#100000/1 brush=#100000",
          "Rectangle 51,1-81,19 pen=#110000/1 brush=#110000",
          "Rectangle 81,1-91,19 pen=#130000/1 brush=#130000"}},
    };
    for (const Case& c : cases) {
        TLevelProgressParams p = Levels();
        p.Stacked = c.stacked;
        Recording r;
        DrawLevelProgress(r.Canvas(), TRect(0, 0, 102, 20), c.percentage, p);
        std::vector<std::string> expected{"Rectangle 0,0-102,20 pen=#000000/1 brush=#FFFFFF"};
        expected.insert(expected.end(), c.fills.begin(), c.fills.end());
        expected.push_back("Rectangle 0,0-102,20 pen=#000000/1 brush=null");
        EXPECT_EQ(r.Calls(), expected) << c.name;
    }
}

TEST(AdvUtilShapesTest, LevelProgressInBlocksGradientsAndUpward) {
    struct Case {
        const char* name;
        Integer percentage;
        std::vector<std::string> fills;
    };
    // Blocks of 7 with gaps of 2, two pixels inside; F is the percentage of 100 pixels.
    const Case cases[] = {
        {"F 25",
         25,
         {"Rectangle 2,2-9,18 pen=#100000/1 brush=#100000",
          "Rectangle 11,2-18,18 pen=#100000/1 brush=#100000",
          "Rectangle 20,2-26,18 pen=#100000/1 brush=#100000"}},
        {"F 5", 5, {"Rectangle 2,2-6,18 pen=#100000/1 brush=#100000"}},
        {"F 1", 1, {}},
    };
    for (const Case& c : cases) {
        TLevelProgressParams p = Levels();
        p.CompletionSmooth = false;
        Recording r;
        DrawLevelProgress(r.Canvas(), TRect(0, 0, 102, 20), c.percentage, p);
        const std::vector<std::string> fills(r.Calls().begin() + 1, r.Calls().end() - 1);
        EXPECT_EQ(fills, c.fills) << c.name;
    }

    // Gradients run across the bar, mirrored at its middle; a vertical bar grows from the bottom.
    TLevelProgressParams p = Levels();
    p.Level0ColorTo = clWhite;
    p.Level0Color = clBlack;
    p.ShowGradient = true;
    p.Steps = 4;
    p.Vertical = true;
    Recording r;
    DrawLevelProgress(r.Canvas(), TRect(0, 0, 20, 102), 30, p);
    const std::vector<std::string>& calls = r.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[1].rfind("Fill 1,71-", 0), 0u) << calls[1];
    EXPECT_NE(calls[1].find("brush=#FFFFFF"), std::string::npos) << "the left half starts in ColorTo";
    EXPECT_NE(calls[calls.size() - 2].find("brush=#FFFFFF"), std::string::npos)
        << "the right half ends in it";
}

TEST(AdvUtilShapesTest, LevelProgressWritesItsPercentage) {
    TLevelProgressParams p = Levels();
    TFont font;
    font.SetColor(clRed);
    p.Font = &font;
    p.FontColor = clBlue;
    p.ShowPercentage = true;
    Recording r;
    DrawLevelProgress(r.Canvas(), TRect(0, 0, 102, 20), 30, p);
    ASSERT_EQ(r.Calls().size(), 4u);
    EXPECT_NE(r.Calls()[2].find("'30%' #0000FF"), std::string::npos) << r.Calls()[2];
}

TEST(AdvUtilShapesTest, PieAndBalanceBar) {
    Recording empty;
    DrawPieProgress(empty.Canvas(), TRect(0, 0, 21, 21), clRed, false, 0);
    EXPECT_EQ(empty.Calls(), (std::vector<std::string>{"Ellipse 0,0-21,21 pen=#808080/1 brush=#FFFFFF",
                                                       "Polyline 10,0 10,10 pen=#808080/1",
                                                       "Polyline 10,10 10,-1 pen=#808080/1"}));
    Recording quarter;
    DrawPieProgress(quarter.Canvas(), TRect(0, 0, 21, 21), clRed, false, 25);
    EXPECT_EQ(quarter.Calls(), (std::vector<std::string>{"Ellipse 0,0-21,21 pen=#808080/1 brush=#FFFFFF",
                                                         "Polyline 10,0 10,10 pen=#808080/1",
                                                         "Polyline 10,10 21,10 pen=#808080/1",
                                                         "FloodFill 11,2 border #808080 brush=#FF0000"}));

    struct Case {
        const char* name;
        Integer value;
        Integer maximum;
        std::vector<std::string> calls;
    };
    // The rectangle shrinks to 2,2-102,18: its middle is 52 and half its width 50.
    const Case cases[] = {
        {"limited", 300, 100, {"Rectangle 52,2-102,18 pen=#00FF00/1 brush=#00FF00"}},
        {"negative", -20, 100, {"Rectangle 42,2-52,18 pen=#FF0000/1 brush=#FF0000"}},
        {"no maximum", 5, 0, {}},
    };
    for (const Case& c : cases) {
        Recording r;
        DrawBalanceBar(r.Canvas(), TRect(0, 0, 104, 20), c.value, clLime, clRed, false, c.maximum);
        EXPECT_EQ(r.Calls(), c.calls) << c.name;
    }
    Recording shown;
    DrawBalanceBar(shown.Canvas(), TRect(0, 0, 104, 20), 300, clLime, clRed, true, 100);
    ASSERT_EQ(shown.Calls().size(), 2u);
    EXPECT_NE(shown.Calls()[1].find("'100'"), std::string::npos);
}

TEST(AdvUtilShapesTest, CellShapesDrawTheirFigures) {
    struct Case {
        TCellShape shape;
        Integer width;
        Integer height;
        std::string call;
    };
    const std::string pen = " pen=#000000/1 brush=#FF0000";
    const Case cases[] = {
        {csRectangle, 20, 10, "Rectangle 11,21-29,29" + pen},
        {csCircle, 20, 10, "Ellipse 10,20-20,30" + pen}, // the smaller side
        {csEllips, 20, 10, "Ellipse 10,20-30,30" + pen},
        {csTriangleLeft, 20, 10, "Polygons [3] 30,20 30,30 10,25" + pen},
        {csTriangleDown, 20, 10, "Polygons [3] 10,20 30,20 20,30" + pen},
        {csDiamond, 11, 9, "Polygons [4] 10,24 15,20 20,24 15,28" + pen},
        {csLineVert, 20, 10, "Rectangle 20,20-21,30" + pen},
        {csLineHorz, 20, 10, "Rectangle 10,25-30,26" + pen},
        {csRoundSquare, 20, 10, "RoundRect 10,20-20,30 10x10" + pen},
        {csStar, 16, 16, "Polygons [10] 18,20 19,26 26,26 20,29 23,34 18,30 13,34 16,29 10,26 17,26" + pen},
        {csHalfStar, 16, 16, "Polygons [6] 18,20 18,30 13,34 16,29 10,26 17,26" + pen},
        {csArrowUp, 9, 10, "Polygons [7] 10,25 14,20 18,25 16,25 16,30 12,30 12,25" + pen},
        {csArrowDown, 8, 10, "Polygons [7] 10,25 14,30 18,25 16,25 16,20 12,20 12,25" + pen},
        {csArrowLeft, 10, 9, "Polygons [7] 10,24 15,20 15,22 20,22 20,26 15,26 15,28" + pen},
        {csArrowRight, 10, 8, "Polygons [7] 20,24 15,20 15,22 10,22 10,26 15,26 15,28" + pen},
    };
    for (const Case& c : cases) {
        Recording r;
        DrawCellShape(r.Canvas(), 10, 20, clBlack, clRed, c.shape, c.height, c.width);
        ASSERT_EQ(r.Calls().size(), 1u) << "shape " << static_cast<int>(c.shape);
        EXPECT_EQ(r.Calls()[0], c.call) << "shape " << static_cast<int>(c.shape);
    }
    Recording beyond;
    DrawCellShape(beyond.Canvas(), 0, 0, clBlack, clRed, static_cast<TCellShape>(csHalfStar + 1), 10, 10);
    EXPECT_TRUE(beyond.Calls().empty());
}

TEST(AdvUtilShapesTest, ErrorUnderlineZigZagsUnderTheError) {
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 300, 100);
    const String text = u"Hello wrold again";
    Recording r;
    DrawErrorUnderline(&form, r.Canvas(), text, 5, 6, 10, TRect(20, 30, 220, 50));
    // One line per step: "Polyline x1,y1 x2,y2 pen=...".
    std::vector<std::pair<int, int>> points;
    std::string call;
    for (const std::string& line : r.Calls()) {
        call += line + "\n";
        EXPECT_NE(line.find("pen=#FF0000/2"), std::string::npos) << line;
        const auto point = [&line](std::size_t at) {
            const std::size_t comma = line.find(',', at);
            return std::pair<int, int>(std::stoi(line.substr(at, comma - at)),
                                       std::stoi(line.substr(comma + 1)));
        };
        const std::size_t first = line.find(' ') + 1;
        if (points.empty())
            points.push_back(point(first));
        points.push_back(point(line.find(' ', first) + 1));
    }
    ASSERT_GE(points.size(), 4u) << call;
    const Integer top = points[1].second;
    EXPECT_EQ(points[0].second, top + 3);
    for (std::size_t i = 1; i < points.size(); ++i) {
        EXPECT_EQ(points[i].first - points[i - 1].first, 3) << call;
        EXPECT_EQ(points[i].second, i % 2 == 1 ? top : top + 3) << call;
    }
    // The error "wrold" spans about five characters of the text.
    const Integer span = points.back().first - points.front().first;
    const Integer charWidth = r.Canvas()->TextWidth(u"wrold") / 5;
    EXPECT_GE(span, 4 * charWidth);
    EXPECT_LE(span, 5 * charWidth + 6);
    // Nothing to underline, nothing drawn.
    Recording none;
    DrawErrorUnderline(&form, none.Canvas(), u"", 3, 0, 0, TRect(0, 0, 100, 20));
    EXPECT_TRUE(none.Calls().empty());
}

} // namespace
