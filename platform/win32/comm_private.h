// The port object behind a comm handle, shared by the comm calls and the port's own implementation.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/backend/serialdevice.h"
#include "platform/rtl/Trace.h"
#include "platform/win32/comm.h"

namespace win32 {

// Internal of a finished OVERLAPPED: 0 for success, else this flag with the Win32 error.
inline constexpr ULONG_PTR kFailedFlag = 0x80000000;
inline constexpr DWORD kDefaultInputQueue = 4096;

// The serial trace channel (ZELMOR_DEBUG=+serial).
extern const Trace::Channel TraceSerial;

enum class CommOperationKind { Read, Write, Wait };

struct CommOperation {
    CommOperationKind kind;
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
    bool immediate = false; // a read that returns what is queued at once
    bool anyByte = false;   // a read that returns as soon as a byte is there
    UInt64 deadline = 0;    // end of the total timeout, 0 for none
    DWORD interval = 0;     // interval timeout between bytes, 0 for none
    UInt64 intervalDeadline = 0;
};
using CommOperationPtr = std::shared_ptr<CommOperation>;

class CommPort : public KernelObject, public backend::SerialListener {
public:
    CommPort(std::unique_ptr<backend::SerialDevice> device, bool canRead, bool canWrite, bool overlappedIo);
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
    void Received(const std::uint8_t* bytes, std::size_t count) override;
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
    void CompleteLocked(const CommOperationPtr& operation, DWORD error);
    void AbortAllLocked(DWORD error);
    void AbortQueueLocked(std::deque<CommOperationPtr>& queue, DWORD error);
    void RaiseLocked(DWORD events);
    void ErrorLocked(DWORD errors, DWORD events);
    void EnqueueLocked(std::uint8_t byte, DWORD& events);
    void FeedReadsLocked();
    void StartReadLocked(CommOperation& read);
    void StartWritesLocked();
    void WriteProgressLocked(std::size_t remaining);
    void FinishWriteLocked(DWORD error);
    void CutWriteLocked(); // the write at the device ends with what has left; the rest is dropped
    void ExpireLocked(UInt64 now);
    UInt64 NextDeadlineLocked() const;
    void ArmTimerLocked(UInt64 deadline); // a read or write got this deadline
    // Queues a read or a write that passed its checks and starts it, then finishes the call.
    BOOL SubmitCall(const CommOperationPtr& operation, LPDWORD transferred);
    BOOL FinishCall(const CommOperationPtr& operation, std::unique_lock<std::mutex>& lock,
                    LPDWORD transferred);
    void TimerLoop();
    void Shutdown();

    std::unique_ptr<backend::SerialDevice> FDevice;
    const bool FCanRead;
    const bool FCanWrite;
    const bool FOverlappedIo; // opened with FILE_FLAG_OVERLAPPED: calls with an OVERLAPPED do not wait
    std::mutex FMutex;
    std::condition_variable FChanged;   // an operation completed, or the device took or sent bytes
    std::condition_variable FTimerWake; // a deadline came before FTimerDue, or the port closed
    UInt64 FTimerDue = 0;               // when the timer thread wakes next; 0 while it has no deadline
    std::thread FTimer;
    bool FClosed = false;
    bool FGone = false; // the device went away
    DCB FDcb{};
    COMMTIMEOUTS FTimeouts{};
    DWORD FMask = 0;
    DWORD FHistory = 0; // events of the mask that came while no wait was pending
    DWORD FErrors = 0;  // CE_ flags until ClearCommError
    std::deque<std::uint8_t> FInput;
    DWORD FInputCapacity = kDefaultInputQueue;
    bool FRoomAsked = false; // the device found the queue full
    bool FRx80Reported = false;
    unsigned FLines = 0;    // input lines as the device last reported them
    bool FXoffHold = false; // SETXOFF holds the output
    std::deque<CommOperationPtr> FReads;
    std::deque<CommOperationPtr> FWrites;
    CommOperationPtr FWait;
};

// The port behind a handle, or nullptr with ERROR_INVALID_HANDLE.
std::shared_ptr<CommPort> PortOf(HANDLE handle);

} // namespace win32
