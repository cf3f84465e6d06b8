// Forms (top-level windows built from their embedded descriptions), the screen, and the hint window.
#pragma once

#include <vector>

#include "platform/framework/Controls.h"
#include "platform/framework/StdScroll.h" // TScrollBarKind

ZELMOR_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
ZELMOR_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
            poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
ZELMOR_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
ZELMOR_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
ZELMOR_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TShortCutEvent = std::function<void(TWMKey& Msg, bool& Handled)>;

// ---- Forms ----
class TCustomForm : public TWinControl {
    DECLARE_CLASS(TCustomForm, TWinControl)

public:
    // A form of a class derived from TForm reads its description when construction is complete
    // (EResNotFound "Resource %s not found" when there is none).
    explicit TCustomForm(TComponent* owner);
    // CreateNew: a form that reads no description.
    TCustomForm(TComponent* owner, Integer dummy);
    ~TCustomForm() override;
    void AfterConstruction() override;
    void BeforeDestruction() override;

    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form, disables the program's other windows and serves messages until ModalResult is
    // set (Close sets mrCancel); answers ModalResult. Raises EInvalidOperation "Cannot make a visible
    // window modal" for a visible form or one that is already modal.
    TModalResult ShowModal();
    // Asks OnCloseQuery, then OnClose decides: hide, free (later, through Release), minimise or stay.
    // The main form ends the application instead of hiding.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages waiting for it have been served.
    void Release();
    void SetFocus() override;
    bool SetFocusedControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    // Short cuts of the form: OnShortCut decides.
    virtual bool IsShortCut(TMessage& message);

    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    bool Active() const { return FActive; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    Byte AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(Byte value);
    TFormState FormState() const { return FFormState; }
    TCanvas* Canvas() const { return FCanvas.get(); }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }
    Integer PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(Integer value) { FPixelsPerInch = value; }
    bool Scaled() const { return FScaled; }
    void SetScaled(bool value) { FScaled = value; }
    // Client size properties as descriptions write them.
    Integer ClientWidthProp() { return ClientWidth(); }
    Integer ClientHeightProp() { return ClientHeight(); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    TComponent* GetChildOwner() override { return this; }
    void PaintWindow(HDC dc) override;
    virtual void Paint();
    virtual void Activate();
    virtual void Deactivate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoClose(TCloseAction& action);
    void SetWindowFocus();
    void SetActive(bool value);
    void Dispatch(TMessage& message) override;

    virtual void WMActivate(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    virtual void WMClose(TMessage& message);
    virtual void WMSysCommand(TMessage& message);
    // Moves the focus as a dialog does: to the window in wParam when lParam's low word is set, else to
    // the next control in the tab order (the previous one when wParam is not 0).
    virtual void WMNextDlgCtl(TMessage& message);
    virtual void CMActivate(TMessage& message);
    virtual void CMDeactivate(TMessage& message);
    virtual void CMRelease(TMessage& message);
    void CMDialogKey(TMessage& message) override;
    void CMShowingChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void WMPaint(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;

private:
    void SetClientWidthProp(Integer value);
    void SetClientHeightProp(Integer value);
    void ApplyPosition();
    void CloseModal();
    void ApplyAlphaBlend();

    std::unique_ptr<TControlCanvas> FCanvas;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TWinControl* FLastActiveControl = nullptr;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    TFormState FFormState;
    TModalResult FModalResult = mrNone;
    bool FKeyPreview = false;
    bool FActive = false;
    bool FAlphaBlend = false;
    Byte FAlphaBlendValue = 255;
    bool FOldCreateOrder = false;
    bool FCreateNew = false;
    bool FDestroyed = false;
    bool FResizePending = false;      // a size change came while the window was hidden
    Integer FClientWidthPending = -1; // a client size read before the window (and its frame) existed
    Integer FClientHeightPending = -1;
    Integer FPixelsPerInch = 96;
    bool FScaled = true;
};

class TForm : public TCustomForm {
    DECLARE_CLASS(TForm, TCustomForm)

public:
    using TCustomForm::TCustomForm;
};

// ---- Scrolling windows ----
class TScrollingWinControl;

// One scroll bar of a scrolling window: the extent scrolled over (Range) and where the client area
// shows it from (Position), in pixels.
class TControlScrollBar : public TPersistent {
    DECLARE_CLASS(TControlScrollBar, TPersistent)

public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind) : FControl(control), FKind(kind) {}
    void Assign(TPersistent* source) override;

    TScrollBarKind Kind() const { return FKind; }
    // Setting the range turns the window's AutoScroll off.
    Integer Range() const { return FRange; }
    void SetRange(Integer value);
    // Kept between 0 and Range less the client size; moving it moves the window's children.
    Integer Position() const { return FPosition; }
    void SetPosition(Integer value);
    // The step of a click on an arrow.
    Integer Increment() const { return FIncrement; }
    void SetIncrement(Integer value) { FIncrement = value; }
    // Room kept beyond the furthest control when AutoScroll works out the range.
    Integer Margin() const { return FMargin; }
    void SetMargin(Integer value);
    // Whether the bar may show; it shows only while the range is larger than the client area.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Whether dragging the thumb scrolls as it goes (or only where it is let go).
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    bool IsScrollBarVisible() const;
    // The furthest Position can go.
    Integer ScrollRange() const;

private:
    friend class TScrollingWinControl;
    void DoSetRange(Integer value);
    void ScrollMessage(TMessage& message);
    Integer ControlSize() const;

    TScrollingWinControl* FControl;
    TScrollBarKind FKind;
    Integer FRange = 0;
    Integer FPosition = 0;
    Integer FIncrement = 8;
    Integer FMargin = 0;
    bool FVisible = true;
    bool FTracking = false;
};

// A window whose children may reach beyond its client area, shown through two scroll bars.
class TScrollingWinControl : public TWinControl {
    DECLARE_CLASS(TScrollingWinControl, TWinControl)

public:
    explicit TScrollingWinControl(TComponent* owner);
    ~TScrollingWinControl() override;

    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    void SetHorzScrollBar(TControlScrollBar* value) { FHorzScrollBar->Assign(value); }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    void SetVertScrollBar(TControlScrollBar* value) { FVertScrollBar->Assign(value); }
    // With AutoScroll the ranges follow the children: as far as the furthest one reaches, plus Margin;
    // and a control inside that takes the focus is scrolled into view.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    // Scrolls as little as needed to show control (a child or any control inside this window).
    void ScrollInView(TControl* control);
    void DisableAutoRange() { ++FAutoRangeCount; }
    void EnableAutoRange();

protected:
    void CreateWnd() override;
    void CreateParams(TCreateParams& params) override;
    void AlignControls(TControl* control, TRect& rect) override;
    // Children are laid out over the whole scrolled extent, not just the visible part.
    void AdjustClientRect(TRect& rect) override;
    // Scrolls control into view when AutoScroll is on and neither is being loaded or freed.
    virtual void AutoScrollInView(TControl* control);
    void CMFocusChanged(TMessage& message) override;
    void WMScroll(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void Loaded() override;

private:
    friend class TControlScrollBar;
    void CalcAutoRange();
    void UpdateScrollBars();

    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    bool FAutoScroll = true;
    Integer FAutoRangeCount = 0;
    bool FUpdatingScrollBars = false;
};

// A scrolling panel for other controls.
class TScrollBox : public TScrollingWinControl {
    DECLARE_CLASS(TScrollBox, TScrollingWinControl)

public:
    explicit TScrollBox(TComponent* owner);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TBorderStyle FBorderStyle = bsSingle;
};

// A piece of a form with its own description, placed on forms like a panel.
class TCustomFrame : public TScrollingWinControl {
    DECLARE_CLASS(TCustomFrame, TScrollingWinControl)

public:
    // A frame of a class derived from TFrame reads its description when construction is complete
    // (EResNotFound "Resource %s not found" when there is none).
    explicit TCustomFrame(TComponent* owner);
    void AfterConstruction() override;

protected:
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    TComponent* GetChildOwner() override { return this; }
};

class TFrame : public TCustomFrame {
    DECLARE_CLASS(TFrame, TCustomFrame)

public:
    using TCustomFrame::TCustomFrame;
};

// ---- The screen ----
// Which monitor answers for a point on none: the nearest, none at all, or the primary one.
enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

class TMonitor {
public:
    TRect BoundsRect;
    TRect WorkareaRect;
    Integer MonitorNum = 0;
    bool Primary = true;
    Integer Width() const { return BoundsRect.Width(); }
    Integer Height() const { return BoundsRect.Height(); }
};

class TScreen : public TComponent {
    DECLARE_CLASS(TScreen, TComponent)

public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    TWinControl* ActiveControl() const { return FActiveControl; }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    Integer FormCount() const { return static_cast<Integer>(FForms.size()); }
    // The forms in the order they were made.
    TCustomForm* Forms(Integer index) const;
    // Setting a cursor other than crDefault shows it over every window of the program.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // Standard cursors by their negative numbers, the program's own by the numbers it gave them; an
    // unknown number answers the arrow.
    HCURSOR Cursors(Integer index);
    void SetCursors(Integer index, HCURSOR handle);
    Integer PixelsPerInch() const { return 96; }
    Integer Width() const;
    Integer Height() const;
    TRect WorkAreaRect() const;
    Integer MonitorCount() const { return 1; }
    // The monitor showing point; for a point off the screen, as defaultTo says (nullptr for mdNull).
    TMonitor* MonitorFromPoint(const TPoint& point, TMonitorDefaultTo defaultTo = mdNearest);
    TMonitor* Monitors(Integer) { return MonitorFromPoint(TPoint()); }

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    void SetFocusedForm(TCustomForm* form, TWinControl* control);

    std::vector<TCustomForm*> FForms;
    TWinControl* FActiveControl = nullptr;
    TCustomForm* FActiveForm = nullptr;
    TCursor FCursor = crDefault;
    std::vector<std::pair<Integer, HCURSOR>> FCursors;
    TMonitor FMonitor;
};

// Registers the framework's standard classes (TForm, TPanel, TEdit ...) for form descriptions; done
// once, when the framework starts, and again harmlessly by the first form or frame made.
void RegisterFrameworkClasses();

// The program's screen object (made on first use).
TScreen* Screen();

// ---- The hint window ----
// A borderless, top-most pop-up that shows a hint text in the info colours.
class THintWindow : public TCustomControl {
    DECLARE_CLASS(THintWindow, TCustomControl)

public:
    explicit THintWindow(TComponent* owner);
    // Shows the hint at rect (screen coordinates), kept on the screen.
    virtual void ActivateHint(TRect rect, const String& hint);
    virtual void ActivateHintData(TRect rect, const String& hint, void* data) { ActivateHint(rect, hint); }
    // The size the hint needs for the text, wrapped at maxWidth, as a rect at (0, 0).
    virtual TRect CalcHintRect(Integer maxWidth, const String& hint, void* data);
    // Hides the window and frees its handle.
    void ReleaseHandle();
    // Whether a message should take the hint away (keys, clicks, activation).
    virtual bool IsHintMsg(const MSG& msg);
    // Whether the window is up.
    bool Active() const { return FActive; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void Dispatch(TMessage& message) override;

private:
    bool FActive = false;
};
