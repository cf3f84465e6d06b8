// The port component on a fake device: opening and closing with their events, the settings it
// applies, the update bracket, the setting groups, properties refused while open, and a port read
// from a form description.
#include "platform/framework/FormResources.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/sync.h"
#include "tests/serial/SerialTestSupport.h"

using namespace serial_testing;

namespace {

class ComPort : public FakePortTest {
protected:
    DCB State() {
        DCB dcb{};
        EXPECT_TRUE(GetCommState(port->Handle(), &dcb));
        return dcb;
    }
};

TEST_F(ComPort, OpensAppliesEverySettingAndClosesAgain) {
    port->SetBaudRate(br19200);
    port->SetDataBits(dbSeven);
    port->SetStopBits(sbTwoStopBits);
    port->Parity()->SetBits(prEven);
    port->Parity()->SetCheck(true);
    port->Parity()->SetReplace(true);
    port->Parity()->SetReplaceChar(u'?');
    port->FlowControl()->SetFlowControl(fcHardware);
    port->FlowControl()->SetControlDTR(dtrEnable);
    port->SetEventChar(u'\n');
    port->SetDiscardNull(true);
    port->Buffer()->SetInputSize(2048);
    port->Timeouts()->SetReadTotalConstant(70);
    fake->SetLines(backend::LineCts | backend::LineRlsd);
    recorder.Attach(*port);

    port->Open();
    ASSERT_TRUE(port->Connected());
    EXPECT_TRUE(fake->IsOpen());
    EXPECT_EQ(recorder.Events(),
              (std::vector<std::string>{"BeforeOpen", "AfterOpen", "CTS on", "DSR off", "RLSD on"}));

    const backend::SerialConfig config = fake->Config();
    EXPECT_EQ(config.baudRate, 19200u);
    EXPECT_EQ(config.dataBits, 7);
    EXPECT_EQ(config.stopBits, backend::SerialStopBits::Two);
    EXPECT_EQ(config.parity, backend::SerialParity::Even);
    EXPECT_TRUE(config.parityCheck);
    EXPECT_TRUE(config.ctsFlow);
    EXPECT_TRUE(fake->Dtr());

    const DCB dcb = State();
    EXPECT_EQ(dcb.fBinary, 1u);
    EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
    EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(dcb.fErrorChar, 1u);
    EXPECT_EQ(dcb.ErrorChar, '?');
    EXPECT_EQ(dcb.fNull, 1u);
    EXPECT_EQ(dcb.fAbortOnError, 0u);
    EXPECT_EQ(dcb.XonLim, 512);
    EXPECT_EQ(dcb.XoffLim, 512);
    EXPECT_EQ(dcb.EvtChar, '\n');
    EXPECT_EQ(dcb.XonChar, 17);
    EXPECT_EQ(dcb.XoffChar, 19);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(GetCommTimeouts(port->Handle(), &timeouts));
    EXPECT_EQ(timeouts.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 70u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 100u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 1000u);

    // Opening an open port and closing a closed one do nothing.
    recorder.Clear();
    port->Open();
    EXPECT_TRUE(recorder.Events().empty());
    port->SetConnected(false);
    EXPECT_EQ(recorder.Events(),
              (std::vector<std::string>{"CTS off", "DSR off", "RLSD off", "BeforeClose", "AfterClose"}));
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(port->Handle(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(fake->IsOpen());
    recorder.Clear();
    port->Close();
    EXPECT_TRUE(recorder.Events().empty());

    // Opening from OnBeforeOpen, while the port opens, does nothing more.
    port->OnBeforeOpen = [&](TObject*) {
        recorder.Add("BeforeOpen");
        port->Open();
    };
    port->Open();
    port->Close();
    EXPECT_EQ(recorder.Events(),
              (std::vector<std::string>{"BeforeOpen", "AfterOpen", "CTS on", "DSR off", "RLSD on", "CTS off",
                                        "DSR off", "RLSD off", "BeforeClose", "AfterClose"}));
    recorder.Attach(*port);

    // A custom rate goes to the device as it is.
    port->SetBaudRate(brCustom);
    port->SetCustomBaudRate(250000);
    port->SetConnected(true);
    EXPECT_EQ(fake->Config().baudRate, 250000u);
}

TEST_F(ComPort, SettingsChangedInAnUpdateBracketApplyOnceAtTheOuterEnd) {
    port->Open();
    port->BeginUpdate();
    port->BeginUpdate();
    port->SetBaudRate(br57600);
    port->Parity()->SetBits(prOdd);
    port->EndUpdate();
    EXPECT_EQ(fake->Config().baudRate, 9600u) << "still inside the outer bracket";
    port->EndUpdate();
    EXPECT_EQ(fake->Config().baudRate, 57600u);
    EXPECT_EQ(fake->Config().parity, backend::SerialParity::Odd);
    port->EndUpdate(); // an unmatched end does nothing

    // Outside a bracket each change applies at once.
    port->SetStopBits(sbTwoStopBits);
    EXPECT_EQ(fake->Config().stopBits, backend::SerialStopBits::Two);
    port->Buffer()->SetInputSize(1025);
    EXPECT_EQ(port->Buffer()->InputSize(), 1024);
    port->Buffer()->SetInputSize(-3);
    EXPECT_EQ(port->Buffer()->InputSize(), -3);
    port->Buffer()->SetInputSize(1025);
    port->SetDataBits(dbSeven);
    EXPECT_EQ(State().XonLim, 256);
}

TEST_F(ComPort, AFailingSettingLeavesTheOpenPortClosed) {
    port->FlowControl()->SetXonXoffOut(true);
    port->FlowControl()->SetXonChar(u'A');
    port->FlowControl()->SetXoffChar(u'A'); // refused by the device
    EXPECT_THROW(port->Open(), EComPort);
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(fake->IsOpen());
    try {
        port->Open();
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 7);
        EXPECT_EQ(e.WinCode(), static_cast<Integer>(ERROR_INVALID_PARAMETER));
    }
}

TEST(ComFlowControl, DerivedValueFollowsRtsCtsAndXonXoff) {
    TComFlowControl flow;
    EXPECT_EQ(flow.FlowControl(), fcNone);
    flow.SetFlowControl(fcHardware);
    EXPECT_EQ(flow.ControlRTS(), rtsHandshake);
    EXPECT_TRUE(flow.OutCTSFlow());
    EXPECT_FALSE(flow.XonXoffIn() || flow.XonXoffOut());
    flow.SetControlDTR(dtrEnable);
    flow.SetOutDSRFlow(true);
    EXPECT_EQ(flow.FlowControl(), fcHardware) << "DTR and DSR take no part";
    flow.SetFlowControl(fcSoftware);
    EXPECT_EQ(flow.ControlRTS(), rtsDisable);
    EXPECT_FALSE(flow.OutCTSFlow());
    EXPECT_TRUE(flow.XonXoffIn() && flow.XonXoffOut());
    EXPECT_EQ(flow.FlowControl(), fcSoftware);
    flow.SetXonXoffIn(false);
    EXPECT_EQ(flow.FlowControl(), fcCustom);
    flow.SetFlowControl(fcCustom);
    EXPECT_FALSE(flow.XonXoffIn());
    EXPECT_TRUE(flow.XonXoffOut()) << "custom changes nothing";
    flow.SetFlowControl(fcNone);
    EXPECT_EQ(flow.FlowControl(), fcNone);
    flow.SetControlRTS(rtsEnable);
    EXPECT_EQ(flow.FlowControl(), fcCustom);

    TComFlowControl copy;
    flow.SetXonChar(u'Q');
    copy.Assign(&flow);
    EXPECT_EQ(copy.XonChar(), u'Q');
    EXPECT_EQ(copy.ControlRTS(), rtsEnable);
    EXPECT_EQ(copy.ControlDTR(), dtrEnable);
}

TEST_F(ComPort, PortNameChangeReopensAndAFailureLeavesItClosed) {
    auto second = backend::RegisterFakeSerialPort(FName + "_2");
    port->Open();
    port->SetPort(PortName() + u"_2");
    EXPECT_TRUE(port->Connected());
    EXPECT_FALSE(fake->IsOpen());
    EXPECT_TRUE(second->IsOpen());

    try {
        port->SetPort(u"ZELMOR_NO_SUCH_PORT");
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 1);
    }
    EXPECT_FALSE(port->Connected());
    EXPECT_FALSE(second->IsOpen());
    backend::UnregisterFakeSerialPort(FName + "_2");
}

TEST_F(ComPort, ThreadPropertiesAreRefusedWhileOpenAndEventsOnlyAtOpen) {
    port->SetSyncMethod(smNone);
    port->SetEventThreadPriority(tpHigher);
    port->Open();
    try {
        port->SetSyncMethod(smWindowSync);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 14);
        EXPECT_EQ(e.Message(), u"Cannot set property while connected");
    }
    EXPECT_THROW(port->SetEventThreadPriority(tpLower), EComPort);
    port->SetSyncMethod(smNone); // unchanged: no error
    EXPECT_EQ(port->SyncMethod(), smNone);
    EXPECT_EQ(port->EventThreadPriority(), tpHigher);

