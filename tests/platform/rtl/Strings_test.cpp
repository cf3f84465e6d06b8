// Tests of the string lists: text forms, name=value pairs, sorting and duplicates, change events and
// loading and saving in the encodings.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

namespace {

using Items = std::vector<String>;

Items ItemsOf(const TStrings& list) {
    Items items;
    for (Integer i = 0; i < list.Count(); ++i)
        items.push_back(list.Strings(i));
    return items;
}

void Fill(TStrings& list, const Items& items) {
    list.Clear();
    for (const String& item : items)
        list.Add(item);
}

std::string Utf8(const String& s) {
    return StringToUtf8(s);
}

template <class E> String MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return u"(no exception)";
}

// Setting Text

struct TextCase {
    const char* name;
    String text;
    Items items;
};

class StringsSetText : public testing::TestWithParam<TextCase> {};

TEST_P(StringsSetText, SplitsAtEveryLineBreak) {
    TStringList list;
    list.SetText(GetParam().text);
    EXPECT_EQ(ItemsOf(list), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsSetText,
                         testing::Values(TextCase{"Empty", u"", {}}, TextCase{"OneLine", u"a", {u"a"}},
                                         TextCase{"CrLf", u"a\r\nb", {u"a", u"b"}},
                                         TextCase{"LfAndCr", u"a\nb\rc", {u"a", u"b", u"c"}},
                                         TextCase{"TrailingBreak", u"a\r\n", {u"a"}},
                                         TextCase{"OnlyBreak", u"\r\n", {u""}},
                                         TextCase{"BlankLine", u"a\r\n\r\nb", {u"a", u"", u"b"}},
                                         TextCase{"LfCrIsTwoBreaks", u"a\n\rb", {u"a", u"", u"b"}},
                                         TextCase{"BlanksKept", u"  a \r\n", {u"  a "}},
                                         TextCase{"NulKept", String(u"a\0b", 3), {String(u"a\0b", 3)}}),
                         [](const auto& info) { return info.param.name; });

TEST(Strings, TextEndsEveryLineWithTheLineBreak) {
    TStringList list;
    EXPECT_EQ(list.Text(), u"");
    Fill(list, {u"a", u"", u"b"});
    EXPECT_EQ(list.Text(), u"a\r\n\r\nb\r\n");

    list.SetLineBreak(u"|");
    EXPECT_EQ(list.Text(), u"a||b|");
    list.SetText(u"x|y||z");
    EXPECT_EQ(ItemsOf(list), (Items{u"x", u"y", u"", u"z"}));
}

// CommaText and DelimitedText

struct DelimitedCase {
    const char* name;
    String text;
    Items items;
};

class StringsSetCommaText : public testing::TestWithParam<DelimitedCase> {};

TEST_P(StringsSetCommaText, ReadsItems) {
    TStringList list;
    list.SetCommaText(GetParam().text);
    EXPECT_EQ(ItemsOf(list), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsSetCommaText,
    testing::Values(DelimitedCase{"Empty", u"", {}}, DelimitedCase{"Plain", u"a,b,c", {u"a", u"b", u"c"}},
                    DelimitedCase{"BlankSeparates", u"a b,c", {u"a", u"b", u"c"}},
                    DelimitedCase{"BlanksAroundIgnored", u"  a , b  ", {u"a", u"b"}},
                    DelimitedCase{"QuotedBlank", u"\"a b\",c", {u"a b", u"c"}},
                    DelimitedCase{"DoubledQuote", u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
                    DelimitedCase{"EmptyMiddle", u"a,,b", {u"a", u"", u"b"}},
                    DelimitedCase{"EmptyFirst", u",a", {u"", u"a"}},
                    DelimitedCase{"TrailingDelimiter", u"a,", {u"a", u""}},
                    DelimitedCase{"QuotedEmpty", u"\"\"", {u""}},
                    DelimitedCase{"Unterminated", u"\"abc", {u"abc"}},
                    DelimitedCase{"TextAfterQuote", u"\"a\"b", {u"a", u"b"}},
                    DelimitedCase{"QuotedComma", u"\"1,5\",2", {u"1,5", u"2"}}),
    [](const auto& info) { return info.param.name; });

class StringsCommaText : public testing::TestWithParam<DelimitedCase> {};

TEST_P(StringsCommaText, WritesItemsAndReadsThemBack) {
    TStringList list;
    Fill(list, GetParam().items);
    EXPECT_EQ(list.CommaText(), GetParam().text);
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(ItemsOf(back), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsCommaText,
                         testing::Values(DelimitedCase{"Empty", u"", {}},
                                         DelimitedCase{"Plain", u"a,b", {u"a", u"b"}},
                                         DelimitedCase{"Blank", u"\"a b\",c", {u"a b", u"c"}},
                                         DelimitedCase{"Comma", u"\"1,5\"", {u"1,5"}},
                                         DelimitedCase{"Quote", u"\"say \"\"hi\"\"\"", {u"say \"hi\""}},
                                         DelimitedCase{"LoneEmpty", u"\"\"", {u""}},
                                         DelimitedCase{"EmptyItems", u",a,", {u"", u"a", u""}},
                                         DelimitedCase{"LineBreak", u"\"a\r\nb\"", {u"a\r\nb"}}),
                         [](const auto& info) { return info.param.name; });

TEST(Strings, DelimitedTextUsesTheListsDelimiterAndQuote) {
    TStringList list;
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    list.SetDelimitedText(u"a b;'x;y';'it''s'");
    EXPECT_EQ(ItemsOf(list), (Items{u"a", u"b", u"x;y", u"it's"}));
    EXPECT_EQ(list.DelimitedText(), u"a;b;'x;y';'it''s'");
    // CommaText ignores the list's settings and keeps them.
    EXPECT_EQ(list.CommaText(), u"a,b,x;y,it's");
    EXPECT_EQ(list.Delimiter(), u';');

    list.SetStrictDelimiter(true);
    list.SetDelimitedText(u" a b ; c;;");
    EXPECT_EQ(ItemsOf(list), (Items{u" a b ", u" c", u"", u""}));
    EXPECT_EQ(list.DelimitedText(), u" a b ; c;;");
}

// Names and values

TEST(Strings, NamesAndValues) {
    TStringList list;
    Fill(list, {u"Port=COM1", u"BAUD=9600", u"no separator", u"expr=a=b"});
    EXPECT_EQ(list.Values(u"port"), u"COM1");
    EXPECT_EQ(list.Values(u"Baud"), u"9600");
    EXPECT_EQ(list.Values(u"missing"), u"");
    EXPECT_EQ(list.Names(2), u"");
    EXPECT_EQ(list.Names(3), u"expr");
    EXPECT_EQ(list.ValueFromIndex(3), u"a=b");
    EXPECT_EQ(list.ValueFromIndex(2), u"");
    EXPECT_EQ(list.ValueFromIndex(-1), u"");
    EXPECT_EQ(list.IndexOfName(u"EXPR"), 3);

    list.SetValues(u"port", u"COM2");
    list.SetValues(u"Parity", u"N");
    list.SetValues(u"baud", u"");
    EXPECT_EQ(ItemsOf(list), (Items{u"port=COM2", u"no separator", u"expr=a=b", u"Parity=N"}));

    list.SetValueFromIndex(2, u"c");
    EXPECT_EQ(list.Strings(2), u"expr=c");
    list.SetNameValueSeparator(u':');
    list.Add(u"Host:example");
    EXPECT_EQ(list.Values(u"host"), u"example");
}

TEST(Strings, SetValuesOnASortedListAddsInOrder) {
    TStringList list;
    list.SetSorted(true);
    list.SetValues(u"b", u"2");
    list.SetValues(u"a", u"1");
    EXPECT_EQ(ItemsOf(list), (Items{u"a=1", u"b=2"}));
}

// Editing and errors

TEST(Strings, IndexErrorsNameTheIndex) {
    TStringList list;
    Fill(list, {u"a", u"b"});
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Strings(2); }), u"List index out of bounds (2)");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Delete(-1); }), u"List index out of bounds (-1)");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(3, u"x"); }), u"List index out of bounds (3)");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Move(0, 2); }), u"List index out of bounds (2)");
    EXPECT_EQ(ItemsOf(list), (Items{u"a", u"b"}));
}

