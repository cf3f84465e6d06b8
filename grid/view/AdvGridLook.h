// The look of in-cell controls, the sort settings, and the editors of mini-HTML form controls.
#pragma once

#include <memory>

#include "grid/engine/AdvGridQueryTypes.h"
#include "grid/view/AsgCombo.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Mask.h"
#include "platform/rtl/Persistent.h"

class TAdvStringGrid;

namespace AdvGrid {
// How in-cell controls and the search panel's buttons are drawn.
ZELMOR_ENUM(TControlStyle, csClassic, csFlat, csWinXP, csTarvel, csQEL, csGlyph, csTheme)
} // namespace AdvGrid

// The look of in-cell controls.
// FIXME: holds the control style, the check, radio, progress and comment settings and glyphs the cell
// objects and their painting read, the button look, whether editor buttons show without editing and the
// fixed cells' gradient colours; its drop-down header and footer, drop-down count and hint width come
// with the view.
class TControlLook : public TPersistent {
    DECLARE_CLASS(TControlLook, TPersistent)

public:
    // Copies from the same class only; the gradient colours are stored without reaching the grid.
    void Assign(TPersistent* Source) override;
    // AOwner is the grid whose fixed-cell gradient the gradient setters keep in step; any other owner
    // has none.
    explicit TControlLook(TComponent* AOwner);
    ~TControlLook() override;

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
    // The gradients of a fixed cell under the mouse and pressed, kept in step with the grid's the same
    // way: From, To and Border unless clNone, the mirror colours always.
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor value);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor value);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor value);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor value);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor value);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor value);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor value);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor value);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor value);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor value);

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
    // The tick of Tarvel check boxes and the dot of their radio buttons.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TColor ProgressBorderColor() const { return FProgressBorderColor; }
    void SetProgressBorderColor(TColor Value) { FProgressBorderColor = Value; }
    // Room left between a progress bar and its cell, in pixels.
    Integer ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(Integer Value) { FProgressMarginX = Value; }
    Integer ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(Integer Value) { FProgressMarginY = Value; }
    // Progress bars take the visual style's bar with the XP and theme control styles.
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool Value) { FProgressXP = Value; }
    // In-cell buttons are drawn flat.
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool Value) { FFlatButton = Value; }
    // Check boxes, radio buttons and buttons of cells that cannot be edited look enabled all the same.
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool Value) { FNoDisabledCheckRadioLook = Value; }
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool Value) { FNoDisabledButtonLook = Value; }
    // The glyphs of the csGlyph control style; the setters copy the bitmap in.
    TBitmap* CheckedGlyph() const { return FCheckedGlyph.get(); }
    void SetCheckedGlyph(TBitmap* Value) { FCheckedGlyph->Assign(Value); }
    TBitmap* UnCheckedGlyph() const { return FUnCheckedGlyph.get(); }
    void SetUnCheckedGlyph(TBitmap* Value) { FUnCheckedGlyph->Assign(Value); }
    TBitmap* RadioOnGlyph() const { return FRadioOnGlyph.get(); }
    void SetRadioOnGlyph(TBitmap* Value) { FRadioOnGlyph->Assign(Value); }
    TBitmap* RadioOffGlyph() const { return FRadioOffGlyph.get(); }
    void SetRadioOffGlyph(TBitmap* Value) { FRadioOffGlyph->Assign(Value); }

    // The colours a style starts from: black ticks, red comments, grey progress borders, no fixed
    // gradient, white to grey hover and silver to grey pressed gradients without mirror colours.
    void Init();

private:
    TAdvStringGrid* FGrid; // not owned
    AdvGrid::TControlStyle FControlStyle = AdvGrid::csClassic;
    Integer FCheckSize = 15;
    Integer FRadioSize = 10;
    TColor FCommentColor = 0x0000FF;
    TColor FColor = 0;
    TColor FProgressBorderColor = 0x00808080;
    Integer FProgressMarginX = 2;
    Integer FProgressMarginY = 2;
    bool FProgressXP = false;
    bool FFlatButton = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    std::unique_ptr<TBitmap> FCheckedGlyph;
    std::unique_ptr<TBitmap> FUnCheckedGlyph;
    std::unique_ptr<TBitmap> FRadioOnGlyph;
    std::unique_ptr<TBitmap> FRadioOffGlyph;
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
    TColor FFixedGradientHoverBorder = 0x00C0C0C0;
    TColor FFixedGradientDownFrom = 0x00808080;
    TColor FFixedGradientDownTo = 0x00C0C0C0;
    TColor FFixedGradientDownMirrorFrom = clNone;
    TColor FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownBorder = 0x00808080;
};

// Where empty texts go when blanks are sorted apart.
ZELMOR_ENUM(TSortBlankPosition, blFirst, blLast)
// The key that adds a column to a sort on several columns.
ZELMOR_ENUM(TIndexSortKey, ikShift, ikCtrl)

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
        FShow = source->FShow;
        FIndexShow = source->FIndexShow;
        FIndexSortKey = source->FIndexSortKey;
        FInitSortDirection = source->FInitSortDirection;
        FFixedCols = source->FFixedCols;
        FRow = source->FRow;
        FUndoSort = source->FUndoSort;
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
        FHeaderColor = source->FHeaderColor;
        FHeaderColorTo = source->FHeaderColorTo;
        FHeaderMirrorColor = source->FHeaderMirrorColor;
        FHeaderMirrorColorTo = source->FHeaderMirrorColorTo;
    }
    explicit TSortSettings(TComponent* /*AOwner*/) {}

    // The stored column of a plain sort; -1 for none.
    Integer Column() const { return FColumn; }
    void SetColumn(Integer Value) { FColumn = Value; }
    // A click on the sort row's header cell sorts by its column.
    // FIXME: the sort indicator is not painted yet, so a change repaints nothing.
    bool Show() const { return FShow; }
    void SetShow(bool Value) { FShow = Value; }
    // Header clicks sort on several columns, through the grid's sort indexes; the IndexSortKey held
    // while clicking adds a column or turns its direction.
    bool IndexShow() const { return FIndexShow; }
    void SetIndexShow(bool Value) { FIndexShow = Value; }
    TIndexSortKey IndexSortKey() const { return FIndexSortKey; }
    void SetIndexSortKey(TIndexSortKey Value) { FIndexSortKey = Value; }
    // The direction of a column's first click.
    TSortDirection InitSortDirection() const { return FInitSortDirection; }
    void SetInitSortDirection(TSortDirection Value) { FInitSortDirection = Value; }
    // Clicks on the fixed columns' header cells sort too.
    bool FixedCols() const { return FFixedCols; }
    void SetFixedCols(bool Value) { FFixedCols = Value; }
    // The fixed row whose clicks sort.
    // FIXME: the grid's fixed-row count is not checked here yet.
    Integer Row() const { return FRow; }
    void SetRow(Integer Value) { FRow = Value; }
    // A third click on the sorted column returns the rows to their order from before the sorts.
    bool UndoSort() const { return FUndoSort; }
    void SetUndoSort(bool Value) { FUndoSort = Value; }
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
    // The gradient of the sorted column's header; clNone for none.
    // FIXME: stored only; the sorted column's header is not painted with them yet.
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value) { FHeaderMirrorColor = Value; }
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value) { FHeaderMirrorColorTo = Value; }

private:
    Integer FColumn = -1;
    bool FShow = false;
    bool FIndexShow = false;
    TIndexSortKey FIndexSortKey = ikShift;
    TSortDirection FInitSortDirection = sdAscending;
    bool FFixedCols = false;
    Integer FRow = 0;
    bool FUndoSort = false;
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
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
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
