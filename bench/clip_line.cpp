// Points per second through HT_ClipLine against regions that are not one
// rectangle: long polylines, many separate two-point polylines (one call
// each, as the polyline callback makes them), and a region of many edges.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "pxrdriver/regions.h"

namespace {

// A page of 20000 x 20000 units clipped to an L with a hole and a 64-sided
// disc beside it, folded as the driver folds a clip region.
HT_ClipRgn* MakeRegion(int nStarSpikes) {
    HT_ClipRgn* pRegion = HT_CreateRectRgnData(POINT{-1, -1}, POINT{20001, 20001});
    std::vector<std::vector<POINT>> polygons = {
        {{0, 0}, {20000, 0}, {20000, 6000}, {6000, 6000}, {6000, 20000}, {0, 20000}},
        {{1000, 1000}, {3000, 1000}, {3000, 3000}, {1000, 3000}},
    };
    std::vector<POINT> disc;
    const int nCorners = nStarSpikes > 0 ? 2 * nStarSpikes : 64;
    for (int i = 0; i < nCorners; ++i) {
        const double angle = 2 * 3.14159265358979 * i / nCorners;
        const double radius = nStarSpikes > 0 && i % 2 ? 3000 : 6000;
        disc.push_back(
            {LONG(14000 + radius * std::cos(angle)), LONG(14000 + radius * std::sin(angle))});
    }
    polygons.push_back(disc);
    HT_ClipRgn** ppLink = &pRegion->pNext;
    for (const auto& polygon : polygons) {
        auto* p = static_cast<HT_ClipRgn*>(HT_Malloc(sizeof(HT_ClipRgn)));
        p->nFlags = 0;
        p->pNext = nullptr;
        p->nCount = LONG(polygon.size());
        p->pPoints = static_cast<POINT*>(HT_Malloc(sizeof(POINT) * polygon.size()));
        for (size_t i = 0; i < polygon.size(); ++i) p->pPoints[i] = polygon[i];
        *ppLink = p;
        ppLink = &p->pNext;
    }
    CRect bounds;
    HT_StandardClipRgn(pRegion, &bounds);
    return pRegion;
}

// A random walk over the page and a little beyond, in steps of up to 400 units.
std::vector<POINT> RandomWalk(size_t nPoints) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> step(-400, 400);
    std::vector<POINT> points;
    POINT pt = {10000, 10000};
    for (size_t i = 0; i < nPoints; ++i) {
        pt.x = std::min(21000, std::max(-1000, int(pt.x) + step(random)));
        pt.y = std::min(21000, std::max(-1000, int(pt.y) + step(random)));
        points.push_back(pt);
    }
    return points;
}

void ClipLongPolyline(benchmark::State& state, int nStarSpikes) {
    HT_ClipRgn* pRegion = MakeRegion(nStarSpikes);
    const std::vector<POINT> points = RandomWalk(size_t(state.range(0)));
    HT_PointerArray pieces(0, nullptr, HT_Free);
    for (auto _ : state) {
        HT_ClipLine(pRegion, points.data(), int(points.size()), &pieces);
        benchmark::DoNotOptimize(pieces.GetCount());
        pieces.Clear();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(points.size()));
    HT_DeleteRgn(pRegion);
}

void BM_LongPolyline(benchmark::State& state) {
    ClipLongPolyline(state, 0);
}
BENCHMARK(BM_LongPolyline)->Arg(1000)->Arg(100000)->Arg(1000000);

void BM_LongPolylineManyEdges(benchmark::State& state) {
    ClipLongPolyline(state, 2000);  // a star of 4000 corners
}
BENCHMARK(BM_LongPolylineManyEdges)->Arg(100000);

void BM_TwoPointPolylines(benchmark::State& state) {
    HT_ClipRgn* pRegion = MakeRegion(0);
    const std::vector<POINT> points = RandomWalk(size_t(state.range(0)));
    HT_PointerArray pieces(0, nullptr, HT_Free);
    for (auto _ : state) {
        for (size_t i = 0; i + 1 < points.size(); i += 2) {
            HT_ClipLine(pRegion, &points[i], 2, &pieces);
            benchmark::DoNotOptimize(pieces.GetCount());
            pieces.Clear();
        }
    }
    state.SetItemsProcessed(state.iterations() * int64_t(points.size()));
    HT_DeleteRgn(pRegion);
}
BENCHMARK(BM_TwoPointPolylines)->Arg(100000);

void BM_SeparateSegments(benchmark::State& state) {
    HT_ClipRgn* pRegion = MakeRegion(0);
    const std::vector<POINT> points = RandomWalk(size_t(state.range(0)));
    HT_PointerArray pieces(0, nullptr, HT_Free);
    for (auto _ : state) {
        HT_ClipLine(pRegion, points.data(), -int(points.size()), &pieces);
        benchmark::DoNotOptimize(pieces.GetCount());
        pieces.Clear();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(points.size()));
    HT_DeleteRgn(pRegion);
}
BENCHMARK(BM_SeparateSegments)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
