// The renderer on a TCanvas: the host that draws through the canvas's DC and remembers the extents it
// measured, and RenderMiniHTML, the entry that grids, hints and drop-downs call.
#include "render/AsgHTMLE.h"

#include <cmath>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/framework/ImgList.h"
#include "platform/rtl/Convert.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "render/AsgHTMLEPrivate.h"
#include "render/PictureContainer.h"
#include "render/VerIRID.h"

using namespace asghtmle;

namespace {

// Visual styles exist from Windows XP (5.1) on; the version cannot change while the program runs.
bool WindowsXPOrLater() {
    static const bool xp = [] {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionEx(&info))
            return false;
        return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion != 0);
    }();
    return xp;
}

// Extents of measured runs, kept between calls because a grid lays the same cell texts out on every
// paint. A key holds everything an extent depends on: the font (by the number of its description: the
// logical font the DC gets and the character spacing), the DrawText format, the width of the rectangle
// and the text; so a change of any of them misses. Only DCs whose mapping is the identity use it, where
// an extent does not depend on where the rectangle is. The oldest entry goes when the cache is full.
struct TExtentKey {
    Integer font;
    UINT format;
    Integer width;
    String text;
    bool operator==(const TExtentKey&) const = default;
};

// A key to look up by, which refers to the text instead of holding a copy of it.
struct TExtentProbe {
    Integer font;
    UINT format;
    Integer width;
    StringView text;
};

struct TExtentKeyHash {
    using is_transparent = void;
    static size_t Hash(Integer font, UINT format, Integer width, StringView text) {
        size_t h = std::hash<StringView>()(text);
        for (size_t part : {size_t(font), size_t(format), size_t(std::uint32_t(width))})
            h = (h ^ part) * 1099511628211ull;
        return h;
    }
    size_t operator()(const TExtentKey& key) const { return Hash(key.font, key.format, key.width, key.text); }
    size_t operator()(const TExtentProbe& key) const {
        return Hash(key.font, key.format, key.width, key.text);
    }
};

struct TExtentKeyEqual {
    using is_transparent = void;
    template <typename A, typename B> bool operator()(const A& a, const B& b) const {
        return a.font == b.font && a.format == b.format && a.width == b.width && StringView(a.text) == b.text;
    }
};

class TExtentCache {
public:
    // The number of a font description; numbers are never given twice, so an extent kept under a
    // description that was dropped can never be found again.
    Integer FontID(const String& description) {
        std::lock_guard lock(FMutex);
        auto it = FFonts.find(description);
        if (it != FFonts.end())
            return it->second;
        if (FFonts.size() >= kFontLimit) {
            FFonts.clear();
            FExtents.clear();
            FOrder.clear();
        }
        return FFonts.emplace(description, ++FLastFont).first->second;
    }
    bool Find(const TExtentProbe& key, TSize& size) {
        std::lock_guard lock(FMutex);
        auto it = FExtents.find(key);
        if (it == FExtents.end())
            return false;
        size = it->second;
        return true;
    }
    void Add(const TExtentProbe& key, TSize size) {
        std::lock_guard lock(FMutex);
        auto [it, added] =
            FExtents.emplace(TExtentKey{key.font, key.format, key.width, String(key.text)}, size);
        if (!added)
            return;
        FOrder.push_back(&it->first);
        if (FOrder.size() > kLimit) {
            FExtents.erase(FExtents.find(*FOrder.front()));
            FOrder.pop_front();
        }
    }

private:
    static constexpr size_t kLimit = 8192;
    static constexpr size_t kFontLimit = 256;
    std::mutex FMutex;
    std::unordered_map<String, Integer> FFonts;
    Integer FLastFont = 0;
    std::unordered_map<TExtentKey, TSize, TExtentKeyHash, TExtentKeyEqual> FExtents;
    std::deque<const TExtentKey*> FOrder; // keys in the map (nodes stay put), oldest first
};

TExtentCache& Extents() {
    static TExtentCache* cache = new TExtentCache; // never destroyed: other statics may render at exit
    return *cache;
}

void AppendNumber(String& key, Integer value) {
    auto bits = static_cast<std::uint32_t>(value);
    key += Char(bits & 0xFFFF);
    key += Char(bits >> 16);
}

// Draws on a canvas. Pictures come from the image list ("IDX:n"), the system image lists ("SSYS:" and
// "LSYS:" with a path or an index), the picture container (a name) or the picture cache (an address
// with "://").
class TCanvasHost : public THTMLHost {
public:
    TCanvasHost(TCanvas* canvas, TCustomImageList* images, TPictureContainer* container,
                THTMLPictureCache* cache, HWND themeWindow, TColor entryBrush)
        : FCanvas(canvas), FImages(images), FContainer(container), FCache(cache), FThemeWindow(themeWindow),
          FEntryBrush(entryBrush) {}

