// The painters of the graphic cell contents that show a number instead of text: progress bars (plain,
// multi-level, circular), the balance bar, the shapes of shape and rating cells, and the zig-zag line
// under a misspelled part of a cell text.
#include "grid/engine/AdvUtil.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/framework/Graphics.h"
#include "platform/framework/StdEdit.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/winuser.h"

namespace {

Integer RoundInt(double value) {
    return static_cast<Integer>(std::nearbyint(value));
}

void SetPenAndBrush(TCanvas* canvas, TColor color) {
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
}

// The text of a progress bar and the percentage it fills. A format that Format refuses, or a range
// without extent, must not stop the painting: the text then falls back to the rounded position and
// "%", and a range without extent fills nothing.
void ProgressText(const String& format, Integer maximum, Integer minimum, double position, String& text,
                  Integer& percentage) {
    const Integer rounded = RoundInt(position);
    bool formatted = false;
    if (!format.empty()) {
        try {
            if (format.find(u'd') != String::npos || format.find(u'u') != String::npos)
                text = Format(format, {rounded});
            else
                text = Format(format, {position});
            formatted = true;
        } catch (const Exception&) {
            formatted = false;
        }
    }
    if (formatted)
        percentage = maximum == minimum ? 0 : RoundInt((position - minimum) * 100 / (maximum - minimum));
    else {
        text = IntToStr(rounded) + u"%";
        percentage = rounded;
    }
    percentage = std::clamp<Integer>(percentage, 0, 100);
}

} // namespace

void DrawProgressBar(TCanvas* canvas, const TRect& rect, TColor fillColor, bool print, TColor borderColor,
                     const String& format, Integer maximum, Integer minimum, Integer verticalMargin,
                     Integer horizontalMargin, double position, TColor emptyTextColor, TColor emptyColor,
                     TColor fillTextColor) {
    const TColor background = canvas->Brush()->Color();
    SetPenAndBrush(canvas, fillColor);
    canvas->Font()->SetColor(fillTextColor);

    String text;
    Integer percentage = 0;
    ProgressText(format, maximum, minimum, position, text, percentage);

    TRect r(rect.Left + horizontalMargin, rect.Top + verticalMargin, rect.Right - horizontalMargin,
            rect.Bottom - verticalMargin);
    const Integer fillEnd = r.Left + RoundInt(percentage * static_cast<double>(r.Width()) / 100);
    const TSize extent = canvas->TextExtent(text);
    const Integer x = r.Left + (r.Width() - extent.cx) / 2;
    const Integer y = print ? r.Top + (r.Height() + extent.cy) / 2 : r.Top + (r.Height() - extent.cy) / 2;

    // The text is drawn twice, clipped to each part, so it changes colour where it crosses the fill end.
    canvas->TextRect(TRect(r.Left, r.Top, fillEnd, r.Bottom), x, y, text);
    canvas->Brush()->SetColor(emptyColor);
    canvas->Font()->SetColor(emptyTextColor);
    canvas->TextRect(TRect(fillEnd, r.Top, r.Right, r.Bottom), x, y, text);

    r = TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    if (borderColor != clNone) {
        canvas->Brush()->SetColor(borderColor);
        canvas->FrameRect(r);
    }
    r = TRect(r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1);
    canvas->Brush()->SetColor(background);
    canvas->FrameRect(r);
}

namespace {

// Draws the filled part of a level progress bar from offset start to offset end along its length,
// measured from the bar's origin (left end, or bottom for a vertical bar), inset pixels inside rect.
class LevelBar {
public:
    LevelBar(TCanvas* canvas, const TRect& rect, const TLevelProgressParams& params, Integer inset)
        : FCanvas(canvas), FRect(rect), FParams(params), FInset(inset) {}

