// GDI+ text: string formats, font families and fonts, and the layout of strings in a rectangle
// (wrapping, alignment, trimming, hot-key prefixes) that measuring, drawing and path outlines share.
#include <cmath>

#include "platform/backend/fonts.h"
#include "platform/win32/gdi_private.h"
#include "platform/win32/gdiplus_private.h"

using namespace gdiplus;

namespace {

// ---- Layout ----

constexpr Char Ellipsis = u'\u2026';

struct Layout {
    std::vector<gp::GlyphLine> lines;
    gp::RectF box;
    INT fitted = 0;
    INT linesFilled = 0;
    backend::FontRef font;
    float scale = 1; // world units per pixel of the realised font
};

// One line before positioning: display characters from..to (to excluded) plus an ellipsis.
struct LineRun {
    std::u16string text;
    std::vector<float> advances;
    std::vector<int> source; // index in the display text of each character, -1 for an ellipsis
    float width = 0;
};

REAL PageFactor(const GraphicsObject* g) {
    if (!g)
        return 1;
    REAL page = PixelsPerUnit(g->state.pageUnit) * g->state.pageScale;
    return page > 0 ? page : 1;
}

backend::FontRef Realize(const FontObject& font, const GraphicsObject* g, float& scale, float& emWorld) {
    REAL page = PageFactor(g);
    REAL emPixels = font.unit == UnitWorld ? font.emSize * page : font.emSize * PixelsPerUnit(font.unit);
    emWorld = emPixels / page;
    // Glyphs are realised at a sane pixel size and scaled from there: a font of any size draws.
    int size =
        std::isfinite(emPixels) ? static_cast<int>(std::lround(std::clamp(emPixels, 1.0f, 2048.0f))) : 12;
    scale = emWorld / static_cast<float>(size);
    backend::FontRequest request;
    request.face = font.family;
    request.height = -size;
    request.weight = (font.style & FontStyleBold) ? 700 : 400;
    request.italic = (font.style & FontStyleItalic) != 0;
    request.underline = (font.style & FontStyleUnderline) != 0;
    request.strikeOut = (font.style & FontStyleStrikeout) != 0;
    return backend::RealizeFont(request);
}

float LineHeight(const backend::Font& font, float scale) {
    const backend::FontMetrics& m = backend::MetricsOf(font);
    return static_cast<float>(m.ascent + m.descent + m.lineGap) * scale;
}

// Cuts a line to width, at a character or a word, adding an ellipsis when asked.
void Trim(LineRun& line, float width, StringTrimming trimming, float ellipsisWidth, bool more) {
    bool ellipsis = trimming == StringTrimmingEllipsisCharacter || trimming == StringTrimmingEllipsisWord ||
                    trimming == StringTrimmingEllipsisPath;
    if (trimming == StringTrimmingNone || (!more && line.width <= width))
        return;
    if (trimming == StringTrimmingEllipsisPath && !more) {
        // Keep the end after the last separator and as much of the start as fits.
        size_t cut = line.text.find_last_of(u"\\/");
        size_t tail = cut == std::u16string::npos ? line.text.size() : cut;
        float tailWidth = 0;
        for (size_t i = tail; i < line.text.size(); ++i)
            tailWidth += line.advances[i];
        LineRun result;
        float used = ellipsisWidth + tailWidth;
        for (size_t i = 0; i < tail && used + line.advances[i] <= width; ++i) {
            result.text.push_back(line.text[i]);
            result.advances.push_back(line.advances[i]);
            result.source.push_back(line.source[i]);
            used += line.advances[i];
        }
        result.text.push_back(Ellipsis);
        result.advances.push_back(ellipsisWidth);
        result.source.push_back(-1);
        for (size_t i = tail; i < line.text.size(); ++i) {
            result.text.push_back(line.text[i]);
            result.advances.push_back(line.advances[i]);
            result.source.push_back(line.source[i]);
        }
        result.width = used;
        line = std::move(result);
        return;
    }
    float room = width - (ellipsis ? ellipsisWidth : 0);
    size_t keep = 0;
    float used = 0;
    while (keep < line.text.size() && used + line.advances[keep] <= room) {
        used += line.advances[keep];
        ++keep;
    }
    bool byWord = trimming == StringTrimmingWord || trimming == StringTrimmingEllipsisWord;
    if (byWord && keep < line.text.size()) {
        size_t space = line.text.find_last_of(u' ', keep);
        if (space != std::u16string::npos && space > 0)
            keep = space;
    }
    while (keep > 0 && line.text[keep - 1] == u' ')
        --keep;
    line.text.resize(keep);
    line.advances.resize(keep);
    line.source.resize(keep);
    line.width = 0;
    for (float a : line.advances)
        line.width += a;
    if (ellipsis) {
        line.text.push_back(Ellipsis);
        line.advances.push_back(ellipsisWidth);
        line.source.push_back(-1);
        line.width += ellipsisWidth;
    }
}

Status LayOut(const WCHAR* text, INT length, const FontObject& font, const GpRectF& rect,
              const StringFormatObject* format, const GraphicsObject* g, Layout& out) {
    StringFormatObject defaults;
    const StringFormatObject& f = format ? *format : defaults;
    if (length < 0) {
        length = 0;
        while (text[length])
            ++length;
    }
    float emWorld = 0;
    out.font = Realize(font, g, out.scale, emWorld);
    const backend::Font& realised = *out.font;
    float lineHeight = LineHeight(realised, out.scale);
    float ascent = static_cast<float>(backend::MetricsOf(realised).ascent) * out.scale;
    float pad = f.typographic ? 0 : emWorld / 6;
    out.box = {rect.X, rect.Y, 0, 0};
    if (length == 0)
        return Ok;

    // The characters shown: hot-key prefixes taken out (and remembered for underlining).
    std::u16string display;
    std::vector<int> origin;  // index in the text of each shown character
    std::vector<bool> hotkey; // the shown character is underlined
    bool underlineNext = false;
    for (INT i = 0; i < length; ++i) {
        Char c = text[i];
        if (c == u'&' && f.hotkeyPrefix != HotkeyPrefixNone) {
            if (i + 1 < length && text[i + 1] == u'&') {
                ++i;
            } else {
                underlineNext = f.hotkeyPrefix == HotkeyPrefixShow;
                continue;
            }
        }
        if (c == u'\r' && i + 1 < length && text[i + 1] == u'\n')
            continue;
        display.push_back(c == u'\t' ? u' ' : c);
        origin.push_back(i);
        hotkey.push_back(underlineNext);
        underlineNext = false;
    }
    std::vector<int> pixels;
    backend::Advances(realised, display, pixels);
    std::vector<float> advances(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
        advances[i] = static_cast<float>(pixels[i]) * out.scale;
    std::vector<int> ellipsisPixels;
    backend::Advances(realised, std::u16string(1, Ellipsis), ellipsisPixels);
    float ellipsisWidth = static_cast<float>(ellipsisPixels.empty() ? 0 : ellipsisPixels[0]) * out.scale;

    bool wrap = rect.Width > 0 && !(f.flags & StringFormatFlagsNoWrap);
    float available = rect.Width > 0 ? std::max(0.0f, rect.Width - 2 * pad) : 0;
    bool trailingSpaces = (f.flags & StringFormatFlagsMeasureTrailingSpaces) != 0;

    // Break into lines: at line feeds, and where wrapping asks, after the last space that fits.
    std::vector<std::pair<size_t, size_t>> spans; // from, to (to excluded, before the break)
    std::vector<size_t> next;                     // where the line after each one starts
    size_t start = 0;
    while (start <= display.size()) {
        size_t end = display.find(u'\n', start);
        if (end == std::u16string::npos)
            end = display.size();
        size_t from = start;
        while (true) {
            size_t breakAt = end, resume = end + 1;
            if (wrap) {
                float used = 0;
                size_t lastSpace = std::u16string::npos;
                for (size_t i = from; i < end; ++i) {
                    if (display[i] != u' ' && used + advances[i] > available + 0.01f && i > from) {
                        if (lastSpace != std::u16string::npos && lastSpace > from) {
                            breakAt = lastSpace;
                            resume = lastSpace;
                            while (resume < end && display[resume] == u' ')
                                ++resume;
                        } else {
                            breakAt = i;
                            resume = i;
                        }
                        break;
                    }
                    if (display[i] == u' ')
                        lastSpace = i;
                    used += advances[i];
                }
            }
            spans.push_back({from, breakAt});
            next.push_back(resume);
            if (breakAt == end)
                break;
            from = resume;
            if (from >= end) {
                spans.push_back({from, from});
                next.push_back(end + 1);
                break;
            }
        }
        if (end >= display.size())
            break;
        start = end + 1;
    }

    size_t maxLines = spans.size();
    if (rect.Height > 0) {
        double fit = rect.Height / lineHeight;
        size_t limit = (f.flags & StringFormatFlagsLineLimit) ? static_cast<size_t>(std::floor(fit + 1e-4))
                                                              : static_cast<size_t>(std::ceil(fit - 1e-4));
        maxLines =
            std::min(maxLines, std::max<size_t>(limit, (f.flags & StringFormatFlagsLineLimit) ? 0 : 1));
    }
    bool more = maxLines < spans.size();

    std::vector<LineRun> runs;
    for (size_t l = 0; l < maxLines; ++l) {
        LineRun run;
        auto [from, to] = spans[l];
        size_t shownTo = to;
        if (!trailingSpaces)
            while (shownTo > from && display[shownTo - 1] == u' ')
                --shownTo;
        for (size_t i = from; i < shownTo; ++i) {
            run.text.push_back(display[i]);
            run.advances.push_back(advances[i]);
            run.source.push_back(static_cast<int>(i));
            run.width += advances[i];
        }
        bool last = l + 1 == maxLines;
        if (rect.Width > 0 && (last && more ? true : run.width > available + 0.01f))
            Trim(run, available, f.trimming, ellipsisWidth, last && more);
        runs.push_back(std::move(run));
    }

    // Characters laid out: everything up to where the next line would start.
    size_t consumed = maxLines == 0 ? 0 : std::min(next[maxLines - 1], display.size());
    out.fitted = consumed >= origin.size() ? length : origin[consumed];
    out.linesFilled = static_cast<INT>(runs.size());

    float total = lineHeight * static_cast<float>(runs.size());
    float top = rect.Y;
    if (f.lineAlign == StringAlignmentCenter)
        top = rect.Y + (rect.Height - total) / 2;
    else if (f.lineAlign == StringAlignmentFar)
        top = rect.Y + rect.Height - total;
    float widest = 0;
    float left = 0;
    for (size_t l = 0; l < runs.size(); ++l) {
        const LineRun& run = runs[l];
        float x = rect.X + pad;
        if (f.align == StringAlignmentCenter)
            x = rect.X + (rect.Width - run.width) / 2;
        else if (f.align == StringAlignmentFar)
            x = rect.X + rect.Width - pad - run.width;
        gp::GlyphLine line;
        line.text = run.text;
        line.y = top + lineHeight * static_cast<float>(l) + ascent;
        line.width = run.width;
        float at = x;
        for (size_t i = 0; i < run.text.size(); ++i) {
            line.x.push_back(at);
            if (run.source[i] >= 0 && hotkey[static_cast<size_t>(run.source[i])])
                line.underlines.push_back({at, at + run.advances[i]});
            at += run.advances[i];
        }
        out.lines.push_back(std::move(line));
        if (l == 0 || x - pad < left)
            left = x - pad;
        widest = std::max(widest, run.width);
    }
    float boxWidth = runs.empty() ? 0 : widest + 2 * pad;
    float boxHeight = total;
    if (rect.Width > 0)
        boxWidth = std::min(boxWidth, rect.Width);
    if (rect.Height > 0)
        boxHeight = std::min(boxHeight, rect.Height);
    if (f.align == StringAlignmentNear || runs.empty())
        left = rect.X;
    out.box = {left, std::max(top, rect.Height > 0 ? rect.Y : top), boxWidth, boxHeight};
    return Ok;
}

// ---- Shared objects ----

GpFontFamily* GenericFamily(int which) {
    static GpFontFamily* families[3] = {nullptr, nullptr, nullptr};
    static const char16_t* const names[3] = {u"Microsoft Sans Serif", u"Times New Roman", u"Courier New"};
    if (!Find<FontFamilyObject>(families[which])) {
        auto family = std::make_unique<FontFamilyObject>();
        family->name = names[which];
        family->shared = true;
        families[which] = Add<GpFontFamily>(std::move(family));
    }
    return families[which];
}

GpStringFormat* GenericFormat(bool typographic) {
    static GpStringFormat* formats[2] = {nullptr, nullptr};
    GpStringFormat*& handle = formats[typographic ? 1 : 0];
    if (!Find<StringFormatObject>(handle)) {
        auto format = std::make_unique<StringFormatObject>();
        format->shared = true;
        if (typographic) {
            format->typographic = true;
            format->trimming = StringTrimmingNone;
            format->flags =
                StringFormatFlagsNoFitBlackBox | StringFormatFlagsLineLimit | StringFormatFlagsNoClip;
        }
        handle = Add<GpStringFormat>(std::move(format));
    }
    return handle;
}

Status NewFont(const String& family, REAL emSize, INT style, Unit unit, GpFont** font) {
    if (!font || !(emSize > 0) || !std::isfinite(emSize) || unit == UnitDisplay || unit < UnitWorld ||
        unit > UnitMillimeter || style < 0 || style > 15)
        return InvalidParameter;
    return Guard([&] {
        auto object = std::make_unique<FontObject>();
        object->family = family;
        object->emSize = emSize;
        object->style = style;
        object->unit = unit;
        *font = Add<GpFont>(std::move(object));
        return Ok;
    });
}

Status FontFromLogFont(const LOGFONTW& logFont, GpFont** font) {
    String face(logFont.lfFaceName, std::find(logFont.lfFaceName, logFont.lfFaceName + LF_FACESIZE, u'\0'));
    REAL em = 0;
    if (logFont.lfHeight < 0) {
        em = static_cast<REAL>(-logFont.lfHeight);
    } else {
        // A cell height: the em is the cell less the internal leading.
        backend::FontRequest request;
        request.face = face;
        request.height = logFont.lfHeight;
        const backend::FontMetrics& m = backend::MetricsOf(*backend::RealizeFont(request));
        em = static_cast<REAL>(m.height - m.internalLeading);
    }
    if (em <= 0)
        em = 13; // the default font's size in pixels
    INT style = (logFont.lfWeight >= FW_BOLD ? FontStyleBold : 0) | (logFont.lfItalic ? FontStyleItalic : 0) |
                (logFont.lfUnderline ? FontStyleUnderline : 0) |
                (logFont.lfStrikeOut ? FontStyleStrikeout : 0);
    return NewFont(face.empty() ? String(u"Microsoft Sans Serif") : face, em, style, UnitPixel, font);
}

#define GP_FORMAT(name, handle) GP_OBJECT(StringFormatObject, name, handle)

} // namespace

// ---- String formats ----

Status GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format) {
    GP_STARTED();
    if (!format)
        return InvalidParameter;
    return Guard([&] {
        auto object = std::make_unique<StringFormatObject>();
        object->flags = formatAttributes;
        *format = Add<GpStringFormat>(std::move(object));
        return Ok;
    });
}

Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone) {
    GP_FORMAT(f, format);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        auto copy = std::make_unique<StringFormatObject>(*f);
        copy->shared = false;
        *clone = Add<GpStringFormat>(std::move(copy));
        return Ok;
    });
}