    void DrawText(const THTMLFont& font, const String& text, TRect& rect, UINT format,
                  TColor background) override {
        std::optional<TExtentProbe> key;
        if ((format & DT_CALCRECT) && Measurable()) {
            key = TExtentProbe{FontID(font), format, rect.Right - rect.Left, text};
            TSize size;
            if (Extents().Find(*key, size)) {
                rect.Right = rect.Left + size.cx;
                rect.Bottom = rect.Top + size.cy;
                return;
            }
        }
        SelectFont(font);
        HDC dc = FCanvas->Handle();
        SetTextColor(dc, ColorToRGB(font.color));
        if (background == clNone) {
            SetBkMode(dc, TRANSPARENT);
        } else {
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, ColorToRGB(background));
        }
        RECT r = rect;
        if (format & DT_MODIFYSTRING) {
            String buffer = text; // DrawText may write into it
            DrawTextExW(dc, buffer.data(), Integer(buffer.size()), &r, format, nullptr);
        } else {
            // Without DT_MODIFYSTRING DrawText only reads the text, so it needs no copy of its own.
            DrawTextExW(dc, const_cast<Char*>(text.data()), Integer(text.size()), &r, format, nullptr);
        }
        rect = r;
        if (key)
            Extents().Add(*key, TSize{rect.Right - rect.Left, rect.Bottom - rect.Top});
    }

    // The height of a text extent is the font's, whatever the text.
    Integer TextHeight(const THTMLFont& font, const String& text) override {
        if (!Measurable()) {
            SelectFont(font);
            return FCanvas->TextHeight(text.empty() ? String(u" ") : text);
        }
        size_t entry = FontEntry(font);
        if (Memo().fonts[entry].height < 0) {
            SelectFont(font);
            Memo().fonts[entry].height = FCanvas->TextHeight(text.empty() ? String(u" ") : text);
        }
        return Memo().fonts[entry].height;
    }

    void FillRect(const TRect& rect, TColor color) override {
        FCanvas->Brush()->SetStyle(bsSolid);
        FCanvas->Brush()->SetColor(color);
        FCanvas->FillRect(rect);
    }

    void Rectangle(const TRect& rect, TColor pen, TColor fill) override {
        FCanvas->Pen()->SetColor(pen);
        FCanvas->Pen()->SetWidth(1);
        if (fill == clNone) {
            FCanvas->Brush()->SetStyle(bsClear);
        } else {
            FCanvas->Brush()->SetStyle(bsSolid);
            FCanvas->Brush()->SetColor(fill);
        }
        FCanvas->Rectangle(rect);
    }

    void Polyline(const std::vector<TPoint>& points, TColor pen, Integer penWidth) override {
        FCanvas->Pen()->SetColor(pen);
        FCanvas->Pen()->SetWidth(penWidth);
        FCanvas->Polyline(std::span<const TPoint>(points));
    }

    void DrawFocusRect(const TRect& rect) override { FCanvas->DrawFocusRect(rect); }

    bool PictureSize(const String& source, TSize& size) override {
        Integer index = ImageIndex(source);
        if (index >= 0) {
            size = TSize{FImages->Width(), FImages->Height()};
            return true;
        }
        HIMAGELIST shellList;
        int cx = 0, cy = 0;
        if (ShellIconSource(source, shellList, index) && ImageList_GetIconSize(shellList, &cx, &cy)) {
            size = TSize{cx, cy};
            return true;
        }
        THTMLPicture* picture = HTMLPicture(source);
        if (picture == nullptr)
            return false;
        size = TSize{picture->MaxWidth(), picture->MaxHeight()};
        return true;
    }

    void DrawPicture(const String& source, const TRect& rect, bool stretch) override {
        Integer index = ImageIndex(source);
        HIMAGELIST shellList;
        if (index < 0 && ShellIconSource(source, shellList, index)) {
            DrawShellIcon(FCanvas, shellList, index, rect, stretch);
            return;
        }
        if (index < 0) {
            THTMLPicture* picture = HTMLPicture(source);
            if (picture == nullptr)
                return;
            if (stretch) {
                picture->SetStretch(true);
                FCanvas->StretchDraw(rect, picture);
            } else if (picture->FrameCount() > 1) {
                // An animated picture clears its largest frame's area before drawing the current frame.
                if (FEntryBrush != clNone)
                    FillRect(TRect(rect.Left, rect.Top, rect.Left + picture->MaxWidth(),
                                   rect.Top + picture->MaxHeight()),
                             FEntryBrush);
                Integer x = rect.Left + picture->FrameXPos();
                Integer y = rect.Top + picture->FrameYPos();
                FCanvas->StretchDraw(TRect(x, y, x + picture->Width(), y + picture->Height()), picture);
            } else {
                FCanvas->StretchDraw(
                    TRect(rect.Left, rect.Top, rect.Left + picture->Width(), rect.Top + picture->Height()),
                    picture);
            }
            return;
        }
        if (!stretch) {
            FImages->Draw(FCanvas, rect.Left, rect.Top, index);
            return;
        }
        TBitmap bitmap;
        if (FImages->GetBitmap(index, &bitmap))
            StretchBitmapToRect(FCanvas, rect, &bitmap);
    }

    Integer PixelsPerInch() override {
        Integer ppi = GetDeviceCaps(FCanvas->Handle(), LOGPIXELSX);
        return ppi > 0 ? ppi : 96;
    }

    // Themed drawing goes through the visual-styles binding that the program's start-up filled; an
    // empty table (no library) means classic drawing.
    bool Themed() override {
        if (!WindowsXPOrLater())
            return false;
        return VerIRID::IsThemeActive != nullptr && VerIRID::OpenThemeData != nullptr &&
               VerIRID::DrawThemeBackground != nullptr && VerIRID::CloseThemeData != nullptr &&
               VerIRID::IsThemeActive();
    }

    void DrawThemedPart(const String& themeClass, Integer part, Integer state, const TRect& rect) override {
        HTHEME theme = VerIRID::OpenThemeData(FThemeWindow, themeClass.c_str());
        if (theme == nullptr)
            return;
        RECT r = rect;
        VerIRID::DrawThemeBackground(theme, FCanvas->Handle(), part, state, &r, nullptr);
        VerIRID::CloseThemeData(theme);
    }

    void DrawFrameControl(const TRect& rect, UINT type, UINT state) override {
        RECT r = rect;
        ::DrawFrameControl(FCanvas->Handle(), &r, type, state);
    }

    bool RightToLeftLocale() override { return false; }

    void PushClip(const TRect& rect) override {
        HDC dc = FCanvas->Handle();
        FSaved.push_back(SaveDC(dc));
        IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    }

    void PopClip() override {
        if (FSaved.empty())
            return;
        RestoreDC(FCanvas->Handle(), FSaved.back());
        FSaved.pop_back();
    }

