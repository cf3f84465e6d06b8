// Tests of the mini-HTML text utilities: entities, plain text, search marks and string primitives.
#include <gtest/gtest.h>

#include "platform/rtl/UString.h"
#include "render/AsgHTMLE.h"

namespace {

TEST(HTMLText, PlainTextAndStripping) {
    EXPECT_EQ(MiniHTMLToPlainText(u"a<BR>b<b>c</b>"), u"a\r\nbc");
    EXPECT_EQ(MiniHTMLToPlainText(u"a<hr>b<br>"), u"a\r\nb\r\n");
    EXPECT_EQ(MiniHTMLToPlainText(u"x<y"), u"x<y");
    EXPECT_EQ(MiniHTMLToPlainText(u"a&amp;<i>b"), u"a&amp;b");
    EXPECT_EQ(StripHTMLTags(u"<b>a</b>>c<d"), u"a>c<d");
    EXPECT_EQ(StripHTMLTags(u"a>b<c>d"), u"a>b<c>d");
}

TEST(HTMLText, EntityEncodingAndDecoding) {
    EXPECT_EQ(EncodeHTMLEntities(u"a<b & \"c\"", false), u"a&lt;b &amp; &quot;c&quot;");
    EXPECT_EQ(EncodeHTMLEntities(u"\u00E9\u20AC", true), u"&eacute;&euro;");
    EXPECT_EQ(EncodeHTMLEntities(u"\u00E9", false), u"\u00E9");
    EXPECT_EQ(DecodeHTMLEntities(u"&amp;lt;", false), u"&lt;");
    EXPECT_EQ(DecodeHTMLEntities(u"&lt;&gt;&quot;&eacute;", false), u"<>\"&eacute;");
    EXPECT_EQ(DecodeHTMLEntities(u"&Eacute;&euro;&nbsp;", true), u"\u00C9\u20AC&nbsp;");
    EXPECT_EQ(SpacesToNbsp(u"a b  c"), u"a&nbsp;b&nbsp;&nbsp;c");
}

// A literal "*amp;" stays as it is, and encoding then decoding gives back any text.
TEST(HTMLText, EncodingRoundTripsExactly) {
    const String texts[] = {u"*amp;",  u"a*amp;&b",   u"&amp;",         u"&amp;amp;",
                            u"<&lt;>", u"\"&quot;\"", u"\u00E9&eacute;"};
    EXPECT_EQ(EncodeHTMLEntities(u"*amp;", false), u"*amp;");
    for (const String& text : texts) {
        EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(text, false), false), text) << StringToUtf8(text);
        EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(text, true), true), text) << StringToUtf8(text);
    }
}

TEST(HTMLText, MarkTextMatches) {
    struct {
        const char16_t* text;
        const char16_t* search;
        bool fullText;
        bool caseSensitive;
        const char16_t* expected;
    } cases[] = {
        {u"abcabc", u"bc", false, false, u"a<HI>bc</HI>a<HI>bc</HI>"},
        {u"abcABC", u"bc", false, true, u"a<HI>bc</HI>ABC"},
        {u"<b>abc</b>", u"b", false, false, u"<b>a<HI>b</HI>c</b>"},
        {u"Total", u"total", true, true, u"Total"},
        {u"Total", u"total", true, false, u"<HI>Total</HI>"},
        {u"a<b", u"b", false, false, u"a&lt;<HI>b</HI>"},
        {u"abc", u"x", false, false, u"abc"},
        {u"abc", u"", false, false, u"abc"},
        {u"<i>x&amp;y</i>", u"&y", false, false, u"<i>x<HI>&amp;y</HI></i>"},
        {u"<font color=\"clRed\">ab</font>cd</b>", u"bc", false, false,
         u"<font color=\"clRed\">a<HI>b</font></HI><HI>c</HI>d</b>"},
        {u"\u00E9t\u00E9", u"\u00C9T\u00C9", true, false, u"<HI>&eacute;t&eacute;</HI>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MarkTextMatches(c.text, c.search, u"hi", c.fullText, c.caseSensitive), c.expected)
            << StringToUtf8(c.text) << " / " << StringToUtf8(c.search);
}

TEST(HTMLText, MarksComeOffAgain) {
    String marked = MarkTextMatches(u"abcabc", u"bc", u"hi", false, false);
    EXPECT_EQ(RemoveTextMarks(marked, u"hi"), u"abcabc");
    EXPECT_EQ(MarkTextMatches(marked, u"bc", u"hi", false, false), marked);
    // Encoded text comes back decoded once the marks are gone.
    EXPECT_EQ(RemoveTextMarks(MarkTextMatches(u"a<b", u"b", u"e", false, false), u"E"), u"a<b");
    EXPECT_EQ(RemoveTextMarks(u"<b>x<hi>y</HI></b>", u"hi"), u"<b>xy</b>");
    // Marking a marked text again, or a whole text with named entities, still comes off to the text.
    const String twice =
        MarkTextMatches(MarkTextMatches(u"a&b", u"a", u"hi", false, false), u"b", u"hi", false, false);
    EXPECT_EQ(twice, u"a&amp;<HI>b</HI>");
    EXPECT_EQ(RemoveTextMarks(twice, u"hi"), u"a&b");
    EXPECT_EQ(RemoveTextMarks(MarkTextMatches(u"\u00E9t\u00E9", u"\u00E9t\u00E9", u"hi", true, true), u"hi"),
              u"\u00E9t\u00E9");
}

TEST(HTMLText, StringPrimitives) {
    EXPECT_EQ(PosText(u"bC", u"aBcd"), 2);
    EXPECT_EQ(PosText(u"x", u"abc"), 0);
    EXPECT_EQ(PosText(u"", u"abc"), 0);
    Integer position = -1;
    EXPECT_EQ(PosUpper(u"CD", u"abcd", position), 3);
    EXPECT_EQ(position, 3);
    String text = u"a&AMP;b&amp;";
    EXPECT_TRUE(ReplaceFirstText(u"&amp;", u"&", text));
    EXPECT_EQ(text, u"a&b&amp;");
    EXPECT_FALSE(ReplaceFirstText(u"zz", u"y", text));

    struct {
        const char16_t* text;
        Integer value;
    } numbers[] = {{u"  42px", 42}, {u"-7", -7}, {u"$1F", 31}, {u"0x10", 16},
                   {u"abc", 0},     {u"", 0},    {u"+3", 3},   {u"99999999999999", 2147483647}};
    for (const auto& n : numbers)
        EXPECT_EQ(StrToIntLoose(n.text), n.value) << StringToUtf8(n.text);
    EXPECT_EQ(HexPairUnchecked(u'1', u'F'), 0x1F);
    EXPECT_EQ(HexPairUnchecked(u'A', u'0'), 0xA0);
    EXPECT_EQ(PasswordMask(u"abcd"), u"****");
    EXPECT_TRUE(IsFolderPath(u"/"));
    EXPECT_FALSE(IsFolderPath(u"/no/such/folder/here"));
}

} // namespace
