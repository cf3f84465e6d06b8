// The typed edit: the value between prefix and suffix, number formatting and reading, the key rules of
// each type typed through the window manager's input, Escape, paste and the clipboard events, and the
// focus and error colours.
#include "controls/AdvEdit.h"

#include "platform/framework/Clipbrd.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/controls/ControlsTesting.h"

namespace {

class AdvEditTest : public StyledControlsTest {
protected:
    void SetUp() override {
        StyledControlsTest::SetUp();
        FSaved = FormatSettings;
        FormatSettings = DefaultFormatSettings();
    }
    void TearDown() override {
        FormatSettings = FSaved;
        StyledControlsTest::TearDown();
    }
    // ',' as decimal and '.' as thousand separator.
    static void UseCommaDecimals() {
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
    }
    TAdvEdit* AddEdit(TAdvEditType type = etString) {
        auto* edit = Add<TAdvEdit>(10, 10, 150, 24);
        edit->SetEditType(type);
        return edit;
    }
    static void Type(const String& text) {
        for (Char c : text)
            win32::input::TypeCharacter(c);
        Pump();
    }
    static Integer Caret(TAdvEdit* edit) { return edit->SelStart(); }
    // A pixel of the edit's client area as its window shows it (the painted extras go straight to it).
    static TColor WindowPixel(TAdvEdit* edit, int x, int y) {
        Pump();
        HDC dc = GetDC(edit->Handle());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(edit->Handle(), dc);
        return static_cast<TColor>(color);
    }

