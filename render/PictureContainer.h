// Pictures for marked-up text: THTMLPicture (a picture file's bytes, measured and drawn with GDI+, with
// the frame bookkeeping of animated GIF files), the per-control cache of pictures named by address, and
// TPictureContainer, the component of named pictures that IMG tags refer to.
#pragma once

#include <functional>
#include <memory>

#include "platform/framework/Collection.h"
#include "platform/framework/Component.h"
#include "platform/framework/Graphics.h"
#include "platform/rtl/Classes.h"

using TDownloadProgressEvent = std::function<void(TObject* Sender, Cardinal dwSize, Cardinal dwTotSize)>;
using TDownloadCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TDownloadCompleteEvent = std::function<void(TObject* Sender)>;
using TDownloadErrorEvent = std::function<void(TObject* Sender, const String& err)>;

// A picture file of any format GDI+ reads. Bytes that cannot be decoded are no error: the picture then
// measures 0 x 0 and draws nothing.
class THTMLPicture : public TGraphic {
    DECLARE_CLASS(THTMLPicture, TGraphic)

public:
    THTMLPicture();
    ~THTMLPicture() override;

    // From another THTMLPicture (bytes, Stretch, Frame, ID) or a framework TPicture (its graphic's
    // saved form); null clears the picture; anything else leaves it empty.
    void Assign(TPersistent* source) override;
    // Any failure leaves the picture empty and raises nothing.
    void LoadFromFile(const String& fileName);
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // Loads the RCDATA resource of that name when the module has one; otherwise does nothing.
    void LoadFromResourceName(NativeUInt instance, const String& resName);
    // Loads the RCDATA resource of that number; EResNotFound "Resource %s not found" when missing.
    void LoadFromResourceID(NativeUInt instance, Integer resID);
    // "RES://name" and "FILE://path" (prefix in any case) load at once; other addresses are kept
    // for a download that nothing performs yet.
    void LoadFromURL(const String& url);

    bool Empty() const override { return FIsEmpty; }
    // The measured size of the picture.
    Integer Width() const override { return FWidth; }
    Integer Height() const override { return FHeight; }
    // A picture's size is its file's: these do nothing.
    void SetWidth(Integer) override {}
    void SetHeight(Integer) override {}
    Integer MaxWidth() const { return FWidth; }
    Integer MaxHeight() const { return FHeight; }

    // Draws the picture stretched into rect: BMP files through a framework bitmap with automatic
    // transparency, everything else through GDI+ (an animated GIF shows its current frame).
    void Draw(TCanvas* canvas, const TRect& rect) override;

    // Stored only: drawing always fills the rectangle.
    bool Stretch() const { return FStretched; }
    void SetStretch(bool value) { FStretched = value; }
    // The frame shown, counted from 1.
    Integer Frame() const { return FFrame; }
    void SetFrame(Integer value);
    // Next and previous frame, wrapping around at the ends.
    void FrameNext();
    void FramePrev();
    // Delay of frame i in hundredths of a second; -1 when the picture is no GIF or has no such frame.
    Integer FrameTime(Integer i);
    // One animation tick of 100 ms; true when the frame changed.
    bool Step();

    // At least 5 bytes starting "GIF8".
    bool IsGIF() const;
    // The frames of a GIF, -1 for other pictures; counted once per load.
    Integer FrameCount();
    Integer FrameXPos() const { return FFrameXPos; }
    Integer FrameYPos() const { return FFrameYPos; }
    bool FrameTransparent() const { return FFrameTransp; }
    Integer FrameDisposal() const { return FFrameDisposal; }
    Integer AnimMaxX() const { return FAnimMaxX; }
    Integer AnimMaxY() const { return FAnimMaxY; }

    bool Busy() const { return FThreadBusy; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool value) { FAsynch = value; }
    // The address by which a cache finds this picture.
    const String& ID() const { return FID; }
    void SetID(const String& value) { FID = value; }
    const String& URL() const { return FURL; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool value) { FIsDB = value; }

