// Message queues: sending (directly on the window's thread, queued and waited for across threads),
// posting, reading in Win32 order (sent, posted, input, quit, paint, timer), dispatch and translation.
#include <algorithm>
#include <atomic>
#include <unordered_map>

#include "platform/backend/windowing.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/spy.h"
#include "platform/win32/sync.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

const Trace::Channel TraceMessage("message");

namespace {

struct QueueRegistry {
    std::mutex lock;
    std::unordered_map<DWORD, std::weak_ptr<ThreadQueue>> queues;
};

QueueRegistry& Registry() {
    static QueueRegistry registry;
    return registry;
}

std::atomic<DWORD> gNextThreadId{0x104};

void Reply(SentMessage& sent, LRESULT result) {
    if (!sent.sender)
        return; // SendNotifyMessage: nobody waits
    {
        std::lock_guard<std::mutex> guard(sent.sender->lock);
        if (sent.replied || sent.notify)
            return;
        sent.result = result;
        sent.replied = true;
        sent.sender->woken = true;
    }
    sent.sender->wake.notify_all();
    if (backend::HostWindowsAvailable())
        backend::WakeEventLoop();
}

// Ends the thread's queue: sends still waiting are answered with 0, so that no sender waits for ever.
struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder() {
        if (!queue)
            return;
        FreeThreadWindows(queue->threadId);
        {
            std::lock_guard<std::mutex> guard(Registry().lock);
            Registry().queues.erase(queue->threadId);
        }
        std::deque<std::shared_ptr<SentMessage>> pending;
        {
            std::lock_guard<std::mutex> guard(queue->lock);
            pending.swap(queue->sent);
            queue->ended = true;
        }
        for (auto& sent : pending)
            Reply(*sent, 0);
        HANDLE arrival;
        {
            std::lock_guard<std::mutex> guard(queue->lock);
            arrival = queue->arrival;
            queue->arrival = nullptr;
        }
        if (arrival)
            CloseHandle(arrival);
    }
};

thread_local DWORD tThreadId = 0;
thread_local QueueHolder tQueue;

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0)
        return true;
    if (filterMin <= filterMax)
        return message >= filterMin && message <= filterMax;
    return message >= filterMin || message <= filterMax;
}

bool MatchesWindow(HWND msgWindow, HWND filter) {
    if (!filter)
        return true;
    if (filter == reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)))
        return msgWindow == nullptr;
    return msgWindow == filter || IsChild(filter, msgWindow);
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// The hooks may drop input messages the thread reads; true when the message is to be kept.
bool RunInputHooks(MSG& msg, bool remove) {
    int code = remove ? HC_ACTION : HC_NOREMOVE;
    if (IsMouseMessage(msg.message) && HasHooks(WH_MOUSE)) {
        MOUSEHOOKSTRUCT info{msg.pt, msg.hwnd, static_cast<UINT>(HTCLIENT), 0};
        if (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)
            info.wHitTestCode = static_cast<UINT>(msg.wParam);
        if (CallHooks(WH_MOUSE, code, msg.message, reinterpret_cast<LPARAM>(&info)))
            return false;
    }
    if ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN ||
         msg.message == WM_SYSKEYUP) &&
        HasHooks(WH_KEYBOARD)) {
        if (CallHooks(WH_KEYBOARD, code, msg.wParam, msg.lParam))
            return false;
    }
    return true;
}

bool FeedTracker(const MSG& msg) {
    Tracker* tracker = ActiveTracker();
    if (!tracker)
        return false;
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        tracker->MouseMove(msg.pt);
        return true;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        tracker->ButtonUp(msg.pt);
        return true;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (msg.wParam == static_cast<WPARAM>(VK_ESCAPE)) {
            tracker->Cancel();
            return true;
        }
        return false;
    default:
        return false;
    }
}

enum class Found { None, Queued, Generated };

