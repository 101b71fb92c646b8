// The rows of one band: how source pixels become row bytes is the colour
// format's (band_mono, band_grey, band_rgb); how the rows are compressed and
// framed is common to all of them and lives here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <windows.h>

#include "rtl/band_source.h"
#include "rtl/delta_row_encoder.h"
#include "rtl/raster_frame.h"
#include "rtl/rle_row_buffer.h"

class OutputChannel;

// The row compression of a compression setting (dialog 105's radio index).
enum class RowMethod {
    kRunLength,  // method 1 for every row
    kDeltaRow,   // method 3, the first row of every band method 1
    kNoRows,     // no method command and no transfers
};

// 0, 1, 2 ("Uncompressed", "RL compressed", "TIF compressed") send method 1,
// 3 and 4 ("Random compressed", "Best fit") method 3, anything above sends no
// rows. A negative index, which no dialog produces, counts as method 1: the
// plotter then still gets the picture.
RowMethod RowMethodFor(int nCompression);

// Builds row y's bytes at pRow (exactly the row length the format gave).
using RowBuilder = void (*)(const BandSource& source, int y, BYTE* pRow);

// What a colour format contributes to a band.
struct BandEncoding {
    RowMethod method;
    bool bZeroYOffset;    // "\e*b0Y" after "\e*b3M"
    uint64_t nRowBytes;   // computed wide: 3 x an int width exceeds 32 bits
    RowBuilder buildRow;  // may be null when nRowBytes is 0
    // The rows are the red, green and blue bytes of 4-byte pixels: method 3
    // codes them straight from the pixels.
    bool bRgbOfPixels;
    ConfigureImageData cid;
    void (*writeHeaderExtras)(OutputChannel*);  // after the entry, before the set-up
    // After "\e*v6W", which replaces the palette with one of default colours,
    // and before raster graphics start.
    void (*writePalette)(OutputChannel*);
    void (*writeTrailerExtras)(OutputChannel*);  // before the end of raster graphics
};

// Sends a band's rows through the row coders. Every buffer is allocated by
// Prepare, once per band, so that sending a row allocates nothing.
class BandRowSender {
public:
    // False when rows of nRowBytes cannot be coded or sent (the transfer
    // length is an int) or the memory is not there.
    bool Prepare(RowMethod method, uint64_t nRowBytes);
    // The method command at the start of every band.
    void BeginBand(OutputChannel* pOutput, bool bZeroYOffset);
    // Carries on the rows of the band before instead: the row just built in
    // RowBuffer is the one above this band, which the first row is coded
    // against, as it would be inside one band.
    void ContinueBand();
    // Where the caller builds the next row.
    BYTE* RowBuffer() { return m_pRows.get() + m_nCurrent * m_nRowBytes; }
    // Codes the row just built in RowBuffer and writes its transfer.
    void SendRow(OutputChannel* pOutput);
    // Method 3 after the band's first row: codes the RGB row of the 4-byte
    // pixels at pRow against the pixels at pSeed and writes its transfer.
    void SendRgbPixelRow(OutputChannel* pOutput, const BYTE* pRow, const BYTE* pSeed,
                         size_t nPixels);

private:
    void SendRunLengthRow(OutputChannel* pOutput, const BYTE* pRow);
    void SendDeltaRow(OutputChannel* pOutput);

    RowMethod m_method = RowMethod::kNoRows;
    size_t m_nRowBytes = 0;
    // One row for method 1; two for method 3, filled alternately, because
    // the delta coder compares with the previous row where it lies.
    std::unique_ptr<BYTE[]> m_pRows;
    size_t m_nCurrent = 0;
    bool m_bFirstRow = true;
    RleRowBuffer m_rle;
    DeltaRowEncoder m_delta;
};

// Writes one band: the header when nFlags carries RIP_FIRST_BAND, the
// method command and nRows rows, the trailer when it carries RIP_LAST_BAND.
// False, with nothing written, when the band's buffers cannot be prepared.
bool SendRasterBand(DWORD nFlags, const RasterFrame& frame, const BandSource& source, int nRows,
                    const BandEncoding& encoding);

// The parts of SendRasterBand. The header and the trailer of a raster:
void WriteBandHeader(DWORD nFlags, const RasterFrame& frame, const BandEncoding& encoding);
void WriteBandTrailer(DWORD nFlags, const RasterFrame& frame, const BandEncoding& encoding);
// The band's rows through prepared senders, after its method command; with
// pRowAbove (the source row above the band, laid out as the band's rows)
// the band carries on the rows before it instead, with no method command,
// its first row coded against that row.
void SendBandRows(BandRowSender& rows, OutputChannel* pOutput, const BandSource& source, int nRows,
                  const BandEncoding& encoding, const BYTE* pRowAbove = nullptr);
