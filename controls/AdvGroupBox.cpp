// The styled group box: caption geometry, painting of the frame, caption and caption check box, and the
// check box's mouse handling and action on the children.
#include "controls/AdvGroupBox.h"

#include <algorithm>

#include "controls/ButtonGlyphs.h"
#include "platform/framework/Application.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/windraw.h"
#include "render/AdvStyleIF.h"
#include "render/VerIRID.h"

using AdvGroupBox::caCheckAll;
using AdvGroupBox::caControlsDisable;
using AdvGroupBox::caDisable;
using AdvGroupBox::cpBottomCenter;
using AdvGroupBox::cpBottomLeft;
using AdvGroupBox::cpBottomRight;
using AdvGroupBox::cpLeft;
using AdvGroupBox::cpRight;
using AdvGroupBox::cpTopCenter;
using AdvGroupBox::cpTopLeft;
using AdvGroupBox::cpTopRight;
using AdvGroupBox::TCaptionPosition;
using AdvGroupBox::TCheckBoxPos;

DEFINE_CLASS(TGroupBoxCheck, PROPERTY(Checked).Stored(false), PROPERTY(Position).Default(cpLeft),
             PROPERTY(Action).Default(caDisable), PROPERTY(Hint), PROPERTY(AllowGrayed).Default(false),
             PROPERTY(State).Default(cbUnchecked), PROPERTY(Themed).Default(true),
             PROPERTY(Visible).Default(false))
DEFINE_CLASS(TAdvCustomGroupBox)
DEFINE_CLASS(TAdvGroupBox, PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clSilver),
             PROPERTY(BorderStyle).Default(AdvGroupBox::bsSingle),
             PROPERTY(CaptionPosition).Default(cpTopLeft), PROPERTY(CheckBox), PROPERTY(Images),
             PROPERTY(ImageIndex).Default(-1), PROPERTY(Transparent).Default(true),
             PROPERTY(RoundEdges).Default(false), PROPERTY(Version).Stored(false),
             PROPERTY(BiDiMode).Default(bdLeftToRight), PROPERTY(Ctl3D).Default(false),
             PROPERTY(ParentBackground).Default(true), PROPERTY(ParentBiDiMode).Default(true),
             PROPERTY(ParentCtl3D).Default(false), EVENT(OnCheckBoxClick))

namespace {

// A windowed control whose protected painting of graphic children the group box may call for its
// parent: the member is named through this class, which gives access to it on any TWinControl.
class TWinCtrl : public TWinControl {
public:
    static void PaintCtrls(TWinControl* control, HDC dc, TControl* first) {
        (control->*(&TWinCtrl::PaintControls))(dc, first);
    }
};

// Themed glyphs need visual styles and a common-controls library of version 6 or later; the library's
// version does not change while the program runs, so it is read once.
bool ThemedGlyphsPossible() {
    static const bool possible = IsVistaOrLater() && IsComCtl6OrLater();
    return possible && VerIRID::IsThemeActive != nullptr && VerIRID::IsThemeActive();
}

bool Inside(const TRect& rect, int x, int y) {
    RECT r = rect;
    return PtInRect(&r, POINT{x, y}) != FALSE;
}

} // namespace

String VersionNumberText(Integer number) {
    auto part = [number](int shift) { return IntToStr((static_cast<unsigned>(number) >> shift) & 0xFF); };
    return part(24) + u"." + part(16) + u"." + part(8) + u"." + part(0);
}

// ---- TGroupBoxCheck ----

void TGroupBoxCheck::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TGroupBoxCheck*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    FHint = other->FHint;
    SetState(other->FState);
    FThemed = other->FThemed;
    FAllowGrayed = other->FAllowGrayed;
    FAction = other->FAction;
    SetChecked(other->Checked());
    SetPosition(other->FPosition);
}

void TGroupBoxCheck::Change() {
    if (OnChange)
        OnChange(this);
}

void TGroupBoxCheck::SetChecked(bool value) {
    if (value != Checked())
        SetState(value ? cbChecked : cbUnchecked);
}

