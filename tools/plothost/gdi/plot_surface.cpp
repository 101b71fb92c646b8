#include "gdi/plot_surface.h"

#include <climits>
#include <cstring>

namespace {

int Count(size_t n) {
    return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n);
}

}  // namespace

PlotSurface::PlotSurface(HostContext* host) : m_host(host), m_table(host->pCallbacks) {}

int PlotSurface::DeviceCaps(int index) const {
    return m_table->GetDeviceCaps ? m_table->GetDeviceCaps(m_host, index) : 0;
}

void PlotSurface::UsePen(const HostPenRecord& pen) {
    if (m_selected == Selected::Pen && std::memcmp(&pen, &m_pen, sizeof pen) == 0) return;
    m_pen = pen;
    m_selected = Selected::Pen;
    m_table->OnSelectPen(m_host, &m_pen);
}

void PlotSurface::UseBrush(const HostBrushRecord& brush) {
    if (m_selected == Selected::Brush && std::memcmp(&brush, &m_brush, sizeof brush) == 0) return;
    m_brush = brush;
    m_selected = Selected::Brush;
    m_table->OnSelectBrush(m_host, &m_brush);
}

void PlotSurface::SetFillMode(int mode) {
    if (mode == m_fillMode) return;
    m_fillMode = mode;
    m_table->OnSetFillMode(m_host, mode);
}

void PlotSurface::SetRop2(int rop2) {
    if (rop2 == m_rop2) return;
    m_rop2 = rop2;
    m_table->OnSetRop2(m_host, rop2);
}

void PlotSurface::SetClip(std::shared_ptr<CKestRgn> clip) {
    if (clip == m_clip) return;
    m_clippedAway = clip && clip->GetRgnBox(nullptr) == NULLREGION;
    m_clip = std::move(clip);
    m_clipPending = m_clip != m_clipSent;
}

bool PlotSurface::ReadyToDraw() {
    if (m_clippedAway) return false;
    if (m_clipPending) {
        m_table->OnSetClipRegion(m_host, m_clip ? m_clip->GetClipRgnRef() : nullptr);
        m_clipSent = m_clip;
        m_clipPending = false;
    }
    return true;
}

void PlotSurface::Polyline(std::span<const POINT> points) {
    if (points.size() < 2 || !ReadyToDraw()) return;
    m_table->OnPolyline(m_host, points.data(), Count(points.size()));
}

void PlotSurface::Polygon(std::span<const POINT> points) {
    if (points.size() < 3 || !ReadyToDraw()) return;
    m_table->OnPolygon(m_host, points.data(), Count(points.size()));
}

void PlotSurface::FillPath(std::span<const std::span<const POINT>> figures) {
    if (!ReadyToDraw()) return;
    m_table->OnBeginPath(m_host);
    for (std::span<const POINT> figure : figures)
        if (figure.size() >= 3) m_table->OnPolygon(m_host, figure.data(), Count(figure.size()));
    m_table->OnEndPath(m_host);
    m_table->OnFillPath(m_host);
}

// dest and source hold x, y, width and height.
bool PlotSurface::DrawBitmap(const RECT& dest, const RECT& source, const void* bits,
                             const BITMAPINFO* info, UINT usage, DWORD rop, bool alpha) {
    if (!ReadyToDraw()) return true;  // clipped away: nothing to draw is no failure
    const auto entry = alpha ? m_table->OnDrawBitmapAlpha : m_table->OnDrawBitmap;
    if (!entry) return false;
    return entry(m_host, dest.left, dest.top, dest.right, dest.bottom, source.left, source.top,
                 source.right, source.bottom, bits, info, usage, rop) != 0;
}

bool PlotSurface::RenderMetafileRegion(HENHMETAFILE metafile, const RECT& rect) {
    if (!m_table->RenderMetafileRegion) return false;
    static constexpr double kIdentity[6] = {1, 0, 0, 1, 0, 0};
    RECT placed = rect;
    return m_table->RenderMetafileRegion(m_host, metafile, kIdentity, &placed) != 0;
}
