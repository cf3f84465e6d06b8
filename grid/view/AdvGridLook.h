// The look of in-cell controls, the sort settings, and the editors of mini-HTML form controls.
#pragma once

#include "grid/engine/AdvGridQueryTypes.h"
#include "platform/framework/Controls.h"
#include "platform/rtl/Persistent.h"

namespace AdvGrid {
// How in-cell controls and the search panel's buttons are drawn.
ZELMOR_ENUM(TControlStyle, csClassic, csFlat, csWinXP, csTarvel, csQEL, csGlyph, csTheme)
} // namespace AdvGrid

// The look of in-cell controls.
// FIXME: holds only the control style and whether editor buttons show without editing; its other
// settings come with the view.
class TControlLook : public TPersistent {
    DECLARE_CLASS(TControlLook, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        auto* source = dynamic_cast<TControlLook*>(Source);
        if (source == nullptr) {
            TPersistent::Assign(Source);
            return;
        }
        FControlStyle = source->FControlStyle;
        FDropDownAlwaysVisible = source->FDropDownAlwaysVisible;
        FSpinButtonsAlwaysVisible = source->FSpinButtonsAlwaysVisible;
    }
    explicit TControlLook(TComponent* /*AOwner*/) {}

    // Combo and ellipsis buttons, and spin buttons, show in every cell whose editor has them.
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool value) { FDropDownAlwaysVisible = value; }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool value) { FSpinButtonsAlwaysVisible = value; }
    AdvGrid::TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(AdvGrid::TControlStyle Value) { FControlStyle = Value; }

private:
    AdvGrid::TControlStyle FControlStyle = AdvGrid::csClassic;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
};

// The direction of a plain sort, and where empty texts go when blanks are sorted apart.
ZELMOR_ENUM(TSortDirection, sdAscending, sdDescending)
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
    }
    explicit TSortSettings(TComponent* /*AOwner*/) {}

    // The stored column of a plain sort; -1 for none.
    Integer Column() const { return FColumn; }
    void SetColumn(Integer Value) { FColumn = Value; }
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
};

// FIXME: edits nothing yet.
class TControlEdit : public TCustomControl {
    DECLARE_CLASS(TControlEdit, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TControlCombo : public TCustomControl {
    DECLARE_CLASS(TControlCombo, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
