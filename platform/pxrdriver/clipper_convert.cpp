// Conversions between region lists and Clipper paths, and the few region
// facts that several region functions need.
#include <algorithm>
#include <new>

#include "region_internal.h"
#include "wide_int.h"

namespace pxr_region {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

Path PathFromPoints(const POINT* pPoints, int nCount) {
    Path path;
    if (pPoints == nullptr || nCount <= 0) return path;
    path.reserve(size_t(nCount));
    for (int i = 0; i < nCount; ++i) path.emplace_back(pPoints[i].x, pPoints[i].y);
    return path;
}

Paths PathsFromList(const HT_ClipRgn* pRegion) {
    Paths paths;
    for (const HT_ClipRgn* p = pRegion; p != nullptr; p = p->pNext) {
        if (p->pPoints == nullptr || p->nCount < 3) continue;
        paths.push_back(PathFromPoints(p->pPoints, p->nCount));
    }
    return paths;
}

namespace {

struct Box {
    ClipperLib::cInt left, top, right, bottom;
};

Box BoxOf(const Paths& paths) {
    Box box = {INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
    for (const Path& path : paths) {
        for (const IntPoint& pt : path) {
            box.left = std::min(box.left, pt.X);
            box.top = std::min(box.top, pt.Y);
            box.right = std::max(box.right, pt.X);
            box.bottom = std::max(box.bottom, pt.Y);
        }
    }
    return box;
}

// Twice the signed area, exact (coordinates are 32-bit, so the products fit).
WideInt TwiceArea(const Path& path) {
    WideInt twice = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const IntPoint& a = path[i];
        const IntPoint& b = path[(i + 1) % path.size()];
        twice += static_cast<WideInt>(a.X) * b.Y - static_cast<WideInt>(b.X) * a.Y;
    }
    return twice;
}

// Clipper reports its own failures (memory, or an intersection order it
// cannot resolve) by a false result; they all end the operation. Without any
// path that can hold area it reports false too, but the answer is simply
// nothing. Paths without area in a result are dropped.
//
// Results are not asked for strictly simple: Clipper's way to them takes
// time that grows with the square of the points (seconds for a star of a
// few thousand corners). Contours may thus touch themselves at a vertex,
// which neither the even-odd reading nor the plotter minds.
Paths Execute(ClipperLib::Clipper& clipper, bool bAnyAdded, ClipperLib::ClipType clipType,
              ClipperLib::PolyFillType subjectFill, ClipperLib::PolyFillType clipFill,
              const Box& limits) {
    Paths result;
    if (!bAnyAdded) return result;
    if (!clipper.Execute(clipType, result, subjectFill, clipFill)) throw std::bad_alloc();
    // Clipper rounds new crossing points and may put one a unit beyond the
    // operands; nothing may leave their bounds.
    for (Path& path : result) {
        for (IntPoint& pt : path) {
            pt.X = std::clamp(pt.X, limits.left, limits.right);
            pt.Y = std::clamp(pt.Y, limits.top, limits.bottom);
        }
    }
    result.erase(
        std::remove_if(result.begin(), result.end(),
                       [](const Path& path) { return path.size() < 3 || TwiceArea(path) == 0; }),
        result.end());
    return result;
}

}  // namespace

Paths Normalize(const Paths& paths, ClipperLib::PolyFillType fillType) {
    ClipperLib::Clipper clipper;
    const bool bAdded = clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    return Execute(clipper, bAdded, ClipperLib::ctUnion, fillType, fillType, BoxOf(paths));
}

Paths Combine(const Paths& subject, const Paths& clip, ClipperLib::ClipType clipType) {
    // Clipper goes astray on edges that lie on each other where they meet
    // at sharp angles; a region against an equal one is answered here.
    if (subject == clip) {
        const bool bKeep =
            clipType == ClipperLib::ctIntersection || clipType == ClipperLib::ctUnion;
        return bKeep ? subject : Paths();
    }
    ClipperLib::Clipper clipper;
    const bool bSubject = clipper.AddPaths(subject, ClipperLib::ptSubject, true);
    const bool bClip = clipper.AddPaths(clip, ClipperLib::ptClip, true);
    // The result lies within the bounds of what it is made of.
    const Box a = BoxOf(subject), b = BoxOf(clip);
    Box limits = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom)};
    if (clipType == ClipperLib::ctIntersection) {
        limits = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                  std::min(a.bottom, b.bottom)};
    } else if (clipType == ClipperLib::ctDifference) {
        limits = a;
    }
    if (limits.left > limits.right || limits.top > limits.bottom) return Paths();
    const Paths result = Execute(clipper, bSubject || bClip, clipType, ClipperLib::pftEvenOdd,
                                 ClipperLib::pftEvenOdd, limits);
    // Where edges of the two lie on each other, Clipper may return a contour
    // traced twice over the same ground (no area even-odd, yet edges to
    // stroke); read once more even-odd, it vanishes.
    return Normalize(result, ClipperLib::pftEvenOdd);
}

