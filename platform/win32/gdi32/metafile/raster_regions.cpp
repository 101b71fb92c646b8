// Clip regions of the raster painter: rectangles kept as their box,
// polygons and the rectangles of region records rasterised by cairo as
// fills are, and their combinations and moves, all within the painter's
// window.
#include <climits>

#include "gdi32/metafile/cairo_paths.h"
#include "gdi32/metafile/raster_paint.h"

std::shared_ptr<RasterRegion> RasterPainter::EmptyRegion(const RECT& box) const {
    const RECT w = Window();
    auto region = std::make_shared<RasterRegion>();
    const LONG l = std::clamp(std::min(box.left, box.right), w.left, w.right);
    const LONG t = std::clamp(std::min(box.top, box.bottom), w.top, w.bottom);
    region->box = RECT{l, t, std::clamp(std::max(box.left, box.right), l, w.right),
                       std::clamp(std::max(box.top, box.bottom), t, w.bottom)};
    region->inside.assign(static_cast<size_t>(region->box.right - region->box.left) *
                              static_cast<size_t>(region->box.bottom - region->box.top),
                          0);
    return region;
}

std::shared_ptr<RasterRegion> RasterPainter::RectRegion(const RECT& rect) const {
    auto region = SolidRegion(rect);
    return region;
}

std::shared_ptr<RasterRegion> RasterPainter::SolidRegion(const RECT& box) const {
    const RECT w = Window();
    auto region = std::make_shared<RasterRegion>();
    const LONG l = std::clamp(std::min(box.left, box.right), w.left, w.right);
    const LONG t = std::clamp(std::min(box.top, box.bottom), w.top, w.bottom);
    region->box = RECT{l, t, std::clamp(std::max(box.left, box.right), l, w.right),
                       std::clamp(std::max(box.top, box.bottom), t, w.bottom)};
    region->solid = true;
    return region;
}

std::shared_ptr<RasterRegion> RasterPainter::MaskRegion(const RECT& bounds,
                                                        const std::function<void(cairo_t*)>& draw) {
    auto region = EmptyRegion(bounds);
    const Mask mask = RasteriseMask(region->box, draw);
    if (mask.data) {
        const size_t width = static_cast<size_t>(region->box.right - region->box.left);
        for (size_t y = 0; y < static_cast<size_t>(region->box.bottom - region->box.top); ++y)
            std::copy_n(mask.data + y * mask.stride, width, region->inside.data() + y * width);
    }
    return region;
}

std::shared_ptr<RasterRegion> RasterPainter::PolygonRegion(std::span<const POINT> points,
                                                           int fillMode) {
    const FigureView figure{points, true};
    return MaskRegion(BoundsWithin(std::span<const FigureView>(&figure, 1), 0), [&](cairo_t* cr) {
        AddFigure(cr, points, true);
        cairo_set_fill_rule(cr, FillRule(fillMode));
        cairo_fill(cr);
    });
}

std::shared_ptr<RasterRegion> RasterPainter::QuadsRegion(
    std::span<const std::array<POINT, 4>> quads) {
    std::vector<FigureView> figures;
    for (const auto& quad : quads) figures.push_back(FigureView{quad, true});
    return MaskRegion(BoundsWithin(figures, 0), [&](cairo_t* cr) {
        for (const auto& quad : quads) AddFigure(cr, quad, true);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    });
}

std::shared_ptr<RasterRegion> RasterPainter::CombineRegions(const RasterRegion* ra,
                                                            const RasterRegion* rb,
                                                            int mode) const {
    const RECT none{0, 0, 0, 0};
    const RECT ba = ra ? ra->box : none, bb = rb ? rb->box : none;
    const RECT both{std::max(ba.left, bb.left), std::max(ba.top, bb.top),
                    std::min(ba.right, bb.right), std::min(ba.bottom, bb.bottom)};
    const RECT either{std::min(ba.left, bb.left), std::min(ba.top, bb.top),
                      std::max(ba.right, bb.right), std::max(ba.bottom, bb.bottom)};
    // The result lies where its operands can make it.
    RECT box = ba;
    if (mode == RGN_AND) box = both;
    if (mode == RGN_OR || mode == RGN_XOR) box = either;
    if (box.right <= box.left || box.bottom <= box.top) box = none;
    // Whole boxes that stay whole: intersections, copies, and a box taken
    // from what it does not touch.
    const bool solidA = ra && ra->solid, solidB = rb && rb->solid;
    if ((mode == RGN_AND && solidA && solidB) || (mode == RGN_COPY && solidA))
        return SolidRegion(box);
    if (mode == RGN_DIFF && solidA &&
        (!rb || rb->Empty() || both.right <= both.left || both.bottom <= both.top))
        return SolidRegion(box);
    auto result = EmptyRegion(box);
    const RECT& r = result->box;
    size_t i = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x, ++i) {
            const bool in_a = ra && ra->Inside(x, y);
            const bool in_b = rb && rb->Inside(x, y);
            bool in = false;
            switch (mode) {
                case RGN_AND: in = in_a && in_b; break;
                case RGN_OR: in = in_a || in_b; break;
                case RGN_XOR: in = in_a != in_b; break;
                case RGN_DIFF: in = in_a && !in_b; break;
                case RGN_COPY: in = in_a; break;
                default: break;
            }
            result->inside[i] = in;
        }
    return result;
}

std::shared_ptr<RasterRegion> RasterPainter::OffsetRegion(const RasterRegion* from,
                                                          POINT by) const {
    if (!from) return EmptyRegion(RECT{0, 0, 0, 0});
    const auto Shift = [](LONG v, LONG d) {
        return ClampToLong(static_cast<long long>(v) + d, INT_MIN / 2, INT_MAX / 2);
    };
    auto result = EmptyRegion(RECT{Shift(from->box.left, by.x), Shift(from->box.top, by.y),
                                   Shift(from->box.right, by.x), Shift(from->box.bottom, by.y)});
    const RECT& r = result->box;
    size_t i = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x, ++i)
            result->inside[i] = from->Inside(static_cast<int>(static_cast<long long>(x) - by.x),
                                             static_cast<int>(static_cast<long long>(y) - by.y));
    return result;
}