void TGroupBoxCheck::SetPosition(TCheckBoxPos value) {
    if (FPosition == value)
        return;
    FPosition = value;
    Change();
}

void TGroupBoxCheck::SetHint(const String& value) {
    if (FHint == value)
        return;
    FHint = value;
    Change();
}

void TGroupBoxCheck::SetAllowGrayed(bool value) {
    if (FAllowGrayed == value)
        return;
    FAllowGrayed = value;
    Change();
}

void TGroupBoxCheck::SetState(TCheckBoxState value) {
    if (FState == value)
        return;
    FState = value;
    if (FGroupBox == nullptr)
        return;
    FGroupBox->DrawCheckBox();
    FGroupBox->ApplyCheckBoxAction();
    FGroupBox->DoCheckBoxClick();
}

void TGroupBoxCheck::SetThemed(bool value) {
    if (FThemed == value)
        return;
    FThemed = value;
    Change();
}

void TGroupBoxCheck::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    Change();
}

void TGroupBoxCheck::SetHot(bool value) {
    if (FHot == value)
        return;
    FHot = value;
    if (FGroupBox != nullptr)
        FGroupBox->DrawCheckBox();
}

void TGroupBoxCheck::SetDown(bool value) {
    if (FDown == value)
        return;
    FDown = value;
    if (FGroupBox != nullptr)
        FGroupBox->DrawCheckBox();
}

// ---- TAdvCustomGroupBox ----

TAdvCustomGroupBox::TAdvCustomGroupBox(TComponent* owner)
    : TCustomGroupBox(owner), FCheckBox(std::make_unique<TGroupBoxCheck>(this)) {
    AdvGroupBoxUnitStartup();
    SetCtl3D(false);
    SetParentCtl3D(false);
    FControlStyle -= TControlStyle{csOpaque};
    FCheckBox->OnChange = [this](TObject*) { Invalidate(); };
}

TAdvCustomGroupBox::~TAdvCustomGroupBox() = default;

void TAdvCustomGroupBox::SetBorderColor(TColor value) {
    if (FBorderColor == value)
        return;
    FBorderColor = value;
    Invalidate();
}

void TAdvCustomGroupBox::SetBorderStyle(AdvGroupBox::TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    Invalidate();
    Realign();
}

void TAdvCustomGroupBox::SetCaptionPosition(TCaptionPosition value) {
    if (FCaptionPosition == value)
        return;
    FCaptionPosition = value;
    Invalidate();
    Realign();
}

void TAdvCustomGroupBox::SetImages(TCustomImageList* value) {
    if (FImages == value)
        return;
    if (FImages != nullptr)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value != nullptr)
        value->FreeNotification(this);
    else
        FImageIndex = -1;
    Invalidate();
    Realign();
}

void TAdvCustomGroupBox::SetImageIndex(Integer value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    Invalidate();
    Realign();
}

void TAdvCustomGroupBox::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    Invalidate();
}

void TAdvCustomGroupBox::SetRoundEdges(bool value) {
    if (FRoundEdges == value)
        return;
    FRoundEdges = value;
    Invalidate();
}

String TAdvCustomGroupBox::Version() {
    return VersionNumberText(GetVersionNr());
}

Integer TAdvCustomGroupBox::GetVersionNr() {
    return 0x01010100;
}

void TAdvCustomGroupBox::DoCheckBoxClick() {
    if (OnCheckBoxClick)
        OnCheckBoxClick(this);
}

// ---- Geometry ----

bool TAdvCustomGroupBox::CaptionAtTop() const {
    return FCaptionPosition == cpTopLeft || FCaptionPosition == cpTopRight || FCaptionPosition == cpTopCenter;
}

