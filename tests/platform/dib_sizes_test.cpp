#include <gtest/gtest.h>

#include <climits>

#include "pxrdriver/dib_sizes.h"
#include "support/dib_builder.h"

namespace {

TEST(DibSizes, PixelBytesAreWholeDwordRowsAndZeroWhenTheyCannotBe) {
    struct Case {
        LONG width, height;
        WORD bits;
        size_t bytes;
    } cases[] = {
        {47, 33, 1, 8 * 33},      // 47 bits -> 2 DWORDs a row
        {47, -33, 24, 144 * 33},  // 141 bytes -> 144, top-down alike
        {1, 1, 32, 4},
        {3, 2, 4, 4 * 2},
        {0, 5, 8, 0},  // no pixels
        {5, 0, 8, 0},
        {5, 5, 0, 0},  // no bit count (JPEG, PNG)
        {5, 5, 33, 0},
        // Rows of (2^31 - 1) x 4 bytes: the largest sizes stay below 2^64
        // (and give 0 where size_t has 32 bits).
        {INT_MAX, INT_MAX, 32, sizeof(size_t) == 8 ? size_t{8589934588} * INT_MAX : 0},
        {INT_MAX, INT_MIN, 32, sizeof(size_t) == 8 ? size_t{8589934588} << 31 : 0},
    };
    for (const Case& c : cases) {
        const BITMAPINFOHEADER h = TestHeader(c.width, c.height, c.bits, BI_RGB);
        EXPECT_EQ(HT_GetDIBPixelSize(h), c.bytes) << c.width << "x" << c.height << "@" << c.bits;
    }
}

TEST(DibSizes, ColourCountsStayWithinWhatABitmapIndexes) {
    struct Case {
        WORD bits;
        DWORD compression;
        DWORD clrUsed;
        DWORD count;
    } cases[] = {
        {1, BI_RGB, 0, 2},        {4, BI_RGB, 0, 16},
        {8, BI_RGB, 0, 256},      {8, BI_RGB, 10, 10},
        {8, BI_RGB, 257, 256},    {4, BI_RGB, 0xFFFFFFFF, 16},
        {16, BI_BITFIELDS, 0, 3}, {24, BI_RGB, 0, 0},
        {24, BI_RGB, 12, 12},     {32, BI_RGB, 0xFFFFFFFF, 256},
    };
    for (const Case& c : cases) {
        BITMAPINFOHEADER h = TestHeader(4, 4, c.bits, c.compression);
        h.biClrUsed = c.clrUsed;
        EXPECT_EQ(HT_GetDIBColorCount(h), c.count) << c.bits << " bits, " << c.clrUsed;
    }
}

}  // namespace
