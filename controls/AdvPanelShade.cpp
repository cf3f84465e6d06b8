// The caption panel's shaded caption headers: computed shadings rendered once into an off-screen header,
// and the caption background drawn from it, from a bitmap or from the visual style's caption.
#include "controls/AdvPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/rtl/Random.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/wingdi.h"
#include "render/VerIRID.h"

using namespace AdvPanel;

namespace {

// The pixels of a header being computed, with room for the column and row one past each edge, which the
// shadings write and the bitmap never shows.
class THeaderPixels {
public:
    THeaderPixels(Integer w, Integer h, COLORREF base)
        : FW(w), FH(h), FBase(base), FPixels(static_cast<size_t>(w + 1) * (h + 1), RGB(255, 255, 255)) {}

    // The colour (R·v div 255, G·v div 255, B·v div 255) of the caption colour, each channel cut to its
    // low 8 bits.
    COLORREF Shade(Integer v) const {
        auto channel = [v](Integer c) { return static_cast<BYTE>((c * v / 255) & 0xFF); };
        return RGB(channel(GetRValue(FBase)), channel(GetGValue(FBase)), channel(GetBValue(FBase)));
    }
    void Set(Integer x, Integer y, COLORREF color) {
        if (x >= 0 && y >= 0 && x <= FW && y <= FH)
            FPixels[static_cast<size_t>(y) * (FW + 1) + x] = color;
    }
    void SetShade(Integer x, Integer y, Integer v) { Set(x, y, Shade(v)); }
    Integer Blue(Integer x, Integer y) const {
        return GetBValue(FPixels[static_cast<size_t>(y) * (FW + 1) + x]);
    }
    void Column(Integer x, Integer v) {
        COLORREF color = Shade(v);
        for (Integer y = 0; y <= FH; ++y)
            Set(x, y, color);
    }
    void Row(Integer y, Integer v) {
        COLORREF color = Shade(v);
        for (Integer x = 0; x <= FW; ++x)
            Set(x, y, color);
    }
    void Fill(COLORREF color) { std::fill(FPixels.begin(), FPixels.end(), color); }
    // Copies the pixels the bitmap shows into it.
    void WriteTo(TBitmap& bitmap) const {
        const Integer width = std::min(FW, bitmap.Width());
        const Integer height = std::min(FH, bitmap.Height());
        for (Integer y = 0; y < height; ++y) {
            auto* line = static_cast<std::uint32_t*>(bitmap.ScanLine(y));
            for (Integer x = 0; x < width; ++x) {
                COLORREF c = FPixels[static_cast<size_t>(y) * (FW + 1) + x];
                line[x] = (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
                          (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
            }
        }
    }

private:
    Integer FW, FH;
    COLORREF FBase;
    std::vector<COLORREF> FPixels;
};

// The bump curve of the bump shadings: z for a position s in -127 .. 128.
Integer Bump(Integer s, Integer depth) {
    return (s * s * s / 128 / 128) * depth / 128 + 128;
}

Integer PointDistance(Integer x1, Integer y1, Integer x2, Integer y2) {
    return static_cast<Integer>(std::nearbyint(std::hypot(double(x2 - x1), double(y2 - y1))));
}

void Metal(THeaderPixels& px, Integer w, Integer h, Integer light, bool toRight) {
    for (int stroke = 0; stroke < 251; ++stroke) {
        Integer cx = Random(w);
        Integer cy = Random(h);
        Integer n = Random(std::min(w, h) / 2);
        Integer v = light - Random(40);
        for (Integer k = 0; k < n; ++k) {
            if (cx - k > 0 && cy + k < h)
                px.SetShade(toRight ? cx - k : cx + k, cy + k, v);
            if (cx + k < w && cy - k > 0)
                px.SetShade(toRight ? cx + k : cx - k, cy - k, v);
        }
    }
    for (Integer x = 0; x <= w; ++x)
        for (Integer y = 0; y <= h; ++y)
            px.SetShade(x, y, light - (light + x * 120 / w + y * 120 / h - px.Blue(x, y)) / 2);
}

void Radial(THeaderPixels& px, Integer w, Integer h, Integer light, bool inner) {
    const Integer d0 = PointDistance(0, w, 0, h);
    if (d0 == 0) {
        // A square header has no radial extent: it shows the plain light level.
        px.Fill(px.Shade(light));
        return;
    }
    for (Integer x = 0; x <= w / 2; ++x)
        for (Integer y = 0; y <= h / 2; ++y) {
            Integer d = PointDistance(x, y, w / 2, h / 2);
            double ratio = inner ? double(d0 - d) / d0 : double(d) / d0;
            Integer v = static_cast<Integer>(std::nearbyint(ratio * light));
            px.SetShade(x, y, v);
            px.SetShade(w - x, h - y, v);
            px.SetShade(w - x, y, v);
            px.SetShade(x, h - y, v);
        }
}

} // namespace

void TCustomAdvPanel::BuildShadedHeader() {
    const bool top = FCaption->Position() == cpTop;
    FShadedHeader->SetPixelFormat(pf32bit);
    if (top)
        FShadedHeader->SetSize(Width(), FCaption->Height());
    else
        FShadedHeader->SetSize(FCaption->Height(), Height());
    Randomize();

    Integer w = FShadedHeader->Width();
    Integer h = FShadedHeader->Height();
    if (w <= 0)
        w = top ? 100 : 20;
    if (h <= 0)
        h = top ? 20 : 100;
    const Integer light = FCaption->ShadeLight() & 0xFF;
    const Integer grain = FCaption->ShadeGrain();
    THeaderPixels px(w, h, ColorToRGB(FCaption->Color()));

    switch (FCaption->ShadeType()) {
    case stNormal:
    case stXPCaption:
    case stBitmap:
    case stBitmapRStretch:
    case stBitmapLStretch:
        px.Fill(ColorToRGB(FCaption->Color()));
        break;
    case stNoise:
        for (Integer x = 0; x <= w; ++x)
            for (Integer y = 0; y <= h; ++y)
                px.SetShade(x, y, light - (Random(grain) + 128) / 2);
        break;
    case stDiagShade:
        for (Integer x = 0; x <= w; ++x)
            for (Integer y = 0; y <= h; ++y)
                px.SetShade(x, y, light - (light - px.Blue(x, y) + 129 * x / w + 129 * y / h) / 2);
        break;
    case stHShade:
    case stHShadeInv:
        for (Integer x = 0; x <= w; ++x) {
            Integer v = light - ((w - x) * 239 / w + 8) / 2;
            px.Column(FCaption->ShadeType() == stHShade ? x : w - x, v);
        }
        break;
    case stVShade:
    case stVShadeInv:
        for (Integer y = 0; y <= h; ++y) {
            Integer v = light - (y * 239 / h + 8) / 4;
            px.Row(FCaption->ShadeType() == stVShade ? y : h - y, v);
        }
        break;
    case stHBump:
        for (Integer x = 0; x <= w; ++x)
            px.Column(x, light - Bump((w - x) * 255 / w - 127, 120) / 2);
        break;
    case stVBump:
        for (Integer y = 0; y <= h; ++y)
            px.Row(y, light - Bump(y * 255 / h - 127, 120) / 2);
        break;
    case stSoftBump:
        for (Integer x = 0; x <= w; ++x)
            for (Integer y = 0; y <= h; ++y) {
                Integer sy = y * 255 / h - 127;
                Integer sx = (w - x) * 255 / w - 127;
                Integer z = (sy * sy * sy / 128 / 128 + sx * sx * sx / 128 / 128) * 120 / 128 + 128;
                px.SetShade(x, y, light - std::clamp(z, 8, 247) / 2);
            }
        break;
    case stHardBump: {
        for (Integer y = 0; y <= h; ++y)
            px.Row(y, light - Bump(y * 255 / h - 127, 112) / 2);
        // End caps; a header too narrow or too low for them has none.
        const Integer e = std::min(w / 6, 16);
        const Integer q = h * h / 4;
        if (e > 0 && q > 0)
            for (Integer x = 0; x <= w; ++x)
                for (Integer y = 0; y <= h; ++y) {
                    Integer dx = x - w / 2;
                    Integer dy = y - h / 2;
                    Integer t = dy * dy * e / q + w / 2 - e;
                    if (dx > t)
                        px.SetShade(x, y, light - ((w - x) * 128 / e + 8) / 2);
                    else if (dx + t < 0)
                        px.SetShade(x, y, light - (247 - x * 128 / e) / 2);
                }
        break;
    }
    case stLMetal:
    case stRMetal:
        Metal(px, w, h, light, FCaption->ShadeType() == stRMetal);
        break;
    case stIRadial:
    case stORadial:
        Radial(px, w, h, light, FCaption->ShadeType() == stIRadial);
        break;
    }
    if (!FShadedHeader->Empty())
        px.WriteTo(*FShadedHeader);
}

void TCustomAdvPanel::DrawCaptionBackground(TCanvas* canvas, TRect rect) {
    TRect r = rect;
    const TShadeType type = FCaption->ShadeType();
    if (type == stXPCaption) {
        if (IsThemed())
            if (HTHEME theme = VerIRID::OpenThemeData(Handle(), u"window"); theme != nullptr) {
                RECT box{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
                VerIRID::DrawThemeBackground(theme, canvas->Handle(), WP_CAPTION, 1, &box, nullptr);
                VerIRID::CloseThemeData(theme);
            }
        return;
    }
    if (type == stBitmap || type == stBitmapRStretch || type == stBitmapLStretch) {
        TBitmap* background = FCaption->Background();
        if (background->Empty())
            return;
        const Integer bw = background->Width();
        const Integer bh = background->Height();
        const bool top = FCaption->Position() == cpTop;
        if (type == stBitmap) {
            canvas->StretchDraw(r, background);
        } else if (type == stBitmapRStretch) {
            if (top) {
                canvas->Draw(r.Left, r.Top, background);
                canvas->CopyRect(TRect(bw, r.Top, r.Right, r.Bottom), background->Canvas(),
                                 TRect(bw - 3, 0, bw, bh));
            } else {
                canvas->Draw(r.Left, r.Bottom - bh, background);
                canvas->CopyRect(TRect(r.Left, r.Top, r.Right, r.Bottom - bh), background->Canvas(),
                                 TRect(0, 0, bw, 3));
            }
        } else if (top) {
            const Integer x0 = std::max(0, Width() - bw);
            canvas->Draw(r.Left + x0, r.Top, background);
            canvas->CopyRect(TRect(0, r.Top, x0, r.Bottom), background->Canvas(), TRect(0, 0, 2, bh));
        } else {
            canvas->Draw(r.Left, r.Top, background);
            canvas->CopyRect(TRect(0, r.Bottom - std::max(0, Height() - bh), r.Right, r.Bottom),
                             background->Canvas(), TRect(0, bh - 3, bw, bh));
        }
        return;
    }

    // The computed shadings: outlined by the caption's shape, the header copied through a clip.
    HDC dc = canvas->Handle();
    Integer &L = r.Left, &T = r.Top, &R = r.Right, &B = r.Bottom;
    auto pen = [&](TColor color) {
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(color);
    };
    auto line = [&](Integer x1, Integer y1, Integer x2, Integer y2) {
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    // The rounded outline: the lower half dark, the upper half light.
    auto roundedHalves = [&]() {
        pen(clGray);
        HRGN lower = CreateRoundRectRgn(L, T + (B - T) / 2, R, B, 32, 32);
        SelectClipRgn(dc, lower);
        canvas->RoundRect(L, T, R, B, 32, 32);
        pen(clWhite);
        HRGN upper = CreateRoundRectRgn(L, T, R, B - (B - T) / 2, 32, 32);
        SelectClipRgn(dc, upper);
        canvas->RoundRect(L, T, R, B, 32, 32);
        SelectClipRgn(dc, nullptr);
        DeleteObject(lower);
        DeleteObject(upper);
    };

    HRGN clip = nullptr;
    switch (FCaption->Shape()) {
    case csRectangle:
        if (!FCaption->Flat()) {
            pen(clGray);
            canvas->MoveTo(L, B - 1);
            canvas->LineTo(R - 1, B - 1);
            canvas->LineTo(R - 1, T);
            pen(clWhite);
            canvas->LineTo(L, T);
            canvas->LineTo(L, B - 1);
        }
        L += 1;
        T += 1;
        R -= 1;
        B -= 1;
        clip = CreateRectRgn(L, T, R, B);
        break;
    case csRounded:
        roundedHalves();
        pen(clGray);
        line(L + 16, B - 1, R - 16, B - 1);
        T += 1;
        clip = CreateRoundRectRgn(L, T, R, B, 32, 32);
        break;
    case csSemiRounded: {
        roundedHalves();
        pen(clWhite);
        canvas->MoveTo(L + (R - L) / 2, T);
        canvas->LineTo(L, T);
        canvas->LineTo(L, B - 1);
        pen(clGray);
        canvas->LineTo(R - 16, B - 1);
        T += 1;
        L += 1;
        clip = CreateRoundRectRgn(L, T, R, B, 32, 32);
        HRGN square = CreateRectRgn(L, T, R - (R - L) / 2, B - 1);
        CombineRgn(clip, clip, square, RGN_OR);
        DeleteObject(square);
        break;
    }
    }
    SelectClipRgn(dc, clip);
    canvas->Draw(L, T, FShadedHeader.get());
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}
