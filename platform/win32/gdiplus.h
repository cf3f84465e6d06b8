// The GDI+ flat API: anti-aliased drawing of paths, shapes, images and text with pens and brushes on
// DCs and bitmaps. Every call returns a Status and never throws: InvalidParameter for a null or
// unknown object or a bad argument, GdiplusNotInitialized before GdiplusStartup, ObjectBusy for a
// graphics whose DC is out or a locked bitmap, OutOfMemory when memory cannot be had.
//
// Contents: values and enumerations; records; start-up; matrices; string formats; pens; brushes;
// fonts; paths; regions; images and bitmaps; image attributes; graphics.
#pragma once

#include "platform/win32/ole.h"
#include "platform/win32/wingdi.h"

// ==== Values and enumerations ====

using REAL = float;
using LANGID = WORD;
using UINT32 = std::uint32_t;
using ARGB = DWORD;      // 0xAARRGGBB
using PixelFormat = INT; // PixelFormat... constants
using GraphicsState = UINT;
using GraphicsContainer = UINT;

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
};
using GpStatus = Status;

enum FillMode { FillModeAlternate = 0, FillModeWinding = 1 };
using GpFillMode = FillMode;

enum Unit {
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
    UnitInch = 4,
    UnitDocument = 5,
    UnitMillimeter = 6,
};
using GpUnit = Unit;

enum QualityMode { QualityModeInvalid = -1, QualityModeDefault = 0, QualityModeLow = 1, QualityModeHigh = 2 };

enum SmoothingMode {
    SmoothingModeInvalid = QualityModeInvalid,
    SmoothingModeDefault = QualityModeDefault,
    SmoothingModeHighSpeed = QualityModeLow,
    SmoothingModeHighQuality = QualityModeHigh,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
    SmoothingModeAntiAlias8x4 = SmoothingModeAntiAlias,
    SmoothingModeAntiAlias8x8 = 5,
};

enum CompositingMode { CompositingModeSourceOver = 0, CompositingModeSourceCopy = 1 };

enum CompositingQuality {
    CompositingQualityInvalid = QualityModeInvalid,
    CompositingQualityDefault = QualityModeDefault,
    CompositingQualityHighSpeed = QualityModeLow,
    CompositingQualityHighQuality = QualityModeHigh,
    CompositingQualityGammaCorrected = 3,
    CompositingQualityAssumeLinear = 4,
};

enum InterpolationMode {
    InterpolationModeInvalid = QualityModeInvalid,
    InterpolationModeDefault = QualityModeDefault,
    InterpolationModeLowQuality = QualityModeLow,
    InterpolationModeHighQuality = QualityModeHigh,
    InterpolationModeBilinear = 3,
    InterpolationModeBicubic = 4,
    InterpolationModeNearestNeighbor = 5,
    InterpolationModeHighQualityBilinear = 6,
    InterpolationModeHighQualityBicubic = 7,
};

enum PixelOffsetMode {
    PixelOffsetModeInvalid = QualityModeInvalid,
    PixelOffsetModeDefault = QualityModeDefault,
    PixelOffsetModeHighSpeed = QualityModeLow,
    PixelOffsetModeHighQuality = QualityModeHigh,
    PixelOffsetModeNone = 3,
    PixelOffsetModeHalf = 4,
};

enum TextRenderingHint {
    TextRenderingHintSystemDefault = 0,
    TextRenderingHintSingleBitPerPixelGridFit = 1,
    TextRenderingHintSingleBitPerPixel = 2,
    TextRenderingHintAntiAliasGridFit = 3,
    TextRenderingHintAntiAlias = 4,
    TextRenderingHintClearTypeGridFit = 5,
};

enum HatchStyle {
    HatchStyleHorizontal = 0,
    HatchStyleVertical = 1,
    HatchStyleForwardDiagonal = 2,
    HatchStyleBackwardDiagonal = 3,
    HatchStyleCross = 4,
    HatchStyleDiagonalCross = 5,
    HatchStyle05Percent = 6,
    HatchStyle10Percent = 7,
    HatchStyle20Percent = 8,
    HatchStyle25Percent = 9,
    HatchStyle30Percent = 10,
    HatchStyle40Percent = 11,
    HatchStyle50Percent = 12,
    HatchStyle60Percent = 13,
    HatchStyle70Percent = 14,
    HatchStyle75Percent = 15,
    HatchStyle80Percent = 16,
    HatchStyle90Percent = 17,
    HatchStyleLightDownwardDiagonal = 18,
    HatchStyleLightUpwardDiagonal = 19,
    HatchStyleDarkDownwardDiagonal = 20,
    HatchStyleDarkUpwardDiagonal = 21,
    HatchStyleWideDownwardDiagonal = 22,
    HatchStyleWideUpwardDiagonal = 23,
    HatchStyleLightVertical = 24,
    HatchStyleLightHorizontal = 25,
    HatchStyleNarrowVertical = 26,
    HatchStyleNarrowHorizontal = 27,
    HatchStyleDarkVertical = 28,
    HatchStyleDarkHorizontal = 29,
    HatchStyleDashedDownwardDiagonal = 30,
    HatchStyleDashedUpwardDiagonal = 31,
    HatchStyleDashedHorizontal = 32,
    HatchStyleDashedVertical = 33,
    HatchStyleSmallConfetti = 34,
    HatchStyleLargeConfetti = 35,
    HatchStyleZigZag = 36,
    HatchStyleWave = 37,
    HatchStyleDiagonalBrick = 38,
    HatchStyleHorizontalBrick = 39,
    HatchStyleWeave = 40,
    HatchStylePlaid = 41,
    HatchStyleDivot = 42,
    HatchStyleDottedGrid = 43,
    HatchStyleDottedDiamond = 44,
    HatchStyleShingle = 45,
    HatchStyleTrellis = 46,
    HatchStyleSphere = 47,
    HatchStyleSmallGrid = 48,
    HatchStyleSmallCheckerBoard = 49,
    HatchStyleLargeCheckerBoard = 50,
    HatchStyleOutlinedDiamond = 51,
    HatchStyleSolidDiamond = 52,
    HatchStyleTotal = 53,
    HatchStyleLargeGrid = HatchStyleCross,
    HatchStyleMin = HatchStyleHorizontal,
    HatchStyleMax = HatchStyleTotal - 1,
};
using GpHatchStyle = HatchStyle;

