// Forms: the order of their events from creation to destruction, closing with OnCloseQuery and
// OnClose's actions, ShowModal's nested loop, activation between forms, position and window styles.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Application.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/wininput.h"

namespace {

class FormsEvents : public ControlsTest {
protected:
    // Logs every event of the form after the described handlers.
    static void Track(TControlsForm* form) {
        auto log = [](const char* name) { return [name](TObject*) { ControlsLog().push_back(name); }; };
        form->OnHide = log("Hide");
        form->OnDeactivate = log("Deactivate");
        form->OnDestroy = log("Destroy");
        form->OnPaint = log("Paint");
        form->OnCloseQuery = [](TObject*, bool&) { ControlsLog().push_back("CloseQuery"); };
        form->OnClose = [](TObject*, TCloseAction& action) {
            ControlsLog().push_back("Close " + std::to_string(static_cast<int>(action)));
        };
    }
};

TEST_F(FormsEvents, EventsComeInTheFrameworksOrder) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Create"})) << "nothing else before the form shows";
    EXPECT_FALSE(form->Visible());
    Track(form);
    form->Show();
    Pump();
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Create", "Show", "Resize", "Activate", "Paint"}));
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(Screen()->ActiveForm(), form);

    ControlsLog().clear();
    form->SetWidth(form->Width() + 10);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Resize"}));

    ControlsLog().clear();
    form->Close();
    Pump();
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"CloseQuery", "Close 1", "Deactivate", "Hide"}));
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));

    ControlsLog().clear();
    form->Free();
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Destroy"}));
}

TEST_F(FormsEvents, CloseQueryAndCloseActionDecide) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    form->Show();
    Pump();
    bool canClose = false;
    TCloseAction action = caNone;
    form->OnCloseQuery = [&](TObject*, bool& value) { value = canClose; };
    form->OnClose = [&](TObject*, TCloseAction& value) { value = action; };

    form->Close();
    EXPECT_TRUE(form->Visible()) << "OnCloseQuery said no";
    canClose = true;
    form->Close();
    EXPECT_TRUE(form->Visible()) << "caNone keeps the form";
    action = caMinimize;
    form->Close();
    EXPECT_EQ(form->WindowState(), wsMinimized);
    EXPECT_TRUE(IsIconic(form->Handle()));
    ShowWindow(form->Handle(), SW_RESTORE);
    EXPECT_EQ(form->WindowState(), wsNormal) << "the state follows the window";

    // caFree frees the form once the messages waiting for it are served; the system's close
    // command goes the same way.
    action = caFree;
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen()->FormCount(), 0);
}

// A form whose OnCreate fails on a bad setting still opens with what the handler did before; failing
// OnShow, OnHide and OnDestroy handlers are shown too and the form still shows, hides and goes.
TEST_F(FormsEvents, AnExceptionInAFormEventIsShownAndTheFormGoesOn) {
    win32::RecordingDialogService dialogs;
    auto fail = [](const char16_t* text) { return [text](TObject*) { throw EConvertError(text); }; };
    auto* form = new TForm(nullptr, 0);
    form->OnCreate = [](TObject* sender) {
        static_cast<TForm*>(sender)->SetCaption(u"Loaded");
        StrToInt(u"");
        static_cast<TForm*>(sender)->SetCaption(u"Never");
    };
    FinishConstruction(form);
    EXPECT_EQ(form->Caption(), u"Loaded");
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].message.text, u"'' is not a valid integer value.");

    form->OnShow = fail(u"show");
    form->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->OnHide = fail(u"hide");
    form->Close();
    Pump();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->OnDestroy = fail(u"destroy");
    form->Free();
    EXPECT_EQ(Screen()->FormCount(), 0);
    std::vector<String> shown;
    for (const auto& record : dialogs.Records())
        shown.push_back(record.message.text);
    EXPECT_EQ(shown,
              (std::vector<String>{u"'' is not a valid integer value.", u"show.", u"hide.", u"destroy."}));
}

