// The caption renderer: one call lays a caption out line by line, each line in a measuring pass and a
// painting (or hit-testing) pass over the same markup, and answers sizes, plain text and the anchor
// under a point.
//
// Contents: colour values; state and attribute reading; runs; anchors; font, paragraph, body, list,
// picture and rule tags; the tag switch; the line pass; the line loop; the entry point.
#include "render/CaptionHTML.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Convert.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "render/AsgHTMLE.h"
#include "render/PictureContainer.h"

// ---- Colour values ----

namespace {

// Gives the canvas's font the description of font. The renderer switches between the same few fonts
// on every line; assigning one that is already there would make the canvas take its font out of the DC
// and select it again for nothing.
void TakeCanvasFont(TCanvas* canvas, TFont* font) {
    TFont* current = canvas->Font();
    if (current->Name() == font->Name() && current->Height() == font->Height() &&
        current->PixelsPerInch() == font->PixelsPerInch() && current->Style() == font->Style() &&
        current->Color() == font->Color() && current->Charset() == font->Charset() &&
        current->Pitch() == font->Pitch() && current->Orientation() == font->Orientation())
        return;
    current->Assign(font);
}

int HexDigit(Char c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// Two hexadecimal digits at index; a pair that is cut short or holds another character counts as 0.
int HexPairAt(StringView text, size_t index) {
    if (index + 1 >= text.size())
        return 0;
    int high = HexDigit(text[index]), low = HexDigit(text[index + 1]);
    return high < 0 || low < 0 ? 0 : high * 16 + low;
}

TColor HashColor(StringView value) {
    return TColor(HexPairAt(value, 1) | (HexPairAt(value, 3) << 8) | (HexPairAt(value, 5) << 16));
}

// A colour value of a font, paragraph or rule attribute.
TColor MarkupColor(const String& value) {
    if (!value.empty() && value[0] == u'#')
        return HashColor(value);
    return CaptionHTMLColor(LowerCase(value));
}

} // namespace

// ---- The renderer ----

namespace {

constexpr UINT BaseDrawFormat = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS;
// Font sizes beyond this are taken as this: a caption asks for nothing larger, and a huge size in bad
// markup must not make the text system allocate glyphs of that size.
constexpr Integer MaxFontSize = 400;

bool StartsWithText(StringView text, StringView prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        Char a = text[i], b = prefix[i];
        if (a >= u'a' && a <= u'z')
            a = Char(a - 32);
        if (b >= u'a' && b <= u'z')
            b = Char(b - 32);
        if (a != b)
            return false;
    }
    return true;
}

Char UpperAt(StringView text, size_t index) {
    if (index >= text.size())
        return 0;
    Char c = text[index];
    return c >= u'a' && c <= u'z' ? Char(c - 32) : c;
}

// The value between the first two double quotes after name in the upper-cased body; cut from the body
// as written when asWritten is set. Empty when the name or the quotes are missing.
String AttributeValue(StringView body, StringView name, bool asWritten = false) {
    String upper = UpperCase(body);
    size_t at = upper.find(name);
    if (at == String::npos)
        return {};
    size_t open = upper.find(u'"', at + name.size());
    if (open == String::npos)
        return {};
    size_t close = upper.find(u'"', open + 1);
    if (close == String::npos)
        return {};
    return String((asWritten ? body : StringView(upper)).substr(open + 1, close - open - 1));
}

bool HasAttribute(StringView body, StringView name) {
    return UpperCase(body).find(name) != String::npos;
}

// The first quoted value after the first occurrence, in any case, of letter from index on.
String FirstQuotedAfter(StringView tag, size_t from, Char letter) {
    Char lower = letter, upper = UpperAt(StringView(&letter, 1), 0);
    size_t at = String::npos;
    for (size_t i = from; i < tag.size(); ++i)
        if (tag[i] == lower || tag[i] == upper) {
            at = i;
            break;
        }
    if (at == String::npos)
        return {};
    size_t open = tag.find(u'"', at);
    if (open == String::npos)
        return {};
    size_t close = tag.find(u'"', open + 1);
    if (close == String::npos)
        return {};
    return String(tag.substr(open + 1, close - open - 1));
}

bool IsCleanNumber(const String& value) {
    String trimmed = Trim(value);
    if (trimmed.empty())
        return false;
    size_t i = trimmed[0] == u'-' || trimmed[0] == u'+' ? 1 : 0;
    if (i == trimmed.size())
        return false;
    for (; i < trimmed.size(); ++i)
        if (trimmed[i] < u'0' || trimmed[i] > u'9')
            return false;
    return true;
}

String DecodeRun(String run) {
    for (size_t at; (at = run.find(u"&nbsp;")) != String::npos;)
        run.replace(at, 6, u" ");
    return DecodeHTMLEntities(run, true);
}

struct LineMetrics {
    TRect rect;        // the line rectangle of the pass
    Integer width = 0; // x advance from the line's left
    Integer height = 0;
    Integer superRoom = 0;
    Integer subRoom = 0;
    Integer textRaise = 0;
    Integer trailingSpace = 0;
    bool listItemSeen = false;
    bool done = false;
    bool full = false;
    bool pictureHit = false;
    bool anchorHit = false;
};

class CaptionRenderer {
public:
    CaptionRenderer(TCanvas* canvas, TRect bounds) : FCanvas(canvas), FBounds(bounds) {}

    // Arguments.
    TCustomImageList* images = nullptr;
    THTMLPictureCache* pictureCache = nullptr;
    TPictureContainer* pictureContainer = nullptr;
    Integer pointX = -1, pointY = -1, focusIndex = -1, hoverIndex = -1, shadowOffset = 0;
    bool hitTestOnly = false, measureOnly = false, selected = false, blinkVisible = true, hoverOnly = false;
    bool wordWrap = false, printing = false;
    double scale = 1.0;
    TColor anchorColor = clBlue, hoverBrushColor = clNone, hoverFontColor = clNone, shadowColor = clGray;
    Integer lineSpacing = 0;
    // Results.
    String* anchorValue = nullptr;
    String plainText, anchorDetail;
    Integer textWidth = 0, textHeight = 0, anchorCount = 0, mouseAnchor = -1;
    TRect hoverRect;

