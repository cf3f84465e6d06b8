// The serial library's error codes and texts, EComPort, ReportError, the value texts of the port
// settings and the machine's port list.
#include "serial/CPort.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winerror.h"

namespace {

// Texts of the codes 1-24, as the operator sees them.
const Char* const kErrorTexts[] = {
    u"Unable to open com port",
    u"WriteFile function failed",
    u"ReadFile function failed",
    u"Invalid Async parameter",
    u"PurgeComm function failed",
    u"Unable to get async status",
    u"SetCommState function failed",
    u"SetCommTimeouts failed",
    u"SetupComm function failed",
    u"ClearCommError function failed",
    u"GetCommModemStatus function failed",
    u"EscapeCommFunction function failed",
    u"TransmitCommChar function failed",
    u"Cannot set property while connected",
    u"EnumPorts function failed",
    u"Failed to store settings",
    u"Failed to load settings",
    u"Link (un)registration failed",
    u"Cannot change led state if ComPort is selected",
    u"Cannot wait for event if event thread is created",
    u"WaitForEvent method failed",
    u"A component is linked to OnRxBuf event",
    u"Registry error",
    u"Port Not Open",
};

const Char* const kBaudRateTexts[] = {u"Custom", u"110",    u"300",    u"600",   u"1200",  u"2400",
                                      u"4800",   u"9600",   u"14400",  u"19200", u"38400", u"56000",
                                      u"57600",  u"115200", u"128000", u"256000"};
const Integer kBaudRates[] = {0,     110,   300,   600,   1200,  2400,   4800,   9600,
                              14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};
const Char* const kStopBitsTexts[] = {u"1", u"1.5", u"2"};
const Char* const kDataBitsTexts[] = {u"5", u"6", u"7", u"8"};
const Char* const kParityTexts[] = {u"None", u"Odd", u"Even", u"Mark", u"Space"};
const Char* const kFlowControlTexts[] = {u"Hardware", u"Software", u"None", u"Custom"};
const Char* const kDTRTexts[] = {u"Disable", u"Enable", u"Handshake"};
const Char* const kRTSTexts[] = {u"Disable", u"Enable", u"Handshake", u"Toggle"};

// The index of the first table text equal to text without case, or fallback.
template <std::size_t N> int TextIndex(const Char* const (&table)[N], const String& text, int fallback) {
    const String upper = UpperCase(text);
    for (std::size_t i = 0; i < N; ++i)
        if (UpperCase(table[i]) == upper)
            return static_cast<int>(i);
    return fallback;
}

template <std::size_t N> String TableText(const Char* const (&table)[N], int index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? String(table[index]) : String();
}

} // namespace

String ComErrorMessage(Integer code) {
    if (code < 1 || code > 24)
        return String();
    return kErrorTexts[code - 1];
}

EComPort::EComPort(Integer code, Integer winCode, const String& message)
    : Exception(message), FWinCode(winCode), FCode(code) {}

EComPort::EComPort(Integer code, Integer winCode)
    : EComPort(code, winCode, ComErrorMessage(code) + Format(u" (Error: %d)", {winCode})) {}

EComPort EComPort::CreateNoWinCode(Integer code) {
    return EComPort(code, -1, ComErrorMessage(code));
}

void TCustomComPort::ReportError(Integer code, Int64 winCode) {
    if (!OnException) {
        if (winCode > 0)
            throw EComPort(code, static_cast<Integer>(winCode));
        throw EComPort::CreateNoWinCode(code);
    }
    String winMessage;
    if (winCode > 0) {
        // The framework's operating-system error for the calling thread's last error.
        const DWORD lastError = GetLastError();
        winMessage = Format(Consts::SOSError, {static_cast<Integer>(lastError), SysErrorMessage(lastError)});
    }
    OnException(this, static_cast<TComExceptions>(code - 1), ComErrorMessage(code), winCode, winMessage);
}

String BaudRateToText(TBaudRate value) {
    return TableText(kBaudRateTexts, value);
}
String StopBitsToText(TStopBits value) {
    return TableText(kStopBitsTexts, value);
}
String DataBitsToText(TDataBits value) {
    return TableText(kDataBitsTexts, value);
}
String ParityToText(TParityBits value) {
    return TableText(kParityTexts, value);
}
String FlowControlToText(TFlowControl value) {
    return TableText(kFlowControlTexts, value);
}
String DTRControlToText(TDTRFlowControl value) {
    return TableText(kDTRTexts, value);
}
String RTSControlToText(TRTSFlowControl value) {
    return TableText(kRTSTexts, value);
}
String YesNoText(bool value) {
    return value ? u"Yes" : u"No";
}

String CharToText(Char value) {
    if (value >= 33 && value <= 127)
        return String(1, value);
    String text = IntToStr(static_cast<Integer>(value));
    text.insert(text.begin(), u'#');
    return text;
}

TBaudRate TextToBaudRate(const String& text) {
    return static_cast<TBaudRate>(TextIndex(kBaudRateTexts, text, br9600));
}
TStopBits TextToStopBits(const String& text) {
    return static_cast<TStopBits>(TextIndex(kStopBitsTexts, text, sbOneStopBit));
}
TDataBits TextToDataBits(const String& text) {
    return static_cast<TDataBits>(TextIndex(kDataBitsTexts, text, dbEight));
}
TParityBits TextToParity(const String& text) {
    return static_cast<TParityBits>(TextIndex(kParityTexts, text, prNone));
}
TFlowControl TextToFlowControl(const String& text) {
    return static_cast<TFlowControl>(TextIndex(kFlowControlTexts, text, fcCustom));
}
TDTRFlowControl TextToDTRControl(const String& text) {
    return static_cast<TDTRFlowControl>(TextIndex(kDTRTexts, text, dtrDisable));
}
TRTSFlowControl TextToRTSControl(const String& text) {
    return static_cast<TRTSFlowControl>(TextIndex(kRTSTexts, text, rtsDisable));
}
bool IsYesText(const String& text) {
    return UpperCase(text) == u"YES";
}

Char TextToChar(const String& text) {
    if (text.empty())
        return 0;
    if (text.size() >= 2 && text[0] == u'#') {
        Integer code = 0;
        if (!TryStrToInt(StringView(text).substr(1), code))
            return 0;
        return static_cast<Char>(code & 0xFF);
    }
    return text[0];
}

Integer BaudRateValue(TBaudRate value) {
    return value >= brCustom && value <= br256000 ? kBaudRates[value] : 0;
}

void ListSerialPortsFrom(HKEY root, const String& subKey, TStrings* target) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    TStringList ports;
    for (DWORD index = 0;; ++index) {
        Char name[256];
        Byte data[256];
        DWORD nameLength = 256;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break; // ERROR_NO_MORE_ITEMS, or any other failure ends the list too
        // The data is the port name up to its terminating null.
        String port;
        for (DWORD i = 0; i + 1 < dataSize; i += 2) {
            Char c = static_cast<Char>(data[i] | (data[i + 1] << 8));
            if (c == 0)
                break;
            port += c;
        }
        ports.Add(port);
    }
    RegCloseKey(key);
    ports.Sort();
    target->Assign(ports);
}

void ListSerialPorts(TStrings* target) {
    ListSerialPortsFrom(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\SERIALCOMM", target);
}