enum DashStyle {
    DashStyleSolid = 0,
    DashStyleDash = 1,
    DashStyleDot = 2,
    DashStyleDashDot = 3,
    DashStyleDashDotDot = 4,
    DashStyleCustom = 5,
};
using GpDashStyle = DashStyle;

enum DashCap { DashCapFlat = 0, DashCapRound = 2, DashCapTriangle = 3 };
using GpDashCap = DashCap;

enum LineCap {
    LineCapFlat = 0,
    LineCapSquare = 1,
    LineCapRound = 2,
    LineCapTriangle = 3,
    LineCapNoAnchor = 0x10,
    LineCapSquareAnchor = 0x11,
    LineCapRoundAnchor = 0x12,
    LineCapDiamondAnchor = 0x13,
    LineCapArrowAnchor = 0x14,
    LineCapCustom = 0xFF,
    LineCapAnchorMask = 0xF0,
};
using GpLineCap = LineCap;

enum LineJoin { LineJoinMiter = 0, LineJoinBevel = 1, LineJoinRound = 2, LineJoinMiterClipped = 3 };
using GpLineJoin = LineJoin;

enum PenAlignment { PenAlignmentCenter = 0, PenAlignmentInset = 1 };
using GpPenAlignment = PenAlignment;

enum PenType {
    PenTypeSolidColor = 0,
    PenTypeHatchFill = 1,
    PenTypeTextureFill = 2,
    PenTypePathGradient = 3,
    PenTypeLinearGradient = 4,
    PenTypeUnknown = -1,
};

enum BrushType {
    BrushTypeSolidColor = 0,
    BrushTypeHatchFill = 1,
    BrushTypeTextureFill = 2,
    BrushTypePathGradient = 3,
    BrushTypeLinearGradient = 4,
};
using GpBrushType = BrushType;

enum WrapMode {
    WrapModeTile = 0,
    WrapModeTileFlipX = 1,
    WrapModeTileFlipY = 2,
    WrapModeTileFlipXY = 3,
    WrapModeClamp = 4,
};
using GpWrapMode = WrapMode;

enum LinearGradientMode {
    LinearGradientModeHorizontal = 0,
    LinearGradientModeVertical = 1,
    LinearGradientModeForwardDiagonal = 2,
    LinearGradientModeBackwardDiagonal = 3,
};

enum CombineMode {
    CombineModeReplace = 0,
    CombineModeIntersect = 1,
    CombineModeUnion = 2,
    CombineModeXor = 3,
    CombineModeExclude = 4,
    CombineModeComplement = 5,
};

enum MatrixOrder { MatrixOrderPrepend = 0, MatrixOrderAppend = 1 };
using GpMatrixOrder = MatrixOrder;

enum FlushIntention { FlushIntentionFlush = 0, FlushIntentionSync = 1 };
using GpFlushIntention = FlushIntention;

