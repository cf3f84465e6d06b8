// Tests of the grid's window procedure through the message dispatch: the wheel and its settings, zoom,
// wheel panning on the manual clock, the registered edit-done message and the combo notifications.
#include <string>
#include <vector>

#include "tests/grid/engine/AdvGridWndProcTesting.h"

#include "platform/framework/StdCtrls.h"
#include "platform/framework/StdLists.h"

namespace {

using AdvGridWheelTest = WndProcTest;

// ---- The wheel

TEST_F(AdvGridWheelTest, ANotchMovesByTheGridsOwnStepOnly) {
    struct Case {
        const char* name;
        TWheelAction action;
        Integer increment;
        Integer footers;
        Integer row;
        Integer topRow;
        int notches;
        Integer expectedRow;
        Integer expectedTop;
    };
    for (const Case& c : {
             Case{"move down three", waMoveSelection, 0, 0, 1, 1, -1, 4, 1},
             Case{"move up three", waMoveSelection, 0, 0, 10, 1, 1, 7, 1},
             Case{"move up stops at the first data row", waMoveSelection, 0, 0, 2, 1, 1, 1, 1},
             Case{"move down stops above the footer row", waMoveSelection, 0, 1, 97, 88, -1, 98, 88},
             Case{"increment of five", waMoveSelection, 5, 0, 1, 1, -1, 6, 1},
             Case{"scroll down keeps the row", waScroll, 0, 0, 1, 1, -1, 1, 4},
             Case{"scroll up by what is left", waScroll, 0, 0, 5, 2, 1, 5, 1},
             Case{"scroll down stops at the last page", waScroll, 0, 0, 95, 88, -1, 95, 88},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->MouseActions()->SetWheelAction(c.action);
        FGrid->MouseActions()->SetWheelIncrement(c.increment);
        FGrid->SetFixedFooters(c.footers);
        Place(2, c.row, c.topRow);
        ASSERT_EQ(FGrid->TopRow(), c.topRow);
        int wheelEvents = 0;
        FGrid->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++wheelEvents; };
        Wheel(c.notches);
        EXPECT_EQ(FGrid->Row(), c.expectedRow);
        EXPECT_EQ(FGrid->TopRow(), c.expectedTop);
        EXPECT_EQ(FGrid->Col(), 2);
        // The framework hears of the wheel, and the grid's handlers answer there without moving again.
        EXPECT_EQ(wheelEvents, 1);
    }
}

TEST_F(AdvGridWheelTest, RowsThatRefuseTheSelectionArePassedOrKeepTheRow) {
    struct Case {
        const char* name;
        Integer refuseFrom; // rows from here to refuseTo refuse the selection
        Integer refuseTo;
        Integer row;
        int notches;
        Integer expectedRow;
    };
    for (const Case& c : {
             Case{"one refusing row is passed by the shortfall", 4, 4, 1, -1, 7},
             Case{"a refusing block is passed by doubling", 4, 10, 1, -1, 13},
             Case{"upwards alike", 7, 7, 10, 1, 4},
             Case{"every row below refusing keeps the row", 6, 99, 5, -1, 5},
             Case{"every row above refusing keeps the row", 1, 9, 10, 1, 10},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->OnSelectCell = nullptr;
        Place(2, c.row, 1);
        FGrid->OnSelectCell = [&](TObject*, Integer, Integer row, bool& allow) {
            allow = row < c.refuseFrom || row > c.refuseTo;
        };
        Wheel(c.notches);
        EXPECT_EQ(FGrid->Row(), c.expectedRow);
    }
    FGrid->OnSelectCell = nullptr;
}

TEST_F(AdvGridWheelTest, WheelEventsFireOnceWithTheDirection) {
    std::vector<std::string> fired;
    FGrid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { fired.push_back("down"); };
    FGrid->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool&) { fired.push_back("up"); };
    int wheelEvents = 0;
    FGrid->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++wheelEvents; };
    Place(1, 10);
    Wheel(-1);
    Wheel(1);
    EXPECT_EQ(fired, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(wheelEvents, 2);
    // A hook that takes the wheel after a step of the grid's own increment: the grid answers and fires
    // the event itself, and the framework does not hear of it.
    FGrid->hookHandles = true;
    FGrid->MouseActions()->SetWheelIncrement(2);
    Wheel(-1);
    EXPECT_EQ(fired, (std::vector<std::string>{"down", "up", "down"}));
    EXPECT_EQ(wheelEvents, 2);
    EXPECT_EQ(FGrid->Row(), 12);
    // Without an increment nothing answers: the wheel stays consumed.
    FGrid->MouseActions()->SetWheelIncrement(0);
    Wheel(-1);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_EQ(FGrid->Row(), 15);
}

TEST_F(AdvGridWheelTest, DisabledWheelMovesNothingAndStaysFromTheFramework) {
    FGrid->SetEnableWheel(false);
    Place(1, 5);
    int wheelEvents = 0;
    FGrid->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { ++wheelEvents; };
    Wheel(-1);
    Wheel(1);
    EXPECT_EQ(FGrid->Row(), 5);
    EXPECT_EQ(FGrid->TopRow(), 1);
    EXPECT_EQ(wheelEvents, 0);
}

TEST_F(AdvGridWheelTest, MouseOverWheelIgnoresTurnsOutsideTheGrid) {
    FGrid->MouseActions()->SetWheelActive(waMouseOver);
    Place(1, 5);
    Wheel(-1, TPoint(450, 150));
    EXPECT_EQ(FGrid->Row(), 5);
    Wheel(-1, TPoint(399, 299));
    EXPECT_EQ(FGrid->Row(), 8);
    // Focus alone is enough otherwise.
    FGrid->MouseActions()->SetWheelActive(waFocus);
    Wheel(-1, TPoint(450, 150));
    EXPECT_EQ(FGrid->Row(), 11);
}

TEST_F(AdvGridWheelTest, CtrlWheelZoomsByTheLinesPerNotch) {
    int zoomEvents = 0;
    FGrid->OnIntelliZoom = [&](TObject* sender) {
        EXPECT_EQ(sender, FGrid);
        ++zoomEvents;
    };
    Place(1, 5);
    win32::input::Key(VK_CONTROL, true);
    Wheel(-1);
    EXPECT_EQ(FGrid->ZoomFactor(), -3);
    Wheel(1);
    win32::input::Key(VK_CONTROL, false);
    EXPECT_EQ(FGrid->zooms, (std::vector<Integer>{-3, 3}));
    EXPECT_EQ(FGrid->ZoomFactor(), 0);
    EXPECT_EQ(zoomEvents, 2);
    EXPECT_EQ(FGrid->Row(), 5);

    // Without IntelliZoom Ctrl changes nothing: the wheel steps.
    FGrid->SetIntelliZoom(false);
    win32::input::Key(VK_CONTROL, true);
    Wheel(-1);
    win32::input::Key(VK_CONTROL, false);
    EXPECT_EQ(FGrid->zooms.size(), 2u);
    EXPECT_EQ(FGrid->Row(), 8);
}

TEST_F(AdvGridWheelTest, SelectionChangeIsReportedForAMove) {
    std::vector<TGridRect> reported;
    FGrid->OnSelectionChanged = [&](TObject*, Integer l, Integer t, Integer r, Integer b) {
        reported.push_back(TGridRect{l, t, r, b});
    };
    Place(2, 1);
    Wheel(-1);
    FGrid->MouseActions()->SetWheelAction(waScroll);
    Wheel(-1);
    EXPECT_EQ(reported, (std::vector<TGridRect>{TGridRect{2, 4, 2, 4}}));
}

// ---- Wheel panning

TEST_F(AdvGridWheelTest, PanningCursorsFollowTheMouseOutsideTheDeadZone) {
    struct Case {
        const char* name;
        TIntelliPan pan;
        int dx;
        int dy;
        int cursor;
    };
    RegisterGridResources();
    FGrid->SetIntelliPan(ipBoth);
    const TPoint start(150, 120);
    const TPoint screen = ScreenPoint(start.X, start.Y);
    win32::input::MouseButton(win32::input::Button::Middle, true, screen.X, screen.Y);
    win32::input::MouseButton(win32::input::Button::Middle, false, screen.X, screen.Y);
    Pump();
    ASSERT_TRUE(FGrid->WheelPanning());
    EXPECT_EQ(GetCapture(), FGrid->WindowHandle());
    EXPECT_EQ(GetCursor(), LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(8000)));
    // The marker: its background (the picture's top-left colour) white, its ring and centre black.
    HDC dc = GetDC(FGrid->WindowHandle());
    EXPECT_EQ(GetPixel(dc, start.X, start.Y), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, start.X + 13, start.Y + 1), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, start.X + 13, start.Y + 13), RGB(0, 0, 0));
    ReleaseDC(FGrid->WindowHandle(), dc);
    for (const Case& c : {
             Case{"in the dead zone", ipBoth, 5, -5, 8000},
             Case{"down", ipBoth, 0, 9, 8001},
             Case{"left", ipBoth, -6, 0, 8002},
             Case{"right", ipBoth, 6, 0, 8003},
             Case{"up", ipBoth, 0, -6, 8004},
             Case{"up-right", ipBoth, 6, -6, 8005},
             Case{"up-left", ipBoth, -6, -6, 8006},
             Case{"down-right", ipBoth, 6, 6, 8007},
             Case{"down-left", ipBoth, -6, 6, 8008},
             Case{"vertical only", ipVertical, 6, 6, 8001},
             Case{"horizontal only", ipHorizontal, 6, 6, 8003},
         }) {
        SCOPED_TRACE(c.name);
        const HCURSOR expected = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.cursor));
        ASSERT_NE(expected, nullptr);
        FGrid->SetIntelliPan(c.pan);
        Place(5, 50, 45);
        win32::input::MouseMove(screen.X + c.dx, screen.Y + c.dy);
        Advance(10);
        EXPECT_EQ(GetCursor(), expected);
    }
    // A middle click stops; the capture, the timer and the cursor go back.
    win32::input::MouseButton(win32::input::Button::Middle, true, screen.X, screen.Y);
    Pump();
    EXPECT_FALSE(FGrid->WheelPanning());
    EXPECT_NE(GetCapture(), FGrid->WindowHandle());
    const Integer row = FGrid->Row();
    win32::input::MouseMove(screen.X, screen.Y + 50);
    Advance(50);
    EXPECT_EQ(FGrid->Row(), row);
}

