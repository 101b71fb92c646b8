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

// A memory device context over a DIB section of one band of the raster:
// W pixels of 4 bytes each (blue, green, red, 0), top-down, made once for
// the whole raster and drawn again for each band.
class BandCanvas {
public:
    BandCanvas() = default;
    ~BandCanvas();
    BandCanvas(const BandCanvas&) = delete;
    BandCanvas& operator=(const BandCanvas&) = delete;

    // False when the GDI cannot make the device context or the section.
    bool Open(int width, int rows);
    // Rows [top, top + rows) of the raster g: white, with the bitmap
    // stretched into the destination and clipped to the job's clip region.
    void Render(const JobContext& job, const BitmapCall& call, const RasterGeometry& g, int top);
    BYTE* Pixels() const { return static_cast<BYTE*>(m_bits); }

private:
    HDC m_dc = nullptr;
    HBITMAP m_section = nullptr;
    HGDIOBJ m_old = nullptr;
    void* m_bits = nullptr;
};

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