Status GdipDeleteStringFormat(GpStringFormat* format) {
    GP_FORMAT(f, format);
    if (!f->shared)
        RemoveEntry(format);
    return Ok;
}

Status GdipStringFormatGetGenericDefault(GpStringFormat** format) {
    GP_STARTED();
    if (!format)
        return InvalidParameter;
    return Guard([&] {
        *format = GenericFormat(false);
        return Ok;
    });
}

Status GdipStringFormatGetGenericTypographic(GpStringFormat** format) {
    GP_STARTED();
    if (!format)
        return InvalidParameter;
    return Guard([&] {
        *format = GenericFormat(true);
        return Ok;
    });
}

Status GdipSetStringFormatFlags(GpStringFormat* format, INT flags) {
    GP_FORMAT(f, format);
    f->flags = flags;
    return Ok;
}

Status GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags) {
    GP_FORMAT(f, format);
    if (!flags)
        return InvalidParameter;
    *flags = f->flags;
    return Ok;
}

Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
    GP_FORMAT(f, format);
    if (align < StringAlignmentNear || align > StringAlignmentFar)
        return InvalidParameter;
    f->align = align;
    return Ok;
}

Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align) {
    GP_FORMAT(f, format);
    if (!align)
        return InvalidParameter;
    *align = f->align;
    return Ok;
}

Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
    GP_FORMAT(f, format);
    if (align < StringAlignmentNear || align > StringAlignmentFar)
        return InvalidParameter;
    f->lineAlign = align;
    return Ok;
}

Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align) {
    GP_FORMAT(f, format);
    if (!align)
        return InvalidParameter;
    *align = f->lineAlign;
    return Ok;
}

Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming) {
    GP_FORMAT(f, format);
    if (trimming < StringTrimmingNone || trimming > StringTrimmingEllipsisPath)
        return InvalidParameter;
    f->trimming = trimming;
    return Ok;
}

Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming) {
    GP_FORMAT(f, format);
    if (!trimming)
        return InvalidParameter;
    *trimming = f->trimming;
    return Ok;
}

Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix) {
    GP_FORMAT(f, format);
    if (hotkeyPrefix < HotkeyPrefixNone || hotkeyPrefix > HotkeyPrefixHide)
        return InvalidParameter;
    f->hotkeyPrefix = hotkeyPrefix;
    return Ok;
}

Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix) {
    GP_FORMAT(f, format);
    if (!hotkeyPrefix)
        return InvalidParameter;
    *hotkeyPrefix = f->hotkeyPrefix;
    return Ok;
}

