// Dragging inside the process: the threshold before a drag starts, what the controls under the mouse
// hear, ending with a drop, on nothing, with Escape or by losing the mouse, the drag cursor, drag objects
// the source makes itself, the drag image, and a target freed while the drag passes over it.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/ImgList.h"
#include "platform/win32/wininput.h"

namespace {

using win32::input::Button;

// A shape that offers a 16 x 16 drag image with its hot spot at (4, 4).
class TImageShape : public TCtlShape {
public:
    explicit TImageShape(TComponent* owner) : TCtlShape(owner), FImages(16, 16) {
        TBitmap bitmap;
        bitmap.SetSize(16, 16);
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect(Rect(0, 0, 16, 16));
        FImages.Add(&bitmap, nullptr);
        FImages.SetDragImage(0, 4, 4);
    }
    TDragImageList* GetDragImages() override { return &FImages; }

private:
    TDragImageList FImages;
};

class ControlsDrag : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Mouse()->SetDragImmediate(true);
        Mouse()->SetDragThreshold(5);
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 150);
        shape = new TImageShape(form);
        shape->SetBounds(10, 10, 40, 40);
        shape->SetParent(form);
        panel = new TCtlPanel(form);
        panel->SetBounds(100, 10, 80, 80);
        panel->SetParent(form);
        panel->OnDragOver = [this](TObject*, TObject*, int x, int y, TDragState state, bool& accept) {
            const char* names[] = {"enter", "leave", "move"};
            events.push_back(std::string("over ") + names[state] + " " + std::to_string(x) + "," +
                             std::to_string(y));
            accept = accepts;
        };
        panel->OnDragDrop = [this](TObject*, TObject*, int x, int y) {
            events.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
        };
        shape->OnEndDrag = [this](TObject*, TObject* target, int x, int y) {
            events.push_back(std::string("end ") +
                             (target == nullptr ? "nothing "
                              : target == panel ? "panel "
                                                : "? ") +
                             std::to_string(x) + "," + std::to_string(y));
        };
        form->Show();
        Pump();
    }
    void TearDown() override {
        CancelDrag();
        Mouse()->SetDragImmediate(true);
        Mouse()->SetDragThreshold(5);
        ControlsTest::TearDown();
    }
    POINT At(TControl* control, int x, int y) {
        TPoint point = control->ClientToScreen(TPoint(x, y));
        return POINT{point.X, point.Y};
    }
    void Down(TControl* control, int x, int y) {
        POINT p = At(control, x, y);
        win32::input::MouseButton(Button::Left, true, p.x, p.y);
        Pump();
    }
    void Move(TControl* control, int x, int y) {
        POINT p = At(control, x, y);
        win32::input::MouseMove(p.x, p.y);
        Pump();
    }
    void Up(TControl* control, int x, int y) {
        POINT p = At(control, x, y);
        win32::input::MouseButton(Button::Left, false, p.x, p.y);
        Pump();
    }

    std::vector<std::string> events;
    bool accepts = true;
    TForm* form = nullptr;
    TImageShape* shape = nullptr;
    TCtlPanel* panel = nullptr;
};

TEST_F(ControlsDrag, ADragThatWaitsForTheThresholdStartsOnlyOnceTheMouseHasMovedFarEnough) {
    Mouse()->SetDragImmediate(false);
    shape->SetDragMode(dmAutomatic);
    int clicks = 0;
    shape->OnClick = [&](TObject*) { ++clicks; };
    int starts = 0;
    shape->OnStartDrag = [&](TObject*, TDragObject*&) { ++starts; };

    // A press and release without moving: the drag began and ended on nothing; no click.
    Down(shape, 5, 5);
    EXPECT_TRUE(shape->Dragging());
    Up(shape, 5, 5);
    EXPECT_FALSE(shape->Dragging());
    EXPECT_EQ(events, (std::vector<std::string>{"end nothing 0,0"}));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(GetCapture(), nullptr);

    // Short of the threshold nothing hears of the drag, even over a target; past it, the target does.
    events.clear();
    Down(panel, -55, 5);
    Move(panel, -51, 9);
    EXPECT_TRUE(events.empty());
    Move(panel, 10, 20);
    Up(panel, 10, 20);
    EXPECT_EQ(events, (std::vector<std::string>{"over enter 10,20", "over move 10,20", "drop 10,20",
                                                "end panel 10,20"}));
}

