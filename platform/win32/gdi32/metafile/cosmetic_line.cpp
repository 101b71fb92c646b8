#include "gdi32/metafile/cosmetic_line.h"

namespace cosmetic_line_detail {

namespace {

long long CeilDiv(long long n, long long d) {
    return n / d + ((n % d != 0) && ((n > 0) == (d > 0)));
}

}  // namespace

long long Steps::Minor(long long m) const {
    return CeilDiv(2 * m * dMinor + bias - dMajor, 2 * dMajor);
}

Steps StepsOf(POINT a, POINT b) {
    const long long dx = static_cast<long long>(b.x) - a.x;
    const long long dy = static_cast<long long>(b.y) - a.y;
    Steps s;
    s.xStep = dx < 0 ? -1 : 1;
    s.yStep = dy < 0 ? -1 : 1;
    const long long ax = std::llabs(dx), ay = std::llabs(dy);
    // A line as steep as it is wide steps along y.
    s.xMajor = ax > ay;
    s.dMajor = s.xMajor ? ax : ay;
    s.dMinor = s.xMajor ? ay : ax;
    s.major = s.dMajor;
    // Where the line passes exactly between two pixels, the directions of
    // octants 3, 5, 6 and 8 (counted clockwise from +x, y down) step across
    // early, the others late.
    const bool down = dy > 0;
    const int octant = down ? (dx > 0 ? (ax > ay ? 1 : 2) : (ax > ay ? 4 : 3))
                            : (dx < 0 ? (ax > ay ? 5 : 6) : (ax > ay ? 8 : 7));
    s.bias = (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
    return s;
}

// The pattern in pixel steps, not rounded entry by entry, so that a style
// unit of a fraction of a pixel keeps its period; a pattern of no length
// draws solid.
PixelPattern::PixelPattern(std::span<const double> pattern) : m_pattern(pattern) {
    for (double length : pattern) m_period += std::max(0.0, length);
}

bool PixelPattern::InDash(long long pixels) const {
    double at = std::fmod(static_cast<double>(pixels), m_period);
    size_t k = 0;
    while (k + 1 < m_pattern.size() && at >= std::max(0.0, m_pattern[k]))
        at -= std::max(0.0, m_pattern[k++]);
    return k % 2 == 0;
}

}  // namespace cosmetic_line_detail

void MarkThinLines(std::span<const FigureView> figures, std::span<const double> pattern,
                   const RECT& area, size_t stride, uint8_t* ink, uint8_t* gaps) {
    ThinLinePixels(figures, pattern, area, [&](int x, int y, bool dash) {
        uint8_t* bytes = dash ? ink : gaps;
        if (bytes)
            bytes[static_cast<size_t>(y - area.top) * stride + static_cast<size_t>(x - area.left)] =
                1;
    });
}
