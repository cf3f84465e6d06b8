// Tests of the mini-HTML renderer on the fixed-metrics host: sizes, line breaking, tags, anchors,
// form controls and hit testing, plus a few drawn pixels through RenderMiniHTML on a bitmap.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/framework/ImgList.h"
#include "platform/rtl/UString.h"
#include "platform/win32/shell.h"
#include "platform/win32/sysconfig.h"
#include "render/AsgHTMLE.h"
#include "render/PictureContainer.h"
#include "tests/render/HTMLFuzzInput.h"
#include "tests/render/HTMLTestHost.h"
#include "tests/render/PictureFixtures.h"
#include "tests/support/TestSupport.h"

namespace {

THTMLRenderParams Params(Integer width = 300, Integer height = 200) {
    THTMLRenderParams params;
    params.bounds = TRect(0, 0, width, height);
    params.font.name = u"Arial";
    params.font.size = 8;
    params.font.color = clBlack;
    return params;
}

THTMLRenderResult Measure(const String& text, THTMLRenderParams params = Params()) {
    THTMLTestHost host;
    host.pictures[u"pic"] = TSize{20, 10};
    params.measureOnly = true;
    params.hitTestOnly = true;
    THTMLRenderResult result;
    RenderMiniHTMLOnHost(host, text, params, result);
    return result;
}

THTMLRenderResult Paint(THTMLTestHost& host, const String& text, THTMLRenderParams params = Params()) {
    THTMLRenderResult result;
    RenderMiniHTMLOnHost(host, text, params, result);
    return result;
}

THTMLRenderResult HitTest(const String& text, Integer x, Integer y, THTMLRenderParams params = Params()) {
    THTMLTestHost host;
    host.pictures[u"pic"] = TSize{20, 10};
    params.hitTestOnly = true;
    params.pointX = x;
    params.pointY = y;
    THTMLRenderResult result;
    RenderMiniHTMLOnHost(host, text, params, result);
    return result;
}

// ---- Sizes ----

struct TSizeCase {
    const char* name;
    const char16_t* text;
    Integer width; // of the rectangle
    bool wordWrap;
    Integer textWidth;
    Integer textHeight;
};

class HTMLSize : public testing::TestWithParam<TSizeCase> {};

TEST_P(HTMLSize, MeasuresOnFixedMetrics) {
    const TSizeCase& c = GetParam();
    THTMLRenderParams params = Params(c.width);
    params.wordWrap = c.wordWrap;
    THTMLRenderResult result = Measure(c.text, params);
    EXPECT_EQ(result.textWidth, c.textWidth);
    EXPECT_EQ(result.textHeight, c.textHeight);
}

// Characters are 6 pixels wide (7 bold, 9 at 12 points), lines 16 high (24 at 12 points).
const TSizeCase kSizeCases[] = {
    {"Empty", u"", 300, true, 0, 16},
    {"Plain", u"Hello", 300, true, 30, 16},
    {"TwoWords", u"Hello world", 300, true, 66, 16},
    {"TrailingSpaceNotCounted", u"ab ", 300, true, 12, 16},
    {"Bold", u"<b>ab</b>c", 300, true, 20, 16},
    {"LineBreak", u"a<br>bcd", 300, true, 18, 32},
    {"CarriageReturnLineFeed", u"a\r\nbcd", 300, true, 18, 32},
    {"FontSizeThree", u"<font size=\"3\">ab</font>c", 300, true, 24, 24},
    {"FontSizeNine", u"<font size=\"9\">ab</font>", 300, true, 12, 18},
    {"WrapAtSpace", u"aaaa bbbb", 40, true, 24, 32},
    {"LongWordAlone", u"aaaaaaaaaa bb", 40, true, 60, 32},
    {"AmpersandDrawsOnce", u"a &amp; b", 300, true, 30, 16},
    {"HashTagIsText", u"x<#5>y", 300, true, 24, 16},
    {"HiddenTextTakesNoWidth", u"<z>abc</z>d", 300, true, 6, 16},
    {"SubscriptRoom", u"a<sub>b</sub>", 300, true, 12, 20},
    {"SuperscriptRoom", u"a<sup>b</sup>", 300, true, 12, 20},
    {"Picture", u"<img src=\"pic\">a", 300, true, 26, 16},
    {"PictureWidthKeepsAspect", u"<img src=\"pic\" width=\"40\">", 300, true, 40, 20},
    {"PictureStretched", u"<img src=\"pic\" width=\"40\" height=\"30\">", 300, true, 40, 30},
    {"MissingPicture", u"<img src=\"nothing\">a", 300, true, 6, 16},
    {"PictureMovesToNextLine", u"aaaaa<img src=\"pic\">", 40, true, 30, 32},
    {"IndentOnEmptyLine", u"<ind x=\"40\">a", 300, true, 46, 16},
    {"IndentAfterWiderText", u"aaaaaaaaaa<ind x=\"40\">a", 300, true, 66, 16},
    {"ListItems", u"<ul><li>a<li>b</ul>", 300, true, 18, 48},
    {"ButtonHeight", u"<control type=\"BUTTON\" id=\"b\" width=\"50\" height=\"40\">", 300, true, 50, 38},
    {"EditControl", u"<control type=\"EDIT\" id=\"e\" width=\"50\">", 300, true, 50, 26},
    {"CheckControl", u"<control type=\"CHECK\" id=\"c\" value=\"TRUE\" width=\"20\">", 300, true, 16, 16},
    {"ControlWithoutWidthIgnored", u"<control type=\"EDIT\" id=\"e\">a", 300, true, 6, 16},
    {"NoWrapOverflowEndsText", u"aaaa<b>bbbbbbbb</b>cc<br>dd", 60, false, 80, 16},
    {"NoWrapBreakBeforeOverflow", u"aa<br>aaaa<b>bbbbbbbb</b>cc", 60, false, 80, 32},
    {"NoWrapFitsWhole", u"aaaa bbbb", 300, false, 54, 16},
    {"UnknownTagsConsumed", u"<q><xyz>ab</q>", 300, true, 12, 16},
    {"UnclosedTagDropsRest", u"ab<b cd", 300, true, 12, 16},
    {"ShortTagAtEndDropped", u"ab<b", 300, true, 12, 16},
};

INSTANTIATE_TEST_SUITE_P(Cases, HTMLSize, testing::ValuesIn(kSizeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HTMLRender, LinesBelowTheRectangleAreNotLaidOut) {
    THTMLTestHost host;
    THTMLRenderResult result = Paint(host, u"a<br>b<br>c", Params(300, 10));
    EXPECT_EQ(result.textHeight, 16);
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.texts[0].text, u"a");
    // A measure-only call lays every line out.
    EXPECT_EQ(Measure(u"a<br>b<br>c", Params(300, 10)).textHeight, 48);
}

TEST(HTMLRender, PlainTextHoldsRunsHiddenTextAndBreaks) {
    THTMLTestHost host;
    THTMLRenderResult result = Paint(host, u"<b>a &lt;b&gt;</b><z>h</z><br>&eacute;&EACUTE;");
    EXPECT_EQ(result.plainText, u"a <b>h\r\u00E9&EACUTE;");
}

TEST(HTMLRender, EndEllipsisOnlyWithoutWordWrap) {
    THTMLTestHost host;
    THTMLRenderParams params = Params(60);
    params.wordWrap = false;
    Paint(host, u"aaaa<b>bbbbbbbb</b>cc", params);
    ASSERT_NE(host.Text(u"bbbbbbbb"), nullptr);
    EXPECT_TRUE(host.Text(u"bbbbbbbb")->format & DT_END_ELLIPSIS);
    EXPECT_EQ(host.Text(u"cc"), nullptr);
    THTMLTestHost wrapped;
    Paint(wrapped, u"aaaa");
    EXPECT_EQ(wrapped.texts[0].format, DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING);
}

TEST(HTMLRender, AlignmentPlacesLinesAndIgnoresTrailingSpace) {
    THTMLTestHost host;
    Paint(host, u"<p align=\"right\">ab </p><p align=\"center\">cd", Params(101));
    // Right: the line rectangle is (1, 100); "ab " is 12 wide without its space.
    EXPECT_EQ(host.Text(u"ab ")->rect.Left, 101 - 12);
    EXPECT_EQ(host.Text(u"cd")->rect.Left, 1 + (100 - 12) / 2);
}

// ---- Tags ----

TEST(HTMLTags, StyleTagsSetAndClearFontBits) {
    struct {
        const char16_t* text;
        TFontStyle style;
    } cases[] = {{u"<b>x</b>y", fsBold},
                 {u"<i>x</i>y", fsItalic},
                 {u"<u>x</u>y", fsUnderline},
                 {u"<s>x</s>y", fsStrikeOut}};
    for (const auto& c : cases) {
        THTMLTestHost host;
        Paint(host, c.text);
        ASSERT_EQ(host.texts.size(), 2u) << StringToUtf8(c.text);
        EXPECT_TRUE(host.texts[0].font.style.Contains(c.style)) << StringToUtf8(c.text);
        EXPECT_FALSE(host.texts[1].font.style.Contains(c.style)) << StringToUtf8(c.text);
    }
}

TEST(HTMLTags, FontAttributes) {
    THTMLTestHost host;
    Paint(host, u"<font face=\"Courier\" color=\"clRed\" bgcolor=\"#102030\" size=\"4\">x</font>y");
    const auto* x = host.Text(u"x");
    EXPECT_EQ(x->font.name, u"COURIER");
    EXPECT_EQ(x->font.color, clRed);
    EXPECT_EQ(x->font.size, 14);
    EXPECT_EQ(x->background, TColor(0x302010));
    const auto* y = host.Text(u"y");
    EXPECT_EQ(y->font.name, u"Arial");
    EXPECT_EQ(y->font.color, clBlack);
    EXPECT_EQ(y->font.size, 8);
    EXPECT_EQ(y->background, clNone);
}

TEST(HTMLTags, SelectedTextKeepsItsColours) {
    THTMLTestHost host;
    THTMLRenderParams params = Params();
    params.selected = true;
    Paint(host, u"<font color=\"clRed\" bgcolor=\"clBlue\">x</font><a href=\"h\">y</a>", params);
    EXPECT_EQ(host.Text(u"x")->font.color, clBlack);
    EXPECT_EQ(host.Text(u"x")->background, clNone);
    EXPECT_EQ(host.Text(u"y")->font.color, clBlack);
}

TEST(HTMLTags, HighlightUsesRendererColours) {
    SetHTMLHighlightColors(clYellow, clNavy);
    THTMLTestHost host;
    Paint(host, u"a<hi>b</hi>c");
    SetHTMLHighlightColors(clHighlight, clHighlightText);
    EXPECT_EQ(host.Text(u"b")->background, clYellow);
    EXPECT_EQ(host.Text(u"b")->font.color, clNavy);
    EXPECT_EQ(host.Text(u"c")->background, clNone);
    EXPECT_EQ(host.Text(u"c")->font.color, clBlack);
}

TEST(HTMLTags, ErrorMarkDrawsZigzagUnderTheRun) {
    THTMLTestHost host;
    Paint(host, u"<e>abcd</e>x");
    auto lines = host.Shapes(u"line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].color, clRed);
    // From x 0 to past the run's right edge (1 + 24) in steps of 2.
    EXPECT_EQ(lines[0].rect.Left, 0);
    EXPECT_GE(lines[0].rect.Right, 25);
    EXPECT_EQ(lines[0].a, 1 + 13);
}

TEST(HTMLTags, ShadowDrawsOffsetCopyFirst) {
    THTMLTestHost host;
    THTMLRenderParams params = Params();
    params.shadowOffset = 2;
    params.shadowColor = clGray;
    Paint(host, u"<shad>ab</shad>", params);
    ASSERT_EQ(host.texts.size(), 2u);
    EXPECT_EQ(host.texts[0].font.color, clGray);
    EXPECT_EQ(host.texts[0].rect.Left, host.texts[1].rect.Left + 2);
    EXPECT_EQ(host.texts[0].rect.Bottom, host.texts[1].rect.Bottom + 2);
}

TEST(HTMLTags, RuleParagraphAndBodyBackgrounds) {
    THTMLTestHost host;
    Paint(host, u"<body bgcolor=\"clYellow\">a<hr>b<p bgcolor=\"#FF0000\">c</p>d");
    auto fills = host.Shapes(u"fill");
    ASSERT_GE(fills.size(), 2u);
    EXPECT_EQ(fills[0].color, clYellow);
    EXPECT_EQ(fills[0].rect, TRect(0, 0, 300, 200));
    EXPECT_EQ(fills[1].color, clRed);
    EXPECT_EQ(fills[1].rect.Top, 16);
    auto lines = host.Shapes(u"line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].color, clBlack);
    EXPECT_EQ(lines[0].rect.Top, 17);
}

TEST(HTMLTags, RotationBlinkAndSuperscript) {
    THTMLTestHost host;
    THTMLRenderParams params = Params();
    params.blinkVisible = false;
    params.brushColor = clWhite;
    Paint(host, u"<r a=\"90\">r</r>n<blink>b</blink>a<sup>s</sup>", params);
    EXPECT_EQ(host.Text(u"r")->font.orientation, 900);
    EXPECT_EQ(host.Text(u"n")->font.orientation, 0);
    EXPECT_EQ(host.Text(u"b")->font.color, clWhite);
    EXPECT_EQ(host.Text(u"a")->font.color, clBlack);
    // The line is 16 + 4 high; superscript text sits 4 above the base line.
    EXPECT_EQ(host.Text(u"s")->rect.Bottom, host.Text(u"a")->rect.Bottom - 4);
    // A closing SUP tag ends subscript as well.
    THTMLTestHost both;
    Paint(both, u"a<sub>b<sup>c</sup>d");
    EXPECT_EQ(both.Text(u"d")->rect.Bottom, both.Text(u"a")->rect.Bottom);
    EXPECT_GT(both.Text(u"b")->rect.Bottom, both.Text(u"a")->rect.Bottom);
}

TEST(HTMLTags, ParagraphIndentPictureAlignAndBodyBackground) {
    THTMLTestHost host;
    host.pictures[u"tile"] = TSize{100, 80};
    host.pictures[u"tall"] = TSize{10, 40};
    Paint(host, u"<body background=\"tile\"><p indent=\"20\">a<br>b<img src=\"tall\" align=\"top\">c"
                u"<img src=\"tall\" align=\"middle\">d");
    // Indent applies to its line and every following one.
    EXPECT_EQ(host.Text(u"a")->rect.Left, 21);
    EXPECT_EQ(host.Text(u"b")->rect.Left, 21);
    // A picture 40 high: after ALIGN top the text sits at the line top, after ALIGN middle half-way.
    EXPECT_EQ(host.Text(u"c")->rect.Bottom, 16 + 16);
    EXPECT_EQ(host.Text(u"d")->rect.Bottom, 16 + 40 - 12);
    // The background is tiled over the whole rectangle (300 x 200) inside a clip.
    auto tiles = host.Shapes(u"picture");
    EXPECT_EQ(std::count_if(tiles.begin(), tiles.end(), [](const auto& t) { return t.name == u"tile"; }),
              3 * 3);
    EXPECT_EQ(host.clipDepth, 0);
}

TEST(HTMLRender, RightToLeftLocaleFlipsAlignmentAndReading) {
    THTMLTestHost host;
    host.rtlLocale = true;
    THTMLRenderParams params = Params();
    params.biDiMode = bdRightToLeft;
    Paint(host, u"ab", params);
    EXPECT_EQ(host.texts[0].format & (DT_RIGHT | DT_RTLREADING), DT_RIGHT | DT_RTLREADING);
    THTMLTestHost leftToRight;
    leftToRight.rtlLocale = true;
    Paint(leftToRight, u"ab");
    EXPECT_EQ(leftToRight.texts[0].format & (DT_RIGHT | DT_RTLREADING), 0u);
}

TEST(HTMLTags, ListBulletsInSymbolFont) {
    THTMLTestHost host;
    Paint(host, u"<ul><li>a<ul><li>b</ul></ul>");
    std::vector<String> bullets;
    for (const auto& call : host.texts)
        if (call.font.name == u"Symbol")
            bullets.push_back(call.text);
    EXPECT_EQ(bullets, (std::vector<String>{u"\u00B7", u"o"}));
    EXPECT_EQ(host.Text(u"a")->rect.Left, 1 + 12);
    EXPECT_EQ(host.Text(u"b")->rect.Left, 1 + 24);
}

TEST(HTMLTags, EveryNamedEntityDecodesInRuns) {
    const char16_t* names[] = {
        u"eacute", u"egrave", u"euml",   u"ecirc",  u"oacute", u"ograve", u"ouml",   u"ocirc",  u"iacute",
        u"igrave", u"iuml",   u"icirc",  u"uacute", u"ugrave", u"uuml",   u"ucirc",  u"aacute", u"agrave",
        u"auml",   u"acirc",  u"Eacute", u"Egrave", u"Euml",   u"Ecirc",  u"Oacute", u"Ograve", u"Ouml",
        u"Ocirc",  u"Iacute", u"Igrave", u"Iuml",   u"Icirc",  u"Uacute", u"Ugrave", u"Uuml",   u"Ucirc",
        u"Aacute", u"Agrave", u"Auml",   u"Acirc",  u"ccedil", u"Ccedil", u"oslash", u"Oslash", u"aring",
        u"Aring",  u"copy",   u"reg",    u"euro",   u"laquo",  u"raquo"};
    const String expected =
        u"\u00E9\u00E8\u00EB\u00EA\u00F3\u00F2\u00F6\u00F4\u00ED\u00EC\u00EF\u00EE\u00FA\u00F9\u00FC\u00FB"
        u"\u00E1\u00E0\u00E4\u00E2\u00C9\u00C8\u00CB\u00CA\u00D3\u00D2\u00D6\u00D4\u00CD\u00CC\u00CF\u00CE"
        u"\u00DA\u00D9\u00DC\u00DB\u00C1\u00C0\u00C4\u00C2\u00E7\u00C7\u00F8\u00D8\u00E5\u00C5\u00A9\u00AE"
        u"\u20AC\u00AB\u00BB";
    String text;
    for (const char16_t* name : names)
        text += u"&" + String(name) + u";";
    THTMLTestHost host;
    EXPECT_EQ(Paint(host, text + u"&nbsp;&lt;&gt;").plainText, expected + u" <>");
    // The preprocessing entities match in any case.
    EXPECT_EQ(Paint(host, u"&QUOT;&Sect;&permil;&REG;&copy;&para;&trade;&euro;&AMP;").plainText,
              u"\"\u00A7\u2030\u00AE\u00A9\u00B6\u2122\u20AC&&");
}

TEST(HTMLTags, ParseHTMLColorTable) {
    struct {
        const char16_t* value;
        TColor color;
    } cases[] = {
        {u"clred", clRed},       {u"red", 0},    {u"cl3ddkshadow", TColor(0xFF000015)},
        {u"#123456", 0x563412},  {u"#12", 0x12}, {u"#zz3456", 0x563400},
        {u"clyellow", clYellow}, {u"clzzz", 0},  {u"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHTMLColor(c.value), c.color) << StringToUtf8(c.value);
    // The markup lower-cases names first, so any case works there.
    THTMLTestHost host;
    Paint(host, u"<font color=\"clRed\">a</font><font color=\"cl3dDkShadow\">b</font>");
    EXPECT_EQ(host.Text(u"a")->font.color, clRed);
    EXPECT_EQ(host.Text(u"b")->font.color, TColor(0xFF000015));
}

// ---- Anchors and hit testing ----

TEST(HTMLAnchors, HitTestOnAnchorText) {
    const String text = u"ab <a href=\"Link\" title=\"Tip\">cdef</a> gh";
    // "ab " takes 1..19, "cdef" 19..43 on the line starting at x 1.
    THTMLRenderResult on = HitTest(text, 25, 8);
    EXPECT_TRUE(on.hit);
    EXPECT_EQ(on.anchorValue, u"Link");
    EXPECT_EQ(on.anchorTitle, u"Tip");
    EXPECT_EQ(on.mouseAnchor, 1);
    EXPECT_EQ(on.hoverRect, TRect(19, 0, 43, 16));
    EXPECT_EQ(on.anchorCount, 1);

    THTMLRenderParams params = Params();
    THTMLTestHost host;
    params.hitTestOnly = true;
    params.pointX = 50;
    params.pointY = 8;
    THTMLRenderResult off;
    off.anchorValue = u"x";
    RenderMiniHTMLOnHost(host, text, params, off);
    EXPECT_FALSE(off.hit);
    EXPECT_EQ(off.anchorValue, u"x");
    EXPECT_EQ(off.mouseAnchor, -1);
}

TEST(HTMLAnchors, HitTestReportsCentredPositions) {
    THTMLRenderParams params = Params(101);
    const String text = u"<p align=\"center\"><a href=\"L\">abcd</a>";
    // The line of 24 pixels is centred: left 1 + 38.
    EXPECT_TRUE(HitTest(text, 45, 8, params).hit);
    EXPECT_FALSE(HitTest(text, 5, 8, params).hit);
    EXPECT_EQ(HitTest(text, 45, 8, params).hoverRect.Left, 39);
}

TEST(HTMLAnchors, HoverOnlyStylesOneAnchor) {
    for (bool hoverOnly : {true, false}) {
        THTMLTestHost host;
        THTMLRenderParams params = Params();
        params.hoverOnly = hoverOnly;
        params.hoverIndex = 2;
        params.anchorColor = clBlue;
        Paint(host, u"<a href=\"1\">one</a> <a href=\"2\">two</a>", params);
        EXPECT_EQ(host.Text(u"one")->font.style.Contains(fsUnderline), !hoverOnly);
        EXPECT_TRUE(host.Text(u"two")->font.style.Contains(fsUnderline));
        EXPECT_EQ(host.Text(u"one")->font.color, clBlue);
        EXPECT_EQ(host.Text(u" ")->font.color, clBlack);
    }
}

TEST(HTMLAnchors, HoverColours) {
    THTMLTestHost host;
    THTMLRenderParams params = Params();
    params.hoverIndex = 1;
    params.hoverBrushColor = clYellow;
    params.hoverFontColor = clRed;
    Paint(host, u"<a href=\"1\">one</a>x", params);
    EXPECT_EQ(host.Text(u"one")->background, clYellow);
    EXPECT_EQ(host.Text(u"one")->font.color, clRed);
    EXPECT_EQ(host.Text(u"x")->background, clNone);
    EXPECT_EQ(host.Text(u"x")->font.color, clBlack);
}

TEST(HTMLAnchors, FocusRectangleOnEveryLineOfTheAnchor) {
    THTMLTestHost host;
    THTMLRenderParams params = Params(40);
    params.focusIndex = 0;
    THTMLRenderResult result =
        Paint(host, u"<a href=\"first\">aaaa bbbb</a> <a href=\"second\">c</a>", params);
    EXPECT_EQ(result.focusAnchor, u"first");
    EXPECT_EQ(host.Shapes(u"focus").size(), 2u);
    EXPECT_EQ(result.anchorCount, 2);
}

TEST(HTMLAnchors, PictureInsideAnchorIsHitAndDrawnFromAlt) {
    const String text = u"<a href=\"P\"><img src=\"pic\" alt=\"alt\"></a>";
    THTMLRenderResult result = HitTest(text, 10, 5);
    EXPECT_TRUE(result.hit);
    EXPECT_EQ(result.anchorValue, u"P");
    THTMLTestHost host;
    host.pictures[u"pic"] = TSize{20, 10};
    host.pictures[u"alt"] = TSize{20, 10};
    THTMLRenderParams params = Params();
    params.pointX = 10;
    params.pointY = 5;
    Paint(host, text, params);
    auto drawn = host.Shapes(u"picture");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].name, u"alt");
    THTMLTestHost away;
    away.pictures[u"pic"] = TSize{20, 10};
    Paint(away, text);
    EXPECT_EQ(away.Shapes(u"picture")[0].name, u"pic");
}

// ---- Form controls ----

TEST(HTMLControls, HitTestFindsControlAtPointOrByID) {
    const String text = u"ab<control type=\"EDIT\" id=\"e1\" value=\"v&lt;1\" width=\"50\">"
                        u"<control type=\"COMBO\" id=\"k1\" value=\"x\" width=\"60\">";
    // The edit starts at 1 + 12 and is 50 wide; its layout height is 16 + 10.
    THTMLRenderResult edit = HitTest(text, 20, 10);
    EXPECT_TRUE(edit.hit);
    EXPECT_EQ(edit.anchorValue, u"ctrl");
    EXPECT_EQ(edit.controlID, u"e1");
    EXPECT_EQ(edit.controlType, u"EDIT");
    EXPECT_EQ(edit.controlValue, u"v<1");
    EXPECT_EQ(edit.controlRect, TRect(13, 0, 63, 26));

    THTMLRenderParams params = Params();
    params.hitTestOnly = true;
    THTMLTestHost host;
    THTMLRenderResult byID;
    byID.controlID = u"k1";
    RenderMiniHTMLOnHost(host, text, params, byID);
    EXPECT_TRUE(byID.hit);
    EXPECT_EQ(byID.controlRect, TRect(63, 0, 123, 25));
    EXPECT_EQ(byID.controlValue, u"x");

    EXPECT_FALSE(HitTest(text, 5, 10).hit);
}

TEST(HTMLControls, ThemedAndClassicDrawing) {
    const String text = u"<control type=\"CHECK\" id=\"c\" value=\"TRUE\" width=\"20\">"
                        u"<control type=\"RADIO\" id=\"r\" value=\"false\" width=\"20\">"
                        u"<control type=\"BUTTON\" id=\"b\" value=\"Go\" width=\"40\">"
                        u"<control type=\"COMBO\" id=\"k\" value=\"x\" width=\"40\">";
    THTMLTestHost themed;
    themed.themed = true;
    THTMLRenderParams params = Params();
    params.controlPressed = true;
    params.pressedControlID = u"b";
    Paint(themed, text, params);
    auto parts = themed.Shapes(u"theme");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(std::make_tuple(parts[0].name, parts[0].a, parts[0].b),
              std::make_tuple(String(u"button"), 3, 5));
    EXPECT_EQ(std::make_tuple(parts[1].name, parts[1].a, parts[1].b),
              std::make_tuple(String(u"button"), 2, 1));
    EXPECT_EQ(std::make_tuple(parts[2].name, parts[2].a, parts[2].b),
              std::make_tuple(String(u"button"), 1, 3));
    EXPECT_EQ(std::make_tuple(parts[3].name, parts[3].a, parts[3].b),
              std::make_tuple(String(u"combobox"), 1, 1));
    EXPECT_EQ(themed.Shapes(u"rect")[0].color, TColor(0x00B99D7F));
    ASSERT_NE(themed.Text(u"Go"), nullptr);
    EXPECT_TRUE(themed.Text(u"Go")->format & DT_CENTER);

    THTMLTestHost classic;
    Paint(classic, text, params);
    auto frames = classic.Shapes(u"frame");
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].b, Integer(DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED));
    EXPECT_EQ(frames[1].b, Integer(DFCS_BUTTONRADIO | DFCS_FLAT));
    EXPECT_EQ(frames[2].b, Integer(DFCS_BUTTONPUSH));
    EXPECT_EQ(frames[3].a, Integer(DFC_SCROLL));
    EXPECT_EQ(classic.Shapes(u"rect")[0].color, TColor(0x00808080));
}

TEST(HTMLControls, PasswordShowsMask) {
    THTMLTestHost host;
    Paint(host, u"<control type=\"PASSWORD\" id=\"p\" value=\"abc\" width=\"50\">");
    EXPECT_NE(host.Text(u"***"), nullptr);
}

TEST(HTMLControls, TextRoutines) {
    String text = u"<control type=\"EDIT\" id=\"e1\" value=\"a\" width=\"30\" maxlen=\"12x\" prop=\"99&lt;\">"
                  u"<control type=\"CHECK\" id=\"c1\" value=\"TRUE\" width=\"20\">"
                  u"<CONTROL TYPE=\"COMBO\" ID=\"k1\" WIDTH=\"40\">";
    EXPECT_TRUE(ContainsControlTag(text));
    EXPECT_FALSE(ContainsControlTag(u"<b>x</b>"));
    EXPECT_EQ(NextEditableControlID(text, u""), u"e1");
    EXPECT_EQ(NextEditableControlID(text, u"e1"), u"k1");
    EXPECT_EQ(NextEditableControlID(text, u"k1"), u"");
    EXPECT_EQ(ReadControlMaxLen(text, u"e1"), 12);
    EXPECT_EQ(ReadControlMaxLen(u"<control id=\"m\" maxlen=\"99999999999\">", u"m"), 1000000000);
    EXPECT_EQ(ReadControlProp(text, u"e1"), u"99<");
    String value;
    EXPECT_FALSE(ReadControlValue(text, u"zz", value));

    ASSERT_TRUE(WriteControlValue(text, u"c1", u"FALSE"));
    EXPECT_NE(text.find(u"<CONTROL ID=\"c1\" VALUE=\"FALSE\" WIDTH=\"20\" TYPE=\"CHECK\">"), String::npos);
    ASSERT_TRUE(WriteControlValue(text, u"e1", u"x<y"));
    EXPECT_NE(text.find(u"VALUE=\"x&lt;y\" WIDTH=\"30\" TYPE=\"EDIT\" PROP=\"99&lt;\" MAXLEN=\"12x\">"),
              String::npos);
    ASSERT_TRUE(ReadControlValue(text, u"e1", value));
    EXPECT_EQ(value, u"x<y");
    String before = text;
    EXPECT_FALSE(WriteControlValue(text, u"none", u"v"));
    EXPECT_EQ(text, before);
}

TEST(HTMLControls, UncheckAllRadioControls) {
    String text = u"a<control type=\"RADIO\" id=\"r1\" value=\"TRUE\" width=\"20\">"
                  u"<control type=\"CHECK\" id=\"c1\" value=\"TRUE\" width=\"20\">"
                  u"<control type=\"RADIO\" id=\"r2\" value=\"FALSE\" width=\"20\">b";
    String result = UncheckAllRadioControls(text);
    String value;
    ReadControlValue(result, u"r1", value);
    EXPECT_EQ(value, u"FALSE");
    ReadControlValue(result, u"r2", value);
    EXPECT_EQ(value, u"FALSE");
    ReadControlValue(result, u"c1", value);
    EXPECT_EQ(value, u"TRUE");
    EXPECT_EQ(result.front(), u'a');
    EXPECT_EQ(result.back(), u'b');
}

// ---- Layout dump ----

TEST(HTMLLayout, DumpMatchesExpected) {
    THTMLTestHost host;
    host.pictures[u"pic"] = TSize{20, 10};
    const String text = u"<p align=\"right\">Hello <b>bold</b> world<br><img src=\"pic\"> "
                        u"<control type=\"EDIT\" id=\"e\" width=\"50\"> <a href=\"x\">link text</a>";
    String dump = DumpMiniHTMLLayout(host, text, Params(100));
    std::ifstream file(ZELMOR_RENDER_FIXTURES "/layout-basic.txt");
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(StringToUtf8(dump), expected.str());
}

// ---- Bad markup ----

TEST(HTMLRobustness, BadMarkupEndsInEveryMode) {
    const String cases[] = {
        u"<",
        u"<<",
        u"<<<<<<",
        u"<#",
        u"<#<#<#>",
        u"<<#a>>#",
        u"&",
        u"&amp",
        u"&amp;amp;amp;",
        u"</",
        u"</>",
        u"<a href=\"x\"",
        u"<a href=\"x>",
        u"<img src=\"pic\" width=\"99999999999\" height=\"-5\">",
        u"<control type=\"BUTTON\" width=\"2147483647\" height=\"99999999\">",
        u"<control type=\"CHECK\" width=\"-500\"><control type=\"EDIT\" width=\"-5\">a",
        u"<font size=\"99999999999999\">x",
        u"<font color=\"#\">x<font color=\"#1\">",
        u"<p indent=\"-99999\">x",
        u"<ind x=\"2147483647\">x",
        u"<r a=\"2147483647\">x</r></r>",
        u"</ul></ul></p></a></font></hi></sup>",
        u"<li><li><li><li>",
        u"<p bgcolor=\"\">",
        u"<body background=\"pic\">",
        u"\r\r\n\n<br><hr>",
    };
    String deep;
    for (int i = 0; i < 2000; ++i)
        deep += u"<ul><li><b><font size=\"5\"><a href=\"x\">";
    for (const String& text : cases) {
        for (const TRect& bounds : {TRect(0, 0, 100, 100), TRect(0, 0, 0, 0), TRect(50, 50, 10, 10)}) {
            for (int mode = 0; mode < 3; ++mode) {
                THTMLTestHost host;
                host.pictures[u"pic"] = TSize{20, 10};
                THTMLRenderParams params = Params();
                params.bounds = bounds;
                params.hitTestOnly = mode == 1;
                params.measureOnly = mode == 2;
                params.pointX = 5;
                params.pointY = 5;
                params.focusIndex = 0;
                THTMLRenderResult result;
                RenderMiniHTMLOnHost(host, text, params, result);
                EXPECT_GE(result.textHeight, 0);
            }
        }
    }
    THTMLTestHost host;
    THTMLRenderResult result;
    THTMLRenderParams params = Params();
    params.measureOnly = true;
    RenderMiniHTMLOnHost(host, deep, params, result);
    EXPECT_GT(result.textHeight, 0);
}

// Every crash input the fuzzer found, and the bad markup the renderer once could not take, each
// rendered as the fuzz target renders it; the fuzz target's corpus, with the inputs it kept, too.
TEST(HTMLRobustness, FuzzFixtures) {
    int files = 0;
    for (const char* folder : {ZELMOR_RENDER_FIXTURES "/fuzz", ZELMOR_RENDER_FIXTURES "/../fuzz/corpus/html"})
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream file(entry.path(), std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            SCOPED_TRACE(entry.path().filename().string());
            EXPECT_GT(RenderHTMLFuzzInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
            ++files;
        }
    EXPECT_GT(files, 0);
}

// ---- On a real canvas ----

TEST(HTMLCanvas, DrawsColouredTextAndRestoresTheCanvas) {
    TBitmap bitmap(120, 40);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 120, 40));
    canvas->Font()->SetName(u"Arial");
    canvas->Font()->SetSize(10);
    canvas->Font()->SetColor(clBlack);
    canvas->Pen()->SetColor(clGreen);
    String anchor, plain, focus, title, id, value, type;
    Integer width = 0, height = 0, count = 0, mouse = 0;
    TRect hover, control;
    bool hit = RenderMiniHTML(canvas, u"<p bgcolor=\"#0000FF\"><font color=\"clRed\">WWW</font></p>",
                              TRect(0, 0, 120, 40), nullptr, -1, -1, -1, -1, 0, false, false, false, false,
                              true, true, true, false, u"", 1.0, clBlue, clNone, clNone, clGray, anchor,
                              plain, focus, title, width, height, count, mouse, hover, control, id, value,
                              type, nullptr, nullptr, nullptr, bdLeftToRight);
    EXPECT_FALSE(hit);
    EXPECT_EQ(plain, u"WWW");
    EXPECT_GT(width, 0);
    int red = 0, blue = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 120; ++x) {
            TColor pixel = canvas->Pixels(x, y);
            // Glyph edges are blended with the background, so count reddish pixels.
            red += (pixel & 0xFF) > 0x80 && ((pixel >> 8) & 0xFF) < 0x60;
            blue += pixel == TColor(0xFF0000);
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(blue, 100);
    // Below the paragraph's line the bitmap stays white.
    EXPECT_EQ(canvas->Pixels(60, 39), clWhite);
    EXPECT_EQ(canvas->Font()->Color(), clBlack);
    EXPECT_EQ(canvas->Font()->Size(), 10);
    EXPECT_EQ(canvas->Pen()->Color(), clGreen);
    EXPECT_EQ(canvas->Brush()->Color(), clWhite);
}

