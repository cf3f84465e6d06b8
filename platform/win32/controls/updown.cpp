// The up-down window class: two arrows that step a position in a range (wrapping or stopping at the
// ends), repeat while held with growing steps, write the position into a buddy window and hear the
// buddy's arrow keys.
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "platform/rtl/Trace.h"
#include "platform/win32/commctrl.h"
#include "platform/win32/controls/controls.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/time.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/windraw.h"

namespace win32::controls {

namespace {

const Trace::Channel TraceUpDown("updown");

constexpr UINT_PTR RepeatTimer = 1;
constexpr UINT FirstRepeatDelay = 500; // before a held arrow starts repeating
constexpr UINT RepeatDelay = 100;

enum class Arrow { None, Up, Down };

// The buddies whose arrow keys an up-down hears: the buddy's own procedure and its up-down.
struct BuddyHook {
    WNDPROC original = nullptr;
    HWND updown = nullptr;
};

std::map<HWND, BuddyHook>& BuddyHooks() {
    static std::map<HWND, BuddyHook> hooks;
    return hooks;
}

LRESULT BuddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = BuddyHooks().find(hwnd);
    if (found == BuddyHooks().end())
        return DefWindowProcW(hwnd, message, wParam, lParam);
    BuddyHook hook = found->second;
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && (wParam == VK_UP || wParam == VK_DOWN) &&
        IsWindow(hook.updown)) {
        SendMessageW(hook.updown, message, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY) {
        if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(BuddyProc))
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.original));
        BuddyHooks().erase(hwnd);
    }
    return CallWindowProcW(hook.original, hwnd, message, wParam, lParam);
}

void HookBuddy(HWND buddy, HWND updown) {
    auto found = BuddyHooks().find(buddy);
    if (found != BuddyHooks().end()) {
        found->second.updown = updown;
        return;
    }
    BuddyHook hook;
    hook.updown = updown;
    hook.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc)));
    BuddyHooks().emplace(buddy, hook);
}

void UnhookBuddy(HWND buddy, HWND updown) {
    auto found = BuddyHooks().find(buddy);
    if (found == BuddyHooks().end() || found->second.updown != updown)
        return;
    // Someone who subclassed the buddy after us still calls our procedure, which then passes everything on.
    found->second.updown = nullptr;
    if (GetWindowLongPtrW(buddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(BuddyProc)) {
        SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.original));
        BuddyHooks().erase(found);
    }
}

class UpDown {
public:
    explicit UpDown(HWND hwnd) : FHwnd(hwnd) { FAccel.push_back(UDACCEL{0, 1}); }
    ~UpDown() {
        if (FBuddy)
            UnhookBuddy(FBuddy, FHwnd);
    }

    LRESULT WMCreate();
    LRESULT WMLButtonDown(POINT point);
    LRESULT WMLButtonUp();
    LRESULT WMCaptureChanged();
    LRESULT WMTimer(UINT_PTR id);
    LRESULT WMKeyDown(int key);
    LRESULT WMKeyUp(int key);
    LRESULT WMEnable() {
        InvalidateRect(FHwnd, nullptr, TRUE);
        return 0;
    }
    LRESULT WMPaint(HDC given);
    LRESULT UDMSetRange(int low, int high);
    LRESULT UDMGetRange() const { return MAKELRESULT(static_cast<WORD>(FHigh), static_cast<WORD>(FLow)); }
    LRESULT UDMGetRange32(int* low, int* high) const;
    LRESULT UDMSetPos(int pos);
    LRESULT UDMGetPos(BOOL* error, bool wide);
    LRESULT UDMSetBuddy(HWND buddy);
    LRESULT UDMGetBuddy() const { return reinterpret_cast<LRESULT>(FBuddy); }
    LRESULT UDMSetAccel(int count, const UDACCEL* accel);
    LRESULT UDMGetAccel(int count, UDACCEL* accel) const;
    LRESULT UDMSetBase(int base);
    LRESULT UDMGetBase() const { return FBase; }

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(FHwnd, GWL_STYLE)); }
    bool Horizontal() const { return (Style() & UDS_HORZ) != 0; }
    RECT ArrowRect(Arrow arrow) const;
    Arrow ArrowAt(POINT point) const;
    int Increment() const;
    void Step(Arrow arrow);
    void StartHold(Arrow arrow);
    void EndHold();
    void WriteBuddy();
    bool ReadBuddy();
    void Scroll(WORD code);
    void Align();

    HWND FHwnd;
    HWND FBuddy = nullptr;
    int FLow = 100; // the range starts reversed, as Win32's does: the up arrow lowers the position
    int FHigh = 0;
    int FPos = 0;
    int FBase = 10;
    std::vector<UDACCEL> FAccel;
    Arrow FHeld = Arrow::None; // the arrow the mouse or a key holds down
    bool FKeyHeld = false;
    UInt64 FHoldStart = 0; // tick count when the arrow went down, for the acceleration
};

