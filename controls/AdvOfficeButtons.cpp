// The Office-style check box (glyph, caption, background, mouse, keys, accelerators, anchors and its
// action link), the published properties of both buttons, and what the two buttons share.
#include "controls/AdvOfficeButtons.h"

#include "controls/AdvOfficeButtonsShared.h"
#include "controls/ButtonGlyphs.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/shell.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/windraw.h"
#include "render/AdvStyleIF.h"
#include "render/CaptionHTML.h"
#include "render/VerIRID.h"

#define OFFICE_BUTTON_PROPERTIES                                                                             \
    PROPERTY(Action), PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(ButtonVertAlign).Default(tvaTop), \
        PROPERTY(Caption), PROPERTY(DisabledFontColor).Type(TypeInfoColor()).Default(clGray),                \
        PROPERTY(Down).Default(false), PROPERTY(Ellipsis).Default(false), PROPERTY(Images),                  \
        PROPERTY(PictureContainer), PROPERTY(ReturnIsTab).Default(false),                                    \
        PROPERTY(ShadowColor).Type(TypeInfoColor()).Default(clGray), PROPERTY(ShadowOffset).Default(1),      \
        PROPERTY(ShowFocus).Default(true), PROPERTY(Themed).Default(false),                                  \
        PROPERTY(URLColor).Type(TypeInfoColor()).Default(clBlue), PROPERTY(Version).Stored(false),           \
        PROPERTY(BiDiMode).Default(bdLeftToRight), PROPERTY(ParentBiDiMode).Default(true),                   \
        EVENT(OnAnchorClick), EVENT(OnAnchorEnter), EVENT(OnAnchorExit)

DEFINE_CLASS(TAdvOfficeButton)
DEFINE_CLASS(TCustomAdvOfficeCheckBox)
DEFINE_CLASS(TAdvOfficeCheckBox, OFFICE_BUTTON_PROPERTIES,
             PROPERTY_RW(Checked, GetChecked, SetChecked).Stored(false), PROPERTY(ReadOnly).Default(false),
             PROPERTY(State).Default(cbUnchecked), PROPERTY(TabStop).Default(false))
DEFINE_CLASS(TCustomAdvOfficeRadioButton)
DEFINE_CLASS(TAdvOfficeRadioButton, OFFICE_BUTTON_PROPERTIES, PROPERTY(Checked).Default(false),
             PROPERTY(GroupIndex).Default(0), PROPERTY(TabStop).Default(true))
DEFINE_CLASS(TAdvOfficeCheckBoxActionLink)
DEFINE_CLASS(TAdvOfficeRadioButtonActionLink)

