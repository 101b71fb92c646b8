// Filling and stroking figures the way GDI does, in terms the driver takes:
// solid fills as polygons or paths, hatched fills as hatch lines, pens as
// solid polylines of a device width, dashed pens cut into their dashes.
#pragma once

#include <vector>

#include "gdi/gdi_objects.h"
#include "gdi/gdi_path.h"
#include "gdi/gdi_state.h"
#include "gdi/plot_surface.h"

class ShapePainter {
public:
    // dpi: the plotter's resolution, which sets the size of the screen pixel
    // that one-pixel pens' dashes and hatch spacings are measured in.
    ShapePainter(PlotSurface& surface, double dpi);

    // Fills the figures (each one closed) with the brush under the state's
    // fill mode, background mode and colour, brush origin, raster operation
    // and clip region. simple: the figures form one polygon that does not
    // cross itself (rectangles, ellipses), which fills alike in both modes.
    void Fill(std::span<const Figure> figures, const GdiBrush* brush, const DcState& dc,
              bool simple);
    // Strokes the figures with the pen; toDevice (logical units to device
    // pixels) sets the width of geometric pens.
    void Stroke(std::span<const Figure> figures, const GdiPen* pen, const DcState& dc,
                const Affine& toDevice);

    // The pen's width on the device, in pixels (at least 1).
    static int DeviceWidth(const GdiPen& pen, const Affine& toDevice);

private:
    void FillSolid(std::span<const Figure> figures, COLORREF color, int fillMode, bool simple);
    void FillHatched(std::span<const Figure> figures, const GdiBrush& brush, const DcState& dc);

    PlotSurface& m_surface;
    double m_screenPixel;  // device pixels per screen pixel
    CKestRgn m_page;       // the sheet's printable area, enlarged by a pixel
};
