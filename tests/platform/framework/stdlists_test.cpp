// The list box and combo box controls: items with objects kept in the window and across a recreated
// one, selection by code and by the mouse, hit testing, owner drawing, and the combo box's events in
// the order the user causes them.
#include "platform/framework/StdLists.h"

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

using win32::input::Button;

class StdLists : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 300);
        form->Show();
        Pump();
    }
    TListBox* MakeListBox(std::initializer_list<const Char*> items) {
        auto* list = new TListBox(form);
        list->SetName(u"List");
        list->SetBounds(10, 10, 120, 100);
        list->SetParent(form);
        for (const Char* item : items)
            list->Items()->Add(item);
        Pump();
        return list;
    }
    TComboBox* MakeComboBox(int count) {
        auto* combo = new TComboBox(form);
        combo->SetName(u"Combo");
        combo->SetBounds(10, 150, 120, 21);
        combo->SetParent(form);
        for (int i = 0; i < count; ++i)
            combo->Items()->Add(u"item" + IntToStr(i));
        Pump();
        return combo;
    }
    void ClickAt(TControl* control, const TPoint& point) {
        TPoint screen = control->ClientToScreen(point);
        win32::input::Click(Button::Left, screen.X, screen.Y);
        Pump();
    }
    static TPoint Centre(const TRect& rect) {
        return TPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
    }

    std::vector<std::string> events;
    TForm* form = nullptr;
};

TEST_F(StdLists, ItemsKeepTheirObjectsThroughReplaceAndRecreate) {
    TListBox* list = MakeListBox({u"alpha", u"beta", u"gamma"});
    TObject marker;
    list->Items()->SetObjects(1, &marker);
    list->SetItemIndex(1);

    list->Items()->SetStrings(1, u"BETA");
    EXPECT_EQ(list->Items()->Strings(1), u"BETA");
    EXPECT_EQ(list->Items()->Objects(1), &marker) << "replacing a string keeps its object";
    EXPECT_EQ(list->ItemIndex(), 1) << "and the selection";
    EXPECT_EQ(list->Items()->IndexOf(u"Gamma"), 2) << "found ignoring case";
    EXPECT_EQ(list->Items()->IndexOf(u"gam"), -1) << "only whole strings";

    list->SetMultiSelect(true); // a new window
    ASSERT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Strings(2), u"gamma");
    EXPECT_EQ(list->Items()->Objects(1), &marker);
    EXPECT_EQ(GetWindowLongW(list->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL, LBS_EXTENDEDSEL);

    EXPECT_THROW(list->Items()->Strings(3), EStringListError);
    EXPECT_THROW(list->Items()->Delete(-1), EStringListError);
    EXPECT_THROW(list->Items()->Insert(5, u"x"), EStringListError);
    list->Items()->Insert(3, u"last");
    EXPECT_EQ(list->Items()->Strings(3), u"last");

    // A sorted list places new strings by order; the items already there are sorted on recreation.
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->Add(u"Aardvark"), 0);
    EXPECT_EQ(list->Items()->CommaText(), u"Aardvark,alpha,BETA,gamma,last");
    list->Clear();
    EXPECT_EQ(list->Items()->Count(), 0);
}

TEST_F(StdLists, ListBoxSelectionByCodeAndByMouse) {
    TListBox* list = MakeListBox({u"one", u"two", u"three"});
    list->OnClick = [&](TObject*) { events.push_back("click " + std::to_string(list->ItemIndex())); };
    list->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        events.push_back("down " + std::to_string(list->ItemIndex()));
    };

    list->SetItemIndex(2);
    EXPECT_TRUE(list->Selected(2));
    EXPECT_TRUE(events.empty()) << "selecting by code fires nothing";

    ClickAt(list, Centre(list->ItemRect(1)));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"down 1", "click 1"}))
        << "the window selects at the press and notifies at the release";

    events.clear();
    list->SetFocus();
    Pump();
    Press(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"click 2"})) << "the arrow keys select and click";

    list->SetSelected(2, false);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_THROW(list->SetSelected(7, true), EListError);
    EXPECT_THROW(list->Selected(-1), EListError);

    list->SetMultiSelect(true);
    list->SetExtendedSelect(false);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_FALSE(list->Selected(1));
    list->SelectAll();
    EXPECT_EQ(list->SelCount(), 3);
    list->ClearSelection();
    EXPECT_EQ(list->SelCount(), 0);
    EXPECT_THROW(list->SetSelected(3, true), EListError);
}

