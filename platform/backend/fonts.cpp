// Font substitution, realisation and measuring. Metrics come from the faces' tables (head, hhea, OS/2,
// post) scaled to the pixel size, and advances from the unhinted design widths rounded to whole pixels,
// so that they do not depend on the machine's FreeType settings.
#include "platform/backend/fonts_p.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>

namespace backend {

struct SymbolMap {
    std::unordered_map<char32_t, char32_t> map;
};

namespace {

constexpr int FamilySwiss = 0x20;
constexpr int FamilyRoman = 0x10;
constexpr int FamilyModern = 0x30;
constexpr int FamilyDecorative = 0x50;
constexpr int FixedPitch = 1;
constexpr int SymbolCharSet = 2;

const char16_t* const SansFace = u"Liberation Sans";
const char16_t* const SerifFace = u"Liberation Serif";
const char16_t* const MonoFace = u"Liberation Mono";
const char16_t* const SymbolsFace = u"DejaVu Sans";

struct Substitution {
    const char16_t* windowsFace;
    const char16_t* installedFace;
    int family;
};

// Windows faces the system's code names, and the installed faces that stand in for them. Faces that
// are installed under their own name resolve to themselves.
const Substitution Substitutions[] = {
    {u"Arial", SansFace, FamilySwiss},
    {u"Helvetica", SansFace, FamilySwiss},
    {u"Tahoma", SansFace, FamilySwiss},
    {u"MS Sans Serif", SansFace, FamilySwiss},
    {u"Microsoft Sans Serif", SansFace, FamilySwiss},
    {u"MS Shell Dlg", SansFace, FamilySwiss},
    {u"MS Shell Dlg 2", SansFace, FamilySwiss},
    {u"Segoe UI", SansFace, FamilySwiss},
    {u"System", SansFace, FamilySwiss},
    {u"Small Fonts", SansFace, FamilySwiss},
    {u"Arial Narrow", SansFace, FamilySwiss},
    {u"Verdana", u"DejaVu Sans", FamilySwiss},
    {u"Calibri", u"Carlito", FamilySwiss},
    {u"Times New Roman", SerifFace, FamilyRoman},
    {u"Times", SerifFace, FamilyRoman},
    {u"MS Serif", SerifFace, FamilyRoman},
    {u"Georgia", SerifFace, FamilyRoman},
    {u"Cambria", SerifFace, FamilyRoman},
    {u"Courier New", MonoFace, FamilyModern},
    {u"Courier", MonoFace, FamilyModern},
    {u"Fixedsys", MonoFace, FamilyModern},
    {u"Terminal", MonoFace, FamilyModern},
    {u"Lucida Console", MonoFace, FamilyModern},
    {u"Consolas", MonoFace, FamilyModern},
    {u"Marlett", SymbolsFace, FamilyDecorative},
    {u"Wingdings", SymbolsFace, FamilyDecorative},
    {u"Symbol", SymbolsFace, FamilyDecorative},
    {u"Liberation Sans", SansFace, FamilySwiss},
    {u"Liberation Serif", SerifFace, FamilyRoman},
    {u"Liberation Mono", MonoFace, FamilyModern},
    {u"DejaVu Sans", u"DejaVu Sans", FamilySwiss},
    {u"DejaVu Serif", u"DejaVu Serif", FamilyRoman},
    {u"DejaVu Sans Mono", u"DejaVu Sans Mono", FamilyModern},
    {u"Carlito", u"Carlito", FamilySwiss},
};

// The faces the table relies on; the platform refuses to start without them.
const char* const RequiredFaces[] = {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans",
                                     "DejaVu Serif",    "DejaVu Sans Mono", "Carlito"};

char16_t FoldCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

std::u16string_view Trimmed(std::u16string_view face) {
    while (!face.empty() && face.front() == u' ')
        face.remove_prefix(1);
    while (!face.empty() && (face.back() == u' ' || face.back() == 0))
        face.remove_suffix(1);
    return face;
}

const Substitution* FindSubstitution(std::u16string_view face) {
    face = Trimmed(face);
    for (const Substitution& s : Substitutions)
        if (SameName(face, s.windowsFace))
            return &s;
    return nullptr;
}

// Marlett's pictures of window buttons, scroll arrows, check marks and radio parts.
const SymbolMap& MarlettMap() {
    static const SymbolMap map{{
        {U'0', U'\u2581'},                                                          // minimise
        {U'1', U'\u25A1'},                                                          // maximise
        {U'2', U'\u2750'},                                                          // restore
        {U'r', U'\u2715'},                                                          // close
        {U's', U'?'},                                                               // help
        {U'3', U'\u25C0'},                                                          // scroll left
        {U'4', U'\u25B6'},                                                          // scroll right
        {U'5', U'\u25B2'},                                                          // scroll up
        {U'6', U'\u25BC'},                                                          // scroll down
        {U'7', U'\u25C2'},                                                          // small left arrow
        {U'8', U'\u25B8'},                                                          // menu arrow
        {U'a', U'\u2713'},                                                          // check mark
        {U'b', U'\u2713'},                                                          // check mark (mask)
        {U'h', U'\u2022'},                                                          // menu bullet
        {U'i', U'\u2022'},                                                          // radio dot
        {U'j', U'\u25CB'},                                                          // radio outer arcs
        {U'k', U'\u25CB'}, {U'l', U'\u25CF'},                                       // radio face
        {U'm', U'\u25CB'},                                                          // radio inner arcs
        {U'n', U'\u25CB'}, {U'o', U'\u25E5'},                                       // size grip parts
        {U'p', U'\u25E5'}, {U'x', U'\u25E2'}, {U'y', U'\u25E2'}, {U't', U'\u25B4'}, // small up arrow
        {U'u', U'\u25BE'},                                                          // small down arrow
        {U'v', U'\u2715'},                                                          // small close
    }};
    return map;
}

const SymbolMap& WingdingsMap() {
    static const SymbolMap map{{
        {0x4A, U'\u263A'}, {0x4C, U'\u2639'}, {0x6C, U'\u25CF'}, {0x6E, U'\u25A0'}, {0x6F, U'\u25A1'},
        {0x71, U'\u2751'}, {0x75, U'\u25C6'}, {0x76, U'\u2756'}, {0x9F, U'\u2022'}, {0xA7, U'\u25AA'},
        {0xA8, U'\u25FB'}, {0xDF, U'\u2190'}, {0xE0, U'\u2192'}, {0xE1, U'\u2191'}, {0xE2, U'\u2193'},
        {0xE7, U'\u21E6'}, {0xE8, U'\u21E8'}, {0xE9, U'\u21E7'}, {0xEA, U'\u21E9'}, {0xFB, U'\u2718'},
        {0xFC, U'\u2714'}, {0xFD, U'\u2612'}, {0xFE, U'\u2611'},
    }};
    return map;
}

const SymbolMap& SymbolFontMap() {
    static const SymbolMap map = [] {
        SymbolMap m;
        // Greek letters sit on the Latin letters of the same sound.
        const char32_t lower[] =
            U"\u03B1\u03B2\u03C7\u03B4\u03B5\u03C6\u03B3\u03B7\u03B9\u03D5\u03BA\u03BB\u03BC"
            U"\u03BD\u03BF\u03C0\u03B8\u03C1\u03C3\u03C4\u03C5\u03D6\u03C9\u03BE\u03C8\u03B6";
        const char32_t upper[] =
            U"\u0391\u0392\u03A7\u0394\u0395\u03A6\u0393\u0397\u0399\u03D1\u039A\u039B\u039C"
            U"\u039D\u039F\u03A0\u0398\u03A1\u03A3\u03A4\u03A5\u03C2\u03A9\u039E\u03A8\u0396";
        for (int i = 0; i < 26; ++i) {
            m.map[static_cast<char32_t>(U'a' + i)] = lower[i];
            m.map[static_cast<char32_t>(U'A' + i)] = upper[i];
        }
        const std::pair<char32_t, char32_t> others[] = {
            {0xA3, U'\u2264'}, {0xA5, U'\u221E'}, {0xAC, U'\u2190'}, {0xAD, U'\u2191'}, {0xAE, U'\u2192'},
            {0xAF, U'\u2193'}, {0xB0, U'\u00B0'}, {0xB1, U'\u00B1'}, {0xB3, U'\u2265'}, {0xB4, U'\u00D7'},
            {0xB6, U'\u2202'}, {0xB7, U'\u2022'}, {0xB8, U'\u00F7'}, {0xB9, U'\u2260'}, {0xBA, U'\u2261'},
            {0xBB, U'\u2248'}, {0xD1, U'\u2207'}, {0xD6, U'\u221A'}, {0xE5, U'\u2211'}, {0xF2, U'\u222B'},
        };
        for (const auto& [from, to] : others)
            m.map[from] = to;
        return m;
    }();
    return map;
}

const SymbolMap* SymbolMapOf(std::u16string_view face) {
    face = Trimmed(face);
    if (SameName(face, u"Marlett"))
        return &MarlettMap();
    if (SameName(face, u"Wingdings"))
        return &WingdingsMap();
    if (SameName(face, u"Symbol"))
        return &SymbolFontMap();
    return nullptr;
}

int RoundPixels(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

int ReadS16(const QByteArray& table, int offset) {
    if (table.size() < offset + 2)
        return 0;
    auto b = reinterpret_cast<const unsigned char*>(table.constData());
    return static_cast<std::int16_t>((b[offset] << 8) | b[offset + 1]);
}

int ReadU16(const QByteArray& table, int offset) {
    if (table.size() < offset + 2)
        return 0;
    auto b = reinterpret_cast<const unsigned char*>(table.constData());
    return (b[offset] << 8) | b[offset + 1];
}

QFont MakeQtFont(const std::u16string& face, double pixelSize, const FontRequest& request) {
    QFont font(QString::fromStdU16String(face));
    font.setPixelSize(std::max(1, RoundPixels(pixelSize)));
    font.setWeight(
        static_cast<QFont::Weight>(std::clamp(request.weight == 0 ? 400 : request.weight, 1, 1000)));
    font.setItalic(request.italic);
    font.setKerning(false);
    // Pinned so that glyphs look the same on every machine: no hinting, grey anti-aliasing or none.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(static_cast<QFont::StyleStrategy>(
        QFont::NoFontMerging | QFont::NoSubpixelAntialias |
        (request.antialiased ? QFont::PreferAntialias : QFont::NoAntialias)));
    return font;
}

std::shared_ptr<Font> Realize(const FontRequest& request) {
    auto font = std::make_shared<Font>();
    font->request = request;
    const Substitution* substitution = FindSubstitution(request.face);
    int family = FamilySwiss;
    if (substitution) {
        font->installedFace = substitution->installedFace;
        family = substitution->family;
    } else if ((request.pitchAndFamily & 0x03) == FixedPitch ||
               (request.pitchAndFamily & 0xF0) == FamilyModern) {
        font->installedFace = MonoFace;
        family = FamilyModern;
    } else if ((request.pitchAndFamily & 0xF0) == FamilyRoman) {
        font->installedFace = SerifFace;
        family = FamilyRoman;
    } else {
        font->installedFace = SansFace;
    }
    font->symbols = SymbolMapOf(request.face);

    // The design numbers, read once at a reference size.
    QFont probe = MakeQtFont(font->installedFace, 100, request);
    QRawFont probeRaw = QRawFont::fromFont(probe);
    QByteArray head = probeRaw.fontTable("head");
    QByteArray hhea = probeRaw.fontTable("hhea");
    QByteArray os2 = probeRaw.fontTable("OS/2");
    QByteArray post = probeRaw.fontTable("post");
    int unitsPerEm = ReadU16(head, 18);
    if (unitsPerEm <= 0)
        unitsPerEm = 2048;
    int winAscent = ReadU16(os2, 74);
    int winDescent = ReadU16(os2, 76);
    if (winAscent + winDescent <= 0) {
        winAscent = ReadS16(hhea, 4);
        winDescent = -ReadS16(hhea, 6);
    }
    // GDI's height rules: negative is the em height, positive the cell height (ascent plus descent).
    double ppem;
    if (request.height < 0)
        ppem = -request.height;
    else if (request.height > 0)
        ppem = static_cast<double>(request.height) * unitsPerEm / std::max(1, winAscent + winDescent);
    else
        ppem = 16.0 * unitsPerEm / std::max(1, winAscent + winDescent);
    ppem = std::max(1.0, std::round(ppem));
    double scale = ppem / unitsPerEm;

    font->qtFont = MakeQtFont(font->installedFace, ppem, request);
    font->rawFont = QRawFont::fromFont(font->qtFont);

    FontMetrics& m = font->metrics;
    if (request.height > 0) {
        // A cell height is kept exactly, split as the face splits it.
        m.height = request.height;
        m.ascent = RoundPixels(static_cast<double>(request.height) * winAscent /
                               std::max(1, winAscent + winDescent));
        m.descent = m.height - m.ascent;
    } else {
        m.ascent = RoundPixels(winAscent * scale);
        m.descent = RoundPixels(winDescent * scale);
        m.height = m.ascent + m.descent;
    }
    m.emSquare = static_cast<int>(ppem);
    m.unitsPerEm = unitsPerEm;
    m.internalLeading = std::max(0, m.height - m.emSquare);
    int hheaAscent = ReadS16(hhea, 4), hheaDescent = ReadS16(hhea, 6), hheaGap = ReadS16(hhea, 8);
    m.lineGap = RoundPixels(hheaGap * scale);
    m.externalLeading =
        std::max(0, RoundPixels((hheaGap - ((winAscent + winDescent) - (hheaAscent - hheaDescent))) * scale));
    m.aveCharWidth = std::max(1, RoundPixels(ReadS16(os2, 2) * scale));
    m.maxCharWidth = std::max(m.aveCharWidth, RoundPixels(ReadU16(hhea, 10) * scale));
    m.weight = request.weight == 0 ? 400 : request.weight;
    m.italic = request.italic;
    m.underlined = request.underline;
    m.struckOut = request.strikeOut;
    m.family = font->symbols ? FamilyDecorative : family;
    m.fixedPitch = family == FamilyModern && !font->symbols;
    m.charSet = font->symbols ? SymbolCharSet : (request.charSet == 1 ? 0 : request.charSet);
    m.underlinePosition = std::max(1, RoundPixels(-ReadS16(post, 8) * scale));
    m.underlineThickness = std::max(1, RoundPixels(ReadS16(post, 10) * scale));
    m.strikeoutPosition = RoundPixels(ReadS16(os2, 28) * scale);
    m.strikeoutThickness = std::max(1, RoundPixels(ReadS16(os2, 26) * scale));
    m.xHeight = RoundPixels(ReadS16(os2, 86) * scale);
    m.capHeight = RoundPixels(ReadS16(os2, 88) * scale);
    if (m.strikeoutPosition <= 0)
        m.strikeoutPosition = m.ascent / 3;
    return font;
}

struct FontCache {
    std::mutex mutex;
    std::vector<std::shared_ptr<Font>> fonts;
};

// Never destroyed: the platform's exit handler empties it, and may run after static destructors would.
FontCache& Cache() {
    static FontCache* cache = new FontCache;
    return *cache;
}

} // namespace

