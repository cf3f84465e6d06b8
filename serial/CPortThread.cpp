// The serial event thread and the delivery of port events to the owner thread: thread
// synchronisation, messages to the port's hidden window, or directly on the event thread.
#include "serial/CPort.h"

#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"
#include "platform/win32/winuser.h"

namespace {

struct EventBit {
    TComEvent event;
    DWORD mask;
};

const EventBit kEventBits[] = {
    {evRxChar, EV_RXCHAR}, {evTxEmpty, EV_TXEMPTY},   {evRxFlag, EV_RXFLAG}, {evRing, EV_RING},
    {evBreak, EV_BREAK},   {evCTS, EV_CTS},           {evDSR, EV_DSR},       {evError, EV_ERR},
    {evRLSD, EV_RLSD},     {evRx80Full, EV_RX80FULL},
};

// The order in which one caught batch is dispatched: errors before the bytes they concern.
const EventBit kDispatchOrder[] = {
    {evError, EV_ERR}, {evRxChar, EV_RXCHAR},     {evTxEmpty, EV_TXEMPTY}, {evBreak, EV_BREAK},
    {evRing, EV_RING}, {evCTS, EV_CTS},           {evDSR, EV_DSR},         {evRxFlag, EV_RXFLAG},
    {evRLSD, EV_RLSD}, {evRx80Full, EV_RX80FULL},
};

const Char* const kPortWindowClass = u"TComPortWindow";

} // namespace

DWORD ComEventsToMask(TComEvents events) {
    DWORD mask = 0;
    for (const EventBit& bit : kEventBits)
        if (events.Contains(bit.event))
            mask |= bit.mask;
    return mask;
}

TComEvents MaskToComEvents(DWORD mask) {
    TComEvents events;
    for (const EventBit& bit : kEventBits)
        if (mask & bit.mask)
            events.Include(bit.event);
    return events;
}

// ---- TComThread ----

TComThread::TComThread(TCustomComPort* comPort)
    : TThread(false), FComPort(comPort), FHandle(comPort->FHandle), FSyncMethod(comPort->FSyncMethod),
      FWindow(comPort->FWindow) {
    FStopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetPriority(comPort->FEventThreadPriority);
    SetCommMask(FHandle, ComEventsToMask(comPort->FEvents));
}

TComThread::~TComThread() = default;

void TComThread::BeforeDestruction() {
    SignalStop();
    TThread::BeforeDestruction();
}

void TComThread::SignalStop() {
    SetEvent(FStopEvent);
    std::this_thread::yield();
}

void TComThread::Abandon() {
    SignalStop();
    FComPort = nullptr;
    Release();
}

bool TComThread::DeliveringOnCaller() const {
    return std::this_thread::get_id() == ThreadID() || (FSyncMethod == smThreadSync && FInRunEvents);
}

void TComThread::Execute() {
    // A pending wait writes mask and overlapped when it ends, which the clean-up below makes happen
    // before they go out of scope.
    DWORD mask = 0;
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    // The device is left without an event mask and with empty queues however the loop ends (an
    // exception of a handler under thread synchronisation ends it too).
    struct CleanUp {
        TComThread* self;
        HANDLE event;
        ~CleanUp() {
            if (self->FComPort.load()) {
                SetCommMask(self->FHandle, 0);
                PurgeComm(self->FHandle, PURGE_TXCLEAR | PURGE_RXCLEAR);
            }
            CloseHandle(event);
            CloseHandle(self->FStopEvent);
        }
    } cleanUp{this, overlapped.hEvent};
    const HANDLE handles[2] = {FStopEvent, overlapped.hEvent};
    DWORD result;
    do {
        // An abandoned thread touches the device no more.
        if (WaitForSingleObject(FStopEvent, 0) == WAIT_OBJECT_0)
            break;
        mask = 0;
        WaitCommEvent(FHandle, &mask, &overlapped);
        result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        DWORD transferred = 0;
        if (result == WAIT_OBJECT_0 + 1 && GetOverlappedResult(FHandle, &overlapped, &transferred, FALSE)) {
            FEvents = MaskToComEvents(mask);
            DeliverEvents();
        }
    } while (result == WAIT_OBJECT_0 + 1);
}

void TComThread::DeliverEvents() {
    switch (FSyncMethod) {
    case smThreadSync:
        Synchronize([this] { RunEvents(); });
        break;
    case smWindowSync:
        SendEventMessages();
        break;
    case smNone:
        RunEvents();
        break;
    }
}

void TComThread::SendEventMessages() {
    for (const EventBit& bit : kDispatchOrder)
        if (FEvents.Contains(bit.event))
            SendMessageW(FWindow, CM_COMPORT_EVENT, bit.mask, 0);
}

void TComThread::RunEvents() {
    FInRunEvents = true;
    struct Leave {
        bool& flag;
        ~Leave() { flag = false; }
    } leave{FInRunEvents};
    for (const EventBit& bit : kDispatchOrder) {
        if (!FEvents.Contains(bit.event))
            continue;
        // A handler may have closed (or freed) the port, or the port is closing: the rest of the
        // batch is dropped.
        TCustomComPort* port = FComPort.load();
        if (!port || port->FClosing)
            return;
        port->DispatchEvent(bit.mask);
    }
}

// ---- The port's side ----

