// What the standard controls share privately: their class registrations, the state each window keeps in
// its extra bytes, notifications to the parent and the colours a parent chooses.
#pragma once

#include "platform/win32/commctrl.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winctrl.h"

namespace win32::controls {

void RegisterButtonClass();
void RegisterComboBoxClass();
void RegisterDateTimeClass();
void RegisterEditClass();
void RegisterListBoxClass();
void RegisterRichEditClass();
void RegisterProgressClass();
void RegisterMonthCalClass();
void RegisterScrollBarClass();
void RegisterStaticClass();
void RegisterTabControlClass();
void RegisterTrackBarClass();
void RegisterStatusClass();
void RegisterTooltipsClass();
void RegisterUpDownClass();

// Sends WM_NOTIFY with header (filled in here: the control, its id and code) to the window to; answers
// what it answered, 0 without a window.
LRESULT SendNotify(HWND control, HWND to, NMHDR& header, UINT code);

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

// The combo box whose field is being created on this thread, if any: the field learns its combo box from
// it, whatever the combo box's class is called (a class made from COMBOBOX has its own name).
HWND& ComboFieldCreator();

// Each control keeps a pointer to its state object in its first extra bytes.
inline constexpr int StateExtraBytes = static_cast<int>(sizeof(void*));

template <typename State> State* GetState(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}
template <typename State> void SetState(HWND hwnd, State* state) {
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

// The client point of a mouse message's lParam; coordinates are signed, left of or above the client area.
inline POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// What the editing controls give to and take from the clipboard, as CF_UNICODETEXT with owner as the
// clipboard's owner. PutClipboardText answers false where the clipboard could not be opened or filled;
// ClipboardText answers the text up to its zero or the end of the block, empty where there is none.
bool PutClipboardText(HWND owner, StringView text);
String ClipboardText(HWND owner);

// The editing controls' clipboard and undo keys, as the control characters WM_CHAR brings: Ctrl+C, Ctrl+V,
// Ctrl+X and Ctrl+Z send WM_COPY, WM_PASTE, WM_CUT and WM_UNDO to the control. Answers whether c was one.
bool SendEditShortcut(HWND control, Char c);

// Sends WM_COMMAND with the control's id and a notification code to its parent (or to the window a
// combo box names as the notified one); no call site builds the wParam by hand.
void NotifyCommand(HWND control, HWND parent, WORD code);

// Asks the parent for the colours of the control through message (WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC,
// WM_CTLCOLORLISTBOX); the answer is the brush to fill the background with, the DC's colours set.
HBRUSH ControlColor(HWND control, HWND parent, HDC dc, UINT message);

// The font a control draws with: the one set by WM_SETFONT, else the system font.
HFONT ControlFont(HFONT font);

// The date controls keep dates as whole TDateTime days. SystemTimeToDay fails for a date that does not
// exist; DayToSystemTime fills the day of the week and leaves the time zero.
bool SystemTimeToDay(const SYSTEMTIME& st, int& day);
SYSTEMTIME DayToSystemTime(int day);

// A date control's range, its ends as flags names them (GDTR_MIN, GDTR_MAX). GetDayRange fills range[0]
// and range[1], a zero SYSTEMTIME for an end there is not. ReadDayRange reads a range to set; it fails
// for a range missing where flags names an end, a date that does not exist, or ends the wrong way round.
void GetDayRange(DWORD flags, int min, int max, SYSTEMTIME* range);
bool ReadDayRange(DWORD flags, const SYSTEMTIME* range, int& min, int& max);

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

// The theme data a control keeps for its life: opened at WM_CREATE, opened again at WM_THEMECHANGED for
// the theme now in use, closed at WM_DESTROY, or with the control's state where that never came. Null
// where the class list has no theme.
class ControlTheme {
public:
    explicit ControlTheme(const Char* classList) : FClassList(classList) {}
    ~ControlTheme() { Close(); }
    ControlTheme(const ControlTheme&) = delete;
    ControlTheme& operator=(const ControlTheme&) = delete;

    void Open(HWND hwnd) {
        Close();
        FTheme = OpenThemeData(hwnd, FClassList);
    }
    void Close() {
        if (FTheme)
            CloseThemeData(FTheme);
        FTheme = nullptr;
    }
    operator HTHEME() const { return FTheme; }

private:
    const Char* FClassList;
    HTHEME FTheme = nullptr;
};

// Theme data opened for one painting and closed when it ends. Null, for the classic painter, where themed
// is false or the class list has no theme.
class PaintTheme {
public:
    PaintTheme(HWND hwnd, const Char* classList, bool themed = true)
        : FTheme(themed ? OpenThemeData(hwnd, classList) : nullptr) {}
    ~PaintTheme() {
        if (FTheme)
            CloseThemeData(FTheme);
    }
    PaintTheme(const PaintTheme&) = delete;
    PaintTheme& operator=(const PaintTheme&) = delete;

    operator HTHEME() const { return FTheme; }

private:
    HTHEME FTheme;
};

// The height of a line of text in font, measured on a screen DC.
int FontLineHeight(HFONT font);
int FontAverageWidth(HFONT font);

} // namespace win32::controls
