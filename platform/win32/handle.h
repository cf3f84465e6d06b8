// The process's table of kernel objects (files, events, threads, serial devices, registry keys): every
// HANDLE names one entry, and CloseHandle ends it.
#pragma once

#include <atomic>
#include <memory>

#include "platform/win32/wintypes.h"

namespace win32 {

enum class KernelObjectType { File, Event, Thread, SerialDevice, RegistryKey };

// One object behind one or more handles. The object lives while a handle or a reference taken with
// ReferenceHandle holds it, so a call in progress on another thread keeps it valid after CloseHandle.
class KernelObject {
public:
    virtual ~KernelObject();
    virtual KernelObjectType Type() const = 0;

protected:
    // Called (outside the table's lock) when the object's last handle is closed, even if references
    // are still held: the place to cancel pending I/O or end registrations, as Win32 does on close.
    virtual void LastHandleClosed() {}

private:
    friend BOOL ReleaseHandle(HANDLE handle);
    friend HANDLE AllocateHandle(std::shared_ptr<KernelObject> object);
    std::atomic<int> FHandleCount{0};
};

// Enters the object into the table and returns its new handle (never 0 and never
// INVALID_HANDLE_VALUE); an object may have several handles. Returns nullptr for a null object.
HANDLE AllocateHandle(std::shared_ptr<KernelObject> object);

// The object behind a handle, or nullptr when the handle is not open.
std::shared_ptr<KernelObject> ReferenceHandle(HANDLE handle);

// The object behind a handle when it is of type T, else nullptr.
template <class T> std::shared_ptr<T> ReferenceHandleAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(ReferenceHandle(handle));
}

// Removes the handle from the table; FALSE when it was not open. CloseHandle and RegCloseKey use it.
BOOL ReleaseHandle(HANDLE handle);

} // namespace win32

// Closes any kernel handle. Returns FALSE with ERROR_INVALID_HANDLE for a handle that is not open
// (including 0 and INVALID_HANDLE_VALUE).
BOOL CloseHandle(HANDLE hObject);
