// TSpeedButton and TBitBtn, the glyph they draw and the layout of glyph and caption.
#include "platform/framework/Buttons.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TSpeedButton, PROPERTY(AllowAllUp).Default(false), PROPERTY(Down).Default(false),
             PROPERTY(Flat).Default(false), PROPERTY(Glyph), PROPERTY(GroupIndex).Default(0),
             PROPERTY(Layout).Default(blGlyphLeft), PROPERTY(Margin).Default(-1),
             PROPERTY(NumGlyphs).Default(1), PROPERTY(Spacing).Default(4),
             PROPERTY(Transparent).Default(true))
DEFINE_CLASS(TBitBtn, PROPERTY(Glyph), PROPERTY(Kind).Default(bkCustom),
             PROPERTY(Layout).Default(blGlyphLeft), PROPERTY(Margin).Default(-1),
             PROPERTY(NumGlyphs).Default(1), PROPERTY(Spacing).Default(4),
             PROPERTY(Style).Default(bsAutoDetect))

namespace {

// The size of a caption on canvas, accelerator marks left out.
TSize CaptionSize(TCanvas* canvas, const String& caption) {
    if (caption.empty())
        return {};
    RECT rect{0, 0, 0, 0};
    DrawTextW(canvas->Handle(), caption.c_str(), static_cast<int>(caption.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE);
    return TSize{rect.right - rect.left, rect.bottom - rect.top};
}

// A kind's glyph, drawn on a bitmap whose olive background is transparent.
std::unique_ptr<TBitmap> KindGlyph(TBitBtnKind kind) {
    constexpr int size = 18;
    auto bitmap = std::make_unique<TBitmap>(size, size);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clOlive);
    canvas->FillRect(TRect(0, 0, size, size));
    canvas->Pen()->SetWidth(2);
    auto cross = [canvas](TColor color) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(4, 4);
        canvas->LineTo(14, 14);
        canvas->MoveTo(13, 4);
        canvas->LineTo(3, 14);
    };
    auto check = [canvas](TColor color, int dx) {
        canvas->Pen()->SetColor(color);
        canvas->Polyline({TPoint(3 + dx, 9), TPoint(7 + dx, 13), TPoint(14 + dx, 4)});
    };
    auto letter = [canvas](TColor color, const Char* text) {
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(color);
        canvas->Font()->SetStyle(TFontStyles{fsBold});
        TSize extent = canvas->TextExtent(text);
        canvas->TextOut((size - extent.cx) / 2, (size - extent.cy) / 2, text);
    };
    switch (kind) {
    case bkOK:
    case bkYes:
        check(clGreen, 0);
        break;
    case bkAll:
        check(clGreen, -2);
        check(clGreen, 2);
        break;
    case bkCancel:
    case bkAbort:
        cross(clRed);
        break;
    case bkNo:
        canvas->Pen()->SetColor(clRed);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Ellipse(3, 3, 15, 15);
        canvas->MoveTo(5, 13);
        canvas->LineTo(13, 5);
        break;
    case bkHelp:
        letter(clNavy, u"?");
        break;
    case bkIgnore:
        letter(clMaroon, u"!");
        break;
    case bkRetry:
        canvas->Pen()->SetColor(clNavy);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Arc(3, 3, 15, 15, 15, 9, 9, 3);
        canvas->Polyline({TPoint(9, 1), TPoint(9, 4), TPoint(12, 4)});
        break;
    case bkClose:
        canvas->Pen()->SetColor(clMaroon);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(5, 2, 13, 16);
        canvas->MoveTo(11, 9);
        canvas->LineTo(12, 9);
        break;
    case bkCustom:
        break;
    }
    return bitmap;
}

struct KindInfo {
    const Char* caption;
    TModalResult modalResult;
};

const KindInfo Kinds[] = {
    {u"", mrNone},        {u"OK", mrOk},          {u"Cancel", mrCancel}, {u"&Help", mrNone},
    {u"&Yes", mrYes},     {u"&No", mrNo},         {u"&Close", mrNone},   {u"Abort", mrAbort},
    {u"&Retry", mrRetry}, {u"&Ignore", mrIgnore}, {u"&All", mrAll},
};

} // namespace