TEST_F(ControlsDrag, EscapeOrLosingTheMouseCancelsTheDrag) {
    shape->SetDragMode(dmAutomatic);
    struct Case {
        const char* name;
        std::function<void()> cancel;
    };
    for (const Case& c : {Case{"escape", [] { Press(VK_ESCAPE); }},
                          Case{"capture taken",
                               [this] {
                                   SetCapture(panel->Handle());
                                   Pump();
                                   ReleaseCapture();
                               }},
                          Case{"cancel mode", [this] {
                                   SendMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
                                   Pump();
                               }}}) {
        SCOPED_TRACE(c.name);
        events.clear();
        Down(shape, 5, 5);
        Move(panel, 10, 10);
        events.clear();
        c.cancel();
        EXPECT_FALSE(shape->Dragging());
        EXPECT_EQ(DragObject(), nullptr);
        // The target hears the drag leave; the source hears it ended on nothing.
        EXPECT_EQ(events, (std::vector<std::string>{"over leave 10,10", "end nothing 0,0"}));
        // The release that follows is an ordinary one.
        events.clear();
        Up(panel, 10, 10);
        EXPECT_TRUE(events.empty());
    }
}

TEST_F(ControlsDrag, TheCursorShowsWhetherTheTargetAccepts) {
    shape->SetDragMode(dmAutomatic);
    shape->SetDragCursor(crHandPoint);
    Down(shape, 5, 5);
    Move(form, 80, 120);
    EXPECT_EQ(GetCursor(), Screen()->Cursors(crNoDrop));
    Move(panel, 10, 10);
    EXPECT_EQ(GetCursor(), Screen()->Cursors(crHandPoint));
    accepts = false;
    Move(panel, 12, 12);
    EXPECT_EQ(GetCursor(), Screen()->Cursors(crNoDrop));
    // Dropped where the target refuses, nothing is dropped.
    events.clear();
    Up(panel, 12, 12);
    EXPECT_EQ(events, (std::vector<std::string>{"over leave 12,12", "end nothing 0,0"}));
}

TEST_F(ControlsDrag, ADragObjectFromOnStartDragTravelsToTheTargetAndStaysTheSourcesOwn) {
    TDragControlObject own(shape);
    shape->OnStartDrag = [&](TObject*, TDragObject*& object) { object = &own; };
    TObject* dropped = nullptr;
    panel->OnDragDrop = [&](TObject*, TObject* source, int, int) { dropped = source; };
    // Started by hand from the press, as a program does in OnMouseDown.
    shape->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { shape->BeginDrag(true); };
    Down(shape, 5, 5);
    EXPECT_EQ(DragObject(), &own);
    Move(panel, 30, 30);
    EXPECT_EQ(own.DragTarget(), panel);
    EXPECT_EQ(own.DragTargetPos(), TPoint(30, 30));
    Up(panel, 30, 30);
    EXPECT_EQ(dropped, &own);
    EXPECT_TRUE(own.Dropped());
    EXPECT_EQ(events.back(), "end panel 30,30");
}

TEST_F(ControlsDrag, TheDragImageFollowsTheMouseOverControlsThatShowIt) {
    shape->SetDragMode(dmAutomatic);
    TDragImageList* images = shape->GetDragImages();
    Down(shape, 5, 5);
    // Over the form, which does not ask for drag images, no image shows.
    Move(form, 80, 120);
    EXPECT_FALSE(images->Dragging());

    panel->SetControlStyle(panel->ControlStyle() + TControlStyle{csDisplayDragImage});
    Move(panel, 20, 30);
    ASSERT_TRUE(images->Dragging());
    HWND image = images->ImageWindow();
    EXPECT_TRUE(IsWindowVisible(image));
    RECT rect;
    GetWindowRect(image, &rect);
    POINT hotSpot = At(panel, 20, 30);
    EXPECT_EQ(rect.left, hotSpot.x - 4);
    EXPECT_EQ(rect.top, hotSpot.y - 4);
    EXPECT_EQ(rect.right - rect.left, 16);

    // The image is under the mouse, yet the target is what lies beneath it.
    Move(panel, 22, 30);
    EXPECT_EQ(events.back(), "over move 22,30");
    Up(panel, 22, 30);
    EXPECT_FALSE(images->Dragging());
    EXPECT_FALSE(IsWindow(image));
}

TEST_F(ControlsDrag, ATargetFreedDuringTheDragIsForgotten) {
    shape->SetDragMode(dmAutomatic);
    Down(shape, 5, 5);
    Move(panel, 10, 10);
    // Deleted outright: only the destructor runs.
    delete panel;
    panel = nullptr;
    events.clear();
    Move(form, 150, 50);
    Up(form, 150, 50);
    EXPECT_EQ(events, (std::vector<std::string>{"end nothing 0,0"}));
}

TEST_F(ControlsDrag, AFormCannotBeDragged) {
    EXPECT_THROW(form->BeginDrag(true), EInvalidOperation);
    EXPECT_EQ(DragObject(), nullptr);
}

TEST_F(ControlsDrag, FreeingTheDraggedControlEndsTheDrag) {
    shape->SetDragMode(dmAutomatic);
    Down(shape, 5, 5);
    Move(panel, 10, 10);
    shape->OnEndDrag = nullptr;
    shape->Free();
    shape = nullptr;
    EXPECT_EQ(DragObject(), nullptr);
    EXPECT_EQ(events.back(), "over leave 10,10");
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
