// Ellipses in whole device pixels, as GDI draws them on a raster device
// when they are not turned: an integer walk along the ellipse (Alois
// Zingl's algorithm) gives both the pixel rows of elliptic regions and the
// points that outline ellipses, rounded rectangles and arcs. Round pen caps
// and joins are such regions too.
#pragma once

#include <vector>

#include <windows.h>

// The pixel rows of GDI's rounded-rectangle region over the box
// (left, top) - (right, bottom), right and bottom outside it, with corner
// ellipses of width x height pixels: one RECT a row (fewer where the
// straight middle spans several rows). A corner under 2 pixels gives the
// box itself. Ellipses are corners as large as the box.
std::vector<RECT> RoundRectRows(int left, int top, int right, int bottom, int width, int height);

// The outline points of a rounded rectangle over the device box (its right
// and bottom pixels included) with corner ellipses of width x height
// pixels, going round counterclockwise on the screen (from the top right)
// or, when clockwise, from the bottom right. Corners of 2 pixels or less
// give the box's four corners.
std::vector<POINT> RoundRectOutline(const RECT& box, int width, int height, bool clockwise);

// The outline points of the arc of the ellipse inscribed in the device box
// from the ray through start to the ray through end (both relative to the
// box's centre pixel, in device pixels), in the arc direction.
std::vector<POINT> EllipseArcOutline(const RECT& box, POINT start, POINT end, bool clockwise);
