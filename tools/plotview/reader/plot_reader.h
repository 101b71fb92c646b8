// An independent reader of the plot files the driver writes: PJL, HP-GL/2
// (the instructions the driver sends, "PE" encoded polylines, polygon mode,
// input window, merge control) and HP RTL rasters, inside a vector plot or
// as pages of their own. It renders the plot in the driver's user units,
// which the driver scales to one device pixel each ("SC0,r,0,r" after
// "IP0,0,1016,-1016IR0,100"): x to the right, y down, the host's device
// coordinates, on white paper.
//
// Anything that a plotter would have to guess at, and every instruction
// this reader does not know (unless asked to skip those), stops the reading
// with an error and its byte offset, so that tests catch a driver that
// writes it. Read without drawing
// anything: PJL lines (only "ENTER LANGUAGE" switches the language), "BP"
// and "EC" (ignored), "PS" and "RO" (they size and turn the page), "WU0",
// "CR" (applied to "PC"), "LT" without parameters, "\e&a#N" and "\e*v#O"
// (ignored), "\e*p#P" (palette stack). Reported as warnings and otherwise
// ignored: "\ev1N" and "\ev1O" (not PCL sequences). Also reported: palette
// entries a device would ignore or never got, drawing with pen 0 or with a
// pen never defined, implicit raster starts, "PE" ended by an escape.
//
// Assumptions where the devices differ: raster rows run along the page's y
// (down) and columns along x whatever "RO" says; rasters are not clipped by
// the input window and merge control does not apply to them; "TR" and
// "\e*v#N" are one setting.
//
// The pens and the raster palette are one palette, as on the plotters: an
// HP RTL "configure image data" ("\e*v#W") replaces the HP-GL/2 pens with
// its new palette, so pens selected after an embedded raster draw in that
// palette's default colours, at the default width, until "PC" and "PW"
// define them again (reported).
#pragma once

#include <string>
#include <string_view>

#include "reader/plot_rendering.h"

namespace plot {

PlotRendering RenderPlot(std::string_view bytes, const RenderOptions& options = {});
PlotRendering RenderPlotFile(const std::string& path, const RenderOptions& options);
PlotRendering RenderPlotFile(const std::string& path, int scale = 1);

// The first page; a 1 x 1 white picture when nothing was drawn.
Image FirstPage(const PlotRendering& rendering);

}  // namespace plot
