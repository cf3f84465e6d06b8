// Laying out a rich edit's document into lines on a device and drawing them: the window's painting,
// EM_FORMATRANGE and the size EN_REQUESTRESIZE asks for all go through here.
#include <algorithm>
#include <climits>

#include "platform/win32/richedit.h"
#include "platform/win32/windraw.h"

namespace win32::richedit {

namespace {

int TwipsToPixels(long long twips, int dpi) {
    long long scaled = twips * dpi;
    return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}

// Tab stops lie every half inch.
constexpr int TabTwips = 720;

struct Metrics {
    int ascent = 0; // with the format's offset above the baseline
    int descent = 0;
    int fontAscent = 0;
    int offset = 0; // device units above the baseline
};

class Measurer {
public:
    Measurer(HDC dc, FontCache& fonts, const Document& document, int dpiX)
        : FDC(dc), FFonts(fonts), FDocument(document), FDpiX(dpiX), FSaved(SaveDC(dc)) {}
    ~Measurer() { RestoreDC(FDC, FSaved); }
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    const Metrics& MetricsOf(int formatIndex) {
        auto found = FMetrics.find(formatIndex);
        if (found != FMetrics.end())
            return found->second;
        const CharFormat& format = FDocument.Format(formatIndex);
        SelectObject(FDC, FFonts.Get(format));
        TEXTMETRICW tm{};
        GetTextMetricsW(FDC, &tm);
        Metrics m;
        m.fontAscent = tm.tmAscent;
        m.offset = TwipsToPixels(format.offset, FFonts.DpiY());
        m.ascent = std::max(0, tm.tmAscent + m.offset);
        m.descent = std::max(0, tm.tmDescent - m.offset);
        return FMetrics.emplace(formatIndex, m).first->second;
    }

    // The x of every boundary of [start, end), from 0 at start; originX is where start lies from the
    // layout's left edge, for the tab stops.
    std::vector<int> Advances(int start, int end, int originX) {
        const String& text = FDocument.Text();
        std::vector<int> xs(static_cast<size_t>(end - start) + 1, 0);
        int tab = std::max(1, TwipsToPixels(TabTwips, FDpiX));
        std::vector<int> dx;
        int i = start;
        while (i < end) {
            size_t at = static_cast<size_t>(i - start);
            Char c = text[static_cast<size_t>(i)];
            if (c == u'\t') {
                int x = originX + xs[at];
                xs[at + 1] = (x / tab + 1) * tab - originX;
                ++i;
                continue;
            }
            if (c == u'\v' || c == u'\r') {
                xs[at + 1] = xs[at];
                ++i;
                continue;
            }
            int index = FDocument.FormatIndexAt(i);
            int j = i;
            while (j < end && FDocument.FormatIndexAt(j) == index && text[static_cast<size_t>(j)] != u'\t' &&
                   text[static_cast<size_t>(j)] != u'\v' && text[static_cast<size_t>(j)] != u'\r')
                ++j;
            SelectObject(FDC, FFonts.Get(FDocument.Format(index)));
            dx.assign(static_cast<size_t>(j - i), 0);
            SIZE size{};
            GetTextExtentExPointW(FDC, text.data() + i, j - i, 0, nullptr, dx.data(), &size);
            for (int k = 0; k < j - i; ++k)
                xs[at + static_cast<size_t>(k) + 1] = xs[at] + dx[static_cast<size_t>(k)];
            i = j;
        }
        return xs;
    }

