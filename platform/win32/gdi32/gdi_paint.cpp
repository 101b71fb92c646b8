// Filling rectangles and polygons with the brush, under the clip region
// and the binary raster operation.
#include <algorithm>
#include <climits>
#include <cmath>

#include "gdi32/gdi_coverage.h"

namespace {

// Applies colour to the covered pixels of area with the raster operation.
void PaintCovered(HDC__& dc, const RECT& area, const GdiCoverage& coverage, uint32_t colour,
                  int rop2) {
    for (int y = area.top; y < area.bottom; ++y) {
        BYTE* row = dc.bitmap->Row(y);
        for (int x = area.left; x < area.right; ++x) {
            if (!coverage.Covered(x, y)) continue;
            BYTE* p = row + static_cast<size_t>(x) * 4;
            StorePixel(p, rop2 == R2_COPYPEN ? colour : ApplyRop2(rop2, colour, LoadPixel(p)));
        }
    }
}

RECT BoundsOf(const GdiFigures& figures) {
    double l = INFINITY, t = INFINITY, r = -INFINITY, b = -INFINITY;
    for (const auto& f : figures)
        for (const DPointF& p : f) {
            l = std::min(l, p.x), r = std::max(r, p.x);
            t = std::min(t, p.y), b = std::max(b, p.y);
        }
    auto clamp = [](double v) {
        return static_cast<LONG>(std::clamp(v, double{INT_MIN / 2}, double{INT_MAX / 2}));
    };
    if (!(l <= r)) return RECT{0, 0, 0, 0};
    return RECT{clamp(std::floor(l)) - 1, clamp(std::floor(t)) - 1, clamp(std::ceil(r)) + 2,
                clamp(std::ceil(b)) + 2};
}

}  // namespace

extern "C" {

// FillRect paints with the brush whatever the binary raster operation;
// the right and bottom edges are not filled.
int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    HDC__* dc = FindDc(hDC);
    auto* brush = static_cast<HBRUSH__*>(FindRasterGdiObject(hbr, RasterGdiKind::Brush));
    if (!dc || !lprc || !brush) return 0;
    const POINT a = dc->ToDevicePixel(lprc->left, lprc->top);
    const POINT b = dc->ToDevicePixel(lprc->right, lprc->bottom);
    RECT area;
    if (!DrawableArea(
            *dc,
            RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)},
            &area))
        return 1;
    const uint32_t colour = RasterPixelOf(brush->color);
    if (dc->clipLayers.empty()) {
        // The area is already inside the clip box: every pixel of it.
        for (int y = area.top; y < area.bottom; ++y) {
            BYTE* p = dc->bitmap->Row(y) + static_cast<size_t>(area.left) * 4;
            for (int x = area.left; x < area.right; ++x, p += 4) StorePixel(p, colour);
        }
        return 1;
    }
    GdiCoverage coverage;
    if (!coverage.Build(*dc, area, nullptr, ALTERNATE)) return 0;
    PaintCovered(*dc, area, coverage, colour, R2_COPYPEN);
    return 1;
}

int WINAPI SetROP2(HDC hdc, int rop2) {
    HDC__* dc = FindDc(hdc);
    if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
    const int old = dc->rop2;
    dc->rop2 = rop2;
    return old;
}

// Inside a path bracket the polygon becomes a figure of the path; outside
// it is filled with the brush (when one is selected) and outlined with the
// context's default black pen, both through the binary raster operation.
BOOL WINAPI Polygon(HDC hdc, const POINT* apt, int cpt) {
    HDC__* dc = FindDc(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    std::vector<DPointF> figure;
    figure.reserve(static_cast<size_t>(cpt));
    for (int i = 0; i < cpt; ++i) figure.push_back(dc->ToDevice(apt[i].x, apt[i].y));
    if (dc->pathOpen) {
        dc->path.push_back(std::move(figure));
        return TRUE;
    }
    const GdiFigures figures{std::move(figure)};
    RECT area;
    if (!DrawableArea(*dc, BoundsOf(figures), &area)) return TRUE;
    GdiCoverage coverage;
    if (dc->brush) {
        if (!coverage.Build(*dc, area, &figures, dc->polyFillMode)) return FALSE;
        PaintCovered(*dc, area, coverage, RasterPixelOf(dc->brush->color), dc->rop2);
    }
    if (!coverage.Build(*dc, area, &figures, dc->polyFillMode, true)) return FALSE;
    PaintCovered(*dc, area, coverage, 0, dc->rop2);
    return TRUE;
}

}  // extern "C"