Font::Glyph Font::Lookup(char32_t c) const {
    Glyph* slot = nullptr;
    if (c < 256)
        slot = &FLatin[c];
    else
        slot = &FOthers[c];
    if (slot->advance >= 0)
        return *slot;
    Glyph glyph;
    if (c < 0x20 && c != u'\t') {
        glyph.advance = 0;
    } else {
        char32_t drawn = c;
        if (symbols) {
            // Symbol faces are also addressed in the private-use page U+F0xx.
            char32_t key = (c >= 0xF000 && c <= 0xF0FF) ? c - 0xF000 : c;
            auto it = symbols->map.find(key);
            if (it != symbols->map.end())
                drawn = it->second;
        }
        if (drawn == u'\t')
            drawn = u' ';
        QString text = QString::fromUcs4(&drawn, 1);
        QVector<quint32> indexes = rawFont.glyphIndexesForString(text);
        glyph.index = indexes.isEmpty() ? 0 : indexes.front();
        QVector<QPointF> advances =
            rawFont.advancesForGlyphIndexes(QVector<quint32>{glyph.index}, QRawFont::UseDesignMetrics);
        glyph.advance = advances.isEmpty() ? 0 : std::max(0, RoundPixels(advances.front().x()));
    }
    *slot = glyph;
    return glyph;
}

