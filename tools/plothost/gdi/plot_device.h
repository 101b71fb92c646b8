// plothost's plot device: what the metafile player draws becomes the
// driver's callbacks. Fills and strokes go through the shape painter, clip
// regions are the framework's regions, bitmaps go to the bitmap entries.
#pragma once

#include <memory>

#include "gdi/plot_region.h"
#include "gdi/plot_surface.h"
#include "gdi/shape_painter.h"
#include "win32/gdi32/metafile/metafile_device.h"

class PlotDevice : public MetafileDevice {
public:
    // host must be attached and its document started; dpi: the plotter's
    // resolution. Nothing is drawn outside frame (plotter pixels, the
    // drawing's frame) when it is not empty.
    PlotDevice(HostContext* host, double dpi, const RECT& frame);

    int DeviceCaps(int index) const override { return m_surface.DeviceCaps(index); }
    RegionRef RectRegion(const RECT& rect) override;
    RegionRef PolygonRegion(std::span<const POINT> points, int fillMode) override;
    RegionRef QuadsRegion(std::span<const std::array<POINT, 4>> quads) override;
    RegionRef CombineRegions(const RegionRef& a, const RegionRef& b, int mode) override;
    RegionRef OffsetRegion(const RegionRef& region, POINT by) override;
    void Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
              bool simple) override;
    void Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                const Affine& toDevice) override;
    // Clipped like a shape: the record's clip within the frame.
    bool DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source, const void* bits,
                    const BITMAPINFO* info, UINT usage, DWORD rop, bool alpha) override;
    // HP-GL/2 has no gradients: the gradient goes to the driver as a
    // metafile of its own, clipped to the state's clip, which the driver
    // renders into an embedded raster. False when the driver cannot.
    bool GradientFill(const DcState& dc, const GradientMesh& mesh) override;

private:
    PlotSurface m_surface;
    ShapePainter m_painter;
};