TEST(Strings, ObjectsTravelWithTheirStrings) {
    auto* one = reinterpret_cast<TObject*>(0x10);
    auto* two = reinterpret_cast<TObject*>(0x20);
    TStringList list;
    list.AddObject(u"b", one);
    list.AddObject(u"a", two);
    list.Add(u"c");
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), two);
    list.Move(0, 2);
    EXPECT_EQ(ItemsOf(list), (Items{u"b", u"c", u"a"}));
    EXPECT_EQ(list.Objects(2), two);
    EXPECT_EQ(list.IndexOfObject(one), 0);
    list.Sort();
    EXPECT_EQ(list.Objects(0), two);
    EXPECT_EQ(list.Objects(1), one);
    list.SetStrings(1, u"B");
    EXPECT_EQ(list.Objects(1), one);
}

TEST(Strings, AssignAndAddStringsIncludingItself) {
    TStringList source;
    source.SetDelimiter(u';');
    Fill(source, {u"x", u"y"});
    TStringList list;
    list.Add(u"old");
    list.Assign(source);
    EXPECT_EQ(ItemsOf(list), (Items{u"x", u"y"}));
    EXPECT_EQ(list.Delimiter(), u';');
    EXPECT_TRUE(list.Equals(source));

    list.Assign(list);
    EXPECT_EQ(ItemsOf(list), (Items{u"x", u"y"}));
    list.AddStrings(list);
    EXPECT_EQ(ItemsOf(list), (Items{u"x", u"y", u"x", u"y"}));
    EXPECT_FALSE(list.Equals(source));
}

