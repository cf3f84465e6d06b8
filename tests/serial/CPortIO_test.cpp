// Reading and writing through the port on the fake device with the default and other timeouts (on
// the manual clock), code pages, line status, error flags, output lines, and operations on a closed
// port.
#include "platform/rtl/Clock.h"
#include "platform/win32/winerror.h"
#include "tests/serial/SerialTestSupport.h"

using namespace serial_testing;

namespace {

class ComIO : public FakePortTest {
protected:
    void SetUp() override {
        FakePortTest::SetUp();
        port->SetEvents(TComEvents()); // no thread: these tests read and write by hand
        port->Open();
    }
};

TEST_F(ComIO, WriteStrSendsOneByteForEachCharacter) {
    EXPECT_EQ(port->WriteStr(u"123|"), 4);
    EXPECT_EQ(fake->TakeSent(), (Bytes{0x31, 0x32, 0x33, 0x7C}));
    EXPECT_EQ(port->WriteStr(u"\u0141"), 1);
    EXPECT_EQ(fake->TakeSent(), (Bytes{0x41})) << "only the low byte";
    EXPECT_EQ(port->WriteStr(u""), 0);
    const Byte raw[] = {0, 0xFF, 0x80};
    EXPECT_EQ(port->Write(raw, 3), 3);
    EXPECT_EQ(fake->TakeSent(), (Bytes{0, 0xFF, 0x80}));
    port->TransmitChar(u'Z');
    EXPECT_EQ(fake->TakeSent(), (Bytes{'Z'}));
}

TEST_F(ComIO, DefaultTimeoutsReturnWhatIsWaitingAtOnce) {
    Byte buffer[40] = {};
    EXPECT_EQ(port->Read(buffer, 40), 0);
    fake->PushReceived(Bytes(12, 7));
    EXPECT_EQ(port->InputCount(), 12);
    EXPECT_EQ(port->Read(buffer, 40), 12);
    EXPECT_EQ(buffer[11], 7);
    EXPECT_EQ(buffer[12], 0);

    fake->PushReceived({0x41, 0x00, 0xC8});
    String text;
    EXPECT_EQ(port->ReadStr(text, 10), 3);
    EXPECT_EQ(text, (String{65, 0, 200}));
    EXPECT_EQ(port->ReadStr(text, 0), 0);
}

TEST_F(ComIO, ReadAndWriteTimeoutsRunOnTheClock) {
    port->Timeouts()->SetReadInterval(0);
    port->Timeouts()->SetReadTotalMultiplier(10);
    port->Timeouts()->SetReadTotalConstant(100); // 4 bytes: 140 ms
    Byte buffer[4] = {};
    PAsync async = NewAsyncRecord();
    EXPECT_EQ(port->ReadAsync(buffer, 4, async), 0);
    EXPECT_FALSE(port->IsAsyncCompleted(async));
    fake->PushReceived({'a', 'b'});
    Clock::Advance(139);
    EXPECT_FALSE(port->IsAsyncCompleted(async));
    Clock::Advance(1);
    EXPECT_TRUE(port->IsAsyncCompleted(async));
    EXPECT_EQ(port->WaitForAsync(async), 2);
    EXPECT_EQ(buffer[1], 'b');
    FreeAsyncRecord(async);
    EXPECT_EQ(async, nullptr);

    // A stalled line ends a write after 100 ms per byte plus 1000 ms (the defaults).
    fake->SetStalled(true);
    async = NewAsyncRecord();
    EXPECT_EQ(port->WriteStrAsync(u"AB", async), 0);
    EXPECT_EQ(port->OutputCount(), 2);
    Clock::Advance(1199);
    EXPECT_FALSE(port->IsAsyncCompleted(async));
    Clock::Advance(1);
    EXPECT_TRUE(port->IsAsyncCompleted(async));
    EXPECT_EQ(port->WaitForAsync(async), 0);
    FreeAsyncRecord(async);

    // Aborting ends what is pending; clearing drops what is queued.
    async = NewAsyncRecord();
    port->WriteStrAsync(u"CD", async);
    port->AbortAllAsync();
    try {
        port->WaitForAsync(async);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 2);
        EXPECT_EQ(e.WinCode(), static_cast<Integer>(ERROR_OPERATION_ABORTED));
    }
    FreeAsyncRecord(async);
    fake->PushReceived({1, 2, 3});
    port->ClearBuffer(true, false);
    EXPECT_EQ(port->InputCount(), 0);
}

TEST_F(ComIO, UnicodeTextGoesOutAsTheBytesOfTheCodePage) {
    EXPECT_EQ(port->WriteUnicodeString(u"A\u0141\u20AC"), 6);
    EXPECT_EQ(fake->TakeSent(), (Bytes{'A', 0xC5, 0x81, 0xE2, 0x82, 0xAC}));
    port->SetCodePage(1252);
    EXPECT_EQ(port->WriteUnicodeString(u"\u20AC\u00E9"), 2);
    EXPECT_EQ(fake->TakeSent(), (Bytes{0x80, 0xE9}));

    fake->PushReceived({0x80, 'x'});
    String text;
    EXPECT_EQ(port->ReadUnicodeString(text, 10), 2);
    EXPECT_EQ(text, u"\u20ACx");
    port->SetCodePage(0);
    fake->PushReceived({0xC5, 0x81, 'y'});
    EXPECT_EQ(port->ReadUnicodeString(text, 10), 2);
    EXPECT_EQ(text, u"\u0141y");
}

