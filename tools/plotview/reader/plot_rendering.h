// What reading a plot gives: the options of the reading, the pages drawn,
// the summary of what the job holds, and the warnings and the error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "picture/plot_image.h"

namespace plot {

struct RenderOptions {
    int scale = 1;  // the picture is reduced by this integer factor
    // Pixels per inch of the picture; when set, it replaces the scale.
    double dpi = 0;
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
    // false: an instruction or escape sequence the reader does not know
    // stops the reading with an error (what the tests want). true: it is
    // skipped with a warning, as a device skips what it does not know.
    bool skipUnknown = false;
    // Rows of a raster decoded before they are placed on the page; 0 takes
    // as many as 16 MiB hold. Any number draws the same picture.
    int rasterSliceRows = 0;
};

// A pen as it drew: the same pen number in another colour or width is
// another entry.
struct PenUse {
    int pen = 0;
    uint32_t colour = 0;  // 0xRRGGBB
    double widthMm = 0;
    size_t uses = 0;  // strokes, edges and fills drawn with it
};

struct PlotSummary {
    size_t commands = 0;
    size_t plotCommands = 0;   // HP-GL/2 instructions and escape sequences (not PJL)
    size_t pensDefined = 0;    // distinct pen numbers given a colour with "PC"
    size_t penSelections = 0;  // "SP" instructions
    size_t polylines = 0;      // pen-down runs stroked
    size_t polygons = 0;       // fills ("FP", "FP1")
    size_t edges = 0;          // "EP"
    size_t rasters = 0;
    size_t rasterRows = 0;
    size_t pages = 0;
    double resolution = 0;  // device pixels per inch of the plot, from "SC"
    // The first page as "PS" and "RO" gave it: across and down the picture,
    // in millimetres (0 when not given).
    double pageWidthMm = 0, pageHeightMm = 0;
    int rotation = 0;
    double pictureDpi = 0;  // pixels per inch of the rendered pages
    std::vector<PenUse> pensUsed;
    // Everything drawn, in user units, before any clipping.
    bool hasGeometry = false;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    InkBox ink;  // of the first page, in picture pixels
};

struct PlotRendering {
    bool ok = false;
    std::string error;  // ends in "at byte N"
    size_t errorOffset = 0;
    // The error is the end of the file inside a command: everything before
    // it was read and drawn.
    bool truncated = false;
    std::vector<std::string> warnings;
    // The pages rendered, also those before an error stopped the reading
    // (the page in progress then comes last).
    std::vector<Image> pages;
    PlotSummary summary;

    // One line: commands, pens, polygons, rasters, ink box.
    std::string SummaryLine() const;
};

}  // namespace plot
