// Tests of the EDIT control: message sequences of focus and typing, key sequences with the text,
// selection and notifications they leave, the EM_* queries, limits and odd text, mouse selection and a
// few pixels.
#include <gtest/gtest.h>

#include "platform/rtl/Clock.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/commctrl.h"
#include "tests/platform/win32/controls/controls_testing.h"

namespace {

using namespace controltest;
using wintest::Expected;
using wintest::LParam;
using wintest::MessageLog;
using wintest::Optional;
using wintest::Sent;
using wintest::WParam;

class EditTest : public ControlTest {
protected:
    HWND Edit(DWORD style, LPCWSTR text = u"", RECT rect = RECT{10, 10, 210, 40}) {
        HWND edit = Child(u"Edit", style, rect, text);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return edit;
    }
    static std::pair<int, int> Sel(HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
};

TEST_F(EditTest, FocusAndTypingSendTheWin32Sequences) {
    MessageLog log;
    // Creating with text tells the parent nothing but that a child was born.
    HWND edit = Edit(ES_AUTOHSCROLL, u"x");
    EXPECT_TRUE(Notifications(log, FParent, edit).empty());
    SetWindowTextW(edit, u"");
    log.Name(FParent, "parent");
    log.Name(edit, "edit");
    Record(edit);
    WPARAM id = 100;

    // Focus.
    log.Clear();
    SetFocus(edit);
    EXPECT_TRUE(log.Matches({
        {"parent", WM_KILLFOCUS, Sent | Optional},
        {"parent", WM_IME_SETCONTEXT, Sent | Optional},
        {"edit", WM_IME_SETCONTEXT, Sent | Optional},
        {"edit", WM_SETFOCUS, Sent},
        {"parent", WM_COMMAND, Sent | WParam | LParam, MAKEWPARAM(id, EN_SETFOCUS),
         reinterpret_cast<LPARAM>(edit)},
    }));

    // Type a character.
    log.Clear();
    Press('A');
    EXPECT_TRUE(log.Matches({
        {"edit", WM_KEYDOWN, Sent | WParam, 'A'},
        {"edit", WM_CHAR, Sent | WParam, 'a'},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(id, EN_UPDATE)},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(id, EN_CHANGE)},
        {"edit", WM_KEYUP, Sent | WParam, 'A'},
    }));
    EXPECT_EQ(WindowText(edit), u"a");

    // A caret move notifies nothing.
    log.Clear();
    Press(VK_HOME);
    EXPECT_TRUE(Notifications(log, FParent, edit).empty());

    // Lose the focus.
    log.Clear();
    SetFocus(FParent);
    EXPECT_TRUE(log.Matches({
        {"edit", WM_KILLFOCUS, Sent},
        {"parent", WM_COMMAND, Sent | WParam, MAKEWPARAM(id, EN_KILLFOCUS)},
        {"edit", WM_IME_SETCONTEXT, Sent | Optional},
        {"parent", WM_IME_SETCONTEXT, Sent | Optional},
        {"parent", WM_SETFOCUS, Sent},
    }));
}

// One step of a key sequence: a character typed, a key pressed, or a key pressed with a modifier held.
struct Step {
    enum Kind { Text, Key, WithShift, WithControl } kind;
    String text;
    int key = 0;
};
Step T(const Char* text) {
    return Step{Step::Text, text, 0};
}
Step K(int key) {
    return Step{Step::Key, {}, key};
}
Step S(int key) {
    return Step{Step::WithShift, {}, key};
}
Step C(int key) {
    return Step{Step::WithControl, {}, key};
}

struct KeyCase {
    const char* name;
    DWORD style;
    const Char* initial;
    int selStart; // EM_SETSEL before the keys
    int selEnd;
    std::vector<Step> steps;
    const Char* text;
    int expectStart;
    int expectEnd;
    std::vector<WORD> notifications;
};

class EditKeys : public EditTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(EditKeys, LeaveTextSelectionAndNotifications) {
    const KeyCase& c = GetParam();
    HWND edit = Edit(c.style, c.initial, RECT{10, 10, 210, 100});
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(c.selStart), c.selEnd);
    MessageLog log;
    for (const Step& step : c.steps) {
        switch (step.kind) {
        case Step::Text:
            Type(step.text);
            break;
        case Step::Key:
            Press(step.key);
            break;
        case Step::WithShift:
            Chord(VK_SHIFT, step.key);
            break;
        case Step::WithControl:
            Chord(VK_CONTROL, step.key);
            break;
        }
    }
    EXPECT_EQ(WindowText(edit), String(c.text));
    EXPECT_EQ(Sel(edit), std::make_pair(c.expectStart, c.expectEnd));
    EXPECT_EQ(Notifications(log, FParent, edit), c.notifications);
}

