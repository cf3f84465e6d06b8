// TRichEdit over the rich edit window: Lines load and save rich text (or text with PlainText), the
// character and paragraph attributes reach the text, formatting survives the window's re-creation,
// and OnChange and OnResizeRequest fire as the window reports.
#include "platform/framework/RichEdit.h"

#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

class RichEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override {
        delete FForm;
        ControlsTest::TearDown();
    }

    TRichEdit* Add(const String& name) {
        auto* rich = new TRichEdit(FForm);
        rich->SetName(name);
        rich->SetParent(FForm);
        return rich;
    }

    // As the grid moves rich text between a cell and the control.
    static void Load(TRichEdit* rich, const String& text) {
        TStringStream stream(text);
        rich->Lines()->LoadFromStream(stream);
    }
    static String Save(TRichEdit* rich) {
        TStringStream stream;
        rich->Lines()->SaveToStream(stream);
        return stream.DataString();
    }

    TForm* FForm = nullptr;
};

TEST_F(RichEditTest, LinesLoadAndSaveRichTextAndPlainTextIsItsText) {
    auto* rich = Add(u"Rich1");
    Load(rich, u"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 {\\b Bold} text\\par \\u8364? second}");
    EXPECT_EQ(rich->Text(), u"Bold text\r\n\u20AC second");
    ASSERT_EQ(rich->Lines()->Count(), 2);
    EXPECT_EQ(rich->Lines()->Strings(1), u"\u20AC second");
    rich->SetSelStart(0);
    rich->SetSelLength(4);
    EXPECT_EQ(rich->SelAttributes()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(rich->SelAttributes()->Size(), 10);

    // What is saved loads back with its formatting, in another control.
    String saved = Save(rich);
    EXPECT_EQ(saved.rfind(u"{\\rtf1", 0), 0u);
    auto* copy = Add(u"Rich2");
    Load(copy, saved);
    EXPECT_EQ(copy->Text(), rich->Text());
    copy->SetSelStart(1);
    copy->SetSelLength(1);
    EXPECT_TRUE(copy->SelAttributes()->Style().Contains(fsBold));
    copy->SetSelStart(5);
    EXPECT_FALSE(copy->SelAttributes()->Style().Contains(fsBold));
    EXPECT_EQ(Save(copy), saved);

    // With PlainText the lines are text both ways.
    copy->SetPlainText(true);
    EXPECT_EQ(Save(copy), u"Bold text\r\n\u20AC second");
    Load(copy, u"{\\rtf1 raw}");
    EXPECT_EQ(copy->Text(), u"{\\rtf1 raw}");

    // Text that is no rich text loads as text.
    Load(rich, u"just text");
    EXPECT_EQ(rich->Text(), u"just text");
    Load(rich, String());
    EXPECT_EQ(rich->Lines()->Count(), 0);
}

TEST_F(RichEditTest, LinesEditParagraphs) {
    auto* rich = Add(u"Rich1");
    TStrings* lines = rich->Lines();
    lines->Add(u"one");
    lines->Add(u"three");
    lines->Insert(1, u"two");
    EXPECT_EQ(rich->Text(), u"one\r\ntwo\r\nthree");
    lines->SetStrings(0, u"ONE");
    lines->Delete(2);
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Text(), u"ONE\r\ntwo");
    lines->Delete(0);
    EXPECT_EQ(rich->Text(), u"two");
    EXPECT_THROW(lines->Delete(5), EStringListError);
}

TEST_F(RichEditTest, AttributesReachTheText) {
    auto* rich = Add(u"Rich1");
    FForm->Show();
    Pump();
    rich->DefAttributes()->SetName(u"Courier New");
    rich->DefAttributes()->SetSize(14);
    rich->SetText(u"hello world");
    EXPECT_EQ(rich->DefAttributes()->Name(), u"Courier New");
    rich->SetSelStart(6);
    rich->SetSelLength(5);
    EXPECT_EQ(rich->SelAttributes()->Name(), u"Courier New");
    EXPECT_EQ(rich->SelAttributes()->Size(), 14);
    EXPECT_EQ(rich->SelAttributes()->Color(), clWindowText);
    rich->SelAttributes()->SetStyle(TFontStyles{fsItalic, fsUnderline});
    rich->SelAttributes()->SetColor(clRed);
    EXPECT_EQ(rich->SelAttributes()->Style(), (TFontStyles{fsItalic, fsUnderline}));
    EXPECT_EQ(rich->SelAttributes()->Color(), clRed);
    rich->SetSelStart(0);
    rich->SetSelLength(5);
    EXPECT_TRUE(rich->SelAttributes()->Style().Empty());

    rich->Paragraph()->SetAlignment(taCenter);
    rich->Paragraph()->SetFirstIndent(10);
    rich->Paragraph()->SetLeftIndent(5);
    rich->Paragraph()->SetRightIndent(3);
    EXPECT_EQ(rich->Paragraph()->Alignment(), taCenter);
    EXPECT_EQ(rich->Paragraph()->FirstIndent(), 10);
    EXPECT_EQ(rich->Paragraph()->LeftIndent(), 5);
    EXPECT_EQ(rich->Paragraph()->RightIndent(), 3);

    // Re-creating the window (word wrap) keeps the text's formatting.
    rich->SetWordWrap(false);
    rich->SetSelStart(6);
    rich->SetSelLength(5);
    EXPECT_EQ(rich->SelAttributes()->Color(), clRed);
    EXPECT_EQ(rich->SelAttributes()->Style(), (TFontStyles{fsItalic, fsUnderline}));
    EXPECT_EQ(rich->Paragraph()->Alignment(), taCenter);
    EXPECT_EQ(rich->Text(), u"hello world");
}

TEST_F(RichEditTest, OnChangeOncePerChangeAndResizeRequests) {
    auto* rich = Add(u"Rich1");
    rich->SetBounds(0, 0, 200, 20);
    int changes = 0;
    rich->OnChange = [&](TObject*) { ++changes; };
    std::vector<TRect> requests;
    rich->OnResizeRequest = [&](TObject* sender, const TRect& rect) {
        EXPECT_EQ(sender, rich);
        requests.push_back(rect);
    };
    FForm->Show();
    Pump();
    rich->SetText(u"one");
    EXPECT_EQ(changes, 1);
    ASSERT_FALSE(requests.empty());
    int oneLine = requests.back().Height();
    rich->SetFocus();
    changes = 0;
    Press(VK_END);
    Press(VK_RETURN);
    Press('X');
    EXPECT_EQ(rich->Text(), u"one\r\nx");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(requests.back().Height(), 2 * oneLine);

    // A narrower control wraps its text and asks for the new height by itself.
    rich->SetText(u"one two three four five six seven eight nine ten");
    int before = requests.back().Height();
    rich->SetWidth(60);
    EXPECT_GT(requests.back().Height(), before);
    EXPECT_LE(requests.back().Width(), 60);
}

} // namespace
