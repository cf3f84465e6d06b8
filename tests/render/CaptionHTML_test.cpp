// Tests of the caption renderer's dialect on a bitmap canvas: sizes, hit tests, lists and bullets, rules,
// gradients, offsets, hidden sections, and markup that must degrade without harm.
#include "render/CaptionHTML.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/framework/ImgList.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/shell.h"
#include "platform/win32/windraw.h"
#include "render/PictureContainer.h"

namespace {

struct CaptionResult {
    bool hit = false;
    String anchorValue, plainText, anchorDetail;
    Integer width = 0, height = 0, anchors = 0, mouseAnchor = -1;
    TRect hoverRect;
};

enum class Mode { Paint, HitTest, Measure };

class CaptionCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        bitmap.SetSize(200, 80);
        Canvas()->Font()->SetName(u"Arial");
        Canvas()->Font()->SetSize(10);
        Canvas()->Font()->SetColor(clBlack);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, 200, 80));
    }
    TCanvas* Canvas() { return bitmap.Canvas(); }

    CaptionResult Render(const String& text, Mode mode, TPoint point = TPoint(-1, -1),
                         Integer lineSpacing = 0, bool wordWrap = true, TRect bounds = Rect(0, 0, 200, 80),
                         Integer focusIndex = -1, TPictureContainer* pictures = nullptr) {
        CaptionResult r;
        r.hit = RenderCaptionHTML(Canvas(), text, bounds, nullptr, point.X, point.Y, focusIndex, -1, 1,
                                  mode != Mode::Paint, mode == Mode::Measure, false, false, true, false,
                                  wordWrap, 1.0, clBlue, clNone, clNone, clGray, r.anchorValue, r.plainText,
                                  r.anchorDetail, r.width, r.height, r.anchors, r.mouseAnchor, r.hoverRect,
                                  nullptr, pictures, lineSpacing, bdLeftToRight);
        return r;
    }
    Integer Gh() { return Canvas()->TextHeight(u"gh"); }
    bool IsRed(int x, int y) { return ColorToRGB(Canvas()->Pixels(x, y)) == RGB(255, 0, 0); }

    TBitmap bitmap;
};

TEST_F(CaptionCanvas, SizesFollowTheLinesAndTheLineSpacing) {
    CaptionResult empty = Render(u"", Mode::Measure);
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, Gh());

    CaptionResult one = Render(u"abc", Mode::Measure);
    EXPECT_EQ(one.width, Canvas()->TextWidth(u"abc") + 2); // the widest line plus 2
    EXPECT_EQ(one.height, Gh());

    CaptionResult twoLines = Render(u"a<br>b", Mode::Measure);
    CaptionResult spaced = Render(u"a<br>b", Mode::Measure, {-1, -1}, 4);
    EXPECT_EQ(twoLines.height, 2 * Gh());
    EXPECT_EQ(spaced.height, twoLines.height + 8);
    EXPECT_EQ(twoLines.plainText, u"a\rb");

    // A carriage return and line feed pair is a line break; "<#" starts no tag.
    CaptionResult pair = Render(u"a\r\nb<#x>", Mode::Measure);
    EXPECT_EQ(pair.height, 2 * Gh());
    EXPECT_EQ(pair.plainText, u"a\rb#x");

    // Blanks and control characters around each line's markup do not count.
    EXPECT_EQ(Render(u"  abc \t", Mode::Measure).width, one.width);
}

TEST_F(CaptionCanvas, RunsWithoutWordWrapFollowEachOther) {
    // Without word wrap the runs are drawn with an end ellipsis; each still starts where the one before
    // it ends, so a bold part never lands on the text before it.
    const String text = u"Module <b>1</b>";
    CaptionResult measured = Render(text, Mode::Measure, TPoint(-1, -1), 0, false);
    Integer plain = Canvas()->TextWidth(u"Module ");
    Canvas()->Font()->SetStyle(TFontStyles{fsBold});
    Integer bold = Canvas()->TextWidth(u"1");
    Canvas()->Font()->SetStyle(TFontStyles{});
    EXPECT_EQ(measured.width, plain + bold + 2);

    Render(text, Mode::Paint, TPoint(-1, -1), 0, false);
    Integer inkRight = -1;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < Gh(); ++y)
            if (Canvas()->Pixels(x, y) != clWhite)
                inkRight = x;
    EXPECT_GE(inkRight, 1 + plain);
}

