// The spreadsheet server: the application object CreateOleObject starts for "Excel.Application", with
// its workbooks, sheets and ranges over the in-memory workbook (Workbook.h).
//
// Members, reached late-bound by name:
//   application  WorkBooks, WorkSheets[(index)], ActiveWorkBook, ActiveCell, Visible and DisplayAlerts
//                (get and put), Quit
//   workbooks    Count, Add([template]), Open(Filename), Close
//   workbook     Sheets[(index)], WorkSheets[(index)], ActiveSheet, Save, SaveAs(Filename),
//                Close([SaveChanges]), Saved (get and put)
//   sheets       Count, Add, Item(index or name)
//   sheet        Name (get and put), UsedRange, Range(address), Rows, Cells(row, column), Select
//   range        Address, Value (get and put), Cells(row, column), Row
// A range's Value reads one cell as its value and a block as a 2-D array indexed from 1; writing an
// array fills the block from its top left corner, writing anything else fills every cell, and text is
// typed as a spreadsheet program types entries (TypedEntry). File names may use backslashes and a drive
// ("C:\\Logs\\a.xlsx" is /Logs/a.xlsx). Failures raise EOleException.
#pragma once

#include <memory>

#include "platform/rtl/Variants.h"

namespace servers {

// The programmatic identifier of the spreadsheet server.
extern const Char* const kSpreadsheetProgId;

// A new application instance, as CreateOleObject makes one.
std::shared_ptr<IDispatch> NewSpreadsheetApplication();
void RegisterSpreadsheetServer();

} // namespace servers
