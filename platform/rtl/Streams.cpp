// The framework's streams: the TStream helpers, handle and file streams, memory and string streams.
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "platform/backend/file.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Encoding.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

namespace {

// Bytes moved per Read/Write call, which count in Integers.
constexpr Int64 kPiece = Int64(1) << 30;

void WriteAll(TStream& stream, const void* data, Int64 size) {
    const Byte* p = static_cast<const Byte*>(data);
    while (size > 0) {
        const Int64 piece = std::min(size, kPiece);
        stream.WriteBuffer(p, static_cast<Integer>(piece));
        p += piece;
        size -= piece;
    }
}

void ReadAll(TStream& stream, void* data, Int64 size) {
    Byte* p = static_cast<Byte*>(data);
    while (size > 0) {
        const Int64 piece = std::min(size, kPiece);
        stream.ReadBuffer(p, static_cast<Integer>(piece));
        p += piece;
        size -= piece;
    }
}

} // namespace

// TStream

TStream::~TStream() = default;

Int64 TStream::Seek(Int64 offset, TSeekOriginWord origin) {
    return Seek(offset, static_cast<TSeekOrigin>(origin));
}

void TStream::ReadBuffer(void* buffer, Integer count) {
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError(Consts::SReadError);
}

void TStream::WriteBuffer(const void* buffer, Integer count) {
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError(Consts::SWriteError);
}