constexpr WORD U = EN_UPDATE;
constexpr WORD Ch = EN_CHANGE;
constexpr DWORD Single = ES_AUTOHSCROLL;
constexpr DWORD Multi = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL;

INSTANTIATE_TEST_SUITE_P(
    Cases, EditKeys,
    ::testing::Values(
        KeyCase{"TypeInserts", Single, u"", 0, 0, {T(u"abc")}, u"abc", 3, 3, {U, Ch, U, Ch, U, Ch}},
        KeyCase{"TypeReplacesSelection", Single, u"hello", 1, 4, {T(u"X")}, u"hXo", 2, 2, {U, Ch}},
        KeyCase{"BackspaceDeletesLeft", Single, u"abc", 3, 3, {K(VK_BACK)}, u"ab", 2, 2, {U, Ch}},
        KeyCase{"BackspaceAtStartDoesNothing", Single, u"abc", 0, 0, {K(VK_BACK)}, u"abc", 0, 0, {}},
        KeyCase{"DeleteDeletesRight", Single, u"abc", 0, 0, {K(VK_DELETE)}, u"bc", 0, 0, {U, Ch}},
        KeyCase{"ShiftLeftSelectsThenTypeReplaces",
                Single,
                u"abc",
                3,
                3,
                {S(VK_LEFT), S(VK_LEFT), T(u"X")},
                u"aX",
                2,
                2,
                {U, Ch}},
        KeyCase{"LeftFromSelectionMovesFromTheCaret", Single, u"abcd", 1, 3, {K(VK_LEFT)}, u"abcd", 2, 2, {}},
        KeyCase{"ShiftEndSelectsToTheEnd", Single, u"abc", 1, 1, {S(VK_END)}, u"abc", 1, 3, {}},
        KeyCase{"HomeGoesToTheStart", Single, u"abc", 2, 2, {K(VK_HOME)}, u"abc", 0, 0, {}},
        KeyCase{
            "ControlLeftGoesToTheWordStart", Single, u"one two", 7, 7, {C(VK_LEFT)}, u"one two", 4, 4, {}},
        KeyCase{"ControlRightSkipsTheWordAndSpaces",
                Single,
                u"one two",
                0,
                0,
                {C(VK_RIGHT)},
                u"one two",
                4,
                4,
                {}},
        KeyCase{"UpActsAsLeftOnOneLine", Single, u"abc", 2, 2, {K(VK_UP)}, u"abc", 1, 1, {}},
        KeyCase{"EnterIgnoredOnOneLine", Single, u"ab", 1, 1, {K(VK_RETURN)}, u"ab", 1, 1, {}},
        KeyCase{
            "NumberRefusesLetters", Single | ES_NUMBER, u"", 0, 0, {T(u"1a2")}, u"12", 2, 2, {U, Ch, U, Ch}},
        KeyCase{
            "UpperCaseConverts", Single | ES_UPPERCASE, u"", 0, 0, {T(u"aé")}, u"AÉ", 2, 2, {U, Ch, U, Ch}},
        KeyCase{
            "LowerCaseConverts", Single | ES_LOWERCASE, u"", 0, 0, {T(u"AB")}, u"ab", 2, 2, {U, Ch, U, Ch}},
        KeyCase{"ReadOnlyRefusesTyping",
                Single | ES_READONLY,
                u"ab",
                2,
                2,
                {T(u"x"), K(VK_BACK), K(VK_DELETE)},
                u"ab",
                2,
                2,
                {}},
        KeyCase{"SurrogatePairIsOneStep",
                Single,
                u"a\U0001F600b",
                3,
                3,
                {K(VK_LEFT), K(VK_BACK)},
                u"\U0001F600b",
                0,
                0,
                {U, Ch}},
        KeyCase{"BackspaceRemovesAPair", Single, u"a\U0001F600", 3, 3, {K(VK_BACK)}, u"a", 1, 1, {U, Ch}},
        KeyCase{"ControlAToSelectAll", Single, u"abc", 1, 1, {C('A')}, u"abc", 0, 3, {}},
        KeyCase{"UndoTakesTheTypingBack",
                Single,
                u"",
                0,
                0,
                {T(u"ab"), C('Z')},
                u"",
                0,
                0,
                {U, Ch, U, Ch, U, Ch}},
        KeyCase{"UndoTwiceRedoesAndSelects",
                Single,
                u"x",
                1,
                1,
                {T(u"ab"), C('Z'), C('Z')},
                u"xab",
                1,
                3,
                {U, Ch, U, Ch, U, Ch, U, Ch}},
        KeyCase{"EnterBreaksAMultiLine", Multi, u"ab", 1, 1, {K(VK_RETURN)}, u"a\r\nb", 3, 3, {U, Ch}},
        KeyCase{"BackspaceJoinsLines", Multi, u"a\r\nb", 3, 3, {K(VK_BACK)}, u"ab", 1, 1, {U, Ch}},
        KeyCase{"RightStepsOverTheBreak", Multi, u"a\r\nb", 1, 1, {K(VK_RIGHT)}, u"a\r\nb", 3, 3, {}},
        KeyCase{"DownKeepsTheColumn", Multi, u"ab\r\ncd", 1, 1, {K(VK_DOWN)}, u"ab\r\ncd", 5, 5, {}},
        KeyCase{"UpFromTheFirstLineStays", Multi, u"ab\r\ncd", 1, 1, {K(VK_UP)}, u"ab\r\ncd", 1, 1, {}},
        KeyCase{"EndEndsTheLine", Multi, u"ab\r\ncd", 0, 0, {K(VK_END)}, u"ab\r\ncd", 2, 2, {}},
        KeyCase{"ControlEndEndsTheText", Multi, u"ab\r\ncd", 0, 0, {C(VK_END)}, u"ab\r\ncd", 6, 6, {}},
        KeyCase{"TabTypesInAMultiLine", Multi, u"", 0, 0, {K(VK_TAB)}, u"\t", 1, 1, {U, Ch}}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(EditTest, LimitCutsTypingAndReplacementsButNotSetText) {
    HWND edit = Edit(ES_AUTOHSCROLL, u"ab");
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 2, 2);
    MessageLog log;
    Type(u"cd");
    EXPECT_EQ(WindowText(edit), u"abc");
    EXPECT_EQ(Notifications(log, FParent, edit), (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));

    // A replacement is cut to the room left and says so first.
    log.Clear();
    SendMessageW(edit, EM_SETSEL, 0, 1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"XYZ"));
    EXPECT_EQ(WindowText(edit), u"Xbc");
    EXPECT_EQ(Notifications(log, FParent, edit), (std::vector<WORD>{EN_MAXTEXT, EN_UPDATE, EN_CHANGE}));

    // WM_SETTEXT is not limited.
    SetWindowTextW(edit, u"longer than three");
    EXPECT_EQ(WindowText(edit), u"longer than three");

    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, SetTextNotifiesSingleLineOnlyAndResetsModifyAndUndo) {
    HWND single = Edit(ES_AUTOHSCROLL);
    HWND multi = Edit(ES_MULTILINE, u"", RECT{10, 50, 210, 120});
    MessageLog log;
    SetWindowTextW(single, u"one");
    SetWindowTextW(multi, u"two");
    EXPECT_EQ(Notifications(log, FParent, single), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(Notifications(log, FParent, multi).empty());
    EXPECT_EQ(Sel(single), std::make_pair(0, 0));

    SetFocus(single);
    SendMessageW(single, EM_SETSEL, 3, 3);
    Type(u"x");
    EXPECT_EQ(SendMessageW(single, EM_GETMODIFY, 0, 0), TRUE);
    EXPECT_EQ(SendMessageW(single, EM_CANUNDO, 0, 0), TRUE);
    SetWindowTextW(single, u"reset");
    EXPECT_EQ(SendMessageW(single, EM_GETMODIFY, 0, 0), FALSE);
    EXPECT_EQ(SendMessageW(single, EM_CANUNDO, 0, 0), FALSE);

    // EM_REPLACESEL without undo changes the text and the modify flag but leaves nothing to undo; it is
    // limited like typing, and a line break in it stays.
    SendMessageW(single, EM_SETSEL, 0, -1);
    SendMessageW(single, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"new"));
    EXPECT_EQ(WindowText(single), u"new");
    EXPECT_EQ(Sel(single), std::make_pair(3, 3));
    EXPECT_EQ(SendMessageW(single, EM_CANUNDO, 0, 0), FALSE);
    EXPECT_EQ(SendMessageW(single, EM_GETMODIFY, 0, 0), TRUE);
    SendMessageW(single, EM_LIMITTEXT, 5, 0);
    SendMessageW(single, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"\r\nabc"));
    EXPECT_EQ(WindowText(single), u"new\r\n");
    SendMessageW(single, EM_SETMODIFY, FALSE, 0);
    EXPECT_EQ(SendMessageW(single, EM_GETMODIFY, 0, 0), FALSE);
}

