// Which pixels of a device context a drawing covers, computed by cairo with
// antialiasing off (a pixel is covered when its centre is inside), inside
// the context's clip region. The colours are applied by the caller, so that
// raster operations cairo does not have work on the same coverage.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi32/gdi_objects.h"

class GdiCoverage {
public:
    // The pixels of area (device pixels, already inside the bitmap and the
    // clip box) that figures cover under fillMode, or all of the area when
    // figures is null; stroke draws the figures' outlines one pixel wide
    // instead. False when cairo cannot make the mask.
    bool Build(const HDC__& dc, const RECT& area, const GdiFigures* figures, int fillMode,
               bool stroke = false);
    bool Covered(int x, int y) const {
        return m_mask[static_cast<size_t>(y - m_area.top) * m_stride + (x - m_area.left)] != 0;
    }

private:
    RECT m_area{};
    size_t m_stride = 0;
    std::vector<uint8_t> m_mask;
};

// The device rectangle a drawing may touch: the bitmap, the clip box and
// the given bounds together; false when nothing is left.
bool DrawableArea(const HDC__& dc, RECT bounds, RECT* area);

// Binary raster operation of SetROP2 on 0x00RRGGBB values.
uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dst);
// Ternary raster operation (the index byte of dwRop) on 0x00RRGGBB values.
uint32_t ApplyRop3(DWORD rop, uint32_t pattern, uint32_t src, uint32_t dst);

// 0x00RRGGBB of a COLORREF (0x00BBGGRR).
inline uint32_t RasterPixelOf(COLORREF c) {
    return uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c);
}
inline uint32_t LoadPixel(const BYTE* p) {
    return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}
// GDI leaves the fourth byte of a 32-bit pixel 0.
inline void StorePixel(BYTE* p, uint32_t v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
    p[2] = static_cast<BYTE>(v >> 16);
    p[3] = 0;
}