// Measured runs are remembered between calls: a change of font (the canvas's or the markup's), text or
// mapping must still measure anew, so each case, measured after the others, agrees with the canvas's own
// width of the text in the font the markup asks for.
TEST(HTMLCanvas, MeasuredWidthsFollowFontTextAndMapping) {
    struct Case {
        Integer canvasSize;
        const char16_t* markup;
        const char16_t* face; // what the text is drawn in
        Integer size;
        TFontStyles style;
        const char16_t* text;
        bool scaled; // logical units of half a pixel
    };
    const Case cases[] = {
        {8, u"Wide MMM", u"Arial", 8, {}, u"Wide MMM", false},
        {12, u"Wide MMM", u"Arial", 12, {}, u"Wide MMM", false},
        {8, u"<font size=\"3\">Wide MMM</font>", u"Arial", 12, {}, u"Wide MMM", false},
        {8, u"<b>Wide MMM</b>", u"Arial", 8, {fsBold}, u"Wide MMM", false},
        {8, u"<font face=\"Courier New\">Wide MMM</font>", u"Courier New", 8, {}, u"Wide MMM", false},
        {8,
         u"<font face=\"Courier New\"><b>Wide MMMM</b></font>",
         u"Courier New",
         8,
         {fsBold},
         u"Wide MMMM",
         false},
        {8, u"Wide MMM", u"Arial", 8, {}, u"Wide MMM", true},
    };
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases) {
            SCOPED_TRACE(StringToUtf8(c.markup) + (c.scaled ? " scaled" : ""));
            TBitmap bitmap(200, 40);
            TCanvas* canvas = bitmap.Canvas();
            canvas->Font()->SetName(u"Arial");
            canvas->Font()->SetSize(c.canvasSize);
            if (c.scaled) {
                SetMapMode(canvas->Handle(), MM_ANISOTROPIC);
                SetWindowExtEx(canvas->Handle(), 2, 2, nullptr);
                SetViewportExtEx(canvas->Handle(), 1, 1, nullptr);
            }
            String anchor, plain, focus, title, id, value, type;
            Integer width = 0, height = 0, count = 0, mouse = 0;
            TRect hover, control;
            RenderMiniHTML(canvas, c.markup, TRect(0, 0, 400, 80), nullptr, -1, -1, -1, -1, 0, false, true,
                           false, false, true, true, true, false, u"", 1.0, clBlue, clNone, clNone, clGray,
                           anchor, plain, focus, title, width, height, count, mouse, hover, control, id,
                           value, type, nullptr, nullptr, nullptr, bdLeftToRight);
            canvas->Font()->SetName(c.face);
            canvas->Font()->SetSize(c.size);
            canvas->Font()->SetStyle(c.style);
            EXPECT_EQ(width, canvas->TextWidth(c.text));
            EXPECT_EQ(height, canvas->TextHeight(c.text));
        }
}

