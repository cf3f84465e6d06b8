// The caption panel's side of stylers and colour tones.
#include "controls/AdvPanel.h"

void TCustomAdvPanel::SetStyler(TAdvPanelStyler* value) {
    // FIXME: a linked styler's settings are applied here; there are no stylers yet, so none is kept.
    (void)value;
}

void TCustomAdvPanel::SetColorTones(TColorTones ATones) {
    // FIXME: recolouring from colour tones comes with the styler.
    (void)ATones;
}