    TFormatSettings FSaved;
};

TEST_F(AdvEditTest, TextReadsTheValueBetweenPrefixAndSuffix) {
    auto* edit = AddEdit();
    edit->SetPrefix(u"$");
    edit->SetSuffix(u" kg");
    edit->SetText(u"12");
    EXPECT_EQ(u"$12 kg", edit->TControl::Text());
    EXPECT_EQ(u"12", edit->Text());
    edit->TControl::SetText(u"$123");
    EXPECT_EQ(u"", edit->Text()) << "the last three characters are taken for the suffix";
    edit->TControl::SetText(u"$12");
    EXPECT_EQ(u"12", edit->Text()) << "too short to hold the suffix";
}

// One key typed into a focused edit whose window text was set as is (no formatting), with
// AllowNumericNullValue on so that an empty value stays empty.
struct KeyCase {
    const char* name;
    bool commaDecimals;
    TAdvEditType type;
    int precision;
    bool isSigned;
    const char16_t* prefix;
    const char16_t* suffix;
    int lengthLimit;
    const char16_t* text;
    int caret;
    Char c;  // a typed character, or 0 for the virtual key
    int key; // a key pressed through the keyboard
    const char16_t* expected;
    int expectedCaret;
    bool modified;
};

TEST_F(AdvEditTest, KeysFollowTheRulesOfTheType) {
    const KeyCase cases[] = {
        {"unsigned refuses minus", false, etNumeric, 0, false, u"", u"", 0, u"12", 2, u'-', 0, u"12", 2,
         false},
        {"minus on empty", false, etNumeric, 0, true, u"", u"", 0, u"", 0, u'-', 0, u"-", 1, false},
        {"minus adds sign", false, etNumeric, 0, true, u"", u"", 0, u"12", 2, u'-', 0, u"-12", 3, true},
        {"minus removes sign", false, etNumeric, 0, true, u"", u"", 0, u"-12", 3, u'-', 0, u"12", 2, false},
        {"numeric drops letters", false, etNumeric, 0, false, u"", u"", 0, u"12", 2, u'a', 0, u"12", 2,
         false},
        {"decimals full at end", false, etFloat, 2, false, u"", u"", 0, u"1.25", 4, u'7', 0, u"1.25", 4,
         false},
        {"digit overwrites decimal", false, etFloat, 2, false, u"", u"", 0, u"1.25", 2, u'7', 0, u"1.75", 3,
         true},
        {"second separator jumps", false, etFloat, 2, false, u"", u"", 0, u"1.25", 1, u'.', 0, u"1.25", 2,
         false},
        {"separator on empty float", false, etFloat, 2, false, u"", u"", 0, u"", 0, u'.', 0, u"0.", 2, true},
        {"float minus toggles", false, etFloat, 2, true, u"", u"", 0, u"-1.5", 4, u'-', 0, u"1.5", 3, true},
        {"comma refused in dot locale", false, etFloat, 2, false, u"", u"", 0, u"1", 1, u',', 0, u"1", 1,
         false},
        {"separator on empty money", false, etMoney, 2, false, u"", u"", 0, u"", 0, u'.', 0, u"0.", 2, true},
        {"money separator after group", false, etMoney, 2, false, u"", u"", 0, u"1,234", 5, u'.', 0,
         u"1,234.", 6, true},
        {"money separator inside group", false, etMoney, 2, false, u"", u"", 0, u"1,234", 3, u'.', 0,
         u"1,234", 3, false},
        {"money regroups", false, etMoney, 2, false, u"", u"", 0, u"1,234", 5, u'5', 0, u"12,345", 6, true},
        {"money refuses typed group", false, etMoney, 2, false, u"", u"", 0, u"1234", 4, u',', 0, u"1234", 4,
         false},
        {"limit refuses digit", false, etNumeric, 0, false, u"", u"", 3, u"123", 3, u'4', 0, u"123", 3,
         false},
        {"limit takes backspace", false, etNumeric, 0, false, u"", u"", 3, u"123", 3, 0, VK_BACK, u"12", 2,
         true},
        {"limit takes separator", false, etFloat, 2, false, u"", u"", 3, u"123", 3, u'.', 0, u"123.", 4,
         true},
        {"comma locale decimals full", true, etFloat, 2, false, u"", u"", 0, u"1,25", 4, u'7', 0, u"1,25", 4,
         false},
        {"comma locale empty", true, etFloat, 2, false, u"", u"", 0, u"", 0, u',', 0, u"0,", 2, true},
        {"comma locale refuses dot", true, etFloat, 2, false, u"", u"", 0, u"1", 1, u'.', 0, u"1", 1, false},
        {"comma locale money", true, etMoney, 2, false, u"", u"", 0, u"1.234", 5, u',', 0, u"1.234,", 6,
         true},
        {"comma locale spacing", true, etMoney, 2, false, u"", u"", 0, u"1.234", 4, u',', 0, u"1.234", 4,
         false},
        {"home stops at prefix", false, etString, 0, false, u"$", u"", 0, u"12", 3, 0, VK_HOME, u"12", 1,
         false},
        {"left stops at prefix", false, etString, 0, false, u"$", u"", 0, u"12", 1, 0, VK_LEFT, u"12", 1,
         false},
        {"backspace stops at prefix", false, etString, 0, false, u"$", u"", 0, u"12", 1, 0, VK_BACK, u"12", 1,
         false},
        {"right stops at suffix", false, etString, 0, false, u"", u" kg", 0, u"12", 2, 0, VK_RIGHT, u"12", 2,
         false},
        {"end stops at suffix", false, etString, 0, false, u"", u" kg", 0, u"12", 0, 0, VK_END, u"12", 2,
         false},
        {"delete spares suffix", false, etString, 0, false, u"", u" kg", 0, u"12", 2, 0, VK_DELETE, u"12", 2,
         false},
        {"hex upper digits", false, etHex, 0, false, u"", u"", 0, u"1", 1, u'f', 0, u"1f", 2, true},
        {"hex drops others", false, etHex, 0, false, u"", u"", 0, u"1", 1, u'g', 0, u"1", 1, false},
        {"uppercase", false, etUppercase, 0, false, u"", u"", 0, u"A", 1, u'b', 0, u"AB", 2, true},
        {"mixed case", false, etMixedCase, 0, false, u"", u"", 0, u"o'", 2, u'n', 0, u"O'N", 3, false},
        {"range refuses double separator", false, etRange, 0, false, u"", u"", 0, u"1-", 2, u',', 0, u"1-", 2,
         false},
        {"alphanumeric drops blank", false, etAlphaNumeric, 0, false, u"", u"", 0, u"a", 1, u' ', 0, u"a", 1,
         false},
    };
    ShowForm();
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        FormatSettings = DefaultFormatSettings();
        if (c.commaDecimals)
            UseCommaDecimals();
        auto* edit = AddEdit(c.type);
        edit->SetAllowNumericNullValue(true);
        edit->SetPrecision(static_cast<SmallInt>(c.precision));
        edit->SetSigned(c.isSigned);
        edit->SetPrefix(c.prefix);
        edit->SetSuffix(c.suffix);
        edit->SetLengthLimit(static_cast<SmallInt>(c.lengthLimit));
        edit->SetFocus();
        Pump();
        edit->TControl::SetText(String(c.prefix) + c.text + c.suffix);
        edit->SetModified(false);
        edit->SetSelStart(c.caret);
        if (c.c != 0)
            Type(String(1, c.c));
        else
            Press(c.key);
        EXPECT_EQ(c.expected, edit->Text());
        EXPECT_EQ(c.expectedCaret, Caret(edit));
        EXPECT_EQ(c.modified, edit->Modified());
        EXPECT_EQ(String(c.prefix) + c.expected + c.suffix, edit->TControl::Text())
            << "prefix and suffix stay";
        edit->Free();
    }
}

