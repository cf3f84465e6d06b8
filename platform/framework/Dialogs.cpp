// MessageDlg, ShowMessage, InputQuery and InputBox on top of the dialog service.
#include "platform/framework/Dialogs.h"

#include "platform/framework/Application.h"
#include "platform/framework/Controls.h"
#include "platform/rtl/Consts.h"
#include "platform/win32/dialogs.h"

namespace {

using win32::DialogButton;

struct ButtonInfo {
    TMsgDlgBtn button;
    DialogButton kind;
    TModalResult result;
};

// In the order the framework lays the buttons out.
constexpr ButtonInfo Buttons[] = {
    {mbYes, DialogButton::Yes, mrYes},
    {mbNo, DialogButton::No, mrNo},
    {mbOK, DialogButton::Ok, mrOk},
    {mbCancel, DialogButton::Cancel, mrCancel},
    {mbAbort, DialogButton::Abort, mrAbort},
    {mbRetry, DialogButton::Retry, mrRetry},
    {mbIgnore, DialogButton::Ignore, mrIgnore},
    {mbAll, DialogButton::All, mrAll},
    {mbNoToAll, DialogButton::NoToAll, mrNoToAll},
    {mbYesToAll, DialogButton::YesToAll, mrYesToAll},
    {mbHelp, DialogButton::Help, mrNone},
};

String ApplicationTitle() {
    return Application ? Application->Title() : String();
}

String Caption(TMsgDlgType dlgType) {
    switch (dlgType) {
    case mtWarning:
        return Consts::SMsgDlgWarning;
    case mtError:
        return Consts::SMsgDlgError;
    case mtInformation:
        return Consts::SMsgDlgInformation;
    case mtConfirmation:
        return Consts::SMsgDlgConfirm;
    case mtCustom:
        break;
    }
    return ApplicationTitle();
}

win32::DialogIcon Icon(TMsgDlgType dlgType) {
    switch (dlgType) {
    case mtWarning:
        return win32::DialogIcon::Warning;
    case mtError:
        return win32::DialogIcon::Error;
    case mtInformation:
        return win32::DialogIcon::Information;
    case mtConfirmation:
        return win32::DialogIcon::Question;
    case mtCustom:
        break;
    }
    return win32::DialogIcon::None;
}

Integer ShowDialog(const String& msg, const String& caption, win32::DialogIcon icon, TMsgDlgButtons buttons) {
    // A dialog without buttons could never be closed.
    if (buttons.Empty())
        buttons = TMsgDlgButtons{mbOK};
    win32::MessageRequest request;
    request.owner = GetActiveWindow();
    request.caption = caption;
    request.text = msg;
    request.icon = icon;
    TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : mbRetry;
    TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel : buttons.Contains(mbNo) ? mbNo : mbOK;
    request.cancellable = buttons.Contains(cancelButton);
    for (const ButtonInfo& info : Buttons) {
        if (!buttons.Contains(info.button))
            continue;
        if (info.button == defaultButton)
            request.defaultButton = request.buttons.size();
        if (info.button == cancelButton)
            request.cancelButton = info.kind;
        request.buttons.push_back(info.kind);
    }
    DialogButton answer = win32::GetDialogService().ShowMessage(request);
    for (const ButtonInfo& info : Buttons)
        if (info.kind == answer)
            return info.result;
    return mrNone;
}

} // namespace

Integer MessageDlg(const String& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, LongInt) {
    return ShowDialog(msg, Caption(dlgType), Icon(dlgType), buttons);
}

Integer MessageDlgPos(const String& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, LongInt helpCtx,
                      Integer, Integer) {
    return MessageDlg(msg, dlgType, buttons, helpCtx);
}

void ShowMessage(const String& msg) {
    ShowDialog(msg, ApplicationTitle(), win32::DialogIcon::None, {mbOK});
}

void ShowMessageFmt(const String& msg, std::initializer_list<TVarRec> args) {
    ShowMessage(Format(msg, args));
}

bool InputQuery(const String& caption, const std::vector<String>& prompts, std::vector<String>& values) {
    if (prompts.size() != values.size())
        throw EInvalidOperation(Consts::SPromptArrayMismatch);
    if (prompts.empty())
        throw EInvalidOperation(Consts::SPromptArrayEmpty);
    win32::InputRequest request;
    request.owner = GetActiveWindow();
    request.caption = caption;
    request.values = values;
    for (const String& prompt : prompts) {
        bool masked = !prompt.empty() && prompt[0] < u'!';
        request.prompts.push_back(masked ? prompt.substr(1) : prompt);
        request.masked.push_back(masked);
    }
    if (!win32::GetDialogService().InputQuery(request))
        return false;
    // The service answers one text per field; anything else leaves the caller's values alone.
    if (request.values.size() == values.size())
        values = std::move(request.values);
    return true;
}

bool InputQuery(const String& caption, const String& prompt, String& value) {
    std::vector<String> values{value};
    if (!InputQuery(caption, std::vector<String>{prompt}, values))
        return false;
    value = values[0];
    return true;
}

String InputBox(const String& caption, const String& prompt, const String& defaultValue) {
    String value = defaultValue;
    InputQuery(caption, prompt, value);
    return value;
}