void TAdvCustomGroupBox::GetCaptionRects(TRect& checkBoxRect, TRect& textRect, TRect& captionRect) {
    int textWidth = 0, textHeight = 0;
    String caption = Caption();
    if (!caption.empty()) {
        TSize extent = CaptionTextExtent(caption);
        textWidth = extent.cx;
        textHeight = extent.cy;
    }
    int imageWidth = 0, imageHeight = 0;
    if (FImages != nullptr && FImageIndex >= 0) {
        imageWidth = FImages->Width();
        imageHeight = FImages->Height();
    }
    int imageGap = textWidth > 0 && imageWidth > 0 ? 3 : 0;
    int checkSize = 0, checkGap = 0;
    if (FCheckBox->Visible()) {
        checkSize = FCheckBox->Themed() ? 16 : 14;
        checkGap = textWidth > 0 || imageWidth > 0 ? 3 : 0;
    }
    int h = std::max({textHeight, imageHeight, checkSize}) + 2;
    int w = textWidth + checkSize + checkGap + imageWidth + imageGap;

    switch (FCaptionPosition) {
    case cpTopLeft:
    case cpBottomLeft:
        captionRect.Left = 8;
        break;
    case cpTopRight:
    case cpBottomRight:
        captionRect.Left = Width() - w - 8;
        break;
    case cpTopCenter:
    case cpBottomCenter:
        // Integer division towards zero: a caption wider than the box starts left of it.
        captionRect.Left = (Width() - w) / 2;
        break;
    }
    captionRect.Right = captionRect.Left + w;
    captionRect.Top = CaptionAtTop() ? 0 : Height() - h;
    captionRect.Bottom = captionRect.Top + h;

    textRect = captionRect;
    checkBoxRect = TRect(-1, -1, -1, -1);
    if (FCheckBox->Visible()) {
        checkBoxRect.Top = captionRect.Top + (h - checkSize) / 2;
        checkBoxRect.Bottom = checkBoxRect.Top + checkSize;
        if (FCheckBox->Position() == cpRight) {
            checkBoxRect.Left = captionRect.Right - checkSize;
            checkBoxRect.Right = captionRect.Right;
            textRect.Right = checkBoxRect.Left - checkGap;
        } else {
            checkBoxRect.Left = captionRect.Left;
            checkBoxRect.Right = captionRect.Left + checkSize;
            textRect.Left = checkBoxRect.Right + checkGap;
        }
    }
}

