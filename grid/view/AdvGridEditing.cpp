// The grid's special in-place editors and the rows the editing appends.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::EndCellEditor(Integer /*ACol*/, Integer /*ARow*/) {}

void TAdvStringGrid::AppendAutoRow() {}
