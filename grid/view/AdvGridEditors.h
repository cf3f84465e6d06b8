// The grid's in-place editors: combo, check box, edit with button, edit with unit and button, button,
// and the form the hover buttons sit on.
#pragma once

#include "platform/framework/Controls.h"

// FIXME: edits nothing yet.
class TGridCombo : public TCustomControl {
    DECLARE_CLASS(TGridCombo, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridCheckBox : public TCustomControl {
    DECLARE_CLASS(TGridCheckBox, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridEditBtn : public TCustomControl {
    DECLARE_CLASS(TGridEditBtn, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridUnitEditBtn : public TCustomControl {
    DECLARE_CLASS(TGridUnitEditBtn, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: is never clicked yet.
class TGridButton : public TCustomControl {
    DECLARE_CLASS(TGridButton, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: shows no hover buttons yet.
class TNoActiveForm : public TCustomControl {
    DECLARE_CLASS(TNoActiveForm, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