TSize TAdvCustomGroupBox::CaptionTextExtent(const String& caption) {
    // Painting, hit tests and the children's area all ask for the caption's size; it is measured again
    // only when the text or the font changed.
    TFont* font = Font();
    FontKey key{font->Name(),    font->Height(), font->Style().Bits(),
                font->Charset(), font->Pitch(),  font->Orientation()};
    if (caption == FMeasuredCaption && key == FMeasuredFont)
        return FMeasuredExtent;
    // Measured on a screen device context: the children are aligned before the box has a window.
    RECT measured{0, 0, 1000, 100};
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font->Handle());
    DrawTextW(screen, caption.c_str(), static_cast<int>(caption.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    FMeasuredCaption = caption;
    FMeasuredFont = key;
    FMeasuredExtent = TSize{measured.right - measured.left, measured.bottom - measured.top};
    return FMeasuredExtent;
}

bool TAdvCustomGroupBox::HasCaption() {
    return !Caption().empty() || FCheckBox->Visible() || (FImageIndex >= 0 && FImages != nullptr);
}

Integer TAdvCustomGroupBox::FrameWidth() {
    switch (FBorderStyle) {
    case AdvGroupBox::bsNone:
        return 1;
    case AdvGroupBox::bsSingle:
        return Ctl3D() ? 2 : 1;
    case AdvGroupBox::bsDouble:
        return Ctl3D() ? 4 : 2;
    }
    return 1;
}

Integer TAdvCustomGroupBox::CaptionHeight() {
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    return std::max(captionRect.Height(), FrameWidth());
}

TRect TAdvCustomGroupBox::FrameRect() {
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    return FrameRectFor(captionRect);
}

TRect TAdvCustomGroupBox::FrameRectFor(const TRect& captionRect) {
    TRect frame = ClientRect();
    if (!HasCaption())
        return frame;
    int captionHeight = std::max(captionRect.Height(), FrameWidth());
    if (CaptionAtTop()) {
        frame.Top += captionHeight / 2;
    } else {
        frame.Bottom -= captionHeight / 2;
        if (FBorderStyle == AdvGroupBox::bsDouble)
            frame.Bottom += 1;
    }
    return frame;
}

void TAdvCustomGroupBox::AdjustClientRect(TRect& rect) {
    // The framework's group box reserves a line of text; this one reserves what its caption takes.
    int border = FrameWidth();
    int caption = std::max(CaptionHeight(), border);
    if (CaptionAtTop()) {
        rect.Top += caption;
        rect.Bottom -= border;
    } else {
        rect.Bottom -= caption;
        rect.Top += border;
    }
    rect.Left += border;
    rect.Right -= border;
    rect.Left += 1;
    rect.Top += 1;
    rect.Right -= 1;
    rect.Bottom -= 1;
}

// ---- Painting ----

void TAdvCustomGroupBox::PaintWindow(HDC dc) {
    HDC outer = FPaintDC;
    FPaintDC = dc;
    try {
        TCustomControl::PaintWindow(dc);
    } catch (...) {
        FPaintDC = outer;
        throw;
    }
    FPaintDC = outer;
}

HDC TAdvCustomGroupBox::PaintDC() {
    return FPaintDC != nullptr ? FPaintDC : Canvas()->Handle();
}

void TAdvCustomGroupBox::PaintParentBackground() {
    TWinControl* parent = Parent();
    if (parent == nullptr || !parent->HandleAllocated())
        return;
    // The parent paints with its own canvas: this one's objects need not be in the DC.
    HDC dc = PaintDC();
    int saved = SaveDC(dc);
    // The parent draws in its own client coordinates: its point at our top-left lands at our origin.
    POINT origin{};
    GetWindowOrgEx(dc, &origin);
    TPoint offset = parent->ScreenToClient(ClientOrigin());
    SetWindowOrgEx(dc, origin.x + offset.X, origin.y + offset.Y, nullptr);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    TWinCtrl::PaintCtrls(parent, dc, nullptr);
    RestoreDC(dc, saved);
}

void TAdvCustomGroupBox::DrawCheckBox() {
    if (!FCheckBox->Visible() || !HandleAllocated())
        return;
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    DrawCheckBoxAt(checkBoxRect);
}

void TAdvCustomGroupBox::DrawCheckBoxAt(const TRect& checkBoxRect) {
    if (!FCheckBox->Visible())
        return;
    TCanvas* canvas = Canvas();
    if (FCheckBox->Themed() && ThemedGlyphsPossible()) {
        if (HTHEME theme = VerIRID::OpenThemeData(Handle(), u"button"); theme != nullptr) {
            int state = FCheckBox->State() == cbChecked ? 5 : FCheckBox->State() == cbGrayed ? 9 : 1;
            if (!Enabled())
                state += 3;
            else if (FCheckBox->Down())
                state += 2;
            else if (FCheckBox->Hot())
                state += 1;
            RECT r = checkBoxRect;
            VerIRID::DrawThemeBackground(theme, canvas->Handle(), 3, state, &r, nullptr);
            VerIRID::CloseThemeData(theme);
            return;
        }
    }
    String name = FCheckBox->State() == cbChecked  ? u"QELGRPC"
                  : FCheckBox->State() == cbGrayed ? u"QELGRPG"
                                                   : u"QELGRPU";
    if (FCheckBox->Down())
        name += u"D";
    else if (FCheckBox->Hot())
        name += u"H";
    DrawButtonGlyph(canvas, checkBoxRect.Left, checkBoxRect.Top, name);
}

void TAdvCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    if (FTransparent)
        PaintParentBackground();
    // Measured once: the caption's parts serve the check box, the text and the frame alike.
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    // A child that paints this box beneath itself asks for its own small area only: what lies wholly
    // outside the clip is not drawn at all.
    RECT clip{};
    bool clipped = GetClipBox(PaintDC(), &clip) != ERROR;
    auto visible = [&](const TRect& r) {
        return !clipped ||
               (r.Left < clip.right && clip.left < r.Right && r.Top < clip.bottom && clip.top < r.Bottom);
    };
    TRect frame = FrameRectFor(captionRect);
    TRect frameInside(frame.Left + 4, frame.Top + 4, frame.Right - 4, frame.Bottom - 4);
    bool frameVisible = !clipped || clip.left < frameInside.Left || clip.top < frameInside.Top ||
                        clip.right > frameInside.Right || clip.bottom > frameInside.Bottom;
    if (!visible(TRect(captionRect.Left - 1, captionRect.Top, captionRect.Right + 1, captionRect.Bottom))) {
        if (frameVisible)
            PaintFrame(frame);
        return;
    }

    DrawCheckBoxAt(checkBoxRect);
    if (FImages != nullptr && FImageIndex >= 0) {
        FImages->Draw(canvas, textRect.Left, textRect.Top, FImageIndex, Enabled());
        textRect.Left += FImages->Width() + 3;
    }
    String caption = Caption();
    if (!caption.empty()) {
        // The control's own font object is selected as it is: copying it into the canvas would make a
        // new font on every paint.
        HDC dc = canvas->Handle();
        int saved = SaveDC(dc);
        SelectObject(dc, Font()->Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGray));
        RECT r = textRect;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        RestoreDC(dc, saved);
    }
    // The frame's line stops at the caption: the caption's area, one pixel wider on each side, is left
    // out of the frame's drawing, so the caption stays as it was drawn.
    if (!frameVisible)
        return;
    if (!HasCaption()) {
        PaintFrame(frame);
        return;
    }
    HDC dc = canvas->Handle();
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, captionRect.Left - 1, captionRect.Top, captionRect.Right + 1, captionRect.Bottom);
    PaintFrame(frame);
    RestoreDC(dc, saved);
}