TEST_F(AdvEditTest, KeypadDecimalKeyTypesTheLocaleSeparator) {
    UseCommaDecimals();
    ShowForm();
    auto* edit = AddEdit(etFloat);
    edit->SetPrecision(2);
    edit->SetExcelStyleDecimalSeparator(true);
    edit->SetFocus();
    edit->TControl::SetText(u"1");
    edit->SetSelStart(1);
    Press(VK_OEM_PERIOD);
    EXPECT_EQ(u"1", edit->Text()) << "the main keyboard's point is no separator here";
    Press(VK_DECIMAL);
    EXPECT_EQ(u"1,", edit->Text());
    EXPECT_EQ(2, Caret(edit));
}

TEST_F(AdvEditTest, FullIntegerPartMovesOnByTypingAndByPaste) {
    ShowForm();
    for (bool paste : {false, true}) {
        SCOPED_TRACE(paste ? "paste" : "typing");
        auto* first = AddEdit(etNumeric);
        auto* second = Add<TAdvEdit>(10, 50, 150, 24);
        first->SetPrefix(u"#");
        first->SetLengthLimit(3);
        first->SetTabOnFullLength(true);
        first->SetAllowNumericNullValue(true);
        first->SetText(u"");
        first->SetFocus();
        Pump();
        if (paste) {
            Clipboard()->SetAsText(u"123");
            first->PasteFromClipboard();
            Pump();
        } else {
            first->SetSelStart(1);
            Type(u"12");
            EXPECT_TRUE(first->Focused()) << "two digits do not fill it";
            Type(u"3");
        }
        EXPECT_EQ(u"123", first->Text());
        EXPECT_TRUE(second->Focused()) << "the focus moves on to the next control";
        first->Free();
        second->Free();
    }
}

TEST_F(AdvEditTest, EscapeRestoresTheValueAtFocusTime) {
    ShowForm();
    auto* edit = AddEdit();
    edit->SetText(u"abc");
    edit->SetFocus();
    Pump();
    edit->SetSelStart(3);
    Type(u"xy");
    EXPECT_EQ(u"abcxy", edit->Text());
    EXPECT_TRUE(edit->Modified());
    Press(VK_ESCAPE);
    EXPECT_EQ(u"abc", edit->Text());
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(0, edit->SelStart());
    EXPECT_EQ(3, edit->SelLength());
}

