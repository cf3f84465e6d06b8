// The GDI+ object layer: one wrapper class per kind of GDI+ object (matrix, string format, pen, brushes,
// fonts, path, region, image, bitmap, image attributes and the drawing surface), each owning its native
// object and keeping the last failure status. Nothing here raises: every failure is a Status.
//
// Contents: value types and colour helpers; the frame (TGdiplusBase); matrix and string format; pen and
// brushes; fonts; path and region; images and image attributes; the drawing surface (TGPGraphics).
#pragma once

#include <array>

#include "platform/framework/Graphics.h"
#include "platform/win32/gdiplus.h"

// ==== Value types ====
using TGPPointF = GpPointF;
using TGPPoint = GpPoint;
using TGPRectF = GpRectF;
using TGPRect = GpRect;
using TMatrixArray = std::array<REAL, 6>; // m11, m12, m21, m22, dx, dy
using Unit_ = Unit;
using PARGB = ARGB*;

// The layer's own image-format enumeration, chosen by the image's raw-format identifier.
enum TGPImageFormat {
    ifUndefined,
    ifMemoryBMP,
    ifBMP,
    ifEMF,
    ifWMF,
    ifJPEG,
    ifPNG,
    ifGIF,
    ifTIFF,
    ifEXIF,
    ifIcon
};

// Framework colour (system colours resolved) to opaque ARGB.
ARGB ColorToARGB(TColor color);
ARGB ComposeARGB(Byte alpha, Byte red, Byte green, Byte blue);
ARGB ComposeOpaqueARGB(Byte red, Byte green, Byte blue);
Byte ARGBRed(ARGB color);
Byte ARGBGreen(ARGB color);
Byte ARGBBlue(ARGB color);
TGPPoint InitGPPoint(INT x, INT y);
TGPRectF InitGPRectF(REAL x, REAL y, REAL width, REAL height);

// Starts GDI+ for the program once (the layer's unit start-up does this; it is safe to call again)
// and shuts it down.
void GdiplusUnitStartup();
void GdiplusUnitShutdown();

// ==== The frame ====
// Every wrapper takes its memory from GDI+ (GdipAlloc), starting GDI+ when it is not running yet;
// std::bad_alloc when even then no memory can be had.
class TGdiplusBase {
public:
    TGdiplusBase() = default;
    virtual ~TGdiplusBase() = default;
    TGdiplusBase(const TGdiplusBase&) = delete;
    TGdiplusBase& operator=(const TGdiplusBase&) = delete;

    static void* operator new(std::size_t size);
    static void operator delete(void* memory) noexcept;
};

class TGPImage;
class TGPImageAttributes;
class TGPFontFamily;
class TGPGraphicsPath;

// ==== Matrix ====
class TGPMatrix : public TGdiplusBase {
    friend class TGPGraphics;

public:
    TGPMatrix();
    TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
    TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg);
    TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg);
    ~TGPMatrix() override;

    // A copy owned by the caller; null when the stored status is not Ok afterwards.
    TGPMatrix* Clone();
    Status GetElements(TMatrixArray& m);
    Status SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
    REAL OffsetX();
    REAL OffsetY();
    Status Reset();
    Status Multiply(TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
    Status Translate(REAL offsetX, REAL offsetY, MatrixOrder order = MatrixOrderPrepend);
    Status Scale(REAL scaleX, REAL scaleY, MatrixOrder order = MatrixOrderPrepend);
    Status Rotate(REAL angle, MatrixOrder order = MatrixOrderPrepend);
    Status RotateAt(REAL angle, const TGPPointF& center, MatrixOrder order = MatrixOrderPrepend);
    Status Shear(REAL shearX, REAL shearY, MatrixOrder order = MatrixOrderPrepend);
    Status Invert();
    Status TransformPoints(TGPPointF* pts, INT count = 1);
    Status TransformPoints(TGPPoint* pts, INT count = 1);
    Status TransformVectors(TGPPointF* pts, INT count = 1);
    Status TransformVectors(TGPPoint* pts, INT count = 1);
    bool IsInvertible();
    bool IsIdentity();
    // The stored status, reset to Ok.
    Status GetLastStatus();
    GpMatrix* Native() const { return nativeMatrix; }

protected:
    TGPMatrix(GpMatrix* matrix);
    Status RecordStatus(Status status);

    GpMatrix* nativeMatrix = nullptr;
    Status lastResult = Ok;
};

