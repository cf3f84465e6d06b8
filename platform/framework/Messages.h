// The framework's component messages (CM_*), the reflected notifications (CN_*) and the message records
// that controls decode window messages into.
#pragma once

#include "platform/win32/winuser.h"

// ---- Component messages: sent between controls, never by the window manager ----
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 4;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
inline constexpr UINT CM_ENTER = CM_BASE + 26;
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
inline constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr UINT CM_WININICHANGE = CM_BASE + 37;
inline constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
inline constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
inline constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
inline constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
inline constexpr UINT CM_GETDATALINK = CM_BASE + 45;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr UINT CM_DRAG = CM_BASE + 47;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;
inline constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
inline constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr UINT CM_CHANGED = CM_BASE + 55;
inline constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
inline constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
inline constexpr UINT CM_FLOAT = CM_BASE + 58;
inline constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
inline constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
inline constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
inline constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
inline constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
inline constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
inline constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 70;
inline constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 71;
inline constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 72;
inline constexpr UINT CM_CREATEPOPUP = CM_BASE + 73;
inline constexpr UINT CM_DESTROYHANDLE = CM_BASE + 74;
inline constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 75;
inline constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 76;
inline constexpr UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 77;
inline constexpr UINT CM_UNTHEMECONTROL = CM_BASE + 78;
inline constexpr UINT CM_DOUBLEBUFFEREDCHANGED = CM_BASE + 79;
inline constexpr UINT CM_PARENTDOUBLEBUFFEREDCHANGED = CM_BASE + 80;
inline constexpr UINT CM_STYLECHANGED = CM_BASE + 81;

// ---- Notifications reflected back to the control that sent them to its parent ----
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + 0x002F;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_COMPAREITEM = CN_BASE + 0x0039;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
inline constexpr UINT CN_VKEYTOITEM = CN_BASE + 0x002E;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---- Message records ----

// Every message as a control's WndProc sees it. Handlers read the typed views below through Cast.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(WParam); }
    WORD WParamHi() const { return HIWORD(WParam); }
    WORD LParamLo() const { return LOWORD(static_cast<std::uintptr_t>(LParam)); }
    WORD LParamHi() const { return HIWORD(static_cast<std::uintptr_t>(LParam)); }
};

// Keys: WM_KEYDOWN, WM_CHAR, CN_KEYDOWN, CM_DIALOGKEY, CM_WANTSPECIALKEY ... CharCode is the virtual
// key (or the character) and may be changed by a handler; KeyData is the lParam of the key message.
struct TWMKey {
    explicit TWMKey(TMessage& message)
        : Msg(message.Msg), CharCode(static_cast<Word>(message.WParam)),
          KeyData(static_cast<LONG>(message.LParam)), Result(message.Result), FMessage(message) {}
    ~TWMKey() {
        FMessage.WParam = CharCode;
        FMessage.Result = Result;
    }
    TWMKey(const TWMKey&) = delete;
    TWMKey& operator=(const TWMKey&) = delete;

    UINT Msg;
    Word CharCode;
    LONG KeyData;
    LRESULT& Result;

private:
    TMessage& FMessage;
};

// Mouse buttons and moves: the key flags (MK_*) and the client position.
struct TWMMouse {
    explicit TWMMouse(const TMessage& message)
        : Msg(message.Msg), Keys(static_cast<UINT>(message.WParam)), XPos(GET_X_LPARAM(message.LParam)),
          YPos(GET_Y_LPARAM(message.LParam)) {}
    UINT Msg;
    UINT Keys;
    int XPos;
    int YPos;
};

// WM_MOUSEWHEEL and CM_MOUSEWHEEL: the screen position and the wheel's delta.
struct TWMMouseWheel {
    explicit TWMMouseWheel(const TMessage& message)
        : Keys(GET_KEYSTATE_WPARAM(message.WParam)), WheelDelta(GET_WHEEL_DELTA_WPARAM(message.WParam)),
          XPos(GET_X_LPARAM(message.LParam)), YPos(GET_Y_LPARAM(message.LParam)) {}
    WORD Keys;
    short WheelDelta;
    int XPos;
    int YPos;
};

// The key-data bit that tells an Alt key was down.
inline constexpr LONG AltMask = 0x20000000;
