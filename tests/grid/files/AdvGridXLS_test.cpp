// Tests of the grid's spreadsheet exchange: the calls it makes, against a recording server, and the real
// server's workbooks.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/framework/ComObj.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Servers.h"
#include "platform/servers/Spreadsheet.h"
#include "tests/support/TestSupport.h"

namespace {

const Char* const kProgId = u"excel.application";

// What a recording server was asked, one line per call: "<object>.<member>(<arguments>)", a put as
// "<object>.<member>=<value>"; arrays show as [rows x columns]. Each object is named after the member
// that answered it.
struct CallLog {
    std::vector<std::string> calls;
    std::map<std::string, Variant> answers; // member name to answer, instead of a new object
    std::string failing;                    // a member that raises the server's exception
    Variant lastArray;
};

std::string Describe(const Variant& value) {
    if (value.IsArray())
        return "[" + std::to_string(value.ArrayBounds()[0].elementCount) + "x" +
               std::to_string(value.ArrayBounds()[1].elementCount) + "]";
    return StringToUtf8(VarToStr(value));
}

class Recorder : public IDispatch {
public:
    Recorder(std::shared_ptr<CallLog> log, std::string name) : FLog(std::move(log)), FName(std::move(name)) {}

    Variant Invoke(const String& member, TDispatchKind kind, TDispatchArgs& args) override {
        const std::string name = StringToUtf8(member);
        std::string line = FName + "." + name;
        if (kind == TDispatchKind::PropertyPut) {
            line += "=" + Describe(args.positional.back());
            if (args.positional.back().IsArray())
                FLog->lastArray = args.positional.back();
        } else {
            line += "(";
            for (size_t i = 0; i < args.positional.size(); ++i)
                line += (i ? "," : "") + Describe(args.positional[i]);
            for (const TNamedArg& named : args.named)
                line += StringToUtf8(named.name) + ":=" + Describe(named.value);
            line += ")";
        }
        FLog->calls.push_back(line);
        if (name == FLog->failing)
            throw EOleException(u"Cannot save the workbook \"x\". Disk full.", kDispEException, u"Recorder");
        const auto answer = FLog->answers.find(name);
        if (answer != FLog->answers.end())
            return answer->second;
        return Variant(std::make_shared<Recorder>(FLog, name));
    }

private:
    std::shared_ptr<CallLog> FLog;
    std::string FName;
};

class AdvGridXLSTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::MakeTestFolder("grid-xls");
        log = std::make_shared<CallLog>();
        RegisterOleServer(kProgId, [this] { return std::make_shared<Recorder>(log, "Application"); });
    }
    void TearDown() override {
        RevokeActiveObject(kProgId);
        servers::RegisterServers();
        Screen()->SetCursor(crDefault);
    }
    String PathOf(const char* name) const { return Utf8ToString(folder + "/" + name); }
    std::string Utf8PathOf(const char* name) const { return folder + "/" + name; }

    // ColCount columns and RowCount rows, one fixed row, cells named by their place.
    static void Fill(TAdvStringGrid& grid, Integer cols, Integer rows) {
        grid.SetColCount(cols);
        grid.SetRowCount(rows);
        grid.SetFixedCols(0);
        grid.SetFixedRows(1);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c)
                grid.SetCells(c, r, IntToStr(c) + u":" + IntToStr(r));
    }

    std::string folder;
    std::shared_ptr<CallLog> log;
};

TEST_F(AdvGridXLSTest, ANewWorkbookGetsTheSaveRangeInOneBlockAndAStartedServerIsQuit) {
    TAdvStringGrid grid(nullptr);
    Fill(grid, 3, 11);
    grid.SetCells(1, 4, u"two\r\nlines");
    grid.SetSaveFixedCells(false);
    grid.SaveToXLS(PathOf("a.xls"), true);
    const std::vector<std::string> expected = {
        "Application.WorkBooks()", "WorkBooks.Add()",    "Add.Sheets(1)",
        "Sheets.Range(A1:C10)",    "Range.Value=[10x3]", "Add.SaveAs(" + Utf8PathOf("a.xls") + ")",
        "Application.Quit()"};
    EXPECT_EQ(log->calls, expected);
    EXPECT_EQ(log->lastArray.Element(0, 0).AsString(), u"0:1");
    EXPECT_EQ(log->lastArray.Element(3, 1).AsString(), u"two\nlines");
    EXPECT_EQ(log->lastArray.Element(9, 2).AsString(), u"2:10");
    EXPECT_EQ(Screen()->Cursor(), crDefault);

    // Saving the fixed cells, as by default, writes the fixed row too.
    log->calls.clear();
    grid.SetSaveFixedCells(true);
    grid.SaveToXLS(PathOf("a.xls"), true);
    EXPECT_EQ(log->calls.at(3), "Sheets.Range(A1:C11)");
    EXPECT_EQ(log->calls.at(4), "Range.Value=[11x3]");
    EXPECT_EQ(log->lastArray.Element(0, 0).AsString(), u"0:0");
}