    void Segment(Integer start, Integer end, TColor color, TColor colorTo) {
        if (end <= start)
            return;
        TRect part;
        if (FParams.Vertical)
            part = TRect(FRect.Left + FInset, FRect.Bottom - FInset - end, FRect.Right - FInset,
                         FRect.Bottom - FInset - start);
        else
            part = TRect(FRect.Left + FInset + start, FRect.Top + FInset, FRect.Left + FInset + end,
                         FRect.Bottom - FInset);
        if (!FParams.ShowGradient) {
            SetPenAndBrush(FCanvas, color);
            FCanvas->Rectangle(part);
            return;
        }
        // Two mirrored halves across the bar's thickness.
        if (FParams.Vertical) {
            const Integer middle = part.Left + part.Width() / 2;
            DrawGradient(FCanvas, colorTo, color, true, TRect(part.Left, part.Top, middle, part.Bottom),
                         FParams.Steps);
            DrawGradient(FCanvas, color, colorTo, true, TRect(middle, part.Top, part.Right, part.Bottom),
                         FParams.Steps);
        } else {
            const Integer middle = part.Top + part.Height() / 2;
            DrawGradient(FCanvas, colorTo, color, false, TRect(part.Left, part.Top, part.Right, middle),
                         FParams.Steps);
            DrawGradient(FCanvas, color, colorTo, false, TRect(part.Left, middle, part.Right, part.Bottom),
                         FParams.Steps);
        }
    }

private:
    TCanvas* FCanvas;
    TRect FRect;
    const TLevelProgressParams& FParams;
    Integer FInset;
};

} // namespace

void DrawLevelProgress(TCanvas* canvas, const TRect& rect, Integer percentage,
                       const TLevelProgressParams& params) {
    const TRect& r = rect;
    const TColor outline = params.ShowBorder ? params.BorderColor : params.BackgroundColor;
    canvas->Brush()->SetColor(params.BackgroundColor);
    canvas->Pen()->SetColor(outline);
    canvas->Rectangle(r);

    const Integer p = percentage;
    const Integer length = (params.Vertical ? r.Height() : r.Width()) - 2;
    // A length for a percentage, never past the bar's end.
    const auto share = [length](double percent) {
        return std::clamp<Integer>(RoundInt(percent * length / 100), 0, std::max<Integer>(length, 0));
    };
    if (p > 0 && params.Stacked) {
        LevelBar bar(canvas, r, params, 1);
        const Integer first = share(std::min(p, params.Level1Perc));
        bar.Segment(0, first, params.Level0Color, params.Level0ColorTo);
        if (p >= params.Level1Perc) {
            const Integer second =
                std::min(first + share(std::min(p, params.Level2Perc) - params.Level1Perc), length);
            bar.Segment(first, second, params.Level1Color, params.Level1ColorTo);
            if (p >= params.Level2Perc) {
                const Integer third =
                    p >= 100 ? length : std::min(second + share(p - params.Level2Perc), length);
                bar.Segment(second, third, params.Level3Color, params.Level3ColorTo);
            }
        }
    } else if (p > 0) {
        TColor color = params.Level2Color;
        TColor colorTo = params.Level2ColorTo;
        if (p < params.Level1Perc) {
            color = params.Level0Color;
            colorTo = params.Level0ColorTo;
        } else if (p < params.Level2Perc) {
            color = params.Level1Color;
            colorTo = params.Level1ColorTo;
        } else if (p >= 100) {
            color = params.Level3Color;
            colorTo = params.Level3ColorTo;
        }
        if (params.CompletionSmooth) {
            LevelBar(canvas, r, params, 1).Segment(0, share(p), color, colorTo);
        } else {
            // Blocks of 7 pixels with gaps of 2, two pixels inside the rectangle.
            LevelBar blocks(canvas, r, params, 2);
            const Integer filled = share(p);
            if (filled > 1 && filled < 10) {
                blocks.Segment(0, filled - 1, color, colorTo);
            } else if (filled >= 10) {
                const Integer count = filled / 9;
                for (Integer i = 0; i < count; ++i)
                    blocks.Segment(i * 9, i * 9 + 7, color, colorTo);
                if (filled % 9 > 2)
                    blocks.Segment(count * 9, count * 9 + filled % 9 - 1, color, colorTo);
            }
        }
    }

    if (params.ShowPercentage) {
        const String text = IntToStr(p) + u"%";
        canvas->Brush()->SetStyle(bsClear);
        if (params.Font != nullptr)
            canvas->Font()->Assign(params.Font);
        canvas->Font()->SetColor(params.FontColor);
        if (params.Vertical) {
            // Rotated to read upward: the text runs up from its origin, so the origin sits below the
            // centre by half the text's length.
            TFont rotated;
            rotated.Assign(canvas->Font());
            rotated.SetOrientation(900);
            const TSize extent = canvas->TextExtent(text);
            canvas->Font()->Assign(&rotated);
            canvas->TextOut(r.Left + (r.Width() - extent.cy) / 2, r.Top + (r.Height() + extent.cx) / 2, text);
        } else {
            const TSize extent = canvas->TextExtent(text);
            canvas->TextOut(r.Left + (r.Width() - extent.cx) / 2, r.Top + (r.Height() - extent.cy) / 2, text);
        }
    }

    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(outline);
    canvas->Rectangle(r);
    canvas->Brush()->SetStyle(bsSolid);
}

