// Radio groups, radio buttons, buttons and expand cells.
#include "grid/engine/AdvGrid.h"

Integer TAdvStringGrid::GetExpandHeight(Integer /*ACol*/, Integer /*ARow*/, bool /*Expanded*/) {
    return DefaultRowHeight();
}
