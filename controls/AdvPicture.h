// TAdvPicture: one picture (anything the OLE picture loader reads) in one of eight placements, with an
// optional border, a text while empty, GIF animation on a hidden timer window and a picture dialog on
// click. TIPicture holds the picture's file bytes and the OLE picture decoded from them.
#pragma once

#include <functional>
#include <memory>

#include "platform/framework/Controls.h"
#include "platform/rtl/Streams.h"
#include "render/PictureStream.h"

// The picture control's border styles share the framework's name TBorderStyle.
namespace AdvPicture {
ZELMOR_ENUM(TBorderStyle, bDesign, bAlways, bEmpty, bNever)
} // namespace AdvPicture

ZELMOR_ENUM(TPicturePosition, bpTopLeft, bpTopRight, bpBottomLeft, bpBottomRight, bpCenter, bpTiled,
            bpStretched, bpStretchedWithAspect)
ZELMOR_ENUM(TStretchMode, smNever, smShrink)
ZELMOR_ENUM(TImageFileType, itJPEG, itBMP, itPNG, itGIF, itEMF, itAll, itICO)
using TImageFileTypes = TSet<TImageFileType>;

using TPictureSelect = std::function<void(TObject* Sender, String FileName, bool& Allow)>;
using TPictureSelected = std::function<void(TObject* Sender, String FileName)>;

// Registers TAdvPicture and TIPicture for streaming, once.
void AdvPictureStartup();

// The filter of the picture dialog for the file types, in the dialog's fixed order.
String PictureDialogFilter(TImageFileTypes types);

class TIPicture : public TGraphic {
    DECLARE_CLASS(TIPicture, TGraphic)
    friend class TAdvPicture;

public:
    TIPicture();
    ~TIPicture() override;

    // From another picture (decoded), a framework graphic or the clipboard's bitmap (bytes only), a
    // framework picture's graphic (decoded); null empties it.
    void Assign(TPersistent* source) override;
    // Reading or decoding failures are swallowed and leave the picture empty.
    void LoadFromFile(const String& fileName);
    // Decoding failures raise.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // The RCDATA resource of that name when there is one; nothing otherwise.
    void LoadFromResourceName(NativeUInt instance, const String& resName);
    // The RCDATA resource of that number; EResNotFound "Resource %s not found" when missing.
    void LoadFromResourceID(NativeUInt instance, Integer resID);
    // "RES://name" loads the program's resource, "FILE://path" the file; other addresses are ignored.
    void LoadFromURL(const String& url);

    bool Empty() const override { return FIsEmpty; }
    // The decoded picture's size in pixels at FLogPixX/FLogPixY; 0 without one. The size cannot be set.
    Integer Width() const override;
    Integer Height() const override;
    void SetWidth(Integer) override {}
    void SetHeight(Integer) override {}
    // The GIF's logical screen size when it has one, else Width and Height; 0 without a decoded picture.
    Integer GetMaxWidth() const;
    Integer GetMaxHeight() const;

    bool IsGIF() const;
    // The GIF's frames, counted once per load; -1 for other data.
    Integer FrameCount();
    // The delay of frame (from 1) in hundredths of a second, 0 read as 5; -1 when there is no such frame.
    // Also reads the frame's transparency and disposal.
    Integer GetFrameTime(Integer frame);
    Integer FrameTime(Integer frame) { return GetFrameTime(frame); }

    // The GIF frame shown, from 1 (0 shows the first); setting decodes that frame and fires
    // OnFrameChange. No range check.
    Integer Frame() const { return FFrame; }
    void SetFrame(Integer value);
    bool Stretch() const { return FStretched; }
    void SetStretch(bool value) { FStretched = value; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    // The last "RES://" or "FILE://" address loaded.
    const String& ID() const { return FID; }

    // The shown frame's place and size in the logical screen, its transparency and its disposal.
    Word FrameXPos() const { return FFrameXPos; }
    Word FrameYPos() const { return FFrameYPos; }
    Word FrameXSize() const { return FFrameXSize; }
    Word FrameYSize() const { return FFrameYSize; }
    bool FrameTransp() const { return FFrameTransp; }
    Word FrameDisposal() const { return FFrameDisposal; }
    Word AnimMaxX() const { return FAnimMaxX; }
    Word AnimMaxY() const { return FAnimMaxY; }
    // Whether an OLE picture is held.
    bool Decoded() const { return static_cast<bool>(gpPicture); }

    TNotifyEvent OnFrameChange;
    TNotifyEvent OnClear;
    TNotifyEvent OnBeforeLoad;
    TNotifyEvent OnAfterLoad;

protected:
    // Renders the shown frame at its place in rect.
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Form storage: the file's bytes, decoded on reading (failures raise).
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    void LoadPicture();
    void TakeBytes(TStream& stream);
    void Render(HDC dc, const TRect& rect);

    render::ComRef<IPicture> gpPicture;
    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    Integer FLogPixX = 96;
    Integer FLogPixY = 96;
    String FID;
    Integer FFrame = 0;
    Integer FFrameCount = -1;
    Word FFrameXPos = 0;
    Word FFrameYPos = 0;
    Word FFrameXSize = 0;
    Word FFrameYSize = 0;
    bool FFrameTransp = false;
    Word FFrameDisposal = 0;
    Word FAnimMaxX = 0;
    Word FAnimMaxY = 0;
    bool FDoubleBuffered = false;
    TColor FBackgroundColor = clWhite;
};

// The hidden window whose 10 ms timer (identifier 500) drives the animation while it exists.
class THelperWnd : public TWinControl {
    DECLARE_CLASS(THelperWnd, TWinControl)

public:
    explicit THelperWnd(TComponent* owner);

