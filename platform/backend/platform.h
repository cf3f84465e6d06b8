// Starting and stopping the platform's connection to the desktop, and where the platform keeps its files.
#pragma once

#include <string>

namespace backend {

// Connects to the desktop (or to the off-screen platform when QT_QPA_PLATFORM says so). Safe to call
// more than once; later calls do nothing. Returns false when no desktop can be reached, or when the
// fonts the platform draws with are missing (named on stderr).
bool StartPlatform(int argc, char** argv);
void StopPlatform();
bool PlatformStarted();
// Name of the window system in use ("xcb", "offscreen", ...), empty before the start.
std::string PlatformName();

// The folder of the user's settings: $ZELMOR_HOME, else ${XDG_CONFIG_HOME:-$HOME/.config}/zelmor.
std::string ZelmorHome();

} // namespace backend
