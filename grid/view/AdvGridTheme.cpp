// The grid following the Office colour scheme, and its border in the styled looks.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::FollowOfficeTheme() {}

void TAdvStringGrid::DrawGridBorder() {}
