// Scrolling the grid while something is dragged near its edges.
#pragma once

#include "platform/rtl/Persistent.h"

// FIXME: holds no settings yet; the grid creates it, and Assign copies nothing.
class TDragScrollOptions : public TPersistent {
    DECLARE_CLASS(TDragScrollOptions, TPersistent)

public:
    // Copies from the same class only.
    void Assign(TPersistent* Source) override {
        if (dynamic_cast<TDragScrollOptions*>(Source) == nullptr)
            TPersistent::Assign(Source);
    }
};
