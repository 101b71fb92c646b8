#include "image/raster_geometry.h"

#include <algorithm>
#include <climits>

#include "job/job_context.h"

namespace {

constexpr int64_t kLargeDestination = 0x100000;

int64_t Magnitude(int v) {
    return v < 0 ? -int64_t{v} : int64_t{v};
}

bool FitsInt(int64_t v) {
    return v >= INT_MIN && v <= INT_MAX;
}

}  // namespace

bool ChooseRasterGeometry(const JobContext& job, int xDest, int yDest, int wDest, int hDest,
                          int wSrc, int hSrc, const BITMAPINFOHEADER& header, bool keepSource,
                          RasterGeometry* out) {
    const int64_t w = Magnitude(wDest), h = Magnitude(hDest);
    const int64_t left = std::min<int64_t>(xDest, int64_t{xDest} + wDest);
    const int64_t top = std::min<int64_t>(yDest, int64_t{yDest} + hDest);
    if (w == 0 || h == 0) return false;
    // |w x h| and |wSrc x hSrc| are at most 2^62: no overflow in 64 bits.
    const int64_t D = w * h;
    const int64_t S = Magnitude(wSrc) * Magnitude(hSrc);
    const int64_t sourceW = header.biWidth;
    const int64_t sourceH = Magnitude(header.biHeight);
    // 1.5 x S <= D as 3 x S <= 2 x D: S and D are at most 2^62, so both
    // sides fit 64 unsigned bits.
    const bool atSource =
        keepSource ||
        (3 * static_cast<uint64_t>(S) <= 2 * static_cast<uint64_t>(D) && D >= kLargeDestination);
    // The source size needs the whole destination in int coordinates, the
    // GDI's own; otherwise the visible part at the destination's size.
    if (atSource && sourceW > 0 && sourceH > 0 && sourceH <= INT_MAX && FitsInt(left) &&
        FitsInt(top) && FitsInt(left + w) && FitsInt(top + h) && w <= INT_MAX && h <= INT_MAX) {
        *out =
            RasterGeometry{left, top, w, h, static_cast<int>(sourceW), static_cast<int>(sourceH)};
        return true;
    }
    const RECT& clip = job.m_rcClipBounds;
    const int64_t l = std::max<int64_t>(left, clip.left);
    const int64_t t = std::max<int64_t>(top, clip.top);
    const int64_t r = std::min<int64_t>(left + w, clip.right);
    const int64_t b = std::min<int64_t>(top + h, clip.bottom);
    if (l >= r || t >= b) return false;
    *out = RasterGeometry{l, t, r - l, b - t, static_cast<int>(r - l), static_cast<int>(b - t)};
    return true;
}
