// What the system answers about itself, set by tests (and by the desktop backend for the screen): the
// Windows version, the common-controls version, visual styles, high contrast and the screen.
#pragma once

#include "platform/win32/wintypes.h"

namespace win32 {

struct SystemSettings {
    DWORD majorVersion = 6; // Windows 7 with service pack 1
    DWORD minorVersion = 1;
    DWORD buildNumber = 7601;
    WORD servicePack = 1;
    DWORD comctlMajor = 6; // the file version of COMCTL32.DLL
    DWORD comctlMinor = 10;
    bool themesActive = true;
    bool highContrast = false;
    UINT wheelScrollLines = 3;
};

// The settings in force; the defaults until a test changes them.
SystemSettings GetSystemSettings();
// Changes what the system answers. A change of themes or high contrast does not send messages by itself.
void SetSystemSettings(const SystemSettings& settings);
void ResetSystemSettings();
// How many times MessageBeep was called, for tests.
int BeepCount();

} // namespace win32