TEST_F(EditTest, ReplacementWithoutUndoLeavesNothingToUndo) {
    // Undo after such a replacement must not bring back the text from before the typing, losing both.
    HWND edit = Edit(ES_AUTOHSCROLL);
    SetFocus(edit);
    Type(u"ab");
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), TRUE);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"X"));
    EXPECT_EQ(SendMessageW(edit, EM_CANUNDO, 0, 0), FALSE);
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(WindowText(edit), u"abX");
    // A replacement that may be undone is one step of its own.
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"Y"));
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(WindowText(edit), u"abX");
}

TEST_F(EditTest, SetSelOrdersEndsAndKeepsTheCaretAtTheSecond) {
    HWND edit = Edit(ES_AUTOHSCROLL, u"abcdef");
    SendMessageW(edit, EM_SETSEL, 4, 1);
    EXPECT_EQ(Sel(edit), std::make_pair(1, 4));
    // The caret is at 1: Shift+Right shrinks the selection from the left.
    SetFocus(edit);
    Chord(VK_SHIFT, VK_RIGHT);
    EXPECT_EQ(Sel(edit), std::make_pair(2, 4));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 6));
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Sel(edit), std::make_pair(6, 6));
    SendMessageW(edit, EM_SETSEL, 100, 200);
    EXPECT_EQ(Sel(edit), std::make_pair(6, 6));
    LRESULT packed = SendMessageW(edit, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(packed), 6);
    EXPECT_EQ(HIWORD(packed), 6);
}

