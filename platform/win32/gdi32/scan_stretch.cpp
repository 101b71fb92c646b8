#include "gdi32/scan_stretch.h"

#include <algorithm>

#include <windows.h>

namespace {

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

uint32_t Combine(int mode, uint32_t a, uint32_t b) {
    return mode == BLACKONWHITE ? a & b : a | b;
}

}  // namespace

AxisTaps BuildScanTaps(const StretchAxis& axis, int out0, int out1) {
    AxisTaps taps;
    const long long D = axis.DstCount(), S = axis.SrcCount();
    // Source pixel i counted from the source's start edge, in its direction.
    const auto source = [&](long long i) {
        const long long at = axis.srcLength < 0 ? axis.src - i : axis.src + i;
        return static_cast<int>(std::clamp<long long>(at, axis.lo, axis.hi));
    };
    // The source pixels (counted as source() counts them) inside [lo, hi].
    const long long lowIndex = axis.srcLength < 0 ? axis.src - axis.hi : axis.lo - axis.src;
    const long long highIndex = axis.srcLength < 0 ? axis.src - axis.lo : axis.hi - axis.src;
    const long long validFirst = std::clamp<long long>(lowIndex, 0, S - 1);
    const long long validLast = std::clamp<long long>(highIndex, validFirst, S - 1);
    for (int o = out0; o < out1; ++o) {
        taps.first.push_back(static_cast<int>(taps.index.size()));
        // Destination pixel j counted from the start edge.
        const long long j = axis.dstLength < 0 ? axis.dst - o : o - axis.dst;
        if (D >= S) {
            taps.Add(source(((2 * j + 1) * S + 2 * D - 1) / (2 * D) - 1), 1);
        } else {
            const auto firstOf = [&](long long d) {
                return std::clamp<long long>(FloorDiv(2 * d * S - D, 2 * D) + 1, 0, S);
            };
            // Only the pixels the bitmap has: the others stand for its edge
            // pixels, which combine with themselves to themselves.
            const long long first = std::max(firstOf(j), validFirst);
            const long long end = std::min(firstOf(j + 1), validLast + 1);
            for (long long i = first; i < end; ++i) taps.Add(source(i), 1);
            if (first >= end) taps.Add(source(std::clamp(firstOf(j), validFirst, validLast)), 1);
        }
        taps.EndPixel();
    }
    return taps;
}

ScanStretcher::ScanStretcher(const DibImage& image, const AxisTaps& xTaps, const AxisTaps& yTaps,
                             int mode)
    : m_image(image), m_x(xTaps), m_y(yTaps), m_mode(mode) {
    m_source.resize(static_cast<size_t>(image.Width()));
    m_row.resize(xTaps.count.size());
}

void ScanStretcher::Columns(int y, uint32_t* out) {
    m_image.ReadRow(y, m_source.data());
    for (size_t j = 0; j < m_x.count.size(); ++j) {
        const int first = m_x.first[j], count = m_x.count[j];
        uint32_t p = m_source[static_cast<size_t>(m_x.index[first])];
        if (m_mode == COLORONCOLOR) {
            p = m_source[static_cast<size_t>(m_x.index[first + count - 1])];
        } else {
            for (int t = first + 1; t < first + count; ++t)
                p = Combine(m_mode, p, m_source[static_cast<size_t>(m_x.index[t])]);
        }
        out[j] = p & 0x00FFFFFF;
    }
}

void ScanStretcher::Row(int k, uint32_t* out) {
    const int first = m_y.first[static_cast<size_t>(k)];
    const int count = m_y.count[static_cast<size_t>(k)];
    Columns(m_y.index[first], out);
    if (m_mode == COLORONCOLOR) return;
    for (int t = first + 1; t < first + count; ++t) {
        Columns(m_y.index[t], m_row.data());
        for (size_t j = 0; j < m_row.size(); ++j) out[j] = Combine(m_mode, out[j], m_row[j]);
    }
}
