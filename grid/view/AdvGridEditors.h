// The grid's in-place editors: combo, check box, edit with button, edit with unit and button, button,
// and the form the hover buttons sit on.
#pragma once

#include "grid/view/AsgCombo.h"
#include "grid/view/asgspin.h"
#include "platform/framework/Controls.h"
#include "platform/framework/StdLists.h"

// A step of the open spin editor, by its button or a range key: the cell, the value after the step and
// whether it went up.
using TSpinClickEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AValue, bool UpDown)>;
using TFloatSpinClickEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, double AValue, bool UpDown)>;
using TDateTimeSpinClickEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TDateTime AValue, bool UpDown)>;

// The combo editor: a styled combo box whose item index, items and text the grid reads as the user picks.
// FIXME: the grid does not show it over a cell yet.
class TGridCombo : public TAsgComboBox {
    DECLARE_CLASS(TGridCombo, TAsgComboBox)

public:
    using TAsgComboBox::TAsgComboBox;
};

// An editor the application links into a cell; the grid relays the notifications of the window control
// it gives.
// FIXME: the grid does not activate edit links yet; SetEditLink only links the control's procedure.
class TEditLink : public TComponent {
    DECLARE_CLASS(TEditLink, TComponent)

public:
    using TComponent::TComponent;
    virtual TWinControl* GetEditControl() { return nullptr; }
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

// While a time editor's text is read for the cell, the process-wide long time format is the editor's
// own format; the saved format comes back however the reading ends, exceptions included. An empty
// format changes nothing. The time editor's commit reads its text inside one.
class TLongTimeFormatOverride {
public:
    explicit TLongTimeFormatOverride(const String& Format);
    ~TLongTimeFormatOverride();
    TLongTimeFormatOverride(const TLongTimeFormatOverride&) = delete;
    TLongTimeFormatOverride& operator=(const TLongTimeFormatOverride&) = delete;

private:
    String FSaved;
    bool FActive = false;
};
