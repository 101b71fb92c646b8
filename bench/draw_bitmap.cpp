// OnDrawBitmap from the call to the bytes of the raster, compression
// included: a 4000 x 3000 24-bit photograph (smooth gradients with noise)
// into an A1 destination at 600 dpi, which the size rule renders at the
// source's size, and into a 2000 x 1500 destination, rendered at that size
// (HALFTONE averaging 2 x 2 source pixels). Throughput in raster pixels;
// the process's peak resident memory over the source is reported too.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdint>
#include <vector>

#include "driver/hpgl2_driver.h"
#include "image/bitmap_callbacks.h"
#include "job/job_context.h"
#include "pxrdriver/driver_callbacks.h"
#include "pxrdriver/output_channel.h"

namespace {

constexpr int kSourceWidth = 4000;
constexpr int kSourceHeight = 3000;
// A1 portrait, 594 x 841 mm, at 600 dpi.
constexpr int kA1Width = 14031;
constexpr int kA1Height = 19866;

class CountingChannel : public OutputChannel {
public:
    int Open(const char*) override { return 1; }
    void Abort() override {}
    void Write(const void*, int n) override { bytes += static_cast<uint64_t>(n); }
    void Close() override {}
    uint64_t bytes = 0;
};

struct Photo {
    BITMAPINFO info{};
    std::vector<uint8_t> bits;
    Photo() {
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kSourceWidth;
        info.bmiHeader.biHeight = kSourceHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        const size_t stride = (kSourceWidth * 3 + 3) & ~size_t{3};
        bits.resize(stride * kSourceHeight);
        uint32_t state = 12345;
        for (int y = 0; y < kSourceHeight; ++y)
            for (int x = 0; x < kSourceWidth; ++x) {
                state = state * 1664525u + 1013904223u;
                const int noise = static_cast<int>(state >> 29);
                uint8_t* p = &bits[y * stride + 3 * x];
                p[0] = static_cast<uint8_t>((x / 16 + noise) & 0xFF);
                p[1] = static_cast<uint8_t>((y / 12 + noise) & 0xFF);
                p[2] = static_cast<uint8_t>(((x + y) / 28 + noise) & 0xFF);
            }
    }
};

const Photo& ThePhoto() {
    static const Photo photo;
    return photo;
}

int DeviceCaps(HostContext*, int index) {
    return index == HORZRES ? kA1Width : index == VERTRES ? kA1Height : 0;
}

void DrawBitmap(benchmark::State& state, int wDest, int hDest, int64_t rasterPixels) {
    const Photo& photo = ThePhoto();
    HPGL2Driver driver(nullptr, "/nonexistent/hpgl2.ini", "X");
    driver.m_devmode.dm.dmPrintQuality = 600;
    CountingChannel channel;
    JobContext job;
    job.m_pOutput = &channel;
    job.m_nResolution = 600;
    job.m_rcClipBounds = RECT{0, 0, kA1Width, kA1Height};
    DriverCallbacks callbacks{};
    callbacks.GetDeviceCaps = DeviceCaps;
    HostContext host{};
    host.pDriver = &driver;
    host.pJob = &job;
    host.pCallbacks = &callbacks;
    for (auto _ : state) {
        const int sent = OnDrawBitmap(&host, 0, 0, wDest, hDest, 0, 0, kSourceWidth, kSourceHeight,
                                      photo.bits.data(), &photo.info, DIB_RGB_COLORS, SRCCOPY);
        if (sent != 1) state.SkipWithError("the bitmap was not sent");
    }
    state.SetItemsProcessed(state.iterations() * rasterPixels);
    state.counters["plot_bytes"] = static_cast<double>(channel.bytes / state.iterations());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["peak_MiB"] = peakMiB;
    state.counters["source_MiB"] = static_cast<double>(photo.bits.size()) / (1 << 20);
}

void BM_DrawBitmapA1AtSourceSize(benchmark::State& state) {
    DrawBitmap(state, kA1Width, kA1Width * 3 / 4, int64_t{kSourceWidth} * kSourceHeight);
}
BENCHMARK(BM_DrawBitmapA1AtSourceSize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrawBitmapAtDestinationSize(benchmark::State& state) {
    DrawBitmap(state, 2000, 1500, int64_t{2000} * 1500);
}
BENCHMARK(BM_DrawBitmapAtDestinationSize)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