TEST_F(CaptionCanvas, AnAmpersandBetweenBlanksTurnsPrefixProcessingOff) {
    CaptionResult spaced = Render(u"a & b", Mode::Measure);
    EXPECT_EQ(spaced.width, Canvas()->TextWidth(u"a & b") + 2);
    // Without " & " the ampersand marks the next letter: "a&b" takes the room of "ab".
    CaptionResult prefixed = Render(u"a&b", Mode::Measure);
    RECT rect{0, 0, 0, 0};
    String ab = u"ab";
    DrawTextExW(Canvas()->Handle(), ab.data(), 2, &rect, DT_CALCRECT | DT_SINGLELINE, nullptr);
    EXPECT_EQ(prefixed.width, rect.right + 2);
    EXPECT_EQ(prefixed.plainText, u"a&b");
}

TEST_F(CaptionCanvas, AnchorsAreHitWithTheirHrefAndTitle) {
    const String text = u"go <a href=\"Next\" title=\"the tip\">here</a> now";
    Integer goWidth = Canvas()->TextWidth(u"go ");
    Integer hereWidth = Canvas()->TextWidth(u"here");
    TPoint onAnchor(1 + goWidth + hereWidth / 2, Gh() / 2);
    CaptionResult hit = Render(text, Mode::HitTest, onAnchor);
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.anchorValue, u"Next");
    EXPECT_EQ(hit.anchorDetail, u"the tip");
    EXPECT_EQ(hit.mouseAnchor, 1);
    EXPECT_EQ(hit.anchors, 1);
    EXPECT_EQ(hit.hoverRect.Left, 1 + goWidth);
    EXPECT_EQ(hit.hoverRect.Right, 1 + goWidth + hereWidth);

    CaptionResult miss = Render(text, Mode::HitTest, TPoint(3, Gh() / 2));
    EXPECT_FALSE(miss.hit);
    EXPECT_EQ(miss.mouseAnchor, -1);
    EXPECT_EQ(miss.anchorValue, u"");
    EXPECT_EQ(miss.plainText, u"go here now");
}

TEST_F(CaptionCanvas, PaintingNamesTheFocusedAnchorAndFramesIt) {
    const String text = u"<a href=\"one\">first</a> <a href=\"two\">second</a>";
    CaptionResult r = Render(text, Mode::Paint, TPoint(-1, -1), 0, true, Rect(0, 0, 200, 80), 1);
    EXPECT_EQ(r.anchorDetail, u"two");
    EXPECT_EQ(r.anchors, 2);
    // The focus frame spans the text band of the line: its dotted top edge is the line's first row.
    Integer left = 1 + Canvas()->TextWidth(u"first ");
    bool dotted = false;
    for (int x = left; x < left + 10; ++x)
        dotted |= Canvas()->Pixels(x, 0) != clWhite;
    EXPECT_TRUE(dotted);
    EXPECT_EQ(Render(text, Mode::Paint).anchorDetail, u"");
}

TEST_F(CaptionCanvas, OrderedListItemsAreNumberedInTheSymbolFont) {
    Render(u"<ol><li>a<li>b<li>c</ol>", Mode::Paint);
    // The same numbers drawn by hand, line by line below the list's opening line.
    TBitmap expected;
    expected.SetSize(200, 80);
    TCanvas* canvas = expected.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, 200, 80));
    canvas->Font()->Assign(Canvas()->Font());
    canvas->Font()->SetName(u"Symbol");
    canvas->Brush()->SetStyle(bsClear);
    for (int i = 1; i <= 3; ++i) {
        String number = IntToStr(i) + u". ";
        canvas->TextOut(1, i * Gh(), number);
        int width = canvas->TextWidth(number);
        for (int y = i * Gh(); y < (i + 1) * Gh(); ++y)
            for (int x = 0; x < 1 + width; ++x)
                ASSERT_EQ(Canvas()->Pixels(x, y), canvas->Pixels(x, y))
                    << "item " << i << " at " << x << "," << y;
    }
    // Something was drawn there.
    bool ink = false;
    for (int x = 1; x < 10 && !ink; ++x)
        for (int y = Gh(); y < 2 * Gh() && !ink; ++y)
            ink = Canvas()->Pixels(x, y) != clWhite;
    EXPECT_TRUE(ink);
}

