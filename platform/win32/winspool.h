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

// ---- Printer DCs and print jobs ----

inline constexpr DWORD DM_ORIENTATION = 0x00000001;
inline constexpr short DMORIENT_PORTRAIT = 1;
inline constexpr short DMORIENT_LANDSCAPE = 2;

// The part of a device mode the program sets: the orientation (with DM_ORIENTATION in dmFields).
struct DEVMODEW {
    WCHAR dmDeviceName[32];
    WORD dmSize;
    DWORD dmFields;
    short dmOrientation;
};

struct DOCINFOW {
    int cbSize;
    LPCWSTR lpszDocName;
    LPCWSTR lpszOutput; // the file the job goes to; null for the printer's own (the PDF printer's last file)
    LPCWSTR lpszDatatype;
    DWORD fwType;
};

inline constexpr WORD DC_ORIENTATION = 17;

// A DC on the printer named pszDevice (pszDriver is ignored; "WINSPOOL" by custom), set up by pdm when
// given. Null with ERROR_INVALID_PRINTER_NAME for a printer that is not listed. Drawing reaches paper
// only between StartPage and EndPage of a job.
HDC CreateDCW(LPCWSTR pszDriver, LPCWSTR pszDevice, LPCWSTR pszPort, const DEVMODEW* pdm);
// Starts a job: its number (> 0), or SP_ERROR (-1) when the DC is not a printer's or a job runs.
int StartDocW(HDC hdc, const DOCINFOW* lpdi);
// Each answers a value > 0, or SP_ERROR when there is no job (or no page) to act on.
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);
inline constexpr int SP_ERROR = -1;
// DC_ORIENTATION: the degrees portrait output is turned to print landscape (90 or 270; 0: no landscape).
// -1 with ERROR_INVALID_PRINTER_NAME for a printer that is not listed, or for another capability.
int DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR pPort, WORD fwCapability, LPWSTR pOutput,
                        const DEVMODEW* pDevMode);
