// The raster GDI as a metafile's device: what the player draws lands in the
// DIB section selected into a memory device context, drawn with cairo
// without antialiasing, under the context's own clip region and the
// metafile's, through the binary raster operation.
#pragma once

#include <cstdint>
#include <vector>

#include "gdi32/gdi_objects.h"
#include "win32/gdi32/metafile/metafile_device.h"

// A clip region of the raster device: one byte a pixel over its box (within
// the bitmap), not 0 inside; nothing outside the box is inside. A
// rectangle keeps no bytes (whole): every pixel of its box is inside, so
// that clipping a page to its frame costs nothing per pixel.
struct RasterRegion : MetafileRegion {
    RECT box{0, 0, 0, 0};
    bool whole = false;
    std::vector<uint8_t> inside;
    bool Inside(int x, int y) const {
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
        return whole ||
               inside[static_cast<size_t>(y - box.top) * static_cast<size_t>(box.right - box.left) +
                      static_cast<size_t>(x - box.left)] != 0;
    }
};

class RasterDevice : public MetafileDevice {
public:
    // dc must have a bitmap selected for as long as the device draws.
    // styleUnit: device pixels of the unit that cosmetic pen styles and
    // hatch cells are measured in (1: the device's own pixels, as GDI draws
    // into a memory device context).
    explicit RasterDevice(HDC__& dc, double styleUnit = 1) : m_dc(dc), m_styleUnit(styleUnit) {}

    int DeviceCaps(int index) const override;
    bool VisibleArea(RECT* area) const override;
    bool GdiPixelCurves() const override { return true; }
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
    // Drawn in raster_gradient.cpp.
    bool GradientFill(const DcState& dc, const GradientMesh& mesh) override;

private:
    bool BlendBitmap(const DcState& dc, const RECT& dest, const RECT& source, const void* bits,
                     const BITMAPINFO* info);

    HDC__& m_dc;
    double m_styleUnit;
    std::vector<uint8_t> m_maskStorage;  // the coverage of the figure being drawn
    std::vector<uint8_t> m_gapStorage;   // the gaps of a dashed line drawn opaque
};
