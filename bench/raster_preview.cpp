// Preview of a page rasterised in the computer: one RGB raster of a whole
// ISO A0 page at 600 dpi (19629 x 27850 pixels, as the "Transaction in
// computer" plotters send it), read and drawn by plotview's reader at a
// small and at a medium picture resolution. The rows are a CAD-like drawing:
// white with lines, method-1 rows every 64th row and delta rows between.
// Reported per page, with the raster pixels a second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "reader/plot_reader.h"

namespace {

constexpr int kWidth = 19629;
constexpr int kRows = 27850;

std::string Page() {
    const std::string esc = "\x1b";
    std::string plot = esc + "%0BBP5,1PS47160,33240ECRO90IP0,0,1016,-1016IR0,100TR1MC0WU0" +
                       "SC0,600.000000,0,600.000000;" + esc + "%0BTR0;PUPA0,0;" + esc + "%1A" +
                       esc + "*r" + std::to_string(kWidth) + "S" + esc + "*t600R" + esc + "*v6W" +
                       std::string{0, 3, 3, 8, 8, 8} + esc + "*r1A";
    const auto transfer = [&](int method, const std::string& data) {
        plot += esc + "*b" + std::to_string(method) + "m" + std::to_string(data.size()) + "W";
        plot += data;
    };
    for (int y = 0; y < kRows; ++y) {
        if (y % 64 == 0) {
            // White, with a black vertical line two pixels wide every 500.
            std::string row;
            for (int x = 0; x < kWidth; x += 500) {
                const int white = std::min(498, kWidth - x) * 3;
                for (int left = white; left > 0; left -= 256)
                    row += std::string{char(std::min(left, 256) - 1), char(0xFF)};
                if (x + 498 < kWidth) row += std::string{char(5), char(0)};
            }
            transfer(1, row);
        } else {
            // A red diagonal two pixels wide moving right: the pixels it
            // enters and leaves change.
            const int x = 11 + (y * 7) % (kWidth - 21);
            const int offset = 3 * x;
            std::string delta;
            delta += char(0x1F | (5 << 5));  // six bytes from offset 31 + extension
            int rest = offset - 31;
            for (; rest >= 255; rest -= 255) delta += char(0xFF);
            delta += char(rest);
            delta += std::string{char(0xFF), 0, 0, char(0xFF), 0, 0};
            transfer(3, delta);
        }
    }
    plot += esc + "*rC" + esc + "%0BPG;" + esc + "E";
    return plot;
}

void BM_WholePageRaster(benchmark::State& state) {
    static const std::string page = Page();
    plot::RenderOptions options;
    options.dpi = double(state.range(0));
    for (auto _ : state) {
        const plot::PlotRendering rendering = plot::RenderPlot(page, options);
        if (!rendering.ok) state.SkipWithError(rendering.error.c_str());
        benchmark::DoNotOptimize(rendering.pages.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kRows);
    state.counters["plot_MB"] = double(page.size()) / 1e6;
}
BENCHMARK(BM_WholePageRaster)->Arg(15)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