// Pictures by name from the container and by index from the image list, drawn and hit.
TEST(HTMLCanvas, ContainerAndImageListPictures) {
    TPictureContainer container(nullptr);
    TPictureItem* item = container.Items()->Add();
    item->SetName(u"Logo");
    TMemoryStream stream;
    picture_fixtures::Fill(stream, picture_fixtures::Png()); // 6 x 4, left half red
    item->Picture()->LoadFromStream(stream);
    TCustomImageList images(16, 16);
    TBitmap green(16, 16);
    green.Canvas()->Brush()->SetColor(clLime);
    green.Canvas()->FillRect(TRect(0, 0, 16, 16));
    images.Add(&green, nullptr);

    TBitmap bitmap(100, 30);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 100, 30));
    const String text = u"<a href=\"L\"><img src=\"logo\" width=\"12\"></a><img src=\"IDX:0\">";
    auto render = [&](Integer x, Integer y, bool hitTest, Integer& width, String& anchor) {
        String plain, focus, title, id, value, type;
        Integer height = 0, count = 0, mouse = 0;
        TRect hover, control;
        return RenderMiniHTML(canvas, text, TRect(0, 0, 100, 30), &images, x, y, -1, -1, 0, hitTest, false,
                              false, false, true, true, true, false, u"", 1.0, clBlue, clNone, clNone, clGray,
                              anchor, plain, focus, title, width, height, count, mouse, hover, control, id,
                              value, type, nullptr, &container, nullptr, bdLeftToRight);
    };
    Integer width = 0;
    String anchor;
    render(-1, -1, false, width, anchor);
    EXPECT_EQ(width, 12 + 16);
    // The logo is stretched to 12 x 8 at x 1; the list image follows at x 13.
    EXPECT_EQ(canvas->Pixels(3, 3), clRed);
    EXPECT_EQ(canvas->Pixels(10, 3), clBlue);
    EXPECT_EQ(canvas->Pixels(20, 8), clLime);
    EXPECT_EQ(canvas->Pixels(60, 8), clWhite);
    EXPECT_TRUE(render(5, 4, true, width, anchor));
    EXPECT_EQ(anchor, u"L");
    anchor.clear();
    EXPECT_FALSE(render(20, 4, true, width, anchor));
}

