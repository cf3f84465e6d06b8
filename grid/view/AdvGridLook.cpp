// The look of in-cell controls, the sort settings and the form-control editors.
#include "grid/view/AdvGridLook.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TControlLook, PROPERTY(CheckSize).Default(15), PROPERTY(RadioSize).Default(10),
             PROPERTY(CommentColor).Type(TypeInfoColor()).Default(clRed),
             PROPERTY(DropDownAlwaysVisible).Default(false),
             PROPERTY(SpinButtonsAlwaysVisible).Default(false), PROPERTY(CheckAlwaysActive).Default(false),
             PROPERTY(RadioAlwaysActive).Default(false),
             PROPERTY(FixedGradientFrom).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientMirrorFrom).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientMirrorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientHoverFrom).Type(TypeInfoColor()).Default(0x00808080),
             PROPERTY(FixedGradientHoverTo).Type(TypeInfoColor()).Default(0x00FFFFFF),
             PROPERTY(FixedGradientHoverMirrorFrom).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientHoverMirrorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientDownFrom).Type(TypeInfoColor()).Default(0x00808080),
             PROPERTY(FixedGradientDownTo).Type(TypeInfoColor()).Default(0x00C0C0C0),
             PROPERTY(FixedGradientDownMirrorFrom).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientDownMirrorTo).Type(TypeInfoColor()).Default(clNone))

TControlLook::TControlLook(TComponent* AOwner) : FGrid(dynamic_cast<TAdvStringGrid*>(AOwner)) {}

void TControlLook::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TControlLook*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FControlStyle = source->FControlStyle;
    FCheckSize = source->FCheckSize;
    FRadioSize = source->FRadioSize;
    FCommentColor = source->FCommentColor;
    FDropDownAlwaysVisible = source->FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = source->FSpinButtonsAlwaysVisible;
    FCheckAlwaysActive = source->FCheckAlwaysActive;
    FRadioAlwaysActive = source->FRadioAlwaysActive;
    FFixedGradientFrom = source->FFixedGradientFrom;
    FFixedGradientTo = source->FFixedGradientTo;
    FFixedGradientMirrorFrom = source->FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = source->FFixedGradientMirrorTo;
    FFixedGradientHoverFrom = source->FFixedGradientHoverFrom;
    FFixedGradientHoverTo = source->FFixedGradientHoverTo;
    FFixedGradientHoverMirrorFrom = source->FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverMirrorTo = source->FFixedGradientHoverMirrorTo;
    FFixedGradientDownFrom = source->FFixedGradientDownFrom;
    FFixedGradientDownTo = source->FFixedGradientDownTo;
    FFixedGradientDownMirrorFrom = source->FFixedGradientDownMirrorFrom;
    FFixedGradientDownMirrorTo = source->FFixedGradientDownMirrorTo;
}

void TControlLook::SetFixedGradientFrom(TColor value) {
    FFixedGradientFrom = value;
    if (FGrid != nullptr && value != clNone)
        FGrid->SetQELGradientFrom(value);
}

void TControlLook::SetFixedGradientTo(TColor value) {
    FFixedGradientTo = value;
    if (FGrid != nullptr && value != clNone)
        FGrid->SetQELGradientTo(value);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor value) {
    FFixedGradientMirrorFrom = value;
    if (FGrid != nullptr)
        FGrid->SetQELGradientMirrorFrom(value);
}

void TControlLook::SetFixedGradientMirrorTo(TColor value) {
    FFixedGradientMirrorTo = value;
    if (FGrid != nullptr)
        FGrid->SetQELGradientMirrorTo(value);
}
DEFINE_CLASS(TSortSettings, PROPERTY(AutoSortForGrouping).Default(true), PROPERTY(Column).Default(-1),
             PROPERTY(Direction).Default(sdAscending), PROPERTY(Full).Default(true),
             PROPERTY(AutoFormat).Default(true), PROPERTY(IgnoreCase).Default(false),
             PROPERTY(DefaultFormat).Default(ssAutomatic), PROPERTY(IgnoreBlanks).Default(false),
             PROPERTY(BlankPos).Default(blFirst), PROPERTY(SortOnVirtualCells).Default(true),
             PROPERTY(NormalCellsOnly).Default(false), PROPERTY(SingleColumn).Default(false))
DEFINE_CLASS(TControlEdit)
DEFINE_CLASS(TControlCombo)