enum FontStyle {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

enum StringAlignment { StringAlignmentNear = 0, StringAlignmentCenter = 1, StringAlignmentFar = 2 };

enum StringTrimming {
    StringTrimmingNone = 0,
    StringTrimmingCharacter = 1,
    StringTrimmingWord = 2,
    StringTrimmingEllipsisCharacter = 3,
    StringTrimmingEllipsisWord = 4,
    StringTrimmingEllipsisPath = 5,
};

enum HotkeyPrefix { HotkeyPrefixNone = 0, HotkeyPrefixShow = 1, HotkeyPrefixHide = 2 };

enum StringFormatFlags {
    StringFormatFlagsDirectionRightToLeft = 0x00000001,
    StringFormatFlagsDirectionVertical = 0x00000002,
    StringFormatFlagsNoFitBlackBox = 0x00000004,
    StringFormatFlagsDisplayFormatControl = 0x00000020,
    StringFormatFlagsNoFontFallback = 0x00000400,
    StringFormatFlagsMeasureTrailingSpaces = 0x00000800,
    StringFormatFlagsNoWrap = 0x00001000,
    StringFormatFlagsLineLimit = 0x00002000,
    StringFormatFlagsNoClip = 0x00004000,
};

enum ColorMatrixFlags {
    ColorMatrixFlagsDefault = 0,
    ColorMatrixFlagsSkipGrays = 1,
    ColorMatrixFlagsAltGray = 2,
};

enum ColorAdjustType {
    ColorAdjustTypeDefault = 0,
    ColorAdjustTypeBitmap = 1,
    ColorAdjustTypeBrush = 2,
    ColorAdjustTypePen = 3,
    ColorAdjustTypeText = 4,
    ColorAdjustTypeCount = 5,
    ColorAdjustTypeAny = 6,
};

enum ColorChannelFlags {
    ColorChannelFlagsC = 0,
    ColorChannelFlagsM = 1,
    ColorChannelFlagsY = 2,
    ColorChannelFlagsK = 3,
    ColorChannelFlagsLast = 4,
};

enum RotateFlipType {
    RotateNoneFlipNone = 0,
    Rotate90FlipNone = 1,
    Rotate180FlipNone = 2,
    Rotate270FlipNone = 3,
    RotateNoneFlipX = 4,
    Rotate90FlipX = 5,
    Rotate180FlipX = 6,
    Rotate270FlipX = 7,
    RotateNoneFlipY = Rotate180FlipX,
    Rotate90FlipY = Rotate270FlipX,
    Rotate180FlipY = RotateNoneFlipX,
    Rotate270FlipY = Rotate90FlipX,
    RotateNoneFlipXY = Rotate180FlipNone,
    Rotate90FlipXY = Rotate270FlipNone,
    Rotate180FlipXY = RotateNoneFlipNone,
    Rotate270FlipXY = Rotate90FlipNone,
};

enum ImageType { ImageTypeUnknown = 0, ImageTypeBitmap = 1, ImageTypeMetafile = 2 };

enum ImageLockMode {
    ImageLockModeRead = 0x0001,
    ImageLockModeWrite = 0x0002,
    ImageLockModeUserInputBuf = 0x0004,
};

// Path point types: the low three bits are the kind, the high bits mark the point.
enum PathPointType {
    PathPointTypeStart = 0,
    PathPointTypeLine = 1,
    PathPointTypeBezier = 3,
    PathPointTypePathTypeMask = 0x07,
    PathPointTypeDashMode = 0x10,
    PathPointTypePathMarker = 0x20,
    PathPointTypeCloseSubpath = 0x80,
};

// Pixel formats: bits 8-15 give the depth; the flags say indexed, GDI-compatible, alpha, premultiplied.
inline constexpr PixelFormat PixelFormatIndexed = 0x00010000;
inline constexpr PixelFormat PixelFormatGDI = 0x00020000;
inline constexpr PixelFormat PixelFormatAlpha = 0x00040000;
inline constexpr PixelFormat PixelFormatPAlpha = 0x00080000;
inline constexpr PixelFormat PixelFormatExtended = 0x00100000;
inline constexpr PixelFormat PixelFormatCanonical = 0x00200000;
inline constexpr PixelFormat PixelFormatUndefined = 0;
inline constexpr PixelFormat PixelFormatDontCare = 0;
inline constexpr PixelFormat PixelFormat1bppIndexed = 1 | (1 << 8) | PixelFormatIndexed | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat4bppIndexed = 2 | (4 << 8) | PixelFormatIndexed | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat8bppIndexed = 3 | (8 << 8) | PixelFormatIndexed | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat16bppGrayScale = 4 | (16 << 8) | PixelFormatExtended;
inline constexpr PixelFormat PixelFormat16bppRGB555 = 5 | (16 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat16bppRGB565 = 6 | (16 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat16bppARGB1555 = 7 | (16 << 8) | PixelFormatAlpha | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat24bppRGB = 8 | (24 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat32bppRGB = 9 | (32 << 8) | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat32bppARGB =
    10 | (32 << 8) | PixelFormatAlpha | PixelFormatGDI | PixelFormatCanonical;
inline constexpr PixelFormat PixelFormat32bppPARGB =
    11 | (32 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatGDI;
inline constexpr PixelFormat PixelFormat48bppRGB = 12 | (48 << 8) | PixelFormatExtended;
inline constexpr PixelFormat PixelFormat64bppARGB =
    13 | (64 << 8) | PixelFormatAlpha | PixelFormatCanonical | PixelFormatExtended;
inline constexpr PixelFormat PixelFormat64bppPARGB =
    14 | (64 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatExtended;

// The raw formats of images: which kind of file an image was read from.
inline constexpr GUID ImageFormatUndefined = {
    0xB96B3CA9, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatMemoryBMP = {
    0xB96B3CAA, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatBMP = {
    0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatEMF = {
    0xB96B3CAC, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatWMF = {
    0xB96B3CAD, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatJPEG = {
    0xB96B3CAE, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatPNG = {
    0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatGIF = {
    0xB96B3CB0, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatTIFF = {
    0xB96B3CB1, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatEXIF = {
    0xB96B3CB2, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr GUID ImageFormatIcon = {
    0xB96B3CB5, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// The frame dimensions of multi-frame images: frames in time (animated GIF) and pages.
inline constexpr GUID FrameDimensionTime = {
    0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};
inline constexpr GUID FrameDimensionPage = {
    0x7462DC86, 0x6180, 0x4C7E, {0x8E, 0x3F, 0xEE, 0x73, 0x33, 0xA7, 0xA4, 0x83}};
// The encoder parameter of JPEG quality (one ULONG from 0 to 100).
inline constexpr GUID EncoderQuality = {
    0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};

// Encoders for saving: the class identifiers of the BMP, JPEG, GIF and PNG writers.
inline constexpr CLSID EncoderClsidBMP = {
    0x557CF400, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr CLSID EncoderClsidJPEG = {
    0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr CLSID EncoderClsidGIF = {
    0x557CF402, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr CLSID EncoderClsidPNG = {
    0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// ==== Records ====

struct GpPointF {
    REAL X;
    REAL Y;
};
struct GpPoint {
    INT X;
    INT Y;
};
struct GpRectF {
    REAL X;
    REAL Y;
    REAL Width;
    REAL Height;
};
struct GpRect {
    INT X;
    INT Y;
    INT Width;
    INT Height;
};
struct GpSizeF {
    REAL Width;
    REAL Height;
};

struct ColorMatrix {
    REAL m[5][5];
};
struct ColorMap {
    ARGB oldColor;
    ARGB newColor;
};
struct ColorPalette {
    UINT Flags;
    UINT Count;
    ARGB Entries[1];
};

struct EncoderParameter {
    GUID Guid;
    ULONG NumberOfValues;
    ULONG Type;
    void* Value;
};
struct EncoderParameters {
    UINT Count;
    EncoderParameter Parameter[1];
};

struct BitmapData {
    UINT Width;
    UINT Height;
    INT Stride;
    INT PixelFormat; // a PixelFormat value
    void* Scan0;
    UINT_PTR Reserved;
};

// Called while an image is drawn; returning TRUE stops the drawing.
using DrawImageAbort = BOOL (*)(void* data);
using GetThumbnailImageAbort = DrawImageAbort;
using ImageAbort = DrawImageAbort;

using DebugEventProc = void (*)(int level, char* message);
using NotificationHookProc = Status (*)(ULONG_PTR* token);
using NotificationUnhookProc = void (*)(ULONG_PTR token);

struct GdiplusStartupInput {
    UINT32 GdiplusVersion = 1;
    DebugEventProc DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};
struct GdiplusStartupOutput {
    NotificationHookProc NotificationHook = nullptr;
    NotificationUnhookProc NotificationUnhook = nullptr;
};

// ---- The objects: opaque to callers ----
// A kind that is a special case of another converts to it, as the flat API's callers expect.
struct GpGraphics {};
struct GpPen {};
struct GpBrush {};
struct GpSolidFill : GpBrush {};
struct GpHatch : GpBrush {};
struct GpTexture : GpBrush {};
struct GpLineGradient : GpBrush {};
struct GpPathGradient : GpBrush {};
struct GpPath {};
struct GpRegion {};
struct GpMatrix {};
struct GpFontFamily {};
struct GpFont {};
struct GpFontCollection {};
struct GpStringFormat {};
struct GpImage {};
struct GpBitmap : GpImage {};
struct GpImageAttributes {};
struct GpCachedBitmap {};

// ==== Start-up (gdiplus_startup.cpp) ====
// GdiplusNotInitialized answers every other call until this has run; calls nest, and each needs
// its own GdiplusShutdown. UnsupportedGdiplusVersion for a version other than 1 to 3.
Status GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);
// Memory of GDI+; null before GdiplusStartup (and for an allocation that fails).
void* GdipAlloc(size_t size);
void GdipFree(void* memory);

// ==== Matrices (gdiplus_matrix.cpp) ====
Status GdipCreateMatrix(GpMatrix** matrix);
Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix);
// The matrix that maps rect onto the parallelogram of three points (top-left, top-right, bottom-left).
Status GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix);
Status GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix);
Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone);
Status GdipDeleteMatrix(GpMatrix* matrix);
Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
// Six values: m11, m12, m21, m22, dx, dy.
Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements);
Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, MatrixOrder order);
Status GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, MatrixOrder order);
Status GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, MatrixOrder order);
Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order);
Status GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order);
// InvalidParameter for a matrix that has no inverse (it is left unchanged).
Status GdipInvertMatrix(GpMatrix* matrix);
Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count);
Status GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count);
Status GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count);
Status GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count);
Status GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result);
Status GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result);
Status GdipIsMatrixEqual(const GpMatrix* matrix, const GpMatrix* matrix2, BOOL* result);

// ==== String formats (gdiplus_text.cpp) ====
Status GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format);
Status GdipCloneStringFormat(const GpStringFormat* format, GpStringFormat** clone);
Status GdipDeleteStringFormat(GpStringFormat* format);
// The shared formats: the default one and the typographic one (no padding, no wrapping of overhang).
Status GdipStringFormatGetGenericDefault(GpStringFormat** format);
Status GdipStringFormatGetGenericTypographic(GpStringFormat** format);
Status GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
Status GdipGetStringFormatFlags(const GpStringFormat* format, INT* flags);
Status GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
Status GdipGetStringFormatLineAlign(const GpStringFormat* format, StringAlignment* align);
Status GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
Status GdipGetStringFormatTrimming(const GpStringFormat* format, StringTrimming* trimming);
Status GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);
Status GdipGetStringFormatHotkeyPrefix(const GpStringFormat* format, INT* hotkeyPrefix);

// ==== Pens (gdiplus_pen.cpp) ====
// A pen of width in unit (UnitWorld, UnitPixel; the other units are scaled to pixels at 96 dpi).
Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
Status GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
Status GdipClonePen(GpPen* pen, GpPen** clone);
Status GdipDeletePen(GpPen* pen);
Status GdipSetPenWidth(GpPen* pen, REAL width);
Status GdipGetPenWidth(GpPen* pen, REAL* width);
Status GdipSetPenColor(GpPen* pen, ARGB color);
Status GdipGetPenColor(GpPen* pen, ARGB* color);
Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
// A new brush like the pen's, owned by the caller.
Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush);
Status GdipGetPenFillType(GpPen* pen, PenType* type);
Status GdipSetPenDashStyle(GpPen* pen, GpDashStyle style);
Status GdipGetPenDashStyle(GpPen* pen, GpDashStyle* style);
// On and off lengths in pen widths; sets the style to DashStyleCustom.
Status GdipSetPenDashArray(GpPen* pen, const REAL* dashes, INT count);
Status GdipSetPenDashOffset(GpPen* pen, REAL offset);
Status GdipSetPenDashCap197819(GpPen* pen, GpDashCap cap);
Status GdipSetPenStartCap(GpPen* pen, GpLineCap cap);
Status GdipSetPenEndCap(GpPen* pen, GpLineCap cap);
Status GdipGetPenStartCap(GpPen* pen, GpLineCap* cap);
Status GdipGetPenEndCap(GpPen* pen, GpLineCap* cap);
Status GdipSetPenLineCap197819(GpPen* pen, GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap);
Status GdipSetPenLineJoin(GpPen* pen, GpLineJoin join);
Status GdipGetPenLineJoin(GpPen* pen, GpLineJoin* join);
Status GdipSetPenMiterLimit(GpPen* pen, REAL miterLimit);
Status GdipSetPenMode(GpPen* pen, GpPenAlignment alignment);
Status GdipGetPenMode(GpPen* pen, GpPenAlignment* alignment);

// ==== Brushes (gdiplus_brush.cpp) ====
Status GdipCloneBrush(GpBrush* brush, GpBrush** clone);
Status GdipDeleteBrush(GpBrush* brush);
Status GdipGetBrushType(GpBrush* brush, GpBrushType* type);
Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
Status GdipCreateHatchBrush(GpHatchStyle style, ARGB foreColor, ARGB backColor, GpHatch** brush);
Status GdipGetHatchStyle(GpHatch* brush, GpHatchStyle* style);
Status GdipGetHatchForegroundColor(GpHatch* brush, ARGB* color);
Status GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* color);
// The texture keeps its own copy of the image (of the part x, y, width, height for the forms with a
// rectangle); InvalidParameter when that part is empty or outside the image.
Status GdipCreateTexture(GpImage* image, GpWrapMode wrapMode, GpTexture** texture);
Status GdipCreateTexture2(GpImage* image, GpWrapMode wrapMode, REAL x, REAL y, REAL width, REAL height,
                          GpTexture** texture);
