// TThread and the hand-over of calls from other threads to the main thread.
#include "platform/framework/Thread.h"

#include <chrono>
#include <deque>
#include <memory>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"
#include "platform/win32/winuser.h"

namespace {

const Trace::Channel TraceThread("thread");

// Set while static objects are built, which happens on the thread that starts the program.
const TThreadID gMainThreadID = std::this_thread::get_id();

bool OnMainThread() {
    return std::this_thread::get_id() == gMainThreadID;
}

struct SyncRequest {
    TThread* thread = nullptr;
    TThreadMethod method;
    bool synchronous = false;
    bool done = false;        // guarded by SyncState::lock
    std::exception_ptr error; // of a synchronous call, raised again in its thread
};

struct SyncState {
    std::mutex lock;
    std::condition_variable done;   // a synchronous call has run
    std::condition_variable posted; // a call is waiting (CheckSynchronize with a timeout)
    std::deque<std::shared_ptr<SyncRequest>> waiting;
    bool wakePosted = false; // a wake-up message is on its way to the main thread's window
    std::function<void()> wake;
    std::function<void(TObject*)> handleException;
};

SyncState& Sync() {
    static SyncState state;
    return state;
}

// The main thread's hidden window: a WM_USER message posted to it runs CheckSynchronize in whatever
// loop reads the main thread's messages.
constexpr UINT WM_SYNCWAKE = WM_USER;
std::atomic<HWND> gSyncWindow{nullptr};

LRESULT SyncWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_SYNCWAKE)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        CheckSynchronize();
    } catch (...) {
        ApplicationHandleException(nullptr);
    }
    return 0;
}

// Creates the hidden window on the main thread; other threads find it made or do without it.
HWND SyncWindow() {
    HWND window = gSyncWindow.load();
    if (window || !OnMainThread())
        return window;
    static const Char* className = u"TThreadSyncWindow";
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SyncWindowProc;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    window = CreateWindowExW(0, className, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window)
        ZWARN(TraceThread, "no window to wake the main thread (error %u)",
              static_cast<unsigned>(GetLastError()));
    gSyncWindow = window;
    return window;
}

// Tells the main thread that a call waits or a thread ended. Called with Sync().lock held.
void WakeMain(SyncState& state) {
    state.posted.notify_all();
    if (!state.wakePosted) {
        if (HWND window = gSyncWindow.load()) {
            state.wakePosted = true;
            PostMessageW(window, WM_SYNCWAKE, 0, 0);
        }
    }
    if (state.wake)
        state.wake();
}

} // namespace

TThreadID MainThreadID() {
    return gMainThreadID;
}

TThread::TThread(bool createSuspended) : FCreateSuspended(createSuspended) {
    SyncWindow();
}

TThread::~TThread() {
    // A thread freed with delete rather than Free gets the same stop and wait, although Execute may
    // then see a derived part already gone; Free avoids that.
    if (FStarted && !Finished() && std::this_thread::get_id() != FThreadID) {
        Terminate();
        WaitFor();
    }
    Join();
    RemoveQueuedEvents(this);
}

void TThread::AfterConstruction() {
    if (!FCreateSuspended)
        Start();
}

void TThread::BeforeDestruction() {
    if (FStarted && !Finished() && std::this_thread::get_id() != FThreadID) {
        Terminate();
        WaitFor();
    }
}

void TThread::Start() {
    std::lock_guard<std::mutex> guard(FLock);
    if (FStarted)
        throw EThread(Consts::SThreadStartError);
    FThread = std::thread([this] { Run(); });
    FThreadID = FThread.get_id();
    FStarted = true;
    FRunning = true;
    FStateChanged.notify_all();
}

void TThread::SetSuspended(bool value) {
    if (!value) {
        if (!FStarted)
            Start();
        return;
    }
    if (FStarted)
        throw EThread(Consts::SThreadStartError);
}

void TThread::Terminate() {
    FTerminated = true;
}

bool TThread::Finished() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FFinished;
}

bool TThread::FreeOnTerminate() const {
    std::lock_guard<std::mutex> guard(FLock);
    return FFreeOnTerminate;
}

void TThread::SetFreeOnTerminate(bool value) {
    std::lock_guard<std::mutex> guard(FLock);
    FFreeOnTerminate = value;
}

void TThread::Run() {
    {
        // Start assigns FThread after the thread began; wait for it so that the body sees it.
        std::unique_lock<std::mutex> guard(FLock);
        FStateChanged.wait(guard, [&] { return FRunning; });
    }
    try {
        if (!Terminated())
            Execute();
    } catch (...) {
        FFatalException = std::current_exception();
    }
    try {
        DoTerminate();
    } catch (...) {
        if (!FFatalException)
            FFatalException = std::current_exception();
    }
    bool freeSelf;
    {
        std::lock_guard<std::mutex> guard(FLock);
        FFinished = true;
        freeSelf = FFreeOnTerminate;
        FStateChanged.notify_all();
    }
    {
        SyncState& state = Sync();
        std::lock_guard<std::mutex> guard(state.lock);
        WakeMain(state);
    }
    if (freeSelf) {
        FThread.detach();
        Free();
    }
}

void TThread::DoTerminate() {
    if (OnTerminate)
        Synchronize([this] { OnTerminate(this); });
}

