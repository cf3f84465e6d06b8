// The styled combo box: the framework's combo box with a flat or etched look, its own drop-down button
// (visual style, classic edge or custom colours), coloured and focus borders, focus colours, a grey
// placeholder while empty, a settable width of the dropped list and a caption label placed like the
// typed edit's.
#pragma once

#include <memory>

#include "controls/AdvEdit.h"
#include "platform/framework/StdLists.h"

class TAdvCustomCombo : public TCustomComboBox {
    DECLARE_CLASS(TAdvCustomCombo, TCustomComboBox)

public:
    explicit TAdvCustomCombo(TComponent* owner);
    ~TAdvCustomCombo() override;
    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;

    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool value);
    // Writes outside 14 to 32 are ignored.
    Integer ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(Integer value);
    Integer DropWidth() const { return FDropWidth; }
    void SetDropWidth(Integer value);
    TColor FlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor value);
    bool FlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    bool FocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool value) { FFocusBorder = value; }
    TColor FocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor value) { FFocusBorderColor = value; }
    TColor FocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor value) { FFocusColor = value; }
    TColor FocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor value) { FFocusFontColor = value; }
    bool FocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool value) { FFocusLabel = value; }
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool value) { FDisabledBorder = value; }
    bool AutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool value) { FAutoFocus = value; }
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& value);
    bool EmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool value) { FEmptyTextFocused = value; }
    TFontStyles EmptyTextStyle() const { return FEmptyTextStyle; }
    void SetEmptyTextStyle(TFontStyles value);
    String LabelCaption() const;
    // The first caption makes the label.
    void SetLabelCaption(const String& value);
    AdvEdit::TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AdvEdit::TLabelPosition value);
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
    // "1.5.1.1"; writing it does nothing.
    String Version() const;
    void SetVersion(const String&) {}
    virtual Integer GetVersionNr() const;
    // Selects the item with exactly this text and runs the change handling; nothing when there is none.
    virtual void SelectItem(const String& text);

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
    void DestroyWnd() override;
    void Loaded() override;
    void Dispatch(TMessage& message) override;
    void WMPaint(TMessage& message) override;
    void CNCommand(TMessage& message) override;
    void CMEnter(TMessage& message) override;
    void CMExit(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void DoExit() override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMParentFontChanged(TMessage& message) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void ChangeScale(Integer m, Integer d) override;

private:
    void CreateLabel();
    void UpdateLabel();
    void UpdateLabelPos();
    void LabelFontChanged();
    void SetLabelBold(bool bold);
    bool UseThemes() const;
    bool IsHot();
    bool SpecialPaint();
    void DrawDropButton(HDC dc);
    void DrawFrame();
    void DrawComboBorder(HDC dc);
    void DrawButtonEdge(HDC dc);
    void HookEditPart();
    void UnhookEditPart();
    void PaintEmptyText(HWND edit);
    static LRESULT EditWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool FFlat = false;
    bool FEtched = false;
    Integer FButtonWidth;
    Integer FDropWidth = 0;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true;
    TColor FBorderColor = clNone;
    bool FFocusBorder = false;
    TColor FFocusBorderColor = clNone;
    TColor FFocusColor = clNone;
    TColor FFocusFontColor = clNone;
    bool FFocusLabel = false;
    bool FDisabledBorder = true;
    bool FAutoFocus = false;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    TFontStyles FEmptyTextStyle;
    TLabel* FLabel = nullptr; // owned, made by the first LabelCaption
    std::unique_ptr<TFont> FLabelFont;
    AdvEdit::TLabelPosition FLabelPosition = AdvEdit::lpLeftTop;
    Integer FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;

    TColor FOldColor = clWindow; // saved while a flat combo is disabled
    bool FOldParentColor = false;
    TColor FLoadedColor = clWindow;
    bool FMouseInControl = false;
    bool FIsWinXP;
    bool FIsThemed;
    bool FButtonHover = false;
    TColor FNormalColor = clNone; // background to restore after focus
    bool FNormalColorTaken = false;
    bool FHasFocus = false;
    bool FParentFnt = true;
    TColor FFontColor = clWindowText;
    HWND FEditPart = nullptr; // the field's window while hooked here
    WNDPROC FWinProc = nullptr;
};

class TAdvComboBox : public TAdvCustomCombo {
    DECLARE_CLASS(TAdvComboBox, TAdvCustomCombo)

public:
    using TAdvCustomCombo::TAdvCustomCombo;
};

// Registers the combo's classes for form descriptions; the constructor runs it too.
void AdvComboStartup();
