// The window manager's own objects, shared by the files of platform/win32 that implement windows,
// messages, painting, input and timers; never included outside them.
#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/backend/device.h"
#include "platform/backend/region.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/winuser.h"

namespace backend {
class HostWindow;
}

namespace win32 {

using backend::Region;

extern const Trace::Channel TraceMessage;
extern const Trace::Channel TracePaint;
extern const Trace::Channel TraceWindow;

// ---- Classes ----
struct WindowClass {
    ATOM atom = 0;
    String name;
    UINT style = 0;
    WNDPROC wndProc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    String menuName;
    std::vector<BYTE> extra;
    int windowCount = 0; // windows of this class alive; it cannot be unregistered meanwhile
};

// The class of a name (case-insensitive) or atom, or nullptr.
std::shared_ptr<WindowClass> FindClass(LPCWSTR name);

// ---- Queues ----
struct ThreadQueue;

// A message sent to a window of another thread, waiting there to be served.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool replied = false; // guarded by the sender's queue lock
    bool notify = false;  // the sender stopped waiting (timed out); guarded by the sender's queue lock
    std::shared_ptr<ThreadQueue> sender; // null for SendNotifyMessage: nobody waits
};

struct Hook {
    HHOOK handle = nullptr;
    int type = 0;
    HOOKPROC proc = nullptr;
    bool removed = false;
};

struct ThreadQueue {
    DWORD threadId = 0;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<MSG> posted;                        // PostMessage, PostThreadMessage
    std::deque<MSG> input;                         // keyboard and mouse
    std::deque<std::shared_ptr<SentMessage>> sent; // from other threads, not yet served
    bool quit = false;
    int quitCode = 0;
    bool woken = false;       // something changed since the last look
    bool ended = false;       // the thread has ended: nobody serves the queue
    HANDLE arrival = nullptr; // set when something arrives (MsgWaitForMultipleObjects)
    // Only the owning thread touches the rest.
    std::vector<std::shared_ptr<SentMessage>> serving; // sends being served, innermost last
    std::vector<Hook> hooks;                           // newest first
    DWORD messageTime = 0;
    POINT messagePos{};
};

// The calling thread's queue, created on first use.
ThreadQueue& CurrentQueue();
std::shared_ptr<ThreadQueue> CurrentQueueRef();
// The queue of a thread that has one, else nullptr.
std::shared_ptr<ThreadQueue> FindQueue(DWORD threadId);
// Tells the thread that something arrived (a message, a send, a clock step).
void WakeQueue(ThreadQueue& queue);
void WakeAllQueues();
// Serves the sends waiting for the calling thread; true when one was served.
bool ServeSentMessages();

// ---- Windows ----
// The pixels of a top-level window (its whole window rectangle) that every window of its tree draws on.
struct Surface {
    std::vector<std::uint32_t> storage;
    backend::PixelBuffer pixels;
    std::shared_ptr<backend::Device> device;
    Region dirty; // drawn since the host window last copied it, in surface pixels
};

struct ScrollBar {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool shown = false;
    UINT disabled = 0; // ESB_DISABLE_ bits
    bool everSet = false;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> cls;
    std::shared_ptr<ThreadQueue> queue;
    DWORD threadId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    String text;
    WNDPROC wndProc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0; // GWLP_ID, the menu handle of a top-level window
    LONG_PTR userData = 0;
    std::vector<BYTE> extra;
    Window* parent = nullptr;      // null for top-level windows
    Window* owner = nullptr;       // top-level windows only
    std::vector<Window*> children; // z-order, topmost first
    RECT rect{};   // window rectangle in the parent's client coordinates (screen for top-level)
    RECT client{}; // client rectangle in the same coordinates
    // Painting: the update region is in client coordinates.
    Region update;
    bool erase = false;          // WM_ERASEBKGND due with the next BeginPaint
    bool frameDirty = false;     // WM_NCPAINT due
    bool internalPaint = false;  // RDW_INTERNALPAINT
    bool painting = false;       // between BeginPaint and EndPaint
    bool frameActive = false;    // the caption is drawn active (the last WM_NCACTIVATE said so)
    std::optional<Region> shape; // SetWindowRgn, window coordinates
    COLORREF layeredKey = 0;
    BYTE layeredAlpha = 255;
    DWORD layeredFlags = 0;
    bool layeredByAttributes = false; // SetLayeredWindowAttributes owns the look until WS_EX_LAYERED is reset
    ScrollBar hscroll;
    ScrollBar vscroll;
    std::map<String, HANDLE> props;
    bool destroying = false;
    bool created = false; // WM_NCCREATE answered
    RECT normalRect{};    // the rectangle to restore after minimising or maximising
    // Top-level windows: the pixels every window of the tree paints into, and the desktop window that
    // shows them (none without a display).
    std::shared_ptr<Surface> surface;
    std::unique_ptr<backend::HostWindow> host;
    // Mouse tracking (TrackMouseEvent)
    DWORD trackFlags = 0;
};

