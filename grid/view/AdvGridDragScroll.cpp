// The grid's drag auto-scroll settings.
#include "grid/view/AdvGridDragScroll.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TDragScrollOptions)
