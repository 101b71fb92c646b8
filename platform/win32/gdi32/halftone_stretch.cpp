#include "gdi32/halftone_stretch.h"

#include <algorithm>
#include <bit>

AxisTaps BuildHalftoneTaps(const StretchAxis& axis, int out0, int out1) {
    AxisTaps taps;
    const long long D = axis.DstCount(), S = axis.SrcCount();
    const long long srcLow = axis.srcLength < 0 ? axis.src + axis.srcLength + 1 : axis.src;
    const bool mirrored = axis.Mirrored();
    // Source pixel i counted from the source's edge that meets the
    // destination's low edge.
    const auto source = [&](long long i) {
        const long long at = mirrored ? srcLow + S - 1 - i : srcLow + i;
        return static_cast<int>(std::clamp<long long>(at, axis.lo, axis.hi));
    };
    // Growing: weights in D-ths of a source pixel; shrinking: each source
    // pixel by the share of it inside the device pixel, in D-ths, S in all.
    taps.total = static_cast<uint64_t>(std::max(D, S));
    const bool growing = D >= S;
    // The source pixels (counted as source() counts them) inside [lo, hi].
    const long long lowIndex = mirrored ? srcLow + S - 1 - axis.hi : axis.lo - srcLow;
    const long long highIndex = mirrored ? srcLow + S - 1 - axis.lo : axis.hi - srcLow;
    const long long validFirst = std::clamp<long long>(lowIndex, 0, S - 1);
    const long long validLast = std::clamp<long long>(highIndex, validFirst, S - 1);
    for (int o = out0; o < out1; ++o) {
        taps.first.push_back(static_cast<int>(taps.index.size()));
        const long long j = o - axis.DstLow();
        if (growing) {
            const long long p = j * S, i = p / D, r = p % D;
            if (r == 0 || i + 1 >= S) {
                taps.Add(source(std::min(i, S - 1)), taps.total);
            } else {
                taps.Add(source(i), static_cast<uint64_t>(D - r));
                taps.Add(source(i + 1), static_cast<uint64_t>(r));
            }
        } else {
            // In D-ths of a source pixel; only the pixels the bitmap has,
            // their shares brought back to S in all.
            const long long from = j * S, to = from + S;
            const long long first = std::max(from / D, validFirst);
            const long long last = std::min((to - 1) / D, validLast);
            uint64_t inside = 0;
            for (long long i = first; i <= last; ++i) {
                const long long share = std::min(to, (i + 1) * D) - std::max(from, i * D);
                if (share <= 0) continue;
                taps.Add(source(i), static_cast<uint64_t>(share));
                inside += static_cast<uint64_t>(share);
            }
            if (inside == 0) {
                taps.Add(source(std::clamp(from / D, validFirst, validLast)), taps.total);
            } else if (inside != taps.total) {
                // A pixel over the bitmap's edge averages what it has.
                if (taps.totals.empty()) taps.totals.assign(taps.first.size() - 1, taps.total);
                taps.totals.push_back(inside);
            }
        }
        if (!taps.totals.empty() && taps.totals.size() < taps.first.size())
            taps.totals.push_back(taps.total);
        taps.EndPixel();
    }
    return taps;
}

RoundingDivider::RoundingDivider(uint64_t d)
    : m_d(d), m_twice(2 * d), m_inverse(1.0 / (2.0 * static_cast<double>(d))) {
    if (std::has_single_bit(d)) {
        m_shift = std::countr_zero(d);
        m_half = d / 2;
    }
}

RowStretcher::RowStretcher(const DibImage& image, const AxisTaps& xTaps, const AxisTaps& yTaps)
    : m_image(image), m_x(xTaps), m_y(yTaps) {
    for (uint64_t t : xTaps.totals.empty() ? std::vector<uint64_t>{xTaps.total} : xTaps.totals)
        m_xDivide.emplace_back(t);
    for (uint64_t t : yTaps.totals.empty() ? std::vector<uint64_t>{yTaps.total} : yTaps.totals)
        m_yDivide.emplace_back(t);
    m_source.resize(static_cast<size_t>(image.Width()));
    if (xTaps.maxCount >= 1 && xTaps.maxCount <= 4) {
        m_xPadded = xTaps.maxCount;
        const size_t width = xTaps.count.size();
        m_xPaddedIndex.assign(width * m_xPadded, 0);
        m_xPaddedWeight.assign(width * m_xPadded, 0);
        for (size_t j = 0; j < width; ++j) {
            const int first = xTaps.first[j];
            for (int t = 0; t < m_xPadded; ++t) {
                const bool real = t < xTaps.count[j];
                m_xPaddedIndex[j * m_xPadded + t] = xTaps.index[real ? first + t : first];
                m_xPaddedWeight[j * m_xPadded + t] = real ? xTaps.weight[first + t] : 0;
            }
        }
    }
    m_cache.resize(static_cast<size_t>(std::max(1, yTaps.maxCount)) + 1);
    m_sum.resize(m_x.count.size() * 3);
}