    bool Run(String text);
    // Keeps measurements in store from now on when the canvas's DC measures text by the font alone.
    void KeepMeasuresIn(CaptionMeasures* store);

private:
    // One pass over the markup of a line; answers the markup it consumed.
    String RenderLine(String& text, LineMetrics& line, bool measuring, bool firstPass);
    void HandleRun(String& text, String& consumed, String& linePlain, LineMetrics& line, bool measuring,
                   bool firstPass);
    void PaintRun(const String& run, LineMetrics& line, Integer& width);
    void HandleTag(const String& text, LineMetrics& line, bool measuring, bool firstPass);
    void OpenAnchor(StringView body, LineMetrics& line, bool painting);
    void CloseAnchor(LineMetrics& line, bool painting);
    void FontTag(StringView body, bool painting);
    void ParagraphTag(StringView body, LineMetrics& line, bool painting);
    void BodyTag(StringView body, LineMetrics& line);
    void ListItem(StringView body, LineMetrics& line, bool painting);
    void Picture(StringView body, LineMetrics& line, bool painting);
    // The container or cache picture a source names; null when there is none or it is empty.
    THTMLPicture* NamedPicture(const String& source);
    // Paints an image-list image (index >= 0) or an HTML picture placed at rect as the main renderer
    // does: printed images enlarged by the scale, sized pictures stretched, animated ones at their
    // frame's offset over a cleared area.
    void DrawPicture(Integer index, THTMLPicture* picture, bool sized, const TRect& rect);
    // The size of a system icon on this device: the list's icon size scaled by the device's pixels per
    // inch over 96, as image-list pictures are.
    TSize ShellIconSize(HIMAGELIST list);
    // Paints a system icon placed at rect: transparent, or when printing, enlarged by the scale.
    void DrawShellPicture(HIMAGELIST list, Integer index, const TRect& rect);
    void Rule(StringView tag, LineMetrics& line, bool painting);

    Integer GhHeight() { return TextHeightOf(u"gh"); }
    Integer TextWidthOf(const String& text);
    Integer TextHeightOf(const String& text);
    TColor BrushColorOrNone() const {
        return FCanvas->Brush()->Style() == bsClear ? clNone : FCanvas->Brush()->Color();
    }
    void SetBrushColorOrClear(TColor color) {
        if (color == clNone)
            FCanvas->Brush()->SetStyle(bsClear);
        else {
            FCanvas->Brush()->SetColor(color);
            FCanvas->Brush()->SetStyle(bsSolid);
        }
    }
    void SetStyleBit(TFontStyle bit, bool on) {
        TFontStyles style = FCanvas->Font()->Style();
        if (on)
            style.Include(bit);
        else
            style.Exclude(bit);
        FCanvas->Font()->SetStyle(style);
    }
    bool HoverStyled() const { return !hoverOnly || hoverIndex == anchorCount; }
    void DrawRunText(String run, TRect rect, UINT format);
    void DrawFocus(const TRect& rect);

    // What this call measured: a run is measured while its line is laid out and again while it is
    // painted, in the same font on the same DC. The font object stands for its description, since a
    // changed font gets a new object and handles are never given out twice. A caller's store, where the
    // DC allows it, keeps the measurements for the caller's next call.
    using MeasureKey = CaptionMeasures::Key;
    template <class Measure> Integer Measured(const MeasureKey& key, Measure measure);
    CaptionMeasures FOwnMeasures;
    CaptionMeasures* FMeasures = &FOwnMeasures;

    TCanvas* FCanvas;
    TRect FBounds;
    UINT FFormat = BaseDrawFormat;
    TFont FBaseFont;
    TColor FEntryBrush = clNone;
    Integer FCurX = 0;
    // Anchor state.
    bool FInAnchor = false;
    String FHref, FTitle;
    TPoint FAnchorStart;
    bool FHoverPending = false;
    TRect FFocusRect;
    // Lists, offsets and pictures.
    Integer FListLevel = 0;
    bool FOrdered = false;
    Integer FItemCounter = 1;
    Integer FOffset = 0;
    Integer FPictureCounter = 0;
    Integer FHoveredPicture = -1;
    // Style flags.
    bool FShadow = false, FSub = false, FSup = false, FHidden = false, FErrorMark = false;
    bool FParagraphBackground = false;
    TColor FParagraphBrush = clNone, FFontBrush = clNone, FHighlightFont = clNone, FHighlightBrush = clNone;
    TColor FHoverSavedBrush = clNone, FHoverSavedFont = clNone, FPreviousColor = clNone;
    Integer FAlignment = 0, FIndent = 0;
    bool FRotated = false;
    Integer FUnrotatedOrientation = 0;
};

// A measurement on dc depends on the font and the text alone: no scaling map mode, no extra spacing.
bool MeasuresByFontAlone(HDC dc) {
    return GetMapMode(dc) == MM_TEXT && GetTextCharacterExtra(dc) == 0;
}

template <class Measure>
Integer MeasuredIn(CaptionMeasures& store, const CaptionMeasures::Key& key, Measure measure) {
    auto& measured = store.measured;
    if (auto found = measured.find(key); found != measured.end())
        return found->second;
    // A kept store only grows while its owner's fonts or captions change; past a few screens of text it
    // starts again.
    constexpr size_t MaxKept = 256;
    if (measured.size() >= MaxKept)
        measured.clear();
    return measured[key] = measure();
}

void CaptionRenderer::KeepMeasuresIn(CaptionMeasures* store) {
    if (store != nullptr && MeasuresByFontAlone(FCanvas->Handle()))
        FMeasures = store;
}

template <class Measure> Integer CaptionRenderer::Measured(const MeasureKey& key, Measure measure) {
    return MeasuredIn(*FMeasures, key, measure);
}

Integer CaptionRenderer::TextWidthOf(const String& text) {
    return Measured(MeasureKey{FCanvas->Font()->Handle(), FFormat, false, text}, [&] {
        String copy = text;
        RECT rect{0, 0, 0, 0};
        DrawTextExW(FCanvas->Handle(), copy.data(), Integer(copy.size()), &rect, FFormat | DT_CALCRECT,
                    nullptr);
        return Integer(rect.right - rect.left);
    });
}

Integer CaptionRenderer::TextHeightOf(const String& text) {
    return Measured(MeasureKey{FCanvas->Font()->Handle(), 0, true, text},
                    [&] { return FCanvas->TextHeight(text); });
}

void CaptionRenderer::DrawRunText(String run, TRect rect, UINT format) {
    HDC dc = FCanvas->Handle();
    SetTextColor(dc, ColorToRGB(FCanvas->Font()->Color()));
    if (FCanvas->Brush()->Style() == bsClear)
        SetBkMode(dc, TRANSPARENT);
    else {
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(FCanvas->Brush()->Color()));
    }
    RECT r = rect;
    DrawTextExW(dc, run.data(), Integer(run.size()), &r, format, nullptr);
    SetBkMode(dc, TRANSPARENT);
}

