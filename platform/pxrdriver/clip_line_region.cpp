// The prepared clip region of HT_ClipLine: edges of the normalised region in
// the cells of a grid, segment splitting and point tests.
//
// Where a segment meets an edge is found with exact integer arithmetic
// (products of 33-bit differences need up to 66 bits: 128-bit integers); only
// the position of a crossing along a segment is a double, far finer than
// the whole device units that the pieces are rounded to. Whether a point off
// the border is inside is answered within its grid cell: the cell's centre is
// known to be inside or not, and every edge between the centre and the point
// is listed in the cell.
#include "clip_line_region.h"
#include "wide_int.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace pxr_region {

namespace {

using Wide = WideInt;

// About two cells an edge keep the lists short.
constexpr double kCellsPerEdge = 2;
constexpr int kMaxCellsPerSide = 1024;
// Room for at most this many edge entries in the cells; regions of long
// edges get a coarser grid.
constexpr double kMaxEntries = 24'000'000;
// Cells are taken one unit larger on every side, against rounding.
constexpr double kMargin = 1;
// Cell centres sit off the half-unit positions, so that no row of centres
// runs through a vertex.
constexpr double kCentreOffsetX = 0.1234567;
constexpr double kCentreOffsetY = 0.2345678;
// Breaks closer than this along a segment are one break: the same crossing
// computed from two edges (a vertex on the segment).
constexpr double kBreakTolerance = 1e-15;

Wide Cross(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
    return static_cast<Wide>(ax) * by - static_cast<Wide>(ay) * bx;
}

Wide Dot(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
    return static_cast<Wide>(ax) * bx + static_cast<Wide>(ay) * by;
}

double Orientation(double px, double py, double qx, double qy, double rx, double ry) {
    return (qx - px) * (ry - py) - (qy - py) * (rx - px);
}

}  // namespace

ClipLineRegion::ClipLineRegion(const HT_ClipRgn* pRegion) {
    const ClipperLib::Paths paths = Normalize(PathsFromList(pRegion), ClipperLib::pftEvenOdd);
    for (const ClipperLib::Path& path : paths) {
        for (size_t i = 0; i < path.size(); ++i) {
            const ClipperLib::IntPoint& a = path[i];
            const ClipperLib::IntPoint& b = path[(i + 1) % path.size()];
            if (a == b) continue;
            m_edges.push_back(
                {ClampToLong(a.X), ClampToLong(a.Y), ClampToLong(b.X), ClampToLong(b.Y)});
        }
    }
    if (m_edges.empty()) return;
    m_left = m_right = m_edges[0].ax;
    m_top = m_bottom = m_edges[0].ay;
    for (const ClipEdge& e : m_edges) {
        m_left = std::min<std::int64_t>(m_left, e.ax);
        m_right = std::max<std::int64_t>(m_right, e.ax);
        m_top = std::min<std::int64_t>(m_top, e.ay);
        m_bottom = std::max<std::int64_t>(m_bottom, e.ay);
    }
    m_stamp.assign(m_edges.size(), 0);
    BuildGrid();
    MarkCellCentres();
}

void ClipLineRegion::BuildGrid() {
    const double width = std::max<std::int64_t>(1, m_right - m_left);
    const double height = std::max<std::int64_t>(1, m_bottom - m_top);
    const double nCells = kCellsPerEdge * m_edges.size();
    double columns = std::round(std::sqrt(nCells * width / height));
    columns = std::clamp<double>(columns, 1, kMaxCellsPerSide);
    double rows = std::clamp<double>(std::round(nCells / columns), 1, kMaxCellsPerSide);
    for (;;) {
        m_cellWidth = std::max<std::int64_t>(1, std::int64_t(std::ceil(width / columns)));
        m_cellHeight = std::max<std::int64_t>(1, std::int64_t(std::ceil(height / rows)));
        m_nColumns = int(std::ceil(width / m_cellWidth));
        m_nRows = int(std::ceil(height / m_cellHeight));
        if (columns <= 1 && rows <= 1) break;
        // Cells an edge passes through, with the margin.
        double entries = 0;
        for (const ClipEdge& e : m_edges) {
            entries +=
                3 * (std::fabs(static_cast<double>(std::int64_t(e.bx) - e.ax)) / m_cellWidth +
                     std::fabs(static_cast<double>(std::int64_t(e.by) - e.ay)) / m_cellHeight + 4);
        }
        if (entries <= kMaxEntries) break;
        columns = std::max<double>(1, std::floor(columns / 2));
        rows = std::max<double>(1, std::floor(rows / 2));
    }

    const size_t nCellCount = size_t(m_nColumns) * size_t(m_nRows);
    std::vector<std::uint32_t> counts(nCellCount, 0);
    for (const ClipEdge& e : m_edges) {
        ForCellsAlong(e.ax, e.ay, e.bx, e.by, [&](size_t cell) { ++counts[cell]; });
    }
    m_cellStart.assign(nCellCount + 1, 0);
    for (size_t i = 0; i < nCellCount; ++i) m_cellStart[i + 1] = m_cellStart[i] + counts[i];
    m_cellEdges.resize(m_cellStart.back());
    std::vector<std::uint32_t> fill(m_cellStart.begin(), m_cellStart.end() - 1);
    for (size_t i = 0; i < m_edges.size(); ++i) {
        const ClipEdge& e = m_edges[i];
        ForCellsAlong(e.ax, e.ay, e.bx, e.by,
                      [&](size_t cell) { m_cellEdges[fill[cell]++] = std::uint32_t(i); });
    }
}

