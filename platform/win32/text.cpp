// The one text module: every measuring and drawing of text goes through here. TextOut and ExtTextOut,
// DrawText and DrawTextEx with their layout (prefixes, tabs, word breaks, ellipses), and the text and
// character metrics. Layout works in device pixels with the integer advances of the backend's fonts, so
// that what is measured is exactly what is drawn.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/win32/gdi_private.h"
#include "platform/win32/windraw.h"

namespace gdi {

backend::FontRef FontOf(const DC& dc) {
    Font& logical = *dc.state.font;
    const LOGFONTW& lf = logical.logFont;
    // The height is in logical units; the sign rule stays.
    double scale = std::abs(dc.ScaleY());
    int height = static_cast<int>(std::lround(lf.lfHeight * scale));
    if (lf.lfHeight != 0 && height == 0)
        height = lf.lfHeight < 0 ? -1 : 1;
    // Where one axis is mirrored (a y axis that points up, as in the metric modes), the escapement turns
    // the other way on the device, so that text keeps the turn it has in the logical axes.
    const int escapement = dc.ScaleX() * dc.ScaleY() < 0 ? -lf.lfEscapement : lf.lfEscapement;
    std::lock_guard lock(logical.realizedMutex);
    if (logical.realizedHeight == height && logical.realizedEscapement == escapement)
        if (backend::FontRef font = logical.realized.lock())
            return font;
    backend::FontRequest request;
    request.face = std::u16string(lf.lfFaceName, std::char_traits<char16_t>::length(lf.lfFaceName));
    request.height = height;
    request.escapement = escapement;
    request.weight = lf.lfWeight;
    request.italic = lf.lfItalic != 0;
    request.underline = lf.lfUnderline != 0;
    request.strikeOut = lf.lfStrikeOut != 0;
    request.charSet = lf.lfCharSet;
    request.pitchAndFamily = lf.lfPitchAndFamily;
    request.antialiased = lf.lfQuality != NONANTIALIASED_QUALITY;
    backend::FontRef font = backend::RealizeFont(request);
    logical.realized = font;
    logical.realizedHeight = height;
    logical.realizedEscapement = escapement;
    return font;
}

namespace {

const std::u16string Ellipsis = u"...";

std::u16string_view TextOf(LPCWSTR text, int count) {
    if (!text)
        return {};
    if (count < 0)
        return std::u16string_view(text);
    return std::u16string_view(text, static_cast<size_t>(count));
}

int ToLogicalX(const DC& dc, int pixels) {
    return static_cast<int>(std::lround(pixels / std::abs(dc.ScaleX())));
}
int ToLogicalY(const DC& dc, int pixels) {
    return static_cast<int>(std::lround(pixels / std::abs(dc.ScaleY())));
}
int ToDeviceX(const DC& dc, int logical) {
    return static_cast<int>(std::lround(logical * std::abs(dc.ScaleX())));
}

// Advances in device pixels with the DC's extra character spacing, into advances.
void AdvancesInto(const DC& dc, const backend::Font& font, std::u16string_view text,
                  std::vector<int>& advances) {
    backend::Advances(font, text, advances);
    int extra = ToDeviceX(dc, dc.state.charExtra);
    if (extra)
        for (size_t i = 0; i < advances.size(); ++i)
            if (advances[i] > 0 || text[i] == u' ')
                advances[i] += extra;
}

std::vector<int> AdvancesOf(const DC& dc, const backend::Font& font, std::u16string_view text) {
    std::vector<int> advances;
    AdvancesInto(dc, font, text, advances);
    return advances;
}

void FillTextMetrics(const DC& dc, const backend::Font& font, TEXTMETRICW& tm) {
    const backend::FontMetrics& m = backend::MetricsOf(font);
    tm = TEXTMETRICW{};
    tm.tmHeight = ToLogicalY(dc, m.height);
    tm.tmAscent = ToLogicalY(dc, m.ascent);
    tm.tmDescent = ToLogicalY(dc, m.descent);
    tm.tmInternalLeading = ToLogicalY(dc, m.internalLeading);
    tm.tmExternalLeading = ToLogicalY(dc, m.externalLeading);
    tm.tmAveCharWidth = ToLogicalX(dc, m.aveCharWidth);
    tm.tmMaxCharWidth = ToLogicalX(dc, m.maxCharWidth);
    tm.tmWeight = m.weight;
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = m.firstChar;
    tm.tmLastChar = m.lastChar;
    tm.tmDefaultChar = m.defaultChar;
    tm.tmBreakChar = m.breakChar;
    tm.tmItalic = m.italic ? 1 : 0;
    tm.tmUnderlined = m.underlined ? 1 : 0;
    tm.tmStruckOut = m.struckOut ? 1 : 0;
    tm.tmPitchAndFamily =
        static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | m.family);
    tm.tmCharSet = static_cast<BYTE>(m.charSet);
}

// ---- Drawing one run ----

struct RunOptions {
    bool opaqueRect = false;
    bool clipRect = false;
    backend::Rect rect; // absolute device pixels
};

// Draws text with its reference point at p (absolute device pixels) aligned by the DC's text alignment.
// Answers the advance in device pixels.
int DrawRun(Drawing& drawing, backend::Point p, std::u16string_view text, const std::vector<int>& advances,
            const std::vector<int>& yAdvances, const RunOptions& options) {
    DC& dc = drawing.Dc();
    backend::FontRef font = FontOf(dc);
    const backend::FontMetrics& m = backend::MetricsOf(*font);
    backend::TextRun run;
    run.font = font;
    run.text = text;
    int x = 0, y = 0;
    run.offsets.reserve(advances.size());
    if (!yAdvances.empty())
        run.yOffsets.reserve(advances.size());
    for (size_t i = 0; i < advances.size(); ++i) {
        run.offsets.push_back(x);
        if (!yAdvances.empty())
            run.yOffsets.push_back(y);
        x += advances[i];
        if (!yAdvances.empty())
            y += yAdvances[i];
    }
    run.width = x;
    UINT align = dc.state.textAlign;
    int along = 0, down = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        along = -run.width / 2;
    else if (align & TA_RIGHT)
        along = -run.width;
    if ((align & TA_BASELINE) == TA_BASELINE)
        down = 0;
    else if (align & TA_BOTTOM)
        down = -m.descent;
    else
        down = m.ascent;
    double angle = backend::RequestOf(*font).escapement / 10.0 * std::numbers::pi / 180.0;
    double c = std::cos(angle), s = std::sin(angle);
    run.origin = backend::Point{p.x + static_cast<int>(std::lround(along * c + down * s)),
                                p.y + static_cast<int>(std::lround(-along * s + down * c))};
    run.color = ToPixel(dc.state.textColor);
    run.backgroundColor = ToPixel(dc.state.bkColor);
    run.opaqueCell = dc.state.bkMode == OPAQUE;
    run.hasOpaqueRect = options.opaqueRect;
    run.opaqueRect = options.rect;
    run.hasClipRect = options.clipRect;
    run.clipRect = options.rect;
    drawing.Device().Text(drawing.State(), run);
    return run.width;
}

BOOL TextCore(HDC handle, int x, int y, UINT options, const RECT* rect, std::u16string_view text,
              const INT* dx) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    DC& dc = drawing.Dc();
    RunOptions runOptions;
    if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        runOptions.rect = dc.MapRect(rect->left, rect->top, rect->right, rect->bottom);
        runOptions.opaqueRect = (options & ETO_OPAQUE) != 0;
        runOptions.clipRect = (options & ETO_CLIPPED) != 0;
    }
    bool updateCP = (dc.state.textAlign & TA_UPDATECP) != 0;
    POINT reference = updateCP ? dc.state.position : POINT{x, y};
    if (text.empty()) {
        // ExtTextOut without text and with ETO_OPAQUE is the classic quick rectangle fill.
        if (runOptions.opaqueRect) {
            backend::BrushSpec brush;
            brush.color = ToPixel(dc.state.bkColor);
            drawing.Device().FillRegion(drawing.State(), backend::Region(runOptions.rect), brush, PATCOPY);
        }
        return TRUE;
    }
    backend::FontRef font = FontOf(dc);
    std::vector<int> advances, yAdvances;
    if (dx) {
        bool pairs = (options & ETO_PDY) != 0;
        for (size_t i = 0; i < text.size(); ++i) {
            advances.push_back(ToDeviceX(dc, dx[pairs ? 2 * i : i]));
            if (pairs)
                yAdvances.push_back(static_cast<int>(std::lround(dx[2 * i + 1] * dc.ScaleY())));
        }
    } else {
        advances = AdvancesOf(dc, *font, text);
    }
    int width = DrawRun(drawing, dc.Map(reference.x, reference.y), text, advances, yAdvances, runOptions);
    if (updateCP) {
        UINT align = dc.state.textAlign;
        int logical = ToLogicalX(dc, width);
        // Right-aligned text moves the current position to its left end.
        if ((align & TA_CENTER) != TA_CENTER)
            dc.state.position.x += (align & TA_RIGHT) ? -logical : logical;
    }
    return TRUE;
}

