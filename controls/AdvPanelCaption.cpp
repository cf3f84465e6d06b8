// The caption panel's caption bar (background, close and collapse buttons, text), status bar and size
// grip, painted into the panel's paint target after the body.
#include "controls/AdvPanel.h"

#include "platform/win32/uxtheme.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/CaptionHTML.h"
#include "render/VerIRID.h"

using namespace AdvPanel;

namespace {
// Moves every side of rect inwards by amount.
void Shrink(TRect& rect, Integer amount) {
    rect.Left += amount;
    rect.Top += amount;
    rect.Right -= amount;
    rect.Bottom -= amount;
}

void DrawGlyph(TCanvas* canvas, Integer x, Integer y, TBitmap* glyph) {
    glyph->SetTransparent(true);
    canvas->Draw(x, y, glyph);
}

// A font like source, turned by escapement tenths of a degree.
void UseRotatedFont(TCanvas* canvas, TFont* source, Integer escapement) {
    canvas->Font()->Assign(source);
    canvas->Font()->SetOrientation(escapement);
}
} // namespace

void TCustomAdvPanel::PaintCaptionBar(TCanvas* canvas) {
    TCaptionPosition side = FCaption->Position();
    bool right = FCaption->ButtonPosition() == cbpRight;
    Integer bw = BorderWidth();
    Integer bv = BevelWidth();
    Integer h = FCaption->Height();
    TRect c(0, 0, Width(), Height());
    if (FBorderShadow && bw != 0) {
        switch (side) {
        case cpTop:
            c = TRect(bw, bw, Width() - bw - 2, Height());
            break;
        case cpLeft:
            c = TRect(bw, bw, Width(), Height() + 1 - bw);
            break;
        case cpRight:
            c = TRect(0, bw, Width() - bw, Height() + 1 - bw);
            break;
        }
    }
    if (BevelInner() != bvNone || BevelOuter() != bvNone)
        Shrink(c, bv);

    bool shaded = FCaption->ShadeType() != stNormal && (FCaption->ShadeType() != stXPCaption || IsThemed());
    Integer s = FBorderShadow && !shaded ? 3 : 0;
    TRect strip;
    switch (side) {
    case cpTop:
        strip = TRect(c.Left, c.Top, c.Right, c.Top + h - 2 * bv);
        break;
    case cpLeft:
        strip = TRect(c.Left, c.Top, c.Left + h - 2 * bv, c.Bottom - s);
        break;
    case cpRight:
        strip = TRect(c.Right - h, c.Top, c.Right, c.Bottom - s);
        break;
    }

    // Background: a collapsed plain caption shows CloseColor; a gradient keeps its colours.
    TColor plain = FCollaps ? FCaption->CloseColor() : FCaption->Color();
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(plain);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(plain);
    if (shaded)
        DrawCaptionBackground(canvas, strip);
    else if (FCaption->ColorTo() == clNone)
        canvas->Rectangle(strip);
    else
        PanelDrawGradient(canvas, FCaption->Color(), FCaption->ColorTo(), 64, strip,
                          FCaption->GradientDirection() == gdHorizontal);

    Integer& L = c.Left;
    Integer& T = c.Top;
    Integer& R = c.Right;
    Integer& B = c.Bottom;

    // An XP caption under visual styles shows the window's own buttons.
    const bool themedButtons = FCaption->ShadeType() == stXPCaption && IsThemed();
    auto windowPart = [&](int part, TRect box) {
        if (HTHEME theme = VerIRID::OpenThemeData(Handle(), u"window"); theme != nullptr) {
            RECT r = box;
            VerIRID::DrawThemeBackground(theme, canvas->Handle(), part, 1, &r, nullptr);
            VerIRID::CloseThemeData(theme);
        }
    };
    // The 14 x 14 box of a themed button at the buttons' end of the caption's side.
    auto themedBox = [&]() {
        switch (side) {
        case cpTop:
            return right ? TRect(R - 16, T + 4, R - 2, T + 18) : TRect(L + 2, T + 4, L + 16, T + 18);
        case cpLeft:
            return right ? TRect(L + 4, T + 2, L + 18, T + 16) : TRect(L + 4, B - 16, L + 18, B - 2);
        case cpRight:
            break;
        }
        return right ? TRect(R - 18, B - 16, R - 4, B - 2) : TRect(R - 18, T + 2, R - 4, T + 16);
    };

    if (FCaption->CloseButton()) {
        TBitmap* closeMin = FCaption->CloseMinGlyph();
        TBitmap* closeMax = FCaption->CloseMaxGlyph();
        if (themedButtons) {
            windowPart(WP_CLOSEBUTTON, themedBox());
            switch (side) {
            case cpTop:
                (right ? R : L) += right ? -14 : 14;
                break;
            case cpLeft:
                (right ? T : B) += right ? 14 : -14;
                break;
            case cpRight:
                (right ? B : T) += right ? -14 : 14;
                break;
            }
        } else if (!closeMin->Empty() && !closeMax->Empty()) {
            TBitmap* glyph = FCollaps ? closeMin : closeMax;
            Integer gw = glyph->Width(), gh = glyph->Height();
            switch (side) {
            case cpTop:
                if (right) {
                    DrawGlyph(canvas, R - gw, T + 2, glyph);
                    R -= gw;
                } else {
                    DrawGlyph(canvas, L, T + 2, glyph);
                    L += gw;
                }
                break;
            case cpLeft:
                if (right) {
                    DrawGlyph(canvas, L + 2, T, glyph);
                    T += gh;
                } else {
                    DrawGlyph(canvas, L + 2, B - gh, glyph);
                    B -= gh;
                }
                break;
            case cpRight:
                if (right) {
                    DrawGlyph(canvas, R - gw - 2, B - gh - 2, glyph);
                    B -= gh;
                } else {
                    DrawGlyph(canvas, R - gw - 2, T, glyph);
                    T += gh;
                }
                break;
            }
        } else {
            TColor color = FHoverCloseBtn && FCaption->CloseButtonHoverColor() != clNone
                               ? FCaption->CloseButtonHoverColor()
                               : FCaption->CloseButtonColor();
            canvas->Pen()->SetColor(color);
            canvas->Pen()->SetWidth(2);
            auto stroke = [&](Integer x1, Integer y1, Integer x2, Integer y2) {
                canvas->MoveTo(x1, y1);
                canvas->LineTo(x2, y2);
            };
            switch (side) {
            case cpTop:
                if (right) {
                    stroke(R - 10, T + 4, R - 4, T + 10);
                    stroke(R - 4, T + 4, R - 10, T + 10);
                    R -= 12;
                } else {
                    stroke(L + 4, T + 4, L + 10, T + 10);
                    stroke(L + 10, T + 4, L + 4, T + 10);
                    L += 12;
                }
                break;
            case cpLeft:
                if (right) {
                    stroke(L + 4, T + 4, L + 10, T + 10);
                    stroke(L + 10, T + 4, L + 4, T + 10);
                    T += 12;
                } else {
                    stroke(L + 4, B - 4, L + 10, B - 10);
                    stroke(L + 10, B - 4, L + 4, B - 10);
                    B -= 12;
                }
                break;
            case cpRight:
                if (right) {
                    stroke(R - 4, B - 12, R - 10, B - 6);
                    stroke(R - 10, B - 12, R - 4, B - 6);
                    B -= 14;
                } else {
                    stroke(R - 10, T + 4, R - 4, T + 10);
                    stroke(R - 4, T + 4, R - 10, T + 10);
                    T += 12;
                }
                break;
            }
            canvas->Pen()->SetWidth(1);
        }
    }

    if (FCaption->MinMaxButton()) {
        TBitmap* glyph = FCollaps ? FCaption->MaxGlyph() : FCaption->MinGlyph();
        if (themedButtons) {
            windowPart(FCollaps ? WP_MAXBUTTON : WP_MINBUTTON, themedBox());
        } else if (!glyph->Empty()) {
            Integer gw = glyph->Width(), gh = glyph->Height();
            switch (side) {
            case cpTop:
                DrawGlyph(canvas, right ? R - gw : L, T + 2, glyph);
                break;
            case cpLeft:
                DrawGlyph(canvas, L + 2, right ? T : B - gh, glyph);
                break;
            case cpRight:
                if (FCollaps)
                    DrawGlyph(canvas, R - gw - 2, right ? B - gh - 2 : T, glyph);
                else
                    DrawGlyph(canvas, R - 12, right ? B - gh : T, glyph);
                break;
            }
        } else {
            TColor color = FHoverMinMaxBtn && FCaption->MinMaxButtonHoverColor() != clNone
                               ? FCaption->MinMaxButtonHoverColor()
                               : FCaption->MinMaxButtonColor();
            canvas->Pen()->SetWidth(1);
            canvas->Pen()->SetColor(color);
            canvas->Brush()->SetStyle(bsSolid);
            canvas->Brush()->SetColor(color);
            // Collapsed panels show the expand triangle, expanded ones the collapse triangle.
            bool c0 = FCollaps;
            switch (side) {
            case cpTop:
                if (right)
                    canvas->Polygon(
                        c0 ? std::initializer_list<TPoint>{{R - 10, T + 5}, {R - 4, T + 5}, {R - 7, T + 8}}
                           : std::initializer_list<TPoint>{{R - 10, T + 8}, {R - 4, T + 8}, {R - 7, T + 5}});
                else
                    canvas->Polygon(
                        c0 ? std::initializer_list<TPoint>{{L + 4, T + 5}, {L + 10, T + 5}, {L + 7, T + 8}}
                           : std::initializer_list<TPoint>{{L + 4, T + 8}, {L + 10, T + 8}, {L + 7, T + 5}});
                break;
            case cpLeft:
                if (right)
                    canvas->Polygon(
                        c0 ? std::initializer_list<TPoint>{{L + 5, T + 10}, {L + 5, T + 4}, {L + 8, T + 7}}
                           : std::initializer_list<TPoint>{{L + 8, T + 10}, {L + 8, T + 4}, {L + 5, T + 7}});
                else
                    canvas->Polygon(
                        c0 ? std::initializer_list<TPoint>{{L + 5, B - 4}, {L + 5, B - 10}, {L + 8, B - 7}}
                           : std::initializer_list<TPoint>{{L + 8, B - 4}, {L + 8, B - 10}, {L + 5, B - 7}});
                break;
            case cpRight:
                if (right)
                    canvas->Polygon(
                        c0 ? std::initializer_list<TPoint>{{R - 6, B - 4}, {R - 6, B - 10}, {R - 9, B - 7}}
                           : std::initializer_list<TPoint>{{R - 9, B - 4}, {R - 9, B - 10}, {R - 6, B - 7}});
                else
                    canvas->Polygon(
                        c0 ? std::initializer_list<TPoint>{{R - 6, T + 10}, {R - 6, T + 4}, {R - 9, T + 7}}
                           : std::initializer_list<TPoint>{{R - 9, T + 10}, {R - 9, T + 4}, {R - 6, T + 7}});
                break;
            }
        }
    }

    // The text area keeps 20 pixels clear for each button at the buttons' end.
    Integer reserve = (FCaption->CloseButton() ? 20 : 0) + (FCaption->MinMaxButton() ? 20 : 0);
    TRect t = c;
    switch (side) {
    case cpTop:
        (right ? t.Right : t.Left) += right ? -reserve : reserve;
        break;
    case cpLeft:
        if (right)
            t.Top += reserve;
        else
            t.Bottom -= reserve;
        break;
    case cpRight:
        if (right)
            t.Bottom -= reserve;
        else
            t.Top += reserve;
        break;
    }
    const String& text = FCaption->Text();
    if (text.empty())
        return;
    canvas->Font()->Assign(FCaption->Font());
    switch (side) {
    case cpTop: {
        t.Bottom = t.Top + h;
        t.Left += FCaption->Indent() + 2;
        t.Top += FCaption->TopIndent();
        Integer width = 0, height = 0;
        String anchor, plainText, detail;
        Integer anchorCount = 0, mouseAnchor = 0;
        TRect hoverRect;
        // Unwrapped text would otherwise run on under the buttons.
        HDC dc = canvas->Handle();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, t.Left, t.Top, t.Right, t.Bottom);
        RenderCaptionHTML(canvas, text, t, FImages, 0, 0, -1, FCaptionHoverHyperLink, FShadowOffset, false,
                          false, false, false, true, false, false, 1.0, FURLColor, FHoverColor,
                          FHoverFontColor, FShadowColor, anchor, plainText, detail, width, height,
                          anchorCount, mouseAnchor, hoverRect, FImageCache.get(), FContainer, FLineSpacing,
                          BiDiMode());
        RestoreDC(dc, saved);
        break;
    }
    case cpLeft: {
        t.Right = t.Left + h;
        t.Bottom -= FCaption->Indent();
        t.Left += FCaption->TopIndent();
        Canvas()->Font()->Assign(Font());
        t.Bottom += Canvas()->TextHeight(u"gh") - 2;
        canvas->Brush()->SetStyle(bsClear);
        // Reads upwards from the bottom of the bar: single-line text at the bottom of the area, turned
        // about its start.
        Integer textHeight = canvas->TextHeight(u"gh");
        UseRotatedFont(canvas, FCaption->Font(), 900);
        canvas->TextRect(t, t.Left, t.Bottom - textHeight, CaptionHTMLToPlainText(text));
        break;
    }
    case cpRight: {
        t.Right = Width();
        t.Left = Width() - h + FCaption->TopIndent();
        t.Top += FCaption->Indent() + 2;
        canvas->Brush()->SetStyle(bsClear);
        // Reads downwards from the top of the bar.
        UseRotatedFont(canvas, FCaption->Font(), 2700);
        canvas->TextRect(t, t.Right - 4, t.Top, CaptionHTMLToPlainText(text));
        break;
    }
    }
    canvas->Font()->SetOrientation(0);
    canvas->Brush()->SetStyle(bsSolid);
}

