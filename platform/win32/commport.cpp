// The port object: the driver's side of a serial device (input queue, errors, event mask, pending
// reads, writes and waits, and their timeouts) above a termios or fake device.
//
// Contents: start and shutdown; completing operations and raising events; reads; writes; timeouts;
// the calls; the device's reports.
#include "platform/win32/comm_private.h"

#include <atomic>
#include <chrono>
#include <set>
#include <utility>

#include "platform/rtl/Clock.h"
#include "platform/win32/sync.h"

namespace win32 {

const Trace::Channel TraceSerial("serial");

namespace {

// The open ports, so that an advance of the manual clock runs their timeouts.
struct LivePorts {
    std::mutex mutex;
    std::set<CommPort*> ports;
};

LivePorts& Live() {
    static LivePorts live;
    return live;
}

} // namespace

CommPort::CommPort(std::unique_ptr<backend::SerialDevice> device, bool canRead, bool canWrite,
                   bool overlappedIo)
    : FDevice(std::move(device)), FCanRead(canRead), FCanWrite(canWrite), FOverlappedIo(overlappedIo) {
    backend::SerialConfig config;
    int error = 0;
    if (!FDevice->GetConfig(config, &error))
        config = backend::SerialConfig{};
    FDcb.DCBlength = sizeof(DCB);
    FDcb.BaudRate = config.baudRate;
    FDcb.fBinary = 1;
    FDcb.fParity = config.parityCheck;
    FDcb.fOutxCtsFlow = config.ctsFlow;
    FDcb.fOutX = config.xonXoffOutput;
    FDcb.fInX = config.xonXoffInput;
    FDcb.fDtrControl = DTR_CONTROL_ENABLE;
    FDcb.fRtsControl = config.ctsFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
    FDcb.ByteSize = static_cast<BYTE>(config.dataBits);
    FDcb.Parity = static_cast<BYTE>(config.parity);
    FDcb.StopBits = static_cast<BYTE>(config.stopBits);
    FDcb.XonChar = static_cast<char>(config.xonChar);
    FDcb.XoffChar = static_cast<char>(config.xoffChar);
}

CommPort::~CommPort() {
    Shutdown();
}

void CommPort::Start() {
    int error = 0;
    if (!FDevice->GetLines(FLines, &error))
        FLines = 0;
    {
        LivePorts& live = Live();
        std::lock_guard lock(live.mutex);
        live.ports.insert(this);
    }
    static std::once_flag listenerAdded;
    std::call_once(listenerAdded, [] {
        Clock::AddAdvanceListener([] {
            LivePorts& live = Live();
            std::lock_guard lock(live.mutex);
            for (CommPort* port : live.ports)
                port->ClockAdvanced();
        });
    });
    FTimer = std::thread([this] { TimerLoop(); });
    FDevice->Start(this);
}

void CommPort::ClockAdvanced() {
    std::lock_guard lock(FMutex);
    if (!FClosed)
        ExpireLocked(Clock::TickCount64());
}

void CommPort::LastHandleClosed() {
    Shutdown();
}

void CommPort::Shutdown() {
    {
        std::lock_guard lock(FMutex);
        if (FClosed)
            return;
        FClosed = true;
        AbortAllLocked(ERROR_OPERATION_ABORTED);
    }
    FChanged.notify_all();
    FTimerWake.notify_all();
    {
        LivePorts& live = Live();
        std::lock_guard lock(live.mutex);
        live.ports.erase(this);
    }
    if (FTimer.joinable())
        FTimer.join();
    // The device may be reporting on its own thread: it waits for the port's lock, which is free here.
    FDevice->Close();
}

bool CommPort::UsableLocked() {
    if (FClosed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (FGone) {
        SetLastError(ERROR_BAD_COMMAND);
        return false;
    }
    return true;
}

BOOL CommPort::Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL CommPort::FailErrno(int error) {
    return Fail(Win32ErrorFromErrno(error));
}

void CommPort::CompleteLocked(const CommOperationPtr& operation, DWORD error) {
    if (operation->completed)
        return;
    operation->completed = true;
    operation->error = error;
    if (OVERLAPPED* overlapped = operation->overlapped) {
        // The caller may free the record once Internal shows the end: read the event first, publish
        // the results, and signal last.
        HANDLE event = overlapped->hEvent;
        if (operation->kind == CommOperationKind::Wait && operation->eventMask)
            *operation->eventMask = operation->events;
        std::atomic_ref<ULONG_PTR>(overlapped->InternalHigh)
            .store(operation->done, std::memory_order_relaxed);
        std::atomic_ref<ULONG_PTR>(overlapped->Internal)
            .store(error == ERROR_SUCCESS ? 0 : (kFailedFlag | error), std::memory_order_release);
        if (event)
            ::SetEvent(event);
    }
    FChanged.notify_all();
}

void CommPort::AbortQueueLocked(std::deque<CommOperationPtr>& queue, DWORD error) {
    for (const CommOperationPtr& operation : queue)
        CompleteLocked(operation, error);
    queue.clear();
}

void CommPort::AbortAllLocked(DWORD error) {
    if (!FWrites.empty() && FWrites.front()->started)
        FDevice->PurgeOutput();
    AbortQueueLocked(FReads, error);
    AbortQueueLocked(FWrites, error);
    if (FWait) {
        CompleteLocked(FWait, error);
        FWait.reset();
    }
}

void CommPort::RaiseLocked(DWORD events) {
    events &= FMask;
    if (!events)
        return;
    if (FWait) {
        FWait->events = events;
        CompleteLocked(FWait, ERROR_SUCCESS);
        FWait.reset();
    } else {
        FHistory |= events;
    }
}

void CommPort::ErrorLocked(DWORD errors, DWORD events) {
    FErrors |= errors;
    // With abort on error every read and write ends until the error is cleared.
    if (FDcb.fAbortOnError) {
        AbortQueueLocked(FReads, ERROR_OPERATION_ABORTED);
        if (!FWrites.empty() && FWrites.front()->started)
            FDevice->PurgeOutput();
        AbortQueueLocked(FWrites, ERROR_OPERATION_ABORTED);
    }
    RaiseLocked(events);
}

void CommPort::EnqueueLocked(std::uint8_t byte, DWORD& events) {
    if (FDcb.fNull && byte == 0)
        return;
    if (FDcb.fDsrSensitivity && !(FLines & backend::LineDsr))
        return;
    if (FInput.size() >= FInputCapacity) {
        FErrors |= CE_RXOVER;
        return;
    }
    FInput.push_back(byte);
    events |= EV_RXCHAR;
    if (byte == static_cast<std::uint8_t>(FDcb.EvtChar))
        events |= EV_RXFLAG;
    if (!FRx80Reported && FInput.size() * 10 >= static_cast<std::size_t>(FInputCapacity) * 8) {
        FRx80Reported = true;
        events |= EV_RX80FULL;
    }
}

// Moves queued bytes into the reads in order and ends those that are done.
void CommPort::FeedReadsLocked() {
    const std::size_t before = FInput.size();
    while (!FReads.empty()) {
        const CommOperationPtr read = FReads.front();
        if (!read->started)
            StartReadLocked(*read);
        const std::size_t take = std::min<std::size_t>(FInput.size(), read->count - read->done);
        if (take > 0) {
            std::copy_n(FInput.begin(), take, read->readBuffer + read->done);
            FInput.erase(FInput.begin(), FInput.begin() + static_cast<std::ptrdiff_t>(take));
            read->done += static_cast<DWORD>(take);
            if (read->interval) {
                read->intervalDeadline = Clock::TickCount64() + read->interval;
                ArmTimerLocked(read->intervalDeadline);
            }
        }
        if (read->done < read->count && !read->immediate && !(read->anyByte && read->done > 0))
            break;
        CompleteLocked(read, ERROR_SUCCESS);
        FReads.pop_front();
    }
    if (FInput.size() * 10 < static_cast<std::size_t>(FInputCapacity) * 8)
        FRx80Reported = false;
    if (FInput.size() < before && FRoomAsked) {
        FRoomAsked = false;
        FDevice->ReceiveRoomAvailable();
    }
    if (!FReads.empty() || FInput.size() < before)
        FChanged.notify_all();
}

void CommPort::StartReadLocked(CommOperation& read) {
    read.started = true;
    const COMMTIMEOUTS& t = FTimeouts;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
        t.ReadTotalTimeoutConstant == 0) {
        read.immediate = true;
        return;
    }
    const UInt64 now = Clock::TickCount64();
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        read.anyByte = true;
        read.deadline = now + t.ReadTotalTimeoutConstant;
        ArmTimerLocked(read.deadline);
        return;
    }
    const UInt64 total = UInt64(t.ReadTotalTimeoutMultiplier) * read.count + t.ReadTotalTimeoutConstant;
    if (total > 0) {
        read.deadline = now + total;
        ArmTimerLocked(read.deadline);
    }
    if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD)
        read.interval = t.ReadIntervalTimeout;
}

