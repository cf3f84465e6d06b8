// The OLE drag-and-drop layer's program-wide state.
#include "grid/view/AsgDD.h"

// FIXME: the drop-target and drop-source bases, the data object and its format enumerator come with
// the drag-and-drop layer itself; only the rich-text switch that the grid's settings write lives here.
bool RTFDropEnabled = false;
