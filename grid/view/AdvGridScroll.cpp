// The grid's scroll bars: proportional thumbs, flat scroll bars and scroll controls.
#include "grid/engine/AdvGrid.h"

#include "grid/view/AdvGridScrollControl.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TScrollControl)

void TAdvStringGrid::UpdateVertScrollProportional() {}

void TAdvStringGrid::UpdateHorzScrollProportional() {}

void TAdvStringGrid::UpdateFlatScrollBars() {}