// ==== String format ====
class TGPStringFormat : public TGdiplusBase {
public:
    explicit TGPStringFormat(INT formatFlags = 0, LANGID language = 0);
    explicit TGPStringFormat(TGPStringFormat* format);
    TGPStringFormat(GpStringFormat* format, Status status);
    ~TGPStringFormat() override;

    Status SetFormatFlags(INT flags);
    INT GetFormatFlags();
    Status SetAlignment(StringAlignment align);
    StringAlignment GetAlignment();
    Status SetLineAlignment(StringAlignment align);
    StringAlignment GetLineAlignment();
    Status SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix);
    HotkeyPrefix GetHotkeyPrefix();
    Status SetTrimming(StringTrimming trimming);
    StringTrimming GetTrimming();
    GpStringFormat* Native() const { return nativeFormat; }
    Status LastError() const { return lastError; }

protected:
    Status RecordStatus(Status status);

    GpStringFormat* nativeFormat = nullptr;
    Status lastError = Ok;
};

// ==== Brushes ====
class TGPBrush : public TGdiplusBase {
    friend class TGPPen;

public:
    // Records NotImplemented: a plain brush is only a shell for one that GDI+ hands out.
    TGPBrush();
    TGPBrush(GpBrush* brush, Status status);
    ~TGPBrush() override;

    TGPBrush* Clone();
    BrushType GetType();
    Status LastResult() const { return lastResult; }
    GpBrush* Native() const { return nativeBrush; }

protected:
    struct Empty {};
    explicit TGPBrush(Empty) {}
    Status RecordStatus(Status status);

    GpBrush* nativeBrush = nullptr;
    Status lastResult = Ok;
};

class TGPSolidBrush : public TGPBrush {
    friend class TGPPen;

public:
    explicit TGPSolidBrush(ARGB color);
    Status GetColor(ARGB& color);
    Status SetColor(ARGB color);

protected:
    TGPSolidBrush() : TGPBrush(Empty{}) {}
};

class TGPHatchBrush : public TGPBrush {
    friend class TGPPen;

public:
    TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);
    HatchStyle GetHatchStyle();
    Status GetForegroundColor(ARGB& color);
    Status GetBackgroundColor(ARGB& color);

protected:
    TGPHatchBrush() : TGPBrush(Empty{}) {}
};

class TGPTextureBrush : public TGPBrush {
    friend class TGPPen;

public:
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode = WrapModeTile);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect);
    TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, TGPImageAttributes* imageAttributes);
    TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, TGPImageAttributes* imageAttributes);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, REAL dstX, REAL dstY, REAL dstWidth, REAL dstHeight);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, INT dstX, INT dstY, INT dstWidth, INT dstHeight);

    Status ResetTransform();
    Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(REAL angle, MatrixOrder order = MatrixOrderPrepend);
    Status SetWrapMode(WrapMode wrapMode);
    WrapMode GetWrapMode();
    // A new image owned by the caller, carrying the stored status.
    TGPImage* GetImage();

protected:
    TGPTextureBrush() : TGPBrush(Empty{}) {}
};

class TGPLinearGradientBrush : public TGPBrush {
    friend class TGPPen;

public:
    TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, REAL angle,
                           bool isAngleScalable = false);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, REAL angle,
                           bool isAngleScalable = false);

    Status SetGammaCorrection(bool useGammaCorrection);
    // InvalidParameter without a call when count is 0 or less.
    Status SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions, INT count);

protected:
    TGPLinearGradientBrush() : TGPBrush() {}
};

