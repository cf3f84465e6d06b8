// The serial port component: construction, properties, the setting groups, opening and closing,
// applying the settings to the device, the update bracket and links.
#include "serial/CPort.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winerror.h"
#include "serial/CPortSetup.h"

// ---- Setting groups ----

DEFINE_CLASS(TComParity, PROPERTY(Bits).Default(prNone), PROPERTY(Check).Default(false),
             PROPERTY(Replace).Default(false), PROPERTY(ReplaceChar).Default(0))

void TComParity::Assign(TPersistent* source) {
    if (auto* parity = dynamic_cast<TComParity*>(source)) {
        FBits = parity->FBits;
        FCheck = parity->FCheck;
        FReplace = parity->FReplace;
        FReplaceChar = parity->FReplaceChar;
        return;
    }
    TPersistent::Assign(source);
}

void TComParity::Changed() {
    if (FComPort)
        FComPort->ApplyLineSettings();
}

// Each setter of the groups stores a changed value and asks the port to apply its area again.
#define COMPORT_GROUP_SETTER(Class, Name, Type)                                                              \
    void Class::Set##Name(Type value) {                                                                      \
        if (F##Name == value)                                                                                \
            return;                                                                                          \
        F##Name = value;                                                                                     \
        Changed();                                                                                           \
    }

COMPORT_GROUP_SETTER(TComParity, Bits, TParityBits)
COMPORT_GROUP_SETTER(TComParity, Check, bool)
COMPORT_GROUP_SETTER(TComParity, Replace, bool)
COMPORT_GROUP_SETTER(TComParity, ReplaceChar, Char)

DEFINE_CLASS(TComFlowControl, PROPERTY(OutCTSFlow).Default(false), PROPERTY(OutDSRFlow).Default(false),
             PROPERTY(ControlDTR).Default(dtrDisable), PROPERTY(ControlRTS).Default(rtsDisable),
             PROPERTY(XonXoffOut).Default(false), PROPERTY(XonXoffIn).Default(false),
             PROPERTY(DSRSensitivity).Default(false), PROPERTY(TxContinueOnXoff).Default(false),
             PROPERTY(XonChar).Default(17), PROPERTY(XoffChar).Default(19),
             PROPERTY(FlowControl).Stored(false))

void TComFlowControl::Assign(TPersistent* source) {
    if (auto* flow = dynamic_cast<TComFlowControl*>(source)) {
        FOutCTSFlow = flow->FOutCTSFlow;
        FOutDSRFlow = flow->FOutDSRFlow;
        FControlDTR = flow->FControlDTR;
        FControlRTS = flow->FControlRTS;
        FXonXoffOut = flow->FXonXoffOut;
        FXonXoffIn = flow->FXonXoffIn;
        FDSRSensitivity = flow->FDSRSensitivity;
        FTxContinueOnXoff = flow->FTxContinueOnXoff;
        FXonChar = flow->FXonChar;
        FXoffChar = flow->FXoffChar;
        return;
    }
    TPersistent::Assign(source);
}

void TComFlowControl::Changed() {
    if (FComPort)
        FComPort->ApplyLineSettings();
}

COMPORT_GROUP_SETTER(TComFlowControl, OutCTSFlow, bool)
COMPORT_GROUP_SETTER(TComFlowControl, OutDSRFlow, bool)
COMPORT_GROUP_SETTER(TComFlowControl, ControlDTR, TDTRFlowControl)
COMPORT_GROUP_SETTER(TComFlowControl, ControlRTS, TRTSFlowControl)
COMPORT_GROUP_SETTER(TComFlowControl, XonXoffOut, bool)
COMPORT_GROUP_SETTER(TComFlowControl, XonXoffIn, bool)
COMPORT_GROUP_SETTER(TComFlowControl, DSRSensitivity, bool)
COMPORT_GROUP_SETTER(TComFlowControl, TxContinueOnXoff, bool)
COMPORT_GROUP_SETTER(TComFlowControl, XonChar, Char)
COMPORT_GROUP_SETTER(TComFlowControl, XoffChar, Char)

