// The grid's print settings in INI form: a round trip of every stored key, the forms of the values that
// are read strictly, title lines on one line, the defaults of a missing section, and whole-file saves.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

namespace {

class PrintSettingsFile : public ::testing::Test {
protected:
    void SetUp() override { FFolder = testing_support::MakeTestFolder("print-settings"); }
    String PathOf(const char* name) const { return Utf8ToString(FFolder + "/" + name); }
    void Write(const String& path, const std::string& text) const {
        std::ofstream(StringToUtf8(path)) << text;
    }
    std::string Read(const String& path) const {
        std::ifstream in(StringToUtf8(path), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::string FFolder;
};

TEST_F(PrintSettingsFile, EveryStoredSettingComesBackAndTheOthersStay) {
    TAdvStringGrid source(nullptr);
    TPrintSettings* s = source.PrintSettings();
    s->SetColumnSpacing(31);
    s->SetRowSpacing(32);
    s->SetTitleSpacing(33);
    s->SetFixedHeight(34);
    s->SetFixedWidth(35);
    s->SetCentered(false);
    s->SetNoAutoSize(true);
    s->SetNoAutoSizeRow(true);
    s->SetUseFixedHeight(true);
    s->SetUseFixedWidth(true);
    s->SetRepeatFixedRows(true);
    s->SetRepeatFixedCols(true);
    s->SetUseDisplayFont(false);
    s->SetUseDefaultOrientation(true);
    s->SetBorders(pbAroundHorizontal);
    s->SetBorderColor(clBtnFace);
    s->SetBorderStyle(psDashDot);
    s->SetDate(ppTopLeft);
    s->SetPageNr(ppBottomCenter);
    s->SetTitle(ppTopCenter);
    s->SetTime(ppBottomRight);
    s->SetDateFormat(u"yyyy-mm-dd");
    s->SetTitleText(u"Log of M1");
    s->SetFooterSize(41);
    s->SetHeaderSize(42);
    s->SetLeftSize(43);
    s->SetRightSize(44);
    s->SetFitToPage(fpShrink);
    s->Font()->SetName(u"Tahoma");
    s->Font()->SetSize(9);
    s->Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
    s->Font()->SetColor(0x00123456);
    s->HeaderFont()->SetName(u"Courier New");
    s->HeaderFont()->SetStyle(TFontStyles{fsItalic});
    s->FooterFont()->SetSize(7);
    s->FooterFont()->SetStyle(TFontStyles{fsStrikeOut});
    s->SetPageNumSep(u"of");
    s->SetPageSuffix(u")");
    s->SetPagePrefix(u"Page");
    s->SetOrientation(poLandscape);
    s->TitleLines()->SetText(u"First line\r\nSecond line");
    s->SetPrintGraphics(true);
    s->SetJobName(u"job");
    const String file = PathOf("print.ini");
    source.SavePrintSettings(file, u"PRINTSETTINGS");

    TAdvStringGrid target(nullptr);
    target.PrintSettings()->SetJobName(u"kept");
    target.LoadPrintSettings(file, u"PRINTSETTINGS");
    TPrintSettings* t = target.PrintSettings();
    EXPECT_EQ(t->ColumnSpacing(), 31);
    EXPECT_EQ(t->RowSpacing(), 32);
    EXPECT_EQ(t->TitleSpacing(), 33);
    EXPECT_EQ(t->FixedHeight(), 34);
    EXPECT_EQ(t->FixedWidth(), 35);
    EXPECT_FALSE(t->Centered());
    EXPECT_TRUE(t->NoAutoSize());
    EXPECT_TRUE(t->NoAutoSizeRow());
    EXPECT_TRUE(t->UseFixedHeight());
    EXPECT_TRUE(t->UseFixedWidth());
    EXPECT_TRUE(t->RepeatFixedRows());
    EXPECT_TRUE(t->RepeatFixedCols());
    EXPECT_FALSE(t->UseDisplayFont());
    EXPECT_TRUE(t->UseDefaultOrientation());
    EXPECT_EQ(t->Borders(), pbAroundHorizontal);
    EXPECT_EQ(t->BorderColor(), clBtnFace);
    EXPECT_EQ(t->BorderStyle(), psDashDot);
    EXPECT_EQ(t->Date(), ppTopLeft);
    EXPECT_EQ(t->PageNr(), ppBottomCenter);
    EXPECT_EQ(t->Title(), ppTopCenter);
    EXPECT_EQ(t->Time(), ppBottomRight);
    EXPECT_EQ(t->DateFormat(), u"yyyy-mm-dd");
    EXPECT_EQ(t->TitleText(), u"Log of M1");
    EXPECT_EQ(t->FooterSize(), 41);
    EXPECT_EQ(t->HeaderSize(), 42);
    EXPECT_EQ(t->LeftSize(), 43);
    EXPECT_EQ(t->RightSize(), 44);
    EXPECT_EQ(t->FitToPage(), fpShrink);
    EXPECT_EQ(t->Font()->Name(), u"Tahoma");
    EXPECT_EQ(t->Font()->Size(), 9);
    EXPECT_EQ(t->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(t->Font()->Color(), 0x00123456);
    EXPECT_EQ(t->HeaderFont()->Name(), u"Courier New");
    EXPECT_EQ(t->HeaderFont()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(t->FooterFont()->Size(), 7);
    EXPECT_EQ(t->FooterFont()->Style(), TFontStyles{fsStrikeOut});
    EXPECT_EQ(t->PageNumSep(), u"of");
    EXPECT_EQ(t->PageSuffix(), u")");
    EXPECT_EQ(t->PagePrefix(), u"Page");
    EXPECT_EQ(t->Orientation(), poLandscape);
    ASSERT_EQ(t->TitleLines()->Count(), 2);
    EXPECT_EQ(t->TitleLines()->Strings(0), u"First line");
    EXPECT_EQ(t->TitleLines()->Strings(1), u"Second line");
    EXPECT_TRUE(t->PrintGraphics());
    EXPECT_EQ(t->JobName(), u"kept"); // not stored

    // The title lines are one value; a system colour is a negative number.
    const std::string text = Read(file);
    EXPECT_NE(text.find("TitleLines=First line\\nSecond line"), std::string::npos) << text;
    EXPECT_NE(text.find("BorderColor=-16777201"), std::string::npos) << text;
}

TEST_F(PrintSettingsFile, StrictValuesLeaveOrResetTheirSettings) {
    const String file = PathOf("odd.ini");
    Write(file, "[P]\nCentered=y\nBorders=9\nDate=7\nTime=3\nFitToPage=-1\nOrientation=1\nFontStyle=0\n"
                "ColumnSpacing=wide\n");
    TAdvStringGrid grid(nullptr);
    grid.PrintSettings()->SetBorders(pbVertical);
    grid.PrintSettings()->SetFitToPage(fpGrow);
    grid.PrintSettings()->Font()->SetStyle(TFontStyles{fsBold});
    grid.LoadPrintSettings(file, u"P");
    TPrintSettings* s = grid.PrintSettings();
    EXPECT_FALSE(s->Centered());         // only "Y" is true
    EXPECT_EQ(s->Borders(), pbVertical); // out of range: unchanged
    EXPECT_EQ(s->Date(), ppNone);        // out of range: none
    EXPECT_EQ(s->Time(), ppTopCenter);
    EXPECT_EQ(s->FitToPage(), fpGrow);
    EXPECT_EQ(s->Orientation(), poLandscape);
    EXPECT_TRUE(s->Font()->Style().Contains(fsBold)); // a clear bit leaves the style
    EXPECT_EQ(s->ColumnSpacing(), 20);                // not a number: the default
}

TEST_F(PrintSettingsFile, AMissingSectionGivesTheDefaultsAndWritesTheFile) {
    const String file = PathOf("new.ini");
    TAdvStringGrid grid(nullptr);
    grid.LoadPrintSettings(file, u"PRINTSETTINGS");
    TPrintSettings* s = grid.PrintSettings();
    EXPECT_EQ(s->HeaderSize(), 100);
    EXPECT_EQ(s->FooterSize(), 100);
    EXPECT_EQ(s->LeftSize(), 100);
    EXPECT_EQ(s->RightSize(), 100);
    EXPECT_EQ(s->ColumnSpacing(), 20);
    EXPECT_EQ(s->RowSpacing(), 20);
    EXPECT_EQ(s->TitleSpacing(), 20);
    EXPECT_TRUE(s->Centered());
    EXPECT_EQ(s->Font()->Name(), u"Arial");
    EXPECT_EQ(s->Font()->Size(), 10);
    EXPECT_EQ(s->HeaderFont()->Name(), u"Arial");
    EXPECT_EQ(s->FooterFont()->Size(), 10);
    EXPECT_TRUE(std::filesystem::exists(StringToUtf8(file)));
}

TEST_F(PrintSettingsFile, ASaveReplacesTheFileWholeAndAFailedOneRaises) {
    const String file = PathOf("kept.ini");
    Write(file, "[OTHER]\nA=1\n");
    TAdvStringGrid grid(nullptr);
    grid.SavePrintSettings(file, u"PRINTSETTINGS");
    const std::string saved = Read(file);
    EXPECT_NE(saved.find("[OTHER]"), std::string::npos);
    EXPECT_NE(saved.find("[PRINTSETTINGS]"), std::string::npos);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(FFolder), std::filesystem::directory_iterator()), 1)
        << "a temporary file was left beside the settings";

    // A file that cannot be written is an error, not a quiet success.
    EXPECT_THROW(grid.SavePrintSettings(file + u"/inside.ini", u"PRINTSETTINGS"), Exception);
    EXPECT_EQ(Read(file), saved);
}

} // namespace
