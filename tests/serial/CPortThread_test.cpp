// The event thread: every event reaches the port by each synchronisation method (on the GUI thread
// except with smNone), a batch is dispatched in its fixed order, received bytes as a buffer, closing
// while events wait or from inside a handler never deadlocks, and a port on a pseudo-terminal.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iterator>

#include "platform/backend/file.h"
#include "platform/rtl/Clock.h"
#include "tests/serial/SerialTestSupport.h"

using namespace serial_testing;

namespace {

class ComEvents : public FakePortTest, public testing::WithParamInterface<TSyncMethod> {
protected:
    void SetUp() override {
        FakePortTest::SetUp();
        port->SetSyncMethod(GetParam());
        recorder.Attach(*port);
    }
    // Waits for one event and checks the thread it ran on.
    void Expect(const std::string& event) {
        EXPECT_TRUE(PumpUntil([&] { return recorder.Has(event); }))
            << "no " << event << " in " << testing::PrintToString(recorder.Events());
        const std::vector<std::string> offMain = recorder.OffMain();
        const bool ranOff = std::find(offMain.begin(), offMain.end(), event) != offMain.end();
        EXPECT_EQ(ranOff, GetParam() == smNone) << event;
    }
};

TEST_P(ComEvents, EveryEventArrivesOnTheExpectedThread) {
    port->SetEventChar(u'\n');
    port->Parity()->SetCheck(true);
    port->Open();
    ASSERT_TRUE(PumpUntil([&] { return recorder.Has("RLSD off"); }));

    fake->PushReceived({'a', 'b', 'c'});
    Expect("RxChar 3");
    Byte buffer[8];
    EXPECT_EQ(port->Read(buffer, 8), 3);

    fake->PushReceived({'\n'});
    Expect("RxFlag");
    port->ClearBuffer(true, false);

    port->WriteStr(u"x");
    Expect("TxEmpty");

    fake->SetLines(backend::LineCts);
    Expect("CTS on");
    fake->SetLines(backend::LineCts | backend::LineDsr);
    Expect("DSR on");
    fake->SetLines(backend::LineCts | backend::LineDsr | backend::LineRlsd);
    Expect("RLSD on");
    fake->SetLines(backend::LineCts | backend::LineDsr | backend::LineRlsd | backend::LineRing);
    Expect("Ring");

    fake->PushBreak();
    Expect("Break");
    EXPECT_EQ(port->LastErrors(), TComErrors{ceBreak});
    fake->PushOverrun();
    Expect("Error Overrun");

    fake->PushReceived(Bytes(900, 'z')); // past 80 percent of the 1024-byte queue
    Expect("Rx80Full");
    port->Close();
    EXPECT_FALSE(fake->IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Methods, ComEvents, testing::Values(smThreadSync, smWindowSync, smNone),
                         [](const testing::TestParamInfo<TSyncMethod>& info) {
                             return StringToUtf8(GetEnumName(TypeInfoOf<TSyncMethod>(), info.param));
                         });

class ComThread : public FakePortTest {};

TEST_F(ComThread, ABatchDispatchesErrorsBeforeTheBytes) {
    port->Parity()->SetCheck(true);
    recorder.Attach(*port);
    port->Open();
    ASSERT_TRUE(PumpUntil([&] { return recorder.Has("RLSD off"); }));
    recorder.Clear();
    // One byte with bad parity raises EV_ERR and EV_RXCHAR together.
    fake->PushError('q', backend::ReceiveError::Parity);
    ASSERT_TRUE(PumpUntil([&] { return recorder.Events().size() >= 2; }));
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"Error RxParity", "RxChar 1"}));
}

TEST_F(ComThread, WithoutTriggersOnRxCharBytesArriveAsABuffer) {
    port->SetTriggersOnRxChar(false);
    recorder.Attach(*port);
    port->Open();
    fake->PushReceived({'1', '2', '3', '|'});
    ASSERT_TRUE(PumpUntil([&] { return recorder.Has("RxBuf 123|"); }));
    for (const std::string& event : recorder.Events())
        EXPECT_NE(event.rfind("RxChar", 0), 0u) << event;
    EXPECT_EQ(port->InputCount(), 0);

    // Links that want the buffer all get the one read, and the port's OnRxBuf too.
    TComLink first, second;
    std::vector<std::string> links;
    first.OnRxBuf = [&](TObject*, const void* b, Integer n) {
        links.push_back("1 " + std::string(static_cast<const char*>(b), n));
    };
    second.OnRxBuf = [&](TObject*, const void* b, Integer n) {
        links.push_back("2 " + std::string(static_cast<const char*>(b), n));
    };
    second.OnRx = [&](TObject*, bool on) { links.push_back(on ? "2 rx on" : "2 rx off"); };
    port->RegisterLink(&first);
    port->RegisterLink(&second);
    recorder.Clear();
    fake->PushReceived({'x', 'y'});
    ASSERT_TRUE(PumpUntil([&] { return links.size() >= 4; }));
    // The read that empties the queue tells the links that receiving stopped.
    EXPECT_EQ(links, (std::vector<std::string>{"2 rx on", "2 rx off", "1 xy", "2 xy"}));
    EXPECT_EQ(recorder.Events(), (std::vector<std::string>{"RxBuf xy"}));
    port->Close();
    port->UnRegisterLink(&first);
    port->UnRegisterLink(&second);
}