TEST_F(AdvGridXLSTest, TheBlockEndsInTheColumnLettersOfItsWidth) {
    const std::pair<Integer, const char*> cases[] = {{1, "A2"},   {26, "Z2"},  {27, "AA2"},  {30, "AD2"},
                                                     {52, "AZ2"}, {53, "BA2"}, {702, "ZZ2"}, {703, "AAA2"}};
    for (const auto& [cols, end] : cases) {
        TAdvStringGrid grid(nullptr);
        Fill(grid, cols, 2);
        log->calls.clear();
        grid.SaveToXLS(PathOf("w.xls"), true);
        EXPECT_EQ(log->calls.at(3), std::string("Sheets.Range(A1:") + end + ")") << cols;
    }
}

TEST_F(AdvGridXLSTest, ARunningServerTakesTheBlockAtItsActiveRowAndStaysRunning) {
    RegisterActiveObject(kProgId, std::make_shared<Recorder>(log, "Running"));
    log->answers["Count"] = Variant(Integer(1));
    log->answers["Row"] = Variant(Integer(5));
    TAdvStringGrid grid(nullptr);
    Fill(grid, 3, 4);
    grid.SaveToXLS(PathOf("b.xls"), false);
    const std::vector<std::string> expected = {"Running.WorkBooks()",
                                               "WorkBooks.Count()",
                                               "Running.ActiveWorkBook()",
                                               "ActiveWorkBook.ActiveSheet()",
                                               "Running.ActiveCell()",
                                               "ActiveCell.Row()",
                                               "ActiveSheet.Range(A5:C8)",
                                               "Range.Value=[4x3]",
                                               "ActiveWorkBook.SaveAs(" + Utf8PathOf("b.xls") + ")"};
    EXPECT_EQ(log->calls, expected);
}

TEST_F(AdvGridXLSTest, ANamedSheetIsOpenedAndSavedInPlaceOrMadeAndSavedAs) {
    TAdvStringGrid grid(nullptr);
    Fill(grid, 2, 2);
    log->answers["Count"] = Variant(Integer(2));
    log->answers["Name"] = Variant(u"Data");

    grid.SaveToXLSSheet(PathOf("new.xls"), u"Data");
    EXPECT_EQ(log->calls.at(1), "WorkBooks.Add()");
    EXPECT_EQ(log->calls.at(log->calls.size() - 2), "Add.SaveAs(" + Utf8PathOf("new.xls") + ")");

    ASSERT_TRUE(backend::WriteFileAtomically(Utf8PathOf("old.xls"), "exists", nullptr));
    log->calls.clear();
    grid.SaveToXLSSheet(PathOf("old.xls"), u"Data");
    const std::vector<std::string> expected = {"Application.WorkBooks()",
                                               "WorkBooks.Open(" + Utf8PathOf("old.xls") + ")",
                                               "Open.Sheets()",
                                               "Sheets.Count()",
                                               "Open.Sheets(1)",
                                               "Sheets.Name()",
                                               "Open.Sheets(2)",
                                               "Sheets.Name()",
                                               "Sheets.Range(A1:B2)",
                                               "Range.Value=[2x2]",
                                               "Open.Save()",
                                               "Application.Quit()"};
    EXPECT_EQ(log->calls, expected);

    // A sheet of another name is added and named.
    log->calls.clear();
    grid.SaveToXLSSheet(PathOf("old.xls"), u"Other");
    EXPECT_EQ(log->calls.at(8), "Open.WorkSheets()");
    EXPECT_EQ(log->calls.at(9), "WorkSheets.Add()");
    EXPECT_EQ(log->calls.at(10), "Add.Name=Other");
}