void CaptionRenderer::DrawFocus(const TRect& rect) {
    // The focus frame is inverted through the selected brush, which a clear brush would leave out.
    TBrushStyle style = FCanvas->Brush()->Style();
    FCanvas->Brush()->SetStyle(bsSolid);
    FCanvas->DrawFocusRect(rect);
    FCanvas->Brush()->SetStyle(style);
}

void CaptionRenderer::PaintRun(const String& run, LineMetrics& line, Integer& width) {
    TRect rect(FCurX, line.rect.Top, line.rect.Right, line.rect.Bottom);
    if (FSup)
        rect.Bottom -= line.superRoom;
    if (FSub)
        rect.Bottom += line.subRoom;
    rect.Bottom -= line.textRaise;
    TRect kept = rect;
    if (FCanvas->Font()->Style().Contains(fsItalic))
        kept.Right += 2;
    width = TextWidthOf(run);
    bool draw = wordWrap || line.rect.Right - rect.Left >= TextWidthOf(u"l");
    if (draw) {
        if (FShadow) {
            TColor color = FCanvas->Font()->Color();
            FCanvas->Font()->SetColor(shadowColor);
            TRect shadow(kept.Left + shadowOffset, kept.Top + shadowOffset, kept.Right + shadowOffset,
                         kept.Bottom + shadowOffset);
            DrawRunText(run, shadow, FFormat);
            FCanvas->Font()->SetColor(color);
        }
        DrawRunText(run, kept, FFormat);
    }
    if (FInAnchor && anchorCount - 1 == focusIndex)
        anchorDetail = FHref;
    if (FErrorMark) {
        FCanvas->Pen()->SetColor(clRed);
        FCanvas->Pen()->SetWidth(1);
        Integer x = rect.Left - rect.Left % 2;
        Integer phase = x % 4 == 0 ? 2 : 0;
        Integer bottom = line.rect.Bottom;
        FCanvas->MoveTo(x, bottom + phase - 1);
        while (x < rect.Left + width) {
            phase = phase == 0 ? 2 : 0;
            FCanvas->LineTo(x + 2, bottom + phase - 1);
            x += 2;
        }
    }
    FCurX = rect.Left + width;
}

void CaptionRenderer::HandleRun(String& text, String& consumed, String& linePlain, LineMetrics& line,
                                bool measuring, bool firstPass) {
    size_t lt = text.find(u'<');
    size_t space = wordWrap ? text.find(u' ') : String::npos;
    size_t sourceLength;
    if (lt == String::npos || (space != String::npos && space < lt))
        sourceLength = space == String::npos ? text.size() : space + 1;
    else
        sourceLength = lt;
    if (sourceLength == 0)
        return;
    String source = text.substr(0, sourceLength);
    String run = DecodeRun(source);

    Integer h = TextHeightOf(run);
    if (FSub)
        line.subRoom = std::max(line.subRoom, h / 4);
    if (FSup)
        line.superRoom = std::max(line.superRoom, h / 4);
    line.height = std::max(line.height, h);
    if (firstPass)
        plainText += run;
    if (FHidden) {
        text.erase(0, sourceLength);
        return;
    }

    Integer w = 0;
    if (measuring) {
        w = TextWidthOf(run);
        Integer before = line.width;
        line.width += w;
        if (FInAnchor) {
            Integer x = pointX - line.rect.Left;
            if (x >= before && line.width >= x) {
                line.anchorHit = true;
                if (line.rect.Top < pointY) {
                    *anchorValue = FHref;
                    if (!FTitle.empty())
                        anchorDetail = FTitle;
                    FHoverPending = true;
                }
            }
        }
    } else
        PaintRun(run, line, w);

    Integer room = line.rect.Width() - FOffset;
    bool fits = line.width + FOffset < line.rect.Width() || w >= room;
    if (fits || !wordWrap) {
        linePlain += run;
        consumed += source;
        text.erase(0, sourceLength);
        line.trailingSpace =
            run.size() >= sourceLength && run[sourceLength - 1] == u' ' ? TextWidthOf(u" ") : 0;
    } else {
        line.done = true;
        line.width -= w;
    }
}

void CaptionRenderer::OpenAnchor(StringView body, LineMetrics& line, bool painting) {
    if (painting && focusIndex == anchorCount)
        FFocusRect = TRect(FCurX, line.rect.Top, FCurX, line.rect.Top);
    ++anchorCount;
    FPreviousColor = FCanvas->Font()->Color();
    if (painting && HoverStyled()) {
        SetStyleBit(fsUnderline, true);
        if (hoverBrushColor != clNone) {
            FHoverSavedBrush = BrushColorOrNone();
            SetBrushColorOrClear(hoverBrushColor);
        }
        if (hoverFontColor != clNone) {
            FHoverSavedFont = FCanvas->Font()->Color();
            FCanvas->Font()->SetColor(hoverFontColor);
        }
    }
    if (!selected && (hoverFontColor == clNone || hoverIndex != anchorCount || !hoverOnly))
        FCanvas->Font()->SetColor(anchorColor);
    String href = AttributeValue(body, u"HREF", true);
    if (HasAttribute(body, u"HREF")) {
        FInAnchor = true;
        FHref = href;
    }
    FTitle = HasAttribute(body, u"TITLE") ? AttributeValue(body, u"TITLE", true) : String();
    FAnchorStart = TPoint(line.rect.Left + line.width, line.rect.Top);
}

