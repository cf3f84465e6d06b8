// The spreadsheet server's automation objects.
#include "platform/servers/Spreadsheet.h"

#include <algorithm>

#include "platform/framework/ComObj.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysStrings.h"
#include "platform/servers/Workbook.h"

namespace servers {

const Char* const kSpreadsheetProgId = u"Excel.Application";

namespace {

// Blocks larger than this are not read or filled as a whole: their array alone would take gigabytes.
constexpr Int64 kMaxBlockCells = Int64(1) << 25;

[[noreturn]] void Fail(const String& message) {
    throw EOleException(message, kDispEException, kSpreadsheetSource);
}

String ColumnName(Integer col) {
    String name;
    for (; col > 0; col = (col - 1) / 26)
        name.insert(name.begin(), Char(u'A' + (col - 1) % 26));
    return name;
}

String CellAddress(Integer row, Integer col) {
    return u"$" + ColumnName(col) + u"$" + IntToStr(row);
}

// One end of an address: column letters and a row number, each with an optional "$".
bool ParseCell(StringView text, Integer& row, Integer& col) {
    size_t i = 0;
    if (i < text.size() && text[i] == u'$')
        ++i;
    Int64 column = 0;
    while (i < text.size() &&
           ((text[i] >= u'A' && text[i] <= u'Z') || (text[i] >= u'a' && text[i] <= u'z')) &&
           column <= kMaxSheetCols)
        column = column * 26 + ((text[i++] | 0x20) - u'a' + 1);
    if (i < text.size() && text[i] == u'$')
        ++i;
    Int64 number = 0;
    const size_t digits = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9' && number <= kMaxSheetRows)
        number = number * 10 + (text[i++] - u'0');
    if (i != text.size() || digits == i || column < 1 || column > kMaxSheetCols || number < 1 ||
        number > kMaxSheetRows)
        return false;
    row = Integer(number);
    col = Integer(column);
    return true;
}

TCellBlock ParseAddress(const String& address) {
    TCellBlock block;
    const size_t colon = address.find(u':');
    const StringView text(address);
    bool valid = colon == String::npos ? ParseCell(text, block.firstRow, block.firstCol)
                                       : ParseCell(text.substr(0, colon), block.firstRow, block.firstCol) &&
                                             ParseCell(text.substr(colon + 1), block.lastRow, block.lastCol);
    if (!valid)
        Fail(u"The address \"" + address + u"\" is not valid.");
    if (colon == String::npos) {
        block.lastRow = block.firstRow;
        block.lastCol = block.firstCol;
    }
    if (block.lastRow < block.firstRow)
        std::swap(block.lastRow, block.firstRow);
    if (block.lastCol < block.firstCol)
        std::swap(block.lastCol, block.firstCol);
    return block;
}

// A file name as the server's callers write them: backslashes separate folders, and a drive such as "C:"
// stands for the root of the file system.
String HostFileName(const String& fileName) {
    String name = fileName;
    std::replace(name.begin(), name.end(), u'\\', u'/');
    if (name.size() >= 2 && name[1] == u':' && ((name[0] | 0x20) >= u'a' && (name[0] | 0x20) <= u'z'))
        name = name.size() == 2 || name[2] != u'/' ? u"/" + name.substr(2) : name.substr(2);
    return ExpandFileName(name);
}

Int64 CellCount(const TCellBlock& block) {
    return Int64(block.lastRow - block.firstRow + 1) * (block.lastCol - block.firstCol + 1);
}

// The value a cell takes from what is written to it.
Variant CellFrom(Variant& value) {
    switch (value.VarType()) {
    case varUString:
        return TypedEntry(value.AsStringRef());
    case varEmpty:
    case varNull:
        return {};
    case varBoolean:
    case varDate:
    case varError:
    case varDouble:
        return std::move(value);
    case varInteger:
    case varInt64:
    case varCurrency:
        return value.AsDouble();
    default:
        Fail(u"A cell cannot hold this value.");
    }
}

// What Property handlers share: a get answers the value, a put is refused unless the member allows it.
void GetOnly(TDispatchKind kind, const Char* name) {
    if (kind == TDispatchKind::PropertyPut)
        Fail(String(u"The property ") + name + u" cannot be set.");
}

struct Book {
    TWorkbookData data;
    String fileName;
    bool saved = true;
};

class RangeObject : public TAutoDispatch {
public:
    RangeObject(std::shared_ptr<Book> book, std::shared_ptr<TSheetData> sheet, TCellBlock block)
        : FBook(std::move(book)), FSheet(std::move(sheet)), FBlock(block) {
        Member(u"Address", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Address");
            const String first = CellAddress(FBlock.firstRow, FBlock.firstCol);
            if (CellCount(FBlock) == 1)
                return first;
            return first + u":" + CellAddress(FBlock.lastRow, FBlock.lastCol);
        });
        Member(u"Row", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Row");
            return FBlock.firstRow;
        });
        Member(u"Cells", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            GetOnly(kind, u"Cells");
            const Int64 row = Int64(FBlock.firstRow) + RequiredArgument(args, 0).AsInteger() - 1;
            const Int64 col = Int64(FBlock.firstCol) + RequiredArgument(args, 1).AsInteger() - 1;
            if (row < 1 || row > kMaxSheetRows || col < 1 || col > kMaxSheetCols)
                Fail(u"The cell lies outside the sheet.");
            TCellBlock cell{Integer(row), Integer(col), Integer(row), Integer(col)};
            return Variant(std::make_shared<RangeObject>(FBook, FSheet, cell));
        });
        Member(u"Value", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            if (kind == TDispatchKind::PropertyPut) {
                PutValue(RequiredArgument(args, args.positional.empty() ? 0 : args.positional.size() - 1));
                return {};
            }
            return GetValue();
        });
    }

