// Sending a rendered bitmap as an HP RTL raster inside the vector plot.
#pragma once

#include "image/bitmap_band.h"
#include "pxrdriver/host_context.h"

// Renders the raster band by band and sends it: pen to the corner, into
// RTL, the raster's size in pixels and on paper, its pixel format, scaled
// raster graphics, then the rows. alpha (may be null) whitens the pixels
// whose alpha is 0. Returns 0, with at most the ";" and "\e%1B" of the
// boundary written, when a row would not fit a band or the GDI cannot make
// the band's device context and DIB section; once the pen has moved the
// raster is always completed and the result is 1.
int SendEmbeddedRaster(HostContext* pHost, const BitmapCall& call, const RasterGeometry& g,
                       const AlphaSource* alpha);
