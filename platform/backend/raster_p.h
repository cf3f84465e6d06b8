// Qt-side helpers shared by the backend's drawing files only; never included outside platform/backend.
#pragma once

#include <QList>
#include <QPolygonF>
#include <QRegion>

#include "platform/backend/region.h"

namespace backend {

// The pixels of polygons under GDI's fill rule: a pixel is inside when its centre is.
Region ScanPolygons(const QList<QPolygonF>& polygons, bool winding);

QRegion ToQRegion(const Region& region);

} // namespace backend