void CaptionRenderer::CloseAnchor(LineMetrics& line, bool painting) {
    if (painting && HoverStyled()) {
        SetStyleBit(fsUnderline, false);
        if (hoverBrushColor != clNone)
            SetBrushColorOrClear(FHoverSavedBrush);
        if (hoverFontColor != clNone)
            FCanvas->Font()->SetColor(FHoverSavedFont);
    }
    if (!selected && FPreviousColor != clNone)
        FCanvas->Font()->SetColor(FPreviousColor);
    FInAnchor = false;
    if (FHoverPending) {
        bool sameLine = FAnchorStart.Y == line.rect.Top;
        hoverRect =
            TRect(sameLine ? FAnchorStart.X : line.rect.Left, sameLine ? FAnchorStart.Y : line.rect.Top,
                  line.rect.Left + line.width, line.rect.Bottom);
        mouseAnchor = anchorCount;
        FHoverPending = false;
    }
    if (anchorCount == focusIndex + 1 && painting) {
        TRect focus = FFocusRect;
        focus.Right = FCurX + 1;
        focus.Bottom = line.rect.Bottom - line.textRaise;
        focus.Top = focus.Bottom - GhHeight();
        focus.Left -= 1;
        DrawFocus(focus);
    }
}

void CaptionRenderer::FontTag(StringView body, bool painting) {
    FFontBrush = BrushColorOrNone();
    String face = AttributeValue(body, u"FACE", true);
    if (!face.empty())
        FCanvas->Font()->SetName(face);
    String color = AttributeValue(body, u" COLOR");
    if (!selected && !color.empty()) {
        FPreviousColor = FCanvas->Font()->Color();
        FCanvas->Font()->SetColor(MarkupColor(color));
    }
    String background = AttributeValue(body, u"BGCOLOR");
    if (painting && !selected && !background.empty())
        SetBrushColorOrClear(MarkupColor(background));
    String upper = UpperCase(body);
    size_t size = upper.find(u"SIZE");
    if (size != String::npos) {
        size_t equals = upper.find(u'=', size);
        if (equals != String::npos) {
            size_t quote = upper.find(u'"', equals);
            size_t from = quote == String::npos ? equals + 1 : quote + 1;
            Integer n = StrToIntLoose(StringView(upper).substr(from));
            static constexpr Integer Sizes[] = {8, 10, 12, 14, 16};
            if (n >= 1 && n <= 5)
                n = Sizes[n - 1];
            if (n > 0)
                FCanvas->Font()->SetSize(std::min(n, MaxFontSize));
        }
    }
}

void CaptionRenderer::ParagraphTag(StringView body, LineMetrics& line, bool painting) {
    String align = AttributeValue(body, u"ALIGN");
    if (!align.empty()) {
        if (align.find(u"RIGHT") != String::npos)
            FAlignment = 1;
        if (align.find(u"LEFT") != String::npos)
            FAlignment = 0;
        if (align.find(u"CENTER") != String::npos)
            FAlignment = 2;
    }
    if (HasAttribute(body, u"INDENT"))
        FIndent = StrToIntLoose(AttributeValue(body, u"INDENT"));
    if (selected || !HasAttribute(body, u"BGCOLOR"))
        return;
    String value = AttributeValue(body, u"BGCOLOR");
    TColor color = value.empty() ? clNone : MarkupColor(value);
    if (!painting)
        return;
    if (HasAttribute(body, u"BGCOLORTO")) {
        String toValue = AttributeValue(body, u"BGCOLORTO");
        TColor to = toValue.empty() ? clNone : MarkupColor(toValue);
        DrawGradientRect(FCanvas, color, to, true,
                         TRect(FBounds.Left, line.rect.Top, FBounds.Right, line.rect.Bottom + 2), 64, clNone);
        FCanvas->Brush()->SetStyle(bsClear);
        return;
    }
    FParagraphBackground = true;
    FParagraphBrush = BrushColorOrNone();
    SetBrushColorOrClear(color);
    if (color != clNone) {
        FCanvas->Pen()->SetColor(color);
        FCanvas->FillRect(TRect(FBounds.Left, line.rect.Top, FBounds.Right, line.rect.Bottom));
    }
}

void CaptionRenderer::BodyTag(StringView body, LineMetrics& line) {
    // Image-list pictures of the body are drawn once, at the top left or against the right edge;
    // container and address pictures are tiled over the rectangle, or down its right edge.
    auto drawPicture = [&](StringView name, bool right) {
        String source = AttributeValue(body, name, true);
        if (source.empty())
            return;
        if (StartsWithText(source, u"IDX:")) {
            Integer index = StrToIntLoose(StringView(source).substr(4));
            if (images && index >= 0 && index < images->Count())
                images->Draw(FCanvas, right ? line.rect.Right - images->Width() : line.rect.Left,
                             line.rect.Top, index);
            return;
        }
        if (StartsWithText(source, u"SSYS:") || StartsWithText(source, u"LSYS:")) {
            // Against the right edge the icon's own width is subtracted: the image list (which may be
            // missing, or of another size) has nothing to do with a system icon.
            HIMAGELIST list;
            Integer index;
            if (ShellIconSource(source, list, index)) {
                TSize size = ShellIconSize(list);
                Integer x = right ? line.rect.Right - size.cx : line.rect.Left;
                DrawShellPicture(list, index, TRect(x, line.rect.Top, x + size.cx, line.rect.Top + size.cy));
            }
            return;
        }
        THTMLPicture* picture = NamedPicture(source);
        if (!picture || picture->MaxWidth() <= 0 || picture->MaxHeight() <= 0)
            return;
        Integer w = picture->MaxWidth(), h = picture->MaxHeight();
        HDC dc = FCanvas->Handle();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, FBounds.Left, FBounds.Top, FBounds.Right, FBounds.Bottom);
        for (Integer y = FBounds.Top; y < FBounds.Bottom; y += h) {
            if (right)
                FCanvas->Draw(FBounds.Right - w, y, picture);
            else
                for (Integer x = FBounds.Left; x < FBounds.Right; x += w)
                    FCanvas->Draw(x, y, picture);
        }
        RestoreDC(dc, saved);
        FCanvas->Refresh(); // the canvas selects its own objects again after the restore
    };
    drawPicture(u"BACKGROUND", false);
    drawPicture(u"BGTOPLEFT", false);
    drawPicture(u"BGTOPRIGHT", true);

    String value = AttributeValue(body, u"BGCOLOR");
    if (value.empty())
        return;
    auto bodyColor = [](const String& v) {
        TColor color = clBlack;
        if (v.find(u"CL") != String::npos)
            color = CaptionHTMLColor(LowerCase(v));
        size_t hash = v.find(u'#');
        if (hash != String::npos)
            color = HashColor(StringView(v).substr(hash));
        return color;
    };
    TColor color = bodyColor(value);
    if (HasAttribute(body, u"BGCOLORTO")) {
        TColor to = bodyColor(AttributeValue(body, u"BGCOLORTO"));
        String direction = AttributeValue(body, u"DIR");
        DrawGradientRect(FCanvas, color, to, direction.empty() || direction == u"H", FBounds, 64, clNone);
        FCanvas->Brush()->SetStyle(bsClear);
        return;
    }
    FFontBrush = color;
    SetBrushColorOrClear(color);
    TColor pen = FCanvas->Pen()->Color();
    FCanvas->Pen()->SetColor(color);
    FCanvas->FillRect(TRect(FBounds.Left - 2, FBounds.Top, FBounds.Right, FBounds.Bottom));
    FCanvas->Pen()->SetColor(pen);
}

