// Resources built into the program (bitmaps, cursors, icons, data) and the libraries whose entry points
// the program looks up by name: both are registered here before use and found by the Win32 calls
// (FindResource, LoadBitmap, LoadCursor, LoadIcon, LoadImage, GetProcAddress).
#pragma once

#include <span>

#include "platform/win32/winuser.h"

namespace win32 {

// Adds a resource of the program. type and name are strings or numbers (MAKEINTRESOURCE), compared as
// Win32 compares them (names without regard to case). Bitmaps are packed DIBs or whole .bmp files;
// cursors and icons whole .cur and .ico files (RT_CURSOR, RT_ICON or the group types). The data is
// copied. A second resource of the same type and name replaces the first.
void RegisterResource(LPCWSTR type, LPCWSTR name, std::span<const BYTE> data);

// Makes an entry point of a library we stand in for known to GetProcAddress. library is the file name
// ("UXTHEME.DLL"), compared without regard to case or a missing ".dll".
void RegisterLibraryEntry(LPCWSTR library, const char* entry, FARPROC function);

template <class Function> void RegisterLibraryEntry(LPCWSTR library, const char* entry, Function* function) {
    RegisterLibraryEntry(library, entry, reinterpret_cast<FARPROC>(function));
}

} // namespace win32
