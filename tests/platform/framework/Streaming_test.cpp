// Tests of the component stream: defaults, round trips through the binary and text forms, forms built
// from descriptions, and the reader's errors on malformed input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/framework/Filer.h"
#include "platform/framework/FormResources.h"
#include "platform/framework/ObjectText.h"
#include "platform/framework/Parser.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"
#include "tests/platform/framework/TestComponents.h"

namespace {

class StreamingTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        TestLog().clear();
    }
};

std::string BinaryOf(TComponent* component) {
    TMemoryStream stream;
    WriteComponent(stream, component);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string TextOfBinary(const std::string& binary) {
    TMemoryStream input, output;
    input.WriteBuffer(binary.data(), static_cast<Integer>(binary.size()));
    input.SetPosition(0);
    ObjectBinaryToText(input, output);
    std::string text(static_cast<const char*>(output.Memory()), static_cast<std::size_t>(output.Size()));
    std::string result;
    for (char c : text)
        if (c != '\r')
            result += c;
    return result;
}

std::string BinaryOfText(const std::string& text) {
    TMemoryStream input, output;
    input.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, output);
    return std::string(static_cast<const char*>(output.Memory()), static_cast<std::size_t>(output.Size()));
}

void ReadBinaryInto(const std::string& binary, TComponent* root) {
    TMemoryStream stream;
    stream.WriteBuffer(binary.data(), static_cast<Integer>(binary.size()));
    stream.SetPosition(0);
    ReadComponent(stream, root);
}

// A form with a widget of non-default values, a panel holding a child panel, collection items, lines,
// binary data, handlers and references across the form.
std::unique_ptr<TTestForm> MakeForm() {
    auto form = std::make_unique<TTestForm>(nullptr);
    form->SetName(u"Form1");
    auto* button = new TTestWidget(form.get());
    button->SetName(u"Button1");
    button->SetCaption(u"Gr\u00FC\u00DFe 'quoted'\r\nline \u4E16");
    button->SetWidth(-5);
    button->SetBig(Int64(1) << 40);
    button->SetSmall(65535);
    button->SetMask(0xFFFFFFFFu);
    button->SetRatio(0.1);
    button->SetScale(2.5f);
    button->SetStamp(46037.4375);
    button->SetAccel(u'\u00E9');
    button->SetEnabled(false);
    button->SetFlag(true);
    button->SetKind(tkOdd);
    button->SetOptions({toItalic, toStrike});
    button->SetColor(0x123456);
    button->SetCursor(crHandPoint);
    button->Font()->SetName(u"Arial");
    button->Font()->SetSize(12);
    button->SetData({0, 1, 2, 0xFE, 0xFF});
    button->SetHint(u"different");
    auto* panel = new TTestPanel(form.get());
    panel->SetName(u"Panel1");
    panel->SetColor(clNone);
    auto* inner = new TTestPanel(form.get());
    inner->SetName(u"Inner");
    inner->SetParent(panel);
    inner->Lines()->Add(u"alpha");
    inner->Lines()->Add(u"");
    auto* item = static_cast<TTestItem*>(inner->Items()->Add());
    item->SetCaption(u"first");
    item->SetLink(button);
    inner->Items()->Add();
    button->SetBuddy(inner);
    SetMethodProp(button, u"OnClick", form.get(), u"ButtonClick");
    SetMethodProp(button, u"OnChanging", form.get(), u"ValueChanging");
    return form;
}

TEST_F(StreamingTest, OnlyValuesThatDifferFromTheirDefaultsAreWritten) {
    TTestWidget widget(nullptr);
    widget.SetName(u"W");
    // Flag declares no default, so it is always written; Big is an Int64, whose default is 0 without
    // being declared; the font's name is a string, written when not empty; a collection is written
    // even when empty.
    EXPECT_EQ(TextOfBinary(BinaryOf(&widget)), "object W: TTestWidget\n"
                                               "  Flag = False\n"
                                               "  Font.Name = 'Tahoma'\n"
                                               "  Items = <>\n"
                                               "end\n");
    widget.SetWidth(76);
    widget.SetHint(u"tip");
    widget.SetCaption(u"tip"); // a hint equal to the caption is not stored
    widget.Font()->SetStyle({toBold});
    EXPECT_EQ(TextOfBinary(BinaryOf(&widget)), "object W: TTestWidget\n"
                                               "  Caption = 'tip'\n"
                                               "  Width = 76\n"
                                               "  Flag = False\n"
                                               "  Font.Name = 'Tahoma'\n"
                                               "  Font.Style = [toBold]\n"
                                               "  Items = <>\n"
                                               "end\n");
}

