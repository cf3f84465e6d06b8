// The dialog service: which service answers, MessageBox on top of it, the recording service tests use,
// and the desktop's common dialogs that the real service shows.
#include "platform/win32/dialogs.h"

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "platform/backend/commondialogs.h"
#include "platform/backend/windowing.h"
#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

const Trace::Channel TraceDialog("dialog");

std::atomic<DialogService*> gInstalled{nullptr};

int ButtonToID(DialogButton button) {
    switch (button) {
    case DialogButton::Ok:
        return IDOK;
    case DialogButton::Cancel:
        return IDCANCEL;
    case DialogButton::Abort:
        return IDABORT;
    case DialogButton::Retry:
        return IDRETRY;
    case DialogButton::Ignore:
        return IDIGNORE;
    case DialogButton::Yes:
        return IDYES;
    case DialogButton::No:
        return IDNO;
    case DialogButton::Close:
        return IDCLOSE;
    case DialogButton::Help:
        return IDHELP;
    case DialogButton::TryAgain:
        return IDTRYAGAIN;
    case DialogButton::Continue:
        return IDCONTINUE;
    default:
        return IDCANCEL; // the framework's own buttons never come from a Win32 box
    }
}

} // namespace

String DialogButtonCaption(DialogButton button) {
    switch (button) {
    case DialogButton::Ok:
        return u"OK";
    case DialogButton::Cancel:
        return u"Cancel";
    case DialogButton::Abort:
        return u"&Abort";
    case DialogButton::Retry:
        return u"&Retry";
    case DialogButton::Ignore:
        return u"&Ignore";
    case DialogButton::Yes:
        return u"&Yes";
    case DialogButton::No:
        return u"&No";
    case DialogButton::All:
        return u"&All";
    case DialogButton::NoToAll:
        return u"N&o to All";
    case DialogButton::YesToAll:
        return u"Yes to &All";
    case DialogButton::Help:
        return u"&Help";
    case DialogButton::Close:
        return u"&Close";
    case DialogButton::TryAgain:
        return u"&Try Again";
    case DialogButton::Continue:
        return u"&Continue";
    }
    return String();
}

DialogService& GetDialogService() {
    DialogService* service = gInstalled.load();
    return service ? *service : WindowDialogService();
}

DialogService* SetDialogService(DialogService* service) {
    return gInstalled.exchange(service);
}

RecordingDialogService::RecordingDialogService() : FPrevious(SetDialogService(this)) {}

RecordingDialogService::~RecordingDialogService() {
    SetDialogService(FPrevious);
}

DialogButton RecordingDialogService::ShowMessage(const MessageRequest& request) {
    Record record;
    record.kind = Record::Kind::Message;
    record.message = request;
    FRecords.push_back(record);
    if (OnRequest)
        OnRequest(record);
    DialogButton answer = request.buttons.at(request.defaultButton);
    if (!FMessageAnswers.empty()) {
        DialogButton scripted = FMessageAnswers.front();
        FMessageAnswers.pop_front();
        bool offered = false;
        for (DialogButton button : request.buttons)
            offered = offered || button == scripted;
        if (offered)
            answer = scripted;
        else
            ZWARN(TraceDialog, "scripted answer %d is not a button of \"%s\"", static_cast<int>(scripted),
                  StringToUtf8(request.text).c_str());
    }
    return answer;
}

bool RecordingDialogService::InputQuery(InputRequest& request) {
    Record record;
    record.kind = Record::Kind::Input;
    record.input = request;
    FRecords.push_back(record);
    if (OnRequest)
        OnRequest(record);
    if (FInputAnswers.empty())
        return true;
    InputAnswer answer = std::move(FInputAnswers.front());
    FInputAnswers.pop_front();
    if (!answer.accept)
        return false;
    // Fields the script leaves out keep their texts.
    for (size_t i = 0; i < answer.values.size() && i < request.values.size(); ++i)
        request.values[i] = answer.values[i];
    return true;
}

bool RecordingDialogService::Common(Record& record) {
    FRecords.push_back(record);
    if (OnRequest)
        OnRequest(record);
    auto it = std::find_if(FAnswers.begin(), FAnswers.end(),
                           [&record](const CommonAnswer& answer) { return answer.kind == record.kind; });
    if (it == FAnswers.end())
        return false;
    CommonAnswer answer = std::move(*it);
    FAnswers.erase(it);
    if (answer.accept)
        answer.change(record);
    return answer.accept;
}