TEST_F(EditTest, LineQueriesOfAMultiLineEdit) {
    HWND edit =
        Edit(ES_MULTILINE | ES_AUTOHSCROLL, u"first\r\nsecond line\r\n\r\nlast", RECT{10, 10, 210, 200});
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 1, 0), 7);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 3, 0), 22);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 4, 0), -1);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 8, 0), 11);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 20, 0), 0);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 7, 0), 1);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 6, 0), 0);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 1000, 0), 3);
    SendMessageW(edit, EM_SETSEL, 9, 9);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 7);
    // With the selection over two lines, -1 counts what is not selected on them.
    SendMessageW(edit, EM_SETSEL, 3, 9);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 3 + 9);

    Char buffer[16]{};
    *reinterpret_cast<WORD*>(buffer) = 6;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 6);
    EXPECT_EQ(String(buffer, 6), u"second");
    *reinterpret_cast<WORD*>(buffer) = 15;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 9, reinterpret_cast<LPARAM>(buffer)), 0);

    HWND single = Edit(ES_AUTOHSCROLL, u"one", RECT{10, 210, 210, 240});
    EXPECT_EQ(SendMessageW(single, EM_GETLINECOUNT, 0, 0), 1);
    *reinterpret_cast<WORD*>(buffer) = 15;
    EXPECT_EQ(SendMessageW(single, EM_GETLINE, 5, reinterpret_cast<LPARAM>(buffer)), 3);
}

TEST_F(EditTest, PositionsAndCharactersRoundTrip) {
    HWND edit = Edit(ES_MULTILINE | ES_AUTOHSCROLL, u"abc\r\ndefg", RECT{10, 10, 210, 200});
    LRESULT pos0 = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    LRESULT pos6 = SendMessageW(edit, EM_POSFROMCHAR, 6, 0);
    EXPECT_GT(GET_Y_LPARAM(pos6), GET_Y_LPARAM(pos0));
    EXPECT_EQ(SendMessageW(edit, EM_POSFROMCHAR, 9, 0), -1);
    for (int index : {0, 2, 5, 7}) {
        LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        LRESULT hit = SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(pos) + 1, HIWORD(pos) + 2));
        EXPECT_EQ(LOWORD(hit), index) << index;
        EXPECT_EQ(HIWORD(hit), index < 5 ? 0 : 1) << index;
    }
    // Past the end of a line: the line's end.
    LRESULT hit = SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(190, GET_Y_LPARAM(pos0) + 2));
    EXPECT_EQ(LOWORD(hit), 3);
}

TEST_F(EditTest, AlignmentAndHorizontalScrolling) {
    HWND left = Edit(ES_LEFT, u"abc");
    HWND center = Edit(ES_CENTER, u"abc", RECT{10, 50, 210, 80});
    HWND right = Edit(ES_RIGHT, u"abc", RECT{10, 90, 210, 120});
    auto x0 = [](HWND edit) { return GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 0, 0)); };
    EXPECT_LT(x0(left), x0(center));
    EXPECT_LT(x0(center), x0(right));

    String text(200, u'w');
    HWND scrolled = Edit(ES_AUTOHSCROLL, text.c_str(), RECT{10, 130, 110, 160});
    EXPECT_EQ(x0(scrolled), GET_X_LPARAM(SendMessageW(left, EM_POSFROMCHAR, 0, 0)));
    // The caret at the end scrolls the text so the end shows.
    SendMessageW(scrolled, EM_SETSEL, 200, 200);
    RECT client{};
    GetClientRect(scrolled, &client);
    int last = GET_X_LPARAM(SendMessageW(scrolled, EM_POSFROMCHAR, 199, 0));
    EXPECT_LT(x0(scrolled), 0);
    EXPECT_GT(last, 0);
    EXPECT_LT(last, client.right);
}

