// Pictures for marked-up text: THTMLPicture with its GIF frame bookkeeping, the picture cache and the
// container of named pictures.
#include "render/PictureContainer.h"

#include <algorithm>

#include "platform/rtl/Consts.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winuser.h"
#include "render/PictureStream.h"

using render::GifBytes;

// ==== THTMLPicture ====

DEFINE_CLASS(THTMLPicture, PROPERTY(Stretch).Default(false), PROPERTY(Frame).Default(1), EVENT(OnFrameChange),
             EVENT(OnDownLoadError), EVENT(OnDownLoadComplete), EVENT(OnDownLoadCancel),
             EVENT(OnDownLoadProgress))

THTMLPicture::THTMLPicture() : FDatastream(std::make_unique<TMemoryStream>()) {}

THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::ResetFrames() {
    // New bytes are a new picture: its frames are counted afresh and shown from the first.
    FFrameCount = -1;
    FFrame = 1;
    FNextCount = -1;
    FTimerCount = -1;
}

void THTMLPicture::LoadBytes(TStream& stream) {
    FDatastream->LoadFromStream(stream);
    FIsEmpty = false;
    ResetFrames();
}

void THTMLPicture::Assign(TPersistent* source) {
    // Copying a picture onto itself would lose its bytes.
    if (source == this)
        return;
    FIsEmpty = true;
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
    SetFrame(1);
    if (source == nullptr) {
        FDatastream->Clear();
        return;
    }
    if (auto* picture = dynamic_cast<THTMLPicture*>(source)) {
        FStretched = picture->FStretched;
        FFrame = picture->FFrame;
        FID = picture->FID;
        FDatastream->LoadFromStream(*picture->FDatastream);
        FIsEmpty = false;
        PrepareFrame();
        Changed(this);
        return;
    }
    if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (picture->Graphic() == nullptr)
            return;
        TMemoryStream saved;
        picture->Graphic()->SaveToStream(saved);
        saved.SetPosition(0);
        LoadFromStream(saved);
    }
}

void THTMLPicture::LoadFromFile(const String& fileName) {
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        LoadFromStream(stream);
    } catch (const std::exception&) {
        // A picture that cannot be read is shown as no picture; the text around it still shows.
        FIsEmpty = true;
    }
}

void THTMLPicture::LoadFromStream(TStream& stream) {
    LoadBytes(stream);
    PrepareFrame();
    Changed(this);
}

void THTMLPicture::SaveToStream(TStream& stream) {
    FDatastream->SaveToStream(stream);
}

void THTMLPicture::ReadData(TStream& stream) {
    // The stored Frame is read before the bytes; it stays when the new bytes have that frame.
    Integer frame = FFrame;
    LoadBytes(stream);
    if (frame >= 1 && frame <= FrameCount())
        FFrame = frame;
    PrepareFrame();
}

void THTMLPicture::WriteData(TStream& stream) {
    SaveToStream(stream);
}

void THTMLPicture::LoadFromResourceName(NativeUInt instance, const String& resName) {
    TMemoryStream bytes;
    if (render::ReadRCData(instance, resName.c_str(), bytes))
        LoadFromStream(bytes);
}

void THTMLPicture::LoadFromResourceID(NativeUInt instance, Integer resID) {
    TMemoryStream bytes;
    if (!render::ReadRCData(instance, MAKEINTRESOURCEW(static_cast<std::uintptr_t>(resID)), bytes))
        throw EResNotFound(Consts::SResNotFound, {IntToStr(resID)});
    LoadFromStream(bytes);
}

void THTMLPicture::LoadFromURL(const String& url) {
    String rest;
    switch (render::SplitPictureUrl(url, rest)) {
    case render::UrlKind::Resource:
        FID = url;
        if (!rest.empty())
            LoadFromResourceName(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)), rest);
        break;
    case render::UrlKind::File:
        FID = url;
        if (!rest.empty())
            LoadFromFile(rest);
        break;
    case render::UrlKind::Other:
        if (!FAsynch) {
            FURL = url;
            FID = url;
        } else if (!FThreadBusy) {
            // FIXME: no download exists yet; the address and the busy flag are kept for one, and no
            // download event fires.
            FURL = url;
            FThreadBusy = true;
        }
        break;
    }
}

