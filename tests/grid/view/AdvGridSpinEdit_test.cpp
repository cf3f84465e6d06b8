// Tests of the grid's spin in-place editor driven through the real input path: F2 brings it up over the
// cell with the cell's value and the range the application sets, keys and buttons step it, Enter commits
// through validation and the typed setters, Escape and a refused validation keep the cell's text.
#include <string>
#include <vector>

#include "tests/grid/view/GridEditTesting.h"

#include "grid/view/AdvGridEditors.h"
#include "platform/win32/winctrl.h"

namespace {

using namespace gridedit_fixtures;

std::string Narrow(const String& text) {
    return std::string(text.begin(), text.end());
}

class SpinEditTest : public EditTest {
protected:
    void SetUp() override {
        EditTest::SetUp();
        FormatSettings.DecimalSeparator = u'.';
        FormatSettings.ThousandSeparator = u',';
        FormatSettings.DateSeparator = u'/';
        FormatSettings.ShortDateFormat = u"dd/mm/yyyy";
        FormatSettings.TimeSeparator = u':';
        FormatSettings.LongTimeFormat = u"hh:nn:ss";
    }
    void TearDown() override {
        grid->OnSpinClick = nullptr;
        grid->OnFloatSpinClick = nullptr;
        grid->OnDateSpinClick = nullptr;
        grid->OnTimeSpinClick = nullptr;
        EditTest::TearDown();
    }
    // Every cell of the grid edits with kind.
    void UseKind(TEditorType kind) {
        grid->OnGetEditorType = [kind](TObject*, Integer, Integer, TEditorType& editor) { editor = kind; };
    }
    TGridSpin* Spin() { return grid->SpinEdit(); }
    bool SpinShown() { return Spin()->Visible() && Spin()->Enabled(); }
    bool SpinFocused() { return Spin()->HandleAllocated() && GetFocus() == Spin()->WindowHandle(); }
    // A left click in the middle of one of the spin buttons.
    void ClickButton(TControl* button) {
        const TPoint at = button->ClientToScreen(TPoint(button->Width() / 2, button->Height() / 2));
        win32::input::MouseMove(at.X, at.Y);
        win32::input::MouseButton(win32::input::Button::Left, true, at.X, at.Y);
        win32::input::MouseButton(win32::input::Button::Left, false, at.X, at.Y);
        Pump();
    }
};

TEST_F(SpinEditTest, F2ShowsTheSpinEditorOverTheCellWithItsValueInTheApplicationsRange) {
    UseKind(edSpinEdit);
    grid->OnGetEditorProp = [this](TObject*, Integer, Integer, TEditLink*) {
        Spin()->SetMinValue(10);
        Spin()->SetMaxValue(50);
        Spin()->SetIncrement(5);
    };
    grid->SetCells(2, 3, u"42");
    EditAt(2, 3);
    ASSERT_TRUE(SpinShown());
    EXPECT_TRUE(SpinFocused());
    EXPECT_FALSE(EditorShown()) << "the default text editor stays hidden";
    EXPECT_TRUE(grid->EditMode());
    const TRect cell = grid->CellRect(2, 3);
    EXPECT_EQ(Spin()->Left(), cell.Left);
    EXPECT_EQ(Spin()->Top(), cell.Top);
    EXPECT_EQ(Spin()->Width(), cell.Right - cell.Left - 1);
    EXPECT_EQ(Spin()->SpinType(), sptNormal);
    EXPECT_EQ(Spin()->Text(), u"42");

    Press(VK_UP);
    EXPECT_EQ(Spin()->Text(), u"47");
    Press(VK_UP);
    EXPECT_EQ(Spin()->Text(), u"50") << "the range holds the step";
    EXPECT_EQ(grid->Cells(2, 3), u"42") << "stepping writes nothing yet";

    // A cell value outside the range opens clamped.
    Press(VK_ESCAPE);
    grid->SetCells(2, 4, u"3");
    EditAt(2, 4);
    EXPECT_EQ(Spin()->Text(), u"10");
    Press(VK_ESCAPE);
}

TEST_F(SpinEditTest, ATypedDigitOpensTheEditorAndReplacesTheValue) {
    UseKind(edSpinEdit);
    grid->SetCells(2, 2, u"3");
    grid->SetCol(2);
    grid->SetRow(2);
    Type(u"7");
    ASSERT_TRUE(SpinShown());
    EXPECT_EQ(Spin()->Text(), u"7");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(2, 2), u"7");
}

