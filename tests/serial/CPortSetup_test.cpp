// The combo boxes bound to a port's settings and the port-setup dialog: value lists, showing and
// applying a port's values, the dialog's OK and Cancel, and a port that fails while settings apply.
#include <gtest/gtest.h>

#include "platform/framework/Application.h"
#include "platform/win32/wininput.h"
#include "serial/CPortSetup.h"
#include "tests/serial/SerialTestSupport.h"

namespace {

using serial_testing::FakePortTest;

TEST(ComComboBox, EachPropertyListsItsValueTextsAndShowsThePortsValue) {
    struct Case {
        TComProperty property;
        int count;
        const char16_t* first;
        const char16_t* last;
        const char16_t* shown; // for a port with its default settings
    };
    // The list lives in the window, which needs a parent.
    auto* form = new TForm(nullptr, 0);
    auto* port = new TComPort(nullptr);
    auto* box = new TComComboBox(form);
    box->SetParent(form);
    for (const Case& c :
         {Case{cpBaudRate, 16, u"Custom", u"256000", u"9600"}, Case{cpDataBits, 4, u"5", u"8", u"8"},
          Case{cpStopBits, 3, u"1", u"2", u"1"}, Case{cpParity, 5, u"None", u"Space", u"None"},
          Case{cpFlowControl, 4, u"Hardware", u"Custom", u"None"}}) {
        SCOPED_TRACE(static_cast<int>(c.property));
        box->SetComPort(nullptr);
        box->SetComProperty(c.property);
        ASSERT_EQ(box->Items()->Count(), c.count);
        EXPECT_EQ(box->Items()->Strings(0), c.first);
        EXPECT_EQ(box->Items()->Strings(c.count - 1), c.last);
        EXPECT_EQ(box->ItemIndex(), 0) << "without a port the first value is selected";
        box->SetComPort(port);
        EXPECT_EQ(box->Text(), c.shown);
        box->SetText(u"no such value");
        EXPECT_EQ(box->Text(), c.shown) << "a text that is not listed changes nothing";
    }
    box->SetComProperty(cpNone);
    EXPECT_EQ(box->Items()->Count(), 0);
    EXPECT_EQ(box->Text(), u"");

    // The port box lists the machine's ports in their sorted order.
    box->SetComProperty(cpPort);
    TStringList machine;
    ListSerialPorts(&machine);
    EXPECT_EQ(box->Items()->Text(), machine.Text());
    port->Free();
    form->Free();
}

TEST(ComComboBox, AChosenValueReachesThePortOnApplyOrAtOnceWithAutoApply) {
    auto* port = new TComPort(nullptr);
    port->SetBaudRate(br19200);
    auto* form = new TForm(nullptr, 0);
    auto* box = new TComComboBox(form);
    box->SetParent(form);
    box->SetComProperty(cpBaudRate);
    box->SetComPort(port);
    EXPECT_EQ(box->Text(), u"19200");

    // A pick in the list is a change; it stays pending until applied.
    form->Show();
    box->SetFocus();
    std::vector<String> changes;
    box->OnChange = [&](TObject*) { changes.push_back(box->Text()); };
    for (int i = 0; i < 3; ++i)
        win32::input::PressKey(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(box->Text(), u"57600");
    EXPECT_EQ(changes, (std::vector<String>{u"38400", u"56000", u"57600"}));
    EXPECT_EQ(port->BaudRate(), br19200);
    box->ApplySettings();
    EXPECT_EQ(port->BaudRate(), br57600);

    box->SetAutoApply(true);
    win32::input::PressKey(VK_UP);
    Application->ProcessMessages();
    EXPECT_EQ(port->BaudRate(), br56000);

    // "Custom" flow control stands for fields no pattern matches; applying it keeps them.
    box->SetAutoApply(false);
    port->FlowControl()->SetOutDSRFlow(true);
    port->FlowControl()->SetXonXoffIn(true);
    box->SetComProperty(cpFlowControl);
    EXPECT_EQ(box->Text(), u"Custom");
    box->ApplySettings();
    EXPECT_TRUE(port->FlowControl()->OutDSRFlow());
    EXPECT_TRUE(port->FlowControl()->XonXoffIn());
    EXPECT_FALSE(port->FlowControl()->XonXoffOut());

    // A freed port is forgotten and the box falls back to the first value.
    port->Free();
    EXPECT_EQ(box->ComPort(), nullptr);
    EXPECT_EQ(box->Text(), u"Hardware");
    form->Free();
}

// Runs the dialog for port; once it is up, act(dialog) plays the user's part.
void RunDialog(TCustomComPort* port, const std::function<void(TComSetupFrm*)>& act) {
    int idle = 0;
    Application->OnIdle = [&](TObject*, bool& done) {
        // Idle keeps coming so that a dialog the test failed to close is cancelled, not waited on.
        done = false;
        for (Integer i = 0; i < Screen()->FormCount(); ++i)
            if (auto* dialog = dynamic_cast<TComSetupFrm*>(Screen()->Forms(i))) {
                if (idle == 0)
                    act(dialog);
                else if (idle == 1000) {
                    ADD_FAILURE() << "the dialog did not close";
                    dialog->SetModalResult(mrCancel);
                }
            }
        ++idle;
    };
    struct Restore {
        ~Restore() { Application->OnIdle = nullptr; }
    } restore;
    RunComSetupDialog(port);
}

class ComSetupDialog : public FakePortTest {};

TEST_F(ComSetupDialog, OkAppliesTheChosenValuesAndCancelNone) {
    port->SetBaudRate(br19200);
    port->SetDataBits(dbSeven);
    for (int key : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(key);
        RunDialog(port, [&](TComSetupFrm* dialog) {
            EXPECT_EQ(dialog->Caption(), u"Setup");
            EXPECT_EQ(dialog->ClientWidth(), 231);
            EXPECT_EQ(dialog->ClientHeight(), 216);
            EXPECT_EQ(dialog->Combo2->Text(), u"19200");
            EXPECT_EQ(dialog->Combo3->Text(), u"7");
            EXPECT_EQ(dialog->Combo5->Text(), u"None");
            EXPECT_EQ(dialog->Combo1->ItemIndex(), -1) << "the fake port is not among the machine's";
            dialog->Combo2->SetFocus();
            win32::input::PressKey(VK_DOWN);
            dialog->Combo5->SetFocus();
            win32::input::PressKey(VK_DOWN);
            win32::input::PressKey(key);
        });
        EXPECT_EQ(port->Port(), PortName()) << "a box with no selection applies nothing";
        EXPECT_EQ(port->DataBits(), dbSeven);
        EXPECT_EQ(port->BaudRate(), key == VK_RETURN ? br38400 : br19200);
        EXPECT_EQ(port->Parity()->Bits(), key == VK_RETURN ? prOdd : prNone);
        EXPECT_EQ(Screen()->FormCount(), 0) << "the dialog is freed";
    }
}

TEST_F(ComSetupDialog, APortThatFailsWhileApplyingReachesTheCallerAndTheDialogIsFreed) {
    // Choosing another port for an open one reopens it at once, which fails for a port that is gone.
    port->Open();
    EXPECT_THROW(RunDialog(port,
                           [](TComSetupFrm* dialog) {
                               dialog->Combo1->Items()->Add(u"GONE");
                               dialog->Combo1->SetFocus();
                               win32::input::PressKey(VK_END);
                               dialog->Combo2->SetFocus();
                               win32::input::PressKey(VK_DOWN);
                               win32::input::PressKey(VK_RETURN);
                           }),
                 EComPort);
    EXPECT_EQ(Screen()->FormCount(), 0);
    EXPECT_EQ(port->Port(), u"GONE");
    EXPECT_FALSE(port->Connected());
    // The update bracket was closed: a setting applies at once again.
    port->SetPort(PortName());
    port->Open();
    port->SetBaudRate(br115200);
    EXPECT_EQ(fake->Config().baudRate, 115200);
}

} // namespace