// Looks for the next message in Win32 order. Posted and input messages are taken out under the queue's
// lock; paint and timer messages are generated.
Found TakeQueued(ThreadQueue& queue, MSG& msg, HWND filter, UINT filterMin, UINT filterMax, bool remove,
                 bool& fromInput) {
    std::lock_guard<std::mutex> guard(queue.lock);
    for (std::deque<MSG>* list : {&queue.posted, &queue.input}) {
        for (auto it = list->begin(); it != list->end(); ++it) {
            if (!InRange(it->message, filterMin, filterMax) || !MatchesWindow(it->hwnd, filter))
                continue;
            msg = *it;
            fromInput = list == &queue.input;
            if (remove)
                list->erase(it);
            return Found::Queued;
        }
    }
    if (queue.quit) {
        msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, MessageTick(), CursorPosition()};
        if (remove)
            queue.quit = false;
        return Found::Queued;
    }
    return Found::None;
}

bool NextMessage(MSG& msg, HWND filter, UINT filterMin, UINT filterMax, UINT flags, bool wait) {
    ThreadQueue& queue = CurrentQueue();
    bool remove = (flags & PM_REMOVE) != 0;
    for (;;) {
        while (ServeSentMessages()) {
        }
        bool fromInput = false;
        bool found = TakeQueued(queue, msg, filter, filterMin, filterMax, remove, fromInput) != Found::None;
        if (!found && InRange(WM_PAINT, filterMin, filterMax)) {
            if (HWND paint = FindWindowToPaint(queue.threadId, filter)) {
                msg = MSG{paint, WM_PAINT, 0, 0, MessageTick(), CursorPosition()};
                found = true;
            }
        }
        if (!found)
            found = TakeDueTimer(queue.threadId, filter, filterMin, filterMax, remove, msg);
        if (found) {
            // While the system tracks the mouse (a scroll bar, a moving or sizing window) it reads the
            // input queued before it started, as Win32's modal loops read it.
            if (fromInput && remove && FeedTracker(msg))
                continue;
            if (fromInput && !RunInputHooks(msg, remove)) {
                if (!remove) {
                    // A hook refused a message left in the queue: take it out, as Win32 does.
                    std::lock_guard<std::mutex> guard(queue.lock);
                    auto it = std::find_if(queue.input.begin(), queue.input.end(), [&](const MSG& m) {
                        return m.hwnd == msg.hwnd && m.message == msg.message && m.time == msg.time &&
                               m.wParam == msg.wParam && m.lParam == msg.lParam;
                    });
                    if (it != queue.input.end())
                        queue.input.erase(it);
                }
                continue;
            }
            queue.messageTime = msg.time;
            queue.messagePos = msg.pt;
            if (fromInput && remove)
                UpdateKeyStateFromMessage(msg);
            if (HasHooks(WH_GETMESSAGE))
                CallHooks(WH_GETMESSAGE, HC_ACTION, remove ? PM_REMOVE : PM_NOREMOVE,
                          reinterpret_cast<LPARAM>(&msg));
            return true;
        }
        if (!wait)
            return false;
        Int64 delay = NextTimerDelay(queue.threadId);
        if (Clock::IsManual())
            delay = -1; // the manual clock wakes every queue when it is advanced
        if (backend::HostWindowsAvailable() && backend::IsGuiThread()) {
            {
                std::lock_guard<std::mutex> guard(queue.lock);
                if (queue.woken) {
                    queue.woken = false;
                    continue;
                }
            }
            backend::WaitForEvents(delay < 0 ? -1 : static_cast<int>(std::min<Int64>(delay, 0x7FFFFFFF)));
            std::lock_guard<std::mutex> guard(queue.lock);
            queue.woken = false;
        } else {
            std::unique_lock<std::mutex> guard(queue.lock);
            if (delay < 0)
                queue.wake.wait(guard, [&] { return queue.woken; });
            else
                queue.wake.wait_for(guard, std::chrono::milliseconds(delay), [&] { return queue.woken; });
            queue.woken = false;
        }
    }
}

