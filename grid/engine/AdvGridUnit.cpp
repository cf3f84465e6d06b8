// The grid unit's process-wide start-up and shutdown, its window hook and its shared small routines.
#include "grid/engine/AdvGridUnit.h"

#include <vector>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "grid/view/AdvGridCarriers.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/ole.h"

HHOOK GridHookHandle = nullptr;
TAdvStringGrid* FocusWindowGrid = nullptr;
Word GridCellsClipboardFormat = 0;
Word WM_GRIDEDITDONE = 0;
Word WM_GRIDEDITSHOW = 0;
Word WM_GRIDEDITPROP = 0;
Word WM_DTPSHIFTFOCUS = 0;
bool ComCtl470OrLater = false;
TCursor LinkCursor = crHandPoint;
String HintFontName;

// Generated from resources/ at build time.
void RegisterWheelPanBitmaps();
void RegisterWheelPanCursors();

void RegisterGridResources() {
    RegisterWheelPanBitmaps();
    RegisterWheelPanCursors();
}

namespace {

bool gStarted = false;

// The classes stored descriptions and the cell stream name. The editors, lists and panels that do not
// exist yet are left out; each joins the list with its class.
void RegisterGridClasses() {
    const TClass classes[] = {
        TAdvStringGrid::StaticClass(), TDropList::StaticClass(),         TArrowWindow::StaticClass(),
        TGridCombo::StaticClass(),     TGridTransEdit::StaticClass(),    TGridTransCombo::StaticClass(),
        TGridCheckBox::StaticClass(),  TGridEditBtn::StaticClass(),      TGridUnitEditBtn::StaticClass(),
        TGridButton::StaticClass(),    THeaderDragButton::StaticClass(), TControlEdit::StaticClass(),
        TControlCombo::StaticClass(),  TScrollBar::StaticClass(),        TFooterPanel::StaticClass(),
        TSearchPanel::StaticClass(),   TGridCellIO::StaticClass(),       TGridCellPropIO::StaticClass(),
        TGridGraphicIO::StaticClass(), TGridBMPIO::StaticClass(),        TGridIconIO::StaticClass(),
        TGridPicIO::StaticClass(),     TGridFilePicIO::StaticClass(),    TGridSLIO::StaticClass(),
    };
    // A failure (a name registered by another class) ends the registration; the grid works without it.
    try {
        for (TClass aClass : classes)
            RegisterClass(aClass);
    } catch (const Exception&) {
    }
}

Word RegisterMessage(const Char* name) {
    return static_cast<Word>(RegisterWindowMessage(name));
}

} // namespace

void GridUnitStartup() {
    if (gStarted)
        return;
    gStarted = true;
    OleInitialize(nullptr);
    FocusWindowGrid = nullptr;
    if (GridHookHandle == nullptr)
        GridHookHandle = SetWindowsHookEx(WH_CALLWNDPROC, GridCallWndProcHook, nullptr, GetCurrentThreadId());
    RegisterGridClasses();
    RegisterGridResources();
    // A signed comparison: -1 for a missing version counts as too old.
    ComCtl470OrLater = GetDllFileVersion(u"comctl32.dll") >= ((4 << 16) | 70);
    GridCellsClipboardFormat = static_cast<Word>(RegisterClipboardFormat(u"TAdvStringGrid Cells"));
    WM_GRIDEDITDONE = RegisterMessage(u"GridEditDone");
    WM_GRIDEDITSHOW = RegisterMessage(u"GridEditShow");
    WM_GRIDEDITPROP = RegisterMessage(u"GridEditProp");
    WM_DTPSHIFTFOCUS = RegisterMessage(u"DTPShiftFocus");
}

void GridUnitShutdown() {
    if (!gStarted)
        return;
    gStarted = false;
    OleUninitialize();
    if (GridHookHandle != nullptr) {
        UnhookWindowsHookEx(GridHookHandle);
        GridHookHandle = nullptr;
    }
    HintFontName.clear();
}

LRESULT GridCallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* record = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const bool moved = record != nullptr &&
                       (record->message == WM_WINDOWPOSCHANGING || record->message == WM_WINDOWPOSCHANGED);
    if (moved && FocusWindowGrid != nullptr)
        FocusWindowGrid->UpdateFocusFrame();
    return CallNextHookEx(GridHookHandle, code, wParam, lParam);
}

Integer GetDllFileVersion(const String& fileName) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(fileName.c_str(), &handle);
    if (size == 0)
        return -1;
    std::vector<Byte> buffer(size);
    if (!GetFileVersionInfoW(fileName.c_str(), handle, size, buffer.data()))
        return -1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), u"\\", reinterpret_cast<LPVOID*>(&fixed), &length))
        return -1;
    if (fixed == nullptr || fixed->dwSignature != 0xFEEF04BD)
        return -1;
    return static_cast<Integer>(fixed->dwFileVersionMS);
}

void SetTransparentExStyle(HWND hwnd) {
    SetWindowLong(hwnd, GWL_EXSTYLE, GetWindowLong(hwnd, GWL_EXSTYLE) | static_cast<LONG>(WS_EX_TRANSPARENT));
}

namespace AdvGrid {

Char GetTimeSeparator() {
    return ::GetTimeSeparator();
}

Char GetDateSeparator() {
    return ::GetDateSeparator();
}

Char GetThousandSeparator() {
    return ::GetThousandSeparator();
}

Char GetDecimalSeparator() {
    return ::GetDecimalSeparator();
}

String GetShortDateFormat() {
    return ::GetShortDateFormat();
}

String GetShortTimeFormat() {
    return FormatSettings.ShortTimeFormat;
}

String GetLongTimeFormat() {
    return FormatSettings.LongTimeFormat;
}

} // namespace AdvGrid
