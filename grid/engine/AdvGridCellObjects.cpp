// The cell objects' settings the grid owns, and the grid's queries of cell objects.
#include "grid/engine/AdvGridCellObjects.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TCellNode)
DEFINE_CLASS(TSizeWhileTyping)

TCellType TAdvStringGrid::GetCellType(Integer /*ACol*/, Integer /*ARow*/) {
    return ctEmpty;
}
