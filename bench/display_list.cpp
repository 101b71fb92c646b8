// The display list of a large metafile: 200,000 polylines of nine points
// (20 MB of EMR_POLYLINE records) over an A0 page at 600 dpi, a tenth of
// them across the whole page. Record: the metafile played once into the
// list (counters: the metafile's and the list's bytes). Page: the list
// recorded and every band of the page rendered by the raster image
// processor into a callback that only reads the bands.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>
#include "pxrdriver/rip_implate.h"
#include "support/emf_builder.h"
#include "win32/gdi32/display_list.h"

namespace {

constexpr unsigned kWidth = 19866, kHeight = 28087;

const std::vector<BYTE>& Polylines() {
    static const std::vector<BYTE> bytes = [] {
        EmfBuilder emf;
        emf.CreatePen(1, PS_SOLID, 0, RGB(0, 0, 0)).Select(1);
        unsigned seed = 12345;
        const auto next = [&seed](int range) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<LONG>((seed >> 8) % static_cast<unsigned>(range));
        };
        std::vector<POINT> points(9);
        for (int i = 0; i < 200000; ++i) {
            const int reach = i % 10 == 0 ? 1000 : 30;
            const LONG x = next(1000), y = next(1000);
            for (POINT& p : points)
                p = POINT{x + next(reach) - reach / 2, y + next(reach) - reach / 2};
            emf.Poly(EMR_POLYLINE, points);
        }
        return emf.Bytes();
    }();
    return bytes;
}

void RecordPolylines(benchmark::State& state) {
    const std::vector<BYTE>& bytes = Polylines();
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    HDC dc = CreateCompatibleDC(nullptr);
    const RECT page{0, 0, static_cast<LONG>(kWidth), static_cast<LONG>(kHeight)};
    size_t listBytes = 0;
    for (auto _ : state) {
        std::string error;
        const auto list = DisplayList::Record(dc, metafile, page, kWidth, kHeight, 53, &error);
        if (!list) {
            state.SkipWithError(error.c_str());
            break;
        }
        listBytes = list->Bytes();
    }
    state.counters["metafile_MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.counters["list_MB"] = static_cast<double>(listBytes) / 1e6;
    DeleteDC(dc);
    DeleteEnhMetaFile(metafile);
}
BENCHMARK(RecordPolylines)->Unit(benchmark::kMillisecond)->UseRealTime();

class ReadingCallback : public CRipCallBack {
public:
    int OnBand(void*, const RECT*, const RECT*, const RipBandBits* bits) override {
        for (int y = 0; y < bits->nRows; ++y)
            sum += bits->pBits[static_cast<size_t>(y) * bits->nStride * 4];
        return 1;
    }
    unsigned sum = 0;
};

void RenderPolylinePage(benchmark::State& state) {
    setenv("PXR_RIP_THREADS", std::to_string(state.range(0)).c_str(), 1);
    const std::vector<BYTE>& bytes = Polylines();
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    ReadingCallback callback;
    for (auto _ : state) {
        CRIPImplate rip(&callback);
        if (!rip.CreateRIPBuffer(kWidth, kHeight, 32, 0)) std::abort();
        rip.BeginRIP(CRect(), CRect());
        rip.m_hPlayMetaFile = CopyEnhMetaFileA(metafile, nullptr);
        if (!rip.EndRIP()) std::abort();
    }
    benchmark::DoNotOptimize(callback.sum);
    DeleteEnhMetaFile(metafile);
    unsetenv("PXR_RIP_THREADS");
}
BENCHMARK(RenderPolylinePage)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
