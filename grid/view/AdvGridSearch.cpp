// The grid's search panel.
#include "grid/view/AdvGridSearch.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TSearchPanel)

TSearchPanel::TSearchPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    auto child = [this](auto* control) {
        control->SetParent(this);
        return control;
    };
    FForwardButton.reset(child(new TAdvGridButton(nullptr)));
    FBackwardButton.reset(child(new TAdvGridButton(nullptr)));
    FHiliteButton.reset(child(new TAdvGridButton(nullptr)));
    FExitButton.reset(child(new TAdvGridButton(nullptr)));
    FMatchCase.reset(child(new TAdvCheckBox(nullptr)));
}

TSearchPanel::~TSearchPanel() = default;

void TSearchPanel::SetColorTo(TColor Value) {
    FColorTo = Value;
    Invalidate();
}
