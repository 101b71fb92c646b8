#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "pxrdriver/regions.h"
#include "platform/region_test_util.h"

namespace {

using region_test::DistanceToBorder;
using region_test::DistanceToSegment;
using region_test::Inside;
using region_test::ListPolygons;
using region_test::MakeList;
using region_test::Pairs;
using region_test::Pieces;
using region_test::Polygon;
using region_test::Polygons;
using region_test::Rect;

// A wide bar along the top (y 0..50) and a narrow leg down the left (x 0..50).
const Polygon kL = {{0, 0}, {200, 0}, {200, 50}, {50, 50}, {50, 100}, {0, 100}};
const Polygon kBowtie = {{0, 0}, {100, 100}, {100, 0}, {0, 100}};

Polygons Clip(const HT_ClipRgn* pRegion, const Polygon& line, int nCount) {
    HT_PointerArray pieces(0, nullptr, HT_Free);
    HT_ClipLine(pRegion, line.data(), nCount, &pieces);
    return Pieces(pieces);
}

struct Case {
    std::string name;
    Polygon region;
    Polygon line;
    int nCount;  // 0 for line.size()
    Polygons expected;
};

TEST(ClipLine, CutsPolylinesAtTheRegionBorder) {
    const Case cases[] = {
        {"wholly inside, repeated point kept",
         kL,
         {{10, 10}, {150, 20}, {20, 40}, {20, 40}, {30, 90}},
         0,
         {{{10, 10}, {150, 20}, {20, 40}, {20, 40}, {30, 90}}}},
        {"wholly outside", kL, {{300, 300}, {400, 10}, {250, -50}}, 0, {}},
        {"through the bar", kL, {{-50, 25}, {250, 25}}, 0, {{{0, 25}, {200, 25}}}},
        {"backwards keeps its direction", kL, {{250, 25}, {-50, 25}}, 0, {{{200, 25}, {0, 25}}}},
        {"through the leg", kL, {{-50, 75}, {250, 75}}, 0, {{{0, 75}, {50, 75}}}},
        {"in, out and in again, in drawing order",
         kL,
         {{25, 150}, {25, 75}, {150, 75}, {150, 25}, {250, 25}},
         0,
         {{{25, 100}, {25, 75}, {50, 75}}, {{150, 50}, {150, 25}, {200, 25}}}},
        {"along the border", kL, {{0, 0}, {200, 0}, {200, 50}}, 0, {{{0, 0}, {200, 0}, {200, 50}}}},
        {"along the border beyond its end", kL, {{-20, 50}, {250, 50}}, 0, {{{-0, 50}, {200, 50}}}},
        {"from a corner inwards", kL, {{150, 150}, {50, 50}, {25, 25}}, 0, {{{50, 50}, {25, 25}}}},
        {"touching a corner only", kL, {{100, 60}, {50, 50}, {60, 100}}, 0, {}},
        // Crossing y = 50 at x = 60 + 3 * 10 / 20 = 61.5, rounded to 62.
        {"crossing between units is rounded", kL, {{60, 40}, {63, 60}}, 0, {{{60, 40}, {62, 50}}}},
        {"separate segments",
         kL,
         {{10, 10}, {20, 10}, {300, 300}, {400, 400}, {-50, 25}, {250, 25}},
         -6,
         {{{10, 10}, {20, 10}}, {{0, 25}, {200, 25}}}},
        {"odd negative count drops the last point",
         kL,
         {{10, 10}, {20, 10}, {30, 10}},
         -3,
         {{{10, 10}, {20, 10}}}},
        {"one point", kL, {{10, 10}}, 0, {}},
        {"no points", kL, {{10, 10}, {20, 20}}, -1, {}},
        {"bowtie",
         kBowtie,
         {{-10, 25}, {110, 25}},
         0,
         {{{0, 25}, {25, 25}}, {{75, 25}, {100, 25}}}},
        {"through the bowtie's waist", kBowtie, {{50, -10}, {50, 110}}, 0, {}},
        {"across the integer range",
         Rect(-1000, -1000, 1000, 1000),
         {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}},
         0,
         {{{-1000, -1000}, {1000, 1000}}}},
        {"along the edge of the integer range",
         Rect(INT_MIN, INT_MIN, INT_MAX, INT_MAX),
         {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, 0}, {INT_MIN, INT_MAX}},
         0,
         {{{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, 0}, {INT_MIN, INT_MAX}}}},
        {"into a region at the integer limit",
         Rect(INT_MAX - 100, INT_MIN, INT_MAX, INT_MIN + 100),
         {{0, 0}, {INT_MAX, INT_MIN}},
         0,
         {{{INT_MAX - 100, INT_MIN + 100}, {INT_MAX, INT_MIN}}}},
    };
    for (const Case& c : cases) {
        HT_ClipRgn* pRegion = MakeList({c.region});
        const int nCount = c.nCount != 0 ? c.nCount : int(c.line.size());
        EXPECT_EQ(Pairs(Clip(pRegion, c.line, nCount)), Pairs(c.expected)) << c.name;
        HT_DeleteRgn(pRegion);
    }
}

TEST(ClipLine, HandlesMissingInputAndMissingRegion) {
    HT_ClipRgn* pRegion = MakeList({kL});
    const Polygon line = {{-50, 25}, {250, 25}};
    HT_PointerArray pieces(0, nullptr, HT_Free);
    HT_ClipLine(pRegion, nullptr, 2, &pieces);
    HT_ClipLine(pRegion, line.data(), 2, nullptr);
    EXPECT_EQ(pieces.GetCount(), 0);
    // Without a region nothing is clipped.
    EXPECT_EQ(Pairs(Clip(nullptr, line, 2)), Pairs(Polygons{line}));
    // A region list without area hides everything.
    HT_ClipRgn* pEmpty = HT_CreateRectRgnData(POINT{5, 5}, POINT{5, 50});
    EXPECT_TRUE(Clip(pEmpty, line, 2).empty());
    HT_DeleteRgn(pEmpty);
    HT_DeleteRgn(pRegion);
}