TEST_F(ComThread, ClosingWhileEventsWaitForTheBusyGuiThreadDoesNotDeadlock) {
    for (TSyncMethod method : {smThreadSync, smWindowSync}) {
        SCOPED_TRACE(static_cast<int>(method));
        port->SetSyncMethod(method);
        recorder.Attach(*port);
        port->Open();
        // The GUI thread is busy (not pumping) while the thread catches events and waits to hand
        // them over; Close must still stop it.
        fake->PushReceived({'a'});
        fake->SetLines(backend::LineCts);
        port->Close();
        EXPECT_FALSE(port->Connected());
        EXPECT_FALSE(fake->IsOpen());
        fake->SetLines(0);
    }
}

TEST_F(ComThread, ClosingOrFreeingFromInsideAHandlerDoesNotDeadlock) {
    for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
        SCOPED_TRACE(static_cast<int>(method));
        port->SetSyncMethod(method);
        std::atomic<bool> closed{false};
        port->OnRxChar = [&](TObject*, Integer) {
            port->Close();
            closed = true;
        };
        port->Open();
        fake->PushReceived({'a', 'b'});
        ASSERT_TRUE(PumpUntil([&] { return closed.load(); }));
        EXPECT_FALSE(port->Connected());
        EXPECT_FALSE(fake->IsOpen());
        port->OnRxChar = nullptr;
    }

    // Freeing the port in its own handler drops the rest of the batch.
    std::atomic<bool> freed{false};
    port->SetSyncMethod(smThreadSync);
    port->OnRxChar = [&](TObject*, Integer) {
        // The handler itself goes with the port: nothing of it is used after the Free.
        freed = true;
        TComPort* victim = port;
        port = nullptr;
        victim->Free();
    };
    port->Open();
    fake->PushReceived({'c'});
    ASSERT_TRUE(PumpUntil([&] { return freed.load(); }));
    EXPECT_FALSE(fake->IsOpen());
}

// A batch of two events whose first handler closes the port: the second event belongs to a closed
// port, and a Close while closing (from OnBeforeClose) does nothing, whatever the method.
TEST_F(ComThread, ClosingInAHandlerDropsTheRestOfTheBatchAndClosesOnce) {
    for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
        SCOPED_TRACE(static_cast<int>(method));
        port->SetSyncMethod(method);
        port->SetEventChar(u'\n');
        std::mutex lock;
        std::vector<std::string> log;
        auto add = [&](const std::string& event) {
            std::lock_guard guard(lock);
            log.push_back(event);
        };
        std::atomic<bool> closed{false};
        port->OnRxChar = [&](TObject*, Integer) {
            add("RxChar");
            port->Close();
            closed = true;
        };
        port->OnRxFlag = [&](TObject*) {
            add("RxFlag");
            port->Close();
        };
        port->OnBeforeClose = [&](TObject*) {
            add("BeforeClose");
            port->Close();
        };
        port->OnAfterClose = [&](TObject*) { add("AfterClose"); };
        port->Open();
        fake->PushReceived({'a', '\n'});
        ASSERT_TRUE(PumpUntil([&] { return closed.load(); }));
        std::lock_guard guard(lock);
        EXPECT_EQ(log, (std::vector<std::string>{"RxChar", "BeforeClose", "AfterClose"}));
        port->OnRxChar = nullptr;
        port->OnRxFlag = nullptr;
        port->OnBeforeClose = nullptr;
        port->OnAfterClose = nullptr;
    }
}

