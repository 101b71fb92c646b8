// Curves as polylines: Bézier curves and elliptic arcs, flattened so that no
// point of the curve lies further than a given distance (in device pixels)
// from the polyline.
#pragma once

#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_transform.h"

// A quarter of a device pixel: finer than the plotter can show.
constexpr double kFlatness = 0.25;

// Appends the points of the cubic Bézier curve from p0 (not appended) to p3
// (appended last), all in device pixels.
void FlattenCubic(DPoint p0, DPoint c1, DPoint c2, DPoint p3, double tolerance,
                  std::vector<DPoint>* out);

// Appends the points of the cubic Bézier curve from p0 (not appended) to p3
// (appended last) as GDI flattens it on a raster device: in sixteenths of a
// pixel, halving the curve (up to eight times) until its control points lie
// between its ends and within a pixel of its chord, each piece's end
// rounded to a whole pixel.
void FlattenGdiBezier(POINT p0, POINT c1, POINT c2, POINT p3, std::vector<DPoint>* out);

// An arc of the ellipse with the given centre and radii in logical units.
// Angles are those of the ellipse's parameter, in radians: the point of
// angle a is (cx + rx cos a, cy - ry sin a), so growing angles turn
// counterclockwise as world space is shown (y down). A negative sweep turns
// clockwise.
struct EllipseArc {
    DPoint center;
    double rx = 0;
    double ry = 0;
    double start = 0;
    double sweep = 0;
};

// The parameter angle where the ray from the centre through p meets the
// ellipse (0 when p is the centre).
double EllipseAngleOf(const EllipseArc& ellipse, DPoint p);

// The point of the ellipse at a parameter angle, in logical units.
DPoint EllipsePoint(const EllipseArc& ellipse, double angle);

// The arc through toDevice, in device pixels, from its start (appended only
// when withStart) to its end.
void FlattenArc(const EllipseArc& arc, const Affine& toDevice, double tolerance, bool withStart,
                std::vector<DPoint>* out);

// The sweep from one parameter angle to another in the direction GDI's arc
// direction says: counterclockwise in (0, 2 pi], clockwise in [-2 pi, 0).
// Equal angles give a whole turn.
double ArcSweep(double start, double end, bool clockwise);
