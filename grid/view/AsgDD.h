// The OLE drag-and-drop layer through which a grid takes part in drag and drop. It knows nothing of
// grids; the grid's own drop target and drop source build on it.
#pragma once

// Whether drop targets accept the "Rich Text Format" clipboard format. One switch for the whole
// program, false at start; any grid's DragDropSettings.OleDropRTF writes it.
extern bool RTFDropEnabled;