Status GdipCreateTexture2I(GpImage* image, GpWrapMode wrapMode, INT x, INT y, INT width, INT height,
                           GpTexture** texture);
Status GdipCreateTextureIA(GpImage* image, GpImageAttributes* attributes, REAL x, REAL y, REAL width,
                           REAL height, GpTexture** texture);
Status GdipCreateTextureIAI(GpImage* image, GpImageAttributes* attributes, INT x, INT y, INT width,
                            INT height, GpTexture** texture);
Status GdipGetTextureImage(GpTexture* brush, GpImage** image);
Status GdipResetTextureTransform(GpTexture* brush);
Status GdipSetTextureTransform(GpTexture* brush, GpMatrix* matrix);
Status GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order);
Status GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order);
Status GdipRotateTextureTransform(GpTexture* brush, REAL angle, GpMatrixOrder order);
Status GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapMode);
Status GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapMode);
Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                           GpWrapMode wrapMode, GpLineGradient** brush);
Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                            GpWrapMode wrapMode, GpLineGradient** brush);
Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   GpWrapMode wrapMode, GpLineGradient** brush);
Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    GpWrapMode wrapMode, GpLineGradient** brush);
Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                            BOOL isAngleScalable, GpWrapMode wrapMode,
                                            GpLineGradient** brush);
Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                             BOOL isAngleScalable, GpWrapMode wrapMode,
                                             GpLineGradient** brush);
Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors);
Status GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2);
Status GdipGetLineRect(GpLineGradient* brush, GpRectF* rect);
// Factors (0 = the first colour, 1 = the second) at positions from 0 to 1; the first position must be
// 0 and the last 1. Clears a preset blend.
Status GdipSetLineBlend(GpLineGradient* brush, const REAL* factors, const REAL* positions, INT count);
// Colours at positions from 0 to 1 (first 0, last 1, at least two). Clears a factor blend.
Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors, const REAL* positions, INT count);
Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection);
Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection);
Status GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapMode);
Status GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapMode);
// A gradient from the centre of the closed figure of points out to its edge; centre and surround
// start white.
Status GdipCreatePathGradient(const GpPointF* points, INT count, GpWrapMode wrapMode, GpPathGradient** brush);
Status GdipCreatePathGradientI(const GpPoint* points, INT count, GpWrapMode wrapMode, GpPathGradient** brush);
Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush);
Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color);
Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color);
Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point);
Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point);
Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point);
Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point);
Status GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count);
Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count);
// InsufficientBuffer when *count is below the number of surround colours.
Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, INT* count);
// InvalidParameter when *count is 0 or more than the brush's points.
Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, INT* count);
Status GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapMode);
Status GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection);
Status GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* colors, const REAL* positions,
                                      INT count);
