// Strokes of the raster painter, as GDI draws them on a raster device:
// one-pixel pens stepped a pixel a column or row, their dashes counted in
// those steps; wider pens as the union of their segments' quadrilaterals,
// caps and joins, filled as one figure.
#include <algorithm>
#include <climits>
#include <vector>

#include "gdi32/metafile/cairo_paths.h"
#include "gdi32/metafile/cosmetic_line.h"
#include "gdi32/metafile/raster_culling.h"
#include "gdi32/metafile/raster_paint.h"
#include "gdi32/metafile/wide_line.h"

void RasterPainter::Stroke(std::span<const FigureView> figures, const RasterStroke& stroke,
                           const RasterRegion* clip) {
    if (!m_dc.bitmap) return;
    if (stroke.width == 1)
        StrokeThin(figures, stroke, clip);
    else
        StrokeWide(figures, stroke, clip);
}

void RasterPainter::StrokeThin(std::span<const FigureView> figures, const RasterStroke& stroke,
                               const RasterRegion* clip) {
    const RECT bounds = WithinClip(BoundsWithin(figures, 0), clip);
    // One colour copied where the lines step, without a context clip: the
    // pixels are set as they are stepped on.
    if (!stroke.opaqueGaps && stroke.rop2 == R2_COPYPEN && m_dc.clipLayers.empty()) {
        RECT area;
        if (!DrawableArea(bounds, &area)) return;
        ThinLinePixels(figures, stroke.dashes, area, [&](int x, int y, bool dash) {
            if (dash && (!clip || clip->Inside(x, y)))
                *reinterpret_cast<uint32_t*>(Pixel(x, y)) = stroke.colour;
        });
        return;
    }
    // Else through masks, so that a raster operation meets each pixel once
    // and the dashes lie over the gaps.
    const Mask ink = BlankMask(m_maskStorage, bounds);
    if (!ink.data) return;
    const Mask gaps = stroke.opaqueGaps ? BlankMask(m_gapStorage, bounds) : Mask{};
    MarkThinLines(figures, stroke.dashes, bounds, ink.stride, m_maskStorage.data(),
                  gaps.data ? m_gapStorage.data() : nullptr);
    RasterFill paint;
    paint.rop2 = stroke.rop2;
    if (gaps.data) {
        paint.colour = stroke.background;
        PaintMask(gaps, clip, paint);
    }
    paint.colour = stroke.colour;
    PaintMask(ink, clip, paint);
}

void RasterPainter::StrokeWide(std::span<const FigureView> figures, const RasterStroke& stroke,
                               const RasterRegion* clip) {
    const int width = stroke.width;
    WidePen pen;
    pen.width = width;
    pen.cap = stroke.cap;
    pen.join = stroke.join;
    pen.dashes = stroke.dashes;
    // A solid line leaves out the runs of segments that lie wholly beyond
    // the reach of the window's rows. (A dashed line is widened whole, its
    // dashes running on from its start.)
    const RECT w = Window();
    const RowReach reach{static_cast<long long>(w.top) - StrokeReach(width),
                         static_cast<long long>(w.bottom) + StrokeReach(width)};
    std::vector<std::vector<POINT>> pieces;
    if (pen.dashes.empty()) {
        std::vector<POINT> scratch;
        for (const FigureView& figure : figures)
            CullWidePolyline(figure.points, figure.closed, reach, &scratch,
                             [&](std::span<const POINT> part, bool closed) {
                                 const FigureView kept{part, closed};
                                 for (auto& piece : WidenFigures(std::span(&kept, 1), pen))
                                     pieces.push_back(std::move(piece));
                             });
    } else {
        pieces = WidenFigures(figures, pen);
    }
    // The pieces that reach the window's rows, turned one way so that the
    // winding rule fills their union.
    long long l = LLONG_MAX, t = LLONG_MAX, r = LLONG_MIN, b = LLONG_MIN;
    size_t kept = 0;
    for (std::vector<POINT>& piece : pieces) {
        long long pt = LLONG_MAX, pb = LLONG_MIN;
        for (const POINT& p : piece)
            pt = std::min<long long>(pt, p.y), pb = std::max<long long>(pb, p.y);
        if (piece.size() < 3 || pb < w.top - 1LL || pt > w.bottom + 1LL) continue;
        long long area = 0;
        for (size_t i = 0, j = piece.size() - 1; i < piece.size(); j = i++) {
            area += static_cast<long long>(piece[j].x) * piece[i].y -
                    static_cast<long long>(piece[i].x) * piece[j].y;
            l = std::min<long long>(l, piece[i].x), r = std::max<long long>(r, piece[i].x);
        }
        if (area < 0) std::reverse(piece.begin(), piece.end());
        t = std::min(t, pt), b = std::max(b, pb);
        if (&pieces[kept] != &piece) pieces[kept] = std::move(piece);
        ++kept;
    }
    pieces.resize(kept);
    if (pieces.empty()) return;
    const auto draw = [&](cairo_t* cr) {
        for (const std::vector<POINT>& piece : pieces) AddFigure(cr, piece, true);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    };
    RasterFill paint;
    paint.colour = stroke.colour;
    paint.rop2 = stroke.rop2;
    const RECT bounds =
        WithinClip(RECT{ClampToLong(l - 2, w.left, w.right), ClampToLong(t - 2, w.top, w.bottom),
                        ClampToLong(r + 2, w.left, w.right), ClampToLong(b + 2, w.top, w.bottom)},
                   clip);
    if (PaintDirectly(clip, paint, bounds, draw)) return;
    PaintMask(RasteriseMask(bounds, draw), clip, paint);
}
