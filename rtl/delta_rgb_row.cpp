// Method 3 for direct RGB rows read straight from 4-byte pixels: the
// commands EncodeRow gives for the rows' red, green and blue bytes, without
// building those rows. Most pixels of a page equal the pixel above them:
// they are compared four at a time and only counted.
#include <cstdint>
#include <cstring>

#include "rtl/byte_scan.h"
#include "rtl/delta_row_encoder.h"

namespace {

constexpr size_t kMaxReplacement = 8;
constexpr size_t kOffsetEscape = 31;
constexpr size_t kExtensionStep = 255;

// The commands of a row as its bytes come, as the delta-row method defines
// them.
class Commands {
public:
    explicit Commands(BYTE* pOut) : m_pOut(pOut) {}

    void Equal(size_t nBytes) {
        if (nBytes == 0) return;
        if (m_nPending > 0) {
            // An equal byte ends the replacements collected so far.
            Put();
            m_nOffset = nBytes;
            return;
        }
        m_nOffset += nBytes;
    }
    void Different(BYTE value) {
        m_pending[m_nPending++] = value;
        if (m_nPending == kMaxReplacement) {
            Put();
            m_nOffset = 0;
        }
    }
    // The row's end; lastByte is its last byte.
    BYTE* End(BYTE lastByte) {
        if (m_nPending > 0) {
            Put();
        } else if (m_nOffset > 0) {
            // An unchanged tail is closed by replacing the last byte with itself.
            m_nOffset -= 1;
            m_pending[m_nPending++] = lastByte;
            Put();
        }
        return m_pOut;
    }

private:
    void Put() {
        const BYTE count = static_cast<BYTE>((m_nPending - 1) << 5);
        if (m_nOffset < kOffsetEscape) {
            *m_pOut++ = static_cast<BYTE>(count | m_nOffset);
        } else {
            *m_pOut++ = static_cast<BYTE>(count | kOffsetEscape);
            size_t nRest = m_nOffset - kOffsetEscape;
            for (; nRest >= kExtensionStep; nRest -= kExtensionStep) {
                *m_pOut++ = static_cast<BYTE>(kExtensionStep);
            }
            *m_pOut++ = static_cast<BYTE>(nRest);
        }
        std::memcpy(m_pOut, m_pending, m_nPending);
        m_pOut += m_nPending;
        m_nPending = 0;
    }

    BYTE* m_pOut;
    size_t m_nOffset = 0;
    BYTE m_pending[kMaxReplacement];
    size_t m_nPending = 0;
};

// Whether sixteen pixels have the same red, green and blue.
bool Equal16Pixels(const BYTE* pRow, const BYTE* pSeed) {
#ifdef HPGL2_ROW_SCAN_SSE2
    __m128i different = _mm_setzero_si128();
    for (int k = 0; k < 64; k += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pRow + k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pSeed + k));
        different = _mm_or_si128(different, _mm_xor_si128(a, b));
    }
    different = _mm_and_si128(different, _mm_set1_epi32(0x00FFFFFF));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(different, _mm_setzero_si128())) == 0xFFFF;
#else
    constexpr uint64_t kColours = 0x00FFFFFF00FFFFFFull;
    uint64_t different = 0;
    for (size_t k = 0; k < 64; k += 8) {
        uint64_t a, b;
        std::memcpy(&a, pRow + k, 8);
        std::memcpy(&b, pSeed + k, 8);
        different |= (a ^ b) & kColours;
    }
    return different == 0;
#endif
}

// The first pixel at or after i whose red, green or blue differs from the
// seed's (the fourth byte does not count), or n.
size_t FirstDifferentPixel(const BYTE* pRow, const BYTE* pSeed, size_t i, size_t n) {
    // Sixteen pixels at a time while they all match, as most do.
    for (; n - i >= 16; i += 16) {
        if (!Equal16Pixels(pRow + 4 * i, pSeed + 4 * i)) break;
    }
    constexpr unsigned kFourthBytes = 0x8888;
    for (; n - i >= 4; i += 4) {
        const unsigned equal = EqualMask16(pRow + 4 * i, pSeed + 4 * i) | kFourthBytes;
        if (equal != 0xFFFF) {
            return i + LowestBit(~equal & 0xFFFFu) / 4;
        }
    }
    for (; i < n; ++i) {
        if (std::memcmp(pRow + 4 * i, pSeed + 4 * i, 3) != 0) {
            return i;
        }
    }
    return n;
}

}  // namespace

void DeltaRowEncoder::EncodeRgbPixels(const BYTE* pRow, const BYTE* pSeed, size_t nPixels) {
    if (nPixels == 0) {
        return;
    }
    EnsureCapacity(m_nLength + WorstCaseLength(3 * nPixels) + kMaxReplacement);
    Commands commands(m_pData.get() + m_nLength);
    for (size_t i = 0; i < nPixels;) {
        const size_t next = FirstDifferentPixel(pRow, pSeed, i, nPixels);
        commands.Equal(3 * (next - i));
        i = next;
        if (i == nPixels) {
            break;
        }
        // 0x00RRGGBB is blue, green, red in memory; the row takes red first.
        for (const int k : {2, 1, 0}) {
            const BYTE value = pRow[4 * i + k];
            if (value == pSeed[4 * i + k]) {
                commands.Equal(1);
            } else {
                commands.Different(value);
            }
        }
        ++i;
    }
    BYTE* const pEnd = commands.End(pRow[4 * (nPixels - 1)]);
    m_nLength = static_cast<size_t>(pEnd - m_pData.get());
}
