// Bounded little-endian reading and writing shared by the codecs written in plain C++ (BMP, GIF, ICO).
// Not part of the codecs' public interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "platform/codecs/Image.h"

namespace codecs::detail {

// Thrown inside a decoder and turned into a Result at its entry point; it never leaves the library.
struct DecodeFailure {
    CodecError error;
};

[[noreturn]] inline void Fail(CodecErrorKind kind, const Char* message) {
    throw DecodeFailure{CodecError{kind, String(message)}};
}

// Runs a decoder body, turning its failures (and a failed allocation) into an error result.
template <typename T, typename Body> Result<T> Guarded(const Char* message, Body&& body) {
    try {
        return Result<T>(std::forward<Body>(body)());
    } catch (const DecodeFailure& failure) {
        return Result<T>(failure.error);
    } catch (const std::bad_alloc&) {
        return Result<T>(CodecError{CodecErrorKind::TooLarge, String(message)});
    }
}

// Reads from a span and never past its end: running out of data throws Truncated with the text given.
class ByteReader {
public:
    ByteReader(ByteSpan data, const Char* truncatedMessage) : FData(data), FMessage(truncatedMessage) {}

    std::size_t Position() const { return FPos; }
    std::size_t Remaining() const { return FData.size() - FPos; }
    std::size_t Size() const { return FData.size(); }
    bool AtEnd() const { return FPos >= FData.size(); }

    void Seek(std::size_t pos) {
        if (pos > FData.size())
            Truncated();
        FPos = pos;
    }
    void Skip(std::size_t count) {
        Need(count);
        FPos += count;
    }
    std::uint8_t U8() {
        Need(1);
        return FData[FPos++];
    }
    std::uint16_t U16() {
        Need(2);
        std::uint16_t v = static_cast<std::uint16_t>(FData[FPos] | (FData[FPos + 1] << 8));
        FPos += 2;
        return v;
    }
    std::uint32_t U32() {
        Need(4);
        std::uint32_t v = static_cast<std::uint32_t>(FData[FPos]) |
                          (static_cast<std::uint32_t>(FData[FPos + 1]) << 8) |
                          (static_cast<std::uint32_t>(FData[FPos + 2]) << 16) |
                          (static_cast<std::uint32_t>(FData[FPos + 3]) << 24);
        FPos += 4;
        return v;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // The next count bytes, which stay in the caller's buffer.
    ByteSpan Take(std::size_t count) {
        Need(count);
        ByteSpan part = FData.subspan(FPos, count);
        FPos += count;
        return part;
    }
    void Need(std::size_t count) const {
        if (count > Remaining())
            Truncated();
    }
    [[noreturn]] void Truncated() const { Fail(CodecErrorKind::Truncated, FMessage); }

private:
    ByteSpan FData;
    std::size_t FPos = 0;
    const Char* FMessage;
};

// Appends little-endian values to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(Bytes& out) : FOut(out) {}

    void U8(std::uint32_t v) { FOut.push_back(static_cast<std::uint8_t>(v)); }
    void U16(std::uint32_t v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v) {
        U16(v);
        U16(v >> 16);
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Append(ByteSpan bytes) { FOut.insert(FOut.end(), bytes.begin(), bytes.end()); }
    void Zeros(std::size_t count) { FOut.insert(FOut.end(), count, 0); }
    std::size_t Size() const { return FOut.size(); }
    // Overwrites a 32-bit value written earlier (sizes and offsets known only at the end).
    void PatchU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            FOut[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }

private:
    Bytes& FOut;
};

inline std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// Checks a size claimed by a header against the limits before anything is allocated for it.
inline bool FitsLimits(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= MaxImageDimension && height <= MaxImageDimension &&
           width * height <= MaxImagePixels;
}

} // namespace codecs::detail
