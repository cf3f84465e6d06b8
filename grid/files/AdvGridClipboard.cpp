// The grid's clipboard: copying and pasting the selected cells.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::CopySelectionToClipboard() {
    // FIXME: the clipboard's cell formats are not built; nothing is copied.
}

void TAdvStringGrid::PasteSelectionFromClipboard() {
    // FIXME: the clipboard's cell formats are not built; nothing is pasted.
}
