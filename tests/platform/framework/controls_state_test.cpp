// Enabling, showing, colours, fonts and text of controls, how they pass from parents to children, and
// how graphic controls are painted by their parent under their siblings' windows.
#include "tests/platform/framework/controls_testing.h"

namespace {

using ControlsState = ControlsTest;

TEST_F(ControlsState, EnablingAndShowingPropagateToChildren) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    EXPECT_FALSE(form->Body->HandleAllocated()) << "windows are made when the form first shows";
    form->Show();
    Pump();
    ASSERT_TRUE(form->Edit1->HandleAllocated());
    form->Edit1->SetFocus();
    Pump();

    form->Body->SetEnabled(false);
    Pump();
    EXPECT_FALSE(IsWindowEnabled(form->Body->Handle()));
    EXPECT_FALSE(form->Edit1->CanFocus()) << "a control in a disabled parent cannot take the focus";
    EXPECT_NE(FocusName(), "Edit1") << "the focus left the disabled part";
    Press(VK_TAB);
    EXPECT_NE(FocusName(), "Edit2") << "Tab skips controls in a disabled parent";
    form->Body->SetEnabled(true);
    EXPECT_TRUE(form->Edit1->CanFocus());

    form->Body->Hide();
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Edit1->Handle()));
    EXPECT_FALSE(form->Edit1->CanFocus());
    EXPECT_FALSE(form->Edit1->IsVisible());
    EXPECT_EQ(form->Side->Width(), 100);
    form->Body->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Edit1->Handle()));
    EXPECT_TRUE(form->Edit1->IsVisible());

    // A child hidden on its own stays hidden while its parent shows again.
    form->Edit2->SetVisible(false);
    form->Body->Hide();
    form->Body->Show();
    EXPECT_FALSE(IsWindowVisible(form->Edit2->Handle()));
    EXPECT_TRUE(IsWindowVisible(form->Edit1->Handle()));
}

TEST_F(ControlsState, ColourFontAndHintComeFromTheParentUntilSetOnTheChild) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    EXPECT_EQ(form->Body->Color(), clBtnFace);
    EXPECT_EQ(form->Header->Color(), clNavy) << "set in the description";
    EXPECT_FALSE(form->Header->ParentColor());

    form->SetColor(clYellow);
    EXPECT_EQ(form->Body->Color(), clYellow);
    EXPECT_EQ(form->Edit1->Color(), clYellow) << "through the panel";
    EXPECT_EQ(form->Header->Color(), clNavy);

    form->Body->SetColor(clLime);
    EXPECT_FALSE(form->Body->ParentColor());
    form->SetColor(clAqua);
    EXPECT_EQ(form->Body->Color(), clLime);
    form->Body->SetParentColor(true);
    EXPECT_EQ(form->Body->Color(), clAqua);

    form->Font()->SetSize(14);
    EXPECT_EQ(form->Edit1->Font()->Size(), 14);
    form->Edit1->Font()->SetStyle(TFontStyles{fsBold});
    EXPECT_FALSE(form->Edit1->ParentFont());
    form->Font()->SetSize(9);
    EXPECT_EQ(form->Edit1->Font()->Size(), 14);
    EXPECT_EQ(form->Edit2->Font()->Size(), 9);

    form->SetShowHint(true);
    EXPECT_TRUE(form->Edit1->ShowHint());
}

TEST_F(ControlsState, TextLivesInTheWindowAndAnnouncesChanges) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    EXPECT_EQ(form->Caption(), u"Controls");
    form->Show();
    Char buffer[64] = {};
    GetWindowTextW(form->Handle(), buffer, 64);
    EXPECT_EQ(String(buffer), u"Controls");
    int changes = 0;
    auto previous = form->OkButton->WindowProc;
    form->OkButton->WindowProc = [&](TMessage& message) {
        if (message.Msg == CM_TEXTCHANGED)
            ++changes;
        previous(message);
    };
    form->OkButton->SetCaption(u"Go");
    form->OkButton->SetCaption(u"Go");
    EXPECT_EQ(changes, 1) << "the same text again is no change";
    GetWindowTextW(form->OkButton->Handle(), buffer, 64);
    EXPECT_EQ(String(buffer), u"Go");
    form->OkButton->WindowProc = previous;
}