// Hardware: RTS handshake with CTS output flow; software: Xon/Xoff both ways; none: neither. DTR and
// DSR take no part.
TFlowControl TComFlowControl::FlowControl() const {
    const bool xonXoff = FXonXoffIn || FXonXoffOut;
    if (FControlRTS == rtsHandshake && FOutCTSFlow && !xonXoff)
        return fcHardware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && FXonXoffIn && FXonXoffOut)
        return fcSoftware;
    if (FControlRTS == rtsDisable && !FOutCTSFlow && !xonXoff)
        return fcNone;
    return fcCustom;
}

void TComFlowControl::SetFlowControl(TFlowControl value) {
    if (value != fcCustom) {
        FControlRTS = rtsDisable;
        FOutCTSFlow = false;
        FXonXoffIn = false;
        FXonXoffOut = false;
        if (value == fcHardware) {
            FControlRTS = rtsHandshake;
            FOutCTSFlow = true;
        } else if (value == fcSoftware) {
            FXonXoffIn = true;
            FXonXoffOut = true;
        }
    }
    Changed();
}

DEFINE_CLASS(TComTimeouts, PROPERTY(ReadInterval).Default(-1), PROPERTY(ReadTotalMultiplier).Default(0),
             PROPERTY(ReadTotalConstant).Default(0), PROPERTY(WriteTotalMultiplier).Default(100),
             PROPERTY(WriteTotalConstant).Default(1000))

void TComTimeouts::Assign(TPersistent* source) {
    if (auto* timeouts = dynamic_cast<TComTimeouts*>(source)) {
        FReadInterval = timeouts->FReadInterval;
        FReadTotalMultiplier = timeouts->FReadTotalMultiplier;
        FReadTotalConstant = timeouts->FReadTotalConstant;
        FWriteTotalMultiplier = timeouts->FWriteTotalMultiplier;
        FWriteTotalConstant = timeouts->FWriteTotalConstant;
        return;
    }
    TPersistent::Assign(source);
}

void TComTimeouts::Changed() {
    if (FComPort)
        FComPort->ApplyTimeoutSettings();
}

COMPORT_GROUP_SETTER(TComTimeouts, ReadInterval, Integer)
COMPORT_GROUP_SETTER(TComTimeouts, ReadTotalMultiplier, Integer)
COMPORT_GROUP_SETTER(TComTimeouts, ReadTotalConstant, Integer)
COMPORT_GROUP_SETTER(TComTimeouts, WriteTotalMultiplier, Integer)
COMPORT_GROUP_SETTER(TComTimeouts, WriteTotalConstant, Integer)

DEFINE_CLASS(TComBuffer, PROPERTY(InputSize).Default(1024), PROPERTY(OutputSize).Default(1024))

void TComBuffer::Assign(TPersistent* source) {
    if (auto* buffer = dynamic_cast<TComBuffer*>(source)) {
        FInputSize = buffer->FInputSize;
        FOutputSize = buffer->FOutputSize;
        return;
    }
    TPersistent::Assign(source);
}

void TComBuffer::Changed() {
    if (FComPort)
        FComPort->ApplyBufferSettings();
}

namespace {

// Driver queues take even sizes.
Integer EvenSize(Integer value) {
    return value > 0 && value % 2 == 1 ? value - 1 : value;
}

} // namespace

void TComBuffer::SetInputSize(Integer value) {
    value = EvenSize(value);
    if (FInputSize == value)
        return;
    FInputSize = value;
    Changed();
}

void TComBuffer::SetOutputSize(Integer value) {
    value = EvenSize(value);
    if (FOutputSize == value)
        return;
    FOutputSize = value;
    Changed();
}

#undef COMPORT_GROUP_SETTER

// ---- The component ----

DEFINE_CLASS(TCustomComPort)

