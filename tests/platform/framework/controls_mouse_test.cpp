// The mouse: clicks and capture of graphic controls through their parent's window, double clicks,
// the wheel going to the focused control and up to its parents, entering and leaving, and dragging one
// control onto another inside the process, and controls built on a system window class seeing their
// clicks once.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/StdButtons.h"
#include "platform/framework/StdEdit.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"

namespace {

using win32::input::Button;

// Stands between a control and its system window class, counting the left button messages the class gets.
struct ClassClicks {
    WNDPROC classProc = nullptr;
    int downs = 0;
    int ups = 0;
};
ClassClicks ButtonClassClicks;
ClassClicks EditClassClicks;

template <ClassClicks& clicks> LRESULT CountClassClicks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONDOWN)
        ++clicks.downs;
    else if (msg == WM_LBUTTONUP)
        ++clicks.ups;
    return CallWindowProcW(clicks.classProc, hwnd, msg, wParam, lParam);
}

template <class Base, ClassClicks& clicks> class TCounted : public Base {
public:
    using Base::Base;

protected:
    void CreateParams(TCreateParams& params) override {
        Base::CreateParams(params);
        clicks = ClassClicks{params.WindowClass.lpfnWndProc};
        params.WindowClass.lpfnWndProc = &CountClassClicks<clicks>;
    }
};

class ControlsMouse : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 150);
        shape = new TCtlShape(form);
        shape->SetName(u"Shape");
        shape->SetBounds(10, 10, 40, 40);
        shape->SetParent(form);
        panel = new TCtlPanel(form);
        panel->SetName(u"Panel");
        panel->SetBounds(100, 10, 80, 80);
        panel->SetParent(form);
        edit = new TCtlEdit(panel);
        edit->SetName(u"Edit");
        edit->SetBounds(5, 5, 60, 20);
        edit->SetParent(panel);
        form->Show();
        Pump();
    }
    POINT At(TControl* control, int x, int y) {
        TPoint point = control->ClientToScreen(TPoint(x, y));
        return POINT{point.X, point.Y};
    }
    void Click(TControl* control, int x, int y) {
        POINT p = At(control, x, y);
        win32::input::Click(Button::Left, p.x, p.y);
        Pump();
    }

    // What the handlers saw; a member, so that handlers called while the form is freed still find it.
    std::vector<std::string> events;
    TForm* form = nullptr;
    TCtlShape* shape = nullptr;
    TCtlPanel* panel = nullptr;
    TCtlEdit* edit = nullptr;
};

TEST_F(ControlsMouse, AGraphicControlGetsItsMouseThroughItsParent) {
    shape->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int x, int y) {
        events.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," +
                         std::to_string(y));
    };
    shape->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    shape->OnClick = [&](TObject*) { events.push_back("click"); };
    form->OnClick = [&](TObject*) { events.push_back("form click"); };
    Click(shape, 5, 7);
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 5,7", "click", "up 5,7"}));

    // Pressed on the shape and released outside it: the shape keeps the mouse, but it is no click.
    events.clear();
    POINT down = At(shape, 5, 5);
    POINT up = At(shape, 60, 5);
    win32::input::MouseButton(Button::Left, true, down.x, down.y);
    Pump();
    EXPECT_EQ(GetCaptureControl(), shape);
    win32::input::MouseMove(up.x, up.y);
    win32::input::MouseButton(Button::Left, false, up.x, up.y);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"down 0 5,5", "up 60,5"}));
    EXPECT_EQ(GetCaptureControl(), nullptr);

    // Disabled, the shape lets the click through to the form.
    events.clear();
    shape->SetEnabled(false);
    Click(shape, 5, 5);
    EXPECT_EQ(events, (std::vector<std::string>{"form click"}));
}

