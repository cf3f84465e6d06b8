// The look of in-cell controls, the sort settings, and the editors of mini-HTML form controls.
#pragma once

#include "platform/framework/Controls.h"
#include "platform/rtl/Persistent.h"

// FIXME: holds no settings yet; the grid creates it, and Assign copies nothing.
class TControlLook : public TPersistent {
    DECLARE_CLASS(TControlLook, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TControlLook*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TControlLook(TComponent* /*AOwner*/) {}
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
