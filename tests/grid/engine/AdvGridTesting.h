// What the full string grid's tests share: a cell object that counts its live instances.
#pragma once

#include "platform/rtl/Object.h"

namespace advgrid_fixtures {

// A cell object with the class name of the objects the grid frees with their records; it counts the
// live instances, so a test that gives each record one counts the records the grid holds.
extern int gLiveGraphics;

class TCellGraphic : public TObject {
    DECLARE_CLASS(TCellGraphic, TObject)

public:
    TCellGraphic() { ++gLiveGraphics; }
    ~TCellGraphic() override { --gLiveGraphics; }
};

} // namespace advgrid_fixtures
