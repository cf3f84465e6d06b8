// Row flags, repaints and the grid's cell navigation services.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ScrollAboveSearchFooter() {}