void QueueMessage(ThreadQueue& queue, const MSG& msg, bool input) {
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        std::deque<MSG>& list = input ? queue.input : queue.posted;
        // Mouse moves are merged, as Win32 merges them: only the latest position matters.
        if (input && msg.message == WM_MOUSEMOVE && !list.empty() && list.back().message == WM_MOUSEMOVE &&
            list.back().hwnd == msg.hwnd && list.back().wParam == msg.wParam)
            list.back() = msg;
        else
            list.push_back(msg);
    }
    WakeQueue(queue);
}

struct MessageNames {
    std::mutex lock;
    std::unordered_map<String, UINT> numbers;
    UINT next = 0xC000;
};

MessageNames& RegisteredMessages() {
    static MessageNames names;
    return names;
}

} // namespace

DWORD CurrentThreadId() {
    if (!tThreadId)
        tThreadId = gNextThreadId.fetch_add(4);
    return tThreadId;
}

ThreadQueue& CurrentQueue() {
    return *CurrentQueueRef();
}

std::shared_ptr<ThreadQueue> CurrentQueueRef() {
    if (!tQueue.queue) {
        auto queue = std::make_shared<ThreadQueue>();
        queue->threadId = CurrentThreadId();
        std::lock_guard<std::mutex> guard(Registry().lock);
        Registry().queues[queue->threadId] = queue;
        tQueue.queue = queue;
    }
    return tQueue.queue;
}

std::shared_ptr<ThreadQueue> FindQueue(DWORD threadId) {
    std::lock_guard<std::mutex> guard(Registry().lock);
    auto it = Registry().queues.find(threadId);
    return it == Registry().queues.end() ? nullptr : it->second.lock();
}

void WakeQueue(ThreadQueue& queue) {
    HANDLE arrival;
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        queue.woken = true;
        arrival = queue.arrival;
    }
    queue.wake.notify_all();
    if (arrival)
        SetEvent(arrival);
    if (backend::HostWindowsAvailable())
        backend::WakeEventLoop();
}

void WakeAllQueues() {
    std::vector<std::shared_ptr<ThreadQueue>> queues;
    {
        std::lock_guard<std::mutex> guard(Registry().lock);
        for (auto& entry : Registry().queues)
            if (auto queue = entry.second.lock())
                queues.push_back(queue);
    }
    for (auto& queue : queues)
        WakeQueue(*queue);
}

bool ServeSentMessages() {
    ThreadQueue& queue = CurrentQueue();
    std::shared_ptr<SentMessage> sent;
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        if (queue.sent.empty())
            return false;
        sent = queue.sent.front();
        queue.sent.pop_front();
    }
    queue.serving.push_back(sent);
    LRESULT result = 0;
    if (IsWindow(sent->hwnd))
        result = CallWindowProcedure(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    queue.serving.pop_back();
    Reply(*sent, result);
    return true;
}

DWORD MessageTick() {
    return static_cast<DWORD>(Clock::TickCount64());
}

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(hwnd);
        if (!window)
            return 0;
        proc = window->wndProc;
    }
    ThreadQueue& queue = CurrentQueue();
    bool fromOtherThread = !queue.serving.empty() && queue.serving.back()->hwnd == hwnd &&
                           queue.serving.back()->message == message;
    if (HasHooks(WH_CALLWNDPROC)) {
        CWPSTRUCT info{lParam, wParam, message, hwnd};
        CallHooks(WH_CALLWNDPROC, HC_ACTION, fromOtherThread ? 0 : 1, reinterpret_cast<LPARAM>(&info));
    }
    ZTRACE(TraceMessage, "%p %s sent, w=%lx l=%lx", static_cast<void*>(hwnd),
           MessageName(message, hwnd).c_str(), static_cast<unsigned long>(wParam),
           static_cast<unsigned long>(lParam));
    LRESULT result = proc ? proc(hwnd, message, wParam, lParam) : 0;
    if (HasHooks(WH_CALLWNDPROCRET)) {
        CWPRETSTRUCT info{result, lParam, wParam, message, hwnd};
        CallHooks(WH_CALLWNDPROCRET, HC_ACTION, fromOtherThread ? 0 : 1, reinterpret_cast<LPARAM>(&info));
    }
    return result;
}

