// The Win32 communications API on a serial device: the port object keeps the driver's side (input
// queue, errors, event mask, pending operations and their timeouts) above a termios or fake device.
//
// Contents: the port object (queues and events; reads; writes; timeouts), opening, the API calls.
#include "platform/win32/comm.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "platform/backend/serialdevice.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/sync.h"

namespace win32 {

namespace {

// Internal of a finished OVERLAPPED: 0 for success, else this flag with the Win32 error.
constexpr ULONG_PTR kFailedFlag = 0x80000000;
constexpr DWORD kDefaultInputQueue = 4096;

enum class OperationKind { Read, Write, Wait };

struct Operation {
    OperationKind kind;
    std::uint8_t* readBuffer = nullptr;
    const std::uint8_t* writeBuffer = nullptr;
    DWORD count = 0;
    DWORD done = 0;
    DWORD events = 0;                 // what a wait reports
    LPDWORD eventMask = nullptr;      // where an overlapped wait reports it
    OVERLAPPED* overlapped = nullptr; // null for a call that waits itself
    bool started = false;             // the head of its queue: timers run, a write is at the device
    bool completed = false;
    DWORD error = ERROR_SUCCESS;
    bool immediate = false;           // a read that returns what is queued at once
    bool anyByte = false;             // a read that returns as soon as a byte is there
    UInt64 deadline = 0;              // end of the total timeout, 0 for none
    DWORD interval = 0;               // interval timeout between bytes, 0 for none
    UInt64 intervalDeadline = 0;
};
using OperationPtr = std::shared_ptr<Operation>;

class CommPort;

// The open ports, so that an advance of the manual clock wakes their timers.
struct LivePorts {
    std::mutex mutex;
    std::set<CommPort*> ports;
};

LivePorts& Live() {
    static LivePorts live;
    return live;
}

class CommPort : public KernelObject, public backend::SerialListener {
public:
    CommPort(std::unique_ptr<backend::SerialDevice> device, bool canRead, bool canWrite);
    ~CommPort() override;
    KernelObjectType Type() const override { return KernelObjectType::SerialDevice; }

    // Starts the device and the timer thread.
    void Start();

    BOOL Read(LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped);
    BOOL Write(LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped);
    BOOL WaitEvent(LPDWORD mask, LPOVERLAPPED overlapped);
    // Waits until the operation of overlapped is no longer pending.
    void WaitCompleted(const OVERLAPPED* overlapped);
    BOOL Cancel();
    BOOL Setup(DWORD inQueue, DWORD outQueue);
    BOOL GetState(DCB& dcb);
    BOOL SetState(const DCB& dcb);
    BOOL GetTimeouts(COMMTIMEOUTS& timeouts);
    BOOL SetTimeouts(const COMMTIMEOUTS& timeouts);
    BOOL SetMask(DWORD mask);
    BOOL GetMask(DWORD& mask);
    BOOL Purge(DWORD flags);
    BOOL ClearError(LPDWORD errors, LPCOMSTAT stat);
    BOOL GetModemStatus(DWORD& status);
    BOOL Escape(DWORD function);
    BOOL TransmitChar(char c);

    // The device's reports.
    std::size_t Received(const std::uint8_t* bytes, std::size_t count) override;
    void ReceivedInError(std::uint8_t byte, backend::ReceiveError error) override;
    void BreakReceived() override;
    void Overrun() override;
    void LinesChanged(unsigned lines) override;
    void Transmitted(std::size_t remaining) override;
    void Lost(int error) override;
    std::size_t ReceiveRoom() override;

    // Under the manual clock, timeouts end on the thread that advances it, before Advance returns.
    void ClockAdvanced();

protected:
    void LastHandleClosed() override;

private:
    // Every Locked function runs with FMutex held.
    bool UsableLocked(); // sets the last error when the port cannot take a call
    BOOL Fail(DWORD error);
    BOOL FailErrno(int error);
    void CompleteLocked(const OperationPtr& operation, DWORD error);
    void AbortAllLocked(DWORD error);
    void AbortQueueLocked(std::deque<OperationPtr>& queue, DWORD error);
    void RaiseLocked(DWORD events);
    void ErrorLocked(DWORD errors, DWORD events);
    void EnqueueLocked(std::uint8_t byte, DWORD& events);
    void FeedReadsLocked();
    void StartReadLocked(Operation& read);
    void StartWritesLocked();
    void WriteProgressLocked(std::size_t remaining);
    void FinishWriteLocked(DWORD error);
    void ExpireLocked(UInt64 now);
    UInt64 NextDeadlineLocked() const;
    BOOL FinishCall(const OperationPtr& operation, std::unique_lock<std::mutex>& lock, LPDWORD transferred);
    void TimerLoop();
    void Shutdown();

