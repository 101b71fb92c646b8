// Resampling a bitmap onto device pixels as StretchDIBits does in HALFTONE
// mode. Along an axis that grows, each device pixel interpolates between
// the two source pixels around the source position of its top-left corner
// (device pixel j shows source position j * source / destination, as GDI
// places it); along an axis that shrinks, each device pixel averages the
// source area it covers. Each pass rounds to whole 8-bit channels: across
// the rows first, then down the columns.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi32/stretch_axis.h"
#include "win32/gdi32/dib.h"

// The taps of output pixels [out0, out1) of the axis.
AxisTaps BuildHalftoneTaps(const StretchAxis& axis, int out0, int out1);

// n / d rounded half up, for the weighted sums of the taps (d > 0).
class RoundingDivider {
public:
    explicit RoundingDivider(uint64_t d);
    uint32_t operator()(uint64_t n) const {
        if (m_shift >= 0) return static_cast<uint32_t>((n + m_half) >> m_shift);
        // The quotient is at most 255: the double estimate is off by at
        // most one, which the integer checks put right.
        const uint64_t num = 2 * n + m_d;
        uint64_t q = static_cast<uint64_t>(static_cast<double>(num) * m_inverse);
        if ((q + 1) * m_twice <= num) ++q;
        if (q * m_twice > num) --q;
        return static_cast<uint32_t>(q);
    }

private:
    uint64_t m_d;
    uint64_t m_twice;
    uint64_t m_half = 0;
    int m_shift = -1;  // d = 2^m_shift, or -1
    double m_inverse;  // 1 / (2 d)
};

// Produces the output rows one after another (k = 0, 1, ...), reading each
// source row once while it is needed.
class RowStretcher {
public:
    RowStretcher(const DibImage& image, const AxisTaps& xTaps, const AxisTaps& yTaps);
    // Output row k as 0x00RRGGBB pixels, xTaps.count.size() of them.
    void Row(int k, uint32_t* out);

private:
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
    const AxisTaps& m_x;
    const AxisTaps& m_y;
    // The divider of output column j (one for all when the totals agree).
    const RoundingDivider& XDivider(size_t j) const {
        return m_xDivide.size() == 1 ? m_xDivide[0] : m_xDivide[j];
    }

    std::vector<RoundingDivider> m_xDivide;
    std::vector<RoundingDivider> m_yDivide;
    std::vector<uint32_t> m_source;  // one source row
    int m_xPadded = 0;               // K of the padded taps below, 0 when not padded
    std::vector<int> m_xPaddedIndex;
    std::vector<uint64_t> m_xPaddedWeight;
    struct Slot {
        int row = -1;
        uint64_t used = 0;
        std::vector<uint32_t> values;  // red, green, blue of each output pixel, rounded
    };
    std::vector<Slot> m_cache;
    uint64_t m_clock = 0;
    std::vector<uint64_t> m_sum;
};
