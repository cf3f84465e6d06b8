// Column, row and footer calculations.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::CalcFooter(Integer /*ACol*/) {}
