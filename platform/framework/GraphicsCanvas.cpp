// TCanvas: the framework's drawing surface over a DC, which selects its font, pen and brush only when a
// call needs them and again after they change.
#include "platform/framework/Graphics.h"

#include <iterator>
#include <vector>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TCanvas)

namespace {

constexpr int kPenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                             R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                             R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                             R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
static_assert(std::size(kPenModes) == pmNotXor + 1);

// The DT_ flag of each TTextFormats value, in its order. tfComposited asks for themed text, which is
// drawn plainly here.
constexpr UINT kTextFormatFlags[] = {
    DT_BOTTOM,       DT_CALCRECT,      DT_CENTER,        DT_EDITCONTROL,
    DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXPANDTABS,    DT_EXTERNALLEADING,
    DT_LEFT,         DT_MODIFYSTRING,  DT_NOCLIP,        DT_NOPREFIX,
    DT_RIGHT,        DT_RTLREADING,    DT_SINGLELINE,    DT_TOP,
    DT_VCENTER,      DT_WORDBREAK,     DT_HIDEPREFIX,    DT_NOFULLWIDTHCHARBREAK,
    DT_PREFIXONLY,   DT_TABSTOP,       DT_WORD_ELLIPSIS, 0};
static_assert(std::size(kTextFormatFlags) == tfComposited + 1);

std::vector<POINT> ToPoints(std::span<const TPoint> points) {
    return std::vector<POINT>(points.begin(), points.end());
}

} // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>()), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    // A change only marks the object for selecting again; the next call that draws with it selects it.
    // Painters change colours many times between two drawing calls, and a DC that still holds an object
    // that was freed meanwhile keeps its own reference to it.
    FFont->OnChange = [this](TObject*) { FState &= ~csFontValid; };
    FPen->OnChange = [this](TObject*) { FState &= ~csPenValid; };
    FBrush->OnChange = [this](TObject*) { FState &= ~csBrushValid; };
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

void TCanvas::Changed() {
    if (OnChange)
        OnChange(this);
}

void TCanvas::Changing() {
    if (OnChanging)
        OnChanging(this);
}

void TCanvas::RequiredState(unsigned required) {
    unsigned needed = required & ~FState;
    if (needed == 0)
        return;
    if (needed & csHandleValid) {
        CreateHandle();
        if (FHandle == nullptr)
            throw EInvalidOperation(Consts::SNoCanvasHandle);
    }
    if (needed & csFontValid)
        SelectFont();
    if (needed & csPenValid)
        SelectPen();
    if (needed & csBrushValid)
        SelectBrush();
    FState |= needed;
    FSelected |= needed & (csFontValid | csPenValid | csBrushValid);
}

void TCanvas::SelectFont() {
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
}

void TCanvas::SelectPen() {
    SelectObject(FHandle, FPen->Handle());
    SetROP2(FHandle, kPenModes[FPen->Mode()]);
}

void TCanvas::SelectBrush() {
    SelectObject(FHandle, FBrush->Handle());
    // Hatches leave the background alone; a solid brush is also the background of text.
    if (FBrush->Style() == bsSolid) {
        SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
        SetBkMode(FHandle, OPAQUE);
    } else {
        SetBkColor(FHandle, ~ColorToRGB(FBrush->Color()) & 0xFFFFFF);
        SetBkMode(FHandle, TRANSPARENT);
    }
}

void TCanvas::DeselectHandles() {
    // An object that changed since it was selected is still in the DC, so what was selected counts here,
    // not what is valid.
    if (FHandle != nullptr && FSelected != 0) {
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
        SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    }
    FState &= ~(csPenValid | csBrushValid | csFontValid);
    FSelected = 0;
}

