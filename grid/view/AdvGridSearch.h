// The search panel the grid shows as its search footer, with its buttons and match-case box.
#pragma once

#include <memory>

#include "grid/engine/AdvObj.h"
#include "platform/framework/Controls.h"

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
