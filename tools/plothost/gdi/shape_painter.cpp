#include "gdi/shape_painter.h"

#include <algorithm>
#include <cmath>

#include "win32/gdi32/metafile/dash_pattern.h"
#include "gdi/hatch_fill.h"
#include "gdi/plot_region.h"

namespace {

// Screens show 96 pixels to the inch; one-pixel dashes and hatch spacings
// are drawn that size on paper.
constexpr double kScreenDpi = 96;

COLORREF Rgb(COLORREF color) {
    return color & 0x00FFFFFF;
}

HostPenRecord HostPen(DWORD style, int width, COLORREF color) {
    HostPenRecord pen{};
    pen.nStyle = style;
    pen.nWidth = static_cast<DWORD>(width);
    pen.crColor = Rgb(color);
    return pen;
}

std::vector<std::span<const POINT>> FillableFigures(std::span<const Figure> figures) {
    std::vector<std::span<const POINT>> spans;
    for (const Figure& f : figures)
        if (f.points.size() >= 3) spans.emplace_back(f.points);
    return spans;
}

}  // namespace

ShapePainter::ShapePainter(PlotSurface& surface, double dpi)
    : m_surface(surface), m_screenPixel(std::max(1.0, dpi / kScreenDpi)) {
    m_page.CreateRectRgn(-1, -1, surface.DeviceCaps(HORZRES) + 1, surface.DeviceCaps(VERTRES) + 1);
}

void ShapePainter::SetFrame(std::shared_ptr<CKestRgn> frame) {
    m_frame = std::move(frame);
    m_clipKnown = false;
}

const std::shared_ptr<CKestRgn>& ShapePainter::Clip(const DcState& dc) {
    const std::shared_ptr<CKestRgn>& clip = KestRegionOf(dc.clip);
    if (!m_frame) return clip;
    if (m_clipKnown && m_clipOf == clip) return m_clip;
    m_clipOf = clip;
    m_clipKnown = true;
    if (!clip) {
        m_clip = m_frame;
    } else {
        auto both = std::make_shared<CKestRgn>();
        CKestRgn::CombineRgn(both.get(), clip.get(), m_frame.get(), RGN_AND);
        m_clip = std::move(both);
    }
    return m_clip;
}

int ShapePainter::DeviceWidth(const GdiPen& pen, const Affine& toDevice) {
    return PenDeviceWidth(pen, toDevice);
}

void ShapePainter::Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
                        bool simple) {
    // R2_NOP leaves the sheet as it is.
    if (!brush || dc.rop2 == R2_NOP) return;
    m_surface.SetClip(Clip(dc));
    if (m_surface.ClippedAway()) return;
    m_surface.SetRop2(dc.rop2);
    switch (brush->style) {
        case BS_SOLID: FillSolid(figures, brush->color, dc.polyFillMode, simple); break;
        case BS_HATCHED:
            // An opaque background shows between the hatch lines.
            if (dc.bkMode == OPAQUE) FillSolid(figures, dc.bkColor, dc.polyFillMode, simple);
            FillHatched(figures, *brush, dc);
            break;
        default: break;  // hollow; pattern brushes are not drawn
    }
}

void ShapePainter::FillSolid(std::span<const Figure> figures, COLORREF color, int fillMode,
                             bool simple) {
    const std::vector<std::span<const POINT>> spans = FillableFigures(figures);
    if (spans.empty()) return;
    m_surface.UseBrush(HostBrushRecord{BS_SOLID, Rgb(color), 0});
    // The driver fills a single polygon even-odd; one that may cross itself
    // under the winding rule goes as a path, which follows the fill mode.
    if (spans.size() == 1 && (simple || fillMode != WINDING)) {
        m_surface.Polygon(spans.front());
        return;
    }
    m_surface.SetFillMode(fillMode == WINDING ? WINDING : ALTERNATE);
    m_surface.FillPath(spans);
}

void ShapePainter::FillHatched(std::span<const Figure> figures, const GdiBrush& brush,
                               const DcState& dc) {
    const std::vector<POINT> outline =
        figures.size() == 1 ? figures.front().points : JoinFigures(figures);
    if (outline.size() < 3) return;
    CKestRgn area;
    area.CreatePolygonRgn(outline.data(), static_cast<int>(outline.size()), dc.polyFillMode);
    // Lines are made only where they can show: on the sheet, inside the clip.
    CKestRgn::CombineRgn(&area, &area, &m_page, RGN_AND);
    const std::shared_ptr<CKestRgn>& clip = Clip(dc);
    if (clip) CKestRgn::CombineRgn(&area, &area, clip.get(), RGN_AND);
    const int spacing = static_cast<int>(std::lround(kHatchSpacing * m_screenPixel));
    m_surface.UsePen(HostPen(PS_SOLID, 1, brush.color));
    DrawHatchLines(&area, brush.hatch, dc.brushOrg, spacing,
                   [&](std::span<const POINT> line) { m_surface.Polyline(line); });
}

void ShapePainter::Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                          const Affine& toDevice) {
    if (!pen || pen->DashKind() == PS_NULL || dc.rop2 == R2_NOP) return;
    m_surface.SetClip(Clip(dc));
    if (m_surface.ClippedAway()) return;
    m_surface.SetRop2(dc.rop2);
    const int width = DeviceWidth(*pen, toDevice);
    const std::vector<double> pattern =
        DashPattern(*pen, width, m_screenPixel, LengthScale(toDevice));
    // One-pixel dashes run in pixel steps, as GDI steps them, and their
    // gaps take the background colour when it is opaque.
    const bool thin = width == 1 && !pattern.empty();
    const auto each = [&](bool gaps) {
        std::vector<POINT> closed;
        for (const Figure& figure : figures) {
            std::span<const POINT> points(figure.points);
            if (points.size() < 2) continue;
            if (figure.closed) {
                closed.assign(points.begin(), points.end());
                closed.push_back(points.front());
                points = closed;
            }
            CutIntoDashes(
                points, pattern, [&](std::span<const POINT> dash) { m_surface.Polyline(dash); },
                thin, gaps);
        }
    };
    // The driver is told a solid pen with the pen's ends and joins.
    const DWORD ends = pen->style & ~DWORD{PS_STYLE_MASK};
    if (thin && dc.bkMode == OPAQUE) {
        m_surface.UsePen(HostPen(ends, width, dc.bkColor));
        each(true);
    }
    m_surface.UsePen(HostPen(ends, width, pen->color));
    each(false);
}
