// GDI+ regions: areas made of rectangles and paths combined step by step, and their bounds, emptiness
// and hit tests.
#include <cmath>

#include "platform/win32/gdi_private.h"
#include "platform/win32/gdiplus_private.h"

using namespace gdiplus;

namespace {

bool ValidMode(CombineMode mode) {
    return mode >= CombineModeReplace && mode <= CombineModeComplement;
}

GpRegion* NewRegion(gp::Region region) {
    auto object = std::make_unique<RegionObject>();
    object->region = std::move(region);
    return Add<GpRegion>(std::move(object));
}

gp::RegionStep RectStep(const GpRectF& rect) {
    gp::RegionStep step;
    step.kind = gp::RegionStep::Kind::Rect;
    step.rect = {rect.X, rect.Y, rect.Width, rect.Height};
    return step;
}

void Combine(gp::Region& region, gp::RegionStep step, CombineMode mode) {
    step.combine = mode;
    if (mode == CombineModeReplace)
        region.steps.clear();
    region.steps.push_back(std::move(step));
}

gp::RegionStep HrgnStep(HRGN hrgn, bool& ok) {
    gp::RegionStep step;
    auto object = gdi::Find<gdi::Region>(hrgn, OBJ_REGION);
    ok = object != nullptr;
    if (!ok)
        return step;
    step.kind = gp::RegionStep::Kind::Path;
    for (const backend::Rect& r : object->region.Rects()) {
        gp::Path rect = RectanglePath(static_cast<REAL>(r.left), static_cast<REAL>(r.top),
                                      static_cast<REAL>(r.Width()), static_cast<REAL>(r.Height()));
        step.path.points.insert(step.path.points.end(), rect.points.begin(), rect.points.end());
        step.path.types.insert(step.path.types.end(), rect.types.begin(), rect.types.end());
    }
    step.path.winding = true;
    if (object->region.Empty())
        step.kind = gp::RegionStep::Kind::Empty;
    return step;
}

} // namespace

Status GdipCreateRegion(GpRegion** region) {
    GP_STARTED();
    if (!region)
        return InvalidParameter;
    return Guard([&] {
        *region = NewRegion({});
        return Ok;
    });
}

Status GdipCreateRegionRect(const GpRectF* rect, GpRegion** region) {
    GP_STARTED();
    if (!rect || !region)
        return InvalidParameter;
    return Guard([&] {
        gp::Region r;
        r.steps.push_back(RectStep(*rect));
        *region = NewRegion(std::move(r));
        return Ok;
    });
}

Status GdipCreateRegionRectI(const GpRect* rect, GpRegion** region) {
    if (!rect)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    GpRectF r{static_cast<REAL>(rect->X), static_cast<REAL>(rect->Y), static_cast<REAL>(rect->Width),
              static_cast<REAL>(rect->Height)};
    return GdipCreateRegionRect(&r, region);
}

Status GdipCreateRegionPath(GpPath* path, GpRegion** region) {
    GP_OBJECT(PathObject, p, path);
    if (!region)
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Path;
        step.path = p->path;
        gp::Region r;
        r.steps.push_back(std::move(step));
        *region = NewRegion(std::move(r));
        return Ok;
    });
}

Status GdipCreateRegionHrgn(HRGN hrgn, GpRegion** region) {
    GP_STARTED();
    if (!region)
        return InvalidParameter;
    bool ok = false;
    gp::RegionStep step = HrgnStep(hrgn, ok);
    if (!ok)
        return InvalidParameter;
    return Guard([&] {
        gp::Region r;
        r.steps.push_back(std::move(step));
        *region = NewRegion(std::move(r));
        return Ok;
    });
}

Status GdipCloneRegion(GpRegion* region, GpRegion** clone) {
    GP_OBJECT(RegionObject, r, region);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        *clone = NewRegion(r->region);
        return Ok;
    });
}

Status GdipDeleteRegion(GpRegion* region) {
    GP_OBJECT(RegionObject, r, region);
    RemoveEntry(region);
    return Ok;
}

Status GdipSetInfinite(GpRegion* region) {
    GP_OBJECT(RegionObject, r, region);
    r->region.steps.clear();
    return Ok;
}

Status GdipSetEmpty(GpRegion* region) {
    GP_OBJECT(RegionObject, r, region);
    gp::RegionStep step;
    step.kind = gp::RegionStep::Kind::Empty;
    r->region.steps.assign(1, step);
    return Ok;
}

Status GdipCombineRegionRect(GpRegion* region, const GpRectF* rect, CombineMode mode) {
    GP_OBJECT(RegionObject, r, region);
    if (!rect || !ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        Combine(r->region, RectStep(*rect), mode);
        return Ok;
    });
}