// ---- Font families ----

Status GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* collection, GpFontFamily** family) {
    GP_STARTED();
    if (!name || !family)
        return InvalidParameter;
    return Guard([&] {
        String face(name);
        if (!gp::FaceKnown(face))
            return FontFamilyNotFound;
        auto object = std::make_unique<FontFamilyObject>();
        object->name = face;
        *family = Add<GpFontFamily>(std::move(object));
        return Ok;
    });
}

Status GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone) {
    GP_OBJECT(FontFamilyObject, f, family);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        auto copy = std::make_unique<FontFamilyObject>(*f);
        copy->shared = false;
        *clone = Add<GpFontFamily>(std::move(copy));
        return Ok;
    });
}

Status GdipDeleteFontFamily(GpFontFamily* family) {
    GP_OBJECT(FontFamilyObject, f, family);
    if (!f->shared)
        RemoveEntry(family);
    return Ok;
}

Status GdipGetGenericFontFamilySansSerif(GpFontFamily** family) {
    GP_STARTED();
    if (!family)
        return InvalidParameter;
    return Guard([&] {
        *family = GenericFamily(0);
        return Ok;
    });
}

Status GdipGetGenericFontFamilySerif(GpFontFamily** family) {
    GP_STARTED();
    if (!family)
        return InvalidParameter;
    return Guard([&] {
        *family = GenericFamily(1);
        return Ok;
    });
}