DEFINE_CLASS(TComPort, PROPERTY(BaudRate), PROPERTY(Port), PROPERTY(Parity), PROPERTY(StopBits),
             PROPERTY(DataBits), PROPERTY(DiscardNull).Default(false), PROPERTY(EventChar).Default(0),
             PROPERTY(Events), PROPERTY(Buffer), PROPERTY(FlowControl), PROPERTY(Timeouts),
             PROPERTY(Connected).Default(false), PROPERTY(SyncMethod).Default(smThreadSync),
             PROPERTY(StoredProps), PROPERTY(TriggersOnRxChar).Default(true), PROPERTY(CodePage).Default(0),
             EVENT(OnAfterClose), EVENT(OnAfterOpen), EVENT(OnBeforeClose), EVENT(OnBeforeOpen),
             EVENT(OnRxChar), EVENT(OnRxBuf), EVENT(OnTxEmpty), EVENT(OnBreak), EVENT(OnRing),
             EVENT(OnCTSChange), EVENT(OnDSRChange), EVENT(OnRLSDChange), EVENT(OnRxFlag), EVENT(OnError),
             EVENT(OnRx80Full), EVENT(OnException))

TCustomComPort::TCustomComPort(TComponent* owner)
    : TComponent(owner), FBuffer(std::make_unique<TComBuffer>()), FParity(std::make_unique<TComParity>()),
      FTimeouts(std::make_unique<TComTimeouts>()), FFlowControl(std::make_unique<TComFlowControl>()) {
    FComponentStyle.Exclude(csInheritable);
    FBuffer->AttachPort(this);
    FParity->AttachPort(this);
    FTimeouts->AttachPort(this);
    FFlowControl->AttachPort(this);
}

TCustomComPort::~TCustomComPort() {
    try {
        Close();
    } catch (...) {
        // A destructor cannot raise; the port is gone either way.
        ApplicationHandleException(this);
    }
    if (FConnected) {
        // Close failed half-way (OnBeforeClose raised): release what is left.
        if (TComThread* thread = FEventThread.exchange(nullptr))
            thread->Free();
        DestroyPortWindow();
        if (FHandle != INVALID_HANDLE_VALUE)
            CloseHandle(FHandle);
        FHandle = INVALID_HANDLE_VALUE;
        FConnected = false;
    }
}

bool TCustomComPort::DesigningOrLoading() const {
    return FComponentState.Contains(csDesigning) || FComponentState.Contains(csLoading);
}

bool TCustomComPort::CanApply() const {
    return FConnected && FUpdateCount == 0 && !DesigningOrLoading();
}

void TCustomComPort::Loaded() {
    TComponent::Loaded();
    if (FConnected && !FComponentState.Contains(csDesigning)) {
        FConnected = false;
        try {
            Open();
        } catch (...) {
            ApplicationHandleException(this);
        }
    }
}

void TCustomComPort::Open() {
    if (FConnected || FOpening || FComponentState.Contains(csDesigning))
        return;
    // An Open from OnBeforeOpen would start the same opening again, without end.
    FOpening = true;
    struct Opening {
        bool& flag;
        ~Opening() { flag = false; }
    } opening{FOpening};
    FireBeforeOpen();
    OpenPortHandle();
    // With OnException assigned a failed open was reported and did not raise: the port stays closed
    // rather than "connected" to no device.
    if (FHandle == INVALID_HANDLE_VALUE)
        return;
    FConnected = true;
    try {
        ApplyPortSettings();
    } catch (...) {
        ClosePortHandle();
        FConnected = false;
        throw;
    }
    if (FEvents.Empty()) {
        FThreadCreated = false;
    } else {
        if (FSyncMethod == smWindowSync)
            CreatePortWindow();
        FEventThread = CreateInstance<TComThread>(this);
        FThreadCreated = true;
    }
    DispatchAfterOpen();
}