void TThread::Join() {
    if (!FThread.joinable())
        return;
    if (std::this_thread::get_id() == FThreadID)
        FThread.detach();
    else
        FThread.join();
}

Integer TThread::WaitFor() {
    if (!FStarted)
        return FReturnValue;
    if (OnMainThread()) {
        HWND window = SyncWindow();
        bool quit = false;
        int quitCode = 0;
        while (!Finished()) {
            CheckSynchronize();
            if (Finished())
                break;
            if (window) {
                // Reads only the wake-up message, serving messages sent from other threads meanwhile.
                MSG msg{};
                if (!GetMessageW(&msg, window, WM_SYNCWAKE, WM_SYNCWAKE) && msg.message == WM_QUIT) {
                    quit = true;
                    quitCode = static_cast<int>(msg.wParam);
                }
                // The wake-up message is taken: the next call must post another.
                SyncState& state = Sync();
                std::lock_guard<std::mutex> guard(state.lock);
                state.wakePosted = false;
            } else {
                SyncState& state = Sync();
                std::unique_lock<std::mutex> guard(state.lock);
                if (state.waiting.empty())
                    state.posted.wait_for(guard, std::chrono::milliseconds(50));
            }
        }
        // A quit request read meanwhile is kept for the main loop.
        if (quit)
            PostQuitMessage(quitCode);
    } else {
        std::unique_lock<std::mutex> guard(FLock);
        FStateChanged.wait(guard, [&] { return FFinished; });
    }
    return FReturnValue;
}

void TThread::Release() {
    {
        std::lock_guard<std::mutex> guard(FLock);
        if (FStarted && !FFinished) {
            FFreeOnTerminate = true;
            return;
        }
    }
    Free();
}

void TThread::Synchronize(TThread* thread, const TThreadMethod& method) {
    if (OnMainThread()) {
        method();
        return;
    }
    auto request = std::make_shared<SyncRequest>();
    request->thread = thread;
    request->method = method;
    request->synchronous = true;
    SyncState& state = Sync();
    {
        std::unique_lock<std::mutex> guard(state.lock);
        state.waiting.push_back(request);
        WakeMain(state);
        state.done.wait(guard, [&] { return request->done; });
    }
    if (request->error)
        std::rethrow_exception(request->error);
}

void TThread::Queue(TThread* thread, const TThreadMethod& method) {
    if (OnMainThread()) {
        method();
        return;
    }
    auto request = std::make_shared<SyncRequest>();
    request->thread = thread;
    request->method = method;
    SyncState& state = Sync();
    std::lock_guard<std::mutex> guard(state.lock);
    state.waiting.push_back(request);
    WakeMain(state);
}

void TThread::RemoveQueuedEvents(TThread* thread) {
    SyncState& state = Sync();
    std::lock_guard<std::mutex> guard(state.lock);
    std::erase_if(state.waiting, [&](const std::shared_ptr<SyncRequest>& request) {
        return !request->synchronous && request->thread == thread;
    });
}

bool CheckSynchronize(Integer timeout) {
    if (!OnMainThread())
        throw EThread(Consts::SCheckSynchronizeError, {static_cast<Integer>(GetCurrentThreadId())});
    SyncWindow();
    SyncState& state = Sync();
    std::deque<std::shared_ptr<SyncRequest>> calls;
    {
        std::unique_lock<std::mutex> guard(state.lock);
        if (state.waiting.empty() && timeout > 0)
            state.posted.wait_for(guard, std::chrono::milliseconds(timeout),
                                  [&] { return !state.waiting.empty(); });
        state.wakePosted = false;
        calls.swap(state.waiting);
    }
    std::exception_ptr queuedError;
    for (auto& request : calls) {
        std::exception_ptr error;
        try {
            request->method();
        } catch (...) {
            error = std::current_exception();
        }
        if (request->synchronous) {
            {
                std::lock_guard<std::mutex> guard(state.lock);
                request->error = error;
                request->done = true;
            }
            // Told after the lock is free, so that the waiting thread does not wake only to wait for it.
            state.done.notify_all();
        } else if (error && !queuedError) {
            queuedError = error;
        }
    }
    if (queuedError)
        std::rethrow_exception(queuedError);
    return !calls.empty();
}

void SetWakeMainThread(std::function<void()> wake) {
    SyncState& state = Sync();
    std::lock_guard<std::mutex> guard(state.lock);
    state.wake = std::move(wake);
}

void SetApplicationHandleException(std::function<void(TObject* sender)> handler) {
    SyncState& state = Sync();
    std::lock_guard<std::mutex> guard(state.lock);
    state.handleException = std::move(handler);
}

void ApplicationHandleException(TObject* sender) {
    std::function<void(TObject*)> handler;
    {
        SyncState& state = Sync();
        std::lock_guard<std::mutex> guard(state.lock);
        handler = state.handleException;
    }
    if (handler) {
        handler(sender);
        return;
    }
    try {
        throw;
    } catch (const Exception& e) {
        ZERROR(TraceThread, "unhandled %s: %s", StringToUtf8(e.ClassName()).c_str(),
               StringToUtf8(e.Message()).c_str());
    } catch (const std::exception& e) {
        ZERROR(TraceThread, "unhandled exception: %s", e.what());
    } catch (...) {
        ZERROR(TraceThread, "unhandled exception of unknown type");
    }
}
