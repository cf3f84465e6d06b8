// The grid's filter settings, filter drop-down, filter row and their controls.
#include "grid/view/AdvGridFilter.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TFilter)
DEFINE_CLASS(TFilterDropDown)
DEFINE_CLASS(TFilterEdit)
DEFINE_CLASS(TDropList)
DEFINE_CLASS(TDropCheckList)
DEFINE_CLASS(TGridTransEdit)
DEFINE_CLASS(TGridTransCombo)
