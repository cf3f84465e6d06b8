// Tests of the canvas and its drawing objects: drawing reaching a bitmap's pixels, change notifications,
// text with formats, and the colour helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/Graphics.h"
#include "platform/rtl/UString.h"
#include "platform/win32/windraw.h"

namespace {

// A white bitmap of the size.
std::unique_ptr<TBitmap> WhiteBitmap(int width, int height, TPixelFormat format = pfDevice) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    return bitmap;
}

// Each row of the bitmap as characters: '.' white, '#' the colour, '?' anything else.
std::vector<std::string> Picture(TBitmap& bitmap, TColor color) {
    std::vector<std::string> rows;
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::string row;
        for (int x = 0; x < bitmap.Width(); ++x) {
            TColor p = bitmap.Canvas()->Pixels(x, y);
            row += p == clWhite ? '.' : p == color ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// The leftmost and rightmost columns holding a pixel that is not white, within rows [top, bottom).
std::pair<int, int> InkColumns(TBitmap& bitmap, int top, int bottom) {
    int left = -1, right = -1;
    for (int x = 0; x < bitmap.Width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (bitmap.Canvas()->Pixels(x, y) != clWhite) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
    return {left, right};
}

template <class E, class F> std::string MessageOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return StringToUtf8(e.Message());
    }
    return "(nothing raised)";
}

TEST(GraphicsCanvasTest, ShapesFollowTheGdiPixelRules) {
    auto bitmap = WhiteBitmap(8, 6);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->Brush()->SetColor(clRed);
    canvas->Rectangle(1, 1, 5, 4); // right and bottom edges excluded
    canvas->MoveTo(0, 5);
    canvas->LineTo(7, 5); // without its last pixel
    EXPECT_EQ(Picture(*bitmap, clRed), (std::vector<std::string>{
                                           "........",
                                           ".####...",
                                           ".####...",
                                           ".####...",
                                           "........",
                                           "#######.",
                                       }));
    EXPECT_EQ(canvas->PenPos(), TPoint(7, 5));

    // A clear brush leaves the inside alone; FillRect paints with the brush, FrameRect only the border.
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 8, 6));
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBlue);
    canvas->Rectangle(0, 0, 4, 4);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlue);
    canvas->FrameRect(Rect(4, 2, 8, 6));
    EXPECT_EQ(Picture(*bitmap, clBlue), (std::vector<std::string>{
                                            "####....",
                                            "#..#....",
                                            "#..#####",
                                            "#####..#",
                                            "....#..#",
                                            "....####",
                                        }));
}

TEST(GraphicsCanvasTest, PolygonsAndEllipses) {
    auto bitmap = WhiteBitmap(7, 7);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->Brush()->SetColor(clRed);
    canvas->Polygon({TPoint(0, 0), TPoint(6, 0), TPoint(0, 6)});
    EXPECT_EQ(canvas->Pixels(1, 1), clRed);
    EXPECT_EQ(canvas->Pixels(5, 5), clWhite);
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 7, 7));
    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetColor(clBlue);
    canvas->Ellipse(0, 0, 7, 7);
    EXPECT_EQ(canvas->Pixels(3, 3), clBlue);
    EXPECT_EQ(canvas->Pixels(0, 0), clWhite); // the corners stay outside
    EXPECT_EQ(canvas->Pixels(6, 6), clWhite);
}

TEST(GraphicsCanvasTest, PixelsAndScanLinesSeeTheSamePicture) {
    auto bitmap = WhiteBitmap(3, 2, pf24bit);
    TCanvas* canvas = bitmap->Canvas();
    canvas->SetPixels(2, 0, RGB(10, 20, 30));
    canvas->SetPixels(0, 1, clBtnFace); // a system colour is resolved
    EXPECT_EQ(canvas->Pixels(2, 0), static_cast<TColor>(RGB(10, 20, 30)));
    EXPECT_EQ(static_cast<COLORREF>(canvas->Pixels(0, 1)), GetSysColor(COLOR_BTNFACE));
    // Row 0 is the top row; 24-bit pixels are blue, green, red.
    auto* top = static_cast<Byte*>(bitmap->ScanLine(0));
    EXPECT_EQ((std::vector<int>{top[6], top[7], top[8]}), (std::vector<int>{30, 20, 10}));
    // Writing the memory shows on the canvas.
    auto* bottom = static_cast<Byte*>(bitmap->ScanLine(1));
    bottom[3] = 0xFF;
    bottom[4] = 0;
    bottom[5] = 0;
    EXPECT_EQ(canvas->Pixels(1, 1), clBlue);
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { bitmap->ScanLine(2); }), "Scan line index out of range");
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { bitmap->ScanLine(-1); }), "Scan line index out of range");
}

