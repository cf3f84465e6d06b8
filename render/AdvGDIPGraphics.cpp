// The GDI+ drawing surface: forwarding to the flat API, and the bridge from the framework's fonts and
// rectangles (MakeFont, TextWidth, TextHeight, DrawText).
#include "render/AdvGDIP.h"

#include <cmath>
#include <memory>

#include "platform/win32/windraw.h"

namespace {

// Halves go to the even neighbour, as everywhere in the system.
LONG RoundEven(double value) {
    return static_cast<LONG>(std::nearbyint(value));
}

// The flat API's object behind a wrapper; none for no wrapper.
template <class Wrapper> auto NativeOf(const Wrapper* object) -> decltype(object->Native()) {
    return object ? object->Native() : nullptr;
}

} // namespace

TGPGraphics::TGPGraphics(HDC hdc) {
    lastResult = GdipCreateFromHDC(hdc, &nativeGraphics);
}

TGPGraphics::TGPGraphics(TGPImage* image) {
    if (image != nullptr)
        lastResult = GdipGetImageGraphicsContext(image->Native(), &nativeGraphics);
}

TGPGraphics::~TGPGraphics() {
    GdipDeleteGraphics(nativeGraphics);
}

TGPGraphics* TGPGraphics::FromImage(TGPImage* image) {
    return new TGPGraphics(image);
}

Status TGPGraphics::RecordStatus(Status status) {
    if (status != Ok)
        lastResult = status;
    return status;
}

void TGPGraphics::Flush(FlushIntention intention) {
    GdipFlush(nativeGraphics, intention);
}

Status TGPGraphics::Clear(ARGB color) {
    return RecordStatus(GdipGraphicsClear(nativeGraphics, color));
}

Status TGPGraphics::SetTransform(const TGPMatrix* matrix) {
    return RecordStatus(GdipSetWorldTransform(nativeGraphics, NativeOf(matrix)));
}

Status TGPGraphics::ResetTransform() {
    return RecordStatus(GdipResetWorldTransform(nativeGraphics));
}

Status TGPGraphics::MultiplyTransform(const TGPMatrix* matrix, MatrixOrder order) {
    return RecordStatus(GdipMultiplyWorldTransform(nativeGraphics, NativeOf(matrix), order));
}

Status TGPGraphics::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) {
    return RecordStatus(GdipTranslateWorldTransform(nativeGraphics, dx, dy, order));
}

Status TGPGraphics::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) {
    return RecordStatus(GdipScaleWorldTransform(nativeGraphics, sx, sy, order));
}

Status TGPGraphics::RotateTransform(REAL angle, MatrixOrder order) {
    return RecordStatus(GdipRotateWorldTransform(nativeGraphics, angle, order));
}

HDC TGPGraphics::GetHDC() {
    HDC dc = nullptr;
    RecordStatus(GdipGetDC(nativeGraphics, &dc));
    return dc;
}

void TGPGraphics::ReleaseHDC(HDC hdc) {
    RecordStatus(GdipReleaseDC(nativeGraphics, hdc));
}

Status TGPGraphics::SetCompositingQuality(INT compositingQuality) {
    return RecordStatus(
        GdipSetCompositingQuality(nativeGraphics, static_cast<CompositingQuality>(compositingQuality)));
}

INT TGPGraphics::GetCompositingQuality() {
    CompositingQuality quality = CompositingQualityInvalid;
    RecordStatus(GdipGetCompositingQuality(nativeGraphics, &quality));
    return quality;
}

Status TGPGraphics::SetTextRenderingHint(TextRenderingHint newMode) {
    return RecordStatus(GdipSetTextRenderingHint(nativeGraphics, newMode));
}

TextRenderingHint TGPGraphics::GetTextRenderingHint() {
    TextRenderingHint hint = TextRenderingHintSystemDefault;
    RecordStatus(GdipGetTextRenderingHint(nativeGraphics, &hint));
    return hint;
}

Status TGPGraphics::SetSmoothingMode(INT smoothingMode) {
    return RecordStatus(GdipSetSmoothingMode(nativeGraphics, static_cast<SmoothingMode>(smoothingMode)));
}

INT TGPGraphics::GetSmoothingMode() {
    SmoothingMode mode = SmoothingModeInvalid;
    if (RecordStatus(GdipGetSmoothingMode(nativeGraphics, &mode)) != Ok)
        return -1;
    return mode;
}

Status TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path) {
    return RecordStatus(GdipDrawPath(nativeGraphics, NativeOf(pen), NativeOf(path)));
}

