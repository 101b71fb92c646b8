// One bit per pixel: eight pixels to a row byte, the leftmost in the most
// significant bit, 1 for ink.
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Packs nPixels pixels from p, one bit each, from a predicate over the
// pixel's bytes.
template <int kBytesPerPixel, class IsInk>
void PackPixels(const BYTE* p, int nPixels, BYTE* pRow, IsInk isInk) {
    int x = 0;
    for (; x + 8 <= nPixels; x += 8) {
        unsigned bits = 0;
        for (int k = 0; k < 8; ++k, p += kBytesPerPixel) {
            bits = bits << 1 | (isInk(p) ? 1u : 0u);
        }
        *pRow++ = static_cast<BYTE>(bits);
    }
    if (x < nPixels) {
        // Only the pixels of the raster are read; the padding stays white.
        unsigned bits = 0;
        const int nLeft = nPixels - x;
        for (int k = 0; k < nLeft; ++k, p += kBytesPerPixel) {
            bits = bits << 1 | (isInk(p) ? 1u : 0u);
        }
        *pRow = static_cast<BYTE>(bits << (8 - nLeft));
    }
}

template <int kBytesPerPixel, class IsInk>
void PackRow(const BandSource& source, int y, BYTE* pRow, IsInk isInk) {
    PackPixels<kBytesPerPixel>(SourceRow(source, y), source.nWidth, pRow, isInk);
}

// Only pure white with a zero top byte is white; near-white and a nonzero
// top byte are ink.
constexpr auto IsInk32 = [](const BYTE* p) { return ReadPixel32(p) != kPureWhite; };

#if defined(__SSE2__)
// The byte with its bits in the opposite order.
constexpr BYTE Reversed(unsigned v) {
    unsigned r = 0;
    for (int k = 0; k < 8; ++k) r |= ((v >> k) & 1u) << (7 - k);
    return static_cast<BYTE>(r);
}

struct ReversedBytes {
    BYTE table[256];
    constexpr ReversedBytes() : table() {
        for (unsigned v = 0; v < 256; ++v) table[v] = Reversed(v);
    }
};
constexpr ReversedBytes kReversed;

// Sixteen pixels at a time: each compared whole with white, the sixteen
// answers narrowed to one byte each and gathered into a mask whose bit k is
// pixel k; the row wants pixel 0 in the high bit of its byte.
void BuildFrom32(const BandSource& source, int y, BYTE* pRow) {
    static_assert(std::endian::native == std::endian::little);
    const BYTE* p = SourceRow(source, y);
    const int nBlocks = source.nWidth / 16;
    const __m128i white = _mm_set1_epi32(static_cast<int>(kPureWhite));
    for (int i = 0; i < nBlocks; ++i, p += 64, pRow += 2) {
        const auto* q = reinterpret_cast<const __m128i*>(p);
        const __m128i w0 = _mm_cmpeq_epi32(_mm_loadu_si128(q), white);
        const __m128i w1 = _mm_cmpeq_epi32(_mm_loadu_si128(q + 1), white);
        const __m128i w2 = _mm_cmpeq_epi32(_mm_loadu_si128(q + 2), white);
        const __m128i w3 = _mm_cmpeq_epi32(_mm_loadu_si128(q + 3), white);
        const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(w0, w1), _mm_packs_epi32(w2, w3));
        const unsigned ink = ~static_cast<unsigned>(_mm_movemask_epi8(bytes));
        pRow[0] = kReversed.table[ink & 0xFF];
        pRow[1] = kReversed.table[(ink >> 8) & 0xFF];
    }
    PackPixels<4>(p, source.nWidth - 16 * nBlocks, pRow, IsInk32);
}
#else
void BuildFrom32(const BandSource& source, int y, BYTE* pRow) {
    PackRow<4>(source, y, pRow, IsInk32);
}
#endif

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
