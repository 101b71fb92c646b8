// A small decoder of HP RTL raster rows (PCL compression methods 1 and 3),
// so that tests and the fuzz target can check the row coders by round trip,
// and plain reference coders to check their bytes against. The decoder is
// strict on purpose: anything a plotter would have to guess at is an error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

// The coders written out byte by byte from the definitions of the methods,
// to hold the driver's faster coders against: their output must be equal.
// Method 1: runs of at most 255 equal bytes as (count - 1, byte).
Bytes ReferenceRunLengthRow(const Bytes& row);
// Method 3 against a seed of at least the row's length: commands of up to 8
// replacement bytes; a row ending in unchanged bytes is closed by a command
// that replaces its last byte with itself.
Bytes ReferenceDeltaRow(const Bytes& seed, const Bytes& row);

struct RasterRows {
    std::vector<Bytes> rows;
    std::string error;  // empty when the stream decoded cleanly
};

// Decodes the rows of an RTL stream whose rows have nRowBytes bytes each:
// "\e*b#M" selects the method (1 or 3), "\e*b#Y" clears the seed, every
// "\e*b#W" transfer gives one row; the seed is the previous row, whatever
// method sent it. Other escape sequences and plain text are skipped (the
// data of "\e*v#W" included). A method-1 row that does not decode to exactly
// nRowBytes bytes is an error.
RasterRows DecodeRasterRows(std::string_view stream, size_t nRowBytes);

}  // namespace pcl