LRESULT UpDown::WMCreate() {
    DWORD style = Style();
    if (style & UDS_AUTOBUDDY)
        UDMSetBuddy(GetWindow(FHwnd, GW_HWNDPREV));
    return 0;
}

// The first half of the control (top, or right when horizontal) is the up arrow.
RECT UpDown::ArrowRect(Arrow arrow) const {
    RECT client;
    GetClientRect(FHwnd, &client);
    if (Horizontal()) {
        int middle = client.right / 2;
        return arrow == Arrow::Up ? RECT{middle, 0, client.right, client.bottom}
                                  : RECT{0, 0, middle, client.bottom};
    }
    int middle = client.bottom / 2;
    return arrow == Arrow::Up ? RECT{0, 0, client.right, middle}
                              : RECT{0, middle, client.right, client.bottom};
}

Arrow UpDown::ArrowAt(POINT point) const {
    for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
        RECT rect = ArrowRect(arrow);
        if (PtInRect(&rect, point))
            return arrow;
    }
    return Arrow::None;
}

// The step of the acceleration entry whose time has come.
int UpDown::Increment() const {
    UInt64 seconds = FHeld == Arrow::None ? 0 : (GetTickCount64() - FHoldStart) / 1000;
    int inc = FAccel.empty() ? 1 : static_cast<int>(FAccel[0].nInc);
    for (const UDACCEL& entry : FAccel)
        if (entry.nSec <= seconds)
            inc = static_cast<int>(entry.nInc);
    return inc;
}

// One step: the parent may refuse or change it (UDN_DELTAPOS); the position stops at the ends or wraps;
// the parent always hears where it is now (WM_VSCROLL or WM_HSCROLL with SB_THUMBPOSITION).
void UpDown::Step(Arrow arrow) {
    if (Style() & UDS_SETBUDDYINT)
        ReadBuddy();
    int delta = Increment();
    if (arrow == Arrow::Down)
        delta = -delta;
    if (FLow > FHigh)
        delta = -delta;
    NMUPDOWN info{};
    info.iPos = FPos;
    info.iDelta = delta;
    if (!SendNotify(FHwnd, GetParent(FHwnd), info.hdr, UDN_DELTAPOS)) {
        int low = std::min(FLow, FHigh);
        int high = std::max(FLow, FHigh);
        long long next = static_cast<long long>(FPos) + info.iDelta;
        if (next > high)
            next = (Style() & UDS_WRAP) ? low : high;
        else if (next < low)
            next = (Style() & UDS_WRAP) ? high : low;
        if (next != FPos) {
            FPos = static_cast<int>(next);
            if (Style() & UDS_SETBUDDYINT)
                WriteBuddy();
        }
    }
    Scroll(SB_THUMBPOSITION);
}

void UpDown::Scroll(WORD code) {
    HWND parent = GetParent(FHwnd);
    if (!parent)
        return;
    SendMessageW(parent, Horizontal() ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, static_cast<WORD>(FPos)),
                 reinterpret_cast<LPARAM>(FHwnd));
}

