// The encoded-polyline stream: "PE" data of base-64 relative coordinates.
#pragma once

#include <windows.h>

struct JobContext;

// Writes one coordinate pair (already offset by the plot origin).
void EncodePECoordinate(JobContext* pJob, LONG x, LONG y);
// One polyline of count >= 1 host points.
void EmitPEPolyline(JobContext* pJob, int nCount, const POINT* pPoints);
// Opens "PE" when needed and moves with the pen up to the point, if any.
void MovePE(JobContext* pJob, const POINT* pPoint);
// The host point as the plotter receives it.
POINT PlotterPoint(const JobContext* pJob, const POINT& point);
