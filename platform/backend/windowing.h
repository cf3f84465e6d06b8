// Top-level windows on the desktop: the window manager shows each visible top-level window's surface in a
// desktop window, and the desktop's input comes back through the input sink. Without a display (tests,
// CI) no desktop windows exist and the same input sink is driven directly.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/device.h"
#include "platform/backend/region.h"

namespace backend {

enum class MouseButton { Left, Right, Middle, X1, X2 };

// What the desktop tells the window manager; screen coordinates throughout. Every call comes on the GUI
// thread.
class InputSink {
public:
    virtual ~InputSink() = default;
    virtual void MouseMove(int x, int y) = 0;
    virtual void MouseButton(MouseButton button, bool down, int x, int y) = 0;
    // delta in 1/120 of a notch, positive away from the user (or to the right).
    virtual void MouseWheel(int delta, bool horizontal, int x, int y) = 0;
    // virtualKey 0 with text: a character without a key of its own.
    virtual void Key(int virtualKey, int scanCode, bool extended, bool down, char16_t text) = 0;
    // The user activated (or left) the desktop window of a top-level window.
    virtual void HostActivated(std::uintptr_t window, bool active) = 0;
    // The user moved or resized a desktop window; the rectangle is what the host shows.
    virtual void HostGeometryChanged(std::uintptr_t window, int x, int y, int width, int height) = 0;
    virtual void HostCloseRequested(std::uintptr_t window) = 0;
};

struct HostWindowOptions {
    std::uintptr_t window = 0; // the window manager's name for it, passed back to the input sink
    bool framed = false;       // with the desktop's frame and caption; otherwise a bare popup
    bool toolWindow = false;   // no task-bar entry
    bool topmost = false;
    bool noActivate = false; // showing it does not take the focus
    std::u16string title;
};

// One desktop window that shows part of a surface.
class HostWindow {
public:
    virtual ~HostWindow() = default;
    // Screen rectangle of the part shown (the client area for framed windows).
    virtual void SetGeometry(int x, int y, int width, int height) = 0;
    virtual void SetVisible(bool visible, bool activate) = 0;
    virtual void SetTitle(const std::u16string& title) = 0;
    // Minimised or maximised by the program (ShowWindow); the desktop shows it so.
    virtual void SetState(bool minimized, bool maximized) = 0;
    virtual void SetOpacity(double opacity) = 0;
    // Pixels outside the mask are not shown (SetWindowRgn); null shows everything.
    virtual void SetMask(const Region* mask) = 0;
    // Copies the part of the surface at (partX, partY) that the host shows; dirty is in host pixels.
    virtual void Update(const PixelBuffer& surface, int partX, int partY, const Region& dirty) = 0;
    virtual void Raise() = 0;
    virtual void Activate() = 0;
    // One of the standard cursor shapes (IDC_ numbers).
    virtual void SetCursorShape(int shape) = 0;
};

// True when top-level windows are shown on a real display.
bool HostWindowsAvailable();
// A desktop window for a top-level window, or null without a display.
std::unique_ptr<HostWindow> CreateHostWindow(const HostWindowOptions& options);
void SetInputSink(InputSink* sink);

// The GUI thread runs the desktop's events while the window manager waits: returns after events were
// handled, after WakeEventLoop (from any thread), or after timeoutMs (-1: no limit).
bool IsGuiThread();
void WaitForEvents(int timeoutMs);
void WakeEventLoop();

// The primary screen and the part of it windows may use, in pixels; false without a display.
bool ScreenGeometry(int& width, int& height, int& workLeft, int& workTop, int& workRight, int& workBottom);
// Moves the desktop's pointer (SetCursorPos); false where the desktop does not allow it.
bool MovePointer(int x, int y);
// A short beep (MessageBeep).
void Beep();

// For the smoke test on a real display: the screen's pixels (0x00RRGGBB, rows top first; empty without
// a display), and a left click delivered to the desktop window at a screen point as the desktop would
// deliver it (false when no window of ours is there).
std::vector<std::uint32_t> GrabScreen(int x, int y, int width, int height);
bool SendSyntheticClick(int x, int y);

} // namespace backend
