// The grid's gradient painters (plain, mirrored and the rounded selection frame), the cache of drawn
// gradients and the run-time binding of the layered-window call.
#include "grid/engine/AdvUtil.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/framework/Graphics.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

struct Channels {
    double red;
    double green;
    double blue;
};

Channels ChannelsOf(TColor color) {
    const COLORREF rgb = ColorToRGB(color);
    return {static_cast<double>(rgb & 0xFF), static_cast<double>((rgb >> 8) & 0xFF),
            static_cast<double>((rgb >> 16) & 0xFF)};
}

// One channel at step i of n, rounded to nearest with ties to even.
Integer ChannelAt(double from, double to, Integer i, Integer n) {
    return static_cast<Integer>(std::nearbyint(from + i * (to - from) / n));
}

void SetPenAndBrush(TCanvas* canvas, TColor color) {
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
}

// Drawn with a thin solid pen of the fill's own colour, copied, over a plain solid brush, a rectangle is
// exactly its brush's fill, and the fill needs no pen selected.
bool PenMatchesFill(TCanvas* canvas) {
    const TPen* pen = canvas->Pen();
    const TBrush* brush = canvas->Brush();
    return pen->Style() == psSolid && pen->Width() <= 1 && pen->Mode() == pmCopy &&
           brush->Style() == bsSolid && brush->Bitmap() == nullptr &&
           ColorToRGB(pen->Color()) == ColorToRGB(brush->Color());
}

// A rectangle in the canvas's pen and brush.
void Band(TCanvas* canvas, const TRect& rect) {
    if (PenMatchesFill(canvas))
        canvas->FillRect(rect);
    else
        canvas->Rectangle(rect);
}

void HorizontalLine(TCanvas* canvas, Integer left, Integer right, Integer y) {
    canvas->MoveTo(left, y);
    canvas->LineTo(right, y);
}

void VerticalLine(TCanvas* canvas, Integer x, Integer top, Integer bottom) {
    canvas->MoveTo(x, top);
    canvas->LineTo(x, bottom);
}

} // namespace

void DrawGradient(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal, const TRect& rect,
                  Integer steps, TGradientCache* cache) {
    TRect r = rect;
    if (r.Top == r.Bottom)
        return;
    if (r.Bottom < r.Top)
        std::swap(r.Top, r.Bottom);
    if (fromColor == clNone || toColor == clNone) {
        const TColor solid = fromColor != clNone ? fromColor : toColor;
        if (solid == clNone)
            return;
        SetPenAndBrush(canvas, static_cast<TColor>(ColorToRGB(solid)));
        Band(canvas, r);
        return;
    }
    // The bands' colours are made of the channels alone.
    if (cache != nullptr && r.Left < r.Right &&
        cache->Draw(canvas, static_cast<TColor>(ColorToRGB(fromColor) & 0xFFFFFF),
                    static_cast<TColor>(ColorToRGB(toColor) & 0xFFFFFF), horizontal, r, steps))
        return;
    const Channels from = ChannelsOf(fromColor);
    const Channels to = ChannelsOf(toColor);
    const Integer span = horizontal ? r.Right - r.Left - 1 : r.Bottom - r.Top - 1;
    steps = std::max<Integer>(1, std::min(steps, span));
    const double band = static_cast<double>(span) / steps;
    const Integer length = static_cast<Integer>(band + 1);
    auto colorAt = [&](Integer i) {
        const Integer red = ChannelAt(from.red, to.red, i, steps);
        const Integer green = ChannelAt(from.green, to.green, i, steps);
        const Integer blue = ChannelAt(from.blue, to.blue, i, steps);
        return static_cast<TColor>(red | (green << 8) | (blue << 16));
    };
    for (Integer i = 0; i <= steps;) {
        const TColor color = colorAt(i);
        SetPenAndBrush(canvas, color);
        const bool filled = PenMatchesFill(canvas);
        // Each band overlaps the next, and a run of bands of one colour covers what one rectangle from
        // the first band's start to the last band's end covers. Where a band is its rectangle filled, the
        // run draws as one.
        Integer last = i;
        while (span >= 1 && filled && last < steps && colorAt(last + 1) == color)
            ++last;
        const Integer offset = static_cast<Integer>(i * band);
        Integer end = static_cast<Integer>(last * band) + length;
        // A filled band's overlap with the next one is painted over by the next: it stops where the next
        // starts, and each pixel is filled once.
        if (last < steps && filled)
            end = std::min(end, static_cast<Integer>((last + 1) * band));
        if (horizontal)
            Band(canvas, TRect(r.Left + offset, r.Top, std::min<Integer>(r.Left + end, r.Right), r.Bottom));
        else
            Band(canvas, TRect(r.Left, r.Top + offset, r.Right, std::min<Integer>(r.Top + end, r.Bottom)));
        i = last + 1;
    }
}

