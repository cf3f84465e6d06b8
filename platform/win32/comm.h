// The Win32 communications API: opening serial devices, line settings, timeouts, events, overlapped
// reads and writes, queues, errors and modem lines.
//
// Every call returns what Win32 returns and sets the last error; none throws. Rules kept on purpose:
// - Timeouts are milliseconds of the platform's clock (Clock::TickCount64), as for WaitForSingleObject:
//   under the manual clock of the tests a timeout ends only when the clock is advanced past it.
// - An overlapped call resets the OVERLAPPED's event when it starts, and signals it when the operation
//   completes, also when it completes at once (the call then returns TRUE). A call that fails at once
//   leaves the event reset and the OVERLAPPED untouched.
// - A read or write that times out succeeds with fewer bytes than asked for.
// - A device that disappears (unplugged, or the far end of a pseudo-terminal closed): every operation
//   pending then completes with ERROR_OPERATION_ABORTED, and every later call on the handle but
//   CloseHandle fails with ERROR_BAD_COMMAND, as a removed USB port does.
// - A device opens with empty queues: what its far end sent while it was closed is dropped.
// - A device without modem lines (a pseudo-terminal) reads all its lines off and takes DTR, RTS and
//   break changes without effect.
#pragma once

#include "platform/win32/handle.h"
#include "platform/win32/winerror.h"

// CreateFile's access, sharing, creation and flag values.
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
inline constexpr DWORD FILE_FLAG_OVERLAPPED = 0x40000000;
inline constexpr DWORD MAXDWORD = 0xFFFFFFFF;

// Baud rates.
inline constexpr DWORD CBR_110 = 110;
inline constexpr DWORD CBR_300 = 300;
inline constexpr DWORD CBR_600 = 600;
inline constexpr DWORD CBR_1200 = 1200;
inline constexpr DWORD CBR_2400 = 2400;
inline constexpr DWORD CBR_4800 = 4800;
inline constexpr DWORD CBR_9600 = 9600;
inline constexpr DWORD CBR_14400 = 14400;
inline constexpr DWORD CBR_19200 = 19200;
inline constexpr DWORD CBR_38400 = 38400;
inline constexpr DWORD CBR_56000 = 56000;
inline constexpr DWORD CBR_57600 = 57600;
inline constexpr DWORD CBR_115200 = 115200;
inline constexpr DWORD CBR_128000 = 128000;
inline constexpr DWORD CBR_256000 = 256000;

// DCB.Parity, DCB.StopBits, DCB.fDtrControl and DCB.fRtsControl.
inline constexpr BYTE NOPARITY = 0;
inline constexpr BYTE ODDPARITY = 1;
inline constexpr BYTE EVENPARITY = 2;
inline constexpr BYTE MARKPARITY = 3;
inline constexpr BYTE SPACEPARITY = 4;
inline constexpr BYTE ONESTOPBIT = 0;
inline constexpr BYTE ONE5STOPBITS = 1;
inline constexpr BYTE TWOSTOPBITS = 2;
inline constexpr DWORD DTR_CONTROL_DISABLE = 0;
inline constexpr DWORD DTR_CONTROL_ENABLE = 1;
inline constexpr DWORD DTR_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_DISABLE = 0;
inline constexpr DWORD RTS_CONTROL_ENABLE = 1;
inline constexpr DWORD RTS_CONTROL_HANDSHAKE = 2;
inline constexpr DWORD RTS_CONTROL_TOGGLE = 3;

// Events of SetCommMask and WaitCommEvent.
inline constexpr DWORD EV_RXCHAR = 0x0001;  // a byte was received and queued
inline constexpr DWORD EV_RXFLAG = 0x0002;  // the event character (DCB.EvtChar) was received
inline constexpr DWORD EV_TXEMPTY = 0x0004; // the last byte of the output was sent
inline constexpr DWORD EV_CTS = 0x0008;
inline constexpr DWORD EV_DSR = 0x0010;
inline constexpr DWORD EV_RLSD = 0x0020;
inline constexpr DWORD EV_BREAK = 0x0040;
inline constexpr DWORD EV_ERR = 0x0080; // a framing, overrun or parity error
inline constexpr DWORD EV_RING = 0x0100;
inline constexpr DWORD EV_RX80FULL = 0x0400; // the input queue became 80 percent full

