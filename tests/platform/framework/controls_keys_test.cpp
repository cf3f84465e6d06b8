// Focus and the routing of keys: Tab and arrows move through the tab order, Enter and Escape reach the
// default and cancel buttons, a control that asks for a key keeps it, a form with KeyPreview sees
// keys first, and short cuts of popup menus and of the form come before the control.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Menus.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"

namespace {

class ControlsKeys : public ControlsTest {
protected:
    static TControlsForm* ShownForm() {
        auto* form = CreateInstance<TControlsForm>(nullptr);
        form->Show();
        Pump();
        return form;
    }
};

TEST_F(ControlsKeys, TabWalksTheTabOrderAcrossPanels) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    form->Show();
    Pump();
    // The first control of the tab order gets the focus when the form is activated.
    EXPECT_EQ(FocusName(), "OkButton");
    EXPECT_EQ(form->ActiveControl(), form->OkButton);
    EXPECT_EQ(Screen()->ActiveControl(), form->OkButton);
    EXPECT_EQ(form->Edit1->TabOrder(), 0);
    EXPECT_EQ(form->Edit2->TabOrder(), 1);

    std::vector<std::string> forward;
    for (int i = 0; i < 5; ++i) {
        Press(VK_TAB);
        forward.push_back(FocusName());
    }
    EXPECT_EQ(forward, (std::vector<std::string>{"CancelButton", "Edit1", "Edit2", "Corner", "OkButton"}));

    win32::input::Key(VK_SHIFT, true);
    Press(VK_TAB);
    EXPECT_EQ(FocusName(), "Corner");
    win32::input::Key(VK_SHIFT, false);
    Pump();
    // Tab never reached the edits' own key handlers.
    for (const std::string& entry : ControlsLog())
        EXPECT_EQ(entry.find("KeyDown 9"), std::string::npos) << entry;
}

TEST_F(ControlsKeys, NextDialogControlMovesTheFocusAsTabDoes) {
    // Controls send their form WM_NEXTDLGCTL to hand the focus on, as in a dialog.
    auto* form = ShownForm();
    form->Edit1->SetFocus();
    Pump();
    SendMessageW(form->Handle(), WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(FocusName(), "Edit2");
    SendMessageW(form->Handle(), WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(FocusName(), "Edit1");
    SendMessageW(form->Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(form->OkButton->Handle()), TRUE);
    EXPECT_EQ(FocusName(), "OkButton");
    EXPECT_EQ(form->ActiveControl(), form->OkButton);

    // The window manager's own walk follows the windows, looking inside the panels that hold controls.
    HWND edit1 = form->Edit1->Handle();
    HWND after = GetNextDlgTabItem(form->Handle(), edit1, FALSE);
    HWND before = GetNextDlgTabItem(form->Handle(), edit1, TRUE);
    EXPECT_NE(after, nullptr);
    EXPECT_NE(after, edit1);
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), after, TRUE), edit1);
    EXPECT_EQ(GetNextDlgTabItem(form->Handle(), before, FALSE), edit1);
    EXPECT_NE(GetWindowLongW(after, GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(ControlsKeys, ArrowsStayWithAControlThatWantsThemAndMoveOtherwise) {
    TControlsForm* form = ShownForm();
    form->Edit1->SetFocus();
    Pump();
    EXPECT_EQ(FocusName(), "Edit1");
    ControlsLog().clear();
    Press(VK_DOWN);
    EXPECT_EQ(FocusName(), "Edit1");
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Edit1 KeyDown 40"}));
    // A button does not want arrows: the form moves to the next control of the same parent.
    form->OkButton->SetFocus();
    Pump();
    Press(VK_RIGHT);
    EXPECT_EQ(FocusName(), "CancelButton");
}

TEST_F(ControlsKeys, EnterAndEscapeClickTheDefaultAndCancelButtons) {
    TControlsForm* form = ShownForm();
    form->Edit1->SetFocus();
    Pump();
    ControlsLog().clear();
    Press(VK_RETURN);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"OkButton Click"}));
    EXPECT_EQ(form->ModalResult(), mrOk);
    ControlsLog().clear();
    Press(VK_ESCAPE);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"CancelButton Click"}));
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // A disabled default button is not clicked.
    form->OkButton->SetEnabled(false);
    ControlsLog().clear();
    Press(VK_RETURN);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Edit1 KeyDown 13", "Edit1 KeyPress 13"}));
}

