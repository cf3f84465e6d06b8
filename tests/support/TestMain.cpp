// The main of every test program: an off-screen platform, the manual clock, fixed English format
// settings and a private ZELMOR_HOME for the run.
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"
#include "platform/win32/dialogs.h"
#include "tests/support/TestSupport.h"

namespace testing_support {

std::string gHome;

const std::string& TestHome() {
    return gHome;
}

std::string MakeTestFolder(const std::string& name) {
    std::string folder = gHome + "/" + name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

TDateTime TestEpoch() {
    // 2026-01-15 is day 46037 after 1899-12-30; 10:30 is 0.4375 of a day.
    return 46037.0 + 0.4375;
}

} // namespace testing_support

namespace {

// Resets what one test may have changed, so that tests do not depend on their order.
class PlatformEnvironment : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        FormatSettings = DefaultFormatSettings();
        Clock::UseManualClock(testing_support::TestEpoch());
    }
};

// A message box or input query that no test asked for would wait for a user who never comes: it fails
// the test and is answered at once. Tests that script answers install their own service over this one;
// the common dialogs go on as without a service.
class UnexpectedDialogs : public win32::DialogService {
public:
    UnexpectedDialogs() { win32::SetDialogService(this); }
    ~UnexpectedDialogs() override { win32::SetDialogService(nullptr); }

    win32::DialogButton ShowMessage(const win32::MessageRequest& request) override {
        ADD_FAILURE() << "a message box no test expected: " << StringToUtf8(request.caption) << ": "
                      << StringToUtf8(request.text);
        return request.buttons.empty() ? win32::DialogButton::Ok : request.buttons[request.defaultButton];
    }
    bool InputQuery(win32::InputRequest& request) override {
        ADD_FAILURE() << "an input query no test expected: " << StringToUtf8(request.caption);
        return false;
    }
    bool FileDialog(win32::FileRequest& request) override {
        return win32::WindowDialogService().FileDialog(request);
    }
    bool SelectFolder(win32::FolderRequest& request) override {
        return win32::WindowDialogService().SelectFolder(request);
    }
    bool ChooseColor(win32::ColorRequest& request) override {
        return win32::WindowDialogService().ChooseColor(request);
    }
    bool ChooseFont(win32::FontRequest& request) override {
        return win32::WindowDialogService().ChooseFont(request);
    }
    bool PrintDialog(win32::PrintRequest& request) override {
        return win32::WindowDialogService().PrintDialog(request);
    }
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    std::string home = backend::MakeTemporaryDirectory("zelmor-test-");
    if (home.empty()) {
        std::fprintf(stderr, "cannot create a temporary ZELMOR_HOME\n");
        return 2;
    }
    testing_support::gHome = home;
    backend::SetEnvironment("ZELMOR_HOME", home);
    if (!backend::StartPlatform(argc, argv)) {
        std::fprintf(stderr, "cannot start the off-screen platform\n");
        return 2;
    }
    testing::UnitTest::GetInstance()->listeners().Append(new PlatformEnvironment);
    int result = 0;
    {
        UnexpectedDialogs unexpected;
        result = RUN_ALL_TESTS();
    }
    backend::StopPlatform();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