// Hands the next write to the device when none is there.
void CommPort::StartWritesLocked() {
    while (!FWrites.empty() && !FWrites.front()->started && !FGone) {
        const CommOperationPtr write = FWrites.front();
        write->started = true;
        const UInt64 total = UInt64(FTimeouts.WriteTotalTimeoutMultiplier) * write->count +
                             FTimeouts.WriteTotalTimeoutConstant;
        if (total > 0) {
            write->deadline = Clock::TickCount64() + total;
            ArmTimerLocked(write->deadline);
        }
        if (FDcb.fRtsControl == RTS_CONTROL_TOGGLE)
            FDevice->SetRts(true, nullptr);
        int error = 0;
        const long sent = write->count ? FDevice->Write(write->writeBuffer, write->count, &error) : 0;
        if (sent < 0) {
            FinishWriteLocked(Win32ErrorFromErrno(error));
            continue;
        }
        write->done = static_cast<DWORD>(sent);
        if (write->done == write->count)
            FinishWriteLocked(ERROR_SUCCESS);
    }
    FChanged.notify_all();
}

// The head write ended: the next one starts, and an output left empty is announced.
void CommPort::FinishWriteLocked(DWORD error) {
    const CommOperationPtr write = FWrites.front();
    FWrites.pop_front();
    const bool sentAll = error == ERROR_SUCCESS && write->done == write->count && write->count > 0;
    CompleteLocked(write, error);
    if (FWrites.empty()) {
        if (FDcb.fRtsControl == RTS_CONTROL_TOGGLE)
            FDevice->SetRts(false, nullptr);
        if (sentAll)
            RaiseLocked(EV_TXEMPTY);
    }
    StartWritesLocked();
}

