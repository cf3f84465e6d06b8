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
        backend::FileDialogSpec spec;
        spec.save = true;
        spec.initialDir = folder;
        spec.defaultExt = c.defaultExt;
        spec.filters = {{u"Text files (*.txt)", u"*.txt"}, {u"All", u"*.*"}};
        spec.filterIndex = 1;
        ASSERT_TRUE(backend::RunFileDialog(spec, Typing(c.typed))) << StringToUtf8(c.typed);
        EXPECT_EQ(spec.files, std::vector<String>{folder + u"/" + c.expected});
        EXPECT_EQ(spec.filterIndex, 1u);
        EXPECT_FALSE(backend::FinishOpenDialog(false)) << "the dialog is gone";
    }
}

TEST(DesktopDialogs, OpenStartsInTheFolderOfTheNameAndSelectsSeveral) {
    String folder = ToString(MakeFiles("open", {"sub/x.txt", "sub/y.txt"}));
    backend::FileDialogSpec spec;
    spec.initialDir = folder;
    spec.fileName = u"sub/start.txt";
    spec.fileMustExist = true;
    ASSERT_TRUE(backend::RunFileDialog(spec, Typing(u"x.txt")));
    EXPECT_EQ(spec.files, std::vector<String>{folder + u"/sub/x.txt"});

    spec.multiSelect = true;
    ASSERT_TRUE(backend::RunFileDialog(spec, Typing(u"\"x.txt\" \"y.txt\"")));
    EXPECT_EQ(spec.files, (std::vector<String>{folder + u"/sub/x.txt", folder + u"/sub/y.txt"}));
}

TEST(DesktopDialogs, CancelledOrQuittingLeavesTheRequestAsItWas) {
    String folder = ToString(MakeFiles("cancel", {}));
    backend::FileDialogSpec spec;
    spec.initialDir = folder;
    spec.files = {u"kept"};
    DialogLoop cancelling = UserLoop([] { EXPECT_TRUE(backend::FinishOpenDialog(false)); });
    EXPECT_FALSE(backend::RunFileDialog(spec, cancelling));
    // The program quitting while the dialog is open cancels it.
    EXPECT_FALSE(backend::RunFileDialog(spec, DialogLoop{[] { return false; }, {}}));
    EXPECT_FALSE(backend::FinishOpenDialog(false)) << "the dialog is gone";
    EXPECT_EQ(spec.files, std::vector<String>{u"kept"});
}

TEST(DesktopDialogs, ColourAndCustomColoursComeBack) {
    backend::ColorDialogSpec spec;
    spec.color = 0x1E140A;
    spec.customColors = {0x0000FF, 0x00FF00, 0x123456};
    ASSERT_TRUE(backend::RunColorDialog(spec, UserLoop([] { backend::FinishOpenDialog(true); })));
    EXPECT_EQ(spec.color, 0x1E140Au);
    ASSERT_EQ(spec.customColors.size(), 16u);
    EXPECT_EQ(spec.customColors[0], 0x0000FFu);
    EXPECT_EQ(spec.customColors[1], 0x00FF00u);
    EXPECT_EQ(spec.customColors[2], 0x123456u);
    // Slots the request leaves out are white, whatever an earlier dialog left there.
    EXPECT_EQ(spec.customColors[15], 0xFFFFFFu);
}

TEST(DesktopDialogs, FontComesBackWithItsSizeAndStyles) {
    backend::FontDialogSpec spec;
    spec.name = u"Liberation Serif";
    spec.size = 14;
    spec.bold = true;
    spec.italic = true;
    spec.underline = true;
    ASSERT_TRUE(backend::RunFontDialog(spec, UserLoop([] { backend::FinishOpenDialog(true); })));
    EXPECT_EQ(spec.name, u"Liberation Serif");
    EXPECT_EQ(spec.size, 14);
    EXPECT_TRUE(spec.bold);
    EXPECT_TRUE(spec.italic);
    EXPECT_TRUE(spec.underline);
    EXPECT_FALSE(spec.strikeOut);
}

// The desktop offers no printer of the program's list here: the choice stays, the rest comes back.
TEST(DesktopDialogs, PrintKeepsCopiesAndRangeAndAnUnlistedPrinterChangesNothing) {
    backend::PrintDialogSpec spec;
    spec.printers = {u"No such printer A", u"No such printer B"};
    spec.printer = 1;
    spec.copies = 3;
    spec.collate = true;
    spec.minPage = 1;
    spec.maxPage = 9;
    spec.fromPage = 2;
    spec.toPage = 4;
    ASSERT_TRUE(backend::RunPrintDialog(spec, UserLoop([] { backend::FinishOpenDialog(true); })));
    EXPECT_EQ(spec.printer, 1u);
    EXPECT_EQ(spec.copies, 3);
    EXPECT_TRUE(spec.collate);
    EXPECT_EQ(spec.fromPage, 2);
    EXPECT_EQ(spec.toPage, 4);
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
