// Arbitrary metafiles played through the metafile player and the reference
// host's plot device into a driver, as `plothost plot` does: whatever the
// records hold (object indexes, transforms, curves, clip regions), no crash
// and no undefined behaviour in the player, the region algebra or the
// driver.
#include <vector>

#include "plot_through_driver.h"

// fontconfig keeps what it read of its configuration for the life of the
// process, some of it where the leak checker cannot follow: text records
// reach it, and the leak is none of this code's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The reader wants the records on a 4-byte boundary: a heap copy is.
    std::vector<BYTE> bytes(data, data + size);
    PlotThroughDriver(bytes);
    return 0;
}
