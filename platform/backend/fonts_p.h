// The Qt side of realised fonts, shared by the backend's font and drawing files only; never included
// outside platform/backend.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QVector>
#include <array>
#include <mutex>
#include <string_view>
#include <unordered_map>

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

private:
    struct Glyph {
        quint32 index = 0;
        int advance = -1; // -1 until measured
    };
    Glyph Lookup(char32_t c) const;

    mutable std::mutex FMutex;
    mutable std::array<Glyph, 256> FLatin{};
    mutable std::unordered_map<char32_t, Glyph> FOthers;
};

} // namespace backend