struct PasteCase {
    const char* name;
    TAdvEditType type;
    bool isSigned;
    const char16_t* text;
    int selStart, selLength;
    const char16_t* clipboard;
    const char16_t* expected;
};

TEST_F(AdvEditTest, PasteFollowsTheRulesOfTheType) {
    const PasteCase cases[] = {
        {"first line only", etString, false, u"ab", 2, 0, u"cd\r\nef", u"abcd"},
        {"replaces the selection", etString, false, u"abc", 1, 1, u"xy", u"axyc"},
        {"numeric refuses letters", etNumeric, false, u"1", 1, 0, u"2a", u"1"},
        {"unsigned refuses minus", etNumeric, false, u"1", 0, 0, u"-5", u"1"},
        {"signed takes minus", etNumeric, true, u"1", 0, 0, u"-5", u"-51"},
        {"range changes nothing", etRange, false, u"1", 1, 0, u"2", u"1"},
        {"hex takes hex digits", etHex, false, u"1", 1, 0, u"af", u"1AF"},
        {"uppercase", etUppercase, false, u"A", 1, 0, u"bc", u"ABC"},
        {"alphanumeric refuses blank", etAlphaNumeric, false, u"a", 1, 0, u"b c", u"a"},
        {"float reformats", etFloat, false, u"1.50", 4, 0, u"7", u"1.51"},
    };
    ShowForm();
    for (const PasteCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* edit = AddEdit(c.type);
        edit->SetSigned(c.isSigned);
        if (c.type == etFloat)
            edit->SetPrecision(2);
        edit->SetFocus();
        edit->TControl::SetText(c.text);
        edit->SetSelStart(c.selStart);
        edit->SetSelLength(c.selLength);
        Clipboard()->SetAsText(c.clipboard);
        edit->PasteFromClipboard();
        Pump();
        EXPECT_EQ(c.expected, edit->Text());
        edit->Free();
    }
}

TEST_F(AdvEditTest, ClipboardEventsSeeTheSelectedValueAndCanVetoCopy) {
    ShowForm();
    auto* edit = AddEdit();
    edit->SetPrefix(u"$");
    edit->SetText(u"hello");
    edit->SetFocus();
    std::vector<String> copies, cuts;
    bool allowCopy = false;
    edit->OnClipboardCopy = [&](TObject*, String value, bool& allow) {
        copies.push_back(value);
        allow = allowCopy;
    };
    edit->OnClipboardCut = [&](TObject*, String value, bool&) { cuts.push_back(value); };
    Clipboard()->SetAsText(u"before");
    edit->SetSelStart(2);
    edit->SetSelLength(3);
    edit->CopyToClipboard();
    EXPECT_EQ(std::vector<String>{u"ell"}, copies);
    EXPECT_EQ(u"before", Clipboard()->AsText()) << "the handler stopped the copy";
    allowCopy = true;
    edit->CopyToClipboard();
    EXPECT_EQ(u"ell", Clipboard()->AsText());
    copies.clear();
    edit->CutToClipboard();
    EXPECT_EQ(std::vector<String>{u"ell"}, cuts);
    EXPECT_TRUE(copies.empty()) << "a cut fires no copy event";
    EXPECT_EQ(u"ho", edit->Text());
}

TEST_F(AdvEditTest, MoneyValuesShowGroupsAndDecimals) {
    for (bool comma : {false, true}) {
        SCOPED_TRACE(comma ? "comma decimals" : "point decimals");
        FormatSettings = DefaultFormatSettings();
        if (comma)
            UseCommaDecimals();
        auto* edit = AddEdit(etMoney);
        edit->SetPrecision(2);
        edit->SetFloatValue(1234.5);
        EXPECT_EQ(comma ? u"1.234,50" : u"1,234.50", edit->Text());
        EXPECT_DOUBLE_EQ(1234.5, edit->FloatValue());
        EXPECT_EQ(1234, edit->IntValue());
        edit->SetPrecision(0);
        EXPECT_EQ(comma ? u"1.235" : u"1,235", edit->Text());
        edit->Free();
    }
}

