// The caption dialect's colour names, its gradient fill, its plain-text routine and the small drawing and
// version helpers of the Office-style buttons.
#include "render/CaptionHTML.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/rtl/Convert.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"

// ---- Colour names ----

namespace {

struct NamedColor {
    const Char* name;
    TColor color;
};

constexpr NamedColor CaptionColors[] = {
    {u"clblack", TColor(0x00000000)},
    {u"clmaroon", TColor(0x00000080)},
    {u"clgreen", TColor(0x00008000)},
    {u"clolive", TColor(0x00008080)},
    {u"clnavy", TColor(0x00800000)},
    {u"clpurple", TColor(0x00800080)},
    {u"clteal", TColor(0x00808000)},
    {u"clgray", TColor(0x00808080)},
    {u"clsilver", TColor(0x00C0C0C0)},
    {u"clred", TColor(0x000000FF)},
    {u"cllime", TColor(0x0000FF00)},
    {u"clyellow", TColor(0x0000FFFF)},
    {u"clblue", TColor(0x00FF0000)},
    {u"clfuchsia", TColor(0x00FF00FF)},
    {u"claqua", TColor(0x00FFFF00)},
    {u"clwhite", TColor(0x00FFFFFF)},
    {u"clbackground", TColor(0xFF000001)},
    {u"clactivecaption", TColor(0xFF000002)},
    {u"clinactivecaption", TColor(0xFF000003)},
    {u"clmenu", TColor(0xFF000004)},
    {u"clwindow", TColor(0xFF000005)},
    {u"clwindowframe", TColor(0xFF000006)},
    {u"clmenutext", TColor(0xFF000007)},
    {u"clwindowtext", TColor(0xFF000008)},
    {u"clcaptiontext", TColor(0xFF000009)},
    {u"clactiveborder", TColor(0xFF00000A)},
    {u"clinactiveborder", TColor(0xFF00000B)},
    {u"clappworkspace", TColor(0xFF00000C)},
    {u"clhighlight", TColor(0xFF00000D)},
    {u"clhighlighttext", TColor(0xFF00000E)},
    {u"clbtnface", TColor(0xFF00000F)},
    {u"clbtnshadow", TColor(0xFF000010)},
    {u"clgraytext", TColor(0xFF000011)},
    {u"clbtntext", TColor(0xFF000012)},
    {u"clinactivecaptiontext", TColor(0xFF000013)},
    {u"clbtnhighlight", TColor(0xFF000014)},
    {u"cl3ddkshadow", TColor(0xFF000015)},
    {u"cl3dlight", TColor(0xFF000016)},
    {u"clinfotext", TColor(0xFF000017)},
    {u"clinfobk", TColor(0xFF000018)},
};

} // namespace

TColor CaptionHTMLColor(const String& Value) {
    for (const NamedColor& entry : CaptionColors)
        if (Value == entry.name)
            return entry.color;
    return clBlack;
}

// ---- Drawing helpers ----

void DrawGradientRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect Rect,
                      Integer Steps, TColor BorderColor) {
    int steps = Steps <= 0 ? 1 : Steps;
    COLORREF from = ColorToRGB(FromColor), to = ColorToRGB(ToColor);
    double size = double(Horizontal ? Rect.Width() : Rect.Height()) / steps;
    auto channel = [&](int shift, int i) {
        int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
        return int(std::lround(a + double(i) * (b - a) / steps)) & 0xFF;
    };
    for (int i = 0; i < steps; ++i) {
        TColor color = TColor(channel(0, i) | (channel(8, i) << 8) | (channel(16, i) << 16));
        Canvas->Pen()->SetColor(color);
        Canvas->Brush()->SetColor(color);
        Canvas->Brush()->SetStyle(bsSolid);
        long start = std::lround(i * size);
        long end = start + long(size) + 1;
        TRect band = Horizontal ? TRect(Rect.Left + start, Rect.Top, Rect.Left + end, Rect.Bottom)
                                : TRect(Rect.Left, Rect.Top + start, Rect.Right, Rect.Top + end);
        band.Right = std::min(band.Right, Rect.Right);
        band.Bottom = std::min(band.Bottom, Rect.Bottom);
        if (!band.IsEmpty())
            Canvas->FillRect(band);
    }
    if (BorderColor != clNone) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Rectangle(Rect);
    }
}

bool IsXPOrLater() {
    DWORD version = GetVersion();
    DWORD major = version & 0xFF, minor = (version >> 8) & 0xFF;
    return major > 5 || (major == 5 && minor != 0);
}

void DrawDottedFrame(TCanvas* Canvas, TRect Rect, TColor Color) {
    Canvas->Pen()->SetColor(Color);
    LOGBRUSH brush{BS_SOLID, ColorToRGB(Color), 0};
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    HDC dc = Canvas->Handle();
    HGDIOBJ previous = SelectObject(dc, pen);
    int right = Rect.Right - 1, bottom = Rect.Bottom - 1;
    MoveToEx(dc, Rect.Left, Rect.Top, nullptr);
    LineTo(dc, right, Rect.Top);
    LineTo(dc, right, bottom);
    LineTo(dc, Rect.Left, bottom);
    LineTo(dc, Rect.Left, Rect.Top);
    // LineTo leaves out its last pixel; the corner the frame closes on is set by hand.
    SetPixel(dc, Rect.Left, Rect.Top, ColorToRGB(Color));
    SelectObject(dc, previous);
    DeleteObject(pen);
}

Integer FileVersionMS(const String& FileName) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(FileName.c_str(), &handle);
    if (size == 0)
        return -1;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(FileName.c_str(), handle, size, block.data()) ||
        !VerQueryValueW(block.data(), u"\\", reinterpret_cast<LPVOID*>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO) || info->dwSignature != 0xFEEF04BD)
        return -1;
    return Integer(info->dwFileVersionMS);
}

// ---- Plain text ----

String CaptionHTMLToPlainText(const String& Text) {
    String text = Text;
    for (StringView open : {u"<z>", u"<Z>"}) {
        String close = String(u"</") + String(open.substr(1));
        for (;;) {
            size_t start = text.find(open);
            if (start == String::npos)
                break;
            size_t end = text.find(close, start + open.size());
            if (end == String::npos)
                break; // an opening hidden tag without its end keeps the rest
            text.erase(start, end + close.size() - start);
        }
    }
    return MiniHTMLToPlainText(text);
}