void TCustomAdvPanel::PaintStatusBar(TCanvas* canvas) {
    TCaptionPosition side = FCaption->Position();
    bool bevelled = BevelInner() != bvNone || BevelOuter() != bvNone;
    Integer m = bevelled ? 2 : 1;
    if (FBorderShadow && BorderWidth() != 0)
        m += 2;
    Integer pw = Width(), ph = Height(), sh = FStatusBar->Height();
    TRect sr;
    switch (side) {
    case cpTop:
        sr = TRect(m, ph - sh - 1, pw - m, ph - m);
        break;
    case cpLeft:
        sr = TRect(pw - sh - m, 1, pw - m, ph - m);
        break;
    case cpRight:
        sr = TRect(m, 1, m + sh, ph - m);
        break;
    }
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsSolid);
    if (FStatusBar->Color() != clNone && FStatusBar->ColorTo() != clNone) {
        PanelDrawGradient(canvas, FStatusBar->Color(), FStatusBar->ColorTo(), 40, sr,
                          FStatusBar->GradientDirection() == gdHorizontal);
    } else if (FStatusBar->Color() != clNone) {
        canvas->Pen()->SetColor(FStatusBar->Color());
        canvas->Brush()->SetColor(FStatusBar->Color());
        canvas->Rectangle(sr);
    }

    bool sizeable = !FCollaps && FCanSize;
    if (FStatusBar->ImageIndex() >= 0 && FImages != nullptr) {
        Integer iw = FImages->Width(), ih = FImages->Height();
        if (side == cpTop) {
            FImages->Draw(canvas, sr.Left + 1, sr.Top + 2, FStatusBar->ImageIndex());
            sr.Left += iw + 2;
        } else {
            // Above the size grip while the panel can be sized.
            FImages->Draw(canvas, sr.Left + 2, sr.Bottom - ih - (sizeable ? 12 : 1),
                          FStatusBar->ImageIndex());
            sr.Bottom -= ih + 2;
        }
    }

    const String& text = FStatusBar->Text();
    if (!text.empty()) {
        canvas->Brush()->SetStyle(bsClear);
        if (side == cpTop) {
            canvas->Font()->Assign(FStatusBar->Font());
            TRect t(sr.Left + 2, sr.Top + FStatusBar->TopIndent(), sr.Right, sr.Bottom);
            Integer width = 0, height = 0;
            String anchor, plainText, detail;
            Integer anchorCount = 0, mouseAnchor = 0;
            TRect hoverRect;
            RenderCaptionHTML(canvas, text, t, FImages, 0, 0, -1, -1, FShadowOffset, false, false, false,
                              false, true, false, false, 1.0, FURLColor, FHoverColor, FHoverFontColor,
                              FShadowColor, anchor, plainText, detail, width, height, anchorCount,
                              mouseAnchor, hoverRect, FImageCache.get(), FContainer, FLineSpacing,
                              BiDiMode());
        } else if (side == cpLeft) {
            UseRotatedFont(canvas, FStatusBar->Font(), 900);
            canvas->TextOut(sr.Left + 2, sizeable ? sr.Bottom - 16 : sr.Bottom - 2,
                            CaptionHTMLToPlainText(text));
        } else {
            UseRotatedFont(canvas, FStatusBar->Font(), 2700);
            canvas->TextOut(sr.Right - 2, sr.Top + 3, CaptionHTMLToPlainText(text));
        }
        canvas->Font()->SetOrientation(0);
        canvas->Brush()->SetStyle(bsSolid);
    }

    if (FStatusBar->BorderStyle() != AdvPanel::bsNone && FStatusBar->BorderColor() != clNone) {
        Integer bw = BorderWidth();
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(FStatusBar->BorderColor());
        canvas->Brush()->SetStyle(bsClear);
        switch (side) {
        case cpTop:
            canvas->Rectangle(bw, sr.Top, sr.Right - bw + 1, sr.Bottom - bw + 1);
            break;
        case cpLeft:
            canvas->Rectangle(sr.Left, sr.Top, sr.Right + 1, ph);
            break;
        case cpRight:
            canvas->Rectangle(sr.Left - 1, sr.Top, sr.Right, ph);
            break;
        }
        canvas->Brush()->SetStyle(bsSolid);
    }

    if (FStatusBar->BevelInner()) {
        canvas->Pen()->SetWidth(1);
        auto line = [&](TColor color, std::initializer_list<TPoint> points) {
            canvas->Pen()->SetColor(color);
            canvas->Polyline(points);
        };
        switch (side) {
        case cpTop:
            line(clGray, {{0, sr.Bottom - 1}, {0, sr.Top}, {sr.Right, sr.Top}});
            line(clWhite, {{0, sr.Bottom - 1}, {sr.Right - 1, sr.Bottom - 1}, {sr.Right - 1, sr.Top}});
            break;
        case cpLeft:
            line(clGray, {{sr.Left, ph}, {sr.Left, sr.Top}, {sr.Right - 1, sr.Top}});
            line(clWhite, {{sr.Left, ph}, {sr.Right - 1, ph}, {sr.Right - 1, sr.Top}});
            break;
        case cpRight:
            line(clGray, {{sr.Left, ph}, {sr.Right - 1, ph}, {sr.Right - 1, sr.Top}});
            line(clWhite, {{sr.Left, ph}, {sr.Left, sr.Top}, {sr.Right - 1, sr.Top}});
            break;
        }
    }
}