void TCustomComPort::Close() {
    if (!FConnected || FClosing || FComponentState.Contains(csDesigning))
        return;
    // Events of a batch still on its way belong to the port being closed: they are dropped, so that
    // no handler runs after OnBeforeClose and none closes the port a second time.
    FClosing = true;
    struct Closing {
        std::atomic<bool>& flag;
        ~Closing() { flag = false; }
    } closing{FClosing};
    DispatchBeforeClose();
    // A device that went away fails the purge; the port is closed all the same and the failure
    // reported afterwards, or it could never be closed.
    std::exception_ptr purgeError;
    try {
        AbortAllAsync();
    } catch (...) {
        purgeError = std::current_exception();
    }
    if (TComThread* thread = FEventThread.exchange(nullptr)) {
        // Called from inside the thread's own delivery the thread cannot be waited for: it ends and
        // frees itself once the delivery returns.
        if (thread->DeliveringOnCaller())
            thread->Abandon();
        else
            thread->Free();
        FThreadCreated = false;
        if (FSyncMethod == smWindowSync)
            DestroyPortWindow();
    }
    ClosePortHandle();
    FConnected = false;
    DispatchAfterClose();
    if (purgeError)
        std::rethrow_exception(purgeError);
}

void TCustomComPort::OpenPortHandle() {
    // A port name that is a path opens that device file; any other name is a device of the system.
    const String path = !FPort.empty() && FPort[0] == u'/' ? FPort : u"\\\\.\\" + FPort;
    FHandle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, nullptr);
    if (FHandle == INVALID_HANDLE_VALUE)
        ReportError(CError_OpenFailed, GetLastError());
}

void TCustomComPort::ClosePortHandle() {
    if (FHandle != INVALID_HANDLE_VALUE && CloseHandle(FHandle))
        FHandle = INVALID_HANDLE_VALUE;
}

void TCustomComPort::ApplyPortSettings() {
    ApplyBufferSettings();
    ApplyLineSettings();
    ApplyTimeoutSettings();
}

void TCustomComPort::ApplyLineSettings() {
    if (!CanApply())
        return;
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = static_cast<DWORD>(FBaudRate == brCustom ? FCustomBaudRate : BaudRateValue(FBaudRate));
    dcb.fBinary = 1;
    dcb.fParity = FParity->Check() ? 1 : 0;
    dcb.fOutxCtsFlow = FFlowControl->OutCTSFlow() ? 1 : 0;
    dcb.fOutxDsrFlow = FFlowControl->OutDSRFlow() ? 1 : 0;
    dcb.fDtrControl = static_cast<DWORD>(FFlowControl->ControlDTR());
    dcb.fDsrSensitivity = FFlowControl->DSRSensitivity() ? 1 : 0;
    dcb.fTXContinueOnXoff = FFlowControl->TxContinueOnXoff() ? 1 : 0;
    dcb.fOutX = FFlowControl->XonXoffOut() ? 1 : 0;
    dcb.fInX = FFlowControl->XonXoffIn() ? 1 : 0;
    if (FParity->Check() && FParity->Replace()) {
        dcb.fErrorChar = 1;
        dcb.ErrorChar = static_cast<char>(FParity->ReplaceChar() & 0xFF);
    }
    dcb.fNull = FDiscardNull ? 1 : 0;
    dcb.fRtsControl = static_cast<DWORD>(FFlowControl->ControlRTS());
    dcb.fAbortOnError = 0;
    dcb.XonLim = static_cast<WORD>(FBuffer->InputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.ByteSize = static_cast<BYTE>(5 + FDataBits);
    dcb.Parity = static_cast<BYTE>(FParity->Bits());
    dcb.StopBits = static_cast<BYTE>(FStopBits);
    dcb.XonChar = static_cast<char>(FFlowControl->XonChar() & 0xFF);
    dcb.XoffChar = static_cast<char>(FFlowControl->XoffChar() & 0xFF);
    dcb.EvtChar = static_cast<char>(FEventChar & 0xFF);
    dcb.EofChar = 0;
    if (!SetCommState(FHandle, &dcb))
        ReportError(CError_SetStateFailed, GetLastError());
}

void TCustomComPort::ApplyTimeoutSettings() {
    if (!CanApply())
        return;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = static_cast<DWORD>(FTimeouts->ReadInterval());
    timeouts.ReadTotalTimeoutMultiplier = static_cast<DWORD>(FTimeouts->ReadTotalMultiplier());
    timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(FTimeouts->ReadTotalConstant());
    timeouts.WriteTotalTimeoutMultiplier = static_cast<DWORD>(FTimeouts->WriteTotalMultiplier());
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(FTimeouts->WriteTotalConstant());
    if (!SetCommTimeouts(FHandle, &timeouts))
        ReportError(CError_TimeoutsFailed, GetLastError());
}

void TCustomComPort::ApplyBufferSettings() {
    if (!CanApply())
        return;
    if (!SetupComm(FHandle, static_cast<DWORD>(FBuffer->InputSize()),
                   static_cast<DWORD>(FBuffer->OutputSize())))
        ReportError(CError_SetupComFailed, GetLastError());
}

void TCustomComPort::BeginUpdate() {
    ++FUpdateCount;
}

void TCustomComPort::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        ApplyPortSettings();
}

