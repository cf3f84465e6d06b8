// The caption panel's input: collapsing and expanding (stepped or at once), the caption's buttons and
// clicks, hover feedback and links, moving and sizing through the window hit test, automatic sizing and
// the client area left to the children.
#include "controls/AdvPanel.h"

#include <algorithm>

#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/shell.h"
#include "platform/win32/sync.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winuser.h"
#include "render/CaptionHTML.h"

using namespace AdvPanel;

namespace {
// Moves every side of rect inwards by amount.
void Shrink(TRect& rect, Integer amount) {
    rect.Left += amount;
    rect.Top += amount;
    rect.Right -= amount;
    rect.Bottom -= amount;
}

// Posted to the panel's own window by a close button with FreeOnClose; the panel frees itself when it
// arrives, after the mouse handler that asked has returned. A panel freed before then never sees it.
constexpr UINT WM_PANELRELEASE = WM_USER + 0x0E20;

bool Inside(const TRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}
} // namespace

// ---- Geometry of the caption's buttons ----

Integer TCustomAdvPanel::ButtonSize(bool forHitTest) const {
    Integer w = 12;
    if (!FCaption->CloseMinGlyph()->Empty() && !FCaption->CloseMaxGlyph()->Empty())
        w = FCaption->CloseMinGlyph()->Width();
    if (!FCaption->MinGlyph()->Empty() && !FCaption->MaxGlyph()->Empty())
        w = forHitTest ? FCaption->MinGlyph()->Width() : FCaption->MaxGlyph()->Width();
    if (FCaption->ShadeType() == stXPCaption && IsThemed())
        w = 16;
    return w;
}

TRect TCustomAdvPanel::CloseSquare(const TRect& client, Integer w, Integer inset) const {
    const Integer L = client.Left, T = client.Top, R = client.Right, B = client.Bottom;
    bool right = FCaption->ButtonPosition() == cbpRight;
    switch (FCaption->Position()) {
    case cpTop:
        return right ? TRect(R - w - inset, T + 2, R - inset, T + w + 2)
                     : TRect(L + 2, T + 2, L + w + 2, T + w + 2);
    case cpLeft:
        return right ? TRect(L + 2, T + 2, L + w + 2, T + w + 2) : TRect(L + 2, B - w - 2, L + w + 2, B - 2);
    case cpRight:
        return right ? TRect(R - w - inset, B - w - inset, R - inset, B - inset)
                     : TRect(R - w - inset, T + 2, R - inset, T + w + 2);
    }
    return TRect();
}

TRect TCustomAdvPanel::NarrowForClose(TRect client, Integer w) const {
    if (!FCaption->CloseButton())
        return client;
    bool right = FCaption->ButtonPosition() == cbpRight;
    switch (FCaption->Position()) {
    case cpTop:
        (right ? client.Right : client.Left) += right ? -w : w;
        break;
    case cpLeft:
        (right ? client.Top : client.Bottom) += right ? w : -w;
        break;
    case cpRight:
        (right ? client.Bottom : client.Top) += right ? -w : w;
        break;
    }
    return client;
}

TRect TCustomAdvPanel::CaptionArea(const TRect& client) const {
    Integer h = FCaption->Height();
    switch (FCaption->Position()) {
    case cpTop:
        return TRect(client.Left, client.Top, client.Right - 2, client.Top + h);
    case cpLeft:
        return TRect(client.Left, client.Top, client.Left + h, client.Bottom);
    case cpRight:
        return TRect(client.Right - h, client.Top, client.Right, client.Bottom);
    }
    return TRect();
}

bool TCustomAdvPanel::OnCaption(int x, int y) const {
    if (!FCaption->Visible())
        return false;
    Integer h = FCaption->Height();
    switch (FCaption->Position()) {
    case cpTop:
        return y < h;
    case cpLeft:
        return x < h;
    case cpRight:
        return x > Width() - h;
    }
    return false;
}

// ---- Collapsing ----

