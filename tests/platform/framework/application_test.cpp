// TApplication: the loop (ProcessMessages, HandleMessage, Run, Terminate), CreateForm and the main form,
// exceptions reaching the loop, idle processing with calls from other threads, and the hint settings.
#include <gtest/gtest.h>
#include <thread>

#include "platform/framework/Application.h"
#include "platform/framework/DataModule.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/controls_testing.h"

class TAppTestModule : public TDataModule {
    DECLARE_CLASS(TAppTestModule, TDataModule)

public:
    explicit TAppTestModule(TComponent* owner) : TDataModule(owner, 0) {}
};

DEFINE_CLASS(TAppTestModule)

namespace {

// A window whose procedure runs what the test gives it for each posted WM_USER.
class Poster {
public:
    Poster() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Proc;
        windowClass.lpszClassName = u"AppTestPoster";
        RegisterClassW(&windowClass);
        FWindow =
            CreateWindowExW(0, u"AppTestPoster", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Poster() { DestroyWindow(FWindow); }
    HWND Window() const { return FWindow; }

    void Post(std::function<void()> action) {
        FActions.push_back(std::move(action));
        PostMessageW(FWindow, WM_USER, FActions.size() - 1, 0);
    }

private:
    static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Poster*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_USER && self) {
            self->FActions.at(wParam)();
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    HWND FWindow;
    std::vector<std::function<void()>> FActions;
};

// A fresh application stands in for the program's for each test, so that Terminated and the main form
// start afresh.
class ApplicationFixture : public testing::Test {
protected:
    ApplicationFixture() : FApp(nullptr), FProgramApplication(Application) {
        FApp.SetTitle(u"Console");
        Application = &FApp;
    }
    ~ApplicationFixture() override { Application = FProgramApplication; }
    TApplication FApp;
    TApplication* FProgramApplication;
    Poster FPoster;
};

TEST_F(ApplicationFixture, ProcessMessagesServesWhatWaitsAndTerminateEndsAtTheQuit) {
    std::vector<int> served;
    FPoster.Post([&] { served.push_back(1); });
    FPoster.Post([&] {
        served.push_back(2);
        FPoster.Post([&] { served.push_back(3); }); // posted meanwhile: served in the same call
    });
    FApp.ProcessMessages();
    EXPECT_EQ(served, (std::vector<int>{1, 2, 3}));
    FApp.ProcessMessages(); // nothing waiting: returns at once

    FApp.Terminate();
    EXPECT_FALSE(FApp.Terminated()) << "only once the loop reads the quit";
    FApp.HandleMessage();
    EXPECT_TRUE(FApp.Terminated());
}

TEST_F(ApplicationFixture, OnMessageCanTakeAMessageBeforeItIsDispatched) {
    int served = 0;
    FPoster.Post([&] { ++served; });
    FPoster.Post([&] { ++served; });
    int seen = 0;
    // Only the poster's messages: a thread of an earlier test may still post its wake-up (also
    // WM_USER) to the main thread's hidden window.
    FApp.OnMessage = [&](MSG& msg, bool& handled) {
        if (msg.message == WM_USER && msg.hwnd == FPoster.Window())
            handled = ++seen == 1;
    };
    FApp.ProcessMessages();
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(served, 1);
}

TEST_F(ApplicationFixture, CreateFormMakesTheFirstFormTheMainFormAndRunShowsIt) {
    TAppTestModule* module = nullptr;
    TForm* main = nullptr;
    TForm* second = nullptr;
    FApp.CreateForm(TAppTestModule::StaticClass(), module);
    FApp.CreateForm(TForm::StaticClass(), main);
    FApp.CreateForm(TForm::StaticClass(), second);
    ASSERT_TRUE(module && main && second);
    EXPECT_EQ(FApp.MainForm(), main) << "a data module never becomes the main form";
    ASSERT_EQ(FApp.ComponentCount(), 3);
    EXPECT_EQ(FApp.Components(0), module);
    EXPECT_EQ(FApp.Components(2), second);

    bool visibleWhileRunning = false;
    int idles = 0;
    FApp.OnIdle = [&](TObject* sender, bool& done) {
        EXPECT_EQ(sender, &FApp);
        visibleWhileRunning = main->Visible();
        if (++idles == 2)
            FApp.Terminate();
        done = false; // asks for another idle round instead of waiting
    };
    FPoster.Post([&] { EXPECT_TRUE(FApp.Running()); });
    FApp.Run();
    EXPECT_TRUE(FApp.Terminated());
    EXPECT_FALSE(FApp.Running());
    EXPECT_TRUE(visibleWhileRunning);
    EXPECT_FALSE(second->Visible()) << "only the main form shows";
    EXPECT_EQ(idles, 2);

    main->Free();
    EXPECT_EQ(FApp.MainForm(), nullptr) << "a freed main form is forgotten";
}

TEST_F(ApplicationFixture, ClosingTheMainFormEndsRun) {
    TForm* main = nullptr;
    FApp.CreateForm(TForm::StaticClass(), main);
    FPoster.Post([&] { main->Close(); });
    FApp.Run();
    EXPECT_TRUE(FApp.Terminated());
}

TEST_F(ApplicationFixture, RunWithoutAMainFormReturnsAtOnce) {
    int idles = 0;
    FApp.OnIdle = [&](TObject*, bool&) { ++idles; };
    FApp.Run();
    EXPECT_EQ(idles, 0);
}

TEST_F(ApplicationFixture, AnExceptionReachingTheLoopIsShownAndTheLoopGoesOn) {
    win32::RecordingDialogService dialogs;
    int after = 0;
    FPoster.Post([] { throw EConvertError(u"'abc' is not a valid integer value"); });
    FPoster.Post([&] { ++after; });
    FApp.ProcessMessages();
    EXPECT_EQ(after, 1) << "the next message is still served";
    ASSERT_EQ(dialogs.Records().size(), 1u);
    const win32::MessageRequest& shown = dialogs.Records()[0].message;
    EXPECT_EQ(shown.caption, u"Console");
    EXPECT_EQ(shown.text, u"'abc' is not a valid integer value.");
    EXPECT_EQ(shown.icon, win32::DialogIcon::Error);
    EXPECT_EQ(shown.buttons, std::vector<win32::DialogButton>{win32::DialogButton::Ok});
}

TEST_F(ApplicationFixture, ShowExceptionEndsTheTextWithAFullStopUnlessItEndsInPunctuation) {
    struct Case {
        const Char* message;
        const Char* shown;
    } cases[] = {
        {u"Port busy", u"Port busy."},
        {u"Port busy.", u"Port busy."},
        {u"Done!", u"Done!"},
        {u"Sure?", u"Sure?."}, // '?' sorts after the full stop, so the framework adds one
        {u"(12)", u"(12)"},
        {u"", u""},
    };
    win32::RecordingDialogService dialogs;
    for (const Case& c : cases) {
        FApp.ShowException(Exception(c.message));
        EXPECT_EQ(dialogs.Records().back().message.text, c.shown) << StringToUtf8(c.message);
    }
}

TEST_F(ApplicationFixture, HandleExceptionDropsAbortAndPrefersOnException) {
    win32::RecordingDialogService dialogs;
    auto raise = [&](auto&& e) {
        try {
            throw e;
        } catch (...) {
            FApp.HandleException(&FApp);
        }
    };
    raise(EAbort(u"quiet"));
    EXPECT_TRUE(dialogs.Records().empty());
    raise(std::runtime_error("from the library"));
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].message.text, u"from the library.");

