// TGDIPPicture: a picture file's bytes drawn through GDI+, so that any format GDI+ reads (PNG with
// alpha, JPEG, GIF, BMP, icons) serves where the framework expects a TGraphic.
#pragma once

#include <memory>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Streams.h"

class TGPGraphics;

class TGDIPPicture : public TGraphic {
    DECLARE_CLASS(TGDIPPicture, TGraphic)

public:
    TGDIPPicture();
    ~TGDIPPicture() override;

    // From another TGDIPPicture (its bytes), from any framework graphic or TPicture (the graphic's
    // saved form); null clears the picture (OnChange, then OnClear). Other sources leave it marked
    // empty with its bytes as they were.
    void Assign(TPersistent* source) override;
    // Any failure leaves the picture marked empty and raises nothing.
    void LoadFromFile(const String& fileName);
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // Loads the RCDATA resource of that name when the module has one; otherwise does nothing.
    void LoadFromResourceName(NativeUInt instance, const String& resName);
    // Loads the RCDATA resource of that number; EResNotFound "Resource %s not found" when missing.
    void LoadFromResourceID(NativeUInt instance, Integer resID);
    // "RES://name" or "FILE://path" (prefix in any case); anything else does nothing.
    void LoadFromURL(const String& url);

    bool Empty() const override { return FIsEmpty; }
    // The size measured at the last load, assignment, measuring or GDI+ drawing.
    Integer Width() const override { return FWidth; }
    Integer Height() const override { return FHeight; }
    void SetWidth(Integer) override {}
    void SetHeight(Integer) override {}
    const String& GetFileName() const { return FFileName; }
    // Measures the picture; true when its bytes could be put to GDI+ (the size is 0 x 0 when GDI+
    // cannot read them).
    bool GetImageSizes();

    // BMP files with TransparentBitmap go through a framework bitmap with automatic transparency;
    // everything else is drawn by GDI+ stretched into rect.
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Unscaled at x, y, or scaled into x, y, w, h, on a GDI+ surface.
    void DrawImage(TGPGraphics* graphics, Integer x, Integer y);
    void DrawImageRect(TGPGraphics* graphics, Integer x, Integer y, Integer w, Integer h);

    // Stored only.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    bool TransparentBitmap() const { return FTransparentBitmap; }
    void SetTransparentBitmap(bool value) { FTransparentBitmap = value; }

    TNotifyEvent OnClear;

protected:
    // Form storage: the bytes only; the picture is measured when it is next drawn or measured.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

private:
    void FireClear();

    String FFileName;
    std::unique_ptr<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    Integer FWidth = 0;
    Integer FHeight = 0;
    bool FDoubleBuffered = false;
    TColor FBackgroundColor = 0;
    bool FTransparentBitmap = true;
};
