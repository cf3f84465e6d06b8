// The GDI+ object layer: images, bitmaps and image attributes.
#include "render/AdvGDIP.h"

// ==== Image ====

TGPImage::TGPImage(const String& filename, bool useEmbeddedColorManagement) {
    lastResult = useEmbeddedColorManagement ? GdipLoadImageFromFileICM(filename.c_str(), &nativeImage)
                                            : GdipLoadImageFromFile(filename.c_str(), &nativeImage);
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement) {
    lastResult = useEmbeddedColorManagement ? GdipLoadImageFromStreamICM(stream, &nativeImage)
                                            : GdipLoadImageFromStream(stream, &nativeImage);
}

TGPImage::TGPImage(GpImage* image, Status status) : nativeImage(image), lastResult(status) {}

TGPImage::~TGPImage() {
    GdipDisposeImage(nativeImage);
}

Status TGPImage::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

Status TGPImage::Save(const String& filename, const CLSID& clsidEncoder,
                      const EncoderParameters* encoderParams) {
    return RecordStatus(GdipSaveImageToFile(nativeImage, filename.c_str(), &clsidEncoder, encoderParams));
}

Status TGPImage::Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams) {
    return RecordStatus(GdipSaveImageToStream(nativeImage, stream, &clsidEncoder, encoderParams));
}

Status TGPImage::SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams) {
    if (newImage == nullptr)
        return RecordStatus(InvalidParameter);
    return RecordStatus(GdipSaveAddImage(nativeImage, newImage->nativeImage, encoderParams));
}

TGPImageFormat TGPImage::GetFormat() {
    static const struct {
        const GUID* id;
        TGPImageFormat format;
    } formats[] = {{&ImageFormatMemoryBMP, ifMemoryBMP},
                   {&ImageFormatBMP, ifBMP},
                   {&ImageFormatEMF, ifEMF},
                   {&ImageFormatWMF, ifWMF},
                   {&ImageFormatJPEG, ifJPEG},
                   {&ImageFormatPNG, ifPNG},
                   {&ImageFormatGIF, ifGIF},
                   {&ImageFormatTIFF, ifTIFF},
                   {&ImageFormatEXIF, ifEXIF},
                   {&ImageFormatIcon, ifIcon}};
    GUID format{};
    if (RecordStatus(GdipGetImageRawFormat(nativeImage, &format)) != Ok)
        return ifUndefined;
    for (const auto& f : formats)
        if (*f.id == format)
            return f.format;
    return ifUndefined;
}

PixelFormat TGPImage::GetPixelFormat() {
    PixelFormat format = PixelFormatUndefined;
    RecordStatus(GdipGetImagePixelFormat(nativeImage, &format));
    return format;
}

UINT TGPImage::GetPixelDepth() {
    return (static_cast<UINT>(GetPixelFormat()) >> 8) & 0xFF;
}

bool TGPImage::HasPalette() {
    return (GetPixelFormat() & PixelFormatIndexed) != 0;
}

bool TGPImage::HasAlphaChannel() {
    return (GetPixelFormat() & PixelFormatAlpha) != 0;
}

UINT TGPImage::GetWidth() {
    UINT width = 0;
    if (RecordStatus(GdipGetImageWidth(nativeImage, &width)) != Ok)
        return 0;
    return width;
}

UINT TGPImage::GetHeight() {
    UINT height = 0;
    if (RecordStatus(GdipGetImageHeight(nativeImage, &height)) != Ok)
        return 0;
    return height;
}

Status TGPImage::RotateFlip(RotateFlipType rotateFlipType) {
    return RecordStatus(GdipImageRotateFlip(nativeImage, rotateFlipType));
}

TGPImage* TGPImage::GetThumbnailImage(UINT thumbWidth, UINT thumbHeight, GetThumbnailImageAbort callback,
                                      void* callbackData) {
    GpImage* thumbnail = nullptr;
    RecordStatus(
        GdipGetImageThumbnail(nativeImage, thumbWidth, thumbHeight, &thumbnail, callback, callbackData));
    return new TGPImage(thumbnail, lastResult);
}

UINT TGPImage::GetFrameCount() {
    UINT count = 0;
    RecordStatus(GdipImageGetFrameCount(nativeImage, &FrameDimensionTime, &count));
    return count;
}

Status TGPImage::SelectActiveFrame(UINT index) {
    return RecordStatus(GdipImageSelectActiveFrame(nativeImage, &FrameDimensionTime, index));
}

// ==== Bitmap ====

TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement) {
    GpBitmap* bitmap = nullptr;
    lastResult = useEmbeddedColorManagement ? GdipCreateBitmapFromStreamICM(stream, &bitmap)
                                            : GdipCreateBitmapFromStream(stream, &bitmap);
    nativeImage = bitmap;
}

TGPBitmap::TGPBitmap(INT width, INT height, PixelFormat format) {
    GpBitmap* bitmap = nullptr;
    lastResult = GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap);
    nativeImage = bitmap;
}

TGPBitmap::TGPBitmap(GpBitmap* nativeBitmap) {
    nativeImage = nativeBitmap;
}

TGPBitmap* TGPBitmap::FromStream(IStream* stream, bool useEmbeddedColorManagement) {
    return new TGPBitmap(stream, useEmbeddedColorManagement);
}