private:
    // Whether extents may come from the cache: the DC maps logical units to pixels one to one.
    bool Measurable() {
        if (FMeasurable < 0) {
            HDC dc = FCanvas->Handle();
            SIZE window{}, viewport{};
            FMeasurable = GetWindowExtEx(dc, &window) && GetViewportExtEx(dc, &viewport) &&
                                  window.cx == viewport.cx && window.cy == viewport.cy
                              ? 1
                              : 0;
        }
        return FMeasurable == 1;
    }

    // What of font and DC decides an extent. The canvas makes the logical font of font from font's
    // name, size, style and orientation and its own pixels per inch, character set and pitch; when
    // font is the canvas's font at entry the DC keeps the logical font it had, so that is part of the
    // key too. The colour plays no part. The fonts numbered for the last canvas state of the thread are
    // kept, since a grid renders cell after cell with the same canvas font.
    struct TFontEntry {
        THTMLFont font;
        Integer id;
        Integer height = -1; // the height of a text extent, -1 until measured
    };
    struct TFontMemo {
        String base;
        std::vector<TFontEntry> fonts;
        size_t last = 0; // where the last one asked for is
    };
    static TFontMemo& Memo() {
        thread_local TFontMemo memo;
        return memo;
    }

    Integer FontID(const THTMLFont& font) { return Memo().fonts[FontEntry(font)].id; }

    // The place of font in the thread's numbered fonts, numbered now if it was not.
    size_t FontEntry(const THTMLFont& font) {
        TFontMemo& memo = Memo();
        if (FBaseKey.empty()) {
            FBaseKey.reserve(64);
            TFont* canvasFont = FCanvas->Font();
            LOGFONTW lf{};
            GetObjectW(canvasFont->Handle(), sizeof(lf), &lf);
            for (Integer value :
                 {Integer(lf.lfHeight), Integer(lf.lfWidth), Integer(lf.lfEscapement),
                  Integer(lf.lfOrientation), Integer(lf.lfWeight), Integer(lf.lfItalic),
                  Integer(lf.lfUnderline), Integer(lf.lfStrikeOut), Integer(lf.lfCharSet),
                  Integer(lf.lfOutPrecision), Integer(lf.lfClipPrecision), Integer(lf.lfQuality),
                  Integer(lf.lfPitchAndFamily), canvasFont->PixelsPerInch(), Integer(canvasFont->Charset()),
                  Integer(canvasFont->Pitch()), GetTextCharacterExtra(FCanvas->Handle())})
                AppendNumber(FBaseKey, value);
            FBaseKey.append(lf.lfFaceName, std::char_traits<Char>::length(lf.lfFaceName));
            FBaseKey += Char(0);
            FBaseKey += canvasFont->Name();
            FBaseKey += Char(0);
            if (memo.base != FBaseKey || memo.fonts.size() >= 64) {
                memo.base = FBaseKey;
                memo.fonts.clear();
            }
        }
        auto same = [&](const THTMLFont& known) {
            return known.size == font.size && known.orientation == font.orientation &&
                   known.style == font.style && known.name == font.name;
        };
        if (memo.last < memo.fonts.size() && same(memo.fonts[memo.last].font))
            return memo.last;
        for (size_t i = 0; i < memo.fonts.size(); ++i)
            if (same(memo.fonts[i].font)) {
                memo.last = i;
                return i;
            }
        String key = FBaseKey;
        AppendNumber(key, font.size);
        AppendNumber(key, font.orientation);
        AppendNumber(key, (font.style.Contains(fsBold) ? 1 : 0) | (font.style.Contains(fsItalic) ? 2 : 0) |
                              (font.style.Contains(fsUnderline) ? 4 : 0) |
                              (font.style.Contains(fsStrikeOut) ? 8 : 0));
        key += font.name;
        Integer id = Extents().FontID(key);
        memo.last = memo.fonts.size();
        memo.fonts.push_back(TFontEntry{font, id});
        return memo.last;
    }

    void SelectFont(const THTMLFont& font) {
        TFont* target = FCanvas->Font();
        if (target->Name() != font.name)
            target->SetName(font.name);
        if (target->Size() != font.size)
            target->SetSize(font.size);
        if (target->Color() != font.color)
            target->SetColor(font.color);
        if (target->Style() != font.style)
            target->SetStyle(font.style);
        if (target->Orientation() != font.orientation)
            target->SetOrientation(font.orientation);
    }

    // A container picture (a name without ":", also what follows "IDX:", "SSYS:" or "LSYS:") or a cached
    // address (loaded synchronously at first use); null when there is none or it is empty.
    THTMLPicture* HTMLPicture(const String& source) {
        String name = source;
        if (PosText(u"IDX:", source) == 1)
            name = source.substr(4);
        else if (PosText(u"SSYS:", source) == 1 || PosText(u"LSYS:", source) == 1)
            name = source.substr(5);
        THTMLPicture* picture = nullptr;
        if (FContainer != nullptr && name.find(u':') == String::npos)
            picture = FContainer->FindPicture(name);
        if (picture == nullptr && FCache != nullptr && source.find(u"://") != String::npos) {
            picture = FCache->FindPicture(source);
            if (picture == nullptr) {
                picture = FCache->AddPicture();
                picture->SetID(source);
                picture->SetAsynch(false);
                picture->LoadFromURL(source);
            }
        }
        return picture != nullptr && !picture->Empty() && picture->MaxWidth() > 0 && picture->MaxHeight() > 0
                   ? picture
                   : nullptr;
    }

    // The image of an "IDX:n" source, or -1.
    Integer ImageIndex(const String& source) const {
        if (FImages == nullptr || PosText(u"IDX:", source) != 1)
            return -1;
        Integer index;
        if (!IsCleanNumber(StringView(source).substr(4), index) || index < 0 || index >= FImages->Count())
            return -1;
        return index;
    }

    TCanvas* FCanvas;
    TCustomImageList* FImages;
    TPictureContainer* FContainer;
    THTMLPictureCache* FCache;
    HWND FThemeWindow;
    TColor FEntryBrush;
    std::vector<int> FSaved;
    Integer FMeasurable = -1; // unknown until first asked
    String FBaseKey;          // the canvas's part of every font description, made at first use
};

} // namespace