// ---- The gradient cache

struct TGradientCache::Picture {
    TColor fromColor = clNone;
    TColor toColor = clNone;
    bool horizontal = false;
    Integer steps = 0;
    Integer length = 0;  // along the change of colour
    Integer breadth = 0; // across it
    TBitmap bitmap;

    bool Is(TColor from, TColor to, bool alongX, Integer stepCount, Integer along) const {
        return fromColor == from && toColor == to && horizontal == alongX && steps == stepCount &&
               length == along;
    }
};

TGradientCache::TGradientCache() = default;
TGradientCache::~TGradientCache() = default;

TGradientCache::Picture* TGradientCache::Find(TColor fromColor, TColor toColor, bool horizontal,
                                              Integer steps, Integer length, Integer breadth) {
    constexpr std::size_t Kept = 8;
    for (const std::unique_ptr<Picture>& picture : FPictures)
        if (picture->Is(fromColor, toColor, horizontal, steps, length) && picture->breadth >= breadth)
            return picture.get();
    // The same gradient drawn narrower is drawn again; past the few kept, the oldest goes.
    std::erase_if(FPictures, [&](const std::unique_ptr<Picture>& picture) {
        return picture->Is(fromColor, toColor, horizontal, steps, length);
    });
    if (FPictures.size() >= Kept)
        FPictures.erase(FPictures.begin());
    auto picture = std::make_unique<Picture>();
    picture->fromColor = fromColor;
    picture->toColor = toColor;
    picture->horizontal = horizontal;
    picture->steps = steps;
    picture->length = length;
    picture->breadth = breadth;
    const Integer width = horizontal ? length : breadth;
    const Integer height = horizontal ? breadth : length;
    picture->bitmap.SetPixelFormat(pf32bit);
    picture->bitmap.SetSize(width, height);
    DrawGradient(picture->bitmap.Canvas(), fromColor, toColor, horizontal, TRect(0, 0, width, height), steps);
    FPictures.push_back(std::move(picture));
    return FPictures.back().get();
}

bool TGradientCache::Draw(TCanvas* canvas, TColor fromColor, TColor toColor, bool horizontal,
                          const TRect& rect, Integer steps) {
    // Every band would be a plain fill of the brush, whatever its colour: DrawGradient's test of each
    // band, less the colours, which it sets to match.
    const TPen* pen = canvas->Pen();
    const TBrush* brush = canvas->Brush();
    if (pen->Style() != psSolid || pen->Width() > 1 || pen->Mode() != pmCopy || brush->Style() != bsSolid ||
        brush->Bitmap() != nullptr || canvas->CopyMode() != cmSrcCopy)
        return false;
    // A copy keeps its size in device pixels and its colours as they are, where fills are mapped and
    // may be reduced to two colours.
    HDC dc = canvas->Handle();
    if (GetMapMode(dc) != MM_TEXT || GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY ||
        GetDeviceCaps(dc, BITSPIXEL) <= 1)
        return false;
    const Integer width = rect.Right - rect.Left;
    const Integer height = rect.Bottom - rect.Top;
    Picture* picture =
        Find(fromColor, toColor, horizontal, steps, horizontal ? width : height, horizontal ? height : width);
    canvas->CopyRect(rect, picture->bitmap.Canvas(), TRect(0, 0, width, height));
    // As the bands leave them: both in the last band's colour.
    SetPenAndBrush(canvas, toColor);
    return true;
}

