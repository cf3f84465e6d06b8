// The grid's support windows: the focus frame around the cell being edited and the arrows that show
// where a moved column will drop.
#pragma once

#include "platform/framework/Controls.h"

ZELMOR_ENUM(TArrowDirection, arrUp, arrDown, arrLeft, arrRight)

// FIXME: shows no frame yet.
class TGridFocusWindow : public TCustomControl {
    DECLARE_CLASS(TGridFocusWindow, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

// FIXME: keeps its direction but paints no arrow yet.
class TArrowWindow : public TCustomControl {
    DECLARE_CLASS(TArrowWindow, TCustomControl)

public:
    TArrowWindow(TComponent* AOwner, TArrowDirection direction)
        : TCustomControl(AOwner), FDirection(direction) {}
    TArrowDirection Direction() const { return FDirection; }

private:
    TArrowDirection FDirection;
};
