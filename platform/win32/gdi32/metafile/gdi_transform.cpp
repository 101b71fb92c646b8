#include "win32/gdi32/metafile/gdi_transform.h"

#include <algorithm>
#include <cmath>

DPoint Apply(const Affine& t, DPoint p) {
    return {p.x * t.m11 + p.y * t.m21 + t.dx, p.x * t.m12 + p.y * t.m22 + t.dy};
}

DPoint ApplyLinear(const Affine& t, DPoint v) {
    return {v.x * t.m11 + v.y * t.m21, v.x * t.m12 + v.y * t.m22};
}

Affine Then(const Affine& a, const Affine& b) {
    Affine r;
    r.m11 = a.m11 * b.m11 + a.m12 * b.m21;
    r.m12 = a.m11 * b.m12 + a.m12 * b.m22;
    r.m21 = a.m21 * b.m11 + a.m22 * b.m21;
    r.m22 = a.m21 * b.m12 + a.m22 * b.m22;
    r.dx = a.dx * b.m11 + a.dy * b.m21 + b.dx;
    r.dy = a.dx * b.m12 + a.dy * b.m22 + b.dy;
    return r;
}

double Determinant(const Affine& t) {
    return t.m11 * t.m22 - t.m12 * t.m21;
}

double LengthScale(const Affine& t) {
    return std::sqrt(std::fabs(Determinant(t)));
}

Affine FromXform(const XFORM& x) {
    return {x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
}

Affine Scaling(double sx, double sy) {
    return {sx, 0, 0, sy, 0, 0};
}

Affine Translation(double dx, double dy) {
    return {1, 0, 0, 1, dx, dy};
}

namespace {

// Halves round up, as GDI rounds (and so alike wherever a band of the page
// begins).
LONG RoundCoordinate(double v) {
    if (std::isnan(v)) return 0;
    const double limit = kDeviceCoordinateLimit;
    return static_cast<LONG>(std::floor(std::clamp(v, -limit, limit) + 0.5));
}

}  // namespace

POINT RoundToDevice(DPoint p) {
    return POINT{RoundCoordinate(p.x), RoundCoordinate(p.y)};
}