namespace OfficeButtons {

// Themed glyphs need visual styles and a common-controls library of version 6 or later; the version
// does not change while the program runs.
bool ThemedGlyphs(bool themed) {
    static const bool possible = IsXPOrLater() && IsComCtl6OrLater();
    return themed && possible && VerIRID::IsThemeActive != nullptr && VerIRID::IsThemeActive();
}

bool InsideEdges(TControl* control, int x, int y) {
    return x >= 0 && x <= control->Width() && y >= 0 && y <= control->Height();
}

bool CaptionCall::Run(TRect rect, bool hitTest, bool measure, TColor anchorColor, int x, int y,
                      Integer& width, Integer& height, String& anchor) const {
    String plain, detail;
    Integer anchorCount = 0, mouseAnchor = -1;
    TRect hover;
    return RenderCaptionHTML(canvas, text, rect, images, x, y, -1, -1, shadowOffset, hitTest, measure, false,
                             false, true, false, wordWrap, 1.0, anchorColor, clNone, clNone, shadowColor,
                             anchor, plain, detail, width, height, anchorCount, mouseAnchor, hover, cache,
                             container, 0, biDiMode, measures);
}

namespace {

// The parent's painting beneath a control, into dc (which shows the control's client area).
void PaintParentInto(TControl* control, HDC dc) {
    TWinControl* parent = control->Parent();
    if (parent == nullptr)
        return;
    if (auto* group = dynamic_cast<TAdvOfficeButtonGroup*>(parent);
        group != nullptr && group->DrawPictureBeneath(control, dc))
        return;
    int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control->Left(), origin.y - control->Top(), nullptr);
    TRect client = parent->ClientRect();
    IntersectClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

} // namespace

void PaintButtonBackground(TCustomControl* control, TCanvas* canvas, bool caching, TBitmap& cacheBitmap,
                           bool& cacheValid) {
    if (!caching) {
        PaintParentInto(control, canvas->Handle());
        return;
    }
    if (!cacheValid) {
        cacheBitmap.SetSize(control->Width(), control->Height());
        PaintParentInto(control, cacheBitmap.Canvas()->Handle());
        cacheValid = true;
    }
    canvas->Draw(0, 0, &cacheBitmap);
}

void TakeFont(TCanvas* canvas, TFont* font) {
    TFont* current = canvas->Font();
    if (current->Name() == font->Name() && current->Height() == font->Height() &&
        current->Style() == font->Style() && current->Color() == font->Color() &&
        current->Charset() == font->Charset() && current->Pitch() == font->Pitch() &&
        current->Orientation() == font->Orientation())
        return;
    current->Assign(font);
}

bool OpenLink(HWND hwnd, const String& anchor) {
    if (anchor.find(u"://") == String::npos && anchor.find(u"mailto:") == String::npos)
        return false;
    ShellExecuteW(hwnd, u"open", anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

} // namespace OfficeButtons

using namespace OfficeButtons;

// ======== TAdvOfficeButton ========

TAdvOfficeButton::TAdvOfficeButton(TComponent* owner)
    : TCustomControl(owner), FImageCache(std::make_unique<THTMLPictureCache>()),
      FBkgBmp(std::make_unique<TBitmap>()), FCaptionMeasures(std::make_unique<CaptionMeasures>()) {
    AdvOfficeButtonsUnitStartup();
}

TAdvOfficeButton::~TAdvOfficeButton() = default;

void TAdvOfficeButton::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TAdvOfficeButton::SetButtonVertAlign(TTextVAlignment value) {
    if (FBtnVAlign == value)
        return;
    FBtnVAlign = value;
    Invalidate();
}

void TAdvOfficeButton::SetCaption(const String& value) {
    TControl::SetCaption(value);
    FCaption = value;
    Invalidate();
}

void TAdvOfficeButton::SetDisabledFontColor(TColor value) {
    if (FDisabledFontColor == value)
        return;
    FDisabledFontColor = value;
    Invalidate();
}

void TAdvOfficeButton::SetEllipsis(bool value) {
    if (FEllipsis == value)
        return;
    FEllipsis = value;
    Invalidate();
}

void TAdvOfficeButton::SetImages(TCustomImageList* value) {
    if (FImages != nullptr)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value != nullptr)
        value->FreeNotification(this);
    Invalidate();
}

void TAdvOfficeButton::SetPictureContainer(TPictureContainer* value) {
    if (FContainer != nullptr)
        FContainer->RemoveFreeNotification(this);
    FContainer = value;
    if (value != nullptr)
        value->FreeNotification(this);
    Invalidate();
}

void TAdvOfficeButton::SetReturnIsTab(bool value) {
    if (FReturnIsTab == value)
        return;
    FReturnIsTab = value;
    Invalidate();
}

void TAdvOfficeButton::SetShadowColor(TColor value) {
    if (FShadowColor == value)
        return;
    FShadowColor = value;
    Invalidate();
}

void TAdvOfficeButton::SetShadowOffset(Integer value) {
    if (FShadowOffset == value)
        return;
    FShadowOffset = value;
    Invalidate();
}

void TAdvOfficeButton::SetShowFocus(bool value) {
    if (FShowFocus == value)
        return;
    FShowFocus = value;
    Invalidate();
}

void TAdvOfficeButton::SetThemed(bool value) {
    if (FThemed == value)
        return;
    FThemed = value;
    Invalidate();
}

void TAdvOfficeButton::SetTransparentChaching(bool value) {
    if (FTransparentCaching == value)
        return;
    FTransparentCaching = value;
    FBkgCache = false;
    Invalidate();
}

void TAdvOfficeButton::SetURLColor(TColor value) {
    if (FURLColor == value)
        return;
    FURLColor = value;
    Invalidate();
}

String TAdvOfficeButton::Version() {
    return VersionNumberText(GetVersionNr());
}

Integer TAdvOfficeButton::GetVersionNr() {
    return VersionNumber;
}

void TAdvOfficeButton::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    TCustomControl::SetBounds(left, top, width, height);
    FBkgCache = false;
    Repaint();
}

