// The print spooler's calls the framework's printer object makes: the installed printers and the
// default one. Printing itself goes through printer DCs.
#pragma once

#include "platform/win32/wintypes.h"

inline constexpr DWORD PRINTER_ENUM_LOCAL = 0x00000002;
inline constexpr DWORD PRINTER_ENUM_CONNECTIONS = 0x00000004;

inline constexpr DWORD PRINTER_ATTRIBUTE_LOCAL = 0x00000040;

struct PRINTER_INFO_4W {
    LPWSTR pPrinterName;
    LPWSTR pServerName; // always null: every printer is reached through this machine
    DWORD Attributes;   // PRINTER_ATTRIBUTE_LOCAL
};

// Lists the printers as PRINTER_INFO_4W records (Level 4; any other level fails with
// ERROR_INVALID_LEVEL) followed by their names, in pPrinterEnum. The system's printers count as this
// machine's: PRINTER_ENUM_LOCAL lists them and Name must be null, else the list is empty. When cbBuf is
// too small the call fails with ERROR_INSUFFICIENT_BUFFER and *pcbNeeded says how many bytes it needs;
// no printers is success with *pcReturned 0. ERROR_INVALID_PARAMETER for a null pcbNeeded or pcReturned.
BOOL EnumPrintersW(DWORD Flags, LPWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                   LPDWORD pcReturned);
// The default printer's name, with its terminating null, in pszBuffer; *pcchBuffer is then the
// characters written. ERROR_INSUFFICIENT_BUFFER with the characters needed in *pcchBuffer when the
// buffer is null or too small, ERROR_FILE_NOT_FOUND when there is no default printer, and
// ERROR_INVALID_PARAMETER for a null pcchBuffer.
BOOL GetDefaultPrinterW(LPWSTR pszBuffer, LPDWORD pcchBuffer);
