// Painting of windowed controls and of the graphic controls their parent paints for them, in order and
// under the sibling windows; TGraphicControl, TCustomControl and TControlCanvas.
#include <algorithm>

#include "platform/framework/Controls.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TGraphicControl)
DEFINE_CLASS(TCustomControl)
DEFINE_CLASS(TControlCanvas)

// ---- Painting ----

void TWinControl::Invalidate() {
    if (FHandle != nullptr)
        InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
    if (FHandle != nullptr)
        UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(message);
}

void TWinControl::PaintHandler(TMessage& message) {
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    bool ownDC = dc == nullptr;
    if (ownDC)
        dc = BeginPaint(FHandle, &ps);
    try {
        int saved = SaveDC(dc);
        // Opaque graphic children paint themselves fully; the window does not paint under them.
        for (TControl* control : FControls)
            if (control->Visible() && control->FControlStyle.Contains(csOpaque))
                ExcludeClipRect(dc, control->FLeft, control->FTop, control->FLeft + control->FWidth,
                                control->FTop + control->FHeight);
        PaintWindow(dc);
        RestoreDC(dc, saved);
        PaintControls(dc, nullptr);
    } catch (...) {
        if (ownDC)
            EndPaint(FHandle, &ps);
        throw;
    }
    if (ownDC)
        EndPaint(FHandle, &ps);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    // Graphic children paint from the back, through the parent's DC: the parent's DC leaves out the
    // child windows, so a graphic control is covered by its siblings' windows.
    auto it = first != nullptr ? std::find(FControls.begin(), FControls.end(), first) : FControls.begin();
    if (it == FControls.end())
        it = FControls.begin();
    for (; it != FControls.end(); ++it) {
        TControl* control = *it;
        if (!control->Visible() || control->FWidth <= 0 || control->FHeight <= 0)
            continue;
        RECT clip;
        if (GetClipBox(dc, &clip) == NULLREGION)
            continue;
        RECT bounds = control->BoundsRect();
        RECT both;
        if (!IntersectRect(&both, &bounds, &clip))
            continue;
        int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + control->FLeft, origin.y + control->FTop, nullptr);
        IntersectClipRect(dc, 0, 0, control->FWidth, control->FHeight);
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    int saved = SaveDC(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + x, origin.y + y, nullptr);
    IntersectClipRect(dc, 0, 0, FWidth, FHeight);
    TMessage erase{WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, 0};
    WindowProc(erase);
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    WindowProc(paint);
    PaintChildrenTo(dc);
    RestoreDC(dc, saved);
}

void TWinControl::PaintChildrenTo(HDC dc) {
    for (TWinControl* child : FWinControls)
        if (child->Visible())
            child->PaintTo(dc, child->FLeft, child->FTop);
}

void TWinControl::WMPaint(TMessage& message) {
    if (!FDoubleBuffered || message.WParam != 0) {
        if (!FControlState.Contains(csCustomPaint) && ControlCount() == 0)
            DefaultHandler(message);
        else
            PaintHandler(message);
        return;
    }
    // Double buffered: the whole client area is painted into a bitmap first and then copied to the
    // window at once, so nothing flickers. The background is erased in the bitmap only.
    TRect client = ClientRect();
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.Right, client.Bottom);
    ReleaseDC(nullptr, screen);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    PAINTSTRUCT ps{};
    HDC dc = nullptr;
    try {
        dc = BeginPaint(FHandle, &ps);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
        message.WParam = reinterpret_cast<WPARAM>(memory);
        WMPaint(message);
        message.WParam = 0;
        BitBlt(dc, 0, 0, client.Right, client.Bottom, memory, 0, 0, SRCCOPY);
        EndPaint(FHandle, &ps);
    } catch (...) {
        message.WParam = 0;
        if (dc != nullptr)
            EndPaint(FHandle, &ps);
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
        DeleteObject(bitmap);
        throw;
    }
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    // A double-buffered window erases only into its bitmap (the erase it sends itself carries the
    // bitmap's DC in both parameters); the window's own erase would show before the picture.
    if (!FDoubleBuffered || message.WParam == static_cast<WPARAM>(message.LParam)) {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        RECT rect = ClientRect();
        FillRect(dc, &rect, FBrush->Handle());
    }
    message.Result = 1;
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        WMPaint(message);
        return;
    }
    TControl::Dispatch(message);
}

void TGraphicControl::WMPaint(TMessage& message) {
    if (message.WParam == 0)
        return;
    FCanvas->Lock();
    try {
        FCanvas->SetHandle(reinterpret_cast<HDC>(message.WParam));
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), FCanvas(std::make_unique<TControlCanvas>()) {
    FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() {
    FCanvas->FreeHandle();
}

void TCustomControl::WMPaint(TMessage& message) {
    FControlState.Include(csCustomPaint);
    try {
        TWinControl::WMPaint(message);
    } catch (...) {
        FControlState.Exclude(csCustomPaint);
        throw;
    }
    FControlState.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(HDC dc) {
    FCanvas->Lock();
    try {
        FCanvas->SetHandle(dc);
        Paint();
    } catch (...) {
        FCanvas->SetHandle(nullptr);
        FCanvas->Unlock();
        throw;
    }
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
}

// ---- TControlCanvas ----

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* control) {
    if (FControl == control)
        return;
    FreeHandle();
    FControl = control;
}

void TControlCanvas::FreeHandle() {
    if (FDeviceContext == nullptr)
        return;
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
}

void TControlCanvas::CreateHandle() {
    if (FControl == nullptr)
        return;
    if (FDeviceContext == nullptr) {
        if (auto* win = dynamic_cast<TWinControl*>(FControl)) {
            FWindowHandle = win->Handle();
            FDeviceContext = GetDC(FWindowHandle);
        } else if (FControl->Parent() != nullptr) {
            // A graphic control draws on its parent's window, moved and clipped to its bounds.
            FWindowHandle = FControl->Parent()->Handle();
            FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
            SetViewportOrgEx(FDeviceContext, FControl->Left(), FControl->Top(), nullptr);
            IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
        } else {
            return;
        }
    }
    SetHandle(FDeviceContext);
    UpdateTextFlags();
}

void TControlCanvas::UpdateTextFlags() {
    if (FControl != nullptr && FControl->UseRightToLeftReading())
        SetTextFlags(TextFlags() | ETO_RTLREADING);
    else
        SetTextFlags(TextFlags() & ~static_cast<Integer>(ETO_RTLREADING));
}
