// The shadow button: its painting, its press and release, and its registration.
#include "controls/VrButtons.h"

#include "controls/VrSysUtils.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TVrShadowBrush, PROPERTY(Color).Type(TypeInfoColor()).Default(clBlack))
DEFINE_CLASS(TVrShadowPen, PROPERTY(Color).Type(TypeInfoColor()).Default(clLime))
DEFINE_CLASS(TVrShadowButton, PROPERTY(Width).Default(110), PROPERTY(Height).Default(30), PROPERTY(Brush),
             PROPERTY(Pen), PROPERTY(Depth).Default(4), PROPERTY(DepthAdjust).Default(2),
             PROPERTY(ShadowColor).Type(TypeInfoColor()).Default(clBtnShadow),
             PROPERTY(ShadowOutline).Type(TypeInfoColor()).Default(clBtnShadow),
             PROPERTY(Style).Default(ssRoundRect), PROPERTY(Direction).Default(sdBottomRight),
             PROPERTY(TextAlign).Default(vtaCenter),
             PROPERTY(DisabledTextColor).Type(TypeInfoColor()).Default(clInactiveCaption),
             PROPERTY(Transparent).Default(false), PROPERTY(ParentFont).Default(false))

TVrShadowBrush::TVrShadowBrush() {
    SetColor(clBlack);
}

TVrShadowPen::TVrShadowPen() {
    SetColor(clLime);
}

void VrButtonsStartup() {
    static bool started = false;
    if (started)
        return;
    started = true;
    VrControlsStartup();
    RegisterClasses({TVrShadowButton::StaticClass()});
}

TVrShadowButton::TVrShadowButton(TComponent* owner)
    : TVrGraphicImageControl(owner), FBrush(std::make_unique<TVrShadowBrush>()),
      FPen(std::make_unique<TVrShadowPen>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque} - TControlStyle{csDoubleClicks});
    SetBounds(Left(), Top(), 110, 30);
    Font()->SetColor(clWhite);
    SetParentFont(false);
    FBrush->OnChange = [this](TObject* sender) { StyleChanged(sender); };
    FPen->OnChange = [this](TObject* sender) { StyleChanged(sender); };
}

TVrShadowButton::~TVrShadowButton() = default;

void TVrShadowButton::SetDepth(Integer value) {
    if (FDepth == value || value <= 2)
        return;
    FDepth = value;
    RequestRepaint();
}

void TVrShadowButton::SetColorField(TColor& field, TColor value) {
    if (field == value)
        return;
    field = value;
    RequestRepaint();
}

void TVrShadowButton::SetShadowColor(TColor value) {
    SetColorField(FShadowColor, value);
}

void TVrShadowButton::SetShadowOutline(TColor value) {
    SetColorField(FShadowOutline, value);
}

void TVrShadowButton::SetDisabledTextColor(TColor value) {
    SetColorField(FDisabledTextColor, value);
}

void TVrShadowButton::SetStyle(TVrShadowButtonStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    RequestRepaint();
}

void TVrShadowButton::SetDirection(TVrShadowDirection value) {
    if (FDirection == value)
        return;
    FDirection = value;
    RequestRepaint();
}

void TVrShadowButton::SetTextAlign(TVrTextAlignment value) {
    if (FTextAlign == value)
        return;
    FTextAlign = value;
    RequestRepaint();
}

namespace {

// The offset towards the shadow's side by distance.
TPoint TowardsShadow(TVrShadowDirection direction, Integer distance) {
    switch (direction) {
    case sdTopLeft:
        return TPoint(-distance, -distance);
    case sdTopRight:
        return TPoint(distance, -distance);
    case sdBottomLeft:
        return TPoint(-distance, distance);
    case sdBottomRight:
    default:
        return TPoint(distance, distance);
    }
}

TRect Moved(const TRect& rect, TPoint offset) {
    return TRect(rect.Left + offset.X, rect.Top + offset.Y, rect.Right + offset.X, rect.Bottom + offset.Y);
}

TTextFormat AlignmentFormat(TVrTextAlignment alignment) {
    TTextFormat format{tfSingleLine};
    switch (alignment) {
    case vtaLeft:
    case vtaTopLeft:
    case vtaBottomLeft:
        format.Include(tfLeft);
        break;
    case vtaCenter:
    case vtaTop:
    case vtaBottom:
        format.Include(tfCenter);
        break;
    default:
        format.Include(tfRight);
        break;
    }
    if (alignment == vtaLeft || alignment == vtaCenter || alignment == vtaRight)
        format.Include(tfVerticalCenter);
    else if (alignment == vtaTopLeft || alignment == vtaTop || alignment == vtaTopRight)
        format.Include(tfTop);
    else
        format.Include(tfBottom);
    return format;
}

} // namespace

