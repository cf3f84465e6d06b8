// The window manager's input entry points: the desktop backend turns its keyboard and mouse events into
// these calls, and tests call them directly to type and click. Coordinates are screen pixels. Each call
// queues the messages Win32 would queue (and sends what Win32 sends at once: hit tests, WM_SETCURSOR,
// WM_MOUSEACTIVATE and activation); the messages arrive when the window's thread reads its queue.
#pragma once

#include "platform/win32/winuser.h"

namespace win32::input {

enum class Button { Left, Right, Middle, X1, X2 };

void MouseMove(int x, int y);
void MouseButton(Button button, bool down, int x, int y);
// A press and a release at one point.
void Click(Button button, int x, int y);
// delta in 1/120 of a notch (WHEEL_DELTA), positive away from the user or to the right.
void MouseWheel(int delta, bool horizontal, int x, int y);

// A key going down (again, for auto-repeat) or up. The scan code and the extended bit come from the
// virtual key unless given; keypad keys are VK_NUMPAD0..9, VK_DECIMAL and the rest with Num Lock on,
// and the cursor keys of the keypad (VK_HOME ... with extended false) with it off.
void Key(int virtualKey, bool down);
void Key(int virtualKey, bool down, int scanCode, bool extended);
// Down and up.
void PressKey(int virtualKey);
// A character typed without a key of its own (WM_KEYDOWN with VK_PACKET, which TranslateMessage turns
// into WM_CHAR).
void TypeCharacter(Char c);

// The desktop activated one of our top-level windows, or none of ours (the application lost the focus).
void DesktopActivated(HWND hwnd);
// The desktop moved or sized the desktop window of a top-level window: shown is the screen rectangle it
// shows now (the client area of a window the desktop frames, else the whole window).
void DesktopMoved(HWND hwnd, const RECT& shown);

// Forgets pressed keys and buttons, the last click and mouse tracking: a fresh start for each test.
void Reset();

} // namespace win32::input
