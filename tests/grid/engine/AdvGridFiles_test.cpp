// Tests of the grid's native text file and its stream form.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"

namespace fs = std::filesystem;

namespace {

std::string Utf16Bytes(const std::u16string& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

class AdvGridFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = backend::MakeTemporaryDirectory("zelmor-gridfiles");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override { fs::remove_all(folder); }

    String PathOf(const char* name) const { return Utf8ToString((folder / name).string()); }
    std::string Bytes(const String& path) const {
        std::string contents;
        EXPECT_TRUE(backend::ReadWholeFile(StringToUtf8(path), contents, nullptr));
        return contents;
    }
    void Write(const String& path, const std::string& bytes) const {
        ASSERT_TRUE(backend::WriteFileAtomically(StringToUtf8(path), bytes, nullptr));
    }
    // One fixed row and column, three data columns and two data rows, the fixed cells not saved.
    static void MakeExample(TAdvStringGrid& grid) {
        grid.SetSaveFixedCells(false);
        grid.SetColCount(4);
        grid.SetRowCount(3);
        grid.SetFixedCols(1);
        grid.SetFixedRows(1);
        grid.SetColWidths(1, 30);
        grid.SetColWidths(2, 45);
        grid.SetColWidths(3, 60);
        grid.SetCells(1, 1, u"a");
        grid.SetCells(3, 2, u"b,c");
    }

    fs::path folder;
};

TEST_F(AdvGridFilesTest, TheWorkedExampleIsWrittenByteForByteAndLoadsBack) {
    TAdvStringGrid source(nullptr);
    MakeExample(source);
    const std::string lines = "3,2\r\ncw 1,30\r\ncw 2,45\r\ncw 3,60\r\n1,1,a\r\n3,2,b,c\r\n";
    source.SaveToFile(PathOf("ansi.log"));
    EXPECT_EQ(Bytes(PathOf("ansi.log")), lines);
    source.SaveToFile(PathOf("wide.log"), true);
    EXPECT_EQ(Bytes(PathOf("wide.log")), "\xFF\xFE" + Utf16Bytes(Utf8ToString(lines)));

    for (const char* name : {"ansi.log", "wide.log"}) {
        SCOPED_TRACE(name);
        TAdvStringGrid target(nullptr);
        target.SetSaveFixedCells(false);
        target.SetFixedCols(1);
        target.SetFixedRows(1);
        target.SetCells(2, 1, u"kept");
        target.LoadFromFile(PathOf(name));
        EXPECT_EQ(target.ColCount(), 4);
        EXPECT_EQ(target.RowCount(), 3);
        EXPECT_EQ(target.Cells(1, 1), u"a");
        EXPECT_EQ(target.Cells(3, 2), u"b,c");
        EXPECT_EQ(target.Cells(2, 1), u"kept") << "the loader clears nothing";
        EXPECT_EQ(target.ColWidths(2), 45);
    }

    // With the fixed cells in the save range the counts have no offset and (3,2) lies outside.
    TAdvStringGrid fixedSaved(nullptr);
    fixedSaved.SetSaveFixedCells(true);
    fixedSaved.LoadFromFile(PathOf("ansi.log"));
    EXPECT_EQ(fixedSaved.ColCount(), 3);
    EXPECT_EQ(fixedSaved.RowCount(), 2);
    EXPECT_EQ(fixedSaved.Cells(1, 1), u"a");
}

TEST_F(AdvGridFilesTest, LineBreaksTravelEncodedOnOneLine) {
    struct Case {
        String text;
        bool multiLine;
        String loaded;
    };
    const std::vector<Case> cases = {
        {u"x\r\ny", true, u"x\r\ny"},
        {u"x\r\ny", false, u"x"},
        {u"x\ry", true, u"x\ty"},           // a CR without LF comes back as a tab
        {u"x\ty\r\nz", true, u"x\ry\r\nz"}, // a tab beside a line break comes back as a CR
        {u"plain, with commas", false, u"plain, with commas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.text));
        TAdvStringGrid source(nullptr);
        source.SetCells(1, 1, c.text);
        source.SaveToFile(PathOf("breaks.log"), true);
        TAdvStringGrid target(nullptr);
        target.SetMultilineCells(c.multiLine);
        target.LoadFromFile(PathOf("breaks.log"));
        EXPECT_EQ(target.Cells(1, 1), c.loaded);
    }
    TAdvStringGrid source(nullptr);
    source.SetCells(1, 1, u"x\r\ny");
    source.SaveToFile(PathOf("breaks.log"));
    EXPECT_NE(Bytes(PathOf("breaks.log")).find("1,1,x\t\by\r\n"), std::string::npos);
}

TEST_F(AdvGridFilesTest, HeadersAndStrayLinesLoadAsTheFormatSays) {
    // A header 0,0 without fixed cells keeps one column and one row; a line without a comma goes to (0,0).
    Write(PathOf("zero.log"), "0,0\r\nstray text\r\n");
    TAdvStringGrid grid(nullptr);
    grid.SetFixedCols(0);
    grid.SetFixedRows(0);
    grid.LoadFromFile(PathOf("zero.log"));
    EXPECT_EQ(grid.ColCount(), 1);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Cells(0, 0), u"stray text");

    // An empty header keeps the counts; lenient numbers read their leading digits; LF alone ends a line.
    Write(PathOf("lenient.log"), "\n1x,2y,text\ncw 1,77px\n9,9,outside\n");
    TAdvStringGrid lenient(nullptr);
    lenient.LoadFromFile(PathOf("lenient.log"));
    EXPECT_EQ(lenient.ColCount(), 5);
    EXPECT_EQ(lenient.Cells(1, 2), u"text");
    EXPECT_EQ(lenient.ColWidths(1), 77);
}

TEST_F(AdvGridFilesTest, CorruptOrEmptyFilesRaiseBeforeTheGridChanges) {
    struct Case {
        const char* bytes;
        const char* what;
    };
    const std::vector<Case> corrupt = {
        {"99999999999,2\r\n", "too many columns"},
        {"2,99999999999\r\n", "too many rows"},
        {"1048577,1\r\n", "one column past the limit"},
    };
    for (const Case& c : corrupt) {
        SCOPED_TRACE(c.what);
        Write(PathOf("corrupt.log"), c.bytes);
        TAdvStringGrid grid(nullptr);
        const Integer cols = grid.ColCount();
        const Integer rows = grid.RowCount();
        try {
            grid.LoadFromFile(PathOf("corrupt.log"));
            FAIL() << "loaded";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), u"File contains no data or corrupt file " + PathOf("corrupt.log"));
        }
        EXPECT_EQ(grid.ColCount(), cols);
        EXPECT_EQ(grid.RowCount(), rows);
    }
    Write(PathOf("empty.log"), "");
    TAdvStringGrid grid(nullptr);
    EXPECT_THROW(grid.LoadFromFile(PathOf("empty.log")), EStringListError);
    EXPECT_THROW(grid.LoadFromFile(PathOf("missing.log")), EFOpenError);
}

