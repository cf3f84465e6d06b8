// The small controls of the grid's view and panels: the owner-drawn check box, the drop-position arrows,
// the focus-glow popup with its alpha mask and blur, and the picture held by file name.
#include "grid/engine/AdvObj.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"
#include "render/VerIRID.h"

DEFINE_CLASS(TAdvCheckBox, PROPERTY(Caption), PROPERTY(State).Default(cbUnchecked),
             PROPERTY(ReturnIsTab).Default(false), PROPERTY(ButtonVertAlign).Default(tlTop),
             PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(Ellipsis).Default(false),
             PROPERTY(ReadOnly).Default(false), PROPERTY(Transparent).Default(false))
DEFINE_CLASS(TArrowWindow)
DEFINE_CLASS(TGridFocusWindow)
DEFINE_CLASS(TGridAlphaMask)
DEFINE_CLASS(TFilePicture, PROPERTY(Filename))

// ---- TAdvCheckBox ----

namespace {

// Offsets of the themed check box states within each group of four (normal, hot, pressed, disabled).
constexpr int ThemeStateHot = 1;
constexpr int ThemeStatePressed = 2;
constexpr int ThemeStateDisabled = 3;

} // namespace

TAdvCheckBox::TAdvCheckBox(TComponent* owner) : TCustomControl(owner), FBkgBmp(std::make_unique<TBitmap>()) {
    SetBounds(Left(), Top(), 98, 20);
    FCaption = ClassName();
    SetText(FCaption);
    FIsWinXP = IsWinXPOrLater();
    // The control raises its own clicks.
    FControlStyle.Exclude(csClickEvents);
}

TAdvCheckBox::~TAdvCheckBox() = default;

void TAdvCheckBox::Toggle() {
    if (FReadOnly)
        return;
    SetChecked(!Checked());
}