TEST_F(FormsEvents, ShowModalServesMessagesUntilAButtonSetsTheResult) {
    struct Case {
        const char* name;
        int key;
        TModalResult expected;
    };
    for (const Case& c :
         {Case{"Enter clicks OK", VK_RETURN, mrOk}, Case{"Escape clicks Cancel", VK_ESCAPE, mrCancel}}) {
        SCOPED_TRACE(c.name);
        auto* owner = new TForm(nullptr, 0);
        owner->Show();
        Pump();
        auto* dialog = CreateInstance<TControlsForm>(nullptr);
        bool ownerDisabled = false;
        int idle = 0;
        // The key is typed once the dialog is up and idle.
        Application->OnIdle = [&](TObject*, bool& done) {
            if (idle++ == 0) {
                ownerDisabled = !IsWindowEnabled(owner->Handle());
                win32::input::PressKey(c.key);
            }
            done = true;
        };
        EXPECT_EQ(dialog->ShowModal(), c.expected);
        Application->OnIdle = nullptr;
        EXPECT_TRUE(ownerDisabled) << "the other forms take no input while the dialog is up";
        EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
        EXPECT_FALSE(dialog->Visible());
        EXPECT_THROW(
            {
                dialog->Show();
                dialog->ShowModal();
            },
            EInvalidOperation)
            << "a visible form cannot be made modal";
        dialog->Free();
        owner->Free();
    }
}

TEST_F(FormsEvents, ActivationMovesBetweenForms) {
    auto* first = CreateInstance<TControlsForm>(nullptr);
    first->Show();
    Pump();
    auto* second = new TForm(nullptr, 0);
    std::vector<std::string> events;
    first->OnDeactivate = [&](TObject*) { events.push_back("first deactivate"); };
    second->OnActivate = [&](TObject*) { events.push_back("second activate"); };
    second->Show();
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"first deactivate", "second activate"}));
    EXPECT_FALSE(first->Active());
    EXPECT_EQ(Screen()->ActiveForm(), second);
    // Back on the first form, the focus returns to its active control.
    first->Edit2->SetFocus();
    Pump();
    SetActiveWindow(second->Handle());
    Pump();
    SetActiveWindow(first->Handle());
    Pump();
    EXPECT_EQ(FocusName(), "Edit2");
    first->OnDeactivate = nullptr;
    second->OnActivate = nullptr;
}

TEST_F(FormsEvents, StylesFollowTheProperties) {
    auto* form = new TForm(nullptr, 0);
    form->SetBorderStyle(bsDialog);
    form->SetFormStyle(fsStayOnTop);
    form->SetAlphaBlend(true);
    form->SetAlphaBlendValue(128);
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(poScreenCenter);
    form->Show();
    Pump();
    LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
    LONG exStyle = GetWindowLongW(form->Handle(), GWL_EXSTYLE);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0) << "a dialog has no sizing frame";
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_NE(exStyle & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(form->Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    TRect area = Screen()->WorkAreaRect();
    EXPECT_EQ(form->Left(), area.Left + (area.Width() - 200) / 2);
    EXPECT_EQ(form->Top(), area.Top + (area.Height() - 100) / 2);

    // A sizeable form with every icon.
    form->SetBorderStyle(bsSizeable);
    style = GetWindowLongW(form->Handle(), GWL_STYLE);
    EXPECT_NE(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_MAXIMIZEBOX, 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle())) << "a new window replaces the old one and shows";
}

TEST_F(FormsEvents, OwnerFormCenterCentresOnTheOwner) {
    auto* owner = new TForm(nullptr, 0);
    owner->SetBounds(100, 80, 400, 300);
    owner->Show();
    auto* child = new TForm(owner, 0);
    child->SetBounds(0, 0, 200, 100);
    child->SetPosition(poOwnerFormCenter);
    child->Show();
    EXPECT_EQ(child->Left(), 100 + (400 - 200) / 2);
    EXPECT_EQ(child->Top(), 80 + (300 - 100) / 2);
    owner->Free();
}

TEST_F(FormsEvents, AHintWindowShowsOnTopWithoutTakingActivation) {
    auto* form = CreateInstance<TControlsForm>(nullptr);
    form->Show();
    Pump();
    auto* hint = new THintWindow(nullptr);
    TRect size = hint->CalcHintRect(300, u"A hint", nullptr);
    EXPECT_GT(size.Width(), 6);
    EXPECT_GT(size.Height(), 2);
    // Kept on the screen: a hint past the right edge moves left.
    int right = Screen()->Width() + 20;
    hint->ActivateHint(TRect(right - size.Width(), 50, right, 50 + size.Height()), u"A hint");
    Pump();
    EXPECT_TRUE(hint->Active());
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_EQ(hint->Left() + hint->Width(), Screen()->Width());
    EXPECT_NE(GetWindowLongW(hint->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetActiveWindow(), form->Handle()) << "the form stays active";
    EXPECT_EQ(hint->Caption(), u"A hint");
    hint->ReleaseHandle();
    EXPECT_FALSE(hint->Active());
    EXPECT_FALSE(hint->HandleAllocated());
    hint->Free();
}

} // namespace