bool RenderMiniHTML(TCanvas* Canvas, const String& Text, TRect Bounds, TCustomImageList* Images,
                    Integer PointX, Integer PointY, Integer FocusIndex, Integer HoverIndex,
                    Integer ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                    bool BlinkVisible, bool HoverOnly, bool WordWrap, bool ControlPressed,
                    const String& PressedControlID, double Scale, TColor AnchorColor, TColor HoverBrushColor,
                    TColor HoverFontColor, TColor ShadowColor, THTMLRenderResult& Result,
                    THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND ThemeWindow,
                    TBiDiMode BiDiMode) {
    if (Canvas == nullptr)
        return false;
    THTMLRenderParams params;
    params.bounds = Bounds;
    params.pointX = PointX;
    params.pointY = PointY;
    params.focusIndex = FocusIndex;
    params.hoverIndex = HoverIndex;
    params.shadowOffset = ShadowOffset;
    params.hitTestOnly = HitTestOnly;
    params.measureOnly = MeasureOnly;
    params.printing = Printing;
    params.selected = Selected;
    params.blinkVisible = BlinkVisible;
    params.hoverOnly = HoverOnly;
    params.wordWrap = WordWrap;
    params.controlPressed = ControlPressed;
    params.pressedControlID = PressedControlID;
    params.scale = Scale;
    params.anchorColor = AnchorColor;
    params.hoverBrushColor = HoverBrushColor;
    params.hoverFontColor = HoverFontColor;
    params.shadowColor = ShadowColor;
    params.biDiMode = BiDiMode;

    // The canvas's font, pen and brush are the base style and come back as they were.
    TFont* font = Canvas->Font();
    TFont savedFont;
    savedFont.Assign(font);
    TColor penColor = Canvas->Pen()->Color();
    Integer penWidth = Canvas->Pen()->Width();
    TColor brushColor = Canvas->Brush()->Color();
    TBrushStyle brushStyle = Canvas->Brush()->Style();
    params.font.name = font->Name();
    params.font.size = font->Size();
    params.font.color = font->Color();
    params.font.style = font->Style();
    params.font.orientation = font->Orientation();
    params.brushColor = brushStyle == bsClear ? clNone : brushColor;
    params.penColor = penColor;
    params.penWidth = penWidth;

    TCanvasHost host(Canvas, Images, PictureContainer, PictureCache, ThemeWindow, params.brushColor);
    RenderMiniHTMLOnHost(host, Text, params, Result);

    font->Assign(&savedFont);
    Canvas->Pen()->SetColor(penColor);
    Canvas->Pen()->SetWidth(penWidth);
    Canvas->Brush()->SetColor(brushColor);
    Canvas->Brush()->SetStyle(brushStyle);
    return Result.hit;
}