TEST_F(AdvEditTest, NumericValueWrittenWithGroupsReadsBackAndChecksItsRange) {
    auto* edit = AddEdit(etNumeric);
    edit->SetFloatValue(12345.6);
    EXPECT_EQ(u"12,346", edit->Text());
    EXPECT_EQ(12346, edit->IntValue());
    edit->SetMinValue(1);
    edit->SetMaxValue(20000);
    EXPECT_TRUE(edit->ValidateValue(edit->Text()));
    EXPECT_FALSE(edit->ValidateValue(u"20,001"));
}

TEST_F(AdvEditTest, FocusLossCompletesNumbers) {
    ShowForm();
    auto* other = Add<TAdvEdit>(10, 50, 150, 24);
    auto* numeric = AddEdit(etNumeric);
    auto* nullable = AddEdit(etNumeric);
    nullable->SetAllowNumericNullValue(true);
    auto* decimal = AddEdit(etFloat);
    decimal->SetPrecision(2);
    auto* loose = AddEdit(etFloat);
    for (TAdvEdit* edit : {numeric, nullable, decimal, loose}) {
        edit->SetFocus();
        edit->TControl::SetText(edit == decimal ? u"1.5" : edit == loose ? u"1.500" : u"");
        other->SetFocus();
        Pump();
    }
    EXPECT_EQ(u"0", numeric->Text());
    EXPECT_EQ(u"", nullable->Text());
    EXPECT_EQ(u"1.50", decimal->Text());
    EXPECT_EQ(u"1.500", loose->Text()) << "precision 0 keeps the text as typed";
}

TEST_F(AdvEditTest, FocusAndErrorColours) {
    ShowForm();
    auto* other = Add<TAdvEdit>(10, 50, 150, 24);
    auto* edit = AddEdit(etNumeric);
    edit->SetFocusColor(clYellow);
    edit->SetFocusFontColor(clNavy);
    edit->SetMinValue(1);
    edit->SetMaxValue(10);
    edit->SetShowError(true);
    edit->SetText(u"1");
    edit->SetFocus();
    Pump();
    EXPECT_EQ(clYellow, edit->Color());
    EXPECT_EQ(clNavy, edit->Font()->Color());
    edit->SetSelStart(1);
    Type(u"1");
    EXPECT_TRUE(edit->IsError());
    EXPECT_EQ(clRed, edit->Color());
    EXPECT_EQ(clWhite, edit->Font()->Color());
    Press(VK_BACK);
    EXPECT_FALSE(edit->IsError());
    EXPECT_EQ(clYellow, edit->Color());
    other->SetFocus();
    Pump();
    EXPECT_EQ(clWindow, edit->Color());
    EXPECT_EQ(clWindowText, edit->Font()->Color());
}

TEST_F(AdvEditTest, ClicksKeepTheCaretInsideTheValue) {
    ShowForm();
    auto* edit = AddEdit();
    edit->SetPrefix(u"$$");
    edit->SetSuffix(u" kg");
    edit->SetText(u"12");
    edit->SetFocus();
    Pump();
    ClickAt(edit, 1, 10);
    EXPECT_EQ(2, edit->SelStart()) << "a click on the prefix selects the value";
    EXPECT_EQ(2, edit->SelLength());
    ClickAt(edit, 140, 10);
    EXPECT_EQ(4, edit->SelStart()) << "a click past the value puts the caret at its end";
    EXPECT_EQ(0, edit->SelLength());
}

