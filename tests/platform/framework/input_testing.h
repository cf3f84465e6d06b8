// Key input through the backend's entry points, as a user gives it; the caller serves the queue.
#pragma once

#include <string>

#include "platform/framework/Controls.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"

namespace input_testing {

// Presses key with Shift and Ctrl held as shift says.
inline void PressWith(int key, TShiftState shift) {
    if (shift.Contains(ssShift))
        win32::input::Key(VK_SHIFT, true);
    if (shift.Contains(ssCtrl))
        win32::input::Key(VK_CONTROL, true);
    win32::input::PressKey(key);
    if (shift.Contains(ssCtrl))
        win32::input::Key(VK_CONTROL, false);
    if (shift.Contains(ssShift))
        win32::input::Key(VK_SHIFT, false);
}

inline void TypeText(const std::u16string& text) {
    for (Char c : text)
        win32::input::TypeCharacter(c);
}

} // namespace input_testing