void CommPort::WriteProgressLocked(std::size_t remaining) {
    if (FWrites.empty() || !FWrites.front()->started)
        return;
    CommOperation& write = *FWrites.front();
    write.done = write.count - static_cast<DWORD>(std::min<std::size_t>(remaining, write.count));
    if (write.done == write.count)
        FinishWriteLocked(ERROR_SUCCESS);
}

void CommPort::CutWriteLocked() {
    CommOperation& write = *FWrites.front();
    write.done =
        write.count - static_cast<DWORD>(std::min<std::size_t>(FDevice->OutputPending(), write.count));
    FDevice->PurgeOutput();
    FinishWriteLocked(ERROR_SUCCESS);
}

UInt64 CommPort::NextDeadlineLocked() const {
    UInt64 next = 0;
    auto consider = [&next](UInt64 deadline) {
        if (deadline && (!next || deadline < next))
            next = deadline;
    };
    if (!FReads.empty() && FReads.front()->started) {
        consider(FReads.front()->deadline);
        if (FReads.front()->done > 0)
            consider(FReads.front()->intervalDeadline);
    }
    if (!FWrites.empty() && FWrites.front()->started)
        consider(FWrites.front()->deadline);
    return next;
}

// Ends the reads and the write whose time is up; they succeed with what they moved.
void CommPort::ExpireLocked(UInt64 now) {
    while (!FReads.empty() && FReads.front()->started) {
        const CommOperation& read = *FReads.front();
        const bool total = read.deadline && now >= read.deadline;
        const bool interval = read.done > 0 && read.intervalDeadline && now >= read.intervalDeadline;
        if (!total && !interval)
            break;
        CompleteLocked(FReads.front(), ERROR_SUCCESS);
        FReads.pop_front();
        FeedReadsLocked();
    }
    if (!FWrites.empty() && FWrites.front()->started && FWrites.front()->deadline &&
        now >= FWrites.front()->deadline) {
        CutWriteLocked();
    }
}

