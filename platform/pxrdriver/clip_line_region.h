// A region prepared for clipping many line segments against it: the edges of
// its normalised polygons, listed in the cells of a grid over the region.
//
// The region is taken as closed: a point on an edge is inside, so a line
// running along the region's border is kept.
#pragma once

#include <cstdint>
#include <vector>

#include "region_internal.h"

// Nothing here is part of the library's interface.
#pragma GCC visibility push(hidden)

namespace pxr_region {

// One boundary edge from A to B (32-bit device coordinates).
struct ClipEdge {
    std::int32_t ax, ay, bx, by;
};

// A part of a segment P + t·(Q − P), 0 <= t0 < t1 <= 1, with whether it lies
// in the region.
struct SegmentSpan {
    double t0, t1;
    bool bInside;
};

class ClipLineRegion {
public:
    // The region of a list, read even-odd. Throws what Clipper throws.
    explicit ClipLineRegion(const HT_ClipRgn* pRegion);

    bool IsEmpty() const { return m_edges.empty(); }

    // Whether the integer point lies in the closed region.
    bool Contains(std::int64_t x, std::int64_t y);

    // Splits the segment from P to Q (P != Q) at every place where it meets
    // the border and tells for every part whether it lies inside; adjacent
    // parts with the same answer are joined. The result is in order of t.
    void Split(std::int64_t px, std::int64_t py, std::int64_t qx, std::int64_t qy,
               std::vector<SegmentSpan>* pSpans);

private:
    void BuildGrid();
    void MarkCellCentres();
    // Calls visit(cell index) for every cell that the closed segment from
    // (x0, y0) to (x1, y1) may touch, with a margin of one unit.
    template <typename Visit>
    void ForCellsAlong(double x0, double y0, double x1, double y1, Visit visit) const;
    // Calls visit(edge) once for every edge listed in those cells.
    template <typename Visit>
    void ForEdgesAlong(double x0, double y0, double x1, double y1, Visit visit);
    int ColumnOf(double x) const;
    int RowOf(double y) const;
    double CentreX(int nColumn) const;
    double CentreY(int nRow) const;
    // Whether a point that lies on no edge is inside.
    bool InsideAt(double x, double y) const;

    std::vector<ClipEdge> m_edges;
    std::int64_t m_left = 0, m_top = 0, m_right = 0, m_bottom = 0;  // vertex bounds
    // A grid of m_nColumns x m_nRows cells of m_cellWidth x m_cellHeight
    // from (m_left, m_top); each cell lists every edge that touches it.
    std::int64_t m_cellWidth = 1, m_cellHeight = 1;
    int m_nColumns = 1, m_nRows = 1;
    std::vector<std::uint32_t> m_cellStart;  // cells + 1 offsets into m_cellEdges
    std::vector<std::uint32_t> m_cellEdges;
    std::vector<char> m_centreInside;    // per cell: whether its centre is inside
    std::vector<std::uint32_t> m_stamp;  // per edge: last visit, to visit once per query
    std::uint32_t m_nStamp = 0;
    // Scratch of Split, kept to spare allocations per segment.
    std::vector<double> m_breaks;
    std::vector<std::pair<double, double>> m_onEdge;
};

// The prepared form of the list, reused while calls pass a list with the same
// polygons. Throws what Clipper throws.
ClipLineRegion& PreparedClipRegion(const HT_ClipRgn* pRegion);

}  // namespace pxr_region

#pragma GCC visibility pop
