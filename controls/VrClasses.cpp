// The instrument controls' settings groups.
#include "controls/VrClasses.h"

#include "controls/VrSysUtils.h"
#include "platform/rtl/PropertyInfo.h"

using VrClasses::TVrBevelStyle;

DEFINE_CLASS(TVrPersistent)
DEFINE_CLASS(TVrBevel, PROPERTY(BorderWidth).Default(0),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(InnerShadow).Type(TypeInfoColor()).Default(clBtnShadow),
             PROPERTY(InnerHighlight).Type(TypeInfoColor()).Default(clBtnHighlight),
             PROPERTY(InnerWidth).Default(1), PROPERTY(InnerStyle).Default(VrClasses::bsLowered),
             PROPERTY(InnerOutline).Default(osNone), PROPERTY(InnerSpace).Default(1),
             PROPERTY(InnerColor).Type(TypeInfoColor()).Default(clBtnFace),
             PROPERTY(OuterShadow).Type(TypeInfoColor()).Default(clBtnShadow),
             PROPERTY(OuterHighlight).Type(TypeInfoColor()).Default(clBtnHighlight),
             PROPERTY(OuterWidth).Default(1), PROPERTY(OuterStyle).Default(VrClasses::bsRaised),
             PROPERTY(OuterOutline).Default(osOuter), PROPERTY(OuterSpace).Default(0),
             PROPERTY(OuterColor).Type(TypeInfoColor()).Default(clBtnFace), PROPERTY(Visible).Default(true))
DEFINE_CLASS(TVrPaletteEx, PROPERTY(Low1).Type(TypeInfoColor()).Default(clGreen),
             PROPERTY(High1).Type(TypeInfoColor()).Default(clLime),
             PROPERTY(Low2).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(High2).Type(TypeInfoColor()).Default(clBlack))

// ---- TVrPersistent ----

void TVrPersistent::EndUpdate() {
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

void TVrPersistent::Changed() {
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

// ---- TVrBevel ----

void TVrBevel::Assign(TPersistent* source) {
    auto* bevel = dynamic_cast<TVrBevel*>(source);
    if (bevel == nullptr) {
        TVrPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    SetBorderWidth(bevel->FBorderWidth);
    SetBorderColor(bevel->FBorderColor);
    SetInnerShadow(bevel->FInnerShadow);
    SetInnerHighlight(bevel->FInnerHighlight);
    SetInnerWidth(bevel->FInnerWidth);
    SetInnerStyle(bevel->FInnerStyle);
    SetInnerOutline(bevel->FInnerOutline);
    SetInnerSpace(bevel->FInnerSpace);
    SetInnerColor(bevel->FInnerColor);
    SetOuterShadow(bevel->FOuterShadow);
    SetOuterHighlight(bevel->FOuterHighlight);
    SetOuterWidth(bevel->FOuterWidth);
    SetOuterStyle(bevel->FOuterStyle);
    SetOuterOutline(bevel->FOuterOutline);
    SetOuterSpace(bevel->FOuterSpace);
    SetOuterColor(bevel->FOuterColor);
    SetVisible(bevel->FVisible);
    EndUpdate();
}

void TVrBevel::GetVisibleArea(TRect& rect) const {
    if (!FVisible)
        return;
    Integer inset = FBorderWidth + FOuterSpace + FInnerSpace;
    if (FOuterOutline != osNone)
        ++inset;
    if (FInnerOutline != osNone)
        ++inset;
    if (FOuterStyle != VrClasses::bsNone)
        inset += FOuterWidth;
    if (FInnerStyle != VrClasses::bsNone)
        inset += FInnerWidth;
    rect = TRect(rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset);
}

void TVrBevel::PaintLayer(TCanvas* canvas, TRect& rect, TVrBevelOutlineStyle outline, TVrBevelStyle style,
                          Integer width, TColor shadow, TColor highlight, Integer space, TColor color) const {
    if (outline == osOuter)
        DrawFrame3D(canvas, rect, clBlack, clBlack, 1);
    if (style == VrClasses::bsLowered)
        DrawFrame3D(canvas, rect, shadow, highlight, width);
    else if (style == VrClasses::bsRaised)
        DrawFrame3D(canvas, rect, highlight, shadow, width);
    if (outline == osInner)
        DrawFrame3D(canvas, rect, clBlack, clBlack, 1);
    DrawFrame3D(canvas, rect, color, color, space);
}

void TVrBevel::Paint(TCanvas* canvas, TRect& rect) const {
    if (!FVisible)
        return;
    if (FBorderWidth > 0)
        DrawFrame3D(canvas, rect, FBorderColor, FBorderColor, FBorderWidth);
    PaintLayer(canvas, rect, FOuterOutline, FOuterStyle, FOuterWidth, FOuterShadow, FOuterHighlight,
               FOuterSpace, FOuterColor);
    PaintLayer(canvas, rect, FInnerOutline, FInnerStyle, FInnerWidth, FInnerShadow, FInnerHighlight,
               FInnerSpace, FInnerColor);
}

// ---- TVrPaletteEx ----

void TVrPaletteEx::Assign(TPersistent* source) {
    auto* palette = dynamic_cast<TVrPaletteEx*>(source);
    if (palette == nullptr) {
        TVrPersistent::Assign(source);
        return;
    }
    BeginUpdate();
    SetLow1(palette->FLow1);
    SetLow2(palette->FLow2);
    SetHigh1(palette->FHigh1);
    SetHigh2(palette->FHigh2);
    EndUpdate();
}
