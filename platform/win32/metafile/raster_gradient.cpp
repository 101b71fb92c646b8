// Gradient fills of the raster device: cairo shades them into a scratch
// surface over the pixels they can touch (linear gradients for rectangles,
// a mesh for triangles, no antialiasing, so a pixel belongs to a shape when
// its centre does), and the shaded pixels are copied in under the
// context's clip and the metafile's.
#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>

#include "../gdi_coverage.h"
#include "raster_device.h"
#include "win32/metafile/gdi_state.h"

namespace {

// cairo keeps coordinates in 24.8 fixed point: farther points are held at
// this distance from the surface, which changes nothing that shows on it.
constexpr double kFarthest = 4.0e6;

double Channel(COLOR16 value) {
    return (value >> 8) / 255.0;
}

struct Local {
    double x, y;
};

// A vertex in the scratch surface's pixels.
Local At(const GradientVertex& v, const RECT& area) {
    const auto held = [](double value, LONG origin) {
        if (!std::isfinite(value)) return 0.0;
        return std::clamp(value - origin, -kFarthest, kFarthest);
    };
    return {held(v.at.x, area.left), held(v.at.y, area.top)};
}

void ShadeRect(cairo_t* cr, const GradientVertex& a, const GradientVertex& b, bool across,
               const RECT& area) {
    const Local p = At(a, area), q = At(b, area);
    cairo_pattern_t* pattern = across ? cairo_pattern_create_linear(p.x, 0, q.x, 0)
                                      : cairo_pattern_create_linear(0, p.y, 0, q.y);
    cairo_pattern_add_color_stop_rgb(pattern, 0, Channel(a.red), Channel(a.green), Channel(a.blue));
    cairo_pattern_add_color_stop_rgb(pattern, 1, Channel(b.red), Channel(b.green), Channel(b.blue));
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, std::min(p.x, q.x), std::min(p.y, q.y), std::fabs(q.x - p.x),
                    std::fabs(q.y - p.y));
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

void ShadeTriangle(cairo_t* cr, const GradientVertex* const (&corners)[3], const RECT& area) {
    cairo_pattern_t* mesh = cairo_pattern_create_mesh();
    cairo_mesh_pattern_begin_patch(mesh);
    for (int i = 0; i < 3; ++i) {
        const Local p = At(*corners[i], area);
        if (i == 0)
            cairo_mesh_pattern_move_to(mesh, p.x, p.y);
        else
            cairo_mesh_pattern_line_to(mesh, p.x, p.y);
    }
    for (unsigned i = 0; i < 3; ++i)
        cairo_mesh_pattern_set_corner_color_rgb(mesh, i, Channel(corners[i]->red),
                                                Channel(corners[i]->green),
                                                Channel(corners[i]->blue));
    cairo_mesh_pattern_end_patch(mesh);
    cairo_set_source(cr, mesh);
    // The mesh gives the colours, the path the pixels: those whose centre
    // lies inside, as for any other fill.
    for (int i = 0; i < 3; ++i) {
        const Local p = At(*corners[i], area);
        if (i == 0)
            cairo_move_to(cr, p.x, p.y);
        else
            cairo_line_to(cr, p.x, p.y);
    }
    cairo_close_path(cr);
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
    const std::span<const GradientVertex> v = mesh.vertices;
    if (mesh.mode == GRADIENT_FILL_TRIANGLE) {
        for (const GRADIENT_TRIANGLE& t : mesh.triangles) {
            const GradientVertex* const corners[3] = {&v[t.Vertex1], &v[t.Vertex2], &v[t.Vertex3]};
            ShadeTriangle(cr, corners, area);
        }
    } else {
        for (const GRADIENT_RECT& r : mesh.rects)
            ShadeRect(cr, v[r.UpperLeft], v[r.LowerRight], mesh.mode == GRADIENT_FILL_RECT_H, area);
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
