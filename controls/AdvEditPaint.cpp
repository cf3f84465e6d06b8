// The typed edit's caption label and its painted look: flat line or soft rectangle, coloured, focus and
// 3D borders, the grey placeholder, the wavy error marker, the drop caret and a transparent background.
#include "controls/AdvEdit.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"

using namespace AdvEdit;

DEFINE_CLASS(TEditLabel, PROPERTY(AlwaysEnable).Default(false))

TPoint EditLabelPlace(TLabelPosition position, const TRect& edit, TPoint labelSize, Integer margin,
                      Integer textWidth, Integer borderWidth) {
    const Integer e = edit.Left, t = edit.Top, w = edit.Width(), h = edit.Height();
    const Integer lw = labelSize.X, lh = labelSize.Y, m = margin;
    const Integer middle = lh < h ? t + (h - borderWidth - lh) / 2 : t - (borderWidth + lh - h) / 2;
    const Integer centre = w > lw ? e + (w - lw) / 2 : e - (lw - w) / 2;
    switch (position) {
    case lpLeftTop:
        return TPoint(e - textWidth - m, t);
    case lpLeftCenter:
        return TPoint(e - textWidth - m, middle);
    case lpLeftBottom:
        return TPoint(e - textWidth - m, t + h - lh);
    case lpTopLeft:
        return TPoint(e, t - lh - m);
    case lpBottomLeft:
        return TPoint(e, t + h + m);
    case lpLeftTopLeft:
        return TPoint(e - m, t);
    case lpLeftCenterLeft:
        return TPoint(e - m, middle);
    case lpLeftBottomLeft:
        return TPoint(e - m, t + h - lh);
    case lpTopCenter:
        return TPoint(centre, t - lh - m);
    case lpBottomCenter:
        return TPoint(centre, t + h + m);
    case lpRightTop:
        return TPoint(e + w + m, t);
    case lpRightCenter:
        return TPoint(e + w + m, middle);
    case lpRighBottom:
        return TPoint(e + w + m, t + h - lh);
    case lpTopRight:
        return TPoint(e + w - lw, t - lh - m);
    case lpBottomRight:
        break;
    }
    return TPoint(e + w - lw, t + h + m);
}

void MakeLabelRoom(TLabelPosition position, TAlign align, const TControl* label, Integer margin,
                   Integer& left, Integer& top, Integer& width) {
    if (label == nullptr)
        return;
    const Integer room = label->Width() + margin;
    switch (position) {
    case lpLeftTop:
    case lpLeftCenter:
    case lpLeftBottom:
        if (align == alTop || align == alBottom || align == alClient) {
            left += room;
            width -= room;
        }
        break;
    case lpTopLeft:
    case lpTopCenter:
    case lpTopRight:
        if (align == alTop || align == alLeft || align == alRight || align == alClient)
            top += label->Height();
        break;
    case lpRightTop:
    case lpRightCenter:
    case lpRighBottom:
        if (align == alTop || align == alBottom || align == alClient)
            width -= room;
        break;
    default:
        break;
    }
}

void SetLabelFontBold(TFont* font, bool bold) {
    TFontStyles style = font->Style();
    if (bold)
        style.Include(fsBold);
    else
        style.Exclude(fsBold);
    font->SetStyle(style);
}

void TEditLabel::CMEnabledChanged(TMessage& message) {
    TLabel::CMEnabledChanged(message);
    if (!Enabled() && FAlwaysEnable)
        SetEnabled(true);
}

// ---- The label ----

String TAdvEdit::LabelCaption() const {
    return FLabel != nullptr ? FLabel->Caption() : String();
}

void TAdvEdit::SetLabelCaption(const String& value) {
    if (FLabel == nullptr)
        CreateLabel();
    FLabel->SetCaption(value);
    UpdateLabel();
}

void TAdvEdit::CreateLabel() {
    FLabel = new TEditLabel(this);
    FLabel->SetParent(Parent());
    FLabel->SetFocusControl(this);
    FLabel->Font()->Assign(FLabelFont.get());
    FLabel->SetParentFont(ParentFont());
    FLabel->OnClick = [this](TObject*) {
        if (OnLabelClick)
            OnLabelClick(this);
    };
    FLabel->OnDblClick = [this](TObject*) {
        if (OnLabelDblClick)
            OnLabelDblClick(this);
    };
}

void TAdvEdit::UpdateLabel() {
    if (FLabel == nullptr || FLabel->Parent() == nullptr)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt && !FShowError ? Font() : FLabelFont.get());
    if (FLabel->Parent()->HandleAllocated())
        UpdateLabelPos();
}

