// The serial port component: TCustomComPort and the published TComPort, their setting groups, the
// event thread that hands port events to the owner thread, overlapped I/O records, settings storage,
// EComPort with the library's error codes, the value texts and the machine's port list.
//
// Contents: enumerations and event types; EComPort and the value texts; the setting groups; TComLink;
// TAsync; TComThread; TCustomComPort; TComPort.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/Component.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/comm.h"
#include "platform/win32/registry.h"
#include "platform/win32/winuser.h"

class TRegistry;
class TCustomIniFile;
class TCustomComPort;

// ---- Enumerations (their names appear in stored form descriptions) ----
ZELMOR_ENUM(TBaudRate, brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
            br38400, br56000, br57600, br115200, br128000, br256000)
ZELMOR_ENUM(TStopBits, sbOneStopBit, sbOne5StopBits, sbTwoStopBits)
ZELMOR_ENUM(TDataBits, dbFive, dbSix, dbSeven, dbEight)
ZELMOR_ENUM(TParityBits, prNone, prOdd, prEven, prMark, prSpace)
ZELMOR_ENUM(TDTRFlowControl, dtrDisable, dtrEnable, dtrHandshake)
ZELMOR_ENUM(TRTSFlowControl, rtsDisable, rtsEnable, rtsHandshake, rtsToggle)
ZELMOR_ENUM(TFlowControl, fcHardware, fcSoftware, fcNone, fcCustom)
ZELMOR_ENUM(TComEvent, evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD,
            evRx80Full)
using TComEvents = TSet<TComEvent>;
ZELMOR_ENUM(TComSignal, csCTS, csDSR, csRing, csRLSD)
using TComSignals = TSet<TComSignal>;
ZELMOR_ENUM(TComError, ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull)
using TComErrors = TSet<TComError>;
ZELMOR_ENUM(TSyncMethod, smThreadSync, smWindowSync, smNone)
ZELMOR_ENUM(TStoreType, stRegistry, stIniFile)
ZELMOR_ENUM(TStoredProp, spBasic, spFlowControl, spBuffer, spTimeouts, spParity, spOthers)
using TStoredProps = TSet<TStoredProp>;
enum TComStateFlag { fCtlHold, fDsrHold, fRlsHold, fXoffHold, fXOffSent, fEof, fTxim };
using TComStateFlags = TSet<TComStateFlag>;
enum TOperationKind { okWrite, okRead };
// The library's error kinds; the error code is the ordinal + 1.
ZELMOR_ENUM(TComExceptions, CE_OpenFailed, CE_WriteFailed, CE_ReadFailed, CE_InvalidAsync, CE_PurgeFailed,
            CE_AsyncCheck, CE_SetStateFailed, CE_TimeoutsFailed, CE_SetupComFailed, CE_ClearComFailed,
            CE_ModemStatFailed, CE_EscapeComFailed, CE_TransmitFailed, CE_ConnChangeProp, CE_EnumPortsFailed,
            CE_StoreFailed, CE_LoadFailed, CE_RegFailed, CE_LedStateFailed, CE_ThreadCreated, CE_WaitFailed,
            CE_HasLink, CE_RegError, CEPortNotOpen)

// Error codes (ReportError, EComPort.Code).
inline constexpr Integer CError_OpenFailed = 1;
inline constexpr Integer CError_WriteFailed = 2;
inline constexpr Integer CError_ReadFailed = 3;
inline constexpr Integer CError_InvalidAsync = 4;
inline constexpr Integer CError_PurgeFailed = 5;
inline constexpr Integer CError_AsyncCheck = 6;
inline constexpr Integer CError_SetStateFailed = 7;
inline constexpr Integer CError_TimeoutsFailed = 8;
inline constexpr Integer CError_SetupComFailed = 9;
inline constexpr Integer CError_ClearComFailed = 10;
inline constexpr Integer CError_ModemStatFailed = 11;
inline constexpr Integer CError_EscapeComFailed = 12;
inline constexpr Integer CError_TransmitFailed = 13;
inline constexpr Integer CError_ConnChangeProp = 14;
inline constexpr Integer CError_EnumPortsFailed = 15;
inline constexpr Integer CError_StoreFailed = 16;
inline constexpr Integer CError_LoadFailed = 17;
inline constexpr Integer CError_RegFailed = 18;
inline constexpr Integer CError_LedStateFailed = 19;
inline constexpr Integer CError_ThreadCreated = 20;
inline constexpr Integer CError_WaitFailed = 21;
inline constexpr Integer CError_HasLink = 22;
inline constexpr Integer CError_RegError = 23;
inline constexpr Integer CError_PortNotOpen = 24;

