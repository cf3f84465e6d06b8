// Simple colour reduction: exact tables for pictures with few colours, fixed tables otherwise.
#include "platform/codecs/Quantize.h"

#include <algorithm>
#include <array>
#include <limits>
#include <unordered_map>

namespace codecs::detail {

namespace {

constexpr std::uint32_t RgbMask = 0x00FFFFFFu;

// The 16 colours every display has, in their usual order.
constexpr std::array<std::uint32_t, 16> StandardColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
constexpr std::array<std::uint32_t, 2> BlackAndWhite = {0x000000, 0xFFFFFF};

int Distance(std::uint32_t a, std::uint32_t b) {
    int dr = static_cast<int>((a >> 16) & 0xFF) - static_cast<int>((b >> 16) & 0xFF);
    int dg = static_cast<int>((a >> 8) & 0xFF) - static_cast<int>((b >> 8) & 0xFF);
    int db = static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    return dr * dr + dg * dg + db * db;
}

std::uint8_t Nearest(std::uint32_t rgb, std::span<const std::uint32_t> palette) {
    int best = std::numeric_limits<int>::max();
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        int d = Distance(rgb, palette[i]);
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    return static_cast<std::uint8_t>(bestIndex);
}

// Levels of the colour cube: 6 reds, 7 greens (the eye tells greens apart best), 6 blues.
constexpr int CubeRed = 6;
constexpr int CubeGreen = 7;
constexpr int CubeBlue = 6;
constexpr int CubeSize = CubeRed * CubeGreen * CubeBlue; // 252

std::uint32_t Level(std::uint32_t value, int levels) {
    return (value * static_cast<std::uint32_t>(levels - 1) + 127) / 255;
}

std::uint32_t LevelValue(std::uint32_t level, int levels) {
    return (level * 255 + static_cast<std::uint32_t>(levels - 1) / 2) /
           static_cast<std::uint32_t>(levels - 1);
}

std::uint8_t CubeIndex(std::uint32_t rgb) {
    std::uint32_t r = Level((rgb >> 16) & 0xFF, CubeRed);
    std::uint32_t g = Level((rgb >> 8) & 0xFF, CubeGreen);
    std::uint32_t b = Level(rgb & 0xFF, CubeBlue);
    return static_cast<std::uint8_t>((r * CubeGreen + g) * CubeBlue + b);
}

std::vector<std::uint32_t> CubePalette() {
    std::vector<std::uint32_t> palette;
    palette.reserve(CubeSize);
    for (int r = 0; r < CubeRed; ++r)
        for (int g = 0; g < CubeGreen; ++g)
            for (int b = 0; b < CubeBlue; ++b)
                palette.push_back(0xFF000000u | (LevelValue(static_cast<std::uint32_t>(r), CubeRed) << 16) |
                                  (LevelValue(static_cast<std::uint32_t>(g), CubeGreen) << 8) |
                                  LevelValue(static_cast<std::uint32_t>(b), CubeBlue));
    return palette;
}

} // namespace

IndexedImage QuantizeImage(const Image& image, int maxColours, bool allowTransparency) {
    maxColours = std::clamp(maxColours, 1, 256);
    IndexedImage result;
    const std::size_t count = image.pixels.size();
    result.indices.resize(count);

    bool transparency = false;
    if (allowTransparency && image.hasAlpha && maxColours >= 2)
        transparency = std::any_of(image.pixels.begin(), image.pixels.end(),
                                   [](std::uint32_t p) { return (p >> 24) < 128; });
    const int available = maxColours - (transparency ? 1 : 0);
    auto isTransparent = [&](std::uint32_t p) { return transparency && (p >> 24) < 128; };

    // The picture's own colours, in the order they first appear.
    std::unordered_map<std::uint32_t, std::uint8_t> exact;
    bool fits = true;
    for (std::size_t i = 0; i < count && fits; ++i) {
        std::uint32_t p = image.pixels[i];
        if (isTransparent(p))
            continue;
        std::uint32_t rgb = p & RgbMask;
        auto it = exact.find(rgb);
        if (it != exact.end()) {
            result.indices[i] = it->second;
        } else if (static_cast<int>(exact.size()) < available) {
            auto index = static_cast<std::uint8_t>(exact.size());
            exact.emplace(rgb, index);
            result.palette.push_back(0xFF000000u | rgb);
            result.indices[i] = index;
        } else {
            fits = false;
        }
    }

    if (!fits) {
        result.palette.clear();
        if (available >= CubeSize) {
            result.palette = CubePalette();
            for (std::size_t i = 0; i < count; ++i)
                result.indices[i] = CubeIndex(image.pixels[i]);
        } else {
            std::span<const std::uint32_t> table =
                available >= 16 ? std::span<const std::uint32_t>(StandardColours)
                                : std::span<const std::uint32_t>(BlackAndWhite)
                                      .first(static_cast<std::size_t>(std::min(available, 2)));
            for (std::uint32_t c : table)
                result.palette.push_back(0xFF000000u | c);
            std::unordered_map<std::uint32_t, std::uint8_t> cache;
            for (std::size_t i = 0; i < count; ++i) {
                std::uint32_t rgb = image.pixels[i] & RgbMask;
                auto it = cache.find(rgb);
                if (it == cache.end())
                    it = cache.emplace(rgb, Nearest(rgb, table)).first;
                result.indices[i] = it->second;
            }
        }
    }

    if (transparency) {
        // A picture with no opaque pixel still needs one entry besides the transparent one.
        if (result.palette.empty())
            result.palette.push_back(0xFF000000u);
        result.transparentIndex = static_cast<int>(result.palette.size());
        result.palette.push_back(0);
        for (std::size_t i = 0; i < count; ++i)
            if (isTransparent(image.pixels[i]))
                result.indices[i] = static_cast<std::uint8_t>(result.transparentIndex);
    }
    if (result.palette.empty())
        result.palette.push_back(0xFF000000u);
    return result;
}

std::vector<std::uint8_t> MapToPalette(const Image& image, std::span<const std::uint32_t> palette) {
    std::unordered_map<std::uint32_t, std::uint8_t> lookup;
    for (std::size_t i = palette.size(); i-- > 0;)
        lookup[palette[i] & RgbMask] = static_cast<std::uint8_t>(i);
    std::vector<std::uint8_t> indices(image.pixels.size());
    for (std::size_t i = 0; i < indices.size(); ++i) {
        std::uint32_t rgb = image.pixels[i] & RgbMask;
        auto it = lookup.find(rgb);
        if (it == lookup.end())
            it = lookup.emplace(rgb, Nearest(rgb, palette)).first;
        indices[i] = it->second;
    }
    return indices;
}

} // namespace codecs::detail
