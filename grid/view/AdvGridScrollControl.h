// The thin scroll bar the grid shows along its right and bottom edges in its flat scroll look.
#pragma once

#include "platform/framework/Controls.h"

// FIXME: neither paints nor scrolls yet; it keeps its direction only.
class TScrollControl : public TCustomControl {
    DECLARE_CLASS(TScrollControl, TCustomControl)

public:
    using TCustomControl::TCustomControl;

    // 0 vertical, 1 horizontal.
    Integer Direction() const { return FDirection; }
    void SetDirection(Integer value) { FDirection = value; }

private:
    Integer FDirection = 0;
};
