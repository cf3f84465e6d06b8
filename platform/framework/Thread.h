// TThread, the framework's thread object, and the synchronisation that runs calls of other threads on
// the main (GUI) thread.
//
// The main thread serves synchronised and queued calls in CheckSynchronize. Whatever message loop runs
// on the main thread serves them too: a waiting call is announced by a message posted to a hidden
// window of this unit, whose procedure runs CheckSynchronize. A main thread that waits for a thread to
// end (WaitFor) keeps serving those calls and the messages other threads send to its windows, so a
// thread that hands its work to the main thread can always be stopped from there.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/rtl/Object.h"
#include "platform/rtl/Strings.h"

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };
using TThreadMethod = std::function<void()>;
using TThreadID = std::thread::id;

ZELMOR_DECLARE_EXCEPTION(EThread, Exception)

// The thread that started the program.
TThreadID MainThreadID();

// Create a TThread through CreateInstance (or Start it yourself): it starts once construction is
// complete unless created suspended. Free it with Free or FreeAndNil, which stops it (Terminate) and
// waits for Execute to return while the object is still whole.
class TThread : public TObject {
public:
    explicit TThread(bool createSuspended);
    ~TThread() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    // Starts a thread created suspended; raises EThread "Cannot call Start on a running or suspended
    // thread" when it was started already.
    void Start();
    // Asks Execute to end: sets Terminated, which Execute is to check.
    void Terminate();
    // Waits for the thread to end and answers its ReturnValue. On the main thread, synchronised calls
    // and messages sent from other threads are served meanwhile. A thread that never started answers
    // at once.
    Integer WaitFor();
    // Lets a running thread free itself when it ends, or frees it now when it has ended: for an owner
    // that cannot wait for it (the owner runs on the main thread inside the thread's own synchronised
    // call). The caller must not use the object afterwards.
    void Release();

    bool Terminated() const { return FTerminated.load(); }
    bool Finished() const;
    // True until the thread has been started.
    bool Suspended() const { return !FStarted.load(); }
    // SetSuspended(false) starts a thread created suspended. A running thread cannot be suspended
    // (raises EThread).
    void SetSuspended(bool value);
    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool value);
    // Kept and read back; every thread runs at the system's normal priority.
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority value) { FPriority = value; }
    TThreadID ThreadID() const { return FThreadID; }
    Integer ReturnValue() const { return FReturnValue.load(); }
    // The exception that ended Execute, or null.
    std::exception_ptr FatalException() const { return FFatalException; }

    // Called on the main thread after Execute has returned.
    TNotifyEvent OnTerminate;

    // Runs method on the main thread and waits until it has run; on the main thread it runs at once.
    // An exception of method is raised again in the calling thread.
    static void Synchronize(TThread* thread, const TThreadMethod& method);
    // Hands method to the main thread without waiting (on the main thread it runs at once).
    static void Queue(TThread* thread, const TThreadMethod& method);
    // Drops the queued calls of thread that have not run yet.
    static void RemoveQueuedEvents(TThread* thread);

protected:
    virtual void Execute() = 0;
    // Calls OnTerminate through Synchronize when it is assigned.
    virtual void DoTerminate();
    void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
    void Queue(const TThreadMethod& method) { Queue(this, method); }
    void SetReturnValue(Integer value) { FReturnValue = value; }

private:
    void Run();
    void Join();

    std::thread FThread;
    TThreadID FThreadID;
    mutable std::mutex FLock;
    std::condition_variable FStateChanged;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FStarted{false};
    bool FRunning = false;         // guarded by FLock: the body may run (set by Start)
    bool FFinished = false;        // guarded by FLock
    bool FFreeOnTerminate = false; // guarded by FLock
    bool FCreateSuspended;
    TThreadPriority FPriority = tpNormal;
    std::atomic<Integer> FReturnValue{0};
    std::exception_ptr FFatalException;
};

// Runs the synchronised and queued calls waiting for the main thread; with a timeout (milliseconds of
// real time) it first waits that long for one to come. Answers whether any ran. Raises EThread when
// called from another thread. An exception of a queued call is raised from here after the others ran.
bool CheckSynchronize(Integer timeout = 0);

// Called, from the thread that queued it, whenever a call starts waiting for the main thread. The
// hidden window of this unit already wakes any message loop; an application with a loop of its own
// may set another wake-up here.
void SetWakeMainThread(std::function<void()> wake);

// The application's handler of exceptions that reach it from places with no caller to raise them to
// (a component loading its state, a message handler). Called inside the catch block, so the handler
// may rethrow the current exception to inspect it. Without a handler the message goes to the error
// trace of the "thread" channel.
void SetApplicationHandleException(std::function<void(TObject* sender)> handler);
// Hands the exception being caught to the application's handler; call it inside a catch block.
void ApplicationHandleException(TObject* sender);
