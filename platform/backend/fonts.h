// Fonts for GDI: Windows face names resolved through one substitution table to the faces the platform
// installs, realised at 96 dpi with pinned hinting and anti-aliasing, and measured from the faces' own
// tables so that every machine gets the same metrics.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace backend {

// A logical font as the DC asks for it (the fields of LOGFONT that change the result).
struct FontRequest {
    std::u16string face;
    int height = 0;     // < 0: character (em) height in pixels; > 0: cell height; 0: the default size
    int escapement = 0; // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;
    int pitchAndFamily = 0;
    bool antialiased = true;
    bool operator==(const FontRequest&) const = default;
};

// Metrics in pixels, as TEXTMETRIC and OUTLINETEXTMETRIC report them.
struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    char16_t firstChar = 0x20;
    char16_t lastChar = 0xFFFC;
    char16_t defaultChar = 0x1F;
    char16_t breakChar = 0x20;
    bool italic = false;
    bool underlined = false;
    bool struckOut = false;
    bool fixedPitch = false;
    int family = 0; // FF_SWISS, FF_ROMAN, FF_MODERN or FF_DECORATIVE
    int charSet = 0;
    int emSquare = 0;      // pixels per em
    int unitsPerEm = 2048; // of the face's design
    int lineGap = 0;
    int underlinePosition = 0; // below the baseline, positive downwards
    int underlineThickness = 1;
    int strikeoutPosition = 0; // above the baseline
    int strikeoutThickness = 1;
    int capHeight = 0;
    int xHeight = 0;
};

struct CharABC {
    int a = 0; // space before the ink
    int b = 0; // width of the ink
    int c = 0; // space after it
};

class Font;
using FontRef = std::shared_ptr<const Font>;

// Realised fonts are shared: the same request gives the same object. Never null: an unknown face gets
// the default face of its family.
FontRef RealizeFont(const FontRequest& request);
const FontMetrics& MetricsOf(const Font& font);
const FontRequest& RequestOf(const Font& font);
// The installed face that draws the font ("Liberation Sans" for "Arial").
std::u16string InstalledFaceOf(const Font& font);

// Advance of each UTF-16 unit of text in whole pixels; the second unit of a surrogate pair gets 0.
// Control characters other than tab advance by 0.
void Advances(const Font& font, std::u16string_view text, std::vector<int>& advances);
int CharAdvance(const Font& font, char32_t c);
CharABC CharABCWidths(const Font& font, char32_t c);

// The substitution table: the installed face for a Windows face name (case does not matter).
// Unknown names answer the default sans face.
std::u16string SubstituteFace(std::u16string_view face);
// True for faces that draw symbols at letter code points (Marlett, Wingdings, Symbol).
bool IsSymbolFace(std::u16string_view face);
// True for a face the substitution table names or the machine has installed (case does not matter).
bool IsKnownFace(std::u16string_view face);

// Frees the realised fonts; the platform calls it before it stops, while Qt can still free them.
void ReleaseFonts();

// The installed faces the substitution table needs that are missing; empty when all are there.
std::vector<std::string> MissingFonts();

} // namespace backend