void CaptionRenderer::ListItem(StringView body, LineMetrics& line, bool painting) {
    line.width += 12 * FListLevel;
    if (line.listItemSeen) {
        line.full = true;
        return;
    }
    line.listItemSeen = true;
    FCurX += 12 * FListLevel - 12;
    if (painting && !FHidden) {
        String type = AttributeValue(body, u"TYPE");
        String colorValue = AttributeValue(body, u"COLOR");
        TColor color = colorValue.empty() ? clNone : MarkupColor(colorValue);
        if (type == u"SQUARE" || type == u"CIRCLE") {
            TColor brush = BrushColorOrNone();
            TColor fill = color == clNone ? FCanvas->Font()->Color() : color;
            FCanvas->Pen()->SetColor(fill);
            SetBrushColorOrClear(fill);
            TRect box(FCurX, line.rect.Top + 2, FCurX + 8, line.rect.Top + 10);
            if (type == u"SQUARE")
                FCanvas->Rectangle(box);
            else
                FCanvas->Ellipse(box);
            SetBrushColorOrClear(brush);
        } else {
            String name = FCanvas->Font()->Name();
            TColor fontColor = FCanvas->Font()->Color();
            FCanvas->Font()->SetName(u"Symbol");
            if (color != clNone)
                FCanvas->Font()->SetColor(color);
            String bullet =
                FOrdered ? IntToStr(FItemCounter) + u". " : String(FListLevel % 2 ? u"\u00B7" : u"o");
            TRect rect(FCurX, line.rect.Top, line.rect.Right, line.rect.Bottom);
            DrawRunText(bullet, rect, 0);
            if (FOrdered) {
                ++FItemCounter;
                FCurX += FCanvas->TextWidth(bullet) - 12;
            }
            FCanvas->Font()->SetName(name);
            FCanvas->Font()->SetColor(fontColor);
        }
    }
    FCurX += 12;
}

THTMLPicture* CaptionRenderer::NamedPicture(const String& source) {
    THTMLPicture* picture = nullptr;
    if (source.find(u':') == String::npos && pictureContainer)
        picture = pictureContainer->FindPicture(source);
    if (source.find(u"://") != String::npos && pictureCache) {
        picture = pictureCache->FindPicture(source);
        if (!picture) {
            // A picture that fails to load stays in the cache empty and draws nothing from then on.
            picture = pictureCache->AddPicture();
            picture->SetAsynch(false);
            picture->SetID(source);
            picture->LoadFromURL(source);
        }
    }
    return picture && !picture->Empty() ? picture : nullptr;
}

void CaptionRenderer::Picture(StringView body, LineMetrics& line, bool painting) {
    ++FPictureCounter;
    String source = AttributeValue(body, u"SRC", true);
    Integer index = -1;
    THTMLPicture* picture = nullptr;
    HIMAGELIST shellList = nullptr;
    Integer pw = 0, ph = 0;
    if (StartsWithText(source, u"IDX:")) {
        index = StrToIntLoose(StringView(source).substr(4));
        if (images && index >= 0 && index < images->Count()) {
            pw = images->Width();
            ph = images->Height();
        } else
            index = -1;
        source.erase(0, 4);
    } else if (StartsWithText(source, u"SSYS:") || StartsWithText(source, u"LSYS:")) {
        if (ShellIconSource(source, shellList, index)) {
            TSize size = ShellIconSize(shellList);
            pw = size.cx;
            ph = size.cy;
        } else {
            shellList = nullptr;
            index = -1;
        }
        source.erase(0, 5);
    }
    Integer width = StrToIntLoose(AttributeValue(body, u"WIDTH"));
    Integer height = StrToIntLoose(AttributeValue(body, u"HEIGHT"));
    if (index < 0 && (picture = NamedPicture(source)) != nullptr) {
        pw = picture->MaxWidth();
        ph = picture->MaxHeight();
        if (width > 0 && height > 0) {
            pw = width;
            ph = height;
        } else if (width > 0 && pw > 0) {
            ph = Integer(std::lround(double(ph) * width / pw));
            pw = width;
        } else if (height > 0 && ph > 0) {
            pw = Integer(std::lround(double(pw) * height / ph));
            ph = height;
        }
    }
    if (index < 0 && !picture)
        return; // a source that names nothing draws nothing and takes no room

    if (FInAnchor) {
        Integer x = pointX - line.rect.Left;
        if (x > line.width && x < line.width + pw && pointY > line.rect.Top && pointY < line.rect.Top + ph) {
            line.pictureHit = true;
            *anchorValue = FHref;
            if (!FTitle.empty())
                anchorDetail = FTitle;
            FHoveredPicture = FPictureCounter;
        }
    }
    Integer room = line.rect.Width() - FOffset;
    if (line.width + pw > room && pw < room) {
        line.full = true;
        --FPictureCounter; // the picture is met again on the next line
        return;
    }
    if (painting) {
        TRect rect(FCurX, line.rect.Top, FCurX + pw, line.rect.Top + ph);
        if (shellList)
            DrawShellPicture(shellList, index, rect);
        else
            DrawPicture(index, picture, width > 0 || height > 0, rect);
    }
    line.width += pw;
    FCurX += pw;
    line.height = std::max(line.height, ph);
    String upper = UpperCase(body);
    if (upper.find(u"ALIGN") != String::npos) {
        if (upper.find(u"\"TOP") != String::npos)
            line.textRaise = line.height - GhHeight();
        else if (upper.find(u"\"MIDDLE") != String::npos)
            line.textRaise = Integer(unsigned(line.height - GhHeight()) / 2);
    }
    if (upper.find(u"WRAP") != String::npos) {
        line.height = GhHeight();
        line.textRaise = 0;
    }
}