// A list that closes itself when the user clicks elsewhere: a press anywhere on the form tells the
// focused control, naming the pressed control; a press on the list itself names the list.
class TCancelModeList : public TListBox {
public:
    using TListBox::TListBox;
    std::vector<TControl*> senders;

protected:
    void Dispatch(TMessage& message) override {
        if (message.Msg == CM_CANCELMODE)
            senders.push_back(reinterpret_cast<TControl*>(message.LParam));
        TListBox::Dispatch(message);
    }
};

TEST_F(StdLists, PressElsewhereTellsTheFocusedControlToCancelItsMode) {
    auto* list = new TCancelModeList(form);
    list->SetBounds(10, 10, 120, 100);
    list->SetParent(form);
    list->Items()->Add(u"one");
    TComboBox* combo = MakeComboBox(2);
    list->SetFocus();
    Pump();

    ClickAt(list, TPoint(5, 5));
    ASSERT_EQ(list->senders, std::vector<TControl*>{list});
    win32::input::Click(Button::Right, form->ClientToScreen(TPoint(250, 250)).X,
                        form->ClientToScreen(TPoint(250, 250)).Y);
    Pump();
    EXPECT_EQ(list->senders, (std::vector<TControl*>{list, form}));
    // A press on another list's scroll bar is a press elsewhere too.
    auto* scrolled = new TListBox(form);
    scrolled->SetBounds(150, 10, 100, 60);
    scrolled->SetParent(form);
    for (int i = 0; i < 30; ++i)
        scrolled->Items()->Add(u"item" + IntToStr(i));
    Pump();
    ASSERT_LT(scrolled->ClientWidth(), scrolled->Width() - 4);
    TPoint bar = scrolled->ClientToScreen(TPoint(scrolled->ClientWidth() + 4, scrolled->ClientHeight() / 2));
    win32::input::Click(Button::Left, bar.X, bar.Y);
    Pump();
    EXPECT_EQ(list->senders, (std::vector<TControl*>{list, form, scrolled}));

    combo->SetFocus();
    Pump();
    ClickAt(form, TPoint(250, 250));
    EXPECT_EQ(list->senders.size(), 3u) << "only the focused control hears it";
}

// Sorting makes a new window with the items in another order; the selected item stays selected.
TEST_F(StdLists, SortingKeepsTheSelectedItem) {
    TListBox* list = MakeListBox({u"b", u"c", u"a", u"c"});
    TComboBox* combo = MakeComboBox(0);
    combo->Items()->SetCommaText(u"b,c,a");
    TObject first;
    list->Items()->SetObjects(1, &first); // the first "c"
    list->SetItemIndex(1);
    combo->SetItemIndex(1);

    list->SetSorted(true);
    combo->SetSorted(true);
    EXPECT_EQ(list->Items()->CommaText(), u"a,b,c,c");
    ASSERT_GE(list->ItemIndex(), 0);
    EXPECT_EQ(list->Items()->Objects(list->ItemIndex()), &first);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), u"c");
}