// ---- DrawText layout ----

struct Line {
    std::u16string text;
    std::vector<int> advances;
    std::vector<bool> underlined; // prefixed characters
    int width = 0;
    bool ellipsized = false;
};

class TextLayout {
public:
    TextLayout(const DC& dc, const backend::Font& font, UINT format, int tabLength)
        : FDC(dc), FFont(font), FFormat(format) {
        FTabWidth = std::max(1, tabLength) * backend::MetricsOf(font).aveCharWidth;
    }

    // Advances of a line's characters, with tabs reaching the next tab stop from the line's start.
    void Measure(Line& line) const { line.width = MeasureInto(line.text, line.advances); }

    // Measure for text outside a Line: advances of text, with its tabs; answers the width.
    int MeasureInto(std::u16string_view text, std::vector<int>& advances) const {
        AdvancesInto(FDC, FFont, text, advances);
        int x = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == u'\t')
                advances[i] = (FFormat & DT_EXPANDTABS) ? FTabWidth - x % FTabWidth : 0;
            x += advances[i];
        }
        return x;
    }

    int WidthOf(std::u16string_view text) const {
        Line line;
        line.text = std::u16string(text);
        Measure(line);
        return line.width;
    }

    // The first characters of line that fit in width with the ellipsis after them.
    void EndEllipsis(Line& line, int width) const {
        int ellipsis = WidthOf(Ellipsis);
        size_t keep = 0;
        int x = 0;
        while (keep < line.text.size() && x + line.advances[keep] + ellipsis <= width) {
            x += line.advances[keep];
            ++keep;
        }
        line.text = line.text.substr(0, keep) + Ellipsis;
        line.underlined.resize(keep);
        line.underlined.resize(line.text.size(), false);
        line.ellipsized = true;
        Measure(line);
    }

    // Keeps the end of a path (from its last separator) and shortens what comes before it.
    void PathEllipsis(Line& line, int width) const {
        size_t separator = line.text.find_last_of(u"\\/");
        if (separator == std::u16string::npos || separator == 0) {
            EndEllipsis(line, width);
            return;
        }
        std::u16string head = line.text.substr(0, separator), tail = line.text.substr(separator);
        for (size_t keep = head.size(); keep-- > 0;) {
            std::u16string candidate = head.substr(0, keep) + Ellipsis + tail;
            if (WidthOf(candidate) <= width || keep == 0) {
                line.text = candidate;
                break;
            }
        }
        line.underlined.assign(line.text.size(), false);
        line.ellipsized = true;
        Measure(line);
        if (line.width > width && (FFormat & DT_END_ELLIPSIS))
            EndEllipsis(line, width);
    }

    void FitLine(Line& line, int width) const {
        if (line.width <= width)
            return;
        if (FFormat & DT_PATH_ELLIPSIS)
            PathEllipsis(line, width);
        else if (FFormat & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))
            EndEllipsis(line, width);
    }

    // Whether Wrap would give the paragraph back unchanged as its one line: no character reaches past
    // the width and no space at its end is trimmed. The usual short cell text, kept without a copy.
    bool FitsWhole(const Line& paragraph, int width) const {
        return FitsWhole(paragraph.text, paragraph.advances, width);
    }
    static bool FitsWhole(std::u16string_view text, const std::vector<int>& advances, int width) {
        if (text.empty() || text.back() == u' ')
            return false;
        int x = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (x + advances[i] > width && text[i] != u' ')
                return false;
            x += advances[i];
        }
        return true;
    }

    // Breaks one paragraph into lines no wider than width where the words allow it.
    void Wrap(const Line& paragraph, int width, std::vector<Line>& lines) const {
        size_t start = 0, n = paragraph.text.size();
        if (n == 0) {
            lines.push_back(paragraph);
            return;
        }
        while (start < n) {
            int x = 0;
            size_t end = start, lastBreak = std::string::npos;
            while (end < n) {
                char16_t c = paragraph.text[end];
                if (c == u' ' || c == u'\t')
                    lastBreak = end;
                if (x + paragraph.advances[end] > width && c != u' ')
                    break;
                x += paragraph.advances[end];
                ++end;
            }
            size_t lineEnd, next;
            if (end >= n) {
                lineEnd = next = n;
            } else if (lastBreak != std::string::npos && lastBreak >= start) {
                lineEnd = lastBreak;
                next = lastBreak + 1;
            } else if ((FFormat & DT_EDITCONTROL) && end > start) {
                lineEnd = next = end; // a word too long for a line breaks between characters
            } else {
                // A word too long for a line stays whole; it is clipped or gets an ellipsis.
                lineEnd = end;
                while (lineEnd < n && paragraph.text[lineEnd] != u' ' && paragraph.text[lineEnd] != u'\t')
                    ++lineEnd;
                next = lineEnd;
            }
            // Spaces at the break belong to neither line.
            size_t trimmed = lineEnd;
            while (trimmed > start && paragraph.text[trimmed - 1] == u' ')
                --trimmed;
            while (next < n && paragraph.text[next] == u' ')
                ++next;
            Line line;
            line.text = paragraph.text.substr(start, trimmed - start);
            line.underlined.assign(paragraph.underlined.begin() + static_cast<std::ptrdiff_t>(start),
                                   paragraph.underlined.begin() + static_cast<std::ptrdiff_t>(trimmed));
            Measure(line);
            lines.push_back(std::move(line));
            if (next <= start)
                next = start + 1;
            start = next;
        }
    }

