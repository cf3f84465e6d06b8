// The spreadsheet server's in-memory workbook: sheets of typed cells, and the files it is saved to and
// opened from.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Variants.h"

namespace servers {

// The largest sheet a workbook file holds.
constexpr Integer kMaxSheetRows = 1048576;
constexpr Integer kMaxSheetCols = 16384;

// Spreadsheet error codes as error variants carry them.
constexpr Integer kErrorNull = 2000;
constexpr Integer kErrorDiv0 = 2007;
constexpr Integer kErrorValue = 2015;
constexpr Integer kErrorRef = 2023;
constexpr Integer kErrorName = 2029;
constexpr Integer kErrorNum = 2036;
constexpr Integer kErrorNA = 2042;

// A block of cells, 1-based and inclusive.
struct TCellBlock {
    Integer firstRow = 1;
    Integer firstCol = 1;
    Integer lastRow = 1;
    Integer lastCol = 1;
};

// One sheet. A cell holds a double, a date (varDate), a string, a Boolean or an error; an empty variant
// is no cell. Rows keep their cells sorted by column, so memory follows the cells that exist.
class TSheetData {
public:
    explicit TSheetData(String name) : FName(std::move(name)) {}
    const String& Name() const { return FName; }
    void SetName(String name) { FName = std::move(name); }

    // row and col are 1-based and within the sheet's limits.
    const Variant* Cell(Integer row, Integer col) const;
    void SetCell(Integer row, Integer col, Variant value);
    // The smallest block holding every cell; false when the sheet has none.
    bool UsedBlock(TCellBlock& block) const;

    using TRow = std::vector<std::pair<Integer, Variant>>;
    const std::map<Integer, TRow>& Rows() const { return FRows; }

private:
    String FName;
    std::map<Integer, TRow> FRows;
};

struct TWorkbookData {
    std::vector<std::shared_ptr<TSheetData>> sheets;
    size_t activeSheet = 0;
};

// A cell value for a text typed into a sheet, as a spreadsheet program takes typed entries: text the
// locale's float conversion reads (with no leading zero to lose and at most 15 digits) becomes a double;
// text that is exactly a date in the locale's short date form, a time in its long time form, or both
// separated by a blank becomes a date; anything else stays text. An empty text is no cell.
Variant TypedEntry(const String& text);

// Writes the workbook as an xlsx file, whatever the name's extension, rows in order. The file is
// replaced only when the whole workbook was written; on failure the old file stays and the cause is
// raised as EOleException with the file name.
void WriteWorkbookFile(const TWorkbookData& workbook, const String& fileName);

// Reads an xlsx file: EOleException with the file name when it cannot be read or is no workbook.
std::unique_ptr<TWorkbookData> ReadWorkbookFile(const String& fileName);
// Reads xlsx bytes; raises EOleException "<what>" on anything that is not a workbook it can read.
std::unique_ptr<TWorkbookData> ReadWorkbookBytes(const std::string& bytes);

// The source name the server's exceptions carry.
extern const Char* const kSpreadsheetSource;

} // namespace servers
