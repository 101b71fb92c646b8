// A whole page rendered by the raster image processor: the tiger drawing
// fitted to A4 at 300 dpi and A0 at 600 dpi, band by band on one and two
// threads, into a callback that only reads each band. CPU time counts
// every thread of the process.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include <windows.h>
#include "pxrdriver/rip_implate.h"
#include "win32/gdi32/metafile/metafile_player.h"

namespace {

class TouchingCallback : public CRipCallBack {
public:
    int OnBand(void*, const RECT*, const RECT*, const RipBandBits* bits) override {
        for (int y = 0; y < bits->nRows; ++y)
            sum += bits->pBits[static_cast<size_t>(y) * bits->nStride * 4];
        ++bands;
        return 1;
    }
    unsigned sum = 0;
    int bands = 0;
};

// The frame's aspect kept: the picture scaled into the raster and centred.
XFORM FitInto(HENHMETAFILE metafile, int width, int height) {
    const RECTL& f = EnhMetaFileDocument(metafile)->header.rclFrame;
    const double frameW = f.right - f.left, frameH = f.bottom - f.top;
    const double s = std::min(width / frameW, height / frameH);
    const double fitW = frameW * s, fitH = frameH * s;
    return XFORM{static_cast<float>(fitW / width),
                 0,
                 0,
                 static_cast<float>(fitH / height),
                 static_cast<float>((width - fitW) / 2),
                 static_cast<float>((height - fitH) / 2)};
}

void RipTiger(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    setenv("PXR_RIP_THREADS", std::to_string(state.range(2)).c_str(), 1);
    HENHMETAFILE tiger = GetEnhMetaFileA(HPGL2_SOURCE_DIR "/tests/data/tiger.emf");
    if (!tiger) {
        state.SkipWithError("tests/data/tiger.emf cannot be read");
        return;
    }
    const XFORM fit = FitInto(tiger, width, height);
    TouchingCallback callback;
    for (auto _ : state) {
        CRIPImplate rip(&callback);
        if (!rip.CreateRIPBuffer(width, height, 32, 0)) std::abort();
        rip.BeginRIP(CRect(), CRect());
        rip.m_xformPlay = fit;
        rip.m_hPlayMetaFile = CopyEnhMetaFileA(tiger, nullptr);
        if (!rip.EndRIP()) std::abort();
    }
    benchmark::DoNotOptimize(callback.sum);
    state.counters["bands"] = static_cast<double>(callback.bands) / state.iterations();
    DeleteEnhMetaFile(tiger);
    unsetenv("PXR_RIP_THREADS");
}
BENCHMARK(RipTiger)
    ->ArgNames({"w", "h", "threads"})
    ->Args({2480, 3508, 1})
    ->Args({2480, 3508, 2})
    ->Args({19866, 28087, 1})
    ->Args({19866, 28087, 2})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