TEST_F(StdLists, ItemAtPosAndItemRect) {
    TListBox* list = MakeListBox({u"a", u"b", u"c"});
    TRect first = list->ItemRect(0);
    int height = first.Height();
    ASSERT_GT(height, 0);
    EXPECT_EQ(list->ItemRect(3).Top, list->ItemRect(2).Bottom) << "one past the end lies below the last";
    EXPECT_EQ(list->ItemRect(3).Height(), height);
    EXPECT_EQ(list->ItemRect(9), TRect());

    struct Case {
        const char* name;
        TPoint pos;
        bool existing;
        int expected;
    };
    const Case cases[] = {
        {"first item", TPoint(5, height / 2), true, 0},
        {"third item", TPoint(5, height * 2 + 1), true, 2},
        {"below the items, existing", TPoint(5, height * 3 + 4), true, -1},
        {"below the items, not existing", TPoint(5, height * 3 + 4), false, 3},
        {"outside the client area", TPoint(-3, 2), false, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list->ItemAtPos(c.pos, c.existing), c.expected) << c.name;

    list->SetTopIndex(1);
    EXPECT_EQ(list->TopIndex(), 0) << "all items fit: nothing to scroll";
    for (int i = 0; i < 20; ++i)
        list->Items()->Add(u"more");
    list->SetTopIndex(1);
    EXPECT_EQ(list->TopIndex(), 1);
    EXPECT_EQ(list->ItemAtPos(TPoint(5, height / 2), true), 1) << "hit testing starts at the top item";
}

TEST_F(StdLists, OwnerDrawnListBoxMeasuresAndDrawsThroughEvents) {
    auto* list = new TListBox(form);
    list->SetBounds(10, 10, 120, 150);
    list->SetStyle(lbOwnerDrawVariable);
    list->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 10 + index * 5; };
    std::vector<std::pair<int, bool>> drawn;
    list->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
        drawn.emplace_back(index, state.Contains(odSelected));
        auto* canvas = static_cast<TListBox*>(control)->Canvas();
        canvas->FillRect(rect);
    };
    list->SetParent(form);
    list->Items()->SetCommaText(u"a,b,c");
    list->SetItemIndex(1);
    Pump();

    EXPECT_EQ(list->ItemRect(0).Height(), 10);
    EXPECT_EQ(list->ItemRect(2).Height(), 20);
    std::vector<std::pair<int, bool>> seen(drawn.begin(), drawn.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(1, true)), seen.end())
        << "the selected item is drawn with odSelected";
    EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_pair(0, false)), seen.end());
}

TEST_F(StdLists, CheckListBoxStatesFollowTheirItems) {
    auto* list = new TCheckListBox(form);
    list->SetBounds(10, 10, 150, 120);
    list->SetParent(form);
    list->Items()->SetCommaText(u"zulu,alpha,mike");
    TObject marker;
    list->Items()->SetObjects(0, &marker);
    int checks = 0;
    list->OnClickCheck = [&](TObject*) { ++checks; };

    list->SetChecked(0, true);
    list->SetState(2, cbGrayed);
    EXPECT_EQ(list->Items()->Objects(0), &marker) << "the state does not disturb the object";
    list->Items()->SetObjects(0, nullptr);
    EXPECT_TRUE(list->Checked(0)) << "nor the object the state";
    list->Items()->SetObjects(0, &marker);
    EXPECT_THROW(list->Checked(3), EListError);
    EXPECT_EQ(checks, 0) << "states set by code fire nothing";

    list->SetSorted(true); // a new window that sorts: alpha, mike, zulu
    EXPECT_EQ(list->Items()->CommaText(), u"alpha,mike,zulu");
    EXPECT_EQ(list->State(0), cbUnchecked);
    EXPECT_EQ(list->State(1), cbGrayed);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(list->Items()->Objects(2), &marker);

    // A click on the box toggles; a click on the text only selects.
    TRect first = list->ItemRect(0);
    ClickAt(list, TPoint(first.Left + 6, (first.Top + first.Bottom) / 2));
    EXPECT_TRUE(list->Checked(0));
    EXPECT_EQ(checks, 1);
    ClickAt(list, TPoint(first.Left + 60, (first.Top + first.Bottom) / 2));
    EXPECT_TRUE(list->Checked(0));
    EXPECT_EQ(list->ItemIndex(), 0);

    // The space bar toggles the selected item; with AllowGrayed it passes through grayed.
    list->SetAllowGrayed(true);
    list->SetFocus();
    Pump();
    Press(VK_SPACE);
    EXPECT_EQ(list->State(0), cbUnchecked);
    Press(VK_SPACE);
    EXPECT_EQ(list->State(0), cbGrayed);
    list->SetItemEnabled(0, false);
    Press(VK_SPACE);
    EXPECT_EQ(list->State(0), cbGrayed) << "a disabled item keeps its state";
    EXPECT_EQ(checks, 3);
}

