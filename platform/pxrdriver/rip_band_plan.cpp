// How a raster is cut into bands: as tall as the band budget allows, so
// that each replay of the picture covers as many rows as it can, with the
// buffers of all renderers together within a fixed budget.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <thread>

#include "rip_internal.h"

namespace {

unsigned PositiveFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return 0;
    char* end = nullptr;
    const unsigned long n = std::strtoul(value, &end, 10);
    if (*end != 0 || n == 0 || n > UINT_MAX) return 0;
    return static_cast<unsigned>(n);
}

}  // namespace

unsigned RipThreadsWanted() {
    if (const unsigned n = PositiveFromEnvironment("PXR_RIP_THREADS")) return n;
    return std::max(1u, std::thread::hardware_concurrency());
}

unsigned RipBandRowsForced() {
    return PositiveFromEnvironment("PXR_RIP_BAND_ROWS");
}

bool PlanRipBands(unsigned width, unsigned height, unsigned threadsWanted, unsigned forcedRows,
                  RipBandPlan* plan) {
    if (width == 0 || height == 0 || height > static_cast<unsigned>(INT_MAX) ||
        width > static_cast<unsigned>(INT_MAX))
        return false;
    const size_t rowBytes = size_t{width} * 4;
    if (rowBytes > kRipMaxBandBytes) return false;
    RipBandPlan p;
    p.width = width;
    p.height = height;
    // Threads beyond what the budget holds rows for would only wait.
    const size_t rowsInBudget = kRipBandBuffersBudget / rowBytes;
    p.threads = std::clamp(threadsWanted, 1u, kRipMaxThreads);
    while (p.threads > 1 && p.Buffers() > rowsInBudget) --p.threads;
    const size_t bandBytes = std::min(kRipMaxBandBytes, kRipBandBuffersBudget / p.Buffers());
    size_t rows = std::max<size_t>(1, bandBytes / rowBytes);
    if (forcedRows) rows = std::min<size_t>(forcedRows, rows);
    p.bandRows = static_cast<unsigned>(std::min<size_t>(rows, height));
    // A raster of one band needs no second renderer.
    if (p.Bands() == 1) p.threads = 1;
    *plan = p;
    return true;
}
