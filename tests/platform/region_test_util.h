// Helpers of the region tests: building region lists, reading them and
// pieces back, and an independent even-odd point test of a region.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "pxrdriver/regions.h"

namespace region_test {

using Polygon = std::vector<POINT>;
using Polygons = std::vector<Polygon>;

// A list of the polygons, allocated as the framework's lists are.
inline HT_ClipRgn* MakeList(const Polygons& polygons) {
    HT_ClipRgn* pHead = nullptr;
    HT_ClipRgn** ppLink = &pHead;
    for (const Polygon& polygon : polygons) {
        auto* p = static_cast<HT_ClipRgn*>(HT_Malloc(sizeof(HT_ClipRgn)));
        p->nFlags = 0;
        p->pNext = nullptr;
        p->nCount = static_cast<LONG>(polygon.size());
        p->pPoints = static_cast<POINT*>(HT_Malloc(sizeof(POINT) * polygon.size()));
        if (!polygon.empty())
            std::memcpy(p->pPoints, polygon.data(), sizeof(POINT) * polygon.size());
        *ppLink = p;
        ppLink = &p->pNext;
    }
    return pHead;
}

inline Polygon Rect(LONG l, LONG t, LONG r, LONG b) {
    return {{l, t}, {r, t}, {r, b}, {l, b}};
}

// The L of most tests: a wide bar along the top (y 0..50) and a narrow leg
// down the left (x 0..50); and a bowtie, two triangles meeting at (50, 50).
inline const Polygon kL = {{0, 0}, {200, 0}, {200, 50}, {50, 50}, {50, 100}, {0, 100}};
inline const Polygon kBowtie = {{0, 0}, {100, 100}, {100, 0}, {0, 100}};

// Polygons as coordinate pairs, for comparing and printing.
inline std::vector<std::vector<std::pair<LONG, LONG>>> Pairs(const Polygons& polygons) {
    std::vector<std::vector<std::pair<LONG, LONG>>> result;
    for (const Polygon& polygon : polygons) {
        result.emplace_back();
        for (const POINT& pt : polygon) result.back().emplace_back(pt.x, pt.y);
    }
    return result;
}

inline Polygons ListPolygons(const HT_ClipRgn* pRegion) {
    Polygons polygons;
    for (const HT_ClipRgn* p = pRegion; p != nullptr; p = p->pNext) {
        polygons.emplace_back(p->pPoints, p->pPoints + p->nCount);
    }
    return polygons;
}

inline Polygons Pieces(const HT_PointerArray& pieces) {
    Polygons result;
    for (int i = 0; i < pieces.GetCount(); ++i) {
        const auto* pBytes = static_cast<const unsigned char*>(pieces.GetData(i));
        std::int32_t n = 0;
        std::memcpy(&n, pBytes, sizeof n);
        Polygon piece(static_cast<size_t>(n));
        std::memcpy(piece.data(), pBytes + sizeof n, sizeof(POINT) * piece.size());
        result.push_back(piece);
    }
    return result;
}

// Distance from (x, y) to the segment a-b.
inline double DistanceToSegment(double x, double y, const POINT& a, const POINT& b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double px = a.x + t * dx - x, py = a.y + t * dy - y;
    return std::sqrt(px * px + py * py);
}

inline double DistanceToBorder(const Polygons& polygons, double x, double y) {
    double best = INFINITY;
    for (const Polygon& polygon : polygons) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            const double d = DistanceToSegment(x, y, polygon[i], polygon[(i + 1) % polygon.size()]);
            if (d < best) best = d;
        }
    }
    return best;
}

// Even-odd over all polygons; a point within `tolerance` of an edge counts
// as inside (the region is closed).
inline bool Inside(const Polygons& polygons, double x, double y, double tolerance = 1e-6) {
    if (DistanceToBorder(polygons, x, y) <= tolerance) return true;
    bool bInside = false;
    for (const Polygon& polygon : polygons) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            const POINT& a = polygon[i];
            const POINT& b = polygon[(i + 1) % polygon.size()];
            if ((a.y > y) == (b.y > y)) continue;
            const double xCross = a.x + (y - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
            if (xCross > x) bInside = !bInside;
        }
    }
    return bInside;
}

// Area of normalised polygons (holes run against their outer contours).
inline double PolygonArea(const Polygons& polygons) {
    double twice = 0;
    for (const Polygon& polygon : polygons) {
        for (size_t i = 0; i < polygon.size(); ++i) {
            const POINT& a = polygon[i];
            const POINT& b = polygon[(i + 1) % polygon.size()];
            twice += double(a.x) * b.y - double(b.x) * a.y;
        }
    }
    return std::fabs(twice) / 2;
}

// Area of the region by counting unit cells whose centre is inside (exact
// for regions with integer, axis-parallel borders).
inline long long CellArea(const Polygons& polygons, LONG l, LONG t, LONG r, LONG b) {
    long long n = 0;
    for (LONG y = t; y < b; ++y) {
        for (LONG x = l; x < r; ++x) n += Inside(polygons, x + 0.5, y + 0.5, 0.0) ? 1 : 0;
    }
    return n;
}

}  // namespace region_test