Status GdipGetGenericFontFamilyMonospace(GpFontFamily** family) {
    GP_STARTED();
    if (!family)
        return InvalidParameter;
    return Guard([&] {
        *family = GenericFamily(2);
        return Ok;
    });
}

Status GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, LANGID language) {
    GP_OBJECT(FontFamilyObject, f, family);
    if (!name)
        return InvalidParameter;
    size_t count = std::min<size_t>(f->name.size(), LF_FACESIZE - 1);
    std::copy_n(f->name.begin(), count, name);
    name[count] = 0;
    return Ok;
}

// ---- Fonts ----

Status GdipCreateFont(const GpFontFamily* family, REAL emSize, INT style, Unit unit, GpFont** font) {
    GP_OBJECT(FontFamilyObject, f, family);
    return NewFont(f->name, emSize, style, unit, font);
}

Status GdipCreateFontFromDC(HDC dc, GpFont** font) {
    GP_STARTED();
    std::shared_ptr<gdi::DC> object = gdi::FindDC(dc);
    if (!object || !font)
        return InvalidParameter;
    if (!object->state.font)
        return NotTrueTypeFont;
    return FontFromLogFont(object->state.font->logFont, font);
}

Status GdipCreateFontFromLogfontW(HDC dc, const LOGFONTW* logFont, GpFont** font) {
    GP_STARTED();
    if (!logFont || !font)
        return InvalidParameter;
    return FontFromLogFont(*logFont, font);
}

