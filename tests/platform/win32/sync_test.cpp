// Events and waits: reset modes, waiting for any or all, timeouts and sleeps on the manual clock, errors.
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"

namespace {

struct EventCase {
    const char* name;
    BOOL manualReset;
    BOOL initialState;
    DWORD firstWait;  // WaitForSingleObject(event, 0) right after creation
    DWORD secondWait; // and again
};

class EventModes : public testing::TestWithParam<EventCase> {};

TEST_P(EventModes, SignalStateFollowsResetMode) {
    const EventCase& c = GetParam();
    HANDLE event = CreateEventW(nullptr, c.manualReset, c.initialState, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), c.firstWait);
    EXPECT_EQ(WaitForSingleObject(event, 0), c.secondWait);
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), c.manualReset ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(event));
}

INSTANTIATE_TEST_SUITE_P(Sync, EventModes,
                         testing::Values(EventCase{"ManualSignalled", TRUE, TRUE, WAIT_OBJECT_0,
                                                   WAIT_OBJECT_0},
                                         EventCase{"ManualClear", TRUE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
                                         EventCase{"AutoSignalled", FALSE, TRUE, WAIT_OBJECT_0, WAIT_TIMEOUT},
                                         EventCase{"AutoClear", FALSE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT}),
                         [](const testing::TestParamInfo<EventCase>& info) { return info.param.name; });

TEST(Sync, WaitAnyAnswersTheLowestSignalledAndConsumesOnlyIt) {
    HANDLE events[3] = {CreateEventW(nullptr, FALSE, FALSE, nullptr),
                        CreateEventW(nullptr, FALSE, TRUE, nullptr),
                        CreateEventW(nullptr, FALSE, TRUE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_TIMEOUT);
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST(Sync, WaitAllConsumesNothingUntilEveryObjectIsSignalled) {
    HANDLE events[2] = {CreateEventW(nullptr, FALSE, TRUE, nullptr),
                        CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_TIMEOUT);
    // The first auto-reset event must still be signalled: a partial wait for all takes nothing.
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(events[1], 0), WAIT_TIMEOUT);
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST(Sync, InfiniteWaitEndsWhenAnotherThreadSetsTheEvent) {
    HANDLE events[2] = {CreateEventW(nullptr, TRUE, FALSE, nullptr),
                        CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<DWORD> result{WAIT_FAILED};
    std::thread waiter([&] { result = WaitForMultipleObjects(2, events, TRUE, INFINITE); });
    SetEvent(events[1]);
    SetEvent(events[0]);
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_OBJECT_0);
    for (HANDLE event : events)
        CloseHandle(event);
}

TEST(Sync, FiniteWaitTimesOutOnlyAsTheManualClockAdvances) {
    ASSERT_TRUE(Clock::IsManual());
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> done{false};
    std::atomic<DWORD> result{WAIT_FAILED};
    const UInt64 start = Clock::TickCount64();
    std::thread waiter([&] {
        result = WaitForSingleObject(event, 5000);
        done = true;
    });
    // The waiter reads the clock when it starts, which may be after some of these steps: keep going
    // until it gives up, and check that the clock had to pass its timeout first.
    while (!done) {
        Clock::Advance(250);
        std::this_thread::yield();
    }
    waiter.join();
    EXPECT_EQ(result.load(), WAIT_TIMEOUT);
    EXPECT_GE(Clock::TickCount64() - start, 5000u);
    CloseHandle(event);
}

TEST(Sync, SleepEndsOnlyWhenTheManualClockHasPassedIt) {
    ASSERT_TRUE(Clock::IsManual());
    Sleep(0); // gives up the time slice and returns at once
    std::atomic<bool> done{false};
    const UInt64 start = Clock::TickCount64();
    std::thread sleeper([&] {
        Sleep(700);
        done = true;
    });
    while (!done) {
        Clock::Advance(100);
        std::this_thread::yield();
    }
    sleeper.join();
    EXPECT_GE(Clock::TickCount64() - start, 700u);
}

TEST(Sync, NamedEventIsSharedWithinTheProcess) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, u"zelmor-test-event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateEventW(nullptr, FALSE, TRUE, u"zelmor-test-event");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    ASSERT_NE(first, second);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT) << "the existing event's state is kept";
    SetEvent(second);
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
    CloseHandle(first);
    CloseHandle(second);
    // Once every handle is closed the name is free again.
    HANDLE third = CreateEventW(nullptr, TRUE, FALSE, u"zelmor-test-event");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    CloseHandle(third);
}

TEST(Sync, BadHandlesAndArgumentsFail) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE closed = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(closed));

    auto expectFailure = [](DWORD result, DWORD error) {
        EXPECT_EQ(result, WAIT_FAILED);
        EXPECT_EQ(GetLastError(), error);
    };
    expectFailure(WaitForSingleObject(closed, 0), ERROR_INVALID_HANDLE);
    expectFailure(WaitForSingleObject(nullptr, 0), ERROR_INVALID_HANDLE);
    expectFailure(WaitForSingleObject(INVALID_HANDLE_VALUE, 0), ERROR_INVALID_HANDLE);
    HANDLE twice[2] = {event, event};
    expectFailure(WaitForMultipleObjects(2, twice, TRUE, 0), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), WAIT_OBJECT_0)
        << "the same object twice is fine for any";
    expectFailure(WaitForMultipleObjects(0, twice, FALSE, 0), ERROR_INVALID_PARAMETER);
    expectFailure(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, twice, FALSE, 0), ERROR_INVALID_PARAMETER);
    expectFailure(WaitForMultipleObjects(1, nullptr, FALSE, 0), ERROR_INVALID_PARAMETER);

    EXPECT_FALSE(SetEvent(closed));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(ResetEvent(closed));
    EXPECT_FALSE(CloseHandle(closed));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_TRUE(CloseHandle(event));
}

} // namespace