TEST_F(StreamingTest, DesignPositionIsWrittenAsUnsignedLeftAndTop) {
    TComponent component(nullptr);
    component.SetName(u"C");
    component.SetDesignInfo(static_cast<LongInt>((7u << 16) | 40000u));
    std::string binary = BinaryOf(&component);
    EXPECT_EQ(TextOfBinary(binary), "object C: TComponent\n  Left = 40000\n  Top = 7\nend\n");
    TComponent copy(nullptr);
    ReadBinaryInto(binary, &copy);
    EXPECT_EQ(copy.DesignInfo(), component.DesignInfo());
}

TEST_F(StreamingTest, TreeRoundTripsThroughTheBinaryForm) {
    std::unique_ptr<TTestForm> original = MakeForm();
    std::string binary = BinaryOf(original.get());
    ASSERT_EQ(binary.substr(0, 4), "TPF0");

    TTestForm copy(nullptr);
    ReadBinaryInto(binary, &copy);
    EXPECT_EQ(copy.Name(), u"Form1");
    ASSERT_NE(copy.Button1, nullptr);
    ASSERT_NE(copy.Panel1, nullptr);
    TTestWidget* button = copy.Button1;
    EXPECT_EQ(button->Caption(), u"Gr\u00FC\u00DFe 'quoted'\r\nline \u4E16");
    EXPECT_EQ(button->Width(), -5);
    EXPECT_EQ(button->Big(), Int64(1) << 40);
    EXPECT_EQ(button->Small(), 65535);
    EXPECT_EQ(button->Mask(), 0xFFFFFFFFu);
    EXPECT_EQ(button->Ratio(), 0.1);
    EXPECT_EQ(button->Scale(), 2.5f);
    EXPECT_EQ(button->Stamp(), 46037.4375);
    EXPECT_EQ(button->Accel(), u'\u00E9');
    EXPECT_FALSE(button->Enabled());
    EXPECT_TRUE(button->Flag());
    EXPECT_EQ(button->Kind(), tkOdd);
    EXPECT_EQ(button->Options(), (TTestOptions{toItalic, toStrike}));
    EXPECT_EQ(button->Color(), 0x123456);
    EXPECT_EQ(button->Cursor(), crHandPoint);
    EXPECT_EQ(button->Font()->Name(), u"Arial");
    EXPECT_EQ(button->Font()->Size(), 12);
    EXPECT_EQ(button->Data(), (std::vector<Byte>{0, 1, 2, 0xFE, 0xFF}));
    EXPECT_EQ(button->Hint(), u"different");

    auto* inner = dynamic_cast<TTestPanel*>(copy.FindComponent(u"Inner"));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Parent(), copy.Panel1);
    EXPECT_EQ(copy.Panel1->Color(), clNone);
    EXPECT_EQ(inner->Lines()->Count(), 2);
    EXPECT_EQ(inner->Lines()->Strings(0), u"alpha");
    ASSERT_EQ(inner->Items()->Count(), 2);
    EXPECT_EQ(inner->Items()->Item(0)->Caption(), u"first");
    EXPECT_EQ(inner->Items()->Item(0)->Link(), button);
    EXPECT_EQ(inner->Items()->Item(1)->Width(), 64);
    // A reference written before its target was read is fixed up at the end.
    EXPECT_EQ(button->Buddy(), inner);

    button->OnClick(button);
    EXPECT_EQ(copy.Clicks, (std::vector<std::string>{"ButtonClick Button1"}));
    Integer value = 21;
    button->OnChanging(button, value);
    EXPECT_EQ(value, 42);

    // Writing the copy gives the same bytes.
    EXPECT_EQ(BinaryOf(&copy), binary);
}

