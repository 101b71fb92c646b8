// A one-bit bitmap drawn pixel for pixel into a one-bit raster: its rows are
// already the raster's rows, so they are sent from the bitmap itself
// instead of being drawn into 32-bit band pixels and packed again.
#pragma once

#include <cstddef>
#include <windows.h>

#include "image/bitmap_band.h"

struct JobContext;

// The source's rows as the raster's: row y of the raster is
// (byte & keep) ^ flip of each byte of the source's display row y, the bits
// of each byte leftmost first.
struct BilevelSource {
    const BYTE* bits;
    size_t stride;  // bytes of a stored row, whole DWORDs
    int height;
    bool topDown;
    BYTE keep;
    BYTE flip;
};

// True, with the rows, when drawing call into the raster g gives exactly
// the source's pixels: a 1-bit BI_RGB bitmap with its own colour table,
// copied whole (SRCCOPY) to a destination that is the raster, one source
// pixel to a raster pixel, inside a rectangular clip. Index i is ink when
// its colour is not pure white, as the one-bit rows count a rendered pixel.
bool BilevelSourceOf(const JobContext& job, const BitmapCall& call, const RasterGeometry& g,
                     BilevelSource* out);

// Rows [top, top + rows) of the raster into out, stride bytes each.
void CopyBilevelRows(const BilevelSource& source, int top, int rows, BYTE* out);

// The same rows in place when the source's bytes are the raster's (top-down,
// index 1 ink and index 0 white); null otherwise.
const BYTE* BilevelRowsInPlace(const BilevelSource& source, int top);
