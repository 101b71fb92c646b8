// Arbitrary polygons and polylines through the region functions: the clip
// region folded into the page, its inner rectangle, polyline clipping and
// region algebra. Checks that nothing drawn lies outside the region and that
// the inner rectangle lies inside it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "pxrdriver/regions.h"

namespace {

struct Reader {
    const std::uint8_t* p;
    size_t n;
    std::uint8_t Byte() {
        if (n == 0) return 0;
        --n;
        return *p++;
    }
    // Small coordinates most of the time, so that shapes meet; the whole
    // 32-bit range when the fuzzer asks for it.
    LONG Coordinate(bool bWide) {
        if (!bWide) return LONG(std::int8_t(Byte())) * 4;
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
        return LONG(std::int32_t(v));
    }
    std::vector<POINT> Points(bool bWide) {
        std::vector<POINT> points(Byte() % 24);
        for (POINT& pt : points) {
            pt.x = Coordinate(bWide);
            pt.y = Coordinate(bWide);
        }
        return points;
    }
};

HT_ClipRgn* NewElement(const std::vector<POINT>& points) {
    auto* p = static_cast<HT_ClipRgn*>(HT_Malloc(sizeof(HT_ClipRgn)));
    p->nFlags = 0;
    p->pNext = nullptr;
    p->nCount = LONG(points.size());
    p->pPoints = static_cast<POINT*>(HT_Malloc(sizeof(POINT) * points.size()));
    if (!points.empty()) std::memcpy(p->pPoints, points.data(), sizeof(POINT) * points.size());
    return p;
}

double DistanceToSegment(double x, double y, const POINT& a, const POINT& b) {
    const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(a.x + t * dx - x, a.y + t * dy - y);
}

// Even-odd over the list, border inside; `slack` widens the border.
bool Inside(const HT_ClipRgn* pRegion, double x, double y, double slack) {
    bool bInside = false;
    for (const HT_ClipRgn* e = pRegion; e != nullptr; e = e->pNext) {
        for (LONG i = 0; i < e->nCount; ++i) {
            const POINT& a = e->pPoints[i];
            const POINT& b = e->pPoints[(i + 1) % e->nCount];
            if (DistanceToSegment(x, y, a, b) <= slack) return true;
            if ((a.y > y) == (b.y > y)) continue;
            if (a.x + (y - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y) > x) bInside = !bInside;
        }
    }
    return bInside;
}

[[noreturn]] void Fail(int nLine) {
    std::fprintf(stderr, "check failed at line %d\n", nLine);
    std::abort();
}

// Area of normalised polygons (holes run against their outer contours).
double Area(const HT_ClipRgn* pRegion) {
    double twice = 0;
    for (const HT_ClipRgn* e = pRegion; e != nullptr; e = e->pNext) {
        for (LONG i = 0; i < e->nCount; ++i) {
            const POINT& a = e->pPoints[i];
            const POINT& b = e->pPoints[(i + 1) % e->nCount];
            twice += double(a.x) * b.y - double(b.x) * a.y;
        }
    }
    return std::fabs(twice) / 2;
}

double Perimeter(const HT_ClipRgn* pRegion) {
    double length = 0;
    for (const HT_ClipRgn* e = pRegion; e != nullptr; e = e->pNext) {
        for (LONG i = 0; i < e->nCount; ++i) {
            const POINT& a = e->pPoints[i];
            const POINT& b = e->pPoints[(i + 1) % e->nCount];
            length += std::hypot(double(b.x) - a.x, double(b.y) - a.y);
        }
    }
    return length;
}

}  // namespace

#define CHECK(condition) ((condition) ? void(0) : Fail(__LINE__))