// Errors of ClearCommError.
inline constexpr DWORD CE_RXOVER = 0x0001;
inline constexpr DWORD CE_OVERRUN = 0x0002;
inline constexpr DWORD CE_RXPARITY = 0x0004;
inline constexpr DWORD CE_FRAME = 0x0008;
inline constexpr DWORD CE_BREAK = 0x0010;
inline constexpr DWORD CE_TXFULL = 0x0100;
inline constexpr DWORD CE_IOE = 0x0400;
inline constexpr DWORD CE_MODE = 0x8000;

inline constexpr DWORD PURGE_TXABORT = 0x0001;
inline constexpr DWORD PURGE_RXABORT = 0x0002;
inline constexpr DWORD PURGE_TXCLEAR = 0x0004;
inline constexpr DWORD PURGE_RXCLEAR = 0x0008;

inline constexpr DWORD MS_CTS_ON = 0x0010;
inline constexpr DWORD MS_DSR_ON = 0x0020;
inline constexpr DWORD MS_RING_ON = 0x0040;
inline constexpr DWORD MS_RLSD_ON = 0x0080;

// EscapeCommFunction.
inline constexpr DWORD SETXOFF = 1;
inline constexpr DWORD SETXON = 2;
inline constexpr DWORD SETRTS = 3;
inline constexpr DWORD CLRRTS = 4;
inline constexpr DWORD SETDTR = 5;
inline constexpr DWORD CLRDTR = 6;
inline constexpr DWORD SETBREAK = 8;
inline constexpr DWORD CLRBREAK = 9;

struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;
    DWORD fOutxCtsFlow : 1;
    DWORD fOutxDsrFlow : 1;
    DWORD fDtrControl : 2;
    DWORD fDsrSensitivity : 1;
    DWORD fTXContinueOnXoff : 1;
    DWORD fOutX : 1;
    DWORD fInX : 1;
    DWORD fErrorChar : 1;
    DWORD fNull : 1;
    DWORD fRtsControl : 2;
    DWORD fAbortOnError : 1;
    DWORD fDummy2 : 17;
    WORD wReserved;
    WORD XonLim;
    WORD XoffLim;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    char XonChar;
    char XoffChar;
    char ErrorChar;
    char EofChar;
    char EvtChar;
    WORD wReserved1;
};
static_assert(sizeof(DCB) == 28);
using LPDCB = DCB*;

struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
using LPCOMMTIMEOUTS = COMMTIMEOUTS*;

struct COMSTAT {
    DWORD fCtsHold : 1;
    DWORD fDsrHold : 1;
    DWORD fRlsdHold : 1;
    DWORD fXoffHold : 1;
    DWORD fXoffSent : 1;
    DWORD fEof : 1;
    DWORD fTxim : 1;
    DWORD fReserved : 25;
    DWORD cbInQue;
    DWORD cbOutQue;
};
using LPCOMSTAT = COMSTAT*;

// Internal holds the state of the operation (pending, or how it ended), InternalHigh the bytes moved.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    DWORD Offset;
    DWORD OffsetHigh;
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

// Internal while an operation is in progress.
inline constexpr ULONG_PTR STATUS_PENDING = 0x103;
inline bool HasOverlappedIoCompleted(const OVERLAPPED* lpOverlapped) {
    return lpOverlapped->Internal != STATUS_PENDING;
}

// Opens "\\.\NAME" as /dev/NAME (or the fake port registered under NAME), and any other name as the
// path of a serial device. Access is exclusive, as for a serial port: a second open fails with
// ERROR_ACCESS_DENIED whatever the sharing asked. Creation must be OPEN_EXISTING (else
// ERROR_INVALID_PARAMETER). A missing device gives ERROR_FILE_NOT_FOUND, a file that is not a terminal
// ERROR_INVALID_FUNCTION. Reading and writing need GENERIC_READ and GENERIC_WRITE (else
// ERROR_ACCESS_DENIED). Returns INVALID_HANDLE_VALUE on failure.
HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
inline HANDLE CreateFile(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                         LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                         DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    return CreateFileW(lpFileName, dwDesiredAccess, dwShareMode, lpSecurityAttributes, dwCreationDisposition,
                       dwFlagsAndAttributes, hTemplateFile);
}

