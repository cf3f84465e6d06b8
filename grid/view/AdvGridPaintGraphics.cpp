// The graphics and controls drawn inside cells: pictures, check boxes, radio buttons, bars, nodes and
// buttons, and where each sits beside the cell's text.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::GetCellGraphicLayout(TCellDrawContext& Context) {
    Context.graphic = nullptr;
    Context.graphicWidth = 0;
    Context.graphicHeight = 0;
    Context.roomForText = true;
}

void TAdvStringGrid::DrawCellGraphic(TCellDrawContext&, TRect) {}
