// Balloon tips of the grid's cells and the handlers that apply changed settings to the grid's panels.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::StartBalloons() {}

void TAdvStringGrid::StopBalloons() {}

void TAdvStringGrid::SearchFooterChanged(TObject* /*Sender*/) {}

void TAdvStringGrid::ShowColumnHeaders() {}

void TAdvStringGrid::ShowRowHeaders() {}