TEST_F(CaptionCanvas, ASquareBulletIsAnEightPixelSquareTwoBelowTheLineTop) {
    Render(u"<ul><li type=\"square\" color=\"clRed\">x</ul>", Mode::Paint);
    int top = Gh(); // the list's opening tag ends the first line
    for (int y = top; y < top + 12; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(IsRed(x, y), x >= 1 && x < 9 && y >= top + 2 && y < top + 10) << x << "," << y;
}

TEST_F(CaptionCanvas, ARuleTakesItsColourAndRunsAcrossTheLine) {
    Render(u"a<hr color=\"clRed\">b", Mode::Paint);
    int y = Gh() + 1;
    EXPECT_TRUE(IsRed(1, y));
    EXPECT_TRUE(IsRed(100, y));
    EXPECT_TRUE(IsRed(198, y));
    EXPECT_FALSE(IsRed(100, y - 1));
    Render(u"<hr>", Mode::Paint);
    EXPECT_EQ(Canvas()->Pixels(100, y), clBlack);
}

TEST_F(CaptionCanvas, TheBodyGradientRunsAcrossOrDown) {
    Render(u"<body bgcolor=\"clWhite\" bgcolorto=\"clBlue\">x</body>", Mode::Paint);
    COLORREF left = ColorToRGB(Canvas()->Pixels(0, 70)), right = ColorToRGB(Canvas()->Pixels(199, 70));
    EXPECT_GT(GetRValue(left), 240);
    EXPECT_LT(GetRValue(right), 10);
    EXPECT_GT(GetBValue(right), 240);
    EXPECT_EQ(Canvas()->Pixels(150, 2), Canvas()->Pixels(150, 78)); // the same colour down a column

    Render(u"<body bgcolor=\"clWhite\" bgcolorto=\"clBlue\" dir=\"V\">x</body>", Mode::Paint);
    EXPECT_GT(GetRValue(ColorToRGB(Canvas()->Pixels(150, 0))), 240);
    EXPECT_LT(GetRValue(ColorToRGB(Canvas()->Pixels(150, 79))), 10);
    EXPECT_EQ(Canvas()->Pixels(20, 40), Canvas()->Pixels(190, 40));
}

TEST_F(CaptionCanvas, TheRotationTagTurnsTheTextUntilItCloses) {
    auto inkBox = [&] {
        TRect box(200, 80, -1, -1);
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 200; ++x)
                if (Canvas()->Pixels(x, y) != clWhite)
                    box = TRect(std::min<LONG>(box.Left, x), std::min<LONG>(box.Top, y),
                                std::max<LONG>(box.Right, x), std::max<LONG>(box.Bottom, y));
        return box;
    };
    Render(u"<r a=\"90\">WWWWWW</r>", Mode::Paint);
    TRect turned = inkBox();
    EXPECT_GT(turned.Height(), turned.Width());
    Canvas()->FillRect(Rect(0, 0, 200, 80));
    Render(u"<r a=\"90\">x</r>WWWWWW", Mode::Paint);
    TRect after = inkBox();
    EXPECT_GT(after.Width(), after.Height());
    EXPECT_EQ(Canvas()->Font()->Orientation(), 0);
}

TEST_F(CaptionCanvas, TheOffsetTagMovesTheTextRight) {
    auto firstInk = [&] {
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < Gh(); ++y)
                if (Canvas()->Pixels(x, y) != clWhite)
                    return x;
        return -1;
    };
    Render(u"<of x=\"40\">abc", Mode::Paint);
    EXPECT_GE(firstInk(), 40);
    EXPECT_LT(firstInk(), 46);
}

