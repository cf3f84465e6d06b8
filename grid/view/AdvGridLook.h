// The look of in-cell controls, the sort settings, and the editors of mini-HTML form controls.
#pragma once

#include "grid/engine/AdvGridQueryTypes.h"
#include "grid/view/AsgCombo.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Mask.h"
#include "platform/rtl/Persistent.h"

class TAdvStringGrid;

namespace AdvGrid {
// How in-cell controls and the search panel's buttons are drawn.
ZELMOR_ENUM(TControlStyle, csClassic, csFlat, csWinXP, csTarvel, csQEL, csGlyph, csTheme)
} // namespace AdvGrid

// The look of in-cell controls.
// FIXME: holds only the control style, the check, radio and comment settings the cell objects read,
// whether editor buttons show without editing and the fixed cells' gradient colours; its other settings
// come with the view.
class TControlLook : public TPersistent {
    DECLARE_CLASS(TControlLook, TPersistent)

public:
    // Copies from the same class only; the gradient colours are stored without reaching the grid.
    void Assign(TPersistent* Source) override;
    // AOwner is the grid whose fixed-cell gradient the gradient setters keep in step; any other owner
    // has none.
    explicit TControlLook(TComponent* AOwner);

    // A click toggles check boxes and radio buttons (CheckAlwaysActive) or cycles radio groups
    // (RadioAlwaysActive) without asking whether the cell may be edited.
    bool CheckAlwaysActive() const { return FCheckAlwaysActive; }
    void SetCheckAlwaysActive(bool value) { FCheckAlwaysActive = value; }
    bool RadioAlwaysActive() const { return FRadioAlwaysActive; }
    void SetRadioAlwaysActive(bool value) { FRadioAlwaysActive = value; }

    // The gradient of fixed cells: a From or To other than clNone also becomes the grid's
    // QELGradientFrom or QELGradientTo, and the mirror colours always become the grid's.
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor value);
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor value);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor value);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor value);
    // The gradients of a fixed cell under the mouse and pressed.
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor value) { FFixedGradientHoverFrom = value; }
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor value) { FFixedGradientHoverTo = value; }
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor value) { FFixedGradientHoverMirrorFrom = value; }
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor value) { FFixedGradientHoverMirrorTo = value; }
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor value) { FFixedGradientDownFrom = value; }
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor value) { FFixedGradientDownTo = value; }
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor value) { FFixedGradientDownMirrorFrom = value; }
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor value) { FFixedGradientDownMirrorTo = value; }

    // Combo and ellipsis buttons, and spin buttons, show in every cell whose editor has them.
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool value) { FDropDownAlwaysVisible = value; }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool value) { FSpinButtonsAlwaysVisible = value; }
    AdvGrid::TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(AdvGrid::TControlStyle Value) { FControlStyle = Value; }
    // The side of a check box and of a radio button, in pixels.
    Integer CheckSize() const { return FCheckSize; }
    void SetCheckSize(Integer Value) { FCheckSize = Value; }
    Integer RadioSize() const { return FRadioSize; }
    void SetRadioSize(Integer Value) { FRadioSize = Value; }
    // The colour of a comment's corner mark unless the comment has its own.
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value) { FCommentColor = Value; }

private:
    TAdvStringGrid* FGrid; // not owned
    AdvGrid::TControlStyle FControlStyle = AdvGrid::csClassic;
    Integer FCheckSize = 15;
    Integer FRadioSize = 10;
    TColor FCommentColor = 0x0000FF;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
    bool FCheckAlwaysActive = false;
    bool FRadioAlwaysActive = false;
    TColor FFixedGradientFrom = clNone;
    TColor FFixedGradientTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone;
    TColor FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientHoverFrom = 0x00808080;
    TColor FFixedGradientHoverTo = 0x00FFFFFF;
    TColor FFixedGradientHoverMirrorFrom = clNone;
    TColor FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientDownFrom = 0x00808080;
    TColor FFixedGradientDownTo = 0x00C0C0C0;
    TColor FFixedGradientDownMirrorFrom = clNone;
    TColor FFixedGradientDownMirrorTo = clNone;
};

// Where empty texts go when blanks are sorted apart.
ZELMOR_ENUM(TSortBlankPosition, blFirst, blLast)

