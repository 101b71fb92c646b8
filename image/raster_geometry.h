// Where a bitmap's raster goes on the page and how many pixels it has.
#pragma once

#include <cstdint>
#include <windows.h>

struct JobContext;

struct RasterGeometry {
    // The device rectangle the raster covers (before the plot origin).
    int64_t left;
    int64_t top;
    int64_t width;  // device units
    int64_t height;
    // The raster's pixels.
    int W;
    int H;
};

// The size rule: a destination of at least 1 048 576 pixels that is at least
// 1.5 times the source is rendered at the source's own size (the plotter
// enlarges it); anything else at the destination's size. A raster at the
// destination's size covers only the part of the destination inside the
// clip bounds: what lies outside is never drawn, and a destination of
// 2^31 pixels does not become a raster of 2^31 pixels. keepSource forces
// the source size (the alpha entry). False when nothing is left to draw.
bool ChooseRasterGeometry(const JobContext& job, int xDest, int yDest, int wDest, int hDest,
                          int wSrc, int hSrc, const BITMAPINFOHEADER& header, bool keepSource,
                          RasterGeometry* out);
