#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "pxrdriver/regions.h"
#include "platform/region_test_util.h"

namespace {

using region_test::CellArea;
using region_test::Inside;
using region_test::ListPolygons;
using region_test::MakeList;
using region_test::Polygon;
using region_test::Polygons;
using region_test::Rect;

// The L of most tests: a wide bar along the top and a narrow leg down the left.
const Polygon kL = {{0, 0}, {200, 0}, {200, 50}, {50, 50}, {50, 100}, {0, 100}};
const Polygon kBowtie = {{0, 0}, {100, 100}, {100, 0}, {0, 100}};

TEST(RegionList, RectangleCloneDeleteAndPointBounds) {
    HT_ClipRgn* pRect = HT_CreateRectRgnData(POINT{-1, -2}, POINT{300, 400});
    ASSERT_NE(pRect, nullptr);
    EXPECT_EQ(pRect->pNext, nullptr);
    ASSERT_EQ(pRect->nCount, 4);
    const Polygon expected = Rect(-1, -2, 300, 400);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pRect->pPoints[i].x, expected[size_t(i)].x) << i;
        EXPECT_EQ(pRect->pPoints[i].y, expected[size_t(i)].y) << i;
    }

    // A deep copy of every element, flags included; the copy outlives the original.
    pRect->nFlags = 7;
    pRect->pNext = MakeList({kL, {}});
    HT_ClipRgn* pCopy = HT_CloneRgnData(pRect);
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(pCopy->nFlags, 7);
    EXPECT_NE(pCopy->pPoints, pRect->pPoints);
    const Polygons original = ListPolygons(pRect);
    HT_DeleteRgn(pRect);
    EXPECT_EQ(region_test::Pairs(ListPolygons(pCopy)), region_test::Pairs(original));
    HT_DeleteRgn(pCopy);

    EXPECT_EQ(HT_CloneRgnData(nullptr), nullptr);
    HT_DeleteRgn(nullptr);

    const POINT pts[] = {{5, -7}, {-3, 9}, {INT_MAX, INT_MIN}, {0, 0}};
    struct Case {
        int nCount;
        RECT expected;
    } cases[] = {
        {1, {5, -7, 5, -7}},  {2, {-3, -7, 5, 9}}, {4, {-3, INT_MIN, INT_MAX, 9}},
        {-2, {-3, -7, 5, 9}},  // one separate segment: points 0 and 1
        {-3, {-3, -7, 5, 9}},  // -(-3 / 2) = 1 segment
        {0, {0, 0, 0, 0}},    {-1, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        RECT r = {1, 1, 1, 1};
        HT_GetPointsRect(pts, c.nCount, &r);
        EXPECT_EQ(CRect(r), c.expected) << c.nCount;
    }
    RECT r = {1, 1, 1, 1};
    HT_GetPointsRect(nullptr, 3, &r);
    EXPECT_EQ(CRect(r), CRect(0, 0, 0, 0));
    HT_GetPointsRect(pts, 3, nullptr);
}

int g_nFreed = 0;
int g_nAllocated = 0;
void* CountingAlloc(size_t n) {
    ++g_nAllocated;
    return HT_Malloc(n);
}
void CountingFree(void* p) {
    ++g_nFreed;
    HT_Free(p);
}

// The sizes of MFC's CRect are 32-bit differences, wrapped as on Windows,
// and never a signed overflow (the sanitizer build checks that).
TEST(CRectSize, WrapsAtTheIntegerLimitsWithoutOverflow) {
    const struct {
        CRect rect;
        int width, height;
    } cases[] = {
        {CRect(3, 4, 13, 24), 10, 20},
        {CRect(INT_MIN, 0, INT_MAX, 0), -1, 0},
        {CRect(INT_MAX, INT_MIN, INT_MIN, INT_MAX), 1, -1},
        {CRect(-1, INT_MIN, INT_MAX, -1), INT_MIN, INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.rect.Width(), c.width) << c.rect.left << " to " << c.rect.right;
        EXPECT_EQ(c.rect.Height(), c.height) << c.rect.top << " to " << c.rect.bottom;
    }
}

