// TEdit and TMemo over the EDIT window: properties reach the window and survive its re-creation,
// OnChange fires once per change, selection and undo work through the properties, memo lines edit
// the window's text, and form descriptions carry the published properties.
#include "platform/framework/StdEdit.h"

#include <string>
#include <vector>

#include "platform/framework/Application.h"
#include "platform/framework/Filer.h"
#include "platform/framework/FormResources.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

class StdEditTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 400, 300);
    }

    template <class T> T* Add(const String& name, int top) {
        auto* control = new T(FForm);
        control->SetName(name);
        control->SetTop(top);
        control->SetParent(FForm);
        return control;
    }

    void ShowForm() {
        FForm->Show();
        Pump();
    }

    static void Type(const String& text) {
        for (Char c : text)
            win32::input::TypeCharacter(c);
        Pump();
    }

    static DWORD Style(TWinControl* control) { return GetWindowLongW(control->Handle(), GWL_STYLE); }

    TForm* FForm = nullptr;
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

String ClipboardText() {
    String text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HGLOBAL memory = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const Char*>(GlobalLock(memory));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

TEST_F(StdEditTest, PropertiesSetBeforeTheWindowReachItAndSurviveRecreation) {
    auto* edit = Add<TEdit>(u"Edit1", 0);
    edit->SetText(u"secret");
    edit->SetMaxLength(8);
    edit->SetReadOnly(true);
    edit->SetPasswordChar(u'*');
    edit->SetModified(true);
    ShowForm();
    HWND hwnd = edit->Handle();
    EXPECT_EQ(SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0), 8);
    EXPECT_EQ(SendMessageW(hwnd, EM_GETPASSWORDCHAR, 0, 0), u'*');
    EXPECT_NE(Style(edit) & ES_READONLY, 0u);
    EXPECT_NE(Style(edit) & ES_AUTOHSCROLL, 0u);
    EXPECT_NE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_TRUE(edit->Modified());

    // A style change makes a new window that keeps the text (in the new case, as the window converts
    // what it is given), the limit and the modify flag.
    edit->SetCharCase(ecUpperCase);
    EXPECT_NE(edit->Handle(), nullptr);
    EXPECT_NE(Style(edit) & ES_UPPERCASE, 0u);
    EXPECT_EQ(edit->Text(), u"SECRET");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 8);
    EXPECT_TRUE(edit->Modified());

    edit->SetReadOnly(false);
    edit->SetPasswordChar(0);
    EXPECT_EQ(Style(edit) & ES_READONLY, 0u);
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);
    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(GetWindowLongW(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_THROW(edit->SetBorderStyle(bsDialog), EInvalidOperation);
}

TEST_F(StdEditTest, OnChangeFiresOncePerChangeAndNotForTheNewWindow) {
    auto* edit = Add<TEdit>(u"Edit1", 0);
    std::vector<String> changes;
    edit->OnChange = [&](TObject*) { changes.push_back(edit->Text()); };
    // Without a window, setting the text is the change.
    edit->SetText(u"ab");
    EXPECT_EQ(changes, (std::vector<String>{u"ab"}));
    changes.clear();
    ShowForm();
    edit->SetCharCase(ecLowerCase);
    EXPECT_TRUE(changes.empty());

    edit->SetFocus();
    Pump();
    edit->SetSelStart(2);
    Type(u"cD");
    EXPECT_EQ(changes, (std::vector<String>{u"abc", u"abcd"}));
    EXPECT_TRUE(edit->Modified());
    changes.clear();
    edit->SetText(u"x");
    EXPECT_EQ(changes, (std::vector<String>{u"x"}));
    EXPECT_FALSE(edit->Modified());
    edit->Clear();
    EXPECT_EQ(edit->Text(), u"");
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(StdEditTest, SelectionUndoAndClipboard) {
    auto* edit = Add<TEdit>(u"Edit1", 0);
    ShowForm();
    edit->SetText(u"Hello world");
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelStart(), 6);
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_EQ(edit->SelText(), u"world");
    EXPECT_FALSE(edit->CanUndo());

    edit->SetSelText(u"there");
    EXPECT_EQ(edit->Text(), u"Hello there");
    EXPECT_EQ(edit->SelStart(), 11);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_TRUE(edit->Modified());
    EXPECT_FALSE(edit->CanUndo());
    edit->SetFocus();
    Pump();
    edit->SetSelStart(0);
    Type(u"Oh ");
    EXPECT_TRUE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->Text(), u"Hello there");
    EXPECT_TRUE(edit->CanUndo());
    edit->ClearUndo();
    EXPECT_FALSE(edit->CanUndo());
    edit->SetText(u"Hello world");

    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 11);
    edit->SetSelStart(0);
    edit->SetSelLength(6);
    edit->CutToClipboard();
    EXPECT_EQ(ClipboardText(), u"Hello ");
    EXPECT_EQ(edit->Text(), u"world");
    edit->SetSelStart(5);
    SetClipboardText(u"!?");
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), u"world!?");
    edit->SelectAll();
    edit->CopyToClipboard();
    EXPECT_EQ(ClipboardText(), u"world!?");
    edit->ClearSelection();
    EXPECT_EQ(edit->Text(), u"");

    // Text at the limit takes no more from typing or pasting.
    edit->SetMaxLength(3);
    SetClipboardText(u"12345");
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), u"123");
}

