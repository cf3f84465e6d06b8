// The LED indicator: its painting and registration.
#include "controls/VrLeds.h"

#include "controls/VrSysUtils.h"
#include "platform/rtl/PropertyInfo.h"

using VrControls::dsNormal;
using VrControls::dsOwnerDraw;

DEFINE_CLASS(TVrUserLed, PROPERTY(Width).Default(20), PROPERTY(Height).Default(10), PROPERTY(Bevel),
             PROPERTY(PaletteEx), PROPERTY(Active).Default(false),
             PROPERTY(OutlineColor).Type(TypeInfoColor()).Default(clBlack), PROPERTY(OutlineWidth).Default(0),
             PROPERTY(DrawStyle).Default(dsNormal), EVENT(OnChange), EVENT(OnDraw))

void VrLedsStartup() {
    static bool started = false;
    if (started)
        return;
    started = true;
    VrControlsStartup();
    RegisterClasses({TVrUserLed::StaticClass()});
}

TVrUserLed::TVrUserLed(TComponent* owner)
    : TVrGraphicControl(owner), FBevel(std::make_unique<TVrBevel>()),
      FPaletteEx(std::make_unique<TVrPaletteEx>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable} -
                    TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), 20, 10);
    FPaletteEx->SetLow1(clMaroon);
    FPaletteEx->SetLow2(clBlack);
    FPaletteEx->SetHigh1(clRed);
    FPaletteEx->SetHigh2(clBlack);
    FBevel->SetInnerStyle(VrClasses::bsNone);
    FBevel->SetInnerHighlight(clLime);
    FBevel->SetInnerShadow(clGreen);
    FPaletteEx->OnChange = [this](TObject* sender) { SettingsChanged(sender); };
    FBevel->OnChange = [this](TObject* sender) { SettingsChanged(sender); };
}

TVrUserLed::~TVrUserLed() = default;

void TVrUserLed::SetActive(bool value) {
    if (FActive == value)
        return;
    FActive = value;
    RequestRepaint();
    if (OnChange)
        OnChange(this);
}

void TVrUserLed::SetOutlineColor(TColor value) {
    if (FOutlineColor == value)
        return;
    FOutlineColor = value;
    RequestRepaint();
}

void TVrUserLed::SetOutlineWidth(Integer value) {
    if (FOutlineWidth == value)
        return;
    FOutlineWidth = value;
    RequestRepaint();
}

void TVrUserLed::SetDrawStyle(VrControls::TVrDrawStyle value) {
    if (FDrawStyle == value)
        return;
    FDrawStyle = value;
    RequestRepaint();
}

TVrUserLed::LampKey TVrUserLed::CurrentLampKey() {
    LampKey key;
    key.width = Width();
    key.height = Height();
    key.active = FActive;
    key.outlineWidth = FOutlineWidth;
    key.outline = ColorToRGB(FOutlineColor);
    key.lampFrom = ColorToRGB(FActive ? FPaletteEx->High1() : FPaletteEx->Low1());
    key.lampTo = ColorToRGB(FActive ? FPaletteEx->High2() : FPaletteEx->Low2());
    const TVrBevel& bevel = *FBevel;
    key.borderWidth = bevel.BorderWidth();
    key.innerWidth = bevel.InnerWidth();
    key.innerSpace = bevel.InnerSpace();
    key.outerWidth = bevel.OuterWidth();
    key.outerSpace = bevel.OuterSpace();
    key.innerStyle = bevel.InnerStyle();
    key.innerOutline = bevel.InnerOutline();
    key.outerStyle = bevel.OuterStyle();
    key.outerOutline = bevel.OuterOutline();
    key.bevelVisible = bevel.Visible();
    key.border = ColorToRGB(bevel.BorderColor());
    key.innerShadow = ColorToRGB(bevel.InnerShadow());
    key.innerHighlight = ColorToRGB(bevel.InnerHighlight());
    key.innerColor = ColorToRGB(bevel.InnerColor());
    key.outerShadow = ColorToRGB(bevel.OuterShadow());
    key.outerHighlight = ColorToRGB(bevel.OuterHighlight());
    key.outerColor = ColorToRGB(bevel.OuterColor());
    return key;
}

TRect TVrUserLed::PaintLamp(TCanvas* canvas, TRect rect) {
    if (FOutlineWidth > 0)
        DrawFrame3D(canvas, rect, FOutlineColor, FOutlineColor, FOutlineWidth);
    FBevel->Paint(canvas, rect);
    if (FActive)
        DrawGradient(canvas, rect, FPaletteEx->High1(), FPaletteEx->High2(), 1, 1);
    else
        DrawGradient(canvas, rect, FPaletteEx->Low1(), FPaletteEx->Low2(), 1, 1);
    return rect;
}

void TVrUserLed::Paint() {
    TRect rect = ClientRect();
    if (FDrawStyle == dsOwnerDraw) {
        ClearClientCanvas();
        if (OnDraw)
            OnDraw(this, Canvas(), rect);
        return;
    }
    // The picture stands for the paint only on a colour screen or bitmap (a printer gets the drawing, a
    // monochrome bitmap its own conversion of each colour) and only when it owes nothing to what lies
    // beneath: solid lines copied onto the surface, and a lamp left inside the frames that is not empty,
    // so that the frames and the gradient drew every pixel. Anything else is drawn straight onto the
    // control.
    TPen* pen = Canvas()->Pen();
    HDC dc = Canvas()->Handle();
    if (pen->Style() != psSolid || pen->Mode() != pmCopy || GetDeviceCaps(dc, TECHNOLOGY) != DT_RASDISPLAY ||
        GetDeviceCaps(dc, BITSPIXEL) != 32) {
        FLampImage.reset();
        PaintLamp(Canvas(), rect);
        return;
    }
    LampKey key = CurrentLampKey();
    if (!FLampImage || !(key == FLampKey)) {
        if (!FLampImage)
            FLampImage = std::make_unique<TBitmap>();
        FLampImage->SetSize(rect.Width(), rect.Height());
        FLampCovers = !PaintLamp(FLampImage->Canvas(), rect).IsEmpty();
        FLampKey = key;
    }
    if (!FLampCovers) {
        PaintLamp(Canvas(), rect);
        return;
    }
    BitBlt(dc, 0, 0, rect.Width(), rect.Height(), FLampImage->Canvas()->Handle(), 0, 0, SRCCOPY);
}
