// The full string grid's cell painting: the look of each cell and what is drawn inside its lines.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::GetVisualProperties(Integer, Integer, TGridDrawState&, bool, bool, bool, TBrush*,
                                         TColor&, TColor&, TColor&, TFont*, TAlignment&, TVAlignment&, bool&,
                                         TCellGradientDirection&) {}

void TAdvStringGrid::DrawCellContent(TCanvas* Canvas, Integer ACol, Integer ARow, const TRect& Rect,
                                     TGridDrawState State) {
    TBaseGrid::DrawCellContent(Canvas, ACol, ARow, Rect, State);
    // The handler draws on the grid's canvas, over what the grid drew; its rectangle ends before the
    // grid lines.
    if (OnDrawCell) {
        const TRect cell(Rect.Left, Rect.Top, Rect.Right - GridLineWidth(), Rect.Bottom - GridLineWidth());
        OnDrawCell(this, RealColIndex(ACol), ARow, cell, State);
    }
}