Status GdipCombineRegionRectI(GpRegion* region, const GpRect* rect, CombineMode mode) {
    if (!rect)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    GpRectF r{static_cast<REAL>(rect->X), static_cast<REAL>(rect->Y), static_cast<REAL>(rect->Width),
              static_cast<REAL>(rect->Height)};
    return GdipCombineRegionRect(region, &r, mode);
}

Status GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode mode) {
    GP_OBJECT(RegionObject, r, region);
    PathObject* p = Find<PathObject>(path);
    if (!p || !ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Path;
        step.path = p->path;
        Combine(r->region, std::move(step), mode);
        return Ok;
    });
}

Status GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode mode) {
    GP_OBJECT(RegionObject, r, region);
    RegionObject* other = Find<RegionObject>(region2);
    if (!other || !ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Region;
        // A copy: the region may be combined with itself.
        step.region = std::make_shared<const gp::Region>(other->region);
        Combine(r->region, std::move(step), mode);
        return Ok;
    });
}

Status GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy) {
    GP_OBJECT(RegionObject, r, region);
    gp::Matrix m{1, 0, 0, 1, dx, dy};
    return Guard([&] {
        if (gp::RegionInfinite(r->region))
            return Ok;
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Region;
        step.region = std::make_shared<const gp::Region>(std::move(r->region));
        step.transform = m;
        r->region.steps.assign(1, std::move(step));
        return Ok;
    });
}

Status GdipTransformRegion(GpRegion* region, GpMatrix* matrix) {
    GP_OBJECT(RegionObject, r, region);
    MatrixObject* m = Find<MatrixObject>(matrix);
    if (!m)
        return InvalidParameter;
    return Guard([&] {
        if (gp::RegionInfinite(r->region))
            return Ok;
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Region;
        step.region = std::make_shared<const gp::Region>(std::move(r->region));
        step.transform = m->m;
        r->region.steps.assign(1, std::move(step));
        return Ok;
    });
}

Status GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect) {
    GP_OBJECT(RegionObject, r, region);
    if (!graphics || !Find<GraphicsObject>(graphics) || !rect)
        return InvalidParameter;
    return Guard([&] {
        gp::RectF b = gp::RegionBounds(r->region);
        *rect = {b.x, b.y, b.width, b.height};
        return Ok;
    });
}

Status GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result) {
    GP_OBJECT(RegionObject, r, region);
    if (!graphics || !Find<GraphicsObject>(graphics) || !result)
        return InvalidParameter;
    return Guard([&] {
        *result = gp::RegionEmpty(r->region) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result) {
    GP_OBJECT(RegionObject, r, region);
    if (!graphics || !Find<GraphicsObject>(graphics) || !result)
        return InvalidParameter;
    return Guard([&] {
        *result = gp::RegionInfinite(r->region) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result) {
    GP_OBJECT(RegionObject, r, region);
    if (!result || (graphics && !Find<GraphicsObject>(graphics)))
        return InvalidParameter;
    return Guard([&] {
        *result = gp::RegionContains(r->region, {x, y}) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipIsEqualRegion(GpRegion* region, GpRegion* region2, GpGraphics* graphics, BOOL* result) {
    GP_OBJECT(RegionObject, r, region);
    RegionObject* other = Find<RegionObject>(region2);
    if (!other || !graphics || !Find<GraphicsObject>(graphics) || !result)
        return InvalidParameter;
    return Guard([&] {
        *result = gp::RegionsEqual(r->region, other->region) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipGetRegionHRgn(GpRegion* region, GpGraphics* graphics, HRGN* hrgn) {
    GP_OBJECT(RegionObject, r, region);
    if (!hrgn || (graphics && !Find<GraphicsObject>(graphics)))
        return InvalidParameter;
    return Guard([&] {
        // An infinite region answers no region at all, as GDI+ does.
        if (gp::RegionInfinite(r->region)) {
            *hrgn = nullptr;
            return Ok;
        }
        backend::Region pixels = gp::RegionPixels(r->region);
        HRGN result = CreateRectRgn(0, 0, 0, 0);
        if (!result)
            return OutOfMemory;
        for (const backend::Rect& rect : pixels.Rects()) {
            HRGN part = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
            CombineRgn(result, result, part, RGN_OR);
            DeleteObject(part);
        }
        *hrgn = result;
        return Ok;
    });
}

// Used by the graphics' clipping: the region of an HRGN in pixels.
namespace gdiplus {
bool HrgnRegion(HRGN hrgn, gp::Region& region) {
    bool ok = false;
    gp::RegionStep step = HrgnStep(hrgn, ok);
    if (ok)
        region.steps.assign(1, std::move(step));
    return ok;
}
} // namespace gdiplus
