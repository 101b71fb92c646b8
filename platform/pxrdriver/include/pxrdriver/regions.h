// Clip regions of the host framework: lists of polygons on integer device
// coordinates with the semantics of GDI regions (what is clipped away is
// never drawn, what lies inside is never lost).
//
// A list is read even-odd over all its polygons: disjoint polygons add up, a
// polygon inside another is a hole; elements with fewer than three points
// add nothing. The region is closed: its border belongs to it.
#pragma once

#include <cstddef>
#include <windows.h>
#include <afxwin.h>

#include "pxrdriver/api.h"

// One polygon of a region list. A list made by HT_CreateRectRgnData or
// HT_CloneRgnData may be extended by the caller with further elements that
// HT_StandardClipRgn then folds into the region. Every element and its point
// array are separate HT_Malloc blocks (HT_DeleteRgn frees both), so elements
// hung into a list must be made that way too, best by HT_CloneRgnData.
struct HT_ClipRgn {
    LONG nFlags;        // the framework's; the driver only clears it on copies
    HT_ClipRgn* pNext;  // null at the end of the list
    LONG nCount;        // points of this polygon
    POINT* pPoints;     // nCount points
};

PXR_API void* HT_Malloc(size_t nBytes);
PXR_API void HT_Free(void* pMemory);

// A growable array of element pointers whose elements it frees on Clear.
class PXR_API HT_PointerArray {
public:
    using PFN_Alloc = void* (*)(size_t);
    using PFN_Free = void (*)(void*);
    HT_PointerArray(int nGrowBy, PFN_Alloc pfnAlloc, PFN_Free pfnFree);
    ~HT_PointerArray();
    HT_PointerArray(const HT_PointerArray&) = delete;
    HT_PointerArray& operator=(const HT_PointerArray&) = delete;

    // A grow step of 0 or less lets the array double; a null allocator means
    // HT_Malloc and a null deleter HT_Free.
    int Add(void* pElement);        // index of the new element, -1 when it cannot grow
    void* Allocate(size_t nBytes);  // memory for an element, from the array's allocator
    void Free(void* pElement);      // frees memory from Allocate that was not added
    void Clear();  // frees every element and empties the array (so does the destructor)
    void* GetData(int nIndex) const;  // null outside 0 ... GetCount() - 1
    int GetCount() const;

private:
    void** m_pData;
    int m_nCount;
    int m_nCapacity;
    int m_nGrowBy;
    PFN_Alloc m_pfnAlloc;
    PFN_Free m_pfnFree;
};

// A one-element list: the rectangle from topLeft to bottomRight as a closed
// polygon of four points (right and bottom exclusive, as GDI rectangles);
// null when memory fails.
PXR_API HT_ClipRgn* HT_CreateRectRgnData(const POINT& topLeft, const POINT& bottomRight);
// A deep copy of the whole list; null when pRegion is null or memory fails.
PXR_API HT_ClipRgn* HT_CloneRgnData(const HT_ClipRgn* pRegion);
// Frees the whole list (nothing for null).
PXR_API void HT_DeleteRgn(HT_ClipRgn* pRegion);
// Turns a list whose first element is the page rectangle and whose further
// elements are the clip polygons into the clip region proper: the
// intersection of the page with the region of the following polygons, read
// even-odd over all of them (so disjoint pieces add up and a polygon inside
// another is a hole); with no further elements the region is the page.
// Leaves the region's bounding rectangle in pBounds and returns nonzero
// exactly when the region is that one rectangle.
//
// The list is rewritten in place into the region's polygons (outer contours
// and holes, as simple as Clipper makes them); the head element is kept,
// with new points, so the caller's pointer stays valid. An empty region
// leaves the head alone with 0 points, (0, 0, 0, 0) in pBounds and the
// result 0, so that software clipping takes over and draws nothing. When
// memory fails the region becomes empty in the same way: nothing outside it
// is ever drawn.
PXR_API int HT_StandardClipRgn(HT_ClipRgn* pRegion, CRect* pBounds);
// A rectangle wholly inside the region: every point (x, y) with left <= x <=
// right and top <= y <= bottom lies inside it (the largest one that a grid of
// a few dozen lines over the region finds). 0, and (0, 0, 0, 0), when none
// was found.
PXR_API int HT_GetRgnMinRect(const HT_ClipRgn* pRegion, CRect* pInner);
// The bounding rectangle of the points (right and bottom inclusive). A
// negative count means -(count / 2) separate two-point segments, as for the
// polyline callbacks; no points give (0, 0, 0, 0).
PXR_API void HT_GetPointsRect(const POINT* pPoints, int nCount, RECT* pRect);
// Clips a polyline to the region. Each visible piece is added to pPieces as
// one element: a 32-bit point count followed by that many POINTs, allocated
// with the array's allocator (HT_Malloc when it has none). The pieces come
// in drawing order and direction; a polyline wholly inside gives one piece
// equal to it, and a piece's ends between input points are rounded to whole
// units. A negative count means -(count / 2) separate two-point segments. A
// null region clips nothing (the polyline is one piece). When memory fails,
// the pieces found so far stay.
PXR_API void HT_ClipLine(const HT_ClipRgn* pRegion, const POINT* pPoints, int nCount,
                         HT_PointerArray* pPieces);

// Region combination modes (RGN_*) and GetRgnBox results come from the
// Win32 subset, as they come from wingdi.h.

class PXR_API CKestRgn {
public:
    CKestRgn();
    explicit CKestRgn(const HT_ClipRgn* pRegion);  // the region of a list (even-odd)
    virtual ~CKestRgn();
    CKestRgn(const CKestRgn&) = delete;
    CKestRgn& operator=(const CKestRgn&) = delete;

    // nFillMode: WINDING for non-zero winding, anything else even-odd. Fewer
    // than three points make the empty region. Nonzero on success, 0 when
    // memory fails (the region is then empty).
    int CreatePolygonRgn(const POINT* pPoints, int nCount, int nFillMode);
    // The corners may come in any order, as in GDI; nonzero on success.
    int CreateRectRgn(int left, int top, int right, int bottom);
    // pDest = pSrc1 (mode) pSrc2; any of them may be the same object (pSrc2
    // is not read for RGN_COPY). Returns the GetRgnBox kind of the result, or
    // ERROR (0), leaving pDest unchanged, for a missing region, an unknown
    // mode or failed memory.
    static int CombineRgn(CKestRgn* pDest, const CKestRgn* pSrc1, const CKestRgn* pSrc2, int nMode);
    // NULLREGION (1) when empty, else SIMPLEREGION or COMPLEXREGION; the
    // bounding rectangle in pRect (right and bottom exclusive).
    int GetRgnBox(RECT* pRect) const;
    // The region as closed polygons (holes included, in the even-odd sense);
    // one element with 0 points for the empty region; null only when memory
    // fails. Owned by the region and valid until it changes.
    const HT_ClipRgn* GetClipRgnRef();

private:
    struct Impl;
    Impl* m_pImpl;
};
