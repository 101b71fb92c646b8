// An independent reader of the plot files the driver writes: PJL, HP-GL/2
// (the instructions the driver sends, "PE" encoded polylines, polygon mode,
// input window, merge control) and HP RTL rasters, inside a vector plot or
// as pages of their own. It renders the plot in the driver's user units,
// which the driver scales to one device pixel each ("SC0,r,0,r" after
// "IP0,0,1016,-1016IR0,100"): x to the right, y down, the host's device
// coordinates, on white paper.
//
// Anything that a plotter would have to guess at, and every instruction
// this reader does not know, stops the reading with an error and its byte
// offset, so that tests catch a driver that writes it. Read without drawing
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
// the input window and merge control does not apply to them; the raster
// palette is separate from the pens; "TR" and "\e*v#N" are one setting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "support/plot_image.h"

namespace plot {

struct RenderOptions {
    int scale = 1;  // the picture is reduced by this integer factor
    bool antialias = false;
    // The page in user units from user (0, 0); 0 takes the plot size that
    // "PS" announced, turned by "RO".
    int pageWidth = 0;
    int pageHeight = 0;
    // false: the raster palette as a device keeps it ("\e*v#W" creates a new
    // palette of default colours; assignments beyond it are ignored). true:
    // assigned colours survive "\e*v#W" and may extend the palette, which
    // shows what the driver meant.
    bool lenientPalette = false;
};

struct PlotSummary {
    size_t commands = 0;
    size_t pensDefined = 0;    // distinct pen numbers given a colour with "PC"
    size_t penSelections = 0;  // "SP" instructions
    size_t polylines = 0;      // pen-down runs stroked
    size_t polygons = 0;       // fills ("FP", "FP1")
    size_t edges = 0;          // "EP"
    size_t rasters = 0;
    size_t rasterRows = 0;
    size_t pages = 0;
    double resolution = 0;  // device pixels per inch of the plot, from "SC"
    // Everything drawn, in user units, before any clipping.
    bool hasGeometry = false;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    InkBox ink;  // of the first page, in picture pixels
};

struct PlotRendering {
    bool ok = false;
    std::string error;  // ends in "at byte N"
    size_t errorOffset = 0;
    std::vector<std::string> warnings;
    // The pages rendered, also those before an error stopped the reading
    // (the page in progress then comes last).
    std::vector<Image> pages;
    PlotSummary summary;

    // One line: commands, pens, polygons, rasters, ink box.
    std::string SummaryLine() const;
};

PlotRendering RenderPlot(std::string_view bytes, const RenderOptions& options = {});
PlotRendering RenderPlotFile(const std::string& path, const RenderOptions& options);
PlotRendering RenderPlotFile(const std::string& path, int scale = 1);

// The first page; a 1 x 1 white picture when nothing was drawn.
Image FirstPage(const PlotRendering& rendering);

}  // namespace plot
