// A band's source pixels as the colour formats read them.
#pragma once

#include <windows.h>

// A band's source pixels: row y begins at pixel index y * nStride of pBits.
// The band has been checked: every row has nWidth readable pixels.
struct BandSource {
    const BYTE* pBits;
    int nStride;
    int nBytesPerPixel;
    int nWidth;  // raster width in pixels
};
