// The caption panel's shaded caption headers.
#include "controls/AdvPanel.h"

void TCustomAdvPanel::BuildShadedHeader() {
    // FIXME: the computed shadings are not rendered into the header yet.
}

void TCustomAdvPanel::DrawCaptionBackground(TCanvas* canvas, TRect rect) {
    // FIXME: shadings and bitmap backgrounds are not drawn yet; the strip shows the caption colour the
    // caption painter selected, so the text stays readable.
    canvas->FillRect(rect);
}
