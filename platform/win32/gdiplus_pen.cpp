// GDI+ pens: width, fill, dash style, caps and joins.
#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

namespace {

gp::Cap ToCap(LineCap cap) {
    switch (cap) {
    case LineCapSquare:
        return gp::Cap::Square;
    case LineCapRound:
        return gp::Cap::Round;
    case LineCapTriangle:
        return gp::Cap::Triangle;
    case LineCapNoAnchor:
        return gp::Cap::NoAnchor;
    case LineCapSquareAnchor:
        return gp::Cap::SquareAnchor;
    case LineCapRoundAnchor:
        return gp::Cap::RoundAnchor;
    case LineCapDiamondAnchor:
        return gp::Cap::DiamondAnchor;
    case LineCapArrowAnchor:
        return gp::Cap::ArrowAnchor;
    default:
        return gp::Cap::Flat;
    }
}

} // namespace

gp::Pen PaintPen(const PenObject& pen, const GraphicsObject* graphics) {
    gp::Pen result = pen.pen;
    REAL width = pen.width;
    // Widths in a unit of their own are converted to the graphics' page units.
    if (pen.unit != UnitWorld) {
        REAL page = graphics ? PixelsPerUnit(graphics->state.pageUnit) * graphics->state.pageScale : 1.0f;
        width = width * PixelsPerUnit(pen.unit) / (page > 0 ? page : 1.0f);
    }
    result.width = width;
    result.startCap = ToCap(pen.startCap);
    result.endCap = ToCap(pen.endCap);
    result.join = static_cast<gp::Join>(pen.join);
    result.inset = pen.alignment == PenAlignmentInset;
    switch (pen.dashStyle) {
    case DashStyleDash:
        result.dashes = {3, 1};
        break;
    case DashStyleDot:
        result.dashes = {1, 1};
        break;
    case DashStyleDashDot:
        result.dashes = {3, 1, 1, 1};
        break;
    case DashStyleDashDotDot:
        result.dashes = {3, 1, 1, 1, 1, 1};
        break;
    case DashStyleCustom:
        break; // the pen's own array
    default:
        result.dashes.clear();
        break;
    }
    return result;
}

} // namespace gdiplus

using namespace gdiplus;

namespace {

bool ValidUnit(GpUnit unit) {
    return unit >= UnitWorld && unit <= UnitMillimeter && unit != UnitDisplay;
}

bool ValidCap(GpLineCap cap) {
    return (cap >= LineCapFlat && cap <= LineCapTriangle) ||
           (cap >= LineCapNoAnchor && cap <= LineCapArrowAnchor);
}

Status NewPen(const gp::Brush& brush, REAL width, GpUnit unit, GpPen** pen) {
    if (!pen || !ValidUnit(unit) || width < 0)
        return InvalidParameter;
    return Guard([&] {
        auto object = std::make_unique<PenObject>();
        object->pen.brush = brush;
        object->width = width;
        object->unit = unit;
        *pen = Add<GpPen>(std::move(object));
        return Ok;
    });
}

} // namespace

Status GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen) {
    GP_STARTED();
    gp::Brush brush;
    brush.color = color;
    return NewPen(brush, width, unit, pen);
}

Status GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen) {
    GP_OBJECT(BrushObject, b, brush);
    return NewPen(b->brush, width, unit, pen);
}

Status GdipClonePen(GpPen* pen, GpPen** clone) {
    GP_OBJECT(PenObject, p, pen);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        *clone = Add<GpPen>(std::make_unique<PenObject>(*p));
        return Ok;
    });
}

Status GdipDeletePen(GpPen* pen) {
    GP_OBJECT(PenObject, p, pen);
    RemoveEntry(pen);
    return Ok;
}

Status GdipSetPenWidth(GpPen* pen, REAL width) {
    GP_OBJECT(PenObject, p, pen);
    if (width < 0)
        return InvalidParameter;
    p->width = width;
    return Ok;
}

Status GdipGetPenWidth(GpPen* pen, REAL* width) {
    GP_OBJECT(PenObject, p, pen);
    if (!width)
        return InvalidParameter;
    *width = p->width;
    return Ok;
}

Status GdipSetPenColor(GpPen* pen, ARGB color) {
    GP_OBJECT(PenObject, p, pen);
    p->pen.brush = gp::Brush{};
    p->pen.brush.color = color;
    return Ok;
}

Status GdipGetPenColor(GpPen* pen, ARGB* color) {
    GP_OBJECT(PenObject, p, pen);
    if (!color)
        return InvalidParameter;
    if (p->pen.brush.type != BrushTypeSolidColor)
        return NotImplemented;
    *color = p->pen.brush.color;
    return Ok;
}

Status GdipSetPenBrushFill(GpPen* pen, GpBrush* brush) {
    GP_OBJECT(PenObject, p, pen);
    BrushObject* b = Find<BrushObject>(brush);
    if (!b)
        return InvalidParameter;
    return Guard([&] {
        p->pen.brush = b->brush;
        return Ok;
    });
}

