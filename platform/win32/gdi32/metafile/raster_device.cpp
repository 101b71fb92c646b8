#include "gdi32/metafile/raster_device.h"

namespace {

const RasterRegion* RasterRegionOf(const RegionRef& region) {
    return dynamic_cast<const RasterRegion*>(region.get());
}

}  // namespace

std::span<const FigureView> ViewsOf(std::span<const Figure> figures,
                                    std::vector<FigureView>* views) {
    views->clear();
    for (const Figure& f : figures) views->push_back(FigureView{f.points, f.closed});
    return *views;
}

int RasterDevice::DeviceCaps(int index) const {
    const int width = m_dc.bitmap ? m_dc.bitmap->width : 0;
    const int height = m_dc.bitmap ? m_dc.bitmap->height : 0;
    switch (index) {
        case HORZRES: return width;
        case VERTRES: return height;
        default: return 0;
    }
}

bool RasterDevice::VisibleArea(RECT* area) const {
    *area = m_painter.Window();
    return true;
}

RegionRef RasterDevice::RectRegion(const RECT& rect) {
    return m_painter.RectRegion(rect);
}

RegionRef RasterDevice::PolygonRegion(std::span<const POINT> points, int fillMode) {
    return m_painter.PolygonRegion(points, fillMode);
}

RegionRef RasterDevice::QuadsRegion(std::span<const std::array<POINT, 4>> quads) {
    return m_painter.QuadsRegion(quads);
}

RegionRef RasterDevice::CombineRegions(const RegionRef& a, const RegionRef& b, int mode) {
    return m_painter.CombineRegions(RasterRegionOf(a), RasterRegionOf(b), mode);
}

RegionRef RasterDevice::OffsetRegion(const RegionRef& region, POINT by) {
    return m_painter.OffsetRegion(RasterRegionOf(region), by);
}

void RasterDevice::Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
                        bool) {
    RasterFill fill;
    if (!m_dc.bitmap || !ResolveFill(brush, dc, m_styleUnit, &fill)) return;
    m_painter.Fill(ViewsOf(figures, &m_views), fill, RasterRegionOf(dc.clip));
}

void RasterDevice::Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                          const Affine& toDevice) {
    RasterStroke stroke;
    if (!m_dc.bitmap || !ResolveStroke(pen, dc, toDevice, m_styleUnit, &stroke)) return;
    m_painter.Stroke(ViewsOf(figures, &m_views), stroke, RasterRegionOf(dc.clip));
}

bool RasterDevice::DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source,
                              const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop,
                              bool alpha) {
    return m_painter.DrawBitmap(dest, source, bits, info, usage, rop, dc.stretchMode, alpha,
                                RasterRegionOf(dc.clip));
}

bool RasterDevice::GradientFill(const DcState& dc, const GradientMesh& mesh) {
    if (!m_dc.bitmap) return false;
    m_painter.GradientFill(mesh, RasterRegionOf(dc.clip));
    return true;
}