void CaptionRenderer::DrawPicture(Integer index, THTMLPicture* picture, bool sized, const TRect& rect) {
    if (index >= 0) {
        if (!printing) {
            images->Draw(FCanvas, rect.Left, rect.Top, index);
            return;
        }
        // A printer's pixels are far smaller than the screen's: the image is enlarged by the scale.
        TBitmap bitmap;
        if (images->GetBitmap(index, &bitmap))
            StretchBitmapToRect(FCanvas,
                                TRect(rect.Left, rect.Top,
                                      rect.Left + Integer(std::lround(rect.Width() * scale)),
                                      rect.Top + Integer(std::lround(rect.Height() * scale))),
                                &bitmap);
        return;
    }
    if (sized) {
        picture->SetStretch(true);
        FCanvas->StretchDraw(rect, picture);
    } else if (picture->FrameCount() > 1) {
        // The current frame may be smaller than the largest one: what the previous frame left is cleared.
        if (FEntryBrush != clNone) {
            TColor color = FCanvas->Brush()->Color();
            TBrushStyle style = FCanvas->Brush()->Style();
            FCanvas->Brush()->SetColor(FEntryBrush);
            FCanvas->Brush()->SetStyle(bsSolid);
            FCanvas->FillRect(
                TRect(rect.Left, rect.Top, rect.Left + picture->MaxWidth(), rect.Top + picture->MaxHeight()));
            FCanvas->Brush()->SetColor(color);
            FCanvas->Brush()->SetStyle(style);
        }
        Integer x = rect.Left + picture->FrameXPos();
        Integer y = rect.Top + picture->FrameYPos();
        FCanvas->StretchDraw(TRect(x, y, x + picture->Width(), y + picture->Height()), picture);
    } else {
        FCanvas->StretchDraw(
            TRect(rect.Left, rect.Top, rect.Left + picture->Width(), rect.Top + picture->Height()), picture);
    }
}

TSize CaptionRenderer::ShellIconSize(HIMAGELIST list) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list, &cx, &cy);
    HDC dc = FCanvas->Handle();
    int ppiX = GetDeviceCaps(dc, LOGPIXELSX);
    int ppiY = GetDeviceCaps(dc, LOGPIXELSY);
    return TSize{MulDiv(cx, ppiX > 0 ? ppiX : 96, 96), MulDiv(cy, ppiY > 0 ? ppiY : 96, 96)};
}

void CaptionRenderer::DrawShellPicture(HIMAGELIST list, Integer index, const TRect& rect) {
    if (!printing) {
        DrawShellIcon(FCanvas, list, index, rect, false);
        return;
    }
    DrawShellIcon(FCanvas, list, index,
                  TRect(rect.Left, rect.Top, rect.Left + Integer(std::lround(rect.Width() * scale)),
                        rect.Top + Integer(std::lround(rect.Height() * scale))),
                  true);
}

void CaptionRenderer::Rule(StringView tag, LineMetrics& line, bool painting) {
    line.done = true;
    if (!painting)
        return;
    StringView body = tag.size() > 3 ? tag.substr(3) : StringView();
    String value = AttributeValue(body, u"COLOR", true);
    TColor pen = FCanvas->Pen()->Color();
    FCanvas->Pen()->SetColor(value.empty() ? clBlack : MarkupColor(value));
    FCanvas->MoveTo(line.rect.Left, line.rect.Bottom + 1);
    FCanvas->LineTo(line.rect.Right, line.rect.Bottom + 1);
    FCanvas->Pen()->SetColor(pen);
}