private:
    const DC& FDC;
    const backend::Font& FFont;
    UINT FFormat;
    int FTabWidth = 0;
};

// Removes the prefix marks: "&x" underlines x and "&&" is one ampersand.
void StripPrefixes(std::u16string_view text, bool prefixes, std::u16string& out,
                   std::vector<bool>& underlined) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == u'&') {
            if (i + 1 < text.size()) {
                ++i;
                out.push_back(text[i]);
                underlined.push_back(text[i] != u'&');
            }
            continue;
        }
        out.push_back(text[i]);
        underlined.push_back(false);
    }
}

// The top of a single line's box in area by the vertical alignment.
int LineTop(UINT format, const backend::Rect& area, int lineHeight) {
    if (format & DT_VCENTER)
        return area.top + (area.Height() - lineHeight) / 2;
    if (format & DT_BOTTOM)
        return area.bottom - lineHeight;
    return area.top;
}

// The usual cell and caption text: one line drawn whole, with no prefix to strip, no break, wrap or
// ellipsis to make. It is drawn as DrawText's general layout would draw it, without the copies that
// layout makes: the advances and the run are kept per thread. False, with nothing drawn, for any other
// text; the general layout then draws it.
bool DrawPlainLine(Drawing& drawing, const backend::FontRef& font, const TextLayout& layout,
                   std::u16string_view source, UINT format, const backend::Rect& area, int leftMargin,
                   int rightMargin, int lineHeight) {
    if (format & (DT_CALCRECT | DT_MODIFYSTRING | DT_PREFIXONLY))
        return false;
    const bool single = (format & DT_SINGLELINE) != 0;
    for (char16_t c : source)
        if ((c == u'&' && !(format & DT_NOPREFIX)) || (!single && (c == u'\r' || c == u'\n')))
            return false;
    thread_local std::vector<int> advances;
    const int lineWidth = layout.MeasureInto(source, advances);
    const int width = area.Width() - leftMargin - rightMargin;
    if ((format & DT_WORDBREAK) && !single && !TextLayout::FitsWhole(source, advances, width))
        return false;
    if (lineWidth > width && (format & (DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)))
        return false;

    DC& dc = drawing.Dc();
    const backend::FontMetrics& m = backend::MetricsOf(*font);
    int x = area.left + leftMargin;
    if (format & DT_CENTER)
        x = area.left + leftMargin + (width - lineWidth) / 2;
    else if (format & DT_RIGHT)
        x = area.right - rightMargin - lineWidth;
    const int top = single ? LineTop(format, area, lineHeight) : area.top;
    // The run keeps its buffers from call to call; it lets go of the font and the caller's text when it
    // is drawn.
    thread_local backend::TextRun run;
    struct Release {
        backend::TextRun& run;
        ~Release() {
            run.font.reset();
            run.text = {};
        }
    } release{run};
    run.font = font;
    run.text = source;
    run.offsets.resize(advances.size());
    int offset = 0;
    for (size_t i = 0; i < advances.size(); ++i) {
        run.offsets[i] = offset;
        offset += advances[i];
    }
    run.yOffsets.clear();
    run.prefixUnderlines.clear();
    run.width = lineWidth;
    run.origin = backend::Point{x, top + m.ascent};
    run.color = ToPixel(dc.state.textColor);
    run.backgroundColor = ToPixel(dc.state.bkColor);
    run.opaqueCell = dc.state.bkMode == OPAQUE;
    run.hasOpaqueRect = false;
    run.opaqueRect = backend::Rect{};
    run.hasClipRect = !(format & DT_NOCLIP);
    run.clipRect = run.hasClipRect ? area : backend::Rect{};
    run.underlinesOnly = false;
    drawing.Device().Text(drawing.State(), run);
    return true;
}

