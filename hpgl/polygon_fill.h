// Filled polygons and paths through the plotter's polygon buffer: "PM" opens
// polygon mode, "PM1" starts the next sub-polygon, "PM2" ends it; "FP" fills
// even-odd, "FP1" by non-zero winding, "EP" strokes the edges.
#pragma once

#include <windows.h>

#include "pxrdriver/host_context.h"

int OnPolygon(HostContext* pHost, const POINT* pPoints, int nCount);
int OnBeginPath(HostContext* pHost);
int OnEndPath(HostContext* pHost);
int OnRefillPolygon(HostContext* pHost);
int OnFillPath(HostContext* pHost);
int OnSetFillMode(HostContext* pHost, int nMode);
