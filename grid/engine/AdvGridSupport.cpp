// The grid's support windows.
#include "grid/engine/AdvGridSupport.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TGridFocusWindow)
DEFINE_CLASS(TArrowWindow)
