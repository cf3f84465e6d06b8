// The mini-HTML layout engine: preprocesses the markup into elements, lays each line out in a
// measuring pass, places it, and paints or hit-tests it in a second pass, all through THTMLHost.
//
// Contents: preprocessing and elements; the element source of a pass; renderer state; runs; tags
// (styles, anchors, fonts, paragraphs, lists, pictures, controls); the line loop; the layout dump.
#include "render/AsgHTMLE.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/rtl/Convert.h"
#include "platform/rtl/UString.h"
#include "platform/win32/windraw.h"
#include "render/AsgHTMLEPrivate.h"

using namespace asghtmle;

namespace {

TColor gHighlightBackground = clHighlight;
TColor gHighlightText = clHighlightText;

// Sizes from the markup are clamped to this, so that no layout arithmetic overflows.
constexpr Integer kMaxSize = 32767;

Integer ClampSize(Int64 value) {
    return Integer(std::clamp<Int64>(value, 0, kMaxSize));
}

// ---- Preprocessing ----

// The entities decoded for the whole text before layout, matched without regard to case. "&amp;"
// becomes "&&" because runs are drawn with prefix processing, which shows "&&" as one ampersand.
struct TPreEntity {
    StringView name;
    StringView replacement;
};
const TPreEntity kPreEntities[] = {
    {u"&AMP;", u"&&"},        {u"&QUOT;", u"\""},      {u"&SECT;", u"\u00A7"},
    {u"&PERMIL;", u"\u2030"}, {u"&REG;", u"\u00AE"},   {u"&COPY;", u"\u00A9"},
    {u"&PARA;", u"\u00B6"},   {u"&TRADE;", u"\u2122"}, {u"&EURO;", u"\u20AC"},
};

bool MatchesUpper(StringView text, size_t at, StringView upperName) {
    if (text.size() - at < upperName.size())
        return false;
    for (size_t i = 0; i < upperName.size(); ++i)
        if (UpAscii(text[at + i]) != upperName[i])
            return false;
    return true;
}

// Replacing first occurrences until nothing changes ends in the same text as this one scan: the
// entities cannot overlap, and only "&amp;" makes new text, whose second "&" may start another entity.
String DecodePreEntities(StringView text) {
    String result;
    result.reserve(text.size());
    String work(text);
    size_t i = 0;
    while (i < work.size()) {
        if (work[i] == u'&') {
            bool replaced = false;
            for (const TPreEntity& entity : kPreEntities) {
                if (MatchesUpper(work, i, entity.name)) {
                    if (entity.replacement == u"&&") {
                        // The second ampersand takes the place of the ";" and is read again: it may
                        // start another entity.
                        result += u'&';
                        i += entity.name.size() - 1;
                        work[i] = u'&';
                    } else {
                        result.append(entity.replacement);
                        i += entity.name.size();
                    }
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        result += work[i++];
    }
    return result;
}

// "<#" starts no tag: its "<" goes, and so does the first ">" after it. Removing a "<" or a ">" may
// bring a "<" next to a "#"; that pair then goes the same way.
String RemoveHashTags(StringView text) {
    String result;
    result.reserve(text.size());
    size_t pendingCloses = 0;
    for (Char c : text) {
        if (c == u'#') {
            while (!result.empty() && result.back() == u'<') {
                result.pop_back();
                ++pendingCloses;
            }
        } else if (c == u'>' && pendingCloses > 0) {
            --pendingCloses;
            continue;
        }
        result += c;
    }
    return result;
}

String Preprocess(const String& text) {
    String work = text.find(u'&') != String::npos ? DecodePreEntities(text) : text;
    if (work.find(u"<#") != String::npos)
        work = RemoveHashTags(work);
    if (work.find_first_of(u"\r\n") == String::npos)
        return work;
    String result;
    result.reserve(work.size());
    for (Char c : work) {
        if (c == u'\n')
            continue;
        if (c == u'\r')
            result += u"<BR>";
        else
            result += c;
    }
    return result;
}

// Decodes the entities of one run, exact case: non-breaking space, lt, gt, then the table.
String DecodeRun(StringView run) {
    if (run.find(u'&') == StringView::npos)
        return String(run);
    String result;
    size_t i = 0;
    while (i < run.size()) {
        if (run[i] == u'&') {
            StringView rest = run.substr(i);
            if (rest.starts_with(u"&nbsp;")) {
                result += u' ';
                i += 6;
                continue;
            }
            if (rest.starts_with(u"&lt;") || rest.starts_with(u"&gt;")) {
                result += rest[1] == u'l' ? u'<' : u'>';
                i += 4;
                continue;
            }
            bool found = false;
            for (const TEntity& entity : kEntities) {
                StringView name(entity.name);
                if (rest.starts_with(name)) {
                    result += entity.character;
                    i += name.size();
                    found = true;
                    break;
                }
            }
            if (found)
                continue;
        }
        result += run[i++];
    }
    return result;
}

// ---- Elements ----

// A stretch of text or one tag of the preprocessed text. A tag runs from "<" to its first ">"; one
// without ">" runs to the end of the text (unclosed).
struct TElement {
    size_t begin;
    size_t end;
    bool tag;
    bool unclosed;
};

std::vector<TElement> SplitElements(const String& text) {
    std::vector<TElement> elements;
    elements.reserve(16);
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == u'<') {
            // A "<" with at most one character after it at the end is dropped.
            if (text.size() - i <= 2)
                break;
            size_t close = text.find(u'>', i);
            if (close == String::npos) {
                elements.push_back({i, text.size(), true, true});
                break;
            }
            elements.push_back({i, close + 1, true, false});
            i = close + 1;
        } else {
            size_t open = text.find(u'<', i);
            size_t end = open == String::npos ? text.size() : open;
            elements.push_back({i, end, false, false});
            i = end;
        }
    }
    return elements;
}

// Markup one measuring pass consumed: a whole tag or a run cut from a text element.
struct TPiece {
    size_t begin;
    size_t end;
    bool tag;
};

// What a pass reads: the remaining elements (measuring pass) or the pieces the measuring pass of the
// line consumed (second pass).
class TSource {
public:
    TSource(const String& text, const std::vector<TElement>& elements) : FText(text), FElements(&elements) {}
    TSource(const String& text, const std::vector<TPiece>& pieces) : FText(text), FPieces(&pieces) {}

    bool AtEnd() const { return FPieces ? FIndex >= FPieces->size() : FIndex >= FElements->size(); }
    bool FrontIsTag() const { return FPieces ? (*FPieces)[FIndex].tag : (*FElements)[FIndex].tag; }
    bool FrontUnclosed() const { return !FPieces && (*FElements)[FIndex].unclosed; }
    StringView Front() const {
        size_t begin = FPieces ? (*FPieces)[FIndex].begin : (*FElements)[FIndex].begin + FOffset;
        size_t end = FPieces ? (*FPieces)[FIndex].end : (*FElements)[FIndex].end;
        return StringView(FText).substr(begin, end - begin);
    }
    // Characters left, from the front on: what tells a closing tag "</x" from a short one. Only
    // whether more than the front follows matters, so that is counted as one character.
    size_t RemainingLength() const {
        size_t count = FPieces ? FPieces->size() : FElements->size();
        return Front().size() + (FIndex + 1 < count ? 1 : 0);
    }
    // Takes count characters of the front text (all of a tag); record adds them to the consumed pieces.
    void Take(size_t count, std::vector<TPiece>* record) {
        StringView front = Front();
        count = std::min(count, front.size());
        if (record)
            record->push_back({size_t(front.data() - FText.data()),
                               size_t(front.data() - FText.data()) + count, FrontIsTag()});
        if (count >= front.size()) {
            ++FIndex;
            FOffset = 0;
        } else if (!FPieces) {
            FOffset += count;
        } else {
            // A second pass never splits a piece; a cut piece ends the line.
            ++FIndex;
        }
    }
    void DropAll() { FIndex = FPieces ? FPieces->size() : FElements->size(); }
    std::pair<size_t, size_t> Position() const { return {FIndex, FOffset}; }

private:
    const String& FText;
    const std::vector<TElement>* FElements = nullptr;
    const std::vector<TPiece>* FPieces = nullptr;
    size_t FIndex = 0;
    size_t FOffset = 0;
};

// ---- Layout records for the dump ----

struct TDumpBox {
    String kind;
    String text;
    Integer x;
    Integer width;
    Integer height;
};
struct TDumpLine {
    TRect rect;
    std::vector<TDumpBox> boxes;
};

// ---- The renderer ----

class TRenderer {
public:
    TRenderer(THTMLHost& host, const String& text, const THTMLRenderParams& params, THTMLRenderResult& result,
              std::vector<TDumpLine>* dump)
        : FHost(host), FP(params), FR(result), FDump(dump) {
        FText = Preprocess(text);
        FElements = SplitElements(FText);
    }
    void Run();

private:
    struct TLine {
        TRect rect; // the line rectangle of the pass
        Integer width = 0;
        Integer height = 0;
        Integer supRoom = 0;
        Integer subRoom = 0;
        Integer textRaise = 0;
        Integer trailing = 0;
        Integer gh = 0; // height of "gh" at the start of the line
        bool listItemSeen = false;
        bool done = false;
        bool full = false;
        String plain;
    };

    void Pass(TSource& source, bool first, bool measuring, const TRect& lineRect);
    void HandleRun(TSource& source, bool first, bool measuring);
    void PaintRun(const String& run, Integer& width);
    void HandleTag(StringView tag, size_t remaining, bool first, bool measuring);
    void AnchorOpen(StringView tag, bool measuring);
    void AnchorClose(bool measuring);
    void FontOpen(StringView tag, bool measuring);
    void ParagraphOpen(StringView tag, bool measuring);
    void ListItem(bool measuring);
    void Picture(StringView tag, bool measuring);
    void Body(StringView tag);
    void Control(StringView tag, bool measuring);
    bool Fits(Integer width) const;
    TColor MarkupColor(const String& value) const;
    Integer DeviceSize(Integer size) const { return MulDiv(size, FHost.PixelsPerInch(), 96); }
    bool HoverStyled() const { return !FP.hoverOnly || FP.hoverIndex == FR.anchorCount; }
    void SetBrush(TColor color) { FBrush = color; }
    void AddBox(const String& kind, const String& text, Integer x, Integer width, Integer height) {
        if (FDumpLine)
            FDumpLine->boxes.push_back({kind, text, x, width, height});
    }

    THTMLHost& FHost;
    const THTMLRenderParams& FP;
    THTMLRenderResult& FR;
    std::vector<TDumpLine>* FDump;
    TDumpLine* FDumpLine = nullptr;

    String FText;
    std::vector<TElement> FElements;
    std::vector<TPiece> FConsumed;

    UINT FFormat = 0;
    bool FRtl = false;
    bool FThemed = false;
    THTMLFont FBase;
    THTMLFont FFont;
    TColor FBrush = clNone;
    TLine FLine;
    Integer FX = 0;     // current x of the pass
    Integer FRight = 0; // right edge of the working rectangle
    bool FPictureHit = false;
    bool FAnchorHit = false;
    bool FFirstPass = true;

    bool FInAnchor = false;
    String FHref;
    String FTitle;
    TPoint FAnchorStart;
    Integer FAnchorLine = -1;
    Integer FLineIndex = 0;
    bool FHoverPending = false;
    Integer FListLevel = 0;
    Integer FPictureCounter = 0;
    Integer FHoveredPicture = -1;
    bool FShadow = false;
    bool FSubscript = false;
    bool FSuperscript = false;
    bool FHidden = false;
    bool FErrorMark = false;
    bool FParagraphBackground = false;
    TColor FParagraphSavedBrush = clNone;
    TColor FFontSavedBrush = clNone;
    TColor FHighlightSavedFont = clNone;
    TColor FHighlightSavedBrush = clNone;
    TColor FHoverSavedBrush = clNone;
    TColor FHoverSavedFont = clNone;
    Integer FAlignment = 0;
    Integer FIndent = 0;
    std::optional<THTMLFont> FRotationSaved;
    bool FFocusOpen = false;
    TRect FFocusRect;
    Integer FLastWidth = 0; // width and height of the last picture or control of the line
    Integer FLastHeight = 0;
};

// Way 1 of reading an attribute: name found in the upper-cased body, value between the next two
// double quotes; the value is cut from body (pass the upper-cased body for an upper-case value).
bool QuotedAttribute(StringView body, StringView upperBody, StringView name, String& value) {
    size_t at = upperBody.find(name);
    if (at == StringView::npos)
        return false;
    size_t q1 = upperBody.find(u'"', at + name.size());
    size_t q2 = q1 == StringView::npos ? q1 : upperBody.find(u'"', q1 + 1);
    value = q2 == StringView::npos ? String() : String(body.substr(q1 + 1, q2 - q1 - 1));
    return true;
}

// The body of a tag after its first skip characters, without the closing ">".
StringView TagBody(StringView tag, size_t skip) {
    if (!tag.empty() && tag.back() == u'>')
        tag.remove_suffix(1);
    return skip >= tag.size() ? StringView() : tag.substr(skip);
}

// Way 3: the first quoted value after the first occurrence of letter behind the family letter.
String FirstQuotedAfter(StringView tag, Char letter) {
    for (size_t i = 2; i < tag.size(); ++i) {
        if (UpAscii(tag[i]) == UpAscii(letter)) {
            size_t q1 = tag.find(u'"', i);
            size_t q2 = q1 == StringView::npos ? q1 : tag.find(u'"', q1 + 1);
            return q2 == StringView::npos ? String() : String(tag.substr(q1 + 1, q2 - q1 - 1));
        }
    }
    return String();
}

// "#RRGGBB" as the markup writes it; missing or bad digits count as 0.
TColor HashColor(StringView value) {
    auto pair = [&](size_t at) -> Integer {
        if (at + 1 >= value.size())
            return 0;
        Char high = UpAscii(value[at]);
        Char low = UpAscii(value[at + 1]);
        auto ok = [](Char c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); };
        return ok(high) && ok(low) ? HexPairUnchecked(high, low) : 0;
    };
    return TColor(pair(1) + 256 * pair(3) + 65536 * pair(5));
}

TColor TRenderer::MarkupColor(const String& value) const {
    if (!value.empty() && value[0] == u'#')
        return HashColor(value);
    return ParseHTMLColor(LowerASCII(value));
}

bool TRenderer::Fits(Integer width) const {
    if (!FFirstPass)
        return true;
    Integer lineWidth = FLine.rect.Right - FLine.rect.Left;
    return !(FLine.width + width > lineWidth && width < lineWidth);
}

// ---- Runs ----

void TRenderer::HandleRun(TSource& source, bool first, bool measuring) {
    StringView stretch = source.Front();
    size_t length = stretch.size();
    if (FP.wordWrap) {
        size_t space = stretch.find(u' ');
        if (space != StringView::npos)
            length = space + 1;
    }
    StringView runSource = stretch.substr(0, length);
    String run = DecodeRun(runSource);

    Integer h = FHost.TextHeight(FFont, run);
    if (FSubscript)
        FLine.subRoom = std::max(FLine.subRoom, h / 4);
    if (FSuperscript)
        FLine.supRoom = std::max(FLine.supRoom, h / 4);
    FLine.height = std::max(FLine.height, h);
    if (first)
        FR.plainText += run;
    if (FHidden) {
        // Hidden text counts in the height and the plain text, but is neither drawn nor consumed.
        source.Take(length, nullptr);
        return;
    }

    Integer w = 0;
    Integer before = FLine.width;
    if (measuring) {
        TRect rect = FLine.rect;
        FHost.DrawText(FFont, run, rect, FFormat | DT_CALCRECT, clNone);
        w = rect.Right - rect.Left;
        FLine.width += w;
        AddBox(u"text", run, FLine.rect.Left + before, w, h);
        if (FInAnchor) {
            Integer x = FP.pointX - FLine.rect.Left;
            Integer z = FRtl ? (FLine.rect.Right - FP.pointX) - FLine.rect.Left : x;
            if (x >= before && FLine.width >= z) {
                FAnchorHit = true;
                if (FLine.rect.Top < FP.pointY) {
                    FR.anchorValue = FHref;
                    FR.anchorTitle = FTitle;
                    FHoverPending = true;
                }
            }
        }
    } else {
        PaintRun(run, w);
    }

    // The second pass takes every run the measuring pass gave it: its rectangle may be narrower
    // (aligned lines) and it counts trailing spaces, so testing the fit again would drop runs from
    // painting and hit testing.
    Integer lineWidth = FLine.rect.Right - FLine.rect.Left;
    bool fits = !first || FLine.width < lineWidth || w >= lineWidth;
    bool accepted = fits || (!FLine.plain.empty() && FLine.plain.back() != u' ');
    if (accepted || !FP.wordWrap) {
        bool heldText = !FLine.plain.empty();
        FLine.plain += run;
        source.Take(length, first ? &FConsumed : nullptr);
        if (measuring && !fits && heldText && !FP.wordWrap) {
            // Without word wrap the line ends with this run, drawn with an end ellipsis.
            source.DropAll();
        }
        FLine.trailing = run.size() >= length && run[length - 1] == u' '
                             ? [&] {
                                   TRect rect = FLine.rect;
                                   FHost.DrawText(FFont, u" ", rect, FFormat | DT_CALCRECT, clNone);
                                   return Integer(rect.Right - rect.Left);
                               }()
                             : 0;
    } else {
        FLine.done = true;
        FLine.width -= w;
        if (FDumpLine && measuring && !FDumpLine->boxes.empty())
            FDumpLine->boxes.pop_back();
    }
}

void TRenderer::PaintRun(const String& run, Integer& width) {
    Integer bottom = FLine.rect.Bottom;
    if (FSuperscript)
        bottom -= FLine.supRoom;
    if (FSubscript)
        bottom += FLine.subRoom;
    bottom -= FLine.textRaise;
    TRect rect(FX, FLine.rect.Top, FRtl ? FRight : FLine.rect.Right, bottom);
    if (FShadow) {
        TRect shadow(rect.Left + FP.shadowOffset, rect.Top + FP.shadowOffset, rect.Right + FP.shadowOffset,
                     rect.Bottom + FP.shadowOffset);
        THTMLFont font = FFont;
        font.color = FP.shadowColor;
        FHost.DrawText(font, run, shadow, FFormat, clNone);
    }
    TRect drawRect = rect;
    // Blinking text in its off phase takes the entry brush colour; with a clear brush it is not drawn.
    if (FFont.color != clNone)
        FHost.DrawText(FFont, run, drawRect, FFormat, FBrush);
    TRect calc = rect;
    FHost.DrawText(FFont, run, calc, FFormat | DT_CALCRECT, clNone);
    width = calc.Right - calc.Left;
    if (FInAnchor && FR.anchorCount - 1 == FP.focusIndex)
        FR.focusAnchor = FHref;
    if (FErrorMark) {
        // A zigzag of period 4 and height 2 along the line bottom.
        Integer x = (calc.Left / 2) * 2;
        Integer phase = x % 4 == 0 ? 2 : 0;
        Integer base = FLine.rect.Bottom - 1;
        std::vector<TPoint> points{TPoint(x, base + phase)};
        Integer right = std::min<Integer>(calc.Right, x + 4 * kMaxSize);
        while (x < right) {
            phase = phase == 0 ? 2 : 0;
            x += 2;
            points.emplace_back(x, base + phase);
        }
        FHost.Polyline(points, clRed, 1);
    }
    if (FRtl)
        FRight -= width;
    else
        FX = calc.Right;
}

// ---- Tags ----

void TRenderer::HandleTag(StringView tag, size_t remaining, bool first, bool measuring) {
    auto at = [&](size_t i) -> Char { return i < tag.size() ? UpAscii(tag[i]) : Char(0); };
    bool closing = at(1) == u'/' && remaining > 3;
    Char letter = closing ? at(2) : at(1);
    Char next = closing ? at(3) : at(2);
    bool painting = !measuring;

    switch (letter) {
    case u'B':
        if (closing) {
            if (next == u'>')
                FFont.style.Exclude(fsBold);
            else
                FFont.color = FBase.color;
        } else if (next == u'>') {
            FFont.style.Include(fsBold);
        } else if (next == u'R') {
            FLine.done = true;
            if (first)
                FR.plainText += u'\r';
        } else if (next == u'L') {
            if (!FP.blinkVisible)
                FFont.color = FP.brushColor;
        } else if (next == u'O' && painting) {
            Body(tag);
        }
        break;
    case u'I':
        if (closing) {
            FFont.style.Exclude(fsItalic);
        } else if (next == u'>') {
            FFont.style.Include(fsItalic);
        } else if (next == u'N') {
            Integer value;
            if (IsCleanNumber(FirstQuotedAfter(tag, u'x'), value) && value > FLine.width) {
                value = std::min(value, kMaxSize);
                FLine.width = value;
                FX = FP.bounds.Left + value;
            }
        } else if (next == u'M') {
            Picture(tag, measuring);
        }
        break;
    case u'U':
        if (closing) {
            if (next == u'>' || FListLevel == 0)
                FFont.style.Exclude(fsUnderline);
            else
                --FListLevel;
        } else if (next == u'>') {
            FFont.style.Include(fsUnderline);
        } else {
            FListLevel = std::min(FListLevel + 1, 1000);
            FLine.done = true;
        }
        break;
    case u'S':
        if (closing) {
            if (next == u'U') {
                FSubscript = false;
                FSuperscript = false;
            } else if (next == u'H') {
                FShadow = false;
            } else {
                FFont.style.Exclude(fsStrikeOut);
            }
        } else if (UpperAscii(tag.substr(0, 5)) == u"<SUB>") {
            FSubscript = true;
        } else if (UpperAscii(tag.substr(0, 5)) == u"<SUP>") {
            FSuperscript = true;
        } else if (next == u'>') {
            FFont.style.Include(fsStrikeOut);
        } else if (next == u'H') {
            FShadow = true;
        }
        break;
    case u'A':
        if (closing)
            AnchorClose(measuring);
        else
            AnchorOpen(tag, measuring);
        break;
    case u'C':
        if (!closing)
            Control(tag, measuring);
        break;
    case u'E':
        if (painting)
            FErrorMark = !closing;
        break;
    case u'F':
        if (closing) {
            FFont.name = FBase.name;
            FFont.size = FBase.size;
            if (painting && !FP.selected) {
                FFont.color = FBase.color;
                SetBrush(FFontSavedBrush);
            }
        } else {
            FontOpen(tag, measuring);
        }
        break;
    case u'H':
        if (closing) {
            if (painting) {
                FFont.color = FHighlightSavedFont;
                SetBrush(FHighlightSavedBrush);
            }
        } else if (next == u'I') {
            if (painting) {
                FHighlightSavedFont = FFont.color;
                FHighlightSavedBrush = FBrush;
                SetBrush(gHighlightBackground);
                FFont.color = gHighlightText;
            }
        } else if (next == u'R') {
            FLine.done = true;
            if (painting) {
                Integer y = FLine.rect.Bottom + 1;
                FHost.Polyline({TPoint(FLine.rect.Left, y), TPoint(FLine.rect.Right, y)}, clBlack,
                               FP.penWidth);
            }
        }
        break;
    case u'L':
        if (closing)
            FLine.done = true;
        else
            ListItem(measuring);
        break;
    case u'P':
        if (closing) {
            FLine.done = true;
            if (painting) {
                SetBrush(FParagraphSavedBrush);
                FParagraphBackground = false;
            }
        } else {
            ParagraphOpen(tag, measuring);
        }
        break;
    case u'R':
        if (closing) {
            if (FRotationSaved) {
                FFont = *FRotationSaved;
                FRotationSaved.reset();
            }
        } else {
            Integer angle = StrToIntLoose(FirstQuotedAfter(tag, u'a')) % 3600;
            FRotationSaved = FFont;
            FFont.orientation = 10 * angle;
        }
        break;
    case u'Z':
        FHidden = !closing;
        break;
    default:
        break;
    }
}

void TRenderer::AnchorOpen(StringView tag, bool measuring) {
    bool painting = !measuring;
    if (painting && FP.focusIndex == FR.anchorCount) {
        FFocusOpen = true;
        FFocusRect = TRect(FX, FLine.rect.Top, FX, FLine.rect.Top);
    }
    ++FR.anchorCount;
    if (painting && HoverStyled()) {
        FFont.style.Include(fsUnderline);
        if (FP.hoverBrushColor != clNone) {
            FHoverSavedBrush = FBrush;
            SetBrush(FP.hoverBrushColor);
        }
        if (FP.hoverFontColor != clNone) {
            FHoverSavedFont = FFont.color;
            FFont.color = FP.hoverFontColor;
        }
    }
    if (!FP.selected && (FP.hoverFontColor == clNone || FP.hoverIndex != FR.anchorCount || !FP.hoverOnly))
        FFont.color = FP.anchorColor;
    StringView body = TagBody(tag, 2);
    String upper = UpperAscii(body);
    String value;
    if (QuotedAttribute(body, upper, u"HREF", value)) {
        FHref = value;
        FInAnchor = true;
    }
    if (QuotedAttribute(body, upper, u"TITLE", value))
        FTitle = value;
    else
        FTitle.clear();
    FAnchorStart = TPoint(FLine.rect.Left + FLine.width, FLine.rect.Top);
    FAnchorLine = FLineIndex;
}

void TRenderer::AnchorClose(bool measuring) {
    bool painting = !measuring;
    if (painting && HoverStyled()) {
        FFont.style.Exclude(fsUnderline);
        if (FP.hoverBrushColor != clNone)
            SetBrush(FHoverSavedBrush);
        if (FP.hoverFontColor != clNone)
            FFont.color = FHoverSavedFont;
    }
    if (!FP.selected)
        FFont.color = FBase.color;
    FInAnchor = false;
    if (FHoverPending) {
        bool sameLine = FAnchorLine == FLineIndex;
        FR.hoverRect =
            TRect(sameLine ? FAnchorStart.X : FLine.rect.Left, sameLine ? FAnchorStart.Y : FLine.rect.Top,
                  FLine.rect.Left + FLine.width, FLine.rect.Bottom);
        FR.mouseAnchor = FR.anchorCount;
        FHoverPending = false;
    }
    if (painting && FFocusOpen && FR.anchorCount == FP.focusIndex + 1) {
        FFocusOpen = false;
        FFocusRect.Right = FX + 1;
        FFocusRect.Bottom = FLine.rect.Bottom - FLine.textRaise;
        FFocusRect.Top = FFocusRect.Bottom - FLine.gh;
        FFocusRect.Left -= 1;
        FHost.DrawFocusRect(FFocusRect);
    }
}

void TRenderer::FontOpen(StringView tag, bool measuring) {
    StringView body = TagBody(tag, 5);
    String upper = UpperAscii(body);
    String value;
    if (QuotedAttribute(upper, upper, u"FACE", value))
        FFont.name = value;
    if (!FP.selected && QuotedAttribute(upper, upper, u" COLOR", value) && !value.empty())
        FFont.color = MarkupColor(value);
    if (!measuring && !FP.selected && QuotedAttribute(upper, upper, u"BGCOLOR", value)) {
        FFontSavedBrush = FBrush;
        if (!value.empty())
            SetBrush(MarkupColor(value));
    }
    size_t size = upper.find(u"SIZE");
    if (size != String::npos) {
        size_t equals = upper.find(u'=', size);
        if (equals != String::npos) {
            size_t quote = upper.find(u'"', equals);
            size_t from = quote == String::npos ? equals + 1 : quote + 1;
            Integer n = 0;
            for (size_t i = from; i < upper.size() && upper[i] >= u'0' && upper[i] <= u'9'; ++i)
                n = std::min(n * 10 + (upper[i] - u'0'), 1000);
            static const Integer kSizes[] = {8, 10, 12, 14, 16};
            FFont.size = n >= 1 && n <= 5 ? kSizes[n - 1] : n;
        }
    }
}

void TRenderer::ParagraphOpen(StringView tag, bool measuring) {
    StringView body = TagBody(tag, 2);
    String upper = UpperAscii(body);
    String value;
    if (QuotedAttribute(upper, upper, u"ALIGN", value)) {
        if (value.find(u"RIGHT") != String::npos)
            FAlignment = 1;
        if (value.find(u"LEFT") != String::npos)
            FAlignment = 0;
        if (value.find(u"CENTER") != String::npos)
            FAlignment = 2;
    }
    if (QuotedAttribute(upper, upper, u"INDENT", value))
        FIndent = std::clamp(StrToIntLoose(value), -kMaxSize, kMaxSize);
    if (QuotedAttribute(upper, upper, u"BGCOLOR", value) && !measuring) {
        TColor color = value.empty() ? clNone : MarkupColor(value);
        FParagraphBackground = true;
        FParagraphSavedBrush = FBrush;
        SetBrush(color);
        if (color != clNone)
            FHost.FillRect(TRect(FP.bounds.Left, FLine.rect.Top, FP.bounds.Right, FLine.rect.Bottom), color);
    }
}

void TRenderer::ListItem(bool measuring) {
    // A second item waits for the next line before it takes any width, so that this line's width
    // (and TextWidth) does not count the indent of an item it does not hold.
    if (FLine.listItemSeen) {
        FLine.full = true;
        return;
    }
    FLine.width += 12 * FListLevel;
    FLine.listItemSeen = true;
    FX += 12 * FListLevel - 12;
    if (!measuring) {
        THTMLFont symbol = FFont;
        symbol.name = u"Symbol";
        TRect rect(FX, FLine.rect.Top, FLine.rect.Right, FLine.rect.Bottom);
        FHost.DrawText(symbol, FListLevel % 2 == 1 ? u"\u00B7" : u"o", rect, 0, FBrush);
    }
    FX += 12;
}

void TRenderer::Body(StringView tag) {
    StringView body = TagBody(tag, 5);
    String upper = UpperAscii(body);
    String value;
    if (QuotedAttribute(body, upper, u"BACKGROUND", value)) {
        // The background tiles pictures, never a system icon (those are single pictures of the IMG tag).
        bool shellIcon = PosText(u"SSYS:", value) == 1 || PosText(u"LSYS:", value) == 1;
        TSize size;
        if (!value.empty() && !shellIcon && FHost.PictureSize(value, size) && size.cx > 0 && size.cy > 0) {
            Integer w = DeviceSize(size.cx);
            Integer h = DeviceSize(size.cy);
            FHost.PushClip(FP.bounds);
            for (Integer y = FP.bounds.Top; y < FP.bounds.Bottom && h > 0; y += h)
                for (Integer x = FP.bounds.Left; x < FP.bounds.Right && w > 0; x += w)
                    FHost.DrawPicture(value, TRect(x, y, x + w, y + h), false);
            FHost.PopClip();
        }
    }
    if (QuotedAttribute(upper, upper, u"BGCOLOR", value)) {
        TColor color = 0;
        if (value.find(u"CL") != String::npos)
            color = ParseHTMLColor(LowerASCII(value));
        if (value.find(u'#') != String::npos)
            color = HashColor(value);
        SetBrush(color);
        FFontSavedBrush = color;
        FHost.FillRect(FP.bounds, color);
    }
}

void TRenderer::Picture(StringView tag, bool measuring) {
    StringView body = TagBody(tag, 2);
    String upper = UpperAscii(body);
    ++FPictureCounter;
    String source;
    QuotedAttribute(body, upper, u"SRC", source);
    String alt;
    // Only painting swaps in the hover picture; layout and hit testing keep to SRC, so that a missing
    // ALT picture cannot make the picture under the point vanish from the hit test.
    if (!measuring && QuotedAttribute(body, upper, u"ALT", alt) && FHoveredPicture == FPictureCounter)
        source = alt;
    String value;
    Integer requestedWidth =
        QuotedAttribute(upper, upper, u"WIDTH", value) ? ClampSize(StrToIntLoose(value)) : 0;
    Integer requestedHeight =
        QuotedAttribute(upper, upper, u"HEIGHT", value) ? ClampSize(StrToIntLoose(value)) : 0;

    TSize size;
    if (source.empty() || !FHost.PictureSize(source, size) || size.cx <= 0 || size.cy <= 0)
        return;
    size.cx = ClampSize(size.cx);
    size.cy = ClampSize(size.cy);
    Integer w = size.cx;
    Integer h = size.cy;
    bool sized = requestedWidth > 0 || requestedHeight > 0;
    if (requestedWidth > 0 && requestedHeight > 0) {
        w = requestedWidth;
        h = requestedHeight;
    } else if (requestedWidth > 0) {
        w = requestedWidth;
        h = ClampSize(std::llround(double(size.cy) * requestedWidth / size.cx));
    } else if (requestedHeight > 0) {
        w = ClampSize(std::llround(double(size.cx) * requestedHeight / size.cy));
        h = requestedHeight;
    }
    Integer layoutWidth = ClampSize(DeviceSize(w));
    Integer layoutHeight = ClampSize(DeviceSize(h));
    if (!measuring) {
        TRect rect(FX, FLine.rect.Top, FX + layoutWidth, FLine.rect.Top + layoutHeight);
        // List pictures (image list and system icons) are enlarged by the scale when printed.
        bool listPicture =
            PosText(u"IDX:", source) == 1 || PosText(u"SSYS:", source) == 1 || PosText(u"LSYS:", source) == 1;
        if (!sized && FP.printing && listPicture)
            rect = TRect(FX, FLine.rect.Top, FX + ClampSize(std::llround(layoutWidth * FP.scale)),
                         FLine.rect.Top + ClampSize(std::llround(layoutHeight * FP.scale)));
        FHost.DrawPicture(source, rect, sized || rect.Width() != layoutWidth);
    }
    AddBox(u"picture", source, FLine.rect.Left + FLine.width, layoutWidth, layoutHeight);
    if (FInAnchor) {
        Integer x = FP.pointX - FLine.rect.Left;
        Integer y = FP.pointY;
        if (x > FLine.width && x < FLine.width + layoutWidth && y > FLine.rect.Top &&
            y < FLine.rect.Top + layoutHeight) {
            FPictureHit = true;
            FR.anchorValue = FHref;
            FR.anchorTitle = FTitle;
            FHoveredPicture = FPictureCounter;
        }
    }
    if (!Fits(layoutWidth)) {
        FLine.full = true;
        if (FDumpLine)
            FDumpLine->boxes.pop_back();
        return;
    }
    FLine.width += layoutWidth;
    FX += layoutWidth;
    FLine.height = std::max(FLine.height, layoutHeight);
    if (upper.find(u"ALIGN") != String::npos) {
        if (upper.find(u"\"TOP") != String::npos)
            FLine.textRaise = FLine.height - FLine.gh;
        else if (upper.find(u"\"MIDDLE") != String::npos)
            FLine.textRaise = Integer(unsigned(FLine.height - FLine.gh) / 2);
    }
}

void TRenderer::Control(StringView tag, bool measuring) {
    THTMLControlTag control = ParseControlTag(TagBody(tag, 8));
    Integer height = 25;
    Integer number;
    if (IsCleanNumber(control.height, number))
        height = ClampSize(number);
    if (control.width.empty())
        return;
    if (IsCleanNumber(control.width, number)) {
        FLastWidth = ClampSize(number);
        FLastHeight = FLine.gh + 10;
    }
    Integer w = FLastWidth;
    const String& type = control.type;
    bool checkLike = type == u"CHECK" || type == u"RADIO";
    FLine.height = height > 25 ? height - 2 : checkLike ? 16 : 23;
    Integer n = ClampSize(std::llround(16 * FP.scale));

    if (!measuring) {
        Integer x = FX;
        Integer b = FLine.rect.Bottom;
        TColor frame = FThemed ? TColor(0x00B99D7F) : TColor(0x00808080);
        const UINT textFormat = DT_SINGLELINE | DT_VCENTER;
        bool checked = UpperAscii(control.value) == u"TRUE";
        bool pressed = FP.controlPressed && FP.pressedControlID == control.id;
        auto hot = [&](Integer layoutHeight) {
            return FP.pointX > x - 2 && FP.pointX < x + w - 2 && FP.pointY > b - layoutHeight - 2 &&
                   FP.pointY < b - 2;
        };
        if (type == u"EDIT" || type == u"PASSWORD" || type == u"MASK" || type == u"COMBO") {
            FHost.Rectangle(TRect(x, b - FLine.height + 4, x + w, b + 2), frame, clWhite);
            SetBrush(clNone);
            bool combo = type == u"COMBO";
            TRect area(x + (combo ? 4 : 2), b - FLine.height + 4, x + w - (combo ? 18 : 0), b);
            FHost.DrawText(FFont, type == u"PASSWORD" ? PasswordMask(control.value) : control.value, area,
                           textFormat, clNone);
            if (combo) {
                TRect button(x + w - 18, b - FLine.height + 5, x + w - 1, b + 1);
                if (FThemed)
                    FHost.DrawThemedPart(u"combobox", 1, hot(FLastHeight) ? 2 : 1, button);
                else
                    FHost.DrawFrameControl(button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
            }
        } else if (checkLike) {
            bool check = type == u"CHECK";
            TRect box = check ? TRect(x + 2, b - n + 1, x + n - 1, b) : TRect(x + 2, b - 14, x + 14, b);
            if (FThemed)
                FHost.DrawThemedPart(u"button", check ? 3 : 2, checked ? 5 : 1, box);
            else
                FHost.DrawFrameControl(box, DFC_BUTTON,
                                       (check ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO) | DFCS_FLAT |
                                           (checked ? DFCS_CHECKED : 0));
        } else if (type == u"BUTTON") {
            bool isHot = hot(24);
            TRect rect(x + 2, b - height, x + w - 2, b);
            if (FThemed)
                FHost.DrawThemedPart(u"button", 1, pressed ? 3 : isHot ? 2 : 1, rect);
            else
                FHost.DrawFrameControl(rect, DFC_BUTTON,
                                       DFCS_BUTTONPUSH | (isHot && pressed ? DFCS_PUSHED : 0));
            TRect caption(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
            FHost.DrawText(FFont, control.value, caption, textFormat | DT_CENTER, clNone);
        }
    }
    if (type == u"BUTTON" || type == u"COMBO")
        FLastHeight = 25;
    if (checkLike) {
        FLastWidth = n;
        FLastHeight = 16;
    }
    w = FLastWidth;
    Integer layoutHeight = FLastHeight;
    AddBox(u"control " + type, control.id, FLine.rect.Left + FLine.width, w, layoutHeight);

    Integer px = FP.pointX - FLine.rect.Left;
    bool hit = px > FLine.width && px < FLine.width + w && FP.pointY > FLine.rect.Top &&
               FP.pointY < FLine.rect.Top + layoutHeight;
    if (hit || (FP.hitTestOnly && !FR.controlID.empty() && control.id == FR.controlID)) {
        FPictureHit = true;
        FR.anchorValue = u"ctrl";
        Integer left = FLine.rect.Left + FLine.width;
        FR.controlRect = TRect(left, FLine.rect.Top, left + w, FLine.rect.Top + layoutHeight);
        FR.controlValue = control.value;
        FR.controlID = control.id;
        FR.controlType = type;
    }
    if (!Fits(w)) {
        FLine.full = true;
        if (FDumpLine)
            FDumpLine->boxes.pop_back();
        return;
    }
    FLine.width += w;
    FX += w;
    FLine.height = std::max(FLine.height, layoutHeight);
}

// ---- Passes and the line loop ----

void TRenderer::Pass(TSource& source, bool first, bool measuring, const TRect& lineRect) {
    FLine.rect = lineRect;
    FLine.rect.Bottom -= FLine.subRoom;
    FLine.width = 0;
    FLine.trailing = 0;
    FLine.done = false;
    FLine.full = false;
    FLine.listItemSeen = false;
    FLine.plain.clear();
    FPictureHit = false;
    FAnchorHit = false;
    FFirstPass = first;
    FX = FLine.rect.Left;
    FRight = FLine.rect.Right;
    if (!measuring && FParagraphBackground && FBrush != clNone)
        FHost.FillRect(TRect(FP.bounds.Left, FLine.rect.Top, FP.bounds.Right, FLine.rect.Top + FLine.height),
                       FBrush);

    while (!source.AtEnd() && !FLine.done && !FLine.full) {
        if (!source.FrontIsTag()) {
            HandleRun(source, first, measuring);
            continue;
        }
        StringView tag = source.Front();
        bool unclosed = source.FrontUnclosed();
        HandleTag(tag, source.RemainingLength(), first, measuring);
        if (FLine.full)
            break;
        if (unclosed)
            source.DropAll();
        else
            source.Take(tag.size(), first ? &FConsumed : nullptr);
    }

    FLine.width -= FLine.trailing;
    FR.textWidth = std::max(FR.textWidth, FLine.width);
    if (!measuring && FFocusOpen && FInAnchor && FR.anchorCount == FP.focusIndex + 1) {
        TRect rect = FFocusRect;
        rect.Right = FX + 1;
        rect.Bottom = FLine.rect.Bottom;
        rect.Left -= 1;
        FHost.DrawFocusRect(rect);
        FFocusRect = TRect(FLine.rect.Left + 1, FLine.rect.Bottom, FLine.rect.Left + 1, FLine.rect.Bottom);
    }
}

void TRenderer::Run() {
    FR.controlRect = TRect(0, 0, 0, 0);
    FR.controlType.clear();
    FR.controlValue.clear();
    if (!FP.hitTestOnly)
        FR.controlID.clear();
    FR.textWidth = 0;
    FR.textHeight = 0;
    FR.anchorCount = 0;
    FR.plainText.clear();
    FR.focusAnchor.clear();
    FR.anchorTitle.clear();
    FR.mouseAnchor = -1;
    FR.hit = false;

    FBase = FP.font;
    FThemed = FHost.Themed();
    FFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    if (FHost.RightToLeftLocale()) {
        if (FP.biDiMode == bdRightToLeft)
            FFormat |= DT_RIGHT;
        if (FP.biDiMode != bdLeftToRight)
            FFormat |= DT_RTLREADING;
    }
    if (!FP.wordWrap)
        FFormat |= DT_END_ELLIPSIS;
    FRtl = (FFormat & DT_RTLREADING) != 0;

    THTMLFont measureFont = FBase;
    THTMLFont paintFont = FBase;
    Integer top = FP.bounds.Top;
    TSource source(FText, FElements);
    while (!source.AtEnd()) {
        FFont = measureFont;
        FLine.textRaise = 0;
        FLine.supRoom = 0;
        FLine.subRoom = 0;
        FLine.gh = FHost.TextHeight(FFont, u"gh");
        FLine.height = FLine.gh;
        Integer minimum = FLine.gh;
        bool inAnchor = FInAnchor;
        String href = FHref;
        String title = FTitle;
        Integer anchorCount = FR.anchorCount;
        Integer listLevel = FListLevel;
        Integer pictureCounter = FPictureCounter;

        FConsumed.clear();
        auto before = source.Position();
        TRect lineRect(FP.bounds.Left + 1, top, FP.bounds.Right, FP.bounds.Bottom);
        Pass(source, true, true, lineRect);
        measureFont = FFont;
        if (source.Position() == before) {
            // Nothing was taken (an element that never fits): take it anyway, so that every line
            // moves the text on and no markup can hold the loop.
            StringView front = source.Front();
            source.Take(front.size(), &FConsumed);
        }
        FInAnchor = inAnchor;
        FHref = href;
        FTitle = title;

        TRect placed = lineRect;
        if (FAlignment == 1) {
            if (placed.Right - FLine.width > placed.Left)
                placed.Left = placed.Right - FLine.width;
        } else if (FAlignment == 2) {
            Integer room = placed.Right - placed.Left - FLine.width;
            if (room > 0)
                placed.Left += room / 2;
        }
        placed.Left += FIndent;
        placed.Bottom = top + FLine.height + FLine.subRoom + FLine.supRoom;

        if (!FP.measureOnly) {
            FFont = paintFont;
            FR.anchorCount = anchorCount;
            FListLevel = listLevel;
            FPictureCounter = pictureCounter;
            if (FDump) {
                FDump->push_back({placed, {}});
                FDumpLine = &FDump->back();
            }
            TSource pieces(FText, FConsumed);
            Pass(pieces, false, FP.hitTestOnly, placed);
            FDumpLine = nullptr;
            paintFont = FFont;
            Integer bottom = FLine.rect.Bottom + FLine.subRoom;
            if (FAnchorHit && FP.pointY > bottom - FLine.textRaise - FLine.gh &&
                FP.pointY < bottom - FLine.textRaise)
                FR.hit = true;
            if (FPictureHit)
                FR.hit = true;
        }
        Integer advance = FLine.height + FLine.subRoom + FLine.supRoom;
        top += advance;
        FR.textHeight += advance;
        ++FLineIndex;
        if (!FP.measureOnly && minimum + top > FP.bounds.Bottom)
            break;
    }
    if (FR.textHeight == 0)
        FR.textHeight = FHost.TextHeight(FBase, u"gh");
}

} // namespace

void RenderMiniHTMLOnHost(THTMLHost& host, const String& text, const THTMLRenderParams& params,
                          THTMLRenderResult& result) {
    THTMLRenderParams checked = params;
    if (!(checked.scale >= 1.0))
        checked.scale = 1.0;
    checked.scale = std::min(checked.scale, 100.0);
    TRenderer(host, text, checked, result, nullptr).Run();
}

String DumpMiniHTMLLayout(THTMLHost& host, const String& text, const THTMLRenderParams& params) {
    THTMLRenderParams checked = params;
    checked.hitTestOnly = true;
    checked.measureOnly = false;
    if (!(checked.scale >= 1.0))
        checked.scale = 1.0;
    THTMLRenderResult result;
    std::vector<TDumpLine> lines;
    TRenderer(host, text, checked, result, &lines).Run();
    String dump;
    auto number = [](Integer value) { return Utf8ToString(std::to_string(value)); };
    for (const TDumpLine& line : lines) {
        dump += u"line (" + number(line.rect.Left) + u"," + number(line.rect.Top) + u")-(" +
                number(line.rect.Right) + u"," + number(line.rect.Bottom) + u")\n";
        for (const TDumpBox& box : line.boxes)
            dump += u"  " + box.kind + u" \"" + box.text + u"\" x=" + number(box.x) + u" w=" +
                    number(box.width) + u" h=" + number(box.height) + u"\n";
    }
    dump += u"size " + number(result.textWidth) + u"x" + number(result.textHeight) + u"\n";
    return dump;
}

void SetHTMLHighlightColors(TColor Background, TColor TextColor) {
    gHighlightBackground = Background;
    gHighlightText = TextColor;
}

TColor ParseHTMLColor(const String& Value) {
    if (!Value.empty() && Value[0] == u'#')
        return HashColor(Value);
    if (!StringView(Value).starts_with(u"cl"))
        return 0;
    struct TNamed {
        StringView name;
        TColor color;
    };
    // Sorted in ordinal order for the binary search.
    static const TNamed kColors[] = {
        {u"3ddkshadow", TColor(0xFF000015)},
        {u"3dlight", TColor(0xFF000016)},
        {u"activeborder", TColor(0xFF00000A)},
        {u"activecaption", TColor(0xFF000002)},
        {u"appworkspace", TColor(0xFF00000C)},
        {u"aqua", 0x00FFFF00},
        {u"background", TColor(0xFF000001)},
        {u"black", 0x00000000},
        {u"blue", 0x00FF0000},
        {u"btnface", TColor(0xFF00000F)},
        {u"btnhighlight", TColor(0xFF000014)},
        {u"btnshadow", TColor(0xFF000010)},
        {u"btntext", TColor(0xFF000012)},
        {u"captiontext", TColor(0xFF000009)},
        {u"fuchsia", 0x00FF00FF},
        {u"gray", 0x00808080},
        {u"graytext", TColor(0xFF000011)},
        {u"green", 0x00008000},
        {u"highlight", TColor(0xFF00000D)},
        {u"highlighttext", TColor(0xFF00000E)},
        {u"inactiveborder", TColor(0xFF00000B)},
        {u"inactivecaption", TColor(0xFF000003)},
        {u"inactivecaptiontext", TColor(0xFF000013)},
        {u"infobk", TColor(0xFF000018)},
        {u"infotext", TColor(0xFF000017)},
        {u"lime", 0x0000FF00},
        {u"maroon", 0x00000080},
        {u"menu", TColor(0xFF000004)},
        {u"menutext", TColor(0xFF000007)},
        {u"navy", 0x00800000},
        {u"olive", 0x00008080},
        {u"purple", 0x00800080},
        {u"red", 0x000000FF},
        {u"silver", 0x00C0C0C0},
        {u"teal", 0x00808000},
        {u"white", 0x00FFFFFF},
        {u"window", TColor(0xFF000005)},
        {u"windowframe", TColor(0xFF000006)},
        {u"windowtext", TColor(0xFF000008)},
        {u"yellow", 0x0000FFFF},
    };
    StringView name = StringView(Value).substr(2);
    auto it = std::lower_bound(std::begin(kColors), std::end(kColors), name,
                               [](const TNamed& entry, StringView key) { return entry.name < key; });
    return it != std::end(kColors) && it->name == name ? it->color : 0;
}