TEST_F(EditTest, TabsGoToTheTabStops) {
    HWND edit = Edit(ES_MULTILINE | ES_AUTOHSCROLL, u"a\tb\r\n\tc", RECT{10, 10, 310, 100});
    TEXTMETRICW tm{};
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    int left = GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 0, 0));
    // By default a tab goes to the next multiple of eight average characters.
    EXPECT_EQ(GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 2, 0)) - left, 8 * tm.tmAveCharWidth);
    EXPECT_EQ(GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 6, 0)) - left, 8 * tm.tmAveCharWidth);
    int stop = 12; // dialog units: three average characters
    EXPECT_EQ(SendMessageW(edit, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop)), TRUE);
    EXPECT_EQ(GET_X_LPARAM(SendMessageW(edit, EM_POSFROMCHAR, 2, 0)) - left, 3 * tm.tmAveCharWidth);
    // A click just past the tab stop lands after the tab.
    LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, 2, 0);
    LRESULT hit = SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(LOWORD(pos) + 1, HIWORD(pos) + 2));
    EXPECT_EQ(LOWORD(hit), 2);
}

TEST_F(EditTest, RectAndMargins) {
    HWND edit = Edit(ES_MULTILINE, u"text", RECT{10, 10, 210, 110});
    SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(5, 7));
    EXPECT_EQ(SendMessageW(edit, EM_GETMARGINS, 0, 0), MAKELRESULT(5, 7));
    RECT client{}, rect{};
    GetClientRect(edit, &client);
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.left, client.left + 5);
    EXPECT_EQ(rect.right, client.right - 7);
    RECT custom{20, 10, 120, 60};
    SendMessageW(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&custom));
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_TRUE(EqualRect(&rect, &custom));
    LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    EXPECT_EQ(GET_X_LPARAM(pos), 20);
    EXPECT_EQ(GET_Y_LPARAM(pos), 10);
}

TEST_F(EditTest, WordWrapFollowsTheStyle) {
    const Char* text = u"the quick brown fox jumps over the lazy dog again and again";
    HWND wrapped = Edit(ES_MULTILINE, text, RECT{10, 10, 110, 200});
    HWND scrolled = Edit(ES_MULTILINE | ES_AUTOHSCROLL, text, RECT{120, 10, 220, 200});
    EXPECT_GT(SendMessageW(wrapped, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(scrolled, EM_GETLINECOUNT, 0, 0), 1);
    // Wrapped lines break after a space and keep every character.
    int count = static_cast<int>(SendMessageW(wrapped, EM_GETLINECOUNT, 0, 0));
    int total = 0;
    for (int line = 0; line < count; ++line) {
        int start = static_cast<int>(SendMessageW(wrapped, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
        EXPECT_EQ(start, total);
        total += static_cast<int>(SendMessageW(wrapped, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
        if (line + 1 < count) {
            EXPECT_EQ(text[total - 1], u' ') << line;
        }
    }
    EXPECT_EQ(total, static_cast<int>(String(text).size()));
}

TEST_F(EditTest, WithoutAutoScrollTypingStopsAtTheEdge) {
    HWND edit = Edit(0, u"", RECT{10, 10, 60, 40});
    SetFocus(edit);
    MessageLog log;
    Type(u"wwwwwwwwwwwwwwwwwwww");
    int length = GetWindowTextLengthW(edit);
    EXPECT_GT(length, 0);
    EXPECT_LT(length, 20);
    std::vector<WORD> codes = Notifications(log, FParent, edit);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), EN_MAXTEXT);
}

TEST_F(EditTest, OddTextNeverBreaksTheControl) {
    String odd;
    for (int i = 0; i < 20000; ++i)
        odd += (i % 7 == 0)    ? Char(0xD800)
               : (i % 11 == 0) ? Char(0xDC00)
               : (i % 13 == 0) ? u'\r'
               : (i % 17 == 0) ? u'\n'
                               : Char(u'a' + i % 26);
    odd += u"\r\n\r";
    for (DWORD style : {DWORD(ES_AUTOHSCROLL), DWORD(ES_MULTILINE), DWORD(ES_MULTILINE | ES_AUTOHSCROLL),
                        DWORD(ES_PASSWORD)}) {
        HWND edit = Edit(style, u"", RECT{10, 10, 210, 100});
        SetWindowTextW(edit, odd.c_str());
        EXPECT_EQ(WindowText(edit), odd);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 5, 5);
        Press(VK_END);
        Press(VK_BACK);
        Chord(VK_CONTROL, VK_LEFT);
        Press(VK_DOWN);
        Type(u"\U0001F600");
        String before = WindowText(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"\r\r\n\n"));
        SendMessageW(edit, EM_UNDO, 0, 0);
        EXPECT_EQ(WindowText(edit), before);
        wintest::Pump();
        EXPECT_GE(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 1);
        DestroyWindow(edit);
    }
    // Only a CR LF pair breaks a line; a lone CR or LF does not.
    HWND multi = Edit(ES_MULTILINE | ES_AUTOHSCROLL, u"a\rb\nc\r\nd", RECT{10, 10, 210, 100});
    EXPECT_EQ(SendMessageW(multi, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, MouseSelectsByClickDragAndDoubleClick) {
    HWND edit = Edit(ES_AUTOHSCROLL, u"hello world");
    auto at = [&](int index) {
        LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos) + 3};
    };
    POINT p2 = at(2);
    Click(edit, p2.x, p2.y);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(Sel(edit), std::make_pair(2, 2));
    EXPECT_EQ(GetCapture(), nullptr);

    // Drag from 2 to 8.
    POINT p8 = at(8);
    POINT s2 = wintest::ScreenPoint(edit, p2.x, p2.y);
    POINT s8 = wintest::ScreenPoint(edit, p8.x, p8.y);
    Clock::Advance(1000); // far from the last click, so no double click
    win32::input::MouseButton(win32::input::Button::Left, true, s2.x, s2.y);
    PumpInput();
    EXPECT_EQ(GetCapture(), edit);
    win32::input::MouseMove(s8.x, s8.y);
    win32::input::MouseButton(win32::input::Button::Left, false, s8.x, s8.y);
    PumpInput();
    EXPECT_EQ(Sel(edit), std::make_pair(2, 8));
    EXPECT_EQ(GetCapture(), nullptr);

    // A double click selects the word and the space after it.
    Clock::Advance(1000);
    Click(edit, p2.x, p2.y, true);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 6));
}

