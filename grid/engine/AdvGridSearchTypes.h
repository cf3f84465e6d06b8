// The enumerations, option sets and event types of the full string grid's filtering and its find,
// replace and type-ahead search.
#pragma once

#include <functional>

#include "grid/view/AdvGridFilter.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypeInfo.h"

// The options of a find, numbered as the bits of the 16-bit set.
ZELMOR_ENUM(TFindParameters, fnMatchCase, fnMatchFull, fnMatchRegular, fnDirectionLeftRight, fnMatchStart,
            fnFindInCurrentRow, fnFindInCurrentCol, fnIncludeFixed, fnAutoGoto, fnIgnoreHTMLTags, fnBackward,
            fnIncludeHiddenColumns, fnFindInPresetCol, fnFindInPresetRow, fnSelectedCells,
            fnIncludeHiddenRows)
using TFindParams = TSet<TFindParameters>;

// How a condition of FindMulti tests its column.
ZELMOR_ENUM(TSearchType, stStartsWith, stEndsWith, stContains, stEqual, stNotEqual, stNotContains)

// Which columns get a filter drop-down: the normal ones, or the fixed ones as well.
ZELMOR_ENUM(TFilterDropDownColumns, fdNormal, fdAll)

using TCustomFilterEvent = std::function<void(TObject* Sender, Integer ARow, bool& AcceptRow)>;
using TFilterProgressEvent = std::function<void(TObject* Sender, SmallInt progress)>;
using TGetColumnFilterEvent = std::function<void(TObject* Sender, Integer Column, TStrings* Filter)>;
using TFilterSelectEvent = std::function<void(TObject* Sender, Integer Column, Integer ItemIndex,
                                              const String& FriendlyName, String& FilterCondition)>;
using TFilterEditUpdateEvent =
    std::function<void(TObject* Sender, Integer ACol, const String& Condition, TFilterType FilterType)>;
