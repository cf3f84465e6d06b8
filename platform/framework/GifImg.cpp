// TGIFImage: GIF files read and written by the GIF codec, with frames composed as a viewer shows them.
#include "platform/framework/GifImg.h"

#include "platform/codecs/Gif.h"
#include "platform/framework/GraphicsPrivate.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TGIFImage)

struct TGIFImage::Data {
    codecs::GifFile file;
    codecs::Bytes bytes; // the file as read; empty when the frames must be written anew
    std::unique_ptr<codecs::GifComposer> composer; // over file, which therefore never moves
};

namespace {

const codecs::Image& EmptyImage() {
    static const codecs::Image empty;
    return empty;
}

} // namespace

TGIFImage::TGIFImage() = default;

TGIFImage::~TGIFImage() = default;

void TGIFImage::Load(std::unique_ptr<Data> data) {
    FData = std::move(data);
    FImages.FFrames.clear();
    FLoopCount = -1;
    FCurrent = 0;
    if (FData) {
        FData->composer = std::make_unique<codecs::GifComposer>(FData->file);
        for (const codecs::GifFrame& frame : FData->file.frames) {
            TGIFFrameInfo info;
            info.bounds = Bounds(frame.left, frame.top, frame.width, frame.height);
            info.delay = frame.delay;
            info.disposal = static_cast<TGIFDisposalMethod>(frame.disposal);
            info.transparent = frame.transparentIndex >= 0;
            info.interlaced = frame.interlaced;
            FImages.FFrames.push_back(info);
        }
        FLoopCount = FData->file.loopCount ? *FData->file.loopCount : -1;
    }
    Changed(this);
}

bool TGIFImage::Empty() const {
    return !FData || FData->file.frames.empty();
}

Integer TGIFImage::Width() const {
    return FData ? FData->file.width : 0;
}

Integer TGIFImage::Height() const {
    return FData ? FData->file.height : 0;
}

void TGIFImage::SetWidth(Integer value) {
    if (value != Width())
        throw EInvalidGraphicOperation(Consts::sBadDimension);
}

void TGIFImage::SetHeight(Integer value) {
    if (value != Height())
        throw EInvalidGraphicOperation(Consts::sBadDimension);
}

bool TGIFImage::Transparent() const {
    for (const TGIFFrameInfo& frame : FImages.FFrames)
        if (frame.transparent)
            return true;
    return false;
}

const codecs::Image& TGIFImage::Frame(Integer index) {
    if (Empty())
        return EmptyImage();
    return FData->composer->Frame(index);
}

void TGIFImage::SetAnimationFrame(Integer value) {
    if (value < 0 || value >= FImages.Count())
        throw EListError(Consts::SListIndexError, {value});
    if (value != FCurrent) {
        FCurrent = value;
        Changed(this);
    }
}

void TGIFImage::LoadFromStream(TStream& stream) {
    auto data = std::make_unique<Data>();
    data->bytes = graphics::ReadRest(stream);
    codecs::Result<codecs::GifFile> file = codecs::DecodeGif(data->bytes);
    if (!file)
        graphics::Raise<EGIFException>(file.Error());
    data->file = std::move(file.Value());
    Load(std::move(data));
}

void TGIFImage::SaveToStream(TStream& stream) {
    if (Empty())
        throw EGIFException(Consts::sEmptyImage);
    if (FData->bytes.empty()) {
        // Each frame is written whole, as the screen shows it, so that nothing depends on disposal.
        std::vector<codecs::GifWriteFrame> frames;
        for (Integer i = 0; i < FImages.Count(); ++i) {
            codecs::GifWriteFrame frame;
            frame.image = FData->composer->Frame(i);
            frame.delay = FImages[i].delay;
            frames.push_back(std::move(frame));
        }
        codecs::GifWriteOptions options;
        if (FLoopCount >= 0)
            options.loopCount = FLoopCount;
        codecs::Result<codecs::Bytes> bytes = codecs::EncodeGif(frames, options);
        if (!bytes)
            graphics::Raise<EGIFException>(bytes.Error());
        FData->bytes = std::move(bytes.Value());
    }
    graphics::WriteAll(stream, FData->bytes);
}

void TGIFImage::Assign(TPersistent* source) {
    if (source == this)
        return;
    if (source == nullptr) {
        Load(nullptr);
    } else if (auto* gif = dynamic_cast<TGIFImage*>(source)) {
        if (gif->Empty()) {
            Load(nullptr);
            return;
        }
        auto data = std::make_unique<Data>();
        data->file = gif->FData->file;
        data->bytes = gif->FData->bytes;
        Load(std::move(data));
        FAnimate = gif->FAnimate;
        FAnimateLoop = gif->FAnimateLoop;
        FAnimationSpeed = gif->FAnimationSpeed;
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        if (bitmap->Empty()) {
            Load(nullptr);
            return;
        }
        // One frame through the writer, then read back, so that frames always come from a GIF.
        codecs::GifWriteFrame frame;
        frame.image = bitmap->ToImage();
        frame.image.hasAlpha = false;
        codecs::Result<codecs::Bytes> bytes =
            codecs::EncodeGif(std::span<const codecs::GifWriteFrame>(&frame, 1));
        if (!bytes)
            graphics::Raise<EGIFException>(bytes.Error());
        codecs::Result<codecs::GifFile> file = codecs::DecodeGif(bytes.Value());
        if (!file)
            graphics::Raise<EGIFException>(file.Error());
        auto data = std::make_unique<Data>();
        data->file = std::move(file.Value());
        data->bytes = std::move(bytes.Value());
        Load(std::move(data));
    } else {
        TGraphic::Assign(source);
    }
}

void TGIFImage::AssignTo(TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (Empty()) {
            bitmap->Assign(nullptr);
            return;
        }
        codecs::Image image = Frame(FCurrent);
        image.palette.clear();
        image.bitsPerPixel = 32;
        bitmap->LoadFromImage(image);
        bitmap->SetAlphaFormat(image.hasAlpha ? afDefined : afIgnored);
        return;
    }
    TGraphic::AssignTo(dest);
}

void TGIFImage::Draw(TCanvas* canvas, const TRect& rect) {
    if (!Empty())
        graphics::DrawImage(canvas->Handle(), rect, Frame(FCurrent));
}
