// The caption panel: its state and owned objects, the change wiring between them, housekeeping and the
// painting of the body.
#include "controls/AdvPanel.h"

#include <algorithm>
#include <cmath>

#include "platform/framework/Filer.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/CaptionHTML.h"
#include "render/VerIRID.h"

using namespace AdvPanel;

DEFINE_CLASS(TCustomAdvPanel)
DEFINE_CLASS(TAdvPanel, PROPERTY(AnchorHint).Default(false), PROPERTY(AutoSize),
             PROPERTY(AutoHideChildren).Default(true), PROPERTY(Background),
             PROPERTY(BackgroundPosition).Default(bpTopLeft),
             PROPERTY(BorderColor).Type(TypeInfoColor()).Default(clBlack),
             PROPERTY(BorderShadow).Default(false), PROPERTY(Buffered).Default(true),
             PROPERTY(CanMove).Default(false), PROPERTY(CanSize).Default(false), PROPERTY(Caption),
             PROPERTY(Collaps).Default(false), PROPERTY(CollapsColor).Type(TypeInfoColor()).Default(clGray),
             PROPERTY(CollapsDelay).Default(20), PROPERTY(CollapsSteps).Default(0),
             PROPERTY(ColorTo).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorMirror).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(ColorMirrorTo).Type(TypeInfoColor()).Default(clNone), PROPERTY(Ellipsis).Default(false),
             PROPERTY(FixedTop).Default(false), PROPERTY(FixedLeft).Default(false),
             PROPERTY(FixedHeight).Default(false), PROPERTY(FixedWidth).Default(false),
             PROPERTY(FreeOnClose).Default(false), PROPERTY(GradientDirection).Default(gdVertical),
             PROPERTY(Hover).Default(false), PROPERTY(HoverColor).Type(TypeInfoColor()).Default(clNone),
             PROPERTY(HoverFontColor).Type(TypeInfoColor()).Default(clNone), PROPERTY(Images),
             PROPERTY(Indent).Default(0), PROPERTY(LineSpacing).Default(0), PROPERTY(OfficeHint),
             PROPERTY(PictureContainer), PROPERTY(Position),
             PROPERTY(ShadowColor).Type(TypeInfoColor()).Default(clGray), PROPERTY(ShadowOffset).Default(2),
             PROPERTY(ShowMoveCursor).Default(false), PROPERTY(StatusBar), PROPERTY(Styler), PROPERTY(Text),
             PROPERTY(TextVAlign).Default(tvaTop), PROPERTY(TopIndent).Default(0),
             PROPERTY(URLColor).Type(TypeInfoColor()).Default(clBlue), PROPERTY(Version).Stored(false),
             EVENT(OnCaptionClick), EVENT(OnCaptionDBlClick), EVENT(OnAnchorClick), EVENT(OnAnchorEnter),
             EVENT(OnAnchorExit), EVENT(OnAnchorHint), EVENT(OnClose), EVENT(OnEndMoveSize),
             EVENT(OnMinimize), EVENT(OnMaximize), EVENT(OnEndCollapsExpand), EVENT(OnPaint))

namespace {
constexpr Integer PanelVersion = (2 << 24) | (3 << 16) | (0 << 8) | 7;

// One channel of a colour value.
Integer Channel(COLORREF rgb, int shift) {
    return static_cast<Integer>((rgb >> shift) & 0xFF);
}

Integer RoundHalfEven(double value) {
    return static_cast<Integer>(std::nearbyint(value));
}
} // namespace

// ---- Colour routines ----

TColor PanelBlendColor(TColor C1, TColor C2, Integer Percent) {
    if (Percent == 100)
        return C1;
    COLORREF a = ColorToRGB(C1);
    COLORREF b = ColorToRGB(C2);
    double p = Percent / 100.0;
    auto mix = [&](int shift) { return RoundHalfEven(p * Channel(a, shift) + (1 - p) * Channel(b, shift)); };
    return static_cast<TColor>(RGB(mix(0), mix(8), mix(16)));
}

void PanelDrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, Integer Steps, TRect Rect,
                       bool Horizontal) {
    Steps = std::clamp(Steps, 1, 32);
    COLORREF from = ColorToRGB(FromColor);
    COLORREF to = ColorToRGB(ToColor);
    Integer extent = Horizontal ? Rect.Width() : Rect.Height();
    double d = static_cast<double>(extent) / Steps;
    Integer bandSize = static_cast<Integer>(d) + 1;
    Canvas->Brush()->SetStyle(bsSolid);
    for (Integer i = 0; i < Steps; ++i) {
        auto channel = [&](int shift) {
            return RoundHalfEven(Channel(from, shift) +
                                 i * static_cast<double>(Channel(to, shift) - Channel(from, shift)) / Steps);
        };
        TColor color = static_cast<TColor>(RGB(channel(0), channel(8), channel(16)));
        Canvas->Pen()->SetColor(color);
        Canvas->Brush()->SetColor(color);
        Integer start = RoundHalfEven(i * d);
        TRect band = Rect;
        if (Horizontal) {
            band.Left = Rect.Left + start;
            band.Right = std::min(band.Left + bandSize, Rect.Right);
        } else {
            band.Top = Rect.Top + start;
            band.Bottom = std::min(band.Top + bandSize, Rect.Bottom);
        }
        Canvas->FillRect(band);
    }
}

void PanelDrawMirrorGradient(TCanvas* Canvas, TRect Rect, TColor Color, bool Fill, TColor Frame,
                             TGradientDirection Direction, TColor ColorMirrorTo, TColor ColorMirror,
                             TColor ColorTo) {
    bool horizontal = Direction == gdHorizontal;
    if (Fill && Color != clNone) {
        TRect first = Rect;
        TRect second = Rect;
        if (horizontal)
            first.Right = second.Left = Rect.Left + Rect.Width() / 2;
        else
            first.Bottom = second.Top = Rect.Top + Rect.Height() / 2;
        PanelDrawGradient(Canvas, Color, ColorTo, 32, first, horizontal);
        PanelDrawGradient(Canvas, ColorMirror, ColorMirrorTo, 32, second, horizontal);
    }
    if (Frame != clNone) {
        Canvas->Brush()->SetColor(Frame);
        Canvas->FrameRect(Rect);
    }
}

// ---- Construction ----

TCustomAdvPanel::TCustomAdvPanel(TComponent* owner)
    : TCustomPanel(owner), FImage(std::make_unique<TAdvImage>()), FCaption(std::make_unique<TPanelCaption>()),
      FPosition(std::make_unique<TPanelPosition>(this)), FImageCache(std::make_unique<THTMLPictureCache>()),
      FShadedHeader(std::make_unique<TBitmap>()), FAutoSize(std::make_unique<TAutoSize>(this)),
      FStatusBar(std::make_unique<TPanelStatusBar>()), FOfficeHint(std::make_unique<TAdvHintInfo>()),
      FAlive(std::make_shared<bool>(true)) {
    AdvPanelUnitStartup();
    FControlStyle -= TControlStyle{csSetCaption};
    FOldColor = Color();
    FCaption->OnChange = [this](TObject*) { CaptionChanged(); };
    FCaption->OnStateChange = [this](TObject*) { StateChanged(); };
    FCaption->OnShadeChange = [this](TObject*) { BuildShadedHeader(); };
    FCaption->OnFontChange = [this](TObject*) { CaptionFontChanged(); };
    FCaption->OnPositionChange = [this](TObject*) { CaptionPositionChanged(); };
    FImage->OnChange = [this](TObject*) { Invalidate(); };
    FStatusBar->OnChange = [this](TObject*) { Invalidate(); };
    SetDoubleBuffered(true);
    FIsWinXP = IsXPOrLater();
    TComponentState state = owner != nullptr ? owner->ComponentState() : TComponentState{};
    FDesignTime =
        ComponentState().Contains(csDesigning) && !state.Contains(csReading) && !state.Contains(csLoading);
    SetWidth(300);
    SetHeight(200);
}