    // The boundaries of a laid-out line, with a justified line's stretch spread over its spaces.
    std::vector<int> LineAdvances(const LayoutLine& line) {
        std::vector<int> xs = Advances(line.start, line.end, line.left);
        if (line.stretch <= 0)
            return xs;
        const String& text = FDocument.Text();
        int spaces = 0;
        int trimmed = line.end;
        while (trimmed > line.start && text[static_cast<size_t>(trimmed) - 1] == u' ')
            --trimmed;
        for (int i = line.start; i < trimmed; ++i)
            spaces += text[static_cast<size_t>(i)] == u' ' ? 1 : 0;
        if (spaces == 0)
            return xs;
        int seen = 0;
        for (int i = line.start; i < line.end; ++i) {
            if (text[static_cast<size_t>(i)] == u' ' && seen < spaces)
                ++seen;
            xs[static_cast<size_t>(i - line.start) + 1] += line.stretch * seen / spaces;
        }
        return xs;
    }

private:
    HDC FDC;
    FontCache& FFonts;
    const Document& FDocument;
    int FDpiX;
    int FSaved;
    std::map<int, Metrics> FMetrics;
};

// Where a line of the paragraph starts and how much room it has, in device units.
struct Indents {
    int left;
    int right;
};

Indents IndentsOf(const ParaFormat& para, bool firstLine, int dpiX) {
    LONG left = firstLine ? para.startIndent : para.startIndent + para.offset;
    return Indents{std::max(0, TwipsToPixels(left, dpiX)),
                   std::max(0, TwipsToPixels(para.rightIndent, dpiX))};
}

bool IsLowSurrogate(Char c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

FontCache::~FontCache() {
    for (auto& [format, font] : FFonts)
        DeleteObject(font);
}

HFONT FontCache::Get(const CharFormat& format) {
    auto found = FFonts.find(format);
    if (found != FFonts.end())
        return found->second;
    LOGFONTW lf{};
    lf.lfHeight = -std::max(1, TwipsToPixels(format.height, FDpiY));
    lf.lfWeight = (format.effects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (format.effects & CFE_ITALIC) ? 1 : 0;
    lf.lfUnderline = (format.effects & CFE_UNDERLINE) ? 1 : 0;
    lf.lfStrikeOut = (format.effects & CFE_STRIKEOUT) ? 1 : 0;
    lf.lfCharSet = format.charSet;
    size_t length = std::min<size_t>(format.face.size(), LF_FACESIZE - 1);
    std::copy_n(format.face.data(), length, lf.lfFaceName);
    HFONT font = CreateFontIndirectW(&lf);
    FFonts.emplace(format, font);
    return font;
}

std::vector<LayoutLine> LayOut(HDC dc, FontCache& fonts, const Document& document, int from, int to,
                               const LayoutArea& area) {
    from = std::clamp(from, 0, document.Length());
    to = std::clamp(to, from, document.Length());
    Measurer measure(dc, fonts, document, area.dpiX);
    const String& text = document.Text();
    std::vector<LayoutLine> lines;
    int y = 0;
    int pos = from;
    // The paragraph is followed along rather than looked up, so that laying out costs what is laid out.
    int paragraph = document.ParagraphOf(pos);
    int paraStart = document.ParagraphStart(paragraph);
    int fullEnd = document.ParagraphEnd(paragraph); // where the paragraph's break is
    while (true) {
        if (pos > fullEnd) {
            ++paragraph;
            paraStart = fullEnd + 1;
            size_t found = text.find(u'\r', static_cast<size_t>(paraStart));
            fullEnd = found == String::npos ? document.Length() : static_cast<int>(found);
        }
        const ParaFormat& para = document.Para(paragraph);
        int paraEnd = std::min(fullEnd, to);
        bool firstLine = pos == paraStart;
        Indents indents = IndentsOf(para, firstLine, area.dpiX);
        int room = std::max(0, area.width - indents.left - indents.right);
        // A manual line break ends the line like the paragraph's end does.
        int segmentEnd = pos;
        while (segmentEnd < paraEnd && text[static_cast<size_t>(segmentEnd)] != u'\v')
            ++segmentEnd;
        std::vector<int> xs = measure.Advances(pos, segmentEnd, indents.left);
        int lineEnd = segmentEnd;
        if (area.wrap && xs.back() > room) {
            int fit = 0;
            while (fit < segmentEnd - pos && xs[static_cast<size_t>(fit) + 1] <= room)
                ++fit;
            int breakAt = -1;
            // Spaces at the end of a line may run past the edge.
            int j = pos + fit;
            if (j < segmentEnd && text[static_cast<size_t>(j)] == u' ') {
                while (j < segmentEnd && text[static_cast<size_t>(j)] == u' ')
                    ++j;
                breakAt = j;
            } else {
                for (int k = pos + fit; k > pos; --k)
                    if (text[static_cast<size_t>(k) - 1] == u' ') {
                        breakAt = k;
                        break;
                    }
            }
            if (breakAt < 0) {
                // A word longer than the line is broken where it must, never inside a surrogate pair.
                breakAt = pos + std::max(fit, 1);
                if (breakAt < segmentEnd && breakAt - 1 > pos &&
                    IsLowSurrogate(text[static_cast<size_t>(breakAt)]))
                    --breakAt;
            }
            lineEnd = std::min(breakAt, segmentEnd);
        }
        LayoutLine line;
        line.start = pos;
        line.end = lineEnd;
        if (lineEnd < segmentEnd)
            line.next = lineEnd;
        else if (segmentEnd < paraEnd || (paraEnd == fullEnd && paraEnd < document.Length()))
            line.next = segmentEnd + 1; // past the break that ends the line
        else
            line.next = segmentEnd;
        // The line is as high as its tallest format; an empty line takes the format of its break, or of
        // the character before it at the end of the text.
        int first = line.start;
        int last = line.end;
        if (first == last) {
            if (first < document.Length())
                last = first + 1;
            else if (first > 0)
                first = first - 1;
        }
        int ascent = 0, descent = 0;
        if (first == last) {
            const Metrics& m = measure.MetricsOf(area.emptyFormat);
            ascent = m.ascent;
            descent = m.descent;
        }
        for (int i = first; i < last; ++i) {
            const Metrics& m = measure.MetricsOf(document.FormatIndexAt(i));
            ascent = std::max(ascent, m.ascent);
            descent = std::max(descent, m.descent);
        }
        line.ascent = ascent;
        line.height = std::max(1, ascent + descent);
        int trimmed = line.end;
        while (trimmed > line.start && text[static_cast<size_t>(trimmed) - 1] == u' ')
            --trimmed;
        line.width = xs[static_cast<size_t>(trimmed - pos)];
        line.left = indents.left;
        if (para.alignment == PFA_CENTER && room > line.width)
            line.left += (room - line.width) / 2;
        else if (para.alignment == PFA_RIGHT && room > line.width)
            line.left += room - line.width;
        else if (para.alignment == PFA_JUSTIFY && area.wrap && lineEnd < segmentEnd && room > line.width)
            line.stretch = room - line.width; // the last line of a paragraph stays as it is
        line.top = y;
        if (area.maxHeight >= 0 && y + line.height > area.maxHeight && !lines.empty())
            break;
        lines.push_back(line);
        y += line.height;
        // After the text's final break comes one more, empty, line.
        bool more = line.next < to || (line.next == to && to == document.Length() && line.next > line.end);
        if (!more || line.next <= pos)
            break;
        pos = line.next;
    }
    return lines;
}

int PositionX(HDC dc, FontCache& fonts, const Document& document, const LayoutLine& line, int pos, int dpiX) {
    Measurer measure(dc, fonts, document, dpiX);
    std::vector<int> xs = measure.LineAdvances(line);
    pos = std::clamp(pos, line.start, line.end);
    return line.left + xs[static_cast<size_t>(pos - line.start)];
}

int PositionAt(HDC dc, FontCache& fonts, const Document& document, const LayoutLine& line, int x, int dpiX) {
    Measurer measure(dc, fonts, document, dpiX);
    std::vector<int> xs = measure.LineAdvances(line);
    int best = line.start;
    for (int i = line.start; i < line.end; ++i) {
        int middle =
            line.left +
            (xs[static_cast<size_t>(i - line.start)] + xs[static_cast<size_t>(i - line.start) + 1]) / 2;
        if (x >= middle)
            best = i + 1;
    }
    return best;
}

void DrawLines(HDC dc, FontCache& fonts, const Document& document, const std::vector<LayoutLine>& lines,
               POINT origin, int dpiX, int selStart, int selEnd) {
    Measurer measure(dc, fonts, document, dpiX);
    const String& text = document.Text();
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const LayoutLine& line : lines) {
        std::vector<int> xs = measure.LineAdvances(line);
        int i = line.start;
        while (i < line.end) {
            Char c = text[static_cast<size_t>(i)];
            if (c == u'\t' || c == u'\v' || c == u'\r') {
                ++i;
                continue;
            }
            int index = document.FormatIndexAt(i);
            bool selected = i >= selStart && i < selEnd;
            int j = i;
            while (j < line.end && document.FormatIndexAt(j) == index &&
                   (j >= selStart && j < selEnd) == selected) {
                Char d = text[static_cast<size_t>(j)];
                if (d == u'\t' || d == u'\v' || d == u'\r')
                    break;
                ++j;
            }
            const CharFormat& format = document.Format(index);
            const Metrics& m = measure.MetricsOf(index);
            SelectObject(dc, fonts.Get(format));
            int x = origin.x + line.left + xs[static_cast<size_t>(i - line.start)];
            int y = origin.y + line.top + line.ascent - m.fontAscent - m.offset;
            if (selected) {
                RECT back{x, origin.y + line.top,
                          origin.x + line.left + xs[static_cast<size_t>(j - line.start)],
                          origin.y + line.top + line.height};
                SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                ExtTextOutW(dc, x, y, ETO_OPAQUE, &back, text.data() + i, static_cast<UINT>(j - i), nullptr);
            } else {
                SetTextColor(dc,
                             (format.effects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : format.color);
                ExtTextOutW(dc, x, y, 0, nullptr, text.data() + i, static_cast<UINT>(j - i), nullptr);
            }
            i = j;
        }
    }
}

} // namespace win32::richedit
