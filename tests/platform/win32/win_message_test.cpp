// Queues: posted-message order against paint and timers, timers on the manual clock, sending across
// threads, registered messages and hooks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/rtl/Clock.h"
#include "platform/win32/spy.h"
#include "platform/win32/sync.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wininput.h"
#include "tests/platform/win32/win_testing.h"

using namespace wintest;

namespace {

class WinMessage : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }
};

// The messages that come out of the queue, one PeekMessage at a time, dispatched as they come.
std::vector<std::string> Drain(int limit = 100) {
    std::vector<std::string> names;
    MSG msg;
    while (limit-- > 0 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        std::string name = win32::MessageName(msg.message);
        if (msg.message == WM_TIMER)
            name += "#" + std::to_string(msg.wParam);
        names.push_back(name);
        DispatchMessageW(&msg);
    }
    return names;
}

// Waits (bounded, without sleeping) until done is set, serving this thread's queue meanwhile.
bool ServeUntil(const std::atomic<bool>& done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG msg;
    while (!done && std::chrono::steady_clock::now() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        std::this_thread::yield();
    }
    return done;
}

TEST_F(WinMessage, PostedMessagesComeBeforePaintAndTimers) {
    HWND hwnd = Create(WithStyle(WS_POPUP | WS_VISIBLE));
    Pump();
    SetTimer(hwnd, 1, 100, nullptr);
    Clock::Advance(100);
    InvalidateRect(hwnd, nullptr, TRUE);
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    PostMessageW(nullptr, WM_USER + 2, 0, 0);
    PostMessageW(hwnd, WM_USER + 3, 0, 0);
    EXPECT_EQ(Drain(),
              (std::vector<std::string>{"WM_USER+1", "WM_USER+2", "WM_USER+3", "WM_PAINT", "WM_TIMER#1"}));
}

TEST_F(WinMessage, PeekFiltersAndQuit) {
    HWND a = Create(WithStyle(WS_POPUP));
    HWND b = Create(WithStyle(WS_POPUP));
    PostMessageW(a, WM_USER + 1, 0, 0);
    PostMessageW(b, WM_USER + 2, 0, 0);
    PostMessageW(a, WM_APP, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE));
    PostQuitMessage(3);
    EXPECT_EQ(Drain(), (std::vector<std::string>{"WM_USER+1", "WM_USER+2", "WM_QUIT"}));
    PostQuitMessage(5);
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x4321), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

int gTimerProcCalls = 0;
void CountingTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    ++gTimerProcCalls;
}

TEST_F(WinMessage, TimersFireInOrderOnTheManualClock) {
    HWND hwnd = Create(WithStyle(WS_POPUP));
    SetTimer(hwnd, 1, 300, nullptr);
    SetTimer(hwnd, 2, 100, nullptr);
    EXPECT_TRUE(Drain().empty());
    Clock::Advance(99);
    EXPECT_TRUE(Drain().empty());
    Clock::Advance(1);
    EXPECT_EQ(Drain(), std::vector<std::string>{"WM_TIMER#2"});
    Clock::Advance(200); // timer 2 fell behind: it fires once, then timer 1
    EXPECT_EQ(Drain(), (std::vector<std::string>{"WM_TIMER#2", "WM_TIMER#1"}));

    // Setting an id again restarts it.
    KillTimer(hwnd, 2);
    SetTimer(hwnd, 1, 300, nullptr);
    Clock::Advance(200);
    SetTimer(hwnd, 1, 300, nullptr);
    Clock::Advance(200);
    EXPECT_TRUE(Drain().empty());
    Clock::Advance(100);
    EXPECT_EQ(Drain(), std::vector<std::string>{"WM_TIMER#1"});
    EXPECT_TRUE(KillTimer(hwnd, 1));
    EXPECT_FALSE(KillTimer(hwnd, 1));
    Clock::Advance(1000);
    EXPECT_TRUE(Drain().empty());

    // A thread timer gets its id from the system; its procedure runs from DispatchMessage.
    gTimerProcCalls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, CountingTimerProc);
    ASSERT_NE(id, 0u);
    Clock::Advance(50);
    EXPECT_EQ(Drain().size(), 1u);
    EXPECT_EQ(gTimerProcCalls, 1);
    EXPECT_TRUE(KillTimer(nullptr, id));
    // Destroying the window ends its timers.
    SetTimer(hwnd, 9, 10, nullptr);
    DestroyWindow(hwnd);
    Clock::Advance(10);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WinMessage, SendMessageAcrossThreadsWaitsForTheOwner) {
    std::atomic<bool> inSend{false};
    std::atomic<DWORD> servingThread{0};
    Options options;
    options.style = WS_POPUP;
    options.handler = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER + 7) {
            inSend = InSendMessage() != FALSE;
            servingThread = GetCurrentThreadId();
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    };
    HWND hwnd = Create(options);
    DWORD mainThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::atomic<LRESULT> result{0};
    std::thread worker([&] {
        result = SendMessageW(hwnd, WM_USER + 7, 21, 0);
        done = true;
    });
    EXPECT_TRUE(ServeUntil(done));
    worker.join();
    EXPECT_EQ(result.load(), 42);
    EXPECT_TRUE(inSend.load());
    EXPECT_EQ(servingThread.load(), mainThread);
    // The same send on the owner's own thread calls the procedure directly.
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 7, 5, 0), 10);
    EXPECT_FALSE(inSend.load());
}

