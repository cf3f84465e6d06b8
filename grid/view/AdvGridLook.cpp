// The look of in-cell controls, the sort settings and the form-control editors.
#include "grid/view/AdvGridLook.h"

#include "platform/framework/Idents.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TControlLook, PROPERTY(CheckSize).Default(15), PROPERTY(RadioSize).Default(10),
             PROPERTY(CommentColor).Type(TypeInfoColor()).Default(clRed),
             PROPERTY(DropDownAlwaysVisible).Default(false),
             PROPERTY(SpinButtonsAlwaysVisible).Default(false))
DEFINE_CLASS(TSortSettings)
DEFINE_CLASS(TControlEdit)
DEFINE_CLASS(TControlCombo)
