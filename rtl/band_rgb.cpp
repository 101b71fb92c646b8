// Direct RGB: three bytes per pixel, red, green, blue. Also the encoder of
// every non-negative colour format that has no encoder of its own.
#include <cstring>

#include "rtl/band_rows.h"
#include "rtl/rtl_rip.h"
#include "rtl/source_pixels.h"

namespace {

// RGB space, direct by pixel, 3 bits per index, 8 bits per primary.
constexpr ConfigureImageData kRgbImageData = {{0, 3, 3, 8, 8, 8}};

// 0x00RRGGBB is blue, green, red in memory; the plotter takes red first.
// Source and row never overlap, which lets the compiler vectorise the loop:
// a whole page passes through here.
void BuildFrom32(const BandSource& source, int y, BYTE* pRow) {
    const BYTE* __restrict p = SourceRow(source, y);
    BYTE* __restrict out = pRow;
    const size_t n = static_cast<size_t>(source.nWidth);
    for (size_t x = 0; x < n; ++x) {
        out[3 * x] = p[4 * x + 2];
        out[3 * x + 1] = p[4 * x + 1];
        out[3 * x + 2] = p[4 * x];
    }
}

// Three-byte pixels are blue, green, red in memory, as in a 24-bit DIB; they
// go out red first like the 4-byte ones, so the plotter gets the colours.
void BuildFrom24(const BandSource& source, int y, BYTE* pRow) {
    const BYTE* p = SourceRow(source, y);
    for (int x = 0; x < source.nWidth; ++x, p += 3, pRow += 3) {
        pRow[0] = p[2];
        pRow[1] = p[1];
        pRow[2] = p[0];
    }
}

// One-byte pixels go out as one byte, two-byte pixels as their two bytes,
// low byte first (their order in memory).
void CopySourceRow(const BandSource& source, int y, BYTE* pRow) {
    std::memcpy(pRow, SourceRow(source, y),
                static_cast<size_t>(source.nWidth) * static_cast<size_t>(source.nBytesPerPixel));
}

BandEncoding RgbEncoding(RowMethod method, const BandSource& source) {
    BandEncoding encoding{};
    encoding.method = method;
    encoding.bZeroYOffset = true;
    encoding.cid = kRgbImageData;
    const uint64_t nWidth = static_cast<uint64_t>(source.nWidth);
    const bool bRunLength = method == RowMethod::kRunLength;
    // Sizes not listed contribute no bytes: their rows are empty transfers.
    switch (source.nBytesPerPixel) {
        case 4:
            encoding.nRowBytes = 3 * nWidth;
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
            encoding.nRowBytes = bRunLength ? 3 * nWidth : 0;
            encoding.buildRow = BuildFrom24;
            break;
        default: encoding.nRowBytes = 0; break;
    }
    return encoding;
}

}  // namespace

int CRTLRip::EncodeBandRgb(DWORD nFlags, RECT band, const RipBandBits* pBits) {
    BandSource source;
    int nRows;
    if (!PrepareBand(band, pBits, &source, &nRows)) {
        return 0;
    }
    const RasterFrame frame{m_pOutput, m_bEmbedded, source.nWidth, m_nResolution};
    const BandEncoding encoding = RgbEncoding(RowMethodFor(m_nCompression), source);
    return SendRasterBand(nFlags, frame, source, nRows, encoding) ? 1 : 0;
}
