// TApplication: the program's message loop, its forms in creation order, the handling of exceptions that
// reach the loop, idle processing and the application-wide hint settings. One instance, Application,
// exists for the life of the program.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Idents.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/dialogs.h"

class TControl;
class TForm;
class THintWindow;

// What CM_HINTSHOW hands the control under the mouse (LParam points to it) and OnShowHint may change
// before the hint is shown. Positions are screen coordinates.
struct THintInfo {
    TControl* HintControl = nullptr;
    TClass HintWindowClass = nullptr;
    TPoint HintPos; // the top left corner of the hint window
    Integer HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect; // moving the mouse inside it keeps the hint
    TPoint CursorPos; // in the control's client coordinates
    Integer ReshowTimeout = 0;
    Integer HideTimeout = 0;
    String HintStr;
    void* HintData = nullptr;
};

using TShowHintEvent = std::function<void(String& hintStr, bool& canShow, THintInfo& hintInfo)>;
using TExceptionEvent = std::function<void(TObject* sender, Exception& e)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;

class TApplication : public TComponent {
    DECLARE_CLASS(TApplication, TComponent)

public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Creates a component of instanceClass owned by the application and stores it in reference (once it
    // is whole: its OnCreate cannot reach it through reference). The first form created becomes the
    // main form. An exception of the creation propagates, with reference left null.
    template <class T> void CreateForm(TClass instanceClass, T*& reference) {
        reference = nullptr;
        reference = static_cast<T*>(DoCreateForm(instanceClass));
    }
    // Shows the main form (unless ShowMainForm is off) and serves messages until Terminated; an
    // exception that reaches the loop goes to HandleException and the loop goes on. Without a main
    // form it returns at once, as the framework does.
    void Run();
    // Serves every message waiting, then returns (does not wait).
    void ProcessMessages();
    // Serves one message, or runs the idle processing and waits for one when none is there.
    void HandleMessage();
    // Asks the loop to end: posts WM_QUIT. Terminated turns true when the loop reads it.
    void Terminate();
    bool Terminated() const { return FTerminated; }

    // An exception reaching the application (call inside a catch block): EAbort is dropped silently,
    // the others go to OnException or, without it, to ShowException.
    void HandleException(TObject* sender);
    // Shows e's message in an error box under Title; a message not ending in a full stop or other
    // punctuation gets a full stop.
    void ShowException(const Exception& e);
    // MessageBox owned by the active window, with the title as the default caption.
    Integer MessageBox(const String& text, const String& caption, LongInt flags = MB_OK);

    // The first form CreateForm made; null once it is freed.
    TForm* MainForm() const { return FMainForm; }
    // Defaults to the program's file name without its extension.
    String Title() const;
    void SetTitle(const String& value) { FTitle = value; }
    // Whether Run shows the main form.
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    // The hidden window of the application (parent of the program's top-level windows in the framework).
    HWND Handle();
    bool IsLibrary() const { return false; }
    bool Running() const { return FRunning; }

    // Hint settings. Pauses are in milliseconds.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value) { FShowHint = value; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }
    Integer HintPause() const { return FHintPause; }
    void SetHintPause(Integer value) { FHintPause = value; }
    Integer HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(Integer value) { FHintShortPause = value; }
    Integer HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(Integer value) { FHintHidePause = value; }
    // The class of the hint window, THintWindow or a class derived from it.
    TClass HintWindowClass() const;
    void SetHintWindowClass(TClass value) { FHintWindowClass = value; }
    // The status-bar hint of the control under the mouse (set while idle); a change fires OnHint.
    const String& Hint() const { return FHint; }
    void SetHint(const String& value);
    // Where a changed hint goes when OnHint is not assigned: status bars with AutoHint register here,
    // and the most recently registered one that takes the hint (answers true) shows it.
    using THintReceiver = std::function<bool(const String& hint)>;
    void AddHintReceiver(TObject* receiver, THintReceiver show);
    void RemoveHintReceiver(TObject* receiver);

    // The mouse moved over control to pos (screen): the hint of the control (or of the nearest parent
    // with ShowHint) comes up after HintPause, or HintShortPause while another hint is up, and goes
    // away after HintHidePause. The loop calls it for each mouse move it serves.
    void HintMouseMessage(TControl* control, const TPoint& pos);
    // Shows the hint of the control under the mouse now (when the control agrees through CM_HINTSHOW
    // and OnShowHint).
    void ActivateHint(const TPoint& cursorPos);
    // Takes the hint away and forgets its control.
    void CancelHint();

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TMessageEvent OnMessage;
    TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* DoCreateForm(TClass instanceClass);
    // Takes one message from the queue and serves it; false when none was there.
    bool ProcessMessage(MSG& msg);
    void Idle(const MSG& msg);
    // Sets Hint from the control under the mouse.
    void DoMouseIdle();
    void HideHint();
    void StartHintTimer(Integer pause, bool showing);
    void StopHintTimer();
    void HintTimerExpired();
    void SetHintControl(TControl* control);
    static LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    TForm* FMainForm = nullptr;
    String FTitle;
    bool FTerminated = false;
    bool FRunning = false;
    bool FShowMainForm = true;
    HWND FHandle = nullptr;
    bool FShowHint = true;
    TColor FHintColor = clInfoBk;
    Integer FHintPause = 500;
    Integer FHintShortPause = 50;
    Integer FHintHidePause = 2500;
    TClass FHintWindowClass = nullptr; // null: THintWindow
    String FHint;
    std::vector<std::pair<TObject*, THintReceiver>> FHintReceivers;
    TControl* FHintControl = nullptr; // the control whose hint is pending or up
    THintWindow* FHintWindow = nullptr;
    bool FHintActive = false;    // the hint window is up
    bool FHintTimerShows = true; // the running hint timer shows (else hides) the hint
    bool FHintTimerRunning = false;
    TRect FHintCursorRect;
};

// The part of a hint before "|" (the tooltip) and after it (the status-bar text); without a "|" both
// are the whole hint.
String GetShortHint(const String& hint);
String GetLongHint(const String& hint);

// The program's application object, made at start-up.
extern TApplication* Application;