Int64 TStream::CopyFrom(TStream& source, Int64 count) {
    if (count <= 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const Int64 result = count;
    const Integer bufferSize = static_cast<Integer>(std::min<Int64>(count, 0xF000));
    std::vector<Byte> buffer(static_cast<size_t>(std::max(bufferSize, 1)));
    while (count > 0) {
        const Integer n = static_cast<Integer>(std::min<Int64>(count, bufferSize));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return result;
}

Int64 TStream::Size() {
    const Int64 position = Seek(0, soCurrent);
    const Int64 size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

// THandleStream

Integer THandleStream::Read(void* buffer, Integer count) {
    if (count <= 0)
        return 0;
    const Integer n = FileRead(FHandle, buffer, static_cast<LongWord>(count));
    return n < 0 ? 0 : n;
}

Integer THandleStream::Write(const void* buffer, Integer count) {
    if (count <= 0)
        return 0;
    const Integer n = FileWrite(FHandle, buffer, static_cast<LongWord>(count));
    return n < 0 ? 0 : n;
}

Int64 THandleStream::Seek(Int64 offset, TSeekOrigin origin) {
    return FileSeek(FHandle, offset, origin);
}

void THandleStream::SetSize(Int64 newSize) {
    Seek(newSize, soBeginning);
    int error = 0;
    if (!backend::TruncateFile(FHandle, newSize, &error))
        RaiseLastOSError(Win32ErrorFromErrno(error));
}

// TFileStream

TFileStream::TFileStream(const String& fileName, Word mode) : THandleStream(-1), FFileName(fileName) {
    if ((mode & fmCreate) == fmCreate) {
        FHandle = FileCreate(fileName);
        if (FHandle < 0)
            throw EFCreateError(Consts::SFCreateErrorEx,
                                {ExpandFileName(fileName), SysErrorMessage(GetLastError())});
    } else {
        FHandle = FileOpen(fileName, mode);
        if (FHandle < 0)
            throw EFOpenError(Consts::SFOpenErrorEx,
                              {ExpandFileName(fileName), SysErrorMessage(GetLastError())});
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0)
        FileClose(FHandle);
}

// TAtomicFileStream

TAtomicFileStream::TAtomicFileStream(const String& fileName) : THandleStream(-1), FFileName(fileName) {
    int error = 0;
    FHandle = backend::OpenAtomicFile(StringToUtf8(ExpandFileName(fileName)), FTemporary, &error);
    if (FHandle < 0) {
        FTemporary.clear();
        SetLastError(Win32ErrorFromErrno(error));
        throw EFCreateError(Consts::SFCreateErrorEx,
                            {ExpandFileName(fileName), SysErrorMessage(GetLastError())});
    }
}

TAtomicFileStream::~TAtomicFileStream() {
    if (!FTemporary.empty())
        backend::AbandonAtomicFile(FHandle, FTemporary);
}

void TAtomicFileStream::Commit() {
    if (FTemporary.empty())
        return;
    const std::string temporary = std::move(FTemporary);
    FTemporary.clear();
    const int fd = FHandle;
    FHandle = -1;
    int error = 0;
    if (!backend::CommitAtomicFile(fd, temporary, StringToUtf8(ExpandFileName(FFileName)), &error)) {
        SetLastError(Win32ErrorFromErrno(error));
        throw EFCreateError(Consts::SFCreateErrorEx,
                            {ExpandFileName(FFileName), SysErrorMessage(GetLastError())});
    }
}

// TCustomMemoryStream

Integer TCustomMemoryStream::Read(void* buffer, Integer count) {
    if (FPosition < 0 || count <= 0 || FPosition >= FSize)
        return 0;
    const Integer n = static_cast<Integer>(std::min<Int64>(FSize - FPosition, count));
    std::memcpy(buffer, static_cast<Byte*>(FMemory) + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

Int64 TCustomMemoryStream::Seek(Int64 offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning:
        FPosition = offset;
        break;
    case soCurrent:
        FPosition += offset;
        break;
    case soEnd:
        FPosition = FSize + offset;
        break;
    }
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& stream) {
    WriteAll(stream, FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const String& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TCustomMemoryStream::SetPointer(void* memory, Int64 size) {
    FMemory = memory;
    FSize = size;
}

// TMemoryStream

namespace {
// Capacities are whole blocks of this size.
constexpr Int64 kMemoryDelta = 0x2000;
} // namespace

TMemoryStream::~TMemoryStream() = default;

Integer TMemoryStream::Write(const void* buffer, Integer count) {
    if (FPosition < 0 || count <= 0)
        return 0;
    const Int64 end = FPosition + count;
    if (end > FSize) {
        // Growing by half again each time keeps many small writes linear in the total size.
        if (end > Capacity())
            SetCapacity(std::max(end, Capacity() + Capacity() / 2));
        // A write past the end leaves a gap of zeros, not of bytes an earlier, larger size left behind.
        if (FPosition > FSize)
            std::memset(static_cast<Byte*>(FMemory) + FSize, 0, static_cast<size_t>(FPosition - FSize));
        FSize = end;
    }
    std::memcpy(static_cast<Byte*>(FMemory) + FPosition, buffer, static_cast<size_t>(count));
    FPosition = end;
    return count;
}

void TMemoryStream::SetSize(Int64 newSize) {
    newSize = std::max<Int64>(newSize, 0);
    const Int64 oldPosition = FPosition;
    const Int64 oldSize = FSize;
    SetCapacity(newSize);
    if (newSize > oldSize)
        std::memset(static_cast<Byte*>(FMemory) + oldSize, 0, static_cast<size_t>(newSize - oldSize));
    FSize = newSize;
    if (oldPosition > newSize)
        Seek(0, soEnd);
}

void TMemoryStream::Clear() {
    SetCapacity(0);
    FSize = 0;
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    const Int64 count = stream.Size();
    SetSize(count);
    FPosition = 0;
    ReadAll(stream, FMemory, count);
}

void TMemoryStream::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TMemoryStream::SetCapacity(Int64 newCapacity) {
    newCapacity = std::max<Int64>(newCapacity, 0);
    if (newCapacity > 0)
        newCapacity = (newCapacity + kMemoryDelta - 1) / kMemoryDelta * kMemoryDelta;
    try {
        if (newCapacity == 0)
            std::vector<Byte>().swap(FBuffer);
        else
            FBuffer.resize(static_cast<size_t>(newCapacity));
    } catch (const std::bad_alloc&) {
        throw EStreamError(Consts::SMemoryStreamError);
    } catch (const std::length_error&) {
        throw EStreamError(Consts::SMemoryStreamError);
    }
    // A smaller capacity cuts the contents short.
    SetPointer(FBuffer.empty() ? nullptr : FBuffer.data(), std::min(FSize, newCapacity));
}

// TStringStream

TStringStream::TStringStream() : FEncoding(TEncoding::Default()) {}

TStringStream::TStringStream(const String& text, TEncoding* encoding)
    : FEncoding(encoding ? encoding : TEncoding::Default()) {
    WriteString(text);
    FPosition = 0;
}

String TStringStream::DataString() {
    return FEncoding->GetString(static_cast<const Byte*>(FMemory), static_cast<size_t>(FSize));
}

String TStringStream::ReadString(Integer count) {
    if (FPosition < 0 || count <= 0 || FPosition >= FSize)
        return String();
    const Int64 n = std::min<Int64>(FSize - FPosition, count);
    const String text =
        FEncoding->GetString(static_cast<const Byte*>(FMemory) + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return text;
}

void TStringStream::WriteString(const String& text) {
    const TBytes bytes = FEncoding->GetBytes(text);
    WriteAll(*this, bytes.data(), static_cast<Int64>(bytes.size()));
}
