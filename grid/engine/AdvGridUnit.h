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

// The high 32 bits of the named library's file version (major in the high word, minor in the low); -1
// when the file has no version resource or its fixed block lacks the signature $FEEF04BD.
Integer GetDllFileVersion(const String& fileName);
