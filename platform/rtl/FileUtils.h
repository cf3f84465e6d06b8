// The framework's file routines: integer file handles, file and folder tests, and file name parts.
#pragma once

#include "platform/rtl/Types.h"

inline constexpr Char PathDelim = u'/';

// Open modes of FileOpen and TFileStream: one access mode combined with one share mode. Share modes
// are accepted and not enforced: the system's files are not locked against other processes.
inline constexpr Word fmOpenRead = 0x0000;
inline constexpr Word fmOpenWrite = 0x0001;
inline constexpr Word fmOpenReadWrite = 0x0002;
inline constexpr Word fmShareCompat = 0x0000;
inline constexpr Word fmShareExclusive = 0x0010;
inline constexpr Word fmShareDenyWrite = 0x0020;
inline constexpr Word fmShareDenyRead = 0x0030;
inline constexpr Word fmShareDenyNone = 0x0040;

// The handle functions answer -1 on failure (FileClose and the bool functions answer false) and set
// the calling thread's last error (GetLastError) to the Win32 error of the failure.
//
// Opens an existing file; -1 when it is missing or the mode's access is refused.
Integer FileOpen(const String& fileName, LongWord mode);
// Creates a file for reading and writing, emptying one that exists.
Integer FileCreate(const String& fileName);
// Number of bytes read (0 at the end of the file) or -1.
Integer FileRead(Integer handle, void* buffer, LongWord count);
// Number of bytes written or -1.
Integer FileWrite(Integer handle, const void* buffer, LongWord count);
// origin 0 from the start, 1 from the current position, 2 from the end; the new position or -1.
Int64 FileSeek(Integer handle, Int64 offset, Integer origin);
void FileClose(Integer handle);

bool FileExists(const String& fileName);
bool DirectoryExists(const String& directory);
// Creates the folder and its missing parents; true when the folder exists afterwards. An empty name
// answers false.
bool ForceDirectories(const String& directory);
bool DeleteFile(const String& fileName);
// Fails, as on Windows, when newName already exists.
bool RenameFile(const String& oldName, const String& newName);

// Name parts. ExtractFilePath keeps the trailing delimiter, ExtractFileDir drops it (except for the
// root), ExtractFileExt includes the dot.
String ExtractFilePath(const String& fileName);
String ExtractFileDir(const String& fileName);
String ExtractFileName(const String& fileName);
String ExtractFileExt(const String& fileName);
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);
// The absolute name: relative names are taken from the current folder, and "." and ".." parts are
// resolved by name (links are not followed).
String ExpandFileName(const String& fileName);
String GetCurrentDir();
