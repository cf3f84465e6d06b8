// The shared fixture of the console's tests.
#include "tests/app/ConsoleTesting.h"

#include <chrono>
#include <filesystem>

#include "app/About.h"
#include "app/Factory.h"
#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/Setup.h"
#include "platform/framework/Application.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Registry.h"
#include "platform/servers/Servers.h"
#include "tests/support/TestSupport.h"

namespace console_testing {

std::string RegistryFile() {
    return testing_support::TestHome() + "/user.reg";
}

void ConsoleTest::SetUp() {
    std::filesystem::remove(RegistryFile());
    FDialogs = std::make_unique<win32::RecordingDialogService>();
    RegisterConsoleClasses();
    servers::RegisterServers();
}

void ConsoleTest::TearDown() {
    StopConsole();
    FDialogs.reset();
}

void ConsoleTest::StartConsole() {
    Main = CreateInstance<TMain>(nullptr);
    Form1 = CreateInstance<TForm1>(nullptr);
    Form2 = CreateInstance<TForm2>(nullptr);
    MsrSetings = CreateInstance<TMsrSetings>(nullptr);
    FactorySettings = CreateInstance<TFactorySettings>(nullptr);
    ModulesDataSet = CreateInstance<TModulesDataSet>(nullptr);
}

void ConsoleTest::StopConsole() {
    if (Main == nullptr)
        return;
    if (Form2->ComPort1->Connected())
        Form2->ComPort1->Close();
    ModulesDataSet->Free();
    FactorySettings->Free();
    MsrSetings->Free();
    Form2->Free();
    Form1->Free();
    Main->Free();
    ModulesDataSet = nullptr;
    FactorySettings = nullptr;
    MsrSetings = nullptr;
    Form2 = nullptr;
    Form1 = nullptr;
    Main = nullptr;
    AutosaveDir.clear();
    PickedDataIndex = {};
    Pump();
}

void ConsoleTest::Advance(UInt64 milliseconds, UInt64 stepMilliseconds) {
    while (milliseconds > 0) {
        const UInt64 step = std::min(milliseconds, stepMilliseconds);
        Clock::Advance(step);
        Pump();
        milliseconds -= step;
    }
}

void ConsoleTest::Pump() {
    CheckSynchronize(0);
    Application->ProcessMessages();
}

bool ConsoleTest::PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        CheckSynchronize(5);
        Application->ProcessMessages();
    }
    return true;
}

String ConsoleTest::Setting(const String& key, const String& name) {
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(key) || !registry.ValueExists(name))
        return u"<missing>";
    return registry.ReadString(name);
}

void ConsoleTest::SetSetting(const String& key, const String& name, const String& value) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(key, true));
    registry.WriteString(name, value);
}

std::vector<std::string> ConsoleTest::ValueNames(const String& key) {
    TRegistry registry;
    std::vector<std::string> names;
    if (!registry.OpenKeyReadOnly(key))
        return names;
    TStringList list;
    registry.GetValueNames(&list);
    for (Integer i = 0; i < list.Count(); ++i)
        names.push_back(StringToUtf8(list.Strings(i)));
    return names;
}

std::vector<std::string> ConsoleTest::Messages() const {
    std::vector<std::string> texts;
    for (const auto& record : FDialogs->Records())
        if (record.kind == win32::RecordingDialogService::Record::Kind::Message)
            texts.push_back(StringToUtf8(record.message.text));
    return texts;
}

} // namespace console_testing
