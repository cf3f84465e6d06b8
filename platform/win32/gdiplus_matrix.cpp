// GDI+ matrices: affine transforms of the plane, made, combined, inverted and applied to points.
#include <cmath>
#include <numbers>

#include "platform/win32/gdiplus_private.h"

using namespace gdiplus;

namespace {

gp::Matrix Translation(REAL dx, REAL dy) {
    return {1, 0, 0, 1, dx, dy};
}
gp::Matrix Scaling(REAL sx, REAL sy) {
    return {sx, 0, 0, sy, 0, 0};
}
gp::Matrix Rotation(REAL degrees) {
    double r = degrees * std::numbers::pi / 180.0;
    auto c = static_cast<float>(std::cos(r)), s = static_cast<float>(std::sin(r));
    // Whole quarter turns stay exact.
    if (std::fmod(std::abs(degrees), 90.0f) == 0) {
        c = std::round(c);
        s = std::round(s);
    }
    return {c, s, -s, c, 0, 0};
}

// Prepending applies the new transform first, appending applies it after the matrix.
void Combine(gp::Matrix& m, const gp::Matrix& other, MatrixOrder order) {
    m = order == MatrixOrderAppend ? m.Then(other) : other.Then(m);
}

bool ValidOrder(MatrixOrder order) {
    return order == MatrixOrderPrepend || order == MatrixOrderAppend;
}

double Determinant(const gp::Matrix& m) {
    return static_cast<double>(m.m11) * m.m22 - static_cast<double>(m.m12) * m.m21;
}

GpMatrix* NewMatrix(const gp::Matrix& m) {
    auto object = std::make_unique<MatrixObject>();
    object->m = m;
    return Add<GpMatrix>(std::move(object));
}

template <class Rect, class Point>
Status CreateMatrix3(const Rect* rect, const Point* dstplg, GpMatrix** matrix) {
    GP_STARTED();
    if (!rect || !dstplg || !matrix || rect->Width == 0 || rect->Height == 0)
        return InvalidParameter;
    double w = rect->Width, h = rect->Height;
    double m11 = (dstplg[1].X - dstplg[0].X) / w, m12 = (dstplg[1].Y - dstplg[0].Y) / w;
    double m21 = (dstplg[2].X - dstplg[0].X) / h, m22 = (dstplg[2].Y - dstplg[0].Y) / h;
    gp::Matrix m{static_cast<float>(m11),
                 static_cast<float>(m12),
                 static_cast<float>(m21),
                 static_cast<float>(m22),
                 static_cast<float>(dstplg[0].X - m11 * rect->X - m21 * rect->Y),
                 static_cast<float>(dstplg[0].Y - m12 * rect->X - m22 * rect->Y)};
    return Guard([&] {
        *matrix = NewMatrix(m);
        return Ok;
    });
}

} // namespace

Status GdipCreateMatrix(GpMatrix** matrix) {
    GP_STARTED();
    if (!matrix)
        return InvalidParameter;
    return Guard([&] {
        *matrix = NewMatrix({});
        return Ok;
    });
}

Status GdipCreateMatrix2(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy, GpMatrix** matrix) {
    GP_STARTED();
    if (!matrix)
        return InvalidParameter;
    return Guard([&] {
        *matrix = NewMatrix({m11, m12, m21, m22, dx, dy});
        return Ok;
    });
}

Status GdipCreateMatrix3(const GpRectF* rect, const GpPointF* dstplg, GpMatrix** matrix) {
    return CreateMatrix3(rect, dstplg, matrix);
}

Status GdipCreateMatrix3I(const GpRect* rect, const GpPoint* dstplg, GpMatrix** matrix) {
    return CreateMatrix3(rect, dstplg, matrix);
}

Status GdipCloneMatrix(GpMatrix* matrix, GpMatrix** clone) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        *clone = NewMatrix(m->m);
        return Ok;
    });
}

Status GdipDeleteMatrix(GpMatrix* matrix) {
    GP_OBJECT(MatrixObject, m, matrix);
    RemoveEntry(matrix);
    return Ok;
}

Status GdipSetMatrixElements(GpMatrix* matrix, REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
    GP_OBJECT(MatrixObject, m, matrix);
    m->m = {m11, m12, m21, m22, dx, dy};
    return Ok;
}

Status GdipGetMatrixElements(const GpMatrix* matrix, REAL* elements) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!elements)
        return InvalidParameter;
    const gp::Matrix& v = m->m;
    REAL values[6] = {v.m11, v.m12, v.m21, v.m22, v.dx, v.dy};
    std::copy(values, values + 6, elements);
    return Ok;
}