// Sorted lists

struct DuplicatesCase {
    const char* name;
    TDuplicates duplicates;
    Items expected;
};

class StringListDuplicates : public testing::TestWithParam<DuplicatesCase> {};

TEST_P(StringListDuplicates, AddToSortedList) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(GetParam().duplicates);
    for (const Char* s : {u"pear", u"apple", u"fig"})
        list.Add(s);
    if (GetParam().duplicates == dupError) {
        EXPECT_EQ(MessageOf<EStringListError>([&] { list.Add(u"Apple"); }),
                  u"String list does not allow duplicates");
    } else {
        const Integer index = list.Add(u"Apple");
        EXPECT_EQ(index, 0);
    }
    EXPECT_EQ(ItemsOf(list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringListDuplicates,
                         testing::Values(DuplicatesCase{"Ignore", dupIgnore, {u"apple", u"fig", u"pear"}},
                                         DuplicatesCase{
                                             "Accept", dupAccept, {u"Apple", u"apple", u"fig", u"pear"}},
                                         DuplicatesCase{"Error", dupError, {u"apple", u"fig", u"pear"}}),
                         [](const auto& info) { return info.param.name; });

TEST(StringList, CaseSensitiveListKeepsBothCases) {
    TStringList list;
    list.SetCaseSensitive(true);
    list.SetSorted(true);
    list.Add(u"B");
    list.Add(u"b");
    list.Add(u"a");
    EXPECT_EQ(ItemsOf(list), (Items{u"a", u"b", u"B"}));
    EXPECT_EQ(list.IndexOf(u"B"), 2);
    EXPECT_EQ(list.IndexOf(u"A"), -1);

    list.SetCaseSensitive(false);
    EXPECT_EQ(list.IndexOf(u"A"), 0);
}

TEST(StringList, FindAnswersTheInsertionPoint) {
    TStringList list;
    list.SetSorted(true);
    Fill(list, {u"b", u"d", u"f"});
    Integer index = -1;
    EXPECT_TRUE(list.Find(u"D", index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find(u"e", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(u"z", index));
    EXPECT_EQ(index, 3);
}

TEST(StringList, SortedListRefusesPositionalChangesWithoutLosingItems) {
    TStringList list;
    list.SetSorted(true);
    Fill(list, {u"a", u"b", u"c"});
    const String sortedError = u"Operation not allowed on sorted list";
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(0, u"z"); }), sortedError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Exchange(0, 2); }), sortedError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.SetStrings(0, u"z"); }), sortedError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Move(0, 2); }), sortedError);
    EXPECT_EQ(ItemsOf(list), (Items{u"a", u"b", u"c"}));
}