// Window message of the hidden window (smWindowSync): wParam is one EV_ constant.
inline constexpr UINT CM_COMPORT_EVENT = 0x0400 + 1;

// ---- Event types (the sender first) ----
using TRxCharEvent = std::function<void(TObject* Sender, Integer Count)>;
using TRxBufEvent = std::function<void(TObject* Sender, const void* Buffer, Integer Count)>;
using TComSignalEvent = std::function<void(TObject* Sender, bool OnOff)>;
using TComErrorEvent = std::function<void(TObject* Sender, TComErrors Errors)>;
using TComExceptionEvent =
    std::function<void(TObject* Sender, TComExceptions TComException, const String& ComportMessage,
                       Int64 WinError, const String& WinMessage)>;

// ---- Errors and value texts ----

// The text of an error code 1-24; empty for other codes.
String ComErrorMessage(Integer code);

class EComPort : public Exception {
public:
    // Message: the code's text followed by " (Error: %d)" with winCode.
    EComPort(Integer code, Integer winCode);
    // Message: the code's text alone; WinCode -1.
    static EComPort CreateNoWinCode(Integer code);
    String ClassName() const override { return u"EComPort"; }
    Integer WinCode() const { return FWinCode; }
    Integer Code() const { return FCode; }

private:
    EComPort(Integer code, Integer winCode, const String& message);
    Integer FWinCode;
    Integer FCode;
};

String BaudRateToText(TBaudRate value);
String StopBitsToText(TStopBits value);
String DataBitsToText(TDataBits value);
String ParityToText(TParityBits value);
String FlowControlToText(TFlowControl value);
String DTRControlToText(TDTRFlowControl value);
String RTSControlToText(TRTSFlowControl value);
String YesNoText(bool value);
// Codes 33-127 as the character itself, any other as "#" and the decimal code.
String CharToText(Char value);
// Case-insensitive; an unknown text gives br9600, sbOneStopBit, dbEight, prNone, fcCustom, dtrDisable,
// rtsDisable.
TBaudRate TextToBaudRate(const String& text);
TStopBits TextToStopBits(const String& text);
TDataBits TextToDataBits(const String& text);
TParityBits TextToParity(const String& text);
TFlowControl TextToFlowControl(const String& text);
TDTRFlowControl TextToDTRControl(const String& text);
TRTSFlowControl TextToRTSControl(const String& text);
// True only for "YES" in any case.
bool IsYesText(const String& text);
// "" gives #0; "#" and a decimal number gives that code's low 8 bits (#0 when not a number); any other
// text its first character.
Char TextToChar(const String& text);
// The rate of a standard baud rate (110 ... 256000); 0 for brCustom.
Integer BaudRateValue(TBaudRate value);

// The machine's serial ports (HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM) sorted in the string
// list's default order; the target is left alone when the key cannot be read.
void ListSerialPorts(TStrings* target);
// The same from any key whose values' data are port names (the settings of a test).
void ListSerialPortsFrom(HKEY root, const String& subKey, TStrings* target);

// ---- Setting groups ----