void TCustomComPort::ShowSetupDialog() {
    RunComSetupDialog(this);
}

// ---- Properties ----

void TCustomComPort::SetConnected(bool value) {
    if (DesigningOrLoading()) {
        FConnected = value;
        return;
    }
    if (value == FConnected)
        return;
    if (value)
        Open();
    else
        Close();
}

// Setters of the line settings store a changed value and apply the line settings again.
#define COMPORT_LINE_SETTER(Name, Type)                                                                      \
    void TCustomComPort::Set##Name(Type value) {                                                             \
        if (F##Name == value)                                                                                \
            return;                                                                                          \
        F##Name = value;                                                                                     \
        ApplyLineSettings();                                                                                 \
    }

COMPORT_LINE_SETTER(BaudRate, TBaudRate)
COMPORT_LINE_SETTER(CustomBaudRate, Integer)
COMPORT_LINE_SETTER(StopBits, TStopBits)
COMPORT_LINE_SETTER(DataBits, TDataBits)
COMPORT_LINE_SETTER(DiscardNull, bool)
COMPORT_LINE_SETTER(EventChar, Char)

#undef COMPORT_LINE_SETTER

void TCustomComPort::SetPort(const String& value) {
    if (FPort == value)
        return;
    FPort = value;
    if (FConnected && !DesigningOrLoading()) {
        Close();
        Open();
    }
}

