// TApplication: the message loop, CreateForm, exception and idle handling, hint settings.
#include "platform/framework/Application.h"

#include "platform/framework/Forms.h"
#include "platform/framework/Thread.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Trace.h"
#include "platform/rtl/UString.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/winerror.h"

DEFINE_CLASS(TApplication, PROPERTY(Title), PROPERTY(ShowHint).Default(true),
             PROPERTY(HintPause).Default(500), PROPERTY(HintShortPause).Default(50),
             PROPERTY(HintHidePause).Default(2500))

TApplication* Application = nullptr;

namespace {

const Trace::Channel TraceApp("app");
constexpr const Char* AppWindowClass = u"TApplication";
constexpr UINT_PTR HintTimerId = 1;

// The control whose hint shows for control: itself or the nearest parent with ShowHint.
TControl* GetHintControl(TControl* control) {
    while (control && !control->ShowHint())
        control = control->Parent();
    if (control && control->ComponentState().Contains(csDesigning))
        return nullptr;
    return control;
}

// The screen position of control's client origin, through the windows of its nearest windowed parent.
TPoint ScreenOrigin(TControl* control) {
    if (auto* winControl = dynamic_cast<TWinControl*>(control); winControl && winControl->HandleAllocated()) {
        POINT origin{0, 0};
        ClientToScreen(winControl->Handle(), &origin);
        return TPoint(origin.x, origin.y);
    }
    if (!control->Parent())
        return TPoint(control->Left(), control->Top());
    TPoint parent = ScreenOrigin(control->Parent());
    return TPoint(parent.X + control->Left(), parent.Y + control->Top());
}

bool PointInRect(const TRect& rect, const TPoint& point) {
    return point.X >= rect.Left && point.X < rect.Right && point.Y >= rect.Top && point.Y < rect.Bottom;
}

// The hint of control, or of the nearest parent that has one.
String GetHint(TControl* control) {
    while (control) {
        if (!control->Hint().empty())
            return control->Hint();
        control = control->Parent();
    }
    return String();
}

// The application object lives as long as the program. Exceptions that reach the platform from places
// without a caller (the thread hand-over window, timers) go to it.
struct ApplicationInstance {
    ApplicationInstance() {
        Application = new TApplication(nullptr);
        SetApplicationHandleException([](TObject* sender) {
            if (Application)
                Application->HandleException(sender);
            else
                ZERROR(TraceApp, "an exception reached the program after its application object was freed");
        });
    }
};
ApplicationInstance gApplicationInstance;

} // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
    if (FHintWindow)
        FHintWindow->Free();
    if (FHandle)
        DestroyWindow(FHandle);
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize() {}

TComponent* TApplication::DoCreateForm(TClass instanceClass) {
    TComponent* instance = instanceClass->CreateComponent(this);
    // The application owns its forms, so it hears of their removal through Notification.
    if (!FMainForm)
        FMainForm = dynamic_cast<TForm*>(instance);
    return instance;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FMainForm)
        FMainForm = nullptr;
    if (component == FHintControl) {
        HideHint();
        StopHintTimer();
        FHintControl = nullptr;
    }
    if (component == FHintWindow) {
        FHintWindow = nullptr;
        FHintActive = false;
    }
}

String TApplication::Title() const {
    if (!FTitle.empty())
        return FTitle;
    Char path[1024] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return ChangeFileExt(ExtractFileName(String(path, length)), String());
}

TClass TApplication::HintWindowClass() const {
    return FHintWindowClass ? FHintWindowClass : THintWindow::StaticClass();
}

HWND TApplication::Handle() {
    if (!FHandle) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WndProc;
        windowClass.lpszClassName = AppWindowClass;
        RegisterClassW(&windowClass);
        FHandle = CreateWindowExW(0, AppWindowClass, Title().c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  nullptr, nullptr);
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return FHandle;
}