// The one lock of the window tree and every window's fields. It is never held while a window
// procedure runs.
std::recursive_mutex& TreeLock();
using TreeGuard = std::lock_guard<std::recursive_mutex>;

// The window of a handle, or nullptr. The caller holds the tree lock for as long as it uses the pointer.
Window* Lookup(HWND hwnd);
// As Lookup, and sets ERROR_INVALID_WINDOW_HANDLE when there is none.
Window* Check(HWND hwnd);
// Puts a window among its siblings after insertAfter (or HWND_TOP, HWND_BOTTOM, HWND_TOPMOST ...).
void LinkWindow(Window* window, HWND insertAfter);
// Brings the windows a top-level window owns back above it after it was raised past them.
void RaiseOwnedAbove(Window* window);
// The desktop: the screen as a window, parent of the top-level windows.
Window* Desktop();
bool IsDesktop(const Window* window);
// Top-level windows are the desktop's children.
bool IsTopLevel(const Window* window);
std::vector<Window*>& Siblings(Window* window);
Window* TopLevelOf(Window* window);
// Every window of the tree below root (not root itself), parents before children.
void Descendants(Window* root, std::vector<Window*>& out);
// The screen position of the client area's and the window's top-left corner.
POINT ClientOrigin(const Window* window);
POINT WindowOrigin(const Window* window);
// The window's rectangle in screen coordinates.
RECT ScreenRect(const Window* window);
RECT ScreenClientRect(const Window* window);
// Visible with every ancestor.
bool IsReallyVisible(const Window* window);
bool IsReallyEnabled(const Window* window);
// The window under a screen point, children first; skips hidden windows and, with skipDisabled,
// disabled ones.
Window* HitWindow(POINT screen, bool skipDisabled);

// The window's thread is the calling thread.
bool OnOwnThread(const Window* window);
// The thread has ended: its windows go without messages, as nobody is left to answer them.
void FreeThreadWindows(DWORD threadId);
DWORD CurrentThreadId();

// ---- System values (sysparams.cpp) ----
SIZE ScreenSize();
RECT WorkArea();
// The desktop reports a new screen size (the backend, or a test).
void SetScreenSize(int width, int height);

// ---- Messages ----
// Calls the window procedure with the hooks of the calling thread around it (same thread only).
LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues an input message to the thread of its window.
void PostInputMessage(const MSG& msg);
// Sends to every window of the thread, as WM_SETTINGCHANGE and friends need.
void SendToAllTopLevels(UINT message, WPARAM wParam, LPARAM lParam);
// The calling thread's tick count as messages carry it.
DWORD MessageTick();

// ---- Painting ----
// Adds (or removes, with RDW_VALIDATE) a region in client coordinates, children included by the
// RedrawWindow rules.
void RedrawInternal(Window* window, const Region* clientRegion, UINT flags);
// The first window of the thread that needs WM_PAINT, parents first; nullptr when none does.
HWND FindWindowToPaint(DWORD threadId, HWND filter);
// Drops what was drawn of a window and its children: called when windows move, show or hide.
void InvalidateBehind(Window* parent, const RECT& rectInParentClient);
// The parts of a window's client area (window area with wholeWindow) not covered by clipped children
// and siblings, in window-relative coordinates of the top-level's surface.
Region VisibleRegion(Window* window, bool wholeWindow, bool clipChildren, bool clipSiblings);
// Gives the top-level window its surface (or resizes it) and the host window that shows it.
void UpdateSurface(Window* topLevel);
void ReleaseSurface(Window* topLevel);
// Hands what was drawn on a top-level window's surface to its desktop window.
void FlushSurface(Window* topLevel);
// Whether the desktop draws the frame and caption of a top-level window: its desktop window then shows
// the client area only, otherwise the whole window. Everything that maps between the two asks this.
bool DesktopFramed(const Window* topLevel);
// The screen rectangle a top-level window's desktop window shows, and the window rectangle for one.
RECT HostRect(const Window* topLevel);
RECT WindowRectFromHost(const Window* topLevel, const RECT& shown);
// Draws the frame, edges and scroll bars (WM_NCPAINT's default); region is in screen coordinates or 1.
void DrawNonClient(HWND hwnd, HRGN region);
// A gdi region object holding a copy of region; the caller deletes it.
HRGN MakeRegionHandle(const Region& region);
// The pixels of a region handle, or nullptr for a handle that is not one.
const Region* RegionOf(HRGN handle);

