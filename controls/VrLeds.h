// TVrUserLed: a rectangular indicator lamp in a bevel, filled with a top-to-bottom gradient of its "on"
// or "off" colours, or painted by the application.
#pragma once

#include "controls/VrClasses.h"
#include "controls/VrControls.h"

using TVrUserLedDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect)>;

// Registers the LED for streaming, once.
void VrLedsStartup();

class TVrUserLed : public TVrGraphicControl {
    DECLARE_CLASS(TVrUserLed, TVrGraphicControl)

public:
    explicit TVrUserLed(TComponent* owner);
    ~TVrUserLed() override;

    TVrBevel* Bevel() const { return FBevel.get(); }
    void SetBevel(TVrBevel* value) { FBevel->Assign(value); }
    // High1/High2 light the lamp, Low1/Low2 show it off.
    TVrPaletteEx* PaletteEx() const { return FPaletteEx.get(); }
    void SetPaletteEx(TVrPaletteEx* value) { FPaletteEx->Assign(value); }
    // A change repaints and then fires OnChange; setting the current value does neither.
    bool Active() const { return FActive; }
    void SetActive(bool value);
    TColor OutlineColor() const { return FOutlineColor; }
    void SetOutlineColor(TColor value);
    Integer OutlineWidth() const { return FOutlineWidth; }
    void SetOutlineWidth(Integer value);
    VrControls::TVrDrawStyle DrawStyle() const { return FDrawStyle; }
    void SetDrawStyle(VrControls::TVrDrawStyle value);

    TNotifyEvent OnChange;
    // Paints the lamp in owner-draw style, after the client area was filled with Color.
    TVrUserLedDrawEvent OnDraw;

protected:
    void Paint() override;

private:
    // Everything the lamp's picture depends on: the size, the state, every setting that draws and the
    // colours as they resolve now (system colours follow the scheme).
    struct LampKey {
        Integer width = 0, height = 0;
        bool active = false;
        Integer outlineWidth = 0;
        COLORREF outline = 0, lampFrom = 0, lampTo = 0;
        Integer borderWidth = 0, innerWidth = 0, innerSpace = 0, outerWidth = 0, outerSpace = 0;
        int innerStyle = 0, innerOutline = 0, outerStyle = 0, outerOutline = 0;
        bool bevelVisible = false;
        COLORREF border = 0, innerShadow = 0, innerHighlight = 0, innerColor = 0, outerShadow = 0,
                 outerHighlight = 0, outerColor = 0;
        bool operator==(const LampKey&) const = default;
    };
    void SettingsChanged(TObject*) { RequestRepaint(); }
    LampKey CurrentLampKey();
    // Draws the outline, the bevel and the lamp into canvas within rect; answers the lamp's rectangle.
    TRect PaintLamp(TCanvas* canvas, TRect rect);

    std::unique_ptr<TVrBevel> FBevel;
    std::unique_ptr<TVrPaletteEx> FPaletteEx;
    bool FActive = false;
    TColor FOutlineColor = clBlack;
    Integer FOutlineWidth = 0;
    VrControls::TVrDrawStyle FDrawStyle = VrControls::dsNormal;
    // The lamp's last picture and what it was drawn from: a paint with the same key copies it.
    std::unique_ptr<TBitmap> FLampImage;
    LampKey FLampKey;
    bool FLampCovers = false; // the picture has every pixel of the control
};