// Check boxes on both drawing paths: visual styles on and off.
TEST(HTMLCanvas, CheckBoxThemedAndClassic) {
    const String text = u"<control type=\"CHECK\" id=\"c\" value=\"TRUE\" width=\"20\">";
    for (bool themes : {true, false}) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themes;
        win32::SetSystemSettings(settings);
        TBitmap bitmap(60, 30);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect(0, 0, 60, 30));
        String anchor, plain, focus, title, id, value, type;
        Integer width = 0, height = 0, count = 0, mouse = 0;
        TRect hover, control;
        RenderMiniHTML(canvas, text, TRect(0, 0, 60, 30), nullptr, -1, -1, -1, -1, 0, false, false, false,
                       false, true, true, true, false, u"", 1.0, clBlue, clNone, clNone, clGray, anchor,
                       plain, focus, title, width, height, count, mouse, hover, control, id, value, type,
                       nullptr, nullptr, nullptr, bdLeftToRight);
        EXPECT_EQ(width, 16);
        // The box lies at (2, 1)-(15, 16) on the line of 16: drawn inside, white a pixel away from it
        // (a themed part may blend its edge into the next pixel).
        int inside = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                bool white = ColorToRGB(canvas->Pixels(x, y)) == 0xFFFFFF;
                if (x >= 2 && x < 15 && y >= 1 && y < 16) {
                    inside += !white;
                } else if (x < 1 || x > 15 || y > 16) {
                    EXPECT_TRUE(white) << "themes " << themes << " at " << x << "," << y;
                }
            }
        EXPECT_GT(inside, 20) << "themes " << themes;
        bool hit = RenderMiniHTML(canvas, text, TRect(0, 0, 60, 30), nullptr, 8, 8, -1, -1, 0, true, false,
                                  false, false, true, true, true, false, u"", 1.0, clBlue, clNone, clNone,
                                  clGray, anchor, plain, focus, title, width, height, count, mouse, hover,
                                  control, id, value, type, nullptr, nullptr, nullptr, bdLeftToRight);
        EXPECT_TRUE(hit);
        EXPECT_EQ(id, u"c");
    }
    win32::ResetSystemSettings();
}

