// TAdvImage: a picture file's bytes shown through the system's OLE picture object (BMP, JPEG, GIF,
// icons); the caption panel's background picture.
#pragma once

#include <memory>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/ole.h"
#include "render/PictureStream.h"

// Decoding failures raise Exception with "Could not allocate memory for image", "Could not create image
// stream", "Empty image stream created", "Could not load image. Invalid format" or "Could not load
// image".
class TAdvImage : public TGraphic {
    DECLARE_CLASS(TAdvImage, TGraphic)

public:
    TAdvImage();
    ~TAdvImage() override;

    // From a TAdvImage (decoded) or the saved form of a TBitmap, any TGraphic or a TPicture's graphic
    // (not decoded until next loaded); null clears the picture.
    void Assign(TPersistent* source) override;
    // Any failure leaves the picture marked empty and raises nothing.
    void LoadFromFile(const String& fileName);
    // Decoding failures raise.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // The RCDATA resource as from a stream; EResNotFound "Resource %s not found" when missing.
    void LoadFromResourceName(NativeUInt instance, const String& resName);
    void LoadFromResourceID(NativeUInt instance, Integer resID);

    bool Empty() const override { return FIsEmpty; }
    // The decoded picture's size at 96 pixels per inch; 0 without one.
    Integer Width() const override;
    Integer Height() const override;
    void SetWidth(Integer) override {}
    void SetHeight(Integer) override {}
    // Whether a decoded picture is held.
    bool Decoded() const { return static_cast<bool>(gpPicture); }

    // Renders the whole picture into rect; nothing without a decoded picture.
    void Draw(TCanvas* canvas, const TRect& rect) override;

protected:
    // Form storage: the raw bytes, decoded on reading (failures raise); no OnChange.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    void LoadPicture();
    void CopyFrom(TGraphic* graphic);

    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    render::ComRef<IPicture> gpPicture;
    Integer FLogPixX = 96;
    Integer FLogPixY = 96;
};