void DrawGradientMirror(TCanvas* canvas, const TRect& rect, TColor color, bool fill, bool sideLines,
                        TColor borderColor, bool vertical, TColor mirrorToColor, TColor mirrorFromColor,
                        TColor toColor, TGradientCache* cache) {
    constexpr Integer Steps = 128;
    if (fill && color != clNone) {
        if (mirrorFromColor == clNone && toColor == clNone) {
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Pen()->SetWidth(1);
            SetPenAndBrush(canvas, color);
            Band(canvas, TRect(rect.Left, rect.Top, rect.Right, rect.Bottom + 1));
        } else if (mirrorFromColor == clNone) {
            DrawGradient(canvas, color, toColor, !vertical, rect, Steps, cache);
        } else if (vertical) {
            const Integer middle = rect.Top + (rect.Bottom - rect.Top) / 2;
            DrawGradient(canvas, color, toColor, false, TRect(rect.Left, rect.Top, rect.Right, middle), Steps,
                         cache);
            DrawGradient(canvas, mirrorFromColor, mirrorToColor, false,
                         TRect(rect.Left, middle, rect.Right, rect.Bottom), Steps, cache);
        } else {
            const Integer middle = rect.Left + (rect.Right - rect.Left) / 2;
            DrawGradient(canvas, color, toColor, true, TRect(rect.Left, rect.Top, middle, rect.Bottom), Steps,
                         cache);
            DrawGradient(canvas, mirrorFromColor, mirrorToColor, true,
                         TRect(middle, rect.Top, rect.Right, rect.Bottom), Steps, cache);
        }
    }
    if (borderColor == clNone)
        return;
    canvas->Pen()->SetColor(borderColor);
    if (sideLines) {
        VerticalLine(canvas, rect.Left, rect.Top, rect.Bottom);
        VerticalLine(canvas, rect.Right - 1, rect.Top, rect.Bottom);
        return;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(rect);
    canvas->Brush()->SetStyle(bsSolid);
}

void DrawRoundedGradientFrame(TCanvas* canvas, TColor fromColor, TColor toColor, Integer part,
                              const TRect& rect, TColor backgroundColor, TColor edgeColor, TColor borderColor,
                              TColor bottomLineColor, TColor topLineColor, TColor lowerToColor,
                              TColor lowerFromColor) {
    // The working rectangle: right exclusive, bottom inclusive, so that the grid lines' column and row
    // stay free.
    const Integer left = rect.Left;
    const Integer top = rect.Top;
    const Integer right = rect.Right - 1;
    const Integer bottom = rect.Bottom - 2;
    const Integer middle = top + (bottom - top) / 2;
    const bool roundLeft = part == 0 || part == 1;
    const bool roundRight = part == 0 || part == 2;
    const Integer innerLeft = left + (roundLeft ? 2 : 0);
    const Integer innerRight = right - (roundRight ? 2 : 0);

    canvas->Pen()->SetColor(topLineColor);
    HorizontalLine(canvas, left, right, top + 1);
    if (roundLeft)
        VerticalLine(canvas, left + 1, top + 1, middle);
    if (roundRight)
        VerticalLine(canvas, right - 2, top + 1, middle);

    canvas->Pen()->SetColor(bottomLineColor);
    HorizontalLine(canvas, left, right, bottom - 1);
    if (roundLeft)
        VerticalLine(canvas, left + 1, middle, bottom - 1);
    if (roundRight)
        VerticalLine(canvas, right - 2, middle, bottom - 1);

    canvas->Pen()->SetColor(borderColor);
    HorizontalLine(canvas, innerLeft, innerRight, top);
    HorizontalLine(canvas, innerLeft, innerRight, bottom);
    if (roundLeft)
        VerticalLine(canvas, left, top + 2, bottom - 1);
    if (roundRight)
        VerticalLine(canvas, right - 1, top + 2, bottom - 1);

    // Each rounded corner: the three pixels beside it soften it, the corner itself takes the background.
    const auto corner = [&](Integer x, Integer y, Integer inwardX, Integer inwardY) {
        canvas->SetPixels(x + inwardX, y, edgeColor);
        canvas->SetPixels(x + inwardX, y + inwardY, edgeColor);
        canvas->SetPixels(x, y + inwardY, edgeColor);
        canvas->SetPixels(x, y, backgroundColor);
    };
    if (roundLeft) {
        corner(left, top, 1, 1);
        corner(left, bottom, 1, -1);
    }
    if (roundRight) {
        corner(right - 1, top, -1, 1);
        corner(right - 1, bottom, -1, -1);
    }

    const TRect inner(innerLeft, top + 2, innerRight, bottom - 1);
    constexpr Integer Steps = 16;
    if (toColor == clNone) {
        SetPenAndBrush(canvas, fromColor);
        canvas->Rectangle(inner);
    } else if (lowerFromColor == clNone) {
        DrawGradient(canvas, fromColor, toColor, false, inner, Steps);
    } else {
        const Integer innerMiddle = inner.Top + (inner.Bottom - inner.Top) / 2;
        DrawGradient(canvas, fromColor, toColor, false,
                     TRect(inner.Left, inner.Top, inner.Right, innerMiddle), Steps);
        DrawGradient(canvas, lowerFromColor, lowerToColor, false,
                     TRect(inner.Left, innerMiddle, inner.Right, inner.Bottom), Steps);
    }
}

bool UpdateLayeredWindowDyn(HWND hwnd, HDC screenDC, POINT* position, SIZE* size, HDC sourceDC,
                            POINT* sourcePoint, COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
    using UpdateLayeredWindowFunction =
        BOOL (*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
    HMODULE library = GetModuleHandleW(u"USER32.DLL");
    if (library == nullptr)
        return true;
    auto update =
        reinterpret_cast<UpdateLayeredWindowFunction>(GetProcAddress(library, "UpdateLayeredWindow"));
    if (update == nullptr)
        return true;
    return update(hwnd, screenDC, position, size, sourceDC, sourcePoint, key, blend, flags) != FALSE;
}
