// Sorting the rows of the full string grid.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::QSort() {
    // Nothing sorts while grouping lets the application process messages.
    if (FGroupBusy)
        return;
}