TEST_F(StdLists, ComboBoxKeepsItsPropertiesInTheWindow) {
    TComboBox* combo = MakeComboBox(3);
    TObject marker;
    combo->Items()->SetObjects(2, &marker);
    combo->SetItemIndex(2);
    EXPECT_EQ(combo->Text(), u"item2") << "choosing an item shows its text";
    combo->SetMaxLength(4);
    combo->SetSelStart(1);
    combo->SetSelLength(2);
    EXPECT_EQ(combo->SelStart(), 1);
    EXPECT_EQ(combo->SelLength(), 2);

    combo->SetStyle(csDropDownList); // a new window
    EXPECT_EQ(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->Items()->Objects(2), &marker);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), u"item2");
    EXPECT_EQ(combo->Items()->IndexOf(u"ITEM1"), 1);
    // A combo box's item outside the list reads empty, where a list box's raises.
    EXPECT_EQ(combo->Items()->Strings(-1), u"");
    EXPECT_EQ(combo->Items()->Strings(3), u"");
    EXPECT_THROW(combo->Items()->Objects(3), EListError);

    combo->Clear();
    EXPECT_EQ(combo->Items()->Count(), 0);
    EXPECT_EQ(combo->ItemIndex(), -1);
}

TEST_F(StdLists, ComboBoxPickWithTheMouseFiresDropDownCloseUpClickSelect) {
    TComboBox* combo = MakeComboBox(20);
    combo->OnDropDown = [&](TObject*) { events.push_back("dropdown"); };
    combo->OnCloseUp = [&](TObject*) { events.push_back("closeup"); };
    combo->OnClick = [&](TObject*) { events.push_back("click " + StringToUtf8(combo->Text())); };
    combo->OnSelect = [&](TObject*) { events.push_back("select"); };
    combo->SetDropDownCount(5);
    int height = combo->Height();

    combo->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(combo->DroppedDown());
    COMBOBOXINFO info{};
    info.cbSize = sizeof(COMBOBOXINFO);
    ASSERT_TRUE(combo->Perform(CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info)));
    RECT listRect{};
    GetWindowRect(info.hwndList, &listRect);
    int itemHeight = combo->ItemHeight();
    EXPECT_EQ(listRect.bottom - listRect.top, itemHeight * 5 + 2) << "the list shows DropDownCount items";
    EXPECT_EQ(combo->Height(), height) << "sizing the list leaves the control's bounds";

    // The third row of the list, in screen coordinates.
    int x = (listRect.left + listRect.right) / 2;
    int y = listRect.top + 1 + itemHeight * 2 + itemHeight / 2;
    win32::input::Click(Button::Left, x, y);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"dropdown", "closeup", "click item2", "select"}));

    // Without OnSelect a pick is a change; a list without a field moves by the arrow keys.
    combo->SetStyle(csDropDownList);
    combo->OnSelect = nullptr;
    combo->OnChange = [&](TObject*) { events.push_back("change"); };
    events.clear();
    combo->SetFocus();
    Pump();
    Press(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(events, (std::vector<std::string>{"click item3", "change"}));
}

// The framework's combo box is its own window class made from COMBOBOX: its field still hands the list
// keys to it, and GetComboBoxInfo still describes it, as an editor that subclasses the field needs.
TEST_F(StdLists, ComboBoxWithAFieldTakesTheListKeysAndDescribesItsParts) {
    TComboBox* combo = MakeComboBox(3);
    COMBOBOXINFO info{};
    info.cbSize = sizeof(COMBOBOXINFO);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    EXPECT_EQ(info.hwndCombo, combo->Handle());
    ASSERT_NE(info.hwndItem, nullptr);
    EXPECT_EQ(GetWindow(combo->Handle(), GW_CHILD), info.hwndItem) << "the field is the combo's first child";

    combo->OnDropDown = [&](TObject*) { events.push_back("dropdown"); };
    combo->OnCloseUp = [&](TObject*) { events.push_back("closeup"); };
    combo->OnSelect = [&](TObject*) { events.push_back("select " + StringToUtf8(combo->Text())); };
    combo->SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), info.hwndItem);
    Press(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 0);
    win32::input::Key(VK_MENU, true);
    win32::input::PressKey(VK_DOWN);
    win32::input::Key(VK_MENU, false);
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"select item0", "dropdown", "select item1", "closeup"}));
}

