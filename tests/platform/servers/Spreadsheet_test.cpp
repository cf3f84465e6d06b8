// Tests of variants, late-bound automation and the spreadsheet server with its workbook files.
#include <algorithm>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/backend/file.h"
#include "platform/framework/ComObj.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Servers.h"
#include "platform/servers/Spreadsheet.h"
#include "platform/servers/Workbook.h"
#include "tests/support/TestSupport.h"

namespace {

// A locale with a decimal comma, day-first dates and a 24-hour clock.
TFormatSettings CommaLocale() {
    TFormatSettings settings = DefaultFormatSettings();
    settings.DecimalSeparator = u',';
    settings.ThousandSeparator = u'.';
    settings.DateSeparator = u'.';
    settings.ShortDateFormat = u"dd.MM.yyyy";
    settings.LongTimeFormat = u"HH:mm:ss";
    return settings;
}

class LocaleScope {
public:
    explicit LocaleScope(const TFormatSettings& settings) : FSaved(FormatSettings) {
        FormatSettings = settings;
    }
    ~LocaleScope() { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved;
};

const TDateTime kDay = 46145;                     // 2026-05-03
const TDateTime kTime = 0.4375 + 1.0 / 86400 * 5; // 10:30:05

// ---- Variants --------------------------------------------------------------------------------------

struct TextCase {
    const char* name;
    Variant value;
    const char16_t* us;
    const char16_t* comma;
};

TEST(VariantTest, TextFollowsTheLocale) {
    const TextCase cases[] = {
        {"empty", Variant(), u"", u""},
        {"null", Variant::Null(), u"", u""},
        {"integer", Variant(Integer(-42)), u"-42", u"-42"},
        {"int64", Variant(Int64(9007199254740993)), u"9007199254740993", u"9007199254740993"},
        {"double", Variant(1234.5), u"1234.5", u"1234,5"},
        {"fifteen digits", Variant(0.1 + 0.2), u"0.3", u"0,3"},
        {"currency", Variant::FromCurrency(123450), u"12.345", u"12,345"},
        {"date", Variant::FromDate(kDay), u"5/3/2026", u"03.05.2026"},
        {"date and time", Variant::FromDate(kDay + kTime), u"5/3/2026 10:30:05 AM", u"03.05.2026 10:30:05"},
        {"time alone", Variant::FromDate(kTime), u"10:30:05 AM", u"10:30:05"},
        {"true", Variant(true), u"True", u"True"},
        {"string", Variant(u"text"), u"text", u"text"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(VarToStr(c.value), c.us) << c.name;
        LocaleScope comma(CommaLocale());
        EXPECT_EQ(VarToStr(c.value), c.comma) << c.name;
    }
    EXPECT_THROW(VarToStr(Variant::FromError(servers::kErrorDiv0)), EVariantTypeCastError);
}

TEST(VariantTest, ArraysKeepTheirBoundsAndCopyByValue) {
    Variant array = VarArrayCreate({0, 1, 1, 3}, varVariant);
    EXPECT_EQ(VarArrayDimCount(array), 2);
    EXPECT_EQ(VarArrayLowBound(array, 2), 1);
    EXPECT_EQ(VarArrayHighBound(array, 2), 3);
    array.Element(1, 3) = Variant(u"corner");
    Variant copy = array;
    copy.Element(1, 3) = Variant(7.0);
    EXPECT_EQ(VarToStr(array.Element(1, 3)), u"corner");
    EXPECT_EQ(copy.Element(1, 3).VarType(), varDouble);
    EXPECT_THROW(array.Element(2, 1), EVariantBadIndexError);
    EXPECT_THROW(array.Element(0, 0), EVariantBadIndexError);
    EXPECT_THROW(Variant(1.0).Get(u"Anything"), EVariantError);
}

// ---- Automation ------------------------------------------------------------------------------------

class Echo : public TAutoDispatch {
public:
    Echo() {
        Member(u"Close", [](TDispatchKind, TDispatchArgs& args) -> Variant {
            const Variant* saveChanges = Argument(args, 0, u"SaveChanges");
            return saveChanges ? VarToStr(*saveChanges) : String(u"none");
        });
        Member(u"Cell", [this](TDispatchKind kind, TDispatchArgs& args) -> Variant {
            if (kind == TDispatchKind::PropertyPut)
                FStored = VarToStr(args.positional.at(0)) + u"," + VarToStr(args.positional.at(1)) + u"=" +
                          VarToStr(args.positional.at(2));
            return FStored;
        });
    }

private:
    String FStored;
};

TEST(AutomationTest, ServersAreFoundByIdentifierWithoutRegardToCase) {
    RegisterOleServer(u"Test.Echo", [] { return std::make_shared<Echo>(); });
    const Variant echo = CreateOleObject(u"TEST.ECHO");
    EXPECT_EQ(echo.Call(u"close", {}, {NamedArg(u"savechanges", false)}).AsString(), u"False");
    EXPECT_EQ(echo.Call(u"Close", {true}).AsString(), u"True");
    EXPECT_EQ(echo.Call(u"Close").AsString(), u"none");
    echo.Put(u"Cell", {2, 3}, Variant(u"x"));
    EXPECT_EQ(echo.Get(u"Cell").AsString(), u"2,3=x");
    try {
        echo.Call(u"Open");
        FAIL() << "an unknown member was called";
    } catch (const EOleError& e) {
        EXPECT_EQ(e.Message(), u"Method 'Open' not supported by automation object");
    }
    UnregisterOleServer(u"test.echo");
    try {
        CreateOleObject(u"Test.Echo");
        FAIL() << "an unregistered server started";
    } catch (const EOleSysError& e) {
        EXPECT_EQ(e.Message(), u"Invalid class string");
        EXPECT_EQ(e.ErrorCode(), kCoEClassString);
    }
}

TEST(AutomationTest, TheRunningObjectTableAnswersWhatWasRegistered) {
    EXPECT_THROW(GetActiveObject(u"Test.Running"), EOleSysError);
    auto running = std::make_shared<Echo>();
    RegisterActiveObject(u"Test.Running", running);
    EXPECT_EQ(GetActiveObject(u"test.running").Dispatch(), running);
    RevokeActiveObject(u"TEST.RUNNING");
    EXPECT_THROW(GetActiveObject(u"Test.Running"), EOleSysError);
}

// ---- Typed entries ---------------------------------------------------------------------------------

struct EntryCase {
    const char16_t* text;
    TVarType type;
    double value; // for numbers and dates
};

TEST(TypedEntryTest, TextBecomesANumberOrDateOnlyWhenNothingIsLost) {
    const EntryCase us[] = {
        {u"12", varDouble, 12},
        {u"-0.25", varDouble, -0.25},
        {u"1e3", varDouble, 1000},
        {u"0", varDouble, 0},
        {u"123456789012345", varDouble, 123456789012345.0},
        {u"1234567890123456", varUString, 0}, // sixteen digits
        {u"0.1234567890123456", varUString, 0},
        {u"007", varUString, 0}, // the leading zeros would be lost
        {u"1,5", varUString, 0}, // not the decimal separator here
        {u" 12", varUString, 0},
        {u"12 kg", varUString, 0},
        {u"5/3/2026", varDate, kDay},
        {u"05/03/2026", varUString, 0}, // not the short date form
        {u"10:30:05 AM", varDate, kTime},
        {u"5/3/2026 10:30:05 AM", varDate, kDay + kTime},
        {u"text", varUString, 0},
    };
    for (const EntryCase& c : us) {
        const Variant entry = servers::TypedEntry(c.text);
        EXPECT_EQ(entry.VarType(), c.type) << StringToUtf8(c.text);
        if (c.type == varDouble || c.type == varDate) {
            EXPECT_NEAR(entry.AsDouble(), c.value, 1e-9) << StringToUtf8(c.text);
        }
    }
    EXPECT_TRUE(servers::TypedEntry(u"").IsEmpty());

    LocaleScope comma(CommaLocale());
    const EntryCase commaCases[] = {
        {u"1,5", varDouble, 1.5},      {u"1.5", varUString, 0},      {u"03.05.2026", varDate, kDay},
        {u"10:30:05", varDate, kTime}, {u"5/3/2026", varUString, 0},
    };
    for (const EntryCase& c : commaCases) {
        const Variant entry = servers::TypedEntry(c.text);
        EXPECT_EQ(entry.VarType(), c.type) << StringToUtf8(c.text);
        if (c.type == varDouble || c.type == varDate) {
            EXPECT_NEAR(entry.AsDouble(), c.value, 1e-9) << StringToUtf8(c.text);
        }
    }
}

// ---- The server and its files ----------------------------------------------------------------------

class SpreadsheetServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        servers::RegisterServers();
        folder = testing_support::MakeTestFolder("spreadsheet-server");
    }
    String PathOf(const char* name) const { return Utf8ToString(folder + "/" + name); }