private:
    Variant GetValue() const {
        if (CellCount(FBlock) == 1) {
            const Variant* cell = FSheet->Cell(FBlock.firstRow, FBlock.firstCol);
            return cell ? *cell : Variant();
        }
        if (CellCount(FBlock) > kMaxBlockCells)
            Fail(u"The range is too large to read.");
        const Integer rows = FBlock.lastRow - FBlock.firstRow + 1;
        const Integer cols = FBlock.lastCol - FBlock.firstCol + 1;
        Variant array = VarArrayCreate({1, rows, 1, cols}, varVariant);
        for (const auto& [row, cells] : FSheet->Rows()) {
            if (row < FBlock.firstRow || row > FBlock.lastRow)
                continue;
            for (const auto& [col, value] : cells)
                if (col >= FBlock.firstCol && col <= FBlock.lastCol)
                    array.Element(row - FBlock.firstRow + 1, col - FBlock.firstCol + 1) = value;
        }
        return array;
    }

    void PutValue(Variant& value) {
        FBook->saved = false;
        if (value.IsArray()) {
            const std::vector<TVarArrayBound>& bounds = value.ArrayBounds();
            if (bounds.size() > 2)
                Fail(u"A range takes arrays of one or two dimensions.");
            // A one-dimensional array is one row.
            const bool flat = bounds.size() == 1;
            const Integer arrayRows = flat ? 1 : bounds[0].elementCount;
            const Integer arrayCols = flat ? bounds[0].elementCount : bounds[1].elementCount;
            const Integer rows = std::min(arrayRows, FBlock.lastRow - FBlock.firstRow + 1);
            const Integer cols = std::min(arrayCols, FBlock.lastCol - FBlock.firstCol + 1);
            for (Integer i = 0; i < rows; ++i)
                for (Integer j = 0; j < cols; ++j) {
                    Variant& element = flat ? value.Element(bounds[0].lowBound + j)
                                            : value.Element(bounds[0].lowBound + i, bounds[1].lowBound + j);
                    FSheet->SetCell(FBlock.firstRow + i, FBlock.firstCol + j, CellFrom(element));
                    // The caller's array is spent as it is read, so the texts are never held twice.
                    element = Variant();
                }
            return;
        }
        if (CellCount(FBlock) > kMaxBlockCells)
            Fail(u"The range is too large to fill.");
        for (Integer row = FBlock.firstRow; row <= FBlock.lastRow; ++row)
            for (Integer col = FBlock.firstCol; col <= FBlock.lastCol; ++col) {
                Variant copy = value;
                FSheet->SetCell(row, col, CellFrom(copy));
            }
    }

    std::shared_ptr<Book> FBook;
    std::shared_ptr<TSheetData> FSheet;
    TCellBlock FBlock;
};

