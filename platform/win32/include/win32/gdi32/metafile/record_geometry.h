// Outlines of the GDI primitives that records describe by boxes, angles
// and control points, in device pixels.
#pragma once

#include <span>
#include <vector>

#include "win32/gdi32/metafile/curve_culling.h"
#include "win32/gdi32/metafile/curve_flattening.h"
#include "win32/gdi32/metafile/gdi_path.h"
#include "win32/gdi32/emf/emf_records.h"

// The ellipse inscribed in the box (corners in any order), logical units.
EllipseArc EllipseInBox(const RECTL& box);

// The arc of Arc/ArcTo/Chord/Pie: on the ellipse of the box, from where the
// ray towards start meets it to where the ray towards end does, in the
// arc direction.
EllipseArc ArcInBox(const RECTL& box, POINTL start, POINTL end, bool clockwise);

// The points of the arc through the transform, its start included.
std::vector<DPoint> ArcPoints(const EllipseArc& arc, const Affine& toDevice);

// Rectangle and rounded rectangle as closed figures, turning as GDI's arc
// direction says (counterclockwise from the top right corner).
void AddRectangle(GdiPath* path, const RECTL& box, bool clockwise, const Affine& toDevice);
void AddRoundRect(GdiPath* path, const RECTL& box, SIZEL corner, bool clockwise,
                  const Affine& toDevice);

// Bézier curves from start through points (three a curve: two control
// points and an end), flattened into device pixels; start is not appended.
// A curve the culling finds outside is its chord. gdiPixels flattens as
// GDI does on a raster device: from control points rounded to whole pixels,
// to whole pixels.
void FlattenBeziers(DPoint start, std::span<const DPoint> points, const Affine& toDevice,
                    std::vector<DPoint>* out, const CurveCulling& culling = {},
                    bool gdiPixels = false);