// The timer thread sleeps until FTimerDue: only a deadline before that needs to wake it. A deadline
// that moves later, or an operation that ends, lets it sleep on and look again when it wakes.
void CommPort::ArmTimerLocked(UInt64 deadline) {
    if (deadline && (!FTimerDue || deadline < FTimerDue)) {
        FTimerDue = deadline;
        FTimerWake.notify_one();
    }
}

// Runs the timeouts on the system clock; under the manual clock ClockAdvanced runs them. It wakes
// for deadlines only, not for every byte and completion, so that it takes no processor time from
// the threads that deliver the bytes.
void CommPort::TimerLoop() {
    std::unique_lock lock(FMutex);
    while (!FClosed) {
        ExpireLocked(Clock::TickCount64());
        const UInt64 next = NextDeadlineLocked();
        if (!next || Clock::IsManual()) {
            FTimerDue = 0;
            FTimerWake.wait(lock);
            continue;
        }
        FTimerDue = next;
        const UInt64 now = Clock::TickCount64();
        if (next > now)
            FTimerWake.wait_for(lock, std::chrono::milliseconds(next - now));
    }
}

// A call without an OVERLAPPED, or on a handle opened without FILE_FLAG_OVERLAPPED, waits for the end.
BOOL CommPort::FinishCall(const CommOperationPtr& operation, std::unique_lock<std::mutex>& lock,
                          LPDWORD transferred) {
    if (!operation->overlapped || !FOverlappedIo)
        FChanged.wait(lock, [&] { return operation->completed; });
    if (!operation->completed)
        return Fail(ERROR_IO_PENDING);
    if (transferred)
        *transferred = operation->done;
    if (operation->kind == CommOperationKind::Wait && !operation->overlapped && operation->eventMask)
        *operation->eventMask = operation->events;
    if (operation->error != ERROR_SUCCESS)
        return Fail(operation->error);
    return TRUE;
}

namespace {

// An overlapped call resets its event first, whatever becomes of the call, so that a loop that waits
// for the event after a failed call blocks instead of spinning.
void ResetOverlappedEvent(LPOVERLAPPED overlapped) {
    if (overlapped && overlapped->hEvent)
        ::ResetEvent(overlapped->hEvent);
}

// The device took the operation: its record is pending until it completes.
void BeginOverlapped(LPOVERLAPPED overlapped) {
    if (!overlapped)
        return;
    overlapped->InternalHigh = 0;
    std::atomic_ref<ULONG_PTR>(overlapped->Internal).store(STATUS_PENDING, std::memory_order_release);
}

} // namespace

BOOL CommPort::Read(LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped) {
    ResetOverlappedEvent(overlapped);
    if (!FCanRead)
        return Fail(ERROR_ACCESS_DENIED);
    if ((!buffer && count > 0) || (!overlapped && !read))
        return Fail(ERROR_INVALID_PARAMETER);
    if (read)
        *read = 0;
    auto operation = std::make_shared<CommOperation>();
    operation->kind = CommOperationKind::Read;
    operation->readBuffer = static_cast<std::uint8_t*>(buffer);
    operation->count = count;
    operation->overlapped = overlapped;
    return SubmitCall(operation, read);
}

BOOL CommPort::Write(LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
    ResetOverlappedEvent(overlapped);
    if (!FCanWrite)
        return Fail(ERROR_ACCESS_DENIED);
    if ((!buffer && count > 0) || (!overlapped && !written))
        return Fail(ERROR_INVALID_PARAMETER);
    if (written)
        *written = 0;
    auto operation = std::make_shared<CommOperation>();
    operation->kind = CommOperationKind::Write;
    operation->writeBuffer = static_cast<const std::uint8_t*>(buffer);
    operation->count = count;
    operation->overlapped = overlapped;
    return SubmitCall(operation, written);
}