void PostInputMessage(const MSG& msg) {
    std::shared_ptr<ThreadQueue> queue;
    {
        TreeGuard guard(TreeLock());
        Window* window = Lookup(msg.hwnd);
        if (!window)
            return;
        queue = window->queue;
    }
    ZTRACE(TraceMessage, "%p %s input, w=%lx l=%lx", static_cast<void*>(msg.hwnd),
           MessageName(msg.message, msg.hwnd).c_str(), static_cast<unsigned long>(msg.wParam),
           static_cast<unsigned long>(msg.lParam));
    QueueMessage(*queue, msg, true);
}

void SendToAllTopLevels(UINT message, WPARAM wParam, LPARAM lParam) {
    std::vector<HWND> windows;
    {
        TreeGuard guard(TreeLock());
        for (Window* top : Desktop()->children)
            windows.push_back(top->handle);
    }
    for (HWND hwnd : windows)
        SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, 5000, nullptr);
}

} // namespace win32

using namespace win32;

DWORD GetCurrentThreadId() {
    return CurrentThreadId();
}

namespace {

// Queues a send to the window's thread and waits for its answer, serving sends to this thread meanwhile.
// timeout is in milliseconds of the platform clock, or -1.
bool SendAcross(const std::shared_ptr<ThreadQueue>& target, HWND hwnd, UINT message, WPARAM wParam,
                LPARAM lParam, Int64 timeout, LRESULT& result) {
    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->sender = CurrentQueueRef();
    {
        std::lock_guard<std::mutex> guard(target->lock);
        // A window whose thread has ended answers nothing: the send fails at once rather than waiting
        // for ever.
        if (target->ended) {
            result = 0;
            return true;
        }
        target->sent.push_back(sent);
    }
    WakeQueue(*target);
    ThreadQueue& own = *sent->sender;
    UInt64 deadline = timeout < 0 ? 0 : Clock::TickCount64() + static_cast<UInt64>(timeout);
    for (;;) {
        while (ServeSentMessages()) {
        }
        std::unique_lock<std::mutex> guard(own.lock);
        if (sent->replied) {
            result = sent->result;
            return true;
        }
        if (!own.sent.empty())
            continue;
        if (timeout >= 0 && Clock::TickCount64() >= deadline) {
            // The receiver may still serve it later; its answer then goes nowhere.
            sent->notify = true;
            return false;
        }
        if (!own.woken) {
            if (timeout >= 0 && !Clock::IsManual())
                own.wake.wait_for(guard, std::chrono::milliseconds(deadline - Clock::TickCount64()));
            else
                own.wake.wait(guard, [&] { return own.woken; });
        }
        own.woken = false;
    }
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Int64 timeout, bool* timedOut) {
    std::shared_ptr<ThreadQueue> target;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return 0;
        if (!OnOwnThread(window))
            target = window->queue;
    }
    if (!target)
        return CallWindowProcedure(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    bool answered = SendAcross(target, hwnd, message, wParam, lParam, timeout, result);
    if (timedOut)
        *timedOut = !answered;
    return result;
}

} // namespace

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        SendToAllTopLevels(message, wParam, lParam);
        return 0;
    }
    return Send(hwnd, message, wParam, lParam, -1, nullptr);
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT, UINT timeout,
                            DWORD_PTR* result) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    bool timedOut = false;
    LRESULT value = Send(hwnd, message, wParam, lParam, timeout, &timedOut);
    if (timedOut) {
        SetLastError(ERROR_TIMEOUT);
        return 0;
    }
    if (result)
        *result = static_cast<DWORD_PTR>(value);
    return 1;
}

BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<ThreadQueue> target;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        if (!OnOwnThread(window))
            target = window->queue;
    }
    if (!target) {
        CallWindowProcedure(hwnd, message, wParam, lParam);
        return TRUE;
    }
    auto sent = std::make_shared<SentMessage>();
    sent->hwnd = hwnd;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->notify = true;
    {
        std::lock_guard<std::mutex> guard(target->lock);
        target->sent.push_back(sent);
    }
    WakeQueue(*target);
    return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> windows;
        {
            TreeGuard guard(TreeLock());
            for (Window* top : Desktop()->children)
                windows.push_back(top->handle);
        }
        for (HWND top : windows)
            PostMessageW(top, message, wParam, lParam);
        return TRUE;
    }
    std::shared_ptr<ThreadQueue> queue;
    if (!hwnd) {
        queue = CurrentQueueRef();
    } else {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return FALSE;
        queue = window->queue;
    }
    ZTRACE(TraceMessage, "%p %s posted, w=%lx l=%lx", static_cast<void*>(hwnd),
           MessageName(message, hwnd).c_str(), static_cast<unsigned long>(wParam),
           static_cast<unsigned long>(lParam));
    QueueMessage(*queue, MSG{hwnd, message, wParam, lParam, MessageTick(), CursorPosition()}, false);
    return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<ThreadQueue> queue = FindQueue(threadId);
    if (!queue) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    QueueMessage(*queue, MSG{nullptr, message, wParam, lParam, MessageTick(), CursorPosition()}, false);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    ThreadQueue& queue = CurrentQueue();
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        queue.quit = true;
        queue.quitCode = exitCode;
    }
    WakeQueue(queue);
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && hwnd != reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)) && !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    NextMessage(*msg, hwnd, filterMin, filterMax, PM_REMOVE, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG local;
    return NextMessage(msg ? *msg : local, hwnd, filterMin, filterMax, removeFlags, false) ? TRUE : FALSE;
}