Status TGPBitmap::GetPixel(INT x, INT y, ARGB& color) {
    return RecordStatus(GdipBitmapGetPixel(Bitmap(), x, y, &color));
}

Status TGPBitmap::SetPixel(INT x, INT y, ARGB color) {
    return RecordStatus(GdipBitmapSetPixel(Bitmap(), x, y, color));
}

Status TGPBitmap::GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn) {
    return RecordStatus(GdipCreateHBITMAPFromBitmap(Bitmap(), &hbmReturn, colorBackground));
}

// ==== Image attributes ====

TGPImageAttributes::TGPImageAttributes() {
    lastResult = GdipCreateImageAttributes(&nativeImageAttr);
}

TGPImageAttributes::TGPImageAttributes(GpImageAttributes* imageAttr, Status status)
    : nativeImageAttr(imageAttr), lastResult(status) {}

TGPImageAttributes::~TGPImageAttributes() {
    GdipDisposeImageAttributes(nativeImageAttr);
}

Status TGPImageAttributes::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

TGPImageAttributes* TGPImageAttributes::Clone() {
    GpImageAttributes* clone = nullptr;
    RecordStatus(GdipCloneImageAttributes(nativeImageAttr, &clone));
    return new TGPImageAttributes(clone, lastResult);
}

Status TGPImageAttributes::SetToIdentity(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesToIdentity(nativeImageAttr, type));
}

Status TGPImageAttributes::Reset(ColorAdjustType type) {
    return RecordStatus(GdipResetImageAttributes(nativeImageAttr, type));
}

Status TGPImageAttributes::SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode,
                                          ColorAdjustType type) {
    return RecordStatus(
        GdipSetImageAttributesColorMatrix(nativeImageAttr, type, TRUE, &colorMatrix, nullptr, mode));
}

Status TGPImageAttributes::ClearColorMatrix(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesColorMatrix(nativeImageAttr, type, FALSE, nullptr, nullptr,
                                                          ColorMatrixFlagsDefault));
}

Status TGPImageAttributes::SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                                            ColorMatrixFlags mode, ColorAdjustType type) {
    return RecordStatus(
        GdipSetImageAttributesColorMatrix(nativeImageAttr, type, TRUE, &colorMatrix, &grayMatrix, mode));
}

Status TGPImageAttributes::ClearColorMatrices(ColorAdjustType type) {
    return ClearColorMatrix(type);
}

Status TGPImageAttributes::SetThreshold(REAL threshold, ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesThreshold(nativeImageAttr, type, TRUE, threshold));
}

Status TGPImageAttributes::ClearThreshold(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesThreshold(nativeImageAttr, type, FALSE, 0.0f));
}

Status TGPImageAttributes::SetGamma(REAL gamma, ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesGamma(nativeImageAttr, type, TRUE, gamma));
}

Status TGPImageAttributes::ClearGamma(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesGamma(nativeImageAttr, type, FALSE, 0.0f));
}

Status TGPImageAttributes::SetNoOp(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesNoOp(nativeImageAttr, type, TRUE));
}

Status TGPImageAttributes::ClearNoOp(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesNoOp(nativeImageAttr, type, FALSE));
}

Status TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, type, TRUE, colorLow, colorHigh));
}

Status TGPImageAttributes::ClearColorKey(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesColorKeys(nativeImageAttr, type, FALSE, 0, 0));
}

Status TGPImageAttributes::SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesOutputChannel(nativeImageAttr, type, TRUE, channelFlags));
}

Status TGPImageAttributes::ClearOutputChannel(ColorAdjustType type) {
    return RecordStatus(
        GdipSetImageAttributesOutputChannel(nativeImageAttr, type, FALSE, ColorChannelFlagsLast));
}

Status TGPImageAttributes::SetOutputChannelColorProfile(const String& colorProfileFilename,
                                                        ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, TRUE,
                                                                        colorProfileFilename.c_str()));
}

Status TGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType type) {
    return RecordStatus(
        GdipSetImageAttributesOutputChannelColorProfile(nativeImageAttr, type, FALSE, nullptr));
}

Status TGPImageAttributes::SetRemapTable(UINT mapSize, const ColorMap* map, ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, type, TRUE, mapSize, map));
}

Status TGPImageAttributes::ClearRemapTable(ColorAdjustType type) {
    return RecordStatus(GdipSetImageAttributesRemapTable(nativeImageAttr, type, FALSE, 0, nullptr));
}

Status TGPImageAttributes::SetBrushRemapTable(UINT mapSize, const ColorMap* map) {
    return SetRemapTable(mapSize, map, ColorAdjustTypeBrush);
}

Status TGPImageAttributes::ClearBrushRemapTable() {
    return ClearRemapTable(ColorAdjustTypeBrush);
}

Status TGPImageAttributes::SetWrapMode(WrapMode wrap, ARGB color, bool clamp) {
    return RecordStatus(GdipSetImageAttributesWrapMode(nativeImageAttr, wrap, color, clamp));
}

Status TGPImageAttributes::GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType) {
    return RecordStatus(
        GdipGetImageAttributesAdjustedPalette(nativeImageAttr, colorPalette, colorAdjustType));
}

Status TGPImageAttributes::GetLastStatus() {
    Status status = lastResult;
    lastResult = Ok;
    return status;
}