namespace {

// The character at text[i]; pair tells whether it took text[i + 1] too, as the low half of a pair.
char32_t CodePointAt(std::u16string_view text, size_t i, bool& pair) {
    const char32_t c = text[i];
    pair =
        c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    return pair ? 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00) : c;
}

} // namespace

void Font::Shape(std::u16string_view text, QVector<quint32>* glyphs, std::vector<int>* advances) const {
    std::lock_guard lock(FMutex);
    if (glyphs)
        glyphs->resize(static_cast<qsizetype>(text.size()));
    if (advances)
        advances->resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        bool pair = false;
        const char32_t c = CodePointAt(text, i, pair);
        Glyph glyph = Lookup(c);
        if (glyphs)
            (*glyphs)[static_cast<qsizetype>(i)] = glyph.index;
        if (advances)
            (*advances)[i] = glyph.advance;
        if (pair) {
            ++i;
            if (glyphs)
                (*glyphs)[static_cast<qsizetype>(i)] = 0;
            if (advances)
                (*advances)[i] = 0;
        }
    }
}

// Draws the glyph in white on black through the same QPainter path the surface used to draw text with,
// so that the captured grey levels are the coverage QPainter blends with. The canvas starts at the
// glyph's outline box with a margin and grows while ink touches its edge.
Font::GlyphMask Font::Capture(quint32 glyph) const {
    QRectF outline = rawFont.boundingRect(glyph);
    int margin = 4 + static_cast<int>(std::ceil(std::max(outline.width(), outline.height()) / 8));
    for (int attempt = 0; attempt < 6; ++attempt, margin *= 2) {
        int left = static_cast<int>(std::floor(outline.left())) - margin;
        int top = static_cast<int>(std::floor(outline.top())) - margin;
        int width = static_cast<int>(std::ceil(outline.right())) + margin - left;
        int height = static_cast<int>(std::ceil(outline.bottom())) + margin - top;
        QImage canvas(width, height, QImage::Format_RGB32);
        canvas.fill(0xFF000000u);
        {
            QPainter painter(&canvas);
            painter.translate(-left, -top);
            painter.setRenderHint(QPainter::TextAntialiasing, request.antialiased);
            painter.setRenderHint(QPainter::Antialiasing, false);
            QGlyphRun run;
            run.setRawFont(rawFont);
            run.setGlyphIndexes(QVector<quint32>{glyph});
            run.setPositions(QVector<QPointF>{QPointF(0, 0)});
            painter.setPen(QColor(255, 255, 255));
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        int x0 = width, y0 = height, x1 = -1, y1 = -1;
        for (int y = 0; y < height; ++y) {
            auto row = reinterpret_cast<const std::uint32_t*>(canvas.constScanLine(y));
            for (int x = 0; x < width; ++x)
                if (row[x] & 0xFF) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    y0 = std::min(y0, y);
                    y1 = std::max(y1, y);
                }
        }
        GlyphMask mask;
        if (x1 < 0)
            return mask;
        if ((x0 == 0 || y0 == 0 || x1 == width - 1 || y1 == height - 1) && attempt < 5)
            continue;
        mask.left = left + x0;
        mask.top = top + y0;
        mask.width = x1 - x0 + 1;
        mask.height = y1 - y0 + 1;
        mask.coverage.resize(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height));
        for (int y = 0; y < mask.height; ++y) {
            auto row = reinterpret_cast<const std::uint32_t*>(canvas.constScanLine(y0 + y));
            for (int x = 0; x < mask.width; ++x)
                mask.coverage[static_cast<size_t>(y * mask.width + x)] =
                    static_cast<std::uint8_t>(row[x0 + x] & 0xFF);
        }
        mask.spans.resize(static_cast<size_t>(mask.height));
        for (int y = 0; y < mask.height; ++y) {
            const std::uint8_t* row = mask.coverage.data() + static_cast<size_t>(y) * mask.width;
            int from = 0, to = mask.width;
            while (from < to && row[from] == 0)
                ++from;
            while (to > from && row[to - 1] == 0)
                --to;
            if (from == to)
                from = to = 0;
            mask.spans[static_cast<size_t>(y)] = {static_cast<std::uint16_t>(from),
                                                  static_cast<std::uint16_t>(to)};
        }
        return mask;
    }
    return GlyphMask{};
}