bool ValidSheetName(const String& name) {
    if (name.empty() || name.size() > 31 || name.front() == u'\'' || name.back() == u'\'')
        return false;
    return name.find_first_of(u"[]:*?/\\") == String::npos;
}

class SheetObject : public TAutoDispatch {
public:
    SheetObject(std::shared_ptr<Book> book, std::shared_ptr<TSheetData> sheet)
        : FBook(std::move(book)), FSheet(std::move(sheet)) {
        Member(u"Name", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            if (kind != TDispatchKind::PropertyPut)
                return FSheet->Name();
            const String name = RequiredArgument(args, 0).AsString();
            if (!ValidSheetName(name))
                Fail(u"The sheet name \"" + name + u"\" is not valid.");
            for (const auto& other : FBook->data.sheets)
                if (other != FSheet && SameText(other->Name(), name))
                    Fail(u"A sheet named \"" + name + u"\" exists already.");
            FSheet->SetName(name);
            FBook->saved = false;
            return {};
        });
        Member(u"UsedRange", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"UsedRange");
            TCellBlock block;
            FSheet->UsedBlock(block);
            return Range(block);
        });
        Member(u"Range", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            GetOnly(kind, u"Range");
            return Range(ParseAddress(RequiredArgument(args, 0).AsString()));
        });
        Member(u"Rows", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Rows");
            return Range({1, 1, kMaxSheetRows, kMaxSheetCols});
        });
        Member(u"Cells", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            GetOnly(kind, u"Cells");
            const Int64 row = RequiredArgument(args, 0).AsInteger();
            const Int64 col = RequiredArgument(args, 1).AsInteger();
            if (row < 1 || row > kMaxSheetRows || col < 1 || col > kMaxSheetCols)
                Fail(u"The cell lies outside the sheet.");
            return Range({Integer(row), Integer(col), Integer(row), Integer(col)});
        });
        // Selecting a sheet makes it the active sheet of its workbook.
        Member(u"Select", [this](TDispatchKind, TDispatchArgs&) -> Variant {
            const auto& sheets = FBook->data.sheets;
            const auto at = std::find(sheets.begin(), sheets.end(), FSheet);
            if (at == sheets.end())
                Fail(u"The sheet is no longer in its workbook.");
            FBook->data.activeSheet = size_t(at - sheets.begin());
            return {};
        });
    }

private:
    Variant Range(const TCellBlock& block) {
        return Variant(std::make_shared<RangeObject>(FBook, FSheet, block));
    }

    std::shared_ptr<Book> FBook;
    std::shared_ptr<TSheetData> FSheet;
};

Variant SheetVariant(const std::shared_ptr<Book>& book, size_t index) {
    return Variant(std::make_shared<SheetObject>(book, book->data.sheets[index]));
}

// A sheet by 1-based number or by name.
Variant SheetItem(const std::shared_ptr<Book>& book, const Variant& index) {
    const std::vector<std::shared_ptr<TSheetData>>& sheets = book->data.sheets;
    if (index.VarType() == varUString) {
        for (size_t i = 0; i < sheets.size(); ++i)
            if (SameText(sheets[i]->Name(), index.AsStringRef()))
                return SheetVariant(book, i);
        Fail(u"There is no sheet named \"" + index.AsStringRef() + u"\".");
    }
    const Integer number = index.AsInteger();
    if (number < 1 || size_t(number) > sheets.size())
        Fail(u"There is no sheet " + IntToStr(number) + u".");
    return SheetVariant(book, size_t(number - 1));
}