    std::string folder;
};

Variant Texts(std::initializer_list<std::initializer_list<const char16_t*>> rows) {
    const Integer rowCount = Integer(rows.size());
    const Integer colCount = Integer(rows.begin()->size());
    Variant array = VarArrayCreate({0, rowCount - 1, 0, colCount - 1}, varVariant);
    Integer i = 0;
    for (const auto& row : rows) {
        Integer j = 0;
        for (const char16_t* text : row)
            array.Element(i, j++) = Variant(text);
        ++i;
    }
    return array;
}

TEST_F(SpreadsheetServerTest, AWorkbookIsSavedAndOpenedWithTypedCells) {
    const String file = PathOf("log.xls");
    {
        const Variant application = CreateOleObject(u"excel.application");
        const Variant workbook = application.Get(u"WorkBooks").Call(u"Add");
        const Variant sheet = workbook.Get(u"Sheets", {1});
        sheet.Get(u"Range", {u"B2:D4"})
            .Put(u"Value", Texts({{u"name", u"12", u"5/3/2026"},
                                  {u"007", u"-3.5", u"10:30:05 AM"},
                                  {u"two\nlines", u"", u"5/3/2026 10:30:05 AM"}}));
        EXPECT_FALSE(workbook.Get(u"Saved").AsBoolean());
        workbook.Call(u"SaveAs", {file});
        EXPECT_TRUE(workbook.Get(u"Saved").AsBoolean());
        application.Call(u"Quit");
    }
    const Variant application = CreateOleObject(u"Excel.Application");
    const Variant workbook = application.Get(u"WorkBooks").Call(u"Open", {file});
    const Variant sheet = workbook.Get(u"ActiveSheet");
    EXPECT_EQ(sheet.Get(u"Name").AsString(), u"Sheet1");
    const Variant used = sheet.Get(u"UsedRange");
    EXPECT_EQ(used.Get(u"Address").AsString(), u"$B$2:$D$4");
    const Variant values = used.Get(u"Value");
    ASSERT_EQ(VarArrayHighBound(values, 1), 3);
    ASSERT_EQ(VarArrayHighBound(values, 2), 3);
    EXPECT_EQ(values.Element(1, 1).VarType(), varUString);
    EXPECT_EQ(values.Element(1, 2).VarType(), varDouble);
    EXPECT_EQ(values.Element(1, 3).VarType(), varDate);
    EXPECT_EQ(values.Element(2, 1).AsString(), u"007");
    EXPECT_EQ(values.Element(2, 2).AsDouble(), -3.5);
    EXPECT_EQ(VarToStr(values.Element(2, 3)), u"10:30:05 AM");
    EXPECT_EQ(values.Element(3, 1).AsString(), u"two\nlines");
    EXPECT_TRUE(values.Element(3, 2).IsEmpty());
    EXPECT_EQ(VarToStr(values.Element(3, 3)), u"5/3/2026 10:30:05 AM");
    EXPECT_EQ(VarToStr(sheet.Get(u"Rows").Get(u"Cells", {2, 3}).Get(u"Value")), u"12");
    workbook.Call(u"Close", {}, {NamedArg(u"SaveChanges", false)});
    EXPECT_EQ(application.Get(u"WorkBooks").Get(u"Count").AsInteger(), 0);
}

TEST_F(SpreadsheetServerTest, SheetsAreAddedNamedAndFoundInTheirOrder) {
    const String file = PathOf("sheets.xlsx");
    const Variant application = CreateOleObject(u"excel.application");
    const Variant workbook = application.Get(u"WorkBooks").Call(u"Add");
    const Variant added = workbook.Get(u"WorkSheets").Call(u"Add");
    added.Put(u"Name", u"Log");
    EXPECT_THROW(added.Put(u"Name", u"sheet1"), EOleException);
    EXPECT_THROW(added.Put(u"Name", u"a/b"), EOleException);
    EXPECT_EQ(workbook.Get(u"ActiveSheet").Get(u"Name").AsString(), u"Log");
    EXPECT_EQ(added.Get(u"UsedRange").Get(u"Address").AsString(), u"$A$1");
    workbook.Call(u"SaveAs", {file});

    const Variant reopened = application.Get(u"WorkBooks").Call(u"Open", {file});
    const Variant sheets = reopened.Get(u"WorkSheets");
    ASSERT_EQ(sheets.Get(u"Count").AsInteger(), 2);
    EXPECT_EQ(sheets.Call(u"item", {1}).Get(u"Name").AsString(), u"Log");
    EXPECT_EQ(sheets.Call(u"item", {2}).Get(u"Name").AsString(), u"Sheet1");
    EXPECT_EQ(reopened.Get(u"ActiveSheet").Get(u"Name").AsString(), u"Log");
}

// The application's own members: its flags, the active workbook's sheets, a sheet's cells and selection,
// a file name written with a drive and backslashes, and closing every workbook at once.
TEST_F(SpreadsheetServerTest, TheApplicationReachesTheActiveWorkbookAndClosesAll) {
    const Variant application = CreateOleObject(u"Excel.Application");
    EXPECT_FALSE(application.Get(u"Visible").AsBoolean());
    application.Put(u"Visible", true);
    application.Put(u"DisplayAlerts", false);
    EXPECT_TRUE(application.Get(u"Visible").AsBoolean());
    EXPECT_FALSE(application.Get(u"DisplayAlerts").AsBoolean());
    EXPECT_THROW(application.Get(u"Worksheets", {1}), EOleException) << "no workbook yet";

    const Variant workbook = application.Get(u"Workbooks").Call(u"Add", {Integer(-4167)});
    workbook.Get(u"WorkSheets").Call(u"Add");
    ASSERT_EQ(application.Get(u"Worksheets").Get(u"Count").AsInteger(), 2);
    const Variant second = application.Get(u"Worksheets", {2});
    EXPECT_EQ(second.Get(u"Name").AsString(), u"Sheet1");
    second.Call(u"Select");
    EXPECT_EQ(workbook.Get(u"ActiveSheet").Get(u"Name").AsString(), u"Sheet1");
    second.Get(u"Cells", {3, 2}).Put(u"Value", u"text");
    EXPECT_EQ(second.Get(u"Range", {u"B3"}).Get(u"Value").AsString(), u"text");
    EXPECT_THROW(second.Get(u"Cells", {0, 1}), EOleException);

    String windowsName = u"C:" + PathOf("drive.xlsx");
    std::replace(windowsName.begin(), windowsName.end(), u'/', u'\\');
    workbook.Call(u"SaveAs", {windowsName});
    const std::unique_ptr<servers::TWorkbookData> saved = servers::ReadWorkbookFile(PathOf("drive.xlsx"));
    EXPECT_EQ(saved->sheets[1]->Cell(3, 2)->AsString(), u"text");

    application.Get(u"Workbooks").Call(u"Add");
    application.Get(u"Workbooks").Call(u"Close");
    EXPECT_EQ(application.Get(u"Workbooks").Get(u"Count").AsInteger(), 0);
    EXPECT_TRUE(application.Get(u"ActiveWorkBook").IsEmpty());
}

TEST_F(SpreadsheetServerTest, AForeignWorkbookIsReadWithItsSharedStringsStylesAndErrors) {
    const Variant application = CreateOleObject(u"excel.application");
    const Variant workbook =
        application.Get(u"WorkBooks")
            .Call(u"Open",
                  {Utf8ToString(std::string(ZELMOR_TESTS_SOURCE) + "/fuzz/corpus/workbook/kinds.xlsx")});
    const Variant sheet = workbook.Get(u"ActiveSheet");
    EXPECT_EQ(sheet.Get(u"Name").AsString(), u"Log");
    EXPECT_EQ(sheet.Get(u"UsedRange").Get(u"Address").AsString(), u"$B$2:$D$4");
    const Variant values = sheet.Get(u"Range", {u"B2:D4"}).Get(u"Value");
    EXPECT_EQ(VarToStr(values.Element(1, 1)), u"Reading");
    EXPECT_EQ(values.Element(1, 2).AsDouble(), 2.5);
    EXPECT_EQ(values.Element(1, 3).VarType(), varError);
    EXPECT_EQ(values.Element(1, 3).ErrorCode(), servers::kErrorDiv0);
    EXPECT_EQ(VarToStr(values.Element(2, 1)), u"two runs");
    EXPECT_EQ(values.Element(2, 2).VarType(), varDate);
    EXPECT_EQ(values.Element(2, 2).AsDouble(), 46037);
    EXPECT_TRUE(values.Element(2, 3).AsBoolean());
    EXPECT_EQ(VarToStr(values.Element(3, 1)), u"a\rb");
    EXPECT_TRUE(values.Element(3, 2).IsEmpty());
    EXPECT_EQ(values.Element(3, 3).AsDouble(), -7);
}

TEST_F(SpreadsheetServerTest, FailuresNameTheFileAndTheCauseAndKeepTheOldFile) {
    const String missingFolder = PathOf("none/book.xlsx");
    const Variant application = CreateOleObject(u"excel.application");
    const Variant workbook = application.Get(u"WorkBooks").Call(u"Add");
    try {
        workbook.Call(u"SaveAs", {missingFolder});
        FAIL() << "saved into a missing folder";
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message().rfind(u"Cannot save the workbook \"" + missingFolder + u"\". ", 0), 0u)
            << StringToUtf8(e.Message());
        EXPECT_EQ(e.Source(), u"Spreadsheet");
    }

