// The instrument controls' persistent settings groups: a base with update counting and a change event,
// the two-layer bevel and the four-colour palette.
#pragma once

#include "platform/framework/Graphics.h"

// The bevel's styles share their names with the framework's border and bevel styles.
namespace VrClasses {
ZELMOR_ENUM(TVrBevelStyle, bsNone, bsLowered, bsRaised)
} // namespace VrClasses
ZELMOR_ENUM(TVrBevelOutlineStyle, osOuter, osInner, osNone)

// A settings group that tells its owner (OnChange) of every change made outside an update.
class TVrPersistent : public TPersistent {
    DECLARE_CLASS(TVrPersistent, TPersistent)

public:
    void BeginUpdate() { ++FUpdateCount; }
    // Counts down, never below 0, and then reports a change; an EndUpdate without BeginUpdate fires too.
    void EndUpdate();

    TNotifyEvent OnChange;

protected:
    // Fires OnChange unless an update is open.
    void Changed();

    Integer FUpdateCount = 0;
};

// A bevel painted inward from a rectangle: a border, then an outer and an inner layer, each with its
// outline, its raised or lowered edge and its space.
class TVrBevel : public TVrPersistent {
    DECLARE_CLASS(TVrBevel, TVrPersistent)

public:
    TVrBevel() = default;
    // Another bevel's seventeen values in one change; other sources go to the framework.
    void Assign(TPersistent* source) override;

    // Shrinks rect by everything the bevel paints; a hidden bevel leaves it.
    void GetVisibleArea(TRect& rect) const;
    // Paints the bevel and shrinks rect to what it leaves inside; nothing when hidden.
    void Paint(TCanvas* canvas, TRect& rect) const;

    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer value) { Set(FBorderWidth, value); }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value) { Set(FBorderColor, value); }
    TColor InnerShadow() const { return FInnerShadow; }
    void SetInnerShadow(TColor value) { Set(FInnerShadow, value); }
    TColor InnerHighlight() const { return FInnerHighlight; }
    void SetInnerHighlight(TColor value) { Set(FInnerHighlight, value); }
    Integer InnerWidth() const { return FInnerWidth; }
    void SetInnerWidth(Integer value) { Set(FInnerWidth, value); }
    VrClasses::TVrBevelStyle InnerStyle() const { return FInnerStyle; }
    void SetInnerStyle(VrClasses::TVrBevelStyle value) { Set(FInnerStyle, value); }
    TVrBevelOutlineStyle InnerOutline() const { return FInnerOutline; }
    void SetInnerOutline(TVrBevelOutlineStyle value) { Set(FInnerOutline, value); }
    Integer InnerSpace() const { return FInnerSpace; }
    void SetInnerSpace(Integer value) { Set(FInnerSpace, value); }
    TColor InnerColor() const { return FInnerColor; }
    void SetInnerColor(TColor value) { Set(FInnerColor, value); }
    TColor OuterShadow() const { return FOuterShadow; }
    void SetOuterShadow(TColor value) { Set(FOuterShadow, value); }
    TColor OuterHighlight() const { return FOuterHighlight; }
    void SetOuterHighlight(TColor value) { Set(FOuterHighlight, value); }
    Integer OuterWidth() const { return FOuterWidth; }
    void SetOuterWidth(Integer value) { Set(FOuterWidth, value); }
    VrClasses::TVrBevelStyle OuterStyle() const { return FOuterStyle; }
    void SetOuterStyle(VrClasses::TVrBevelStyle value) { Set(FOuterStyle, value); }
    TVrBevelOutlineStyle OuterOutline() const { return FOuterOutline; }
    void SetOuterOutline(TVrBevelOutlineStyle value) { Set(FOuterOutline, value); }
    Integer OuterSpace() const { return FOuterSpace; }
    void SetOuterSpace(Integer value) { Set(FOuterSpace, value); }
    TColor OuterColor() const { return FOuterColor; }
    void SetOuterColor(TColor value) { Set(FOuterColor, value); }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { Set(FVisible, value); }

private:
    template <class T> void Set(T& field, T value) {
        if (field == value)
            return;
        field = value;
        Changed();
    }
    // One layer: outline outside, edge, outline inside, space.
    void PaintLayer(TCanvas* canvas, TRect& rect, TVrBevelOutlineStyle outline,
                    VrClasses::TVrBevelStyle style, Integer width, TColor shadow, TColor highlight,
                    Integer space, TColor color) const;

    Integer FBorderWidth = 0;
    TColor FBorderColor = clBtnFace;
    TColor FInnerShadow = clBtnShadow;
    TColor FInnerHighlight = clBtnHighlight;
    Integer FInnerWidth = 1;
    VrClasses::TVrBevelStyle FInnerStyle = VrClasses::bsLowered;
    TVrBevelOutlineStyle FInnerOutline = osNone;
    Integer FInnerSpace = 1;
    TColor FInnerColor = clBtnFace;
    TColor FOuterShadow = clBtnShadow;
    TColor FOuterHighlight = clBtnHighlight;
    Integer FOuterWidth = 1;
    VrClasses::TVrBevelStyle FOuterStyle = VrClasses::bsRaised;
    TVrBevelOutlineStyle FOuterOutline = osOuter;
    Integer FOuterSpace = 0;
    TColor FOuterColor = clBtnFace;
    bool FVisible = true;
};

// Two colour pairs: Low1/Low2 and High1/High2.
class TVrPaletteEx : public TVrPersistent {
    DECLARE_CLASS(TVrPaletteEx, TVrPersistent)

public:
    TVrPaletteEx() = default;
    // Another palette's four colours in one change; other sources go to the framework.
    void Assign(TPersistent* source) override;

    TColor Low1() const { return FLow1; }
    void SetLow1(TColor value) { Set(FLow1, value); }
    TColor Low2() const { return FLow2; }
    void SetLow2(TColor value) { Set(FLow2, value); }
    TColor High1() const { return FHigh1; }
    void SetHigh1(TColor value) { Set(FHigh1, value); }
    TColor High2() const { return FHigh2; }
    void SetHigh2(TColor value) { Set(FHigh2, value); }

private:
    void Set(TColor& field, TColor value) {
        if (field == value)
            return;
        field = value;
        Changed();
    }

    TColor FLow1 = clGreen;
    TColor FLow2 = clBlack;
    TColor FHigh1 = clLime;
    TColor FHigh2 = clBlack;
};