TEST(StringList, SortMatchesTheComparisonOnLargeLists) {
    std::mt19937 random(7);
    TStringList list;
    for (int i = 0; i < 5000; ++i) {
        String s;
        for (int n = random() % 6; n >= 0; --n)
            s.push_back(static_cast<Char>(u"aAbBcC "[random() % 7]));
        list.Add(s);
    }
    list.Add(String(5, u'x'));
    for (int i = 0; i < 300; ++i) // a long run of equal strings
        list.Add(u"same");
    Items before = ItemsOf(list);
    list.Sort();
    Items after = ItemsOf(list);
    for (size_t i = 1; i < after.size(); ++i)
        ASSERT_LE(AnsiCompareText(after[i - 1], after[i]), 0) << i;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(before, after);
}

TEST(StringList, CustomSortSeesTheItemsAtTheIndexesItIsGiven) {
    TStringList list;
    Fill(list, {u"ccc", u"a", u"bb", u"dddd", u""});
    list.CustomSort(
        [](TStringList* l, Integer i, Integer j) { return Length(l->Strings(j)) - Length(l->Strings(i)); });
    EXPECT_EQ(ItemsOf(list), (Items{u"dddd", u"ccc", u"bb", u"a", u""}));

    // A comparison that contradicts itself may give any order, but never loses or invents an item.
    std::mt19937 random(3);
    Items many;
    for (int i = 0; i < 2000; ++i)
        many.push_back(IntToStr(i));
    Fill(list, many);
    list.CustomSort([&](TStringList*, Integer, Integer) { return static_cast<Integer>(random() % 3) - 1; });
    Items after = ItemsOf(list);
    std::sort(many.begin(), many.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(many, after);
}

// Change events

TEST(StringList, ChangeEventsFireOutsideUpdatesOnly) {
    TStringList list;
    std::vector<char> events;
    list.OnChanging = [&](TObject*) { events.push_back('['); };
    list.OnChange = [&](TObject*) { events.push_back(']'); };

    list.Add(u"a");
    EXPECT_EQ(std::string(events.begin(), events.end()), "[]");

    events.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(u"b");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(std::string(events.begin(), events.end()), "[");
    list.EndUpdate();
    EXPECT_EQ(std::string(events.begin(), events.end()), "[]");

    // Setting Text is one change.
    events.clear();
    list.SetText(u"x\r\ny\r\nz");
    EXPECT_EQ(std::string(events.begin(), events.end()), "[]");

    // An EndUpdate without its BeginUpdate does not silence later changes.
    list.EndUpdate();
    events.clear();
    list.Add(u"w");
    EXPECT_EQ(std::string(events.begin(), events.end()), "[]");
}

// Loading and saving

struct EncodingCase {
    const char* name;
    std::string bytes;
    Items lines;
    TEncoding* (*encoding)();
};

class StringsEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(StringsEncoding, LoadsAndSavesTheSameBytes) {
    TMemoryStream input;
    input.WriteBuffer(GetParam().bytes.data(), static_cast<Integer>(GetParam().bytes.size()));
    input.SetPosition(0);
    TStringList list;
    list.LoadFromStream(input);
    EXPECT_EQ(ItemsOf(list), GetParam().lines);
    EXPECT_EQ(list.Encoding(), GetParam().encoding());

    TStringStream output(u"");
    list.SaveToStream(output);
    EXPECT_EQ(std::string(static_cast<const char*>(output.Memory()), static_cast<size_t>(output.Size())),
              GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsEncoding,
                         testing::Values(EncodingCase{"Utf8WithoutMark",
                                                      "caf\xC3\xA9\r\n\xE2\x82\xAC\r\n",
                                                      {u"caf\u00E9", u"\u20AC"},
                                                      &TEncoding::Default},
                                         EncodingCase{"Utf8WithMark",
                                                      "\xEF\xBB\xBF"
                                                      "caf\xC3\xA9\r\n",
                                                      {u"caf\u00E9"},
                                                      &TEncoding::UTF8},
                                         EncodingCase{"Utf16LE",
                                                      std::string("\xFF\xFE"
                                                                  "a\0\xE9\0\r\0\n\0",
                                                                  10),
                                                      {u"a\u00E9"},
                                                      &TEncoding::Unicode},
                                         EncodingCase{"Utf16BE",
                                                      std::string("\xFE\xFF\0a\0\xE9\0\r\0\n", 10),
                                                      {u"a\u00E9"},
                                                      &TEncoding::BigEndianUnicode},
                                         EncodingCase{"Empty", "", {}, &TEncoding::Default}),
                         [](const auto& info) { return info.param.name; });

TEST(Strings, InvalidUtf8BytesReadAsWindows1252) {
    const std::string bytes = "caf\xE9 \x80 \xC3\r\nok\xC3\xA9";
    TStringStream input(u"");
    input.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    input.SetPosition(0);
    TStringList list;
    list.LoadFromStream(input);
    EXPECT_EQ(ItemsOf(list), (Items{u"caf\u00E9 \u20AC \u00C3", u"ok\u00E9"}));
    // Saved again, each character is proper UTF-8.
    TStringStream output(u"");
    list.SaveToStream(output);
    EXPECT_EQ(Utf8(output.DataString()), "caf\xC3\xA9 \xE2\x82\xAC \xC3\x83\r\nok\xC3\xA9\r\n");
}

TEST(Strings, ExplicitEncodingAndByteOrderMark) {
    TStringList list;
    list.Add(u"\u00E9");
    TStringStream utf16(u"", TEncoding::Unicode());
    list.SaveToStream(utf16, TEncoding::Unicode());
    EXPECT_EQ(std::string(static_cast<const char*>(utf16.Memory()), 6), std::string("\xFF\xFE\xE9\0\r\0", 6));

    // The encoding given to the load is used even without its mark.
    utf16.SetPosition(2);
    TStringList back;
    back.LoadFromStream(utf16, TEncoding::Unicode());
    EXPECT_EQ(ItemsOf(back), (Items{u"\u00E9"}));

    list.SetWriteBOM(false);
    TStringStream utf8(u"");
    list.SaveToStream(utf8, TEncoding::UTF8());
    EXPECT_EQ(Utf8(utf8.DataString()), "\xC3\xA9\r\n");
}

TEST(Strings, FilesRoundTrip) {
    const std::string folder = testing_support::MakeTestFolder("strings-files");
    const String name = Utf8ToString(folder + "/list.txt");
    TStringList list;
    Fill(list, {u"\u00FCber", u"", u"end"});
    list.SaveToFile(name, TEncoding::UTF8());
    TStringList back;
    back.LoadFromFile(name);
    EXPECT_EQ(ItemsOf(back), ItemsOf(list));
    EXPECT_EQ(back.Encoding(), TEncoding::UTF8());

    EXPECT_THROW(back.LoadFromFile(Utf8ToString(folder + "/missing.txt")), EFOpenError);
    EXPECT_EQ(ItemsOf(back), ItemsOf(list));
}

} // namespace

TEST(StringList, IsAPersistentThatNamesItselfAsSender) {
    TStringList list;
    TObject* sender = nullptr;
    list.OnChange = [&](TObject* s) { sender = s; };
    list.Add(u"a");
    EXPECT_EQ(sender, &list);
    EXPECT_EQ(list.ClassName(), u"TStringList");
    EXPECT_TRUE(list.InheritsFrom(TPersistent::StaticClass()));

    TStringList copy;
    TPersistent* source = &list;
    copy.Assign(source);
    EXPECT_EQ(copy.Text(), u"a\r\n");

    TPersistent other;
    try {
        copy.Assign(&other);
        FAIL() << "assigning a plain persistent must fail";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TPersistent to a TStringList");
    }
}
