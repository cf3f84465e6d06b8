// Hooks of the calling thread: SetWindowsHookEx, CallNextHookEx, UnhookWindowsHookEx and the calls the
// queues make into them.
#include <algorithm>
#include <atomic>

#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

std::atomic<std::uintptr_t> gNextHook{0x30000};
// Hooks are being called on this thread: removed ones stay in the list, marked, until none is.
thread_local int tHookDepth = 0;
// A hook that sends messages from inside its own call (moving a window, say) comes back into the chain;
// past this nesting the calls are skipped, so such a hook ends instead of running the stack out.
constexpr int MaxHookDepth = 25;

bool Supported(int type) {
    return type == WH_CALLWNDPROC || type == WH_CALLWNDPROCRET || type == WH_GETMESSAGE || type == WH_MOUSE ||
           type == WH_KEYBOARD;
}

// Calls the first live hook of the type after position start in the thread's list (newest first).
LRESULT CallFrom(size_t start, int type, int code, WPARAM wParam, LPARAM lParam) {
    if (tHookDepth >= MaxHookDepth)
        return 0;
    std::vector<Hook>& hooks = CurrentQueue().hooks;
    for (size_t i = start; i < hooks.size(); ++i) {
        if (hooks[i].type != type || hooks[i].removed)
            continue;
        HOOKPROC proc = hooks[i].proc;
        ++tHookDepth;
        LRESULT result = proc(code, wParam, lParam);
        if (--tHookDepth == 0)
            std::erase_if(CurrentQueue().hooks, [](const Hook& hook) { return hook.removed; });
        return result;
    }
    return 0;
}

} // namespace

bool HasHooks(int type) {
    for (const Hook& hook : CurrentQueue().hooks)
        if (hook.type == type && !hook.removed)
            return true;
    return false;
}

LRESULT CallHooks(int type, int code, WPARAM wParam, LPARAM lParam) {
    return CallFrom(0, type, code, wParam, lParam);
}

} // namespace win32

using namespace win32;

HHOOK SetWindowsHookExW(int idHook, HOOKPROC proc, HINSTANCE, DWORD threadId) {
    if (!Supported(idHook)) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (!proc || (threadId != 0 && threadId != CurrentThreadId())) {
        // Only hooks of the calling thread exist here.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Hook hook;
    hook.handle = reinterpret_cast<HHOOK>(gNextHook.fetch_add(4));
    hook.type = idHook;
    hook.proc = proc;
    std::vector<Hook>& hooks = CurrentQueue().hooks;
    hooks.insert(hooks.begin(), hook);
    return hook.handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    std::vector<Hook>& hooks = CurrentQueue().hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(),
                           [&](const Hook& h) { return h.handle == hook && !h.removed; });
    if (it == hooks.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    if (tHookDepth > 0)
        it->removed = true;
    else
        hooks.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    std::vector<Hook>& hooks = CurrentQueue().hooks;
    auto it = std::find_if(hooks.begin(), hooks.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == hooks.end())
        return 0;
    return CallFrom(static_cast<size_t>(it - hooks.begin()) + 1, it->type, code, wParam, lParam);
}
