// The shell's file information: the system image lists of file icons and, for a path, its icon, type
// name and display name.
//
// The system image lists hold one icon per kind of path, drawn by the platform: a document, a folder, a
// drive, an application, a text file and a picture. A path's kind comes from whether it is a folder or a
// drive root, else from its extension. Icon indices are fixed: the same kind gives the same index for as
// long as the process runs, and the lists are never destroyed.
#pragma once

#include <functional>

#include "platform/rtl/Types.h"
#include "platform/win32/imagelist.h"

inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr int MAX_PATH = 260;

struct SHFILEINFOW {
    HICON hIcon;                   // SHGFI_ICON: a new icon the caller destroys
    int iIcon;                     // index in the system image list
    DWORD dwAttributes;            // not filled in
    WCHAR szDisplayName[MAX_PATH]; // SHGFI_DISPLAYNAME
    WCHAR szTypeName[80];          // SHGFI_TYPENAME
};
using SHFILEINFO = SHFILEINFOW;

inline constexpr UINT SHGFI_LARGEICON = 0x000000000;
inline constexpr UINT SHGFI_SMALLICON = 0x000000001;
inline constexpr UINT SHGFI_OPENICON = 0x000000002;
inline constexpr UINT SHGFI_PIDL = 0x000000008;
inline constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000000010;
inline constexpr UINT SHGFI_ICON = 0x000000100;
inline constexpr UINT SHGFI_DISPLAYNAME = 0x000000200;
inline constexpr UINT SHGFI_TYPENAME = 0x000000400;
inline constexpr UINT SHGFI_SYSICONINDEX = 0x000004000;

// Information on path. Without SHGFI_USEFILEATTRIBUTES the path must name an existing file or folder
// (else 0, ERROR_FILE_NOT_FOUND); with it the disk is not read and attributes say whether the path is a
// folder (FILE_ATTRIBUTE_DIRECTORY). SHGFI_SMALLICON chooses the small system list (SM_CXSMICON) over
// the large one (SM_CXICON) for SHGFI_SYSICONINDEX and SHGFI_ICON; iIcon is filled in by both.
// Returns the system image list's handle with SHGFI_SYSICONINDEX, else nonzero on success; 0 on failure.
// info may be NULL with SHGFI_SYSICONINDEX alone, to fetch the list. SHGFI_PIDL (an item list in place
// of a path) is not supported and fails with ERROR_NOT_SUPPORTED; flags not listed above are ignored.
DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags);
inline DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags) {
    return SHGetFileInfoW(path, attributes, info, infoSize, flags);
}

// The failures ShellExecute answers (a value of 32 or less); success is above 32.
inline constexpr LONG_PTR SE_ERR_FNF = 2;
inline constexpr LONG_PTR SE_ERR_ACCESSDENIED = 5;
inline constexpr LONG_PTR SE_ERR_NOASSOC = 31;

// Opens file (a link such as "https://..." or "mailto:...", or a path) in the program the desktop
// associates with it: the text goes to the desktop's opener as its one argument, never through a
// command shell, and the call does not wait. Only the verb "open" (or a null verb, which means it) is
// known; any other answers SE_ERR_NOASSOC. A null or empty file, or one starting with '-' (which the
// opener would take as an option), answers SE_ERR_FNF; an opener that cannot be started SE_ERR_NOASSOC.
// parameters, directory and showCommand are not used: nothing is run with arguments.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand);
inline HINSTANCE ShellExecute(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, INT showCommand) {
    return ShellExecuteW(hwnd, operation, file, parameters, directory, showCommand);
}

namespace win32 {
// Tests: the opener ShellExecuteW hands its file to in place of the desktop's; it answers whether it
// could start. An empty function restores the desktop's opener.
using ShellOpener = std::function<bool(const String& file)>;
void SetShellOpener(ShellOpener opener);
} // namespace win32
