// The raster GDI as a metafile's device: what the player draws lands in the
// DIB section selected into a memory device context, through the raster
// painter, with the bitmap's first pixel at the device's pixel (0, 0).
#pragma once

#include "gdi32/metafile/raster_paint.h"
#include "win32/gdi32/metafile/metafile_device.h"

class RasterDevice : public MetafileDevice {
public:
    // dc must have a bitmap selected for as long as the device draws.
    // styleUnit: device pixels of the unit that cosmetic pen styles and
    // hatch cells are measured in (1: the device's own pixels, as GDI draws
    // into a memory device context).
    explicit RasterDevice(HDC__& dc, double styleUnit = 1)
        : m_dc(dc), m_styleUnit(styleUnit), m_painter(dc, POINT{0, 0}) {}

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
    bool GradientFill(const DcState& dc, const GradientMesh& mesh) override;

private:
    HDC__& m_dc;
    double m_styleUnit;
    RasterPainter m_painter;
    std::vector<FigureView> m_views;  // the figures being drawn
};

// The views of figures, kept in views.
std::span<const FigureView> ViewsOf(std::span<const Figure> figures,
                                    std::vector<FigureView>* views);
