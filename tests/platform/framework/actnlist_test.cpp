// Actions: a control takes an action's caption and enabled state, follows them while it still shows the
// action's values, executes the action when clicked without a handler of its own, and forgets an action
// that is freed.
#include "platform/framework/ActnList.h"

#include "platform/framework/StdButtons.h"
#include "tests/platform/framework/controls_testing.h"

namespace {

TEST_F(ControlsTest, ControlFollowsItsActionWhileLinkedAndExecutesItWithoutOnClick) {
    auto* form = new TForm(nullptr, 0);
    auto* action = new TAction(form);
    action->SetCaption(u"Connect");
    int executed = 0;
    action->OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, action);
        ++executed;
    };
    auto* button = new TButton(form);
    button->SetParent(form);
    auto* renamed = new TButton(form);
    renamed->SetParent(form);
    button->SetAction(action);
    renamed->SetAction(action);
    EXPECT_EQ(button->Caption(), u"Connect");
    renamed->SetCaption(u"Mine");
    action->SetCaption(u"Disconnect");
    action->SetEnabled(false);
    EXPECT_EQ(button->Caption(), u"Disconnect");
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(renamed->Caption(), u"Mine") << "a caption of its own is no longer the action's";
    EXPECT_FALSE(renamed->Enabled());
    EXPECT_EQ(action->ClientCount(), 2);

    button->Click();
    EXPECT_EQ(executed, 1);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Click();
    EXPECT_EQ(executed, 1) << "the control's own handler comes first";
    EXPECT_EQ(clicks, 1);

    renamed->SetAction(nullptr);
    EXPECT_EQ(action->ClientCount(), 1);
    action->Free();
    EXPECT_EQ(button->Action(), nullptr);
    button->OnClick = nullptr;
    button->Click();
    form->Free();
}

} // namespace
