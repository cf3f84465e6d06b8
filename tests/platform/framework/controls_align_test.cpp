// A form read from its description lays out its aligned panels and keeps anchored controls at their
// edges; constraints and AutoSize bound the sizes.
#include "tests/platform/framework/controls_testing.h"

#include "platform/rtl/UString.h"

namespace {

using ControlsAlign = ControlsTest;

TEST_F(ControlsAlign, DescribedFormAlignsItsPanels) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    form->Show();
    Pump();

    EXPECT_EQ(form->ClientWidth(), 400);
    EXPECT_EQ(form->ClientHeight(), 300);
    struct Case {
        TControl* control;
        TRect bounds;
    };
    for (const Case& c :
         {Case{form->Header, Bounds(0, 0, 400, 40)}, Case{form->Footer, Bounds(0, 270, 400, 30)},
          Case{form->Side, Bounds(0, 40, 100, 230)}, Case{form->Body, Bounds(100, 40, 300, 230)},
          Case{form->Mark, Bounds(4, 4, 20, 20)}, Case{form->Corner, Bounds(200, 190, 90, 30)}}) {
        SCOPED_TRACE(StringToUtf8(c.control->Name()));
        EXPECT_EQ(c.control->BoundsRect(), c.bounds);
    }
    // The windows are where the controls say.
    RECT window;
    GetWindowRect(form->Body->Handle(), &window);
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ(window.left - origin.x, 100);
    EXPECT_EQ(window.top - origin.y, 40);

    // A bigger form: the client panel grows and the anchored control keeps its distances to the right
    // and bottom edges.
    form->SetClientWidth(500);
    form->SetClientHeight(350);
    Pump();
    EXPECT_EQ(form->Footer->BoundsRect(), Bounds(0, 320, 500, 30));
    EXPECT_EQ(form->Body->BoundsRect(), Bounds(100, 40, 400, 280));
    EXPECT_EQ(form->Corner->BoundsRect(), Bounds(300, 240, 90, 30));
}

TEST_F(ControlsAlign, OrderAlongAnEdgeFollowsPositionAndHidingGivesTheRoomBack) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 300, 200);
    auto make = [form](int top) {
        auto* panel = new TCtlPanel(form);
        panel->SetBounds(0, top, 50, 20);
        panel->SetParent(form);
        panel->SetAlign(alTop);
        return panel;
    };
    TCtlPanel* first = make(0);
    TCtlPanel* second = make(100);
    EXPECT_EQ(first->Top(), 0);
    EXPECT_EQ(second->Top(), 20);
    EXPECT_EQ(second->Width(), form->ClientWidth());
    // Moved above the first, the second takes the top.
    second->SetTop(-5);
    EXPECT_EQ(second->Top(), 0);
    EXPECT_EQ(first->Top(), 20);
    second->SetVisible(false);
    EXPECT_EQ(first->Top(), 0);
}

TEST_F(ControlsAlign, ConstraintsLimitEveryWayOfSizing) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 300, 200);
    auto* panel = new TCtlPanel(form);
    panel->SetParent(form);
    panel->Constraints()->SetMinWidth(40);
    panel->Constraints()->SetMaxWidth(120);
    panel->Constraints()->SetMaxHeight(60);
    panel->SetWidth(10);
    EXPECT_EQ(panel->Width(), 40);
    panel->SetBounds(0, 0, 500, 500);
    EXPECT_EQ(panel->Width(), 120);
    EXPECT_EQ(panel->Height(), 60);
    // An aligned control is held by its constraints too, and the next one starts where it ends.
    panel->SetAlign(alLeft);
    auto* rest = new TCtlPanel(form);
    rest->SetParent(form);
    rest->SetAlign(alClient);
    EXPECT_EQ(panel->Height(), 60);
    EXPECT_EQ(rest->Left(), 120);
}

TEST_F(ControlsAlign, AutoSizeFitsTheChildren) {
    auto* form = new TForm(nullptr, 0);
    auto* panel = new TCtlPanel(form);
    panel->SetParent(form);
    auto* child = new TCtlShape(form);
    child->SetParent(panel);
    child->SetBounds(10, 5, 30, 40);
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->Width(), 40);
    EXPECT_EQ(panel->Height(), 45);
    child->SetWidth(60);
    EXPECT_EQ(panel->Width(), 70);
}

} // namespace
