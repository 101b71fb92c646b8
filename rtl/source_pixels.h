// Reading a band's source pixels (see BandSource). Pixels are read byte by
// byte: rows need not be aligned, and a 4-byte pixel is the little-endian
// value 0x00RRGGBB whatever the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <windows.h>

#include "rtl/band_source.h"

// The first byte of row y (pixel sizes 1 to 4).
inline const BYTE* SourceRow(const BandSource& source, int y) {
    return source.pBits + static_cast<size_t>(y) * static_cast<size_t>(source.nStride) *
                              static_cast<size_t>(source.nBytesPerPixel);
}

// A 4-byte pixel: blue, green, red, then the top byte, in memory.
inline uint32_t ReadPixel32(const BYTE* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline constexpr uint32_t kPureWhite = 0x00FFFFFF;