// The field's keys are the combo box's own: KeyDown, KeyPress and KeyUp see each key once, the keys the
// field hands on to the combo's window included, and a key cleared in OnKeyDown does nothing more.
TEST_F(StdLists, ComboBoxFieldKeysGoThroughTheControlsKeyHandlingOnce) {
    TComboBox* combo = MakeComboBox(3);
    bool swallowDown = false;
    combo->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        events.push_back("down " + std::to_string(key));
        if (swallowDown && key == VK_DOWN)
            key = 0;
    };
    combo->OnKeyPress = [&](TObject*, Char& key) { events.push_back("press " + std::to_string(key)); };
    combo->OnKeyUp = [&](TObject*, Word& key, TShiftState) { events.push_back("up " + std::to_string(key)); };
    combo->SetText(u"ab");
    combo->SetFocus();
    Pump();

    Press(VK_LEFT);
    Press(VK_DOWN);   // handed on to the combo's window, which moves the selection
    Press(VK_RETURN); // handed on as a character
    EXPECT_EQ(events, (std::vector<std::string>{"down 37", "up 37", "down 40", "up 40", "down 13", "press 13",
                                                "up 13"}));
    EXPECT_EQ(combo->ItemIndex(), 0);

    swallowDown = true;
    Press(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 0) << "a cleared key does not reach the field";
}

// A click into the field moves the form's focus to the combo box, with OnEnter, and a click elsewhere
// moves it on, with OnExit.
TEST_F(StdLists, ClickIntoTheFieldEntersTheComboBox) {
    auto* other = new TListBox(form);
    other->SetBounds(10, 10, 100, 60);
    other->SetParent(form);
    TComboBox* combo = MakeComboBox(1);
    combo->OnEnter = [&](TObject*) { events.push_back("enter"); };
    combo->OnExit = [&](TObject*) { events.push_back("exit"); };
    other->SetFocus();
    Pump();

    ClickAt(combo, TPoint(30, combo->Height() / 2));
    EXPECT_EQ(form->ActiveControl(), combo);
    EXPECT_TRUE(combo->Focused());
    ClickAt(other, TPoint(5, 5));
    EXPECT_EQ(form->ActiveControl(), other);
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit"}));
}

// A combo box whose field has the focus is the focused control: a new window for a new style keeps the
// focus, and a wheel turn nobody takes steps the selection in both styles.
TEST_F(StdLists, ComboBoxWithTheFocusInItsFieldIsFocusedAndTakesTheWheel) {
    TComboBox* combo = MakeComboBox(3);
    combo->OnSelect = [&](TObject*) { events.push_back("select " + StringToUtf8(combo->Text())); };
    combo->SetFocus();
    Pump();
    EXPECT_TRUE(combo->Focused());
    TPoint at = combo->ClientToScreen(TPoint(5, 5));
    win32::input::MouseWheel(-WHEEL_DELTA, false, at.X, at.Y);
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 0);

    combo->SetStyle(csDropDownList);
    Pump();
    EXPECT_EQ(GetFocus(), combo->Handle()) << "the new window has the focus";
    win32::input::MouseWheel(-WHEEL_DELTA, false, at.X, at.Y);
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"select item0", "select item1"}));

    events.clear();
    combo->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& handled) { handled = true; };
    win32::input::MouseWheel(-WHEEL_DELTA, false, at.X, at.Y);
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 1) << "a turn the control takes itself does not step";
    EXPECT_TRUE(events.empty());
}