TCustomAdvPanel::~TCustomAdvPanel() {
    // A collapse animation still pumping messages for this panel stops at its next step.
    *FAlive = false;
    FOfficeHint.reset();
    FImage.reset();
    FCaption.reset();
    FPosition.reset();
    FImageCache.reset();
    FShadedHeader.reset();
    FBuffer.reset();
    FAutoSize.reset();
    FStatusBar.reset();
    FHideList.clear();
}

bool TCustomAdvPanel::Loading() const {
    return ComponentState().Contains(csLoading);
}

bool TCustomAdvPanel::Designing() const {
    return ComponentState().Contains(csDesigning);
}

bool TCustomAdvPanel::IsThemed() const {
    return FIsWinXP && VerIRID::IsThemeActive != nullptr && VerIRID::IsThemeActive();
}

// ---- Change wiring ----

void TCustomAdvPanel::CaptionChanged() {
    if (ControlCount() > 0)
        Realign();
    Invalidate();
}

void TCustomAdvPanel::CaptionFontChanged() {
    if (ParentFont() && FDesignTime)
        SetParentFont(FCaption->Font()->Handle() == Font()->Handle());
}

void TCustomAdvPanel::CaptionPositionChanged() {
    DoAutoSize();
    BuildShadedHeader();
    Invalidate();
}

// ---- Setters ----

void TCustomAdvPanel::SetText(const String& value) {
    FText = value;
    Invalidate();
    DoAutoSize();
}

String TCustomAdvPanel::RawText() const {
    return CaptionHTMLToPlainText(FText);
}

void TCustomAdvPanel::SetBackground(TAdvImage* value) {
    FImage->Assign(value);
    Invalidate();
}

#define ZELMOR_PANEL_REPAINT_SETTER(Type, Name, Field)                                                       \
    void TCustomAdvPanel::Set##Name(Type value) {                                                            \
        Field = value;                                                                                       \
        Invalidate();                                                                                        \
    }
ZELMOR_PANEL_REPAINT_SETTER(TBackGroundPosition, BackgroundPosition, FBackgroundPosition)
ZELMOR_PANEL_REPAINT_SETTER(TColor, URLColor, FURLColor)
ZELMOR_PANEL_REPAINT_SETTER(TColor, HoverColor, FHoverColor)
ZELMOR_PANEL_REPAINT_SETTER(TColor, HoverFontColor, FHoverFontColor)
ZELMOR_PANEL_REPAINT_SETTER(Integer, ShadowOffset, FShadowOffset)
ZELMOR_PANEL_REPAINT_SETTER(TColor, ShadowColor, FShadowColor)
ZELMOR_PANEL_REPAINT_SETTER(bool, CanSize, FCanSize)
ZELMOR_PANEL_REPAINT_SETTER(TTextVAlignment, TextVAlign, FTextVAlign)
ZELMOR_PANEL_REPAINT_SETTER(TColor, CollapsColor, FCollapsColor)
ZELMOR_PANEL_REPAINT_SETTER(TColor, BorderColor, FBorderColor)
ZELMOR_PANEL_REPAINT_SETTER(bool, BorderShadow, FBorderShadow)
ZELMOR_PANEL_REPAINT_SETTER(Integer, Indent, FIndent)
ZELMOR_PANEL_REPAINT_SETTER(Integer, TopIndent, FTopIndent)
ZELMOR_PANEL_REPAINT_SETTER(Integer, LineSpacing, FLineSpacing)
ZELMOR_PANEL_REPAINT_SETTER(bool, Ellipsis, FEllipsis)
ZELMOR_PANEL_REPAINT_SETTER(TGradientDirection, GradientDirection, FGradientDirection)
#undef ZELMOR_PANEL_REPAINT_SETTER

void TCustomAdvPanel::SetImages(TCustomImageList* value) {
    FImages = value;
    if (value != nullptr)
        value->FreeNotification(this);
    Invalidate();
}

