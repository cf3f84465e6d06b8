// The GDI+ object layer: start-up, the frame every wrapper shares, and the wrappers other than the
// drawing surface (AdvGDIPGraphics.cpp).
#include "render/AdvGDIP.h"

#include <new>

// ==== Colours and records ====

ARGB ColorToARGB(TColor color) {
    COLORREF rgb = ColorToRGB(color);
    return ComposeOpaqueARGB(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

ARGB ComposeARGB(Byte alpha, Byte red, Byte green, Byte blue) {
    return static_cast<ARGB>(alpha) << 24 | static_cast<ARGB>(red) << 16 | static_cast<ARGB>(green) << 8 |
           blue;
}

ARGB ComposeOpaqueARGB(Byte red, Byte green, Byte blue) {
    return ComposeARGB(255, red, green, blue);
}

Byte ARGBRed(ARGB color) {
    return static_cast<Byte>(color >> 16);
}

Byte ARGBGreen(ARGB color) {
    return static_cast<Byte>(color >> 8);
}

Byte ARGBBlue(ARGB color) {
    return static_cast<Byte>(color);
}

TGPPoint InitGPPoint(INT x, INT y) {
    return TGPPoint{x, y};
}

TGPRectF InitGPRectF(REAL x, REAL y, REAL width, REAL height) {
    return TGPRectF{x, y, width, height};
}

// ==== Start-up ====

namespace {

struct StartupState {
    GdiplusStartupInput input;
    GdiplusStartupOutput output;
    ULONG_PTR token = 0;
    bool started = false;
};

StartupState& Startup() {
    static StartupState state = [] {
        StartupState s;
        s.input.GdiplusVersion = 1;
        s.input.DebugEventCallback = nullptr;
        s.input.SuppressBackgroundThread = TRUE;
        s.input.SuppressExternalCodecs = FALSE;
        return s;
    }();
    return state;
}

TGPFontFamily* genericSansSerif = nullptr;
TGPFontFamily* genericSerif = nullptr;
TGPFontFamily* genericMonospace = nullptr;

// The unit's start-up and shut-down. We run on no system older than Vista, so the notification hook
// of the start-up output is never called.
struct UnitLifetime {
    UnitLifetime() { GdiplusUnitStartup(); }
    ~UnitLifetime() { GdiplusUnitShutdown(); }
} unitLifetime;

} // namespace

void GdiplusUnitStartup() {
    StartupState& state = Startup();
    if (state.started)
        return;
    state.output = GdiplusStartupOutput{};
    state.started = GdiplusStartup(&state.token, &state.input, &state.output) == Ok;
}

void GdiplusUnitShutdown() {
    StartupState& state = Startup();
    if (!state.started)
        return;
    TGPFontFamily::ReleaseGenericFamilies();
    GdiplusShutdown(state.token);
    state.started = false;
}

// ==== The frame ====

void* TGdiplusBase::operator new(std::size_t size) {
    void* memory = GdipAlloc(size);
    if (memory == nullptr) {
        // GDI+ is not running yet: a wrapper made before the unit start-up or after its shut-down.
        GdiplusUnitStartup();
        memory = GdipAlloc(size);
    }
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}

void TGdiplusBase::operator delete(void* memory) noexcept {
    GdipFree(memory);
}

// ==== Matrix ====

TGPMatrix::TGPMatrix() {
    lastResult = GdipCreateMatrix(&nativeMatrix);
}

TGPMatrix::TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
    lastResult = GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg) {
    lastResult = GdipCreateMatrix3(&rect, dstplg, &nativeMatrix);
}

TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg) {
    lastResult = GdipCreateMatrix3I(&rect, dstplg, &nativeMatrix);
}

TGPMatrix::TGPMatrix(GpMatrix* matrix) : nativeMatrix(matrix) {}

TGPMatrix::~TGPMatrix() {
    GdipDeleteMatrix(nativeMatrix);
}

Status TGPMatrix::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

TGPMatrix* TGPMatrix::Clone() {
    GpMatrix* clone = nullptr;
    RecordStatus(GdipCloneMatrix(nativeMatrix, &clone));
    if (lastResult != Ok) {
        GdipDeleteMatrix(clone);
        return nullptr;
    }
    return new TGPMatrix(clone);
}

