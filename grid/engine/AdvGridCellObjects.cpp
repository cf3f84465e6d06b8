// The cell objects' settings the grid owns.
#include "grid/engine/AdvGridCellObjects.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TCellNode)
DEFINE_CLASS(TSizeWhileTyping)
