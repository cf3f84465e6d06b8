// Pictures and checks the codec tests share: test patterns, a hand-made PNG builder for the variants
// our writer does not produce, and sweeps over cut and damaged files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/codecs/Image.h"

namespace codecs_test {

using codecs::Bytes;
using codecs::ByteSpan;
using codecs::Image;

// A picture whose pixel (x, y) is colours[(x + 2 * y) % colours.size()] (0xAARRGGBB).
Image Pattern(int width, int height, const std::vector<std::uint32_t>& colours, bool hasAlpha = false);
// A picture with a different colour at nearly every pixel.
Image Gradient(int width, int height);

// The first pixel where two pictures differ, as text, or empty when they are the same (size and pixels).
std::string FirstDifference(const Image& expected, const Image& actual);
// The largest difference of any channel between two pictures of the same size.
int MaxChannelDifference(const Image& a, const Image& b);

using Decoder = std::function<codecs::Result<Image>(ByteSpan)>;

// Every strict prefix of a valid file must give an error or (where the missing bytes carry nothing,
// such as a final end marker) the very same picture; never a different picture. Returns the first
// offending prefix length as text, or empty.
std::string CheckPrefixes(const Bytes& file, const Decoder& decode);
// Every byte of the file replaced by 0x00, 0xFF and its complement in turn: each decode must return
// (sanitizers watch what it reads), and a picture it returns must be within the limits and consistent.
std::string CheckDamagedBytes(const Bytes& file, const Decoder& decode);

// PNG files put together by hand, for the colour types, depths and damage our writer never produces.
std::uint32_t Crc(const std::string& type, const Bytes& data);
Bytes PngChunk(const std::string& type, const Bytes& data);
Bytes PngHeader(int width, int height, int bitDepth, int colorType, int interlace = 0);
// The filtered (filter type 0) scan lines of samples (width * height * channels values), packed at the
// bit depth, in Adam7 passes when interlaced.
Bytes PngScanlines(const std::vector<std::uint16_t>& samples, int width, int height, int channels,
                   int bitDepth, bool interlaced);
Bytes Deflate(const Bytes& raw);
// Signature, IHDR, the extra chunks in order, IDAT of the compressed scan lines, IEND.
Bytes MakePng(int width, int height, int bitDepth, int colorType, bool interlaced,
              const std::vector<std::uint16_t>& samples, const std::vector<Bytes>& extraChunks = {});

void PutU32BE(Bytes& out, std::uint32_t v);
void PutU16LE(Bytes& out, std::uint32_t v);
void PutU32LE(Bytes& out, std::uint32_t v);
void SetU16LE(Bytes& data, std::size_t at, std::uint32_t v);
void SetU32LE(Bytes& data, std::size_t at, std::uint32_t v);

} // namespace codecs_test
