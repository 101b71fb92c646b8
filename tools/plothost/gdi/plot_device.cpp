#include "gdi/plot_device.h"

#include <algorithm>
#include <vector>

#include "gdi/gradient_metafile.h"

namespace {

RegionRef Wrap(std::shared_ptr<CKestRgn> region) {
    return std::make_shared<PlotRegion>(std::move(region));
}

// The driver's region list of polygons (each at least one point).
RegionRef FromPolygons(std::vector<std::vector<POINT>>& polygons) {
    std::vector<HT_ClipRgn> list(polygons.size());
    for (size_t i = 0; i < polygons.size(); ++i)
        list[i] = HT_ClipRgn{0, i + 1 < list.size() ? &list[i + 1] : nullptr,
                             static_cast<LONG>(polygons[i].size()), polygons[i].data()};
    return Wrap(std::make_shared<CKestRgn>(list.empty() ? nullptr : list.data()));
}

}  // namespace

PlotDevice::PlotDevice(HostContext* host, double dpi, const RECT& frame)
    : m_surface(host), m_painter(m_surface, dpi) {
    if (frame.right > frame.left && frame.bottom > frame.top) {
        auto region = std::make_shared<CKestRgn>();
        region->CreateRectRgn(frame.left, frame.top, frame.right, frame.bottom);
        m_painter.SetFrame(std::move(region));
    }
}

RegionRef PlotDevice::RectRegion(const RECT& rect) {
    auto region = std::make_shared<CKestRgn>();
    region->CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    return Wrap(std::move(region));
}

RegionRef PlotDevice::PolygonRegion(std::span<const POINT> points, int fillMode) {
    auto region = std::make_shared<CKestRgn>();
    region->CreatePolygonRgn(points.data(), static_cast<int>(points.size()), fillMode);
    return Wrap(std::move(region));
}

RegionRef PlotDevice::QuadsRegion(std::span<const std::array<POINT, 4>> quads) {
    if (quads.empty()) return Wrap(std::make_shared<CKestRgn>());
    // The quadrilaterals do not overlap, so the list read even-odd is their
    // union.
    std::vector<std::array<POINT, 4>> corners(quads.begin(), quads.end());
    std::vector<HT_ClipRgn> list(corners.size());
    for (size_t i = 0; i < corners.size(); ++i)
        list[i] = HT_ClipRgn{0, i + 1 < list.size() ? &list[i + 1] : nullptr, 4, corners[i].data()};
    return Wrap(std::make_shared<CKestRgn>(list.data()));
}

RegionRef PlotDevice::CombineRegions(const RegionRef& a, const RegionRef& b, int mode) {
    auto result = std::make_shared<CKestRgn>();
    CKestRgn::CombineRgn(result.get(), KestRegionOf(a).get(), KestRegionOf(b).get(), mode);
    return Wrap(std::move(result));
}

RegionRef PlotDevice::OffsetRegion(const RegionRef& region, POINT by) {
    const std::shared_ptr<CKestRgn>& from = KestRegionOf(region);
    std::vector<std::vector<POINT>> polygons;
    for (const HT_ClipRgn* e = from ? from->GetClipRgnRef() : nullptr; e; e = e->pNext) {
        std::vector<POINT> moved(e->pPoints, e->pPoints + (e->nCount > 0 ? e->nCount : 0));
        for (POINT& p : moved) p = POINT{p.x + by.x, p.y + by.y};
        polygons.push_back(std::move(moved));
    }
    return FromPolygons(polygons);
}

void PlotDevice::Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
                      bool simple) {
    m_painter.Fill(figures, brush, dc, simple);
}

void PlotDevice::Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                        const Affine& toDevice) {
    m_painter.Stroke(figures, pen, dc, toDevice);
}

bool PlotDevice::DrawBitmap(const DcState& dc, const RECT& dest, const RECT& source,
                            const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop,
                            bool alpha) {
    // A bitmap is clipped like a shape: by the record's clip, within the frame.
    m_surface.SetClip(m_painter.Clip(dc));
    return m_surface.DrawBitmap(dest, source, bits, info, usage, rop, alpha);
}

bool PlotDevice::GradientFill(const DcState& dc, const GradientMesh& mesh) {
    if (!m_surface.RendersMetafileRegions()) return false;
    const std::shared_ptr<CKestRgn>& clip = m_painter.Clip(dc);
    RECT rect = GradientBounds(mesh);
    const RECT page{0, 0, m_surface.DeviceCaps(HORZRES), m_surface.DeviceCaps(VERTRES)};
    RECT clipBox = page;
    if (clip && clip->GetRgnBox(&clipBox) == NULLREGION) return true;  // clipped away
    rect = RECT{std::max({rect.left, clipBox.left, page.left}),
                std::max({rect.top, clipBox.top, page.top}),
                std::min({rect.right, clipBox.right, page.right}),
                std::min({rect.bottom, clipBox.bottom, page.bottom})};
    if (rect.right <= rect.left || rect.bottom <= rect.top) return true;  // nothing shows
    const std::vector<BYTE> bytes =
        GradientMetafile(mesh, clip ? clip->GetClipRgnRef() : nullptr, rect);
    HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (!metafile) return false;
    m_surface.RenderMetafileRegion(metafile, rect);
    DeleteEnhMetaFile(metafile);
    return true;
}
