// The serial library's error codes and texts, error reporting with and without OnException, the
// value texts of the settings and the port list.
#include "platform/backend/devices.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winerror.h"
#include "tests/serial/SerialTestSupport.h"

using namespace serial_testing;

namespace {

const char* const kTexts[] = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
    "Port Not Open",
};

TEST(ComErrors, EveryCodeHasItsTextWithAndWithoutAWin32Code) {
    for (Integer code = 1; code <= 24; ++code) {
        SCOPED_TRACE(code);
        const std::string text = kTexts[code - 1];
        EComPort withCode(code, 2);
        EXPECT_EQ(StringToUtf8(withCode.Message()), text + " (Error: 2)");
        EXPECT_EQ(withCode.Code(), code);
        EXPECT_EQ(withCode.WinCode(), 2);
        EComPort without = EComPort::CreateNoWinCode(code);
        EXPECT_EQ(StringToUtf8(without.Message()), text);
        EXPECT_EQ(without.WinCode(), -1);
        EXPECT_EQ(StringToUtf8(GetEnumName(TypeInfoOf<TComExceptions>(), code - 1)).substr(0, 2), "CE");
    }
    EXPECT_EQ(GetEnumName(TypeInfoOf<TComExceptions>(), 0), u"CE_OpenFailed");
    EXPECT_EQ(GetEnumName(TypeInfoOf<TComExceptions>(), 23), u"CEPortNotOpen");
}

TEST(ComValueTexts, TextsReadBackIgnoringCaseAndUnknownTextsFallBack) {
    for (int v = brCustom; v <= br256000; ++v)
        EXPECT_EQ(TextToBaudRate(BaudRateToText(static_cast<TBaudRate>(v))), v);
    for (int v = prNone; v <= prSpace; ++v)
        EXPECT_EQ(TextToParity(UpperCase(ParityToText(static_cast<TParityBits>(v)))), v);
    for (int v = fcHardware; v <= fcCustom; ++v)
        EXPECT_EQ(TextToFlowControl(FlowControlToText(static_cast<TFlowControl>(v))), v);
    for (int v = rtsDisable; v <= rtsToggle; ++v)
        EXPECT_EQ(TextToRTSControl(RTSControlToText(static_cast<TRTSFlowControl>(v))), v);
    for (int v = dtrDisable; v <= dtrHandshake; ++v)
        EXPECT_EQ(TextToDTRControl(DTRControlToText(static_cast<TDTRFlowControl>(v))), v);

    EXPECT_EQ(BaudRateToText(brCustom), u"Custom");
    EXPECT_EQ(BaudRateToText(br256000), u"256000");
    EXPECT_EQ(StopBitsToText(sbOne5StopBits), u"1.5");
    EXPECT_EQ(DataBitsToText(dbFive), u"5");
    EXPECT_EQ(TextToBaudRate(u"115200"), br115200);
    EXPECT_EQ(TextToParity(u"even"), prEven);
    EXPECT_EQ(TextToStopBits(u"2"), sbTwoStopBits);
    EXPECT_EQ(TextToDataBits(u"7"), dbSeven);

    EXPECT_EQ(TextToBaudRate(u"921600"), br9600);
    EXPECT_EQ(TextToStopBits(u""), sbOneStopBit);
    EXPECT_EQ(TextToDataBits(u"9"), dbEight);
    EXPECT_EQ(TextToParity(u"?"), prNone);
    EXPECT_EQ(TextToFlowControl(u"xon"), fcCustom);
    EXPECT_EQ(TextToDTRControl(u""), dtrDisable);
    EXPECT_EQ(TextToRTSControl(u"on"), rtsDisable);

    EXPECT_TRUE(IsYesText(u"yEs"));
    EXPECT_FALSE(IsYesText(u"Y"));
    EXPECT_FALSE(IsYesText(u"True"));
    EXPECT_EQ(YesNoText(true), u"Yes");
    EXPECT_EQ(YesNoText(false), u"No");
}