TEST_F(WinMessage, ReplyMessageReleasesTheSenderEarly) {
    std::atomic<bool> senderGotAnswer{false};
    std::atomic<bool> handlerSawAnswer{false};
    Options options;
    options.style = WS_POPUP;
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_USER + 8)
            return std::nullopt;
        EXPECT_TRUE(InSendMessageEx(nullptr) & ISMEX_SEND);
        EXPECT_TRUE(ReplyMessage(7));
        EXPECT_TRUE(InSendMessageEx(nullptr) & ISMEX_REPLIED);
        EXPECT_FALSE(ReplyMessage(8));
        // The sender runs on while this handler is still busy.
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!senderGotAnswer && std::chrono::steady_clock::now() < end)
            std::this_thread::yield();
        handlerSawAnswer = senderGotAnswer.load();
        return 9;
    };
    HWND hwnd = Create(options);
    std::atomic<LRESULT> result{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = SendMessageW(hwnd, WM_USER + 8, 0, 0);
        senderGotAnswer = true;
        done = true;
    });
    EXPECT_TRUE(ServeUntil(done));
    worker.join();
    EXPECT_EQ(result.load(), 7);
    EXPECT_TRUE(handlerSawAnswer.load());
}

TEST_F(WinMessage, SendsBothWaysBetweenThreadsDoNotDeadlock) {
    // The worker owns a window and sends to ours; while we wait for its answer we serve its send back.
    HWND mine = Create(WithStyle(WS_POPUP));
    std::atomic<HWND> theirs{nullptr};
    std::atomic<bool> quit{false};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        Options options;
        options.style = WS_POPUP;
        options.handler = [mine](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_USER + 1)
                return SendMessageW(mine, WM_GETTEXTLENGTH, 0, 0) + 100;
            return std::nullopt;
        };
        theirs = Create(options);
        MSG msg;
        while (!quit) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            std::this_thread::yield();
        }
        DestroyWindow(theirs);
        done = true;
    });
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!theirs && std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
    ASSERT_TRUE(theirs.load());
    SetWindowTextW(mine, u"abc");
    EXPECT_EQ(SendMessageW(theirs, WM_USER + 1, 0, 0), 103);
    // Another thread's window answers text queries from what it stores.
    WCHAR text[8];
    EXPECT_EQ(GetWindowTextW(mine, text, 8), 3);
    EXPECT_FALSE(DestroyWindow(theirs));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    quit = true;
    EXPECT_TRUE(ServeUntil(done));
    worker.join();
}

TEST_F(WinMessage, GetMessageWaitsForPostsAndTimersFromOtherThreads) {
    HWND hwnd = Create(WithStyle(WS_POPUP));
    DWORD mainThread = GetCurrentThreadId();
    SetTimer(hwnd, 4, 100, nullptr);
    std::atomic<int> stage{0};
    // The helper repeats its step until the main thread has seen it, and gives up with WM_QUIT after a
    // while, so that a fault fails the test instead of hanging it.
    std::thread helper([&] {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (stage < 2 && std::chrono::steady_clock::now() < end) {
            if (stage == 0)
                PostThreadMessageW(mainThread, WM_APP + 1, 0, 0);
            else
                Clock::Advance(100);
            std::this_thread::yield();
        }
        if (stage < 2)
            PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
    });
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_APP + 1u);
    EXPECT_EQ(msg.hwnd, nullptr);
    while (PeekMessageW(&msg, nullptr, WM_APP + 1, WM_APP + 1, PM_REMOVE)) {
    }
    stage = 1;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, WM_TIMER, WM_TIMER));
    EXPECT_EQ(msg.message, WM_TIMER);
    EXPECT_EQ(msg.wParam, 4u);
    stage = 2;
    helper.join();
    while (PeekMessageW(&msg, nullptr, WM_APP + 1, WM_APP + 1, PM_REMOVE)) {
    }
}