TEST_F(ControlsState, GraphicControlsArePaintedByTheParentUnderSiblingWindows) {
    auto* form = new TForm(nullptr, 0);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 120, 100);
    form->SetColor(clWhite);
    auto* shape = new TCtlShape(form);
    shape->SetBounds(10, 10, 40, 40);
    shape->SetParent(form);
    auto* panel = new TCtlPanel(form);
    panel->SetBounds(30, 30, 40, 40);
    panel->SetColor(clBlue);
    panel->SetParent(form);
    form->Show();
    Pump();

    HDC dc = GetDC(form->Handle());
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 255, 255)) << "the form's background";
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 0, 0)) << "the shape";
    // The parent's DC leaves the child window out; on the screen the window covers the shape.
    EXPECT_EQ(GetPixel(dc, 35, 35), CLR_INVALID);
    HDC panelDC = GetDC(panel->Handle());
    EXPECT_EQ(GetPixel(panelDC, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 49, 20), RGB(255, 0, 0)) << "the shape's last column";
    EXPECT_EQ(GetPixel(dc, 50, 20), RGB(255, 255, 255)) << "right edge excluded";

    // Brought to the front among graphic controls, a shape is still under the windows; a moved shape
    // leaves the parent's background behind it.
    shape->BringToFront();
    shape->SetLeft(60);
    Pump();
    EXPECT_EQ(GetPixel(dc, 15, 15), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(panelDC, 35, 5), RGB(0, 0, 255));
    ReleaseDC(panel->Handle(), panelDC);
    EXPECT_EQ(GetPixel(dc, 75, 20), RGB(255, 0, 0));
    shape->SetColor(clLime);
    Pump();
    EXPECT_EQ(GetPixel(dc, 75, 20), RGB(0, 255, 0)) << "a colour change repaints";
    ReleaseDC(form->Handle(), dc);
}

TEST_F(ControlsState, SetParentMovesTheWindowAndKeepsTheBounds) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    form->Show();
    Pump();
    HWND edit = form->Edit1->Handle();
    form->Edit1->SetParent(form->Side);
    EXPECT_EQ(form->Edit1->Parent(), form->Side);
    EXPECT_EQ(GetParent(form->Edit1->Handle()), form->Side->Handle());
    EXPECT_EQ(form->Edit1->BoundsRect(), Bounds(8, 8, 120, 21));
    EXPECT_FALSE(IsWindow(edit)) << "a new window under the new parent";
    EXPECT_EQ(form->Body->ControlCount(), 2);
    EXPECT_EQ(form->Side->Controls(0), form->Edit1);
    EXPECT_THROW(form->Side->SetParent(form->Side), EInvalidOperation);
}

TEST_F(ControlsState, DeletingAControlUnhooksItFromParentAndChildren) {
    auto* form = new TForm(nullptr, 0);
    auto* panel = new TCtlPanel(nullptr);
    panel->SetParent(form);
    auto* shape = new TCtlShape(nullptr);
    shape->SetParent(panel);
    auto* edit = new TCtlEdit(nullptr);
    edit->SetParent(panel);
    form->Show();
    Pump();
    delete edit;
    EXPECT_EQ(panel->ControlCount(), 1);
    delete panel;
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(shape->Parent(), nullptr);
    delete shape;
}

// Notifications a child sends its parent come back to the child as CN_* messages.
TEST_F(ControlsState, NotificationsAreReflectedToTheChildThatSentThem) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    form->Show();
    Pump();
    std::vector<UINT> reflected;
    auto previous = form->Edit1->WindowProc;
    form->Edit1->WindowProc = [&](TMessage& message) {
        if (message.Msg >= CN_BASE && message.Msg < CN_BASE + 0x400) {
            reflected.push_back(message.Msg);
            message.Result = message.Msg == CN_CTLCOLOREDIT ? 77 : 1;
            return;
        }
        previous(message);
    };
    HWND edit = form->Edit1->Handle();
    HWND body = form->Body->Handle();
    SendMessageW(body, WM_COMMAND, MAKEWPARAM(0, 0x0300), reinterpret_cast<LPARAM>(edit));
    struct {
        HWND hwndFrom;
        UINT_PTR idFrom;
        UINT code;
    } header{edit, 0, 0};
    SendMessageW(body, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(SendMessageW(body, WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(edit)), 77);
    EXPECT_EQ(reflected, (std::vector<UINT>{CN_COMMAND, CN_NOTIFY, CN_CTLCOLOREDIT}));
    form->Edit1->WindowProc = previous;
}

} // namespace