void TAdvEdit::UpdateLabelPos() {
    if (FLabel == nullptr)
        return;
    RECT measure{0, 0, 1000, 255};
    String caption = FLabel->Caption();
    DrawTextW(FLabel->Canvas()->Handle(), caption.c_str(), static_cast<int>(caption.size()), &measure,
              DT_CALCRECT | DT_HIDEPREFIX);
    TPoint place = EditLabelPlace(FLabelPosition, TRect(Left(), Top(), Left() + Width(), Top() + Height()),
                                  TPoint(FLabel->Width(), FLabel->Height()), FLabelMargin,
                                  measure.right - measure.left, BorderStyle() == bsSingle ? 2 : 0);
    FLabel->SetBounds(place.X, place.Y, FLabel->Width(), FLabel->Height());
    FLabel->SetVisible(Visible());
}

void TAdvEdit::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    UpdateLabel();
}

void TAdvEdit::SetLabelMargin(Integer value) {
    FLabelMargin = value;
    UpdateLabel();
}

void TAdvEdit::SetLabelTransparent(bool value) {
    FLabelTransparent = value;
    UpdateLabel();
}

void TAdvEdit::SetLabelAlwaysEnabled(bool value) {
    FLabelAlwaysEnabled = value;
    if (FLabel == nullptr)
        return;
    if (value)
        FLabel->SetEnabled(true);
    FLabel->SetAlwaysEnable(value);
    FLabel->Repaint();
}

void TAdvEdit::SetLabelFont(TFont* value) {
    if (!ParentFont())
        FLabelFont->Assign(value);
    UpdateLabel();
}

void TAdvEdit::LabelFontChanged() {
    UpdateLabel();
    if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
        SetParentFont(false);
}

void TAdvEdit::SetLabelBold(bool bold) {
    if (FLabel == nullptr)
        return;
    SetLabelFontBold(FLabel->Font(), bold);
    UpdateLabelPos();
}

void TAdvEdit::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    // An aligned edit leaves room for its label.
    MakeLabelRoom(FLabelPosition, Align(), FLabel, FLabelMargin, left, top, width);
    TCustomEdit::SetBounds(left, top, width, height);
    if (FLabel != nullptr && FLabel->Parent() != nullptr)
        UpdateLabel();
    UpdateEditRect(FFlat);
}

void TAdvEdit::SetParent(TWinControl* parent) {
    TCustomEdit::SetParent(parent);
    if (FLabel != nullptr) {
        FLabel->SetParent(parent);
        UpdateLabel();
    }
}

void TAdvEdit::CMVisibleChanged(TMessage& message) {
    TCustomEdit::CMVisibleChanged(message);
    if (FLabel != nullptr)
        FLabel->SetVisible(Visible());
}

void TAdvEdit::CMFontChanged(TMessage& message) {
    TCustomEdit::CMFontChanged(message);
    const TComponentState state = ComponentState();
    if (FLabel != nullptr && (state.Contains(csDesigning) || state.Contains(csLoading)) && ParentFont() &&
        !FShowError)
        FLabel->Font()->Assign(Font());
    UpdateEditRect(FFlat);
}

void TAdvEdit::CMParentFontChanged(TMessage& message) {
    TCustomEdit::CMParentFontChanged(message);
    if (FLabel != nullptr && !FShowError && ParentFont()) {
        FLabel->Font()->Assign(Font());
        UpdateLabel();
    }
}

void TAdvEdit::ChangeScale(Integer m, Integer d) {
    TCustomEdit::ChangeScale(m, d);
    if (FLabel != nullptr && !ComponentState().Contains(csLoading))
        FLabel->Font()->SetSize(Font()->Size());
}

// ---- The look's settings ----

