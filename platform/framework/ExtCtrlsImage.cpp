// TImage: a picture drawn by a graphic control, stretched, proportional or centred.
#include "platform/framework/ExtCtrls.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TImage, PROPERTY(AutoSize).Default(false), PROPERTY(Center).Default(false), PROPERTY(Picture),
             PROPERTY(Proportional).Default(false), PROPERTY(Stretch).Default(false),
             PROPERTY(Transparent).Default(false))

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
    FControlStyle.Include(csReplicatable);
    FPicture->OnChange = [this](TObject* sender) { PictureChanged(sender); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
}

TCanvas* TImage::Canvas() {
    if (FPicture->Graphic() == nullptr) {
        TBitmap bitmap(Width(), Height());
        FPicture->SetGraphic(&bitmap);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
    if (bitmap == nullptr)
        throw EInvalidOperation(Consts::SImageCanvasNeedsBitmap);
    return bitmap->Canvas();
}

void TImage::SetCenter(bool value) {
    if (FCenter == value)
        return;
    FCenter = value;
    PictureChanged(this);
}

void TImage::SetProportional(bool value) {
    if (FProportional == value)
        return;
    FProportional = value;
    PictureChanged(this);
}

void TImage::SetStretch(bool value) {
    if (FStretch == value)
        return;
    FStretch = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    PictureChanged(this);
}

TRect TImage::DestRect() const {
    int w = FPicture->Width();
    int h = FPicture->Height();
    int cw = Width();
    int ch = Height();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            // The longer side fills the control, and the other follows the picture's aspect ratio.
            double aspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * aspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect rect(0, 0, w, h);
    if (FCenter) {
        int dx = (cw - w) / 2;
        int dy = (ch - h) / 2;
        rect = TRect(rect.Left + dx, rect.Top + dy, rect.Right + dx, rect.Bottom + dy);
    }
    return rect;
}

void TImage::PictureChanged(TObject*) {
    if (FDrawing)
        return;
    TGraphic* graphic = FPicture->Graphic();
    if (graphic != nullptr) {
        // The image's Transparent rules its picture; the picture's own change is not a new picture.
        FDrawing = true;
        if (graphic->Transparent() != FTransparent)
            graphic->SetTransparent(FTransparent);
        FDrawing = false;
        if (AutoSize() && graphic->Width() > 0 && graphic->Height() > 0)
            SetBounds(Left(), Top(), graphic->Width(), graphic->Height());
    }
    // An opaque picture that covers the control lets the parent skip painting beneath it.
    if (graphic != nullptr && !FTransparent &&
        (FStretch || (graphic->Width() >= Width() && graphic->Height() >= Height())))
        FControlStyle.Include(csOpaque);
    else
        FControlStyle.Exclude(csOpaque);
    Invalidate();
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight) {
    if (FPicture->Width() > 0 && FPicture->Height() > 0) {
        newWidth = FPicture->Width();
        newHeight = FPicture->Height();
    }
    return true;
}

void TImage::Paint() {
    TGraphic* graphic = FPicture->Graphic();
    if (graphic == nullptr || graphic->Empty())
        return;
    // Drawing may make a bitmap's handle, which the picture reports as a change.
    FDrawing = true;
    TGraphicControl::Canvas()->StretchDraw(DestRect(), graphic);
    FDrawing = false;
}
