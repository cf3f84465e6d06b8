// The calling thread's last error, the errno to Win32 mapping, and the texts of Win32 errors.
#include "platform/win32/winerror.h"

#include <cerrno>

#include "platform/rtl/UString.h"

namespace {
thread_local DWORD tLastError = ERROR_SUCCESS;
}

DWORD GetLastError() {
    return tLastError;
}

void SetLastError(DWORD error) {
    tLastError = error;
}

DWORD Win32ErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENOSPC:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case EBUSY:
        return ERROR_BUSY;
    case EAGAIN:
        return ERROR_LOCK_VIOLATION;
    case EIO:
        return ERROR_GEN_FAILURE;
    case ENXIO:
    case ENODEV:
        return ERROR_DEVICE_NOT_CONNECTED;
    case EPIPE:
        return ERROR_BROKEN_PIPE;
    case ETIMEDOUT:
        return ERROR_SEM_TIMEOUT;
    case EINTR:
        return ERROR_OPERATION_ABORTED;
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENOTSUP:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

String Win32ErrorText(DWORD error) {
    const char* text = nullptr;
    switch (error) {
    case ERROR_SUCCESS:
        text = "The operation completed successfully.";
        break;
    case ERROR_INVALID_FUNCTION:
        text = "Incorrect function.";
        break;
    case ERROR_FILE_NOT_FOUND:
        text = "The system cannot find the file specified.";
        break;
    case ERROR_PATH_NOT_FOUND:
        text = "The system cannot find the path specified.";
        break;
    case ERROR_TOO_MANY_OPEN_FILES:
        text = "The system cannot open the file.";
        break;
    case ERROR_ACCESS_DENIED:
        text = "Access is denied.";
        break;
    case ERROR_INVALID_HANDLE:
        text = "The handle is invalid.";
        break;
    case ERROR_NOT_ENOUGH_MEMORY:
        text = "Not enough memory resources are available to process this command.";
        break;
    case ERROR_INVALID_DATA:
        text = "The data is invalid.";
        break;
    case ERROR_OUTOFMEMORY:
        text = "Not enough memory resources are available to complete this operation.";
        break;
    case ERROR_WRITE_PROTECT:
        text = "The media is write protected.";
        break;
    case ERROR_NOT_READY:
        text = "The device is not ready.";
        break;
    case ERROR_WRITE_FAULT:
        text = "The system cannot write to the specified device.";
        break;
    case ERROR_READ_FAULT:
        text = "The system cannot read from the specified device.";
        break;
    case ERROR_GEN_FAILURE:
        text = "A device attached to the system is not functioning.";
        break;
    case ERROR_SHARING_VIOLATION:
        text = "The process cannot access the file because it is being used by another process.";
        break;
    case ERROR_LOCK_VIOLATION:
        text = "The process cannot access the file because another process has locked a portion of the file.";
        break;
    case ERROR_HANDLE_EOF:
        text = "Reached the end of the file.";
        break;
    case ERROR_NOT_SUPPORTED:
        text = "The request is not supported.";
        break;
    case ERROR_FILE_EXISTS:
        text = "The file exists.";
        break;
    case ERROR_INVALID_PARAMETER:
        text = "The parameter is incorrect.";
        break;
    case ERROR_BROKEN_PIPE:
        text = "The pipe has been ended.";
        break;
    case ERROR_DISK_FULL:
        text = "There is not enough space on the disk.";
        break;
    case ERROR_SEM_TIMEOUT:
        text = "The semaphore timeout period has expired.";
        break;
    case ERROR_INSUFFICIENT_BUFFER:
        text = "The data area passed to a system call is too small.";
        break;
    case ERROR_INVALID_NAME:
        text = "The filename, directory name, or volume label syntax is incorrect.";
        break;
    case ERROR_DIR_NOT_EMPTY:
        text = "The directory is not empty.";
        break;
    case ERROR_BUSY:
        text = "The requested resource is in use.";
        break;
    case ERROR_ALREADY_EXISTS:
        text = "Cannot create a file when that file already exists.";
        break;
    case ERROR_FILENAME_EXCED_RANGE:
        text = "The filename or extension is too long.";
        break;
    case ERROR_MORE_DATA:
        text = "More data is available.";
        break;
    case WAIT_TIMEOUT:
        text = "The wait operation timed out.";
        break;
    case ERROR_NO_MORE_ITEMS:
        text = "No more data is available.";
        break;
    case ERROR_OPERATION_ABORTED:
        text =
            "The I/O operation has been aborted because of either a thread exit or an application request.";
        break;
    case ERROR_IO_INCOMPLETE:
        text = "Overlapped I/O event is not in a signaled state.";
        break;
    case ERROR_IO_PENDING:
        text = "Overlapped I/O operation is in progress.";
        break;
    case ERROR_BADDB:
        text = "The configuration registry database is corrupt.";
        break;
    case ERROR_BADKEY:
        text = "The configuration registry key is invalid.";
        break;
    case ERROR_CANTOPEN:
        text = "The configuration registry key could not be opened.";
        break;
    case ERROR_CANTREAD:
        text = "The configuration registry key could not be read.";
        break;
    case ERROR_CANTWRITE:
        text = "The configuration registry key could not be written.";
        break;
    case ERROR_NOT_ENOUGH_QUOTA:
        text = "Not enough quota is available to process this command.";
        break;
    case ERROR_REGISTRY_CORRUPT:
        text = "The structure of one of the files containing registry data is corrupt, or the system's "
               "memory image of the file is corrupt, or the file could not be recovered because the "
               "alternate copy or log was absent or corrupt.";
        break;
    case ERROR_REGISTRY_IO_FAILED:
        text =
            "An I/O operation initiated by the registry failed unrecoverably. The registry could not read "
            "in, or write out, or flush, one of the files that contain the system's image of the registry.";
        break;
    case ERROR_KEY_DELETED:
        text = "Illegal operation attempted on a registry key that has been marked for deletion.";
        break;
    case ERROR_DEVICE_NOT_CONNECTED:
        text = "The device is not connected.";
        break;
    case ERROR_NOT_FOUND:
        text = "Element not found.";
        break;
    case ERROR_INVALID_WINDOW_HANDLE:
        text = "Invalid window handle.";
        break;
    case ERROR_TIMEOUT:
        text = "This operation returned because the timeout period expired.";
        break;
    default:
        break;
    }
    if (text)
        return ToString(text);
    return ToString(("Unknown error " + std::to_string(error) + ".").c_str());
}
