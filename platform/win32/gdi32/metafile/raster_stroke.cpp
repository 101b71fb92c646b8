// Strokes of the raster painter: cairo strokes the pen's dashes with
// bevelled corners and the tips of mitred corners are filled beside them,
// worked out from the segments alone.
#include <cmath>
#include <vector>

#include "gdi32/metafile/cairo_paths.h"
#include "gdi32/metafile/raster_culling.h"
#include "gdi32/metafile/raster_paint.h"
#include "win32/gdi32/metafile/dash_pattern.h"

namespace {

// cairo's default miter limit: a corner sharper than that is bevelled.
constexpr double kMiterLimit = 10;

// A length snapped to cairo's 24.8 fixed point, so that a point a whole
// pixel away lands exactly that far away.
double Snapped(double v) {
    return std::nearbyint(v * 256) / 256;
}

// The mitred corners of a polyline stroked halfWidth either side, as the
// triangles that reach from a bevel to the miter point. cairo works a
// miter point out from where the corner lies on the surface, so that the
// same corner a band or a pixel further on can cover other pixels; here it
// is worked out from the segments alone. Degenerate segments are skipped,
// as cairo skips them.
void AddMiterTips(cairo_t* cr, std::span<const POINT> points, double halfWidth) {
    struct Direction {
        double x = 0, y = 0;
    };
    const auto direction = [&](size_t i, size_t j, Direction* d) {
        const double dx = static_cast<double>(points[j].x) - points[i].x;
        const double dy = static_cast<double>(points[j].y) - points[i].y;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 0)) return false;
        *d = Direction{dx / length, dy / length};
        return true;
    };
    Direction in;
    bool haveIn = false;
    for (size_t i = 1; i < points.size(); ++i) {
        Direction out;
        if (!direction(i - 1, i, &out)) continue;
        if (haveIn) {
            const double dot = in.x * out.x + in.y * out.y;
            const double cross = in.x * out.y - in.y * out.x;
            if (cross != 0 && 2 <= kMiterLimit * kMiterLimit * (1 + dot)) {
                // The outer side: away from the turn.
                const double side = cross > 0 ? -halfWidth : halfWidth;
                const POINT p = points[i - 1];
                const auto at = [&](double ox, double oy) {
                    return std::pair{p.x + Snapped(ox), p.y + Snapped(oy)};
                };
                const auto a = at(-in.y * side, in.x * side);
                const auto b = at(-out.y * side, out.x * side);
                const double k = side / (1 + dot);
                const auto m = at(-(in.y + out.y) * k, (in.x + out.x) * k);
                // Every tip turns the same way, so that the winding rule
                // joins overlapping ones.
                const bool turned = (a.first - m.first) * (b.second - m.second) -
                                        (a.second - m.second) * (b.first - m.first) <
                                    0;
                cairo_move_to(cr, a.first, a.second);
                cairo_line_to(cr, turned ? b.first : m.first, turned ? b.second : m.second);
                cairo_line_to(cr, turned ? m.first : b.first, turned ? m.second : b.second);
                cairo_close_path(cr);
            }
        }
        in = out;
        haveIn = true;
    }
}

}  // namespace

void RasterPainter::Stroke(std::span<const FigureView> figures, const RasterStroke& stroke,
                           const RasterRegion* clip) {
    if (!m_dc.bitmap) return;
    const int width = stroke.width;
    // Segments whose ends, corners and width cannot reach the window.
    const RECT w = Window();
    const RowReach reach{static_cast<long long>(w.top) - StrokeReach(width),
                         static_cast<long long>(w.bottom) + StrokeReach(width)};
    const auto draw = [&](cairo_t* cr) {
        cairo_save(cr);
        // A one-pixel pen runs through pixel centres.
        if (width == 1) cairo_translate(cr, 0.5, 0.5);
        cairo_set_line_width(cr, width);
        cairo_set_line_cap(cr, width == 1                       ? CAIRO_LINE_CAP_BUTT
                               : stroke.cap == PS_ENDCAP_FLAT   ? CAIRO_LINE_CAP_BUTT
                               : stroke.cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                                                : CAIRO_LINE_CAP_ROUND);
        // Mitred corners are bevelled by cairo and their tips added below.
        const bool mitred = stroke.join == PS_JOIN_MITER;
        cairo_set_line_join(
            cr, stroke.join == PS_JOIN_ROUND ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_BEVEL);
        std::vector<POINT> closed;
        std::vector<std::vector<POINT>> dashes;
        for (const FigureView& figure : figures) {
            std::span<const POINT> points = figure.points;
            if (points.size() < 2) continue;
            if (figure.closed) {
                closed.assign(points.begin(), points.end());
                closed.push_back(points.front());
                points = closed;
            }
            CutIntoDashes(points, stroke.dashes, [&](std::span<const POINT> dash) {
                CullStrokePolyline(dash, reach, [&](std::span<const POINT> piece) {
                    AddFigure(cr, piece, false);
                    if (mitred) dashes.emplace_back(piece.begin(), piece.end());
                });
            });
        }
        cairo_stroke(cr);
        if (!dashes.empty()) {
            for (const std::vector<POINT>& dash : dashes) AddMiterTips(cr, dash, width / 2.0);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
            cairo_fill(cr);
        }
        cairo_restore(cr);
    };
    RasterFill paint;
    paint.colour = stroke.colour;
    paint.rop2 = stroke.rop2;
    const RECT bounds = WithinClip(BoundsWithin(figures, StrokeReach(width) - 2), clip);
    if (PaintDirectly(clip, paint, bounds, draw)) return;
    PaintMask(RasteriseMask(bounds, draw), clip, paint);
}