void UpDown::StartHold(Arrow arrow) {
    FHeld = arrow;
    FHoldStart = GetTickCount64();
    InvalidateRect(FHwnd, nullptr, TRUE);
    Step(arrow);
    SetTimer(FHwnd, RepeatTimer, FirstRepeatDelay, nullptr);
}

void UpDown::EndHold() {
    if (FHeld == Arrow::None)
        return;
    FHeld = Arrow::None;
    FKeyHeld = false;
    KillTimer(FHwnd, RepeatTimer);
    InvalidateRect(FHwnd, nullptr, TRUE);
    Scroll(SB_ENDSCROLL);
}

LRESULT UpDown::WMLButtonDown(POINT point) {
    Arrow arrow = ArrowAt(point);
    if (arrow == Arrow::None || !IsWindowEnabled(FHwnd))
        return 0;
    SetCapture(FHwnd);
    StartHold(arrow);
    return 0;
}

LRESULT UpDown::WMLButtonUp() {
    if (GetCapture() == FHwnd)
        ReleaseCapture();
    EndHold();
    return 0;
}

LRESULT UpDown::WMCaptureChanged() {
    if (!FKeyHeld)
        EndHold();
    return 0;
}

LRESULT UpDown::WMTimer(UINT_PTR id) {
    if (id != RepeatTimer || FHeld == Arrow::None)
        return 0;
    // A mouse-held arrow repeats only while the mouse is still over it.
    if (!FKeyHeld) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(FHwnd, &cursor);
        if (ArrowAt(cursor) != FHeld)
            return 0;
    }
    Step(FHeld);
    SetTimer(FHwnd, RepeatTimer, RepeatDelay, nullptr);
    return 0;
}

// The keyboard repeats by itself, so a held key steps on each WM_KEYDOWN.
LRESULT UpDown::WMKeyDown(int key) {
    if (!(Style() & UDS_ARROWKEYS) || (key != VK_UP && key != VK_DOWN))
        return 0;
    Arrow arrow = key == VK_UP ? Arrow::Up : Arrow::Down;
    if (FHeld != arrow) {
        FHeld = arrow;
        FKeyHeld = true;
        FHoldStart = GetTickCount64();
        InvalidateRect(FHwnd, nullptr, TRUE);
    }
    Step(arrow);
    return 0;
}

LRESULT UpDown::WMKeyUp(int key) {
    if (FKeyHeld && (key == VK_UP || key == VK_DOWN))
        EndHold();
    return 0;
}

LRESULT UpDown::UDMSetRange(int low, int high) {
    FLow = low;
    FHigh = high;
    FPos = std::clamp(FPos, std::min(FLow, FHigh), std::max(FLow, FHigh));
    return 0;
}

LRESULT UpDown::UDMGetRange32(int* low, int* high) const {
    if (low)
        *low = FLow;
    if (high)
        *high = FHigh;
    return 0;
}

// Answers the old position; the new one is kept within the range.
LRESULT UpDown::UDMSetPos(int pos) {
    int old = FPos;
    FPos = std::clamp(pos, std::min(FLow, FHigh), std::max(FLow, FHigh));
    if (Style() & UDS_SETBUDDYINT)
        WriteBuddy();
    return old;
}

// With a buddy that holds the number, the number is read from it first; text that is no number is an
// error (the high word of the 16-bit answer, or *error).
LRESULT UpDown::UDMGetPos(BOOL* error, bool wide) {
    bool ok = true;
    if (FBuddy && (Style() & UDS_SETBUDDYINT))
        ok = ReadBuddy();
    if (wide) {
        if (error)
            *error = ok ? FALSE : TRUE;
        return FPos;
    }
    return MAKELRESULT(static_cast<WORD>(FPos), ok ? 0 : 1);
}