int DrawTextCore(HDC handle, LPWSTR text, int count, LPRECT rect, UINT format, DRAWTEXTPARAMS* params) {
    Drawing drawing(handle);
    if (!drawing || !rect)
        return 0;
    if (params && params->cbSize != sizeof(DRAWTEXTPARAMS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (format & DT_CALCRECT)
        drawing.ReadOnly();
    DC& dc = drawing.Dc();
    std::u16string_view source = TextOf(text, count);
    int tabLength = 8;
    if (format & DT_TABSTOP) {
        // The high byte of the low word is then the tab length, not flags.
        tabLength = static_cast<int>((format >> 8) & 0xFF);
        format &= ~static_cast<UINT>(0xFF00);
    }
    if (params && params->iTabLength > 0)
        tabLength = params->iTabLength;
    if (params)
        params->uiLengthDrawn = 0;

    backend::FontRef font = FontOf(dc);
    const backend::FontMetrics& m = backend::MetricsOf(*font);
    int lineHeight = m.height + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
    backend::Rect area = dc.MapRect(rect->left, rect->top, rect->right, rect->bottom);
    int leftMargin = params ? ToDeviceX(dc, params->iLeftMargin) : 0;
    int rightMargin = params ? ToDeviceX(dc, params->iRightMargin) : 0;
    int width = area.Width() - leftMargin - rightMargin;

    if (source.empty()) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }

    TextLayout layout(dc, *font, format, tabLength);
    if (DrawPlainLine(drawing, font, layout, source, format, area, leftMargin, rightMargin, lineHeight)) {
        if (params)
            params->uiLengthDrawn = static_cast<UINT>(source.size());
        return ToLogicalY(dc, (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))
                                  ? LineTop(format, area, lineHeight) - area.top + lineHeight
                                  : lineHeight);
    }

    std::u16string display;
    std::vector<bool> underlined;
    StripPrefixes(source, !(format & DT_NOPREFIX), display, underlined);

    // Paragraphs at line breaks, then lines within the width.
    std::vector<Line> lines;
    bool single = (format & DT_SINGLELINE) != 0;
    size_t start = 0;
    while (start <= display.size()) {
        size_t end = single ? display.size() : display.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos)
            end = display.size();
        Line paragraph;
        bool whole = start == 0 && end == display.size();
        if (whole) {
            // One paragraph (the usual single line): it takes the text over, which nothing reads again.
            paragraph.text = std::move(display);
            paragraph.underlined = std::move(underlined);
        } else {
            paragraph.text = display.substr(start, end - start);
            paragraph.underlined.assign(underlined.begin() + static_cast<std::ptrdiff_t>(start),
                                        underlined.begin() + static_cast<std::ptrdiff_t>(end));
        }
        layout.Measure(paragraph);
        if ((format & DT_WORDBREAK) && !single && !layout.FitsWhole(paragraph, width))
            layout.Wrap(paragraph, width, lines);
        else
            lines.push_back(std::move(paragraph));
        if (whole || end >= display.size())
            break;
        start =
            end + ((display[end] == u'\r' && end + 1 < display.size() && display[end + 1] == u'\n') ? 2 : 1);
    }
    // A measurement reports the whole text: ellipses shorten only what is drawn (and, with
    // DT_MODIFYSTRING, what is handed back), so a caller measuring a run with an ellipsis format still
    // learns how wide the run is.
    int wholeWidth = 0;
    for (const Line& line : lines)
        wholeWidth = std::max(wholeWidth, line.width);
    for (Line& line : lines)
        layout.FitLine(line, width);

    // An edit control shows no partly visible last line; its last full line ends in an ellipsis when
    // text is cut off below.
    if ((format & DT_EDITCONTROL) && !(format & DT_CALCRECT) && lines.size() > 1) {
        size_t visible = static_cast<size_t>(std::max(1, area.Height() / std::max(1, lineHeight)));
        if (visible < lines.size()) {
            lines.resize(visible);
            if (format & DT_END_ELLIPSIS) {
                Line& last = lines.back();
                if (!last.ellipsized) {
                    last.text += u' ';
                    last.text += Ellipsis;
                    last.underlined.resize(last.text.size(), false);
                    layout.Measure(last);
                    if (last.width > width) {
                        last.text.resize(last.text.size() - Ellipsis.size() - 1);
                        last.underlined.resize(last.text.size());
                        layout.Measure(last);
                        layout.EndEllipsis(last, width);
                    }
                }
            }
        }
    }

    int maxWidth = 0;
    for (const Line& line : lines)
        maxWidth = std::max(maxWidth, line.width);
    int textHeight = static_cast<int>(lines.size()) * lineHeight;
    const int top = single ? LineTop(format, area, lineHeight) : area.top;

    if (params)
        params->uiLengthDrawn = static_cast<UINT>(source.size());

    if ((format & DT_MODIFYSTRING) && text && lines.size() == 1 && lines[0].ellipsized) {
        // The caller's buffer has room for four more characters than it gave.
        const std::u16string& changed = lines[0].text;
        size_t room = source.size() + 4;
        size_t n = std::min(changed.size(), room - 1);
        std::copy(changed.begin(), changed.begin() + static_cast<std::ptrdiff_t>(n), text);
        text[n] = 0;
    }

    if (format & DT_CALCRECT) {
        int right = area.left + leftMargin + wholeWidth + rightMargin;
        POINT a = dc.ToLogical(area.left - dc.origin.x, area.top - dc.origin.y);
        POINT b = dc.ToLogical(right - dc.origin.x, area.top + textHeight - dc.origin.y);
        rect->right = rect->left + std::abs(b.x - a.x);
        rect->bottom = rect->top + (b.y >= a.y ? std::abs(b.y - a.y) : -std::abs(b.y - a.y));
        return ToLogicalY(dc, textHeight);
    }

    RunOptions options;
    if (!(format & DT_NOCLIP)) {
        options.clipRect = true;
        options.rect = area;
    }
    UINT savedAlign = dc.state.textAlign;
    dc.state.textAlign = TA_LEFT | TA_TOP;
    bool hide = (format & DT_HIDEPREFIX) != 0;
    int y = top;
    for (Line& line : lines) {
        int x = area.left + leftMargin;
        if (format & DT_CENTER)
            x = area.left + leftMargin + (width - line.width) / 2;
        else if (format & DT_RIGHT)
            x = area.right - rightMargin - line.width;
        backend::TextRun run;
        run.font = font;
        run.text = line.text;
        run.offsets.reserve(line.advances.size());
        int offset = 0;
        for (size_t i = 0; i < line.advances.size(); ++i) {
            run.offsets.push_back(offset);
            if (!hide && i < line.underlined.size() && line.underlined[i])
                run.prefixUnderlines.emplace_back(offset, offset + line.advances[i]);
            offset += line.advances[i];
        }
        run.width = line.width;
        run.origin = backend::Point{x, y + m.ascent};
        run.color = ToPixel(dc.state.textColor);
        run.backgroundColor = ToPixel(dc.state.bkColor);
        run.opaqueCell = dc.state.bkMode == OPAQUE && !(format & DT_PREFIXONLY);
        run.hasClipRect = options.clipRect;
        run.clipRect = options.rect;
        run.underlinesOnly = (format & DT_PREFIXONLY) != 0;
        drawing.Device().Text(drawing.State(), run);
        y += lineHeight;
    }
    dc.state.textAlign = savedAlign;
    if (single && (format & (DT_VCENTER | DT_BOTTOM)))
        return ToLogicalY(dc, top - area.top + lineHeight);
    return ToLogicalY(dc, textHeight);
}

} // namespace
} // namespace gdi