    std::vector<String> handled;
    FApp.OnException = [&](TObject* sender, Exception& e) {
        EXPECT_EQ(sender, &FApp);
        handled.push_back(e.ClassName() + u": " + e.Message());
    };
    raise(EConvertError(u"bad"));
    raise(42);
    EXPECT_EQ(handled,
              (std::vector<String>{u"EConvertError: bad", u"Exception: Exception of an unknown type"}));
    EXPECT_EQ(dialogs.Records().size(), 1u);
}

TEST_F(ApplicationFixture, CallsOfOtherThreadsRunInTheLoop) {
    std::vector<std::string> calls;
    std::thread other([&] { TThread::Queue(nullptr, [&] { calls.push_back("queued"); }); });
    other.join();
    FApp.HandleMessage();
    EXPECT_EQ(calls, std::vector<std::string>{"queued"});
}

// The GUI thread, inside a message handler of its loop, waits for a thread that needs it (Synchronize).
class SynchronizingThread : public TThread {
public:
    SynchronizingThread() : TThread(false) {}
    int served = 0;

protected:
    void Execute() override {
        for (int i = 0; i < 3; ++i)
            Synchronize([this] { ++served; });
    }
};

TEST_F(ApplicationFixture, SynchronizeWhileTheLoopWaitsForTheThreadDoesNotDeadlock) {
    TForm* main = nullptr;
    FApp.CreateForm(TForm::StaticClass(), main);
    int served = -1;
    FPoster.Post([&] {
        auto* thread = CreateInstance<SynchronizingThread>();
        thread->WaitFor();
        served = thread->served;
        thread->Free();
        FApp.Terminate();
    });
    FApp.Run();
    EXPECT_EQ(served, 3);
}