TEST_F(StdEditTest, SelectionSetBeforeTheFormIsShownHolds) {
    auto* selected = Add<TEdit>(u"Selected", 0);
    auto* replaced = Add<TEdit>(u"Replaced", 30);
    for (TEdit* edit : {selected, replaced})
        edit->SetAutoSelect(false); // the focus on showing would select everything
    selected->SetText(u"Hello world");
    selected->SetSelStart(6);
    selected->SetSelLength(5);
    replaced->SetText(u"Hello");
    replaced->SetSelStart(5);
    replaced->SetSelText(u" there");
    ShowForm();
    EXPECT_EQ(selected->SelStart(), 6);
    EXPECT_EQ(selected->SelText(), u"world");
    EXPECT_EQ(replaced->Text(), u"Hello there");
    EXPECT_EQ(replaced->SelStart(), 11);
}

TEST_F(StdEditTest, ColourRequestsAnswerWithTheControlsColourAndFont) {
    auto* edit = Add<TEdit>(u"Edit1", 0);
    edit->SetColor(clYellow);
    edit->Font()->SetColor(clRed);
    ShowForm();
    // A read-only or disabled edit asks with WM_CTLCOLORSTATIC; both come back to the edit.
    for (UINT msg : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC}) {
        HDC dc = GetDC(edit->Handle());
        LRESULT brush = SendMessageW(FForm->Handle(), msg, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(edit->Handle()));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), edit->Brush()->Handle()) << msg;
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0)) << msg;
        EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0)) << msg;
        ReleaseDC(edit->Handle(), dc);
    }
}

TEST_F(StdEditTest, AutoSizeHeightFollowsTheFontOnlyWithABorder) {
    auto* edit = Add<TEdit>(u"Edit1", 0);
    auto* fixed = Add<TEdit>(u"Fixed", 40);
    fixed->SetAutoSize(false);
    auto* plain = Add<TEdit>(u"Plain", 80);
    plain->SetBorderStyle(bsNone);
    ShowForm();
    int small = edit->Height();
    for (TEdit* e : {edit, fixed, plain}) {
        e->SetHeight(small);
        e->Font()->SetSize(20);
    }
    EXPECT_GT(edit->Height(), small + 10);
    EXPECT_EQ(fixed->Height(), small);
    EXPECT_EQ(plain->Height(), small);
}

TEST_F(StdEditTest, KeyboardFocusSelectsAllOnlyWithAutoSelect) {
    auto* first = Add<TEdit>(u"First", 0);
    auto* second = Add<TEdit>(u"Second", 30);
    first->SetText(u"one");
    second->SetText(u"two");
    second->SetAutoSelect(false);
    ShowForm();
    first->SetFocus();
    Pump();
    EXPECT_EQ(first->SelLength(), 3);
    Press(VK_TAB);
    EXPECT_EQ(FocusName(), "Second");
    EXPECT_EQ(second->SelLength(), 0);
    Press(VK_TAB);
    EXPECT_EQ(FocusName(), "First");
    EXPECT_EQ(first->SelLength(), 3);
}

