// The look of in-cell controls, the sort settings and the form-control editors.
#include "grid/view/AdvGridLook.h"

#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TControlLook, PROPERTY(DropDownAlwaysVisible).Default(false),
             PROPERTY(SpinButtonsAlwaysVisible).Default(false))
DEFINE_CLASS(TSortSettings, PROPERTY(Column).Default(-1), PROPERTY(Direction).Default(sdAscending),
             PROPERTY(Full).Default(true), PROPERTY(AutoFormat).Default(true),
             PROPERTY(IgnoreCase).Default(false), PROPERTY(DefaultFormat).Default(ssAutomatic),
             PROPERTY(IgnoreBlanks).Default(false), PROPERTY(BlankPos).Default(blFirst),
             PROPERTY(SortOnVirtualCells).Default(true), PROPERTY(NormalCellsOnly).Default(false),
             PROPERTY(SingleColumn).Default(false))
DEFINE_CLASS(TControlEdit)
DEFINE_CLASS(TControlCombo)
