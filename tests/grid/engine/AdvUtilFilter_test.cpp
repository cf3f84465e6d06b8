// Tests of the grid's filter condition language: wildcards, negation, comparisons of numbers, dates
// and text, the empty-cell test, quoting, and "and"/"or" expressions with parentheses.
#include <gtest/gtest.h>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

struct FilterCase {
    const Char* expression;
    const Char* cell;
    bool matches;
};

void ExpectFilter(const std::vector<FilterCase>& cases, bool caseSensitive = false) {
    for (const FilterCase& c : cases)
        EXPECT_EQ(MatchFilterExpr(c.expression, c.cell, caseSensitive), c.matches)
            << "'" << StringToUtf8(c.expression) << "' on '" << StringToUtf8(c.cell) << "'";
}

TEST(AdvUtilFilterTest, Wildcards) {
    ExpectFilter({
        {u"abc*", u"ABCDEF", true},
        {u"abc*", u"xabc", false},
        {u"a?c", u"abc", true},
        {u"a?c", u"abbc", false},
        {u"a?c", u"ac", false},
        {u"*c", u"c", true},
        {u"*b*", u"abc", true},
        {u"*b*", u"ac", false},
        {u"**", u"", true},
        {u"abc", u"abcd", false},
        {u"", u"", true},
        {u"", u"x", false},
        {u"=abc", u"abc", true}, // a leading "=" is ignored
        {u"  abc  ", u"abc", true},
    });
    ExpectFilter({{u"abc*", u"ABCDEF", false}, {u"AB?", u"ABc", true}}, true);
}

TEST(AdvUtilFilterTest, NegationAndTheEmptyCell) {
    ExpectFilter({
        {u"!a*", u"apple", false},
        {u"!a*", u"pear", true},
        {u"!", u"", false},
        {u"\"\"", u"", true},
        {u"\"\"", u" ", false},
        {u"\"\"", u"x", false},
        {u"!\"\"", u"", true}, // the empty-cell test is the condition '""' alone
    });
}

TEST(AdvUtilFilterTest, QuotesKeepBlanksAndMatchQuotes) {
    ExpectFilter({
        {u"John Smith", u"John Smith", false}, // the blank outside quotes is removed
        {u"John Smith", u"JohnSmith", true},
        {u"\"John Smith\"", u"John Smith", true},
        {u"\"John*\"", u"John Smith", true},
        {u"\"say \"\"hi\"\"\"", u"say \"hi\"", true},
        {u"\"a&b\"", u"a&b", true}, // an operator inside quotes is text
        {u"\"a|b\"", u"a", false},
    });
}

TEST(AdvUtilFilterTest, NumberComparisons) {
    ExpectFilter({
        {u">5", u"7", true},
        {u">5", u"5", false},
        {u">=5", u"5", true},
        {u"<5", u"4.5", true},
        {u"<=5", u"5.0", true},
        {u"<=5", u"5.01", false},
        {u">5", u"10", true}, // as numbers, not as text
        {u">5", u"-10", false},
        {u">1,000", u"1,500", true},
        {u">5", u"3", false},
        {u">5", u">5", true}, // not a number: compared as text
        {u"> 5", u"7", true},
        {u">\"5\"", u"7", true},
    });
}

TEST(AdvUtilFilterTest, NumberComparisonsWithCommaDecimals) {
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    ExpectFilter({
        {u">1,5", u"2", true},
        {u">1,5", u"1,25", false},
        {u"<1.000", u"999,5", true},
        {u">=2", u"2,0", true},
    });
}

TEST(AdvUtilFilterTest, DateAndTextComparisons) {
    FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
    ExpectFilter({
        {u">10/01/2020", u"11/01/2020", true},
        {u">10/01/2020", u"09/02/2019", false}, // as dates; as text it would pass
        {u"<10/01/2020", u"09/02/2019", true},
        {u">=10/01/2020", u"10/01/2020", true},
        {u">10/01/2020", u"10/01/2020 12:00", true},
        {u">m", u"n", true},
        {u">m", u"a", false},
        {u">=m", u"m", true},
        {u"<b", u"abc", true},
    });
    // A date is no number, even where it reads as one: without its thousand separators '2.1.2020' would
    // be 212020.
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    FormatSettings.DateSeparator = u'.';
    FormatSettings.ShortDateFormat = u"dd.mm.yyyy";
    ExpectFilter({{u"<2.1.2020", u"31.12.2019", true}, {u">2.1.2020", u"31.12.2019", false}});
}

TEST(AdvUtilFilterTest, CaseOfTextComparisons) {
    ExpectFilter({{u">m", u"N", true}, {u"<m", u"N", false}});
    ExpectFilter({{u">m", u"N", false}, {u"<m", u"N", true}}, true);
}

