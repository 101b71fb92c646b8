// The pixels of a DibCanvas as the raster GDI's tests compare them: a
// picture of characters, or probes of single pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/dib_canvas.h"

// One character a pixel, top row first: '#' black, '.' white, '?' anything
// else.
using Picture = std::vector<std::string>;

inline Picture PictureOf(const DibCanvas& c) {
    Picture rows;
    for (int y = 0; y < c.height; ++y) {
        std::string row;
        for (int x = 0; x < c.width; ++x)
            row += c.At(x, y) == 0 ? '#' : c.At(x, y) == 0xFFFFFF ? '.' : '?';
        rows.push_back(row);
    }
    return rows;
}

struct PixelProbe {
    int x, y;
    uint32_t colour;  // 0x00RRGGBB
};

// Each probed pixel within tolerance of its colour in every channel; white
// (nothing drawn) exactly.
inline void ExpectPixels(const DibCanvas& c, const std::vector<PixelProbe>& probes,
                         const std::string& what, int tolerance = 0) {
    for (const PixelProbe& p : probes) {
        const uint32_t got = c.At(p.x, p.y);
        int worst = 0;
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(static_cast<int>(got >> shift & 0xFF) -
                                             static_cast<int>(p.colour >> shift & 0xFF)));
        EXPECT_TRUE(p.colour == 0xFFFFFF ? got == p.colour : worst <= tolerance)
            << what << " at " << p.x << "," << p.y << ": " << std::hex << got << " for "
            << p.colour;
    }
}
