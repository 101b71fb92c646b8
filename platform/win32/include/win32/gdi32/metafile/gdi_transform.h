// Affine transforms of the plane, in the XFORM convention of GDI:
//   x' = x * m11 + y * m21 + dx
//   y' = x * m12 + y * m22 + dy
// Kept in double precision: the host rounds to device pixels only once, at
// the end of the chain world -> page -> reference device -> plotter page.
#pragma once

#include <windows.h>

struct DPoint {
    double x = 0;
    double y = 0;
};

struct Affine {
    double m11 = 1;
    double m12 = 0;
    double m21 = 0;
    double m22 = 1;
    double dx = 0;
    double dy = 0;
};

DPoint Apply(const Affine& t, DPoint p);
// A vector: the translation does not apply.
DPoint ApplyLinear(const Affine& t, DPoint v);
// The transform that applies first, then then.
Affine Then(const Affine& first, const Affine& then);
double Determinant(const Affine& t);
// The factor by which the transform scales lengths on average: the square
// root of the area factor. Pen widths and dash lengths scale by it.
double LengthScale(const Affine& t);

Affine FromXform(const XFORM& x);
Affine Scaling(double sx, double sy);
Affine Translation(double dx, double dy);

// A device point: rounded to the nearest pixel and held inside a range that
// the plotter's relative coordinates can encode without overflow. Not a
// number counts as 0.
POINT RoundToDevice(DPoint p);
constexpr LONG kDeviceCoordinateLimit = 1 << 28;
