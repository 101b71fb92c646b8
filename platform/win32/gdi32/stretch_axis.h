// One axis of a StretchDIBits, and the source pixels each destination pixel
// of it takes (its taps), for the stretchers of halftone_stretch.h and
// scan_stretch.h.
#pragma once

#include <cstdint>
#include <vector>

// The destination runs |dstLength| device pixels from pixel dst: towards
// higher coordinates when dstLength > 0, else towards lower ones (a mirror
// image covers dst + dstLength + 1 ... dst, as in GDI). It shows source
// pixels from src on, |srcLength| of them, forwards or backwards likewise.
// Source indexes are kept within [lo, hi].
struct StretchAxis {
    long long dst = 0;
    long long dstLength = 1;
    long long src = 0;
    long long srcLength = 1;
    int lo = 0;
    int hi = 0;

    long long DstCount() const { return dstLength < 0 ? -dstLength : dstLength; }
    long long SrcCount() const { return srcLength < 0 ? -srcLength : srcLength; }
    // The lowest destination pixel covered.
    long long DstLow() const { return dstLength < 0 ? dst + dstLength + 1 : dst; }
    // Destination and source run in opposite directions.
    bool Mirrored() const { return (dstLength < 0) != (srcLength < 0); }
};

// For each output pixel of [out0, out1): its taps index[first .. first +
// count), with integer weights that sum to total, or to the pixel's own
// entry of totals where the source rectangle leaves the bitmap.
struct AxisTaps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> index;  // source pixel
    std::vector<uint64_t> weight;
    uint64_t total = 1;
    std::vector<uint64_t> totals;  // empty: every pixel's weights sum to total
    bool single = true;            // every output pixel takes exactly one source pixel
    int maxCount = 0;

    void Add(int sourceIndex, uint64_t w) {
        index.push_back(sourceIndex);
        weight.push_back(w);
    }
    // Closes the taps of the output pixel begun at first.back().
    void EndPixel() {
        const int n = static_cast<int>(index.size()) - first.back();
        count.push_back(n);
        if (n > maxCount) maxCount = n;
        if (n != 1) single = false;
    }
};
