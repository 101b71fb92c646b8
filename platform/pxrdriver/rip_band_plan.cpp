// How a raster is cut into bands: of about kRipBandBytes each, the buffers
// of all renderers together within a fixed budget, inside blocks of rows
// that stay the same whatever the threads and the band height.
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
    const size_t maxRows = kRipMaxBandBytes / rowBytes;
    p.blockRows = static_cast<unsigned>(std::min<size_t>(maxRows, height));
    p.threads = std::clamp(threadsWanted, 1u, kRipMaxThreads);
    // Bands of about kRipBandBytes, but of a few rows at least: each band
    // draws the primitives that touch it afresh.
    size_t rows = std::clamp<size_t>(kRipBandBytes / rowBytes, kRipMinBandRows, maxRows);
    if (forcedRows) rows = std::min<size_t>(forcedRows, maxRows);
    rows = std::min<size_t>(rows, p.blockRows);
    // Blocks cut into bands of even height, rather than full ones and a
    // short one at each block's end.
    const size_t perBlock = (p.blockRows + rows - 1) / rows;
    p.bandRows = forcedRows ? static_cast<unsigned>(rows)
                            : static_cast<unsigned>((p.blockRows + perBlock - 1) / perBlock);
    // Threads whose buffers the budget has no room for would only wait.
    const size_t bandBytes = size_t{p.bandRows + 1} * rowBytes;
    while (p.threads > 1 && p.Buffers() * bandBytes > kRipBandBuffersBudget) --p.threads;
    // A raster of one band needs no second renderer.
    if (p.Bands() == 1) p.threads = 1;
    *plan = p;
    return true;
}

unsigned RipBandPlan::Bands() const {
    if (bandRows == 0 || blockRows == 0) return 0;
    const unsigned perBlock = (blockRows + bandRows - 1) / bandRows;
    const unsigned rest = height % blockRows;
    return height / blockRows * perBlock + (rest + bandRows - 1) / bandRows;
}

RipBand RipBandPlan::Band(unsigned index) const {
    const unsigned perBlock = (blockRows + bandRows - 1) / bandRows;
    const unsigned block = index / perBlock;
    const unsigned blockTop = block * blockRows;
    const unsigned blockEnd = std::min(height, blockTop + blockRows);
    RipBand band;
    band.top = blockTop + index % perBlock * bandRows;
    band.rows = std::min(bandRows, blockEnd - band.top);
    band.continues = band.top != blockTop;
    return band;
}
