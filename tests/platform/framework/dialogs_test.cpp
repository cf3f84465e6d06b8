// Message boxes and dialogs: what MessageBox, MessageDlg, ShowMessage and InputQuery ask the dialog service,
// how answers map back, and the real dialog window driven by keyboard input inside its modal loop.
#include <gtest/gtest.h>

#include "platform/framework/Application.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Dialogs.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"

namespace {

using win32::DialogButton;
using win32::DialogIcon;
using Buttons = std::vector<DialogButton>;

struct MessageBoxCase {
    const char* name;
    UINT type;
    Buttons buttons;
    size_t defaultButton;
    DialogIcon icon;
    bool cancellable;
    DialogButton cancelButton; // when cancellable
};

void PrintTo(const MessageBoxCase& c, std::ostream* os) {
    *os << c.name;
}

class MessageBoxTypes : public testing::TestWithParam<MessageBoxCase> {};

TEST_P(MessageBoxTypes, AskTheServiceForTheBoxTheTypeDescribes) {
    const MessageBoxCase& c = GetParam();
    win32::RecordingDialogService dialogs;
    MessageBoxW(nullptr, u"Text", u"Caption", c.type);
    ASSERT_EQ(dialogs.Records().size(), 1u);
    const win32::MessageRequest& asked = dialogs.Records()[0].message;
    EXPECT_EQ(asked.caption, u"Caption");
    EXPECT_EQ(asked.text, u"Text");
    EXPECT_EQ(asked.buttons, c.buttons);
    EXPECT_EQ(asked.defaultButton, c.defaultButton);
    EXPECT_EQ(asked.icon, c.icon);
    EXPECT_EQ(asked.cancellable, c.cancellable);
    if (c.cancellable) {
        EXPECT_EQ(asked.cancelButton, c.cancelButton);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, MessageBoxTypes,
    testing::Values(
        MessageBoxCase{
            "OkOnlyCancelsWithOk", MB_OK, {DialogButton::Ok}, 0, DialogIcon::None, true, DialogButton::Ok},
        MessageBoxCase{"OkCancelWithError",
                       MB_OKCANCEL | MB_ICONERROR,
                       {DialogButton::Ok, DialogButton::Cancel},
                       0,
                       DialogIcon::Error,
                       true,
                       DialogButton::Cancel},
        MessageBoxCase{"YesNoCannotBeCancelled",
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2,
                       {DialogButton::Yes, DialogButton::No},
                       1,
                       DialogIcon::Question,
                       false,
                       DialogButton::Cancel},
        MessageBoxCase{"YesNoCancel",
                       MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3,
                       {DialogButton::Yes, DialogButton::No, DialogButton::Cancel},
                       2,
                       DialogIcon::Warning,
                       true,
                       DialogButton::Cancel},
        MessageBoxCase{"DefaultPastTheLastFallsBackToTheFirst",
                       MB_RETRYCANCEL | MB_DEFBUTTON4,
                       {DialogButton::Retry, DialogButton::Cancel},
                       0,
                       DialogIcon::None,
                       true,
                       DialogButton::Cancel},
        MessageBoxCase{"AbortRetryIgnoreWithHelp",
                       MB_ABORTRETRYIGNORE | MB_HELP | MB_ICONINFORMATION,
                       {DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore, DialogButton::Help},
                       0,
                       DialogIcon::Information,
                       false,
                       DialogButton::Cancel},
        MessageBoxCase{"OkWithHelpStillCancelsWithOk",
                       MB_OK | MB_HELP,
                       {DialogButton::Ok, DialogButton::Help},
                       0,
                       DialogIcon::None,
                       true,
                       DialogButton::Ok}),
    [](const testing::TestParamInfo<MessageBoxCase>& info) { return std::string(info.param.name); });

TEST(Dialogs, MessageBoxAnswersTheIdOfTheButtonAndRefusesBadArguments) {
    win32::RecordingDialogService dialogs;
    dialogs.AnswerMessage(DialogButton::No);
    EXPECT_EQ(MessageBoxW(nullptr, u"Save?", u"App", MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"Go", u"App", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL)
        << "unanswered: the default";
    dialogs.AnswerMessage(DialogButton::Continue);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"App", MB_CANCELTRYCONTINUE), IDCONTINUE);
    // A scripted answer the box does not offer falls back to the default button.
    dialogs.AnswerMessage(DialogButton::Yes);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"App", MB_OK), IDOK);

    MessageBoxW(nullptr, u"No caption", nullptr, MB_OK);
    EXPECT_EQ(dialogs.Records().back().message.caption, u"Error");

    dialogs.Clear();
    SetLastError(0);
    EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x12345), u"x", u"y", MB_OK), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", 0x0000000E), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(dialogs.Records().empty()) << "a refused box is never shown";
}

