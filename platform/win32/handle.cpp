// The kernel handle table: handle values, lookup and closing.
#include "platform/win32/handle.h"

#include <mutex>
#include <unordered_map>

#include "platform/win32/winerror.h"

namespace win32 {

namespace {

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
    // Values are multiples of four as in Win32 and are never reused, so a stale handle fails instead
    // of reaching an object that happened to get the same value later.
    std::uintptr_t next = 0x100;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

} // namespace

KernelObject::~KernelObject() = default;

HANDLE AllocateHandle(std::shared_ptr<KernelObject> object) {
    if (!object)
        return nullptr;
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    std::uintptr_t value = table.next;
    table.next += 4;
    object->FHandleCount.fetch_add(1);
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> ReferenceHandle(HANDLE handle) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == table.objects.end() ? nullptr : it->second;
}

BOOL ReleaseHandle(HANDLE handle) {
    std::shared_ptr<KernelObject> object;
    {
        HandleTable& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == table.objects.end())
            return FALSE;
        object = std::move(it->second);
        table.objects.erase(it);
    }
    // The hook may take other locks (a device's, the registry's): never call it under the table's.
    if (object->FHandleCount.fetch_sub(1) == 1)
        object->LastHandleClosed();
    return TRUE;
}

} // namespace win32

BOOL CloseHandle(HANDLE hObject) {
    if (!win32::ReleaseHandle(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