void TCustomAdvPanel::SetPictureContainer(TPictureContainer* value) {
    FContainer = value;
    if (value != nullptr)
        value->FreeNotification(this);
}

void TCustomAdvPanel::SetColorTo(TColor value) {
    if (FColorTo == value)
        return;
    FColorTo = value;
    Invalidate();
}

void TCustomAdvPanel::SetColorMirror(TColor value) {
    if (FColorMirror == value)
        return;
    FColorMirror = value;
    Invalidate();
}

void TCustomAdvPanel::SetColorMirrorTo(TColor value) {
    if (FColorMirrorTo == value)
        return;
    FColorMirrorTo = value;
    Invalidate();
}

void TCustomAdvPanel::SetAutoSize(TAutoSize* value) {
    if (value == nullptr || Loading())
        return;
    FAutoSize->Assign(value);
}

String TCustomAdvPanel::Version() const {
    return Format(u"%d.%d.%d.%d", {(PanelVersion >> 24) & 0xFF, (PanelVersion >> 16) & 0xFF,
                                   (PanelVersion >> 8) & 0xFF, PanelVersion & 0xFF});
}

void TCustomAdvPanel::SetCursor(TCursor value) {
    FOldCursor = value;
    TControl::SetCursor(value);
}

// ---- Housekeeping ----

void TCustomAdvPanel::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCustomAdvPanel*>(source);
    if (other == nullptr)
        throw EInvalidCast(Consts::SInvalidCast);
    SetAnchorHint(other->FAnchorHint);
    SetAutoHideChildren(other->FAutoHideChildren);
    FImage->Assign(other->FImage.get());
    SetBackgroundPosition(other->FBackgroundPosition);
    SetBevelInner(other->BevelInner());
    SetBevelOuter(other->BevelOuter());
    SetBevelWidth(other->BevelWidth());
    SetBorderColor(other->FBorderColor);
    SetBorderShadow(other->FBorderShadow);
    SetBorderStyle(other->BorderStyle());
    SetCanMove(other->FCanMove);
    SetCanSize(other->FCanSize);
    FCaption->Assign(other->FCaption.get());
    SetCollapsColor(other->FCollapsColor);
    SetCollapsDelay(other->FCollapsDelay);
    SetCollapsSteps(other->FCollapsSteps);
    SetColor(other->Color());
    SetColorTo(other->FColorTo);
    SetColorMirror(other->FColorMirror);
    SetColorMirrorTo(other->FColorMirrorTo);
    SetCursor(other->Cursor());
    SetEnabled(other->Enabled());
    Font()->Assign(other->Font());
    SetFixedTop(other->FFixedTop);
    SetFixedLeft(other->FFixedLeft);
    SetFixedHeight(other->FFixedHeight);
    SetFixedWidth(other->FFixedWidth);
    SetFreeOnClose(other->FFreeOnClose);
    SetHeight(other->Height());
    SetHint(other->Hint());
    SetHover(other->FHover);
    SetHoverColor(other->FHoverColor);
    SetHoverFontColor(other->FHoverFontColor);
    SetImages(other->FImages);
    SetParentColor(other->ParentColor());
    SetParentFont(other->ParentFont());
    SetParentShowHint(other->ParentShowHint());
    SetPictureContainer(other->FContainer);
    SetPopupMenu(other->PopupMenu());
    FPosition->Assign(other->FPosition.get());
    FStatusBar->Assign(other->FStatusBar.get());
    SetShadowColor(other->FShadowColor);
    SetShadowOffset(other->FShadowOffset);
    SetShowHint(other->ShowHint());
    SetShowMoveCursor(other->FShowMoveCursor);
    SetTabStop(other->TabStop());
    SetTag(other->Tag());
    SetText(other->FText);
    SetTextVAlign(other->FTextVAlign);
    SetURLColor(other->FURLColor);
    SetVisible(other->Visible());
}