void TCustomAdvPanel::SetCollaps(bool value) {
    if (FCollaps && !value && OnMaximize)
        OnMaximize(this);
    if (value && !FCollaps && OnMinimize)
        OnMinimize(this);
    if (FIsCollapsing)
        return;
    std::shared_ptr<bool> alive = FAlive;
    Integer border = BorderWidth();
    Integer e = border > 0 && FBorderShadow ? border + 2 : 0;
    TCaptionPosition side = FCaption->Position();
    Integer statusHeight = FStatusBar->Visible() ? FStatusBar->Height() : 0;
    if (value != FCollaps) {
        FIsCollapsing = true;
        FCollaps = value;
        if (!Loading()) {
            if (value) {
                FOldLeft = Left();
                FFullHeight = side == cpTop ? Height() : Width();
                if (FAutoHideChildren)
                    ShowHideChildren(false);
                FOldColor = Color();
                if (FCollapsSteps > 0) {
                    if (FCollapsColor != clNone)
                        SetColor(FCollapsColor);
                    Integer step =
                        side == cpTop
                            ? (Height() - FCaption->Height() - statusHeight - 2 * border) / FCollapsSteps
                            : (Width() - FCaption->Height() - statusHeight) / FCollapsSteps;
                    for (Integer i = 0; i < FCollapsSteps; ++i) {
                        if (side == cpTop)
                            SetHeight(Height() - step);
                        else {
                            if (side == cpRight)
                                SetBounds(Left() + step, Top(), Width() - step, Height());
                            else
                                SetWidth(Width() - step);
                        }
                        if (!AnimationPause())
                            return;
                    }
                }
                Integer collapsed = FCaption->Height() + statusHeight;
                switch (side) {
                case cpTop:
                    SetHeight(collapsed - 2 + 2 * e);
                    break;
                case cpLeft:
                    SetWidth(collapsed + e);
                    break;
                case cpRight:
                    SetBounds(FFullHeight + FOldLeft - (collapsed + e), Top(), collapsed + e, Height());
                    break;
                }
            } else {
                if (side == cpRight)
                    FOldLeft = Left() + Width() - FFullHeight;
                if (FCollapsSteps > 0) {
                    if (FCollapsColor != clNone)
                        SetColor(FOldColor);
                    Integer step = (FFullHeight - FCaption->Height() - statusHeight) / FCollapsSteps;
                    for (Integer i = 0; i < FCollapsSteps; ++i) {
                        if (side == cpTop)
                            SetHeight(Height() + step);
                        else if (side == cpRight)
                            SetBounds(Left() - step, Top(), Width() + step, Height());
                        else
                            SetWidth(Width() + step);
                        if (!AnimationPause())
                            return;
                    }
                }
                if (side == cpTop)
                    SetHeight(FFullHeight);
                else if (side == cpRight)
                    SetBounds(FOldLeft, Top(), FFullHeight, Height());
                else
                    SetWidth(FFullHeight);
                if (FAutoHideChildren)
                    ShowHideChildren(true);
            }
            Synchronize();
        }
        FIsCollapsing = false;
    }
    StateChanged();
    if (OnEndCollapsExpand)
        OnEndCollapsExpand(this);
}

bool TCustomAdvPanel::AnimationPause() {
    // The messages pumped here may close the form or free the panel; the shared flag says so without
    // touching the panel.
    std::shared_ptr<bool> alive = FAlive;
    Application->ProcessMessages();
    if (!*alive)
        return false;
    Synchronize();
    Sleep(static_cast<DWORD>(std::max<Integer>(FCollapsDelay, 0)));
    return *alive;
}

void TCustomAdvPanel::ShowHideChildren(bool show) {
    Integer h = FCaption->Height();
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (show) {
            if (std::find(FHideList.begin(), FHideList.end(), child) == FHideList.end())
                child->SetVisible(true);
            continue;
        }
        if (!child->Visible() && std::find(FHideList.begin(), FHideList.end(), child) == FHideList.end())
            FHideList.push_back(child);
        bool onCaption = false;
        if (FCaption->Visible()) {
            switch (FCaption->Position()) {
            case cpTop:
                onCaption = child->Top() < h;
                break;
            case cpLeft:
                onCaption = child->Left() < h;
                break;
            case cpRight:
                onCaption = child->Left() > Width() - h;
                break;
            }
        }
        if (!onCaption)
            child->SetVisible(false);
    }
    if (show)
        FHideList.clear();
}

// ---- Mouse ----

