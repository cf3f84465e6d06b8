// Tests of the default text editor: the character rules of the text kinds, paste, the length limit,
// lookup completion, validated moves out of the cell, Escape, the window styles of a cell and the grid
// settings that reach an open editor.
#include <string>
#include <vector>

#include "tests/grid/view/GridEditTesting.h"

#include "platform/framework/Clipbrd.h"
#include "platform/framework/ComCtrlsDates.h"
#include "platform/framework/StdEdit.h"

namespace {

using namespace gridedit_fixtures;
using InplaceEditTest = EditTest;

void SetSeparators(Char decimal, Char thousand) {
    FormatSettings.DecimalSeparator = decimal;
    FormatSettings.ThousandSeparator = thousand;
}

TEST_F(InplaceEditTest, EachTextKindFiltersWhatIsTyped) {
    struct Case {
        const char* name;
        TEditorType kind;
        Char decimal;
        std::u16string typed;
        std::u16string expected;
    };
    const Case cases[] = {
        {"numeric: digits and one leading minus", edNumeric, u'.', u"-1a-2.3", u"-123"},
        {"positive numeric: digits only", edPositiveNumeric, u'.', u"-12x3", u"123"},
        {"float: one decimal separator, no thousands", edFloat, u'.', u"-1,2.3.4", u"-12.34"},
        {"float under a comma decimal", edFloat, u',', u"1.2,3,4", u"12,34"},
        {"float: minus only first", edFloat, u'.', u"1-2", u"12"},
        {"positive float: no minus", edPositiveFloat, u'.', u"-1.5", u"1.5"},
        {"upper case", edUpperCase, u'.', u"abc é", u"ABC É"},
        {"capital", edCapital, u'.', u"abc", u"ABC"},
        {"lower case", edLowerCase, u'.', u"ABC Ä", u"abc ä"},
        {"mixed case keeps proper case", edMixedCase, u'.', u"hello wORLD", u"Hello World"},
        {"normal takes anything", edNormal, u'.', u"a-1,Ω", u"a-1,Ω"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetSeparators(c.decimal, c.decimal == u'.' ? u',' : u'.');
        grid->OnGetEditorType = [&](TObject*, Integer, Integer, TEditorType& kind) { kind = c.kind; };
        grid->SetCells(2, 2, String());
        EditAt(2, 2);
        ASSERT_TRUE(EditorShown());
        Type(c.typed);
        EXPECT_EQ(EditorText(), c.expected);
        Press(VK_ESCAPE);
    }
}

TEST_F(InplaceEditTest, ValidCharsLimitTheCharacters) {
    grid->OnGetEditorType = [](TObject*, Integer, Integer, TEditorType& kind) { kind = edValidChars; };
    grid->SetValidChars(u"abc");
    EditAt(2, 2);
    Type(u"axbyc");
    EXPECT_EQ(EditorText(), u"abc");
    Press(VK_ESCAPE);
    // Without ValidChars the character set decides.
    grid->SetValidChars(String());
    grid->SetValidCharSet(u'7', true);
    EditAt(2, 2);
    Type(u"a7b7");
    EXPECT_EQ(EditorText(), u"77");
}

TEST_F(InplaceEditTest, AKeypadPointTypesTheLocaleSeparatorWithExcelStyle) {
    SetSeparators(u',', u'.');
    grid->OnGetEditorType = [](TObject*, Integer, Integer, TEditorType& kind) { kind = edFloat; };
    EditAt(2, 2);
    Type(u"1");
    const LPARAM keypad = 1 | (1 << 22);
    SendMessageW(Editor()->Handle(), WM_CHAR, u'.', keypad);
    EXPECT_EQ(EditorText(), u"1") << "without ExcelStyleDecimalSeparator the point is a thousand separator";
    grid->SetExcelStyleDecimalSeparator(true);
    SendMessageW(Editor()->Handle(), WM_CHAR, u'.', keypad);
    Type(u"5");
    EXPECT_EQ(EditorText(), u"1,5");
}

TEST_F(InplaceEditTest, PasteTakesTheClipboardsTextByTheKindsRules) {
    struct Case {
        const char* name;
        TEditorType kind;
        std::u16string clipboard;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a closing line break is dropped", edNormal, u"abc\r\n", u"abc"},
        {"an inner line break stays", edNormal, u"a\r\nb", u"a\r\nb"},
        {"any characters come through", edNormal, u"Ωмир\tx", u"Ωмир\tx"},
        {"a negative number is no positive one", edPositiveNumeric, u"-5", u""},
        {"a number pastes into a positive cell", edPositiveNumeric, u"5", u"5"},
        {"a text is no number", edNumeric, u"5a", u""},
        {"a decimal into a float cell", edFloat, u"-2.5", u"-2.5"},
        {"upper case", edUpperCase, u"abc", u"ABC"},
    };
    SetSeparators(u'.', u',');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->OnGetEditorType = [&](TObject*, Integer, Integer, TEditorType& kind) { kind = c.kind; };
        grid->SetCells(2, 2, String());
        EditAt(2, 2);
        Clipboard()->SetAsText(c.clipboard);
        Press(u'V', TShiftState{ssCtrl});
        EXPECT_EQ(EditorText(), c.expected);
        Press(VK_RETURN);
        EXPECT_EQ(grid->Cells(2, 2), c.expected) << "the text round-trips into the cell";
    }
}

TEST_F(InplaceEditTest, PasteEventsMayChangeOrStopThePaste) {
    std::vector<std::string> events;
    grid->OnClipboardPaste = [&](TObject*, bool&) { events.push_back("paste"); };
    grid->OnClipboardBeforePasteCell = [&](TObject*, Integer col, Integer row, String& value, bool& allow) {
        events.push_back("before " + std::to_string(col) + "," + std::to_string(row));
        allow = value != u"no";
        value = u"<" + value + u">";
    };
    grid->OnClipboardAfterPasteCell = [&](TObject*, Integer, Integer, const String& value) {
        events.push_back("after " + std::string(value.begin(), value.end()));
    };
    EditAt(2, 3);
    Clipboard()->SetAsText(u"no");
    Press(u'V', TShiftState{ssCtrl});
    EXPECT_EQ(EditorText(), u"");
    Clipboard()->SetAsText(u"yes");
    Press(u'V', TShiftState{ssCtrl});
    EXPECT_EQ(EditorText(), u"<yes>");
    EXPECT_EQ(events,
              (std::vector<std::string>{"paste", "before 2,3", "paste", "before 2,3", "after <yes>"}));
}

TEST_F(InplaceEditTest, MaxEditLengthStopsTypingAndPasting) {
    grid->SetMaxEditLength(3);
    EditAt(2, 2);
    Type(u"abcd");
    EXPECT_EQ(EditorText(), u"abc");
    Press(VK_BACK);
    Clipboard()->SetAsText(u"xy");
    Press(u'V', TShiftState{ssCtrl});
    EXPECT_EQ(EditorText(), u"ab") << "a paste that would pass the limit changes nothing";
    Clipboard()->SetAsText(u"x");
    Press(u'V', TShiftState{ssCtrl});
    EXPECT_EQ(EditorText(), u"abx");
}

// The limit reaches an editor that is open: a lower one stops the typing, a higher one lets it go on
// past the old limit.
TEST_F(InplaceEditTest, MaxEditLengthReachesAnOpenEditor) {
    grid->SetMaxEditLength(3);
    EditAt(2, 2);
    Type(u"ab");
    grid->SetMaxEditLength(2);
    Type(u"c");
    EXPECT_EQ(EditorText(), u"ab");
    grid->SetMaxEditLength(5);
    Type(u"cdef");
    EXPECT_EQ(EditorText(), u"abcde");
    grid->SetMaxEditLength(0);
    Type(u"fgh");
    EXPECT_EQ(EditorText(), u"abcdefgh") << "0 is no limit";
}

TEST_F(InplaceEditTest, AutoAdvanceMovesOnWhenTheLastAllowedCharacterIsTyped) {
    grid->SetMaxEditLength(3);
    grid->Navigation()->SetAdvanceAuto(true);
    grid->Navigation()->SetAdvanceOnEnter(true);
    EditAt(2, 2);
    Type(u"ab");
    EXPECT_EQ(grid->Col(), 2);
    Type(u"c");
    EXPECT_EQ(grid->Cells(2, 2), u"abc");
    EXPECT_EQ(grid->Col(), 3) << "the third character moves to the next cell";
}

TEST_F(InplaceEditTest, LookupCompletesFromTheItemsAndSelectsTheRest) {
    grid->SetLookup(true);
    grid->LookupItems()->Add(u"Apple");
    grid->LookupItems()->Add(u"Banana");
    EditAt(2, 2);
    Type(u"ba");
    EXPECT_EQ(EditorText(), u"banana");
    EXPECT_EQ(Editor()->SelStart(), 2);
    EXPECT_EQ(Editor()->SelLength(), 4);
    // Backspace ends the completion until the next other key.
    Press(VK_BACK);
    EXPECT_EQ(EditorText(), u"ba");
    grid->SetLookupCaseSensitive(true);
    Type(u"x");
    EXPECT_EQ(EditorText(), u"bax");
}

TEST_F(InplaceEditTest, ARefusedValueKeepsTheEditorOpenWhateverKeyLeaves) {
    struct Case {
        const char* name;
        int key;
        TShiftState shift;
    };
    const Case cases[] = {
        {"Tab", VK_TAB, {}},
        {"Enter", VK_RETURN, {}},
        {"Up", VK_UP, {}},
        {"Down", VK_DOWN, {}},
        {"Shift+Left at the start", VK_LEFT, TShiftState{ssShift}},
        {"Shift+Right at the end", VK_RIGHT, TShiftState{ssShift}},
    };
    grid->SetOptions(grid->Options() + TGridOptions{goTabs});
    grid->Navigation()->SetCursorWalkEditor(true);
    // A refusal puts the caret back at the end of the text rather than selecting it.
    grid->Navigation()->SetEditSelectAll(false);
    bool accept = false;
    std::vector<String> validated;
    grid->OnCellValidate = [&](TObject*, Integer, Integer, String& value, bool& valid) {
        validated.push_back(value);
        valid = accept;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        accept = false;
        validated.clear();
        grid->SetCells(2, 3, u"old");
        EditAt(2, 3);
        Type(u"new");
        if (c.key == VK_LEFT)
            Press(VK_HOME);
        Press(c.key, c.shift);
        // The caret starts at the end of the cell's text.
        EXPECT_EQ(validated, (std::vector<String>{u"oldnew"}));
        EXPECT_TRUE(EditorShown());
        EXPECT_EQ(EditorText(), u"oldnew");
        EXPECT_EQ(grid->Col(), 2);
        EXPECT_EQ(grid->Row(), 3);
        // Accepted the second time, the key leaves the cell with the text stored.
        accept = true;
        if (c.key == VK_LEFT)
            Press(VK_HOME);
        Press(c.key, c.shift);
        EXPECT_EQ(grid->Cells(2, 3), u"oldnew");
        EXPECT_FALSE(EditorShown() && grid->Col() == 2 && grid->Row() == 3);
        Press(VK_ESCAPE);
        grid->SetFocus();
        Pump();
    }
}

TEST_F(InplaceEditTest, EscapePutsBackTheTextTheCellHadAfterSeveralChanges) {
    grid->SetCells(2, 2, u"start");
    EditAt(2, 2);
    Type(u"x");
    Press(VK_BACK);
    Type(u"yz");
    Press(VK_HOME);
    Type(u"a");
    EXPECT_NE(grid->Cells(2, 2), u"start");
    Press(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(2, 2), u"start");
    EXPECT_FALSE(EditorShown());
    EXPECT_FALSE(grid->EditMode());
}

TEST_F(InplaceEditTest, AltBackspaceKeepsTheEditWhenTheFocusMovesMeanwhile) {
    std::vector<std::string> done;
    grid->OnEditingDone = [&](TObject*) { done.push_back("done"); };
    EditAt(2, 2);
    Type(u"ab");
    win32::input::Key(VK_MENU, true);
    win32::input::Key(VK_BACK, true);
    Pump();
    other->SetFocus();
    Pump();
    win32::input::Key(VK_BACK, false);
    win32::input::Key(VK_MENU, false);
    Pump();
    EXPECT_TRUE(done.empty());
    EXPECT_TRUE(grid->EditMode());
    // Without Alt+Backspace held, the focus leaving ends the edit.
    grid->SetFocus();
    Pump();
    EditAt(3, 2);
    other->SetFocus();
    Pump();
    EXPECT_FALSE(done.empty());
    EXPECT_FALSE(grid->EditMode());
}

TEST_F(InplaceEditTest, TheWindowFollowsRightAlignedAndPasswordCells) {
    grid->OnGetAlignment = [](TObject*, Integer ARow, Integer ACol, TAlignment& HAlign, TVAlignment&) {
        if (ACol == 3)
            HAlign = taRightJustify;
    };
    grid->OnGetEditorType = [](TObject*, Integer ACol, Integer, TEditorType& kind) {
        if (ACol == 4)
            kind = edPassword;
    };
    auto style = [this] { return GetWindowLongW(Editor()->Handle(), GWL_STYLE); };
    EditAt(2, 2);
    EXPECT_EQ(style() & ES_RIGHT, 0);
    Press(VK_ESCAPE);
    EditAt(3, 2);
    EXPECT_NE(style() & ES_RIGHT, 0) << "a right-aligned cell's text is right-aligned";
    Press(VK_ESCAPE);
    EditAt(4, 2);
    EXPECT_NE(style() & ES_PASSWORD, 0);
    EXPECT_EQ(SendMessageW(Editor()->Handle(), EM_GETPASSWORDCHAR, 0, 0), u'*');
    Type(u"secret");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(4, 2), u"secret");
    EditAt(2, 3);
    EXPECT_EQ(style() & ES_PASSWORD, 0) << "the next cell is no password cell";
}

