// Events and waiting: CreateEvent, SetEvent, ResetEvent, WaitForSingleObject, WaitForMultipleObjects,
// Sleep, and the base every waitable kernel object (event, thread, device) derives from.
#pragma once

#include <functional>

#include "platform/win32/handle.h"

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_ABANDONED_0 = 0x80;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;
// WAIT_TIMEOUT (258) is in winerror.h, as in Win32.

namespace win32 {

// A kernel object a thread can wait for. Its signal state is guarded by one lock shared by every
// waitable object, so that a wait for all of several objects sees and consumes them at once.
class WaitableObject : public KernelObject {
public:
    // Both are called with the wait lock held.
    virtual bool IsSignaled() const = 0;
    // A wait was satisfied by this object: an auto-reset event clears itself here.
    virtual void Acquire() {}
};

// Runs change with the wait lock held, then wakes every waiting thread to look again. Every change of
// a waitable object's signal state goes through here.
void ChangeWaitState(const std::function<void()>& change);

class EventObject : public WaitableObject {
public:
    EventObject(bool manualReset, bool initialState) : FManualReset(manualReset), FSignaled(initialState) {}
    KernelObjectType Type() const override { return KernelObjectType::Event; }
    bool IsSignaled() const override { return FSignaled; }
    void Acquire() override;
    void Set();
    void Reset();

private:
    const bool FManualReset;
    bool FSignaled; // guarded by the wait lock
};

} // namespace win32

// Returns the new event's handle, or nullptr. A name is known within this process only: creating an
// event with the name of an existing one returns a new handle to it and sets ERROR_ALREADY_EXISTS (the
// other arguments are then ignored, as in Win32).
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                    LPCWSTR lpName);
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                          LPCWSTR lpName) {
    return CreateEventW(lpEventAttributes, bManualReset, bInitialState, lpName);
}
// FALSE with ERROR_INVALID_HANDLE when the handle is not an open event.
BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);

// Timeouts are milliseconds of the platform's clock (Clock::TickCount64): under the manual clock of the
// tests a finite wait ends only when the clock has been advanced past it (or the object is signalled).
// Returns WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED with ERROR_INVALID_HANDLE (a handle that is not
// open or cannot be waited for).
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
// Returns WAIT_OBJECT_0 + n for the lowest signalled n (any) or WAIT_OBJECT_0 (all), WAIT_TIMEOUT, or
// WAIT_FAILED with ERROR_INVALID_PARAMETER (count 0 or above MAXIMUM_WAIT_OBJECTS, no array, the same
// object twice when waiting for all) or ERROR_INVALID_HANDLE.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);
// Suspends the calling thread for milliseconds of the same clock: under the manual clock the sleep ends
// only when the clock has been advanced past it, as a wait's timeout does. 0 only gives other threads a
// turn; INFINITE never returns.
void Sleep(DWORD dwMilliseconds);