TEST_F(AdvGridXLSTest, FailuresRaiseAfterTheServerIsQuitAndTheCursorRestored) {
    TAdvStringGrid grid(nullptr);
    Fill(grid, 2, 2);
    log->failing = "SaveAs";
    try {
        grid.SaveToXLS(PathOf("c.xls"), true);
        FAIL() << "a failed save passed for done";
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), u"Cannot save the workbook \"x\". Disk full.");
    }
    EXPECT_EQ(log->calls.back(), "Application.Quit()");
    EXPECT_EQ(Screen()->Cursor(), crDefault);

    // A workbook that can be neither opened nor added.
    log->calls.clear();
    log->failing = "Add";
    EXPECT_THROW(grid.SaveToXLSSheet(PathOf("e.xls"), u"S"), EOleException);
    EXPECT_EQ(log->calls.back(), "Application.Quit()");

    UnregisterOleServer(kProgId);
    for (auto call : {+[](TAdvStringGrid&g, const String&f) { g.SaveToXLS(f, true); },
                      +[](TAdvStringGrid&g, const String&f) { g.LoadFromXLS(f); },
                      +[](TAdvStringGrid&g, const String&f) { g.GetXLSSheets(f); }}) {
        try {
            call(grid, PathOf("f.xls"));
            FAIL() << "no server, yet no error";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), u"Excel OLE server not found");
        }
        EXPECT_EQ(Screen()->Cursor(), crDefault);
    }
}

// ---- The real server -------------------------------------------------------------------------------

class AdvGridWorkbookTest : public ::testing::Test {
protected:
    void SetUp() override {
        servers::RegisterServers();
        folder = testing_support::MakeTestFolder("grid-workbook");
    }
    String PathOf(const char* name) const { return Utf8ToString(folder + "/" + name); }

    std::string folder;
};

TEST_F(AdvGridWorkbookTest, CellsRoundTripWithNumbersAndDatesTypedInTheWorkbook) {
    const String file = PathOf("log.xls");
    TAdvStringGrid source(nullptr);
    source.SetColCount(4);
    source.SetRowCount(3);
    const char16_t* texts[3][4] = {{u"Time", u"M1", u"M2", u"Note"},
                                   {u"5/3/2026 10:30:05 AM", u"12.5", u"007", u"two\r\nlines"},
                                   {u"10:30:05 AM", u"-3", u"1e3", u""}};
    for (Integer r = 0; r < 3; ++r)
        for (Integer c = 0; c < 4; ++c)
            source.SetCells(c, r, texts[r][c]);
    source.SaveToXLS(file, true);

    const Variant application = CreateOleObject(u"excel.application");
    const Variant sheet = application.Get(u"WorkBooks").Call(u"Open", {file}).Get(u"ActiveSheet");
    EXPECT_EQ(sheet.Get(u"UsedRange").Get(u"Address").AsString(), u"$A$1:$D$3");
    const Variant values = sheet.Get(u"UsedRange").Get(u"Value");
    EXPECT_EQ(values.Element(2, 1).VarType(), varDate);
    EXPECT_EQ(values.Element(2, 2).VarType(), varDouble);
    EXPECT_EQ(values.Element(2, 3).VarType(), varUString);
    EXPECT_EQ(values.Element(3, 1).VarType(), varDate);
    EXPECT_EQ(values.Element(3, 3).VarType(), varDouble);
    application.Call(u"Quit");

    TAdvStringGrid loaded(nullptr);
    loaded.LoadFromXLS(file);
    ASSERT_EQ(loaded.ColCount(), 4);
    ASSERT_EQ(loaded.RowCount(), 3);
    for (Integer r = 0; r < 3; ++r)
        for (Integer c = 0; c < 4; ++c) {
            String expected = texts[r][c];
            if (expected == u"two\r\nlines")
                expected = u"two\nlines";
            if (expected == u"1e3")
                expected = u"1000";
            EXPECT_EQ(loaded.Cells(c, r), expected) << c << "," << r;
        }
}

