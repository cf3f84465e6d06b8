// The search panel the grid shows as its search footer.
#pragma once

#include "platform/framework/Controls.h"

// FIXME: has no edit or buttons yet, so it searches nothing.
class TSearchPanel : public TCustomControl {
    DECLARE_CLASS(TSearchPanel, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};