const Font::GlyphMask& Font::MaskLocked(quint32 glyph) const {
    if (glyph >= FMasks.size())
        FMasks.resize(static_cast<size_t>(glyph) + 1);
    std::unique_ptr<GlyphMask>& slot = FMasks[glyph];
    if (!slot)
        slot = std::make_unique<GlyphMask>(Capture(glyph));
    return *slot;
}

void Font::MasksOf(std::u16string_view text, std::vector<const GlyphMask*>& masks) const {
    masks.resize(text.size());
    std::lock_guard lock(FMutex);
    for (size_t i = 0; i < text.size(); ++i) {
        bool pair = false;
        const char32_t c = CodePointAt(text, i, pair);
        const quint32 glyph = Lookup(c).index;
        masks[i] = glyph == 0 ? nullptr : &MaskLocked(glyph);
        if (pair)
            masks[++i] = nullptr;
    }
}

FontRef RealizeFont(const FontRequest& request) {
    FontCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    for (const auto& font : cache.fonts)
        if (font->request == request)
            return font;
    auto font = Realize(request);
    cache.fonts.push_back(font);
    return font;
}

void ReleaseFonts() {
    FontCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    cache.fonts.clear();
}

const FontMetrics& MetricsOf(const Font& font) {
    return font.metrics;
}
const FontRequest& RequestOf(const Font& font) {
    return font.request;
}
std::u16string InstalledFaceOf(const Font& font) {
    return font.installedFace;
}