Status TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path) {
    return RecordStatus(GdipFillPath(nativeGraphics, NativeOf(brush), NativeOf(path)));
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRectF& rect) {
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return RecordStatus(GdipFillRectangle(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& rect) {
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return RecordStatus(GdipDrawRectangle(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status TGPGraphics::DrawLine(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
    return RecordStatus(GdipDrawLine(nativeGraphics, NativeOf(pen), x1, y1, x2, y2));
}

Status TGPGraphics::DrawArc(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                            REAL sweepAngle) {
    return RecordStatus(
        GdipDrawArc(nativeGraphics, NativeOf(pen), x, y, width, height, startAngle, sweepAngle));
}

Status TGPGraphics::DrawArc(const TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle) {
    return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphics::DrawBezier(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                               REAL x4, REAL y4) {
    return RecordStatus(GdipDrawBezier(nativeGraphics, NativeOf(pen), x1, y1, x2, y2, x3, y3, x4, y4));
}

Status TGPGraphics::DrawBezier(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2,
                               const TGPPointF& pt3, const TGPPointF& pt4) {
    return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphics::DrawBeziers(const TGPPen* pen, const TGPPointF* points, INT count) {
    return RecordStatus(GdipDrawBeziers(nativeGraphics, NativeOf(pen), points, count));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& rect) {
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return RecordStatus(GdipDrawEllipse(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRect& rect) {
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, INT x, INT y, INT width, INT height) {
    return RecordStatus(GdipDrawEllipseI(nativeGraphics, NativeOf(pen), x, y, width, height));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& rect) {
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return RecordStatus(GdipFillEllipse(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRect& rect) {
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, INT x, INT y, INT width, INT height) {
    return RecordStatus(GdipFillEllipseI(nativeGraphics, NativeOf(brush), x, y, width, height));
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, INT count,
                                FillMode fillMode) {
    return RecordStatus(GdipFillPolygon(nativeGraphics, NativeOf(brush), points, count, fillMode));
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPoint* points, INT count, FillMode fillMode) {
    return RecordStatus(GdipFillPolygonI(nativeGraphics, NativeOf(brush), points, count, fillMode));
}

Status TGPGraphics::DrawImage(TGPImage* image, INT x, INT y) {
    return RecordStatus(GdipDrawImageI(nativeGraphics, NativeOf(image), x, y));
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& rect) {
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawImage(TGPImage* image, REAL x, REAL y, REAL width, REAL height) {
    return RecordStatus(GdipDrawImageRect(nativeGraphics, NativeOf(image), x, y, width, height));
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& destRect, REAL srcx, REAL srcy, REAL srcwidth,
                              REAL srcheight, Unit srcUnit, const TGPImageAttributes* imageAttributes,
                              ImageAbort callback, void* callbackData) {
    return RecordStatus(
        GdipDrawImageRectRect(nativeGraphics, NativeOf(image), destRect.X, destRect.Y, destRect.Width,
                              destRect.Height, srcx, srcy, srcwidth, srcheight, srcUnit,
                              imageAttributes ? imageAttributes->Native() : nullptr, callback, callbackData));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, INT x, INT y, INT w, INT h) {
    return RecordStatus(GdipDrawImageRect(nativeGraphics, NativeOf(image), static_cast<REAL>(x),
                                          static_cast<REAL>(y), static_cast<REAL>(w), static_cast<REAL>(h)));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, const TGPRectF& rect) {
    return DrawImageRect(image, RoundEven(rect.X), RoundEven(rect.Y), RoundEven(rect.Width),
                         RoundEven(rect.Height));
}

Status TGPGraphics::MeasureString(const String& string_, INT length, const TGPFont* font,
                                  const TGPRectF& layoutRect, const TGPStringFormat* stringFormat,
                                  TGPRectF& boundingBox, INT* codepointsFitted, INT* linesFilled) {
    return RecordStatus(GdipMeasureString(nativeGraphics, string_.c_str(), length, NativeOf(font),
                                          &layoutRect, NativeOf(stringFormat), &boundingBox, codepointsFitted,
                                          linesFilled));
}

Status TGPGraphics::MeasureString(const String& string_, INT length, const TGPFont* font,
                                  const TGPPointF& origin, const TGPStringFormat* stringFormat,
                                  TGPRectF& boundingBox) {
    TGPRectF rect{origin.X, origin.Y, 0, 0};
    return MeasureString(string_, length, font, rect, stringFormat, boundingBox);
}

Status TGPGraphics::MeasureString(const String& string_, INT length, const TGPFont* font,
                                  const TGPRectF& layoutRect, TGPRectF& boundingBox) {
    return MeasureString(string_, length, font, layoutRect, nullptr, boundingBox);
}

Status TGPGraphics::DrawString(const String& string_, INT, const TGPFont* font, const TGPRectF& layoutRect,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush) {
    // The whole text goes to GDI+ from a zero-ended copy, whatever length the caller gave.
    String text = string_;
    return RecordStatus(GdipDrawString(nativeGraphics, text.c_str(), static_cast<INT>(text.size()),
                                       NativeOf(font), &layoutRect, NativeOf(stringFormat), NativeOf(brush)));
}

Status TGPGraphics::DrawString(const String& string_, INT length, const TGPFont* font,
                               const TGPPointF& origin, const TGPBrush* brush) {
    return DrawString(string_, length, font, origin, nullptr, brush);
}

Status TGPGraphics::DrawString(const String& string_, INT length, const TGPFont* font,
                               const TGPPointF& origin, const TGPStringFormat* stringFormat,
                               const TGPBrush* brush) {
    TGPRectF rect{origin.X, origin.Y, 0, 0};
    return DrawString(string_, length, font, rect, stringFormat, brush);
}

Status TGPGraphics::ExcludeClip(const TGPRectF& rect) {
    return RecordStatus(
        GdipSetClipRect(nativeGraphics, rect.X, rect.Y, rect.Width, rect.Height, CombineModeExclude));
}

Status TGPGraphics::ExcludeClip(const TGPRegion* region) {
    return RecordStatus(GdipSetClipRegion(nativeGraphics, NativeOf(region), CombineModeExclude));
}

Status TGPGraphics::SetClip(const TGPRegion* region, CombineMode combineMode) {
    return RecordStatus(GdipSetClipRegion(nativeGraphics, NativeOf(region), combineMode));
}

Status TGPGraphics::SetClip(const TGPGraphicsPath* path, CombineMode combineMode) {
    return RecordStatus(GdipSetClipPath(nativeGraphics, NativeOf(path), combineMode));
}

Status TGPGraphics::ResetClip() {
    return RecordStatus(GdipResetClip(nativeGraphics));
}

Status TGPGraphics::GetLastStatus() {
    Status status = lastResult;
    lastResult = Ok;
    return status;
}

// ==== Framework fonts and text ====

TGPFont* TGPGraphics::MakeFont(TFont* AFont) {
    auto family = std::make_unique<TGPFontFamily>(AFont->Name());
    if (family->LastResult() == FontFamilyNotFound || family->LastResult() == FontStyleNotFound)
        family = std::make_unique<TGPFontFamily>(u"Arial");
    INT style = FontStyleRegular;
    TFontStyles styles = AFont->Style();
    if (styles.Contains(fsBold))
        style |= FontStyleBold;
    if (styles.Contains(fsItalic))
        style |= FontStyleItalic;
    if (styles.Contains(fsUnderline))
        style |= FontStyleUnderline;
    if (styles.Contains(fsStrikeOut))
        style |= FontStyleStrikeout;
    return new TGPFont(family.get(), static_cast<REAL>(AFont->Size()), style, UnitPoint);
}

Integer TGPGraphics::TextWidth(const String& string_, TFont* font) {
    std::unique_ptr<TGPFont> gpFont(MakeFont(font));
    TGPRectF box{};
    MeasureString(string_, static_cast<INT>(string_.size()), gpFont.get(), TGPRectF{0, 0, 10000, 10000}, box);
    return RoundEven(box.Width);
}

Integer TGPGraphics::TextHeight(const String& string_, TFont* font) {
    std::unique_ptr<TGPFont> gpFont(MakeFont(font));
    TGPRectF box{};
    MeasureString(string_, static_cast<INT>(string_.size()), gpFont.get(), TGPRectF{0, 0, 10000, 10000}, box);
    return RoundEven(box.Height);
}

Integer TGPGraphics::DrawText(const String& string_, INT len, TRect& rect, TFont* font, UINT style,
                              TColor bkColor) {
    std::unique_ptr<TGPFont> gpFont(MakeFont(font));
    bool calcOnly = (style & DT_CALCRECT) != 0;
    if (calcOnly || bkColor != clNone) {
        // What the measured box overhangs the drawn glyphs by grows with the font.
        Integer size = font->Size();
        LONG allowance = size >= 9 ? 2 + RoundEven((size - 8) / 1.5) : 2;
        // A trailing space would not be measured: a stand-in letter of about its width takes its place.
        String measured = string_;
        if (measured.size() > 1 && measured.back() == u' ')
            measured.back() = u'i';
        // Never measure past the text itself.
        INT count =
            len < 0 || len > static_cast<INT>(measured.size()) ? static_cast<INT>(measured.size()) : len;
        TGPRectF layout{static_cast<REAL>(rect.Left), static_cast<REAL>(rect.Top),
                        static_cast<REAL>(rect.Right - rect.Left + 1000),
                        static_cast<REAL>(rect.Bottom - rect.Top)};
        TGPRectF box{};
        MeasureString(measured, count, gpFont.get(), layout, box);
        rect.Right = rect.Left + RoundEven(box.Width - allowance);
        rect.Bottom = rect.Top + RoundEven(box.Height);
        if (bkColor != clNone) {
            TGPSolidBrush background(ColorToARGB(bkColor));
            FillRectangle(&background, static_cast<REAL>(rect.Left + 1), static_cast<REAL>(rect.Top),
                          box.Width - allowance + 1, box.Height);
        }
    }
    if (!calcOnly) {
        TGPSolidBrush textBrush(ColorToARGB(font->Color()));
        DrawString(string_, len, gpFont.get(),
                   TGPPointF{static_cast<REAL>(rect.Left), static_cast<REAL>(rect.Top)}, &textBrush);
    }
    return rect.Bottom - rect.Top;
}