void TAdvEdit::UpdateEditRect(bool flat) {
    if (!HandleAllocated())
        return;
    const Integer s = Ctl3D() ? 0 : Font()->Size() / 3;
    TRect client = ClientRect();
    RECT r{};
    if (flat)
        r = RECT{s + FIndentL + 4, 3, client.Right - 4 - FIndentR - s, client.Bottom - 4};
    else
        r = RECT{s + FIndentL, 0, client.Right - FIndentR - s, client.Bottom};
    if (!Ctl3D()) {
        r.left += 1;
        r.right -= 1;
    }
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAdvEdit::SetFlat(bool value) {
    if (ComponentState().Contains(csLoading)) {
        FFlat = value;
        return;
    }
    if (FFlat == value)
        return;
    FFlat = value;
    if (value) {
        FNormalColor = Color();
        if (FFlatParentColor && Parent() != nullptr) {
            TControl::SetColor(Parent()->Color());
            FFocusColor = Parent()->Color();
        } else {
            TControl::SetColor(FNormalColor);
        }
        FOldBorder = BorderStyle();
        SetBorderStyle(bsNone);
        UpdateEditRect(true);
    } else {
        TControl::SetColor(FNormalColor);
        SetBorderStyle(FOldBorder);
        UpdateEditRect(false);
    }
    Invalidate();
}

void TAdvEdit::SetFlatLineColor(TColor value) {
    FFlatLineColor = value;
    Invalidate();
}

void TAdvEdit::SetFlatParentColor(bool value) {
    FFlatParentColor = value;
    Invalidate();
}

void TAdvEdit::SetSoftBorder(bool value) {
    FSoftBorder = value;
    Invalidate();
}

void TAdvEdit::SetBorderColor(TColor value) {
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    if (HandleAllocated())
        SendMessageW(Handle(), WM_NCPAINT, 1, 0);
}

void TAdvEdit::SetFocusBorder(bool value) {
    FFocusBorder = value;
    Invalidate();
}

void TAdvEdit::SetBorder3D(bool value) {
    FBorder3D = value;
    Invalidate();
}

void TAdvEdit::SetDisabledBorder(bool value) {
    if (FDisabledBorder == value)
        return;
    FDisabledBorder = value;
    Invalidate();
}

void TAdvEdit::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TAdvEdit::SetEmptyText(const String& value) {
    if (FEmptyText == value)
        return;
    FEmptyText = value;
    Invalidate();
}

void TAdvEdit::SetEmptyTextStyle(TFontStyles value) {
    FEmptyTextStyle = value;
    Invalidate();
}

void TAdvEdit::SetErrorMarkerPos(Integer value) {
    if (FErrorMarkerPos == value)
        return;
    FErrorMarkerPos = value;
    Invalidate();
}

void TAdvEdit::SetErrorMarkerLen(Integer value) {
    if (FErrorMarkerLen == value)
        return;
    FErrorMarkerLen = value;
    Invalidate();
}

void TAdvEdit::CMMouseEnter(TMessage& message) {
    TCustomEdit::CMMouseEnter(message);
    FMouseInControl = true;
    if (FFocusBorder)
        DrawBorder();
}

void TAdvEdit::CMMouseLeave(TMessage& message) {
    TCustomEdit::CMMouseLeave(message);
    FMouseInControl = false;
    if (FFocusBorder) {
        Invalidate();
        if (HandleAllocated())
            SendMessageW(Handle(), WM_NCPAINT, 1, 0);
    }
}

// ---- Painting ----

bool TAdvEdit::EmptyTextShown() {
    return Text().empty() && !FEmptyText.empty() && (FEmptyTextFocused || !Focused());
}

void TAdvEdit::WMPaint(TMessage& message) {
    TCustomEdit::WMPaint(message);
    DrawEditExtras();
}

void TAdvEdit::WMNCPaint(TMessage& message) {
    TCustomEdit::Dispatch(message);
    if (BorderWanted(false))
        DrawBorder();
}

void TAdvEdit::DrawEditExtras() {
    if (!HandleAllocated())
        return;
    HDC dc = GetDC(Handle());
    const Integer width = Width(), height = Height();
    if (FFlat) {
        if (FFocusBorder && Focused()) {
            PaintBorder(dc);
        } else if (FFlatLineColor != clNone) {
            HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(Enabled() ? FFlatLineColor : clGray));
            HGDIOBJ old = SelectObject(dc, pen);
            RECT r{};
            Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
            if (FSoftBorder) {
                const Integer left = r.left + FIndentL - 4;
                MoveToEx(dc, left, height - 1, nullptr);
                LineTo(dc, width - 1, height - 1);
                LineTo(dc, width - 1, r.top - 3);
                LineTo(dc, left, r.top - 3);
                LineTo(dc, left, height - 1);
            } else {
                MoveToEx(dc, r.left + FIndentL - 2, height - 1, nullptr);
                LineTo(dc, width - FIndentR, height - 1);
            }
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    }
    if (FCaretPos.X != -1 || FCaretPos.Y != -1) {
        TEXTMETRICW metrics{};
        HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, oldFont);
        RECT caret{FCaretPos.X, FCaretPos.Y, FCaretPos.X + 1, FCaretPos.Y + metrics.tmHeight};
        FillRect(dc, &caret, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    if (EmptyTextShown()) {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetColor(Color());
        canvas.Font()->Assign(Font());
        canvas.Font()->SetStyle(FEmptyTextStyle);
        canvas.Font()->SetColor(clGray);
        canvas.TextOut(Ctl3D() ? 3 : 6, 2, FEmptyText);
        canvas.SetHandle(nullptr);
    }
    if (!Focused() && FErrorMarkerLen > 0)
        DrawErrorMarker(dc, FErrorMarkerPos, FErrorMarkerLen);
    ReleaseDC(Handle(), dc);
    if (BorderWanted(true))
        DrawBorder();
}

void TAdvEdit::DrawErrorMarker(HDC dc, Integer pos, Integer len) {
    const Integer length = static_cast<Integer>(WindowText().size());
    if (length == 0)
        return;
    auto at = [&](Integer index) {
        LRESULT r = Perform(EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return TPoint(static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r)));
    };
    TPoint start = pos >= length ? at(length - 1) : at(pos);
    if (pos >= length)
        start.X += 4;
    TPoint end = pos + len >= length ? at(length - 1) : at(pos + len - 1);
    if (pos + len >= length) {
        end.X += 4;
        end.Y = start.Y;
    }
    SIZE gh{};
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    GetTextExtentPoint32W(dc, u"gh", 2, &gh);
    SelectObject(dc, oldFont);
    const Integer h = gh.cy - 1;
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    Integer x = start.X;
    bool low = true;
    MoveToEx(dc, x, start.Y + h + 3, nullptr);
    while (x <= end.X) {
        x += 3;
        LineTo(dc, x, low ? end.Y + h : end.Y + h + 3);
        low = !low;
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

bool TAdvEdit::BorderWanted(bool withBorder3D) const {
    return (withBorder3D && FBorder3D) || FFocusBorderColor != clNone || FBorderColor != clNone ||
           (!Enabled() && FDisabledBorder);
}

bool TAdvEdit::IsBorderHot() {
    if (ComponentState().Contains(csDesigning))
        return FFocusBorder && Enabled();
    return FBorder3D || (FFocusBorder && (FMouseInControl || Focused()));
}

void TAdvEdit::DrawBorder() {
    if (!HandleAllocated())
        return;
    if (!(!Enabled() || FFlat || FBorderColor != clNone || (FFocusBorder && FMouseInControl) || FBorder3D ||
          FFocusBorderColor != clNone))
        return;
    HDC dc = GetWindowDC(Handle());
    PaintBorder(dc);
    ReleaseDC(Handle(), dc);
}

void TAdvEdit::PaintBorder(HDC dc) {
    if (ComponentState().Contains(csDesigning) && FBorderColor == clNone)
        return;
    RECT window{};
    GetWindowRect(Handle(), &window);
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    const bool themed = IsComCtl6OrLater() && IsThemeActive();
    TColor c = FBorderColor;
    if (!Enabled() && themed && FDisabledBorder)
        c = clSilver;
    else if (Focused() && FFocusBorderColor != clNone)
        c = FFocusBorderColor;
    if (c != clNone) {
        HBRUSH brush = CreateSolidBrush(ColorToRGB(c));
        FrameRect(dc, &r, brush);
        DeleteObject(brush);
        return;
    }
    if (!Enabled() || (FFocusBorder && themed))
        return;
    if (IsBorderHot()) {
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
        FrameRect(dc, &r, face);
    } else {
        // The parent's colour over the standard border hides it.
        HBRUSH brush = CreateSolidBrush(ColorToRGB(Parent() != nullptr ? Parent()->Color() : clBtnFace));
        FrameRect(dc, &r, brush);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, brush);
        DeleteObject(brush);
    }
}

void TAdvEdit::PaintParentBackground(HDC dc) {
    TWinControl* parent = Parent();
    if (parent == nullptr)
        return;
    int saved = SaveDC(dc);
    POINT origin{};
    GetWindowOrgEx(dc, &origin);
    SetWindowOrgEx(dc, origin.x + Left(), origin.y + Top(), nullptr);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

void TAdvEdit::WMEraseBkgnd(TMessage& message) {
    if (!FTransparent) {
        TCustomEdit::WMEraseBkgnd(message);
        return;
    }
    PaintParentBackground(reinterpret_cast<HDC>(message.WParam));
    message.Result = 1;
}