LRESULT UpDown::UDMSetBuddy(HWND buddy) {
    HWND old = FBuddy;
    if (old)
        UnhookBuddy(old, FHwnd);
    FBuddy = IsWindow(buddy) ? buddy : nullptr;
    if (FBuddy) {
        HookBuddy(FBuddy, FHwnd);
        Align();
        if (Style() & UDS_SETBUDDYINT)
            WriteBuddy();
    }
    return reinterpret_cast<LRESULT>(old);
}

// With UDS_ALIGNRIGHT or UDS_ALIGNLEFT the up-down takes the buddy's height and its place beside the
// buddy, the buddy giving up the width.
void UpDown::Align() {
    DWORD style = Style();
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || !FBuddy)
        return;
    HWND parent = GetParent(FHwnd);
    RECT buddy;
    GetWindowRect(FBuddy, &buddy);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddy), 2);
    RECT own;
    GetWindowRect(FHwnd, &own);
    int width = own.right - own.left;
    if (width <= 0)
        width = GetSystemMetrics(SM_CXVSCROLL);
    int buddyWidth = std::max(0, static_cast<int>(buddy.right - buddy.left) - width);
    int height = buddy.bottom - buddy.top;
    if (style & UDS_ALIGNRIGHT) {
        SetWindowPos(FBuddy, nullptr, 0, 0, buddyWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(FHwnd, nullptr, buddy.left + buddyWidth, buddy.top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(FBuddy, nullptr, buddy.left + width, buddy.top, buddyWidth, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(FHwnd, nullptr, buddy.left, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT UpDown::UDMSetAccel(int count, const UDACCEL* accel) {
    if (count <= 0 || !accel)
        return FALSE;
    FAccel.assign(accel, accel + count);
    return TRUE;
}

LRESULT UpDown::UDMGetAccel(int count, UDACCEL* accel) const {
    if (accel)
        std::copy_n(FAccel.begin(),
                    std::min<std::size_t>(static_cast<std::size_t>(std::max(0, count)), FAccel.size()),
                    accel);
    return static_cast<LRESULT>(FAccel.size());
}

LRESULT UpDown::UDMSetBase(int base) {
    if (base != 10 && base != 16)
        return 0;
    int old = FBase;
    FBase = base;
    return old;
}

// Decimal with thousands separators (unless UDS_NOTHOUSANDS), or hexadecimal as 0x.
void UpDown::WriteBuddy() {
    if (!FBuddy)
        return;
    String text;
    if (FBase == 16) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(FPos));
        for (const char* c = buffer; *c; ++c)
            text += static_cast<Char>(*c);
    } else {
        long long value = FPos;
        bool negative = value < 0;
        unsigned long long magnitude =
            negative ? static_cast<unsigned long long>(-value) : static_cast<unsigned long long>(value);
        int digits = 0;
        do {
            if (digits > 0 && digits % 3 == 0 && !(Style() & UDS_NOTHOUSANDS))
                text.insert(text.begin(), u',');
            text.insert(text.begin(), static_cast<Char>(u'0' + magnitude % 10));
            magnitude /= 10;
            ++digits;
        } while (magnitude);
        if (negative)
            text.insert(text.begin(), u'-');
    }
    SetWindowTextW(FBuddy, text.c_str());
}

// Reads the number in the buddy; answers false (and keeps the position) when there is none.
bool UpDown::ReadBuddy() {
    if (!FBuddy)
        return false;
    int length = GetWindowTextLengthW(FBuddy);
    String text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(FBuddy, text.data(), length + 1)));
    std::size_t i = 0;
    bool negative = false;
    if (FBase == 10 && i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }
    if (FBase == 16 && text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        i = 2;
    long long value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        Char c = text[i];
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (FBase == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (FBase == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else if (c == u',' && FBase == 10)
            continue;
        if (digit < 0)
            return false;
        value = value * FBase + digit;
        if (value > 0x7FFFFFFFLL)
            return false;
        any = true;
    }
    if (!any)
        return false;
    if (negative)
        value = -value;
    if (value < std::min(FLow, FHigh) || value > std::max(FLow, FHigh))
        return false;
    FPos = static_cast<int>(value);
    return true;
}

LRESULT UpDown::WMPaint(HDC given) {
    PaintControl(FHwnd, given, [this](HDC dc) {
        bool enabled = IsWindowEnabled(FHwnd) != FALSE;
        PaintTheme theme(FHwnd, u"Spin", GetSystemSettings().themesActive);
        for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
            RECT rect = ArrowRect(arrow);
            bool pressed = FHeld == arrow;
            if (theme) {
                int part = arrow == Arrow::Up ? (Horizontal() ? SPNP_UPHORZ : SPNP_UP)
                                              : (Horizontal() ? SPNP_DOWNHORZ : SPNP_DOWN);
                int state = !enabled ? UPS_DISABLED : pressed ? UPS_PRESSED : UPS_NORMAL;
                DrawThemeBackground(theme, dc, part, state, &rect, nullptr);
                continue;
            }
            UINT kind = arrow == Arrow::Up ? (Horizontal() ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP)
                                           : (Horizontal() ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN);
            DrawFrameControl(dc, &rect, DFC_SCROLL,
                             kind | (pressed ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
        }
    });
    return 0;
}

LRESULT UpDownWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    UpDown* control = ControlState<UpDown>(hwnd, message, [&] { return new UpDown(hwnd); });
    if (!control)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return control->WMCreate();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return control->WMLButtonDown(PointOf(lParam));
    case WM_LBUTTONUP:
        return control->WMLButtonUp();
    case WM_CAPTURECHANGED:
        return control->WMCaptureChanged();
    case WM_TIMER:
        return control->WMTimer(wParam);
    case WM_KEYDOWN:
        return control->WMKeyDown(static_cast<int>(wParam));
    case WM_KEYUP:
        return control->WMKeyUp(static_cast<int>(wParam));
    case WM_ENABLE:
        return control->WMEnable();
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        // A WM_PAINT carrying a DC paints into it, as for a parent drawing through a bitmap.
        return control->WMPaint(reinterpret_cast<HDC>(wParam));
    case UDM_SETRANGE:
        return control->UDMSetRange(static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam)));
    case UDM_GETRANGE:
        return control->UDMGetRange();
    case UDM_SETRANGE32:
        return control->UDMSetRange(static_cast<int>(wParam), static_cast<int>(lParam));
    case UDM_GETRANGE32:
        return control->UDMGetRange32(reinterpret_cast<int*>(wParam), reinterpret_cast<int*>(lParam));
    case UDM_SETPOS:
        return control->UDMSetPos(static_cast<short>(LOWORD(lParam)));
    case UDM_GETPOS:
        return control->UDMGetPos(nullptr, false);
    case UDM_SETPOS32:
        return control->UDMSetPos(static_cast<int>(lParam));
    case UDM_GETPOS32:
        return control->UDMGetPos(reinterpret_cast<BOOL*>(lParam), true);
    case UDM_SETBUDDY:
        return control->UDMSetBuddy(reinterpret_cast<HWND>(wParam));
    case UDM_GETBUDDY:
        return control->UDMGetBuddy();
    case UDM_SETACCEL:
        return control->UDMSetAccel(static_cast<int>(wParam), reinterpret_cast<const UDACCEL*>(lParam));
    case UDM_GETACCEL:
        return control->UDMGetAccel(static_cast<int>(wParam), reinterpret_cast<UDACCEL*>(lParam));
    case UDM_SETBASE:
        return control->UDMSetBase(static_cast<int>(wParam));
    case UDM_GETBASE:
        return control->UDMGetBase();
    default:
        if (message >= WM_USER + 100 && message < WM_USER + 120)
            ZFIXME(TraceUpDown, "%p: message %#x is not handled", static_cast<void*>(hwnd), message);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterUpDownClass() {
    RegisterControlClass(UPDOWN_CLASSW, UpDownWndProc, CS_DBLCLKS | CS_GLOBALCLASS | CS_VREDRAW | CS_HREDRAW);
}

} // namespace win32::controls
