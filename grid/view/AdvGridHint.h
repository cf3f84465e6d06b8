// The hint window that shows mini-HTML hints of the grid's cells and scroll position.
#pragma once

#include "platform/framework/Controls.h"

// FIXME: shows nothing yet.
class THTMLHintWindow : public TCustomControl {
    DECLARE_CLASS(THTMLHintWindow, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
