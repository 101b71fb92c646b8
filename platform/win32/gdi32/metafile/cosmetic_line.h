// One-pixel lines as GDI draws them on a raster device: one pixel per
// column of a line that runs more across than down (per row otherwise), the
// last point left out, as LineTo and Polyline leave it. The pixel of each
// step is the one the ideal line passes nearest; where it passes exactly
// between two, the choice depends on the direction of travel, so a line
// drawn back the other way may differ.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_path.h"

// Marks with 1 the bytes of ink (rows of stride bytes over area, which the
// caller has zeroed) under the one-pixel lines of the figures, a closed
// figure back to its start. With a dash pattern (pixel counts: dash, gap,
// dash, ... running on along each figure), the dashes go to ink and, when
// gaps is not null, the gaps to gaps.
void MarkThinLines(std::span<const Figure> figures, std::span<const double> pattern,
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