Status GdipSetPathGradientBlend(GpPathGradient* brush, const REAL* factors, const REAL* positions, INT count);

// ==== Fonts (gdiplus_text.cpp) ====
// FontFamilyNotFound for a name that neither the installed faces nor the substitution table know.
Status GdipCreateFontFamilyFromName(const WCHAR* name, GpFontCollection* collection, GpFontFamily** family);
Status GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone);
Status GdipDeleteFontFamily(GpFontFamily* family);
// The shared generic families; deleting them does nothing.
Status GdipGetGenericFontFamilySansSerif(GpFontFamily** family);
Status GdipGetGenericFontFamilySerif(GpFontFamily** family);
Status GdipGetGenericFontFamilyMonospace(GpFontFamily** family);
// The family's name, LF_FACESIZE characters with the terminating zero.
Status GdipGetFamilyName(const GpFontFamily* family, WCHAR* name, LANGID language);
// emSize in unit (UnitWorld counts in the world units of the graphics drawing it; UnitDisplay is not a
// font unit: InvalidParameter).
// style: FontStyle bits.
Status GdipCreateFont(const GpFontFamily* family, REAL emSize, INT style, Unit unit, GpFont** font);
// The font selected into dc, in pixels.
Status GdipCreateFontFromDC(HDC dc, GpFont** font);
Status GdipCreateFontFromLogfontW(HDC dc, const LOGFONTW* logFont, GpFont** font);
Status GdipCloneFont(GpFont* font, GpFont** clone);
Status GdipDeleteFont(GpFont* font);
Status GdipGetFamily(GpFont* font, GpFontFamily** family);
Status GdipGetFontSize(GpFont* font, REAL* size);
Status GdipGetFontStyle(GpFont* font, INT* style);
Status GdipGetFontUnit(GpFont* font, Unit* unit);
// Line spacing of the font on graphics, in the graphics' page units.
Status GdipGetFontHeight(const GpFont* font, const GpGraphics* graphics, REAL* height);

