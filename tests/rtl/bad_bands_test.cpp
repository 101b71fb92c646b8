// Bands that cannot be read safely are refused before anything of them is
// written: OnBand and EncodeBand return 0 and the stream stays as it was.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "rtl/rtl_rip.h"
#include "rtl_test_host.h"

namespace {

struct BadBand {
    const char* name;
    RECT band;
    RipBandBits bits;
    int bEmbedded;
    int nPageWidth;
    int nColorFormat;
};

// Four rows of ten 4-byte pixels, exactly the size the geometry promises.
std::vector<uint8_t> g_pixels(10 * 4 * 4, 0);

RipBandBits Bits(int nStride, int nRows, int nBytesPerPixel) {
    return RipBandBits{nStride, nRows, nBytesPerPixel, g_pixels.data()};
}

TEST(BadBands, AreRefusedBeforeAnythingIsWritten) {
    const BadBand cases[] = {
        {"top above row 0", {0, -1, 10, 2}, Bits(10, 4, 4), 1, 10, 24},
        {"bottom equals top", {0, 2, 10, 2}, Bits(10, 4, 4), 1, 10, 24},
        {"inverted rows", {0, 3, 10, 1}, Bits(10, 4, 4), 1, 10, 24},
        {"inverted columns", {10, 0, 0, 2}, Bits(10, 4, 4), 1, 10, 24},
        {"no columns", {5, 0, 5, 2}, Bits(10, 4, 4), 1, 10, 24},
        {"more rows than the buffer", {0, 0, 10, 5}, Bits(10, 4, 4), 1, 10, -256},
        {"rows past the buffer, later band", {0, 3, 10, 8}, Bits(10, 4, 4), 1, 10, 1},
        {"no pixels", {0, 0, 10, 2}, RipBandBits{10, 4, 4, nullptr}, 1, 10, 24},
        {"negative stride", {0, 0, 10, 2}, Bits(-10, 4, 4), 1, 10, 24},
        {"band wider than the stride", {0, 0, 12, 2}, Bits(10, 4, 4), 1, 10, 1},
        {"page wider than the stride", {0, 0, 10, 2}, Bits(10, 4, 4), 0, 11, -256},
        {"negative page width", {0, 0, 10, 2}, Bits(10, 4, 4), 0, -1, 1},
        {"packed rows narrower than the page", {0, 0, 10, 2}, Bits(8, 4, 0), 0, 9, 1},
        // right - left = INT_MAX + 10 does not fit an int
        {"band width overflows", {-10, 0, INT_MAX, 1}, Bits(INT_MAX, 4, 4), 1, 10, 1},
        // 3 x 400,000,000 RGB bytes a row: the coded row would pass INT_MAX
        {"RGB row too long for a transfer", {0, 0, 400000000, 1}, Bits(400000000, 1, 4), 1, 10, 24},
        // INT_MAX rows of INT_MAX 4-byte pixels cannot be addressed
        {"buffer beyond the address space",
         {0, 0, 10, INT_MAX},
         Bits(INT_MAX, INT_MAX, 4),
         1,
         10,
         -256},
    };
    // Routes: EncodeBand and OnBand to the delta-row encoders of each format,
    // EncodeBand to the run-length ones.
    for (const BadBand& c : cases) {
        for (int route : {0, 1, 2}) {
            RtlTestHost t;
            CRTLRip rip(t.Host(), nullptr);
            rip.m_bEmbedded = c.bEmbedded;
            rip.m_nPageWidth = c.nPageWidth;
            rip.m_nColorFormat = c.nColorFormat;
            rip.m_nCompression = route == 2 ? 1 : 3;
            int nResult;
            if (route == 1) {
                const RECT whole{c.band.left, 0, c.band.right, 100};
                nResult = rip.OnBand(nullptr, &whole, &c.band, &c.bits);
            } else {
                nResult = rip.EncodeBand(RIP_FIRST_BAND | RIP_LAST_BAND, c.band, &c.bits);
            }
            EXPECT_EQ(nResult, 0) << c.name << (route == 1 ? " (OnBand)" : " (EncodeBand)")
                                  << " compression " << rip.m_nCompression;
            EXPECT_TRUE(t.channel.chunks.empty()) << c.name;
            EXPECT_EQ(t.channel.closes, 0) << c.name;
        }
    }
}

TEST(BadBands, MissingBandDescriptionOrChannelIsRefused) {
    RtlTestHost t;
    CRTLRip rip(t.Host(), nullptr);
    const RECT whole{0, 0, 10, 2};
    RipBandBits bits = Bits(10, 4, 4);
    EXPECT_EQ(rip.EncodeBand(RIP_FIRST_BAND, whole, nullptr), 0);
    EXPECT_EQ(rip.OnBand(nullptr, &whole, &whole, nullptr), 0);
    EXPECT_EQ(rip.OnBand(nullptr, nullptr, &whole, &bits), 0);
    EXPECT_EQ(rip.OnBand(nullptr, &whole, nullptr, &bits), 0);
    EXPECT_TRUE(t.channel.chunks.empty());

    t.job.m_pOutput = nullptr;  // a context whose job has no channel
    CRTLRip withoutChannel(t.Host(), nullptr);
    EXPECT_EQ(withoutChannel.EncodeBand(RIP_FIRST_BAND, whole, &bits), 0);
    t.host.pJob = nullptr;
    CRTLRip withoutJob(t.Host(), nullptr);
    EXPECT_EQ(withoutJob.OnBand(nullptr, &whole, &whole, &bits), 0);
}

TEST(BadBands, RefusedBandMidRasterLeavesEarlierBandsIntact) {
    RtlTestHost t(10, 6);
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 24;
    RipBandBits bits = Bits(10, 2, 4);
    const RECT whole{0, 0, 10, 6};
    const RECT first{0, 0, 10, 2};
    ASSERT_EQ(rip.OnBand(nullptr, &whole, &first, &bits), 1);
    const std::vector<std::string> before = t.channel.chunks;
    const RECT tooTall{0, 2, 10, 6};  // four rows from a buffer of two
    EXPECT_EQ(rip.OnBand(nullptr, &whole, &tooTall, &bits), 0);
    EXPECT_EQ(t.channel.chunks, before);
}

TEST(BadBands, SizesTheEncodersDoNotReadNeedNoStride) {
    // A pixel size outside 0 to 4 reads nothing, so a stride of 0 is harmless:
    // one-bit rows of zeros, grey rows of no bytes.
    RtlTestHost t;
    CRTLRip rip(t.Host(), nullptr);
    rip.m_nColorFormat = 1;
    rip.m_bEmbedded = 1;
    RipBandBits bits = Bits(0, 1, 6);
    ASSERT_EQ(rip.EncodeBand(0, RECT{0, 0, 9, 1}, &bits), 1);
    EXPECT_EQ(t.channel.chunks,
              (std::vector<std::string>{ESC "*b1M", ESC "*b2W", Bytes({1, 0})}));  // two zero bytes
    t.channel.Reset();
    rip.m_nColorFormat = -256;
    ASSERT_EQ(rip.EncodeBand(0, RECT{0, 0, 9, 1}, &bits), 1);
    EXPECT_EQ(t.channel.chunks, (std::vector<std::string>{ESC "*b1M", ESC "*b0W"}));
}

}  // namespace