void TCustomAdvPanel::PaintSizeGrip(TCanvas* canvas) {
    TRect g = ClientRect();
    if (BevelInner() != bvNone || BevelOuter() != bvNone)
        Shrink(g, 2 * BevelWidth());
    if (FBorderShadow) {
        g.Right -= 4;
        g.Bottom -= 4;
    }
    bool left = FCaption->Position() == cpRight;
    if (left)
        g.Right = g.Left + GetSystemMetrics(SM_CXVSCROLL);
    else
        g.Left = g.Right - GetSystemMetrics(SM_CXVSCROLL);
    g.Top = g.Bottom - GetSystemMetrics(SM_CXHSCROLL);
    Integer b = g.Bottom;
    // Three diagonal lines from the corner, mirrored for a grip at the bottom left.
    Integer x = left ? g.Left + 1 : g.Right;
    Integer dir = left ? 1 : -1;
    auto line = [&](Integer length) {
        canvas->MoveTo(x, b - length);
        canvas->LineTo(x + dir * length, b);
    };
    canvas->Pen()->SetColor(clGray);
    canvas->Pen()->SetWidth(2);
    line(11);
    canvas->MoveTo(x, b - 6);
    canvas->LineTo(x + dir * 7, b);
    line(3);
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetWidth(1);
    line(12);
    line(8);
    line(4);
}