String BitBtnCaption(TBitBtnKind kind) {
    return Kinds[kind].caption;
}

TModalResult BitBtnModalResult(TBitBtnKind kind) {
    return Kinds[kind].modalResult;
}

TButtonLayoutResult CalcButtonLayout(const TRect& client, const TPoint& offset, TSize glyphSize,
                                     TSize textSize, TButtonLayout layout, int margin, int spacing) {
    TPoint clientSize(client.Width(), client.Height());
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TPoint glyphPos;
    TPoint textPos;
    // Across the layout's direction both are centred.
    if (horizontal) {
        glyphPos.Y = (clientSize.Y - glyphSize.cy + 1) / 2;
        textPos.Y = (clientSize.Y - textSize.cy + 1) / 2;
    } else {
        glyphPos.X = (clientSize.X - glyphSize.cx + 1) / 2;
        textPos.X = (clientSize.X - textSize.cx + 1) / 2;
    }
    // Without text or without a glyph there is nothing to space apart.
    if (textSize.cx == 0 || glyphSize.cx == 0)
        spacing = 0;
    if (margin == -1) {
        if (spacing == -1) {
            int total = horizontal ? glyphSize.cx + textSize.cx : glyphSize.cy + textSize.cy;
            margin = ((horizontal ? clientSize.X : clientSize.Y) - total) / 3;
            spacing = margin;
        } else {
            int total =
                horizontal ? glyphSize.cx + spacing + textSize.cx : glyphSize.cy + spacing + textSize.cy;
            margin = ((horizontal ? clientSize.X : clientSize.Y) - total + 1) / 2;
        }
    } else if (spacing == -1) {
        int rest =
            horizontal ? clientSize.X - (margin + glyphSize.cx) : clientSize.Y - (margin + glyphSize.cy);
        spacing = (rest - (horizontal ? textSize.cx : textSize.cy)) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyphPos.X = margin;
        textPos.X = glyphPos.X + glyphSize.cx + spacing;
        break;
    case blGlyphRight:
        glyphPos.X = clientSize.X - margin - glyphSize.cx;
        textPos.X = glyphPos.X - spacing - textSize.cx;
        break;
    case blGlyphTop:
        glyphPos.Y = margin;
        textPos.Y = glyphPos.Y + glyphSize.cy + spacing;
        break;
    case blGlyphBottom:
        glyphPos.Y = clientSize.Y - margin - glyphSize.cy;
        textPos.Y = glyphPos.Y - spacing - textSize.cy;
        break;
    }
    TButtonLayoutResult result;
    result.glyphPos = TPoint(glyphPos.X + client.Left + offset.X, glyphPos.Y + client.Top + offset.Y);
    LONG left = textPos.X + client.Left + offset.X;
    LONG top = textPos.Y + client.Top + offset.Y;
    result.textBounds = TRect(left, top, left + textSize.cx, top + textSize.cy);
    return result;
}

// ---- TButtonGlyph ----

TButtonGlyph::TButtonGlyph() : FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
}

TButtonGlyph::~TButtonGlyph() = default;

void TButtonGlyph::SetGlyph(TBitmap* value) {
    if (value == nullptr) {
        FGlyph->Assign(nullptr);
        FGlyph->SetSize(0, 0);
    } else {
        FGlyph->Assign(value);
    }
    // A glyph as wide as a whole number of square images holds that many.
    if (value != nullptr && value->Height() > 0 && value->Width() % value->Height() == 0) {
        int count = value->Width() / value->Height();
        FNumGlyphs = std::clamp(count, 1, 4);
    }
    GlyphChanged(FGlyph.get());
}

void TButtonGlyph::SetNumGlyphs(TNumGlyphs value) {
    value = std::clamp(value, 1, 4);
    if (value == FNumGlyphs)
        return;
    FNumGlyphs = value;
    GlyphChanged(FGlyph.get());
}

void TButtonGlyph::GlyphChanged(TObject* sender) {
    if (OnChange)
        OnChange(sender);
}

