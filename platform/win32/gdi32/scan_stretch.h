// Resampling a bitmap onto device pixels as StretchDIBits does in the scan
// modes (BLACKONWHITE, WHITEONBLACK, COLORONCOLOR), which keep whole source
// pixels. Each axis steps from the destination's start edge and the
// source's like a Bresenham line, so destination pixel d of D shows source
// pixel ceil((2d + 1) S / 2D) - 1 of S when the axis grows, and source
// pixel s lands in destination pixel ceil((2s + 1) D / 2S) - 1 when it
// shrinks: the source pixel under the destination pixel's centre, a centre
// on an edge taking the earlier one. The source pixels that meet in one
// destination pixel are combined: BLACKONWHITE ANDs their colours,
// WHITEONBLACK ORs them, COLORONCOLOR keeps one of them (the last of a row's
// run, the first of a column's, as GDI does).
#pragma once

#include <cstdint>
#include <vector>

#include "gdi32/stretch_axis.h"
#include "win32/gdi32/dib.h"

// The source pixels of output pixels [out0, out1) of the axis (no weights).
AxisTaps BuildScanTaps(const StretchAxis& axis, int out0, int out1);

class ScanStretcher {
public:
    ScanStretcher(const DibImage& image, const AxisTaps& xTaps, const AxisTaps& yTaps, int mode);
    // Output row k as 0x00RRGGBB pixels, xTaps.count.size() of them.
    void Row(int k, uint32_t* out);

private:
    // Source row y reduced to the output columns.
    void Columns(int y, uint32_t* out);

    const DibImage& m_image;
    const AxisTaps& m_x;
    const AxisTaps& m_y;
    int m_mode;
    std::vector<uint32_t> m_source;
    std::vector<uint32_t> m_row;
};
