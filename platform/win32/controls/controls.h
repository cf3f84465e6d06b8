// What the standard controls share privately: their class registrations, the state each window keeps in
// its extra bytes, notifications to the parent and the colours a parent chooses.
#pragma once

#include "platform/win32/winctrl.h"

namespace win32::controls {

void RegisterButtonClass();
void RegisterComboBoxClass();
void RegisterEditClass();
void RegisterListBoxClass();
void RegisterScrollBarClass();
void RegisterStaticClass();

// Registers a global class of the controls: its windows keep their state in StateExtraBytes and show
// cursor over them.
void RegisterControlClass(const Char* name, WNDPROC proc, UINT style, LPCWSTR cursor = IDC_ARROW);

// The class names as Win32 spells them.
inline constexpr const Char* EditClassName = u"Edit";
inline constexpr const Char* ListBoxClassName = u"ListBox";
inline constexpr const Char* ComboBoxClassName = u"ComboBox";
inline constexpr const Char* ComboLBoxClassName = u"ComboLBox";
inline constexpr const Char* ButtonClassName = u"Button";
inline constexpr const Char* StaticClassName = u"Static";
inline constexpr const Char* ScrollBarClassName = u"ScrollBar";

// What a combo box and its list say to each other, in the list box's message range where no LB_ message is:
// the list follows the mouse without a button (wParam TRUE) or stops; the list tells the combo box a click
// fell outside it.
inline constexpr UINT ComboListTrack = 0x01AE;
inline constexpr UINT ComboListClosedOutside = 0x01AF;

// Each control keeps a pointer to its state object in its first extra bytes.
inline constexpr int StateExtraBytes = static_cast<int>(sizeof(void*));

template <typename State>
State* GetState(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}
template <typename State>
void SetState(HWND hwnd, State* state) {
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
}

// The state a control's window procedure works on: WM_NCCREATE stores the one make() gives, and
// WM_NCDESTROY frees it. nullptr where the message is DefWindowProc's alone: before the state exists,
// on WM_NCCREATE and on WM_NCDESTROY.
template <typename State, typename Make> State* ControlState(HWND hwnd, UINT message, Make&& make) {
    State* state = GetState<State>(hwnd);
    if (message == WM_NCCREATE && !state) {
        SetState<State>(hwnd, make());
        return nullptr;
    }
    if (message == WM_NCDESTROY && state) {
        SetState<State>(hwnd, nullptr);
        delete state;
        return nullptr;
    }
    return state;
}

// Runs paint for WM_PAINT (given nullptr: on the DC BeginPaint gives) or WM_PRINTCLIENT (on given).
template <typename Paint> void PaintControl(HWND hwnd, HDC given, Paint&& paint) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(hwnd, &ps);
    paint(dc);
    if (!given)
        EndPaint(hwnd, &ps);
}

// Sends WM_COMMAND with the control's id and a notification code to its parent (or to the window a
// combo box names as the notified one); no call site builds the wParam by hand.
void NotifyCommand(HWND control, HWND parent, WORD code);

// Asks the parent for the colours of the control through message (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC,
// WM_CTLCOLORLISTBOX); the answer is the brush to fill the background with, the DC's colours set.
HBRUSH ControlColor(HWND control, HWND parent, HDC dc, UINT message);

// The font a control draws with: the one set by WM_SETFONT, else the system font.
HFONT ControlFont(HFONT font);

// Selects an object into a DC for a scope.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : FDC(dc), FOld(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectGuard() {
        if (FOld)
            SelectObject(FDC, FOld);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// The height of a line of text in font, measured on a screen DC.
int FontLineHeight(HFONT font);
int FontAverageWidth(HFONT font);

} // namespace win32::controls