// The mouse over the field is over the combo box: it enters once, moves in the combo's coordinates while
// it goes between the field and the button, and leaves only when it leaves both.
TEST_F(StdLists, ComboBoxFieldIsPartOfTheControlForTheMouse) {
    TComboBox* combo = MakeComboBox(1);
    combo->OnMouseEnter = [&](TObject*) { events.push_back("enter"); };
    combo->OnMouseLeave = [&](TObject*) { events.push_back("leave"); };
    combo->OnMouseMove = [&](TObject*, TShiftState, int x, int) {
        events.push_back("move " + std::to_string(x));
    };
    COMBOBOXINFO info{};
    info.cbSize = sizeof(COMBOBOXINFO);
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    TPoint field(30, combo->Height() / 2);
    TPoint button((info.rcButton.left + info.rcButton.right) / 2, field.Y);
    ASSERT_EQ(ChildWindowFromPoint(combo->Handle(), POINT{field.X, field.Y}), info.hwndItem);
    ASSERT_EQ(ChildWindowFromPoint(combo->Handle(), POINT{button.X, button.Y}), combo->Handle());
    struct Step {
        const char* where;
        TControl* control;
        TPoint point;
        std::vector<std::string> expected;
    };
    const Step steps[] = {
        {"field from outside", combo, field, {"enter", "move 30"}},
        {"button", combo, button, {"move " + std::to_string(button.X)}},
        {"field again", combo, field, {"move 30"}},
        {"outside", form, TPoint(250, 20), {"leave"}},
        {"button from outside", combo, button, {"enter", "move " + std::to_string(button.X)}},
        {"outside again", form, TPoint(250, 20), {"leave"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.where);
        events.clear();
        TPoint screen = step.control->ClientToScreen(step.point);
        win32::input::MouseMove(screen.X, screen.Y);
        Pump();
        EXPECT_EQ(events, step.expected);
    }
}

TEST_F(StdLists, OwnerDrawnComboBoxDrawsItsFieldAndMeasuresItsItems) {
    auto* combo = new TComboBox(form);
    combo->SetBounds(10, 150, 120, 21);
    combo->SetStyle(csOwnerDrawVariable);
    combo->SetItemHeight(18);
    combo->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 20 + index; };
    std::vector<std::pair<int, bool>> drawn; // index, drawn in the field
    combo->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
        drawn.emplace_back(index, state.Contains(odComboBoxEdit));
        static_cast<TComboBox*>(control)->Canvas()->FillRect(rect);
    };
    combo->SetParent(form);
    combo->Items()->SetCommaText(u"a,b,c");
    combo->SetItemIndex(2);
    Pump();

    EXPECT_EQ(combo->Perform(CB_GETITEMHEIGHT, 1, 0), 21) << "each item measured through OnMeasureItem";
    EXPECT_EQ(combo->ItemHeight(), 18);
    EXPECT_EQ(combo->Perform(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 18)
        << "the field is ItemHeight tall";
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(2, true)), drawn.end())
        << "the selected item is drawn in the field";
}

TEST_F(StdLists, ComboBoxTypingFiresOnChange) {
    TComboBox* combo = MakeComboBox(2);
    combo->OnChange = [&](TObject*) { events.push_back("change " + StringToUtf8(combo->Text())); };
    combo->SetFocus();
    Pump();
    win32::input::TypeCharacter(u'x');
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"change x"}));
    combo->SetText(u"set");
    EXPECT_EQ(events.size(), 1u) << "setting the text by code is no change event";
}

// AutoComplete in a combo with a field: each key selects the first item that starts with what was
// typed, keeps the typed letters and selects the completed tail; a key that matches nothing is typed.
TEST_F(StdLists, ComboBoxAutoCompleteCompletesTheFieldFromTheItems) {
    TComboBox* combo = MakeComboBox(0);
    for (const Char* item : {u"Apple", u"Apricot", u"Banana"})
        combo->Items()->Add(item);
    combo->OnSelect = [&](TObject*) { events.push_back("select " + StringToUtf8(combo->Text())); };
    combo->OnChange = [&](TObject*) { events.push_back("change " + StringToUtf8(combo->Text())); };
    combo->SetFocus();
    Pump();
    struct Step {
        Char key;
        const char* text;
        Integer selStart;
        Integer selLength;
        Integer itemIndex;
    };
    const Step steps[] = {
        {u'a', "apple", 1, 4, 0},   {u'p', "apple", 2, 3, 0},
        {u'r', "apricot", 3, 4, 1}, {u'\b', "apr", 3, 0, 1}, // Backspace takes the completed tail away
        {u'x', "aprx", 4, 0, 1},                             // nothing starts with "aprx": the key is typed
    };
    for (const Step& step : steps) {
        win32::input::TypeCharacter(step.key);
        Pump();
        SCOPED_TRACE(step.text);
        EXPECT_EQ(StringToUtf8(combo->Text()), step.text);
        EXPECT_EQ(combo->SelStart(), step.selStart);
        EXPECT_EQ(combo->SelLength(), step.selLength);
        EXPECT_EQ(combo->ItemIndex(), step.itemIndex);
    }
    EXPECT_EQ(events,
              (std::vector<std::string>{"select apple", "select apricot", "change apr", "change aprx"}));

    events.clear();
    combo->SetAutoComplete(false);
    combo->SetText(u"");
    win32::input::TypeCharacter(u'b');
    Pump();
    EXPECT_EQ(StringToUtf8(combo->Text()), "b");
    EXPECT_EQ(events, (std::vector<std::string>{"change b"}));
}