TEST_F(ComIO, LineStatusErrorsAndOutputLines) {
    fake->SetLines(backend::LineDsr | backend::LineRing);
    EXPECT_EQ(port->Signals(), (TComSignals{csDSR, csRing}));

    fake->PushError('p', backend::ReceiveError::Parity);
    EXPECT_TRUE(port->LastErrors().Empty()) << "parity is not checked";
    port->Parity()->SetCheck(true);
    fake->PushError('p', backend::ReceiveError::Parity);
    EXPECT_EQ(port->LastErrors(), (TComErrors{ceRxParity}));
    fake->PushError('f', backend::ReceiveError::Framing);
    fake->PushOverrun();
    fake->PushBreak();
    EXPECT_EQ(port->LastErrors(), (TComErrors{ceFrame, ceOverrun, ceBreak}));
    EXPECT_TRUE(port->LastErrors().Empty()) << "reading the errors clears them";

    port->SetDTR(true);
    port->SetRTS(true);
    port->SetBreak(true);
    EXPECT_TRUE(fake->Dtr());
    EXPECT_TRUE(fake->Rts());
    EXPECT_TRUE(fake->Break());
    port->SetDTR(false);
    port->SetRTS(false);
    port->SetBreak(false);
    EXPECT_FALSE(fake->Dtr() || fake->Rts() || fake->Break());

    port->SetXonXoff(false); // as if XOFF came: output holds
    EXPECT_TRUE(port->StateFlags().Contains(fXoffHold));
    port->SetXonXoff(true);
    EXPECT_FALSE(port->StateFlags().Contains(fXoffHold));

    port->FlowControl()->SetControlRTS(rtsHandshake);
    try {
        port->SetRTS(true);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 12);
        EXPECT_EQ(e.WinCode(), static_cast<Integer>(ERROR_INVALID_PARAMETER));
    }
}

struct ClosedCase {
    const char* name;
    std::function<void(TCustomComPort&)> call;
    Integer code;
    Integer winCode;
};

class ComClosed : public FakePortTest, public testing::WithParamInterface<ClosedCase> {};

TEST_P(ComClosed, ReportsItsError) {
    try {
        GetParam().call(*port);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), GetParam().code);
        EXPECT_EQ(e.WinCode(), GetParam().winCode);
    }
}

const Integer kBadHandle = static_cast<Integer>(ERROR_INVALID_HANDLE);

INSTANTIATE_TEST_SUITE_P(
    Cases, ComClosed,
    testing::Values(
        ClosedCase{"Read",
                   [](TCustomComPort& p) {
                       Byte b[4];
                       p.Read(b, 4);
                   },
                   24, -1},
        ClosedCase{"WriteStr", [](TCustomComPort& p) { p.WriteStr(u"x"); }, 24, -1},
        ClosedCase{"InputCount", [](TCustomComPort& p) { p.InputCount(); }, 10, kBadHandle},
        ClosedCase{"Signals", [](TCustomComPort& p) { p.Signals(); }, 11, kBadHandle},
        ClosedCase{"SetDTR", [](TCustomComPort& p) { p.SetDTR(true); }, 12, kBadHandle},
        ClosedCase{"TransmitChar", [](TCustomComPort& p) { p.TransmitChar(u'a'); }, 13, kBadHandle},
        ClosedCase{"ClearBuffer", [](TCustomComPort& p) { p.ClearBuffer(true, true); }, 5, kBadHandle},
        ClosedCase{"NoRecord",
                   [](TCustomComPort& p) {
                       PAsync none = nullptr;
                       p.WaitForAsync(none);
                   },
                   4, -1},
        ClosedCase{"NoRecordToCheck", [](TCustomComPort& p) { p.IsAsyncCompleted(nullptr); }, 4, -1}),
    [](const testing::TestParamInfo<ClosedCase>& info) { return std::string(info.param.name); });

TEST_F(FakePortTest, WithOnExceptionFailedIOReturnsNothingAndNeverHangs) {
    std::vector<TComExceptions> kinds;
    port->OnException = [&](TObject*, TComExceptions kind, const String&, Int64, const String&) {
        kinds.push_back(kind);
    };
    Byte buffer[4];
    EXPECT_EQ(port->Read(buffer, 4), 0);
    EXPECT_EQ(port->WriteStr(u"abc"), 0);
    EXPECT_EQ(kinds,
              (std::vector<TComExceptions>{CEPortNotOpen, CE_ReadFailed, CEPortNotOpen, CE_WriteFailed}));
}

} // namespace
