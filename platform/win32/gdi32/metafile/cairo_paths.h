// Figures handed to cairo as paths: the raster painter's fills, strokes
// and clip regions.
#pragma once

#include <cairo.h>

#include <span>

#include <windows.h>

inline cairo_fill_rule_t FillRule(int mode) {
    return mode == WINDING ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
}

// The points as one figure of the path, closed or not.
inline void AddFigure(cairo_t* cr, std::span<const POINT> points, bool closed) {
    if (points.empty()) return;
    cairo_move_to(cr, points[0].x, points[0].y);
    for (size_t i = 1; i < points.size(); ++i) cairo_line_to(cr, points[i].x, points[i].y);
    if (closed) cairo_close_path(cr);
}