String NewSheetName(const TWorkbookData& data) {
    for (Integer n = 1;; ++n) {
        const String name = u"Sheet" + IntToStr(n);
        if (std::none_of(
                data.sheets.begin(), data.sheets.end(),
                [&](const std::shared_ptr<TSheetData>& sheet) { return SameText(sheet->Name(), name); }))
            return name;
    }
}

class SheetsObject : public TAutoDispatch {
public:
    explicit SheetsObject(std::shared_ptr<Book> book) : FBook(std::move(book)) {
        Member(u"Count", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Count");
            return Integer(FBook->data.sheets.size());
        });
        Member(u"Item", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            GetOnly(kind, u"Item");
            return SheetItem(FBook, RequiredArgument(args, 0));
        });
        // A new sheet goes before the active one and becomes active.
        Member(u"Add", [this](TDispatchKind, TDispatchArgs&) -> Variant {
            TWorkbookData& data = FBook->data;
            const size_t at = std::min(data.activeSheet, data.sheets.size());
            data.sheets.insert(data.sheets.begin() + std::ptrdiff_t(at),
                               std::make_shared<TSheetData>(NewSheetName(data)));
            data.activeSheet = at;
            FBook->saved = false;
            return SheetVariant(FBook, at);
        });
    }

private:
    std::shared_ptr<Book> FBook;
};

class Application : public TAutoDispatch, public std::enable_shared_from_this<Application> {
public:
    Application();
    std::vector<std::shared_ptr<Book>> books;
    std::shared_ptr<Book> activeBook;
    bool visible = false;      // the server shows no window; the flag is kept for its callers
    bool displayAlerts = true; // the server never asks, so nothing depends on it

    void Activate(const std::shared_ptr<Book>& book) { activeBook = book; }
    void Close(const std::shared_ptr<Book>& book) {
        books.erase(std::remove(books.begin(), books.end(), book), books.end());
        if (activeBook == book)
            activeBook = books.empty() ? nullptr : books.back();
    }
};

class WorkbookObject : public TAutoDispatch {
public:
    WorkbookObject(std::shared_ptr<Application> application, std::shared_ptr<Book> book)
        : FApplication(std::move(application)), FBook(std::move(book)) {
        auto sheets = [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            GetOnly(kind, u"Sheets");
            if (Variant* index = Argument(args, 0))
                return SheetItem(FBook, *index);
            return Variant(std::make_shared<SheetsObject>(FBook));
        };
        Member(u"Sheets", sheets);
        Member(u"WorkSheets", sheets);
        Member(u"ActiveSheet", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"ActiveSheet");
            return SheetVariant(FBook, FBook->data.activeSheet);
        });
        Member(u"Save", [this](TDispatchKind, TDispatchArgs&) -> Variant {
            if (FBook->fileName.empty())
                Fail(u"The workbook has no file yet; save it with SaveAs.");
            SaveTo(FBook->fileName);
            return {};
        });
        Member(u"SaveAs", [this](TDispatchKind, TDispatchArgs& args) -> Variant {
            SaveTo(HostFileName(RequiredArgument(args, 0, u"Filename").AsString()));
            return {};
        });
        Member(u"Close", [this](TDispatchKind, TDispatchArgs& args) -> Variant {
            const Variant* saveChanges = Argument(args, 0, u"SaveChanges");
            if (saveChanges && !saveChanges->IsEmpty() && saveChanges->AsBoolean()) {
                if (FBook->fileName.empty())
                    Fail(u"The workbook has no file yet; save it with SaveAs.");
                SaveTo(FBook->fileName);
            }
            FApplication->Close(FBook);
            return {};
        });
        Member(u"Saved", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            if (kind == TDispatchKind::PropertyPut) {
                FBook->saved = RequiredArgument(args, 0).AsBoolean();
                return {};
            }
            return FBook->saved;
        });
    }