TEST_F(ComThread, AHandlerExceptionUnderWindowSyncGoesToTheApplication) {
    port->SetSyncMethod(smWindowSync);
    port->OnRxChar = [](TObject*, Integer) { throw EConvertError(u"handler failed"); };
    std::vector<String> handled;
    SetApplicationHandleException([&](TObject* sender) {
        EXPECT_EQ(sender, port);
        try {
            throw;
        } catch (const Exception& e) {
            handled.push_back(e.Message());
        }
    });
    port->Open();
    fake->PushReceived({'a'});
    EXPECT_TRUE(PumpUntil([&] { return !handled.empty(); }));
    SetApplicationHandleException(nullptr);
    EXPECT_EQ(handled, (std::vector<String>{u"handler failed"}));
    port->OnRxChar = nullptr;
    // The thread goes on delivering.
    recorder.Attach(*port);
    fake->SetLines(backend::LineCts);
    EXPECT_TRUE(PumpUntil([&] { return recorder.Has("CTS on"); }));
}

TEST_F(ComThread, AnUnpluggedDeviceStillCloses) {
    recorder.Attach(*port);
    port->Open();
    fake->Unplug();
    Byte buffer[4];
    try {
        port->Read(buffer, 4);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 3);
    }
    // The purge fails on the lost device; the port closes all the same and then says so.
    try {
        port->Close();
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 5);
    }
    EXPECT_FALSE(port->Connected());
    EXPECT_EQ(port->Handle(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(recorder.Has("AfterClose"));
}

TEST_F(ComThread, WaitForEventWithoutTheThreadReportsTheEventOrTheTimeout) {
    port->SetEvents(TComEvents());
    port->Open();
    std::atomic<bool> done{false};
    // The far end keeps sending until the wait has seen it.
    std::thread far([&] {
        while (!done) {
            fake->PushReceived({'x'});
            std::this_thread::yield();
        }
    });
    TComEvents events{evRxChar, evCTS};
    port->WaitForEvent(events, nullptr, -1);
    done = true;
    far.join();
    EXPECT_EQ(events, TComEvents{evRxChar});

    // A time-out on the manual clock is a success with no events.
    done = false;
    std::thread clock([&] {
        while (!done) {
            Clock::Advance(10);
            std::this_thread::yield();
        }
    });
    events = {evCTS};
    port->WaitForEvent(events, nullptr, 50);
    done = true;
    clock.join();
    EXPECT_TRUE(events.Empty());

    // A device that goes away during the wait fails it; it is no event and no time-out. It goes once
    // the wait is under way: the mask is set and the waiting thread is parked.
    std::thread unplug([&, waiter = CurrentThread()] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        DWORD mask = 0;
        while (std::chrono::steady_clock::now() < deadline &&
               !(GetCommMask(port->Handle(), &mask) && mask != 0 && ThreadParked(waiter)))
            std::this_thread::yield();
        fake->Unplug();
    });
    events = {evRxChar};
    try {
        port->WaitForEvent(events, nullptr, -1);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 21);
        EXPECT_GT(e.WinCode(), 0); // the aborted wait, or the lost device if it went first
    }
    unplug.join();
    EXPECT_THROW(port->Close(), EComPort); // the purge fails on the lost device
}

// The near end of a pseudo-terminal as the port; the test holds the far end. The kernel delivers the
// bytes, so this runs on the system clock with bounded waits.
TEST(ComPty, OpensConfiguresAndCarriesBytesBothWays) {
    Clock::UseSystemClock();
    backend::PseudoTerminal pty;
    int error = 0;
    ASSERT_TRUE(backend::OpenPseudoTerminal(pty, &error)) << error;
    TComPort port(nullptr);
    port.SetPort(Utf8ToString(pty.path));
    port.SetBaudRate(br115200);
    port.SetDataBits(dbEight);
    port.Open();
    ASSERT_TRUE(port.Connected());
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port.Handle(), &dcb));
    EXPECT_EQ(dcb.BaudRate, 115200u);

    std::atomic<int> received{0};
    port.OnRxChar = [&](TObject*, Integer count) {
        EXPECT_EQ(std::this_thread::get_id(), MainThreadID());
        received += count;
    };
    const Bytes hello{'h', 'e', 'l', 'l', 'o'};
    ASSERT_EQ(backend::WriteFile(pty.masterFd, hello.data(), 5, nullptr), 5);
    ASSERT_TRUE(PumpUntil([&] { return received.load() > 0 && port.InputCount() >= 5; }));
    String text;
    EXPECT_EQ(port.ReadStr(text, 40), 5);
    EXPECT_EQ(text, u"hello");

    EXPECT_EQ(port.WriteStr(u"123|"), 4);
    ASSERT_TRUE(backend::WaitReadable(pty.masterFd, 2000));
    Byte answer[8] = {};
    EXPECT_EQ(backend::ReadFile(pty.masterFd, answer, 8, nullptr), 4);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), 4), "123|");

    port.Close();
    EXPECT_FALSE(port.Connected());
    backend::CloseFile(pty.masterFd, nullptr);
}