TEST_F(StdEditTest, MemoLinesEditTheWindowText) {
    auto* memo = Add<TMemo>(u"Memo1", 0);
    ShowForm();
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add(u"one");
    lines->Add(u"three");
    EXPECT_EQ(memo->Text(), u"one\r\nthree\r\n");
    lines->Insert(1, u"two");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(1), u"two");
    lines->SetStrings(2, u"3");
    lines->Delete(0);
    EXPECT_EQ(memo->Text(), u"two\r\n3\r\n");

    // Text without a final line break still gets the new line as a line of its own.
    memo->SetText(u"a\r\nb");
    EXPECT_EQ(lines->Count(), 2);
    lines->Add(u"c");
    EXPECT_EQ(memo->Text(), u"a\r\nb\r\nc");
    EXPECT_EQ(lines->Strings(2), u"c");
    // Deleting the last line leaves the break before it, which ends the line above.
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), u"a\r\nb\r\n");
    EXPECT_EQ(lines->Count(), 2);

    // Empty lines count, except the one after the final break.
    memo->SetText(u"\r\n\r\nx\r\n");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(lines->Strings(0), u"");

    EXPECT_THROW(lines->Strings(3), EStringListError);
    EXPECT_THROW(lines->Insert(5, u"z"), EStringListError);
    EXPECT_THROW(lines->Delete(-1), EStringListError);

    // Odd content (a NUL, a CR without LF, a lone surrogate) reads back without breaking the list.
    memo->SetText(String(u"a\0b\r\nc\rd\xD800", 9));
    for (Integer i = 0; i < lines->Count(); ++i)
        EXPECT_LE(lines->Strings(i).size(), 10u);
    lines->Add(u"end");
    EXPECT_EQ(lines->Strings(lines->Count() - 1), u"end");

    lines->SetText(u"p\r\nq");
    EXPECT_EQ(lines->Count(), 2);
    lines->Clear();
    EXPECT_EQ(memo->Text(), u"");
}

TEST_F(StdEditTest, MemoOnChangeAndCaretPos) {
    auto* memo = Add<TMemo>(u"Memo1", 0);
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    ShowForm();
    // A multi-line window does not report WM_SETTEXT; the memo reports it itself, once.
    memo->SetText(u"ab\r\ncde");
    EXPECT_EQ(changes, 1);
    memo->SetCaretPos(TPoint(2, 1));
    EXPECT_EQ(memo->SelStart(), 6);
    EXPECT_EQ(memo->CaretPos(), TPoint(2, 1));
    memo->SetFocus();
    Pump();
    Type(u"X");
    EXPECT_EQ(memo->Text(), u"ab\r\ncdXe");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(memo->CaretPos(), TPoint(3, 1));
}

TEST_F(StdEditTest, ResizedEditsLayTheirTextOutForTheNewSize) {
    auto* memo = Add<TMemo>(u"Memo1", 0);
    auto* edit = Add<TEdit>(u"Edit1", 100);
    ShowForm();
    memo->SetText(u"one two three four five six seven eight nine ten eleven twelve");
    auto lineCount = [&] { return SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0); };
    LRESULT wide = lineCount();
    memo->SetWidth(60);
    EXPECT_GT(lineCount(), wide);

    // The text rectangle follows the client area.
    edit->SetWidth(edit->Width() - 20);
    RECT client{};
    RECT text{};
    GetClientRect(edit->Handle(), &client);
    SendMessageW(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, client.right);
}

