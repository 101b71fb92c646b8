// Throughput of the raster row coders on an A0 page at 600 dpi (19866 pixels
// a row), in bytes of source row per second, beside a memcpy of the same rows
// as the ceiling. Rows come as RGB (3 bytes a pixel, 59598 bytes) and as one
// bit a pixel (2484 bytes), of three kinds: a CAD drawing (white with thin
// lines), a photograph (smooth gradients with noise), and the worst case
// (every byte differs from its neighbour and from the row above).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "support/null_channel.h"
#include "rtl/delta_row_encoder.h"
#include "rtl/rle_row_buffer.h"
#include "rtl/rtl_rip.h"

namespace {

constexpr int kWidth = 19866;  // A0 (841 mm) at 600 dpi
constexpr int kRows = 64;      // one band

enum Kind { kCad, kPhoto, kWorst };
enum Layout { kRgb, kMono };

uint32_t Noise(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
}

// Pixel (x, y) as 0x00RRGGBB.
uint32_t PixelOf(Kind kind, int x, int y, uint32_t& state) {
    switch (kind) {
        case kCad: {
            // Thin black lines on white: a grid every 500 pixels, two pixels
            // wide, a red diagonal, and a few text-like dots.
            if (x % 500 < 2 || (x + 3 * y) % 1777 < 2) return (x + 3 * y) % 1777 < 2 ? 0xFF0000 : 0;
            if (y % 16 < 2 && x % 97 < 3) return 0;
            return 0xFFFFFF;
        }
        case kPhoto: {
            const uint32_t r = static_cast<uint32_t>((x / 80 + y) % 200 + Noise(state) % 8);
            const uint32_t g = static_cast<uint32_t>((x / 120 + 2 * y) % 200 + Noise(state) % 8);
            const uint32_t b = static_cast<uint32_t>((x / 160 + 40) % 200 + Noise(state) % 8);
            return r << 16 | g << 8 | b;
        }
        case kWorst: break;
    }
    return 0;
}

// The rows of one band, as the encoders would build them.
std::vector<std::vector<uint8_t>> MakeRows(Kind kind, Layout layout) {
    std::vector<std::vector<uint8_t>> rows;
    uint32_t state = 12345;
    const size_t nBytes = layout == kRgb ? 3 * size_t{kWidth} : (size_t{kWidth} + 7) / 8;
    for (int y = 0; y < kRows; ++y) {
        std::vector<uint8_t> row(nBytes, 0);
        if (kind == kWorst) {
            for (size_t i = 0; i < nBytes; ++i) row[i] = static_cast<uint8_t>(i * 7 + y * 3);
        } else if (layout == kRgb) {
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = PixelOf(kind, x, y, state);
                row[3 * x] = static_cast<uint8_t>(p >> 16);
                row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
                row[3 * x + 2] = static_cast<uint8_t>(p);
            }
        } else {
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = PixelOf(kind, x, y, state);
                // a photograph as one bit: a threshold on the red channel
                const bool bInk = kind == kPhoto ? (p >> 16) < 100 : p != 0xFFFFFF;
                if (bInk) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void SetThroughput(benchmark::State& state, const std::vector<std::vector<uint8_t>>& rows) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kRows *
                            static_cast<int64_t>(rows[0].size()));
}

void Method1(benchmark::State& state, Kind kind, Layout layout) {
    const auto rows = MakeRows(kind, layout);
    RleRowBuffer coder;
    coder.ReserveRow(rows[0].size());
    size_t coded = 0;
    for (auto _ : state) {
        for (const auto& row : rows) {
            coder.Append(row.data(), row.size());
            coder.Flush();
            coded += coder.Length();
            benchmark::DoNotOptimize(coder.Data());
            coder.Reset();
        }
    }
    SetThroughput(state, rows);
    state.counters["coded/source"] =
        static_cast<double>(coded) /
        (static_cast<double>(state.iterations()) * kRows * static_cast<double>(rows[0].size()));
}

void Method3(benchmark::State& state, Kind kind, Layout layout) {
    const auto rows = MakeRows(kind, layout);
    DeltaRowEncoder coder;
    coder.ReserveRow(rows[0].size());
    size_t coded = 0;
    for (auto _ : state) {
        coder.SetSeed(rows[0].data(), rows[0].size());
        for (const auto& row : rows) {
            coder.EncodeRow(row.data(), row.size());
            coded += coder.Length();
            benchmark::DoNotOptimize(coder.Data());
            coder.Reset();
        }
    }
    SetThroughput(state, rows);
    state.counters["coded/source"] =
        static_cast<double>(coded) /
        (static_cast<double>(state.iterations()) * kRows * static_cast<double>(rows[0].size()));
}

void Memcpy(benchmark::State& state, Kind kind, Layout layout) {
    const auto rows = MakeRows(kind, layout);
    std::vector<uint8_t> target(rows[0].size());
    for (auto _ : state) {
        for (const auto& row : rows) {
            std::memcpy(target.data(), row.data(), row.size());
            benchmark::DoNotOptimize(target.data());
            benchmark::ClobberMemory();
        }
    }
    SetThroughput(state, rows);
}

#define ROW_BENCHMARKS(kind, layout)                           \
    BENCHMARK_CAPTURE(Memcpy, kind##_##layout, kind, layout);  \
    BENCHMARK_CAPTURE(Method1, kind##_##layout, kind, layout); \
    BENCHMARK_CAPTURE(Method3, kind##_##layout, kind, layout)

ROW_BENCHMARKS(kCad, kRgb);
ROW_BENCHMARKS(kPhoto, kRgb);
ROW_BENCHMARKS(kWorst, kRgb);
ROW_BENCHMARKS(kCad, kMono);
ROW_BENCHMARKS(kPhoto, kMono);
ROW_BENCHMARKS(kWorst, kMono);

// The whole band path: 4-byte pixels to RGB or one-bit rows, coded and
// written to a channel that drops the bytes; throughput in source pixel
// bytes.
void PixelBand(benchmark::State& state, Kind kind, int nColorFormat, int nCompression) {
    uint32_t noise = 12345;
    std::vector<uint8_t> pixels(size_t{kWidth} * kRows * 4);
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // The worst case gives the RGB row bytes i * 7 + y * 3, as the rows above.
            auto worst = [&](int i) { return static_cast<uint32_t>((i * 7 + y * 3) & 0xFF); };
            const uint32_t p = kind == kWorst
                                   ? worst(3 * x) << 16 | worst(3 * x + 1) << 8 | worst(3 * x + 2)
                                   : PixelOf(kind, x, y, noise);
            std::memcpy(&pixels[(size_t{kWidth} * y + x) * 4], &p, 4);
        }
    }
    NullChannel channel;
    CRTLRip rip(nullptr, nullptr);
    rip.m_pOutput = &channel;
    rip.m_nColorFormat = nColorFormat;
    rip.m_nCompression = nCompression;
    rip.m_bEmbedded = 1;
    const RipBandBits bits{kWidth, kRows, 4, pixels.data()};
    for (auto _ : state) {
        benchmark::DoNotOptimize(rip.EncodeBand(0, RECT{0, 0, kWidth, kRows}, &bits));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(pixels.size()));
}

void RgbBand(benchmark::State& state, Kind kind, int nCompression) {
    PixelBand(state, kind, 24, nCompression);
}

void MonoBand(benchmark::State& state, Kind kind, int nCompression) {
    PixelBand(state, kind, 1, nCompression);
}

BENCHMARK_CAPTURE(RgbBand, kCad_method1, kCad, 1);
BENCHMARK_CAPTURE(RgbBand, kCad_method3, kCad, 3);
BENCHMARK_CAPTURE(RgbBand, kPhoto_method1, kPhoto, 1);
BENCHMARK_CAPTURE(RgbBand, kPhoto_method3, kPhoto, 3);
BENCHMARK_CAPTURE(RgbBand, kWorst_method1, kWorst, 1);
BENCHMARK_CAPTURE(RgbBand, kWorst_method3, kWorst, 3);
BENCHMARK_CAPTURE(MonoBand, kCad_method1, kCad, 1);
BENCHMARK_CAPTURE(MonoBand, kCad_method3, kCad, 3);
BENCHMARK_CAPTURE(MonoBand, kPhoto_method1, kPhoto, 1);
BENCHMARK_CAPTURE(MonoBand, kPhoto_method3, kPhoto, 3);

}  // namespace

BENCHMARK_MAIN();