void TAdvCustomGroupBox::PaintFrame(const TRect& frame) {
    TCanvas* canvas = Canvas();
    auto shape = [&](const TRect& r) {
        if (FRoundEdges)
            canvas->RoundRect(r, 6, 6);
        else
            canvas->Rectangle(r);
    };
    canvas->Brush()->SetStyle(bsClear);
    switch (FBorderStyle) {
    case AdvGroupBox::bsNone:
        break;
    case AdvGroupBox::bsSingle:
        canvas->Pen()->SetColor(FBorderColor);
        shape(frame);
        break;
    case AdvGroupBox::bsDouble:
        if (Ctl3D()) {
            for (TRect r : {frame, TRect(frame.Left + 2, frame.Top + 2, frame.Right - 2, frame.Bottom - 2)}) {
                canvas->Pen()->SetColor(clWhite);
                shape(TRect(r.Left + 1, r.Top + 1, r.Right, r.Bottom));
                canvas->Pen()->SetColor(clGray);
                shape(TRect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
            }
        } else {
            canvas->Pen()->SetColor(FBorderColor);
            shape(frame);
            shape(TRect(frame.Left + 2, frame.Top + 2, frame.Right - 2, frame.Bottom - 2));
        }
        break;
    }
}

// ---- Caption check box ----

bool TAdvCustomGroupBox::CheckBoxActs() {
    return !ComponentState().Contains(csDesigning) && FCheckBox->Visible() &&
           FCheckBox->Action() != AdvGroupBox::caNone;
}

void TAdvCustomGroupBox::ApplyCheckBoxAction() {
    if (ComponentState().Contains(csDesigning) || !Enabled() || !FCheckBox->Visible() ||
        FCheckBox->State() == cbGrayed || FCheckBox->Action() == AdvGroupBox::caNone)
        return;
    bool checked = FCheckBox->State() == cbChecked;
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        switch (FCheckBox->Action()) {
        case caDisable:
        case caControlsDisable:
            child->SetEnabled(checked);
            break;
        case caCheckAll:
            if (auto* box = dynamic_cast<TCustomCheckBox*>(child)) {
                box->SetChecked(checked);
            } else if (auto* control = dynamic_cast<TWinControl*>(child);
                       control != nullptr && UpperCase(control->ClassName()) == u"TADVOFFICECHECKBOX") {
                // Only that exact class answers the message; its descendants are left alone.
                control->Perform(BM_SETCHECK, checked ? 1 : 0, 0);
            }
            break;
        case AdvGroupBox::caNone:
            break;
        }
    }
}

