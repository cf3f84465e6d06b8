// The dialog service: which service answers, MessageBox on top of it, and the recording service tests use.
#include "platform/win32/dialogs.h"

#include <atomic>

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
    Record record{Record::Kind::Message, request, {}};
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
    Record record{Record::Kind::Input, {}, request};
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
