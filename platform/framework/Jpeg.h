// TJPEGImage: a JPEG picture, kept as its file until it changes, with the framework's options for
// writing and showing it.
#pragma once

#include <memory>

#include "platform/framework/Graphics.h"

ZELMOR_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic)

using TJPEGQualityRange = Integer; // 1..100
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
    DECLARE_CLASS(TJPEGImage, TGraphic)

public:
    TJPEGImage();
    ~TJPEGImage() override;

    // Takes a TJPEGImage or a TBitmap; a bitmap is compressed when the picture is next saved.
    void Assign(TPersistent* source) override;
    bool Empty() const override;
    // The size shown: the picture's size divided by Scale.
    Integer Width() const override;
    Integer Height() const override;
    // A JPEG picture's size is its file's: EInvalidGraphicOperation "Cannot change the size of a JPEG image".
    void SetWidth(Integer value) override;
    void SetHeight(Integer value) override;

    // Bad data raise EJPEG "JPEG error #%d".
    void LoadFromStream(TStream& stream) override;
    // The file as read when the picture has not changed since; otherwise compressed with the options.
    void SaveToStream(TStream& stream) override;

    // Compresses the picture again with the current options.
    void Compress();
    void DIBNeeded() {}
    void JPEGNeeded();

    TJPEGQualityRange CompressionQuality() const { return FQuality; }
    void SetCompressionQuality(TJPEGQualityRange value);
    // Shows (and writes) the picture in greys.
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool value);
    bool ProgressiveEncoding() const { return FProgressive; }
    void SetProgressiveEncoding(bool value) { FProgressive = value; }
    bool ProgressiveDisplay() const { return FProgressiveDisplay; }
    void SetProgressiveDisplay(bool value) { FProgressiveDisplay = value; }
    TJPEGPerformance Performance() const { return FPerformance; }
    void SetPerformance(TJPEGPerformance value) { FPerformance = value; }
    TJPEGScale Scale() const { return FScale; }
    void SetScale(TJPEGScale value);
    TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat value) { FPixelFormat = value; }
    bool Smoothing() const { return FSmoothing; }
    void SetSmoothing(bool value) { FSmoothing = value; }

protected:
    void AssignTo(TPersistent* dest) override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Inside component streams the file is preceded by its length.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    codecs::Image Shown() const;

    std::unique_ptr<codecs::Image> FImage;
    std::vector<Byte> FData; // the compressed file; empty after the picture changed
    TJPEGQualityRange FQuality = 90;
    bool FGrayscale = false;
    bool FProgressive = false;
    bool FProgressiveDisplay = false;
    bool FSmoothing = true;
    TJPEGPerformance FPerformance = jpBestQuality;
    TJPEGScale FScale = jsFullSize;
    TJPEGPixelFormat FPixelFormat = jf24Bit;
};