Status GdipCloneFont(GpFont* font, GpFont** clone) {
    GP_OBJECT(FontObject, f, font);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        *clone = Add<GpFont>(std::make_unique<FontObject>(*f));
        return Ok;
    });
}

Status GdipDeleteFont(GpFont* font) {
    GP_OBJECT(FontObject, f, font);
    RemoveEntry(font);
    return Ok;
}

Status GdipGetFamily(GpFont* font, GpFontFamily** family) {
    GP_OBJECT(FontObject, f, font);
    if (!family)
        return InvalidParameter;
    return Guard([&] {
        auto object = std::make_unique<FontFamilyObject>();
        object->name = f->family;
        *family = Add<GpFontFamily>(std::move(object));
        return Ok;
    });
}

Status GdipGetFontSize(GpFont* font, REAL* size) {
    GP_OBJECT(FontObject, f, font);
    if (!size)
        return InvalidParameter;
    *size = f->emSize;
    return Ok;
}

Status GdipGetFontStyle(GpFont* font, INT* style) {
    GP_OBJECT(FontObject, f, font);
    if (!style)
        return InvalidParameter;
    *style = f->style;
    return Ok;
}

Status GdipGetFontUnit(GpFont* font, Unit* unit) {
    GP_OBJECT(FontObject, f, font);
    if (!unit)
        return InvalidParameter;
    *unit = f->unit;
    return Ok;
}