BOOL CommPort::SubmitCall(const CommOperationPtr& operation, LPDWORD transferred) {
    std::unique_lock lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (FDcb.fAbortOnError && FErrors)
        return Fail(ERROR_OPERATION_ABORTED);
    BeginOverlapped(operation->overlapped);
    if (operation->kind == CommOperationKind::Read) {
        FReads.push_back(operation);
        FeedReadsLocked();
    } else {
        FWrites.push_back(operation);
        StartWritesLocked();
    }
    return FinishCall(operation, lock, transferred);
}

BOOL CommPort::WaitEvent(LPDWORD mask, LPOVERLAPPED overlapped) {
    ResetOverlappedEvent(overlapped);
    if (!mask)
        return Fail(ERROR_INVALID_PARAMETER);
    std::unique_lock lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (FMask == 0 || FWait)
        return Fail(ERROR_INVALID_PARAMETER);
    auto operation = std::make_shared<CommOperation>();
    operation->kind = CommOperationKind::Wait;
    operation->eventMask = mask;
    operation->overlapped = overlapped;
    BeginOverlapped(overlapped);
    if (FHistory) {
        operation->events = std::exchange(FHistory, 0);
        CompleteLocked(operation, ERROR_SUCCESS);
    } else {
        FWait = operation;
    }
    return FinishCall(operation, lock, nullptr);
}

void CommPort::WaitCompleted(const OVERLAPPED* overlapped) {
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [&] {
        return std::atomic_ref<const ULONG_PTR>(overlapped->Internal).load(std::memory_order_acquire) !=
               STATUS_PENDING;
    });
}

BOOL CommPort::Cancel() {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return Fail(ERROR_INVALID_HANDLE);
    AbortAllLocked(ERROR_OPERATION_ABORTED);
    return TRUE;
}

BOOL CommPort::Setup(DWORD inQueue, DWORD outQueue) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (inQueue > 0) {
        FInputCapacity = inQueue;
        if (FRoomAsked && FInput.size() < FInputCapacity) {
            FRoomAsked = false;
            FDevice->ReceiveRoomAvailable();
        }
    }
    return TRUE;
}

BOOL CommPort::GetState(DCB& dcb) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    dcb = FDcb;
    return TRUE;
}

BOOL CommPort::SetState(const DCB& dcb) {
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
        dcb.StopBits > TWOSTOPBITS)
        return Fail(ERROR_INVALID_PARAMETER);
    // The line can make one and a half stop bits only on five-bit words, and two only on longer ones.
    if ((dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5) ||
        (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5))
        return Fail(ERROR_INVALID_PARAMETER);
    if ((dcb.fOutX || dcb.fInX) && dcb.XonChar == dcb.XoffChar)
        return Fail(ERROR_INVALID_PARAMETER);
    backend::SerialConfig config;
    config.baudRate = dcb.BaudRate;
    config.dataBits = dcb.ByteSize;
    config.parity = static_cast<backend::SerialParity>(dcb.Parity);
    config.stopBits = static_cast<backend::SerialStopBits>(dcb.StopBits);
    config.parityCheck = dcb.fParity;
    config.ctsFlow = dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
    config.dsrFlow = dcb.fOutxDsrFlow;
    config.xonXoffOutput = dcb.fOutX;
    config.xonXoffInput = dcb.fInX;
    config.xonChar = static_cast<std::uint8_t>(dcb.XonChar);
    config.xoffChar = static_cast<std::uint8_t>(dcb.XoffChar);
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    int error = 0;
    if (!FDevice->SetConfig(config, &error))
        return FailErrno(error);
    // DTR handshake has no control on this system: the line is simply kept on.
    const bool dtr = dcb.fDtrControl != DTR_CONTROL_DISABLE;
    const bool rts = dcb.fRtsControl == RTS_CONTROL_ENABLE || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE ||
                     (dcb.fRtsControl == RTS_CONTROL_TOGGLE && !FWrites.empty());
    if (!FDevice->SetDtr(dtr, &error) || !FDevice->SetRts(rts, &error))
        return FailErrno(error);
    ZTRACE(TraceSerial, "%p: %u baud, %d bits, parity %d, stop %d, cts %d, xon %d/%d",
           static_cast<void*>(this), dcb.BaudRate, dcb.ByteSize, dcb.Parity, dcb.StopBits, config.ctsFlow,
           dcb.fOutX, dcb.fInX);
    FDcb = dcb;
    FDcb.DCBlength = sizeof(DCB);
    // A new flow setting may release output that waited.
    WriteProgressLocked(FDevice->OutputPending());
    return TRUE;
}

