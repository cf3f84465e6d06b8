// The enumerations and event types through which the full string grid asks about single cells (colours,
// borders, alignment, editors, fixed state, editability, check texts, cursor, hints) and reports its
// inner editors' notifications.
#pragma once

#include <functional>

#include "grid/engine/BaseGrid.h"
#include "platform/framework/Controls.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Grids.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/DateTime.h"

class TAdvHintInfo;

// ---- Enumerations

// Ascending or descending order: of sorts, and of auto numbering.
ZELMOR_ENUM(TSortDirection, sdAscending, sdDescending)
// The compare style of a column, numbered from 0 in this order.
ZELMOR_ENUM(TSortStyle, ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase,
            ssShortDateEU, ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw,
            ssHTML, ssImages, ssCheckBox, ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase, ssNatural)
// The sides of a cell that get a line of their own.
ZELMOR_ENUM(TCellBorder, cbTop, cbLeft, cbRight, cbBottom)
using TCellBorders = TSet<TCellBorder>;
// What the search footer asks for.
ZELMOR_ENUM(TSearchAction, saFindFirst, saFindPrevious, saFindNext)

// ---- Event types
// Each keeps the order of coordinates its event is published with: some pass the row first.

using TCanEditCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& CanEdit)>;
using TCanSortEvent = std::function<void(TObject* Sender, Integer ACol, bool& DoSort)>;
using TSearchFooterActionEvent = std::function<void(TObject* Sender, const String& Value, Integer ACol,
                                                    Integer ARow, TSearchAction SearchAction)>;
using TExpandClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool Expanded)>;
// Date picker notifications of a cell, row first.
using TCellRowColEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol)>;
using TGetCellCursorEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer X, Integer Y, TCursor& ACursor)>;
using TGridHintEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, String& hintstr)>;
// The hint as wide text; String is UTF-16 already, so it is the same type.
using TGridWideHintEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, String& WideHint)>;
using TOfficeHintEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TAdvHintInfo* AHintInfo)>;
using TGridColorEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, TGridDrawState AState,
                                           TBrush* ABrush, TFont* AFont)>;
using TGridBorderEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, TPen* APen, TCellBorders& Borders)>;
using TGridAlignEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, TAlignment& HAlign, TVAlignment& VAlign)>;
using TGridFormatEvent =
    std::function<void(TObject* Sender, Integer ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)>;
// Sorting's own comparisons: Res is set to -1, 0 or 1 as the first text or row goes before, with or
// after the second.
using TCustomCompareEvent =
    std::function<void(TObject* Sender, const String& str1, const String& str2, Integer& Res)>;
using TRawCompareEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer Row1, Integer Row2, Integer& Res)>;
using TGetEditorTypeEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TEditorType& AEditor)>;
using TIsFixedCellEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& IsFixed)>;
using TIsPasswordCellEvent =
    std::function<void(TObject* Sender, Integer ARow, Integer ACol, bool& IsPassword)>;
using TGetWordWrapEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& WordWrap)>;
// Whether a cell shows its editor's button (combo, ellipsis, spin) without being edited.
using THasEditorButtonEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool& HasButton)>;
using TGetCheckEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TDateTimeChangeEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, TDateTime ADateTime)>;
using TEditChangeEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)>;
