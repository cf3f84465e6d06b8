// The comm API on the fake device (events, errors, timeouts on the manual clock, lines, loss) and on a
// pseudo-terminal (settings, bytes both ways, back-pressure, the far end closing).
#include <atomic>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

#include "platform/backend/file.h"
#include "platform/backend/serialdevice.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/comm.h"
#include "platform/win32/sync.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool Signalled(HANDLE event) {
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

HANDLE OpenPort(const String& name, DWORD access = GENERIC_READ | GENERIC_WRITE) {
    return CreateFileW(name.c_str(), access, 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
}

// One open port on a fake device that the test drives, with one overlapped record for the I/O under
// test and one for event waits.
class CommFake : public testing::Test {
protected:
    void SetUp() override {
        FName = std::string("FAKE_") + testing::UnitTest::GetInstance()->current_test_info()->name();
        fake = backend::RegisterFakeSerialPort(FName);
        port = OpenPort(Path());
        ASSERT_NE(port, INVALID_HANDLE_VALUE);
        io.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        wait.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override {
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        CloseHandle(io.hEvent);
        CloseHandle(wait.hEvent);
        backend::UnregisterFakeSerialPort(FName);
    }
    String Path() const { return u"\\\\.\\" + Utf8ToString(FName); }
    void SetTimeouts(DWORD interval, DWORD multiplier, DWORD constant, DWORD writeMultiplier = 0,
                     DWORD writeConstant = 0) {
        COMMTIMEOUTS timeouts{interval, multiplier, constant, writeMultiplier, writeConstant};
        ASSERT_TRUE(SetCommTimeouts(port, &timeouts));
    }
    void ChangeState(const std::function<void(DCB&)>& change) {
        DCB dcb{};
        ASSERT_TRUE(GetCommState(port, &dcb));
        change(dcb);
        ASSERT_TRUE(SetCommState(port, &dcb));
    }
    // Starts an overlapped read of count bytes into buffer; true when it is pending.
    bool StartRead(DWORD count) {
        buffer.assign(count, 0);
        DWORD read = 0;
        if (ReadFile(port, buffer.data(), count, &read, &io))
            return false;
        EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
        return true;
    }
    // The bytes of a finished overlapped operation on io.
    DWORD Result() {
        DWORD transferred = 12345;
        EXPECT_TRUE(Signalled(io.hEvent));
        EXPECT_TRUE(GetOverlappedResult(port, &io, &transferred, FALSE));
        return transferred;
    }
    DWORD ClearErrors(COMSTAT* stat = nullptr) {
        DWORD errors = 0;
        COMSTAT ignored{};
        EXPECT_TRUE(ClearCommError(port, &errors, stat ? stat : &ignored));
        return errors;
    }

    std::string FName;
    std::shared_ptr<backend::FakeSerialPort> fake;
    HANDLE port = INVALID_HANDLE_VALUE;
    OVERLAPPED io{};
    OVERLAPPED wait{};
    Bytes buffer;
};

TEST_F(CommFake, OpensOnceAppliesTheLineSettingsAndClosesForReuse) {
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port, &dcb));
    EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);

    EXPECT_EQ(OpenPort(Path()), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(OpenPort(u"\\\\.\\NO_SUCH_PORT_HERE"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    ChangeState([](DCB& d) {
        d.BaudRate = 250000; // not a standard rate
        d.ByteSize = 7;
        d.Parity = EVENPARITY;
        d.StopBits = TWOSTOPBITS;
        d.fParity = 1;
        d.fOutxCtsFlow = 1;
        d.fOutX = 1;
        d.XonChar = 0x11;
        d.XoffChar = 0x13;
        d.fDtrControl = DTR_CONTROL_ENABLE;
        d.fRtsControl = RTS_CONTROL_DISABLE;
        d.EvtChar = '\n';
    });
    const backend::SerialConfig config = fake->Config();
    EXPECT_EQ(config.baudRate, 250000u);
    EXPECT_EQ(config.dataBits, 7);
    EXPECT_EQ(config.parity, backend::SerialParity::Even);
    EXPECT_EQ(config.stopBits, backend::SerialStopBits::Two);
    EXPECT_TRUE(config.parityCheck);
    EXPECT_TRUE(config.ctsFlow);
    EXPECT_TRUE(config.xonXoffOutput);
    EXPECT_TRUE(fake->Dtr());
    EXPECT_FALSE(fake->Rts());
    ASSERT_TRUE(GetCommState(port, &dcb));
    EXPECT_EQ(dcb.BaudRate, 250000u);
    EXPECT_EQ(dcb.EvtChar, '\n');

    EXPECT_TRUE(CloseHandle(port));
    port = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(fake->IsOpen());
    EXPECT_FALSE(GetCommState(port, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    port = OpenPort(Path());
    EXPECT_NE(port, INVALID_HANDLE_VALUE);
}

struct BadStateCase {
    const char* name;
    void (*change)(DCB&);
};

class CommBadState : public CommFake, public testing::WithParamInterface<BadStateCase> {};

TEST_P(CommBadState, IsRefusedAndChangesNothing) {
    DCB before{};
    ASSERT_TRUE(GetCommState(port, &before));
    DCB dcb = before;
    dcb.BaudRate = 4800;
    GetParam().change(dcb);
    EXPECT_FALSE(SetCommState(port, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DCB after{};
    ASSERT_TRUE(GetCommState(port, &after));
    EXPECT_EQ(after.BaudRate, before.BaudRate);
    EXPECT_EQ(fake->Config().baudRate, before.BaudRate);
}

INSTANTIATE_TEST_SUITE_P(Comm, CommBadState,
                         testing::Values(BadStateCase{"RateZero", [](DCB& d) { d.BaudRate = 0; }},
                                         BadStateCase{"FourDataBits", [](DCB& d) { d.ByteSize = 4; }},
                                         BadStateCase{"NineDataBits", [](DCB& d) { d.ByteSize = 9; }},
                                         BadStateCase{"UnknownParity", [](DCB& d) { d.Parity = 5; }},
                                         BadStateCase{"UnknownStopBits", [](DCB& d) { d.StopBits = 3; }},
                                         BadStateCase{"OneAndHalfOnEightBits",
                                                      [](DCB& d) { d.StopBits = ONE5STOPBITS; }},
                                         BadStateCase{"TwoOnFiveBits",
                                                      [](DCB& d) {
                                                          d.ByteSize = 5;
                                                          d.StopBits = TWOSTOPBITS;
                                                      }},
                                         BadStateCase{"XonEqualsXoff",
                                                      [](DCB& d) {
                                                          d.fInX = 1;
                                                          d.XonChar = d.XoffChar = 0x11;
                                                      }}),
                         [](const testing::TestParamInfo<BadStateCase>& info) { return info.param.name; });

TEST_F(CommFake, OneAndAHalfStopBitsGoWithFiveBitWords) {
    ChangeState([](DCB& d) {
        d.ByteSize = 5;
        d.StopBits = ONE5STOPBITS;
    });
    EXPECT_EQ(fake->Config().stopBits, backend::SerialStopBits::OneAndHalf);
}

// One event type: what the far end does, what the wait reports, and the errors ClearCommError reads.
struct EventCase {
    const char* name;
    DWORD mask;
    void (*act)(backend::FakeSerialPort&, HANDLE port);
    DWORD expected;
    DWORD errors;
};

class CommEvent : public CommFake, public testing::WithParamInterface<EventCase> {};

TEST_P(CommEvent, CompletesAPendingOverlappedWait) {
    const EventCase& c = GetParam();
    ChangeState([](DCB& d) {
        d.EvtChar = '#';
        d.fParity = 1;
    });
    ASSERT_TRUE(SetupComm(port, 10, 10));
    ASSERT_TRUE(SetCommMask(port, c.mask));
    DWORD mask = 0xDEAD;
    ASSERT_FALSE(WaitCommEvent(port, &mask, &wait));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    DWORD transferred;
    EXPECT_FALSE(GetOverlappedResult(port, &wait, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_IO_INCOMPLETE);
    EXPECT_FALSE(Signalled(wait.hEvent));

    c.act(*fake, port);
    ASSERT_TRUE(Signalled(wait.hEvent));
    EXPECT_TRUE(GetOverlappedResult(port, &wait, &transferred, FALSE));
    EXPECT_EQ(mask, c.expected);
    EXPECT_EQ(ClearErrors(), c.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Comm, CommEvent,
    testing::Values(
        EventCase{"RxChar", EV_RXCHAR, [](backend::FakeSerialPort& f, HANDLE) { f.PushReceived({'a'}); },
                  EV_RXCHAR, 0},
        EventCase{"RxFlag", EV_RXFLAG,
                  [](backend::FakeSerialPort& f, HANDLE) {
                      f.PushReceived({'a', '#'});
                  },
                  EV_RXFLAG, 0},
        EventCase{"RxCharAndFlagTogether", EV_RXCHAR | EV_RXFLAG,
                  [](backend::FakeSerialPort& f, HANDLE) { f.PushReceived({'#'}); }, EV_RXCHAR | EV_RXFLAG,
                  0},
        EventCase{"Rx80Full", EV_RX80FULL,
                  [](backend::FakeSerialPort& f, HANDLE) { f.PushReceived(Bytes(8, 'x')); }, EV_RX80FULL, 0},
        EventCase{"TxEmpty", EV_TXEMPTY,
                  [](backend::FakeSerialPort&, HANDLE p) {
                      OVERLAPPED o{};
                      DWORD written = 0;
                      EXPECT_TRUE(WriteFile(p, "123|", 4, &written, &o));
                  },
                  EV_TXEMPTY, 0},
        EventCase{"Cts", EV_CTS, [](backend::FakeSerialPort& f, HANDLE) { f.SetLines(backend::LineCts); },
                  EV_CTS, 0},
        EventCase{"Dsr", EV_DSR, [](backend::FakeSerialPort& f, HANDLE) { f.SetLines(backend::LineDsr); },
                  EV_DSR, 0},
        EventCase{"Rlsd", EV_RLSD, [](backend::FakeSerialPort& f, HANDLE) { f.SetLines(backend::LineRlsd); },
                  EV_RLSD, 0},
        EventCase{"Ring", EV_RING, [](backend::FakeSerialPort& f, HANDLE) { f.SetLines(backend::LineRing); },
                  EV_RING, 0},
        EventCase{"Break", EV_BREAK, [](backend::FakeSerialPort& f, HANDLE) { f.PushBreak(); }, EV_BREAK,
                  CE_BREAK},
        EventCase{"ParityError", EV_ERR,
                  [](backend::FakeSerialPort& f, HANDLE) { f.PushError('p', backend::ReceiveError::Parity); },
                  EV_ERR, CE_RXPARITY},
        EventCase{
            "FramingError", EV_ERR,
            [](backend::FakeSerialPort& f, HANDLE) { f.PushError('f', backend::ReceiveError::Framing); },
            EV_ERR, CE_FRAME},
        EventCase{"Overrun", EV_ERR, [](backend::FakeSerialPort& f, HANDLE) { f.PushOverrun(); }, EV_ERR,
                  CE_OVERRUN},
        EventCase{"OnlyEventsOfTheMask", EV_CTS,
                  [](backend::FakeSerialPort& f, HANDLE) {
                      f.PushReceived({'a'});
                      f.SetLines(backend::LineDsr | backend::LineCts);
                  },
                  EV_CTS, 0}),
    [](const testing::TestParamInfo<EventCase>& info) { return info.param.name; });

TEST_F(CommFake, WaitReportsEarlierEventsAtOnceAndEndsWhenTheMaskChanges) {
    DWORD mask = 0;
    EXPECT_FALSE(WaitCommEvent(port, &mask, &wait));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << "no mask set";
    EXPECT_FALSE(Signalled(wait.hEvent)) << "a call that fails at once leaves the event reset";

    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR | EV_CTS));
    fake->PushReceived({'a'});
    fake->SetLines(backend::LineCts);
    fake->PushBreak(); // not in the mask
    EXPECT_TRUE(WaitCommEvent(port, &mask, &wait));
    EXPECT_EQ(mask, EV_RXCHAR | EV_CTS);
    EXPECT_TRUE(Signalled(wait.hEvent)) << "completing at once still signals";

    EXPECT_FALSE(WaitCommEvent(port, &mask, &wait));
    EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    OVERLAPPED second{};
    DWORD secondMask = 0;
    EXPECT_FALSE(WaitCommEvent(port, &secondMask, &second));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << "one wait at a time";

    ASSERT_TRUE(SetCommMask(port, EV_DSR));
    ASSERT_TRUE(Signalled(wait.hEvent));
    DWORD transferred;
    EXPECT_TRUE(GetOverlappedResult(port, &wait, &transferred, FALSE));
    EXPECT_EQ(mask, 0u);
    DWORD current = 0;
    EXPECT_TRUE(GetCommMask(port, &current));
    EXPECT_EQ(current, EV_DSR);
}

TEST_F(CommFake, BlockingWaitReturnsWhenAnotherThreadChangesALine) {
    ASSERT_TRUE(SetCommMask(port, EV_DSR));
    std::thread far([this] { fake->SetLines(backend::LineDsr); });
    DWORD mask = 0;
    EXPECT_TRUE(WaitCommEvent(port, &mask, nullptr));
    EXPECT_EQ(mask, EV_DSR);
    far.join();
}

TEST_F(CommFake, ReadWithIntervalMaxAndZeroTotalsReturnsWhatIsQueued) {
    SetTimeouts(MAXDWORD, 0, 0);
    EXPECT_FALSE(StartRead(40)) << "returns at once even when nothing is queued";
    EXPECT_EQ(Result(), 0u);

    Bytes frame(12);
    for (int i = 0; i < 12; ++i)
        frame[i] = static_cast<std::uint8_t>(i == 3 ? 0xFF : i);
    fake->PushReceived(frame);
    EXPECT_FALSE(StartRead(40));
    EXPECT_EQ(Result(), 12u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 12), frame);

    // A blocking read behaves the same.
    fake->PushReceived({1, 2, 3});
    DWORD read = 0;
    std::uint8_t small[2];
    EXPECT_TRUE(ReadFile(port, small, 2, &read, nullptr));
    EXPECT_EQ(read, 2u);
    COMSTAT stat{};
    ClearErrors(&stat);
    EXPECT_EQ(stat.cbInQue, 1u);
}

TEST_F(CommFake, ReadWithoutTimeoutsWaitsForEveryByte) {
    SetTimeouts(0, 0, 0);
    ASSERT_TRUE(StartRead(3));
    fake->PushReceived({'a', 'b'});
    Clock::Advance(60 * 60 * 1000);
    EXPECT_FALSE(Signalled(io.hEvent));
    fake->PushReceived({'c', 'd'});
    EXPECT_EQ(Result(), 3u);
    EXPECT_EQ(buffer, (Bytes{'a', 'b', 'c'}));
}

TEST_F(CommFake, ReadTotalTimeoutIsMultiplierTimesBytesPlusConstant) {
    SetTimeouts(0, 10, 100);
    ASSERT_TRUE(StartRead(4)); // 140 ms
    fake->PushReceived({'a', 'b'});
    Clock::Advance(139);
    EXPECT_FALSE(Signalled(io.hEvent));
    Clock::Advance(1);
    EXPECT_EQ(Result(), 2u) << "a timed-out read succeeds with what came";
}

TEST_F(CommFake, ReadIntervalTimeoutRunsBetweenBytesAfterTheFirst) {
    SetTimeouts(20, 0, 0);
    ASSERT_TRUE(StartRead(10));
    Clock::Advance(1000);
    EXPECT_FALSE(Signalled(io.hEvent)) << "no interval before the first byte";
    fake->PushReceived({'a', 'b', 'c'});
    Clock::Advance(19);
    fake->PushReceived({'d'});
    Clock::Advance(19);
    EXPECT_FALSE(Signalled(io.hEvent)) << "each byte restarts the interval";
    Clock::Advance(1);
    EXPECT_EQ(Result(), 4u);
}

TEST_F(CommFake, ReadWithIntervalAndMultiplierMaxReturnsOnTheFirstByteOrTheConstant) {
    SetTimeouts(MAXDWORD, MAXDWORD, 50);
    ASSERT_TRUE(StartRead(10));
    fake->PushReceived({'a', 'b'});
    EXPECT_EQ(Result(), 2u);

    ASSERT_TRUE(StartRead(10));
    Clock::Advance(49);
    EXPECT_FALSE(Signalled(io.hEvent));
    Clock::Advance(1);
    EXPECT_EQ(Result(), 0u);

    COMMTIMEOUTS invalid{MAXDWORD, MAXDWORD, MAXDWORD, 0, 0};
    EXPECT_FALSE(SetCommTimeouts(port, &invalid));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(CommFake, ReadsAreServedInOrder) {
    SetTimeouts(0, 0, 0);
    ASSERT_TRUE(StartRead(2));
    OVERLAPPED second{};
    second.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::uint8_t secondBuffer[2] = {};
    EXPECT_FALSE(ReadFile(port, secondBuffer, 2, nullptr, &second));
    fake->PushReceived({1, 2, 3, 4});
    EXPECT_EQ(Result(), 2u);
    EXPECT_EQ(buffer, (Bytes{1, 2}));
    DWORD transferred = 0;
    EXPECT_TRUE(GetOverlappedResult(port, &second, &transferred, TRUE));
    EXPECT_EQ(Bytes(secondBuffer, secondBuffer + 2), (Bytes{3, 4}));
    CloseHandle(second.hEvent);
}

TEST_F(CommFake, WriteSendsAllAtOnceOnAFreeLine) {
    const std::string poll = "123|";
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(port, poll.data(), 4, &written, &io));
    EXPECT_EQ(written, 4u);
    EXPECT_EQ(Result(), 4u);
    EXPECT_TRUE(WriteFile(port, "AB", 2, &written, nullptr));
    EXPECT_TRUE(TransmitCommChar(port, 'X'));
    EXPECT_EQ(fake->TakeSent(), (Bytes{'1', '2', '3', '|', 'A', 'B', 'X'}));
}

TEST_F(CommFake, WriteHeldByCtsFlowWaitsForCtsAndThenEmpties) {
    ChangeState([](DCB& d) { d.fOutxCtsFlow = 1; });
    ASSERT_TRUE(SetCommMask(port, EV_TXEMPTY));
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(port, &mask, &wait));
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "hello", 5, &written, &io));
    EXPECT_EQ(GetLastError(), ERROR_IO_PENDING);
    COMSTAT stat{};
    ClearErrors(&stat);
    EXPECT_TRUE(stat.fCtsHold);
    EXPECT_EQ(stat.cbOutQue, 5u);
    EXPECT_TRUE(fake->TakeSent().empty());

    fake->SetLines(backend::LineCts);
    EXPECT_EQ(Result(), 5u);
    EXPECT_EQ(fake->TakeSent(), (Bytes{'h', 'e', 'l', 'l', 'o'}));
    EXPECT_TRUE(Signalled(wait.hEvent));
    EXPECT_EQ(mask, EV_TXEMPTY);
}

TEST_F(CommFake, WriteTimeoutEndsAStalledWriteWithWhatWasSent) {
    SetTimeouts(0, 0, 0, 10, 50);
    fake->SetStalled(true);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "0123456789", 10, &written, &io)); // 150 ms
    Clock::Advance(149);
    EXPECT_FALSE(Signalled(io.hEvent));
    Clock::Advance(1);
    EXPECT_EQ(Result(), 0u);
    fake->SetStalled(false);
    EXPECT_TRUE(fake->TakeSent().empty()) << "what timed out is not sent later";
    COMSTAT stat{};
    ClearErrors(&stat);
    EXPECT_EQ(stat.cbOutQue, 0u);
}