namespace {}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    Reader in{data, size};
    const std::uint8_t flags = in.Byte();
    const bool bWide = flags & 1;
    const LONG nPage = bWide ? 0x7FFFFFFF : 400;

    // The page with the clip polygons behind it, folded.
    HT_ClipRgn* pRegion = HT_CreateRectRgnData(POINT{-nPage, -nPage}, POINT{nPage, nPage});
    HT_ClipRgn** ppLink = &pRegion->pNext;
    for (int k = in.Byte() % 4; k > 0; --k) {
        *ppLink = NewElement(in.Points(bWide));
        ppLink = &(*ppLink)->pNext;
    }
    HT_ClipRgn* pCopy = HT_CloneRgnData(pRegion);
    CRect bounds;
    const int bRect = HT_StandardClipRgn(pRegion, &bounds);
    CHECK(bounds.left >= -nPage && bounds.right <= nPage && bounds.left <= bounds.right);
    if (bRect) CHECK(pRegion->pNext == nullptr && pRegion->nCount >= 4);

    CRect inner;
    if (HT_GetRgnMinRect(pRegion, &inner)) {
        const double xs[] = {double(inner.left), (double(inner.left) + inner.right) / 2,
                             double(inner.right)};
        const double ys[] = {double(inner.top), (double(inner.top) + inner.bottom) / 2,
                             double(inner.bottom)};
        for (double x : xs) {
            for (double y : ys)
                CHECK(Inside(pRegion, x, y, 1e-6 * (1 + std::fabs(x) + std::fabs(y))));
        }
    }

    // A polyline through the region: every piece within rounding of it.
    const std::vector<POINT> line = in.Points(bWide);
    const int nCount = (flags & 2) ? -int(line.size()) : int(line.size());
    HT_PointerArray pieces(0, nullptr, HT_Free);
    HT_ClipLine(pRegion, line.data(), nCount, &pieces);
    for (int i = 0; i < pieces.GetCount(); ++i) {
        const auto* pBytes = static_cast<const unsigned char*>(pieces.GetData(i));
        std::int32_t n = 0;
        std::memcpy(&n, pBytes, sizeof n);
        CHECK(n >= 2 && size_t(n) <= 2 * line.size());
        std::vector<POINT> piece(static_cast<size_t>(n));
        std::memcpy(piece.data(), pBytes + sizeof n, sizeof(POINT) * piece.size());
        for (size_t k = 0; k + 1 < piece.size(); ++k) {
            const double x = (double(piece[k].x) + piece[k + 1].x) / 2;
            const double y = (double(piece[k].y) + piece[k + 1].y) / 2;
            CHECK(Inside(pRegion, x, y, 1.0 + 1e-6 * (std::fabs(x) + std::fabs(y))));
        }
    }
    pieces.Clear();

    // Region algebra with the polyline taken as a polygon.
    CKestRgn clip(pRegion), shape, result;
    shape.CreatePolygonRgn(line.data(), int(line.size()), (flags & 4) ? WINDING : ALTERNATE);
    for (int nMode = RGN_AND; nMode <= RGN_COPY; ++nMode) {
        const int nKind = CKestRgn::CombineRgn(&result, &shape, &clip, nMode);
        RECT box;
        CHECK(result.GetRgnBox(&box) == nKind || nKind == ERROR);
        const HT_ClipRgn* pList = result.GetClipRgnRef();
        if (pList != nullptr && nMode == RGN_AND && nKind != ERROR && nKind != NULLREGION) {
            CHECK(box.left >= bounds.left && box.right <= bounds.right);
        }
    }
    // A region against itself leaves nothing, up to the slivers of a few
    // units that Clipper leaves where nearly parallel edges meet.
    const double perimeter = Perimeter(shape.GetClipRgnRef());
    if (CKestRgn::CombineRgn(&shape, &shape, &shape, RGN_XOR) != ERROR) {
        CHECK(Area(shape.GetClipRgnRef()) <= 4 * perimeter + 1);
    }

    HT_DeleteRgn(pCopy);
    HT_DeleteRgn(pRegion);
    return 0;
}
