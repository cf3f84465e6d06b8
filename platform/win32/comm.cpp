// The Win32 communications API: opening serial devices and the calls on their handles, which the port
// object (comm_private.h) carries out.
#include "platform/win32/comm.h"

#include <atomic>
#include <cerrno>

#include "platform/rtl/UString.h"
#include "platform/win32/comm_private.h"
#include "platform/win32/sync.h"

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile) {
    if (!lpFileName || !*lpFileName) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (dwCreationDisposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string name = StringToUtf8(lpFileName);
    const std::string prefix = "\\\\.\\";
    std::unique_ptr<backend::SerialDevice> device;
    int error = 0;
    if (name.starts_with(prefix)) {
        const std::string deviceName = name.substr(prefix.size());
        device = backend::OpenFakeSerialDevice(deviceName, &error);
        if (!device && error == 0) {
            if (deviceName.empty() || deviceName.find('/') != std::string::npos)
                error = ENOENT;
            else
                device = backend::OpenTermiosDevice("/dev/" + deviceName, &error);
        }
    } else {
        device = backend::OpenTermiosDevice(name, &error);
    }
    if (!device) {
        ZTRACE(win32::TraceSerial, "open %s failed (errno %d)", name.c_str(), error);
        DWORD win32Error;
        switch (error) {
        case EBUSY:
            win32Error = ERROR_ACCESS_DENIED;
            break;
        case ENOTTY:
            win32Error = ERROR_INVALID_FUNCTION;
            break;
        default:
            win32Error = Win32ErrorFromErrno(error);
            break;
        }
        SetLastError(win32Error);
        return INVALID_HANDLE_VALUE;
    }
    auto port = std::make_shared<win32::CommPort>(std::move(device), (dwDesiredAccess & GENERIC_READ) != 0,
                                                  (dwDesiredAccess & GENERIC_WRITE) != 0,
                                                  (dwFlagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0);
    port->Start();
    ZTRACE(win32::TraceSerial, "open %s: %p", name.c_str(), static_cast<void*>(port.get()));
    SetLastError(ERROR_SUCCESS);
    return win32::AllocateHandle(port);
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped) {
    auto port = win32::PortOf(hFile);
    return port ? port->Read(lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped) : FALSE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped) {
    auto port = win32::PortOf(hFile);
    return port ? port->Write(lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped) : FALSE;
}

BOOL GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred,
                         BOOL bWait) {
    if (!lpOverlapped || !lpNumberOfBytesTransferred) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto internal = [lpOverlapped] {
        return std::atomic_ref<ULONG_PTR>(lpOverlapped->Internal).load(std::memory_order_acquire);
    };
    if (internal() == STATUS_PENDING) {
        if (!bWait) {
            SetLastError(ERROR_IO_INCOMPLETE);
            return FALSE;
        }
        if (lpOverlapped->hEvent)
            WaitForSingleObject(lpOverlapped->hEvent, INFINITE);
        if (internal() == STATUS_PENDING) {
            auto port = win32::PortOf(hFile);
            if (!port)
                return FALSE;
            port->WaitCompleted(lpOverlapped);
        }
    }
    const ULONG_PTR status = internal();
    *lpNumberOfBytesTransferred = static_cast<DWORD>(lpOverlapped->InternalHigh);
    if (status != 0) {
        SetLastError(static_cast<DWORD>(status & ~win32::kFailedFlag));
        return FALSE;
    }
    return TRUE;
}

BOOL CancelIo(HANDLE hFile) {
    auto port = win32::PortOf(hFile);
    return port ? port->Cancel() : FALSE;
}

BOOL SetupComm(HANDLE hFile, DWORD dwInQueue, DWORD dwOutQueue) {
    auto port = win32::PortOf(hFile);
    return port ? port->Setup(dwInQueue, dwOutQueue) : FALSE;
}

BOOL GetCommState(HANDLE hFile, LPDCB lpDCB) {
    if (!lpDCB) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto port = win32::PortOf(hFile);
    return port ? port->GetState(*lpDCB) : FALSE;
}

BOOL SetCommState(HANDLE hFile, LPDCB lpDCB) {
    if (!lpDCB) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto port = win32::PortOf(hFile);
    return port ? port->SetState(*lpDCB) : FALSE;
}

BOOL GetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts) {
    if (!lpCommTimeouts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto port = win32::PortOf(hFile);
    return port ? port->GetTimeouts(*lpCommTimeouts) : FALSE;
}

BOOL SetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts) {
    if (!lpCommTimeouts) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto port = win32::PortOf(hFile);
    return port ? port->SetTimeouts(*lpCommTimeouts) : FALSE;
}

BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask) {
    auto port = win32::PortOf(hFile);
    return port ? port->SetMask(dwEvtMask) : FALSE;
}

BOOL GetCommMask(HANDLE hFile, LPDWORD lpEvtMask) {
    if (!lpEvtMask) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto port = win32::PortOf(hFile);
    return port ? port->GetMask(*lpEvtMask) : FALSE;
}

BOOL WaitCommEvent(HANDLE hFile, LPDWORD lpEvtMask, LPOVERLAPPED lpOverlapped) {
    auto port = win32::PortOf(hFile);
    return port ? port->WaitEvent(lpEvtMask, lpOverlapped) : FALSE;
}

BOOL PurgeComm(HANDLE hFile, DWORD dwFlags) {
    auto port = win32::PortOf(hFile);
    return port ? port->Purge(dwFlags) : FALSE;
}

BOOL ClearCommError(HANDLE hFile, LPDWORD lpErrors, LPCOMSTAT lpStat) {
    auto port = win32::PortOf(hFile);
    return port ? port->ClearError(lpErrors, lpStat) : FALSE;
}

BOOL GetCommModemStatus(HANDLE hFile, LPDWORD lpModemStat) {
    if (!lpModemStat) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto port = win32::PortOf(hFile);
    return port ? port->GetModemStatus(*lpModemStat) : FALSE;
}

BOOL EscapeCommFunction(HANDLE hFile, DWORD dwFunc) {
    auto port = win32::PortOf(hFile);
    return port ? port->Escape(dwFunc) : FALSE;
}

BOOL TransmitCommChar(HANDLE hFile, char cChar) {
    auto port = win32::PortOf(hFile);
    return port ? port->TransmitChar(cChar) : FALSE;
}

BOOL SetCommBreak(HANDLE hFile) {
    return EscapeCommFunction(hFile, SETBREAK);
}

BOOL ClearCommBreak(HANDLE hFile) {
    return EscapeCommFunction(hFile, CLRBREAK);
}