TEST(GraphicsCanvasTest, XorPenDrawnTwiceRestores) {
    auto bitmap = WhiteBitmap(6, 3);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clYellow);
    canvas->FillRect(Rect(0, 0, 3, 3));
    canvas->Pen()->SetMode(pmXor);
    canvas->Pen()->SetColor(clWhite);
    canvas->MoveTo(0, 1);
    canvas->LineTo(6, 1);
    EXPECT_EQ(canvas->Pixels(1, 1), clBlue);  // yellow xor white
    EXPECT_EQ(canvas->Pixels(4, 1), clBlack); // white xor white
    canvas->MoveTo(0, 1);
    canvas->LineTo(6, 1);
    EXPECT_EQ(canvas->Pixels(1, 1), clYellow);
    EXPECT_EQ(canvas->Pixels(4, 1), clWhite);
}

TEST(GraphicsCanvasTest, DrawingObjectsReportChanges) {
    TFont font;
    TPen pen;
    TBrush brush;
    int changes = 0;
    auto count = [&](TObject*) { ++changes; };
    font.OnChange = count;
    pen.OnChange = count;
    brush.OnChange = count;

    font.SetSize(12);
    font.SetSize(12); // no change, no event
    font.SetStyle(TFontStyles{fsBold, fsItalic});
    font.SetColor(clRed);
    font.SetName(u"Arial");
    pen.SetWidth(3);
    pen.SetMode(pmXor);
    brush.SetStyle(bsCross);
    brush.SetColor(clLime);
    EXPECT_EQ(changes, 8);

    // Size and height are two views of one value at the font's resolution.
    EXPECT_EQ(font.Height(), -16);
    font.SetHeight(-11);
    EXPECT_EQ(font.Size(), 8);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(String(lf.lfFaceName), u"Arial");

    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), u"Arial");
    EXPECT_EQ(copy.Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_THROW(copy.Assign(&pen), EConvertError);
}

// Painters assign a font for every cell: the same description keeps the font object (a colour is no
// part of it), a different one makes a new object, and every assignment tells the listeners, the very
// same font too (a control's ParentFont and font notification follow an assignment, not a difference).
TEST(GraphicsCanvasTest, AssigningTheSameDescriptionKeepsTheFontObject) {
    TFont font;
    font.SetName(u"Arial");
    font.SetSize(10);
    HFONT object = font.Handle();
    int changes = 0;
    font.OnChange = [&](TObject*) { ++changes; };
    TFont same;
    same.Assign(&font);
    same.SetColor(clRed);
    font.Assign(&same);
    EXPECT_EQ(font.Handle(), object);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(changes, 1);
    font.Assign(&same);
    EXPECT_EQ(font.Handle(), object);
    EXPECT_EQ(changes, 2);
    TFont bigger;
    bigger.Assign(&font);
    bigger.SetSize(12);
    font.Assign(&bigger);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(changes, 3);
}

