// Tests of the grid's HTML helpers: the clipboard "HTML Format" text, line breaks, colours and links.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/UString.h"

namespace {

// The number after name in the clipboard header.
int HeaderValue(const std::string& text, const std::string& name) {
    const size_t at = text.find(name);
    if (at == std::string::npos)
        return -1;
    return std::stoi(text.substr(at + name.size(), 8));
}

TEST(AdvUtilHTMLTest, ClipboardTextOfAnEmptyFragment) {
    String text;
    MakeClipboardHTML(text);
    EXPECT_EQ(text, u"Version:1.0\r\n"
                    u"StartHTML:00000097\r\n"
                    u"EndHTML:00000306\r\n"
                    u"StartFragment:00000274\r\n"
                    u"EndFragment:00000274\r\n"
                    u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
                    u"<html><head><META http-equiv=Content-Type content=\"text/html; charset=iso-8859-1\">"
                    u"</head><body><!--StartFragment-->"
                    u"<!--EndFragment--></body></html>");
}

// The offsets are byte offsets of the UTF-8 text the clipboard carries: each must land exactly on the
// part it names.
TEST(AdvUtilHTMLTest, ClipboardOffsetsCountUTF8Bytes) {
    struct Case {
        const Char* fragment;
        int endHTML;
        int endFragment;
    };
    const std::vector<Case> cases = {
        {u"0123456789", 316, 284},
        {u"\u00e9", 308, 276},
        {u"<td>\u4e2d\U0001F600</td>", 306 + 16, 274 + 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.fragment));
        String text = c.fragment;
        MakeClipboardHTML(text);
        const std::string bytes = StringToUtf8(text);
        EXPECT_EQ(HeaderValue(bytes, "StartHTML:"), 97);
        EXPECT_EQ(HeaderValue(bytes, "StartFragment:"), 274);
        EXPECT_EQ(HeaderValue(bytes, "EndFragment:"), c.endFragment);
        EXPECT_EQ(HeaderValue(bytes, "EndHTML:"), c.endHTML);
        EXPECT_EQ(bytes.substr(97, 9), "<!DOCTYPE");
        EXPECT_EQ(bytes.substr(274, static_cast<size_t>(c.endFragment - 274)), StringToUtf8(c.fragment));
        EXPECT_EQ(static_cast<int>(bytes.size()), c.endHTML);
    }
}

TEST(AdvUtilHTMLTest, BreakTagsAndColours) {
    EXPECT_EQ(CRToBreakTag(u"a\r\nb"), u"a<br>\nb");
    EXPECT_EQ(CRToBreakTag(u"a\rb\r"), u"a<br>b<br>");
    EXPECT_EQ(CRToBreakTag(u"a\nb"), u"a\nb");

    EXPECT_EQ(ColorToHexRGB(0x000180FF), u"FF8001");
    EXPECT_EQ(ColorToHexRGB(0), u"000000");
    EXPECT_EQ(ColorToHexRGB(0x00FFFFFF), u"FFFFFF");
    EXPECT_EQ(ColorToHexRGB(0x00AB0000), u"0000AB");
}

TEST(AdvUtilHTMLTest, InsertURLAnchor) {
    struct Case {
        const Char* text;
        const Char* prefix;
        bool found;
        const Char* html;
    };
    const std::vector<Case> cases = {
        {u"write to mailto:me@x.org?subject=hi", u"MAILTO:", true,
         u"write to <a href=\"mailto:me@x.org\">mailto:me@x.org</a>?subject=hi"},
        {u"a<b ftp://x", u"FTP://", true, u"a&lt;b <a href=\"ftp://x\">ftp://x</a>"},
        {u"FTP://Host/dir_1/(a)%20{b}\\c end", u"FTP://", true,
         u"<a href=\"FTP://Host/dir_1/(a)%20{b}\\c\">FTP://Host/dir_1/(a)%20{b}\\c</a> end"},
        {u"at http://a.b/\u00e9 and http://c", u"HTTP://", true,
         u"at <a href=\"http://a.b/\">http://a.b/</a>\u00e9 and http://c"}, // the first URL only
        {u"<i>http://x</i>", u"HTTP://", true, u"&lt;i&gt;<a href=\"http://x\">http://x</a>&lt;/i&gt;"},
        {u"no link here", u"HTTP://", false, u"untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        String html = u"untouched";
        EXPECT_EQ(InsertURLAnchor(c.text, c.prefix, html), c.found);
        EXPECT_EQ(html, c.html);
    }
}

} // namespace
