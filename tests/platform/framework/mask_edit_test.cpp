// TMaskEdit on the EDIT window: key sequences through the mask (text, one-character caret,
// notifications), Text against EditText, validation and Escape, paste, MaxLength and re-creation.
#include "platform/framework/Mask.h"

#include <string>

#include "platform/framework/Application.h"
#include "platform/framework/Filer.h"
#include "platform/framework/FormResources.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

std::string Utf8(StringView text) {
    return StringToUtf8(text);
}

class MaskEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 400, 300);
        FEdit = new TMaskEdit(FForm);
        FEdit->SetName(u"MaskEdit1");
        FEdit->SetParent(FForm);
        FEdit->OnChange = [this](TObject*) { ++FChanges; };
    }

    void ShowFocused() {
        FForm->Show();
        Pump();
        FEdit->SetFocus();
        Pump();
    }

    // Characters are typed; {BS}, {DEL}, {LEFT}, {RIGHT}, {HOME}, {END} and {ESC} press keys.
    static void Keys(const std::string& script) {
        static const struct {
            const char* name;
            int key;
        } named[] = {{"BS", VK_BACK},   {"DEL", VK_DELETE}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT},
                     {"HOME", VK_HOME}, {"END", VK_END},    {"ESC", VK_ESCAPE}};
        for (size_t i = 0; i < script.size(); ++i) {
            if (script[i] != '{') {
                win32::input::TypeCharacter(static_cast<Char>(script[i]));
                continue;
            }
            size_t close = script.find('}', i);
            std::string name = script.substr(i + 1, close - i - 1);
            for (const auto& entry : named)
                if (name == entry.name)
                    win32::input::PressKey(entry.key);
            i = close;
        }
        Pump();
    }

    std::string EditText() const { return Utf8(FEdit->EditText()); }

    TForm* FForm = nullptr;
    TMaskEdit* FEdit = nullptr;
    int FChanges = 0;
};

void SetClipboardText(const String& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(Char));
    auto* data = static_cast<Char*>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), data);
    data[text.size()] = 0;
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

struct KeyCase {
    const char* name;
    const char16_t* mask;
    const char* keys;
    const char* editText;
    Integer selStart;
    Integer selLength;
    int changes;
};

const KeyCase keyCases[] = {
    // Focus selects the whole text; the first key blanks it (no change) and types at the first field.
    {"DigitsFillFieldsAndSkipLiterals", u"!\\(999\\)000-0000;1;_", "5551234567", "(555)123-4567", 13, 0, 10},
    {"RefusedCharacterLeavesTheCaret", u"000;1;_", "a1b", "1__", 1, 1, 1},
    {"CaseDirectives", u">LL<LL", "abCD", "ABcd", 4, 0, 4},
    {"AlphaNumericTakesDigitsButNotSigns", u"AA;1;_", "-7x", "7x", 2, 0, 2},
    {"BackspaceEmptiesPositionsAndStepsOverLiterals", u"00-00;1;_", "1234{BS}{BS}{BS}", "1_-__", 1, 1, 7},
    {"BackspaceAtTheStartChangesNothing", u"00;1;_", "{HOME}{BS}", "__", 0, 1, 0},
    {"DeleteEmptiesTheCharacterUnderTheCaret", u"00-00;1;_", "1234{HOME}{DEL}", "_2-34", 0, 1, 5},
    {"TypedLiteralSkipsTheRestOfTheField", u"990.990;1;_", "1.2", "1__.2__", 5, 1, 2},
    {"ArrowsStepOverLiterals", u"00-00;1;_", "12{LEFT}{RIGHT}", "12-__", 3, 1, 2},
    {"LeftFromAfterALiteral", u"00-00;1;_", "12{LEFT}", "12-__", 1, 1, 2},
    {"EndPutsTheCaretAfterTheText", u"00-00;1;_", "1{END}5", "1_-__", 5, 0, 1},
    {"HomeOnALiteralTypesIntoTheFirstField", u"\\(000\\);1;_", "{HOME}7", "(7__)", 2, 1, 1},
    {"TypingALiteralOverItselfStepsPast", u"\\(000\\);1;_", "{HOME}(5", "(5__)", 2, 1, 1},
};

