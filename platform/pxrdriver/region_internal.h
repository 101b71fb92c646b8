// Shared inner workings of the region functions: list elements, and the
// conversions between region lists and Clipper paths.
//
// Every element of a region list and its point array are separate HT_Malloc
// blocks, so that HT_StandardClipRgn can give the head element new points
// while the caller keeps holding the head.
#pragma once

#include <clipper.hpp>
#include <cstdint>

#include "pxrdriver/regions.h"

// Nothing here is part of the library's interface.
#pragma GCC visibility push(hidden)

namespace pxr_region {

// A new element with room for nCount points (none when nCount <= 0), flags
// 0, no successor; null when memory fails.
HT_ClipRgn* NewElement(LONG nCount);
// Frees one element and its points (not its successors).
void FreeElement(HT_ClipRgn* pElement);
// Frees every element after pHead and unlinks them.
void FreeTail(HT_ClipRgn* pHead);

// Clamps a 64-bit coordinate into the range of a LONG.
inline LONG ClampToLong(std::int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<LONG>(v);
}

// The polygons of a list that can enclose area: elements with at least three
// points. Elements with a null point array are skipped.
ClipperLib::Paths PathsFromList(const HT_ClipRgn* pRegion);
ClipperLib::Path PathFromPoints(const POINT* pPoints, int nCount);

// The region that the paths describe under the fill rule, as clean polygons
// (outer contours and holes, no overlaps, no self-intersections): reading
// the result even-odd gives the same region. Throws what Clipper throws.
ClipperLib::Paths Normalize(const ClipperLib::Paths& paths, ClipperLib::PolyFillType fillType);

// Clipper operation on two normalised regions.
ClipperLib::Paths Combine(const ClipperLib::Paths& subject, const ClipperLib::Paths& clip,
                          ClipperLib::ClipType clipType);

// The vertex bounds (right and bottom are the largest coordinates, which are
// exclusive in the GDI sense); (0, 0, 0, 0) for no paths.
RECT Bounds(const ClipperLib::Paths& paths);

// True when the normalised region is one axis-aligned rectangle.
bool IsOneRectangle(const ClipperLib::Paths& paths);

// Copies paths into the elements of a list, reusing pHead (whose old points
// are freed) as the first element. No paths leave pHead with 0 points.
// Returns false when memory fails; pHead is then left empty with no tail.
bool StorePaths(HT_ClipRgn* pHead, const ClipperLib::Paths& paths);

// A new list holding the paths (one empty element for none); null when
// memory fails.
HT_ClipRgn* NewListFromPaths(const ClipperLib::Paths& paths);

}  // namespace pxr_region

#pragma GCC visibility pop
