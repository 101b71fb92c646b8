#include "gdi32/gdi_coverage.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>

namespace {

void AddFigures(cairo_t* cr, const GdiFigures& figures) {
    for (const auto& figure : figures) {
        if (figure.empty()) continue;
        cairo_move_to(cr, figure[0].x, figure[0].y);
        for (size_t i = 1; i < figure.size(); ++i) cairo_line_to(cr, figure[i].x, figure[i].y);
        cairo_close_path(cr);
    }
}

cairo_fill_rule_t FillRule(int mode) {
    return mode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
}

}  // namespace

bool DrawableArea(const HDC__& dc, RECT bounds, RECT* area) {
    if (!dc.bitmap) return false;
    RECT a{std::max<LONG>({0, dc.clipBox.left, bounds.left}),
           std::max<LONG>({0, dc.clipBox.top, bounds.top}),
           std::min<LONG>({dc.bitmap->width, dc.clipBox.right, bounds.right}),
           std::min<LONG>({dc.bitmap->height, dc.clipBox.bottom, bounds.bottom})};
    if (a.left >= a.right || a.top >= a.bottom) return false;
    *area = a;
    return true;
}

bool GdiCoverage::Build(const HDC__& dc, const RECT& area, const GdiFigures* figures, int fillMode,
                        bool stroke) {
    m_area = area;
    const int w = area.right - area.left, h = area.bottom - area.top;
    m_stride = static_cast<size_t>(cairo_format_stride_for_width(CAIRO_FORMAT_A8, w));
    m_mask.assign(m_stride * static_cast<size_t>(h), 0);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        m_mask.data(), CAIRO_FORMAT_A8, w, h, static_cast<int>(m_stride));
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_translate(cr, -area.left, -area.top);
    for (const ClipLayer& layer : dc.clipLayers) {
        AddFigures(cr, layer.figures);
        cairo_set_fill_rule(cr, FillRule(layer.fillMode));
        cairo_clip(cr);
    }
    if (!figures) {
        cairo_paint(cr);
    } else if (stroke) {
        // A one-pixel pen runs through pixel centres.
        cairo_translate(cr, 0.5, 0.5);
        AddFigures(cr, *figures);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    } else {
        AddFigures(cr, *figures);
        cairo_set_fill_rule(cr, FillRule(fillMode));
        cairo_fill(cr);
    }
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return ok;
}

uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dst) {
    // R2_x - 1 is the truth table of the operation, bit (pen << 1 | dst).
    const int table = (rop2 - 1) & 0xF;
    uint32_t r = 0;
    if (table & 8) r |= pen & dst;
    if (table & 4) r |= pen & ~dst;
    if (table & 2) r |= ~pen & dst;
    if (table & 1) r |= ~pen & ~dst;
    return r & 0x00FFFFFF;
}

uint32_t ApplyRop3(DWORD rop, uint32_t pattern, uint32_t src, uint32_t dst) {
    // The index byte is the truth table, bit (pattern << 2 | source << 1 | destination).
    const unsigned table = (rop >> 16) & 0xFF;
    if (table == 0xCC) return src;  // SRCCOPY, by far the most common
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((table >> i) & 1)) continue;
        r |= ((i & 4) ? pattern : ~pattern) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
    }
    return r & 0x00FFFFFF;
}