// ==== Paths (gdiplus_path.cpp) ====
Status GdipCreatePath(GpFillMode fillMode, GpPath** path);
// Points and their PathPointType values; InvalidParameter for types that do not make figures.
Status GdipCreatePath2(const GpPointF* points, const BYTE* types, INT count, GpFillMode fillMode,
                       GpPath** path);
Status GdipCreatePath2I(const GpPoint* points, const BYTE* types, INT count, GpFillMode fillMode,
                        GpPath** path);
Status GdipClonePath(GpPath* path, GpPath** clone);
Status GdipDeletePath(GpPath* path);
Status GdipResetPath(GpPath* path);
Status GdipGetPointCount(GpPath* path, INT* count);
// InsufficientBuffer when count is below the path's point count.
Status GdipGetPathPoints(GpPath* path, GpPointF* points, INT count);
Status GdipGetPathPointsI(GpPath* path, GpPoint* points, INT count);
Status GdipGetPathTypes(GpPath* path, BYTE* types, INT count);
Status GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode);
Status GdipSetPathFillMode(GpPath* path, GpFillMode fillMode);
Status GdipStartPathFigure(GpPath* path);
Status GdipClosePathFigure(GpPath* path);
Status GdipClosePathFigures(GpPath* path);
// Bounds after matrix (may be null), widened by pen (may be null).
Status GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen);
Status GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix, const GpPen* pen);
Status GdipTransformPath(GpPath* path, GpMatrix* matrix);
// Whether the point is inside the filled path (graphics may be null).
Status GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
// Whether the point is on the outline the pen draws.
Status GdipIsOutlineVisiblePathPoint(GpPath* path, REAL x, REAL y, GpPen* pen, GpGraphics* graphics,
                                     BOOL* result);
Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2);
Status GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                      REAL sweepAngle);
Status GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                         REAL y4);
Status GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
// 3n + 1 points.
Status GdipAddPathBeziers(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathBeziersI(GpPath* path, const GpPoint* points, INT count);
// Cardinal splines through the points (tension 0.5 unless given).
Status GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension);
Status GdipAddPathClosedCurve(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathClosedCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension);
Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
Status GdipAddPathRectangles(GpPath* path, const GpRectF* rects, INT count);
Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
Status GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height);
Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                      REAL sweepAngle);
Status GdipAddPathPieI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count);
Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count);
Status GdipAddPathPath(GpPath* path, const GpPath* addingPath, BOOL connect);
// The outlines of the text's glyphs, laid out in layoutRect as GdipDrawString lays it out; emSize in
// world units.
Status GdipAddPathString(GpPath* path, const WCHAR* text, INT length, const GpFontFamily* family, INT style,
                         REAL emSize, const GpRectF* layoutRect, const GpStringFormat* format);
Status GdipAddPathStringI(GpPath* path, const WCHAR* text, INT length, const GpFontFamily* family, INT style,
                          REAL emSize, const GpRect* layoutRect, const GpStringFormat* format);

// ==== Regions (gdiplus_region.cpp) ====
// A new region is infinite.
Status GdipCreateRegion(GpRegion** region);
Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region);
Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region);
Status GdipCreateRegionPath(GpPath* path, GpRegion** region);
Status GdipCreateRegionHrgn(HRGN hrgn, GpRegion** region);
Status GdipCloneRegion(GpRegion* region, GpRegion** clone);
Status GdipDeleteRegion(GpRegion* region);
Status GdipSetInfinite(GpRegion* region);
Status GdipSetEmpty(GpRegion* region);
Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode mode);
Status GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, CombineMode mode);
Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode);
Status GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode mode);
Status GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy);
Status GdipTransformRegion(GpRegion* region, GpMatrix* matrix);
// Bounds in world units; an infinite region answers (-4194304, -4194304, 8388608, 8388608).
Status GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect);
Status GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
Status GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
Status GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
Status GdipIsEqualRegion(GpRegion* region, GpRegion* region2, GpGraphics* graphics, BOOL* result);
// A GDI region of the pixels the region covers (graphics may be null); the caller deletes it.
Status GdipGetRegionHRgn(GpRegion* region, GpGraphics* graphics, HRGN* hrgn);