void TAdvOfficeButton::Loaded() {
    TCustomControl::Loaded();
    FOldCursor = Cursor();
}

void TAdvOfficeButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImages)
        FImages = nullptr;
    if (component == FContainer)
        FContainer = nullptr;
}

void TAdvOfficeButton::WMEraseBkgnd(TMessage& message) {
    // A group's own item paints the group's picture over all of itself first thing: an erase beneath
    // that picture would never be seen.
    if (!FTransparentCaching) {
        auto* group = dynamic_cast<TAdvOfficeButtonGroup*>(Parent());
        if (group != nullptr && group->PictureCovers(this, reinterpret_cast<HDC>(message.WParam)) &&
            (dynamic_cast<TGroupCheck*>(this) != nullptr ||
             dynamic_cast<TAdvGroupButton*>(this) != nullptr)) {
            message.Result = 1;
            return;
        }
    }
    TCustomControl::WMEraseBkgnd(message);
}

void TAdvOfficeButton::PaintBackground() {
    PaintButtonBackground(this, Canvas(), FTransparentCaching, *FBkgBmp, FBkgCache);
}

bool TAdvOfficeButton::RightAligned() const {
    return FAlignment == taRightJustify || UseRightToLeftAlignment();
}

void TAdvOfficeButton::CMMouseEnter(TMessage& message) {
    TCustomControl::CMMouseEnter(message);
    FHot = true;
    if (HandleAllocated())
        DrawGlyph();
}

void TAdvOfficeButton::CMMouseLeave(TMessage& message) {
    TCustomControl::CMMouseLeave(message);
    FHot = false;
    if (HandleAllocated())
        DrawGlyph();
}

void TAdvOfficeButton::DoExit() {
    TCustomControl::DoExit();
    FFocused = false;
    Invalidate();
}

void TAdvOfficeButton::CMEnabledChanged(TMessage& message) {
    TCustomControl::CMEnabledChanged(message);
    Invalidate();
}

void TAdvOfficeButton::DoEnter() {
    TCustomControl::DoEnter();
    FFocused = true;
    Invalidate();
}

String TAdvOfficeButton::AnchorAt(int x, int y, TBiDiMode biDiMode) {
    Integer width = 0, height = 0;
    String anchor;
    CaptionCall call{Canvas(),      FCaption,     FImages,    FContainer, FImageCache.get(),
                     FShadowOffset, FShadowColor, !FEllipsis, biDiMode,   FCaptionMeasures.get()};
    TRect rect = ClientRect();
    rect.Left += 17;
    rect.Top += 4;
    if (!call.Run(rect, true, false, FURLColor, x, y, width, height, anchor))
        anchor.clear();
    return anchor;
}

bool TAdvOfficeButton::ClickAnchor(int x, int y, TBiDiMode biDiMode) {
    String anchor = AnchorAt(x, y, biDiMode);
    if (anchor.empty())
        return false;
    if (!OpenLink(Handle(), anchor) && OnAnchorClick)
        OnAnchorClick(this, anchor);
    return true;
}

void TAdvOfficeButton::TrackAnchor(int x, int y, TBiDiMode biDiMode) {
    if (!FFocused)
        return;
    if (String anchor = AnchorAt(x, y, biDiMode); !anchor.empty()) {
        if (Cursor() == crDefault || anchor != FAnchor) {
            FAnchor = anchor;
            SetCursor(crHandPoint);
            if (OnAnchorEnter)
                OnAnchorEnter(this, anchor);
        }
    } else if (Cursor() == crHandPoint) {
        SetCursor(FOldCursor);
        if (OnAnchorExit)
            OnAnchorExit(this, FAnchor);
        FAnchor.clear();
    }
}

