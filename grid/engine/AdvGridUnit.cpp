// The grid unit's process-wide start-up and shutdown, its window hook and its shared small routines.
#include "grid/engine/AdvGridUnit.h"

#include <vector>

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
    if (!VerQueryValueW(buffer.data(), u"\\", reinterpret_cast<LPVOID*>(&fixed), &length) || fixed == nullptr ||
        fixed->dwSignature != 0xFEEF04BD)
        return -1;
    return static_cast<Integer>(fixed->dwFileVersionMS);
}
