// The in-process OLE drag and drop: drop targets registered per window, the modal drag loop and the
// release of storage media.
#include "platform/win32/ole_dragdrop.h"

#include <map>
#include <mutex>

#include "platform/rtl/Trace.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"
#include "platform/win32/winuser.h"

namespace {

const Trace::Channel TraceDragDrop("ole");

struct TargetTable {
    std::mutex lock;
    std::map<HWND, IDropTarget*> targets; // each holds one reference
};

TargetTable& Targets() {
    static TargetTable table;
    return table;
}

// The target registered for the window itself, with a reference for the caller; null when none.
IDropTarget* TargetOf(HWND hwnd) {
    std::lock_guard<std::mutex> guard(Targets().lock);
    auto it = Targets().targets.find(hwnd);
    if (it == Targets().targets.end())
        return nullptr;
    it->second->AddRef();
    return it->second;
}

// The window under the point or its nearest ancestor with a target, and that target (referenced).
IDropTarget* TargetAt(POINT pt, HWND& window) {
    for (HWND hwnd = WindowFromPoint(pt); hwnd != nullptr; hwnd = GetAncestor(hwnd, GA_PARENT)) {
        if (IDropTarget* target = TargetOf(hwnd)) {
            window = hwnd;
            return target;
        }
    }
    window = nullptr;
    return nullptr;
}

DWORD CurrentKeyState() {
    DWORD keys = 0;
    auto down = [](int key) { return GetKeyState(key) < 0; };
    if (down(VK_LBUTTON))
        keys |= MK_LBUTTON;
    if (down(VK_RBUTTON))
        keys |= MK_RBUTTON;
    if (down(VK_MBUTTON))
        keys |= MK_MBUTTON;
    if (down(VK_SHIFT))
        keys |= MK_SHIFT;
    if (down(VK_CONTROL))
        keys |= MK_CONTROL;
    if (down(VK_MENU))
        keys |= MK_ALT;
    return keys;
}

bool IsDragInput(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

// One drag under way per thread: a drop handler that started another drag would read the same queue.
thread_local bool tDragging = false;

// The state of one DoDragDrop: the target under the cursor and the effect it last answered.
class DragTracker {
public:
    DragTracker(IDataObject* data, IDropSource* source, DWORD allowed)
        : FData(data), FSource(source), FAllowed(allowed) {}
    ~DragTracker() { SetTarget(nullptr); }

    // Tells the target under pt (entering, leaving or moving over it) and gives the source feedback.
    void Track(POINT pt, DWORD keys) {
        HWND window = nullptr;
        IDropTarget* found = TargetAt(pt, window);
        const POINTL at{pt.x, pt.y};
        if (found != FTarget) {
            if (FTarget != nullptr)
                FTarget->DragLeave();
            SetTarget(found);
            FEffect = FAllowed;
            if (FTarget != nullptr && FAILED(FTarget->DragEnter(FData, keys, at, &FEffect))) {
                ZTRACE(TraceDragDrop, "target of %p refused the drag", static_cast<void*>(window));
                SetTarget(nullptr);
            }
        } else {
            FEffect = FAllowed;
            if (FTarget != nullptr && FAILED(FTarget->DragOver(keys, at, &FEffect)))
                FEffect = DROPEFFECT_NONE;
        }
        if (found != nullptr)
            found->Release();
        if (FTarget == nullptr)
            FEffect = DROPEFFECT_NONE;
        FEffect &= FAllowed;
        if (FSource->GiveFeedback(FEffect) == DRAGDROP_S_USEDEFAULTCURSORS)
            SetCursor(LoadCursorW(nullptr, FEffect == DROPEFFECT_NONE ? IDC_NO : IDC_ARROW));
    }

    // Drops on the current target when it would take the data; DROPEFFECT_NONE otherwise.
    DWORD Drop(POINT pt, DWORD keys) {
        if (FTarget == nullptr)
            return DROPEFFECT_NONE;
        if (FEffect == DROPEFFECT_NONE) {
            FTarget->DragLeave();
            SetTarget(nullptr);
            return DROPEFFECT_NONE;
        }
        DWORD effect = FAllowed;
        IDropTarget* target = FTarget;
        target->AddRef();
        SetTarget(nullptr);
        if (FAILED(target->Drop(FData, keys, POINTL{pt.x, pt.y}, &effect)))
            effect = DROPEFFECT_NONE;
        target->Release();
        return effect & FAllowed;
    }

    void Leave() {
        if (FTarget != nullptr)
            FTarget->DragLeave();
        SetTarget(nullptr);
    }

private:
    void SetTarget(IDropTarget* target) {
        if (target != nullptr)
            target->AddRef();
        if (FTarget != nullptr)
            FTarget->Release();
        FTarget = target;
    }

    IDataObject* FData;
    IDropSource* FSource;
    DWORD FAllowed;
    IDropTarget* FTarget = nullptr; // referenced while it is the target
    DWORD FEffect = DROPEFFECT_NONE;
};

} // namespace

void win32::RevokeDragDropOf(HWND hwnd) {
    IDropTarget* target = nullptr;
    {
        std::lock_guard<std::mutex> guard(Targets().lock);
        auto it = Targets().targets.find(hwnd);
        if (it == Targets().targets.end())
            return;
        target = it->second;
        Targets().targets.erase(it);
    }
    // Released outside the lock: the target's destructor may register or revoke others.
    target->Release();
}

HRESULT RegisterDragDrop(HWND hwnd, IDropTarget* target) {
    if (!win32::OleInitializedOnThread())
        return CO_E_NOTINITIALIZED;
    if (target == nullptr)
        return E_INVALIDARG;
    if (!IsWindow(hwnd))
        return DRAGDROP_E_INVALIDHWND;
    std::lock_guard<std::mutex> guard(Targets().lock);
    if (!Targets().targets.emplace(hwnd, target).second)
        return DRAGDROP_E_ALREADYREGISTERED;
    target->AddRef();
    ZTRACE(TraceDragDrop, "target registered for %p", static_cast<void*>(hwnd));
    return S_OK;
}

HRESULT RevokeDragDrop(HWND hwnd) {
    if (!IsWindow(hwnd))
        return DRAGDROP_E_INVALIDHWND;
    {
        std::lock_guard<std::mutex> guard(Targets().lock);
        if (Targets().targets.find(hwnd) == Targets().targets.end())
            return DRAGDROP_E_NOTREGISTERED;
    }
    win32::RevokeDragDropOf(hwnd);
    return S_OK;
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect) {
    if (data == nullptr || source == nullptr || effect == nullptr)
        return E_INVALIDARG;
    *effect = DROPEFFECT_NONE;
    if (tDragging)
        return E_UNEXPECTED;
    tDragging = true;
    data->AddRef();
    source->AddRef();

    DragTracker tracker(data, source, allowedEffects);
    POINT pt{};
    GetCursorPos(&pt);
    DWORD keys = CurrentKeyState();
    // The drag starts where the cursor is, before any further input arrives.
    HRESULT result = source->QueryContinueDrag(FALSE, keys);
    if (result == S_OK)
        tracker.Track(pt, keys);
    while (result == S_OK) {
        MSG msg{};
        if (!GetMessageW(&msg, nullptr, 0, 0)) {
            // The quit stays for the loop that called us.
            PostQuitMessage(static_cast<int>(msg.wParam));
            result = DRAGDROP_S_CANCEL;
            break;
        }
        if (!IsDragInput(msg.message)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        const bool escape = msg.message == WM_KEYDOWN && msg.wParam == static_cast<WPARAM>(VK_ESCAPE);
        keys = CurrentKeyState();
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            pt = msg.pt;
        result = source->QueryContinueDrag(escape ? TRUE : FALSE, keys);
        if (result == S_OK)
            tracker.Track(pt, keys);
    }

    if (result == DRAGDROP_S_DROP) {
        *effect = tracker.Drop(pt, keys);
        if (*effect == DROPEFFECT_NONE)
            result = DRAGDROP_S_CANCEL;
    } else {
        tracker.Leave();
        result = DRAGDROP_S_CANCEL;
    }
    ZTRACE(TraceDragDrop, "drag ended: %s, effect %u", result == DRAGDROP_S_DROP ? "drop" : "cancel",
           static_cast<unsigned>(*effect));
    source->Release();
    data->Release();
    tDragging = false;
    return result;
}

void ReleaseStgMedium(LPSTGMEDIUM medium) {
    if (medium == nullptr)
        return;
    if (medium->pUnkForRelease != nullptr) {
        medium->pUnkForRelease->Release();
    } else {
        switch (medium->tymed) {
        case TYMED_HGLOBAL:
            if (medium->hGlobal != nullptr)
                GlobalFree(medium->hGlobal);
            break;
        case TYMED_ISTREAM:
            if (medium->pstm != nullptr)
                medium->pstm->Release();
            break;
        default:
            // No data object here hands out files or GDI objects.
            break;
        }
    }
    medium->tymed = TYMED_NULL;
    medium->hGlobal = nullptr;
    medium->pUnkForRelease = nullptr;
}