    TNotifyEvent OnFrameChange;
    TDownloadErrorEvent OnDownLoadError;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadProgressEvent OnDownLoadProgress;

protected:
    // Form storage: the bytes; reading prepares the picture but fires no OnChange.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    void LoadBytes(TStream& stream);
    void ResetFrames();
    void PrepareFrame();

    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    Integer FLogPixX = 96;
    Integer FLogPixY = 96;
    String FURL;
    String FID;
    Integer FHeight = 0;
    Integer FWidth = 0;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    Integer FFrame = 1;
    Integer FFrameCount = -1; // -1: not counted since the bytes were loaded
    Word FFrameXPos = 0;
    Word FFrameYPos = 0;
    Word FFrameXSize = 0;
    Word FFrameYSize = 0;
    bool FFrameTransp = false;
    Word FFrameDisposal = 0;
    Word FAnimMaxX = 0;
    Word FAnimMaxY = 0;
    Integer FNextCount = -1;  // accumulated delay, in hundredths of a second, at which the next frame is due
    Integer FTimerCount = -1; // animation ticks seen
};

// The pictures a control's marked-up text names by address; it owns them.
class THTMLPictureCache : public TList {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() override;

    // A new empty picture at the end.
    THTMLPicture* AddPicture();
    // The first picture whose ID is exactly id (case counts), or null.
    THTMLPicture* FindPicture(const String& id) const;
    void ClearPictures();
    // One animation tick for every picture; true when any frame changed.
    bool Animate();

    THTMLPicture* GetPicture(Integer index) const { return static_cast<THTMLPicture*>(TList::Items(index)); }
    void SetPicture(Integer index, THTMLPicture* value) { TList::SetItems(index, value); }
    THTMLPicture* Items(Integer index) const { return GetPicture(index); }
};

// One named picture of a container.
class TPictureItem : public TCollectionItem {
    DECLARE_CLASS(TPictureItem, TCollectionItem)

public:
    explicit TPictureItem(TCollection* collection);
    ~TPictureItem() override;
    void AfterConstruction() override;

    // From another TPictureItem (Name, Tag, picture); anything else raises EInvalidCast.
    void Assign(TPersistent* source) override;

    // The item's own picture, made by CreatePicture at first use.
    TGraphic* Picture() const;
    // Assigns value into the item's own picture.
    void SetPicture(TGraphic* value);
    Integer Tag() const { return FTag; }
    void SetTag(Integer value) { FTag = value; }
    const String& Name() const { return FName; }
    void SetName(const String& value) { FName = value; }

protected:
    // The picture factory: a THTMLPicture.
    virtual TGraphic* CreatePicture();
    String GetDisplayName() const override;

private:
    mutable std::unique_ptr<TGraphic> FPicture;
    Integer FTag = 0;
    String FName;
};

class TPictureCollection : public TOwnedCollection {
    DECLARE_CLASS(TPictureCollection, TOwnedCollection)

public:
    explicit TPictureCollection(TComponent* owner);

    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(Integer index) { return static_cast<TPictureItem*>(TCollection::Insert(index)); }
    TPictureItem* Items(Integer index) const { return static_cast<TPictureItem*>(TCollection::Items(index)); }
    void SetItems(Integer index, TPictureItem* value) { TCollection::SetItems(index, value); }
    // One animation tick for every item's picture; true when any frame changed.
    bool Animate();

protected:
    virtual TCollectionItemClass GetItemClass();

private:
    TComponent* FOwner;
};

// A non-visual component of named pictures; IMG tags name them as <IMG src="name">.
class TPictureContainer : public TComponent {
    DECLARE_CLASS(TPictureContainer, TComponent)

public:
    explicit TPictureContainer(TComponent* owner);
    ~TPictureContainer() override;

    // The picture of the first item whose Name equals s ignoring case, or null.
    virtual THTMLPicture* FindPicture(const String& s);

    TPictureCollection* Items() const;
    // Copies the items of value into the container's own collection.
    void SetItems(TPictureCollection* value);
    // "2.0.0.0"; writing it does nothing.
    String Version() const;
    void SetVersion(const String&) {}

protected:
    virtual TPictureCollection* CreateItems();

private:
    mutable std::unique_ptr<TPictureCollection> FItems;
};
