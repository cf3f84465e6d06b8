// Port input and output with overlapped operations, queue purging and counts, modem lines, error
// flags and the output line controls.
#include "serial/CPort.h"

#include "platform/win32/codepage.h"
#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"

// ---- Overlapped records ----

PAsync NewAsyncRecord() {
    auto* async = new TAsync;
    async->Overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    return async;
}

void FreeAsyncRecord(PAsync& async) {
    if (!async)
        return;
    CloseHandle(async->Overlapped.hEvent);
    delete async;
    async = nullptr;
}

void FillAsyncRecord(PAsync async, TOperationKind kind, const void* buffer, Integer count) {
    async->Kind = kind;
    const auto* bytes = static_cast<const Byte*>(buffer);
    async->Data.assign(bytes, bytes + (count > 0 && buffer ? count : 0));
    async->Size = static_cast<Integer>(async->Data.size());
}

namespace {

// A record made for one synchronous operation and freed however it ends.
struct AsyncHolder {
    PAsync async = NewAsyncRecord();
    ~AsyncHolder() { FreeAsyncRecord(async); }
};

UINT ConversionCodePage(Integer codePage) {
    return codePage == 0 ? CP_ACP : static_cast<UINT>(codePage);
}

} // namespace

Integer TCustomComPort::AsyncFailCode(PAsync async) const {
    return async->Kind == okWrite ? CError_WriteFailed : CError_ReadFailed;
}

// ---- Writing ----

Integer TCustomComPort::WriteAsync(const void* buffer, Integer count, PAsync& asyncPtr) {
    if (!asyncPtr) {
        ReportError(CError_InvalidAsync, 0);
        return 0;
    }
    if (FHandle == INVALID_HANDLE_VALUE)
        ReportError(CError_PortNotOpen, 0);
    // The record keeps its own copy of the bytes, and the device writes from it: the caller's buffer
    // need not outlive the call.
    FillAsyncRecord(asyncPtr, okWrite, buffer, count);
    asyncPtr->Started = false;
    DWORD written = 0;
    if (WriteFile(FHandle, asyncPtr->Data.data(), static_cast<DWORD>(asyncPtr->Size), &written,
                  &asyncPtr->Overlapped) ||
        GetLastError() == ERROR_IO_PENDING)
        asyncPtr->Started = true;
    else
        ReportError(CError_WriteFailed, GetLastError());
    NotifyLinksSignal(&TComLink::OnTx, true);
    return static_cast<Integer>(written);
}

Integer TCustomComPort::Write(const void* buffer, Integer count) {
    AsyncHolder holder;
    WriteAsync(buffer, count, holder.async);
    return WaitForAsync(holder.async);
}

Integer TCustomComPort::WriteStrAsync(const String& str, PAsync& asyncPtr) {
    if (str.empty())
        return 0;
    // One byte per character: its low 8 bits.
    std::vector<Byte> bytes(str.size());
    for (std::size_t i = 0; i < str.size(); ++i)
        bytes[i] = static_cast<Byte>(str[i] & 0xFF);
    return WriteAsync(bytes.data(), static_cast<Integer>(bytes.size()), asyncPtr);
}

Integer TCustomComPort::WriteStr(const String& str) {
    AsyncHolder holder;
    WriteStrAsync(str, holder.async);
    return WaitForAsync(holder.async);
}

Integer TCustomComPort::WriteUnicodeString(const String& str) {
    if (str.empty())
        return 0;
    const UINT codePage = ConversionCodePage(FCodePage);
    const int length = static_cast<int>(str.size());
    const int size = WideCharToMultiByte(codePage, 0, str.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return 0;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, str.data(), length, bytes.data(), size, nullptr, nullptr);
    // The converted bytes go out as they are; widening them back to text first would turn every
    // multi-byte character into other bytes.
    return Write(bytes.data(), size);
}

// ---- Reading ----