// A font switched between a few descriptions takes up its earlier objects again; past the few it keeps,
// the oldest is let go, and a kept object handed back with SetHandle is the font's own again.
TEST(GraphicsCanvasTest, FontsKeepTheirLastObjects) {
    auto faceOf = [](HFONT handle) {
        LOGFONTW lf{};
        return GetObjectW(handle, sizeof lf, &lf) == static_cast<int>(sizeof lf) ? lf.lfHeight : 0;
    };
    TFont font;
    font.SetSize(10);
    const HFONT ten = font.Handle();
    font.SetSize(12);
    const HFONT twelve = font.Handle();
    EXPECT_NE(twelve, ten);
    font.SetSize(10);
    EXPECT_EQ(font.Handle(), ten);
    font.SetSize(12);
    EXPECT_EQ(font.Handle(), twelve);
    EXPECT_EQ(faceOf(twelve), -16);

    // Six more sizes push the two out: the objects are deleted and new ones made.
    for (int size = 20; size < 26; ++size) {
        font.SetSize(size);
        EXPECT_EQ(faceOf(font.Handle()), -(size * 96 + 36) / 72);
    }
    EXPECT_EQ(faceOf(ten), 0);
    font.SetSize(10);
    EXPECT_EQ(faceOf(font.Handle()), -13);

    // A kept object adopted again is owned once: the font deletes it once, when it goes.
    auto other = std::make_unique<TFont>();
    other->SetSize(8);
    const HFONT eight = other->Handle();
    other->SetSize(9);
    other->SetHandle(eight);
    EXPECT_EQ(other->Handle(), eight);
    EXPECT_EQ(other->Size(), 8);
    other.reset();
    EXPECT_EQ(faceOf(eight), 0);
}