TEST_F(StdEditTest, MemoStylesAndTheKeysItWants) {
    auto* memo = Add<TMemo>(u"Memo1", 0);
    ShowForm();
    EXPECT_NE(Style(memo) & ES_MULTILINE, 0u);
    EXPECT_EQ(Style(memo) & ES_AUTOHSCROLL, 0u);
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    EXPECT_NE(Style(memo) & ES_AUTOHSCROLL, 0u);
    // Both bars show, the vertical one disabled while the text fits.
    Pump();
    EXPECT_NE(Style(memo) & WS_VSCROLL, 0u);
    EXPECT_NE(Style(memo) & WS_HSCROLL, 0u);

    struct Case {
        const char* name;
        bool wantReturns;
        bool wantTabs;
        int key;
        bool wanted;
    } cases[] = {
        {"Enter with WantReturns", true, false, VK_RETURN, true},
        {"Enter without WantReturns", false, false, VK_RETURN, false},
        {"Tab without WantTabs", true, false, VK_TAB, false},
        {"Tab with WantTabs", true, true, VK_TAB, true},
    };
    for (const Case& c : cases) {
        memo->SetWantReturns(c.wantReturns);
        memo->SetWantTabs(c.wantTabs);
        // The framework's key routing asks without a message, as here.
        LRESULT code = memo->Perform(WM_GETDLGCODE, 0, 0);
        LRESULT mask = c.key == VK_TAB ? DLGC_WANTTAB : DLGC_WANTALLKEYS;
        EXPECT_EQ((code & mask) != 0, c.wanted) << c.name;
    }

    // Without WantReturns an Enter that still reaches the memo types nothing.
    memo->SetText(u"");
    memo->SetWantReturns(false);
    memo->SetFocus();
    Pump();
    Press(VK_RETURN);
    EXPECT_EQ(memo->Text(), u"");
    memo->SetWantReturns(true);
    Press(VK_RETURN);
    EXPECT_EQ(memo->Text(), u"\r\n");
}

TEST_F(StdEditTest, OnlyAOneLineEditDropsTheFontsMargins) {
    auto* edit = Add<TEdit>(u"Edit1", 0);
    auto* memo = Add<TMemo>(u"Memo1", 40);
    ShowForm();
    for (int size : {8, 14}) {
        edit->Font()->SetSize(size);
        memo->Font()->SetSize(size);
        EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETMARGINS, 0, 0), 0) << size;
        LRESULT margins = SendMessageW(memo->Handle(), EM_GETMARGINS, 0, 0);
        EXPECT_GT(LOWORD(margins), 0) << size;
        EXPECT_GT(HIWORD(margins), 0) << size;
        RECT client{}, rect{};
        GetClientRect(memo->Handle(), &client);
        SendMessageW(memo->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
        EXPECT_EQ(rect.left, client.left + LOWORD(margins)) << size;
    }
}

TEST_F(StdEditTest, FormDescriptionsCarryThePublishedProperties) {
    RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass()});
    auto* holder = new TForm(nullptr, 0);
    ReadComponentText("object Holder: TForm\n"
                      "  object Edit1: TEdit\n"
                      "    Left = 8\n"
                      "    MaxLength = 4\n"
                      "    CharCase = ecUpperCase\n"
                      "    PasswordChar = '*'\n"
                      "    ReadOnly = True\n"
                      "    Text = 'abc'\n"
                      "  end\n"
                      "  object Memo1: TMemo\n"
                      "    Top = 40\n"
                      "    Lines.Strings = (\n"
                      "      'first'\n"
                      "      'second')\n"
                      "    ScrollBars = ssVertical\n"
                      "    WantTabs = True\n"
                      "    WordWrap = False\n"
                      "  end\n"
                      "end\n",
                      holder);
    auto* edit = dynamic_cast<TEdit*>(holder->FindComponent(u"Edit1"));
    auto* memo = dynamic_cast<TMemo*>(holder->FindComponent(u"Memo1"));
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(edit->MaxLength(), 4);
    EXPECT_EQ(edit->CharCase(), ecUpperCase);
    EXPECT_TRUE(edit->ReadOnly());
    EXPECT_EQ(edit->PasswordChar(), u'*');
    EXPECT_EQ(edit->Text(), u"abc");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Strings(1), u"second");
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    EXPECT_TRUE(memo->WantTabs());
    EXPECT_FALSE(memo->WordWrap());

    // Writing keeps the lines and what differs from the defaults, nothing else of the memo's own.
    TMemoryStream binary, text;
    WriteComponent(binary, memo);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    std::string written(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
    EXPECT_NE(written.find("Lines.Strings = ("), std::string::npos) << written;
    EXPECT_NE(written.find("'second')"), std::string::npos) << written;
    EXPECT_NE(written.find("WordWrap = False"), std::string::npos) << written;
    for (const char* unchanged : {"WantReturns", "Alignment", "MaxLength", "AutoSize", "HideSelection"})
        EXPECT_EQ(written.find(unchanged), std::string::npos) << unchanged << "\n" << written;
    holder->Free();
}

} // namespace
