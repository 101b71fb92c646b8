// Lines of pens wider than a pixel as GDI builds them on a raster device:
// each segment a quadrilateral whose sides lie half the width (rounded to
// whole pixels, the wider half on one side) off the line, square caps
// reaching out half a width, round caps and joins GDI's elliptic region of
// the pen's width, mitred joins a pentagon up to the miter limit and
// bevelled ones a quadrilateral. The union of the pieces is the line.
#pragma once

#include <span>
#include <vector>

#include <windows.h>

#include "win32/gdi32/metafile/gdi_path.h"

struct WidePen {
    int width = 1;  // device pixels
    DWORD cap = PS_ENDCAP_ROUND;
    DWORD join = PS_JOIN_ROUND;
    double miterLimit = 10;  // in half widths, as SetMiterLimit takes it
    // Dash, gap, dash, ... in device pixels (GDI's are whole pixels); empty
    // for a solid line.
    std::vector<double> dashes;
};

// The polygons whose union is the figures' lines (each one filled on its
// own with the top-left rule: pixel rows are rectangles of four points).
std::vector<std::vector<POINT>> WidenFigures(std::span<const FigureView> figures,
                                             const WidePen& pen);