TEST(ComValueTexts, CharactersAreThemselvesOrACode) {
    struct Case {
        Char value;
        const Char* text;
    };
    const Case toText[] = {{u'A', u"A"}, {33, u"!"}, {127, u"\x7F"}, {17, u"#17"},
                           {32, u"#32"}, {0, u"#0"}, {128, u"#128"}, {300, u"#300"}};
    for (const Case& c : toText)
        EXPECT_EQ(CharToText(c.value), c.text) << static_cast<int>(c.value);
    const Case fromText[] = {{0, u""}, {u'#', u"#"}, {17, u"#17"}, {44, u"#300"}, {0, u"#x"}, {u'A', u"AB"}};
    for (const Case& c : fromText)
        EXPECT_EQ(TextToChar(c.text), c.value) << StringToUtf8(c.text);
}

class ComReport : public FakePortTest {};

TEST_F(ComReport, AFailedOpenRaisesOrCallsOnExceptionAndStaysClosed) {
    port->SetPort(u"ZELMOR_NO_SUCH_PORT");
    recorder.Attach(*port);
    try {
        port->Open();
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 1);
        EXPECT_EQ(e.WinCode(), static_cast<Integer>(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(e.Message(), u"Unable to open com port (Error: 2)");
    }
    EXPECT_FALSE(port->Connected());

    struct Call {
        TComExceptions kind;
        String comportMessage;
        Int64 winError;
        String winMessage;
    };
    std::vector<Call> calls;
    port->OnException = [&](TObject* sender, TComExceptions kind, const String& comportMessage,
                            Int64 winError, const String& winMessage) {
        EXPECT_EQ(sender, port);
        calls.push_back({kind, comportMessage, winError, winMessage});
    };
    recorder.Clear();
    port->Open();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, CE_OpenFailed);
    EXPECT_EQ(calls[0].comportMessage, u"Unable to open com port");
    EXPECT_EQ(calls[0].winError, static_cast<Int64>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(calls[0].winMessage, Format(Consts::SOSError, {static_cast<Integer>(ERROR_FILE_NOT_FOUND),
                                                             SysErrorMessage(ERROR_FILE_NOT_FOUND)}));
    // The port did not open: no thread, no handle, no open events, and closing does nothing.
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(port->Handle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"BeforeOpen"}));
    port->Close();
    EXPECT_EQ(recorder.Events().size(), 1u);

    // Errors without a Win32 code give an empty system text.
    calls.clear();
    port->SetSyncMethod(smNone);
    port->SetPort(PortName());
    port->Open();
    port->SetSyncMethod(smWindowSync);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, CE_ConnChangeProp);
    EXPECT_EQ(calls[0].winError, 0);
    EXPECT_EQ(calls[0].winMessage, u"");
    EXPECT_EQ(port->SyncMethod(), smNone);
}

// SERIALCOMM's values carry the device names; the list is sorted as a string list sorts.
TEST(ComPortList, ListsTheDataOfTheKeySorted) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(u"Test\\PortList", true));
        reg.WriteString(u"\\Device\\Serial2", u"COM3");
        reg.WriteString(u"\\Device\\Serial0", u"COM1");
        reg.WriteString(u"\\Device\\ttyUSB10", u"ttyUSB10");
        reg.WriteString(u"\\Device\\ttyUSB2", u"ttyUSB2");
    }
    TStringList ports;
    ListSerialPortsFrom(HKEY_CURRENT_USER, u"Test\\PortList", &ports);
    ASSERT_EQ(ports.Count(), 4);
    EXPECT_EQ(ports.Strings(0), u"COM1");
    EXPECT_EQ(ports.Strings(1), u"COM3");
    EXPECT_EQ(ports.Strings(2), u"ttyUSB10");
    EXPECT_EQ(ports.Strings(3), u"ttyUSB2");

    TStringList untouched;
    untouched.Add(u"kept");
    ListSerialPortsFrom(HKEY_CURRENT_USER, u"Test\\NoSuchKey", &untouched);
    EXPECT_EQ(untouched.Count(), 1);

    // The machine's list holds its serial devices.
    TStringList machine;
    ListSerialPorts(&machine);
    TStringList expected;
    for (const std::string& device : backend::ListSerialDevices())
        expected.Add(Utf8ToString(device));
    expected.Sort();
    EXPECT_EQ(machine.Text(), expected.Text());
}

} // namespace