Status GdipMultiplyMatrix(GpMatrix* matrix, GpMatrix* matrix2, MatrixOrder order) {
    GP_OBJECT(MatrixObject, m, matrix);
    MatrixObject* other = Find<MatrixObject>(matrix2);
    if (!other || !ValidOrder(order))
        return InvalidParameter;
    Combine(m->m, other->m, order);
    return Ok;
}

Status GdipTranslateMatrix(GpMatrix* matrix, REAL offsetX, REAL offsetY, MatrixOrder order) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!ValidOrder(order))
        return InvalidParameter;
    Combine(m->m, Translation(offsetX, offsetY), order);
    return Ok;
}

Status GdipScaleMatrix(GpMatrix* matrix, REAL scaleX, REAL scaleY, MatrixOrder order) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!ValidOrder(order))
        return InvalidParameter;
    Combine(m->m, Scaling(scaleX, scaleY), order);
    return Ok;
}

Status GdipRotateMatrix(GpMatrix* matrix, REAL angle, MatrixOrder order) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!ValidOrder(order))
        return InvalidParameter;
    Combine(m->m, Rotation(angle), order);
    return Ok;
}

Status GdipShearMatrix(GpMatrix* matrix, REAL shearX, REAL shearY, MatrixOrder order) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!ValidOrder(order))
        return InvalidParameter;
    Combine(m->m, gp::Matrix{1, shearY, shearX, 1, 0, 0}, order);
    return Ok;
}

Status GdipInvertMatrix(GpMatrix* matrix) {
    GP_OBJECT(MatrixObject, m, matrix);
    const gp::Matrix v = m->m;
    double det = Determinant(v);
    if (det == 0 || !std::isfinite(det))
        return InvalidParameter;
    double i11 = v.m22 / det, i12 = -v.m12 / det, i21 = -v.m21 / det, i22 = v.m11 / det;
    m->m = {static_cast<float>(i11),
            static_cast<float>(i12),
            static_cast<float>(i21),
            static_cast<float>(i22),
            static_cast<float>(-(v.dx * i11 + v.dy * i21)),
            static_cast<float>(-(v.dx * i12 + v.dy * i22))};
    return Ok;
}

Status GdipTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!points || count <= 0)
        return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        gp::PointF p = m->m.Map(ToPoint(points[i]));
        points[i] = {p.x, p.y};
    }
    return Ok;
}

Status GdipTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!points || count <= 0)
        return InvalidParameter;
    for (INT i = 0; i < count; ++i) {
        gp::PointF p = m->m.Map(ToPoint(points[i]));
        points[i] = {static_cast<INT>(std::lround(p.x)), static_cast<INT>(std::lround(p.y))};
    }
    return Ok;
}

Status GdipVectorTransformMatrixPoints(GpMatrix* matrix, GpPointF* points, INT count) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!points || count <= 0)
        return InvalidParameter;
    gp::Matrix linear = m->m;
    linear.dx = linear.dy = 0;
    for (INT i = 0; i < count; ++i) {
        gp::PointF p = linear.Map(ToPoint(points[i]));
        points[i] = {p.x, p.y};
    }
    return Ok;
}

Status GdipVectorTransformMatrixPointsI(GpMatrix* matrix, GpPoint* points, INT count) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!points || count <= 0)
        return InvalidParameter;
    gp::Matrix linear = m->m;
    linear.dx = linear.dy = 0;
    for (INT i = 0; i < count; ++i) {
        gp::PointF p = linear.Map(ToPoint(points[i]));
        points[i] = {static_cast<INT>(std::lround(p.x)), static_cast<INT>(std::lround(p.y))};
    }
    return Ok;
}

Status GdipIsMatrixInvertible(const GpMatrix* matrix, BOOL* result) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!result)
        return InvalidParameter;
    double det = Determinant(m->m);
    *result = det != 0 && std::isfinite(det) ? TRUE : FALSE;
    return Ok;
}

Status GdipIsMatrixIdentity(const GpMatrix* matrix, BOOL* result) {
    GP_OBJECT(MatrixObject, m, matrix);
    if (!result)
        return InvalidParameter;
    *result = m->m.Identity() ? TRUE : FALSE;
    return Ok;
}

Status GdipIsMatrixEqual(const GpMatrix* matrix, const GpMatrix* matrix2, BOOL* result) {
    GP_OBJECT(MatrixObject, m, matrix);
    MatrixObject* other = Find<MatrixObject>(matrix2);
    if (!other || !result)
        return InvalidParameter;
    const gp::Matrix &a = m->m, &b = other->m;
    *result =
        a.m11 == b.m11 && a.m12 == b.m12 && a.m21 == b.m21 && a.m22 == b.m22 && a.dx == b.dx && a.dy == b.dy
            ? TRUE
            : FALSE;
    return Ok;
}
