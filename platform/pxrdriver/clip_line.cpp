// HT_ClipLine: a polyline clipped to a region, in visible pieces.
//
// Each segment is split where it meets the region's border and the inside
// parts are strung together in drawing order, so the pieces keep the
// direction of the polyline (line types run on in the drawn direction) and a
// polyline wholly inside comes back unchanged, point for point. An end of a
// piece that lies between two input points is rounded to the nearest device
// unit.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "clip_line_region.h"

namespace {

using pxr_region::ClipLineRegion;
using pxr_region::SegmentSpan;

// Collects the points of the current piece and hands finished pieces to the
// array.
class PieceCollector {
public:
    explicit PieceCollector(HT_PointerArray* pPieces) : m_pPieces(pPieces) {}

    bool IsOpen() const { return !m_points.empty(); }
    void Append(const POINT& pt) { m_points.push_back(pt); }

    // Hands the piece over when it has at least two points. False when
    // memory fails; the piece is then dropped.
    bool Finish() {
        bool bDone = true;
        if (m_points.size() >= 2) bDone = Hand();
        m_points.clear();
        return bDone;
    }

private:
    bool Hand() {
        if (m_points.size() > size_t(INT32_MAX)) return false;
        const std::int32_t nCount = static_cast<std::int32_t>(m_points.size());
        const size_t nBytes = sizeof nCount + sizeof(POINT) * m_points.size();
        auto* pPiece = static_cast<unsigned char*>(m_pPieces->Allocate(nBytes));
        if (pPiece == nullptr) return false;
        std::memcpy(pPiece, &nCount, sizeof nCount);
        std::memcpy(pPiece + sizeof nCount, m_points.data(), sizeof(POINT) * m_points.size());
        if (m_pPieces->Add(pPiece) < 0) {
            m_pPieces->Free(pPiece);
            return false;
        }
        return true;
    }

    HT_PointerArray* m_pPieces;
    std::vector<POINT> m_points;
};

// The point at t along the segment, rounded; the ends are exact.
POINT PointAt(const POINT& p, const POINT& q, double t) {
    if (t <= 0.0) return p;
    if (t >= 1.0) return q;
    const auto at = [t](LONG a, LONG b) {
        const double v = std::round(a + t * (static_cast<double>(b) - a));
        return static_cast<LONG>(std::clamp(v, static_cast<double>(std::min(a, b)),
                                            static_cast<double>(std::max(a, b))));
    };
    return {at(p.x, q.x), at(p.y, q.y)};
}

// Clips one polyline of nCount >= 2 points. False when memory failed.
bool ClipPolyline(ClipLineRegion& region, const POINT* pPoints, size_t nCount,
                  PieceCollector& pieces, std::vector<SegmentSpan>& spans) {
    for (size_t i = 0; i + 1 < nCount; ++i) {
        const POINT& p = pPoints[i];
        const POINT& q = pPoints[i + 1];
        if (p.x == q.x && p.y == q.y) {
            // A repeated point stays in its piece; alone it is a dot.
            if (!pieces.IsOpen() && region.Contains(p.x, p.y)) pieces.Append(p);
            if (pieces.IsOpen()) pieces.Append(q);
            continue;
        }
        region.Split(p.x, p.y, q.x, q.y, &spans);
        for (const SegmentSpan& span : spans) {
            if (!span.bInside) {
                if (!pieces.Finish()) return false;
                continue;
            }
            if (!pieces.IsOpen()) pieces.Append(PointAt(p, q, span.t0));
            pieces.Append(PointAt(p, q, span.t1));
        }
    }
    return pieces.Finish();
}

// Without a region nothing is clipped: the polyline is one piece.
void CopyUnclipped(const POINT* pPoints, size_t nCount, PieceCollector& pieces) {
    for (size_t i = 0; i < nCount; ++i) pieces.Append(pPoints[i]);
    pieces.Finish();
}

}  // namespace

void HT_ClipLine(const HT_ClipRgn* pRegion, const POINT* pPoints, int nCount,
                 HT_PointerArray* pPieces) {
    if (pPieces == nullptr || pPoints == nullptr) return;
    // A negative count means separate two-point segments, as the polyline
    // callbacks take it: -(count / 2) of them.
    const bool bSegments = nCount < 0;
    const size_t nLines = bSegments ? size_t(-(static_cast<long long>(nCount) / 2)) : 1;
    const size_t nPerLine = bSegments ? 2 : size_t(std::max(nCount, 0));
    if (nPerLine < 2) return;
    try {
        PieceCollector pieces(pPieces);
        if (pRegion == nullptr) {
            for (size_t i = 0; i < nLines; ++i)
                CopyUnclipped(pPoints + i * nPerLine, nPerLine, pieces);
            return;
        }
        ClipLineRegion& region = pxr_region::PreparedClipRegion(pRegion);
        if (region.IsEmpty()) return;
        std::vector<SegmentSpan> spans;
        for (size_t i = 0; i < nLines; ++i) {
            if (!ClipPolyline(region, pPoints + i * nPerLine, nPerLine, pieces, spans)) return;
        }
    } catch (...) {
        // Memory ran out: the pieces found so far stay in the array.
    }
}