    // With the thread running, WaitForEvent refuses before touching the device.
    TComEvents events{evRxChar};
    try {
        port->WaitForEvent(events, nullptr, 0);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 20);
        EXPECT_EQ(e.WinCode(), -1);
    }
    port->Close();

    // Without events the port opens without a thread, and WaitForEvent works on it.
    port->SetEvents(TComEvents());
    port->Open();
    HANDLE stop = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    events = {evRxChar};
    port->WaitForEvent(events, stop, 1000);
    EXPECT_TRUE(events.Empty()) << "the stop event ends the wait";
    CloseHandle(stop);
}

TEST_F(ComPort, LinksRegisterOnceAndTakeOverTheReceivedBytes) {
    TComLink link;
    port->RegisterLink(&link);
    EXPECT_THROW(port->RegisterLink(&link), EComPort);
    EXPECT_TRUE(port->TriggersOnRxChar());
    link.OnRxBuf = [](TObject*, const void*, Integer) {};
    port->UnRegisterLink(&link);
    port->RegisterLink(&link);
    EXPECT_FALSE(port->TriggersOnRxChar()) << "a link reads the bytes";
    try {
        port->SetTriggersOnRxChar(false);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 22);
    }
    port->UnRegisterLink(&link);
    try {
        port->UnRegisterLink(&link);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 18);
    }
    EXPECT_TRUE(port->TriggersOnRxChar());
}

