// The rows of a CUPS raster page as the bitmaps a host hands the driver's
// bitmap entry: a band of whole rows at a time as one top-down
// device-independent bitmap, in the raster's own depth (24-bit colour,
// 8-bit grey or 1-bit, with a palette where it has one).
#pragma once

#include <cups/raster.h>
#include <string>
#include <vector>
#include <windows.h>

enum class RasterKind {
    Colour,        // RGB, 8 bits a colour
    Grey,          // luminance (W), 8 bits: 255 white
    InkGrey,       // black (K), 8 bits: 0 white
    Bilevel,       // black (K), 1 bit: 1 ink
    BilevelWhite,  // luminance (W), 1 bit: 1 white
};

// The kind of a page; false with a message for what the driver's colour
// modes cannot take (other colour spaces, depths or colour orders).
bool RasterKindOf(const cups_page_header2_t& header, RasterKind* kind, std::string* error);

// The driver's colour mode for a kind (the dialog's choice index): "0"
// black and white for 1-bit pages, "2" grey for 8-bit grey ones, else "1"
// colour.
const char* ColourModeOf(RasterKind kind);

class RasterBand {
public:
    // A band of up to rows rows of width pixels.
    RasterBand(RasterKind kind, int width, int rows);

    // Row y of the band from a raster row (cupsBytesPerLine bytes, at least
    // the width's worth).
    void PutRow(int y, const unsigned char* row);
    // True when every row put since Clear() is white.
    bool Blank() const { return m_blank; }
    void Clear() { m_blank = true; }

    // The header of a band of rows rows, and its pixels.
    const BITMAPINFO* Info(int rows);
    const void* Bits() const { return m_bits.data(); }

private:
    bool RowIsWhite(const unsigned char* row) const;

    RasterKind m_kind;
    int m_width;
    size_t m_stride;
    std::vector<BYTE> m_info;  // header and palette
    std::vector<BYTE> m_bits;
    bool m_blank = true;
};

// Rows of a band at resolution dpi whose size on paper is a whole number of
// decipoints (the unit the plotter scales an embedded raster to), so bands
// meet without a gap: the largest such count whose 32-bit pixels fit
// budget bytes, at least one step.
int BandRows(int width, int dpi, size_t budget);
