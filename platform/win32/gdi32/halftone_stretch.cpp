#include "gdi32/halftone_stretch.h"

#include <algorithm>
#include <cmath>

namespace {

// Offsets this close to a pixel boundary are taken as on it, so that a 1:1
// mapping takes each source pixel whole.
constexpr double kEpsilon = 1e-6;

void AddTap(HalftoneAxisTaps& taps, int index, double weight, int lo, int hi) {
    taps.index.push_back(std::clamp(index, lo, hi));
    taps.weight.push_back(static_cast<float>(weight));
}

}  // namespace

HalftoneAxisTaps BuildAxisTaps(double d0, double d1, double s0, double s1, int out0, int out1,
                               int lo, int hi, bool halftone) {
    HalftoneAxisTaps taps;
    const double scale = (s1 - s0) / (d1 - d0);  // source pixels per device pixel, signed
    for (int o = out0; o < out1; ++o) {
        taps.first.push_back(static_cast<int>(taps.index.size()));
        const double a = s0 + (o - d0) * scale, b = s0 + (o + 1 - d0) * scale;
        const double from = std::min(a, b), to = std::max(a, b);
        // Source positions are clamped to the source rectangle as doubles
        // before they become ints: far outside it they need not fit an int.
        auto clampIndex = [lo, hi](double v) {
            return static_cast<int>(
                std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
        };
        if (!halftone) {
            AddTap(taps, clampIndex(std::floor((from + to) / 2)), 1.0, lo, hi);
        } else if (to - from > 1.0 + kEpsilon) {
            // Shrinking: the average of the source area inside the source
            // rectangle, each pixel by its share.
            const double first = std::max(std::floor(from + kEpsilon), static_cast<double>(lo));
            const double last = std::min(std::ceil(to - kEpsilon), static_cast<double>(hi) + 1);
            double total = 0;
            for (double i = first; i < last; ++i) total += std::min(to, i + 1) - std::max(from, i);
            if (total <= kEpsilon) {
                AddTap(taps, clampIndex(std::floor((from + to) / 2)), 1.0, lo, hi);
            } else {
                for (double i = first; i < last; ++i) {
                    const double share = std::min(to, i + 1) - std::max(from, i);
                    if (share > kEpsilon) AddTap(taps, static_cast<int>(i), share / total, lo, hi);
                }
            }
        } else {
            // Enlarging: between the two source pixels whose centres are nearest.
            const double centre = (from + to) / 2 - 0.5;
            double base = std::floor(centre);
            double f = centre - base;
            if (f < kEpsilon) f = 0;
            if (f > 1 - kEpsilon) base += 1, f = 0;
            if (base < lo || base >= hi) {
                AddTap(taps, clampIndex(base + (f >= 0.5 ? 1 : 0)), 1.0, lo, hi);
            } else {
                AddTap(taps, static_cast<int>(base), 1 - f, lo, hi);
                if (f > 0) AddTap(taps, static_cast<int>(base) + 1, f, lo, hi);
            }
        }
        const int n = static_cast<int>(taps.index.size()) - taps.first.back();
        taps.count.push_back(n);
        taps.maxCount = std::max(taps.maxCount, n);
        if (n != 1) taps.single = false;
    }
    return taps;
}

namespace {

// The taps' weights as integers summing exactly to 2^bits for each output
// pixel (the rounding remainder goes to the heaviest tap).
std::vector<uint32_t> FixedWeights(const HalftoneAxisTaps& taps, int bits) {
    std::vector<uint32_t> fixed(taps.weight.size());
    const uint32_t one = 1u << bits;
    for (size_t o = 0; o < taps.count.size(); ++o) {
        const int first = taps.first[o];
        uint32_t sum = 0;
        int heaviest = first;
        for (int t = first; t < first + taps.count[o]; ++t) {
            fixed[t] = static_cast<uint32_t>(taps.weight[t] * one + 0.5f);
            sum += fixed[t];
            if (fixed[t] > fixed[heaviest]) heaviest = t;
        }
        fixed[heaviest] = fixed[heaviest] + one - sum;
    }
    return fixed;
}

}  // namespace

RowStretcher::RowStretcher(const DibImage& image, const HalftoneAxisTaps& xTaps,
                           const HalftoneAxisTaps& yTaps)
    : m_image(image), m_x(xTaps), m_y(yTaps) {
    m_source.resize(static_cast<size_t>(image.Width()));
    m_xWeight = FixedWeights(xTaps, kXBits);
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
                m_xPaddedWeight[j * m_xPadded + t] = real ? m_xWeight[first + t] : 0;
            }
        }
    }
    m_yWeight = FixedWeights(yTaps, kYBits);
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
    const int* index = m_x.index.data();
    const uint32_t* weight = m_xWeight.data();
    for (size_t j = 0; j < m_x.count.size(); ++j, v += 3) {
        uint32_t r = 0, g = 0, b = 0;
        const int first = m_x.first[j];
        for (int t = first; t < first + m_x.count[j]; ++t) {
            const uint32_t p = m_source[static_cast<size_t>(index[t])];
            const uint32_t w = weight[t];
            r += w * ((p >> 16) & 0xFF);
            g += w * ((p >> 8) & 0xFF);
            b += w * (p & 0xFF);
        }
        v[0] = r, v[1] = g, v[2] = b;
    }
    return slot->values.data();
}

template <int K>
void RowStretcher::HorizontalFixed(uint32_t* v) const {
    const int* index = m_xPaddedIndex.data();
    const uint32_t* weight = m_xPaddedWeight.data();
    const uint32_t* source = m_source.data();
    const size_t width = m_x.count.size();
    for (size_t j = 0; j < width; ++j, v += 3, index += K, weight += K) {
        uint32_t r = 0, g = 0, b = 0;
        for (int t = 0; t < K; ++t) {
            const uint32_t p = source[index[t]];
            const uint32_t w = weight[t];
            r += w * ((p >> 16) & 0xFF);
            g += w * ((p >> 8) & 0xFF);
            b += w * (p & 0xFF);
        }
        v[0] = r, v[1] = g, v[2] = b;
    }
}

template <int K, int B>
void RowStretcher::HorizontalDirect(const BYTE* source, uint32_t* v) const {
    const int* index = m_xPaddedIndex.data();
    const uint32_t* weight = m_xPaddedWeight.data();
    const size_t width = m_x.count.size();
    for (size_t j = 0; j < width; ++j, v += 3, index += K, weight += K) {
        uint32_t r = 0, g = 0, b = 0;
        for (int t = 0; t < K; ++t) {
            const BYTE* p = source + static_cast<size_t>(index[t]) * B;
            const uint32_t w = weight[t];
            r += w * p[2];
            g += w * p[1];
            b += w * p[0];
        }
        v[0] = r, v[1] = g, v[2] = b;
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
    std::fill(m_sum.begin(), m_sum.end(), 0u);
    for (int t = first; t < first + m_y.count[static_cast<size_t>(k)]; ++t) {
        const uint32_t* row = Horizontal(m_y.index[t]);
        const uint32_t w = m_yWeight[t];
        for (size_t i = 0; i < width * 3; ++i) m_sum[i] += w * row[i];
    }
    constexpr int shift = kXBits + kYBits;
    constexpr uint32_t half = 1u << (shift - 1);
    for (size_t j = 0; j < width; ++j) {
        const uint32_t* c = &m_sum[j * 3];
        out[j] = ((c[0] + half) >> shift) << 16 | ((c[1] + half) >> shift) << 8 |
                 ((c[2] + half) >> shift);
    }
}