Integer TCustomComPort::ReadAsync(void* buffer, Integer count, PAsync& asyncPtr) {
    if (!asyncPtr) {
        ReportError(CError_InvalidAsync, 0);
        return 0;
    }
    asyncPtr->Kind = okRead;
    asyncPtr->Started = false;
    if (FHandle == INVALID_HANDLE_VALUE)
        ReportError(CError_PortNotOpen, 0);
    DWORD read = 0;
    if (ReadFile(FHandle, buffer, static_cast<DWORD>(count > 0 ? count : 0), &read, &asyncPtr->Overlapped) ||
        GetLastError() == ERROR_IO_PENDING)
        asyncPtr->Started = true;
    else
        ReportError(CError_ReadFailed, GetLastError());
    return static_cast<Integer>(read);
}

Integer TCustomComPort::Read(void* buffer, Integer count) {
    AsyncHolder holder;
    ReadAsync(buffer, count, holder.async);
    return WaitForAsync(holder.async);
}

Integer TCustomComPort::ReadStrAsync(AnsiString& str, Integer count, PAsync& asyncPtr) {
    str.assign(static_cast<std::size_t>(count > 0 ? count : 0), '\0');
    if (count < 1)
        return 0;
    return ReadAsync(str.data(), count, asyncPtr);
}

Integer TCustomComPort::ReadBytes(AnsiString& bytes, Integer count) {
    AsyncHolder holder;
    ReadStrAsync(bytes, count, holder.async);
    return WaitForAsync(holder.async);
}

Integer TCustomComPort::ReadStr(String& str, Integer count) {
    AnsiString bytes;
    const Integer read = ReadBytes(bytes, count);
    str.clear();
    // One character per byte, of the byte's value.
    for (Integer i = 0; i < read && static_cast<std::size_t>(i) < bytes.size(); ++i)
        str += static_cast<Char>(static_cast<Byte>(bytes[static_cast<std::size_t>(i)]));
    return read;
}

Integer TCustomComPort::ReadUnicodeString(String& str, Integer count) {
    AnsiString bytes;
    const Integer read = ReadBytes(bytes, count);
    str.clear();
    if (read <= 0)
        return 0;
    const UINT codePage = ConversionCodePage(FCodePage);
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), read, nullptr, 0);
    if (length <= 0)
        return 0;
    str.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(codePage, 0, bytes.data(), read, str.data(), length);
    return length;
}

// ---- Completion ----

Integer TCustomComPort::WaitForAsync(PAsync& asyncPtr) {
    if (!asyncPtr) {
        ReportError(CError_InvalidAsync, 0);
        return 0;
    }
    // An operation that never started (its failure was reported) has nothing to wait for; waiting
    // for its event would never end.
    if (!asyncPtr->Started)
        return 0;
    DWORD transferred = 0;
    if (WaitForSingleObject(asyncPtr->Overlapped.hEvent, INFINITE) != WAIT_OBJECT_0 ||
        !GetOverlappedResult(FHandle, &asyncPtr->Overlapped, &transferred, FALSE))
        ReportError(AsyncFailCode(asyncPtr), GetLastError());
    // Links hear of written bytes, and of a read that emptied the input queue. The queue is only asked
    // when someone listens, since asking clears the device's error flags.
    if (!FLinks.empty()) {
        if (asyncPtr->Kind == okWrite || InputCount() > 0) {
            if (!asyncPtr->Data.empty())
                NotifyLinksTxBuf(asyncPtr->Data.data(), asyncPtr->Size);
        } else {
            NotifyLinksSignal(&TComLink::OnRx, false);
        }
    }
    return static_cast<Integer>(transferred);
}

bool TCustomComPort::IsAsyncCompleted(PAsync asyncPtr) {
    if (!asyncPtr) {
        ReportError(CError_InvalidAsync, 0);
        return false;
    }
    if (!asyncPtr->Started)
        return true;
    DWORD transferred = 0;
    if (GetOverlappedResult(FHandle, &asyncPtr->Overlapped, &transferred, FALSE))
        return true;
    const DWORD error = GetLastError();
    if (error != ERROR_IO_PENDING && error != ERROR_IO_INCOMPLETE)
        ReportError(CError_AsyncCheck, error);
    return false;
}

// ---- Queues and line status ----