Status TGPMatrix::GetElements(TMatrixArray& m) {
    return RecordStatus(GdipGetMatrixElements(nativeMatrix, m.data()));
}

Status TGPMatrix::SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
    return RecordStatus(GdipSetMatrixElements(nativeMatrix, m11, m12, m21, m22, dx, dy));
}

REAL TGPMatrix::OffsetX() {
    TMatrixArray m{};
    return GetElements(m) == Ok ? m[4] : 0.0f;
}

REAL TGPMatrix::OffsetY() {
    TMatrixArray m{};
    return GetElements(m) == Ok ? m[5] : 0.0f;
}

Status TGPMatrix::Reset() {
    return RecordStatus(GdipSetMatrixElements(nativeMatrix, 1, 0, 0, 1, 0, 0));
}

Status TGPMatrix::Multiply(TGPMatrix* matrix, MatrixOrder order) {
    return RecordStatus(GdipMultiplyMatrix(nativeMatrix, matrix ? matrix->nativeMatrix : nullptr, order));
}

Status TGPMatrix::Translate(REAL offsetX, REAL offsetY, MatrixOrder order) {
    return RecordStatus(GdipTranslateMatrix(nativeMatrix, offsetX, offsetY, order));
}

Status TGPMatrix::Scale(REAL scaleX, REAL scaleY, MatrixOrder order) {
    return RecordStatus(GdipScaleMatrix(nativeMatrix, scaleX, scaleY, order));
}

Status TGPMatrix::Rotate(REAL angle, MatrixOrder order) {
    return RecordStatus(GdipRotateMatrix(nativeMatrix, angle, order));
}

Status TGPMatrix::RotateAt(REAL angle, const TGPPointF& center, MatrixOrder order) {
    if (order == MatrixOrderAppend) {
        RecordStatus(GdipTranslateMatrix(nativeMatrix, -center.X, -center.Y, order));
        RecordStatus(GdipRotateMatrix(nativeMatrix, angle, order));
        return RecordStatus(GdipTranslateMatrix(nativeMatrix, center.X, center.Y, order));
    }
    RecordStatus(GdipTranslateMatrix(nativeMatrix, center.X, center.Y, order));
    RecordStatus(GdipRotateMatrix(nativeMatrix, angle, order));
    return RecordStatus(GdipTranslateMatrix(nativeMatrix, -center.X, -center.Y, order));
}

Status TGPMatrix::Shear(REAL shearX, REAL shearY, MatrixOrder order) {
    return RecordStatus(GdipShearMatrix(nativeMatrix, shearX, shearY, order));
}

Status TGPMatrix::Invert() {
    return RecordStatus(GdipInvertMatrix(nativeMatrix));
}

