// How far a flattened curve strays from the curve it stands for.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "win32/gdi32/metafile/curve_flattening.h"

// The largest distance from points of curve(t), t from 0 to 1, to the
// polyline.
inline double FarthestFrom(const std::vector<DPoint>& line,
                           const std::function<DPoint(double)>& curve) {
    double worst = 0;
    for (int i = 0; i <= 2000; ++i) {
        const DPoint p = curve(i / 2000.0);
        double best = 1e9;
        for (size_t k = 1; k < line.size(); ++k) {
            const DPoint a = line[k - 1], b = line[k];
            const double len2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
            double u =
                len2 > 0 ? ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / len2 : 0;
            u = std::clamp(u, 0.0, 1.0);
            best = std::min(
                best, std::hypot(p.x - (a.x + u * (b.x - a.x)), p.y - (a.y + u * (b.y - a.y))));
        }
        worst = std::max(worst, best);
    }
    return worst;
}

// The cubic Bezier curve from p0 over c1 and c2 to p3.
inline std::function<DPoint(double)> Cubic(DPoint p0, DPoint c1, DPoint c2, DPoint p3) {
    return [=](double t) {
        const double u = 1 - t, a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        return DPoint{a * p0.x + b * c1.x + c * c2.x + d * p3.x,
                      a * p0.y + b * c1.y + c * c2.y + d * p3.y};
    };
}
