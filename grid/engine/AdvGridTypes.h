// The enumerations, event types and exception class of the full string grid, shared by its engine,
// view and file sides.
#pragma once

#include <functional>

#include "grid/engine/AdvGridQueryTypes.h"
#include "grid/engine/BaseGrid.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"

class TAdvStringGrid;

// ---- Enumerations

// The grid's overall look; Look applies its defaults.
ZELMOR_ENUM(TGridLook, glStandard, glSoft, glClassic, glQEL, glXP, glListView, glVista, glWin7, glOffice2007,
            glCustom)
// How the scroll bars are drawn.
ZELMOR_ENUM(TScrollType, ssNormal, ssFlat, ssEncarta, ssMetro)
// Which scroll bars stay shown, disabled, while everything fits.
ZELMOR_ENUM(TScrollBarAlways, saNone, saVert, saHorz, saBoth)
// Which thumb drags show a scroll hint.
ZELMOR_ENUM(TScrollHintType, shNone, shVertical, shHorizontal, shBoth)
// The icon of the balloon shown for an invalid entry.
ZELMOR_ENUM(TInvalidEntryIcon, ieNone, ieInfo, ieWarning, ieError)
// The text encoding of files the grid writes.
ZELMOR_ENUM(TGridEncoding, encANSI, encUTF8, encUnicode)
// The directions wheel panning moves in; ipNone switches panning off.
ZELMOR_ENUM(TIntelliPan, ipVertical, ipHorizontal, ipBoth, ipNone)
// Where ScrollInView places the cell it brings into view: the middle, the bottom (right) or the top (left).
ZELMOR_ENUM(TScrollPosition, spMiddle, spTrailing, spLeading)
// How numbers in cells are formatted: by the framework's rules or the spreadsheet's.
ZELMOR_ENUM(TFormatType, ftVCL, ftExcel)
// The aggregate a rectangle calculation takes.
ZELMOR_ENUM(TCalcType, ctSum, ctAvg, ctMin, ctMax)
// The stages long walks over rows report to ExportNotification.
ZELMOR_ENUM(TGridExportState, esExportStart, esExportNewRow, esExportDone, esExportSelRow, esExportFail,
            esExportNextRow)
// The stages the file readers report to ImportNotification.
ZELMOR_ENUM(TGridImportState, isImportStart, isImportNewRow, isImportDone, isImportSelRow)
// The older XP colour schemes of the fixed cells (SetTheme).
ZELMOR_ENUM(TXPColorScheme, xpNone, xpBlue, xpGreen, xpGray, vistaAero)
// The grid's colour styles, in the order of the shared component styles (TQELStyle).
ZELMOR_ENUM(TAdvGridStyle, gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic,
            gsOffice2007Luna, gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver,
            gsWindowsVista, gsWindows7, gsTerminal, gsOffice2010Blue, gsOffice2010Silver, gsOffice2010Black,
            gsWindows8, gsOffice2013white, gsOffice2013LightGray, gsOffice2013Gray)

// ---- Event types

using TGridProgressEvent = std::function<void(TObject* Sender, SmallInt Progress)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;
using TGridResizeEvent = std::function<void(TObject* Sender)>;
using TGetEditMaskEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TButtonClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow)>;
using TUnitChangedEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& NewUnit)>;
using TRowChangedEvent = std::function<void(TObject* Sender, Integer OldRow, Integer NewRow)>;
using TEditCellDoneEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow)>;
using TComboChangeEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AItemIndex,
                                             const String& ASelection)>;
using TComboObjectChangeEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AItemIndex,
                       const String& ASelection, TObject* AObject)>;
// The combo editor's close-up and drop-down: the row comes first.
using TComboCloseUpEvent = std::function<void(TObject* Sender, Integer ARow, Integer ACol)>;
using TSelectionChanged =
    std::function<void(TObject* Sender, Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)>;
using TEllipsClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& S)>;
using TDropDownButtonClickEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer ButtonIndex)>;
using TColumnSizeEvent = std::function<void(TObject* Sender, Integer ACol, bool& Allow)>;
using TRowSizeEvent = std::function<void(TObject* Sender, Integer ARow, bool& Allow)>;
// A column value computed by the application over rows FromRow .. ToRow; Res starts at 0.
using TGroupCalcEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer FromRow, Integer ToRow, double& Res)>;
// The scroll hint about to show; ARow is the column or row it names.
using TScrollHintEvent = std::function<void(TObject* Sender, Integer ARow, String& hintstr)>;
using TEndColumnSizeEvent = std::function<void(TObject* Sender, Integer ACol)>;
using TEndRowSizeEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TUpdateColumnSizeEvent = std::function<void(TObject* Sender, Integer ACol, Integer& AWidth)>;
using TCanAddEvent = std::function<void(TObject* Sender, bool& CanAdd)>;
using TCanInsertRowEvent = std::function<void(TObject* Sender, Integer ARow, bool& CanInsert)>;
// Asked before a row's disjunct selection changes to AState; told after it changed.
using TRowDisjunctSelectEvent = std::function<void(TObject* Sender, Integer ARow, bool AState, bool& Allow)>;
using TRowDisjunctSelectedEvent = std::function<void(TObject* Sender, Integer ARow)>;
// The Enter advance's target, which the handler may move or refuse; the rows come first.
using TAutoAdvanceEvent = std::function<void(TObject* Sender, Integer OldRow, Integer OldCol, Integer& NewRow,
                                             Integer& NewCol, bool& Allow)>;
using TCellChangingEvent = std::function<void(TObject* Sender, Integer OldRow, Integer OldCol, Integer NewRow,
                                              Integer NewCol, bool& Allow)>;
using TAutoInsertColEvent = std::function<void(TObject* Sender, Integer ACol)>;
using TCheckBoxClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, bool State)>;
using TRadioClickEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, Integer AIdx)>;
using TClipboardAllowEvent = std::function<void(TObject* Sender, bool& Allow)>;
// The selection as it was before the cut or copy.
using TClipboardDoneEvent = std::function<void(TObject* Sender, const TGridRect& CellRect)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TCanDeleteRowEvent = std::function<void(TObject* Sender, Integer ARow, bool& CanDelete)>;
using TCellValidateEvent =
    std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value, bool& Valid)>;
using TRowChangingEvent = std::function<void(TObject* Sender, Integer OldRow, Integer NewRow, bool& Allow)>;
using TColChangingEvent = std::function<void(TObject* Sender, Integer OldCol, Integer NewCol, bool& Allow)>;
using TAutoAddRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
using TCellBalloonEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& ATitle,
                                             String& AText, Integer& AIcon)>;
ZELMOR_ENUM(THintShowLargeTextPos, hpCell, hpCursor)
using TAutoDeleteRowEvent = std::function<void(TObject* Sender, Integer ARow)>;
// Asked before the filter drop-down of a column opens; told after it closed.
using TFilterShowEvent = std::function<void(TObject* Sender, Integer ACol, bool& Allow)>;
using TFilterCloseEvent = std::function<void(TObject* Sender, Integer ACol)>;

// ---- Errors

// The grid's exception: the framework's Exception with one of the messages below; no extra fields.
ZELMOR_DECLARE_EXCEPTION(EAdvGridError, Exception)

// Every message the grid raises EAdvGridError with. The functions build the messages that carry values.
namespace AdvGridErrors {
inline constexpr const Char* InvalidRowAccessed = u"Invalid row accessed";
inline constexpr const Char* InvalidColumnAccessed = u"Invalid column accessed";
inline constexpr const Char* NoIntegerValue = u"Cell does not contain integer value";
inline constexpr const Char* NoFloatValue = u"Cell does not contain a float value";
inline constexpr const Char* ColumnsNotInRange = u"Columns is not in valid range";
inline constexpr const Char* NoSortIndexes = u"No indexes specified for indexed sort";
inline constexpr const Char* ExcelServerNotFound = u"Excel OLE server not found";
inline constexpr const Char* WordServerNotFound = u"Word OLE server not found";
inline constexpr const Char* LoadInProgress = u"The grid is loading a file";

inline String InvalidRowNumberAccessed(Integer row) {
    return u"Invalid row " + IntToStr(row) + u" accessed";
}
inline String FileCorrupt(const String& fileName) {
    return u"File contains no data or corrupt file " + fileName;
}
inline String ErrorAtPosition(Integer position, Integer col, Integer row) {
    return u"Error at position: " + IntToStr(position) + u" in Cell [" + IntToStr(col) + u", " +
           IntToStr(row) + u"].";
}
inline String CannotCreateFile(const String& fileName) {
    return u"Cannot Create file " + fileName;
}
inline String FileNotFound(const String& fileName) {
    return u"File " + fileName + u" not found";
}
inline String WorksheetNotFound(const String& sheet) {
    return u"Excel worksheet " + sheet + u" not found";
}
} // namespace AdvGridErrors
