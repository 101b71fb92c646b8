// PCL / HP RTL raster compression method 3 (delta row): a row is sent as the
// replacements that turn the previous row (the seed) into it. Each command is
// a byte (count - 1) << 5 | offset for 1 to 8 replacement bytes, offset
// extension bytes when the offset field is 31, then the replacement bytes;
// the offset counts the unchanged bytes since the previous replacement.
#pragma once

#include <cstddef>
#include <memory>
#include <windows.h>

class DeltaRowEncoder {
public:
    // An empty encoder; with nCapacityHint >= 1 the storage for the commands
    // is allocated up front (the hint plus 1024 bytes).
    explicit DeltaRowEncoder(size_t nCapacityHint = 0);
    DeltaRowEncoder(const DeltaRowEncoder&) = delete;
    DeltaRowEncoder& operator=(const DeltaRowEncoder&) = delete;

    // Makes room for the commands of one row of nRowBytes bytes, so that no
    // row of that size reallocates. False (nothing changed) when the coded
    // row could not be sent as one transfer or the memory is not there.
    bool ReserveRow(size_t nRowBytes);

    // The row the next row is compared with. The row is not copied: it must
    // stay intact until the next row has been encoded. A null pRow selects an
    // all-zero row of nLength bytes owned by the encoder; false when that row
    // cannot be allocated.
    bool SetSeed(const BYTE* pRow, size_t nLength);

    // Appends the commands that turn the seed into pRow, then makes pRow the
    // seed. Bytes beyond the seed's length are compared with 0, as a plotter
    // extends a shorter seed row with zeros.
    void EncodeRow(const BYTE* pRow, size_t nLength);

    // Appends the commands that turn the RGB row of the 4-byte pixels
    // (0x00RRGGBB, little-endian) at pSeed into that of the pixels at pRow:
    // what EncodeRow gives for the two rows' red, green and blue bytes. The
    // seed is not kept.
    void EncodeRgbPixels(const BYTE* pRow, const BYTE* pSeed, size_t nPixels);

    const BYTE* Data() const { return m_pData.get(); }
    size_t Length() const { return m_nLength; }
    size_t Capacity() const { return m_nCapacity; }
    // Starts the next row's commands; the storage and the seed stay.
    void Reset() { m_nLength = 0; }

    // A row of n bytes codes into at most 2n bytes. A command for k bytes at
    // offset d costs 1 + k + (extension bytes, at most d) and covers k + d
    // bytes of the row; the closing command for an unchanged tail of t bytes
    // costs at most 2t.
    static constexpr size_t WorstCaseLength(size_t nRowBytes) { return 2 * nRowBytes; }

private:
    void EnsureCapacity(size_t nNeeded);

    const BYTE* m_pSeed = nullptr;
    size_t m_nSeedLength = 0;
    std::unique_ptr<BYTE[]> m_pZeroRow;
    size_t m_nZeroRowLength = 0;
    std::unique_ptr<BYTE[]> m_pData;
    size_t m_nCapacity = 0;
    size_t m_nLength = 0;
};
