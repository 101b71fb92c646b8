// One bit per pixel: eight pixels to a row byte, the leftmost in the most
// significant bit, 1 for ink.
#include <cstring>

#include "rtl/band_encodings.h"
#include "rtl/rtl_rip.h"
#include "rtl/source_pixels.h"

namespace {

// RGB space, indexed by pixel; the plotters of this family take bits per
// index and per primary as 0 for one-bit rasters.
constexpr ConfigureImageData kMonoImageData = {{0, 1, 0, 0, 0, 0}};

size_t MonoRowBytes(int nWidth) {
    return (static_cast<size_t>(nWidth) + 7) / 8;
}

// The bits of the last byte beyond the raster width carry no pixel. They are
// sent as 0, white: the plotter stops at the raster width anyway, and white
// padding keeps runs long and prints nothing on one that does not.
BYTE LastByteMask(int nWidth) {
    const int nUsed = nWidth % 8;
    return nUsed == 0 ? BYTE{0xFF} : static_cast<BYTE>(0xFF << (8 - nUsed));
}

// Packed source: the row's bytes as they are, the padding cleared.
void BuildFromPackedBits(const BandSource& source, int y, BYTE* pRow) {
    const size_t nBytes = MonoRowBytes(source.nWidth);
    if (nBytes == 0) {
        return;
    }
    const size_t nFirstPixel = static_cast<size_t>(y) * static_cast<size_t>(source.nStride);
    for (size_t i = 0; i < nBytes; ++i) {
        pRow[i] = source.pBits[(nFirstPixel + i * 8) / 8];
    }
    pRow[nBytes - 1] &= LastByteMask(source.nWidth);
}

// Packs one bit per pixel from a predicate over the pixel's bytes.
template <int kBytesPerPixel, class IsInk>
void PackRow(const BandSource& source, int y, BYTE* pRow, IsInk isInk) {
    const BYTE* p = SourceRow(source, y);
    const int nWidth = source.nWidth;
    int x = 0;
    for (; x + 8 <= nWidth; x += 8) {
        unsigned bits = 0;
        for (int k = 0; k < 8; ++k, p += kBytesPerPixel) {
            bits = bits << 1 | (isInk(p) ? 1u : 0u);
        }
        *pRow++ = static_cast<BYTE>(bits);
    }
    if (x < nWidth) {
        // Only the pixels of the raster are read; the padding stays white.
        unsigned bits = 0;
        const int nLeft = nWidth - x;
        for (int k = 0; k < nLeft; ++k, p += kBytesPerPixel) {
            bits = bits << 1 | (isInk(p) ? 1u : 0u);
        }
        *pRow = static_cast<BYTE>(bits << (8 - nLeft));
    }
}

// Only pure white with a zero top byte is white; near-white and a nonzero
// top byte are ink.
void BuildFrom32(const BandSource& source, int y, BYTE* pRow) {
    PackRow<4>(source, y, pRow, [](const BYTE* p) { return ReadPixel32(p) != kPureWhite; });
}

// One- and two-byte pixels: any nonzero value is ink.
void BuildFrom8(const BandSource& source, int y, BYTE* pRow) {
    PackRow<1>(source, y, pRow, [](const BYTE* p) { return p[0] != 0; });
}

void BuildFrom16(const BandSource& source, int y, BYTE* pRow) {
    PackRow<2>(source, y, pRow, [](const BYTE* p) { return (p[0] | p[1]) != 0; });
}

// Three-byte pixels, and sizes outside 0 to 4, give white rows.
void BuildWhite(const BandSource& source, int /*y*/, BYTE* pRow) {
    std::memset(pRow, 0, MonoRowBytes(source.nWidth));
}

RowBuilder MonoRowBuilder(int nBytesPerPixel) {
    switch (nBytesPerPixel) {
        case 0: return BuildFromPackedBits;
        case 1: return BuildFrom8;
        case 2: return BuildFrom16;
        case 4: return BuildFrom32;
        default: return BuildWhite;
    }
}

}  // namespace

BandEncoding MonoEncoding(RowMethod method, const BandSource& source) {
    BandEncoding encoding{};
    encoding.method = method;
    encoding.bZeroYOffset = false;  // one-bit rasters send "\e*b3M" alone
    encoding.nRowBytes = MonoRowBytes(source.nWidth);
    encoding.buildRow = MonoRowBuilder(source.nBytesPerPixel);
    encoding.cid = kMonoImageData;
    return encoding;
}

int CRTLRip::EncodeBandMonoRle(DWORD nFlags, RECT band, const RipBandBits* pBits) {
    BandSource source;
    int nRows;
    if (!CheckBand(band, pBits, &source, &nRows)) {
        return 0;
    }
    const RasterFrame frame{m_pOutput, m_bEmbedded, source.nWidth, m_nResolution};
    return SendRasterBand(nFlags, frame, source, nRows, MonoEncoding(RowMethod::kRunLength, source))
               ? 1
               : 0;
}

int CRTLRip::EncodeBandMonoDelta(DWORD nFlags, RECT band, const RipBandBits* pBits) {
    BandSource source;
    int nRows;
    if (!CheckBand(band, pBits, &source, &nRows)) {
        return 0;
    }
    const RasterFrame frame{m_pOutput, m_bEmbedded, source.nWidth, m_nResolution};
    return SendRasterBand(nFlags, frame, source, nRows, MonoEncoding(RowMethod::kDeltaRow, source))
               ? 1
               : 0;
}
