// The framework's streams: TStream and its file, handle, memory and string streams.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Types.h"

class TEncoding;

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
// The older origins of Seek(offset, Word); a type of their own so that the two Seek overloads never
// compete for a call.
enum TSeekOriginWord : Word { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// TFileStream mode that creates the file (emptying one that exists) for reading and writing.
inline constexpr Word fmCreate = 0xFF00;

class TStream {
public:
    TStream() = default;
    virtual ~TStream();
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Up to count bytes; answers the number moved (0 at the end or on a failure).
    virtual Integer Read(void* buffer, Integer count) = 0;
    virtual Integer Write(const void* buffer, Integer count) = 0;
    // The new position.
    virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;
    Int64 Seek(Int64 offset, TSeekOriginWord origin);

    // Exactly count bytes, or EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, Integer count);
    void WriteBuffer(const void* buffer, Integer count);
    // Copies count bytes from source's position; count <= 0 copies the whole of source from its start.
    // Answers the number of bytes copied.
    Int64 CopyFrom(TStream& source, Int64 count);

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 position) { Seek(position, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 newSize);
};

// A stream over an open file handle, which it does not close.
class THandleStream : public TStream {
public:
    explicit THandleStream(Integer handle) : FHandle(handle) {}

    using TStream::Seek;
    Integer Read(void* buffer, Integer count) override;
    Integer Write(const void* buffer, Integer count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    // Raises EOSError when the file cannot be resized.
    void SetSize(Int64 newSize) override;
    Integer Handle() const { return FHandle; }

protected:
    Integer FHandle;
};

class TFileStream : public THandleStream {
public:
    // mode is fmCreate or an fmOpen... access mode, combined with a share mode. Raises EFCreateError
    // 'Cannot create file "%s". %s' or EFOpenError 'Cannot open file "%s". %s' with the expanded name
    // and the system's text for the failure.
    TFileStream(const String& fileName, Word mode);
    ~TFileStream() override;
    const String& FileName() const { return FFileName; }

private:
    String FFileName;
};

// A file stream that replaces its file only when committed: it writes a temporary file beside the
// target, and Commit flushes it and renames it over the target. A stream freed without Commit deletes
// the temporary file, so a failed save leaves the old file as it was. The constructor raises
// EFCreateError as TFileStream with fmCreate does; so does Commit when the file cannot be flushed or
// renamed.
class TAtomicFileStream : public THandleStream {
public:
    explicit TAtomicFileStream(const String& fileName);
    ~TAtomicFileStream() override;
    void Commit();
    const String& FileName() const { return FFileName; }

private:
    String FFileName;
    std::string FTemporary; // the temporary file's path; empty once committed
};

// A stream over a block of memory.
class TCustomMemoryStream : public TStream {
public:
    using TStream::Seek;
    Integer Read(void* buffer, Integer count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 Size() override { return FSize; }
    void SaveToStream(TStream& stream);
    void SaveToFile(const String& fileName);
    // The first byte; valid until the stream next grows or shrinks.
    void* Memory() { return FMemory; }

protected:
    void SetPointer(void* memory, Int64 size);

    void* FMemory = nullptr;
    Int64 FSize = 0;
    Int64 FPosition = 0; // may lie past the end, or before the start after a negative seek
};

// A memory stream that grows as it is written.
class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    Integer Write(const void* buffer, Integer count) override;
    void SetSize(Int64 newSize) override;
    void Clear();
    // Replaces the contents with the whole of stream (read from its start) or of the file.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(const String& fileName);
    Int64 Capacity() const { return static_cast<Int64>(FBuffer.size()); }
    void SetCapacity(Int64 newCapacity);

private:
    std::vector<Byte> FBuffer; // its size is the capacity
};

// A memory stream of text in an encoding (ANSI unless given).
class TStringStream : public TMemoryStream {
public:
    TStringStream();
    explicit TStringStream(const String& text, TEncoding* encoding = nullptr);

    // The whole contents decoded.
    String DataString();
    // count bytes from the position, decoded.
    String ReadString(Integer count);
    // Writes the encoded text at the position.
    void WriteString(const String& text);
    TEncoding* Encoding() const { return FEncoding; }

private:
    TEncoding* FEncoding;
};
