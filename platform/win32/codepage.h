// Converting between UTF-16 and the bytes of a code page: the system ANSI code page (UTF-8 here),
// UTF-8, the OEM code page (437) and Windows-1252.
#pragma once

#include "platform/win32/winerror.h"

inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_UTF8 = 65001;

inline constexpr DWORD MB_PRECOMPOSED = 0x0001;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x0008;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x0080;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x0400;

inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

using LPCCH = const char*;
using LPSTR = char*;
using LPCWCH = const WCHAR*;
using LPBOOL = BOOL*;

// Both return the number of units written, or with an output size of 0 the number needed. A length of
// -1 converts up to and including the terminating zero. They return 0 and set the last error for an
// unknown code page or bad arguments (ERROR_INVALID_PARAMETER), an output that is too small
// (ERROR_INSUFFICIENT_BUFFER), and, with the *_ERR_INVALID_CHARS flag, input that is not valid
// (ERROR_NO_UNICODE_TRANSLATION).
//
// The ANSI code page decodes a byte that is not valid UTF-8 as its Windows-1252 character and encodes
// an unpaired surrogate in the three-byte form, so that no byte or character is lost; CP_UTF8 decodes
// each invalid byte and encodes each unpaired surrogate as U+FFFD. Code pages 437 and 1252 have no
// best-fit mapping: a character they lack becomes the default character ('?' unless lpDefaultChar
// names one) and sets *lpUsedDefaultChar. CP_UTF8 takes neither of those two arguments
// (ERROR_INVALID_PARAMETER when given); the ANSI code page never needs the default character.
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar, LPBOOL lpUsedDefaultChar);