void TAdvCustomGroupBox::CreateWnd() {
    TCustomGroupBox::CreateWnd();
    if (CheckBoxActs())
        ApplyCheckBoxAction();
}

void TAdvCustomGroupBox::Loaded() {
    TCustomGroupBox::Loaded();
    if (CheckBoxActs())
        ApplyCheckBoxAction();
}

void TAdvCustomGroupBox::Notification(TComponent* component, TOperation operation) {
    TCustomGroupBox::Notification(component, operation);
    if (operation == opRemove && component == FImages)
        SetImages(nullptr);
}

// The caption check box reacts to the mouse only outside the designer, when the box is enabled and
// the check box shows.
void TAdvCustomGroupBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomGroupBox::MouseDown(button, shift, x, y);
    if (ComponentState().Contains(csDesigning) || !Enabled() || !FCheckBox->Visible())
        return;
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    FCheckBox->SetDown(Inside(checkBoxRect, x, y));
    SetMouseCapture(FCheckBox->Down());
}

void TAdvCustomGroupBox::MouseMove(TShiftState shift, int x, int y) {
    TCustomGroupBox::MouseMove(shift, x, y);
    if (ComponentState().Contains(csDesigning) || !Enabled() || !FCheckBox->Visible())
        return;
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    FCheckBox->SetHot(Inside(checkBoxRect, x, y));
    if (MouseCapture())
        FCheckBox->SetDown(FCheckBox->Hot());
}

void TAdvCustomGroupBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomGroupBox::MouseUp(button, shift, x, y);
    if (ComponentState().Contains(csDesigning) || !Enabled() || !FCheckBox->Visible() || !FCheckBox->Down())
        return;
    SetMouseCapture(false);
    FCheckBox->SetDown(false);
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    if (!Inside(checkBoxRect, x, y))
        return;
    if (!FCheckBox->AllowGrayed()) {
        FCheckBox->SetChecked(!FCheckBox->Checked());
        return;
    }
    switch (FCheckBox->State()) {
    case cbUnchecked:
        FCheckBox->SetState(cbGrayed);
        break;
    case cbGrayed:
        FCheckBox->SetState(cbChecked);
        break;
    case cbChecked:
        FCheckBox->SetState(cbUnchecked);
        break;
    }
}

void TAdvCustomGroupBox::CMEnabledChanged(TMessage& message) {
    TCustomGroupBox::CMEnabledChanged(message);
    Invalidate();
    if (FCheckBox->Action() != caDisable)
        return;
    FCheckBox->SetChecked(Enabled());
    for (Integer i = 0; i < ControlCount(); ++i)
        Controls(i)->SetEnabled(Enabled());
}

void TAdvCustomGroupBox::CMHintShow(TMessage& message) {
    auto* info = reinterpret_cast<THintInfo*>(message.LParam);
    TRect checkBoxRect, textRect, captionRect;
    GetCaptionRects(checkBoxRect, textRect, captionRect);
    if (info != nullptr && Inside(checkBoxRect, info->CursorPos.X, info->CursorPos.Y) &&
        !FCheckBox->Hint().empty())
        info->HintStr = FCheckBox->Hint();
    message.Result = 0;
}

void TAdvCustomGroupBox::CMMouseEnter(TMessage& message) {
    TCustomGroupBox::CMMouseEnter(message);
}

void TAdvCustomGroupBox::CMMouseLeave(TMessage& message) {
    TCustomGroupBox::CMMouseLeave(message);
    if (Enabled() && FCheckBox->Visible()) {
        FCheckBox->SetHot(false);
        FCheckBox->SetDown(false);
    }
}

void AdvGroupBoxUnitStartup() {
    static const bool started = [] {
        VerIRID::BindThemeLibrary();
        RegisterButtonGlyphs();
        // A name another class took already ends the registration; the box works without it.
        try {
            RegisterClass(TAdvGroupBox::StaticClass());
        } catch (const Exception&) {
        }
        return true;
    }();
    (void)started;
}
