#include "gdi32/metafile/raster_culling.h"

void CullFillFigure(std::span<const POINT> points, const RowReach& reach, std::vector<POINT>* out) {
    out->clear();
    const size_t n = points.size();
    if (n == 0) return;
    int previous = 2;  // no side: the first point is kept
    int side = reach.Side(points[0]);
    for (size_t i = 0; i < n; ++i) {
        const int next = i + 1 < n ? reach.Side(points[i + 1]) : 2;
        // Inside points, and the ends of each run beyond a side.
        if (side == 0 || previous != side || next != side) out->push_back(points[i]);
        previous = side;
        side = next;
    }
}

void CullStrokePolyline(std::span<const POINT> points, const RowReach& reach,
                        const std::function<void(std::span<const POINT>)>& emit) {
    size_t first = 0;
    for (size_t i = 1; i <= points.size(); ++i) {
        const bool cut = i == points.size() || (reach.Side(points[i - 1]) != 0 &&
                                                reach.Side(points[i - 1]) == reach.Side(points[i]));
        if (!cut) continue;
        if (i - first >= 2) emit(points.subspan(first, i - first));
        first = i;
    }
}

void CullWidePolyline(std::span<const POINT> points, bool closed, const RowReach& reach,
                      std::vector<POINT>* scratch,
                      const std::function<void(std::span<const POINT>, bool)>& emit) {
    const size_t n = points.size();
    if (n < 2) return;
    const auto beyond = [&](size_t i, size_t j) {
        const int side = reach.Side(points[i]);
        return side != 0 && side == reach.Side(points[j]);
    };
    if (closed) {
        size_t k = 0;
        while (k < n && !beyond(k, (k + 1) % n)) ++k;
        if (k == n) return emit(points, true);
        scratch->clear();
        for (size_t i = 0; i < n + 2; ++i) scratch->push_back(points[(k + i) % n]);
        points = *scratch;
    }
    const size_t segments = points.size() - 1;
    size_t run = 0;  // the first segment of the run
    for (size_t i = 0; i <= segments; ++i) {
        if (i < segments && !beyond(i, i + 1)) continue;
        if (i > run) {
            const size_t first = run > 0 ? run - 1 : 0;
            const size_t last = i < segments ? i + 1 : i;
            emit(points.subspan(first, last - first + 1), false);
        }
        run = i + 1;
    }
}

bool Rectilinear(std::span<const POINT> points, bool closed) {
    for (size_t i = 1; i < points.size(); ++i)
        if (points[i].x != points[i - 1].x && points[i].y != points[i - 1].y) return false;
    if (closed && points.size() > 1) {
        const POINT& a = points.back();
        const POINT& b = points.front();
        if (a.x != b.x && a.y != b.y) return false;
    }
    return true;
}