void TCustomComPort::AbortAllAsync() {
    if (!PurgeComm(FHandle, PURGE_TXABORT | PURGE_RXABORT))
        ReportError(CError_PurgeFailed, GetLastError());
}

void TCustomComPort::ClearBuffer(bool input, bool output) {
    DWORD flags = 0;
    if (input)
        flags |= PURGE_RXCLEAR;
    if (output)
        flags |= PURGE_TXCLEAR;
    if (!PurgeComm(FHandle, flags))
        ReportError(CError_PurgeFailed, GetLastError());
}

COMSTAT TCustomComPort::ClearErrors(DWORD& errors) {
    COMSTAT stat{};
    if (!ClearCommError(FHandle, &errors, &stat))
        ReportError(CError_ClearComFailed, GetLastError());
    return stat;
}

Integer TCustomComPort::InputCount() {
    DWORD errors = 0;
    const COMSTAT stat = ClearErrors(errors);
    return static_cast<Integer>(stat.cbInQue);
}

Integer TCustomComPort::OutputCount() {
    DWORD errors = 0;
    const COMSTAT stat = ClearErrors(errors);
    return static_cast<Integer>(stat.cbOutQue);
}

TComSignals TCustomComPort::Signals() {
    DWORD status = 0;
    if (!GetCommModemStatus(FHandle, &status))
        ReportError(CError_ModemStatFailed, GetLastError());
    TComSignals signals;
    if (status & MS_CTS_ON)
        signals.Include(csCTS);
    if (status & MS_DSR_ON)
        signals.Include(csDSR);
    if (status & MS_RING_ON)
        signals.Include(csRing);
    if (status & MS_RLSD_ON)
        signals.Include(csRLSD);
    return signals;
}

TComStateFlags TCustomComPort::StateFlags() {
    DWORD errors = 0;
    const COMSTAT stat = ClearErrors(errors);
    TComStateFlags flags;
    if (stat.fCtsHold)
        flags.Include(fCtlHold);
    if (stat.fDsrHold)
        flags.Include(fDsrHold);
    if (stat.fRlsdHold)
        flags.Include(fRlsHold);
    if (stat.fXoffHold)
        flags.Include(fXoffHold);
    if (stat.fXoffSent)
        flags.Include(fXOffSent);
    if (stat.fEof)
        flags.Include(fEof);
    if (stat.fTxim)
        flags.Include(fTxim);
    return flags;
}

TComErrors TCustomComPort::LastErrors() {
    DWORD errors = 0;
    ClearErrors(errors);
    TComErrors result;
    if (errors & CE_FRAME)
        result.Include(ceFrame);
    // Parity errors count only when the port checks parity.
    if ((errors & CE_RXPARITY) && FParity->Check())
        result.Include(ceRxParity);
    if (errors & CE_OVERRUN)
        result.Include(ceOverrun);
    if (errors & CE_BREAK)
        result.Include(ceBreak);
    if (errors & CE_IOE)
        result.Include(ceIO);
    if (errors & CE_MODE)
        result.Include(ceMode);
    if (errors & CE_RXOVER)
        result.Include(ceRxOver);
    if (errors & CE_TXFULL)
        result.Include(ceTxFull);
    return result;
}

void TCustomComPort::EscapeLine(bool onOff, DWORD on, DWORD off) {
    if (!EscapeCommFunction(FHandle, onOff ? on : off))
        ReportError(CError_EscapeComFailed, GetLastError());
}

void TCustomComPort::SetBreak(bool onOff) {
    EscapeLine(onOff, SETBREAK, CLRBREAK);
}

void TCustomComPort::SetDTR(bool onOff) {
    EscapeLine(onOff, SETDTR, CLRDTR);
}

void TCustomComPort::SetRTS(bool onOff) {
    EscapeLine(onOff, SETRTS, CLRRTS);
}

void TCustomComPort::SetXonXoff(bool onOff) {
    EscapeLine(onOff, SETXON, SETXOFF);
}

void TCustomComPort::TransmitChar(Char ch) {
    if (!TransmitCommChar(FHandle, static_cast<char>(ch & 0xFF)))
        ReportError(CError_TransmitFailed, GetLastError());
}