class TGPPathGradientBrush : public TGPBrush {
public:
    explicit TGPPathGradientBrush(TGPGraphicsPath* path);

    // Both answer the stored status.
    Status GetCenterColor(ARGB& color);
    Status SetCenterColor(ARGB color);
    INT GetPointCount();
    INT GetSurroundColorCount();
    // InvalidParameter without colours; InsufficientBuffer (count unchanged) when count is below the
    // number of surround colours; on success count becomes the number read.
    Status GetSurroundColors(ARGB* colors, INT& count);
    // InvalidParameter unless there are colours and 0 < count <= the brush's points.
    Status SetSurroundColors(const ARGB* colors, INT& count);
    Status GetCenterPoint(TGPPointF& point);
    Status GetCenterPoint(TGPPoint& point);
    Status SetCenterPoint(const TGPPointF& point);
    Status SetCenterPoint(const TGPPoint& point);
    Status SetWrapMode(WrapMode wrapMode);
    Status SetGammaCorrection(bool useGammaCorrection);
    // InvalidParameter without a call when count is 0 or less or there are no colours.
    Status SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions, INT count);

private:
    GpPathGradient* Gradient() const { return static_cast<GpPathGradient*>(nativeBrush); }
};

// ==== Pen ====
class TGPPen : public TGdiplusBase {
    friend class TGPGraphics;

public:
    TGPPen(ARGB color, REAL width = 1.0f);
    TGPPen(TGPBrush* brush, REAL width = 1.0f);
    ~TGPPen() override;

    Status SetBrush(TGPBrush* brush);
    // A new brush of the pen's fill kind, owned by the caller; null for an unknown kind.
    TGPBrush* GetBrush();
    PenType GetPenType();
    DashStyle GetDashStyle();
    Status SetDashStyle(DashStyle dashStyle);
    Status SetEndCap(LineCap endCap);
    Status LastResult() const { return lastResult; }
    GpPen* Native() const { return nativePen; }

protected:
    Status RecordStatus(Status status);

    GpPen* nativePen = nullptr;
    Status lastResult = Ok;
};

// ==== Fonts ====
class TGPFontCollection : public TGdiplusBase {
public:
    TGPFontCollection() = default;
    GpFontCollection* Native() const { return nativeFontCollection; }

protected:
    GpFontCollection* nativeFontCollection = nullptr;
    Status lastResult = Ok;
};

class TGPFontFamily : public TGdiplusBase {
public:
    TGPFontFamily() = default;
    TGPFontFamily(GpFontFamily* family, Status status);
    // FontFamilyNotFound for a name GDI+ does not know.
    explicit TGPFontFamily(const String& name, TGPFontCollection* fontCollection = nullptr);
    ~TGPFontFamily() override;

    // The shared generic families, made at the first request and kept for the run; never free them.
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();
    static void ReleaseGenericFamilies();

    String GetFamilyName(LANGID language = 0);
    Status LastResult() const { return lastResult; }
    GpFontFamily* Native() const { return nativeFamily; }

protected:
    GpFontFamily* nativeFamily = nullptr;
    Status lastResult = Ok;
};

class TGPFont : public TGdiplusBase {
public:
    TGPFont(GpFont* font, Status status);
    TGPFont(TGPFontFamily* family, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint);
    // An unknown family name falls back to the generic sans-serif family.
    TGPFont(const String& familyName, REAL emSize, INT style = FontStyleRegular, Unit unit = UnitPoint,
            TGPFontCollection* fontCollection = nullptr);
    ~TGPFont() override;

    REAL GetSize();
    INT GetStyle();
    // The family's name, empty when it cannot be read.
    String GetFamilyName();
    Status LastResult() const { return lastResult; }
    GpFont* Native() const { return nativeFont; }

protected:
    GpFont* nativeFont = nullptr;
    Status lastResult = Ok;
};