String TCustomAdvPanel::AnchorAt(int x, int y) {
    TRect r = ClientRect();
    if (BevelInner() != bvNone || BevelOuter() != bvNone)
        Shrink(r, BevelWidth());
    if (FBorderShadow) {
        r.Right -= 2;
        r.Bottom -= 2;
    }
    Shrink(r, BorderWidth());
    Shrink(r, 1);
    r.Left += FIndent;
    r.Top += FTopIndent;
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    Integer width = 0, measured = 0;
    if (FTextVAlign != tvaTop)
        RenderText(canvas, FText, r, !FEllipsis, true, -1, width, measured);
    auto align = [&](TRect& area) {
        if (FTextVAlign == tvaTop || measured >= area.Height())
            return;
        if (FTextVAlign == tvaCenter)
            area.Top += (area.Height() - measured) / 2;
        else
            area.Top = area.Bottom - measured;
    };
    Integer h = FCaption->Height();
    String anchor, plain, detail;
    Integer anchorCount = 0, height = 0;
    TRect hoverRect;
    if (!OnCaption(x, y)) {
        if (FCaption->Visible()) {
            switch (FCaption->Position()) {
            case cpTop:
                r.Top += h;
                break;
            case cpLeft:
                r.Left += h;
                break;
            case cpRight:
                r.Right -= h;
                break;
            }
        }
        align(r);
        r.Bottom += 20;
        Integer link = -1;
        if (!RenderCaptionHTML(canvas, FText, r, FImages, x, y, -1, -1, FShadowOffset, true, false, false,
                               false, true, false, !FEllipsis, 1.0, FURLColor, FHoverColor, FHoverFontColor,
                               FShadowColor, anchor, plain, detail, width, height, anchorCount, link,
                               hoverRect, FImageCache.get(), FContainer, FLineSpacing, BiDiMode()))
            anchor.clear();
        FHoverHyperLink = anchor.empty() ? -1 : link;
        if (!anchor.empty())
            FCurrHoverRect = hoverRect;
        return anchor;
    }
    if (FCaption->Position() != cpTop)
        return String();
    r.Bottom = r.Top + h;
    align(r);
    canvas->Font()->Assign(FCaption->Font());
    r.Left += FCaption->Indent();
    r.Top += FCaption->TopIndent();
    Integer link = -1;
    if (!RenderCaptionHTML(canvas, FCaption->Text(), r, FImages, x, y, -1, -1, FShadowOffset, true, false,
                           false, false, true, false, false, 1.0, FURLColor, FHoverColor, FHoverFontColor,
                           FShadowColor, anchor, plain, detail, width, height, anchorCount, link, hoverRect,
                           FImageCache.get(), FContainer, FLineSpacing, BiDiMode()))
        anchor.clear();
    FCaptionHoverHyperLink = anchor.empty() ? -1 : link;
    if (!anchor.empty())
        FCaptionCurrHoverRect = hoverRect;
    return anchor;
}

void TCustomAdvPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomPanel::MouseDown(button, shift, x, y);
    String anchor = AnchorAt(x, y);
    if (anchor.empty())
        return;
    if (anchor.find(u"://") != String::npos || anchor.find(u"mailto:") != String::npos)
        ShellExecuteW(nullptr, u"open", anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    else if (OnAnchorClick)
        OnAnchorClick(this, anchor);
}

void TCustomAdvPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomPanel::MouseUp(button, shift, x, y);
    if (Designing() || !FCaption->Visible())
        return;
    std::shared_ptr<bool> alive = FAlive;
    TRect client = ClientRect();
    Integer w = ButtonSize(false);
    bool toggle = FCaption->MinMaxCaption();
    if (FCaption->CloseButton() && Inside(CloseSquare(client, w, 2), x, y)) {
        SetVisible(false);
        if (OnClose)
            OnClose(this);
        if (!*alive)
            return;
        Synchronize();
        toggle = false;
        if (FFreeOnClose) {
            ReleasePanel();
            return;
        }
    }
    TRect narrowed = NarrowForClose(client, w);
    if (FCaption->MinMaxButton()) {
        // A click on a right-hand caption tests a square set further in.
        Integer inset = FCaption->Position() == cpRight ? 4 : 2;
        if (Inside(CloseSquare(narrowed, w, inset), x, y)) {
            toggle = false;
            SetCollaps(!FCollaps);
            if (!*alive)
                return;
        }
    }
    if (Inside(CaptionArea(narrowed), x, y)) {
        if (toggle) {
            SetCollaps(!FCollaps);
            if (!*alive)
                return;
        }
        if (OnCaptionClick)
            OnCaptionClick(this);
    }
}

void TCustomAdvPanel::ReleasePanel() {
    if (FReleasePosted)
        return;
    FReleasePosted = true;
    if (HandleAllocated())
        PostMessageW(Handle(), WM_PANELRELEASE, 0, 0);
}