TEST(PointerArray, GrowsFreesAndBoundsIndexes) {
    for (int nGrowBy : {0, 1, 3, -5}) {
        g_nFreed = g_nAllocated = 0;
        {
            HT_PointerArray array(nGrowBy, CountingAlloc, CountingFree);
            for (int i = 0; i < 100; ++i) {
                void* p = array.Allocate(sizeof(int));
                *static_cast<int*>(p) = i;
                ASSERT_EQ(array.Add(p), i) << nGrowBy;
            }
            EXPECT_EQ(array.GetCount(), 100);
            EXPECT_EQ(*static_cast<int*>(array.GetData(57)), 57);
            EXPECT_EQ(array.GetData(100), nullptr);
            EXPECT_EQ(array.GetData(-1), nullptr);
            array.Clear();
            EXPECT_EQ(array.GetCount(), 0);
            EXPECT_EQ(g_nFreed, 100);
            // What is left at destruction is freed too.
            array.Add(array.Allocate(1));
        }
        EXPECT_EQ(g_nAllocated, 101);
        EXPECT_EQ(g_nFreed, 101);
    }
    // The driver's form: no allocator, HT_Free as deleter.
    HT_PointerArray array(0, nullptr, HT_Free);
    EXPECT_EQ(array.Add(array.Allocate(12)), 0);
    array.Clear();
}

long long AreaOf(CKestRgn& rgn, const RECT& window) {
    return CellArea(ListPolygons(rgn.GetClipRgnRef()), window.left, window.top, window.right,
                    window.bottom);
}

TEST(KestRgn, CombinesOverlappingRectangles) {
    // A = (0,0)-(100,100), B = (50,50)-(150,150): overlap 50 x 50 = 2500.
    struct Case {
        int nMode;
        int nKind;
        long long nArea;
        RECT box;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, 2500, {50, 50, 100, 100}},
        {RGN_OR, COMPLEXREGION, 17500, {0, 0, 150, 150}},
        {RGN_XOR, COMPLEXREGION, 20000 - 2 * 2500, {0, 0, 150, 150}},
        {RGN_DIFF, COMPLEXREGION, 7500, {0, 0, 100, 100}},
        {RGN_COPY, SIMPLEREGION, 10000, {0, 0, 100, 100}},
    };
    for (const Case& c : cases) {
        CKestRgn a, b, dest;
        a.CreateRectRgn(0, 0, 100, 100);
        b.CreateRectRgn(150, 150, 50, 50);  // corners in either order
        EXPECT_EQ(CKestRgn::CombineRgn(&dest, &a, &b, c.nMode), c.nKind) << c.nMode;
        RECT box;
        EXPECT_EQ(dest.GetRgnBox(&box), c.nKind) << c.nMode;
        EXPECT_EQ(CRect(box), c.box) << c.nMode;
        EXPECT_EQ(AreaOf(dest, {0, 0, 150, 150}), c.nArea) << c.nMode;

        // The destination may be a source.
        EXPECT_EQ(CKestRgn::CombineRgn(&a, &a, &b, c.nMode), c.nKind) << c.nMode;
        EXPECT_EQ(AreaOf(a, {0, 0, 150, 150}), c.nArea) << c.nMode;
    }

    CKestRgn a, b;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(20, 20, 30, 30);
    EXPECT_EQ(CKestRgn::CombineRgn(&a, &a, &b, RGN_AND), NULLREGION);
    RECT box = {1, 1, 1, 1};
    EXPECT_EQ(a.GetRgnBox(&box), NULLREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 0, 0));
    // An empty region still gives a readable list, of one empty element.
    const HT_ClipRgn* pEmpty = a.GetClipRgnRef();
    ASSERT_NE(pEmpty, nullptr);
    EXPECT_EQ(pEmpty->nCount, 0);
    EXPECT_EQ(pEmpty->pNext, nullptr);

    EXPECT_EQ(CKestRgn::CombineRgn(&a, &b, &b, 0), ERROR);
    EXPECT_EQ(CKestRgn::CombineRgn(&a, &b, &b, 6), ERROR);
    EXPECT_EQ(CKestRgn::CombineRgn(&a, &b, nullptr, RGN_AND), ERROR);
    EXPECT_EQ(CKestRgn::CombineRgn(nullptr, &b, &b, RGN_AND), ERROR);
    EXPECT_EQ(CKestRgn::CombineRgn(&a, &b, nullptr, RGN_COPY), SIMPLEREGION);
}