using namespace gdi;

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    if (count < 0 || (count > 0 && !text)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TextCore(dc, x, y, 0, nullptr, TextOf(text, count), nullptr);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx) {
    if (count > 0 && !text) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TextCore(dc, x, y, options, rect, TextOf(text, static_cast<int>(count)), dx);
}

BOOL GetTextExtentPoint32W(HDC handle, LPCWSTR text, int count, LPSIZE size) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !size || count < 0 || (count > 0 && !text)) {
        if (dc)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    backend::FontRef font = FontOf(*dc);
    int width = 0;
    for (int advance : AdvancesOf(*dc, *font, TextOf(text, count)))
        width += advance;
    *size = SIZE{ToLogicalX(*dc, width), ToLogicalY(*dc, backend::MetricsOf(*font).height)};
    return TRUE;
}

BOOL GetTextExtentExPointW(HDC handle, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                           LPSIZE size) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !size || count < 0 || (count > 0 && !text)) {
        if (dc)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    backend::FontRef font = FontOf(*dc);
    std::vector<int> advances = AdvancesOf(*dc, *font, TextOf(text, count));
    int width = 0, fitting = 0;
    for (size_t i = 0; i < advances.size(); ++i) {
        width += advances[i];
        int logical = ToLogicalX(*dc, width);
        if (dx)
            dx[i] = logical;
        if (logical <= maxExtent && fitting == static_cast<int>(i))
            fitting = static_cast<int>(i) + 1;
    }
    if (fit)
        *fit = fitting;
    *size = SIZE{ToLogicalX(*dc, width), ToLogicalY(*dc, backend::MetricsOf(*font).height)};
    return TRUE;
}

