// TGDIPPicture: picture bytes measured and drawn through the GDI+ object layer.
#include "render/GDIPicture.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"
#include "render/AdvGDIP.h"
#include "render/PictureStream.h"

DEFINE_CLASS(TGDIPPicture, EVENT(OnClear))

TGDIPPicture::TGDIPPicture() : FDatastream(std::make_unique<TMemoryStream>()) {}

TGDIPPicture::~TGDIPPicture() = default;

void TGDIPPicture::FireClear() {
    if (OnClear)
        OnClear(this);
}

void TGDIPPicture::Assign(TPersistent* source) {
    // Copying a picture onto itself would lose its bytes.
    if (source == this)
        return;
    FIsEmpty = true;
    if (source == nullptr) {
        FDatastream->Clear();
        Changed(this);
        FireClear();
        return;
    }
    if (auto* picture = dynamic_cast<TGDIPPicture*>(source)) {
        FDatastream->LoadFromStream(*picture->FDatastream);
        FIsEmpty = FDatastream->Size() == 0;
    } else {
        TGraphic* graphic = dynamic_cast<TGraphic*>(source);
        if (auto* framePicture = dynamic_cast<TPicture*>(source)) {
            graphic = framePicture->Graphic();
            if (graphic == nullptr) {
                // Nothing to copy from a picture that holds no graphic: the copy is an empty picture.
                FDatastream->Clear();
                Changed(this);
                return;
            }
        }
        if (graphic == nullptr)
            return;
        TMemoryStream saved;
        graphic->SaveToStream(saved);
        saved.SetPosition(0);
        FDatastream->LoadFromStream(saved);
        FIsEmpty = false;
    }
    Changed(this);
    GetImageSizes();
}

void TGDIPPicture::LoadFromFile(const String& fileName) {
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        FDatastream->LoadFromStream(stream);
        FIsEmpty = false;
        FFileName = fileName;
        FireClear();
        GetImageSizes();
        Changed(this);
    } catch (const std::exception&) {
        // A picture that cannot be read is shown as no picture.
        FIsEmpty = true;
    }
}

void TGDIPPicture::LoadFromStream(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FIsEmpty = false;
    GetImageSizes();
    Changed(this);
}

void TGDIPPicture::SaveToStream(TStream& stream) {
    FDatastream->SaveToStream(stream);
}

void TGDIPPicture::ReadData(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FIsEmpty = false;
}

void TGDIPPicture::WriteData(TStream& stream) {
    SaveToStream(stream);
}

void TGDIPPicture::LoadFromResourceName(NativeUInt instance, const String& resName) {
    TMemoryStream bytes;
    if (render::ReadRCData(instance, resName.c_str(), bytes))
        LoadFromStream(bytes);
}

void TGDIPPicture::LoadFromResourceID(NativeUInt instance, Integer resID) {
    TMemoryStream bytes;
    if (!render::ReadRCData(instance, MAKEINTRESOURCEW(static_cast<std::uintptr_t>(resID)), bytes))
        throw EResNotFound(Consts::SResNotFound, {IntToStr(resID)});
    LoadFromStream(bytes);
}

void TGDIPPicture::LoadFromURL(const String& url) {
    String rest;
    render::UrlKind kind = render::SplitPictureUrl(url, rest);
    if (rest.empty())
        return;
    if (kind == render::UrlKind::Resource)
        LoadFromResourceName(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)), rest);
    else if (kind == render::UrlKind::File)
        LoadFromFile(rest);
}

bool TGDIPPicture::GetImageSizes() {
    if (FIsEmpty || FDatastream->Size() == 0)
        return false;
    std::unique_ptr<TGPImage> image = render::DecodePicture(*FDatastream);
    if (!image)
        return false;
    FWidth = static_cast<Integer>(image->GetWidth());
    FHeight = static_cast<Integer>(image->GetHeight());
    return true;
}

void TGDIPPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (FIsEmpty || FDatastream->Size() == 0)
        return;
    std::unique_ptr<TGPImage> image = render::DecodePicture(*FDatastream);
    if (!image)
        return;
    TGPGraphics graphics(canvas->Handle());
    if (image->GetFormat() == ifBMP && FTransparentBitmap) {
        TBitmap bitmap;
        FDatastream->SetPosition(0);
        bitmap.LoadFromStream(*FDatastream);
        FDatastream->SetPosition(0);
        bitmap.SetTransparentMode(tmAuto);
        bitmap.SetTransparent(true);
        canvas->StretchDraw(rect, &bitmap);
        return;
    }
    FWidth = static_cast<Integer>(image->GetWidth());
    FHeight = static_cast<Integer>(image->GetHeight());
    graphics.DrawImageRect(image.get(), rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TGDIPPicture::DrawImage(TGPGraphics* graphics, Integer x, Integer y) {
    if (FIsEmpty || FDatastream->Size() == 0 || graphics == nullptr)
        return;
    std::unique_ptr<TGPImage> image = render::DecodePicture(*FDatastream);
    if (image)
        graphics->DrawImage(image.get(), x, y);
}

void TGDIPPicture::DrawImageRect(TGPGraphics* graphics, Integer x, Integer y, Integer w, Integer h) {
    if (FIsEmpty || FDatastream->Size() == 0 || graphics == nullptr)
        return;
    std::unique_ptr<TGPImage> image = render::DecodePicture(*FDatastream);
    if (image)
        graphics->DrawImageRect(image.get(), x, y, w, h);
}