class TComParity : public TPersistent {
    DECLARE_CLASS(TComParity, TPersistent)

public:
    void Assign(TPersistent* source) override;
    void AttachPort(TCustomComPort* port) { FComPort = port; }
    TParityBits Bits() const { return FBits; }
    void SetBits(TParityBits value);
    bool Check() const { return FCheck; }
    void SetCheck(bool value);
    bool Replace() const { return FReplace; }
    void SetReplace(bool value);
    Char ReplaceChar() const { return FReplaceChar; }
    void SetReplaceChar(Char value);

private:
    void Changed();
    TCustomComPort* FComPort = nullptr;
    TParityBits FBits = prNone;
    bool FCheck = false;
    bool FReplace = false;
    Char FReplaceChar = 0;
};

class TComFlowControl : public TPersistent {
    DECLARE_CLASS(TComFlowControl, TPersistent)

public:
    void Assign(TPersistent* source) override;
    void AttachPort(TCustomComPort* port) { FComPort = port; }
    bool OutCTSFlow() const { return FOutCTSFlow; }
    void SetOutCTSFlow(bool value);
    bool OutDSRFlow() const { return FOutDSRFlow; }
    void SetOutDSRFlow(bool value);
    TDTRFlowControl ControlDTR() const { return FControlDTR; }
    void SetControlDTR(TDTRFlowControl value);
    TRTSFlowControl ControlRTS() const { return FControlRTS; }
    void SetControlRTS(TRTSFlowControl value);
    bool XonXoffOut() const { return FXonXoffOut; }
    void SetXonXoffOut(bool value);
    bool XonXoffIn() const { return FXonXoffIn; }
    void SetXonXoffIn(bool value);
    bool DSRSensitivity() const { return FDSRSensitivity; }
    void SetDSRSensitivity(bool value);
    bool TxContinueOnXoff() const { return FTxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value);
    Char XonChar() const { return FXonChar; }
    void SetXonChar(Char value);
    Char XoffChar() const { return FXoffChar; }
    void SetXoffChar(Char value);
    // Derived from ControlRTS, OutCTSFlow and the Xon/Xoff flags; see the .cpp.
    TFlowControl FlowControl() const;
    void SetFlowControl(TFlowControl value);

private:
    void Changed();
    TCustomComPort* FComPort = nullptr;
    bool FOutCTSFlow = false;
    bool FOutDSRFlow = false;
    TDTRFlowControl FControlDTR = dtrDisable;
    TRTSFlowControl FControlRTS = rtsDisable;
    bool FXonXoffOut = false;
    bool FXonXoffIn = false;
    bool FDSRSensitivity = false;
    bool FTxContinueOnXoff = false;
    Char FXonChar = 17;
    Char FXoffChar = 19;
};

// Milliseconds; -1 stands for MAXDWORD.
class TComTimeouts : public TPersistent {
    DECLARE_CLASS(TComTimeouts, TPersistent)

public:
    void Assign(TPersistent* source) override;
    void AttachPort(TCustomComPort* port) { FComPort = port; }
    Integer ReadInterval() const { return FReadInterval; }
    void SetReadInterval(Integer value);
    Integer ReadTotalMultiplier() const { return FReadTotalMultiplier; }
    void SetReadTotalMultiplier(Integer value);
    Integer ReadTotalConstant() const { return FReadTotalConstant; }
    void SetReadTotalConstant(Integer value);
    Integer WriteTotalMultiplier() const { return FWriteTotalMultiplier; }
    void SetWriteTotalMultiplier(Integer value);
    Integer WriteTotalConstant() const { return FWriteTotalConstant; }
    void SetWriteTotalConstant(Integer value);

private:
    void Changed();
    TCustomComPort* FComPort = nullptr;
    Integer FReadInterval = -1;
    Integer FReadTotalMultiplier = 0;
    Integer FReadTotalConstant = 0;
    Integer FWriteTotalMultiplier = 100;
    Integer FWriteTotalConstant = 1000;
};