TEST_F(CommFake, XoffHoldsOutputUntilXon) {
    ASSERT_TRUE(EscapeCommFunction(port, SETXOFF));
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "ab", 2, &written, &io));
    COMSTAT stat{};
    ClearErrors(&stat);
    EXPECT_TRUE(stat.fXoffHold);
    ASSERT_TRUE(EscapeCommFunction(port, SETXON));
    EXPECT_EQ(Result(), 2u);
    EXPECT_EQ(fake->TakeSent(), (Bytes{'a', 'b'}));
}

TEST_F(CommFake, PurgeAbortsAndClears) {
    SetTimeouts(0, 0, 0);
    fake->PushReceived({1, 2, 3});
    ASSERT_TRUE(PurgeComm(port, PURGE_RXCLEAR));
    COMSTAT stat{};
    ClearErrors(&stat);
    EXPECT_EQ(stat.cbInQue, 0u);

    ASSERT_TRUE(StartRead(5));
    fake->SetStalled(true);
    OVERLAPPED writing{};
    writing.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "abc", 3, &written, &writing));
    ASSERT_TRUE(PurgeComm(port, PURGE_RXABORT | PURGE_TXABORT));
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &io, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(GetOverlappedResult(port, &writing, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    fake->SetStalled(false);
    EXPECT_TRUE(fake->TakeSent().empty());
    CloseHandle(writing.hEvent);

    EXPECT_FALSE(PurgeComm(port, 0x10));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(CommFake, ReceivedBytesFollowTheDriverSettings) {
    ChangeState([](DCB& d) {
        d.fNull = 1; // NULs are dropped
        d.fParity = 1;
        d.fErrorChar = 1;
        d.ErrorChar = '?';
    });
    fake->PushReceived({'a', 0, 'b'});
    fake->PushError('c', backend::ReceiveError::Parity);
    fake->PushError('d', backend::ReceiveError::Framing);
    EXPECT_EQ(ClearErrors(), CE_RXPARITY | CE_FRAME);
    EXPECT_EQ(ClearErrors(), 0u) << "reading the errors clears them";

    // Without parity checking, a byte with bad parity is an ordinary byte.
    ChangeState([](DCB& d) { d.fParity = 0; });
    fake->PushError('e', backend::ReceiveError::Parity);
    EXPECT_EQ(ClearErrors(), 0u);

    SetTimeouts(MAXDWORD, 0, 0);
    EXPECT_FALSE(StartRead(10));
    EXPECT_EQ(Result(), 5u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 5), (Bytes{'a', 'b', '?', 'd', 'e'}));
}

TEST_F(CommFake, FullInputQueueLosesBytesAndSaysSo) {
    ASSERT_TRUE(SetupComm(port, 4, 4));
    fake->PushReceived({1, 2, 3, 4, 5, 6});
    COMSTAT stat{};
    EXPECT_EQ(ClearErrors(&stat), CE_RXOVER);
    EXPECT_EQ(stat.cbInQue, 4u);
}

TEST_F(CommFake, AbortOnErrorFailsReadsAndWritesUntilTheErrorIsCleared) {
    ChangeState([](DCB& d) { d.fAbortOnError = 1; });
    SetTimeouts(0, 0, 0);
    ASSERT_TRUE(StartRead(4));
    fake->PushOverrun();
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &io, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "a", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_EQ(ClearErrors(), CE_OVERRUN);
    EXPECT_TRUE(WriteFile(port, "a", 1, &written, nullptr));
}

TEST_F(CommFake, ModemLinesAndOutputControls) {
    fake->SetLines(backend::LineCts | backend::LineRlsd);
    DWORD status = 0;
    ASSERT_TRUE(GetCommModemStatus(port, &status));
    EXPECT_EQ(status, MS_CTS_ON | MS_RLSD_ON);
    fake->SetLines(backend::LineDsr | backend::LineRing);
    ASSERT_TRUE(GetCommModemStatus(port, &status));
    EXPECT_EQ(status, MS_DSR_ON | MS_RING_ON);

    EXPECT_TRUE(EscapeCommFunction(port, SETDTR));
    EXPECT_TRUE(EscapeCommFunction(port, SETRTS));
    EXPECT_TRUE(SetCommBreak(port));
    EXPECT_TRUE(fake->Dtr() && fake->Rts() && fake->Break());
    EXPECT_TRUE(EscapeCommFunction(port, CLRDTR));
    EXPECT_TRUE(EscapeCommFunction(port, CLRRTS));
    EXPECT_TRUE(ClearCommBreak(port));
    EXPECT_FALSE(fake->Dtr() || fake->Rts() || fake->Break());

    EXPECT_FALSE(EscapeCommFunction(port, 42));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    ChangeState([](DCB& d) {
        d.fRtsControl = RTS_CONTROL_HANDSHAKE;
        d.fDtrControl = DTR_CONTROL_HANDSHAKE;
    });
    EXPECT_FALSE(EscapeCommFunction(port, CLRRTS)) << "the handshake owns RTS";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(EscapeCommFunction(port, CLRDTR));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(CommFake, RtsToggleRaisesRtsOnlyWhileSending) {
    ChangeState([](DCB& d) { d.fRtsControl = RTS_CONTROL_TOGGLE; });
    EXPECT_FALSE(fake->Rts());
    fake->SetStalled(true);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "ab", 2, &written, &io));
    EXPECT_TRUE(fake->Rts());
    fake->SetStalled(false);
    EXPECT_EQ(Result(), 2u);
    EXPECT_FALSE(fake->Rts());
}

