// TPanel, TBevel, TShape and TPaintBox: controls that paint themselves with the canvas.
#include "platform/framework/ExtCtrls.h"

#include <algorithm>

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TCustomPanel, PROPERTY(Alignment).Default(taCenter), PROPERTY(BevelInner).Default(bvNone),
             PROPERTY(BevelOuter).Default(bvRaised), PROPERTY(BevelWidth).Default(1),
             PROPERTY(BorderStyle).Default(bsNone), PROPERTY(BorderWidth).Default(0),
             PROPERTY(ParentColor).Default(false))
DEFINE_CLASS(TPanel)
DEFINE_CLASS(TBevel, PROPERTY(Shape).Default(bsBox), PROPERTY(Style).Default(bsLowered))
DEFINE_CLASS(TShape, PROPERTY(Brush), PROPERTY(Pen), PROPERTY(Shape).Default(stRectangle))
DEFINE_CLASS(TPaintBox, EVENT(OnPaint))

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psSolid);
    // Each ring: the top and left in topColor, the bottom and right in bottomColor, the corners where
    // the bottom-left and top-right meet belonging to the bottom.
    for (int i = 0; i < width; ++i) {
        rect.Right -= 1;
        rect.Bottom -= 1;
        canvas->Pen()->SetColor(topColor);
        canvas->Polyline(
            {TPoint(rect.Left, rect.Bottom), TPoint(rect.Left, rect.Top), TPoint(rect.Right, rect.Top)});
        canvas->Pen()->SetColor(bottomColor);
        canvas->Polyline({TPoint(rect.Right, rect.Top), TPoint(rect.Right, rect.Bottom),
                          TPoint(rect.Left - 1, rect.Bottom)});
        rect.Left += 1;
        rect.Top += 1;
    }
}

// ---- TCustomPanel ----

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque,          csDoubleClicks, csReplicatable};
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (FBevelInner == value)
        return;
    FBevelInner = value;
    BevelsChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (FBevelOuter == value)
        return;
    FBevelOuter = value;
    BevelsChanged();
}

void TCustomPanel::SetBevelWidth(Integer value) {
    if (FBevelWidth == value)
        return;
    FBevelWidth = value;
    BevelsChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomPanel::BevelsChanged() {
    Realign();
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int bevelSize = (FBevelOuter != bvNone ? FBevelWidth : 0) + (FBevelInner != bvNone ? FBevelWidth : 0);
    rect.Left += bevelSize;
    rect.Top += bevelSize;
    rect.Right -= bevelSize;
    rect.Bottom -= bevelSize;
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::Dispatch(TMessage& message) {
    if (message.Msg == CM_TEXTCHANGED)
        Invalidate();
    TCustomControl::Dispatch(message);
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    auto bevel = [&](TPanelBevel cut) {
        if (cut == bvNone)
            return;
        TColor top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
        TColor bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == bvSpace)
            top = bottom = Color();
        Frame3D(canvas, rect, top, bottom, FBevelWidth);
    };
    bevel(FBevelOuter);
    Frame3D(canvas, rect, Color(), Color(), BorderWidth());
    bevel(FBevelInner);
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
    String text = Caption();
    if (text.empty())
        return;
    static constexpr UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->Assign(Font());
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    RECT textRect = rect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | Alignments[FAlignment]);
}

// ---- TBevel ----

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    FControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    if (FShape == value)
        return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = Canvas();
    TColor first = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    int width = Width();
    int height = Height();
    canvas->Pen()->SetWidth(1);
    auto line = [canvas](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    switch (FShape) {
    case bsBox: {
        TRect rect(0, 0, width, height);
        Frame3D(canvas, rect, first, second, 1);
        break;
    }
    case bsFrame: {
        // Two boxes one pixel apart: an etched frame.
        TRect outer(0, 0, width - 1, height - 1);
        Frame3D(canvas, outer, first, first, 1);
        TRect inner(1, 1, width, height);
        Frame3D(canvas, inner, second, second, 1);
        break;
    }
    case bsTopLine:
        line(first, 0, 0, width, 0);
        line(second, 0, 1, width, 1);
        break;
    case bsBottomLine:
        line(first, 0, height - 2, width, height - 2);
        line(second, 0, height - 1, width, height - 1);
        break;
    case bsLeftLine:
        line(first, 0, 0, 0, height);
        line(second, 1, 0, 1, height);
        break;
    case bsRightLine:
        line(first, width - 2, 0, width - 2, height);
        line(second, width - 1, 0, width - 1, height);
        break;
    case bsSpacer:
        break;
    }
}

// ---- TShape ----

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    FControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 65);
    FPen->OnChange = [this](TObject*) { Invalidate(); };
    FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType value) {
    if (FShape == value)
        return;
    FShape = value;
    Invalidate();
}

void TShape::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Pen()->Assign(FPen.get());
    canvas->Brush()->Assign(FBrush.get());
    // The pen stays inside the bounds: a wide pen is centred on the outline.
    int penWidth = FPen->Width();
    int x = penWidth / 2;
    int y = x;
    int w = Width() - penWidth + 1;
    int h = Height() - penWidth + 1;
    if (penWidth == 0) {
        w -= 1;
        h -= 1;
    }
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = side;
        h = side;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare: {
        int corner = std::min(w, h) / 4;
        canvas->RoundRect(x, y, x + w, y + h, corner, corner);
        break;
    }
    case stEllipse:
    case stCircle:
        canvas->Ellipse(x, y, x + w, y + h);
        break;
    }
}

// ---- TPaintBox ----

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
    FControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
    Canvas()->Font()->Assign(Font());
    Canvas()->Brush()->SetColor(Color());
    if (OnPaint)
        OnPaint(this);
}