template <typename Request>
bool RecordingDialogService::Ask(Record::Kind kind, Request Record::*slot, Request& request) {
    Record record;
    record.kind = kind;
    record.*slot = request;
    bool accepted = Common(record);
    if (accepted)
        request = record.*slot;
    return accepted;
}

bool RecordingDialogService::FileDialog(FileRequest& request) {
    return Ask(Record::Kind::File, &Record::file, request);
}

bool RecordingDialogService::SelectFolder(FolderRequest& request) {
    return Ask(Record::Kind::Folder, &Record::folder, request);
}

bool RecordingDialogService::ChooseColor(ColorRequest& request) {
    return Ask(Record::Kind::Color, &Record::color, request);
}

bool RecordingDialogService::ChooseFont(FontRequest& request) {
    return Ask(Record::Kind::Font, &Record::font, request);
}

bool RecordingDialogService::PrintDialog(PrintRequest& request) {
    return Ask(Record::Kind::Print, &Record::print, request);
}

namespace {

// One round of the program's message loop while a common dialog is open; false when the program is
// quitting (the quit is posted again for the caller's own loop).
bool ServeOneMessage() {
    MSG msg{};
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (got == -1)
        return false;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

// A common dialog shown over owner: the owner is disabled meanwhile and active again afterwards, as with
// the program's own message boxes.
class CommonDialogScope {
public:
    explicit CommonDialogScope(HWND owner) : FOwner(owner && IsWindow(owner) ? owner : nullptr) {
        FOwnerWasEnabled = FOwner && IsWindowEnabled(FOwner);
        if (FOwnerWasEnabled)
            EnableWindow(FOwner, FALSE);
    }
    ~CommonDialogScope() {
        if (FOwnerWasEnabled && IsWindow(FOwner))
            EnableWindow(FOwner, TRUE);
        if (FOwner && IsWindow(FOwner))
            SetActiveWindow(FOwner);
    }
    CommonDialogScope(const CommonDialogScope&) = delete;
    CommonDialogScope& operator=(const CommonDialogScope&) = delete;

    // The desktop window the dialog sits on: the one of the owner's top-level window.
    std::uintptr_t Host() const {
        HWND top = FOwner ? GetAncestor(FOwner, GA_ROOT) : nullptr;
        return reinterpret_cast<std::uintptr_t>(top);
    }
    backend::DialogLoop Loop() const {
        DWORD thread = GetCurrentThreadId();
        // The dialog is answered inside the wait for a message: a message of no meaning ends the wait.
        return {ServeOneMessage, [thread] { PostThreadMessageW(thread, WM_NULL, 0, 0); }};
    }

private:
    HWND FOwner;
    bool FOwnerWasEnabled = false;
};

// Without a display nobody could answer a dialog, which would then wait for ever: it is cancelled.
bool CanShowCommonDialog(const char* what) {
    if (backend::HostWindowsAvailable() && backend::IsGuiThread())
        return true;
    ZWARN(TraceDialog, "no display to show the %s dialog on; answered as cancelled", what);
    return false;
}

} // namespace

bool DialogService::FileDialog(FileRequest& request) {
    if (!CanShowCommonDialog("file"))
        return false;
    CommonDialogScope scope(request.owner);
    backend::FileDialogOptions options;
    options.save = request.kind == FileRequest::Kind::Save;
    options.owner = scope.Host();
    options.title = request.title;
    options.initialDir = request.initialDir;
    if (!request.files.empty())
        options.fileName = request.files.front();
    options.defaultExt = request.defaultExt;
    for (const FileFilter& filter : request.filters)
        options.filters.push_back({filter.description, filter.patterns});
    options.filterIndex = request.filterIndex;
    options.multiSelect = request.multiSelect;
    options.fileMustExist = request.fileMustExist;
    // FIXME: pathMustExist is not checked: the desktop's dialog takes a typed name in a missing folder.
    options.overwritePrompt = request.overwritePrompt;
    if (!backend::RunFileDialog(options, scope.Loop()))
        return false;
    request.files = options.files;
    request.filterIndex = options.filterIndex;
    return true;
}

bool DialogService::SelectFolder(FolderRequest& request) {
    if (!CanShowCommonDialog("folder"))
        return false;
    CommonDialogScope scope(request.owner);
    backend::FolderDialogOptions options;
    options.owner = scope.Host();
    options.title = request.caption;
    options.directory = request.directory;
    options.root = request.root;
    if (!backend::RunFolderDialog(options, scope.Loop()))
        return false;
    request.directory = options.directory;
    return true;
}

bool DialogService::ChooseColor(ColorRequest& request) {
    if (!CanShowCommonDialog("colour"))
        return false;
    CommonDialogScope scope(request.owner);
    backend::ColorDialogOptions options;
    options.owner = scope.Host();
    options.color = request.color;
    options.customColors.assign(request.customColors.begin(), request.customColors.end());
    if (!backend::RunColorDialog(options, scope.Loop()))
        return false;
    request.customColors.assign(options.customColors.begin(), options.customColors.end());
    request.color = options.color;
    return true;
}

bool DialogService::ChooseFont(FontRequest& request) {
    if (!CanShowCommonDialog("font"))
        return false;
    CommonDialogScope scope(request.owner);
    backend::FontDialogOptions options;
    options.owner = scope.Host();
    options.name = request.name;
    options.size = request.size;
    options.bold = request.bold;
    options.italic = request.italic;
    options.underline = request.underline;
    options.strikeOut = request.strikeOut;
    // The desktop's font dialog has no colour: request.color stays as it came.
    if (!backend::RunFontDialog(options, scope.Loop()))
        return false;
    request.name = options.name;
    request.size = options.size;
    request.bold = options.bold;
    request.italic = options.italic;
    request.underline = options.underline;
    request.strikeOut = options.strikeOut;
    return true;
}

bool DialogService::PrintDialog(PrintRequest& request) {
    if (!CanShowCommonDialog("print"))
        return false;
    CommonDialogScope scope(request.owner);
    backend::PrintDialogOptions options;
    options.setup = request.kind == PrintRequest::Kind::Setup;
    options.owner = scope.Host();
    options.printers = request.printers;
    options.printer = request.printer;
    options.copies = request.copies;
    options.collate = request.collate;
    options.fromPage = request.fromPage;
    options.toPage = request.toPage;
    options.minPage = request.minPage;
    options.maxPage = request.maxPage;
    options.outputFile = request.outputFile;
    if (!backend::RunPrintDialog(options, scope.Loop()))
        return false;
    request.outputFile = options.outputFile;
    request.printer = options.printer;
    request.copies = options.copies;
    request.collate = options.collate;
    request.fromPage = options.fromPage;
    request.toPage = options.toPage;
    return true;
}

} // namespace win32

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    using win32::DialogButton;
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    win32::MessageRequest request;
    request.owner = owner;
    request.text = text ? String(text) : String();
    request.caption = caption ? String(caption) : String(u"Error");
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        request.buttons = {DialogButton::Ok};
        break;
    case MB_OKCANCEL:
        request.buttons = {DialogButton::Ok, DialogButton::Cancel};
        break;
    case MB_ABORTRETRYIGNORE:
        request.buttons = {DialogButton::Abort, DialogButton::Retry, DialogButton::Ignore};
        break;
    case MB_YESNOCANCEL:
        request.buttons = {DialogButton::Yes, DialogButton::No, DialogButton::Cancel};
        break;
    case MB_YESNO:
        request.buttons = {DialogButton::Yes, DialogButton::No};
        break;
    case MB_RETRYCANCEL:
        request.buttons = {DialogButton::Retry, DialogButton::Cancel};
        break;
    case MB_CANCELTRYCONTINUE:
        request.buttons = {DialogButton::Cancel, DialogButton::TryAgain, DialogButton::Continue};
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (type & MB_HELP)
        request.buttons.push_back(DialogButton::Help);
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        request.icon = win32::DialogIcon::Error;
        break;
    case MB_ICONQUESTION:
        request.icon = win32::DialogIcon::Question;
        break;
    case MB_ICONEXCLAMATION:
        request.icon = win32::DialogIcon::Warning;
        break;
    case MB_ICONASTERISK:
        request.icon = win32::DialogIcon::Information;
        break;
    default:
        request.icon = win32::DialogIcon::None;
        break;
    }
    // A default button past the last one falls back to the first, as Win32 does.
    size_t defaultButton = (type & MB_DEFMASK) >> 8;
    request.defaultButton = defaultButton < request.buttons.size() ? defaultButton : 0;
    // Escape answers Cancel where there is one, OK in a box with only OK, and nothing otherwise.
    request.cancellable = false;
    for (DialogButton button : request.buttons)
        if (button == DialogButton::Cancel)
            request.cancellable = true;
    if (request.buttons.size() == 1 || (type & MB_TYPEMASK) == MB_OK) {
        request.cancellable = true;
        request.cancelButton = DialogButton::Ok;
    }
    return win32::ButtonToID(win32::GetDialogService().ShowMessage(request));
}