BOOL CommPort::GetTimeouts(COMMTIMEOUTS& timeouts) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    timeouts = FTimeouts;
    return TRUE;
}

BOOL CommPort::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    // Interval and multiplier MAXDWORD also need a constant below MAXDWORD.
    if (timeouts.ReadIntervalTimeout == MAXDWORD && timeouts.ReadTotalTimeoutMultiplier == MAXDWORD &&
        timeouts.ReadTotalTimeoutConstant == MAXDWORD)
        return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    FTimeouts = timeouts;
    return TRUE;
}

BOOL CommPort::SetMask(DWORD mask) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    FMask = mask;
    FHistory = 0;
    if (FWait) {
        FWait->events = 0;
        CompleteLocked(FWait, ERROR_SUCCESS);
        FWait.reset();
    }
    return TRUE;
}

BOOL CommPort::GetMask(DWORD& mask) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    mask = FMask;
    return TRUE;
}

BOOL CommPort::Purge(DWORD flags) {
    if (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR))
        return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (flags & PURGE_TXABORT) {
        if (!FWrites.empty() && FWrites.front()->started)
            FDevice->PurgeOutput();
        AbortQueueLocked(FWrites, ERROR_OPERATION_ABORTED);
    }
    if (flags & PURGE_RXABORT)
        AbortQueueLocked(FReads, ERROR_OPERATION_ABORTED);
    if ((flags & PURGE_TXCLEAR) && !FWrites.empty() && FWrites.front()->started) {
        // The write at the device ends with what left; the ones behind it go on.
        CutWriteLocked();
    }
    if (flags & PURGE_RXCLEAR) {
        FInput.clear();
        FDevice->PurgeInput();
        FRx80Reported = false;
        if (FRoomAsked) {
            FRoomAsked = false;
            FDevice->ReceiveRoomAvailable();
        }
    }
    return TRUE;
}

BOOL CommPort::ClearError(LPDWORD errors, LPCOMSTAT stat) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (errors)
        *errors = FErrors;
    FErrors = 0;
    if (stat) {
        *stat = COMSTAT{};
        const bool writing = !FWrites.empty();
        stat->fCtsHold = writing && FDcb.fOutxCtsFlow && !(FLines & backend::LineCts);
        stat->fDsrHold = writing && FDcb.fOutxDsrFlow && !(FLines & backend::LineDsr);
        stat->fXoffHold = FXoffHold;
        stat->cbInQue = static_cast<DWORD>(FInput.size());
        DWORD out = 0;
        for (const CommOperationPtr& write : FWrites)
            out += write->count - write->done;
        stat->cbOutQue = out;
    }
    return TRUE;
}

BOOL CommPort::GetModemStatus(DWORD& status) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    unsigned lines = 0;
    int error = 0;
    if (!FDevice->GetLines(lines, &error))
        return FailErrno(error);
    status = ((lines & backend::LineCts) ? MS_CTS_ON : 0) | ((lines & backend::LineDsr) ? MS_DSR_ON : 0) |
             ((lines & backend::LineRing) ? MS_RING_ON : 0) | ((lines & backend::LineRlsd) ? MS_RLSD_ON : 0);
    return TRUE;
}

