// The types of the grid's mouse handling: what a press at the pointer would do, and the events of clicks,
// links, sizing, moving and drag auto-scroll.
#pragma once

#include <functional>

#include "grid/engine/AdvGridTypes.h"
#include "grid/engine/AdvObj.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Grids.h"
#include "platform/framework/Menus.h"
#include "platform/rtl/TypeInfo.h"
#include "platform/rtl/UString.h"

// What a press at the pointer's place would do; it also chooses the grid's cursor.
ZELMOR_ENUM(TMouseSelectMode, msNormal, msColumn, msRow, msAll, msURL, msResize)

// The edges a drag rests near, for the drag auto-scroll.
ZELMOR_ENUM(TDragScrollDirectionItem, dsdUp, dsdDown, dsdLeft, dsdRight)
using TDragScrollDirection = TSet<TDragScrollDirectionItem>;

using TClickCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol)>;
using TCanClickCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& Allow)>;
using TAnchorClickEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor, bool& AutoHandle)>;
using TAnchorEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& Anchor)>;
using TAnchorHintEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, String& Anchor)>;
using TNodeClickEvent = std::function<void(TObject* Sender, Integer ARow, Integer ARowReal)>;
using TNodeAllowEvent = std::function<void(TObject* Sender, Integer ARow, Integer ARowReal, bool& Allow)>;
using TCheckBoxMouseUpEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool State)>;
using TFixedCellClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow)>;
using TColumnSizingEvent = std::function<void(TObject* Sender, Integer ACol, Integer ColumnSize)>;
using TRowSizingEvent = std::function<void(TObject* Sender, Integer ARow, Integer RowSize)>;
using TSelectionResizeEvent =
    std::function<void(TObject* Sender, const TGridRect& OrigSelection, const TGridRect& NewSelection)>;
using TColumnMoveEvent = std::function<void(TObject* Sender, Integer ACol, bool& Allow)>;
using TRowMoveEvent = std::function<void(TObject* Sender, Integer ARow, bool& Allow)>;
using TClickSortEvent = std::function<void(TObject* Sender, Integer ACol)>;
using TFixedDropDownClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow,
                                                    TPopupMenu*& AMenu, bool& KeepFixedCellHighlighted)>;
using TDragScrollEvent = std::function<void(TObject* Sender, Integer TopRow, Integer LeftCol,
                                            TDragScrollDirection& DragScrollDir, bool& CanScroll)>;
using TControlClickEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, const String& CtrlID,
                       const String& CtrlType, const String& CtrlVal)>;
using TCellColRowEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow)>;

// Which fixed cells follow the mouse.
ZELMOR_ENUM(THoverFixedCells, hfNone, hfAll, hfFixedRows, hfFixedColumns)
