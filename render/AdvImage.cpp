// TAdvImage: picture bytes decoded by OleLoadPicture and rendered through IPicture.
#include "render/AdvImage.h"

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"

DEFINE_CLASS(TAdvImage)

TAdvImage::TAdvImage() : FDatastream(std::make_unique<TMemoryStream>()) {}

TAdvImage::~TAdvImage() = default;

void TAdvImage::LoadPicture() {
    HRESULT result = S_OK;
    render::ComRef<IStream> stream = render::NewPictureStream(*FDatastream, result);
    if (FAILED(result))
        throw Exception(Consts::SImageStreamError);
    if (!stream)
        throw Exception(Consts::SImageEmptyStream);
    gpPicture.Reset();
    void* picture = nullptr;
    result =
        OleLoadPicture(stream.Get(), static_cast<LONG>(FDatastream->Size()), FALSE, IID_IPicture, &picture);
    if (FAILED(result))
        throw Exception(Consts::SImageInvalidFormat);
    if (picture == nullptr)
        throw Exception(Consts::SImageLoadError);
    *gpPicture.Put() = static_cast<IPicture*>(picture);
}

void TAdvImage::CopyFrom(TGraphic* graphic) {
    TMemoryStream saved;
    graphic->SaveToStream(saved);
    saved.SetPosition(0);
    FDatastream->LoadFromStream(saved);
    FIsEmpty = false;
    Changed(this);
}

void TAdvImage::Assign(TPersistent* source) {
    // A picture assigned to itself would empty its own bytes while copying them.
    if (source == this)
        return;
    FIsEmpty = true;
    gpPicture.Reset();
    if (source == nullptr) {
        FDatastream->Clear();
        Changed(this);
        return;
    }
    auto* image = dynamic_cast<TAdvImage*>(source);
    if (image != nullptr && !image->FIsEmpty) {
        FDatastream->LoadFromStream(*image->FDatastream);
        FIsEmpty = false;
        LoadPicture();
        Changed(this);
    }
    // Each of these tests that matches copies the source's saved form once more, as the framework's
    // callers of this class have always seen it: a bitmap matches as a bitmap and as a graphic.
    if (auto* bitmap = dynamic_cast<TBitmap*>(source))
        CopyFrom(bitmap);
    if (auto* graphic = dynamic_cast<TGraphic*>(source))
        CopyFrom(graphic);
    if (auto* picture = dynamic_cast<TPicture*>(source); picture != nullptr && picture->Graphic() != nullptr)
        CopyFrom(picture->Graphic());
}

void TAdvImage::LoadFromFile(const String& fileName) {
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        FDatastream->LoadFromStream(stream);
        FIsEmpty = false;
        LoadPicture();
        Changed(this);
    } catch (const std::exception&) {
        // The panel shows no background rather than failing to show at all.
        FIsEmpty = true;
    }
}

void TAdvImage::LoadFromStream(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FIsEmpty = false;
    LoadPicture();
    Changed(this);
}

void TAdvImage::SaveToStream(TStream& stream) {
    FDatastream->SaveToStream(stream);
}

void TAdvImage::ReadData(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FIsEmpty = false;
    LoadPicture();
}

void TAdvImage::WriteData(TStream& stream) {
    SaveToStream(stream);
}

void TAdvImage::LoadFromResourceName(NativeUInt instance, const String& resName) {
    TMemoryStream bytes;
    if (!render::ReadRCData(instance, resName.c_str(), bytes))
        throw EResNotFound(Consts::SResNotFound, {resName});
    LoadFromStream(bytes);
}

void TAdvImage::LoadFromResourceID(NativeUInt instance, Integer resID) {
    TMemoryStream bytes;
    if (!render::ReadRCData(instance, MAKEINTRESOURCEW(static_cast<std::uintptr_t>(resID)), bytes))
        throw EResNotFound(Consts::SResNotFound, {IntToStr(resID)});
    LoadFromStream(bytes);
}

Integer TAdvImage::Width() const {
    OLE_XSIZE_HIMETRIC width = 0;
    if (!gpPicture || FAILED(gpPicture->get_Width(&width)))
        return 0;
    return MulDiv(width, FLogPixX, 2540);
}

Integer TAdvImage::Height() const {
    OLE_YSIZE_HIMETRIC height = 0;
    if (!gpPicture || FAILED(gpPicture->get_Height(&height)))
        return 0;
    return MulDiv(height, FLogPixY, 2540);
}

void TAdvImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (FIsEmpty || !gpPicture)
        return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    gpPicture->get_Width(&width);
    gpPicture->get_Height(&height);
    RECT bounds = rect;
    // A HIMETRIC picture counts upwards from its bottom edge: start at the bottom, go up.
    gpPicture->Render(canvas->Handle(), rect.Left, rect.Bottom, rect.Width(), -rect.Height(), 0, 0, width,
                      height, &bounds);
}