BOOL GetTextMetricsW(HDC handle, TEXTMETRICW* metrics) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !metrics)
        return FALSE;
    FillTextMetrics(*dc, *FontOf(*dc), *metrics);
    return TRUE;
}

BOOL GetCharWidth32W(HDC handle, UINT first, UINT last, LPINT widths) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !widths || last < first) {
        if (dc)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    backend::FontRef font = FontOf(*dc);
    for (UINT c = first; c <= last; ++c)
        widths[c - first] = ToLogicalX(*dc, backend::CharAdvance(*font, c));
    return TRUE;
}

BOOL GetCharABCWidthsW(HDC handle, UINT first, UINT last, ABC* widths) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !widths || last < first) {
        if (dc)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    backend::FontRef font = FontOf(*dc);
    for (UINT c = first; c <= last; ++c) {
        backend::CharABC abc = backend::CharABCWidths(*font, c);
        widths[c - first] =
            ABC{ToLogicalX(*dc, abc.a), static_cast<UINT>(ToLogicalX(*dc, abc.b)), ToLogicalX(*dc, abc.c)};
    }
    return TRUE;
}

int GetTextFaceW(HDC handle, int count, LPWSTR face) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return 0;
    const LOGFONTW& lf = dc->state.font->logFont;
    std::u16string name(lf.lfFaceName, std::char_traits<char16_t>::length(lf.lfFaceName));
    if (name.empty())
        name = backend::InstalledFaceOf(*FontOf(*dc));
    if (!face)
        return static_cast<int>(name.size()) + 1;
    if (count <= 0)
        return 0;
    size_t n = std::min(name.size(), static_cast<size_t>(count - 1));
    std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n), face);
    face[n] = 0;
    return static_cast<int>(n);
}