// Driver queue sizes in bytes; a positive odd size is stored one less.
class TComBuffer : public TPersistent {
    DECLARE_CLASS(TComBuffer, TPersistent)

public:
    void Assign(TPersistent* source) override;
    void AttachPort(TCustomComPort* port) { FComPort = port; }
    Integer InputSize() const { return FInputSize; }
    void SetInputSize(Integer value);
    Integer OutputSize() const { return FOutputSize; }
    void SetOutputSize(Integer value);

private:
    void Changed();
    TCustomComPort* FComPort = nullptr;
    Integer FInputSize = 1024;
    Integer FOutputSize = 1024;
};

// Lets another object follow a port's activity (RegisterLink).
class TComLink : public TObject {
public:
    TComSignalEvent OnConn;
    TRxBufEvent OnRxBuf;
    TRxBufEvent OnTxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnRxFlag;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TNotifyEvent OnRing;
    TComSignalEvent OnTx;
    TComSignalEvent OnRx;
};

// One overlapped operation.
struct TAsync {
    OVERLAPPED Overlapped{}; // its event: manual reset, created signalled
    TOperationKind Kind = okRead;
    std::vector<Byte> Data; // copy of the bytes of a write; empty for a read
    Integer Size = 0;       // bytes in Data
    bool Started = false;   // the Win32 call was accepted (completed or pending)
};
using PAsync = TAsync*;

PAsync NewAsyncRecord();
// Closes the event, frees the record and sets the pointer to null.
void FreeAsyncRecord(PAsync& async);
void FillAsyncRecord(PAsync async, TOperationKind kind, const void* buffer, Integer count);

// The Win32 event mask of a set of events, and back (exact inverses).
DWORD ComEventsToMask(TComEvents events);
TComEvents MaskToComEvents(DWORD mask);

// ---- The event thread ----

class TComThread : public TThread {
public:
    // Starts once construction is complete (create it through CreateInstance).
    explicit TComThread(TCustomComPort* comPort);
    ~TComThread() override;
    // Stops the thread and waits for it.
    void BeforeDestruction() override;
    // Leaves the thread to end and free itself, without waiting: for Close called inside the thread's
    // own delivery, which the thread waits for. Nothing of the port is touched afterwards.
    void Abandon();
    // Whether the calling thread may not wait for this thread: it runs the thread's delivery.
    bool DeliveringOnCaller() const;

protected:
    void Execute() override;

private:
    void SignalStop();
    void DeliverEvents();
    void SendEventMessages();
    void RunEvents();

    std::atomic<TCustomComPort*> FComPort;
    HANDLE FStopEvent = nullptr;
    TComEvents FEvents;
    // Fixed for the thread's life, so that an abandoned thread never reads the port.
    HANDLE FHandle;
    TSyncMethod FSyncMethod;
    HWND FWindow;
    bool FInRunEvents = false; // set on the thread that runs RunEvents
};

// ---- The port component ----

class TCustomComPort : public TComponent {
    DECLARE_CLASS(TCustomComPort, TComponent)

public:
    explicit TCustomComPort(TComponent* owner);
    ~TCustomComPort() override;

    // Open does nothing on an open port; a device that cannot be opened, or settings it refuses, leave
    // the port closed. Close stops the event thread (from inside the thread's own delivery it lets
    // the thread end by itself) and releases the device; a purge that fails on a lost device is
    // reported after the port is closed.
    void Open();
    void Close();
    void BeginUpdate();
    void EndUpdate();
    void RegisterLink(TComLink* comLink);
    void UnRegisterLink(TComLink* comLink);
    void StoreSettings(TStoreType storeType, const String& storeTo);
    void LoadSettings(TStoreType storeType, const String& loadFrom);
    // Runs the modal port-setup dialog (RunComSetupDialog).
    void ShowSetupDialog();

