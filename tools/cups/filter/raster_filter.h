// rastertohpgl2: CUPS raster (what CUPS makes from PDF, PostScript and
// images) plotted page by page. Each page is one job of the driver in its
// vector transaction mode, the page's rows handed to the driver's bitmap
// entry band by band at their place on the printable area, so that the
// driver's raster writer codes them as HP RTL; no page is ever whole in
// memory. A page that is cut short, cancelled or larger than the plotter's
// paper gets no end: the plotter never takes it for a whole job.
#pragma once

#include <cstddef>

// main() of the filter: 0 when every page was handed on, 1 with an
// "ERROR:" line when not.
int RunRasterFilter(int argc, const char* const* argv);

// The pixels of the bands handed to the driver at a time, 32 bits each as
// the driver renders them: a few MiB, whatever the page's size.
inline constexpr size_t kRasterBandBudget = size_t{8} << 20;
