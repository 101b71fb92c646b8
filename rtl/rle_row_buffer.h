// PCL / HP RTL raster compression method 1 (run-length): every run of equal
// bytes goes out as pairs of (repetitions - 1, byte), at most 255 repetitions
// a pair. The buffer codes while it is filled, so a run may span several
// Append calls of one row (the band encoders feed a pixel's bytes at a time).
#pragma once

#include <cstddef>
#include <memory>
#include <windows.h>

class RleRowBuffer {
public:
    // An empty buffer; with nInitialCapacity >= 1 the storage is allocated up
    // front (exactly that many bytes).
    explicit RleRowBuffer(size_t nInitialCapacity = 0);
    RleRowBuffer(const RleRowBuffer&) = delete;
    RleRowBuffer& operator=(const RleRowBuffer&) = delete;

    // Makes room for the coding of one row of nRowBytes source bytes, so that
    // no row of that size reallocates. False (nothing changed) when the coded
    // row could not be sent as one transfer or the memory is not there.
    bool ReserveRow(size_t nRowBytes);

    // Codes nCount bytes, in order.
    void Append(const BYTE* pBytes, size_t nCount);
    // Closes the open run, writing its pair.
    void Flush();

    const BYTE* Data() const { return m_pData.get(); }
    size_t Length() const { return m_nLength; }
    size_t Capacity() const { return m_nCapacity; }
    // Starts the next row: the coded bytes are dropped, the storage stays.
    void Reset() {
        m_nLength = 0;
        m_nRunCount = 0;
    }

    // A row of n bytes codes into at most 2n bytes: the worst case is a pair
    // for every byte, when no byte equals its neighbour.
    static constexpr size_t WorstCaseLength(size_t nRowBytes) { return 2 * nRowBytes; }

private:
    void EnsureCapacity(size_t nNeeded);

    std::unique_ptr<BYTE[]> m_pData;
    size_t m_nCapacity = 0;
    size_t m_nLength = 0;
    BYTE m_nRunValue = 0;
    int m_nRunCount = 0;  // bytes of the open run; 0 when no run is open
};