    // I/O and line status (CPortIO.cpp).
    Integer WriteAsync(const void* buffer, Integer count, PAsync& asyncPtr);
    Integer Write(const void* buffer, Integer count);
    Integer WriteStrAsync(const String& str, PAsync& asyncPtr);
    Integer WriteStr(const String& str);
    Integer WriteUnicodeString(const String& str);
    Integer ReadAsync(void* buffer, Integer count, PAsync& asyncPtr);
    Integer Read(void* buffer, Integer count);
    Integer ReadStrAsync(AnsiString& str, Integer count, PAsync& asyncPtr);
    Integer ReadStr(String& str, Integer count);
    Integer ReadUnicodeString(String& str, Integer count);
    Integer WaitForAsync(PAsync& asyncPtr);
    bool IsAsyncCompleted(PAsync asyncPtr);
    void WaitForEvent(TComEvents& events, HANDLE stopEvent, Integer timeout);
    void AbortAllAsync();
    void ClearBuffer(bool input, bool output);
    Integer InputCount();
    Integer OutputCount();
    TComSignals Signals();
    TComStateFlags StateFlags();
    TComErrors LastErrors();
    void SetBreak(bool onOff);
    void SetDTR(bool onOff);
    void SetRTS(bool onOff);
    void SetXonXoff(bool onOff);
    void TransmitChar(Char ch);

    // Properties.
    bool Connected() const { return FConnected; }
    void SetConnected(bool value);
    TBaudRate BaudRate() const { return FBaudRate; }
    void SetBaudRate(TBaudRate value);
    Integer CustomBaudRate() const { return FCustomBaudRate; }
    void SetCustomBaudRate(Integer value);
    const String& Port() const { return FPort; }
    void SetPort(const String& value);
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return FDataBits; }
    void SetDataBits(TDataBits value);
    bool DiscardNull() const { return FDiscardNull; }
    void SetDiscardNull(bool value);
    Char EventChar() const { return FEventChar; }
    void SetEventChar(Char value);
    TComEvents Events() const { return FEvents; }
    void SetEvents(TComEvents value) { FEvents = value; }
    TComBuffer* Buffer() const { return FBuffer.get(); }
    void SetBuffer(TComBuffer* value);
    TComParity* Parity() const { return FParity.get(); }
    void SetParity(TComParity* value);
    TComTimeouts* Timeouts() const { return FTimeouts.get(); }
    void SetTimeouts(TComTimeouts* value);
    TComFlowControl* FlowControl() const { return FFlowControl.get(); }
    void SetFlowControl(TComFlowControl* value);
    TSyncMethod SyncMethod() const { return FSyncMethod; }
    void SetSyncMethod(TSyncMethod value);
    TThreadPriority EventThreadPriority() const { return FEventThreadPriority; }
    void SetEventThreadPriority(TThreadPriority value);
    TStoredProps StoredProps() const { return FStoredProps; }
    void SetStoredProps(TStoredProps value) { FStoredProps = value; }
    bool TriggersOnRxChar() const { return FTriggersOnRxChar && !FHasLink; }
    void SetTriggersOnRxChar(bool value);
    Integer CodePage() const { return FCodePage; }
    void SetCodePage(Integer value) { FCodePage = value; }
    HANDLE Handle() const { return FHandle; }

    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TNotifyEvent OnRxFlag;
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TNotifyEvent OnRx80Full;
    TComExceptionEvent OnException;

    // Called by the setting groups when a value changed.
    virtual void ApplyLineSettings();
    virtual void ApplyTimeoutSettings();
    virtual void ApplyBufferSettings();

    // Every failure goes through here: EComPort, or OnException when assigned (then nothing is raised).
    // winCode 0 or below means none.
    void ReportError(Integer code, Int64 winCode);