TEST_F(CaptionCanvas, ContainerPicturesTakeTheirSizeAndAreHitInsideAnchors) {
    // A 10 x 6 red picture named "dot"; bitmaps draw transparent in their bottom-left colour.
    TBitmap red;
    red.SetSize(10, 6);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 6));
    red.Canvas()->SetPixels(0, 5, clWhite);
    TMemoryStream bytes;
    red.SaveToStream(bytes);
    bytes.SetPosition(0);
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"dot");
    item->Picture()->LoadFromStream(bytes);

    const String text = u"<a href=\"pic\"><img src=\"DOT\"></a>x";
    auto render = [&](const String& markup, Mode mode, TPoint point = TPoint(-1, -1)) {
        return Render(markup, mode, point, 0, true, Rect(0, 0, 200, 80), -1, &container);
    };
    EXPECT_EQ(render(text, Mode::Measure).width, 10 + Canvas()->TextWidth(u"x") + 2);
    EXPECT_EQ(render(u"<img src=\"dot\" width=\"20\">", Mode::Measure).width, 22);
    EXPECT_EQ(render(u"<img src=\"dot\" width=\"20\" height=\"40\">", Mode::Measure).height, 40);
    EXPECT_EQ(render(u"<img src=\"missing\">", Mode::Measure).width, 0);

    CaptionResult hit = render(text, Mode::HitTest, TPoint(5, 3));
    EXPECT_TRUE(hit.hit);
    EXPECT_EQ(hit.anchorValue, u"pic");
    EXPECT_FALSE(render(text, Mode::HitTest, TPoint(15, 3)).hit);

    render(text, Mode::Paint);
    EXPECT_TRUE(IsRed(1, 0));
    EXPECT_TRUE(IsRed(10, 5));
    EXPECT_FALSE(IsRed(1, 5));
    EXPECT_FALSE(IsRed(11, 3));
    EXPECT_FALSE(IsRed(5, 6));

    // As the body's background the picture is tiled over the whole rectangle.
    render(u"<body background=\"dot\">", Mode::Paint);
    EXPECT_TRUE(IsRed(150, 70));
    EXPECT_TRUE(IsRed(195, 77));
    EXPECT_FALSE(IsRed(150, 71)); // the transparent corner of a tile
}

TEST(CaptionGradient, BandsStepEvenlyAndTheBorderIsDrawn) {
    TBitmap bitmap;
    bitmap.SetSize(8, 3);
    DrawGradientRect(bitmap.Canvas(), clBlack, clWhite, true, Rect(0, 0, 8, 3), 4, clNone);
    const int expected[] = {0, 0, 64, 64, 128, 128, 191, 191};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(ColorToRGB(bitmap.Canvas()->Pixels(x, 1)), RGB(expected[x], expected[x], expected[x])) << x;
    DrawGradientRect(bitmap.Canvas(), clWhite, clWhite, false, Rect(0, 0, 8, 3), 0, clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(7, 2), clRed);
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 1), clWhite);
}

TEST(CaptionText, HiddenSectionsAndTagsAreRemoved) {
    const std::pair<String, String> cases[] = {
        {u"a<Z>hidden</Z>b<b>c</b>", u"abc"},
        {u"a<z>x</z>b<z>y</z>c", u"abc"},
        {u"a<z>open only", u"aopen only"},
        {u"one<br>two", u"one\r\ntwo"},
        {u"&amp;<i>x", u"&amp;x"},
    };
    for (const auto& [text, plain] : cases)
        EXPECT_EQ(CaptionHTMLToPlainText(text), plain) << StringToUtf8(text);
}

TEST(CaptionColors, NamesAreMatchedWhole) {
    EXPECT_EQ(CaptionHTMLColor(u"clred"), clRed);
    EXPECT_EQ(CaptionHTMLColor(u"cl3ddkshadow"), cl3DDkShadow);
    EXPECT_EQ(CaptionHTMLColor(u"clinfobk"), clInfoBk);
    EXPECT_EQ(CaptionHTMLColor(u"red"), clBlack);
    EXPECT_EQ(CaptionHTMLColor(u"clRed"), clBlack); // callers lower-case first
}

