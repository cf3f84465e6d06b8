// The look of in-cell controls, the sort settings, and the editors of mini-HTML form controls.
#pragma once

#include "platform/framework/Controls.h"
#include "platform/rtl/Persistent.h"

namespace AdvGrid {
// How in-cell controls and the search panel's buttons are drawn.
ZELMOR_ENUM(TControlStyle, csClassic, csFlat, csWinXP, csTarvel, csQEL, csGlyph, csTheme)
} // namespace AdvGrid

// The look of in-cell controls.
// FIXME: holds only the control style, the check, radio and comment settings the cell objects read and
// whether editor buttons show without editing; its other settings come with the view.
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
        FCheckSize = source->FCheckSize;
        FRadioSize = source->FRadioSize;
        FCommentColor = source->FCommentColor;
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
    // The side of a check box and of a radio button, in pixels.
    Integer CheckSize() const { return FCheckSize; }
    void SetCheckSize(Integer Value) { FCheckSize = Value; }
    Integer RadioSize() const { return FRadioSize; }
    void SetRadioSize(Integer Value) { FRadioSize = Value; }
    // The colour of a comment's corner mark unless the comment has its own.
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value) { FCommentColor = Value; }

private:
    AdvGrid::TControlStyle FControlStyle = AdvGrid::csClassic;
    Integer FCheckSize = 15;
    Integer FRadioSize = 10;
    TColor FCommentColor = 0x0000FF;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
};

// FIXME: holds no settings yet; the grid creates it, and Assign copies nothing.
class TSortSettings : public TPersistent {
    DECLARE_CLASS(TSortSettings, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TSortSettings*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TSortSettings(TComponent* /*AOwner*/) {}
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