TEST_F(AdvGridFilesTest, AFailedSaveKeepsTheOldFile) {
    Write(PathOf("log.log"), "old contents");
    TAdvStringGrid grid(nullptr);
    grid.SetRowCount(50);
    for (Integer r = 1; r < 50; ++r)
        grid.SetCells(1, r, u"row");
    grid.OnFileProgress = [](TObject*, SmallInt progress) {
        if (progress > 50)
            throw Exception(u"disk full");
    };
    EXPECT_THROW(grid.SaveToFile(PathOf("log.log"), true), Exception);
    EXPECT_EQ(Bytes(PathOf("log.log")), "old contents");
    std::vector<std::string> names;
    ASSERT_TRUE(backend::ListDirectory(folder.string(), names, nullptr));
    EXPECT_EQ(names, std::vector<std::string>{"log.log"}) << "no temporary file is left behind";
    EXPECT_THROW(grid.SaveToFile(PathOf("no-folder/log.log")), EFCreateError);
}

TEST_F(AdvGridFilesTest, ProgressRunsFromZeroToOneHundredInBothDirections) {
    TAdvStringGrid grid(nullptr);
    grid.SetSaveFixedCells(false);
    grid.SetRowCount(12);
    for (Integer r = 0; r < 12; ++r)
        grid.SetCells(1, r, u"x");
    std::vector<SmallInt> seen;
    grid.OnFileProgress = [&](TObject*, SmallInt progress) { seen.push_back(progress); };
    grid.SaveToFile(PathOf("progress.log"));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    for (SmallInt p : seen)
        EXPECT_TRUE(p >= 0 && p <= 100) << p;

    // A cell line naming a row far outside still reports within range.
    Write(PathOf("outside.log"), "2,2\r\n1,1,a\r\n1,500,b\r\n1,-4,c\r\n");
    seen.clear();
    grid.LoadFromFile(PathOf("outside.log"));
    for (SmallInt p : seen)
        EXPECT_TRUE(p >= 0 && p <= 100) << p;
}