TEST(OfficeButtonHelpers, VersionsAndTheDottedFrame) {
    EXPECT_TRUE(IsXPOrLater());
    EXPECT_EQ(FileVersionMS(u"no-such-file.dll"), -1);
    EXPECT_GT(FileVersionMS(u"COMCTL32.DLL") >> 16, 5);

    TBitmap bitmap;
    bitmap.SetSize(10, 6);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, 10, 6));
    DrawDottedFrame(bitmap.Canvas(), Rect(0, 0, 10, 6), clRed);
    TCanvas* c = bitmap.Canvas();
    // Alternate pixels along the edges, the corners included; nothing inside.
    EXPECT_EQ(c->Pixels(0, 0), clRed);
    EXPECT_NE(c->Pixels(1, 0), c->Pixels(2, 0));
    EXPECT_EQ(c->Pixels(9, 5), clRed);
    EXPECT_EQ(c->Pixels(4, 3), clWhite);
}

// Markup that is cut short, unknown, deeply nested or absurd renders as far as it can, in every mode,
// and the call always ends.
TEST_F(CaptionCanvas, BadMarkupDegradesWithoutHarm) {
    const String cases[] = {
        u"<",
        u"<b",
        u"abc<",
        u"<b>unclosed <i>tags <u>everywhere",
        u"<unknown>x</unknown>&bogus;&#;",
        u"<font size=\"99999999\">huge</font>",
        u"<font size=\"-5\" color=\"#zzzzzz\" bgcolor=\"#\">odd</font>",
        u"<li><li><li><li>",
        u"</ol></ol></ul></p></font></a></hi></z>",
        u"<of x=\"-100000\">far left<of x=\"100000\">far right",
        u"<ind x=\"999999\">indent",
        u"<p align=\"right\" indent=\"-500\">right</p><p align=\"center\">centre",
        u"<img src=\"idx:99999\"><img src=\"x://nowhere\" width=\"100000\">",
        u"<a href=\"x\"><a href=\"y\">nested</a>",
        u"<hr color=\"\"><body bgcolor=\"#\" bgcolorto=\"cl\">",
        u"\r\n\r\n<#x>\r",
        u"<p bgcolor=\"clRed\" bgcolorto=\"\">a</p>",
        String(2000, u'<') + String(2000, u'>'),
        String(300, u'x') + u" " + String(300, u'y'),
    };
    String nested;
    for (int i = 0; i < 500; ++i)
        nested += u"<ul><b><font color=\"clred\">";
    for (const String& text : {cases[0],  cases[1],  cases[2],  cases[3],  cases[4],  cases[5],  cases[6],
                               cases[7],  cases[8],  cases[9],  cases[10], cases[11], cases[12], cases[13],
                               cases[14], cases[15], cases[16], cases[17], cases[18], nested})
        for (Mode mode : {Mode::Paint, Mode::HitTest, Mode::Measure})
            for (bool wrap : {true, false}) {
                CaptionResult r = Render(text, mode, TPoint(5, 5), 0, wrap);
                EXPECT_GE(r.height, 0) << StringToUtf8(text.substr(0, 40));
            }
    // A zero-sized rectangle lays out at most one line.
    CaptionResult tiny = Render(u"a<br>b<br>c", Mode::Paint, TPoint(-1, -1), 0, true, Rect(0, 0, 0, 0));
    EXPECT_EQ(tiny.height, Gh());
    // The canvas comes back as it was given.
    EXPECT_EQ(Canvas()->Font()->Name(), u"Arial");
    EXPECT_EQ(Canvas()->Font()->Size(), 10);
    EXPECT_TRUE(Canvas()->Font()->Style().Empty());
    EXPECT_EQ(Canvas()->Brush()->Color(), clWhite);
}