void TAdvCheckBox::SetChecked(bool value) {
    SetState(value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TAdvCheckBox::SetState(TCheckBoxState value) {
    if (FState == value)
        return;
    FState = value;
    InvalidateBox();
}

void TAdvCheckBox::SetCaption(const String& value) {
    if (HandleAllocated())
        SetWindowTextW(Handle(), value.c_str());
    FCaption = value;
    SetText(value);
    Invalidate();
}

void TAdvCheckBox::SetButtonVertAlign(TTextLayout value) {
    if (FBtnVAlign == value)
        return;
    FBtnVAlign = value;
    Invalidate();
}

void TAdvCheckBox::SetAlignment(TLeftRight value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TAdvCheckBox::SetEllipsis(bool value) {
    if (FEllipsis == value)
        return;
    FEllipsis = value;
    Invalidate();
}

void TAdvCheckBox::SetTransparent(bool value) {
    if (FTransparent != value) {
        FTransparent = value;
        DropBackgroundCache();
    }
    Repaint();
}

void TAdvCheckBox::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    TCustomControl::SetBounds(left, top, width, height);
    if (FTransparent) {
        DropBackgroundCache();
        Repaint();
    }
}

void TAdvCheckBox::DropBackgroundCache() {
    FBkgCache = false;
}

TRect TAdvCheckBox::BoxRect(bool themed) {
    const TRect client = ClientRect();
    const Integer size = themed ? 14 : 13;
    const Integer x = FAlignment == taRightJustify ? client.Right - (themed ? 15 : 13) : 0;
    Integer y = 4;
    if (FBtnVAlign == tlCenter)
        y = client.Bottom / 2 - 6;
    else if (FBtnVAlign == tlBottom)
        y = client.Bottom - (themed ? 14 : 17);
    return TRect(x, y, x + size, y + size);
}

void TAdvCheckBox::InvalidateBox() {
    if (!HandleAllocated())
        return;
    RECT strip = ClientRect();
    if (FAlignment == taRightJustify)
        strip.left = strip.right - 20;
    else
        strip.right = strip.left + 20;
    InvalidateRect(Handle(), &strip, TRUE);
}

void TAdvCheckBox::PaintParentBackground(TCanvas* canvas) {
    TWinControl* parent = Parent();
    if (parent == nullptr || !parent->HandleAllocated())
        return;
    const auto paintInto = [&](HDC dc) {
        const int saved = SaveDC(dc);
        POINT previous{};
        OffsetWindowOrgEx(dc, Left(), Top(), &previous);
        const TRect parentClient = parent->ClientRect();
        IntersectClipRect(dc, 0, 0, parentClient.Right, parentClient.Bottom);
        SendMessageW(parent->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        SendMessageW(parent->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    };
    if (!FTransparentCaching) {
        paintInto(canvas->Handle());
        return;
    }
    if (!FBkgCache) {
        FBkgBmp->SetSize(Width(), Height());
        paintInto(FBkgBmp->Canvas()->Handle());
        FBkgCache = true;
    }
    canvas->Draw(0, 0, FBkgBmp.get());
}

void TAdvCheckBox::Paint() {
    TCanvas* canvas = Canvas();
    if (FTransparent)
        PaintParentBackground(canvas);
    if (GetText() != FCaption)
        SetText(FCaption);

    const bool themed = ThemedDrawingActive();
    HTHEME theme =
        themed && VerIRID::OpenThemeData != nullptr ? VerIRID::OpenThemeData(Handle(), u"button") : nullptr;
    const TRect box = BoxRect(theme != nullptr);
    if (theme != nullptr) {
        int state = FState == cbChecked  ? CBS_CHECKEDNORMAL
                    : FState == cbGrayed ? CBS_MIXEDNORMAL
                                         : CBS_UNCHECKEDNORMAL;
        if (!Enabled())
            state += ThemeStateDisabled;
        else if (FDown)
            state += ThemeStatePressed;
        else if (FHot)
            state += ThemeStateHot;
        RECT r = box;
        VerIRID::DrawThemeBackground(theme, canvas->Handle(), BP_CHECKBOX, state, &r, nullptr);
        VerIRID::CloseThemeData(theme);
    } else {
        UINT flags = DFCS_BUTTONCHECK;
        if (FState == cbChecked)
            flags |= DFCS_CHECKED;
        if (FState == cbGrayed || !Enabled())
            flags |= DFCS_INACTIVE;
        RECT r = box;
        DrawFrameControl(canvas->Handle(), &r, DFC_BUTTON, flags);
    }

    TRect caption = ClientRect();
    if (FAlignment == taRightJustify) {
        caption.Left = 6;
        caption.Right -= 9;
    } else {
        caption.Left = 15;
    }
    caption.Top = 4;
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | (FEllipsis ? DT_END_ELLIPSIS : 0);
    HDC dc = canvas->Handle();
    if (!Enabled()) {
        RECT shifted = TRect(caption.Left + 1, caption.Top + 1, caption.Right + 1, caption.Bottom + 1);
        SetTextColor(dc, 0x00FFFFFF);
        DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &shifted, format);
        SetTextColor(dc, 0x00808080);
    } else {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
    }
    RECT r = caption;
    DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, format);

    if (FFocused) {
        const TSize extent = canvas->TextExtent(FCaption);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect(Bounds(caption.Left - 2, caption.Top, extent.cx + 1, extent.cy + 1));
    }
}

void TAdvCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        FMouseDown = true;
        if (!Focused() && CanFocus())
            SetFocus();
        SetCapture(Handle());
        FDown = true;
        InvalidateBox();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TAdvCheckBox::MouseMove(TShiftState shift, int x, int y) {
    if (HandleAllocated() && GetCapture() == Handle()) {
        const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
        if (inside != FDown) {
            FDown = inside;
            InvalidateBox();
        }
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TAdvCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (HandleAllocated() && GetCapture() == Handle())
            ReleaseCapture();
        FDown = false;
        const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
        if (inside && Focused() && FMouseDown) {
            FClicksDisabled = true;
            Toggle();
            FClicksDisabled = false;
            Click();
        }
        FMouseDown = false;
        InvalidateBox();
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TAdvCheckBox::KeyDown(Word& key, TShiftState shift) {
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (key == VK_SPACE && !FDown) {
        FDown = true;
        InvalidateBox();
    }
    TCustomControl::KeyDown(key, shift);
}

void TAdvCheckBox::KeyUp(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = false;
        Toggle();
        Click();
    }
    TCustomControl::KeyUp(key, shift);
}

void TAdvCheckBox::WMSetFocus(TMessage& message) {
    TCustomControl::WMSetFocus(message);
    FFocused = true;
    Invalidate();
}

void TAdvCheckBox::WMKillFocus(TMessage& message) {
    TCustomControl::WMKillFocus(message);
    FFocused = false;
    Invalidate();
}

void TAdvCheckBox::WMEraseBkgnd(TMessage& message) {
    // A transparent box paints the parent's background itself.
    if (FTransparent) {
        message.Result = 1;
        return;
    }
    TCustomControl::WMEraseBkgnd(message);
}

void TAdvCheckBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(message.WParam), FCaption) && CanFocus()) {
            Toggle();
            if (TabStop())
                SetFocus();
            message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    case CM_TEXTCHANGED:
        // The caption written through the control's own text (a form, a plain TControl pointer).
        FCaption = GetText();
        Invalidate();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (message.LParam == 0) {
            FHot = message.Msg == CM_MOUSEENTER;
            InvalidateBox();
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}

// ---- TArrowWindow ----

namespace {

std::array<TPoint, 7> ArrowPoints(TArrowDirection direction) {
    switch (direction) {
    case arrUp:
        return {TPoint(5, 0), TPoint(10, 5), TPoint(7, 5), TPoint(7, 9),
                TPoint(3, 9), TPoint(3, 5),  TPoint(0, 5)};
    case arrDown:
        return {TPoint(3, 0), TPoint(7, 0), TPoint(7, 4), TPoint(9, 4),
                TPoint(5, 8), TPoint(1, 4), TPoint(3, 4)};
    case arrLeft:
        return {TPoint(0, 3), TPoint(0, 7), TPoint(4, 7), TPoint(4, 10),
                TPoint(8, 5), TPoint(4, 0), TPoint(4, 3)};
    case arrRight:
    default:
        return {TPoint(0, 5), TPoint(4, 10), TPoint(4, 7), TPoint(8, 7),
                TPoint(8, 3), TPoint(4, 3),  TPoint(4, 0)};
    }
}

} // namespace

TArrowWindow::TArrowWindow(TComponent* owner, TArrowDirection direction)
    : TPanel(owner), FDir(direction), FArrow(ArrowPoints(direction)) {
    SetColor(0x0000FF00);
    if (auto* parent = dynamic_cast<TWinControl*>(owner))
        SetParent(parent);
    SetVisible(false);
}

TArrowWindow::~TArrowWindow() = default;

void TArrowWindow::CreateParams(TCreateParams& params) {
    TPanel::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = 0;
}

void TArrowWindow::CreateWnd() {
    TPanel::CreateWnd();
    POINT points[7];
    for (std::size_t i = 0; i < FArrow.size(); ++i)
        points[i] = FArrow[i];
    SetWindowRgn(Handle(), CreatePolygonRgn(points, 7, WINDING), TRUE);
}

void TArrowWindow::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// ---- TGridFocusWindow ----

TGridFocusWindow::TGridFocusWindow(TComponent* owner) : TCustomControl(owner) {
    SetBounds(Left(), Top(), 0, 0);
    SetColor(0x000000FF);
}

TGridFocusWindow::~TGridFocusWindow() = default;

void TGridFocusWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_DISABLED;
    params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

// ---- TGridAlphaMask ----

TGridAlphaMask::TGridAlphaMask() {
    SetPixelFormat(pf32bit);
}

TGridAlphaMask::~TGridAlphaMask() = default;

void TGridAlphaMask::Assign(TPersistent* source) {
    if (auto* mask = dynamic_cast<TGridAlphaMask*>(source)) {
        FOpacity = mask->FOpacity;
        SetPixelFormat(pf32bit);
        SetSize(mask->Width(), mask->Height());
        for (Integer y = 0; y < Height(); ++y)
            std::memcpy(ScanLine(y), mask->ScanLine(y), static_cast<std::size_t>(Width()) * 4);
        Changed(this);
        return;
    }
    TBitmap::Assign(source);
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap* mask, TBitmap* bitmap, TColor /*color*/) {
    if (bitmap == nullptr || bitmap->PixelFormat() != pf24bit)
        return;
    // The mask is read as 24 bits per pixel; another depth is read from a converted copy.
    TBitmap converted;
    TBitmap* source = mask;
    if (mask != nullptr && mask->PixelFormat() != pf24bit) {
        converted.Assign(mask);
        converted.SetPixelFormat(pf24bit);
        source = &converted;
    }
    SetPixelFormat(pf32bit);
    SetSize(bitmap->Width(), bitmap->Height());
    const Integer maskWidth = source != nullptr ? source->Width() : 0;
    const Integer maskHeight = source != nullptr ? source->Height() : 0;
    for (Integer y = 0; y < Height(); ++y) {
        auto* target = static_cast<Byte*>(ScanLine(y));
        const auto* colors = static_cast<const Byte*>(bitmap->ScanLine(y));
        const Byte* alphas = y < maskHeight ? static_cast<const Byte*>(source->ScanLine(y)) : nullptr;
        for (Integer x = 0; x < Width(); ++x) {
            // What the mask does not cover stays transparent.
            const Integer alpha = alphas != nullptr && x < maskWidth ? alphas[x * 3 + 2] : 0;
            for (int channel = 0; channel < 3; ++channel)
                target[x * 4 + channel] =
                    static_cast<Byte>(std::nearbyint(colors[x * 3 + channel] * alpha / 255.0));
            target[x * 4 + 3] = static_cast<Byte>(alpha);
        }
    }
    Changed(this);
}

// ---- Rounded masks and the blur ----

void MakeRoundRectMask(TBitmap* bitmap, Integer width, Integer height, Integer blurRadius, Integer corner,
                       Integer penWidth) {
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(TRect(0, 0, width, height));
    const Integer c = penWidth / 2;
    canvas->Pen()->SetColor(clWhite);
    if (penWidth < 1) {
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetColor(clWhite);
    } else {
        canvas->Pen()->SetWidth(penWidth);
        canvas->Brush()->SetStyle(bsClear);
    }
    canvas->RoundRect(c + 2, c + 2, width - c - 2, height - c - 2, corner, corner);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Pen()->SetWidth(1);
    if (blurRadius > 0)
        GaussianBlur(bitmap, blurRadius);
}

namespace {

// The blur's weights for the offsets -reach..reach, index reach + k for offset k.
std::vector<double> BlurKernel(Integer radius, Integer& reach) {
    constexpr Integer Widest = 10;
    std::vector<double> weights(2 * Widest + 1);
    double sum = 0;
    for (Integer k = -Widest; k <= Widest; ++k) {
        const double ratio = static_cast<double>(k) / radius;
        weights[k + Widest] = std::exp(-ratio * ratio / 2);
        sum += weights[k + Widest];
    }
    for (double& weight : weights)
        weight /= sum;
    // Drops the outer pairs whose weights together stay below one level in 510, and the pair that
    // reaches it.
    reach = Widest;
    double dropped = 0;
    while (dropped < 1.0 / 510 && reach > 1) {
        dropped += weights[Widest + reach] + weights[Widest - reach];
        --reach;
    }
    std::vector<double> kept(weights.begin() + (Widest - reach), weights.begin() + (Widest + reach + 1));
    sum = 0;
    for (double weight : kept)
        sum += weight;
    for (double& weight : kept)
        weight /= sum;
    return kept;
}

// Convolves count pixels of three channels, step bytes apart, with the kernel; positions past either
// end take the end pixel.
void Convolve(Byte* pixels, Integer count, Integer step, const std::vector<double>& kernel, Integer reach,
              std::vector<Byte>& scratch) {
    scratch.resize(static_cast<std::size_t>(count) * 3);
    for (Integer i = 0; i < count; ++i)
        for (int channel = 0; channel < 3; ++channel)
            scratch[i * 3 + channel] = pixels[i * step + channel];
    for (Integer i = 0; i < count; ++i) {
        for (int channel = 0; channel < 3; ++channel) {
            double sum = 0;
            for (Integer k = -reach; k <= reach; ++k) {
                const Integer at = std::clamp<Integer>(i - k, 0, count - 1);
                sum += kernel[k + reach] * scratch[at * 3 + channel];
            }
            // The weights sum to one only up to rounding: a tiny allowance keeps a full 255 at 255.
            const double truncated = std::trunc(sum + 1e-9);
            pixels[i * step + channel] = static_cast<Byte>(std::clamp(truncated, 0.0, 255.0));
        }
    }
}

} // namespace

void GaussianBlur(TBitmap* bitmap, Integer radius) {
    if (bitmap == nullptr || bitmap->PixelFormat() != pf24bit)
        throw Exception(u"Blur only works for 24-bit bitmaps");
    const Integer width = bitmap->Width();
    const Integer height = bitmap->Height();
    if (width == 0 || height == 0 || radius <= 0)
        return;
    Integer reach = 0;
    const std::vector<double> kernel = BlurKernel(radius, reach);
    std::vector<Byte> scratch;
    constexpr Integer Repeat = 15; // the row and column copied inward
    constexpr Integer Border = 20; // rows and columns nearer an edge than this are convolved

    for (Integer y = 0; y < height; ++y) {
        auto* row = static_cast<Byte*>(bitmap->ScanLine(y));
        if (y > Border && height - 1 - y > Border)
            std::memcpy(row, bitmap->ScanLine(Repeat), static_cast<std::size_t>(width) * 3);
        else
            Convolve(row, width, 3, kernel, reach, scratch);
    }

    // Columns run across rows, which the bitmap keeps in separate lines: each is gathered, convolved
    // and written back.
    std::vector<Byte> column(static_cast<std::size_t>(height) * 3);
    std::vector<Byte> repeated;
    for (Integer x = 0; x < width; ++x) {
        const bool copy = x > Border && width - 1 - x > Border;
        if (!copy) {
            for (Integer y = 0; y < height; ++y)
                std::memcpy(&column[y * 3], static_cast<Byte*>(bitmap->ScanLine(y)) + x * 3, 3);
            Convolve(column.data(), height, 3, kernel, reach, scratch);
            if (x == Repeat)
                repeated = column;
        }
        const std::vector<Byte>& result = copy ? repeated : column;
        if (copy && result.empty())
            continue;
        for (Integer y = 0; y < height; ++y)
            std::memcpy(static_cast<Byte*>(bitmap->ScanLine(y)) + x * 3, &result[y * 3], 3);
    }
}

// ---- TFilePicture ----

TFilePicture::TFilePicture() = default;
TFilePicture::~TFilePicture() = default;

void TFilePicture::Assign(TPersistent* source) {
    if (auto* picture = dynamic_cast<TFilePicture*>(source)) {
        FFilename = picture->FFilename;
        FWidth = picture->FWidth;
        FHeight = picture->FHeight;
        return;
    }
    TPersistent::Assign(source);
}

void TFilePicture::SetFilename(const String& value) {
    FFilename = value;
    if (!FileExists(value))
        return;
    // A file that does not load as a picture keeps the size from before: the name is all the cell
    // stores, and it is read again when drawn.
    try {
        TPicture picture;
        picture.LoadFromFile(value);
        FWidth = picture.Width();
        FHeight = picture.Height();
    } catch (const std::exception&) {
    }
}

void TFilePicture::DrawPicture(TCanvas* canvas, const TRect& rect) {
    if (FFilename.empty() || !FileExists(FFilename))
        return;
    // Painting goes on without the picture when the file no longer reads.
    try {
        TPicture picture;
        picture.LoadFromFile(FFilename);
        canvas->StretchDraw(rect, picture.Graphic());
    } catch (const std::exception&) {
    }
}
