#include "rtl/delta_row_encoder.h"

#include "rtl/byte_scan.h"
#include "rtl/row_storage.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr size_t kMaxReplacement = 8;  // the three count bits hold 0..7
constexpr size_t kOffsetEscape = 31;   // offset field value that announces extension bytes
constexpr size_t kExtensionStep = 255;
// Replacement bytes are copied eight at a time where the row has eight bytes
// left; the bytes past the command are overwritten by the next one or lie
// past the coded length, so the storage keeps that much room beyond it.
constexpr size_t kCopySlack = kMaxReplacement;

// First index at or after i where pRow and pSeed differ, or n.
size_t EndOfEqual(const BYTE* pRow, const BYTE* pSeed, size_t i, size_t n) {
    while (n - i >= 16) {
        const unsigned equal = EqualMask16(pRow + i, pSeed + i);
        if (equal != 0xFFFF) {
            return i + LowestBit(~equal & 0xFFFFu);
        }
        i += 16;
    }
    while (i < n && pRow[i] == pSeed[i]) {
        ++i;
    }
    return i;
}

// First index at or after i where pRow and pSeed are equal, or n.
size_t EndOfDifferent(const BYTE* pRow, const BYTE* pSeed, size_t i, size_t n) {
    while (n - i >= 16) {
        const unsigned equal = EqualMask16(pRow + i, pSeed + i);
        if (equal != 0) {
            return i + LowestBit(equal);
        }
        i += 16;
    }
    while (i < n && pRow[i] != pSeed[i]) {
        ++i;
    }
    return i;
}

// Writes one command: nCount (1..8) replacement bytes at nOffset unchanged
// bytes; returns the end of what it wrote.
BYTE* PutCommand(BYTE* pOut, const BYTE* pBytes, size_t nCount, size_t nOffset,
                 const BYTE* pRowEnd) {
    const BYTE nCountBits = static_cast<BYTE>((nCount - 1) << 5);
    if (nOffset < kOffsetEscape) {
        *pOut++ = static_cast<BYTE>(nCountBits | nOffset);
    } else {
        *pOut++ = static_cast<BYTE>(nCountBits | kOffsetEscape);
        size_t nRest = nOffset - kOffsetEscape;
        while (nRest >= kExtensionStep) {
            *pOut++ = static_cast<BYTE>(kExtensionStep);
            nRest -= kExtensionStep;
        }
        // The last extension byte is below 255 and may be 0.
        *pOut++ = static_cast<BYTE>(nRest);
    }
    if (static_cast<size_t>(pRowEnd - pBytes) >= kMaxReplacement) {
        std::memcpy(pOut, pBytes, kMaxReplacement);
    } else {
        std::memcpy(pOut, pBytes, nCount);
    }
    return pOut + nCount;
}

// A stretch of differing bytes [nFirst, nEnd) in commands of eight, the
// first at nOffset, the others at offset 0; a shorter last command ends it.
BYTE* PutDifferentStretch(BYTE* pOut, const BYTE* pRow, size_t nFirst, size_t nEnd, size_t nOffset,
                          const BYTE* pRowEnd) {
    while (nFirst < nEnd) {
        const size_t nCount = std::min(kMaxReplacement, nEnd - nFirst);
        pOut = PutCommand(pOut, pRow + nFirst, nCount, nOffset, pRowEnd);
        nOffset = 0;
        nFirst += nCount;
    }
    return pOut;
}

// The commands of a row: each one skips the unchanged bytes before it (its
// offset) and replaces the up to eight differing bytes after them. A row that
// ends in unchanged bytes is closed by a command that replaces the row's last
// byte with itself, so that the plotter sees the row reach its end.
BYTE* EncodeAgainstSeed(const BYTE* pRow, const BYTE* pSeed, size_t n, BYTE* pOut) {
    const BYTE* const pRowEnd = pRow + n;
    size_t i = 0;
    while (i < n) {
        if (n - i >= 32) {
            // Short stretches, as in photographs: offset and count come from
            // one 32-byte equality mask instead of scanning loops.
            const uint32_t equal =
                EqualMask16(pRow + i, pSeed + i) | EqualMask16(pRow + i + 16, pSeed + i + 16) << 16;
            const size_t nOffset = static_cast<size_t>(std::countr_one(equal));
            if (nOffset <= 24) {
                // offset + 8 <= 32: the mask covers the replacement bytes, the
                // offset fits the command byte and the row has 8 bytes to copy.
                const size_t nCount =
                    static_cast<size_t>(std::countr_zero((equal >> nOffset) | 0x100u));
                // A stretch that differs to the end of the mask goes to the
                // long-stretch path below, whose commands of eight do not
                // wait on a mask each.
                if ((equal >> nOffset) != 0) {
                    *pOut = static_cast<BYTE>((nCount - 1) << 5 | nOffset);
                    std::memcpy(pOut + 1, pRow + i + nOffset, kMaxReplacement);
                    pOut += 1 + nCount;
                    i += nOffset + nCount;
                    continue;
                }
            }
        }
        // Long stretches, as in drawings and noise: scanned sixteen bytes at
        // a time, the differing ones sent in commands of eight.
        const size_t nEqualEnd = EndOfEqual(pRow, pSeed, i, n);
        if (nEqualEnd == n) {
            return PutCommand(pOut, pRow + n - 1, 1, n - i - 1, pRowEnd);
        }
        const size_t nDifferentEnd = EndOfDifferent(pRow, pSeed, nEqualEnd, n);
        pOut = PutDifferentStretch(pOut, pRow, nEqualEnd, nDifferentEnd, nEqualEnd - i, pRowEnd);
        i = nDifferentEnd;
    }
    return pOut;
}

