#include "rtl/rle_row_buffer.h"

#include "rtl/byte_scan.h"
#include "rtl/row_storage.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// A pair's count byte holds repetitions - 1, so a run closes at 255 bytes;
// the next equal byte opens a new run.
constexpr int kLongestRun = 255;

// The first byte in [p, pLimit) that is not value, or pLimit.
const BYTE* EndOfValue(const BYTE* p, const BYTE* pLimit, BYTE value) {
    while (pLimit - p >= 16) {
        const unsigned equal = ValueMask16(p, value);
        if (equal != 0xFFFF) {
            return p + LowestBit(~equal & 0xFFFFu);
        }
        p += 16;
    }
    while (p < pLimit && *p == value) {
        ++p;
    }
    return p;
}

}  // namespace

RleRowBuffer::RleRowBuffer(size_t nInitialCapacity) {
    if (nInitialCapacity >= 1) {
        m_pData.reset(new BYTE[nInitialCapacity]);
        m_nCapacity = nInitialCapacity;
    }
}

bool RleRowBuffer::ReserveRow(size_t nRowBytes) {
    return RowFitsOneTransfer(nRowBytes) &&
           ReserveRowStorage(&m_pData, m_nLength, &m_nCapacity, WorstCaseLength(nRowBytes));
}

void RleRowBuffer::EnsureCapacity(size_t nNeeded) {
    GrowRowStorage(&m_pData, m_nLength, &m_nCapacity, nNeeded, 64);
}

void RleRowBuffer::Append(const BYTE* pBytes, size_t nCount) {
    if (nCount == 0) {
        return;
    }
    // Every pair written here is closed by one of the nCount input bytes (a
    // differing byte or the 255th equal one), so 2 * nCount bytes of room
    // cover the whole call and the loops need no further checks.
    EnsureCapacity(m_nLength + WorstCaseLength(nCount));
    BYTE* pOut = m_pData.get() + m_nLength;
    const BYTE* p = pBytes;
    const BYTE* const pEnd = pBytes + nCount;

    // The run the previous call left open goes on with equal bytes.
    if (m_nRunCount > 0) {
        const BYTE value = m_nRunValue;
        const size_t nRoom = static_cast<size_t>(kLongestRun - m_nRunCount);
        const BYTE* const pLimit = p + std::min(nRoom, nCount);
        p = EndOfValue(p, pLimit, value);
        const int nRun = m_nRunCount + static_cast<int>(p - pBytes);
        if (nRun < kLongestRun && p == pEnd) {
            m_nRunCount = nRun;
            m_nLength = static_cast<size_t>(pOut - m_pData.get());
            return;
        }
        *pOut++ = static_cast<BYTE>(nRun - 1);
        *pOut++ = value;
        m_nRunCount = 0;
    }

    // From here on p always starts a run.
    while (p < pEnd) {
        // Bytes that differ from the next byte are runs of one, a pair
        // (0, byte) each: sixteen at a time while they last (the sixteenth
        // needs the seventeenth to compare with).
        while (pEnd - p >= 17) {
            const unsigned equalNext = EqualMask16(p, p + 1);
            if (equalNext == 0) {
                PutSingleBytePairs16(p, pOut);
                p += 16;
                pOut += 32;
                continue;
            }
            for (const BYTE* const pRunStart = p + LowestBit(equalNext); p < pRunStart; ++p) {
                *pOut++ = 0;
                *pOut++ = *p;
            }
            break;
        }
        const BYTE value = *p;
        const BYTE* const pLimit =
            p + std::min(static_cast<size_t>(kLongestRun), static_cast<size_t>(pEnd - p));
        const BYTE* const q = EndOfValue(p + 1, pLimit, value);
        const size_t nRun = static_cast<size_t>(q - p);
        if (q == pEnd && nRun < static_cast<size_t>(kLongestRun)) {
            // The row may go on in the next call: keep the run open.
            m_nRunCount = static_cast<int>(nRun);
            m_nRunValue = value;
            break;
        }
        *pOut++ = static_cast<BYTE>(nRun - 1);
        *pOut++ = value;
        p = q;
    }
    m_nLength = static_cast<size_t>(pOut - m_pData.get());
}

void RleRowBuffer::Flush() {
    if (m_nRunCount == 0) {
        return;
    }
    EnsureCapacity(m_nLength + 2);
    m_pData[m_nLength++] = static_cast<BYTE>(m_nRunCount - 1);
    m_pData[m_nLength++] = m_nRunValue;
    m_nRunCount = 0;
}