TEST_F(StreamingTest, BinaryAndTextFormsConvertBothWays) {
    std::unique_ptr<TTestForm> original = MakeForm();
    std::string binary = BinaryOf(original.get());
    std::string text = TextOfBinary(binary);
    EXPECT_NE(text.find("  object Button1: TTestWidget\n"), std::string::npos);
    EXPECT_NE(text.find("    Caption = 'Gr'#252#223'e '#39'quoted'#39#13#10'line '#19990\n"),
              std::string::npos);
    EXPECT_NE(text.find("    Options = [toItalic, toStrike]\n"), std::string::npos);
    EXPECT_NE(text.find("    Cursor = crHandPoint\n"), std::string::npos);
    EXPECT_NE(text.find("    Data = {\n      000102FEFF}\n"), std::string::npos);
    EXPECT_NE(text.find("    OnClick = ButtonClick\n"), std::string::npos);
    EXPECT_NE(text.find("    Buddy = Inner\n"), std::string::npos);
    EXPECT_NE(text.find("    Scale = 2.5s\n"), std::string::npos);
    EXPECT_NE(text.find("    Stamp = 46037.4375d\n"), std::string::npos);
    EXPECT_NE(text.find("    object Inner: TTestPanel\n"), std::string::npos);
    EXPECT_NE(
        text.find("      Items = <\n        item\n          Caption = 'first'\n          Link = Button1\n"
                  "        end\n        item\n        end>\n"),
        std::string::npos);
    EXPECT_NE(text.find("      Lines.Strings = (\n        'alpha'\n        '')\n"), std::string::npos);
    EXPECT_EQ(BinaryOfText(text), binary);
}

TEST_F(StreamingTest, TextSyntaxVariants) {
    // Concatenation, #$hh characters, hex numbers, a float with exponent, an ordered item,
    // a child position and an empty name.
    std::string text = "object F: TTestForm\n"
                       "  object TTestWidget [2]\n"
                       "    Caption = 'a' + #$42 +\n 'c'#100\n"
                       "    Width = $1F\n"
                       "    Ratio = 1.5E3\n"
                       "    Items = <\n      item [4]\n        Width = 1\n      end>\n"
                       "  end\n"
                       "end\n";
    TTestForm form(nullptr);
    ReadComponentText(text, &form);
    ASSERT_EQ(form.ComponentCount(), 1);
    auto* widget = static_cast<TTestWidget*>(form.Components(0));
    EXPECT_EQ(widget->Name(), u"");
    EXPECT_EQ(widget->Caption(), u"aBcd");
    EXPECT_EQ(widget->Width(), 31);
    EXPECT_EQ(widget->Ratio(), 1500.0);
    EXPECT_EQ(widget->Items()->Item(0)->Width(), 1);
}

TEST_F(StreamingTest, InheritedDescriptionChangesWhatItsAncestorMade) {
    TTestForm form(nullptr);
    ReadComponentText("object F: TTestForm\n  object B: TTestWidget\n    Width = 1\n  end\nend\n", &form);
    ReadComponentText("inherited F: TTestForm\n"
                      "  inherited B: TTestWidget\n    Caption = 'x'\n  end\n"
                      "  object C: TTestWidget\n  end\n"
                      "end\n",
                      &form);
    ASSERT_EQ(form.ComponentCount(), 2);
    auto* b = static_cast<TTestWidget*>(form.FindComponent(u"B"));
    EXPECT_EQ(b->Width(), 1);
    EXPECT_EQ(b->Caption(), u"x");
    try {
        ReadComponentText("inherited F: TTestForm\n  inherited Z: TTestWidget\n  end\nend\n", &form);
        ADD_FAILURE() << "no error for a missing ancestor component";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), u"Ancestor for 'Z' not found");
    }
    // The prefixes survive both conversions.
    std::string text = "inherited F: TTestForm\n  inline G: TTestWidget [2]\n  end\n  inherited H: "
                       "TTestWidget\n  end\nend\n";
    EXPECT_EQ(TextOfBinary(BinaryOfText(text)), text);
}

TEST_F(StreamingTest, SuffixedRealsKeepTheirKindInText) {
    std::string text = "object F: TTestForm\n  A = 3c\n  B = -12345678c\n  C = 1.5s\n  D = 46037.5d\nend\n";
    EXPECT_EQ(TextOfBinary(BinaryOfText(text)), text);
}

TEST_F(StreamingTest, RealsKeepEveryBit) {
    for (double value : {0.1, -1.0 / 3.0, 1e-300, 5e-324, 1.7976931348623157e308, 123456789.125}) {
        TTestWidget widget(nullptr);
        widget.SetRatio(value);
        std::string binary = BinaryOf(&widget);
        TTestWidget viaBinary(nullptr);
        ReadBinaryInto(binary, &viaBinary);
        EXPECT_EQ(viaBinary.Ratio(), value);
        TTestWidget viaText(nullptr);
        ReadBinaryInto(BinaryOfText(TextOfBinary(binary)), &viaText);
        EXPECT_EQ(viaText.Ratio(), value) << TextOfBinary(binary);
    }
}