const uint32_t* RowStretcher::Horizontal(int sourceRow) {
    Slot* slot = nullptr;
    for (Slot& s : m_cache) {
        if (s.row == sourceRow) {
            s.used = ++m_clock;
            return s.values.data();
        }
        if (!slot || s.used < slot->used) slot = &s;
    }
    slot->row = sourceRow;
    slot->used = ++m_clock;
    slot->values.resize(m_x.count.size() * 3);
    uint32_t* v = slot->values.data();
    if (const BYTE* direct = m_image.DirectRow(sourceRow); direct && m_xPadded == 2) {
        // The common HALFTONE cases (2:1 and less) need no converted row.
        if (m_image.DirectBytesPerPixel() == 3)
            HorizontalDirect<2, 3>(direct, v);
        else
            HorizontalDirect<2, 4>(direct, v);
        return v;
    }
    m_image.ReadRow(sourceRow, m_source.data());
    switch (m_xPadded) {
        case 1: HorizontalFixed<1>(v); return v;
        case 2: HorizontalFixed<2>(v); return v;
        case 3: HorizontalFixed<3>(v); return v;
        case 4: HorizontalFixed<4>(v); return v;
        default: break;
    }
    for (size_t j = 0; j < m_x.count.size(); ++j, v += 3) {
        uint64_t r = 0, g = 0, b = 0;
        const int first = m_x.first[j];
        for (int t = first; t < first + m_x.count[j]; ++t) {
            const uint32_t p = m_source[static_cast<size_t>(m_x.index[t])];
            const uint64_t w = m_x.weight[t];
            r += w * ((p >> 16) & 0xFF);
            g += w * ((p >> 8) & 0xFF);
            b += w * (p & 0xFF);
        }
        const RoundingDivider& d = XDivider(j);
        v[0] = d(r), v[1] = d(g), v[2] = d(b);
    }
    return slot->values.data();
}

template <int K>
void RowStretcher::HorizontalFixed(uint32_t* v) const {
    const int* index = m_xPaddedIndex.data();
    const uint64_t* weight = m_xPaddedWeight.data();
    const uint32_t* source = m_source.data();
    const size_t width = m_x.count.size();
    for (size_t j = 0; j < width; ++j, v += 3, index += K, weight += K) {
        uint64_t r = 0, g = 0, b = 0;
        for (int t = 0; t < K; ++t) {
            const uint32_t p = source[index[t]];
            const uint64_t w = weight[t];
            r += w * ((p >> 16) & 0xFF);
            g += w * ((p >> 8) & 0xFF);
            b += w * (p & 0xFF);
        }
        const RoundingDivider& d = XDivider(j);
        v[0] = d(r), v[1] = d(g), v[2] = d(b);
    }
}

template <int K, int B>
void RowStretcher::HorizontalDirect(const BYTE* source, uint32_t* v) const {
    const int* index = m_xPaddedIndex.data();
    const uint64_t* weight = m_xPaddedWeight.data();
    const size_t width = m_x.count.size();
    for (size_t j = 0; j < width; ++j, v += 3, index += K, weight += K) {
        uint64_t r = 0, g = 0, b = 0;
        for (int t = 0; t < K; ++t) {
            const BYTE* p = source + static_cast<size_t>(index[t]) * B;
            const uint64_t w = weight[t];
            r += w * p[2];
            g += w * p[1];
            b += w * p[0];
        }
        const RoundingDivider& d = XDivider(j);
        v[0] = d(r), v[1] = d(g), v[2] = d(b);
    }
}

void RowStretcher::Row(int k, uint32_t* out) {
    const size_t width = m_x.count.size();
    const int first = m_y.first[static_cast<size_t>(k)];
    if (m_x.single && m_y.single) {
        // Each output pixel is one source pixel: no arithmetic.
        if (const BYTE* direct = m_image.DirectRow(m_y.index[first])) {
            const size_t bytes = static_cast<size_t>(m_image.DirectBytesPerPixel());
            for (size_t j = 0; j < width; ++j) {
                const BYTE* p = direct + static_cast<size_t>(m_x.index[j]) * bytes;
                out[j] = uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
            }
            return;
        }
        m_image.ReadRow(m_y.index[first], m_source.data());
        for (size_t j = 0; j < width; ++j)
            out[j] = m_source[static_cast<size_t>(m_x.index[j])] & 0x00FFFFFF;
        return;
    }
    const int count = m_y.count[static_cast<size_t>(k)];
    if (count == 1) {
        // The row as the horizontal pass made it.
        const uint32_t* c = Horizontal(m_y.index[first]);
        for (size_t j = 0; j < width; ++j, c += 3) out[j] = c[0] << 16 | c[1] << 8 | c[2];
        return;
    }
    std::fill(m_sum.begin(), m_sum.end(), uint64_t{0});
    for (int t = first; t < first + count; ++t) {
        const uint32_t* row = Horizontal(m_y.index[t]);
        const uint64_t w = m_y.weight[t];
        for (size_t i = 0; i < width * 3; ++i) m_sum[i] += w * row[i];
    }
    const RoundingDivider& d =
        m_yDivide.size() == 1 ? m_yDivide[0] : m_yDivide[static_cast<size_t>(k)];
    for (size_t j = 0; j < width; ++j) {
        const uint64_t* c = &m_sum[j * 3];
        out[j] = d(c[0]) << 16 | d(c[1]) << 8 | d(c[2]);
    }
}
