// Rendering the rows of a bitmap's raster with the GDI, band by band, so
// that an image of any size needs a bounded buffer.
#pragma once

#include <vector>
#include <windows.h>

#include "image/raster_geometry.h"

struct JobContext;

// The arguments of the host's StretchDIBits-like call.
struct BitmapCall {
    int xDest, yDest, wDest, hDest;
    int xSrc, ySrc, wSrc, hSrc;
    const void* bits;
    const BITMAPINFO* bmi;
    UINT usage;
    DWORD rop;
};

// Rows [top, top + rows) of the raster, W pixels of 4 bytes each (blue,
// green, red, 0), top-down, into pixels: white, with the bitmap stretched
// into the destination and clipped to the job's clip region. False when the
// GDI cannot make its device context or DIB section.
bool RenderBitmapBand(const JobContext& job, const BitmapCall& call, const RasterGeometry& g,
                      int top, int rows, BYTE* pixels);

// The source's alpha as an 8-bit grey bitmap of the same size and row
// order, drawn through the same call, so that each raster pixel gets the
// alpha of the very source area its colour came from.
class AlphaSource {
public:
    // False when the source has no alpha byte (not 32 bits a pixel) or the
    // memory is not there.
    bool Build(const BITMAPINFO* bmi, const void* bits);
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(m_info.data()); }
    const void* Bits() const { return m_bits.data(); }

private:
    std::vector<BYTE> m_info;
    std::vector<BYTE> m_bits;
};