TEST_F(SpinEditTest, EachSpinKindStepsItsValueAndEnterWritesItBack) {
    struct Case {
        const char* name;
        TEditorType kind;
        const char16_t* cell;
        TAsgSpinType type;
        const char16_t* shown;   // the editor's text when it opens
        const char16_t* stepped; // after one Up
        const char16_t* written; // the cell after Enter
    };
    const Case cases[] = {
        {"integer", edSpinEdit, u"7", sptNormal, u"7", u"8", u"8"},
        {"a text that is no integer starts at 0", edSpinEdit, u"abc", sptNormal, u"0", u"1", u"1"},
        {"float, written in the float format", edFloatSpinEdit, u"1.5", sptFloat, u"1.5", u"1.6", u"1.60"},
        {"float with thousands", edFloatSpinEdit, u"1,234.5", sptFloat, u"1234.5", u"1234.6", u"1234.60"},
        {"time, hours under the caret", edTimeSpinEdit, u"10:30:00", sptTime, u"10:30:00", u"11:30:00",
         u"11:30:00"},
        {"date, day under the caret", edDateSpinEdit, u"15/03/2024", sptDate, u"15/03/2024", u"16/03/2024",
         u"16/03/2024"},
    };
    grid->OnGetEditorProp = [this](TObject*, Integer, Integer, TEditLink*) { Spin()->SetMaxFloatValue(1e6); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseKind(c.kind);
        grid->SetCells(3, 2, c.cell);
        EditAt(3, 2);
        ASSERT_TRUE(SpinShown());
        EXPECT_EQ(Spin()->SpinType(), c.type);
        EXPECT_EQ(Spin()->Text(), c.shown);
        Spin()->SetSelStart(0);
        Press(VK_UP);
        EXPECT_EQ(Spin()->Text(), c.stepped);
        Press(VK_RETURN);
        EXPECT_FALSE(SpinShown());
        EXPECT_FALSE(grid->EditMode());
        EXPECT_EQ(grid->Cells(3, 2), c.written);
        EXPECT_EQ(GetFocus(), grid->WindowHandle());
    }
}

TEST_F(SpinEditTest, EnterFiresTheEventsOfOneEditInOrder) {
    std::vector<std::string> events;
    grid->OnGetEditorType = [&](TObject*, Integer col, Integer row, TEditorType& kind) {
        kind = edSpinEdit;
        events.push_back("GetEditorType " + std::to_string(col) + "," + std::to_string(row));
    };
    grid->OnGetEditorProp = [&](TObject*, Integer col, Integer row, TEditLink*) {
        events.push_back("GetEditorProp " + std::to_string(col) + "," + std::to_string(row));
    };
    grid->OnEditChange = [&](TObject*, Integer, Integer, const String& value) {
        events.push_back("EditChange " + Narrow(value));
    };
    grid->OnSpinClick = [&](TObject*, Integer col, Integer row, Integer value, bool up) {
        events.push_back("SpinClick " + std::to_string(col) + "," + std::to_string(row) + " " +
                         std::to_string(value) + (up ? " up" : " down"));
    };
    grid->OnCellValidate = [&](TObject*, Integer col, Integer row, String& value, bool&) {
        events.push_back("CellValidate " + std::to_string(col) + "," + std::to_string(row) + " " +
                         Narrow(value));
    };
    grid->OnEditingDone = [&](TObject*) { events.push_back("EditingDone"); };
    grid->OnEditCellDone = [&](TObject*, Integer col, Integer row) {
        events.push_back("EditCellDone " + std::to_string(col) + "," + std::to_string(row));
    };
    grid->SetCells(2, 3, u"5");
    grid->SetCol(2);
    grid->SetRow(3);
    events.clear();
    Press(VK_F2);
    ClickButton(Spin()->Button()->UpButton());
    ClickButton(Spin()->Button()->UpButton());
    ClickButton(Spin()->Button()->DownButton());
    Press(VK_RETURN);
    const std::vector<std::string> expected{
        "GetEditorType 2,3",  "GetEditorProp 2,3",  "EditChange 6",     "SpinClick 2,3 6 up",
        "EditChange 7",       "SpinClick 2,3 7 up", "EditChange 6",     "SpinClick 2,3 6 down",
        "CellValidate 2,3 6", "EditingDone",        "EditCellDone 2,3",
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(grid->Cells(2, 3), u"6");
}

TEST_F(SpinEditTest, EndAndHomeSetTheRangesEndsAndReportADownStep) {
    UseKind(edSpinEdit);
    std::vector<std::pair<Integer, bool>> clicks;
    grid->OnSpinClick = [&](TObject*, Integer, Integer, Integer value, bool up) {
        clicks.emplace_back(value, up);
    };
    grid->SetCells(2, 2, u"40");
    EditAt(2, 2);
    Press(VK_HOME);
    EXPECT_EQ(Spin()->Text(), u"100");
    Press(VK_END);
    EXPECT_EQ(Spin()->Text(), u"0");
    EXPECT_EQ(clicks, (std::vector<std::pair<Integer, bool>>{{100, false}, {0, false}}));
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(2, 2), u"0");
}

