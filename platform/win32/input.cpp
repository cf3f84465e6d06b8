// Focus, activation and capture; the keyboard and mouse entry points that turn desktop input into queued
// messages (hit tests, mouse activation, double clicks, key lParam bits); key state and key mapping.
//
// Contents: input state - focus - activation - capture - enabling - key tables - key state -
// mouse and keyboard entry points - the desktop's input sink.
#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/backend/windowing.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"

namespace win32 {

namespace {

const Trace::Channel TraceInput("input");

struct LastClick {
    HWND hwnd = nullptr;
    UINT button = 0; // the WM_xBUTTONDOWN of the click
    POINT pt{};
    DWORD time = 0;
    bool doubled = false; // it was the second click of a double click
};

struct InputState {
    std::recursive_mutex lock;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    bool appActive = false;
    BYTE keys[256] = {};      // as of the last message read
    BYTE asyncKeys[256] = {}; // now
    BYTE pressedSinceQuery[256] = {};
    POINT cursor{0, 0};
    LastClick lastClick;
    HWND tracked = nullptr; // TrackMouseEvent
    DWORD trackFlags = 0;
    DWORD hoverTime = 400;
    POINT hoverStart{0, 0}; // the mouse must stay near it for the hover time
    UINT doubleClickTime = 500;
    bool buttonsSwapped = false;
    bool activatingFromDesktop = false;
};

InputState& State() {
    static InputState state;
    return state;
}

using InputGuard = std::lock_guard<std::recursive_mutex>;

std::unique_ptr<Tracker> gTracker;

constexpr UINT_PTR HoverTimerId = 0xFFFC;

// Focus without activation changes: WM_KILLFOCUS to the old window, then WM_SETFOCUS to the new one.
HWND ChangeFocus(HWND hwnd) {
    HWND previous;
    {
        InputGuard guard(State().lock);
        previous = State().focus;
        if (previous == hwnd)
            return previous;
        State().focus = hwnd;
    }
    ZTRACE(TraceInput, "focus %p -> %p", static_cast<void*>(previous), static_cast<void*>(hwnd));
    if (previous && IsWindow(previous))
        SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    {
        InputGuard guard(State().lock);
        if (State().focus != hwnd)
            return previous; // the message moved the focus elsewhere
    }
    if (hwnd)
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

bool IsIconicWindow(HWND hwnd) {
    return IsIconic(hwnd) != FALSE;
}

// The window that becomes active when the active one goes: its owner when it can, else the topmost
// visible, enabled top-level window of the thread.
HWND NextActiveCandidate(HWND leaving) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(leaving);
    auto usable = [&](Window* w) {
        return w && w->handle != leaving && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED) &&
               !(w->exStyle & WS_EX_NOACTIVATE) && !(w->style & WS_CHILD) && OnOwnThread(w);
    };
    if (window && usable(window->owner))
        return window->owner->handle;
    for (Window* top : Desktop()->children)
        if (usable(top) && !(top->exStyle & WS_EX_TOOLWINDOW))
            return top->handle;
    return nullptr;
}

} // namespace

POINT CursorPosition() {
    InputGuard guard(State().lock);
    return State().cursor;
}

void ActivateWindow(HWND hwnd, WORD how) {
    InputState& state = State();
    {
        TreeGuard guard(TreeLock());
        if (hwnd) {
            Window* window = Lookup(hwnd);
            if (!window)
                return;
            hwnd = TopLevelOf(window)->handle;
        }
    }
    HWND old;
    bool appWasActive;
    {
        InputGuard guard(state.lock);
        old = state.active;
        if (old == hwnd)
            return;
        state.active = hwnd;
        appWasActive = state.appActive;
        state.appActive = hwnd != nullptr;
    }
    ZTRACE(TraceInput, "active %p -> %p", static_cast<void*>(old), static_cast<void*>(hwnd));
    if (hwnd)
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (old && IsWindow(old)) {
        SendMessageW(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
        SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconicWindow(old)),
                     reinterpret_cast<LPARAM>(hwnd));
    }
    if (appWasActive != (hwnd != nullptr)) {
        // The application as a whole changes state: every top-level window hears of it.
        HWND capture = GetCapture();
        if (!hwnd && capture)
            SendMessageW(capture, WM_CANCELMODE, 0, 0);
        SendToAllTopLevels(WM_ACTIVATEAPP, hwnd ? TRUE : FALSE, hwnd ? 0 : 1);
    }
    if (hwnd && IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
        SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconicWindow(hwnd)), reinterpret_cast<LPARAM>(old));
    }
    // The focus follows: into the new active window when it is not already inside it, or nowhere.
    HWND focus;
    {
        InputGuard guard(state.lock);
        if (state.active != hwnd)
            return;
        focus = state.focus;
    }
    if (!hwnd)
        ChangeFocus(nullptr);
    else if (!focus || (focus != hwnd && !IsChild(hwnd, focus)))
        ChangeFocus(hwnd);
    bool fromDesktop;
    {
        InputGuard guard(state.lock);
        fromDesktop = state.activatingFromDesktop;
    }
    if (hwnd && !fromDesktop) {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (window && window->host)
            window->host->Activate();
    }
}

void ForgetWindow(HWND hwnd) {
    InputState& state = State();
    InputGuard guard(state.lock);
    if (state.focus == hwnd)
        state.focus = nullptr;
    if (state.active == hwnd) {
        state.active = nullptr;
        state.appActive = false;
    }
    if (state.capture == hwnd)
        state.capture = nullptr;
    if (state.tracked == hwnd)
        state.tracked = nullptr;
    if (state.lastClick.hwnd == hwnd)
        state.lastClick = LastClick{};
}