TEST_F(AdvGridFilesTest, FileWorkDuringALoadIsRefusedAndAFreedGridEndsTheLoad) {
    TAdvStringGrid source(nullptr);
    for (Integer r = 1; r < 5; ++r)
        source.SetCells(1, r, u"cell");
    source.SaveToFile(PathOf("log.log"));

    TAdvStringGrid grid(nullptr);
    bool refused = false;
    grid.OnFileProgress = [&](TObject*, SmallInt) {
        try {
            grid.SaveToFile(PathOf("other.log"));
        } catch (const EAdvGridError&) {
            refused = true;
        }
        EXPECT_THROW(grid.LoadFromFile(PathOf("log.log")), EAdvGridError);
    };
    grid.LoadFromFile(PathOf("log.log"));
    EXPECT_TRUE(refused);
    grid.OnFileProgress = nullptr;
    EXPECT_NO_THROW(grid.SaveToFile(PathOf("other.log"))) << "the guard ends with the load";

    // The grid's form is closed and freed by messages the load pumps.
    auto* form = new TForm(nullptr, 0);
    auto* doomed = new TAdvStringGrid(form);
    doomed->SetParent(form);
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    bool posted = false;
    doomed->OnFileProgress = [&](TObject*, SmallInt) {
        if (!posted)
            PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        posted = true;
    };
    EXPECT_THROW(doomed->LoadFromFile(PathOf("log.log")), EAbort);
}

TEST_F(AdvGridFilesTest, TheStreamFormCopiesCellsAndStopsAtForeignData) {
    TAdvStringGrid source(nullptr);
    MakeExample(source);
    source.SetCells(2, 1, u"x\r\ny");
    TMemoryStream stream;
    source.SaveToStream(stream);
    const Int64 end = stream.Position();
    const std::u16string foreign = u",not a cell\r\n";
    stream.WriteBuffer(foreign.data(), static_cast<Integer>(foreign.size() * 2));
    const std::string expected = Utf16Bytes(u"3,2\r\ncw 0,64\r\ncw 1,30\r\ncw 2,45\r\ncw 3,60\r\n0,0,a\r\n"
                                            u"1,0,x\t\by\r\n2,1,b,c\r\n");
    EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(end)), expected);

    stream.SetPosition(0);
    TAdvStringGrid target(nullptr);
    target.SetSaveFixedCells(false);
    target.SetMultilineCells(true);
    target.SetFixedCols(1);
    target.SetFixedRows(1);
    target.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), end) << "left at the foreign line";
    EXPECT_EQ(target.ColCount(), 4);
    EXPECT_EQ(target.RowCount(), 3);
    EXPECT_EQ(target.Cells(1, 1), u"a");
    EXPECT_EQ(target.Cells(2, 1), u"x\r\ny");
    EXPECT_EQ(target.Cells(3, 2), u"b,c");

    // The stream form converts strictly.
    TMemoryStream bad;
    const std::u16string text = u"2,2\r\n1,1,a\r\n1x,1,b\r\n";
    bad.WriteBuffer(text.data(), static_cast<Integer>(text.size() * 2));
    bad.SetPosition(0);
    TAdvStringGrid strict(nullptr);
    EXPECT_THROW(strict.LoadFromStream(bad), EConvertError);
    EXPECT_EQ(strict.Cells(1, 1), u"a") << "cells stored so far stay";
}

} // namespace