TEST_F(CaptionCanvas, PrintedImageListPicturesAreEnlargedByTheScale) {
    TCustomImageList images(8, 8);
    TBitmap red;
    red.SetSize(8, 8);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 8, 8));
    images.Add(&red, nullptr);
    struct Case {
        bool printing;
        double scale;
        int redUpTo; // the picture's right and bottom edge
    };
    for (const Case& c : {Case{false, 3.0, 8}, Case{true, 3.0, 24}, Case{true, 0.5, 8}}) {
        SCOPED_TRACE(c.scale);
        SetUp();
        CaptionResult r;
        RenderCaptionHTML(Canvas(), u"<img src=\"IDX:0\">", Rect(0, 0, 200, 80), &images, -1, -1, -1, -1, 0,
                          false, false, c.printing, false, true, false, false, c.scale, clBlue, clNone,
                          clNone, clGray, r.anchorValue, r.plainText, r.anchorDetail, r.width, r.height,
                          r.anchors, r.mouseAnchor, r.hoverRect, nullptr, nullptr, 0, bdLeftToRight);
        EXPECT_TRUE(IsRed(1, 1));
        EXPECT_TRUE(IsRed(c.redUpTo - 1, c.redUpTo - 1));
        EXPECT_FALSE(IsRed(c.redUpTo + 1, c.redUpTo + 1));
    }
}

// System icons in pictures and in the body's corner pictures: the list's icon size, drawn transparently
// at their place (against the right edge for BGTOPRIGHT), printed ones stretched by the scale.
TEST_F(CaptionCanvas, SystemIconsArePicturesAndBodyCornerPictures) {
    HIMAGELIST small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(u"x", 0, nullptr, 0, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON));
    HIMAGELIST large = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(u"x", 0, nullptr, 0, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_LARGEICON));
    SHFILEINFOW info{};
    SHGetFileInfoW(u"notes.txt", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    struct Case {
        const char* name;
        const char16_t* markup;
        bool printing;
        double scale;
        HIMAGELIST list; // null: nothing is drawn
        int index;
        Integer width; // TextWidth: the line and 2
        int left;      // where the icon is drawn
        int drawn;     // side of the drawn square
    };
    const Case cases[] = {
        {"small icon of a file name", u"<img src=\"SSYS:/no/such/notes.txt\">", false, 1.0, small, info.iIcon,
         18, 1, 16},
        {"large icon by index, printed", u"<img src=\"LSYS:1\">", true, 2.0, large, 1, 34, 1, 64},
        {"index outside the list", u"<img src=\"SSYS:-1\">", false, 1.0, nullptr, 0, 0, 0, 0},
        {"body background", u"<body background=\"SSYS:2\">", false, 1.0, small, 2, 0, 1, 16},
        {"body top right", u"<body bgtopright=\"LSYS:3\">", false, 1.0, large, 3, 0, 200 - 32, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        CaptionResult r;
        RenderCaptionHTML(Canvas(), c.markup, Rect(0, 0, 200, 80), nullptr, -1, -1, -1, -1, 0, false, false,
                          c.printing, false, true, false, false, c.scale, clBlue, clNone, clNone, clGray,
                          r.anchorValue, r.plainText, r.anchorDetail, r.width, r.height, r.anchors,
                          r.mouseAnchor, r.hoverRect, nullptr, nullptr, 0, bdLeftToRight);
        EXPECT_EQ(r.width, c.width);

        // The icon as the list draws it on white, to compare with every pixel of the canvas.
        TBitmap icon;
        icon.SetSize(32, 32);
        icon.Canvas()->Brush()->SetColor(clWhite);
        icon.Canvas()->FillRect(Rect(0, 0, 32, 32));
        if (c.list) {
            ASSERT_TRUE(ImageList_Draw(c.list, c.index, icon.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT));
        }
        int size = c.drawn / std::max(1, int(c.scale));
        int mismatches = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 200; ++x) {
                bool inside = x >= c.left && x < c.left + c.drawn && y < c.drawn;
                TColor expected =
                    inside ? icon.Canvas()->Pixels((x - c.left) * size / c.drawn, y * size / c.drawn)
                           : clWhite;
                mismatches += Canvas()->Pixels(x, y) != expected;
            }
        EXPECT_EQ(mismatches, 0);
    }
}

} // namespace
