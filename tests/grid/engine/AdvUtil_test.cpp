// Tests of the grid's text utilities: natural comparison, searching and splitting, case and character
// classes, the line-break and quoting forms of the grid's files, URLs, cell text kinds and wide text.
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/Graphics.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/UString.h"

namespace {

int Sign(Integer value) {
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

TEST(AdvUtilTest, CompareLogicalOrdersDigitRunsByValue) {
    struct Case {
        const Char* a;
        const Char* b;
        int order;
    };
    const std::vector<Case> cases = {
        {u"a2", u"a10", -1},
        {u"a10", u"a2", 1},
        {u"file9.txt", u"file10.txt", -1},
        {u"x2y10", u"x2y9", 1},
        {u"abc", u"ABC", 0}, // case does not count
        {u"a007", u"a7", 0}, // leading zeros do not count
        {u"", u"a", -1},
        {u"a", u"a1", -1}, // fewer pieces first
        {u"1", u"a", -1},  // digits before letters
        {u"b1", u"a2", 1}, // text decides before the numbers
        {u"n123456789012345678901234567890", u"n123456789012345678901234567891", -1}, // beyond 64 bits
        {u"n99999999999999999999", u"n100000000000000000000", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.a) + " vs " + StringToUtf8(c.b));
        EXPECT_EQ(Sign(CompareLogical(c.a, c.b)), c.order);
        EXPECT_EQ(Sign(CompareLogical(c.b, c.a)), -c.order);
    }

    std::vector<String> names = {u"Row 10", u"row 2", u"Row 1", u"Row 20", u"row 3"};
    std::sort(names.begin(), names.end(),
              [](const String& a, const String& b) { return CompareLogical(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ(names, (std::vector<String>{u"Row 1", u"row 2", u"row 3", u"Row 10", u"Row 20"}));
}

TEST(AdvUtilTest, ClampToLimitsTreatsZeroAsNoLimit) {
    struct Case {
        Integer value, lower, upper, expected;
    };
    const std::vector<Case> cases = {
        {5, 10, 20, 10},  {25, 10, 20, 20}, {15, 10, 20, 15}, {25, 0, 0, 25},
        {25, 10, 10, 25}, {-5, 0, 20, -5},  {99, 10, 0, 99},  {-5, -10, 20, -5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampToLimits(c.value, c.lower, c.upper), c.expected)
            << c.value << " in " << c.lower << ".." << c.upper;
}

TEST(AdvUtilTest, GridRectContainsIncludesItsEdges) {
    struct Rect {
        Integer Left, Top, Right, Bottom;
    };
    const Rect rect{1, 2, 3, 4};
    EXPECT_TRUE(GridRectContains(rect, 1, 2));
    EXPECT_TRUE(GridRectContains(rect, 3, 4));
    EXPECT_FALSE(GridRectContains(rect, 0, 3));
    EXPECT_FALSE(GridRectContains(rect, 2, 5));
}

TEST(AdvUtilTest, ParseRCReference) {
    struct Point {
        Integer X = -7;
        Integer Y = -7;
    };
    struct Good {
        const Char* text;
        Integer column, row;
    };
    const std::vector<Good> good = {{u"r12c3", 3, 12}, {u"R1C1", 1, 1}, {u"R100C25", 25, 100}};
    for (const Good& c : good) {
        Point point;
        EXPECT_TRUE(ParseRCReference(c.text, point)) << StringToUtf8(c.text);
        EXPECT_EQ(point.X, c.column);
        EXPECT_EQ(point.Y, c.row);
    }
    // Too short, no row, no R, no C, a column that is no number, a row that is no decimal number.
    for (const Char* text : {u"R1C", u"RC12", u"X1C2", u"R12X", u"R1Cx", u"R$AC1"}) {
        Point point;
        EXPECT_FALSE(ParseRCReference(text, point)) << StringToUtf8(text);
        EXPECT_EQ(point.X, -7); // left alone
        EXPECT_EQ(point.Y, -7);
    }
}

TEST(AdvUtilTest, SearchingStoresPositionsAsDocumented) {
    Integer position = 42;
    EXPECT_EQ(CharPosStore(u'x', u"abc", position), 0);
    EXPECT_EQ(position, 42); // left alone when not found
    EXPECT_EQ(CharPosStore(u'c', u"abcc", position), 3);
    EXPECT_EQ(position, 3);
    EXPECT_EQ(PosStore(u"zz", u"abc", position), 0);
    EXPECT_EQ(position, 0); // always written
    EXPECT_EQ(PosStore(u"bc", u"abc", position), 2);
    EXPECT_EQ(position, 2);
    EXPECT_EQ(PosInUpperCase(u"BC", u"xabcd"), 3);
    EXPECT_EQ(PosInUpperCase(u"bc", u"xabcd"), 0);      // the substring is not upper-cased
    EXPECT_EQ(PosInUpperCase(u"\u00c9", u"\u00e9"), 0); // a-z only
    EXPECT_EQ(WidePos(u"\u4e2d", u"a\u4e2d"), 2);
}

TEST(AdvUtilTest, SplitToStringsKeepsEveryPiece) {
    struct Case {
        const Char* text;
        const Char* delimiter;
        std::vector<String> pieces;
    };
    const std::vector<Case> cases = {
        {u"a,b,,c", u",", {u"a", u"b", u"", u"c"}},
        {u"", u",", {u""}},
        {u"abc", u",", {u"abc"}},
        {u"a,", u",", {u"a", u""}},
        {u"a;;b", u";;", {u"a", u";b"}}, // only the delimiter's first character goes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TStringList list;
        list.Add(u"kept");
        SplitToStrings(c.delimiter, c.text, list);
        std::vector<String> pieces;
        for (Integer i = 1; i < list.Count(); ++i)
            pieces.push_back(list.Strings(i));
        EXPECT_EQ(pieces, c.pieces);
    }

    TStringList lines;
    lines.Add(u"a");
    lines.Add(u"");
    lines.Add(u"bc");
    EXPECT_EQ(JoinLines(lines), u"abc");
}

TEST(AdvUtilTest, CutLeadingFieldAndCounting) {
    String source = u"a,b,c";
    EXPECT_EQ(CutLeadingField(source, u","), u"a");
    EXPECT_EQ(source, u"b,c");
    source = u"abc";
    EXPECT_EQ(CutLeadingField(source, u","), u"");
    EXPECT_EQ(source, u"abc");
    source = u",x";
    EXPECT_EQ(CutLeadingField(source, u","), u"");
    EXPECT_EQ(source, u"x");

    EXPECT_EQ(CountChar(u"a\"b\"\"", u'"'), 3);
    EXPECT_EQ(CountChar(u"a\"b\"\"", u'"', true), 3);
    EXPECT_EQ(CountChar(u"", u'"'), 0);
    String secret = u"p\u00e4ss";
    FillWithChar(secret, u'*');
    EXPECT_EQ(secret, u"****");
}

TEST(AdvUtilTest, ProperCase) {
    struct Case {
        const Char* text;
        const Char* expected;
    };
    const std::vector<Case> cases = {
        {u"HELLO WORLD", u"Hello World"},
        {u"mcdonald", u"McDonald"},
        {u"ronald mcdonald", u"Ronald McDonald"},
        {u"a mcb mcc", u"A McB Mcc"}, // only the first " Mc" counts
        {u"john smith iii", u"John Smith III"},
        {u"john paul ii", u"John Paul II"},
        {u"louis xiv", u"Louis Xiv"},
        {u"iii smith", u"Iii Smith"}, // the Roman rule holds near the end only
        {u"anne-marie o'neil", u"Anne-Marie O'Neil"},
        {u"st.john,jr", u"St.John,Jr"},
        {u"\u00e9LAN \u00c9T\u00c9", u"\u00c9lan \u00c9t\u00e9"},
        {u"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProperCase(c.text), c.expected) << StringToUtf8(c.text);
}

TEST(AdvUtilTest, StripDiacriticsKeepsBaseLettersOfAnyLength) {
    struct Case {
        const Char* text;
        const Char* expected;
    };
    const std::vector<Case> cases = {
        {u"Cr\u00e8me br\u00fbl\u00e9e", u"Creme brulee"},
        {u"\u00c5ngstr\u00f6m \u00d1", u"Angstrom N"},
        {u"Erd\u0151s \u1ebd", u"Erdos e"},                   // beyond Latin-1, but with a Latin base
        {u"\u0141\u00f3d\u017a", u"odz"},                     // no decomposition: the letter goes
        {u"\u20ac 5 \u4e2d\u00bd\u00df", u" 5 \u00bd\u00df"}, // Latin-1 characters without base stay
        {u"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripDiacritics(c.text), c.expected) << StringToUtf8(c.text);

    // Far beyond any fixed buffer.
    String accented;
    String plain;
    for (int i = 0; i < 2000; ++i) {
        accented += u"\u00e9a";
        plain += u"ea";
    }
    EXPECT_EQ(StripDiacritics(accented), plain);
}

TEST(AdvUtilTest, NumberCharactersFollowTheUnicodeCategories) {
    struct Case {
        Char c;
        bool number;
    };
    const std::vector<Case> cases = {
        {u'0', true},      {u'9', true},       {u'a', false},         {u'-', false},
        {u'.', false},     {u'\u00b2', true},  {u'\u00bd', true},     {u'\u216b', true},
        {u'\u0663', true}, {u'\u00aa', false}, {Char(0xD835), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNumberChar(c.c), c.number) << int(c.c);
    EXPECT_TRUE(IsNumberChar(Integer(0x1D7CE))); // a digit beyond the basic plane
    EXPECT_TRUE(IsNumberChar(Integer('7')));
    EXPECT_FALSE(IsNumberChar(Integer(-1)));
    EXPECT_FALSE(IsNumberChar(Integer(0x110000)));

    EXPECT_TRUE(IsIntegerChar(u'-'));
    EXPECT_FALSE(IsIntegerChar(u'+'));
    EXPECT_TRUE(IsNumberFormatChar(u'.'));
    EXPECT_TRUE(IsNumberFormatChar(u'E'));
    EXPECT_FALSE(IsNumberFormatChar(u','));
}

TEST(AdvUtilTest, FloatCharactersReadTheLocaleAtEachCall) {
    EXPECT_TRUE(IsFloatChar(u'.'));
    EXPECT_TRUE(IsFloatChar(u','));
    EXPECT_FALSE(IsFloatChar(u' '));
    EXPECT_FALSE(IsFloatChar(u'-'));
    EXPECT_TRUE(IsSignedFloatChar(u'-'));
    EXPECT_TRUE(IsSignedFloatChar(u'+'));

    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u' ';
    EXPECT_TRUE(IsFloatChar(u','));
    EXPECT_TRUE(IsFloatChar(u' '));
    EXPECT_FALSE(IsFloatChar(u'.'));
    EXPECT_TRUE(IsFloatChar(u'e'));
}

// The one-line form is what the grid's text files hold, so these are exact.
TEST(AdvUtilTest, LineBreakEncodingOfStoredCells) {
    struct Case {
        String text;
        String stored;
    };
    const std::vector<Case> cases = {
        {u"a\r\nb", u"a\x09\x08"
                    u"b"},
        {String(u"x\r\0y\n", 5), String(u"x\x09\x01y\x08", 5)},
        {u"a\nb", u"a\nb"}, // no CR: stored as it is
        {u"tab\there", u"tab\there"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        EXPECT_EQ(EncodeLineBreaks(c.text), c.stored);
        EXPECT_EQ(DecodeLineBreaks(c.stored, true), c.text);
    }
    // Without character 8 the text is read as it is, tabs included.
    EXPECT_EQ(DecodeLineBreaks(u"a\x09"
                               u"b",
                               true),
              u"a\x09"
              u"b");
    // A single-line reader takes the first line.
    EXPECT_EQ(DecodeLineBreaks(u"one\x09\x08two", false), u"one");
    EXPECT_EQ(DecodeLineBreaks(u"one", false), u"one");
}

TEST(AdvUtilTest, QuotingAndTildeForms) {
    String text = u"a\r\nb\rc";
    QuoteMultiLine(text);
    EXPECT_EQ(text, u"\"a\x0b"
                    u"b\rc\"");
    text = u"plain";
    QuoteMultiLine(text);
    EXPECT_EQ(text, u"\"plain\"");

    text = u"a\x0b"
           u"b\x0b";
    VTToCRLF(text);
    EXPECT_EQ(text, u"a\r\nb\r\n");

    text = u"a\r\nb\nc\rd";
    LineBreaksToTilde(text);
    EXPECT_EQ(text, u"a~bc~d");
    text = u"a~b";
    TildeToLineBreaks(text);
    EXPECT_EQ(text, u"a\r\nb");
    text = u"^";
    TildeToLineBreaks(text);
    EXPECT_EQ(text, u"");
    text = u"^~";
    TildeToLineBreaks(text);
    EXPECT_EQ(text, u"^\r\n");

    EXPECT_EQ(EscapeNewLines(u"a\r\nb\nc"), u"a\\nbc");
    EXPECT_EQ(UnescapeNewLines(u"a\\nb\\n"), u"a\rb\r");
    EXPECT_EQ(UnescapeNewLines(u"a\\"), u"a\\");

    text = u"a\r\nb\rc\n";
    CRLFToLF(text);
    EXPECT_EQ(text, u"a\nb\rc\n");
    EXPECT_EQ(RemoveCR(u"a\r\nb\r"), u"a\nb");
    EXPECT_EQ(CRToLF(u"a\r\nb\r"), u"a\n\nb\n");

    EXPECT_EQ(DoubleQuoteChars(u"say \"hi\""), u"say \"\"hi\"\"");
    EXPECT_EQ(UndoubleChar(u"a\"\"b\"\"\"c", u'"'), u"a\"b\"\"c");
    EXPECT_EQ(UndoubleChar(u"abc", u'"'), u"abc");
    EXPECT_EQ(ConvertToOem(u"\u00e4"), u"\u00e4");
    EXPECT_EQ(ConvertFromOem(u"\u00e4"), u"\u00e4");
}

TEST(AdvUtilTest, CutFirstLineAndCountLines) {
    struct Cut {
        const Char* source;
        bool keepRest;
        const Char* line;
        const Char* rest;
    };
    const std::vector<Cut> cuts = {
        {u"a\r\nb\r\nc", true, u"a", u"b\r\nc"},
        {u"a\rb", true, u"a", u"b"},
        {u"a\r\n", true, u"a", u""},
        {u"a\r\nb", false, u"a", u""},
        {u"abc", true, u"abc", u""}, // no CR: emptied whatever the flag
        {u"", true, u"", u""},
    };
    for (const Cut& c : cuts) {
        SCOPED_TRACE(StringToUtf8(c.source));
        String source = c.source;
        EXPECT_EQ(CutFirstLine(source, c.keepRest), c.line);
        EXPECT_EQ(source, c.rest);
    }

    struct Count {
        const Char* text;
        bool multiLine;
        Integer lines;
    };
    const std::vector<Count> counts = {
        {u"a\r\nb", false, 1},     {u"a", true, 1},          {u"a\r\n", true, 1}, {u"a\r\nb", true, 2},
        {u"a\r\nb\r\nc", true, 3}, {u"a\r\n\r\nb", true, 3}, {u"", true, 1},
    };
    for (const Count& c : counts)
        EXPECT_EQ(CountLines(c.text, c.multiLine), c.lines) << StringToUtf8(c.text);
}

TEST(AdvUtilTest, GetWidestLineStopsAtTheFirstEmptyLine) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas* canvas = bitmap.Canvas();
    EXPECT_EQ(GetWidestLine(canvas, u"ab\r\nWWWWW\r\nW"), u"WWWWW");
    EXPECT_EQ(GetWidestLine(canvas, u"i\r\n\r\nWWWWWWWW"), u"i") << "the empty line ends the search";
    EXPECT_EQ(GetWidestLine(canvas, u"ab\rba\r\nb"), u"ab") << "the first of equally wide lines";
    EXPECT_EQ(GetWidestLine(canvas, u""), u"");
}

TEST(AdvUtilTest, UnpairedCharacters) {
    struct Case {
        const Char* text;
        Integer first;
        Integer count;
    };
    const std::vector<Case> cases = {
        {u"a\"b", 2, 1},     {u"a\"\"b", 0, 0}, {u"a\"\"\"b", 4, 1},
        {u"\"a\"b\"", 1, 3}, {u"ab\"\"", 4, 1}, // last in the text, whatever its run
        {u"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        Integer position = -1;
        EXPECT_EQ(FindUnpairedChar(c.text, u'"', position), c.first);
        EXPECT_EQ(position, c.first);
        EXPECT_EQ(CountUnpairedChars(c.text, u'"'), c.count);
    }
}

TEST(AdvUtilTest, URLSchemes) {
    EXPECT_TRUE(HasURLScheme(u"see http://x"));
    EXPECT_TRUE(HasURLScheme(u"mailto:a@b"));
    EXPECT_FALSE(HasURLScheme(u"MAILTO:a@b")); // case matters
    EXPECT_FALSE(HasURLScheme(u"www.x.com"));

    struct Case {
        const Char* text;
        const Char* stripped;
    };
    const std::vector<Case> cases = {
        {u"mailto:a", u"a"},
        {u"x://y", u"y"},
        {u"go http://a mailto:b", u"a mailto:b"}, // "://" first
        {u"plain", u"plain"},
    };
    for (const Case& c : cases) {
        String text = c.text;
        StripURLScheme(text);
        EXPECT_EQ(text, c.stripped) << StringToUtf8(c.text);
    }
}

TEST(AdvUtilTest, CellTextKind) {
    struct Case {
        String text;
        bool html;
        Integer kind;
    };
    const std::vector<Case> cases = {
        {u"", true, CellKindPlain},
        {u"=", true, CellKindFormula},
        {u"=SUM(A1:A2)", false, CellKindFormula},
        {u"{\\rtf1", true, CellKindRTF},
        {u"{rtf", true, CellKindPlain},
        {u"<b>x</b>", true, CellKindHTML},
        {u"<b>x</b>", false, CellKindPlain},
        {u"a<x", true, CellKindPlain},
        {u"a<", true, CellKindPlain},
        {u"1 <p", true, CellKindHTML},
        {u"x</", true, CellKindHTML},
        {u"<Center>", true, CellKindHTML},
        {String(u"|\\\0A", 4), true, CellKindWide},
        {String(u"|\\\0=\0A", 6), true, CellKindFormula}, // a formula in wide form
        {String(u"|\\\0=", 4), true, CellKindWide},
        {u"|\\", true, CellKindWide},
        {u"|", true, CellKindPlain},
        {u"{", true, CellKindPlain},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellTextKind(c.text, c.html), c.kind) << StringToUtf8(c.text);
    EXPECT_EQ(CellTextKind(EncodeWideText(u"=A1"), false), CellKindFormula);
}

TEST(AdvUtilTest, WideTextForm) {
    EXPECT_EQ(EncodeWideText(u"AB"), String(u"|\\\0A\0B", 6));
    EXPECT_EQ(EncodeWideText(u""), u"|\\");
    EXPECT_EQ(EncodeWideText(u"\u20ac"), String(u"|\\\x20\xac", 4));
    EXPECT_EQ(DecodeWideText(u"|\\"), u"");
    EXPECT_EQ(DecodeWideText(String(u"|\\\0A\0", 5)), u"A"); // a trailing odd character is ignored
    EXPECT_EQ(DecodeWideText(u"plain"), u"plain");
    EXPECT_EQ(DecodeWideText(u"|"), u"|");

    const String texts[] = {u"", u"caf\u00e9 \u4e2d\u6587", u"\U0001F600 pair", String(u"nul\0in", 6)};
    for (const String& text : texts)
        EXPECT_EQ(DecodeWideText(EncodeWideText(text)), text) << StringToUtf8(text);
}

} // namespace
