// The console as the operator sees it, on a real X server (a virtual one under xvfb-run): its main window
// shown at its size, connected to the module simulator on a pseudo-terminal with the real clock, fills
// the five module grids within a few seconds of polling. Without an X server the test skips.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "app/About.h"
#include "app/Factory.h"
#include "app/Main.h"
#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/Setup.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/backend/process.h"
#include "platform/backend/windowing.h"
#include "platform/framework/Application.h"
#include "platform/framework/Thread.h"
#include "platform/win32/dialogs.h"

namespace {

bool gStarted = false;

// Serves the console and the desktop's events until done holds or seconds of real time passed.
bool ServeUntil(const std::function<bool()>& done, int seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        CheckSynchronize(0);
        Application->ProcessMessages();
        backend::WaitForEvents(10);
    }
    return true;
}

TEST(ConsoleOnADisplay, FiveModulesReportInTheShownWindow) {
    if (!gStarted)
        GTEST_SKIP() << "no X server";
    backend::ChildProcess sim;
    int error = 0;
    ASSERT_TRUE(sim.Start({ZELMOR_MODULE_SIM}, &error)) << error;
    std::string path;
    ASSERT_TRUE(sim.ReadLine(path, 5000));

    win32::RecordingDialogService dialogs;
    RegisterConsoleClasses();
    Application->CreateForm(TMain::StaticClass(), Main);
    Application->CreateForm(TForm1::StaticClass(), Form1);
    Application->CreateForm(TForm2::StaticClass(), Form2);
    Application->CreateForm(TMsrSetings::StaticClass(), MsrSetings);
    Application->CreateForm(TFactorySettings::StaticClass(), FactorySettings);
    Application->CreateForm(TModulesDataSet::StaticClass(), ModulesDataSet);
    Main->Show();
    ASSERT_TRUE(ServeUntil([] { return IsWindowVisible(Main->Handle()); }, 10));
    EXPECT_EQ(Main->ClientWidth(), 1360);
    EXPECT_EQ(Main->ClientHeight(), 833);

    Form2->ComPort1->SetPort(Utf8ToString(path));
    Main->ConectClick(Main->Conect);
    ASSERT_TRUE(Form2->ComPort1->Connected());
    const bool allReported = ServeUntil(
        [] {
            for (int m = 1; m <= kModuleCount; ++m)
                if (Main->Module(m).data->Cells(1, 1).empty())
                    return false;
            return true;
        },
        20);
    EXPECT_TRUE(allReported);
    EXPECT_EQ(Main->Module3Data->Cells(1, 1), u"300");
    EXPECT_EQ(Main->Module5Data->Cells(1, 2), u"501");
    Main->ConectClick(Main->Conect);
    EXPECT_TRUE(dialogs.Records().empty());
    Application->DestroyComponents();
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string home;
    if (!backend::GetEnvironment("DISPLAY").empty()) {
        backend::SetEnvironment("QT_QPA_PLATFORM", "xcb");
        if (backend::GetEnvironment("DBUS_SESSION_BUS_ADDRESS").empty())
            backend::SetEnvironment("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        home = backend::MakeTemporaryDirectory("zelmor-console-smoke-");
        backend::SetEnvironment("ZELMOR_HOME", home);
        gStarted = backend::StartPlatform(argc, argv);
    }
    const int result = RUN_ALL_TESTS();
    if (gStarted)
        backend::StopPlatform();
    if (!home.empty())
        std::filesystem::remove_all(home);
    return result;
}