void TAdvOfficeButton::ReturnAsTab(Word& key) {
    if (key == VK_RETURN && FReturnIsTab) {
        key = VK_TAB;
        PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
}

void TAdvOfficeButton::DrawStateGlyph(int themePart, int themeState, const String& bitmapName,
                                      const std::function<int(int height, bool themed)>& glyphTop) {
    TCanvas* canvas = Canvas();
    TRect client = ClientRect();
    if (ThemedGlyphs(FThemed)) {
        if (HTHEME theme = VerIRID::OpenThemeData(Handle(), u"button"); theme != nullptr) {
            int top = glyphTop(16, true);
            int left = RightAligned() ? client.Right - 17 : 0;
            int state = themeState;
            if (!Enabled())
                state += 3;
            else if (FDown)
                state += 2;
            else if (FHot)
                state += 1;
            RECT r{left, top, left + 16, top + 16};
            VerIRID::DrawThemeBackground(theme, canvas->Handle(), themePart, state, &r, nullptr);
            VerIRID::CloseThemeData(theme);
            return;
        }
    }
    String name = bitmapName;
    if (FDown)
        name += u"D";
    else if (FHot)
        name += u"H";
    TBitmap* glyph = ButtonGlyph(name);
    if (glyph == nullptr)
        return;
    int top = glyphTop(glyph->Height(), false);
    int left = RightAligned() ? client.Right - glyph->Width() - 1 : 0;
    canvas->Draw(left, top, glyph);
}

void TAdvOfficeButton::PaintCaption(TRect& rect, TBiDiMode biDiMode, TColor shadowAnchorColor,
                                    TColor textAnchorColor, Integer& width, Integer& height) {
    TCanvas* canvas = Canvas();
    String anchor;
    CaptionCall call{canvas,        FCaption,     FImages,    FContainer, FImageCache.get(),
                     FShadowOffset, FShadowColor, !FEllipsis, biDiMode,   FCaptionMeasures.get()};
    if (BiDiMode() != bdRightToLeft || FCaption.find(u"</") != String::npos) {
        // Painting reports the caption's size too: a measuring pass first serves only the right-to-left
        // placement.
        if (UseRightToLeftAlignment()) {
            call.Run(rect, false, true, FURLColor, 0, 0, width, height, anchor);
            rect.Left = rect.Right - width - 3;
        }
        if (Enabled()) {
            call.Run(rect, false, false, FURLColor, 0, 0, width, height, anchor);
        } else {
            TColor color = Font()->Color();
            canvas->Font()->SetColor(clWhite);
            call.Run(TRect(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1), false, false,
                     shadowAnchorColor, 0, 0, width, height, anchor);
            canvas->Font()->SetColor(FDisabledFontColor);
            call.Run(rect, false, false, textAnchorColor, 0, 0, width, height, anchor);
            canvas->Font()->SetColor(color);
        }
    } else {
        // Right-to-left text without markup is plain text, right-aligned.
        canvas->Brush()->SetStyle(bsClear);
        RECT r = rect;
        width = canvas->TextWidth(FCaption);
        height = canvas->TextHeight(FCaption);
        if (!Enabled()) {
            RECT shadow{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
            SetTextColor(canvas->Handle(), ColorToRGB(clWhite));
            DrawTextW(canvas->Handle(), FCaption.c_str(), static_cast<int>(FCaption.size()), &shadow,
                      DT_RIGHT);
            canvas->Font()->SetColor(FDisabledFontColor);
        }
        SetTextColor(canvas->Handle(), ColorToRGB(canvas->Font()->Color()));
        DrawTextW(canvas->Handle(), FCaption.c_str(), static_cast<int>(FCaption.size()), &r, DT_RIGHT);
    }
}

// ======== TCustomAdvOfficeCheckBox ========

TCustomAdvOfficeCheckBox::TCustomAdvOfficeCheckBox(TComponent* owner) : TAdvOfficeButton(owner) {
    // Without click events: a click is this control's own decision (MouseUp), never the framework's.
    FControlStyle -= TControlStyle{csClickEvents};
    SetBounds(0, 0, 120, 20);
}

TCustomAdvOfficeCheckBox::~TCustomAdvOfficeCheckBox() = default;

bool TCustomAdvOfficeCheckBox::GetChecked() {
    return FState == cbChecked;
}

void TCustomAdvOfficeCheckBox::SetChecked(bool value) {
    if (value == GetChecked())
        return;
    FState = value ? cbChecked : cbUnchecked;
    Invalidate();
}

void TCustomAdvOfficeCheckBox::SetState(TCheckBoxState value) {
    if (FState == value)
        return;
    FState = value;
    if (HandleAllocated() && Parent() != nullptr) {
        RECT strip = GlyphStrip(20);
        InvalidateRect(Handle(), &strip, TRUE);
    }
}

void TCustomAdvOfficeCheckBox::Toggle() {
    if (FReadOnly)
        return;
    FInternalClick = true;
    if (FAllowGrayed) {
        switch (FState) {
        case cbUnchecked:
            SetState(cbGrayed);
            break;
        case cbGrayed:
            SetState(cbChecked);
            break;
        case cbChecked:
            SetState(cbUnchecked);
            break;
        }
    } else {
        SetChecked(!GetChecked());
    }
    FInternalClick = false;
}

TRect TCustomAdvOfficeCheckBox::GlyphStrip(int width) {
    TRect client = ClientRect();
    if (FAlignment == taRightJustify)
        client.Left = client.Right - width;
    else
        client.Right = width;
    return client;
}

void TCustomAdvOfficeCheckBox::SetReadOnly(bool value) {
    if (FReadOnly == value)
        return;
    FReadOnly = value;
    Invalidate();
}

// ---- Painting ----

void TCustomAdvOfficeCheckBox::DrawGlyph() {
    TRect client = ClientRect();
    DrawStateGlyph(3,
                   FState == cbChecked  ? 5
                   : FState == cbGrayed ? 9
                                        : 1,
                   FState == cbChecked  ? u"QELOFCC"
                   : FState == cbGrayed ? u"QELOFCG"
                                        : u"QELOFCU",
                   [&](int height, bool) {
                       switch (FBtnVAlign) {
                       case tvaTop:
                           return (CaptionTextHeight(Canvas(), u"gh", FCaptionMeasures.get()) - height) / 2 +
                                  4;
                       case tvaCenter:
                           return client.Height() / 2 - height / 2;
                       case tvaBottom:
                           break;
                       }
                       return client.Bottom - height;
                   });
}

TRect TCustomAdvOfficeCheckBox::CaptionRect() {
    TRect rect = ClientRect();
    if (RightAligned()) {
        rect.Left = 0;
        rect.Right -= 16;
    } else {
        rect.Left += 16;
    }
    if (!FEllipsis) {
        rect.Top += 4;
        return rect;
    }
    switch (FBtnVAlign) {
    case tvaTop:
        rect.Top = (CaptionTextHeight(Canvas(), u"gh", FCaptionMeasures.get()) - 16) / 2 + 4;
        break;
    case tvaCenter:
        rect.Top = rect.Height() / 2 - 8;
        break;
    case tvaBottom:
        rect.Top = rect.Bottom - 16;
        break;
    }
    return rect;
}

void TCustomAdvOfficeCheckBox::Paint() {
    TCanvas* canvas = Canvas();
    TakeFont(canvas, Font());
    PaintBackground();
    DrawGlyph();
    TRect rect = CaptionRect();
    Integer width = 0, height = 0;
    PaintCaption(rect, bdLeftToRight, clWhite, clGray, width, height);
    if (FFocused && FShowFocus &&
        (TabStop() || dynamic_cast<TCustomAdvOfficeCheckGroup*>(Parent()) != nullptr))
        DrawDottedFrame(canvas, Bounds(rect.Left, rect.Top, width + 3, height), Font()->Color());
}

// ---- Mouse ----

void TCustomAdvOfficeCheckBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button != mbLeft) {
        TCustomControl::MouseDown(button, shift, x, y);
        return;
    }
    FGotClick = true;
    if (FFocused) {
        // A press on an anchor opens it and does not press the glyph.
        if (ClickAnchor(x, y, bdLeftToRight))
            return;
    } else if (!ComponentState().Contains(csDesigning) && CanFocus()) {
        SetFocus();
        FFocused = true;
    }
    TCustomControl::MouseDown(button, shift, x, y);
    SetMouseCapture(true);
    FDown = true;
    RECT strip = GlyphStrip(16);
    InvalidateRect(Handle(), &strip, TRUE);
}

