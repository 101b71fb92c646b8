#include "win32/gdi32/metafile/curve_flattening.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <numbers>

namespace {

// Huge curves are cut into at most this many pieces: beyond it they lie far
// off any sheet, where the plotter clips them anyway.
constexpr double kMaxPieces = 65536;

double Length(DPoint v) {
    return std::hypot(v.x, v.y);
}

int PieceCount(double wanted) {
    if (!(wanted >= 1)) return 1;  // also for not-a-number
    return static_cast<int>(std::min(std::ceil(wanted), kMaxPieces));
}

}  // namespace

void FlattenCubic(DPoint p0, DPoint c1, DPoint c2, DPoint p3, double tolerance,
                  std::vector<DPoint>* out) {
    // Wang's bound: n uniform pieces keep a cubic within
    // 3 * 2 / 8 * max|second difference| / n^2 of its chords.
    const double d1 = Length({p0.x - 2 * c1.x + c2.x, p0.y - 2 * c1.y + c2.y});
    const double d2 = Length({c1.x - 2 * c2.x + p3.x, c1.y - 2 * c2.y + p3.y});
    const int n = PieceCount(std::sqrt(0.75 * std::max(d1, d2) / tolerance));
    for (int i = 1; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double u = 1 - t;
        const double b0 = u * u * u;
        const double b1 = 3 * u * u * t;
        const double b2 = 3 * u * t * t;
        const double b3 = t * t * t;
        out->push_back({b0 * p0.x + b1 * c1.x + b2 * c2.x + b3 * p3.x,
                        b0 * p0.y + b1 * c1.y + b2 * c2.y + b3 * p3.y});
    }
    out->push_back(p3);
}

namespace {

// GDI's Bézier arithmetic: sixteenths of a pixel, halves rounded up
// (always up: GDI rounds those below zero towards zero, which would draw a
// curve differently in each band of a page).
constexpr int kGdiShift = 4;
constexpr long long kGdiPixel = 1 << kGdiShift;
constexpr int kGdiMaxDepth = 8;

long long ToPixels(long long v) {
    return (v + (kGdiPixel / 2)) >> kGdiShift;
}

struct LPoint {
    long long x, y;
};

LPoint Middle(LPoint a, LPoint b) {
    return {(a.x + b.x + 1) >> 1, (a.y + b.y + 1) >> 1};
}

// The control point lies between the ends along the chord's main axis.
bool Between(long long c, long long from, long long to) {
    return c < from ? c >= to : c <= to;
}

// The piece may be drawn as its chord: both control points between its ends
// along the chord's main axis and within a pixel of the chord across it
// (measured with GDI's whole-number slope).
bool FlatEnough(const LPoint q[4]) {
    long long dx = q[3].x - q[0].x, dy = q[3].y - q[0].y;
    const bool shallow = std::llabs(dy) <= std::llabs(dx);
    const auto along = [&](const LPoint& p) { return shallow ? p.x : p.y; };
    const auto across = [&](const LPoint& p) { return shallow ? p.y : p.x; };
    if (!Between(along(q[1]), along(q[0]), along(q[3])) ||
        !Between(along(q[2]), along(q[0]), along(q[3])))
        return false;
    long long major = shallow ? dx : dy;
    const long long minor = shallow ? dy : dx;
    major = ToPixels(major);
    if (major == 0) return true;
    const long long slope = minor / major;
    for (int i : {1, 2}) {
        const long long off =
            across(q[i]) - across(q[0]) - slope * ToPixels(along(q[i]) - along(q[0]));
        if (std::llabs(off) > kGdiPixel) return false;
    }
    return true;
}

void GdiPieces(LPoint q[4], int depth, std::vector<DPoint>* out) {
    if (depth == 0 || FlatEnough(q)) {
        out->push_back(
            {static_cast<double>(ToPixels(q[3].x)), static_cast<double>(ToPixels(q[3].y))});
        return;
    }
    LPoint second[4];
    second[3] = q[3];
    second[2] = Middle(q[2], q[3]);
    second[0] = Middle(q[1], q[2]);
    second[1] = Middle(second[0], second[2]);
    q[1] = Middle(q[0], q[1]);
    q[2] = Middle(q[1], second[0]);
    q[3] = Middle(q[2], second[1]);
    second[0] = q[3];
    GdiPieces(q, depth - 1, out);
    GdiPieces(second, depth - 1, out);
}

}  // namespace

void FlattenGdiBezier(POINT p0, POINT c1, POINT c2, POINT p3, std::vector<DPoint>* out) {
    LPoint q[4];
    const POINT in[4] = {p0, c1, c2, p3};
    for (int i = 0; i < 4; ++i)
        q[i] = {static_cast<long long>(in[i].x) * kGdiPixel,
                static_cast<long long>(in[i].y) * kGdiPixel};
    GdiPieces(q, kGdiMaxDepth, out);
}

double EllipseAngleOf(const EllipseArc& ellipse, DPoint p) {
    const double dx = ellipse.rx > 0 ? (p.x - ellipse.center.x) / ellipse.rx : 0;
    const double dy = ellipse.ry > 0 ? (p.y - ellipse.center.y) / ellipse.ry : 0;
    if (dx == 0 && dy == 0) return 0;
    return std::atan2(-dy, dx);
}

DPoint EllipsePoint(const EllipseArc& ellipse, double angle) {
    return {ellipse.center.x + ellipse.rx * std::cos(angle),
            ellipse.center.y - ellipse.ry * std::sin(angle)};
}

void FlattenArc(const EllipseArc& arc, const Affine& toDevice, double tolerance, bool withStart,
                std::vector<DPoint>* out) {
    // The ellipse's largest radius on the device (the larger singular value
    // of the transform times the radii) bounds the sagitta of each piece:
    // r (1 - cos(step / 2)) <= tolerance.
    const DPoint u = ApplyLinear(toDevice, {arc.rx, 0});
    const DPoint v = ApplyLinear(toDevice, {0, arc.ry});
    const double sum = u.x * u.x + u.y * u.y + v.x * v.x + v.y * v.y;
    const double det = u.x * v.y - u.y * v.x;
    const double radius =
        std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2);
    double step = 2 * std::numbers::pi;
    if (radius > tolerance) step = 2 * std::acos(1 - tolerance / radius);
    const int n = PieceCount(std::fabs(arc.sweep) / step);
    if (withStart) out->push_back(Apply(toDevice, EllipsePoint(arc, arc.start)));
    for (int i = 1; i <= n; ++i) {
        const double angle = arc.start + arc.sweep * i / n;
        out->push_back(Apply(toDevice, EllipsePoint(arc, angle)));
    }
}

double ArcSweep(double start, double end, bool clockwise) {
    const double turn = 2 * std::numbers::pi;
    double sweep = std::fmod(clockwise ? start - end : end - start, turn);
    if (sweep <= 1e-12) sweep += turn;
    return clockwise ? -sweep : sweep;
}