Status GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height) {
    GP_OBJECT(FontObject, f, font);
    GraphicsObject* g = Find<GraphicsObject>(graphics);
    if (!height || (graphics && !g))
        return InvalidParameter;
    return Guard([&] {
        float scale = 1, em = 0;
        backend::FontRef realised = Realize(*f, g, scale, em);
        *height = LineHeight(*realised, scale);
        return Ok;
    });
}

// ---- Measuring and drawing ----

Status GdipMeasureString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                         const GpRectF* layoutRect, const GpStringFormat* format, GpRectF* boundingBox,
                         INT* codepointsFitted, INT* linesFilled) {
    GP_GRAPHICS(g, graphics);
    FontObject* f = Find<FontObject>(font);
    StringFormatObject* sf = Find<StringFormatObject>(format);
    if (!text || !f || !layoutRect || !boundingBox || (format && !sf))
        return InvalidParameter;
    return Guard([&] {
        Layout layout;
        Status status = LayOut(text, length, *f, *layoutRect, sf, g, layout);
        if (status != Ok)
            return status;
        *boundingBox = {layout.box.x, layout.box.y, layout.box.width, layout.box.height};
        if (codepointsFitted)
            *codepointsFitted = layout.fitted;
        if (linesFilled)
            *linesFilled = layout.linesFilled;
        return Ok;
    });
}

