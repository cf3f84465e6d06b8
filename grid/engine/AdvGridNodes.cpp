// Outline nodes: collapsing and expanding rows under a node.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ExpandAll() {}

void TAdvStringGrid::RemoveAllNodes() {}
