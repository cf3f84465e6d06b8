// The one place every message box and dialog of the program goes through: MessageBox, the framework's
// message dialogs and input queries (and later the common dialogs) hand a request to the dialog service.
// The default service shows a real window of our window manager and runs a modal loop; a test installs
// a service that answers at once and records what was asked.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/win32/winuser.h"

// ---- MessageBox types and answers ----
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
inline constexpr UINT MB_ICONMASK = 0x000000F0;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_DEFBUTTON1 = 0x00000000;
inline constexpr UINT MB_DEFBUTTON2 = 0x00000100;
inline constexpr UINT MB_DEFBUTTON3 = 0x00000200;
inline constexpr UINT MB_DEFBUTTON4 = 0x00000300;
inline constexpr UINT MB_DEFMASK = 0x00000F00;
inline constexpr UINT MB_APPLMODAL = 0x00000000;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr UINT MB_TASKMODAL = 0x00002000;
inline constexpr UINT MB_HELP = 0x00004000;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int IDCLOSE = 8;
inline constexpr int IDHELP = 9;
inline constexpr int IDTRYAGAIN = 10;
inline constexpr int IDCONTINUE = 11;

// Shows a message box through the dialog service and answers the ID of the button chosen (IDCANCEL for
// Escape or the close box where the box has a Cancel button). 0 with ERROR_INVALID_WINDOW_HANDLE for an
// owner that is not a window, or ERROR_INVALID_PARAMETER for an unknown MB_ type. A NULL caption is
// "Error", as in Win32.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
inline int MessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxW(owner, text, caption, type);
}

namespace win32 {

// The buttons a dialog can offer, whatever numbering its caller answers in (Win32 IDs, modal results).
enum class DialogButton {
    Ok,
    Cancel,
    Abort,
    Retry,
    Ignore,
    Yes,
    No,
    All,
    NoToAll,
    YesToAll,
    Help,
    Close,
    TryAgain,
    Continue
};
enum class DialogIcon { None, Error, Warning, Question, Information };

// The English label of a button ("OK", "&Yes", "Yes to &All" ...).
String DialogButtonCaption(DialogButton button);

struct MessageRequest {
    HWND owner = nullptr;
    String caption;
    String text;
    DialogIcon icon = DialogIcon::None;
    std::vector<DialogButton> buttons; // in the order shown, never empty
    size_t defaultButton = 0;          // index into buttons
    // Whether Escape and the close box answer, and with which button (the caller's rule: a Win32 box
    // with Yes and No but no Cancel cannot be cancelled).
    bool cancellable = true;
    DialogButton cancelButton = DialogButton::Cancel;
};

struct InputRequest {
    HWND owner = nullptr;
    String caption;
    std::vector<String> prompts; // one edit field per prompt
    std::vector<String> values;  // in: the initial texts; out: what was typed (only when accepted)
    std::vector<bool> masked;    // a field shown as asterisks (a prompt starting with a character below '!')
};

// The common dialogs. Each request carries what the dialog starts with and, when the user accepts,
// what was chosen.
struct FileFilter {
    String description; // "Text files (*.txt)"
    String patterns;    // "*.txt;*.log"
};

struct FileRequest {
    enum class Kind { Open, Save } kind = Kind::Open;
    HWND owner = nullptr;
    String title; // empty: "Open" or "Save As"
    String initialDir;
    String defaultExt; // added to a name typed without extension
    std::vector<FileFilter> filters;
    size_t filterIndex = 0; // in and out, 0-based
    bool multiSelect = false;
    bool fileMustExist = false; // the dialog checks these before it closes
    bool pathMustExist = false;
    bool overwritePrompt = false;
    std::vector<String> files; // in: the file name shown (one); out: the full paths chosen
};

struct FolderRequest {
    HWND owner = nullptr;
    String caption;
    String root;      // the top of what can be browsed; empty for everything
    String directory; // in and out
};

struct ColorRequest {
    HWND owner = nullptr;
    COLORREF color = 0;                 // in and out
    std::vector<COLORREF> customColors; // in and out: the 16 custom colours
    bool fullOpen = false;
};

struct FontRequest {
    HWND owner = nullptr;
    String name; // in and out: the face, its size in points, its styles and colour
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    COLORREF color = 0;
};

struct PrintRequest {
    enum class Kind { Print, Setup } kind = Kind::Print;
    HWND owner = nullptr;
    std::vector<String> printers; // the printers to choose from
    size_t printer = 0;           // in and out
    int copies = 1;               // in and out (Print only)
    bool collate = false;
    int fromPage = 0; // in and out; 0 for all pages
    int toPage = 0;
    int minPage = 0;
    int maxPage = 0;
    String outputFile; // in and out: the PDF printer's file; empty until one is chosen
};

// What a dialog service implements. Each call returns when the user has answered.
class DialogService {
public:
    virtual ~DialogService() = default;
    // The button the user chose.
    virtual DialogButton ShowMessage(const MessageRequest& request) = 0;
    // True when the user accepted; request.values then hold the new texts.
    virtual bool InputQuery(InputRequest& request) = 0;
    // True when the user accepted; the request then holds the choice. A service that cannot show a
    // dialog answers false, as a cancelled one does.
    virtual bool FileDialog(FileRequest& request);
    virtual bool SelectFolder(FolderRequest& request);
    virtual bool ChooseColor(ColorRequest& request);
    virtual bool ChooseFont(FontRequest& request);
    virtual bool PrintDialog(PrintRequest& request);
};

// The service in use: the one installed, or the one that shows real windows.
DialogService& GetDialogService();
// Installs a service (null goes back to real windows); returns the previous one installed, or null.
DialogService* SetDialogService(DialogService* service);

// A service that answers from a script and records every request: for tests, and for running without
// a user. Without a scripted answer a message gets its default button and an input query is accepted
// unchanged.
class RecordingDialogService : public DialogService {
public:
    struct Record {
        enum class Kind { Message, Input, File, Folder, Color, Font, Print } kind = Kind::Message;
        MessageRequest message; // for Kind::Message
        InputRequest input;     // for Kind::Input, as asked (before the answer)
        FileRequest file;       // the common dialogs' requests, as asked
        FolderRequest folder;
        ColorRequest color;
        FontRequest font;
        PrintRequest print;
    };

