// The notifications around drags and moves that take the focus for a while.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::DoStartBlockFocus() {
    if (OnStartBlockFocus)
        OnStartBlockFocus(this);
}

void TAdvStringGrid::DoEndBlockFocus() {
    if (OnEndBlockFocus)
        OnEndBlockFocus(this);
}