    // A save that fails part way leaves the file it would have replaced as it was.
    const String file = PathOf("kept.xlsx");
    workbook.Get(u"Sheets", {1}).Get(u"Range", {u"A1"}).Put(u"Value", u"first");
    workbook.Call(u"SaveAs", {file});
    std::string before;
    ASSERT_TRUE(backend::ReadWholeFile(StringToUtf8(file), before, nullptr));
    workbook.Get(u"Sheets", {1}).Get(u"Range", {u"A2"}).Put(u"Value", String(40000, u'x'));
    EXPECT_THROW(workbook.Call(u"Save"), EOleException);
    std::string after;
    ASSERT_TRUE(backend::ReadWholeFile(StringToUtf8(file), after, nullptr));
    EXPECT_EQ(after, before);
    // No temporary file is left beside it.
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);

    const String garbage = PathOf("garbage.xlsx");
    ASSERT_TRUE(backend::WriteFileAtomically(StringToUtf8(garbage), "not a zip", nullptr));
    try {
        application.Get(u"WorkBooks").Call(u"Open", {garbage});
        FAIL() << "opened a file that is no workbook";
    } catch (const EOleException& e) {
        EXPECT_EQ(e.Message(), u"Cannot open the workbook \"" + garbage +
                                   u"\". The file is not a workbook or is damaged (no zip container).");
    }
    EXPECT_THROW(application.Get(u"WorkBooks").Call(u"Open", {PathOf("missing.xlsx")}), EOleException);
}

// Every kept input of the fuzz target reads or fails with the server's exception.
TEST(WorkbookReaderTest, KeptFuzzInputsReadOrFailCleanly) {
    const std::filesystem::path corpus = std::filesystem::path(ZELMOR_TESTS_SOURCE) / "fuzz/corpus/workbook";
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::string bytes;
        ASSERT_TRUE(backend::ReadWholeFile(entry.path().string(), bytes, nullptr));
        try {
            servers::ReadWorkbookBytes(bytes);
        } catch (const EOleException&) {
        }
        for (size_t cut : {size_t(0), bytes.size() / 2, bytes.size() - 1}) {
            try {
                servers::ReadWorkbookBytes(bytes.substr(0, cut));
            } catch (const EOleException&) {
            }
        }
    }
}

} // namespace