void TCustomAdvOfficeCheckBox::MouseMove(TShiftState shift, int x, int y) {
    TCustomControl::MouseMove(shift, x, y);
    if (MouseCapture()) {
        bool down = InsideEdges(this, x, y);
        if (down != FDown) {
            FDown = down;
            RECT strip = GlyphStrip(16);
            InvalidateRect(Handle(), &strip, TRUE);
        }
    }
    TrackAnchor(x, y, bdLeftToRight);
}

void TCustomAdvOfficeCheckBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    SetMouseCapture(false);
    FDown = false;
    if (InsideEdges(this, x, y) && FFocused && FGotClick) {
        FClicksDisabled = true;
        Toggle();
        FClicksDisabled = false;
        Click();
    }
    TCustomControl::MouseUp(button, shift, x, y);
    if (HandleAllocated() && !ComponentState().Contains(csDestroying) && Visible()) {
        RECT strip = GlyphStrip(16);
        InvalidateRect(Handle(), &strip, TRUE);
    }
    FGotClick = false;
}

// ---- Keys and focus ----

void TCustomAdvOfficeCheckBox::KeyDown(Word& key, TShiftState shift) {
    ReturnAsTab(key);
    if (key == VK_SPACE) {
        FDown = true;
        RECT strip = GlyphStrip(16);
        InvalidateRect(Handle(), &strip, TRUE);
    }
    TCustomControl::KeyDown(key, shift);
}

