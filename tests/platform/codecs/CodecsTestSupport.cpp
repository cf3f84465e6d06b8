// Test patterns, picture comparison, damage sweeps and the hand-made PNG builder.
#include "tests/platform/codecs/CodecsTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <zlib.h>

namespace codecs_test {

Image Pattern(int width, int height, const std::vector<std::uint32_t>& colours, bool hasAlpha) {
    Image image;
    image.width = width;
    image.height = height;
    image.hasAlpha = hasAlpha;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = colours[static_cast<std::size_t>(x + 2 * y) % colours.size()];
            image.SetPixel(x, y, hasAlpha ? c : (c | 0xFF000000u));
        }
    return image;
}

Image Gradient(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t r = static_cast<std::uint32_t>(x * 255 / std::max(1, width - 1));
            std::uint32_t g = static_cast<std::uint32_t>(y * 255 / std::max(1, height - 1));
            std::uint32_t b = static_cast<std::uint32_t>((x + y) * 255 / std::max(1, width + height - 2));
            image.SetPixel(x, y, 0xFF000000u | (r << 16) | (g << 8) | b);
        }
    return image;
}

std::string FirstDifference(const Image& expected, const Image& actual) {
    char text[160];
    if (expected.width != actual.width || expected.height != actual.height ||
        actual.pixels.size() !=
            static_cast<std::size_t>(actual.width) * static_cast<std::size_t>(actual.height)) {
        std::snprintf(text, sizeof text, "size %dx%d, expected %dx%d", actual.width, actual.height,
                      expected.width, expected.height);
        return text;
    }
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (expected.Pixel(x, y) != actual.Pixel(x, y)) {
                std::snprintf(text, sizeof text, "pixel (%d, %d) is %08X, expected %08X", x, y,
                              actual.Pixel(x, y), expected.Pixel(x, y));
                return text;
            }
    return {};
}

int MaxChannelDifference(const Image& a, const Image& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8) {
            int d = std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                             static_cast<int>((b.pixels[i] >> shift) & 0xFF));
            worst = std::max(worst, d);
        }
    return worst;
}

std::string CheckPrefixes(const Bytes& file, const Decoder& decode) {
    codecs::Result<Image> whole = decode(file);
    if (!whole)
        return "the whole file does not decode";
    for (std::size_t length = 0; length < file.size(); ++length) {
        // A buffer of exactly the prefix, so that the sanitizer sees any read past it.
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        codecs::Result<Image> part = decode(prefix);
        if (part && !FirstDifference(whole.Value(), part.Value()).empty())
            return "prefix of " + std::to_string(length) + " bytes gives a different picture";
    }
    return {};
}