Status GdipDrawString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                      const GpRectF* layoutRect, const GpStringFormat* format, const GpBrush* brush) {
    GP_GRAPHICS(g, graphics);
    FontObject* f = Find<FontObject>(font);
    StringFormatObject* sf = Find<StringFormatObject>(format);
    BrushObject* b = Find<BrushObject>(brush);
    if (!text || !f || !layoutRect || !b || (format && !sf))
        return InvalidParameter;
    return Guard([&] {
        Surface surface(*g);
        if (surface.Check() != Ok)
            return surface.Check();
        if (!surface.HasPixels())
            return Ok;
        Layout layout;
        Status status = LayOut(text, length, *f, *layoutRect, sf, g, layout);
        if (status != Ok)
            return status;
        gp::Context context = g->Context();
        // The layout rectangle clips the text unless the format says otherwise.
        bool clip =
            layoutRect->Width > 0 && layoutRect->Height > 0 && !(sf && (sf->flags & StringFormatFlagsNoClip));
        if (clip) {
            gp::Region region;
            if (context.clip) {
                gp::RegionStep old;
                old.kind = gp::RegionStep::Kind::Region;
                old.region = context.clip;
                region.steps.push_back(std::move(old));
            }
            gp::RegionStep rect;
            rect.kind = gp::RegionStep::Kind::Rect;
            rect.combine = CombineModeIntersect;
            rect.rect = {layoutRect->X, layoutRect->Y, layoutRect->Width, layoutRect->Height};
            rect.transform = context.world;
            region.steps.push_back(std::move(rect));
            context.clip = std::make_shared<const gp::Region>(std::move(region));
        }
        gp::DrawGlyphs(surface.Target(), context, layout.font, layout.scale, layout.lines, b->brush);
        return Ok;
    });
}

Status GdipAddPathString(GpPath* path, const WCHAR* text, INT length, const GpFontFamily* family, INT style,
                         REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format) {
    GP_OBJECT(PathObject, p, path);
    FontFamilyObject* fam = Find<FontFamilyObject>(family);
    StringFormatObject* sf = Find<StringFormatObject>(format);
    if (!text || !fam || !layoutRect || (format && !sf) || !(emSize > 0))
        return InvalidParameter;
    return Guard([&] {
        FontObject font;
        font.family = fam->name;
        font.emSize = emSize;
        font.style = style;
        font.unit = UnitWorld;
        Layout layout;
        Status status = LayOut(text, length, font, *layoutRect, sf, nullptr, layout);
        if (status != Ok)
            return status;
        gp::AppendGlyphOutlines(p->path, layout.font, layout.scale, layout.lines);
        p->startFigure = true;
        return Ok;
    });
}

Status GdipAddPathStringI(GpPath* path, const WCHAR* text, INT length, const GpFontFamily* family, INT style,
                          REAL emSize, const GpRect* layoutRect, const GpStringFormat* format) {
    if (!layoutRect)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    GpRectF r{static_cast<REAL>(layoutRect->X), static_cast<REAL>(layoutRect->Y),
              static_cast<REAL>(layoutRect->Width), static_cast<REAL>(layoutRect->Height)};
    return GdipAddPathString(path, text, length, family, style, emSize, &r, format);
}