void TCustomAdvOfficeCheckBox::KeyUp(Word& key, TShiftState shift) {
    if (key == VK_SPACE) {
        FDown = false;
        Toggle();
        Click();
    }
    TCustomControl::KeyUp(key, shift);
}

void TCustomAdvOfficeCheckBox::CMDialogChar(TMessage& message) {
    if (IsAccel(DialogCharCode(message), FCaption) && CanFocus()) {
        Toggle();
        if (OnClick)
            OnClick(this);
        if (TabStop() && !ComponentState().Contains(csDesigning))
            SetFocus();
        message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(message);
}

void TCustomAdvOfficeCheckBox::WndProc(TMessage& message) {
    // The button message that sets the check state, as a group box's caption check box sends it; it
    // counts as a click.
    if (message.Msg == BM_SETCHECK) {
        if (message.WParam == 2) {
            SetState(cbGrayed);
        } else if (message.WParam == 0 || message.WParam == 1) {
            SetChecked(message.WParam == 1);
            Click();
        }
    }
    TCustomControl::WndProc(message);
}

// ---- Actions ----

void TCustomAdvOfficeCheckBox::ActionChange(TObject* sender, bool checkDefaults) {
    TCustomControl::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(sender)) {
        SetCaption(action->Caption());
        SetChecked(action->Checked());
        SetEnabled(action->Enabled());
    }
}

TClass TCustomAdvOfficeCheckBox::GetActionLinkClass() {
    return TAdvOfficeCheckBoxActionLink::StaticClass();
}

void TAdvOfficeCheckBoxActionLink::AssignClient(TObject* client) {
    TControlActionLink::AssignClient(client);
    FClientBox = static_cast<TCustomAdvOfficeCheckBox*>(client);
}

void TAdvOfficeCheckBoxActionLink::SetCaption(const String& value) {
    if (IsCaptionLinked())
        FClientBox->SetCaption(value);
}

void TAdvOfficeCheckBoxActionLink::SetChecked(bool value) {
    if (!IsCheckedLinked())
        return;
    FClientBox->FInternalClick = true;
    FClientBox->SetChecked(value);
    FClientBox->FInternalClick = false;
}
