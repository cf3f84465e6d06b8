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
    void SettingsChanged(TObject*) { RequestRepaint(); }

    std::unique_ptr<TVrBevel> FBevel;
    std::unique_ptr<TVrPaletteEx> FPaletteEx;
    bool FActive = false;
    TColor FOutlineColor = clBlack;
    Integer FOutlineWidth = 0;
    VrControls::TVrDrawStyle FDrawStyle = VrControls::dsNormal;
};