TEST_F(ApplicationFixture, AnExceptionOfACallFromAnotherThreadIsShown) {
    win32::RecordingDialogService dialogs;
    std::thread other([] { TThread::Queue(nullptr, [] { throw EConvertError(u"from the thread"); }); });
    other.join();
    FApp.ProcessMessages();
    EXPECT_EQ(dialogs.Records().at(0).message.caption, u"Console");
    ASSERT_EQ(dialogs.Records().size(), 1u);
    EXPECT_EQ(dialogs.Records()[0].message.text, u"from the thread.");
}

TEST_F(ApplicationFixture, HintSettingsAndTheStatusBarHint) {
    EXPECT_TRUE(FApp.ShowHint());
    EXPECT_EQ(FApp.HintColor(), clInfoBk);
    EXPECT_EQ(FApp.HintPause(), 500);
    EXPECT_EQ(FApp.HintShortPause(), 50);
    EXPECT_EQ(FApp.HintHidePause(), 2500);
    EXPECT_EQ(FApp.HintWindowClass(), THintWindow::StaticClass());
    EXPECT_FALSE(FApp.IsLibrary());

    int changes = 0;
    FApp.OnHint = [&](TObject* sender) {
        EXPECT_EQ(sender, &FApp);
        ++changes;
    };
    FApp.SetHint(u"Opens the port");
    FApp.SetHint(u"Opens the port");
    FApp.SetHint(u"");
    EXPECT_EQ(changes, 2) << "only a change fires OnHint";
    EXPECT_EQ(FApp.Hint(), u"");
}

TEST(Application, TitleDefaultsToTheProgramName) {
    TApplication app(nullptr);
    EXPECT_EQ(app.Title(), u"framework_tests");
}

} // namespace

// ---- Hints ----
// A form with a panel and a graphic control that show hints, over the application's own loop.

namespace {

class ApplicationHints : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Application->OnMessage = nullptr; // the loop routes keys itself
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 300, 200);
        FPanel = new TCtlPanel(FForm);
        FPanel->SetParent(FForm);
        FPanel->SetBounds(10, 10, 100, 50);
        FPanel->SetHint(u"Port|Opens the port");
        FPanel->SetShowHint(true);
        FShape = new TCtlShape(FForm);
        FShape->SetParent(FForm);
        FShape->SetBounds(150, 10, 50, 50);
        FShape->SetHint(u"Shape");
        FShape->SetShowHint(true);
        FForm->Show();
        Pump();
    }
    void TearDown() override {
        Application->CancelHint();
        Application->OnShowHint = nullptr;
        Application->OnHint = nullptr;
        Application->SetShowHint(true);
        ControlsTest::TearDown();
    }

    // A point of control on the screen, through the window of the control or of its parent.
    static TPoint OnScreen(TControl* control, int x, int y) {
        auto* winControl = dynamic_cast<TWinControl*>(control);
        POINT pos = winControl ? POINT{x, y} : POINT{control->Left() + x, control->Top() + y};
        ClientToScreen(winControl ? winControl->Handle() : control->Parent()->Handle(), &pos);
        return TPoint(pos.x, pos.y);
    }
    // Moves the mouse to a point of control and serves what it caused.
    void MoveTo(TControl* control, int x, int y) {
        TPoint pos = OnScreen(control, x, y);
        win32::input::MouseMove(pos.X, pos.Y);
        Pump();
    }
    void Wait(UInt64 milliseconds) {
        Clock::Advance(milliseconds);
        Pump();
    }
    // The text of the hint window that is up, or "(none)".
    static String ShownHint() {
        HWND hint = FindWindowW(u"THintWindow", nullptr);
        if (!hint || !IsWindowVisible(hint))
            return u"(none)";
        Char text[64] = {};
        GetWindowTextW(hint, text, 64);
        return text;
    }

    TForm* FForm = nullptr;
    TCtlPanel* FPanel = nullptr;
    TCtlShape* FShape = nullptr;
};