TEST_F(ControlsKeys, KeyPreviewLetsTheFormSeeAndEatKeysFirst) {
    TControlsForm* form = ShownForm();
    form->Edit1->SetFocus();
    Pump();
    std::vector<std::string> seen;
    form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        seen.push_back("form " + std::to_string(key));
        if (key == 'B')
            key = 0;
    };
    Press('A');
    EXPECT_TRUE(seen.empty()) << "without KeyPreview the form hears nothing";
    form->SetKeyPreview(true);
    ControlsLog().clear();
    Press('A');
    Press('B');
    EXPECT_EQ(seen, (std::vector<std::string>{"form 65", "form 66"}));
    // The form ate B's key-down; its character still comes, as the framework's OnKeyPress does.
    EXPECT_EQ(ControlsLog(),
              (std::vector<std::string>{"Edit1 KeyDown 65", "Edit1 KeyPress 97", "Edit1 KeyPress 98"}));
}

TEST_F(ControlsKeys, FocusEntersAndExitsThroughTheParents) {
    TControlsForm* form = ShownForm();
    std::vector<std::string> events;
    auto track = [&](TWinControl* control, const std::string& name) {
        control->OnEnter = [&events, name](TObject*) { events.push_back("enter " + name); };
        control->OnExit = [&events, name](TObject*) { events.push_back("exit " + name); };
    };
    track(form->Footer, "Footer");
    track(form->OkButton, "OkButton");
    track(form->Body, "Body");
    track(form->Edit1, "Edit1");
    track(form->Edit2, "Edit2");
    form->Edit1->SetFocus();
    Pump();
    form->Edit2->SetFocus();
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"exit OkButton", "exit Footer", "enter Body", "enter Edit1",
                                                "exit Edit1", "enter Edit2"}));
    EXPECT_TRUE(form->Edit2->Focused());
}

TEST_F(ControlsKeys, ShortCutsOfTheFormComeBeforeTheControl) {
    TControlsForm* form = ShownForm();
    form->Edit1->SetFocus();
    Pump();
    int shortCuts = 0;
    form->OnShortCut = [&](TWMKey& key, bool& handled) {
        if (key.CharCode == VK_F5) {
            ++shortCuts;
            handled = true;
        }
    };
    ControlsLog().clear();
    Press(VK_F5);
    Press(VK_F6);
    EXPECT_EQ(shortCuts, 1);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Edit1 KeyDown 117"}));
}

TEST_F(ControlsKeys, ShortCutsOfPopupMenusUpTheParentsComeBeforeTheForms) {
    TControlsForm* form = ShownForm();
    form->Edit1->SetFocus();
    Pump();
    auto menuWith = [form](std::vector<std::pair<Word, std::string>> keys) {
        auto* menu = new TPopupMenu(form);
        for (auto& [key, log] : keys) {
            auto* item = new TMenuItem(form);
            item->SetCaption(Utf8ToString(log));
            item->SetShortCut(ShortCut(key, {}));
            item->OnClick = [log](TObject*) { ControlsLog().push_back(log); };
            menu->Items()->Add(item);
        }
        return menu;
    };
    form->Edit1->SetPopupMenu(menuWith({{VK_F2, "edit F2"}}));
    TPopupMenu* bodyMenu = menuWith({{VK_F2, "body F2"}, {VK_F3, "body F3"}, {VK_F4, "body F4"}});
    bodyMenu->Items()->Items(2)->SetEnabled(false);
    form->Body->SetPopupMenu(bodyMenu);
    form->OnShortCut = [](TWMKey& key, bool& handled) {
        ControlsLog().push_back("form " + std::to_string(key.CharCode));
        handled = key.CharCode == VK_F3 || key.CharCode == VK_F5;
    };
    ControlsLog().clear();
    for (int key : {VK_F2, VK_F3, VK_F4, VK_F5})
        Press(key);
    // The nearest menu wins; a disabled item's key goes on to the form and then the control.
    EXPECT_EQ(ControlsLog(),
              (std::vector<std::string>{"edit F2", "body F3", "form 115", "Edit1 KeyDown 115", "form 116"}));
}

} // namespace