// A pen or brush switched back and forth between a few colours takes up its earlier objects again,
// drawn in the right colour.
TEST(GraphicsCanvasTest, PensAndBrushesKeepTheirLastObjects) {
    TPen pen;
    TBrush brush;
    pen.SetColor(clRed);
    brush.SetColor(clRed);
    const HPEN redPen = pen.Handle();
    const HBRUSH redBrush = brush.Handle();
    pen.SetColor(clBlue);
    brush.SetColor(clBlue);
    const HPEN bluePen = pen.Handle();
    const HBRUSH blueBrush = brush.Handle();
    pen.SetColor(clRed);
    brush.SetColor(clRed);
    EXPECT_EQ(pen.Handle(), redPen);
    EXPECT_EQ(brush.Handle(), redBrush);
    pen.SetColor(clBlue);
    brush.SetColor(clBlue);
    EXPECT_EQ(pen.Handle(), bluePen);
    EXPECT_EQ(brush.Handle(), blueBrush);
    LOGPEN lp{};
    ASSERT_EQ(GetObjectW(pen.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnColor, ColorToRGB(clBlue));
    pen.SetWidth(3);
    ASSERT_EQ(GetObjectW(pen.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnWidth.x, 3) << "another width is another pen";
}

// A gradient's bands go through as many colours as it has bands, band after band and cell after cell:
// the second pass takes up the objects of the first, each still of its own colour and width.
TEST(GraphicsCanvasTest, PensAndBrushesKeepTheObjectsOfAGradientsBands) {
    TPen pen;
    TBrush brush;
    std::vector<HPEN> pens;
    std::vector<HBRUSH> brushes;
    auto band = [](int i) { return static_cast<TColor>(0x102030 + i * 0x030507); };
    for (int i = 0; i < 24; ++i) {
        pen.SetColor(band(i));
        brush.SetColor(band(i));
        pens.push_back(pen.Handle());
        brushes.push_back(brush.Handle());
    }
    for (int i = 0; i < 24; ++i) {
        pen.SetColor(band(i));
        brush.SetColor(band(i));
        EXPECT_EQ(pen.Handle(), pens[static_cast<size_t>(i)]) << "band " << i;
        EXPECT_EQ(brush.Handle(), brushes[static_cast<size_t>(i)]) << "band " << i;
        LOGPEN lp{};
        ASSERT_EQ(GetObjectW(pen.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
        EXPECT_EQ(lp.lopnColor, ColorToRGB(band(i)));
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectW(brush.Handle(), sizeof lb, &lb), static_cast<int>(sizeof lb));
        EXPECT_EQ(lb.lbColor, ColorToRGB(band(i)));
    }
    pen.SetWidth(2);
    LOGPEN lp{};
    ASSERT_EQ(GetObjectW(pen.Handle(), sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnWidth.x, 2) << "another width is another pen";
    EXPECT_EQ(lp.lopnColor, ColorToRGB(band(23)));
}

TEST(GraphicsCanvasTest, CanvasSelectsAChangedFontAgain) {
    auto bitmap = WhiteBitmap(10, 10);
    TCanvas* canvas = bitmap->Canvas();
    int small = canvas->TextWidth(u"Hello");
    int smallHeight = canvas->TextHeight(u"Hello");
    canvas->Font()->SetSize(20);
    EXPECT_GT(canvas->TextWidth(u"Hello"), small);
    EXPECT_GT(canvas->TextHeight(u"Hello"), smallHeight);
    EXPECT_EQ(canvas->TextExtent(u""), (TSize{0, canvas->TextHeight(u"")}));
}

TEST(GraphicsCanvasTest, DrawingFiresTheCanvasAndBitmapEvents) {
    auto bitmap = WhiteBitmap(4, 4);
    std::vector<std::string> log;
    bitmap->OnChange = [&](TObject*) { log.push_back("bitmap"); };
    bitmap->Canvas()->OnChanging = [&](TObject*) { log.push_back("changing"); };
    bitmap->SetModified(false);
    bitmap->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "bitmap"}));
    EXPECT_TRUE(bitmap->Modified());
}

TEST(GraphicsCanvasTest, CanvasWithoutDcRefusesToDraw) {
    TCanvas canvas;
    EXPECT_EQ(MessageOf<EInvalidOperation>([&] { canvas.FillRect(Rect(0, 0, 1, 1)); }),
              "Canvas does not allow drawing");
    // A DC given from outside is drawn on and left to its owner.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 0, 0));
    canvas.SetHandle(nullptr);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST(GraphicsCanvasTest, TextRectWithFormats) {
    auto bitmap = WhiteBitmap(120, 40);
    TCanvas* canvas = bitmap->Canvas();
    String text = u"one two three four";

    // Measuring matches DrawText's own measure and draws nothing.
    TRect measured = Rect(0, 0, 50, 0);
    String copy = text;
    canvas->TextRect(measured, copy, TTextFormat{tfCalcRect, tfWordBreak});
    RECT expected{0, 0, 50, 0};
    DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &expected,
              DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(measured, TRect(expected));
    EXPECT_GT(measured.Height(), canvas->TextHeight(text)); // more than one line
    EXPECT_EQ(InkColumns(*bitmap, 0, 40).first, -1);

    // An ellipsis written back fits the rectangle.
    TRect narrow = Rect(0, 0, 40, 20);
    String shortened = text;
    canvas->TextRect(narrow, shortened, TTextFormat{tfSingleLine, tfEndEllipsis, tfModifyString});
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), u"...");
    EXPECT_LE(canvas->TextWidth(shortened), 40);

    // Alignment moves the ink.
    canvas->FillRect(Rect(0, 0, 120, 40));
    canvas->Brush()->SetStyle(bsClear);
    String word = u"Hi";
    TRect line = Rect(0, 0, 120, 20);
    canvas->TextRect(line, word, TTextFormat{tfSingleLine, tfLeft});
    auto [leftStart, leftEnd] = InkColumns(*bitmap, 0, 20);
    line = Rect(0, 20, 120, 40);
    canvas->TextRect(line, word, TTextFormat{tfSingleLine, tfRight});
    auto [rightStart, rightEnd] = InkColumns(*bitmap, 20, 40);
    EXPECT_LT(leftStart, 3);
    EXPECT_GT(rightEnd, 115);
    EXPECT_EQ(leftEnd - leftStart, rightEnd - rightStart);
}

TEST(GraphicsCanvasTest, TextRectAtPointFillsAndClips) {
    auto bitmap = WhiteBitmap(40, 20);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clYellow);
    canvas->TextRect(Rect(0, 0, 10, 20), 2, 2, u"WWWWWWWW");
    EXPECT_EQ(canvas->Pixels(0, 0), clYellow); // the opaque rectangle
    EXPECT_EQ(canvas->Pixels(9, 19), clYellow);
    EXPECT_EQ(InkColumns(*bitmap, 0, 20).second, 9); // nothing past the clip

    // TextOut leaves the pen after the text.
    canvas->TextOut(12, 2, u"ab");
    EXPECT_EQ(canvas->PenPos(), TPoint(12 + canvas->TextWidth(u"ab"), 2));
}