    // Installs itself for its lifetime and puts the previous service back afterwards.
    RecordingDialogService();
    ~RecordingDialogService() override;
    RecordingDialogService(const RecordingDialogService&) = delete;
    RecordingDialogService& operator=(const RecordingDialogService&) = delete;

    // The next message is answered with button; when the box does not offer it the test is at fault,
    // and the default button is chosen with a warning on the "dialog" channel.
    void AnswerMessage(DialogButton button) { FMessageAnswers.push_back(button); }
    // The next input query is accepted with these texts, or cancelled with no values.
    void AnswerInput(std::vector<String> values, bool accept = true) {
        FInputAnswers.push_back({std::move(values), accept});
    }
    // The next common dialog of the request's kind is accepted with what answer holds (changed in the
    // request by the given function), or cancelled. A common dialog without a scripted answer is
    // cancelled.
    void AnswerFile(std::vector<String> files, bool accept = true) {
        FAnswers.push_back({Record::Kind::File, [files](Record& r) { r.file.files = files; }, accept});
    }
    void AnswerFolder(String directory, bool accept = true) {
        FAnswers.push_back(
            {Record::Kind::Folder, [directory](Record& r) { r.folder.directory = directory; }, accept});
    }
    void AnswerColor(COLORREF color, bool accept = true) {
        FAnswers.push_back({Record::Kind::Color, [color](Record& r) { r.color.color = color; }, accept});
    }
    void AnswerFont(std::function<void(FontRequest&)> change, bool accept = true) {
        FAnswers.push_back({Record::Kind::Font, [change](Record& r) { change(r.font); }, accept});
    }
    void AnswerPrint(std::function<void(PrintRequest&)> change, bool accept = true) {
        FAnswers.push_back({Record::Kind::Print, [change](Record& r) { change(r.print); }, accept});
    }
    // Runs for each request before it is answered, e.g. to check the state of the program meanwhile.
    std::function<void(const Record&)> OnRequest;

    const std::vector<Record>& Records() const { return FRecords; }
    void Clear() { FRecords.clear(); }

    DialogButton ShowMessage(const MessageRequest& request) override;
    bool InputQuery(InputRequest& request) override;
    bool FileDialog(FileRequest& request) override;
    bool SelectFolder(FolderRequest& request) override;
    bool ChooseColor(ColorRequest& request) override;
    bool ChooseFont(FontRequest& request) override;
    bool PrintDialog(PrintRequest& request) override;

private:
    struct CommonAnswer {
        Record::Kind kind;
        std::function<void(Record&)> change;
        bool accept;
    };
    // Records a common dialog's request and applies the first scripted answer of its kind.
    bool Common(Record& record);
    // Records request in the record's slot for its kind and, when accepted, hands back the answer.
    template <typename Request> bool Ask(Record::Kind kind, Request Record::*slot, Request& request);
    std::deque<CommonAnswer> FAnswers;

    struct InputAnswer {
        std::vector<String> values;
        bool accept;
    };
    DialogService* FPrevious;
    std::deque<DialogButton> FMessageAnswers;
    std::deque<InputAnswer> FInputAnswers;
    std::vector<Record> FRecords;
};

// The service that shows real windows (msgbox.cpp): a modal top-level window of our own with the text,
// edit fields and buttons, owned by request.owner, which is disabled meanwhile. Enter chooses the
// focused button, Escape and the close box the cancel button, Tab and the arrows move between buttons.
// A WM_QUIT read meanwhile ends the dialog with the cancel answer and is posted again for the caller's
// loop.
DialogService& WindowDialogService();

} // namespace win32
