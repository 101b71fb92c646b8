// Decoded rows of one HP RTL raster on their way to the page: the raster
// reader hands them over a slice at a time, so that a raster of any height
// is drawn with no more than a slice of it in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plot {

// What the bits of a row mean: 24-bit RGB, or indices into a palette.
struct RasterPixelFormat {
    bool direct = false;
    int bitsPerIndex = 1;
    std::vector<uint32_t> palette;  // 0xRRGGBB

    // The colour of pixel x of a row, 0xRRGGBB; an index beyond the palette
    // is black.
    uint32_t Colour(const uint8_t* row, int64_t x) const {
        if (direct) {
            const uint8_t* p = row + x * 3;
            return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        }
        const uint64_t bit = uint64_t(x) * uint64_t(bitsPerIndex);
        const int shift = 8 - bitsPerIndex - int(bit % 8);
        const size_t index = (row[bit / 8] >> shift) & ((1u << bitsPerIndex) - 1);
        return index < palette.size() ? palette[index] : 0;
    }
};

// Consecutive rows of a raster that were transferred (rows skipped with
// "\e*b#Y" end a slice and are in none).
struct RasterSlice {
    int64_t firstRow = 0;  // the number of its first row within the raster
    int rows = 0;
    int width = 0;  // pixels a row
    size_t rowBytes = 0;
    std::vector<uint8_t> bytes;  // room for the slice's capacity of rows
    const RasterPixelFormat* format = nullptr;

    const uint8_t* Row(int row) const { return bytes.data() + size_t(row) * rowBytes; }
    uint8_t* Row(int row) { return bytes.data() + size_t(row) * rowBytes; }
    int64_t EndRow() const { return firstRow + rows; }
};

}  // namespace plot
