// Resampling a bitmap onto device pixels as StretchDIBits does it: in
// HALFTONE mode each device pixel averages the source area it covers when
// the image shrinks and interpolates between the nearest source pixels when
// it grows; the other modes take the source pixel under the pixel's centre.
#pragma once

#include <cstdint>
#include <vector>

#include "win32/gdi32/dib.h"

// The source pixels and weights of each output pixel along one axis.
struct HalftoneAxisTaps {
    std::vector<int> first;  // per output pixel: its first entry in index/weight
    std::vector<int> count;
    std::vector<int> index;  // source pixel
    std::vector<float> weight;
    bool single = true;  // every output pixel takes exactly one source pixel
    int maxCount = 0;
};

// Output pixels [out0, out1) of an axis whose device span d0 -> d1 shows the
// source span s0 -> s1 (either may run backwards: a mirror image). Source
// indexes are kept within [lo, hi].
HalftoneAxisTaps BuildAxisTaps(double d0, double d1, double s0, double s1, int out0, int out1,
                               int lo, int hi, bool halftone);

// Produces the output rows one after another (k = 0, 1, ...), reading each
// source row once while it is needed.
class RowStretcher {
public:
    RowStretcher(const DibImage& image, const HalftoneAxisTaps& xTaps,
                 const HalftoneAxisTaps& yTaps);
    // Output row k as 0x00RRGGBB pixels, xTaps.count.size() of them.
    void Row(int k, uint32_t* out);

private:
    // Weights in fixed point: horizontal sums of 255 x 2^12 times vertical
    // weights of 2^10 stay below 2^32.
    static constexpr int kXBits = 12;
    static constexpr int kYBits = 10;
    const uint32_t* Horizontal(int sourceRow);
    // The horizontal pass with every output pixel padded to K taps (zero
    // weights), so that the inner loop has a fixed length.
    template <int K>
    void HorizontalFixed(uint32_t* v) const;
    // The same, reading blue, green, red straight from a stored row of B
    // bytes a pixel.
    template <int K, int B>
    void HorizontalDirect(const BYTE* source, uint32_t* v) const;

    const DibImage& m_image;
    const HalftoneAxisTaps& m_x;
    const HalftoneAxisTaps& m_y;
    std::vector<uint32_t> m_source;   // one source row
    std::vector<uint32_t> m_xWeight;  // per tap, summing to 2^kXBits per output pixel
    int m_xPadded = 0;                // K of the padded taps below, 0 when not padded
    std::vector<int> m_xPaddedIndex;
    std::vector<uint32_t> m_xPaddedWeight;
    std::vector<uint32_t> m_yWeight;  // summing to 2^kYBits
    struct Slot {
        int row = -1;
        uint64_t used = 0;
        std::vector<uint32_t> values;  // red, green, blue of each output pixel
    };
    std::vector<Slot> m_cache;
    uint64_t m_clock = 0;
    std::vector<uint32_t> m_sum;
};
