// The grid's styled combo box: a combo box with an optional flat border that lights up under the mouse or
// with the focus, custom border, focus-border and button colours, a themed or classic drop-down button, a
// focus colour and a caption label beside it. The grid's combo editor and the combo of form controls in
// cells derive from it. The painting routines the styled combo of the controls shares live here too.
#pragma once

#include <memory>

#include "platform/framework/StdButtons.h"
#include "platform/framework/StdLists.h"

namespace AsgCombo {
ZELMOR_ENUM(TLabelPosition, lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft,
            lpLeftCenterLeft, lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter,
            lpRighBottom)
} // namespace AsgCombo

// ---- Painting shared by the styled combo boxes ----

// The visual-style state of the drop-down button: disabled, pressed while a mouse button is held with the
// list dropped, hot while none is held over the button with the list closed, else normal.
int ComboButtonThemeState(bool enabled, bool held, bool dropped, bool hover);
// A drop-down button in custom colours: r filled (outline alike) one pixel up and left, a line in border
// colour along its left and the 7-pixel arrow in arrow colour.
void PaintComboColourButton(HDC dc, const RECT& r, TColor fill, TColor border, TColor arrow);
// Left or right mouse button held now.
bool ComboMouseButtonHeld();

// What a combo's border painting reads.
struct TComboFrameLook {
    bool enabled;
    bool themed;         // visual styles possible
    bool disabledBorder; // keep the normal border when disabled
    bool focused;
    bool hot; // mouse over or the active control, with FocusBorder
    bool flat;
    TColor borderColor;
    TColor focusBorderColor;
    TColor flatLineColor;
    TColor parentColor;
    TColor color;
    Integer buttonWidth;
    Integer height;
};
// Frames the window rectangle r: $B99D7F when disabled and themed without DisabledBorder, the focus or
// border colour, or the flat look's rings (sunken when hot) with the flat underline.
void PaintComboFrame(HDC dc, RECT r, const TComboFrameLook& look);

// A flat combo being disabled keeps its colour and parent-colour flag and shows its parent's colour;
// enabled again, it takes both back.
void SwapFlatComboColours(TControl* combo, bool enabling, TColor& oldColor, bool& oldParentColor);
// A combo's caption label: owned by the combo, on its parent, focusing it, in font, with the combo's
// ParentFont.
TLabel* CreateComboLabel(TWinControl* combo, TFont* font);

// ---- The combo ----
class TAsgCustomCombo : public TCustomComboBox {
    DECLARE_CLASS(TAsgCustomCombo, TCustomComboBox)

public:
    explicit TAsgCustomCombo(TComponent* owner);
    ~TAsgCustomCombo() override;
    void Init();
    // Selects the item with exactly this text; nothing when there is none.
    void SelectItem(const String& text);
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;

    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    // Writes outside 14 to 32 are ignored.
    Integer ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(Integer value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value) { FFocusBorder = value; }
    Integer DropWidth() const { return FDropWidth; }
    void SetDropWidth(Integer value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool value);
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value) { FFocusBorderColor = value; }
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value) { FDisabledBorder = value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    String LabelCaption() const;
    // The first caption makes the label.
    void SetLabelCaption(const String& value);
    AsgCombo::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AsgCombo::TLabelPosition value);
    Integer LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(Integer value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool value);
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool value);
    TFont* LabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* value);
    TLabel* ComboLabel() const { return FLabel; }
    // Remembered as the loaded colour while loading.
    void SetColor(TColor value);
    // Set by the owner.
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool value) { FIsWinXP = value; }
    bool IsVista() const { return FIsVista; }
    void SetIsVista(bool value) { FIsVista = value; }

    // Custom button painting applies when ButtonColor is not clNone.
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

    TNotifyEvent OnDropUp;

protected:
    void CreateWnd() override;
    void Loaded() override;
    void Dispatch(TMessage& message) override;
    void WMPaint(TMessage& message) override;
    void CNCommand(TMessage& message) override;
    void CMEnter(TMessage& message) override;
    void CMExit(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMParentFontChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    void CreateLabel();
    void UpdateLabel();
    void LabelFontChanged();
    void SetLabelBold(bool bold);
    bool ThemesActive() const;
    bool IsHot();
    bool ButtonAreaActive();
    void DrawDropButton(HDC dc);
    void DrawBorders();
    void FocusLost();

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    Integer FButtonWidth;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    Integer FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    Integer FLabelMargin = 4;
    std::unique_ptr<TFont> FLabelFont;
    AsgCombo::TLabelPosition FLabelPosition = AsgCombo::lpLeftTop;
    TLabel* FLabel = nullptr; // owned, made by the first LabelCaption
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clNone;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    bool FIsVista = false;
};

class TAsgComboBox : public TAsgCustomCombo {
    DECLARE_CLASS(TAsgComboBox, TAsgCustomCombo)

public:
    using TAsgCustomCombo::TAsgCustomCombo;
};
