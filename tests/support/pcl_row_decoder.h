// Plain reference coders of HP RTL raster rows to hold the driver's coders
// against, and a decoder of the rows of a whole raster stream; with the plot
// reader's row decoders, tests and the fuzz target check the row coders by
// round trip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reader/pcl_rows.h"

namespace pcl {

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