bool THTMLPicture::IsGIF() const {
    if (FDatastream->Size() < 5)
        return false;
    const auto* data = static_cast<const Byte*>(FDatastream->Memory());
    return data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8';
}

Integer THTMLPicture::FrameCount() {
    if (!IsGIF())
        return -1;
    if (FFrameCount == -1)
        FFrameCount = render::GifBytesOf(*FDatastream).CountFrames();
    return FFrameCount;
}

Integer THTMLPicture::FrameTime(Integer i) {
    if (!IsGIF())
        return -1;
    GifBytes gif = render::GifBytesOf(*FDatastream);
    Int64 p = gif.FindFrame(i);
    if (p < 0)
        return -1;
    Byte packed = gif.data[p + 3];
    FFrameTransp = (packed & 1) != 0;
    // The disposal method is bits 2-4 of the packed byte, as GIF files store it.
    FFrameDisposal = static_cast<Word>((packed >> 2) & 7);
    return gif.WordAt(p + 4);
}

void THTMLPicture::PrepareFrame() {
    if (FDatastream->Size() == 0)
        return;
    FWidth = 0;
    FHeight = 0;
    FFrameXPos = 0;
    FFrameYPos = 0;
    FAnimMaxX = 0;
    FAnimMaxY = 0;
    if (IsGIF() && FrameCount() > 0) {
        GifBytes gif = render::GifBytesOf(*FDatastream);
        if (gif.size >= 10) {
            FAnimMaxX = gif.WordAt(6);
            FAnimMaxY = gif.WordAt(8);
        }
        Int64 p = gif.FindFrame(FFrame);
        if (p >= 0 && gif.HasGeometry(p)) {
            FFrameXPos = gif.WordAt(p + 9);
            FFrameYPos = gif.WordAt(p + 11);
            FFrameXSize = gif.WordAt(p + 13);
            FFrameYSize = gif.WordAt(p + 15);
        }
    }
    std::unique_ptr<TGPImage> image = render::DecodePicture(*FDatastream);
    if (image) {
        FWidth = static_cast<Integer>(image->GetWidth());
        FHeight = static_cast<Integer>(image->GetHeight());
    }
}

void THTMLPicture::Draw(TCanvas* canvas, const TRect& rect) {
    if (FIsEmpty || FDatastream->Size() == 0)
        return;
    std::unique_ptr<TGPImage> image = render::DecodePicture(*FDatastream);
    if (!image)
        return;
    if (image->GetFormat() == ifBMP) {
        TBitmap bitmap;
        FDatastream->SetPosition(0);
        bitmap.LoadFromStream(*FDatastream);
        FDatastream->SetPosition(0);
        bitmap.SetTransparentMode(tmAuto);
        bitmap.SetTransparent(true);
        canvas->StretchDraw(rect, &bitmap);
        return;
    }
    // An animated GIF shows the frame the animation is at.
    if (image->GetFormat() == ifGIF && FFrame > 1 && static_cast<UINT>(FFrame) <= image->GetFrameCount())
        image->SelectActiveFrame(static_cast<UINT>(FFrame - 1));
    TGPGraphics graphics(canvas->Handle());
    graphics.DrawImageRect(image.get(), rect.Left, rect.Top, rect.Width(), rect.Height());
}

void THTMLPicture::SetFrame(Integer value) {
    FFrame = value;
    if (FDatastream->Size() > 0) {
        PrepareFrame();
        if (OnFrameChange)
            OnFrameChange(this);
    }
}

void THTMLPicture::FrameNext() {
    ++FFrame;
    if (FFrame > FrameCount())
        FFrame = 1;
}

void THTMLPicture::FramePrev() {
    --FFrame;
    if (FFrame < 1)
        FFrame = std::max(FrameCount(), 1);
}

bool THTMLPicture::Step() {
    if (FIsEmpty || FrameCount() < 2)
        return false;
    if (FNextCount == -1)
        FrameTime(FFrame);
    bool changed = false;
    if (FTimerCount * 10 >= FNextCount) {
        FrameNext();
        PrepareFrame();
        // A frame whose block cannot be found counts as showing for no time, so that the animation
        // moves on past it instead of waiting on a delay that is not there.
        FNextCount += std::max(FrameTime(FFrame), 0);
        changed = true;
    }
    ++FTimerCount;
    return changed;
}