// The same commands for a row longer than its seed: the seed's missing
// bytes count as 0. Byte by byte, as the commands are defined; not on the
// band encoders' path, whose rows all have the same length.
BYTE* EncodeAgainstShortSeed(const BYTE* pRow, const BYTE* pSeed, size_t nSeedLength, size_t n,
                             BYTE* pOut) {
    const BYTE* const pRowEnd = pRow + n;
    size_t nOffset = 0;
    size_t nPendingStart = 0;
    size_t nPending = 0;
    for (size_t i = 0; i < n; ++i) {
        const BYTE seed = i < nSeedLength ? pSeed[i] : 0;
        if (pRow[i] == seed) {
            if (nPending > 0) {
                pOut = PutCommand(pOut, pRow + nPendingStart, nPending, nOffset, pRowEnd);
                nPending = 0;
                nOffset = 0;
            }
            ++nOffset;
            continue;
        }
        if (nPending == 0) {
            nPendingStart = i;
        }
        if (++nPending == kMaxReplacement) {
            pOut = PutCommand(pOut, pRow + nPendingStart, nPending, nOffset, pRowEnd);
            nPending = 0;
            nOffset = 0;
        }
    }
    if (nPending > 0) {
        return PutCommand(pOut, pRow + nPendingStart, nPending, nOffset, pRowEnd);
    }
    if (nOffset > 0) {
        return PutCommand(pOut, pRow + n - 1, 1, nOffset - 1, pRowEnd);
    }
    return pOut;
}

}  // namespace

DeltaRowEncoder::DeltaRowEncoder(size_t nCapacityHint) {
    if (nCapacityHint >= 1) {
        m_nCapacity = nCapacityHint + 1024;
        m_pData.reset(new BYTE[m_nCapacity]);
    }
}

bool DeltaRowEncoder::ReserveRow(size_t nRowBytes) {
    return RowFitsOneTransfer(nRowBytes) &&
           ReserveRowStorage(&m_pData, m_nLength, &m_nCapacity,
                             WorstCaseLength(nRowBytes) + kCopySlack);
}

void DeltaRowEncoder::EnsureCapacity(size_t nNeeded) {
    GrowRowStorage(&m_pData, m_nLength, &m_nCapacity, nNeeded, 1024);
}

bool DeltaRowEncoder::SetSeed(const BYTE* pRow, size_t nLength) {
    if (pRow) {
        m_pSeed = pRow;
        m_nSeedLength = nLength;
        return true;
    }
    if (nLength > m_nZeroRowLength) {
        std::unique_ptr<BYTE[]> pZero(new (std::nothrow) BYTE[nLength]());
        if (!pZero) {
            return false;
        }
        m_pZeroRow = std::move(pZero);
        m_nZeroRowLength = nLength;
    }
    m_pSeed = m_pZeroRow.get();
    m_nSeedLength = nLength;
    return true;
}

void DeltaRowEncoder::EncodeRow(const BYTE* pRow, size_t nLength) {
    if (nLength > 0) {
        EnsureCapacity(m_nLength + WorstCaseLength(nLength) + kCopySlack);
        BYTE* const pOut = m_pData.get() + m_nLength;
        BYTE* const pEnd =
            nLength <= m_nSeedLength
                ? EncodeAgainstSeed(pRow, m_pSeed, nLength, pOut)
                : EncodeAgainstShortSeed(pRow, m_pSeed, m_nSeedLength, nLength, pOut);
        m_nLength = static_cast<size_t>(pEnd - m_pData.get());
    }
    m_pSeed = pRow;
    m_nSeedLength = nLength;
}
