// The Qt side of realised fonts, shared by the backend's font and drawing files only; never included
// outside platform/backend.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QVector>
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/backend/fonts.h"

namespace backend {

// Characters a symbol face draws at letter code points, mapped to the same pictures in an installed face.
struct SymbolMap;

class Font {
public:
    FontRequest request;
    FontMetrics metrics;
    std::u16string installedFace;
    QFont qtFont;
    QRawFont rawFont;
    const SymbolMap* symbols = nullptr;

    // Glyph index and advance of each UTF-16 unit; surrogate pairs give their glyph on the first unit
    // and glyph 0 with advance 0 on the second.
    void Shape(std::u16string_view text, QVector<quint32>* glyphs, std::vector<int>* advances) const;

    // The coverage of one glyph drawn upright at a whole-pixel baseline origin, exactly as QPainter
    // draws it on RGB32 pixels: 0 leaves a pixel alone, 255 sets it to the ink, and the values between
    // blend linearly. Made at first use and kept for the font's life; pointers to it stay valid.
    struct GlyphMask {
        int left = 0; // of the coverage box, from the origin
        int top = 0;  // of the coverage box, from the baseline (negative above it)
        int width = 0;
        int height = 0;
        std::vector<std::uint8_t> coverage; // width * height, row by row
        // Per row, the columns from the first to past the last covered pixel (both 0 for a bare row),
        // so that drawing walks only the ink.
        struct Span {
            std::uint16_t from = 0;
            std::uint16_t to = 0;
        };
        std::vector<Span> spans;
    };
    // The mask of each UTF-16 unit's glyph, as Shape gives the glyphs, in one pass under one lock; glyph
    // 0 (drawn as nothing) gives null.
    void MasksOf(std::u16string_view text, std::vector<const GlyphMask*>& masks) const;

private:
    struct Glyph {
        quint32 index = 0;
        int advance = -1; // -1 until measured
    };
    Glyph Lookup(char32_t c) const;
    GlyphMask Capture(quint32 glyph) const;

    mutable std::mutex FMutex;
    mutable std::array<Glyph, 256> FLatin{};
    mutable std::unordered_map<char32_t, Glyph> FOthers;
    const GlyphMask& MaskLocked(quint32 glyph) const;

    // Indexed by glyph; a slot stays empty until its glyph is drawn. Masks never move once made.
    mutable std::vector<std::unique_ptr<GlyphMask>> FMasks;
};

} // namespace backend
