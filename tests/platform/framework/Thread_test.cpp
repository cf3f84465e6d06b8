// TThread: its life cycle, FreeOnTerminate, OnTerminate, and the calls it hands to the main thread
// (Synchronize, Queue), which the main thread serves in CheckSynchronize, in its message loop and
// while it waits for the thread.
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "platform/framework/Thread.h"
#include "platform/win32/winuser.h"

namespace {

// Runs a body given by the test.
class TTestThread : public TThread {
public:
    explicit TTestThread(std::function<void(TTestThread&)> body, bool suspended = false)
        : TThread(suspended), FBody(std::move(body)) {}
    using TThread::Queue;
    using TThread::SetReturnValue;
    using TThread::Synchronize;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TTestThread&)> FBody;
};

TEST(Thread, RunsOnceStartedAndAnswersItsReturnValue) {
    std::atomic<bool> ran{false};
    auto* thread = CreateInstance<TTestThread>(
        [&](TTestThread& self) {
            ran = true;
            EXPECT_NE(std::this_thread::get_id(), MainThreadID());
            self.SetReturnValue(42);
        },
        true);
    EXPECT_TRUE(thread->Suspended());
    EXPECT_EQ(thread->WaitFor(), 0) << "a thread never started answers at once";
    EXPECT_FALSE(ran);
    thread->Start();
    EXPECT_THROW(thread->Start(), EThread);
    EXPECT_EQ(thread->WaitFor(), 42);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(thread->Finished());
    thread->Free();

    // A thread that is never started is freed without running.
    CreateInstance<TTestThread>([&](TTestThread&) { ADD_FAILURE() << "ran"; }, true)->Free();
}

TEST(Thread, FreeTerminatesAndWaitsAndAFatalExceptionIsKept) {
    auto* looping = CreateInstance<TTestThread>([](TTestThread& self) {
        while (!self.Terminated())
            std::this_thread::yield();
    });
    looping->Free(); // would hang unless Free terminates first

    auto* failing = CreateInstance<TTestThread>([](TTestThread&) { throw EConvertError(u"bad"); });
    failing->WaitFor();
    ASSERT_TRUE(failing->FatalException());
    EXPECT_THROW(std::rethrow_exception(failing->FatalException()), EConvertError);
    failing->Free();
}

TEST(Thread, SynchronizedCallsRunOnTheMainThreadInOrderAndRaiseInTheCaller) {
    std::vector<std::string> log;
    std::atomic<bool> raisedInThread{false};
    auto* thread = CreateInstance<TTestThread>([&](TTestThread& self) {
        self.Queue([&] { log.push_back("queued"); });
        self.Synchronize([&] {
            EXPECT_EQ(std::this_thread::get_id(), MainThreadID());
            log.push_back("synchronized");
        });
        try {
            self.Synchronize([] { throw EConvertError(u"in main"); });
        } catch (const EConvertError&) {
            raisedInThread = true;
        }
        EXPECT_THROW(CheckSynchronize(), EThread);
    });
    thread->OnTerminate = [&](TObject* sender) {
        EXPECT_EQ(sender, thread);
        EXPECT_EQ(std::this_thread::get_id(), MainThreadID());
        log.push_back("terminate");
    };
    // WaitFor on the main thread serves the calls; without that it would never return.
    thread->WaitFor();
    EXPECT_EQ(log, (std::vector<std::string>{"queued", "synchronized", "terminate"}));
    EXPECT_TRUE(raisedInThread);
    thread->Free();

    // On the main thread both run at once.
    TThread::Synchronize(nullptr, [&] { log.push_back("direct"); });
    EXPECT_EQ(log.back(), "direct");
}

TEST(Thread, TheMessageLoopServesSynchronizedCalls) {
    std::atomic<bool> served{false};
    auto* thread =
        CreateInstance<TTestThread>([&](TTestThread& self) { self.Synchronize([&] { served = true; }); });
    // A plain message loop, as the application's, serves the call through the wake-up message.
    MSG msg;
    while (!served) {
        if (GetMessageW(&msg, nullptr, 0, 0))
            DispatchMessageW(&msg);
    }
    thread->Free();
}

TEST(Thread, FreeOnTerminateFreesItself) {
    std::atomic<bool> terminated{false};
    auto* thread = CreateInstance<TTestThread>([](TTestThread&) {}, true);
    thread->SetFreeOnTerminate(true);
    thread->OnTerminate = [&](TObject*) { terminated = true; };
    thread->Start();
    // The object frees itself after OnTerminate (the leak checker would see it otherwise).
    for (int i = 0; i < 500 && !terminated; ++i)
        CheckSynchronize(10);
    EXPECT_TRUE(terminated);
}

} // namespace