// ==== Images and bitmaps (gdiplus_image.cpp) ====
// BMP, PNG, JPEG, GIF (every frame) and icon files. FileNotFound for a file that cannot be read,
// UnknownImageFormat for bytes that are no picture, OutOfMemory for a picture too large to hold.
Status GdipLoadImageFromFile(const WCHAR* fileName, GpImage** image);
Status GdipLoadImageFromFileICM(const WCHAR* fileName, GpImage** image);
// Reads the whole stream, from its start whatever its position.
Status GdipLoadImageFromStream(IStream* stream, GpImage** image);
Status GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
Status GdipCreateBitmapFromFile(const WCHAR* fileName, GpBitmap** bitmap);
Status GdipCreateBitmapFromFileICM(const WCHAR* fileName, GpBitmap** bitmap);
Status GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
Status GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap);
// A bitmap of width x height in format; with scan0 it copies stride-spaced rows from there (the
// pixels stay the bitmap's own). 32-bit formats, 24-bit RGB and the 16-bit formats are taken.
Status GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                 GpBitmap** bitmap);
Status GdipCreateBitmapFromHBITMAP(HBITMAP hbitmap, HPALETTE palette, GpBitmap** bitmap);
Status GdipCreateBitmapFromGraphics(INT width, INT height, GpGraphics* target, GpBitmap** bitmap);
// A 32-bit DIB section of the bitmap's pixels composed over background (ARGB); the caller deletes it.
Status GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbitmap, ARGB background);
Status GdipCloneImage(GpImage* image, GpImage** clone);
Status GdipCloneBitmapAreaI(INT x, INT y, INT width, INT height, PixelFormat format, GpBitmap* source,
                            GpBitmap** clone);
Status GdipDisposeImage(GpImage* image);
Status GdipGetImageWidth(GpImage* image, UINT* width);
Status GdipGetImageHeight(GpImage* image, UINT* height);
Status GdipGetImageDimension(GpImage* image, REAL* width, REAL* height);
Status GdipGetImageType(GpImage* image, ImageType* type);
Status GdipGetImageRawFormat(GpImage* image, GUID* format);
Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
Status GdipGetImageFlags(GpImage* image, UINT* flags);
Status GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution);
Status GdipGetImageVerticalResolution(GpImage* image, REAL* resolution);
Status GdipImageRotateFlip(GpImage* image, RotateFlipType type);
// A new image of the given size (120 x 120 for 0 x 0) holding the picture scaled.
Status GdipGetImageThumbnail(GpImage* image, UINT width, UINT height, GpImage** thumbnail,
                             GetThumbnailImageAbort callback, void* callbackData);
// Frames of an animated GIF (the dimension is the time dimension); 1 for other pictures.
Status GdipImageGetFrameCount(GpImage* image, const GUID* dimension, UINT* count);
Status GdipImageSelectActiveFrame(GpImage* image, const GUID* dimension, UINT index);
// Writes the picture with the encoder named by clsid (BMP, PNG, JPEG with its quality parameter, GIF);
// Win32Error when the file or stream cannot be written, UnknownImageFormat for an unknown encoder.
Status GdipSaveImageToFile(GpImage* image, const WCHAR* fileName, const CLSID* encoder,
                           const EncoderParameters* params);
Status GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* encoder,
                             const EncoderParameters* params);
// Multi-frame saving is not offered: NotImplemented.
Status GdipSaveAdd(GpImage* image, const EncoderParameters* params);
Status GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* params);
Status GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
Status GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);
// The pixels of rect (the whole bitmap when null) in format (32-bit ARGB, PARGB or RGB, or 24-bit
// RGB); written pixels go back at GdipBitmapUnlockBits. ObjectBusy while the bitmap is locked.
Status GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format,
                          BitmapData* data);
Status GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data);

// ==== Image attributes (gdiplus_attributes.cpp) ====
Status GdipCreateImageAttributes(GpImageAttributes** attributes);
Status GdipCloneImageAttributes(const GpImageAttributes* attributes, GpImageAttributes** clone);
Status GdipDisposeImageAttributes(GpImageAttributes* attributes);
Status GdipSetImageAttributesToIdentity(GpImageAttributes* attributes, ColorAdjustType type);
Status GdipResetImageAttributes(GpImageAttributes* attributes, ColorAdjustType type);
// colorMatrix maps (r, g, b, a, 1) rows of 0..1 values; grayMatrix applies to greys with
// ColorMatrixFlagsAltGray.
Status GdipSetImageAttributesColorMatrix(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                         const ColorMatrix* colorMatrix, const ColorMatrix* grayMatrix,
                                         ColorMatrixFlags flags);
Status GdipSetImageAttributesThreshold(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                       REAL threshold);
Status GdipSetImageAttributesGamma(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                   REAL gamma);
Status GdipSetImageAttributesNoOp(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable);
// Pixels whose colour channels all lie between low and high become transparent.
Status GdipSetImageAttributesColorKeys(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                       ARGB colorLow, ARGB colorHigh);
Status GdipSetImageAttributesOutputChannel(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                           ColorChannelFlags channelFlags);
// Colour profiles are not offered: NotImplemented when enabling.
Status GdipSetImageAttributesOutputChannelColorProfile(GpImageAttributes* attributes, ColorAdjustType type,
                                                       BOOL enable, const WCHAR* colorProfileFilename);
Status GdipSetImageAttributesRemapTable(GpImageAttributes* attributes, ColorAdjustType type, BOOL enable,
                                        UINT mapSize, const ColorMap* map);
