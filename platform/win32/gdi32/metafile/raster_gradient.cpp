// Gradient fills of the raster device: cairo shades them into a scratch
// surface over the pixels they can touch (linear gradients for rectangles,
// a mesh for triangles, no antialiasing, so a pixel belongs to a shape when
// its centre does), and the shaded pixels are copied in under the
// context's clip and the metafile's.
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <vector>

#include "gdi32/gdi_coverage.h"
#include "gdi32/metafile/raster_device.h"
#include "win32/gdi32/metafile/gdi_state.h"

namespace {

// A point of the gradient in the scratch surface's pixels with its colour,
// each channel 0 to 1.
struct Shaded {
    double x = 0, y = 0;
    double rgb[3] = {0, 0, 0};
};

Shaded Interpolate(const Shaded& a, const Shaded& b, double t) {
    Shaded p;
    p.x = a.x + (b.x - a.x) * t;
    p.y = a.y + (b.y - a.y) * t;
    for (int c = 0; c < 3; ++c) p.rgb[c] = a.rgb[c] + (b.rgb[c] - a.rgb[c]) * t;
    return p;
}

// A vertex in the scratch surface's pixels; a coordinate that is not a
// number counts as the surface's corner.
Shaded Local(const GradientVertex& v, const RECT& area) {
    const auto coordinate = [](double value, LONG origin) {
        return std::isfinite(value) ? value - origin : 0.0;
    };
    Shaded p;
    p.x = coordinate(v.at.x, area.left);
    p.y = coordinate(v.at.y, area.top);
    p.rgb[0] = (v.red >> 8) / 255.0;
    p.rgb[1] = (v.green >> 8) / 255.0;
    p.rgb[2] = (v.blue >> 8) / 255.0;
    return p;
}

struct Box {
    double left, top, right, bottom;
};

// The part of a polygon inside the box, its colours
// interpolated along the edges it cuts. Shading is linear across a
// triangle, so the pieces shade exactly as the whole would, and cairo
// (whose coordinates are 24.8 fixed point, and whose meshes cost by their
// size) never sees more than the surface.
std::vector<Shaded> CutToBox(std::vector<Shaded> polygon, const Box& box) {
    const auto inside = [&](const Shaded& p, int side) {
        switch (side) {
            case 0: return p.x - box.left;
            case 1: return box.right - p.x;
            case 2: return p.y - box.top;
            default: return box.bottom - p.y;
        }
    };
    for (int side = 0; side < 4 && !polygon.empty(); ++side) {
        std::vector<Shaded> kept;
        for (size_t i = 0; i < polygon.size(); ++i) {
            const Shaded& a = polygon[i];
            const Shaded& b = polygon[(i + 1) % polygon.size()];
            const double fa = inside(a, side), fb = inside(b, side);
            if (fa >= 0) kept.push_back(a);
            if ((fa >= 0) != (fb >= 0)) kept.push_back(Interpolate(a, b, fa / (fa - fb)));
        }
        polygon = std::move(kept);
    }
    return polygon;
}

void AddPolygon(cairo_t* cr, const std::vector<Shaded>& polygon) {
    cairo_move_to(cr, polygon[0].x, polygon[0].y);
    for (size_t i = 1; i < polygon.size(); ++i) cairo_line_to(cr, polygon[i].x, polygon[i].y);
    cairo_close_path(cr);
}

// The rectangle between the corners, shaded across or down between their
// colours, as much of it as lies in the box.
void ShadeRect(cairo_t* cr, const Shaded& a, const Shaded& b, bool across, const Box& limits) {
    const double from = across ? a.x : a.y, to = across ? b.x : b.y;
    if (from == to) return;  // no width or no height: nothing to fill
    const std::vector<Shaded> box =
        CutToBox({a, Shaded{b.x, a.y, {}}, b, Shaded{a.x, b.y, {}}}, limits);
    if (box.size() < 3) return;
    // The gradient between the ends of what is left, with their colours.
    double low = across ? box[0].x : box[0].y, high = low;
    for (const Shaded& p : box) {
        low = std::min(low, across ? p.x : p.y);
        high = std::max(high, across ? p.x : p.y);
    }
    const Shaded start = Interpolate(a, b, (low - from) / (to - from));
    const Shaded end = Interpolate(a, b, (high - from) / (to - from));
    cairo_pattern_t* pattern = across ? cairo_pattern_create_linear(low, 0, high, 0)
                                      : cairo_pattern_create_linear(0, low, 0, high);
    cairo_pattern_add_color_stop_rgb(pattern, 0, start.rgb[0], start.rgb[1], start.rgb[2]);
    cairo_pattern_add_color_stop_rgb(pattern, 1, end.rgb[0], end.rgb[1], end.rgb[2]);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    AddPolygon(cr, box);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

// The triangle shaded between its corners' colours (Gouraud), as much of it
// as lies in the box: a fan of mesh patches.
void ShadeTriangle(cairo_t* cr, const Shaded& a, const Shaded& b, const Shaded& c, const Box& box) {
    const std::vector<Shaded> piece = CutToBox({a, b, c}, box);
    if (piece.size() < 3) return;
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    for (size_t i = 1; i + 1 < piece.size(); ++i) {
        const Shaded* corners[3] = {&piece[0], &piece[i], &piece[i + 1]};
        cairo_mesh_pattern_begin_patch(mesh);
        cairo_mesh_pattern_move_to(mesh, corners[0]->x, corners[0]->y);
        cairo_mesh_pattern_line_to(mesh, corners[1]->x, corners[1]->y);
        cairo_mesh_pattern_line_to(mesh, corners[2]->x, corners[2]->y);
        for (unsigned k = 0; k < 3; ++k)
            cairo_mesh_pattern_set_corner_color_rgb(mesh, k, corners[k]->rgb[0], corners[k]->rgb[1],
                                                    corners[k]->rgb[2]);
        cairo_mesh_pattern_end_patch(mesh);
    }
    cairo_set_source(cr, mesh);
    // The mesh gives the colours, the path the pixels: those whose centre
    // lies inside, as for any other fill.
    AddPolygon(cr, piece);
    cairo_fill(cr);
    cairo_pattern_destroy(mesh);
}

// The device pixels the mesh's vertices span, a pixel wider each side.
RECT MeshBounds(const GradientMesh& mesh) {
    double l = HUGE_VAL, t = HUGE_VAL, r = -HUGE_VAL, b = -HUGE_VAL;
    for (const GradientVertex& v : mesh.vertices) {
        if (!std::isfinite(v.at.x) || !std::isfinite(v.at.y)) continue;
        l = std::min(l, v.at.x), r = std::max(r, v.at.x);
        t = std::min(t, v.at.y), b = std::max(b, v.at.y);
    }
    if (l > r || t > b) return RECT{0, 0, 0, 0};
    const auto pixel = [](double value) {
        return static_cast<LONG>(std::clamp(value, -2.0e9, 2.0e9));
    };
    return RECT{pixel(std::floor(l) - 1), pixel(std::floor(t) - 1), pixel(std::ceil(r) + 1),
                pixel(std::ceil(b) + 1)};
}

}  // namespace

bool RasterDevice::GradientFill(const DcState& dc, const GradientMesh& mesh) {
    if (!m_dc.bitmap) return false;
    RECT area;
    if (!DrawableArea(m_dc, MeshBounds(mesh), &area)) return true;  // nothing shows
    const int width = area.right - area.left, height = area.bottom - area.top;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    std::vector<Shaded> v;
    v.reserve(mesh.vertices.size());
    for (const GradientVertex& vertex : mesh.vertices) v.push_back(Local(vertex, area));
    // A pixel beyond the surface each side, so that the box's edges cut
    // nothing that shows.
    const Box box{-1, -1, width + 1.0, height + 1.0};
    const bool across = mesh.mode == GRADIENT_FILL_RECT_H;
    if (mesh.mode == GRADIENT_FILL_TRIANGLE) {
        for (const GRADIENT_TRIANGLE& t : mesh.triangles)
            ShadeTriangle(cr, v[t.Vertex1], v[t.Vertex2], v[t.Vertex3], box);
    } else {
        for (const GRADIENT_RECT& r : mesh.rects)
            ShadeRect(cr, v[r.UpperLeft], v[r.LowerRight], across, box);
    }
    const bool shaded = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    GdiCoverage contextClip;
    const bool layered = !m_dc.clipLayers.empty();
    const bool clipKnown = !layered || contextClip.Build(m_dc, area, nullptr, ALTERNATE);
    if (shaded && clipKnown && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        const auto* region = dynamic_cast<const RasterRegion*>(dc.clip.get());
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        for (int y = area.top; y < area.bottom; ++y) {
            const unsigned char* from = data + static_cast<size_t>(y - area.top) * stride;
            BYTE* row = m_dc.bitmap->Row(y);
            for (int x = area.left; x < area.right; ++x) {
                uint32_t pixel;
                std::memcpy(&pixel, from + static_cast<size_t>(x - area.left) * 4, sizeof pixel);
                // Opaque colours without antialiasing: a shaded pixel is
                // wholly covered, an unshaded one not at all.
                if ((pixel >> 24) != 0xFF) continue;
                if (region && !region->Inside(x, y)) continue;
                if (layered && !contextClip.Covered(x, y)) continue;
                StorePixel(row + static_cast<size_t>(x) * 4, pixel & 0xFFFFFF);
            }
        }
    }
    cairo_surface_destroy(surface);
    return true;
}
