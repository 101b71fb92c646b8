// The raster GDI as a metafile's device: what the player draws lands in the
// DIB section selected into a memory device context, drawn with cairo
// without antialiasing, under the context's own clip region and the
// metafile's, through the binary raster operation.
#pragma once

#include <cstdint>
#include <vector>

#include "../gdi_objects.h"
#include "win32/metafile/metafile_device.h"

// A clip region of the raster device: one byte a pixel of the bitmap, not 0
// inside.
struct RasterRegion : MetafileRegion {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> inside;
    bool Inside(int x, int y) const {
        return inside[static_cast<size_t>(y) * static_cast<size_t>(width) + x] != 0;
    }
};

class RasterDevice : public MetafileDevice {
public:
    // dc must have a bitmap selected for as long as the device draws.
    explicit RasterDevice(HDC__& dc) : m_dc(dc) {}

    int DeviceCaps(int index) const override;
    RegionRef RectRegion(const RECT& rect) override;
    RegionRef PolygonRegion(std::span<const POINT> points, int fillMode) override;
    RegionRef QuadsRegion(std::span<const std::array<POINT, 4>> quads) override;
    RegionRef CombineRegions(const RegionRef& a, const RegionRef& b, int mode) override;
    RegionRef OffsetRegion(const RegionRef& region, POINT by) override;
    void Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
              bool simple) override;
    void Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                const Affine& toDevice) override;
    bool DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source, const void* bits,
                    const BITMAPINFO* info, UINT usage, DWORD rop, bool alpha) override;

private:
    HDC__& m_dc;
};
