// Conversions between region lists and Clipper paths, and the few region
// facts that several region functions need.
#include <algorithm>
#include <new>

#include "region_internal.h"

namespace pxr_region {

using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

Path PathFromPoints(const POINT* pPoints, int nCount) {
    Path path;
    if (pPoints == nullptr || nCount <= 0)
        return path;
    path.reserve(size_t(nCount));
    for (int i = 0; i < nCount; ++i)
        path.emplace_back(pPoints[i].x, pPoints[i].y);
    return path;
}

Paths PathsFromList(const HT_ClipRgn* pRegion) {
    Paths paths;
    for (const HT_ClipRgn* p = pRegion; p != nullptr; p = p->pNext) {
        if (p->pPoints == nullptr || p->nCount < 3)
            continue;
        paths.push_back(PathFromPoints(p->pPoints, p->nCount));
    }
    return paths;
}

namespace {

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
              ClipperLib::PolyFillType subjectFill, ClipperLib::PolyFillType clipFill) {
    Paths result;
    if (!bAnyAdded)
        return result;
    if (!clipper.Execute(clipType, result, subjectFill, clipFill))
        throw std::bad_alloc();
    result.erase(std::remove_if(result.begin(), result.end(),
                                [](const Path& path) {
                                    return path.size() < 3 || ClipperLib::Area(path) == 0;
                                }),
                 result.end());
    return result;
}

}  // namespace

Paths Normalize(const Paths& paths, ClipperLib::PolyFillType fillType) {
    ClipperLib::Clipper clipper;
    const bool bAdded = clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    return Execute(clipper, bAdded, ClipperLib::ctUnion, fillType, fillType);
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
    const Paths result = Execute(clipper, bSubject || bClip, clipType, ClipperLib::pftEvenOdd,
                                 ClipperLib::pftEvenOdd);
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
            if (pt.X < left)
                left = pt.X;
            if (pt.X > right)
                right = pt.X;
            if (pt.Y < top)
                top = pt.Y;
            if (pt.Y > bottom)
                bottom = pt.Y;
        }
    }
    return {ClampToLong(left), ClampToLong(top), ClampToLong(right), ClampToLong(bottom)};
}

namespace {

// The path without repeated points and without points in the middle of a
// straight run.
Path CornersOf(const Path& path) {
    Path corners;
    for (const IntPoint& pt : path) {
        if (corners.empty() || !(corners.back() == pt))
            corners.push_back(pt);
    }
    while (corners.size() > 1 && corners.front() == corners.back())
        corners.pop_back();
    bool bChanged = true;
    while (bChanged && corners.size() >= 3) {
        bChanged = false;
        for (size_t i = 0; i < corners.size() && corners.size() >= 3; ++i) {
            const IntPoint& a = corners[(i + corners.size() - 1) % corners.size()];
            const IntPoint& b = corners[i];
            const IntPoint& c = corners[(i + 1) % corners.size()];
            const __int128 cross = static_cast<__int128>(b.X - a.X) * (c.Y - b.Y) -
                                   static_cast<__int128>(b.Y - a.Y) * (c.X - b.X);
            if (cross == 0) {
                corners.erase(corners.begin() + static_cast<long>(i));
                bChanged = true;
                break;
            }
        }
    }
    return corners;
}

}  // namespace

bool IsOneRectangle(const Paths& paths) {
    if (paths.size() != 1)
        return false;
    const Path corners = CornersOf(paths[0]);
    if (corners.size() != 4)
        return false;
    for (size_t i = 0; i < 4; ++i) {
        const IntPoint& a = corners[i];
        const IntPoint& b = corners[(i + 1) % 4];
        if (a.X != b.X && a.Y != b.Y)
            return false;
    }
    return true;
}

namespace {

HT_ClipRgn* NewElementFromPath(const Path& path) {
    HT_ClipRgn* pElement = NewElement(static_cast<LONG>(path.size()));
    if (pElement == nullptr)
        return nullptr;
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
        if (!bFailed)
            pTail = NewChain(paths, 1, &bFailed);
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
    if (paths.empty())
        return NewElement(0);
    bool bFailed = false;
    return NewChain(paths, 0, &bFailed);
}

}  // namespace pxr_region
