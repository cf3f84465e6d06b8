// The grid's exchange with spreadsheet workbooks through the spreadsheet server, late-bound: the grid
// hands over and takes back cell texts; the server owns the workbook and its file.
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/ComObj.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"

namespace {

const Char* const kSpreadsheetServer = u"excel.application";

// Shows the hourglass from construction to Restore or destruction, whichever comes first.
class HourGlass {
public:
    HourGlass() : FSaved(Screen()->Cursor()) { Screen()->SetCursor(crHourGlass); }
    ~HourGlass() { Restore(); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
    void Restore() {
        if (FActive)
            Screen()->SetCursor(FSaved);
        FActive = false;
    }

private:
    TCursor FSaved;
    bool FActive = true;
};

// Quits a server the call started and releases it, on the way out of the call. A failure of the quit
// itself is dropped: the call's own result or error is what the caller needs to see.
class ServerInstance {
public:
    ServerInstance(Variant server, bool started) : FServer(std::move(server)), FStarted(started) {}
    ~ServerInstance() { Release(); }
    ServerInstance(const ServerInstance&) = delete;
    ServerInstance& operator=(const ServerInstance&) = delete;
    const Variant& operator*() const { return FServer; }
    void Release() {
        if (FStarted && !FServer.IsEmpty()) {
            try {
                FServer.Call(u"Quit");
            } catch (const Exception&) {
            }
        }
        FServer = Variant();
    }

private:
    Variant FServer;
    bool FStarted;
};

// Spreadsheet column letters: A .. Z, AA .. ZZ, and on to AAA beyond column 702.
String ColumnLetters(Integer n) {
    String letters;
    for (; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), Char(u'A' + (n - 1) % 26));
    return letters;
}

// The value of column letters (A = 1 ... Z = 26, AA = 27 ...); -1 for anything else.
Integer ColumnValue(StringView letters) {
    if (letters.empty() || letters.size() > 3)
        return -1;
    Integer value = 0;
    for (Char c : letters) {
        if (c < u'A' || c > u'Z')
            return -1;
        value = value * 26 + (c - u'A' + 1);
    }
    return value;
}

Integer RowValue(StringView digits) {
    Integer value = 0;
    return TryStrToInt(digits, value) ? value : -1;
}

// One end of an address after its leading "$": letters, "$", digits.
void DecodeCell(StringView end, Integer& col, Integer& row) {
    const size_t dollar = end.find(u'$');
    if (dollar == StringView::npos) {
        col = row = -1;
        return;
    }
    col = ColumnValue(end.substr(0, dollar));
    row = RowValue(end.substr(dollar + 1));
}

struct UsedBlock {
    Integer c1 = -1, r1 = -1, c2 = -1, r2 = -1;
};

// A used range's address ("$B$2:$D$4", "$A$1", "$3:$7" for whole rows) as its first and last column and
// row; -1 marks what does not decode.
UsedBlock DecodeUsedRange(const String& address) {
    UsedBlock block;
    auto dropDollar = [](StringView text) {
        return !text.empty() && text[0] == u'$' ? text.substr(1) : text;
    };
    const size_t colon = address.find(u':');
    if (colon != String::npos) {
        const StringView first = dropDollar(StringView(address).substr(0, colon));
        const StringView last = dropDollar(StringView(address).substr(colon + 1));
        if (first.find(u'$') == StringView::npos) {
            block.c1 = 1;
            block.c2 = 256;
            block.r1 = RowValue(first);
            block.r2 = RowValue(last);
        } else {
            DecodeCell(first, block.c1, block.r1);
            DecodeCell(last, block.c2, block.r2);
        }
    } else if (address.find(u'$') == String::npos) {
        block.c1 = block.r1 = block.c2 = block.r2 = 1;
    } else {
        DecodeCell(dropDollar(address), block.c1, block.r1);
        block.c2 = block.c1;
        block.r2 = block.r1;
    }
    return block;
}

// The text a workbook value gives a cell; false for values that leave the cell as it is (errors, objects).
bool WorkbookCellText(const Variant& value, String& text) {
    const TVarType type = value.VarType();
    if (type == varError || type == varDispatch || value.IsArray())
        return false;
    text = value.IsEmpty() || value.IsNull() ? String() : VarToStr(value);
    return true;
}

Variant StartServer() {
    try {
        return CreateOleObject(kSpreadsheetServer);
    } catch (const Exception&) {
        throw EAdvGridError(u"Excel OLE server not found");
    }
}

} // namespace

