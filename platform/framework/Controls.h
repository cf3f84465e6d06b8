// The framework's controls: TControl (bounds, alignment, visibility, fonts and colours, mouse and drag),
// TWinControl (a window of the window manager, children, focus and key routing), TGraphicControl
// (painted by its parent) and TCustomControl (a window with a canvas).
//
// Contents: enumerations and events - TSizeConstraints - TControlCanvas - TControl - TWinControl -
// TGraphicControl and TCustomControl - drag objects - helpers.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/ActnList.h"
#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Idents.h"
#include "platform/framework/Messages.h"

class TControl;
class TWinControl;
class TCustomForm;
LRESULT ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Enumerations and events ----
ZELMOR_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
using TAlignSet = TSet<TAlign>;
ZELMOR_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using TAnchors = TSet<TAnchorKind>;
ZELMOR_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
ZELMOR_ENUM(TDragMode, dmManual, dmAutomatic)
ZELMOR_ENUM(TDragKind, dkDrag, dkDock)
ZELMOR_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
ZELMOR_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateItem>;
ZELMOR_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
// Controls other than forms use the first two values.
using TBorderStyle = TFormBorderStyle;
ZELMOR_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)
ZELMOR_ENUM(TMouseActivate, maDefault, maActivate, maActivateAndEat, maNoActivate, maNoActivateAndEat)

enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = TSet<TControlStateItem>;

enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

using TModalResult = Integer;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

// Short cuts: a virtual key with these modifier bits.
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

using TWndMethod = std::function<void(TMessage& message)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, Char& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
class TDragObject;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    std::function<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The modifier keys and buttons of a key message's lParam (Alt) and the keyboard state (Shift, Ctrl).
TShiftState KeyDataToShiftState(LONG keyData);
// The modifier keys and buttons of a mouse message's MK_ flags (Alt from the keyboard state).
TShiftState KeysToShiftState(UINT keys);
TShortCut ShortCut(Word key, TShiftState shift);

// ---- Size limits of a control ----
class TSizeConstraints : public TPersistent {
    DECLARE_CLASS(TSizeConstraints, TPersistent)

public:
    explicit TSizeConstraints(TControl* control) : FControl(control) {}
    void Assign(TPersistent* source) override;

    // 0 means no limit. A maximum below the minimum raises the minimum's partner to match.
    Integer MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(Integer value);
    Integer MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(Integer value);
    Integer MinHeight() const { return FMinHeight; }
    void SetMinHeight(Integer value);
    Integer MinWidth() const { return FMinWidth; }
    void SetMinWidth(Integer value);

    TNotifyEvent OnChange;

private:
    void Change();

    TControl* FControl;
    Integer FMaxHeight = 0;
    Integer FMaxWidth = 0;
    Integer FMinHeight = 0;
    Integer FMinWidth = 0;
};

// ---- A canvas on a control's client area ----
// Without a handle given by a paint handler it takes a DC of the control's window (of the parent's,
// clipped and moved to the control, for a graphic control) on first use; FreeHandle gives it back.
class TControlCanvas : public TCanvas {
    DECLARE_CLASS(TControlCanvas, TCanvas)

public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    void SetControl(TControl* control);
    void FreeHandle();
    void UpdateTextFlags();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

// ---- TControl ----
class TDragImageList;
class TControlActionLink;
class TControl : public TComponent {
    DECLARE_CLASS(TControl, TComponent)
    friend class TWinControl;
    friend class TControlCanvas;
    friend class TBaseDragControlObject;

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    void BeforeDestruction() override;