protected:
    void Loaded() override;

    virtual void SaveToRegistry(TRegistry& reg);
    virtual void SaveToIniFile(TCustomIniFile& iniFile);
    virtual void ReadFromRegistry(TRegistry& reg);
    virtual void ReadFromIniFile(TCustomIniFile& iniFile);
    virtual void OpenPortHandle();
    virtual void ClosePortHandle();
    virtual void ApplyPortSettings();

    virtual void FireAfterClose();
    virtual void FireAfterOpen();
    virtual void FireBeforeClose();
    virtual void FireBeforeOpen();
    virtual void FireRxChar(Integer count);
    virtual void FireRxBuf(const void* buffer, Integer count);
    virtual void FireTxEmpty();
    virtual void FireBreak();
    virtual void FireRing();
    virtual void FireRxFlag();
    virtual void FireCTSChange(bool onOff);
    virtual void FireDSRChange(bool onOff);
    virtual void FireError(TComErrors errors);
    virtual void FireRLSDChange(bool onOff);
    virtual void FireRx80Full();

private:
    friend class TComThread;

    // Event delivery (CPortThread.cpp).
    LRESULT WindowMethod(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT PortWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CreatePortWindow();
    void DestroyPortWindow();
    void DispatchRxChar();
    void DispatchTxEmpty();
    void DispatchBreak();
    void DispatchRing();
    void DispatchCTSChange();
    void DispatchDSRChange();
    void DispatchRxFlag();
    void DispatchRLSDChange();
    void DispatchError();
    void DispatchRx80Full();
    void DispatchEvent(DWORD evConstant);
    void DispatchAfterOpen();
    void DispatchBeforeClose();
    void DispatchAfterClose();
    void NotifyLinksSignal(TComSignalEvent TComLink::*event, bool state);
    void NotifyLinksEvent(TNotifyEvent TComLink::*event);
    void NotifyLinksTxBuf(const void* buffer, Integer count);
    bool LinkWantsRxBuf() const;
    void ReportSignal(TComSignal signal);

    bool CanApply() const;
    bool DesigningOrLoading() const;
    Integer AsyncFailCode(PAsync async) const;
    // Reads count bytes into bytes and waits for them; gives how many came.
    Integer ReadBytes(AnsiString& bytes, Integer count);
    // Reads and clears the device's error flags, reporting a failure; gives its status (queues, holds).
    COMSTAT ClearErrors(DWORD& errors);
    // Sets (on) or clears (off) a line through the device's escape function, reporting a failure.
    void EscapeLine(bool onOff, DWORD on, DWORD off);

    std::atomic<TComThread*> FEventThread{nullptr};
    bool FThreadCreated = false;
    HANDLE FHandle = INVALID_HANDLE_VALUE;
    HWND FWindow = nullptr;
    Integer FUpdateCount = 0;
    std::vector<TComLink*> FLinks;
    bool FTriggersOnRxChar = true;
    TThreadPriority FEventThreadPriority = tpNormal;
    bool FHasLink = false;
    bool FConnected = false;
    bool FOpening = false; // Open runs: a nested Open does nothing
    std::atomic<bool> FClosing{
        false}; // Close runs: no more events are dispatched, a nested Close does nothing
    TBaudRate FBaudRate = br9600;
    Integer FCustomBaudRate = 9600;
    String FPort = u"COM1";
    TStopBits FStopBits = sbOneStopBit;
    TDataBits FDataBits = dbEight;
    bool FDiscardNull = false;
    Char FEventChar = 0;
    TComEvents FEvents{evRxChar, evTxEmpty, evRxFlag, evRing, evBreak,
                       evCTS,    evDSR,     evError,  evRLSD, evRx80Full};
    std::unique_ptr<TComBuffer> FBuffer;
    std::unique_ptr<TComParity> FParity;
    std::unique_ptr<TComTimeouts> FTimeouts;
    std::unique_ptr<TComFlowControl> FFlowControl;
    TSyncMethod FSyncMethod = smThreadSync;
    TStoredProps FStoredProps{spBasic};
    Integer FCodePage = 0;
};

// The port with its properties published, for form descriptions.
class TComPort : public TCustomComPort {
    DECLARE_CLASS(TComPort, TCustomComPort)

public:
    using TCustomComPort::TCustomComPort;
};