TSize TButtonGlyph::ImageSize() const {
    if (FGlyph->Empty())
        return {};
    return TSize{FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
}

void TButtonGlyph::Draw(TCanvas* canvas, const TPoint& pos, TButtonState state, bool transparent) {
    TSize size = ImageSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    int index = static_cast<int>(state);
    // The held-down image falls back to the pressed one, and both to the up one.
    if (index == bsExclusive && FNumGlyphs < 4)
        index = bsDown;
    if (index >= FNumGlyphs)
        index = bsUp;
    TColor transparentColor = FGlyph->Canvas()->Pixels(0, FGlyph->Height() - 1);
    TBitmap piece(size.cx, size.cy);
    TRect source = Bounds(index * size.cx, 0, size.cx, size.cy);
    piece.Canvas()->CopyRect(TRect(0, 0, size.cx, size.cy), FGlyph->Canvas(), source);
    if (state == bsDisabled && FNumGlyphs < 2) {
        // No disabled image: the shape of the up image, embossed in the highlight and shadow colours.
        TBitmap embossed(size.cx, size.cy);
        TCanvas* target = embossed.Canvas();
        target->Brush()->SetColor(transparentColor);
        target->FillRect(TRect(0, 0, size.cx, size.cy));
        for (int pass = 0; pass < 2; ++pass) {
            int shift = pass == 0 ? 1 : 0;
            TColor color = ColorToRGB(pass == 0 ? clBtnHighlight : clBtnShadow);
            for (int y = 0; y < size.cy; ++y)
                for (int x = 0; x < size.cx; ++x)
                    if (piece.Canvas()->Pixels(x, y) != transparentColor && x + shift < size.cx &&
                        y + shift < size.cy)
                        target->SetPixels(x + shift, y + shift, color);
        }
        embossed.SetTransparentColor(transparentColor);
        embossed.SetTransparent(true);
        canvas->Draw(pos.X, pos.Y, &embossed);
        return;
    }
    piece.SetTransparentColor(transparentColor);
    piece.SetTransparent(transparent);
    canvas->Draw(pos.X, pos.Y, &piece);
}

TRect TButtonGlyph::DrawButton(TCanvas* canvas, const TRect& client, const TPoint& offset,
                               const String& caption, TButtonLayout layout, int margin, int spacing,
                               TButtonState state, bool transparent) {
    TButtonLayoutResult where =
        CalcButtonLayout(client, offset, ImageSize(), CaptionSize(canvas, caption), layout, margin, spacing);
    Draw(canvas, where.glyphPos, state, transparent);
    if (!caption.empty()) {
        canvas->Brush()->SetStyle(bsClear);
        RECT rect = where.textBounds;
        HDC dc = canvas->Handle();
        if (state == bsDisabled) {
            // Disabled text: raised in the highlight colour over the shadow colour.
            OffsetRect(&rect, 1, 1);
            SetTextColor(dc, ColorToRGB(clBtnHighlight));
            DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect,
                      DT_SINGLELINE | DT_CENTER);
            OffsetRect(&rect, -1, -1);
            SetTextColor(dc, ColorToRGB(clBtnShadow));
        }
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, DT_SINGLELINE | DT_CENTER);
    }
    return where.textBounds;
}

