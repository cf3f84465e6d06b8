// The grid's mini-HTML hint window.
#include "grid/view/AdvGridHint.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(THTMLHintWindow)