// A drop-down list searches by the keys typed within half a second of each other.
TEST_F(StdLists, ComboBoxDropDownListSearchesByPrefixWithinHalfASecond) {
    TComboBox* combo = MakeComboBox(0);
    combo->SetStyle(csDropDownList);
    for (const Char* item : {u"Apple", u"Banana", u"Blueberry", u"Cherry"})
        combo->Items()->Add(item);
    combo->SetFocus();
    Pump();
    struct Step {
        Char key;
        UInt64 pauseBefore;
        Integer itemIndex;
    };
    const Step steps[] = {
        {u'b', 0, 1},   {u'l', 100, 2}, // "bl"
        {u'x', 100, 2},                 // "blx" matches nothing: the selection stays
        {u'c', 600, 3},                 // after a pause the search starts again
        {u'a', 499, 0}, // "ca" matches nothing: the list's own first-letter search takes the key
        {u'b', 500, 1},
    };
    for (const Step& step : steps) {
        Clock::Advance(step.pauseBefore);
        win32::input::TypeCharacter(step.key);
        Pump();
        EXPECT_EQ(combo->ItemIndex(), step.itemIndex)
            << static_cast<char>(step.key) << " after " << step.pauseBefore;
    }
}

TEST_F(StdLists, DescriptionsCarryTheItemsAndOnlyChangedProperties) {
    TListBox* list = MakeListBox({u"first", u"second"});
    list->SetMultiSelect(true);
    TComboBox* combo = MakeComboBox(2);
    combo->SetStyle(csDropDownList);
    combo->SetDropDownCount(12);

    auto describe = [](TComponent* component) {
        TMemoryStream binary;
        WriteComponent(binary, component);
        binary.SetPosition(0);
        TStringStream text(u"");
        ObjectBinaryToText(binary, text);
        return text.DataString();
    };
    String listText = describe(list);
    EXPECT_NE(listText.find(u"MultiSelect = True"), String::npos) << StringToUtf8(listText);
    EXPECT_NE(listText.find(u"'second'"), String::npos);
    for (const Char* unchanged : {u"ExtendedSelect", u"TabStop", u"ParentColor", u"Sorted", u"ItemHeight"})
        EXPECT_EQ(listText.find(unchanged), String::npos) << StringToUtf8(unchanged);
    String comboText = describe(combo);
    EXPECT_NE(comboText.find(u"Style = csDropDownList"), String::npos) << StringToUtf8(comboText);
    EXPECT_NE(comboText.find(u"DropDownCount = 12"), String::npos);

    TMemoryStream binary;
    WriteComponent(binary, list);
    binary.SetPosition(0);
    list->SetName(u"Original");
    auto* copy = new TListBox(form);
    copy->SetParent(form);
    ReadComponent(binary, copy);
    EXPECT_TRUE(copy->MultiSelect());
    EXPECT_EQ(copy->Items()->CommaText(), u"first,second");

    // The item index is written before the items; it still picks its item.
    combo->SetItemIndex(1);
    binary.Clear();
    WriteComponent(binary, combo);
    binary.SetPosition(0);
    combo->SetName(u"OriginalCombo");
    auto* comboCopy = new TComboBox(form);
    comboCopy->SetParent(form);
    ReadComponent(binary, comboCopy);
    EXPECT_EQ(comboCopy->Style(), csDropDownList);
    EXPECT_EQ(comboCopy->ItemIndex(), 1);
    EXPECT_EQ(comboCopy->Text(), u"item1");
}

} // namespace