bool RenderMiniHTML(TCanvas* Canvas, const String& Text, TRect Bounds, TCustomImageList* Images,
                    Integer PointX, Integer PointY, Integer FocusIndex, Integer HoverIndex,
                    Integer ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected,
                    bool BlinkVisible, bool HoverOnly, bool WordWrap, bool ControlPressed,
                    const String& PressedControlID, double Scale, TColor AnchorColor, TColor HoverBrushColor,
                    TColor HoverFontColor, TColor ShadowColor, String& AnchorValue, String& PlainText,
                    String& FocusAnchor, String& AnchorTitle, Integer& TextWidth, Integer& TextHeight,
                    Integer& AnchorCount, Integer& MouseAnchor, TRect& HoverRect, TRect& ControlRect,
                    String& ControlID, String& ControlValue, String& ControlType,
                    THTMLPictureCache* PictureCache, TPictureContainer* PictureContainer, HWND ThemeWindow,
                    TBiDiMode BiDiMode) {
    if (Canvas == nullptr)
        return false;
    THTMLRenderResult result;
    result.anchorValue = AnchorValue;
    result.controlID = ControlID;
    RenderMiniHTML(Canvas, Text, Bounds, Images, PointX, PointY, FocusIndex, HoverIndex, ShadowOffset,
                   HitTestOnly, MeasureOnly, Printing, Selected, BlinkVisible, HoverOnly, WordWrap,
                   ControlPressed, PressedControlID, Scale, AnchorColor, HoverBrushColor, HoverFontColor,
                   ShadowColor, result, PictureCache, PictureContainer, ThemeWindow, BiDiMode);
    AnchorValue = result.anchorValue;
    PlainText = result.plainText;
    FocusAnchor = result.focusAnchor;
    AnchorTitle = result.anchorTitle;
    TextWidth = result.textWidth;
    TextHeight = result.textHeight;
    AnchorCount = result.anchorCount;
    MouseAnchor = result.mouseAnchor;
    HoverRect = result.hoverRect;
    ControlRect = result.controlRect;
    ControlID = result.controlID;
    ControlValue = result.controlValue;
    ControlType = result.controlType;
    return result.hit;
}
