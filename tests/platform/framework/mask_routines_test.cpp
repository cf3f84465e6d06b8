// The edit-mask routines: what each mask character is, the save flag and the blank, offsets between
// mask and text, directives, and laying values into masks.
#include <string>

#include <gtest/gtest.h>

#include "platform/framework/Mask.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

std::string Utf8(StringView text) {
    return StringToUtf8(text);
}

const String PhoneMask = u"!\\(999\\)000-0000;1;_";

TEST(MaskRoutinesTest, CharTypesOfAMask) {
    struct Row {
        String mask;
        Integer offset;
        TMaskCharType type;
    };
    const Row rows[] = {
        {PhoneMask, 1, mcDirective},       // '!'
        {PhoneMask, 2, mcDirective},       // '\'
        {PhoneMask, 3, mcLiteral},         // the escaped '('
        {PhoneMask, 4, mcMaskOpt},         // '9'
        {PhoneMask, 9, mcMask},            // '0'
        {PhoneMask, 12, mcLiteral},        // '-'
        {PhoneMask, 17, mcFieldSeparator}, // ';'
        {PhoneMask, 18, mcField},          // save flag
        {PhoneMask, 20, mcField},          // blank
        {PhoneMask, 21, mcNone},           // past the end
        {PhoneMask, 0, mcNone},
        {u"90:00", 3, mcIntlLiteral},
        {u"00/00", 3, mcIntlLiteral},
        {u"\\\\0", 2, mcLiteral},  // an escaped backslash ...
        {u"\\\\0", 3, mcMask},     // ... escapes nothing after it
        {u"00\\;0", 4, mcLiteral}, // an escaped separator is a literal
        {u"L;0", 2, mcLiteral},    // a separator counts only in the last four of a long mask
        {u"#aAlLcC", 1, mcMaskOpt},
        {u"#aAlLcC", 3, mcMask},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MaskGetCharType(row.mask, row.offset), row.type) << Utf8(row.mask) << " at " << row.offset;
}

TEST(MaskRoutinesTest, SeparatorSaveFlagAndBlank) {
    struct Row {
        String mask;
        Integer separator;
        bool save;
        Char blank;
    };
    const Row rows[] = {
        {u"000;1;_", 4, true, u'_'},    {u"000;0;*", 4, false, u'*'},
        {u"000;0", 4, false, u'_'}, // a save flag without a blank
        {u"!90:00;1; ", 7, true, u' '}, {u"000", -1, true, u'_'},
        {u"00\\;0", -1, true, u'_'},    {u"", -1, true, u'_'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Utf8(row.mask));
        EXPECT_EQ(MaskGetFldSeparator(row.mask), row.separator);
        EXPECT_EQ(MaskGetMaskSave(row.mask), row.save);
        EXPECT_EQ(MaskGetMaskBlank(row.mask), row.blank);
    }
}

TEST(MaskRoutinesTest, OffsetsBetweenMaskAndText) {
    // The text of PhoneMask is "(999)000-0000": 13 characters.
    EXPECT_EQ(MaskOffsetToOffset(PhoneMask, static_cast<Integer>(PhoneMask.size())), 13);
    EXPECT_EQ(MaskOffsetToOffset(PhoneMask, 3), 1); // through '(' comes one text character
    EXPECT_EQ(OffsetToMaskOffset(PhoneMask, 0), 3);
    EXPECT_EQ(OffsetToMaskOffset(PhoneMask, 4), 8); // the escaped ')'
    EXPECT_EQ(OffsetToMaskOffset(PhoneMask, 12), 16);
    EXPECT_EQ(OffsetToMaskOffset(PhoneMask, 13), -1);
    EXPECT_EQ(OffsetToMaskOffset(PhoneMask, -1), -1);
    std::string literals;
    for (Integer i = -1; i <= 13; ++i)
        literals += IsLiteralChar(PhoneMask, i) ? 'L' : '.';
    EXPECT_EQ(literals, ".L...L...L.....");
}

TEST(MaskRoutinesTest, DirectivesInForce) {
    const String mask = u">L<L<>L\\>L!";
    EXPECT_EQ(MaskGetCurrentDirectives(mask, 2), (TMaskDirectives{mdUpperCase, mdReverseDir}));
    EXPECT_EQ(MaskGetCurrentDirectives(mask, 4), (TMaskDirectives{mdLowerCase, mdReverseDir}));
    // "<>" switches case off, and the escaped '>' is a literal that switches nothing on.
    EXPECT_EQ(MaskGetCurrentDirectives(mask, 7), TMaskDirectives{mdReverseDir});
    EXPECT_EQ(MaskGetCurrentDirectives(mask, 9), (TMaskDirectives{mdReverseDir, mdLiteralChar}));
    EXPECT_EQ(MaskGetCurrentDirectives(mask, 10), TMaskDirectives{mdReverseDir});
    EXPECT_EQ(MaskGetCurrentDirectives(u"LL", 1), TMaskDirectives{});
}

TEST(MaskRoutinesTest, FormatMaskText) {
    struct Row {
        const char* name;
        String mask;
        String value;
        String expected;
    };
    const Row rows[] = {
        {"reversed fields fill from the right", u"!\\(999\\)000-0000;0;_", u"5551234567", u"(555)123-4567"},
        {"reversed short value leaves the front blank", u"!\\(999\\)000-0000;0;_", u"1234567",
         u"(   )123-4567"},
        {"short value leaves the end blank", u"\\(999\\)000-0000;0;_", u"5551234", u"(555)123-4   "},
        {"saved literals align the fields", u"000-000;1;_", u"12-345", u"12 -345"},
        {"value without its literals", u"000-000;1;_", u"123456", u"123-456"},
        {"reversed field pads at its start", u"!90:00;1; ", u"9:30", u" 9:30"},
        {"each field padded to its width", u"00/00/0000;1;_", u"1/2/2020", u"1 /2 /2020"},
        {"a long value is cut to the mask", u"000;0;_", u"12345", u"123"},
        {"a long field is cut to its width", u"00-00;1;_", u"1234-5", u"12-34"},
        {"empty mask keeps the value", u"", u"abc", u"abc"},
        {"empty value", u"00-00;1;_", u"", u"  -  "},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Utf8(FormatMaskText(row.mask, row.value)), Utf8(row.expected)) << row.name;
    EXPECT_EQ(Utf8(MaskDoFormatText(u"000-000;0;_", u"12", u'_')), "12_-___");
    EXPECT_EQ(Utf8(PadInputLiterals(u"!000-000;1;_", u"1-2", u'*')), "**1-**2");
}

TEST(MaskRoutinesTest, SeparatorsComeFromTheFormatSettings) {
    TFormatSettings saved = FormatSettings;
    FormatSettings.DateSeparator = u'.';
    FormatSettings.TimeSeparator = u'h';
    String formatted = FormatMaskText(u"00/00 00:00;0;_", u"31120930");
    FormatSettings = saved;
    EXPECT_EQ(Utf8(formatted), "31.12 09h30");
}

} // namespace