Status TGPMatrix::TransformPoints(TGPPointF* pts, INT count) {
    return RecordStatus(GdipTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformPoints(TGPPoint* pts, INT count) {
    return RecordStatus(GdipTransformMatrixPointsI(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPointF* pts, INT count) {
    return RecordStatus(GdipVectorTransformMatrixPoints(nativeMatrix, pts, count));
}

Status TGPMatrix::TransformVectors(TGPPoint* pts, INT count) {
    return RecordStatus(GdipVectorTransformMatrixPointsI(nativeMatrix, pts, count));
}

bool TGPMatrix::IsInvertible() {
    BOOL result = FALSE;
    RecordStatus(GdipIsMatrixInvertible(nativeMatrix, &result));
    return result != FALSE;
}

bool TGPMatrix::IsIdentity() {
    BOOL result = FALSE;
    RecordStatus(GdipIsMatrixIdentity(nativeMatrix, &result));
    return result != FALSE;
}

Status TGPMatrix::GetLastStatus() {
    Status status = lastResult;
    lastResult = Ok;
    return status;
}

// ==== String format ====

TGPStringFormat::TGPStringFormat(INT formatFlags, LANGID language) {
    lastError = GdipCreateStringFormat(formatFlags, language, &nativeFormat);
}

TGPStringFormat::TGPStringFormat(TGPStringFormat* format) {
    lastError = GdipCloneStringFormat(format ? format->nativeFormat : nullptr, &nativeFormat);
}

TGPStringFormat::TGPStringFormat(GpStringFormat* format, Status status)
    : nativeFormat(format), lastError(status) {}

TGPStringFormat::~TGPStringFormat() {
    GdipDeleteStringFormat(nativeFormat);
}

Status TGPStringFormat::RecordStatus(Status status) {
    if (status != Ok)
        lastError = status;
    return status;
}

Status TGPStringFormat::SetFormatFlags(INT flags) {
    return RecordStatus(GdipSetStringFormatFlags(nativeFormat, flags));
}

INT TGPStringFormat::GetFormatFlags() {
    INT flags = 0;
    RecordStatus(GdipGetStringFormatFlags(nativeFormat, &flags));
    return flags;
}

Status TGPStringFormat::SetAlignment(StringAlignment align) {
    return RecordStatus(GdipSetStringFormatAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetAlignment() {
    StringAlignment align = StringAlignmentNear;
    RecordStatus(GdipGetStringFormatAlign(nativeFormat, &align));
    return align;
}

Status TGPStringFormat::SetLineAlignment(StringAlignment align) {
    return RecordStatus(GdipSetStringFormatLineAlign(nativeFormat, align));
}

StringAlignment TGPStringFormat::GetLineAlignment() {
    StringAlignment align = StringAlignmentNear;
    RecordStatus(GdipGetStringFormatLineAlign(nativeFormat, &align));
    return align;
}

Status TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix) {
    return RecordStatus(GdipSetStringFormatHotkeyPrefix(nativeFormat, hotkeyPrefix));
}

HotkeyPrefix TGPStringFormat::GetHotkeyPrefix() {
    INT prefix = HotkeyPrefixNone;
    RecordStatus(GdipGetStringFormatHotkeyPrefix(nativeFormat, &prefix));
    return static_cast<HotkeyPrefix>(prefix);
}

Status TGPStringFormat::SetTrimming(StringTrimming trimming) {
    return RecordStatus(GdipSetStringFormatTrimming(nativeFormat, trimming));
}

StringTrimming TGPStringFormat::GetTrimming() {
    StringTrimming trimming = StringTrimmingNone;
    RecordStatus(GdipGetStringFormatTrimming(nativeFormat, &trimming));
    return trimming;
}

// ==== Pen ====

TGPPen::TGPPen(ARGB color, REAL width) {
    lastResult = GdipCreatePen1(color, width, UnitWorld, &nativePen);
}

TGPPen::TGPPen(TGPBrush* brush, REAL width) {
    lastResult = GdipCreatePen2(brush ? brush->nativeBrush : nullptr, width, UnitWorld, &nativePen);
}

TGPPen::~TGPPen() {
    GdipDeletePen(nativePen);
}

Status TGPPen::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

Status TGPPen::SetBrush(TGPBrush* brush) {
    return RecordStatus(GdipSetPenBrushFill(nativePen, brush ? brush->nativeBrush : nullptr));
}

TGPBrush* TGPPen::GetBrush() {
    TGPBrush* brush = nullptr;
    switch (GetPenType()) {
    case PenTypeSolidColor:
        brush = new TGPSolidBrush();
        break;
    case PenTypeHatchFill:
        brush = new TGPHatchBrush();
        break;
    case PenTypeTextureFill:
        brush = new TGPTextureBrush();
        break;
    case PenTypePathGradient:
        brush = new TGPBrush();
        break;
    case PenTypeLinearGradient:
        brush = new TGPLinearGradientBrush();
        break;
    default:
        return nullptr;
    }
    GpBrush* native = nullptr;
    RecordStatus(GdipGetPenBrushFill(nativePen, &native));
    brush->nativeBrush = native;
    return brush;
}

PenType TGPPen::GetPenType() {
    PenType type = PenTypeUnknown;
    RecordStatus(GdipGetPenFillType(nativePen, &type));
    return type;
}

DashStyle TGPPen::GetDashStyle() {
    DashStyle style = DashStyleSolid;
    RecordStatus(GdipGetPenDashStyle(nativePen, &style));
    return style;
}

Status TGPPen::SetDashStyle(DashStyle dashStyle) {
    return RecordStatus(GdipSetPenDashStyle(nativePen, dashStyle));
}

Status TGPPen::SetEndCap(LineCap endCap) {
    return RecordStatus(GdipSetPenEndCap(nativePen, endCap));
}

// ==== Brushes ====

TGPBrush::TGPBrush() : lastResult(NotImplemented) {}

TGPBrush::TGPBrush(GpBrush* brush, Status status) : nativeBrush(brush), lastResult(status) {}

TGPBrush::~TGPBrush() {
    GdipDeleteBrush(nativeBrush);
}

Status TGPBrush::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

TGPBrush* TGPBrush::Clone() {
    GpBrush* clone = nullptr;
    Status status = RecordStatus(GdipCloneBrush(nativeBrush, &clone));
    return new TGPBrush(clone, status);
}

BrushType TGPBrush::GetType() {
    BrushType type = static_cast<BrushType>(-1);
    RecordStatus(GdipGetBrushType(nativeBrush, &type));
    return type;
}

TGPSolidBrush::TGPSolidBrush(ARGB color) : TGPBrush(Empty{}) {
    GpSolidFill* brush = nullptr;
    lastResult = GdipCreateSolidFill(color, &brush);
    nativeBrush = brush;
}

Status TGPSolidBrush::GetColor(ARGB& color) {
    return RecordStatus(GdipGetSolidFillColor(static_cast<GpSolidFill*>(nativeBrush), &color));
}

Status TGPSolidBrush::SetColor(ARGB color) {
    return RecordStatus(GdipSetSolidFillColor(static_cast<GpSolidFill*>(nativeBrush), color));
}

TGPHatchBrush::TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor) : TGPBrush(Empty{}) {
    GpHatch* brush = nullptr;
    lastResult = GdipCreateHatchBrush(hatchStyle, foreColor, backColor, &brush);
    nativeBrush = brush;
}

HatchStyle TGPHatchBrush::GetHatchStyle() {
    HatchStyle style = HatchStyleHorizontal;
    RecordStatus(GdipGetHatchStyle(static_cast<GpHatch*>(nativeBrush), &style));
    return style;
}

Status TGPHatchBrush::GetForegroundColor(ARGB& color) {
    return RecordStatus(GdipGetHatchForegroundColor(static_cast<GpHatch*>(nativeBrush), &color));
}

Status TGPHatchBrush::GetBackgroundColor(ARGB& color) {
    return RecordStatus(GdipGetHatchBackgroundColor(static_cast<GpHatch*>(nativeBrush), &color));
}

namespace {
GpImage* NativeOf(TGPImage* image) {
    return image ? image->Native() : nullptr;
}
GpImageAttributes* NativeOf(TGPImageAttributes* attributes) {
    return attributes ? attributes->Native() : nullptr;
}
} // namespace

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode) : TGPBrush(Empty{}) {
    GpTexture* brush = nullptr;
    lastResult = GdipCreateTexture(NativeOf(image), wrapMode, &brush);
    nativeBrush = brush;
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect,
                                 TGPImageAttributes* imageAttributes)
    : TGPBrush(Empty{}) {
    GpTexture* brush = nullptr;
    lastResult = GdipCreateTextureIA(NativeOf(image), NativeOf(imageAttributes), dstRect.X, dstRect.Y,
                                     dstRect.Width, dstRect.Height, &brush);
    nativeBrush = brush;
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, TGPImageAttributes* imageAttributes)
    : TGPBrush(Empty{}) {
    GpTexture* brush = nullptr;
    lastResult = GdipCreateTextureIAI(NativeOf(image), NativeOf(imageAttributes), dstRect.X, dstRect.Y,
                                      dstRect.Width, dstRect.Height, &brush);
    nativeBrush = brush;
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height) {}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, REAL dstX, REAL dstY, REAL dstWidth,
                                 REAL dstHeight)
    : TGPBrush(Empty{}) {
    GpTexture* brush = nullptr;
    lastResult = GdipCreateTexture2(NativeOf(image), wrapMode, dstX, dstY, dstWidth, dstHeight, &brush);
    nativeBrush = brush;
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, INT dstX, INT dstY, INT dstWidth,
                                 INT dstHeight)
    : TGPBrush(Empty{}) {
    GpTexture* brush = nullptr;
    lastResult = GdipCreateTexture2I(NativeOf(image), wrapMode, dstX, dstY, dstWidth, dstHeight, &brush);
    nativeBrush = brush;
}

Status TGPTextureBrush::ResetTransform() {
    return RecordStatus(GdipResetTextureTransform(static_cast<GpTexture*>(nativeBrush)));
}

Status TGPTextureBrush::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) {
    return RecordStatus(GdipTranslateTextureTransform(static_cast<GpTexture*>(nativeBrush), dx, dy, order));
}

Status TGPTextureBrush::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) {
    return RecordStatus(GdipScaleTextureTransform(static_cast<GpTexture*>(nativeBrush), sx, sy, order));
}

