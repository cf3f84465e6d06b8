// TPngImage: a PNG picture with its alpha, drawn blended onto a canvas.
#pragma once

#include <memory>

#include "platform/framework/Graphics.h"

// The errors of PNG pictures, each with its own text (platform/rtl/Consts.h).
ZELMOR_DECLARE_EXCEPTION(EPNGError, Exception)
ZELMOR_DECLARE_EXCEPTION(EPNGUnexpectedEnd, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPngInvalidCRC, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGInvalidIHDR, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGMissingMultipleIDAT, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGZLIBError, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGInvalidPalette, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGInvalidFileHeader, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGIHDRNotFirst, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGSizeExceeds, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGMissingPalette, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGUnknownCriticalChunk, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGUnknownCompression, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGUnknownInterlace, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGNoImageData, EPNGError)
ZELMOR_DECLARE_EXCEPTION(EPNGHeaderNotPresent, EPNGError)

class TPngImage : public TGraphic {
    DECLARE_CLASS(TPngImage, TGraphic)

public:
    TPngImage();
    ~TPngImage() override;

    // Takes a TPngImage or a TBitmap (a 32-bit bitmap with an alpha format keeps its alpha).
    void Assign(TPersistent* source) override;
    bool Empty() const override;
    Integer Width() const override;
    void SetWidth(Integer value) override { SetSize(value, Height()); }
    Integer Height() const override;
    void SetHeight(Integer value) override { SetSize(Width(), value); }
    // Keeps what fits; new parts are transparent.
    void SetSize(Integer width, Integer height) override;
    // Whether the picture has alpha.
    bool Transparent() const override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // The picture's pixels (0xAARRGGBB, top row first).
    const codecs::Image& Image() const;
    // zlib's level, 0 to 9; kept for the picture's callers, the writer picks its own.
    Integer CompressionLevel() const { return FCompressionLevel; }
    void SetCompressionLevel(Integer value) { FCompressionLevel = value; }

protected:
    void AssignTo(TPersistent* dest) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;

private:
    std::unique_ptr<codecs::Image> FImage;
    Integer FCompressionLevel = 7;
};