void CaptionRenderer::HandleTag(const String& text, LineMetrics& line, bool measuring, bool firstPass) {
    bool painting = !measuring;
    bool closing = text[1] == u'/' && text.size() > 3;
    Char letter = UpperAt(text, closing ? 2 : 1);
    Char next = UpperAt(text, closing ? 3 : 2);
    size_t end = text.find(u'>');
    StringView tag = StringView(text).substr(0, end == String::npos ? text.size() : end);
    auto bodyAfter = [&](size_t count) { return tag.size() > count ? tag.substr(count) : StringView(); };

    switch (letter) {
    case u'A':
        if (closing)
            CloseAnchor(line, painting);
        else
            OpenAnchor(bodyAfter(2), line, painting);
        break;
    case u'B':
        if (closing) {
            if (next == u'>')
                SetStyleBit(fsBold, false);
            else
                FCanvas->Font()->SetColor(FBaseFont.Color());
        } else if (next == u'>')
            SetStyleBit(fsBold, true);
        else if (next == u'R') {
            line.done = true;
            if (firstPass)
                plainText += u'\r';
        } else if (next == u'L') {
            if (!blinkVisible)
                FCanvas->Font()->SetColor(FEntryBrush);
        } else if (next == u'O' && painting && !selected)
            BodyTag(bodyAfter(5), line);
        break;
    case u'C': // no form controls in captions
        break;
    case u'E':
        if (painting)
            FErrorMark = !closing;
        break;
    case u'F':
        if (closing) {
            FCanvas->Font()->SetName(FBaseFont.Name());
            FCanvas->Font()->SetSize(FBaseFont.Size());
            if (painting && !selected) {
                if (FPreviousColor != clNone)
                    FCanvas->Font()->SetColor(FPreviousColor);
                SetBrushColorOrClear(FFontBrush);
            }
        } else
            FontTag(bodyAfter(5), painting);
        break;
    case u'H':
        if (closing) {
            if (painting) {
                FCanvas->Font()->SetColor(FHighlightFont);
                SetBrushColorOrClear(FHighlightBrush);
            }
        } else if (next == u'I') {
            if (painting) {
                FHighlightFont = FCanvas->Font()->Color();
                FHighlightBrush = BrushColorOrNone();
                SetBrushColorOrClear(clHighlight);
                FCanvas->Font()->SetColor(clHighlightText);
            }
        } else if (next == u'R')
            Rule(tag, line, painting);
        break;
    case u'I':
        if (closing)
            SetStyleBit(fsItalic, false);
        else if (next == u'>')
            SetStyleBit(fsItalic, true);
        else if (next == u'N') {
            String value = FirstQuotedAfter(tag, 3, u'x');
            Integer indent = StrToIntLoose(value);
            if (IsCleanNumber(value) && indent > line.width) {
                line.width = indent;
                FCurX = FBounds.Left + indent;
            }
        } else if (next == u'M')
            Picture(bodyAfter(2), line, painting);
        break;
    case u'L':
        if (closing)
            line.done = true;
        else
            ListItem(bodyAfter(2), line, painting);
        break;
    case u'O':
        if (closing) {
            if (UpperAt(text, 3) == u'>' || FListLevel == 0)
                FOffset = 0;
            else {
                --FListLevel;
                FOrdered = false;
            }
        } else if (next == u'L') {
            ++FListLevel;
            line.done = true;
            FOrdered = true;
            FItemCounter = 1;
        } else if (next == u'F') {
            FOffset = StrToIntLoose(FirstQuotedAfter(tag, 3, u'x'));
            line.width = FOffset;
            FCurX = FBounds.Left + FOffset;
        }
        break;
    case u'P':
        if (closing) {
            line.done = true;
            if (painting) {
                SetBrushColorOrClear(FParagraphBrush);
                FParagraphBackground = false;
            }
        } else
            ParagraphTag(bodyAfter(2), line, painting);
        break;
    case u'S':
        if (closing) {
            Char fourth = UpperAt(text, 3);
            if (fourth == u'H')
                FShadow = false;
            else if (fourth == u'U')
                FSub = FSup = false;
            else
                SetStyleBit(fsStrikeOut, false);
        } else if (StartsWithText(text, u"<SUB>"))
            FSub = true;
        else if (StartsWithText(text, u"<SUP>"))
            FSup = true;
        else if (next == u'>')
            SetStyleBit(fsStrikeOut, true);
        else if (next == u'H')
            FShadow = true;
        break;
    case u'U':
        if (closing) {
            if (UpperAt(text, 3) == u'>' || FListLevel == 0)
                SetStyleBit(fsUnderline, false);
            else
                --FListLevel;
        } else if (next == u'>')
            SetStyleBit(fsUnderline, true);
        else {
            ++FListLevel;
            line.done = true;
            FOrdered = false;
        }
        break;
    case u'Z':
        FHidden = !closing;
        break;
    case u'R':
        if (closing) {
            if (FRotated) {
                FCanvas->Font()->SetOrientation(FUnrotatedOrientation);
                FRotated = false;
            }
        } else {
            // A second rotation replaces the first; the closing tag goes back to the font before both.
            if (!FRotated)
                FUnrotatedOrientation = FCanvas->Font()->Orientation();
            FCanvas->Font()->SetOrientation(10 * (StrToIntLoose(FirstQuotedAfter(tag, 2, u'a')) % 360));
            FRotated = true;
        }
        break;
    default: // unknown tags change nothing
        break;
    }
}

String CaptionRenderer::RenderLine(String& text, LineMetrics& line, bool measuring, bool firstPass) {
    bool painting = !measuring;
    line.rect.Bottom -= line.subRoom;
    line.width = 0;
    line.trailingSpace = 0;
    line.done = line.full = line.listItemSeen = false;
    line.pictureHit = line.anchorHit = false;
    FCurX = line.rect.Left + (painting ? FOffset : 0);
    String consumed, linePlain;

    if (painting && FParagraphBackground && BrushColorOrNone() != clNone) {
        FCanvas->Pen()->SetColor(FCanvas->Brush()->Color());
        FCanvas->FillRect(TRect(FBounds.Left, line.rect.Top, FBounds.Right, line.rect.Top + line.height));
    }

    while (!text.empty() && !line.done && !line.full) {
        HandleRun(text, consumed, linePlain, line, measuring, firstPass);
        if (!text.empty() && text[0] == u'<' && text.size() <= 2)
            text.clear();
        if (line.done || text.empty() || text[0] != u'<' || text.size() < 3)
            continue;
        HandleTag(text, line, measuring, firstPass);
        if (line.full)
            continue;
        size_t end = text.find(u'>');
        if (end == String::npos)
            text.clear();
        else {
            consumed.append(text, 0, end + 1);
            text.erase(0, end + 1);
        }
    }

    line.width -= line.trailingSpace;
    if (line.width > textWidth)
        textWidth = line.width + 2;
    if (painting && FInAnchor && anchorCount == focusIndex + 1) {
        TRect focus = FFocusRect;
        focus.Right = FCurX + 1;
        focus.Bottom = line.rect.Bottom;
        focus.Left -= 1;
        DrawFocus(focus);
        FFocusRect = TRect(line.rect.Left + 1, line.rect.Bottom, line.rect.Left + 1, line.rect.Bottom);
    }
    return consumed;
}