void WindowHiddenOrDisabled(HWND hwnd) {
    // Activation moves on first (taking the focus with it), then a focus left inside goes to the parent.
    if (GetActiveWindow() == hwnd)
        ActivateWindow(NextActiveCandidate(hwnd), WA_ACTIVE);
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) {
        HWND parent = nullptr;
        {
            TreeGuard guard(TreeLock());
            Window* window = Lookup(hwnd);
            if (window && (window->style & WS_CHILD) && !IsDesktop(window->parent))
                parent = window->parent->handle;
        }
        if (parent && IsWindowVisible(parent))
            SetFocus(parent);
        else
            ChangeFocus(nullptr);
    }
}

} // namespace win32

using namespace win32;

// ---- Focus, activation, capture ----

HWND SetFocus(HWND hwnd) {
    if (!hwnd)
        return ChangeFocus(nullptr);
    HWND top;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return nullptr;
        // A window in a minimised or disabled tree, or one of another thread, cannot take the focus.
        if (!OnOwnThread(window))
            return nullptr;
        for (Window* w = window; w && !IsDesktop(w); w = w->parent) {
            if (w->style & (WS_MINIMIZE | WS_DISABLED))
                return nullptr;
            if (!(w->style & WS_CHILD))
                break;
        }
        top = TopLevelOf(window)->handle;
    }
    if (GetActiveWindow() != top) {
        ActivateWindow(top, WA_ACTIVE);
        if (!IsWindow(hwnd) || GetActiveWindow() != top)
            return nullptr;
    }
    return ChangeFocus(hwnd);
}

HWND GetFocus() {
    HWND focus;
    {
        InputGuard guard(State().lock);
        focus = State().focus;
    }
    TreeGuard tree(TreeLock());
    Window* window = Lookup(focus);
    return window && OnOwnThread(window) ? focus : nullptr;
}

namespace {

// The descendants of parent that the dialog keys step through, in z-order; a control parent stands for
// its own children. Controls that are no tab stop are kept too, marked, so that a step can start at one.
void CollectTabItems(HWND parent, std::vector<std::pair<HWND, bool>>& items) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        bool usable = (style & WS_VISIBLE) && !(style & WS_DISABLED);
        if (usable && (static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE)) & WS_EX_CONTROLPARENT)) {
            CollectTabItems(child, items);
            continue;
        }
        items.emplace_back(child, usable && (style & WS_TABSTOP));
    }
}

} // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog) || (control && !IsWindow(control))) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::vector<std::pair<HWND, bool>> items;
    CollectTabItems(dialog, items);
    auto count = static_cast<int>(items.size());
    int start = -1;
    for (int i = 0; i < count; ++i)
        if (items[static_cast<size_t>(i)].first == control)
            start = i;
    if (start < 0)
        start = previous ? 0 : count - 1;
    for (int step = 1; step <= count; ++step) {
        int i = previous ? (start - step + count) % count : (start + step) % count;
        if (items[static_cast<size_t>(i)].second && items[static_cast<size_t>(i)].first != control)
            return items[static_cast<size_t>(i)].first;
    }
    return control;
}