TEST_F(AdvGridWorkbookTest, TheUsedRangeLandsBesideTheFixedCellsAndErrorsLeaveCellsAlone) {
    // kinds.xlsx: active sheet "Log", used range B2:D4, D2 holds #DIV/0!.
    const String file = Utf8ToString(std::string(ZELMOR_TESTS_SOURCE) + "/fuzz/corpus/workbook/kinds.xlsx");
    TAdvStringGrid grid(nullptr);
    grid.SetSaveFixedCells(false);
    grid.SetColCount(2);
    grid.SetRowCount(2);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetColCount(4);
    grid.SetCells(3, 1, u"kept");
    grid.LoadFromXLS(file);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Cells(1, 1), u"Reading");
    EXPECT_EQ(grid.Cells(2, 1), u"2.5");
    EXPECT_EQ(grid.Cells(3, 1), u"kept");
    EXPECT_EQ(grid.Cells(2, 2), u"1/15/2026");
    EXPECT_EQ(grid.Cells(3, 2), u"True");
    EXPECT_EQ(grid.Cells(3, 3), u"-7");

    TAdvStringGrid notes(nullptr);
    notes.LoadFromXLSSheet(file, u"Notes");
    EXPECT_EQ(notes.ColCount(), 1);
    EXPECT_EQ(notes.RowCount(), 1);
    EXPECT_EQ(notes.Cells(0, 0), u"notes");
    try {
        notes.LoadFromXLSSheet(file, u"Nope");
        FAIL() << "a missing sheet loaded";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), u"Excel worksheet Nope not found");
    }

    const std::unique_ptr<TStringList> sheets = grid.GetXLSSheets(file);
    ASSERT_EQ(sheets->Count(), 2);
    EXPECT_EQ(sheets->Strings(0), u"Notes");
    EXPECT_EQ(sheets->Strings(1), u"Log");
}

TEST_F(AdvGridWorkbookTest, AnEmptySheetGivesOneDataCell) {
    const String file = PathOf("empty.xlsx");
    {
        const Variant application = CreateOleObject(u"excel.application");
        application.Get(u"WorkBooks").Call(u"Add").Call(u"SaveAs", {file});
    }
    TAdvStringGrid grid(nullptr);
    grid.SetSaveFixedCells(false);
    grid.SetColCount(5);
    grid.SetRowCount(5);
    grid.LoadFromXLS(file);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cells(1, 1), u"");
}

TEST_F(AdvGridWorkbookTest, AUsedRangeTooLargeToHandOverFailsBeforeTheGridGrows) {
    const String file = PathOf("corners.xlsx");
    {
        const Variant application = CreateOleObject(u"excel.application");
        const Variant workbook = application.Get(u"WorkBooks").Call(u"Add");
        const Variant sheet = workbook.Get(u"Sheets", {1});
        sheet.Get(u"Range", {u"A1"}).Put(u"Value", u"first");
        sheet.Get(u"Range", {u"XFD1048576"}).Put(u"Value", u"last");
        workbook.Call(u"SaveAs", {file});
    }
    TAdvStringGrid grid(nullptr);
    const Integer cols = grid.ColCount();
    const Integer rows = grid.RowCount();
    EXPECT_THROW(grid.LoadFromXLS(file), EOleException);
    EXPECT_EQ(grid.ColCount(), cols);
    EXPECT_EQ(grid.RowCount(), rows);
}

TEST_F(AdvGridWorkbookTest, ADecimalCommaLocaleTypesAndShowsItsOwnNumbers) {
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FormatSettings.ThousandSeparator = u'.';
    const String file = PathOf("comma.xls");
    TAdvStringGrid grid(nullptr);
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    grid.SetColCount(2);
    grid.SetRowCount(1);
    grid.SetCells(0, 0, u"3,25");
    grid.SetCells(1, 0, u"3.25");
    grid.SaveToXLS(file, true);
    const Variant application = CreateOleObject(u"excel.application");
    const Variant values = application.Get(u"WorkBooks")
                               .Call(u"Open", {file})
                               .Get(u"ActiveSheet")
                               .Get(u"UsedRange")
                               .Get(u"Value");
    const bool numberFirst = values.Element(1, 1).VarType() == varDouble;
    const bool textSecond = values.Element(1, 2).VarType() == varUString;
    TAdvStringGrid loaded(nullptr);
    loaded.LoadFromXLS(file);
    const String first = loaded.Cells(0, 0);
    FormatSettings = saved;
    EXPECT_TRUE(numberFirst);
    EXPECT_TRUE(textSecond);
    EXPECT_EQ(first, u"3,25");
}

} // namespace
