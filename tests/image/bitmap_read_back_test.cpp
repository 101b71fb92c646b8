// Bitmaps of every depth and compression drawn through the real driver and
// read back by the test tree's own plot reader: each must show its four
// quadrants upright and in their colours where the host put it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/dib_builder.h"
#include "support/job_harness.h"
#include "reader/plot_reader.h"
#include "win32/gdi32/dib.h"

namespace {

// Top left red, top right green, bottom left blue, bottom right black.
constexpr uint32_t kQuadrants[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000};

int QuadrantOf(int x, int y) {
    return (y >= 2 ? 2 : 0) + (x >= 2 ? 1 : 0);
}

std::vector<int> Indexes() {
    std::vector<int> out;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) out.push_back(QuadrantOf(x, y));
    return out;
}

std::vector<uint32_t> Colours() {
    std::vector<uint32_t> out;
    for (int i : Indexes()) out.push_back(0xFF000000 | kQuadrants[i]);
    return out;
}

const std::vector<uint32_t> kPalette(kQuadrants, kQuadrants + 4);

// 16-bit pixels through masks, top row first, bottom-up storage.
TestDib SixteenBit(bool bitfields) {
    BITMAPINFOHEADER h = TestHeader(4, 4, 16, bitfields ? BI_BITFIELDS : BI_RGB);
    const uint16_t rgb555[4] = {0x7C00, 0x03E0, 0x001F, 0};
    const uint16_t rgb565[4] = {0xF800, 0x07E0, 0x001F, 0};
    TestDib dib;
    dib.info.resize(sizeof h + (bitfields ? 12 : 0));
    std::memcpy(dib.info.data(), &h, sizeof h);
    if (bitfields) {
        const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(dib.info.data() + sizeof h, masks, sizeof masks);
    }
    dib.bits.resize(8 * 4);
    const std::vector<int> idx = Indexes();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint16_t v = (bitfields ? rgb565 : rgb555)[idx[size_t(y) * 4 + x]];
            std::memcpy(&dib.bits[size_t(3 - y) * 8 + 2 * x], &v, 2);
        }
    return dib;
}

TestDib RunLength(bool four) {
    TestDib dib = IndexedDib(4, 4, four ? 4 : 8, kPalette, Indexes());
    dib.Header().biCompression = four ? BI_RLE4 : BI_RLE8;
    dib.bits.clear();
    // Rows from the bottom: two runs of two pixels each, then end of line.
    for (int y = 3; y >= 0; --y) {
        const int left = QuadrantOf(0, y), right = QuadrantOf(3, y);
        if (four)
            dib.bits.insert(dib.bits.end(), {2, uint8_t(left * 17), 2, uint8_t(right * 17), 0, 0});
        else
            dib.bits.insert(dib.bits.end(), {2, uint8_t(left), 2, uint8_t(right), 0, 0});
    }
    dib.bits.insert(dib.bits.end(), {0, 1});
    dib.Header().biSizeImage = static_cast<DWORD>(dib.bits.size());
    return dib;
}

TestDib ThirtyTwoBitfields() {
    TestDib dib = DirectDib(4, 4, 32, Colours());
    dib.Header().biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    dib.info.resize(40 + 12);
    std::memcpy(dib.info.data() + 40, masks, sizeof masks);
    return dib;
}

TEST(BitmapReadBack, EveryDepthAndCompressionPlotsUprightInItsColours) {
    struct Case {
        const char* name;
        TestDib dib;
    };
    std::vector<Case> cases = {
        {"1 bit", IndexedDib(4, 4, 1, {0xFF0000, 0x0000FF},
                             {0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0})},
        {"4 bits", IndexedDib(4, 4, 4, kPalette, Indexes())},
        {"8 bits", IndexedDib(4, 4, 8, kPalette, Indexes())},
        {"8 bits top-down", IndexedDib(4, -4, 8, kPalette, Indexes())},
        {"RLE4", RunLength(true)},
        {"RLE8", RunLength(false)},
        {"16 bits 5-5-5", SixteenBit(false)},
        {"16 bits 5-6-5 bitfields", SixteenBit(true)},
        {"24 bits", DirectDib(4, 4, 24, Colours())},
        {"24 bits top-down", DirectDib(4, -4, 24, Colours())},
        {"32 bits", DirectDib(4, 4, 32, Colours())},
        {"32 bits bitfields", ThirtyTwoBitfields()},
    };
    JobHarness h;
    ASSERT_EQ(h.Start(), 1);
    for (size_t i = 0; i < cases.size(); ++i) {
        // 4 x 4 pixels into 40 x 40: rendered at the destination size.
        ASSERT_EQ(h.Table().OnDrawBitmap(&h.host, 60 * static_cast<int>(i), 100, 40, 40, 0, 0, 4, 4,
                                         cases[i].dib.bits.data(), cases[i].dib.Info(),
                                         DIB_RGB_COLORS, SRCCOPY),
                  1)
            << cases[i].name;
    }
    h.End();
    const plot::PlotRendering plot = plot::RenderPlot(h.channel.Bytes());
    ASSERT_TRUE(plot.ok) << plot.error;
    EXPECT_EQ(plot.summary.rasters, cases.size());
    const plot::Image page = plot::FirstPage(plot);
    for (size_t i = 0; i < cases.size(); ++i) {
        const int x0 = 60 * static_cast<int>(i);
        // The one-bit case has only red and blue, in a checker of quadrants.
        const bool mono = i == 0;
        for (int q = 0; q < 4; ++q) {
            const int x = x0 + (q & 1 ? 30 : 10), y = 100 + (q & 2 ? 30 : 10);
            const uint32_t expected =
                mono ? ((q == 0 || q == 3) ? 0xFF0000u : 0x0000FFu) : kQuadrants[q];
            EXPECT_EQ(page.At(x, y) & 0xFFFFFF, expected) << cases[i].name << ", quadrant " << q;
        }
    }
}

}  // namespace