// System icons: a path or an index after "SSYS:" (small) or "LSYS:" (large) takes the list's icon size
// and is drawn transparently at the picture's place; printed, it is stretched by the scale. The body
// background does not tile them.
TEST(HTMLCanvas, SystemIconPictures) {
    std::filesystem::path folder = testing_support::MakeTestFolder("zelmor-html-icons");
    const String folderName = Utf8ToString(folder.string());
    auto iconOf = [](const char16_t* path, DWORD attributes, UINT size, HIMAGELIST& list) {
        SHFILEINFOW info{};
        list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
            path, attributes, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | size));
        return info.iIcon;
    };
    HIMAGELIST small = nullptr, large = nullptr;
    const int textIcon = iconOf(u"todo.txt", 0, SHGFI_SMALLICON, small);
    const int folderIcon = iconOf(u"any", FILE_ATTRIBUTE_DIRECTORY, SHGFI_SMALLICON, small);
    iconOf(u"any", 0, SHGFI_LARGEICON, large);
    ASSERT_NE(textIcon, folderIcon);

    struct Case {
        const char* name;
        String markup;
        bool printing;
        double scale;
        HIMAGELIST list; // null: nothing is drawn
        int index;
        Integer width; // laid out
        int drawn;     // side of the drawn square
    };
    const Case cases[] = {
        {"file name not on disk", u"<img src=\"SSYS:C:\\notes\\todo.txt\">", false, 1.0, small, textIcon, 16,
         16},
        {"folder on disk", u"<img src=\"ssys:" + folderName + u"\">", false, 1.0, small, folderIcon, 16, 16},
        {"large icon by index", u"<img src=\"LSYS:1\">", false, 1.0, large, 1, 32, 32},
        {"printed and stretched", u"<img src=\"SSYS:0\">", true, 2.0, small, 0, 16, 32},
        {"index outside the list", u"<img src=\"SSYS:9999\">", false, 1.0, nullptr, 0, 0, 0},
        {"no tiled background", u"<body background=\"SSYS:0\">", false, 1.0, nullptr, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap bitmap(60, 40);
        TCanvas* canvas = bitmap.Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(TRect(0, 0, 60, 40));
        String anchor, plain, focus, title, id, value, type;
        Integer width = -1, height = 0, count = 0, mouse = 0;
        TRect hover, control;
        RenderMiniHTML(canvas, c.markup, TRect(0, 0, 60, 40), nullptr, -1, -1, -1, -1, 0, false, false,
                       c.printing, false, true, true, true, false, u"", c.scale, clBlue, clNone, clNone,
                       clGray, anchor, plain, focus, title, width, height, count, mouse, hover, control, id,
                       value, type, nullptr, nullptr, nullptr, bdLeftToRight);
        EXPECT_EQ(width, c.width);

        // The icon as the list draws it on white, to compare with every pixel of the picture's square.
        TBitmap icon(32, 32);
        icon.Canvas()->Brush()->SetColor(clWhite);
        icon.Canvas()->FillRect(TRect(0, 0, 32, 32));
        if (c.list) {
            ASSERT_TRUE(ImageList_Draw(c.list, c.index, icon.Canvas()->Handle(), 0, 0, ILD_TRANSPARENT));
        }
        // Pictures start one pixel into the line, at its top.
        const int left = 1;
        int size = c.drawn / std::max(1, int(c.scale));
        int mismatches = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                bool inside = x >= left && x < left + c.drawn && y < c.drawn;
                TColor expected =
                    inside ? icon.Canvas()->Pixels((x - left) * size / c.drawn, y * size / c.drawn) : clWhite;
                mismatches += canvas->Pixels(x, y) != expected;
            }
        EXPECT_EQ(mismatches, 0);
    }
    std::filesystem::remove_all(folder);
}

} // namespace