TVrShadowButton::FaceKey TVrShadowButton::CurrentFaceKey() {
    FaceKey key;
    key.width = Width();
    key.height = Height();
    key.background = ColorToRGB(Color());
    key.depth = FDepth;
    key.depthAdjust = FDepthAdjust;
    key.down = FDown;
    key.enabled = Enabled();
    key.style = FStyle;
    key.direction = FDirection;
    key.textAlign = FTextAlign;
    key.shadowColor = ColorToRGB(FShadowColor);
    key.shadowOutline = ColorToRGB(FShadowOutline);
    key.disabledTextColor = ColorToRGB(FDisabledTextColor);
    key.brushColor = ColorToRGB(FBrush->Color());
    key.brushStyle = FBrush->Style();
    key.penColor = ColorToRGB(FPen->Color());
    key.penWidth = FPen->Width();
    key.penStyle = FPen->Style();
    key.penMode = FPen->Mode();
    key.caption = Caption();
    TFont* font = Font();
    key.fontName = font->Name();
    key.fontHeight = font->Height();
    key.fontOrientation = font->Orientation();
    key.fontStyle = font->Style().Bits();
    key.fontCharset = font->Charset();
    key.fontPitch = font->Pitch();
    key.fontColor = ColorToRGB(font->Color());
    return key;
}

void TVrShadowButton::Paint() {
    // The picture is drawn again only when something it shows changed. A transparent button shows the
    // parent's picture, and a pattern brush its bitmap, neither of which the key can follow: those draw
    // every time.
    FaceKey key = CurrentFaceKey();
    if (!FFaceKept || !(key == FFaceKey) || Transparent() || FBrush->Bitmap() != nullptr) {
        PaintFace();
        FFaceKey = std::move(key);
        FFaceKept = !Transparent() && FBrush->Bitmap() == nullptr;
    }
    TVrGraphicImageControl::Paint();
}

void TVrShadowButton::PaintFace() {
    PrepareBackground();
    TCanvas* canvas = BitmapCanvas();
    const Integer penWidth = FPen->Width();
    TRect face = ClientRect();
    face = TRect(face.Left + penWidth, face.Top + penWidth, face.Right - penWidth, face.Bottom - penWidth);
    switch (FDirection) {
    case sdTopLeft:
        face.Left += FDepth;
        face.Top += FDepth;
        break;
    case sdTopRight:
        face.Top += FDepth;
        face.Right -= FDepth;
        break;
    case sdBottomLeft:
        face.Left += FDepth;
        face.Bottom -= FDepth;
        break;
    case sdBottomRight:
        face.Right -= FDepth;
        face.Bottom -= FDepth;
        break;
    }

    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(FShadowOutline);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FShadowColor);
    TRect shadow = Moved(face, TowardsShadow(FDirection, FDepth));
    if (FDown)
        shadow = Moved(shadow, TowardsShadow(FDirection, -FDepthAdjust));
    const TShapeType shape = FStyle == ssRectangle ? stRectangle : stRoundRect;
    DrawShape(canvas, shape, shadow.Left, shadow.Top, shadow.Width(), shadow.Height());

    if (FDown)
        face = Moved(face, TowardsShadow(FDirection, FDepthAdjust));
    canvas->SetBrush(FBrush.get());
    canvas->SetPen(FPen.get());
    canvas->SetFont(Font());
    if (!Enabled())
        canvas->Font()->SetColor(FDisabledTextColor);
    DrawShape(canvas, shape, face.Left, face.Top, face.Width(), face.Height());

    face = TRect(face.Left + penWidth, face.Top + penWidth, face.Right - penWidth, face.Bottom - penWidth);
    canvas->Brush()->SetStyle(bsClear);
    TRect textRect = face;
    String caption = Caption();
    canvas->TextRect(textRect, caption, AlignmentFormat(FTextAlign));
    FCurrentRect = face;
}

bool TVrShadowButton::OnFace(int x, int y) const {
    return x >= FCurrentRect.Left && x < FCurrentRect.Right && y >= FCurrentRect.Top &&
           y < FCurrentRect.Bottom;
}

void TVrShadowButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TVrGraphicImageControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !OnFace(x, y))
        return;
    FPressed = true;
    FDown = true;
    SetMouseCapture(true);
    RequestRepaint();
}

void TVrShadowButton::MouseMove(TShiftState shift, int x, int y) {
    if (FPressed) {
        const bool down = OnFace(x, y);
        if (down != FDown) {
            FDown = down;
            RequestRepaint();
        }
    }
    TVrGraphicImageControl::MouseMove(shift, x, y);
}

void TVrShadowButton::WMLButtonUp(TMessage& message) {
    SetMouseCapture(false);
    if (FPressed && FDown) {
        FDown = false;
        RequestRepaint();
        ClickNow();
    }
    FPressed = false;
    FDown = false;
    TVrGraphicImageControl::WMLButtonUp(message);
}

void TVrShadowButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (Enabled() && IsAccel(static_cast<Word>(message.WParam), Caption())) {
            ClickNow();
            message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        RequestRepaint();
        return;
    case CM_TEXTCHANGED:
        TVrGraphicImageControl::Dispatch(message);
        RequestRepaint();
        return;
    case CM_FONTCHANGED:
        TVrGraphicImageControl::Dispatch(message);
        BitmapCanvas()->SetFont(Font());
        RequestRepaint();
        return;
    default:
        break;
    }
    TVrGraphicImageControl::Dispatch(message);
}
