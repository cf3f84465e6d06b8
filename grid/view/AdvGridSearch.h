// The search panel the grid shows as its search footer, with its buttons and match-case box.
#pragma once

#include <memory>

#include "platform/framework/Controls.h"

// A button of the search panel; the highlight button stays down while it highlights.
// FIXME: paints nothing and clicks nothing yet; it keeps its look settings.
class TAdvGridButton : public TCustomControl {
    DECLARE_CLASS(TAdvGridButton, TCustomControl)

public:
    using TCustomControl::TCustomControl;

    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }
    // Drawn with the visual style of the system.
    bool AutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }
    // Follows the Office colour scheme.
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value) { FAutoThemeAdapt = Value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value) { FDown = Value; }

private:
    bool FFlat = false;
    bool FAutoXPStyle = false;
    bool FAutoThemeAdapt = false;
    bool FDown = false;
};

// The search panel's match-case box.
// FIXME: paints nothing and toggles nothing yet; it keeps its settings.
class TAdvCheckBox : public TCustomControl {
    DECLARE_CLASS(TAdvCheckBox, TCustomControl)

public:
    using TCustomControl::TCustomControl;

    bool Checked() const { return FChecked; }
    void SetChecked(bool Value) { FChecked = Value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value) { FTransparent = Value; }

private:
    bool FChecked = false;
    bool FTransparent = false;
};

// The panel holds its buttons and box as hidden-until-shown children, which the grid lays out as the
// search footer's settings say.
// FIXME: has no search edit yet, so it searches nothing.
class TSearchPanel : public TCustomControl {
    DECLARE_CLASS(TSearchPanel, TCustomControl)

public:
    explicit TSearchPanel(TComponent* AOwner);
    ~TSearchPanel() override;

    TAdvGridButton* ForwardButton() const { return FForwardButton.get(); }
    TAdvGridButton* BackwardButton() const { return FBackwardButton.get(); }
    TAdvGridButton* HiliteButton() const { return FHiliteButton.get(); }
    TAdvGridButton* ExitButton() const { return FExitButton.get(); }
    TAdvCheckBox* MatchCase() const { return FMatchCase.get(); }
    // The end colour of the panel's gradient.
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);

private:
    std::unique_ptr<TAdvGridButton> FForwardButton;
    std::unique_ptr<TAdvGridButton> FBackwardButton;
    std::unique_ptr<TAdvGridButton> FHiliteButton;
    std::unique_ptr<TAdvGridButton> FExitButton;
    std::unique_ptr<TAdvCheckBox> FMatchCase;
    TColor FColorTo = clNone;
};
