// Tests of the string basics: lossless UTF-8 conversion with the Windows-1252 fallback, and the
// 1-based routines with the framework's clipping of out-of-range arguments.
#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/rtl/UString.h"

namespace {

String Units(std::initializer_list<Char> units) {
    return String(units);
}

TEST(UStringTest, Utf8RoundTrip) {
    struct Case {
        const Char* text;
        const char* utf8;
    };
    const std::vector<Case> cases = {
        {u"", ""},
        {u"plain", "plain"},
        {u"\u00e9", "\xC3\xA9"},
        {u"\u20ac", "\xE2\x82\xAC"},
        {u"\uFFFF", "\xEF\xBF\xBF"},
        {u"\U0001D11E", "\xF0\x9D\x84\x9E"},
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {u"a\u00e9\u20ac\U0001D11Ez", "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9Ez"},
        {u"nul\0inside", "nul"}, // only what the literal pointer shows
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(StringToUtf8(c.text), c.utf8);
        EXPECT_EQ(Utf8ToString(c.utf8), c.text);
    }
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(Utf8ToString(withNul), String(u"a\0b", 3));
    EXPECT_EQ(StringToUtf8(String(u"a\0b", 3)), withNul);
}

TEST(UStringTest, InvalidBytesDecodeAsWindows1252) {
    struct Case {
        const char* name;
        std::string bytes;
        String text;
    };
    const std::vector<Case> cases = {
        {"euro byte", "\x80", u"\u20ac"},
        {"undefined byte keeps its value", "\x81", Units({0x81})},
        {"last high byte", "\x9F", u"\u0178"},
        {"Latin-1 byte", "caf\xE9", u"caf\u00e9"},
        {"truncated sequence", "\xC3", u"\u00c3"},
        {"lead byte then ASCII", "\xC3(", u"\u00c3("},
        {"stray continuation byte", "\xA9x", u"\u00a9x"},
        {"overlong slash", "\xC0\xAF", u"\u00c0\u00af"},
        {"overlong three bytes", "\xE0\x80\xAF", u"\u00e0\u20ac\u00af"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", Units({0xF4, 0x90, 0x20AC, 0x20AC})},
        {"five-byte lead", "\xF8\x88\x80\x80\x80", Units({0xF8, 0x02C6, 0x20AC, 0x20AC, 0x20AC})},
        {"valid after invalid", "\xFF\xC3\xA9", u"\u00ff\u00e9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToString(c.bytes), c.text);
        EXPECT_EQ(AnsiToString(c.bytes), c.text);
    }
    for (int byte = 0; byte < 256; ++byte) {
        const Char c = Windows1252ToChar(static_cast<unsigned char>(byte));
        EXPECT_EQ(CharToWindows1252(c), byte);
    }
    EXPECT_EQ(CharToWindows1252(u'\u20ac'), 0x80);
    EXPECT_EQ(CharToWindows1252(u'\u0100'), -1);
    EXPECT_EQ(CharToWindows1252(Char(0x80)), -1); // the euro sign holds byte 0x80
}

TEST(UStringTest, UnpairedSurrogatesSurviveTheRoundTrip) {
    const std::vector<String> texts = {
        Units({0xD800}),
        Units({0xDC00}),
        Units({u'a', 0xD83D}),           // high surrogate at the end
        Units({0xDC00, 0xD800}),         // a pair in the wrong order
        Units({0xD83D, 0xD83D, 0xDE00}), // lone high then a proper pair
    };
    for (const String& text : texts) {
        const std::string utf8 = StringToUtf8(text);
        EXPECT_EQ(Utf8ToString(utf8), text);
    }
    EXPECT_EQ(StringToUtf8(Units({0xD800})), "\xED\xA0\x80");
    // A pair written as two three-byte forms reads back as the same two units.
    EXPECT_EQ(Utf8ToString("\xED\xA0\xBD\xED\xB8\x80"), Units({0xD83D, 0xDE00}));
}

TEST(UStringTest, PosFindsFromOneBasedOffsets) {
    EXPECT_EQ(Pos(u"b", u"abcb"), 2);
    EXPECT_EQ(Pos(u"b", u"abcb", 3), 4);
    EXPECT_EQ(Pos(u"b", u"abcb", 5), 0);
    EXPECT_EQ(Pos(u"b", u"abcb", 0), 0);
    EXPECT_EQ(Pos(u"", u"abc"), 0);
    EXPECT_EQ(Pos(u"abcd", u"abc"), 0);
    EXPECT_EQ(Pos(u"cb", u"abcb"), 3);
}

TEST(UStringTest, CopyDeleteInsertClipTheirArguments) {
    struct CopyCase {
        Integer index;
        Integer count;
        const Char* expected;
    };
    const std::vector<CopyCase> copies = {
        {2, 3, u"bcd"}, {1, 5, u"abcde"}, {0, 2, u"ab"}, {-5, 2, u"ab"},       {5, 10, u"e"},
        {6, 1, u""},    {2, 0, u""},      {2, -1, u""},  {3, INT_MAX, u"cde"}, {INT_MIN, INT_MAX, u"abcde"},
    };
    for (const CopyCase& c : copies)
        EXPECT_EQ(Copy(u"abcde", c.index, c.count), c.expected) << c.index << ", " << c.count;
    EXPECT_EQ(Copy(u"abcde", 3), u"cde");
    EXPECT_EQ(Copy(u"", 1, 1), u"");

    struct DeleteCase {
        Integer index;
        Integer count;
        const Char* expected;
    };
    const std::vector<DeleteCase> deletes = {
        {2, 2, u"ade"},   {1, 5, u""},      {0, 2, u"abcde"},  {5, 10, u"abcd"},
        {6, 1, u"abcde"}, {2, 0, u"abcde"}, {2, -3, u"abcde"}, {1, INT_MAX, u""},
    };
    for (const DeleteCase& c : deletes) {
        String s = u"abcde";
        Delete(s, c.index, c.count);
        EXPECT_EQ(s, c.expected) << c.index << ", " << c.count;
    }

    const std::vector<std::pair<Integer, const Char*>> inserts = {
        {1, u"Xabc"}, {2, u"aXbc"}, {4, u"abcX"}, {0, u"Xabc"}, {-3, u"Xabc"}, {10, u"abcX"},
    };
    for (const auto& [index, expected] : inserts) {
        String s = u"abc";
        Insert(u"X", s, index);
        EXPECT_EQ(s, expected) << index;
    }
    String s = u"abc";
    Insert(u"", s, 2);
    EXPECT_EQ(s, u"abc");
}

TEST(UStringTest, SmallHelpers) {
    EXPECT_EQ(StringOfChar(u'x', 3), u"xxx");
    EXPECT_EQ(StringOfChar(u'x', -1), u"");
    String s = u"abc";
    SetLength(s, 1);
    EXPECT_EQ(s, u"a");
    SetLength(s, -1);
    EXPECT_EQ(s, u"");
    EXPECT_EQ(UpCase(u'q'), u'Q');
    EXPECT_EQ(UpCase(u'\u00e4'), u'\u00e4');
    EXPECT_EQ(LowerASCII(u"AbC\u00c4"), u"abc\u00c4");
    EXPECT_EQ(Length(u"abc"), 3);
}

} // namespace
