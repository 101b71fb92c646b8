// CKestRgn: polygon region algebra on Clipper. A region is kept as
// normalised polygons (outer contours and holes that neither overlap nor
// cross), so that any two regions combine under the even-odd rule.
#include <new>
#include <utility>

#include "region_internal.h"

using ClipperLib::Paths;

struct CKestRgn::Impl {
    Paths region;
    HT_ClipRgn* pList = nullptr;  // GetClipRgnRef's copy, made on demand

    ~Impl() { HT_DeleteRgn(pList); }

    void Set(Paths paths) {
        region = std::move(paths);
        HT_DeleteRgn(pList);
        pList = nullptr;
    }
};

CKestRgn::CKestRgn() : m_pImpl(new (std::nothrow) Impl) {}

CKestRgn::CKestRgn(const HT_ClipRgn* pRegion) : m_pImpl(new (std::nothrow) Impl) {
    if (m_pImpl == nullptr) return;
    try {
        m_pImpl->Set(
            pxr_region::Normalize(pxr_region::PathsFromList(pRegion), ClipperLib::pftEvenOdd));
    } catch (...) {
        // The region stays empty.
    }
}

CKestRgn::~CKestRgn() {
    delete m_pImpl;
}

int CKestRgn::CreatePolygonRgn(const POINT* pPoints, int nCount, int nFillMode) {
    if (m_pImpl == nullptr) return 0;
    try {
        m_pImpl->Set(Paths());
        if (pPoints == nullptr || nCount < 3) return 1;
        Paths paths(1, pxr_region::PathFromPoints(pPoints, nCount));
        m_pImpl->Set(pxr_region::Normalize(
            paths, nFillMode == WINDING ? ClipperLib::pftNonZero : ClipperLib::pftEvenOdd));
        return 1;
    } catch (...) {
        return 0;
    }
}

int CKestRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    if (m_pImpl == nullptr) return 0;
    try {
        m_pImpl->Set(Paths());
        // As in GDI, the corners may come in any order.
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
        if (left == right || top == bottom) return 1;
        Paths paths(1);
        paths[0] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        m_pImpl->Set(std::move(paths));
        return 1;
    } catch (...) {
        return 0;
    }
}

int CKestRgn::CombineRgn(CKestRgn* pDest, const CKestRgn* pSrc1, const CKestRgn* pSrc2, int nMode) {
    if (pDest == nullptr || pDest->m_pImpl == nullptr || pSrc1 == nullptr ||
        pSrc1->m_pImpl == nullptr) {
        return ERROR;
    }
    try {
        if (nMode == RGN_COPY) {
            if (pDest != pSrc1) pDest->m_pImpl->Set(pSrc1->m_pImpl->region);
            return pDest->GetRgnBox(nullptr);
        }
        if (pSrc2 == nullptr || pSrc2->m_pImpl == nullptr) return ERROR;
        ClipperLib::ClipType clipType;
        switch (nMode) {
            case RGN_AND: clipType = ClipperLib::ctIntersection; break;
            case RGN_OR: clipType = ClipperLib::ctUnion; break;
            case RGN_XOR: clipType = ClipperLib::ctXor; break;
            case RGN_DIFF: clipType = ClipperLib::ctDifference; break;
            default: return ERROR;
        }
        // The result is made apart first, as the destination may be a source.
        Paths result =
            pxr_region::Combine(pSrc1->m_pImpl->region, pSrc2->m_pImpl->region, clipType);
        pDest->m_pImpl->Set(std::move(result));
        return pDest->GetRgnBox(nullptr);
    } catch (...) {
        return ERROR;
    }
}

int CKestRgn::GetRgnBox(RECT* pRect) const {
    if (m_pImpl == nullptr || m_pImpl->region.empty()) {
        if (pRect != nullptr) *pRect = {0, 0, 0, 0};
        return m_pImpl == nullptr ? ERROR : NULLREGION;
    }
    if (pRect != nullptr) *pRect = pxr_region::Bounds(m_pImpl->region);
    return pxr_region::IsOneRectangle(m_pImpl->region) ? SIMPLEREGION : COMPLEXREGION;
}

const HT_ClipRgn* CKestRgn::GetClipRgnRef() {
    if (m_pImpl == nullptr) return nullptr;
    if (m_pImpl->pList == nullptr) {
        try {
            m_pImpl->pList = pxr_region::NewListFromPaths(m_pImpl->region);
        } catch (...) {
            m_pImpl->pList = nullptr;
        }
    }
    return m_pImpl->pList;
}
