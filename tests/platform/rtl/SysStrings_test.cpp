// Tests of the string routines: trimming, case, ordinal and locale comparison, replacing, quoting and
// searching.
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"

namespace {

TEST(SysStringsTest, TrimRemovesBlanksAndControls) {
    struct Case {
        const Char* text;
        const Char* both;
        const Char* left;
        const Char* right;
    };
    const std::vector<Case> cases = {
        {u"", u"", u"", u""},
        {u" \t\r\n", u"", u"", u""},
        {u"  a b  ", u"a b", u"a b  ", u"  a b"},
        {u"\x01x\x1f", u"x", u"x\x1f", u"\x01x"},
        {u"\u00a0x\u00a0", u"\u00a0x\u00a0", u"\u00a0x\u00a0", u"\u00a0x\u00a0"}, // not a control
        {u"abc", u"abc", u"abc", u"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        EXPECT_EQ(Trim(c.text), c.both);
        EXPECT_EQ(TrimLeft(c.text), c.left);
        EXPECT_EQ(TrimRight(c.text), c.right);
    }
}

TEST(SysStringsTest, CaseMapping) {
    EXPECT_EQ(UpperCase(u"abc\u00e4z1"), u"ABC\u00e4Z1");
    EXPECT_EQ(LowerCase(u"ABC\u00c4Z1"), u"abc\u00c4z1");
    EXPECT_EQ(AnsiUpperCase(u"abc\u00e4\u00ff\u0451"), u"ABC\u00c4\u0178\u0401");
    EXPECT_EQ(AnsiLowerCase(u"ABC\u00c4\u0178\u0401"), u"abc\u00e4\u00ff\u0451");
    // One character for one: a letter without a single upper-case character is kept, and letters
    // outside the basic plane map as pairs.
    EXPECT_EQ(AnsiUpperCase(u"stra\u00dfe"), u"STRA\u00dfE");
    EXPECT_EQ(AnsiUpperCase(u"\U00010428x"), u"\U00010400X");
    EXPECT_EQ(AnsiLowerCase(u"\U00010400X"), u"\U00010428x");
    // An unpaired surrogate passes through.
    const String lone = String(1, Char(0xD801)) + u"a";
    EXPECT_EQ(AnsiUpperCase(lone), String(1, Char(0xD801)) + u"A");
}

TEST(SysStringsTest, OrdinalComparison) {
    EXPECT_GT(CompareStr(u"a", u"A"), 0);
    EXPECT_LT(CompareStr(u"abc", u"abd"), 0);
    EXPECT_LT(CompareStr(u"ab", u"abc"), 0);
    EXPECT_EQ(CompareStr(u"abc", u"abc"), 0);
    EXPECT_GT(CompareStr(u"\u00e4pfel", u"Birne"), 0); // by code, not by alphabet

    EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
    EXPECT_EQ(CompareText(u"ABC", u"abc"), 0);
    EXPECT_LT(CompareText(u"a", u"_"), 0); // letters fold to upper case before comparing
    EXPECT_GT(CompareText(u"abcd", u"ABC"), 0);
    EXPECT_TRUE(SameText(u"Hello", u"hELLO"));
    EXPECT_FALSE(SameText(u"\u00e4", u"\u00c4")); // ASCII letters only
    EXPECT_FALSE(SameText(u"ab", u"abc"));
}

TEST(SysStringsTest, LocaleComparison) {
    EXPECT_EQ(AnsiCompareStr(u"a", u"B"), -1);
    EXPECT_EQ(AnsiCompareStr(u"a", u"A"), -1);
    EXPECT_EQ(AnsiCompareStr(u"A", u"b"), -1);
    EXPECT_EQ(AnsiCompareStr(u"\u00e4pfel", u"Birne"), -1);
    EXPECT_EQ(AnsiCompareStr(u"abc", u"abc"), 0);
    EXPECT_EQ(AnsiCompareStr(u"b", u"a"), 1);
    EXPECT_EQ(AnsiCompareText(u"abc", u"ABD"), -1);
    EXPECT_EQ(AnsiCompareText(u"abc", u"ABC"), 0);
    EXPECT_NE(AnsiCompareText(u"resume", u"r\u00e9sum\u00e9"), 0); // accents still count
    EXPECT_TRUE(AnsiSameText(u"r\u00e9sum\u00e9", u"R\u00c9SUM\u00c9"));
    EXPECT_FALSE(AnsiSameStr(u"r\u00e9sum\u00e9", u"R\u00c9SUM\u00c9"));
    EXPECT_TRUE(AnsiSameStr(u"x", u"x"));

    std::vector<String> words = {u"b", u"A", u"\u00e4", u"a", u"B", u"Z", u"z"};
    std::sort(words.begin(), words.end(),
              [](const String& x, const String& y) { return AnsiCompareStr(x, y) < 0; });
    EXPECT_EQ(words, (std::vector<String>{u"a", u"A", u"\u00e4", u"b", u"B", u"z", u"Z"}));
}

TEST(SysStringsTest, StringReplace) {
    struct Case {
        const char* name;
        const Char* text;
        const Char* oldPattern;
        const Char* newPattern;
        TReplaceFlags flags;
        const Char* expected;
    };
    const std::vector<Case> cases = {
        {"first only", u"aXbXc", u"X", u"-", TReplaceFlags(), u"a-bXc"},
        {"all", u"aXbXc", u"X", u"-", rfReplaceAll, u"a-b-c"},
        {"case matters", u"aXbxc", u"x", u"-", rfReplaceAll, u"aXb-c"},
        {"ignore case", u"aXbxc", u"x", u"-", {rfReplaceAll, rfIgnoreCase}, u"a-b-c"},
        {"ignore case of any letter",
         u"\u00c4b\u00e4",
         u"\u00e4",
         u"x",
         {rfReplaceAll, rfIgnoreCase},
         u"xbx"},
        {"ignore case keeps the rest", u"Hello World", u"WORLD", u"There", rfIgnoreCase, u"Hello There"},
        {"no match", u"abc", u"x", u"-", rfReplaceAll, u"abc"},
        {"empty pattern", u"abc", u"", u"-", rfReplaceAll, u"abc"},
        {"matches do not overlap", u"aaa", u"aa", u"b", rfReplaceAll, u"ba"},
        {"replacement is not searched again", u"aa", u"a", u"aa", rfReplaceAll, u"aaaa"},
        {"remove", u"a-b-c", u"-", u"", rfReplaceAll, u"abc"},
        {"whole", u"abc", u"abc", u"x", TReplaceFlags(), u"x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StringReplace(c.text, c.oldPattern, c.newPattern, c.flags), c.expected);
    }
}

TEST(SysStringsTest, Quoting) {
    EXPECT_EQ(QuotedStr(u"it's"), u"'it''s'");
    EXPECT_EQ(QuotedStr(u""), u"''");
    EXPECT_EQ(AnsiQuotedStr(u"a\"b", u'"'), u"\"a\"\"b\"");

    StringView src = u"'a''b' rest";
    EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), u"a'b");
    EXPECT_EQ(src, u" rest");
    src = u"abc";
    EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), u"");
    EXPECT_EQ(src, u"abc");
    src = u"'abc";
    EXPECT_EQ(AnsiExtractQuotedStr(src, u'\''), u"abc");
    EXPECT_EQ(src, u"");

    const std::vector<std::pair<const Char*, const Char*>> dequoted = {
        {u"'abc'", u"abc"},     {u"'a''b'", u"a'b"}, {u"''", u""},
        {u"''''", u"'"},        {u"abc", u"abc"},    {u"'abc", u"'abc"}, // not closed
        {u"'a''", u"'a''"},                                              // the last quote is half of a pair
        {u"'abc'x", u"'abc'x"},                                          // text after the closing quote
        {u"'a'b'", u"'a'b'"},   {u"'", u"'"},        {u"", u""},
    };
    for (const auto& [text, expected] : dequoted) {
        SCOPED_TRACE(StringToUtf8(text));
        EXPECT_EQ(AnsiDequotedStr(text, u'\''), expected);
    }
    EXPECT_EQ(AnsiDequotedStr(u"\"x\"", u'"'), u"x");
    EXPECT_EQ(AnsiDequotedStr(u"'x'", u'"'), u"'x'");
    // Quoting and dequoting are inverse for any text.
    for (const Char* text : {u"", u"'", u"''", u"a'b''c", u"'x'"})
        EXPECT_EQ(AnsiDequotedStr(QuotedStr(text), u'\''), text);
}

TEST(SysStringsTest, Searching) {
    EXPECT_EQ(AnsiPos(u"lo", u"hello"), 4);
    EXPECT_EQ(AnsiPos(u"x", u"hello"), 0);
    EXPECT_EQ(AnsiPos(u"", u"hello"), 0);

    EXPECT_EQ(LastDelimiter(u"\\.", u"c:\\dir\\file.txt"), 12);
    EXPECT_EQ(LastDelimiter(u"\\", u"c:\\dir\\file.txt"), 7);
    EXPECT_EQ(LastDelimiter(u"/", u"c:\\dir"), 0);
    EXPECT_EQ(LastDelimiter(u"", u"abc"), 0);

    EXPECT_TRUE(IsDelimiter(u"\\/", u"a/b", 2));
    EXPECT_FALSE(IsDelimiter(u"\\/", u"a/b", 1));
    EXPECT_FALSE(IsDelimiter(u"\\/", u"a/b", 0));
    EXPECT_FALSE(IsDelimiter(u"\\/", u"a/b", 4));
}

} // namespace