class MaskEditKeys : public MaskEditTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MaskEditKeys, TextSelectionAndChanges) {
    const KeyCase& row = GetParam();
    FEdit->SetEditMask(row.mask);
    ShowFocused();
    FChanges = 0;
    Keys(row.keys);
    EXPECT_EQ(EditText(), row.editText);
    EXPECT_EQ(FEdit->SelStart(), row.selStart);
    EXPECT_EQ(FEdit->SelLength(), row.selLength);
    EXPECT_EQ(FChanges, row.changes);
}

INSTANTIATE_TEST_SUITE_P(Table, MaskEditKeys, ::testing::ValuesIn(keyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MaskEditTest, TextAgainstEditText) {
    struct Row {
        const char16_t* mask;
        const char16_t* text;
        const char* editText;
        const char* readBack;
    };
    const Row rows[] = {
        {u"000-000;1;_", u"12", "12_-___", "12 -   "},
        {u"000-000;0;_", u"12", "12_-___", "12"},
        {u"!000;0;_", u"12", "_12", "12"},
        {u"!90:00;1; ", u"9:30", " 9:30", " 9:30"},
        {u"000-000;1;_", u"12 -3", "12_-3__", "12 -3  "}, // spaces show as the blank
        {u"ccc;0;*", u"a b", "a*b", "a b"},
    };
    FForm->Show();
    for (const Row& row : rows) {
        SCOPED_TRACE(Utf8(String(row.mask)));
        FEdit->SetEditMask(u"");
        FEdit->SetEditMask(row.mask);
        FEdit->SetText(row.text);
        EXPECT_EQ(EditText(), row.editText);
        EXPECT_EQ(Utf8(FEdit->Text()), row.readBack);
        // Text := Text keeps the edit as it was.
        FEdit->SetText(FEdit->Text());
        EXPECT_EQ(EditText(), row.editText);
    }
}

TEST_F(MaskEditTest, ChangingTheMaskReformatsTheText) {
    FEdit->SetEditMask(u"000-000;0;_");
    FEdit->SetText(u"123456");
    EXPECT_EQ(EditText(), "123-456");
    FEdit->SetEditMask(u"00/00/00;0;_");
    EXPECT_EQ(EditText(), "12/34/56");
    EXPECT_EQ(FEdit->MaxLength(), 8);
    FEdit->SetMaxLength(3);
    EXPECT_EQ(FEdit->MaxLength(), 8); // the mask decides the limit
    FEdit->SetEditMask(u"");
    EXPECT_FALSE(FEdit->IsMasked());
    // Without a mask only the field characters remain.
    EXPECT_EQ(EditText(), "123456");
    EXPECT_EQ(FEdit->MaxLength(), 0);
    FEdit->SetMaxLength(3);
    EXPECT_EQ(FEdit->MaxLength(), 3);

    // A new mask leaves the caret of the focused edit where it was.
    FEdit->SetEditMask(u"000-000;0;_");
    ShowFocused();
    Keys("{HOME}{RIGHT}{RIGHT}{RIGHT}");
    EXPECT_EQ(FEdit->SelStart(), 4);
    FEdit->SetEditMask(u"00/00/00;0;_");
    EXPECT_EQ(EditText(), "12/34/56");
    EXPECT_EQ(FEdit->SelStart(), 4);
    EXPECT_EQ(FEdit->SelLength(), 1);
}

TEST_F(MaskEditTest, ValidateEditNamesTheFirstEmptyRequiredPosition) {
    FEdit->SetEditMask(u"00-99-00;1;_");
    ShowFocused();
    FEdit->ValidateEdit(); // unchanged text is not checked
    Keys("12{RIGHT}{RIGHT}{RIGHT}");
    EXPECT_EQ(EditText(), "12-__-__");
    try {
        FEdit->ValidateEdit();
        FAIL() << "no exception";
    } catch (const EDBEditError& error) {
        EXPECT_EQ(Utf8(error.Message()), Utf8(Consts::SMaskEditErr));
    }
    // Optional positions may stay empty; the caret is on the first required one.
    EXPECT_EQ(FEdit->SelStart(), 6);
    EXPECT_EQ(FEdit->SelLength(), 1);
    Keys("34");
    FEdit->ValidateEdit();
    EXPECT_EQ(EditText(), "12-__-34");
}

TEST_F(MaskEditTest, EscapeRestoresTheTextItHadWhenFocused) {
    // The form's cancel button gets Escape only once the text has nothing to go back to.
    auto* cancel = new TCtlButton(FForm);
    cancel->SetParent(FForm);
    cancel->SetTop(100);
    cancel->SetCancel(true);
    int cancelClicks = 0;
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    FEdit->SetEditMask(u"0000;1;_");
    FEdit->SetText(u"12");
    ShowFocused();
    Keys("{HOME}9{DEL}");
    EXPECT_EQ(EditText(), "9___");
    EXPECT_TRUE(FEdit->Modified());
    Keys("{ESC}");
    EXPECT_EQ(EditText(), "12__");
    EXPECT_FALSE(FEdit->Modified());
    EXPECT_EQ(cancelClicks, 0);
    Keys("{ESC}");
    EXPECT_EQ(cancelClicks, 1);

    // A text the program sets while the edit has the focus is the one Escape goes back to.
    FEdit->SetText(u"34");
    Keys("{HOME}7{ESC}");
    EXPECT_EQ(EditText(), "34__");
    EXPECT_EQ(cancelClicks, 1);

    // The caret does not stay on a literal that new text puts under it.
    FEdit->SetEditMask(u"\\(000\\);1;_");
    FEdit->SetText(u"5");
    EXPECT_EQ(EditText(), "(5__)");
    EXPECT_EQ(FEdit->SelStart(), 1);
    EXPECT_EQ(FEdit->SelLength(), 1);
}

TEST_F(MaskEditTest, PasteGoesThroughTheMask) {
    struct Row {
        const char16_t* clip;
        const char* editText;
        Integer selStart;
    };
    const Row rows[] = {
        {u"123456", "(123)456", 8},     // literals are put in
        {u"(12)34", "(12_)34_", 7},     // a literal in its wrong place leaves the position empty
        {u"1x3", "(1_3)___", 4},        // refused characters become blanks
        {u"1234567890", "(123)456", 8}, // what does not fit is dropped
    };
    FEdit->SetEditMask(u"\\(000\\)000;1;_");
    ShowFocused();
    for (const Row& row : rows) {
        SCOPED_TRACE(Utf8(String(row.clip)));
        FEdit->SetText(u"");
        Keys("{HOME}");
        SetClipboardText(row.clip);
        FChanges = 0;
        FEdit->PasteFromClipboard();
        EXPECT_EQ(EditText(), row.editText);
        EXPECT_EQ(FEdit->SelStart(), row.selStart);
        EXPECT_EQ(FChanges, 1);
    }
}

TEST_F(MaskEditTest, CharCaseAndCtrlVGoThroughTheMask) {
    FEdit->SetEditMask(u"cccc-00;1;_");
    FEdit->SetCharCase(ecUpperCase);
    ShowFocused();
    Keys("ab");
    EXPECT_EQ(EditText(), "AB__-__");
    SetClipboardText(u"cd-12");
    win32::input::Key(VK_CONTROL, true);
    win32::input::PressKey('V');
    win32::input::Key(VK_CONTROL, false);
    Pump();
    // The pasted letters fill the two positions left before the literal; "-12" lands after it.
    EXPECT_EQ(EditText(), "ABCD-12");
}

TEST_F(MaskEditTest, CutBlanksTheSelectionAndKeepsLiterals) {
    FEdit->SetEditMask(u"00-00;1;_");
    FEdit->SetText(u"12-34");
    ShowFocused();
    FEdit->SetSelStart(1);
    FEdit->SetSelLength(3);
    FEdit->CutToClipboard();
    EXPECT_EQ(EditText(), "1_-_4");
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL memory = GetClipboardData(CF_UNICODETEXT);
    String clip = memory != nullptr ? String(static_cast<const Char*>(GlobalLock(memory))) : String();
    if (memory != nullptr)
        GlobalUnlock(memory);
    CloseClipboard();
    EXPECT_EQ(Utf8(clip), "2-3");
    // Three positions were selected, so the caret goes to the first field position of them.
    EXPECT_EQ(FEdit->SelStart(), 1);
    EXPECT_EQ(FEdit->SelLength(), 1);
}

TEST_F(MaskEditTest, TheTextSurvivesANewWindow) {
    FEdit->SetEditMask(u"000-000;0;_");
    ShowFocused();
    Keys("12");
    FEdit->SetAlignment(taRightJustify); // makes a new window
    EXPECT_EQ(EditText(), "12_-___");
    EXPECT_EQ(Utf8(FEdit->Text()), "12");
}

TEST_F(MaskEditTest, AClickPutsTheOneCharacterCaretWhereItLands) {
    FEdit->SetEditMask(u"0000;1;_");
    FEdit->SetText(u"1234");
    ShowFocused();
    auto at = static_cast<DWORD>(SendMessageW(FEdit->Handle(), EM_POSFROMCHAR, 2, 0));
    TPoint point = FEdit->ClientToScreen(TPoint(LOWORD(at) + 1, HIWORD(at) + 2));
    win32::input::Click(win32::input::Button::Left, point.X, point.Y);
    Pump();
    EXPECT_EQ(FEdit->SelStart(), 2);
    EXPECT_EQ(FEdit->SelLength(), 1);
    Keys("9");
    EXPECT_EQ(EditText(), "1294");
}

TEST_F(MaskEditTest, FormDescriptionsCarryTheMaskBeforeTheText) {
    RegisterClasses({TMaskEdit::StaticClass()});
    auto* holder = new TForm(nullptr, 0);
    ReadComponentText("object Holder: TForm\n"
                      "  object Time1: TMaskEdit\n"
                      "    EditMask = '!90:00;1; '\n"
                      "    Text = '9:30'\n"
                      "  end\n"
                      "end\n",
                      holder);
    auto* edit = dynamic_cast<TMaskEdit*>(holder->FindComponent(u"Time1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(Utf8(edit->EditText()), " 9:30");
    EXPECT_EQ(edit->MaxLength(), 5);

    TMemoryStream binary, text;
    WriteComponent(binary, edit);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    std::string written(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
    size_t mask = written.find("EditMask = '!90:00;1; '");
    size_t value = written.find("Text = ' 9:30'");
    EXPECT_NE(mask, std::string::npos) << written;
    EXPECT_NE(value, std::string::npos) << written;
    EXPECT_LT(mask, value) << written;
    holder->Free();
}

// A mask edit made multi-line so that its text rectangle can leave room for a button at its right edge;
// Enter is dropped before it reaches the window.
class TRectMaskEdit : public TMaskEdit {
public:
    using TMaskEdit::TMaskEdit;

protected:
    void CreateParams(TCreateParams& params) override {
        TMaskEdit::CreateParams(params);
        params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    }
    void KeyPress(Char& key) override {
        TMaskEdit::KeyPress(key);
        if (key == u'\r')
            key = 0;
    }
};

TEST_F(MaskEditTest, AMultiLineEditKeepsOneLineInItsTextRectangle) {
    auto* edit = new TRectMaskEdit(FForm);
    edit->SetParent(FForm);
    edit->SetBounds(10, 40, 120, 21);
    FForm->Show();
    Pump();
    edit->SetFocus();
    Pump();
    TRect client = edit->ClientRect();
    RECT wanted{2, 3, client.Right - 20, client.Bottom + 1};
    SendMessageW(edit->Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&wanted));
    RECT got{};
    SendMessageW(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(TRect(got), TRect(wanted));

    for (Char c : String(u"a rather long value that does not fit"))
        win32::input::TypeCharacter(c);
    Press(VK_RETURN);
    Pump();
    EXPECT_EQ(Utf8(edit->Text()), "a rather long value that does not fit");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLINECOUNT, 0, 0), 1) << "no wrapping, no new line";
    // The caret stays inside the text rectangle as the text scrolls.
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_GE(caret.x, wanted.left);
    EXPECT_LE(caret.x, wanted.right);
}

} // namespace