void TCustomAdvPanel::DefineProperties(TFiler* filer) {
    TCustomPanel::DefineProperties(filer);
    // Always written: the expanded size of a panel stored collapsed.
    filer->DefineProperty(
        u"FullHeight", [this](TReader* reader) { FFullHeight = reader->ReadInteger(); },
        [this](TWriter* writer) { writer->WriteInteger(FFullHeight); }, true);
}

void TCustomAdvPanel::Loaded() {
    TCustomPanel::Loaded();
    if (FPosition->Save())
        LoadPosition();
    if (Parent() != nullptr)
        FTopLeft = ClientOrigin();
    FWidthHeight = TPoint(Width(), Height());
    FOldCursor = Cursor();
    FOldColor = Color();
    if (FStyler != nullptr)
        SetStyler(FStyler);
}

void TCustomAdvPanel::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove) {
        if (component == FImages)
            FImages = nullptr;
        if (component == FContainer)
            FContainer = nullptr;
        if (component == FStyler)
            FStyler = nullptr;
    }
    TCustomPanel::Notification(component, operation);
}

void TCustomAdvPanel::BeginUpdate() {
    if (HandleAllocated())
        SendMessage(Handle(), WM_SETREDRAW, 0, 0);
}

void TCustomAdvPanel::EndUpdate() {
    if (!HandleAllocated())
        return;
    SendMessage(Handle(), WM_SETREDRAW, 1, 0);
    Repaint();
}

TSize TCustomAdvPanel::GetHTMLSize() {
    TRect r = ClientRect();
    if (FBorderShadow)
        r.Right -= 2;
    r.Left += BorderWidth() + 1 + FIndent;
    r.Right -= BorderWidth() + 1;
    Integer width = 0, height = 0;
    Canvas()->Font()->Assign(Font());
    RenderText(Canvas(), FText, r, !FEllipsis, true, -1, width, height);
    return TSize(width, height);
}

TAdvHintInfo* TCustomAdvPanel::GetOfficeHint(TPoint point) {
    if (FCaption->Visible() && point.Y < FCaption->Height() && !FCaption->OfficeHint()->IsEmpty())
        return FCaption->OfficeHint();
    return FOfficeHint.get();
}

void TCustomAdvPanel::ChangeScale(Integer m, Integer d) {
    TCustomPanel::ChangeScale(m, d);
    FCaption->FHeight = MulDiv(FCaption->FHeight, m, d);
    FCaption->Font()->SetSize(MulDiv(FCaption->Font()->Size(), m, d));
}

void TCustomAdvPanel::CMParentFontChanged(TMessage& message) {
    TCustomPanel::CMParentFontChanged(message);
    if (ParentFont())
        FCaption->Font()->Assign(Font());
}

void TCustomAdvPanel::WMEraseBkgnd(TMessage& message) {
    if (FOptimizePaint) {
        message.Result = 1;
        return;
    }
    TCustomPanel::WMEraseBkgnd(message);
}

void TCustomAdvPanel::WMSize(TMessage& message) {
    TCustomPanel::WMSize(message);
    if (FShadedHeader->Width() != Width())
        BuildShadedHeader();
    Invalidate();
}

void TCustomAdvPanel::Resize() {
    if (!FOptimizePaint && !Designing())
        Repaint();
    TCustomPanel::Resize();
    DoAutoSize();
}

void TCustomAdvPanel::SetBounds(Integer left, Integer top, Integer width, Integer height) {
    TCustomPanel::SetBounds(left, top, width, height);
    // Outside a collapse, the expanded size follows the panel's own size along the caption.
    if (!FCollaps && !FIsCollapsing && FCaption != nullptr) {
        if (FCaption->Position() == cpTop)
            FFullHeight = Height();
        else
            FFullHeight = Width();
    }
    if (Designing())
        Synchronize();
    if (width != FOldWidth || height != FOldHeight) {
        for (Integer i = 0; i < ControlCount(); ++i)
            Controls(i)->Invalidate();
        Invalidate();
    }
    FOldWidth = width;
    FOldHeight = height;
}