// ---- TSpeedButton ----

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), FGlyph(std::make_unique<TButtonGlyph>()) {
    SetBounds(0, 0, 23, 22);
    FControlStyle = TControlStyle{csCaptureMouse, csDoubleClicks};
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
    SetParentFont(true);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged(TObject*) {
    Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value) {
    if (FAllowAllUp == value)
        return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TSpeedButton::SetDown(bool value) {
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    // The down button of a group that must keep one down stays down.
    if (FDown && !FAllowAllUp)
        return;
    FDown = value;
    if (value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
    } else {
        FState = bsUp;
        Repaint();
    }
    if (value)
        UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value) {
    if (FFlat == value)
        return;
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetGroupIndex(Integer value) {
    if (FGroupIndex == value)
        return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    if (FLayout == value)
        return;
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(Integer value) {
    if (FMargin == value || value < -1)
        return;
    FMargin = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(Integer value) {
    if (FSpacing == value)
        return;
    FSpacing = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TSpeedButton::UpdateExclusive() {
    if (FGroupIndex == 0 || Parent() == nullptr)
        return;
    TMessage message{};
    message.Msg = CM_BUTTONPRESSED;
    message.WParam = static_cast<WPARAM>(FGroupIndex);
    message.LParam = reinterpret_cast<LPARAM>(this);
    Parent()->Broadcast(message);
}

void TSpeedButton::CMButtonPressed(TMessage& message) {
    if (static_cast<Integer>(message.WParam) != FGroupIndex)
        return;
    auto* sender = reinterpret_cast<TSpeedButton*>(message.LParam);
    if (sender == this)
        return;
    // The group keeps one AllowAllUp for all its buttons.
    if (sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        Invalidate();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    if (FDown)
        UpdateExclusive();
    FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
}

void TSpeedButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_BUTTONPRESSED:
        CMButtonPressed(message);
        return;
    case CM_ENABLEDCHANGED:
        FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
        Invalidate();
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        // The button keeps track of the mouse itself (LParam 0: its own enter or leave, not a child's); a
        // flat button shows its frame only while the mouse is over it.
        if (message.LParam == 0) {
            FMouseInControl = message.Msg == CM_MOUSEENTER;
            if (FFlat && Enabled())
                Invalidate();
        }
        break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(message);
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging)
        return;
    // While the button is held, leaving the button shows it up again and coming back down.
    bool inside = x >= 0 && x < Width() && y >= 0 && y <= Height();
    TButtonState state = inside ? (FDown ? bsExclusive : bsDown) : (FDown ? bsExclusive : bsUp);
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging)
        return;
    FDragging = false;
    bool doClick = x >= 0 && x < Width() && y >= 0 && y <= Height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown);
        if (FDown)
            Repaint();
    } else {
        if (FDown)
            FState = bsExclusive;
        Repaint();
    }
    // A grouped button that could not come up still counts the click.
    if (FGroupIndex != 0 && doClick)
        FState = FDown ? bsExclusive : bsUp;
    if (doClick)
        Click();
}

void TSpeedButton::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect(0, 0, Width(), Height());
    if (!Enabled())
        FState = bsDisabled;
    else if (FState == bsDisabled)
        FState = FDown ? bsExclusive : bsUp;
    bool pressed = FState == bsDown || FState == bsExclusive;
    bool hot = FMouseInControl && Enabled();
    HDC dc = canvas->Handle();
    HTHEME theme = OpenThemeData(nullptr, u"TOOLBAR");
    if (theme != nullptr) {
        // Themed: a flat button shows the tool-bar button's face only when hot or down.
        int stateId = !Enabled()              ? TS_DISABLED
                      : FState == bsDown      ? TS_PRESSED
                      : FState == bsExclusive ? (hot ? TS_HOTCHECKED : TS_CHECKED)
                      : hot                   ? TS_HOT
                                              : TS_NORMAL;
        if (!FTransparent || !FFlat) {
            canvas->Brush()->SetColor(Color());
            canvas->Brush()->SetStyle(bsSolid);
            canvas->FillRect(rect);
        }
        if (!FFlat || stateId != TS_NORMAL) {
            RECT r = rect;
            DrawThemeBackground(theme, dc, TP_BUTTON,
                                FFlat ? stateId : (stateId == TS_NORMAL ? TS_HOT : stateId), &r, nullptr);
        }
        CloseThemeData(theme);
    } else {
        if (!FFlat || !FTransparent) {
            canvas->Brush()->SetColor(Color());
            canvas->Brush()->SetStyle(bsSolid);
            canvas->FillRect(rect);
        }
        RECT r = rect;
        if (!FFlat) {
            UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0);
            DrawFrameControl(dc, &r, DFC_BUTTON, state);
        } else if (pressed || hot) {
            DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
    }
    TPoint offset = pressed ? TPoint(1, 1) : TPoint(0, 0);
    canvas->Font()->Assign(Font());
    SetTextColor(canvas->Handle(), ColorToRGB(Font()->Color()));
    FTextBounds = FGlyph->DrawButton(canvas, TRect(1, 1, Width() - 1, Height() - 1), offset, Caption(),
                                     FLayout, FMargin, FSpacing, FState, FTransparent);
}

// ---- TBitBtn ----

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TButtonGlyph>()) {
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::GlyphChanged(TObject*) {
    if (!FSettingKind)
        FGlyphIsKinds = false;
    Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* value) {
    FGlyph->SetGlyph(value);
}

bool TBitBtn::IsCustom() const {
    return !FGlyphIsKinds;
}

TBitBtnKind TBitBtn::Kind() const {
    if (FKind == bkCustom || IsCustom())
        return bkCustom;
    // Default, Cancel and ModalResult set otherwise than the kind sets them make the button a custom one.
    bool wantsDefault = FKind == bkOK || FKind == bkYes;
    bool wantsCancel = FKind == bkCancel || FKind == bkNo;
    if (wantsDefault != Default() || wantsCancel != Cancel() || ModalResult() != BitBtnModalResult(FKind))
        return bkCustom;
    return FKind;
}

void TBitBtn::SetKind(TBitBtnKind value) {
    if (value == Kind())
        return;
    FKind = value;
    if (value == bkCustom)
        return;
    SetDefault(value == bkOK || value == bkYes);
    SetCancel(value == bkCancel || value == bkNo);
    SetModalResult(BitBtnModalResult(value));
    // A description read gives its own caption after the kind; a kind set later brings its caption.
    if (!ComponentState().Contains(csLoading) || Caption().empty())
        SetCaption(BitBtnCaption(value));
    FSettingKind = true;
    std::unique_ptr<TBitmap> glyph = KindGlyph(value);
    FGlyph->SetGlyph(glyph.get());
    FGlyph->SetNumGlyphs(1);
    FSettingKind = false;
    FGlyphIsKinds = true;
}

void TBitBtn::SetLayout(TButtonLayout value) {
    if (FLayout == value)
        return;
    FLayout = value;
    Invalidate();
}

void TBitBtn::SetMargin(Integer value) {
    if (FMargin == value || value < -1)
        return;
    FMargin = value;
    Invalidate();
}

void TBitBtn::SetSpacing(Integer value) {
    if (FSpacing == value)
        return;
    FSpacing = value;
    Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    FDefaultStyle = Default();
    params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    case BM_SETSTYLE:
        // The button draws itself: the default frame follows the style asked for, while the window
        // keeps its owner-drawn style.
        FDefaultStyle = (message.WParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        Invalidate();
        return;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
    TButton::Dispatch(message);
}

void TBitBtn::CNDrawItem(TMessage& message) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    message.Result = TRUE;
    HDC dc = draw->hDC;
    int saved = SaveDC(dc);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Font()->Assign(Font());
    TRect rect = draw->rcItem;
    bool pressed = (draw->itemState & ODS_SELECTED) != 0;
    bool focused = (draw->itemState & ODS_FOCUS) != 0;
    bool isDefault = FDefaultStyle || focused;
    bool enabled = (draw->itemState & ODS_DISABLED) == 0;
    HTHEME theme = OpenThemeData(Handle(), u"BUTTON");
    TPoint offset(0, 0);
    RECT r = rect;
    if (theme != nullptr) {
        int state = !enabled ? PBS_DISABLED : pressed ? PBS_PRESSED : isDefault ? PBS_DEFAULTED : PBS_NORMAL;
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &r, nullptr);
        CloseThemeData(theme);
    } else {
        if (isDefault) {
            // The default button has a black frame around its face.
            canvas.Brush()->SetColor(clWindowFrame);
            canvas.FrameRect(rect);
            InflateRect(&r, -1, -1);
        }
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0));
        if (pressed)
            offset = TPoint(1, 1);
    }
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    TRect client(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    FTextBounds = FGlyph->DrawButton(&canvas, client, offset, Caption(), FLayout, FMargin, FSpacing,
                                     !enabled  ? bsDisabled
                                     : pressed ? bsDown
                                               : bsUp,
                                     true);
    if (focused) {
        RECT focus = rect;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
}
