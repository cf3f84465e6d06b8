// Regions (rectangles, round rectangles, ellipses, polygons, their combinations) and the clipping of DCs.
#include <algorithm>

#include "platform/win32/gdi_private.h"

namespace gdi {
namespace {

std::shared_ptr<Region> FindRegion(HRGN handle) {
    return Find<Region>(handle, OBJ_REGION);
}

HRGN AddRegion(backend::Region region) {
    auto object = std::make_shared<Region>();
    object->type = OBJ_REGION;
    object->region = std::move(region);
    return static_cast<HRGN>(AddObject(object));
}

int KindOf(const backend::Region& region) {
    if (region.Empty())
        return NULLREGION;
    return region.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

backend::Rect Ordered(int left, int top, int right, int bottom) {
    return backend::Rect{std::min(left, right), std::min(top, bottom), std::max(left, right),
                         std::max(top, bottom)};
}

// The DC's clip, or the whole device when it has none, in device units relative to the DC.
backend::Region CurrentClip(DC& dc) {
    if (dc.state.clip)
        return *dc.state.clip;
    backend::DeviceCaps caps = dc.Caps();
    backend::Region all(backend::Rect{0, 0, caps.width, caps.height});
    all.Offset(-dc.origin.x, -dc.origin.y);
    return all;
}

// What is visible of the DC in device units relative to it: device, window area and clip together.
backend::Region VisibleArea(DC& dc) {
    const backend::Region* clip = dc.EffectiveClip();
    backend::DeviceCaps caps = dc.Caps();
    backend::Region area = clip ? *clip : backend::Region(backend::Rect{0, 0, caps.width, caps.height});
    area.Offset(-dc.origin.x, -dc.origin.y);
    return area;
}

int SetClip(DC& dc, std::optional<backend::Region> clip) {
    dc.state.clip = std::move(clip);
    dc.ClipChanged();
    return KindOf(VisibleArea(dc));
}

backend::Rect LogicalToDeviceRect(const DC& dc, int left, int top, int right, int bottom) {
    POINT a = dc.ToDevice(left, top), b = dc.ToDevice(right, bottom);
    return Ordered(a.x, a.y, b.x, b.y);
}

} // namespace
} // namespace gdi

using namespace gdi;

// ---- Region objects ----

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return AddRegion(backend::Region(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return AddRegion(
        backend::Region::RoundRect(Ordered(left, top, right, bottom), ellipseWidth, ellipseHeight));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return AddRegion(backend::Region::Ellipse(Ordered(left, top, right, bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    if (!points || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<backend::Point> corners;
    std::vector<int> sizes;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        sizes.push_back(counts[i]);
        for (int j = 0; j < counts[i]; ++j, ++points)
            corners.push_back(backend::Point{points->x, points->y});
    }
    return AddRegion(backend::Region::Polygons(corners, sizes, fillMode == WINDING));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

int CombineRgn(HRGN destHandle, HRGN src1Handle, HRGN src2Handle, int mode) {
    std::shared_ptr<Region> dest = FindRegion(destHandle);
    std::shared_ptr<Region> src1 = FindRegion(src1Handle);
    if (!dest || !src1)
        return ERROR;
    if (mode == RGN_COPY) {
        dest->region = src1->region;
        return KindOf(dest->region);
    }
    std::shared_ptr<Region> src2 = FindRegion(src2Handle);
    if (!src2)
        return ERROR;
    switch (mode) {
    case RGN_AND:
        dest->region = src1->region.Intersected(src2->region);
        break;
    case RGN_OR:
        dest->region = src1->region.United(src2->region);
        break;
    case RGN_XOR:
        dest->region = src1->region.Xored(src2->region);
        break;
    case RGN_DIFF:
        dest->region = src1->region.Subtracted(src2->region);
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    return KindOf(dest->region);
}

int OffsetRgn(HRGN handle, int dx, int dy) {
    std::shared_ptr<Region> region = FindRegion(handle);
    if (!region)
        return ERROR;
    region->region.Offset(dx, dy);
    return KindOf(region->region);
}

BOOL PtInRegion(HRGN handle, int x, int y) {
    std::shared_ptr<Region> region = FindRegion(handle);
    return region && region->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
    std::shared_ptr<Region> region = FindRegion(handle);
    if (!region || !rect)
        return FALSE;
    return region->region.Intersects(Ordered(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE
                                                                                                : FALSE;
}

int GetRgnBox(HRGN handle, LPRECT rect) {
    std::shared_ptr<Region> region = FindRegion(handle);
    if (!region || !rect)
        return ERROR;
    backend::Rect box = region->region.Bounds();
    *rect = RECT{box.left, box.top, box.right, box.bottom};
    return KindOf(region->region);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    std::shared_ptr<Region> first = FindRegion(a);
    std::shared_ptr<Region> second = FindRegion(b);
    if (!first || !second)
        return ERROR;
    return first->region == second->region ? TRUE : FALSE;
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
    std::shared_ptr<Region> region = FindRegion(handle);
    if (!region)
        return FALSE;
    region->region = backend::Region(Ordered(left, top, right, bottom));
    return TRUE;
}

// ---- Clipping ----

int ExtSelectClipRgn(HDC handle, HRGN regionHandle, int mode) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return ERROR;
    if (!regionHandle) {
        // Only RGN_COPY may pass no region: it removes the clip.
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        return SetClip(*dc, std::nullopt);
    }
    std::shared_ptr<Region> region = FindRegion(regionHandle);
    if (!region)
        return ERROR;
    // The DC keeps a copy: the caller may change or delete the region afterwards.
    switch (mode) {
    case RGN_COPY:
        return SetClip(*dc, region->region);
    case RGN_AND:
        return SetClip(*dc, CurrentClip(*dc).Intersected(region->region));
    case RGN_OR:
        return SetClip(*dc, CurrentClip(*dc).United(region->region));
    case RGN_XOR:
        return SetClip(*dc, CurrentClip(*dc).Xored(region->region));
    case RGN_DIFF:
        return SetClip(*dc, CurrentClip(*dc).Subtracted(region->region));
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
}

int SelectClipRgn(HDC dc, HRGN region) {
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return ERROR;
    backend::Rect rect = LogicalToDeviceRect(*dc, left, top, right, bottom);
    return SetClip(*dc, CurrentClip(*dc).Intersected(rect));
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return ERROR;
    backend::Rect rect = LogicalToDeviceRect(*dc, left, top, right, bottom);
    return SetClip(*dc, CurrentClip(*dc).Subtracted(backend::Region(rect)));
}

int OffsetClipRgn(HDC handle, int dx, int dy) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return ERROR;
    if (!dc->state.clip)
        return KindOf(VisibleArea(*dc));
    // The offset is logical; the clip is kept in device units.
    POINT a = dc->ToDevice(0, 0), b = dc->ToDevice(dx, dy);
    backend::Region clip = *dc->state.clip;
    clip.Offset(b.x - a.x, b.y - a.y);
    return SetClip(*dc, clip);
}

int GetClipBox(HDC handle, LPRECT rect) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !rect)
        return ERROR;
    backend::Region area = VisibleArea(*dc);
    backend::Rect box = area.Bounds();
    POINT a = dc->ToLogical(box.left, box.top), b = dc->ToLogical(box.right, box.bottom);
    *rect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return KindOf(area);
}

int GetClipRgn(HDC handle, HRGN regionHandle) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Region> region = FindRegion(regionHandle);
    if (!dc || !region)
        return -1;
    if (!dc->state.clip)
        return 0;
    region->region = *dc->state.clip;
    return 1;
}

BOOL PtVisible(HDC handle, int x, int y) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return -1;
    POINT p = dc->ToDevice(x, y);
    return VisibleArea(*dc).Contains(p.x, p.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC handle, const RECT* rect) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !rect)
        return FALSE;
    // Asked once per cell of a paint: the rectangle goes to absolute pixels, where the clip is kept, in
    // place of a copy of the clip moved to the rectangle.
    const backend::Rect r = dc->MapRect(rect->left, rect->top, rect->right, rect->bottom);
    if (const backend::Region* clip = dc->EffectiveClip())
        return clip->Intersects(r) ? TRUE : FALSE;
    backend::DeviceCaps caps = dc->Caps();
    return backend::Rect{0, 0, caps.width, caps.height}.Intersected(r).Empty() ? FALSE : TRUE;
}