void TCustomAdvPanel::InvalidateHoverRect(TRect rect) {
    if (DoubleBuffered())
        Invalidate();
    else if (FHover && HandleAllocated()) {
        RECT r = rect;
        InvalidateRect(Handle(), &r, FALSE);
    }
}

void TCustomAdvPanel::EnterAnchor(const String& anchor, const TRect& rect) {
    if (Cursor() == FOldCursor || anchor != FAnchor) {
        if (FAnchorHint)
            Application->CancelHint();
        TControl::SetCursor(crHandPoint);
        if (OnAnchorEnter)
            OnAnchorEnter(this, anchor);
        if (FHover)
            InvalidateHoverRect(rect);
    }
    FAnchor = anchor;
}

void TCustomAdvPanel::MouseMove(TShiftState shift, int x, int y) {
    TCustomPanel::MouseMove(shift, x, y);
    TRect oldRect = FCurrHoverRect;
    TRect oldCaptionRect = FCaptionCurrHoverRect;
    String anchor = AnchorAt(x, y);
    FInMove = false;
    Integer h = FCaption->Height();
    if (FCaption->Visible() && !Designing() && ShowHint() && !FCaption->OfficeHint()->IsEmpty() &&
        ((FPrevY > h && y < h) || (FPrevY < h && y > h)))
        Application->CancelHint();

    TRect client = ClientRect();
    Integer w = ButtonSize(false);
    if (FCaption->CloseButtonHoverColor() != clNone) {
        bool over = FCaption->CloseButton() && Inside(CloseSquare(client, w, 2), x, y);
        if (over != FHoverCloseBtn) {
            FHoverCloseBtn = over;
            Invalidate();
        }
    }
    if (FCaption->MinMaxButtonHoverColor() != clNone) {
        bool over = FCaption->MinMaxButton() && Inside(CloseSquare(NarrowForClose(client, w), w, 2), x, y);
        if (over != FHoverMinMaxBtn) {
            FHoverMinMaxBtn = over;
            Invalidate();
        }
    }

    auto leaveLink = [&] {
        TControl::SetCursor(FOldCursor);
        if (OnAnchorExit)
            OnAnchorExit(this, String());
    };
    if (!OnCaption(x, y)) {
        if (FCaptionHoverHyperLink != -1) {
            FCaptionHoverHyperLink = -1;
            InvalidateHoverRect(FCaptionCurrHoverRect);
        }
        if (!anchor.empty()) {
            if (anchor != FAnchor || FCurrHoverRect != oldRect || FHoverHyperLink == -1 ||
                FHoverHyperLink != FOldHoverHyperLink) {
                if (FHover) {
                    InvalidateHoverRect(oldRect);
                    InvalidateHoverRect(FCurrHoverRect);
                }
            }
            EnterAnchor(anchor, FCurrHoverRect);
            FOldHoverHyperLink = FHoverHyperLink;
        } else if (Cursor() == crHandPoint) {
            leaveLink();
            FHoverHyperLink = -1;
            FCaptionHoverHyperLink = -1;
            if (FHover)
                InvalidateHoverRect(FCurrHoverRect);
        }
    } else {
        if (FHoverHyperLink != -1) {
            FHoverHyperLink = -1;
            InvalidateHoverRect(FCurrHoverRect);
        }
        if (!anchor.empty()) {
            if (anchor != FAnchor || FCaptionCurrHoverRect != oldCaptionRect) {
                InvalidateHoverRect(oldCaptionRect);
                InvalidateHoverRect(FCaptionCurrHoverRect);
            }
            EnterAnchor(anchor, FCaptionCurrHoverRect);
        } else if (Cursor() == crHandPoint) {
            leaveLink();
            FCaptionHoverHyperLink = -1;
            InvalidateHoverRect(FCaptionCurrHoverRect);
        }
    }
    FPrevY = y;
}

void TCustomAdvPanel::WMLButtonDblClk(TMessage& message) {
    TCustomPanel::WMLButtonDblClk(message);
    TWMMouse mouse(message);
    if (FCaption->Visible() && Inside(CaptionArea(ClientRect()), mouse.XPos, mouse.YPos) && OnCaptionDBlClick)
        OnCaptionDBlClick(this);
}

void TCustomAdvPanel::CMMouseEnter(TMessage& message) {
    TCustomPanel::CMMouseEnter(message);
}