// ---- Painting the body ----

void TCustomAdvPanel::RenderText(TCanvas* canvas, const String& text, const TRect& rect, bool wordWrap,
                                 bool measure, Integer hoverLink, Integer& width, Integer& height) {
    String anchor, plain, detail;
    Integer anchorCount = 0, mouseAnchor = 0;
    TRect hoverRect;
    RenderCaptionHTML(canvas, text, rect, FImages, 0, 0, -1, hoverLink, FShadowOffset, false, measure, false,
                      false, true, false, wordWrap, 1.0, FURLColor, FHoverColor, FHoverFontColor,
                      FShadowColor, anchor, plain, detail, width, height, anchorCount, mouseAnchor, hoverRect,
                      FImageCache.get(), FContainer, FLineSpacing, BiDiMode());
}

void TCustomAdvPanel::Paint() {
    TCanvas* window = Canvas();
    TRect client = ClientRect();
    // The framework panel's own paint shows only when the panel paints straight on the window: the
    // buffered copy below covers every pixel of it.
    if (!FBuffered)
        TCustomPanel::Paint();
    TCanvas* canvas = window;
    if (FBuffered) {
        // The bitmap is kept from paint to paint while the size stays; every pixel is painted again.
        if (!FBuffer)
            FBuffer = std::make_unique<TBitmap>();
        if (FBuffer->Width() != client.Width() || FBuffer->Height() != client.Height())
            FBuffer->SetSize(client.Width(), client.Height());
        canvas = FBuffer->Canvas();
    }
    PaintBody(canvas);
    if (FCaption->Visible())
        PaintCaptionBar(canvas);
    if (FStatusBar->Visible())
        PaintStatusBar(canvas);
    if (FShowSizeMoveGrip && FCanSize && !FCollaps)
        PaintSizeGrip(canvas);
    if (FCaption->Position() == cpRight && FBorderColor != clNone && BorderWidth() != 0) {
        TRect r = client;
        if (FBorderShadow) {
            r.Right -= 2;
            r.Bottom -= 2;
        }
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(FBorderColor);
        canvas->Pen()->SetWidth(1);
        canvas->Rectangle(r);
        canvas->Brush()->SetStyle(bsSolid);
    }
    if (OnPaint)
        OnPaint(this, canvas, client);
    if (FBuffered)
        BitBlt(window->Handle(), 0, 0, client.Width(), client.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

void TCustomAdvPanel::PaintBody(TCanvas* canvas) {
    TRect r = ClientRect();
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetStyle(bsSolid);
    if (FColorTo == clNone) {
        canvas->Brush()->SetColor(Color());
        canvas->Pen()->SetColor(Color());
        canvas->FillRect(r);
    } else if (FColorMirror == clNone) {
        PanelDrawGradient(canvas, Color(), FColorTo, 64, r, FGradientDirection == gdHorizontal);
    } else {
        PanelDrawMirrorGradient(canvas, r, Color(), true, clNone, FGradientDirection, FColorMirrorTo,
                                FColorMirror, FColorTo);
    }

    if (FBorderColor != clNone && BorderWidth() != 0) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Pen()->SetColor(FBorderColor);
        if (FBorderShadow) {
            r.Right -= 2;
            r.Bottom -= 2;
        }
        canvas->Rectangle(r);
        if (FBorderShadow) {
            canvas->Pen()->SetColor(PanelBlendColor(FBorderColor, clBtnFace, 50));
            canvas->Polyline(
                {TPoint(r.Right, r.Top + 1), TPoint(r.Right, r.Bottom), TPoint(r.Left, r.Bottom)});
            canvas->Pen()->SetColor(PanelBlendColor(FBorderColor, clBtnFace, 20));
            canvas->Polyline({TPoint(r.Right + 1, r.Top + 2), TPoint(r.Right + 1, r.Bottom + 1),
                              TPoint(r.Left, r.Bottom + 1)});
        }
        canvas->Brush()->SetStyle(bsSolid);
    }

    auto bevel = [&](TPanelBevel cut) {
        if (cut == bvNone)
            return;
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        Frame3D(canvas, r, top, bottom, BevelWidth());
    };
    bevel(BevelOuter());
    if (FBorderColor == clNone)
        Frame3D(canvas, r, Color(), Color(), 1);
    bevel(BevelInner());

    canvas->Brush()->SetColor(Color());
    canvas->Pen()->SetColor(Color());
    r = ClientRect();
    Integer bevelWidth = BevelWidth();
    if (FCaption->Visible()) {
        switch (FCaption->Position()) {
        case cpTop:
            r.Top += FCaption->Height() - 2 * bevelWidth;
            break;
        case cpLeft:
            r.Left += FCaption->Height() - 2 * bevelWidth + 2;
            break;
        case cpRight:
            r.Right -= FCaption->Height() - 2 * bevelWidth + 2;
            break;
        }
    }
    if (FBorderShadow) {
        r.Right -= 2;
        r.Bottom -= 3;
    }
    HDC dc = canvas->Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);

    if (!FImage->Empty()) {
        Integer w = FImage->Width(), h = FImage->Height();
        Integer pw = Width(), ph = Height();
        Integer right = std::max(r.Left, r.Right - r.Left - w - bevelWidth);
        Integer bottom = std::max(r.Top, ph - h - bevelWidth);
        auto drawAt = [&](Integer x, Integer y) { canvas->Draw(x, y, FImage.get()); };
        switch (FBackgroundPosition) {
        case bpTopLeft:
            drawAt(r.Left, r.Top);
            break;
        case bpTopRight:
            drawAt(right, r.Top);
            break;
        case bpBottomLeft:
            drawAt(r.Left, bottom);
            break;
        case bpBottomRight:
            drawAt(right, bottom);
            break;
        case bpTiled:
            if (w > 0 && h > 0)
                for (Integer y = r.Top; y < ph; y += h)
                    for (Integer x = r.Left; x < pw; x += w)
                        drawAt(x, y);
            break;
        case bpStretched:
            canvas->StretchDraw(TRect(r.Left, r.Top - 4, r.Right, r.Bottom + 4), FImage.get());
            break;
        case bpCenter:
            drawAt(right / 2, bottom / 2);
            break;
        }
    }

    Integer border = BorderWidth();
    r.Left += border + 1 + FIndent;
    r.Top += border + 1 + FTopIndent;
    r.Right -= border + 1;
    r.Bottom -= border + 1;
    if (FStatusBar->Visible()) {
        switch (FCaption->Position()) {
        case cpTop:
            r.Bottom -= FStatusBar->Height();
            break;
        case cpLeft:
            r.Right -= FStatusBar->Height();
            break;
        case cpRight:
            r.Left += FStatusBar->Height();
            break;
        }
    }
    canvas->Font()->Assign(Font());
    if (!FText.empty()) {
        Integer width = 0, height = 0;
        if (FTextVAlign != tvaTop) {
            RenderText(canvas, FText, r, !FEllipsis, true, -1, width, height);
            if (height < r.Height()) {
                if (FTextVAlign == tvaCenter)
                    r.Top += (r.Height() - height) / 2;
                else
                    r.Top = r.Bottom - height;
            }
        }
        RenderText(canvas, FText, r, !FEllipsis, false, FHover ? FHoverHyperLink : -1, width, height);
    }
    RestoreDC(dc, saved);
}

// ---- Registration ----

void AdvPanelUnitStartup() {
    static const bool started = [] {
        VerIRID::BindThemeLibrary();
        // A name another class took already ends the registration; the panel works without it.
        try {
            RegisterClasses(
                {TAdvPanel::StaticClass(), TAdvPanelGroup::StaticClass(), TAdvPanelStyler::StaticClass()});
        } catch (const Exception&) {
        }
        return true;
    }();
    (void)started;
}
