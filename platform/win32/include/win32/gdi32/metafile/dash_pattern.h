// Dashed lines. The plotter is only ever told solid lines: the host cuts a
// dashed line into its dashes, as GDI does when it draws on a raster device.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_transform.h"

// The pen's width on the device, in pixels (at least 1); toDevice: logical
// units to device pixels.
int PenDeviceWidth(const GdiPen& pen, const Affine& toDevice);

// Dash, gap, dash, gap ... in device pixels; empty for a solid line.
//   deviceWidth: the pen's width on the device, in pixels.
//   cosmeticUnit: the length of one screen pixel on the device, which the
//     dashes of one-pixel pens are measured in (so that they look on paper
//     as they do on a screen).
//   logicalScale: device pixels per logical unit (user styles of geometric
//     pens are given in logical units).
// Geometric pens scale GDI's patterns with their width: PS_DASH is a dash of
// three widths and a gap of one, less the room of round or square caps.
std::vector<double> DashPattern(const GdiPen& pen, double deviceWidth, double cosmeticUnit,
                                double logicalScale);

// Cuts the polyline into its dashes. The pattern runs on along the whole
// polyline, across its corners, and starts afresh with each polyline. Each
// dash goes to emit as a polyline of two points or more (a dash of no
// length, which round or square ends make a dot, as two equal points).
// pixelSteps
// measures the lines as GDI steps one-pixel lines, a pixel a column or row
// along the main axis, instead of along the line. gaps emits the gaps
// instead (for drawing them in an opaque background colour).
void CutIntoDashes(std::span<const POINT> points, std::span<const double> pattern,
                   const std::function<void(std::span<const POINT>)>& emit, bool pixelSteps = false,
                   bool gaps = false);

// Hatch brushes: one-pixel lines across square cells from the brush origin,
// cells of eight pixels on a raster device (GDI's 8 x 8 patterns), of eight
// screen pixels on a plot. Where a cell of cell pixels has its lines, from
// its top left corner: the horizontal one in row 3/8 of the way down, the
// vertical one in the middle column, the falling diagonal ("\") from the
// corner, the rising one ("/") from the last column of the first row.
struct HatchOffsets {
    int horizontal = 0;  // row
    int vertical = 0;    // column
    int rising = 0;      // column + row of the "/" line
};
HatchOffsets HatchCellOffsets(int cell);