UINT GetOutlineTextMetricsW(HDC handle, UINT size, OUTLINETEXTMETRICW* metrics) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return 0;
    backend::FontRef font = FontOf(*dc);
    const backend::FontMetrics& m = backend::MetricsOf(*font);
    // The four names follow the structure, each null-terminated.
    std::u16string family = backend::InstalledFaceOf(*font);
    std::u16string style =
        m.weight >= FW_BOLD ? (m.italic ? u"Bold Italic" : u"Bold") : (m.italic ? u"Italic" : u"Regular");
    std::u16string full = family + u" " + style;
    std::u16string names[4] = {family, family, style, full};
    UINT needed = sizeof(OUTLINETEXTMETRICW);
    for (const auto& name : names)
        needed += static_cast<UINT>((name.size() + 1) * sizeof(char16_t));
    if (!metrics)
        return needed;
    if (size < sizeof(OUTLINETEXTMETRICW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    OUTLINETEXTMETRICW otm{};
    otm.otmSize = needed;
    FillTextMetrics(*dc, *font, otm.otmTextMetrics);
    otm.otmfsSelection = (m.italic ? 1u : 0u) | (m.underlined ? 2u : 0u) | (m.struckOut ? 16u : 0u) |
                         (m.weight >= FW_BOLD ? 32u : 0u);
    otm.otmsCharSlopeRise = 1;
    otm.otmsCharSlopeRun = 0;
    otm.otmItalicAngle = m.italic ? -120 : 0;
    otm.otmEMSquare = static_cast<UINT>(m.unitsPerEm);
    otm.otmAscent = ToLogicalY(*dc, m.ascent);
    otm.otmDescent = -ToLogicalY(*dc, m.descent);
    otm.otmLineGap = static_cast<UINT>(ToLogicalY(*dc, m.lineGap));
    otm.otmsCapEmHeight = static_cast<UINT>(ToLogicalY(*dc, m.capHeight));
    otm.otmsXHeight = static_cast<UINT>(ToLogicalY(*dc, m.xHeight));
    otm.otmrcFontBox =
        RECT{0, ToLogicalY(*dc, m.ascent), ToLogicalX(*dc, m.maxCharWidth), -ToLogicalY(*dc, m.descent)};
    otm.otmMacAscent = otm.otmAscent;
    otm.otmMacDescent = otm.otmDescent;
    otm.otmMacLineGap = otm.otmLineGap;
    otm.otmusMinimumPPEM = 9;
    otm.otmsStrikeoutSize = static_cast<UINT>(ToLogicalY(*dc, m.strikeoutThickness));
    otm.otmsStrikeoutPosition = ToLogicalY(*dc, m.strikeoutPosition);
    otm.otmsUnderscoreSize = ToLogicalY(*dc, m.underlineThickness);
    otm.otmsUnderscorePosition = -ToLogicalY(*dc, m.underlinePosition);
    std::uintptr_t* offsets[4] = {&otm.otmpFamilyName, &otm.otmpFaceName, &otm.otmpStyleName,
                                  &otm.otmpFullName};
    std::vector<char16_t> tail;
    for (int i = 0; i < 4; ++i) {
        *offsets[i] = sizeof(OUTLINETEXTMETRICW) + tail.size() * sizeof(char16_t);
        tail.insert(tail.end(), names[i].begin(), names[i].end());
        tail.push_back(0);
    }
    *metrics = otm;
    size_t room = (size - sizeof(OUTLINETEXTMETRICW)) / sizeof(char16_t);
    if (room >= tail.size())
        std::copy(tail.begin(), tail.end(), reinterpret_cast<char16_t*>(metrics + 1));
    return std::min(size, needed);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    // Only DT_MODIFYSTRING writes to the text, and then into room the caller promises.
    return DrawTextCore(dc, const_cast<LPWSTR>(text), count, rect, format, nullptr);
}

int DrawTextExW(HDC dc, LPWSTR text, int count, LPRECT rect, UINT format, DRAWTEXTPARAMS* params) {
    return DrawTextCore(dc, text, count, rect, format, params);
}
