#include "gdi32/display_list/display_list_replay.h"

#include <algorithm>

#include "gdi32/display_list/display_list_regions.h"

RECT DrawDisplayListRows(const DisplayListData& data, HDC__& dc, unsigned top, unsigned rows) {
    const LONG first = static_cast<LONG>(top), last = static_cast<LONG>(top + rows);
    const POINT origin{0, first};
    RasterPainter painter(dc, origin, static_cast<int>(rows));
    painter.DrawDirectly();
    BandRegions regions(dc, origin, static_cast<int>(rows));
    std::vector<uint32_t> touching;
    data.rows.Collect(top, top + rows, &touching);
    std::vector<FigureView> views;
    RECT drawn{0, 0, 0, 0};
    for (const uint32_t i : touching) {
        const Primitive& p = data.primitives[i];
        if (p.box.bottom <= first || p.box.top >= last) continue;
        std::shared_ptr<const RasterRegion> clip;
        if (p.clip) {
            clip = regions.Get(static_cast<const RegionNode*>(data.clips[p.clip].get()));
            if (clip->Empty()) continue;
        }
        const RECT box{p.box.left, std::max(p.box.top, first), p.box.right,
                       std::min(p.box.bottom, last)};
        drawn = drawn.right > drawn.left
                    ? RECT{std::min(drawn.left, box.left), std::min(drawn.top, box.top),
                           std::max(drawn.right, box.right), std::max(drawn.bottom, box.bottom)}
                    : box;
        switch (static_cast<PrimitiveKind>(p.kind)) {
            case PrimitiveKind::Fill:
            case PrimitiveKind::Stroke:
                views.clear();
                for (uint32_t f = p.first; f < p.first + p.count; ++f) {
                    const FigureRecord& figure = data.figures[f];
                    views.push_back(FigureView{{figure.points, figure.count}, figure.closed});
                }
                if (static_cast<PrimitiveKind>(p.kind) == PrimitiveKind::Fill)
                    painter.Fill(views, data.fills[p.style], clip.get());
                else
                    painter.Stroke(views, data.strokes[p.style], clip.get());
                break;
            case PrimitiveKind::Bitmap: {
                const BitmapRecord& b = *data.bitmaps[p.style];
                painter.DrawBitmap(b.dest, b.source, b.bits,
                                   reinterpret_cast<const BITMAPINFO*>(b.info.data()), b.usage,
                                   b.rop, b.stretchMode, b.alpha, clip.get());
                break;
            }
            case PrimitiveKind::Gradient: {
                const GradientRecord& g = *data.gradients[p.style];
                painter.GradientFill(GradientMesh{g.vertices, g.rects, g.triangles, g.mode},
                                     clip.get());
                break;
            }
        }
    }
    painter.Finish();
    if (drawn.right <= drawn.left) return drawn;
    return RECT{drawn.left, drawn.top - first, drawn.right, drawn.bottom - first};
}
