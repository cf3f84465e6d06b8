// TJPEGImage: JPEG files read and written by the JPEG codec.
#include "platform/framework/Jpeg.h"

#include <cstring>

#include "platform/codecs/Jpeg.h"
#include "platform/framework/GraphicsPrivate.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"

DEFINE_CLASS(TJPEGImage)

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const {
    return !FImage || FImage->Empty();
}

Integer TJPEGImage::Width() const {
    return FImage ? FImage->width >> FScale : 0;
}

Integer TJPEGImage::Height() const {
    return FImage ? FImage->height >> FScale : 0;
}

void TJPEGImage::SetWidth(Integer value) {
    if (value != Width())
        throw EInvalidGraphicOperation(Consts::SChangeJPGSize);
}

void TJPEGImage::SetHeight(Integer value) {
    if (value != Height())
        throw EInvalidGraphicOperation(Consts::SChangeJPGSize);
}

void TJPEGImage::SetCompressionQuality(TJPEGQualityRange value) {
    FQuality = value < 1 ? 1 : value > 100 ? 100 : value;
}

void TJPEGImage::SetGrayscale(bool value) {
    if (value != FGrayscale) {
        FGrayscale = value;
        Changed(this);
    }
}

void TJPEGImage::SetScale(TJPEGScale value) {
    if (value != FScale) {
        FScale = value;
        Changed(this);
    }
}

codecs::Image TJPEGImage::Shown() const {
    codecs::Image image = *FImage;
    if (FGrayscale)
        for (std::uint32_t& p : image.pixels) {
            std::uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            std::uint32_t y = (r * 299 + g * 587 + b * 114 + 500) / 1000;
            p = 0xFF000000 | y << 16 | y << 8 | y;
        }
    image.hasAlpha = false;
    return image;
}

void TJPEGImage::Assign(TPersistent* source) {
    if (source == this)
        return;
    if (source == nullptr) {
        FImage.reset();
        FData.clear();
        Changed(this);
    } else if (auto* jpeg = dynamic_cast<TJPEGImage*>(source)) {
        FImage = jpeg->FImage ? std::make_unique<codecs::Image>(*jpeg->FImage) : nullptr;
        FData = jpeg->FData;
        FQuality = jpeg->FQuality;
        FGrayscale = jpeg->FGrayscale;
        FProgressive = jpeg->FProgressive;
        FPerformance = jpeg->FPerformance;
        FScale = jpeg->FScale;
        FPixelFormat = jpeg->FPixelFormat;
        Changed(this);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        auto image = std::make_unique<codecs::Image>(bitmap->ToImage());
        image->hasAlpha = false;
        image->palette.clear();
        image->bitsPerPixel = 24;
        for (std::uint32_t& p : image->pixels)
            p |= 0xFF000000;
        FImage = std::move(image);
        FData.clear();
        Changed(this);
    } else {
        TGraphic::Assign(source);
    }
}

void TJPEGImage::AssignTo(TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (Empty()) {
            bitmap->Assign(nullptr);
            return;
        }
        codecs::Image image = Shown();
        image.palette.clear();
        image.bitsPerPixel = 24;
        bitmap->LoadFromImage(image);
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    codecs::Bytes bytes = graphics::ReadRest(stream);
    codecs::Result<codecs::Image> image = codecs::DecodeJpeg(bytes);
    if (!image)
        graphics::Raise<EJPEG>(image.Error());
    FImage = std::make_unique<codecs::Image>(std::move(image.Value()));
    FData = std::move(bytes);
    Changed(this);
}

void TJPEGImage::Compress() {
    if (Empty())
        return;
    codecs::JpegWriteOptions options;
    options.quality = FQuality;
    options.grayscale = FGrayscale;
    options.progressive = FProgressive;
    codecs::Result<codecs::Bytes> bytes = codecs::EncodeJpeg(*FImage, options);
    if (!bytes)
        graphics::Raise<EJPEG>(bytes.Error());
    FData = std::move(bytes.Value());
}

void TJPEGImage::JPEGNeeded() {
    if (FData.empty())
        Compress();
}

void TJPEGImage::SaveToStream(TStream& stream) {
    JPEGNeeded();
    graphics::WriteAll(stream, FData);
}

void TJPEGImage::ReadData(TStream& stream) {
    Integer size = 0;
    stream.ReadBuffer(&size, sizeof size);
    if (size < 0 || size > stream.Size() - stream.Position())
        throw EJPEG(Consts::SJPEGError, {0});
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    // CopyFrom takes the whole source for a count of 0, hence the test above.
    TMemoryStream data;
    data.CopyFrom(stream, size);
    data.SetPosition(0);
    LoadFromStream(data);
}

void TJPEGImage::WriteData(TStream& stream) {
    JPEGNeeded();
    Integer size = static_cast<Integer>(FData.size());
    stream.WriteBuffer(&size, sizeof size);
    graphics::WriteAll(stream, FData);
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (!Empty())
        graphics::DrawImage(canvas->Handle(), rect, Shown());
}