    std::unique_ptr<backend::SerialDevice> FDevice;
    const bool FCanRead;
    const bool FCanWrite;
    std::mutex FMutex;
    std::condition_variable FChanged; // an operation completed, or the timer has work
    std::thread FTimer;
    bool FStarted = false;
    bool FClosed = false;
    bool FGone = false; // the device went away
    DCB FDcb{};
    COMMTIMEOUTS FTimeouts{};
    DWORD FMask = 0;
    DWORD FHistory = 0; // events of the mask that came while no wait was pending
    DWORD FErrors = 0;  // CE_ flags until ClearCommError
    std::deque<std::uint8_t> FInput;
    DWORD FInputCapacity = kDefaultInputQueue;
    bool FRoomAsked = false;   // the device found the queue full
    bool FRx80Reported = false;
    unsigned FLines = 0;       // input lines as the device last reported them
    bool FXoffHold = false;    // SETXOFF holds the output
    std::deque<OperationPtr> FReads;
    std::deque<OperationPtr> FWrites;
    OperationPtr FWait;
};

CommPort::CommPort(std::unique_ptr<backend::SerialDevice> device, bool canRead, bool canWrite)
    : FDevice(std::move(device)), FCanRead(canRead), FCanWrite(canWrite) {
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

CommPort::~CommPort() { Shutdown(); }

void CommPort::Start() {
    FDevice->GetLines(FLines, nullptr);
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
    FStarted = true;
    FTimer = std::thread([this] { TimerLoop(); });
    FDevice->Start(this);
}

void CommPort::ClockAdvanced() {
    std::lock_guard lock(FMutex);
    if (!FClosed)
        ExpireLocked(Clock::TickCount64());
}

void CommPort::LastHandleClosed() { Shutdown(); }

void CommPort::Shutdown() {
    {
        std::lock_guard lock(FMutex);
        if (FClosed)
            return;
        FClosed = true;
        AbortAllLocked(ERROR_OPERATION_ABORTED);
    }
    FChanged.notify_all();
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

BOOL CommPort::FailErrno(int error) { return Fail(Win32ErrorFromErrno(error)); }

void CommPort::CompleteLocked(const OperationPtr& operation, DWORD error) {
    if (operation->completed)
        return;
    operation->completed = true;
    operation->error = error;
    if (OVERLAPPED* overlapped = operation->overlapped) {
        // The caller may free the record once Internal shows the end: read the event first, publish
        // the results, and signal last.
        HANDLE event = overlapped->hEvent;
        if (operation->kind == OperationKind::Wait && operation->eventMask)
            *operation->eventMask = operation->events;
        std::atomic_ref<ULONG_PTR>(overlapped->InternalHigh).store(operation->done, std::memory_order_relaxed);
        std::atomic_ref<ULONG_PTR>(overlapped->Internal)
            .store(error == ERROR_SUCCESS ? 0 : (kFailedFlag | error), std::memory_order_release);
        if (event)
            ::SetEvent(event);
    }
    FChanged.notify_all();
}

void CommPort::AbortQueueLocked(std::deque<OperationPtr>& queue, DWORD error) {
    for (const OperationPtr& operation : queue)
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
        const OperationPtr read = FReads.front();
        if (!read->started)
            StartReadLocked(*read);
        const std::size_t take = std::min<std::size_t>(FInput.size(), read->count - read->done);
        if (take > 0) {
            std::copy_n(FInput.begin(), take, read->readBuffer + read->done);
            FInput.erase(FInput.begin(), FInput.begin() + static_cast<std::ptrdiff_t>(take));
            read->done += static_cast<DWORD>(take);
            if (read->interval)
                read->intervalDeadline = Clock::TickCount64() + read->interval;
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

void CommPort::StartReadLocked(Operation& read) {
    read.started = true;
    const COMMTIMEOUTS& t = FTimeouts;
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0) {
        read.immediate = true;
        return;
    }
    const UInt64 now = Clock::TickCount64();
    if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
        t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD) {
        read.anyByte = true;
        read.deadline = now + t.ReadTotalTimeoutConstant;
        return;
    }
    const UInt64 total = UInt64(t.ReadTotalTimeoutMultiplier) * read.count + t.ReadTotalTimeoutConstant;
    if (total > 0)
        read.deadline = now + total;
    if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD)
        read.interval = t.ReadIntervalTimeout;
}

// Hands the next write to the device when none is there.
void CommPort::StartWritesLocked() {
    while (!FWrites.empty() && !FWrites.front()->started && !FGone) {
        const OperationPtr write = FWrites.front();
        write->started = true;
        const UInt64 total =
            UInt64(FTimeouts.WriteTotalTimeoutMultiplier) * write->count + FTimeouts.WriteTotalTimeoutConstant;
        if (total > 0)
            write->deadline = Clock::TickCount64() + total;
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
    const OperationPtr write = FWrites.front();
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
    Operation& write = *FWrites.front();
    write.done = write.count - static_cast<DWORD>(std::min<std::size_t>(remaining, write.count));
    if (write.done == write.count)
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
        const Operation& read = *FReads.front();
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
        Operation& write = *FWrites.front();
        write.done = write.count - static_cast<DWORD>(std::min<std::size_t>(FDevice->OutputPending(), write.count));
        FDevice->PurgeOutput();
        FinishWriteLocked(ERROR_SUCCESS);
    }
}

// Runs the timeouts on the system clock; under the manual clock ClockAdvanced runs them.
void CommPort::TimerLoop() {
    std::unique_lock lock(FMutex);
    while (!FClosed) {
        ExpireLocked(Clock::TickCount64());
        const UInt64 next = NextDeadlineLocked();
        if (!next || Clock::IsManual()) {
            FChanged.wait(lock);
            continue;
        }
        const UInt64 now = Clock::TickCount64();
        if (next > now)
            FChanged.wait_for(lock, std::chrono::milliseconds(next - now));
    }
}

BOOL CommPort::FinishCall(const OperationPtr& operation, std::unique_lock<std::mutex>& lock, LPDWORD transferred) {
    if (!operation->overlapped)
        FChanged.wait(lock, [&] { return operation->completed; });
    if (!operation->completed)
        return Fail(ERROR_IO_PENDING);
    if (transferred)
        *transferred = operation->done;
    if (operation->kind == OperationKind::Wait && !operation->overlapped && operation->eventMask)
        *operation->eventMask = operation->events;
    if (operation->error != ERROR_SUCCESS)
        return Fail(operation->error);
    return TRUE;
}

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

BOOL CommPort::Read(LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped) {
    ResetOverlappedEvent(overlapped);
    if (!FCanRead)
        return Fail(ERROR_ACCESS_DENIED);
    if ((!buffer && count > 0) || (!overlapped && !read))
        return Fail(ERROR_INVALID_PARAMETER);
    if (read)
        *read = 0;
    auto operation = std::make_shared<Operation>();
    operation->kind = OperationKind::Read;
    operation->readBuffer = static_cast<std::uint8_t*>(buffer);
    operation->count = count;
    operation->overlapped = overlapped;
    std::unique_lock lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (FDcb.fAbortOnError && FErrors)
        return Fail(ERROR_OPERATION_ABORTED);
    BeginOverlapped(overlapped);
    FReads.push_back(operation);
    FeedReadsLocked();
    return FinishCall(operation, lock, read);
}

BOOL CommPort::Write(LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
    ResetOverlappedEvent(overlapped);
    if (!FCanWrite)
        return Fail(ERROR_ACCESS_DENIED);
    if ((!buffer && count > 0) || (!overlapped && !written))
        return Fail(ERROR_INVALID_PARAMETER);
    if (written)
        *written = 0;
    auto operation = std::make_shared<Operation>();
    operation->kind = OperationKind::Write;
    operation->writeBuffer = static_cast<const std::uint8_t*>(buffer);
    operation->count = count;
    operation->overlapped = overlapped;
    std::unique_lock lock(FMutex);
    if (!UsableLocked())
        return FALSE;
    if (FDcb.fAbortOnError && FErrors)
        return Fail(ERROR_OPERATION_ABORTED);
    BeginOverlapped(overlapped);
    FWrites.push_back(operation);
    StartWritesLocked();
    return FinishCall(operation, lock, written);
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
    auto operation = std::make_shared<Operation>();
    operation->kind = OperationKind::Wait;
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
    if ((dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5) || (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5))
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
        Operation& write = *FWrites.front();
        write.done = write.count - static_cast<DWORD>(std::min<std::size_t>(FDevice->OutputPending(), write.count));
        FDevice->PurgeOutput();
        FinishWriteLocked(ERROR_SUCCESS);
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
        for (const OperationPtr& write : FWrites)
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

std::size_t CommPort::Received(const std::uint8_t* bytes, std::size_t count) {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return count;
    DWORD events = 0;
    const DWORD errorsBefore = FErrors;
    for (std::size_t i = 0; i < count; ++i)
        EnqueueLocked(bytes[i], events);
    FeedReadsLocked();
    if (FDcb.fAbortOnError && (FErrors & ~errorsBefore))
        ErrorLocked(0, 0);
    RaiseLocked(events);
    return count;
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

void CommPort::Lost(int) {
    std::lock_guard lock(FMutex);
    if (FClosed)
        return;
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

} // namespace

} // namespace win32

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
        DWORD win32Error;
        switch (error) {
        case EBUSY: win32Error = ERROR_ACCESS_DENIED; break;
        case ENOTTY: win32Error = ERROR_INVALID_FUNCTION; break;
        default: win32Error = Win32ErrorFromErrno(error); break;
        }
        SetLastError(win32Error);
        return INVALID_HANDLE_VALUE;
    }
    auto port = std::make_shared<win32::CommPort>(std::move(device), (dwDesiredAccess & GENERIC_READ) != 0,
                                                  (dwDesiredAccess & GENERIC_WRITE) != 0);
    port->Start();
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

BOOL SetCommBreak(HANDLE hFile) { return EscapeCommFunction(hFile, SETBREAK); }

BOOL ClearCommBreak(HANDLE hFile) { return EscapeCommFunction(hFile, CLRBREAK); }