TEST_F(StreamingTest, ExtendedRealsAreRoundedOnce) {
    const Byte oneAndHalf[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F};
    Byte written[10];
    DoubleToExtended80(1.5, written);
    EXPECT_TRUE(std::equal(written, written + 10, oneAndHalf));
    EXPECT_EQ(Extended80ToDouble(oneAndHalf), 1.5);
    // A 64-bit mantissa that lands among the subnormal doubles: rounding first to 53 bits and then
    // again to the subnormal's fewer bits would give the next value up.
    const Byte tiny[10] = {0x70, 0x2E, 0xBF, 0xBE, 0x00, 0xED, 0x81, 0xF4, 0xFF, 0x3B};
    EXPECT_EQ(Extended80ToDouble(tiny), 0x0.7a40f6805f5f9p-1022);
}

TEST_F(StreamingTest, ComponentsFollowEachOtherInOneStream) {
    // As the grid's cell stream does: several components, each with its own signature, read back while
    // bytes remain.
    TMemoryStream stream;
    for (int i = 0; i < 3; ++i) {
        TTestWidget widget(nullptr);
        widget.SetWidth(i);
        WriteComponent(stream, &widget);
    }
    stream.SetPosition(0);
    std::vector<Integer> widths;
    while (stream.Size() - stream.Position() >= 2) {
        TTestWidget widget(nullptr);
        ReadComponent(stream, &widget);
        widths.push_back(widget.Width());
    }
    EXPECT_EQ(widths, (std::vector<Integer>{0, 1, 2}));
}

TEST_F(StreamingTest, FormFromEmbeddedDescription) {
    ASSERT_TRUE(FormResourceExists(u"TTestDescribedForm"));
    TTestDescribedForm* form = CreateInstance<TTestDescribedForm>(nullptr);
    std::unique_ptr<TTestDescribedForm> owner(form);
    EXPECT_EQ(form->Name(), u"DescribedForm");
    EXPECT_EQ(form->Tag(), 7);
    ASSERT_NE(form->Button1, nullptr);
    ASSERT_NE(form->Edit1, nullptr);
    EXPECT_EQ(form->Button1->Owner(), form);
    EXPECT_EQ(form->Button1->Caption(), u"Press 'me'");
    EXPECT_EQ(form->Button1->Font()->Style(), (TTestOptions{toBold, toUnderline}));
    EXPECT_EQ(form->Button1->Buddy(), form->Edit1);
    EXPECT_EQ(form->Edit1->Color(), clRed);
    EXPECT_EQ(form->Edit1->Items()->Item(0)->Link(), form->Button1);
    EXPECT_EQ(form->Edit1->Lines()->Text(), u"one\r\ntwo\r\n");
    form->Button1->OnClick(form->Button1);
    form->Edit1->OnClick(form->Edit1);
    EXPECT_EQ(form->Clicks, (std::vector<std::string>{"ButtonClick Button1", "ButtonClick Edit1"}));
    // Loaded comes once per component, after everything is read, in creation order.
    std::vector<std::string> loaded;
    for (const std::string& line : TestLog())
        if (line.rfind("Loaded", 0) == 0)
            loaded.push_back(line);
    EXPECT_EQ(loaded, (std::vector<std::string>{"Loaded DescribedForm", "Loaded Button1", "Loaded Edit1"}));
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->Button1->ComponentState().Contains(csLoading));
}

