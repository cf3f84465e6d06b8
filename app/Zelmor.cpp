// The program's main block: starts the platform, builds the console's six windows in their order and
// runs the message loop until the main window closes.
#include <cstdio>

#include "app/About.h"
#include "app/Factory.h"
#include "app/Main.h"
#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/Setup.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/servers/Servers.h"

int main(int argc, char** argv) {
    if (!backend::StartPlatform(argc, argv)) {
        std::fprintf(stderr,
                     "zelmor: no display to show windows on (set DISPLAY, or QT_QPA_PLATFORM=offscreen)\n");
        return 1;
    }
    LoadLocaleFormatSettings();
    servers::RegisterServers();
    RegisterConsoleClasses();
    Application->Initialize();
    Application->CreateForm(TMain::StaticClass(), Main);
    Application->CreateForm(TForm1::StaticClass(), Form1);
    Application->CreateForm(TForm2::StaticClass(), Form2);
    Application->CreateForm(TMsrSetings::StaticClass(), MsrSetings);
    Application->CreateForm(TFactorySettings::StaticClass(), FactorySettings);
    Application->CreateForm(TModulesDataSet::StaticClass(), ModulesDataSet);
    Application->Run();
    // The framework frees every window with its components when the program ends; the port's event
    // thread ends with the Setup window.
    Application->DestroyComponents();
    backend::StopPlatform();
    return 0;
}
