// Polylines: the attribute-carrying emitter and the host's polyline callback.
#pragma once

#include <windows.h>

#include "pxrdriver/driver_callbacks.h"

// Brings pen, line type, width and line attributes up to date and writes the
// polyline; count <= 0 means -count / 2 separate two-point segments.
int EmitPolyline(DrawAttributes* pAttributes, int nCount, const POINT* pPoints);
// Host callback: a polyline clipped to the clip region.
int OnPolyline(HostContext* pHost, const POINT* pPoints, int nCount);

// Whether the points' bounding rectangle lies inside the rectangle.
bool PointsInside(const POINT* pPoints, int nCount, const RECT& inner);