RECT Bounds(const Paths& paths) {
    bool bAny = false;
    ClipperLib::cInt left = 0, top = 0, right = 0, bottom = 0;
    for (const Path& path : paths) {
        for (const IntPoint& pt : path) {
            if (!bAny) {
                left = right = pt.X;
                top = bottom = pt.Y;
                bAny = true;
                continue;
            }
            if (pt.X < left) left = pt.X;
            if (pt.X > right) right = pt.X;
            if (pt.Y < top) top = pt.Y;
            if (pt.Y > bottom) bottom = pt.Y;
        }
    }
    return {ClampToLong(left), ClampToLong(top), ClampToLong(right), ClampToLong(bottom)};
}

bool IsOneRectangle(const Paths& paths) {
    // Level and upright edges only, and the area of the bounding box: then
    // the contour is that box, however many points it has on its sides.
    if (paths.size() != 1) return false;
    const Path& path = paths[0];
    for (size_t i = 0; i < path.size(); ++i) {
        const IntPoint& a = path[i];
        const IntPoint& b = path[(i + 1) % path.size()];
        if (a.X != b.X && a.Y != b.Y) return false;
    }
    const Box box = BoxOf(paths);
    const WideInt twiceBox =
        static_cast<WideInt>(box.right - box.left) * (box.bottom - box.top) * 2;
    const WideInt twice = TwiceArea(path);
    return twiceBox > 0 && (twice == twiceBox || twice == -twiceBox);
}

namespace {

HT_ClipRgn* NewElementFromPath(const Path& path) {
    HT_ClipRgn* pElement = NewElement(static_cast<LONG>(path.size()));
    if (pElement == nullptr) return nullptr;
    for (size_t i = 0; i < path.size(); ++i) {
        pElement->pPoints[i] = {ClampToLong(path[i].X), ClampToLong(path[i].Y)};
    }
    return pElement;
}

// A list of the paths from the index on; null for none or when memory fails
// (*pbFailed tells which).
HT_ClipRgn* NewChain(const Paths& paths, size_t nFirst, bool* pbFailed) {
    HT_ClipRgn* pHead = nullptr;
    HT_ClipRgn** ppLink = &pHead;
    *pbFailed = false;
    for (size_t i = nFirst; i < paths.size(); ++i) {
        HT_ClipRgn* pElement = NewElementFromPath(paths[i]);
        if (pElement == nullptr) {
            HT_DeleteRgn(pHead);
            *pbFailed = true;
            return nullptr;
        }
        *ppLink = pElement;
        ppLink = &pElement->pNext;
    }
    return pHead;
}

}  // namespace

bool StorePaths(HT_ClipRgn* pHead, const Paths& paths) {
    // Everything new is allocated before the old list is touched.
    POINT* pHeadPoints = nullptr;
    LONG nHeadCount = 0;
    HT_ClipRgn* pTail = nullptr;
    bool bFailed = false;
    if (!paths.empty() && paths.size() <= size_t(INT32_MAX) &&
        paths[0].size() <= size_t(INT32_MAX)) {
        nHeadCount = static_cast<LONG>(paths[0].size());
        pHeadPoints = static_cast<POINT*>(HT_Malloc(sizeof(POINT) * paths[0].size()));
        bFailed = pHeadPoints == nullptr;
        if (!bFailed) pTail = NewChain(paths, 1, &bFailed);
    } else if (!paths.empty()) {
        bFailed = true;
    }
    FreeTail(pHead);
    HT_Free(pHead->pPoints);
    pHead->pPoints = nullptr;
    pHead->nCount = 0;
    if (bFailed) {
        HT_Free(pHeadPoints);
        return false;
    }
    for (LONG i = 0; i < nHeadCount; ++i) {
        pHeadPoints[i] = {ClampToLong(paths[0][size_t(i)].X), ClampToLong(paths[0][size_t(i)].Y)};
    }
    pHead->pPoints = pHeadPoints;
    pHead->nCount = nHeadCount;
    pHead->pNext = pTail;
    return true;
}

HT_ClipRgn* NewListFromPaths(const Paths& paths) {
    if (paths.empty()) return NewElement(0);
    bool bFailed = false;
    return NewChain(paths, 0, &bFailed);
}

}  // namespace pxr_region