    // -- Parent and position --
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    Integer Left() const { return FLeft; }
    void SetLeft(Integer value) { SetBounds(value, FTop, FWidth, FHeight); }
    Integer Top() const { return FTop; }
    void SetTop(Integer value) { SetBounds(FLeft, value, FWidth, FHeight); }
    Integer Width() const { return FWidth; }
    void SetWidth(Integer value) { SetBounds(FLeft, FTop, value, FHeight); }
    Integer Height() const { return FHeight; }
    void SetHeight(Integer value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Constrains the size, moves the window (or invalidates the parent's area of a graphic control)
    // and realigns the parent.
    virtual void SetBounds(Integer left, Integer top, Integer width, Integer height);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& rect) { SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); }
    virtual TRect ClientRect();
    Integer ClientWidth() { return ClientRect().Right; }
    void SetClientWidth(Integer value);
    Integer ClientHeight() { return ClientRect().Bottom; }
    void SetClientHeight(Integer value);
    // The screen position of the client area's top-left corner. Raises EInvalidOperation "Control '%s'
    // has no parent window" for a control without a window or a parent.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(const TPoint& point);
    TPoint ScreenToClient(const TPoint& point);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* value) { FConstraints->Assign(value); }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool value);

    // -- State --
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Visible here and in every parent up to a shown form.
    bool IsVisible();
    virtual bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value) { FFont->Assign(value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    // Caption and Text are one value, kept in the window when there is one.
    String Caption() const { return GetText(); }
    void SetCaption(const String& value) { SetText(value); }
    String Text() const { return GetText(); }
    void SetText(const String& value);
    TComponent* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;
    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode value) { FDragMode = value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor value) { FDragCursor = value; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind value) { FDragKind = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    bool MouseCapture();
    void SetMouseCapture(bool value);

    // -- Painting and order --
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();
    void Show();
    void Hide();

    // -- Action --
    // The action the control executes when clicked without an OnClick of its own, and whose caption
    // and enabled state it follows. Null for none; the control forgets an action that is freed.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);

    // -- Messages --
    // Sends a message to the control's WindowProc and answers its Result.
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    // The handler messages go to first; WndProc by default. Replace it to subclass a control.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& message);
    // Turns a message into a call of its handler; unhandled messages go to DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;

    // -- Mouse, keys and drag --
    void Click() { DoClick(); }
    // Starts dragging the control: at once, or once the mouse has moved threshold pixels (a negative
    // threshold takes Mouse()->DragThreshold()). A drag already running is left alone. A form raises
    // EInvalidOperation "Cannot drag a form".
    void BeginDrag(bool immediate, Integer threshold = -1);
    void EndDrag(bool drop);
    bool Dragging() const;
    // The images shown under the cursor while the control is dragged (csDisplayDragImage).
    virtual TDragImageList* GetDragImages() { return nullptr; }
    void DragDrop(TObject* source, int x, int y);
    virtual void DefaultDragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    // Asks the control whether it takes source at (x, y); OnDragOver decides, refusing without it.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    // Tells the dragged control where its drag ended (target null when nothing took it).
    virtual void DoEndDrag(TObject* target, int x, int y);

    // -- Events --
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TConstrainedResizeEvent OnConstrainedResize;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;
    TContextPopupEvent OnContextPopup;

protected:
    void SetParentComponent(TComponent* parent) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ReadState(TReader* reader) override;
    virtual String GetText() const;
    virtual void SetTextBuf(const String& value);
    virtual void Changed();
    virtual void Resize();
    virtual void DoClick();
    virtual void DblClick();
    // Takes the action's values: always, or with checkDefaults only where the control still has its
    // defaults (an empty caption, enabled).
    virtual void ActionChange(TObject* sender, bool checkDefaults);
    // The class of the link SetAction makes: TControlActionLink or a descendant.
    virtual TClass GetActionLinkClass();
    TControlActionLink* ActionLink() const { return FActionLink.get(); }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
    virtual void DoStartDrag(TDragObject*& dragObject);
    // Fires OnContextPopup; mousePos is in client coordinates, (-1, -1) from the keyboard.
    virtual void DoContextPopup(TPoint mousePos, bool& handled);
    virtual void BeginAutoDrag();
    // Told when a drag of this control ended without an accepted drop.
    virtual void DragCanceled() {}
    virtual bool CanResize(int& newWidth, int& newHeight);
    virtual bool CanAutoSize(int& newWidth, int& newHeight);
    virtual void ConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight);
    virtual void AdjustSize();
    void DoConstrainedResize(int& newWidth, int& newHeight);
    void UpdateAnchorRules();
    void RequestAlign();
    virtual void SetZOrder(bool topMost);
    // Scales the bounds (edges, so that neighbours stay neighbours) and an own font by m / d.
    virtual void ChangeScale(Integer m, Integer d);
    bool CheckNewSize(Integer& width, Integer& height);
    bool IsColorStored() const;
    bool IsFontStored() const;
    virtual void VisibleChanging() {}
    void InvalidateControl(bool isVisible, bool isOpaque);
    TColor ParentColorValue() const;

    // Message handlers, one per message (see Dispatch).
    virtual void WMLButtonDown(TMessage& message);
    virtual void WMLButtonDblClk(TMessage& message);
    virtual void WMLButtonUp(TMessage& message);
    virtual void WMRButtonDown(TMessage& message);
    virtual void WMRButtonUp(TMessage& message);
    virtual void WMMButtonDown(TMessage& message);
    virtual void WMMButtonUp(TMessage& message);
    virtual void WMMouseMove(TMessage& message);
    virtual void WMMouseWheel(TMessage& message);
    virtual void WMCancelMode(TMessage& message);
    // A context-menu request (at a screen point, or (-1, -1) from the keyboard): OnContextPopup may take
    // it, else the control's PopupMenu pops up when it has AutoPopup; unanswered (Result 0), the request
    // goes on to the parent.
    virtual void WMContextMenu(TMessage& message);
    virtual void WMWindowPosChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMParentCtl3DChanged(TMessage& message);
    virtual void CMParentShowHintChanged(TMessage& message);
    virtual void CMParentBiDiModeChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message) {}
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMMouseWheel(TMessage& message);
    virtual void CMHintShow(TMessage& message) {}
    virtual void CMHitTest(TMessage& message) { message.Result = HTCLIENT; }
    virtual void CMDrag(TMessage& message);

    TWinControl* FParent = nullptr;
    Integer FLeft = 0;
    Integer FTop = 0;
    Integer FWidth = 0;
    Integer FHeight = 0;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    bool FVisible = true;
    bool FEnabled = true;
    bool FMouseInControl = false;
    Integer FWheelAccumulator = 0;
    String FText;
    std::unique_ptr<TFont> FFont;

