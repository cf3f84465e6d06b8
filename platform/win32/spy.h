// Names of window messages, for traces and for the message logs of tests.
#pragma once

#include <string>

#include "platform/win32/wintypes.h"

namespace win32 {

// "WM_PAINT", "WM_USER+5", "WM_APP+1", a registered message's name, or "0x1234".
std::string MessageName(UINT message);

} // namespace win32