Status TGPTextureBrush::RotateTransform(REAL angle, MatrixOrder order) {
    return RecordStatus(GdipRotateTextureTransform(static_cast<GpTexture*>(nativeBrush), angle, order));
}

Status TGPTextureBrush::SetWrapMode(WrapMode wrapMode) {
    return RecordStatus(GdipSetTextureWrapMode(static_cast<GpTexture*>(nativeBrush), wrapMode));
}

WrapMode TGPTextureBrush::GetWrapMode() {
    WrapMode mode = WrapModeTile;
    RecordStatus(GdipGetTextureWrapMode(static_cast<GpTexture*>(nativeBrush), &mode));
    return mode;
}

TGPImage* TGPTextureBrush::GetImage() {
    GpImage* image = nullptr;
    RecordStatus(GdipGetTextureImage(static_cast<GpTexture*>(nativeBrush), &image));
    return new TGPImage(image, lastResult);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(Empty{}) {
    GpLineGradient* brush = nullptr;
    lastResult = GdipCreateLineBrush(&point1, &point2, color1, color2, WrapModeTile, &brush);
    nativeBrush = brush;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1,
                                               ARGB color2)
    : TGPBrush(Empty{}) {
    GpLineGradient* brush = nullptr;
    lastResult = GdipCreateLineBrushI(&point1, &point2, color1, color2, WrapModeTile, &brush);
    nativeBrush = brush;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(Empty{}) {
    GpLineGradient* brush = nullptr;
    lastResult = GdipCreateLineBrushFromRect(&rect, color1, color2, mode, WrapModeTile, &brush);
    nativeBrush = brush;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
    : TGPBrush(Empty{}) {
    GpLineGradient* brush = nullptr;
    lastResult = GdipCreateLineBrushFromRectI(&rect, color1, color2, mode, WrapModeTile, &brush);
    nativeBrush = brush;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, REAL angle,
                                               bool isAngleScalable)
    : TGPBrush(Empty{}) {
    GpLineGradient* brush = nullptr;
    lastResult = GdipCreateLineBrushFromRectWithAngle(&rect, color1, color2, angle, isAngleScalable,
                                                      WrapModeTile, &brush);
    nativeBrush = brush;
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, REAL angle,
                                               bool isAngleScalable)
    : TGPBrush(Empty{}) {
    GpLineGradient* brush = nullptr;
    lastResult = GdipCreateLineBrushFromRectWithAngleI(&rect, color1, color2, angle, isAngleScalable,
                                                       WrapModeTile, &brush);
    nativeBrush = brush;
}

Status TGPLinearGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
    return RecordStatus(
        GdipSetLineGammaCorrection(static_cast<GpLineGradient*>(nativeBrush), useGammaCorrection));
}

Status TGPLinearGradientBrush::SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions,
                                                      INT count) {
    if (count <= 0)
        return RecordStatus(InvalidParameter);
    return RecordStatus(GdipSetLinePresetBlend(static_cast<GpLineGradient*>(nativeBrush), presetColors,
                                               blendPositions, count));
}

TGPPathGradientBrush::TGPPathGradientBrush(TGPGraphicsPath* path) : TGPBrush(Empty{}) {
    GpPathGradient* brush = nullptr;
    lastResult = GdipCreatePathGradientFromPath(path ? path->Native() : nullptr, &brush);
    nativeBrush = brush;
}

Status TGPPathGradientBrush::GetCenterColor(ARGB& color) {
    RecordStatus(GdipGetPathGradientCenterColor(Gradient(), &color));
    return lastResult;
}

Status TGPPathGradientBrush::SetCenterColor(ARGB color) {
    RecordStatus(GdipSetPathGradientCenterColor(Gradient(), color));
    return lastResult;
}

INT TGPPathGradientBrush::GetPointCount() {
    INT count = 0;
    RecordStatus(GdipGetPathGradientPointCount(Gradient(), &count));
    return count;
}

INT TGPPathGradientBrush::GetSurroundColorCount() {
    INT count = 0;
    RecordStatus(GdipGetPathGradientSurroundColorCount(Gradient(), &count));
    return count;
}

Status TGPPathGradientBrush::GetSurroundColors(ARGB* colors, INT& count) {
    if (colors == nullptr)
        return RecordStatus(InvalidParameter);
    INT needed = 0;
    Status status = RecordStatus(GdipGetPathGradientSurroundColorCount(Gradient(), &needed));
    if (status != Ok)
        return status;
    if (count < needed || needed <= 0)
        return RecordStatus(InsufficientBuffer);
    INT read = needed;
    status = RecordStatus(GdipGetPathGradientSurroundColorsWithCount(Gradient(), colors, &read));
    if (status == Ok)
        count = read;
    return status;
}

Status TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, INT& count) {
    if (colors == nullptr || count <= 0 || GetPointCount() < count)
        return RecordStatus(InvalidParameter);
    INT used = count;
    Status status = RecordStatus(GdipSetPathGradientSurroundColorsWithCount(Gradient(), colors, &used));
    if (status == Ok)
        count = used;
    return status;
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPointF& point) {
    return RecordStatus(GdipGetPathGradientCenterPoint(Gradient(), &point));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPoint& point) {
    return RecordStatus(GdipGetPathGradientCenterPointI(Gradient(), &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point) {
    return RecordStatus(GdipSetPathGradientCenterPoint(Gradient(), &point));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point) {
    return RecordStatus(GdipSetPathGradientCenterPointI(Gradient(), &point));
}

Status TGPPathGradientBrush::SetWrapMode(WrapMode wrapMode) {
    return RecordStatus(GdipSetPathGradientWrapMode(Gradient(), wrapMode));
}

Status TGPPathGradientBrush::SetGammaCorrection(bool useGammaCorrection) {
    return RecordStatus(GdipSetPathGradientGammaCorrection(Gradient(), useGammaCorrection));
}

Status TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions,
                                                    INT count) {
    if (count <= 0 || presetColors == nullptr)
        return RecordStatus(InvalidParameter);
    return RecordStatus(GdipSetPathGradientPresetBlend(Gradient(), presetColors, blendPositions, count));
}

// ==== Fonts ====

TGPFontFamily::TGPFontFamily(GpFontFamily* family, Status status)
    : nativeFamily(family), lastResult(status) {}

TGPFontFamily::TGPFontFamily(const String& name, TGPFontCollection* fontCollection) {
    lastResult = GdipCreateFontFamilyFromName(
        name.c_str(), fontCollection ? fontCollection->Native() : nullptr, &nativeFamily);
}

TGPFontFamily::~TGPFontFamily() {
    GdipDeleteFontFamily(nativeFamily);
}

namespace {
TGPFontFamily* Generic(TGPFontFamily*& shared, Status (*get)(GpFontFamily**)) {
    if (shared == nullptr) {
        GpFontFamily* family = nullptr;
        Status status = get(&family);
        shared = new TGPFontFamily(family, status);
    }
    return shared;
}
} // namespace

TGPFontFamily* TGPFontFamily::GenericSansSerif() {
    return Generic(genericSansSerif, GdipGetGenericFontFamilySansSerif);
}

TGPFontFamily* TGPFontFamily::GenericSerif() {
    return Generic(genericSerif, GdipGetGenericFontFamilySerif);
}

TGPFontFamily* TGPFontFamily::GenericMonospace() {
    return Generic(genericMonospace, GdipGetGenericFontFamilyMonospace);
}

void TGPFontFamily::ReleaseGenericFamilies() {
    for (TGPFontFamily** family : {&genericSansSerif, &genericSerif, &genericMonospace}) {
        delete *family;
        *family = nullptr;
    }
}

String TGPFontFamily::GetFamilyName(LANGID language) {
    WCHAR name[LF_FACESIZE] = {};
    if (GdipGetFamilyName(nativeFamily, name, language) != Ok)
        return String();
    return String(name);
}

TGPFont::TGPFont(GpFont* font, Status status) : nativeFont(font), lastResult(status) {}

TGPFont::TGPFont(TGPFontFamily* family, REAL emSize, INT style, Unit unit) {
    lastResult = GdipCreateFont(family ? family->Native() : nullptr, emSize, style, unit, &nativeFont);
}

TGPFont::TGPFont(const String& familyName, REAL emSize, INT style, Unit unit,
                 TGPFontCollection* fontCollection) {
    TGPFontFamily* family = new TGPFontFamily(familyName, fontCollection);
    if (GdipCreateFont(family->Native(), emSize, style, unit, &nativeFont) != Ok)
        lastResult =
            GdipCreateFont(TGPFontFamily::GenericSansSerif()->Native(), emSize, style, unit, &nativeFont);
    delete family;
}

TGPFont::~TGPFont() {
    GdipDeleteFont(nativeFont);
}

REAL TGPFont::GetSize() {
    REAL size = 0;
    Status status = GdipGetFontSize(nativeFont, &size);
    if (status != Ok)
        lastResult = status;
    return size;
}

INT TGPFont::GetStyle() {
    INT style = 0;
    Status status = GdipGetFontStyle(nativeFont, &style);
    if (status != Ok)
        lastResult = status;
    return style;
}

String TGPFont::GetFamilyName() {
    GpFontFamily* family = nullptr;
    if (GdipGetFamily(nativeFont, &family) != Ok)
        return String();
    WCHAR name[LF_FACESIZE] = {};
    Status status = GdipGetFamilyName(family, name, 0);
    GdipDeleteFontFamily(family);
    return status == Ok ? String(name) : String();
}

// ==== Path ====

TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode) {
    lastResult = GdipCreatePath(fillMode, &nativePath);
}

