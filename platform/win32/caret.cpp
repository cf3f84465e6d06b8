// The caret: one per thread's focus window, drawn by inverting its pixels and blinking on a system timer.
#include <mutex>

#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

constexpr UINT_PTR CaretTimerId = 0xFFFB;

struct Caret {
    HWND hwnd = nullptr;
    HBITMAP bitmap = nullptr;
    int width = 0;
    int height = 0;
    POINT pos{0, 0};
    int hideCount = 1; // a new caret is hidden until ShowCaret
    bool on = false;   // its pixels are inverted now
    UINT blinkTime = 530;
};

Caret& State() {
    static Caret caret;
    return caret;
}

// Inverts the caret's pixels: twice restores what was there.
void Toggle(Caret& caret) {
    if (!IsWindow(caret.hwnd))
        return;
    HDC dc = GetDC(caret.hwnd);
    if (!dc)
        return;
    PatBlt(dc, caret.pos.x, caret.pos.y, caret.width, caret.height, DSTINVERT);
    ReleaseDC(caret.hwnd, dc);
    caret.on = !caret.on;
}

void StartBlinking(Caret& caret) {
    SetSystemTimer(caret.hwnd, CaretTimerId, caret.blinkTime);
}

} // namespace

bool CaretTimer(HWND hwnd, UINT_PTR id) {
    if (id != CaretTimerId)
        return false;
    Caret& caret = State();
    if (caret.hwnd == hwnd && caret.hideCount == 0)
        Toggle(caret);
    return true;
}

} // namespace win32

using namespace win32;

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    DestroyCaret();
    Caret& caret = State();
    caret.hwnd = hwnd;
    caret.bitmap = bitmap;
    caret.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    caret.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    caret.pos = POINT{0, 0};
    caret.hideCount = 1;
    caret.on = false;
    return TRUE;
}

BOOL DestroyCaret() {
    Caret& caret = State();
    if (!caret.hwnd)
        return FALSE;
    if (caret.on)
        Toggle(caret);
    KillSystemTimer(caret.hwnd, CaretTimerId);
    caret = Caret{nullptr, nullptr, 0, 0, {0, 0}, 1, false, caret.blinkTime};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    Caret& caret = State();
    if (!caret.hwnd || (hwnd && hwnd != caret.hwnd) || caret.hideCount == 0)
        return FALSE;
    if (--caret.hideCount == 0) {
        Toggle(caret);
        StartBlinking(caret);
    }
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    Caret& caret = State();
    if (!caret.hwnd || (hwnd && hwnd != caret.hwnd))
        return FALSE;
    if (caret.on)
        Toggle(caret);
    if (caret.hideCount++ == 0)
        KillSystemTimer(caret.hwnd, CaretTimerId);
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    Caret& caret = State();
    if (!caret.hwnd)
        return FALSE;
    bool wasOn = caret.on;
    if (wasOn)
        Toggle(caret);
    caret.pos = POINT{x, y};
    if (caret.hideCount == 0) {
        Toggle(caret);
        StartBlinking(caret);
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    Caret& caret = State();
    if (!caret.hwnd || !point)
        return FALSE;
    *point = caret.pos;
    return TRUE;
}

UINT GetCaretBlinkTime() {
    return State().blinkTime;
}

BOOL SetCaretBlinkTime(UINT milliseconds) {
    State().blinkTime = milliseconds;
    return TRUE;
}