// Word wrap reaches an open editor: its window is made again without horizontal scrolling and keeps
// the text being edited.
TEST_F(InplaceEditTest, WordWrapReachesAnOpenEditor) {
    auto style = [this] { return GetWindowLongW(Editor()->Handle(), GWL_STYLE); };
    grid->SetWordWrap(false);
    EditAt(2, 2);
    Type(u"one two");
    ASSERT_FALSE(Editor()->WordWrap());
    EXPECT_NE(style() & ES_AUTOHSCROLL, 0);
    grid->SetWordWrap(true);
    EXPECT_TRUE(Editor()->WordWrap());
    EXPECT_EQ(style() & ES_AUTOHSCROLL, 0);
    EXPECT_EQ(EditorText(), u"one two");
    EXPECT_TRUE(Editor()->Focused()) << "the edit goes on in the new window";
    Press(VK_END);
    Type(u" three");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(2, 2), u"one two three");
    grid->SetWordWrap(false);
    EditAt(2, 3);
    EXPECT_FALSE(Editor()->WordWrap());
    EXPECT_NE(style() & ES_AUTOHSCROLL, 0);
}

// With MouseActions.DirectDateClose, closing the date picker's calendar ends the edit.
TEST_F(InplaceEditTest, ClosingTheDatePickerEndsTheEditWithDirectDateClose) {
    TDateTimePicker picker(nullptr);
    for (bool direct : {false, true}) {
        SCOPED_TRACE(direct);
        grid->MouseActions()->SetDirectDateClose(direct);
        EditAt(2, 2);
        Type(u"x");
        grid->DatePickerCloseUp(&picker);
        EXPECT_EQ(grid->EditMode(), !direct);
        if (direct) {
            EXPECT_EQ(grid->Cells(2, 2), u"x") << "the value is kept";
        }
        Press(VK_ESCAPE);
    }
}

} // namespace