TGPGraphicsPath::TGPGraphicsPath(const TGPPointF* points, const BYTE* types, INT count, FillMode fillMode) {
    lastResult = GdipCreatePath2(points, types, count, fillMode, &nativePath);
}

TGPGraphicsPath::TGPGraphicsPath(GpPath* path) : nativePath(path) {}

TGPGraphicsPath::~TGPGraphicsPath() {
    GdipDeletePath(nativePath);
}

Status TGPGraphicsPath::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

Status TGPGraphicsPath::CloseFigure() {
    return RecordStatus(GdipClosePathFigure(nativePath));
}

Status TGPGraphicsPath::Reset() {
    return RecordStatus(GdipResetPath(nativePath));
}

INT TGPGraphicsPath::GetPointCount() {
    INT count = 0;
    RecordStatus(GdipGetPointCount(nativePath, &count));
    return count;
}

Status TGPGraphicsPath::GetPathPoints(TGPPointF* points, INT count) {
    return RecordStatus(GdipGetPathPoints(nativePath, points, count));
}

Status TGPGraphicsPath::GetPathTypes(BYTE* types, INT count) {
    return RecordStatus(GdipGetPathTypes(nativePath, types, count));
}

Status TGPGraphicsPath::GetBounds(TGPRectF& bounds, const TGPMatrix* matrix, const TGPPen* pen) {
    return RecordStatus(GdipGetPathWorldBounds(nativePath, &bounds, matrix ? matrix->Native() : nullptr,
                                               pen ? pen->Native() : nullptr));
}

