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

void TVrUserLed::Paint() {
    TRect rect = ClientRect();
    if (FDrawStyle == dsOwnerDraw) {
        ClearClientCanvas();
        if (OnDraw)
            OnDraw(this, Canvas(), rect);
        return;
    }
    if (FOutlineWidth > 0)
        DrawFrame3D(Canvas(), rect, FOutlineColor, FOutlineColor, FOutlineWidth);
    FBevel->Paint(Canvas(), rect);
    if (FActive)
        DrawGradient(Canvas(), rect, FPaletteEx->High1(), FPaletteEx->High2(), 1, 1);
    else
        DrawGradient(Canvas(), rect, FPaletteEx->Low1(), FPaletteEx->Low2(), 1, 1);
}
