// The desktop's own file, folder, colour, font and print dialogs, shown modally over the program's windows
// while the program's message loop keeps serving them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace backend {

// How a common dialog waits for its answer. While the dialog is open, serve() is called over and over; it
// handles the program's own messages (painting, timers), waiting for one, and answers false when the
// program is quitting, which cancels the dialog. wake() makes a waiting serve() return; the dialog calls
// it once it is answered.
struct DialogLoop {
    std::function<bool()> serve;
    std::function<void()> wake;
};

struct FileDialogFilter {
    std::u16string description; // "Text files (*.txt)"
    std::u16string patterns;    // "*.txt;*.log"
};

struct FileDialogOptions {
    bool save = false;
    std::uintptr_t owner = 0; // the top-level window whose desktop window becomes the parent; 0: none
    std::u16string title;
    std::u16string initialDir;
    std::u16string fileName;   // shown at the start; may carry a folder of its own
    std::u16string defaultExt; // "txt" or ".txt": added to a name typed without extension
    std::vector<FileDialogFilter> filters;
    std::size_t filterIndex = 0; // in and out, 0-based
    bool multiSelect = false;
    bool fileMustExist = false;
    bool overwritePrompt = false;
    std::vector<std::u16string> files; // out: the full paths chosen
};

struct FolderDialogOptions {
    std::uintptr_t owner = 0;
    std::u16string title;
    std::u16string directory; // in and out; empty starts in root, or in the current folder
    std::u16string root;
};

struct ColorDialogOptions {
    std::uintptr_t owner = 0;
    std::uint32_t color = 0;                 // in and out, 0x00BBGGRR
    std::vector<std::uint32_t> customColors; // in and out, at most 16 are kept by the dialog
};

struct FontDialogOptions {
    std::uintptr_t owner = 0;
    std::u16string name; // in and out
    int size = 0;        // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct PrintDialogOptions {
    bool setup = false; // only the printer is chosen: no copies, no page range
    std::uintptr_t owner = 0;
    std::vector<std::u16string> printers;
    std::size_t printer = 0; // in and out
    int copies = 1;
    bool collate = false;
    int fromPage = 0; // 0 for all pages
    int toPage = 0;
    int minPage = 0;
    int maxPage = 0;
    std::u16string outputFile; // in and out: the PDF printer's file
};

// Each runs its dialog and answers true when the user accepted it; the options then hold the choice. They
// answer false (as a cancelled dialog) off the GUI thread or before the platform has started.
bool RunFileDialog(FileDialogOptions& options, const DialogLoop& loop);
bool RunFolderDialog(FolderDialogOptions& options, const DialogLoop& loop);
bool RunColorDialog(ColorDialogOptions& options, const DialogLoop& loop);
bool RunFontDialog(FontDialogOptions& options, const DialogLoop& loop);
bool RunPrintDialog(PrintDialogOptions& options, const DialogLoop& loop);

// The name filter the file dialog shows for a filter, in the desktop's form "Text files (*.txt *.log)".
// A "*.*" pattern matches every name, as it does for the program, also those without a dot.
std::u16string FileDialogNameFilter(const FileDialogFilter& filter);

// For tests: types text into the file name field of the file dialog that is open and presses Enter, as a
// user would. Now types at once; Queued types when the desktop's events are next handled, as a user's keys
// arrive while the program waits for messages. False when no file dialog is open.
enum class InputTiming { Now, Queued };
bool TypeIntoFileDialog(const std::u16string& text, InputTiming timing = InputTiming::Now);
// For tests: accepts or cancels whichever common dialog is open, as its OK or Cancel button would. False
// when none is.
bool FinishOpenDialog(bool accept);

} // namespace backend
