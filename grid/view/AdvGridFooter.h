// The grid's floating footer settings and the panel that shows the footer row.
#pragma once

#include "platform/framework/Controls.h"
#include "platform/rtl/Persistent.h"

// FIXME: holds no settings yet; the grid creates it, and Assign copies nothing.
class TFloatingFooter : public TPersistent {
    DECLARE_CLASS(TFloatingFooter, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TFloatingFooter*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
    explicit TFloatingFooter(TComponent* /*AOwner*/) {}
    bool Visible() const { return false; }
};

// FIXME: paints nothing yet.
class TFooterPanel : public TCustomControl {
    DECLARE_CLASS(TFooterPanel, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
