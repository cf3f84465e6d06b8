// The desktop's common dialogs driven off screen as a user would drive them: what they start with and what
// they answer, and the dialog service cancelling them when there is no display to show them on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/backend/commondialogs.h"
#include "platform/rtl/UString.h"
#include "platform/win32/dialogs.h"
#include "tests/support/TestSupport.h"

namespace {

using backend::DialogLoop;

String ToString(const std::string& ascii) {
    return String(ascii.begin(), ascii.end());
}

// A loop whose first round does what the user does with the open dialog. A dialog still open after a few
// rounds is cancelled, so that a fault fails the test instead of hanging it.
DialogLoop UserLoop(std::function<void()> act) {
    auto rounds = std::make_shared<int>(0);
    return {[act, rounds] {
                if (++*rounds > 3) {
                    backend::FinishOpenDialog(false);
                    return false;
                }
                if (*rounds == 1)
                    act();
                return true;
            },
            {}};
}

DialogLoop Typing(const String& text) {
    return UserLoop([text] { EXPECT_TRUE(backend::TypeIntoFileDialog(text)); });
}

std::string MakeFiles(const std::string& name, std::initializer_list<const char*> files) {
    std::string folder = testing_support::MakeTestFolder(name);
    for (const char* file : files) {
        std::filesystem::create_directories(std::filesystem::path(folder + "/" + file).parent_path());
        std::ofstream(folder + "/" + file) << "x";
    }
    return folder;
}

TEST(DesktopDialogs, NameFilterKeepsTheDescriptionAndLetsStarDotStarMatchAll) {
    struct Case {
        const char* name;
        backend::FileDialogFilter filter;
        String expected;
    };
    const Case cases[] = {
        {"described", {u"Text files (*.txt)", u"*.txt"}, u"Text files (*.txt) (*.txt)"},
        {"star dot star", {u"All", u"*.*"}, u"All (*)"},
        {"several patterns", {u"Logs", u"*.log; *.txt;"}, u"Logs (*.log *.txt)"},
        {"no description", {u"", u"*.csv"}, u"*.csv (*.csv)"},
        {"no patterns", {u"Anything", u""}, u"Anything (*)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(backend::FileDialogNameFilter(c.filter), c.expected) << c.name;
}

TEST(DesktopDialogs, SaveAnswersTheFullPathWithTheDefaultExtension) {
    String folder = ToString(MakeFiles("save", {}));
    struct Case {
        String typed;
        String defaultExt;
        String expected;
    };
    const Case cases[] = {
        {u"report", u".txt", u"report.txt"},
        {u"report", u"txt", u"report.txt"},
        {u"notes.log", u"txt", u"notes.log"}, // a name with an extension keeps it
        {u"plain", u"", u"plain"},
    };
    for (const Case& c : cases) {
        backend::FileDialogOptions options;
        options.save = true;
        options.initialDir = folder;
        options.defaultExt = c.defaultExt;
        options.filters = {{u"Text files (*.txt)", u"*.txt"}, {u"All", u"*.*"}};
        options.filterIndex = 1;
        ASSERT_TRUE(backend::RunFileDialog(options, Typing(c.typed))) << StringToUtf8(c.typed);
        EXPECT_EQ(options.files, std::vector<String>{folder + u"/" + c.expected});
        EXPECT_EQ(options.filterIndex, 1u);
        EXPECT_FALSE(backend::FinishOpenDialog(false)) << "the dialog is gone";
    }
}

TEST(DesktopDialogs, OpenStartsInTheFolderOfTheNameAndSelectsSeveral) {
    String folder = ToString(MakeFiles("open", {"sub/x.txt", "sub/y.txt"}));
    backend::FileDialogOptions options;
    options.initialDir = folder;
    options.fileName = u"sub/start.txt";
    options.fileMustExist = true;
    ASSERT_TRUE(backend::RunFileDialog(options, Typing(u"x.txt")));
    EXPECT_EQ(options.files, std::vector<String>{folder + u"/sub/x.txt"});

    options.multiSelect = true;
    ASSERT_TRUE(backend::RunFileDialog(options, Typing(u"\"x.txt\" \"y.txt\"")));
    EXPECT_EQ(options.files, (std::vector<String>{folder + u"/sub/x.txt", folder + u"/sub/y.txt"}));
}

TEST(DesktopDialogs, CancelledOrQuittingLeavesTheRequestAsItWas) {
    String folder = ToString(MakeFiles("cancel", {}));
    backend::FileDialogOptions options;
    options.initialDir = folder;
    options.files = {u"kept"};
    DialogLoop cancelling = UserLoop([] { EXPECT_TRUE(backend::FinishOpenDialog(false)); });
    EXPECT_FALSE(backend::RunFileDialog(options, cancelling));
    // The program quitting while the dialog is open cancels it.
    EXPECT_FALSE(backend::RunFileDialog(options, DialogLoop{[] { return false; }, {}}));
    EXPECT_FALSE(backend::FinishOpenDialog(false)) << "the dialog is gone";
    EXPECT_EQ(options.files, std::vector<String>{u"kept"});
}

TEST(DesktopDialogs, ColourAndCustomColoursComeBack) {
    backend::ColorDialogOptions options;
    options.color = 0x1E140A;
    options.customColors = {0x0000FF, 0x00FF00, 0x123456};
    ASSERT_TRUE(backend::RunColorDialog(options, UserLoop([] { backend::FinishOpenDialog(true); })));
    EXPECT_EQ(options.color, 0x1E140Au);
    ASSERT_EQ(options.customColors.size(), 16u);
    EXPECT_EQ(options.customColors[0], 0x0000FFu);
    EXPECT_EQ(options.customColors[1], 0x00FF00u);
    EXPECT_EQ(options.customColors[2], 0x123456u);
    // Slots the request leaves out are white, whatever an earlier dialog left there.
    EXPECT_EQ(options.customColors[15], 0xFFFFFFu);
}

TEST(DesktopDialogs, FontComesBackWithItsSizeAndStyles) {
    backend::FontDialogOptions options;
    options.name = u"Liberation Serif";
    options.size = 14;
    options.bold = true;
    options.italic = true;
    options.underline = true;
    ASSERT_TRUE(backend::RunFontDialog(options, UserLoop([] { backend::FinishOpenDialog(true); })));
    EXPECT_EQ(options.name, u"Liberation Serif");
    EXPECT_EQ(options.size, 14);
    EXPECT_TRUE(options.bold);
    EXPECT_TRUE(options.italic);
    EXPECT_TRUE(options.underline);
    EXPECT_FALSE(options.strikeOut);
}

// The desktop offers no printer of the program's list here: the choice stays, the rest comes back.
TEST(DesktopDialogs, PrintKeepsCopiesAndRangeAndAnUnlistedPrinterChangesNothing) {
    backend::PrintDialogOptions options;
    options.printers = {u"No such printer A", u"No such printer B"};
    options.printer = 1;
    options.copies = 3;
    options.collate = true;
    options.minPage = 1;
    options.maxPage = 9;
    options.fromPage = 2;
    options.toPage = 4;
    ASSERT_TRUE(backend::RunPrintDialog(options, UserLoop([] { backend::FinishOpenDialog(true); })));
    EXPECT_EQ(options.printer, 1u);
    EXPECT_EQ(options.copies, 3);
    EXPECT_TRUE(options.collate);
    EXPECT_EQ(options.fromPage, 2);
    EXPECT_EQ(options.toPage, 4);
}

// Nobody could answer a dialog without a display: the service cancels it at once instead of waiting.
TEST(DesktopDialogs, ServiceCancelsWithoutADisplay) {
    win32::FileRequest file;
    file.files = {u"kept"};
    EXPECT_FALSE(win32::WindowDialogService().FileDialog(file));
    EXPECT_EQ(file.files, std::vector<String>{u"kept"});
    win32::ColorRequest color;
    EXPECT_FALSE(win32::WindowDialogService().ChooseColor(color));
    win32::FontRequest font;
    EXPECT_FALSE(win32::WindowDialogService().ChooseFont(font));
    win32::FolderRequest folder;
    EXPECT_FALSE(win32::WindowDialogService().SelectFolder(folder));
    win32::PrintRequest print;
    EXPECT_FALSE(win32::WindowDialogService().PrintDialog(print));
}

} // namespace
