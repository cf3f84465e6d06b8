// The framework's message dialogs and input queries (MessageDlg, ShowMessage, InputQuery, InputBox) and
// the common dialogs (files, folders, colours, fonts, printers).
// All of them go through the dialog service (platform/win32/dialogs.h), which tests answer.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypeInfo.h"

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

// ---- The common dialogs ----
// Execute shows the dialog through the dialog service and answers whether the user accepted; the
// dialog's properties then hold the choice.
class TCommonDialog : public TComponent {
    DECLARE_CLASS(TCommonDialog, TComponent)

public:
    explicit TCommonDialog(TComponent* owner);
    virtual bool Execute() = 0;

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // Fires OnShow, runs show, then fires OnClose.
    bool Run(const std::function<bool()>& show);
};

ZELMOR_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp,
            ofNoValidate, ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist,
            ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton,
            ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
            ofDontAddToRecent, ofForceShowHidden)
using TOpenOptions = TSet<TOpenOption>;

// Chooses files to open. Filter is "Text files (*.txt)|*.txt|All|*.*"; FilterIndex counts from 1. A name
// chosen without extension gets DefaultExt; a relative one is taken in InitialDir. With
// ofFileMustExist, ofPathMustExist or ofOverwritePrompt (saving) a name that breaks the rule is
// reported and the dialog shown again.
class TOpenDialog : public TCommonDialog {
    DECLARE_CLASS(TOpenDialog, TCommonDialog)

public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;
    bool Execute() override;

    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& value) { FDefaultExt = value; }
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& value) { FFileName = value; }
    // Every file chosen (one without ofAllowMultiSelect).
    TStrings* Files() const { return FFiles.get(); }
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& value) { FFilter = value; }
    Integer FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(Integer value) { FFilterIndex = value; }
    const String& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& value) { FInitialDir = value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions value) { FOptions = value; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }

protected:
    virtual bool IsSave() const { return false; }

private:
    // Checks the chosen names against the options; reports the first that breaks one.
    bool Accept(std::vector<String>& files);

    String FDefaultExt;
    String FFileName;
    std::unique_ptr<TStringList> FFiles;
    String FFilter;
    Integer FFilterIndex = 1;
    String FInitialDir;
    TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
    String FTitle;
};

class TSaveDialog : public TOpenDialog {
    DECLARE_CLASS(TSaveDialog, TOpenDialog)

public:
    using TOpenDialog::TOpenDialog;

protected:
    bool IsSave() const override { return true; }
};

ZELMOR_ENUM(TColorDialogOption, cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor)
using TColorDialogOptions = TSet<TColorDialogOption>;

// Chooses a colour. CustomColors holds "ColorA=FFFFFF" ... "ColorP=..." (the colours in hex), which the
// dialog shows and may change.
class TColorDialog : public TCommonDialog {
    DECLARE_CLASS(TColorDialog, TCommonDialog)

public:
    explicit TColorDialog(TComponent* owner);
    ~TColorDialog() override;
    bool Execute() override;
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TStrings* CustomColors() const { return FCustomColors.get(); }
    void SetCustomColors(TStrings* value) { FCustomColors->Assign(value); }
    TColorDialogOptions Options() const { return FOptions; }
    void SetOptions(TColorDialogOptions value) { FOptions = value; }

private:
    TColor FColor = clBlack;
    std::unique_ptr<TStringList> FCustomColors;
    TColorDialogOptions FOptions;
};

// Chooses a font: its face, size, styles and colour.
class TFontDialog : public TCommonDialog {
    DECLARE_CLASS(TFontDialog, TCommonDialog)

public:
    explicit TFontDialog(TComponent* owner);
    ~TFontDialog() override;
    bool Execute() override;
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }

private:
    std::unique_ptr<TFont> FFont;
};

ZELMOR_ENUM(TPrintRange, prAllPages, prSelection, prPageNums)

// Chooses the printer to print on (it becomes Printer()'s current one), the copies and the pages.
class TPrintDialog : public TCommonDialog {
    DECLARE_CLASS(TPrintDialog, TCommonDialog)

public:
    explicit TPrintDialog(TComponent* owner);
    bool Execute() override;
    bool Collate() const { return FCollate; }
    void SetCollate(bool value) { FCollate = value; }
    Integer Copies() const { return FCopies; }
    void SetCopies(Integer value) { FCopies = value; }
    Integer FromPage() const { return FFromPage; }
    void SetFromPage(Integer value) { FFromPage = value; }
    Integer ToPage() const { return FToPage; }
    void SetToPage(Integer value) { FToPage = value; }
    Integer MinPage() const { return FMinPage; }
    void SetMinPage(Integer value) { FMinPage = value; }
    Integer MaxPage() const { return FMaxPage; }
    void SetMaxPage(Integer value) { FMaxPage = value; }
    TPrintRange PrintRange() const { return FPrintRange; }
    void SetPrintRange(TPrintRange value) { FPrintRange = value; }

private:
    bool FCollate = false;
    Integer FCopies = 0;
    Integer FFromPage = 0;
    Integer FToPage = 0;
    Integer FMinPage = 0;
    Integer FMaxPage = 0;
    TPrintRange FPrintRange = prAllPages;
};

// Chooses the printer (it becomes Printer()'s current one).
class TPrinterSetupDialog : public TCommonDialog {
    DECLARE_CLASS(TPrinterSetupDialog, TCommonDialog)

public:
    using TCommonDialog::TCommonDialog;
    bool Execute() override;
};

// Lets the user choose a folder under root (everywhere when empty), starting at directory; directory
// holds the choice when the answer is true.
bool SelectDirectory(const String& caption, const String& root, String& directory);
