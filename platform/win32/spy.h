// Names of window messages, for traces and for the message logs of tests.
#pragma once

#include <string>

#include "platform/win32/wintypes.h"

struct HWND__;
using HWND = HWND__*;

namespace win32 {

// "WM_PAINT", "WM_USER+5", "WM_APP+1", a registered message's name, or "0x1234".
std::string MessageName(UINT message);

// As above, naming a message from WM_USER up as the class of hwnd knows it ("TBM_SETPOS" for a track bar,
// "EM_EXSETSEL" for a rich edit); a message the class does not name, or a window that is gone, as above.
// The last error is left as it was.
std::string MessageName(UINT message, HWND hwnd);

} // namespace win32