void TCustomAdvPanel::CMMouseLeave(TMessage& message) {
    if (FHoverHyperLink != -1) {
        FHoverHyperLink = -1;
        if (FHover)
            InvalidateHoverRect(FCurrHoverRect);
    }
    if (FCaptionHoverHyperLink != -1) {
        FCaptionHoverHyperLink = -1;
        if (FHover)
            InvalidateHoverRect(FCaptionCurrHoverRect);
    }
    if (FHoverCloseBtn || FHoverMinMaxBtn) {
        FHoverCloseBtn = false;
        FHoverMinMaxBtn = false;
        Invalidate();
    }
    TCustomPanel::CMMouseLeave(message);
}

void TCustomAdvPanel::CMHintShow(TMessage& message) {
    auto* info = reinterpret_cast<THintInfo*>(message.LParam);
    if (FAnchorHint && info != nullptr) {
        String anchor = AnchorAt(info->CursorPos.X, info->CursorPos.Y);
        if (!anchor.empty()) {
            if (OnAnchorHint)
                OnAnchorHint(this, anchor);
            info->HintPos = ClientToScreen(info->CursorPos);
            info->HintPos.X += 10;
            info->HintPos.Y -= 10;
            info->HintStr = anchor;
        }
    }
    message.Result = 0;
}

// ---- Moving and sizing ----

LRESULT TCustomAdvPanel::HitTest(LRESULT inherited, TPoint p) {
    FInMove = false;
    if (Designing())
        return inherited;
    LRESULT result = inherited;
    Integer w = ButtonSize(true);
    Integer h = FCaption->Height();
    TRect nr = ClientRect();
    bool right = FCaption->ButtonPosition() == cbpRight;
    Integer buttons = (FCaption->CloseButton() ? w : 0) + (FCaption->MinMaxButton() ? w : 0);
    TCaptionPosition side = FCaption->Position();
    switch (side) {
    case cpTop:
        (right ? nr.Right : nr.Left) += right ? -buttons : buttons;
        break;
    case cpLeft:
        (right ? nr.Top : nr.Bottom) += right ? buttons : -buttons;
        break;
    case cpRight:
        (right ? nr.Bottom : nr.Top) += right ? -buttons : buttons;
        break;
    }
    if (FCaption->Visible()) {
        bool onStrip = false;
        switch (side) {
        case cpTop:
            onStrip = p.Y < h && p.X > nr.Left && p.X < nr.Right;
            break;
        case cpLeft:
            onStrip = p.X < h && p.Y > nr.Top && p.Y < nr.Bottom;
            break;
        case cpRight:
            onStrip = p.X > Width() - h && p.Y > nr.Top && p.Y < nr.Bottom;
            break;
        }
        if (onStrip && FCanMove && result == HTCLIENT && AnchorAt(p.X, p.Y).empty()) {
            MouseMove({}, p.X, p.Y);
            result = HTCAPTION;
            FInMove = true;
        }
    }
    if (result != HTCLIENT || !FCanSize || FCollaps)
        return result;
    Integer cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
    LRESULT sizing = HTCLIENT;
    if (side != cpRight) {
        if (!FFixedHeight && !FFixedWidth && p.Y > Height() - cy - 2 && p.X > Width() - cx - 2)
            sizing = HTBOTTOMRIGHT;
        else if (!FFixedHeight && p.Y > Height() - cy)
            sizing = HTBOTTOM;
        else if (!FFixedWidth && p.X > Width() - cx)
            sizing = HTRIGHT;
    } else {
        if (!FFixedHeight && !FFixedWidth && p.Y > Height() - cy - 2 && p.X < cx + 2)
            sizing = HTBOTTOMLEFT;
        else if (!FFixedHeight && p.Y > Height() - cy)
            sizing = HTBOTTOM;
        else if (!FFixedWidth && p.X < cx + 2)
            sizing = HTLEFT;
    }
    if (sizing != HTCLIENT && HandleAllocated())
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return sizing;
}

void TCustomAdvPanel::WMSizing(TMessage& message) {
    auto* r = reinterpret_cast<RECT*>(message.LParam);
    if (FFixedWidth)
        r->right = r->left + FWidthHeight.X;
    if (FFixedHeight)
        r->bottom = r->top + FWidthHeight.Y;
    FFullHeight = FCaption->Position() == cpTop ? r->bottom - r->top : r->right - r->left;
    message.Result = 0;
    if (r->right - r->left != Width())
        BuildShadedHeader();
}

