// What the console's tests share: a fresh registry per test, the six windows made as the program makes
// them, dialogs answered by the test, the manual clock and a pump of the GUI thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Main.h"
#include "platform/win32/dialogs.h"

namespace console_testing {

class ConsoleTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the six windows in the program's order (each runs its FormCreate).
    void StartConsole();
    // Frees them as the program's end does, after the main window's closing.
    void StopConsole();
    // Moves the manual clock in steps of at most stepMilliseconds, serving what becomes due.
    static void Advance(UInt64 milliseconds, UInt64 stepMilliseconds = 50);
    static void Pump();
    // Serves the GUI thread, on the real clock, until done holds or five seconds passed.
    static bool PumpUntil(const std::function<bool()>& done);

    static String Setting(const String& key, const String& name);
    static void SetSetting(const String& key, const String& name, const String& value);
    // The value names of a key in the registry file's order, and the texts of every message shown.
    static std::vector<std::string> ValueNames(const String& key);
    std::vector<std::string> Messages() const;

    std::unique_ptr<win32::RecordingDialogService> FDialogs;
};

// The registry file of the test run.
std::string RegistryFile();

} // namespace console_testing
