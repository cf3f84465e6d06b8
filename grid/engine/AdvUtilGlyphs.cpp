// The grid's button painters (drop-down, push and spin buttons in four looks), its colour arithmetic,
// transparent bitmap drawing and the questions about themed drawing.
#include "grid/engine/AdvUtil.h"

#include <algorithm>
#include <cmath>

#include "platform/framework/Graphics.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"
#include "render/VerIRID.h"

namespace {

const TColorTone& ToneOfState(const TColorTones& tones, Integer state) {
    switch (state) {
    case 1:
        return tones.Hover;
    case 2:
        return tones.Selected;
    case 3:
        return tones.Disabled;
    default:
        return tones.Background;
    }
}

void SetPenAndBrush(TCanvas* canvas, TColor color) {
    canvas->Pen()->SetColor(color);
    canvas->Brush()->SetColor(color);
}

// Draws one themed part through the shared binding. False when the binding has no theme for the class
// (visual styles off or the library missing), so that the caller can draw the classic part instead.
bool DrawThemedPart(TCanvas* canvas, HWND window, const Char* themeClass, int part, int state,
                    const TRect& rect) {
    if (!VerIRID::ThemeLibraryLoaded() || VerIRID::OpenThemeData == nullptr ||
        VerIRID::DrawThemeBackground == nullptr || VerIRID::CloseThemeData == nullptr)
        return false;
    HTHEME theme = VerIRID::OpenThemeData(window, themeClass);
    if (theme == nullptr)
        return false;
    RECT r = rect;
    VerIRID::DrawThemeBackground(theme, canvas->Handle(), part, state, &r, nullptr);
    VerIRID::CloseThemeData(theme);
    return true;
}

void DrawFramePart(TCanvas* canvas, const TRect& rect, UINT kind, UINT flags) {
    RECT r = rect;
    DrawFrameControl(canvas->Handle(), &r, kind, flags);
}

} // namespace

void DrawComboButton(TCanvas* canvas, HWND window, const TRect& rect, const TColorTones& tones, Integer state,
                     Integer look) {
    TRect r(rect.Right - 17 - 2, rect.Top + 1, rect.Right - 2, rect.Bottom - 1);
    const UINT inactive = state == 3 ? DFCS_INACTIVE : 0;
    switch (look) {
    case ButtonLookThemed:
        if (DrawThemedPart(canvas, window, u"combobox", CP_DROPDOWNBUTTON,
                           state == 3 ? CBXS_DISABLED : CBXS_NORMAL, r))
            break;
        DrawFramePart(canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | inactive);
        break;
    case ButtonLookClassic:
        DrawFramePart(canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | inactive);
        break;
    case ButtonLookFlat:
        DrawFramePart(canvas, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | inactive | DFCS_FLAT);
        break;
    case ButtonLookCustom: {
        r.Left += 3;
        SetPenAndBrush(canvas, ToneOfState(tones, state).BrushColor);
        canvas->Rectangle(r);
        canvas->Pen()->SetColor(tones.Background.BorderColor);
        canvas->MoveTo(r.Left + 1, r.Top);
        canvas->LineTo(r.Left + 1, r.Bottom);
        SetPenAndBrush(canvas, tones.Background.TextColor);
        canvas->Polygon(
            {TPoint(r.Left + 5, r.Top + 8), TPoint(r.Left + 11, r.Top + 8), TPoint(r.Left + 8, r.Top + 11)});
        break;
    }
    default:
        break;
    }
}

void DrawPushButton(TCanvas* canvas, HWND window, const TRect& rect, const String& caption,
                    const TColorTones& tones, Integer state, Integer look) {
    UINT flags = DFCS_BUTTONPUSH;
    if (state == 1)
        flags |= DFCS_HOT;
    else if (state == 2)
        flags |= DFCS_PUSHED;
    else if (state == 3)
        flags |= DFCS_INACTIVE;
    switch (look) {
    case ButtonLookThemed:
        if (!DrawThemedPart(canvas, window, u"button", BP_PUSHBUTTON, std::clamp<Integer>(state, 0, 3) + 1,
                            rect))
            DrawFramePart(canvas, rect, DFC_BUTTON, flags);
        break;
    case ButtonLookClassic:
        DrawFramePart(canvas, rect, DFC_BUTTON, flags);
        break;
    case ButtonLookFlat:
        DrawFramePart(canvas, rect, DFC_BUTTON, flags | DFCS_FLAT);
        break;
    case ButtonLookCustom: {
        const TColorTone& tone = ToneOfState(tones, state);
        canvas->Brush()->SetColor(tone.BrushColor);
        canvas->Pen()->SetColor(tone.BorderColor);
        canvas->Rectangle(rect);
        break;
    }
    default:
        break;
    }
    if (caption.empty())
        return;
    canvas->Brush()->SetStyle(bsClear);
    const Integer x = rect.Left + (rect.Width() - canvas->TextWidth(caption)) / 2;
    canvas->TextOut(x, rect.Top + 4, caption);
}