HWND SetActiveWindow(HWND hwnd) {
    HWND previous = GetActiveWindow();
    if (hwnd) {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return nullptr;
        if ((window->style & WS_CHILD) || !OnOwnThread(window)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    ActivateWindow(hwnd, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow() {
    HWND active;
    {
        InputGuard guard(State().lock);
        active = State().active;
    }
    TreeGuard tree(TreeLock());
    Window* window = Lookup(active);
    return window && OnOwnThread(window) ? active : nullptr;
}

BOOL SetForegroundWindow(HWND hwnd) {
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        hwnd = TopLevelOf(window)->handle;
    }
    ActivateWindow(hwnd, WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() {
    InputGuard guard(State().lock);
    return State().active;
}

HWND SetCapture(HWND hwnd) {
    HWND previous;
    {
        InputGuard guard(State().lock);
        previous = State().capture;
        if (hwnd && !IsWindow(hwnd))
            return nullptr;
        State().capture = hwnd;
    }
    if (previous && previous != hwnd && IsWindow(previous))
        SendMessageW(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous;
    {
        InputGuard guard(State().lock);
        previous = State().capture;
        State().capture = nullptr;
    }
    if (previous && IsWindow(previous))
        SendMessageW(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() {
    InputGuard guard(State().lock);
    return State().capture;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        wasDisabled = (window->style & WS_DISABLED) != 0;
        if (enable)
            window->style &= ~WS_DISABLED;
        else
            window->style |= WS_DISABLED;
    }
    if (enable && wasDisabled) {
        SendMessageW(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        // A disabled window can neither keep the focus nor the mouse.
        if (GetFocus() == hwnd)
            ChangeFocus(nullptr);
        HWND capture = GetCapture();
        if (capture && (capture == hwnd || IsChild(hwnd, capture)))
            ReleaseCapture();
        SendMessageW(hwnd, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

// ---- Key tables ----

namespace win32 {

namespace {

struct KeyInfo {
    int scan;
    bool extended;
};

KeyInfo ScanOf(int vk) {
    static const struct {
        int vk;
        int scan;
        bool extended;
    } table[] = {
        {VK_ESCAPE, 0x01, false},
        {'1', 0x02, false},
        {'2', 0x03, false},
        {'3', 0x04, false},
        {'4', 0x05, false},
        {'5', 0x06, false},
        {'6', 0x07, false},
        {'7', 0x08, false},
        {'8', 0x09, false},
        {'9', 0x0A, false},
        {'0', 0x0B, false},
        {VK_OEM_MINUS, 0x0C, false},
        {VK_OEM_PLUS, 0x0D, false},
        {VK_BACK, 0x0E, false},
        {VK_TAB, 0x0F, false},
        {'Q', 0x10, false},
        {'W', 0x11, false},
        {'E', 0x12, false},
        {'R', 0x13, false},
        {'T', 0x14, false},
        {'Y', 0x15, false},
        {'U', 0x16, false},
        {'I', 0x17, false},
        {'O', 0x18, false},
        {'P', 0x19, false},
        {VK_OEM_4, 0x1A, false},
        {VK_OEM_6, 0x1B, false},
        {VK_RETURN, 0x1C, false},
        {VK_CONTROL, 0x1D, false},
        {VK_LCONTROL, 0x1D, false},
        {VK_RCONTROL, 0x1D, true},
        {'A', 0x1E, false},
        {'S', 0x1F, false},
        {'D', 0x20, false},
        {'F', 0x21, false},
        {'G', 0x22, false},
        {'H', 0x23, false},
        {'J', 0x24, false},
        {'K', 0x25, false},
        {'L', 0x26, false},
        {VK_OEM_1, 0x27, false},
        {VK_OEM_7, 0x28, false},
        {VK_OEM_3, 0x29, false},
        {VK_SHIFT, 0x2A, false},
        {VK_LSHIFT, 0x2A, false},
        {VK_OEM_5, 0x2B, false},
        {'Z', 0x2C, false},
        {'X', 0x2D, false},
        {'C', 0x2E, false},
        {'V', 0x2F, false},
        {'B', 0x30, false},
        {'N', 0x31, false},
        {'M', 0x32, false},
        {VK_OEM_COMMA, 0x33, false},
        {VK_OEM_PERIOD, 0x34, false},
        {VK_OEM_2, 0x35, false},
        {VK_RSHIFT, 0x36, false},
        {VK_MULTIPLY, 0x37, false},
        {VK_MENU, 0x38, false},
        {VK_LMENU, 0x38, false},
        {VK_RMENU, 0x38, true},
        {VK_SPACE, 0x39, false},
        {VK_CAPITAL, 0x3A, false},
        {VK_F1, 0x3B, false},
        {VK_F2, 0x3C, false},
        {VK_F3, 0x3D, false},
        {VK_F4, 0x3E, false},
        {VK_F5, 0x3F, false},
        {VK_F6, 0x40, false},
        {VK_F7, 0x41, false},
        {VK_F8, 0x42, false},
        {VK_F9, 0x43, false},
        {VK_F10, 0x44, false},
        {VK_NUMLOCK, 0x45, true},
        {VK_SCROLL, 0x46, false},
        {VK_NUMPAD7, 0x47, false},
        {VK_NUMPAD8, 0x48, false},
        {VK_NUMPAD9, 0x49, false},
        {VK_SUBTRACT, 0x4A, false},
        {VK_NUMPAD4, 0x4B, false},
        {VK_NUMPAD5, 0x4C, false},
        {VK_NUMPAD6, 0x4D, false},
        {VK_ADD, 0x4E, false},
        {VK_NUMPAD1, 0x4F, false},
        {VK_NUMPAD2, 0x50, false},
        {VK_NUMPAD3, 0x51, false},
        {VK_NUMPAD0, 0x52, false},
        {VK_DECIMAL, 0x53, false},
        {VK_OEM_102, 0x56, false},
        {VK_F11, 0x57, false},
        {VK_F12, 0x58, false},
        {VK_DIVIDE, 0x35, true},
        // The cursor block: extended keys sharing the keypad's scan codes.
        {VK_HOME, 0x47, true},
        {VK_UP, 0x48, true},
        {VK_PRIOR, 0x49, true},
        {VK_LEFT, 0x4B, true},
        {VK_RIGHT, 0x4D, true},
        {VK_END, 0x4F, true},
        {VK_DOWN, 0x50, true},
        {VK_NEXT, 0x51, true},
        {VK_INSERT, 0x52, true},
        {VK_DELETE, 0x53, true},
        {VK_LWIN, 0x5B, true},
        {VK_RWIN, 0x5C, true},
        {VK_APPS, 0x5D, true},
        {VK_SNAPSHOT, 0x37, true},
        {VK_PAUSE, 0x45, false},
        {VK_CLEAR, 0x4C, false},
    };
    for (const auto& entry : table)
        if (entry.vk == vk)
            return KeyInfo{entry.scan, entry.extended};
    return KeyInfo{0, false};
}

// The left or right key behind a generic one, from the scan code and extended bit.
int SidedKey(int vk, int scan, bool extended) {
    switch (vk) {
    case VK_SHIFT:
        return scan == 0x36 ? VK_RSHIFT : VK_LSHIFT;
    case VK_CONTROL:
        return extended ? VK_RCONTROL : VK_LCONTROL;
    case VK_MENU:
        return extended ? VK_RMENU : VK_LMENU;
    default:
        return 0;
    }
}

int GenericKey(int vk) {
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return vk;
    }
}

void SetKeyDown(BYTE* keys, int vk, bool down) {
    vk &= 0xFF;
    if (down) {
        if (!(keys[vk] & 0x80))
            keys[vk] ^= 0x01; // every press toggles; Caps Lock and Num Lock show it
        keys[vk] |= 0x80;
    } else {
        keys[vk] &= static_cast<BYTE>(~0x80);
    }
}

// Applies one key or button message to a key state array.
void ApplyToKeys(BYTE* keys, const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        int vk = LOWORD(msg.wParam);
        if (vk == VK_PACKET)
            return;
        int scan = (msg.lParam >> 16) & 0xFF;
        bool extended = (msg.lParam & KF_EXTENDED_BIT) != 0;
        SetKeyDown(keys, vk, down);
        if (int sided = SidedKey(vk, scan, extended))
            SetKeyDown(keys, sided, down);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetKeyDown(keys, VK_LBUTTON, true);
        break;
    case WM_LBUTTONUP:
        SetKeyDown(keys, VK_LBUTTON, false);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        SetKeyDown(keys, VK_RBUTTON, true);
        break;
    case WM_RBUTTONUP:
        SetKeyDown(keys, VK_RBUTTON, false);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        SetKeyDown(keys, VK_MBUTTON, true);
        break;
    case WM_MBUTTONUP:
        SetKeyDown(keys, VK_MBUTTON, false);
        break;
    default:
        break;
    }
}

bool Down(const BYTE* keys, int vk) {
    return (keys[vk] & 0x80) != 0;
}
bool Toggled(const BYTE* keys, int vk) {
    return (keys[vk] & 0x01) != 0;
}

} // namespace

void UpdateKeyStateFromMessage(const MSG& msg) {
    InputGuard guard(State().lock);
    ApplyToKeys(State().keys, msg);
}

Char CharFromKey(WPARAM virtualKey, bool& dead) {
    dead = false;
    BYTE keys[256];
    {
        InputGuard guard(State().lock);
        std::memcpy(keys, State().keys, sizeof keys);
    }
    int vk = static_cast<int>(virtualKey & 0xFF);
    bool shift = Down(keys, VK_SHIFT);
    bool control = Down(keys, VK_CONTROL);
    bool alt = Down(keys, VK_MENU);
    if (control && !alt) {
        if (vk >= 'A' && vk <= 'Z')
            return static_cast<Char>(vk - 'A' + 1);
        switch (vk) {
        case VK_OEM_4:
            return 0x1B;
        case VK_OEM_5:
            return 0x1C;
        case VK_OEM_6:
            return 0x1D;
        case VK_BACK:
            return 0x7F;
        case VK_RETURN:
            return 0x0A;
        case VK_SPACE:
            return u' ';
        case VK_ESCAPE:
            return 0x1B;
        default:
            return 0;
        }
    }
    if (control && alt)
        return 0; // no AltGr characters on the US layout
    if (vk >= 'A' && vk <= 'Z') {
        bool upper = shift != Toggled(keys, VK_CAPITAL);
        return static_cast<Char>(upper ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9') {
        static const char shifted[] = ")!@#$%^&*(";
        return static_cast<Char>(shift ? shifted[vk - '0'] : vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<Char>('0' + vk - VK_NUMPAD0);
    switch (vk) {
    case VK_SPACE:
        return u' ';
    case VK_RETURN:
        return u'\r';
    case VK_BACK:
        return 0x08;
    case VK_TAB:
        return u'\t';
    case VK_ESCAPE:
        return 0x1B;
    case VK_MULTIPLY:
        return u'*';
    case VK_ADD:
        return u'+';
    case VK_SUBTRACT:
        return u'-';
    case VK_DECIMAL:
        return u'.';
    case VK_DIVIDE:
        return u'/';
    case VK_OEM_1:
        return shift ? u':' : u';';
    case VK_OEM_PLUS:
        return shift ? u'+' : u'=';
    case VK_OEM_COMMA:
        return shift ? u'<' : u',';
    case VK_OEM_MINUS:
        return shift ? u'_' : u'-';
    case VK_OEM_PERIOD:
        return shift ? u'>' : u'.';
    case VK_OEM_2:
        return shift ? u'?' : u'/';
    case VK_OEM_3:
        return shift ? u'~' : u'`';
    case VK_OEM_4:
        return shift ? u'{' : u'[';
    case VK_OEM_5:
        return shift ? u'|' : u'\\';
    case VK_OEM_6:
        return shift ? u'}' : u']';
    case VK_OEM_7:
        return shift ? u'"' : u'\'';
    case VK_OEM_102:
        return shift ? u'|' : u'\\';
    default:
        return 0;
    }
}

bool HoverTimer(HWND hwnd, UINT_PTR id) {
    if (id != HoverTimerId)
        return false;
    KillSystemTimer(hwnd, HoverTimerId);
    InputState& state = State();
    POINT cursor;
    DWORD flags;
    {
        InputGuard guard(state.lock);
        if (state.tracked != hwnd || !(state.trackFlags & TME_HOVER))
            return true;
        state.trackFlags &= ~TME_HOVER;
        if (!(state.trackFlags & TME_LEAVE))
            state.tracked = nullptr;
        cursor = state.cursor;
        flags = state.trackFlags;
    }
    bool nonClient = (flags & TME_NONCLIENT) != 0;
    POINT where = cursor;
    if (!nonClient)
        ScreenToClient(hwnd, &where);
    WPARAM keys = 0;
    {
        InputGuard guard(state.lock);
        keys = ((state.asyncKeys[VK_LBUTTON] & 0x80) ? MK_LBUTTON : 0) |
               ((state.asyncKeys[VK_RBUTTON] & 0x80) ? MK_RBUTTON : 0) |
               ((state.asyncKeys[VK_SHIFT] & 0x80) ? MK_SHIFT : 0) |
               ((state.asyncKeys[VK_CONTROL] & 0x80) ? MK_CONTROL : 0);
    }
    PostMessageW(hwnd, nonClient ? WM_NCMOUSEHOVER : WM_MOUSEHOVER,
                 nonClient ? static_cast<WPARAM>(HTCLIENT) : keys,
                 MAKELPARAM(static_cast<WORD>(where.x), static_cast<WORD>(where.y)));
    return true;
}

void StartTracking(std::unique_ptr<Tracker> tracker) {
    if (gTracker)
        gTracker->Cancel();
    gTracker = std::move(tracker);
}

Tracker* ActiveTracker() {
    return gTracker.get();
}

void EndTracking() {
    // The tracker may end itself from inside one of its calls: keep it alive until that returns.
    static std::unique_ptr<Tracker> ending;
    ending = std::move(gTracker);
}

} // namespace win32

std::int16_t GetKeyState(int virtualKey) {
    InputGuard guard(State().lock);
    BYTE value = State().keys[virtualKey & 0xFF];
    return static_cast<std::int16_t>(((value & 0x80) ? 0xFF80 : 0) | (value & 0x01));
}

std::int16_t GetAsyncKeyState(int virtualKey) {
    InputGuard guard(State().lock);
    int vk = virtualKey & 0xFF;
    bool down = (State().asyncKeys[vk] & 0x80) != 0;
    bool pressed = State().pressedSinceQuery[vk] != 0;
    State().pressedSinceQuery[vk] = 0;
    return static_cast<std::int16_t>((down ? 0x8000 : 0) | (pressed ? 1 : 0));
}

BOOL GetKeyboardState(BYTE* keyState) {
    if (!keyState)
        return FALSE;
    InputGuard guard(State().lock);
    std::memcpy(keyState, State().keys, 256);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* keyState) {
    if (!keyState)
        return FALSE;
    InputGuard guard(State().lock);
    std::memcpy(State().keys, keyState, 256);
    return TRUE;
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    switch (mapType) {
    case MAPVK_VK_TO_VSC:
        return static_cast<UINT>(ScanOf(static_cast<int>(code)).scan);
    case MAPVK_VSC_TO_VK:
        for (int vk = 1; vk < 256; ++vk) {
            KeyInfo info = ScanOf(vk);
            if (info.scan == static_cast<int>(code) && !info.extended && vk != VK_CONTROL && vk != VK_MENU &&
                vk != VK_SHIFT)
                return static_cast<UINT>(GenericKey(vk) == vk ? vk : GenericKey(vk));
        }
        return 0;
    case MAPVK_VK_TO_CHAR:
        if (code >= 'A' && code <= 'Z')
            return code;
        if (code >= '0' && code <= '9')
            return code;
        {
            bool dead = false;
            BYTE saved[256];
            {
                InputGuard guard(State().lock);
                std::memcpy(saved, State().keys, sizeof saved);
                std::memset(State().keys, 0, sizeof saved);
            }
            Char c = CharFromKey(code, dead);
            InputGuard guard(State().lock);
            std::memcpy(State().keys, saved, sizeof saved);
            return c;
        }
    default:
        return 0;
    }
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
    if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    InputState& state = State();
    if (track->dwFlags & TME_QUERY) {
        InputGuard guard(state.lock);
        track->hwndTrack = state.tracked;
        track->dwFlags = state.tracked ? state.trackFlags : 0;
        return TRUE;
    }
    if (!IsWindow(track->hwndTrack)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (track->dwFlags & TME_CANCEL) {
        InputGuard guard(state.lock);
        if (state.tracked == track->hwndTrack) {
            state.trackFlags &= ~(track->dwFlags & ~TME_CANCEL);
            if (!(state.trackFlags & (TME_LEAVE | TME_HOVER)))
                state.tracked = nullptr;
        }
        return TRUE;
    }
    // Tracking a window the mouse is not over ends at once with a leave message.
    if (WindowFromPoint(CursorPosition()) != track->hwndTrack) {
        if (track->dwFlags & TME_LEAVE)
            PostMessageW(track->hwndTrack, (track->dwFlags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE,
                         0, 0);
        return TRUE;
    }
    {
        InputGuard guard(state.lock);
        state.tracked = track->hwndTrack;
        state.trackFlags = track->dwFlags;
        state.hoverTime = track->dwHoverTime == HOVER_DEFAULT ? 400 : std::max<DWORD>(track->dwHoverTime, 1);
        state.hoverStart = state.cursor;
    }
    if (track->dwFlags & TME_HOVER)
        SetSystemTimer(track->hwndTrack, HoverTimerId, static_cast<UINT>(state.hoverTime));
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point)
        return FALSE;
    *point = CursorPosition();
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    {
        InputGuard guard(State().lock);
        State().cursor = POINT{x, y};
    }
    if (backend::HostWindowsAvailable())
        backend::MovePointer(x, y);
    return TRUE;
}

UINT GetDoubleClickTime() {
    InputGuard guard(State().lock);
    return State().doubleClickTime;
}

BOOL SetDoubleClickTime(UINT milliseconds) {
    InputGuard guard(State().lock);
    State().doubleClickTime = milliseconds ? milliseconds : 500;
    return TRUE;
}

BOOL SwapMouseButton(BOOL swap) {
    InputGuard guard(State().lock);
    BOOL previous = State().buttonsSwapped;
    State().buttonsSwapped = swap != FALSE;
    return previous;
}

BOOL DragDetect(HWND, POINT) {
    return FALSE;
}

// ---- The entry points ----

namespace win32::input {

namespace {

WPARAM MouseKeyFlags() {
    InputState& state = State();
    WPARAM flags = 0;
    if (state.asyncKeys[VK_LBUTTON] & 0x80)
        flags |= MK_LBUTTON;
    if (state.asyncKeys[VK_RBUTTON] & 0x80)
        flags |= MK_RBUTTON;
    if (state.asyncKeys[VK_MBUTTON] & 0x80)
        flags |= MK_MBUTTON;
    if (state.asyncKeys[VK_XBUTTON1] & 0x80)
        flags |= MK_XBUTTON1;
    if (state.asyncKeys[VK_XBUTTON2] & 0x80)
        flags |= MK_XBUTTON2;
    if (state.asyncKeys[VK_SHIFT] & 0x80)
        flags |= MK_SHIFT;
    if (state.asyncKeys[VK_CONTROL] & 0x80)
        flags |= MK_CONTROL;
    return flags;
}

LPARAM PointParam(POINT p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

struct Target {
    HWND hwnd = nullptr;
    LRESULT hit = HTNOWHERE;
};

// The window the mouse talks to at a screen point, and what part of it (WM_NCHITTEST). Windows that
// answer HTTRANSPARENT let the point through to their parent.
Target FindTarget(POINT screen) {
    Target target;
    {
        TreeGuard guard(TreeLock());
        Window* window = HitWindow(screen, true);
        if (!window)
            return target;
        target.hwnd = window->handle;
    }
    for (;;) {
        target.hit = SendMessageW(target.hwnd, WM_NCHITTEST, 0, PointParam(screen));
        if (target.hit != HTTRANSPARENT)
            return target;
        TreeGuard guard(TreeLock());
        Window* window = Lookup(target.hwnd);
        if (!window || !(window->style & WS_CHILD) || IsDesktop(window->parent)) {
            target.hit = HTNOWHERE;
            return target;
        }
        target.hwnd = window->parent->handle;
    }
}

void SendSetCursor(const Target& target, UINT mouseMessage) {
    if (target.hwnd)
        SendMessageW(target.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(target.hwnd),
                     MAKELPARAM(static_cast<WORD>(target.hit), static_cast<WORD>(mouseMessage)));
}

// Posts WM_MOUSELEAVE when the mouse left the tracked window (or its client area, or its frame).
void CheckLeave(const Target& target) {
    InputState& state = State();
    HWND tracked;
    DWORD flags;
    {
        InputGuard guard(state.lock);
        tracked = state.tracked;
        flags = state.trackFlags;
    }
    if (!tracked)
        return;
    bool nonClient = (flags & TME_NONCLIENT) != 0;
    bool inside = target.hwnd == tracked && ((target.hit == HTCLIENT) != nonClient);
    if (inside)
        return;
    {
        InputGuard guard(state.lock);
        state.tracked = nullptr;
        state.trackFlags = 0;
    }
    if (flags & TME_LEAVE)
        PostMessageW(tracked, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

// The hover time counts again from a point the mouse moved too far from.
void RestartHover(POINT screen) {
    InputState& state = State();
    HWND tracked;
    UINT time;
    {
        InputGuard guard(state.lock);
        if (!state.tracked || !(state.trackFlags & TME_HOVER))
            return;
        if (std::abs(screen.x - state.hoverStart.x) <= 2 && std::abs(screen.y - state.hoverStart.y) <= 2)
            return;
        state.hoverStart = screen;
        tracked = state.tracked;
        time = static_cast<UINT>(state.hoverTime);
    }
    SetSystemTimer(tracked, HoverTimerId, time);
}

void PostMouse(const Target& target, UINT clientMessage, POINT screen, WPARAM extraHigh = 0) {
    MSG msg{};
    msg.hwnd = target.hwnd;
    msg.time = MessageTick();
    msg.pt = screen;
    if (target.hit == HTCLIENT) {
        POINT client = screen;
        ScreenToClient(target.hwnd, &client);
        msg.message = clientMessage;
        msg.wParam = MouseKeyFlags() | (extraHigh << 16);
        msg.lParam = PointParam(client);
    } else {
        // WM_MOUSEMOVE .. WM_MBUTTONDBLCLK map onto WM_NCMOUSEMOVE .. WM_NCMBUTTONDBLCLK.
        msg.message = clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        msg.wParam = static_cast<WPARAM>(target.hit);
        msg.lParam = PointParam(screen);
    }
    PostInputMessage(msg);
}

UINT DownMessage(Button button) {
    switch (button) {
    case Button::Left:
        return WM_LBUTTONDOWN;
    case Button::Right:
        return WM_RBUTTONDOWN;
    case Button::Middle:
        return WM_MBUTTONDOWN;
    default:
        return WM_MBUTTONDOWN;
    }
}

int ButtonKey(Button button) {
    switch (button) {
    case Button::Left:
        return VK_LBUTTON;
    case Button::Right:
        return VK_RBUTTON;
    case Button::Middle:
        return VK_MBUTTON;
    case Button::X1:
        return VK_XBUTTON1;
    case Button::X2:
        return VK_XBUTTON2;
    }
    return VK_LBUTTON;
}

bool ClassWantsDoubleClicks(HWND hwnd) {
    TreeGuard guard(TreeLock());
    Window* window = Lookup(hwnd);
    return window && window->cls && (window->cls->style & CS_DBLCLKS);
}

// Mouse activation of an inactive top-level window; false when the click is to be eaten.
bool MouseActivate(const Target& target, UINT downMessage) {
    HWND top;
    bool noActivate;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(target.hwnd);
        if (!window)
            return false;
        Window* root = TopLevelOf(window);
        top = root->handle;
        noActivate = (root->exStyle & WS_EX_NOACTIVATE) != 0;
    }
    if (top == GetActiveWindow())
        return true;
    LRESULT answer = SendMessageW(target.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                  MAKELPARAM(static_cast<WORD>(target.hit), static_cast<WORD>(downMessage)));
    if ((answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) && !noActivate && IsWindow(top))
        ActivateWindow(top, WA_CLICKACTIVE);
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

} // namespace

void MouseMove(int x, int y) {
    POINT screen{x, y};
    {
        InputGuard guard(State().lock);
        State().cursor = screen;
    }
    if (Tracker* tracker = ActiveTracker()) {
        tracker->MouseMove(screen);
        return;
    }
    HWND capture = GetCapture();
    Target target;
    if (capture) {
        target = Target{capture, HTCLIENT};
    } else {
        target = FindTarget(screen);
        CheckLeave(target);
        if (!target.hwnd)
            return;
        RestartHover(screen);
        SendSetCursor(target, WM_MOUSEMOVE);
    }
    if (IsWindow(target.hwnd))
        PostMouse(target, WM_MOUSEMOVE, screen);
}

void MouseButton(Button button, bool down, int x, int y) {
    POINT screen{x, y};
    InputState& state = State();
    int vk = ButtonKey(button);
    {
        InputGuard guard(state.lock);
        state.cursor = screen;
        if (down) {
            state.asyncKeys[vk] |= 0x80;
            state.pressedSinceQuery[vk] = 1;
        } else {
            state.asyncKeys[vk] &= static_cast<BYTE>(~0x80);
        }
    }
    if (Tracker* tracker = ActiveTracker()) {
        if (!down)
            tracker->ButtonUp(screen);
        return;
    }
    if (button == Button::X1 || button == Button::X2)
        return; // the framework has no use for the extra buttons' messages
    UINT downMessage = DownMessage(button);
    HWND capture = GetCapture();
    Target target;
    if (capture) {
        target = Target{capture, HTCLIENT};
    } else {
        target = FindTarget(screen);
        if (!target.hwnd)
            return;
        if (!IsWindowEnabled(target.hwnd)) {
            MessageBeep(MB_OK);
            return;
        }
        if (down) {
            if (!MouseActivate(target, downMessage))
                return;
            SendSetCursor(target, downMessage);
        }
    }
    if (!IsWindow(target.hwnd))
        return;
    UINT message = down ? downMessage : downMessage + 1;
    if (down) {
        // A second press of the same button on the same window, soon enough and near enough, is a double
        // click; a third press starts over.
        bool doubled = false;
        {
            InputGuard guard(state.lock);
            LastClick& last = state.lastClick;
            DWORD now = MessageTick();
            int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
            int dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            doubled = !last.doubled && last.hwnd == target.hwnd && last.button == downMessage &&
                      now - last.time <= state.doubleClickTime && std::abs(screen.x - last.pt.x) <= dx &&
                      std::abs(screen.y - last.pt.y) <= dy;
            last = LastClick{target.hwnd, downMessage, screen, now, doubled};
        }
        if (doubled && (target.hit != HTCLIENT || ClassWantsDoubleClicks(target.hwnd)))
            message = downMessage + 2;
    }
    PostMouse(target, message, screen);
}

void Click(Button button, int x, int y) {
    MouseButton(button, true, x, y);
    MouseButton(button, false, x, y);
}

void MouseWheel(int delta, bool horizontal, int x, int y) {
    {
        InputGuard guard(State().lock);
        State().cursor = POINT{x, y};
    }
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    if (!target)
        return;
    MSG msg{};
    msg.hwnd = target;
    msg.message = horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
    {
        InputGuard guard(State().lock);
        msg.wParam =
            MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(static_cast<short>(delta)));
    }
    msg.lParam = PointParam(POINT{x, y});
    msg.time = MessageTick();
    msg.pt = POINT{x, y};
    PostInputMessage(msg);
}

void Key(int virtualKey, bool down) {
    KeyInfo info = ScanOf(virtualKey);
    Key(virtualKey, down, info.scan, info.extended);
}

void Key(int virtualKey, bool down, int scanCode, bool extended) {
    InputState& state = State();
    int vk = virtualKey & 0xFF;
    // The generic modifier keys are what messages carry; the sided ones set the scan code.
    if (vk == VK_LSHIFT || vk == VK_RSHIFT || vk == VK_LCONTROL || vk == VK_RCONTROL || vk == VK_LMENU ||
        vk == VK_RMENU) {
        KeyInfo info = ScanOf(vk);
        scanCode = info.scan;
        extended = info.extended;
        vk = GenericKey(vk);
    }
    bool wasDown;
    bool alt;
    bool control;
    {
        InputGuard guard(state.lock);
        wasDown = (state.asyncKeys[vk] & 0x80) != 0;
        MSG fake{nullptr,
                 down ? WM_KEYDOWN : WM_KEYUP,
                 static_cast<WPARAM>(vk),
                 static_cast<LPARAM>((scanCode & 0xFF) << 16) | (extended ? KF_EXTENDED_BIT : 0),
                 0,
                 {}};
        ApplyToKeys(state.asyncKeys, fake);
        if (down)
            state.pressedSinceQuery[vk] = 1;
        alt = (state.asyncKeys[VK_MENU] & 0x80) != 0;
        control = (state.asyncKeys[VK_CONTROL] & 0x80) != 0;
    }
    if (down && vk == VK_ESCAPE)
        if (Tracker* tracker = ActiveTracker()) {
            tracker->Cancel();
            return;
        }
    HWND target = GetFocus();
    bool system = (alt && !control) || vk == VK_F10 || (vk == VK_MENU);
    if (!target) {
        // Without a focus the active window gets the keys as system keys.
        target = GetActiveWindow();
        system = true;
    }
    if (!target)
        return;
    LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (extended)
        lParam |= KF_EXTENDED_BIT;
    if (alt && !(vk == VK_MENU && !down))
        lParam |= KF_ALTDOWN_BIT;
    if (!down || wasDown)
        lParam |= KF_REPEAT_BIT;
    if (!down)
        lParam |= KF_UP_BIT;
    // Alt pressed with Ctrl, or released after a key typed with it, is an ordinary key to Win32.
    if (vk == VK_MENU && !down && control)
        system = false;
    MSG msg{};
    msg.hwnd = target;
    msg.message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    msg.wParam = static_cast<WPARAM>(vk);
    msg.lParam = lParam;
    msg.time = MessageTick();
    msg.pt = CursorPosition();
    PostInputMessage(msg);
}

void PressKey(int virtualKey) {
    Key(virtualKey, true);
    Key(virtualKey, false);
}

void TypeCharacter(Char c) {
    HWND target = GetFocus();
    if (!target)
        target = GetActiveWindow();
    if (!target)
        return;
    for (bool down : {true, false}) {
        MSG msg{};
        msg.hwnd = target;
        msg.message = down ? WM_KEYDOWN : WM_KEYUP;
        msg.wParam = MAKEWPARAM(VK_PACKET, c);
        msg.lParam = 1 | (down ? 0 : (KF_REPEAT_BIT | KF_UP_BIT));
        msg.time = MessageTick();
        msg.pt = CursorPosition();
        PostInputMessage(msg);
    }
}

void DesktopActivated(HWND hwnd) {
    {
        InputGuard guard(State().lock);
        State().activatingFromDesktop = true;
    }
    if (hwnd && IsWindow(hwnd))
        ActivateWindow(hwnd, WA_ACTIVE);
    else if (!hwnd)
        ActivateWindow(nullptr, WA_INACTIVE);
    InputGuard guard(State().lock);
    State().activatingFromDesktop = false;
}

void DesktopMoved(HWND hwnd, const RECT& shown) {
    RECT r;
    {
        TreeGuard guard(TreeLock());
        Window* w = Lookup(hwnd);
        if (!w || !IsTopLevel(w))
            return;
        r = WindowRectFromHost(w, shown);
        if (EqualRect(&r, &w->rect))
            return;
    }
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Reset() {
    InputState& state = State();
    InputGuard guard(state.lock);
    std::memset(state.keys, 0, sizeof state.keys);
    std::memset(state.asyncKeys, 0, sizeof state.asyncKeys);
    std::memset(state.pressedSinceQuery, 0, sizeof state.pressedSinceQuery);
    state.lastClick = LastClick{};
    state.tracked = nullptr;
    state.trackFlags = 0;
    state.doubleClickTime = 500;
    if (gTracker)
        EndTracking();
}

} // namespace win32::input

// ---- The desktop's input sink ----

namespace win32 {

namespace {

class DesktopInput : public backend::InputSink {
public:
    void MouseMove(int x, int y) override { input::MouseMove(x, y); }
    void MouseButton(backend::MouseButton button, bool down, int x, int y) override {
        input::MouseButton(static_cast<input::Button>(button), down, x, y);
    }
    void MouseWheel(int delta, bool horizontal, int x, int y) override {
        input::MouseWheel(delta, horizontal, x, y);
    }
    void Key(int virtualKey, int scanCode, bool extended, bool down, char16_t text) override {
        if (virtualKey == 0) {
            if (down && text)
                input::TypeCharacter(text);
            return;
        }
        if (scanCode == 0) {
            input::Key(virtualKey, down);
            return;
        }
        input::Key(virtualKey, down, scanCode, extended);
    }
    void HostActivated(std::uintptr_t window, bool active) override {
        input::DesktopActivated(active ? reinterpret_cast<HWND>(window) : nullptr);
    }
    void HostGeometryChanged(std::uintptr_t window, int x, int y, int width, int height) override {
        input::DesktopMoved(reinterpret_cast<HWND>(window), RECT{x, y, x + width, y + height});
    }
    void HostCloseRequested(std::uintptr_t window) override {
        PostMessageW(reinterpret_cast<HWND>(window), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
};

} // namespace

void ConnectInputSink() {
    static DesktopInput sink;
    static bool connected = false;
    if (!connected) {
        connected = true;
        backend::SetInputSink(&sink);
    }
}

} // namespace win32