TEST(KestRgn, PolygonRegionsFollowTheFillMode) {
    const POINT collinear[] = {{0, 0}, {5, 5}, {10, 10}};
    // A pentagram: its centre is enclosed twice, a hole even-odd, filled by winding.
    const POINT star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    struct Case {
        std::string name;
        const POINT* pPoints;
        int nCount;
        int nMode;
        int nKind;
        bool bCentreInside;  // (50, 50)
    } cases[] = {
        {"star even-odd", star, 5, ALTERNATE, COMPLEXREGION, false},
        {"star winding", star, 5, WINDING, COMPLEXREGION, true},
        {"star other mode", star, 5, 0, COMPLEXREGION, false},
        {"bowtie", kBowtie.data(), 4, ALTERNATE, COMPLEXREGION, true},  // touches at the centre
        {"L", kL.data(), 6, WINDING, COMPLEXREGION, true},              // its inner corner
        {"two points", star, 2, ALTERNATE, NULLREGION, false},
        {"no points", nullptr, 5, ALTERNATE, NULLREGION, false},
        {"negative count", star, -5, ALTERNATE, NULLREGION, false},
        {"collinear", collinear, 3, ALTERNATE, NULLREGION, false},
    };
    for (const Case& c : cases) {
        CKestRgn rgn;
        EXPECT_NE(rgn.CreatePolygonRgn(c.pPoints, c.nCount, c.nMode), 0) << c.name;
        EXPECT_EQ(rgn.GetRgnBox(nullptr), c.nKind) << c.name;
        const Polygons polygons = ListPolygons(rgn.GetClipRgnRef());
        if (c.nKind != NULLREGION) {
            EXPECT_EQ(Inside(polygons, 50, 50, 0), c.bCentreInside) << c.name;
        }
    }
    // The bowtie's two triangles: 2 x 100 x 50 / 2.
    CKestRgn bowtie;
    bowtie.CreatePolygonRgn(kBowtie.data(), 4, ALTERNATE);
    EXPECT_EQ(region_test::PolygonArea(ListPolygons(bowtie.GetClipRgnRef())), 5000);
}

TEST(KestRgn, ARegionAgainstItselfIsExact) {
    // Shapes on which Clipper goes astray: a polygon crossing itself many
    // times, and one whose edges meet at a very sharp angle near (-4, 0).
    const Polygon shapes[] = {
        {{-436, -144}, {300, 172}, {128, 0}, {-4, 180}, {-436, -144}, {300, 172}, {56, 0}, {0, 0}},
        {{-4, -4}, {-4, -4}, {-4, 0}, {0, -432}, {-460, 24}},
    };
    for (const Polygon& shape : shapes) {
        CKestRgn a;
        a.CreatePolygonRgn(shape.data(), int(shape.size()), ALTERNATE);
        const Polygons polygons = ListPolygons(a.GetClipRgnRef());
        const double area = region_test::PolygonArea(polygons);
        EXPECT_GT(area, 0);
        // The region is the shape read even-odd.
        for (int y = -150; y <= 180; y += 11) {
            for (int x = -440; x <= 300; x += 13) {
                ASSERT_EQ(Inside(polygons, x + 0.3, y + 0.4, 0),
                          Inside({shape}, x + 0.3, y + 0.4, 0))
                    << x << "," << y;
            }
        }
        struct Case {
            int nMode;
            double expected;
        } cases[] = {{RGN_AND, area}, {RGN_OR, area}, {RGN_XOR, 0}, {RGN_DIFF, 0}};
        for (const Case& c : cases) {
            CKestRgn b;
            CKestRgn::CombineRgn(&b, &a, nullptr, RGN_COPY);
            CKestRgn::CombineRgn(&b, &b, &a, c.nMode);
            EXPECT_EQ(region_test::PolygonArea(ListPolygons(b.GetClipRgnRef())), c.expected)
                << c.nMode;
            EXPECT_EQ(b.GetRgnBox(nullptr) == NULLREGION, c.expected == 0) << c.nMode;
        }
    }
}