TEST_F(EditTest, DialogCodes) {
    HWND single = Edit(ES_AUTOHSCROLL);
    HWND multi = Edit(ES_MULTILINE, u"", RECT{10, 50, 210, 120});
    HWND wantReturn = Edit(ES_MULTILINE | ES_WANTRETURN, u"", RECT{10, 130, 210, 200});
    MSG enter{multi, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG escape{multi, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    EXPECT_EQ(SendMessageW(single, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, 0),
              DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS);
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                  DLGC_WANTALLKEYS,
              0);
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)) &
                  DLGC_WANTALLKEYS,
              0);
    enter.hwnd = wantReturn;
    EXPECT_NE(SendMessageW(wantReturn, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                  DLGC_WANTALLKEYS,
              0);
}

TEST_F(EditTest, PasswordCueBannerAndBalloon) {
    HWND edit = Edit(ES_AUTOHSCROLL | ES_PASSWORD, u"secret");
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), 0x25CF);
    SendMessageW(edit, EM_SETPASSWORDCHAR, u'#', 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), u'#');
    SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_EQ(WindowText(edit), u"secret");

    EXPECT_EQ(SendMessageW(edit, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(u"Search")), TRUE);
    Char cue[16]{};
    EXPECT_EQ(SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 16), TRUE);
    EXPECT_EQ(String(cue), u"Search");
    HWND multi = Edit(ES_MULTILINE, u"", RECT{10, 50, 210, 120});
    EXPECT_EQ(SendMessageW(multi, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(u"x")), FALSE);

    EDITBALLOONTIP tip{sizeof(EDITBALLOONTIP), u"Title", u"Text", TTI_INFO};
    EXPECT_EQ(SendMessageW(edit, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)), TRUE);
    EXPECT_EQ(SendMessageW(edit, EM_HIDEBALLOONTIP, 0, 0), TRUE);
    EXPECT_EQ(SendMessageW(edit, EM_HIDEBALLOONTIP, 0, 0), FALSE);
}

TEST_F(EditTest, ReadOnlyKeepsProgrammaticChanges) {
    HWND edit = Edit(ES_AUTOHSCROLL);
    SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY, 0);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"set"));
    EXPECT_EQ(WindowText(edit), u"set");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(WindowText(edit), u"set");
    SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(WindowText(edit), u"");
}

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