void DrawPieProgress(TCanvas* canvas, const TRect& rect, TColor fillColor, bool /*flag*/,
                     Integer percentage) {
    constexpr TColor Grey = 0x00808080;
    canvas->Pen()->SetColor(Grey);
    canvas->Pen()->SetWidth(1);
    canvas->Ellipse(rect);
    const Integer centreX = rect.Left + rect.Width() / 2;
    const Integer centreY = rect.Top + rect.Height() / 2;
    canvas->MoveTo(centreX, rect.Top);
    canvas->LineTo(centreX, centreY);
    const double angle = percentage / 100.0 * 2 * std::numbers::pi;
    const Integer endX = centreX + RoundInt((rect.Width() + 1) / 2.0 * std::sin(angle));
    const Integer endY = centreY - RoundInt((rect.Height() + 1) / 2.0 * std::cos(angle));
    canvas->LineTo(endX, endY);
    if (percentage == 0)
        return;
    canvas->Brush()->SetColor(fillColor);
    canvas->FloodFill(centreX + 1, rect.Top + 2, Grey, fsBorder);
}

void DrawBalanceBar(TCanvas* canvas, const TRect& rect, Integer value, TColor positiveColor,
                    TColor negativeColor, bool showValue, Integer maximum) {
    const TRect r(rect.Left + 2, rect.Top + 2, rect.Right - 2, rect.Bottom - 2);
    // A maximum of 0 or less has no scale to draw a bar on.
    const Integer limited = maximum > 0 ? std::clamp(value, -maximum, maximum) : 0;
    const Integer middle = r.Left + r.Width() / 2;
    if (maximum > 0) {
        const Integer length = RoundInt(r.Width() / 2.0 * limited / maximum);
        if (limited < 0) {
            SetPenAndBrush(canvas, negativeColor);
            canvas->Rectangle(middle + length, r.Top, middle, r.Bottom);
        } else {
            SetPenAndBrush(canvas, positiveColor);
            canvas->Rectangle(middle, r.Top, middle + length, r.Bottom);
        }
    }
    if (!showValue)
        return;
    const String text = IntToStr(limited);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(r.Left + (r.Width() - canvas->TextWidth(text)) / 2, r.Top, text);
    canvas->Brush()->SetStyle(bsSolid);
}

