// HT_StandardClipRgn: folds the clip polygons hung behind the page rectangle
// into the clip region proper.
#include "region_internal.h"

using ClipperLib::Paths;

int HT_StandardClipRgn(HT_ClipRgn* pRegion, CRect* pBounds) {
    if (pBounds != nullptr) *pBounds = CRect(0, 0, 0, 0);
    if (pRegion == nullptr) return 0;
    try {
        Paths page;
        if (pRegion->pPoints != nullptr && pRegion->nCount >= 3) {
            page.push_back(pxr_region::PathFromPoints(pRegion->pPoints, pRegion->nCount));
            page = pxr_region::Normalize(page, ClipperLib::pftEvenOdd);
        }
        Paths region = page;
        if (pRegion->pNext != nullptr) {
            const Paths clip = pxr_region::Normalize(pxr_region::PathsFromList(pRegion->pNext),
                                                     ClipperLib::pftEvenOdd);
            region = pxr_region::Combine(page, clip, ClipperLib::ctIntersection);
        }
        if (!pxr_region::StorePaths(pRegion, region)) return 0;
        if (region.empty()) return 0;
        if (pBounds != nullptr) *pBounds = CRect(pxr_region::Bounds(region));
        return pxr_region::IsOneRectangle(region) ? 1 : 0;
    } catch (...) {
        // Without memory for the result the region becomes empty: nothing
        // is drawn rather than something outside it.
        pxr_region::StorePaths(pRegion, Paths());
        return 0;
    }
}
