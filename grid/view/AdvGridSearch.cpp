// The grid's search panel.
#include "grid/view/AdvGridSearch.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TSearchPanel)
