// Files and folders of the operating system, for the platform layer. Paths are UTF-8. Every call that
// can fail returns false (or -1) and stores the errno value of the failure in *error when it is given;
// the win32 layer turns that into the Win32 error its caller reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace backend {

enum class FileAccess { Read, Write, ReadWrite };
enum class FileCreation {
    OpenExisting,     // fails when the file is missing
    OpenAlways,       // opens, creating an empty file when missing
    CreateAlways,     // creates, truncating an existing file
    CreateNew,        // fails when the file exists
    TruncateExisting, // opens and truncates; fails when missing
};
enum class SeekOrigin { Begin, Current, End };

// Low-level descriptors, as used by file streams and the serial device.
int OpenFile(const std::string& path, FileAccess access, FileCreation creation, int* error);
bool CloseFile(int fd, int* error);
// Number of bytes read (0 at the end of the file) or -1.
std::int64_t ReadFile(int fd, void* buffer, std::int64_t count, int* error);
// Writes all count bytes unless an error occurs; returns the number written or -1.
std::int64_t WriteFile(int fd, const void* buffer, std::int64_t count, int* error);
// New position or -1.
std::int64_t SeekFile(int fd, std::int64_t offset, SeekOrigin origin, int* error);
std::int64_t FileSize(int fd, int* error);
bool TruncateFile(int fd, std::int64_t size, int* error);
bool SyncFile(int fd, int* error);

// Identity of a file's present contents: changes whenever the file is replaced or written.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StatFile(const std::string& path);

// Whole-file helpers.
bool ReadWholeFile(const std::string& path, std::string& contents, int* error);
// Writes to a temporary file in the same folder, flushes it to disk, renames it over path and flushes
// the folder, so that readers see either the old or the new contents, never a part.
bool WriteFileAtomically(const std::string& path, const std::string& contents, int* error);
// The same in steps, for contents written piece by piece: OpenAtomicFile creates the temporary file
// beside path (its name in temporary) and answers its descriptor or -1; CommitAtomicFile flushes and
// closes it and renames it over path; AbandonAtomicFile closes and deletes it, leaving path as it was.
// Either of the last two ends the descriptor, whatever it answers.
int OpenAtomicFile(const std::string& path, std::string& temporary, int* error);
bool CommitAtomicFile(int fd, const std::string& temporary, const std::string& path, int* error);
void AbandonAtomicFile(int fd, const std::string& temporary);
bool CopyFile(const std::string& from, const std::string& to, int* error);
bool RenameFile(const std::string& from, const std::string& to, int* error);
bool DeleteFile(const std::string& path, int* error);

bool FileExists(const std::string& path); // a file, not a folder
bool DirectoryExists(const std::string& path);
// Creates the folder and every missing parent.
bool ForceDirectories(const std::string& path, int* error);
bool RemoveDirectory(const std::string& path, int* error);
// Entries of a folder (names only), unsorted; false when the folder cannot be read.
bool ListDirectory(const std::string& path, std::vector<std::string>& names, int* error);

// An exclusive advisory lock between processes, held while the object lives. The lock file is created
// when missing and left in place.
class FileLock {
public:
    explicit FileLock(const std::string& lockPath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return FFd >= 0; }
    int Error() const { return FError; }

private:
    int FFd = -1;
    int FError = 0;
};

// A new private folder under the system's temporary folder; empty text on failure.
std::string MakeTemporaryDirectory(const std::string& prefix);
// The value of an environment variable, or empty text.
std::string GetEnvironment(const std::string& name);
bool SetEnvironment(const std::string& name, const std::string& value);
std::string HomeDirectory();
int CurrentProcessId();

} // namespace backend