bool TGPGraphicsPath::IsVisible(REAL x, REAL y) {
    BOOL result = FALSE;
    RecordStatus(GdipIsVisiblePathPoint(nativePath, x, y, nullptr, &result));
    return result != FALSE;
}

Status TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) {
    return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y);
}

Status TGPGraphicsPath::AddLine(REAL x1, REAL y1, REAL x2, REAL y2) {
    return RecordStatus(GdipAddPathLine(nativePath, x1, y1, x2, y2));
}

Status TGPGraphicsPath::AddLines(const TGPPoint* points, INT count) {
    return RecordStatus(GdipAddPathLine2I(nativePath, points, count));
}

Status TGPGraphicsPath::AddRectangle(const TGPRectF& rect) {
    return RecordStatus(GdipAddPathRectangle(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status TGPGraphicsPath::AddRectangle(const TGPRect& rect) {
    return RecordStatus(GdipAddPathRectangleI(nativePath, rect.X, rect.Y, rect.Width, rect.Height));
}

Status TGPGraphicsPath::AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    return RecordStatus(GdipAddPathArc(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddArc(const TGPRectF& rect, REAL startAngle, REAL sweepAngle) {
    return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddEllipse(REAL x, REAL y, REAL width, REAL height) {
    return RecordStatus(GdipAddPathEllipse(nativePath, x, y, width, height));
}

Status TGPGraphicsPath::AddEllipse(const TGPRectF& rect) {
    return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphicsPath::AddPie(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    return RecordStatus(GdipAddPathPie(nativePath, x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphicsPath::AddPie(const TGPRectF& rect, REAL startAngle, REAL sweepAngle) {
    return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddPolygon(const TGPPointF* points, INT count) {
    return RecordStatus(GdipAddPathPolygon(nativePath, points, count));
}

Status TGPGraphicsPath::AddPolygon(const TGPPoint* points, INT count) {
    return RecordStatus(GdipAddPathPolygonI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPointF* points, INT count) {
    return RecordStatus(GdipAddPathCurve(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, INT count) {
    return RecordStatus(GdipAddPathCurveI(nativePath, points, count));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, INT count, REAL tension) {
    return RecordStatus(GdipAddPathCurve2I(nativePath, points, count, tension));
}

Status TGPGraphicsPath::AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                                  const TGPPointF& pt4) {
    return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphicsPath::AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3,
                                  const TGPPoint& pt4) {
    auto f = [](INT v) { return static_cast<REAL>(v); };
    return AddBezier(f(pt1.X), f(pt1.Y), f(pt2.X), f(pt2.Y), f(pt3.X), f(pt3.Y), f(pt4.X), f(pt4.Y));
}

Status TGPGraphicsPath::AddBezier(REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4) {
    return RecordStatus(GdipAddPathBezier(nativePath, x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphicsPath::AddString(const String& string_, INT length, const TGPFontFamily* family, INT style,
                                  REAL emSize, const TGPRectF& layoutRect, const TGPStringFormat* format) {
    return RecordStatus(GdipAddPathString(nativePath, string_.c_str(), length,
                                          family ? family->Native() : nullptr, style, emSize, &layoutRect,
                                          format ? format->Native() : nullptr));
}

Status TGPGraphicsPath::AddString(const String& string_, INT length, const TGPFontFamily* family, INT style,
                                  REAL emSize, const TGPPointF& origin, const TGPStringFormat* format) {
    TGPRectF rect{origin.X, origin.Y, 0, 0};
    return AddString(string_, length, family, style, emSize, rect, format);
}

// ==== Region ====

TGPRegion::TGPRegion(const TGPRectF& rect) {
    lastResult = GdipCreateRegionRect(&rect, &nativeRegion);
}

TGPRegion::TGPRegion(TGPGraphicsPath* path) {
    lastResult = GdipCreateRegionPath(path ? path->Native() : nullptr, &nativeRegion);
}

TGPRegion::~TGPRegion() {
    GdipDeleteRegion(nativeRegion);
}

Status TGPRegion::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

Status TGPRegion::Exclude(TGPGraphicsPath* path) {
    return RecordStatus(
        GdipCombineRegionPath(nativeRegion, path ? path->Native() : nullptr, CombineModeExclude));
}

Status TGPRegion::Union(TGPRegion* region) {
    return RecordStatus(
        GdipCombineRegionRegion(nativeRegion, region ? region->nativeRegion : nullptr, CombineModeUnion));
}

bool TGPRegion::IsVisible(REAL x, REAL y) {
    BOOL result = FALSE;
    RecordStatus(GdipIsVisibleRegionPoint(nativeRegion, x, y, nullptr, &result));
    return result != FALSE;
}

Status TGPRegion::GetBounds(TGPRectF& rect) {
    return RecordStatus(GdipGetRegionBounds(nativeRegion, nullptr, &rect));
}
