// The instrument controls' drawing routines.
#include "controls/VrSysUtils.h"

#include <algorithm>
#include <cstdint>

#include "platform/win32/windraw.h"

Integer WidthOf(const TRect& rect) {
    return rect.Right - rect.Left;
}

Integer HeightOf(const TRect& rect) {
    return rect.Bottom - rect.Top;
}

TColor ResolveColor(TColor color) {
    if ((static_cast<std::uint32_t>(color) & 0x80000000u) != 0)
        return static_cast<TColor>(GetSysColor(static_cast<int>(color & 0xFF)));
    return color;
}

void GetRGB(TColor color, Byte& red, Byte& green, Byte& blue) {
    auto value = static_cast<std::uint32_t>(ResolveColor(color));
    red = static_cast<Byte>(value & 0xFF);
    green = static_cast<Byte>((value >> 8) & 0xFF);
    blue = static_cast<Byte>((value >> 16) & 0xFF);
}

namespace {

// The colour at position p of an axis of length length: each channel moves from the start towards the
// end in proportion, truncated towards zero. An axis of no length shows the start colour.
class GradientColors {
public:
    GradientColors(TColor startColor, TColor endColor) {
        GetRGB(startColor, FStart[0], FStart[1], FStart[2]);
        Byte end[3];
        GetRGB(endColor, end[0], end[1], end[2]);
        for (int i = 0; i < 3; ++i)
            FDelta[i] = end[i] - FStart[i];
    }
    TColor At(Integer p, Integer length) const {
        Integer channel[3];
        for (int i = 0; i < 3; ++i)
            channel[i] = FStart[i] + (length != 0 ? p * FDelta[i] / length : 0);
        return static_cast<TColor>(
            RGB(static_cast<Byte>(channel[0]), static_cast<Byte>(channel[1]), static_cast<Byte>(channel[2])));
    }

private:
    Byte FStart[3];
    Integer FDelta[3];
};

void FillBand(TCanvas* canvas, TColor color, const TRect& band) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(band);
}

void DrawLine(TCanvas* canvas, TColor color, Integer width, TPoint from, TPoint to) {
    canvas->Pen()->SetColor(color);
    canvas->Pen()->SetWidth(width);
    canvas->MoveTo(from.X, from.Y);
    canvas->LineTo(to.X, to.Y);
}

} // namespace

void DrawGradient(TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor, Integer kind,
                  Integer step) {
    if (step < 1)
        return;
    const GradientColors colors(startColor, endColor);
    const Integer width = WidthOf(rect);
    const Integer height = HeightOf(rect);
    switch (kind) {
    case 1:
        for (Integer p = 0; p < height; p += step)
            FillBand(canvas, colors.At(p, height),
                     TRect(rect.Left, rect.Top + p, rect.Right, rect.Top + p + step));
        break;
    case 2:
        for (Integer p = 0; p <= width; p += step)
            FillBand(canvas, colors.At(p, width),
                     TRect(rect.Left + p, rect.Top, rect.Left + p + step, rect.Bottom));
        break;
    case 3:
        for (Integer p = 0; p <= width + height; p += step)
            DrawLine(canvas, colors.At(p, width + height), step, TPoint(p, 0), TPoint(-1, p));
        break;
    case 4:
        for (Integer p = 0; p <= width + height; p += step)
            DrawLine(canvas, colors.At(p, width + height), step, TPoint(0, height - p), TPoint(p, height));
        break;
    case 5:
    case 6: {
        // Out to the middle with the colour moving to the end colour, then on with it moving back.
        const bool horizontal = kind == 5;
        const Integer length = (horizontal ? height : width) / 2;
        Integer offset = 0;
        auto band = [&](Integer p) {
            TRect r = horizontal
                          ? TRect(rect.Left, rect.Top + offset, rect.Right, rect.Top + offset + step)
                          : TRect(rect.Left + offset, rect.Top, rect.Left + offset + step, rect.Bottom);
            FillBand(canvas, colors.At(p, length), r);
            offset += step;
        };
        Integer p = 0;
        for (; p < length; p += step)
            band(p);
        for (; p >= 0; p -= step)
            band(p);
        break;
    }
    default:
        break;
    }
}

void DrawShape(TCanvas* canvas, TShapeType shape, Integer x, Integer y, Integer width, Integer height) {
    if (canvas->Pen()->Width() == 0) {
        --width;
        --height;
    }
    const Integer side = std::min(width, height);
    if (shape == stSquare || shape == stRoundSquare || shape == stCircle) {
        x += (width - side) / 2;
        y += (height - side) / 2;
        width = side;
        height = side;
    }
    switch (shape) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(x, y, x + width, y + height);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas->RoundRect(x, y, x + width, y + height, side / 4, side / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas->Ellipse(x, y, x + width, y + height);
        break;
    }
}

void DrawFrame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width) {
    canvas->Pen()->SetWidth(1);
    --rect.Right;
    --rect.Bottom;
    for (Integer i = 0; i < width; ++i) {
        canvas->Pen()->SetColor(topColor);
        canvas->Polyline(
            {TPoint(rect.Left, rect.Bottom), TPoint(rect.Left, rect.Top), TPoint(rect.Right, rect.Top)});
        canvas->Pen()->SetColor(bottomColor);
        canvas->Polyline({TPoint(rect.Right, rect.Top), TPoint(rect.Right, rect.Bottom),
                          TPoint(rect.Left - 1, rect.Bottom)});
        ++rect.Left;
        ++rect.Top;
        --rect.Right;
        --rect.Bottom;
    }
    ++rect.Right;
    ++rect.Bottom;
}