    TNotifyEvent OnTimer;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
};

class TAdvPicture : public TGraphicControl {
    DECLARE_CLASS(TAdvPicture, TGraphicControl)

public:
    explicit TAdvPicture(TComponent* owner);
    ~TAdvPicture() override;

    TIPicture* Picture() const { return FIPicture.get(); }
    void SetPicture(TIPicture* value);
    bool Animate() const { return FAnimate; }
    void SetAnimate(bool value);
    // With a picture, sets the control to the picture's size.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value) override;
    TPicturePosition PicturePosition() const { return FPicturePosition; }
    void SetPicturePosition(TPicturePosition value);
    TStretchMode StretchMode() const { return FStretchMode; }
    void SetStretchMode(TStretchMode value);
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor value);
    AdvPicture::TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(AdvPicture::TBorderStyle value);
    TPenStyle BorderPenStyle() const { return FBorderPenStyle; }
    void SetBorderPenStyle(TPenStyle value);
    const String& EmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& value);
    TImageFileTypes ImageTypes() const { return FImageTypes; }
    void SetImageTypes(TImageFileTypes value) { FImageTypes = value; }
    // A click shows the picture dialog and loads the file chosen.
    bool AllowSelectOnClick() const { return FAllowSelectOnClick; }
    void SetAllowSelectOnClick(bool value) { FAllowSelectOnClick = value; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value);
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value);
    // The disposal used for frames whose own is 0; -1 for none.
    Integer DefaultDisposal() const { return FDefaultDisposal; }
    void SetDefaultDisposal(Integer value) { FDefaultDisposal = value; }
    // "1.5.0.0"; writing it is ignored.
    String Version() const { return u"1.5.0.0"; }
    void SetVersion(const String&) {}
    // The timer window while the animation runs, else null.
    THelperWnd* HelperWnd() const { return FHelperWnd.get(); }

    TNotifyEvent OnFrameChange;
    TPictureSelect OnPictureSelect;
    TPictureSelected OnPictureSelected;

protected:
    void Loaded() override;
    void Paint() override;
    void DoClick() override;
    // Runs after every change of the picture.
    virtual void PictureChanged() {}
    virtual void DoPictureSelect(const String& fileName, bool& allow);
    virtual void DoPictureSelected(const String& fileName);

private:
    void PictureChangedEvent(TObject* sender);
    void PictureCleared(TObject* sender);
    void FrameChanged(TObject* sender);
    void BeforeLoad(TObject* sender);
    void AfterLoad(TObject* sender);
    void Timer(TObject* sender);
    void ApplyAutoSize();
    void PaintPicture();
    void PaintEmptyText();

    bool FAnimate = false;
    bool FAutoSize = false;
    std::unique_ptr<TIPicture> FIPicture;
    TPicturePosition FPicturePosition = bpTopLeft;
    std::unique_ptr<THelperWnd> FHelperWnd;
    Integer FTimerCount = 0;
    Integer FNextCount = 0;
    bool FAnimatedGif = false;
    TStretchMode FStretchMode = smNever;
    bool FDoubleBuffered = false;
    TColor FBackgroundColor = clWhite;
    bool FRefresh = false; // the next paint shows nothing, so that the parent's background shows
    bool FOldAnimate = false;
    Integer FDefaultDisposal = -1;
    TImageFileTypes FImageTypes;
    bool FAllowSelectOnClick = false;
    TColor FBorderColor = clBlack;
    AdvPicture::TBorderStyle FBorderStyle = AdvPicture::bDesign;
    TPenStyle FBorderPenStyle = psDashDot;
    String FEmptyText;
};
