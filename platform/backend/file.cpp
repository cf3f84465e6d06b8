// POSIX implementation of the platform's file calls.
#include "platform/backend/file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backend {

namespace {

bool Fail(int* error) {
    if (error)
        *error = errno;
    return false;
}

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool SyncDirectory(const std::string& path, int* error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Fail(error);
    bool ok = ::fsync(fd) == 0 || errno == EINVAL; // some file systems cannot sync folders
    if (!ok)
        Fail(error);
    ::close(fd);
    return ok;
}

} // namespace

int OpenFile(const std::string& path, FileAccess access, FileCreation creation, int* error) {
    int flags = O_CLOEXEC;
    switch (access) {
    case FileAccess::Read:
        flags |= O_RDONLY;
        break;
    case FileAccess::Write:
        flags |= O_WRONLY;
        break;
    case FileAccess::ReadWrite:
        flags |= O_RDWR;
        break;
    }
    switch (creation) {
    case FileCreation::OpenExisting:
        break;
    case FileCreation::OpenAlways:
        flags |= O_CREAT;
        break;
    case FileCreation::CreateAlways:
        flags |= O_CREAT | O_TRUNC;
        break;
    case FileCreation::CreateNew:
        flags |= O_CREAT | O_EXCL;
        break;
    case FileCreation::TruncateExisting:
        flags |= O_TRUNC;
        break;
    }
    if ((flags & O_TRUNC) && access == FileAccess::Read)
        flags = (flags & ~O_RDONLY) | O_RDWR;
    int fd;
    do {
        fd = ::open(path.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        Fail(error);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        if (error)
            *error = EISDIR;
        return -1;
    }
    return fd;
}

bool CloseFile(int fd, int* error) {
    return ::close(fd) == 0 || Fail(error);
}

std::int64_t ReadFile(int fd, void* buffer, std::int64_t count, int* error) {
    ssize_t n;
    do {
        n = ::read(fd, buffer, static_cast<size_t>(count));
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        Fail(error);
        return -1;
    }
    return n;
}

std::int64_t WriteFile(int fd, const void* buffer, std::int64_t count, int* error) {
    const char* p = static_cast<const char*>(buffer);
    std::int64_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd, p + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(error);
            return -1;
        }
        done += n;
    }
    return done;
}

std::int64_t SeekFile(int fd, std::int64_t offset, SeekOrigin origin, int* error) {
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    off_t at = ::lseek(fd, static_cast<off_t>(offset), whence);
    if (at < 0) {
        Fail(error);
        return -1;
    }
    return at;
}

std::int64_t FileSize(int fd, int* error) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        Fail(error);
        return -1;
    }
    return st.st_size;
}

bool TruncateFile(int fd, std::int64_t size, int* error) {
    return ::ftruncate(fd, static_cast<off_t>(size)) == 0 || Fail(error);
}

bool SyncFile(int fd, int* error) {
    return ::fsync(fd) == 0 || Fail(error);
}

FileStamp StatFile(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNanoseconds =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

bool ReadWholeFile(const std::string& path, std::string& contents, int* error) {
    int fd = OpenFile(path, FileAccess::Read, FileCreation::OpenExisting, error);
    if (fd < 0)
        return false;
    contents.clear();
    char buffer[65536];
    for (;;) {
        std::int64_t n = ReadFile(fd, buffer, sizeof buffer, error);
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        contents.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

int OpenAtomicFile(const std::string& path, std::string& temporary, int* error) {
    // One temporary file per call: two threads saving the same file at once must not write into one
    // temporary file together, which would rename a mix of both over path.
    static std::atomic<unsigned long> calls{0};
    temporary = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++calls);
    return OpenFile(temporary, FileAccess::Write, FileCreation::CreateAlways, error);
}

bool CommitAtomicFile(int fd, const std::string& temporary, const std::string& path, int* error) {
    bool ok = SyncFile(fd, error);
    ok = (::close(fd) == 0 || Fail(error)) && ok;
    if (ok)
        ok = RenameFile(temporary, path, error) && SyncDirectory(ParentOf(path), error);
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

void AbandonAtomicFile(int fd, const std::string& temporary) {
    if (fd >= 0)
        ::close(fd);
    ::unlink(temporary.c_str());
}

bool WriteFileAtomically(const std::string& path, const std::string& contents, int* error) {
    std::string temporary;
    const int fd = OpenAtomicFile(path, temporary, error);
    if (fd < 0)
        return false;
    if (WriteFile(fd, contents.data(), static_cast<std::int64_t>(contents.size()), error) < 0) {
        AbandonAtomicFile(fd, temporary);
        return false;
    }
    return CommitAtomicFile(fd, temporary, path, error);
}

bool CopyFile(const std::string& from, const std::string& to, int* error) {
    std::string contents;
    if (!ReadWholeFile(from, contents, error))
        return false;
    int fd = OpenFile(to, FileAccess::Write, FileCreation::CreateAlways, error);
    if (fd < 0)
        return false;
    bool ok = WriteFile(fd, contents.data(), static_cast<std::int64_t>(contents.size()), error) >= 0 &&
              SyncFile(fd, error);
    ok = (::close(fd) == 0 || Fail(error)) && ok;
    return ok;
}

bool RenameFile(const std::string& from, const std::string& to, int* error) {
    return ::rename(from.c_str(), to.c_str()) == 0 || Fail(error);
}

bool DeleteFile(const std::string& path, int* error) {
    return ::unlink(path.c_str()) == 0 || Fail(error);
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& path, int* error) {
    if (path.empty()) {
        if (error)
            *error = ENOENT;
        return false;
    }
    if (DirectoryExists(path))
        return true;
    std::string parent = ParentOf(path);
    if (parent != path && !DirectoryExists(parent) && !ForceDirectories(parent, error))
        return false;
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST)
        return DirectoryExists(path) || Fail(error);
    return Fail(error);
}

bool RemoveDirectory(const std::string& path, int* error) {
    return ::rmdir(path.c_str()) == 0 || Fail(error);
}

bool ListDirectory(const std::string& path, std::vector<std::string>& names, int* error) {
    DIR* dir = ::opendir(path.c_str());
    if (!dir)
        return Fail(error);
    names.clear();
    while (dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return true;
}

FileLock::FileLock(const std::string& lockPath) {
    FFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (FFd < 0) {
        FError = errno;
        return;
    }
    int rc;
    do {
        rc = ::flock(FFd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        FError = errno;
        ::close(FFd);
        FFd = -1;
    }
}

FileLock::~FileLock() {
    if (FFd >= 0) {
        ::flock(FFd, LOCK_UN);
        ::close(FFd);
    }
}

std::string MakeTemporaryDirectory(const std::string& prefix) {
    std::string base = GetEnvironment("TMPDIR");
    if (base.empty())
        base = "/tmp";
    std::string pattern = base + "/" + prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        return std::string();
    return std::string(buffer.data());
}

std::string GetEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::string(value) : std::string();
}

bool SetEnvironment(const std::string& name, const std::string& value) {
    return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

std::string HomeDirectory() {
    std::string home = GetEnvironment("HOME");
    if (!home.empty())
        return home;
    if (const passwd* pw = ::getpwuid(::getuid()))
        return pw->pw_dir ? pw->pw_dir : "";
    return std::string();
}

int CurrentProcessId() {
    return static_cast<int>(::getpid());
}

} // namespace backend