// How the grid's sorts compare and move rows.
class TSortSettings : public TPersistent {
    DECLARE_CLASS(TSortSettings, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        auto* source = dynamic_cast<TSortSettings*>(Source);
        if (source == nullptr) {
            TPersistent::Assign(Source);
            return;
        }
        FColumn = source->FColumn;
        FDirection = source->FDirection;
        FFull = source->FFull;
        FAutoFormat = source->FAutoFormat;
        FIgnoreCase = source->FIgnoreCase;
        FDefaultFormat = source->FDefaultFormat;
        FIgnoreBlanks = source->FIgnoreBlanks;
        FBlankPos = source->FBlankPos;
        FSortOnVirtualCells = source->FSortOnVirtualCells;
        FNormalCellsOnly = source->FNormalCellsOnly;
        FSingleColumn = source->FSingleColumn;
        FAutoSortForGrouping = source->FAutoSortForGrouping;
    }
    explicit TSortSettings(TComponent* /*AOwner*/) {}

    // The stored column of a plain sort; -1 for none.
    Integer Column() const { return FColumn; }
    void SetColumn(Integer Value) { FColumn = Value; }
    // Grouping sorts the rows by the grouped column first.
    bool AutoSortForGrouping() const { return FAutoSortForGrouping; }
    void SetAutoSortForGrouping(bool Value) { FAutoSortForGrouping = Value; }
    TSortDirection Direction() const { return FDirection; }
    void SetDirection(TSortDirection Value) { FDirection = Value; }
    void ToggleDirection() { FDirection = FDirection == sdAscending ? sdDescending : sdAscending; }
    // Rows equal in the sort column are ordered by the columns to its right.
    bool Full() const { return FFull; }
    void SetFull(bool Value) { FFull = Value; }
    // Each comparison starts from ssAutomatic; else from ssAlphaNoCase with IgnoreCase, else from
    // DefaultFormat.
    bool AutoFormat() const { return FAutoFormat; }
    void SetAutoFormat(bool Value) { FAutoFormat = Value; }
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value) { FIgnoreCase = Value; }
    TSortStyle DefaultFormat() const { return FDefaultFormat; }
    void SetDefaultFormat(TSortStyle Value) { FDefaultFormat = Value; }
    // Empty texts go to the end BlankPos names, in either direction.
    bool IgnoreBlanks() const { return FIgnoreBlanks; }
    void SetIgnoreBlanks(bool Value) { FIgnoreBlanks = Value; }
    TSortBlankPosition BlankPos() const { return FBlankPos; }
    void SetBlankPos(TSortBlankPosition Value) { FBlankPos = Value; }
    // Compare the displayed texts; false: the stored ones.
    bool SortOnVirtualCells() const { return FSortOnVirtualCells; }
    void SetSortOnVirtualCells(bool Value) { FSortOnVirtualCells = Value; }
    // With fixed columns, column 0 keeps its cells in place.
    bool NormalCellsOnly() const { return FNormalCellsOnly; }
    void SetNormalCellsOnly(bool Value) { FNormalCellsOnly = Value; }
    // Only the sort column's cells move.
    bool SingleColumn() const { return FSingleColumn; }
    void SetSingleColumn(bool Value) { FSingleColumn = Value; }

private:
    Integer FColumn = -1;
    TSortDirection FDirection = sdAscending;
    bool FFull = true;
    bool FAutoFormat = true;
    bool FIgnoreCase = false;
    TSortStyle FDefaultFormat = ssAutomatic;
    bool FIgnoreBlanks = false;
    TSortBlankPosition FBlankPos = blFirst;
    bool FSortOnVirtualCells = true;
    bool FNormalCellsOnly = false;
    bool FSingleColumn = false;
    bool FAutoSortForGrouping = true;
};

// The editor of an EDIT, PASSWORD or MASK form control in a cell's mini-HTML text. Enter and Tab end
// the edit (its exit handler commits the value); Tab then moves on to the next control or cell.
class TControlEdit : public TMaskEdit {
    DECLARE_CLASS(TControlEdit, TMaskEdit)

public:
    using TMaskEdit::TMaskEdit;

protected:
    void CMWantSpecialKey(TMessage& Message) override;
    void KeyPress(Char& Key) override;
};

// The editor of a COMBO form control; Enter and Tab end the edit as in TControlEdit.
class TControlCombo : public TAsgComboBox {
    DECLARE_CLASS(TControlCombo, TAsgComboBox)

public:
    using TAsgComboBox::TAsgComboBox;

protected:
    void CMWantSpecialKey(TMessage& Message) override;
    void KeyPress(Char& Key) override;
};
