// Filling and stroking figures the way GDI does, in terms the driver takes:
// solid fills as polygons or paths, hatched fills as hatch lines, pens as
// solid polylines of a device width, dashed pens cut into their dashes.
#pragma once

#include <memory>
#include <vector>

#include "win32/gdi32/metafile/gdi_objects.h"
#include "win32/gdi32/metafile/gdi_path.h"
#include "win32/gdi32/metafile/gdi_state.h"
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

    // Drawing stays inside this region whatever the state's clip region
    // says, as GDI's meta region bounds the clip: the drawing's own page.
    // Null for no such bound.
    void SetFrame(std::shared_ptr<CKestRgn> frame);

    // The state's clip region within the frame; the same region object as
    // long as the state's does not change, so that the driver is told a
    // clip only when it changes.
    const std::shared_ptr<CKestRgn>& Clip(const DcState& dc);

private:
    void FillSolid(std::span<const Figure> figures, COLORREF color, int fillMode, bool simple);
    void FillHatched(std::span<const Figure> figures, const GdiBrush& brush, const DcState& dc);

    PlotSurface& m_surface;
    double m_screenPixel;  // device pixels per screen pixel
    CKestRgn m_page;       // the sheet's printable area, enlarged by a pixel
    std::shared_ptr<CKestRgn> m_frame;
    bool m_clipKnown = false;
    std::shared_ptr<CKestRgn> m_clipOf;  // the state's clip that m_clip was made of
    std::shared_ptr<CKestRgn> m_clip;
};