void TCustomComPort::SetParity(TComParity* value) {
    FParity->Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetFlowControl(TComFlowControl* value) {
    FFlowControl->Assign(value);
    ApplyLineSettings();
}

void TCustomComPort::SetTimeouts(TComTimeouts* value) {
    FTimeouts->Assign(value);
    ApplyTimeoutSettings();
}

void TCustomComPort::SetBuffer(TComBuffer* value) {
    FBuffer->Assign(value);
    ApplyBufferSettings();
}

void TCustomComPort::SetSyncMethod(TSyncMethod value) {
    if (value == FSyncMethod)
        return;
    if (FConnected && !DesigningOrLoading()) {
        ReportError(CError_ConnChangeProp, 0);
        return;
    }
    FSyncMethod = value;
}

void TCustomComPort::SetEventThreadPriority(TThreadPriority value) {
    if (value == FEventThreadPriority)
        return;
    if (FConnected && !DesigningOrLoading()) {
        ReportError(CError_ConnChangeProp, 0);
        return;
    }
    FEventThreadPriority = value;
}

void TCustomComPort::SetTriggersOnRxChar(bool value) {
    if (FHasLink)
        ReportError(CError_HasLink, 0);
    FTriggersOnRxChar = value;
}

// ---- Links ----

void TCustomComPort::RegisterLink(TComLink* comLink) {
    if (std::find(FLinks.begin(), FLinks.end(), comLink) != FLinks.end())
        ReportError(CError_RegFailed, 0);
    else
        FLinks.push_back(comLink);
    FHasLink = LinkWantsRxBuf();
}

void TCustomComPort::UnRegisterLink(TComLink* comLink) {
    auto it = std::find(FLinks.begin(), FLinks.end(), comLink);
    if (it == FLinks.end())
        ReportError(CError_RegFailed, 0);
    else
        FLinks.erase(it);
    FHasLink = LinkWantsRxBuf();
}

bool TCustomComPort::LinkWantsRxBuf() const {
    for (TComLink* link : FLinks)
        if (link->OnRxBuf)
            return true;
    return false;
}

void TCustomComPort::NotifyLinksSignal(TComSignalEvent TComLink::*event, bool state) {
    for (TComLink* link : FLinks)
        if (link->*event)
            (link->*event)(this, state);
}

void TCustomComPort::NotifyLinksEvent(TNotifyEvent TComLink::*event) {
    for (TComLink* link : FLinks)
        if (link->*event)
            (link->*event)(this);
}

void TCustomComPort::NotifyLinksTxBuf(const void* buffer, Integer count) {
    for (TComLink* link : FLinks)
        if (link->OnTxBuf)
            link->OnTxBuf(this, buffer, count);
}

// ---- Open and close notifications ----

void TCustomComPort::ReportSignal(TComSignal signal) {
    const bool state = Signals().Contains(signal);
    switch (signal) {
    case csCTS:
        NotifyLinksSignal(&TComLink::OnCTSChange, state);
        FireCTSChange(state);
        break;
    case csDSR:
        NotifyLinksSignal(&TComLink::OnDSRChange, state);
        FireDSRChange(state);
        break;
    case csRLSD:
        NotifyLinksSignal(&TComLink::OnRLSDChange, state);
        FireRLSDChange(state);
        break;
    case csRing:
        break;
    }
}

void TCustomComPort::DispatchAfterOpen() {
    NotifyLinksSignal(&TComLink::OnConn, true);
    FireAfterOpen();
    ReportSignal(csCTS);
    ReportSignal(csDSR);
    ReportSignal(csRLSD);
}

void TCustomComPort::DispatchBeforeClose() {
    NotifyLinksSignal(&TComLink::OnCTSChange, false);
    NotifyLinksSignal(&TComLink::OnDSRChange, false);
    NotifyLinksSignal(&TComLink::OnRLSDChange, false);
    FireCTSChange(false);
    FireDSRChange(false);
    FireRLSDChange(false);
    FireBeforeClose();
}

void TCustomComPort::DispatchAfterClose() {
    NotifyLinksSignal(&TComLink::OnConn, false);
    FireAfterClose();
}

// ---- Event hooks: each calls its event when one is assigned ----

void TCustomComPort::FireAfterClose() {
    if (OnAfterClose)
        OnAfterClose(this);
}
void TCustomComPort::FireAfterOpen() {
    if (OnAfterOpen)
        OnAfterOpen(this);
}
void TCustomComPort::FireBeforeClose() {
    if (OnBeforeClose)
        OnBeforeClose(this);
}
void TCustomComPort::FireBeforeOpen() {
    if (OnBeforeOpen)
        OnBeforeOpen(this);
}
void TCustomComPort::FireRxChar(Integer count) {
    if (OnRxChar)
        OnRxChar(this, count);
}
void TCustomComPort::FireRxBuf(const void* buffer, Integer count) {
    if (OnRxBuf)
        OnRxBuf(this, buffer, count);
}
void TCustomComPort::FireTxEmpty() {
    if (OnTxEmpty)
        OnTxEmpty(this);
}
void TCustomComPort::FireBreak() {
    if (OnBreak)
        OnBreak(this);
}
void TCustomComPort::FireRing() {
    if (OnRing)
        OnRing(this);
}
void TCustomComPort::FireRxFlag() {
    if (OnRxFlag)
        OnRxFlag(this);
}
void TCustomComPort::FireCTSChange(bool onOff) {
    if (OnCTSChange)
        OnCTSChange(this, onOff);
}
void TCustomComPort::FireDSRChange(bool onOff) {
    if (OnDSRChange)
        OnDSRChange(this, onOff);
}
void TCustomComPort::FireError(TComErrors errors) {
    if (OnError)
        OnError(this, errors);
}
void TCustomComPort::FireRLSDChange(bool onOff) {
    if (OnRLSDChange)
        OnRLSDChange(this, onOff);
}
void TCustomComPort::FireRx80Full() {
    if (OnRx80Full)
        OnRx80Full(this);
}