// ---- Non-client area ----
// The client rectangle for a window rectangle and styles (WM_NCCALCSIZE's default answer).
RECT DefaultClientRect(const Window* window, const RECT& windowRect);
LRESULT DefaultHitTest(Window* window, POINT screen);
// The scroll bars' rectangles in window coordinates; empty when the bar is not shown.
RECT ScrollBarRect(const Window* window, int bar);

// ---- OLE ----
// Whether OleInitialize is in force on the calling thread.
bool OleInitializedOnThread();
// Drops the drop target registered for a window being destroyed.
void RevokeDragDropOf(HWND hwnd);

// ---- Input ----
// Forgets focus, activation, capture and tracking that name a window being destroyed.
void ForgetWindow(HWND hwnd);
// Called when a window is hidden or disabled: focus and activation move on as Win32 moves them.
void WindowHiddenOrDisabled(HWND hwnd);
void ActivateWindow(HWND hwnd, WORD how);
// Hands the desktop's input to the window manager (once, when the first desktop window appears).
void ConnectInputSink();
// Key state as of the last message read by the thread.
void UpdateKeyStateFromMessage(const MSG& msg);
// The character a key types with the current key state, 0 for none (TranslateMessage).
Char CharFromKey(WPARAM virtualKey, bool& dead);
// Where the mouse is, in screen coordinates.
POINT CursorPosition();

// ---- Timers ----
// Makes a WM_TIMER for the first due timer of the thread (matching the filter); false when none is due.
bool TakeDueTimer(DWORD threadId, HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG& msg);
void KillWindowTimers(HWND hwnd);
// The system's own timers: they arrive as WM_SYSTIMER, which DefWindowProc hands to the tracker.
void SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse);
void KillSystemTimer(HWND hwnd, UINT_PTR id);
// Milliseconds until the thread's next timer is due; -1 when it has none.
Int64 NextTimerDelay(DWORD threadId);

// ---- Scroll bars ----
// Handles WM_NCLBUTTONDOWN on a window scroll bar; input goes to the tracker until the button is up.
void StartScrollTracking(HWND hwnd, int bar, POINT screen);
// The system's own mouse tracking (scroll bars, moving and sizing): while one runs, mouse input goes to
// it instead of the queues.
struct Tracker {
    virtual ~Tracker() = default;
    virtual void MouseMove(POINT screen) = 0;
    virtual void ButtonUp(POINT screen) = 0;
    virtual void Tick() {}
    virtual void Cancel() = 0;
};
void StartTracking(std::unique_ptr<Tracker> tracker);
Tracker* ActiveTracker();
void EndTracking();
void StartSizeMove(HWND hwnd, LRESULT hitTest, POINT screen);
// The caret's blink and TrackMouseEvent's hover time (WM_SYSTIMER); false when the timer is another's.
bool CaretTimer(HWND hwnd, UINT_PTR id);
bool HoverTimer(HWND hwnd, UINT_PTR id);
// Draws a window scroll bar on a DC of the whole window.
void DrawScrollBar(HDC dc, HWND hwnd, int bar);
// Marks the frame for WM_NCPAINT without touching the client area.
void InvalidateFrame(HWND hwnd);
// WM_NCCREATE's part for scroll bars: windows created with WS_HSCROLL or WS_VSCROLL show them.
void InitScrollBars(HWND hwnd);

// ---- Hooks ----
LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam);
bool HasHooks(int type);

} // namespace win32