void TAdvStringGrid::SaveToXLS(const String& Filename, bool CreateNewSheet) {
    SaveXLS(Filename, String(), CreateNewSheet);
}

void TAdvStringGrid::SaveToXLSSheet(const String& Filename, const String& SheetName) {
    SaveXLS(Filename, SheetName, false);
}

void TAdvStringGrid::SaveXLS(const String& Filename, const String& SheetName, bool CreateNewSheet) {
    HourGlass hourGlass;
    Variant server;
    bool started = false;
    try {
        server = GetActiveObject(kSpreadsheetServer);
    } catch (const Exception&) {
        server = StartServer();
        started = true;
    }
    ServerInstance instance(server, started);
    server = Variant();
    const Variant& application = *instance;

    Variant workbook;
    Variant sheet;
    Integer startRow = 1;
    bool saveInPlace = false;
    const Variant workbooks = application.Get(u"WorkBooks");
    if (!SheetName.empty()) {
        try {
            if (FileExists(Filename)) {
                workbook = workbooks.Call(u"Open", {Filename});
                saveInPlace = true;
            } else {
                workbook = workbooks.Call(u"Add");
            }
        } catch (const Exception&) {
            if (!workbook.IsEmpty())
                throw;
            // A workbook that cannot be opened is written anew; when even that fails, the server's
            // exception goes to the caller rather than a save that never happened passing for done.
            saveInPlace = false;
            workbook = workbooks.Call(u"Add");
        }
        const Integer count = workbook.Get(u"Sheets").Get(u"Count").AsInteger();
        for (Integer i = 1; i <= count; ++i) {
            Variant candidate = workbook.Get(u"Sheets", {i});
            if (candidate.Get(u"Name").AsString() == SheetName)
                sheet = std::move(candidate);
        }
        if (sheet.IsEmpty()) {
            sheet = workbook.Get(u"WorkSheets").Call(u"Add");
            sheet.Put(u"Name", SheetName);
        }
    } else if (CreateNewSheet || workbooks.Get(u"Count").AsInteger() == 0) {
        workbook = workbooks.Call(u"Add");
        sheet = workbook.Get(u"Sheets", {1});
    } else {
        workbook = application.Get(u"ActiveWorkBook");
        sheet = workbook.Get(u"ActiveSheet");
        startRow = application.Get(u"ActiveCell").Get(u"Row").AsInteger();
    }

    const Integer startCol = SaveStartCol();
    const Integer firstRow = SaveStartRow();
    const Integer rows = RowCount() - firstRow;
    const Integer cols = ColCount() - startCol;
    if (rows > 0 && cols > 0) {
        Variant cells = VarArrayCreate({0, rows - 1, 0, cols - 1}, varVariant);
        ExportNotification(esExportStart, firstRow);
        for (Integer r = firstRow; r < RowCount(); ++r) {
            ExportNotification(esExportNextRow, r);
            for (Integer d = startCol; d < ColCount(); ++d) {
                String text = SaveCell(RealColIndex(d), r);
                text.erase(std::remove(text.begin(), text.end(), u'\r'), text.end());
                cells.Element(r - firstRow, d - startCol) = Variant(std::move(text));
            }
        }
        ExportNotification(esExportDone, -1);
        const String address =
            u"A" + IntToStr(startRow) + u":" + ColumnLetters(cols) + IntToStr(Int64(startRow) + rows - 1);
        sheet.Get(u"Range", {address}).Put(u"Value", std::move(cells));
    }

    // A failed save is the caller's to know: the server's exception names the file and the cause.
    if (saveInPlace)
        workbook.Call(u"Save");
    else
        workbook.Call(u"SaveAs", {Filename});
}

void TAdvStringGrid::LoadFromXLS(const String& Filename) {
    LoadXLS(Filename, String());
}

void TAdvStringGrid::LoadFromXLSSheet(const String& Filename, const String& SheetName) {
    LoadXLS(Filename, SheetName);
}