TEST(KestRgn, ResultsStayWithinTheirOperands) {
    // Clipper rounds the crossing of (-412, 64)-(0, 31) with x = -400 to
    // (-401, 63): one unit outside the clip polygon, which ends at x = -400.
    HT_ClipRgn* pShape = MakeList({{{0, 412}, {0, 31}, {340, 4}}, {{0, 31}, {-412, 64}, {0, 16}}});
    const Polygon clipPolygon = {{-358, 58}, {-387, 61}, {-334, 96}, {49, 253},
                                 {53, 279},  {0, 312},   {-334, 96}, {-400, 69},
                                 {-400, 63}, {-387, 61}, {-400, 53}, {-400, 39}};
    CKestRgn shape(pShape), clip, result;
    HT_DeleteRgn(pShape);
    clip.CreatePolygonRgn(clipPolygon.data(), int(clipPolygon.size()), ALTERNATE);
    ASSERT_EQ(CKestRgn::CombineRgn(&result, &shape, &clip, RGN_AND), COMPLEXREGION);
    RECT box;
    result.GetRgnBox(&box);
    EXPECT_GE(box.left, -400);
    for (const Polygon& polygon : ListPolygons(result.GetClipRgnRef())) {
        for (const POINT& pt : polygon) EXPECT_GE(pt.x, -400);
    }
}