TEST_F(SpinEditTest, EscapeEndsTheEditAndLeavesTheCellAsItWas) {
    struct Case {
        const char* name;
        TEditorType kind;
        const char16_t* cell;
    };
    const Case cases[] = {
        {"an empty integer cell does not become 0", edSpinEdit, u""},
        {"a float keeps its own form", edFloatSpinEdit, u"1.50"},
        {"a date keeps its own form", edDateSpinEdit, u"1/2/2024"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseKind(c.kind);
        std::vector<std::string> set;
        grid->OnSetEditText = [&](TObject*, Integer, Integer, const String& value) {
            set.push_back(Narrow(value));
        };
        grid->SetCells(2, 2, c.cell);
        EditAt(2, 2);
        ASSERT_TRUE(SpinShown());
        Press(VK_UP);
        Press(VK_ESCAPE);
        EXPECT_FALSE(SpinShown());
        EXPECT_FALSE(grid->EditMode());
        EXPECT_EQ(grid->Cells(2, 2), c.cell);
        EXPECT_TRUE(set.empty());
        EXPECT_EQ(GetFocus(), grid->WindowHandle());
        // Ending the edit a second time writes the hidden editor's value nowhere.
        grid->SetCells(2, 2, u"other");
        grid->HideCellEdit();
        EXPECT_EQ(grid->Cells(2, 2), u"other");
        grid->OnSetEditText = nullptr;
    }
}

TEST_F(SpinEditTest, ARefusedValueKeepsTheEditorOpenOnTheCellsText) {
    UseKind(edSpinEdit);
    std::vector<std::string> validated;
    grid->OnCellValidate = [&](TObject*, Integer, Integer, String& value, bool& valid) {
        validated.push_back(Narrow(value));
        valid = StrToInt(value) <= 20;
    };
    grid->SetInvalidEntryTitle(u"Invalid");
    grid->SetInvalidEntryText(u"At most 20");
    grid->SetCells(2, 2, u"19");
    EditAt(2, 2);
    std::vector<std::string> balloons;
    TWndMethod own = Spin()->WindowProc;
    Spin()->WindowProc = [&](TMessage& message) {
        if (message.Msg == EM_SHOWBALLOONTIP) {
            const auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(message.LParam);
            balloons.push_back(Narrow(reinterpret_cast<const Char*>(tip->pszText)));
        }
        own(message);
    };
    Press(VK_UP);
    Press(VK_UP);
    Press(VK_RETURN);
    Spin()->WindowProc = own;
    EXPECT_EQ(balloons, (std::vector<std::string>{"At most 20"})) << "the tip points at the spin editor";
    EXPECT_TRUE(SpinShown());
    EXPECT_TRUE(SpinFocused());
    EXPECT_TRUE(grid->EditMode());
    EXPECT_EQ(Spin()->Text(), u"19");
    EXPECT_EQ(Spin()->SelStart(), 2) << "the caret waits at the end";
    EXPECT_EQ(grid->Cells(2, 2), u"19");
    EXPECT_EQ(grid->Row(), 2);

    Press(VK_UP);
    Press(VK_RETURN);
    EXPECT_FALSE(SpinShown());
    EXPECT_EQ(grid->Cells(2, 2), u"20");
    EXPECT_EQ(validated, (std::vector<std::string>{"21", "20"}));
}

TEST_F(SpinEditTest, LeavingForAnotherControlStoresTheClampedValue) {
    UseKind(edSpinEdit);
    std::vector<std::string> events;
    grid->OnEditingDone = [&](TObject*) { events.push_back("EditingDone"); };
    grid->SetCells(2, 2, u"5");
    EditAt(2, 2);
    // Typed over the selected text: 150 is beyond the default range of 0 to 100.
    Type(u"150");
    EXPECT_EQ(Spin()->Text(), u"150");
    other->SetFocus();
    Pump();
    EXPECT_FALSE(SpinShown());
    EXPECT_FALSE(grid->EditMode());
    EXPECT_EQ(grid->Cells(2, 2), u"100");
    EXPECT_EQ(events, (std::vector<std::string>{"EditingDone"}));
}

TEST_F(SpinEditTest, AnEmptyFloatWithAllowEmptyValueEmptiesTheCell) {
    UseKind(edFloatSpinEdit);
    grid->OnGetEditorProp = [this](TObject*, Integer, Integer, TEditLink*) {
        Spin()->SetAllowEmptyValue(true);
    };
    grid->SetCells(2, 2, u"2.5");
    EditAt(2, 2);
    Press(VK_BACK);
    EXPECT_EQ(Spin()->Text(), u"");
    Press(VK_RETURN);
    EXPECT_EQ(grid->Cells(2, 2), u"");
}

TEST_F(SpinEditTest, TheCellFollowsTheSpinEditorWithShowEditProcess) {
    UseKind(edSpinEdit);
    grid->SetShowEditProcess(true);
    // A text edit first leaves the default editor behind with text of its own.
    grid->OnGetEditorType = [](TObject*, Integer col, Integer, TEditorType& kind) {
        kind = col == 4 ? edNormal : edSpinEdit;
    };
    grid->SetCells(4, 2, u"text");
    EditAt(4, 2);
    Press(VK_RETURN);
    grid->SetCells(2, 2, u"");
    EditAt(2, 2);
    EXPECT_EQ(grid->Cells(2, 2), u"") << "filling the editor is no change of the cell";
    Type(u"7");
    EXPECT_EQ(grid->Cells(2, 2), u"7");
    Press(VK_ESCAPE);
    EXPECT_EQ(grid->Cells(2, 2), u"") << "Escape gives the cell its text back";
}

} // namespace
