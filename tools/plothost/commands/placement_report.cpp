#include "commands/placement_report.h"

#include <cstdio>

void TellPlacement(const PlotOptions& options, const PageDescription& page, const Placement& p) {
    std::fprintf(stderr, "plothost: %s, %.1f x %.1f mm on %s %s (printable area %.1f x %.1f mm)",
                 options.drawing.c_str(), p.drawingWidthMM, p.drawingHeightMM, page.paper.c_str(),
                 page.landscape ? "landscape" : "portrait", p.areaWidthMM, p.areaHeightMM);
    if (p.scale == 1)
        std::fprintf(stderr, ", at its true size (1:1)\n");
    else
        std::fprintf(stderr, ", scale %.4g%s\n", p.scale,
                     options.scale == ScaleChoice::Fixed ? "" : " to fit");
    if (!p.fits)
        std::fprintf(stderr,
                     "plothost: warning: the drawing does not fit: the part outside the "
                     "printable area is not plotted\n");
}
