// 8-bit grey: one palette index per pixel, 0 black to 255 white, through a
// palette whose entry i is the grey i, i, i.
#include <cstring>

#include "pxrdriver/output_channel.h"
#include "rtl/band_encodings.h"
#include "rtl/rtl_rip.h"
#include "rtl/source_pixels.h"

namespace {

// RGB space, indexed by pixel, 8 bits per index and per primary.
constexpr ConfigureImageData kGreyImageData = {{0, 1, 8, 8, 8, 8}};

// Entry i of the grey ramp: "\e*v<i>a<i>b<i>c<i>I".
void WritePaletteEntry(OutputChannel* pOutput, int i) {
    CommandText entry;
    entry.Text("\x1b*v");
    for (const char* letter : {"a", "b", "c", "I"}) {
        entry.Int(i).Text(letter);
    }
    WriteRasterCommand(pOutput, entry);
}

// A page of its own pushes the palette before the raster's set-up.
void PushPalette(OutputChannel* pOutput) {
    WriteRasterCommand(pOutput, "\x1b*p0P");
}

// At its end it sends the same push command once more.
void WriteGreyPaletteEnd(OutputChannel* pOutput) {
    WriteRasterCommand(pOutput, "\x1b*p0P");
}

// The plain average of the primaries, truncated: (255, 0, 0) is 85.
inline BYTE GreyOf(unsigned red, unsigned green, unsigned blue) {
    return static_cast<BYTE>((red + green + blue) / 3);
}

void BuildFrom32(const BandSource& source, int y, BYTE* pRow) {
    const BYTE* p = SourceRow(source, y);
    for (int x = 0; x < source.nWidth; ++x, p += 4) {
        pRow[x] = GreyOf(p[2], p[1], p[0]);
    }
}

// Three-byte pixels are blue, green, red in memory, as in a 24-bit DIB. They
// give one index per pixel like the 4-byte ones, so that the row matches the
// raster width announced to the plotter; three bytes per pixel would put
// three palette indexes where the plotter expects one.
void BuildFrom24(const BandSource& source, int y, BYTE* pRow) {
    const BYTE* p = SourceRow(source, y);
    for (int x = 0; x < source.nWidth; ++x, p += 3) {
        pRow[x] = GreyOf(p[2], p[1], p[0]);
    }
}

// One-byte pixels are indexes already; two-byte pixels go out as their two
// bytes, low byte first (their order in memory).
void CopySourceRow(const BandSource& source, int y, BYTE* pRow) {
    std::memcpy(pRow, SourceRow(source, y),
                static_cast<size_t>(source.nWidth) * static_cast<size_t>(source.nBytesPerPixel));
}

}  // namespace

BandEncoding GreyEncoding(RowMethod method, const BandSource& source, bool bEmbedded) {
    BandEncoding encoding{};
    encoding.method = method;
    encoding.bZeroYOffset = true;
    encoding.cid = kGreyImageData;
    encoding.writePalette = WriteGreyRamp;
    if (!bEmbedded) {
        encoding.writeHeaderExtras = PushPalette;
        encoding.writeTrailerExtras = WriteGreyPaletteEnd;
    }
    const uint64_t nWidth = static_cast<uint64_t>(source.nWidth);
    const bool bRunLength = method == RowMethod::kRunLength;
    // Sizes not listed contribute no bytes: their rows are empty transfers.
    switch (source.nBytesPerPixel) {
        case 4:
            encoding.nRowBytes = nWidth;
            encoding.buildRow = BuildFrom32;
            break;
        case 1:
            encoding.nRowBytes = nWidth;
            encoding.buildRow = CopySourceRow;
            break;
        case 2:
            encoding.nRowBytes = bRunLength ? 2 * nWidth : 0;
            encoding.buildRow = CopySourceRow;
            break;
        case 3:
            encoding.nRowBytes = bRunLength ? nWidth : 0;
            encoding.buildRow = BuildFrom24;
            break;
        default: encoding.nRowBytes = 0; break;
    }
    return encoding;
}

void WriteGreyRamp(OutputChannel* pOutput) {
    for (int i = 0; i < 256; ++i) {
        WritePaletteEntry(pOutput, i);
    }
}

int CRTLRip::EncodeBandGrey(DWORD nFlags, RECT band, const RipBandBits* pBits) {
    BandSource source;
    int nRows;
    if (!CheckBand(band, pBits, &source, &nRows)) {
        return 0;
    }
    const RasterFrame frame{m_pOutput, m_bEmbedded, source.nWidth, m_nResolution};
    const BandEncoding encoding =
        GreyEncoding(RowMethodFor(m_nCompression), source, m_bEmbedded != 0);
    return SendRasterBand(nFlags, frame, source, nRows, encoding) ? 1 : 0;
}
