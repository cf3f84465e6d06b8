// What the grid's unit keeps for the whole process: its start-up and shutdown, the window hook that keeps
// the floating focus frame on the current cell, its registered clipboard format and window messages, and
// the small routines other parts of the grid share.
#pragma once

#include "platform/framework/Graphics.h"
#include "platform/win32/winuser.h"

class TAdvStringGrid;

// The installed call-window-procedure hook; null before start-up and after shutdown.
extern HHOOK GridHookHandle;
// The grid whose focus frame window shows, or null; only one grid at a time owns the frame.
extern TAdvStringGrid* FocusWindowGrid;
// The clipboard format "TAdvStringGrid Cells" (the binary cell stream).
extern Word GridCellsClipboardFormat;
// The registered messages "GridEditDone", "GridEditShow", "GridEditProp" and "DTPShiftFocus".
extern Word WM_GRIDEDITDONE;
extern Word WM_GRIDEDITSHOW;
extern Word WM_GRIDEDITPROP;
extern Word WM_DTPSHIFTFOCUS;
// The common controls library is 4.70 or later; the in-place date and time pickers need it.
extern bool ComCtl470OrLater;
// The cursor over links in cells; every grid construction sets it to the hand point.
extern TCursor LinkCursor;
// The font of the grid's rich hint window; a grid sets it to its font's name before it shows a hint.
extern String HintFontName;

// Runs once, the first time: OLE for the thread, the window hook of this thread, the grid's classes for
// streaming, its resources, the common controls flag, the clipboard format and the window messages. Later
// calls do nothing until GridUnitShutdown.
void GridUnitStartup();
// Makes the grid's bitmaps and cursors (the wheel-panning marker "INTLI1" .. "INTLI3" and cursors 8000 ..
// 8008) known to LoadBitmap and LoadCursor of the program's instance; the start-up calls it, later calls
// do nothing.
void RegisterGridResources();
// Runs once after a start-up: OLE released, the hook removed, HintFontName emptied.
void GridUnitShutdown();

// The hook: on WM_WINDOWPOSCHANGING and WM_WINDOWPOSCHANGED to any window of the thread, FocusWindowGrid
// moves its focus frame with its current cell; the call always goes on to the next hook.
LRESULT GridCallWndProcHook(int code, WPARAM wParam, LPARAM lParam);

// The high 32 bits of the named library's file version (major in the high word, minor in the low); -1
// when the file has no version resource or its fixed block lacks the signature $FEEF04BD.
Integer GetDllFileVersion(const String& fileName);
// Adds WS_EX_TRANSPARENT to the window's extended style.
void SetTransparentExStyle(HWND hwnd);

// The grid unit's copies of the locale routines; they behave as the utility unit's, whose names they
// share.
namespace AdvGrid {
Char GetTimeSeparator();
Char GetDateSeparator();
Char GetThousandSeparator();
Char GetDecimalSeparator();
String GetShortDateFormat();
String GetShortTimeFormat();
String GetLongTimeFormat();
} // namespace AdvGrid