LRESULT TApplication::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_TIMER && wParam == HintTimerId && app) {
        try {
            app->HintTimerExpired();
        } catch (...) {
            app->HandleException(app);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void TApplication::Run() {
    FRunning = true;
    if (FMainForm) {
        if (FShowMainForm)
            FMainForm->SetVisible(true);
        while (!FTerminated) {
            try {
                HandleMessage();
            } catch (...) {
                HandleException(this);
            }
        }
    }
    FRunning = false;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool handled = false;
    try {
        if (OnMessage)
            OnMessage(msg, handled);
        if (FHintWindow && FHintActive && FHintWindow->IsHintMsg(msg))
            CancelHint();
        if (!handled && msg.message == WM_MOUSEMOVE) {
            TPoint pos(msg.pt.x, msg.pt.y);
            HintMouseMessage(FindDragTarget(pos, true), pos);
        }
        if (!handled && !IsKeyMsg(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    } catch (...) {
        // An exception of a message handler is shown, and the loop goes on with the next message.
        HandleException(this);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg{};
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg{};
    if (!ProcessMessage(msg))
        Idle(msg);
}

void TApplication::Idle(const MSG&) {
    bool done = true;
    try {
        DoMouseIdle();
        if (OnIdle)
            OnIdle(this, done);
    } catch (...) {
        HandleException(this);
    }
    // Calls handed over by other threads run here as well as through the hand-over window's message.
    try {
        if (CheckSynchronize())
            done = false;
    } catch (...) {
        HandleException(this);
    }
    if (done)
        WaitMessage();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

void TApplication::HandleException(TObject* sender) {
    try {
        throw;
    } catch (EAbort&) {
        // EAbort leaves an operation quietly.
    } catch (Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        Exception wrapped(Utf8ToString(e.what()));
        if (OnException)
            OnException(sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        Exception wrapped(Consts::SExceptionUnknown);
        if (OnException)
            OnException(sender, wrapped);
        else
            ShowException(wrapped);
    }
}

void TApplication::ShowException(const Exception& e) {
    String msg = e.Message();
    // The framework ends the message with a full stop unless it ends in punctuation already.
    if (!msg.empty() && msg.back() > u'.')
        msg += u'.';
    MessageBox(msg, Title(), MB_OK | MB_ICONSTOP);
}

Integer TApplication::MessageBox(const String& text, const String& caption, LongInt flags) {
    String shown = caption.empty() ? Title() : caption;
    return MessageBoxW(GetActiveWindow(), text.c_str(), shown.c_str(), static_cast<UINT>(flags));
}

void TApplication::SetHint(const String& value) {
    if (value == FHint)
        return;
    FHint = value;
    if (OnHint) {
        OnHint(this);
        return;
    }
    // A receiver may unregister while it shows the hint, so the list is copied first.
    auto receivers = FHintReceivers;
    for (auto it = receivers.rbegin(); it != receivers.rend(); ++it)
        if (it->second(FHint))
            return;
}

void TApplication::AddHintReceiver(TObject* receiver, THintReceiver show) {
    RemoveHintReceiver(receiver);
    FHintReceivers.emplace_back(receiver, std::move(show));
}

void TApplication::RemoveHintReceiver(TObject* receiver) {
    std::erase_if(FHintReceivers, [&](const auto& entry) { return entry.first == receiver; });
}

void TApplication::DoMouseIdle() {
    POINT cursor{};
    GetCursorPos(&cursor);
    // A disabled control shows its hint too: it tells why it cannot be used or what it shows.
    TControl* control = FindDragTarget(TPoint(cursor.x, cursor.y), true);
    SetHint(control ? GetLongHint(GetHint(control)) : String());
}

// ---- Hints ----

void TApplication::SetHintControl(TControl* control) {
    if (control == FHintControl)
        return;
    if (FHintControl)
        RemoveFreeNotification(FHintControl);
    FHintControl = control;
    // A control freed while its hint is pending or up is forgotten through Notification.
    if (FHintControl)
        FreeNotification(FHintControl);
}

void TApplication::HintMouseMessage(TControl* control, const TPoint& pos) {
    TControl* hintControl = GetHintControl(control);
    if (!hintControl || !FShowHint) {
        CancelHint();
        return;
    }
    if (hintControl == FHintControl && PointInRect(FHintCursorRect, pos))
        return;
    bool wasActive = FHintActive;
    Integer pause = wasActive ? FHintShortPause : FHintPause;
    hintControl->Perform(CM_HINTSHOWPAUSE, wasActive ? 1 : 0, reinterpret_cast<LPARAM>(&pause));
    HideHint();
    SetHintControl(hintControl);
    // Until the hint is up, moving anywhere over the control keeps the pending one.
    TPoint origin = ScreenOrigin(hintControl);
    FHintCursorRect =
        TRect(origin.X, origin.Y, origin.X + hintControl->Width(), origin.Y + hintControl->Height());
    if (pause <= 0)
        ActivateHint(pos);
    else
        StartHintTimer(pause, true);
}

void TApplication::ActivateHint(const TPoint& cursorPos) {
    StopHintTimer();
    if (!FHintControl || !FShowHint)
        return;
    THintInfo info;
    info.HintControl = FHintControl;
    info.HintWindowClass = HintWindowClass();
    // The hint goes below the cursor's shape.
    info.HintPos = TPoint(cursorPos.X, cursorPos.Y + GetSystemMetrics(SM_CYCURSOR) * 5 / 8);
    info.HintMaxWidth = Screen()->Width();
    info.HintColor = FHintColor;
    TPoint origin = ScreenOrigin(FHintControl);
    info.CursorRect =
        TRect(origin.X, origin.Y, origin.X + FHintControl->Width(), origin.Y + FHintControl->Height());
    info.CursorPos = TPoint(cursorPos.X - origin.X, cursorPos.Y - origin.Y);
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(GetHint(FHintControl));
    bool canShow = FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && OnShowHint)
        OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty() || !FHintControl) {
        HideHint();
        return;
    }
    if (FHintWindow && FHintWindow->ClassType() != info.HintWindowClass) {
        FHintWindow->Free();
        FHintWindow = nullptr;
    }
    if (!FHintWindow) {
        FHintWindow = static_cast<THintWindow*>(info.HintWindowClass->CreateComponent(this));
        FHintWindow->SetName(String());
    }
    FHintWindow->SetColor(info.HintColor);
    TRect rect = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    rect =
        TRect(info.HintPos.X, info.HintPos.Y, info.HintPos.X + rect.Width(), info.HintPos.Y + rect.Height());
    FHintWindow->ActivateHintData(rect, info.HintStr, info.HintData);
    FHintActive = true;
    FHintCursorRect = info.CursorRect;
    if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, false);
}

void TApplication::HideHint() {
    if (FHintWindow && FHintActive)
        FHintWindow->ReleaseHandle();
    FHintActive = false;
}

void TApplication::CancelHint() {
    StopHintTimer();
    if (FHintControl) {
        HideHint();
        SetHintControl(nullptr);
    }
}

void TApplication::StartHintTimer(Integer pause, bool showing) {
    FHintTimerShows = showing;
    FHintTimerRunning = SetTimer(Handle(), HintTimerId, static_cast<UINT>(pause), nullptr) != 0;
    if (!FHintTimerRunning)
        ZWARN(TraceApp, "no timer for the hint (error %u)", static_cast<unsigned>(GetLastError()));
}

void TApplication::StopHintTimer() {
    if (FHintTimerRunning && FHandle)
        KillTimer(FHandle, HintTimerId);
    FHintTimerRunning = false;
}

void TApplication::HintTimerExpired() {
    StopHintTimer();
    if (!FHintTimerShows) {
        // The hint stays away until the mouse leaves its cursor rectangle or the control.
        HideHint();
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    TPoint pos(cursor.x, cursor.y);
    if (GetHintControl(FindDragTarget(pos, true)) != FHintControl) {
        CancelHint();
        return;
    }
    ActivateHint(pos);
}

String GetShortHint(const String& hint) {
    size_t bar = hint.find(u'|');
    return bar == String::npos ? hint : hint.substr(0, bar);
}

String GetLongHint(const String& hint) {
    size_t bar = hint.find(u'|');
    return bar == String::npos ? hint : hint.substr(bar + 1);
}