TEST(ClipLine, FollowsChangesOfTheRegionInPlace) {
    HT_ClipRgn* pRegion = MakeList({kL});
    const Polygon line = {{-50, 75}, {250, 75}};
    EXPECT_EQ(Pairs(Clip(pRegion, line, 2)), Pairs({{{0, 75}, {50, 75}}}));
    // The same list, its leg moved right by 100.
    pRegion->pPoints[3].x += 100;
    pRegion->pPoints[4].x += 100;
    EXPECT_EQ(Pairs(Clip(pRegion, line, 2)), Pairs({{{0, 75}, {150, 75}}}));
    HT_DeleteRgn(pRegion);
}

int g_nAllowed = 0;
void* LimitedAlloc(size_t n) {
    if (g_nAllowed <= 0) return nullptr;
    --g_nAllowed;
    return HT_Malloc(n);
}

TEST(ClipLine, KeepsThePiecesMadeBeforeMemoryRanOut) {
    HT_ClipRgn* pRegion = MakeList({kL});
    const Polygon line = {{25, 150}, {25, 75}, {150, 75}, {150, 25}, {250, 25}};
    for (int nAllowed = 0; nAllowed <= 3; ++nAllowed) {
        g_nAllowed = nAllowed;
        HT_PointerArray pieces(0, LimitedAlloc, HT_Free);
        HT_ClipLine(pRegion, line.data(), 5, &pieces);
        EXPECT_EQ(pieces.GetCount(), std::min(nAllowed, 2)) << nAllowed;
    }
    HT_DeleteRgn(pRegion);
}

// Where along the polyline (segment index plus fraction) the point lies,
// searching from `from` on; -1 when it is not on the polyline.
double PositionOn(const Polygon& line, const POINT& pt, double from) {
    for (size_t i = size_t(from); i + 1 < line.size(); ++i) {
        if (DistanceToSegment(pt.x, pt.y, line[i], line[i + 1]) > 1.0) continue;
        const double dx = double(line[i + 1].x) - line[i].x, dy = double(line[i + 1].y) - line[i].y;
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? ((pt.x - line[i].x) * dx + (pt.y - line[i].y) * dy) / len2 : 0;
        const double pos = double(i) + std::min(std::max(t, 0.0), 1.0);
        if (pos + 1e-3 >= from) return pos;
    }
    return -1;
}

TEST(ClipLine, RandomPolylinesAgainstRandomRegions) {
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> coord(-200, 1200);
    for (int trial = 0; trial < 30; ++trial) {
        // The page with a few random polygons, folded as the driver does.
        Polygons clip;
        for (int k = 0; k < 3; ++k) {
            Polygon polygon;
            for (int i = 0; i < 3 + trial % 5; ++i)
                polygon.push_back({coord(random), coord(random)});
            clip.push_back(polygon);
        }
        HT_ClipRgn* pRegion = HT_CreateRectRgnData(POINT{0, 0}, POINT{1000, 1000});
        pRegion->pNext = MakeList(clip);
        CRect bounds;
        HT_StandardClipRgn(pRegion, &bounds);
        const Polygons region = ListPolygons(pRegion);

        Polygon line;
        for (int i = 0; i < 40; ++i) line.push_back({coord(random), coord(random)});
        const Polygons pieces = Clip(pRegion, line, int(line.size()));
        HT_DeleteRgn(pRegion);

        // Nothing outside: every piece keeps within the rounding of the border.
        for (const Polygon& piece : pieces) {
            ASSERT_GE(piece.size(), 2u);
            for (size_t i = 0; i + 1 < piece.size(); ++i) {
                for (int s = 0; s <= 8; ++s) {
                    const double x = piece[i].x + (double(piece[i + 1].x) - piece[i].x) * s / 8;
                    const double y = piece[i].y + (double(piece[i + 1].y) - piece[i].y) * s / 8;
                    ASSERT_TRUE(Inside(region, x, y, 1.0)) << trial << ": " << x << "," << y;
                }
            }
        }
        // Nothing lost: every point of the line well inside lies on a piece.
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            for (int s = 0; s <= 16; ++s) {
                const double x = line[i].x + (double(line[i + 1].x) - line[i].x) * s / 16;
                const double y = line[i].y + (double(line[i + 1].y) - line[i].y) * s / 16;
                if (!Inside(region, x, y, 0) || DistanceToBorder(region, x, y) < 2.0) continue;
                bool bCovered = false;
                for (const Polygon& piece : pieces) {
                    for (size_t j = 0; j + 1 < piece.size() && !bCovered; ++j) {
                        bCovered = DistanceToSegment(x, y, piece[j], piece[j + 1]) < 1.0;
                    }
                }
                ASSERT_TRUE(bCovered) << trial << ": " << x << "," << y;
            }
        }
        // Drawing order and direction: each piece runs forward along the
        // line, after the piece before it.
        double cursor = 0;
        for (const Polygon& piece : pieces) {
            const double start = PositionOn(line, piece.front(), cursor);
            ASSERT_GE(start, 0) << trial;
            const double end = PositionOn(line, piece.back(), start);
            ASSERT_GE(end, start) << trial;
            cursor = end;
        }
    }
}

}  // namespace