TEST_F(AdvGridWheelTest, PanningStepsOncePerTick) {
    struct Case {
        const char* name;
        TWheelAction action;
        int dx;
        int dy;
        Integer col; // after three ticks
        Integer row;
        Integer leftCol;
        Integer topRow;
    };
    FGrid->SetIntelliPan(ipBoth);
    for (const Case& c : {
             Case{"4 pixels right moves nothing", waMoveSelection, 4, 0, 5, 20, 1, 10},
             Case{"6 pixels right: a column a tick", waMoveSelection, 6, 0, 8, 20, 4, 10},
             Case{"up: a row a tick", waMoveSelection, 0, -6, 5, 17, 1, 10},
             Case{"scroll down: the top row a tick", waScroll, 0, 6, 5, 20, 1, 13},
             Case{"scroll left stops at the first column", waScroll, -6, 0, 5, 20, 1, 10},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->MouseActions()->SetWheelAction(c.action);
        Place(5, 20, 10);
        const TPoint screen = ScreenPoint(150, 120);
        win32::input::MouseMove(screen.X, screen.Y);
        win32::input::MouseButton(win32::input::Button::Middle, true, screen.X, screen.Y);
        win32::input::MouseButton(win32::input::Button::Middle, false, screen.X, screen.Y);
        Pump();
        ASSERT_TRUE(FGrid->WheelPanning());
        win32::input::MouseMove(screen.X + c.dx, screen.Y + c.dy);
        Pump();
        for (int tick = 0; tick < 3; ++tick)
            Advance(10);
        EXPECT_EQ(FGrid->Col(), c.col);
        EXPECT_EQ(FGrid->Row(), c.row);
        EXPECT_EQ(FGrid->LeftCol(), c.leftCol);
        EXPECT_EQ(FGrid->TopRow(), c.topRow);
        // A key stops panning.
        win32::input::PressKey(VK_SHIFT);
        Pump();
        EXPECT_FALSE(FGrid->WheelPanning());
    }
}

TEST_F(AdvGridWheelTest, PanningEndsWithTheWindow) {
    RegisterGridResources();
    FGrid->SetIntelliPan(ipBoth);
    Application->SetShowHint(true);
    const HCURSOR panning = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(8000));
    const TPoint screen = ScreenPoint(150, 120);
    win32::input::Click(win32::input::Button::Middle, screen.X, screen.Y);
    Pump();
    ASSERT_TRUE(FGrid->WheelPanning());
    EXPECT_FALSE(Application->ShowHint());
    EXPECT_EQ(GetCursor(), panning);
    FGrid->SetParent(nullptr);
    Pump();
    EXPECT_FALSE(FGrid->WheelPanning());
    EXPECT_TRUE(Application->ShowHint());
    EXPECT_NE(GetCursor(), panning);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(AdvGridWheelTest, NoPanningWithoutDirections) {
    const TPoint screen = ScreenPoint(150, 120);
    FGrid->SetIntelliPan(ipNone);
    win32::input::Click(win32::input::Button::Middle, screen.X, screen.Y);
    Pump();
    EXPECT_FALSE(FGrid->WheelPanning());
}

// ---- Edit-done message

TEST_F(AdvGridWheelTest, GridEditDoneFiresAfterTheCurrentMessage) {
    std::vector<std::string> fired;
    FGrid->OnEditingDone = [&](TObject*) { fired.push_back("editing done"); };
    FGrid->OnEditCellDone = [&](TObject* sender, Integer col, Integer row) {
        EXPECT_EQ(sender, FGrid);
        fired.push_back("cell done " + std::to_string(col) + "," + std::to_string(row));
    };
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->EditDonePost(3, 7);
    EXPECT_EQ(fired, (std::vector<std::string>{"editing done"}));
    Pump();
    EXPECT_EQ(fired, (std::vector<std::string>{"editing done", "cell done 3,7"}));
    EXPECT_TRUE(FGrid->Options().Contains(goEditing));

    // Editing on double click only ends the edit and switches editing off again.
    FGrid->MouseActions()->SetEditOnDblClickOnly(true);
    Place(2, 3);
    // Selecting the cell took editing off; the double click puts it back.
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->ShowInplaceEdit();
    ASSERT_TRUE(FGrid->EditMode());
    PostMessageW(FGrid->WindowHandle(), WM_GRIDEDITDONE, 2, 3);
    Pump();
    EXPECT_EQ(fired.back(), "cell done 2,3");
    EXPECT_FALSE(FGrid->EditMode());
    EXPECT_FALSE(FGrid->Options().Contains(goEditing));
}

// ---- Combo notifications

// A combo box the application links into a cell.
class TComboLink : public TEditLink {
public:
    explicit TComboLink(TWinControl* control) : TEditLink(nullptr), FControl(control) {}
    TWinControl* GetEditControl() override { return FControl; }

private:
    TWinControl* FControl;
};

struct ComboEvent {
    std::string kind;
    Integer col;
    Integer row;
    Integer index;
    String text;
    TObject* object;
    bool operator==(const ComboEvent&) const = default;
};

class AdvGridComboTest : public WndProcTest {
protected:
    void SetUp() override {
        WndProcTest::SetUp();
        FCombo = FGrid->Inner<TGridCombo>();
        ASSERT_NE(FCombo, nullptr);
        FCombo->HandleNeeded();
        FCombo->Items()->AddObject(u"one", &FFirst);
        FCombo->Items()->AddObject(u"two", &FSecond);
        FGrid->OnComboChange = [this](TObject*, Integer col, Integer row, Integer index, const String& text) {
            events.push_back({"change", col, row, index, text, nullptr});
        };
        FGrid->OnComboObjectChange = [this](TObject*, Integer col, Integer row, Integer index,
                                            const String& text, TObject* object) {
            events.push_back({"object", col, row, index, text, object});
        };
        FGrid->OnComboCloseUp = [this](TObject*, Integer row, Integer col) {
            events.push_back({"closeup", col, row, 0, String(), nullptr});
        };
        FGrid->OnComboDropDown = [this](TObject*, Integer row, Integer col) {
            events.push_back({"dropdown", col, row, 0, String(), nullptr});
        };
        FCombo->OnChange = [this](TObject*) { ++comboChanges; };
        // Column 1 is hidden: stored column 3 shows as column 2.
        FGrid->HideColumn(1);
        Place(2, 4);
    }
    void Notify(HWND from, UINT code) {
        SendMessageW(FGrid->WindowHandle(), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(from));
        Pump();
    }

    TGridCombo* FCombo = nullptr;
    TObject FFirst;
    TObject FSecond;
    std::vector<ComboEvent> events;
    int comboChanges = 0;
};

TEST_F(AdvGridComboTest, PickInTheComboEditorReachesTheGridsEventsAndTheComboOnce) {
    FGrid->SetEditing(true, edComboList);
    FCombo->SetItemIndex(1);
    Notify(FCombo->WindowHandle(), CBN_SELCHANGE);
    EXPECT_EQ(events, (std::vector<ComboEvent>{{"change", 3, 4, 1, u"two", nullptr},
                                               {"object", 3, 4, 1, u"two", &FSecond}}));
    EXPECT_EQ(comboChanges, 1) << "the combo hears of its own notification once";

    // Outside edit mode the grid's events stay quiet.
    events.clear();
    FGrid->SetEditing(false, edNormal);
    Notify(FCombo->WindowHandle(), CBN_SELCHANGE);
    EXPECT_TRUE(events.empty());
}

TEST_F(AdvGridComboTest, TypingInTheComboReportsItsText) {
    FGrid->SetEditing(true, edComboEdit);
    FCombo->SetItemIndex(-1);
    FCombo->SetText(u"typed");
    events.clear();
    Notify(FCombo->WindowHandle(), CBN_EDITCHANGE);
    // The editor's report at the stored column, then the edit change at the displayed one.
    EXPECT_EQ(events, (std::vector<ComboEvent>{{"change", 3, 4, -1, u"typed", nullptr},
                                               {"object", 3, 4, -1, u"typed", nullptr},
                                               {"change", 2, 4, -1, u"typed", nullptr}}));
}

TEST_F(AdvGridComboTest, CloseUpAndDropDown) {
    FGrid->SetEditing(true, edComboList);
    Notify(FCombo->WindowHandle(), CBN_DROPDOWN);
    FCombo->SetItemIndex(0);
    events.clear();
    Notify(FCombo->WindowHandle(), CBN_CLOSEUP);
    EXPECT_EQ(events, (std::vector<ComboEvent>{{"closeup", 3, 4, 0, String(), nullptr}}));
    EXPECT_TRUE(FGrid->EditMode()) << "a plain close-up leaves the edit open";

    // DirectComboClose takes the pick and ends the edit.
    FGrid->MouseActions()->SetDirectComboClose(true);
    FCombo->SetItemIndex(1);
    events.clear();
    Notify(FCombo->WindowHandle(), CBN_CLOSEUP);
    EXPECT_EQ(events, (std::vector<ComboEvent>{{"change", 3, 4, 1, u"two", nullptr},
                                               {"object", 3, 4, 1, u"two", &FSecond},
                                               {"closeup", 3, 4, 0, String(), nullptr}}));
    EXPECT_EQ(FCombo->Text(), u"two");
    EXPECT_FALSE(FGrid->EditMode());
    EXPECT_EQ(FGrid->EditControl(), edComboEdit);
}

TEST_F(AdvGridComboTest, EditLinkComboItemOfAnyLengthArrivesWhole) {
    auto* linked = new TComboBox(FForm);
    linked->SetParent(FForm);
    linked->SetStyle(csDropDownList);
    const String longItem(600, u'x');
    linked->Items()->Add(u"short");
    linked->Items()->Add(longItem + u"!");
    TComboLink link(linked);
    FGrid->SetEditLink(&link);
    for (Integer pick : {1, 0, -1}) {
        SCOPED_TRACE(pick);
        linked->SetItemIndex(pick);
        events.clear();
        Notify(linked->WindowHandle(), CBN_SELCHANGE);
        const String expected = pick == 1 ? longItem + u"!" : pick == 0 ? u"short" : String();
        EXPECT_EQ(events, (std::vector<ComboEvent>{{"change", 2, 4, pick, expected, nullptr}}));
    }
    FGrid->SetEditLink(nullptr);
}

} // namespace
