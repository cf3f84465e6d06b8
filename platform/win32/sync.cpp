// Events and the waits on waitable kernel objects, on one mutex and condition variable.
#include "platform/win32/sync.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/rtl/Clock.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

// One lock for every signal state keeps a wait for all objects simple and exact: it checks and
// consumes them in one step. The system waits on a handful of objects, so one lock is no bottleneck.
struct WaitState {
    std::mutex mutex;
    std::condition_variable changed;
};

WaitState& Waits() {
    static WaitState state;
    return state;
}

// A finite wait under the manual clock ends when a test advances the clock, so every advance wakes the
// waiters to look at it again. Taking the lock first means a waiter that has just read the clock is
// already waiting when the notice comes.
void WakeWaitersOnClockAdvance() {
    static std::once_flag once;
    std::call_once(once, [] {
        Clock::AddAdvanceListener([] {
            WaitState& state = Waits();
            { std::lock_guard lock(state.mutex); }
            state.changed.notify_all();
        });
    });
}

struct EventNames {
    std::mutex mutex;
    std::map<String, std::weak_ptr<EventObject>> events;
};

EventNames& Names() {
    static EventNames names;
    return names;
}

DWORD Wait(const std::vector<std::shared_ptr<WaitableObject>>& objects, bool waitAll, DWORD milliseconds) {
    WaitState& state = Waits();
    if (milliseconds != 0 && milliseconds != INFINITE)
        WakeWaitersOnClockAdvance();
    const UInt64 start = Clock::TickCount64();
    std::unique_lock lock(state.mutex);
    for (;;) {
        if (waitAll) {
            bool all = true;
            for (const auto& object : objects)
                all = all && object->IsSignaled();
            if (all) {
                for (const auto& object : objects)
                    object->Acquire();
                return WAIT_OBJECT_0;
            }
        } else {
            for (size_t i = 0; i < objects.size(); ++i) {
                if (objects[i]->IsSignaled()) {
                    objects[i]->Acquire();
                    return WAIT_OBJECT_0 + static_cast<DWORD>(i);
                }
            }
        }
        if (milliseconds == INFINITE) {
            state.changed.wait(lock);
            continue;
        }
        const UInt64 elapsed = Clock::TickCount64() - start;
        if (elapsed >= milliseconds)
            return WAIT_TIMEOUT;
        if (Clock::IsManual())
            state.changed.wait(lock);
        else
            state.changed.wait_for(lock, std::chrono::milliseconds(milliseconds - elapsed));
    }
}

} // namespace

void ChangeWaitState(const std::function<void()>& change) {
    WaitState& state = Waits();
    {
        std::lock_guard lock(state.mutex);
        change();
    }
    state.changed.notify_all();
}

void EventObject::Acquire() {
    if (!FManualReset)
        FSignaled = false;
}

void EventObject::Set() {
    ChangeWaitState([this] { FSignaled = true; });
}

// Resetting satisfies no wait, so the waiters are left asleep.
void EventObject::Reset() {
    std::lock_guard lock(Waits().mutex);
    FSignaled = false;
}

} // namespace win32

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                    LPCWSTR lpName) {
    if (!lpName || !*lpName) {
        SetLastError(ERROR_SUCCESS);
        return win32::AllocateHandle(std::make_shared<win32::EventObject>(bManualReset, bInitialState));
    }
    win32::EventNames& names = win32::Names();
    std::lock_guard lock(names.mutex);
    std::weak_ptr<win32::EventObject>& slot = names.events[String(lpName)];
    if (std::shared_ptr<win32::EventObject> existing = slot.lock()) {
        HANDLE handle = win32::AllocateHandle(existing);
        SetLastError(ERROR_ALREADY_EXISTS);
        return handle;
    }
    auto event = std::make_shared<win32::EventObject>(bManualReset, bInitialState);
    slot = event;
    SetLastError(ERROR_SUCCESS);
    return win32::AllocateHandle(event);
}

BOOL SetEvent(HANDLE hEvent) {
    auto event = win32::ReferenceHandleAs<win32::EventObject>(hEvent);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE hEvent) {
    auto event = win32::ReferenceHandleAs<win32::EventObject>(hEvent);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->Reset();
    return TRUE;
}

void Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    // A wait for nothing, which can only time out.
    win32::Wait({}, false, dwMilliseconds);
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds) {
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<win32::WaitableObject>> objects;
    objects.reserve(nCount);
    for (DWORD i = 0; i < nCount; ++i) {
        auto object = win32::ReferenceHandleAs<win32::WaitableObject>(lpHandles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        // Waiting for all of one auto-reset event twice could never be satisfied in one step.
        if (bWaitAll) {
            for (const auto& earlier : objects) {
                if (earlier == object) {
                    SetLastError(ERROR_INVALID_PARAMETER);
                    return WAIT_FAILED;
                }
            }
        }
        objects.push_back(std::move(object));
    }
    return win32::Wait(objects, bWaitAll, dwMilliseconds);
}