TEST_F(ControlsMouse, ASystemClassControlSeesEachClickOnceBeforeTheMouseEvents) {
    auto* button = new TCounted<TButton, ButtonClassClicks>(form);
    button->SetBounds(10, 60, 75, 25);
    button->SetParent(form);
    auto* classEdit = new TCounted<TEdit, EditClassClicks>(form);
    classEdit->SetBounds(10, 100, 75, 21);
    classEdit->SetParent(form);
    Pump();
    struct Case {
        const char* name;
        TWinControl* control;
        ClassClicks& clicks;
    };
    for (const Case& c :
         {Case{"button", button, ButtonClassClicks}, Case{"edit", classEdit, EditClassClicks}}) {
        SCOPED_TRACE(c.name);
        events.clear();
        // The counts are globals, so the handlers outlive the loop safely.
        auto seen = [clicks = &c.clicks] {
            return std::to_string(clicks->downs) + "/" + std::to_string(clicks->ups);
        };
        c.control->OnMouseDown = [this, seen](TObject*, TMouseButton, TShiftState, int, int) {
            events.push_back("down " + seen());
        };
        c.control->OnClick = [this](TObject*) { events.push_back("click"); };
        c.control->OnMouseUp = [this, seen](TObject*, TMouseButton, TShiftState, int, int) {
            events.push_back("up " + seen());
        };
        Click(c.control, 5, 5);
        // The class has had the press when OnMouseDown runs, and the release when OnMouseUp runs.
        EXPECT_EQ(events, (std::vector<std::string>{"down 1/0", "click", "up 1/1"}));
        EXPECT_EQ(seen(), "1/1");
        EXPECT_EQ(GetCapture(), nullptr);
        // The class acted on the press: both take the focus.
        EXPECT_TRUE(c.control->Focused());
    }
}

TEST_F(ControlsMouse, DoubleClickComesAfterTheFirstClick) {
    shape->OnClick = [&](TObject*) { events.push_back("click"); };
    shape->OnDblClick = [&](TObject*) { events.push_back("double"); };
    shape->OnMouseDown = [&](TObject*, TMouseButton, TShiftState shift, int, int) {
        events.push_back(shift.Contains(ssDouble) ? "down double" : "down");
    };
    Click(shape, 5, 5);
    Click(shape, 5, 5);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "click", "double", "down double"}));
}

TEST_F(ControlsMouse, TheWheelGoesToTheFocusedControlAndUpItsParents) {
    edit->SetFocus();
    Pump();
    edit->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        events.push_back("edit " + std::to_string(delta));
        handled = delta > 0;
    };
    panel->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& handled) {
        events.push_back("panel down");
        handled = true;
    };
    POINT p = At(shape, 5, 5);
    win32::input::MouseWheel(WHEEL_DELTA, false, p.x, p.y);
    win32::input::MouseWheel(-WHEEL_DELTA, false, p.x, p.y);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"edit 120", "edit -120", "panel down"}));

    // Half notches add up to one.
    events.clear();
    edit->OnMouseWheel = nullptr;
    int ups = 0;
    edit->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
        ++ups;
        handled = true;
    };
    win32::input::MouseWheel(WHEEL_DELTA / 2, false, p.x, p.y);
    Pump();
    EXPECT_EQ(ups, 0);
    win32::input::MouseWheel(WHEEL_DELTA / 2, false, p.x, p.y);
    Pump();
    EXPECT_EQ(ups, 1);
}

TEST_F(ControlsMouse, EnterAndLeaveFollowTheMouse) {
    auto track = [&](TControl* control, const std::string& name) {
        control->OnMouseEnter = [this, name](TObject*) { events.push_back("enter " + name); };
        control->OnMouseLeave = [this, name](TObject*) { events.push_back("leave " + name); };
    };
    track(shape, "shape");
    track(panel, "panel");
    track(edit, "edit");
    auto move = [&](TControl* control, int x, int y) {
        POINT p = At(control, x, y);
        win32::input::MouseMove(p.x, p.y);
        Pump();
    };
    move(shape, 5, 5);
    move(panel, 70, 70);
    move(edit, 5, 5);
    move(form, 60, 120);
    EXPECT_EQ(events, (std::vector<std::string>{"enter shape", "leave shape", "enter panel", "leave panel",
                                                "enter edit", "leave edit"}));
}