void ClipLineRegion::MarkCellCentres() {
    // Along each row of centres, a centre is inside when an odd number of
    // edges cross the row to its right.
    m_centreInside.assign(size_t(m_nColumns) * size_t(m_nRows), 0);
    std::vector<double> crossings;
    for (int r = 0; r < m_nRows; ++r) {
        const double y = CentreY(r);
        crossings.clear();
        if (++m_nStamp == 0) {
            std::fill(m_stamp.begin(), m_stamp.end(), 0);
            m_nStamp = 1;
        }
        const size_t rowStart = size_t(r) * size_t(m_nColumns);
        for (size_t cell = rowStart; cell < rowStart + size_t(m_nColumns); ++cell) {
            for (std::uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
                const std::uint32_t i = m_cellEdges[k];
                if (m_stamp[i] == m_nStamp) continue;
                m_stamp[i] = m_nStamp;
                const ClipEdge& e = m_edges[i];
                if ((e.ay > y) == (e.by > y)) continue;
                crossings.push_back(e.ax + (y - e.ay) *
                                               static_cast<double>(std::int64_t(e.bx) - e.ax) /
                                               static_cast<double>(std::int64_t(e.by) - e.ay));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (int c = 0; c < m_nColumns; ++c) {
            const double x = CentreX(c);
            const size_t nRight =
                size_t(crossings.end() - std::upper_bound(crossings.begin(), crossings.end(), x));
            m_centreInside[rowStart + size_t(c)] = (nRight % 2) == 1;
        }
    }
}

int ClipLineRegion::ColumnOf(double x) const {
    // Truncation is the floor for what is not negative.
    const double c = (x - m_left) / m_cellWidth;
    return c < 0 ? 0 : (c >= m_nColumns ? m_nColumns - 1 : int(c));
}

int ClipLineRegion::RowOf(double y) const {
    const double r = (y - m_top) / m_cellHeight;
    return r < 0 ? 0 : (r >= m_nRows ? m_nRows - 1 : int(r));
}

double ClipLineRegion::CentreX(int nColumn) const {
    return m_left + static_cast<double>(nColumn) * m_cellWidth + m_cellWidth / 2.0 + kCentreOffsetX;
}

double ClipLineRegion::CentreY(int nRow) const {
    return m_top + static_cast<double>(nRow) * m_cellHeight + m_cellHeight / 2.0 + kCentreOffsetY;
}

template <typename Visit>
void ClipLineRegion::ForCellsAlong(double x0, double y0, double x1, double y1, Visit visit) const {
    const double yLow = std::min(y0, y1), yHigh = std::max(y0, y1);
    const int r0 = RowOf(yLow - kMargin), r1 = RowOf(yHigh + kMargin);
    for (int r = r0; r <= r1; ++r) {
        // The part of the segment within the row (with margins), as x range.
        const double rowTop = m_top + static_cast<double>(r) * m_cellHeight - kMargin;
        const double rowBottom = rowTop + m_cellHeight + 2 * kMargin;
        const double a = std::max(rowTop, yLow), b = std::min(rowBottom, yHigh);
        double xLow = std::min(x0, x1), xHigh = std::max(x0, x1);
        if (y0 != y1 && a <= b) {
            const double xa = x0 + (a - y0) * (x1 - x0) / (y1 - y0);
            const double xb = x0 + (b - y0) * (x1 - x0) / (y1 - y0);
            xLow = std::max(xLow, std::min(xa, xb));
            xHigh = std::min(xHigh, std::max(xa, xb));
        }
        const int c0 = ColumnOf(xLow - kMargin), c1 = ColumnOf(xHigh + kMargin);
        for (int c = c0; c <= c1; ++c) visit(size_t(r) * size_t(m_nColumns) + size_t(c));
    }
}

template <typename Visit>
void ClipLineRegion::ForEdgesAlong(double x0, double y0, double x1, double y1, Visit visit) {
    if (++m_nStamp == 0) {
        std::fill(m_stamp.begin(), m_stamp.end(), 0);
        m_nStamp = 1;
    }
    ForCellsAlong(x0, y0, x1, y1, [&](size_t cell) {
        for (std::uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
            const std::uint32_t i = m_cellEdges[k];
            if (m_stamp[i] == m_nStamp) continue;
            m_stamp[i] = m_nStamp;
            visit(m_edges[i]);
        }
    });
}

bool ClipLineRegion::InsideAt(double x, double y) const {
    if (x < m_left || x > m_right || y < m_top || y > m_bottom) return false;
    const int c = ColumnOf(x), r = RowOf(y);
    const size_t cell = size_t(r) * size_t(m_nColumns) + size_t(c);
    const double cx = CentreX(c), cy = CentreY(r);
    // Each edge crossed on the way from the centre to the point flips the
    // answer. An end of an edge on that way counts on one side only, so an
    // edge pair through a vertex flips it once or not at all, as it should.
    // Coordinates from the centre keep the products small and exact enough.
    const double mx = x - cx, my = y - cy;
    bool bInside = m_centreInside[cell] != 0;
    for (std::uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
        const ClipEdge& e = m_edges[m_cellEdges[k]];
        const double ax = e.ax - cx, ay = e.ay - cy, bx = e.bx - cx, by = e.by - cy;
        const bool bSideA = Orientation(0, 0, mx, my, ax, ay) >= 0;
        const bool bSideB = Orientation(0, 0, mx, my, bx, by) >= 0;
        if (bSideA == bSideB) continue;
        const bool bSideCentre = Orientation(ax, ay, bx, by, 0, 0) >= 0;
        const bool bSidePoint = Orientation(ax, ay, bx, by, mx, my) >= 0;
        if (bSideCentre != bSidePoint) bInside = !bInside;
    }
    return bInside;
}

bool ClipLineRegion::Contains(std::int64_t x, std::int64_t y) {
    if (m_edges.empty() || x < m_left || x > m_right || y < m_top || y > m_bottom) return false;
    const size_t cell = size_t(RowOf(y)) * size_t(m_nColumns) + size_t(ColumnOf(x));
    for (std::uint32_t k = m_cellStart[cell]; k < m_cellStart[cell + 1]; ++k) {
        const ClipEdge& e = m_edges[m_cellEdges[k]];
        if (x < std::min(e.ax, e.bx) || x > std::max(e.ax, e.bx) || y < std::min(e.ay, e.by) ||
            y > std::max(e.ay, e.by)) {
            continue;
        }
        if (Cross(std::int64_t(e.bx) - e.ax, std::int64_t(e.by) - e.ay, x - e.ax, y - e.ay) == 0) {
            return true;  // on the border
        }
    }
    return InsideAt(x, y);
}

void ClipLineRegion::Split(std::int64_t px, std::int64_t py, std::int64_t qx, std::int64_t qy,
                           std::vector<SegmentSpan>* pSpans) {
    pSpans->clear();
    const std::int64_t x0 = std::min(px, qx), x1 = std::max(px, qx);
    const std::int64_t y0 = std::min(py, qy), y1 = std::max(py, qy);
    if (m_edges.empty() || x1 < m_left || x0 > m_right || y1 < m_top || y0 > m_bottom) {
        pSpans->push_back({0.0, 1.0, false});
        return;
    }
    const std::int64_t dx = qx - px, dy = qy - py;
    const Wide dd = Dot(dx, dy, dx, dy);
    m_breaks.clear();
    m_onEdge.clear();
    m_breaks.push_back(0.0);
    m_breaks.push_back(1.0);
    ForEdgesAlong(px, py, qx, qy, [&](const ClipEdge& e) {
        if (std::max(e.ax, e.bx) < x0 || std::min(e.ax, e.bx) > x1 || std::max(e.ay, e.by) < y0 ||
            std::min(e.ay, e.by) > y1) {
            return;
        }
        const std::int64_t ex = std::int64_t(e.bx) - e.ax, ey = std::int64_t(e.by) - e.ay;
        const std::int64_t apx = e.ax - px, apy = e.ay - py;
        Wide denom = Cross(dx, dy, ex, ey);
        if (denom != 0) {
            Wide tNum = Cross(apx, apy, ex, ey);
            Wide uNum = Cross(apx, apy, dx, dy);
            if (denom < 0) {
                denom = -denom;
                tNum = -tNum;
                uNum = -uNum;
            }
            if (tNum < 0 || tNum > denom || uNum < 0 || uNum > denom) return;
            m_breaks.push_back(static_cast<double>(tNum) / static_cast<double>(denom));
            return;
        }
        if (Cross(apx, apy, dx, dy) != 0) return;  // parallel, apart
        // Collinear: the part of the segment along the edge is border.
        double tA = static_cast<double>(Dot(apx, apy, dx, dy)) / static_cast<double>(dd);
        double tB =
            static_cast<double>(Dot(e.bx - px, e.by - py, dx, dy)) / static_cast<double>(dd);
        if (tA > tB) std::swap(tA, tB);
        tA = std::max(tA, 0.0);
        tB = std::min(tB, 1.0);
        if (tA > tB) return;
        m_breaks.push_back(tA);
        m_breaks.push_back(tB);
        m_onEdge.emplace_back(tA, tB);
    });

    std::sort(m_breaks.begin(), m_breaks.end());
    size_t nKept = 0;
    for (double t : m_breaks) {
        if (t <= kBreakTolerance) t = 0.0;
        if (t >= 1.0 - kBreakTolerance) t = 1.0;
        if (nKept > 0 && t - m_breaks[nKept - 1] <= kBreakTolerance) {
            m_breaks[nKept - 1] = std::max(m_breaks[nKept - 1], t);
            continue;
        }
        m_breaks[nKept++] = t;
    }
    m_breaks.resize(nKept);
    if (m_breaks.size() < 2) m_breaks = {0.0, 1.0};

    for (size_t i = 0; i + 1 < m_breaks.size(); ++i) {
        const double t0 = m_breaks[i], t1 = m_breaks[i + 1];
        const double tMid = (t0 + t1) / 2;
        bool bInside = false;
        for (const auto& span : m_onEdge) {
            if (span.first <= tMid && tMid <= span.second) {
                bInside = true;
                break;
            }
        }
        if (!bInside) bInside = InsideAt(px + tMid * dx, py + tMid * dy);
        if (!pSpans->empty() && pSpans->back().bInside == bInside) {
            pSpans->back().t1 = t1;
        } else {
            pSpans->push_back({t0, t1, bInside});
        }
    }
}

namespace {

// The list's polygons as they enter the region, flattened: count, then x, y
// of every point, for each element that can enclose area.
bool KeyMatches(const HT_ClipRgn* pRegion, const std::vector<std::int32_t>& key) {
    size_t k = 0;
    for (const HT_ClipRgn* p = pRegion; p != nullptr; p = p->pNext) {
        if (p->pPoints == nullptr || p->nCount < 3) continue;
        const size_t n = size_t(p->nCount);
        if (key.size() - k < 1 + 2 * n || key[k] != p->nCount) return false;
        ++k;
        for (size_t i = 0; i < n; ++i, k += 2) {
            if (key[k] != p->pPoints[i].x || key[k + 1] != p->pPoints[i].y) return false;
        }
    }
    return k == key.size();
}

std::vector<std::int32_t> KeyOf(const HT_ClipRgn* pRegion) {
    std::vector<std::int32_t> key;
    for (const HT_ClipRgn* p = pRegion; p != nullptr; p = p->pNext) {
        if (p->pPoints == nullptr || p->nCount < 3) continue;
        key.push_back(p->nCount);
        for (LONG i = 0; i < p->nCount; ++i) {
            key.push_back(p->pPoints[i].x);
            key.push_back(p->pPoints[i].y);
        }
    }
    return key;
}

struct PreparedCache {
    std::vector<std::int32_t> key;
    std::unique_ptr<ClipLineRegion> pRegion;
};

}  // namespace

ClipLineRegion& PreparedClipRegion(const HT_ClipRgn* pRegion) {
    // The driver clips every polyline of a page against the same region, so
    // the prepared region is kept per thread, keyed by the list's points.
    thread_local PreparedCache cache;
    if (cache.pRegion != nullptr && KeyMatches(pRegion, cache.key)) return *cache.pRegion;
    cache.pRegion.reset();
    cache.key.clear();
    std::vector<std::int32_t> key = KeyOf(pRegion);
    auto pPrepared = std::make_unique<ClipLineRegion>(pRegion);
    cache.key = std::move(key);
    cache.pRegion = std::move(pPrepared);
    return *cache.pRegion;
}

}  // namespace pxr_region