TEST_F(ComPort, AFormDescriptionCarriesAConfiguredPortAndOpensIt) {
    const std::string text = "object ComPort1: TComPort\n"
                             "  BaudRate = br115200\n"
                             "  Port = '" +
                             FName +
                             "'\n"
                             "  Parity.Bits = prOdd\n"
                             "  StopBits = sbTwoStopBits\n"
                             "  DataBits = dbSeven\n"
                             "  Events = [evRxChar, evError]\n"
                             "  Buffer.InputSize = 4096\n"
                             "  FlowControl.ControlRTS = rtsEnable\n"
                             "  Timeouts.ReadTotalConstant = 25\n"
                             "  StoredProps = [spBasic, spTimeouts]\n"
                             "  Connected = True\n"
                             "end\n";
    ReadComponentText(text, port);
    EXPECT_TRUE(port->Connected());
    EXPECT_EQ(fake->Config().baudRate, 115200u);
    EXPECT_EQ(fake->Config().parity, backend::SerialParity::Odd);
    EXPECT_EQ(port->Events(), (TComEvents{evRxChar, evError}));
    EXPECT_EQ(port->Buffer()->InputSize(), 4096);
    EXPECT_EQ(port->FlowControl()->ControlRTS(), rtsEnable);
    EXPECT_EQ(port->Timeouts()->ReadTotalConstant(), 25);
    EXPECT_EQ(port->StoredProps(), (TStoredProps{spBasic, spTimeouts}));
    EXPECT_EQ(GetEnumProp(port, u"SyncMethod"), u"smThreadSync");
    EXPECT_FALSE(port->ComponentStyle().Contains(csInheritable));

    // A stored open that fails goes to the application's handler, not to the reader.
    TComPort other(nullptr);
    std::vector<String> handled;
    SetApplicationHandleException([&](TObject* sender) {
        EXPECT_EQ(sender, &other);
        try {
            throw;
        } catch (const Exception& e) {
            handled.push_back(e.Message());
        }
    });
    ReadComponentText("object ComPort2: TComPort\n  Port = 'ZELMOR_NO_SUCH_PORT'\n  Connected = True\nend\n",
                      &other);
    SetApplicationHandleException(nullptr);
    EXPECT_EQ(handled, (std::vector<String>{u"Unable to open com port (Error: 2)"}));
    EXPECT_FALSE(other.Connected());
}

} // namespace