// How an image is continued where a drawing reaches past it; color fills with WrapModeClamp.
Status GdipSetImageAttributesWrapMode(GpImageAttributes* attributes, WrapMode wrap, ARGB color, BOOL clamp);
// The palette as the attributes would change it.
Status GdipGetImageAttributesAdjustedPalette(GpImageAttributes* attributes, ColorPalette* palette,
                                             ColorAdjustType type);

// ==== Graphics (gdiplus_graphics.cpp, gdiplus_draw.cpp) ====
// A graphics on the DC: its drawing goes to the DC's device (only devices with pixels show it) at the
// DC's origin, within its clip. InvalidParameter for a handle that is not a DC.
Status GdipCreateFromHDC(HDC dc, GpGraphics** graphics);
Status GdipCreateFromHDC2(HDC dc, HANDLE device, GpGraphics** graphics);
// A graphics on the bitmap's pixels; OutOfMemory for an indexed bitmap (GDI+ draws on none).
Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
Status GdipDeleteGraphics(GpGraphics* graphics);
Status GdipFlush(GpGraphics* graphics, GpFlushIntention intention);
// A DC on what the graphics draws on; the graphics is ObjectBusy until GdipReleaseDC.
Status GdipGetDC(GpGraphics* graphics, HDC* dc);
Status GdipReleaseDC(GpGraphics* graphics, HDC dc);
Status GdipGraphicsClear(GpGraphics* graphics, ARGB color);
Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode);
Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode);
Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint);
Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint);
Status GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode);
Status GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode);
Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality);
Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality);
Status GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode);
Status GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode);
Status GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode);
Status GdipGetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode* mode);
Status GdipSetPageUnit(GpGraphics* graphics, GpUnit unit);
Status GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit);
Status GdipSetPageScale(GpGraphics* graphics, REAL scale);
Status GdipGetPageScale(GpGraphics* graphics, REAL* scale);
Status GdipGetDpiX(GpGraphics* graphics, REAL* dpi);
Status GdipGetDpiY(GpGraphics* graphics, REAL* dpi);
Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix);
Status GdipResetWorldTransform(GpGraphics* graphics);
Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, GpMatrixOrder order);
Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order);
Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order);
Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order);
Status GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state);
Status GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state);

// Clipping: the clip is kept in device space, as set through the world transform of the moment.
Status GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* source, CombineMode mode);
Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode);
Status GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, CombineMode mode);
Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode);
Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode);
Status GdipSetClipHrgn(GpGraphics* graphics, HRGN hrgn, CombineMode mode);
Status GdipResetClip(GpGraphics* graphics);
Status GdipTranslateClip(GpGraphics* graphics, REAL dx, REAL dy);
// The clip in world units (a new region the caller passes in).
Status GdipGetClip(GpGraphics* graphics, GpRegion* region);
Status GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect);
Status GdipIsClipEmpty(GpGraphics* graphics, BOOL* result);
Status GdipIsVisiblePoint(GpGraphics* graphics, REAL x, REAL y, BOOL* result);

// Lines and outlines.
Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
Status GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                    REAL sweepAngle);
Status GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                      REAL x4, REAL y4);
Status GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3,
                       INT x4, INT y4);
Status GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawBeziersI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
Status GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, INT count);
Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
Status GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle);
Status GdipDrawPieI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                    REAL sweepAngle);
Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count);
Status GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension);
Status GdipDrawClosedCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count);
Status GdipDrawClosedCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count,
                            REAL tension);
Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);

// Fills.
Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
Status GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, INT count);
Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
Status GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height,
                   REAL startAngle, REAL sweepAngle);
Status GdipFillPieI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height,
                    REAL startAngle, REAL sweepAngle);
Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                       GpFillMode fillMode);
Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                        GpFillMode fillMode);
Status GdipFillPolygon2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count);
Status GdipFillClosedCurve(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count);
Status GdipFillClosedCurve2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                            REAL tension, GpFillMode fillMode);
Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
Status GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region);

// Images.
Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
// Three points: where the image's top-left, top-right and bottom-left corners go.
Status GdipDrawImagePoints(GpGraphics* graphics, GpImage* image, const GpPointF* points, INT count);
Status GdipDrawImagePointRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL srcx, REAL srcy,
                              REAL srcwidth, REAL srcheight, GpUnit srcUnit);
// The source part (in srcUnit: pixels) drawn into the destination with the attributes (may be null).
// The callback is asked once before drawing; TRUE from it gives Aborted.
Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                             REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                             GpUnit srcUnit, const GpImageAttributes* attributes, DrawImageAbort callback,
                             void* callbackData);
Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                              INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                              const GpImageAttributes* attributes, DrawImageAbort callback,
                              void* callbackData);
Status GdipDrawImagePointsRect(GpGraphics* graphics, GpImage* image, const GpPointF* points, INT count,
                               REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                               const GpImageAttributes* attributes, DrawImageAbort callback,
                               void* callbackData);

// Text. length -1 takes the text up to its terminating zero. Width or height 0 in the layout
// rectangle leaves that direction unbounded.
Status GdipDrawString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                      const GpRectF* layoutRect, const GpStringFormat* format, const GpBrush* brush);
// The box the text takes when drawn in layoutRect, with the characters and lines that fit in it.
Status GdipMeasureString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                         const GpRectF* layoutRect, const GpStringFormat* format, GpRectF* boundingBox,
                         INT* codepointsFitted, INT* linesFilled);
