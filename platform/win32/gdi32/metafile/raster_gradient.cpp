// Gradient fills of the raster painter, shaded pixel by pixel at the
// pixels' centres in page pixels: rectangles between the colours of their
// two corners (across or down), triangles between the colours of their
// corners (Gouraud). A pixel belongs to a shape when its centre does, as for
// any other fill, and its colour is worked out from where it lies on the
// page alone, so a band of a page shades exactly as the whole page would.
#include <algorithm>
#include <cmath>

#include "gdi32/gdi_coverage.h"
#include "gdi32/metafile/raster_paint.h"

namespace {

// A vertex with its colour, each channel 0 to 255 (the high byte of
// GradientFill's 16 bits).
struct Shaded {
    double x = 0, y = 0;
    double rgb[3] = {0, 0, 0};
};

Shaded ShadedOf(const GradientVertex& v) {
    Shaded s;
    s.x = std::isfinite(v.at.x) ? v.at.x : 0.0;
    s.y = std::isfinite(v.at.y) ? v.at.y : 0.0;
    s.rgb[0] = v.red >> 8;
    s.rgb[1] = v.green >> 8;
    s.rgb[2] = v.blue >> 8;
    return s;
}

uint32_t PixelOf(const double rgb[3]) {
    uint32_t pixel = 0;
    for (int c = 0; c < 3; ++c)
        pixel = pixel << 8 | static_cast<uint32_t>(std::clamp(std::lround(rgb[c]), 0L, 255L));
    return pixel;
}

// Whole pixels from a coordinate, kept within a range any page has.
LONG PixelFloor(double v) {
    return static_cast<LONG>(std::clamp(std::floor(v), -2.0e9, 2.0e9));
}

// The first pixel whose centre lies at or past v.
LONG FirstCentreFrom(double v) {
    return static_cast<LONG>(std::clamp(std::ceil(v - 0.5), -2.0e9, 2.0e9));
}

}  // namespace

// Calls paint(x, y, pixel) for every pixel of the area inside the clip that
// the shape shades; shade(cx, cy, &pixel) says whether the centre (cx, cy)
// is inside and with which colour.
template <typename Shade>
static void ShadeArea(const RECT& area, const Shade& shade, const auto& paint) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            uint32_t pixel;
            if (shade(x + 0.5, y + 0.5, &pixel)) paint(x, y, pixel);
        }
}

void RasterPainter::GradientFill(const GradientMesh& mesh, const RasterRegion* region) {
    if (!m_dc.bitmap) return;
    const RECT window = Window();
    RECT drawable;
    if (!DrawableArea(window, &drawable)) return;
    GdiCoverage contextClip;
    const bool layered = !m_dc.clipLayers.empty();
    if (layered &&
        !contextClip.Build(m_dc,
                           RECT{drawable.left - m_origin.x, drawable.top - m_origin.y,
                                drawable.right - m_origin.x, drawable.bottom - m_origin.y},
                           nullptr, ALTERNATE))
        return;
    const auto paint = [&](int x, int y, uint32_t pixel) {
        if (region && !region->Inside(x, y)) return;
        if (layered && !contextClip.Covered(x - m_origin.x, y - m_origin.y)) return;
        StorePixel(Pixel(x, y), pixel);
    };
    // The pixels whose centres can lie in [x0, x1) x [y0, y1), drawable.
    const auto areaOf = [&](double x0, double y0, double x1, double y1, RECT* area) {
        *area = RECT{std::max(drawable.left, FirstCentreFrom(x0)),
                     std::max(drawable.top, FirstCentreFrom(y0)),
                     std::min(drawable.right, PixelFloor(x1) + 1),
                     std::min(drawable.bottom, PixelFloor(y1) + 1)};
        return area->left < area->right && area->top < area->bottom;
    };
    const auto vertex = [&](ULONG index) { return ShadedOf(mesh.vertices[index]); };
    if (mesh.mode != GRADIENT_FILL_TRIANGLE) {
        const bool across = mesh.mode == GRADIENT_FILL_RECT_H;
        for (const GRADIENT_RECT& r : mesh.rects) {
            const Shaded a = vertex(r.UpperLeft), b = vertex(r.LowerRight);
            const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
            const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
            const double from = across ? a.x : a.y, to = across ? b.x : b.y;
            RECT area;
            if (from == to || !areaOf(left, top, right, bottom, &area)) continue;
            ShadeArea(
                area,
                [&](double cx, double cy, uint32_t* pixel) {
                    if (cx < left || cx >= right || cy < top || cy >= bottom) return false;
                    const double t =
                        std::clamp(((across ? cx : cy) - from) / (to - from), 0.0, 1.0);
                    double rgb[3];
                    for (int c = 0; c < 3; ++c) rgb[c] = a.rgb[c] + (b.rgb[c] - a.rgb[c]) * t;
                    *pixel = PixelOf(rgb);
                    return true;
                },
                paint);
        }
        return;
    }
    for (const GRADIENT_TRIANGLE& t : mesh.triangles) {
        const Shaded p[3] = {vertex(t.Vertex1), vertex(t.Vertex2), vertex(t.Vertex3)};
        // Twice the signed area; a flat triangle shades nothing.
        const double area2 =
            (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
        if (!(std::fabs(area2) > 0)) continue;
        RECT area;
        if (!areaOf(std::min({p[0].x, p[1].x, p[2].x}), std::min({p[0].y, p[1].y, p[2].y}),
                    std::max({p[0].x, p[1].x, p[2].x}), std::max({p[0].y, p[1].y, p[2].y}), &area))
            continue;
        // The weight of corner k at (cx, cy): the area opposite it, signed
        // so that the inside has all three at or above 0.
        const auto weight = [&](int k, double cx, double cy) {
            const Shaded& u = p[(k + 1) % 3];
            const Shaded& v = p[(k + 2) % 3];
            return ((v.x - u.x) * (cy - u.y) - (cx - u.x) * (v.y - u.y)) / area2;
        };
        ShadeArea(
            area,
            [&](double cx, double cy, uint32_t* pixel) {
                const double w[3] = {weight(0, cx, cy), weight(1, cx, cy), weight(2, cx, cy)};
                if (w[0] < 0 || w[1] < 0 || w[2] < 0) return false;
                double rgb[3];
                for (int c = 0; c < 3; ++c)
                    rgb[c] = w[0] * p[0].rgb[c] + w[1] * p[1].rgb[c] + w[2] * p[2].rgb[c];
                *pixel = PixelOf(rgb);
                return true;
            },
            paint);
    }
}