TEST_F(AdvEditTest, FormDescriptionsCarryTheTypedValue) {
    AdvEditStartup();
    TAdvEdit edit(nullptr);
    edit.SetName(u"Amount");
    edit.SetEditType(etMoney);
    edit.SetPrecision(2);
    edit.SetPrefix(u"$");
    edit.SetFloatValue(1234.5);
    TMemoryStream binary;
    WriteComponent(binary, &edit);
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(binary, text);
    std::string description(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
    EXPECT_NE(description.find("object Amount: TAdvEdit"), std::string::npos) << description;
    EXPECT_NE(description.find("EditType = etMoney"), std::string::npos) << description;
    EXPECT_EQ(description.find("AutoThousandSeparator"), std::string::npos) << description;
    EXPECT_EQ(description.find("Version"), std::string::npos) << description;

    text.SetPosition(0);
    TMemoryStream again;
    ObjectTextToBinary(text, again);
    again.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponent(again, nullptr));
    auto* copy = dynamic_cast<TAdvEdit*>(read.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(u"$", copy->Prefix());
    EXPECT_EQ(2, copy->Precision());
    EXPECT_EQ(u"1,234.50", copy->Text());
    EXPECT_EQ(u"3.3.2.8", copy->Version());
}

TEST_F(AdvEditTest, NumberTextsAreClassifiedAndRead) {
    struct Case {
        const char16_t* text;
        TNumericTextKind kind;
    };
    const Case kinds[] = {
        {u"12", TNumericTextKind::Integer},      {u"-1.5", TNumericTextKind::Decimal},
        {u"1,234.5", TNumericTextKind::Decimal}, {u"1,2,3", TNumericTextKind::Other},
        {u",123", TNumericTextKind::Other},      {u"1F", TNumericTextKind::Hexadecimal},
        {u"--1", TNumericTextKind::Other},       {u"", TNumericTextKind::Other},
        {u"-", TNumericTextKind::Integer},       {u"1.2.3", TNumericTextKind::Other},
    };
    for (const Case& c : kinds)
        EXPECT_EQ(c.kind, NumericTextKind(c.text)) << String(c.text).size();
    EXPECT_DOUBLE_EQ(1234.5, TextToFloatValue(u"1,234.5"));
    EXPECT_DOUBLE_EQ(0, TextToFloatValue(u"abc"));
    EXPECT_EQ(31, HexTextToInt(u"1f"));
    EXPECT_EQ(16, HexTextToInt(u"1G"));
    EXPECT_EQ(u"O'Neil-Smith", NameCase(u"o'neil-smith"));
    EXPECT_EQ(u"John Doe II", NameCase(u"john doe ii"));
    EXPECT_EQ(u"McDonald", NameCase(u"mcdonald"));
    EXPECT_EQ(u"MacLeod", NameCase(u"macleod"));
}

TEST_F(AdvEditTest, RangeTextsExpandToListsAndListsWriteBackAsRuns) {
    TRangeList list;
    EXPECT_TRUE(list.StrToList(u"1-3,5;7,2"));
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Items(0), 1);
    EXPECT_EQ(list.Items(3), 5);
    EXPECT_EQ(list.Items(4), 7);
    EXPECT_TRUE(list.InList(2));
    EXPECT_FALSE(list.InList(4));
    EXPECT_TRUE(list.StrToList(u"3-1"));
    EXPECT_EQ(list.Count(), 0);
    // An item that does not convert fails the text; the others are kept.
    EXPECT_FALSE(list.StrToList(u"a,2,0"));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(list.InList(0));
    // A range too large to hold is refused instead of filling the memory.
    EXPECT_FALSE(list.StrToList(u"1-2000000000"));
    EXPECT_LE(list.Count(), TRangeList::MaxRangeValues);
    EXPECT_TRUE(list.StrToList(u"1-65536"));
    EXPECT_EQ(list.Count(), 65536);

    TAdvEdit* edit = AddEdit(etRange);
    ShowForm();
    list.Clear();
    for (Integer v : {5, 1, 2, 3, -1})
        list.Add(v);
    edit->ListToRangeStr(list);
    // Sorted as unsigned numbers: -1 is the largest.
    EXPECT_EQ(edit->Text(), u"1-3,5,-1");
    // Read back, "-1" is a range without a start.
    EXPECT_FALSE(edit->RangeStrToList(list));
    EXPECT_EQ(list.Count(), 4);
    TRangeList empty;
    edit->ListToRangeStr(empty);
    EXPECT_EQ(edit->Text(), u"");
}

