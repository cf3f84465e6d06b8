// The grid's filter settings, the filter drop-down and filter row, and the lists and transparent editors
// they show.
#pragma once

#include "platform/framework/Controls.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Persistent.h"

// FIXME: holds no filter conditions yet; the grid creates it, and Assign copies nothing.
class TFilter : public TPersistent {
    DECLARE_CLASS(TFilter, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TFilter*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TFilter(TComponent* /*AOwner*/) {}
};

// FIXME: holds only the texts of the checked and unchecked entries.
class TFilterDropDown : public TPersistent {
    DECLARE_CLASS(TFilterDropDown, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        auto* source = dynamic_cast<TFilterDropDown*>(Source);
        if (source == nullptr) {
            TPersistent::Assign(Source);
            return;
        }
        FTextChecked = source->FTextChecked;
        FTextUnChecked = source->FTextUnChecked;
    }
    String TextChecked() const { return FTextChecked; }
    void SetTextChecked(const String& value) { FTextChecked = value; }
    String TextUnChecked() const { return FTextUnChecked; }
    void SetTextUnChecked(const String& value) { FTextUnChecked = value; }

private:
    String FTextChecked;
    String FTextUnChecked;
};

// FIXME: holds no settings yet; the grid creates it, and Assign copies nothing.
class TFilterEdit : public TPersistent {
    DECLARE_CLASS(TFilterEdit, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TFilterEdit*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TFilterEdit(TComponent* /*AOwner*/) {}
};

// FIXME: lists nothing yet.
class TDropList : public TCustomControl {
    DECLARE_CLASS(TDropList, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: lists nothing yet.
class TDropCheckList : public TCustomControl {
    DECLARE_CLASS(TDropCheckList, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridTransEdit : public TCustomControl {
    DECLARE_CLASS(TGridTransEdit, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: edits nothing yet.
class TGridTransCombo : public TCustomControl {
    DECLARE_CLASS(TGridTransCombo, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