void DrawSpinButtons(TCanvas* canvas, HWND window, const TRect& rect, const TColorTones& tones, Integer state,
                     Integer look) {
    const TRect r(rect.Right - 15 - 1, rect.Top - 1, rect.Right - 1, rect.Bottom - 1);
    const Integer middle = r.Top + r.Height() / 2;
    const TRect up(r.Left, r.Top, r.Right, middle);
    const UINT inactive = state == 3 ? DFCS_INACTIVE : 0;
    const auto classic = [&](UINT flat) {
        DrawFramePart(canvas, up, DFC_SCROLL, DFCS_SCROLLUP | inactive | flat);
        DrawFramePart(canvas, TRect(r.Left, middle + 1, r.Right, r.Bottom), DFC_SCROLL,
                      DFCS_SCROLLDOWN | inactive | flat);
    };
    switch (look) {
    case ButtonLookThemed: {
        const int themeState = state == 3 ? UPS_DISABLED : UPS_NORMAL;
        if (!DrawThemedPart(canvas, window, u"spin", SPNP_UP, themeState, up))
            classic(0);
        else
            DrawThemedPart(canvas, window, u"spin", SPNP_DOWN, themeState,
                           TRect(r.Left, middle, r.Right, r.Bottom));
        break;
    }
    case ButtonLookClassic:
        classic(0);
        break;
    case ButtonLookFlat:
        classic(DFCS_FLAT);
        break;
    case ButtonLookCustom: {
        SetPenAndBrush(canvas, ToneOfState(tones, state).BrushColor);
        canvas->Rectangle(up);
        canvas->Rectangle(r.Left, middle + 1, r.Right, r.Bottom);
        SetPenAndBrush(canvas, clBlack);
        const Integer left = r.Left;
        canvas->Polygon(
            {TPoint(left + 5, r.Top + 5), TPoint(left + 9, r.Top + 5), TPoint(left + 7, r.Top + 3)});
        canvas->Polygon(
            {TPoint(left + 5, middle + 2), TPoint(left + 9, middle + 2), TPoint(left + 7, middle + 4)});
        break;
    }
    default:
        break;
    }
}

TColor HalveColor(TColor color) {
    return static_cast<TColor>((ColorToRGB(color) >> 1) & 0x007F7F7F);
}

TColor ChangeColorPercent(TColor color, Integer percent) {
    const COLORREF rgb = ColorToRGB(color);
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double channel = static_cast<double>((rgb >> shift) & 0xFF);
        const double changed = std::nearbyint(channel + channel * percent / 100.0);
        result |= static_cast<TColor>(std::clamp(changed, 0.0, 255.0)) << shift;
    }
    return result;
}

TColor BlendColorsAt(TColor color, TColor toColor, Integer start, Integer position, Integer end) {
    if (toColor == clNone)
        return color;
    const COLORREF from = ColorToRGB(color);
    const COLORREF to = ColorToRGB(toColor);
    // An empty range has no blend to go along; it stays at its start.
    if (end == start)
        return static_cast<TColor>(from);
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double c1 = static_cast<double>((from >> shift) & 0xFF);
        const double c2 = static_cast<double>((to >> shift) & 0xFF);
        const double channel = std::nearbyint(c1 + (c2 - c1) / (end - start) * position);
        result |= static_cast<TColor>(std::clamp(channel, 0.0, 255.0)) << shift;
    }
    return result;
}

void DrawTransparentBitmap(TCanvas* canvas, TBitmap* bitmap, TColor backgroundColor, const TRect& rect) {
    if (bitmap == nullptr || bitmap->Empty())
        return;
    const TRect whole(0, 0, bitmap->Width(), bitmap->Height());
    TBitmap copy(bitmap->Width(), bitmap->Height());
    copy.Canvas()->Brush()->SetColor(backgroundColor);
    copy.Canvas()->BrushCopy(whole, bitmap, whole, bitmap->Canvas()->Pixels(0, 0));
    canvas->CopyRect(TRect(rect.Left, rect.Top, rect.Left + whole.Right, rect.Top + whole.Bottom),
                     copy.Canvas(), whole);
}

void DrawResourceBitmap(TCanvas* canvas, TColor backgroundColor, const TRect& rect, const String& name) {
    TBitmap bitmap;
    bitmap.LoadFromResourceName(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)), name);
    DrawTransparentBitmap(canvas, &bitmap, backgroundColor, rect);
}

void FillRectColor(TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Brush()->SetColor(color);
    canvas->FillRect(rect);
}

void DrawSmallTriangle(TCanvas* canvas, Integer x, Integer y, TColor color) {
    SetPenAndBrush(canvas, color);
    canvas->Polygon({TPoint(x - 3, y), TPoint(x + 3, y), TPoint(x, y + 3)});
}

bool SetLayeredWindowAttributesDyn(HWND hwnd, COLORREF key, Byte alpha, DWORD flags) {
    using SetLayeredWindowAttributesFunction = BOOL (*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE library = GetModuleHandleW(u"USER32.DLL");
    if (library == nullptr)
        return true;
    auto set = reinterpret_cast<SetLayeredWindowAttributesFunction>(
        GetProcAddress(library, "SetLayeredWindowAttributes"));
    if (set == nullptr)
        return true;
    return set(hwnd, key, alpha, flags) != FALSE;
}

bool ThemedDrawingActive() {
    return IsWinXPOrLater() && VerIRID::ThemeLibraryLoaded() && VerIRID::IsThemeActive != nullptr &&
           VerIRID::IsThemeActive() && IsComCtl6OrLater();
}

Integer CurrentXPColorScheme() {
    if (!IsWinXPOrLater() || VerIRID::IsThemeActive == nullptr || !VerIRID::IsThemeActive() ||
        VerIRID::GetCurrentThemeName == nullptr)
        return 0;
    WCHAR fileName[255] = {};
    WCHAR colorName[255] = {};
    WCHAR sizeName[255] = {};
    if (VerIRID::GetCurrentThemeName(fileName, 255, colorName, 255, sizeName, 255) != S_OK)
        return 0;
    colorName[254] = 0;
    return XPColorSchemeOf(String(colorName));
}
