// Region list records, the framework's memory functions and its pointer
// array.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "region_internal.h"

void* HT_Malloc(size_t nBytes) {
    // Zero bytes still give a block, so that null always means failure.
    return std::malloc(nBytes != 0 ? nBytes : 1);
}

void HT_Free(void* pMemory) {
    std::free(pMemory);
}

HT_PointerArray::HT_PointerArray(int nGrowBy, PFN_Alloc pfnAlloc, PFN_Free pfnFree)
    : m_pData(nullptr),
      m_nCount(0),
      m_nCapacity(0),
      m_nGrowBy(nGrowBy),
      m_pfnAlloc(pfnAlloc),
      m_pfnFree(pfnFree) {}

HT_PointerArray::~HT_PointerArray() {
    Clear();
    std::free(m_pData);
}

int HT_PointerArray::Add(void* pElement) {
    if (m_nCount == m_nCapacity) {
        // A grow step of 0 or less doubles the array.
        long long capacity = m_nGrowBy > 0 ? static_cast<long long>(m_nCapacity) + m_nGrowBy
                                           : (m_nCapacity < 8 ? 16LL : 2LL * m_nCapacity);
        if (capacity > INT_MAX) capacity = INT_MAX;
        if (capacity <= m_nCapacity) return -1;
        void* pGrown = std::realloc(m_pData, static_cast<size_t>(capacity) * sizeof(void*));
        if (pGrown == nullptr) return -1;
        m_pData = static_cast<void**>(pGrown);
        m_nCapacity = static_cast<int>(capacity);
    }
    m_pData[m_nCount] = pElement;
    return m_nCount++;
}

void* HT_PointerArray::Allocate(size_t nBytes) {
    return m_pfnAlloc != nullptr ? m_pfnAlloc(nBytes) : HT_Malloc(nBytes);
}

void HT_PointerArray::Free(void* pElement) {
    if (pElement != nullptr) (m_pfnFree != nullptr ? m_pfnFree : HT_Free)(pElement);
}

void HT_PointerArray::Clear() {
    // Without a deleter the elements came from HT_Malloc (see Allocate).
    PFN_Free pfnFree = m_pfnFree != nullptr ? m_pfnFree : HT_Free;
    for (int i = 0; i < m_nCount; ++i) pfnFree(m_pData[i]);
    m_nCount = 0;
}

void* HT_PointerArray::GetData(int nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    return m_pData[nIndex];
}

int HT_PointerArray::GetCount() const {
    return m_nCount;
}

namespace pxr_region {

HT_ClipRgn* NewElement(LONG nCount) {
    auto* pElement = static_cast<HT_ClipRgn*>(HT_Malloc(sizeof(HT_ClipRgn)));
    if (pElement == nullptr) return nullptr;
    pElement->nFlags = 0;
    pElement->pNext = nullptr;
    pElement->nCount = 0;
    pElement->pPoints = nullptr;
    if (nCount > 0) {
        pElement->pPoints = static_cast<POINT*>(HT_Malloc(sizeof(POINT) * size_t(nCount)));
        if (pElement->pPoints == nullptr) {
            HT_Free(pElement);
            return nullptr;
        }
        pElement->nCount = nCount;
    }
    return pElement;
}

void FreeElement(HT_ClipRgn* pElement) {
    if (pElement == nullptr) return;
    HT_Free(pElement->pPoints);
    HT_Free(pElement);
}

void FreeTail(HT_ClipRgn* pHead) {
    if (pHead == nullptr) return;
    HT_ClipRgn* pElement = pHead->pNext;
    pHead->pNext = nullptr;
    while (pElement != nullptr) {
        HT_ClipRgn* pNext = pElement->pNext;
        FreeElement(pElement);
        pElement = pNext;
    }
}

}  // namespace pxr_region

HT_ClipRgn* HT_CreateRectRgnData(const POINT& topLeft, const POINT& bottomRight) {
    HT_ClipRgn* pRegion = pxr_region::NewElement(4);
    if (pRegion == nullptr) return nullptr;
    pRegion->pPoints[0] = {topLeft.x, topLeft.y};
    pRegion->pPoints[1] = {bottomRight.x, topLeft.y};
    pRegion->pPoints[2] = {bottomRight.x, bottomRight.y};
    pRegion->pPoints[3] = {topLeft.x, bottomRight.y};
    return pRegion;
}

HT_ClipRgn* HT_CloneRgnData(const HT_ClipRgn* pRegion) {
    HT_ClipRgn* pHead = nullptr;
    HT_ClipRgn** ppLink = &pHead;
    for (const HT_ClipRgn* p = pRegion; p != nullptr; p = p->pNext) {
        // An element without points (or with a negative count) is copied
        // as an empty one.
        const LONG nCount = (p->pPoints != nullptr && p->nCount > 0) ? p->nCount : 0;
        HT_ClipRgn* pCopy = pxr_region::NewElement(nCount);
        if (pCopy == nullptr) {
            HT_DeleteRgn(pHead);
            return nullptr;
        }
        pCopy->nFlags = p->nFlags;
        if (nCount > 0) std::memcpy(pCopy->pPoints, p->pPoints, sizeof(POINT) * size_t(nCount));
        *ppLink = pCopy;
        ppLink = &pCopy->pNext;
    }
    return pHead;
}

void HT_DeleteRgn(HT_ClipRgn* pRegion) {
    if (pRegion == nullptr) return;
    pxr_region::FreeTail(pRegion);
    pxr_region::FreeElement(pRegion);
}

void HT_GetPointsRect(const POINT* pPoints, int nCount, RECT* pRect) {
    if (pRect == nullptr) return;
    // A negative count means separate two-point segments, as the polyline
    // callbacks take it: -(count / 2) segments.
    const long long nPoints = nCount >= 0 ? nCount : -(static_cast<long long>(nCount) / 2) * 2;
    if (pPoints == nullptr || nPoints <= 0) {
        *pRect = {0, 0, 0, 0};
        return;
    }
    RECT r = {pPoints[0].x, pPoints[0].y, pPoints[0].x, pPoints[0].y};
    for (long long i = 1; i < nPoints; ++i) {
        if (pPoints[i].x < r.left) r.left = pPoints[i].x;
        if (pPoints[i].x > r.right) r.right = pPoints[i].x;
        if (pPoints[i].y < r.top) r.top = pPoints[i].y;
        if (pPoints[i].y > r.bottom) r.bottom = pPoints[i].y;
    }
    *pRect = r;
}