TEST_F(ApplicationHints, AppearAfterThePauseBelowTheCursorAndHideAfterTheHidePause) {
    MoveTo(FPanel, 20, 20);
    Wait(499);
    EXPECT_EQ(ShownHint(), u"(none)");
    Wait(1);
    EXPECT_EQ(ShownHint(), u"Port") << "the short part of the hint";
    RECT rect{};
    GetWindowRect(FindWindowW(u"THintWindow", nullptr), &rect);
    TPoint cursor = OnScreen(FPanel, 20, 20);
    EXPECT_EQ(rect.left, cursor.X);
    EXPECT_GT(rect.top, cursor.Y);

    MoveTo(FPanel, 25, 22); // moving inside the control keeps it
    Wait(2499);
    EXPECT_EQ(ShownHint(), u"Port");
    Wait(1);
    EXPECT_EQ(ShownHint(), u"(none)") << "after the hide pause";
    MoveTo(FPanel, 30, 25);
    Wait(1000);
    EXPECT_EQ(ShownHint(), u"(none)") << "not again until the mouse leaves the control";
}

TEST_F(ApplicationHints, AnotherControlWhileAHintIsUpShowsAfterTheShortPause) {
    MoveTo(FPanel, 20, 20);
    Wait(500);
    ASSERT_EQ(ShownHint(), u"Port");
    MoveTo(FShape, 10, 10);
    EXPECT_EQ(ShownHint(), u"(none)");
    Wait(49);
    EXPECT_EQ(ShownHint(), u"(none)");
    Wait(1);
    EXPECT_EQ(ShownHint(), u"Shape");

    // Without a hint control under the mouse the hint is cancelled.
    MoveTo(FForm, 250, 150);
    EXPECT_EQ(ShownHint(), u"(none)");
    Wait(1000);
    EXPECT_EQ(ShownHint(), u"(none)");
}

TEST_F(ApplicationHints, AKeyOrAClickTakesTheHintAway) {
    MoveTo(FPanel, 20, 20);
    Wait(500);
    ASSERT_EQ(ShownHint(), u"Port");
    Press(VK_SHIFT);
    EXPECT_EQ(ShownHint(), u"(none)");
}

TEST_F(ApplicationHints, OnShowHintAndShowHintDecide) {
    Application->OnShowHint = [this](String& hintStr, bool& canShow, THintInfo& info) {
        EXPECT_EQ(info.HintControl, FPanel);
        EXPECT_EQ(info.HideTimeout, 2500);
        EXPECT_EQ(info.CursorPos, TPoint(20, 20));
        hintStr = u"Changed";
    };
    MoveTo(FPanel, 20, 20);
    Wait(500);
    EXPECT_EQ(ShownHint(), u"Changed");
    Application->CancelHint();

    Application->OnShowHint = [](String&, bool& canShow, THintInfo&) { canShow = false; };
    MoveTo(FShape, 10, 10);
    Wait(500);
    EXPECT_EQ(ShownHint(), u"(none)");

    Application->OnShowHint = nullptr;
    Application->SetShowHint(false);
    MoveTo(FPanel, 20, 20);
    Wait(1000);
    EXPECT_EQ(ShownHint(), u"(none)");
}

TEST_F(ApplicationHints, TheStatusBarHintFollowsTheMouseWhileIdle) {
    std::vector<String> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    Application->OnIdle = [](TObject*, bool& done) { done = false; };
    MoveTo(FPanel, 20, 20);
    Application->HandleMessage();
    MoveTo(FShape, 5, 5);
    Application->HandleMessage();
    MoveTo(FForm, 250, 150);
    Application->HandleMessage();
    EXPECT_EQ(hints, (std::vector<String>{u"Opens the port", u"Shape", u""}));
}

// A disabled control, windowed or not, still gives its hint: a disabled field may tell what it shows.
TEST_F(ApplicationHints, DisabledControlsShowTheirHints) {
    FPanel->SetEnabled(false);
    FShape->SetEnabled(false);
    std::vector<String> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    Application->OnIdle = [](TObject*, bool& done) { done = false; };
    MoveTo(FPanel, 20, 20);
    Application->HandleMessage();
    Wait(500);
    EXPECT_EQ(ShownHint(), u"Port");
    MoveTo(FShape, 5, 5);
    Application->HandleMessage();
    Wait(500);
    EXPECT_EQ(ShownHint(), u"Shape");
    EXPECT_EQ(hints, (std::vector<String>{u"Opens the port", u"Shape"}));
}

TEST_F(ApplicationHints, AControlFreedWhileItsHintIsPendingIsForgotten) {
    MoveTo(FPanel, 20, 20);
    FPanel->Free();
    Wait(500);
    EXPECT_EQ(ShownHint(), u"(none)");
}

} // namespace
