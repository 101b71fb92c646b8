// Points per second through the host's polyline callback into a channel that
// discards the bytes: long polylines and many two-point segments, with and
// without software clipping against a non-rectangular region.
#include <benchmark/benchmark.h>

#include <vector>

#include "driver/hpgl2_driver.h"
#include "job/job_context.h"
#include "pxrdriver/output_channel.h"
#include "pxrdriver/regions.h"

namespace {

class DiscardingChannel : public OutputChannel {
public:
    int Open(const char*) override { return 1; }
    void Abort() override {}
    void Write(const void*, int n) override { bytes += n; }
    void Close() override {}
    long long bytes = 0;
};

struct Plot {
    explicit Plot(int clipMode) : driver(nullptr, "/nonexistent/hpgl2.ini", "bench") {
        driver.m_devmode.nClipMode = clipMode;
        host.pDriver = &driver;
        driver.Attach(&host);
        DOCINFOA info{sizeof info, "bench", "bench.plt", nullptr, 0};
        host.pCallbacks->StartDocument(&host, &info, &channel);
    }
    ~Plot() {
        host.pCallbacks->EndDocument(&host);
        driver.Detach(&host);
    }
    // A comb: the page less every other vertical strip of 200 pixels.
    void SetCombClip() {
        std::vector<POINT> comb = {{0, 0}};
        for (LONG x = 0; x < 2000; x += 400) {
            comb.push_back({x + 200, 0});
            comb.push_back({x + 200, 3000});
            comb.push_back({x + 400, 3000});
            comb.push_back({x + 400, 0});
        }
        comb.push_back({2000, 3100});
        comb.push_back({0, 3100});
        HT_ClipRgn region{0, nullptr, static_cast<LONG>(comb.size()), comb.data()};
        host.pCallbacks->OnSetClipRegion(&host, &region);
    }
    HPGL2Driver driver;
    HostContext host{};
    DiscardingChannel channel;
};

// A wandering line over the page, as CAD contours are.
std::vector<POINT> Wander(int n) {
    std::vector<POINT> points(static_cast<size_t>(n));
    unsigned state = 12345;
    LONG x = 1000, y = 1500;
    for (POINT& p : points) {
        state = state * 1103515245u + 12345u;
        x += static_cast<LONG>((state >> 16) % 21) - 10;
        y += static_cast<LONG>((state >> 8) % 21) - 10;
        x = x < 0 ? 0 : x > 2300 ? 2300 : x;
        y = y < 0 ? 0 : y > 3100 ? 3100 : y;
        p = {x, y};
    }
    return points;
}

void LongPolylines(benchmark::State& state, int clipMode, bool comb) {
    Plot plot(clipMode);
    if (comb) plot.SetCombClip();
    const std::vector<POINT> points = Wander(10000);
    for (auto _ : state)
        plot.host.pCallbacks->OnPolyline(&plot.host, points.data(),
                                         static_cast<int>(points.size()));
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(points.size()));
    state.counters["bytes_per_point"] =
        static_cast<double>(plot.channel.bytes) / static_cast<double>(state.items_processed());
}

void Segments(benchmark::State& state, int clipMode, bool comb) {
    Plot plot(clipMode);
    if (comb) plot.SetCombClip();
    const std::vector<POINT> points = Wander(10000);
    for (auto _ : state)
        for (size_t i = 0; i + 1 < points.size(); i += 2)
            plot.host.pCallbacks->OnPolyline(&plot.host, &points[i], 2);
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(points.size()));
}

BENCHMARK_CAPTURE(LongPolylines, unclipped, 0, false);
BENCHMARK_CAPTURE(LongPolylines, clipped_comb, 7, true);
BENCHMARK_CAPTURE(Segments, unclipped, 0, false);
BENCHMARK_CAPTURE(Segments, clipped_comb, 7, true);

}  // namespace

BENCHMARK_MAIN();