TEST_F(ControlsMouse, LeavingTheFormTellsTheControlUnderTheMouse) {
    for (TControl* control : std::initializer_list<TControl*>{shape, edit, form}) {
        control->OnMouseEnter = [this, control](TObject*) {
            events.push_back("enter " + StringToUtf8(control->Name()));
        };
        control->OnMouseLeave = [this, control](TObject*) {
            events.push_back("leave " + StringToUtf8(control->Name()));
        };
    }
    form->SetName(u"Form");
    struct Case {
        const char* name;
        TControl* control;
        std::vector<std::string> expected;
    };
    for (const Case& c : {Case{"graphic child", shape, {"enter Shape", "leave Shape"}},
                          Case{"window child", edit, {"enter Edit", "leave Edit"}},
                          Case{"the form itself", form, {"enter Form", "leave Form"}}}) {
        SCOPED_TRACE(c.name);
        events.clear();
        POINT inside = At(c.control, 2, 2);
        win32::input::MouseMove(inside.x, inside.y);
        Pump();
        // Off every window of the program.
        win32::input::MouseMove(600, 500);
        Pump();
        EXPECT_EQ(events, c.expected);
    }

    // A control freed under the mouse is forgotten: the form, now under the mouse, is entered next.
    events.clear();
    POINT p = At(shape, 2, 2);
    win32::input::MouseMove(p.x, p.y);
    Pump();
    shape->Free();
    shape = nullptr;
    win32::input::MouseMove(p.x + 1, p.y);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"enter Shape", "enter Form"}));
}

TEST_F(ControlsMouse, DraggingAControlOntoAnotherThatAccepts) {
    shape->SetDragMode(dmAutomatic);
    panel->OnDragOver = [&](TObject*, TObject* source, int, int, TDragState state, bool& accept) {
        auto* object = dynamic_cast<TDragControlObject*>(source);
        events.push_back("over " + std::to_string(state) +
                         (object && object->Control() == shape ? " shape" : ""));
        accept = true;
    };
    panel->OnDragDrop = [&](TObject*, TObject*, int x, int y) {
        events.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    };
    shape->OnEndDrag = [&](TObject*, TObject* target, int, int) {
        events.push_back(target == panel ? "end on panel" : "end on nothing");
    };
    POINT from = At(shape, 5, 5);
    POINT over = At(panel, 60, 50);
    POINT to = At(panel, 62, 52);
    win32::input::MouseButton(Button::Left, true, from.x, from.y);
    Pump();
    EXPECT_TRUE(shape->Dragging());
    win32::input::MouseMove(over.x, over.y);
    Pump();
    win32::input::MouseMove(to.x, to.y);
    Pump();
    win32::input::MouseButton(Button::Left, false, to.x, to.y);
    Pump();
    // Each move asks the control under the mouse; the first one there hears it enter as well.
    EXPECT_EQ(events, (std::vector<std::string>{"over 0 shape", "over 2 shape", "over 2 shape", "drop 62,52",
                                                "end on panel"}));
    EXPECT_FALSE(shape->Dragging());

    // Dropped where nothing accepts, the drag ends on nothing and the last target hears it leave.
    events.clear();
    panel->OnDragOver = [&](TObject*, TObject*, int, int, TDragState state, bool& accept) {
        events.push_back("over " + std::to_string(state));
        accept = false;
    };
    win32::input::MouseButton(Button::Left, true, from.x, from.y);
    Pump();
    win32::input::MouseMove(over.x, over.y);
    Pump();
    win32::input::MouseButton(Button::Left, false, over.x, over.y);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"over 0", "over 2", "over 1", "end on nothing"}));
}

} // namespace