TEST_F(StreamingTest, DataModuleMadeByClassNameLoadsItsDescription) {
    std::unique_ptr<TComponent> made(FindClass(u"TTestDataModule")->CreateComponent(nullptr));
    auto* module = static_cast<TTestDataModule*>(made.get());
    ASSERT_NE(module->Worker, nullptr);
    EXPECT_EQ(module->Worker->Width(), 3);
    // OnCreate fires once the description is read, with everything in place.
    EXPECT_EQ(module->Events, (std::vector<std::string>{"create, worker ready"}));
    module->Worker->OnClick(module->Worker);
    EXPECT_EQ(module->Events.back(), "click");
    // The module streams its components back out, handlers by name.
    std::string text = TextOfBinary(BinaryOf(module));
    EXPECT_NE(
        text.find("object DataModule1: TTestDataModule\n  OldCreateOrder = False\n  OnCreate = ModuleCreate\n"
                  "  Height = 150\n  Width = 215\n  object Worker: TTestWidget\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("    OnClick = WidgetClick\n"), std::string::npos);
}

struct TErrorCase {
    const char* name;
    const char* body; // the inside of "object F: TTestForm ... end"
    const char* exceptionClass;
    const char* message;
};

const TErrorCase kErrorCases[] = {
    {"UnknownProperty", "object B: TTestWidget\n Bogus = 1\nend", "EReadError",
     "Error reading B.Bogus: Property Bogus does not exist"},
    {"UnknownNestedProperty", "object B: TTestWidget\n Font.Bogus = 1\nend", "EReadError",
     "Error reading B.Font.Bogus: Property Bogus does not exist"},
    {"PathThroughNonObject", "object B: TTestWidget\n Width.X = 1\nend", "EReadError",
     "Error reading B.Width.X: Invalid property path"},
    {"StringForInteger", "object B: TTestWidget\n Width = 'x'\nend", "EReadError",
     "Error reading B.Width: Invalid property value"},
    {"IntegerOutOfRange", "object B: TTestWidget\n Small = 70000\nend", "EReadError",
     "Error reading B.Small: Invalid property value"},
    {"UnknownEnumValue", "object B: TTestWidget\n Kind = tkNope\nend", "EReadError",
     "Error reading B.Kind: Invalid property value"},
    {"UnknownSetElement", "object B: TTestWidget\n Options = [toBold, toNope]\nend", "EReadError",
     "Error reading B.Options: Invalid property value"},
    {"UnknownColour", "object B: TTestWidget\n Color = clNope\nend", "EReadError",
     "Error reading B.Color: Invalid property value"},
    {"UnknownMethod", "object B: TTestWidget\n OnClick = Nope\nend", "EReadError",
     "Error reading B.OnClick: Invalid property value"},
    {"MethodOfOtherSignature", "object B: TTestWidget\n OnClick = ValueChanging\nend", "EReadError",
     "Error reading B.OnClick: Invalid property value"},
    {"ItemError", "object B: TTestWidget\n Items = <\n item\n Width = 'w'\n end>\nend", "EReadError",
     "Error reading B.Items: Error reading TTestItem.Width: Invalid property value"},
    {"UnresolvedReferenceWaits",
     "object B: TTestWidget\n Items = <\n item\n Link = Nothing\n end>\nend\n"
     "object C: TTestWidget\nend",
     "(none)", ""},
    {"UnknownClass", "object X: TNope\nend", "EClassNotFound", "Class TNope not found"},
    {"DuplicateName", "object B: TTestWidget\nend\nobject b: TTestWidget\nend", "EComponentError",
     "A component named b already exists"},
    {"MissingEquals", "object B: TTestWidget\n Width 5\nend", "EParserError", "'=' expected on line 3"},
    {"UnterminatedString", "object B: TTestWidget\n Caption = 'abc\nend", "EParserError",
     "Invalid string constant on line 3"},
    {"BadBinary", "object B: TTestWidget\n Data = {0A1}\nend", "EParserError",
     "Invalid binary value on line 3"},
    {"MissingEnd", "object B: TTestWidget\n Width = 5\n", "EParserError", "end expected on line 6"},
    {"NotAValue", "object B: TTestWidget\n Width = =\nend", "EParserError",
     "Invalid property value on line 3"},
};

class StreamingErrorTest : public StreamingTest, public testing::WithParamInterface<TErrorCase> {};

TEST_P(StreamingErrorTest, MalformedDescriptionReportsWhereAndWhat) {
    const TErrorCase& c = GetParam();
    std::string text = std::string("object F: TTestForm\n") + c.body + "\nend\n";
    TTestForm form(nullptr);
    std::string raised = "(none)";
    std::string message;
    try {
        ReadComponentText(text, &form);
    } catch (const Exception& e) {
        raised = StringToUtf8(e.ClassName());
        message = StringToUtf8(e.Message());
    }
    EXPECT_EQ(raised, c.exceptionClass);
    EXPECT_EQ(message, c.message);
}

INSTANTIATE_TEST_SUITE_P(Cases, StreamingErrorTest, testing::ValuesIn(kErrorCases),
                         [](const testing::TestParamInfo<TErrorCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(StreamingTest, OnErrorSkipsWhatItHandles) {
    std::string binary = BinaryOfText("object F: TTestForm\n"
                                      "  object B: TTestWidget\n    Bogus = (1 2 'x')\n    Width = 9\n  end\n"
                                      "  object X: TNope\n    Width = 1\n  end\n"
                                      "  object C: TTestWidget\n  end\n"
                                      "end\n");
    TMemoryStream stream;
    stream.WriteBuffer(binary.data(), static_cast<Integer>(binary.size()));
    stream.SetPosition(0);
    TTestForm form(nullptr);
    TReader reader(stream);
    std::vector<String> errors;
    reader.OnError = [&](TReader*, const String& message, bool& handled) {
        errors.push_back(message);
        handled = true;
    };
    reader.ReadRootComponent(&form);
    EXPECT_EQ(errors, (std::vector<String>{u"Error reading B.Bogus: Property Bogus does not exist",
                                           u"Class TNope not found"}));
    EXPECT_EQ(static_cast<TTestWidget*>(form.FindComponent(u"B"))->Width(), 9);
    EXPECT_NE(form.FindComponent(u"C"), nullptr);
    EXPECT_EQ(form.ComponentCount(), 2);
}

TEST_F(StreamingTest, HostileBinaryStreamsFailCleanly) {
    std::string binary = BinaryOf(MakeForm().get());
    // Every truncation fails with a read error and leaves nothing behind.
    for (std::size_t length = 0; length < binary.size(); ++length) {
        TTestForm form(nullptr);
        EXPECT_THROW(ReadBinaryInto(binary.substr(0, length), &form), EReadError) << length;
    }
    auto expectError = [](const std::string& bytes, const char* message) {
        TTestForm form(nullptr);
        try {
            ReadBinaryInto(bytes, &form);
            ADD_FAILURE() << "no error for " << message;
        } catch (const EReadError& e) {
            EXPECT_EQ(StringToUtf8(e.Message()), message);
        }
    };
    expectError("TPF1", "Invalid stream format");
    const std::string header = std::string("TPF0") + char(11) + "TTestWidget" + char(1) + "W";
    // A string that claims 2 GB.
    expectError(header + char(7) + "Caption" + char(vaUTF8String) + "\xFF\xFF\xFF\x7F",
                "Error reading W.Caption: Stream read error");
    // An unknown value type.
    expectError(header + char(5) + "Width" + char(0x63) + std::string(2, '\0'),
                "Error reading W.Width: Invalid stream format");
    // Lists nested deeper than any description needs.
    std::string deep = header + char(5) + "Lines" + std::string(100000, char(vaList));
    expectError(deep, "Error reading W.Lines: Invalid stream format");
}

TEST_F(StreamingTest, ObjectsFreedDuringAReadAreForgotten) {
    // A collection given twice frees the first items, which hold a reference still waiting for its
    // target; the reference must not be set on the freed item.
    TTestForm form(nullptr);
    ReadComponentText("object F: TTestForm\n"
                      "  object B: TTestWidget\n"
                      "    Items = <\n      item\n        Link = B\n      end>\n"
                      "    Items = <\n      item\n        Caption = 'second'\n      end>\n"
                      "  end\n"
                      "end\n",
                      &form);
    auto* widget = static_cast<TTestWidget*>(form.FindComponent(u"B"));
    ASSERT_EQ(widget->Items()->Count(), 1);
    EXPECT_EQ(widget->Items()->Item(0)->Link(), nullptr);

    // A read that fails while several descriptions load together leaves none of its freed components
    // to be told Loaded later.
    BeginGlobalLoading();
    EXPECT_THROW(
        ReadComponentText("object P: TTestPanel\n  object C: TTestWidget\n  end\n  object D: TTestWidget\n"
                          "    Width = 'x'\n  end\nend\n",
                          nullptr),
        EReadError);
    TestLog().clear();
    NotifyGlobalLoading();
    EndGlobalLoading();
    EXPECT_EQ(TestLog(), std::vector<std::string>());
}

// Inputs the fuzzer found, kept so that they stay harmless.
TEST_F(StreamingTest, FuzzFindingsFailCleanly) {
    for (const char* name : {"text-currency-overflow.form"}) {
        TFileStream file(Utf8ToString(std::string(ZELMOR_FUZZ_FIXTURES) + "/" + name), fmOpenRead);
        TMemoryStream binary;
        EXPECT_THROW(ObjectTextToBinary(file, binary), EParserError) << name;
    }
}

TEST_F(StreamingTest, DeeplyNestedTextFailsCleanly) {
    std::string text = "object F: TTestForm\n  Tag = " + std::string(100000, '(') + "\nend\n";
    EXPECT_THROW(BinaryOfText(text), EParserError);
    std::string objects;
    for (int i = 0; i < 10000; ++i)
        objects += "object A: TTestWidget\n";
    EXPECT_THROW(BinaryOfText(objects), EParserError);
}

} // namespace