private:
    void SaveTo(const String& fileName) {
        WriteWorkbookFile(FBook->data, fileName);
        FBook->fileName = fileName;
        FBook->saved = true;
    }

    std::shared_ptr<Application> FApplication;
    std::shared_ptr<Book> FBook;
};

class WorkbooksObject : public TAutoDispatch {
public:
    explicit WorkbooksObject(std::shared_ptr<Application> application)
        : FApplication(std::move(application)) {
        Member(u"Count", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
            GetOnly(kind, u"Count");
            return Integer(FApplication->books.size());
        });
        // A new workbook has one sheet, whatever template is asked for.
        Member(u"Add", [this](TDispatchKind, TDispatchArgs&) -> Variant {
            auto book = std::make_shared<Book>();
            book->data.sheets.push_back(std::make_shared<TSheetData>(u"Sheet1"));
            return Adopt(book);
        });
        Member(u"Open", [this](TDispatchKind, TDispatchArgs& args) -> Variant {
            const String fileName = HostFileName(RequiredArgument(args, 0, u"Filename").AsString());
            auto book = std::make_shared<Book>();
            book->data = std::move(*ReadWorkbookFile(fileName));
            book->fileName = fileName;
            return Adopt(book);
        });
        // Closes every workbook; changes not saved are dropped, as with alerts off.
        Member(u"Close", [this](TDispatchKind, TDispatchArgs&) -> Variant {
            FApplication->books.clear();
            FApplication->activeBook = nullptr;
            return {};
        });
    }

private:
    Variant Adopt(const std::shared_ptr<Book>& book) {
        FApplication->books.push_back(book);
        FApplication->Activate(book);
        return Variant(std::make_shared<WorkbookObject>(FApplication, book));
    }

    std::shared_ptr<Application> FApplication;
};

Application::Application() {
    Member(u"WorkBooks", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
        GetOnly(kind, u"WorkBooks");
        return Variant(std::make_shared<WorkbooksObject>(shared_from_this()));
    });
    Member(u"ActiveWorkBook", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
        GetOnly(kind, u"ActiveWorkBook");
        if (!activeBook)
            return {};
        return Variant(std::make_shared<WorkbookObject>(shared_from_this(), activeBook));
    });
    // The active cell is the top left cell of the active sheet: the server has no selection of its own.
    Member(u"ActiveCell", [this](TDispatchKind kind, TDispatchArgs&) -> Variant {
        GetOnly(kind, u"ActiveCell");
        if (!activeBook)
            return {};
        const TWorkbookData& data = activeBook->data;
        return Variant(
            std::make_shared<RangeObject>(activeBook, data.sheets[data.activeSheet], TCellBlock{1, 1, 1, 1}));
    });
    Member(u"Visible", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
        if (kind != TDispatchKind::PropertyPut)
            return visible;
        visible = RequiredArgument(args, 0).AsBoolean();
        return {};
    });
    Member(u"DisplayAlerts", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
        if (kind != TDispatchKind::PropertyPut)
            return displayAlerts;
        displayAlerts = RequiredArgument(args, 0).AsBoolean();
        return {};
    });
    // The sheets of the active workbook, or one of them by number or name.
    Member(u"WorkSheets", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
        GetOnly(kind, u"WorkSheets");
        if (!activeBook)
            Fail(u"There is no active workbook.");
        if (Variant* index = Argument(args, 0))
            return SheetItem(activeBook, *index);
        return Variant(std::make_shared<SheetsObject>(activeBook));
    });
    // Quitting drops every workbook, saved or not.
    Member(u"Quit", [this](TDispatchKind, TDispatchArgs&) -> Variant {
        books.clear();
        activeBook = nullptr;
        return {};
    });
}

} // namespace

std::shared_ptr<IDispatch> NewSpreadsheetApplication() {
    return std::make_shared<Application>();
}

void RegisterSpreadsheetServer() {
    RegisterOleServer(kSpreadsheetProgId, NewSpreadsheetApplication);
}

} // namespace servers
