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
             PROPERTY(FixedGradientDownMirrorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(FixedGradientHoverBorder).Type(TypeInfoColor()).Default(0x00C0C0C0),
             PROPERTY(FixedGradientDownBorder).Type(TypeInfoColor()).Default(0x00808080),
             PROPERTY(Color).Type(TypeInfoColor()).Default(0),
             PROPERTY(ProgressBorderColor).Type(TypeInfoColor()).Default(0x00808080),
             PROPERTY(ProgressMarginX).Default(2), PROPERTY(ProgressMarginY).Default(2),
             PROPERTY(ProgressXP).Default(false), PROPERTY(FlatButton).Default(false),
             PROPERTY(NoDisabledCheckRadioLook).Default(false), PROPERTY(NoDisabledButtonLook).Default(false))

TControlLook::TControlLook(TComponent* AOwner)
    : FGrid(dynamic_cast<TAdvStringGrid*>(AOwner)), FCheckedGlyph(std::make_unique<TBitmap>()),
      FUnCheckedGlyph(std::make_unique<TBitmap>()), FRadioOnGlyph(std::make_unique<TBitmap>()),
      FRadioOffGlyph(std::make_unique<TBitmap>()) {}

TControlLook::~TControlLook() = default;

void TControlLook::Init() {
    FColor = 0;
    FCommentColor = 0x0000FF;
    FProgressBorderColor = 0x00808080;
    FFixedGradientFrom = clNone;
    FFixedGradientTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientHoverFrom = 0x00FFFFFF;
    FFixedGradientHoverTo = 0x00808080;
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    FFixedGradientHoverBorder = 0x00C0C0C0;
    FFixedGradientDownFrom = 0x00C0C0C0;
    FFixedGradientDownTo = 0x00808080;
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
    FFixedGradientDownBorder = 0x00808080;
}

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
    FFixedGradientHoverBorder = source->FFixedGradientHoverBorder;
    FFixedGradientDownBorder = source->FFixedGradientDownBorder;
    FColor = source->FColor;
    FProgressBorderColor = source->FProgressBorderColor;
    FProgressMarginX = source->FProgressMarginX;
    FProgressMarginY = source->FProgressMarginY;
    FCheckedGlyph->Assign(source->FCheckedGlyph.get());
    FUnCheckedGlyph->Assign(source->FUnCheckedGlyph.get());
    FRadioOnGlyph->Assign(source->FRadioOnGlyph.get());
    FRadioOffGlyph->Assign(source->FRadioOffGlyph.get());
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
#define ZELMOR_GRADIENT_SETTER(Name, Field, GridSetter, Always)                                              \
    void TControlLook::Set##Name(TColor value) {                                                             \
        Field = value;                                                                                       \
        if (FGrid != nullptr && ((Always) || value != clNone))                                               \
            FGrid->GridSetter(value);                                                                        \
    }

ZELMOR_GRADIENT_SETTER(FixedGradientHoverFrom, FFixedGradientHoverFrom, SetQELGradientHoverFrom, false)
ZELMOR_GRADIENT_SETTER(FixedGradientHoverTo, FFixedGradientHoverTo, SetQELGradientHoverTo, false)
ZELMOR_GRADIENT_SETTER(FixedGradientHoverMirrorFrom, FFixedGradientHoverMirrorFrom,
                       SetQELGradientHoverMirrorFrom, true)
ZELMOR_GRADIENT_SETTER(FixedGradientHoverMirrorTo, FFixedGradientHoverMirrorTo, SetQELGradientHoverMirrorTo,
                       true)
ZELMOR_GRADIENT_SETTER(FixedGradientHoverBorder, FFixedGradientHoverBorder, SetQELGradientHoverBorder, false)
ZELMOR_GRADIENT_SETTER(FixedGradientDownFrom, FFixedGradientDownFrom, SetQELGradientDownFrom, false)
ZELMOR_GRADIENT_SETTER(FixedGradientDownTo, FFixedGradientDownTo, SetQELGradientDownTo, false)
ZELMOR_GRADIENT_SETTER(FixedGradientDownMirrorFrom, FFixedGradientDownMirrorFrom,
                       SetQELGradientDownMirrorFrom, true)
ZELMOR_GRADIENT_SETTER(FixedGradientDownMirrorTo, FFixedGradientDownMirrorTo, SetQELGradientDownMirrorTo,
                       true)
ZELMOR_GRADIENT_SETTER(FixedGradientDownBorder, FFixedGradientDownBorder, SetQELGradientDownBorder, false)
#undef ZELMOR_GRADIENT_SETTER

DEFINE_CLASS(TSortSettings, PROPERTY(AutoSortForGrouping).Default(true), PROPERTY(Column).Default(-1),
             PROPERTY(Direction).Default(sdAscending), PROPERTY(Full).Default(true),
             PROPERTY(AutoFormat).Default(true), PROPERTY(IgnoreCase).Default(false),
             PROPERTY(DefaultFormat).Default(ssAutomatic), PROPERTY(IgnoreBlanks).Default(false),
             PROPERTY(BlankPos).Default(blFirst), PROPERTY(SortOnVirtualCells).Default(true),
             PROPERTY(NormalCellsOnly).Default(false), PROPERTY(SingleColumn).Default(false),
             PROPERTY(HeaderColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(HeaderColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(HeaderMirrorColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(HeaderMirrorColorTo).Type(TypeInfoColor()).Default(clNone))
DEFINE_CLASS(TControlEdit)
DEFINE_CLASS(TControlCombo)