HDC TCanvas::Handle() {
    Changing();
    RequiredState(csAllValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC value) {
    if (value == FHandle)
        return;
    if (FHandle != nullptr) {
        DeselectHandles();
        POINT pos{};
        if (GetCurrentPositionEx(FHandle, &pos))
            FPenPos = pos;
        FHandle = nullptr;
        FState &= ~csHandleValid;
    }
    if (value != nullptr) {
        FState |= csHandleValid;
        FHandle = value;
        MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
    }
}

void TCanvas::Refresh() {
    DeselectHandles();
}

void TCanvas::Lock() {
    FLock.lock();
    ++FLockCount;
}

void TCanvas::Unlock() {
    --FLockCount;
    FLock.unlock();
}

bool TCanvas::TryLock() {
    if (!FLock.try_lock())
        return false;
    ++FLockCount;
    return true;
}

// ---- Shapes ----

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequiredState(csHandleValid | csPenValid);
    ::Arc(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Chord(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Pie(FHandle, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Ellipse(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::MoveTo(int x, int y) {
    RequiredState(csHandleValid);
    MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    std::vector<POINT> p = ToPoints(points);
    ::Polyline(FHandle, p.data(), static_cast<int>(p.size()));
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    std::vector<POINT> p = ToPoints(points);
    ::Polygon(FHandle, p.data(), static_cast<int>(p.size()));
    Changed();
}

void TCanvas::PolyBezier(std::span<const TPoint> points) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    std::vector<POINT> p = ToPoints(points);
    ::PolyBezier(FHandle, p.data(), static_cast<DWORD>(p.size()));
    Changed();
}

void TCanvas::FillRect(const TRect& rect) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = rect;
    ::FillRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = rect;
    ::FrameRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = rect;
    ::DrawFocusRect(FHandle, &r);
    Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle fillStyle) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    // A system colour is resolved, so that the fill compares against what is on the surface.
    ExtFloodFill(FHandle, x, y, ColorToRGB(color),
                 fillStyle == fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    canvas->RequiredState(csHandleValid | csBrushValid);
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), canvas->FHandle, source.Left,
               source.Top, source.Width(), source.Height(), static_cast<DWORD>(FCopyMode));
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
    if (bitmap == nullptr || bitmap->Empty())
        return;
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    // The brush goes under the whole destination first; the picture then covers it everywhere except
    // where it has the colour given.
    RECT r = dest;
    ::FillRect(FHandle, &r, FBrush->Handle());
    TCanvas* sourceCanvas = bitmap->Canvas();
    sourceCanvas->RequiredState(csHandleValid);
    TransparentBlt(FHandle, dest.Left, dest.Top, dest.Width(), dest.Height(), sourceCanvas->FHandle,
                   source.Left, source.Top, source.Width(), source.Height(), ColorToRGB(color));
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (graphic == nullptr || graphic->Empty())
        return;
    Changing();
    RequiredState(csHandleValid);
    // Monochrome pictures take the brush and font colours.
    SetBkColor(FHandle, ColorToRGB(FBrush->Color()));
    SetTextColor(FHandle, ColorToRGB(FFont->Color()));
    graphic->Draw(this, Rect(x, y, x + graphic->Width(), y + graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (graphic == nullptr)
        return;
    Changing();
    RequiredState(csAllValid);
    graphic->Draw(this, rect);
    Changed();
}

// ---- Text ----

void TCanvas::TextOut(int x, int y, const String& text) {
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    ExtTextOutW(FHandle, x, y, static_cast<UINT>(FTextFlags), nullptr, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    MoveToEx(FHandle, x + TextWidth(text), y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const String& text) {
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
    if (FBrush->Style() != bsClear)
        options |= ETO_OPAQUE;
    RECT r = rect;
    ExtTextOutW(FHandle, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(TRect& rect, String& text, TTextFormat textFormat) {
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT flags = 0;
    for (int i = 0; i <= tfComposited; ++i)
        if (textFormat.Contains(static_cast<TTextFormats>(i)))
            flags |= kTextFormatFlags[i];
    RECT r = rect;
    if (flags & DT_MODIFYSTRING) {
        // DrawText may write an ellipsis of up to four characters past the text.
        std::vector<Char> buffer(text.begin(), text.end());
        buffer.resize(text.size() + 5, 0);
        DrawTextExW(FHandle, buffer.data(), static_cast<int>(text.size()), &r, flags, nullptr);
        text.assign(buffer.data());
    } else {
        DrawTextW(FHandle, text.c_str(), static_cast<int>(text.size()), &r, flags);
    }
    rect = r;
    Changed();
}

TSize TCanvas::TextExtent(const String& text) {
    RequiredState(csHandleValid | csFontValid);
    SIZE size{0, 0};
    GetTextExtentPoint32W(FHandle, text.c_str(), static_cast<int>(text.size()), &size);
    return TSize{size.cx, size.cy};
}

// ---- Properties ----

TPoint TCanvas::PenPos() {
    RequiredState(csHandleValid);
    POINT pos{};
    GetCurrentPositionEx(FHandle, &pos);
    return pos;
}

TColor TCanvas::Pixels(int x, int y) {
    RequiredState(csHandleValid);
    return static_cast<TColor>(GetPixel(FHandle, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    RequiredState(csHandleValid | csPenValid);
    SetPixel(FHandle, x, y, ColorToRGB(color));
    Changed();
}

TRect TCanvas::ClipRect() {
    RequiredState(csHandleValid);
    RECT r{};
    GetClipBox(FHandle, &r);
    return r;
}