void TCustomAdvPanel::WMMoving(TMessage& message) {
    FTopLeft = ClientOrigin();
    if (FInMove && HandleAllocated())
        SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    auto* r = reinterpret_cast<RECT*>(message.LParam);
    // The proposed rectangle is in screen coordinates, as the client origin is.
    if (FFixedLeft)
        OffsetRect(r, FTopLeft.X - r->left, 0);
    if (FFixedTop)
        OffsetRect(r, 0, FTopLeft.Y - r->top);
    message.Result = 0;
}

void TCustomAdvPanel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST: {
        TCustomPanel::WndProc(message);
        POINT pt{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        ::ScreenToClient(Handle(), &pt);
        message.Result = HitTest(message.Result, TPoint(pt.x, pt.y));
        return;
    }
    case WM_ENTERSIZEMOVE:
        FTopLeft = ClientOrigin();
        FWidthHeight = TPoint(Width(), Height());
        TCustomPanel::WndProc(message);
        return;
    case WM_SIZING:
        if (Designing())
            break;
        WMSizing(message);
        return;
    case WM_MOVING:
        if (Designing())
            break;
        WMMoving(message);
        return;
    case WM_EXITSIZEMOVE: {
        TCustomPanel::WndProc(message);
        if (OnEndMoveSize)
            OnEndMoveSize(this);
        Synchronize();
        return;
    }
    case WM_DESTROY:
        if (FPosition->Save())
            SavePosition();
        break;
    case WM_PANELRELEASE:
        Free();
        return;
    default:
        break;
    }
    TCustomPanel::WndProc(message);
}

// ---- Children and automatic sizing ----

void TCustomAdvPanel::AlignControls(TControl* control, TRect& rect) {
    Integer h = FCaption->Height();
    if (FCaption->Visible()) {
        switch (FCaption->Position()) {
        case cpTop:
            if (rect.Top < h)
                rect.Top = h - 2;
            break;
        case cpLeft:
            if (rect.Left < h)
                rect.Left = h - 2;
            break;
        case cpRight:
            if (rect.Right > Width() - h)
                rect.Right = Width() - h;
            break;
        }
    }
    if (FStatusBar->Visible()) {
        Integer sh = FStatusBar->Height();
        switch (FCaption->Position()) {
        case cpTop:
            rect.Bottom = std::min<LONG>(rect.Bottom, Height() - sh);
            break;
        case cpLeft:
            rect.Right = std::min<LONG>(rect.Right, Width() - sh);
            break;
        case cpRight:
            rect.Left = std::max<LONG>(rect.Left, sh);
            break;
        }
    }
    TCustomPanel::AlignControls(control, rect);
}

void TCustomAdvPanel::DoAutoSize() {
    if (FAutoSize == nullptr || !FAutoSize->Enabled() || Loading())
        return;
    Integer bevel = BevelWidth();
    TRect box(0, 0, FAutoSize->Width() ? 65535 : Width() - 2 * bevel - (FBorderShadow ? 2 : 0),
              FAutoSize->Height() ? 65535 : Height() - 2 * bevel);
    Canvas()->Font()->Assign(Font());
    Integer tw = 0, th = 0;
    RenderText(Canvas(), FText, box, !FEllipsis, true, -1, tw, th);
    tw += 2 * BorderWidth();
    th += 2 * BorderWidth();
    if (FBorderShadow) {
        tw += 2;
        th += 2;
    }
    Integer bv = 2 * bevel;
    Integer sb = FStatusBar->Visible() ? FStatusBar->Height() : 0;
    TCaptionPosition side = FCaption->Position();
    if (FAutoSize->Width()) {
        if (side == cpTop)
            SetWidth(bv + tw + FIndent);
        else if (FCaption->Visible())
            SetWidth(FCaption->Height() + tw + sb + bv + FIndent);
        else
            SetWidth(sb + tw + bv + FIndent);
    }
    if (FAutoSize->Height()) {
        if (side != cpTop)
            SetHeight(bv + th + FTopIndent);
        else if (FCaption->Visible())
            SetHeight(FCaption->Height() + th + bv + FTopIndent + (sb != 0 ? sb + 2 * BorderWidth() : 0));
        else
            SetHeight(sb + th + bv + FTopIndent);
    }
    Synchronize();
}