TEST_F(EditTest, ClipboardKeysCutCopyAndPaste) {
    HWND edit = Edit(ES_AUTOHSCROLL, u"hello world");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, 5);
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(ClipboardText(), u"hello");
    SendMessageW(edit, EM_SETSEL, 11, 11);
    MessageLog log;
    Chord(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(WindowText(edit), u"hello worldhello");
    EXPECT_EQ(Notifications(log, FParent, edit), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
    SendMessageW(edit, EM_SETSEL, 5, 11);
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(WindowText(edit), u"hellohello");
    EXPECT_EQ(ClipboardText(), u" world");
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(WindowText(edit), u"hello worldhello");

    // A single line takes only the first line of what is pasted; a multi-line edit takes all.
    SetClipboardText(u"one\r\ntwo");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(WindowText(edit), u"one");
    SetClipboardText(u"lf\nonly");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(edit), u"lf");
    SetClipboardText(u"one\r\ntwo");
    HWND multi = Edit(ES_MULTILINE | ES_AUTOVSCROLL, u"", RECT{10, 50, 210, 150});
    SendMessageW(multi, WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(multi), u"one\r\ntwo");

    // A password is never copied out, and a read-only edit takes no paste.
    HWND password = Edit(ES_AUTOHSCROLL | ES_PASSWORD, u"secret", RECT{10, 160, 210, 190});
    SendMessageW(password, EM_SETSEL, 0, -1);
    SendMessageW(password, WM_COPY, 0, 0);
    SendMessageW(password, WM_CUT, 0, 0);
    EXPECT_EQ(ClipboardText(), u"one\r\ntwo");
    EXPECT_EQ(WindowText(password), u"secret");
    SendMessageW(multi, EM_SETREADONLY, TRUE, 0);
    SendMessageW(multi, WM_PASTE, 0, 0);
    EXPECT_EQ(WindowText(multi), u"one\r\ntwo");
}

// A pixel of the control's client area as painted.
COLORREF PixelAt(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
}

bool AnyPixel(HWND hwnd, RECT area, COLORREF color, bool equal) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if ((PixelAt(hwnd, x, y) == color) == equal)
                return true;
    return false;
}

TEST_F(EditTest, ParentChoosesTheColours) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.rect = RECT{0, 0, 300, 200};
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CTLCOLOREDIT)
            return reinterpret_cast<LRESULT>(red);
        if (message == WM_CTLCOLORSTATIC)
            return reinterpret_cast<LRESULT>(blue);
        return std::nullopt;
    };
    HWND parent = wintest::Create(options);
    HWND edit = CreateWindowExW(0, u"Edit", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent, nullptr,
                                nullptr, nullptr);
    // A read-only edit is coloured like static text.
    HWND readOnly = CreateWindowExW(0, u"Edit", u"", WS_CHILD | WS_VISIBLE | ES_READONLY, 0, 30, 100, 20,
                                    parent, nullptr, nullptr, nullptr);
    wintest::Pump();
    EXPECT_EQ(PixelAt(edit, 50, 10), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(readOnly, 50, 10), RGB(0, 0, 255));
    DestroyWindow(parent);
    DeleteObject(red);
    DeleteObject(blue);
}

TEST_F(EditTest, PaintsTextAndTheSelectionHighlight) {
    HWND edit = Edit(ES_AUTOHSCROLL, u"WWW");
    wintest::Pump();
    COLORREF window = GetSysColor(COLOR_WINDOW);
    LRESULT end = SendMessageW(edit, EM_POSFROMCHAR, 2, 0);
    RECT textArea{0, 0, GET_X_LPARAM(end) + 8, 14};
    EXPECT_TRUE(AnyPixel(edit, textArea, window, false));
    EXPECT_FALSE(AnyPixel(edit, RECT{150, 0, 190, 14}, window, false));

    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    wintest::Pump();
    EXPECT_TRUE(AnyPixel(edit, textArea, GetSysColor(COLOR_HIGHLIGHT), true));
    // Without the focus the selection is hidden, unless ES_NOHIDESEL.
    SetFocus(FParent);
    wintest::Pump();
    EXPECT_FALSE(AnyPixel(edit, textArea, GetSysColor(COLOR_HIGHLIGHT), true));
}

