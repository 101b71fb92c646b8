// Direct RGB: three bytes per pixel, red, green, blue. Also the encoder of
// every non-negative colour format that has no encoder of its own.
#include <cstring>

#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

#include "rtl/band_encodings.h"
#include "rtl/rtl_rip.h"
#include "rtl/source_pixels.h"

namespace {

// RGB space, direct by pixel, 3 bits per index, 8 bits per primary.
constexpr ConfigureImageData kRgbImageData = {{0, 3, 3, 8, 8, 8}};

// 0x00RRGGBB is blue, green, red in memory; the plotter takes red first.
void BuildFrom32Portable(const BYTE* __restrict p, size_t n, BYTE* __restrict out) {
    for (size_t x = 0; x < n; ++x) {
        out[3 * x] = p[4 * x + 2];
        out[3 * x + 1] = p[4 * x + 1];
        out[3 * x + 2] = p[4 * x];
    }
}

#if defined(__x86_64__)
// A whole page passes through here: with SSSE3 one shuffle turns four
// pixels into their twelve bytes.
__attribute__((target("ssse3"))) void BuildFrom32Ssse3(const BYTE* p, size_t n, BYTE* out) {
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    size_t x = 0;
    // Sixteen bytes are stored for twelve: the last group of a row goes
    // through the portable loop, so nothing is written past the row.
    for (; x + 8 <= n; x += 4, p += 16, out += 12) {
        const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(px, order));
    }
    BuildFrom32Portable(p, n - x, out);
}
#endif

void BuildFrom32(const BandSource& source, int y, BYTE* pRow) {
#if defined(__x86_64__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    if (ssse3)
        return BuildFrom32Ssse3(SourceRow(source, y), static_cast<size_t>(source.nWidth), pRow);
#endif
    BuildFrom32Portable(SourceRow(source, y), static_cast<size_t>(source.nWidth), pRow);
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

}  // namespace

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
            encoding.bRgbOfPixels = true;
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

int CRTLRip::EncodeBandRgb(DWORD nFlags, RECT band, const RipBandBits* pBits) {
    BandSource source;
    int nRows;
    if (!CheckBand(band, pBits, &source, &nRows)) {
        return 0;
    }
    const RasterFrame frame{m_pOutput, m_bEmbedded, source.nWidth, m_nResolution};
    const BandEncoding encoding = RgbEncoding(RowMethodFor(m_nCompression), source);
    return SendRasterBand(nFlags, frame, source, nRows, encoding) ? 1 : 0;
}