// Reads by the comm timeouts. Without lpOverlapped the call waits for the end; with it, a read that
// cannot end at once returns FALSE with ERROR_IO_PENDING. Several reads are served in order.
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
// A write ends when every byte was sent or the write timeout passed. The caller keeps the buffer alive
// until the operation completes. Several writes are sent one after the other.
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
// The result of an overlapped operation: FALSE with ERROR_IO_INCOMPLETE while it is pending (bWait
// FALSE), else waits for it; FALSE with the operation's error when it failed.
BOOL GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred,
                         BOOL bWait);
// Ends every pending read, write and event wait of the handle (of every thread, not only the
// caller's) with ERROR_OPERATION_ABORTED.
BOOL CancelIo(HANDLE hFile);

// Queue sizes: the input queue holds dwInQueue bytes (the default is 4096; 0 keeps the size). A termios
// device is not read while the queue is full, so the kernel and flow control hold what comes; bytes the
// fake device pushes into a full queue are lost and flagged CE_RXOVER. Writes are not queued apart from
// the caller's buffer, so dwOutQueue has no effect.
BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue);
BOOL GetCommState(HANDLE hFile, LPDCB lpDCB);
// FALSE with ERROR_INVALID_PARAMETER for a rate of 0, ByteSize outside 5-8, an unknown parity or stop
// bits, one and a half stop bits on words other than five bits, two on five-bit words, or equal XON
// and XOFF characters with XON/XOFF flow on. DTR handshake is kept as DTR on; DSR output flow,
// fTXContinueOnXoff, XonLim, XoffLim and EofChar are kept without effect on a termios device (Linux has
// no such control). RTS handshake and CTS output flow both become the kernel's RTS/CTS flow control.
BOOL SetCommState(HANDLE hFile, LPDCB lpDCB);
BOOL GetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts);
// Reads: interval MAXDWORD with zero totals returns at once with what is queued; interval and
// multiplier MAXDWORD with a constant returns as soon as a byte is there, or after the constant;
// otherwise a read ends after multiplier x bytes + constant (no limit when both are 0), or when
// the interval passes between two bytes after the first. Writes end after multiplier x bytes +
// constant (no limit when both are 0).
BOOL SetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts);
// A new mask ends a pending WaitCommEvent, which then reports an event mask of 0.
BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask);
BOOL GetCommMask(HANDLE hFile, LPDWORD lpEvtMask);
// Waits for an event of the mask. Events of the mask that came while no wait was pending are reported
// at once. FALSE with ERROR_INVALID_PARAMETER when the mask is 0 or a wait is already pending.
BOOL WaitCommEvent(HANDLE hFile, LPDWORD lpEvtMask, LPOVERLAPPED lpOverlapped);
BOOL PurgeComm(HANDLE hFile, DWORD dwFlags);
// Reports and clears the CE_ errors. With DCB.fAbortOnError, reads and writes fail with
// ERROR_OPERATION_ABORTED from an error until this call.
BOOL ClearCommError(HANDLE hFile, LPDWORD lpErrors, LPCOMSTAT lpStat);
BOOL GetCommModemStatus(HANDLE hFile, LPDWORD lpModemStat);
// FALSE with ERROR_INVALID_PARAMETER for an unknown function, SETRTS/CLRRTS under RTS handshake or
// toggle, and SETDTR/CLRDTR under DTR handshake.
BOOL EscapeCommFunction(HANDLE hFile, DWORD dwFunc);
// Sends one byte ahead of any pending output.
BOOL TransmitCommChar(HANDLE hFile, char cChar);
BOOL SetCommBreak(HANDLE hFile);
BOOL ClearCommBreak(HANDLE hFile);
