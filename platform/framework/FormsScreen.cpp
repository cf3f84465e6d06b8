// TScreen (the program's forms, the active form and control, cursors, the screen's size) and THintWindow.
#include <algorithm>

#include "platform/framework/Forms.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TScreen)
DEFINE_CLASS(THintWindow)

TScreen* Screen() {
    static TScreen* screen = new TScreen(nullptr);
    return screen;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() = default;

TCustomForm* TScreen::Forms(Integer index) const {
    if (index < 0 || index >= FormCount())
        throw EListError(Consts::SListIndexError, {index});
    return FForms[static_cast<std::size_t>(index)];
}

void TScreen::AddForm(TCustomForm* form) {
    FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(FForms, form);
    if (FActiveForm == form) {
        FActiveForm = nullptr;
        FActiveControl = nullptr;
    }
}

void TScreen::SetFocusedForm(TCustomForm* form, TWinControl* control) {
    bool formChanged = FActiveForm != form;
    bool controlChanged = FActiveControl != control;
    FActiveForm = form;
    FActiveControl = control;
    if (formChanged && OnActiveFormChange)
        OnActiveFormChange(this);
    if (controlChanged && OnActiveControlChange)
        OnActiveControlChange(this);
}

void TScreen::SetCursor(TCursor value) {
    FCursor = value;
    ::SetCursor(Cursors(value == crDefault ? crArrow : value));
}

HCURSOR TScreen::Cursors(Integer index) {
    for (auto& [number, handle] : FCursors)
        if (number == index)
            return handle;
    LPCWSTR shape = IDC_ARROW;
    switch (index) {
    case crNone:
        return nullptr;
    case crCross:
        shape = IDC_CROSS;
        break;
    case crIBeam:
        shape = IDC_IBEAM;
        break;
    case crSizeNESW:
        shape = IDC_SIZENESW;
        break;
    case crSizeNS:
    case crVSplit:
        shape = IDC_SIZENS;
        break;
    case crSizeNWSE:
        shape = IDC_SIZENWSE;
        break;
    case crSizeWE:
    case crHSplit:
        shape = IDC_SIZEWE;
        break;
    case crUpArrow:
        shape = IDC_UPARROW;
        break;
    case crHourGlass:
    case crSQLWait:
        shape = IDC_WAIT;
        break;
    case crNoDrop:
    case crNo:
        shape = IDC_NO;
        break;
    case crAppStart:
        shape = IDC_APPSTARTING;
        break;
    case crHelp:
        shape = IDC_HELP;
        break;
    case crHandPoint:
        shape = IDC_HAND;
        break;
    case crSizeAll:
        shape = IDC_SIZEALL;
        break;
    default:
        break;
    }
    return LoadCursorW(nullptr, shape);
}

void TScreen::SetCursors(Integer index, HCURSOR handle) {
    for (auto& entry : FCursors)
        if (entry.first == index) {
            entry.second = handle;
            return;
        }
    FCursors.emplace_back(index, handle);
}

Integer TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

Integer TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    RECT rect{0, 0, Width(), Height()};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
    return TRect(rect);
}

TMonitor* TScreen::MonitorFromPoint(const TPoint& point, TMonitorDefaultTo defaultTo) {
    // One monitor: it is the nearest and the primary one for every point.
    FMonitor.BoundsRect = TRect(0, 0, Width(), Height());
    FMonitor.WorkareaRect = WorkAreaRect();
    bool onIt = point.X >= 0 && point.Y >= 0 && point.X < Width() && point.Y < Height();
    if (!onIt && defaultTo == mdNull)
        return nullptr;
    return &FMonitor;
}

// ---- THintWindow ----

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    FVisible = false;
    SetColor(clInfoBk);
    FFont->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(Integer maxWidth, const String& hint, void*) {
    TRect rect(0, 0, maxWidth, 0);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont->Handle());
    RECT r = rect;
    DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    rect = TRect(r);
    // Room for the border and the margins of the text.
    rect.Right += 6;
    rect.Bottom += 2;
    return rect;
}

void THintWindow::ActivateHint(TRect rect, const String& hint) {
    SetCaption(hint);
    int screenWidth = Screen()->Width();
    int screenHeight = Screen()->Height();
    if (rect.Right > screenWidth) {
        rect.Left -= rect.Right - screenWidth;
        rect.Right = screenWidth;
    }
    if (rect.Bottom > screenHeight) {
        rect.Top -= rect.Bottom - screenHeight;
        rect.Bottom = screenHeight;
    }
    if (rect.Left < 0) {
        rect.Right -= rect.Left;
        rect.Left = 0;
    }
    if (rect.Top < 0) {
        rect.Bottom -= rect.Top;
        rect.Top = 0;
    }
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    HWND hwnd = Handle();
    SetWindowPos(hwnd, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FActive = true;
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    FActive = false;
    if (HandleAllocated())
        DestroyHandle();
}

bool THintWindow::IsHintMsg(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_CANCELMODE:
        return true;
    default:
        return false;
    }
}

void THintWindow::Dispatch(TMessage& message) {
    if (message.Msg == WM_NCHITTEST) {
        // The mouse goes through to the window under the hint.
        message.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::Dispatch(message);
}

void THintWindow::Paint() {
    TRect rect = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(rect);
    rect.Left += 2;
    rect.Top += 1;
    Canvas()->Font()->Assign(FFont.get());
    Canvas()->Brush()->SetStyle(bsClear);
    RECT r = rect;
    String text = Caption();
    DrawTextW(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}
