// The grid's floating footer settings and footer panel.
#include "grid/view/AdvGridFooter.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TFloatingFooter)
DEFINE_CLASS(TFooterPanel)