void TCustomComPort::DispatchEvent(DWORD evConstant) {
    switch (evConstant) {
    case EV_RXCHAR:
        DispatchRxChar();
        break;
    case EV_RXFLAG:
        DispatchRxFlag();
        break;
    case EV_TXEMPTY:
        DispatchTxEmpty();
        break;
    case EV_CTS:
        DispatchCTSChange();
        break;
    case EV_DSR:
        DispatchDSRChange();
        break;
    case EV_RLSD:
        DispatchRLSDChange();
        break;
    case EV_BREAK:
        DispatchBreak();
        break;
    case EV_ERR:
        DispatchError();
        break;
    case EV_RING:
        DispatchRing();
        break;
    case EV_RX80FULL:
        DispatchRx80Full();
        break;
    default:
        break;
    }
}

LRESULT TCustomComPort::PortWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* port = reinterpret_cast<TCustomComPort*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!port)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return port->WindowMethod(message, wParam, lParam);
}

LRESULT TCustomComPort::WindowMethod(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != CM_COMPORT_EVENT)
        return DefWindowProcW(FWindow, message, wParam, lParam);
    // Let the event thread wait for the next batch while this one is dispatched.
    if (InSendMessage())
        ReplyMessage(0);
    if (!FConnected || FClosing)
        return 0;
    try {
        DispatchEvent(static_cast<DWORD>(wParam));
    } catch (...) {
        ApplicationHandleException(this);
    }
    return 0;
}

void TCustomComPort::CreatePortWindow() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PortWindowProc;
        windowClass.lpszClassName = kPortWindowClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
    FWindow =
        CreateWindowExW(0, kPortWindowClass, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (FWindow)
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TCustomComPort::DestroyPortWindow() {
    if (!FWindow)
        return;
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    DestroyWindow(FWindow);
    FWindow = nullptr;
}

// ---- Dispatch routines ----

void TCustomComPort::DispatchRxChar() {
    Integer count = InputCount();
    if (count > 0)
        NotifyLinksSignal(&TComLink::OnRx, true);
    if (count > 0 && !TriggersOnRxChar()) {
        // The pending bytes are read once; the port's OnRxBuf and every link that wants them get the
        // same buffer.
        std::vector<Byte> buffer;
        Integer read = 0;
        bool taken = false;
        auto take = [&] {
            buffer.resize(static_cast<std::size_t>(count));
            read = Read(buffer.data(), count);
            FireRxBuf(buffer.data(), read);
            taken = true;
        };
        for (TComLink* link : std::vector<TComLink*>(FLinks)) {
            if (!link->OnRxBuf)
                continue;
            if (!taken)
                take();
            link->OnRxBuf(this, buffer.data(), read);
        }
        if (!taken && !FTriggersOnRxChar)
            take();
        if (taken)
            count = 0;
    }
    if (count > 0)
        FireRxChar(count);
}

void TCustomComPort::DispatchTxEmpty() {
    NotifyLinksSignal(&TComLink::OnTx, false);
    NotifyLinksEvent(&TComLink::OnTxEmpty);
    FireTxEmpty();
}

void TCustomComPort::DispatchBreak() {
    FireBreak();
}

void TCustomComPort::DispatchRing() {
    NotifyLinksEvent(&TComLink::OnRing);
    FireRing();
}

void TCustomComPort::DispatchRxFlag() {
    NotifyLinksEvent(&TComLink::OnRxFlag);
    FireRxFlag();
}

void TCustomComPort::DispatchCTSChange() {
    const bool state = Signals().Contains(csCTS);
    NotifyLinksSignal(&TComLink::OnCTSChange, state);
    FireCTSChange(state);
}

void TCustomComPort::DispatchDSRChange() {
    const bool state = Signals().Contains(csDSR);
    NotifyLinksSignal(&TComLink::OnDSRChange, state);
    FireDSRChange(state);
}

void TCustomComPort::DispatchRLSDChange() {
    const bool state = Signals().Contains(csRLSD);
    NotifyLinksSignal(&TComLink::OnRLSDChange, state);
    FireRLSDChange(state);
}

void TCustomComPort::DispatchError() {
    const TComErrors errors = LastErrors();
    if (!errors.Empty())
        FireError(errors);
}

void TCustomComPort::DispatchRx80Full() {
    FireRx80Full();
}

// ---- Waiting without the thread ----

void TCustomComPort::WaitForEvent(TComEvents& events, HANDLE stopEvent, Integer timeout) {
    if (FThreadCreated) {
        ReportError(CError_ThreadCreated, 0);
        return;
    }
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct CloseEvent {
        HANDLE event;
        ~CloseEvent() { CloseHandle(event); }
    } closeEvent{overlapped.hEvent};
    HANDLE handles[2] = {overlapped.hEvent, stopEvent};
    const DWORD count = stopEvent ? 2 : 1;
    DWORD mask = 0;
    DWORD error = ERROR_SUCCESS;
    SetCommMask(FHandle, ComEventsToMask(events));
    if (WaitCommEvent(FHandle, &mask, &overlapped) || GetLastError() == ERROR_IO_PENDING) {
        const DWORD result = WaitForMultipleObjects(count, handles, FALSE, static_cast<DWORD>(timeout));
        // The event, the stop event and the time-out all count as success; a wait that ended because
        // the device went away does not.
        DWORD transferred = 0;
        if (result == WAIT_FAILED ||
            (result == WAIT_OBJECT_0 && !GetOverlappedResult(FHandle, &overlapped, &transferred, FALSE)))
            error = GetLastError();
        // A new mask ends a wait still pending, with an empty mask.
        SetCommMask(FHandle, 0);
    } else {
        error = GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        SetLastError(error); // the text of OnException describes this error, not that of the clean-up
        ReportError(CError_WaitFailed, error);
        mask = 0;
    }
    events = MaskToComEvents(mask);
}
