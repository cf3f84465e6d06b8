// The framework's file routines on the backend's files: integer handles are the backend's descriptors.
#include "platform/rtl/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/backend/file.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

namespace {

// The backend path of a name. A character 0 would cut the name short at the system edge and reach a
// different file: such a name is refused as invalid.
bool ToPath(const String& name, std::string& path) {
    if (name.find(u'\0') != String::npos) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    path = StringToUtf8(name);
    return true;
}

void SetErrnoError(int error) {
    SetLastError(Win32ErrorFromErrno(error));
}

Integer OpenHandle(const String& fileName, backend::FileAccess access, backend::FileCreation creation) {
    std::string path;
    if (!ToPath(fileName, path))
        return -1;
    int error = 0;
    const int fd = backend::OpenFile(path, access, creation, &error);
    if (fd < 0) {
        SetErrnoError(error);
        // Windows tells a missing folder from a missing file.
        const String folder = ExtractFileDir(fileName);
        if (error == ENOENT && !backend::DirectoryExists(folder.empty() ? "." : StringToUtf8(folder)))
            SetLastError(ERROR_PATH_NOT_FOUND);
        return -1;
    }
    return fd;
}

} // namespace

Integer FileOpen(const String& fileName, LongWord mode) {
    backend::FileAccess access;
    switch (mode & 3) {
    case fmOpenRead:
        access = backend::FileAccess::Read;
        break;
    case fmOpenWrite:
        access = backend::FileAccess::Write;
        break;
    case fmOpenReadWrite:
        access = backend::FileAccess::ReadWrite;
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return OpenHandle(fileName, access, backend::FileCreation::OpenExisting);
}

Integer FileCreate(const String& fileName) {
    return OpenHandle(fileName, backend::FileAccess::ReadWrite, backend::FileCreation::CreateAlways);
}

Integer FileRead(Integer handle, void* buffer, LongWord count) {
    int error = 0;
    // The answer is an Integer: a larger request reads what fits in one.
    const std::int64_t n = backend::ReadFile(handle, buffer, std::min<std::int64_t>(count, INT_MAX), &error);
    if (n < 0) {
        SetErrnoError(error);
        return -1;
    }
    return static_cast<Integer>(n);
}

Integer FileWrite(Integer handle, const void* buffer, LongWord count) {
    int error = 0;
    const std::int64_t n = backend::WriteFile(handle, buffer, std::min<std::int64_t>(count, INT_MAX), &error);
    if (n < 0) {
        SetErrnoError(error);
        return -1;
    }
    return static_cast<Integer>(n);
}

Int64 FileSeek(Integer handle, Int64 offset, Integer origin) {
    backend::SeekOrigin from;
    switch (origin) {
    case 0:
        from = backend::SeekOrigin::Begin;
        break;
    case 1:
        from = backend::SeekOrigin::Current;
        break;
    case 2:
        from = backend::SeekOrigin::End;
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int error = 0;
    const std::int64_t at = backend::SeekFile(handle, offset, from, &error);
    if (at < 0) {
        SetErrnoError(error);
        return -1;
    }
    return at;
}

void FileClose(Integer handle) {
    int error = 0;
    if (handle >= 0 && !backend::CloseFile(handle, &error))
        SetErrnoError(error);
}

bool FileExists(const String& fileName) {
    std::string path;
    return ToPath(fileName, path) && backend::FileExists(path);
}

bool DirectoryExists(const String& directory) {
    std::string path;
    return ToPath(directory, path) && backend::DirectoryExists(path);
}

bool ForceDirectories(const String& directory) {
    if (directory.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    String name = ExcludeTrailingPathDelimiter(directory);
    if (name.empty())
        name = directory; // the root
    std::string path;
    if (!ToPath(name, path))
        return false;
    int error = 0;
    if (!backend::ForceDirectories(path, &error)) {
        SetErrnoError(error);
        return false;
    }
    return true;
}

bool DeleteFile(const String& fileName) {
    std::string path;
    if (!ToPath(fileName, path))
        return false;
    int error = 0;
    if (!backend::DeleteFile(path, &error)) {
        SetErrnoError(error);
        return false;
    }
    return true;
}

bool RenameFile(const String& oldName, const String& newName) {
    std::string from;
    std::string to;
    if (!ToPath(oldName, from) || !ToPath(newName, to))
        return false;
    // The system's code expects Windows' rule: renaming never replaces an existing file.
    if (backend::StatFile(to).exists) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    int error = 0;
    if (!backend::RenameFile(from, to, &error)) {
        SetErrnoError(error);
        return false;
    }
    return true;
}

String ExtractFilePath(const String& fileName) {
    const size_t slash = fileName.rfind(PathDelim);
    return slash == String::npos ? String() : fileName.substr(0, slash + 1);
}

String ExtractFileDir(const String& fileName) {
    const size_t slash = fileName.rfind(PathDelim);
    if (slash == String::npos)
        return String();
    // The delimiter stays when it is the root or follows another delimiter.
    if (slash > 0 && fileName[slash - 1] != PathDelim)
        return fileName.substr(0, slash);
    return fileName.substr(0, slash + 1);
}

String ExtractFileName(const String& fileName) {
    const size_t slash = fileName.rfind(PathDelim);
    return slash == String::npos ? fileName : fileName.substr(slash + 1);
}

String ExtractFileExt(const String& fileName) {
    const size_t at = fileName.find_last_of(u"./");
    return at != String::npos && fileName[at] == u'.' ? fileName.substr(at) : String();
}

String ChangeFileExt(const String& fileName, const String& extension) {
    const size_t at = fileName.find_last_of(u"./");
    if (at == String::npos || fileName[at] != u'.')
        return fileName + extension;
    return fileName.substr(0, at) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
    if (!path.empty() && path.back() == PathDelim)
        return path;
    return path + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& path) {
    if (!path.empty() && path.back() == PathDelim)
        return path.substr(0, path.size() - 1);
    return path;
}

String ExpandFileName(const String& fileName) {
    if (fileName.empty())
        return String();
    const String full =
        fileName.front() == PathDelim ? fileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + fileName;
    std::vector<String> parts;
    size_t pos = 0;
    while (pos <= full.size()) {
        size_t end = full.find(PathDelim, pos);
        if (end == String::npos)
            end = full.size();
        String part = full.substr(pos, end - pos);
        if (part == u"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(std::move(part));
        }
        pos = end + 1;
    }
    String result;
    for (const String& part : parts)
        result += PathDelim + part;
    if (result.empty() || full.back() == PathDelim)
        result.push_back(PathDelim);
    return result;
}

String GetCurrentDir() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) {
        SetErrnoError(error.value());
        return String();
    }
    return Utf8ToString(current.native());
}