BOOL WaitMessage() {
    MSG msg;
    NextMessage(msg, nullptr, 0, 0, PM_NOREMOVE, true);
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg)
        return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)
        return msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP;
    Char c;
    bool dead = false;
    if (LOWORD(msg->wParam) == VK_PACKET)
        c = static_cast<Char>(HIWORD(msg->wParam));
    else
        c = CharFromKey(msg->wParam, dead);
    if (c) {
        UINT message = msg->message == WM_KEYDOWN ? (dead ? WM_DEADCHAR : WM_CHAR)
                                                  : (dead ? WM_SYSDEADCHAR : WM_SYSCHAR);
        PostMessageW(msg->hwnd, message, c, msg->lParam);
    }
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam) {
        // The timer procedure is called in place of the window's.
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        proc(msg->hwnd, msg->message, msg->wParam, MessageTick());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    WNDPROC proc;
    {
        TreeGuard guard(TreeLock());
        Window* window = Check(msg->hwnd);
        if (!window)
            return 0;
        if (!OnOwnThread(window)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        proc = window->wndProc;
    }
    ZTRACE(TraceMessage, "%p %s dispatched, w=%lx l=%lx", static_cast<void*>(msg->hwnd),
           MessageName(msg->message, msg->hwnd).c_str(), static_cast<unsigned long>(msg->wParam),
           static_cast<unsigned long>(msg->lParam));
    return proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

UINT RegisterWindowMessageW(LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    MessageNames& names = RegisteredMessages();
    std::lock_guard<std::mutex> guard(names.lock);
    String key = LowerASCII(name);
    auto it = names.numbers.find(key);
    if (it != names.numbers.end())
        return it->second;
    if (names.next > 0xFFFF) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    UINT number = names.next++;
    names.numbers[key] = number;
    return number;
}

BOOL InSendMessage() {
    ThreadQueue& queue = CurrentQueue();
    return !queue.serving.empty() ? TRUE : FALSE;
}

DWORD InSendMessageEx(LPVOID) {
    ThreadQueue& queue = CurrentQueue();
    if (queue.serving.empty())
        return ISMEX_NOSEND;
    SentMessage& sent = *queue.serving.back();
    if (!sent.sender)
        return 0x00000002; // ISMEX_NOTIFY
    bool replied;
    {
        std::lock_guard<std::mutex> guard(sent.sender->lock);
        replied = sent.replied;
    }
    return ISMEX_SEND | (replied ? ISMEX_REPLIED : 0);
}

BOOL ReplyMessage(LRESULT result) {
    ThreadQueue& queue = CurrentQueue();
    if (queue.serving.empty())
        return FALSE;
    SentMessage& sent = *queue.serving.back();
    if (!sent.sender)
        return FALSE;
    {
        std::lock_guard<std::mutex> guard(sent.sender->lock);
        if (sent.replied || sent.notify)
            return FALSE;
    }
    Reply(sent, result);
    return TRUE;
}

DWORD GetMessageTime() {
    return CurrentQueue().messageTime;
}

DWORD GetMessagePos() {
    POINT p = CurrentQueue().messagePos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

LPARAM GetMessageExtraInfo() {
    return 0;
}

DWORD GetQueueStatus(UINT flags) {
    ThreadQueue& queue = CurrentQueue();
    DWORD status = 0;
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        if (!queue.posted.empty())
            status |= QS_POSTMESSAGE;
        if (!queue.sent.empty())
            status |= QS_SENDMESSAGE;
        for (const MSG& msg : queue.input)
            status |= IsKeyMessage(msg.message)     ? QS_KEY
                      : msg.message == WM_MOUSEMOVE ? QS_MOUSEMOVE
                                                    : QS_MOUSEBUTTON;
    }
    if (FindWindowToPaint(queue.threadId, nullptr))
        status |= QS_PAINT;
    if (NextTimerDelay(queue.threadId) == 0)
        status |= QS_TIMER;
    status &= flags;
    return (status << 16) | status;
}

BOOL GetInputState() {
    return (GetQueueStatus(QS_INPUT) & QS_INPUT) != 0;
}

DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
    if (count >= MAXIMUM_WAIT_OBJECTS || (count && !handles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    ThreadQueue& queue = CurrentQueue();
    {
        std::lock_guard<std::mutex> guard(queue.lock);
        if (!queue.arrival)
            queue.arrival = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    bool waitAll = (flags & MWMO_WAITALL) != 0;
    // Sends from other threads are served while waiting, as Win32 serves them.
    while (ServeSentMessages()) {
    }
    if (!waitAll && (GetQueueStatus(wakeMask) & 0xFFFF))
        return WAIT_OBJECT_0 + count;
    std::vector<HANDLE> all(handles, handles + count);
    if (waitAll) {
        // Every object, then a message: wait for the objects first.
        DWORD result = count ? WaitForMultipleObjects(count, all.data(), TRUE, milliseconds) : WAIT_OBJECT_0;
        if (result != WAIT_OBJECT_0)
            return result;
        return WAIT_OBJECT_0 + count;
    }
    all.push_back(queue.arrival);
    UInt64 start = Clock::TickCount64();
    for (;;) {
        DWORD left = milliseconds;
        if (milliseconds != INFINITE) {
            UInt64 spent = Clock::TickCount64() - start;
            left = spent >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - spent);
        }
        DWORD result = WaitForMultipleObjects(count + 1, all.data(), FALSE, left);
        if (result != WAIT_OBJECT_0 + count)
            return result;
        // Something arrived: a send is served here; anything else of the mask ends the wait.
        while (ServeSentMessages()) {
        }
        if (GetQueueStatus(wakeMask) & 0xFFFF)
            return WAIT_OBJECT_0 + count;
    }
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask) {
    return MsgWaitForMultipleObjectsEx(count, handles, milliseconds, wakeMask, waitAll ? MWMO_WAITALL : 0);
}