void Advances(const Font& font, std::u16string_view text, std::vector<int>& advances) {
    font.Shape(text, nullptr, &advances);
}

int CharAdvance(const Font& font, char32_t c) {
    std::u16string text;
    if (c >= 0x10000) {
        text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
        text.push_back(static_cast<char16_t>(c));
    }
    std::vector<int> advances;
    font.Shape(text, nullptr, &advances);
    return advances.empty() ? 0 : advances.front();
}

CharABC CharABCWidths(const Font& font, char32_t c) {
    std::u16string text(1, static_cast<char16_t>(c));
    QVector<quint32> glyphs;
    std::vector<int> advances;
    font.Shape(text, &glyphs, &advances);
    CharABC abc;
    int advance = advances.empty() ? 0 : advances.front();
    QRectF ink = glyphs.isEmpty() ? QRectF() : font.rawFont.pathForGlyph(glyphs.front()).boundingRect();
    if (ink.isEmpty()) {
        abc.b = advance;
        return abc;
    }
    abc.a = static_cast<int>(std::floor(ink.left()));
    abc.b = std::max(1, static_cast<int>(std::ceil(ink.right())) - abc.a);
    abc.c = advance - abc.a - abc.b;
    return abc;
}

std::u16string SubstituteFace(std::u16string_view face) {
    const Substitution* substitution = FindSubstitution(face);
    return substitution ? substitution->installedFace : SansFace;
}

bool IsSymbolFace(std::u16string_view face) {
    return SymbolMapOf(face) != nullptr;
}

bool IsKnownFace(std::u16string_view face) {
    face = Trimmed(face);
    if (face.empty())
        return false;
    if (FindSubstitution(face) || IsSymbolFace(face))
        return true;
    return QFontDatabase::families().contains(QString::fromUtf16(face.data(), face.size()),
                                              Qt::CaseInsensitive);
}

std::vector<std::string> MissingFonts() {
    std::vector<std::string> missing;
    QStringList families = QFontDatabase::families();
    for (const char* face : RequiredFaces)
        if (!families.contains(QString::fromLatin1(face), Qt::CaseInsensitive))
            missing.emplace_back(face);
    return missing;
}

} // namespace backend