std::string CheckDamagedBytes(const Bytes& file, const Decoder& decode) {
    Bytes damaged = file;
    for (std::size_t i = 0; i < file.size(); ++i) {
        for (std::uint8_t value :
             {std::uint8_t{0x00}, std::uint8_t{0xFF}, static_cast<std::uint8_t>(~file[i])}) {
            damaged[i] = value;
            codecs::Result<Image> result = decode(damaged);
            if (result) {
                const Image& image = result.Value();
                if (image.width <= 0 || image.height <= 0 || image.width > codecs::MaxImageDimension ||
                    image.height > codecs::MaxImageDimension ||
                    image.pixels.size() !=
                        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
                    return "byte " + std::to_string(i) + " damaged gives an inconsistent picture";
            } else if (result.Error().message.empty()) {
                return "byte " + std::to_string(i) + " damaged gives an error without a text";
            }
        }
        damaged[i] = file[i];
    }
    return {};
}

void PutU32BE(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutU16LE(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32LE(Bytes& out, std::uint32_t v) {
    PutU16LE(out, v);
    PutU16LE(out, v >> 16);
}

void SetU16LE(Bytes& data, std::size_t at, std::uint32_t v) {
    data[at] = static_cast<std::uint8_t>(v);
    data[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void SetU32LE(Bytes& data, std::size_t at, std::uint32_t v) {
    SetU16LE(data, at, v);
    SetU16LE(data, at + 2, v >> 16);
}

std::uint32_t Crc(const std::string& type, const Bytes& data) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(type.data()), static_cast<uInt>(type.size()));
    crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    return static_cast<std::uint32_t>(crc);
}

Bytes PngChunk(const std::string& type, const Bytes& data) {
    Bytes out;
    PutU32BE(out, static_cast<std::uint32_t>(data.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutU32BE(out, Crc(type, data));
    return out;
}

Bytes PngHeader(int width, int height, int bitDepth, int colorType, int interlace) {
    Bytes data;
    PutU32BE(data, static_cast<std::uint32_t>(width));
    PutU32BE(data, static_cast<std::uint32_t>(height));
    data.push_back(static_cast<std::uint8_t>(bitDepth));
    data.push_back(static_cast<std::uint8_t>(colorType));
    data.push_back(0);
    data.push_back(0);
    data.push_back(static_cast<std::uint8_t>(interlace));
    return PngChunk("IHDR", data);
}

namespace {

void PackRow(const std::vector<std::uint16_t>& samples, int width, int channels, int bitDepth, int y,
             int xStart, int xStep, Bytes& out) {
    out.push_back(0); // filter type: none
    int bitPos = 0;
    std::uint8_t byte = 0;
    for (int x = xStart; x < width; x += xStep) {
        for (int c = 0; c < channels; ++c) {
            std::uint16_t v = samples[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                       static_cast<std::size_t>(x)) *
                                          static_cast<std::size_t>(channels) +
                                      static_cast<std::size_t>(c)];
            if (bitDepth == 16) {
                out.push_back(static_cast<std::uint8_t>(v >> 8));
                out.push_back(static_cast<std::uint8_t>(v));
            } else if (bitDepth == 8) {
                out.push_back(static_cast<std::uint8_t>(v));
            } else {
                byte = static_cast<std::uint8_t>(byte | (v << (8 - bitDepth - bitPos)));
                bitPos += bitDepth;
                if (bitPos == 8) {
                    out.push_back(byte);
                    byte = 0;
                    bitPos = 0;
                }
            }
        }
    }
    if (bitPos > 0)
        out.push_back(byte);
}

} // namespace

Bytes PngScanlines(const std::vector<std::uint16_t>& samples, int width, int height, int channels,
                   int bitDepth, bool interlaced) {
    Bytes out;
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            PackRow(samples, width, channels, bitDepth, y, 0, 1, out);
        return out;
    }
    static constexpr int Passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                         {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& pass : Passes) {
        if (pass[0] >= width || pass[1] >= height)
            continue;
        for (int y = pass[1]; y < height; y += pass[3])
            PackRow(samples, width, channels, bitDepth, y, pass[0], pass[2], out);
    }
    return out;
}

Bytes Deflate(const Bytes& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    out.resize(size);
    return out;
}

Bytes MakePng(int width, int height, int bitDepth, int colorType, bool interlaced,
              const std::vector<std::uint16_t>& samples, const std::vector<Bytes>& extraChunks) {
    static constexpr int ChannelsOf[7] = {1, 0, 3, 1, 2, 0, 4};
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header = PngHeader(width, height, bitDepth, colorType, interlaced ? 1 : 0);
    out.insert(out.end(), header.begin(), header.end());
    for (const Bytes& chunk : extraChunks)
        out.insert(out.end(), chunk.begin(), chunk.end());
    Bytes idat = PngChunk(
        "IDAT", Deflate(PngScanlines(samples, width, height, ChannelsOf[colorType], bitDepth, interlaced)));
    out.insert(out.end(), idat.begin(), idat.end());
    Bytes end = PngChunk("IEND", {});
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

} // namespace codecs_test
