// The CAD plan played into memory device contexts with PlayEnhMetaFile, at
// its picture's size and four times that: what rendering a metafile into a
// bitmap costs through the raster device.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include <windows.h>

namespace {

void PlayCadPlan(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    HENHMETAFILE metafile = GetEnhMetaFileA(HPGL2_SOURCE_DIR "/samples/cadplan.emf");
    if (!metafile) {
        state.SkipWithError("samples/cadplan.emf cannot be read");
        return;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, section);
    const RECT all{0, 0, width, height};
    for (auto _ : state) {
        std::memset(bits, 0xFF, static_cast<size_t>(width) * height * 4);
        if (!PlayEnhMetaFile(dc, metafile, &all)) std::abort();
        benchmark::DoNotOptimize(bits);
    }
    state.counters["pixels/s"] = benchmark::Counter(static_cast<double>(width) * height,
                                                    benchmark::Counter::kIsIterationInvariantRate);
    SelectObject(dc, old);
    DeleteObject(section);
    DeleteDC(dc);
    DeleteEnhMetaFile(metafile);
}
BENCHMARK(PlayCadPlan)->Args({827, 585})->Args({3308, 2340})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