// ==== Path and region ====
class TGPGraphicsPath : public TGdiplusBase {
public:
    explicit TGPGraphicsPath(FillMode fillMode = FillModeAlternate);
    TGPGraphicsPath(const TGPPointF* points, const BYTE* types, INT count,
                    FillMode fillMode = FillModeAlternate);
    explicit TGPGraphicsPath(GpPath* path);
    ~TGPGraphicsPath() override;

    Status CloseFigure();
    Status Reset();
    INT GetPointCount();
    Status GetPathPoints(TGPPointF* points, INT count);
    Status GetPathTypes(BYTE* types, INT count);
    Status GetBounds(TGPRectF& bounds, const TGPMatrix* matrix = nullptr, const TGPPen* pen = nullptr);
    // Whether the point lies inside the filled path.
    bool IsVisible(REAL x, REAL y);

    Status AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
    Status AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
    Status AddLines(const TGPPoint* points, INT count);
    Status AddRectangle(const TGPRectF& rect);
    Status AddRectangle(const TGPRect& rect);
    Status AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
    Status AddArc(const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
    Status AddEllipse(REAL x, REAL y, REAL width, REAL height);
    Status AddEllipse(const TGPRectF& rect);
    Status AddPie(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
    Status AddPie(const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
    Status AddPolygon(const TGPPointF* points, INT count);
    Status AddPolygon(const TGPPoint* points, INT count);
    Status AddCurve(const TGPPointF* points, INT count);
    Status AddCurve(const TGPPoint* points, INT count);
    Status AddCurve(const TGPPoint* points, INT count, REAL tension);
    Status AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);
    Status AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
    Status AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
    Status AddString(const String& string_, INT length, const TGPFontFamily* family, INT style, REAL emSize,
                     const TGPRectF& layoutRect, const class TGPStringFormat* format);
    Status AddString(const String& string_, INT length, const TGPFontFamily* family, INT style, REAL emSize,
                     const TGPPointF& origin, const class TGPStringFormat* format);
    Status LastResult() const { return lastResult; }
    GpPath* Native() const { return nativePath; }

protected:
    Status RecordStatus(Status status);

    GpPath* nativePath = nullptr;
    Status lastResult = Ok;
};

class TGPRegion : public TGdiplusBase {
public:
    explicit TGPRegion(const TGPRectF& rect);
    explicit TGPRegion(TGPGraphicsPath* path);
    ~TGPRegion() override;

    Status Exclude(TGPGraphicsPath* path);
    Status Union(TGPRegion* region);
    // Whether the point lies in the region.
    bool IsVisible(REAL x, REAL y);
    Status GetBounds(TGPRectF& rect);
    Status LastResult() const { return lastResult; }
    GpRegion* Native() const { return nativeRegion; }

protected:
    Status RecordStatus(Status status);

    GpRegion* nativeRegion = nullptr;
    Status lastResult = Ok;
};

// ==== Images ====
class TGPImage : public TGdiplusBase {
public:
    TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
    TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
    TGPImage(GpImage* nativeImage, Status status);
    ~TGPImage() override;

    Status Save(const String& filename, const CLSID& clsidEncoder,
                const EncoderParameters* encoderParams = nullptr);
    Status Save(IStream* stream, const CLSID& clsidEncoder, const EncoderParameters* encoderParams = nullptr);
    Status SaveAdd(TGPImage* newImage, const EncoderParameters* encoderParams);
    TGPImageFormat GetFormat();
    PixelFormat GetPixelFormat();
    UINT GetPixelDepth();
    bool HasPalette();
    bool HasAlphaChannel();
    // 0 when the call fails.
    UINT GetWidth();
    UINT GetHeight();
    Status RotateFlip(RotateFlipType rotateFlipType);
    TGPImage* GetThumbnailImage(UINT thumbWidth, UINT thumbHeight, GetThumbnailImageAbort callback = nullptr,
                                void* callbackData = nullptr);
    // Frames of an animated GIF (1 for other pictures) and choosing the one drawn.
    UINT GetFrameCount();
    Status SelectActiveFrame(UINT index);
    Status LastResult() const { return lastResult; }
    GpImage* Native() const { return nativeImage; }

protected:
    TGPImage() = default;
    Status RecordStatus(Status status);

    GpImage* nativeImage = nullptr;
    Status lastResult = Ok;
    Status loadStatus = Ok;
};

class TGPBitmap : public TGPImage {
public:
    TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
    TGPBitmap(INT width, INT height, PixelFormat format = PixelFormat32bppARGB);
    explicit TGPBitmap(GpBitmap* nativeBitmap);

    static TGPBitmap* FromStream(IStream* stream, bool useEmbeddedColorManagement = false);
    Status GetPixel(INT x, INT y, ARGB& color);
    Status SetPixel(INT x, INT y, ARGB color);
    Status GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);

private:
    GpBitmap* Bitmap() const { return static_cast<GpBitmap*>(nativeImage); }
};

class TGPImageAttributes : public TGdiplusBase {
public:
    TGPImageAttributes();
    ~TGPImageAttributes() override;