TEST(KestRgn, ListRegionsReadEvenOddAndReachTheIntegerLimits) {
    // Disjoint rectangles add up; a rectangle inside another is a hole.
    HT_ClipRgn* pList = MakeList({Rect(0, 0, 10, 10), Rect(20, 0, 30, 10), Rect(22, 2, 28, 8)});
    CKestRgn rgn(pList);
    HT_DeleteRgn(pList);
    EXPECT_EQ(AreaOf(rgn, {0, 0, 30, 10}), 100 + 100 - 36);
    RECT box;
    EXPECT_EQ(rgn.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_EQ(CRect(box), CRect(0, 0, 30, 10));
    EXPECT_EQ(CKestRgn(nullptr).GetRgnBox(nullptr), NULLREGION);

    CKestRgn all, small, result;
    all.CreateRectRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(all.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    small.CreateRectRgn(INT_MAX - 10, INT_MIN, INT_MAX, INT_MIN + 10);
    EXPECT_EQ(CKestRgn::CombineRgn(&result, &all, &small, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(result.GetRgnBox(&box), SIMPLEREGION);
    EXPECT_EQ(CRect(box), CRect(INT_MAX - 10, INT_MIN, INT_MAX, INT_MIN + 10));
    EXPECT_EQ(CKestRgn::CombineRgn(&result, &all, &small, RGN_DIFF), COMPLEXREGION);
    EXPECT_EQ(result.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_EQ(CRect(box), CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
}

TEST(StandardClipRgn, FoldsTheClipPolygonsIntoThePage) {
    const Polygon page = Rect(-1, -1, 1001, 801);
    struct Case {
        std::string name;
        Polygons clip;  // hung behind the page
        int nRect;
        RECT bounds;
        long long nArea;  // within (-1, -1)-(1001, 801)
    } cases[] = {
        {"page alone", {}, 1, {-1, -1, 1001, 801}, 1002LL * 802},
        {"rectangle", {Rect(10, 20, 110, 220)}, 1, {10, 20, 110, 220}, 100 * 200},
        {"L", {kL}, 0, {0, 0, 200, 100}, 200 * 50 + 50 * 50},
        {"beyond the page", {Rect(900, 700, 2000, 2000)}, 1, {900, 700, 1001, 801}, 101 * 101},
        {"two rectangles", {Rect(0, 0, 10, 10), Rect(20, 0, 30, 10)}, 0, {0, 0, 30, 10}, 200},
        {"hole", {Rect(0, 0, 100, 100), Rect(10, 10, 20, 20)}, 0, {0, 0, 100, 100}, 9900},
        {"rectangle from two halves",
         {Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)},
         1,
         {0, 0, 20, 10},
         200},
        {"bowtie", {kBowtie}, 0, {0, 0, 100, 100}, -1},
        {"outside the page", {Rect(2000, 0, 3000, 10)}, 0, {0, 0, 0, 0}, 0},
        {"only empty polygons", {{}, {{1, 1}, {5, 5}}}, 0, {0, 0, 0, 0}, 0},
        {"same rectangle twice", {Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)}, 0, {0, 0, 0, 0}, 0},
    };
    for (const Case& c : cases) {
        HT_ClipRgn* pList = HT_CreateRectRgnData(page[0], page[2]);
        pList->pNext = MakeList(c.clip);
        HT_ClipRgn* const pHead = pList;
        CRect bounds(5, 5, 5, 5);
        EXPECT_EQ(HT_StandardClipRgn(pList, &bounds), c.nRect) << c.name;
        EXPECT_EQ(bounds, c.bounds) << c.name;
        // The head is still the list; it now holds the region proper.
        const Polygons region = ListPolygons(pHead);
        if (c.nArea >= 0) {
            EXPECT_EQ(region_test::PolygonArea(region), double(c.nArea)) << c.name;
        }
        if (c.nArea == 0) {
            EXPECT_EQ(pHead->nCount, 0) << c.name;
            EXPECT_EQ(pHead->pNext, nullptr) << c.name;
        }
        if (c.nRect) {
            EXPECT_EQ(region.size(), 1u) << c.name;
        }
        // Reading the result even-odd again gives the same region.
        CKestRgn rgn(pHead);
        RECT box;
        rgn.GetRgnBox(&box);
        if (c.nArea != 0) {
            EXPECT_EQ(CRect(box), c.bounds) << c.name;
        }
        HT_DeleteRgn(pHead);
    }
    // The bowtie keeps both triangles and nothing else.
    HT_ClipRgn* pList = HT_CreateRectRgnData(page[0], page[2]);
    pList->pNext = MakeList({kBowtie});
    CRect bounds;
    HT_StandardClipRgn(pList, &bounds);
    const Polygons region = ListPolygons(pList);
    for (int y = 1; y < 100; y += 7) {
        for (int x = 1; x < 100; x += 7) {
            EXPECT_EQ(Inside(region, x + 0.25, y + 0.5, 0), Inside({kBowtie}, x + 0.25, y + 0.5, 0))
                << x << "," << y;
        }
    }
    HT_DeleteRgn(pList);

    EXPECT_EQ(HT_StandardClipRgn(nullptr, &bounds), 0);
}

TEST(StandardClipRgn, WorksAtTheIntegerLimits) {
    HT_ClipRgn* pList = HT_CreateRectRgnData(POINT{INT_MIN, INT_MIN}, POINT{INT_MAX, INT_MAX});
    pList->pNext = MakeList({{{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}}});
    CRect bounds;
    EXPECT_EQ(HT_StandardClipRgn(pList, &bounds), 0);
    EXPECT_EQ(bounds, CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(Inside(ListPolygons(pList), -1e9, -1e9));
    EXPECT_FALSE(Inside(ListPolygons(pList), 1e9, 1e9));
    CRect inner;
    ASSERT_EQ(HT_GetRgnMinRect(pList, &inner), 1);
    // The staircase under the slanted border keeps well inside the triangle.
    EXPECT_GT(double(inner.right) - inner.left, 1e9);
    EXPECT_LE(double(inner.right) + inner.bottom, double(INT_MAX) + INT_MIN);
    HT_DeleteRgn(pList);
}

// Every corner and a grid of points of the rectangle lie in the region.
void ExpectWhollyInside(const Polygons& region, const CRect& r, const std::string& name) {
    for (int i = 0; i <= 10; ++i) {
        for (int j = 0; j <= 10; ++j) {
            const double x = r.left + (double(r.right) - r.left) * i / 10;
            const double y = r.top + (double(r.bottom) - r.top) * j / 10;
            ASSERT_TRUE(Inside(region, x, y)) << name << " at " << x << "," << y;
        }
    }
}

TEST(GetRgnMinRect, FindsALargeRectangleWhollyInside) {
    struct Case {
        std::string name;
        Polygons region;
        int nFound;
        long long nLeastArea;  // of the rectangle found
        RECT exact;            // when known
    } cases[] = {
        {"rectangle", {Rect(10, 20, 110, 220)}, 1, 20000, {10, 20, 110, 220}},
        {"L", {kL}, 1, 10000, {0, 0, 200, 50}},
        {"U",
         {{{0, 0}, {20, 0}, {20, 80}, {70, 80}, {70, 0}, {100, 0}, {100, 100}, {0, 100}}},
         1,
         3000,
         {70, 0, 100, 100}},
        {"triangle", {{{0, 0}, {1000, 0}, {0, 1000}}}, 1, 200000, {}},
        {"octagon",
         {{{30, 0}, {70, 0}, {100, 30}, {100, 70}, {70, 100}, {30, 100}, {0, 70}, {0, 30}}},
         1,
         4000,
         {}},
        {"frame", {Rect(0, 0, 100, 100), Rect(10, 10, 90, 90)}, 1, 1000, {}},
        {"two rectangles", {Rect(0, 0, 10, 10), Rect(20, 0, 40, 10)}, 1, 200, {20, 0, 40, 10}},
        {"bowtie", {kBowtie}, 1, 500, {}},
        {"empty", {Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)}, 0, 0, {}},
        {"no polygon", {{}}, 0, 0, {}},
    };
    for (const Case& c : cases) {
        HT_ClipRgn* pList = MakeList(c.region);
        CRect inner(5, 5, 5, 5);
        ASSERT_EQ(HT_GetRgnMinRect(pList, &inner), c.nFound) << c.name;
        HT_DeleteRgn(pList);
        if (!c.nFound) {
            EXPECT_EQ(inner, CRect(0, 0, 0, 0)) << c.name;
            continue;
        }
        ExpectWhollyInside(c.region, inner, c.name);
        EXPECT_GE(static_cast<long long>(inner.Width()) * inner.Height(), c.nLeastArea) << c.name;
        if (c.exact.right != 0) {
            EXPECT_EQ(inner, c.exact) << c.name;
        }
    }
    CRect inner;
    EXPECT_EQ(HT_GetRgnMinRect(nullptr, &inner), 0);
}

TEST(GetRgnMinRect, StaysInsideManyPointedRegions) {
    // A star of many spikes: slanted borders everywhere, more vertices than
    // grid lines.
    Polygon star;
    const int nSpikes = 500;
    for (int i = 0; i < 2 * nSpikes; ++i) {
        const double angle = 3.14159265358979 * i / nSpikes;
        const double radius = (i % 2) ? 400000 : 1000000;
        star.push_back({LONG(std::lround(radius * std::cos(angle))),
                        LONG(std::lround(radius * std::sin(angle)))});
    }
    HT_ClipRgn* pList = MakeList({star});
    CRect inner;
    ASSERT_EQ(HT_GetRgnMinRect(pList, &inner), 1);
    HT_DeleteRgn(pList);
    ExpectWhollyInside({star}, inner, "star");
    // The inner circle of radius 400000 holds a square of side 565685.
    EXPECT_GT(inner.Width(), 300000);
    EXPECT_GT(inner.Height(), 300000);
}

}  // namespace