private:
    void FontChanged(TObject* sender);
    void DoMouseDown(TMessage& message, TMouseButton button, TShiftState shift);
    void DoMouseUp(TMessage& message, TMouseButton button);
    void UpdateBoundsRect(const TRect& rect);
    // Takes a control about to go away out of the mouse's state: a drag target is forgotten, and so is
    // a capture it held through its parent. Its own drag is cancelled, or, once its virtuals no
    // longer work (destroying), dropped without telling anyone.
    void ForgetMouse(bool destroying);

    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TPoint FAnchorRules;        // the distances kept for akRight/akBottom anchors
    TPoint FOriginalParentSize; // the parent's client size when the anchor rules were taken
    std::unique_ptr<TSizeConstraints> FConstraints;
    std::unique_ptr<TControlActionLink> FActionLink;
    bool FAutoSize = false;
    TColor FColor = clWindow;
    bool FParentColor = true;
    bool FParentFont = true;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    TCursor FCursor = crDefault;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TComponent* FPopupMenu = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    TDragKind FDragKind = dkDrag;
};

// ---- The link of a control to its action ----
// Hands a new caption or enabled state on while the control still shows the action's old one.
class TControlActionLink : public TActionLink {
    DECLARE_CLASS(TControlActionLink, TActionLink)

public:
    void AssignClient(TObject* client) override;
    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    void SetCaption(const String& value) override;
    void SetEnabled(bool value) override;

protected:
    TControl* FClient = nullptr;
};