bool CaptionRenderer::Run(String text) {
    TBrush* brush = FCanvas->Brush();
    TBrushStyle entryBrushStyle = brush->Style();
    TColor entryBrushColor = brush->Color();
    FEntryBrush = entryBrushStyle == bsClear ? clNone : entryBrushColor;
    FBaseFont.Assign(FCanvas->Font());
    TFont measureFont, paintFont;
    measureFont.Assign(FCanvas->Font());
    paintFont.Assign(FCanvas->Font());
    brush->SetStyle(bsClear);

    if (text.find(u" & ") != String::npos)
        FFormat |= DT_NOPREFIX;
    if (!wordWrap)
        FFormat |= DT_END_ELLIPSIS;
    SetBkMode(FCanvas->Handle(), TRANSPARENT);

    // Entities that stand for characters the text system draws differently, replaced until none is left.
    if (text.find(u'&') != String::npos) {
        static constexpr std::pair<const Char*, const Char*> Entities[] = {
            {u"&amp;", u"&&"},        {u"&quot;", u"\""},      {u"&sect;", u"\u00A7"},
            {u"&permil;", u"\u2030"}, {u"&reg;", u"\u00AE"},   {u"&copy;", u"\u00A9"},
            {u"&para;", u"\u00B6"},   {u"&trade;", u"\u2122"}, {u"&euro;", u"\u20AC"},
        };
        for (bool replaced = true; replaced;) {
            replaced = false;
            for (auto [entity, character] : Entities)
                replaced |= ReplaceFirstText(entity, character, text);
        }
    }
    for (size_t at; (at = text.find(u"<#")) != String::npos;) {
        text.erase(at, 1);
        size_t close = text.find(u'>', at);
        if (close != String::npos)
            text.erase(close, 1);
    }
    std::erase(text, u'\n');
    for (size_t at = 0; (at = text.find(u'\r', at)) != String::npos; at += 4)
        text.replace(at, 1, u"<BR>");

    bool result = false;
    Integer top = FBounds.Top;
    while (!text.empty()) {
        text = Trim(text);
        if (text.empty())
            break;
        size_t lengthBefore = text.size();
        TakeCanvasFont(FCanvas, &measureFont);
        LineMetrics line;
        line.rect = TRect(FBounds.Left + 1, top, FBounds.Right, FBounds.Bottom);
        line.height = GhHeight();
        Integer minimumHeight = line.height;
        bool inAnchor = FInAnchor;
        String href = FHref, title = FTitle;
        Integer savedCount = anchorCount, savedLevel = FListLevel, savedPictures = FPictureCounter;
        Integer savedOffset = FOffset, savedCounter = FItemCounter;
        bool savedOrdered = FOrdered;

        String consumed = RenderLine(text, line, true, true);
        bool anchorHit = line.anchorHit;
        FInAnchor = inAnchor;
        FHref = href;
        FTitle = title;
        measureFont.Assign(FCanvas->Font());
        line.height += lineSpacing;

        LineMetrics placed = line;
        placed.rect = TRect(FBounds.Left + 1, top, FBounds.Right, FBounds.Bottom);
        if (FAlignment == 1 && placed.rect.Right - line.width > placed.rect.Left)
            placed.rect.Left = placed.rect.Right - line.width;
        else if (FAlignment == 2 && placed.rect.Right - placed.rect.Left - line.width > 0)
            placed.rect.Left += Integer(unsigned(placed.rect.Right - placed.rect.Left - line.width) / 2);
        placed.rect.Left += FIndent;
        placed.rect.Bottom = top + line.height + line.subRoom + line.superRoom;

        if (!measureOnly) {
            TakeCanvasFont(FCanvas, &paintFont);
            anchorCount = savedCount;
            FListLevel = savedLevel;
            FPictureCounter = savedPictures;
            FOffset = savedOffset;
            FItemCounter = savedCounter;
            FOrdered = savedOrdered;
            String again = consumed;
            RenderLine(again, placed, hitTestOnly, false);
            paintFont.Assign(FCanvas->Font());
            anchorHit |= placed.anchorHit;
            Integer bandBottom = placed.rect.Bottom + line.subRoom - line.textRaise;
            if (anchorHit && pointY > bandBottom - GhHeight() && pointY < bandBottom)
                result = true;
            if (placed.pictureHit)
                result = true;
        }

        Integer advance = line.height + line.subRoom + line.superRoom;
        top += advance;
        textHeight += advance;
        if (!measureOnly && minimumHeight + top > FBounds.Bottom)
            break;
        // Every line takes something from the text, so no markup can hold the loop.
        if (text.size() >= lengthBefore)
            text.erase(0, 1);
    }
    if (textHeight == 0)
        textHeight = GhHeight();

    TakeCanvasFont(FCanvas, &FBaseFont);
    brush->SetColor(entryBrushColor);
    brush->SetStyle(entryBrushStyle);
    return result;
}

} // namespace

Integer CaptionTextHeight(TCanvas* Canvas, const String& Text, CaptionMeasures* Measures) {
    if (Measures == nullptr || !MeasuresByFontAlone(Canvas->Handle()))
        return Canvas->TextHeight(Text);
    return MeasuredIn(*Measures, CaptionMeasures::Key{Canvas->Font()->Handle(), 0, true, Text},
                      [&] { return Canvas->TextHeight(Text); });
}

bool RenderCaptionHTML(TCanvas* Canvas, const String& Text, TRect Bounds, TCustomImageList* Images,
                       Integer PointX, Integer PointY, Integer FocusIndex, Integer HoverIndex,
                       Integer ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                       bool BlinkVisible, bool HoverOnly, bool WordWrap, double Scale, TColor AnchorColor,
                       TColor HoverBrushColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorValue,
                       String& PlainText, String& AnchorDetail, Integer& TextWidth, Integer& TextHeight,
                       Integer& AnchorCount, Integer& MouseAnchor, TRect& HoverRect,
                       THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer,
                       Integer LineSpacing, TBiDiMode BiDiMode, CaptionMeasures* Measures) {
    CaptionRenderer renderer(Canvas, Bounds);
    renderer.KeepMeasuresIn(Measures);
    renderer.images = Images;
    renderer.pictureCache = PictureCache;
    renderer.pictureContainer = PictureContainer;
    renderer.pointX = PointX;
    renderer.pointY = PointY;
    renderer.focusIndex = FocusIndex;
    renderer.hoverIndex = HoverIndex;
    renderer.shadowOffset = ShadowOffset;
    renderer.hitTestOnly = HitTestOnly;
    renderer.measureOnly = MeasureOnly;
    renderer.selected = Selected;
    renderer.blinkVisible = BlinkVisible;
    renderer.hoverOnly = HoverOnly;
    renderer.wordWrap = WordWrap;
    renderer.printing = Printing;
    // As in the main renderer, a scale below 1 (or not a number) is 1, and a huge one is bounded.
    renderer.scale = Scale >= 1.0 ? std::min(Scale, 100.0) : 1.0;
    renderer.anchorColor = AnchorColor;
    renderer.hoverBrushColor = HoverBrushColor;
    renderer.hoverFontColor = HoverFontColor;
    renderer.shadowColor = ShadowColor;
    renderer.lineSpacing = LineSpacing;
    renderer.anchorValue = &AnchorValue;
    renderer.hoverRect = HoverRect;
    bool result = renderer.Run(Text);
    PlainText = renderer.plainText;
    AnchorDetail = renderer.anchorDetail;
    TextWidth = renderer.textWidth;
    TextHeight = renderer.textHeight;
    AnchorCount = renderer.anchorCount;
    MouseAnchor = renderer.mouseAnchor;
    HoverRect = renderer.hoverRect;
    return result;
}