void DrawCellShape(TCanvas* canvas, Integer x, Integer y, TColor penColor, TColor brushColor,
                   TCellShape shape, Integer height, Integer width) {
    canvas->Pen()->SetColor(penColor);
    canvas->Brush()->SetColor(brushColor);
    Integer w = width;
    Integer h = height;
    if (shape == csCircle || shape == csSquare || shape == csRoundSquare)
        w = h = std::min(w, h);
    const Integer hw = w / 2;
    const Integer hh = h / 2;

    // The star's ten points, clockwise from 12 o'clock, alternately on the outer and the inner radii.
    const auto starPoint = [&](Integer i) {
        const bool outer = i % 2 == 0;
        const double radiusX = outer ? hw : hw / 3;
        const double radiusY = outer ? hh : hh / 3;
        const double angle = i * 36 * std::numbers::pi / 180;
        return TPoint(x + hw + RoundInt(radiusX * std::sin(angle)),
                      y + hh - RoundInt(radiusY * std::cos(angle)));
    };

    switch (shape) {
    case csRectangle:
    case csSquare:
        canvas->Rectangle(x + 1, y + 1, x + w - 1, y + h - 1);
        break;
    case csCircle:
    case csEllips:
        canvas->Ellipse(x, y, x + w, y + h);
        break;
    case csTriangleLeft:
        canvas->Polygon({TPoint(x + w, y), TPoint(x + w, y + h), TPoint(x, y + hh)});
        break;
    case csTriangleRight:
        canvas->Polygon({TPoint(x, y), TPoint(x, y + h), TPoint(x + w, y + hh)});
        break;
    case csTriangleUp:
        canvas->Polygon({TPoint(x, y + h), TPoint(x + w, y + h), TPoint(x + hw, y)});
        break;
    case csTriangleDown:
        canvas->Polygon({TPoint(x, y), TPoint(x + w, y), TPoint(x + hw, y + h)});
        break;
    case csDiamond:
        canvas->Polygon(
            {TPoint(x, y + hh), TPoint(x + hw, y), TPoint(x + 2 * hw, y + hh), TPoint(x + hw, y + 2 * hh)});
        break;
    case csLineVert:
        canvas->Rectangle(x + hw, y, x + hw + 1, y + h);
        break;
    case csLineHorz:
        canvas->Rectangle(x, y + hh, x + w, y + hh + 1);
        break;
    case csRoundRect:
    case csRoundSquare:
        canvas->RoundRect(x, y, x + w, y + h, 10, 10);
        break;
    case csStar: {
        TPoint points[10];
        for (Integer i = 0; i < 10; ++i)
            points[i] = starPoint(i);
        canvas->Polygon(points);
        break;
    }
    case csHalfStar:
        canvas->Polygon({starPoint(0), starPoint(5), starPoint(6), starPoint(7), starPoint(8), starPoint(9)});
        break;
    case csArrowUp:
    case csArrowDown: {
        const Integer even = w - w % 2;
        const Integer q = even / 4;
        // The head's base and the shaft's far end swap between the two.
        const Integer tip = shape == csArrowUp ? y : y + h;
        const Integer tail = shape == csArrowUp ? y + h : y;
        canvas->Polygon({TPoint(x, y + hh), TPoint(x + even / 2, tip), TPoint(x + even, y + hh),
                         TPoint(x + 3 * q, y + hh), TPoint(x + 3 * q, tail), TPoint(x + q, tail),
                         TPoint(x + q, y + hh)});
        break;
    }
    case csArrowLeft:
    case csArrowRight: {
        const Integer even = h - h % 2;
        const Integer r = even / 4;
        const Integer tip = shape == csArrowLeft ? x : x + w;
        const Integer tail = shape == csArrowLeft ? x + w : x;
        canvas->Polygon({TPoint(tip, y + even / 2), TPoint(x + hw, y), TPoint(x + hw, y + r),
                         TPoint(tail, y + r), TPoint(tail, y + 3 * r), TPoint(x + hw, y + 3 * r),
                         TPoint(x + hw, y + even)});
        break;
    }
    default:
        break;
    }
}

void DrawErrorUnderline(TWinControl* owner, TCanvas* canvas, const String& text, Integer errorLength,
                        Integer errorStart, Integer offset, const TRect& rect) {
    const Integer length = static_cast<Integer>(text.size());
    if (owner == nullptr || length == 0 || errorStart < 0 || errorLength <= 0)
        return;
    // A hidden edit laid out like the cell tells where each character stands.
    TEdit edit(owner);
    edit.SetVisible(false);
    edit.SetParent(owner);
    edit.SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    edit.SetText(text);
    const auto positionOf = [&edit](Integer index) {
        const LRESULT position = SendMessageW(edit.Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return TPoint(static_cast<SmallInt>(LOWORD(position)), static_cast<SmallInt>(HIWORD(position)));
    };
    TPoint start;
    if (errorStart >= length) {
        start = positionOf(length - 1);
        start.X += 4;
    } else {
        start = positionOf(errorStart);
    }
    TPoint end;
    if (errorStart + errorLength >= length) {
        end = TPoint(positionOf(length - 1).X + 4, start.Y);
    } else {
        end = positionOf(errorStart + errorLength - 1);
    }

    canvas->Pen()->SetColor(clRed);
    canvas->Pen()->SetWidth(2);
    Integer x = start.X;
    canvas->MoveTo(rect.Left + x, rect.Top + start.Y + offset + 3);
    bool high = true;
    const auto step = [&] {
        x += 3;
        canvas->LineTo(rect.Left + x, rect.Top + end.Y + offset + (high ? 0 : 3));
        high = !high;
    };
    while (x <= end.X)
        step();
    step();
}