void TAdvStringGrid::LoadXLS(const String& Filename, const String& SheetName) {
    HourGlass hourGlass;
    ServerInstance instance(StartServer(), true);
    const Variant& application = *instance;
    try {
        const Variant workbook = application.Get(u"WorkBooks").Call(u"Open", {Filename});
        Variant sheet;
        if (SheetName.empty()) {
            sheet = workbook.Get(u"ActiveSheet");
        } else {
            const Integer count = workbook.Get(u"Sheets").Get(u"Count").AsInteger();
            for (Integer i = 1; i <= count && sheet.IsEmpty(); ++i) {
                Variant candidate = workbook.Get(u"Sheets", {i});
                if (candidate.Get(u"Name").AsString() == SheetName)
                    sheet = std::move(candidate);
            }
            if (sheet.IsEmpty())
                throw EAdvGridError(u"Excel worksheet " + SheetName + u" not found");
        }

        const UsedBlock used = DecodeUsedRange(sheet.Get(u"UsedRange").Get(u"Address").AsString());
        const bool oneCell = used.c1 == used.c2 && used.r1 == used.r2;
        // The values are fetched before the grid is sized to them, so that a block the server cannot
        // hand over fails before the grid grows to it.
        Variant values;
        if (oneCell) {
            try {
                values = sheet.Get(u"Rows").Get(u"Cells", {used.r1, used.c1}).Get(u"Value");
            } catch (const Exception&) {
                throw Exception(u"Incorrect XLS file");
            }
        } else {
            const String address = ColumnLetters(used.c1) + IntToStr(used.r1) + u":" +
                                   ColumnLetters(used.c2) + IntToStr(used.r2);
            values = sheet.Get(u"Range", {address}).Get(u"Value");
        }

        const Integer oldFixedCols = FixedCols();
        const Integer oldFixedRows = FixedRows();
        if (used.c1 != -1 && used.r1 != -1 && used.c2 != -1 && used.r2 != -1) {
            SetColCount(used.c2 - used.c1 + 1);
            SetRowCount(used.r2 - used.r1 + 1);
        }
        Integer fc = 0;
        Integer fr = 0;
        if (!SaveFixedCells() && !SaveFixedCols()) {
            fc = oldFixedCols;
            SetColCount(ColCount() + oldFixedCols);
        }
        if (!SaveFixedCells() && !SaveFixedRows()) {
            fr = oldFixedRows;
            SetRowCount(RowCount() + oldFixedRows);
        }
        if (oldFixedCols < ColCount())
            SetFixedCols(oldFixedCols);
        if (oldFixedRows < RowCount())
            SetFixedRows(oldFixedRows);

        if (oneCell) {
            String text;
            if (WorkbookCellText(values, text))
                LoadCell(fc, fr, text);
        } else {
            for (Integer i = 1; i <= RowCount() - fr; ++i)
                for (Integer j = 1; j <= ColCount() - fc; ++j) {
                    String text;
                    bool store = false;
                    try {
                        store = WorkbookCellText(values.Element(i, j), text);
                    } catch (const Exception&) {
                        throw Exception(u"Incorrect XLS file");
                    }
                    if (store)
                        LoadCell(fc + j - 1, fr + i - 1, text);
                }
        }
        workbook.Call(u"Close", {}, {NamedArg(u"SaveChanges", false)});
    } catch (const Exception&) {
        instance.Release();
        hourGlass.Restore();
        // The error under way is the one to report; a failure of the notification is dropped for it.
        try {
            DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
            CellsChangedHook();
        } catch (const Exception&) {
        }
        throw;
    }
    instance.Release();
    hourGlass.Restore();
    DoCellsChanged(TRect(0, 0, ColCount(), RowCount()));
    CellsChangedHook();
}

std::unique_ptr<TStringList> TAdvStringGrid::GetXLSSheets(const String& FileName) {
    HourGlass hourGlass;
    ServerInstance instance(StartServer(), true);
    const Variant& application = *instance;
    const Variant workbook = application.Get(u"WorkBooks").Call(u"Open", {FileName});
    const Variant sheets = workbook.Get(u"WorkSheets");
    auto names = std::make_unique<TStringList>();
    const Integer count = sheets.Get(u"Count").AsInteger();
    for (Integer i = 1; i <= count; ++i)
        names->Add(sheets.Call(u"item", {i}).Get(u"Name").AsString());
    workbook.Put(u"Saved", true);
    return names;
}