// ==== THTMLPictureCache ====

THTMLPictureCache::~THTMLPictureCache() {
    ClearPictures();
}

THTMLPicture* THTMLPictureCache::AddPicture() {
    auto* picture = new THTMLPicture();
    Add(picture);
    return picture;
}

THTMLPicture* THTMLPictureCache::FindPicture(const String& id) const {
    for (Integer i = 0; i < Count(); ++i)
        if (GetPicture(i)->ID() == id)
            return GetPicture(i);
    return nullptr;
}

void THTMLPictureCache::ClearPictures() {
    for (Integer i = 0; i < Count(); ++i)
        delete GetPicture(i);
    Clear();
}

bool THTMLPictureCache::Animate() {
    bool changed = false;
    for (Integer i = 0; i < Count(); ++i)
        changed = GetPicture(i)->Step() || changed;
    return changed;
}

// ==== TPictureItem ====

DEFINE_CLASS(TPictureItem, PROPERTY(Picture), PROPERTY(Tag).Default(0), PROPERTY(Name))

TPictureItem::TPictureItem(TCollection* collection) : TCollectionItem(collection) {}

TPictureItem::~TPictureItem() = default;

void TPictureItem::AfterConstruction() {
    Inherited::AfterConstruction();
    Picture();
}

TGraphic* TPictureItem::CreatePicture() {
    return new THTMLPicture();
}

TGraphic* TPictureItem::Picture() const {
    if (!FPicture)
        FPicture.reset(const_cast<TPictureItem*>(this)->CreatePicture());
    return FPicture.get();
}

void TPictureItem::SetPicture(TGraphic* value) {
    Picture()->Assign(value);
}

void TPictureItem::Assign(TPersistent* source) {
    auto* item = dynamic_cast<TPictureItem*>(source);
    if (item == nullptr)
        throw EInvalidCast(Consts::SInvalidCast);
    FName = item->FName;
    FTag = item->FTag;
    Picture()->Assign(item->Picture());
}

String TPictureItem::GetDisplayName() const {
    return FName.empty() ? Inherited::GetDisplayName() : FName;
}

// ==== TPictureCollection ====

DEFINE_CLASS(TPictureCollection)

TPictureCollection::TPictureCollection(TComponent* owner)
    : TOwnedCollection(owner, TPictureItem::StaticClass()), FOwner(owner) {}

TCollectionItemClass TPictureCollection::GetItemClass() {
    return TPictureItem::StaticClass();
}

bool TPictureCollection::Animate() {
    bool changed = false;
    for (Integer i = 0; i < Count(); ++i)
        if (auto* picture = dynamic_cast<THTMLPicture*>(Items(i)->Picture()))
            changed = picture->Step() || changed;
    return changed;
}

// ==== TPictureContainer ====

DEFINE_CLASS(TPictureContainer, PROPERTY(Items), PROPERTY(Version))

TPictureContainer::TPictureContainer(TComponent* owner) : TComponent(owner) {}

TPictureContainer::~TPictureContainer() = default;

TPictureCollection* TPictureContainer::CreateItems() {
    return new TPictureCollection(this);
}

TPictureCollection* TPictureContainer::Items() const {
    if (!FItems)
        FItems.reset(const_cast<TPictureContainer*>(this)->CreateItems());
    return FItems.get();
}

void TPictureContainer::SetItems(TPictureCollection* value) {
    // The container keeps its own collection; the given one stays the caller's.
    if (value != FItems.get())
        Items()->Assign(value);
}

String TPictureContainer::Version() const {
    constexpr Cardinal version = 0x02000000;
    return IntToStr(static_cast<Integer>(version >> 24)) + u"." +
           IntToStr(static_cast<Integer>((version >> 16) & 0xFF)) + u"." +
           IntToStr(static_cast<Integer>((version >> 8) & 0xFF)) + u"." +
           IntToStr(static_cast<Integer>(version & 0xFF));
}

THTMLPicture* TPictureContainer::FindPicture(const String& s) {
    TPictureCollection* items = Items();
    for (Integer i = 0; i < items->Count(); ++i)
        if (SameText(items->Items(i)->Name(), s))
            return dynamic_cast<THTMLPicture*>(items->Items(i)->Picture());
    return nullptr;
}