struct MessageDlgCase {
    const char* name;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    const Char* caption;
    DialogIcon icon;
    Buttons shown;
    size_t defaultButton;
    bool cancellable;
    DialogButton cancelButton;
};

void PrintTo(const MessageDlgCase& c, std::ostream* os) {
    *os << c.name;
}

class MessageDlgKinds : public testing::TestWithParam<MessageDlgCase> {};

TEST_P(MessageDlgKinds, CaptionIconButtonsDefaultAndCancel) {
    const MessageDlgCase& c = GetParam();
    win32::RecordingDialogService dialogs;
    MessageDlg(u"Message", c.type, c.buttons, 0);
    ASSERT_EQ(dialogs.Records().size(), 1u);
    const win32::MessageRequest& asked = dialogs.Records()[0].message;
    EXPECT_EQ(asked.caption, c.caption);
    EXPECT_EQ(asked.text, u"Message");
    EXPECT_EQ(asked.icon, c.icon);
    EXPECT_EQ(asked.buttons, c.shown);
    EXPECT_EQ(asked.defaultButton, c.defaultButton);
    EXPECT_EQ(asked.cancellable, c.cancellable);
    if (c.cancellable) {
        EXPECT_EQ(asked.cancelButton, c.cancelButton);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, MessageDlgKinds,
    testing::Values(MessageDlgCase{"ConfirmYesNoCancel",
                                   mtConfirmation,
                                   mbYesNoCancel,
                                   u"Confirm",
                                   DialogIcon::Question,
                                   {DialogButton::Yes, DialogButton::No, DialogButton::Cancel},
                                   0,
                                   true,
                                   DialogButton::Cancel},
                    MessageDlgCase{"WarningOkCancelInFrameworkOrder",
                                   mtWarning,
                                   TMsgDlgButtons{mbCancel, mbOK},
                                   u"Warning",
                                   DialogIcon::Warning,
                                   {DialogButton::Ok, DialogButton::Cancel},
                                   0,
                                   true,
                                   DialogButton::Cancel},
                    MessageDlgCase{"ErrorYesNoCancelsWithNo",
                                   mtError,
                                   mbYesNo,
                                   u"Error",
                                   DialogIcon::Error,
                                   {DialogButton::Yes, DialogButton::No},
                                   0,
                                   true,
                                   DialogButton::No},
                    MessageDlgCase{"InformationRetryIsDefaultAndNothingCancels",
                                   mtInformation,
                                   mbAbortRetryIgnore,
                                   u"Information",
                                   DialogIcon::Information,
                                   {DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore},
                                   1,
                                   false,
                                   DialogButton::Cancel},
                    MessageDlgCase{"NoButtonsShowsOk",
                                   mtWarning,
                                   TMsgDlgButtons{},
                                   u"Warning",
                                   DialogIcon::Warning,
                                   {DialogButton::Ok},
                                   0,
                                   true,
                                   DialogButton::Ok},
                    MessageDlgCase{"AllTheToAllButtons",
                                   mtConfirmation,
                                   mbYesAllNoAllCancel,
                                   u"Confirm",
                                   DialogIcon::Question,
                                   {DialogButton::Yes, DialogButton::No, DialogButton::Cancel,
                                    DialogButton::NoToAll, DialogButton::YesToAll},
                                   0,
                                   true,
                                   DialogButton::Cancel}),
    [](const testing::TestParamInfo<MessageDlgCase>& info) { return std::string(info.param.name); });

TEST(Dialogs, MessageDlgAnswersModalResultsAndShowMessageUsesTheTitle) {
    win32::RecordingDialogService dialogs;
    dialogs.AnswerMessage(DialogButton::NoToAll);
    EXPECT_EQ(MessageDlg(u"Overwrite?", mtConfirmation, mbYesAllNoAllCancel, 0), mrNoToAll);
    dialogs.AnswerMessage(DialogButton::Ignore);
    EXPECT_EQ(MessageDlg(u"Failed", mtError, mbAbortRetryIgnore, 0), mrIgnore);

    String oldTitle = Application->Title();
    Application->SetTitle(u"Console");
    ShowMessageFmt(u"%d ports", {3});
    MessageDlg(u"Custom", mtCustom, {mbOK}, 0);
    dialogs.AnswerMessage(DialogButton::Yes);
    EXPECT_EQ(Application->MessageBox(u"Quit?", u"", MB_YESNO | MB_ICONQUESTION), IDYES);
    Application->SetTitle(oldTitle);
    ASSERT_EQ(dialogs.Records().size(), 5u);
    EXPECT_EQ(dialogs.Records()[4].message.caption, u"Console") << "an empty caption is the title";
    EXPECT_EQ(dialogs.Records()[2].message.caption, u"Console");
    EXPECT_EQ(dialogs.Records()[2].message.text, u"3 ports");
    EXPECT_EQ(dialogs.Records()[2].message.buttons, Buttons{DialogButton::Ok});
    EXPECT_EQ(dialogs.Records()[3].message.caption, u"Console");
    EXPECT_EQ(dialogs.Records()[3].message.icon, DialogIcon::None);
}

TEST(Dialogs, InputQueryChangesValuesOnlyWhenAccepted) {
    win32::RecordingDialogService dialogs;
    String value = u"COM1";
    dialogs.AnswerInput({u"COM7"});
    EXPECT_TRUE(InputQuery(u"Port", u"Name:", value));
    EXPECT_EQ(value, u"COM7");
    dialogs.AnswerInput({u"ignored"}, false);
    EXPECT_FALSE(InputQuery(u"Port", u"Name:", value));
    EXPECT_EQ(value, u"COM7");
    dialogs.AnswerInput({}, false);
    EXPECT_EQ(InputBox(u"Port", u"Name:", u"COM3"), u"COM3") << "cancelled: the default";
    dialogs.AnswerInput({u"COM9"});
    EXPECT_EQ(InputBox(u"Port", u"Name:", u"COM3"), u"COM9");

    // Several fields; a prompt starting below '!' is a password field and loses its mark.
    std::vector<String> values{u"admin", u""};
    dialogs.AnswerInput({u"root", u"secret"});
    EXPECT_TRUE(InputQuery(u"Login", {u"User:", String(1, u'\x01') + u"Password:"}, values));
    EXPECT_EQ(values, (std::vector<String>{u"root", u"secret"}));
    const win32::InputRequest& asked = dialogs.Records().back().input;
    EXPECT_EQ(asked.caption, u"Login");
    EXPECT_EQ(asked.prompts, (std::vector<String>{u"User:", u"Password:"}));
    EXPECT_EQ(asked.masked, (std::vector<bool>{false, true}));
    EXPECT_EQ(asked.values, (std::vector<String>{u"admin", u""})) << "the initial texts are asked";

    std::vector<String> one{u"a"};
    EXPECT_THROW(InputQuery(u"x", {u"A:", u"B:"}, one), EInvalidOperation);
}

// ---- The real dialog window ----

// Runs a step inside the modal loop of the dialog: a message posted before the dialog starts reaches
// this window from the dialog's own loop. Should the step leave the dialog open, a timer (which comes
// after the step's input) presses Enter on it, so that a fault fails the test instead of hanging it.
// Meanwhile boxes are shown as real windows, whatever service the test program installed.
class DialogDriver {
public:
    DialogDriver() : FPrevious(win32::SetDialogService(nullptr)) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.lpszClassName = u"DialogDriver";
        RegisterClassW(&windowClass);
        FWindow =
            CreateWindowExW(0, u"DialogDriver", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    ~DialogDriver() {
        DestroyWindow(FWindow);
        win32::SetDialogService(FPrevious);
    }

    void Then(std::function<void()> step) {
        Step() = std::move(step);
        PostMessageW(FWindow, WM_USER, 0, 0);
    }

private:
    static std::function<void()>& Step() {
        static std::function<void()> step;
        return step;
    }
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_USER && Step()) {
            auto step = std::move(Step());
            Step() = nullptr;
            step();
            SetTimer(hwnd, 1, 10, nullptr);
            Clock::Advance(10);
            return 0;
        }
        if (message == WM_TIMER) {
            KillTimer(hwnd, 1);
            HWND active = GetActiveWindow();
            Char className[16] = {};
            GetClassNameW(active, className, 16);
            if (String(className) == u"#32770") {
                ADD_FAILURE() << "the dialog stayed open";
                PostMessageW(active, WM_KEYDOWN, VK_RETURN, 0);
            }
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    win32::DialogService* FPrevious;
    HWND FWindow;
};

void Press(int key) {
    win32::input::PressKey(key);
}

struct WindowKeysCase {
    const char* name;
    UINT type;
    std::vector<int> keys;
    int expected;
};

void PrintTo(const WindowKeysCase& c, std::ostream* os) {
    *os << c.name;
}

class DialogWindowKeys : public testing::TestWithParam<WindowKeysCase> {
protected:
    void SetUp() override { win32::input::Reset(); }
};

TEST_P(DialogWindowKeys, ChooseTheButton) {
    const WindowKeysCase& c = GetParam();
    DialogDriver driver;
    HWND seen = nullptr;
    Char className[16] = {};
    driver.Then([&] {
        seen = GetActiveWindow();
        GetClassNameW(seen, className, 16);
        for (int key : c.keys)
            Press(key);
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Really?", u"Question", c.type), c.expected);
    EXPECT_EQ(String(className), u"#32770") << "the dialog was the active window";
    EXPECT_FALSE(IsWindow(seen)) << "the dialog is gone afterwards";
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogWindowKeys,
    testing::Values(
        WindowKeysCase{"EnterChoosesTheDefault", MB_YESNOCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        WindowKeysCase{"EscapeCancels", MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        WindowKeysCase{"TabMovesToTheNextButton", MB_OKCANCEL, {VK_TAB, VK_RETURN}, IDCANCEL},
        WindowKeysCase{"ArrowsMoveBetweenButtons",
                       MB_ABORTRETRYIGNORE,
                       {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_RETURN},
                       IDRETRY},
        WindowKeysCase{"EscapeDoesNotCloseYesNo", MB_YESNO, {VK_ESCAPE, VK_RIGHT, VK_RETURN}, IDNO},
        WindowKeysCase{"EscapeAnswersOkInAnOkBox", MB_OK, {VK_ESCAPE}, IDOK}),
    [](const testing::TestParamInfo<WindowKeysCase>& info) { return std::string(info.param.name); });

TEST(Dialogs, AClickOnAButtonOfTheWindowChoosesIt) {
    win32::input::Reset();
    DialogDriver driver;
    driver.Then([] {
        HWND dialog = GetActiveWindow();
        RECT client{};
        GetClientRect(dialog, &client);
        // Two buttons of 75 x 23, 6 apart, centred on the bottom row with a margin of 12 below.
        int left = (client.right - (2 * 75 + 6)) / 2;
        POINT cancel{left + 75 + 6 + 37, client.bottom - 12 - 11};
        ClientToScreen(dialog, &cancel);
        win32::input::Click(win32::input::Button::Left, cancel.x, cancel.y);
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Close the port?", u"Port", MB_OKCANCEL), IDCANCEL);
}

TEST(Dialogs, TheInputWindowTakesTypedTextAndDisablesItsOwnerMeanwhile) {
    win32::input::Reset();
    DialogDriver driver;
    HWND owner = CreateWindowExW(0, u"DialogDriver", u"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    bool ownerEnabledMeanwhile = true;
    driver.Then([&] {
        ownerEnabledMeanwhile = IsWindowEnabled(owner);
        Press(VK_BACK); // the field starts with the initial text
        for (Char c : String(u"7X"))
            win32::input::TypeCharacter(c);
        Press(VK_BACK);
        Press(VK_RETURN);
    });
    win32::InputRequest request;
    request.owner = owner;
    request.caption = u"Port";
    request.prompts = {u"Name:"};
    request.values = {u"COM1"};
    EXPECT_TRUE(win32::WindowDialogService().InputQuery(request));
    EXPECT_EQ(request.values, std::vector<String>{u"COM7"});
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));

    driver.Then([&] { Press(VK_ESCAPE); });
    request.values = {u"COM1"};
    EXPECT_FALSE(win32::WindowDialogService().InputQuery(request));
    EXPECT_EQ(request.values, std::vector<String>{u"COM1"});
    DestroyWindow(owner);
}

TEST(Dialogs, AQuitReadByTheDialogCancelsItAndReachesTheCallersLoop) {
    DialogDriver driver;
    driver.Then([] { PostQuitMessage(3); });
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"y", MB_OKCANCEL), IDCANCEL);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

} // namespace