TEST_F(WinMessage, SendMessageTimeoutGivesUpOnTheManualClock) {
    // The owner thread is busy and does not read its queue; a helper moves the clock on.
    std::atomic<HWND> busy{nullptr};
    std::atomic<bool> release{false};
    std::thread owner([&] {
        busy = Create(WithStyle(WS_POPUP));
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!release && std::chrono::steady_clock::now() < end)
            std::this_thread::yield();
        DestroyWindow(busy);
    });
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!busy && std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
    ASSERT_TRUE(busy.load());
    std::atomic<bool> returned{false};
    std::thread clock([&] {
        auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!returned && std::chrono::steady_clock::now() < stop) {
            Clock::Advance(10);
            std::this_thread::yield();
        }
    });
    DWORD_PTR result = 99;
    EXPECT_EQ(SendMessageTimeoutW(busy, WM_USER, 0, 0, SMTO_NORMAL, 100, &result), 0);
    EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
    EXPECT_EQ(result, 99u);
    returned = true;
    release = true;
    clock.join();
    owner.join();
}

TEST_F(WinMessage, WindowsOfAnEndedThreadGoWithIt) {
    HWND orphan = nullptr;
    std::thread worker([&] { orphan = Create(WithStyle(WS_POPUP)); });
    worker.join();
    EXPECT_FALSE(IsWindow(orphan));
    EXPECT_EQ(SendMessageW(orphan, WM_USER, 0, 0), 0);
}

TEST_F(WinMessage, MsgWaitServesSendsAndWakesForMessages) {
    std::atomic<bool> served{false};
    Options options;
    options.style = WS_POPUP;
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER + 3) {
            served = true;
            return 1;
        }
        return std::nullopt;
    };
    HWND hwnd = Create(options);
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // The helper needs our thread to serve its send before it signals the event we wait for: a wait that
    // did not serve sends would never end.
    std::thread helper([&] {
        SendMessageW(hwnd, WM_USER + 3, 0, 0);
        SetEvent(finished);
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_ALLINPUT), WAIT_OBJECT_0);
    helper.join();
    EXPECT_TRUE(served.load());

    ResetEvent(finished);
    DWORD mainThread = GetCurrentThreadId();
    std::thread poster([&] { PostThreadMessageW(mainThread, WM_APP + 5, 0, 0); });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_POSTMESSAGE), WAIT_OBJECT_0 + 1);
    poster.join();
    EXPECT_EQ(Drain(), std::vector<std::string>{"WM_APP+5"});
    // A finite wait ends when the manual clock passes it.
    std::atomic<bool> waiting{true};
    std::thread clock([&] {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (waiting && std::chrono::steady_clock::now() < end) {
            Clock::Advance(10);
            std::this_thread::yield();
        }
    });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &finished, FALSE, 50, QS_POSTMESSAGE), WAIT_TIMEOUT);
    waiting = false;
    clock.join();
    CloseHandle(finished);
}

TEST_F(WinMessage, RegisteredMessagesKeepTheirNumbers) {
    UINT a = RegisterWindowMessageW(u"ZelmorThemeChanged");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageW(u"zelmorthemechanged"), a);
    EXPECT_NE(RegisterWindowMessageW(u"ZelmorOther"), a);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
}

std::vector<std::string>* gHookLog = nullptr;
HHOOK gFirst = nullptr;
HHOOK gSecond = nullptr;

LRESULT FirstCallHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (info->message >= WM_USER)
        gHookLog->push_back("first " + win32::MessageName(info->message));
    return CallNextHookEx(gFirst, code, wParam, lParam);
}

LRESULT SecondCallHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (info->message >= WM_USER)
        gHookLog->push_back("second " + win32::MessageName(info->message));
    return CallNextHookEx(gSecond, code, wParam, lParam);
}

LRESULT ReturnHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (info->message >= WM_USER)
        gHookLog->push_back("returned " + std::to_string(info->lResult));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg->message >= WM_USER)
        gHookLog->push_back("got " + win32::MessageName(msg->message) +
                            (wParam == PM_REMOVE ? " removed" : " peeked"));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT SwallowKeyHook(int, WPARAM wParam, LPARAM) {
    return wParam == 'X' ? 1 : 0;
}

