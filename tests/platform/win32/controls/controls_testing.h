// What the control tests share: a parent window, a recorder that subclasses a control so the message log
// sees its messages, typing helpers that drive the input entry points, and reading notifications.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/win32/sysconfig.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wininput.h"
#include "tests/platform/win32/win_testing.h"

namespace controltest {

inline std::map<HWND, WNDPROC>& OriginalProcs() {
    static std::map<HWND, WNDPROC> procs;
    return procs;
}

// Messages the recorder leaves out, besides what the window tests call noise.
inline bool Noise(UINT message) {
    switch (message) {
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_NCHITTEST:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_SYSTIMER:
    case WM_SETCURSOR:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_GETICON:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_GETFONT:
        return true;
    default:
        return false;
    }
}

inline LRESULT RecorderProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = OriginalProcs()[hwnd];
    if (wintest::MessageLog* log = wintest::CurrentLog(); log && !Noise(message))
        log->Add(wintest::Record{hwnd, message, wParam, lParam, false, false,
                                 wintest::NotifyCode(message, lParam)});
    if (message == WM_NCDESTROY)
        OriginalProcs().erase(hwnd);
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

// From now on the log records the control's messages.
inline void Record(HWND control) {
    OriginalProcs()[control] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecorderProc)));
}

// Reads input and posted messages but not WM_PAINT, so a sequence holds only what the action caused.
inline void PumpInput() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_MOUSELAST, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, WM_USER, 0xFFFF, PM_REMOVE); ++i)
        DispatchMessageW(&msg);
}

inline void Press(int key) {
    win32::input::PressKey(key);
    PumpInput();
}

// Presses key with the modifier held.
inline void Chord(int modifier, int key) {
    win32::input::Key(modifier, true);
    win32::input::PressKey(key);
    win32::input::Key(modifier, false);
    PumpInput();
}

inline void Type(const String& text) {
    for (Char c : text)
        win32::input::TypeCharacter(c);
    PumpInput();
}

inline void Click(HWND hwnd, int x, int y, bool twice = false) {
    POINT p = wintest::ScreenPoint(hwnd, x, y);
    win32::input::Click(win32::input::Button::Left, p.x, p.y);
    if (twice)
        win32::input::Click(win32::input::Button::Left, p.x, p.y);
    PumpInput();
}

// The WM_COMMAND notification codes the parent got from control, in order.
inline std::vector<WORD> Notifications(const wintest::MessageLog& log, HWND parent, HWND control) {
    std::vector<WORD> codes;
    for (const wintest::Record& r : log.Records())
        if (r.hwnd == parent && r.message == WM_COMMAND && reinterpret_cast<HWND>(r.lParam) == control)
            codes.push_back(HIWORD(r.wParam));
    return codes;
}

inline String WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    String text(static_cast<size_t>(length) + 1, u'\0');
    int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return text;
}

// A shown parent window for the controls of one test, destroyed with everything else after it.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::RegisterSystemControls();
        wintest::Options options;
        options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        options.rect = RECT{0, 0, 400, 300};
        FParent = wintest::Create(options);
        wintest::Pump();
    }
    void TearDown() override { wintest::ResetWindowManager(); }

    HWND Child(LPCWSTR className, DWORD style, RECT rect, LPCWSTR text = u"", int id = 100) {
        HWND hwnd =
            CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, FParent,
                            reinterpret_cast<HMENU>(static_cast<std::intptr_t>(id)), nullptr, nullptr);
        return hwnd;
    }

    HWND FParent = nullptr;
};

} // namespace controltest
