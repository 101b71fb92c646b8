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
