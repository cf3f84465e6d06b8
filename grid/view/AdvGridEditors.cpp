// The grid's in-place editors.
#include "grid/view/AdvGridEditors.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TGridCombo)
DEFINE_CLASS(TEditLink)
DEFINE_CLASS(TGridCheckBox)
DEFINE_CLASS(TGridEditBtn)
DEFINE_CLASS(TGridUnitEditBtn)
DEFINE_CLASS(TGridButton)
DEFINE_CLASS(TNoActiveForm)