// Without precedence 'a|b&c' is (a or b) and c.
TEST(AdvUtilFilterTest, ExpressionsApplyOperatorsFromLeftToRight) {
    ExpectFilter({
        {u">5&<10", u"7", true},     {u">5&<10", u"12", false},    {u">5 & <10", u"7", true},
        {u"a|b", u"b", true},        {u"a|b", u"c", false},        {u"a;b", u"b", true},
        {u"a^b", u"a", true},        {u"a*&*b", u"axb", true},     {u"a*&*b", u"axc", false},
        {u"(a|b)&c", u"a", false},   {u"(a*|b*)&*z", u"az", true}, {u"(a*|b*)&*z", u"cz", false},
        {u"c&(a*|b*)", u"c", false}, {u"*z&(a*|b*)", u"bz", true}, {u"((a|b))", u"b", true},
        {u"a|b&c", u"a", false},     {u"a|b&c", u"c", false},      {u"x|a*&*c", u"abc", true},
        {u"!a*&!b*", u"cat", true},  {u"!a*&!b*", u"bat", false},
    });
}

TEST(AdvUtilFilterTest, UnbalancedParenthesesEnd) {
    // A group never closed runs to the end of the expression.
    ExpectFilter({
        {u"(a|b", u"b", true},
        {u"(a|b", u"c", false},
        {u"((a", u"a", true},
        {u"c&(a|b", u"c", false},
        {u"(", u"", true},
        {u"(((((", u"x", false},
    });
}

TEST(AdvUtilFilterTest, TermsAnswerTheSameThroughTheOperatorRules) {
    EXPECT_TRUE(MatchFilterTerm(u">5&<10", u"7", false));
    EXPECT_FALSE(MatchFilterTerm(u">5&<10", u"12", false));
    EXPECT_FALSE(MatchFilterTerm(u">5&<10", u"3", false));
    EXPECT_TRUE(MatchFilterTerm(u"<5^>10", u"12", false));
    EXPECT_FALSE(MatchFilterTerm(u"<5^>10", u"7", false));
    EXPECT_TRUE(MatchFilterTerm(u"\"\"", u"", true));
    EXPECT_TRUE(MatchFilterTerm(u"\u00e9*", u"\u00c9t\u00e9", false)); // the locale's upper case
    EXPECT_FALSE(MatchFilterTerm(u"\u00e9*", u"\u00c9t\u00e9", true));
}

TEST(AdvUtilFilterTest, PatternsEndAtTheFirstNul) {
    const String subject(u"ab\0cd", 5);
    EXPECT_TRUE(MatchFilterPattern(u"ab", subject.c_str()));
    EXPECT_FALSE(MatchFilterPattern(u"ab*d", subject.c_str()));
    EXPECT_TRUE(MatchFilterPattern(u"*", nullptr));
}

// Several stars over a long text that almost matches: every way of splitting the text between the
// stars fails, which must not take longer than the product of the lengths.
TEST(AdvUtilFilterTest, ManyStarsStayFast) {
    const String cell(400, u'A');
    EXPECT_FALSE(MatchFilterExpr(u"*a*a*a*a*a*a*a*a*a*a*b", cell, false));
    EXPECT_TRUE(MatchFilterExpr(u"*a*a*a*a*a*a*a*a*a*a*", cell, false));
}

TEST(AdvUtilFilterTest, Helpers) {
    Integer position = 0;
    EXPECT_EQ(FindFirstDelimiter(u"&|", u"\"a&b\"|c&d", position), u'|');
    EXPECT_EQ(position, 6);
    EXPECT_EQ(FindFirstDelimiter(u"&|", u"\"a&b\"", position), Char(0));
    EXPECT_EQ(position, -1);
    EXPECT_EQ(FindFirstDelimiter(u"(", u"(x", position), u'(');
    EXPECT_EQ(position, 1);

    EXPECT_EQ(RemoveSpacesOutsideQuotes(u" a b \" c d \" e "), u"ab\" c d \"e");
    EXPECT_EQ(RemoveSpacesOutsideQuotes(u"\"open a"), u"\"open a");

    EXPECT_EQ(ClosingParenPos(u"(a)"), 3);
    EXPECT_EQ(ClosingParenPos(u"(a(b)c)d)"), 7);
    EXPECT_EQ(ClosingParenPos(u"((a)"), 0);
    EXPECT_EQ(ClosingParenPos(u"("), 0);

    EXPECT_EQ(NormalizeNumberText(u"1,234.5"), u"1234.5");
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    EXPECT_EQ(NormalizeNumberText(u"1.234,5"), u"1234.5");
    EXPECT_EQ(NormalizeNumberText(nullptr), u"");
}

} // namespace