// ---- The parameters of a window about to be created ----
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSW WindowClass{};
    String WinClassName;
};

// ---- TWinControl ----
class TWinControl : public TControl {
    DECLARE_CLASS(TWinControl, TControl)
    friend class TControl;

public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    // The window, created on first use (raises EInvalidOperation "Control '%s' has no parent window"
    // when a child has no parent).
    HWND Handle();
    HWND WindowHandle() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // A window to create this control's top-level window inside, for controls without a parent.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND value);

    // -- Children --
    Integer ControlCount() const { return static_cast<Integer>(FControls.size() + FWinControls.size()); }
    // Graphic controls first, then windowed ones, each in z-order from the back.
    TControl* Controls(Integer index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    // The topmost visible child at a client point: graphic children, and windowed ones too with
    // allWinControls; disabled children count only with allowDisabled. Null when none is there.
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled, bool allWinControls = false);
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    void Realign();
    void ReAlign() { Realign(); }
    // Scales the control's size, and its children's bounds and fonts, by m / d; the control stays where
    // it is.
    void ScaleBy(Integer m, Integer d);
    // Moves every child by (deltaX, deltaY), as scrolling the client area does.
    void ScrollBy(Integer deltaX, Integer deltaY);

    // -- Focus and tab order --
    Integer TabOrder() const;
    void SetTabOrder(Integer value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    void GetTabOrderList(std::vector<TWinControl*>& list);
    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();
    TWinControl* FindNextControl(TWinControl* curControl, bool goForward, bool checkTabStop,
                                 bool checkParent);
    void SelectNext(TWinControl* curControl, bool goForward, bool checkTabStop);
    void SelectFirst();

    Integer BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(Integer value);
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);
    TBrush* Brush() const { return FBrush.get(); }

