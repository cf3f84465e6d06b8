// Code page conversions: each code page both ways, sizes, terminators, defaults and errors.
#include <gtest/gtest.h>
#include <string>

#include "platform/win32/codepage.h"

namespace {

String Decode(UINT codePage, const std::string& bytes, DWORD flags = 0) {
    const int size =
        MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    String text(static_cast<std::size_t>(size), u'\0');
    if (size > 0) {
        EXPECT_EQ(MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()),
                                      text.data(), size),
                  size);
    }
    return text;
}

std::string Encode(UINT codePage, const String& text, BOOL* usedDefault = nullptr,
                   const char* defaultChar = nullptr) {
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         defaultChar, usedDefault);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0) {
        EXPECT_EQ(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                      size, defaultChar, usedDefault),
                  size);
    }
    return bytes;
}

struct PageCase {
    const char* name;
    UINT codePage;
    std::string bytes;
    String text;
};

class CodePageRoundTrip : public testing::TestWithParam<PageCase> {};

TEST_P(CodePageRoundTrip, DecodesAndEncodesBack) {
    const PageCase& c = GetParam();
    EXPECT_EQ(Decode(c.codePage, c.bytes), c.text);
    BOOL usedDefault = TRUE;
    EXPECT_EQ(Encode(c.codePage, c.text, c.codePage == CP_UTF8 ? nullptr : &usedDefault), c.bytes);
    if (c.codePage != CP_UTF8) {
        EXPECT_FALSE(usedDefault);
    }
}

INSTANTIATE_TEST_SUITE_P(
    CodePage, CodePageRoundTrip,
    testing::Values(PageCase{"AnsiIsUtf8", CP_ACP, "a\xC3\xA9\xE2\x82\xAC", u"a\u00E9\u20AC"},
                    PageCase{"Utf8FourBytes", CP_UTF8, "\xF0\x9F\x98\x80", u"\U0001F600"},
                    PageCase{"Oem437", CP_OEMCP, "\x80\x9B\xB3\xE1\xFE\xFF\x01",
                             u"\u00C7\u00A2\u2502\u00DF\u25A0\u00A0\x01"},
                    PageCase{"Oem437ByNumber", 437, "\x84", u"\u00E4"},
                    PageCase{"Windows1252", 1252, "\x80\x9F\xE9\x81", u"\u20AC\u0178\u00E9\u0081"}),
    [](const testing::TestParamInfo<PageCase>& info) { return info.param.name; });

TEST(CodePage, InvalidInputFollowsTheCodePage) {
    // The ANSI code page keeps a stray byte as its Windows-1252 character; UTF-8 gives U+FFFD.
    EXPECT_EQ(Decode(CP_ACP, "a\xE9z"), u"a\u00E9z");
    EXPECT_EQ(Decode(CP_UTF8, "a\xE9z"), u"a\uFFFDz");
    EXPECT_EQ(Decode(CP_UTF8, "\xC0\xAF"), u"\uFFFD\uFFFD") << "overlong forms are invalid";
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xE9", 2, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);

    const String lone = u"a\xD800";
    EXPECT_EQ(Encode(CP_UTF8, lone), "a\xEF\xBF\xBD");
    EXPECT_EQ(Decode(CP_ACP, Encode(CP_ACP, lone)), lone) << "the ANSI code page loses nothing";
    EXPECT_EQ(
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone.data(), 2, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
}

TEST(CodePage, MissingCharactersTakeTheDefault) {
    BOOL usedDefault = FALSE;
    EXPECT_EQ(Encode(1252, u"a\u0100\U0001F600", &usedDefault), "a??");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(Encode(437, u"\u20AC", &usedDefault, "#"), "#");
    EXPECT_TRUE(usedDefault);
}

TEST(CodePage, TerminatorsSizesAndErrors) {
    Char text[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, text, 8), 3) << "-1 includes the terminator";
    EXPECT_EQ(String(text, 3), String(u"ab\0", 3));
    char bytes[8];
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u00E9", -1, bytes, 8, nullptr, nullptr), 3);
    EXPECT_EQ(std::string(bytes, 3), std::string("\xC3\xA9\0", 3));

    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, text, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"abc", 3, bytes, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(MultiByteToWideChar(850, 0, "a", 1, text, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    BOOL used;
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, bytes, 8, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, text, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