TEST_F(CommFake, UnpluggedDeviceEndsThePendingWaitAndFailsLaterCalls) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR | EV_ERR));
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(port, &mask, &wait));
    SetTimeouts(0, 0, 0);
    ASSERT_TRUE(StartRead(4));

    fake->Unplug();
    DWORD transferred = 0;
    ASSERT_TRUE(Signalled(wait.hEvent));
    EXPECT_FALSE(GetOverlappedResult(port, &wait, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(GetOverlappedResult(port, &io, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);

    // A waiting loop that starts again gets an error at once and an event left reset: it can neither
    // spin nor hang on the device.
    EXPECT_FALSE(WaitCommEvent(port, &mask, &wait));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    EXPECT_FALSE(Signalled(wait.hEvent));
    EXPECT_FALSE(ReadFile(port, buffer.data(), 1, nullptr, &io));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    DWORD errors = 0;
    EXPECT_FALSE(ClearCommError(port, &errors, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    EXPECT_TRUE(CloseHandle(port));
    port = INVALID_HANDLE_VALUE;
}

TEST_F(CommFake, ClosingEndsABlockingReadOnAnotherThread) {
    SetTimeouts(0, 0, 0);
    BOOL result = TRUE;
    DWORD error = 0;
    std::atomic<bool> started{false};
    std::thread reader([&] {
        std::uint8_t byte;
        DWORD read = 0;
        started = true;
        result = ReadFile(port, &byte, 1, &read, nullptr);
        error = GetLastError();
    });
    while (!started)
        std::this_thread::yield();
    // Whether the read is already waiting or not, it must end: aborted, or refused on a closed handle.
    ASSERT_TRUE(CloseHandle(port));
    port = INVALID_HANDLE_VALUE;
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_TRUE(error == ERROR_OPERATION_ABORTED || error == ERROR_INVALID_HANDLE) << error;
}

TEST_F(CommFake, CancelIoEndsEveryPendingOperation) {
    SetTimeouts(0, 0, 0);
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(port, &mask, &wait));
    ASSERT_TRUE(StartRead(1));
    EXPECT_TRUE(CancelIo(port));
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &wait, &transferred, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    EXPECT_FALSE(GetOverlappedResult(port, &io, &transferred, TRUE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
}

TEST_F(CommFake, AccessFollowsTheOpenMode) {
    CloseHandle(port);
    port = OpenPort(Path(), GENERIC_READ);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, "a", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

// A port on the near end of a pseudo-terminal; the test holds the far end. Waits here are real (the
// kernel delivers the bytes), so the test runs on the system clock with short bounded waits.
class CommPty : public testing::Test {
protected:
    void SetUp() override {
        Clock::UseSystemClock();
        int error = 0;
        ASSERT_TRUE(backend::OpenPseudoTerminal(pty, &error)) << error;
        port = OpenPort(Utf8ToString(pty.path));
        ASSERT_NE(port, INVALID_HANDLE_VALUE) << GetLastError();
        io.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override {
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        if (pty.masterFd >= 0)
            backend::CloseFile(pty.masterFd, nullptr);
        CloseHandle(io.hEvent);
    }
    void FarWrite(const Bytes& bytes) {
        ASSERT_EQ(
            backend::WriteFile(pty.masterFd, bytes.data(), static_cast<std::int64_t>(bytes.size()), nullptr),
            static_cast<std::int64_t>(bytes.size()));
    }
    Bytes FarRead(std::size_t count) {
        Bytes got;
        while (got.size() < count && backend::WaitReadable(pty.masterFd, 2000)) {
            std::uint8_t chunk[4096];
            std::int64_t n = backend::ReadFile(
                pty.masterFd, chunk, static_cast<std::int64_t>(std::min(sizeof chunk, count - got.size())),
                nullptr);
            if (n <= 0)
                break;
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }
    // Reads count bytes with a read that waits at most two seconds.
    Bytes PortRead(DWORD count) {
        COMMTIMEOUTS timeouts{0, 0, 2000, 0, 0};
        EXPECT_TRUE(SetCommTimeouts(port, &timeouts));
        Bytes bytes(count);
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(port, bytes.data(), count, &read, nullptr));
        bytes.resize(read);
        return bytes;
    }

    backend::PseudoTerminal pty;
    HANDLE port = INVALID_HANDLE_VALUE;
    OVERLAPPED io{};
};

TEST_F(CommPty, OpensConfiguresAndCarriesEveryByteValueBothWays) {
    EXPECT_EQ(OpenPort(Utf8ToString(pty.path)), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    DCB dcb{};
    ASSERT_TRUE(GetCommState(port, &dcb));
    dcb.BaudRate = 921600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fParity = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(SetCommState(port, &dcb)) << GetLastError();
    dcb.BaudRate = 250000; // through the custom-speed interface
    ASSERT_TRUE(SetCommState(port, &dcb)) << GetLastError();

    // A pseudo-terminal has no modem lines: they read off, and the controls are taken.
    DWORD status = 0xFF;
    EXPECT_TRUE(GetCommModemStatus(port, &status));
    EXPECT_EQ(status, 0u);
    EXPECT_TRUE(EscapeCommFunction(port, CLRDTR));
    EXPECT_TRUE(SetCommBreak(port));
    EXPECT_TRUE(ClearCommBreak(port));

    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(port, all.data(), 256, &written, nullptr));
    EXPECT_EQ(written, 256u);
    EXPECT_EQ(FarRead(256), all);

    // 0xFF and NUL pass the error marking of the line unchanged.
    FarWrite(all);
    FarWrite({0xFF, 0xFF, 0x00, 0xFF});
    Bytes expected = all;
    expected.insert(expected.end(), {0xFF, 0xFF, 0x00, 0xFF});
    EXPECT_EQ(PortRead(260), expected);
    DWORD errors = 1;
    EXPECT_TRUE(ClearCommError(port, &errors, nullptr));
    EXPECT_EQ(errors, 0u);

    // The device keeps its settings: a port opened again reads them from it.
    EXPECT_TRUE(CloseHandle(port));
    // Closing gives the terminal up: left exclusive, the pseudo-terminal (alive while its far end is
    // open) would refuse every later open by anyone but the superuser, who runs these tests.
    const int probe = ::open(pty.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(probe, 0);
    int exclusive = -1;
    EXPECT_EQ(::ioctl(probe, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(probe);
    FarWrite({'o', 'l', 'd'}); // sent while nobody had the port open
    port = OpenPort(Utf8ToString(pty.path));
    ASSERT_NE(port, INVALID_HANDLE_VALUE) << "closed ports open again";
    ASSERT_TRUE(GetCommState(port, &dcb));
    EXPECT_EQ(dcb.BaudRate, 250000u);
    FarWrite({'n'});
    EXPECT_EQ(PortRead(1), (Bytes{'n'})) << "a port opens with its input empty";
}

TEST_F(CommPty, OverlappedWaitSeesBytesFromTheFarEnd) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR));
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(port, &mask, &io));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    FarWrite({'1', '2'});
    ASSERT_EQ(WaitForSingleObject(io.hEvent, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(mask, EV_RXCHAR);
    EXPECT_EQ(PortRead(2), (Bytes{'1', '2'}));
}

TEST_F(CommPty, ReadTimeoutRunsOnTheSystemClock) {
    COMMTIMEOUTS timeouts{0, 0, 5, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &timeouts));
    std::uint8_t byte;
    DWORD read = 7;
    EXPECT_TRUE(ReadFile(port, &byte, 1, &read, nullptr));
    EXPECT_EQ(read, 0u);
}

// On the system clock the interval timeout, which starts with the first byte, ends a read long before
// its total timeout.
TEST_F(CommPty, IntervalTimeoutEndsAReadLongBeforeItsTotal) {
    COMMTIMEOUTS timeouts{20, 0, 60000, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &timeouts));
    std::uint8_t bytes[8];
    DWORD read = 0;
    ASSERT_FALSE(ReadFile(port, bytes, sizeof bytes, &read, &io));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    FarWrite({'a', 'b', 'c'});
    ASSERT_EQ(WaitForSingleObject(io.hEvent, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetOverlappedResult(port, &io, &read, FALSE));
    EXPECT_EQ(read, 3u);
}

TEST_F(CommPty, ASmallInputQueueHoldsBackTheDeviceWithoutLosingBytes) {
    ASSERT_TRUE(SetupComm(port, 64, 64));
    Bytes data(20000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 7);
    std::thread far([&] {
        for (std::size_t sent = 0; sent < data.size();) {
            std::int64_t n = backend::WriteFile(
                pty.masterFd, data.data() + sent,
                static_cast<std::int64_t>(std::min<std::size_t>(1000, data.size() - sent)), nullptr);
            if (n <= 0)
                break;
            sent += static_cast<std::size_t>(n);
        }
    });
    Bytes got;
    while (got.size() < data.size()) {
        Bytes part = PortRead(static_cast<DWORD>(std::min<std::size_t>(500, data.size() - got.size())));
        if (part.empty())
            break;
        got.insert(got.end(), part.begin(), part.end());
    }
    far.join();
    EXPECT_EQ(got, data);
    DWORD errors = 1;
    EXPECT_TRUE(ClearCommError(port, &errors, nullptr));
    EXPECT_EQ(errors, 0u) << "no CE_RXOVER: the device waits for room";
}

TEST_F(CommPty, FarEndClosingEndsAPendingWaitWithAnError) {
    ASSERT_TRUE(SetCommMask(port, EV_RXCHAR | EV_ERR | EV_BREAK));
    DWORD mask = 0;
    ASSERT_FALSE(WaitCommEvent(port, &mask, &io));
    ASSERT_EQ(GetLastError(), ERROR_IO_PENDING);
    backend::CloseFile(pty.masterFd, nullptr);
    pty.masterFd = -1;
    ASSERT_EQ(WaitForSingleObject(io.hEvent, 2000), WAIT_OBJECT_0);
    DWORD transferred = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &io, &transferred, FALSE));
    EXPECT_EQ(GetLastError(), ERROR_OPERATION_ABORTED);
    std::uint8_t byte;
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(port, &byte, 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BAD_COMMAND);
    EXPECT_TRUE(CloseHandle(port));
    port = INVALID_HANDLE_VALUE;
}

TEST(Comm, OpenRefusesWhatIsNotASerialDevice) {
    EXPECT_EQ(OpenPort(u"/nonexistent/ttyX"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenPort(u"\\\\.\\zelmor-no-such-tty"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenPort(u"/dev/null"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FUNCTION);
    EXPECT_EQ(CreateFileW(u"/dev/null", GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DCB dcb{};
    EXPECT_FALSE(GetCommState(INVALID_HANDLE_VALUE, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

} // namespace
