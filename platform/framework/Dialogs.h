// The framework's message dialogs and input queries: MessageDlg, ShowMessage, InputQuery and InputBox.
// All of them go through the dialog service (platform/win32/dialogs.h), which tests answer.
#pragma once

#include <initializer_list>
#include <vector>

#include "platform/framework/TypeInfo.h"
#include "platform/rtl/Format.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// Shows msg, owned by the active window, with the buttons given, in the framework's order (Yes, No, OK,
// Cancel, Abort, Retry, Ignore, All, No to All, Yes to All, Help), and answers the modal result (mrYes
// ..., Controls.h) of the one chosen; Help answers 0. The caption
// is "Warning", "Error", "Information" or "Confirm" after the type, and the application's title for
// mtCustom. The default button is OK, else Yes, else Retry, else the first; Escape answers Cancel, else
// No, else OK, and cannot close a dialog with none of them. An empty set of buttons shows OK.
Integer MessageDlg(const String& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, LongInt helpCtx);
// The same, centred on a point of the screen (the service places it; X and Y are kept for callers).
Integer MessageDlgPos(const String& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, LongInt helpCtx,
                      Integer x, Integer y);
// msg with an OK button, under the application's title.
void ShowMessage(const String& msg);
// Format(msg, args), then ShowMessage.
void ShowMessageFmt(const String& msg, std::initializer_list<TVarRec> args);
// Asks for one text; value changes only when the user accepts (true). A prompt that starts with a
// character below '!' (e.g. #1) asks for a password: the field shows asterisks and the mark is dropped.
bool InputQuery(const String& caption, const String& prompt, String& value);
// Several texts at once, one field per prompt; raises EInvalidOperation "Prompt and value arrays must be
// of the same length" when the counts differ.
bool InputQuery(const String& caption, const std::vector<String>& prompts, std::vector<String>& values);
// The text the user typed, or defaultValue when cancelled.
String InputBox(const String& caption, const String& prompt, const String& defaultValue);