TEST_F(WinMessage, HooksSeeSentAndRetrievedMessages) {
    std::vector<std::string> log;
    gHookLog = &log;
    Options options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER + 1)
            return 5;
        return std::nullopt;
    };
    HWND hwnd = Create(options);
    Pump();
    gFirst = SetWindowsHookExW(WH_CALLWNDPROC, FirstCallHook, nullptr, GetCurrentThreadId());
    gSecond = SetWindowsHookExW(WH_CALLWNDPROC, SecondCallHook, nullptr, GetCurrentThreadId());
    HHOOK ret = SetWindowsHookExW(WH_CALLWNDPROCRET, ReturnHook, nullptr, GetCurrentThreadId());
    HHOOK get = SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(gFirst && gSecond && ret && get);
    SendMessageW(hwnd, WM_USER + 1, 0, 0);
    PostMessageW(hwnd, WM_USER + 2, 0, 0);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_NOREMOVE);
    Pump();
    // The newest hook runs first; posted messages reach only WH_GETMESSAGE.
    EXPECT_EQ(log, (std::vector<std::string>{"second WM_USER+1", "first WM_USER+1", "returned 5",
                                             "got WM_USER+2 peeked", "got WM_USER+2 removed"}));
    EXPECT_TRUE(UnhookWindowsHookEx(gFirst));
    EXPECT_TRUE(UnhookWindowsHookEx(gSecond));
    EXPECT_TRUE(UnhookWindowsHookEx(ret));
    EXPECT_TRUE(UnhookWindowsHookEx(get));
    EXPECT_FALSE(UnhookWindowsHookEx(get));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HOOK_HANDLE);
    log.clear();
    SendMessageW(hwnd, WM_USER + 1, 0, 0);
    EXPECT_TRUE(log.empty());

    // A keyboard hook that answers nonzero takes the key away from the window.
    SetFocus(hwnd);
    HHOOK keys = SetWindowsHookExW(WH_KEYBOARD, SwallowKeyHook, nullptr, 0);
    MessageLog messages;
    messages.Name(hwnd, "w");
    win32::input::PressKey('X');
    win32::input::PressKey('Y');
    Pump();
    EXPECT_EQ(messages.Messages("w"), (std::vector<std::string>{"WM_KEYDOWN", "WM_CHAR", "WM_KEYUP"}));
    EXPECT_EQ(messages.Records()[0].wParam, static_cast<WPARAM>('Y'));
    UnhookWindowsHookEx(keys);
    EXPECT_EQ(SetWindowsHookExW(99, SwallowKeyHook, nullptr, 0), nullptr);
    gHookLog = nullptr;
}

HWND gFrame = nullptr;
HHOOK gFollow = nullptr;
int gFollowCalls = 0;

// Keeps gFrame beside whatever window moves, the way a floating frame follows its cell.
LRESULT FollowHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (info->message == WM_WINDOWPOSCHANGING || info->message == WM_WINDOWPOSCHANGED) {
        ++gFollowCalls;
        SetWindowPos(gFrame, nullptr, 40, 50, 20, 20, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return CallNextHookEx(gFollow, code, wParam, lParam);
}

TEST_F(WinMessage, HookThatMovesAWindowFromWithinItsOwnCallEnds) {
    // Moving the frame sends its own WM_WINDOWPOSCHANGING, which comes back into the hook: the nesting
    // stops at a bounded depth instead of running the stack out.
    Options options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.rect = RECT{0, 0, 100, 100};
    HWND main = Create(options);
    options.rect = RECT{0, 0, 10, 10};
    gFrame = Create(options);
    gFollowCalls = 0;
    gFollow = SetWindowsHookExW(WH_CALLWNDPROC, FollowHook, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(gFollow);
    SetWindowPos(main, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(UnhookWindowsHookEx(gFollow));
    RECT frame;
    GetWindowRect(gFrame, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 50);
    EXPECT_GT(gFollowCalls, 1);
    EXPECT_LT(gFollowCalls, 1000);
    RECT moved;
    GetWindowRect(main, &moved);
    EXPECT_EQ(moved.left, 5);
    // The hook runs again for the next message once the nesting has unwound.
    gFollowCalls = 0;
    gFollow = SetWindowsHookExW(WH_CALLWNDPROC, FollowHook, nullptr, GetCurrentThreadId());
    SetWindowPos(main, nullptr, 6, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_GT(gFollowCalls, 0);
    UnhookWindowsHookEx(gFollow);
}

} // namespace