    void SetBounds(Integer left, Integer top, Integer width, Integer height) override;
    TRect ClientRect() override;
    // The screen position of the window's client area.
    TPoint ClientOrigin() override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Paints the control and its children into dc with the control's top-left corner at (x, y).
    void PaintTo(HDC dc, int x, int y);
    void DefaultHandler(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void WndProc(TMessage& message) override;
    void RecreateWnd();
    void UpdateControlState();
    bool Showing() const { return FShowing; }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // The control of a window of ours, or null.
    static TWinControl* FindControl(HWND hwnd);

protected:
    friend class TCustomForm;
    friend LRESULT ControlWindowProc(HWND, UINT, WPARAM, LPARAM);

    virtual void CreateParams(TCreateParams& params);
    // PaintTo's last step: the visible child windows, each at its place, over what this control has just
    // painted into dc.
    virtual void PaintChildrenTo(HDC dc);
    // Makes the window of a control that subclasses a standard window class (EDIT, BUTTON ...): the
    // messages it does not handle go to that class's procedure.
    void CreateSubClass(TCreateParams& params, const Char* controlClassName);
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateHandle();
    virtual void DestroyWindowHandle();
    virtual void DestroyWnd();
    virtual void DestroyHandle();
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect);
    void ChangeScale(Integer m, Integer d) override;
    void ScaleControls(Integer m, Integer d);
    virtual void CustomAlignPosition(TControl*, int&, int&, int&, int&, TRect&) {}
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    virtual void PaintWindow(HDC dc);
    void PaintHandler(TMessage& message);
    void PaintControls(HDC dc, TControl* first);
    void SetZOrder(bool topMost) override;
    void UpdateShowing();
    void UpdateBounds();
    virtual void DoEnter();
    virtual void DoExit();
    virtual bool DoKeyDown(TMessage& message);
    virtual bool DoKeyPress(TMessage& message);
    virtual bool DoKeyUp(TMessage& message);
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyPress(Char& key);
    virtual void KeyUp(Word& key, TShiftState shift);
    // Whether a key is a short cut of a popup menu or of the form (the key then goes no further).
    virtual bool IsMenuKey(TMessage& message);
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, Integer order) override;
    void ReadState(TReader* reader) override;
    void Loaded() override;
    void SetTextBuf(const String& value) override;
    String GetText() const override;

    virtual void WMPaint(TMessage& message);
    virtual void WMEraseBkgnd(TMessage& message);
    virtual void WMSize(TMessage& message);
    virtual void WMMove(TMessage& message);
    virtual void WMSetFocus(TMessage& message);
    virtual void WMKillFocus(TMessage& message);
    virtual void WMKeyDown(TMessage& message);
    virtual void WMSysKeyDown(TMessage& message);
    virtual void WMKeyUp(TMessage& message);
    virtual void WMSysKeyUp(TMessage& message);
    virtual void WMChar(TMessage& message);
    virtual void WMSetCursor(TMessage& message);
    virtual void WMCommand(TMessage& message);
    virtual void WMNotify(TMessage& message);
    virtual void WMDrawItem(TMessage& message);
    virtual void WMMeasureItem(TMessage& message);
    virtual void WMScroll(TMessage& message);
    virtual void WMNCDestroy(TMessage& message);
    // The graphic child under the point is asked first.
    void WMContextMenu(TMessage& message) override;
    virtual void WMMouseLeave(TMessage& message);
    // Losing the mouse to another window ends a drag of this control (or of a graphic child).
    virtual void WMCaptureChanged(TMessage& message);
    // Hands a mouse message over a graphic child (or to the graphic child with the capture) to it.
    bool IsControlMouseMsg(TMessage& message);
    virtual void CNKeyDown(TMessage& message);
    virtual void CNKeyUp(TMessage& message);
    virtual void CNChar(TMessage& message);
    virtual void CNSysKeyDown(TMessage& message);
    virtual void CNSysChar(TMessage& message);
    virtual void CMDialogKey(TMessage& message) { Broadcast(message); }
    virtual void CMDialogChar(TMessage& message) { Broadcast(message); }
    virtual void CMWantSpecialKey(TMessage&) {}
    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);
    virtual void CMFocusChanged(TMessage& message) { Broadcast(message); }
    virtual void CMShowingChanged(TMessage& message);
    virtual void CMCtl3DChanged(TMessage& message);
    virtual void CMSysColorChange(TMessage& message) { Broadcast(message); }
    virtual void CMStyleChanged(TMessage& message) { Broadcast(message); }
    virtual void CMRecreateWnd(TMessage& message);
    virtual void CMInvalidate(TMessage& message);
    virtual void CMChildKey(TMessage&) {}
    void CMColorChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;

    std::unique_ptr<TBrush> FBrush;
    WNDPROC FDefWndProc = nullptr;
    bool FShowing = false;

private:
    void RemoveFocus(bool removing);
    void Insert(TControl* control);
    void Remove(TControl* control);
    void AlignControl(TControl* control);
    void DoAlign(TAlign align, TRect& rect, TControl* control);
    void DoAnchors(TRect& rect);
    void UpdateTabOrder(Integer value);
    void RegisterWindowClass(TCreateParams& params);

    void TrackMouse(TControl* over);

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    TControl* FMouseControl = nullptr;      // this window or the graphic child under the mouse
    std::vector<TControl*> FControls;       // graphic children, from the back
    std::vector<TWinControl*> FWinControls; // windowed children, from the back
    std::vector<TWinControl*> FTabList;     // windowed children in tab order
    Integer FAlignLevel = 0;
    Integer FBorderWidth = 0;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    Integer FTabOrderPending = -1; // a tab order read before the control had a parent
};

// ---- Controls painted by their parent, and windows with a canvas ----
class TGraphicControl : public TControl {
    DECLARE_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& message) override;
    virtual void WMPaint(TMessage& message);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