TEST(EditLabelPlace, EveryPositionOfTheTable) {
    using namespace AdvEdit;
    // An edit at (100, 50) of 80 x 27 with a single border, a 30 x 19 label of 26-pixel text, margin 4.
    const TRect edit(100, 50, 180, 77);
    struct Case {
        TLabelPosition position;
        TPoint place;
    };
    const Case cases[] = {
        {lpLeftTop, {70, 50}},        {lpLeftCenter, {70, 53}},     {lpLeftBottom, {70, 58}},
        {lpTopLeft, {100, 27}},       {lpBottomLeft, {100, 81}},    {lpLeftTopLeft, {96, 50}},
        {lpLeftCenterLeft, {96, 53}}, {lpLeftBottomLeft, {96, 58}}, {lpTopCenter, {125, 27}},
        {lpBottomCenter, {125, 81}},  {lpRightTop, {184, 50}},      {lpRightCenter, {184, 53}},
        {lpRighBottom, {184, 58}},    {lpTopRight, {150, 27}},      {lpBottomRight, {150, 81}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditLabelPlace(c.position, edit, TPoint(30, 19), 4, 26, 2), c.place) << int(c.position);
    // A label wider than the edit is centred over it, past both sides alike; a taller one likewise.
    EXPECT_EQ(EditLabelPlace(lpTopCenter, edit, TPoint(120, 19), 4, 116, 2), TPoint(80, 27));
    EXPECT_EQ(EditLabelPlace(lpLeftCenter, edit, TPoint(30, 40), 4, 26, 2).Y, 50 - (2 + 40 - 27) / 2);
}

TEST_F(AdvEditTest, TheLabelFollowsTheEditAndMayStayEnabled) {
    TAdvEdit* edit = AddEdit();
    edit->SetTop(40);
    edit->SetLabelCaption(u"Name");
    edit->SetLabelPosition(AdvEdit::lpTopLeft);
    ShowForm();
    TEditLabel* label = edit->EditLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), FForm);
    EXPECT_EQ(label->Left(), edit->Left());
    EXPECT_EQ(label->Top(), edit->Top() - label->Height() - 4);
    edit->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    edit->SetVisible(true);
    edit->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    edit->SetEnabled(true);
    edit->SetLabelAlwaysEnabled(true);
    edit->SetEnabled(false);
    EXPECT_TRUE(label->Enabled());
    label->SetEnabled(false); // refused
    EXPECT_TRUE(label->Enabled());

    int clicks = 0;
    edit->OnLabelClick = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++clicks;
    };
    ClickAt(label, 2, 2);
    EXPECT_EQ(clicks, 1);

    // An edit aligned to the client leaves its left-hand label room.
    auto* panel = Add<TPanel>(0, 100, 300, 40);
    panel->SetBevelOuter(bvNone);
    auto* aligned = new TAdvEdit(FForm);
    aligned->SetParent(panel);
    aligned->SetLabelCaption(u"Module");
    aligned->SetAlign(alClient);
    Pump();
    EXPECT_EQ(aligned->Left(), aligned->EditLabel()->Width() + 4);
}

