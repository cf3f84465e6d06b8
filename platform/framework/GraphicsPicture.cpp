// TGraphic, TIcon and TPicture with the registry of picture formats by file extension.
#include "platform/framework/Graphics.h"

#include <cstdlib>

#include "platform/codecs/Ico.h"
#include "platform/framework/Filer.h"
#include "platform/framework/GifImg.h"
#include "platform/framework/GraphicsPrivate.h"
#include "platform/framework/Jpeg.h"
#include "platform/framework/PngImage.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysStrings.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winuser.h"

// ---- TGraphic ----

DEFINE_CLASS(TGraphic)

void TGraphic::Changed(TObject*) {
    FModified = true;
    if (OnChange)
        OnChange(this);
}

void TGraphic::SetModified(bool value) {
    if (value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::SetTransparent(bool value) {
    if (value != FTransparent) {
        FTransparent = value;
        Changed(this);
    }
}

void TGraphic::SetSize(Integer width, Integer height) {
    SetWidth(width);
    SetHeight(height);
}

void TGraphic::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler* filer) {
    filer->DefineBinaryProperty(
        u"Data", [this](TStream& stream) { ReadData(stream); },
        [this](TStream& stream) { WriteData(stream); }, !Empty());
}

std::unique_ptr<TGraphic> NewGraphic(TGraphicClass graphicClass) {
    if (graphicClass == nullptr || !graphicClass->InheritsFrom(TGraphic::StaticClass()) ||
        !graphicClass->CanCreate())
        throw EInvalidGraphic(Consts::SInvalidImage);
    return std::unique_ptr<TGraphic>(static_cast<TGraphic*>(graphicClass->Create()));
}

// ---- TIcon ----

DEFINE_CLASS(TIcon)

struct TIcon::Data {
    codecs::IconFile file;
    codecs::Bytes bytes;    // the file as read, written back unchanged
    int current = -1;       // the image shown
    HICON handle = nullptr; // the icon object, owned

    Data() = default;
    Data(const Data& other) : file(other.file), bytes(other.bytes), current(other.current) {}
    Data& operator=(const Data& other) {
        if (this != &other) {
            FreeHandle();
            file = other.file;
            bytes = other.bytes;
            current = other.current;
        }
        return *this;
    }
    ~Data() { FreeHandle(); }
    void FreeHandle() {
        if (handle != nullptr)
            DestroyIcon(handle);
        handle = nullptr;
    }
};

namespace {

// The image a 32-pixel icon shows: the closest in size, then the deepest.
int ChooseIconImage(const codecs::IconFile& file) {
    int best = -1;
    long bestScore = 0;
    for (size_t i = 0; i < file.images.size(); ++i) {
        const codecs::Image& image = file.images[i].image;
        long score =
            std::labs(image.width - 32L) * 1000 + std::labs(image.height - 32L) * 1000 - image.bitsPerPixel;
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

} // namespace

TIcon::TIcon() : FData(std::make_unique<Data>()) {}

TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* source) {
    if (source == this)
        return;
    if (source == nullptr) {
        FData = std::make_unique<Data>();
        Changed(this);
        return;
    }
    auto* icon = dynamic_cast<TIcon*>(source);
    if (icon == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    *FData = *icon->FData;
    Changed(this);
}

const codecs::Image* TIcon::CurrentImage() const {
    if (FData->current < 0)
        return nullptr;
    return &FData->file.images[static_cast<size_t>(FData->current)].image;
}

bool TIcon::Empty() const {
    return CurrentImage() == nullptr;
}

Integer TIcon::Width() const {
    const codecs::Image* image = CurrentImage();
    return image ? image->width : 0;
}

Integer TIcon::Height() const {
    const codecs::Image* image = CurrentImage();
    return image ? image->height : 0;
}

void TIcon::SetWidth(Integer value) {
    if (value != Width())
        throw EInvalidGraphicOperation(Consts::SChangeIconSize);
}

void TIcon::SetHeight(Integer value) {
    if (value != Height())
        throw EInvalidGraphicOperation(Consts::SChangeIconSize);
}

bool TIcon::HandleAllocated() const {
    return FData->handle != nullptr;
}

HICON TIcon::Handle() {
    const codecs::Image* image = CurrentImage();
    if (FData->handle != nullptr || image == nullptr)
        return FData->handle;
    TBitmap color;
    codecs::Image withAlpha = *image;
    if (!withAlpha.hasAlpha)
        for (std::uint32_t& p : withAlpha.pixels)
            p |= 0xFF000000;
    withAlpha.hasAlpha = true;
    withAlpha.bitsPerPixel = 32;
    withAlpha.palette.clear();
    color.LoadFromImage(withAlpha);
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(image->width, image->height);
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            mask.Canvas()->SetPixels(x, y, (withAlpha.Pixel(x, y) >> 24) < 128 ? clWhite : clBlack);
    ICONINFO info{TRUE, 0, 0, mask.Handle(), color.Handle()};
    FData->handle = CreateIconIndirect(&info);
    return FData->handle;
}

void TIcon::SetHandle(HICON value) {
    if (value == FData->handle)
        return;
    auto data = std::make_unique<Data>();
    if (value != nullptr) {
        ICONINFO info{};
        if (!GetIconInfo(value, &info))
            throw EInvalidGraphic(Consts::SInvalidIcon);
        TBitmap color, mask;
        color.SetHandle(info.hbmColor);
        mask.SetHandle(info.hbmMask);
        codecs::IconImage entry;
        entry.image = color.ToImage();
        entry.image.hasAlpha = true;
        entry.image.palette.clear();
        entry.image.bitsPerPixel = 32;
        for (int y = 0; y < entry.image.height; ++y)
            for (int x = 0; x < entry.image.width; ++x) {
                bool masked = mask.Canvas()->Pixels(x, y) != clBlack;
                std::uint32_t p = entry.image.Pixel(x, y) & 0xFFFFFF;
                entry.image.SetPixel(x, y, masked ? p : p | 0xFF000000);
            }
        data->file.images.push_back(std::move(entry));
        data->current = 0;
        data->handle = value;
    }
    FData = std::move(data);
    Changed(this);
}

HICON TIcon::ReleaseHandle() {
    HICON handle = Handle();
    FData->handle = nullptr;
    return handle;
}

Integer TIcon::ImageCount() const {
    return static_cast<Integer>(FData->file.images.size());
}

void TIcon::LoadFromStream(TStream& stream) {
    codecs::Bytes bytes = graphics::ReadRest(stream);
    codecs::Result<codecs::IconFile> file = codecs::DecodeIco(bytes);
    if (!file)
        throw EInvalidGraphic(Consts::SInvalidIcon);
    FData->file = std::move(file.Value());
    FData->bytes = std::move(bytes);
    FData->current = ChooseIconImage(FData->file);
    Changed(this);
}

void TIcon::SaveToStream(TStream& stream) {
    if (Empty())
        return;
    if (FData->bytes.empty()) {
        std::vector<codecs::Image> images;
        for (const codecs::IconImage& image : FData->file.images)
            images.push_back(image.image);
        codecs::Result<codecs::Bytes> bytes = codecs::EncodeIco(images);
        if (!bytes)
            graphics::Raise<EInvalidGraphic>(bytes.Error());
        FData->bytes = std::move(bytes.Value());
    }
    graphics::WriteAll(stream, FData->bytes);
}

void TIcon::LoadFromImage(const codecs::Image& image) {
    FData = std::make_unique<Data>();
    codecs::IconImage entry;
    entry.image = image;
    FData->file.images.push_back(std::move(entry));
    FData->current = 0;
    Changed(this);
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect) {
    if (const codecs::Image* image = CurrentImage())
        graphics::DrawImage(canvas->Handle(), rect, *image);
}

// ---- The registry of formats ----

namespace {

struct TFileFormat {
    String extension;
    String description;
    TGraphicClass graphicClass;
};

std::mutex& FormatsLock() {
    static std::mutex lock;
    return lock;
}

// The framework's own formats come first; the units of the other formats register theirs at start-up
// in the framework, which would depend on the order of static initialisation here, so they are listed
// here instead.
std::vector<TFileFormat>& Formats() {
    static std::vector<TFileFormat> formats = {
        {u"bmp", u"Bitmaps", TBitmap::StaticClass()},
        {u"ico", u"Icons", TIcon::StaticClass()},
        {u"png", u"Portable Network Graphics", TPngImage::StaticClass()},
        {u"jpg", u"JPEG Image File", TJPEGImage::StaticClass()},
        {u"jpeg", u"JPEG Image File", TJPEGImage::StaticClass()},
        {u"jpe", u"JPEG Image File", TJPEGImage::StaticClass()},
        {u"jfif", u"JPEG Image File", TJPEGImage::StaticClass()},
        {u"gif", u"GIF Image", TGIFImage::StaticClass()},
    };
    return formats;
}

TGraphicClass FindGraphicClass(const String& extension) {
    std::lock_guard guard(FormatsLock());
    const std::vector<TFileFormat>& formats = Formats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (SameText(it->extension, extension))
            return it->graphicClass;
    return nullptr;
}

String ExtensionOf(const String& fileName) {
    String ext = ExtractFileExt(fileName);
    if (!ext.empty() && ext[0] == u'.')
        ext.erase(0, 1);
    return ext;
}

} // namespace

void TPicture::RegisterFileFormat(const String& extension, const String& description,
                                  TGraphicClass graphicClass) {
    std::lock_guard guard(FormatsLock());
    String ext = extension;
    if (!ext.empty() && ext[0] == u'.')
        ext.erase(0, 1);
    Formats().push_back(TFileFormat{LowerCase(ext), description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass) {
    std::lock_guard guard(FormatsLock());
    std::erase_if(Formats(), [graphicClass](const TFileFormat& f) {
        return f.graphicClass->InheritsFrom(graphicClass);
    });
}

String TPicture::GraphicFilter(TGraphicClass graphicClass) {
    std::lock_guard guard(FormatsLock());
    String all, each, masks;
    for (const TFileFormat& f : Formats()) {
        if (graphicClass != nullptr && !f.graphicClass->InheritsFrom(graphicClass))
            continue;
        String mask = u"*." + f.extension;
        masks += (masks.empty() ? u"" : u";") + mask;
        each += u"|" + f.description + u" (" + mask + u")|" + mask;
    }
    all = u"All (" + masks + u")|" + masks;
    return all + each;
}

// ---- TPicture ----

DEFINE_CLASS(TPicture)

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Changed(TObject*) {
    if (OnChange)
        OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic)
        FGraphic->OnChange = [this](TObject* sender) { Changed(sender); };
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* value) {
    if (value == FGraphic.get())
        return;
    std::unique_ptr<TGraphic> copy;
    if (value != nullptr) {
        copy = NewGraphic(value->ClassType());
        copy->Assign(value);
    }
    Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (dynamic_cast<TBitmap*>(FGraphic.get()) == nullptr)
        Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
    if (dynamic_cast<TIcon*>(FGraphic.get()) == nullptr)
        Adopt(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::Assign(TPersistent* source) {
    if (source == nullptr) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        SetGraphic(picture->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::LoadFromFile(const String& fileName) {
    String ext = ExtensionOf(fileName);
    TGraphicClass graphicClass = FindGraphicClass(ext);
    if (graphicClass == nullptr)
        throw EInvalidGraphic(Consts::SUnknownExtension, {ext});
    std::unique_ptr<TGraphic> graphic = NewGraphic(graphicClass);
    graphic->LoadFromFile(fileName);
    Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) {
    if (FGraphic)
        FGraphic->SaveToFile(fileName);
}

void TPicture::LoadFromStream(TStream& stream) {
    Byte head[16] = {};
    Int64 start = stream.Position();
    Integer got = stream.Read(head, sizeof head);
    stream.SetPosition(start);
    TGraphicClass graphicClass = nullptr;
    switch (codecs::DetectImageFormat(codecs::ByteSpan(head, static_cast<size_t>(got)))) {
    case codecs::ImageFormat::Bmp:
        graphicClass = TBitmap::StaticClass();
        break;
    case codecs::ImageFormat::Png:
        graphicClass = TPngImage::StaticClass();
        break;
    case codecs::ImageFormat::Jpeg:
        graphicClass = TJPEGImage::StaticClass();
        break;
    case codecs::ImageFormat::Gif:
        graphicClass = TGIFImage::StaticClass();
        break;
    case codecs::ImageFormat::Ico:
    case codecs::ImageFormat::Cur:
        graphicClass = TIcon::StaticClass();
        break;
    case codecs::ImageFormat::Unknown:
        throw EInvalidGraphic(Consts::SInvalidImage);
    }
    std::unique_ptr<TGraphic> graphic = NewGraphic(graphicClass);
    graphic->LoadFromStream(stream);
    Adopt(std::move(graphic));
}

void TPicture::SaveToStream(TStream& stream) {
    if (FGraphic)
        FGraphic->SaveToStream(stream);
}

void TPicture::DefineProperties(TFiler* filer) {
    // The class name as a short string, then the graphic's own data.
    auto readData = [this](TStream& stream) {
        Byte length = 0;
        stream.ReadBuffer(&length, 1);
        std::string name(length, '\0');
        if (length > 0)
            stream.ReadBuffer(name.data(), length);
        String className = Utf8ToString(name);
        TClass graphicClass = nullptr;
        {
            std::lock_guard guard(FormatsLock());
            for (const TFileFormat& f : Formats())
                if (SameText(f.graphicClass->ClassName(), className))
                    graphicClass = f.graphicClass;
        }
        if (graphicClass == nullptr)
            graphicClass = GetClass(className);
        if (graphicClass == nullptr) {
            Adopt(nullptr);
            return;
        }
        std::unique_ptr<TGraphic> graphic = NewGraphic(graphicClass);
        graphic->ReadData(stream);
        Adopt(std::move(graphic));
    };
    auto writeData = [this](TStream& stream) {
        std::string name = StringToUtf8(FGraphic->ClassName());
        Byte length = static_cast<Byte>(name.size());
        stream.WriteBuffer(&length, 1);
        stream.WriteBuffer(name.data(), length);
        FGraphic->WriteData(stream);
    };
    filer->DefineBinaryProperty(u"Data", readData, writeData, FGraphic != nullptr);
}
