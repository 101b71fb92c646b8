// One-pixel lines as GDI draws them on a raster device: one pixel per
// column of a line that runs more across than down (per row otherwise), the
// last point left out, as LineTo and Polyline leave it. The pixel of each
// step is the one the ideal line passes nearest; where it passes exactly
// between two, the choice depends on the direction of travel, so a line
// drawn back the other way may differ.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_path.h"

// Calls pixel(x, y, dash) for the pixels in area of the one-pixel lines of
// the figures, a closed figure back to its start. With a dash pattern
// (pixel counts: dash, gap, dash, ... running on along each figure), dash
// says whether the pixel is in a dash or a gap; without one every pixel is
// a dash. A pixel is called once for each time a line steps on it.
template <typename Pixel>
void ThinLinePixels(std::span<const FigureView> figures, std::span<const double> pattern,
                    const RECT& area, Pixel&& pixel);

// Marks with 1 the bytes of ink (rows of stride bytes over area, which the
// caller has zeroed) under the one-pixel lines of the figures; with a dash
// pattern, the dashes go to ink and, when gaps is not null, the gaps to
// gaps.
void MarkThinLines(std::span<const FigureView> figures, std::span<const double> pattern,
                   const RECT& area, size_t stride, uint8_t* ink, uint8_t* gaps);

// Calls pixel(x, y, step) for the pixels of the line from a to b that lie
// in area; step counts the pixels from a (0 for a), so that a dash pattern
// can run along them. Returns the line's pixel count, area or not.
template <typename Pixel>
long long CosmeticLine(POINT a, POINT b, const RECT& area, Pixel&& pixel);

namespace cosmetic_line_detail {

struct Steps {
    long long major = 0;  // pixels in all
    bool xMajor = true;
    int xStep = 1, yStep = 1;
    long long dMajor = 0, dMinor = 0;
    int bias = 0;
    // Minor-axis offset of pixel m: ceil((2 m dMinor + bias - dMajor) / (2 dMajor)).
    long long Minor(long long m) const;
};

Steps StepsOf(POINT a, POINT b);

// Where along a dash pattern a pixel count falls: in a dash or in a gap.
class PixelPattern {
public:
    explicit PixelPattern(std::span<const double> pattern);
    bool Dashed() const { return m_period > 0; }
    bool InDash(long long pixels) const;

private:
    std::span<const double> m_pattern;
    double m_period = 0;
};

}  // namespace cosmetic_line_detail

template <typename Pixel>
long long CosmeticLine(POINT a, POINT b, const RECT& area, Pixel&& pixel) {
    using namespace cosmetic_line_detail;
    const Steps s = StepsOf(a, b);
    // The steps whose major coordinate lies in the area.
    const long long from = s.xMajor ? a.x : a.y;
    const int step = s.xMajor ? s.xStep : s.yStep;
    const long long lo = s.xMajor ? area.left : area.top;
    const long long hi = (s.xMajor ? area.right : area.bottom) - 1;
    long long m0 = step > 0 ? lo - from : from - hi;
    long long m1 = step > 0 ? hi - from : from - lo;
    // And those whose minor coordinate can: the offset of step m lies within
    // [m dMinor / dMajor - 1/2, m dMinor / dMajor + 1), so a step or two
    // beyond these bounds is left to the test below. (The offsets run from
    // 0 to dMinor, which keeps the products well within a double's
    // integers.)
    if (s.dMinor > 0) {
        const long long minorFrom = s.xMajor ? a.y : a.x;
        const int minorStep = s.xMajor ? s.yStep : s.xStep;
        const long long minorLo = s.xMajor ? area.top : area.left;
        const long long minorHi = (s.xMajor ? area.bottom : area.right) - 1;
        const auto offset = [&](long long v) {
            return static_cast<double>(std::clamp(v, -2LL, s.dMinor + 2));
        };
        const double nLo = offset(minorStep > 0 ? minorLo - minorFrom : minorFrom - minorHi);
        const double nHi = offset(minorStep > 0 ? minorHi - minorFrom : minorFrom - minorLo);
        const double ratio = static_cast<double>(s.dMajor) / static_cast<double>(s.dMinor);
        m0 = std::max(m0, static_cast<long long>(std::floor((nLo - 1) * ratio)) - 2);
        m1 = std::min(m1, static_cast<long long>(std::ceil((nHi + 0.5) * ratio)) + 2);
    }
    if (m0 < 0) m0 = 0;
    if (m1 > s.major - 1) m1 = s.major - 1;
    for (long long m = m0; m <= m1; ++m) {
        const long long n = s.Minor(m);
        const long long x = a.x + (s.xMajor ? m * s.xStep : n * s.xStep);
        const long long y = a.y + (s.xMajor ? n * s.yStep : m * s.yStep);
        if (x >= area.left && x < area.right && y >= area.top && y < area.bottom)
            pixel(static_cast<int>(x), static_cast<int>(y), m);
    }
    return s.major;
}

template <typename Pixel>
void ThinLinePixels(std::span<const FigureView> figures, std::span<const double> pattern,
                    const RECT& area, Pixel&& pixel) {
    const cosmetic_line_detail::PixelPattern dashes(pattern);
    for (const FigureView& figure : figures) {
        const std::span<const POINT> points = figure.points;
        if (points.size() < 2) continue;
        long long done = 0;  // pixels of the figure before this segment
        const size_t segments = figure.closed ? points.size() : points.size() - 1;
        for (size_t i = 0; i < segments; ++i) {
            const POINT a = points[i], b = points[(i + 1) % points.size()];
            // A segment beyond the area only moves the pattern on by its
            // pixels, one a step along its longer side.
            if (std::max(a.x, b.x) < area.left || std::min(a.x, b.x) >= area.right ||
                std::max(a.y, b.y) < area.top || std::min(a.y, b.y) >= area.bottom) {
                done += std::max(std::llabs(static_cast<long long>(b.x) - a.x),
                                 std::llabs(static_cast<long long>(b.y) - a.y));
                continue;
            }
            done += CosmeticLine(a, b, area, [&](int x, int y, long long step) {
                pixel(x, y, !dashes.Dashed() || dashes.InDash(done + step));
            });
        }
    }
}
