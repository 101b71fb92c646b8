// Decoders of HP RTL raster rows (PCL compression methods 1 and 3). Strict
// on purpose: anything a plotter would have to guess at is an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pcl {

using Bytes = std::vector<uint8_t>;

// Decodes one method-1 row, pairs of (repetitions - 1, byte), into *pRow.
// False for a dangling count byte.
bool DecodeRunLengthRow(const uint8_t* pData, size_t nLength, Bytes* pRow);

// Applies one method-3 row to *pRow, which holds the seed on entry and keeps
// its length. False when a command is cut short or replaces bytes past the
// row's end.
bool ApplyDeltaRow(const uint8_t* pData, size_t nLength, Bytes* pRow);
// The same on a row of nRowBytes bytes in place.
bool ApplyDeltaRow(const uint8_t* pData, size_t nLength, uint8_t* pRow, size_t nRowBytes);

}  // namespace pcl
