// Bands coded ahead of their turn (PrepareBand on the thread that rendered
// them, OnBand writing what was coded): a raster cut into bands of any
// heights, each carrying on from the row above it, is written write for
// write as the same raster in one band per block; what cannot be coded is
// refused before anything is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/rtl_rip.h"
#include "rtl_test_host.h"

namespace {

// A picture with runs, single changes and rows equal to the row above.
std::vector<uint32_t> Picture(int nWidth, int nHeight) {
    std::vector<uint32_t> pixels(static_cast<size_t>(nWidth) * nHeight, 0x00FFFFFF);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            uint32_t& p = pixels[static_cast<size_t>(y) * nWidth + x];
            if ((x + 2 * y) % 11 < 3) p = 0x00102030u * static_cast<uint32_t>(1 + y % 3);
            if (y % 5 == 4) p = pixels[static_cast<size_t>(y - 1) * nWidth + x];
        }
    return pixels;
}

struct Writer {
    RtlTestHost t;
    CRTLRip rip;
    Writer(int nWidth, int nHeight, int nColorFormat, int nCompression)
        : t(nWidth, nHeight), rip(t.Host(), nullptr) {
        rip.m_nColorFormat = nColorFormat;
        rip.m_nCompression = nCompression;
    }
};

// All writes of a raster written as bands of the given heights: each band
// coded by OnBand as a block of its own, or prepared and carried on from
// the row above inside blocks of blockRows.
std::vector<std::string> Chunks(int nColorFormat, int nCompression, int nWidth,
                                const std::vector<uint32_t>& pixels,
                                const std::vector<int>& bandRows, int blockRows, bool prepared) {
    const int nHeight = static_cast<int>(pixels.size()) / nWidth;
    Writer w(nWidth, nHeight, nColorFormat, nCompression);
    const RECT whole{0, 0, nWidth, nHeight};
    int top = 0;
    for (const int rows : bandRows) {
        const RECT band{0, top, nWidth, top + rows};
        const auto first = pixels.begin() + static_cast<ptrdiff_t>(top) * nWidth;
        TestBand bits = TestBand::From32(
            std::vector<uint32_t>(first, first + static_cast<ptrdiff_t>(rows) * nWidth), nWidth,
            rows);
        if (!prepared) {
            EXPECT_EQ(w.rip.OnBand(nullptr, &whole, &band, &bits.bits), 1);
        } else {
            const bool continues = top % blockRows != 0;
            TestBand above =
                TestBand::From32(continues ? std::vector<uint32_t>(first - nWidth, first)
                                           : std::vector<uint32_t>(static_cast<size_t>(nWidth)),
                                 nWidth, 1);
            RipBandWrites writes;
            const size_t before = w.t.channel.chunks.size();
            EXPECT_EQ(w.rip.PrepareBand(&whole, &band, &bits.bits,
                                        continues ? above.bits.pBits : nullptr, &writes),
                      1);
            EXPECT_EQ(w.t.channel.chunks.size(), before) << "preparing writes nothing";
            EXPECT_EQ(w.rip.OnBand(&writes, &whole, &band, &bits.bits), 1);
        }
        top += rows;
    }
    EXPECT_EQ(w.t.channel.closes, 1);
    return w.t.channel.chunks;
}

TEST(PreparedBands, BandsCarriedOnWithinABlockAreWrittenAsOneBandOfTheBlock) {
    constexpr int kWidth = 37, kHeight = 30, kBlock = 12;
    const std::vector<uint32_t> pixels = Picture(kWidth, kHeight);
    const std::vector<int> blocks{kBlock, kBlock, kHeight - 2 * kBlock};
    const std::vector<std::vector<int>> cuts{
        {12, 12, 6},                   // a band a block
        {1, 1, 10, 5, 7, 6},           // rows of one, and uneven bands
        {7, 5, 7, 5, 3, 3},            // bands that end where the blocks end
        std::vector<int>(kHeight, 1),  // every row a band
    };
    for (const int nColorFormat : {24, -256, 1}) {
        for (const int nCompression : {0, 3, 5}) {
            const std::vector<std::string> expected =
                Chunks(nColorFormat, nCompression, kWidth, pixels, blocks, kBlock, false);
            ASSERT_GT(expected.size(), 10u);
            for (const auto& cut : cuts) {
                std::string what = "format " + std::to_string(nColorFormat) + ", compression " +
                                   std::to_string(nCompression) + ", bands";
                for (int rows : cut) what += " " + std::to_string(rows);
                EXPECT_EQ(Chunks(nColorFormat, nCompression, kWidth, pixels, cut, kBlock, true),
                          expected)
                    << what;
            }
        }
    }
}

TEST(PreparedBands, WhatCannotBeCodedIsRefusedBeforeAnythingIsWritten) {
    constexpr int kWidth = 8, kHeight = 4;
    const std::vector<uint32_t> pixels(kWidth * kHeight, 0);
    TestBand bits = TestBand::From32(pixels, kWidth, kHeight);
    const RECT whole{0, 0, kWidth, kHeight};
    struct Case {
        const char* what;
        RECT band;
        const RipBandBits* bits;
        bool writes;
    };
    const RipBandBits narrow{kWidth - 1, kHeight, 4, bits.bits.pBits};
    const Case cases[] = {
        {"no pixels", {0, 0, kWidth, kHeight}, nullptr, true},
        {"more rows than the buffer", {0, 0, kWidth, kHeight + 1}, &bits.bits, true},
        {"rows narrower than the raster", {0, 0, kWidth, kHeight}, &narrow, true},
        {"an empty band", {0, 2, kWidth, 2}, &bits.bits, true},
        {"no writes to keep them in", {0, 0, kWidth, kHeight}, &bits.bits, false},
    };
    for (const Case& c : cases) {
        Writer w(kWidth, kHeight, 24, 3);
        RipBandWrites writes;
        EXPECT_EQ(w.rip.PrepareBand(&whole, &c.band, c.bits, nullptr, c.writes ? &writes : nullptr),
                  0)
            << c.what;
        EXPECT_TRUE(writes.bytes.empty()) << c.what;
        EXPECT_TRUE(w.t.channel.chunks.empty()) << c.what;
    }
    Writer w(kWidth, kHeight, 24, 3);
    EXPECT_EQ(w.rip.PreparesBands(), 1);
}

}  // namespace
