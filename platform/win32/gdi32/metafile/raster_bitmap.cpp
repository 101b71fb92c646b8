// Bitmaps of the raster painter: stretched onto the page as StretchDIBits
// does it in the metafile's stretch mode, or blended with their own alpha, under the metafile's
// clip region.
#include <algorithm>
#include <climits>
#include <cmath>

#include "gdi32/gdi_coverage.h"
#include "gdi32/metafile/raster_paint.h"

// Source-over with the bitmap's own alpha, its colours premultiplied as
// AlphaBlend takes them: 32-bit BI_RGB bitmaps only, sampled at the nearest
// source pixel.
bool RasterPainter::BlendBitmap(const RECT& dest, const RECT& source, const void* bits,
                                const BITMAPINFO* info, const RasterRegion* region) {
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == INT_MIN || dest.right == 0 || dest.bottom == 0 || source.right == 0 ||
        source.bottom == 0)
        return false;
    const long long W = h.biWidth, H = std::llabs(static_cast<long long>(h.biHeight));
    const bool topDown = h.biHeight < 0;
    // The source rectangle in display rows, as StretchDIBits counts the
    // rows of a bottom-up bitmap from the bottom.
    const long long sx = source.left, sw = source.right, sh = source.bottom;
    const long long sy = topDown ? source.top : H - source.top - sh;
    const long long x0 = dest.left, x1 = x0 + dest.right, y0 = dest.top, y1 = y0 + dest.bottom;
    const RECT w = Window();
    RECT area;
    if (!DrawableArea(
            RECT{static_cast<LONG>(std::clamp<long long>(std::min(x0, x1), w.left, w.right)),
                 static_cast<LONG>(std::clamp<long long>(std::min(y0, y1), w.top, w.bottom)),
                 static_cast<LONG>(std::clamp<long long>(std::max(x0, x1), w.left, w.right)),
                 static_cast<LONG>(std::clamp<long long>(std::max(y0, y1), w.top, w.bottom))},
            &area))
        return true;
    GdiCoverage contextClip;
    const bool layered = !m_dc.clipLayers.empty();
    if (layered && !contextClip.Build(m_dc,
                                      RECT{area.left - m_origin.x, area.top - m_origin.y,
                                           area.right - m_origin.x, area.bottom - m_origin.y},
                                      nullptr, ALTERNATE))
        return false;
    const BYTE* pixels = static_cast<const BYTE*>(bits);
    for (int y = area.top; y < area.bottom; ++y) {
        const double v = (y + 0.5 - static_cast<double>(y0)) / static_cast<double>(dest.bottom);
        const long long row = sy + static_cast<long long>(std::floor(v * static_cast<double>(sh)));
        if (row < 0 || row >= H) continue;
        const long long memoryRow = topDown ? row : H - 1 - row;
        const BYTE* sourceRow = pixels + static_cast<size_t>(memoryRow * W * 4);
        for (int x = area.left; x < area.right; ++x) {
            if (region && !region->Inside(x, y)) continue;
            if (layered && !contextClip.Covered(x - m_origin.x, y - m_origin.y)) continue;
            const double u = (x + 0.5 - static_cast<double>(x0)) / static_cast<double>(dest.right);
            const long long column =
                sx + static_cast<long long>(std::floor(u * static_cast<double>(sw)));
            if (column < 0 || column >= W) continue;
            const BYTE* s = sourceRow + column * 4;
            BYTE* d = Pixel(x, y);
            const int keep = 255 - s[3];
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<BYTE>(std::min(255, s[c] + (d[c] * keep + 127) / 255));
            d[3] = 0;
        }
    }
    return true;
}

bool RasterPainter::DrawBitmap(const RECT& dest, const RECT& source, const void* bits,
                               const BITMAPINFO* info, UINT usage, DWORD rop, int stretchMode,
                               bool alpha, const RasterRegion* region) {
    if (!m_dc.bitmap) return false;
    if (alpha) return BlendBitmap(dest, source, bits, info, region);
    // The pixels the metafile's clip protects are put back after the blit,
    // which clips only to the context's own region: those the destination
    // covers are kept first.
    const RECT w = Window();
    const long long x0 = dest.left, x1 = x0 + dest.right, y0 = dest.top, y1 = y0 + dest.bottom;
    const RECT box{static_cast<LONG>(std::clamp<long long>(std::min(x0, x1) - 1, w.left, w.right)),
                   static_cast<LONG>(std::clamp<long long>(std::min(y0, y1) - 1, w.top, w.bottom)),
                   static_cast<LONG>(std::clamp<long long>(std::max(x0, x1) + 1, w.left, w.right)),
                   static_cast<LONG>(std::clamp<long long>(std::max(y0, y1) + 1, w.top, w.bottom))};
    const size_t boxBytes = static_cast<size_t>(box.right - box.left) * 4;
    std::vector<BYTE> before;
    if (region) {
        before.resize(boxBytes * static_cast<size_t>(box.bottom - box.top));
        for (int y = box.top; y < box.bottom; ++y)
            std::copy_n(Pixel(box.left, y), boxBytes,
                        before.data() + static_cast<size_t>(y - box.top) * boxBytes);
    }
    // The destination is in page pixels: the blit is made in MM_TEXT with
    // the window's origin, a whole-pixel move that the stretch takes
    // exactly.
    const int mapMode = m_dc.mapMode;
    const POINT windowOrg = m_dc.windowOrg, viewportOrg = m_dc.viewportOrg;
    const SIZE windowExt = m_dc.windowExt, viewportExt = m_dc.viewportExt;
    const XFORM world = m_dc.world;
    m_dc.world = XFORM{1, 0, 0, 1, 0, 0};
    m_dc.mapMode = MM_TEXT;
    m_dc.windowOrg = POINT{0, 0};
    m_dc.viewportOrg = POINT{-m_origin.x, -m_origin.y};
    m_dc.windowExt = m_dc.viewportExt = SIZE{1, 1};
    const int previousStretch = m_dc.stretchMode;
    m_dc.stretchMode = stretchMode;
    // The blit stays inside the painter's window, as everything it draws.
    const RECT clipBox = m_dc.clipBox;
    m_dc.clipBox = RECT{std::max<LONG>(clipBox.left, w.left - m_origin.x),
                        std::max<LONG>(clipBox.top, w.top - m_origin.y),
                        std::min<LONG>(clipBox.right, w.right - m_origin.x),
                        std::min<LONG>(clipBox.bottom, w.bottom - m_origin.y)};
    const int lines =
        StretchDIBits(&m_dc, dest.left, dest.top, dest.right, dest.bottom, source.left, source.top,
                      source.right, source.bottom, bits, info, usage, rop);
    m_dc.clipBox = clipBox;
    m_dc.stretchMode = previousStretch;
    m_dc.mapMode = mapMode;
    m_dc.windowOrg = windowOrg, m_dc.viewportOrg = viewportOrg;
    m_dc.windowExt = windowExt, m_dc.viewportExt = viewportExt;
    m_dc.world = world;
    if (region) {
        for (int y = box.top; y < box.bottom; ++y) {
            const BYTE* old = before.data() + static_cast<size_t>(y - box.top) * boxBytes;
            for (int x = box.left; x < box.right; ++x)
                if (!region->Inside(x, y))
                    std::copy_n(old + static_cast<size_t>(x - box.left) * 4, 4, Pixel(x, y));
        }
    }
    return lines != 0;
}