Status GdipGetPenBrushFill(GpPen* pen, GpBrush** brush) {
    GP_OBJECT(PenObject, p, pen);
    if (!brush)
        return InvalidParameter;
    return Guard([&] {
        *brush = AddBrush(MakeBrush(p->pen.brush));
        return Ok;
    });
}

Status GdipGetPenFillType(GpPen* pen, PenType* type) {
    GP_OBJECT(PenObject, p, pen);
    if (!type)
        return InvalidParameter;
    *type = static_cast<PenType>(p->pen.brush.type);
    return Ok;
}

Status GdipSetPenDashStyle(GpPen* pen, GpDashStyle style) {
    GP_OBJECT(PenObject, p, pen);
    if (style < DashStyleSolid || style > DashStyleCustom)
        return InvalidParameter;
    p->dashStyle = style;
    return Ok;
}

Status GdipGetPenDashStyle(GpPen* pen, GpDashStyle* style) {
    GP_OBJECT(PenObject, p, pen);
    if (!style)
        return InvalidParameter;
    *style = p->dashStyle;
    return Ok;
}

Status GdipSetPenDashArray(GpPen* pen, const REAL* dashes, INT count) {
    GP_OBJECT(PenObject, p, pen);
    if (!dashes || count <= 0)
        return InvalidParameter;
    REAL sum = 0;
    for (INT i = 0; i < count; ++i) {
        if (dashes[i] < 0)
            return InvalidParameter;
        sum += dashes[i];
    }
    if (sum <= 0)
        return InvalidParameter;
    return Guard([&] {
        p->pen.dashes.assign(dashes, dashes + count);
        p->dashStyle = DashStyleCustom;
        return Ok;
    });
}

Status GdipSetPenDashOffset(GpPen* pen, REAL offset) {
    GP_OBJECT(PenObject, p, pen);
    p->pen.dashOffset = offset;
    return Ok;
}

Status GdipSetPenDashCap197819(GpPen* pen, GpDashCap cap) {
    GP_OBJECT(PenObject, p, pen);
    if (cap != DashCapFlat && cap != DashCapRound && cap != DashCapTriangle)
        return InvalidParameter;
    p->pen.dashCap = cap;
    return Ok;
}

Status GdipSetPenStartCap(GpPen* pen, GpLineCap cap) {
    GP_OBJECT(PenObject, p, pen);
    if (!ValidCap(cap))
        return InvalidParameter;
    p->startCap = cap;
    return Ok;
}

Status GdipSetPenEndCap(GpPen* pen, GpLineCap cap) {
    GP_OBJECT(PenObject, p, pen);
    if (!ValidCap(cap))
        return InvalidParameter;
    p->endCap = cap;
    return Ok;
}

Status GdipGetPenStartCap(GpPen* pen, GpLineCap* cap) {
    GP_OBJECT(PenObject, p, pen);
    if (!cap)
        return InvalidParameter;
    *cap = p->startCap;
    return Ok;
}

Status GdipGetPenEndCap(GpPen* pen, GpLineCap* cap) {
    GP_OBJECT(PenObject, p, pen);
    if (!cap)
        return InvalidParameter;
    *cap = p->endCap;
    return Ok;
}

Status GdipSetPenLineCap197819(GpPen* pen, GpLineCap startCap, GpLineCap endCap, GpDashCap dashCap) {
    GP_OBJECT(PenObject, p, pen);
    if (!ValidCap(startCap) || !ValidCap(endCap) ||
        (dashCap != DashCapFlat && dashCap != DashCapRound && dashCap != DashCapTriangle))
        return InvalidParameter;
    p->startCap = startCap;
    p->endCap = endCap;
    p->pen.dashCap = dashCap;
    return Ok;
}

Status GdipSetPenLineJoin(GpPen* pen, GpLineJoin join) {
    GP_OBJECT(PenObject, p, pen);
    if (join < LineJoinMiter || join > LineJoinMiterClipped)
        return InvalidParameter;
    p->join = join;
    return Ok;
}

Status GdipGetPenLineJoin(GpPen* pen, GpLineJoin* join) {
    GP_OBJECT(PenObject, p, pen);
    if (!join)
        return InvalidParameter;
    *join = p->join;
    return Ok;
}

Status GdipSetPenMiterLimit(GpPen* pen, REAL miterLimit) {
    GP_OBJECT(PenObject, p, pen);
    p->pen.miterLimit = std::max(1.0f, miterLimit);
    return Ok;
}

Status GdipSetPenMode(GpPen* pen, GpPenAlignment alignment) {
    GP_OBJECT(PenObject, p, pen);
    if (alignment != PenAlignmentCenter && alignment != PenAlignmentInset)
        return InvalidParameter;
    p->alignment = alignment;
    return Ok;
}

Status GdipGetPenMode(GpPen* pen, GpPenAlignment* alignment) {
    GP_OBJECT(PenObject, p, pen);
    if (!alignment)
        return InvalidParameter;
    *alignment = p->alignment;
    return Ok;
}