    TGPImageAttributes* Clone();
    Status SetToIdentity(ColorAdjustType type = ColorAdjustTypeDefault);
    Status Reset(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorMatrix(const ColorMatrix& colorMatrix, ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                          ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrix(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorMatrices(const ColorMatrix& colorMatrix, const ColorMatrix& grayMatrix,
                            ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                            ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrices(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetThreshold(REAL threshold, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearThreshold(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetGamma(REAL gamma, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearGamma(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetNoOp(ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearNoOp(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorKey(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearOutputChannel(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetOutputChannelColorProfile(const String& colorProfileFilename,
                                        ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearOutputChannelColorProfile(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetRemapTable(UINT mapSize, const ColorMap* map, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearRemapTable(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetBrushRemapTable(UINT mapSize, const ColorMap* map);
    Status ClearBrushRemapTable();
    Status SetWrapMode(WrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
    Status GetAdjustedPalette(ColorPalette* colorPalette, ColorAdjustType colorAdjustType);
    Status GetLastStatus();
    GpImageAttributes* Native() const { return nativeImageAttr; }

protected:
    TGPImageAttributes(GpImageAttributes* imageAttr, Status status);
    Status RecordStatus(Status status);

    GpImageAttributes* nativeImageAttr = nullptr;
    Status lastResult = Ok;
};

// ==== The drawing surface ====
// A graphics on a DC or an image; it owns neither. See AdvGDIPGraphics.cpp.
class TGPGraphics : public TGdiplusBase {
public:
    explicit TGPGraphics(HDC hdc);
    // A null image leaves the native object null with status Ok.
    explicit TGPGraphics(TGPImage* image);
    ~TGPGraphics() override;

    // A new surface on the image, owned by the caller.
    static TGPGraphics* FromImage(TGPImage* image);

    void Flush(FlushIntention intention = FlushIntentionFlush);
    Status Clear(ARGB color);
    Status SetTransform(const TGPMatrix* matrix);
    Status ResetTransform();
    Status MultiplyTransform(const TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
    Status TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(REAL angle, MatrixOrder order = MatrixOrderPrepend);
    HDC GetHDC();
    void ReleaseHDC(HDC hdc);
    Status SetCompositingQuality(INT compositingQuality);
    INT GetCompositingQuality();
    Status SetTextRenderingHint(TextRenderingHint newMode);
    TextRenderingHint GetTextRenderingHint();
    Status SetSmoothingMode(INT smoothingMode);
    // -1 when the call fails.
    INT GetSmoothingMode();

    Status DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);
    Status FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);
    Status FillRectangle(const TGPBrush* brush, const TGPRectF& rect);
    Status FillRectangle(const TGPBrush* brush, REAL x, REAL y, REAL width, REAL height);
    Status DrawRectangle(const TGPPen* pen, const TGPRectF& rect);
    Status DrawRectangle(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height);
    Status DrawLine(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
    Status DrawArc(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
    Status DrawArc(const TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
    Status DrawBezier(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                      REAL y4);
    Status DrawBezier(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                      const TGPPointF& pt4);
    Status DrawBeziers(const TGPPen* pen, const TGPPointF* points, INT count);
    Status DrawEllipse(const TGPPen* pen, const TGPRectF& rect);
    Status DrawEllipse(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height);
    Status DrawEllipse(const TGPPen* pen, const TGPRect& rect);
    Status DrawEllipse(const TGPPen* pen, INT x, INT y, INT width, INT height);
    Status FillEllipse(const TGPBrush* brush, const TGPRectF& rect);
    Status FillEllipse(const TGPBrush* brush, REAL x, REAL y, REAL width, REAL height);
    Status FillEllipse(const TGPBrush* brush, const TGPRect& rect);
    Status FillEllipse(const TGPBrush* brush, INT x, INT y, INT width, INT height);
    Status FillPolygon(const TGPBrush* brush, const TGPPointF* points, INT count,
                       FillMode fillMode = FillModeAlternate);
    Status FillPolygon(const TGPBrush* brush, const TGPPoint* points, INT count,
                       FillMode fillMode = FillModeAlternate);
    Status DrawImage(TGPImage* image, INT x, INT y);
    Status DrawImage(TGPImage* image, const TGPRectF& rect);
    Status DrawImage(TGPImage* image, REAL x, REAL y, REAL width, REAL height);
    Status DrawImage(TGPImage* image, const TGPRectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                     REAL srcheight, Unit srcUnit, const TGPImageAttributes* imageAttributes = nullptr,
                     ImageAbort callback = nullptr, void* callbackData = nullptr);
    Status DrawImageRect(TGPImage* image, INT x, INT y, INT w, INT h);
    // Each of X, Y, Width and Height rounded to the nearest integer (halves to even) first.
    Status DrawImageRect(TGPImage* image, const TGPRectF& rect);

    Status MeasureString(const String& string_, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                         const TGPStringFormat* stringFormat, TGPRectF& boundingBox,
                         INT* codepointsFitted = nullptr, INT* linesFilled = nullptr);
    Status MeasureString(const String& string_, INT length, const TGPFont* font, const TGPPointF& origin,
                         const TGPStringFormat* stringFormat, TGPRectF& boundingBox);
    Status MeasureString(const String& string_, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                         TGPRectF& boundingBox);
    // The whole text is drawn whatever length says.
    Status DrawString(const String& string_, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                      const TGPStringFormat* stringFormat, const TGPBrush* brush);
    Status DrawString(const String& string_, INT length, const TGPFont* font, const TGPPointF& origin,
                      const TGPBrush* brush);
    Status DrawString(const String& string_, INT length, const TGPFont* font, const TGPPointF& origin,
                      const TGPStringFormat* stringFormat, const TGPBrush* brush);

    Status ExcludeClip(const TGPRectF& rect);
    Status ExcludeClip(const TGPRegion* region);
    Status SetClip(const TGPRegion* region, CombineMode combineMode = CombineModeReplace);
    Status SetClip(const TGPGraphicsPath* path, CombineMode combineMode = CombineModeReplace);
    Status ResetClip();
    Status GetLastStatus();

    // The framework font as a GDI+ font (points; an unknown face falls back to "Arial"), owned by the
    // caller.
    TGPFont* MakeFont(TFont* AFont);
    // Width or height in whole pixels of the text in the framework font.
    Integer TextWidth(const String& string_, TFont* font);
    Integer TextHeight(const String& string_, TFont* font);
    // Draws the text at rect's top-left corner in the font, first filling its box with bkColor unless
    // that is clNone; with DT_CALCRECT in style it only sets rect's right and bottom to the text's box.
    // Returns the text's height.
    Integer DrawText(const String& string_, INT len, TRect& rect, TFont* font, UINT style, TColor bkColor);

    GpGraphics* Native() const { return nativeGraphics; }

protected:
    Status RecordStatus(Status status);

    GpGraphics* nativeGraphics = nullptr;
    Status lastResult = Ok;
};