BOOL CommPort::Escape(DWORD function) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    int error = 0;
    bool ok = true;
    switch (function) {
    case SETXOFF:
    case SETXON:
        ok = FDevice->SetOutputHold(function == SETXOFF, &error);
        if (ok) {
            FXoffHold = function == SETXOFF;
            WriteProgressLocked(FDevice->OutputPending());
        }
        break;
    case SETRTS:
    case CLRRTS:
        if (FDcb.fRtsControl == RTS_CONTROL_HANDSHAKE || FDcb.fRtsControl == RTS_CONTROL_TOGGLE)
            return Fail(ERROR_INVALID_PARAMETER);
        ok = FDevice->SetRts(function == SETRTS, &error);
        break;
    case SETDTR:
    case CLRDTR:
        if (FDcb.fDtrControl == DTR_CONTROL_HANDSHAKE)
            return Fail(ERROR_INVALID_PARAMETER);
        ok = FDevice->SetDtr(function == SETDTR, &error);
        break;
    case SETBREAK:
    case CLRBREAK:
        ok = FDevice->SetBreak(function == SETBREAK, &error);
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return ok ? TRUE : FailErrno(error);
}

BOOL CommPort::TransmitChar(char c) {
    std::lock_guard lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    int error = 0;
    if (!FDevice->TransmitImmediate(static_cast<std::uint8_t>(c), &error))
        return FailErrno(error);
    return TRUE;
}

void CommPort::Received(const std::uint8_t* bytes, std::size_t count) {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return;
    DWORD events = 0;
    const DWORD errorsBefore = FErrors;
    for (std::size_t i = 0; i < count; ++i)
        EnqueueLocked(bytes[i], events);
    FeedReadsLocked();
    if (FDcb.fAbortOnError && (FErrors & ~errorsBefore))
        ErrorLocked(0, 0);
    RaiseLocked(events);
}

void CommPort::ReceivedInError(std::uint8_t byte, backend::ReceiveError error) {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return;
    DWORD events = 0;
    DWORD flag = 0;
    if (error == backend::ReceiveError::Framing) {
        flag = CE_FRAME;
    } else if (FDcb.fParity) {
        flag = CE_RXPARITY;
        if (FDcb.fErrorChar)
            byte = static_cast<std::uint8_t>(FDcb.ErrorChar);
    }
    EnqueueLocked(byte, events);
    FeedReadsLocked();
    if (flag)
        ErrorLocked(flag, EV_ERR);
    RaiseLocked(events);
}

void CommPort::BreakReceived() {
    std::lock_guard lock(FMutex);
    if (!FClosed)
        ErrorLocked(CE_BREAK, EV_BREAK);
}

void CommPort::Overrun() {
    std::lock_guard lock(FMutex);
    if (!FClosed)
        ErrorLocked(CE_OVERRUN, EV_ERR);
}

void CommPort::LinesChanged(unsigned lines) {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return;
    const unsigned changed = lines ^ FLines;
    FLines = lines;
    DWORD events = 0;
    if (changed & backend::LineCts)
        events |= EV_CTS;
    if (changed & backend::LineDsr)
        events |= EV_DSR;
    if (changed & backend::LineRlsd)
        events |= EV_RLSD;
    if ((changed & backend::LineRing) && (lines & backend::LineRing))
        events |= EV_RING;
    RaiseLocked(events);
}

void CommPort::Transmitted(std::size_t remaining) {
    std::lock_guard lock(FMutex);
    if (!FClosed)
        WriteProgressLocked(remaining);
}

void CommPort::Lost(int error) {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return;
    ZWARN(TraceSerial, "%p: the device went away (errno %d)", static_cast<void*>(this), error);
    FGone = true;
    AbortAllLocked(ERROR_OPERATION_ABORTED);
}

std::size_t CommPort::ReceiveRoom() {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return 0;
    const std::size_t room = FInput.size() < FInputCapacity ? FInputCapacity - FInput.size() : 0;
    if (room == 0)
        FRoomAsked = true;
    return room;
}

std::shared_ptr<CommPort> PortOf(HANDLE handle) {
    auto port = ReferenceHandleAs<CommPort>(handle);
    if (!port)
        SetLastError(ERROR_INVALID_HANDLE);
    return port;
}

} // namespace win32