TEST_F(AdvEditTest, ThePlaceholderShowsGreyWhileEmptyAndUnfocused) {
    TAdvEdit* edit = AddEdit();
    TAdvEdit* other = Add<TAdvEdit>(10, 60, 150, 24);
    edit->SetEmptyText(u"WWWW");
    ShowForm();
    other->SetFocus();
    Pump();
    auto greyIn = [&](TAdvEdit* e) {
        Pump();
        HDC dc = GetDC(e->Handle());
        bool grey = false;
        // Right of where a caret blinks.
        for (int x = 8; x < 40 && !grey; ++x)
            for (int y = 2; y < 18 && !grey; ++y) {
                COLORREF c = GetPixel(dc, x, y);
                grey = GetRValue(c) > 100 && GetRValue(c) < 200 && GetRValue(c) == GetGValue(c) &&
                       GetGValue(c) == GetBValue(c);
            }
        ReleaseDC(e->Handle(), dc);
        return grey;
    };
    EXPECT_TRUE(greyIn(edit));
    edit->SetFocus();
    Pump();
    EXPECT_FALSE(greyIn(edit));
    edit->SetEmptyTextFocused(true);
    edit->Invalidate();
    EXPECT_TRUE(greyIn(edit));
    edit->SetText(u"x");
    other->SetFocus();
    Pump();
    EXPECT_FALSE(greyIn(edit));
}

TEST_F(AdvEditTest, AFlatEditTakesItsParentsColourAndDrawsItsLine) {
    FForm->SetColor(clCream);
    TAdvEdit* edit = AddEdit();
    edit->SetFlatLineColor(clRed);
    ShowForm();
    edit->SetFlat(true);
    EXPECT_EQ(edit->BorderStyle(), bsNone);
    EXPECT_EQ(edit->Color(), clCream);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(edit->Color(), clCream); // the focus colour is the parent's too
    EXPECT_EQ(WindowPixel(edit, 60, edit->Height() - 1), clRed);
    edit->SetFlat(false);
    EXPECT_EQ(edit->BorderStyle(), bsSingle);
}

TEST_F(AdvEditTest, TheErrorMarkerUnderlinesItsCharactersWhileUnfocused) {
    TAdvEdit* edit = AddEdit();
    TAdvEdit* other = Add<TAdvEdit>(10, 60, 150, 24);
    edit->SetText(u"wrong word here");
    edit->SetErrorMarkerPos(6);
    edit->SetErrorMarkerLen(4);
    ShowForm();
    other->SetFocus();
    Pump();
    auto redColumns = [&] {
        Pump();
        HDC dc = GetDC(edit->Handle());
        int first = -1, last = -1;
        for (int x = 0; x < edit->ClientWidth(); ++x)
            for (int y = 0; y < edit->ClientHeight(); ++y)
                if (GetPixel(dc, x, y) == RGB(255, 0, 0)) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
        ReleaseDC(edit->Handle(), dc);
        return std::pair(first, last);
    };
    auto [first, last] = redColumns();
    LRESULT start = edit->Perform(EM_POSFROMCHAR, 6, 0);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(first, static_cast<short>(LOWORD(start)), 2);
    EXPECT_GT(last, first + 10);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(redColumns().first, -1);
}

TEST_F(AdvEditTest, TheBorderTakesItsColourAndTheFocusColour) {
    TAdvEdit* edit = AddEdit();
    TAdvEdit* other = Add<TAdvEdit>(10, 60, 150, 24);
    edit->SetBorderColor(clRed);
    edit->SetFocusBorderColor(clBlue);
    ShowForm();
    auto outerPixel = [edit] {
        HDC dc = GetWindowDC(edit->Handle());
        COLORREF color = GetPixel(dc, 0, 5);
        ReleaseDC(edit->Handle(), dc);
        return static_cast<TColor>(color);
    };
    other->SetFocus();
    Pump();
    EXPECT_EQ(outerPixel(), clRed);
    edit->SetFocus();
    Pump();
    EXPECT_EQ(outerPixel(), clBlue);
}

} // namespace
