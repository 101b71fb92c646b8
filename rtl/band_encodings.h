// What each colour format makes of a band's source pixels: its row bytes,
// configure-image-data bytes and extras around the raster (band_mono,
// band_grey, band_rgb).
#pragma once

#include "rtl/band_rows.h"

// One bit per pixel.
BandEncoding MonoEncoding(RowMethod method, const BandSource& source);
// 8-bit grey through the grey palette, which only a page of its own sends.
BandEncoding GreyEncoding(RowMethod method, const BandSource& source, bool bEmbedded);
// Direct RGB, and every non-negative format without an encoder of its own.
BandEncoding RgbEncoding(RowMethod method, const BandSource& source);