std::size_t EntriesOf(const char* folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

// The console connects and disconnects at will: each round opens the port, polls, takes a frame
// that arrives in pieces, and closes, and the rounds leave no descriptor or thread behind.
TEST(ComPty, ReconnectsAgainAndAgainWithoutLeaks) {
    Clock::UseSystemClock();
    backend::PseudoTerminal pty;
    int error = 0;
    ASSERT_TRUE(backend::OpenPseudoTerminal(pty, &error)) << error;
    TComPort port(nullptr);
    port.SetPort(Utf8ToString(pty.path));
    std::atomic<int> rxEvents{0};
    port.OnRxChar = [&](TObject*, Integer) { ++rxEvents; };
    Bytes frame(40);
    for (std::size_t i = 0; i < frame.size(); ++i)
        frame[i] = static_cast<std::uint8_t>(0xF0 + i); // 0xFF among them
    std::size_t descriptors = 0, threads = 0;
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        port.Open();
        ASSERT_TRUE(port.Connected());
        EXPECT_EQ(port.WriteStr(u"123|"), 4);
        ASSERT_TRUE(backend::WaitReadable(pty.masterFd, 2000));
        Byte poll[8];
        EXPECT_EQ(backend::ReadFile(pty.masterFd, poll, 8, nullptr), 4);
        rxEvents = 0;
        ASSERT_EQ(backend::WriteFile(pty.masterFd, frame.data(), 15, nullptr), 15);
        ASSERT_TRUE(PumpUntil([&] { return rxEvents.load() > 0; }));
        ASSERT_EQ(backend::WriteFile(pty.masterFd, frame.data() + 15, 25, nullptr), 25);
        ASSERT_TRUE(PumpUntil([&] { return port.InputCount() == 40; }));
        Bytes got(40);
        EXPECT_EQ(port.Read(got.data(), 40), 40);
        EXPECT_EQ(got, frame);
        port.Close();
        ASSERT_FALSE(port.Connected());
        // The first round settles what the process keeps for good (the message window and such).
        if (round == 0) {
            descriptors = EntriesOf("/proc/self/fd");
            threads = EntriesOf("/proc/self/task");
        }
    }
    EXPECT_EQ(EntriesOf("/proc/self/fd"), descriptors);
    EXPECT_EQ(EntriesOf("/proc/self/task"), threads);
    backend::CloseFile(pty.masterFd, nullptr);
}

// The far end (the module) vanishes while a read waits and while the event thread waits: the read
// fails at once, the thread neither spins nor hangs, and the port still closes.
TEST(ComPty, AFarEndThatVanishesIsAnErrorNotAHang) {
    Clock::UseSystemClock();
    backend::PseudoTerminal pty;
    int error = 0;
    ASSERT_TRUE(backend::OpenPseudoTerminal(pty, &error)) << error;
    TComPort port(nullptr);
    port.SetPort(Utf8ToString(pty.path));
    port.Timeouts()->SetReadInterval(0);
    port.Timeouts()->SetReadTotalConstant(20000);
    const std::set<std::string> before = ProcessThreads();
    port.Open();
    ASSERT_TRUE(port.Connected());
    std::set<std::string> portThreads;
    std::ranges::set_difference(ProcessThreads(), before, std::inserter(portThreads, portThreads.end()));
    ASSERT_FALSE(portThreads.empty());

    // The far end goes once the read waits.
    std::thread vanish([&, reader = CurrentThread()] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline && !ThreadParked(reader))
            std::this_thread::yield();
        backend::CloseFile(pty.masterFd, nullptr);
    });
    const auto started = std::chrono::steady_clock::now();
    Byte frame[40];
    try {
        port.Read(frame, 40);
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 3);
    }
    vanish.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    // Nothing runs while the port sits on the lost device: each of its threads is parked (or ended).
    EXPECT_TRUE(PumpUntil([&] {
        const std::set<std::string> threads = ProcessThreads();
        return std::ranges::all_of(portThreads, [&](const std::string& thread) {
            return !threads.contains(thread) || ThreadParked(thread);
        });
    }));

    try {
        port.WriteStr(u"123|");
        ADD_FAILURE() << "no exception";
    } catch (const EComPort& e) {
        EXPECT_EQ(e.Code(), 2);
    }
    EXPECT_THROW(port.Close(), EComPort);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.Handle(), INVALID_HANDLE_VALUE);
}

} // namespace