class TCustomControl : public TWinControl {
    DECLARE_CLASS(TCustomControl, TWinControl)

public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    void WMPaint(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

// ---- Drag inside the process ----
class TDragImageList;

// The object a drag carries. Its position fields follow the mouse while the drag runs.
class TDragObject : public TObject {
public:
    TDragObject() = default;
    TPoint DragPos() const { return FDragPos; }
    // The control under the mouse (null over nothing) and the mouse in its client coordinates.
    TControl* DragTarget() const { return FDragTarget; }
    TPoint DragTargetPos() const { return FDragTargetPos; }
    // Set while the drag is being finished, and whether it ended in a drop.
    bool Cancelling() const { return FCancelling; }
    bool Dropped() const { return FDropped; }
    // The cursor over a target: crDrag when it accepts, crNoDrop when not.
    virtual TCursor GetDragCursor(bool accepted, int x, int y);
    // The images shown under the cursor while dragging; none by default.
    virtual TDragImageList* GetDragImages() { return nullptr; }
    void ShowDragImage();
    void HideDragImage();
    // Called once when the drag ends: target is null unless the drop was accepted.
    virtual void Finished(TObject* target, int x, int y, bool accepted) {}

private:
    friend class TControl;
    friend struct DragRunner;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    TPoint FDragTargetPos;
    bool FCancelling = false;
    bool FDropped = false;
};

// A drag whose source is a control: the control hears how it ended (DoEndDrag).
class TBaseDragControlObject : public TDragObject {
public:
    explicit TBaseDragControlObject(TControl* control) : FControl(control) {}
    TControl* Control() const { return FControl; }
    void SetControl(TControl* control) { FControl = control; }
    void Finished(TObject* target, int x, int y, bool accepted) override;

protected:
    virtual void EndDrag(TObject* target, int x, int y);

private:
    TControl* FControl;
};

// The drag object a control makes for itself when OnStartDrag gives none: the control's drag cursor
// and drag images.
class TDragControlObject : public TBaseDragControlObject {
public:
    using TBaseDragControlObject::TBaseDragControlObject;
    TCursor GetDragCursor(bool accepted, int x, int y) override;
    TDragImageList* GetDragImages() override;
};

// The same, freed by the drag when it ends.
class TDragControlObjectEx : public TDragControlObject {
public:
    using TDragControlObject::TDragControlObject;
};

// How the mouse starts drags: at once (DragImmediate) or once it has moved DragThreshold pixels.
class TMouse {
public:
    bool DragImmediate() const { return FDragImmediate; }
    void SetDragImmediate(bool value) { FDragImmediate = value; }
    Integer DragThreshold() const { return FDragThreshold; }
    void SetDragThreshold(Integer value) { FDragThreshold = value; }
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& value);

private:
    bool FDragImmediate = true;
    Integer FDragThreshold = 5;
};

TMouse* Mouse();

// The drag in progress, or null.
TDragObject* DragObject();
// Moves a drag in progress to a screen point: the control there hears dsDragEnter, dsDragMove or
// dsDragLeave, and the cursor shows whether it accepts. Before the mouse has passed the threshold of a
// drag that did not start at once, nothing happens.
void DragTo(const TPoint& pos);
// Ends the drag in progress with nothing dropped (as Escape does).
void CancelDrag();

// ---- Helpers ----
// The form (or top-most parent that is a form) that holds control; null when none.
TCustomForm* GetParentForm(TControl* control, bool topForm = true);
// The control of a window of ours, or null (FindControl), and the deepest control at a screen point.
TWinControl* FindControl(HWND hwnd);
TControl* FindDragTarget(const TPoint& pos, bool allowDisabled);
// The control that holds the mouse capture (a graphic control through its parent), or null.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

// The key routing of the message loop: a key message goes to its control as CN_KEYDOWN, CN_CHAR ...
// first; answers true when that control (or its form's short cuts and dialog keys) used it up, and the
// message is then not dispatched. TApplication's loop and modal loops call it.
bool IsKeyMsg(MSG& msg);
