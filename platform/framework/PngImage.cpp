// TPngImage: PNG files read and written by the PNG codec, drawn with their alpha.
#include "platform/framework/PngImage.h"

#include <algorithm>
#include <functional>

#include "platform/codecs/Png.h"
#include "platform/framework/GraphicsPrivate.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TPngImage)

namespace {

// The codec's text names the failure; each has its error class.
[[noreturn]] void RaisePng(const codecs::CodecError& error) {
    const String& m = error.message;
    struct Entry {
        const Char* text;
        void (*raise)(const String&);
    };
    static const Entry kEntries[] = {
        {Consts::EPNGUnexpectedEndText, [](const String& s) { throw EPNGUnexpectedEnd(s); }},
        {Consts::EPngInvalidCRCText, [](const String& s) { throw EPngInvalidCRC(s); }},
        {Consts::EPNGInvalidIHDRText, [](const String& s) { throw EPNGInvalidIHDR(s); }},
        {Consts::EPNGMissingMultipleIDATText, [](const String& s) { throw EPNGMissingMultipleIDAT(s); }},
        {Consts::EPNGInvalidPaletteText, [](const String& s) { throw EPNGInvalidPalette(s); }},
        {Consts::EPNGInvalidFileHeaderText, [](const String& s) { throw EPNGInvalidFileHeader(s); }},
        {Consts::EPNGIHDRNotFirstText, [](const String& s) { throw EPNGIHDRNotFirst(s); }},
        {Consts::EPNGSizeExceedsText, [](const String& s) { throw EPNGSizeExceeds(s); }},
        {Consts::EPNGMissingPaletteText, [](const String& s) { throw EPNGMissingPalette(s); }},
        {Consts::EPNGUnknownCriticalChunkText, [](const String& s) { throw EPNGUnknownCriticalChunk(s); }},
        {Consts::EPNGUnknownCompressionText, [](const String& s) { throw EPNGUnknownCompression(s); }},
        {Consts::EPNGUnknownInterlaceText, [](const String& s) { throw EPNGUnknownInterlace(s); }},
        {Consts::EPNGNoImageDataText, [](const String& s) { throw EPNGNoImageData(s); }},
        {Consts::EPNGHeaderNotPresentText, [](const String& s) { throw EPNGHeaderNotPresent(s); }},
    };
    for (const Entry& entry : kEntries)
        if (m == entry.text)
            entry.raise(m);
    if (m.starts_with(Consts::EPNGZLIBErrorText))
        throw EPNGZLIBError(m);
    throw EPNGError(m);
}

const codecs::Image& EmptyImage() {
    static const codecs::Image empty;
    return empty;
}

} // namespace

TPngImage::TPngImage() = default;

TPngImage::~TPngImage() = default;

const codecs::Image& TPngImage::Image() const {
    return FImage ? *FImage : EmptyImage();
}

bool TPngImage::Empty() const {
    return !FImage || FImage->Empty();
}

Integer TPngImage::Width() const {
    return FImage ? FImage->width : 0;
}

Integer TPngImage::Height() const {
    return FImage ? FImage->height : 0;
}

bool TPngImage::Transparent() const {
    return FImage && FImage->hasAlpha;
}

void TPngImage::SetSize(Integer width, Integer height) {
    if (width < 0 || height < 0)
        throw EInvalidGraphic(Consts::SInvalidImageSize);
    if (width == Width() && height == Height())
        return;
    auto image = std::make_unique<codecs::Image>();
    image->width = width;
    image->height = height;
    image->hasAlpha = true;
    image->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    if (FImage) {
        image->hasAlpha = FImage->hasAlpha || width > FImage->width || height > FImage->height;
        for (int y = 0; y < std::min(height, FImage->height); ++y)
            for (int x = 0; x < std::min(width, FImage->width); ++x)
                image->SetPixel(x, y, FImage->Pixel(x, y));
    }
    FImage = std::move(image);
    Changed(this);
}

void TPngImage::Assign(TPersistent* source) {
    if (source == this)
        return;
    if (source == nullptr) {
        FImage.reset();
        Changed(this);
    } else if (auto* png = dynamic_cast<TPngImage*>(source)) {
        FImage = png->FImage ? std::make_unique<codecs::Image>(*png->FImage) : nullptr;
        FCompressionLevel = png->FCompressionLevel;
        Changed(this);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        auto image = std::make_unique<codecs::Image>(bitmap->ToImage());
        image->hasAlpha = bitmap->PixelFormat() == pf32bit && bitmap->AlphaFormat() != afIgnored;
        if (!image->hasAlpha)
            for (std::uint32_t& p : image->pixels)
                p |= 0xFF000000;
        image->palette.clear();
        image->bitsPerPixel = image->hasAlpha ? 32 : 24;
        FImage = std::move(image);
        Changed(this);
    } else {
        TGraphic::Assign(source);
    }
}

void TPngImage::AssignTo(TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        codecs::Image image = Image();
        image.palette.clear();
        image.bitsPerPixel = image.hasAlpha ? 32 : 24;
        bitmap->LoadFromImage(image);
        bitmap->SetAlphaFormat(image.hasAlpha ? afDefined : afIgnored);
        return;
    }
    TGraphic::AssignTo(dest);
}

void TPngImage::LoadFromStream(TStream& stream) {
    codecs::Result<codecs::Image> image = codecs::DecodePng(graphics::ReadRest(stream));
    if (!image)
        RaisePng(image.Error());
    FImage = std::make_unique<codecs::Image>(std::move(image.Value()));
    Changed(this);
}

void TPngImage::SaveToStream(TStream& stream) {
    if (Empty())
        throw EPNGHeaderNotPresent(Consts::EPNGHeaderNotPresentText);
    codecs::Result<codecs::Bytes> bytes = codecs::EncodePng(*FImage);
    if (!bytes)
        RaisePng(bytes.Error());
    graphics::WriteAll(stream, bytes.Value());
}

void TPngImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (!Empty())
        graphics::DrawImage(canvas->Handle(), rect, *FImage);
}
