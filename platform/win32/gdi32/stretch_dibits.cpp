// StretchDIBits into a memory device context, and the stretch mode.
#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <optional>

#include "gdi32/dib/dib_extent.h"
#include "gdi32/gdi_coverage.h"
#include "gdi32/halftone_stretch.h"
#include "gdi32/scan_stretch.h"

namespace {

// Output rows made at a time when the clip needs a coverage mask.
constexpr int kRowsPerPass = 64;

}  // namespace

extern "C" {

int WINAPI SetStretchBltMode(HDC hdc, int mode) {
    HDC__* dc = FindDc(hdc);
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    const int old = dc->stretchMode;
    dc->stretchMode = mode;
    return old;
}

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc,
                         int ySrc, int SrcWidth, int SrcHeight, const void* lpBits,
                         const BITMAPINFO* lpbmi, UINT iUsage, DWORD rop) {
    HDC__* dc = FindDc(hdc);
    size_t infoBytes;
    if (!dc || !lpBits || !lpbmi || !DibInfoBytes(lpbmi, iUsage, &infoBytes)) return 0;
    DibImage image;
    if (image.Open(lpbmi, infoBytes, lpBits, DibBitsBytes(lpbmi), iUsage) != DibStatus::Ok)
        return 0;
    if (DestWidth == 0 || DestHeight == 0 || SrcWidth == 0 || SrcHeight == 0) return 0;
    // The scan lines drawn; |INT_MIN| is taken as INT_MAX.
    const int scans = SrcHeight < 0 ? (SrcHeight == INT_MIN ? INT_MAX : -SrcHeight) : SrcHeight;

    // The destination in device pixels; corners computed wide, so that
    // extents near 2^31 do not wrap.
    const DPointF c0 = dc->ToDevice(xDest, yDest);
    const DPointF c1 = dc->ToDevice(static_cast<double>(xDest) + DestWidth,
                                    static_cast<double>(yDest) + DestHeight);
    auto round = [](double v) { return std::clamp(std::floor(v + 0.5), -1e15, 1e15); };
    const double dx0 = round(c0.x), dx1 = round(c1.x), dy0 = round(c0.y), dy1 = round(c1.y);
    if (dx0 == dx1 || dy0 == dy1) return scans;
    // The device pixels covered: from the first corner's pixel towards the
    // second corner, which a mirror image covers up to its own pixel.
    const StretchAxis xDst{static_cast<long long>(dx0), static_cast<long long>(dx1 - dx0)};
    const StretchAxis yDst{static_cast<long long>(dy0), static_cast<long long>(dy1 - dy0)};
    auto toLong = [](double v) { return static_cast<LONG>(std::clamp(v, -2e9, 2e9)); };
    const double left = static_cast<double>(xDst.DstLow()),
                 top = static_cast<double>(yDst.DstLow());
    RECT area;
    if (!DrawableArea(
            *dc,
            RECT{toLong(left), toLong(top), toLong(left + static_cast<double>(xDst.DstCount())),
                 toLong(top + static_cast<double>(yDst.DstCount()))},
            &area))
        return scans;

    // The source rectangle in display rows: a bottom-up bitmap counts ySrc
    // from its bottom row.
    const double sx0 = xSrc, sx1 = static_cast<double>(xSrc) + SrcWidth;
    const double H = image.Height();
    const double sy0 = image.TopDown() ? ySrc : H - ySrc - static_cast<double>(SrcHeight);
    const double sy1 = sy0 + SrcHeight;
    // Clamped as doubles first: a source rectangle may lie 2^32 away.
    const double W = image.Width();
    const int xlo = static_cast<int>(std::clamp(std::min(sx0, sx1), 0.0, W));
    const int xhi = static_cast<int>(std::clamp(std::max(sx0, sx1), 0.0, W)) - 1;
    const int ylo = static_cast<int>(std::clamp(std::min(sy0, sy1), 0.0, H));
    const int yhi = static_cast<int>(std::clamp(std::max(sy0, sy1), 0.0, H)) - 1;
    if (xlo > xhi || ylo > yhi) return scans;  // the source rectangle misses the bitmap
    // The source's first pixel on the side the destination starts from.
    auto axis = [](StretchAxis a, double s0, double s1, int lo, int hi) {
        a.src = static_cast<long long>(s1 > s0 ? s0 : s0 - 1);
        a.srcLength = static_cast<long long>(s1 - s0);
        a.lo = lo, a.hi = hi;
        return a;
    };
    const StretchAxis xAxis = axis(xDst, sx0, sx1, xlo, xhi);
    const StretchAxis yAxis = axis(yDst, sy0, sy1, ylo, yhi);

    // HALFTONE interpolates and averages; the other modes keep whole source
    // pixels.
    const bool halftone = dc->stretchMode == HALFTONE;
    const AxisTaps xTaps = halftone ? BuildHalftoneTaps(xAxis, area.left, area.right)
                                    : BuildScanTaps(xAxis, area.left, area.right);
    const AxisTaps yTaps = halftone ? BuildHalftoneTaps(yAxis, area.top, area.bottom)
                                    : BuildScanTaps(yAxis, area.top, area.bottom);
    std::optional<RowStretcher> smooth;
    std::optional<ScanStretcher> scan;
    if (halftone)
        smooth.emplace(image, xTaps, yTaps);
    else
        scan.emplace(image, xTaps, yTaps, dc->stretchMode);
    const auto stretchRow = [&](int k, uint32_t* out) {
        if (smooth)
            smooth->Row(k, out);
        else
            scan->Row(k, out);
    };
    const int width = area.right - area.left;
    std::vector<uint32_t> row(static_cast<size_t>(width));
    const uint32_t pattern = dc->brush ? RasterPixelOf(dc->brush->color) : 0;

    const bool masked = !dc->clipLayers.empty();
    GdiCoverage coverage;
    for (int top = area.top; top < area.bottom; top += kRowsPerPass) {
        const int bottom = std::min(area.bottom, top + kRowsPerPass);
        if (masked &&
            !coverage.Build(*dc, RECT{area.left, top, area.right, bottom}, nullptr, ALTERNATE))
            return 0;
        for (int y = top; y < bottom; ++y) {
            BYTE* p = dc->bitmap->Row(y) + static_cast<size_t>(area.left) * 4;
            if (!masked && rop == SRCCOPY) {
                // A 0x00RRGGBB value is blue, green, red, 0 in memory: the
                // section's own pixel, so the row is made in place.
                static_assert(std::endian::native == std::endian::little);
                stretchRow(y - area.top, reinterpret_cast<uint32_t*>(p));
                continue;
            }
            stretchRow(y - area.top, row.data());
            for (int j = 0; j < width; ++j, p += 4) {
                if (masked && !coverage.Covered(area.left + j, y)) continue;
                const uint32_t src = row[static_cast<size_t>(j)] & 0x00FFFFFF;
                StorePixel(p, ApplyRop3(rop, pattern, src, LoadPixel(p)));
            }
        }
    }
    return scans;
}

}  // extern "C"