TEST(GraphicsCanvasTest, CopyRectAndStretchDraw) {
    auto source = WhiteBitmap(2, 2);
    source->Canvas()->SetPixels(0, 0, clRed);
    source->Canvas()->SetPixels(1, 1, clRed);
    auto target = WhiteBitmap(6, 4);
    target->Canvas()->StretchDraw(Rect(0, 0, 4, 4), source.get());
    target->Canvas()->CopyRect(Rect(4, 0, 6, 2), source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(Picture(*target, clRed), (std::vector<std::string>{
                                           "##..#.",
                                           "##...#",
                                           "..##..",
                                           "..##..",
                                       }));
    // NOTSRCCOPY inverts.
    target->Canvas()->SetCopyMode(cmNotSrcCopy);
    target->Canvas()->CopyRect(Rect(0, 0, 1, 1), source->Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clAqua);
}

TEST(GraphicsCanvasTest, TransparentBitmapLeavesItsKeyColour) {
    auto sprite = WhiteBitmap(3, 1);
    sprite->Canvas()->SetPixels(0, 0, clLime); // bottom-left: the automatic key
    sprite->Canvas()->SetPixels(1, 0, clRed);
    sprite->Canvas()->SetPixels(2, 0, clLime);
    EXPECT_EQ(sprite->TransparentColor() & 0xFFFFFF, clLime);
    sprite->SetTransparent(true);
    auto target = WhiteBitmap(3, 1);
    target->Canvas()->Draw(0, 0, sprite.get());
    EXPECT_EQ(Picture(*target, clRed), (std::vector<std::string>{".#."}));

    sprite->SetTransparentColor(clRed);
    EXPECT_EQ(sprite->TransparentMode(), tmFixed);
    target->Canvas()->Draw(0, 0, sprite.get());
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(target->Canvas()->Pixels(1, 0), clRed); // the red from before shows through
}

TEST(GraphicsCanvasTest, BrushCopyPutsTheBrushWhereTheKeyColourWas) {
    auto sprite = WhiteBitmap(3, 1);
    sprite->Canvas()->SetPixels(0, 0, clLime);
    sprite->Canvas()->SetPixels(2, 0, clLime);
    auto target = WhiteBitmap(5, 1);
    target->Canvas()->Brush()->SetColor(clRed);
    target->Canvas()->BrushCopy(Rect(1, 0, 4, 1), sprite.get(), Rect(0, 0, 3, 1), clLime);
    EXPECT_EQ(Picture(*target, clRed), (std::vector<std::string>{".#.#."}));
    EXPECT_EQ(target->Canvas()->Pixels(2, 0), clWhite);
    // A clear brush leaves what the canvas had there.
    target->Canvas()->Brush()->SetColor(clBlue);
    target->Canvas()->Brush()->SetStyle(bsClear);
    target->Canvas()->BrushCopy(Rect(1, 0, 4, 1), sprite.get(), Rect(0, 0, 3, 1), clLime);
    EXPECT_EQ(Picture(*target, clRed), (std::vector<std::string>{".#.#."}));
}

TEST(GraphicsCanvasTest, ColourNamesAndValues) {
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0xFF00000F));

    struct Case {
        TColor color;
        const char16_t* text;
    };
    const Case cases[] = {
        {clRed, u"clRed"},         {clBtnFace, u"clBtnFace"}, {clNone, u"clNone"},
        {clDefault, u"clDefault"}, {0x123456, u"$00123456"},  {static_cast<TColor>(0xFF000063), u"$FF000063"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        EXPECT_EQ(ColorToString(c.color), c.text);
        EXPECT_EQ(StringToColor(c.text), c.color);
    }
    EXPECT_EQ(StringToColor(u"clwindow"), clWindow);
    EXPECT_EQ(StringToColor(u"255"), clRed);
    TColor color = 0;
    EXPECT_TRUE(IdentToColor(u"clInfoBk", color));
    EXPECT_EQ(color, clInfoBk);
    EXPECT_FALSE(IdentToColor(u"clNothing", color));
    EXPECT_THROW(StringToColor(u"clNothing"), EConvertError);
}

} // namespace