// The balloon is a real tooltip below the edit, its stem at the caret; it goes on the next key, click or
// focus loss, or by itself after its time.
TEST_F(EditTest, BalloonTipShownAndHidden) {
    enum class Ends { Key, Click, FocusLoss, Timeout };
    struct Case {
        const char* name;
        Ends ends;
    };
    const Case cases[] = {{"key", Ends::Key},
                          {"click", Ends::Click},
                          {"focus loss", Ends::FocusLoss},
                          {"timeout", Ends::Timeout}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND edit = Edit(ES_AUTOHSCROLL, u"12345");
        HWND other = Edit(ES_AUTOHSCROLL, u"", RECT{10, 100, 210, 130});
        SetFocus(edit);
        EDITBALLOONTIP tip{sizeof(EDITBALLOONTIP), u"Invalid entry", u"Type a number", TTI_ERROR};
        ASSERT_EQ(SendMessageW(edit, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip)), TRUE);
        HWND balloon = FindWindowW(TOOLTIPS_CLASSW, nullptr);
        ASSERT_NE(balloon, nullptr);
        EXPECT_TRUE(IsWindowVisible(balloon));
        EXPECT_TRUE(GetWindowLongW(balloon, GWL_STYLE) & TTS_BALLOON);
        Char text[80] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = edit;
        tool.uId = reinterpret_cast<UINT_PTR>(edit);
        tool.lpszText = text;
        SendMessageW(balloon, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(String(text), u"Type a number");
        RECT editRect;
        RECT balloonRect;
        GetWindowRect(edit, &editRect);
        GetWindowRect(balloon, &balloonRect);
        RECT client;
        GetClientRect(edit, &client);
        POINT bottom{0, client.bottom};
        ClientToScreen(edit, &bottom);
        EXPECT_EQ(balloonRect.top, bottom.y);
        EXPECT_LT(balloonRect.left, editRect.right);

        switch (c.ends) {
        case Ends::Key:
            Press(VK_RIGHT);
            break;
        case Ends::Click:
            Click(edit, 5, 5);
            break;
        case Ends::FocusLoss:
            SetFocus(other);
            break;
        case Ends::Timeout:
            Clock::Advance(9999);
            wintest::Pump();
            EXPECT_TRUE(IsWindowVisible(balloon));
            Clock::Advance(1);
            wintest::Pump();
            break;
        }
        EXPECT_FALSE(IsWindowVisible(balloon));
        EXPECT_EQ(SendMessageW(edit, EM_HIDEBALLOONTIP, 0, 0), FALSE);
        // The balloon goes with its edit.
        DestroyWindow(edit);
        EXPECT_FALSE(IsWindow(balloon));
        DestroyWindow(other);
    }
}

// EM_SCROLL moves a multi-line edit as its scroll bar would and answers the lines moved with TRUE in the
// high word; EM_GETTHUMB follows.
TEST_F(EditTest, ScrollByLinesAndPages) {
    String text;
    for (int i = 0; i < 30; ++i)
        text += u"line\r\n";
    HWND edit = Edit(ES_MULTILINE | WS_VSCROLL, text.c_str(), RECT{10, 10, 210, 110});
    int visible = 0;
    {
        RECT rect;
        SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
        HDC dc = GetDC(edit);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        ReleaseDC(edit, dc);
        visible = (rect.bottom - rect.top) / tm.tmHeight;
    }
    ASSERT_GT(visible, 1);
    struct Step {
        WORD code;
        int moved;
    };
    const Step steps[] = {
        {SB_LINEDOWN, 1}, {SB_PAGEDOWN, visible}, {SB_LINEUP, -1}, {SB_PAGEUP, -visible}, {SB_LINEUP, 0}};
    int first = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.code);
        LRESULT answer = SendMessageW(edit, EM_SCROLL, step.code, 0);
        EXPECT_EQ(HIWORD(answer), TRUE);
        EXPECT_EQ(static_cast<short>(LOWORD(answer)), step.moved);
        first += step.moved;
        EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), first);
        EXPECT_EQ(SendMessageW(edit, EM_GETTHUMB, 0, 0), first);
    }
    EXPECT_EQ(SendMessageW(edit, EM_SCROLL, SB_THUMBTRACK, 0), FALSE);
    HWND single = Edit(ES_AUTOHSCROLL, u"one line", RECT{10, 120, 210, 150});
    EXPECT_EQ(SendMessageW(single, EM_SCROLL, SB_LINEDOWN, 0), FALSE);
}

} // namespace

namespace {

// A multi-line edit made with a vertical bar keeps it: disabled while the text fits, enabled when it does
// not, disabled again when it fits once more. The client area never changes width.
TEST_F(EditTest, VerticalBarStaysShownAndDisablesWhileTheTextFits) {
    HWND edit = Edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, u"one line", RECT{10, 10, 210, 110});
    RECT client{};
    GetClientRect(edit, &client);
    const int width = client.right;
    auto state = [&](const char* when) {
        SCOPED_TRACE(when);
        wintest::Pump();
        EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL);
        GetClientRect(edit, &client);
        EXPECT_EQ(client.right, width);
        // Disabling both arrows changes nothing on a bar that is disabled already.
        bool disabled = !EnableScrollBar(edit, SB_VERT, ESB_DISABLE_BOTH);
        if (!disabled)
            EnableScrollBar(edit, SB_VERT, ESB_ENABLE_BOTH);
        return disabled;
    };
    EXPECT_LE(width, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(state("the text fits"));
    String text;
    for (int i = 0; i < 30; ++i)
        text += u"line\r\n";
    SetWindowTextW(edit, text.c_str());
    EXPECT_FALSE(state("the text is longer than the edit"));
    SetWindowTextW(edit, u"short again");
    EXPECT_TRUE(state("the text fits again"));
}

} // namespace
