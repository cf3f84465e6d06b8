// The program's main block: starts the platform and runs the console.
#include <cstdio>

#include "platform/backend/platform.h"
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
    std::printf("zelmor: platform started on \"%s\"; there are no windows yet\n",
                backend::PlatformName().c_str());
    backend::StopPlatform();
    return 0;
}
